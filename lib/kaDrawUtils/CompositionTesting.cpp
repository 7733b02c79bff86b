#include "lib/kaDrawUtils/CompositionTesting.h"

#include <cstring>

TkaCompositionTesting* TkaCompositionTesting::FActive = nullptr;

int32_t TkaCompositionTesting::TWindowAttributeCall::IntValue() const {
  int32_t v = 0;
  if (Value.size() >= sizeof(v)) std::memcpy(&v, Value.data(), sizeof(v));
  return v;
}

TkaCompositionTesting::TkaCompositionTesting() : FPrevious(FActive), FSaved(WritablePlatformBinding()) {
  FActive = this;
  TkaPlatformBinding& b = WritablePlatformBinding();
  b.DwmIsCompositionEnabled = FakeDwmIsCompositionEnabled;
  b.DwmExtendFrameIntoClientArea = FakeDwmExtendFrameIntoClientArea;
  b.DwmSetWindowAttribute = FakeDwmSetWindowAttribute;
  b.SetWindowCompositionAttribute = FakeSetWindowCompositionAttribute;
  b.BeginBufferedAnimation = FakeBeginBufferedAnimation;
  b.EndBufferedAnimation = FakeEndBufferedAnimation;
  b.BufferedPaintRenderAnimation = FakeBufferedPaintRenderAnimation;
  b.BufferedPaintStopAllAnimations = FakeBufferedPaintStopAllAnimations;
  b.IsHighContrastOn = FakeIsHighContrastOn;
}

TkaCompositionTesting::~TkaCompositionTesting() {
  WritablePlatformBinding() = FSaved;
  FActive = FPrevious;
}

void TkaCompositionTesting::SetVersion(int Major, int Minor, int Build) {
  TkaPlatformBinding& b = WritablePlatformBinding();
  b.WindowsMajorVersion = Major;
  b.WindowsMinorVersion = Minor;
  b.WindowsBuildNumber = Build;
}

void TkaCompositionTesting::DetermineVersion(const TkaVersionSources& Sources) {
  const TkaWindowsVersion v = DetermineWindowsVersion(Sources);
  SetVersion(v.Major, v.Minor, v.Build);
}

void TkaCompositionTesting::SetCompositionEnabled(bool Enabled, HRESULT Result) {
  FCompositionEnabled = Enabled;
  FCompositionResult = Result;
}

HRESULT WINAPI TkaCompositionTesting::FakeDwmIsCompositionEnabled(BOOL* Enabled) {
  ++FActive->CompositionQueries;
  if (Enabled != nullptr) *Enabled = FActive->FCompositionEnabled ? TRUE : FALSE;
  return FActive->FCompositionResult;
}

HRESULT WINAPI TkaCompositionTesting::FakeDwmExtendFrameIntoClientArea(HWND Wnd, const MARGINS* Margins) {
  TExtendFrameCall call;
  call.Wnd = Wnd;
  if (Margins != nullptr) call.Margins = *Margins;
  FActive->ExtendFrameCalls.push_back(call);
  return S_OK;
}

HRESULT WINAPI TkaCompositionTesting::FakeDwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Value,
                                                                DWORD Size) {
  TWindowAttributeCall call;
  call.Wnd = Wnd;
  call.Attribute = Attribute;
  call.Size = Size;
  if (Value != nullptr) {
    const auto* bytes = static_cast<const uint8_t*>(Value);
    call.Value.assign(bytes, bytes + Size);
  }
  FActive->WindowAttributeCalls.push_back(std::move(call));
  return S_OK;
}

BOOL WINAPI TkaCompositionTesting::FakeSetWindowCompositionAttribute(HWND Wnd, TkaWinCompAttrData* Data) {
  TCompositionAttributeCall call;
  call.Wnd = Wnd;
  if (Data != nullptr) {
    call.Attribute = Data->Attribute;
    call.DataSize = Data->DataSize;
    if (Data->Attribute == WCA_ACCENT_POLICY && Data->Data != nullptr && Data->DataSize >= sizeof(TkaAccentPolicy)) {
      call.HasAccent = true;
      std::memcpy(&call.Accent, Data->Data, sizeof(TkaAccentPolicy));
    }
  }
  FActive->CompositionAttributeCalls.push_back(call);
  return FActive->FCompositionAttributeResult;
}

// The fake animation never starts (no buffer, no DCs), so callers take their
// paint-without-animation path; the call is recorded all the same.
HANIMATIONBUFFER WINAPI TkaCompositionTesting::FakeBeginBufferedAnimation(
    HWND Wnd, HDC Target, const RECT* TargetRect, BP_BUFFERFORMAT, BP_PAINTPARAMS*,
    BP_ANIMATIONPARAMS* AnimationParams, HDC* From, HDC* To) {
  TAnimationCall call;
  call.Kind = acBegin;
  call.Wnd = Wnd;
  call.DC = Target;
  if (TargetRect != nullptr) call.Target = TRect(*TargetRect);
  if (AnimationParams != nullptr) call.Duration = AnimationParams->dwDuration;
  FActive->AnimationCalls.push_back(call);
  if (From != nullptr) *From = nullptr;
  if (To != nullptr) *To = nullptr;
  return nullptr;
}

HRESULT WINAPI TkaCompositionTesting::FakeEndBufferedAnimation(HANIMATIONBUFFER, BOOL UpdateTarget) {
  TAnimationCall call;
  call.Kind = acEnd;
  call.UpdateTarget = UpdateTarget;
  FActive->AnimationCalls.push_back(call);
  return S_OK;
}

BOOL WINAPI TkaCompositionTesting::FakeBufferedPaintRenderAnimation(HWND Wnd, HDC Target) {
  TAnimationCall call;
  call.Kind = acRender;
  call.Wnd = Wnd;
  call.DC = Target;
  FActive->AnimationCalls.push_back(call);
  return FALSE;
}

HRESULT WINAPI TkaCompositionTesting::FakeBufferedPaintStopAllAnimations(HWND Wnd) {
  TAnimationCall call;
  call.Kind = acStopAll;
  call.Wnd = Wnd;
  FActive->AnimationCalls.push_back(call);
  return S_OK;
}

bool TkaCompositionTesting::FakeIsHighContrastOn() { return FActive->FHighContrast; }
