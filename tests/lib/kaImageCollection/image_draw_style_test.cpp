// The GDI collection's placement geometry, exactly: every style in one rectangle, the tile
// runs at their edges (narrow, empty and inverted rectangles, gaps, pitches that cannot
// step), the choice of drawing by margins, and the styles that need a full repaint.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "lib/kaImageCollection/ImageDrawStyle.h"

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

// Count rectangles starting at First, each moved by (DX, DY) from the one before.
std::vector<TRect> Steps(TRect First, int DX, int DY, int Count) {
  std::vector<TRect> out;
  for (int i = 0; i < Count; ++i, First.Offset(DX, DY)) out.push_back(First);
  return out;
}

struct TStyleCase {
  TkaImageDrawStyle Style;
  std::vector<TRect> Expected;
};

TEST(ImagePlacement, EveryStyleOfA30x20PictureIn100x50At10_20) {
  const TRect r(10, 20, 110, 70);
  // Centred: x = 10 + 50 - 15 = 45, y = 20 + 25 - 10 = 35. Runs: 100 div 30 = 3, 50 div 20 = 2.
  const TStyleCase cases[] = {
      {idsStretch, {r}},
      {idsCenter, {Bounds(45, 35, 30, 20)}},
      {idsTopLeft, {Bounds(10, 20, 30, 20)}},
      {idsTopRight, {Bounds(80, 20, 30, 20)}},
      {idsBottomLeft, {Bounds(10, 50, 30, 20)}},
      {idsBottomRight, {Bounds(80, 50, 30, 20)}},
      {idsTopTile, Steps(Bounds(10, 20, 30, 20), 30, 0, 4)},
      {idsLeftTile, Steps(Bounds(10, 20, 30, 20), 0, 20, 3)},
      {idsRightTile, Steps(Bounds(80, 20, 30, 20), 0, 20, 3)},
      {idsBottomTile, Steps(Bounds(10, 50, 30, 20), 30, 0, 4)},
      {idsTopStretch, {Rect(10, 20, 110, 40)}},
      {idsLeftStretch, {Rect(10, 20, 40, 70)}},
      {idsRightStretch, {Rect(80, 20, 110, 70)}},
      {idsBottomStretch, {Rect(10, 50, 110, 70)}},
      {idsHorzStretchTile, Steps(Rect(10, 20, 40, 70), 30, 0, 4)},
      {idsVertStretchTile, Steps(Rect(10, 20, 110, 40), 0, 20, 3)},
      {idsHorzCenterStretch, {Rect(10, 35, 110, 55)}},
      {idsVertCenterStretch, {Rect(45, 20, 75, 70)}},
      {idsLeftCenter, {Bounds(10, 35, 30, 20)}},
      {idsTopCenter, {Bounds(45, 20, 30, 20)}},
      {idsRightCenter, {Bounds(80, 35, 30, 20)}},
      {idsBottomCenter, {Bounds(45, 50, 30, 20)}},
      {idsHorzCenterTile, Steps(Bounds(10, 35, 30, 20), 30, 0, 4)},
      {idsVertCenterTile, Steps(Bounds(45, 20, 30, 20), 0, 20, 3)},
  };
  for (const TStyleCase& c : cases) EXPECT_EQ(PlaceImage(c.Style, r, 30, 20, 0, 0), c.Expected) << int(c.Style);

  // The grid: columns outer, rows inner.
  std::vector<TRect> grid;
  for (int x : {10, 40, 70, 100})
    for (int y : {20, 40, 60}) grid.push_back(Bounds(x, y, 30, 20));
  EXPECT_EQ(PlaceImage(idsTile, r, 30, 20, 0, 0), grid);
}

TEST(ImagePlacement, StretchingStylesAreExactlyTheOnesThatFillARectangle) {
  for (int s = idsTile; s <= idsVertCenterTile; ++s) {
    const auto style = static_cast<TkaImageDrawStyle>(s);
    bool ownSize = true;
    for (const TRect& d : PlaceImage(style, Rect(0, 0, 100, 50), 30, 20, 0, 0))
      ownSize = ownSize && d.Width() == 30 && d.Height() == 20;
    EXPECT_EQ(IsStretchingStyle(style), !ownSize) << s;
  }
}

