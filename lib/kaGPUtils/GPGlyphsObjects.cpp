// Glyphs of things: magnifier, house, power, gear, star, files and folders, printer, sound
// and camera, locks, user, bin, trays, pin, eye, flag, funnel, clock, calendar, chart,
// globe, full-screen marks and the shopping cart.
#include <algorithm>

#include "lib/kaGPUtils/GPGlyphsDraw.h"

using namespace Gdiplus;
using namespace kaGPGlyph;

// ---- Magnifier ---------------------------------------------------------------------------

namespace {

TGPRectF MagnifierLens(const TGPRectF& Box, float P) {
  return TGPRectF(Box.X, Box.Y, 0.65f * Box.Width + P / 2, 0.65f * Box.Height + P / 2);
}

void AddMagnifier(TGlyphPath& Path, const TGPRectF& Box, float P) {
  const auto [X, Y, W, H] = Parts(Box);
  // The lens starts and ends at its lower-right point, so the handle joins it.
  Path.Arc(MagnifierLens(Box, P), 45, 360).To({{X + 0.65f * W, Y + 0.65f * H}, {X + W, Y + H}});
}

// The magnifier with a plus or a minus in its lens, inset by a sixth of the lens width.
void StrokeZoom(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, bool Plus) {
  const TGPRectF Lens = MagnifierLens(Box, P);
  const TGPRectF Sign = Inflated(Lens, -Lens.Width / 6);
  TGlyphPath Path;
  AddMagnifier(Path, Box, P);
  if (Plus)
    AddPlus(Path, Sign);
  else
    AddMinus(Path, Sign);
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawSearchGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  const float P = PenOf(Thickness, ScaleFactor);
  TGlyphPath Path;
  AddMagnifier(Path, Box, P);
  Stroke(G, Path, Color, P);
}

void GPDrawZoomPlusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  StrokeZoom(G, Box, Color, PenOf(Thickness, ScaleFactor), true);
}

void GPDrawZoomMinusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                          uint8_t Thickness) {
  StrokeZoom(G, Box, Color, PenOf(Thickness, ScaleFactor), false);
}

// ---- Signs -------------------------------------------------------------------------------

void GPDrawRefreshGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const float B = Box.Height / 12;
  const TGPRectF R = Inflated(Box, -B);
  const float XR = R.X + R.Width, cy = CentreY(Box);
  TGlyphPath Path;
  Path.Arc(R, 45, 315).To({{XR, cy}, {XR, cy + B / 2}});
  Path.Lines({{XR - 1.5f * B, cy - B}, {XR, cy + B / 2}, {XR + 1.5f * B, cy - B}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

namespace {

void AddPencil(TGlyphPath& Path, const TGPRectF& Box) {
  const float C = Box.Height / 8;
  const auto [X, Y, W, H] = Parts(Inflated(Box, -C));
  Path.Polygon({{X + W - C, Y}, {X + C / 2, Y + H - 1.5f * C}, {X + 1.5f * C, Y + H - C / 2},
                {X + W, Y + C}});
  Path.Polygon({{X + C / 2, Y + H - 1.5f * C}, {X, Y + H}, {X + 1.5f * C, Y + H - C / 2}});
  Path.Line(X + W - 2 * C, Y + C, X + W - C, Y + 2 * C);
}

}  // namespace

void GPDrawEditGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddPencil(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawHomeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const float B = Box.Height / 6;
  TGPRectF R = Inflated(Box, -B / 2);
  R.Y += B;
  R.Height -= B;
  const auto [X, Y, W, H] = Parts(R);
  TGlyphPath Path;
  Path.Polygon({{X, Y}, {X, Y + H}, {X + W / 3, Y + H}, {X + W / 3, Y + H / 2},
                {X + 2 * W / 3, Y + H / 2}, {X + 2 * W / 3, Y + H}, {X + W, Y + H}, {X + W, Y},
                {X - B / 2, Y}, {X + W / 2, Y - 2 * B}, {X + W + B / 2, Y}, {X + W, Y}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawShutDownGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const float cx = CentreX(Box);
  TGlyphPath Path;
  Path.Arc(Box, -60, 300).Line(cx, Box.Y, cx, CentreY(Box));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawInfoGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), cx = X + W / 2;
  const TGPRectF Dot(cx - P, Y + H / 6, 2 * P, 2 * P);
  TGlyphPath Outline;
  Outline.Ellipse(Box).Line(cx, Dot.Y + Dot.Height + H / 8, cx, Y + H - H / 5);
  Stroke(G, Outline, Color, P);
  TGlyphPath DotPath;
  DotPath.Ellipse(Dot);
  Fill(G, DotPath, Color);
}

void GPDrawHelpGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2;
  const TGPRectF R(X + W / 5, Y - W / 20, W - 2 * W / 5, H - 2 * W / 5);
  const float NeckTop = R.Y + R.Height;
  // The hook over the top, then back along the neck to the stem.
  TGlyphPath Path;
  Path.Arc(R, 195, 225)
      .ArcTo(TGPRectF(cx, NeckTop, W / 4, W / 4), 240, -60)
      .To({{cx, NeckTop + W / 8}, {cx, Y + 4 * H / 5}});
  Path.Ellipse(TGPRectF(cx - H / 20, Y + H - H / 20, H / 10, H / 10));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawGearGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const Pt Centre(X + W / 2, Y + H / 2), Inner(Centre.X, Y + H / 8), Outer(Centre.X, Y);
  Pt Points[32];
  for (int Tooth = 0; Tooth < 8; ++Tooth) {
    const float A = 45.0f * Tooth;
    Points[Tooth * 4] = GPRotatePoint(Inner, Centre, A + 345);
    Points[Tooth * 4 + 1] = GPRotatePoint(Outer, Centre, A + 352);
    Points[Tooth * 4 + 2] = GPRotatePoint(Outer, Centre, A + 8);
    Points[Tooth * 4 + 3] = GPRotatePoint(Inner, Centre, A + 15);
  }
  TGlyphPath Path;
  Path.Polygon(Points, 32);
  Path.Ellipse(Inflated(Inflated(Box, -W / 8), -W / 5));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawStarGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const Pt Centre(X + W / 2, Y + H / 2), Outer(Centre.X, Y), Inner(Centre.X, Y + H / 4);
  Pt Points[10];
  for (int K = 0; K < 5; ++K) {
    Points[2 * K] = GPRotatePoint(Outer, Centre, 72.0f * K);
    Points[2 * K + 1] = GPRotatePoint(Inner, Centre, 72.0f * K + 36);
  }
  TGlyphPath Path;
  Path.Polygon(Points, 10);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Files -------------------------------------------------------------------------------

namespace {

// The box of the page-like glyphs: its top moved down C / 2 and its height reduced by C.
TGPRectF PageBox(const TGPRectF& Box, float C) {
  return TGPRectF(Box.X, Box.Y + C / 2, Box.Width, Box.Height - C);
}

}  // namespace

void GPDrawFileNewGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const float C = Box.Height / 6;
  const auto [X, Y, W, H] = Parts(PageBox(Box, C));
  TGlyphPath Path;
  Path.Polygon({{X + C, Y}, {X + C, Y + H}, {X + W - C, Y + H}, {X + W - C, Y + 1.5f * C},
                {X + W - 2.5f * C, Y}});
  Path.Lines({{X + W - C, Y + 1.5f * C}, {X + W - 2.5f * C, Y + 1.5f * C}, {X + W - 2.5f * C, Y}});
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

namespace {

void AddFolder(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float C = H / 6;
  Path.Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H}, {X + W, Y + C}, {X + W / 2, Y + C},
                {X + W / 2 - C, Y}});
  Path.Line(X, Y + 2.2f * C, X + W, Y + 2.2f * C);
}

void AddFloppy(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float C = H / 6, Label = Y + H - H / 2.5f;
  Path.Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H}, {X + W, Y + 1.5f * C}, {X + W - 1.5f * C, Y}});
  Path.Lines({{X + W - 1.5f * C, Y}, {X + W - 1.5f * C, Y + 2 * C}, {X + 1.5f * C, Y + 2 * C},
              {X + 1.5f * C, Y}});
  Path.Lines({{X + W - 1.5f * C, Y + H}, {X + W - 1.5f * C, Label}, {X + 1.5f * C, Label},
              {X + 1.5f * C, Y + H}});
  Path.Lines({{X + W - 2.5f * C, Y}, {X + W - 2.5f * C, Y + C}, {X + W - 2.8f * C, Y + C},
              {X + W - 2.8f * C, Y}});
}

}  // namespace

void GPDrawFolderGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  TGlyphPath Path;
  AddFolder(Path, Box);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawFileOpenGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor);
  {
    // The folder's top edge is broken where the arrow leaves it.
    TGPClipScope Clip(G);
    G->ExcludeClip(TGPRectF(X + 0.6f * W, Y, W / 5, H / 3));
    TGlyphPath Folder;
    AddFolder(Folder, Inflated(Box, -H / 10));
    Stroke(G, Folder, Color, P);
  }
  const TGPRectF A(X + 0.475f * W, Y - P, W / 2, W / 2 - P);
  const float AX = A.X + A.Width / 2, Arm = A.Height / 2;
  TGlyphPath Arrow;
  Arrow.Line(AX, A.Y, AX, A.Y + A.Height);
  Arrow.Lines({{AX - Arm, A.Y + Arm}, {AX, A.Y}, {AX + Arm, A.Y + Arm}});
  Stroke(G, Arrow, Color, P);
}

void GPDrawFileSaveGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  TGlyphPath Path;
  AddFloppy(Path, Box);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawFileSaveAsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float P = PenOf(Thickness, ScaleFactor), F = W / 2;
  {
    // Room for the pencil in the floppy's lower right.
    TGPClipScope Clip(G);
    G->ExcludeClip(TGPRectF(X + W - F, Y + H - F, F - 2 * P, 3 * F / 4));
    TGlyphPath Floppy;
    AddFloppy(Floppy, Box);
    Stroke(G, Floppy, Color, P);
  }
  TGlyphPath Pencil;
  AddPencil(Pencil, TGPRectF(X + W - 7 * F / 6, Y + H - 7 * F / 6, F, F));
  Stroke(G, Pencil, Color, P);
}

void GPDrawPrintGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float Gap = H / 14, T = Y + H / 3;
  const float L = X + W / 4, R = X + 3 * W / 4, Base = T + H / 2;
  TGlyphPath Path;
  Path.Polygon({{X + Gap, T}, {X, T + Gap}, {X, Base}, {L, Base}, {L, T + H / 4}, {R, T + H / 4},
                {R, Base}, {X + W, Base}, {X + W, T + Gap}, {X + W - Gap, T}});
  Path.Lines({{L, Base}, {L, Base + 2 * Gap}, {R, Base + 2 * Gap}, {R, Base}});
  Path.Lines({{L, T}, {L, T - 3 * Gap}, {R, T - 3 * Gap}, {R, T}});
  for (const float K : {1.75f, 3.8f}) {
    const float LY = T + H / 4 + K * Gap;
    Path.Line(L + Gap, LY, R - Gap, LY);
  }
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
  TGlyphPath Dot;
  Dot.Ellipse(TGPRectF(X + Gap, T + Gap, 1.5f * Gap, 1.5f * Gap));
  Fill(G, Dot, Color);
}

// ---- Sound and camera --------------------------------------------------------------------

namespace {

void AddMicrophone(TGlyphPath& Path, const TGPRectF& Box) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2;
  Path.Arc(TGPRectF(cx - W / 8, Y, W / 4, W / 4), 180, 180)
      .ArcTo(TGPRectF(cx - W / 8, Y + 2 * H / 5, W / 4, W / 4), 0, 180)
      .Close();
  const TGPRectF Cradle(cx - W / 4, Y + 2 * H / 5 - W / 8, W / 2, W / 2);
  Path.Arc(Cradle, 0, 180);
  Path.Line(cx, Cradle.Y + Cradle.Height, cx, Y + H);
  Path.Line(cx - W / 8, Y + H, cx + W / 8, Y + H);
}

