#include "app/Unit1.h"

#include "framework/TypeInfo.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaStyledForm/kaStyledForm.h"

TForm1* Form1 = nullptr;

// ---- Caption bar ------------------------------------------------------------------------------

// While the window is not maximised the label drags the window itself; a maximised window is
// torn off by the styled form once the pointer moves. The second press of a double click must
// not start a drag, or the restore it triggers would be followed by a tear-off.
void TForm1::CaptionLabelMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int, int) {
  if (Button == mbLeft && !Shift.Contains(ssDouble) && kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientStartDrag();
}

void TForm1::CaptionLabelMouseMove(TObject*, TShiftState, int, int) {
  if (!kaStyledForm1->IsDWMClientMaximized() || !kaStyledForm1->IsDWMClientDragging()) return;
  kaStyledForm1->DWMClientDrag();
  // The tear-off restores without going through DWMClientRestore, so no restore event.
  if (!kaStyledForm1->IsDWMClientMaximized()) {
    MaxButton->GlyphOptions()->SetKind(kagpbgkMaximize);
    kaGPSizeBox1->SetVisible(true);
  }
}

void TForm1::CaptionLabelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  kaStyledForm1->DWMClientEndDrag();
}

void TForm1::CaptionLabelDblClick(TObject*) { ToggleMaximized(); }

void TForm1::MaxButtonClick(TObject*) { ToggleMaximized(); }

void TForm1::ToggleMaximized() {
  if (kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientRestore();
  else
    kaStyledForm1->DWMClientMaximize();
}

void TForm1::CloseButtonClick(TObject*) { Close(); }

void TForm1::MinButtonClick(TObject*) { Application->Minimize(); }

// ---- Styled form ------------------------------------------------------------------------------

void TForm1::kaStyledForm1DWMClientMaximize(TObject*) {
  BorderPanel->SetFrameColor(clBlack);
  MaxButton->GlyphOptions()->SetKind(kagpbgkRestore);
  kaGPSizeBox1->SetVisible(false);
  BorderPanel->SetSizeable(false);
}

void TForm1::kaStyledForm1DWMClientRestore(TObject*) {
  BorderPanel->SetFrameColor(clHighlight);
  MaxButton->GlyphOptions()->SetKind(kagpbgkMaximize);
  kaGPSizeBox1->SetVisible(true);
  BorderPanel->SetSizeable(true);
}

void TForm1::kaStyledForm1ChangeActive(TObject*) {
  const bool active = Active();
  CaptionLabel->Font()->SetColor(active ? clBtnText : TColor(0x00808080));
  CloseButton->GlyphOptions()->SetNormalColorAlpha(active ? 255 : 150);
  const uint8_t alpha = active ? 190 : 120;
  MinButton->GlyphOptions()->SetNormalColorAlpha(alpha);
  MaxButton->GlyphOptions()->SetNormalColorAlpha(alpha);
}

// The old minimum would fight the new scale while the window is re-sized for it.
void TForm1::kaStyledForm1BeforeChangeScale(TObject*) {
  Form1->Constraints()->SetMinWidth(0);
  Form1->Constraints()->SetMinHeight(0);
}

void TForm1::kaStyledForm1ChangeScale(double) {
  Form1->Constraints()->SetMinWidth(kaStyledForm1->ScaleInt(700));
  Form1->Constraints()->SetMinHeight(kaStyledForm1->ScaleInt(400));
}

KA_REGISTER_CLASS(TForm1, [](auto& c) {
  c.Field(L"kaStyledForm1", &TForm1::kaStyledForm1);
  c.Field(L"BorderPanel", &TForm1::BorderPanel);
  c.Field(L"ClientPanel", &TForm1::ClientPanel);
  c.Field(L"kaGPPanel2", &TForm1::kaGPPanel2);
  c.Field(L"CloseButton", &TForm1::CloseButton);
  c.Field(L"MinButton", &TForm1::MinButton);
  c.Field(L"CaptionLabel", &TForm1::CaptionLabel);
  c.Field(L"MaxButton", &TForm1::MaxButton);
  c.Field(L"kaGPPanel3", &TForm1::kaGPPanel3);
  c.Field(L"kaGPSizeBox1", &TForm1::kaGPSizeBox1);
  c.Handler(L"CaptionLabelMouseDown", &TForm1::CaptionLabelMouseDown);
  c.Handler(L"CaptionLabelMouseMove", &TForm1::CaptionLabelMouseMove);
  c.Handler(L"CaptionLabelMouseUp", &TForm1::CaptionLabelMouseUp);
  c.Handler(L"CaptionLabelDblClick", &TForm1::CaptionLabelDblClick);
  c.Handler(L"CloseButtonClick", &TForm1::CloseButtonClick);
  c.Handler(L"MaxButtonClick", &TForm1::MaxButtonClick);
  c.Handler(L"MinButtonClick", &TForm1::MinButtonClick);
  c.Handler(L"kaStyledForm1ChangeActive", &TForm1::kaStyledForm1ChangeActive);
  c.Handler(L"kaStyledForm1BeforeChangeScale", &TForm1::kaStyledForm1BeforeChangeScale);
  c.Handler(L"kaStyledForm1ChangeScale", &TForm1::kaStyledForm1ChangeScale);
  c.Handler(L"kaStyledForm1DWMClientMaximize", &TForm1::kaStyledForm1DWMClientMaximize);
  c.Handler(L"kaStyledForm1DWMClientRestore", &TForm1::kaStyledForm1DWMClientRestore);
});
