// What the glyph routines share: the box split into its values, a path builder that keeps
// figures apart unless a shape says they join, and the stroke and fill of a finished path.
// Private to the glyph sources.
#pragma once

#include <initializer_list>

#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"

namespace kaGPGlyph {

using Pt = TGPPointF;

// X, Y, W, H of a glyph box, for structured bindings: auto [X, Y, W, H] = Parts(Box).
struct TParts {
  float X, Y, W, H;
};
inline TParts Parts(const TGPRectF& R) { return {R.X, R.Y, R.Width, R.Height}; }

inline TGPRectF Moved(TGPRectF R, float DX, float DY) {
  R.X += DX;
  R.Y += DY;
  return R;
}
// Grown by D on every side (negative shrinks).
inline TGPRectF Inflated(TGPRectF R, float D) {
  InflateGPRect(R, D, D);
  return R;
}
inline float CentreX(const TGPRectF& R) { return R.X + R.Width / 2; }
inline float CentreY(const TGPRectF& R) { return R.Y + R.Height / 2; }

// The pen widths of the catalogue: the usual one, where a thickness of 0 counts as 1, and
// the thin-line one, where 0 stays 0 (a GDI+ pen of width 0 draws a one-pixel hairline).
inline float PenOf(uint8_t Thickness, double ScaleFactor) {
  return static_cast<float>(GPGlyphPenWidth(Thickness, ScaleFactor));
}
inline float HairPenOf(uint8_t Thickness, double ScaleFactor) {
  return static_cast<float>(Trunc(Thickness * ScaleFactor));
}

// The point of the ellipse in R at Angle degrees, measured clockwise from the right as GDI+
// measures arcs.
Pt PointOn(const TGPRectF& R, float Angle);

// A path of the glyph's figures. Line, Lines, Arc, Bezier and Curve each begin a figure of
// their own that To and ArcTo may continue; Polygon, Rect and Ellipse add closed figures.
// Begin starts an empty figure, whose first To point is where it starts; Close closes the
// current figure. Continuing lines skip points the figure is already at, so a shape can
// name the point where an arc ends without adding a zero-length piece.
class TGlyphPath {
 public:
  TGlyphPath() : FPath(Gdiplus::FillModeAlternate) {}
  Gdiplus::GraphicsPath* Path() { return &FPath; }

  TGlyphPath& Line(float X1, float Y1, float X2, float Y2);
  TGlyphPath& Lines(std::initializer_list<Pt> Points);
  TGlyphPath& Polygon(std::initializer_list<Pt> Points);
  TGlyphPath& Polygon(const Pt* Points, int Count);
  TGlyphPath& Arc(const TGPRectF& R, float Start, float Sweep);
  TGlyphPath& Rect(const TGPRectF& R);
  TGlyphPath& Ellipse(const TGPRectF& R);
  TGlyphPath& Bezier(Pt P0, Pt C1, Pt C2, Pt P3);
  TGlyphPath& Curve(std::initializer_list<Pt> Points);

  TGlyphPath& Begin();
  TGlyphPath& To(std::initializer_list<Pt> Points);
  TGlyphPath& ArcTo(const TGPRectF& R, float Start, float Sweep);
  TGlyphPath& Close();

 private:
  void LineTo(const Pt& P);
  void EndAtLastPoint();

  Gdiplus::GraphicsPath FPath;
  // The point the current figure is at; FHasCurrent is false between figures. FStartOnly
  // marks a figure whose only point so far is FCurrent (not yet in the GDI+ path).
  Pt FCurrent;
  bool FHasCurrent = false;
  bool FStartOnly = false;
};

// Strokes Path with a solid pen of width PenWidth (0: a hairline).
void Stroke(Gdiplus::Graphics* G, TGlyphPath& Path, TGPColor Color, float PenWidth);
void Fill(Gdiplus::Graphics* G, TGlyphPath& Path, TGPColor Color);

// Shapes that glyphs of more than one source file are built from; each adds its figures to
// Path in Box.
void AddPlus(TGlyphPath& Path, const TGPRectF& Box);
void AddMinus(TGlyphPath& Path, const TGPRectF& Box);
// Arrows with shafts up and down the box's middle, head arms H / 3 long.
void AddNaviTop(TGlyphPath& Path, const TGPRectF& Box);
void AddNaviBottom(TGlyphPath& Path, const TGPRectF& Box);

}  // namespace kaGPGlyph
