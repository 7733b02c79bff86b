#include "lib/kaLottie/LottieGeometry.h"

#include <algorithm>
#include <cmath>

namespace kaLottie {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;

TPointD Add(TPointD A, TPointD B) { return {A.X + B.X, A.Y + B.Y}; }
TPointD Lerp(TPointD A, TPointD B, double T) { return {A.X + (B.X - A.X) * T, A.Y + (B.Y - A.Y) * T}; }
double Dist(TPointD A, TPointD B) { return std::hypot(B.X - A.X, B.Y - A.Y); }

void PushSegment(TContour& C, TPointD C1, TPointD C2, TPointD P) {
  C.Points.push_back(C1);
  C.Points.push_back(C2);
  C.Points.push_back(P);
}

// The vertex form of a contour: a closed contour's last point is its first one again.
void ToVertices(const TContour& C, std::vector<TBezierVertex>& Out) {
  Out.clear();
  size_t n = C.SegmentCount();
  if (n == 0) return;
  const auto& p = C.Points;
  size_t count = C.Closed ? n : n + 1;
  for (size_t k = 0; k < count; ++k) {
    TBezierVertex v;
    v.V = p[3 * k];
    TPointD in = k > 0 ? p[3 * k - 1] : (C.Closed ? p[3 * n - 1] : v.V);
    TPointD out = k < n ? p[3 * k + 1] : v.V;
    v.In = {in.X - v.V.X, in.Y - v.V.Y};
    v.Out = {out.X - v.V.X, out.Y - v.V.Y};
    Out.push_back(v);
  }
}

// Flattening of one contour for measuring: per segment kSteps + 1 running lengths.
struct TMeasure {
  static constexpr int kSteps = 16;
  std::vector<double> Run;  // (kSteps + 1) per segment, running over the whole contour
  double Total = 0;
};

TPointD SegPoint(const TPointD* S, double T) {
  double u = 1 - T;
  double a = u * u * u, b = 3 * u * u * T, c = 3 * u * T * T, d = T * T * T;
  return {a * S[0].X + b * S[1].X + c * S[2].X + d * S[3].X, a * S[0].Y + b * S[1].Y + c * S[2].Y + d * S[3].Y};
}

bool IsStraight(const TPointD* S) { return S[1] == S[0] && S[2] == S[3]; }

void Measure(const TContour& C, TMeasure& M) {
  size_t n = C.SegmentCount();
  M.Run.resize(n * (TMeasure::kSteps + 1));
  double run = 0;
  for (size_t s = 0; s < n; ++s) {
    const TPointD* seg = &C.Points[3 * s];
    double* r = &M.Run[s * (TMeasure::kSteps + 1)];
    r[0] = run;
    if (IsStraight(seg)) {
      double d = Dist(seg[0], seg[3]);
      for (int i = 1; i <= TMeasure::kSteps; ++i) r[i] = run + d * i / TMeasure::kSteps;
      run += d;
      continue;
    }
    TPointD prev = seg[0];
    for (int i = 1; i <= TMeasure::kSteps; ++i) {
      TPointD p = SegPoint(seg, double(i) / TMeasure::kSteps);
      run += Dist(prev, p);
      r[i] = run;
      prev = p;
    }
  }
  M.Total = run;
}

// The segment and its parameter at running length L (for a straight segment the fraction of
// its length). AtStart picks the later segment on a
// boundary (a piece starting there), otherwise the earlier one (a piece ending there).
void Locate(const TMeasure& M, size_t Segments, double L, bool AtStart, size_t& Seg, double& T) {
  const int steps = TMeasure::kSteps;
  size_t lo = 0, hi = Segments - 1;
  while (lo < hi) {  // first segment whose end passes L (or reaches it, for an end)
    size_t mid = (lo + hi) / 2;
    double end = M.Run[mid * (steps + 1) + steps];
    if (AtStart ? end <= L : end < L)
      lo = mid + 1;
    else
      hi = mid;
  }
  Seg = lo;
  const double* r = &M.Run[lo * (steps + 1)];
  if (L <= r[0]) {
    T = 0;
    return;
  }
  if (L >= r[steps]) {
    T = 1;
    return;
  }
  int i = 1;
  while (i < steps && r[i] < L) ++i;
  double a = r[i - 1], b = r[i];
  T = (double(i - 1) + (b > a ? (L - a) / (b - a) : 0)) / steps;
}

// The part of a cubic between parameters T0 < T1.
void SubSegment(const TPointD* S, double T0, double T1, TPointD* Out) {
  TPointD q[4] = {S[0], S[1], S[2], S[3]};
  if (T0 > 0) {  // keep [T0, 1]
    TPointD ab = Lerp(q[0], q[1], T0), bc = Lerp(q[1], q[2], T0), cd = Lerp(q[2], q[3], T0);
    TPointD abc = Lerp(ab, bc, T0), bcd = Lerp(bc, cd, T0);
    q[0] = Lerp(abc, bcd, T0);
    q[1] = bcd;
    q[2] = cd;
    T1 = T0 < 1 ? (T1 - T0) / (1 - T0) : 1;
  }
  if (T1 < 1) {  // keep [0, T1]
    TPointD ab = Lerp(q[0], q[1], T1), bc = Lerp(q[1], q[2], T1), cd = Lerp(q[2], q[3], T1);
    TPointD abc = Lerp(ab, bc, T1), bcd = Lerp(bc, cd, T1);
    q[1] = ab;
    q[2] = abc;
    q[3] = Lerp(abc, bcd, T1);
  }
  std::copy(q, q + 4, Out);
}

// The part of a segment between T0 and T1: parameters of a curve, fractions of the length of
// a straight segment (whose parameter does not run evenly along it, its controls lying on
// its ends).
void Piece(const TPointD* S, double T0, double T1, TPointD* Out) {
  if (!IsStraight(S)) {
    SubSegment(S, T0, T1, Out);
    return;
  }
  Out[0] = Out[1] = Lerp(S[0], S[3], T0);
  Out[2] = Out[3] = Lerp(S[0], S[3], T1);
}

// Appends the part [A, B] of C (running lengths) to Out; Continue appends to Out's last
// contour (whose end is where the part starts) instead of starting a new one.
void AppendPiece(const TContour& C, const TMeasure& M, double A, double B, bool Continue, TPath& Out) {
  size_t n = C.SegmentCount();
  size_t i, j;
  double ta, tb;
  Locate(M, n, A, true, i, ta);
  Locate(M, n, B, false, j, tb);
  if (!Continue || Out.empty()) {
    Out.emplace_back();
    TPointD first[4];
    Piece(&C.Points[3 * i], ta, ta, first);
    Out.back().Points.push_back(first[0]);
  }
  TContour& dst = Out.back();
  TPointD part[4];
  if (i == j) {
    Piece(&C.Points[3 * i], ta, tb, part);
    PushSegment(dst, part[1], part[2], part[3]);
    return;
  }
  Piece(&C.Points[3 * i], ta, 1, part);
  PushSegment(dst, part[1], part[2], part[3]);
  for (size_t s = i + 1; s < j; ++s) PushSegment(dst, C.Points[3 * s + 1], C.Points[3 * s + 2], C.Points[3 * s + 3]);
  Piece(&C.Points[3 * j], 0, tb, part);
  PushSegment(dst, part[1], part[2], part[3]);
}

// Trims one contour lying at [Offset, Offset + length] of the sequence to the ranges.
void TrimContour(const TContour& C, const TMeasure& M, double Offset, const double (*Ranges)[2], int RangeCount,
                 TPath& Out) {
  const double len = M.Total;
  const double eps = 1e-9 * std::max(1.0, len);
  double pieces[2][2];
  int count = 0;
  for (int r = 0; r < RangeCount; ++r) {
    double a = std::max(Ranges[r][0] - Offset, 0.0), b = std::min(Ranges[r][1] - Offset, len);
    if (b - a > eps) {
      pieces[count][0] = a;
      pieces[count][1] = b;
      ++count;
    }
  }
  if (count == 0) return;
  if (count == 1 && pieces[0][0] <= eps && pieces[0][1] >= len - eps) {
    Out.push_back(C);
    return;
  }
  if (count == 2 && C.Closed) {
    // The two pieces meet at the start point of a closed contour: one piece across it.
    int late = pieces[0][0] > pieces[1][0] ? 0 : 1;
    if (pieces[late][1] >= len - eps && pieces[1 - late][0] <= eps) {
      AppendPiece(C, M, pieces[late][0], len, false, Out);
      AppendPiece(C, M, 0, pieces[1 - late][1], true, Out);
      return;
    }
  }
  for (int p = 0; p < count; ++p) AppendPiece(C, M, pieces[p][0], pieces[p][1], false, Out);
}

}  // namespace

