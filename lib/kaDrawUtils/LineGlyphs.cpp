#include "lib/kaDrawUtils/LineGlyphs.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"

namespace {

bool GModernArrows = false;

double BaseScale(double Scale) { return Scale < 1 ? 1 : Scale; }

// Scales whose rounding goes up to the next integer are drawn at that integer, so the
// arrows of menus and buttons at 150 % look like those at 200 % rather than lopsided.
double WholeScale(double Scale) {
  const double s = BaseScale(Scale);
  return Round(s) != Trunc(s) ? Round(s) : s;
}

// Lines on a DC with whatever pen it holds; each covers its first point up to, but not
// including, its last.
struct TGlyphLines {
  HDC DC;
  void Segment(int X1, int Y1, int X2, int Y2) const {
    ::MoveToEx(DC, X1, Y1, nullptr);
    ::LineTo(DC, X2, Y2);
  }
  void MoveTo(int X, int Y) const { ::MoveToEx(DC, X, Y, nullptr); }
  void LineTo(int X, int Y) const { ::LineTo(DC, X, Y); }
};

struct TCentre {
  int X, Y;
};

TCentre CentreOf(const TRect& R) { return {R.Left + R.Width() / 2, R.Top + R.Height() / 2}; }

// Draws with the canvas's own pen in Color; the colour stays set, as callers expect.
template <class F>
void WithCanvasPen(TCanvas* Canvas, TColor Color, F&& Draw) {
  Canvas->Pen()->SetColor(Color);
  HDC dc = Canvas->Handle();
  Canvas->Changing();
  Draw(TGlyphLines{dc});
  Canvas->Changed();
}

// Draws with the stock DC pen in Color; the DC state comes back afterwards (also when
// drawing throws), so the canvas's pen and pen position are untouched.
template <class F>
void WithDCPen(TCanvas* Canvas, TColor Color, F&& Draw) {
  HDC dc = Canvas->Handle();
  TDCStateSaver saver(dc);
  ::SelectObject(dc, ::GetStockObject(DC_PEN));
  ::SetDCPenColor(dc, static_cast<COLORREF>(ColorToRGB(Color)));
  Canvas->Changing();
  Draw(TGlyphLines{dc});
  Canvas->Changed();
}

bool IsTriangleDirection(int Direction) { return Direction >= kaArrowLeft && Direction <= kaArrowDown; }

void Triangle(const TGlyphLines& L, TCentre C, double S, int Direction) {
  const int g = Round(2 * S), n = Round(2 * S + 1);
  switch (Direction) {
    case kaArrowDown:
      for (int k = n; k >= 0; --k) L.Segment(C.X - k, C.Y + g - k, C.X + k + 1, C.Y + g - k);
      break;
    case kaArrowUp:
      for (int k = 0; k <= n; ++k) L.Segment(C.X - k, C.Y + k - g, C.X + k + 1, C.Y + k - g);
      break;
    case kaArrowRight:
      for (int k = n; k >= 0; --k) L.Segment(C.X + g - k, C.Y + k, C.X + g - k, C.Y - k - 1);
      break;
    case kaArrowLeft:
      for (int k = 0; k <= n; ++k) L.Segment(C.X + k - g, C.Y - k, C.X + k - g, C.Y + k + 1);
      break;
    default:
      break;
  }
}

void ChevronDown(const TGlyphLines& L, TCentre C, double S) {
  const int b = Round(4 * S), repeats = Round(S + 1);
  int y = C.Y + Round(2 * S) - 1;
  for (int i = 0; i < repeats; ++i, ++y) {
    // The first stroke's arms are one pixel shorter, so the tips stay square.
    const int arm = i == 0 ? b - 1 : b;
    L.Segment(C.X, y, C.X - arm, y - arm);
    L.Segment(C.X, y, C.X + arm, y - arm);
  }
}

void SmallTriangleDown(const TGlyphLines& L, TCentre C, double S) {
  const double t = S == 1 ? S : S + 0.1;
  const int c = Round(2 * t);
  for (int k = Round(3 * t); k >= 0; --k) L.Segment(C.X - k, C.Y + c - k, C.X + k + 1, C.Y + c - k);
}

}  // namespace

void DrawTriangleArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction) {
  if (Canvas == nullptr || !IsTriangleDirection(Direction)) return;
  WithCanvasPen(Canvas, Color,
                [&](const TGlyphLines& L) { Triangle(L, CentreOf(Rect), WholeScale(Scale), Direction); });
}

void DrawMenuArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction) {
  if (Canvas == nullptr || (Direction != kaArrowLeft && Direction != kaArrowRight)) return;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) { Triangle(L, CentreOf(Rect), WholeScale(Scale), Direction); });
}

void DrawChevronArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, int Direction) {
  if (Canvas == nullptr || (Direction != kaChevronRight && Direction != kaChevronLeft)) return;
  const double s = WholeScale(Scale);
  const TCentre c = CentreOf(Rect);
  const int f = Round(4 * s), g = Round(2 * s), repeats = Trunc(s + 1);
  // The apex sits at x; the arms run back from it, to the left for a right-pointing chevron.
  const int arm = Direction == kaChevronRight ? -f : f;
  int x = Direction == kaChevronRight ? c.X + g - 1 : c.X - g - 1;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) {
    for (int i = 0; i < repeats; ++i, --x) {
      L.Segment(x, c.Y, x + arm, c.Y - f);
      L.Segment(x, c.Y, x + arm, c.Y + f);
    }
  });
}

void DrawChevronDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale) {
  if (Canvas == nullptr) return;
  WithCanvasPen(Canvas, Color, [&](const TGlyphLines& L) { ChevronDown(L, CentreOf(Rect), BaseScale(Scale)); });
}

void DrawNCChevronDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale) {
  if (Canvas == nullptr) return;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) { ChevronDown(L, CentreOf(Rect), BaseScale(Scale)); });
}

void DrawNCTriangleDown(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale) {
  if (Canvas == nullptr) return;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) { SmallTriangleDown(L, CentreOf(Rect), BaseScale(Scale)); });
}

void DrawComboArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, const TControl* Control, double Scale) {
  if (Canvas == nullptr) return;
  const double s = BaseScale(Scale);
  const TCentre c = CentreOf(Rect);
  const bool custom = IsCustomStyleActiveFor(Control);
  if ((IsWindows10OrLater() && !custom) || (custom && (IsWindowsStyleName(Control) || UseModernArrows()))) {
    // The flat chevron of Windows 10 and later.
    const int len = Round(5 * s), repeats = Round(s + 1);
    WithCanvasPen(Canvas, Color, [&](const TGlyphLines& L) {
      for (int i = 0; i < repeats; ++i) {
        const int y = c.Y + Round(2 * s) + i - 1, arm = i == 0 ? len - 1 : len;
        L.Segment(c.X, y, c.X - arm, y - arm);
        L.Segment(c.X, y, c.X + arm, y - arm);
      }
    });
  } else if (!IsWindows8() || custom) {
    WithCanvasPen(Canvas, Color, [&](const TGlyphLines& L) { SmallTriangleDown(L, c, s); });
  } else {
    // Windows 8 and 8.1: a bolder chevron.
    const int e = Round(4 * s), repeats = Round(3 * s);
    WithCanvasPen(Canvas, Color, [&](const TGlyphLines& L) {
      for (int i = 0; i < repeats; ++i) {
        const int y = c.Y + Round(2 * s) + i - 1;
        L.Segment(c.X, y, c.X - e, y - e);
        L.Segment(c.X, y, c.X + e, y - e);
      }
    });
  }
}

void DrawCheckMark(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale) {
  if (Canvas == nullptr) return;
  const double s = BaseScale(Scale);
  const TCentre c = CentreOf(Rect);
  const int h = Round(10 * s) / 2, e = Round(2 * s), x = c.X + e / 2 - 1, repeats = 2 * Round(s);
  int y = c.Y + e / 2 - 1;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) {
    for (int i = 0; i < repeats; ++i, --y) {
      L.MoveTo(x - h, y);
      L.LineTo(x - e, y + h - e);
      L.LineTo(x + h, y - 2 * e);
      L.MoveTo(x - h + 1, y);
      L.LineTo(x - e, y + h - e - 1);
      L.LineTo(x + h - 1, y - 2 * e);
    }
  });
}

void DrawRadioMark(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale) {
  if (Canvas == nullptr) return;
  const TCentre c = CentreOf(Rect);
  const int h = Round(6 * (BaseScale(Scale) + 0.1)) / 2, x0 = c.X - h;
  WithDCPen(Canvas, Color, [&](const TGlyphLines& L) {
    for (int g = 1; g <= h; ++g) {
      const int m = std::max(h - g - 1, 0);
      L.Segment(x0 + m, c.Y - h + g - 1, x0 + 2 * h - m, c.Y - h + g - 1);
      L.Segment(x0 + m, c.Y + h - g, x0 + 2 * h - m, c.Y + h - g);
    }
  });
}

bool IsWindowsStyleName(const TControl* Control) {
  if (!IsCustomStyleActiveFor(Control)) return false;
  const String name = Control != nullptr ? Control->StyleName() : TStyleManager::ActiveStyle()->Name();
  return LowerCase(name).find(L"windows") != String::npos;
}

bool UseModernArrows() { return GModernArrows; }

void SetUseModernArrows(bool Value) { GModernArrows = Value; }
