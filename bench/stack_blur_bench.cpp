// The background blur must cost the same whatever its radius: the controls blur a captured
// background on every capture, with radii from 1 to 20. Prints the time per blur of a
// window-sized bitmap for a few radii and the ratio of the slowest to the fastest.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "framework/Graphics.h"
#include "lib/kaDrawUtils/StackBlur.h"

namespace {

void FillNoise(TBitmap& B) {
  std::mt19937 Random(42);
  for (int Y = 0; Y < B.Height(); ++Y) {
    auto* Row = static_cast<uint32_t*>(B.ScanLine(Y));
    for (int X = 0; X < B.Width(); ++X) Row[X] = Random() | 0xFF000000u;
  }
}

// Milliseconds per blur: the best of several rounds, so a busy machine disturbs it less.
double TimeBlur(TBitmap& B, int Radius, int Repeats) {
  double Best = 1e30;
  for (int Round = 0; Round < 5; ++Round) {
    FillNoise(B);
    const auto Start = std::chrono::steady_clock::now();
    for (int I = 0; I < Repeats; ++I) StackBlur(&B, Radius);
    const std::chrono::duration<double, std::milli> Spent = std::chrono::steady_clock::now() - Start;
    Best = std::min(Best, Spent.count() / Repeats);
  }
  return Best;
}

}  // namespace

int main() {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(1024, 768);
  const int Radii[] = {1, 5, 10, 20};
  double Fastest = 1e30, Slowest = 0;
  std::printf("StackBlur of a %dx%d pf32bit bitmap\n", Bitmap.Width(), Bitmap.Height());
  for (int Radius : Radii) {
    const double Ms = TimeBlur(Bitmap, Radius, 10);
    Fastest = std::min(Fastest, Ms);
    Slowest = std::max(Slowest, Ms);
    std::printf("  radius %2d: %8.2f ms per blur\n", Radius, Ms);
  }
  std::printf("  slowest / fastest: %.2f (independent of the radius when close to 1)\n",
              Slowest / Fastest);
  return 0;
}
