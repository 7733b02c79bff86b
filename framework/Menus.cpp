#include "framework/Menus.h"

#include <algorithm>

#include "framework/Platform.h"
#include "framework/TypeInfo.h"

// ---- TMenuItem ------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Clear();
  if (FParent != nullptr) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[Index];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TMenuItem::MenuIndex() const { return FParent != nullptr ? FParent->IndexOf(this) : -1; }

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item == nullptr || Item == this) return;
  if (Item->FParent != nullptr) Item->FParent->Remove(Item);
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index) { Remove(Items(Index)); }

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* Item = FItems.back();
    Remove(Item);
    Item->Free();
  }
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) UncheckRadioSiblings();
}

void TMenuItem::UncheckRadioSiblings() {
  if (FParent == nullptr) return;
  for (TMenuItem* Sibling : FParent->FItems)
    if (Sibling != this && Sibling->FRadioItem && Sibling->FGroupIndex == FGroupIndex) Sibling->FChecked = false;
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  if (OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const { return FParent; }

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Value))
    Item->Add(this);
  else if (auto* Menu = dynamic_cast<TPopupMenu*>(Value))
    Menu->Items()->Add(this);
}

// ---- TPopupMenu -----------------------------------------------------------------------------

namespace {

class TMenuHandle {
 public:
  TMenuHandle() : FHandle(::CreatePopupMenu()) {}
  ~TMenuHandle() {
    if (FHandle != nullptr) ::DestroyMenu(FHandle);
  }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;
  HMENU Release() {
    HMENU Handle = FHandle;
    FHandle = nullptr;
    return Handle;
  }
  HMENU Get() const { return FHandle; }

 private:
  HMENU FHandle;
};

// The menu loop needs a window of this thread to report to; one lives for each Popup call.
class TMenuOwnerWindow {
 public:
  TMenuOwnerWindow() {
    static const ATOM Class = [] {
      WNDCLASSEXW wc{sizeof(wc)};
      wc.lpfnWndProc = ::DefWindowProcW;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"TkaPopupMenuOwner";
      return ::RegisterClassExW(&wc);
    }();
    (void)Class;
    FHandle = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"TkaPopupMenuOwner", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  ~TMenuOwnerWindow() {
    if (FHandle != nullptr) ::DestroyWindow(FHandle);
  }
  TMenuOwnerWindow(const TMenuOwnerWindow&) = delete;
  TMenuOwnerWindow& operator=(const TMenuOwnerWindow&) = delete;
  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle = nullptr;
};

// Appends Parent's visible children to Menu; command n + 1 stands for Commands[n].
void BuildMenu(HMENU Menu, const TMenuItem* Parent, std::vector<TMenuItem*>& Commands) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* Item = Parent->Items(i);
    if (!Item->Visible()) continue;
    if (Item->IsLine()) {
      ::AppendMenuW(Menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT Flags = MF_STRING;
    if (!Item->Enabled()) Flags |= MF_GRAYED;
    if (Item->Checked()) Flags |= MF_CHECKED;
    if (Item->Count() > 0) {
      TMenuHandle Sub;
      BuildMenu(Sub.Get(), Item, Commands);
      // Once appended, the submenu belongs to Menu and is destroyed with it.
      ::AppendMenuW(Menu, Flags | MF_POPUP, reinterpret_cast<UINT_PTR>(Sub.Get()), Item->Caption().c_str());
      Sub.Release();
    } else {
      Commands.push_back(Item);
      ::AppendMenuW(Menu, Flags, Commands.size(), Item->Caption().c_str());
    }
    const UINT Position = static_cast<UINT>(::GetMenuItemCount(Menu) - 1);
    if (Item->RadioItem()) {
      MENUITEMINFOW Info{sizeof(Info)};
      Info.fMask = MIIM_FTYPE;
      Info.fType = MFT_RADIOCHECK;
      ::SetMenuItemInfoW(Menu, Position, TRUE, &Info);
    }
    if (Item->Default()) ::SetMenuDefaultItem(Menu, Position, TRUE);
  }
}

UINT AlignmentFlags(TPopupAlignment Alignment) {
  switch (Alignment) {
    case paRight: return TPM_RIGHTALIGN;
    case paCenter: return TPM_CENTERALIGN;
    default: return TPM_LEFTALIGN;
  }
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() { FItems->Free(); }

void TPopupMenu::SetPopupComponent(TComponent* Value) { ReplaceReference(FPopupComponent, Value); }

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = TPoint(X, Y);
  if (OnPopup) OnPopup(this);
  TMenuItem* Chosen = nullptr;
  {
    std::vector<TMenuItem*> Commands;
    TMenuHandle Menu;
    BuildMenu(Menu.Get(), FItems, Commands);
    TMenuOwnerWindow Owner;
    const UINT Flags = AlignmentFlags(FAlignment) | TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY;
    const int Command = ::TrackPopupMenuEx(Menu.Get(), Flags, X, Y, Owner.Handle(), nullptr);
    if (Command > 0 && Command <= static_cast<int>(Commands.size())) Chosen = Commands[Command - 1];
  }
  if (OnClose) OnClose(this);
  // Last, because a click may free this menu (an "Exit" item closing its form).
  if (Chosen != nullptr) Chosen->Click();
}

KA_REGISTER_ENUM(TPopupAlignment, {{L"paLeft", paLeft}, {L"paRight", paRight}, {L"paCenter", paCenter}});

KA_REGISTER_CLASS(TMenuItem, [](auto& c) {
  c.Property(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  c.Property(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  c.Property(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
  c.Property(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
  c.Property(L"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
  c.Property(L"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex);
  c.Property(L"AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
  c.Property(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault);
  c.Property(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
  c.Property(L"Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  c.Property(L"OnClick", &TMenuItem::OnClick);
});

KA_REGISTER_CLASS(TPopupMenu, [](auto& c) {
  c.Property(L"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment);
  c.Property(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
  c.Property(L"OnPopup", &TPopupMenu::OnPopup);
  c.Property(L"OnClose", &TPopupMenu::OnClose);
});
