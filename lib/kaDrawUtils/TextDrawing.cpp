#include "lib/kaDrawUtils/TextDrawing.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/StackBlur.h"

namespace {

// The routines clear the canvas brush to draw text over what is there; the caller gets its
// brush back as it was.
class TBrushStyleKeeper {
 public:
  explicit TBrushStyleKeeper(TCanvas* Canvas) : FCanvas(Canvas), FStyle(Canvas->Brush()->Style()) {}
  TBrushStyleKeeper(const TBrushStyleKeeper&) = delete;
  TBrushStyleKeeper& operator=(const TBrushStyleKeeper&) = delete;
  ~TBrushStyleKeeper() { FCanvas->Brush()->SetStyle(FStyle); }

 private:
  TCanvas* FCanvas;
  TBrushStyle FStyle;
};

void CanvasDrawText(TCanvas* Canvas, const String& Text, TRect R, UINT Flags) {
  ::DrawTextW(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), R.AsRECT(), Flags);
}

uint8_t* Pixel(TBitmap* Bitmap, int X, int Y) { return static_cast<uint8_t*>(Bitmap->ScanLine(Y)) + X * 4; }

// Calls F(pixel) for every pixel of a pf32bit bitmap.
template <class F>
void ForEachPixel(TBitmap* Bitmap, F&& Fn) {
  for (int y = 0; y < Bitmap->Height(); ++y) {
    uint8_t* p = static_cast<uint8_t*>(Bitmap->ScanLine(y));
    for (int x = 0; x < Bitmap->Width(); ++x, p += 4) Fn(p);
  }
}

bool HasAlpha(TBitmap* Bitmap) {
  bool found = false;
  ForEachPixel(Bitmap, [&](const uint8_t* p) { found = found || p[3] != 0; });
  return found;
}

// A pf32bit bitmap of Width x Height, every byte zero.
void MakeBlank32(TBitmap* Bitmap, int Width, int Height) {
  Bitmap->SetAlphaFormat(afIgnored);
  Bitmap->SetPixelFormat(pf32bit);
  Bitmap->SetSize(Width, Height);
  if (Bitmap->Empty()) return;
  std::memset(Bitmap->ScanLine(Height - 1), 0, static_cast<size_t>(Bitmap->BytesPerScanLine()) * Height);
}

