// Drawing bitmaps by margins, tiling, blending and resampling, checked pixel by pixel: the
// library computes every rectangle itself, so the parts must land exactly.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "tests/support/Handles.h"

namespace {

uint8_t* Px(TBitmap& B, int X, int Y) {
  return static_cast<uint8_t*>(B.ScanLine(Y)) + X * (B.PixelFormat() == pf24bit ? 3 : 4);
}

// Source pixel (x, y) reads blue 10 + x, green 10 + y, red 200, so whatever lands in the
// destination tells where it came from.
void MakeSource(TBitmap& B, int W, int H, TPixelFormat Format = pf32bit) {
  B.SetPixelFormat(Format);
  B.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint8_t* p = Px(B, x, y);
      p[0] = static_cast<uint8_t>(10 + x);
      p[1] = static_cast<uint8_t>(10 + y);
      p[2] = 200;
      if (Format == pf32bit) p[3] = 255;
    }
}

constexpr uint8_t kBack[3] = {1, 2, 3};

void MakeDest(TBitmap& B, int W, int H) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint8_t* p = Px(B, x, y);
      std::memcpy(p, kBack, 3);
      p[3] = 255;
    }
}

bool IsBack(TBitmap& B, int X, int Y) { return std::memcmp(Px(B, X, Y), kBack, 3) == 0; }

struct TPart {
  TRect Src, Dst;
  bool Stretched = false;
};

std::string Where(int X, int Y) { return "(" + std::to_string(X) + ", " + std::to_string(Y) + ")"; }

// Every pixel of Dest: inside a part it shows the source pixel the part maps it to (tiles
// repeat the source at 1:1; stretched parts stay within their source and map corner to
// corner), elsewhere the background.
::testing::AssertionResult ShowsParts(TBitmap& Dest, const std::vector<TPart>& Parts) {
  for (int y = 0; y < Dest.Height(); ++y)
    for (int x = 0; x < Dest.Width(); ++x) {
      const TPart* part = nullptr;
      for (const TPart& p : Parts)
        if (p.Dst.Contains({x, y})) part = &p;
      const uint8_t* px = Px(Dest, x, y);
      if (part == nullptr) {
        if (!IsBack(Dest, x, y)) return ::testing::AssertionFailure() << "drawn outside the parts at " << Where(x, y);
        continue;
      }
      if (px[2] != 200) return ::testing::AssertionFailure() << "not drawn at " << Where(x, y);
      const int sx = px[0] - 10, sy = px[1] - 10;
      const TRect& s = part->Src;
      const TRect& d = part->Dst;
      bool ok;
      if (!part->Stretched) {
        ok = sx == s.Left + (x - d.Left) % s.Width() && sy == s.Top + (y - d.Top) % s.Height();
      } else {
        ok = s.Contains({sx, sy});
        if (x == d.Left) ok = ok && sx == s.Left;
        if (x == d.Right - 1) ok = ok && sx == s.Right - 1;
        if (y == d.Top) ok = ok && sy == s.Top;
        if (y == d.Bottom - 1) ok = ok && sy == s.Bottom - 1;
      }
      if (!ok) return ::testing::AssertionFailure() << "at " << Where(x, y) << " source pixel " << Where(sx, sy);
    }
  return ::testing::AssertionSuccess();
}

struct TMargins {
  int L, T, R, B;
};

void SetMargins(TkaBitmapOptions& O, TMargins M) {
  O.SetLeftMargin(M.L);
  O.SetTopMargin(M.T);
  O.SetRightMargin(M.R);
  O.SetBottomMargin(M.B);
}

// ---- Options ------------------------------------------------------------------------------

