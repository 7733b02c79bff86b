// Checks on painted pixels that the control tests share: a colour within a tolerance, and
// where the pixels of one colour lie in a bitmap.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "framework/Graphics.h"

// Each channel of Actual within Tolerance of Expected's (system colours resolved).
inline ::testing::AssertionResult NearColor(TColor Actual, TColor Expected, int Tolerance = 3) {
  Actual = ColorToRGB(Actual), Expected = ColorToRGB(Expected);
  const int d[] = {std::abs(GetRValue(Actual) - GetRValue(Expected)),
                   std::abs(GetGValue(Actual) - GetGValue(Expected)),
                   std::abs(GetBValue(Actual) - GetBValue(Expected))};
  for (int v : d)
    if (v > Tolerance)
      return ::testing::AssertionFailure() << ToUtf8(Format(L"colour %06X is not %06X", static_cast<unsigned>(Actual),
                                                            static_cast<unsigned>(Expected)));
  return ::testing::AssertionSuccess();
}

inline TColor PixelAt(TBitmap* B, int X, int Y) { return B->Canvas()->Pixel(X, Y); }

// The bounds of the pixels of exactly Color from column MinX on; empty when there are none.
inline TRect ColorBox(TBitmap* B, TColor Color, int MinX = 0) {
  TRect box(B->Width(), B->Height(), -1, -1);
  for (int y = 0; y < B->Height(); ++y)
    for (int x = MinX; x < B->Width(); ++x)
      if (PixelAt(B, x, y) == ColorToRGB(Color))
        box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                    std::max(box.Bottom, y + 1));
  return box.Right < 0 ? TRect() : box;
}