// Blends a premultiplied pf32bit bitmap at (X, Y) with constant Alpha.
void BlendBitmap(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, uint8_t Alpha) {
  if (Bitmap == nullptr || Bitmap->Empty()) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  BLENDFUNCTION bf{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  ::AlphaBlend(Canvas->Handle(), X, Y, w, h, Bitmap->Canvas()->Handle(), 0, 0, w, h, bf);
}

bool HoldsImage(TCustomImageList* ImageList, int Index) {
  return ImageList != nullptr && Index >= 0 && Index < ImageList->Count();
}

// The image as drawn without glow: shared lists straight through the platform, the others
// through the list.
void DrawListImage(TCanvas* Canvas, TCustomImageList* ImageList, int X, int Y, int Index, bool Enabled,
                   bool DisabledByAlpha) {
  if (ImageList->ShareImages()) {
    ::ImageList_DrawEx(ImageList->Handle(), Index, Canvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE,
                       Enabled ? ILD_NORMAL : ILD_BLEND25);
  } else if (Enabled || !DisabledByAlpha || dynamic_cast<TVirtualImageList*>(ImageList) != nullptr) {
    ImageList->Draw(Canvas, X, Y, Index, Enabled);
  } else {
    DrawImageAlpha(Canvas, X, Y, 80, Index, ImageList);
  }
}

// ---- Text glow ---------------------------------------------------------------------------

TRect GlowTextRect(const TRect& Rect, int GlowSize) {
  TRect r = Rect;
  if (r.Width() < 2 * GlowSize) r.Right = r.Left + 2 * GlowSize;
  if (r.Height() < 2 * GlowSize) r.Bottom = r.Top + 2 * GlowSize;
  return r;
}

UINT GlowTextFlags(UINT Flags, bool NoPrefix, bool RightToLeft) {
  return BiDiTextFlags(NoPrefix ? Flags | DT_NOPREFIX : Flags, RightToLeft);
}

// The white text (thickened by a pixel when Intensive) on black, blurred and coloured.
void BuildTextGlow(TBitmap* Glow, TCanvas* Canvas, const TRect& R, const String& Text, UINT Flags, bool Intensive,
                   int GlowSize, TColor GlowColor) {
  MakeBlank32(Glow, R.Width() + 2 * GlowSize, R.Height() + 2 * GlowSize);
  if (Glow->Empty()) return;
  TCanvas* gc = Glow->Canvas();
  gc->Font()->Assign(Canvas->Font());
  gc->Font()->SetColor(clWhite);
  gc->Brush()->SetStyle(bsClear);
  const TRect t(GlowSize, GlowSize, Glow->Width() - GlowSize, Glow->Height() - GlowSize);
  if (Intensive) {
    static const int shifts[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& s : shifts) {
      TRect shifted = t;
      shifted.Offset(s[0], s[1]);
      CanvasDrawText(gc, Text, shifted, Flags);
    }
  } else {
    CanvasDrawText(gc, Text, t, Flags);
  }
  ForEachPixel(Glow, [](uint8_t* p) { p[3] = 255; });
  BlurMaskToGlow(Glow, GlowSize, GlowColor);
}

void FinishTextGlow(TCanvas* Canvas, TBitmap* Glow, const TRect& R, const String& Text, UINT Flags, uint8_t Alpha,
                    int GlowSize, int Offset) {
  BlendBitmap(Canvas, Glow, R.Left + Offset - GlowSize, R.Top + Offset - GlowSize, Alpha);
  TBrushStyleKeeper brush(Canvas);
  Canvas->Brush()->SetStyle(bsClear);
  CanvasDrawText(Canvas, Text, R, Flags);
}

// ---- Image and caption -------------------------------------------------------------------

struct TGlowSetup {
  TBitmap** TextBuffer;
  TBitmap** ImageBuffer;
  bool Rebuild;
  bool ImageGlow;
  const TkaGlowParams* Params;
};

// One image-and-caption drawing: measure, lay out, caption, image, marker. The inputs come
// first, in the order of the public routines' parameters.
struct TImageTextPainter {
  TCanvas* Canvas;
  TRect Rect;
  int Margin;
  bool WordWrap;
  double ScaleFactor;
  bool NoPrefix, RightToLeft, DrawFocus;
  TColor MarkerColor;
  bool DrawMarker, Enabled;
  TCustomImageList* ImageList;
  int ImageIndex;
  const String& Caption;
  TButtonLayout Layout;
  int Spacing;
  bool LeftAligned = false;
  bool EndEllipsis = false;
  const TGlowSetup* Glow = nullptr;

  void Run() {
    if (Canvas == nullptr) return;
    Measure();
    TBrushStyleKeeper brush(Canvas);
    Canvas->Brush()->SetStyle(bsClear);
    CalcImageTextLayout(Layout, Rect, FImageW, FImageH, FTextW, FTextH, Margin, Spacing, FImagePos, FTextPos);
    FTextRect = TRect(FTextPos.X, FTextPos.Y, FTextPos.X + FTextW, FTextPos.Y + FTextH);
    if (!Caption.empty()) PaintCaption();
    if (FImageW > 0) PaintImage();
    if (DrawMarker) PaintMarker();
  }

  bool Vertical() const { return Layout == blGlyphTop || Layout == blGlyphBottom; }

  UINT TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (NoPrefix) flags |= DT_NOPREFIX;
    if (WordWrap) flags |= DT_WORDBREAK;
    return flags;
  }

  void Measure() {
    if (HoldsImage(ImageList, ImageIndex)) {
      FImageW = ImageList->Width();
      FImageH = ImageList->Height();
    } else {
      Spacing = 0;
    }
    if (Caption.empty()) {
      Spacing = 0;
      return;
    }
    // Below -100 the spacing only positions the caption; it gives the caption no room.
    const int gap = Spacing < -100 ? 0 : Spacing;
    TRect m(0, 0, Rect.Width(), Rect.Height());
    if (Vertical()) {
      m.Bottom -= gap + FImageH;
    } else {
      m.Right -= FImageW + gap;
      if (Margin > 0) m.Right -= Margin;
    }
    ::DrawTextW(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), m.AsRECT(),
                TextFlags() | DT_CALCRECT);
    FTextW = m.Width();
    FTextH = m.Height();
  }

  // The left-aligned caption keeps clear of the image and may end in an ellipsis. It keeps
  // its measured width when pushed aside, so a wrapped caption breaks where it was measured.
  UINT AdjustLeftAligned(UINT Flags) {
    if (FImageW > 0 && Layout == blGlyphLeft && FTextRect.Left < FImagePos.X + FImageW + 4)
      FTextRect.Offset(FImagePos.X + FImageW + 4 - FTextRect.Left, 0);
    if (FImageW > 0 && Layout == blGlyphRight && FImagePos.X < FTextRect.Right)
      FTextRect.Offset(FImagePos.X - 4 - FTextRect.Right, 0);
    if (EndEllipsis && !Vertical()) {
      FTextRect.Right = std::min(FTextRect.Right, Rect.Right);
      Flags |= DT_END_ELLIPSIS;
    }
    return Flags;
  }

  void PaintCaption() {
    UINT flags = TextFlags() | DT_VCENTER | DT_NOCLIP;
    if (LeftAligned)
      flags = AdjustLeftAligned(flags);
    else
      flags |= DT_CENTER;
    if (Glow != nullptr) {
      const TkaGlowParams& g = *Glow->Params;
      DrawTextWithGlowBuffer(*Glow->TextBuffer, Glow->Rebuild, Canvas, NoPrefix, RightToLeft, g.Alpha, g.Intensive,
                             g.Size, g.Color, g.Offset, flags, Caption, FTextRect);
    } else {
      CanvasDrawText(Canvas, Caption, FTextRect, BiDiTextFlags(flags, RightToLeft));
    }
    if (DrawFocus) {
      TRect focus = FTextRect;
      focus.Inflate(2, 2);
      DrawFocusRectangle(Canvas, focus, ScaleFactor);
    }
  }

  void PaintImage() {
    if (Glow != nullptr && Glow->ImageGlow) {
      const TkaGlowParams& g = *Glow->Params;
      TBitmap*& buffer = *Glow->ImageBuffer;
      if (Glow->Rebuild) FreeAndNil(buffer);
      if (buffer == nullptr) {
        auto made = std::make_unique<TBitmap>();
        MakeImageGlowBitmap(made.get(), ImageList, ImageIndex, g.Color, g.Size);
        buffer = made.release();
      }
      BlendBitmap(Canvas, buffer, FImagePos.X + g.Offset - g.Size, FImagePos.Y + g.Offset - g.Size, g.Alpha);
    }
    DrawListImage(Canvas, ImageList, FImagePos.X, FImagePos.Y, ImageIndex, Enabled, true);
    if (DrawFocus && Caption.empty()) {
      TRect focus(FImagePos.X, FImagePos.Y, FImagePos.X + FImageW, FImagePos.Y + FImageH);
      focus.Inflate(2, 2);
      DrawFocusRectangle(Canvas, focus, ScaleFactor);
    }
  }

  void PaintMarker() {
    const int lines = Trunc(ScaleFactor * 2) + 1;
    TRect r(Rect.Left + 4, Rect.Top + 4, Rect.Right - 2, Rect.Bottom - 4);
    if (FImageW > 0)
      r = TRect(FImagePos.X, FImagePos.Y + FImageH, FImagePos.X + FImageW, FImagePos.Y + FImageH + lines);
    else if (!Caption.empty())
      r = TRect(FTextRect.Left, FTextRect.Bottom, FTextRect.Right, FTextRect.Bottom + lines);
    TBrushHandle brush(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(MarkerColor))));
    ::FillRect(Canvas->Handle(), r.AsRECT(), brush.Get());
  }

  int FImageW = 0, FImageH = 0, FTextW = 0, FTextH = 0;
  TPoint FImagePos, FTextPos;
  TRect FTextRect;
};

}  // namespace

