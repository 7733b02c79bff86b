#include "lib/kaGPControls/GPButtonOptions.h"

#include <memory>

#include "framework/Controls.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

// ---- Options ------------------------------------------------------------------------------

void TkaGPButtonOptions::Changed() {
  if (OnChange) OnChange(this);
}

void TkaGPButtonOptions::SetFrameWidth(int Value) {
  if (Value > 0) SetValue(FFrameWidth, Value);
}

void TkaGPButtonOptions::SetShapeCornerRadius(int Value) {
  if (Value > 0) SetValue(FShapeCornerRadius, Value);
}

void TkaGPButtonOptions::SetShapeStyle(TkaGPButtonShapeStyle Value) { SetValue(FShapeStyle, Value); }

void TkaGPButtonOptions::SetShapeFillStyle(TkaGPShapeFillStyle Value) { SetValue(FShapeFillStyle, Value); }

void TkaGPButtonOptions::SetShapeFillGradientAngle(int Value) {
  if (Value < -360 || Value > 360 || Value == FShapeFillGradientAngle) return;
  FShapeFillGradientAngle = Value;
  if (FShapeFillStyle == kagpsfGradient) Changed();
}

void TkaGPButtonOptions::SetShapeFillGradientPressedAngle(int Value) {
  if (Value < -360 || Value > 360 || Value == FShapeFillGradientPressedAngle) return;
  FShapeFillGradientPressedAngle = Value;
  if (FShapeFillStyle == kagpsfGradient) Changed();
}

void TkaGPButtonOptions::SetShapeFillGradientColorOffset(uint8_t Value) {
  if (Value == FShapeFillGradientColorOffset) return;
  FShapeFillGradientColorOffset = Value;
  if (FShapeFillStyle == kagpsfGradient) Changed();
}

void TkaGPButtonOptions::SetShapeStyleLineSize(int Value) {
  if (Value >= 0) SetValue(FShapeStyleLineSize, Value);
}

void TkaGPButtonOptions::SetArrowSize(int Value) {
  if (Value > 6) SetValue(FArrowSize, Value);
}

void TkaGPButtonOptions::SetArrowAreaSize(int Value) {
  if (Value >= 0) SetValue(FArrowAreaSize, Value);
}

void TkaGPButtonOptions::SetArrowType(TkaGPArrowType Value) { SetValue(FArrowType, Value); }

void TkaGPButtonOptions::SetArrowThickness(uint8_t Value) {
  if (Value == 0 || Value == FArrowThickness) return;
  FArrowThickness = Value;
  if (FArrowType == kagpatModern) Changed();
}

void TkaGPButtonOptions::SetStyleColors(bool Value) { SetValue(FStyleColors, Value); }

void TkaGPButtonOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPButtonOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FNormalColor = s->FNormalColor;
  FHotColor = s->FHotColor;
  FPressedColor = s->FPressedColor;
  FFocusedColor = s->FFocusedColor;
  FDisabledColor = s->FDisabledColor;
  FFrameNormalColor = s->FFrameNormalColor;
  FFrameHotColor = s->FFrameHotColor;
  FFramePressedColor = s->FFramePressedColor;
  FFrameFocusedColor = s->FFrameFocusedColor;
  FFrameDisabledColor = s->FFrameDisabledColor;
  FFrameWidth = s->FFrameWidth;
  FFontNormalColor = s->FFontNormalColor;
  FFontHotColor = s->FFontHotColor;
  FFontPressedColor = s->FFontPressedColor;
  FFontFocusedColor = s->FFontFocusedColor;
  FFontDisabledColor = s->FFontDisabledColor;
  FNormalColorAlpha = s->FNormalColorAlpha;
  FHotColorAlpha = s->FHotColorAlpha;
  FPressedColorAlpha = s->FPressedColorAlpha;
  FFocusedColorAlpha = s->FFocusedColorAlpha;
  FDisabledColorAlpha = s->FDisabledColorAlpha;
  FFrameNormalColorAlpha = s->FFrameNormalColorAlpha;
  FFrameHotColorAlpha = s->FFrameHotColorAlpha;
  FFramePressedColorAlpha = s->FFramePressedColorAlpha;
  FFrameFocusedColorAlpha = s->FFrameFocusedColorAlpha;
  FFrameDisabledColorAlpha = s->FFrameDisabledColorAlpha;
  FShapeStyle = s->FShapeStyle;
  FShapeCornerRadius = s->FShapeCornerRadius;
  FArrowSize = s->FArrowSize;
  FArrowAreaSize = s->FArrowAreaSize;
  FShapeFillStyle = s->FShapeFillStyle;
  FStyleColors = s->FStyleColors;
  FArrowNormalColor = s->FArrowNormalColor;
  FArrowNormalColorAlpha = s->FArrowNormalColorAlpha;
  FArrowHotColor = s->FArrowHotColor;
  FArrowHotColorAlpha = s->FArrowHotColorAlpha;
  FArrowPressedColor = s->FArrowPressedColor;
  FArrowPressedColorAlpha = s->FArrowPressedColorAlpha;
  FArrowFocusedColor = s->FArrowFocusedColor;
  FArrowFocusedColorAlpha = s->FArrowFocusedColorAlpha;
  FArrowDisabledColor = s->FArrowDisabledColor;
  FArrowDisabledColorAlpha = s->FArrowDisabledColorAlpha;
  FShapeStyleLineSize = s->FShapeStyleLineSize;
  Changed();
}

