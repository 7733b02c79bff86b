// The GDI image collection: blending flags from the bitmap's alpha, tint, the loads and
// their scaling, what the collection answers per index, pixels actually drawn, clipping
// and device-context state, layout streaming, and no GDI handles left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "framework/PngImage.h"
#include "framework/Streaming.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/Handles.h"

namespace {

uint8_t* Px(TBitmap& B, int X, int Y) { return static_cast<uint8_t*>(B.ScanLine(Y)) + X * (B.PixelFormat() == pf24bit ? 3 : 4); }

// Blue, green, red (and alpha) bytes of a pixel.
struct TBGRA {
  int B, G, R, A;
  bool operator==(const TBGRA&) const = default;
};
void PrintTo(const TBGRA& p, std::ostream* os) { *os << "(" << p.B << ", " << p.G << ", " << p.R << ", " << p.A << ")"; }

TBGRA At(TBitmap& B, int X, int Y) {
  const uint8_t* p = Px(B, X, Y);
  return {p[0], p[1], p[2], B.PixelFormat() == pf24bit ? 255 : p[3]};
}

void Fill32(TBitmap& B, int W, int H, TBGRA Value) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint8_t* p = Px(B, x, y);
      p[0] = uint8_t(Value.B), p[1] = uint8_t(Value.G), p[2] = uint8_t(Value.R), p[3] = uint8_t(Value.A);
    }
}

// A 24-bit target of W x H filled white.
void WhiteTarget(TBitmap& T, int W, int H) {
  T.SetPixelFormat(pf24bit);
  T.SetSize(W, H);
  T.Canvas()->Brush()->SetColor(clWhite);
  T.Canvas()->FillRect(Rect(0, 0, W, H));
}

const TBGRA kWhite{255, 255, 255, 255};
const TBGRA kRed{0, 0, 255, 255};

struct TCollectionFixture : ::testing::Test {
  TkaImageCollection* Images = Construct<TkaImageCollection>(nullptr);
  ~TCollectionFixture() override { Images->Free(); }
  TkaImageCollectionItem* Add() { return Images->Images()->Add(); }
};

// ---- Blending flags ---------------------------------------------------------------------------

struct TFlagCase {
  const char* Name;
  int L, T, R, B;
  int X, Y;  // the one translucent pixel of a 10 x 10 bitmap, or -1
  bool Centre, Border, Corners;
};

TEST(ImageCollectionItem, BlendingFlagsFollowTheAlphaOfThePartsTheMarginsCut) {
  const TFlagCase cases[] = {
      {"no margins, opaque", 0, 0, 0, 0, -1, -1, false, false, false},
      {"no margins, one pixel", 0, 0, 0, 0, 9, 0, true, false, false},
      {"nine, centre", 3, 3, 3, 3, 5, 5, true, false, false},
      {"nine, top edge", 3, 3, 3, 3, 5, 1, false, true, false},
      {"nine, left edge", 3, 3, 3, 3, 1, 5, false, true, false},
      {"nine, bottom edge", 3, 3, 3, 3, 4, 8, false, true, false},
      {"nine, right edge", 3, 3, 3, 3, 8, 4, false, true, false},
      {"nine, top-left corner", 3, 3, 3, 3, 1, 1, false, false, true},
      {"nine, bottom-right corner", 3, 3, 3, 3, 9, 9, false, false, true},
      // The listed ranges are inclusive, so (3, 3) belongs to the centre and to a corner.
      {"nine, centre and corner overlap", 3, 3, 3, 3, 3, 3, true, false, true},
      {"nine, opaque", 3, 3, 3, 3, -1, -1, false, false, false},
      {"sides, middle", 3, 0, 3, 0, 5, 0, true, true, false},
      {"sides, right end", 3, 0, 3, 0, 8, 4, false, false, true},
      {"sides with one end margin", 3, 2, 3, 0, 5, 9, true, true, false},
      {"stacked, middle", 0, 3, 0, 3, 0, 5, true, true, false},
      {"stacked, bottom end", 0, 3, 0, 3, 4, 9, false, false, true},
      // Margins wider than the bitmap: every range is cut to it; only the corners remain.
      {"margins past the bitmap", 20, 20, 20, 20, 5, 5, false, false, true},
  };
  for (const TFlagCase& c : cases) {
    TkaImageCollection* images = Construct<TkaImageCollection>(nullptr);
    TkaImageCollectionItem* item = images->Images()->Add();
    Fill32(*item->Bitmap(), 10, 10, kRed);
    if (c.X >= 0) Px(*item->Bitmap(), c.X, c.Y)[3] = 254;
    TkaBitmapOptions* o = item->BitmapOptions();
    o->SetAlphaBlend(true), o->SetAlphaBlendBorder(true), o->SetAlphaBlendCorners(true);
    // Every margin setter re-derives the flags; the last one counts.
    o->SetLeftMargin(c.L), o->SetTopMargin(c.T), o->SetRightMargin(c.R), o->SetBottomMargin(c.B);
    EXPECT_EQ(o->AlphaBlend(), c.Centre) << c.Name;
    EXPECT_EQ(o->AlphaBlendBorder(), c.Border) << c.Name;
    EXPECT_EQ(o->AlphaBlendCorners(), c.Corners) << c.Name;
    images->Free();
  }
}

