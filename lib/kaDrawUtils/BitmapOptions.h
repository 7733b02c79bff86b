// Skinned surfaces: a bitmap split by margins into a fixed border frame and a centre, so
// that it fills rectangles of any size without distorting its borders, and the blits that
// draw such bitmaps (plain, stretched, tiled, alpha-blended, resampled).
//
// 32-bit bitmaps handed to the alpha routines hold premultiplied pixels. Rectangles are in
// bitmap pixels on the source side and in the canvas's logical units on the other.
#pragma once

#include <cstdint>

#include "framework/Classes.h"

class TBitmap;
class TCanvas;

// How a bitmap is drawn by margins (nine parts, three parts, or whole and centred).
class TkaBitmapOptions : public TPersistent {
  KA_CLASS(TkaBitmapOptions, TPersistent)
 public:
  // From another TkaBitmapOptions: the four margins and the six drawing flags (AlphaBlend
  // to DrawOnlyBorder); DrawInClipRect and the content margins stay. Raises OnChange once.
  void Assign(TPersistent* Source) override;

  // Widths of the fixed border parts, in bitmap pixels. The setters do not compare: every
  // call raises OnChange, so an owner can use them to ask for a repaint.
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value);
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int Value);
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value);
  int BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(int Value);

  // Plain values: setting them raises nothing.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendBorder() const { return FAlphaBlendBorder; }
  void SetAlphaBlendBorder(bool Value) { FAlphaBlendBorder = Value; }
  bool AlphaBlendCorners() const { return FAlphaBlendCorners; }
  void SetAlphaBlendCorners(bool Value) { FAlphaBlendCorners = Value; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value) { FStretch = Value; }
  bool StretchBorder() const { return FStretchBorder; }
  void SetStretchBorder(bool Value) { FStretchBorder = Value; }
  bool DrawOnlyBorder() const { return FDrawOnlyBorder; }
  void SetDrawOnlyBorder(bool Value) { FDrawOnlyBorder = Value; }
  // Not used by the drawing here; kept for the image collection.
  bool DrawInClipRect() const { return FDrawInClipRect; }
  void SetDrawInClipRect(bool Value) { FDrawInClipRect = Value; }

  // Insets of the content area a control places inside the drawn skin.
  int ContentLeftMargin() const { return FContentLeftMargin; }
  void SetContentLeftMargin(int Value) { FContentLeftMargin = Value; }
  int ContentRightMargin() const { return FContentRightMargin; }
  void SetContentRightMargin(int Value) { FContentRightMargin = Value; }
  int ContentTopMargin() const { return FContentTopMargin; }
  void SetContentTopMargin(int Value) { FContentTopMargin = Value; }
  int ContentBottomMargin() const { return FContentBottomMargin; }
  void SetContentBottomMargin(int Value) { FContentBottomMargin = Value; }

  TNotifyEvent OnChange;

 private:
  void Changed();

  int FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
  bool FAlphaBlend = false, FAlphaBlendBorder = false, FAlphaBlendCorners = false;
  bool FStretch = true, FStretchBorder = false, FDrawOnlyBorder = false, FDrawInClipRect = false;
  int FContentLeftMargin = 0, FContentRightMargin = 0, FContentTopMargin = 0, FContentBottomMargin = 0;
};

// ---- Pixels of 32-bit bitmaps (others and empty bitmaps are left alone) --------------------

// Every pixel's alpha byte := Alpha.
void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha);
// Every pixel's blue, green and red := those of Color (system colours resolved); alpha stays.
void FillBitmapRGB(TBitmap* Bitmap, TColor Color);
// Every pixel := Value, a pixel as ColorToBGRA makes it ($AARRGGBB).
void FillBitmapPixels(TBitmap* Bitmap, uint32_t Value);

// ---- Blits --------------------------------------------------------------------------------

// AlphaBlend of SourceRect of the bitmap onto DestRect (scaled when the sizes differ), with
// per-pixel alpha and constant alpha Alpha.
void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha, const TRect& DestRect);
// The whole bitmap at its own size with its top-left corner at (X, Y). Note the order of
// the arguments: X, Alpha, Y.
void DrawBitmapAlpha(TBitmap* Bitmap, TCanvas* Canvas, int X, uint8_t Alpha, int Y);
// StretchBlt with SRCCOPY (the canvas's stretch mode as the caller left it).
void StretchRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect);
// SourceRect repeated at 1:1 from DestRect's top-left corner, tiles at the right and bottom
// cut to DestRect. A SourceRect without area draws nothing.
void TileRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect);
// The same tiling, each tile alpha-blended at constant alpha Alpha.
void TileRectAlpha(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha, const TRect& DestRect);

// Draws the bitmap into DestRect by Options' margins:
// - all margins 0: the whole bitmap at its own size, centred (never left or above DestRect);
// - all margins >= 1: nine parts, corners fixed, edges and centre stretched or tiled, parts
//   cut when DestRect is smaller than the bitmap;
// - left or right margin < 1 with top and bottom >= 1: three parts stacked, the bitmap
//   keeping its width, centred horizontally; the mirror case side by side;
// - anything else: nothing.
// The alpha flags only apply to pf32bit bitmaps.
void DrawBitmapWithOptions(TBitmap* Bitmap, const TkaBitmapOptions* Options, TCanvas* Canvas, uint8_t Alpha,
                           const TRect& DestRect);

// Resamples a pf32bit Source into pf32bit Dest at Dest's size by bilinear interpolation in
// 16.16 fixed point; equal sizes copy. Other formats or empty bitmaps leave Dest alone.
void ResampleBitmap(TBitmap* Source, TBitmap* Dest);
// The bitmap at Scale times its size, alpha-blended with its top-left corner at (X, Y).
void DrawBitmapScaled(TBitmap* Bitmap, TCanvas* Canvas, int X, double Scale, uint8_t Alpha, int Y);
