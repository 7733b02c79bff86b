// Geometry of the Lottie player against figures worked out by hand: easing curves, the
// primitive shapes' contours, transforms, path lengths, trimming and round corners.
#include <gtest/gtest.h>

#include <cmath>

#include "lib/kaLottie/LottieGeometry.h"
#include "lib/kaLottie/LottieProperty.h"

namespace {

using namespace kaLottie;

constexpr double kK = kCircleKappa;

void ExpectPoint(TPointD Actual, double X, double Y, double Tolerance = 1e-9) {
  EXPECT_NEAR(Actual.X, X, Tolerance);
  EXPECT_NEAR(Actual.Y, Y, Tolerance);
}

TContour Polyline(std::initializer_list<TPointD> Points, bool Closed) {
  std::vector<TBezierVertex> v;
  for (auto p : Points) v.push_back({p, {}, {}});
  TContour c;
  BezierContour(v, Closed, c);
  return c;
}

TEST(LottieGeometry, EaseCurvesGiveTheirValueAtKnownPoints) {
  struct TCase {
    TEase Ease;
    double Time, Value;
  };
  // Values from bisection of the curves' x to 1e-15 (outside this program).
  const TCase cases[] = {
      {{0.42, 0, 0.58, 1}, 0.25, 0.1291619310473198},
      {{0.42, 0, 0.58, 1}, 0.5, 0.5},
      {{0.333, 0, 0.667, 1}, 0.1, 0.028038910338605783},
      {{0.5, 0, 0.5, 1}, 0.2, 0.06449503239314855},
      {{0.167, 0.167, 0.833, 0.833}, 0.3, 0.3},  // handles on the diagonal: linear
      // Handles at the ends of the time axis: flat spots where Newton's method stalls.
      {{1, 0, 0, 1}, 0.3, 0.04739527520394201},
      {{1, 0, 1, 0}, 0.5, 0.008779996890010536},
      {{0, 1, 0, 1}, 0.5, 0.9912200031099895},
      // Overshooting values (a bounce) leave 0..1.
      {{0.25, -0.5, 0.75, 1.5}, 0.1, -0.08063405387498176},
      {{0.42, 0, 0.58, 1}, 0, 0},
      {{0.42, 0, 0.58, 1}, 1, 1},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.Ease.Apply(c.Time), c.Value, 1e-7) << c.Ease.X1 << " " << c.Time;
}

TEST(LottieGeometry, EllipseIsFourQuarterCurvesFromTheTop) {
  TContour c;
  EllipseContour({10, 20}, {8, 6}, false, c);
  ASSERT_EQ(c.SegmentCount(), 4u);
  EXPECT_TRUE(c.Closed);
  ExpectPoint(c.Points[0], 10, 17);  // top
  ExpectPoint(c.Points[1], 10 + 4 * kK, 17);
  ExpectPoint(c.Points[2], 14, 20 - 3 * kK);
  ExpectPoint(c.Points[3], 14, 20);  // right: clockwise on screen
  ExpectPoint(c.Points[6], 10, 23);
  ExpectPoint(c.Points[9], 6, 20);
  ExpectPoint(c.Points[12], 10, 17);
  EllipseContour({10, 20}, {8, 6}, true, c);
  ExpectPoint(c.Points[1], 10 - 4 * kK, 17);
  ExpectPoint(c.Points[3], 6, 20);  // reversed: left second
}

TEST(LottieGeometry, RectangleStartsAtTheTopRightCorner) {
  TContour c;
  RectContour({50, 50}, {60, 40}, 0, false, c);
  ASSERT_EQ(c.SegmentCount(), 4u);
  ExpectPoint(c.Points[0], 80, 30);
  ExpectPoint(c.Points[3], 80, 70);  // down the right edge
  ExpectPoint(c.Points[6], 20, 70);
  ExpectPoint(c.Points[9], 20, 30);
  RectContour({50, 50}, {60, 40}, 0, true, c);
  ExpectPoint(c.Points[3], 20, 30);  // reversed: along the top edge first

  // Rounded: corners are quarter circles between points on the edges.
  RectContour({50, 50}, {60, 40}, 5, false, c);
  ASSERT_EQ(c.SegmentCount(), 8u);
  ExpectPoint(c.Points[0], 80, 35);
  ExpectPoint(c.Points[3], 80, 65);
  ExpectPoint(c.Points[4], 80, 65 + 5 * kK);
  ExpectPoint(c.Points[5], 75 + 5 * kK, 70);
  ExpectPoint(c.Points[6], 75, 70);

  // The radius stops at half the shorter side; the straight edges it swallows are gone.
  RectContour({50, 50}, {60, 40}, 100, false, c);
  EXPECT_EQ(c.SegmentCount(), 6u);
  ExpectPoint(c.Points[0], 80, 50);
  RectContour({0, 0}, {10, 10}, 5, false, c);
  EXPECT_EQ(c.SegmentCount(), 4u);  // a circle
}

TEST(LottieGeometry, StarsAndPolygonsStartStraightUp) {
  TStarShape s;
  s.Points = 5;
  s.OuterRadius = 10;
  s.InnerRadius = 5;
  TContour c;
  StarContour(s, c);
  ASSERT_EQ(c.SegmentCount(), 10u);
  ExpectPoint(c.Points[0], 0, -10);
  const double d = 3.14159265358979323846 / 180;
  ExpectPoint(c.Points[3], 5 * std::cos(-54 * d), 5 * std::sin(-54 * d));  // inner, 36 degrees on
  ExpectPoint(c.Points[6], 10 * std::cos(-18 * d), 10 * std::sin(-18 * d));
  EXPECT_EQ(c.Points[1], c.Points[0]);  // no roundness: straight

  // A square as a polygon turned by 45 degrees, with full outer roundness: the handles run
  // along the circle, a quarter of the arc between corners (2 pi r / 16) long.
  s.Polygon = true;
  s.Points = 4;
  s.Rotation = 45;
  s.OuterRoundness = 100;
  StarContour(s, c);
  ASSERT_EQ(c.SegmentCount(), 4u);
  const double h = 2 * 3.14159265358979323846 * 10 / 16, r = 10 / std::sqrt(2.0);
  ExpectPoint(c.Points[0], r, -r);
  ExpectPoint(c.Points[1], r + h / std::sqrt(2.0), -r + h / std::sqrt(2.0));
  ExpectPoint(c.Points[3], r, r);

  s.Points = 1e12;  // animated into absurdity: capped
  StarContour(s, c);
  EXPECT_EQ(c.SegmentCount(), size_t(kMaxStarPoints));
  s.Points = 0.5;
  StarContour(s, c);
  EXPECT_EQ(c.SegmentCount(), 0u);
}

TEST(LottieGeometry, TransformMovesAnchorScalesSkewsRotatesThenPositions) {
  // Anchor (5,5) to the origin, scale 2 x 1, rotate 90 clockwise, move to (100,0):
  // (10,5) -> (5,0) -> (10,0) -> (0,10) -> (100,10).
  TMatrix m = MakeTransform({5, 5}, {100, 0}, {2, 1}, 90, 0, 0);
  ExpectPoint(m.Apply({10, 5}), 100, 10, 1e-12);
  // Skew 30 along x: points above the anchor lean right by tan 30 per unit of height.
  m = MakeTransform({}, {}, {1, 1}, 0, 30, 0);
  ExpectPoint(m.Apply({0, -20}), 20 * std::tan(3.14159265358979323846 / 6), -20, 1e-12);
  ExpectPoint(m.Apply({7, 0}), 7, 0, 1e-12);
  // Skew 30 along the 45 degree axis: that axis stays, the square's other corners move
  // (figures checked against the reference renderer's picture).
  m = MakeTransform({}, {}, {1, 1}, 0, 30, 45);
  ExpectPoint(m.Apply({20, -20}), 20, -20, 1e-9);
  ExpectPoint(m.Apply({-20, -20}), -8.452994616207484, -31.547005383792516, 1e-9);
}

TEST(LottieGeometry, LengthsOfLinesAndCurves) {
  EXPECT_DOUBLE_EQ(ContourLength(Polyline({{0, 0}, {30, 40}, {30, 0}}, false)), 90);
  EXPECT_DOUBLE_EQ(ContourLength(Polyline({{0, 0}, {30, 40}, {30, 0}}, true)), 120);
  // A circle of radius 100 from four quarter curves: 2 pi r within 0.1 %.
  TContour c;
  EllipseContour({0, 0}, {200, 200}, false, c);
  EXPECT_NEAR(ContourLength(c), 2 * 3.14159265358979323846 * 100, 0.6);
}

TEST(LottieGeometry, TrimRangeFromStartEndAndOffset) {
  struct TCase {
    double S, E, O;
    bool Any, Full;
    double From, To;
  };
  const TCase cases[] = {
      {0, 100, 0, true, true, 0, 1},         {25, 75, 0, true, false, 0.25, 0.75},
      {75, 25, 0, true, false, 0.25, 0.75},                                    // start past end: swapped
      {50, 50, 0, false, false, 0, 0},                                         // nothing left
      {0, 50, 90, true, false, 0.25, 0.75},                                    // offset in degrees: 360 is one length
      {50, 100, 180, true, false, 0, 0.5},                                     // shifted past the end: wrapped
      {0, 50, -90, true, false, 0.75, 1.25}, {-20, 150, 0, true, true, 0, 1},  // clamped to 0..100
      {0, 100, 45, true, true, 0, 1},
  };
  for (const auto& c : cases) {
    double from = -1, to = -1;
    bool full = false;
    bool any = TrimRange(c.S, c.E, c.O, from, to, full);
    EXPECT_EQ(any, c.Any) << c.S << " " << c.E << " " << c.O;
    if (!any) continue;
    EXPECT_EQ(full, c.Full) << c.S << " " << c.E << " " << c.O;
    EXPECT_NEAR(from, c.From, 1e-12) << c.S << " " << c.E << " " << c.O;
    EXPECT_NEAR(to, c.To, 1e-12) << c.S << " " << c.E << " " << c.O;
  }
}

TEST(LottieGeometry, TrimKeepsTheRangeOfTheWholeSequence) {
  // Two lines of 100 and 300 as one sequence: 20 %..60 % is 80..240, the end of the first
  // and the start of the second.
  TPath a{Polyline({{0, 0}, {100, 0}}, false)}, b{Polyline({{0, 10}, {300, 10}}, false)};
  TPath* paths[] = {&a, &b};
  TrimPaths(paths, 2, 0.2, 0.6);
  ASSERT_EQ(a.size(), 1u);
  ExpectPoint(a[0].Points.front(), 80, 0);
  ExpectPoint(a[0].Points.back(), 100, 0);
  ASSERT_EQ(b.size(), 1u);
  ExpectPoint(b[0].Points.front(), 0, 10);
  ExpectPoint(b[0].Points.back(), 140, 10);
  EXPECT_FALSE(b[0].Closed);

  // A range beyond the end of a closed square (perimeter 40) wraps across its start point
  // as one piece: 36 -> 40 = 0 -> 8.
  TPath sq{Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true)};
  TPath* one[] = {&sq};
  TrimPaths(one, 1, 0.9, 1.2);
  ASSERT_EQ(sq.size(), 1u);
  EXPECT_FALSE(sq[0].Closed);
  ExpectPoint(sq[0].Points.front(), 0, 4);
  ExpectPoint(sq[0].Points[3], 0, 0);
  ExpectPoint(sq[0].Points[6], 8, 0);
  EXPECT_EQ(sq[0].SegmentCount(), 2u);