namespace {

template <class T>
T ForState(TkasCtrlState State, T Normal, T Hot, T Pressed, T Focused, T Disabled) {
  switch (State) {
    case kasHot: return Hot;
    case kasPressed: return Pressed;
    case kasFocused: return Focused;
    case kasDisabled: return Disabled;
    default: return Normal;
  }
}

}  // namespace

TColor TkaGPButtonOptions::Mapped(TColor Color) const {
  return FStyleColors ? GetStyleSystemColor(Color, FControl) : Color;
}

void TkaGPButtonOptions::SetState(TkasCtrlState Value) {
  FState = Value;
  FHighContrast = IsHighContrastOn();
}

TColor TkaGPButtonOptions::GetColor() const {
  if (FHighContrast) return HighContrastColor(kahcFace, FState);
  return Mapped(ForState(FState, FNormalColor, FHotColor, FPressedColor, FFocusedColor, FDisabledColor));
}

TColor TkaGPButtonOptions::GetColor2() const {
  if (FHighContrast) return HighContrastColor(kahcFace, FState);
  return Mapped(ForState(FState, FNormalColor2, FHotColor2, FPressedColor2, FFocusedColor2, FDisabledColor2));
}

TColor TkaGPButtonOptions::GetFrameColor(TkasCtrlState AState) const {
  if (FHighContrast) return HighContrastColor(kahcFrame, AState);
  return Mapped(ForState(AState, FFrameNormalColor, FFrameHotColor, FFramePressedColor, FFrameFocusedColor,
                         FFrameDisabledColor));
}

TColor TkaGPButtonOptions::GetFontColor() const {
  if (FHighContrast) return HighContrastColor(kahcText, FState);
  return Mapped(
      ForState(FState, FFontNormalColor, FFontHotColor, FFontPressedColor, FFontFocusedColor, FFontDisabledColor));
}

TColor TkaGPButtonOptions::GetArrowColor() const {
  if (FHighContrast) return HighContrastColor(kahcText, FState);
  return Mapped(ForState(FState, FArrowNormalColor, FArrowHotColor, FArrowPressedColor, FArrowFocusedColor,
                         FArrowDisabledColor));
}

uint8_t TkaGPButtonOptions::GetColorAlpha() const {
  if (FHighContrast) return 255;
  return ForState(FState, FNormalColorAlpha, FHotColorAlpha, FPressedColorAlpha, FFocusedColorAlpha,
                  FDisabledColorAlpha);
}

uint8_t TkaGPButtonOptions::GetColor2Alpha() const {
  if (FHighContrast) return 255;
  return ForState(FState, FNormalColor2Alpha, FHotColor2Alpha, FPressedColor2Alpha, FFocusedColor2Alpha,
                  FDisabledColor2Alpha);
}