void BezierContour(const std::vector<TBezierVertex>& Vertices, bool Closed, TContour& Out) {
  Out.Points.clear();
  Out.Closed = Closed;
  if (Vertices.empty()) return;
  Out.Points.reserve(1 + 3 * Vertices.size());
  Out.Points.push_back(Vertices[0].V);
  for (size_t k = 1; k < Vertices.size(); ++k)
    PushSegment(Out, Add(Vertices[k - 1].V, Vertices[k - 1].Out), Add(Vertices[k].V, Vertices[k].In), Vertices[k].V);
  if (Closed)
    PushSegment(Out, Add(Vertices.back().V, Vertices.back().Out), Add(Vertices[0].V, Vertices[0].In), Vertices[0].V);
}

void EllipseContour(TPointD Centre, TPointD Size, bool Reversed, TContour& Out) {
  double rx = Size.X / 2, ry = Size.Y / 2, kx = rx * kCircleKappa, ky = ry * kCircleKappa;
  double cx = Centre.X, cy = Centre.Y;
  // Top, right, bottom, left, each with its handles along the travel direction.
  std::vector<TBezierVertex> v = {
      {{cx, cy - ry}, {-kx, 0}, {kx, 0}},
      {{cx + rx, cy}, {0, -ky}, {0, ky}},
      {{cx, cy + ry}, {kx, 0}, {-kx, 0}},
      {{cx - rx, cy}, {0, ky}, {0, -ky}},
  };
  if (Reversed) {
    std::reverse(v.begin() + 1, v.end());
    for (auto& x : v) std::swap(x.In, x.Out);
  }
  BezierContour(v, true, Out);
}