TEST_F(TCollectionFixture, BlendingFlagsOfBitmapsWithoutAlphaOrWithoutAPairOfMargins) {
  auto check = [](TkaImageCollectionItem* Item, bool Expected, const char* Name) {
    TkaBitmapOptions* o = Item->BitmapOptions();
    o->SetAlphaBlend(true), o->SetAlphaBlendBorder(true), o->SetAlphaBlendCorners(true);
    Item->CheckBitmapOptions();
    EXPECT_EQ(o->AlphaBlend(), Expected) << Name;
    EXPECT_EQ(o->AlphaBlendBorder(), Expected) << Name;
    EXPECT_EQ(o->AlphaBlendCorners(), Expected) << Name;
  };
  check(Add(), false, "empty bitmap");
  TkaImageCollectionItem* rgb = Add();
  rgb->Bitmap()->SetPixelFormat(pf24bit);
  rgb->Bitmap()->SetSize(4, 4);
  check(rgb, false, "24-bit bitmap");
  TkaImageCollectionItem* onlyLeft = Add();
  Fill32(*onlyLeft->Bitmap(), 4, 4, kRed);
  onlyLeft->BitmapOptions()->SetLeftMargin(2);
  check(onlyLeft, true, "only a left margin leaves the flags");
}

// ---- Tint ---------------------------------------------------------------------------------------

TEST_F(TCollectionFixture, TintRecoloursA32BitMaskAndKeepsItsAlpha) {
  TkaImageCollectionItem* mask = Add();
  Fill32(*mask->Bitmap(), 3, 1, {255, 255, 255, 255});
  Px(*mask->Bitmap(), 1, 0)[3] = 128;
  Px(*mask->Bitmap(), 2, 0)[3] = 0;
  mask->Bitmap()->SetAlphaFormat(afPremultiplied);
  EXPECT_EQ(mask->Color(), kaNoTintColor);
  mask->SetColor(clRed);
  EXPECT_EQ(mask->Color(), clRed);
  EXPECT_EQ(mask->Bitmap()->AlphaFormat(), afPremultiplied);
  EXPECT_EQ(At(*mask->Bitmap(), 0, 0), (TBGRA{0, 0, 255, 255}));
  EXPECT_EQ(At(*mask->Bitmap(), 1, 0), (TBGRA{0, 0, 128, 128}));
  EXPECT_EQ(At(*mask->Bitmap(), 2, 0), (TBGRA{0, 0, 0, 0}));
  // The "no tint" value stores, but brings nothing back.
  mask->SetColor(kaNoTintColor);
  EXPECT_EQ(mask->Color(), kaNoTintColor);
  EXPECT_EQ(At(*mask->Bitmap(), 0, 0), (TBGRA{0, 0, 255, 255}));

  TkaImageCollectionItem* rgb = Add();
  rgb->Bitmap()->SetPixelFormat(pf24bit);
  rgb->Bitmap()->SetSize(2, 1);
  Px(*rgb->Bitmap(), 0, 0)[0] = 77;
  rgb->SetColor(clBlue);
  EXPECT_EQ(rgb->Color(), clBlue);
  EXPECT_EQ(Px(*rgb->Bitmap(), 0, 0)[0], 77);
  EXPECT_EQ(Px(*rgb->Bitmap(), 0, 0)[2], 0);
}

