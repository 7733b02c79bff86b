// The colour routines under both custom styles (every routine's custom-style branch, for the
// application and for a control whose StyleName differs), and the compositor's dark caption
// asked for through the binding layer.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

TColor Font(TStyleFont F) { return TStyleManager::ActiveStyle()->GetStyleFontColor(F); }
TColor Text(TThemedElementDetails D) {
  TColor c = clNone;
  TStyleManager::ActiveStyle()->GetElementColor(D, ecTextColor, c);
  return c;
}
template <class T>
TColor Text(T Detail) {
  return Text(TCustomStyleServices::GetElementDetails(Detail));
}

class StyledColorRoutines : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(StyledColorRoutines);

TEST_P(StyledColorRoutines, SystemColoursResolveThroughTheStyle) {
  const bool dark = TStyleManager::ActiveStyle()->IsDark();
  EXPECT_EQ(GetStyleSystemColor(clBtnFace), TStyleScope::Style().Window);
  EXPECT_EQ(GetStyleSystemColor(clRed), clRed);
  EXPECT_EQ(IsDarkButtonFace(), dark);
  EXPECT_EQ(IsDarkWindowColor(), dark);
  EXPECT_EQ(IsLightColor(clBtnFace), !dark);
  EXPECT_EQ(GetEditColor(false), TStyleManager::ActiveStyle()->GetStyleColor(scEdit));
  EXPECT_EQ(GetEditColor(true), TStyleManager::ActiveStyle()->GetStyleColor(scEditDisabled));
  EXPECT_EQ(GetEditTextColor(kasNormal), Font(sfEditBoxTextNormal));
  EXPECT_EQ(GetEditTextColor(kasHot), Font(sfEditBoxTextDisabled));
}

// Each per-state routine answers the style's element text colour of its table.
TEST_P(StyledColorRoutines, PerStateTextColoursAreTheElementsOfTheirTables) {
  const TStyleDescription& s = TStyleScope::Style();
  EXPECT_EQ(GetButtonTextColor(kasNormal), s.Button.Text.Normal);
  EXPECT_EQ(GetButtonTextColor(kasPressed), s.Button.Text.Pressed);
  EXPECT_EQ(GetButtonTextColor(kasDisabled), s.Button.Text.Disabled);
  EXPECT_EQ(GetToolButtonTextColor(kasHot), s.ToolButton.Text.Hot);
  EXPECT_EQ(GetCheckBoxTextColor(kasDisabled), s.CheckBox.Text.Disabled);
  EXPECT_EQ(GetHeaderTextColor(kasPressed), s.Header.Text.Pressed);
  EXPECT_EQ(GetHeaderTextColor(kasDisabled), Text(tbCheckBoxUncheckedDisabled));
  EXPECT_EQ(GetTabTextColor(kasNormal), s.Tab.Text.Normal);
  EXPECT_EQ(GetTabTextColor(kasFocused), s.Tab.Text.Pressed);
  EXPECT_EQ(GetTabButtonTextColor(kasPressed), GetTabTextColor(kasFocused));
  EXPECT_EQ(GetSelectionTextColor(), s.ListItem.Text.Pressed);
  EXPECT_EQ(GetCaptionTextColor(kasNormal), s.Caption.Text.Normal);
  EXPECT_EQ(GetCaptionTextColor(kasDisabled), s.Caption.Text.Disabled);
  EXPECT_EQ(GetPopupItemTextColor(kasHot), s.MenuItem.Text.Hot);
  EXPECT_EQ(GetPopupItemTextColor(kasDisabled), s.MenuItem.Text.Disabled);
  // None of them is the classic answer any more.
  EXPECT_NE(GetButtonTextColor(kasNormal), clBtnText);
  EXPECT_NE(GetCheckBoxTextColor(kasDisabled), clGrayText);
}

TEST(StyledColorRoutinesPerControl, AControlsStyleNameWinsOverTheApplications) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetStyleName(L"Karvo Light");
  EXPECT_TRUE(IsCustomStyleActiveFor(form));
  EXPECT_FALSE(IsCustomStyleActiveFor(nullptr));
  EXPECT_EQ(GetStyleSystemColor(clBtnFace, form), KarvoLightStyle().Window);
  EXPECT_EQ(GetStyleSystemColor(clBtnFace), clBtnFace);
  {
    TStyleScope scope(L"Karvo Dark");
    EXPECT_EQ(GetButtonTextColor(kasNormal, form), KarvoLightStyle().Button.Text.Normal);
    EXPECT_EQ(GetButtonTextColor(kasNormal), KarvoDarkStyle().Button.Text.Normal);
  }
  form->Free();
}

// ---- Dark caption ----------------------------------------------------------------------------

TEST(DarkCaption, AskedWithTheAttributeNumberOfTheSystemAndOnlyWhereItExists) {
  struct TCase {
    int Major, Build;
    bool Asked;
    DWORD Attribute;
  };
  const TCase cases[] = {{10, 22000, true, 20}, {10, 18985, true, 20}, {10, 18362, true, 19},
                         {10, 17763, true, 19}, {10, 17134, false, 0}, {6, 0, false, 0}};
  HWND wnd = reinterpret_cast<HWND>(0x1234);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Build);
    TkaCompositionTesting testing;
    testing.SetVersion(c.Major, c.Major == 10 ? 0 : 1, c.Build);
    EXPECT_EQ(SetWindowDarkCaption(wnd, true), c.Asked);
    ASSERT_EQ(testing.WindowAttributeCalls.size(), c.Asked ? 1u : 0u);
    if (!c.Asked) continue;
    EXPECT_EQ(testing.WindowAttributeCalls[0].Attribute, c.Attribute);
    EXPECT_EQ(testing.WindowAttributeCalls[0].Size, sizeof(BOOL));
    EXPECT_EQ(testing.WindowAttributeCalls[0].IntValue(), 1);
  }
  TkaCompositionTesting unbound;
  unbound.SetVersion(10, 0, 22000);
  unbound.Binding().DwmSetWindowAttribute = nullptr;
  EXPECT_FALSE(SetWindowDarkCaption(wnd, true));
}

TEST(DarkCaption, TheStyleEngineGivesDarkFormsTheAttributeAndTakesItBack) {
  TkaCompositionTesting testing;
  testing.SetVersion(10, 0, 22000);
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->Show();
  auto calls = [&](int Value) {
    int n = 0;
    for (const auto& c : testing.WindowAttributeCalls)
      if (c.Wnd == form->WindowHandle() && c.Attribute == kaDwmUseImmersiveDarkMode && c.IntValue() == Value) ++n;
    return n;
  };
  {
    TStyleScope dark(L"Karvo Dark");
    EXPECT_EQ(calls(1), 1);
    TStyleManager::SetStyle(L"Karvo Light");
    EXPECT_EQ(calls(0), 1);
  }
  EXPECT_EQ(calls(1), 1);
  EXPECT_EQ(calls(0), 1);
  form->Free();
  PumpPending();
}

}  // namespace