TEST(BitmapOptions, MarginSettersAlwaysNotifyOtherValuesNever) {
  TkaBitmapOptions o;
  EXPECT_TRUE(o.Stretch());
  EXPECT_FALSE(o.AlphaBlend() || o.AlphaBlendBorder() || o.AlphaBlendCorners() || o.StretchBorder() ||
               o.DrawOnlyBorder() || o.DrawInClipRect());
  int changes = 0;
  o.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &o);
    ++changes;
  };
  struct TSetter {
    const char* Name;
    void (*Set)(TkaBitmapOptions&);
    bool Notifies;
  };
  const TSetter setters[] = {
      {"LeftMargin, same value", [](TkaBitmapOptions& x) { x.SetLeftMargin(0); }, true},
      {"TopMargin", [](TkaBitmapOptions& x) { x.SetTopMargin(4); }, true},
      {"RightMargin, same value", [](TkaBitmapOptions& x) { x.SetRightMargin(0); }, true},
      {"BottomMargin", [](TkaBitmapOptions& x) { x.SetBottomMargin(-2); }, true},
      {"AlphaBlend", [](TkaBitmapOptions& x) { x.SetAlphaBlend(true); }, false},
      {"Stretch", [](TkaBitmapOptions& x) { x.SetStretch(false); }, false},
      {"DrawOnlyBorder", [](TkaBitmapOptions& x) { x.SetDrawOnlyBorder(true); }, false},
      {"ContentLeftMargin", [](TkaBitmapOptions& x) { x.SetContentLeftMargin(3); }, false},
  };
  for (const TSetter& s : setters) {
    changes = 0;
    s.Set(o);
    EXPECT_EQ(changes, s.Notifies ? 1 : 0) << s.Name;
  }
  EXPECT_EQ(o.BottomMargin(), -2);
}

TEST(BitmapOptions, AssignCopiesMarginsAndDrawingFlagsOnly) {
  TkaBitmapOptions src, dst;
  SetMargins(src, {1, 2, 3, 4});
  src.SetAlphaBlend(true);
  src.SetAlphaBlendBorder(true);
  src.SetAlphaBlendCorners(true);
  src.SetStretch(false);
  src.SetStretchBorder(true);
  src.SetDrawOnlyBorder(true);
  src.SetDrawInClipRect(true);
  src.SetContentLeftMargin(5);
  src.SetContentTopMargin(6);
  src.SetContentRightMargin(7);
  src.SetContentBottomMargin(8);
  int changes = 0;
  dst.OnChange = [&](TObject*) { ++changes; };
  dst.Assign(&src);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ((std::vector<int>{dst.LeftMargin(), dst.TopMargin(), dst.RightMargin(), dst.BottomMargin()}),
            (std::vector<int>{1, 2, 3, 4}));
  EXPECT_TRUE(dst.AlphaBlend() && dst.AlphaBlendBorder() && dst.AlphaBlendCorners() && dst.StretchBorder() &&
              dst.DrawOnlyBorder());
  EXPECT_FALSE(dst.Stretch());
  EXPECT_FALSE(dst.DrawInClipRect());
  EXPECT_EQ(dst.ContentLeftMargin() + dst.ContentTopMargin() + dst.ContentRightMargin() + dst.ContentBottomMargin(), 0);
  TBitmap notOptions;
  EXPECT_THROW(dst.Assign(&notOptions), Exception);
}

TEST(BitmapOptions, PublishedPropertiesAreKnownByName) {
  const TClassInfo* info = FindClassInfo(L"TkaBitmapOptions");
  ASSERT_NE(info, nullptr);
  for (const wchar_t* name :
       {L"LeftMargin", L"TopMargin", L"RightMargin", L"BottomMargin", L"AlphaBlend", L"AlphaBlendBorder",
        L"AlphaBlendCorners", L"Stretch", L"StretchBorder", L"DrawOnlyBorder", L"DrawInClipRect", L"ContentLeftMargin",
        L"ContentRightMargin", L"ContentTopMargin", L"ContentBottomMargin", L"OnChange"})
    EXPECT_NE(info->FindProperty(name), nullptr) << ToUtf8(name);

  TkaBitmapOptions o;
  int changes = 0;
  o.OnChange = [&](TObject*) { ++changes; };
  info->FindProperty(L"LeftMargin")->Write(&o, TPropValue(std::in_place_type<int64_t>, 7));
  info->FindProperty(L"Stretch")->Write(&o, TPropValue(std::in_place_type<bool>, false));
  EXPECT_EQ(o.LeftMargin(), 7);
  EXPECT_FALSE(o.Stretch());
  EXPECT_EQ(changes, 1);
}

// ---- Pixel routines -----------------------------------------------------------------------

