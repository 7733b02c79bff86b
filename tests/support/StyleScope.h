// Runs a test under a custom style: switches the application to it for one scope and back
// to the system style afterwards (also when the test fails), so the tests after it find the
// system style as the program starts with.
#pragma once

#include <gtest/gtest.h>

#include "framework/Themes.h"

// The built-in custom styles every styled branch is run under.
inline const wchar_t* const kKarvoStyles[] = {L"Karvo Dark", L"Karvo Light"};

class TStyleScope {
 public:
  explicit TStyleScope(const String& Name) { TStyleManager::SetStyle(Name); }
  ~TStyleScope() { TStyleManager::SetStyle(L"Windows"); }
  TStyleScope(const TStyleScope&) = delete;
  TStyleScope& operator=(const TStyleScope&) = delete;

  // The active custom style's description (its palette and faces).
  static const TStyleDescription& Style() {
    return static_cast<TFlatStyleServices*>(TStyleManager::ActiveStyle())->Description();
  }
  // A system colour as the active style shows it, as RGB.
  static TColor Sys(TColor Color) { return TStyleManager::ActiveStyle()->ColorToRGB(Color); }
};

// Parameterised fixtures over both styles: the parameter is the style's name.
class TKarvoStyleTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  TStyleScope Scope{GetParam()};
};

inline std::string KarvoStyleName(const ::testing::TestParamInfo<const wchar_t*>& Info) {
  return String(Info.param) == L"Karvo Dark" ? "Dark" : "Light";
}

#define KA_INSTANTIATE_KARVO_STYLES(Fixture) \
  INSTANTIATE_TEST_SUITE_P(Styles, Fixture, ::testing::ValuesIn(kKarvoStyles), KarvoStyleName)
