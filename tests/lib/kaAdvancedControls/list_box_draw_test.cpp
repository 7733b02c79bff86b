// What the advanced list box paints: every part of a row and both header looks at chosen
// pixels, the five selection looks, the scale at 144 DPI, and that a paint draws only the
// rows of the invalid part of the view, however many rows the list holds.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/lib/kaAdvancedControls/ListBoxTesting.h"

namespace {

constexpr TColor kCaptionInk = clBlue;
constexpr TColor kTitleInk = clRed;
constexpr TColor kDetailInk = clPurple;
constexpr TColor kHeaderInk = clMaroon;
constexpr TColor kButtonInk = clTeal;
constexpr int kInkTolerance = 60;

// A 300 x 120 list whose rows are 50 high, with a colour per font; row 0 is (2, 2, 298, 52)
// and its text area (6, 4, 294, 50).
TProbeListBox* InkedList(TListScene& S) {
  TProbeListBox* l = S.Add(2, 300, 120);
  l->SetItemHeight(50);
  l->SetColor(clWhite);
  l->Font()->SetColor(kCaptionInk);
  l->TitleFont()->SetColor(kTitleInk);
  l->DetailFont()->SetColor(kDetailInk);
  l->HeaderFont()->SetColor(kHeaderInk);
  l->ButtonFont()->SetColor(kButtonInk);
  l->Items()->Items(0)->SetCaption(L"Caption");
  l->Items()->Items(1)->SetCaption(L"Second");
  return l;
}

std::unique_ptr<TImageList> SolidImages(TColor Color) {
  auto images = std::make_unique<TImageList>(nullptr);
  TBitmap b(16, 16);
  b.Canvas()->Brush()->SetColor(Color);
  b.Canvas()->FillRect(TRect(0, 0, 16, 16));
  images->Add(&b, nullptr);
  return images;
}

std::unique_ptr<TkaImageCollection> SolidPictures(std::initializer_list<TColor> Colors) {
  auto pictures = std::make_unique<TkaImageCollection>(nullptr);
  for (TColor c : Colors) {
    TBitmap b(8, 8);
    b.SetPixelFormat(pf32bit);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(TRect(0, 0, 8, 8));
    SetBitmapAlpha(&b, 255);
    pictures->Images()->Add()->SetBitmap(&b);
  }
  return pictures;
}

// ---- The parts of a row ---------------------------------------------------------------------

TEST(ListBoxDrawing, EachPartOfARowShowsWhereItBelongs) {
  TClassicControlsScope classic;
  auto images = SolidImages(clFuchsia);
  struct TCase {
    const char* Name;
    std::function<void(TProbeListBox*, TkaAdvancedListItem*)> Setup;
    std::function<void(TBitmap*)> Check;
  };
  const TCase cases[] = {
      {"caption", [](TProbeListBox*, TkaAdvancedListItem*) {},
       [](TBitmap* b) {
         EXPECT_GT(CountIn(b, TRect(6, 4, 150, 50), kCaptionInk, kInkTolerance), 20);
         EXPECT_EQ(CountIn(b, TRect(150, 4, 294, 50), kCaptionInk, kInkTolerance), 0);
       }},
      {"title above the caption",
       [](TProbeListBox*, TkaAdvancedListItem* i) { i->SetTitle(L"Title"); },
       [](TBitmap* b) {
         EXPECT_GT(CountIn(b, TRect(6, 4, 150, 17), kTitleInk, kInkTolerance), 20);
         EXPECT_EQ(CountIn(b, TRect(6, 20, 294, 50), kTitleInk, kInkTolerance), 0);
         EXPECT_GT(CountIn(b, TRect(6, 18, 150, 50), kCaptionInk, kInkTolerance), 20);
       }},
      {"titles hidden", [](TProbeListBox* l, TkaAdvancedListItem* i) { i->SetTitle(L"Title"), l->SetShowItemTitles(false); },
       [](TBitmap* b) { EXPECT_EQ(CountIn(b, TRect(2, 2, 298, 52), kTitleInk, kInkTolerance), 0); }},
      {"detail below",
       [](TProbeListBox* l, TkaAdvancedListItem* i) { i->SetDetail(L"Detail"), l->SetShowItemDetails(true); },
       [](TBitmap* b) {
         EXPECT_GT(CountIn(b, TRect(6, 33, 150, 50), kDetailInk, kInkTolerance), 20);
         EXPECT_EQ(CountIn(b, TRect(6, 4, 294, 30), kDetailInk, kInkTolerance), 0);
       }},
      {"detail at the right",
       [](TProbeListBox* l, TkaAdvancedListItem* i) {
         i->SetDetail(L"Detail"), l->SetShowItemDetails(true), l->SetDetailPosition(kalbdRight);
       },
       [](TBitmap* b) {
         EXPECT_GT(CountIn(b, TRect(220, 4, 294, 50), kDetailInk, kInkTolerance), 20);
         EXPECT_EQ(CountIn(b, TRect(6, 4, 200, 50), kDetailInk, kInkTolerance), 0);
       }},
      {"image left of the caption",
       [&](TProbeListBox* l, TkaAdvancedListItem* i) { l->SetImages(images.get()), i->SetImageIndex(0); },
       [](TBitmap* b) {
         EXPECT_EQ(CountIn(b, TRect(6, 19, 22, 35), clFuchsia), 16 * 16);
         EXPECT_GT(CountIn(b, TRect(22, 4, 150, 50), kCaptionInk, kInkTolerance), 20);
       }},
      {"image index beyond the list",
       [&](TProbeListBox* l, TkaAdvancedListItem* i) { l->SetImages(images.get()), i->SetImageIndex(5); },
       [](TBitmap* b) {
         EXPECT_EQ(CountIn(b, TRect(2, 2, 298, 52), clFuchsia), 0);
         EXPECT_GT(CountIn(b, TRect(27, 4, 150, 50), kCaptionInk, kInkTolerance), 20);
       }},
      {"check box checked",
       [](TProbeListBox* l, TkaAdvancedListItem* i) { l->SetShowCheckBoxes(true), i->SetChecked(true); },
       [](TBitmap* b) {
         // The classic box: a white well with a black mark, 13 pixels from x = 8.
         EXPECT_GT(CountIn(b, TRect(10, 22, 19, 31), clBlack), 5);
         EXPECT_EQ(CountIn(b, TRect(6, 4, 30, 50), kCaptionInk, kInkTolerance), 0);
       }},
      {"check box unchecked", [](TProbeListBox* l, TkaAdvancedListItem*) { l->SetShowCheckBoxes(true); },
       [](TBitmap* b) {
         EXPECT_EQ(CountIn(b, TRect(10, 22, 19, 31), clBlack), 0);
         EXPECT_GT(CountIn(b, TRect(8, 20, 21, 33), clWindow), 40);
       }},
      {"progress bar half full",
       [](TProbeListBox* l, TkaAdvancedListItem* i) { l->SetShowItemProgressBars(true), i->ProgressBar()->SetValue(50); },
       [](TBitmap* b) {
         // Band (6, 29, 294, 50); bar (9, 32, 291, 47); 140 of its 280 inner pixels filled.
         EXPECT_EQ(PixelOf(b, 9, 40), ColorToRGB(clBtnShadow));
         EXPECT_EQ(PixelOf(b, 10, 40), RGBColor(0, 128, 0));
         EXPECT_EQ(PixelOf(b, 149, 40), RGBColor(0, 128, 0));
         EXPECT_EQ(PixelOf(b, 150, 40), ColorToRGB(clWhite));
         EXPECT_EQ(CountIn(b, TRect(6, 29, 294, 50), kCaptionInk, kInkTolerance), 0);
       }},
      {"progress bar of 60 pixels, value past its maximum",
       [](TProbeListBox* l, TkaAdvancedListItem* i) {
         l->SetShowItemProgressBars(true), l->SetItemProgressBarWidth(60), i->ProgressBar()->SetValue(500);
       },
       [](TBitmap* b) {
         EXPECT_EQ(PixelOf(b, 67, 40), RGBColor(0, 128, 0));
         EXPECT_EQ(PixelOf(b, 68, 40), ColorToRGB(clBtnShadow));
         EXPECT_EQ(PixelOf(b, 90, 40), ColorToRGB(clWhite));
       }},
      {"push button",
       [](TProbeListBox*, TkaAdvancedListItem* i) { i->Button()->SetVisible(true), i->Button()->SetCaption(L"Go"); },
       [](TBitmap* b) {
         // (242, 15, 292, 40): the classic face, the caption in its middle.
         EXPECT_EQ(PixelOf(b, 246, 19), ColorToRGB(clBtnFace));
         EXPECT_EQ(PixelOf(b, 288, 36), ColorToRGB(clBtnFace));
         EXPECT_EQ(PixelOf(b, 241, 27), ColorToRGB(clWhite));
         // A push button's caption takes the button text colour of its state.
         EXPECT_GT(CountIn(b, TRect(246, 19, 288, 36), clBtnText, kInkTolerance), 10);
         EXPECT_EQ(CountIn(b, TRect(242, 15, 292, 40), kButtonInk, kInkTolerance), 0);
       }},
      {"transparent button",
       [](TProbeListBox*, TkaAdvancedListItem* i) {
         i->Button()->SetVisible(true), i->Button()->SetCaption(L"Go"), i->Button()->SetStyleKind(kalbsTransparent);
       },
       [](TBitmap* b) {
         EXPECT_EQ(PixelOf(b, 246, 19), ColorToRGB(clWhite));
         EXPECT_GT(CountIn(b, TRect(242, 15, 292, 40), kButtonInk, kInkTolerance), 10);
       }},
      {"header, default look",
       [](TProbeListBox*, TkaAdvancedListItem* i) { i->SetHeader(true), i->SetCaption(L"Group"); },
       [](TBitmap* b) {
         EXPECT_EQ(PixelOf(b, 200, 12), ColorToRGB(clBtnFace));
         EXPECT_GT(CountIn(b, TRect(7, 2, 100, 22), kHeaderInk, kInkTolerance), 20);
         EXPECT_GT(CountIn(b, TRect(6, 22, 150, 72), kCaptionInk, kInkTolerance), 20);  // row 1 moved up
       }},
      {"header, bottom line",
       [](TProbeListBox* l, TkaAdvancedListItem* i) { i->SetHeader(true), l->SetHeaderStyle(kaahsBottomLine); },
       [](TBitmap* b) {
         const TColor line = AverageColor(clWindowText, clBtnFace);
         EXPECT_EQ(CountIn(b, TRect(2, 20, 298, 22), line), 2 * 292);
         EXPECT_EQ(PixelOf(b, 200, 12), ColorToRGB(clWhite));
       }},
  };
  TListScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TProbeListBox* l = InkedList(s);
    c.Setup(l, l->Items()->Items(0));
    auto shot = l->Shot();
    c.Check(shot.get());
    l->SetImages(nullptr);
    l->Free();
  }
}

