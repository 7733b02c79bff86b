// Frames of an animation as pictures: which frames to take, a frame drawn onto a
// transparent picture, and the picture written as PNG. ka_lottieshot and the conformance
// tests share this code, so a picture the tool writes is the picture the tests compare.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/PngImage.h"
#include "framework/Types.h"
#include "lib/kaLottie/kaLottie.h"

namespace kaLottie {

// The five frames the conformance check compares: first = InPoint, last = ceil(OutPoint)
// - 1 (never before first), and first + floor(p * (last - first) + 0.5) for p = 0, 0.25,
// 0.5, 0.75 and 1.
std::vector<double> ConformanceFrames(double InPoint, double OutPoint);

// A comma-separated list of frame numbers ("0, 12.5,30"). Throws EConvertError naming the
// entry that is not a finite number, or when the list is empty.
std::vector<double> ParseFrameList(const String& Text);

// The frame's part of a picture's file name: "12" for whole frames, else up to three
// decimals ("12.5").
String FrameLabel(double Frame);

// Frame drawn onto a transparent Width x Height picture (fitted with the aspect kept and
// centred), as straight-alpha RGBA.
KaPng::TImageData RenderFrameImage(const TkaLottieAnimation& Animation, int Width, int Height, double Frame);

// Writes Image as a PNG file; throws EInvalidGraphic when the file cannot be written.
void SavePng(const KaPng::TImageData& Image, const String& Path);

// A whole file's bytes; throws Exception naming the file when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const String& Path);

}  // namespace kaLottie
