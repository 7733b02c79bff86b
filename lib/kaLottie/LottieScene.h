// One frame of a Lottie animation, evaluated: what to draw, in paint order, with every
// animated value resolved, every time mapping applied and every geometry modifier (trim,
// round corners, repeater) already baked into the paths. The evaluator builds it from the
// document; the renderer draws it and knows nothing of keyframes or the file format.
//
// Coordinates: every path, mask and clip carries its own Transform from its local space to
// the scene's root space (the composition, 0..Width x 0..Height). Strokes are drawn in local
// space, so a scaled or skewed transform scales or skews the pen as well.
//
// Opacity: the opacities of layers, precomps, groups and repeater copies are multiplied into
// each item's Paint.Opacity (elements are blended one by one, the way designers' previews
// draw them); only masks and track mattes composite a node as a whole.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kaLottie {

struct TPointD {
  double X = 0, Y = 0;
  bool operator==(const TPointD&) const = default;
};

// Affine map in the GDI+ Matrix order: x' = M11*x + M21*y + DX, y' = M12*x + M22*y + DY.
struct TMatrix {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, DX = 0, DY = 0;

  TPointD Apply(TPointD P) const { return {M11 * P.X + M21 * P.Y + DX, M12 * P.X + M22 * P.Y + DY}; }
  // The map that applies this one first, then Outer.
  TMatrix Then(const TMatrix& Outer) const {
    return {M11 * Outer.M11 + M12 * Outer.M21, M11 * Outer.M12 + M12 * Outer.M22,
            M21 * Outer.M11 + M22 * Outer.M21, M21 * Outer.M12 + M22 * Outer.M22,
            DX * Outer.M11 + DY * Outer.M21 + Outer.DX, DX * Outer.M12 + DY * Outer.M22 + Outer.DY};
  }
  bool operator==(const TMatrix&) const = default;
};

// A chain of cubic bezier segments: Points[0] is the start, then (control 1, control 2, end)
// for each segment, so Points.size() == 1 + 3 * segments. Straight segments have their
// controls on the end points. A closed contour has a closing segment back to Points[0]
// among its segments when that edge is curved or non-empty; Closed only asks for the join.
struct TContour {
  std::vector<TPointD> Points;
  bool Closed = false;
  size_t SegmentCount() const { return Points.empty() ? 0 : (Points.size() - 1) / 3; }
};
using TPath = std::vector<TContour>;

enum class TFillRule : uint8_t { NonZero, EvenOdd };
enum class TLineCap : uint8_t { Butt, Round, Square };
enum class TLineJoin : uint8_t { Miter, Round, Bevel };

// Colour components and alpha are 0..1, not premultiplied.
struct TColorD {
  double R = 0, G = 0, B = 0, A = 1;
  bool operator==(const TColorD&) const = default;
};

struct TGradientStop {
  double Offset = 0;  // 0..1 along the gradient
  TColorD Color;      // colour stops and opacity stops already merged
};

struct TGradient {
  bool Radial = false;
  // In the item's local space. Linear: from Start to End. Radial: centred on Start with the
  // radius |End - Start|; the focal point lies HighlightLength (-1..1, a fraction of the
  // radius) from the centre at HighlightAngle degrees from the Start-to-End direction.
  TPointD Start, End;
  double HighlightLength = 0;
  double HighlightAngle = 0;
  std::vector<TGradientStop> Stops;  // ordered by offset, at least one
};

struct TPaint {
  bool IsGradient = false;
  TColorD Color;  // solid paint; Color.A is 1 (the alpha is Opacity)
  TGradient Gradient;
  double Opacity = 1;  // 0..1, everything above already multiplied in
};

struct TStrokeStyle {
  double Width = 1;  // local units; items of width 0 or less are never emitted
  TLineCap Cap = TLineCap::Butt;
  TLineJoin Join = TLineJoin::Miter;
  double MiterLimit = 4;
  // Alternating dash and gap lengths in local units (empty: solid), and the offset into
  // the pattern where the path starts.
  std::vector<double> Dashes;
  double DashOffset = 0;
};

struct TDrawItem {
  TPath Path;
  TMatrix Transform;  // local space to root space
  TPaint Paint;
  bool IsStroke = false;
  TStrokeStyle Stroke;                 // strokes only
  TFillRule Rule = TFillRule::NonZero;  // fills only
};

enum class TMaskMode : uint8_t { Add, Subtract, Intersect, Lighten, Darken, Difference };

struct TMask {
  TMaskMode Mode = TMaskMode::Add;
  bool Inverted = false;
  double Opacity = 1;  // 0..1
  TPath Path;
  TMatrix Transform;  // the layer's space to root space
};

enum class TMatteMode : uint8_t { None, Alpha, AlphaInverted, Luma, LumaInverted };

struct TSceneNode;

// One entry of a node's content, painted in order (the first one lowest): either a draw
// item or a nested node (a layer, or the layers of a precomp).
struct TSceneEntry {
  std::unique_ptr<TDrawItem> Item;
  std::unique_ptr<TSceneNode> Node;
};

struct TSceneNode {
  std::vector<TSceneEntry> Content;
  // Applied in order to the whole content (the first mask's mode against nothing is taken
  // as if the content were fully masked out before an Add, fully kept before the others).
  std::vector<TMask> Masks;
  // A precomp's content is clipped to its own 0..ClipWidth x 0..ClipHeight under
  // ClipTransform; HasClip false means no clip.
  bool HasClip = false;
  double ClipWidth = 0, ClipHeight = 0;
  TMatrix ClipTransform;
  // The node is shown through the matte source's alpha or luminance; the source itself is
  // not drawn anywhere else.
  TMatteMode Matte = TMatteMode::None;
  std::unique_ptr<TSceneNode> MatteSource;
};

struct TScene {
  double Width = 0, Height = 0;  // the composition's size
  TSceneNode Root;
};

}  // namespace kaLottie
