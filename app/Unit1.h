// The demo's main window: a borderless form whose whole frame (caption bar, caption buttons,
// status bar, size grip, resizable border) is drawn by the library's controls, and whose
// shadow, corners, maximise and restore come from the styled form. A translucent side menu
// of buttons with animated icons switches the pages of a page viewer and names the page in
// a header above it. The settings page chooses the backdrop, reshapes the side menu and
// opens the second window and the message window; the about page links to the maker.
#pragma once

#include <functional>

#include "framework/Forms.h"

class TkaStyledForm;
class TkaGPPanel;
class TkaPanel;
class TkaGPGlyphButton;
class TkaLabel;
class TkaGPSizeBox;
class TkaGPGlyphContainerButton;
class TkaPageViewer;
class TkaPageViewerPage;
class TkaGPImageCollection;
class TSkAnimatedImage;
class TPopupMenu;
class TMenuItem;
class TkaStyleManager;
class TkaAdvancedComboBox;
class TkaGPToggleSwitch;
class TkaCheckBox;
class TkaButton;

// The maker's web site, which the about page's link opens.
extern const wchar_t* const MakerWebAddress;
// How the about page opens a web address: the shell's "open" unless replaced (tests watch
// the calls without starting a browser; an empty function restores the shell).
using TWebLauncher = std::function<void(const String& Address)>;
void SetWebLauncher(TWebLauncher Launcher);

class TForm1 : public TForm {
  KA_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}

  // Components of the layout, assigned while it is read.
  TkaStyledForm* kaStyledForm1 = nullptr;
  TkaGPPanel* BorderPanel = nullptr;
  TkaPanel* ClientPanel = nullptr;
  TkaGPPanel* kaGPPanel2 = nullptr;
  TkaGPGlyphButton* CloseButton = nullptr;
  TkaGPGlyphButton* MinButton = nullptr;
  TkaLabel* CaptionLabel = nullptr;
  TkaGPGlyphButton* MaxButton = nullptr;
  TkaGPPanel* kaGPPanel3 = nullptr;
  TkaGPSizeBox* kaGPSizeBox1 = nullptr;
  // The side menu, the page header and the pages.
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TkaGPImageCollection* kaGPImageCollection1 = nullptr;
  TkaGPPanel* kaGPPanel1 = nullptr;
  TkaGPGlyphContainerButton* MenuButton = nullptr;
  TSkAnimatedImage* MenuAnimatedImage = nullptr;
  TkaGPGlyphContainerButton* kaGPGlyphContainerButton1 = nullptr;
  TkaGPGlyphContainerButton* kaGPGlyphContainerButton2 = nullptr;
  TkaGPGlyphContainerButton* kaGPGlyphContainerButton3 = nullptr;
  TkaGPGlyphContainerButton* kaGPGlyphContainerButton4 = nullptr;
  TkaGPGlyphContainerButton* ExitButton = nullptr;
  TSkAnimatedImage* SkAnimatedImage1 = nullptr;
  TSkAnimatedImage* SkAnimatedImage2 = nullptr;
  TSkAnimatedImage* SkAnimatedImage3 = nullptr;
  TSkAnimatedImage* SkAnimatedImage4 = nullptr;
  TSkAnimatedImage* SkAnimatedImage5 = nullptr;
  TkaGPPanel* kaGPPanel15 = nullptr;
  TkaPageViewer* kaPageViewer1 = nullptr;
  TkaPageViewerPage* kaPageViewerPage1 = nullptr;
  TkaPageViewerPage* kaPageViewerPage2 = nullptr;
  TkaPageViewerPage* kaPageViewerPage3 = nullptr;
  TkaPageViewerPage* kaPageViewerPage4 = nullptr;
  // The style manager, the settings page and the about page.
  TkaStyleManager* kaStyleManager1 = nullptr;
  TkaLabel* kaLabel4 = nullptr;
  TkaAdvancedComboBox* kaAdvancedComboBox1 = nullptr;
  TkaGPToggleSwitch* kaGPToggleSwitch1 = nullptr;
  TkaCheckBox* kaCheckBox2 = nullptr;
  TkaCheckBox* kaCheckBox4 = nullptr;
  TkaButton* kaButton2 = nullptr;
  TkaButton* kaButton1 = nullptr;
  TkaLabel* kaLabel1 = nullptr;
  TkaLabel* kaLabel2 = nullptr;
  TkaLabel* kaLabel28 = nullptr;
  TkaLabel* kaLabel13 = nullptr;
  TkaButton* kaButton10 = nullptr;
  TkaLabel* kaLabel14 = nullptr;

  // Handlers the layout binds by name.
  void CaptionLabelMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelDblClick(TObject* Sender);
  void CloseButtonClick(TObject* Sender);
  void MaxButtonClick(TObject* Sender);
  void MinButtonClick(TObject* Sender);
  void kaStyledForm1ChangeActive(TObject* Sender);
  void kaStyledForm1BeforeChangeScale(TObject* Sender);
  void kaStyledForm1ChangeScale(double AScaleFactor);
  void kaStyledForm1DWMClientMaximize(TObject* Sender);
  void kaStyledForm1DWMClientRestore(TObject* Sender);
  void kaStyledForm1ChangeFluentUIBackground(TObject* Sender);
  void kaGPGlyphContainerButton1Click(TObject* Sender);
  void kaGPGlyphContainerButton2Click(TObject* Sender);
  void kaGPGlyphContainerButton3Click(TObject* Sender);
  void kaGPGlyphContainerButton4Click(TObject* Sender);
  void kaGPGlyphContainerButton3MouseEnter(TObject* Sender);
  void kaGPGlyphContainerButton3MouseLeave(TObject* Sender);
  void MenuButtonMouseEnter(TObject* Sender);
  void MenuButtonMouseLeave(TObject* Sender);
  void ExitButtonClick(TObject* Sender);
  void Exit1Click(TObject* Sender);
  void FormCreate(TObject* Sender);
  void kaAdvancedComboBox1Change(TObject* Sender);
  void kaGPToggleSwitch1ChangeState(TObject* Sender);
  void kaCheckBox2Click(TObject* Sender);
  void kaCheckBox4Click(TObject* Sender);
  void kaButton1Click(TObject* Sender);
  void kaButton2Click(TObject* Sender);
  void kaButton10Click(TObject* Sender);

 private:
  void ToggleMaximized();
  // The page of the clicked side-menu button (its Tag) and its caption in the header.
  void ShowPageOf(TObject* Sender);
  // Plays or holds the icon a side-menu button hosts.
  static void PlayIconOf(TObject* Sender, bool Play);
};

extern TForm1* Form1;
