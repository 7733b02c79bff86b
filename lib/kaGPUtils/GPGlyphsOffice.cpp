// Glyphs of editing and communication: reply, undo and redo, the letter A, the paint bucket,
// envelopes, send, copy, paste, scissors, replace, share, the handset, maps, and the colour
// markers.
#include <algorithm>

#include "lib/kaGPUtils/GPGlyphsDraw.h"

using namespace Gdiplus;
using namespace kaGPGlyph;

// ---- Reply, undo, redo -------------------------------------------------------------------

void GPDrawReplyGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float E = H / 4;
  const Pt Tip(X + E / 2, Y + E);
  TGlyphPath Path;
  Path.Arc(TGPRectF(X - E / 2, Y + E, W, H), 0, -90).To({Tip});
  Path.Line(Tip.X, Tip.Y, Tip.X + W / 6, Tip.Y);
  Path.Lines({{X + 1.5f * E, Y}, Tip, {X + 1.5f * E, Y + 2 * E}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

namespace {

// Undo (Mirror false) and redo: half of the ellipse R from its bottom to its top point,
// running on to the tip at R's top-left (top-right) corner, a shaft and the head's arms.
void StrokeTurnArrow(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, bool Mirror) {
  const float B = Box.Height / 4;
  TGPRectF R = Moved(Inflated(Box, -B / 2), 0, B / 2);
  const float Dir = Mirror ? -1.0f : 1.0f;
  const Pt Tip(Mirror ? R.X + R.Width : R.X, R.Y);
  TGlyphPath Path;
  Path.Arc(R, 90, -180 * Dir).To({Tip});
  Path.Line(Tip.X, Tip.Y, Tip.X + Dir * R.Width / 3, Tip.Y);
  Path.Lines({{Tip.X + Dir * B, Tip.Y - B}, Tip, {Tip.X + Dir * B, Tip.Y + B}});
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawUndoGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  StrokeTurnArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), false);
}

void GPDrawRedoGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  StrokeTurnArrow(G, Box, Color, PenOf(Thickness, ScaleFactor), true);
}

// ---- Letter A and paint bucket -----------------------------------------------------------

namespace {

void AddLetterA(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Moved(Box, 0, -Box.Height / 12));
  const float cx = X + W / 2, Bar = Y + 0.6f * H;
  Path.Polygon({{cx, Y}, {cx - W / 4, Bar}, {cx + W / 4, Bar}});
  Path.Line(cx + W / 4, Bar, cx + 0.415f * W, Y + H);
  Path.Line(cx - 0.415f * W, Y + H, cx - W / 4, Bar);
}

void AddBucket(TGlyphPath& Path, const TGPRectF& Box) {
  const float C = Box.Width / 6;
  const auto [X, Y, W, H] = Parts(Moved(Box, C / 2, 0));
  const float cy = Y + H / 2;
  Path.Polygon(
      {{X, cy}, {X + C, cy}, {X + W / 2 + C / 2, Y + H - C / 2}, {X + W, cy}, {X + W / 2, Y}});
  // The drop: a point above a round bottom.
  const TGPRectF D(X - 0.8f * C, cy + 1.5f * C, C, C);
  Path.Begin().To({{D.X + C / 2, D.Y - C / 2}, {D.X, D.Y + C / 2}}).ArcTo(D, 180, -180).Close();
}

}  // namespace

void GPDrawFontGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddLetterA(Path, Box);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawFontIncSizeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float F = W / 8;
  TGlyphPath Path;
  AddLetterA(Path, Inflated(Moved(Box, -F, 0), -F));
  AddPlus(Path, TGPRectF(X + W - 3 * F, Y, 3 * F, 3 * F));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawFontDecSizeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float F = W / 8;
  TGlyphPath Path;
  AddLetterA(Path, Inflated(Moved(Box, -F, 0), -1.6f * F));
  AddMinus(Path, TGPRectF(X + W - 3 * F, Y, 3 * F, 3 * F));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawFillGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddBucket(Path, Box);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

// ---- Envelopes and send ------------------------------------------------------------------

namespace {

// The envelope's body: the box with its top moved down C / 2 and its height reduced by C.
TGPRectF EnvelopeBox(const TGPRectF& Box, float C) {
  return TGPRectF(Box.X, Box.Y + C / 2, Box.Width, Box.Height - C);
}

}  // namespace

void GPDrawMessageGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const float C = Box.Height / 5;
  const auto [X, Y, W, H] = Parts(EnvelopeBox(Box, C));
  TGlyphPath Path;
  Path.Rect(TGPRectF(X, Y, W, H));
  Path.Lines({{X, Y}, {X + W / 2, Y + 2 * C}, {X + W, Y}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawMessageReadGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  const float C = Box.Height / 5;
  const auto [X, Y, W, H] = Parts(EnvelopeBox(Box, C));
  TGlyphPath Path;
  Path.Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H}, {X + W, Y}, {X + W / 2, Y - 2 * C}});
  Path.Lines({{X, Y}, {X + W / 2, Y + 2 * C}, {X + W, Y}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawSendGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const float E = Box.Height / 12;
  const auto [X, Y, W, H] = Parts(Moved(Box, E, 0));
  const float cy = Y + H / 2;
  TGlyphPath Path;
  Path.Polygon({{X, Y}, {X, cy - E}, {X + W / 2, cy - E}, {X + W / 2, cy + E}, {X, cy + E},
                {X, Y + H}, {X + W, cy}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Copy, paste, cut, replace -----------------------------------------------------------

void GPDrawCopyGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const float E = Box.Height / 6, L = Box.Height / 10;
  TGPRectF R = Inflated(Moved(Box, -E / 3, 0), -E);
  R.X += E / 2;
  R.Width -= E / 2;
  const TGPRectF Front = Moved(R, -L, L);
  const float P = PenOf(Thickness, ScaleFactor);
  TGPClipScope Clip(G);
  TGlyphPath FrontPath;
  FrontPath.Rect(Front);
  Stroke(G, FrontPath, Color, P);
  // The back sheet shows only where the front one does not cover it.
  G->ExcludeClip(Front);
  TGlyphPath BackPath;
  BackPath.Rect(Moved(R, L, -L));
  Stroke(G, BackPath, Color, P);
}

void GPDrawPasteGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const float C = Box.Height / 6;
  const auto [X, Y, W, H] = Parts(TGPRectF(Box.X, Box.Y + C / 2, Box.Width, Box.Height - C));
  const float cy = Y + H / 2;
  TGlyphPath Path;
  Path.Polygon({{X + C, Y}, {X + C, Y + H}, {X + W / 2, Y + H}, {X + W / 2, cy}, {X + W - C, cy},
                {X + W - C, Y}, {X + 0.6f * W, Y}, {X + 0.6f * W, Y - C / 2},
                {X + 0.4f * W, Y - C / 2}, {X + 0.4f * W, Y}});
  Path.Lines({{X + 1.7f * C, Y}, {X + 1.7f * C, Y + C}, {X + W - 1.7f * C, Y + C},
              {X + W - 1.7f * C, Y}});
  Path.Lines({{X + W - C, cy}, {X + W - C / 2, cy}, {X + W - C / 2, Y + H + C / 2},
              {X + W / 2, Y + H + C / 2}, {X + W / 2, Y + H}});
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawCutGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                    uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float D = W / 3;
  const TGPRectF Upper(X, Y, D, D), Lower(X, Y + H - D, D, D);
  TGlyphPath Path;
  // Each blade runs into its ring, which starts where the blade meets it.
  Path.Begin().To({{X + W, Y + H}, {X + D, Y + D}}).ArcTo(Upper, 45, 360);
  Path.Begin().To({{X + W, Y}, {X + D, Y + H - D}}).ArcTo(Lower, -45, 360);
  Path.Curve({{X + W, Y}, {X + 2 * W / 3, Y + H / 6}, {X + W / 2, Y + H / 2}});
  Path.Curve({{X + W, Y + H}, {X + 2 * W / 3, Y + 5 * H / 6}, {X + W / 2, Y + H / 2}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawReplaceGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const float B = Box.Height / 12, cy = CentreY(Box);
  const TGPRectF R = Inflated(Box, -B);
  const float XR = R.X + R.Width, XL = R.X, D = Box.Height / 12;
  TGlyphPath Path;
  Path.Arc(R, -135, 135).To({{XR, cy}, {XR, cy + B / 2}});
  Path.Lines({{XR - 1.5f * B, cy - B}, {XR, cy + B / 2}, {XR + 1.5f * B, cy - B}});
  Path.Arc(R, 45, 135).To({{XL, cy}, {XL, cy - B / 2}});
  Path.Lines({{XL - 1.5f * B, cy + B}, {XL, cy - B / 2}, {XL + 1.5f * B, cy + B}});
  Path.Ellipse(TGPRectF(R.X, cy - 2.7f * B, D, D));
  Path.Ellipse(TGPRectF(R.X + R.Width - 1.1f * B, cy + 1.6f * B, D, D));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Share, handset, maps ----------------------------------------------------------------

void GPDrawShareGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float D = H / 3.5f, cy = Y + H / 2;
  const TGPRectF Left(X - D / 3, cy - D / 2, D, D), Upper(X + W - 4 * D / 3, Y, D, D),
      Lower(X + W - 4 * D / 3, Y + H - D, D, D);
  const Pt LeftUp = PointOn(Left, -30), UpperIn = PointOn(Upper, 160);
  const Pt LowerIn = PointOn(Lower, 205), LeftDown = PointOn(Left, 30);
  TGlyphPath Path;
  Path.Ellipse(Left).Ellipse(Upper).Ellipse(Lower);
  Path.Line(LeftUp.X, LeftUp.Y, UpperIn.X, UpperIn.Y);
  Path.Line(LowerIn.X, LowerIn.Y, LeftDown.X, LeftDown.Y);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

namespace {

TGPRectF AddHandset(TGlyphPath& Path, const TGPRectF& Box) {
  const float E = Box.Width / 8;
  const TGPRectF M = Moved(Box, -E / 2, E / 2);
  const auto [X, Y, W, H] = Parts(M);
  const Pt P0(X + E, Y + E), P3(X + W - E, Y + H - E);
  Path.Bezier(P0, {X + W / 3 - 2 * E, Y + H / 3}, {X + 2 * W / 3, Y + 2 * H / 3 + 2 * E}, P3);
  Path.Lines({P0, {P0.X + 1.5f * E, P0.Y - 1.5f * E}, {P0.X + 3 * E, P0.Y},
              {P0.X + 2 * E, P0.Y + E}, {P3.X - E, P3.Y - 2 * E}, {P3.X, P3.Y - 3 * E},
              {P3.X + 1.5f * E, P3.Y - 1.5f * E}, P3});
  return M;
}

}  // namespace

void GPDrawCallGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddHandset(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawCallEndGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  TGlyphPath Path;
  const auto [X, Y, W, H] = Parts(AddHandset(Path, Box));
  const float E = Box.Width / 8;
  Path.Line(X + W, Y, X + E, Y + H - E);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawMapGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                    uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float S = W / 3;
  TGlyphPath Path;
  Path.Polygon({{X, Y + S / 2}, {X + S, Y}, {X + 2 * S, Y + S / 2}, {X + 3 * S, Y},
                {X + 3 * S, Y + H - S / 2}, {X + 2 * S, Y + H}, {X + S, Y + H - S / 2},
                {X, Y + H}});
  Path.Line(X + S, Y, X + S, Y + H - S / 2).Line(X + 2 * S, Y + H, X + 2 * S, Y + S / 2);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawMapMarkerGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float F = 2 * W / 3, cx = X + W / 2;
  const TGPRectF C(cx - F / 2, Y, F, F);
  TGlyphPath Path;
  Path.Begin().To({{cx, Y + H}, {cx - F / 2, Y + F / 2}}).ArcTo(C, 180, 180).Close();
  Path.Ellipse(Inflated(C, -F / 3));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Colour markers ----------------------------------------------------------------------

void GPDrawColorMarkerGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                            uint8_t Thickness, TColor ColorValue) {
  const float P = PenOf(Thickness, ScaleFactor), H = Box.Height;
  TGlyphPath Dot;
  Dot.Ellipse(Inflated(Box, -(H / 10 + 0.9f * P)));
  Fill(G, Dot, ToGPColor(ColorValue, 255));
  TGlyphPath Ring;
  Ring.Ellipse(Inflated(Box, -(H / 10 + 0.5f * P)));
  Stroke(G, Ring, Color, P);
}

namespace {

// The colour bar under a glyph drawn in Glyph: as wide as the glyph box, P below it, at
// least H / 5 and three pens high, filled with the colour value inside a half-width frame.
void DrawColorBar(Graphics* G, const TGPRectF& Box, const TGPRectF& Glyph, TGPColor Color,
                  float P, TColor ColorValue) {
  const float BarPen = std::max(P / 2, 1.0f);
  const TGPRectF Bar(Glyph.X, Glyph.Y + Glyph.Height + P, Glyph.Width,
                     std::max(Box.Height / 5, 3 * P));
  TGlyphPath Inside;
  Inside.Rect(Inflated(Bar, -0.9f * BarPen));
  Fill(G, Inside, ToGPColor(ColorValue, 255));
  TGlyphPath Frame;
  Frame.Rect(Inflated(Bar, -0.5f * BarPen));
  Stroke(G, Frame, Color, BarPen);
}

TGPRectF MarkedGlyphBox(const TGPRectF& Box) {
  const float H = Box.Height;
  return TGPRectF(Box.X + H / 8, Box.Y, 3 * H / 4, 3 * H / 4);
}

}  // namespace

void GPDrawFontColorMarkerGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness, TColor ColorValue) {
  const float P = PenOf(Thickness, ScaleFactor);
  const TGPRectF Glyph = MarkedGlyphBox(Box);
  TGlyphPath Path;
  AddLetterA(Path, Glyph);
  Stroke(G, Path, Color, P);
  DrawColorBar(G, Box, Glyph, Color, P, ColorValue);
}

void GPDrawFillColorMarkerGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                                double ScaleFactor, uint8_t Thickness, TColor ColorValue) {
  const float P = PenOf(Thickness, ScaleFactor);
  const TGPRectF Glyph = MarkedGlyphBox(Box);
  TGlyphPath Path;
  AddBucket(Path, Glyph);
  Stroke(G, Path, Color, P);
  DrawColorBar(G, Box, Glyph, Color, P, ColorValue);
}
