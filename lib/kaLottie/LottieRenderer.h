// Draws an evaluated frame through GDI+.
#pragma once

#include "framework/Platform.h"
#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

// Draws Scene into Dest, scaled to fit with the aspect kept and centred; the caller's
// transform, clip and settings are restored afterwards.
void DrawScene(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest);

}  // namespace kaLottie
