// The demo's second window: an empty, resizable borderless window with its own caption bar
// and caption buttons, framed by the compositor through its styled form and shown modally
// from the main window's settings page. It is made once and shown again on every request, so
// its size and its maximised state carry over from one showing to the next.
#pragma once

#include "framework/Forms.h"

class TkaStyledForm;
class TkaGPPanel;
class TkaGPGlyphButton;
class TkaLabel;
class TPopupMenu;
class TMenuItem;

class TForm2 : public TForm {
  KA_CLASS(TForm2, TForm)
 public:
  explicit TForm2(TComponent* AOwner) : TForm(AOwner) {}
  // The global Form2 forgets a window that is freed, so that the next request makes a new one
  // instead of showing a freed one.
  ~TForm2() override;

  // Components of the layout, assigned while it is read.
  TkaStyledForm* kaStyledForm1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TkaGPPanel* BorderPanel = nullptr;
  TkaGPPanel* kaGPPanel2 = nullptr;
  TkaGPGlyphButton* CloseButton = nullptr;
  TkaGPGlyphButton* MinButton = nullptr;
  TkaLabel* CaptionLabel = nullptr;
  TkaGPGlyphButton* MaxButton = nullptr;

  // Handlers the layout binds by name.
  void CaptionLabelMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelDblClick(TObject* Sender);
  void CloseButtonClick(TObject* Sender);
  void MaxButtonClick(TObject* Sender);
  void MinButtonClick(TObject* Sender);
  void Exit1Click(TObject* Sender);
  void kaStyledForm1ChangeActive(TObject* Sender);
  void kaStyledForm1BeforeChangeScale(TObject* Sender);
  void kaStyledForm1ChangeScale(double AScaleFactor);
  void kaStyledForm1DWMClientMaximize(TObject* Sender);
  void kaStyledForm1DWMClientRestore(TObject* Sender);

 private:
  void ToggleMaximized();
};

// Made by the main window's "Show second form" on first use, owned by the application.
extern TForm2* Form2;
