#include "lib/kaLottie/LottieShots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kaLottie {

std::vector<double> ConformanceFrames(double InPoint, double OutPoint) {
  const double first = InPoint;
  const double last = std::max(first, std::ceil(OutPoint) - 1);
  std::vector<double> frames;
  for (double p : {0.0, 0.25, 0.5, 0.75, 1.0}) frames.push_back(first + std::floor(p * (last - first) + 0.5));
  return frames;
}

std::vector<double> ParseFrameList(const String& Text) {
  std::vector<double> frames;
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find(L',', start);
    if (end == String::npos) end = Text.size();
    String entry = Text.substr(start, end - start);
    const size_t a = entry.find_first_not_of(L" \t"), b = entry.find_last_not_of(L" \t");
    entry = a == String::npos ? String() : entry.substr(a, b - a + 1);
    wchar_t* stop = nullptr;
    const double v = entry.empty() ? 0 : std::wcstod(entry.c_str(), &stop);
    if (entry.empty() || stop != entry.c_str() + entry.size() || !std::isfinite(v))
      throw EConvertError(Format(L"\"%ls\" is not a frame number", entry.c_str()));
    frames.push_back(v);
    start = end + 1;
  }
  return frames;
}

String FrameLabel(double Frame) {
  wchar_t text[64];
  if (Frame == std::floor(Frame) && std::fabs(Frame) < 1e15) {
    std::swprintf(text, 64, L"%.0f", Frame);
    return text;
  }
  std::swprintf(text, 64, L"%.3f", Frame);
  String s = text;
  while (!s.empty() && s.back() == L'0') s.pop_back();
  if (!s.empty() && s.back() == L'.') s.pop_back();
  return s;
}

KaPng::TImageData RenderFrameImage(const TkaLottieAnimation& Animation, int Width, int Height, double Frame) {
  KaPng::TImageData image;
  if (Width <= 0 || Height <= 0) return image;
  std::vector<uint32_t> premultiplied(static_cast<size_t>(Width) * Height, 0);
  Animation.RenderToBits(reinterpret_cast<uint8_t*>(premultiplied.data()), Width, Height, Width * 4, Frame);
  image.Width = Width;
  image.Height = Height;
  image.ColorType = KaPng::ctRGBA;
  image.TransparencyMode = ptmPartial;
  image.Pixels.resize(premultiplied.size() * 4);
  uint8_t* d = image.Pixels.data();
  for (uint32_t p : premultiplied) {
    const uint32_t a = p >> 24;
    auto straight = [a](uint32_t c) { return a == 0 ? 0 : static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
    *d++ = straight((p >> 16) & 0xFF);
    *d++ = straight((p >> 8) & 0xFF);
    *d++ = straight(p & 0xFF);
    *d++ = static_cast<uint8_t>(a);
  }
  return image;
}

void SavePng(const KaPng::TImageData& Image, const String& Path) {
  std::ofstream file(std::filesystem::path(Path), std::ios::binary | std::ios::trunc);
  if (!file) throw EInvalidGraphic(Format(L"Cannot create file \"%ls\"", Path.c_str()));
  KaPng::Encode(Image, file);
  file.close();
  if (!file) throw EInvalidGraphic(Format(L"Cannot write file \"%ls\"", Path.c_str()));
}

std::vector<uint8_t> ReadFileBytes(const String& Path) {
  std::ifstream file(std::filesystem::path(Path), std::ios::binary);
  if (!file) throw Exception(Format(L"Cannot open file \"%ls\"", Path.c_str()));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw Exception(Format(L"Cannot read file \"%ls\"", Path.c_str()));
  return bytes;
}

}  // namespace kaLottie
