// The GDI+ image collection: sizes and margins at a scale, what it answers per index, the
// cached image (built from PNG or over a 32-bit bitmap's own pixels, kept when a load
// fails, built late by Loaded and by drawing), tint, pixels actually drawn by style and by
// margins, surface modes left alone, and no GDI handles left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "framework/Streaming.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "tests/support/Handles.h"

namespace {

// A W x H picture of one straight ARGB colour, with or without an alpha channel.
void MakePng(TPngImage& Png, int W, int H, uint32_t Argb, bool WithAlpha) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(W, H);
  FillBitmapPixels(&b, Argb);
  b.SetAlphaFormat(WithAlpha ? afDefined : afIgnored);
  Png.Assign(&b);
}

const uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

struct TRGB {
  int R, G, B;
};
TRGB At(TBitmap& T, int X, int Y) {
  const uint8_t* p = static_cast<uint8_t*>(T.ScanLine(Y)) + X * 3;
  return {p[2], p[1], p[0]};
}
bool Near(TRGB P, TRGB Q, int Tolerance = 3) {
  return std::abs(P.R - Q.R) <= Tolerance && std::abs(P.G - Q.G) <= Tolerance && std::abs(P.B - Q.B) <= Tolerance;
}
const TRGB kWhiteRGB{255, 255, 255}, kRedRGB{255, 0, 0}, kBlueRGB{0, 0, 255};

void WhiteTarget(TBitmap& T, int W, int H) {
  T.SetPixelFormat(pf24bit);
  T.SetSize(W, H);
  T.Canvas()->Brush()->SetColor(clWhite);
  T.Canvas()->FillRect(Rect(0, 0, W, H));
}

uint32_t CachedArgb(TkaGPImageCollectionItem* Item, int X, int Y) {
  Gdiplus::Color c;
  Item->CachedImage()->GetPixel(X, Y, &c);
  return c.GetValue();
}

struct TGPCollectionFixture : ::testing::Test {
  TkaGPImageCollection* Images = Construct<TkaGPImageCollection>(nullptr);
  ~TGPCollectionFixture() override { Images->Free(); }
  TkaGPImageCollectionItem* AddPng(int W, int H, uint32_t Argb, bool WithAlpha) {
    TkaGPImageCollectionItem* item = Images->Images()->Add();
    TPngImage png;
    MakePng(png, W, H, Argb, WithAlpha);
    item->SetPngImage(&png);
    return item;
  }
};

// ---- Sizes and margins ------------------------------------------------------------------------

TEST_F(TGPCollectionFixture, SizesAndMarginsFollowTheScaleOfScaledItems) {
  TkaGPImageCollectionItem* item = AddPng(300, 255, kRed, false);
  struct {
    bool Scaled;
    double Scale;
    int VirtualW, VirtualH;
    int W, H;
  } cases[] = {
      {true, 1.5, 0, 0, 450, 382},  // Round(382.5) = 382
      {false, 1.5, 0, 0, 300, 255},
      {true, 2, 100, 0, 200, 510},
      {true, 1, 0, 50, 300, 50},
      {true, 0.5, 0, 0, 150, 128},  // Round(127.5) = 128
  };
  for (const auto& c : cases) {
    item->SetScaled(c.Scaled), item->SetVirtualWidth(c.VirtualW), item->SetVirtualHeight(c.VirtualH);
    EXPECT_EQ(Images->GetWidth(0, c.Scale), c.W) << c.Scale << " " << c.Scaled;
    EXPECT_EQ(Images->GetHeight(0, c.Scale), c.H) << c.Scale << " " << c.Scaled;
  }
  item->SetScaled(true);
  item->SetContentLeftMargin(3), item->SetContentTopMargin(5), item->SetContentRightMargin(7);
  item->SetContentBottomMargin(9);
  TkaGPBitmapOptions* o = item->Options();
  o->SetLeftMargin(1), o->SetTopMargin(3), o->SetRightMargin(5), o->SetBottomMargin(7);
  EXPECT_EQ(Images->GetContentMargins(0, 1.5), Rect(4, 8, 10, 14));  // 4.5, 7.5, 10.5, 13.5 to even
  EXPECT_EQ(Images->GetMargins(0, 1.5), Rect(2, 4, 8, 10));
  item->SetScaled(false);
  EXPECT_EQ(Images->GetContentMargins(0, 1.5), Rect(3, 5, 7, 9));
  EXPECT_EQ(Images->GetMargins(0, 1.5), Rect(1, 3, 5, 7));
  for (int i : {-1, 1}) {
    EXPECT_EQ(Images->GetWidth(i, 1), 0);
    EXPECT_EQ(Images->GetMargins(i, 1), TRect());
    EXPECT_EQ(Images->GetContentMargins(i, 1), TRect());
  }
}

