#include "app/Unit1.h"

#include <shellapi.h>

#include <utility>

#include "app/MessageUnit.h"
#include "app/Unit2.h"
#include "framework/Menus.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyleManager/kaStyleManager.h"
#include "lib/kaStyledForm/kaStyledForm.h"

TForm1* Form1 = nullptr;

// The project has no site of its own yet: a reserved example domain stands in for it.
const wchar_t* const MakerWebAddress = L"https://karvo.example/";

namespace {

void ShellOpen(const String& Address) {
  ::ShellExecuteW(nullptr, L"open", Address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TWebLauncher& WebLauncher() {
  static TWebLauncher launcher = ShellOpen;
  return launcher;
}

}  // namespace

void SetWebLauncher(TWebLauncher Launcher) {
  WebLauncher() = Launcher ? std::move(Launcher) : TWebLauncher(ShellOpen);
}

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
  Constraints()->SetMinWidth(0);
  Constraints()->SetMinHeight(0);
}

void TForm1::kaStyledForm1ChangeScale(double) {
  if (kaStyledForm1 == nullptr) return;
  Constraints()->SetMinWidth(kaStyledForm1->ScaleInt(700));
  Constraints()->SetMinHeight(kaStyledForm1->ScaleInt(400));
}

// Also heard while the layout is still being read, before the fields it uses are all set.
void TForm1::kaStyledForm1ChangeFluentUIBackground(TObject* Sender) {
  auto* styledForm = dynamic_cast<TkaStyledForm*>(Sender);
  if (styledForm == nullptr || kaGPPanel1 == nullptr) return;
  if (!styledForm->IsFluentUIEnabled())
    kaGPPanel1->SetFillColorAlpha(200);
  else if (styledForm->IsFluentUIAcrylicBackground())
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

// ---- Start ----------------------------------------------------------------------------------------

// The styled form has loaded (and may already have told the side menu its alpha): a window
// that starts without a translucent backdrop becomes an ordinary opaque one, and Windows 11
// starts with the "Windows11 UI" look, which the switch's handler applies.
void TForm1::FormCreate(TObject*) {
  if (!kaStyledForm1->IsFluentUIAvailable() || kaStyledForm1->FluentUIBackground() == kafuibNone) {
    SetStyleElements(TStyleElements{seClient});
    BorderPanel->SetFrameWidth(1);
    SetControlsDrawTextMode(kaGPPanel1, kadtmGDI);
    kaGPPanel1->SetFillColorAlpha(200);
    kaGPPanel1->SetTransparentBackground(false);
    kaAdvancedComboBox1->SetEnabled(false);
    BorderPanel->SetFillColor(clBtnFace);
    ClientPanel->SetFluentUIOpaque(false);
  } else if (IsWindows11()) {
    BorderPanel->SetFrameWidth(1);
  }
  if (IsWindows11()) kaGPToggleSwitch1->SetState(kaswOn);
}

// ---- Settings page ----------------------------------------------------------------------------------

// The rows are the backdrops in order. The styled form re-creates the window for the new one;
// the side menu's alpha follows through its OnChangeFluentUIBackground.
void TForm1::kaAdvancedComboBox1Change(TObject*) {
  if (!kaStyledForm1->IsFluentUIAvailable()) return;
  const int row = kaAdvancedComboBox1->ItemIndex();
  // A refused selection (-1) reports a change too; it names no backdrop.
  if (row < kafuibNone || row > kafuibAcrylicBlurAuto) return;
  kaStyledForm1->SetFluentUIBackground(static_cast<TkaFluentUIBackground>(row));
  if (kaStyledForm1->IsFluentUIEnabled()) {
    BorderPanel->SetFillColor(clBlack);
    if (!IsWindows11()) BorderPanel->SetFrameWidth(0);
    ClientPanel->SetFluentUIOpaque(true);
    SetControlsDrawTextMode(kaGPPanel1, kadtmGDIPlus);
    kaGPPanel1->SetTransparentBackground(true);
  } else {
    BorderPanel->SetFrameWidth(1);
    BorderPanel->SetFillColor(clBtnFace);
    ClientPanel->SetFluentUIOpaque(false);
    SetControlsDrawTextMode(kaGPPanel1, kadtmGDI);
    kaGPPanel1->SetTransparentBackground(false);
    // The styled form had made the form black for the backdrop.
    SetColor(GetStyleSystemColor(clBtnFace));
  }
}

// "Windows11 UI": rounded side-menu buttons with side margins, a tab-shaped menu button and
// the platform's rounded window corners; off, square shapes flush with the side menu and
// square corners. The buttons with Tag 0 keep their margins ("Data" needs its top margin).
void TForm1::kaGPToggleSwitch1ChangeState(TObject*) {
  const bool on = kaGPToggleSwitch1->IsOn();
  for (int i = 0; i < kaGPPanel1->ControlCount(); ++i) {
    auto* button = dynamic_cast<TkaGPGlyphContainerButton*>(kaGPPanel1->Controls(i));
    if (button == nullptr || button->Tag() < 0) continue;
    if (on) {
      button->Options()->SetShapeStyle(kagpLeftRoundedLine);
      button->SetAlignWithMargins(true);
    } else {
      if (button->Tag() > 0) button->SetAlignWithMargins(false);
      button->Options()->SetShapeStyle(kagpLeftLine);
    }
  }
  if (on) {
    kaGPGlyphContainerButton3->Margins()->SetLeft(kaGPGlyphContainerButton2->Margins()->Left());
    kaGPGlyphContainerButton3->Margins()->SetRight(kaGPGlyphContainerButton2->Margins()->Right());
    MenuButton->Options()->SetShapeStyle(kagpTabBottom);
    ExitButton->Options()->SetShapeStyle(kagpRoundedRect);
    ExitButton->SetAlignWithMargins(true);
    kaStyledForm1->SetDWMClientRoundedCornersType(kaDWMRoundedCornersDefault);
  } else {
    kaGPGlyphContainerButton3->Margins()->SetLeft(0);
    kaGPGlyphContainerButton3->Margins()->SetRight(0);
    MenuButton->Options()->SetShapeStyle(kagpRect);
    ExitButton->Options()->SetShapeStyle(kagpRect);
    ExitButton->SetAlignWithMargins(false);
    kaStyledForm1->SetDWMClientRoundedCornersType(kaDWMRoundedCornersOff);
  }
}

void TForm1::kaCheckBox2Click(TObject*) { kaGPPanel1->SetCustomImageIndex(kaCheckBox2->Checked() ? 0 : -1); }

// A plain value the buttons read when they next paint: nothing repaints now.
void TForm1::kaCheckBox4Click(TObject*) {
  const bool light = kaCheckBox4->Checked();
  for (TkaGPGlyphContainerButton* button : {MenuButton, ExitButton, kaGPGlyphContainerButton1,
                                            kaGPGlyphContainerButton2, kaGPGlyphContainerButton3,
                                            kaGPGlyphContainerButton4})
    button->SetFluentLightEffect(light);
}

// One second window for the whole run, owned by the application; every click shows it again.
void TForm1::kaButton1Click(TObject*) {
  if (Form2 == nullptr) Form2 = Construct<TForm2>(Application);
  Form2->ShowModal();
}

void TForm1::kaButton2Click(TObject*) { ShowMessageForm(L"UWP Message Form", L"UWP message text"); }

// ---- About page -------------------------------------------------------------------------------------

void TForm1::kaButton10Click(TObject*) { WebLauncher()(MakerWebAddress); }

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
  c.Field(L"kaStyleManager1", &TForm1::kaStyleManager1);
  c.Field(L"kaLabel4", &TForm1::kaLabel4);
  c.Field(L"kaAdvancedComboBox1", &TForm1::kaAdvancedComboBox1);
  c.Field(L"kaGPToggleSwitch1", &TForm1::kaGPToggleSwitch1);
  c.Field(L"kaCheckBox2", &TForm1::kaCheckBox2);
  c.Field(L"kaCheckBox4", &TForm1::kaCheckBox4);
  c.Field(L"kaButton2", &TForm1::kaButton2);
  c.Field(L"kaButton1", &TForm1::kaButton1);
  c.Field(L"kaLabel1", &TForm1::kaLabel1);
  c.Field(L"kaLabel2", &TForm1::kaLabel2);
  c.Field(L"kaLabel28", &TForm1::kaLabel28);
  c.Field(L"kaLabel13", &TForm1::kaLabel13);
  c.Field(L"kaButton10", &TForm1::kaButton10);
  c.Field(L"kaLabel14", &TForm1::kaLabel14);
  c.Handler(L"FormCreate", &TForm1::FormCreate);
  c.Handler(L"kaAdvancedComboBox1Change", &TForm1::kaAdvancedComboBox1Change);
  c.Handler(L"kaGPToggleSwitch1ChangeState", &TForm1::kaGPToggleSwitch1ChangeState);
  c.Handler(L"kaCheckBox2Click", &TForm1::kaCheckBox2Click);
  c.Handler(L"kaCheckBox4Click", &TForm1::kaCheckBox4Click);
  c.Handler(L"kaButton1Click", &TForm1::kaButton1Click);
  c.Handler(L"kaButton2Click", &TForm1::kaButton2Click);
  c.Handler(L"kaButton10Click", &TForm1::kaButton10Click);
});