TEST(ListBoxDrawing, LinesAlternateRowsAndRowColours) {
  TClassicControlsScope classic;
  TListScene s;
  TProbeListBox* l = InkedList(s);
  l->SetHeight(200);
  l->Add(L"Third");
  l->SetShowLines(true);
  l->SetLineColor(clRed);
  l->SetAlternateRow(true);
  l->Items()->Items(2)->SetCustomColor(clYellow);
  auto shot = l->Shot();
  EXPECT_EQ(CountIn(shot.get(), TRect(2, 51, 298, 52), clRed), 296);
  EXPECT_EQ(PixelOf(shot.get(), 200, 30), ColorToRGB(clWhite));
  EXPECT_EQ(PixelOf(shot.get(), 200, 80), GetShadeColor(clWhite));
  EXPECT_EQ(PixelOf(shot.get(), 200, 110), ColorToRGB(clYellow));
  // A half-transparent row colour mixes with what is under it.
  l->Items()->Items(2)->SetCustomColorAlpha(128);
  shot = l->Shot();
  EXPECT_TRUE(Near(PixelOf(shot.get(), 200, 110), RGBColor(255, 255, 127), 2));
}

// ---- Selection looks ------------------------------------------------------------------------

TEST(ListBoxDrawing, TheFiveSelectionLooks) {
  TClassicControlsScope classic;
  auto pictures = SolidPictures({clAqua, clOlive});
  struct TCase {
    TkaAdvancedSelectionStyle Style;
    bool Focused, ShowFocusRect;
    TColor Fill;  // at a pixel of the selected row away from text; clNone: none expected
    bool Glow;
  };
  const TCase cases[] = {
      {kaastStyled, true, true, clHighlight, false},
      {kaastStyled, false, false, clNone, false},  // blended highlight, checked apart
      {kaastColor, true, true, clYellow, false},
      {kaastGlow, true, true, clWhite, true},
      {kaastCustomImage, true, true, clOlive, false},
      {kaastCustomImage, false, true, clAqua, false},
      {kaastCustomImageWithGlow, true, true, clOlive, true},
  };
  TListScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Style) + (c.Focused ? " focused" : ""));
    TProbeListBox* l = InkedList(s);
    l->SetSelectionStyle(c.Style);
    l->SetShowFocusRect(c.ShowFocusRect);
    l->SetSelectionColor(clYellow);
    l->SetSelectionTextColor(clRed);
    l->SelectionGlow()->SetColor(clLime);
    l->SetCustomImages(pictures.get());
    l->SetCustomSelectionImageIndex(0);
    l->SetCustomFocusedSelectionImageIndex(1);
    l->SetItemIndex(0);
    if (c.Focused) l->SetFocus();
    auto shot = l->Shot();
    const TColor at = PixelOf(shot.get(), 200, 30);
    if (c.Fill != clNone) {
      EXPECT_EQ(at, ColorToRGB(c.Fill));
    } else {
      // Not focused, no focus rectangle: the highlight at alpha 200 over white.
      const TColor h = ColorToRGB(clHighlight);
      EXPECT_TRUE(Near(at, RGBColor(static_cast<uint8_t>((GetRValue(h) * 200 + 255 * 55) / 255),
                                    static_cast<uint8_t>((GetGValue(h) * 200 + 255 * 55) / 255),
                                    static_cast<uint8_t>((GetBValue(h) * 200 + 255 * 55) / 255)),
                       3));
    }
    // The other row keeps the plain look.
    EXPECT_EQ(PixelOf(shot.get(), 200, 80), ColorToRGB(clWhite));
    EXPECT_GT(CountIn(shot.get(), TRect(6, 54, 150, 100), kCaptionInk, kInkTolerance), 20);
    // The selected caption leaves its ink; the glow looks put green around it.
    const int green = CountIn(shot.get(), TRect(2, 2, 150, 52), clLime, 120);
    if (c.Glow) {
      EXPECT_GT(green, 20);
    } else {
      EXPECT_EQ(green, 0);
    }
    if (c.Style == kaastColor) {
      EXPECT_GT(CountIn(shot.get(), TRect(6, 4, 150, 50), clRed, kInkTolerance), 20);
    }
    l->SetCustomImages(nullptr);
    l->Free();
  }
}