TEST_F(TGPCollectionFixture, DrawingPlacesScaledSizesAndOverlapsOnlyOpaqueTiles) {
  TkaGPImageCollectionItem* opaque = AddPng(300, 255, kRed, false);
  TkaGPImageCollectionItem* alpha = AddPng(300, 255, 0x80FF0000, true);
  TkaGPImageCollectionItem* bitmap = Images->Images()->Add();
  bitmap->Bitmap()->SetPixelFormat(pf32bit);
  bitmap->Bitmap()->SetSize(300, 255);
  struct {
    const char* Name;
    TkaGPImageCollectionItem* Item;
    bool Scaled;
    int VirtualW;
    double Scale;
    int W, H, OverlapX, OverlapY;
    double ItemScale;
  } cases[] = {
      {"opaque at 1: one pixel over", opaque, true, 0, 1, 300, 255, 1, 1, 1},
      {"alpha: edge to edge", alpha, true, 0, 1, 300, 255, 0, 0, 1},
      {"32-bit bitmap: edge to edge", bitmap, true, 0, 1.5, 450, 382, 0, 0, 1.5},
      {"opaque at 1.5", opaque, true, 0, 1.5, 450, 382, 2, 1, 1.5},  // Round(1.5), Round(1.498)
      {"virtual width squeezed", opaque, true, 100, 2, 200, 510, 1, 2, 2},  // Round(200 / 300) = 1
      {"not scaled", opaque, false, 0, 2, 300, 255, 1, 1, 1},
  };
  for (const auto& c : cases) {
    c.Item->SetScaled(c.Scaled), c.Item->SetVirtualWidth(c.VirtualW);
    const TkaGPPlacement p = Images->GetPlacement(Rect(0, 0, 1000, 600), c.Item->Index(), c.Scale);
    EXPECT_EQ(p.Width, c.W) << c.Name;
    EXPECT_EQ(p.Height, c.H) << c.Name;
    EXPECT_EQ(p.OverlapX, c.OverlapX) << c.Name;
    EXPECT_EQ(p.OverlapY, c.OverlapY) << c.Name;
    EXPECT_EQ(p.ScaleFactor, c.ItemScale) << c.Name;
  }
  const TkaGPPlacement none = Images->GetPlacement(Rect(0, 0, 10, 10), 7, 2);
  EXPECT_EQ(none.Width, 0);
  EXPECT_EQ(none.OverlapX, 0);
}

