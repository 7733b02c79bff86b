// The vector glyph button: a push, toggle, split or drop-down button whose face is one of the
// vector shapes and whose icon is one of the vector glyphs, with an optional caption beside,
// above or below the glyph, a counter badge, and the fluent light (a spot under the mouse
// and a ripple from the press point).
#pragma once

#include <cstdint>

#include "framework/Forms.h"
#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaGPControls/GPButtonOptions.h"
#include "lib/kaGPUtils/GPGlyphs.h"

// Window timer of the press ripple: one frame every 20 ms.
constexpr UINT_PTR kaFluentLightTimerID = 51;
constexpr UINT kaFluentLightTimerMs = 20;
// The ripple's last step; the tick after it ends the ripple.
constexpr uint8_t kaFluentLightLastStep = 10;

// The glyph's colours per state. Setters store a changed value and fire OnChange.
class TkaGPGlyphOptions : public TPersistent {
  KA_CLASS(TkaGPGlyphOptions, TPersistent)
 public:
  explicit TkaGPGlyphOptions(TControl* Control = nullptr) : FControl(Control) {}
  // Colours, alphas, StyleColors, Kind and Thickness.
  void Assign(TPersistent* Source) override;

#define KA_GPG_PROPERTY(Type, Name)         \
  Type Name() const { return F##Name; }     \
  void Set##Name(Type Value) { SetValue(F##Name, Value); }
  KA_GPG_PROPERTY(TColor, NormalColor)
  KA_GPG_PROPERTY(TColor, HotColor)
  KA_GPG_PROPERTY(TColor, PressedColor)
  KA_GPG_PROPERTY(TColor, FocusedColor)
  KA_GPG_PROPERTY(TColor, DisabledColor)
  KA_GPG_PROPERTY(uint8_t, NormalColorAlpha)
  KA_GPG_PROPERTY(uint8_t, HotColorAlpha)
  KA_GPG_PROPERTY(uint8_t, PressedColorAlpha)
  KA_GPG_PROPERTY(uint8_t, FocusedColorAlpha)
  KA_GPG_PROPERTY(uint8_t, DisabledColorAlpha)
  KA_GPG_PROPERTY(bool, StyleColors)
  KA_GPG_PROPERTY(TkaGPButtonGlyphKind, Kind)
  KA_GPG_PROPERTY(bool, ThicknessScaled)
#undef KA_GPG_PROPERTY
  // Not 0.
  uint8_t Thickness() const { return FThickness; }
  void SetThickness(uint8_t Value);
  // At least 0; 0 fits the glyph to the button.
  int Size() const { return FSize; }
  void SetSize(int Value);

  TkasCtrlState State() const { return FState; }
  void SetState(TkasCtrlState Value) { FState = Value; }
  // The colour of the state (through the owner's style with StyleColors) and its alpha.
  TColor GetColor() const;
  uint8_t GetColorAlpha() const;

  TNotifyEvent OnChange;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (OnChange) OnChange(this);
  }

  TColor FNormalColor = clBtnText, FHotColor = clBtnText, FPressedColor = clBtnText, FFocusedColor = clBtnText,
         FDisabledColor = clBtnText;
  uint8_t FNormalColorAlpha = 200, FHotColorAlpha = 255, FPressedColorAlpha = 255, FFocusedColorAlpha = 255,
          FDisabledColorAlpha = 100;
  bool FStyleColors = true;
  TkasCtrlState FState = kasNormal;
  TkaGPButtonGlyphKind FKind = kagpbgkPriorArrow;
  uint8_t FThickness = 2;
  bool FThicknessScaled = false;
  int FSize = 0;
  TControl* FControl = nullptr;
};

class TkaGPGlyphButton : public TkaCustomButtonControl {
  KA_CLASS(TkaGPGlyphButton, TkaCustomButtonControl)
 public:
  explicit TkaGPGlyphButton(TComponent* AOwner);
  ~TkaGPGlyphButton() override;

  // Owned; the setters copy.
  TkaGPButtonOptions* Options() const { return FOptions; }
  void SetOptions(TkaGPButtonOptions* Value) { FOptions->Assign(Value); }
  TkaGPGlyphOptions* GlyphOptions() const { return FGlyphOptions; }
  void SetGlyphOptions(TkaGPGlyphOptions* Value) { FGlyphOptions->Assign(Value); }
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
  // The colour the colour-marker glyphs show; a change fires OnColorValueChange.
  TColor ColorValue() const { return FColorValue; }
  void SetColorValue(TColor Value);
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

  TNotifyEvent OnColorValueChange;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  bool CanFocus() const override;
  void Dispatch(TMessage& Message) override;

 protected:
  TkasCtrlState GetCtrlState() override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  // The glyph in its box; the colour-marker kinds also show ColorValue.
  virtual void DrawGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color, double AScaleFactor);
  void ButtonClick() override;
  void UpdateGroup() override;
  void AccelClick() override { ButtonClick(); }
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoMouseLeave() override;

  // What the shared face drawing needs of this button.
  TkaGPButtonFaceOwner FaceOwner() const;
  void DrawFace(TCanvas* ACanvas, TkasCtrlState State, bool Separator, bool WithContent);
  // Glyph and caption inside the face's content rectangle.
  void DrawContent(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& Content);
  // M: the caption's rectangle; L: the layout as placed (sides swapped right to left).
  void DrawCaption(Gdiplus::Graphics* G, TCanvas* ACanvas, TRect M, TButtonLayout L);
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
  TkaGPGlyphOptions* FGlyphOptions;
  bool FScaleFrameWidth = true;
  int FWidthWithCaption = 0;
  int FWidthWithoutCaption = 0;
  bool FShowCaption = false;
  bool FActive = false;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FModalSetting = false;
  TColor FColorValue = clRed;
  int FTextMargin = -1;
  int FMouseX = 0;
  int FMouseY = 0;
  bool FMouseLDown = false;
  bool FFluentLightEffect = false;
  uint8_t FFluentLightPressedEffectAmount = 0;
  // The glyph gets no extra margin.
  bool FMinMargins = false;

 private:
  bool FChangingScale = false;
};
