// The demo's message window: a small fixed-size borderless box framed by the compositor, with
// an animated picture, a caption, a message and an "Ok" button, shown modally by
// ShowMessageForm. Its backdrop picture is the main window's (a reference into that window's
// image collection), so the main window must exist while a message window does.
#pragma once

#include "framework/Forms.h"

class TkaStyledForm;
class TkaGPPanel;
class TkaGPGlyphButton;
class TkaGPLabel;
class TkaButton;
class TSkAnimatedImage;
class TPopupMenu;

class TMessageForm : public TForm {
  KA_CLASS(TMessageForm, TForm)
 public:
  explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) {}

  // Components of the layout, assigned while it is read.
  TkaStyledForm* kaStyledForm1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TkaGPPanel* BorderPanel = nullptr;
  TkaGPPanel* kaGPPanel2 = nullptr;
  TkaGPGlyphButton* CloseButton = nullptr;
  TkaGPLabel* CaptionLabel = nullptr;
  TkaGPPanel* kaGPPanel1 = nullptr;
  TkaButton* OkButton = nullptr;
  TkaButton* CancelButton = nullptr;
  TkaGPLabel* MessageLabel = nullptr;
  TSkAnimatedImage* SkAnimatedImage1 = nullptr;

  // Handlers the layout binds by name.
  void CloseButtonClick(TObject* Sender);
  void kaStyledForm1ChangeActive(TObject* Sender);

 protected:
  void Activate() override;
};

// Shows ACaption and AText in a new message window with only its "Ok" button, modally, and
// frees the window when its modal loop ends (also when the loop ends by an exception).
void ShowMessageForm(const String& ACaption, const String& AText);