// ---- Loads ----------------------------------------------------------------------------------------

struct TLoadCase {
  const char* Name;
  std::function<void(TkaImageCollectionItem*)> Load;
  int W, H;
  TPixelFormat Format;
  TBGRA Pixel;
};

TEST_F(TCollectionFixture, LoadsScaleByFactorsFromOneAndPremultiplyAlpha) {
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  // The alpha PNG is (R 200, G 100, B 50, A 128): premultiplied (25, 50, 100, 128). Resampled
  // larger, a constant area loses one level first: (49, 99, 199, 127) -> (24, 49, 99, 127).
  const TLoadCase cases[] = {
      {"alpha PNG at 0.8 loads at 1", [&](auto* i) { i->LoadPngFromResourceName(module, L"ALPHA20X10", 0.8); },
       20, 10, pf32bit, {25, 50, 100, 128}},
      {"alpha PNG at 1.5", [&](auto* i) { i->LoadPngFromResourceName(module, L"ALPHA20X10", 1.5); },
       30, 15, pf32bit, {24, 49, 99, 127}},
      {"opaque PNG at 1.5", [&](auto* i) { i->LoadPngFromResourceName(module, L"OPAQUE20X10", 1.5); },
       30, 15, pf24bit, {30, 20, 10, 255}},
      {"bitmap at 1", [&](auto* i) { i->LoadFromResourceName(module, L"PLAIN8X4", 1); }, 8, 4, pf24bit, {30, 20, 10, 255}},
      {"bitmap at 2.5", [&](auto* i) { i->LoadFromResourceName(module, L"PLAIN8X4", 2.5); }, 20, 10, pf24bit,
       {30, 20, 10, 255}},
  };
  for (const TLoadCase& c : cases) {
    TkaImageCollectionItem* item = Add();
    item->SetColor(clLime);
    c.Load(item);
    TBitmap* b = item->Bitmap();
    EXPECT_EQ(item->Color(), kaNoTintColor) << c.Name;
    ASSERT_EQ(b->Width(), c.W) << c.Name;
    ASSERT_EQ(b->Height(), c.H) << c.Name;
    EXPECT_EQ(b->PixelFormat(), c.Format) << c.Name;
    if (c.Format == pf32bit) {
      EXPECT_EQ(b->AlphaFormat(), afPremultiplied) << c.Name;
    }
    for (TPoint p : {Point(0, 0), Point(c.W / 2, c.H / 2), Point(c.W - 1, c.H - 1)})
      EXPECT_EQ(At(*b, p.X, p.Y), c.Pixel) << c.Name << " at " << p.X << "," << p.Y;
  }
  TkaImageCollectionItem* missing = Add();
  EXPECT_THROW(missing->LoadPngFromResourceName(module, L"NO_SUCH_PNG", 1), EInvalidGraphic);
  EXPECT_THROW(missing->LoadFromResourceName(module, L"NO_SUCH_BITMAP", 2), EInvalidGraphic);
}