TEST_F(TGPCollectionFixture, WhatTheCollectionAnswersPerIndex) {
  Images->Images()->Add();                                     // 0: nothing
  AddPng(8, 8, kRed, false);                                   // 1: opaque PNG, tiled
  AddPng(8, 8, 0x80FF0000, true)->SetDrawStyle(idsStretch);   // 2: PNG with alpha
  TkaGPImageCollectionItem* alpha = Images->Images()->Add();   // 3: 32-bit bitmap
  alpha->Bitmap()->SetPixelFormat(pf32bit);
  alpha->Bitmap()->SetSize(4, 4);
  alpha->SetDrawStyle(idsTopLeft);
  TkaGPImageCollectionItem* rgb = Images->Images()->Add();     // 4: 24-bit bitmap, nine parts
  rgb->Bitmap()->SetPixelFormat(pf24bit);
  rgb->Bitmap()->SetSize(4, 4);
  rgb->SetDrawStyle(idsStretch);
  TkaGPImageCollectionItem* nine = AddPng(8, 8, kRed, false);  // 5: tiled in nine parts
  for (TkaGPImageCollectionItem* i : {rgb, nine}) {
    i->Options()->SetLeftMargin(1), i->Options()->SetTopMargin(1);
    i->Options()->SetRightMargin(1), i->Options()->SetBottomMargin(1);
  }
  struct {
    int Index;
    bool Available, Solid, StretchTile, FullUpdate;
  } cases[] = {
      {-1, false, false, false, false}, {0, false, false, false, false}, {1, true, true, true, false},
      {2, true, false, true, true},     {3, true, false, false, false},  {4, true, true, true, true},
      {5, true, true, true, true},       {6, false, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Images->IsIndexAvailable(c.Index), c.Available) << c.Index;
    EXPECT_EQ(Images->IsSolidDrawing(c.Index), c.Solid) << c.Index;
    EXPECT_EQ(Images->IsStretchTileDrawing(c.Index), c.StretchTile) << c.Index;
    EXPECT_EQ(Images->NeedFullUpdate(c.Index), c.FullUpdate) << c.Index;
  }
  EXPECT_EQ(Images->Count(), 6);
}

// ---- The cached image -------------------------------------------------------------------------------

TEST_F(TGPCollectionFixture, AFailingLoadKeepsThePreviousPictureAndItsCachedImage) {
  TkaGPImageCollectionItem* item = AddPng(300, 255, kRed, false);
  Gdiplus::Bitmap* cached = item->CachedImage();
  ASSERT_NE(cached, nullptr);
  const std::function<void()> failing[] = {
      [&] {
        std::istringstream garbage("certainly not a PNG");
        item->LoadPngFromStream(garbage);
      },
      [&] { item->LoadPngFromFile(L"Z:\\no\\such\\picture.png"); },
      [&] { item->LoadPngFromResourceName(::GetModuleHandleW(nullptr), L"NO_SUCH_PNG"); },
  };
  for (const auto& load : failing) {
    EXPECT_THROW(load(), EInvalidGraphic);
    EXPECT_EQ(item->CachedImage(), cached);
    EXPECT_EQ(item->PngImage()->Width(), 300);
    EXPECT_EQ(Images->GetWidth(0, 1), 300);
  }
  TPngImage small;
  MakePng(small, 20, 10, kBlue, false);
  std::stringstream encoded;
  small.SaveToStream(encoded);
  item->LoadPngFromStream(encoded);
  EXPECT_EQ(Images->GetWidth(0, 1), 20);
  item->LoadPngFromResourceName(::GetModuleHandleW(nullptr), L"ALPHA20X10");
  EXPECT_EQ(Images->GetHeight(0, 1), 10);
  EXPECT_TRUE(item->Transparent());
  EXPECT_EQ(CachedArgb(item, 3, 3), 0x80C86432u);  // R 200, G 100, B 50 at alpha 128
}

