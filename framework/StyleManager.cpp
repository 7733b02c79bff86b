// TStyleManager: the registered styles (the system style, the built-in custom styles and
// those a program adds), the active one, switching at run time, following the system's app
// mode, and which style draws a control.
#include <algorithm>

#include "framework/Controls.h"
#include "framework/StyleInternal.h"

namespace {

struct TStyleRegistry {
  std::mutex Lock;
  // Every listed name in order of registration, without the system style.
  std::vector<String> Names;
  // The custom styles behind names; owned here for the whole program.
  std::vector<std::unique_ptr<TCustomStyleServices>> Styles;
  TCustomStyleServices* Active = nullptr;  // nullptr: the system style
  bool Follow = false;
  String FollowDark, FollowLight;
  std::function<bool()> AppModeSource;
};

TCustomStyleServices* FindLocked(TStyleRegistry& R, const String& Name) {
  for (auto& s : R.Styles)
    if (SameText(s->Name(), Name)) return s.get();
  return nullptr;
}

void ListLocked(TStyleRegistry& R, const String& Name) {
  const bool known = std::any_of(R.Names.begin(), R.Names.end(), [&](const String& n) { return SameText(n, Name); });
  if (!known) R.Names.push_back(Name);
}

// Never destroyed, like the style services: usable to the very end of the process. The
// built-in styles are registered with it, as the program's embedded style files would be.
TStyleRegistry& Registry() {
  static auto* registry = [] {
    auto* r = new TStyleRegistry();
    for (const TStyleDescription* d : {&KarvoDarkStyle(), &KarvoLightStyle()}) {
      r->Styles.push_back(std::make_unique<TFlatStyleServices>(*d));
      r->Names.push_back(d->Name);
    }
    return r;
  }();
  return *registry;
}

[[noreturn]] void StyleNotFound(const String& Name) {
  throw EInvalidOperation(Format(L"Style '%ls' cannot be activated: no such style is registered", Name.c_str()));
}

bool ReadSystemDarkMode() {
  DWORD light = 1, size = sizeof(light);
  const LSTATUS status =
      ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size);
  return status == ERROR_SUCCESS && light == 0;
}

// Constant-initialised, so a unit may set it while the program's statics are made.
TStyleManager::TDarkFrameHandler gDarkFrameHandler = nullptr;

}  // namespace

// ---- Which style draws what ------------------------------------------------------------------

TCustomStyleServices* StyleServices(const TObject* Control) {
  for (auto* c = dynamic_cast<const TControl*>(Control); c != nullptr; c = c->Parent())
    if (!c->StyleName().empty())
      if (TCustomStyleServices* s = TStyleManager::Style(c->StyleName())) return s;
  return TStyleManager::ActiveStyle();
}

bool IsCustomStyleActive(const TObject* Control) {
  const TCustomStyleServices* s = StyleServices(Control);
  return !s->IsSystemStyle() && s->Enabled();
}

// ---- Style manager ---------------------------------------------------------------------------

TCustomStyleServices* TStyleManager::ActiveStyle() {
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  return r.Active != nullptr ? r.Active : SystemStyleServices();
}

TCustomStyleServices* TStyleManager::SystemStyle() { return SystemStyleServices(); }

bool TStyleManager::IsCustomStyleActive() {
  const TCustomStyleServices* s = ActiveStyle();
  return !s->IsSystemStyle() && s->Enabled();
}

std::vector<String> TStyleManager::StyleNames() {
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  std::vector<String> names{kSystemStyleName};
  names.insert(names.end(), r.Names.begin(), r.Names.end());
  return names;
}

void TStyleManager::RegisterStyleResource(const String& Name) {
  if (Name.empty()) throw EInvalidOperation(L"A style needs a name");
  if (SameText(Name, kSystemStyleName)) return;
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  ListLocked(r, Name);
}

TCustomStyleServices* TStyleManager::RegisterStyle(std::unique_ptr<TCustomStyleServices> Style) {
  if (Style == nullptr || Style->Name().empty()) throw EInvalidOperation(L"A style needs a name");
  const String name = Style->Name();
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  if (SameText(name, kSystemStyleName) || FindLocked(r, name) != nullptr)
    throw EInvalidOperation(Format(L"A style named '%ls' is already registered", name.c_str()));
  ListLocked(r, name);
  r.Styles.push_back(std::move(Style));
  return r.Styles.back().get();
}

TCustomStyleServices* TStyleManager::RegisterStyle(const TStyleDescription& Description) {
  return RegisterStyle(std::make_unique<TFlatStyleServices>(Description));
}

TCustomStyleServices* TStyleManager::Style(const String& Name) {
  if (SameText(Name, kSystemStyleName)) return SystemStyleServices();
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  return FindLocked(r, Name);
}

void TStyleManager::SetStyle(const String& Name) {
  if (!TrySetStyle(Name)) StyleNotFound(Name);
}

bool TStyleManager::TrySetStyle(const String& Name) {
  TCustomStyleServices* style = Style(Name);
  if (style == nullptr) return false;
  TStyleRegistry& r = Registry();
  TCustomStyleServices* old = nullptr;
  {
    std::lock_guard<std::mutex> lock(r.Lock);
    old = r.Active != nullptr ? r.Active : SystemStyleServices();
    if (old == style) return true;
    r.Active = style->IsSystemStyle() ? nullptr : style;
  }
  StyleEngineRestyle(old, style);
  return true;
}

void TStyleManager::SetFollowSystemAppMode(bool Follow, const String& DarkStyle, const String& LightStyle) {
  TStyleRegistry& r = Registry();
  {
    std::lock_guard<std::mutex> lock(r.Lock);
    r.Follow = Follow;
    r.FollowDark = DarkStyle;
    r.FollowLight = LightStyle;
  }
  if (Follow) StyleManagerApplyAppMode();
}

void StyleManagerApplyAppMode() {
  TStyleRegistry& r = Registry();
  String dark, light;
  {
    std::lock_guard<std::mutex> lock(r.Lock);
    if (!r.Follow) return;
    dark = r.FollowDark;
    light = r.FollowLight;
  }
  TStyleManager::TrySetStyle(TStyleManager::SystemUsesDarkMode() ? dark : light);
}

bool TStyleManager::FollowSystemAppMode() {
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  return r.Follow;
}

void TStyleManager::SetAppModeSource(std::function<bool()> SystemUsesDarkMode) {
  TStyleRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  r.AppModeSource = std::move(SystemUsesDarkMode);
}

bool TStyleManager::SystemUsesDarkMode() {
  std::function<bool()> source;
  {
    TStyleRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.Lock);
    source = r.AppModeSource;
  }
  return source ? source() : ReadSystemDarkMode();
}

void TStyleManager::SetDarkFrameHandler(TDarkFrameHandler Handler) { gDarkFrameHandler = Handler; }

TStyleManager::TDarkFrameHandler TStyleManager::DarkFrameHandler() { return gDarkFrameHandler; }

TStyleEngine& TStyleManager::Engine() {
  static auto* engine = new TStyleEngine();
  return *engine;
}