TEST_F(TCollectionFixture, LoadPngFromFileKeepsTheSizeAndMakesAlphaPremultiplied) {
  TPngImage png;
  png.SetSize(3, 2);
  png.SetPixel(0, 0, 0x80FF0000);  // straight red at alpha 128
  wchar_t dir[MAX_PATH], path[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  ::GetTempFileNameW(dir, L"kic", 0, path);
  png.SaveToFile(path);
  TkaImageCollectionItem* item = Add();
  item->LoadPngFromFile(path);
  ::DeleteFileW(path);
  ASSERT_EQ(item->Bitmap()->Width(), 3);
  EXPECT_EQ(item->Bitmap()->Height(), 2);
  EXPECT_EQ(item->Bitmap()->AlphaFormat(), afPremultiplied);
  EXPECT_EQ(At(*item->Bitmap(), 0, 0), (TBGRA{0, 0, 128, 128}));
  EXPECT_EQ(At(*item->Bitmap(), 2, 1), (TBGRA{0, 0, 0, 0}));
  EXPECT_THROW(item->LoadPngFromFile(String(path) + L".missing"), Exception);
}

// ---- Queries --------------------------------------------------------------------------------------

TEST_F(TCollectionFixture, WhatTheCollectionAnswersPerIndex) {
  Add();  // 0: nothing to draw
  TkaImageCollectionItem* rgb = Add();  // 1: 24-bit, tiled
  rgb->Bitmap()->SetPixelFormat(pf24bit);
  rgb->Bitmap()->SetSize(30, 20);
  rgb->BitmapOptions()->SetLeftMargin(1), rgb->BitmapOptions()->SetTopMargin(2);
  rgb->BitmapOptions()->SetRightMargin(3), rgb->BitmapOptions()->SetBottomMargin(4);
  rgb->BitmapOptions()->SetContentLeftMargin(5), rgb->BitmapOptions()->SetContentTopMargin(6);
  rgb->BitmapOptions()->SetContentRightMargin(7), rgb->BitmapOptions()->SetContentBottomMargin(8);
  TkaImageCollectionItem* alpha = Add();  // 2: 32-bit, stretched
  Fill32(*alpha->Bitmap(), 12, 8, kRed);
  alpha->SetDrawStyle(idsStretch);
  TkaImageCollectionItem* png = Add();  // 3: only a transparent PNG picture, centred
  TPngImage picture;
  picture.SetSize(7, 5);
  png->Picture()->SetGraphic(&picture);
  png->SetDrawStyle(idsCenter);
  TkaImageCollectionItem* plain = Add();  // 4: an opaque picture, stretched
  TBitmap opaque(9, 4);
  plain->Picture()->SetGraphic(&opaque);
  plain->SetDrawStyle(idsStretch);

  struct {
    int Index;
    bool Available, Solid, StretchTile, FullUpdate;
    int W, H;
  } cases[] = {
      {-1, false, false, false, false, 0, 0}, {0, false, false, false, false, 0, 0},
      {1, true, true, true, true, 30, 20},    {2, true, false, true, true, 12, 8},
      {3, true, false, false, true, 7, 5},    {4, true, true, true, true, 9, 4},
      {5, false, false, false, false, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Images->IsIndexAvailable(c.Index), c.Available) << c.Index;
    EXPECT_EQ(Images->IsSolidDrawing(c.Index), c.Solid) << c.Index;
    EXPECT_EQ(Images->IsStretchTileDrawing(c.Index), c.StretchTile) << c.Index;
    EXPECT_EQ(Images->NeedFullUpdate(c.Index), c.FullUpdate) << c.Index;
    // This collection never scales.
    EXPECT_EQ(Images->GetWidth(c.Index, 2.5), c.W) << c.Index;
    EXPECT_EQ(Images->GetHeight(c.Index, 2.5), c.H) << c.Index;
  }
  EXPECT_EQ(Images->Count(), 5);
  EXPECT_EQ(Images->GetMargins(1, 2), Rect(1, 2, 3, 4));
  EXPECT_EQ(Images->GetContentMargins(1, 2), Rect(5, 6, 7, 8));
  EXPECT_EQ(Images->GetMargins(0, 1), TRect());
  EXPECT_EQ(Images->GetContentMargins(7, 1), TRect());
  EXPECT_TRUE(png->Transparent());
  EXPECT_FALSE(plain->Transparent());
}

// ---- Drawing ----------------------------------------------------------------------------------------

TEST_F(TCollectionFixture, A32BitBitmapIsBlendedWhereItsStylePutsIt) {
  TkaImageCollectionItem* item = Add();
  Fill32(*item->Bitmap(), 40, 20, {0, 0, 255, 128});  // red at half alpha
  item->Bitmap()->SetAlphaFormat(afPremultiplied);
  item->SetDrawStyle(idsBottomRight);
  TBitmap target;
  WhiteTarget(target, 200, 100);
  Images->Draw(target.Canvas(), Rect(0, 0, 200, 100), 0, 2.0);
  const TBGRA blended{127, 127, 255, 255};  // white * (1 - 128/255) + red
  for (TPoint p : {Point(160, 80), Point(199, 99), Point(180, 90)}) {
    TBGRA got = At(target, p.X, p.Y);
    EXPECT_NEAR(got.B, blended.B, 1) << p.X << "," << p.Y;
    EXPECT_EQ(got.R, 255);
  }
  for (TPoint p : {Point(159, 90), Point(180, 79), Point(0, 0)}) EXPECT_EQ(At(target, p.X, p.Y), kWhite) << p.X << "," << p.Y;
}

TEST_F(TCollectionFixture, TilesPassTheRectangleUnlessClippedAndPicturesAreAlwaysClipped) {
  TkaImageCollectionItem* bitmap = Add();
  bitmap->Bitmap()->SetPixelFormat(pf24bit);
  bitmap->Bitmap()->SetSize(30, 30);  // black
  TkaImageCollectionItem* picture = Add();
  TBitmap black(30, 30);
  black.SetPixelFormat(pf24bit);
  picture->Picture()->SetGraphic(&black);
  struct {
    const char* Name;
    int Index;
    bool ClipOption;
    bool PastTheEdge;
  } cases[] = {{"bitmap", 0, false, true}, {"bitmap, DrawInClipRect", 0, true, false}, {"picture", 1, false, false}};
  for (const auto& c : cases) {
    bitmap->BitmapOptions()->SetDrawInClipRect(c.ClipOption);
    TBitmap target;
    WhiteTarget(target, 130, 80);
    HDC dc = target.Canvas()->Handle();
    Images->Draw(target.Canvas(), Rect(0, 0, 100, 50), c.Index, 1);
    EXPECT_EQ(At(target, 95, 45), (TBGRA{0, 0, 0, 255})) << c.Name << ": last tile inside";
    EXPECT_EQ(At(target, 95, 55) == kWhite, !c.PastTheEdge) << c.Name << ": last tile below the rectangle";
    EXPECT_EQ(At(target, 125, 10), kWhite) << c.Name << ": past the last tile";
    TRgnHandle rgn(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetClipRgn(dc, rgn.Get()), 0) << c.Name << ": the clip is taken off again";
  }
}

TEST_F(TCollectionFixture, AllFourMarginsDrawNinePartsWhateverTheStyle) {
  TkaImageCollectionItem* item = Add();
  item->Bitmap()->SetPixelFormat(pf24bit);
  item->Bitmap()->SetSize(10, 10);
  item->Bitmap()->Canvas()->Brush()->SetColor(clRed);
  item->Bitmap()->Canvas()->FillRect(Rect(0, 0, 10, 10));
  item->SetDrawStyle(idsTopLeft);
  TkaBitmapOptions* o = item->BitmapOptions();
  o->SetLeftMargin(2), o->SetTopMargin(2), o->SetRightMargin(2), o->SetBottomMargin(2);
  TBitmap target;
  WhiteTarget(target, 60, 60);
  Images->Draw(target.Canvas(), Rect(0, 0, 50, 50), 0, 1);
  for (TPoint p : {Point(0, 0), Point(25, 25), Point(49, 49), Point(49, 0)}) EXPECT_EQ(At(target, p.X, p.Y), kRed) << p.X << "," << p.Y;
  EXPECT_EQ(At(target, 50, 50), kWhite);
}

TEST_F(TCollectionFixture, DrawBitmapIgnoresTheStyleAndDrawBitmapRectBlendsAPart) {
  TkaImageCollectionItem* item = Add();
  Fill32(*item->Bitmap(), 10, 10, kRed);
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x) Px(*item->Bitmap(), x, y)[0] = 255, Px(*item->Bitmap(), x, y)[2] = 0;  // right half blue
  item->SetDrawStyle(idsTopLeft);
  TBitmap target;
  WhiteTarget(target, 50, 50);
  Images->DrawBitmap(target.Canvas(), Rect(0, 0, 50, 50), 0, 255);  // no margins: centred at (20, 20)
  EXPECT_EQ(At(target, 22, 22), kRed);
  EXPECT_EQ(At(target, 5, 5), kWhite);
  Images->DrawBitmapRect(target.Canvas(), Rect(0, 0, 20, 20), Rect(5, 0, 10, 10), 0);
  EXPECT_EQ(At(target, 2, 2), (TBGRA{255, 0, 0, 255}));
  EXPECT_EQ(At(target, 18, 18), (TBGRA{255, 0, 0, 255}));
  EXPECT_THROW(Images->DrawBitmap(target.Canvas(), Rect(0, 0, 5, 5), 1, 255), EListError);
  EXPECT_THROW(Images->DrawBitmapRect(target.Canvas(), Rect(0, 0, 5, 5), Rect(0, 0, 5, 5), -1), EListError);
}

