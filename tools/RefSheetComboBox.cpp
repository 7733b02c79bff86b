#include "tools/RefSheetComboBox.h"

#include <functional>
#include <memory>
#include <string>

#include "framework/ImageList.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tools/RefSheetKit.h"
#include "tools/RefSheetPictures.h"

namespace {

constexpr int kFaceW = 200, kFaceH = 40, kCellW = 212, kCellH = 48;

class TSheetCombo : public TSheetPainted<TkaAdvancedComboBox> {
  KA_CLASS(TSheetCombo, TSheetPainted<TkaAdvancedComboBox>)
 public:
  using TSheetPainted<TkaAdvancedComboBox>::TSheetPainted;
};

// The combo boxes live on a form of their own, next to a control that takes the focus back
// after a focused picture.
struct TStage {
  TCustomForm* Form;
  TSheetCombo* Other;
  TStage() {
    Form = NewSheetForm(TRect(0, 0, 700, 300), clBtnFace);
    Form->Show();
    Other = Add(40, 30);
    Other->SetLeft(600);
  }
  ~TStage() { Form->Free(); }
  TStage(const TStage&) = delete;
  TStage& operator=(const TStage&) = delete;
  TSheetCombo* Add(int Width, int Height) {
    auto* c = new TSheetCombo(Form);
    c->SetBounds(10, 10, Width, Height);
    c->SetParent(Form);
    return c;
  }
  // The face as it shows, then (when it is open) the list under it.
  void PaintOpen(TSheetCombo* Combo, TCanvas* C, int X, int Y) {
    Combo->PaintState(C, X, Y, kasNormal);
    TkaAdvancedPopupListBox* list = Combo->ListBox();
    if (!Combo->DroppedDown()) return;
    TBitmap shot(list->Width(), list->Height());
    list->PaintTo(shot.Canvas()->Handle(), 0, 0);
    const int left = Combo->DropDownPosition() == kadpLeft ? X : X + Combo->Width() - list->Width();
    ::BitBlt(C->Handle(), left, Y + Combo->Height(), list->Width(), list->Height(), shot.Canvas()->Handle(), 0, 0,
             SRCCOPY);
  }
};

// Framed tints per state (normal, hot, pressed, focused, disabled), margins and content
// margins of 4, for the picture looks.
void AddFaces(TkaImageCollection& Faces) {
  const TColor tints[5] = {static_cast<TColor>(0xF0E0D0), static_cast<TColor>(0xFFD8A0),
                           static_cast<TColor>(0xE0A050), static_cast<TColor>(0xFFE8C8), static_cast<TColor>(0xE8E8E8)};
  for (TColor tint : tints) {
    TBitmap face(12, 12);
    face.Canvas()->Brush()->SetColor(static_cast<TColor>(0x906030));
    face.Canvas()->FillRect(TRect(0, 0, 12, 12));
    face.Canvas()->Brush()->SetColor(tint);
    face.Canvas()->FillRect(TRect(1, 1, 11, 11));
    auto* item = Faces.Images()->Add();
    item->SetBitmap(&face);
    for (auto set : {&TkaBitmapOptions::SetLeftMargin, &TkaBitmapOptions::SetTopMargin,
                     &TkaBitmapOptions::SetRightMargin, &TkaBitmapOptions::SetBottomMargin,
                     &TkaBitmapOptions::SetContentLeftMargin, &TkaBitmapOptions::SetContentTopMargin,
                     &TkaBitmapOptions::SetContentRightMargin, &TkaBitmapOptions::SetContentBottomMargin})
      (item->BitmapOptions()->*set)(4);
  }
}

// A frame with a see-through middle for kacbCustomImageOverContent: the row shows through it
// and the frame lies over the row's edges. Margins 5, content margins 3.
void AddOverlay(TkaImageCollection& Faces) {
  TBitmap frame(16, 16);
  frame.SetPixelFormat(pf32bit);
  frame.Canvas()->Brush()->SetColor(static_cast<TColor>(0x3080C0));
  frame.Canvas()->FillRect(TRect(0, 0, 16, 16));
  ::GdiFlush();
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<uint8_t*>(frame.ScanLine(y));
    for (int x = 0; x < 16; ++x) {
      const bool rim = x < 4 || y < 4 || x >= 12 || y >= 12;
      uint8_t* p = row + 4 * x;
      // Premultiplied: the middle is fully transparent.
      if (rim) {
        p[3] = 255;
      } else {
        p[0] = p[1] = p[2] = p[3] = 0;
      }
    }
  }
  auto* item = Faces.Images()->Add();
  item->SetBitmap(&frame);
  TkaBitmapOptions* o = item->BitmapOptions();
  o->SetLeftMargin(5), o->SetTopMargin(5), o->SetRightMargin(5), o->SetBottomMargin(5);
  o->SetContentLeftMargin(3), o->SetContentTopMargin(3), o->SetContentRightMargin(3), o->SetContentBottomMargin(3);
  item->CheckBitmapOptions();
}

const wchar_t* const kStates[5] = {L"normal", L"hot", L"focused", L"open", L"disabled"};