TEST(ListBoxDrawing, ThemedSelectionAndFocusFrameShow) {
  if (!StyleServices()->Enabled()) GTEST_SKIP() << "visual styles are off";
  TListScene s;
  TProbeListBox* l = InkedList(s);
  auto plain = l->Shot();
  l->SetItemIndex(0);
  l->SetFocus();
  auto selected = l->Shot();
  int changed = 0;
  for (int x = 10; x < 290; x += 7) changed += PixelOf(plain.get(), x, 40) != PixelOf(selected.get(), x, 40);
  EXPECT_GT(changed, 20);
}

// ---- Scale ----------------------------------------------------------------------------------

TEST(ListBoxDrawing, At144DpiRowsFontsButtonsAndTheBarFollowTheScale) {
  TListScene s;
  TProbeListBox* l = s.Add(10);
  l->Items()->Items(0)->SetHeader(true);
  l->Items()->Items(1)->Button()->SetVisible(true);
  const int font = l->TitleFont()->Height();
  l->ScaleForPPI(144);
  PumpPending();
  EXPECT_EQ(l->Width(), 225);
  EXPECT_EQ(l->ItemHeight(), 45);
  EXPECT_EQ(l->HeaderHeight(), 30);
  EXPECT_EQ(l->IndentMargin(), 15);
  EXPECT_EQ(l->ItemSpacing(), 8);
  EXPECT_EQ(l->ItemProgressBarHeight(), 23);
  EXPECT_EQ(l->TitleFont()->Height(), ::MulDiv(font, 144, 96));
  EXPECT_EQ(l->Row(1), TRect(2, 32, l->ItemsRect().Right, 77));
  ASSERT_NE(l->VertScrollBar(), nullptr);
  EXPECT_EQ(l->VertScrollBar()->Width(), ::GetSystemMetricsForDpi(SM_CYHSCROLL, 144));
  const TRect b = l->ButtonAt(1);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 38);
  // The content scrolls by the scaled rows: 30 + 9 x 45 = 435 in a 221 high view.
  int mn = 0, mx = 0, page = 0, pos = 0;
  l->GetScrollInfo(mn, mx, page, pos);
  EXPECT_EQ(mx, 434);
  EXPECT_EQ(page, 221);
}