  // On a curve, the cut lies at the length asked: half of a quarter circle is at 45 degrees.
  TContour circle;
  EllipseContour({0, 0}, {200, 200}, false, circle);
  TPath quarter{circle};
  TPath* q[] = {&quarter};
  TrimPaths(q, 1, 0, 0.125);
  ASSERT_EQ(quarter.size(), 1u);
  ExpectPoint(quarter[0].Points.back(), 100 / std::sqrt(2.0), -100 / std::sqrt(2.0), 0.3);
}

TEST(LottieGeometry, RoundCornersReplaceSharpVertices) {
  TPath p{Polyline({{10, 0}, {10, 10}, {0, 10}, {0, 0}}, true)};
  RoundCorners(p, 2);
  ASSERT_EQ(p[0].SegmentCount(), 8u);
  // The corner (10,0) between (0,0) and (10,10) became a curve from (8,0) to (10,2) whose
  // handles point at the old corner.
  ExpectPoint(p[0].Points[0], 8, 0);
  ExpectPoint(p[0].Points[1], 8 + 2 * kK, 0);
  ExpectPoint(p[0].Points[2], 10, 2 - 2 * kK);
  ExpectPoint(p[0].Points[3], 10, 2);
  ExpectPoint(p[0].Points[6], 10, 8);

  // A radius past half an edge stops there; the ends of an open path stay sharp; vertices
  // with handles are left alone.
  TPath open{Polyline({{0, 0}, {10, 0}, {10, 4}}, false)};
  RoundCorners(open, 50);
  ASSERT_EQ(open[0].SegmentCount(), 3u);
  ExpectPoint(open[0].Points[0], 0, 0);
  ExpectPoint(open[0].Points[3], 5, 0);
  ExpectPoint(open[0].Points[6], 10, 2);
  ExpectPoint(open[0].Points[9], 10, 4);
  TContour circle;
  EllipseContour({0, 0}, {20, 20}, false, circle);
  TPath round{circle};
  RoundCorners(round, 5);
  EXPECT_EQ(round[0].Points, circle.Points);
}

}  // namespace
