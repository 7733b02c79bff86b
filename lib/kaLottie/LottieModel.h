// The Lottie document as read from its JSON: compositions, layers, shapes and animated
// properties, checked and normalised once at load so that evaluating a frame never meets
// a malformed value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Types.h"
#include "lib/kaLottie/LottieGeometry.h"
#include "lib/kaLottie/LottieProperty.h"
#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

// Limits against absurd input. Documents past a load limit fail with a message naming it;
// the per-frame budgets silently leave out whatever lies beyond them (a document that
// multiplies its content past them is not meant to be drawn anyway).
//
// The whole document text (a 35 x 35 icon is a few kB, a full-screen scene a few MB); its
// JSON tree takes up to about eight times as much memory.
constexpr size_t kMaxDocumentBytes = size_t(16) << 20;
// Nesting of JSON arrays and objects; the deepest real documents stay below 40.
constexpr int kMaxJsonDepth = 256;
// Groups inside groups; deeper content is skipped.
constexpr int kMaxGroupDepth = 64;
// Precomps inside precomps while drawing; deeper ones are skipped.
constexpr int kMaxPrecompDepth = 16;
// Layers and shapes of the whole document, keyframes of one property, vertices of one path.
constexpr size_t kMaxLayers = 10000;
constexpr size_t kMaxShapes = 100000;
constexpr size_t kMaxKeyframes = 100000;
constexpr size_t kMaxVertices = 100000;
// Copies of one repeater, and the repeater offset taken into account (in copies).
constexpr int kMaxRepeaterCopies = 1000;
// Colour stops and opacity stops of one gradient, entries of one dash pattern.
constexpr int kMaxGradientStops = 256;
constexpr size_t kMaxDashes = 32;
// A dash pattern repeating more often than this along its path is drawn solid.
constexpr double kMaxDashRepeats = 100000;
// Entries of the list of what was skipped.
constexpr size_t kMaxDiagnostics = 64;
// Per frame: layers evaluated (precomp instances and matte sources counted), repeater
// copies, draw items, and path points in the scene (about 32 MB).
constexpr int kMaxFrameLayers = 10000;
constexpr int kMaxFrameCopies = 10000;
constexpr size_t kMaxFrameItems = 20000;
constexpr size_t kMaxFramePoints = size_t(1) << 21;

// A transform of a layer ("ks"), a group ("tr") or a repeater copy.
struct TTransform {
  TAnimated Anchor{std::vector<double>{0, 0}};
  TAnimated Position{std::vector<double>{0, 0}};
  TAnimated PositionX{std::vector<double>{0}}, PositionY{std::vector<double>{0}};
  bool SplitPosition = false;
  TAnimated Scale{std::vector<double>{100, 100}};  // percent
  TAnimated Rotation{std::vector<double>{0}};      // degrees, clockwise
  TAnimated Opacity{std::vector<double>{100}};     // percent
  TAnimated Skew{std::vector<double>{0}}, SkewAxis{std::vector<double>{0}};
  // Resolved once when nothing is animated.
  bool Static = false;
  TMatrix StaticMatrix;
  double StaticOpacity = 1;

  void Resolve();  // sets Static and the static values
  TMatrix Matrix(double Time) const;
  double OpacityAt(double Time) const;  // 0..1
};

enum class TShapeKind : uint8_t { Group, Path, Rect, Ellipse, Star, Style, Trim, RoundCorners, Repeater };

struct TShape {
  explicit TShape(TShapeKind Kind) : Kind(Kind) {}
  virtual ~TShape() = default;
  TShapeKind Kind;
  // Levels of groups and repeaters inside this one (0 for a leaf); kept below
  // kMaxGroupDepth so that walking and freeing the tree stays shallow.
  int Nesting = 0;
};
using TShapeList = std::vector<std::unique_ptr<TShape>>;

struct TGroupShape : TShape {
  TGroupShape() : TShape(TShapeKind::Group) {}
  TShapeList Items;
  TTransform Transform;
};

// A path, rectangle, ellipse or star: one contour. Cached holds it when nothing animates.
struct TGeometryShape : TShape {
  using TShape::TShape;
  bool Reversed = false;
  bool Static = false;
  TContour Cached;
};

struct TPathShape : TGeometryShape {
  TPathShape() : TGeometryShape(TShapeKind::Path) {}
  TAnimatedPath Path;
};

struct TRectShape : TGeometryShape {
  TRectShape() : TGeometryShape(TShapeKind::Rect) {}
  TAnimated Position{std::vector<double>{0, 0}}, Size{std::vector<double>{0, 0}}, Roundness{std::vector<double>{0}};
};

struct TEllipseShape : TGeometryShape {
  TEllipseShape() : TGeometryShape(TShapeKind::Ellipse) {}
  TAnimated Position{std::vector<double>{0, 0}}, Size{std::vector<double>{0, 0}};
};