void RectContour(TPointD Centre, TPointD Size, double Radius, bool Reversed, TContour& Out) {
  double hw = std::fabs(Size.X) / 2, hh = std::fabs(Size.Y) / 2;
  double r = std::clamp(Radius, 0.0, std::min(hw, hh));
  double l = Centre.X - hw, t = Centre.Y - hh, rt = Centre.X + hw, b = Centre.Y + hh;
  std::vector<TBezierVertex> v;
  if (r <= 0) {
    v = {{{rt, t}, {}, {}}, {{rt, b}, {}, {}}, {{l, b}, {}, {}}, {{l, t}, {}, {}}};
  } else {
    double k = r * kCircleKappa;
    // Each corner is a quarter circle between two vertices on the edges.
    v = {
        {{rt, t + r}, {0, -k}, {}}, {{rt, b - r}, {}, {0, k}}, {{rt - r, b}, {k, 0}, {}}, {{l + r, b}, {}, {-k, 0}},
        {{l, b - r}, {0, k}, {}},   {{l, t + r}, {}, {0, -k}}, {{l + r, t}, {-k, 0}, {}}, {{rt - r, t}, {}, {k, 0}},
    };
    // Straight edges of no length (the radius takes the whole side) join their two vertices.
    std::vector<TBezierVertex> kept;
    for (size_t e = 0; e < v.size(); e += 2) {
      if (v[e].V == v[e + 1].V) {
        kept.push_back({v[e].V, v[e].In, v[e + 1].Out});
      } else {
        kept.push_back(v[e]);
        kept.push_back(v[e + 1]);
      }
    }
    v = std::move(kept);
  }
  if (Reversed) {
    std::reverse(v.begin() + 1, v.end());
    for (auto& x : v) std::swap(x.In, x.Out);
  }
  BezierContour(v, true, Out);
}

