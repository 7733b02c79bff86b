// The advanced combo box's face: the eleven looks at chosen pixels in their states, the
// arrows, the row's parts in their fonts, the focused selection, checked captions, pictures
// with margins, and bad image indexes.
#include <gtest/gtest.h>

#include <functional>

#include "framework/ImageList.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/lib/kaAdvancedControls/ComboBoxTesting.h"

namespace {

const TColor kBack = RGBColor(180, 220, 180);

// A combo box with three rows (the first selected) on a form of kBack, and a second control
// that takes the focus away from it.
struct TFaceScene : TComboScene {
  TProbeCombo* Combo;
  TProbeCombo* Other;
  explicit TFaceScene(int Width = 160, int Height = 40) : TComboScene(TRect(80, 80, 580, 480), kBack) {
    Other = Add(1, 300, 300, 60, 30);
    Combo = Add(3, 20, 20, Width, Height);
    Combo->InitItemIndex(0);
    Other->SetFocus();
    PumpPending();
  }
};

enum TWhen { kNormal, kHot, kDropped, kFocused };

std::unique_ptr<TBitmap> FaceWhen(TFaceScene& S, TWhen When) {
  TProbeCombo* c = S.Combo;
  if (When == kFocused) {
    c->SetFocus();
    return c->Shot();
  }
  S.Other->SetFocus();
  if (When == kHot) {
    c->Shot();
    return c->ShotIn(kasHot);
  }
  if (When == kNormal) return c->Shot();
  c->DropDown();
  auto shot = c->Shot();
  c->CloseUp(false);
  return shot;
}

using TPainter = std::function<void(TCanvas*, const TRect&, TkasCtrlState, const TControl*)>;

// What a face painter draws at P over kBack, for the combo box's size.
TColor PainterPixel(TProbeCombo* C, const TPainter& Paint, TkasCtrlState S, TPoint P) {
  TBitmap b(C->Width(), C->Height());
  b.Canvas()->Brush()->SetColor(kBack);
  b.Canvas()->FillRect(TRect(0, 0, C->Width(), C->Height()));
  Paint(b.Canvas(), TRect(0, 0, C->Width(), C->Height()), S, C);
  return PixelOf(&b, P.X, P.Y);
}

const TPainter kPush = [](TCanvas* C, const TRect& R, TkasCtrlState S, const TControl* Ctl) {
  DrawPushButtonElement(C, R, S, Ctl, 1.0, false);
};
const TPainter kTool = [](TCanvas* C, const TRect& R, TkasCtrlState S, const TControl* Ctl) {
  DrawToolButtonElement(C, R, S, Ctl);
};

// Solid pictures: one per colour, with the margins given.
std::unique_ptr<TkaImageCollection> Pictures(std::initializer_list<TColor> Colors, int Margin = 0,
                                             int ContentMargin = 0) {
  auto pictures = std::make_unique<TkaImageCollection>(nullptr);
  for (TColor c : Colors) {
    TBitmap b(20, 20);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(TRect(0, 0, 20, 20));
    TkaImageCollectionItem* item = pictures->Images()->Add();
    item->SetBitmap(&b);
    item->SetDrawStyle(idsStretch);
    TkaBitmapOptions* o = item->BitmapOptions();
    o->SetLeftMargin(Margin);
    o->SetTopMargin(Margin);
    o->SetRightMargin(Margin);
    o->SetBottomMargin(Margin);
    o->SetContentLeftMargin(ContentMargin);
    o->SetContentTopMargin(ContentMargin);
    o->SetContentRightMargin(ContentMargin);
    o->SetContentBottomMargin(ContentMargin);
  }
  return pictures;
}

// Text pixels by their strongest channel (text is anti-aliased, its cores are not).
bool Reddish(TColor C) { return GetRValue(C) > 150 && GetGValue(C) < 110 && GetBValue(C) < 110; }
bool Bluish(TColor C) { return GetBValue(C) > 150 && GetRValue(C) < 110 && GetGValue(C) < 110; }
bool Greenish(TColor C) { return GetGValue(C) > 90 && GetRValue(C) < 70 && GetBValue(C) < 70; }
bool Dark(TColor C) { return GetRValue(C) < 80 && GetGValue(C) < 80 && GetBValue(C) < 80; }

// The rows of R that hold pixels Which accepts: first and last (-1 when none).
std::pair<int, int> InkRows(TBitmap* B, const TRect& R, bool (*Which)(TColor)) {
  int first = -1, last = -1;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Which(ColorToRGB(PixelOf(B, x, y)))) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

int CountWhere(TBitmap* B, const TRect& R, bool (*Which)(TColor)) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) n += Which(ColorToRGB(PixelOf(B, x, y)));
  return n;
}

