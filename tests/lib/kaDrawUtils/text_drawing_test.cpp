// Glow options and drawing, the image-and-caption layout and drawing, and the small text
// routines: positions by hand, dotted focus rectangles pixel by pixel, glow bitmaps checked
// against the text they were made from, and no GDI objects left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "tests/support/Handles.h"

namespace {

struct TBGRA {
  uint8_t B, G, R, A;
};

TBGRA& Px(TBitmap& Bitmap, int X, int Y) { return static_cast<TBGRA*>(Bitmap.ScanLine(Y))[X]; }
TColor ColorAt(TBitmap& Bitmap, int X, int Y) {
  const TBGRA p = Px(Bitmap, X, Y);
  return RGBColor(p.R, p.G, p.B);
}

::testing::AssertionResult Near(TColor Actual, int R, int G, int B, int Tol) {
  int ar = GetRValue(Actual), ag = GetGValue(Actual), ab = GetBValue(Actual);
  if (std::abs(ar - R) <= Tol && std::abs(ag - G) <= Tol && std::abs(ab - B) <= Tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got RGB(" << ar << "," << ag << "," << ab << "), want RGB(" << R << ","
                                       << G << "," << B << ") +-" << Tol;
}

// A white surface with a hard-edged black font, so text pixels are exactly black or white.
class TSurface {
 public:
  TSurface(int W, int H) {
    FBitmap.SetPixelFormat(pf32bit);
    FBitmap.SetSize(W, H);
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(TRect(0, 0, W, H));
    Canvas()->Font()->SetName(L"Tahoma");
    Canvas()->Font()->SetHeight(-13);
    Canvas()->Font()->SetQuality(fqNonAntialiased);
    Canvas()->Font()->SetColor(clBlack);
  }
  TCanvas* Canvas() { return FBitmap.Canvas(); }
  TBitmap& Bitmap() { return FBitmap; }
  int Width() const { return FBitmap.Width(); }
  int Height() const { return FBitmap.Height(); }
  TColor At(int X, int Y) {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return clWhite;
    return ColorAt(FBitmap, X, Y);
  }
  // Plain DrawText with the same font, for reference pictures.
  void Text(const String& S, TRect R, UINT Flags) {
    ::DrawTextW(Canvas()->Handle(), S.c_str(), -1, R.AsRECT(), Flags);
  }
  // Bounds of the pixels of colour C (empty when there are none).
  TRect Extent(TColor C) {
    TRect r(Width(), Height(), -1, -1);
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (At(x, y) == C) r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                                     std::max(r.Bottom, y + 1));
    return r.Right < 0 ? TRect() : r;
  }

 private:
  TBitmap FBitmap;
};

// Adds a 16 x 16 image to List: a Fore square (2, 2, 14, 14) on a transparent ground.
void FillList(TCustomImageList& List, TColor Fore) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(16, 16);
  b.Canvas()->Brush()->SetColor(clFuchsia);
  b.Canvas()->FillRect(TRect(0, 0, 16, 16));
  b.Canvas()->Brush()->SetColor(Fore);
  b.Canvas()->FillRect(TRect(2, 2, 14, 14));
  List.AddMasked(&b, clFuchsia);
}

// ---- Layout ----------------------------------------------------------------------------------

struct TLayoutCase {
  const char* Name;
  TButtonLayout Layout;
  TRect Rect;
  int GlyphW, GlyphH, TextW, TextH, Margin, Spacing;
  TPoint Image, Text;
};

// Rect (10, 20, 110, 80): centre (60, 50). Image 16 x 16, caption 30 x 12 unless stated.
const TLayoutCase kLayoutCases[] = {
    {"left centred", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 30, 12, -1, 4, {35, 42}, {55, 44}},
    {"right centred", blGlyphRight, {10, 20, 110, 80}, 16, 16, 30, 12, -1, 4, {69, 42}, {35, 44}},
    {"top centred", blGlyphTop, {10, 20, 110, 80}, 16, 16, 30, 12, -1, 4, {52, 34}, {45, 54}},
    {"bottom centred", blGlyphBottom, {10, 20, 110, 80}, 16, 16, 30, 12, -1, 4, {52, 50}, {45, 34}},
    {"left margin", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 30, 12, 5, 4, {15, 42}, {35, 44}},
    {"right margin", blGlyphRight, {10, 20, 110, 80}, 16, 16, 30, 12, 5, 4, {89, 42}, {55, 44}},
    {"top margin", blGlyphTop, {10, 20, 110, 80}, 16, 16, 30, 12, 5, 4, {52, 25}, {45, 45}},
    {"bottom margin", blGlyphBottom, {10, 20, 110, 80}, 16, 16, 30, 12, 5, 4, {52, 59}, {45, 43}},
    {"spacing -100 overlaps by 100", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 30, 12, 0, -100, {10, 42}, {-74, 44}},
    {"left spacing -101 centres beside", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 30, 12, 0, -101, {10, 42}, {53, 44}},
    {"right spacing -101", blGlyphRight, {10, 20, 110, 80}, 16, 16, 30, 12, 0, -101, {94, 42}, {37, 44}},
    {"bottom spacing -101", blGlyphBottom, {10, 20, 110, 80}, 16, 16, 30, 12, 0, -101, {52, 64}, {45, 36}},
    // Centred in the room beside the image also when the rectangle does not start at 0 or
    // the image keeps a margin.
    {"top spacing -101, rect lower down", blGlyphTop, {10, 20, 110, 80}, 16, 16, 30, 12, 0, -101, {52, 20}, {45, 52}},
    {"right spacing -101 with margin", blGlyphRight, {10, 20, 110, 80}, 16, 16, 30, 12, 6, -101, {88, 42}, {34, 44}},
    {"no image: spacing ignored", blGlyphLeft, {10, 20, 110, 80}, 0, 0, 30, 12, -1, 4, {45, 50}, {45, 44}},
    {"no caption: image centred alone", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 0, 0, -1, 4, {52, 42}, {68, 50}},
    {"too wide for centring: margin 0", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 90, 12, -1, 4, {10, 42}, {30, 44}},
    {"too high for centring: margin 0", blGlyphTop, {10, 20, 110, 80}, 16, 16, 30, 40, -1, 8, {52, 20}, {45, 44}},
    // TotalH = -53: halves truncate toward zero (-26), not down (-27).
    {"negative total truncates", blGlyphLeft, {10, 20, 110, 80}, 16, 16, 31, 12, -1, -100, {86, 42}, {3, 44}},
    {"odd width", blGlyphTop, {0, 0, 101, 41}, 16, 16, 30, 12, -1, 4, {42, 4}, {35, 24}},
};

void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.Name; }

