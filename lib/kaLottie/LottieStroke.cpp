// Strokes as the union of pieces, the way the format's players define them: a rectangle
// along each segment, a wedge on the outer side of each join (a triangle for a bevel, a
// quadrilateral up to the tip for a miter, a pie for a round join), and caps on the ends of
// open lines. Where a line bends gently (a flattened curve) the rectangles of its segments
// meet on their miters and are drawn as one strip: at such slight bends the same union, to
// within the flattening tolerance, with far fewer edges. The pieces are built in the path's own space and mapped to the device, so a
// scaled or skewed transform scales or skews the pen.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieRaster.h"
#include "lib/kaLottie/LottieRenderInternal.h"

namespace kaLottie::render {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Steps of a whole circle of a round join or cap, at most and at least.
constexpr double kMinArcStep = 2 * kPi / 256, kMaxArcStep = kPi / 4;

TPointD Plus(TPointD A, TPointD B) { return {A.X + B.X, A.Y + B.Y}; }
TPointD Minus(TPointD A, TPointD B) { return {A.X - B.X, A.Y - B.Y}; }
TPointD Times(TPointD A, double K) { return {A.X * K, A.Y * K}; }
// A quarter turn of D (the side the segment's rectangle reaches with +).
TPointD Normal(TPointD D) { return {-D.Y, D.X}; }
double Cross(TPointD A, TPointD B) { return A.X * B.Y - A.Y * B.X; }
double Dot(TPointD A, TPointD B) { return A.X * B.X + A.Y * B.Y; }

}  // namespace

bool TStroker::Prepare(const TPolylines& Lines, const TPolylines::TLine& L) {
  FPoints.clear();
  FSmooth.clear();
  for (size_t i = L.Begin; i < L.End; ++i) {
    const TPointD p = Lines.Points[i];
    if (!FPoints.empty() && p == FPoints.back()) continue;
    FPoints.push_back(p);
    FSmooth.push_back(Lines.Smooth[i]);
  }
  // A closed line's end does not repeat its start.
  if (L.Closed && FPoints.size() > 1 && FPoints.back() == FPoints.front()) {
    FPoints.pop_back();
    FSmooth.pop_back();
  }
  const size_t n = FPoints.size();
  if (n < 2) return false;
  FClosed = L.Closed && n > 2;
  FSegments = FClosed ? n : n - 1;
  FDirections.clear();
  for (size_t i = 0; i < FSegments; ++i) {
    const TPointD d = Minus(FPoints[(i + 1) % n], FPoints[i]);
    const double len = std::sqrt(d.X * d.X + d.Y * d.Y);
    FDirections.push_back(len > 0 && std::isfinite(len) ? Times(d, 1 / len) : TPointD{1, 0});
  }
  return true;
}

// Where the line bends so gently that the strips of its two segments can share one edge
// (their miter), they are drawn as one strip: no join piece, and no edges between them for
// the sweep to cross. A flattened curve becomes a single strip this way.
void TStroker::Merge() {
  const size_t n = FPoints.size();
  FMerged.assign(n, 0);
  FOffsets.assign(n, TPointD{});
  for (size_t i = FClosed ? 0 : 1; i < (FClosed ? n : n - 1); ++i) {
    const TPointD d0 = FDirections[(i + FSegments - 1) % FSegments], d1 = FDirections[i];
    const double dot = Dot(d0, d1);
    // The miter is the join itself for a miter join within its limit, and all but the same
    // as the others when the bend is slight (the difference is that of a round arc of so
    // small an angle from its chord).
    const bool miter =
        FStyle->Join == TLineJoin::Miter && !FSmooth[i] && std::sqrt(2 / (1 + dot)) <= FStyle->MiterLimit;
    if (!(dot > 1 - 1e-6 || (dot >= 0.9 && (FSmooth[i] || miter)))) continue;
    FMerged[i] = 1;
    FOffsets[i] = Times(Plus(Normal(d0), Normal(d1)), FHalf / (1 + dot));
  }
  // A strip folds over where a segment is shorter than its ends' offsets lean along it (a
  // bend tighter than the stroke is wide): those vertices get a join of their own.
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < FSegments; ++i) {
      const size_t j = (i + 1) % n;
      const TPointD d = FDirections[i], a = Side(i, i), b = Side(j, i);
      const TPointD from = FPoints[i], to = FPoints[j];
      if (Dot(Minus(Plus(to, b), Plus(from, a)), d) > 0 && Dot(Minus(Minus(to, b), Minus(from, a)), d) > 0) continue;
      for (size_t v : {i, j})
        if (FMerged[v]) {
          FMerged[v] = 0;
          changed = true;
        }
    }
  }
}

