// Colour resolution, colour arithmetic and the per-state text colours, with visual styles
// as the system has them and with controls forced to classic drawing.
#include <gtest/gtest.h>

#include <string>

#include "lib/kaDrawUtils/CompositionTesting.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"

namespace {

constexpr TColor Grey(uint8_t v) { return RGBColor(v, v, v); }

struct TArithmeticCase {
  const char* Name;
  TColor Actual;
  TColor Expected;
};

// Computed case by case so the expectations show the integer rules (MulDiv rounds halves
// away from zero, the average truncates, the shade threshold is the value 50 %).
std::vector<TArithmeticCase> ArithmeticCases() {
  const TColor face = ColorToRGB(clBtnFace);
  auto darker3 = [](int c) { return static_cast<uint8_t>(c - ::MulDiv(c, 3, 100)); };
  return {
      {"DarkerWhite3", DarkerColor(clWhite, 3), Grey(247)},           // 255 - 7.65 rounded to 8
      {"DarkerMixed50", DarkerColor(RGBColor(200, 101, 1), 50), RGBColor(100, 50, 0)},  // 50.5 -> 51, 0.5 -> 1
      {"DarkerClampedAt100", DarkerColor(RGBColor(12, 200, 255), 250), clBlack},
      {"DarkerNegativeIsNoChange", DarkerColor(RGBColor(12, 200, 255), -5), RGBColor(12, 200, 255)},
      {"DarkerSystemColour", DarkerColor(clBtnFace, 3),
       RGBColor(darker3(GetRValue(face)), darker3(GetGValue(face)), darker3(GetBValue(face)))},
      {"LighterBlack3", LighterColor(clBlack, 3), Grey(8)},
      {"LighterMixed10", LighterColor(RGBColor(0, 250, 100), 10), RGBColor(26, 251, 116)},  // 25.5 -> 26, 0.5 -> 1
      {"LighterClampedAt100", LighterColor(RGBColor(1, 2, 3), 250), clWhite},
      {"LighterZero", LighterColor(clNavy, 0), clNavy},
      {"AverageTruncates", AverageColor(RGBColor(1, 255, 10), RGBColor(2, 0, 13)), RGBColor(1, 127, 11)},
      {"AverageWithSystemColour", AverageColor(clBtnFace, clBtnFace), face},
      {"ShadeOf127IsDarker", GetShadeColor(Grey(127)), Grey(123)},
      {"ShadeOf126IsLighter", GetShadeColor(Grey(126)), Grey(130)},
      {"ShadeOfWhite", GetShadeColor(clWhite), Grey(247)},
      {"ShadeOfBlack", GetShadeColor(clBlack), Grey(8)},
      {"ShadeUsesLargestChannel", GetShadeColor(RGBColor(0, 0, 200)), RGBColor(0, 0, 194)},
      {"ShadeOfSystemColour", GetShadeColor(clBtnFace), GetShadeColor(face)},
  };
}

TEST(ColorArithmetic, IntegerRules) {
  for (const auto& c : ArithmeticCases()) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(static_cast<uint32_t>(c.Actual), static_cast<uint32_t>(c.Expected));
  }
}

