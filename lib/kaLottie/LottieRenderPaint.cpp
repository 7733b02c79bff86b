// Painting single items: fills and strokes with solid or gradient paint, through GDI+ or
// the coverage rasteriser, and the off-screen surfaces they can be drawn on.
//
// Gradients are computed here, not by GDI+ brushes: the format's gradients pad with their
// end colours, radial ones have a focal highlight and any number of stops, and Wine's path
// gradient brush ignores all but two colours. The gradient is sampled at each device pixel
// the item covers: blended by hand with the coverage where the pixels are at hand, else
// written into a bitmap over the item's visible extent that GDI+ fills or strokes through
// as a texture brush.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "lib/kaLottie/LottieRenderInternal.h"

namespace kaLottie::render {

namespace {

constexpr double kPi = 3.14159265358979323846;

uint8_t Byte(double V) { return static_cast<uint8_t>(std::clamp(V, 0.0, 1.0) * 255 + 0.5); }

Gdiplus::LineCap GdipCap(TLineCap Cap) {
  switch (Cap) {
    case TLineCap::Round: return Gdiplus::LineCapRound;
    case TLineCap::Square: return Gdiplus::LineCapSquare;
    default: return Gdiplus::LineCapFlat;
  }
}

Gdiplus::LineJoin GdipJoin(TLineJoin Join) {
  switch (Join) {
    case TLineJoin::Round: return Gdiplus::LineJoinRound;
    case TLineJoin::Bevel: return Gdiplus::LineJoinBevel;
    // Beyond the limit a miter becomes a bevel, as in the players the format comes from
    // (GDI+'s plain miter join would cut the tip off at the limit instead).
    default: return Gdiplus::LineJoinMiterClipped;
  }
}

// The texture brush of a gradient over Box: its bitmap lives in pooled memory until the
// brush is gone (GDI+ copies the bitmap into the brush).
class TGradientBrush {
 public:
  TGradientBrush(TPixelPool& Pool, const TGradient& Gradient, double Opacity, const TMatrix& ToDevice,
                 const TMatrix& DeviceToWorld, const TRectI& Box)
      : FMemory(Pool, static_cast<size_t>(Box.Width()) * Box.Height()) {
    uint32_t ramp[256];
    BuildRamp(Gradient, Opacity, ramp);
    if (!PaintGradient(Gradient, ToDevice, ramp, Box, FMemory.Data())) return;
    Gdiplus::Bitmap texture(Box.Width(), Box.Height(), Box.Width() * 4, PixelFormat32bppPARGB,
                            reinterpret_cast<BYTE*>(FMemory.Data()));
    FBrush = std::make_unique<Gdiplus::TextureBrush>(&texture, Gdiplus::WrapModeTile);
    // The brush maps texture pixels to world units: texture pixel (0, 0) is device pixel
    // (Box.L, Box.T), and the world is the item's local space.
    Gdiplus::Matrix m;
    FBrush->SetTransform(ToGdip(Translation(Box.L, Box.T).Then(DeviceToWorld), m));
  }
  Gdiplus::Brush* Get() const { return FBrush.get(); }

