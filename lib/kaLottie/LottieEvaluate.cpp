// Evaluating a frame: compositions and their layers, time, parenting, masks and mattes.
#include <algorithm>
#include <cmath>

#include "lib/kaLottie/LottieEvaluate.h"

namespace kaLottie {

void TTransform::Resolve() {
  Static = Anchor.IsStatic() && Position.IsStatic() && PositionX.IsStatic() && PositionY.IsStatic() &&
           Scale.IsStatic() && Rotation.IsStatic() && Opacity.IsStatic() && Skew.IsStatic() && SkewAxis.IsStatic();
  if (!Static) return;
  Static = false;  // so that the two below compute rather than read the cache
  StaticMatrix = Matrix(0);
  StaticOpacity = OpacityAt(0);
  Static = true;
}

TMatrix TTransform::Matrix(double Time) const {
  if (Static) return StaticMatrix;
  TPointD p = SplitPosition ? TPointD{PositionX.Scalar(Time), PositionY.Scalar(Time)} : Position.Point(Time);
  TPointD s = Scale.Point(Time);
  return MakeTransform(Anchor.Point(Time), p, {s.X / 100, s.Y / 100}, Rotation.Scalar(Time), Skew.Scalar(Time),
                       SkewAxis.Scalar(Time));
}

double TTransform::OpacityAt(double Time) const {
  if (Static) return StaticOpacity;
  double o = Opacity.Scalar(Time) / 100;
  return o > 0 ? (o < 1 ? o : 1) : 0;
}

void BuildGeometry(const TGeometryShape& Shape, double Time, TContour& Out) {
  switch (Shape.Kind) {
    case TShapeKind::Path: static_cast<const TPathShape&>(Shape).Path.Evaluate(Time, Out); break;
    case TShapeKind::Rect: {
      const auto& r = static_cast<const TRectShape&>(Shape);
      RectContour(r.Position.Point(Time), r.Size.Point(Time), r.Roundness.Scalar(Time), r.Reversed, Out);
      break;
    }
    case TShapeKind::Ellipse: {
      const auto& e = static_cast<const TEllipseShape&>(Shape);
      EllipseContour(e.Position.Point(Time), e.Size.Point(Time), e.Reversed, Out);
      break;
    }
    case TShapeKind::Star: {
      const auto& s = static_cast<const TStarShapeDef&>(Shape);
      TStarShape star;
      star.Polygon = s.Polygon;
      star.Centre = s.Position.Point(Time);
      star.Points = s.Points.Scalar(Time);
      star.OuterRadius = s.OuterRadius.Scalar(Time);
      star.InnerRadius = s.InnerRadius.Scalar(Time);
      star.OuterRoundness = s.OuterRoundness.Scalar(Time);
      star.InnerRoundness = s.InnerRoundness.Scalar(Time);
      star.Rotation = s.Rotation.Scalar(Time);
      star.Reversed = s.Reversed;
      StarContour(star, Out);
      break;
    }
    default: Out.Points.clear(); break;
  }
  for (const TPointD& p : Out.Points)
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
      Out.Points.clear();
      break;
    }
}

namespace {

class TEvaluator {
 public:
  explicit TEvaluator(const TDocument& Doc) : FDoc(Doc), FShapes(FBudget) {}
  void Composition(int Index, double Frame, const TMatrix& ToRoot, double Opacity, int Depth, TSceneNode& Out);

 private:
  struct TCompFrame {
    const TComposition& Comp;
    double Frame;
    TMatrix ToRoot;
    double Opacity;
    int Depth;
    std::vector<TMatrix> World;  // each layer's own transform with its parents'
    std::vector<char> HasWorld;
  };
  const TMatrix& WorldOf(TCompFrame& F, int Layer);
  std::unique_ptr<TSceneNode> Layer(TCompFrame& F, int Index);
  void Solid(const TLayer& L, const TMatrix& M, double Opacity, TSceneNode& Node);
  void Masks(const TLayer& L, double Time, const TMatrix& M, TSceneNode& Node);

