#include "lib/kaAccessibility/AutomationAdapter.h"

namespace kaAccessibility {

// ---- TControlLink ---------------------------------------------------------------------------

TControlLink::TControlLink(TWinControl* AControl) : TComponent(nullptr), FControl(AControl) {
  if (FControl != nullptr) FControl->FreeNotification(this);
}

TControlLink::~TControlLink() {
  // Leave quietly: the control need not hear of a link going away.
  if (FControl != nullptr) FControl->RemoveFreeNotification(this);
}

TWinControl* TControlLink::Control() const {
  // A control in its destructor is already half gone: its parts must not be asked for.
  if (FControl == nullptr || FControl->ComponentState().Contains(csDestroying)) return nullptr;
  return FControl;
}

void TControlLink::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

// ---- TAutomationAdapter ---------------------------------------------------------------------

TAutomationAdapter::TAutomationAdapter(TWinControl* AControl) : FLink(new TControlLink(AControl)) {}

TAutomationAdapter::~TAutomationAdapter() { FLink->Free(); }

String TAutomationAdapter::Name() const {
  TWinControl* c = Control();
  return c != nullptr ? StripAccelerator(c->Caption()) : String();
}

bool TAutomationAdapter::HasPattern(PATTERNID Pattern) const { return false; }

int TAutomationAdapter::ItemAt(TPoint ScreenPoint) const {
  for (int i = 0; i < ItemCount(); ++i) {
    const TRect r = ItemScreenRect(i);
    if (!r.IsEmpty() && r.Contains(ScreenPoint)) return i;
  }
  return -1;
}

String StripAccelerator(const String& Caption) {
  String result;
  result.reserve(Caption.size());
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == L'&') {
      if (i + 1 >= Caption.size()) break;
      ++i;
    }
    result += Caption[i];
  }
  return result;
}

}  // namespace kaAccessibility
