// The renderer's own pieces, shared by its source files and nothing else: pixel extents,
// drawing targets, off-screen layers over pooled memory, and the item painters (the
// coverage rasteriser and stroker are in LottieRaster.h).
//
// Device space is the pixel grid of the surface being drawn on, pixel (x, y) covering
// x..x+1, y..y+1 (the surfaces run with the half-pixel offset, as the format's players do).
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "framework/Platform.h"
#include "lib/kaLottie/LottieRaster.h"
#include "lib/kaLottie/LottieScene.h"

namespace kaLottie::render {

// Off-screen surfaces larger than this are not made: nothing drawn beats running out of
// memory.
constexpr int64_t kMaxLayerPixels = int64_t(1) << 26;

// Device-space extent gathered from points; rounded out to pixels when used.
struct TBoundsD {
  double L = std::numeric_limits<double>::infinity(), T = L;
  double R = -std::numeric_limits<double>::infinity(), B = R;
  void Add(TPointD P);
  void Add(const TBoundsD& O);
  bool Empty() const { return !(L <= R && T <= B); }
  // Grown by Margin on every side, rounded out to whole pixels, kept to a range GDI+ and
  // int arithmetic can take.
  TRectI Pixels(double Margin) const;
};

// The largest factor by which M stretches a length (its larger singular value).
double MaxScale(const TMatrix& M);
bool IsFinite(const TMatrix& M);
// False when M cannot be inverted (collapses the plane to a line or a point).
bool Invert(const TMatrix& M, TMatrix& Inverse);
TMatrix Translation(double X, double Y);
Gdiplus::Matrix* ToGdip(const TMatrix& M, Gdiplus::Matrix& Out);

// x / 255 rounded, for x up to 255 * 255.
inline uint32_t Div255(uint32_t X) { return (X + 128 + ((X + 128) >> 8)) >> 8; }
// A premultiplied pixel scaled by F / 255.
inline uint32_t ScalePixel(uint32_t P, uint32_t F) {
  return (Div255((P >> 24) * F) << 24) | (Div255(((P >> 16) & 0xFF) * F) << 16) | (Div255(((P >> 8) & 0xFF) * F) << 8) |
         Div255((P & 0xFF) * F);
}
// Premultiplied S over D.
inline uint32_t BlendOver(uint32_t D, uint32_t S) {
  const uint32_t inv = 255 - (S >> 24);
  return inv == 0 ? S : S + ScalePixel(D, inv);
}

// Memory for off-screen pixels, kept from frame to frame so that steady playback makes no
// allocations once the largest layer has been seen.
class TPixelPool {
 public:
  // A buffer of at least Count pixels, given back to the pool when the lease ends.
  class TLease {
   public:
    TLease(TPixelPool& Pool, size_t Count);
    ~TLease();
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;
    uint32_t* Data() { return FBuffer->data(); }

   private:
    TPixelPool& FPool;
    std::unique_ptr<std::vector<uint32_t>> FBuffer;
  };

 private:
  std::vector<std::unique_ptr<std::vector<uint32_t>>> FFree;
};

// A zero-filled 32bppPARGB surface of W x H pixels over pooled memory. Its GDI+ bitmap and
// graphics, set up for drawing scene items, are made when first asked for: the coverage
// rasteriser and the blending by hand need neither.
class TLayer {
 public:
  TLayer(TPixelPool& Pool, int W, int H);
  ~TLayer();
  TLayer(const TLayer&) = delete;
  TLayer& operator=(const TLayer&) = delete;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  uint32_t* Pixels() { return FMemory.Data(); }
  Gdiplus::Bitmap& Bitmap();
  Gdiplus::Graphics& Graphics();
  // Clears the pixels to transparent.
  void Clear();