// ---- The looks ------------------------------------------------------------------------------

TEST(ComboBoxFace, EachLookDrawsItsFaceInItsStates) {
  struct TCase {
    const char* Name;
    TkaAdvancedComboStyle Style;
    TWhen When;
    // The colour expected inside the face beside the row, and on the last pixel row.
    std::function<TColor(TProbeCombo*, TPoint)> Face;
    std::function<TColor(TProbeCombo*)> Bottom;
    bool Edges = false;
  };
  auto back = [](TProbeCombo*, TPoint) { return kBack; };
  auto painter = [](const TPainter& P, TkasCtrlState S) {
    return [P, S](TProbeCombo* C, TPoint At) { return PainterPixel(C, P, S, At); };
  };
  auto colour = [](TColor Color) { return [Color](TProbeCombo*) { return ColorToRGB(Color); }; };
  const TColor field = RGBColor(255, 250, 220);
  const TCase cases[] = {
      {"combo", kacbCombo, kNormal, [&](TProbeCombo*, TPoint) { return field; }, nullptr},
      {"combo dropped", kacbCombo, kDropped, [&](TProbeCombo*, TPoint) { return field; }, nullptr},
      {"push", kacbPushButton, kNormal, painter(kPush, kasNormal), nullptr, true},
      {"push dropped", kacbPushButton, kDropped, painter(kPush, kasPressed), nullptr, true},
      {"push focused", kacbPushButton, kFocused, painter(kPush, kasHot), nullptr, true},
      {"tool hot", kacbToolButton, kHot, painter(kTool, kasHot), nullptr, true},
      {"tool dropped", kacbToolButton, kDropped, painter(kTool, kasPressed), nullptr, true},
      {"push transparent", kacbPushButtonTransparent, kNormal, back, colour(kBack), true},
      {"push transparent hot", kacbPushButtonTransparent, kHot, painter(kPush, kasHot), nullptr, true},
      {"tool transparent", kacbToolButtonTransparent, kNormal, back, colour(kBack), true},
      {"tool transparent dropped", kacbToolButtonTransparent, kDropped, painter(kTool, kasPressed), nullptr, true},
      {"transparent", kacbTransparent, kFocused, back, colour(kBack), true},
      {"bottom line", kacbTransparentBottomLine, kHot, back, colour(clBtnShadow)},
      {"active bottom line", kacbTransparentActiveBottomLine, kNormal, back, colour(clBtnShadow)},
      {"active bottom line hot", kacbTransparentActiveBottomLine, kHot, back, colour(clHighlight)},
      {"active bottom line focused", kacbTransparentActiveBottomLine, kFocused, back, colour(clHighlight)},
      {"colour", kacbColorCombo, kNormal, [](TProbeCombo*, TPoint) { return RGBColor(250, 240, 200); },
       colour(RGBColor(200, 0, 0))},
      {"colour dropped", kacbColorCombo, kDropped, [](TProbeCombo*, TPoint) { return RGBColor(120, 120, 250); },
       colour(RGBColor(0, 0, 200))},
      {"picture", kacbCustomImage, kNormal, [](TProbeCombo*, TPoint) { return RGBColor(240, 200, 240); }, nullptr},
      {"picture focused", kacbCustomImage, kFocused, [](TProbeCombo*, TPoint) { return RGBColor(200, 240, 240); },
       nullptr},
      {"picture dropped", kacbCustomImage, kDropped, [](TProbeCombo*, TPoint) { return RGBColor(240, 240, 160); },
       nullptr},
  };
  auto pictures = Pictures({RGBColor(240, 200, 240), RGBColor(200, 240, 240), RGBColor(240, 240, 160)});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFaceScene s;
    TProbeCombo* combo = s.Combo;
    combo->SetColor(field);
    combo->SetStyle(c.Style);
    TkaButtonColorOptions* o = combo->ColorOptions();
    o->SetNormalColor(RGBColor(250, 240, 200));
    o->SetFrameNormalColor(RGBColor(200, 0, 0));
    o->SetPressedColor(RGBColor(120, 120, 250));
    o->SetFramePressedColor(RGBColor(0, 0, 200));
    combo->SetCustomImages(pictures.get());
    combo->SetCustomImageNormalIndex(0);
    combo->SetCustomImageFocusedIndex(1);
    combo->SetCustomImagePressedIndex(2);
    combo->SetCustomImageHotIndex(7);  // not there: the normal picture stands in
    auto shot = FaceWhen(s, c.When);
    // Beside the row, and (where the face is drawn up to the edge) on the left edge, where
    // the elements show their state.
    std::vector<TPoint> points{TPoint(combo->CBItem.R.Left + 1, combo->CBItem.R.Top + 1)};
    if (c.Edges) points.insert(points.end(), {TPoint(0, 20), TPoint(1, 20)});
    for (TPoint at : points) EXPECT_TRUE(Near(PixelOf(shot.get(), at.X, at.Y), c.Face(combo, at), 2)) << at.X;
    if (c.Bottom) {
      EXPECT_EQ(PixelOf(shot.get(), combo->Width() / 2, combo->Height() - 1), c.Bottom(combo));
    }
    combo->SetCustomImages(nullptr);
  }
}

