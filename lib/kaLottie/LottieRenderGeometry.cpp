// Geometry of the renderer: pixel extents, matrices, and the paths handed to GDI+, dashes
// included. Dashes are cut here rather than by the pen: a pen's dash pattern cannot draw
// the zero-length dashes designers use for dotted lines, has no square dash caps, and
// behaves differently between GDI+ implementations; cut by us, every dash is an open
// polyline that gets the stroke's own caps, from GDI+ or from our own stroker alike.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieRenderInternal.h"

namespace kaLottie::render {

namespace {

// Coordinates beyond this many pixels are not drawn: GDI+ works in floats and Wine's
// rasteriser in integers, and nothing that far out can be seen anyway.
constexpr double kMaxCoordinate = 1 << 24;
// Points and pattern steps of one dashed stroke, at most: a pattern far finer than a pixel
// on a long path must neither run the machine out of memory nor take forever.
constexpr size_t kMaxDashPoints = 1 << 20;
constexpr size_t kMaxDashSteps = 1 << 22;

bool Finite(TPointD P) { return std::isfinite(P.X) && std::isfinite(P.Y); }

}  // namespace

void TBoundsD::Add(TPointD P) {
  L = std::min(L, P.X);
  T = std::min(T, P.Y);
  R = std::max(R, P.X);
  B = std::max(B, P.Y);
}

void TBoundsD::Add(const TBoundsD& O) {
  if (O.Empty()) return;
  Add(TPointD{O.L, O.T});
  Add(TPointD{O.R, O.B});
}

TRectI TBoundsD::Pixels(double Margin) const {
  if (Empty() || !std::isfinite(L) || !std::isfinite(T) || !std::isfinite(R) || !std::isfinite(B)) return {};
  auto clampPx = [](double V) { return static_cast<int>(std::clamp(V, -kMaxCoordinate, kMaxCoordinate)); };
  return {clampPx(std::floor(L - Margin)), clampPx(std::floor(T - Margin)), clampPx(std::ceil(R + Margin)),
          clampPx(std::ceil(B + Margin))};
}

double MaxScale(const TMatrix& M) {
  const double s = M.M11 * M.M11 + M.M12 * M.M12 + M.M21 * M.M21 + M.M22 * M.M22;
  const double det = M.M11 * M.M22 - M.M12 * M.M21;
  return std::sqrt((s + std::sqrt(std::max(0.0, s * s - 4 * det * det))) / 2);
}

bool IsFinite(const TMatrix& M) {
  return std::isfinite(M.M11) && std::isfinite(M.M12) && std::isfinite(M.M21) && std::isfinite(M.M22) &&
         std::isfinite(M.DX) && std::isfinite(M.DY);
}

bool Invert(const TMatrix& M, TMatrix& Inverse) {
  const double det = M.M11 * M.M22 - M.M12 * M.M21;
  // Relative to the matrix's own size, so tiny but regular maps (a far zoom-out) invert.
  const double size = MaxScale(M);
  if (!std::isfinite(det) || size == 0 || std::fabs(det) <= 1e-12 * size * size) return false;
  Inverse.M11 = M.M22 / det;
  Inverse.M12 = -M.M12 / det;
  Inverse.M21 = -M.M21 / det;
  Inverse.M22 = M.M11 / det;
  Inverse.DX = -(M.DX * Inverse.M11 + M.DY * Inverse.M21);
  Inverse.DY = -(M.DX * Inverse.M12 + M.DY * Inverse.M22);
  return true;
}

TMatrix Translation(double X, double Y) { return {1, 0, 0, 1, X, Y}; }

Gdiplus::Matrix* ToGdip(const TMatrix& M, Gdiplus::Matrix& Out) {
  Out.SetElements(static_cast<Gdiplus::REAL>(M.M11), static_cast<Gdiplus::REAL>(M.M12),
                  static_cast<Gdiplus::REAL>(M.M21), static_cast<Gdiplus::REAL>(M.M22),
                  static_cast<Gdiplus::REAL>(M.DX), static_cast<Gdiplus::REAL>(M.DY));
  return &Out;
}

TBoundsD PathBounds(const TPath& Path, const TMatrix& ToDevice) {
  TBoundsD b;
  for (const TContour& c : Path) {
    const size_t n = c.SegmentCount();
    if (n == 0) continue;
    for (size_t i = 0; i <= 3 * n; ++i) b.Add(ToDevice.Apply(c.Points[i]));
  }
  return b;
}

TBoundsD ItemBounds(const TDrawItem& Item, const TMatrix& RootToDevice) {
  const TMatrix toDevice = Item.Transform.Then(RootToDevice);
  TBoundsD b = PathBounds(Item.Path, toDevice);
  if (Item.IsStroke && !b.Empty()) {
    const TStrokeStyle& s = Item.Stroke;
    // How far the outline reaches beyond the centre line, in half widths: a miter tip up
    // to the miter limit, a square cap's corner by the square root of two.
    double factor = 1;
    if (s.Join == TLineJoin::Miter) factor = std::max(factor, s.MiterLimit);
    if (s.Cap == TLineCap::Square) factor = std::max(factor, std::sqrt(2.0));
    const double reach = s.Width / 2 * factor * MaxScale(toDevice);
    if (!std::isfinite(reach)) return {};
    b.L -= reach;
    b.T -= reach;
    b.R += reach;
    b.B += reach;
  }
  if (!b.Empty() && (std::fabs(b.L) > kMaxCoordinate || std::fabs(b.T) > kMaxCoordinate ||
                     std::fabs(b.R) > kMaxCoordinate || std::fabs(b.B) > kMaxCoordinate))
    return {};
  return b;
}

bool BuildPath(const TPath& Path, TScratch& Scratch) {
  Scratch.Points.clear();
  Scratch.Types.clear();
  for (const TContour& c : Path) {
    const size_t n = c.SegmentCount();
    if (n == 0) continue;
    for (size_t i = 0; i <= 3 * n; ++i) {
      const TPointD p = c.Points[i];
      if (!Finite(p)) return false;
      Scratch.Points.push_back({static_cast<Gdiplus::REAL>(p.X), static_cast<Gdiplus::REAL>(p.Y)});
      Scratch.Types.push_back(i == 0 ? Gdiplus::PathPointTypeStart : Gdiplus::PathPointTypeBezier);
    }
    if (c.Closed) Scratch.Types.back() |= Gdiplus::PathPointTypeCloseSubpath;
  }
  return !Scratch.Points.empty();
}

namespace {

// Where along the dash pattern the walk stands: which entry, how much of it is left, and
// whether it is a dash (on) or a gap.
class TDashWalk {
 public:
  TDashWalk(const std::vector<double>& Pattern, double Total) : FPattern(Pattern), FTotal(Total) {}
  void Start(double Offset) {
    double pos = std::fmod(Offset, FTotal);
    if (pos < 0) pos += FTotal;
    FIndex = 0;
    while (pos >= FPattern[FIndex] && pos > 0) {
      pos -= FPattern[FIndex];
      FIndex = (FIndex + 1) % FPattern.size();
    }
    FLeft = FPattern[FIndex] - pos;
  }
  bool On() const { return FIndex % 2 == 0; }
  double Left() const { return FLeft; }
  void Use(double Length) { FLeft -= Length; }
  void Next() {
    FIndex = (FIndex + 1) % FPattern.size();
    FLeft = FPattern[FIndex];
  }

