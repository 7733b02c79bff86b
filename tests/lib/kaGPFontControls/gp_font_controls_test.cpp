// The embedded icon font: the em-size rule, the font found in the program's own resources,
// icons drawn by index where the rectangle says, and no GDI or heap growth over many draws.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Platform.h"
#include "lib/kaGPFontControls/kaGPFontControls.h"
#include "tests/support/Handles.h"
// Process memory counters; psapi.h needs the Windows types first.
#include <psapi.h>

using namespace Gdiplus;

namespace {

TEST(GPIconFont, EmSizeRule) {
  struct TCase {
    RectF Rect;
    int FontHeight, Expected;
  };
  const TCase cases[] = {
      {{0, 0, 20, 30}, 0, 18},     // 0.9 x 20
      {{0, 0, 25.9f, 40}, 0, 22},  // Trunc(0.9 x Trunc(25.9)) = Trunc(22.5)
      {{5, 5, 40, 10.9f}, 0, 9},   // the smaller side
      {{0, 0, 40, 40}, 12, 12},    // given heights pass unchanged
      {{0, 0, 1, 1}, 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GPIconFontEmSize(c.Rect, c.FontHeight), c.Expected) << c.Rect.Width << " x " << c.Rect.Height;
}

TEST(GPIconFont, ProcessInstanceHoldsTheEmbeddedFont) {
  TkaGPFontAwesome* font = GPFontAwesome();
  ASSERT_NE(font, nullptr);
  PrivateFontCollection* collection = font->PrivateFontCollection();
  ASSERT_NE(collection, nullptr) << "resource FONTAWESOME found by the name \"fontawesome\"";
  ASSERT_EQ(collection->GetFamilyCount(), 1);
  FontFamily family;
  INT found = 0;
  collection->GetFamilies(1, &family, &found);
  WCHAR name[LF_FACESIZE] = {};
  family.GetFamilyName(name);
  EXPECT_STREQ(name, L"FontAwesome");
}

// A white canvas to draw icons on, with the bounding box of the dark pixels.
struct TInkCanvas {
  explicit TInkCanvas(int W, int H) {
    Bmp.SetPixelFormat(pf32bit);
    Bmp.SetSize(W, H);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(TRect(0, 0, W, H));
  }
  // Box of pixels darker than Threshold (red channel); empty when none.
  TRect Ink(int Threshold = 200) {
    ::GdiFlush();
    TRect box(Bmp.Width(), Bmp.Height(), 0, 0);
    for (int y = 0; y < Bmp.Height(); ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(Bmp.ScanLine(y));
      for (int x = 0; x < Bmp.Width(); ++x) {
        if (row[x * 4 + 2] >= Threshold) continue;
        box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
      }
    }
    return box.IsEmpty() ? TRect() : box;
  }
  int Darkest() {
    ::GdiFlush();
    int darkest = 255;
    for (int y = 0; y < Bmp.Height(); ++y)
      for (int x = 0; x < Bmp.Width(); ++x) darkest = std::min<int>(darkest, static_cast<const uint8_t*>(Bmp.ScanLine(y))[x * 4 + 2]);
    return darkest;
  }
  std::vector<uint8_t> Pixels() {
    ::GdiFlush();
    std::vector<uint8_t> p;
    for (int y = 0; y < Bmp.Height(); ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(Bmp.ScanLine(y));
      p.insert(p.end(), row, row + Bmp.Width() * 4);
    }
    return p;
  }
  TBitmap Bmp;
};

TEST(GPIconFont, IconsLandInTheirEmBoxCentred) {
  struct TCase {
    const char* Name;
    TRect Rect;
    int FontHeight;
  };
  const TCase cases[] = {
      {"TallRect", TRect(10, 0, 50, 100), 0},         // em 36, from y = 32
      {"WideRect", TRect(0, 20, 120, 60), 0},         // em 36, from y = 22
      {"GivenHeight", TRect(20, 20, 80, 80), 24},     // em 24, from y = 38
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TInkCanvas ic(140, 110);
    GPFontAwesome()->Draw(ic.Bmp.Canvas(), clBlack, 255, c.Rect, c.FontHeight, 0);
    const TRect ink = ic.Ink();
    ASSERT_FALSE(ink.IsEmpty()) << "the icon is drawn";
    const int em = GPIconFontEmSize(RectToGPRect(c.Rect), c.FontHeight);
    const int emTop = c.Rect.Top + (c.Rect.Height() - em) / 2;
    EXPECT_GE(ink.Top, emTop - 1);
    EXPECT_LE(ink.Bottom, emTop + em + 1);
    EXPECT_GE(ink.Height(), em / 2) << "drawn at the em size";
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, (c.Rect.Left + c.Rect.Right) / 2.0, 3) << "centred across";
  }
}

TEST(GPIconFont, IndexPicksTheIconAndAlphaTheStrength) {
  auto draw = [](int index, uint8_t alpha, TInkCanvas& ic) {
    GPFontAwesome()->Draw(ic.Bmp.Canvas(), clBlack, alpha, TRect(0, 0, 40, 40), 0, index);
  };
  TInkCanvas first(40, 40), last(40, 40), again(40, 40);
  draw(0, 255, first);
  draw(255, 255, last);
  draw(0, 255, again);
  EXPECT_FALSE(first.Ink().IsEmpty());
  EXPECT_FALSE(last.Ink().IsEmpty());
  EXPECT_NE(first.Pixels(), last.Pixels()) << "U+F000 and U+F0FF are different icons";
  EXPECT_EQ(first.Pixels(), again.Pixels());
  EXPECT_LT(first.Darkest(), 40);

  TInkCanvas faint(40, 40);
  draw(0, 128, faint);
  EXPECT_NEAR(faint.Darkest(), 127, 25);

  for (int index : {-1, 0x1000}) {
    TInkCanvas none(40, 40);
    draw(index, 255, none);
    EXPECT_TRUE(none.Ink(255).IsEmpty()) << index;
  }
}

// Memory committed by the process (Wine reports no private bytes, but does report this).
size_t CommittedBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

TEST(GPIconFont, ManyDrawsLeaveNoObjectsBehind) {
  TInkCanvas ic(32, 32);
  auto drawMany = [&](int n) {
    for (int i = 0; i < n; ++i) GPFontAwesome()->Draw(ic.Bmp.Canvas(), clNavy, 200, TRect(0, 0, 32, 32), 0, i % 64);
  };
  drawMany(300);  // caches warm up
  const int gdi = GdiObjectCount();
  drawMany(5000);  // the heap settles (GDI+ grows some caches for a while)
  const size_t bytes = CommittedBytes();
  drawMany(5000);
  EXPECT_EQ(GdiObjectCount(), gdi);
  // A leak grows with every round; a GDI+ font left behind per draw alone would add more than
  // a megabyte in the second round, where a cache adds nothing.
  EXPECT_LT(CommittedBytes(), bytes + 512 * 1024);
}

}  // namespace
