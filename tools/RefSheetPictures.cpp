#include "tools/RefSheetPictures.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Mix(int A, int B, double T) { return static_cast<uint8_t>(std::lround(A + (B - A) * T)); }

uint32_t Argb(int A, int R, int G, int B) {
  return (static_cast<uint32_t>(A) << 24) | (static_cast<uint32_t>(R) << 16) | (static_cast<uint32_t>(G) << 8) |
         static_cast<uint32_t>(B);
}

// Coverage of a rounded rectangle (W x H, corner radius Rad) at the pixel centre (X, Y),
// with a one-pixel soft edge.
double RoundedCoverage(double X, double Y, double W, double H, double Rad) {
  const double Dx = std::max({Rad - X, 0.0, X - (W - Rad)});
  const double Dy = std::max({Rad - Y, 0.0, Y - (H - Rad)});
  const double Outside = std::sqrt(Dx * Dx + Dy * Dy) - Rad;
  return std::clamp(0.5 - Outside, 0.0, 1.0);
}

// Whether (X, Y) lies on the arrow: a diagonal shaft and a head at the top right.
bool OnArrow(int X, int Y, int W, int H) {
  const int Cx = W / 2, Cy = H / 2;
  const int U = X - Cx, V = Cy - Y;  // V grows upwards
  const bool Shaft = std::abs(U - V) <= 1 && U >= -8 && U <= 6;
  const bool HeadTop = V >= 5 && V <= 7 && U >= 0 && U <= 7;
  const bool HeadSide = U >= 5 && U <= 7 && V >= 0 && V <= 7;
  return Shaft || HeadTop || HeadSide;
}

}  // namespace

void MakeBadgePicture(TPngImage& Png) {
  const int W = 40, H = 28;
  Png.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const double Cover = RoundedCoverage(X + 0.5, Y + 0.5, W, H, 9);
      if (Cover <= 0) continue;
      const double T = static_cast<double>(X + Y) / (W + H);
      int R = Mix(0x1E, 0x12, T), G = Mix(0x6F, 0xB5, T), B = Mix(0xE8, 0xA0, T);
      if (OnArrow(X, Y, W, H)) R = G = B = 255;
      Png.SetPixel(X, Y, Argb(static_cast<int>(std::lround(Cover * 255)), R, G, B));
    }
}

void MakeSkinBitmap(TBitmap& Bitmap) {
  const int S = 30, M = 8;
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(S, S);
  for (int Y = 0; Y < S; ++Y) {
    auto* Row = static_cast<uint32_t*>(Bitmap.ScanLine(Y));
    for (int X = 0; X < S; ++X) {
      const bool EdgeX = X < M || X >= S - M, EdgeY = Y < M || Y >= S - M;
      uint32_t C;
      if (EdgeX && EdgeY)
        C = Argb(255, 0xD0, 0x30, 0x30);
      else if (EdgeX || EdgeY)
        C = (X + Y) % 4 < 2 ? Argb(255, 0x30, 0xA0, 0x40) : Argb(255, 0x60, 0xC8, 0x70);
      else
        C = (X == S / 2 || Y == S / 2) ? Argb(255, 0xA0, 0xC0, 0xFF) : Argb(255, 0x30, 0x50, 0xC0);
      // Row 0 and column 0 of each part are darker, so tiles show their seams.
      if (X == 0 || X == M || X == S - M || Y == 0 || Y == M || Y == S - M) C &= 0xFF9F9F9F;
      Row[X] = C;
    }
  }
}

void FillChecker(TCanvas* Canvas, const TRect& R) {
  const int Cell = 8;
  Canvas->Brush()->SetStyle(bsSolid);
  for (int Y = R.Top; Y < R.Bottom; Y += Cell)
    for (int X = R.Left; X < R.Right; X += Cell) {
      const bool Dark = ((X - R.Left) / Cell + (Y - R.Top) / Cell) % 2 != 0;
      Canvas->Brush()->SetColor(Dark ? static_cast<TColor>(0xD8D8D8) : static_cast<TColor>(0xF4F4F4));
      Canvas->FillRect(TRect(X, Y, std::min(X + Cell, R.Right), std::min(Y + Cell, R.Bottom)));
    }
}

void AddListGlyph(TImageList& Images, bool WhiteRim) {
  Images.SetWidth(16), Images.SetHeight(16);
  TBitmap glyph(16, 16);
  TCanvas* c = glyph.Canvas();
  const int rim = WhiteRim ? 1 : 0;
  if (WhiteRim) {
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 16, 16));
  }
  c->Brush()->SetColor(static_cast<TColor>(0xC07820));
  c->FillRect(TRect(rim, rim, 16 - rim, 16 - rim));
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(5, 5, 11, 11));
  Images.Add(&glyph, nullptr);
}
