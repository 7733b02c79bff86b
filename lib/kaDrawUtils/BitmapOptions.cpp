#include "lib/kaDrawUtils/BitmapOptions.h"

#include <algorithm>
#include <cstring>

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"

// ---- TkaBitmapOptions ---------------------------------------------------------------------

void TkaBitmapOptions::Changed() {
  if (OnChange) OnChange(this);
}

void TkaBitmapOptions::SetLeftMargin(int Value) {
  FLeftMargin = Value;
  Changed();
}

void TkaBitmapOptions::SetTopMargin(int Value) {
  FTopMargin = Value;
  Changed();
}

void TkaBitmapOptions::SetRightMargin(int Value) {
  FRightMargin = Value;
  Changed();
}

void TkaBitmapOptions::SetBottomMargin(int Value) {
  FBottomMargin = Value;
  Changed();
}

void TkaBitmapOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaBitmapOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FLeftMargin = s->FLeftMargin;
  FTopMargin = s->FTopMargin;
  FRightMargin = s->FRightMargin;
  FBottomMargin = s->FBottomMargin;
  FAlphaBlend = s->FAlphaBlend;
  FAlphaBlendBorder = s->FAlphaBlendBorder;
  FAlphaBlendCorners = s->FAlphaBlendCorners;
  FStretch = s->FStretch;
  FStretchBorder = s->FStretchBorder;
  FDrawOnlyBorder = s->FDrawOnlyBorder;
  Changed();
}

KA_REGISTER_CLASS(TkaBitmapOptions, [](auto& c) {
  using O = TkaBitmapOptions;
  c.Property(L"LeftMargin", &O::LeftMargin, &O::SetLeftMargin);
  c.Property(L"TopMargin", &O::TopMargin, &O::SetTopMargin);
  c.Property(L"RightMargin", &O::RightMargin, &O::SetRightMargin);
  c.Property(L"BottomMargin", &O::BottomMargin, &O::SetBottomMargin);
  c.Property(L"AlphaBlend", &O::AlphaBlend, &O::SetAlphaBlend);
  c.Property(L"AlphaBlendBorder", &O::AlphaBlendBorder, &O::SetAlphaBlendBorder);
  c.Property(L"AlphaBlendCorners", &O::AlphaBlendCorners, &O::SetAlphaBlendCorners);
  c.Property(L"Stretch", &O::Stretch, &O::SetStretch);
  c.Property(L"StretchBorder", &O::StretchBorder, &O::SetStretchBorder);
  c.Property(L"DrawOnlyBorder", &O::DrawOnlyBorder, &O::SetDrawOnlyBorder);
  c.Property(L"DrawInClipRect", &O::DrawInClipRect, &O::SetDrawInClipRect);
  c.Property(L"ContentLeftMargin", &O::ContentLeftMargin, &O::SetContentLeftMargin);
  c.Property(L"ContentRightMargin", &O::ContentRightMargin, &O::SetContentRightMargin);
  c.Property(L"ContentTopMargin", &O::ContentTopMargin, &O::SetContentTopMargin);
  c.Property(L"ContentBottomMargin", &O::ContentBottomMargin, &O::SetContentBottomMargin);
  c.Property(L"OnChange", &O::OnChange);
});

// ---- Pixels ---------------------------------------------------------------------------------

namespace {

// The pixels of a non-empty pf32bit bitmap as one block: at 32 bits a scan line has no
// padding, and the last row is the first in memory. nullptr for anything else.
uint8_t* PixelBlock(TBitmap* Bitmap, size_t& Count) {
  if (Bitmap == nullptr || Bitmap->Empty() || Bitmap->PixelFormat() != pf32bit) return nullptr;
  Count = static_cast<size_t>(Bitmap->Width()) * static_cast<size_t>(Bitmap->Height());
  return static_cast<uint8_t*>(Bitmap->ScanLine(Bitmap->Height() - 1));
}

}  // namespace

void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha) {
  size_t count = 0;
  uint8_t* p = PixelBlock(Bitmap, count);
  if (p == nullptr) return;
  for (size_t i = 0; i < count; ++i) p[i * 4 + 3] = Alpha;
}

