// Captions and images of the classic controls: the soft coloured halo ("glow") behind text
// and images, with caching of the glow bitmaps, the layout of an image beside a caption
// inside a button rectangle, and small DrawText helpers with right-to-left handling.
//
// Glow bitmaps are pf32bit, premultiplied, as large as their content plus the glow size on
// every side. Routines taking a `TBitmap*& Buffer` keep the glow there between paints: the
// caller owns the buffer (nullptr when there is none yet) and frees it with delete/Free.
#pragma once

#include <cstdint>

#include "framework/Types.h"

class TBitmap;
class TCanvas;
class TCustomImageList;
class TStringList;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The glow of one control state.
struct TkaGlowParams {
  uint8_t Alpha = 255;
  bool Intensive = true;
  int Size = 7;
  TColor Color = clHighlight;
  int Offset = 0;
};

// ---- Glow ----------------------------------------------------------------------------------

// Blurs a white-on-black mask with Radius, then turns it into Color with the mask's red
// channel as alpha, premultiplied.
void BlurMaskToGlow(TBitmap* Bitmap, int Radius, TColor Color);
// Dest := the glow of Source's visible pixels (those with alpha when Source is pf32bit with
// any alpha, else those differing from its top-left pixel), Size pixels larger on every side.
void MakeGlowBitmap(TBitmap* Dest, TBitmap* Source, int Size, TColor Color);
void MakeImageGlowBitmap(TBitmap* Dest, TCustomImageList* ImageList, int Index, TColor Color, int Size);

// The glow of Text, blended with Alpha shifted by Offset, then Text itself in the canvas
// font. A Rect narrower or lower than 2 * GlowSize is enlarged to that (right and down)
// and the text drawn in the enlarged rectangle.
void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, bool NoPrefix, bool RightToLeft,
                      uint8_t Alpha, bool Intensive, int GlowSize, TColor GlowColor, int Offset, UINT Flags);
// As DrawTextWithGlow with the glow kept in Buffer: made when there is none, remade when
// Rebuild is true.
void DrawTextWithGlowBuffer(TBitmap*& Buffer, bool Rebuild, TCanvas* Canvas, bool NoPrefix, bool RightToLeft,
                            uint8_t Alpha, bool Intensive, int GlowSize, TColor GlowColor, int Offset, UINT Flags,
                            const String& Text, const TRect& Rect);
// The glow of image Index blended at (X, Y) shifted by Offset, then the image at (X, Y).
void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Size, TColor Color, int Offset, int Index,
                       TCustomImageList* ImageList);
void DrawImageWithGlow(TBitmap*& Buffer, bool Rebuild, TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Size,
                       TColor Color, int Offset, int Index, TCustomImageList* ImageList);

// ---- Image and caption ---------------------------------------------------------------------

// Positions of an image (GlyphW x GlyphH, 0 x 0 for none) and a caption (TextW x TextH, 0
// x 0 for none) in Rect. Margin -1 (or any negative value) centres the pair; Margin >= 0 is
// the image's distance from the edge it sits at. Spacing is the gap between them (negative
// overlaps); below -100 the caption is centred in the room beside the image. Without an
// image or without a caption the spacing counts as 0.
void CalcImageTextLayout(TButtonLayout Layout, const TRect& Rect, int GlyphW, int GlyphH, int TextW, int TextH,
                         int Margin, int Spacing, TPoint& ImagePos, TPoint& TextPos);

// Image ImageIndex of ImageList (none when the list is nullptr or the index is outside it)
// and Caption laid out in Rect, the caption centred in its place. DrawFocus: a dotted focus
// rectangle around the caption (around the image when there is no caption). DrawMarker: a
// bar in MarkerColor under the image (else under the caption, else filling Rect). A
// disabled image is drawn at alpha 80, except by virtual and shared lists.
void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor, bool NoPrefix,
                      bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker, bool Enabled,
                      TCustomImageList* ImageList, int ImageIndex, const String& Caption, TButtonLayout Layout,
                      int Spacing);
// As DrawImageAndText with the caption left-aligned in its place and kept at least 4 pixels
// away from the image; EndEllipsis (left and right layouts) ends it with an ellipsis at
// Rect's right edge.
void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                          bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker,
                          bool Enabled, TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                          TButtonLayout Layout, int Spacing, bool EndEllipsis);
// The glow twins: the caption's glow is kept in GlowBuffer; with ImageGlow the image's glow
// is kept in GlowImageBuffer. Rebuild remakes both.
void DrawImageAndTextWithGlow(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                              bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor, bool DrawMarker,
                              bool Enabled, TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                              TButtonLayout Layout, int Spacing, TBitmap*& GlowBuffer, TBitmap*& GlowImageBuffer,
                              bool Rebuild, bool ImageGlow, const TkaGlowParams& Glow);
void DrawImageAndTextLeftWithGlow(TCanvas* Canvas, const TRect& Rect, int Margin, bool WordWrap, double ScaleFactor,
                                  bool NoPrefix, bool RightToLeft, bool DrawFocus, TColor MarkerColor,
                                  bool DrawMarker, bool Enabled, TCustomImageList* ImageList, int ImageIndex,
                                  const String& Caption, TButtonLayout Layout, int Spacing, bool EndEllipsis,
                                  TBitmap*& GlowBuffer, TBitmap*& GlowImageBuffer, bool Rebuild, bool ImageGlow,
                                  const TkaGlowParams& Glow);
// Image Index blended at (X, Y) with constant Alpha. A cd32Bit list's image keeps its own
// alpha; other images are opaque except where they show their top-left pixel's colour.
void DrawImageAlpha(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Index, TCustomImageList* ImageList);

// ---- Text ----------------------------------------------------------------------------------

// Right-to-left: DT_RIGHT is dropped, or added unless DT_CENTER is there; plus
// DT_RTLREADING. Left-to-right: Flags unchanged.
UINT BiDiTextFlags(UINT Flags, bool RightToLeft);
// One line, vertically centred, unclipped; nothing for empty text.
void DrawTextLine(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft);
// Word-wrapped, vertically centred, unclipped, no prefix processing.
void DrawTextAligned(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft, TAlignment Alignment);
// Text with tab stops from the first 10 entries of TabList (digits only: their value, other
// entries 0), at Rect.Left + Offset + 2, vertically centred.
void DrawTabbedText(const String& Text, TStringList* TabList, TCanvas* Canvas, int Offset, const TRect& Rect);
// A dotted outline inside Rect in the canvas font colour, two pixels thick from
// ScaleFactor 1.5 up.
void DrawFocusRectangle(TCanvas* Canvas, const TRect& Rect, double ScaleFactor);
