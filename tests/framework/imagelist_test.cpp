// Image lists: adding with a mask, a key colour or alpha, drawing (enabled and greyed),
// copying an image out, size changes and removal, adopting a foreign list, and no leaks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/ImageList.h"
#include "framework/TypeInfo.h"
#include "tests/support/Handles.h"

namespace {

struct TBGRA {
  uint8_t B, G, R, A;
};

TBGRA& Px(TBitmap& Bitmap, int X, int Y) { return static_cast<TBGRA*>(Bitmap.ScanLine(Y))[X]; }

// A Width x Height picture in Background with an opaque Square x Square block of Fore at
// (4, 4).
void MakePicture(TBitmap& B, TPixelFormat Format, int Width, TColor Background, TColor Fore, int Square = 8) {
  B.SetPixelFormat(Format);
  B.SetSize(Width, 16);
  B.Canvas()->Brush()->SetColor(Background);
  B.Canvas()->FillRect(TRect(0, 0, Width, 16));
  B.Canvas()->Brush()->SetColor(Fore);
  B.Canvas()->FillRect(Bounds(4, 4, Square, Square));
}

// A white 40 x 40 target.
void MakeTarget(TBitmap& B) {
  B.SetPixelFormat(pf32bit);
  B.SetSize(40, 40);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(TRect(0, 0, 40, 40));
}

::testing::AssertionResult Near(TColor Actual, int R, int G, int B, int Tol = 0) {
  int ar = GetRValue(Actual), ag = GetGValue(Actual), ab = GetBValue(Actual);
  if (std::abs(ar - R) <= Tol && std::abs(ag - G) <= Tol && std::abs(ab - B) <= Tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got RGB(" << ar << "," << ag << "," << ab << "), want RGB(" << R << ","
                                       << G << "," << B << ") +-" << Tol;
}

class ImageListDepth : public ::testing::TestWithParam<TColorDepth> {};

// Every way of adding gives an image that is opaque on its block and transparent around it.
TEST_P(ImageListDepth, AddedImagesDrawOnlyTheirOpaquePart) {
  TImageList list(nullptr);
  list.SetColorDepth(GetParam());
  TBitmap keyed, plain, mask;
  MakePicture(keyed, pf24bit, 16, clFuchsia, clRed);
  MakePicture(plain, pf32bit, 16, clBlack, clBlue);
  MakePicture(mask, pf24bit, 16, clWhite, clBlack);
  EXPECT_EQ(list.AddMasked(&keyed, clFuchsia), 0);
  EXPECT_EQ(list.Add(&plain, &mask), 1);
  EXPECT_EQ(list.AddMasked(&keyed, clDefault), 2) << "clDefault keys on the bottom-left pixel";
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(Px(keyed, 0, 0).R, 255) << "the caller's bitmap is left as it was";
  EXPECT_EQ(Px(keyed, 0, 0).B, 255);

  const TColor fore[3] = {clRed, clBlue, clRed};
  for (int i = 0; i < 3; ++i) {
    TBitmap target;
    MakeTarget(target);
    list.Draw(target.Canvas(), 10, 12, i);
    EXPECT_EQ(target.Canvas()->Pixel(10 + 4, 12 + 4), fore[i]) << i;
    EXPECT_EQ(target.Canvas()->Pixel(10 + 11, 12 + 11), fore[i]) << i;
    EXPECT_EQ(target.Canvas()->Pixel(10 + 3, 12 + 4), clWhite) << i;
    EXPECT_EQ(target.Canvas()->Pixel(10 + 15, 12 + 15), clWhite) << i;
    EXPECT_EQ(target.Canvas()->Pixel(10 + 16, 12 + 4), clWhite) << i;

    TBitmap copy;
    ASSERT_TRUE(list.GetBitmap(i, &copy));
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(Px(copy, 0, 0).R + Px(copy, 0, 0).G + Px(copy, 0, 0).B + Px(copy, 0, 0).A, 0) << i;
    EXPECT_EQ(RGBColor(Px(copy, 5, 5).R, Px(copy, 5, 5).G, Px(copy, 5, 5).B), fore[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageListDepth, ::testing::Values(cdDeviceDependent, cd24Bit, cd32Bit));

TEST(ImageList, AlphaImagesBlendAndCopyOutPremultiplied) {
  TImageList list(nullptr);
  list.SetColorDepth(cd32Bit);
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) Px(image, x, y) = x < 8 ? TBGRA{0, 0, 255, 128} : TBGRA{255, 0, 0, 255};
  ASSERT_EQ(list.Add(&image, nullptr), 0);

  TBitmap target;
  MakeTarget(target);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_TRUE(Near(target.Canvas()->Pixel(2, 2), 255, 127, 127, 2)) << "half-transparent red over white";
  EXPECT_EQ(target.Canvas()->Pixel(12, 2), clBlue);

  TBitmap copy;
  ASSERT_TRUE(list.GetBitmap(0, &copy));
  EXPECT_NEAR(Px(copy, 2, 2).R, 128, 2);
  EXPECT_NEAR(Px(copy, 2, 2).A, 128, 1);
  EXPECT_EQ(Px(copy, 12, 2).B, 255);
  EXPECT_EQ(Px(copy, 12, 2).A, 255);
}

TEST(ImageList, DisabledImagesAreGreyAndKeepTheirShape) {
  for (TColorDepth depth : {cd24Bit, cd32Bit}) {
    TImageList list(nullptr);
    list.SetColorDepth(depth);
    TBitmap keyed;
    MakePicture(keyed, pf24bit, 16, clFuchsia, clRed);
    list.AddMasked(&keyed, clFuchsia);
    TBitmap target;
    MakeTarget(target);
    list.Draw(target.Canvas(), 0, 0, 0, false);
    const TColor inside = target.Canvas()->Pixel(6, 6);
    EXPECT_EQ(GetRValue(inside), GetGValue(inside)) << depth;
    EXPECT_EQ(GetGValue(inside), GetBValue(inside)) << depth;
    EXPECT_LT(GetRValue(inside), 250) << "visible, not white";
    EXPECT_EQ(target.Canvas()->Pixel(2, 2), clWhite) << "the masked-out part stays untouched";
  }
}

TEST(ImageList, StripsSizeChangesRemovalAndChangeEvents) {
  TImageList list(nullptr);
  bool changed = false;
  list.OnChange = [&](TObject*) { changed = true; };
  TBitmap strip;
  MakePicture(strip, pf24bit, 48, clFuchsia, clRed);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.HandleAllocated());
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_TRUE(changed);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 3);

  list.Delete(7);
  list.Delete(-1);
  EXPECT_EQ(list.Count(), 6) << "indices outside the list are ignored";
  list.Delete(0);
  EXPECT_EQ(list.Count(), 5);
  TBitmap out;
  EXPECT_FALSE(list.GetBitmap(5, &out));
  EXPECT_TRUE(out.Empty());
  list.Clear();
  EXPECT_EQ(list.Count(), 0);

  list.AddMasked(&strip, clFuchsia);
  changed = false;
  list.SetWidth(24);
  EXPECT_TRUE(changed);
  EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  list.SetHeight(8);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, SharedHandlesAreNotDestroyed) {
  HIMAGELIST foreign = ::ImageList_Create(20, 10, ILC_COLOR32 | ILC_MASK, 1, 1);
  {
    TImageList list(nullptr);
    list.SetShareImages(true);
    list.SetHandle(foreign);
    EXPECT_EQ(list.Width(), 20);
    EXPECT_EQ(list.Height(), 10);
    EXPECT_EQ(list.Handle(), foreign);
  }
  int w = 0, h = 0;
  EXPECT_TRUE(::ImageList_GetIconSize(foreign, &w, &h)) << "still alive after its user went";
  EXPECT_EQ(w, 20);
  ::ImageList_Destroy(foreign);
}

TEST(ImageList, ClassesAreKnownToLayouts) {
  for (const wchar_t* name : {L"TImageList", L"TVirtualImageList"}) {
    const TClassInfo* info = FindClassInfo(name);
    ASSERT_NE(info, nullptr) << name;
    ASSERT_TRUE(info->CanCreate());
    TComponent* made = info->Create(nullptr);
    EXPECT_NE(dynamic_cast<TCustomImageList*>(made), nullptr);
    made->Free();
    EXPECT_NE(info->FindProperty(L"ColorDepth"), nullptr);
  }
}

TEST(ImageList, NoGdiObjectsLeak) {
  auto work = [] {
    TImageList list(nullptr);
    list.SetColorDepth(cd32Bit);
    TBitmap keyed, target, copy;
    MakePicture(keyed, pf24bit, 32, clFuchsia, clRed);
    MakeTarget(target);
    list.AddMasked(&keyed, clFuchsia);
    list.Add(&keyed, nullptr);
    list.Draw(target.Canvas(), 1, 1, 0);
    list.Draw(target.Canvas(), 1, 1, 1, false);
    list.GetBitmap(2, &copy);
  };
  work();
  const int before = GdiObjectCount();
  for (int i = 0; i < 300; ++i) work();
  EXPECT_LE(GdiObjectCount() - before, 4);
}

}  // namespace