void PaintLooks(TStage& S, TCanvas* C, int X0, int Y0, TImageList* Images) {
  SheetLabel(C, X0, Y0, L"The eleven looks (Style) in five states; the row shows an image and a caption");
  for (int s = 0; s < 5; ++s) SheetLabel(C, X0 + 220 + s * kCellW, Y0 + 20, kStates[s]);
  TkaImageCollection faces(nullptr);
  AddFaces(faces);
  TSheetCombo* c = S.Add(kFaceW, kFaceH);
  c->Add({L"Selected row", L"Second row"});
  c->Items()->Items(0)->SetImageIndex(0);
  c->SetImages(Images);
  c->InitItemIndex(0);
  c->SetCustomImages(&faces);
  c->SetCustomImageNormalIndex(0), c->SetCustomImageHotIndex(1), c->SetCustomImagePressedIndex(2);
  c->SetCustomImageFocusedIndex(3), c->SetCustomImageDisabledIndex(4);
  const TEnumInfo& styles = EnumInfoOf<TkaAdvancedComboStyle>();
  TkaImageCollection overlay(nullptr);
  AddOverlay(overlay);
  for (int style = kacbCombo; style <= kacbCustomImageOverContent; ++style) {
    const int y = Y0 + 40 + style * kCellH;
    SheetLabel(C, X0, y + 12, styles.NameOf(style));
    c->SetStyle(static_cast<TkaAdvancedComboStyle>(style));
    if (style == kacbCustomImageOverContent) {
      c->SetCustomImages(&overlay);
      for (auto set : {&TkaAdvancedComboBox::SetCustomImageHotIndex, &TkaAdvancedComboBox::SetCustomImagePressedIndex,
                       &TkaAdvancedComboBox::SetCustomImageFocusedIndex,
                       &TkaAdvancedComboBox::SetCustomImageDisabledIndex})
        (c->*set)(-1);
    }
    S.Other->SetFocus();
    const int x = X0 + 220;
    c->PaintState(C, x, y, kasNormal);
    c->PaintState(C, x + kCellW, y, kasHot);
    c->SetFocus();
    c->PaintState(C, x + 2 * kCellW, y, kasNormal);
    S.Other->SetFocus();
    c->DropDown();
    c->PaintState(C, x + 3 * kCellW, y, kasNormal);
    c->CloseUp(false);
    c->SetEnabled(false);
    c->PaintState(C, x + 4 * kCellW, y, kasDisabled);
    c->SetEnabled(true);
  }
  c->SetCustomImages(nullptr);
  c->SetImages(nullptr);
  c->Free();
}

// The demo's backdrop chooser open on its last row.
void PaintDemoChooser(TStage& S, TCanvas* C, int X0, int Y0) {
  SheetLabel(C, X0, Y0, L"The demo's backdrop chooser (kacbPushButton, details), open");
  TSheetCombo* c = S.Add(396, 52);
  c->SetStyle(kacbPushButton);
  c->SetShowItemDetail(true);
  c->SetListBoxShowItemDetails(true);
  c->SetListBoxItemHeight(40);
  const wchar_t* rows[4][2] = {{L"kafuibNone", L"Blur Background is Disabled"},
                               {L"kafuibBlur", L"Blur Background is Enabled"},
                               {L"kafuibAcrylic", L"Acrylic Background is Enabled"},
                               {L"kafuibAcrylicBlurAuto",
                                L"Background is adjusted regarding best performance and Windows version"}};
  for (const auto& row : rows) {
    TkaAdvancedListItem* item = c->Items()->Add();
    item->SetCaption(row[0]);
    item->SetDetail(row[1]);
  }
  c->InitItemIndex(3);
  S.Other->SetFocus();
  c->DropDown();
  S.PaintOpen(c, C, X0, Y0 + 20);
  c->CloseUp(false);
  c->Free();
}

void PaintCheckedList(TStage& S, TCanvas* C, int X0, int Y0) {
  SheetLabel(C, X0, Y0, L"Checked-list mode (kacbCombo), open");
  TSheetCombo* c = S.Add(260, 41);
  c->Add({L"Apple", L"Pear", L"Plum", L"Cherry", L"Quince"});
  c->SetCheckedListMode(true);
  c->Items()->Items(0)->SetChecked(true);
  c->Items()->Items(2)->SetChecked(true);
  c->Items()->Items(3)->SetChecked(true);
  c->InitItemIndex(2);
  S.Other->SetFocus();
  c->DropDown();
  S.PaintOpen(c, C, X0, Y0 + 20);
  c->CloseUp(false);
  c->Free();
}

void PaintScaled(TStage& S, TCanvas* C, int X0, int Y0, TImageList* Images) {
  SheetLabel(C, X0, Y0, L"144 DPI (kacbToolButtonTransparent, focused, details), open");
  TSheetCombo* c = S.Add(180, 41);
  c->SetStyle(kacbToolButtonTransparent);
  c->SetImages(Images);
  c->SetShowItemDetail(true);
  c->SetListBoxShowItemDetails(true);
  c->SetListBoxItemHeight(34);
  for (const wchar_t* caption : {L"First row", L"Second row", L"Third row"}) {
    TkaAdvancedListItem* item = c->Items()->Add();
    item->SetCaption(caption);
    item->SetDetail(L"its detail");
    item->SetImageIndex(0);
  }
  // Alone on its form, the control scales its own font too.
  c->SetParentFont(false);
  c->ScaleForPPI(144);
  c->InitItemIndex(1);
  c->SetFocus();
  c->DropDown();
  S.PaintOpen(c, C, X0, Y0 + 20);
  c->CloseUp(false);
  c->SetImages(nullptr);
  S.Other->SetFocus();
  c->Free();
}

}  // namespace

void PaintComboBoxSheet(TCanvas* C) {
  TStage stage;
  TImageList images(nullptr);
  AddListGlyph(images, false);
  PaintLooks(stage, C, 10, 34, &images);
  const int y = 34 + 40 + 11 * kCellH + 20;
  PaintDemoChooser(stage, C, 10, y);
  PaintCheckedList(stage, C, 440, y);
  PaintScaled(stage, C, 740, y, &images);
}
