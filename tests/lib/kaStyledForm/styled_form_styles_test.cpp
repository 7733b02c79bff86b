// The styled form with custom styles: the styles submenu offers the system style and both
// built-in styles, choosing one there switches the application (the form comes back with its
// style hook and the new choice checked), and the menu item variant does the same.
#include <gtest/gtest.h>

#include "framework/Menus.h"
#include "lib/kaStyledForm/FormStyleHook.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

struct TStyledScene {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  TkaStyledForm* Styled = Construct<TkaStyledForm>(Form);
  TStyledScene() {
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    Styled->SetShowStylesMenu(true);
  }
  ~TStyledScene() {
    TStyleManager::SetStyle(L"Windows");
    Form->Free();
    PumpPending();
  }
  HMENU Styles() {
    HMENU system = ::GetSystemMenu(Form->Handle(), FALSE);
    const int n = ::GetMenuItemCount(system);
    for (int i = 0; i < n; ++i)
      if (::GetMenuItemID(system, i) == static_cast<UINT>(-1) && ::GetSubMenu(system, i) != nullptr)
        return ::GetSubMenu(system, i);
    return nullptr;
  }
  String Checked() {
    HMENU styles = Styles();
    for (int i = 0; styles != nullptr && i < ::GetMenuItemCount(styles); ++i)
      if (::GetMenuState(styles, i, MF_BYPOSITION) & MF_CHECKED) {
        wchar_t text[64] = {};
        ::GetMenuStringW(styles, i, text, 64, MF_BYPOSITION);
        return text;
      }
    return String();
  }
};

TEST(StyledFormStyles, SubmenuOffersEveryStyleAndChoosingOneSwitchesTheApplication) {
  TStyledScene scene;
  HMENU styles = scene.Styles();
  ASSERT_NE(styles, nullptr);
  ASSERT_GE(::GetMenuItemCount(styles), 3);
  const wchar_t* expected[] = {L"Windows", L"Karvo Dark", L"Karvo Light"};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    ::GetMenuStringW(styles, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[i]);
    EXPECT_EQ(::GetMenuItemID(styles, i), kaStyleCommandBase + i);
  }
  EXPECT_EQ(scene.Checked(), L"Windows");

  const HWND before = scene.Form->Handle();
  ::SendMessageW(before, WM_SYSCOMMAND, kaStyleCommandBase + 1, 0);
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Dark");
  EXPECT_NE(scene.Form->Handle(), before) << "re-created so that its hook applies";
  EXPECT_NE(dynamic_cast<TkaFormStyleHook*>(TStyleManager::Engine().AttachedHook(scene.Form->Handle())), nullptr);
  EXPECT_EQ(scene.Checked(), L"Karvo Dark");

  ::SendMessageW(scene.Form->Handle(), WM_SYSCOMMAND, kaStyleCommandBase + 2, 0);
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Light");
  EXPECT_EQ(scene.Checked(), L"Karvo Light") << "the submenu follows a switch without re-creation too";

  ::SendMessageW(scene.Form->Handle(), WM_SYSCOMMAND, kaStyleCommandBase, 0);
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(TStyleManager::Engine().AttachedHook(scene.Form->Handle()), nullptr);
  EXPECT_EQ(scene.Checked(), L"Windows");
}

TEST(StyledFormStyles, StyleMenuItemsAreRadioItemsThatSwitch) {
  TStyledScene scene;
  TMenuItem root(nullptr);
  scene.Styled->CreateStyleMenu(&root);
  ASSERT_GE(root.Count(), 3);
  EXPECT_TRUE(root.Items(0)->Checked());
  root.Items(2)->Click();
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Light");
}

}  // namespace