class ImageTextLayout : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(ImageTextLayout, PlacesImageAndCaption) {
  const TLayoutCase& c = GetParam();
  TPoint image(-999, -999), text(-999, -999);
  CalcImageTextLayout(c.Layout, c.Rect, c.GlyphW, c.GlyphH, c.TextW, c.TextH, c.Margin, c.Spacing, image, text);
  EXPECT_EQ(image, c.Image) << "image " << image.X << "," << image.Y;
  EXPECT_EQ(text, c.Text) << "text " << text.X << "," << text.Y;
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageTextLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info) {
                           std::string n = info.param.Name;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

// ---- Text routines -----------------------------------------------------------------------------

TEST(BiDiTextFlags, RightToLeftMirrorsTheAlignment) {
  struct {
    UINT Flags;
    bool RightToLeft;
    UINT Expected;
  } cases[] = {
      {DT_WORDBREAK, false, DT_WORDBREAK},
      {DT_RIGHT, false, DT_RIGHT},
      {0, true, DT_RIGHT | DT_RTLREADING},
      {DT_RIGHT | DT_WORDBREAK, true, DT_WORDBREAK | DT_RTLREADING},
      {DT_CENTER | DT_VCENTER, true, DT_CENTER | DT_VCENTER | DT_RTLREADING},
      {DT_CENTER | DT_RIGHT, true, DT_CENTER | DT_RTLREADING},
  };
  for (const auto& c : cases) EXPECT_EQ(BiDiTextFlags(c.Flags, c.RightToLeft), c.Expected) << c.Flags;
}

TEST(TextRoutines, LineAndAlignedTextSitWhereTheirFlagsSay) {
  enum TSide { Left, Centre, Right };
  struct {
    std::function<void(TCanvas*, const TRect&)> Draw;
    TSide Side;
    const char* Name;
  } cases[] = {
      {[](TCanvas* c, const TRect& r) { DrawTextLine(c, L"Ab", r, false, false); }, Left, "line"},
      {[](TCanvas* c, const TRect& r) { DrawTextLine(c, L"Ab", r, false, true); }, Right, "line rtl"},
      {[](TCanvas* c, const TRect& r) { DrawTextAligned(c, L"Ab", r, false, taLeftJustify); }, Left, "left"},
      {[](TCanvas* c, const TRect& r) { DrawTextAligned(c, L"Ab", r, false, taRightJustify); }, Right, "right"},
      {[](TCanvas* c, const TRect& r) { DrawTextAligned(c, L"Ab", r, true, taRightJustify); }, Left, "right rtl"},
      {[](TCanvas* c, const TRect& r) { DrawTextAligned(c, L"Ab", r, true, taCenter); }, Centre, "centre rtl"},
  };
  for (const auto& c : cases) {
    TSurface s(130, 24);
    c.Draw(s.Canvas(), TRect(10, 2, 110, 22));
    const TRect ink = s.Extent(clBlack);
    ASSERT_FALSE(ink.IsEmpty()) << c.Name;
    const int off = c.Side == Left    ? ink.Left - 10
                    : c.Side == Right ? ink.Right - 110
                                      : (ink.Left + ink.Right) / 2 - 60;
    EXPECT_LE(std::abs(off), 2) << c.Name;
  }
}

TEST(TextRoutines, TabbedTextTakesNumericStops) {
  TSurface probe(10, 10);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(probe.Canvas()->Handle(), &tm);
  struct {
    std::vector<const wchar_t*> Tabs;
    int Stop;
  } cases[] = {
      {{L"60"}, 60},
      {{L"45", L"90"}, 45},
      {{L"x1", L"30"}, 30},  // a non-numeric entry is a stop at 0, which lies behind the text
      {{L"abc"}, 8 * tm.tmAveCharWidth},  // a lone zero stop: the default spacing
      {{}, 8 * tm.tmAveCharWidth},
  };
  for (const auto& c : cases) {
    TStringList tabs;
    for (const wchar_t* t : c.Tabs) tabs.Add(t);
    TSurface s(160, 30);
    DrawTabbedText(L"\tI", &tabs, s.Canvas(), 5, TRect(10, 0, 150, 30));
    const TRect ink = s.Extent(clBlack);
    const int origin = 10 + 5 + 2;
    EXPECT_GE(ink.Left - origin, c.Stop) << c.Stop;
    EXPECT_LE(ink.Left - origin, c.Stop + 3) << c.Stop;
    EXPECT_LE(std::abs(ink.Top + ink.Bottom - 30), 4) << "vertically centred";
  }
}

// ---- Focus rectangle ---------------------------------------------------------------------------

struct TFocusCase {
  TRect Rect;
  double ScaleFactor;
  std::vector<std::string> Rows;  // '#' = font colour, from (0, 0)
};

const TFocusCase kFocusCases[] = {
    // Even width and height: the first dot is skipped, so the corners stay empty.
    {{1, 1, 6, 6}, 1.0, {".......", "..#.#..", ".#...#.", ".......", ".#...#.", "..#.#..", "......."}},
    // Odd sizes: the dots start at the top-left corner.
    {{1, 1, 5, 5}, 1.0, {"......", ".#.#..", "....#.", ".#....", "..#.#.", "......"}},
    {{1, 1, 7, 6}, 1.25, {"........", ".#.#.#..", "......#.", ".#......", "......#.", ".#.#.#..", "........"}},
    {{1, 1, 6, 6}, 0.5, {".......", "..#.#..", ".#...#.", ".......", ".#...#.", "..#.#..", "......."}},
    // From 1.5 a second ring inside, continuing the checkerboard.
    {{1, 1, 7, 7},
     1.5,
     {"........", ".#.#.#..", "..#.#.#.", ".#...#..", "..#...#.", ".#.#.#..", "..#.#.#.", "........"}},
};

void PrintTo(const TFocusCase& c, std::ostream* os) {
  *os << "(" << c.Rect.Left << "," << c.Rect.Top << "," << c.Rect.Right << "," << c.Rect.Bottom << ") x"
      << c.ScaleFactor;
}

class FocusRectangle : public ::testing::TestWithParam<TFocusCase> {};

TEST_P(FocusRectangle, DotsAlternateAroundEachRing) {
  const TFocusCase& c = GetParam();
  const int w = static_cast<int>(c.Rows[0].size()), h = static_cast<int>(c.Rows.size());
  TSurface s(w, h);
  s.Canvas()->Font()->SetColor(clRed);
  DrawFocusRectangle(s.Canvas(), c.Rect, c.ScaleFactor);
  std::vector<std::string> got(h, std::string(w, '.'));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColor p = s.At(x, y);
      got[y][x] = p == clRed ? '#' : p == clWhite ? '.' : '?';
    }
  EXPECT_EQ(got, c.Rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, FocusRectangle, ::testing::ValuesIn(kFocusCases));

// ---- Glow effect options -----------------------------------------------------------------------

TEST(GlowEffect, ChangesAreReportedOnlyWhileEnabled) {
  const std::vector<std::pair<const char*, std::function<void(TkaButtonGlowEffect&)>>> setters = {
      {"Color", [](auto& g) { g.SetColor(clRed); }},
      {"AlphaValue", [](auto& g) { g.SetAlphaValue(100); }},
      {"GlowSize", [](auto& g) { g.SetGlowSize(3); }},
      {"Offset", [](auto& g) { g.SetOffset(2); }},
      {"Intensive", [](auto& g) { g.SetIntensive(false); }},
      {"StyleColors", [](auto& g) { g.SetStyleColors(false); }},
      {"HotColor", [](auto& g) { g.SetHotColor(clRed); }},
      {"PressedColor", [](auto& g) { g.SetPressedColor(clRed); }},
      {"FocusedColor", [](auto& g) { g.SetFocusedColor(clRed); }},
      {"PressedAlphaValue", [](auto& g) { g.SetPressedAlphaValue(9); }},
      {"PressedGlowSize", [](auto& g) { g.SetPressedGlowSize(9); }},
      {"States", [](auto& g) { g.SetStates(kasPressed); }},
  };
  for (const auto& [name, set] : setters) {
    for (bool enabled : {false, true}) {
      TkaButtonGlowEffect g;
      g.SetEnabled(enabled);
      int changes = 0;
      g.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &g);
        ++changes;
      };
      set(g);
      set(g);  // the same value again is no change
      EXPECT_EQ(changes, enabled ? 1 : 0) << name << (enabled ? " enabled" : " disabled");
    }
  }
  TkaGlowEffect g;
  bool changed = false;
  g.OnChange = [&](TObject*) { changed = true; };
  g.SetEnabled(false);
  EXPECT_FALSE(changed);
  g.SetEnabled(true);
  EXPECT_TRUE(changed);
  changed = false;
  g.SetEnabled(false);
  EXPECT_TRUE(changed) << "switching the glow off is a change too";
}

