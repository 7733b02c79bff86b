// The GDI+ collection's placement geometry, exactly: every style, rounding of halves to
// even, proportional fitting, tile runs with overlap, gaps and pitches that cannot step,
// and the rectangle handed to the drawing by margins.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "lib/kaGPImages/GPImagePlacement.h"

namespace {

// Floating rectangles as whole numbers: every placement here lands on whole pixels.
struct TBox {
  int X, Y, W, H;
  bool operator==(const TBox&) const = default;
};
void PrintTo(const TBox& b, std::ostream* os) { *os << "(" << b.X << ", " << b.Y << ", " << b.W << " x " << b.H << ")"; }

std::vector<TBox> Boxes(const std::vector<TGPRectF>& Rects) {
  std::vector<TBox> out;
  for (const TGPRectF& r : Rects) {
    EXPECT_EQ(r.X, static_cast<float>(static_cast<int>(r.X))) << "fractional X";
    out.push_back({static_cast<int>(r.X), static_cast<int>(r.Y), static_cast<int>(r.Width), static_cast<int>(r.Height)});
  }
  return out;
}

std::vector<TBox> Steps(TBox First, int DX, int DY, int Count) {
  std::vector<TBox> out;
  for (int i = 0; i < Count; ++i, First.X += DX, First.Y += DY) out.push_back(First);
  return out;
}

TkaGPPlacement Placement(TkaImageDrawStyle Style, TRect R, int W, int H) {
  TkaGPPlacement p;
  p.Style = Style;
  p.Rect = R;
  p.Width = W;
  p.Height = H;
  return p;
}

struct TStyleCase {
  TkaImageDrawStyle Style;
  std::vector<TBox> Expected;
};

TEST(GPImagePlacement, EveryStyleOfA30x20PictureIn100x50At10_20) {
  const TStyleCase cases[] = {
      {idsStretch, {{10, 20, 100, 50}}},
      {idsCenter, {{45, 35, 30, 20}}},
      {idsTopLeft, {{10, 20, 30, 20}}},
      {idsTopRight, {{80, 20, 30, 20}}},
      {idsBottomLeft, {{10, 50, 30, 20}}},
      {idsBottomRight, {{80, 50, 30, 20}}},
      {idsTopTile, Steps({10, 20, 30, 20}, 30, 0, 4)},
      {idsLeftTile, Steps({10, 20, 30, 20}, 0, 20, 3)},
      {idsRightTile, Steps({80, 20, 30, 20}, 0, 20, 3)},
      {idsBottomTile, Steps({10, 50, 30, 20}, 30, 0, 4)},
      {idsTopStretch, {{10, 20, 100, 20}}},
      {idsLeftStretch, {{10, 20, 30, 50}}},
      {idsRightStretch, {{80, 20, 30, 50}}},
      {idsBottomStretch, {{10, 50, 100, 20}}},
      {idsHorzStretchTile, Steps({10, 20, 30, 50}, 30, 0, 4)},
      {idsVertStretchTile, Steps({10, 20, 100, 20}, 0, 20, 3)},
      {idsHorzCenterStretch, {{10, 35, 100, 20}}},
      {idsVertCenterStretch, {{45, 20, 30, 50}}},
      {idsLeftCenter, {{10, 35, 30, 20}}},
      {idsTopCenter, {{45, 20, 30, 20}}},
      {idsRightCenter, {{80, 35, 30, 20}}},
      {idsBottomCenter, {{45, 50, 30, 20}}},
      {idsHorzCenterTile, Steps({10, 35, 30, 20}, 30, 0, 4)},
      {idsVertCenterTile, Steps({45, 20, 30, 20}, 0, 20, 3)},
  };
  const TRect r(10, 20, 110, 70);
  for (const TStyleCase& c : cases) EXPECT_EQ(Boxes(GPPlaceImage(Placement(c.Style, r, 30, 20))), c.Expected) << int(c.Style);
  std::vector<TBox> grid;
  for (int x : {10, 40, 70, 100})
    for (int y : {20, 40, 60}) grid.push_back({x, y, 30, 20});
  EXPECT_EQ(Boxes(GPPlaceImage(Placement(idsTile, r, 30, 20))), grid);
}

TEST(GPImagePlacement, CentringRoundsHalvesToEven) {
  // 101 / 2 - 15 = 35.5 -> 36 and 103 / 2 - 15 = 36.5 -> 36; 51 / 2 - 10.5 = 15 exactly.
  EXPECT_EQ(Boxes(GPPlaceImage(Placement(idsCenter, Rect(0, 0, 101, 51), 30, 21))), (std::vector<TBox>{{36, 15, 30, 21}}));
  EXPECT_EQ(Boxes(GPPlaceImage(Placement(idsTopCenter, Rect(0, 0, 103, 51), 30, 21))), (std::vector<TBox>{{36, 0, 30, 21}}));
  EXPECT_EQ(Boxes(GPPlaceImage(Placement(idsVertCenterTile, Rect(0, 0, 101, 20), 30, 21))),
            (std::vector<TBox>{{36, 0, 30, 21}}));
  // The top-right case of a 300 x 255 picture at scale 1.5: 450 x Round(382.5).
  EXPECT_EQ(Boxes(GPPlaceImage(Placement(idsTopRight, Rect(0, 0, 1000, 600), 450, 382))),
            (std::vector<TBox>{{550, 0, 450, 382}}));
}

struct TProportionalCase {
  const char* Name;
  TkaImageDrawStyle Style;
  TRect R;
  int W, H;
  TBox Expected;
};

TEST(GPImagePlacement, ProportionalStretchKeepsTheAspect) {
  const TRect r(0, 0, 600, 300);
  const TProportionalCase cases[] = {
      {"wide into wider", idsStretch, r, 300, 255, {124, 0, 352, 300}},
      {"wide into tall", idsStretch, Rect(0, 0, 300, 600), 200, 100, {0, 225, 300, 150}},
      {"tall, fits the height", idsStretch, Rect(0, 0, 300, 300), 100, 200, {75, 0, 150, 300}},
      {"tall, too wide at full height", idsStretch, Rect(0, 0, 50, 300), 100, 200, {0, 100, 50, 100}},
      {"no width fills", idsStretch, r, 0, 255, {0, 0, 600, 300}},
      {"top: height follows the width", idsTopStretch, r, 300, 255, {0, 0, 600, 510}},
      {"bottom", idsBottomStretch, r, 300, 255, {0, -210, 600, 510}},
      {"across the centre", idsHorzCenterStretch, r, 300, 255, {0, -105, 600, 510}},
      {"left: width follows the height", idsLeftStretch, r, 300, 255, {0, 0, 352, 300}},
      {"right", idsRightStretch, r, 300, 255, {248, 0, 352, 300}},
      {"down the centre", idsVertCenterStretch, r, 300, 255, {124, 0, 352, 300}},
      {"one-side, no width fills", idsTopStretch, r, 0, 255, {0, 0, 600, 300}},
      {"one-side, no new width fills", idsLeftStretch, r, 0, 255, {0, 0, 600, 300}},
      {"one-side, no height fills", idsVertCenterStretch, r, 300, 0, {0, 0, 600, 300}},
  };
  for (const TProportionalCase& c : cases) {
    TkaGPPlacement p = Placement(c.Style, c.R, c.W, c.H);
    p.Proportional = true;
    EXPECT_EQ(Boxes(GPPlaceImage(p)), std::vector<TBox>{c.Expected}) << c.Name;
  }
}

struct TRunCase {
  const char* Name;
  TkaImageDrawStyle Style;
  TRect R;
  int W, H, OverlapX, OverlapY, OffsetX;
  double Scale;
  std::vector<TBox> Expected;
};

TEST(GPImagePlacement, TileRunsOverlapWhenOpaqueAndStepByTheRoundedPitch) {
  const TRect r(0, 0, 100, 50);
  const TRunCase cases[] = {
      {"opaque tiles reach one pixel over", idsTopTile, r, 30, 20, 1, 1, 0, 1, Steps({0, 0, 31, 21}, 30, 0, 4)},
      {"stretched row", idsHorzStretchTile, r, 30, 20, 1, 1, 0, 1, Steps({0, 0, 31, 51}, 30, 0, 4)},
      {"stretched column", idsVertStretchTile, r, 30, 20, 1, 1, 0, 1, Steps({0, 0, 101, 21}, 0, 20, 3)},
      {"width 0 still gets one tile", idsTopTile, Rect(7, 0, 7, 50), 30, 20, 0, 0, 0, 1, {{7, 0, 30, 20}}},
      {"inverted by a pitch: nothing", idsBottomTile, Rect(0, 0, -30, 50), 30, 20, 0, 0, 0, 1, {}},
      {"gap scaled: Round(2 * 10 + 60) = 80", idsTopTile, Rect(0, 0, 200, 50), 60, 20, 0, 0, 10, 2,
       Steps({0, 0, 60, 20}, 80, 0, 3)},
      {"pitch Round(49.5) = 50", idsTopTile, r, 45, 20, 0, 0, 3, 1.5, Steps({0, 0, 45, 20}, 50, 0, 3)},
      {"pitch 0: one tile", idsHorzCenterTile, r, 30, 20, 0, 0, -30, 1, {{0, 15, 30, 20}}},
      {"pitch below 0: one tile", idsTopTile, r, 30, 20, 0, 0, -50, 1, {{0, 0, 30, 20}}},
  };
  for (const TRunCase& c : cases) {
    TkaGPPlacement p = Placement(c.Style, c.R, c.W, c.H);
    p.OverlapX = c.OverlapX, p.OverlapY = c.OverlapY, p.TileOffsetX = c.OffsetX, p.ScaleFactor = c.Scale;
    EXPECT_EQ(Boxes(GPPlaceImage(p)), c.Expected) << c.Name;
  }
  TkaGPPlacement grid = Placement(idsTile, r, 30, 20);
  grid.TileOffsetX = -30, grid.TileOffsetY = -20;
  EXPECT_EQ(Boxes(GPPlaceImage(grid)), (std::vector<TBox>{{0, 0, 30, 20}}));
  grid = Placement(idsTile, r, 30, 20);
  grid.OverlapX = grid.OverlapY = 2;
  EXPECT_EQ(Boxes(GPPlaceImage(grid)).front(), (TBox{0, 0, 32, 22}));
}

struct TMarginCase {
  TkaMarginLayout Layout;
  TkaImageDrawStyle Style;
  TRect R;
  TBox Expected;
};

TEST(GPImagePlacement, DrawingByMarginsPlacesOnlyAcrossTheMissingPair) {
  const TRect r(10, 20, 110, 70);  // picture 30 x 20, or 30 x 21 below
  const TMarginCase cases[] = {
      {TkaMarginLayout::NineParts, idsTopLeft, r, {10, 20, 100, 50}},
      {TkaMarginLayout::SideBySide, idsBottomLeft, r, {10, 50, 100, 20}},
      {TkaMarginLayout::SideBySide, idsTopRight, r, {10, 20, 100, 20}},
      {TkaMarginLayout::SideBySide, idsBottomStretch, r, {10, 50, 100, 20}},
      {TkaMarginLayout::SideBySide, idsCenter, r, {10, 35, 100, 20}},
      {TkaMarginLayout::SideBySide, idsHorzCenterStretch, r, {10, 35, 100, 20}},
      {TkaMarginLayout::SideBySide, idsLeftTile, r, {10, 20, 100, 50}},
      {TkaMarginLayout::SideBySide, idsTile, r, {10, 20, 100, 50}},
      {TkaMarginLayout::Stacked, idsTopLeft, r, {10, 20, 30, 50}},
      {TkaMarginLayout::Stacked, idsRightStretch, r, {80, 20, 30, 50}},
      {TkaMarginLayout::Stacked, idsCenter, r, {45, 20, 30, 50}},
      {TkaMarginLayout::Stacked, idsVertCenterStretch, r, {45, 20, 30, 50}},
      {TkaMarginLayout::Stacked, idsTopTile, r, {10, 20, 100, 50}},
  };
  for (const TMarginCase& c : cases)
    EXPECT_EQ(Boxes({GPPlaceByMargins(c.Layout, Placement(c.Style, c.R, 30, 20))}), std::vector<TBox>{c.Expected})
        << int(c.Layout) << " style " << int(c.Style);
  // The centring halves the rectangle's height in whole pixels first: 51 div 2 + 20 - 10.5
  // = 34.5 -> 34 (a floating half would give 35).
  EXPECT_EQ(Boxes({GPPlaceByMargins(TkaMarginLayout::SideBySide, Placement(idsCenter, Rect(10, 20, 110, 71), 30, 21))}),
            (std::vector<TBox>{{10, 34, 100, 21}}));
}

}  // namespace