void StarContour(const TStarShape& S, TContour& Out) {
  Out.Points.clear();
  Out.Closed = true;
  if (!(S.Points >= 1)) return;
  int n = S.Points >= kMaxStarPoints ? kMaxStarPoints : static_cast<int>(std::floor(S.Points));
  int count = S.Polygon ? n : 2 * n;
  double step = 2 * kPi / count * (S.Reversed ? -1 : 1);
  double angle = -kPi / 2 + S.Rotation * kDeg;
  std::vector<TBezierVertex> v(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i, angle += step) {
    bool outer = S.Polygon || i % 2 == 0;
    double radius = outer ? S.OuterRadius : S.InnerRadius;
    double roundness = (outer ? S.OuterRoundness : S.InnerRoundness) / 100;
    // The handle runs along the circle through the vertex, a quarter of the arc between two
    // outer points long at full roundness.
    double handle = roundness * 2 * kPi * radius / (4 * n) * (S.Reversed ? -1 : 1);
    double c = std::cos(angle), s = std::sin(angle);
    TPointD tangent = {-s * handle, c * handle};
    v[static_cast<size_t>(i)] = {{S.Centre.X + radius * c, S.Centre.Y + radius * s}, {-tangent.X, -tangent.Y}, tangent};
  }
  BezierContour(v, true, Out);
}

TMatrix MakeTransform(TPointD Anchor, TPointD Position, TPointD Scale, double Rotation, double Skew, double SkewAxis) {
  TMatrix m{Scale.X, 0, 0, Scale.Y, -Anchor.X * Scale.X, -Anchor.Y * Scale.Y};
  if (Skew != 0) {
    double ca = std::cos(SkewAxis * kDeg), sa = std::sin(SkewAxis * kDeg);
    TMatrix toAxis{ca, sa, -sa, ca, 0, 0};
    TMatrix shear{1, 0, std::tan(-Skew * kDeg), 1, 0, 0};
    TMatrix back{ca, -sa, sa, ca, 0, 0};
    m = m.Then(toAxis).Then(shear).Then(back);
  }
  if (Rotation != 0) {
    double c = std::cos(Rotation * kDeg), s = std::sin(Rotation * kDeg);
    m = m.Then(TMatrix{c, s, -s, c, 0, 0});
  }
  m.DX += Position.X;
  m.DY += Position.Y;
  return m;
}

void RoundCorners(TPath& Path, double Radius) {
  if (!(Radius > 0)) return;
  std::vector<TBezierVertex> v, out;
  for (TContour& c : Path) {
    ToVertices(c, v);
    const size_t n = v.size();
    auto rounded = [&](size_t k) {
      bool end = !c.Closed && (k == 0 || k == n - 1);
      return !end && v[k].In == TPointD{} && v[k].Out == TPointD{};
    };
    bool any = false;
    for (size_t k = 0; k < n && !any; ++k) any = rounded(k);
    if (!any || n < 2) continue;
    out.clear();
    out.reserve(n * 2);
    for (size_t k = 0; k < n; ++k) {
      const TBezierVertex& cur = v[k];
      if (!rounded(k)) {
        out.push_back(cur);
        continue;
      }
      TPointD prev = v[(k + n - 1) % n].V, next = v[(k + 1) % n].V;
      double dp = Dist(cur.V, prev), dn = Dist(cur.V, next);
      TPointD a = dp > 0 ? Lerp(cur.V, prev, std::min(Radius, dp / 2) / dp) : cur.V;
      TPointD b = dn > 0 ? Lerp(cur.V, next, std::min(Radius, dn / 2) / dn) : cur.V;
      // The corner becomes a curve from a to b whose handles point at the old vertex.
      out.push_back({a, {}, {(cur.V.X - a.X) * kCircleKappa, (cur.V.Y - a.Y) * kCircleKappa}});
      out.push_back({b, {(cur.V.X - b.X) * kCircleKappa, (cur.V.Y - b.Y) * kCircleKappa}, {}});
    }
    bool closed = c.Closed;
    BezierContour(out, closed, c);
  }
}