 private:
  TPixelPool::TLease FMemory;
  std::unique_ptr<Gdiplus::TextureBrush> FBrush;
};

}  // namespace

TPixelPool::TLease::TLease(TPixelPool& Pool, size_t Count) : FPool(Pool) {
  if (!Pool.FFree.empty()) {
    FBuffer = std::move(Pool.FFree.back());
    Pool.FFree.pop_back();
  } else {
    FBuffer = std::make_unique<std::vector<uint32_t>>();
  }
  if (FBuffer->size() < Count) FBuffer->resize(Count);
}

TPixelPool::TLease::~TLease() {
  try {
    FPool.FFree.push_back(std::move(FBuffer));
  } catch (...) {
    // Out of memory for the pool's list: the buffer is simply freed.
  }
}

TLayer::TLayer(TPixelPool& Pool, int W, int H)
    : FWidth(W), FHeight(H), FMemory(Pool, static_cast<size_t>(W) * H) {
  Clear();
}

TLayer::~TLayer() = default;

Gdiplus::Bitmap& TLayer::Bitmap() {
  if (!FBitmap)
    FBitmap = std::make_unique<Gdiplus::Bitmap>(FWidth, FHeight, FWidth * 4, PixelFormat32bppPARGB,
                                                reinterpret_cast<BYTE*>(FMemory.Data()));
  return *FBitmap;
}

Gdiplus::Graphics& TLayer::Graphics() {
  if (!FGraphics) {
    FGraphics = std::make_unique<Gdiplus::Graphics>(&Bitmap());
    PrepareSurface(*FGraphics);
  }
  return *FGraphics;
}

void TLayer::Clear() { std::memset(FMemory.Data(), 0, static_cast<size_t>(FWidth) * FHeight * 4); }

void PrepareSurface(Gdiplus::Graphics& G) {
  G.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  G.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  G.SetCompositingMode(Gdiplus::CompositingModeSourceOver);
  G.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
}

namespace {

// Fills or strokes Path with Brush on G, the item's local space mapped by ToDevice.
void PaintShape(Gdiplus::Graphics& G, const TDrawItem& Item, Gdiplus::GraphicsPath& Path, Gdiplus::Brush& Brush,
                const TMatrix& ToDevice) {
  Gdiplus::Matrix m;
  G.SetTransform(ToGdip(ToDevice, m));
  if (!Item.IsStroke) {
    G.FillPath(&Brush, &Path);
    return;
  }
  const TStrokeStyle& s = Item.Stroke;
  Gdiplus::Pen pen(&Brush, static_cast<Gdiplus::REAL>(s.Width));
  pen.SetLineCap(GdipCap(s.Cap), GdipCap(s.Cap), Gdiplus::DashCapFlat);
  pen.SetLineJoin(GdipJoin(s.Join));
  pen.SetMiterLimit(static_cast<Gdiplus::REAL>(std::isfinite(s.MiterLimit) ? std::max(1.0, s.MiterLimit) : 1.0));
  G.DrawPath(&pen, &Path);
}

// A gradient item on memory at hand: its shape drawn in white for coverage, the gradient
// computed under it and blended by hand, which spares GDI+ a texture brush (slow in Wine's).
void BlendGradient(const TDrawItem& Item, Gdiplus::GraphicsPath& Path, double Opacity, const TMatrix& ToDevice,
                   const TRectI& Box, const TTarget& Target, TScratch& Scratch) {
  TLayer cover(*Scratch.Pool, Box.Width(), Box.Height());
  Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  PaintShape(cover.Graphics(), Item, Path, white, ToDevice.Then(Translation(-Box.L, -Box.T)));
  TPixelPool::TLease gradient(*Scratch.Pool, static_cast<size_t>(Box.Width()) * Box.Height());
  uint32_t ramp[256];
  BuildRamp(Item.Paint.Gradient, Opacity, ramp);
  if (!PaintGradient(Item.Paint.Gradient, ToDevice, ramp, Box, gradient.Data())) return;
  const uint32_t* c = cover.Pixels();
  const uint32_t* g = gradient.Data();
  for (int y = 0; y < Box.Height(); ++y) {
    uint32_t* d = Target.Pixels + static_cast<size_t>(Box.T + y) * Target.Stride + Box.L;
    for (int x = 0; x < Box.Width(); ++x, ++c, ++g) {
      const uint32_t a = *c >> 24;
      if (a != 0) d[x] = BlendOver(d[x], a == 255 ? *g : ScalePixel(*g, a));
    }
  }
}

bool FinitePath(const TPath& Path) {
  for (const TContour& c : Path)
    for (const TPointD& p : c.Points)
      if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return false;
  return true;
}

// Blends a solid premultiplied colour, scaled by the coverage, over the target's pixels.
class TSolidSink final : public TCoverageSink {
 public:
  TSolidSink(uint32_t* Pixels, size_t Stride, uint32_t Color) : FPixels(Pixels), FStride(Stride), FColor(Color) {}
  void Row(int Y, int X0, int X1, const uint8_t* Alpha) override {
    uint32_t* d = FPixels + static_cast<size_t>(Y) * FStride + X0;
    for (int i = 0; i < X1 - X0; ++i) {
      const uint32_t a = Alpha[i];
      if (a != 0) d[i] = BlendOver(d[i], a == 255 ? FColor : ScalePixel(FColor, a));
    }
  }

