#include "app/MessageUnit.h"

#include "framework/Menus.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaStyledForm/kaStyledForm.h"

// The box opens with the focus on "Ok" (first in the tab order), so that Enter answers it.
void TMessageForm::Activate() {
  if (ActiveControl() == nullptr && OkButton->CanFocus()) SetActiveControl(OkButton);
  inherited::Activate();
}

// Shown modally, closing ends the modal loop.
void TMessageForm::CloseButtonClick(TObject*) { Close(); }

void TMessageForm::kaStyledForm1ChangeActive(TObject*) {
  const bool active = Active();
  CaptionLabel->Font()->SetColor(active ? clWindowText : clGrayText);
  CloseButton->GlyphOptions()->SetNormalColorAlpha(active ? 255 : 150);
}

void ShowMessageForm(const String& ACaption, const String& AText) {
  TMessageForm* form = Construct<TMessageForm>(nullptr);
  struct TFreeForm {
    TMessageForm* Form;
    ~TFreeForm() { Form->Free(); }
  } freeForm{form};
  form->CaptionLabel->SetCaption(ACaption);
  form->MessageLabel->SetCaption(AText);
  form->CancelButton->SetVisible(false);
  // "Ok" alone answers the box: Escape, which belonged to the hidden "Cancel", presses it too.
  form->OkButton->SetCancel(true);
  form->ShowModal();
}

KA_REGISTER_CLASS(TMessageForm, [](auto& c) {
  c.Field(L"kaStyledForm1", &TMessageForm::kaStyledForm1);
  c.Field(L"PopupMenu1", &TMessageForm::PopupMenu1);
  c.Field(L"BorderPanel", &TMessageForm::BorderPanel);
  c.Field(L"kaGPPanel2", &TMessageForm::kaGPPanel2);
  c.Field(L"CloseButton", &TMessageForm::CloseButton);
  c.Field(L"CaptionLabel", &TMessageForm::CaptionLabel);
  c.Field(L"kaGPPanel1", &TMessageForm::kaGPPanel1);
  c.Field(L"OkButton", &TMessageForm::OkButton);
  c.Field(L"CancelButton", &TMessageForm::CancelButton);
  c.Field(L"MessageLabel", &TMessageForm::MessageLabel);
  c.Field(L"SkAnimatedImage1", &TMessageForm::SkAnimatedImage1);
  c.Handler(L"CloseButtonClick", &TMessageForm::CloseButtonClick);
  c.Handler(L"kaStyledForm1ChangeActive", &TMessageForm::kaStyledForm1ChangeActive);
});