void FillBitmapRGB(TBitmap* Bitmap, TColor Color) {
  size_t count = 0;
  uint8_t* p = PixelBlock(Bitmap, count);
  if (p == nullptr) return;
  const TColor c = ColorToRGB(Color);
  for (size_t i = 0; i < count; ++i) {
    p[i * 4] = GetBValue(c);
    p[i * 4 + 1] = GetGValue(c);
    p[i * 4 + 2] = GetRValue(c);
  }
}

void FillBitmapPixels(TBitmap* Bitmap, uint32_t Value) {
  size_t count = 0;
  uint8_t* p = PixelBlock(Bitmap, count);
  if (p == nullptr) return;
  if (Value == 0 || Value == 0xFFFFFFFFu) {
    std::memset(p, Value == 0 ? 0 : 0xFF, count * 4);
    return;
  }
  for (size_t i = 0; i < count; ++i) std::memcpy(p + i * 4, &Value, 4);  // little-endian: B, G, R, A
}

// ---- Blits ----------------------------------------------------------------------------------

void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha, const TRect& DestRect) {
  if (Bitmap == nullptr || Bitmap->Empty() || Canvas == nullptr) return;
  HDC src = Bitmap->Canvas()->Handle();
  Canvas->Changing();
  const BLENDFUNCTION bf{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  ::AlphaBlend(Canvas->Handle(), DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), src, SourceRect.Left,
               SourceRect.Top, SourceRect.Width(), SourceRect.Height(), bf);
  Canvas->Changed();
}

void DrawBitmapAlpha(TBitmap* Bitmap, TCanvas* Canvas, int X, uint8_t Alpha, int Y) {
  if (Bitmap == nullptr) return;
  AlphaBlendRect(Bitmap, Canvas, Rect(0, 0, Bitmap->Width(), Bitmap->Height()), Alpha,
                 Bounds(X, Y, Bitmap->Width(), Bitmap->Height()));
}

void StretchRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect) {
  if (Bitmap == nullptr || Bitmap->Empty() || Canvas == nullptr) return;
  HDC src = Bitmap->Canvas()->Handle();
  Canvas->Changing();
  ::StretchBlt(Canvas->Handle(), DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), src, SourceRect.Left,
               SourceRect.Top, SourceRect.Width(), SourceRect.Height(), SRCCOPY);
  Canvas->Changed();
}

namespace {

// Lays tiles of SourceRect's size from DestRect's top-left corner, column by column, each cut
// to DestRect, and hands every tile with the matching top-left part of the source to Blit.
template <class F>
void ForEachTile(const TRect& SourceRect, const TRect& DestRect, F&& Blit) {
  const int w = SourceRect.Width(), h = SourceRect.Height();
  if (w <= 0 || h <= 0) return;  // a tile without area would never advance
  const int columns = std::max(DestRect.Width() / w, 0), rows = std::max(DestRect.Height() / h, 0);
  for (int i = 0; i <= columns; ++i) {
    for (int j = 0; j <= rows; ++j) {
      const TRect tile = IntersectRect(Bounds(DestRect.Left + i * w, DestRect.Top + j * h, w, h), DestRect);
      if (tile.IsEmpty()) break;
      Blit(Bounds(SourceRect.Left, SourceRect.Top, tile.Width(), tile.Height()), tile);
    }
  }
}

}  // namespace

void TileRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect) {
  ForEachTile(SourceRect, DestRect, [&](const TRect& Src, const TRect& Dst) { StretchRect(Bitmap, Canvas, Src, Dst); });
}

void TileRectAlpha(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha, const TRect& DestRect) {
  ForEachTile(SourceRect, DestRect,
              [&](const TRect& Src, const TRect& Dst) { AlphaBlendRect(Bitmap, Canvas, Src, Alpha, Dst); });
}

// ---- Drawing by margins ---------------------------------------------------------------------

namespace {

// One part of the bitmap and where it goes. Cutting or shifting the destination cuts the
// source by the same amount, so what remains is drawn at the same scale.
struct TPart {
  TRect Src, Dst;