// The offset to the + side of segment Segment at its end Vertex.
TPointD TStroker::Side(size_t Vertex, size_t Segment) const {
  return FMerged[Vertex] ? FOffsets[Vertex] : Times(Normal(FDirections[Segment]), FHalf);
}

void TStroker::Line() {
  Merge();
  const size_t n = FPoints.size();
  size_t start = 0;
  if (FClosed) {
    while (start < n && FMerged[start]) ++start;
    if (start == n) {
      Ring();
      return;
    }
  }
  // Strips from one unmerged vertex to the next, each vertex between them with its join.
  for (size_t done = 0; done < FSegments && !FRaster->Full();) {
    const size_t from = (start + done) % n;
    size_t count = 1;
    while (done + count < FSegments && FMerged[(from + count) % n]) ++count;
    Strip(from, count);
    done += count;
    const size_t at = (from + count) % n;
    if (FClosed || done < FSegments)
      Join(FPoints[at], FDirections[(at + FSegments - 1) % FSegments], FDirections[at % FSegments], FSmooth[at] != 0);
  }
  if (!FClosed) {
    Cap(FPoints.front(), Times(FDirections.front(), -1));
    Cap(FPoints.back(), FDirections.back());
  }
}

void TStroker::Strip(size_t From, size_t Segments) {
  const size_t n = FPoints.size();
  FDevice.clear();
  FBack.clear();
  for (size_t k = 0; k <= Segments; ++k) {
    const size_t v = (From + k) % n;
    const TPointD side = Side(v, k < Segments ? (From + k) % FSegments : (From + k - 1) % FSegments);
    FDevice.push_back(FMap.Apply(Plus(FPoints[v], side)));
    FBack.push_back(FMap.Apply(Minus(FPoints[v], side)));
  }
  FDevice.insert(FDevice.end(), FBack.rbegin(), FBack.rend());
  FRaster->AddLoop(FDevice.data(), FDevice.size(), FReverse);
}

// A closed line bending gently all round: the strip is a ring, its + edge and its - edge
// each a closed loop of its own.
void TStroker::Ring() {
  FDevice.clear();
  FBack.clear();
  for (size_t v = 0; v < FPoints.size(); ++v) {
    FDevice.push_back(FMap.Apply(Plus(FPoints[v], FOffsets[v])));
    FBack.push_back(FMap.Apply(Minus(FPoints[v], FOffsets[v])));
  }
  std::reverse(FBack.begin(), FBack.end());
  FRaster->AddLoop(FDevice.data(), FDevice.size(), FReverse);
  FRaster->AddLoop(FBack.data(), FBack.size(), FReverse);
}