 private:
  uint32_t* FPixels;
  size_t FStride;
  uint32_t FColor;
};

// Blends a gradient, scaled by the coverage, over the target's pixels.
class TGradientSink final : public TCoverageSink {
 public:
  TGradientSink(uint32_t* Pixels, size_t Stride, const TGradientSampler& Sampler, std::vector<uint32_t>& Row)
      : FPixels(Pixels), FStride(Stride), FSampler(Sampler), FRow(Row) {}
  void Row(int Y, int X0, int X1, const uint8_t* Alpha) override {
    FRow.resize(static_cast<size_t>(X1 - X0));
    FSampler.Row(Y, X0, X1, FRow.data());
    uint32_t* d = FPixels + static_cast<size_t>(Y) * FStride + X0;
    for (int i = 0; i < X1 - X0; ++i) {
      const uint32_t a = Alpha[i];
      if (a != 0) d[i] = BlendOver(d[i], a == 255 ? FRow[i] : ScalePixel(FRow[i], a));
    }
  }

 private:
  uint32_t* FPixels;
  size_t FStride;
  const TGradientSampler& FSampler;
  std::vector<uint32_t>& FRow;
};

// An item drawn by the coverage rasteriser straight into the target's pixels.
void RasterItem(const TDrawItem& Item, double Opacity, const TMatrix& ToDevice, const TRectI& Box,
                const TTarget& Target, TScratch& Scratch) {
  TCoverageRaster& raster = Scratch.Raster;
  raster.Reset(Box, !Item.IsStroke);  // fills snapped to quarter rows, strokes not
  if (!FinitePath(Item.Path)) return;
  const double scale = MaxScale(ToDevice);
  if (!Item.IsStroke) {
    raster.AddPath(Item.Path, ToDevice);
  } else if (DashPatternUsable(Item.Stroke, scale)) {
    if (!BuildDashes(Item.Path, Item.Stroke, TCoverageRaster::kTolerance / scale, Scratch)) return;
    Scratch.Stroker.AddLines(raster, Scratch.Lines, Item.Stroke, ToDevice);
  } else {
    Scratch.Stroker.AddPath(raster, Item.Path, Item.Stroke, ToDevice);
  }
  const TFillRule rule = Item.IsStroke ? TFillRule::NonZero : Item.Rule;
  const TPaint& paint = Item.Paint;
  if (!paint.IsGradient) {
    const uint32_t a = Byte(Opacity);
    auto channel = [a](double V) { return Div255(Byte(V) * a); };
    const uint32_t color =
        (a << 24) | (channel(paint.Color.R) << 16) | (channel(paint.Color.G) << 8) | channel(paint.Color.B);
    TSolidSink sink(Target.Pixels, Target.Stride, color);
    raster.Sweep(rule, sink);
    return;
  }
  uint32_t ramp[256];
  BuildRamp(paint.Gradient, Opacity, ramp);
  TGradientSampler sampler;
  if (!sampler.Init(paint.Gradient, ToDevice, ramp)) return;
  TGradientSink sink(Target.Pixels, Target.Stride, sampler, Scratch.Row);
  raster.Sweep(rule, sink);
}

// Writes opaque white, scaled by the coverage, over a layer.
class TWhiteSink final : public TCoverageSink {
 public:
  explicit TWhiteSink(TLayer& Layer) : FLayer(Layer) {}
  void Row(int Y, int X0, int X1, const uint8_t* Alpha) override {
    uint32_t* d = FLayer.Pixels() + static_cast<size_t>(Y) * FLayer.Width() + X0;
    for (int i = 0; i < X1 - X0; ++i)
      if (Alpha[i] != 0) d[i] = BlendOver(d[i], Alpha[i] * 0x01010101u);
  }

