#include "tools/RefSheetListBox.h"

#include <functional>
#include <memory>
#include <string>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaAdvancedControls/kaAdvancedControls.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tools/RefSheetKit.h"

namespace {

// The lists live on a form of their own (windowed controls paint through their windows), next
// to a control that takes the focus back after a focused picture.
struct TStage {
  TCustomForm* Form;
  TkaAdvancedListBox* Other;
  TStage() {
    Form = NewSheetForm(TRect(0, 0, 900, 700), clWindow);
    Form->Show();
    Other = Add(40, 40);
    Other->SetLeft(800);
  }
  ~TStage() { Form->Free(); }
  TStage(const TStage&) = delete;
  TStage& operator=(const TStage&) = delete;
  TkaAdvancedListBox* Add(int Width, int Height) {
    auto* l = new TkaAdvancedListBox(Form);
    l->SetBounds(10, 10, Width, Height);
    l->SetParent(Form);
    return l;
  }
  void Paint(TkaAdvancedListBox* L, TCanvas* C, int X, int Y, bool Focused) {
    if (Focused) L->SetFocus();
    TBitmap shot(L->Width(), L->Height());
    L->PaintTo(shot.Canvas()->Handle(), 0, 0);
    ::BitBlt(C->Handle(), X, Y, L->Width(), L->Height(), shot.Canvas()->Handle(), 0, 0, SRCCOPY);
    Other->SetFocus();
  }
};

// Three 16 x 16 pictures: a blue, a green and an orange rounded tile with a white mark.
std::unique_ptr<TImageList> Pictures() {
  auto images = std::make_unique<TImageList>(nullptr);
  const TColor fills[3] = {static_cast<TColor>(0xC07820), static_cast<TColor>(0x30A040),
                           static_cast<TColor>(0x2080E0)};
  for (TColor fill : fills) {
    TBitmap b(16, 16);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 16, 16));
    b.Canvas()->Brush()->SetColor(fill);
    b.Canvas()->Pen()->SetColor(fill);
    b.Canvas()->RoundRect(1, 1, 15, 15, 5, 5);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(5, 7, 11, 9));
    images->AddMasked(&b, clWhite);
  }
  return images;
}

TkaAdvancedListItem* Row(TkaAdvancedListBox* L, const String& Caption) {
  TkaAdvancedListItem* item = L->Items()->Add();
  item->SetCaption(Caption);
  return item;
}

// One row per part a row can show.
void PaintParts(TStage& S, TCanvas* C, int X0, int Y0, TImageList* Images) {
  SheetLabel(C, X0, Y0, L"Row parts (rows 34 high; the selected row is focused)");
  TkaAdvancedListBox* l = S.Add(340, 492);
  l->SetItemHeight(34);
  l->SetImages(Images);
  l->SetShowItemDetails(true);
  l->SetShowCheckBoxes(true);
  l->SetShowItemProgressBars(false);
  l->BeginUpdateItems();
  Row(l, L"Parts of a row")->SetHeader(true);
  Row(l, L"Caption only");
  Row(l, L"Caption under a title")->SetTitle(L"Title");
  Row(l, L"Caption with an image")->SetImageIndex(0);
  TkaAdvancedListItem* detail = Row(l, L"Detail below");
  detail->SetDetail(L"the grey detail line");
  detail->SetImageIndex(1);
  Row(l, L"Checked row")->SetChecked(true);
  TkaAdvancedListItem* button = Row(l, L"Row with a button");
  button->Button()->SetVisible(true);
  button->Button()->SetCaption(L"Open");
  TkaAdvancedListItem* flat = Row(l, L"Transparent button");
  flat->Button()->SetVisible(true);
  flat->Button()->SetCaption(L"More");
  flat->Button()->SetStyleKind(kalbsTransparent);
  Row(l, L"Looks and states")->SetHeader(true);
  Row(l, L"Indented one level")->SetIndent(1);
  Row(l, L"Indented two levels")->SetIndent(2);
  Row(l, L"Disabled row")->SetEnabled(false);
  Row(l, L"Custom colours")->SetCustomColor(static_cast<TColor>(0xD0F0FF));
  l->Items()->Items(12)->SetCustomTextColor(static_cast<TColor>(0x0050A0));
  Row(l, L"Selected row")->SetImageIndex(2);
  l->EndUpdateItems();
  l->SetItemIndex(13);
  S.Paint(l, C, X0, Y0 + 20, true);

  SheetLabel(C, X0, Y0 + 524, L"Progress bars, details at the right");
  TkaAdvancedListBox* p = S.Add(340, 150);
  p->SetItemHeight(46);
  p->SetShowItemProgressBars(true);
  p->SetShowItemDetails(true);
  p->SetDetailPosition(kalbdRight);
  for (int v : {25, 60, 100}) {
    TkaAdvancedListItem* item = Row(p, L"Copying " + std::to_wstring(v) + L" %");
    item->SetDetail(std::to_wstring(v * 12) + L" MB");
    item->ProgressBar()->SetValue(v);
  }
  S.Paint(p, C, X0, Y0 + 544, false);
}

const wchar_t* const kStyleNames[5] = {L"kaastStyled", L"kaastColor", L"kaastGlow", L"kaastCustomImage",
                                       L"kaastCustomImageWithGlow"};

