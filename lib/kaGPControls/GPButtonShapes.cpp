// The 35 shape styles of the vector buttons: where each fills and frames, and the figures
// of their outlines.
#include <algorithm>

#include "lib/kaGPControls/GPButtonOptions.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

namespace {

bool InRange(TkaGPButtonShapeStyle S, TkaGPButtonShapeStyle First, TkaGPButtonShapeStyle Last) {
  return S >= First && S <= Last;
}

// A quarter arc in the D x D box at (X, Y) starting at StartAngle. A corner without
// diameter is a square corner: the box's corner point stands in for the arc, which GDI+
// would refuse and so drop from the figure.
void AddCorner(GraphicsPath* Path, float X, float Y, float D, float StartAngle) {
  if (D > 0) {
    Path->AddArc(X, Y, D, D, StartAngle, 90);
    return;
  }
  const float CX = StartAngle == 180 || StartAngle == 90 ? X : X + D;
  const float CY = StartAngle == 180 || StartAngle == 270 ? Y : Y + D;
  Path->AddLine(CX, CY, CX, CY);
}

// The figures of the segment and tab styles: two corners rounded on one side, the opposite
// side a straight edge.
enum TRoundedSide { rsLeft, rsRight, rsTop, rsBottom };

void AddSideRounded(GraphicsPath* Path, const TGPRectF& R, float D, TRoundedSide Side) {
  const float X = R.X, Y = R.Y, W = R.Width, H = R.Height;
  Path->StartFigure();
  switch (Side) {
    case rsLeft:
      AddCorner(Path, X, Y + H - D, D, 90);
      AddCorner(Path, X, Y, D, 180);
      Path->AddLine(X + W, Y, X + W, Y + H);
      break;
    case rsRight:
      AddCorner(Path, X + W - D, Y, D, 270);
      AddCorner(Path, X + W - D, Y + H - D, D, 0);
      Path->AddLine(X, Y + H, X, Y);
      break;
    case rsTop:
      AddCorner(Path, X, Y, D, 180);
      AddCorner(Path, X + W - D, Y, D, 270);
      Path->AddLine(X + W, Y + H, X, Y + H);
      break;
    case rsBottom:
      AddCorner(Path, X + W - D, Y + H - D, D, 0);
      AddCorner(Path, X, Y + H - D, D, 90);
      Path->AddLine(X, Y, X + W, Y);
      break;
  }
  Path->CloseFigure();
}

// "Rounded R with D": the bottom arcs one pixel wider when R is taller than D, so they meet
// the pixel grid.
void AddRounded(GraphicsPath* Path, const TGPRectF& R, float D) { GPAddRoundedRectF(Path, R, D / 2); }

TRoundedSide SideOf(TkaGPButtonShapeStyle S) {
  switch (S) {
    case kagpSegmentedLeft: case kagpSegmentedLeftRounded: case kagpTabLeft: case kagpTabLeftRounded:
      return rsLeft;
    case kagpSegmentedRight: case kagpSegmentedRightRounded: case kagpTabRight: case kagpTabRightRounded:
      return rsRight;
    case kagpTabTop: case kagpSegmentedTop: case kagpSegmentedTopRounded:
      return rsTop;
    default:
      return rsBottom;
  }
}

bool IsSideRounded(TkaGPButtonShapeStyle S) {
  return InRange(S, kagpSegmentedLeft, kagpSegmentedRightRounded) || InRange(S, kagpTabLeft, kagpTabBottom) ||
         InRange(S, kagpSegmentedTop, kagpSegmentedBottomRounded);
}

bool IsLineStyle(TkaGPButtonShapeStyle S) { return InRange(S, kagpLeftLine, kagpTopBottomLine); }
bool IsRoundedLineStyle(TkaGPButtonShapeStyle S) { return InRange(S, kagpLeftRoundedLine, kagpBottomRoundedLine); }

// The left and right segment and tab styles.
void HorizontalSides(TkaGPButtonShape& R, float F, bool Translucent, float DFill) {
  const TkaGPButtonShapeStyle S = R.Style;
  const bool Segment = S == kagpSegmentedLeft || S == kagpSegmentedLeftRounded || S == kagpSegmentedRight ||
                       S == kagpSegmentedRightRounded;
  const bool FullRound = S == kagpSegmentedLeftRounded || S == kagpTabLeftRounded ||
                         S == kagpSegmentedRightRounded || S == kagpTabRightRounded;
  const float Grow = Segment ? F / 2 : F;
  if (SideOf(S) == rsLeft) {
    R.Fill.Width = Translucent && Segment ? R.Width - 1.5f * F : static_cast<float>(R.Width);
    R.Frame.Width += Grow;
  } else {
    R.Fill.X = Translucent && Segment ? F / 2 : 0;
    if (Translucent) R.Fill.Width += Grow;
    R.Frame.X -= Grow;
    R.Frame.Width += Grow;
  }
  R.FillDiameter = FullRound ? R.Fill.Height : DFill;
  R.FrameDiameter = FullRound ? R.Stroke.Height : 2.0f * R.CornerRadius;
}

// The top and bottom segment and tab styles.
void VerticalSides(TkaGPButtonShape& R, float F, bool Translucent, float DFillMin1) {
  const TkaGPButtonShapeStyle S = R.Style;
  const float FrameD = 2.0f * R.CornerRadius;
  R.FillDiameter = DFillMin1;
  R.FrameDiameter = FrameD;
  switch (S) {
    case kagpTabTop:
      R.Fill.Height += Translucent ? 2 * F : F;
      R.Frame.Height += F;
      break;
    case kagpTabBottom:
      R.Fill.Y = -F;
      R.Fill.Height += Translucent ? 1.5f * F : F;
      R.Frame.Y = -F;
      R.Frame.Height += 1.5f * F;
      break;
    case kagpSegmentedTop:
    case kagpSegmentedTopRounded:
      R.Fill.Height += Translucent ? F : F / 2;
      R.Frame.Height += F / 2;
      break;
    default:  // kagpSegmentedBottom, kagpSegmentedBottomRounded
      R.Fill.Y = 0;
      if (!Translucent) R.Fill.Height += F / 2;
      R.Frame.Y = 0;
      R.Frame.Height += F / 2;
      break;
  }
  if (S == kagpSegmentedTopRounded || S == kagpSegmentedBottomRounded) {
    R.FillDiameter = R.Fill.Width;
    R.FrameDiameter = R.Stroke.Width;
  }
}

// A line of the line styles along one side: at Pos across the side, over the side's
// Extent, or LS pixels centred on it, or inset by the pen width (Margins) when LS < 1.
void SideLine(Graphics* G, Pen* P, bool Vertical, float Pos, int Extent, int LS, bool Margins, float PenWidth) {
  float A = 0, B = static_cast<float>(Extent);
  if (LS >= 1) {
    A = static_cast<float>((Extent - LS) / 2);
    B = A + LS;
  } else if (Margins) {
    A = PenWidth;
    B = Extent - PenWidth;
  }
  if (Vertical)
    G->DrawLine(P, Pos, A, Pos, B);
  else
    G->DrawLine(P, A, Pos, B, Pos);
}

// The span of a rounded-line bar along its side: inside the corners, or LS pixels centred.
void BarSpan(int Extent, int CR, int LS, float& A, float& B) {
  if (LS < 1) {
    A = static_cast<float>(CR);
    B = static_cast<float>(Extent - CR);
  } else {
    A = static_cast<float>((Extent - LS) / 2);
    B = A + LS;
  }
}

}  // namespace

