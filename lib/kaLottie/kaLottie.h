// The Lottie player: a document read once, then any frame drawn at any size through GDI+.
//
//   auto anim = TkaLottieAnimation::Load(bytes.data(), bytes.size());   // throws ELottieError
//   anim->Render(graphics, Gdiplus::RectF(0, 0, 35, 35), anim->InPoint() + 10);
//
// Frames are the document's own frame numbers (InPoint() .. OutPoint(), fractions allowed);
// a frame outside that range is clamped to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Platform.h"
#include "framework/Types.h"

namespace kaLottie {
struct TScene;
class TDocument;
class TSceneRenderer;
}  // namespace kaLottie

// A document that cannot be played: the message names what is wrong and where
// ("Lottie: layers[3].ks.p: expected a number or an array").
class ELottieError : public Exception {
  using Exception::Exception;
};

class TkaLottieAnimation {
 public:
  // Reads a Lottie JSON document (UTF-8). Throws ELottieError when the document cannot be
  // played; anything merely unsupported is skipped and listed in Diagnostics().
  static std::unique_ptr<TkaLottieAnimation> Load(const uint8_t* Data, size_t Size);
  static std::unique_ptr<TkaLottieAnimation> Load(const std::vector<uint8_t>& Data) {
    return Load(Data.data(), Data.size());
  }
  ~TkaLottieAnimation();
  TkaLottieAnimation(const TkaLottieAnimation&) = delete;
  TkaLottieAnimation& operator=(const TkaLottieAnimation&) = delete;

  // The composition's size in its own units.
  double Width() const;
  double Height() const;
  // Frames per second, always > 0.
  double FrameRate() const;
  // First frame and the frame after the last one (the document's ip and op).
  double InPoint() const;
  double OutPoint() const;
  // (OutPoint - InPoint) / FrameRate.
  double Duration() const;
  // What was skipped while reading (unsupported features, bad values), each kind once.
  const std::vector<String>& Diagnostics() const;

  // Draws Frame into Dest, scaled to fit with the aspect kept and centred. The caller's
  // transform, clip and compositing settings are honoured and restored.
  void Render(Gdiplus::Graphics& G, const Gdiplus::RectF& Dest, double Frame) const;
  // Draws Frame over a 32-bit premultiplied BGRA buffer (top-down rows of Stride bytes),
  // fitted into the whole Width x Height.
  void RenderToBits(uint8_t* Bits, int Width, int Height, int Stride, double Frame) const;

  // The evaluated frame, for tests and tools.
  std::unique_ptr<kaLottie::TScene> Evaluate(double Frame) const;

 private:
  explicit TkaLottieAnimation(std::unique_ptr<kaLottie::TDocument> Doc);
  std::unique_ptr<kaLottie::TDocument> FDoc;
  // Off-screen memory and scratch kept between frames; drawing changes no visible state.
  std::unique_ptr<kaLottie::TSceneRenderer> FRenderer;
};