uint8_t TkaGPButtonOptions::GetFrameColorAlpha(TkasCtrlState AState) const {
  if (FHighContrast) return 255;
  return ForState(AState, FFrameNormalColorAlpha, FFrameHotColorAlpha, FFramePressedColorAlpha,
                  FFrameFocusedColorAlpha, FFrameDisabledColorAlpha);
}

uint8_t TkaGPButtonOptions::GetArrowColorAlpha() const {
  if (FHighContrast) return 255;
  return ForState(FState, FArrowNormalColorAlpha, FArrowHotColorAlpha, FArrowPressedColorAlpha,
                  FArrowFocusedColorAlpha, FArrowDisabledColorAlpha);
}

// ---- Badge --------------------------------------------------------------------------------

TkaGPButtonBadge::TkaGPButtonBadge() : FFont(new TFont) {
  FFont->SetName(L"Tahoma");
  FFont->SetStyle(TFontStyles{fsBold});
  FFont->SetColor(clWhite);
  FFont->SetHeight(-11);
  FFont->OnChange = [this](TObject*) { ChangedWhileVisible(); };
}

TkaGPButtonBadge::~TkaGPButtonBadge() { FFont->Free(); }

void TkaGPButtonBadge::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPButtonBadge*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FColor = s->FColor;
  FColorAlpha = s->FColorAlpha;
  FText = s->FText;
  FVisible = s->FVisible;
  FFont->Assign(s->FFont);
  Changed();
}

void TkaGPButtonBadge::Changed() {
  if (OnChange) OnChange(this);
}

void TkaGPButtonBadge::ChangedWhileVisible() {
  if (FVisible) Changed();
}

void TkaGPButtonBadge::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  ChangedWhileVisible();
}

void TkaGPButtonBadge::SetColorAlpha(uint8_t Value) {
  if (FColorAlpha == Value) return;
  FColorAlpha = Value;
  ChangedWhileVisible();
}

void TkaGPButtonBadge::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  ChangedWhileVisible();
}

void TkaGPButtonBadge::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

// ---- Face drawing -------------------------------------------------------------------------

TkaGPButtonFaceOwner GPButtonFaceOwnerOf(const TkaCustomButtonControl* Button) {
  TkaGPButtonFaceOwner O;
  O.Width = Button->Width();
  O.Height = Button->Height();
  O.RightToLeft = Button->BiDiMode() == bdRightToLeft;
  const bool HasDropDown =
      Button->DropDownMenu() != nullptr || Button->GalleryMenu() != nullptr || Button->CustomDropDown();
  O.ShowArrow = Button->ShowMenuArrow() && HasDropDown;
  O.SplitButton = Button->SplitButton() && HasDropDown;
  O.ArrowPosition = Button->ArrowPosition();
  O.ArrowDirection = Button->ArrowDirection();
  O.MouseIn = Button->MouseIn();
  O.Down = Button->Down();
  O.Control = Button;
  return O;
}

namespace {

// Narrows a surface's clip for its lifetime and puts the previous clip back afterwards,
// also when drawing throws.
class TGPIntersectClip {
 public:
  TGPIntersectClip(Graphics* G, const GraphicsPath* Path) : FGraphics(G) {
    G->GetClip(&FSaved);
    G->SetClip(Path, CombineModeIntersect);
  }
  ~TGPIntersectClip() { FGraphics->SetClip(&FSaved, CombineModeReplace); }
  TGPIntersectClip(const TGPIntersectClip&) = delete;
  TGPIntersectClip& operator=(const TGPIntersectClip&) = delete;

