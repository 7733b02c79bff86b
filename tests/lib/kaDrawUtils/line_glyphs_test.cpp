// The line-drawn arrows and marks, pixel for pixel: the shapes are drawn as pictures below
// ('#' = drawn), with the glyph's centre at the picture's centre.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/Graphics.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "tests/support/Handles.h"

namespace {

using TPixels = std::set<std::pair<int, int>>;
using TArt = std::vector<std::string>;
using TGlyph = std::function<void(TCanvas*, const TRect&, TColor, double)>;

constexpr int kSize = 64;
// Rect(4, 4, 44, 44) centres glyphs at (24, 24).
const TRect kRect = Rect(4, 4, 44, 44);

TPixels FromArt(int CX, int CY, const TArt& Art) {
  TPixels p;
  const int h = static_cast<int>(Art.size());
  for (int row = 0; row < h; ++row) {
    const int w = static_cast<int>(Art[row].size());
    for (int col = 0; col < w; ++col)
      if (Art[row][col] == '#') p.insert({CX + col - w / 2, CY + row - h / 2});
  }
  return p;
}

// A white pf32bit canvas to draw glyphs on.
class TSheet {
 public:
  TSheet() {
    FBitmap.SetPixelFormat(pf32bit);
    FBitmap.SetSize(kSize, kSize);
    FillBitmapPixels(&FBitmap, 0xFFFFFFFF);
  }
  TCanvas* Canvas() { return FBitmap.Canvas(); }
  uint32_t Colour(int X, int Y) {
    const uint8_t* p = static_cast<uint8_t*>(FBitmap.ScanLine(Y)) + X * 4;
    return p[0] | p[1] << 8 | p[2] << 16;
  }
  // Every pixel that is no longer white.
  TPixels Drawn() {
    TPixels p;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (Colour(x, y) != 0xFFFFFF) p.insert({x, y});
    return p;
  }

