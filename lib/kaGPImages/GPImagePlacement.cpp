#include "lib/kaGPImages/GPImagePlacement.h"

namespace {

TGPRectF Box(double X, double Y, double W, double H) {
  return TGPRectF(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H));
}

// The caller's rectangle in the terms the placement rules use: X, Y, W, H as floating values
// and the integer right and bottom edges.
struct TArea {
  double X, Y, W, H;
  int Right, Bottom;
  explicit TArea(const TRect& R)
      : X(R.Left), Y(R.Top), W(R.Width()), H(R.Height()), Right(R.Right), Bottom(R.Bottom) {}
};

// idsStretch with Proportional: the largest box of the picture's aspect that fits, centred.
TGPRectF FitProportional(const TkaGPPlacement& P, const TArea& A) {
  const int w = P.Width, h = P.Height;
  if (w <= 0 || h <= 0) return Box(A.X, A.Y, A.W, A.H);
  const double a = static_cast<double>(w) / h;
  int fw, fh;
  if (w > h) {
    fw = static_cast<int>(A.W);
    fh = Trunc(A.W / a);
    if (A.H < fh) {
      fh = static_cast<int>(A.H);
      fw = Trunc(A.H * a);
    }
  } else {
    fh = static_cast<int>(A.H);
    fw = Trunc(A.H * a);
    if (fw > A.W) {
      fw = static_cast<int>(A.W);
      fh = Trunc(A.W / a);
    }
  }
  const TRect& r = P.Rect;
  return Box(Round(r.Width() / 2.0 + r.Left - fw / 2.0), Round(r.Height() / 2.0 + r.Top - fh / 2.0), fw, fh);
}

// The picture's height when stretched across (width when stretched down), keeping its
// aspect with Proportional; 0 or less means the picture fills the whole area instead.
int AcrossHeight(const TkaGPPlacement& P, const TArea& A) {
  if (!P.Proportional) return P.Height;
  return P.Width > 0 ? Trunc(P.Height * (A.W / P.Width)) : 0;
}
int DownWidth(const TkaGPPlacement& P, const TArea& A) {
  if (!P.Proportional) return P.Width;
  return P.Height > 0 ? Trunc(P.Width * (A.H / P.Height)) : 0;
}

TGPRectF PlaceOneSideStretch(const TkaGPPlacement& P, const TArea& A) {
  const TRect& r = P.Rect;
  const bool across =
      P.Style == idsTopStretch || P.Style == idsBottomStretch || P.Style == idsHorzCenterStretch;
  const int side = across ? AcrossHeight(P, A) : DownWidth(P, A);
  if (side <= 0) return Box(A.X, A.Y, A.W, A.H);
  switch (P.Style) {
    case idsTopStretch: return Box(A.X, A.Y, A.W, side);
    case idsBottomStretch: return Box(A.X, A.Bottom - side, A.W, side);
    case idsLeftStretch: return Box(A.X, A.Y, side, A.H);
    case idsRightStretch: return Box(A.Right - side, A.Y, side, A.H);
    case idsHorzCenterStretch:
      if (P.Proportional) return Box(A.X, Round(r.Height() / 2.0 + r.Top - side / 2.0), A.W, side);
      return Box(A.X, Round(A.Y + A.H / 2 - side / 2.0), A.W, side);
    default:  // idsVertCenterStretch
      if (P.Proportional) return Box(Round(r.Width() / 2.0 + r.Left - side / 2.0), A.Y, side, A.H);
      return Box(Round(A.W / 2 + A.X - side / 2.0), A.Y, side, A.H);
  }
}

int Pitch(double ScaleFactor, int Offset, int Size) { return Round(ScaleFactor * Offset + Size); }

void AddRow(std::vector<TGPRectF>& Out, const TkaGPPlacement& P, const TArea& A, double Y, double TileH) {
  const int pitch = Pitch(P.ScaleFactor, P.TileOffsetX, P.Width);
  for (int i = 0, n = TileRunLast(P.Rect.Width(), pitch); i <= n; ++i)
    Out.push_back(Box(A.X + double(i) * pitch, Y, P.Width + P.OverlapX, TileH));
}

void AddColumn(std::vector<TGPRectF>& Out, const TkaGPPlacement& P, const TArea& A, double X, double TileW) {
  const int pitch = Pitch(P.ScaleFactor, P.TileOffsetY, P.Height);
  for (int j = 0, m = TileRunLast(P.Rect.Height(), pitch); j <= m; ++j)
    Out.push_back(Box(X, A.Y + double(j) * pitch, TileW, P.Height + P.OverlapY));
}

