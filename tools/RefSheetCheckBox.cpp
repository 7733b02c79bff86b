#include "tools/RefSheetCheckBox.h"

#include <functional>
#include <memory>
#include <string>

#include "framework/Themes.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tools/RefSheetKit.h"
#include "tools/RefSheetPictures.h"

namespace {

constexpr int kCellW = 120, kCellH = 40, kBoxW = 110, kBoxH = 30;

const wchar_t* const kStateNames[5] = {L"normal", L"hot", L"pressed", L"focused", L"disabled"};
const wchar_t* const kCheckNames[3] = {L"unchecked", L"checked", L"grayed"};

// The focused column is a check box's normal state while it has the focus (a check box never
// paints a focused state).
class TSheetCheckBox : public TSheetPainted<TkaCheckBox> {
  KA_CLASS(TSheetCheckBox, TSheetPainted<TkaCheckBox>)
 public:
  using TSheetPainted<TkaCheckBox>::TSheetPainted;
  void PaintState(TCanvas* C, int X, int Y, TkasCtrlState S) {
    if (S == kasFocused) {
      SetFocus();
      S = kasNormal;
    }
    inherited::PaintState(C, X, Y, S);
  }
};

// The boxes live on a form of their own, next to a control that takes the focus back.
struct TStage {
  TCustomForm* Form;
  TSheetCheckBox* Other;
  TStage() {
    Form = NewSheetForm(TRect(0, 0, 500, 300), clWindow);
    Form->Show();
    Other = Add();
    Other->SetLeft(300);
  }
  ~TStage() { Form->Free(); }
  TSheetCheckBox* Add() {
    auto* b = new TSheetCheckBox(Form);
    b->SetBounds(10, 10, kBoxW, kBoxH);
    b->SetParent(Form);
    b->SetCaption(L"Check box");
    return b;
  }
  void PaintStates(TSheetCheckBox* B, TCanvas* C, int X, int Y, int Step) {
    for (int s = 0; s < 5; ++s) {
      const auto S = static_cast<TkasCtrlState>(s);
      B->SetEnabled(S != kasDisabled);
      B->PaintState(C, X + s * Step, Y, S);
      Other->SetFocus();
    }
    B->SetEnabled(true);
  }
};

// The three check states in the five control states.
void PaintGrid(TCanvas* C, int X0, int Y0, bool Classic, int Dpi, const String& Title) {
  std::unique_ptr<TClassicControlsScope> classic;
  if (Classic) classic = std::make_unique<TClassicControlsScope>();
  TStage stage;
  TSheetCheckBox* b = stage.Add();
  if (Dpi != 96) b->ScaleForPPI(Dpi);
  const int step = b->Width() + 10, rowH = b->Height() + 10;
  SheetLabel(C, X0, Y0, Title);
  for (int s = 0; s < 5; ++s) SheetLabel(C, X0 + 80 + s * step, Y0 + 18, kStateNames[s]);
  b->SetAllowGrayed(true);
  for (int check = cbUnchecked; check <= cbGrayed; ++check) {
    const int y = Y0 + 36 + check * rowH;
    SheetLabel(C, X0, y + b->Height() / 2 - 7, kCheckNames[check]);
    b->SetState(static_cast<TCheckBoxState>(check));
    stage.PaintStates(b, C, X0 + 80, y, step);
  }
}

// Three 13 x 13 pictures per check state: a blue frame, filled per control state.
std::unique_ptr<TkaImageCollection> BoxPictures() {
  auto images = std::make_unique<TkaImageCollection>(nullptr);
  const TColor fills[4] = {clWhite, static_cast<TColor>(0xFFE0C0), static_cast<TColor>(0xE0A060), clSilver};
  for (int check = 0; check < 3; ++check)
    for (TColor fill : fills) {
      TBitmap b(13, 13);
      b.SetPixelFormat(pf32bit);
      b.Canvas()->Brush()->SetColor(static_cast<TColor>(0xC06010));
      b.Canvas()->FillRect(TRect(0, 0, 13, 13));
      b.Canvas()->Brush()->SetColor(fill);
      b.Canvas()->FillRect(TRect(1, 1, 12, 12));
      b.Canvas()->Brush()->SetColor(static_cast<TColor>(0xC06010));
      if (check == cbChecked) b.Canvas()->FillRect(TRect(3, 3, 10, 10));
      if (check == cbGrayed) b.Canvas()->FillRect(TRect(3, 5, 10, 8));
      SetBitmapAlpha(&b, 255);
      images->Images()->Add()->SetBitmap(&b);
    }
  return images;
}

void PaintArrangements(TCanvas* C, int X0, int Y0) {
  SheetLabel(C, X0, Y0, L"Arrangements (checked; normal, hot, pressed, focused, disabled)");
  TStage stage;
  auto pictures = BoxPictures();
  TImageList images(nullptr);
  AddListGlyph(images, true);
  struct TRow {
    const wchar_t* Name;
    std::function<void(TSheetCheckBox*)> Setup;
  };
  const TRow rows[] = {
      {L"box on the right", [](TSheetCheckBox* b) { b->SetAlignment(taLeftJustify); }},
      {L"right-to-left", [](TSheetCheckBox* b) { b->SetBiDiMode(bdRightToLeft); }},
      {L"pictures", [&](TSheetCheckBox* b) {
         b->SetCustomImages(pictures.get());
         b->SetCustomUnCheckedImageIndex(0), b->SetCustomUnCheckedImageHotIndex(1);
         b->SetCustomUnCheckedImagePressedIndex(2);
         b->SetCustomCheckedImageIndex(4), b->SetCustomCheckedImageHotIndex(5);
         b->SetCustomCheckedImagePressedIndex(6);  // no disabled picture: the normal one fades
         b->SetCustomGrayedImageIndex(8);
       }},
      {L"glow", [](TSheetCheckBox* b) {
         b->GlowEffect()->SetEnabled(true);
         b->GlowEffect()->SetAlphaValue(160);
       }},
      {L"image, caption below", [&](TSheetCheckBox* b) {
         b->SetHeight(48);
         b->SetImages(&images), b->SetImageIndex(0), b->SetLayout(blGlyphTop);
       }},
      {L"image beside", [&](TSheetCheckBox* b) { b->SetImages(&images), b->SetImageIndex(0); }},
  };
  int y = Y0 + 22;
  for (const TRow& row : rows) {
    TSheetCheckBox* b = stage.Add();
    row.Setup(b);
    b->SetChecked(true);
    SheetLabel(C, X0, y + b->Height() / 2 - 7, row.Name);
    stage.PaintStates(b, C, X0 + 150, y, kCellW);
    y += b->Height() + 10;
    b->SetCustomImages(nullptr);
    b->SetImages(nullptr);
  }
}

}  // namespace

void PaintCheckBoxSheet(TCanvas* C) {
  PaintGrid(C, 10, 34, false, 96, L"Visual styles, 96 DPI");
  PaintGrid(C, 10 + 80 + 5 * kCellW + 30, 34, true, 96, L"Classic, 96 DPI");
  PaintGrid(C, 10, 34 + 36 + 3 * kCellH + 20, false, 144, L"Visual styles, 144 DPI");
  PaintArrangements(C, 10, 34 + 36 + 3 * kCellH + 20 + 36 + 3 * 55 + 20);
}
