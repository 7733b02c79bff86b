#include "lib/kaImageCollection/ImageDrawStyle.h"

#include "framework/TypeInfo.h"

KA_REGISTER_ENUM(TkaImageDrawStyle,
                 {{L"idsTile", idsTile},
                  {L"idsStretch", idsStretch},
                  {L"idsCenter", idsCenter},
                  {L"idsTopLeft", idsTopLeft},
                  {L"idsTopRight", idsTopRight},
                  {L"idsBottomLeft", idsBottomLeft},
                  {L"idsBottomRight", idsBottomRight},
                  {L"idsTopTile", idsTopTile},
                  {L"idsLeftTile", idsLeftTile},
                  {L"idsRightTile", idsRightTile},
                  {L"idsBottomTile", idsBottomTile},
                  {L"idsTopStretch", idsTopStretch},
                  {L"idsLeftStretch", idsLeftStretch},
                  {L"idsRightStretch", idsRightStretch},
                  {L"idsBottomStretch", idsBottomStretch},
                  {L"idsHorzStretchTile", idsHorzStretchTile},
                  {L"idsVertStretchTile", idsVertStretchTile},
                  {L"idsHorzCenterStretch", idsHorzCenterStretch},
                  {L"idsVertCenterStretch", idsVertCenterStretch},
                  {L"idsLeftCenter", idsLeftCenter},
                  {L"idsTopCenter", idsTopCenter},
                  {L"idsRightCenter", idsRightCenter},
                  {L"idsBottomCenter", idsBottomCenter},
                  {L"idsHorzCenterTile", idsHorzCenterTile},
                  {L"idsVertCenterTile", idsVertCenterTile}});

bool DrawStyleNeedsFullUpdate(TkaImageDrawStyle Style, bool AllMarginsSet) {
  switch (Style) {
    case idsTile:
      return AllMarginsSet;
    case idsStretch:
    case idsCenter:
    case idsTopRight:
    case idsBottomLeft:
    case idsBottomRight:
      return true;
    default:
      return Style >= idsRightTile && Style <= idsBottomCenter;
  }
}

bool IsStretchTileStyle(TkaImageDrawStyle Style) { return Style == idsTile || Style == idsStretch; }

bool IsStretchingStyle(TkaImageDrawStyle Style) {
  switch (Style) {
    case idsStretch:
    case idsTopStretch:
    case idsLeftStretch:
    case idsRightStretch:
    case idsBottomStretch:
    case idsHorzStretchTile:
    case idsVertStretchTile:
    case idsHorzCenterStretch:
    case idsVertCenterStretch:
      return true;
    default:
      return false;
  }
}

int TileRunLast(int Length, int Pitch) { return Pitch <= 0 ? 0 : Length / Pitch; }

TkaMarginLayout MarginLayoutOf(int Left, int Top, int Right, int Bottom) {
  const bool sides = Left >= 1 && Right >= 1;
  const bool ends = Top >= 1 && Bottom >= 1;
  if (sides && ends) return TkaMarginLayout::NineParts;
  if (sides) return TkaMarginLayout::SideBySide;
  if (ends) return TkaMarginLayout::Stacked;
  return TkaMarginLayout::Styles;
}

namespace {

// b + a div 2 - c div 2: the start of c pixels centred in a pixels from b.
int Centre(int A, int B, int C) { return B + A / 2 - C / 2; }

// A row of tiles at height Y (each TileH high, TileW wide) or a column at X.
void AddRow(std::vector<TRect>& Out, const TRect& R, int W, int Y, int TileW, int TileH, int OffsetX) {
  const int pitch = W + OffsetX;
  for (int i = 0, n = TileRunLast(R.Width(), pitch); i <= n; ++i)
    Out.push_back(Bounds(R.Left + i * pitch, Y, TileW, TileH));
}

void AddColumn(std::vector<TRect>& Out, const TRect& R, int H, int X, int TileW, int TileH, int OffsetY) {
  const int pitch = H + OffsetY;
  for (int j = 0, m = TileRunLast(R.Height(), pitch); j <= m; ++j)
    Out.push_back(Bounds(X, R.Top + j * pitch, TileW, TileH));
}

}  // namespace