  const TDocument& FDoc;
  TFrameBudget FBudget;
  TShapeEvaluator FShapes;
  std::vector<int> FChain;
};

// A layer's own keyframes are timed in its composition's frames (the exporter has already
// shifted and stretched them with the layer); start time and stretch give the time of a
// precomp's content.
double ContentTime(const TLayer& L, double Frame) { return (Frame - L.StartTime) / L.Stretch; }

const TMatrix& TEvaluator::WorldOf(TCompFrame& F, int Layer) {
  // Parent chains were freed of loops when read; they are walked without recursion since
  // they may be as long as the composition.
  FChain.clear();
  int j = Layer;
  while (j >= 0 && !F.HasWorld[static_cast<size_t>(j)]) {
    FChain.push_back(j);
    j = F.Comp.Layers[static_cast<size_t>(j)].Parent;
  }
  for (auto it = FChain.rbegin(); it != FChain.rend(); ++it) {
    const TLayer& L = F.Comp.Layers[static_cast<size_t>(*it)];
    TMatrix m = L.Transform.Matrix(F.Frame);
    if (L.Parent >= 0) m = m.Then(F.World[static_cast<size_t>(L.Parent)]);
    F.World[static_cast<size_t>(*it)] = m;
    F.HasWorld[static_cast<size_t>(*it)] = 1;
  }
  return F.World[static_cast<size_t>(Layer)];
}

void TEvaluator::Solid(const TLayer& L, const TMatrix& M, double Opacity, TSceneNode& Node) {
  if (!(L.SolidWidth > 0 && L.SolidHeight > 0) || FBudget.Items == 0) return;
  auto item = std::make_unique<TDrawItem>();
  TContour c;
  std::vector<TBezierVertex> v = {{{0, 0}, {}, {}},
                                  {{L.SolidWidth, 0}, {}, {}},
                                  {{L.SolidWidth, L.SolidHeight}, {}, {}},
                                  {{0, L.SolidHeight}, {}, {}}};
  BezierContour(v, true, c);
  item->Path.push_back(std::move(c));
  item->Transform = M;
  item->Paint.Color = L.SolidColor;
  item->Paint.Opacity = Opacity;
  --FBudget.Items;
  Node.Content.push_back({std::move(item), nullptr});
}

void TEvaluator::Masks(const TLayer& L, double Time, const TMatrix& M, TSceneNode& Node) {
  for (const TMaskDef& def : L.Masks) {
    TMask m;
    m.Mode = def.Mode;
    m.Inverted = def.Inverted;
    double o = def.Opacity.Scalar(Time) / 100;
    m.Opacity = o > 0 ? (o < 1 ? o : 1) : 0;
    m.Path.emplace_back();
    def.Path.Evaluate(Time, m.Path[0]);
    if (!IsFinite(m.Path)) m.Path.clear();
    m.Transform = M;
    // The first mask meets an empty layer: lightening or differencing that is adding, which
    // is how the scene states it (it takes the layer as fully kept before other modes).
    if (Node.Masks.empty() && (m.Mode == TMaskMode::Lighten || m.Mode == TMaskMode::Difference))
      m.Mode = TMaskMode::Add;
    Node.Masks.push_back(std::move(m));
  }
}

std::unique_ptr<TSceneNode> TEvaluator::Layer(TCompFrame& F, int Index) {
  const TLayer& L = F.Comp.Layers[static_cast<size_t>(Index)];
  if (!(L.InPoint <= F.Frame && F.Frame < L.OutPoint)) return nullptr;
  if (FBudget.Layers <= 0) return nullptr;
  --FBudget.Layers;
  const double time = F.Frame;
  const double opacity = F.Opacity * L.Transform.OpacityAt(time);
  if (!(opacity > 0)) return nullptr;
  const TMatrix m = WorldOf(F, Index).Then(F.ToRoot);
  if (!IsFinite(m)) return nullptr;
  auto node = std::make_unique<TSceneNode>();
  switch (L.Kind) {
    case TLayerKind::Shape: FShapes.Run(L.Shapes, time, m, opacity, node->Content); break;
    case TLayerKind::Solid: Solid(L, m, opacity, *node); break;
    case TLayerKind::Precomp: {
      if (L.Composition < 0 || F.Depth + 1 > kMaxPrecompDepth) break;
      // Time remapping gives the precomp's time in seconds.
      double frame = L.HasTimeRemap ? L.TimeRemap.Scalar(time) * FDoc.FrameRate : ContentTime(L, F.Frame);
      if (std::isfinite(frame)) Composition(L.Composition, frame, m, opacity, F.Depth + 1, *node);
      if (L.HasClip) {
        node->HasClip = true;
        node->ClipWidth = L.ClipWidth;
        node->ClipHeight = L.ClipHeight;
        node->ClipTransform = m;
      }
      break;
    }
    default: break;
  }
  if (node->Content.empty()) return nullptr;
  Masks(L, time, m, *node);
  return node;
}

void TEvaluator::Composition(int Index, double Frame, const TMatrix& ToRoot, double Opacity, int Depth,
                             TSceneNode& Out) {
  const TComposition& comp = FDoc.Compositions[static_cast<size_t>(Index)];
  const size_t n = comp.Layers.size();
  TCompFrame f{comp, Frame, ToRoot, Opacity, Depth, std::vector<TMatrix>(n), std::vector<char>(n, 0)};
  // The first layer lies on top: paint from the last.
  for (size_t i = n; i-- > 0;) {
    const TLayer& L = comp.Layers[i];
    if (L.Hidden || L.IsMatteSource) continue;
    auto node = Layer(f, static_cast<int>(i));
    if (node == nullptr) continue;
    if (L.Matte != TMatteMode::None) {
      // The matte source is drawn only through the layer it shows; its own matte, if any,
      // is not followed (mattes of mattes could chain without end through "tp").
      auto source = Layer(f, L.MatteSource);
      node->Matte = L.Matte;
      node->MatteSource = source != nullptr ? std::move(source) : std::make_unique<TSceneNode>();
    }
    Out.Content.push_back({nullptr, std::move(node)});
  }
}

}  // namespace

std::unique_ptr<TScene> EvaluateFrame(const TDocument& Doc, double Frame) {
  auto scene = std::make_unique<TScene>();
  scene->Width = Doc.Width;
  scene->Height = Doc.Height;
  if (Doc.Compositions.empty()) return scene;
  // Below the in point the first frame shows; at or past the out point the last moment
  // before it (layers ending at the out point are still there).
  double frame = Frame >= Doc.InPoint ? Frame : Doc.InPoint;
  if (frame >= Doc.OutPoint)
    frame = std::max(Doc.InPoint, Doc.OutPoint - std::max(1e-6, std::fabs(Doc.OutPoint) * 1e-12));
  TEvaluator(Doc).Composition(0, frame, TMatrix(), 1, 0, scene->Root);
  return scene;
}

}  // namespace kaLottie
