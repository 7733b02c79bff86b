// The demo's main window: a borderless form whose whole frame (caption bar, caption buttons,
// status bar, size grip, resizable border) is drawn by the library's controls, and whose
// shadow, corners, maximise and restore come from the styled form.
#pragma once

#include "framework/Forms.h"

class TkaStyledForm;
class TkaGPPanel;
class TkaPanel;
class TkaGPGlyphButton;
class TkaLabel;
class TkaGPSizeBox;

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

 private:
  void ToggleMaximized();
};

extern TForm1* Form1;
