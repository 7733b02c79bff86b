// TkaHint: hint popups shown on demand, near the pointer, next to a rectangle or at a point:
// a plain text, or an extended hint with a bold title, a picture from an image list and the
// text. The hint appears after the application's hint pause, can fade in, and goes after the
// application's hide pause. Its window, TkaHintWindow, can also become the window of the
// application's ordinary control hints (ActiveForApplication), which then look the same.
#pragma once

#include <cstdint>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Timers.h"

class TkaHint;

// ---- Placement -------------------------------------------------------------------------------

// What a hint is placed against: below Rect (its top at Rect.Bottom) or above it (its bottom
// at Rect.Top), left edges aligned. A point is an empty rectangle at the point; the pointer is
// the rectangle from its hot spot down to the last visible row of the cursor's picture.
struct TkaHintAnchor {
  TRect Rect;
  bool Above = false;
};

// The screen rectangle of a Size hint at Anchor inside WorkArea. Past the right edge it opens
// to the left (moved left by its width + 2); past the bottom it goes above the anchor, past
// the top below it (2 pixels clear of it); then it is kept inside the work area at every edge.
TRect kaPlaceHint(TSize Size, const TkaHintAnchor& Anchor, const TRect& WorkArea);

// Rows of Cursor's picture from its hot spot down to its lowest visible row (the system's
// cursor height when the picture cannot be read): read from the AND mask, or from the XOR
// mask when the AND mask shows nothing.
int kaCursorHeightBelowHotSpot(HCURSOR Cursor);
// The same for the current cursor, scaled from the screen's DPI to that of the active form's
// monitor.
int kaVisibleCursorHeight();
// The pointer as a hint anchor (below it, clear of the cursor's picture).
TkaHintAnchor kaCursorHintAnchor();

// ---- The window ------------------------------------------------------------------------------

// Where the parts of a hint lie in its window.
struct TkaHintLayout {
  TSize Size;
  // Empty when there is no title.
  TRect TitleRect;
  bool HasImage = false;
  TPoint ImagePos;
  TRect TextRect;
};

// The settings a hint window shows with: its TkaHint's, or these defaults.
struct TkaHintSettings {
  String LineSeparator = L"@@";
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 255;
  bool AlphaBlendAnimation = false;
};

class TkaHintWindow : public THintWindow {
  KA_CLASS(TkaHintWindow, THintWindow)
 public:
  // The window timer of the fade-in and its period.
  static constexpr UINT_PTR kFadeTimerID = 10;
  static constexpr UINT kFadeInterval = 30;

  // Owned by a TkaHint, the window shows that hint's requests with its settings; owned by
  // anything else, it serves the application's control hints.
  explicit TkaHintWindow(TComponent* AOwner);

  // AHint at Rect's top-left corner. A window of the application's hints places it below the
  // pointer instead, with the settings of TkaHint::ApplicationHint (the defaults when there is
  // none).
  void ActivateHint(const TRect& Rect, const String& AHint) override;
  // AHint below ARect, or above it with ATop.
  void ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop);
  // The extended hint at Rect's top-left corner.
  void ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                      TCustomImageList* AImageList);
  // Shows a hint placed against Anchor: the other ActivateHint forms come here.
  void ActivateAt(const TkaHintAnchor& Anchor, const String& AHint, bool Extended, const String& AHintTitle = String(),
                  int AImageIndex = -1, TCustomImageList* AImageList = nullptr);
  TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
  // Hiding stops the fade-in.
  void SetVisible(bool Value) override;

  // The window serves the application's control hints.
  bool AppHint() const { return FAppHint; }
  // The TkaHint whose settings the window shows with (nullptr: the defaults).
  TkaHint* Hint() const { return FHint; }
  bool ExtendedStyle() const { return FExtendedStyle; }
  const TkaHintLayout& Layout() const { return FLayout; }
  // The fade-in: the opacity reached and the step per tick.
  int AnimationAlpha() const { return FAnimationAlpha; }
  int AnimationStep() const { return FAnimationStep; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TkaHintSettings Settings() const;
  // The hint font at the DPI of the active form's monitor.
  void UpdateFont();
  TkaHintLayout CalcLayout(const String& AText) const;
  void StartFade(uint8_t Target);
  void FadeStep();
  void PaintBackground(TCanvas* C, TColor& TextColor);
  void PaintFrame(TCanvas* C);

  bool FOldAlphaBlend = false;
  int FAnimationStep = 0;
  int FAnimationAlpha = 0;
  uint8_t FAnimationTarget = 255;
  TkaHint* FHint = nullptr;
  bool FAppHint = false;
  bool FExtendedStyle = false;
  String FTitle;
  int FImageIndex = -1;
  TCustomImageList* FImageList = nullptr;
  TkaHintLayout FLayout;
};

