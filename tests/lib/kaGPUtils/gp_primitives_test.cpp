// The GDI+ primitives: colour conversion, the rounded figures' arc geometry read back from
// their paths, pen widths, the DrawText-flag mapping, text measuring and drawing, the light
// spots, the focus frame and the fills. Pixels are compared with small tolerances, since
// GDI+ anti-aliases; geometry the library computes itself is compared exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "lib/kaGPUtils/kaGPUtils.h"

using namespace Gdiplus;

namespace {

// A transparent 32-bit ARGB surface of its own, so pixels read back exactly as drawn.
struct TSurface {
  explicit TSurface(int W, int H, ARGB Fill = 0) {
    GPEnsureStarted();
    Image = std::make_unique<Bitmap>(W, H, PixelFormat32bppARGB);
    G = std::make_unique<Graphics>(Image.get());
    G->Clear(Color(Fill));
  }
  ARGB At(int X, int Y) {
    G->Flush(FlushIntentionSync);
    Color C;
    Image->GetPixel(X, Y, &C);
    return C.GetValue();
  }
  std::unique_ptr<Bitmap> Image;
  std::unique_ptr<Graphics> G;
};

int AlphaOf(ARGB C) { return static_cast<int>(C >> 24); }
int RedOf(ARGB C) { return static_cast<int>((C >> 16) & 0xFF); }

TEST(GPColor, FromLibraryColours) {
  struct TCase {
    const char* Name;
    TColor Color;
    uint8_t Alpha;
    ARGB Expected;
  };
  const TColor face = ColorToRGB(clBtnFace);
  const ARGB faceRgb = (static_cast<ARGB>(GetRValue(face)) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  const TCase cases[] = {
      {"NoneIsTransparentBlack", clNone, 255, 0},
      {"RedAtHalf", clRed, 128, 0x80FF0000},
      {"ChannelsSwap", RGBColor(0x11, 0x22, 0x33), 0x44, 0x44112233},
      {"SystemColourResolved", clBtnFace, 255, 0xFF000000 | faceRgb},
      {"ZeroAlphaKeepsColour", clBlue, 0, 0x000000FF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ToGPColor(c.Color, c.Alpha), c.Expected);
  }
}

// The start and end points of the four quarter arcs of a rounded figure (each arc is one
// cubic Bezier of four points).
struct TArcEnds {
  PointF Start, End;
};

std::vector<TArcEnds> ArcEnds(const GraphicsPath& Path) {
  const INT n = Path.GetPointCount();
  std::vector<PointF> pts(static_cast<size_t>(n));
  Path.GetPathPoints(pts.data(), n);
  std::vector<TArcEnds> arcs;
  for (size_t i = 0; i + 3 < pts.size(); i += 4) arcs.push_back({pts[i], pts[i + 3]});
  return arcs;
}

TEST(GPRoundedFigures, ArcDiametersFollowThePixelFittingRules) {
  struct TCase {
    const char* Name;
    std::function<void(GraphicsPath*)> Add;
    // Start and end of the top-left, top-right, bottom-right and bottom-left arcs.
    TArcEnds Expected[4];
  };
  const TCase cases[] = {
      // Pill: top arcs 19.5 across, bottom arcs 20.5 across standing at Y = -0.5.
      {"PillOn40x20", [](GraphicsPath* p) { GPAddRoundedRect(p, RectF(0, 0, 40, 20), 0); },
       {{{0, 9.75f}, {9.75f, 0}}, {{30.25f, 0}, {40, 9.75f}}, {{40, 9.75f}, {29.75f, 20}}, {{10.25f, 20}, {0, 9.75f}}}},
      // Radius 4 on a box exactly 8 high: the bottom arcs keep diameter 8.
      {"Radius4Height8", [](GraphicsPath* p) { GPAddRoundedRect(p, RectF(0, 0, 20, 8), 4); },
       {{{0, 4}, {4, 0}}, {{16, 0}, {20, 4}}, {{20, 4}, {16, 8}}, {{4, 8}, {0, 4}}}},
      // One pixel taller: the bottom arcs grow to 9.
      {"Radius4Height9", [](GraphicsPath* p) { GPAddRoundedRect(p, RectF(0, 0, 20, 9), 4); },
       {{{0, 4}, {4, 0}}, {{16, 0}, {20, 4}}, {{20, 4.5f}, {15.5f, 9}}, {{4.5f, 9}, {0, 4.5f}}}},
      // Large radius: no clamping to the box.
      {"Radius8OnHeight10", [](GraphicsPath* p) { GPAddRoundedRect(p, RectF(0, 0, 30, 10), 8); },
       {{{0, 8}, {8, 0}}, {{22, 0}, {30, 8}}, {{30, 2}, {22, 10}}, {{8, 10}, {0, 2}}}},
      // Float radius: no half-pixel reduction, bottom arcs one wider when the box is taller.
      {"FloatRadius2.5", [](GraphicsPath* p) { GPAddRoundedRectF(p, RectF(10, 10, 20, 10), 2.5f); },
       {{{10, 12.5f}, {12.5f, 10}}, {{27.5f, 10}, {30, 12.5f}}, {{30, 17}, {27, 20}}, {{13, 20}, {10, 17}}}},
      // A side that is not positive takes the fallback size, then a pill.
      {"BetweenWithFallbackWidth", [](GraphicsPath* p) { GPAddRoundedRectBetween(p, 10, 5, 5, 5, 45); },
       {{{5, 9.75f}, {9.75f, 5}}, {{10.25f, 5}, {15, 9.75f}}, {{15, 39.75f}, {9.75f, 45}}, {{10.25f, 45}, {5, 39.75f}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    GPEnsureStarted();
    GraphicsPath path(FillModeAlternate);
    c.Add(&path);
    ASSERT_EQ(path.GetPointCount(), 16) << "four single-Bezier arcs";
    const auto arcs = ArcEnds(path);
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      EXPECT_NEAR(arcs[i].Start.X, c.Expected[i].Start.X, 1e-3);
      EXPECT_NEAR(arcs[i].Start.Y, c.Expected[i].Start.Y, 1e-3);
      EXPECT_NEAR(arcs[i].End.X, c.Expected[i].End.X, 1e-3);
      EXPECT_NEAR(arcs[i].End.Y, c.Expected[i].End.Y, 1e-3);
    }
  }
}

TEST(GPRoundedFigures, ZeroFloatRadiusKeepsSquareTopCorners) {
  GPEnsureStarted();
  GraphicsPath path(FillModeAlternate);
  GPAddRoundedRectF(&path, RectF(2, 3, 20, 10), 0);
  RectF bounds;
  path.GetBounds(&bounds);
  EXPECT_FLOAT_EQ(bounds.X, 2);
  EXPECT_FLOAT_EQ(bounds.Y, 3);
  EXPECT_FLOAT_EQ(bounds.Width, 20);
  EXPECT_FLOAT_EQ(bounds.Height, 10);
  std::vector<PointF> pts(static_cast<size_t>(path.GetPointCount()));
  path.GetPathPoints(pts.data(), static_cast<INT>(pts.size()));
  ASSERT_FALSE(pts.empty());
  EXPECT_FLOAT_EQ(pts[0].X, 2) << "the figure starts at the square corner";
  EXPECT_FLOAT_EQ(pts[0].Y, 3);
}

TEST(GPGeometry, RotationAndGlyphPenWidths) {
  struct TRotation {
    PointF P, Centre;
    float Angle;
    PointF Expected;
  };
  const TRotation rotations[] = {
      {{10, 0}, {0, 0}, 90, {0, 10}},  // clockwise on screen: right turns to down
      {{10, 0}, {0, 0}, -90, {0, -10}},
      {{15, 5}, {5, 5}, 180, {-5, 5}},
      {{6, 5}, {5, 5}, 45, {5 + std::sqrt(0.5f), 5 + std::sqrt(0.5f)}},
  };
  for (const auto& r : rotations) {
    const PointF p = GPRotatePoint(r.P, r.Centre, r.Angle);
    EXPECT_NEAR(p.X, r.Expected.X, 1e-4) << r.Angle;
    EXPECT_NEAR(p.Y, r.Expected.Y, 1e-4) << r.Angle;
  }
  struct TWidth {
    uint8_t Thickness;
    double Scale;
    int Expected;
  };
  const TWidth widths[] = {{0, 1.5, 1}, {3, 1.5, 4}, {1, 1.0, 1}, {2, 2.0, 4}, {3, 0.9, 2}, {0, 0.5, 0}};
  for (const auto& w : widths)
    EXPECT_EQ(GPGlyphPenWidth(w.Thickness, w.Scale), w.Expected) << int(w.Thickness) << " x " << w.Scale;
}

TEST(GPDrawTextFormat, DrawTextFlagsMapToTheStringFormat) {
  struct TCase {
    const char* Name;
    UINT Flags;
    INT FormatFlags;
    StringAlignment Align, LineAlign;
    HotkeyPrefix Prefix;
    StringTrimming Trimming;
  };
  const INT noClip = StringFormatFlagsNoClip, noWrap = StringFormatFlagsNoWrap;
  const TCase cases[] = {
      {"None", 0, noClip | noWrap, StringAlignmentNear, StringAlignmentNear, HotkeyPrefixShow, StringTrimmingNone},
      {"WordBreakNoPrefix", DT_WORDBREAK | DT_NOPREFIX, noClip, StringAlignmentNear, StringAlignmentNear,
       HotkeyPrefixNone, StringTrimmingNone},
      {"RightToLeft", DT_RTLREADING, noClip | noWrap | StringFormatFlagsDirectionRightToLeft, StringAlignmentNear,
       StringAlignmentNear, HotkeyPrefixShow, StringTrimmingNone},
      {"CentreBothWays", DT_CENTER | DT_VCENTER, noClip | noWrap, StringAlignmentCenter, StringAlignmentCenter,
       HotkeyPrefixShow, StringTrimmingNone},
      {"RightWinsOverCentre", DT_RIGHT | DT_CENTER, noClip | noWrap, StringAlignmentFar, StringAlignmentNear,
       HotkeyPrefixShow, StringTrimmingNone},
      {"EndEllipsis", DT_END_ELLIPSIS, noClip | noWrap, StringAlignmentNear, StringAlignmentNear, HotkeyPrefixShow,
       StringTrimmingEllipsisCharacter},
      {"PathEllipsisWins", DT_END_ELLIPSIS | DT_PATH_ELLIPSIS, noClip | noWrap, StringAlignmentNear,
       StringAlignmentNear, HotkeyPrefixShow, StringTrimmingEllipsisPath},
  };
  GPEnsureStarted();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    StringFormat format(0);
    GPSetDrawTextFormat(format, c.Flags);
    EXPECT_EQ(format.GetFormatFlags(), c.FormatFlags);
    EXPECT_EQ(format.GetAlignment(), c.Align);
    EXPECT_EQ(format.GetLineAlignment(), c.LineAlign);
    EXPECT_EQ(format.GetHotkeyPrefix(), c.Prefix);
    EXPECT_EQ(format.GetTrimming(), c.Trimming);
  }
}

// A canvas over a white pf32bit bitmap with a 16-pixel Tahoma.
struct TTextCanvas {
  TTextCanvas(int W, int H) {
    GPEnsureStarted();
    Bmp.SetPixelFormat(pf32bit);
    Bmp.SetSize(W, H);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(TRect(0, 0, W, H));
    Bmp.Canvas()->Font()->SetHeight(-16);
    Bmp.Canvas()->Font()->SetColor(clBlack);
  }
  // Columns holding a dark pixel, and the darkest red value seen.
  void Ink(int& MinX, int& MaxX, int& Darkest) {
    ::GdiFlush();
    MinX = Bmp.Width(), MaxX = -1, Darkest = 255;
    for (int y = 0; y < Bmp.Height(); ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(Bmp.ScanLine(y));
      for (int x = 0; x < Bmp.Width(); ++x) {
        const int r = row[x * 4 + 2];
        Darkest = std::min(Darkest, r);
        if (r < 160) {
          MinX = std::min(MinX, x);
          MaxX = std::max(MaxX, x);
        }
      }
    }
  }
  TBitmap Bmp;
};

TEST(GPDrawText, MeasuresLikeTheGdiFontAndEmptyTextIsZero) {
  TTextCanvas tc(200, 40);
  TCanvas* canvas = tc.Bmp.Canvas();
  TRect r(3, 4, 5, 6);
  GPDrawText(nullptr, nullptr, canvas, r, L"", DT_CALCRECT, 255);
  EXPECT_EQ(r, TRect(0, 0, 0, 0));

  TRect unchanged(3, 4, 50, 30);
  GPDrawText(nullptr, nullptr, canvas, unchanged, L"", 0, 255);
  EXPECT_EQ(unchanged, TRect(3, 4, 50, 30)) << "empty text without DT_CALCRECT leaves R alone";

  const TSize gdi = canvas->TextExtent(L"Measure me");
  TRect m(7, 9, 7, 9);
  GPDrawText(nullptr, nullptr, canvas, m, L"Measure me", DT_CALCRECT, 255);
  EXPECT_EQ(m.Left, 7);
  EXPECT_EQ(m.Top, 9);
  EXPECT_NEAR(m.Width(), gdi.cx, gdi.cx / 4 + 4);
  EXPECT_NEAR(m.Height(), gdi.cy, 4);
}

TEST(GPDrawText, AlignsDrawsAtAlphaAndRestoresThePixelOffset) {
  struct TCase {
    const char* Name;
    UINT Flags;
    bool InRightHalf;
  };
  const TCase cases[] = {{"Left", 0, false}, {"RightAndCentre", DT_RIGHT | DT_CENTER, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextCanvas tc(200, 40);
    TRect r(0, 0, 200, 40);
    GPDrawText(nullptr, nullptr, tc.Bmp.Canvas(), r, L"iii", c.Flags, 0);
    int minX, maxX, darkest;
    tc.Ink(minX, maxX, darkest);
    ASSERT_GE(maxX, 0) << "something drawn";
    EXPECT_LT(darkest, 60) << "alpha 0 means opaque";
    EXPECT_EQ(minX > 100, c.InRightHalf);
    EXPECT_EQ(maxX > 100, c.InRightHalf);
  }

  TTextCanvas tc(200, 40);
  Graphics g(tc.Bmp.Canvas()->Handle());
  g.SetPixelOffsetMode(PixelOffsetModeHalf);
  auto font = GPCreateFont(tc.Bmp.Canvas(), tc.Bmp.Canvas()->Font());
  TRect r(0, 0, 200, 40);
  GPDrawText(&g, font.get(), tc.Bmp.Canvas(), r, L"MMM", 0, 60);
  EXPECT_EQ(g.GetPixelOffsetMode(), PixelOffsetModeHalf);
  EXPECT_EQ(g.GetTextRenderingHint(), TextRenderingHintAntiAlias);
  g.Flush(FlushIntentionSync);
  int minX, maxX, darkest;
  tc.Ink(minX, maxX, darkest);
  EXPECT_GT(darkest, 255 - 60 - 20) << "alpha 60 stays light";
  EXPECT_LT(darkest, 255 - 60 + 20);
}

TEST(GPDrawText, FontCopiesFaceSizeAndStyle) {
  TTextCanvas tc(10, 10);
  TFont* f = tc.Bmp.Canvas()->Font();
  f->SetStyle(TFontStyles{fsBold, fsItalic});
  auto font = GPCreateFont(tc.Bmp.Canvas(), f);
  ASSERT_EQ(font->GetLastStatus(), Ok);
  FontFamily family;
  font->GetFamily(&family);
  WCHAR name[LF_FACESIZE] = {};
  family.GetFamilyName(name);
  EXPECT_STREQ(name, L"Tahoma");
  EXPECT_EQ(font->GetStyle() & (FontStyleBold | FontStyleItalic), FontStyleBold | FontStyleItalic);
  EXPECT_NEAR(font->GetHeight(96.0f), tc.Bmp.Canvas()->TextHeight(L"M"), 3);
}

// The boxes of an image list's pure red image and of the dark caption pixels on a canvas.
struct TImageTextBoxes {
  TRect Image, Text;
};

TImageTextBoxes FindBoxes(TBitmap& B) {
  ::GdiFlush();
  auto grow = [](TRect& box, int x, int y) {
    box = box.IsEmpty() ? Bounds(x, y, 1, 1)
                        : TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                                std::max(box.Bottom, y + 1));
  };
  TImageTextBoxes boxes;
  for (int y = 0; y < B.Height(); ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(B.ScanLine(y));
    for (int x = 0; x < B.Width(); ++x) {
      const int b = row[x * 4], g = row[x * 4 + 1], r = row[x * 4 + 2];
      if (r > 200 && g < 60 && b < 60) grow(boxes.Image, x, y);
      else if (r < 140 && g < 140 && b < 140) grow(boxes.Text, x, y);
    }
  }
  return boxes;
}

TEST(GPDrawImageAndText, ImageBesideCaptionByLayout) {
  TImageList list(nullptr);
  TBitmap red;
  red.SetPixelFormat(pf24bit);
  red.SetSize(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 16, 16));
  ASSERT_EQ(list.Add(&red, nullptr), 0);

  struct TCase {
    const char* Name;
    TButtonLayout Layout;
    int Index;
    bool Enabled;
  };
  const TCase cases[] = {
      {"Left", blGlyphLeft, 0, true},      {"Right", blGlyphRight, 0, true}, {"Top", blGlyphTop, 0, true},
      {"Bottom", blGlyphBottom, 0, true},  {"NoSuchImage", blGlyphLeft, 1, true},
      {"Disabled", blGlyphLeft, 0, false},
  };
  const TRect r(0, 0, 200, 80);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextCanvas tc(200, 80);
    GPDrawImageAndText(nullptr, tc.Bmp.Canvas(), r, c.Layout, -1, 6, L"Caption", &list, c.Index, true, false, false,
                       false, false, false, c.Enabled, 1.0);
    const TImageTextBoxes boxes = FindBoxes(tc.Bmp);
    ASSERT_FALSE(boxes.Text.IsEmpty()) << "caption drawn";
    if (c.Index != 0 || !c.Enabled) {
      EXPECT_TRUE(boxes.Image.IsEmpty()) << "no red image";
      if (c.Index != 0) {
        EXPECT_NEAR((boxes.Text.Left + boxes.Text.Right) / 2.0, 100, 4) << "caption centred alone";
      }
      continue;
    }
    ASSERT_EQ(boxes.Image.Width(), 16);
    ASSERT_EQ(boxes.Image.Height(), 16);
    switch (c.Layout) {
      case blGlyphLeft: EXPECT_GE(boxes.Text.Left - boxes.Image.Right, 6); break;
      case blGlyphRight: EXPECT_GE(boxes.Image.Left - boxes.Text.Right, 6); break;
      case blGlyphTop: EXPECT_GE(boxes.Text.Top - boxes.Image.Bottom, 6); break;
      case blGlyphBottom: EXPECT_GE(boxes.Image.Top - boxes.Text.Bottom, 6); break;
    }
    // The pair is centred as a whole.
    const TRect pair = UnionRect(boxes.Image, boxes.Text);
    EXPECT_NEAR((pair.Left + pair.Right) / 2.0, 100, 5);
    EXPECT_NEAR((pair.Top + pair.Bottom) / 2.0, 40, 5);
  }

  // The focus frame surrounds the caption: the dark box grows.
  TTextCanvas plain(200, 80), framed(200, 80);
  GPDrawImageAndText(nullptr, plain.Bmp.Canvas(), r, blGlyphLeft, -1, 0, L"Caption", nullptr, -1, true, false, false,
                     false, false, false, true, 1.0);
  GPDrawImageAndText(nullptr, framed.Bmp.Canvas(), r, blGlyphLeft, -1, 0, L"Caption", nullptr, -1, true, false, false,
                     false, false, true, true, 1.0);
  const TRect inner = FindBoxes(plain.Bmp).Text, outer = FindBoxes(framed.Bmp).Text;
  EXPECT_LT(outer.Left, inner.Left);
  EXPECT_GT(outer.Right, inner.Right);
  EXPECT_LT(outer.Top, inner.Top);
}

TEST(GPLights, PressedRippleGeometry) {
  struct TCase {
    uint8_t Step;
    bool Drawn;
    RectF Spot;
    int Alpha;
  };
  // R is 40 x 20; the press is at (100, 50).
  const TCase cases[] = {
      {0, true, {90, 40, 20, 20}, 70},
      {5, true, {85, 40, 30, 20}, 35},
      {10, true, {80, 40, 40, 20}, 0},
      {11, false, {}, 0},
      {255, false, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.Step));
    RectF spot;
    uint8_t alpha = 99;
    ASSERT_EQ(GPPressedLightSpot(RectF(0, 0, 40, 20), 100, 50, c.Step, spot, alpha), c.Drawn);
    if (!c.Drawn) continue;
    EXPECT_TRUE(spot.Equals(c.Spot)) << spot.X << "," << spot.Y << " " << spot.Width << "x" << spot.Height;
    EXPECT_EQ(alpha, c.Alpha);
  }
}