  void CutRight(int Limit) {
    const int d = Dst.Right - Limit;
    if (d <= 0) return;
    Dst.Right -= d;
    Src.Right -= d;
  }
  void CutBottom(int Limit) {
    const int d = Dst.Bottom - Limit;
    if (d <= 0) return;
    Dst.Bottom -= d;
    Src.Bottom -= d;
  }
  void StartAtOrAfter(int X) {
    const int d = X - Dst.Left;
    if (d <= 0) return;
    Dst.Left += d;
    Src.Left += d;
  }
  void StartAtOrBelow(int Y) {
    const int d = Y - Dst.Top;
    if (d <= 0) return;
    Dst.Top += d;
    Src.Top += d;
  }
  // Parts of margins larger than the bitmap, or squeezed out by a small destination, have no
  // area on one side or the other; they are skipped rather than mirrored or divided by.
  bool Drawable() const { return Src.Width() > 0 && Src.Height() > 0 && Dst.Width() > 0 && Dst.Height() > 0; }
};

class TMarginPainter {
 public:
  TMarginPainter(TBitmap* Bitmap, const TkaBitmapOptions* Options, TCanvas* Canvas, uint8_t Alpha)
      : FBitmap(Bitmap), FOptions(Options), FCanvas(Canvas), FAlpha(Alpha), F32(Bitmap->PixelFormat() == pf32bit) {}

  void Whole(const TRect& D) const;
  void NineParts(const TRect& D) const;
  void Stacked(const TRect& D) const;
  void SideBySide(const TRect& D) const;

 private:
  void Fixed(const TPart& P) const {
    if (!P.Drawable()) return;
    if (F32 && FOptions->AlphaBlendCorners())
      AlphaBlendRect(FBitmap, FCanvas, P.Src, FAlpha, P.Dst);
    else
      FCanvas->CopyRect(P.Dst, FBitmap->Canvas(), P.Src);
  }
  void Edge(const TPart& P) const {
    if (!P.Drawable()) return;
    if (F32 && FOptions->AlphaBlendBorder()) {
      if (FOptions->StretchBorder())
        AlphaBlendRect(FBitmap, FCanvas, P.Src, FAlpha, P.Dst);
      else
        TileRectAlpha(FBitmap, FCanvas, P.Src, FAlpha, P.Dst);
    } else if (FOptions->StretchBorder()) {
      StretchRect(FBitmap, FCanvas, P.Src, P.Dst);
    } else {
      TileRect(FBitmap, FCanvas, P.Src, P.Dst);
    }
  }
  void Centre(const TPart& P) const {
    if (!P.Drawable()) return;
    const bool blend = F32 && FOptions->AlphaBlend();
    if (FOptions->Stretch()) {
      if (blend)
        AlphaBlendRect(FBitmap, FCanvas, P.Src, FAlpha, P.Dst);
      else
        StretchRect(FBitmap, FCanvas, P.Src, P.Dst);
    } else if (blend) {
      TileRectAlpha(FBitmap, FCanvas, P.Src, FAlpha, P.Dst);
    } else {
      TileRect(FBitmap, FCanvas, P.Src, P.Dst);
    }
  }

