#include "app/Unit2.h"

#include "framework/Menus.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaStyledForm/kaStyledForm.h"

TForm2* Form2 = nullptr;

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

// ---- Caption bar ------------------------------------------------------------------------------

// As in the main window: the label drags a normal window itself, and the styled form tears a
// maximised one off once the pointer moves; the second press of a double click starts no drag.
void TForm2::CaptionLabelMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int, int) {
  if (Button == mbLeft && !Shift.Contains(ssDouble) && kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientStartDrag();
}

void TForm2::CaptionLabelMouseMove(TObject*, TShiftState, int, int) {
  if (!kaStyledForm1->IsDWMClientMaximized() || !kaStyledForm1->IsDWMClientDragging()) return;
  kaStyledForm1->DWMClientDrag();
  // The tear-off restores without the restore event; this window has no size grip to bring back.
  if (!kaStyledForm1->IsDWMClientMaximized()) MaxButton->GlyphOptions()->SetKind(kagpbgkMaximize);
}

void TForm2::CaptionLabelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  kaStyledForm1->DWMClientEndDrag();
}

void TForm2::CaptionLabelDblClick(TObject*) { ToggleMaximized(); }

void TForm2::MaxButtonClick(TObject*) { ToggleMaximized(); }

void TForm2::ToggleMaximized() {
  if (kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientRestore();
  else
    kaStyledForm1->DWMClientMaximize();
}

// Shown modally, closing ends the modal loop and hides the window; it is not freed.
void TForm2::CloseButtonClick(TObject*) { Close(); }

void TForm2::Exit1Click(TObject*) { Close(); }

void TForm2::MinButtonClick(TObject*) { Application->Minimize(); }

// ---- Styled form ------------------------------------------------------------------------------

void TForm2::kaStyledForm1DWMClientMaximize(TObject*) {
  BorderPanel->SetFrameColor(clBtnShadow);
  MaxButton->GlyphOptions()->SetKind(kagpbgkRestore);
  BorderPanel->SetSizeable(false);
}

void TForm2::kaStyledForm1DWMClientRestore(TObject*) {
  BorderPanel->SetFrameColor(clHighlight);
  MaxButton->GlyphOptions()->SetKind(kagpbgkMaximize);
  BorderPanel->SetSizeable(true);
}

void TForm2::kaStyledForm1ChangeActive(TObject*) {
  const bool active = Active();
  CaptionLabel->Font()->SetColor(active ? clBtnText : clGrayText);
  CloseButton->GlyphOptions()->SetNormalColorAlpha(active ? 255 : 150);
  const uint8_t alpha = active ? 190 : 120;
  MinButton->GlyphOptions()->SetNormalColorAlpha(alpha);
  MaxButton->GlyphOptions()->SetNormalColorAlpha(alpha);
}

// The old minimum would fight the new scale while the window is re-sized for it.
void TForm2::kaStyledForm1BeforeChangeScale(TObject*) {
  Constraints()->SetMinWidth(0);
  Constraints()->SetMinHeight(0);
}

void TForm2::kaStyledForm1ChangeScale(double) {
  Constraints()->SetMinWidth(kaStyledForm1->ScaleInt(400));
  Constraints()->SetMinHeight(kaStyledForm1->ScaleInt(400));
}

KA_REGISTER_CLASS(TForm2, [](auto& c) {
  c.Field(L"kaStyledForm1", &TForm2::kaStyledForm1);
  c.Field(L"PopupMenu1", &TForm2::PopupMenu1);
  c.Field(L"Exit1", &TForm2::Exit1);
  c.Field(L"BorderPanel", &TForm2::BorderPanel);
  c.Field(L"kaGPPanel2", &TForm2::kaGPPanel2);
  c.Field(L"CloseButton", &TForm2::CloseButton);
  c.Field(L"MinButton", &TForm2::MinButton);
  c.Field(L"CaptionLabel", &TForm2::CaptionLabel);
  c.Field(L"MaxButton", &TForm2::MaxButton);
  c.Handler(L"CaptionLabelMouseDown", &TForm2::CaptionLabelMouseDown);
  c.Handler(L"CaptionLabelMouseMove", &TForm2::CaptionLabelMouseMove);
  c.Handler(L"CaptionLabelMouseUp", &TForm2::CaptionLabelMouseUp);
  c.Handler(L"CaptionLabelDblClick", &TForm2::CaptionLabelDblClick);
  c.Handler(L"CloseButtonClick", &TForm2::CloseButtonClick);
  c.Handler(L"MaxButtonClick", &TForm2::MaxButtonClick);
  c.Handler(L"MinButtonClick", &TForm2::MinButtonClick);
  c.Handler(L"Exit1Click", &TForm2::Exit1Click);
  c.Handler(L"kaStyledForm1ChangeActive", &TForm2::kaStyledForm1ChangeActive);
  c.Handler(L"kaStyledForm1BeforeChangeScale", &TForm2::kaStyledForm1BeforeChangeScale);
  c.Handler(L"kaStyledForm1ChangeScale", &TForm2::kaStyledForm1ChangeScale);
  c.Handler(L"kaStyledForm1DWMClientMaximize", &TForm2::kaStyledForm1DWMClientMaximize);
  c.Handler(L"kaStyledForm1DWMClientRestore", &TForm2::kaStyledForm1DWMClientRestore);
});
