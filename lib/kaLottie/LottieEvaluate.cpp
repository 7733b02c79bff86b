#include "lib/kaLottie/LottieModel.h"

namespace kaLottie {

std::unique_ptr<TScene> EvaluateFrame(const TDocument& Doc, double Frame) {
  auto scene = std::make_unique<TScene>();
  scene->Width = Doc.Width;
  scene->Height = Doc.Height;
  return scene;
}

}  // namespace kaLottie