// ---- Glow ----------------------------------------------------------------------------------

void BlurMaskToGlow(TBitmap* Bitmap, int Radius, TColor Color) {
  if (Bitmap == nullptr || Bitmap->Empty()) return;
  Bitmap->SetAlphaFormat(afIgnored);
  Bitmap->SetPixelFormat(pf32bit);
  StackBlur(Bitmap, Radius);
  const uint32_t rgb = ColorToBGRA(Color, 0);
  ForEachPixel(Bitmap, [rgb](uint8_t* p) {
    const uint8_t alpha = p[2];
    p[0] = static_cast<uint8_t>(rgb);
    p[1] = static_cast<uint8_t>(rgb >> 8);
    p[2] = static_cast<uint8_t>(rgb >> 16);
    p[3] = alpha;
  });
  Bitmap->SetAlphaFormat(afPremultiplied);
}

void MakeGlowBitmap(TBitmap* Dest, TBitmap* Source, int Size, TColor Color) {
  if (Dest == nullptr || Source == nullptr || Source->Empty()) return;
  Size = std::max(Size, 0);
  const int w = Source->Width(), h = Source->Height();
  MakeBlank32(Dest, w + 2 * Size, h + 2 * Size);
  ForEachPixel(Dest, [](uint8_t* p) { p[3] = 255; });
  const int bytes = Source->PixelFormat() == pf24bit ? 3 : 4;
  const bool byAlpha = bytes == 4 && HasAlpha(Source);
  uint8_t key[3];
  std::memcpy(key, Source->ScanLine(0), 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = static_cast<const uint8_t*>(Source->ScanLine(y));
    uint8_t* d = Pixel(Dest, Size, y + Size);
    for (int x = 0; x < w; ++x, s += bytes, d += 4) {
      const bool visible = byAlpha ? s[3] != 0 : std::memcmp(s, key, 3) != 0;
      if (visible) d[0] = d[1] = d[2] = 255;
    }
  }
  BlurMaskToGlow(Dest, Size, Color);
}

