// ka_makepictures <out-folder>: draws the demo's two decorative pictures and saves them as
// PNG with the framework's encoder:
//   side-menu-wallpaper.png (300 x 255): soft layered hills under a low sun, fading out
//     towards the top so the side menu's buttons stay readable over it;
//   message-backdrop.png (574 x 225): translucent overlapping discs gathered in the top-right
//     corner, fading out towards the message text on the left.
// Every edge is computed with its own coverage, so the pictures are smooth on any platform
// (shapes drawn through GDI+ under Wine would not be anti-aliased).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "framework/PngImage.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct TRgba {
  double R = 0, G = 0, B = 0, A = 0;  // straight alpha, 0..1
};

// A straight-alpha canvas composed with the "over" operator.
class TCanvasF {
 public:
  TCanvasF(int W, int H) : FW(W), FH(H), FPixels(static_cast<size_t>(W) * H) {}
  int Width() const { return FW; }
  int Height() const { return FH; }

  void Over(int X, int Y, double R, double G, double B, double A) {
    if (A <= 0) return;
    TRgba& d = FPixels[static_cast<size_t>(Y) * FW + X];
    const double a = A + d.A * (1 - A);
    if (a <= 0) return;
    d.R = (R * A + d.R * d.A * (1 - A)) / a;
    d.G = (G * A + d.G * d.A * (1 - A)) / a;
    d.B = (B * A + d.B * d.A * (1 - A)) / a;
    d.A = a;
  }
  void ScaleAlpha(int X, int Y, double F) { FPixels[static_cast<size_t>(Y) * FW + X].A *= F; }

  KaPng::TImageData ToImage() const {
    KaPng::TImageData img;
    img.Width = FW;
    img.Height = FH;
    img.ColorType = KaPng::ctRGBA;
    img.TransparencyMode = ptmPartial;
    img.Pixels.resize(static_cast<size_t>(FW) * FH * 4);
    auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    for (size_t i = 0; i < FPixels.size(); ++i) {
      img.Pixels[i * 4 + 0] = byte(FPixels[i].R);
      img.Pixels[i * 4 + 1] = byte(FPixels[i].G);
      img.Pixels[i * 4 + 2] = byte(FPixels[i].B);
      img.Pixels[i * 4 + 3] = byte(FPixels[i].A);
    }
    return img;
  }

 private:
  int FW, FH;
  std::vector<TRgba> FPixels;
};

double Smoothstep(double E0, double E1, double X) {
  const double t = std::clamp((X - E0) / (E1 - E0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Colour from 0..255 components.
TRgba Rgb(int R, int G, int B, double A = 1) { return {R / 255.0, G / 255.0, B / 255.0, A}; }

// A ridge line: the sum of a few sines over the picture's width.
struct THill {
  double Base;                      // mean height of the ridge, in pixels from the top
  double Amp1, Freq1, Phase1;       // the broad swell
  double Amp2, Freq2, Phase2;       // a smaller ripple on it
  TRgba Top, Bottom;                // colour at the ridge and at the picture's bottom
  double Ridge(double X, double W) const {
    const double u = X / W;
    return Base + Amp1 * std::sin(2 * kPi * (Freq1 * u + Phase1)) + Amp2 * std::sin(2 * kPi * (Freq2 * u + Phase2));
  }
};

// Fills below a ridge with a vertical gradient; the edge gets the coverage of the pixel it
// crosses, taken along the ridge's normal so steep slopes stay smooth.
void DrawHill(TCanvasF& C, const THill& H) {
  const double w = C.Width(), h = C.Height();
  for (int x = 0; x < C.Width(); ++x) {
    const double cx = x + 0.5;
    const double ridge = H.Ridge(cx, w);
    const double slope = (H.Ridge(cx + 0.5, w) - H.Ridge(cx - 0.5, w));
    const double normal = std::sqrt(1 + slope * slope);
    for (int y = std::max(0, static_cast<int>(ridge) - 2); y < C.Height(); ++y) {
      const double cover = std::clamp((y + 0.5 - ridge) / normal + 0.5, 0.0, 1.0);
      if (cover <= 0) continue;
      const double t = std::clamp((y + 0.5 - ridge) / std::max(1.0, h - ridge), 0.0, 1.0);
      C.Over(x, y, H.Top.R + (H.Bottom.R - H.Top.R) * t, H.Top.G + (H.Bottom.G - H.Top.G) * t,
             H.Top.B + (H.Bottom.B - H.Top.B) * t, (H.Top.A + (H.Bottom.A - H.Top.A) * t) * cover);
    }
  }
}

// A disc with a soft rim (Soft pixels wide) and a gentle radial shading.
void DrawDisc(TCanvasF& C, double CX, double CY, double Radius, double Soft, const TRgba& Inner, const TRgba& Outer) {
  const int x0 = std::max(0, static_cast<int>(CX - Radius - Soft - 1));
  const int x1 = std::min(C.Width() - 1, static_cast<int>(CX + Radius + Soft + 1));
  const int y0 = std::max(0, static_cast<int>(CY - Radius - Soft - 1));
  const int y1 = std::min(C.Height() - 1, static_cast<int>(CY + Radius + Soft + 1));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - CX, y + 0.5 - CY);
      const double cover = 1 - Smoothstep(Radius - Soft, Radius + 0.5, d);
      if (cover <= 0) continue;
      const double t = std::clamp(d / Radius, 0.0, 1.0);
      C.Over(x, y, Inner.R + (Outer.R - Inner.R) * t, Inner.G + (Outer.G - Inner.G) * t,
             Inner.B + (Outer.B - Inner.B) * t, (Inner.A + (Outer.A - Inner.A) * t) * cover);
    }
  }
}