 private:
  int FWidth, FHeight;
  TPixelPool::TLease FMemory;
  std::unique_ptr<Gdiplus::Bitmap> FBitmap;
  std::unique_ptr<Gdiplus::Graphics> FGraphics;
};

// Sets a surface up for scene drawing: anti-aliased, half-pixel offset, source-over.
void PrepareSurface(Gdiplus::Graphics& G);

// Where drawing goes: a surface, the map from the scene's root space to its pixels, and
// the pixels that may change (its visible clip). Pixels is set when the surface's memory
// is at hand (our own layers, a caller's buffer): layers are then blended into it without
// GDI+, rows of Stride pixels. Coverage: items are drawn into Pixels by the coverage
// rasteriser, not by GDI+ (G may then be null).
struct TTarget {
  Gdiplus::Graphics* G = nullptr;
  TMatrix RootToDevice;
  TRectI Bounds;
  uint32_t* Pixels = nullptr;
  size_t Stride = 0;
  bool Coverage = false;
};

// Scratch memory reused by every item, and the pool the item painters draw gradients in.
struct TScratch {
  std::vector<Gdiplus::PointF> Points;
  std::vector<BYTE> Types;
  TPolylines Flat, Lines;  // a path flattened; the polylines to draw (dashes)
  TCoverageRaster Raster;
  TStroker Stroker;
  std::vector<uint32_t> Row;
  TPixelPool* Pool = nullptr;
};

// Device-space extent of a path's control points (a superset of the curves).
TBoundsD PathBounds(const TPath& Path, const TMatrix& ToDevice);
// The extent an item can paint, strokes grown by their reach.
TBoundsD ItemBounds(const TDrawItem& Item, const TMatrix& RootToDevice);

// Builds the GDI+ path of a contour list in local coordinates into Scratch; false when it
// has nothing to draw or a coordinate is not finite.
bool BuildPath(const TPath& Path, TScratch& Scratch);
// True when the stroke's dash pattern can be drawn: entries finite and not negative, and
// the pattern not vanishingly short at DeviceScale pixels per local unit. Strokes whose
// pattern is not usable are drawn solid.
bool DashPatternUsable(const TStrokeStyle& Style, double DeviceScale);
// The stroke's dashes as open polylines in local coordinates, into Scratch.Lines.
// Tolerance is the flattening error allowed, in local units. False when no dash is left to
// draw.
bool BuildDashes(const TPath& Path, const TStrokeStyle& Style, double Tolerance, TScratch& Scratch);
// Scratch.Lines as open figures of a GDI+ path, into Scratch.Points and Scratch.Types.
void PolylinesToGdip(TScratch& Scratch);

// Draws one item onto Target.
void DrawItem(const TDrawItem& Item, const TTarget& Target, TScratch& Scratch);
// Fills Path (under ToDevice) in opaque white onto Layer, for coverage; by the coverage
// rasteriser, or by GDI+.
void FillCoverage(const TPath& Path, const TMatrix& ToDevice, TFillRule Rule, TLayer& Layer, TScratch& Scratch,
                  bool Coverage);

// A gradient's colours as 256 premultiplied pixels from offset 0 to 1, Opacity applied.
void BuildRamp(const TGradient& Gradient, double Opacity, uint32_t Ramp[256]);
// A gradient seen through ToDevice (local to device), sampled at pixel centres.
class TGradientSampler {
 public:
  // False when the gradient paints nothing (a linear one of zero length, a radial one of
  // zero radius, or ToDevice collapses the plane).
  bool Init(const TGradient& Gradient, const TMatrix& ToDevice, const uint32_t Ramp[256]);
  // The premultiplied colours of device pixels X0 .. X1 - 1 of row Y.
  void Row(int Y, int X0, int X1, uint32_t* Out) const;

 private:
  const uint32_t* FRamp = nullptr;
  TMatrix FInverse;
  bool FRadial = false;
  TPointD FStart, FAxis, FFocal, FCentreFromFocal;
  double FAxisSquared = 0, FA = 0;
};

// Writes the gradient into Box of a pixel buffer whose top-left pixel is device pixel
// (Box.L, Box.T); false when it paints nothing.
bool PaintGradient(const TGradient& Gradient, const TMatrix& ToDevice, const uint32_t Ramp[256],
                   const TRectI& Box, uint32_t* Pixels);

}  // namespace kaLottie::render
