// The placement geometry of the GDI+ collection as pure functions: the floating destination
// rectangles a picture is drawn into for each draw style, and the rectangle handed to the
// drawing by margins. The collection's Draw only draws what these list.
#pragma once

#include <vector>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaImageCollection/ImageDrawStyle.h"

struct TkaGPPlacement {
  TkaImageDrawStyle Style = idsTile;
  TRect Rect;                      // the caller's rectangle
  int Width = 0, Height = 0;       // the picture's size at the scale (virtual size if any)
  int OverlapX = 0, OverlapY = 0;  // how far opaque tiles reach over their neighbours
  double ScaleFactor = 1;
  int TileOffsetX = 0, TileOffsetY = 0;  // gaps between tiles, unscaled
  bool Proportional = false;
};

// Tiles of a run stand a pitch of Round(ScaleFactor * offset + size) apart, so an offset is a
// gap between tiles as in the GDI collection; a pitch of 0 or less gives a single tile. Tile
// runs list columns as the outer loop.
std::vector<TGPRectF> GPPlaceImage(const TkaGPPlacement& P);

// The destination of the drawing by margins: the whole rectangle for nine parts, narrowed to
// the picture's height (SideBySide) or width (Stacked) and placed by the style otherwise.
TGPRectF GPPlaceByMargins(TkaMarginLayout Layout, const TkaGPPlacement& P);
