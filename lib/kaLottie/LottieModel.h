// The Lottie document as read from its JSON: compositions, layers, shapes and animated
// properties, checked and normalised once at load so that evaluating a frame never meets
// a malformed value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Types.h"
#include "lib/kaLottie/LottieScene.h"

namespace kaLottie {

class TDocument {
 public:
  double Width = 0, Height = 0;
  double FrameRate = 1;
  double InPoint = 0, OutPoint = 0;
  // What was skipped while reading, each kind once.
  std::vector<String> Diagnostics;
};

// Reads a document; throws ELottieError naming what is wrong.
std::unique_ptr<TDocument> ParseDocument(const uint8_t* Data, size_t Size);

// The scene of one frame (a document frame number, clamped to InPoint .. OutPoint).
std::unique_ptr<TScene> EvaluateFrame(const TDocument& Doc, double Frame);

}  // namespace kaLottie
