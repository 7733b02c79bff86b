// The scan converter: edges gathered in device pixels, then swept row by row. Each pixel row
// is crossed by kSampleRows sample rows; on each, the crossings of the edges are sorted and
// the fill rule picks the spans inside, whose exact overlap with every pixel is summed.
#include <algorithm>
#include <climits>
#include <cmath>

#include "lib/kaLottie/LottieRaster.h"

namespace kaLottie::render {

namespace {

// Pieces of one flattened cubic, at most.
constexpr int kMaxPieces = 256;

// floor() for values within the range of int, without a library call.
int Floor(double V) {
  const int i = static_cast<int>(V);
  return i - (V < i ? 1 : 0);
}

// How many straight pieces keep the cubic P0..P3 within Tolerance: the flattening error of
// n equal steps is at most 3/4 of the larger second difference of the controls over n^2.
int PieceCount(TPointD P0, TPointD P1, TPointD P2, TPointD P3, double Tolerance) {
  // A straight segment (handles on the chord, as a path's corners without handles have) is
  // one piece, however its points are spaced along it.
  const double cx = P3.X - P0.X, cy = P3.Y - P0.Y, chord = cx * cx + cy * cy;
  auto onChord = [&](TPointD P) {
    const double px = P.X - P0.X, py = P.Y - P0.Y, along = px * cx + py * cy, across = px * cy - py * cx;
    return along >= 0 && along <= chord && across * across <= Tolerance * Tolerance * chord;
  };
  if (chord > 0 && onChord(P1) && onChord(P2)) return 1;
  const double ax = P0.X - 2 * P1.X + P2.X, ay = P0.Y - 2 * P1.Y + P2.Y;
  const double bx = P1.X - 2 * P2.X + P3.X, by = P1.Y - 2 * P2.Y + P3.Y;
  const double dd = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
  const double pieces = std::ceil(std::sqrt(0.75 * dd / Tolerance));
  return std::isfinite(pieces) ? static_cast<int>(std::clamp(pieces, 1.0, double(kMaxPieces))) : 1;
}

TPointD CubicAt(TPointD P0, TPointD P1, TPointD P2, TPointD P3, double T) {
  const double u = 1 - T;
  const double a = u * u * u, b = 3 * u * u * T, c = 3 * u * T * T, d = T * T * T;
  return {a * P0.X + b * P1.X + c * P2.X + d * P3.X, a * P0.Y + b * P1.Y + c * P2.Y + d * P3.Y};
}

// The direction segment S of C leaves its start (End: reaches its end) in, not normalised;
// zero when the segment has no length.
TPointD Tangent(const TContour& C, size_t S, bool End) {
  const TPointD* p = &C.Points[3 * S];
  const TPointD from = End ? p[3] : p[0];
  for (int k = 1; k <= 3; ++k) {
    const TPointD q = End ? p[3 - k] : p[k];
    if (!(q == from)) return End ? TPointD{from.X - q.X, from.Y - q.Y} : TPointD{q.X - from.X, q.Y - from.Y};
  }
  return {};
}

// True when the curve runs on without a corner from segment S into segment Next.
bool RunsOn(const TContour& C, size_t S, size_t Next) {
  const TPointD a = Tangent(C, S, true), b = Tangent(C, Next, false);
  const double cross = a.X * b.Y - a.Y * b.X, dot = a.X * b.X + a.Y * b.Y;
  return dot > 0 && std::fabs(cross) <= 1e-9 * dot;
}

// Calls Point(p, smooth) for every point of the flattened contour after its first one;
// smooth marks points inside a curve and the ends of segments the curve runs on from.
template <class F>
void FlattenSegments(const TContour& C, const TMatrix* Map, double Tolerance, F&& Point) {
  const size_t n = C.SegmentCount();
  auto at = [&](size_t i) { return Map != nullptr ? Map->Apply(C.Points[i]) : C.Points[i]; };
  TPointD p0 = at(0);
  for (size_t s = 0; s < n; ++s) {
    const TPointD p1 = at(3 * s + 1), p2 = at(3 * s + 2), p3 = at(3 * s + 3);
    const int count = PieceCount(p0, p1, p2, p3, Tolerance);
    for (int k = 1; k < count; ++k) Point(CubicAt(p0, p1, p2, p3, double(k) / count), true);
    Point(p3, s + 1 < n && RunsOn(C, s, s + 1));
    p0 = p3;
  }
}

}  // namespace

TRectI TRectI::Intersect(const TRectI& O) const {
  TRectI r{std::max(L, O.L), std::max(T, O.T), std::min(R, O.R), std::min(B, O.B)};
  if (r.Empty()) return {};
  return r;
}

void FlattenPath(const TPath& Path, double Tolerance, TPolylines& Out) {
  Out.Clear();
  for (const TContour& c : Path) {
    if (c.SegmentCount() == 0) continue;
    Out.Begin();
    Out.Add(c.Points[0], false);
    FlattenSegments(c, nullptr, Tolerance, [&](TPointD P, bool Smooth) { Out.Add(P, Smooth); });
    TPolylines::TLine& line = Out.Lines.back();
    line.Closed = c.Closed;
    // A closed contour's way back to its start is implied; its start is smooth when the
    // curve runs on through it.
    if (c.Closed && line.End - line.Begin > 1 && Out.Points[line.End - 1] == Out.Points[line.Begin]) {
      Out.Points.pop_back();
      Out.Smooth.pop_back();
      --line.End;
      Out.Smooth[line.Begin] = RunsOn(c, c.SegmentCount() - 1, 0) ? 1 : 0;
    }
  }
}

void TCoverageRaster::Reset(const TRectI& Box, bool SnapRows) {
  FBox = Box;
  FSnapRows = SnapRows;
  // Positions along a row are counted in 1/kSubpixels pixel in an int.
  FBox.R = std::min(FBox.R, FBox.L + (INT_MAX / kSubpixels - 1));
  FEdges.clear();
}

void TCoverageRaster::AddLine(TPointD A, TPointD B) {
  if (Full() || !(std::isfinite(A.X) && std::isfinite(A.Y) && std::isfinite(B.X) && std::isfinite(B.Y))) return;
  if (FSnapRows) {
    A.Y = std::floor(A.Y * kSampleRows + 0.5) / kSampleRows;
    B.Y = std::floor(B.Y * kSampleRows + 0.5) / kSampleRows;
  }
  int winding = 1;
  if (A.Y > B.Y) {
    std::swap(A, B);
    winding = -1;
  }
  // Level edges cross no sample row; edges wholly above or below the box cross none of its.
  // Crossings far off to the side are cut to the box when summed, so coordinates of any
  // size keep their direction here.
  if (!(B.Y > A.Y) || B.Y <= FBox.T || A.Y >= FBox.B) return;
  const double slope = (B.X - A.X) / (B.Y - A.Y);
  if (!std::isfinite(slope)) return;
  FEdges.push_back({A.X, A.Y, B.Y, slope, winding});
}

void TCoverageRaster::AddPiece(const TPointD* Points, size_t Count) {
  if (Count < 3) return;
  double area = 0;
  for (size_t i = 0, j = Count - 1; i < Count; j = i++)
    area += (Points[j].X - Points[i].X) * (Points[j].Y + Points[i].Y);
  if (!(area != 0) || !std::isfinite(area)) return;
  // Every piece runs the same way round, so they all count the same sign inside.
  for (size_t i = 0, j = Count - 1; i < Count; j = i++) {
    if (area > 0)
      AddLine(Points[j], Points[i]);
    else
      AddLine(Points[i], Points[j]);
  }
}

void TCoverageRaster::AddLoop(const TPointD* Points, size_t Count, bool Reverse) {
  if (Count < 3) return;
  for (size_t i = 0, j = Count - 1; i < Count; j = i++) {
    if (Reverse)
      AddLine(Points[i], Points[j]);
    else
      AddLine(Points[j], Points[i]);
  }
}

void TCoverageRaster::AddPath(const TPath& Path, const TMatrix& ToDevice) {
  for (const TContour& c : Path) {
    if (c.SegmentCount() == 0) continue;
    const TPointD first = ToDevice.Apply(c.Points[0]);
    TPointD last = first;
    FlattenSegments(c, &ToDevice, kTolerance, [&](TPointD P, bool) {
      AddLine(last, P);
      last = P;
    });
    AddLine(last, first);  // every contour is closed for filling
  }
}

void TCoverageRaster::Sweep(TFillRule Rule, TCoverageSink& Sink) {
  if (FEdges.empty() || FBox.Empty()) return;
  // The edges by the pixel row they start in (those from above the box in its first).
  const size_t rows = static_cast<size_t>(FBox.Height());
  FRowStart.assign(rows + 1, 0);
  auto rowOf = [this](const TEdge& E) {
    return static_cast<size_t>(Floor(std::clamp(E.Y0, double(FBox.T), double(FBox.B - 1))) - FBox.T);
  };
  for (const TEdge& e : FEdges) ++FRowStart[rowOf(e) + 1];
  for (size_t r = 0; r < rows; ++r) FRowStart[r + 1] += FRowStart[r];
  FOrder.resize(FEdges.size());
  FCursor.assign(FRowStart.begin(), FRowStart.end() - 1);
  for (size_t i = 0; i < FEdges.size(); ++i) FOrder[FCursor[rowOf(FEdges[i])]++] = i;

  const size_t width = static_cast<size_t>(FBox.Width());
  FCover.assign(width + 2, 0);
  FRun.assign(width + 2, 0);
  FAlpha.resize(width + 1);
  FActive.clear();
  FMinX = INT_MAX;
  FMaxX = INT_MIN;
  for (size_t r = 0; r < rows; ++r) {
    if (FActive.empty()) {
      // Nothing crosses this row: on to the next row where edges start.
      while (r < rows && FRowStart[r] == FRowStart[r + 1]) ++r;
      if (r == rows) break;
    }
    FActive.insert(FActive.end(), FOrder.begin() + static_cast<ptrdiff_t>(FRowStart[r]),
                   FOrder.begin() + static_cast<ptrdiff_t>(FRowStart[r + 1]));
    const int y = FBox.T + static_cast<int>(r);
    for (int s = 0; s < kSampleRows; ++s) SampleRow(y + (s + 0.5) / kSampleRows, Rule);
    EmitRow(y, Sink);
  }
}

void TCoverageRaster::SampleRow(double Y, TFillRule Rule) {
  FCrossings.clear();
  for (size_t i = 0; i < FActive.size();) {
    const TEdge& e = FEdges[FActive[i]];
    if (e.Y1 <= Y) {  // the edge has ended above this sample row
      FActive[i] = FActive.back();
      FActive.pop_back();
      continue;
    }
    if (e.Y0 <= Y) FCrossings.push_back({e.X0 + (Y - e.Y0) * e.Slope, e.Winding});
    ++i;
  }
  if (FCrossings.size() < 2) return;
  // Few crossings as a rule: sorted by insertion then.
  auto byX = [](const TCrossing& A, const TCrossing& B) { return A.X < B.X; };
  if (FCrossings.size() > 32) std::sort(FCrossings.begin(), FCrossings.end(), byX);
  for (size_t i = 1; i < FCrossings.size(); ++i) {
    const TCrossing c = FCrossings[i];
    size_t j = i;
    for (; j > 0 && FCrossings[j - 1].X > c.X; --j) FCrossings[j] = FCrossings[j - 1];
    FCrossings[j] = c;
  }
  int winding = 0;
  for (size_t i = 0; i + 1 < FCrossings.size(); ++i) {
    winding += FCrossings[i].Winding;
    const bool inside = Rule == TFillRule::EvenOdd ? (winding & 1) != 0 : winding != 0;
    if (inside) AddSpan(FCrossings[i].X, FCrossings[i + 1].X);
  }
}

void TCoverageRaster::AddSpan(double A, double B) {
  A = std::max(A, double(FBox.L));
  B = std::min(B, double(FBox.R));
  if (!(B > A)) return;
  // Positions from the box's left in 1/256 pixel, so that the rows are summed in integers
  // (no conversion per pixel, which costs dearly on an x87 FPU).
  const int a = static_cast<int>((A - FBox.L) * kSubpixels + 0.5);
  const int b = static_cast<int>((B - FBox.L) * kSubpixels + 0.5);
  const int ia = a / kSubpixels, ib = b / kSubpixels;
  if (ia == ib) {
    FCover[static_cast<size_t>(ia)] += b - a;
  } else {
    FCover[static_cast<size_t>(ia)] += kSubpixels - a % kSubpixels;
    FRun[static_cast<size_t>(ia) + 1] += 1;  // whole pixels ia + 1 .. ib - 1
    FRun[static_cast<size_t>(ib)] -= 1;
    FCover[static_cast<size_t>(ib)] += b % kSubpixels;
  }
  FMinX = std::min(FMinX, ia);
  FMaxX = std::max(FMaxX, ib);
}

void TCoverageRaster::EmitRow(int Y, TCoverageSink& Sink) {
  if (FMinX > FMaxX) return;
  const int x0 = FMinX, x1 = std::min(FMaxX + 1, FBox.Width());
  // A whole pixel on every sample row sums to kFull.
  constexpr int kFull = kSubpixels * kSampleRows;
  int run = 0;
  for (int x = x0; x < x1; ++x) {
    run += FRun[static_cast<size_t>(x)];
    const int c = FCover[static_cast<size_t>(x)] + run * kSubpixels;
    FAlpha[static_cast<size_t>(x - x0)] = static_cast<uint8_t>(c >= kFull ? 255 : (c * 255 + kFull / 2) / kFull);
    FCover[static_cast<size_t>(x)] = 0;
    FRun[static_cast<size_t>(x)] = 0;
  }
  // A span ending on the box's right edge leaves its marks one place further.
  for (int x = x1; x <= FMaxX; ++x) {
    FCover[static_cast<size_t>(x)] = 0;
    FRun[static_cast<size_t>(x)] = 0;
  }
  FMinX = INT_MAX;
  FMaxX = INT_MIN;
  if (x1 > x0) Sink.Row(Y, FBox.L + x0, FBox.L + x1, FAlpha.data());
}

}  // namespace kaLottie::render
