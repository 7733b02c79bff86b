// The thin layer every GDI+-drawn control paints through: colour conversion, floating
// rectangles, rounded outlines with the library's pixel-fitting rules, glyph pen widths, the
// dotted focus frame, light spots, a soft shadow and caption text drawn with GDI+.
//
// All routines take an existing surface and create and free their own paths, pens and
// brushes before returning, also when drawing throws. Nothing keeps state between calls.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Graphics.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaGPUtils/GPInterface.h"

class TCustomImageList;

// clNone gives 0 (transparent black) whatever Alpha is; system colours are resolved first.
TGPColor ToGPColor(TColor Color, uint8_t Alpha);
TGPRectF RectToGPRect(const TRect& R);
// Grows R by DX on the left and right and DY on the top and bottom (negative shrinks).
void InflateGPRect(TGPRectF& R, float DX, float DY);

// One closed figure of four quarter arcs. Radius <= 0 gives a pill or circle whose top arcs
// are half a pixel narrower than the box; the bottom arcs are one pixel wider than the top
// ones when the box is taller than a corner (or for a pill), so they meet the pixel grid.
void GPAddRoundedRect(Gdiplus::GraphicsPath* Path, const TGPRectF& R, int Radius);
void GPAddRoundedRectF(Gdiplus::GraphicsPath* Path, const TGPRectF& R, float Radius);
// A pill from (X1, Y1) to (X2, Y2); a side that is not positive takes Fallback instead.
void GPAddRoundedRectBetween(Gdiplus::GraphicsPath* Path, float Fallback, float X1, float Y1,
                             float X2, float Y2);
void GPDrawRoundedRect(Gdiplus::Graphics* G, const TGPRectF& R, Gdiplus::Pen* Pen, int Radius);
void GPDrawRoundedRectF(Gdiplus::Graphics* G, const TGPRectF& R, Gdiplus::Pen* Pen, float Radius);
void GPFillRoundedRect(Gdiplus::Graphics* G, const TGPRectF& R, Gdiplus::Brush* Brush, int Radius);
void GPFillPillBetween(Gdiplus::Graphics* G, TGPColor Color, float Fallback, float X1, float Y1,
                       float X2, float Y2);

// P turned about Centre by Angle degrees; positive angles turn clockwise on screen.
TGPPointF GPRotatePoint(const TGPPointF& P, const TGPPointF& Centre, float Angle);
// The pen width of a vector glyph: Trunc(Thickness * ScaleFactor), a thickness of 0 counting
// as 1.
int GPGlyphPenWidth(uint8_t Thickness, double ScaleFactor);

// A dotted frame one pixel inside R; two pixels wide from scale 2 on.
void GPDrawFocusRect(Gdiplus::Graphics* G, TGPRectF R, TGPColor Color, double ScaleFactor);
// A white disc of R's width about R's centre fading from Alpha to nothing at its rim.
void GPDrawLightSpot(Gdiplus::Graphics* G, const TGPRectF& R, uint8_t Alpha);
// The light spot at alpha 50 with its horizontal centre on MouseX.
void GPDrawHoverLight(Gdiplus::Graphics* G, const TGPRectF& R, int MouseX);
// The spot of frame Step of the press ripple about (X, Y) and its alpha: half of R's width
// at alpha 70 on step 0, growing to the whole width at alpha 0 on step 10. False after
// step 10, when there is nothing to draw.
bool GPPressedLightSpot(const TGPRectF& R, int X, int Y, uint8_t Step, TGPRectF& Spot,
                        uint8_t& Alpha);
// Frame Step (0 to 10) of the press ripple about (X, Y); nothing after step 10.
void GPDrawPressedLight(Gdiplus::Graphics* G, const TGPRectF& R, int X, int Y, uint8_t Step);
// A soft ring of shadow of size S around the ellipse (X, Y, W, H).
void GPDrawShadowEllipse(Gdiplus::Graphics* G, int S, uint8_t Alpha, float X, float Y, float W,
                         float H);

// A GDI+ font with exactly the face, size and style of Font as selected into Canvas.
std::unique_ptr<Gdiplus::Font> GPCreateFont(TCanvas* Canvas, TFont* Font);
// Sets Format from DrawText flags: never clipped; no wrapping without DT_WORDBREAK; right to
// left with DT_RTLREADING; '&' underlines unless DT_NOPREFIX; DT_RIGHT before DT_CENTER;
// DT_VCENTER; DT_PATH_ELLIPSIS before DT_END_ELLIPSIS.
void GPSetDrawTextFormat(Gdiplus::StringFormat& Format, UINT Flags);
// Draws Text in R with the canvas font's colour at Alpha (255 when Alpha <= 0), or with
// DT_CALCRECT measures it into R (empty text measures (0, 0, 0, 0)). G and Font may be
// null: a surface over the canvas and a font from the canvas are then made for the call.
// Flags are DrawText flags. G's pixel-offset mode is restored; its text hint is left at
// anti-aliased.
void GPDrawText(Gdiplus::Graphics* G, Gdiplus::Font* Font, TCanvas* Canvas, TRect& R,
                const String& Text, UINT Flags, int Alpha);

// Image ImageIndex of ImageList (none when there is no list or the index is outside it) and
// Text laid out in R by CalcImageTextLayout, the caption drawn with GDI+ in the canvas font
// and colour, the image by the list itself (greyed when not Enabled). The caption is centred
// in its place for the top and bottom layouts or with CenterAlignment, else left-aligned
// and, beside an image, kept 4 pixels away from it; Ellipsis (left and right layouts) ends
// it at R's right edge. ShowFocusFrame frames the caption with GPDrawFocusRect. G may be
// null: a surface over the canvas is then made for the call; G's pixel-offset mode is
// restored.
void GPDrawImageAndText(Gdiplus::Graphics* G, TCanvas* Canvas, const TRect& R, TButtonLayout Layout,
                        int Margin, int Spacing, const String& Text, TCustomImageList* ImageList,
                        int ImageIndex, bool CenterAlignment, bool Ellipsis, bool WordWrap,
                        bool NoPrefix, bool RightToLeft, bool ShowFocusFrame, bool Enabled,
                        double ScaleFactor);