TEST(ColorArithmetic, BrightnessTestsAndPixels) {
  EXPECT_TRUE(IsLightColor(Grey(127)));
  EXPECT_FALSE(IsLightColor(RGBColor(127, 127, 126)));  // average 126
  EXPECT_TRUE(IsLightColor(clWhite));
  const TColor face = ColorToRGB(clBtnFace), window = ColorToRGB(clWindow);
  EXPECT_EQ(IsDarkButtonFace(), (GetRValue(face) + GetGValue(face) + GetBValue(face)) / 3 <= 127);
  EXPECT_EQ(IsDarkWindowColor(), (GetRValue(window) + GetGValue(window) + GetBValue(window)) / 3 <= 127);

  EXPECT_EQ(ColorToBGRA(RGBColor(0x11, 0x22, 0x33), 0x44), 0x44112233u);
  EXPECT_EQ(ColorToBGRA(clBtnFace, 0xFF),
            0xFF000000u | (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
}

TEST(StyleColors, WithoutCustomStyleColoursPassUnchanged) {
  EXPECT_FALSE(IsCustomStyleActiveFor(nullptr));
  for (TColor c : {clBtnFace, clHighlight, clWindowText, clRed, clNone, clDefault}) {
    EXPECT_EQ(GetStyleSystemColor(c), c);
  }
  EXPECT_EQ(ColorToRGB(GetStyleSystemColor(clBtnFace)), MakeColor(::GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(GetEditColor(false), clWindow);
  EXPECT_EQ(GetEditColor(true), clWindow);
  EXPECT_EQ(GetEditTextColor(kasNormal), clWindowText);
  EXPECT_EQ(GetEditTextColor(kasHot), clWindowText);
  EXPECT_EQ(GetEditTextColor(kasDisabled), clGrayText);
}

// Runs as the system is set up (visual styles usually on) and with controls forced classic.
class TextColors : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    FSaved = ::GetThemeAppProperties();
    if (GetParam()) {
      ::SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
      StyleServices()->ThemesChanged();
      ASSERT_FALSE(StyleServices()->Enabled());
    }
  }
  void TearDown() override {
    if (GetParam()) {
      ::SetThemeAppProperties(FSaved);
      StyleServices()->ThemesChanged();
    }
  }

 private:
  DWORD FSaved = 0;
};

TEST_P(TextColors, PerStateRoutinesGiveClassicColours) {
  using TRoutine = TColor (*)(TkasCtrlState, const TControl*);
  const std::pair<const char*, TRoutine> routines[] = {
      {"Button", GetButtonTextColor},   {"ToolButton", GetToolButtonTextColor},
      {"CheckBox", GetCheckBoxTextColor}, {"Header", GetHeaderTextColor},
      {"Tab", GetTabTextColor},         {"TabButton", GetTabButtonTextColor},
  };
  for (const auto& [name, routine] : routines) {
    for (TkasCtrlState s : {kasNormal, kasHot, kasPressed, kasFocused, kasDisabled}) {
      SCOPED_TRACE(std::string(name) + " state " + std::to_string(s));
      EXPECT_EQ(routine(s, nullptr), s == kasDisabled ? clGrayText : clBtnText);
    }
  }
  EXPECT_EQ(GetCaptionTextColor(kasNormal), clCaptionText);
  EXPECT_EQ(GetCaptionTextColor(kasHot), clCaptionText);
  EXPECT_EQ(GetCaptionTextColor(kasDisabled), clInactiveCaptionText);
}

TEST_P(TextColors, SelectionDependsOnStylesAndWindowsVersion) {
  const bool classic = GetParam();
  TkaCompositionTesting testing;
  testing.SetVersion(5, 1, 0);
  EXPECT_EQ(GetSelectionTextColor(), clHighlightText);
  testing.SetVersion(10, 0, 22000);
  EXPECT_EQ(GetSelectionTextColor(), classic ? clHighlightText : clWindowText);
  testing.SetVersion(10, 0, 19045);
  if (classic) {
    EXPECT_EQ(GetSelectionTextColor(), clHighlightText);
  } else {
    // The selected cell's text colour from the theme (or its classic stand-in): plain RGB.
    EXPECT_EQ(static_cast<uint32_t>(GetSelectionTextColor()) & 0xFF000000u, 0u);
  }
}

TEST_P(TextColors, PopupItemsFollowWhetherStylesAreOn) {
  if (GetParam()) {
    EXPECT_EQ(GetPopupItemTextColor(kasNormal), clBtnText);
    EXPECT_EQ(GetPopupItemTextColor(kasPressed), clBtnText);
    EXPECT_EQ(GetPopupItemTextColor(kasHot), clHighlightText);
    EXPECT_EQ(GetPopupItemTextColor(kasDisabled), clGrayText);
  } else {
    // The menu elements' text colours: resolved RGB values, normal and disabled differing.
    for (TkasCtrlState s : {kasNormal, kasHot, kasDisabled})
      EXPECT_EQ(static_cast<uint32_t>(GetPopupItemTextColor(s)) & 0xFF000000u, 0u) << s;
    EXPECT_NE(GetPopupItemTextColor(kasNormal), GetPopupItemTextColor(kasDisabled));
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, TextColors, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Classic" : "AsSystem"); });

}  // namespace