TEST(ComboBoxFace, ToolLooksDrawTheTriangleAndTheOthersTheComboArrow) {
  TFaceScene s;
  TProbeCombo* c = s.Combo;
  for (TkaAdvancedComboStyle style : {kacbToolButton, kacbPushButton, kacbTransparent}) {
    SCOPED_TRACE(style);
    c->SetStyle(style);
    auto shot = c->Shot();
    const TRect b = c->Button.R;
    const TColor ink = ColorToRGB(style == kacbToolButton ? GetToolButtonTextColor(kasNormal, c)
                                  : style == kacbPushButton ? GetButtonTextColor(kasNormal, c)
                                                            : GetCheckBoxTextColor(kasNormal, c));
    // The glyph as its routine draws it on an empty sheet, pixel for pixel in the face.
    TBitmap expected(c->Width(), c->Height());
    expected.Canvas()->Brush()->SetColor(clWhite);
    expected.Canvas()->FillRect(TRect(0, 0, c->Width(), c->Height()));
    if (style == kacbToolButton)
      DrawTriangleArrow(expected.Canvas(), b, ink, 1.0, kaArrowDown);
    else
      DrawComboArrow(expected.Canvas(), b, ink, c, 1.0);
    int glyph = 0;
    for (int y = b.Top; y < b.Bottom; ++y)
      for (int x = b.Left; x < b.Right; ++x)
        if (PixelOf(&expected, x, y) == ink) {
          ++glyph;
          EXPECT_EQ(PixelOf(shot.get(), x, y), ink) << x << ", " << y;
        }
    EXPECT_GT(glyph, 6);
  }
  // The triangle at scale 1: rows of 7, 5, 3 and 1 pixels from the centre row up.
  c->SetStyle(kacbToolButton);
  auto shot = c->Shot();
  const TRect b = c->Button.R;
  const int cy = b.Top + b.Height() / 2;
  const TColor ink = ColorToRGB(GetToolButtonTextColor(kasNormal, c));
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(CountIn(shot.get(), TRect(b.Left, cy - 1 + k, b.Right, cy + k), ink), 7 - 2 * k);
}

TEST(ComboBoxFace, CustomArrowPictureStandsInForTheGlyph) {
  TFaceScene s;
  TProbeCombo* c = s.Combo;
  auto pictures = Pictures({RGBColor(220, 30, 30), RGBColor(30, 30, 220)});
  c->SetStyle(kacbTransparent);
  c->SetCustomImages(pictures.get());
  c->SetCustomArrowImageNormalIndex(0);
  c->SetCustomArrowImagePressedIndex(1);
  auto shot = c->Shot();
  // As wide as the picture (20) when that is wider than 17.
  EXPECT_EQ(c->Button.R.Width(), 21);
  const TPoint mid(c->Button.R.Left + c->Button.R.Width() / 2, c->Button.R.Top + c->Button.R.Height() / 2);
  EXPECT_EQ(PixelOf(shot.get(), mid.X, mid.Y), RGBColor(220, 30, 30));
  c->DropDown();
  shot = c->Shot();
  EXPECT_EQ(PixelOf(shot.get(), mid.X, mid.Y), RGBColor(30, 30, 220));
  c->CloseUp(false);
  c->SetCustomImages(nullptr);
}

// ---- Pictures with margins ------------------------------------------------------------------