  TBitmap* FBitmap;
  const TkaBitmapOptions* FOptions;
  TCanvas* FCanvas;
  uint8_t FAlpha;
  bool F32;
};

void TMarginPainter::Whole(const TRect& D) const {
  const int x = std::max(D.Left + D.Width() / 2 - FBitmap->Width() / 2, D.Left);
  const int y = std::max(D.Top + D.Height() / 2 - FBitmap->Height() / 2, D.Top);
  if (F32)
    DrawBitmapAlpha(FBitmap, FCanvas, x, FAlpha, y);
  else
    FCanvas->Draw(x, y, FBitmap);
}

void TMarginPainter::NineParts(const TRect& D) const {
  const int W = FBitmap->Width(), H = FBitmap->Height();
  const int l = FOptions->LeftMargin(), t = FOptions->TopMargin();
  const int r = FOptions->RightMargin(), b = FOptions->BottomMargin();

  // The left and top parts are cut at D's far edges; the right and lower parts then start
  // no earlier than the parts before them end. The top-right corner is cut at D's bottom
  // too, so a destination lower than the top margin is not overdrawn below.
  TPart tl{{0, 0, l, t}, {D.Left, D.Top, D.Left + l, D.Top + t}};
  tl.CutRight(D.Right);
  tl.CutBottom(D.Bottom);
  TPart top{{l, 0, W - r, t}, {D.Left + l, D.Top, D.Right - r, D.Top + t}};
  top.CutRight(D.Right);
  top.CutBottom(D.Bottom);
  TPart left{{0, t, l, H - b}, {D.Left, D.Top + t, D.Left + l, D.Bottom - b}};
  left.CutRight(D.Right);
  left.CutBottom(D.Bottom);
  TPart tr{{W - r, 0, W, t}, {D.Right - r, D.Top, D.Right, D.Top + t}};
  tr.StartAtOrAfter(tl.Dst.Right);
  tr.CutBottom(D.Bottom);
  TPart bl{{0, H - b, l, H}, {D.Left, D.Bottom - b, D.Left + l, D.Bottom}};
  bl.CutRight(D.Right);
  bl.StartAtOrBelow(tl.Dst.Bottom);
  TPart br{{W - r, H - b, W, H}, {D.Right - r, D.Bottom - b, D.Right, D.Bottom}};
  br.StartAtOrAfter(bl.Dst.Right);
  br.StartAtOrBelow(tr.Dst.Bottom);
  TPart bottom{{l, H - b, W - r, H}, {D.Left + l, D.Bottom - b, D.Right - r, D.Bottom}};
  bottom.StartAtOrBelow(top.Dst.Bottom);
  TPart right{{W - r, t, W, H - b}, {D.Right - r, D.Top + t, D.Right, D.Bottom - b}};
  right.StartAtOrAfter(left.Dst.Right);

  Fixed(tl);
  Fixed(tr);
  Fixed(bl);
  Fixed(br);
  Edge(top);
  Edge(bottom);
  Edge(left);
  Edge(right);
  if (!FOptions->DrawOnlyBorder()) Centre({{l, t, W - r, H - b}, {D.Left + l, D.Top + t, D.Right - r, D.Bottom - b}});
}

void TMarginPainter::Stacked(const TRect& D) const {
  const int W = FBitmap->Width(), H = FBitmap->Height();
  const int t = FOptions->TopMargin(), b = FOptions->BottomMargin();
  const int x = D.Left + std::max(0, D.Width() / 2 - W / 2);
  TPart top{{0, 0, W, t}, {x, D.Top, x + W, D.Top + t}};
  top.CutBottom(D.Bottom);
  TPart bottom{{0, H - b, W, H}, {x, D.Bottom - b, x + W, D.Bottom}};
  bottom.StartAtOrBelow(top.Dst.Bottom);
  Fixed(top);
  Fixed(bottom);
  Centre({{0, t, W, H - b}, {x, D.Top + t, x + W, D.Bottom - b}});
}

void TMarginPainter::SideBySide(const TRect& D) const {
  const int W = FBitmap->Width(), H = FBitmap->Height();
  const int l = FOptions->LeftMargin(), r = FOptions->RightMargin();
  const int y = D.Top + std::max(0, D.Height() / 2 - H / 2);
  TPart left{{0, 0, l, H}, {D.Left, y, D.Left + l, y + H}};
  left.CutRight(D.Right);
  TPart right{{W - r, 0, W, H}, {D.Right - r, y, D.Right, y + H}};
  right.StartAtOrAfter(left.Dst.Right);
  Fixed(left);
  Fixed(right);
  Centre({{l, 0, W - r, H}, {D.Left + l, y, D.Right - r, y + H}});
}

}  // namespace

void DrawBitmapWithOptions(TBitmap* Bitmap, const TkaBitmapOptions* Options, TCanvas* Canvas, uint8_t Alpha,
                           const TRect& DestRect) {
  if (Bitmap == nullptr || Bitmap->Empty() || Options == nullptr || Canvas == nullptr) return;
  const TMarginPainter painter(Bitmap, Options, Canvas, Alpha);
  const int l = Options->LeftMargin(), t = Options->TopMargin();
  const int r = Options->RightMargin(), b = Options->BottomMargin();
  if (l == 0 && t == 0 && r == 0 && b == 0)
    painter.Whole(DestRect);
  else if (l >= 1 && t >= 1 && r >= 1 && b >= 1)
    painter.NineParts(DestRect);
  else if ((l < 1 || r < 1) && t >= 1 && b >= 1)
    painter.Stacked(DestRect);
  else if ((t < 1 || b < 1) && l >= 1 && r >= 1)
    painter.SideBySide(DestRect);
}