TEST(GlowEffect, AssignCopiesTheValuesOfItsKind) {
  TkaButtonGlowEffect src;
  src.SetEnabled(true);
  src.SetColor(clRed);
  src.SetAlphaValue(10);
  src.SetGlowSize(3);
  src.SetOffset(1);
  src.SetIntensive(false);
  src.SetStyleColors(false);
  src.SetHotColor(clLime);
  src.SetPressedColor(clBlue);
  src.SetFocusedColor(clAqua);
  src.SetPressedAlphaValue(20);
  src.SetPressedGlowSize(4);
  src.SetStates(kasFocused);

  TkaButtonGlowEffect dst;
  int changes = 0;
  dst.OnChange = [&](TObject*) { ++changes; };
  dst.Assign(&src);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(dst.Enabled());
  EXPECT_EQ(dst.Color(), clRed);
  EXPECT_EQ(dst.AlphaValue(), 10);
  EXPECT_EQ(dst.GlowSize(), 3);
  EXPECT_EQ(dst.Offset(), 1);
  EXPECT_FALSE(dst.Intensive());
  EXPECT_FALSE(dst.StyleColors());
  EXPECT_EQ(dst.HotColor(), clLime);
  EXPECT_EQ(dst.PressedColor(), clBlue);
  EXPECT_EQ(dst.FocusedColor(), clAqua);
  EXPECT_EQ(dst.PressedAlphaValue(), 20);
  EXPECT_EQ(dst.PressedGlowSize(), 4);
  EXPECT_EQ(dst.States(), TkasCtrlStates(kasFocused));
  dst.Assign(&src);
  EXPECT_EQ(changes, 1) << "nothing new";

  TkaGlowEffect plain;
  plain.Assign(&src);
  EXPECT_EQ(plain.Color(), clRed);
  TkaButtonGlowEffect fromPlain;
  fromPlain.Assign(&plain);
  EXPECT_EQ(fromPlain.HotColor(), clNone) << "a plain glow effect has no state values to give";
  EXPECT_EQ(fromPlain.GlowSize(), 3);

  TkaGlowEffect off;
  bool changed = false;
  off.OnChange = [&](TObject*) { changed = true; };
  TkaGlowEffect otherOff;
  otherOff.SetColor(clRed);
  off.Assign(&otherOff);
  EXPECT_EQ(off.Color(), clRed);
  EXPECT_FALSE(changed) << "a glow that stays off has nothing to repaint";
  TStringList notAGlow;
  EXPECT_THROW(off.Assign(&notAGlow), Exception);
}

