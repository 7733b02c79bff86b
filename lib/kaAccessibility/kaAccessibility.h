// Accessibility of the library's painted controls through UI Automation. The controls draw
// everything themselves, so without this a screen reader sees empty windows. A program calls
// kaAccessibility::Enable() once; from then on the windows of buttons, check boxes, switches,
// labels, panels, page viewers, page controls, list and combo boxes answer WM_GETOBJECT with
// providers, and focus moves are announced while an automation client listens. Without
// uiautomationcore.dll nothing changes.
#pragma once

#include "lib/kaAccessibility/ElementProvider.h"
#include "lib/kaAccessibility/UiaBinding.h"

namespace kaAccessibility {

// Installs the framework hooks (again, after Disable); harmless when already enabled.
void Enable();
// Takes the hooks out; providers already handed out keep working until released.
void Disable();
bool Enabled();

// The provider of Control's element with one reference that the caller releases, or nullptr
// when the library does not describe that kind of control.
IRawElementProviderSimple* CreateProvider(TWinControl* Control);

}  // namespace kaAccessibility