TEST(BitmapPixels, SetAlphaFillRGBAndFillPixels) {
  TBitmap b;
  MakeSource(b, 3, 2);
  SetBitmapAlpha(&b, 77);
  EXPECT_EQ(Px(b, 2, 1)[3], 77);
  EXPECT_EQ(Px(b, 2, 1)[0], 12) << "colour bytes untouched";

  FillBitmapRGB(&b, RGBColor(0x11, 0x22, 0x33));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = Px(b, x, y);
      EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{0x33, 0x22, 0x11, 77}));
    }

  for (uint32_t value : {0x80402010u, 0u, 0xFFFFFFFFu}) {
    FillBitmapPixels(&b, value);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        uint32_t got;
        std::memcpy(&got, Px(b, x, y), 4);
        EXPECT_EQ(got, value) << Where(x, y);
      }
  }

  TBitmap rgb;
  MakeSource(rgb, 2, 2, pf24bit);
  SetBitmapAlpha(&rgb, 0);
  FillBitmapRGB(&rgb, clWhite);
  FillBitmapPixels(&rgb, 0);
  EXPECT_EQ(Px(rgb, 1, 1)[0], 11) << "24-bit bitmaps are left alone";
  SetBitmapAlpha(nullptr, 0);
}

// ---- Blits --------------------------------------------------------------------------------

TEST(BitmapBlits, AlphaBlendRectBlendsPremultipliedPixels) {
  struct TCase {
    const char* Name;
    uint8_t Colour, PixelAlpha, Alpha;
    int Expected;
  };
  // Over white: colour + 255 * (1 - effective alpha).
  const TCase cases[] = {
      {"half-transparent premultiplied pixel", 64, 128, 255, 191},
      {"opaque pixel at constant alpha 128", 200, 255, 128, 227},
      {"opaque pixel", 200, 255, 255, 200},
      {"transparent pixel", 0, 0, 255, 255},
      {"constant alpha 0", 200, 255, 0, 255},
  };
  for (const TCase& c : cases) {
    TBitmap src, dst;
    src.SetPixelFormat(pf32bit);
    src.SetSize(1, 1);
    FillBitmapPixels(&src, c.Colour * 0x010101u | uint32_t(c.PixelAlpha) << 24);
    dst.SetPixelFormat(pf32bit);
    dst.SetSize(6, 6);
    FillBitmapPixels(&dst, 0xFFFFFFFF);
    AlphaBlendRect(&src, dst.Canvas(), Rect(0, 0, 1, 1), c.Alpha, Rect(1, 1, 4, 4));
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= 1 && x < 4 && y >= 1 && y < 4;
        EXPECT_NEAR(Px(dst, x, y)[1], inside ? c.Expected : 255, 1) << c.Name << " at " << Where(x, y);
      }
  }
}

TEST(BitmapBlits, DrawBitmapAlphaTakesXThenAlphaThenY) {
  TBitmap src, dst;
  MakeSource(src, 2, 1);
  MakeDest(dst, 8, 8);
  DrawBitmapAlpha(&src, dst.Canvas(), 5, 255, 2);
  EXPECT_TRUE(ShowsParts(dst, {{Rect(0, 0, 2, 1), Rect(5, 2, 7, 3)}}));
}

TEST(BitmapBlits, TilesRepeatTheSourceFromTheTopLeftAndAreCutAtTheEdges) {
  struct TCase {
    const char* Name;
    TRect Src, Dst;
    std::vector<TPart> Parts;
  };
  const TCase cases[] = {
      {"10 x 10 into 25 x 25: tiles at 0, 10, 20",
       Rect(0, 0, 10, 10),
       Rect(0, 0, 25, 25),
       {{Rect(0, 0, 10, 10), Rect(0, 0, 25, 25)}}},
      {"offset source and destination", Rect(3, 4, 7, 9), Rect(2, 1, 13, 12), {{Rect(3, 4, 7, 9), Rect(2, 1, 13, 12)}}},
      {"destination smaller than one tile",
       Rect(2, 2, 12, 12),
       Rect(4, 4, 7, 6),
       {{Rect(2, 2, 12, 12), Rect(4, 4, 7, 6)}}},
      {"empty source", Rect(3, 3, 3, 8), Rect(0, 0, 20, 20), {}},
      {"reversed source", Rect(8, 8, 3, 3), Rect(0, 0, 20, 20), {}},
      {"empty destination", Rect(0, 0, 4, 4), Rect(5, 5, 5, 20), {}},
  };
  for (int alpha = 0; alpha < 2; ++alpha)
    for (const TCase& c : cases) {
      TBitmap src, dst;
      MakeSource(src, 16, 16);
      MakeDest(dst, 28, 28);
      if (alpha)
        TileRectAlpha(&src, dst.Canvas(), c.Src, 255, c.Dst);
      else
        TileRect(&src, dst.Canvas(), c.Src, c.Dst);
      EXPECT_TRUE(ShowsParts(dst, c.Parts)) << c.Name << (alpha ? " (alpha)" : "");
    }
}