TEST_F(TGPCollectionFixture, A32BitBitmapIsWrappedInStraightAlphaAndRebuiltOnEveryChange) {
  TkaGPImageCollectionItem* item = Images->Images()->Add();
  TBitmap source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(6, 4);
  FillBitmapPixels(&source, 0x80FF0000);  // red at alpha 128, straight
  source.SetAlphaFormat(afPremultiplied);
  item->SetBitmap(&source);
  ASSERT_NE(item->CachedImage(), nullptr);
  EXPECT_EQ(item->Bitmap()->AlphaFormat(), afIgnored);
  EXPECT_EQ(*static_cast<uint32_t*>(item->Bitmap()->ScanLine(0)), 0x80FF0000u) << "back in straight alpha";
  EXPECT_EQ(CachedArgb(item, 5, 3), 0x80FF0000u);
  // The cached image reads the bitmap's own memory.
  static_cast<uint32_t*>(item->Bitmap()->ScanLine(3))[5] = 0xFF00FF00;
  EXPECT_EQ(CachedArgb(item, 5, 3), 0xFF00FF00u);

  item->Bitmap()->SetSize(9, 7);  // new pixel memory: rebuilt over it
  EXPECT_EQ(Images->GetWidth(0, 1), 9);
  EXPECT_EQ(Images->GetHeight(0, 1), 7);
  item->Bitmap()->SetPixelFormat(pf24bit);
  EXPECT_FALSE(item->Transparent());
  EXPECT_EQ(Images->GetWidth(0, 1), 9);
  item->Bitmap()->Assign(nullptr);
  EXPECT_EQ(item->CachedImage(), nullptr);
  EXPECT_FALSE(Images->IsIndexAvailable(0));
}

TEST_F(TGPCollectionFixture, LoadedAndDrawingBuildMissingCachedImagesFromThePngFirst) {
  TPngImage png;
  MakePng(png, 12, 6, kRed, false);
  TkaGPImageCollectionItem* a = Images->Images()->Add();
  TkaGPImageCollectionItem* b = Images->Images()->Add();
  for (TkaGPImageCollectionItem* i : {a, b}) i->PngImage()->Assign(&png);  // behind the items' backs
  TBitmap bitmap(3, 3);
  bitmap.SetPixelFormat(pf24bit);
  b->SetBitmap(&bitmap);  // b gets its cached image from the bitmap now
  EXPECT_EQ(a->CachedImage(), nullptr);
  EXPECT_TRUE(Images->IsIndexAvailable(0));
  EXPECT_EQ(Images->GetWidth(0, 1), 0) << "no cached image yet";
  Images->Loaded();
  EXPECT_EQ(Images->GetWidth(0, 1), 12);
  EXPECT_EQ(Images->GetWidth(1, 1), 3) << "Loaded leaves existing cached images";

  TkaGPImageCollectionItem* c = Images->Images()->Add();
  c->PngImage()->Assign(&png);
  TBitmap target;
  WhiteTarget(target, 20, 20);
  Images->Draw(target.Canvas(), Rect(0, 0, 20, 20), 2, 1);
  EXPECT_EQ(Images->GetWidth(2, 1), 12);
  EXPECT_TRUE(Near(At(target, 5, 3), kRedRGB));
  // Setting the PNG builds from the PNG; ImageChanged prefers the bitmap.
  a->SetBitmap(&bitmap);
  a->SetPngImage(&png);
  EXPECT_EQ(Images->GetWidth(0, 1), 12);
  a->ImageChanged();
  EXPECT_EQ(Images->GetWidth(0, 1), 3);
}

TEST_F(TGPCollectionFixture, TintRecoloursOnlyPicturesWithAlphaUntilRebuilt) {
  TkaGPImageCollectionItem* alpha = AddPng(4, 4, 0x800000FF, true);
  TkaGPImageCollectionItem* opaque = AddPng(4, 4, kBlue, false);
  TkaGPImageCollectionItem* bitmap = Images->Images()->Add();
  TBitmap source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(2, 2);
  FillBitmapPixels(&source, 0x400000FF);
  bitmap->SetBitmap(&source);

  for (TkaGPImageCollectionItem* i : {alpha, opaque, bitmap}) i->SetColor(clRed);
  EXPECT_EQ(CachedArgb(alpha, 3, 2), 0x80FF0000u);
  EXPECT_EQ(opaque->Color(), clRed);
  EXPECT_EQ(CachedArgb(opaque, 3, 2), kBlue);
  EXPECT_EQ(*static_cast<uint32_t*>(bitmap->Bitmap()->ScanLine(1)), 0x40FF0000u) << "the bitmap's own pixels";
  alpha->ImageChanged();
  EXPECT_EQ(CachedArgb(alpha, 3, 2), 0x800000FFu);
  alpha->SetColor(clRed);  // the same colour again: nothing happens
  EXPECT_EQ(CachedArgb(alpha, 3, 2), 0x800000FFu);
}