TEST(GPLights, SpotsFadeFromCentreAndIgnoreHeight) {
  TSurface s(100, 100);
  // 40 wide, 10 high: the disc is 40 across about (30, 25).
  GPDrawLightSpot(s.G.get(), RectF(10, 20, 40, 10), 200);
  EXPECT_NEAR(AlphaOf(s.At(30, 25)), 200, 12);
  EXPECT_EQ(RedOf(s.At(30, 25)), 255) << "white light";
  const int halfway = AlphaOf(s.At(30, 35));
  EXPECT_GT(halfway, 60) << "lit below R: the height plays no part";
  EXPECT_LT(halfway, 140);
  EXPECT_EQ(s.At(30, 47), 0u) << "outside the disc";

  TSurface hover(100, 40);
  GPDrawHoverLight(hover.G.get(), RectF(0, 0, 20, 20), 70);
  EXPECT_NEAR(AlphaOf(hover.At(70, 10)), 50, 8);
  EXPECT_EQ(hover.At(10, 10), 0u);

  for (uint8_t step : {0, 10, 11}) {
    TSurface p(60, 40);
    GPDrawPressedLight(p.G.get(), RectF(0, 0, 40, 20), 30, 20, step);
    EXPECT_NEAR(AlphaOf(p.At(30, 20)), step == 0 ? 70 : 0, 8) << int(step);
  }
}

