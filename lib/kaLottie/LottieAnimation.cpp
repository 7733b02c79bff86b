#include <algorithm>

#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/LottieRenderer.h"
#include "lib/kaLottie/kaLottie.h"

using namespace kaLottie;

std::unique_ptr<TkaLottieAnimation> TkaLottieAnimation::Load(const uint8_t* Data, size_t Size) {
  return std::unique_ptr<TkaLottieAnimation>(new TkaLottieAnimation(ParseDocument(Data, Size)));
}

TkaLottieAnimation::TkaLottieAnimation(std::unique_ptr<TDocument> Doc) : FDoc(std::move(Doc)) {}
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
  DrawScene(*Evaluate(Frame), G, Dest);
}

void TkaLottieAnimation::RenderToBits(uint8_t* Bits, int Width, int Height, int Stride, double Frame) const {
  if (Bits == nullptr || Width <= 0 || Height <= 0) return;
  Gdiplus::Bitmap bmp(Width, Height, Stride, PixelFormat32bppPARGB, Bits);
  Gdiplus::Graphics g(&bmp);
  Render(g, Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(Width), static_cast<Gdiplus::REAL>(Height)), Frame);
}
