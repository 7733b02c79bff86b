// What the two vector buttons share: the face (shape, fluent light, drop-down arrow, split
// parts, badge), the place of the icon and the caption inside it, the caption's drawing and
// scaling. Default and cancel buttons with the modal result, radio groups and the caption
// widths are the push-button base's. The glyph button draws a vector glyph where the icon
// goes; the glyph container button places a hosted control there.
#pragma once

#include <cstdint>

#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaGPControls/GPButtonOptions.h"

// Window timer of the press ripple: one frame every 20 ms.
constexpr UINT_PTR kaFluentLightTimerID = 51;
constexpr UINT kaFluentLightTimerMs = 20;
// The ripple's last step; the tick after it ends the ripple.
constexpr uint8_t kaFluentLightLastStep = 10;

// Where the icon and the caption go inside the face's content rectangle.
struct TkaGPContentLayout {
  // The icon's square (the glyph's box before its own size and margin).
  TRect Icon;
  // The caption's rectangle; meaningful with ShowCaption.
  TRect Caption;
  // The button's layout as placed: left and right swapped when reading right to left.
  TButtonLayout Layout = blGlyphLeft;
};

class TkaGPCustomGlyphButton : public TkaCustomPushButtonControl {
  KA_CLASS(TkaGPCustomGlyphButton, TkaCustomPushButtonControl)
 public:
  explicit TkaGPCustomGlyphButton(TComponent* AOwner);
  ~TkaGPCustomGlyphButton() override;

  // Owned; the setters copy.
  TkaGPButtonOptions* Options() const { return FOptions; }
  void SetOptions(TkaGPButtonOptions* Value) { FOptions->Assign(Value); }
  TkaGPButtonBadge* Badge() const { return FBadge; }
  void SetBadge(TkaGPButtonBadge* Value) { FBadge->Assign(Value); }

  // The caption's distance from its edge; -1 lays it out without a fixed margin.
  int TextMargin() const { return FTextMargin; }
  void SetTextMargin(int Value);
  // Also decides at once, as a focus change would, whether this is the button Enter acts on.
  void SetDefault(bool Value) override;
  bool ScaleFrameWidth() const { return FScaleFrameWidth; }
  void SetScaleFrameWidth(bool Value) { FScaleFrameWidth = Value; }
  bool FluentLightEffect() const { return FFluentLightEffect; }
  void SetFluentLightEffect(bool Value);

  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;
  using TkaCustomControl::TransparentBackground;
  void SetTransparentBackground(bool Value) override;

  // Fired by the glyph button when the colour its colour-marker glyphs show changes.
  TNotifyEvent OnColorValueChange;

  // The window's frame answers for this button when the system must take it for the
  // caption's maximise button (its snap layouts): the pointer then reaches the frame, not
  // the button, and the frame says how the button looks and when it is clicked. While
  // frame-driven, the button's own enter and leave tracking leaves that state alone.
  bool FrameDriven() const { return FFrameDriven; }
  void SetFrameDriven(bool Value);
  // The pointer over the button (hot) and the left button held down on it (pressed).
  void SetFrameState(bool AHot, bool APressed);
  void FrameClick() { ButtonClick(); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  bool CanFocus() const override;
  void Dispatch(TMessage& Message) override;

 protected:
  // What goes inside the face's content rectangle (the face less its arrow area).
  virtual void DrawContent(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& Content) = 0;
  // Every button of the library keeps Enter while it has the focus.
  bool AnswersEnter(const TObject* Control) const override;
  // Scales the icon's own sizes; option changes made here do not repaint.
  virtual void ScaleIcon(int M, int D) {}

  TkasCtrlState GetCtrlState() override;
  // The face marks the focus by its focused colours only.
  bool FocusShownByStateOnly() const override { return true; }
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoMouseLeave() override;
  void CheckMouseLeave(TObject* Sender) override;

  // The change event of an owned option object: repaint unless loading or scaling.
  void OptionsChanged();
  // The icon's square and the caption's rectangle in Content.
  TkaGPContentLayout ContentLayout(const TRect& Content) const;
  // The caption in M, in the text mode of the button, with TextMargin as its margin.
  virtual void DrawCaption(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& M);

  // What the shared face drawing needs of this button.
  TkaGPButtonFaceOwner FaceOwner() const;
  void DrawFace(TCanvas* ACanvas, TkasCtrlState State, bool Separator, bool WithContent);
  // A split button's main part, arrow part and the separator strip between them.
  void SplitParts(TRect& Main, TRect& Arrow, TRect& Strip) const;
  void StopFluentLightTimer();
  void FluentLightTick();
  // The light follows the pointer: its position in client coordinates, taken from the
  // cursor when the pointer comes in.
  void TakePointerPosition();
  // The press ripple's first step at (X, Y), without a repaint.
  void StartPressLight(int X, int Y);

  TkaGPButtonBadge* FBadge;
  TkaGPButtonOptions* FOptions;
  bool FScaleFrameWidth = true;
  int FTextMargin = -1;
  int FMouseX = 0;
  int FMouseY = 0;
  bool FMouseLDown = false;
  bool FFluentLightEffect = false;
  uint8_t FFluentLightPressedEffectAmount = 0;
  // The icon gets no extra margin.
  bool FMinMargins = false;

 private:
  bool FChangingScale = false;
  bool FFrameDriven = false;
};