TEST(ImagePlacement, OddSizesCentreWithIntegerHalves) {
  // 0 + 101 div 2 - 31 div 2 = 35; 0 + 51 div 2 - 21 div 2 = 15.
  EXPECT_EQ(PlaceImage(idsCenter, Rect(0, 0, 101, 51), 31, 21, 0, 0), std::vector<TRect>{Bounds(35, 15, 31, 21)});
  // A picture larger than the rectangle sticks out on both sides.
  EXPECT_EQ(PlaceImage(idsCenter, Rect(0, 0, 10, 10), 31, 21, 0, 0), std::vector<TRect>{Bounds(-10, -5, 31, 21)});
}

TEST(ImagePlacement, DocumentedBitmapCases) {
  EXPECT_EQ(PlaceImage(idsBottomRight, Rect(0, 0, 200, 100), 40, 20, 0, 0),
            std::vector<TRect>{Bounds(160, 80, 40, 20)});
  std::vector<TRect> grid;
  for (int x : {0, 30, 60, 90})
    for (int y : {0, 30}) grid.push_back(Bounds(x, y, 30, 30));
  EXPECT_EQ(PlaceImage(idsTile, Rect(0, 0, 100, 50), 30, 30, 0, 0), grid);
  EXPECT_EQ(PlaceImage(idsTopTile, Rect(0, 0, 100, 30), 30, 30, 10, 0), Steps(Bounds(0, 0, 30, 30), 40, 0, 3));
}

struct TRunCase {
  const char* Name;
  TRect R;
  int OffsetX;
  std::vector<TRect> Expected;
};

TEST(ImagePlacement, TileRunsAtTheirEdges) {
  const TRunCase cases[] = {
      {"narrower than one pitch", Rect(0, 0, 20, 30), 0, {Bounds(0, 0, 30, 20)}},
      {"width 0", Rect(5, 0, 5, 30), 0, {Bounds(5, 0, 30, 20)}},
      {"exactly two pitches", Rect(0, 0, 60, 30), 0, Steps(Bounds(0, 0, 30, 20), 30, 0, 3)},
      {"inverted by less than a pitch", Rect(0, 0, -29, 30), 0, {Bounds(0, 0, 30, 20)}},
      {"inverted by a pitch: nothing", Rect(0, 0, -30, 30), 0, {}},
      {"gap of 5", Rect(0, 0, 100, 30), 5, Steps(Bounds(0, 0, 30, 20), 35, 0, 3)},
      {"negative gap overlaps", Rect(0, 0, 100, 30), -10, Steps(Bounds(0, 0, 30, 20), 20, 0, 6)},
      {"pitch 0: one tile", Rect(0, 0, 100, 30), -30, {Bounds(0, 0, 30, 20)}},
      {"pitch below 0: one tile", Rect(0, 0, 100, 30), -45, {Bounds(0, 0, 30, 20)}},
  };
  for (const TRunCase& c : cases) {
    EXPECT_EQ(PlaceImage(idsTopTile, c.R, 30, 20, c.OffsetX, 0), c.Expected) << c.Name;
    // The same run down a column, turned.
    std::vector<TRect> turned;
    for (const TRect& d : c.Expected) turned.push_back(Rect(d.Top, d.Left, d.Bottom, d.Right));
    EXPECT_EQ(PlaceImage(idsLeftTile, Rect(c.R.Top, c.R.Left, c.R.Bottom, c.R.Right), 20, 30, 0, c.OffsetX), turned)
        << c.Name;
  }
  // A grid with pitches that cannot step in either direction is one tile.
  EXPECT_EQ(PlaceImage(idsTile, Rect(0, 0, 100, 100), 30, 20, -30, -50), std::vector<TRect>{Bounds(0, 0, 30, 20)});
}

TEST(ImagePlacement, MarginLayoutNeedsACompletePairAndPrefersLeftAndRight) {
  struct {
    int L, T, R, B;
    TkaMarginLayout Expected;
  } cases[] = {
      {1, 1, 1, 1, TkaMarginLayout::NineParts},  {5, 5, 5, 0, TkaMarginLayout::SideBySide},
      {5, 0, 5, 0, TkaMarginLayout::SideBySide}, {5, -1, 5, 7, TkaMarginLayout::SideBySide},
      {0, 6, 0, 6, TkaMarginLayout::Stacked},    {5, 6, 0, 6, TkaMarginLayout::Stacked},
      {5, 0, 0, 0, TkaMarginLayout::Styles},     {0, 0, 0, 0, TkaMarginLayout::Styles},
      {-3, 4, -3, 0, TkaMarginLayout::Styles},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MarginLayoutOf(c.L, c.T, c.R, c.B), c.Expected) << c.L << " " << c.T << " " << c.R << " " << c.B;
}

