// Where a collection's picture goes inside the rectangle it is drawn into. The placement
// styles are shared by every image collection; the geometry of the GDI collection lives
// here as pure functions that list the draws, so the drawing code only blits what they give
// and the rules can be checked without a device context.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/Types.h"

enum TkaImageDrawStyle : uint8_t {
  idsTile,
  idsStretch,
  idsCenter,
  idsTopLeft,
  idsTopRight,
  idsBottomLeft,
  idsBottomRight,
  idsTopTile,
  idsLeftTile,
  idsRightTile,
  idsBottomTile,
  idsTopStretch,
  idsLeftStretch,
  idsRightStretch,
  idsBottomStretch,
  idsHorzStretchTile,
  idsVertStretchTile,
  idsHorzCenterStretch,
  idsVertCenterStretch,
  idsLeftCenter,
  idsTopCenter,
  idsRightCenter,
  idsBottomCenter,
  idsHorzCenterTile,
  idsVertCenterTile
};

// The look depends on the whole rectangle's size (a resized container must repaint the
// children that show it). idsTile only counts when the picture is drawn in nine parts.
bool DrawStyleNeedsFullUpdate(TkaImageDrawStyle Style, bool AllMarginsSet);
bool IsStretchTileStyle(TkaImageDrawStyle Style);
// Styles that stretch the picture into their rectangles; the others draw it at its own size.
bool IsStretchingStyle(TkaImageDrawStyle Style);

// Index of the last element of a run of tiles over Length pixels: Length div Pitch (negative:
// no tile at all). A pitch of 0 or less cannot step, so the run is one element.
int TileRunLast(int Length, int Pitch);

// Which drawing a picture's four margins choose. A pair is complete when both of its margins
// are 1 or more; nine parts need both pairs, and left-right wins over top-bottom.
enum class TkaMarginLayout {
  Styles,      // no complete pair: placed by the draw style
  NineParts,   // all four set
  SideBySide,  // left and right set: ends at the left and right, middle between
  Stacked      // top and bottom set: ends at the top and bottom, middle between
};
TkaMarginLayout MarginLayoutOf(int Left, int Top, int Right, int Bottom);

// The GDI collection's draws of a W x H picture by style in R, with TileOffsetX/Y pixels
// between tiles. Every rectangle is either W x H (drawn at its own size, see
// IsStretchingStyle) or the one the picture is stretched into; tile runs list columns as the
// outer loop.
std::vector<TRect> PlaceImage(TkaImageDrawStyle Style, const TRect& R, int W, int H, int TileOffsetX,
                              int TileOffsetY);

// The GDI collection's destinations for drawing a bitmap by its margins (one nine- or
// three-part draw each). Layout must not be Styles.
std::vector<TRect> PlaceByMargins(TkaMarginLayout Layout, TkaImageDrawStyle Style, const TRect& R, int W,
                                  int H, int TileOffsetX, int TileOffsetY);