// Small solid pictures for the image selection looks: normal and focused.
std::unique_ptr<TkaImageCollection> SelectionPictures() {
  auto pictures = std::make_unique<TkaImageCollection>(nullptr);
  for (TColor c : {static_cast<TColor>(0xE8D8C8), static_cast<TColor>(0xF0B070)}) {
    TBitmap b(8, 8);
    b.SetPixelFormat(pf32bit);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(TRect(0, 0, 8, 8));
    SetBitmapAlpha(&b, 255);
    pictures->Images()->Add()->SetBitmap(&b);
  }
  return pictures;
}

void PaintSelections(TStage& S, TCanvas* C, int X0, int Y0, TImageList* Images) {
  SheetLabel(C, X0, Y0, L"The five selection looks, focused and not");
  auto pictures = SelectionPictures();
  SheetLabel(C, X0 + 150, Y0 + 18, L"focused");
  SheetLabel(C, X0 + 340, Y0 + 18, L"not focused");
  for (int style = 0; style < 5; ++style) {
    const int y = Y0 + 36 + style * 104;
    SheetLabel(C, X0, y + 34, kStyleNames[style]);
    for (int focused = 1; focused >= 0; --focused) {
      TkaAdvancedListBox* l = S.Add(180, 98);
      l->SetItemHeight(30);
      l->SetImages(Images);
      l->SetSelectionStyle(static_cast<TkaAdvancedSelectionStyle>(style));
      l->SetSelectionColor(static_cast<TColor>(0xA0E0A0));
      l->SetSelectionTextColor(clBlack);
      l->SetCustomImages(pictures.get());
      l->SetCustomSelectionImageIndex(0);
      l->SetCustomFocusedSelectionImageIndex(1);
      for (int i = 0; i < 3; ++i) Row(l, L"Row " + std::to_wstring(i + 1))->SetImageIndex(i);
      l->SetItemIndex(1);
      S.Paint(l, C, X0 + 150 + (1 - focused) * 190, y, focused == 1);
      l->SetCustomImages(nullptr);
    }
  }
}

void PaintGroups(TStage& S, TCanvas* C, int X0, int Y0) {
  struct TLook {
    const wchar_t* Name;
    TkaAdvancedListBoxStyle Style;
    TkaAdvancedHeaderStyle Header;
    std::function<void(TkaAdvancedListBox*)> Setup;
  };
  const TLook looks[] = {
      {L"kaalbsGroup, lines", kaalbsGroup, kaahsDefault,
       [](TkaAdvancedListBox* l) {
         l->SetShowLines(true);
         l->SetColor(clBtnFace);
       }},
      {L"kaahsBottomLine, alternate rows", kaalbsPlain, kaahsBottomLine,
       [](TkaAdvancedListBox* l) { l->SetAlternateRow(true); }},
      {L"kaahsDefault, lines", kaalbsPlain, kaahsDefault,
       [](TkaAdvancedListBox* l) { l->SetShowLines(true); }},
  };
  for (int i = 0; i < 3; ++i) {
    const int x = X0 + i * 190;
    SheetLabel(C, x, Y0, looks[i].Name);
    TkaAdvancedListBox* l = S.Add(180, 196);
    l->SetItemHeight(26);
    l->SetStyle(looks[i].Style);
    l->SetHeaderStyle(looks[i].Header);
    looks[i].Setup(l);
    Row(l, L"Fruit")->SetHeader(true);
    for (const wchar_t* c : {L"Apple", L"Pear", L"Plum"}) Row(l, c);
    Row(l, L"Vegetables")->SetHeader(true);
    for (const wchar_t* c : {L"Carrot", L"Leek"}) Row(l, c);
    l->SetItemIndex(2);
    S.Paint(l, C, x, Y0 + 36, true);
  }
}

// The same list drawn classic and at 144 DPI.
void PaintScales(TStage& S, TCanvas* C, int X0, int Y0, TImageList* Images) {
  auto make = [&](int Dpi) {
    TkaAdvancedListBox* l = S.Add(200, 130);
    l->SetImages(Images);
    l->SetShowCheckBoxes(true);
    l->SetShowItemDetails(true);
    Row(l, L"Group")->SetHeader(true);
    TkaAdvancedListItem* a = Row(l, L"Checked row");
    a->SetChecked(true);
    a->SetImageIndex(0);
    a->SetDetail(L"detail");
    Row(l, L"Second row")->SetImageIndex(1);
    l->SetItemIndex(1);
    // Alone on its form, the list scales its own font too.
    l->SetParentFont(false);
    if (Dpi != 96) l->ScaleForPPI(Dpi);
    return l;
  };
  {
    SheetLabel(C, X0, Y0, L"Classic look, 96 DPI");
    TClassicControlsScope classic;
    S.Paint(make(96), C, X0, Y0 + 18, true);
  }
  SheetLabel(C, X0, Y0 + 170, L"Visual styles, 144 DPI");
  S.Paint(make(144), C, X0, Y0 + 188, true);
}

}  // namespace

void PaintListBoxSheet(TCanvas* C) {
  TStage stage;
  auto images = Pictures();
  PaintParts(stage, C, 10, 34, images.get());
  PaintSelections(stage, C, 380, 34, images.get());
  PaintGroups(stage, C, 380, 610);
  PaintScales(stage, C, 950, 34, images.get());
}
