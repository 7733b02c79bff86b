#include "lib/kaDrawUtils/StackBlur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/Graphics.h"

namespace {

// One pass along a line of N samples read through Get and written through Put. The
// weighted window sum moves by one sample per step: the samples left of and at the centre
// (Out) lose one weight each, those to the right (In) gain one, so the cost per sample is
// constant whatever the radius.
template <class TGet, class TPut>
void BlurLine(int N, int Radius, const std::vector<uint8_t>& DivTable, TGet&& Get, TPut&& Put) {
  auto at = [&](int i) { return Get(std::clamp(i, 0, N - 1)); };
  uint32_t sum = 0, sumIn = 0, sumOut = 0;
  for (int i = -Radius; i <= Radius; ++i) {
    uint32_t p = at(i);
    sum += p * static_cast<uint32_t>(Radius + 1 - (i < 0 ? -i : i));
    if (i <= 0)
      sumOut += p;
    else
      sumIn += p;
  }
  for (int x = 0; x < N; ++x) {
    Put(x, DivTable[sum]);
    uint32_t entering = at(x + Radius + 1), centre = at(x + 1);
    sum -= sumOut;
    sumOut -= at(x - Radius);
    sumIn += entering;
    sum += sumIn;
    sumOut += centre;
    sumIn -= centre;
  }
}

}  // namespace

void StackBlur(TBitmap* Bitmap, int Radius) {
  if (Bitmap == nullptr || Radius <= 0 || Bitmap->PixelFormat() != pf32bit) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  if (w <= 0 || h <= 0) return;

  // The weights sum to (r + 1)^2, so a weighted sum of bytes is below 256 (r + 1)^2.
  const uint32_t weightSum = static_cast<uint32_t>(Radius + 1) * static_cast<uint32_t>(Radius + 1);
  std::vector<uint8_t> divTable(256 * weightSum);
  for (size_t i = 0; i < divTable.size(); ++i) divTable[i] = static_cast<uint8_t>(i / weightSum);

  // Rows are reached from the last scan line: the storage is bottom-up, so row y sits
  // (h - 1 - y) strides above it in memory.
  uint8_t* last = static_cast<uint8_t*>(Bitmap->ScanLine(h - 1));
  const ptrdiff_t stride = static_cast<ptrdiff_t>(Bitmap->BytesPerScanLine());
  auto row = [&](int y) { return last + static_cast<ptrdiff_t>(h - 1 - y) * stride; };

  const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  std::vector<uint8_t> planes[3] = {std::vector<uint8_t>(count), std::vector<uint8_t>(count),
                                    std::vector<uint8_t>(count)};
  for (int y = 0; y < h; ++y) {
    const uint8_t* px = row(y);
    for (int c = 0; c < 3; ++c) {
      uint8_t* plane = planes[c].data() + static_cast<size_t>(y) * w;
      BlurLine(w, Radius, divTable, [&](int x) { return px[x * 4 + c]; },
               [&](int x, uint8_t v) { plane[x] = v; });
    }
  }
  for (int x = 0; x < w; ++x) {
    for (int c = 0; c < 3; ++c) {
      const uint8_t* plane = planes[c].data();
      BlurLine(h, Radius, divTable, [&](int y) { return plane[static_cast<size_t>(y) * w + x]; },
               [&](int y, uint8_t v) {
                 uint8_t* px = row(y) + x * 4;
                 px[c] = v;
                 px[3] = 255;
               });
    }
  }
}
