#include <algorithm>
#include <cstring>
#include <vector>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/LottieRenderer.h"
#include "lib/kaLottie/kaLottie.h"

using namespace kaLottie;

std::unique_ptr<TkaLottieAnimation> TkaLottieAnimation::Load(const uint8_t* Data, size_t Size) {
  return std::unique_ptr<TkaLottieAnimation>(new TkaLottieAnimation(ParseDocument(Data, Size)));
}

TkaLottieAnimation::TkaLottieAnimation(std::unique_ptr<TDocument> Doc)
    : FDoc(std::move(Doc)), FRenderer(std::make_unique<TSceneRenderer>()) {}
TkaLottieAnimation::~TkaLottieAnimation() = default;

double TkaLottieAnimation::Width() const { return FDoc->Width; }
double TkaLottieAnimation::Height() const { return FDoc->Height; }
double TkaLottieAnimation::FrameRate() const { return FDoc->FrameRate; }
double TkaLottieAnimation::InPoint() const { return FDoc->InPoint; }
double TkaLottieAnimation::OutPoint() const { return FDoc->OutPoint; }
double TkaLottieAnimation::Duration() const { return (FDoc->OutPoint - FDoc->InPoint) / FDoc->FrameRate; }
const std::vector<String>& TkaLottieAnimation::Diagnostics() const { return FDoc->Diagnostics; }

std::unique_ptr<TScene> TkaLottieAnimation::Evaluate(double Frame) const { return EvaluateFrame(*FDoc, Frame); }

void TkaLottieAnimation::Render(Gdiplus::Graphics& G, const Gdiplus::RectF& Dest, double Frame) const {
  FRenderer->Draw(*Evaluate(Frame), G, Dest);
}

void TkaLottieAnimation::RenderToBits(uint8_t* Bits, int Width, int Height, int Stride, double Frame) const {
  if (Bits == nullptr || Width <= 0 || Height <= 0 || Width > (1 << 24) || Stride < Width * 4) return;
  GPEnsureStarted();
  const std::unique_ptr<TScene> scene = Evaluate(Frame);
  if (Stride % 4 == 0) {
    FRenderer->DrawToBits(*scene, reinterpret_cast<uint32_t*>(Bits), Width, Height, size_t(Stride) / 4);
    return;
  }
  // Rows off 4-byte boundaries: drawn on a copy that has them.
  const size_t row = size_t(Width) * 4;
  std::vector<uint32_t> copy(size_t(Width) * Height);
  for (int y = 0; y < Height; ++y) std::memcpy(&copy[size_t(y) * Width], Bits + size_t(y) * Stride, row);
  FRenderer->DrawToBits(*scene, copy.data(), Width, Height, size_t(Width));
  for (int y = 0; y < Height; ++y) std::memcpy(Bits + size_t(y) * Stride, &copy[size_t(y) * Width], row);
}
