// How the vector buttons paint their faces: the per-state colours and alphas, the 35 shape
// styles, solid and gradient fills, the drop-down arrow, the counter badge in a corner, and
// the one face-drawing procedure every vector button shares (the buttons differ only in
// what they put inside the face).
#pragma once

#include <cstdint>
#include <functional>

#include "framework/Graphics.h"
#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaGPUtils/GPInterface.h"

class TControl;

enum TkaGPShapeFillStyle { kagpsfColor, kagpsfGradient };
enum TkaGPArrowType { kagpatDefault, kagpatModern };

enum TkaGPButtonShapeStyle {
  kagpRect,                     // 0
  kagpRoundedRect,
  kagpRoundedLeftRight,
  kagpSegmentedLeft,
  kagpSegmentedLeftRounded,
  kagpSegmentedRight,
  kagpSegmentedRightRounded,
  kagpSegmentedMiddle,
  kagpTabLeft,
  kagpTabLeftRounded,
  kagpTabRight,                 // 10
  kagpTabRightRounded,
  kagpTabTop,
  kagpTabBottom,
  kagpEllipse,
  kagpRounded,
  kagpLeftLine,
  kagpRightLine,
  kagpTopLine,
  kagpBottomLine,
  kagpLeftLineMargins,          // 20
  kagpRightLineMargins,
  kagpTopLineMargins,
  kagpBottomLineMargins,
  kagpLeftRightLine,
  kagpTopBottomLine,
  kagpLeftRoundedLine,
  kagpTopRoundedLine,
  kagpRightRoundedLine,
  kagpBottomRoundedLine,
  kagpSegmentedTop,             // 30
  kagpSegmentedBottom,
  kagpSegmentedTopRounded,
  kagpSegmentedBottomRounded,
  kagpSegmentedMiddleVertical,  // 34
};