// ---- Drawing by margins -------------------------------------------------------------------

// Drawing flags of a case; the source is a 10 x 10 pf32bit bitmap unless they say otherwise.
enum { kTiled = 0, kStretched = 1, kOnlyBorder = 2, k24Bit = 4, k12x12 = 8 };

struct TOptionsCase {
  const char* Name;
  TMargins Margins;
  TRect D;
  int Flags;
  std::vector<TPart> Parts;
};

// Nine parts of a 10 x 10 bitmap with margins 2, 3, 4, 1 in (5, 5) - (30, 25).
std::vector<TPart> NineParts(bool Centre, bool Stretched) {
  std::vector<TPart> parts = {
      {Rect(0, 0, 2, 3), Rect(5, 5, 7, 8)},
      {Rect(6, 0, 10, 3), Rect(26, 5, 30, 8)},
      {Rect(0, 9, 2, 10), Rect(5, 24, 7, 25)},
      {Rect(6, 9, 10, 10), Rect(26, 24, 30, 25)},
      {Rect(2, 0, 6, 3), Rect(7, 5, 26, 8), Stretched},
      {Rect(2, 9, 6, 10), Rect(7, 24, 26, 25), Stretched},
      {Rect(0, 3, 2, 9), Rect(5, 8, 7, 24), Stretched},
      {Rect(6, 3, 10, 9), Rect(26, 8, 30, 24), Stretched},
  };
  if (Centre) parts.push_back({Rect(2, 3, 6, 9), Rect(7, 8, 26, 24), Stretched});
  return parts;
}