TEST(ComboBoxFace, PictureMarginsPlaceTheRowAndTheButtonInside) {
  TFaceScene s(160, 40);
  TProbeCombo* c = s.Combo;
  auto framed = Pictures({RGBColor(240, 200, 240)}, 6);
  c->SetStyle(kacbCustomImage);
  c->SetCustomImages(framed.get());
  c->SetCustomImageNormalIndex(0);
  c->Shot();
  const int bw = std::max(::GetSystemMetricsForDpi(SM_CXVSCROLL, 96), 0) + 1;
  EXPECT_EQ(c->Button.R, TRect(160 - 3 - bw, 6, 160 - 3, 34));
  EXPECT_EQ(c->CBItem.R, TRect(6, 6, 160 - 3 - bw - 1, 34));
  c->SetBiDiMode(bdRightToLeft);
  c->Shot();
  EXPECT_EQ(c->Button.R, TRect(3, 6, 3 + bw, 34));
  EXPECT_EQ(c->CBItem.R, TRect(3 + bw + 1, 6, 154, 34));
  c->SetBiDiMode(bdLeftToRight);

  // Over the content: the content margins place the row, and the picture covers it.
  auto over = Pictures({RGBColor(240, 200, 240)}, 0, 5);
  c->SetStyle(kacbCustomImageOverContent);
  c->SetCustomImages(over.get());
  c->Font()->SetColor(clBlue);
  c->ColorOptions()->SetFontNormalColor(clBlue);
  auto shot = c->Shot();
  EXPECT_EQ(c->CBItem.R.Left, 5);
  EXPECT_EQ(CountWhere(shot.get(), TRect(0, 0, c->Width(), c->Height()), Bluish), 0);
  c->SetStyle(kacbCustomImage);
  c->SetCustomImages(framed.get());
  shot = c->Shot();
  EXPECT_GT(CountWhere(shot.get(), c->CBItem.R, Bluish), 0);
  c->SetCustomImages(nullptr);
}

// ---- The row --------------------------------------------------------------------------------

TEST(ComboBoxFace, TitleCaptionAndDetailEachGoInTheirBandAndFont) {
  TFaceScene s(240, 64);
  TProbeCombo* c = s.Combo;
  c->SetStyle(kacbTransparent);
  s.Form->SetColor(clWhite);
  c->SetParentFont(false);
  // The transparent looks write in the font's colour only when asked to.
  c->SetUseFontColorToStyleColor(true);
  c->Font()->SetColor(clBlue);
  c->TitleFont()->SetColor(clRed);
  c->DetailFont()->SetColor(RGBColor(0, 140, 0));
  c->SetShowItemDetail(true);
  TkaAdvancedListItem* item = c->Items()->Items(0);
  item->SetTitle(L"Title");
  item->SetCaption(L"Caption");
  item->SetDetail(L"Detail line");
  auto shot = c->Shot();
  TRect r = c->CBItem.R;
  r.Inflate(-4, -2);
  TBitmap probe(1, 1);
  probe.Canvas()->SetFont(c->TitleFont());
  const int titleH = probe.Canvas()->TextHeight(L"Wq");
  probe.Canvas()->SetFont(c->DetailFont());
  const int detailTop = r.Bottom - probe.Canvas()->TextHeight(L"Wq") - 4;
  const auto red = InkRows(shot.get(), r, Reddish);
  const auto blue = InkRows(shot.get(), r, Bluish);
  const auto green = InkRows(shot.get(), r, Greenish);
  ASSERT_GE(red.first, 0);
  ASSERT_GE(blue.first, 0);
  ASSERT_GE(green.first, 0);
  EXPECT_LT(red.second, r.Top + titleH);
  EXPECT_GE(blue.first, r.Top + titleH);
  EXPECT_LE(blue.second, detailTop + 2);
  EXPECT_GE(green.first, detailTop);
  // Without a title and detail shown, the caption alone is centred.
  c->SetShowItemTitle(false);
  c->SetShowItemDetail(false);
  shot = c->Shot();
  EXPECT_EQ(InkRows(shot.get(), r, Reddish).first, -1);
  EXPECT_EQ(InkRows(shot.get(), r, Greenish).first, -1);
  const auto alone = InkRows(shot.get(), r, Bluish);
  EXPECT_NEAR((alone.first + alone.second) / 2.0, (r.Top + r.Bottom) / 2.0, 4);
}