void MakeImageGlowBitmap(TBitmap* Dest, TCustomImageList* ImageList, int Index, TColor Color, int Size) {
  if (Dest == nullptr || !HoldsImage(ImageList, Index)) return;
  TBitmap image;
  ImageList->GetBitmap(Index, &image);
  MakeGlowBitmap(Dest, &image, Size, Color);
}

void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, bool NoPrefix, bool RightToLeft,
                      uint8_t Alpha, bool Intensive, int GlowSize, TColor GlowColor, int Offset, UINT Flags) {
  TBitmap* glow = nullptr;
  try {
    DrawTextWithGlowBuffer(glow, true, Canvas, NoPrefix, RightToLeft, Alpha, Intensive, GlowSize, GlowColor, Offset,
                           Flags, Text, Rect);
  } catch (...) {
    FreeAndNil(glow);
    throw;
  }
  FreeAndNil(glow);
}

void DrawTextWithGlowBuffer(TBitmap*& Buffer, bool Rebuild, TCanvas* Canvas, bool NoPrefix, bool RightToLeft,
                            uint8_t Alpha, bool Intensive, int GlowSize, TColor GlowColor, int Offset, UINT Flags,
                            const String& Text, const TRect& Rect) {
  if (Rebuild) FreeAndNil(Buffer);
  if (Canvas == nullptr || Text.empty()) return;
  GlowSize = std::max(GlowSize, 0);
  const TRect r = GlowTextRect(Rect, GlowSize);
  const UINT flags = GlowTextFlags(Flags, NoPrefix, RightToLeft);
  if (Buffer == nullptr) {
    auto made = std::make_unique<TBitmap>();
    BuildTextGlow(made.get(), Canvas, r, Text, flags, Intensive, GlowSize, GlowColor);
    Buffer = made.release();
  }
  FinishTextGlow(Canvas, Buffer, r, Text, flags, Alpha, GlowSize, Offset);
}

void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Size, TColor Color, int Offset, int Index,
                       TCustomImageList* ImageList) {
  TBitmap* glow = nullptr;
  try {
    DrawImageWithGlow(glow, true, Canvas, X, Y, Alpha, Size, Color, Offset, Index, ImageList);
  } catch (...) {
    FreeAndNil(glow);
    throw;
  }
  FreeAndNil(glow);
}