TEST(DrawBitmapWithOptions, PartsLandWhereTheMarginsPutThem) {
  const TOptionsCase cases[] = {
      {"nine parts, tiled", {2, 3, 4, 1}, Rect(5, 5, 30, 25), kTiled, NineParts(true, false)},
      {"nine parts, stretched", {2, 3, 4, 1}, Rect(5, 5, 30, 25), kStretched, NineParts(true, true)},
      {"only the border: the centre stays untouched",
       {2, 3, 4, 1},
       Rect(5, 5, 30, 25),
       kOnlyBorder,
       NineParts(false, false)},
      {"exact size reproduces the bitmap",
       {2, 3, 4, 1},
       Rect(3, 4, 13, 14),
       kTiled,
       {{Rect(0, 0, 10, 10), Rect(3, 4, 13, 14)}}},
      {"smaller than the bitmap: the right corner starts after the left one",
       {2, 3, 4, 1},
       Rect(0, 0, 5, 3),
       kTiled,
       {{Rect(0, 0, 2, 3), Rect(0, 0, 2, 3)}, {Rect(7, 0, 10, 3), Rect(2, 0, 5, 3)}}},
      {"lower than the top margin: the top row is cut, nothing spills below",
       {2, 3, 4, 1},
       Rect(0, 0, 12, 2),
       kTiled,
       {{Rect(0, 0, 2, 2), Rect(0, 0, 2, 2)},
        {Rect(2, 0, 6, 2), Rect(2, 0, 8, 2)},
        {Rect(6, 0, 10, 2), Rect(8, 0, 12, 2)}}},
      {"smaller in both directions: four cut corners",
       {4, 4, 4, 4},
       Rect(0, 0, 6, 6),
       kTiled,
       {{Rect(0, 0, 4, 4), Rect(0, 0, 4, 4)},
        {Rect(8, 0, 10, 4), Rect(4, 0, 6, 4)},
        {Rect(0, 8, 4, 10), Rect(0, 4, 4, 6)},
        {Rect(8, 8, 10, 10), Rect(4, 4, 6, 6)}}},
      {"a 10 x 10 centre tiled into 25 x 25",
       {1, 1, 1, 1},
       Rect(0, 0, 27, 27),
       k12x12,
       {{Rect(0, 0, 1, 1), Rect(0, 0, 1, 1)},
        {Rect(11, 0, 12, 1), Rect(26, 0, 27, 1)},
        {Rect(0, 11, 1, 12), Rect(0, 26, 1, 27)},
        {Rect(11, 11, 12, 12), Rect(26, 26, 27, 27)},
        {Rect(1, 0, 11, 1), Rect(1, 0, 26, 1)},
        {Rect(1, 11, 11, 12), Rect(1, 26, 26, 27)},
        {Rect(0, 1, 1, 11), Rect(0, 1, 1, 26)},
        {Rect(11, 1, 12, 11), Rect(26, 1, 27, 26)},
        {Rect(1, 1, 11, 11), Rect(1, 1, 26, 26)}}},
      {"margins wider than the bitmap: parts without source are skipped",
       {6, 2, 6, 2},
       Rect(0, 0, 20, 20),
       kTiled,
       {{Rect(0, 0, 6, 2), Rect(0, 0, 6, 2)},
        {Rect(4, 0, 10, 2), Rect(14, 0, 20, 2)},
        {Rect(0, 8, 6, 10), Rect(0, 18, 6, 20)},
        {Rect(4, 8, 10, 10), Rect(14, 18, 20, 20)},
        {Rect(0, 2, 6, 8), Rect(0, 2, 6, 18)},
        {Rect(4, 2, 10, 8), Rect(14, 2, 20, 18)}}},
      {"three parts stacked, centred horizontally",
       {0, 3, 0, 2},
       Rect(0, 0, 20, 16),
       kTiled,
       {{Rect(0, 0, 10, 3), Rect(5, 0, 15, 3)},
        {Rect(0, 8, 10, 10), Rect(5, 14, 15, 16)},
        {Rect(0, 3, 10, 8), Rect(5, 3, 15, 14)}}},
      {"three parts stacked, lower than the bitmap",
       {1, 3, 0, 2},
       Rect(0, 0, 20, 4),
       kTiled,
       {{Rect(0, 0, 10, 3), Rect(5, 0, 15, 3)}, {Rect(0, 9, 10, 10), Rect(5, 3, 15, 4)}}},
      {"three parts side by side, centred vertically",
       {3, 0, 2, 0},
       Rect(0, 0, 16, 20),
       kTiled,
       {{Rect(0, 0, 3, 10), Rect(0, 5, 3, 15)},
        {Rect(8, 0, 10, 10), Rect(14, 5, 16, 15)},
        {Rect(3, 0, 8, 10), Rect(3, 5, 14, 15)}}},
      {"three parts side by side, narrower than the bitmap",
       {3, 1, 2, 0},
       Rect(0, 0, 4, 20),
       kTiled,
       {{Rect(0, 0, 3, 10), Rect(0, 5, 3, 15)}, {Rect(9, 0, 10, 10), Rect(3, 5, 4, 15)}}},
      {"no margins: centred at its own size",
       {0, 0, 0, 0},
       Rect(0, 0, 20, 16),
       kTiled,
       {{Rect(0, 0, 10, 10), Rect(5, 3, 15, 13)}}},
      {"no margins, 24-bit, smaller rectangle: placed at its top-left and overflowing",
       {0, 0, 0, 0},
       Rect(2, 2, 6, 6),
       k24Bit,
       {{Rect(0, 0, 10, 10), Rect(2, 2, 12, 12)}}},
      {"only a left margin: nothing", {3, 0, 0, 0}, Rect(0, 0, 20, 20), kTiled, {}},
      {"a negative margin alone: nothing", {0, 0, -1, 0}, Rect(0, 0, 20, 20), kTiled, {}},
  };
  for (const TOptionsCase& c : cases) {
    TBitmap src, dst;
    const int size = c.Flags & k12x12 ? 12 : 10;
    MakeSource(src, size, size, c.Flags & k24Bit ? pf24bit : pf32bit);
    MakeDest(dst, 34, 30);
    TkaBitmapOptions o;
    SetMargins(o, c.Margins);
    o.SetStretch(c.Flags & kStretched);
    o.SetStretchBorder(c.Flags & kStretched);
    o.SetDrawOnlyBorder(c.Flags & kOnlyBorder);
    DrawBitmapWithOptions(&src, &o, dst.Canvas(), 255, c.D);
    EXPECT_TRUE(ShowsParts(dst, c.Parts)) << c.Name;
  }
}

