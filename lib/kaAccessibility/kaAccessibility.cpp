#include "lib/kaAccessibility/kaAccessibility.h"

#include "framework/Automation.h"
#include "framework/Messages.h"

namespace kaAccessibility {
namespace {

bool gEnabled = false;

bool AnswerGetObject(TWinControl* Control, TMessage& Message) {
  // Other object ids (the older accessibility interface) keep the default answer.
  if (static_cast<long>(Message.LParam) != kaUia::kRootObjectId) return false;
  const TUiaApi& api = UiaApi();
  if (api.ReturnRawElementProvider == nullptr) return false;
  IRawElementProviderSimple* provider = CreateProvider(Control);
  if (provider == nullptr) return false;
  Message.Result = api.ReturnRawElementProvider(Control->WindowHandle(), Message.WParam, Message.LParam, provider);
  provider->Release();
  return true;
}

void AnnounceFocus(TWinControl* Control) {
  const TUiaApi& api = UiaApi();
  // Building a provider for nobody is wasted work on every focus move.
  if (api.RaiseAutomationEvent == nullptr || api.ClientsAreListening == nullptr || !api.ClientsAreListening()) return;
  IRawElementProviderSimple* provider = CreateProvider(Control);
  if (provider == nullptr) return;
  api.RaiseAutomationEvent(provider, kaUia::kFocusChangedEvent);
  provider->Release();
}

}  // namespace

void Enable() {
  if (gEnabled) return;
  Automation::SetHooks(Automation::THooks{AnswerGetObject, AnnounceFocus});
  gEnabled = true;
}

void Disable() {
  if (!gEnabled) return;
  Automation::SetHooks(Automation::THooks{});
  gEnabled = false;
}

bool Enabled() { return gEnabled; }

IRawElementProviderSimple* CreateProvider(TWinControl* Control) {
  TElementProvider* element = TElementProvider::Create(CreateAdapter(Control));
  return element != nullptr ? static_cast<IRawElementProviderSimple*>(element) : nullptr;
}

}  // namespace kaAccessibility
