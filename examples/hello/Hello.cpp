// A borderless window framed by the compositor, with its own caption bar, a backdrop, a button
// and a switch, all from THelloForm.layout. Run with --close-after N to close it after N ms.
#include <cwchar>

#include "framework/Forms.h"
#include "framework/Timers.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaStyledForm/kaStyledForm.h"

class THelloForm : public TForm {
  KA_CLASS(THelloForm, TForm)
 public:
  explicit THelloForm(TComponent* AOwner) : TForm(AOwner) {}

  // Components of the layout, assigned while it is read.
  TkaStyledForm* StyledForm = nullptr;
  TkaGPLabel* MessageLabel = nullptr;
  TkaButton* HelloButton = nullptr;
  TkaGPToggleSwitch* BackdropSwitch = nullptr;

  // Handlers the layout binds by name.
  void CloseButtonClick(TObject*) { Close(); }
  void HelloButtonClick(TObject*) { MessageLabel->SetCaption(L"Hello from Karvo VCL!"); }
  void BackdropSwitchChangeState(TObject*) {
    StyledForm->SetFluentUIBackground(BackdropSwitch->State() == kaswOn ? kafuibAcrylic : kafuibNone);
  }
};

KA_REGISTER_CLASS(THelloForm, [](auto& c) {
  c.Field(L"StyledForm", &THelloForm::StyledForm);
  c.Field(L"MessageLabel", &THelloForm::MessageLabel);
  c.Field(L"HelloButton", &THelloForm::HelloButton);
  c.Field(L"BackdropSwitch", &THelloForm::BackdropSwitch);
  c.Handler(L"CloseButtonClick", &THelloForm::CloseButtonClick);
  c.Handler(L"HelloButtonClick", &THelloForm::HelloButtonClick);
  c.Handler(L"BackdropSwitchChangeState", &THelloForm::BackdropSwitchChangeState);
});

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR CmdLine, int) {
  Application->Initialize();
  Application->SetReportObjectsAtExit(true);
  THelloForm* form = nullptr;
  Application->CreateForm(form);
  if (const wchar_t* arg = std::wcsstr(CmdLine, L"--close-after ")) {
    auto* closer = Construct<TTimer>(form);
    closer->SetInterval(static_cast<int>(std::wcstol(arg + 14, nullptr, 10)));
    closer->OnTimer = [form](TObject*) { form->Close(); };
    closer->SetEnabled(true);
  }
  Application->Run();
  return 0;
}
