// Reading the demo's pictures: colours, their composition over what lies under them, and a
// read-only view of a captured bitmap.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "framework/Graphics.h"

namespace demotest {

struct TRgb {
  int R = 0, G = 0, B = 0;
  int Darkest() const { return std::min({R, G, B}); }
};

inline std::ostream& operator<<(std::ostream& Os, const TRgb& C) {
  return Os << "rgb(" << C.R << ", " << C.G << ", " << C.B << ")";
}

inline TRgb RgbOf(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// Color at opacity Alpha over Under, as the alpha fills compose it.
inline TRgb Over(TColor Color, uint8_t Alpha, TRgb Under) {
  const TRgb c = RgbOf(Color);
  auto mix = [Alpha](int Top, int Bottom) { return (Top * Alpha + Bottom * (255 - Alpha) + 127) / 255; };
  return {mix(c.R, Under.R), mix(c.G, Under.G), mix(c.B, Under.B)};
}

inline int Distance(TRgb A, TRgb B) {
  return std::max({std::abs(A.R - B.R), std::abs(A.G - B.G), std::abs(A.B - B.B)});
}

// Read access to a captured picture (bottom-up pf32bit, blue first).
class TPicture32 {
 public:
  explicit TPicture32(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  int Width() const { return FBitmap->Width(); }
  int Height() const { return FBitmap->Height(); }
  TRgb At(int X, int Y) const {
    const auto* p = static_cast<const uint8_t*>(FBitmap->ScanLine(Y)) + X * 4;
    return {p[2], p[1], p[0]};
  }
  // The first pixel of R (clipped to the picture) that Bad picks out, if any.
  template <class F>
  std::optional<TPoint> Find(const TRect& R, F&& Bad) const {
    for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, Height()); ++y)
      for (int x = std::max(R.Left, 0); x < std::min(R.Right, Width()); ++x)
        if (Bad(TPoint(x, y), At(x, y))) return TPoint(x, y);
    return std::nullopt;
  }
  // The darkest channel value in R.
  int Darkest(const TRect& R) const {
    int darkest = 255;
    Find(R, [&](TPoint, TRgb c) {
      darkest = std::min(darkest, c.Darkest());
      return false;
    });
    return darkest;
  }
  // How much darker than Face the pixels of R are, summed over R: the ink of text drawn on
  // a plain face.
  long Ink(const TRect& R, TRgb Face) const {
    long ink = 0;
    Find(R, [&](TPoint, TRgb c) {
      ink += std::max(0, Face.Darkest() - c.Darkest());
      return false;
    });
    return ink;
  }

 private:
  TBitmap* FBitmap;
};

}  // namespace demotest