void DrawImageWithGlow(TBitmap*& Buffer, bool Rebuild, TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Size,
                       TColor Color, int Offset, int Index, TCustomImageList* ImageList) {
  if (Rebuild) FreeAndNil(Buffer);
  if (Canvas == nullptr || !HoldsImage(ImageList, Index)) return;
  Size = std::max(Size, 0);
  if (Buffer == nullptr) {
    auto made = std::make_unique<TBitmap>();
    MakeImageGlowBitmap(made.get(), ImageList, Index, Color, Size);
    Buffer = made.release();
  }
  BlendBitmap(Canvas, Buffer, X + Offset - Size, Y + Offset - Size, Alpha);
  DrawListImage(Canvas, ImageList, X, Y, Index, true, false);
}

// ---- Image and caption ---------------------------------------------------------------------

namespace {

void CenteredLayout(TButtonLayout Layout, int CX, int CY, int GlyphW, int GlyphH, int TextW, int TextH, int TotalH,
                    int TotalV, TPoint& ImagePos, TPoint& TextPos) {
  switch (Layout) {
    case blGlyphLeft:
      ImagePos = TPoint(CX - TotalH / 2, CY - GlyphH / 2);
      TextPos = TPoint(CX + TotalH / 2 - TextW, CY - TextH / 2);
      break;
    case blGlyphRight:
      TextPos = TPoint(CX - TotalH / 2, CY - TextH / 2);
      ImagePos = TPoint(CX + TotalH / 2 - GlyphW, CY - GlyphH / 2);
      break;
    case blGlyphTop:
      ImagePos = TPoint(CX - GlyphW / 2, CY - TotalV / 2);
      TextPos = TPoint(CX - TextW / 2, CY + TotalV / 2 - TextH);
      break;
    case blGlyphBottom:
      ImagePos = TPoint(CX - GlyphW / 2, CY + TotalV / 2 - GlyphH);
      TextPos = TPoint(CX - TextW / 2, CY - TotalV / 2);
      break;
  }
}

// Below -100 the caption is centred in the room between the image and the far edge.
void MarginLayout(TButtonLayout Layout, const TRect& Rect, int CX, int CY, int GlyphW, int GlyphH, int TextW,
                  int TextH, int Margin, int Spacing, TPoint& ImagePos, TPoint& TextPos) {
  const bool centred = Spacing < -100;
  switch (Layout) {
    case blGlyphLeft: {
      ImagePos = TPoint(Rect.Left + Margin, CY - GlyphH / 2);
      const int e = ImagePos.X + GlyphW;
      TextPos = TPoint(centred ? e + (Rect.Right - e) / 2 - TextW / 2 : e + Spacing, CY - TextH / 2);
      break;
    }
    case blGlyphRight: {
      ImagePos = TPoint(Rect.Right - GlyphW - Margin, CY - GlyphH / 2);
      const int x = ImagePos.X;
      TextPos = TPoint(centred ? x - TextW + TextW / 2 - (x - Rect.Left) / 2 : x - Spacing - TextW, CY - TextH / 2);
      break;
    }
    case blGlyphTop: {
      ImagePos = TPoint(CX - GlyphW / 2, Rect.Top + Margin);
      const int b = ImagePos.Y + GlyphH;
      TextPos = TPoint(CX - TextW / 2, centred ? b + (Rect.Bottom - b) / 2 - TextH / 2 : b + Spacing);
      break;
    }
    case blGlyphBottom: {
      ImagePos = TPoint(CX - GlyphW / 2, Rect.Bottom - GlyphH - Margin);
      const int y = ImagePos.Y;
      TextPos = TPoint(CX - TextW / 2, centred ? y - TextH + TextH / 2 - (y - Rect.Top) / 2 : y - Spacing - TextH);
      break;
    }
  }
}

}  // namespace