// ---- Drawing ------------------------------------------------------------------------------------------

TEST_F(TGPCollectionFixture, DrawsAtTheScaledSizeWhereTheStylePutsIt) {
  TkaGPImageCollectionItem* item = AddPng(300, 255, kRed, false);
  item->SetDrawStyle(idsTopRight);
  struct {
    bool Scaled;
    TPoint Inside[2], Outside[2];
  } cases[] = {
      {true, {{553, 3}, {996, 378}}, {{546, 10}, {700, 386}}},     // 450 x 382 at (550, 0)
      {false, {{703, 3}, {996, 251}}, {{696, 10}, {800, 259}}},    // 300 x 255 at (700, 0)
  };
  for (const auto& c : cases) {
    item->SetScaled(c.Scaled);
    TBitmap target;
    WhiteTarget(target, 1000, 600);
    Images->Draw(target.Canvas(), Rect(0, 0, 1000, 600), 0, 1.5);
    for (TPoint p : c.Inside) EXPECT_TRUE(Near(At(target, p.X, p.Y), kRedRGB)) << c.Scaled << " " << p.X << "," << p.Y;
    for (TPoint p : c.Outside) EXPECT_TRUE(Near(At(target, p.X, p.Y), kWhiteRGB)) << c.Scaled << " " << p.X << "," << p.Y;
  }
}

TEST_F(TGPCollectionFixture, MarginsChooseNinePartsOrABandPlacedByTheStyle) {
  TkaGPImageCollectionItem* item = AddPng(30, 30, kRed, false);
  struct {
    const char* Name;
    int L, T, R, B;
    TkaImageDrawStyle Style;
    TPoint Inside, Outside;
  } cases[] = {
      {"nine parts, style ignored", 5, 5, 5, 5, idsTopLeft, {96, 96}, {103, 103}},
      {"sides: a band at the bottom", 5, 0, 5, 0, idsBottomLeft, {95, 90}, {50, 50}},
      {"sides with a top margin still a band", 5, 5, 5, 0, idsBottomLeft, {4, 96}, {50, 60}},
      {"stacked: a band at the left", 0, 5, 0, 5, idsTopLeft, {26, 96}, {40, 50}},
  };
  for (const auto& c : cases) {
    TkaGPBitmapOptions* o = item->Options();
    o->SetLeftMargin(c.L), o->SetTopMargin(c.T), o->SetRightMargin(c.R), o->SetBottomMargin(c.B);
    item->SetDrawStyle(c.Style);
    TBitmap target;
    WhiteTarget(target, 110, 110);
    Images->Draw(target.Canvas(), Rect(0, 0, 100, 100), 0, 1);
    EXPECT_TRUE(Near(At(target, c.Inside.X, c.Inside.Y), kRedRGB)) << c.Name;
    EXPECT_TRUE(Near(At(target, c.Outside.X, c.Outside.Y), kWhiteRGB)) << c.Name;
  }
}

TEST_F(TGPCollectionFixture, DrawRectStretchesAPartOfThePicture) {
  TkaGPImageCollectionItem* item = Images->Images()->Add();
  TPngImage png;
  MakePng(png, 300, 255, kRed, false);
  for (int y = 0; y < 255; ++y)
    for (int x = 150; x < 300; ++x) png.SetPixel(x, y, kBlue);
  item->SetPngImage(&png);
  item->SetDrawStyle(idsCenter);
  TBitmap target;
  WhiteTarget(target, 120, 120);
  Images->DrawRect(target.Canvas(), Rect(0, 0, 100, 100), Rect(150, 0, 300, 255), 0);
  for (TPoint p : {Point(10, 50), Point(50, 50), Point(94, 94)}) EXPECT_TRUE(Near(At(target, p.X, p.Y), kBlueRGB)) << p.X;
  EXPECT_TRUE(Near(At(target, 110, 50), kWhiteRGB));
  Images->DrawRect(target.Canvas(), Rect(0, 0, 100, 100), Rect(5, 5, 5, 200), 0);  // no source width
  EXPECT_TRUE(Near(At(target, 50, 50), kBlueRGB));
}

