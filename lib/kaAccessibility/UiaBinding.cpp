#include "lib/kaAccessibility/UiaBinding.h"

namespace kaAccessibility {
namespace {

template <class F>
void Bind(HMODULE Module, const char* Name, F& Target) {
  Target = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(Module, Name)));
}

TUiaApi LoadApi() {
  TUiaApi api;
  // Never freed: providers handed out may be called until the process ends.
  HMODULE module = ::LoadLibraryW(L"uiautomationcore.dll");
  if (module == nullptr) return api;
  Bind(module, "UiaReturnRawElementProvider", api.ReturnRawElementProvider);
  Bind(module, "UiaHostProviderFromHwnd", api.HostProviderFromHwnd);
  Bind(module, "UiaRaiseAutomationEvent", api.RaiseAutomationEvent);
  Bind(module, "UiaClientsAreListening", api.ClientsAreListening);
  if (!api.Complete()) api = TUiaApi{};
  return api;
}

TUiaApi& Current() {
  static TUiaApi api = LoadApi();
  return api;
}

}  // namespace

const TUiaApi& UiaApi() { return Current(); }

TUiaApi SetUiaApi(const TUiaApi& Value) {
  TUiaApi previous = Current();
  Current() = Value;
  return previous;
}

}  // namespace kaAccessibility
