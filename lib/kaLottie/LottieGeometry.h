// Shape geometry of the Lottie format: the contours of its primitive shapes, transforms, and
// the path modifiers (trim, round corners) that change contours before they are painted.
// Curves are measured by flattening them here (GDI+'s own flattening is not dependable).
#pragma once

#include <vector>

#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

// Handle length of a quarter circle drawn with one cubic, as a fraction of the radius (the
// value that keeps the curve closest to the circle overall).
constexpr double kCircleKappa = 0.5519150244935106;

// Most points a star or polygon may have: far beyond any drawing, small enough that an
// absurd animated count costs nothing.
constexpr int kMaxStarPoints = 1000;

// One vertex of a bezier shape as the format stores it: the point and its two handles,
// relative to the point.
struct TBezierVertex {
  TPointD V, In, Out;
};

// The contour through Vertices; a closed one always gets its closing segment (even when
// empty) so that shapes of the same vertex count stay blendable point by point.
void BezierContour(const std::vector<TBezierVertex>& Vertices, bool Closed, TContour& Out);

// An ellipse from the top point, clockwise (Reversed: counter-clockwise).
void EllipseContour(TPointD Centre, TPointD Size, bool Reversed, TContour& Out);
// A rectangle from its top right corner down the right edge (Reversed: the other way
// round); Radius rounds the corners, limited to half the shorter side.
void RectContour(TPointD Centre, TPointD Size, double Radius, bool Reversed, TContour& Out);

struct TStarShape {
  bool Polygon = false;
  TPointD Centre;
  double Points = 5;  // floored; below 1 nothing, above kMaxStarPoints capped
  double OuterRadius = 0, InnerRadius = 0;
  double OuterRoundness = 0, InnerRoundness = 0;  // percent
  double Rotation = 0;                            // degrees, clockwise
  bool Reversed = false;
};
// First point straight above the centre (turned by Rotation), then clockwise.
void StarContour(const TStarShape& Star, TContour& Out);

// The transform of the format: the anchor is moved to the origin, then scaled (Scale in
// fractions, 1 = 100%), skewed by Skew degrees along the axis SkewAxis degrees from x,
// rotated clockwise, and moved to Position.
TMatrix MakeTransform(TPointD Anchor, TPointD Position, TPointD Scale, double Rotation, double Skew, double SkewAxis);

// Rounds every sharp vertex (one without handles) of Path with the given radius, limited
// to half of each adjoining edge; end points of open contours stay.
void RoundCorners(TPath& Path, double Radius);

// Length of a contour, its curves flattened.
double ContourLength(const TContour& C);
double PathLength(const TPath& Path);

// Keeps the parts of Paths between From and To, fractions of their total length taken as
// one sequence (contour after contour, path after path). 0 <= From <= 1 and
// From <= To <= From + 1; a range past 1 wraps round to the start, and a closed contour cut
// across its start point stays one piece.
void TrimPaths(TPath* const* Paths, size_t Count, double From, double To);

// The trim modifier's range from its start, end (percent) and offset (degrees, 360 = a whole
// length): false when nothing remains. Full is set when everything remains.
bool TrimRange(double StartPercent, double EndPercent, double OffsetDegrees, double& From, double& To, bool& Full);

void TransformPath(TPath& Path, const TMatrix& M);
bool IsFinite(const TMatrix& M);
bool IsFinite(const TPath& Path);
size_t PointCount(const TPath& Path);

}  // namespace kaLottie