void TStroker::Join(TPointD V, TPointD D0, TPointD D1, bool Smooth) {
  const double cross = Cross(D0, D1), dot = Dot(D0, D1);
  if (dot > 0 && std::fabs(cross) < 1e-12) return;  // straight on: the rectangles meet
  // The outer side is the one the line turns away from.
  const double side = cross > 0 ? -FHalf : FHalf;
  const TPointD n0 = Times(Normal(D0), side), n1 = Times(Normal(D1), side);
  const TPointD a = Plus(V, n0), b = Plus(V, n1);
  const TLineJoin join = Smooth ? TLineJoin::Round : FStyle->Join;
  if (join == TLineJoin::Round) {
    // The short way round from one rectangle to the other; turning straight back, the way
    // the line was heading.
    double sweep = std::atan2(Cross(n0, n1), Dot(n0, n1));
    if (dot < -1 + 1e-9) sweep = Dot(Normal(n0), D0) >= 0 ? kPi : -kPi;
    Pie(V, n0, sweep);
    return;
  }
  if (join == TLineJoin::Miter && dot > -1 + 1e-12) {
    // The tip lies 1 / cos(half the turn) half widths out; beyond the limit it is a bevel.
    const double ratio = std::sqrt(2 / (1 + dot));
    if (ratio <= FStyle->MiterLimit) {
      Piece({V, a, Plus(V, Times(Plus(n0, n1), 1 / (1 + dot))), b});
      return;
    }
  }
  Piece({V, a, b});
}

void TStroker::Cap(TPointD P, TPointD Outward) {
  const TPointD n = Times(Normal(Outward), FHalf);
  switch (FStyle->Cap) {
    case TLineCap::Butt: return;
    case TLineCap::Square: {
      const TPointD ahead = Times(Outward, FHalf);
      Piece({Plus(P, n), Plus(Plus(P, n), ahead), Plus(Minus(P, n), ahead), Minus(P, n)});
      return;
    }
    case TLineCap::Round:
      // From one side of the line round its end to the other.
      Pie(P, n, Cross(n, Outward) >= 0 ? kPi : -kPi);
      return;
  }
}

void TStroker::Pie(TPointD Centre, TPointD From, double Sweep) {
  if (!std::isfinite(Sweep)) return;
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(Sweep) / FArcStep)));
  // Turned step by step: one sine and cosine for the whole arc.
  const double c = std::cos(Sweep / steps), s = std::sin(Sweep / steps);
  FDevice.clear();
  FDevice.push_back(FMap.Apply(Centre));
  TPointD r = From;
  for (int i = 0; i <= steps; ++i) {
    FDevice.push_back(FMap.Apply(Plus(Centre, r)));
    r = {r.X * c - r.Y * s, r.X * s + r.Y * c};
  }
  FRaster->AddPiece(FDevice.data(), FDevice.size());
}

void TStroker::Piece(std::initializer_list<TPointD> Points) {
  FDevice.clear();
  for (const TPointD& p : Points) FDevice.push_back(FMap.Apply(p));
  FRaster->AddPiece(FDevice.data(), FDevice.size());
}

void TStroker::AddLines(TCoverageRaster& Raster, const TPolylines& Lines, const TStrokeStyle& Style,
                        const TMatrix& ToDevice) {
  if (!(Style.Width > 0) || !std::isfinite(Style.Width)) return;
  FRaster = &Raster;
  FStyle = &Style;
  FMap = ToDevice;
  FHalf = Style.Width / 2;
  FReverse = ToDevice.M11 * ToDevice.M22 - ToDevice.M12 * ToDevice.M21 > 0;
  // Arc steps whose chords stay within the raster's tolerance of the circle on the device.
  const double radius = FHalf * MaxScale(ToDevice);
  const double step =
      radius > TCoverageRaster::kTolerance ? 2 * std::acos(1 - TCoverageRaster::kTolerance / radius) : kMaxArcStep;
  FArcStep = std::clamp(std::isfinite(step) ? step : kMaxArcStep, kMinArcStep, kMaxArcStep);
  for (const TPolylines::TLine& line : Lines.Lines) {
    if (Raster.Full()) return;
    if (Prepare(Lines, line)) Line();
  }
}

void TStroker::AddPath(TCoverageRaster& Raster, const TPath& Path, const TStrokeStyle& Style, const TMatrix& ToDevice) {
  const double scale = MaxScale(ToDevice);
  if (!(scale > 0) || !std::isfinite(scale)) return;
  FlattenPath(Path, TCoverageRaster::kTolerance / scale, FFlat);
  AddLines(Raster, FFlat, Style, ToDevice);
}

}  // namespace kaLottie::render
