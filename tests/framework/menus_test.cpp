// Menus: the item tree and its ownership, radio groups, layouts nesting items, and the real
// system menu loop driven with keystrokes.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Menus.h"
#include "framework/Platform.h"
#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "tests/support/Handles.h"

namespace {

class TMenuHolder : public TComponent {
  KA_CLASS(TMenuHolder, TComponent)
 public:
  using TComponent::TComponent;
  TPopupMenu* PopupMenu1 = nullptr;
  std::vector<String> Clicks;
  void ItemClick(TObject* Sender) { Clicks.push_back(static_cast<TMenuItem*>(Sender)->Name()); }
};

KA_REGISTER_CLASS(TMenuHolder, [](auto& c) {
  c.Field(L"PopupMenu1", &TMenuHolder::PopupMenu1);
  c.Handler(L"ItemClick", &TMenuHolder::ItemClick);
});

TMenuItem* NewItem(TComponent* Owner, const String& Caption) {
  auto* Item = new TMenuItem(Owner);
  Item->SetCaption(Caption);
  return Item;
}

// Presses the keys into whichever menu window opens next, from a thread timer that fires
// inside the menu loop.
std::vector<WORD> PendingKeys;
void CALLBACK PressKeys(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND MenuWindow = ::FindWindowW(L"#32768", nullptr);
  if (MenuWindow == nullptr) return;
  ::KillTimer(nullptr, Id);
  for (WORD Key : PendingKeys) {
    ::PostMessageW(MenuWindow, WM_KEYDOWN, Key, 0);
    ::PostMessageW(MenuWindow, WM_KEYUP, Key, 0xC0000000);
  }
}

void PopupWithKeys(TPopupMenu* Menu, std::vector<WORD> Keys) {
  PendingKeys = std::move(Keys);
  ::SetTimer(nullptr, 0, 50, PressKeys);
  Menu->Popup(100, 100);
}

}  // namespace

TEST(Menus, ItemsFormATreeThatFreesItsChildren) {
  TComponent Owner(nullptr);
  TMenuItem* Root = NewItem(&Owner, L"root");
  TMenuItem* A = NewItem(&Owner, L"a");
  TMenuItem* B = NewItem(&Owner, L"b");
  TMenuItem* Sub = NewItem(&Owner, L"sub");
  Root->Add(A);
  Root->Add(B);
  B->Add(Sub);
  EXPECT_EQ(Root->Count(), 2);
  EXPECT_EQ(B->MenuIndex(), 1);
  EXPECT_EQ(Sub->Parent(), B);

  Root->Insert(0, Sub);  // moves it from B
  EXPECT_EQ(B->Count(), 0);
  EXPECT_EQ(Root->Items(0), Sub);

  A->Free();  // a freed item leaves its parent
  EXPECT_EQ(Root->Count(), 2);
  EXPECT_EQ(Root->IndexOf(B), 1);

  Root->Free();  // children go with it, and leave their owner
  EXPECT_EQ(Owner.ComponentCount(), 0);
}

TEST(Menus, RadioItemsOfAGroupExcludeEachOther) {
  TComponent Owner(nullptr);
  TMenuItem* Root = NewItem(&Owner, L"root");
  TMenuItem* Items[3];
  for (int i = 0; i < 3; ++i) {
    Items[i] = NewItem(&Owner, L"r");
    Items[i]->SetRadioItem(true);
    Items[i]->SetGroupIndex(i < 2 ? 1 : 2);
    Root->Add(Items[i]);
  }
  Items[0]->SetChecked(true);
  Items[2]->SetChecked(true);
  Items[1]->SetChecked(true);
  EXPECT_FALSE(Items[0]->Checked());
  EXPECT_TRUE(Items[1]->Checked());
  EXPECT_TRUE(Items[2]->Checked());  // another group

  Items[0]->SetAutoCheck(true);
  Items[0]->Click();
  EXPECT_TRUE(Items[0]->Checked());
  EXPECT_FALSE(Items[1]->Checked());
}

TEST(Menus, LayoutNestsItemsUnderTheirMenu) {
  TMenuHolder Holder(nullptr);
  ReadLayout(&Holder, R"(object Holder: TMenuHolder
  object PopupMenu1: TPopupMenu
    Alignment = paCenter
    object New1: TMenuItem
      Caption = '&New'
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object Recent1: TMenuItem
      Caption = 'Recent'
      object File1: TMenuItem
        Caption = 'File'
        OnClick = ItemClick
      end
    end
    object Exit1: TMenuItem
      Caption = 'E&xit'
      OnClick = ItemClick
    end
  end
end
)",
             L"menus");
  ASSERT_NE(Holder.PopupMenu1, nullptr);
  TMenuItem* Items = Holder.PopupMenu1->Items();
  ASSERT_EQ(Items->Count(), 4);
  EXPECT_EQ(Holder.PopupMenu1->Alignment(), paCenter);
  EXPECT_TRUE(Items->Items(1)->IsLine());
  ASSERT_EQ(Items->Items(2)->Count(), 1);
  EXPECT_EQ(Items->Items(2)->Items(0)->Name(), L"File1");
  Items->Items(3)->Click();
  EXPECT_EQ(Holder.Clicks, std::vector<String>{L"Exit1"});
}

TEST(Menus, PopupRunsTheMenuLoopAndClicksTheChosenItem) {
  TComponent Owner(nullptr);
  auto* Menu = new TPopupMenu(&Owner);
  std::vector<String> Events;
  const char* Names[] = {"first", "-", "disabled", "last"};
  for (const char* Name : Names) {
    TMenuItem* Item = NewItem(&Owner, String(Name, Name + strlen(Name)));
    Item->SetEnabled(strcmp(Name, "disabled") != 0);
    Item->OnClick = [&Events](TObject* Sender) { Events.push_back(static_cast<TMenuItem*>(Sender)->Caption()); };
    Menu->Items()->Add(Item);
  }
  Menu->OnPopup = [&Events](TObject*) { Events.push_back(L"popup"); };
  Menu->OnClose = [&Events](TObject*) { Events.push_back(L"close"); };

  // Up from no selection wraps round to the last item.
  PopupWithKeys(Menu, {VK_UP, VK_RETURN});
  EXPECT_EQ(Events, (std::vector<String>{L"popup", L"close", L"last"}));

  // The second Down skips the separator and lands on the disabled item, which Enter cannot
  // choose.
  Events.clear();
  PopupWithKeys(Menu, {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE});
  EXPECT_EQ(Events, (std::vector<String>{L"popup", L"close"}));

  Events.clear();
  PopupWithKeys(Menu, {VK_ESCAPE});
  EXPECT_EQ(Events, (std::vector<String>{L"popup", L"close"}));
}

TEST(Menus, PopupLeaksNoHandles) {
  TComponent Owner(nullptr);
  auto* Menu = new TPopupMenu(&Owner);
  TMenuItem* Sub = NewItem(&Owner, L"sub");
  Sub->Add(NewItem(&Owner, L"inner"));
  Menu->Items()->Add(Sub);
  Menu->Items()->Add(NewItem(&Owner, L"item"));
  PopupWithKeys(Menu, {VK_ESCAPE});
  const int Windows = ThreadWindowCount();
  const int Objects = GdiObjectCount();
  for (int i = 0; i < 5; ++i) PopupWithKeys(Menu, {VK_ESCAPE});
  EXPECT_EQ(ThreadWindowCount(), Windows);
  EXPECT_LE(GdiObjectCount(), Objects + 2);
}