// Runs with visual styles as the system has them and with controls forced classic.
class GlowAlpha : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    FSaved = ::GetThemeAppProperties();
    if (Classic()) {
      ::SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
      StyleServices()->ThemesChanged();
    }
  }
  void TearDown() override {
    if (Classic()) {
      ::SetThemeAppProperties(FSaved);
      StyleServices()->ThemesChanged();
    }
  }
  bool Classic() const { return GetParam(); }

 private:
  DWORD FSaved = 0;
};

TEST_P(GlowAlpha, ClassicDrawingDimsTheStrongHighlightGlow) {
  if (!Classic() && !StyleServices()->Enabled()) return;  // the themed half needs visual styles
  ASSERT_EQ(!StyleServices()->Enabled(), Classic());
  struct {
    TColor Color;
    uint8_t Alpha;
    uint8_t ClassicAlpha;
  } normal[] = {{clHighlight, 255, 175}, {clHighlight, 171, 91}, {clHighlight, 170, 170}, {clRed, 255, 255}};
  for (const auto& c : normal) {
    TkaButtonGlowEffect g;
    g.SetColor(c.Color);
    g.SetAlphaValue(c.Alpha);
    EXPECT_EQ(g.GetAlphaValue(), Classic() ? c.ClassicAlpha : c.Alpha) << int(c.Alpha);
  }
  struct {
    TColor Color;
    uint8_t Alpha;
    uint8_t ClassicAlpha;
  } pressed[] = {{clHighlight, 255, 205}, {clHighlight, 201, 151}, {clHighlight, 200, 200}, {clNone, 255, 255}};
  for (const auto& c : pressed) {
    TkaButtonGlowEffect g;
    g.SetPressedColor(c.Color);
    g.SetPressedAlphaValue(c.Alpha);
    EXPECT_EQ(g.GetPressedAlphaValue(), Classic() ? c.ClassicAlpha : c.Alpha) << int(c.Alpha);
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, GlowAlpha, ::testing::Values(false, true));

// ---- Glow drawing ------------------------------------------------------------------------------

constexpr UINT kLineFlags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

TEST(GlowDrawing, SizeZeroGivesTheHardTextShapeInTheGlowColour) {
  const TRect rect(10, 4, 90, 26);
  TSurface ref(100, 34);
  ref.Text(L"Wq8", rect, kLineFlags);
  TSurface s(100, 34);
  DrawTextWithGlow(s.Canvas(), rect, L"Wq8", false, false, 255, false, 0, clRed, 3, kLineFlags);
  int glowPixels = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const TColor want = ref.At(x, y) == clBlack ? clBlack : ref.At(x - 3, y - 3) == clBlack ? clRed : clWhite;
      ASSERT_EQ(s.At(x, y), want) << x << "," << y;
      glowPixels += want == clRed;
    }
  EXPECT_GT(glowPixels, 10);
}