void CalcImageTextLayout(TButtonLayout Layout, const TRect& Rect, int GlyphW, int GlyphH, int TextW, int TextH,
                         int Margin, int Spacing, TPoint& ImagePos, TPoint& TextPos) {
  if (GlyphW == 0 || TextW == 0) Spacing = 0;
  if (Margin < -1) Margin = -1;
  const int totalH = GlyphW + TextW + Spacing;
  const int totalV = GlyphH + TextH + Spacing;
  const bool vertical = Layout == blGlyphTop || Layout == blGlyphBottom;
  if (Margin == -1 && TextW != 0 && (vertical ? Rect.Height() < totalV : Rect.Width() < totalH)) Margin = 0;
  const int cx = Rect.Left + Rect.Width() / 2;
  const int cy = Rect.Top + Rect.Height() / 2;
  if (Margin == -1)
    CenteredLayout(Layout, cx, cy, GlyphW, GlyphH, TextW, TextH, totalH, totalV, ImagePos, TextPos);
  else
    MarginLayout(Layout, Rect, cx, cy, GlyphW, GlyphH, TextW, TextH, Margin, Spacing, ImagePos, TextPos);
}

void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor, bool NoPrefix,
                      bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker, bool Enabled,
                      TCustomImageList* ImageList, int ImageIndex, const String& Caption, TButtonLayout Layout,
                      int Spacing) {
  TImageTextPainter p{Canvas,   Rect,      Margin,     WordWrap, ScaleFactor, NoPrefix, RightToLeft, DrawFocus,
                      MarkerColor, DrawMarker, Enabled, ImageList, ImageIndex, Caption, Layout,  Spacing};
  p.Run();
}

void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                          bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker,
                          bool Enabled, TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                          TButtonLayout Layout, int Spacing, bool EndEllipsis) {
  TImageTextPainter p{Canvas,   Rect,      Margin,     WordWrap, ScaleFactor, NoPrefix, RightToLeft, DrawFocus,
                      MarkerColor, DrawMarker, Enabled, ImageList, ImageIndex, Caption, Layout,  Spacing};
  p.LeftAligned = true;
  p.EndEllipsis = EndEllipsis;
  p.Run();
}

void DrawImageAndTextWithGlow(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                              bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker,
                              bool Enabled, TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                              TButtonLayout Layout, int Spacing, TBitmap*& GlowBuffer, TBitmap*& GlowImageBuffer,
                              bool Rebuild, bool ImageGlow, const TkaGlowParams& Glow) {
  const TGlowSetup glow{&GlowBuffer, &GlowImageBuffer, Rebuild, ImageGlow, &Glow};
  TImageTextPainter p{Canvas,   Rect,      Margin,     WordWrap, ScaleFactor, NoPrefix, RightToLeft, DrawFocus,
                      MarkerColor, DrawMarker, Enabled, ImageList, ImageIndex, Caption, Layout,  Spacing};
  p.Glow = &glow;
  p.Run();
}

void DrawImageAndTextLeftWithGlow(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                                  bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor,
                                  bool DrawMarker, bool Enabled, TCustomImageList* ImageList, int ImageIndex,
                                  const String& Caption, TButtonLayout Layout, int Spacing, bool EndEllipsis,
                                  TBitmap*& GlowBuffer, TBitmap*& GlowImageBuffer, bool Rebuild, bool ImageGlow,
                                  const TkaGlowParams& Glow) {
  const TGlowSetup glow{&GlowBuffer, &GlowImageBuffer, Rebuild, ImageGlow, &Glow};
  TImageTextPainter p{Canvas,   Rect,      Margin,     WordWrap, ScaleFactor, NoPrefix, RightToLeft, DrawFocus,
                      MarkerColor, DrawMarker, Enabled, ImageList, ImageIndex, Caption, Layout,  Spacing};
  p.LeftAligned = true;
  p.EndEllipsis = EndEllipsis;
  p.Glow = &glow;
  p.Run();
}

// The list draws images with alpha already premultiplied onto the blank bitmap, so those are
// blended as they come; only key-coloured images get their alpha made here.
void DrawImageAlpha(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Index, TCustomImageList* ImageList) {
  if (Canvas == nullptr || !HoldsImage(ImageList, Index)) return;
  TBitmap image;
  ImageList->GetBitmap(Index, &image);
  if (ImageList->ColorDepth() != cd32Bit || !HasAlpha(&image)) {
    uint8_t key[3];
    std::memcpy(key, image.ScanLine(0), 3);
    ForEachPixel(&image, [&key](uint8_t* p) {
      if (std::memcmp(p, key, 3) != 0)
        p[3] = 255;
      else
        p[0] = p[1] = p[2] = p[3] = 0;
    });
  }
  BlendBitmap(Canvas, &image, X, Y, Alpha);
}