 private:
  Graphics* FGraphics;
  Region FSaved;
};

std::unique_ptr<Brush> MakeFillBrush(TkaGPButtonOptions* O, const TkaGPButtonShape& Shape, TkasCtrlState State,
                                     TGPColor FillColor, bool Separator) {
  if (Separator || O->ShapeFillStyle() == kagpsfColor) return std::make_unique<SolidBrush>(Color(FillColor));
  TGPRectF Span = Shape.Fill;
  const float Grow = Shape.Style == kagpTabTop || Shape.Style == kagpTabBottom ? Shape.FrameWidth : 1.0f;
  InflateGPRect(Span, Grow, Grow);
  const TColor Fill = O->GetColor();
  const uint8_t Alpha = O->GetColorAlpha();
  TGPColor From = 0, To = 0;
  if (O->GetColor2() != clNone) {
    From = FillColor;
    To = ToGPColor(O->GetColor2(), O->GetColor2Alpha());
  } else if (Fill != clNone) {
    const int Offset = O->ShapeFillGradientColorOffset();
    From = ToGPColor(LighterColor(Fill, Offset), Alpha);
    To = ToGPColor(DarkerColor(Fill, Offset), Alpha);
  }
  const int Angle = State == kasPressed ? O->ShapeFillGradientPressedAngle() : O->ShapeFillGradientAngle();
  return std::make_unique<LinearGradientBrush>(Span, Color(From), Color(To), static_cast<REAL>(Angle), FALSE);
}

void DrawFluentLight(Graphics* G, const TkaGPButtonShape& Shape, const GraphicsPath& FillPath,
                     const TkaGPButtonFaceOwner& Owner) {
  if (!Owner.MouseLDown && !Owner.MouseIn) return;
  std::unique_ptr<TGPIntersectClip> Clip;
  if (Shape.LightClipped) Clip = std::make_unique<TGPIntersectClip>(G, &FillPath);
  if (Owner.MouseLDown) GPDrawPressedLight(G, Shape.Fill, Owner.MouseX, Owner.MouseY, Owner.LightStep);
  if (Owner.MouseIn) GPDrawHoverLight(G, Shape.Fill, Owner.MouseX);
}

// Draws the drop-down arrow and takes its area (and a split button's further room) from
// Content.
void DrawDropDownArrow(Graphics* G, TkaGPButtonOptions* O, const TkaGPButtonFaceOwner& Owner, TRect& Content) {
  const int AS = O->ArrowSize(), AAS = O->ArrowAreaSize();
  const int Area = AAS != 0 ? AAS : 2 * AS;
  const bool Bottom = Owner.ArrowPosition == kaapBottom;
  float X = 0, Y = 0;
  if (Bottom) {
    Content.Bottom -= Area;
    X = static_cast<float>(Owner.Width / 2 - AS / 2);
    Y = static_cast<float>(AAS == 0 ? Content.Bottom : Content.Bottom + AAS / 2 - Round(AS / 1.4));
    if (O->ShapeStyle() == kagpRounded) Content.Bottom += AAS == 0 ? 2 * AS : AAS / 2;
  } else {
    if (Owner.RightToLeft) {
      const int AreaLeft = Content.Left;
      Content.Left += Area;
      X = static_cast<float>(AAS == 0 ? Content.Left - AS : AreaLeft + (Area - AS) / 2);
    } else {
      Content.Right -= Area;
      X = static_cast<float>(AAS == 0 ? Content.Right : Content.Right + (Area - AS) / 2);
    }
    Y = static_cast<float>(Owner.Height / 2 - AS / 2 - 1);
    if (O->ShapeStyle() == kagpTabBottom) Y -= static_cast<float>(O->FrameWidth());
  }
  const TGPColor ArrowColor = ToGPColor(O->GetArrowColor(), O->GetArrowColorAlpha());
  const float S = static_cast<float>(AS);
  if (O->ArrowType() == kagpatModern) {
    const bool Right = Owner.ArrowDirection == kaadRight;
    const TGPRectF Box(X, Y + (Right ? 1.0f : -1.0f), S, S);
    if (Right)
      GPDrawRightArrowGlyph(G, Box, ArrowColor, 1.0, O->ArrowThickness());
    else
      GPDrawModernDropDownGlyph(G, Box, ArrowColor, 1.0, O->ArrowThickness());
  } else {
    const float Half = static_cast<float>(Round(S / 2));
    PointF P[3];
    if (Owner.ArrowDirection == kaadRight) {
      P[0] = PointF(X + Half, Y);
      P[1] = PointF(X + S, Y + Half);
      P[2] = PointF(X + Half, Y + S);
    } else {
      P[0] = PointF(X, Y + Half);
      P[1] = PointF(X + S / 2, Y + S);
      P[2] = PointF(X + S, Y + Half);
    }
    SolidBrush ArrowBrush{Color(ArrowColor)};
    G->FillPolygon(&ArrowBrush, P, 3);
  }
  if (Owner.SplitButton && AAS == 0) {
    if (Bottom)
      Content.Bottom -= AS;
    else if (Owner.RightToLeft)
      Content.Left += AS;
    else
      Content.Right -= AS;
  }
}

}  // namespace

