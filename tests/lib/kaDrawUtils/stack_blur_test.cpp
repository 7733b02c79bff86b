// The background blur: hand-computed pixels, edge clamping, and agreement with a direct
// weighted average for every radius the controls allow.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "framework/Graphics.h"
#include "lib/kaDrawUtils/StackBlur.h"

namespace {

uint8_t* Px(TBitmap& B, int X, int Y) { return static_cast<uint8_t*>(B.ScanLine(Y)) + X * 4; }

void MakeBitmap(TBitmap& B, int W, int H) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(W, H);
}

TEST(StackBlur, SinglePointSpreadsWithTriangleWeights) {
  TBitmap b;
  MakeBitmap(b, 3, 3);
  for (int c = 0; c < 4; ++c) Px(b, 1, 1)[c] = 255;
  StackBlur(&b, 1);
  // Rows first (255 / 4 = 63, 510 / 4 = 127), then columns on those truncated values.
  const int expected[3][3] = {{15, 31, 15}, {31, 63, 31}, {15, 31, 15}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = Px(b, x, y);
      EXPECT_EQ(p[0], expected[y][x]) << x << "," << y;
      EXPECT_EQ(p[1], expected[y][x]);
      EXPECT_EQ(p[2], expected[y][x]);
      EXPECT_EQ(p[3], 255);
    }
}

TEST(StackBlur, EdgesRepeatAndNonPositiveRadiusOrWrongFormatLeaveTheImage) {
  TBitmap b;
  MakeBitmap(b, 3, 1);
  Px(b, 1, 0)[0] = 90;
  Px(b, 2, 0)[0] = 180;
  StackBlur(&b, 1);
  EXPECT_EQ(Px(b, 0, 0)[0], 22);   // (0 + 0 * 2 + 90) / 4
  EXPECT_EQ(Px(b, 1, 0)[0], 90);   // (0 + 180 + 180) / 4
  EXPECT_EQ(Px(b, 2, 0)[0], 157);  // (90 + 360 + 180) / 4

  for (int r : {0, -3}) {
    TBitmap same;
    MakeBitmap(same, 2, 2);
    Px(same, 0, 0)[2] = 200;
    StackBlur(&same, r);
    EXPECT_EQ(Px(same, 0, 0)[2], 200);
    EXPECT_EQ(Px(same, 0, 0)[3], 0) << "untouched pixels keep their alpha";
  }
  TBitmap rgb;
  rgb.SetPixelFormat(pf24bit);
  rgb.SetSize(2, 2);
  static_cast<uint8_t*>(rgb.ScanLine(0))[0] = 77;
  StackBlur(&rgb, 2);
  EXPECT_EQ(static_cast<uint8_t*>(rgb.ScanLine(0))[0], 77);
  StackBlur(nullptr, 2);
}

// The blur by definition: per axis, each sample weighs r + 1 - |i| with clamped
// coordinates; the horizontal result is truncated before the vertical pass.
std::vector<uint8_t> Reference(const std::vector<uint8_t>& Src, int W, int H, int R) {
  const int ws = (R + 1) * (R + 1);
  auto clampi = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
  std::vector<uint8_t> mid(Src.size()), out(Src.size());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) {
        int s = 0;
        for (int i = -R; i <= R; ++i) s += Src[(y * W + clampi(x + i, 0, W - 1)) * 4 + c] * (R + 1 - std::abs(i));
        mid[(y * W + x) * 4 + c] = static_cast<uint8_t>(s / ws);
      }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      for (int c = 0; c < 3; ++c) {
        int s = 0;
        for (int i = -R; i <= R; ++i) s += mid[(clampi(y + i, 0, H - 1) * W + x) * 4 + c] * (R + 1 - std::abs(i));
        out[(y * W + x) * 4 + c] = static_cast<uint8_t>(s / ws);
      }
      out[(y * W + x) * 4 + 3] = 255;
    }
  return out;
}

// Radii from the smallest through the widest exact float division (63) and the integer path
// beyond it, on a bitmap narrower than most windows so the edges take part everywhere; the
// odd width leaves a partial row of register-sized steps.
TEST(StackBlur, MatchesTheDirectWeightedAverageForAllowedRadii) {
  const int w = 13, h = 7;
  std::mt19937 rng(7);
  std::vector<uint8_t> src(w * h * 4);
  for (auto& v : src) v = static_cast<uint8_t>(rng() & 0xFF);
  for (int r : {1, 2, 5, 6, 20, 63, 64, 254}) {
    TBitmap b;
    MakeBitmap(b, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 4; ++c) Px(b, x, y)[c] = src[(y * w + x) * 4 + c];
    StackBlur(&b, r);
    std::vector<uint8_t> expected = Reference(src, w, h, r);
    int mismatches = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 4; ++c) mismatches += Px(b, x, y)[c] != expected[(y * w + x) * 4 + c];
    EXPECT_EQ(mismatches, 0) << "radius " << r;
  }
}

// Past the cap a radius blurs as the capped one: no overflowing sums, no buffer sized by it.
TEST(StackBlur, HugeRadiiBlurAsTheCap) {
  auto blurred = [](int r) {
    TBitmap b;
    MakeBitmap(b, 9, 5);
    std::mt19937 rng(3);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 9; ++x)
        for (int c = 0; c < 4; ++c) Px(b, x, y)[c] = static_cast<uint8_t>(rng());
    StackBlur(&b, r);
    std::vector<uint8_t> out;
    for (int y = 0; y < 5; ++y) out.insert(out.end(), Px(b, 0, y), Px(b, 0, y) + 9 * 4);
    return out;
  };
  const std::vector<uint8_t> capped = blurred(254);
  EXPECT_EQ(blurred(255), capped);
  EXPECT_EQ(blurred(1 << 30), capped);
}

}  // namespace
