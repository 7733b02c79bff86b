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

  // Where GDI+ does not anti-alias shapes (Wine's), the scene is drawn at Factor times the
  // size and averaged down, which gives the smooth edges and the exact coverage of thin
  // lines that GDI+ gives elsewhere. 0 (the default): 5 where GDI+ does not anti-alias,
  // else 1. 1 draws straight onto the surface. Large areas take a smaller factor.
  void SetSupersampling(int Factor) { FSupersampling = std::clamp(Factor, 0, 8); }
  int Supersampling() const { return FSupersampling; }

 private:
  struct TCache;
  int Factor() const;
  void DrawOn(const TScene& Scene, const render::TTarget& Target);

  std::unique_ptr<TCache> FCache;
  int FSupersampling = 0;
};

// True when GDI+ anti-aliases shapes on this system (found out once, by drawing).
bool GdiplusAntiAliases();

// The same with a renderer of its own: for one-off drawing.
void DrawScene(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest);

}  // namespace kaLottie