namespace {

// The middle segments: rectangles whose shared edges are centred on the control's edges.
void MiddleSegment(TkaGPButtonShape& R, bool MiddleInset) {
  const float F = R.FrameWidth;
  R.LightClipped = false;
  if (R.Style == kagpSegmentedMiddle) {
    R.Fill.X = MiddleInset ? F / 2 : 0;
    R.Fill.Width = MiddleInset ? R.Width - F : static_cast<float>(R.Width);
    R.Frame.X -= F / 2;
    R.Frame.Width += F;
  } else {
    R.Fill.Y = MiddleInset ? F / 2 : 0;
    R.Fill.Height = MiddleInset ? R.Height - F : static_cast<float>(R.Height);
    R.Frame.Y -= F / 2;
    R.Frame.Height += F;
  }
}

}  // namespace

TkaGPButtonShape GPButtonShape(TkaGPButtonShapeStyle Style, int Width, int Height, int FrameWidth,
                               int CornerRadius, int LineSize, bool FrameShown, bool FrameTranslucent,
                               bool MiddleInset) {
  TkaGPButtonShape R;
  R.Style = Style;
  R.Width = Width;
  R.Height = Height;
  R.FrameWidth = static_cast<float>(FrameWidth);
  R.CornerRadius = CornerRadius;
  R.LineSize = LineSize;
  R.FrameShown = FrameShown;
  R.FrameTranslucent = FrameTranslucent;
  const float F = R.FrameWidth;
  const TGPRectF C(0, 0, static_cast<REAL>(Width), static_cast<REAL>(Height));
  R.Stroke = C;
  InflateGPRect(R.Stroke, -F / 2, -F / 2);
  R.Fill = C;
  if (FrameShown && !IsRoundedLineStyle(Style)) {
    if (FrameTranslucent)
      InflateGPRect(R.Fill, -F, -F);
    else
      R.Fill = R.Stroke;
  }
  R.Frame = R.Stroke;
  const bool Translucent = FrameShown && FrameTranslucent;
  const float DFill = Translucent ? 2.0f * CornerRadius - F : 2.0f * CornerRadius;
  R.FillDiameter = DFill;
  R.FrameDiameter = 2.0f * CornerRadius;
  R.LightClipped = true;

  if (Style == kagpRect || IsLineStyle(Style)) {
    R.Fill = Style == kagpRect ? R.Fill : C;
    R.LightClipped = false;
  } else if (Style == kagpRoundedRect) {
    R.FillDiameter = std::max(DFill, 1.0f);
  } else if (Style == kagpRoundedLeftRight) {
    R.FillDiameter = R.Fill.Height;
    R.FrameDiameter = R.Stroke.Height;
  } else if (Style == kagpSegmentedMiddle || Style == kagpSegmentedMiddleVertical) {
    MiddleSegment(R, MiddleInset);
  } else if (IsRoundedLineStyle(Style)) {
    R.FillDiameter = 2.0f * CornerRadius;
  } else if (IsSideRounded(Style)) {
    if (SideOf(Style) == rsLeft || SideOf(Style) == rsRight)
      HorizontalSides(R, F, Translucent, DFill);
    else
      VerticalSides(R, F, Translucent, std::max(DFill, 1.0f));
  }
  // The ellipses keep the common rectangles and a clipped light.
  return R;
}