TEST(GlowDrawing, LowRectangleIsEnlargedAndTheCaptionDrawnInIt) {
  TSurface enlarged(80, 40), original(80, 40), s(80, 40);
  enlarged.Text(L"Ab", TRect(10, 10, 60, 24), kLineFlags);
  original.Text(L"Ab", TRect(10, 10, 60, 14), kLineFlags);
  ASSERT_NE(enlarged.Extent(clBlack), original.Extent(clBlack));
  DrawTextWithGlow(s.Canvas(), TRect(10, 10, 60, 14), L"Ab", false, false, 0, true, 7, clRed, 0, kLineFlags);
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) ASSERT_EQ(s.At(x, y), enlarged.At(x, y)) << x << "," << y;
}

TEST(GlowDrawing, GlowIsPremultipliedAndBlendedAroundTheText) {
  const TRect rect(20, 10, 100, 30);
  const int size = 5, offset = 2;
  TSurface ref(130, 50), s(130, 50);
  ref.Text(L"Wq", rect, kLineFlags);
  TBitmap* buffer = nullptr;
  DrawTextWithGlowBuffer(buffer, false, s.Canvas(), false, false, 255, true, size, clRed, offset, kLineFlags, L"Wq",
                         rect);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->Width(), rect.Width() + 2 * size);
  EXPECT_EQ(buffer->Height(), rect.Height() + 2 * size);
  EXPECT_EQ(buffer->AlphaFormat(), afPremultiplied);
  EXPECT_EQ(Px(*buffer, 0, 0).A, 0) << "nothing far from the text";
  int strong = 0;
  for (int y = 0; y < buffer->Height(); ++y)
    for (int x = 0; x < buffer->Width(); ++x) {
      const TBGRA p = Px(*buffer, x, y);
      ASSERT_EQ(p.R, p.A) << "red premultiplied by its alpha at " << x << "," << y;
      ASSERT_EQ(p.G + p.B, 0);
      strong += p.A > 128;
    }
  EXPECT_GT(strong, 10);
  const int ox = rect.Left + offset - size, oy = rect.Top + offset - size;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      if (ref.At(x, y) == clBlack) {
        ASSERT_EQ(s.At(x, y), clBlack);
        continue;
      }
      const bool inside = x >= ox && y >= oy && x < ox + buffer->Width() && y < oy + buffer->Height();
      const int a = inside ? Px(*buffer, x - ox, y - oy).A : 0;
      ASSERT_TRUE(Near(s.At(x, y), 255, 255 - a, 255 - a, 2)) << x << "," << y;
    }
  delete buffer;
}

