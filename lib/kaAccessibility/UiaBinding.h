// The four functions of uiautomationcore.dll the providers need, bound by name at run time:
// the MinGW toolchain has no import library for it, and a system without it must still run
// the program (it then simply has no providers).
#pragma once

#include "lib/kaAccessibility/UiaInterfaces.h"

namespace kaAccessibility {

struct TUiaApi {
  LRESULT(WINAPI* ReturnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
  HRESULT(WINAPI* HostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
  HRESULT(WINAPI* RaiseAutomationEvent)(IRawElementProviderSimple*, EVENTID) = nullptr;
  BOOL(WINAPI* ClientsAreListening)() = nullptr;

  // All four are there; anything less and the layer stays out of the way.
  bool Complete() const {
    return ReturnRawElementProvider != nullptr && HostProviderFromHwnd != nullptr &&
           RaiseAutomationEvent != nullptr && ClientsAreListening != nullptr;
  }
};

// The bound functions; the library is loaded on the first call and kept for the process.
const TUiaApi& UiaApi();
// Replaces the bound functions (tests put recording fakes in) and returns the previous ones.
TUiaApi SetUiaApi(const TUiaApi& Value);

}  // namespace kaAccessibility