void GPDrawButtonFace(TCanvas* Canvas, TkaGPButtonOptions* O, const TkaGPButtonFaceOwner& Owner,
                      TkasCtrlState State, bool Separator, bool DrawContent, const TkaGPButtonContentProc& Content) {
  const int W = Owner.Width, H = Owner.Height;
  if (W <= 0 || H <= 0) return;
  if (!Owner.TransparentBackground) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(GetStyleSystemColor(clBtnFace, Owner.Control));
    Canvas->FillRect(TRect(0, 0, W, H));
  }
  O->SetState(State);
  GPEnsureStarted();
  Graphics G(Canvas->Handle());
  G.SetSmoothingMode(SmoothingModeHighQuality);
  G.SetPixelOffsetMode(PixelOffsetModeHalf);
  // Tabs and shared segment edges run on or past the control's edges; on a canvas larger
  // than the button they must not show.
  G.SetClip(TGPRectF(0, 0, static_cast<REAL>(W), static_cast<REAL>(H)), CombineModeIntersect);

  // A down button under the mouse that paints hot keeps its pressed frame.
  const bool HotDown = O->PressedHotColors() && Owner.MouseIn && Owner.Down;
  const TkasCtrlState FrameState = HotDown ? kasPressed : State;
  const uint8_t FrameAlpha = O->GetFrameColorAlpha(FrameState);
  const TGPColor FrameColor = ToGPColor(O->GetFrameColor(FrameState), FrameAlpha);
  const TGPColor FillColor =
      Separator ? ToGPColor(O->GetFontColor(), 50) : ToGPColor(O->GetColor(), O->GetColorAlpha());
  Pen FramePen(Color(FrameColor), static_cast<REAL>(O->FrameWidth()));
  const bool Shown = FrameColor != 0 && !Separator;
  const TkaGPButtonShape Shape =
      GPButtonShape(O->ShapeStyle(), W, H, O->FrameWidth(), O->ShapeCornerRadius(), O->ShapeStyleLineSize(), Shown,
                    FrameAlpha != 255, !Separator && FrameAlpha != 255);

  std::unique_ptr<Brush> FillBrush = MakeFillBrush(O, Shape, State, FillColor, Separator);
  GraphicsPath FillPath(FillModeAlternate);
  GPAddButtonShapeFill(&FillPath, Shape);
  G.FillPath(FillBrush.get(), &FillPath);
  if (Owner.Light) DrawFluentLight(&G, Shape, FillPath, Owner);
  if (Shown) GPDrawButtonShapeFrame(&G, Shape, &FramePen, FrameColor);

  TRect ContentRect(0, 0, W, H);
  if (Owner.ShowArrow && !Separator) DrawDropDownArrow(&G, O, Owner, ContentRect);
  if (DrawContent && Content) Content(&G, Canvas, ContentRect);
}