// Everything that decides how a vector button's face looks. Setters store a changed value
// and fire OnChange (the owning button repaints); refused values are ignored.
class TkaGPButtonOptions : public TPersistent {
  KA_CLASS(TkaGPButtonOptions, TPersistent)
 public:
  // Control: the owner, whose style resolves system colours (may be nullptr).
  explicit TkaGPButtonOptions(TControl* Control = nullptr) : FControl(Control) {}
  // From another options object: colours, frame, font and arrow colours and alphas, shape
  // style, corner radius, arrow sizes, fill style and StyleColors; the second colours,
  // gradient settings, arrow type and thickness and PressedHotColors stay.
  void Assign(TPersistent* Source) override;

#define KA_GPB_COLOR(Name)                        \
  TColor Name() const { return F##Name; }         \
  void Set##Name(TColor Value) { SetValue(F##Name, Value); }
#define KA_GPB_BYTE(Name)                         \
  uint8_t Name() const { return F##Name; }        \
  void Set##Name(uint8_t Value) { SetValue(F##Name, Value); }
  KA_GPB_COLOR(NormalColor)
  KA_GPB_COLOR(HotColor)
  KA_GPB_COLOR(PressedColor)
  KA_GPB_COLOR(FocusedColor)
  KA_GPB_COLOR(DisabledColor)
  KA_GPB_COLOR(NormalColor2)
  KA_GPB_COLOR(HotColor2)
  KA_GPB_COLOR(PressedColor2)
  KA_GPB_COLOR(FocusedColor2)
  KA_GPB_COLOR(DisabledColor2)
  KA_GPB_COLOR(FrameNormalColor)
  KA_GPB_COLOR(FrameHotColor)
  KA_GPB_COLOR(FramePressedColor)
  KA_GPB_COLOR(FrameFocusedColor)
  KA_GPB_COLOR(FrameDisabledColor)
  KA_GPB_COLOR(FontNormalColor)
  KA_GPB_COLOR(FontHotColor)
  KA_GPB_COLOR(FontPressedColor)
  KA_GPB_COLOR(FontFocusedColor)
  KA_GPB_COLOR(FontDisabledColor)
  KA_GPB_BYTE(NormalColorAlpha)
  KA_GPB_BYTE(HotColorAlpha)
  KA_GPB_BYTE(PressedColorAlpha)
  KA_GPB_BYTE(FocusedColorAlpha)
  KA_GPB_BYTE(DisabledColorAlpha)
  KA_GPB_BYTE(NormalColor2Alpha)
  KA_GPB_BYTE(HotColor2Alpha)
  KA_GPB_BYTE(PressedColor2Alpha)
  KA_GPB_BYTE(FocusedColor2Alpha)
  KA_GPB_BYTE(DisabledColor2Alpha)
  KA_GPB_BYTE(FrameNormalColorAlpha)
  KA_GPB_BYTE(FrameHotColorAlpha)
  KA_GPB_BYTE(FramePressedColorAlpha)
  KA_GPB_BYTE(FrameFocusedColorAlpha)
  KA_GPB_BYTE(FrameDisabledColorAlpha)
  KA_GPB_COLOR(ArrowNormalColor)
  KA_GPB_BYTE(ArrowNormalColorAlpha)
  KA_GPB_COLOR(ArrowHotColor)
  KA_GPB_BYTE(ArrowHotColorAlpha)
  KA_GPB_COLOR(ArrowPressedColor)
  KA_GPB_BYTE(ArrowPressedColorAlpha)
  KA_GPB_COLOR(ArrowFocusedColor)
  KA_GPB_BYTE(ArrowFocusedColorAlpha)
  KA_GPB_COLOR(ArrowDisabledColor)
  KA_GPB_BYTE(ArrowDisabledColorAlpha)
#undef KA_GPB_COLOR
#undef KA_GPB_BYTE

  // Greater than 0.
  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  // Greater than 0.
  int ShapeCornerRadius() const { return FShapeCornerRadius; }
  void SetShapeCornerRadius(int Value);
  TkaGPButtonShapeStyle ShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TkaGPButtonShapeStyle Value);
  TkaGPShapeFillStyle ShapeFillStyle() const { return FShapeFillStyle; }
  void SetShapeFillStyle(TkaGPShapeFillStyle Value);
  // The gradient settings are refused outside -360..360 and notify only while the fill is
  // a gradient (otherwise they change nothing visible).
  int ShapeFillGradientAngle() const { return FShapeFillGradientAngle; }
  void SetShapeFillGradientAngle(int Value);
  int ShapeFillGradientPressedAngle() const { return FShapeFillGradientPressedAngle; }
  void SetShapeFillGradientPressedAngle(int Value);
  uint8_t ShapeFillGradientColorOffset() const { return FShapeFillGradientColorOffset; }
  void SetShapeFillGradientColorOffset(uint8_t Value);
  // At least 0; 0 runs the line styles' lines over the whole side.
  int ShapeStyleLineSize() const { return FShapeStyleLineSize; }
  void SetShapeStyleLineSize(int Value);
  // Greater than 6.
  int ArrowSize() const { return FArrowSize; }
  void SetArrowSize(int Value);
  // At least 0; 0 makes the arrow area twice the arrow size.
  int ArrowAreaSize() const { return FArrowAreaSize; }
  void SetArrowAreaSize(int Value);
  TkaGPArrowType ArrowType() const { return FArrowType; }
  void SetArrowType(TkaGPArrowType Value);
  // Not 0; notifies only while the modern arrow (the one stroked with it) is chosen.
  uint8_t ArrowThickness() const { return FArrowThickness; }
  void SetArrowThickness(uint8_t Value);
  bool ArrowThicknessScaled() const { return FArrowThicknessScaled; }
  void SetArrowThicknessScaled(bool Value) { FArrowThicknessScaled = Value; }
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value);
  // A down button under the mouse paints its fill in the hot colours and keeps the
  // pressed frame.
  bool PressedHotColors() const { return FPressedHotColors; }
  void SetPressedHotColors(bool Value) { FPressedHotColors = Value; }

  // The state being painted; selects what the getters below answer.
  TkasCtrlState State() const { return FState; }
  // Also reads the high-contrast setting once for the paint that follows.
  void SetState(TkasCtrlState Value);
  TControl* Control() const { return FControl; }

  // Colours of the state, through the owner's style with StyleColors; alphas unmapped.
  TColor GetColor() const;
  TColor GetColor2() const;
  TColor GetFrameColor() const { return GetFrameColor(FState); }
  TColor GetFrameColor(TkasCtrlState AState) const;
  TColor GetFontColor() const;
  TColor GetArrowColor() const;
  uint8_t GetColorAlpha() const;
  uint8_t GetColor2Alpha() const;
  uint8_t GetFrameColorAlpha() const { return GetFrameColorAlpha(FState); }
  uint8_t GetFrameColorAlpha(TkasCtrlState AState) const;
  uint8_t GetArrowColorAlpha() const;