TEST(GPFocusRect, DottedOnePixelInsideAndThickerFromScaleTwo) {
  // Rows of the top edge that carry ink, and whether the top row has gaps between dots.
  auto topEdge = [](double scale, int& inkRows, bool& gaps, bool& rightInside, bool& leftColumnClear) {
    TSurface s(20, 20);
    s.G->SetSmoothingMode(SmoothingModeNone);
    GPDrawFocusRect(s.G.get(), RectF(0, 0, 20, 20), 0xFF000000, scale);
    inkRows = 0;
    for (int y = 0; y < 5; ++y) {
      bool any = false;
      for (int x = 4; x < 16; ++x) any |= AlphaOf(s.At(x, y)) > 0;
      inkRows += any;
    }
    int inked = 0;
    for (int x = 4; x < 16; ++x) inked += AlphaOf(s.At(x, 1)) > 0;
    gaps = inked > 0 && inked < 12;
    rightInside = false;
    for (int y = 4; y < 16; ++y) rightInside |= AlphaOf(s.At(19, y)) > 0 || AlphaOf(s.At(18, y)) > 0;
    leftColumnClear = true;
    for (int y = 4; y < 16; ++y) leftColumnClear &= AlphaOf(s.At(3, y)) == 0;
  };
  int rows1, rows2;
  bool gaps, right, clear;
  topEdge(1.0, rows1, gaps, right, clear);
  EXPECT_EQ(rows1, 1);
  EXPECT_TRUE(gaps) << "dotted";
  EXPECT_TRUE(right) << "the frame lies inside R";
  EXPECT_TRUE(clear);
  topEdge(2.0, rows2, gaps, right, clear);
  EXPECT_GE(rows2, 2);
  EXPECT_TRUE(gaps);
}