void GPDrawButtonBadge(TCanvas* Canvas, TkaGPButtonBadge* Badge, const TkaGPButtonFaceOwner& Owner,
                       bool StyleColors, TkaDrawTextMode TextMode) {
  if (!Badge->Visible() || Badge->Text().empty()) return;
  Canvas->SetFont(Badge->Font());
  TColor Fill = Badge->Color(), TextColor = Badge->Font()->Color();
  if (StyleColors) {
    Fill = GetStyleSystemColor(Fill, Owner.Control);
    TextColor = GetStyleSystemColor(TextColor, Owner.Control);
  }
  Canvas->Font()->SetColor(TextColor);
  int h = Canvas->TextHeight(L"Qq");
  int w = Canvas->TextWidth(Badge->Text());
  const int Grow = h / 2;
  h += Grow;
  w = std::max(w + Grow, h);
  TRect R = Owner.RightToLeft ? TRect(0, 0, w, h) : TRect(Owner.Width - w, 0, Owner.Width, h);
  Badge->ControlRect = R;
  {
    GPEnsureStarted();
    Graphics G(Canvas->Handle());
    G.SetSmoothingMode(SmoothingModeHighQuality);
    G.SetPixelOffsetMode(PixelOffsetModeHalf);
    const float X = static_cast<float>(R.Left), Y = static_cast<float>(R.Top), D = static_cast<float>(h);
    GraphicsPath Pill(FillModeAlternate);
    Pill.AddArc(X, Y, D, D, 180, 90);
    Pill.AddArc(R.Right - D, Y, D, D, 270, 90);
    Pill.AddArc(R.Right - D, R.Bottom - D, D, D, 0, 90);
    Pill.AddArc(X, R.Bottom - D, D, D, 90, 90);
    Pill.CloseFigure();
    SolidBrush PillBrush{Color(ToGPColor(Fill, Badge->ColorAlpha()))};
    G.FillPath(&PillBrush, &Pill);
    if (TextMode == kadtmGDIPlus) {
      TRect TextRect = R;
      GPDrawText(&G, nullptr, Canvas, TextRect, Badge->Text(), DT_CENTER | DT_VCENTER, 255);
      return;
    }
  }
  const TSize Extent = Canvas->TextExtent(Badge->Text());
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextOut(R.Left + (R.Width() - Extent.cx) / 2, R.Top + (R.Height() - Extent.cy) / 2, Badge->Text());
}

// ---- Layout streaming ---------------------------------------------------------------------

KA_REGISTER_ENUM(TkaGPShapeFillStyle, {{L"kagpsfColor", kagpsfColor}, {L"kagpsfGradient", kagpsfGradient}});
KA_REGISTER_ENUM(TkaGPArrowType, {{L"kagpatDefault", kagpatDefault}, {L"kagpatModern", kagpatModern}});
KA_REGISTER_ENUM(TkaGPButtonShapeStyle,
                 {{L"kagpRect", kagpRect},
                  {L"kagpRoundedRect", kagpRoundedRect},
                  {L"kagpRoundedLeftRight", kagpRoundedLeftRight},
                  {L"kagpSegmentedLeft", kagpSegmentedLeft},
                  {L"kagpSegmentedLeftRounded", kagpSegmentedLeftRounded},
                  {L"kagpSegmentedRight", kagpSegmentedRight},
                  {L"kagpSegmentedRightRounded", kagpSegmentedRightRounded},
                  {L"kagpSegmentedMiddle", kagpSegmentedMiddle},
                  {L"kagpTabLeft", kagpTabLeft},
                  {L"kagpTabLeftRounded", kagpTabLeftRounded},
                  {L"kagpTabRight", kagpTabRight},
                  {L"kagpTabRightRounded", kagpTabRightRounded},
                  {L"kagpTabTop", kagpTabTop},
                  {L"kagpTabBottom", kagpTabBottom},
                  {L"kagpEllipse", kagpEllipse},
                  {L"kagpRounded", kagpRounded},
                  {L"kagpLeftLine", kagpLeftLine},
                  {L"kagpRightLine", kagpRightLine},
                  {L"kagpTopLine", kagpTopLine},
                  {L"kagpBottomLine", kagpBottomLine},
                  {L"kagpLeftLineMargins", kagpLeftLineMargins},
                  {L"kagpRightLineMargins", kagpRightLineMargins},
                  {L"kagpTopLineMargins", kagpTopLineMargins},
                  {L"kagpBottomLineMargins", kagpBottomLineMargins},
                  {L"kagpLeftRightLine", kagpLeftRightLine},
                  {L"kagpTopBottomLine", kagpTopBottomLine},
                  {L"kagpLeftRoundedLine", kagpLeftRoundedLine},
                  {L"kagpTopRoundedLine", kagpTopRoundedLine},
                  {L"kagpRightRoundedLine", kagpRightRoundedLine},
                  {L"kagpBottomRoundedLine", kagpBottomRoundedLine},
                  {L"kagpSegmentedTop", kagpSegmentedTop},
                  {L"kagpSegmentedBottom", kagpSegmentedBottom},
                  {L"kagpSegmentedTopRounded", kagpSegmentedTopRounded},
                  {L"kagpSegmentedBottomRounded", kagpSegmentedBottomRounded},
                  {L"kagpSegmentedMiddleVertical", kagpSegmentedMiddleVertical}});