 private:
  const std::vector<double>& FPattern;
  double FTotal;
  size_t FIndex = 0;
  double FLeft = 0;
};

// Collects the dashes as open polylines.
class TDashOutput {
 public:
  TDashOutput(TPolylines& Out, bool KeepDots, double Tolerance)
      : FOut(Out), FKeepDots(KeepDots), FTolerance(Tolerance) {}
  void Begin(TPointD P) {
    FLength = 0;
    FOut.Begin();
    FOut.Add(P, false);
  }
  void Add(TPointD P, bool Smooth) {
    const TPointD last = FOut.Points.back();
    FLength += std::hypot(P.X - last.X, P.Y - last.Y);
    FOut.Add(P, Smooth);
  }
  // Ends the dash. A dash of no length is a dot when the caps give it a body: drawn as a
  // sliver along Direction, since neither GDI+ nor a stroker has a direction for the caps
  // of a single point.
  void End(TPointD Direction) {
    TPolylines::TLine& line = FOut.Lines.back();
    FOut.Smooth[line.End - 1] = 0;  // an end, not a join
    if (line.End - line.Begin >= 2 && FLength >= 1e-9) return;
    FOut.Points.resize(line.Begin + 1);
    FOut.Smooth.resize(line.Begin + 1);
    line.End = line.Begin + 1;
    if (!FKeepDots) {
      FOut.Points.pop_back();
      FOut.Smooth.pop_back();
      FOut.Lines.pop_back();
      return;
    }
    const TPointD p = FOut.Points[line.Begin];
    const double length = FTolerance * 0.05;
    FOut.Add({p.X + Direction.X * length, p.Y + Direction.Y * length}, false);
  }
  // Counts one step of the pattern; true once the stroke has had all it may have.
  bool Full() { return ++FSteps > kMaxDashSteps || FOut.Points.size() >= kMaxDashPoints; }