// ---- Resampling -----------------------------------------------------------------------------

void ResampleBitmap(TBitmap* Source, TBitmap* Dest) {
  if (Source == nullptr || Dest == nullptr || Source == Dest || Source->Empty() || Dest->Empty() ||
      Source->PixelFormat() != pf32bit || Dest->PixelFormat() != pf32bit)
    return;
  const int sw = Source->Width(), sh = Source->Height(), dw = Dest->Width(), dh = Dest->Height();
  if (sw == dw && sh == dh) {
    Dest->Assign(Source);
    return;
  }
  // 16.16 fixed point. Sizes times 65536, and positions times steps, pass 2^31 for bitmaps
  // of 32768 pixels and more, so these are 64-bit.
  int64_t stepX, stepY;
  if (sw < dw) {
    const int64_t k = dw / sw;
    stepX = (int64_t(sw) << 16) / (k + dw - 1);
    stepY = (int64_t(sh) << 16) / (k + dh - 1);
  } else {
    stepX = (int64_t(sw) << 16) / dw;
    stepY = (int64_t(sh) << 16) / dh;
  }
  const ptrdiff_t sStride = Source->BytesPerScanLine(), dStride = Dest->BytesPerScanLine();
  const uint8_t* sLast = static_cast<const uint8_t*>(Source->ScanLine(sh - 1));
  uint8_t* dLast = static_cast<uint8_t*>(Dest->ScanLine(dh - 1));
  auto sRow = [&](int y) { return sLast + (sh - 1 - y) * sStride; };

  for (int j = 0; j < dh; ++j) {
    const int64_t fy = j * stepY;
    const int y0 = static_cast<int>(std::min<int64_t>(fy >> 16, sh - 1));
    const int y1 = y0 + 1 < sh ? y0 + 1 : y0;
    const uint32_t ay = static_cast<uint32_t>(fy & 0xFFFF), l = 65535 - ay;
    const uint8_t* row0 = sRow(y0);
    const uint8_t* row1 = sRow(y1);
    uint8_t* out = dLast + (dh - 1 - j) * dStride;
    for (int i = 0; i < dw; ++i, out += 4) {
      const int64_t fx = i * stepX;
      const int x0 = static_cast<int>(std::min<int64_t>(fx >> 16, sw - 1));
      const int x1 = x0 + 1 < sw ? x0 + 1 : x0;
      const uint32_t ax = static_cast<uint32_t>(fx & 0xFFFF);
      // l * ax reaches 65535^2: unsigned 32 bits hold it, signed ones would not.
      const uint32_t w10 = (l * ax) >> 16, w00 = l - w10, w11 = (ay * ax) >> 16, w01 = ay - w11;
      const uint8_t *p00 = row0 + x0 * 4, *p10 = row0 + x1 * 4, *p01 = row1 + x0 * 4, *p11 = row1 + x1 * 4;
      for (int c = 0; c < 4; ++c)
        out[c] = static_cast<uint8_t>((p00[c] * w00 + p10[c] * w10 + p01[c] * w01 + p11[c] * w11) >> 16);
    }
  }
}

void DrawBitmapScaled(TBitmap* Bitmap, TCanvas* Canvas, int X, double Scale, uint8_t Alpha, int Y) {
  if (Bitmap == nullptr || Bitmap->Empty() || Canvas == nullptr) return;
  if (Scale == 1) {
    DrawBitmapAlpha(Bitmap, Canvas, X, Alpha, Y);
    return;
  }
  const int w = Round(Scale * Bitmap->Width()), h = Round(Scale * Bitmap->Height());
  if (w <= 0 || h <= 0) return;
  TBitmap scaled;
  scaled.SetPixelFormat(pf32bit);
  scaled.SetSize(w, h);
  ResampleBitmap(Bitmap, &scaled);
  DrawBitmapAlpha(&scaled, Canvas, X, Alpha, Y);
}
