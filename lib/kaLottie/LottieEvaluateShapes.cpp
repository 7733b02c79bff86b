// Evaluating the shapes of a shape layer into draw items.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieEvaluate.h"

namespace kaLottie {

namespace {

double Clamp01(double V) { return V > 0 ? (V < 1 ? V : 1) : 0; }

// The transform of repeater copy Power (its index plus the offset, fractions allowed): the
// scale to that power and the rotation and position times it, about the anchor. The
// position does not turn with the rotation of the copies before, so copies with both
// step along a straight line while turning.
TMatrix RepeaterStep(TPointD Anchor, TPointD Position, TPointD Scale, double Rotation, double Power) {
  TPointD s = {std::pow(Scale.X, Power), std::pow(Scale.Y, Power)};
  TMatrix m = MakeTransform(Anchor, Anchor, s, Rotation * Power, 0, 0);
  m.DX += Position.X * Power;
  m.DY += Position.Y * Power;
  return m;
}

// Merges colour stops (offset, r, g, b) and opacity stops (offset, alpha) into stops at
// every offset either list names.
void MergeStops(const double* V, int ColorCount, int OpacityCount, std::vector<TGradientStop>& Out) {
  struct TStop {
    double Offset;
    double C[3];
  };
  std::vector<TStop> colors(static_cast<size_t>(ColorCount)), alphas(static_cast<size_t>(OpacityCount));
  for (int i = 0; i < ColorCount; ++i)
    colors[static_cast<size_t>(i)] = {Clamp01(V[4 * i]),
                                      {Clamp01(V[4 * i + 1]), Clamp01(V[4 * i + 2]), Clamp01(V[4 * i + 3])}};
  const double* o = V + 4 * ColorCount;
  for (int i = 0; i < OpacityCount; ++i)
    alphas[static_cast<size_t>(i)] = {Clamp01(o[2 * i]), {Clamp01(o[2 * i + 1]), 0, 0}};
  auto byOffset = [](const TStop& a, const TStop& b) { return a.Offset < b.Offset; };
  std::stable_sort(colors.begin(), colors.end(), byOffset);
  std::stable_sort(alphas.begin(), alphas.end(), byOffset);
  auto at = [](const std::vector<TStop>& stops, double x, int c) {
    if (x <= stops.front().Offset) return stops.front().C[c];
    for (size_t i = 1; i < stops.size(); ++i)
      if (x <= stops[i].Offset) {
        double span = stops[i].Offset - stops[i - 1].Offset;
        double f = span > 0 ? (x - stops[i - 1].Offset) / span : 1;
        return stops[i - 1].C[c] + (stops[i].C[c] - stops[i - 1].C[c]) * f;
      }
    return stops.back().C[c];
  };
  std::vector<double> offsets;
  offsets.reserve(colors.size() + alphas.size());
  for (const auto& s : colors) offsets.push_back(s.Offset);
  for (const auto& s : alphas) offsets.push_back(s.Offset);
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  Out.clear();
  Out.reserve(offsets.size());
  for (double x : offsets)
    Out.push_back({x, {at(colors, x, 0), at(colors, x, 1), at(colors, x, 2), alphas.empty() ? 1.0 : at(alphas, x, 0)}});
}

}  // namespace

void TShapeEvaluator::Run(const TShapeList& Shapes, double Time, const TMatrix& LayerToRoot, double Opacity,
                          std::vector<TSceneEntry>& Out) {
  FTime = Time;
  FGroups.clear();
  FGeoms.clear();
  FStyles.clear();
  FGroups.push_back({-1, TMatrix(), Opacity, LayerToRoot, true});
  Walk(Shapes, 0, 0);
  for (auto it = FStyles.rbegin(); it != FStyles.rend(); ++it) Emit(*it, Out);
}

int TShapeEvaluator::AddGroup(int Parent, const TMatrix& Local, double Opacity) {
  FGroups.push_back({Parent, Local, Opacity, TMatrix(), false});
  return static_cast<int>(FGroups.size()) - 1;
}

void TShapeEvaluator::Walk(const TShapeList& Items, int Group, int Depth) {
  if (Depth > kMaxGroupDepth) return;
  const size_t begin = FGeoms.size();
  for (const auto& item : Items) {
    switch (item->Kind) {
      case TShapeKind::Group: {
        const auto& g = static_cast<const TGroupShape&>(*item);
        int id = AddGroup(Group, g.Transform.Matrix(FTime),
                          FGroups[static_cast<size_t>(Group)].Opacity * g.Transform.OpacityAt(FTime));
        Walk(g.Items, id, Depth + 1);
        break;
      }
      case TShapeKind::Path:
      case TShapeKind::Rect:
      case TShapeKind::Ellipse:
      case TShapeKind::Star: AddGeometry(static_cast<const TGeometryShape&>(*item), Group); break;
      case TShapeKind::Style:
        FStyles.push_back({static_cast<const TStyleShape*>(item.get()), Group, begin, FGeoms.size()});
        break;
      case TShapeKind::Trim: Trim(static_cast<const TTrimShape&>(*item), begin); break;
      case TShapeKind::RoundCorners: Round(static_cast<const TRoundShape&>(*item), begin); break;
      case TShapeKind::Repeater: Repeat(static_cast<const TRepeaterShape&>(*item), Group, Depth); break;
    }
  }
}

void TShapeEvaluator::AddGeometry(const TGeometryShape& Shape, int Group) {
  TGeom g{Group, nullptr, {}};
  if (Shape.Static) {
    if (Shape.Cached.Points.size() > FBudget.ShapePoints) return;
    FBudget.ShapePoints -= Shape.Cached.Points.size();
    g.Cached = &Shape.Cached;
  } else {
    g.Path.emplace_back();
    BuildGeometry(Shape, FTime, g.Path[0]);
    if (g.Path[0].Points.size() > FBudget.ShapePoints) return;
    FBudget.ShapePoints -= g.Path[0].Points.size();
  }
  FGeoms.push_back(std::move(g));
}

TPath& TShapeEvaluator::Mutable(TGeom& G) {
  if (G.Cached != nullptr) {
    G.Path.assign(1, *G.Cached);
    G.Cached = nullptr;
  }
  return G.Path;
}

void TShapeEvaluator::Trim(const TTrimShape& T, size_t Begin) {
  const size_t end = FGeoms.size();
  if (Begin == end) return;
  double s = T.Start.Scalar(FTime), e = T.End.Scalar(FTime), o = T.Offset.Scalar(FTime);
  double from = 0, to = 1;
  bool full = false;
  if (!TrimRange(s, e, o, from, to, full)) {
    for (size_t i = Begin; i < end; ++i) Mutable(FGeoms[i]).clear();
    return;
  }
  if (full) return;
  if (T.Individually) {
    std::vector<TPath*> paths;
    paths.reserve(end - Begin);
    for (size_t i = Begin; i < end; ++i) paths.push_back(&Mutable(FGeoms[i]));
    TrimPaths(paths.data(), paths.size(), from, to);
    return;
  }
  for (size_t i = Begin; i < end; ++i) {
    TPath* p = &Mutable(FGeoms[i]);
    TrimPaths(&p, 1, from, to);
  }
}

void TShapeEvaluator::Round(const TRoundShape& R, size_t Begin) {
  double radius = R.Radius.Scalar(FTime);
  if (!(radius > 0)) return;
  for (size_t i = Begin; i < FGeoms.size(); ++i) {
    TPath& p = Mutable(FGeoms[i]);
    size_t before = PointCount(p);
    RoundCorners(p, radius);
    // Rounding at most doubles the vertices; the budget pays for the growth.
    size_t grown = PointCount(p) - std::min(before, PointCount(p));
    if (grown > FBudget.ShapePoints) {
      p.clear();
      continue;
    }
    FBudget.ShapePoints -= grown;
  }
}

void TShapeEvaluator::Repeat(const TRepeaterShape& R, int Group, int Depth) {
  double count = R.Copies.Scalar(FTime);
  if (!(count > 0)) return;
  const int copies = static_cast<int>(std::min(std::ceil(count), double(kMaxRepeaterCopies)));
  double offset = R.Offset.Scalar(FTime);
  offset = std::clamp(std::isfinite(offset) ? offset : 0.0, -double(kMaxRepeaterCopies), double(kMaxRepeaterCopies));
  const TPointD anchor = R.Anchor.Point(FTime), position = R.Position.Point(FTime);
  TPointD scale = R.Scale.Point(FTime);
  scale = {scale.X / 100, scale.Y / 100};
  const double rotation = R.Rotation.Scalar(FTime);
  const double startOpacity = R.StartOpacity.Scalar(FTime) / 100, endOpacity = R.EndOpacity.Scalar(FTime) / 100;
  const double parentOpacity = FGroups[static_cast<size_t>(Group)].Opacity;
  // Paints are emitted last first: walking the copies from the first one puts it on top, as
  // the format's default composite has it; "below" puts the last copy on top.
  for (int n = 0; n < copies; ++n) {
    int i = R.Below ? copies - 1 - n : n;
    if (FBudget.Copies <= 0) return;
    --FBudget.Copies;
    double t = copies > 1 ? double(i) / (copies - 1) : 0;
    double opacity = Clamp01(startOpacity + (endOpacity - startOpacity) * t);
    int id = AddGroup(Group, RepeaterStep(anchor, position, scale, rotation, i + offset), parentOpacity * opacity);
    Walk(R.Items, id, Depth + 1);
  }
}

const TMatrix& TShapeEvaluator::ToRoot(int Group) {
  TGroupInst& g = FGroups[static_cast<size_t>(Group)];
  if (!g.HasToRoot) {
    TMatrix parent = ToRoot(g.Parent);  // groups nest at most kMaxGroupDepth deep
    FGroups[static_cast<size_t>(Group)].ToRoot = FGroups[static_cast<size_t>(Group)].Local.Then(parent);
    FGroups[static_cast<size_t>(Group)].HasToRoot = true;
  }
  return FGroups[static_cast<size_t>(Group)].ToRoot;
}

bool TShapeEvaluator::CollectPath(const TStyleRef& Ref, TPath& Out) {
  for (size_t i = Ref.Begin; i < Ref.End; ++i) {
    const TGeom& g = FGeoms[i];
    const TContour* contours = g.Cached != nullptr ? g.Cached : g.Path.data();
    size_t count = g.Cached != nullptr ? 1 : g.Path.size();
    bool inner = g.Group != Ref.Group;
    TMatrix toStyle;
    for (int k = g.Group; inner && k != Ref.Group && k >= 0; k = FGroups[static_cast<size_t>(k)].Parent)
      toStyle = toStyle.Then(FGroups[static_cast<size_t>(k)].Local);
    for (size_t c = 0; c < count; ++c) {
      if (contours[c].SegmentCount() == 0) continue;
      if (contours[c].Points.size() > FBudget.ScenePoints) return false;
      FBudget.ScenePoints -= contours[c].Points.size();
      Out.push_back(contours[c]);
      if (inner)
        for (auto& p : Out.back().Points) p = toStyle.Apply(p);
    }
  }
  return !Out.empty() && IsFinite(Out);
}

bool TShapeEvaluator::StrokeStyle(const TStyleShape& S, const TPath& Path, TStrokeStyle& Out) const {
  Out.Width = S.Width.Scalar(FTime);
  if (!(Out.Width > 0) || !std::isfinite(Out.Width)) return false;
  Out.Cap = S.Cap;
  Out.Join = S.Join;
  double miter = S.MiterLimit.Scalar(FTime);
  Out.MiterLimit = std::isfinite(miter) ? std::max(1.0, miter) : 4;
  if (S.Dashes.empty()) return true;
  double sum = 0;
  for (const TDash& d : S.Dashes) {
    double v = d.Length.Scalar(FTime);
    if (!std::isfinite(v)) return true;  // drawn solid
    if (d.Kind == TDashKind::Offset) {
      Out.DashOffset = v;
      continue;
    }
    Out.Dashes.push_back(std::max(0.0, v));
    sum += Out.Dashes.back();
  }
  // An odd pattern repeats once more so that dashes and gaps alternate throughout.
  if (Out.Dashes.size() % 2 == 1) {
    size_t n = Out.Dashes.size();
    for (size_t i = 0; i < n; ++i) Out.Dashes.push_back(Out.Dashes[i]);
    sum *= 2;
  }
  if (!(sum > 0) || PathLength(Path) / sum > kMaxDashRepeats) {
    Out.Dashes.clear();
    Out.DashOffset = 0;
  }
  return true;
}

bool TShapeEvaluator::GradientPaint(const TStyleShape& S, TGradient& Out) const {
  Out.Radial = S.Radial;
  Out.Start = S.Start.Point(FTime);
  Out.End = S.End.Point(FTime);
  // The focal point may not reach the rim, where a radial gradient has no meaning.
  Out.HighlightLength = std::clamp(S.HighlightLength.Scalar(FTime) / 100, -0.99, 0.99);
  Out.HighlightAngle = S.HighlightAngle.Scalar(FTime);
  const int dim = S.Stops.Dim;
  int colors = std::min(S.ColorStops, dim / 4);
  if (colors <= 0) return false;
  int opacities = std::min((dim - 4 * colors) / 2, kMaxGradientStops);
  std::vector<double> v(static_cast<size_t>(dim));
  S.Stops.Evaluate(FTime, v.data());
  MergeStops(v.data(), colors, opacities, Out.Stops);
  for (const auto& s : Out.Stops)
    if (!std::isfinite(s.Offset) || !std::isfinite(s.Color.R) || !std::isfinite(s.Color.G) ||
        !std::isfinite(s.Color.B) || !std::isfinite(s.Color.A))
      return false;
  return std::isfinite(Out.Start.X) && std::isfinite(Out.Start.Y) && std::isfinite(Out.End.X) &&
         std::isfinite(Out.End.Y) && std::isfinite(Out.HighlightAngle);
}

void TShapeEvaluator::Emit(const TStyleRef& Ref, std::vector<TSceneEntry>& Out) {
  if (Ref.Begin == Ref.End || FBudget.Items == 0) return;
  const TStyleShape& s = *Ref.Style;
  double opacity = FGroups[static_cast<size_t>(Ref.Group)].Opacity * Clamp01(s.Opacity.Scalar(FTime) / 100);
  if (!(opacity > 0)) return;
  auto item = std::make_unique<TDrawItem>();
  if (!CollectPath(Ref, item->Path)) return;
  item->Transform = ToRoot(Ref.Group);
  // A transform scaled to nothing draws nothing (and a renderer could not invert it).
  const TMatrix& t = item->Transform;
  if (!IsFinite(t) || !(std::fabs(t.M11 * t.M22 - t.M12 * t.M21) > 1e-12)) return;
  item->Paint.Opacity = opacity;
  item->IsStroke = s.IsStroke;
  if (s.IsStroke && !StrokeStyle(s, item->Path, item->Stroke)) return;
  if (!s.IsStroke) item->Rule = s.Rule;
  if (s.IsGradient) {
    item->Paint.IsGradient = true;
    if (!GradientPaint(s, item->Paint.Gradient)) return;
  } else {
    double c[3];
    s.Color.Evaluate(FTime, c);
    item->Paint.Color = {Clamp01(c[0]), Clamp01(c[1]), Clamp01(c[2]), 1};
  }
  --FBudget.Items;
  Out.push_back({std::move(item), nullptr});
}

}  // namespace kaLottie
