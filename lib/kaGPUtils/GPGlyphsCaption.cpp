// Glyphs of the caption buttons, arrows, plus/minus/check, menus, text alignment and media.
#include "lib/kaGPUtils/GPGlyphsDraw.h"

using namespace Gdiplus;
using namespace kaGPGlyph;

// ---- Caption buttons ---------------------------------------------------------------------

void GPDrawCloseGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Path;
  Path.Line(X, Y, X + W, Y + H).Line(X + W, Y, X, Y + H);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawMinimizeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  // Unsmoothed, so that a thin bar stays one crisp row.
  TGPModesScope Modes(G);
  G->SetSmoothingMode(SmoothingModeNone);
  TGlyphPath Path;
  Path.Line(X + W / 6, Y + H / 2, X + W - W / 6, Y + H / 2);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

namespace {

// The maximise square: inset by Round(H / 6), one pixel up, on whole pixels.
TGPRectF MaximizeSquare(const TGPRectF& Box) {
  const float M = static_cast<float>(Round(Box.Height / 6));
  const TGPRectF R = Moved(Inflated(Box, -M), 0, -1);
  return TGPRectF(static_cast<REAL>(Round(R.X)), static_cast<REAL>(Round(R.Y)),
                  static_cast<REAL>(Round(R.Width)), static_cast<REAL>(Round(R.Height)));
}

TGPRectF Rounded(const TGPRectF& R) {
  return TGPRectF(static_cast<REAL>(Round(R.X)), static_cast<REAL>(Round(R.Y)),
                  static_cast<REAL>(Round(R.Width)), static_cast<REAL>(Round(R.Height)));
}

// The two squares of the restore glyph share this box (one pixel smaller than the glyph
// box, shrunk by a fifth of that) and the offset H' / 12 between them.
void RestoreSquares(const TGPRectF& Box, TGPRectF& Shrunk, float& Offset) {
  const float W = Box.Width - 1, H = Box.Height - 1;
  Shrunk = TGPRectF(Box.X, Box.Y, W, H);
  InflateGPRect(Shrunk, -H / 5, -H / 5);
  Offset = H / 12;
}

// An odd pen sits on pixel centres with no offset and an even one on pixel edges with the
// half-pixel offset, so the rounded square's straight edges stay crisp.
PixelOffsetMode CrispOffsetFor(int PenWidth) {
  return PenWidth % 2 != 0 ? PixelOffsetModeDefault : PixelOffsetModeHighQuality;
}

}  // namespace

void GPDrawMaximizeRectGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness) {
  TGPModesScope Modes(G);
  G->SetSmoothingMode(SmoothingModeNone);
  G->SetPixelOffsetMode(PixelOffsetModeNone);
  Pen GlyphPen(Gdiplus::Color(Color), PenOf(Thickness, ScaleFactor));
  G->DrawRectangle(&GlyphPen, MaximizeSquare(Box));
}

void GPDrawMaximizeRoundedGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness) {
  const int P = GPGlyphPenWidth(Thickness, ScaleFactor);
  TGPModesScope Modes(G);
  G->SetSmoothingMode(SmoothingModeHighQuality);
  G->SetPixelOffsetMode(CrispOffsetFor(P));
  Pen GlyphPen(Gdiplus::Color(Color), static_cast<REAL>(P));
  GPDrawRoundedRectF(G, MaximizeSquare(Box), &GlyphPen, static_cast<float>(ScaleFactor / 2));
}

void GPDrawRestoreRectGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  TGPRectF S;
  float H;
  RestoreSquares(Box, S, H);
  const TGPRectF Front = Rounded(Moved(S, -H, H)), Back = Rounded(Moved(S, H, -H));
  TGPModesScope Modes(G);
  TGPClipScope Clip(G);
  G->SetSmoothingMode(SmoothingModeNone);
  G->SetPixelOffsetMode(PixelOffsetModeNone);
  const float P = PenOf(Thickness, ScaleFactor);
  Pen GlyphPen(Gdiplus::Color(Color), P);
  G->DrawRectangle(&GlyphPen, Front);
  // The front square's stroke reaches half a pen past its rectangle, on the right and bottom
  // sides onto pixels of their own: all of it is kept clear, or the back square's bottom
  // edge crosses the front's right edge and a translucent glyph shows a doubled dot there.
  G->ExcludeClip(TGPRectF(Front.X - P / 2, Front.Y - P / 2, Front.Width + P, Front.Height + P));
  G->DrawRectangle(&GlyphPen, Back);
}

void GPDrawRestoreRoundedGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness) {
  TGPRectF S;
  float H;
  RestoreSquares(Box, S, H);
  const TGPRectF Front = Rounded(Moved(S, -H, H));
  const TGPRectF B = Moved(S, H, -H);
  const int Scale = Round(ScaleFactor);
  // The back square grows left and down under the front one, so that only its top and
  // right edges (cut out by the clip) show, with the larger radius of an outer outline.
  const TGPRectF Back(static_cast<REAL>(Round(B.X) - 1 - Scale), static_cast<REAL>(Round(B.Y)),
                      static_cast<REAL>(Round(B.Width) + Scale + 1),
                      static_cast<REAL>(Round(B.Height) + Scale + 1));
  const float Shift = static_cast<float>(Trunc(ScaleFactor + 1));

  TGPModesScope Modes(G);
  TGPClipScope Clip(G);
  G->SetSmoothingMode(SmoothingModeHighQuality);
  G->SetPixelOffsetMode(CrispOffsetFor(Trunc(Thickness * ScaleFactor)));
  Pen GlyphPen(Gdiplus::Color(Color), PenOf(Thickness, ScaleFactor));
  GPDrawRoundedRectF(G, Front, &GlyphPen, static_cast<float>(ScaleFactor / 2));
  G->SetClip(Moved(Back, Shift, -Shift / 2), CombineModeIntersect);
  GPDrawRoundedRectF(G, Back, &GlyphPen, static_cast<float>(ScaleFactor + 1));
}

// ---- Arrows ------------------------------------------------------------------------------

namespace {

// The head at the right edge's middle, arms H / 3 long, and the shaft across the box.
void AddNextArrow(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cy = Y + H / 2, h = H / 3;
  Path.Lines({{X + W - h, cy - h}, {X + W, cy}, {X + W - h, cy + h}});
  Path.Line(X + W, cy, X, cy);
}

}  // namespace

namespace kaGPGlyph {

void AddNaviTop(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2, h = H / 3;
  Path.Line(cx, Y, cx, Y + H);
  Path.Lines({{cx - h, Y + h}, {cx, Y}, {cx + h, Y + h}});
}

void AddNaviBottom(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2, h = H / 3;
  Path.Line(cx, Y, cx, Y + H);
  Path.Lines({{cx - h, Y + H - h}, {cx, Y + H}, {cx + h, Y + H - h}});
}

}  // namespace kaGPGlyph

namespace {

// A chevron through A, B and C, given as fractions of the box (X + fx * W, Y + fy * H).
void StrokeChevron(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, Pt A, Pt B, Pt C) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Path;
  Path.Lines({{X + A.X * W, Y + A.Y * H}, {X + B.X * W, Y + B.Y * H}, {X + C.X * W, Y + C.Y * H}});
  Stroke(G, Path, Color, P);
}

// A corner arrow: arms of H / 2 along the two edges that meet at the corner (CX, CY) (0 or
// 1 as fractions of the box), and the shaft along the diagonal from the opposite corner.
void StrokeCornerArrow(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, float CX,
                       float CY) {
  const auto [X, Y, W, H] = Parts(Box);
  const Pt Corner(X + CX * W, Y + CY * H);
  const float DX = CX == 0 ? H / 2 : -H / 2, DY = CY == 0 ? H / 2 : -H / 2;
  TGlyphPath Path;
  Path.Lines({{Corner.X + DX, Corner.Y}, Corner, {Corner.X, Corner.Y + DY}});
  Path.Line(X + (1 - CX) * W, Y + (1 - CY) * H, Corner.X, Corner.Y);
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawPriorArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), cy = Y + H / 2, h = H / 3;
  TGlyphPath Path;
  Path.Lines({{X + h, cy - h}, {X, cy}, {X + h, cy + h}});
  // The shaft stops short of the tip so that its square end stays inside the head's point.
  Path.Line(X + W, cy, X + 0.75f * P, cy);
  Stroke(G, Path, Color, P);
}

void GPDrawNextArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  TGlyphPath Path;
  AddNextArrow(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawLeftArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  StrokeChevron(G, Box, Color, PenOf(Thickness, ScaleFactor),
                {0.75f, 0}, {0.25f, 0.5f}, {0.75f, 1});
}

void GPDrawRightArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  StrokeChevron(G, Box, Color, PenOf(Thickness, ScaleFactor),
                {0.25f, 0}, {0.75f, 0.5f}, {0.25f, 1});
}

void GPDrawUpArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  StrokeChevron(G, Box, Color, PenOf(Thickness, ScaleFactor),
                {0, 0.75f}, {0.5f, 0.25f}, {1, 0.75f});
}

void GPDrawDownArrowGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  StrokeChevron(G, Box, Color, PenOf(Thickness, ScaleFactor),
                {0, 0.25f}, {0.5f, 0.75f}, {1, 0.25f});
}

void GPDrawModernDropDownGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness) {
  StrokeChevron(G, Box, Color, PenOf(Thickness, ScaleFactor),
                {0, 0.5f}, {0.5f, 1}, {1, 0.5f});
}

void GPDrawNaviTopGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  TGlyphPath Path;
  AddNaviTop(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawNaviBottomGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  TGlyphPath Path;
  AddNaviBottom(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawNaviTopLeftGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                            uint8_t Thickness) {
  StrokeCornerArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), 0, 0);
}

void GPDrawNaviTopRightGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness) {
  StrokeCornerArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), 1, 0);
}

void GPDrawNaviBottomLeftGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness) {
  StrokeCornerArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), 0, 1);
}

void GPDrawNaviBottomRightGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness) {
  StrokeCornerArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), 1, 1);
}

void GPDrawSizeGripGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float A = H / 3;
  TGlyphPath Path;
  Path.Lines({{X + W, Y + H - A}, {X + W, Y + H}, {X + W - A, Y + H}});
  Path.Line(X, Y, X + W, Y + H);
  Path.Lines({{X, Y + A}, {X, Y}, {X + A, Y}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawDownloadGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), cx = X + W / 2, h = H / 3;
  const float Tip = Y + H - P;
  TGlyphPath Path;
  Path.Line(cx, Y - P, cx, Tip);
  Path.Lines({{cx - h, Tip - h}, {cx, Tip}, {cx + h, Tip - h}});
  Path.Line(cx - h, Y + H, cx + h, Y + H);
  Stroke(G, Path, Color, P);
}

void GPDrawUploadGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), cx = X + W / 2, h = H / 3;
  const float Tip = Y + P;
  TGlyphPath Path;
  Path.Lines({{cx - h, Tip + h}, {cx, Tip}, {cx + h, Tip + h}});
  Path.Line(cx, Tip, cx, Tip + H);
  Path.Line(cx - h, Y, cx + h, Y);
  Stroke(G, Path, Color, P);
}

void GPDrawExitGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Arrow;
  AddNextArrow(Arrow, Moved(Inflated(Box, -H / 6), H / 3, 0));
  Stroke(G, Arrow, Color, PenOf(Thickness, ScaleFactor));
  const float F = H / 6;
  TGlyphPath Bracket;
  Bracket.Lines({{X + W - F, Y + H / 4}, {X + W - F, Y}, {X, Y}, {X, Y + H}, {X + W - F, Y + H},
                 {X + W - F, Y + 3 * H / 4}});
  Stroke(G, Bracket, Color, HairPenOf(Thickness, ScaleFactor));
}

// ---- Plus, minus, check ------------------------------------------------------------------

namespace kaGPGlyph {

void AddPlus(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  Path.Line(X + W / 2, Y, X + W / 2, Y + H).Line(X, Y + H / 2, X + W, Y + H / 2);
}

void AddMinus(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  Path.Line(X, Y + H / 2, X + W, Y + H / 2);
}

}  // namespace kaGPGlyph

void GPDrawPlusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddPlus(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawMinusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  TGlyphPath Path;
  AddMinus(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawOkGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                   uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float Top = static_cast<float>(Round(Y - H / 10)), Bottom = Top + H;
  TGlyphPath Path;
  Path.Lines({{X, Bottom - H / 3}, {X + W / 3, Bottom}, {X + W, Top + H / 4}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawCheckOptionsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness) {
  const float F = Box.Height / 4;
  const TGPRectF Q = Moved(Inflated(Box, -0.3f * F), F / 2, -F);
  const float Top = static_cast<float>(Round(Q.Y - Q.Height / 10));
  TGlyphPath Path;
  Path.Rect(Inflated(Box, -F));
  Path.Lines({{Q.X - Q.Width / 8, Top + 2 * Q.Height / 3},
              {Q.X + Q.Width / 3, Top + Q.Height},
              {Q.X + Q.Width, Top + Q.Height / 4}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Menus and text ----------------------------------------------------------------------

namespace {

// Three filled dots of diameter Round(W / 6), 2d apart, in a row or a column.
void FillDots(Graphics* G, const TGPRectF& Box, TGPColor Color, bool Row) {
  const float D = static_cast<float>(Round(Box.Width / 6));
  const float cx = CentreX(Box), cy = CentreY(Box);
  TGlyphPath Path;
  for (int K = -1; K <= 1; ++K) {
    const float DX = Row ? 2 * D * K : 0, DY = Row ? 0 : 2 * D * K;
    Path.Ellipse(TGPRectF(cx + DX - D / 2, cy + DY - D / 2, D, D));
  }
  Fill(G, Path, Color);
}

// Five text lines at y = Y + e/2 + k e (e = H / 5); the odd ones run from Short.X to
// Short.Y as fractions of W, the even ones across the whole box.
void StrokeTextLines(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, Pt Short) {
  const auto [X, Y, W, H] = Parts(Box);
  const float E = H / 5;
  TGlyphPath Path;
  for (int K = 0; K < 5; ++K) {
    const float LY = Y + E / 2 + K * E;
    if (K % 2 == 0)
      Path.Line(X, LY, X + W, LY);
    else
      Path.Line(X + Short.X * W, LY, X + Short.Y * W, LY);
  }
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawMoreGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double, uint8_t) {
  FillDots(G, Box, Color, true);
}

void GPDrawDetailPointsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double,
                             uint8_t) {
  FillDots(G, Box, Color, false);
}

void GPDrawDetailsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor);
  const float E = static_cast<float>(Round(H / 4));
  const float Middle = static_cast<float>(Round(Y + H / 2 - P / 2));
  TGlyphPath Path;
  for (int K = -1; K <= 1; ++K) Path.Rect(TGPRectF(X, Middle + K * E, W, P));
  Fill(G, Path, Color);
}

void GPDrawOptionsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float K = static_cast<float>(Round(H / 4));
  // Each slider: its line from the box top to the knob and on from the knob to the bottom.
  const Pt Knobs[] = {{X, Y + 0.7f * K}, {X + W / 2 - K / 2, Y + H - 1.7f * K},
                      {X + W - K, Y + 0.7f * K}};
  TGlyphPath Path;
  for (const Pt& Knob : Knobs) {
    const float LX = Knob.X + K / 2;
    Path.Ellipse(TGPRectF(Knob.X, Knob.Y, K, K));
    Path.Line(LX, Y, LX, Knob.Y).Line(LX, Knob.Y + K, LX, Y + H);
  }
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawTextAlignLeftGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                              double ScaleFactor, uint8_t Thickness) {
  StrokeTextLines(G, Box, Color, PenOf(Thickness, ScaleFactor), {0, 2.0f / 3});
}

void GPDrawTextAlignRightGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                               double ScaleFactor, uint8_t Thickness) {
  StrokeTextLines(G, Box, Color, PenOf(Thickness, ScaleFactor), {1.0f / 3, 1});
}

void GPDrawTextAlignCenterGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness) {
  StrokeTextLines(G, Box, Color, PenOf(Thickness, ScaleFactor), {0.25f, 0.75f});
}

void GPDrawTextAlignJustifiedGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                   double ScaleFactor, uint8_t Thickness) {
  StrokeTextLines(G, Box, Color, PenOf(Thickness, ScaleFactor), {0, 1});
}