TEST(GPFills, PillRoundedRectAndShadow) {
  TSurface s(120, 60);
  GPFillPillBetween(s.G.get(), 0xFFFF0000, 10, 10, 10, 60, 30);
  EXPECT_EQ(s.At(35, 20), 0xFFFF0000u);
  EXPECT_EQ(s.At(11, 11), 0u) << "rounded corner";
  EXPECT_EQ(s.At(62, 20), 0u);

  GPFillPillBetween(s.G.get(), 0xFF00FF00, 10, 80, 40, 70, 40);  // both sides fall back to 10
  EXPECT_EQ(s.At(85, 45), 0xFF00FF00u);
  EXPECT_EQ(s.At(85, 52), 0u);

  TSurface r(40, 40);
  SolidBrush blue{Color(0xFF0000FF)};
  GPFillRoundedRect(r.G.get(), RectF(5, 5, 30, 30), &blue, 6);
  EXPECT_EQ(r.At(20, 20), 0xFF0000FFu);
  EXPECT_EQ(r.At(20, 6), 0xFF0000FFu);
  EXPECT_EQ(r.At(5, 5), 0u);

  TSurface sh(100, 100);
  GPDrawShadowEllipse(sh.G.get(), 4, 200, 30, 30, 40, 30);
  int strongest = 0;
  bool allBlack = true;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const ARGB c = sh.At(x, y);
      strongest = std::max(strongest, AlphaOf(c));
      allBlack &= (c & 0xFFFFFF) == 0;
    }
  EXPECT_GT(strongest, 0);
  EXPECT_LE(strongest, 200);
  EXPECT_TRUE(allBlack);
  EXPECT_EQ(sh.At(2, 2), 0u);
  EXPECT_EQ(sh.At(50, 45), 0u) << "a ring, not a filled disc";
}

}  // namespace