using TOpts = TkaGPButtonOptions;
#define KA_OPT(Name) c.Property(L## #Name, &TOpts::Name, &TOpts::Set##Name)
KA_REGISTER_CLASS(TkaGPButtonOptions, [](auto& c) {
  KA_OPT(NormalColor);
  KA_OPT(HotColor);
  KA_OPT(PressedColor);
  KA_OPT(FocusedColor);
  KA_OPT(DisabledColor);
  KA_OPT(NormalColor2);
  KA_OPT(HotColor2);
  KA_OPT(PressedColor2);
  KA_OPT(FocusedColor2);
  KA_OPT(DisabledColor2);
  KA_OPT(NormalColorAlpha);
  KA_OPT(HotColorAlpha);
  KA_OPT(PressedColorAlpha);
  KA_OPT(FocusedColorAlpha);
  KA_OPT(DisabledColorAlpha);
  KA_OPT(NormalColor2Alpha);
  KA_OPT(HotColor2Alpha);
  KA_OPT(PressedColor2Alpha);
  KA_OPT(FocusedColor2Alpha);
  KA_OPT(DisabledColor2Alpha);
  KA_OPT(FrameNormalColor);
  KA_OPT(FrameHotColor);
  KA_OPT(FramePressedColor);
  KA_OPT(FrameFocusedColor);
  KA_OPT(FrameDisabledColor);
  KA_OPT(FrameWidth);
  KA_OPT(FrameNormalColorAlpha);
  KA_OPT(FrameHotColorAlpha);
  KA_OPT(FramePressedColorAlpha);
  KA_OPT(FrameFocusedColorAlpha);
  KA_OPT(FrameDisabledColorAlpha);
  KA_OPT(FontNormalColor);
  KA_OPT(FontHotColor);
  KA_OPT(FontPressedColor);
  KA_OPT(FontFocusedColor);
  KA_OPT(FontDisabledColor);
  KA_OPT(ShapeFillStyle);
  KA_OPT(ShapeFillGradientAngle);
  KA_OPT(ShapeFillGradientPressedAngle);
  KA_OPT(ShapeFillGradientColorOffset);
  KA_OPT(ShapeCornerRadius);
  KA_OPT(ShapeStyle);
  KA_OPT(ShapeStyleLineSize);
  KA_OPT(ArrowSize);
  KA_OPT(ArrowAreaSize);
  KA_OPT(ArrowType);
  KA_OPT(ArrowThickness);
  KA_OPT(ArrowThicknessScaled);
  KA_OPT(ArrowNormalColor);
  KA_OPT(ArrowHotColor);
  KA_OPT(ArrowPressedColor);
  KA_OPT(ArrowFocusedColor);
  KA_OPT(ArrowDisabledColor);
  KA_OPT(ArrowNormalColorAlpha);
  KA_OPT(ArrowHotColorAlpha);
  KA_OPT(ArrowPressedColorAlpha);
  KA_OPT(ArrowFocusedColorAlpha);
  KA_OPT(ArrowDisabledColorAlpha);
  KA_OPT(StyleColors);
  KA_OPT(PressedHotColors);
  c.Property(L"OnChange", &TOpts::OnChange);
});
#undef KA_OPT

KA_REGISTER_CLASS(TkaGPButtonBadge, [](auto& c) {
  c.Property(L"Color", &TkaGPButtonBadge::Color, &TkaGPButtonBadge::SetColor);
  c.Property(L"ColorAlpha", &TkaGPButtonBadge::ColorAlpha, &TkaGPButtonBadge::SetColorAlpha);
  c.Property(L"Font", &TkaGPButtonBadge::Font);
  c.Property(L"Text", &TkaGPButtonBadge::Text, &TkaGPButtonBadge::SetText);
  c.Property(L"Visible", &TkaGPButtonBadge::Visible, &TkaGPButtonBadge::SetVisible);
});