 private:
  TPolylines& FOut;
  bool FKeepDots;
  double FTolerance;
  size_t FSteps = 0;
  double FLength = 0;
};

// Walks one polyline (a closed one back to its start) through the pattern; the pattern
// starts afresh on every contour, as in the players the format comes from.
void DashPolyline(const TPolylines& In, const TPolylines::TLine& L, TDashWalk& Walk, TDashOutput& Out) {
  const size_t n = L.End - L.Begin, count = n + (L.Closed ? 1 : 0);
  auto at = [&](size_t K) { return In.Points[L.Begin + K % n]; };
  bool open = Walk.On();
  if (open) Out.Begin(at(0));
  TPointD dir{1, 0};
  for (size_t i = 1; i < count && !Out.Full(); ++i) {
    const TPointD a = at(i - 1), b = at(i);
    const double len = std::hypot(b.X - a.X, b.Y - a.Y);
    if (len <= 0) continue;
    dir = {(b.X - a.X) / len, (b.Y - a.Y) / len};
    double pos = 0;
    while (Walk.Left() <= len - pos && !Out.Full()) {
      pos += Walk.Left();
      const TPointD p{a.X + dir.X * pos, a.Y + dir.Y * pos};
      if (open) {
        Out.Add(p, false);
        Out.End(dir);
      } else {
        Out.Begin(p);
      }
      Walk.Next();
      open = Walk.On();
    }
    Walk.Use(len - pos);
    if (open) Out.Add(b, In.Smooth[L.Begin + i % n] != 0);
  }
  if (open) Out.End(dir);
}

}  // namespace

bool DashPatternUsable(const TStrokeStyle& Style, double DeviceScale) {
  if (Style.Dashes.empty()) return false;
  double total = 0;
  for (double d : Style.Dashes) {
    if (!std::isfinite(d) || d < 0) return false;
    total += d;
  }
  // A pattern repeating within a tenth of a pixel cannot be told from a solid line.
  return std::isfinite(Style.DashOffset) && total * DeviceScale >= 0.1;
}

bool BuildDashes(const TPath& Path, const TStrokeStyle& Style, double Tolerance, TScratch& Scratch) {
  Scratch.Lines.Clear();
  std::vector<double> pattern(Style.Dashes);
  if (pattern.size() % 2 == 1) pattern.insert(pattern.end(), Style.Dashes.begin(), Style.Dashes.end());
  double total = 0;
  for (double d : pattern) total += d;
  FlattenPath(Path, Tolerance, Scratch.Flat);
  for (const TPointD& p : Scratch.Flat.Points)
    if (!Finite(p)) return false;
  TDashWalk walk(pattern, total);
  TDashOutput out(Scratch.Lines, Style.Cap != TLineCap::Butt, Tolerance);
  for (const TPolylines::TLine& line : Scratch.Flat.Lines) {
    if (line.End - line.Begin < 2) continue;
    walk.Start(Style.DashOffset);
    DashPolyline(Scratch.Flat, line, walk, out);
    if (out.Full()) break;
  }
  return !Scratch.Lines.Lines.empty();
}

void PolylinesToGdip(TScratch& Scratch) {
  Scratch.Points.clear();
  Scratch.Types.clear();
  for (const TPolylines::TLine& line : Scratch.Lines.Lines)
    for (size_t i = line.Begin; i < line.End; ++i) {
      const TPointD p = Scratch.Lines.Points[i];
      Scratch.Points.push_back({static_cast<Gdiplus::REAL>(p.X), static_cast<Gdiplus::REAL>(p.Y)});
      Scratch.Types.push_back(i == line.Begin ? Gdiplus::PathPointTypeStart : Gdiplus::PathPointTypeLine);
    }
}

}  // namespace kaLottie::render