 private:
  TBitmap FBitmap;
};

TPixels Draw(const TGlyph& Glyph, double Scale, const TRect& R = kRect) {
  TSheet sheet;
  Glyph(sheet.Canvas(), R, clBlack, Scale);
  return sheet.Drawn();
}

TGlyph Directed(void (*Routine)(TCanvas*, const TRect&, TColor, double, int), int Direction) {
  return [=](TCanvas* C, const TRect& R, TColor Colour, double S) { Routine(C, R, Colour, S, Direction); };
}

TGlyph Combo() {
  return [](TCanvas* C, const TRect& R, TColor Colour, double S) { DrawComboArrow(C, R, Colour, nullptr, S); };
}

std::string Describe(const TPixels& P) {
  std::string s;
  for (const auto& [x, y] : P) s += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
  return s;
}

// ---- Shapes at scale 1 --------------------------------------------------------------------

// clang-format off

const TArt kTriangleDown = {
    "         ",
    "         ",
    "         ",
    " ####### ",
    "  #####  ",
    "   ###   ",
    "    #    ",
    "         ",
    "         ",
};
const TArt kTriangleUp = {
    "         ",
    "         ",
    "    #    ",
    "   ###   ",
    "  #####  ",
    " ####### ",
    "         ",
    "         ",
    "         ",
};
const TArt kTriangleRight = {
    "         ",
    "   #     ",
    "   ##    ",
    "   ###   ",
    "   ####  ",
    "   ###   ",
    "   ##    ",
    "   #     ",
    "         ",
};
const TArt kTriangleLeft = {
    "         ",
    "     #   ",
    "    ##   ",
    "   ###   ",
    "  ####   ",
    "   ###   ",
    "    ##   ",
    "     #   ",
    "         ",
};
const TArt kChevronRight = {
    "         ",
    " ##      ",
    "  ##     ",
    "   ##    ",
    "    ##   ",
    "   ##    ",
    "  ##     ",
    " ##      ",
    "         ",
};
const TArt kChevronLeft = {
    "         ",
    "   ##    ",
    "  ##     ",
    " ##      ",
    "##       ",
    " ##      ",
    "  ##     ",
    "   ##    ",
    "         ",
};
const TArt kChevronDown = {
    "         ",
    "         ",
    "         ",
    " ##   ## ",
    "  ## ##  ",
    "   ###   ",
    "    #    ",
    "         ",
    "         ",
};
const TArt kCheck = {
    "           ",
    "        ## ",
    "       ### ",
    "      ###  ",
    "##   ###   ",
    "### ###    ",
    " #####     ",
    "  ###      ",
    "   #       ",
    "           ",
    "           ",
};
const TArt kRadio = {
    "         ",
    "  ####   ",
    " ######  ",
    " ######  ",
    " ######  ",
    " ######  ",
    "  ####   ",
    "         ",
    "         ",
};
const TArt kComboModern = {
    "         ",
    "         ",
    "##     ##",
    " ##   ## ",
    "  ## ##  ",
    "   ###   ",
    "    #    ",
    "         ",
    "         ",
};
const TArt kComboWindows8 = {
    "         ",
    "         ",
    " #     # ",
    " ##   ## ",
    " ### ### ",
    "  #####  ",
    "   ###   ",
    "    #    ",
    "         ",
};
// clang-format on

TEST(LineGlyphs, ShapesAtScaleOne) {
  struct TCase {
    const char* Name;
    TGlyph Glyph;
    TArt Art;
  };
  TkaCompositionTesting version;
  version.SetVersion(10, 0, 19045);
  const TCase cases[] = {
      {"triangle down", Directed(DrawTriangleArrow, 4), kTriangleDown},
      {"triangle up", Directed(DrawTriangleArrow, 3), kTriangleUp},
      {"triangle right", Directed(DrawTriangleArrow, 2), kTriangleRight},
      {"triangle left", Directed(DrawTriangleArrow, 1), kTriangleLeft},
      {"menu arrow right", Directed(DrawMenuArrow, 2), kTriangleRight},
      {"menu arrow left", Directed(DrawMenuArrow, 1), kTriangleLeft},
      {"chevron right", Directed(DrawChevronArrow, 1), kChevronRight},
      {"chevron left", Directed(DrawChevronArrow, 2), kChevronLeft},
      {"chevron down", DrawChevronDown, kChevronDown},
      {"caption chevron down", DrawNCChevronDown, kChevronDown},
      {"caption triangle down", DrawNCTriangleDown, kTriangleDown},
      {"check mark", DrawCheckMark, kCheck},
      {"radio mark", DrawRadioMark, kRadio},
      {"combo arrow on Windows 10", Combo(), kComboModern},
  };
  for (const TCase& c : cases) {
    const TPixels got = Draw(c.Glyph, 1);
    EXPECT_EQ(got, FromArt(24, 24, c.Art)) << c.Name << ": " << Describe(got);
    EXPECT_EQ(Draw(c.Glyph, 0.5), got) << c.Name << ": a scale below 1 draws as 1";
  }
  // The centre truncates half the size: (3 + 11 div 2, 5 + 7 div 2).
  EXPECT_EQ(Draw(Directed(DrawTriangleArrow, 4), 1, Rect(3, 5, 14, 12)), FromArt(8, 8, kTriangleDown));
}

TEST(LineGlyphs, LargerScales) {
  struct TCase {
    const char* Name;
    TGlyph Glyph;
    double Scale;
    TArt Art;
  };
  const TCase cases[] = {
      {"triangle at 2: g 4, n 5",
       Directed(DrawTriangleArrow, 4),
       2,
       {
           "             ",
           "             ",
           "             ",
           "             ",
           "             ",
           " ########### ",
           "  #########  ",
           "   #######   ",
           "    #####    ",
           "     ###     ",
           "      #      ",
           "             ",
           "             ",
       }},
      {"triangle at 1.25 stays: g 2, n 4",
       Directed(DrawTriangleArrow, 4),
       1.25,
       {
           "           ",
           "           ",
           "           ",
           " ######### ",
           "  #######  ",
           "   #####   ",
           "    ###    ",
           "     #     ",
           "           ",
           "           ",
           "           ",
       }},
      {"chevron arrow at 1.25: two strokes of 5",
       Directed(DrawChevronArrow, 1),
       1.25,
       {
           "           ",
           " ##        ",
           "  ##       ",
           "   ##      ",
           "    ##     ",
           "     ##    ",
           "    ##     ",
           "   ##      ",
           "  ##       ",
           " ##        ",
           "           ",
       }},
      {"chevron down at 1.25: two strokes",
       DrawChevronDown,
       1.25,
       {
           "           ",
           "           ",
           "           ",
           " ##     ## ",
           "  ##   ##  ",
           "   ## ##   ",
           "    ###    ",
           "     #     ",
           "           ",
           "           ",
           "           ",
       }},
      {"chevron down at 1.5 is not rounded: b 6, two strokes",
       DrawChevronDown,
       1.5,
       {
           "             ",
           "             ",
           "             ",
           "             ",
           " ##       ## ",
           "  ##     ##  ",
           "   ##   ##   ",
           "    ## ##    ",
           "     ###     ",
           "      #      ",
           "             ",
           "             ",
           "             ",
       }},
      {"caption triangle at 1.25: rows k 4 down to 0",
       DrawNCTriangleDown,
       1.25,
       {
           "           ",
           "           ",
           "           ",
           "           ",
           " ######### ",
           "  #######  ",
           "   #####   ",
           "    ###    ",
           "     #     ",
           "           ",
           "           ",
       }},
      {"radio mark at 2: 12 x 12 with cut corners",
       DrawRadioMark,
       2,
       {
           "    ####     ",
           "   ######    ",
           "  ########   ",
           " ##########  ",
           "############ ",
           "############ ",
           "############ ",
           "############ ",
           " ##########  ",
           "  ########   ",
           "   ######    ",
           "    ####     ",
           "             ",
       }},
  };
  for (const TCase& c : cases) {
    const TPixels got = Draw(c.Glyph, c.Scale);
    EXPECT_EQ(got, FromArt(24, 24, c.Art)) << c.Name << ": " << Describe(got);
  }
}

TEST(LineGlyphs, ScalesThatRoundUpDrawAsTheWholeScaleInTheRoundingRoutinesOnly) {
  struct TCase {
    const char* Name;
    TGlyph Glyph;
    bool Rounds;
  };
  const TCase cases[] = {
      {"triangle", Directed(DrawTriangleArrow, 4), true},
      {"menu arrow", Directed(DrawMenuArrow, 2), true},
      {"chevron arrow", Directed(DrawChevronArrow, 2), true},
      {"chevron down", DrawChevronDown, false},
      {"caption chevron down", DrawNCChevronDown, false},
      {"caption triangle", DrawNCTriangleDown, false},
      {"check mark", DrawCheckMark, false},
      {"radio mark", DrawRadioMark, false},
  };
  for (const TCase& c : cases) {
    const TPixels two = Draw(c.Glyph, 2);
    if (c.Rounds)
      for (double s : {1.5, 1.75}) EXPECT_EQ(Draw(c.Glyph, s), two) << c.Name << " at " << s;
    else
      EXPECT_NE(Draw(c.Glyph, 1.5), two) << c.Name;
  }
  // 2.5 rounds to 2 (halves to even), so it is drawn as it is: neither 2 nor 3.
  const TGlyph triangle = Directed(DrawTriangleArrow, 3);
  const TPixels at25 = Draw(triangle, 2.5);
  EXPECT_NE(at25, Draw(triangle, 2));
  EXPECT_NE(at25, Draw(triangle, 3));
}

TEST(LineGlyphs, ComboArrowFollowsTheWindowsVersion) {
  struct TCase {
    const char* Name;
    int Major, Minor, Build;
    bool ModernArrows;
    TArt Art;
  };
  const TCase cases[] = {
      {"Windows 11", 10, 0, 22631, false, kComboModern},
      {"Windows 8", 6, 2, 9200, false, kComboWindows8},
      {"Windows 8.1", 6, 3, 9600, false, kComboWindows8},
      {"Windows 7", 6, 1, 7601, false, kTriangleDown},
      {"Windows 7, modern arrows count only under a custom style", 6, 1, 7601, true, kTriangleDown},
  };
  for (const TCase& c : cases) {
    TkaCompositionTesting version;
    version.SetVersion(c.Major, c.Minor, c.Build);
    SetUseModernArrows(c.ModernArrows);
    const TPixels got = Draw(Combo(), 1);
    SetUseModernArrows(false);
    EXPECT_EQ(got, FromArt(24, 24, c.Art)) << c.Name << ": " << Describe(got);
  }
  EXPECT_FALSE(IsWindowsStyleName(nullptr)) << "no custom style is active";
}

TEST(LineGlyphs, InvalidDirectionsDrawNothing) {
  struct TCase {
    const char* Name;
    void (*Routine)(TCanvas*, const TRect&, TColor, double, int);
    std::vector<int> Directions;
  };
  const TCase cases[] = {
      {"triangle", DrawTriangleArrow, {0, 5, -1}},
      {"menu arrow", DrawMenuArrow, {0, 3, 4, 5}},
      {"chevron arrow", DrawChevronArrow, {0, 3, 4}},
  };
  for (const TCase& c : cases)
    for (int d : c.Directions) EXPECT_TRUE(Draw(Directed(c.Routine, d), 1).empty()) << c.Name << " " << d;
}

TEST(LineGlyphs, EachGlyphStaysInsideItsRectangle) {
  const std::pair<const char*, TGlyph> glyphs[] = {
      {"triangle down", Directed(DrawTriangleArrow, 4)},
      {"triangle up", Directed(DrawTriangleArrow, 3)},
      {"triangle right", Directed(DrawTriangleArrow, 2)},
      {"triangle left", Directed(DrawTriangleArrow, 1)},
      {"menu arrow", Directed(DrawMenuArrow, 1)},
      {"chevron right", Directed(DrawChevronArrow, 1)},
      {"chevron left", Directed(DrawChevronArrow, 2)},
      {"chevron down", DrawChevronDown},
      {"caption chevron", DrawNCChevronDown},
      {"caption triangle", DrawNCTriangleDown},
      {"combo arrow", Combo()},
      {"check mark", DrawCheckMark},
      {"radio mark", DrawRadioMark},
  };
  for (const auto& [name, glyph] : glyphs)
    for (double s : {1.0, 1.25, 1.5, 2.0, 3.0}) {
      const TRect r = Bounds(6, 6, Round(16 * s), Round(16 * s));
      const TPixels got = Draw(glyph, s, r);
      EXPECT_FALSE(got.empty()) << name << " at " << s;
      for (const auto& [x, y] : got) EXPECT_TRUE(r.Contains({x, y})) << name << " at " << s << ": " << x << "," << y;
    }
}

TEST(LineGlyphs, DCPenRoutinesLeaveTheCanvasPenCanvasPenRoutinesRecolourIt) {
  struct TCase {
    const char* Name;
    TGlyph Glyph;
    bool DCPen;
  };
  const TCase cases[] = {
      {"triangle", Directed(DrawTriangleArrow, 4), false},
      {"chevron down", DrawChevronDown, false},
      {"combo arrow", Combo(), false},
      {"menu arrow", Directed(DrawMenuArrow, 2), true},
      {"chevron arrow", Directed(DrawChevronArrow, 1), true},
      {"caption chevron", DrawNCChevronDown, true},
      {"caption triangle", DrawNCTriangleDown, true},
      {"check mark", DrawCheckMark, true},
      {"radio mark", DrawRadioMark, true},
  };
  const uint32_t red = 0xFF0000, blue = 0x0000FF;  // as read from the pixels: R, G, B
  for (const TCase& c : cases) {
    TSheet sheet;
    TCanvas* canvas = sheet.Canvas();
    canvas->Pen()->SetColor(clBlue);
    canvas->MoveTo(1, 60);
    c.Glyph(canvas, kRect, clRed, 1);
    for (const auto& [x, y] : sheet.Drawn()) EXPECT_EQ(sheet.Colour(x, y), red) << c.Name << " glyph colour";
    EXPECT_EQ(canvas->Pen()->Color(), c.DCPen ? clBlue : clRed) << c.Name;
    if (c.DCPen) {
      EXPECT_EQ(canvas->PenPos(), Point(1, 60)) << c.Name;
      // The DC holds the canvas's pen again.
      canvas->LineTo(10, 60);
      EXPECT_EQ(sheet.Colour(5, 60), blue) << c.Name;
    }
  }
}

TEST(LineGlyphs, DCPenIsPutBackWhenDrawingThrows) {
  TSheet sheet;
  TCanvas* canvas = sheet.Canvas();
  canvas->Pen()->SetColor(clBlue);
  canvas->MoveTo(0, 0);  // realises the pen in the DC
  canvas->OnChanging = [](TObject*) { throw std::runtime_error("listener failed"); };
  EXPECT_THROW(DrawCheckMark(canvas, kRect, clRed, 1), std::runtime_error);
  canvas->OnChanging = nullptr;
  canvas->MoveTo(1, 60);
  canvas->LineTo(10, 60);
  EXPECT_EQ(sheet.Colour(5, 60), 0x0000FFu);
}

TEST(LineGlyphs, NoGdiObjectsLeakOverManyDraws) {
  TSheet sheet;
  TCanvas* canvas = sheet.Canvas();
  auto drawAll = [&](int i) {
    const TColor colour = i % 2 ? clRed : clBtnText;
    DrawTriangleArrow(canvas, kRect, colour, 1.5, 4);
    DrawMenuArrow(canvas, kRect, colour, 1, 2);
    DrawChevronArrow(canvas, kRect, colour, 2, 1);
    DrawChevronDown(canvas, kRect, colour, 1.25);
    DrawNCChevronDown(canvas, kRect, colour, 1);
    DrawNCTriangleDown(canvas, kRect, colour, 1);
    DrawComboArrow(canvas, kRect, colour, nullptr, 1);
    DrawCheckMark(canvas, kRect, colour, 2);
    DrawRadioMark(canvas, kRect, colour, 1);
  };
  drawAll(0);
  drawAll(1);
  const int before = GdiObjectCount();
  for (int i = 0; i < 2000; ++i) drawAll(i);
  EXPECT_LE(GdiObjectCount(), before);
}

}  // namespace
