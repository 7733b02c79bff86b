// The look of the vector page control's tabs and close buttons by state, and the arrow
// buttons that scroll a tab row that does not fit.
#pragma once

#include <cstdint>

#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaGPControls/GPButtonOptions.h"
#include "lib/kaGPControls/GPGlyphButton.h"

enum TkaGPTabStyle { gptsShape, gptsBottomLine, gptsLine, gptsRoundedLine };
enum TkaGPTabCloseButtonShapeKind { kagptcbRounded, kagptcbRect };

// A getter and a setter that stores a changed value through the class's SetValue, which
// notifies OnChange.
#define KA_GP_OPTION(Type, Name)        \
  Type Name() const { return F##Name; } \
  void Set##Name(Type Value) { SetValue(F##Name, Value); }

// Colours, alphas and the shape of tabs. Every setter stores a changed value and fires
// OnChange; refused values are ignored.
class TkaGPTabOptions : public TPersistent {
  KA_CLASS(TkaGPTabOptions, TPersistent)
 public:
  explicit TkaGPTabOptions(TControl* Control = nullptr) : FControl(Control) {}
  // Colours, frame width, alphas, corner radius, fill style, gradient offset, StyleColors
  // and LineWidth; the tab style and the gradient angle stay.
  void Assign(TPersistent* Source) override;

  KA_GP_OPTION(TColor, NormalColor)
  KA_GP_OPTION(TColor, ActiveColor)
  KA_GP_OPTION(TColor, MouseInColor)
  KA_GP_OPTION(TColor, FocusedColor)
  KA_GP_OPTION(TColor, FrameNormalColor)
  KA_GP_OPTION(TColor, FrameActiveColor)
  KA_GP_OPTION(TColor, FrameMouseInColor)
  KA_GP_OPTION(TColor, FrameFocusedColor)
  KA_GP_OPTION(TColor, FontNormalColor)
  KA_GP_OPTION(TColor, FontActiveColor)
  KA_GP_OPTION(TColor, FontMouseInColor)
  KA_GP_OPTION(TColor, FontFocusedColor)
  KA_GP_OPTION(uint8_t, NormalColorAlpha)
  KA_GP_OPTION(uint8_t, ActiveColorAlpha)
  KA_GP_OPTION(uint8_t, MouseInColorAlpha)
  KA_GP_OPTION(uint8_t, FocusedColorAlpha)
  KA_GP_OPTION(uint8_t, FrameNormalColorAlpha)
  KA_GP_OPTION(uint8_t, FrameActiveColorAlpha)
  KA_GP_OPTION(uint8_t, FrameMouseInColorAlpha)
  KA_GP_OPTION(uint8_t, FrameFocusedColorAlpha)
  KA_GP_OPTION(bool, StyleColors)
  KA_GP_OPTION(TkaGPTabStyle, TabStyle)
  KA_GP_OPTION(TkaGPShapeFillStyle, ShapeFillStyle)
  // At least 1.
  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  // At least 0; 0 runs the line styles' line across the whole tab.
  int LineWidth() const { return FLineWidth; }
  void SetLineWidth(int Value);
  // At least 0.
  int ShapeCornerRadius() const { return FShapeCornerRadius; }
  void SetShapeCornerRadius(int Value);
  // At most 100.
  uint8_t GradientColorOffset() const { return FGradientColorOffset; }
  void SetGradientColorOffset(uint8_t Value);
  // -360..360; notifies only while the fill is a gradient.
  int ShapeFillGradientAngle() const { return FShapeFillGradientAngle; }
  void SetShapeFillGradientAngle(int Value);

  // Scales the corner radius (and the frame width with AFrameWidth) without notifying.
  void Scale(int M, int D, bool AFrameWidth);

  // The state being painted: hot picks the MouseIn values, pressed the Active ones,
  // focused the Focused ones, anything else the Normal ones.
  TkasCtrlState State() const { return FState; }
  void SetState(TkasCtrlState Value) { FState = Value; }
  TColor GetColor() const;
  TColor GetFrameColor() const;
  TColor GetFontColor() const;
  uint8_t GetColorAlpha() const;
  uint8_t GetFrameColorAlpha() const;

  TNotifyEvent OnChange;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor Mapped(TColor Color) const;
  // 0 normal, 1 active, 2 mouse in, 3 focused.
  int Slot() const;

  TColor FNormalColor = clBtnShadow, FActiveColor = clBtnFace, FMouseInColor = clBtnShadow,
         FFocusedColor = clBtnFace;
  TColor FFrameNormalColor = clBtnText, FFrameActiveColor = clBtnText, FFrameMouseInColor = clBtnText,
         FFrameFocusedColor = clBtnText;
  int FFrameWidth = 2;
  TColor FFontNormalColor = clBtnText, FFontActiveColor = clBtnText, FFontMouseInColor = clBtnText,
         FFontFocusedColor = clBtnText;
  uint8_t FNormalColorAlpha = 70, FActiveColorAlpha = 230, FMouseInColorAlpha = 40, FFocusedColorAlpha = 255;
  uint8_t FFrameNormalColorAlpha = 50, FFrameActiveColorAlpha = 80, FFrameMouseInColorAlpha = 60,
          FFrameFocusedColorAlpha = 80;
  bool FStyleColors = true;
  TkasCtrlState FState = kasNormal;
  uint8_t FGradientColorOffset = 30;
  TkaGPShapeFillStyle FShapeFillStyle = kagpsfColor;
  int FShapeFillGradientAngle = 90;
  TkaGPTabStyle FTabStyle = gptsShape;
  int FShapeCornerRadius = 5;
  int FLineWidth = 0;
  TControl* FControl;
};

// The close button's face and cross colours by state. Every change fires OnChange.
class TkaGPTabCloseButtonOptions : public TPersistent {
  KA_CLASS(TkaGPTabCloseButtonOptions, TPersistent)
 public:
  explicit TkaGPTabCloseButtonOptions(TControl* Control = nullptr) : FControl(Control) {}
  // The eight colour and alpha pairs, the shape and StyleColors.
  void Assign(TPersistent* Source) override;

  KA_GP_OPTION(TColor, NormalColor)
  KA_GP_OPTION(TColor, HotColor)
  KA_GP_OPTION(TColor, PressedColor)
  KA_GP_OPTION(TColor, DisabledColor)
  KA_GP_OPTION(TColor, GlyphNormalColor)
  KA_GP_OPTION(TColor, GlyphHotColor)
  KA_GP_OPTION(TColor, GlyphPressedColor)
  KA_GP_OPTION(TColor, GlyphDisabledColor)
  KA_GP_OPTION(uint8_t, NormalColorAlpha)
  KA_GP_OPTION(uint8_t, HotColorAlpha)
  KA_GP_OPTION(uint8_t, PressedColorAlpha)
  KA_GP_OPTION(uint8_t, DisabledColorAlpha)
  KA_GP_OPTION(uint8_t, GlyphNormalColorAlpha)
  KA_GP_OPTION(uint8_t, GlyphHotColorAlpha)
  KA_GP_OPTION(uint8_t, GlyphPressedColorAlpha)
  KA_GP_OPTION(uint8_t, GlyphDisabledColorAlpha)
  KA_GP_OPTION(TkaGPTabCloseButtonShapeKind, ShapeKind)
  KA_GP_OPTION(bool, StyleColors)
#undef KA_GP_OPTION

  // Hot, pressed and disabled pick their own values; anything else the normal ones.
  TkasCtrlState State() const { return FState; }
  void SetState(TkasCtrlState Value) { FState = Value; }
  TColor GetColor() const;
  uint8_t GetColorAlpha() const;
  TColor GetGlyphColor() const;
  uint8_t GetGlyphColorAlpha() const;

  TNotifyEvent OnChange;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (OnChange) OnChange(this);
  }
  TColor Mapped(TColor Color) const;

  TColor FNormalColor = clBtnText;
  uint8_t FNormalColorAlpha = 0;
  TColor FHotColor = clRed;
  uint8_t FHotColorAlpha = 220;
  TColor FPressedColor = clRed;
  uint8_t FPressedColorAlpha = 200;
  TColor FDisabledColor = clBtnText;
  uint8_t FDisabledColorAlpha = 0;
  TColor FGlyphNormalColor = clBtnText;
  uint8_t FGlyphNormalColorAlpha = 200;
  TColor FGlyphHotColor = clWhite;
  uint8_t FGlyphHotColorAlpha = 255;
  TColor FGlyphPressedColor = clWhite;
  uint8_t FGlyphPressedColorAlpha = 200;
  TColor FGlyphDisabledColor = clBtnText;
  uint8_t FGlyphDisabledColorAlpha = 100;
  TkaGPTabCloseButtonShapeKind FShapeKind = kagptcbRounded;
  TkasCtrlState FState = kasNormal;
  bool FStyleColors = true;
  TControl* FControl;
};

// One of the two arrow buttons at the ends of a tab row that does not fit: frameless, not
// focusable, repeating its click while held.
class TkaGPTabScrollButton : public TkaGPGlyphButton {
  KA_CLASS(TkaGPTabScrollButton, TkaGPGlyphButton)
 public:
  explicit TkaGPTabScrollButton(TComponent* AOwner);
  TkaGPTabScrollButton(TComponent* AOwner, TColor AColor, TColor AArrowColor, uint8_t AArrowThickness,
                       bool ATransparent);
  // Face colour in the normal, hot and pressed states (fainter over an opaque background),
  // arrow colour and thickness.
  void UpdateOptions(TColor AColor, TColor AArrowColor, uint8_t AArrowThickness, bool ATransparent);

  // The right-hand button.
  bool FRight = false;
};