bool HasChannel(TBitmap* B, int Channel) {
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x)
      if ((&Px(*B, x, y).B)[Channel] != 0) return true;
  return false;
}

TEST(GlowDrawing, BufferIsReusedUntilRebuilt) {
  const TRect rect(10, 5, 70, 25);
  TBitmap* buffer = nullptr;
  auto draw = [&](TSurface& s, bool rebuild, TColor color) {
    DrawTextWithGlowBuffer(buffer, rebuild, s.Canvas(), false, false, 255, true, 4, color, 0, kLineFlags, L"Ab",
                           rect);
  };
  TSurface first(80, 30), second(80, 30), third(80, 30);
  draw(first, false, clRed);
  ASSERT_NE(buffer, nullptr);
  draw(second, false, clBlue);
  EXPECT_TRUE(HasChannel(buffer, 2));
  EXPECT_FALSE(HasChannel(buffer, 0)) << "the red glow is kept";
  EXPECT_EQ(second.Extent(clBlack), first.Extent(clBlack)) << "the text is drawn every time";
  const TRect ink = first.Extent(clBlack);
  int row = ink.Top;
  while (row < ink.Bottom && second.At(ink.Left, row) != clBlack) ++row;
  EXPECT_LT(GetGValue(second.At(ink.Left - 2, row)), 255) << "and so is the glow";
  draw(third, true, clBlue);
  EXPECT_TRUE(HasChannel(buffer, 0));
  EXPECT_FALSE(HasChannel(buffer, 2));
  delete buffer;
}

// Size 0 keeps the mask itself, so which pixels count as visible shows directly.
TEST(GlowDrawing, GlowBitmapMasksVisiblePixels) {
  struct {
    const char* Name;
    TPixelFormat Format;
    bool Alpha;
  } cases[] = {{"24-bit by key", pf24bit, false}, {"32-bit without alpha by key", pf32bit, false},
               {"32-bit by alpha", pf32bit, true}};
  for (const auto& c : cases) {
    TBitmap src;
    src.SetPixelFormat(c.Format);
    src.SetSize(4, 3);
    src.Canvas()->Brush()->SetColor(clGreen);
    src.Canvas()->FillRect(TRect(0, 0, 4, 3));
    src.Canvas()->SetPixel(2, 1, clYellow);
    if (c.Alpha) {
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) Px(src, x, y).A = 0;
      Px(src, 1, 2).A = 9;  // visible although it has the key colour
      Px(src, 2, 1).A = 255;
    }
    for (int size : {0, 2}) {
      TBitmap glow;
      MakeGlowBitmap(&glow, &src, size, clBlue);
      ASSERT_EQ(glow.Width(), 4 + 2 * size) << c.Name;
      ASSERT_EQ(glow.Height(), 3 + 2 * size) << c.Name;
      if (size != 0) {
        EXPECT_GT(Px(glow, 2 + size - 1, 1 + size).A, 0) << c.Name << ": blurred beyond the pixel";
        continue;
      }
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
          const bool visible = (x == 2 && y == 1) || (c.Alpha && x == 1 && y == 2);
          const TBGRA p = Px(glow, x, y);
          EXPECT_EQ(p.A, visible ? 255 : 0) << c.Name << " " << x << "," << y;
          EXPECT_EQ(p.B, visible ? 255 : 0) << c.Name;
        }
    }
  }
}

