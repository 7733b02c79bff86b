#include "framework/Designer.h"

#include "framework/Classes.h"

namespace Designer {
namespace {
TModifiedHook& Hook() {
  static TModifiedHook hook;
  return hook;
}
}  // namespace

TModifiedHook SetModifiedHook(TModifiedHook Value) {
  TModifiedHook previous = std::move(Hook());
  Hook() = std::move(Value);
  return previous;
}

void Modified(TComponent* Component) {
  if (Component == nullptr || !Component->ComponentState().Contains(csDesigning) || !Hook()) return;
  TComponent* root = Component;
  while (root->Owner() != nullptr) root = root->Owner();
  Hook()(root);
}

}  // namespace Designer
