#include "lib/kaLottie/LottieProperty.h"

#include <algorithm>
#include <cmath>

namespace kaLottie {

namespace {

double Cubic(double A, double B, double T) {
  // One coordinate of the ease curve from 0 over A and B to 1.
  double u = 1 - T;
  return 3 * u * u * T * A + 3 * u * T * T * B + T * T * T;
}

double CubicSlope(double A, double B, double T) {
  double u = 1 - T;
  return 3 * u * u * A + 6 * u * T * (B - A) + 3 * T * T * (1 - B);
}

TPointD BezierAt(const TPointD& P0, const TPointD& C1, const TPointD& C2, const TPointD& P1, double T) {
  double u = 1 - T;
  double a = u * u * u, b = 3 * u * u * T, c = 3 * u * T * T, d = T * T * T;
  return {a * P0.X + b * C1.X + c * C2.X + d * P1.X, a * P0.Y + b * C1.Y + c * C2.Y + d * P1.Y};
}

// A closed contour keeps its closing segment while shapes are blended (so that keyframes of
// the same vertex count stay blendable); an empty straight closing edge is dropped after.
void DropEmptyClosingSegment(TContour& C) {
  size_t n = C.Points.size();
  if (!C.Closed || n < 7) return;
  const TPointD& s = C.Points[0];
  if (C.Points[n - 4] == s && C.Points[n - 3] == s && C.Points[n - 2] == s && C.Points[n - 1] == s)
    C.Points.resize(n - 3);
}

}  // namespace

double TEase::Apply(double P) const {
  if (!(P > 0)) return 0;
  if (P >= 1) return 1;
  if (IsLinear()) return P;
  // Newton's method converges in a few steps on the usual handles; flat spots (a handle on
  // the time axis end) make it stall, and bisection finishes the job then.
  double t = P;
  for (int i = 0; i < 8; ++i) {
    double err = Cubic(X1, X2, t) - P;
    if (std::fabs(err) < 1e-9) return Cubic(Y1, Y2, t);
    double slope = CubicSlope(X1, X2, t);
    if (std::fabs(slope) < 1e-6) break;
    double next = t - err / slope;
    if (!(next >= 0 && next <= 1)) break;
    t = next;
  }
  double lo = 0, hi = 1;
  t = P;
  for (int i = 0; i < 60; ++i) {
    double x = Cubic(X1, X2, t);
    if (std::fabs(x - P) < 1e-10) break;
    if (x < P)
      lo = t;
    else
      hi = t;
    t = (lo + hi) / 2;
  }
  return Cubic(Y1, Y2, t);
}

TSpatialSegment MakeSpatialSegment(TPointD P0, TPointD Out, TPointD In, TPointD P1) {
  TSpatialSegment s;
  s.P0 = P0;
  s.C1 = {P0.X + Out.X, P0.Y + Out.Y};
  s.C2 = {P1.X + In.X, P1.Y + In.Y};
  s.P1 = P1;
  TPointD prev = P0;
  s.Length[0] = 0;
  for (int i = 1; i <= TSpatialSegment::kSamples; ++i) {
    TPointD p = BezierAt(s.P0, s.C1, s.C2, s.P1, double(i) / TSpatialSegment::kSamples);
    s.Length[i] = s.Length[i - 1] + std::hypot(p.X - prev.X, p.Y - prev.Y);
    prev = p;
  }
  return s;
}

TPointD TSpatialSegment::At(double Fraction) const {
  double total = Length.back();
  if (!(total > 0)) return P0;
  if (Fraction <= 0 || Fraction >= 1) {
    // An overshooting ease carries on straight along the curve's direction at that end.
    bool start = Fraction <= 0;
    TPointD from = start ? P0 : P1;
    TPointD toward = start ? (C1 == P0 ? P1 : C1) : (C2 == P1 ? P0 : C2);
    double dx = from.X - toward.X, dy = from.Y - toward.Y, d = std::hypot(dx, dy);
    if (!(d > 0)) return from;
    double beyond = (start ? -Fraction : Fraction - 1) * total / d;
    return {from.X + dx * beyond, from.Y + dy * beyond};
  }
  double target = Fraction * total;
  auto it = std::upper_bound(Length.begin(), Length.end(), target);
  size_t i = std::min<size_t>(std::max<ptrdiff_t>(it - Length.begin(), 1), kSamples);
  double a = Length[i - 1], b = Length[i];
  double local = b > a ? (target - a) / (b - a) : 0;
  return BezierAt(P0, C1, C2, P1, (double(i - 1) + local) / kSamples);
}

size_t TAnimated::Segment(double Time) const {
  // Keys.size() >= 2 and Keys[0].Time < Time < Keys.back().Time here.
  auto it = std::upper_bound(Keys.begin(), Keys.end(), Time, [](double t, const TKeyframe& k) { return t < k.Time; });
  return static_cast<size_t>(it - Keys.begin()) - 1;
}

void TAnimated::Evaluate(double Time, double* Out) const {
  const size_t dim = static_cast<size_t>(Dim);
  if (Keys.empty()) {
    std::copy_n(Values.data(), dim, Out);
    return;
  }
  if (Keys.size() == 1 || !(Time > Keys.front().Time)) {
    std::copy_n(Values.data(), dim, Out);
    return;
  }
  if (Time >= Keys.back().Time) {
    std::copy_n(Values.data() + (Keys.size() - 1) * 2 * dim, dim, Out);
    return;
  }
  size_t k = Segment(Time);
  const TKeyframe& key = Keys[k];
  const double* from = Values.data() + k * 2 * dim;
  const double* to = from + dim;
  double span = Keys[k + 1].Time - key.Time;
  if (key.Hold || !(span > 0)) {
    std::copy_n(from, dim, Out);
    return;
  }
  double p = (Time - key.Time) / span;
  const TEase* ease = Eases.data() + k * dim;
  if (key.Spatial >= 0) {
    TPointD pt = Spatials[static_cast<size_t>(key.Spatial)].At(ease[0].Apply(p));
    Out[0] = pt.X;
    Out[1] = pt.Y;
    for (size_t d = 2; d < dim; ++d) Out[d] = from[d] + (to[d] - from[d]) * ease[d].Apply(p);
    return;
  }
  for (size_t d = 0; d < dim; ++d) {
    double q = key.Linear ? p : ease[d].Apply(p);
    Out[d] = from[d] + (to[d] - from[d]) * q;
  }
}

double TAnimated::Scalar(double Time) const {
  if (Keys.empty()) return Values.empty() ? 0 : Values[0];
  // Dim is small (at most a colour or a point for the callers of this), so a stack buffer does.
  double v[8];
  if (Dim <= 8) {
    Evaluate(Time, v);
    return v[0];
  }
  std::vector<double> big(static_cast<size_t>(Dim));
  Evaluate(Time, big.data());
  return big[0];
}

TPointD TAnimated::Point(double Time) const {
  if (Dim < 2) {
    double s = Scalar(Time);
    return {s, s};
  }
  if (Keys.empty()) return {Values[0], Values[1]};
  double v[8];
  if (Dim <= 8) {
    Evaluate(Time, v);
    return {v[0], v[1]};
  }
  std::vector<double> big(static_cast<size_t>(Dim));
  Evaluate(Time, big.data());
  return {big[0], big[1]};
}

void TAnimatedPath::Evaluate(double Time, TContour& Out) const {
  if (Keys.empty()) {
    Out = Static;
  } else if (Keys.size() == 1 || !(Time > Keys.front().Time)) {
    Out = Starts.front();
  } else if (Time >= Keys.back().Time) {
    Out = Starts.back();
  } else {
    auto it = std::upper_bound(Keys.begin(), Keys.end(), Time, [](double t, const TKeyframe& k) { return t < k.Time; });
    size_t k = static_cast<size_t>(it - Keys.begin()) - 1;
    const TContour& a = Starts[k];
    const TContour& b = Ends[k];
    double span = Keys[k + 1].Time - Keys[k].Time;
    if (Keys[k].Hold || !(span > 0) || a.Points.size() != b.Points.size()) {
      Out = a;
    } else {
      double q = Eases[k].Apply((Time - Keys[k].Time) / span);
      Out.Closed = a.Closed;
      Out.Points.resize(a.Points.size());
      for (size_t i = 0; i < a.Points.size(); ++i)
        Out.Points[i] = {a.Points[i].X + (b.Points[i].X - a.Points[i].X) * q,
                         a.Points[i].Y + (b.Points[i].Y - a.Points[i].Y) * q};
    }
  }
  DropEmptyClosingSegment(Out);
}

}  // namespace kaLottie