// ---- Paint cost -----------------------------------------------------------------------------

// Rows drawn by one paint of the whole list, counted through OnDrawItem.
int RowsPerPaint(TProbeListBox* L) {
  int drawn = 0;
  L->OnDrawItem = [&](TCanvas*, int, const TRect&) { ++drawn; };
  L->RePaintControl();
  L->OnDrawItem = nullptr;
  return drawn;
}

TEST(ListBoxPaintCost, APaintDrawsTheRowsInViewWhateverTheRowCount) {
  TListScene s;
  for (int rows : {1000, 100000}) {
    SCOPED_TRACE(rows);
    TProbeListBox* l = s.Add(rows);
    EXPECT_EQ(RowsPerPaint(l), 5);  // 146 / 30: four whole rows and part of a fifth
    l->Scroll(rows * 15 + 7);
    EXPECT_EQ(RowsPerPaint(l), 6);  // parts of two rows at the edges
    l->ScrollToItem(rows - 1);
    EXPECT_EQ(l->Row(rows - 1).Bottom, 148);
    EXPECT_EQ(RowsPerPaint(l), 5);
    l->Free();
  }
}

TEST(ListBoxPaintCost, AChangeOfOneRowRepaintsThatRowAlone) {
  TListScene s;
  TProbeListBox* l = s.Add(20);
  std::vector<int> drawn;
  l->OnDrawItem = [&](TCanvas*, int Index, const TRect&) { drawn.push_back(Index); };
  l->Items()->Items(2)->ProgressBar()->SetValue(30);
  l->Items()->Items(3)->SetChecked(true);
  EXPECT_EQ(drawn, (std::vector<int>{2, 3}));
  // Rows out of view cost nothing.
  drawn.clear();
  l->Items()->Items(15)->SetCaption(L"far away");
  l->Items()->Items(16)->SetCustomColor(clRed);
  EXPECT_TRUE(drawn.empty());
  // The selection moving by a key repaints the two rows concerned.
  l->SetItemIndex(1);
  drawn.clear();
  l->Key(VK_DOWN);
  EXPECT_EQ(drawn, (std::vector<int>{1, 2}));
  l->OnDrawItem = nullptr;
}

}  // namespace
