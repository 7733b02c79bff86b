// Draws an evaluated frame through GDI+.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/Platform.h"
#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

namespace render {
struct TTarget;
}

// How items become pixels (see TSceneRenderer::SetRasteriser).
enum class TRasteriser : uint8_t { Auto, GdiPlus, Coverage };

// Draws scenes, keeping what it needs from frame to frame (off-screen pixel memory,
// scratch arrays), so that steady playback allocates next to nothing. One per animation
// being played; not for use from two threads at once.
class TSceneRenderer {
 public:
  TSceneRenderer();
  ~TSceneRenderer();
  TSceneRenderer(const TSceneRenderer&) = delete;
  TSceneRenderer& operator=(const TSceneRenderer&) = delete;

  // Draws Scene into Dest (in the surface's world units), scaled to fit with the aspect
  // kept and centred. The surface's transform and clip apply; its whole state (transform,
  // page units, clip, smoothing, pixel offset, compositing, interpolation) is as before
  // afterwards, also when drawing throws.
  void Draw(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest);
  // Draws Scene over a 32-bit premultiplied buffer of top-down rows, Stride pixels apart,
  // fitted into the whole Width x Height.
  void DrawToBits(const TScene& Scene, uint32_t* Bits, int Width, int Height, size_t Stride);

  // How items become pixels: GdiPlus draws them through GDI+ onto the surface; Coverage
  // draws them with the player's own rasteriser (the coverage the format's reference players
  // give, and no GDI+ call at all when drawing into a buffer); Auto, the default, takes
  // GDI+ where it anti-aliases shapes and the rasteriser where it does not (Wine's).
  void SetRasteriser(TRasteriser Value) { FRasteriser = Value; }
  TRasteriser Rasteriser() const { return FRasteriser; }
  // True when frames are drawn by the coverage rasteriser.
  bool UsesCoverage() const;

 private:
  struct TCache;
  void DrawOn(const TScene& Scene, const render::TTarget& Target);

  std::unique_ptr<TCache> FCache;
  TRasteriser FRasteriser = TRasteriser::Auto;
};

// True when GDI+ anti-aliases shapes on this system (found out once, by drawing).
bool GdiplusAntiAliases();

// The same with a renderer of its own: for one-off drawing.
void DrawScene(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest);

}  // namespace kaLottie
