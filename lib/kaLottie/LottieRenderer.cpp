// The scene walk: fitting into the destination, nodes drawn straight onto the target or,
// when masks, a track matte or a rotated clip shape them, through an off-screen layer of
// just the pixels that can show, combined with their coverage and blended back. Items are
// drawn by GDI+, or by the coverage rasteriser into memory at hand: then no GDI+ call is
// made at all, except to blend a finished frame onto a caller's surface.
#include "lib/kaLottie/LottieRenderer.h"

#include <algorithm>
#include <cmath>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaLottie/LottieRenderInternal.h"

namespace kaLottie {

using namespace render;

namespace {

// Saves the whole state of a surface and restores it on the way out, exceptions included.
class TStateScope {
 public:
  explicit TStateScope(Gdiplus::Graphics& G) : FG(G), FState(G.Save()) {}
  ~TStateScope() { FG.Restore(FState); }
  TStateScope(const TStateScope&) = delete;
  TStateScope& operator=(const TStateScope&) = delete;

 private:
  Gdiplus::Graphics& FG;
  Gdiplus::GraphicsState FState;
};

// Device pixels per page unit of a surface, in x and y.
TPointD PagePixels(const Gdiplus::Graphics& G) {
  double unit = 1;  // pixels, display units and world units on a screen or a bitmap
  switch (G.GetPageUnit()) {
    case Gdiplus::UnitPoint: unit = 1 / 72.0; break;
    case Gdiplus::UnitInch: unit = 1; break;
    case Gdiplus::UnitDocument: unit = 1 / 300.0; break;
    case Gdiplus::UnitMillimeter: unit = 1 / 25.4; break;
    default: return {G.GetPageScale(), G.GetPageScale()};
  }
  return {unit * G.GetDpiX() * G.GetPageScale(), unit * G.GetDpiY() * G.GetPageScale()};
}

TBoundsD Intersect(const TBoundsD& A, const TBoundsD& B) {
  TBoundsD r;
  r.L = std::max(A.L, B.L);
  r.T = std::max(A.T, B.T);
  r.R = std::min(A.R, B.R);
  r.B = std::min(A.B, B.B);
  return r.Empty() ? TBoundsD{} : r;
}

TMatrix ClipToDevice(const TSceneNode& N, const TMatrix& RootToDevice) {
  return N.ClipTransform.Then(RootToDevice);
}

// The precomp's clip rectangle as a closed contour in its own space.
TPath ClipPath(const TSceneNode& N) {
  const TPointD c[4] = {{0, 0}, {N.ClipWidth, 0}, {N.ClipWidth, N.ClipHeight}, {0, N.ClipHeight}};
  TContour contour;
  contour.Closed = true;
  contour.Points.push_back(c[0]);
  for (int i = 1; i <= 4; ++i) {
    contour.Points.push_back(c[i - 1]);
    contour.Points.push_back(c[i % 4]);
    contour.Points.push_back(c[i % 4]);
  }
  return {contour};
}

TBoundsD ClipBounds(const TSceneNode& N, const TMatrix& RootToDevice) {
  if (!(N.ClipWidth > 0 && N.ClipHeight > 0)) return {};
  return PathBounds(ClipPath(N), ClipToDevice(N, RootToDevice));
}

// True when the clip rectangle stays a rectangle on the pixel grid; Box is then the
// pixels whose centres it holds.
bool AxisAlignedClip(const TSceneNode& N, const TMatrix& RootToDevice, TRectI& Box) {
  const TMatrix m = ClipToDevice(N, RootToDevice);
  const double eps = 1e-9 * MaxScale(m);
  if (!((std::fabs(m.M12) <= eps && std::fabs(m.M21) <= eps) || (std::fabs(m.M11) <= eps && std::fabs(m.M22) <= eps)))
    return false;
  const TBoundsD b = ClipBounds(N, RootToDevice);
  Box = {};
  if (b.Empty()) return true;
  const TRectI outer = b.Pixels(0);
  auto px = [](double V) { return static_cast<int>(std::floor(V + 0.5)); };
  Box = TRectI{px(b.L), px(b.T), px(b.R), px(b.B)}.Intersect(outer);
  return true;
}

// Everything a node can paint: its items and nested nodes, cut to its clip.
TBoundsD NodeBounds(const TSceneNode& N, const TMatrix& RootToDevice) {
  TBoundsD b;
  for (const TSceneEntry& e : N.Content) {
    if (e.Item) b.Add(ItemBounds(*e.Item, RootToDevice));
    if (e.Node) b.Add(NodeBounds(*e.Node, RootToDevice));
  }
  if (N.HasClip) b = Intersect(b, ClipBounds(N, RootToDevice));
  return b;
}

// Where the masks can leave anything visible: everywhere (All), or within Box.
struct TReach {
  bool All = true;
  TBoundsD Box;
};

TReach MaskReach(const std::vector<TMask>& Masks, const TMatrix& RootToDevice) {
  TReach r;
  r.All = Masks.front().Mode != TMaskMode::Add;
  for (const TMask& m : Masks) {
    const TBoundsD b = PathBounds(m.Path, m.Transform.Then(RootToDevice));
    switch (m.Mode) {
      case TMaskMode::Add:
      case TMaskMode::Lighten:
      case TMaskMode::Difference:
        if (m.Inverted) r.All = true;
        else if (!r.All) r.Box.Add(b);
        break;
      case TMaskMode::Intersect:
      case TMaskMode::Darken:
        if (m.Inverted) break;
        r.Box = r.All ? b : Intersect(r.Box, b);
        r.All = false;
        break;
      case TMaskMode::Subtract: break;
    }
  }
  return r;
}

// Scales every premultiplied pixel by Factor(i) / 255.
template <class F>
void ScalePixels(uint32_t* Pixels, size_t Count, F&& Factor) {
  for (size_t i = 0; i < Count; ++i) {
    const uint32_t f = Factor(i);
    if (f >= 255) continue;
    const uint32_t p = Pixels[i];
    Pixels[i] = f == 0 || p == 0 ? 0 : ScalePixel(p, f);
  }
}

uint32_t CombineMask(TMaskMode Mode, uint32_t C, uint32_t M) {
  switch (Mode) {
    case TMaskMode::Add: return C + M - Div255(C * M);
    case TMaskMode::Subtract: return Div255(C * (255 - M));
    case TMaskMode::Intersect: return Div255(C * M);
    case TMaskMode::Lighten: return std::max(C, M);
    case TMaskMode::Darken: return std::min(C, M);
    case TMaskMode::Difference: return C > M ? C - M : M - C;
  }
  return C;
}

// The matte's value at a premultiplied pixel of the matte source.
uint32_t MatteValue(TMatteMode Mode, uint32_t P) {
  const uint32_t a = P >> 24;
  // Luminance of the premultiplied colour: the matte seen over black.
  auto luma = [P] {
    return (((P >> 16) & 0xFF) * 54 + ((P >> 8) & 0xFF) * 183 + (P & 0xFF) * 19 + 128) >> 8;
  };
  switch (Mode) {
    case TMatteMode::Alpha: return a;
    case TMatteMode::AlphaInverted: return 255 - a;
    case TMatteMode::Luma: return std::min<uint32_t>(luma(), 255);
    case TMatteMode::LumaInverted: return 255 - std::min<uint32_t>(luma(), 255);
    default: return 255;
  }
}

// Blends Content (premultiplied) over the target at Box.
void Composite(TLayer& Content, const TRectI& Box, const TTarget& T) {
  if (T.Pixels != nullptr) {
    // Memory at hand: premultiplied source-over by hand, exact and without a GDI+ call.
    const int w = Box.Width();
    for (int y = 0; y < Box.Height(); ++y) {
      const uint32_t* s = Content.Pixels() + static_cast<size_t>(y) * w;
      uint32_t* d = T.Pixels + static_cast<size_t>(Box.T + y) * T.Stride + Box.L;
      for (int x = 0; x < w; ++x)
        if (s[x] != 0) d[x] = BlendOver(d[x], s[x]);
    }
    return;
  }
  T.G->ResetTransform();
  T.G->DrawImage(&Content.Bitmap(), Gdiplus::Rect(Box.L, Box.T, Box.Width(), Box.Height()), 0, 0, Box.Width(),
                 Box.Height(), Gdiplus::UnitPixel);
}

TTarget LayerTarget(TLayer& Layer, const TMatrix& RootToLayer, bool Coverage) {
  return {Coverage ? nullptr : &Layer.Graphics(), RootToLayer, {0, 0, Layer.Width(), Layer.Height()},
          Layer.Pixels(), size_t(Layer.Width()), Coverage};
}

// The scene's root space fitted into Dest (uniformly scaled, centred); false when either
// has no area.
bool Fit(const TScene& Scene, const Gdiplus::RectF& Dest, TMatrix& Map) {
  const double w = Scene.Width, h = Scene.Height;
  if (!(w > 0 && h > 0 && Dest.Width > 0 && Dest.Height > 0) || !std::isfinite(w * h)) return false;
  const double scale = std::min(Dest.Width / w, Dest.Height / h);
  Map = {scale, 0, 0, scale, Dest.X + (Dest.Width - w * scale) / 2, Dest.Y + (Dest.Height - h * scale) / 2};
  return IsFinite(Map);
}

class TPainter {
 public:
  // Coverage: everything is drawn by the coverage rasteriser, layers included.
  TPainter(TPixelPool& Pool, TScratch& Scratch, bool Coverage) : FPool(Pool), FScratch(Scratch), FCoverage(Coverage) {}
  void DrawNode(const TSceneNode& N, const TTarget& T);

