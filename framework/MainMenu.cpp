#include "framework/MainMenu.h"

#include <cwctype>

#include "framework/TypeInfo.h"

TMainMenu* FormMainMenu(const TComponent* Form) {
  if (Form == nullptr) return nullptr;
  for (int i = 0; i < Form->ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMainMenu*>(Form->Components(i))) return menu;
  return nullptr;
}

wchar_t MenuItemAccelerator(const String& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&') continue;
    if (Caption[i + 1] == L'&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return static_cast<wchar_t>(std::towlower(Caption[i + 1]));
  }
  return 0;
}

KA_REGISTER_CLASS(TMainMenu, [](auto& c) { c.Property(L"AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge); });