TEST(DrawBitmapWithOptions, AlphaFlagsBlendTheirPartsOfA32BitBitmapOnly) {
  // A fully transparent source: blended parts leave the background, copied ones turn black.
  enum { Corners = 1, Border = 2, Centre = 4, StretchAll = 8 };
  struct TCase {
    const char* Name;
    int Flags;
    int Blended;
    TPixelFormat Format = pf32bit;
  };
  const TCase cases[] = {
      {"no flags", 0, 0},
      {"corners", Corners, Corners},
      {"border, tiled", Border, Border},
      {"border, stretched", Border | StretchAll, Border},
      {"centre, tiled", Centre, Centre},
      {"centre, stretched", Centre | StretchAll, Centre},
      {"all flags on a 24-bit bitmap", Corners | Border | Centre, 0, pf24bit},
  };
  // One probe pixel per part of a 10 x 10 bitmap with margins 3 in (0, 0) - (20, 20).
  struct TProbe {
    int X, Y, Kind;
  };
  const TProbe probes[] = {{1, 1, Corners},  {18, 1, Corners}, {1, 18, Corners}, {18, 18, Corners}, {10, 1, Border},
                           {10, 18, Border}, {1, 10, Border},  {18, 10, Border}, {10, 10, Centre}};
  for (const TCase& c : cases) {
    TBitmap src, dst;
    src.SetPixelFormat(c.Format);
    src.SetSize(10, 10);  // all zero
    MakeDest(dst, 20, 20);
    TkaBitmapOptions o;
    SetMargins(o, {3, 3, 3, 3});
    o.SetAlphaBlendCorners(c.Flags & Corners);
    o.SetAlphaBlendBorder(c.Flags & Border);
    o.SetAlphaBlend(c.Flags & Centre);
    o.SetStretch(c.Flags & StretchAll);
    o.SetStretchBorder(c.Flags & StretchAll);
    DrawBitmapWithOptions(&src, &o, dst.Canvas(), 255, Rect(0, 0, 20, 20));
    for (const TProbe& p : probes)
      EXPECT_EQ(IsBack(dst, p.X, p.Y), (c.Blended & p.Kind) != 0) << c.Name << " at " << Where(p.X, p.Y);
  }
}

// ---- Resampling ---------------------------------------------------------------------------

TEST(ResampleBitmap, BilinearInFixedPoint) {
  struct TCase {
    const char* Name;
    int SW, SH;
    std::vector<int> Src;  // blue bytes, row by row
    int DW, DH;
    std::vector<int> Expected;
  };
  const TCase cases[] = {
      // Enlarging: k = 2, stepX = 131072 div 5 = 26214.
      {"2 x 1 to 4 x 1", 2, 1, {0, 200}, 4, 1, {0, 79, 159, 199}},
      // Shrinking: stepX = 131072, so columns 0 and 2, weighted 65535 / 65536.
      {"4 x 1 to 2 x 1", 4, 1, {0, 100, 200, 50}, 2, 1, {0, 199}},
      // k = 1, steps 131072 div 3 = 43690 both ways.
      {"2 x 2 to 3 x 3", 2, 2, {0, 60, 120, 240}, 3, 3, {0, 39, 59, 79, 146, 179, 119, 199, 239}},
  };
  for (const TCase& c : cases) {
    TBitmap src, dst;
    src.SetPixelFormat(pf32bit);
    src.SetSize(c.SW, c.SH);
    for (int i = 0; i < c.SW * c.SH; ++i) Px(src, i % c.SW, i / c.SW)[0] = static_cast<uint8_t>(c.Src[i]);
    dst.SetPixelFormat(pf32bit);
    dst.SetSize(c.DW, c.DH);
    ResampleBitmap(&src, &dst);
    std::vector<int> got;
    for (int i = 0; i < c.DW * c.DH; ++i) got.push_back(Px(dst, i % c.DW, i / c.DW)[0]);
    EXPECT_EQ(got, c.Expected) << c.Name;
  }
}