struct TMarginCase {
  TkaMarginLayout Layout;
  TkaImageDrawStyle Style;
  std::vector<TRect> Expected;
};

TEST(ImagePlacement, DrawsByMarginsFollowTheStyleOnlyAcrossTheMissingPair) {
  const TRect r(10, 20, 110, 70);  // picture 30 x 20
  const TMarginCase cases[] = {
      {TkaMarginLayout::NineParts, idsTopLeft, {r}},
      {TkaMarginLayout::NineParts, idsVertStretchTile, {r}},
      // Ends at the left and right: the height is placed.
      {TkaMarginLayout::SideBySide, idsTopRight, {Rect(10, 20, 110, 40)}},
      {TkaMarginLayout::SideBySide, idsTopStretch, {Rect(10, 20, 110, 40)}},
      {TkaMarginLayout::SideBySide, idsBottomLeft, {Rect(10, 50, 110, 70)}},
      {TkaMarginLayout::SideBySide, idsBottomTile, {Rect(10, 50, 110, 70)}},
      {TkaMarginLayout::SideBySide, idsCenter, {r}},
      {TkaMarginLayout::SideBySide, idsLeftStretch, {r}},
      {TkaMarginLayout::SideBySide, idsVertStretchTile, Steps(Rect(10, 20, 110, 40), 0, 20, 3)},
      {TkaMarginLayout::SideBySide, idsHorzStretchTile, {r}},
      // Ends at the top and bottom: the width is placed.
      {TkaMarginLayout::Stacked, idsLeftStretch, {Rect(10, 20, 40, 70)}},
      {TkaMarginLayout::Stacked, idsBottomLeft, {Rect(10, 20, 40, 70)}},
      {TkaMarginLayout::Stacked, idsTopRight, {Rect(80, 20, 110, 70)}},
      {TkaMarginLayout::Stacked, idsRightTile, {Rect(80, 20, 110, 70)}},
      {TkaMarginLayout::Stacked, idsTopTile, {r}},
      {TkaMarginLayout::Stacked, idsHorzStretchTile, Steps(Rect(10, 20, 40, 70), 30, 0, 4)},
      {TkaMarginLayout::Stacked, idsVertStretchTile, {r}},
  };
  for (const TMarginCase& c : cases)
    EXPECT_EQ(PlaceByMargins(c.Layout, c.Style, r, 30, 20, 0, 0), c.Expected)
        << int(c.Layout) << " style " << int(c.Style);
  // A stretch-tile run whose pitch cannot step is a single element.
  EXPECT_EQ(PlaceByMargins(TkaMarginLayout::SideBySide, idsVertStretchTile, r, 30, 20, 0, -20),
            std::vector<TRect>{Rect(10, 20, 110, 40)});
  EXPECT_EQ(PlaceByMargins(TkaMarginLayout::Stacked, idsHorzStretchTile, r, 30, 20, -31, 0),
            std::vector<TRect>{Rect(10, 20, 40, 70)});
}

TEST(ImagePlacement, FullUpdateAndStretchTileStyles) {
  const std::vector<TkaImageDrawStyle> full = {
      idsStretch,    idsCenter,        idsTopRight,     idsBottomLeft,    idsBottomRight,
      idsRightTile,  idsBottomTile,    idsTopStretch,   idsLeftStretch,   idsRightStretch,
      idsBottomStretch, idsHorzStretchTile, idsVertStretchTile, idsHorzCenterStretch, idsVertCenterStretch,
      idsLeftCenter, idsTopCenter,     idsRightCenter,  idsBottomCenter};
  for (int s = idsTile; s <= idsVertCenterTile; ++s) {
    const auto style = static_cast<TkaImageDrawStyle>(s);
    const bool expected = std::find(full.begin(), full.end(), style) != full.end();
    EXPECT_EQ(DrawStyleNeedsFullUpdate(style, false), expected) << s;
    EXPECT_EQ(DrawStyleNeedsFullUpdate(style, true), expected || style == idsTile) << s;
    EXPECT_EQ(IsStretchTileStyle(style), style == idsTile || style == idsStretch) << s;
  }
}

}  // namespace