KaPng::TImageData SideMenuWallpaper() {
  TCanvasF c(300, 255);
  // A low sun behind the hills, very faint.
  DrawDisc(c, 205, 118, 34, 18, Rgb(255, 214, 170, 0.55), Rgb(255, 184, 150, 0.0));
  // Pastel, and never opaque: the side menu's darkest text and icons sit on the front hills.
  const THill hills[] = {
      {120, 16, 0.8, 0.10, 5, 2.3, 0.4, Rgb(190, 206, 240, 0.50), Rgb(204, 216, 243, 0.60)},
      {150, 14, 1.1, 0.55, 4, 3.1, 0.2, Rgb(160, 186, 234, 0.52), Rgb(182, 202, 240, 0.62)},
      {182, 12, 0.9, 0.30, 3, 2.7, 0.7, Rgb(134, 166, 226, 0.52), Rgb(160, 186, 234, 0.62)},
      {214, 10, 1.3, 0.80, 3, 3.5, 0.1, Rgb(112, 148, 218, 0.50), Rgb(140, 172, 228, 0.60)},
  };
  for (const THill& h : hills) DrawHill(c, h);
  // Fade out towards the top: nothing above the first ridges, full strength near the bottom.
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) c.ScaleAlpha(x, y, Smoothstep(70, 200, y + 0.5));
  return c.ToImage();
}

KaPng::TImageData MessageBackdrop() {
  TCanvasF c(574, 225);
  struct TDisc {
    double X, Y, R;
    TRgba Inner, Outer;
  };
  const TDisc discs[] = {
      {520, 30, 120, Rgb(120, 160, 235, 0.30), Rgb(150, 120, 230, 0.18)},
      {430, -10, 80, Rgb(170, 140, 240, 0.28), Rgb(120, 170, 240, 0.12)},
      {560, 150, 70, Rgb(110, 190, 235, 0.26), Rgb(140, 150, 235, 0.10)},
      {385, 70, 42, Rgb(150, 180, 245, 0.22), Rgb(180, 150, 240, 0.08)},
      {470, 120, 28, Rgb(190, 160, 245, 0.24), Rgb(150, 190, 245, 0.10)},
      {330, 18, 20, Rgb(140, 190, 245, 0.20), Rgb(170, 160, 240, 0.06)},
  };
  for (const TDisc& d : discs) DrawDisc(c, d.X, d.Y, d.R, 1.5, d.Inner, d.Outer);
  // Fade out to the left and the bottom, where the message text and its button sit.
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      c.ScaleAlpha(x, y, Smoothstep(260, 470, x + 0.5) * (1 - Smoothstep(150, 225, y + 0.5) * 0.7));
  return c.ToImage();
}

bool Save(const KaPng::TImageData& Image, const std::string& Path) {
  std::ofstream out(Path, std::ios::binary);
  if (!out) return false;
  KaPng::Encode(Image, out);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ka_makepictures <out-folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "\\";
  try {
    if (!Save(SideMenuWallpaper(), dir + "side-menu-wallpaper.png") ||
        !Save(MessageBackdrop(), dir + "message-backdrop.png")) {
      std::fprintf(stderr, "ka_makepictures: cannot write into %s\n", argv[1]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ka_makepictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
