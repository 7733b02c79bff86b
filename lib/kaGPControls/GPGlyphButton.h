// The vector glyph button: a push, toggle, split or drop-down button whose face is one of the
// vector shapes and whose icon is one of the vector glyphs, with an optional caption beside,
// above or below the glyph, a counter badge, and the fluent light (a spot under the mouse
// and a ripple from the press point).
#pragma once

#include <cstdint>

#include "lib/kaGPControls/GPCustomGlyphButton.h"
#include "lib/kaGPUtils/GPGlyphs.h"

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
  // Also reads the high-contrast setting once for the paint that follows.
  void SetState(TkasCtrlState Value);
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
  bool FHighContrast = false;
  TkaGPButtonGlyphKind FKind = kagpbgkPriorArrow;
  uint8_t FThickness = 2;
  bool FThicknessScaled = false;
  int FSize = 0;
  TControl* FControl = nullptr;
};

class TkaGPGlyphButton : public TkaGPCustomGlyphButton {
  KA_CLASS(TkaGPGlyphButton, TkaGPCustomGlyphButton)
 public:
  explicit TkaGPGlyphButton(TComponent* AOwner);
  ~TkaGPGlyphButton() override;

  // Owned; the setter copies.
  TkaGPGlyphOptions* GlyphOptions() const { return FGlyphOptions; }
  void SetGlyphOptions(TkaGPGlyphOptions* Value) { FGlyphOptions->Assign(Value); }
  // The colour the colour-marker glyphs show; a change fires OnColorValueChange.
  TColor ColorValue() const { return FColorValue; }
  void SetColorValue(TColor Value);

 protected:
  // The glyph in its box; the colour-marker kinds also show ColorValue.
  virtual void DrawGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color, double AScaleFactor);
  // Glyph and caption inside the face's content rectangle.
  void DrawContent(Gdiplus::Graphics* G, TCanvas* ACanvas, const TRect& Content) override;
  bool IsGroupSibling(const TControl* Control) const override;
  void ScaleIcon(int M, int D) override;

  TkaGPGlyphOptions* FGlyphOptions;
  TColor FColorValue = clRed;
};