TEST(GlowDrawing, ImageGlowSurroundsTheImage) {
  TImageList list(nullptr);
  FillList(list, clRed);
  TSurface s(60, 60);
  TBitmap* buffer = nullptr;
  DrawImageWithGlow(buffer, false, s.Canvas(), 20, 20, 255, 6, clBlue, 0, 0, &list);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->Width(), 16 + 12);
  EXPECT_EQ(s.At(27, 27), clRed) << "the image on top";
  const TColor beside = s.At(18, 27);
  EXPECT_GT(GetBValue(beside), GetRValue(beside)) << "blue glow just left of the image";
  EXPECT_EQ(s.At(5, 5), clWhite);
  delete buffer;
}

// ---- Image and caption drawing -----------------------------------------------------------------

TEST(ImageAndText, DisabledImagesAreFadedToAlpha80UnlessTheListDrawsThem) {
  TImageList plain(nullptr);
  FillList(plain, clRed);
  TVirtualImageList virt(nullptr);
  FillList(virt, clRed);
  TImageList alpha(nullptr);
  alpha.SetColorDepth(cd32Bit);
  TBitmap half;
  half.SetPixelFormat(pf32bit);
  half.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) Px(half, x, y) = TBGRA{0, 0, 255, 128};
  alpha.Add(&half, nullptr);

  const TRect rect(0, 0, 40, 40);  // image at (12, 12)
  for (bool enabled : {true, false}) {
    TSurface a(40, 40), b(40, 40), c(40, 40);
    DrawImageAndText(a.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, enabled, &plain, 0, L"",
                     blGlyphLeft, 4);
    DrawImageAndText(b.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, enabled, &virt, 0, L"",
                     blGlyphLeft, 4);
    DrawImageAndText(c.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, enabled, &alpha, 0, L"",
                     blGlyphLeft, 4);
    if (enabled) {
      EXPECT_EQ(a.At(20, 20), clRed);
      EXPECT_TRUE(Near(c.At(20, 20), 255, 127, 127, 2));
      continue;
    }
    EXPECT_TRUE(Near(a.At(20, 20), 255, 175, 175, 2)) << "80 of 255 red over white";
    EXPECT_EQ(a.At(11, 20), clWhite);
    const TColor grey = b.At(20, 20);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey)) << "the list's own grey";
    // Its own alpha (128) times 80: the colour is not multiplied by alpha a second time.
    EXPECT_TRUE(Near(c.At(20, 20), 255, 215, 215, 3));
  }
}

TEST(ImageAndText, ColourMarkerRunsUnderImageOrCaptionOrFills) {
  TImageList list(nullptr);
  FillList(list, clRed);
  struct {
    bool Image;
    const wchar_t* Caption;
    double ScaleFactor;
    int Lines;
  } cases[] = {{true, L"", 1.0, 3}, {true, L"Ab", 1.5, 4}, {false, L"Ab", 1.75, 4}, {false, L"", 1.0, 0}};
  const TRect rect(0, 0, 80, 40);
  for (const auto& c : cases) {
    TSurface s(80, 48);
    DrawImageAndText(s.Canvas(), rect, -1, false, c.ScaleFactor, false, false, false, clLime, true, true,
                     c.Image ? &list : nullptr, 0, c.Caption, blGlyphLeft, 4);
    const TSize text = String(c.Caption).empty() ? TSize{} : s.Canvas()->TextExtent(c.Caption);
    TPoint image, caption;
    CalcImageTextLayout(blGlyphLeft, rect, c.Image ? 16 : 0, c.Image ? 16 : 0, text.cx, text.cy, -1,
                        c.Image && text.cx ? 4 : 0, image, caption);
    TRect want(4, 4, 78, 36);
    if (c.Image)
      want = Bounds(image.X, image.Y + 16, 16, c.Lines);
    else if (text.cx != 0)
      want = Bounds(caption.X, caption.Y + text.cy, text.cx, c.Lines);
    EXPECT_EQ(s.Extent(clLime), want) << c.Lines;
  }
}