TEST(ComboBoxFace, FocusedComboMarksTheRowAndHiddenSelectionKeepsTheTextReadable) {
  TFaceScene s;
  TProbeCombo* c = s.Combo;
  c->SetColor(clWhite);
  c->SetSelectionStyle(kaastColor);
  c->SetSelectionColor(clYellow);
  c->SetSelectionTextColor(clRed);
  auto shot = FaceWhen(s, kFocused);
  const TRect r = c->CBItem.R;
  EXPECT_EQ(PixelOf(shot.get(), r.Left + 1, r.Bottom - 2), ColorToRGB(clYellow));
  EXPECT_GT(CountWhere(shot.get(), r, Reddish), 0);
  // Hidden selection: no fill, and the text in the field's colour rather than the selection's.
  c->SetHideSelection(true);
  shot = FaceWhen(s, kFocused);
  EXPECT_EQ(PixelOf(shot.get(), r.Left + 1, r.Bottom - 2), ColorToRGB(clWhite));
  EXPECT_EQ(CountWhere(shot.get(), r, Reddish), 0);
  EXPECT_GT(CountWhere(shot.get(), r, Dark), 0);
  // Not focused: the field's colours too.
  c->SetHideSelection(false);
  shot = FaceWhen(s, kNormal);
  EXPECT_EQ(PixelOf(shot.get(), r.Left + 1, r.Bottom - 2), ColorToRGB(clWhite));
  EXPECT_GT(CountWhere(shot.get(), r, Dark), 0);
  // Disabled: grey text only.
  c->SetEnabled(false);
  shot = c->Shot();
  EXPECT_EQ(CountWhere(shot.get(), r, Dark), 0);
  EXPECT_GT(CountIn(shot.get(), r, clGrayText, 40), 0);
}

TEST(ComboBoxFace, CheckedCaptionsOrOwnDrawingFillTheRowArea) {
  TFaceScene s;
  TProbeCombo* c = s.Combo;
  c->SetStyle(kacbTransparent);
  c->SetCheckedListMode(true);
  auto shot = c->Shot();
  EXPECT_EQ(CountWhere(shot.get(), c->CBItem.R, Dark), 0);
  c->Items()->Items(2)->SetChecked(true);
  shot = c->Shot();
  EXPECT_GT(CountWhere(shot.get(), c->CBItem.R, Dark), 0);
  // A handler of its own draws instead, given the row and the area inside the padding.
  int index = -2;
  TRect area;
  c->SetCheckedListMode(false);
  c->OnDrawItem = [&](TCanvas*, int Index, const TRect& R) {
    index = Index;
    area = R;
  };
  shot = c->Shot();
  EXPECT_EQ(index, 0);
  TRect expected = c->CBItem.R;
  expected.Inflate(-4, -2);
  EXPECT_EQ(area, expected);
  EXPECT_EQ(CountWhere(shot.get(), c->CBItem.R, Dark), 0);
}

TEST(ComboBoxFace, ImagesTheListDoesNotHoldAreLeftOut) {
  TFaceScene s(200, 40);
  TProbeCombo* c = s.Combo;
  c->SetStyle(kacbTransparent);
  s.Form->SetColor(clWhite);
  c->SetParentFont(false);
  c->SetUseFontColorToStyleColor(true);
  c->Font()->SetColor(clBlue);
  TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 16, 16));
  images.Add(&red, nullptr);
  c->SetImages(&images);
  TkaAdvancedListItem* item = c->Items()->Items(0);
  for (int index : {0, 5, -7}) {
    SCOPED_TRACE(index);
    item->SetImageIndex(index);
    auto shot = c->Shot();
    EXPECT_EQ(CountWhere(shot.get(), c->CBItem.R, Reddish) > 0, index == 0);
    // The caption keeps to the right of the image column either way.
    const auto ink = InkRows(shot.get(), c->CBItem.R, Bluish);
    EXPECT_GE(ink.first, 0);
    int left = c->Width();
    for (int y = c->CBItem.R.Top; y < c->CBItem.R.Bottom; ++y)
      for (int x = c->CBItem.R.Left; x < c->CBItem.R.Right; ++x)
        if (Bluish(ColorToRGB(PixelOf(shot.get(), x, y)))) left = std::min(left, x);
    EXPECT_GE(left, c->CBItem.R.Left + 4 + 16 + 5);
  }
  c->SetImages(nullptr);
}

TEST(ComboBoxFace, PaintingEveryLookLeavesNoHandlesBehind) {
  TFaceScene s;
  TProbeCombo* c = s.Combo;
  auto pictures = Pictures({RGBColor(240, 200, 240)}, 4, 4);
  c->SetCustomImages(pictures.get());
  c->SetCustomImageNormalIndex(0);
  c->SetShowItemDetail(true);
  auto round = [&] {
    for (int style = kacbCombo; style <= kacbCustomImageOverContent; ++style) {
      c->SetStyle(static_cast<TkaAdvancedComboStyle>(style));
      c->SetSelectionStyle(style % 2 ? kaastGlow : kaastColor);
      FaceWhen(s, kFocused);
      FaceWhen(s, kDropped);
    }
  };
  round();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 3; ++i) round();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
  c->SetCustomImages(nullptr);
}

}  // namespace