void GPAddButtonShapeFill(GraphicsPath* Path, const TkaGPButtonShape& Shape) {
  const TkaGPButtonShapeStyle S = Shape.Style;
  if (S == kagpEllipse || S == kagpRounded) {
    Path->AddEllipse(Shape.Fill);
  } else if (S == kagpRoundedRect || S == kagpRoundedLeftRight || IsRoundedLineStyle(S)) {
    AddRounded(Path, Shape.Fill, Shape.FillDiameter);
  } else if (IsSideRounded(S)) {
    AddSideRounded(Path, Shape.Fill, Shape.FillDiameter, SideOf(S));
  } else {
    Path->AddRectangle(Shape.Fill);
  }
}

namespace {

// The rounded-line styles' frame: a bar in the frame colour, frame-width thick with fully
// rounded ends, along one side.
void DrawRoundedLineBar(Graphics* G, const TkaGPButtonShape& Shape, TGPColor FrameColor) {
  const int W = Shape.Width, H = Shape.Height, CR = Shape.CornerRadius, LS = Shape.LineSize;
  const float FW = Shape.FrameWidth;
  const float Bottom = Shape.Stroke.Y + Shape.Stroke.Height;
  float A = 0, B = 0;
  switch (Shape.Style) {
    case kagpLeftRoundedLine:
      BarSpan(H, CR, LS, A, B);
      GPFillPillBetween(G, FrameColor, FW, 0, A, FW, B);
      break;
    case kagpRightRoundedLine:
      BarSpan(H, CR, LS, A, B);
      GPFillPillBetween(G, FrameColor, FW, W - FW, A, static_cast<float>(W), B);
      break;
    case kagpTopRoundedLine:
      BarSpan(W, CR, LS, A, B);
      GPFillPillBetween(G, FrameColor, FW, A, 0, B, FW);
      break;
    default:  // kagpBottomRoundedLine
      BarSpan(W, CR, LS, A, B);
      GPFillPillBetween(G, FrameColor, FW, A, Bottom - FW / 2, B, Bottom + FW / 2);
      break;
  }
}

// The line styles' frame: one or two straight lines with the frame pen.
void DrawSideLines(Graphics* G, const TkaGPButtonShape& Shape, Pen* P) {
  const TGPRectF& St = Shape.Stroke;
  const int W = Shape.Width, H = Shape.Height, LS = Shape.LineSize;
  const float PW = Shape.FrameWidth;
  const bool Margins = InRange(Shape.Style, kagpLeftLineMargins, kagpBottomLineMargins);
  switch (Shape.Style) {
    case kagpLeftLine: case kagpLeftLineMargins:
      SideLine(G, P, true, St.X, H, LS, Margins, PW);
      break;
    case kagpRightLine: case kagpRightLineMargins:
      SideLine(G, P, true, St.X + St.Width, H, LS, Margins, PW);
      break;
    case kagpTopLine: case kagpTopLineMargins:
      SideLine(G, P, false, St.Y, W, LS, Margins, PW);
      break;
    case kagpBottomLine: case kagpBottomLineMargins:
      SideLine(G, P, false, St.Y + St.Height, W, LS, Margins, PW);
      break;
    case kagpLeftRightLine:
      SideLine(G, P, true, St.X, H, 0, false, PW);
      SideLine(G, P, true, St.X + St.Width, H, 0, false, PW);
      break;
    default:  // kagpTopBottomLine
      SideLine(G, P, false, St.Y, W, 0, false, PW);
      SideLine(G, P, false, St.Y + St.Height, W, 0, false, PW);
      break;
  }
}

}  // namespace

void GPDrawButtonShapeFrame(Graphics* G, const TkaGPButtonShape& Shape, Pen* Pen, TGPColor FrameColor) {
  const TkaGPButtonShapeStyle S = Shape.Style;
  if (IsRoundedLineStyle(S)) {
    DrawRoundedLineBar(G, Shape, FrameColor);
    return;
  }
  if (IsLineStyle(S)) {
    DrawSideLines(G, Shape, Pen);
    return;
  }
  GraphicsPath Path(FillModeAlternate);
  if (S == kagpEllipse || S == kagpRounded)
    Path.AddEllipse(Shape.Frame);
  else if (S == kagpRoundedRect || S == kagpRoundedLeftRight)
    AddRounded(&Path, Shape.Frame, Shape.FrameDiameter);
  else if (IsSideRounded(S))
    AddSideRounded(&Path, Shape.Frame, Shape.FrameDiameter, SideOf(S));
  else
    Path.AddRectangle(Shape.Frame);
  G->DrawPath(Pen, &Path);
}
