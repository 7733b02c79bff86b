#include <algorithm>

#include "framework/Themes.h"

namespace {

const wchar_t kSystemStyleName[] = L"Windows";

struct TStyleRegistry {
  std::mutex Lock;
  std::vector<String> Names;  // registered style names, without the system style
};

// Never destroyed, like the style services: usable to the very end of the process.
TStyleRegistry& Registry() {
  static auto* registry = new TStyleRegistry();
  return *registry;
}

[[noreturn]] void StyleNotFound(const String& Name) {
  throw EInvalidOperation(Format(L"Style '%ls' cannot be activated: only the system style is available",
                                 Name.c_str()));
}

}  // namespace

// ---- Style hooks ----------------------------------------------------------------------

void TStyleEngine::RegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass) {
  if (ClassName.empty() || !HookClass)
    throw EInvalidOperation(L"A style hook needs a class name and a hook class");
  std::lock_guard<std::mutex> lock(FLock);
  auto& hooks = FHooks[LowerCase(ClassName)];
  if (std::find(hooks.begin(), hooks.end(), HookClass) != hooks.end())
    throw EInvalidOperation(Format(L"Style hook %ls is already registered for %ls", HookClass.Name().c_str(),
                                   ClassName.c_str()));
  hooks.push_back(HookClass);
}

bool TStyleEngine::UnRegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass) {
  std::lock_guard<std::mutex> lock(FLock);
  auto entry = FHooks.find(LowerCase(ClassName));
  if (entry == FHooks.end()) return false;
  auto& hooks = entry->second;
  auto it = std::find(hooks.begin(), hooks.end(), HookClass);
  if (it == hooks.end()) return false;
  hooks.erase(it);
  if (hooks.empty()) FHooks.erase(entry);
  return true;
}

TStyleHookClass TStyleEngine::FindStyleHook(const String& ClassName) const {
  std::lock_guard<std::mutex> lock(FLock);
  auto entry = FHooks.find(LowerCase(ClassName));
  if (entry == FHooks.end() || entry->second.empty()) return TStyleHookClass();
  return entry->second.back();
}

// ---- Style manager --------------------------------------------------------------------

TCustomStyleServices* TStyleManager::ActiveStyle() { return StyleServices(); }

TCustomStyleServices* TStyleManager::SystemStyle() { return StyleServices(); }

std::vector<String> TStyleManager::StyleNames() {
  TStyleRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.Lock);
  std::vector<String> names{kSystemStyleName};
  names.insert(names.end(), registry.Names.begin(), registry.Names.end());
  return names;
}

void TStyleManager::RegisterStyleResource(const String& Name) {
  if (Name.empty()) throw EInvalidOperation(L"A style needs a name");
  if (SameText(Name, kSystemStyleName)) return;
  TStyleRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.Lock);
  const bool known = std::any_of(registry.Names.begin(), registry.Names.end(),
                                 [&](const String& n) { return SameText(n, Name); });
  if (!known) registry.Names.push_back(Name);
}

void TStyleManager::SetStyle(const String& Name) {
  if (!TrySetStyle(Name)) StyleNotFound(Name);
}

bool TStyleManager::TrySetStyle(const String& Name) {
  // The system style is always the active one; asking for it again changes nothing.
  return SameText(Name, kSystemStyleName);
}

TStyleEngine& TStyleManager::Engine() {
  static auto* engine = new TStyleEngine();
  return *engine;
}
