// A scoped stand-in for the process-wide version values and bound functions, for tests:
// the test machine cannot pretend to be every Windows the library tells apart, nor show
// what the compositor was asked to do.
//
// While an object lives, the version is what the test sets, DwmIsCompositionEnabled answers
// what the test sets, and the compositor, window-attribute, composition-attribute and
// buffered-animation functions are fakes that record each call. The destructor puts back
// everything as it was. Objects nest (the innermost one records).
#pragma once

#include <cstdint>
#include <vector>

#include "lib/kaDrawUtils/Composition.h"

// The process's values, writable. For TkaCompositionTesting and tests only.
TkaPlatformBinding& WritablePlatformBinding();

class TkaCompositionTesting {
 public:
  struct TExtendFrameCall {
    HWND Wnd = nullptr;
    MARGINS Margins{};
  };
  struct TWindowAttributeCall {
    HWND Wnd = nullptr;
    DWORD Attribute = 0;
    DWORD Size = 0;
    std::vector<uint8_t> Value;
    // The value read as a 32-bit integer (most attributes are one); 0 when shorter.
    int32_t IntValue() const;
  };
  struct TCompositionAttributeCall {
    HWND Wnd = nullptr;
    DWORD Attribute = 0;
    ULONG DataSize = 0;
    // The accent the record pointed at, when it was an accent policy record.
    bool HasAccent = false;
    TkaAccentPolicy Accent;
  };
  enum TAnimationCallKind { acBegin, acEnd, acRender, acStopAll };
  struct TAnimationCall {
    TAnimationCallKind Kind = acBegin;
    HWND Wnd = nullptr;
    HDC DC = nullptr;
    TRect Target;
    DWORD Duration = 0;
    BOOL UpdateTarget = FALSE;
  };

  TkaCompositionTesting();
  ~TkaCompositionTesting();
  TkaCompositionTesting(const TkaCompositionTesting&) = delete;
  TkaCompositionTesting& operator=(const TkaCompositionTesting&) = delete;

  void SetVersion(int Major, int Minor, int Build);
  // Runs the start-up version determination over Sources and keeps its result.
  void DetermineVersion(const TkaVersionSources& Sources);
  // What the fake DwmIsCompositionEnabled answers.
  void SetCompositionEnabled(bool Enabled, HRESULT Result = S_OK);
  // What the fake SetWindowCompositionAttribute returns.
  void SetCompositionAttributeResult(BOOL Result) { FCompositionAttributeResult = Result; }
  // What IsHighContrastOn answers (off until set).
  void SetHighContrast(bool On) { FHighContrast = On; }
  // The live values, e.g. to unbind a function (set it to nullptr).
  TkaPlatformBinding& Binding() { return WritablePlatformBinding(); }

  int CompositionQueries = 0;
  std::vector<TExtendFrameCall> ExtendFrameCalls;
  std::vector<TWindowAttributeCall> WindowAttributeCalls;
  std::vector<TCompositionAttributeCall> CompositionAttributeCalls;
  std::vector<TAnimationCall> AnimationCalls;

 private:
  static HRESULT WINAPI FakeDwmIsCompositionEnabled(BOOL* Enabled);
  static HRESULT WINAPI FakeDwmExtendFrameIntoClientArea(HWND Wnd, const MARGINS* Margins);
  static HRESULT WINAPI FakeDwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size);
  static BOOL WINAPI FakeSetWindowCompositionAttribute(HWND Wnd, TkaWinCompAttrData* Data);
  static HANIMATIONBUFFER WINAPI FakeBeginBufferedAnimation(HWND Wnd, HDC Target, const RECT* TargetRect,
                                                             BP_BUFFERFORMAT Format, BP_PAINTPARAMS* PaintParams,
                                                             BP_ANIMATIONPARAMS* AnimationParams, HDC* From,
                                                             HDC* To);
  static HRESULT WINAPI FakeEndBufferedAnimation(HANIMATIONBUFFER Animation, BOOL UpdateTarget);
  static BOOL WINAPI FakeBufferedPaintRenderAnimation(HWND Wnd, HDC Target);
  static HRESULT WINAPI FakeBufferedPaintStopAllAnimations(HWND Wnd);
  static bool FakeIsHighContrastOn();

  static TkaCompositionTesting* FActive;
  TkaCompositionTesting* FPrevious = nullptr;
  TkaPlatformBinding FSaved;
  bool FCompositionEnabled = false;
  HRESULT FCompositionResult = S_OK;
  BOOL FCompositionAttributeResult = TRUE;
  bool FHighContrast = false;
};