TEST_F(TCollectionFixture, ThousandsOfDrawsLeaveNoGdiObjectBehind) {
  TkaImageCollectionItem* alpha = Add();
  Fill32(*alpha->Bitmap(), 16, 8, {0, 0, 100, 100});
  alpha->Bitmap()->SetAlphaFormat(afPremultiplied);
  TkaImageCollectionItem* rgb = Add();
  rgb->Bitmap()->SetPixelFormat(pf24bit);
  rgb->Bitmap()->SetSize(16, 8);
  rgb->BitmapOptions()->SetDrawInClipRect(true);
  TkaImageCollectionItem* nine = Add();
  Fill32(*nine->Bitmap(), 16, 8, {0, 0, 100, 100});
  nine->BitmapOptions()->SetLeftMargin(3), nine->BitmapOptions()->SetTopMargin(3);
  nine->BitmapOptions()->SetRightMargin(3), nine->BitmapOptions()->SetBottomMargin(3);
  TkaImageCollectionItem* picture = Add();
  TPngImage png;
  png.SetSize(16, 8);
  picture->Picture()->SetGraphic(&png);
  TBitmap target;
  WhiteTarget(target, 64, 64);
  auto drawAll = [&] {
    for (int s = idsTile; s <= idsVertCenterTile; ++s)
      for (int i = 0; i < 4; ++i) {
        Images->Images()->Items(i)->SetDrawStyle(static_cast<TkaImageDrawStyle>(s));
        Images->Draw(target.Canvas(), Rect(3, 5, 60, 41), i, 1);
      }
  };
  drawAll();  // the first round makes the objects that live with the bitmaps
  const int before = GdiObjectCount();
  for (int round = 0; round < 30; ++round) drawAll();  // 3,000 draws
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(ImageCollectionLayout, ItemsAreReadFromALayout) {
  TComponent* root = Construct<TComponent>(nullptr);
  ReadLayout(root, R"(object Root: TComponent
  object Skins: TkaImageCollection
    Images = <
      item
        BitmapOptions.LeftMargin = 4
        BitmapOptions.ContentTopMargin = 2
        DrawStyle = idsVertCenterTile
        TileOffsetX = 3
        TileOffsetY = -2
        Description = 'skin'
      end
      item
      end>
  end
end)",
             L"TEST");
  auto* skins = dynamic_cast<TkaImageCollection*>(root->FindComponent(L"Skins"));
  ASSERT_NE(skins, nullptr);
  ASSERT_EQ(skins->Count(), 2);
  TkaImageCollectionItem* item = skins->Images()->Items(0);
  EXPECT_EQ(item->BitmapOptions()->LeftMargin(), 4);
  EXPECT_EQ(item->BitmapOptions()->ContentTopMargin(), 2);
  EXPECT_EQ(item->DrawStyle(), idsVertCenterTile);
  EXPECT_EQ(item->TileOffsetX(), 3);
  EXPECT_EQ(item->TileOffsetY(), -2);
  EXPECT_EQ(item->Description(), L"skin");
  EXPECT_EQ(skins->Images()->Items(1)->DrawStyle(), idsTile);
  EXPECT_EQ(skins->Images()->GetOwner(), skins);
  root->Free();
}

}  // namespace