 private:
  TLayer& FLayer;
};

}  // namespace

void DrawItem(const TDrawItem& Item, const TTarget& Target, TScratch& Scratch) {
  const double opacity = std::clamp(Item.Paint.Opacity, 0.0, 1.0);
  if (!(opacity * 255 >= 0.5)) return;
  if (Item.IsStroke && !(Item.Stroke.Width > 0 && std::isfinite(Item.Stroke.Width))) return;
  const TMatrix toDevice = Item.Transform.Then(Target.RootToDevice);
  TMatrix deviceToWorld;
  // A map that collapses the plane leaves nothing with an area to see.
  if (!IsFinite(toDevice) || !Invert(toDevice, deviceToWorld)) return;
  const TRectI box = ItemBounds(Item, Target.RootToDevice).Pixels(1).Intersect(Target.Bounds);
  if (box.Empty() || (Item.Paint.IsGradient && int64_t(box.Width()) * box.Height() > kMaxLayerPixels)) return;
  if (Target.Coverage) {
    RasterItem(Item, opacity, toDevice, box, Target, Scratch);
    return;
  }

  const double scale = MaxScale(toDevice);
  if (Item.IsStroke && DashPatternUsable(Item.Stroke, scale)) {
    if (!BuildDashes(Item.Path, Item.Stroke, 0.2 / scale, Scratch)) return;
    PolylinesToGdip(Scratch);
  } else if (!BuildPath(Item.Path, Scratch)) {
    return;
  }
  Gdiplus::GraphicsPath path(Scratch.Points.data(), Scratch.Types.data(), static_cast<INT>(Scratch.Points.size()),
                             Item.Rule == TFillRule::EvenOdd ? Gdiplus::FillModeAlternate : Gdiplus::FillModeWinding);
  const TPaint& paint = Item.Paint;
  if (!paint.IsGradient) {
    Gdiplus::SolidBrush solid(Gdiplus::Color(Byte(opacity), Byte(paint.Color.R), Byte(paint.Color.G), Byte(paint.Color.B)));
    PaintShape(*Target.G, Item, path, solid, toDevice);
  } else if (Target.Pixels != nullptr) {
    BlendGradient(Item, path, opacity, toDevice, box, Target, Scratch);
  } else {
    TGradientBrush gradient(*Scratch.Pool, paint.Gradient, opacity, toDevice, deviceToWorld, box);
    if (gradient.Get() != nullptr) PaintShape(*Target.G, Item, path, *gradient.Get(), toDevice);
  }
}

void FillCoverage(const TPath& Path, const TMatrix& ToDevice, TFillRule Rule, TLayer& Layer, TScratch& Scratch,
                  bool Coverage) {
  TMatrix inverse;
  if (!IsFinite(ToDevice) || !Invert(ToDevice, inverse)) return;
  const TRectI box = PathBounds(Path, ToDevice).Pixels(1).Intersect({0, 0, Layer.Width(), Layer.Height()});
  if (box.Empty()) return;
  if (Coverage) {
    if (!FinitePath(Path)) return;
    Scratch.Raster.Reset(box, true);
    Scratch.Raster.AddPath(Path, ToDevice);
    TWhiteSink sink(Layer);
    Scratch.Raster.Sweep(Rule, sink);
    return;
  }
  if (!BuildPath(Path, Scratch)) return;
  Gdiplus::GraphicsPath path(Scratch.Points.data(), Scratch.Types.data(), static_cast<INT>(Scratch.Points.size()),
                             Rule == TFillRule::EvenOdd ? Gdiplus::FillModeAlternate : Gdiplus::FillModeWinding);
  Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  Gdiplus::Matrix m;
  Layer.Graphics().SetTransform(ToGdip(ToDevice, m));
  Layer.Graphics().FillPath(&white, &path);
}

void BuildRamp(const TGradient& Gradient, double Opacity, uint32_t Ramp[256]) {
  const std::vector<TGradientStop>& stops = Gradient.Stops;
  if (stops.empty()) {
    std::fill(Ramp, Ramp + 256, 0u);
    return;
  }
  size_t k = 0;  // the stop at or before t
  for (int i = 0; i < 256; ++i) {
    const double t = i / 255.0;
    while (k + 1 < stops.size() && stops[k + 1].Offset <= t) ++k;
    TColorD c = stops[k].Color;
    if (k + 1 < stops.size() && t > stops[k].Offset) {
      // Colours mix unpremultiplied, alpha alongside, as the format's players mix them.
      const TColorD& n = stops[k + 1].Color;
      const double span = stops[k + 1].Offset - stops[k].Offset;
      const double f = span > 0 ? std::clamp((t - stops[k].Offset) / span, 0.0, 1.0) : 1.0;
      c = {c.R + (n.R - c.R) * f, c.G + (n.G - c.G) * f, c.B + (n.B - c.B) * f, c.A + (n.A - c.A) * f};
    }
    const double a = std::clamp(c.A, 0.0, 1.0) * Opacity;
    const uint32_t A = Byte(a);
    Ramp[i] = (A << 24) | (uint32_t(Byte(std::clamp(c.R, 0.0, 1.0) * a)) << 16) |
              (uint32_t(Byte(std::clamp(c.G, 0.0, 1.0) * a)) << 8) | Byte(std::clamp(c.B, 0.0, 1.0) * a);
  }
}

namespace {

uint32_t RampAt(const uint32_t Ramp[256], double T) {
  if (!(T > 0)) return Ramp[0];
  if (T >= 1) return Ramp[255];
  return Ramp[static_cast<int>(T * 255 + 0.5)];
}

}  // namespace

bool TGradientSampler::Init(const TGradient& Gradient, const TMatrix& ToDevice, const uint32_t Ramp[256]) {
  if (!Invert(ToDevice, FInverse)) return false;
  FRamp = Ramp;
  FRadial = Gradient.Radial;
  FStart = Gradient.Start;
  FAxis = {Gradient.End.X - FStart.X, Gradient.End.Y - FStart.Y};
  FAxisSquared = FAxis.X * FAxis.X + FAxis.Y * FAxis.Y;
  if (!(FAxisSquared > 0) || !std::isfinite(FAxisSquared)) return false;
  if (!FRadial) return true;
  // A cone from the focal point (radius 0) out to the circle round Start: t is the circle
  // of the family through the pixel, found from a quadratic whose leading term is negative
  // while the focal point lies inside the outer circle.
  const double radius = std::sqrt(FAxisSquared);
  const double length = std::clamp(Gradient.HighlightLength, -0.99, 0.99) * radius;
  const double angle = std::atan2(FAxis.Y, FAxis.X) + Gradient.HighlightAngle * kPi / 180;
  FFocal = std::isfinite(angle) && std::isfinite(length)
               ? TPointD{FStart.X + std::cos(angle) * length, FStart.Y + std::sin(angle) * length}
               : FStart;
  FCentreFromFocal = {FStart.X - FFocal.X, FStart.Y - FFocal.Y};
  FA = FCentreFromFocal.X * FCentreFromFocal.X + FCentreFromFocal.Y * FCentreFromFocal.Y - FAxisSquared;
  return true;
}

void TGradientSampler::Row(int Y, int X0, int X1, uint32_t* Out) const {
  // The local point under the centre of device pixel (X0, Y) and its step per pixel.
  TPointD p = FInverse.Apply({X0 + 0.5, Y + 0.5});
  const TPointD step{FInverse.M11, FInverse.M12};
  const int n = X1 - X0;
  if (!FRadial) {
    // t runs along the axis: its projection, linear in the pixel position.
    const double stepT = (step.X * FAxis.X + step.Y * FAxis.Y) / FAxisSquared;
    double t = ((p.X - FStart.X) * FAxis.X + (p.Y - FStart.Y) * FAxis.Y) / FAxisSquared;
    for (int x = 0; x < n; ++x, t += stepT) Out[x] = RampAt(FRamp, t);
    return;
  }
  const double cx = FCentreFromFocal.X, cy = FCentreFromFocal.Y;
  for (int x = 0; x < n; ++x, p.X += step.X, p.Y += step.Y) {
    const double qx = p.X - FFocal.X, qy = p.Y - FFocal.Y;
    const double qd = qx * cx + qy * cy, qq = qx * qx + qy * qy;
    Out[x] = RampAt(FRamp, (qd - std::sqrt(std::max(0.0, qd * qd - FA * qq))) / FA);
  }
}

bool PaintGradient(const TGradient& Gradient, const TMatrix& ToDevice, const uint32_t Ramp[256],
                   const TRectI& Box, uint32_t* Pixels) {
  TGradientSampler sampler;
  if (!sampler.Init(Gradient, ToDevice, Ramp)) return false;
  for (int y = Box.T; y < Box.B; ++y)
    sampler.Row(y, Box.L, Box.R, Pixels + static_cast<size_t>(y - Box.T) * Box.Width());
  return true;
}

}  // namespace kaLottie::render
