// What the two vector buttons share: the face (shape, fluent light, drop-down arrow, split
// parts, badge), the place of the icon and the caption inside it, the caption's drawing,
// default and cancel buttons with the modal result, radio groups, the caption widths and
// scaling. The glyph button draws a vector glyph where the icon goes; the glyph container
// button places a hosted control there.
#pragma once

#include <cstdint>

#include "framework/Forms.h"
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

class TkaGPCustomGlyphButton : public TkaCustomButtonControl {
  KA_CLASS(TkaGPCustomGlyphButton, TkaCustomButtonControl)
 public:
  explicit TkaGPCustomGlyphButton(TComponent* AOwner);
  ~TkaGPCustomGlyphButton() override;

  // Owned; the setters copy.
  TkaGPButtonOptions* Options() const { return FOptions; }
  void SetOptions(TkaGPButtonOptions* Value) { FOptions->Assign(Value); }
  TkaGPButtonBadge* Badge() const { return FBadge; }
  void SetBadge(TkaGPButtonBadge* Value) { FBadge->Assign(Value); }

  // Turning the caption on or off takes WidthWithCaption or WidthWithoutCaption when set.
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // The caption's distance from its edge; -1 lays it out without a fixed margin.
  int TextMargin() const { return FTextMargin; }
  void SetTextMargin(int Value);
  int WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
  int WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
  // Enter clicks the active default button, Escape a cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // With ModalSetting a click sets the parent form's modal result.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool ModalSetting() const { return FModalSetting; }
  void SetModalSetting(bool Value) { FModalSetting = Value; }
  bool ScaleFrameWidth() const { return FScaleFrameWidth; }
  void SetScaleFrameWidth(bool Value) { FScaleFrameWidth = Value; }
  bool FluentLightEffect() const { return FFluentLightEffect; }
  void SetFluentLightEffect(bool Value);
  // Is the default button that Enter acts on now.
  bool Active() const { return FActive; }

  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;
  using TkaCustomControl::TransparentBackground;
  void SetTransparentBackground(bool Value) override;

  // Fired by the glyph button when the colour its colour-marker glyphs show changes.
  TNotifyEvent OnColorValueChange;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  bool CanFocus() const override;
  void Dispatch(TMessage& Message) override;

 protected:
  // What goes inside the face's content rectangle (the face less its arrow area).
  virtual void DrawContent(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& Content) = 0;
  // The controls of the parent that form a radio group with this one.
  virtual bool IsGroupSibling(const TControl* Control) const = 0;
  // Scales the icon's own sizes; option changes made here do not repaint.
  virtual void ScaleIcon(int M, int D) {}

  TkasCtrlState GetCtrlState() override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void ButtonClick() override;
  void UpdateGroup() override;
  void AccelClick() override { ButtonClick(); }
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoMouseLeave() override;

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
  // The default button becomes active when focus moves to a non-button or to itself.
  void FocusChangedTo(TObject* FocusedControl);
  // Enter on the active default button, Escape on a cancel button: true when clicked.
  bool DialogKey(WORD Key);
  void StopFluentLightTimer();
  void FluentLightTick();

  TkaGPButtonBadge* FBadge;
  TkaGPButtonOptions* FOptions;
  bool FScaleFrameWidth = true;
  int FWidthWithCaption = 0;
  int FWidthWithoutCaption = 0;
  bool FShowCaption = false;
  bool FActive = false;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FModalSetting = false;
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
};