TEST(ImageAndText, FocusRectangleAndBrushAreHandledAroundTheCaption) {
  TSurface s(80, 40);
  s.Canvas()->Font()->SetColor(clBlue);
  DrawImageAndText(s.Canvas(), TRect(0, 0, 80, 40), -1, false, 1, false, false, true, clNone, false, true, nullptr,
                   -1, L"Ab", blGlyphLeft, 4);
  const TRect ink = s.Extent(clBlue);
  const TSize text = s.Canvas()->TextExtent(L"Ab");
  EXPECT_EQ(ink.Width(), text.cx + 4) << "dotted frame 2 pixels outside the caption";
  EXPECT_EQ(ink.Height(), text.cy + 4);
  EXPECT_EQ(s.Canvas()->Brush()->Style(), bsSolid) << "the caller's brush comes back";
}

TEST(ImageAndText, LeftAlignedCaptionKeepsItsLineAndClearsTheImage) {
  TImageList list(nullptr);
  FillList(list, clRed);
  TSurface s(200, 40);
  DrawImageAndTextLeft(s.Canvas(), TRect(0, 0, 200, 40), 0, true, 1, false, false, false, clNone, false, true, &list,
                       0, L"Ab Cd", blGlyphLeft, 1, false);
  const TRect ink = s.Extent(clBlack);
  const TSize text = s.Canvas()->TextExtent(L"Ab Cd");
  EXPECT_GE(ink.Left, 16 + 4);
  EXPECT_LE(ink.Height(), text.cy) << "one line, as measured";
}

TEST(ImageAndText, EndEllipsisStopsTheCaptionAtTheRectangle) {
  TImageList list(nullptr);
  FillList(list, clRed);
  for (bool ellipsis : {false, true}) {
    TSurface s(200, 30);
    DrawImageAndTextLeft(s.Canvas(), TRect(0, 0, 80, 30), -1, false, 1, false, false, false, clNone, false, true,
                         &list, 0, L"A long caption here", blGlyphLeft, 4, ellipsis);
    const TRect ink = s.Extent(clBlack);
    if (ellipsis) {
      EXPECT_LE(ink.Right, 80);
    } else {
      EXPECT_GT(ink.Right, 100);
    }
  }
}

TEST(ImageAndText, GlowTwinsUseTheBuffersAndDrawTheSamePlaces) {
  TImageList list(nullptr);
  FillList(list, clRed);
  const TRect rect(0, 0, 100, 40);
  TSurface plain(100, 40), glowing(100, 40);
  DrawImageAndText(plain.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, true, &list, 0, L"Ab",
                   blGlyphLeft, 4);
  TBitmap* text = nullptr;
  TBitmap* image = nullptr;
  TkaGlowParams glow;
  glow.Alpha = 0;  // invisible: only positions are compared
  glow.Size = 3;
  DrawImageAndTextWithGlow(glowing.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, true, &list, 0,
                           L"Ab", blGlyphLeft, 4, text, image, false, true, glow);
  EXPECT_NE(text, nullptr);
  EXPECT_NE(image, nullptr);
  EXPECT_EQ(glowing.Extent(clBlack), plain.Extent(clBlack));
  EXPECT_EQ(glowing.Extent(clRed), plain.Extent(clRed));
  TBitmap* keptText = text;
  DrawImageAndTextLeftWithGlow(glowing.Canvas(), rect, -1, false, 1, false, false, false, clNone, false, true, &list,
                               0, L"Ab", blGlyphLeft, 4, false, text, image, false, false, glow);
  EXPECT_EQ(text, keptText);
  delete text;
  delete image;
}

TEST(GlowDrawing, ThousandsOfDrawsLeaveNoGdiObjects) {
  TImageList list(nullptr);
  FillList(list, clRed);
  TSurface s(120, 40);
  TBitmap* text = nullptr;
  TBitmap* image = nullptr;
  auto work = [&](int i) {
    DrawTextWithGlow(s.Canvas(), TRect(5, 5, 100, 30), L"Glow", i % 2 == 0, i % 3 == 0, 200, i % 2 == 1, 4, clRed,
                     1, kLineFlags);
    TkaGlowParams glow;
    DrawImageAndTextWithGlow(s.Canvas(), TRect(0, 0, 120, 40), -1, true, 1.5, false, false, true, clLime, true,
                             i % 4 != 0, &list, 0, L"Caption", blGlyphLeft, 4, text, image, i % 2 == 0, true, glow);
    DrawImageAlpha(s.Canvas(), 3, 3, 80, 0, &list);
  };
  work(0);
  const int before = GdiObjectCount();
  for (int i = 1; i <= 2000; ++i) work(i);
  EXPECT_LE(GdiObjectCount() - before, 4);
  delete text;
  delete image;
}

}  // namespace
