#include "lib/kaDrawUtils/StackBlur.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/Graphics.h"

// All four channels of a pixel travel in one SSE2 register as 32-bit sums; SSE2 is part of
// every processor both targets run on. The window sums move by one sample per step (the
// samples left of and at the centre lose one weight each, those to the right gain one), so
// the cost per pixel does not grow with the radius.

namespace {

// Wider windows than this look the same; the cap keeps every sum and buffer small.
constexpr int kMaxRadius = 254;
// Up to this radius single-precision division is exact (see FloatDivider).
constexpr int kMaxFloatRadius = 63;

inline __m128i Unpack(uint32_t Pixel) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(Pixel)), zero), zero);
}

inline uint32_t Pack(__m128i Channels) {
  const __m128i words = _mm_packs_epi32(Channels, Channels);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

// floor(Sum / d) as (Sum + 0.5) * (1 / d) truncated: the added half keeps an exact multiple
// from landing just below its quotient, and stays below the next one because the fraction
// of Sum / d is at most (d - 1) / d. With d <= 64^2 and Sum < 2^20 the float error (about
// 3e-5) is well inside that 0.5 / d margin on both sides.
struct FloatDivider {
  __m128 Inverse, Half;
  explicit FloatDivider(uint32_t D)
      : Inverse(_mm_set1_ps(1.0f / static_cast<float>(D))), Half(_mm_set1_ps(0.5f)) {}
  uint32_t operator()(__m128i Sum) const {
    return Pack(_mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(Sum), Half), Inverse)));
  }
};

// The wide windows, where floats would round wrongly: per channel in integers.
struct IntegerDivider {
  uint32_t D;
  explicit IntegerDivider(uint32_t AD) : D(AD) {}
  uint32_t operator()(__m128i Sum) const {
    alignas(16) uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), Sum);
    return (lanes[0] / D) | (lanes[1] / D) << 8 | (lanes[2] / D) << 16 | (lanes[3] / D) << 24;
  }
};

// One line of N pixels whose sample i is Line[i] for i in [-Radius - 1, N + Radius]: the
// caller repeats the edge pixels there, so the inner loop needs no clamping.
template <class TDivider>
void BlurRow(const uint32_t* Line, int N, int Radius, const TDivider& Divide, uint32_t* Out) {
  __m128i sum = _mm_setzero_si128(), sumIn = _mm_setzero_si128(), sumOut = _mm_setzero_si128();
  for (int i = -Radius; i <= Radius; ++i) {
    const __m128i p = Unpack(Line[i]);
    const int weight = Radius + 1 - (i < 0 ? -i : i);
    // Byte times weight (at most 255 * 255) fits a 16-bit lane; widened after the product.
    const __m128i weighted = _mm_mullo_epi16(_mm_packs_epi32(p, p), _mm_set1_epi16(static_cast<short>(weight)));
    sum = _mm_add_epi32(sum, _mm_unpacklo_epi16(weighted, _mm_setzero_si128()));
    if (i <= 0)
      sumOut = _mm_add_epi32(sumOut, p);
    else
      sumIn = _mm_add_epi32(sumIn, p);
  }
  for (int x = 0; x < N; ++x) {
    Out[x] = Divide(sum);
    const __m128i entering = Unpack(Line[x + Radius + 1]), centre = Unpack(Line[x + 1]);
    sum = _mm_sub_epi32(sum, sumOut);
    sumOut = _mm_sub_epi32(sumOut, Unpack(Line[x - Radius]));
    sumIn = _mm_add_epi32(sumIn, entering);
    sum = _mm_add_epi32(sum, sumIn);
    sumOut = _mm_add_epi32(sumOut, centre);
    sumIn = _mm_sub_epi32(sumIn, centre);
  }
}

// The column pass, row by row: each column keeps its three window sums, so every row is read
// and written front to back. Source(y) is the horizontally blurred row y (any y, clamped by
// the caller's rows); Target(y) receives the result with alpha 255.
// A column's three window sums, kept in plain memory: heap blocks of the 32-bit runtimes are
// only 8-byte aligned, so they are moved in and out with unaligned loads and stores.
struct TColumnSums {
  uint32_t Sum[4], In[4], Out[4];
};

inline __m128i Load(const uint32_t* P) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(P)); }
inline void Store(uint32_t* P, __m128i V) { _mm_storeu_si128(reinterpret_cast<__m128i*>(P), V); }