TEST(ResampleBitmap, ConstantAreasLoseOneAndEqualSizesCopy) {
  TBitmap one, four;
  one.SetPixelFormat(pf32bit);
  one.SetSize(1, 1);
  const uint8_t bytes[4] = {200, 100, 50, 255};
  std::memcpy(Px(one, 0, 0), bytes, 4);
  four.SetPixelFormat(pf32bit);
  four.SetSize(4, 4);
  ResampleBitmap(&one, &four);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint8_t* p = Px(four, x, y);
      EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{199, 99, 49, 254})) << Where(x, y);
    }

  TBitmap a, b;
  a.SetPixelFormat(pf32bit);
  a.SetSize(5, 3);
  std::mt19937 rng(3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      for (int c = 0; c < 4; ++c) Px(a, x, y)[c] = static_cast<uint8_t>(rng());
  b.SetPixelFormat(pf32bit);
  b.SetSize(5, 3);
  ResampleBitmap(&a, &b);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(std::memcmp(Px(a, 0, y), Px(b, 0, y), 20), 0) << "row " << y;

  TBitmap rgb;
  rgb.SetPixelFormat(pf24bit);
  rgb.SetSize(2, 2);
  ResampleBitmap(&rgb, &four);
  EXPECT_EQ(Px(four, 0, 0)[0], 199) << "a 24-bit source leaves the destination alone";
}

TEST(DrawBitmapScaled, ScaleOneDrawsAsIsOtherScalesResample) {
  struct TCase {
    const char* Name;
    double Scale;
    TRect Covered;
    int Blue;
  };
  const TCase cases[] = {
      {"scale 1", 1, Rect(3, 1, 4, 2), 200},
      {"scale 2", 2, Rect(3, 1, 5, 3), 199},
      {"scale 2.5 rounds to 2 pixels", 2.5, Rect(3, 1, 5, 3), 199},
      {"scale 0.4 rounds to nothing", 0.4, TRect(), 0},
  };
  for (const TCase& c : cases) {
    TBitmap src, dst;
    src.SetPixelFormat(pf32bit);
    src.SetSize(1, 1);
    FillBitmapPixels(&src, 0xFF0000C8);  // blue 200, opaque
    MakeDest(dst, 8, 8);
    DrawBitmapScaled(&src, dst.Canvas(), 3, c.Scale, 255, 1);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        if (c.Covered.Contains({x, y}))
          EXPECT_EQ(Px(dst, x, y)[0], c.Blue) << c.Name << " at " << Where(x, y);
        else
          EXPECT_TRUE(IsBack(dst, x, y)) << c.Name << " at " << Where(x, y);
      }
  }
}

TEST(BitmapDrawing, NoGdiObjectsLeakOverManyDraws) {
  TBitmap src, dst;
  MakeSource(src, 12, 12);
  MakeDest(dst, 40, 40);
  TkaBitmapOptions nine, stacked;
  SetMargins(nine, {3, 3, 3, 3});
  nine.SetAlphaBlendCorners(true);
  nine.SetAlphaBlendBorder(true);
  nine.SetStretch(false);
  SetMargins(stacked, {0, 2, 0, 2});
  auto drawAll = [&] {
    DrawBitmapWithOptions(&src, &nine, dst.Canvas(), 200, Rect(0, 0, 37, 29));
    DrawBitmapWithOptions(&src, &stacked, dst.Canvas(), 255, Rect(1, 1, 30, 30));
    DrawBitmapScaled(&src, dst.Canvas(), 2, 1.5, 255, 2);
    TileRectAlpha(&src, dst.Canvas(), Rect(0, 0, 5, 5), 128, Rect(0, 0, 40, 40));
  };
  drawAll();
  const int before = GdiObjectCount();
  for (int i = 0; i < 2000; ++i) drawAll();
  EXPECT_LE(GdiObjectCount(), before);
}

}  // namespace