struct TStarShapeDef : TGeometryShape {
  TStarShapeDef() : TGeometryShape(TShapeKind::Star) {}
  bool Polygon = false;
  TAnimated Position{std::vector<double>{0, 0}};
  TAnimated Points{std::vector<double>{5}};
  TAnimated OuterRadius{std::vector<double>{0}}, InnerRadius{std::vector<double>{0}};
  TAnimated OuterRoundness{std::vector<double>{0}}, InnerRoundness{std::vector<double>{0}};
  TAnimated Rotation{std::vector<double>{0}};
};

enum class TDashKind : uint8_t { Dash, Gap, Offset };
struct TDash {
  TDashKind Kind = TDashKind::Dash;
  TAnimated Length{std::vector<double>{0}};
};

// Fill, stroke, gradient fill or gradient stroke: paints the paths before it.
struct TStyleShape : TShape {
  TStyleShape() : TShape(TShapeKind::Style) {}
  bool IsStroke = false, IsGradient = false;
  TAnimated Opacity{std::vector<double>{100}};  // percent
  TAnimated Color{std::vector<double>{0, 0, 0}};
  TFillRule Rule = TFillRule::NonZero;
  TAnimated Width{std::vector<double>{1}};
  TLineCap Cap = TLineCap::Round;
  TLineJoin Join = TLineJoin::Round;
  TAnimated MiterLimit{std::vector<double>{4}};
  std::vector<TDash> Dashes;
  bool Radial = false;
  TAnimated Start{std::vector<double>{0, 0}}, End{std::vector<double>{0, 0}};
  TAnimated HighlightLength{std::vector<double>{0}}, HighlightAngle{std::vector<double>{0}};  // percent, degrees
  // The flat list: ColorStops times (offset, r, g, b), then (offset, opacity) pairs.
  TAnimated Stops;
  int ColorStops = 0;
};

struct TTrimShape : TShape {
  TTrimShape() : TShape(TShapeKind::Trim) {}
  TAnimated Start{std::vector<double>{0}}, End{std::vector<double>{100}}, Offset{std::vector<double>{0}};
  bool Individually = false;  // the paths as one sequence rather than each on its own
};

struct TRoundShape : TShape {
  TRoundShape() : TShape(TShapeKind::RoundCorners) {}
  TAnimated Radius{std::vector<double>{0}};
};

// Repeats the items that came before it in its group (moved into Items when read).
struct TRepeaterShape : TShape {
  TRepeaterShape() : TShape(TShapeKind::Repeater) {}
  TShapeList Items;
  TAnimated Copies{std::vector<double>{1}}, Offset{std::vector<double>{0}};
  TAnimated Anchor{std::vector<double>{0, 0}}, Position{std::vector<double>{0, 0}};
  TAnimated Scale{std::vector<double>{100, 100}}, Rotation{std::vector<double>{0}};
  TAnimated StartOpacity{std::vector<double>{100}}, EndOpacity{std::vector<double>{100}};
  bool Below = false;  // each copy under the one before
};

struct TMaskDef {
  TMaskMode Mode = TMaskMode::Add;
  bool Inverted = false;
  TAnimatedPath Path;
  TAnimated Opacity{std::vector<double>{100}};
};

enum class TLayerKind : uint8_t { Precomp, Solid, Image, Null, Shape, Text, Other };

struct TLayer {
  TLayerKind Kind = TLayerKind::Null;
  bool HasIndex = false;
  int64_t Index = 0;  // "ind"
  int Parent = -1;    // position of the parent in the composition
  double InPoint = 0, OutPoint = 0, StartTime = 0, Stretch = 1;
  bool Hidden = false;
  bool IsMatteSource = false;
  TMatteMode Matte = TMatteMode::None;
  int MatteSource = -1;  // position in the composition
  TTransform Transform;
  std::vector<TMaskDef> Masks;
  // Shape layers.
  TShapeList Shapes;
  // Solid layers.
  double SolidWidth = 0, SolidHeight = 0;
  TColorD SolidColor;
  // Precomp layers: the composition (-1: none), its clip, its time remapping (seconds).
  int Composition = -1;
  bool HasClip = false;
  double ClipWidth = 0, ClipHeight = 0;
  bool HasTimeRemap = false;
  TAnimated TimeRemap{std::vector<double>{0}};
};

struct TComposition {
  std::vector<TLayer> Layers;  // the first one on top
};

class TDocument {
 public:
  double Width = 0, Height = 0;
  double FrameRate = 1;
  double InPoint = 0, OutPoint = 0;
  // What was skipped while reading, each kind once.
  std::vector<String> Diagnostics;
  // [0] is the animation itself, the precomps follow.
  std::vector<TComposition> Compositions;
};

// Reads a document; throws ELottieError naming what is wrong.
std::unique_ptr<TDocument> ParseDocument(const uint8_t* Data, size_t Size);

// The scene of one frame (a document frame number, clamped to InPoint .. OutPoint).
std::unique_ptr<TScene> EvaluateFrame(const TDocument& Doc, double Frame);

// The contour of a geometry shape at Time (empty when its values are not finite).
void BuildGeometry(const TGeometryShape& Shape, double Time, TContour& Out);

}  // namespace kaLottie