// ---- The component ---------------------------------------------------------------------------

class TkaHint : public TComponent {
  KA_CLASS(TkaHint, TComponent)
 public:
  explicit TkaHint(TComponent* AOwner);
  ~TkaHint() override;

  // After the application's HintPause: AHint below the pointer, hidden again after its
  // HintHidePause.
  void ActivateHint(const String& AHint);
  // After HintPause: AHint below AFromRect (above it with ATop); hidden after HintHidePause.
  void ActivateHint(const TRect& AFromRect, const String& AHint, bool ATop);
  // At once at P, until HideHint.
  void ActivateHint(TPoint P, const String& AHint);
  // The extended hint, after HintPause below the pointer (hidden after HintHidePause), or at
  // once at P.
  void ActivateHintEx(const String& AHintTitle, const String& AHint, int AImageIndex, TCustomImageList* AImageList);
  void ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                      TCustomImageList* AImageList);
  // Drops a pending request and hides the hint.
  void HideHint();
  bool IsVisible() const { return FHintWindow->Visible(); }

  // Makes TkaHintWindow the application's hint window (outside design mode) while this or
  // another TkaHint is active; when the last one is turned off or freed, the application's
  // previous hint window class comes back.
  bool ActiveForApplication() const { return FActiveForApplication; }
  void SetActiveForApplication(bool Value);
  // The TkaHint whose settings the application's control hints show with: the last one made
  // active among the main form's components, else the last one made active anywhere; nullptr
  // when none is.
  static TkaHint* ApplicationHint();
  // Replaced by a line break wherever it occurs in a hint text.
  const String& LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
  // Fade in from transparent to AlphaBlendValue.
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }

  TkaHintSettings Settings() const;
  // The owned window.
  TkaHintWindow* HintWindow() const { return FHintWindow; }
  // The timer of a delayed request, nullptr when none is pending or shown.
  TTimer* HintTimer() const { return FHintTimer; }
  // The cursor height below its hot spot at the last hint shown below the pointer.
  int CursorHeight() const { return FCursorHeight; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  enum TRequest { krCursor, krRect, krCursorEx };
  // Joins or leaves the TkaHints active for the application.
  void Enlist();
  void Withdraw();
  void StartRequest(TRequest Request);
  void HintTimerTick();
  void ShowRequest();

  bool FActiveForApplication = false;
  String FLineSeparator = L"@@";
  bool FAlphaBlend = false;
  uint8_t FAlphaBlendValue = 255;
  bool FAlphaBlendAnimation = false;

  TTimer* FHintTimer = nullptr;
  // The timer's first tick shows the hint; the next one hides it.
  bool FHintShown = false;
  TRequest FRequest = krCursor;
  String FHintText;
  TRect FFromRect;
  bool FTop = false;
  TkaHintWindow* FHintWindow = nullptr;
  String FHintTitle;
  int FHintImageIndex = -1;
  TCustomImageList* FHintImageList = nullptr;
  int FCursorHeight = 0;
};