std::vector<TRect> PlaceImage(TkaImageDrawStyle Style, const TRect& R, int W, int H, int TileOffsetX,
                              int TileOffsetY) {
  const int rw = R.Width(), rh = R.Height();
  const int cx = Centre(rw, R.Left, W), cy = Centre(rh, R.Top, H);
  std::vector<TRect> out;
  switch (Style) {
    case idsTile: {
      const int px = W + TileOffsetX, py = H + TileOffsetY;
      const int n = TileRunLast(rw, px), m = TileRunLast(rh, py);
      for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= m; ++j) out.push_back(Bounds(R.Left + i * px, R.Top + j * py, W, H));
      break;
    }
    case idsStretch: out.push_back(R); break;
    case idsCenter: out.push_back(Bounds(cx, cy, W, H)); break;
    case idsTopLeft: out.push_back(Bounds(R.Left, R.Top, W, H)); break;
    case idsTopRight: out.push_back(Bounds(R.Right - W, R.Top, W, H)); break;
    case idsBottomLeft: out.push_back(Bounds(R.Left, R.Bottom - H, W, H)); break;
    case idsBottomRight: out.push_back(Bounds(R.Right - W, R.Bottom - H, W, H)); break;
    case idsTopTile: AddRow(out, R, W, R.Top, W, H, TileOffsetX); break;
    case idsLeftTile: AddColumn(out, R, H, R.Left, W, H, TileOffsetY); break;
    case idsRightTile: AddColumn(out, R, H, R.Right - W, W, H, TileOffsetY); break;
    case idsBottomTile: AddRow(out, R, W, R.Bottom - H, W, H, TileOffsetX); break;
    case idsTopStretch: out.push_back(Rect(R.Left, R.Top, R.Right, R.Top + H)); break;
    case idsLeftStretch: out.push_back(Rect(R.Left, R.Top, R.Left + W, R.Bottom)); break;
    case idsRightStretch: out.push_back(Rect(R.Right - W, R.Top, R.Right, R.Bottom)); break;
    case idsBottomStretch: out.push_back(Rect(R.Left, R.Bottom - H, R.Right, R.Bottom)); break;
    case idsHorzStretchTile: AddRow(out, R, W, R.Top, W, rh, TileOffsetX); break;
    case idsVertStretchTile: AddColumn(out, R, H, R.Left, rw, H, TileOffsetY); break;
    case idsHorzCenterStretch: out.push_back(Rect(R.Left, cy, R.Right, cy + H)); break;
    case idsVertCenterStretch: out.push_back(Rect(cx, R.Top, cx + W, R.Bottom)); break;
    case idsLeftCenter: out.push_back(Bounds(R.Left, cy, W, H)); break;
    case idsTopCenter: out.push_back(Bounds(cx, R.Top, W, H)); break;
    case idsRightCenter: out.push_back(Bounds(R.Right - W, cy, W, H)); break;
    case idsBottomCenter: out.push_back(Bounds(cx, R.Bottom - H, W, H)); break;
    case idsHorzCenterTile: AddRow(out, R, W, cy, W, H, TileOffsetX); break;
    case idsVertCenterTile: AddColumn(out, R, H, cx, W, H, TileOffsetY); break;
  }
  return out;
}

std::vector<TRect> PlaceByMargins(TkaMarginLayout Layout, TkaImageDrawStyle Style, const TRect& R, int W,
                                  int H, int TileOffsetX, int TileOffsetY) {
  std::vector<TRect> out;
  TRect d = R;
  if (Layout == TkaMarginLayout::SideBySide) {
    if (Style == idsVertStretchTile) {
      AddColumn(out, R, H, R.Left, R.Width(), H, TileOffsetY);
      return out;
    }
    if (Style == idsTopLeft || Style == idsTopRight || Style == idsTopTile || Style == idsTopStretch)
      d.Bottom = d.Top + H;
    else if (Style == idsBottomLeft || Style == idsBottomRight || Style == idsBottomTile || Style == idsBottomStretch)
      d.Top = d.Bottom - H;
  } else if (Layout == TkaMarginLayout::Stacked) {
    if (Style == idsHorzStretchTile) {
      AddRow(out, R, W, R.Top, W, R.Height(), TileOffsetX);
      return out;
    }
    if (Style == idsTopLeft || Style == idsBottomLeft || Style == idsLeftTile || Style == idsLeftStretch)
      d.Right = d.Left + W;
    else if (Style == idsTopRight || Style == idsBottomRight || Style == idsRightTile || Style == idsRightStretch)
      d.Left = d.Right - W;
  }
  out.push_back(d);
  return out;
}
