#include "lib/kaLottie/LottieRenderer.h"

namespace kaLottie {

void DrawScene(const TScene& Scene, Gdiplus::Graphics& G, const Gdiplus::RectF& Dest) {}

}  // namespace kaLottie