TEST_F(TGPCollectionFixture, DrawToGraphicLeavesTheSurfaceModesAsTheyWere) {
  AddPng(20, 20, kRed, false)->SetDrawStyle(idsTile);
  TkaGPImageCollectionItem* nine = AddPng(20, 20, kRed, false);
  nine->Options()->SetLeftMargin(4), nine->Options()->SetTopMargin(4);
  nine->Options()->SetRightMargin(4), nine->Options()->SetBottomMargin(4);
  TBitmap target;
  WhiteTarget(target, 64, 64);
  Gdiplus::Graphics g(target.Canvas()->Handle());
  g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  for (int i : {0, 1}) {
    Images->DrawToGraphic(&g, Rect(2, 2, 60, 60), i, 1.25);
    EXPECT_EQ(g.GetInterpolationMode(), Gdiplus::InterpolationModeNearestNeighbor) << i;
    EXPECT_EQ(g.GetPixelOffsetMode(), Gdiplus::PixelOffsetModeHalf) << i;
    EXPECT_EQ(g.GetSmoothingMode(), Gdiplus::SmoothingModeAntiAlias) << i;
  }
}

TEST_F(TGPCollectionFixture, ThousandsOfDrawsLeaveNoGdiObjectBehind) {
  AddPng(16, 8, kRed, false);
  AddPng(16, 8, 0x80FF0000, true)->SetProportional(true);
  TkaGPImageCollectionItem* nine = AddPng(16, 16, kRed, false);
  nine->Options()->SetLeftMargin(3), nine->Options()->SetTopMargin(3);
  nine->Options()->SetRightMargin(3), nine->Options()->SetBottomMargin(3);
  nine->Options()->SetStretch(false);
  TkaGPImageCollectionItem* bitmap = Images->Images()->Add();
  bitmap->Bitmap()->SetPixelFormat(pf32bit);
  TBitmap target;
  WhiteTarget(target, 64, 64);
  auto drawAll = [&](int Round) {
    bitmap->Bitmap()->SetSize(8 + Round % 5, 8);  // new pixel memory under the cached image every round
    for (int s = idsTile; s <= idsVertCenterTile; ++s)
      for (int i = 0; i < 4; ++i) {
        Images->Images()->Items(i)->SetDrawStyle(static_cast<TkaImageDrawStyle>(s));
        Images->Draw(target.Canvas(), Rect(3, 5, 60, 41), i, 1.5);
      }
    Images->DrawRect(target.Canvas(), Rect(0, 0, 30, 30), Rect(1, 1, 7, 7), 3);
  };
  drawAll(0);
  const int before = GdiObjectCount();
  for (int round = 1; round <= 30; ++round) drawAll(round);  // 3,000 draws
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GPImageCollectionLayout, ItemsAreReadFromALayout) {
  TComponent* root = Construct<TComponent>(nullptr);
  ReadLayout(root, R"(object Root: TComponent
  object Backgrounds: TkaGPImageCollection
    Images = <
      item
        ContentLeftMargin = 4
        ContentBottomMargin = 6
        Options.LeftMargin = 7
        Options.Stretch = False
        DrawStyle = idsHorzCenterTile
        VirtualWidth = 64
        TileOffsetY = 2
        Proportional = True
        Description = 'wallpaper'
        Scaled = False
        PixelOffsetModeHighQuality = False
        InterpolationModeHighQuality = False
      end>
  end
end)",
             L"TEST");
  auto* images = dynamic_cast<TkaGPImageCollection*>(root->FindComponent(L"Backgrounds"));
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->Count(), 1);
  TkaGPImageCollectionItem* item = images->Images()->Items(0);
  EXPECT_EQ(item->ContentLeftMargin(), 4);
  EXPECT_EQ(item->ContentBottomMargin(), 6);
  EXPECT_EQ(item->Options()->LeftMargin(), 7);
  EXPECT_FALSE(item->Options()->Stretch());
  EXPECT_EQ(item->DrawStyle(), idsHorzCenterTile);
  EXPECT_EQ(item->VirtualWidth(), 64);
  EXPECT_EQ(item->TileOffsetY(), 2);
  EXPECT_TRUE(item->Proportional());
  EXPECT_EQ(item->Description(), L"wallpaper");
  EXPECT_FALSE(item->Scaled());
  EXPECT_FALSE(item->PixelOffsetModeHighQuality());
  EXPECT_FALSE(item->InterpolationModeHighQuality());
  EXPECT_FALSE(images->IsIndexAvailable(0));
  root->Free();
}


