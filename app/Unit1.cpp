#include "app/Unit1.h"

#include "framework/Menus.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaModernControls/kaPageViewer.h"
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

void TForm1::kaStyledForm1ChangeFluentUIBackground(TObject*) {
  if (!kaStyledForm1->IsFluentUIEnabled())
    kaGPPanel1->SetFillColorAlpha(200);
  else if (kaStyledForm1->IsFluentUIAcrylicBackground())
    kaGPPanel1->SetFillColorAlpha(100);
  else
    kaGPPanel1->SetFillColorAlpha(230);
}

// ---- Side menu ----------------------------------------------------------------------------------

void TForm1::ShowPageOf(TObject* Sender) {
  auto* button = dynamic_cast<TkaGPGlyphContainerButton*>(Sender);
  if (button == nullptr) return;
  kaPageViewer1->SetPageIndex(static_cast<int>(button->Tag()));
  kaGPPanel15->SetCaption(button->Caption());
}

void TForm1::kaGPGlyphContainerButton1Click(TObject* Sender) { ShowPageOf(Sender); }
void TForm1::kaGPGlyphContainerButton2Click(TObject* Sender) { ShowPageOf(Sender); }
void TForm1::kaGPGlyphContainerButton3Click(TObject* Sender) { ShowPageOf(Sender); }
void TForm1::kaGPGlyphContainerButton4Click(TObject* Sender) { ShowPageOf(Sender); }

void TForm1::PlayIconOf(TObject* Sender, bool Play) {
  auto* button = dynamic_cast<TkaGPGlyphContainerButton*>(Sender);
  if (button == nullptr) return;
  if (auto* icon = dynamic_cast<TSkAnimatedImage*>(button->GlyphContainer())) icon->Animation()->SetEnabled(Play);
}

// An icon plays while the pointer is over its button and holds its frame when it leaves.
void TForm1::kaGPGlyphContainerButton3MouseEnter(TObject* Sender) { PlayIconOf(Sender, true); }
void TForm1::kaGPGlyphContainerButton3MouseLeave(TObject* Sender) { PlayIconOf(Sender, false); }
void TForm1::MenuButtonMouseEnter(TObject*) { MenuAnimatedImage->Animation()->SetEnabled(true); }
void TForm1::MenuButtonMouseLeave(TObject*) { MenuAnimatedImage->Animation()->SetEnabled(false); }

void TForm1::ExitButtonClick(TObject*) { Close(); }
void TForm1::Exit1Click(TObject*) { Close(); }

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
  c.Field(L"PopupMenu1", &TForm1::PopupMenu1);
  c.Field(L"Exit1", &TForm1::Exit1);
  c.Field(L"kaGPImageCollection1", &TForm1::kaGPImageCollection1);
  c.Field(L"kaGPPanel1", &TForm1::kaGPPanel1);
  c.Field(L"MenuButton", &TForm1::MenuButton);
  c.Field(L"MenuAnimatedImage", &TForm1::MenuAnimatedImage);
  c.Field(L"kaGPGlyphContainerButton1", &TForm1::kaGPGlyphContainerButton1);
  c.Field(L"kaGPGlyphContainerButton2", &TForm1::kaGPGlyphContainerButton2);
  c.Field(L"kaGPGlyphContainerButton3", &TForm1::kaGPGlyphContainerButton3);
  c.Field(L"kaGPGlyphContainerButton4", &TForm1::kaGPGlyphContainerButton4);
  c.Field(L"ExitButton", &TForm1::ExitButton);
  c.Field(L"SkAnimatedImage1", &TForm1::SkAnimatedImage1);
  c.Field(L"SkAnimatedImage2", &TForm1::SkAnimatedImage2);
  c.Field(L"SkAnimatedImage3", &TForm1::SkAnimatedImage3);
  c.Field(L"SkAnimatedImage4", &TForm1::SkAnimatedImage4);
  c.Field(L"SkAnimatedImage5", &TForm1::SkAnimatedImage5);
  c.Field(L"kaGPPanel15", &TForm1::kaGPPanel15);
  c.Field(L"kaPageViewer1", &TForm1::kaPageViewer1);
  c.Field(L"kaPageViewerPage1", &TForm1::kaPageViewerPage1);
  c.Field(L"kaPageViewerPage2", &TForm1::kaPageViewerPage2);
  c.Field(L"kaPageViewerPage3", &TForm1::kaPageViewerPage3);
  c.Field(L"kaPageViewerPage4", &TForm1::kaPageViewerPage4);
  c.Handler(L"kaStyledForm1ChangeFluentUIBackground", &TForm1::kaStyledForm1ChangeFluentUIBackground);
  c.Handler(L"kaGPGlyphContainerButton1Click", &TForm1::kaGPGlyphContainerButton1Click);
  c.Handler(L"kaGPGlyphContainerButton2Click", &TForm1::kaGPGlyphContainerButton2Click);
  c.Handler(L"kaGPGlyphContainerButton3Click", &TForm1::kaGPGlyphContainerButton3Click);
  c.Handler(L"kaGPGlyphContainerButton4Click", &TForm1::kaGPGlyphContainerButton4Click);
  c.Handler(L"kaGPGlyphContainerButton3MouseEnter", &TForm1::kaGPGlyphContainerButton3MouseEnter);
  c.Handler(L"kaGPGlyphContainerButton3MouseLeave", &TForm1::kaGPGlyphContainerButton3MouseLeave);
  c.Handler(L"MenuButtonMouseEnter", &TForm1::MenuButtonMouseEnter);
  c.Handler(L"MenuButtonMouseLeave", &TForm1::MenuButtonMouseLeave);
  c.Handler(L"ExitButtonClick", &TForm1::ExitButtonClick);
  c.Handler(L"Exit1Click", &TForm1::Exit1Click);
});