// ---- Media -------------------------------------------------------------------------------

namespace {

// The triangles of the media glyphs: tw = H / 2.5 wide, th = H / 1.5 high, centred
// vertically, with the vertical side on the left (pointing right) or on the right.
void AddMediaTriangle(TGlyphPath& Path, const TGPRectF& Box, float Left, bool PointsRight) {
  const float TW = Box.Height / 2.5f, TH = Box.Height / 1.5f;
  const float cy = CentreY(Box), Top = cy - TH / 2;
  if (PointsRight)
    Path.Polygon({{Left, Top}, {Left, Top + TH}, {Left + TW, cy}});
  else
    Path.Polygon({{Left, cy}, {Left + TW, Top}, {Left + TW, Top + TH}});
}

}  // namespace

void GPDrawPlayGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Path;
  Path.Polygon({{X + W, Y + H / 2}, {X + W / 4, Y}, {X + W / 4, Y + H}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawPauseGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2;
  TGlyphPath Path;
  Path.Line(cx - H / 4, Y, cx - H / 4, Y + H).Line(cx + H / 4, Y, cx + H / 4, Y + H);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawStopGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  Path.Rect(Inflated(Box, -Box.Height / 6));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawRewindGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor), TW = Box.Height / 2.5f;
  TGlyphPath Path;
  AddMediaTriangle(Path, Box, Box.X, false);
  AddMediaTriangle(Path, Box, Box.X + TW + P / 2, false);
  Stroke(G, Path, Color, P);
}

void GPDrawForwardGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor), TW = Box.Height / 2.5f;
  const float Left = Box.X + 0.4f * TW;
  TGlyphPath Path;
  AddMediaTriangle(Path, Box, Left, true);
  AddMediaTriangle(Path, Box, Left + TW + P / 2, true);
  Stroke(G, Path, Color, P);
}

void GPDrawSkipToStartGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor);
  const float TW = Box.Height / 2.5f, TH = Box.Height / 1.5f, Top = CentreY(Box) - TH / 2;
  const float Left = CentreX(Box) - TW / 2;
  TGlyphPath Path;
  AddMediaTriangle(Path, Box, Left, false);
  Path.Line(Left - P, Top, Left - P, Top + TH);
  Stroke(G, Path, Color, P);
}

void GPDrawSkipToEndGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor);
  const float TW = Box.Height / 2.5f, TH = Box.Height / 1.5f, Top = CentreY(Box) - TH / 2;
  const float Left = CentreX(Box) - TW / 2;
  TGlyphPath Path;
  AddMediaTriangle(Path, Box, Left, true);
  Path.Line(Left + TW + P, Top, Left + TW + P, Top + TH);
  Stroke(G, Path, Color, P);
}

void GPDrawFirstGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), E = X + 1.25f * P;
  TGlyphPath Path;
  Path.Polygon({{E + 3 * W / 4, Y}, {E + W / 4, Y + H / 2}, {E + 3 * W / 4, Y + H}});
  Path.Line(E + W / 4 - 2 * P, Y, E + W / 4 - 2 * P, Y + H);
  Stroke(G, Path, Color, P);
}

void GPDrawLastGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), E = X - 1.25f * P;
  TGlyphPath Path;
  Path.Polygon({{E + W / 4, Y}, {E + 3 * W / 4, Y + H / 2}, {E + W / 4, Y + H}});
  Path.Line(E + 3 * W / 4 + 2 * P, Y, E + 3 * W / 4 + 2 * P, Y + H);
  Stroke(G, Path, Color, P);
}

void GPDrawRecGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                    uint8_t Thickness) {
  TGlyphPath Path;
  Path.Ellipse(Inflated(Box, -Box.Height / 6));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawRecOnGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double, uint8_t) {
  TGlyphPath Path;
  Path.Ellipse(Inflated(Box, -Box.Height / 6));
  Fill(G, Path, Color);
}