  TNotifyEvent OnChange;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed();
  TColor Mapped(TColor Color) const;

  TColor FNormalColor = clBtnFace, FHotColor = clBtnFace, FPressedColor = clBtnShadow, FFocusedColor = clBtnFace,
         FDisabledColor = clBtnFace;
  TColor FNormalColor2 = clNone, FHotColor2 = clNone, FPressedColor2 = clNone, FFocusedColor2 = clNone,
         FDisabledColor2 = clNone;
  TColor FFrameNormalColor = clBtnShadow, FFrameHotColor = clHighlight, FFramePressedColor = clHighlight,
         FFrameFocusedColor = clHighlight, FFrameDisabledColor = clBtnShadow;
  int FFrameWidth = 1;
  TColor FFontNormalColor = clBtnText, FFontHotColor = clBtnText, FFontPressedColor = clBtnText,
         FFontFocusedColor = clBtnText, FFontDisabledColor = clBtnShadow;
  uint8_t FNormalColorAlpha = 255, FHotColorAlpha = 255, FPressedColorAlpha = 255, FFocusedColorAlpha = 255,
          FDisabledColorAlpha = 255;
  uint8_t FNormalColor2Alpha = 255, FHotColor2Alpha = 255, FPressedColor2Alpha = 255, FFocusedColor2Alpha = 255,
          FDisabledColor2Alpha = 255;
  uint8_t FFrameNormalColorAlpha = 255, FFrameHotColorAlpha = 255, FFramePressedColorAlpha = 255,
          FFrameFocusedColorAlpha = 255, FFrameDisabledColorAlpha = 255;
  bool FStyleColors = true;
  TkasCtrlState FState = kasNormal;
  bool FHighContrast = false;
  int FShapeCornerRadius = 10;
  TkaGPButtonShapeStyle FShapeStyle = kagpRect;
  TkaGPShapeFillStyle FShapeFillStyle = kagpsfColor;
  int FShapeFillGradientAngle = 90;
  int FShapeFillGradientPressedAngle = -90;
  uint8_t FShapeFillGradientColorOffset = 25;
  int FArrowSize = 9;
  int FArrowAreaSize = 0;
  TkaGPArrowType FArrowType = kagpatDefault;
  uint8_t FArrowThickness = 2;
  bool FArrowThicknessScaled = false;
  TColor FArrowNormalColor = clBtnText;
  uint8_t FArrowNormalColorAlpha = 200;
  TColor FArrowHotColor = clBtnText;
  uint8_t FArrowHotColorAlpha = 255;
  TColor FArrowPressedColor = clBtnText;
  uint8_t FArrowPressedColorAlpha = 255;
  TColor FArrowFocusedColor = clBtnText;
  uint8_t FArrowFocusedColorAlpha = 200;
  TColor FArrowDisabledColor = clBtnText;
  uint8_t FArrowDisabledColorAlpha = 125;
  bool FPressedHotColors = false;
  int FShapeStyleLineSize = 0;
  TControl* FControl = nullptr;
};