void AddGrid(std::vector<TGPRectF>& Out, const TkaGPPlacement& P, const TArea& A) {
  const int px = Pitch(P.ScaleFactor, P.TileOffsetX, P.Width);
  const int py = Pitch(P.ScaleFactor, P.TileOffsetY, P.Height);
  const int n = TileRunLast(P.Rect.Width(), px), m = TileRunLast(P.Rect.Height(), py);
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= m; ++j)
      Out.push_back(Box(A.X + double(i) * px, A.Y + double(j) * py, P.Width + P.OverlapX, P.Height + P.OverlapY));
}

}  // namespace

std::vector<TGPRectF> GPPlaceImage(const TkaGPPlacement& P) {
  const TArea a(P.Rect);
  const int w = P.Width, h = P.Height;
  const int tileH = h + P.OverlapY, tileW = w + P.OverlapX;
  const int midX = Round(a.W / 2 + a.X - w / 2.0), midY = Round(a.Y + a.H / 2 - h / 2.0);
  std::vector<TGPRectF> out;
  switch (P.Style) {
    case idsTile: AddGrid(out, P, a); break;
    case idsStretch: out.push_back(P.Proportional ? FitProportional(P, a) : Box(a.X, a.Y, a.W, a.H)); break;
    case idsCenter: out.push_back(Box(midX, Round(a.H / 2 + a.Y - h / 2.0), w, h)); break;
    case idsTopLeft: out.push_back(Box(a.X, a.Y, w, h)); break;
    case idsTopRight: out.push_back(Box(a.Right - w, a.Y, w, h)); break;
    case idsBottomLeft: out.push_back(Box(a.X, a.Bottom - h, w, h)); break;
    case idsBottomRight: out.push_back(Box(a.Right - w, a.Bottom - h, w, h)); break;
    case idsTopTile: AddRow(out, P, a, a.Y, tileH); break;
    case idsLeftTile: AddColumn(out, P, a, a.X, tileW); break;
    case idsRightTile: AddColumn(out, P, a, a.Right - w, tileW); break;
    case idsBottomTile: AddRow(out, P, a, a.Bottom - h, tileH); break;
    case idsTopStretch:
    case idsLeftStretch:
    case idsRightStretch:
    case idsBottomStretch:
    case idsHorzCenterStretch:
    case idsVertCenterStretch: out.push_back(PlaceOneSideStretch(P, a)); break;
    case idsHorzStretchTile: AddRow(out, P, a, a.Y, a.H + P.OverlapY); break;
    case idsVertStretchTile: AddColumn(out, P, a, a.X, a.W + P.OverlapX); break;
    case idsLeftCenter: out.push_back(Box(a.X, midY, w, h)); break;
    case idsTopCenter: out.push_back(Box(midX, a.Y, w, h)); break;
    case idsRightCenter: out.push_back(Box(a.Right - w, midY, w, h)); break;
    case idsBottomCenter: out.push_back(Box(midX, a.Bottom - h, w, h)); break;
    case idsHorzCenterTile: AddRow(out, P, a, midY, tileH); break;
    case idsVertCenterTile: AddColumn(out, P, a, Round(a.X + a.W / 2 - w / 2.0), tileW); break;
  }
  return out;
}

TGPRectF GPPlaceByMargins(TkaMarginLayout Layout, const TkaGPPlacement& P) {
  const TArea a(P.Rect);
  const TRect& r = P.Rect;
  const TkaImageDrawStyle s = P.Style;
  if (Layout == TkaMarginLayout::SideBySide) {
    const int h = P.Height;
    if (s == idsCenter || s == idsHorzCenterStretch)
      return Box(a.X, Round(r.Height() / 2 + r.Top - h / 2.0), a.W, h);
    if (s == idsTopLeft || s == idsTopRight || s == idsTopTile || s == idsTopStretch) return Box(a.X, a.Y, a.W, h);
    if (s == idsBottomLeft || s == idsBottomRight || s == idsBottomTile || s == idsBottomStretch)
      return Box(a.X, a.Bottom - h, a.W, h);
  } else if (Layout == TkaMarginLayout::Stacked) {
    const int w = P.Width;
    if (s == idsCenter || s == idsVertCenterStretch)
      return Box(Round(r.Width() / 2 + r.Left - w / 2.0), a.Y, w, a.H);
    if (s == idsTopLeft || s == idsBottomLeft || s == idsLeftTile || s == idsLeftStretch) return Box(a.X, a.Y, w, a.H);
    if (s == idsTopRight || s == idsBottomRight || s == idsRightTile || s == idsRightStretch)
      return Box(a.Right - w, a.Y, w, a.H);
  }
  return Box(a.X, a.Y, a.W, a.H);
}