// ---- Text ----------------------------------------------------------------------------------

UINT BiDiTextFlags(UINT Flags, bool RightToLeft) {
  if (!RightToLeft) return Flags;
  if ((Flags & DT_RIGHT) != 0)
    Flags &= ~static_cast<UINT>(DT_RIGHT);
  else if ((Flags & DT_CENTER) == 0)
    Flags |= DT_RIGHT;
  return Flags | DT_RTLREADING;
}

void DrawTextLine(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft) {
  if (Canvas == nullptr || Text.empty()) return;
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;
  if (NoPrefix) flags |= DT_NOPREFIX;
  CanvasDrawText(Canvas, Text, Rect, BiDiTextFlags(flags, RightToLeft));
}

void DrawTextAligned(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft, TAlignment Alignment) {
  if (Canvas == nullptr) return;
  UINT flags = DT_WORDBREAK | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX;
  if (Alignment == taRightJustify) flags |= DT_RIGHT;
  if (Alignment == taCenter) flags |= DT_CENTER;
  CanvasDrawText(Canvas, Text, Rect, BiDiTextFlags(flags, RightToLeft));
}

namespace {

int TabStopValue(const String& S) {
  if (S.empty()) return 0;
  int value = 0;
  for (wchar_t c : S) {
    if (c < L'0' || c > L'9') return 0;
    value = std::min(value * 10 + (c - L'0'), 1000000);
  }
  return value;
}

}  // namespace

void DrawTabbedText(const String& Text, TStringList* TabList, TCanvas* Canvas, int Offset, const TRect& Rect) {
  if (Canvas == nullptr) return;
  std::vector<INT> stops;
  if (TabList != nullptr)
    for (int i = 0; i < std::min(TabList->Count(), 10); ++i) stops.push_back(TabStopValue(TabList->Strings(i)));
  // A single stop is the distance between all stops: 0 there would mean no progress at all.
  if (stops.size() == 1 && stops[0] <= 0) stops.clear();
  const int x = Rect.Left + Offset + 2;
  const int y = Rect.Top + (Rect.Height() - Canvas->TextHeight(Text)) / 2;
  ::TabbedTextOutW(Canvas->Handle(), x, y, Text.c_str(), static_cast<int>(Text.size()), static_cast<int>(stops.size()),
                   stops.empty() ? nullptr : stops.data(), x);
}

// Every ring walks its outline once, corners included once, toggling between set and
// skipped pixels, so the dots alternate all the way round.
void DrawFocusRectangle(TCanvas* Canvas, const TRect& Rect, double ScaleFactor) {
  if (Canvas == nullptr) return;
  HDC dc = Canvas->Handle();
  const COLORREF color = static_cast<COLORREF>(ColorToRGB(Canvas->Font()->Color()));
  TRect r(Rect.Left, Rect.Top, Rect.Right - 1, Rect.Bottom - 1);
  const int rings = ScaleFactor >= 1.5 ? 2 : 1;
  for (int ring = 0; ring < rings && r.Right >= r.Left && r.Bottom >= r.Top; ++ring) {
    bool on = !(r.Width() % 2 == 0 && r.Height() % 2 == 0);
    auto dot = [&](int x, int y) {
      if (on) ::SetPixelV(dc, x, y, color);
      on = !on;
    };
    for (int x = r.Left; x < r.Right; ++x) dot(x, r.Top);
    for (int y = r.Top; y < r.Bottom; ++y) dot(r.Right, y);
    for (int x = r.Right; x > r.Left; --x) dot(x, r.Bottom);
    for (int y = r.Bottom; y > r.Top; --y) dot(r.Left, y);
    r.Inflate(-1, -1);
  }
}

KA_REGISTER_ENUM(TAlignment, {{L"taLeftJustify", taLeftJustify},
                              {L"taRightJustify", taRightJustify},
                              {L"taCenter", taCenter}});
