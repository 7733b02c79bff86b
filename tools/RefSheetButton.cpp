#include "tools/RefSheetButton.h"

#include <memory>
#include <string>

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tools/RefSheetKit.h"
#include "tools/RefSheetPictures.h"

namespace {

constexpr int kCellW = 136, kCellH = 44, kButtonW = 124, kButtonH = 34;

class TSheetButton : public TSheetPainted<TkaButton> {
  KA_CLASS(TSheetButton, TSheetPainted<TkaButton>)
 public:
  using TSheetPainted<TkaButton>::TSheetPainted;
};

// The buttons live on a form of their own.
struct TStage {
  TCustomForm* Form;
  TStage() {
    Form = NewSheetForm(TRect(0, 0, 400, 200), clWindow);
    Form->Show();
  }
  ~TStage() { Form->Free(); }
  TSheetButton* Add(int Width = kButtonW, int Height = kButtonH) {
    auto* b = new TSheetButton(Form);
    b->SetBounds(10, 10, Width, Height);
    b->SetParent(Form);
    return b;
  }
};

const wchar_t* const kStateNames[5] = {L"normal", L"hot", L"pressed", L"focused", L"disabled"};

void PaintKinds(TCanvas* C, int X0, int Y0, bool Classic) {
  std::unique_ptr<TClassicControlsScope> classic;
  if (Classic) classic = std::make_unique<TClassicControlsScope>();
  const bool styled = StyleServices()->Enabled();
  SheetLabel(C, X0, Y0, Classic ? L"Classic (no visual styles)"
                           : styled ? L"Visual styles (uxtheme)" : L"As the system draws (no visual styles here)");
  for (int s = 0; s < 5; ++s) SheetLabel(C, X0 + s * kCellW, Y0 + 18, kStateNames[s]);
  TStage stage;
  TSheetButton* b = stage.Add();
  // The custom-image kinds draw a framed tint per state, with content margins of 4.
  TkaImageCollection faces(nullptr);
  const TColor tints[5] = {static_cast<TColor>(0xF0E0D0), static_cast<TColor>(0xFFD8A0),
                           static_cast<TColor>(0xE0A050), static_cast<TColor>(0xFFE8C8), static_cast<TColor>(0xE8E8E8)};
  for (int s = 0; s < 5; ++s) {
    TBitmap face(12, 12);
    face.Canvas()->Brush()->SetColor(static_cast<TColor>(0x906030));
    face.Canvas()->FillRect(TRect(0, 0, 12, 12));
    face.Canvas()->Brush()->SetColor(tints[s]);
    face.Canvas()->FillRect(TRect(1, 1, 11, 11));
    auto* item = faces.Images()->Add();
    item->SetBitmap(&face);
    for (auto set : {&TkaBitmapOptions::SetLeftMargin, &TkaBitmapOptions::SetTopMargin,
                     &TkaBitmapOptions::SetRightMargin, &TkaBitmapOptions::SetBottomMargin,
                     &TkaBitmapOptions::SetContentLeftMargin, &TkaBitmapOptions::SetContentTopMargin,
                     &TkaBitmapOptions::SetContentRightMargin, &TkaBitmapOptions::SetContentBottomMargin})
      (item->BitmapOptions()->*set)(4);
  }
  b->SetCustomImages(&faces);
  b->SetCustomImageNormalIndex(0), b->SetCustomImageHotIndex(1), b->SetCustomImagePressedIndex(2);
  b->SetCustomImageFocusedIndex(3), b->SetCustomImageDisabledIndex(4);
  for (int k = 0; k <= kabsDropDownCombo; ++k) {
    b->SetStyleKind(static_cast<TkaButtonStyleKind>(k));
    b->SetCaption(L"Button");
    const int y = Y0 + 36 + k * kCellH;
    for (int s = 0; s < 5; ++s) b->PaintState(C, X0 + s * kCellW, y, static_cast<TkasCtrlState>(s));
  }
  b->SetCustomImages(nullptr);
}

// Split zones, the drop-down combo, a title line, image margins, the link's glow and 144 DPI.
void PaintArrangements(TCanvas* C, int X0, int Y0) {
  SheetLabel(C, X0, Y0, L"Arrangements (normal, hot, pressed)");
  TStage stage;
  TPopupMenu menu(nullptr);
  TImageList images(nullptr);
  AddListGlyph(images, false);
  struct TRow {
    const wchar_t* Name;
    std::function<void(TSheetButton*)> Setup;
  };
  const TRow rows[] = {
      {L"split, arrow right", [&](TSheetButton* b) { b->SetDropDownMenu(&menu), b->SetSplitButton(true); }},
      {L"split, arrow bottom",
       [&](TSheetButton* b) {
         b->SetDropDownMenu(&menu), b->SetSplitButton(true), b->SetArrowPosition(kaapBottom);
         b->SetHeight(48);
       }},
      {L"menu arrow, tool", [&](TSheetButton* b) { b->SetDropDownMenu(&menu), b->SetStyleKind(kabsToolButton); }},
      {L"drop-down combo", [&](TSheetButton* b) { b->SetDropDownMenu(&menu), b->SetStyleKind(kabsDropDownCombo); }},
      {L"colour button, split",
       [&](TSheetButton* b) {
         b->SetStyleKind(kabsColorButton), b->SetDropDownMenu(&menu), b->SetSplitButton(true);
       }},
      {L"title and image",
       [&](TSheetButton* b) {
         b->SetHeight(48), b->SetTitle(L"Title"), b->SetImages(&images), b->SetImageIndex(0);
       }},
      {L"image margin 40",
       [&](TSheetButton* b) { b->SetImages(&images), b->SetImageIndex(0), b->SetImageMargin(40); }},
      {L"link with glow",
       [&](TSheetButton* b) {
         b->SetStyleKind(kabsLink), b->SetCaption(L"karvo.example");
         b->GlowEffect()->SetEnabled(true), b->GlowEffect()->SetAlphaValue(100);
         b->GlowEffect()->SetPressedGlowSize(10), b->GlowEffect()->SetPressedAlphaValue(120);
       }},
      {L"144 DPI, split",
       [&](TSheetButton* b) { b->SetDropDownMenu(&menu), b->SetSplitButton(true), b->ScaleForPPI(144); }},
  };
  int y = Y0 + 20;
  for (const TRow& row : rows) {
    TSheetButton* b = stage.Add();
    b->SetCaption(L"Button");
    row.Setup(b);
    SheetLabel(C, X0, y + 2, row.Name);
    for (int s = 0; s < 3; ++s)
      b->PaintState(C, X0 + 150 + s * (b->Width() + 12), y, static_cast<TkasCtrlState>(s));
    y += b->Height() + 10;
    b->SetDropDownMenu(nullptr);
    b->SetImages(nullptr);
  }
}

}  // namespace

void PaintButtonSheet(TCanvas* C) {
  PaintKinds(C, 190, 34, false);
  PaintKinds(C, 190 + 5 * kCellW + 20, 34, true);
  const TEnumInfo& kinds = EnumInfoOf<TkaButtonStyleKind>();
  for (int k = 0; k <= kabsDropDownCombo; ++k) SheetLabel(C, 10, 34 + 36 + k * kCellH + 10, kinds.NameOf(k));
  PaintArrangements(C, 10, 34 + 36 + 24 * kCellH + 10);
}
