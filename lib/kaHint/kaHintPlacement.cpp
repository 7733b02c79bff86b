// Where a hint goes: the cursor's visible height below its hot spot, and keeping a hint inside
// the work area.
#include <algorithm>
#include <vector>

#include "framework/GdiObjects.h"
#include "framework/PointerPos.h"
#include "lib/kaHint/kaHint.h"

namespace {

// Space between a hint that was moved aside and what it was placed against.
constexpr int kFlipGap = 2;

// The DIB header of a 1-bit picture with its two-entry palette.
struct TMonoBitmapInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[2];
};

}  // namespace

TRect kaPlaceHint(TSize Size, const TkaHintAnchor& Anchor, const TRect& WorkArea) {
  const TRect& a = Anchor.Rect;
  TRect r = Bounds(a.Left, Anchor.Above ? a.Top - Size.cy : a.Bottom, Size.cx, Size.cy);
  if (r.Right > WorkArea.Right) r.Offset(-(Size.cx + kFlipGap), 0);
  if (r.Left < WorkArea.Left) r.Offset(WorkArea.Left - r.Left, 0);
  if (!Anchor.Above && r.Bottom > WorkArea.Bottom)
    r = Bounds(r.Left, a.Top - Size.cy - kFlipGap, Size.cx, Size.cy);
  else if (Anchor.Above && r.Top < WorkArea.Top)
    r = Bounds(r.Left, a.Bottom + kFlipGap, Size.cx, Size.cy);
  // A hint that fits on neither side keeps its top on screen.
  if (r.Bottom > WorkArea.Bottom) r.Offset(0, WorkArea.Bottom - r.Bottom);
  if (r.Top < WorkArea.Top) r.Offset(0, WorkArea.Top - r.Top);
  return r;
}

int kaCursorHeightBelowHotSpot(HCURSOR Cursor) {
  const int systemHeight = ::GetSystemMetrics(SM_CYCURSOR);
  ICONINFO info{};
  if (Cursor == nullptr || !::GetIconInfo(Cursor, &info)) return systemHeight;
  // GetIconInfo hands over copies of both pictures.
  const TBitmapHandle mask(info.hbmMask), color(info.hbmColor);
  BITMAP bm{};
  if (!mask || ::GetObjectW(mask.Get(), sizeof(bm), &bm) == 0 || bm.bmBitsPixel != 1 || bm.bmPlanes != 1)
    return systemHeight;
  // A square cursor: its AND mask is the first Width rows, and a monochrome cursor has its XOR
  // mask in the Width rows after them.
  const int w = bm.bmWidth, h = bm.bmHeight;
  if (w <= 0 || h < w) return systemHeight;
  const int rowBytes = (w + 31) / 32 * 4;
  TMonoBitmapInfo bi{};
  bi.Header.biSize = sizeof(BITMAPINFOHEADER);
  bi.Header.biWidth = w;
  bi.Header.biHeight = -h;  // top-down rows
  bi.Header.biPlanes = 1;
  bi.Header.biBitCount = 1;
  bi.Header.biCompression = BI_RGB;
  std::vector<uint8_t> bits(static_cast<size_t>(rowBytes) * h);
  {
    TWindowDC dc(nullptr);
    if (::GetDIBits(dc.Get(), mask.Get(), 0, h, bits.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS) != h)
      return systemHeight;
  }
  // The lowest row of the W rows from First with a pixel that shows: an AND bit of 0, or an
  // XOR bit of 1 (the padding bits past the width do not count); -1 when none does.
  auto lowestVisibleRow = [&](int First, int ShowingBit) {
    for (int y = w - 1; y >= 0; --y) {
      const uint8_t* row = &bits[static_cast<size_t>(First + y) * rowBytes];
      for (int x = 0; x < w; ++x)
        if (((row[x / 8] >> (7 - x % 8)) & 1) == ShowingBit) return y;
    }
    return -1;
  };
  int lowest = lowestVisibleRow(0, 0);
  if (lowest < 0 && h >= 2 * w) lowest = lowestVisibleRow(w, 1);
  return std::max(0, lowest + 1 - static_cast<int>(info.yHotspot));
}

int kaVisibleCursorHeight() {
  int height = kaCursorHeightBelowHotSpot(::GetCursor());
  if (TCustomForm* form = Screen->ActiveCustomForm()) {
    const int screenPpi = Screen->PixelsPerInch();
    if (screenPpi > 0) height = ::MulDiv(height, form->Monitor().PixelsPerInch(), screenPpi);
  }
  return height;
}

TkaHintAnchor kaCursorHintAnchor() {
  const TPoint p = PointerPos();
  return TkaHintAnchor{TRect(p.X, p.Y, p.X, p.Y + kaVisibleCursorHeight()), false};
}