// The column pass, row by row: each column keeps its three window sums, so every row is read
// and written front to back. Source(y) is the horizontally blurred row y (y in [0, H));
// Target(y) receives the result with alpha 255.
template <class TDivider, class TSource, class TTarget>
void BlurColumns(int W, int H, int Radius, const TDivider& Divide, TSource&& Source, TTarget&& Target) {
  std::vector<TColumnSums> sums(static_cast<size_t>(W), TColumnSums{});
  auto rowAt = [&](int y) { return Source(std::clamp(y, 0, H - 1)); };
  for (int i = -Radius; i <= Radius; ++i) {
    const uint32_t* line = rowAt(i);
    const int weight = Radius + 1 - (i < 0 ? -i : i);
    const __m128i weights = _mm_set1_epi16(static_cast<short>(weight));
    for (int x = 0; x < W; ++x) {
      const __m128i p = Unpack(line[x]);
      const __m128i weighted = _mm_mullo_epi16(_mm_packs_epi32(p, p), weights);
      TColumnSums& s = sums[static_cast<size_t>(x)];
      Store(s.Sum, _mm_add_epi32(Load(s.Sum), _mm_unpacklo_epi16(weighted, _mm_setzero_si128())));
      if (i <= 0)
        Store(s.Out, _mm_add_epi32(Load(s.Out), p));
      else
        Store(s.In, _mm_add_epi32(Load(s.In), p));
    }
  }
  for (int y = 0; y < H; ++y) {
    uint32_t* out = Target(y);
    const uint32_t* entering = rowAt(y + Radius + 1);
    const uint32_t* centre = rowAt(y + 1);
    const uint32_t* leaving = rowAt(y - Radius);
    for (int x = 0; x < W; ++x) {
      TColumnSums& s = sums[static_cast<size_t>(x)];
      __m128i sum = Load(s.Sum), in = Load(s.In), outSum = Load(s.Out);
      out[x] = Divide(sum) | 0xFF000000u;
      const __m128i c = Unpack(centre[x]);
      sum = _mm_sub_epi32(sum, outSum);
      outSum = _mm_sub_epi32(outSum, Unpack(leaving[x]));
      in = _mm_add_epi32(in, Unpack(entering[x]));
      sum = _mm_add_epi32(sum, in);
      Store(s.Sum, sum);
      Store(s.Out, _mm_add_epi32(outSum, c));
      Store(s.In, _mm_sub_epi32(in, c));
    }
  }
}

template <class TDivider>
void BlurBitmap(TBitmap* Bitmap, int Radius, const TDivider& Divide) {
  const int w = Bitmap->Width(), h = Bitmap->Height();
  // Rows are reached from the last scan line: the storage is bottom-up, so row y sits
  // (h - 1 - y) strides above it in memory.
  uint8_t* last = static_cast<uint8_t*>(Bitmap->ScanLine(h - 1));
  const ptrdiff_t stride = static_cast<ptrdiff_t>(Bitmap->BytesPerScanLine());
  auto row = [&](int y) { return reinterpret_cast<uint32_t*>(last + static_cast<ptrdiff_t>(h - 1 - y) * stride); };

  // The rows go through a ring of the 2r + 2 horizontally blurred rows the column pass
  // needs at once, each blurred just before its first use: the working set stays in cache,
  // and the rows written back (above the ring) are never read again.
  const int ringRows = std::min(h, 2 * Radius + 2);
  std::vector<uint32_t> ring(static_cast<size_t>(ringRows) * static_cast<size_t>(w));
  auto ringRow = [&](int y) { return ring.data() + static_cast<size_t>(y % ringRows) * w; };
  std::vector<uint32_t> padded(static_cast<size_t>(w) + 2 * static_cast<size_t>(Radius) + 2);
  uint32_t* const line = padded.data() + Radius + 1;
  int blurred = 0;
  auto source = [&](int y) -> const uint32_t* {
    for (; blurred <= y; ++blurred) {
      const uint32_t* src = row(blurred);
      std::fill(padded.begin(), padded.begin() + Radius + 1, src[0]);
      std::memcpy(line, src, static_cast<size_t>(w) * sizeof(uint32_t));
      std::fill(padded.begin() + Radius + 1 + w, padded.end(), src[w - 1]);
      BlurRow(line, w, Radius, Divide, ringRow(blurred));
    }
    return ringRow(y);
  };
  BlurColumns(w, h, Radius, Divide, source, row);
}

}  // namespace

void StackBlur(TBitmap* Bitmap, int Radius) {
  if (Bitmap == nullptr || Radius <= 0 || Bitmap->PixelFormat() != pf32bit) return;
  if (Bitmap->Width() <= 0 || Bitmap->Height() <= 0) return;
  Radius = std::min(Radius, kMaxRadius);
  // The weights sum to (r + 1)^2 per axis.
  const uint32_t weightSum = static_cast<uint32_t>(Radius + 1) * static_cast<uint32_t>(Radius + 1);
  if (Radius <= kMaxFloatRadius)
    BlurBitmap(Bitmap, Radius, FloatDivider(weightSum));
  else
    BlurBitmap(Bitmap, Radius, IntegerDivider(weightSum));
}