void AddSpeaker(TGlyphPath& Path, const TGPRectF& Box) {
  const float H10 = Box.Height / 10;
  const auto [X, Y, W, H] = Parts(Moved(Inflated(Box, -H10), -H10 / 2, 0));
  const float Top = Y + H / 4, Bottom = Y + 3 * H / 4, Mid = X + W / 2;
  Path.Lines({{Mid, Top}, {X, Top}, {X, Bottom}, {Mid, Bottom}, {Mid, Top}, {X + W, Y},
              {X + W, Y + H}, {Mid, Bottom}});
}

}  // namespace

void GPDrawMicGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                    uint8_t Thickness) {
  TGlyphPath Path;
  AddMicrophone(Path, Box);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawMicMuteGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const TGPRectF S = Inflated(Box, -Box.Width / 8);
  TGlyphPath Path;
  AddMicrophone(Path, Box);
  Path.Line(S.X, S.Y, S.X + S.Width, S.Y + S.Height);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawVolumeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  TGlyphPath Path;
  AddSpeaker(Path, Box);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawMuteGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const float H10 = Box.Height / 10;
  // The speaker's own box grown back by H / 20 on every side.
  const TGPRectF Q = Inflated(Moved(Inflated(Box, -H10), -H10 / 2, 0), H10 / 2);
  TGlyphPath Path;
  AddSpeaker(Path, Box);
  Path.Line(Q.X + H10, Q.Y, Q.X + Q.Width - H10, Q.Y + Q.Height);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

namespace {

// A speaker two thirds of the box high, centred vertically, and a sign a third of the box
// wide at its right.
void StrokeVolumeSign(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, bool Plus) {
  const auto [X, Y, W, H] = Parts(Box);
  const TGPRectF Sign(X + 2 * W / 3, Y + H / 2 - H / 6, W / 3, H / 3);
  TGlyphPath Path;
  AddSpeaker(Path, TGPRectF(X, Y + H / 6, 2 * W / 3, 2 * H / 3));
  if (Plus)
    AddPlus(Path, Sign);
  else
    AddMinus(Path, Sign);
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawVolumePlusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  StrokeVolumeSign(G, Box, Color, PenOf(Thickness, ScaleFactor), true);
}

void GPDrawVolumeMinusGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  StrokeVolumeSign(G, Box, Color, PenOf(Thickness, ScaleFactor), false);
}

void GPDrawPhotoGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float F = H / 6, cx = X + W / 2;
  TGlyphPath Path;
  Path.Polygon({{X, Y + 1.5f * F}, {X + W / 4, Y + 1.5f * F}, {X + W / 3, Y + F / 2},
                {X + 2 * W / 3, Y + F / 2}, {X + 3 * W / 4, Y + 1.5f * F}, {X + W, Y + 1.5f * F},
                {X + W, Y + H - F / 2}, {X, Y + H - F / 2}});
  Path.Ellipse(TGPRectF(cx - 1.25f * F, Y + 2.2f * F, 2.5f * F, 2.5f * F));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
  TGlyphPath Dot;
  Dot.Ellipse(TGPRectF(X + F / 2, Y + 2 * F, F, F));
  Fill(G, Dot, Color);
}

void GPDrawVideoGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float F = H / 6;
  const TGPRectF Body(X - F / 4, Y + F, W - F, H - 2 * F);
  const float XR = Body.X + Body.Width, YM = Body.Y + Body.Height / 2;
  TGlyphPath Path;
  Path.Rect(Body);
  Path.Lines({{XR, YM - F / 2}, {XR + 1.5f * F, YM - 1.5f * F}, {XR + 1.5f * F, YM + 1.5f * F},
              {XR, YM + F / 2}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Locks, user, bin, trays, pin --------------------------------------------------------

namespace {

void AddPadlock(TGlyphPath& Path, const TGPRectF& Box, bool Open) {
  const float E = Box.Height / 8;
  const TGPRectF R(Box.X + E, Box.Y + 3 * E, Box.Width - 2 * E, Box.Height - 3 * E);
  const float Gs = 2 * R.Width / 3, Left = R.X + R.Width / 6;
  const TGPRectF Shackle(Left, R.Y - 0.8f * Gs, Gs, Gs);
  Path.Rect(R);
  Path.Begin().To({{Left, R.Y}, {Left, Shackle.Y + Gs / 2}});
  if (Open) {
    Path.ArcTo(Shackle, 180, 135);
  } else {
    const float Right = R.X + 5 * R.Width / 6;
    Path.ArcTo(Shackle, 180, 180).To({{Right, Shackle.Y + Gs / 2}, {Right, R.Y}});
  }
}

}  // namespace

void GPDrawLockGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  TGlyphPath Path;
  AddPadlock(Path, Box, false);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawUnLockGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  TGlyphPath Path;
  AddPadlock(Path, Box, true);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawUserGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2;
  TGlyphPath Path;
  Path.Arc(TGPRectF(X, Y + 0.6f * H, W, H), 180, 180);
  Path.Ellipse(TGPRectF(cx - 0.35f * W, Y - 0.14f * W, 0.7f * W, 0.7f * W));
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawTrashGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const float E = Box.Height / 5;
  const auto [X, Y, W, H] = Parts(TGPRectF(Box.X + E, Box.Y + E, Box.Width - 2 * E,
                                           Box.Height - 1.5f * E));
  TGlyphPath Path;
  Path.Rect(TGPRectF(X, Y, W, H));
  Path.Line(X - E / 1.5f, Y, X + W + E / 1.5f, Y);
  Path.Lines({{X + W / 4, Y}, {X + W / 4, Y - 0.7f * E}, {X + 3 * W / 4, Y - 0.7f * E},
              {X + 3 * W / 4, Y}});
  for (const float K : {0.25f, 0.5f, 0.75f})
    Path.Line(X + K * W, Y + 0.7f * E, X + K * W, Y + H - 0.7f * E);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

namespace {

void DrawTray(Graphics* G, const TGPRectF& Box, TGPColor Color, float P) {
  const TGPRectF T = Inflated(Moved(Box, 0, Box.Height / 8), -Box.Width / 5);
  // The gap is as high as four pens, but never closes up for a hairline.
  const float Gap = std::max(P, 1.0f);
  TGPClipScope Clip(G);
  G->ExcludeClip(TGPRectF(T.X + T.Width / 4, T.Y - 2 * Gap, T.Width / 2, 4 * Gap));
  TGlyphPath Path;
  Path.Rect(T);
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawInBoxGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor);
  DrawTray(G, Box, Color, P);
  const auto [X, Y, W, H] = Parts(Moved(Inflated(Box, -Box.Width / 4), 0, -Box.Height / 8));
  const float cx = X + W / 2, Arm = H / 2.5f;
  TGlyphPath Arrow;
  Arrow.Line(cx, Y - H / 6, cx, Y + H);
  Arrow.Lines({{cx - Arm, Y + H - Arm}, {cx, Y + H}, {cx + Arm, Y + H - Arm}});
  Stroke(G, Arrow, Color, P);
}

void GPDrawOutBoxGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor);
  DrawTray(G, Box, Color, P);
  const auto [X, Y, W, H] = Parts(Moved(Inflated(Box, -Box.Width / 4), 0, -Box.Height / 4));
  const float cx = X + W / 2, Arm = H / 2.5f;
  TGlyphPath Arrow;
  Arrow.Line(cx, Y, cx, Y + H + H / 6);
  Arrow.Lines({{cx - Arm, Y + Arm}, {cx, Y}, {cx + Arm, Y + Arm}});
  Stroke(G, Arrow, Color, P);
}

void GPDrawPinGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                    uint8_t Thickness) {
  const float cx = CentreX(Box), cy = CentreY(Box);
  const auto [X, Y, W, H] = Parts(TGPRectF(Box.X + Box.Width / 6, Box.Y, Box.Width * 2 / 3,
                                           Box.Height));
  TGlyphPath Path;
  Path.Polygon({{X + W / 4, Y}, {X + 3 * W / 4, Y}, {X + 5 * W / 6, cy}, {X + W / 6, cy}});
  Path.Line(X, cy, X + W / 4, cy).Line(X + W, cy, X + 3 * W / 4, cy);
  Path.Line(cx, cy, cx, Box.Y + Box.Height);
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

// ---- Eye, flag, funnel, shapes -----------------------------------------------------------

void GPDrawViewGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Path;
  Path.Ellipse(TGPRectF(X + W / 4, Y + H / 2 - W / 4, W / 2, W / 2));
  Path.Arc(Moved(Box, 0, W / 8), 180, 180);
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawFlagGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                     uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  TGlyphPath Path;
  Path.Lines({{X, Y + H}, {X, Y}, {X + W, Y}, {X + 3 * W / 4, Y + H / 4}, {X + W, Y + H / 2},
              {X, Y + H / 2}});
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawFilterGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                       uint8_t Thickness) {
  const float Hh = Box.Height / 10;
  const auto [X, Y, W, H] = Parts(Moved(Inflated(Box, -Hh), 0, Hh / 2));
  TGlyphPath Path;
  Path.Polygon({{X, Y}, {X + W / 3, Y + H / 2}, {X + W / 3, Y + H},
                {X + 7 * W / 12, Y + H - Hh / 2},
                {X + 7 * W / 12, Y + H / 2}, {X + W, Y}});
  Stroke(G, Path, Color, HairPenOf(Thickness, ScaleFactor));
}

void GPDrawObjectsGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                        uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float Q = W / 4, cx = X + W / 2, cy = Y + H / 2;
  TGlyphPath Path;
  Path.Rect(TGPRectF(cx, cy - Q / 2, 2 * Q, 2 * Q));
  Path.Polygon({{X + Q, cy - Q / 2}, {X, cy + 1.5f * Q}, {X + 2 * Q, cy + 1.5f * Q}});
  Path.Ellipse(TGPRectF(X + Q / 2, cy - 2.5f * Q, 2 * Q, 2 * Q));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Clock, calendar, chart, globe -------------------------------------------------------

void GPDrawClockGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const float P = PenOf(Thickness, ScaleFactor), F = Box.Width / 10;
  const float cx = CentreX(Box), cy = CentreY(Box);
  TGlyphPath Path;
  Path.Ellipse(Box).Ellipse(TGPRectF(cx - F, cy - F, 2 * F, 2 * F));
  Path.Line(cx + F - P, cy + F - P, cx + 2.6f * F, cy + 2.6f * F);
  Path.Line(cx, cy - F + P / 2, cx, cy - 4.2f * F);
  Stroke(G, Path, Color, P);
}

void GPDrawCalendarGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const TGPRectF Grid = Inflated(TGPRectF(X, Y + H / 4, W, 3 * H / 4), -3 * H / 16);
  TGlyphPath Path;
  Path.Rect(Box).Line(X, Y + H / 4, X + W, Y + H / 4);
  Path.Line(X + W / 4, Y - H / 10, X + W / 4, Y + H / 10);
  Path.Line(X + 3 * W / 4, Y - H / 10, X + 3 * W / 4, Y + H / 10);
  Path.Rect(Grid);
  Path.Rect(TGPRectF(Grid.X + Grid.Width / 3, Grid.Y, Grid.Width / 3, Grid.Height));
  Path.Rect(TGPRectF(Grid.X, Grid.Y + Grid.Height / 3, Grid.Width, Grid.Height / 3));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawChartGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float Q = W / 4;
  TGlyphPath Path;
  Path.Rect(TGPRectF(X, Y + Q, Q, H - Q));
  Path.Rect(TGPRectF(X + 1.5f * Q, Y + 2 * Q, Q, H - 2 * Q));
  Path.Rect(TGPRectF(X + 3 * Q, Y + Q / 6, Q, H - Q / 6));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawGlobeGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                      uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const Pt Centre(X + W / 2, Y + H / 2), Top(Centre.X, Y), Control(Centre.X, Y + H / 5);
  auto Turned = [&](const Pt& P, float Angle) { return GPRotatePoint(P, Centre, Angle); };
  TGlyphPath Path;
  Path.Ellipse(Box).Ellipse(TGPRectF(Centre.X - W / 6, Y, W / 3, H));
  Path.Line(X, Centre.Y, X + W, Centre.Y);
  Path.Bezier(Turned(Top, 45), Turned(Control, 45), Turned(Control, 315), Turned(Top, 315));
  Path.Bezier(Turned(Top, 135), Turned(Control, 135), Turned(Control, 225), Turned(Top, 225));
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Full screen -------------------------------------------------------------------------

void GPDrawSizeFullGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                         uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2, cy = Y + H / 2, E = W / 8;
  TGlyphPath Path;
  Path.Lines({{cx - E, Y}, {X, Y}, {X, cy - E}});
  Path.Lines({{cx + E, Y}, {X + W, Y}, {X + W, cy - E}});
  Path.Lines({{X + W, cy + E}, {X + W, Y + H}, {cx + E, Y + H}});
  Path.Lines({{cx - E, Y + H}, {X, Y + H}, {X, cy + E}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

void GPDrawSizeCompactGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                            double ScaleFactor, uint8_t Thickness) {
  const auto [X, Y, W, H] = Parts(Box);
  const float cx = X + W / 2, F = W / 6;
  const float L = cx - F, R = cx + F, T = Y + 2 * F, B = Y + H - 2 * F;
  TGlyphPath Path;
  Path.Lines({{L, Y}, {L, T}, {X, T}});
  Path.Lines({{R, Y}, {R, T}, {X + W, T}});
  Path.Lines({{R, Y + H}, {R, B}, {X + W, B}});
  Path.Lines({{L, Y + H}, {L, B}, {X, B}});
  Stroke(G, Path, Color, PenOf(Thickness, ScaleFactor));
}

// ---- Shopping cart -----------------------------------------------------------------------

namespace {

void AddCart(TGlyphPath& Path, const TGPRectF& Box, float UpperEnd, float P) {
  const auto [X, Y, W, H] = Parts(Box);
  const Pt B1(X + 5 * W / 12, Y + H / 6 + W / 2), B2(B1.X + W / 2.5f, B1.Y);
  const float Upper = B1.Y - H / 2.5f, D = W / 8;
  Path.Lines({{X, Y + H / 6}, {X + W / 6, Y + H / 6}, B1, B2, {X + W, Upper},
              {X + UpperEnd * W, Upper}});
  Path.Ellipse(TGPRectF(B1.X - D / 2, B1.Y + 2 * P, D, D));
  Path.Ellipse(TGPRectF(B2.X - D / 2, B1.Y + 2 * P, D, D));
}

}  // namespace

namespace {

// The cart with its upper edge cut short, and an arrow (down: in, up: out) above it, in the
// box inset by W / 3 and moved up by its own height.
void StrokeCartArrow(Graphics* G, const TGPRectF& Box, TGPColor Color, float P, bool In) {
  TGPRectF A = Inflated(Box, -Box.Width / 3);
  A.Y -= A.Height;
  TGlyphPath Path;
  AddCart(Path, Box, 0.75f, P);
  if (In)
    AddNaviBottom(Path, A);
  else
    AddNaviTop(Path, A);
  Stroke(G, Path, Color, P);
}

}  // namespace

void GPDrawShopBasketGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double ScaleFactor,
                           uint8_t Thickness) {
  const float P = HairPenOf(Thickness, ScaleFactor);
  TGlyphPath Path;
  AddCart(Path, Box, 0.5f, P);
  Stroke(G, Path, Color, P);
}

void GPDrawShopBasketInGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                             double ScaleFactor, uint8_t Thickness) {
  StrokeCartArrow(G, Box, Color, HairPenOf(Thickness, ScaleFactor), true);
}

void GPDrawShopBasketOutGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color,
                              double ScaleFactor, uint8_t Thickness) {
  StrokeCartArrow(G, Box, Color, HairPenOf(Thickness, ScaleFactor), false);
}