 private:
  void DrawContent(const TSceneNode& N, const TTarget& T);
  void DrawClipped(const TSceneNode& N, const TTarget& T, const TRectI& ClipBox);
  void DrawLayered(const TSceneNode& N, const TTarget& T, bool AlignedClip);
  TRectI LayerBox(const TSceneNode& N, const TTarget& T) const;
  void ApplyMasks(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer);
  void ApplyClip(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer);
  void ApplyMatte(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer);

  TPixelPool& FPool;
  TScratch& FScratch;
  bool FCoverage;
};

void TPainter::DrawNode(const TSceneNode& N, const TTarget& T) {
  if (T.Bounds.Empty()) return;
  const bool shaped = !N.Masks.empty() || N.Matte != TMatteMode::None;
  TRectI clipBox;
  const bool aligned = N.HasClip && AxisAlignedClip(N, T.RootToDevice, clipBox);
  if (shaped || (N.HasClip && !aligned))
    DrawLayered(N, T, aligned);
  else if (N.HasClip)
    DrawClipped(N, T, clipBox);
  else
    DrawContent(N, T);
}

void TPainter::DrawContent(const TSceneNode& N, const TTarget& T) {
  for (const TSceneEntry& e : N.Content) {
    if (e.Item) DrawItem(*e.Item, T, FScratch);
    if (e.Node) DrawNode(*e.Node, T);
  }
}

// A clip that stays a pixel rectangle is a clip region of the surface: no layer needed.
void TPainter::DrawClipped(const TSceneNode& N, const TTarget& T, const TRectI& ClipBox) {
  TTarget inner = T;
  inner.Bounds = T.Bounds.Intersect(ClipBox);
  if (inner.Bounds.Empty()) return;
  if (T.Coverage) {  // the rasteriser keeps to the target's bounds by itself
    DrawContent(N, inner);
    return;
  }
  TStateScope state(*T.G);
  T.G->ResetTransform();
  T.G->SetClip(Gdiplus::Rect(inner.Bounds.L, inner.Bounds.T, inner.Bounds.Width(), inner.Bounds.Height()),
               Gdiplus::CombineModeIntersect);
  DrawContent(N, inner);
}

TRectI TPainter::LayerBox(const TSceneNode& N, const TTarget& T) const {
  TBoundsD reach = NodeBounds(N, T.RootToDevice);
  if (!N.Masks.empty()) {
    const TReach masks = MaskReach(N.Masks, T.RootToDevice);
    if (!masks.All) reach = Intersect(reach, masks.Box);
  }
  if (N.Matte == TMatteMode::Alpha || N.Matte == TMatteMode::Luma)
    reach = N.MatteSource ? Intersect(reach, NodeBounds(*N.MatteSource, T.RootToDevice)) : TBoundsD{};
  return reach.Pixels(1).Intersect(T.Bounds);
}

void TPainter::DrawLayered(const TSceneNode& N, const TTarget& T, bool AlignedClip) {
  TRectI box = LayerBox(N, T);
  if (AlignedClip) {
    TRectI clipBox;
    AxisAlignedClip(N, T.RootToDevice, clipBox);
    box = box.Intersect(clipBox);
  }
  if (box.Empty() || int64_t(box.Width()) * box.Height() > kMaxLayerPixels) return;
  TLayer content(FPool, box.Width(), box.Height());
  const TMatrix rootToLayer = T.RootToDevice.Then(Translation(-box.L, -box.T));
  DrawContent(N, LayerTarget(content, rootToLayer, FCoverage));
  if (!N.Masks.empty()) ApplyMasks(N, content, rootToLayer);
  if (N.HasClip && !AlignedClip) ApplyClip(N, content, rootToLayer);
  if (N.Matte != TMatteMode::None) ApplyMatte(N, content, rootToLayer);
  Composite(content, box, T);
}

void TPainter::ApplyMasks(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer) {
  const size_t count = static_cast<size_t>(Content.Width()) * Content.Height();
  TPixelPool::TLease coverageMemory(FPool, (count + 3) / 4);
  uint8_t* coverage = reinterpret_cast<uint8_t*>(coverageMemory.Data());
  // Before the first mask the content counts as hidden when that mask adds, and as shown
  // for the others.
  std::fill(coverage, coverage + count, N.Masks.front().Mode == TMaskMode::Add ? 0 : 255);
  TLayer shape(FPool, Content.Width(), Content.Height());
  for (const TMask& m : N.Masks) {
    if (&m != &N.Masks.front()) shape.Clear();
    FillCoverage(m.Path, m.Transform.Then(RootToLayer), TFillRule::NonZero, shape, FScratch, FCoverage);
    const uint32_t opacity = static_cast<uint32_t>(std::clamp(m.Opacity, 0.0, 1.0) * 255 + 0.5);
    const uint32_t* px = shape.Pixels();
    for (size_t i = 0; i < count; ++i) {
      const uint32_t a = px[i] >> 24;
      coverage[i] = static_cast<uint8_t>(CombineMask(m.Mode, coverage[i], Div255((m.Inverted ? 255 - a : a) * opacity)));
    }
  }
  ScalePixels(Content.Pixels(), count, [coverage](size_t i) { return coverage[i]; });
}

void TPainter::ApplyClip(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer) {
  TLayer shape(FPool, Content.Width(), Content.Height());
  FillCoverage(ClipPath(N), ClipToDevice(N, RootToLayer), TFillRule::NonZero, shape, FScratch, FCoverage);
  const uint32_t* px = shape.Pixels();
  ScalePixels(Content.Pixels(), static_cast<size_t>(Content.Width()) * Content.Height(),
              [px](size_t i) { return px[i] >> 24; });
}

void TPainter::ApplyMatte(const TSceneNode& N, TLayer& Content, const TMatrix& RootToLayer) {
  TLayer matte(FPool, Content.Width(), Content.Height());
  // A missing source is an empty one: it hides everything, or, inverted, nothing.
  if (N.MatteSource)
    DrawNode(*N.MatteSource, LayerTarget(matte, RootToLayer, FCoverage));
  const uint32_t* px = matte.Pixels();
  const TMatteMode mode = N.Matte;
  ScalePixels(Content.Pixels(), static_cast<size_t>(Content.Width()) * Content.Height(),
              [px, mode](size_t i) { return MatteValue(mode, px[i]); });
}

}  // namespace

struct TSceneRenderer::TCache {
  TPixelPool Pool;
  TScratch Scratch;
};

TSceneRenderer::TSceneRenderer() : FCache(std::make_unique<TCache>()) { FCache->Scratch.Pool = &FCache->Pool; }
TSceneRenderer::~TSceneRenderer() = default;

bool TSceneRenderer::UsesCoverage() const {
  switch (FRasteriser) {
    case TRasteriser::GdiPlus: return false;
    case TRasteriser::Coverage: return true;
    default: return !GdiplusAntiAliases();
  }
}

void TSceneRenderer::Draw(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest) {
  TMatrix fit;
  if (!Fit(Scene, Dest, fit)) return;
  TStateScope state(G);
  Gdiplus::Matrix world;
  G.GetTransform(&world);
  Gdiplus::REAL e[6];
  world.GetElements(e);
  const TPointD page = PagePixels(G);
  // Everything below works in device pixels: the caller's world and page transforms are
  // folded into the scene's own map.
  const TMatrix rootToDevice = fit.Then({e[0], e[1], e[2], e[3], e[4], e[5]}).Then({page.X, 0, 0, page.Y, 0, 0});
  if (!IsFinite(rootToDevice)) return;
  G.ResetTransform();
  G.SetPageUnit(Gdiplus::UnitPixel);
  G.SetPageScale(1);
  PrepareSurface(G);
  Gdiplus::RectF visible;
  if (G.GetVisibleClipBounds(&visible) != Gdiplus::Ok) return;
  TBoundsD vb;
  vb.Add(TPointD{visible.X, visible.Y});
  vb.Add(TPointD{visible.X + visible.Width, visible.Y + visible.Height});
  DrawOn(Scene, {&G, rootToDevice, vb.Pixels(0)});
}

void TSceneRenderer::DrawToBits(const TScene& Scene, uint32_t* Bits, int Width, int Height, size_t Stride) {
  TMatrix fit;
  if (Bits == nullptr || Width <= 0 || Height <= 0 || Stride < size_t(Width) ||
      !Fit(Scene, Gdiplus::RectF(0, 0, Gdiplus::REAL(Width), Gdiplus::REAL(Height)), fit))
    return;
  if (UsesCoverage()) {
    // Drawn straight into the buffer: no surface needed.
    DrawOn(Scene, {nullptr, fit, {0, 0, Width, Height}, Bits, Stride});
    return;
  }
  Gdiplus::Bitmap bitmap(Width, Height, static_cast<INT>(Stride * 4), PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(Bits));
  Gdiplus::Graphics g(&bitmap);
  Draw(Scene, g, Gdiplus::RectF(0, 0, Gdiplus::REAL(Width), Gdiplus::REAL(Height)));
}

void TSceneRenderer::DrawOn(const TScene& Scene, const TTarget& Target) {
  const bool coverage = UsesCoverage();
  TPainter painter(FCache->Pool, FCache->Scratch, coverage);
  if (!coverage) {
    painter.DrawNode(Scene.Root, Target);
    return;
  }
  if (Target.Pixels != nullptr) {
    TTarget direct = Target;
    direct.Coverage = true;
    painter.DrawNode(Scene.Root, direct);
    return;
  }
  // A caller's surface: the frame is drawn into a layer of just the pixels that can change,
  // then blended over it.
  const TRectI box = NodeBounds(Scene.Root, Target.RootToDevice).Pixels(1).Intersect(Target.Bounds);
  if (box.Empty() || int64_t(box.Width()) * box.Height() > kMaxLayerPixels) return;
  TLayer layer(FCache->Pool, box.Width(), box.Height());
  painter.DrawNode(Scene.Root, LayerTarget(layer, Target.RootToDevice.Then(Translation(-box.L, -box.T)), true));
  Composite(layer, box, Target);
}

bool GdiplusAntiAliases() {
  static const bool Result = [] {
    GPEnsureStarted();
    // A triangle's slanted edge: partly covered pixels appear only where edges are smoothed.
    uint32_t pixels[8 * 8] = {};
    Gdiplus::Bitmap bitmap(8, 8, 8 * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels));
    Gdiplus::Graphics g(&bitmap);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const Gdiplus::PointF triangle[3] = {{0, 0}, {8, 3}, {0, 8}};
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    g.FillPolygon(&black, triangle, 3);
    g.Flush(Gdiplus::FlushIntentionSync);
    for (uint32_t p : pixels)
      if ((p >> 24) != 0 && (p >> 24) != 255) return true;
    return false;
  }();
  return Result;
}

void DrawScene(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest) {
  TSceneRenderer().Draw(Scene, G, Dest);
}

}  // namespace kaLottie