// Pictures travel inside layouts as their file bytes, written in hexadecimal.
std::string Hex(const std::vector<uint8_t>& Bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < Bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n          ";
    out += kDigits[Bytes[i] >> 4];
    out += kDigits[Bytes[i] & 15];
  }
  return out;
}

std::string PictureLayout(const std::string& PngBytes, const std::string& BmpBytes) {
  return "object Root: TComponent\n  object Pictures: TkaGPImageCollection\n    Images = <\n      item\n"
         "        PngImage.Data = {" + PngBytes + "}\n      end\n      item\n        Bitmap.Data = {" + BmpBytes +
         "}\n      end>\n  end\nend\n";
}

TEST(GPImageCollectionLayout, PicturesAreCarriedAsTheirFileBytesAndBadBytesNameTheirLine) {
  TPngImage png;
  MakePng(png, 6, 4, 0x80FF0000, true);
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(5, 3);
  bmp.Canvas()->Brush()->SetColor(clBlue);
  bmp.Canvas()->FillRect(Rect(0, 0, 5, 3));
  ASSERT_EQ(png.Data().size() > 8 && png.Data()[1] == 'P', true);

  TComponent* root = Construct<TComponent>(nullptr);
  ReadLayout(root, PictureLayout(Hex(png.Data()), Hex(bmp.Data())), L"PICTURES");
  auto* images = dynamic_cast<TkaGPImageCollection*>(root->FindComponent(L"Pictures"));
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->Count(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(images->IsIndexAvailable(i)) << i;
  TkaGPImageCollectionItem* fromPng = images->Images()->Items(0);
  EXPECT_EQ(fromPng->PngImage()->Width(), 6);
  EXPECT_EQ(fromPng->PngImage()->Height(), 4);
  EXPECT_EQ(CachedArgb(fromPng, 2, 2), 0x80FF0000u);  // straight alpha kept through the layout
  EXPECT_EQ(images->Images()->Items(1)->Bitmap()->Width(), 5);
  TBitmap target;
  WhiteTarget(target, 10, 10);
  images->Draw(target.Canvas(), Rect(0, 0, 10, 10), 1, 1.0);
  EXPECT_TRUE(Near(At(target, 2, 1), kBlueRGB));
  root->Free();

  // Bytes that make no picture: the error names the layout's line and the reason, and the
  // half-read collection is freed with its root.
  std::vector<uint8_t> broken = png.Data();
  broken[20] ^= 0x55;  // inside the header chunk: its check fails
  const int before = GdiObjectCount();
  root = Construct<TComponent>(nullptr);
  try {
    ReadLayout(root, PictureLayout(Hex(broken), Hex(bmp.Data())), L"PICTURES");
    ADD_FAILURE() << "a broken picture was read";
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Line(), 5);
    EXPECT_NE(e.Problem().find(L"PNG"), String::npos) << ToUtf8(e.Problem());
  }
  root->Free();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