double ContourLength(const TContour& C) {
  double total = 0;
  for (size_t s = 0; s < C.SegmentCount(); ++s) {
    const TPointD* seg = &C.Points[3 * s];
    if (IsStraight(seg)) {
      total += Dist(seg[0], seg[3]);
      continue;
    }
    TPointD prev = seg[0];
    for (int i = 1; i <= TMeasure::kSteps; ++i) {
      TPointD p = SegPoint(seg, double(i) / TMeasure::kSteps);
      total += Dist(prev, p);
      prev = p;
    }
  }
  return total;
}

double PathLength(const TPath& Path) {
  double total = 0;
  for (const auto& c : Path) total += ContourLength(c);
  return total;
}

bool TrimRange(double StartPercent, double EndPercent, double OffsetDegrees, double& From, double& To, bool& Full) {
  double s = std::clamp(StartPercent / 100, 0.0, 1.0), e = std::clamp(EndPercent / 100, 0.0, 1.0);
  if (s > e) std::swap(s, e);
  Full = e - s >= 1;
  if (Full) {
    From = 0;
    To = 1;
    return true;
  }
  if (!(e > s)) return false;
  double shift = std::fmod(OffsetDegrees / 360, 1.0);
  if (!std::isfinite(shift)) shift = 0;
  if (shift < 0) shift += 1;
  From = s + shift;
  To = e + shift;
  if (From >= 1) {
    From -= 1;
    To -= 1;
  }
  return true;
}

void TrimPaths(TPath* const* Paths, size_t Count, double From, double To) {
  std::vector<TMeasure> measures;
  double total = 0;
  for (size_t p = 0; p < Count; ++p)
    for (const TContour& c : *Paths[p]) {
      measures.emplace_back();
      Measure(c, measures.back());
      total += measures.back().Total;
    }
  double ranges[2][2] = {{From * total, std::min(To, 1.0) * total}, {0, (To - 1) * total}};
  int rangeCount = To > 1 ? 2 : 1;
  double offset = 0;
  size_t m = 0;
  TPath kept;
  for (size_t p = 0; p < Count; ++p) {
    kept.clear();
    for (const TContour& c : *Paths[p]) {
      if (c.SegmentCount() > 0) TrimContour(c, measures[m], offset, ranges, rangeCount, kept);
      offset += measures[m].Total;
      ++m;
    }
    Paths[p]->swap(kept);
  }
}

void TransformPath(TPath& Path, const TMatrix& M) {
  for (auto& c : Path)
    for (auto& p : c.Points) p = M.Apply(p);
}

bool IsFinite(const TMatrix& M) {
  return std::isfinite(M.M11) && std::isfinite(M.M12) && std::isfinite(M.M21) && std::isfinite(M.M22) &&
         std::isfinite(M.DX) && std::isfinite(M.DY);
}

bool IsFinite(const TPath& Path) {
  for (const auto& c : Path)
    for (const auto& p : c.Points)
      if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return false;
  return true;
}

size_t PointCount(const TPath& Path) {
  size_t n = 0;
  for (const auto& c : Path) n += c.Points.size();
  return n;
}

}  // namespace kaLottie