// The small counter pill in a button's top corner (top-left when the button reads right to
// left). Colour, alpha and text notify only while the badge is visible.
class TkaGPButtonBadge : public TPersistent {
  KA_CLASS(TkaGPButtonBadge, TPersistent)
 public:
  TkaGPButtonBadge();
  ~TkaGPButtonBadge() override;
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  uint8_t ColorAlpha() const { return FColorAlpha; }
  void SetColorAlpha(uint8_t Value);
  // Owned; the setter copies.
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  const String& Text() const { return FText; }
  void SetText(const String& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // Where the pill was last painted, in the button's coordinates (empty before).
  TRect ControlRect;
  TNotifyEvent OnChange;

 private:
  void Changed();
  void ChangedWhileVisible();

  TColor FColor = clRed;
  uint8_t FColorAlpha = 255;
  String FText;
  TFont* FFont;
  bool FVisible = false;
};

// What the face drawing needs to know of the button that paints it.
struct TkaGPButtonFaceOwner {
  int Width = 0, Height = 0;
  // Without it the face starts from the style's button face colour.
  bool TransparentBackground = true;
  // Arrow area, split zone and badge on the left.
  bool RightToLeft = false;
  // ShowMenuArrow with a drop-down menu, gallery menu or custom drop-down attached.
  bool ShowArrow = false;
  // A split button with a drop-down attached.
  bool SplitButton = false;
  TkaArrowPosition ArrowPosition = kaapRight;
  TkaArrowDirection ArrowDirection = kaadDefault;
  bool MouseIn = false;
  bool Down = false;
  // The fluent light: on with the owner's FluentLightEffect while no drop-down is tracked.
  bool Light = false;
  int MouseX = 0, MouseY = 0;
  // The press ripple is running, at this step (0 to 10).
  bool MouseLDown = false;
  uint8_t LightStep = 0;
  // Resolves style colours.
  const TControl* Control = nullptr;
};

// The owner values a button control gives the same way for every vector button; the caller
// adds its transparency and the fluent light.
TkaGPButtonFaceOwner GPButtonFaceOwnerOf(const TkaCustomButtonControl* Button);

// Draws what goes inside the face (glyph, hosted control, caption) over the surface G of the
// face drawing, in the content rectangle (the face less its arrow area).
using TkaGPButtonContentProc = std::function<void(Gdiplus::Graphics* G, TCanvas* Canvas, const TRect& Content)>;

// Paints a vector button's face on Canvas (origin at the button's top-left corner): the
// shape of Options in State, the fluent light, the drop-down arrow, then (with DrawContent)
// the content. Separator mode paints a split button's separator strip: the face filled with
// the state's font colour at alpha 50, no frame, no arrow. The face never reaches outside
// the button's rectangle, also on a larger canvas. Options' state is left at State.
void GPDrawButtonFace(TCanvas* Canvas, TkaGPButtonOptions* Options, const TkaGPButtonFaceOwner& Owner,
                      TkasCtrlState State, bool Separator, bool DrawContent,
                      const TkaGPButtonContentProc& Content = nullptr);

// Paints Badge (when visible with text) in the button's top corner and stores where in its
// ControlRect. Its colours go through the style when StyleColors is set.
void GPDrawButtonBadge(TCanvas* Canvas, TkaGPButtonBadge* Badge, const TkaGPButtonFaceOwner& Owner,
                       bool StyleColors, TkaDrawTextMode TextMode);

// ---- Shapes ---------------------------------------------------------------------------------

// The rectangles and corner diameters of one face: the fill outline and the frame of the
// style, after the style's own adjustments.
struct TkaGPButtonShape {
  TkaGPButtonShapeStyle Style = kagpRect;
  int Width = 0, Height = 0;
  float FrameWidth = 1;
  int CornerRadius = 10;
  int LineSize = 0;
  // The frame is drawn (its colour is not fully transparent black, and not in separator
  // mode) and is translucent (its alpha is not 255).
  bool FrameShown = false, FrameTranslucent = false;
  TGPRectF Stroke;  // the control inset by half the frame width
  TGPRectF Fill;
  TGPRectF Frame;
  float FillDiameter = 0, FrameDiameter = 0;
  // The fluent light is clipped to the fill outline (else drawn over Fill unclipped).
  bool LightClipped = false;
};

// The geometry of Style for a face Width x Height. MiddleInset: the middle segments keep
// half a frame clear at their shared edges (a translucent frame outside separator mode).
TkaGPButtonShape GPButtonShape(TkaGPButtonShapeStyle Style, int Width, int Height, int FrameWidth,
                               int CornerRadius, int LineSize, bool FrameShown, bool FrameTranslucent,
                               bool MiddleInset);
// The outline the face is filled with and its light clipped to.
void GPAddButtonShapeFill(Gdiplus::GraphicsPath* Path, const TkaGPButtonShape& Shape);
// The frame: an outline with Pen, lines with Pen, or (rounded-line styles) a pill bar filled
// in FrameColor.
void GPDrawButtonShapeFrame(Gdiplus::Graphics* G, const TkaGPButtonShape& Shape, Gdiplus::Pen* Pen,
                            TGPColor FrameColor);
