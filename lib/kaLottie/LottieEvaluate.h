// Evaluating a frame: what the evaluator's parts share. Not a public header.
#pragma once

#include <vector>

#include "lib/kaLottie/LottieModel.h"

namespace kaLottie {

// What one frame may still spend (see the limits in LottieModel.h).
struct TFrameBudget {
  int Layers = kMaxFrameLayers;
  int Copies = kMaxFrameCopies;
  size_t Items = kMaxFrameItems;
  size_t ScenePoints = kMaxFramePoints;
  size_t ShapePoints = kMaxFramePoints;
};

// Turns the shapes of one shape layer into draw items, bottom first.
//
// The format's rules: a paint (fill, stroke, gradient) paints every path before it in its
// group, those of the groups before it included, and a modifier (trim, round corners)
// changes every such path, whatever paints came between. So the paths are built and
// modified first, in document order, noting for each paint the run of paths it covers;
// then the paints are emitted last first, since earlier items lie on top. A paint draws
// in its own group's space, the paths of inner groups brought into it.
class TShapeEvaluator {
 public:
  explicit TShapeEvaluator(TFrameBudget& Budget) : FBudget(Budget) {}
  void Run(const TShapeList& Shapes, double Time, const TMatrix& LayerToRoot, double Opacity,
           std::vector<TSceneEntry>& Out);

 private:
  struct TGroupInst {
    int Parent;
    TMatrix Local;   // to the parent's space
    double Opacity;  // everything above multiplied in
    TMatrix ToRoot;
    bool HasToRoot;
  };
  struct TGeom {
    int Group;
    const TContour* Cached;  // a static shape's contour until something changes it
    TPath Path;
  };
  struct TStyleRef {
    const TStyleShape* Style;
    int Group;
    size_t Begin, End;  // the paths it paints
  };

  void Walk(const TShapeList& Items, int Group, int Depth);
  int AddGroup(int Parent, const TMatrix& Local, double Opacity);
  void AddGeometry(const TGeometryShape& Shape, int Group);
  TPath& Mutable(TGeom& G);
  void Trim(const TTrimShape& Trim, size_t Begin);
  void Round(const TRoundShape& Round, size_t Begin);
  void Repeat(const TRepeaterShape& Repeater, int Group, int Depth);
  const TMatrix& ToRoot(int Group);
  bool CollectPath(const TStyleRef& Ref, TPath& Out);
  void Emit(const TStyleRef& Ref, std::vector<TSceneEntry>& Out);
  bool StrokeStyle(const TStyleShape& Style, const TPath& Path, TStrokeStyle& Out) const;
  bool GradientPaint(const TStyleShape& Style, TGradient& Out) const;

  TFrameBudget& FBudget;
  double FTime = 0;
  std::vector<TGroupInst> FGroups;
  std::vector<TGeom> FGeoms;
  std::vector<TStyleRef> FStyles;
};

}  // namespace kaLottie
