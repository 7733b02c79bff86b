// Animated values of a Lottie document: keyframes with their easing, resolved at any time.
// Everything here is built once by the parser and only read while frames are evaluated, so
// evaluation allocates nothing and never throws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

// The ease of one keyframe segment in one dimension: the curve (0,0) (X1,Y1) (X2,Y2) (1,1),
// mapping progress in time (x) to progress in value (y). X1 and X2 are kept in 0..1 so that
// x grows with the curve's parameter and every progress has one answer.
struct TEase {
  double X1 = 0, Y1 = 0, X2 = 1, Y2 = 1;
  bool IsLinear() const { return X1 == Y1 && X2 == Y2; }
  // Value progress for the time progress P (0..1); may leave 0..1 when the handles overshoot.
  double Apply(double P) const;
};

struct TKeyframe {
  double Time = 0;
  bool Hold = false;     // the value jumps at the next keyframe
  bool Linear = true;    // every dimension eases linearly
  int32_t Spatial = -1;  // index of the segment's curve in TAnimated::Spatials, -1: none
};

// A position moving along a cubic curve between two keyframes, at a speed given by the ease:
// the eased progress is a fraction of the curve's length, not of its parameter.
struct TSpatialSegment {
  static constexpr int kSamples = 32;
  TPointD P0, C1, C2, P1;
  std::array<double, kSamples + 1> Length{};  // arc length from P0 at parameter i / kSamples
  TPointD At(double Fraction) const;
};

// A value of Dim numbers (a scalar, a point, a colour, the flat list of a gradient), either
// static or keyframed. Before the first keyframe the first value holds, after the last the
// last one.
class TAnimated {
 public:
  TAnimated() = default;
  explicit TAnimated(std::vector<double> Static) : Dim(static_cast<int>(Static.size())), Values(std::move(Static)) {}

  bool IsStatic() const { return Keys.size() <= 1; }
  bool IsKeyframed() const { return !Keys.empty(); }
  // Writes Dim numbers to Out.
  void Evaluate(double Time, double* Out) const;
  double Scalar(double Time) const;  // the first number
  TPointD Point(double Time) const;  // the first two numbers

  int Dim = 0;
  // Without keyframes: the Dim static numbers. With keyframes: per keyframe its value (Dim
  // numbers) then the value its segment moves towards (Dim numbers), so that the old form
  // whose segments carry both ends ("s" and "e") needs no special case.
  std::vector<double> Values;
  std::vector<TKeyframe> Keys;
  std::vector<TEase> Eases;  // Dim per keyframe
  std::vector<TSpatialSegment> Spatials;

 private:
  size_t Segment(double Time) const;  // the last keyframe at or before Time
};

// A bezier path value that may change shape over time. Each keyframe stores the contour it
// starts from and the one its segment moves towards; both have the same point count when
// the shape can be blended, otherwise the value jumps at the next keyframe.
class TAnimatedPath {
 public:
  bool IsStatic() const { return Keys.size() <= 1; }
  // Out is overwritten (its storage reused).
  void Evaluate(double Time, TContour& Out) const;

  TContour Static;
  std::vector<TKeyframe> Keys;
  std::vector<TContour> Starts, Ends;
  std::vector<TEase> Eases;  // one per keyframe
};

// Builds the arc-length table of a spatial segment.
TSpatialSegment MakeSpatialSegment(TPointD P0, TPointD Out, TPointD In, TPointD P1);

}  // namespace kaLottie
