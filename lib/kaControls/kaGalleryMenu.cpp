#include "lib/kaControls/kaGalleryMenu.h"

#include "framework/TypeInfo.h"
#include "lib/kaHint/kaHint.h"

// ---- Items ----------------------------------------------------------------------------------

void TkaGalleryMenuItem::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TkaGalleryMenuItem*>(Source);
  if (other == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FImageIndex = other->FImageIndex;
  FCaption = other->FCaption;
  FButton = other->FButton;
  FHeader = other->FHeader;
  FHint = other->FHint;
}

TkaGalleryMenuItems::TkaGalleryMenuItems(TkaGalleryMenu* AGalleryMenu)
    : TOwnedCollection(AGalleryMenu, [](TCollection* C) -> TCollectionItem* { return new TkaGalleryMenuItem(C); }) {}

// ---- The menu -------------------------------------------------------------------------------

TkaGalleryMenu::TkaGalleryMenu(TComponent* AOwner)
    : TComponent(AOwner),
      FItems(std::make_unique<TkaGalleryMenuItems>(this)),
      FItemFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()) {}

TkaGalleryMenu::~TkaGalleryMenu() {
  // An open drop-down closes as usual: the button it was opened for stops looking pressed.
  if (FPopupWindow != nullptr) FPopupWindow->Hide(false);
}

void TkaGalleryMenu::SetItemIndex(int Value) {
  if (FItemIndex == Value) return;
  if (ComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  const int old = FItemIndex;
  FItemIndex = Value;
  const int count = FItems->Count();
  if ((Value >= 0 && Value < count && FItems->Items(Value)->Header()) || Value > count - 1) FItemIndex = old;
  if (FItemIndex != old && !ComponentState().Contains(csLoading)) RaiseChange();
}

void TkaGalleryMenu::Loaded() {
  inherited::Loaded();
  const int count = FItems->Count();
  if (FItemIndex > count - 1 || (FItemIndex >= 0 && FItems->Items(FItemIndex)->Header())) FItemIndex = -1;
}

void TkaGalleryMenu::RaiseChange() {
  if (OnInternalChange) OnInternalChange(this);
  if (OnChange) OnChange(this);
}

void TkaGalleryMenu::SetHintComponent(TkaHint* Value) { ReplaceReference(FHintComponent, Value); }

void TkaGalleryMenu::SetColumnsCount(int Value) {
  if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TkaGalleryMenuItem* TkaGalleryMenu::SelectedItem() const {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Items(FItemIndex) : nullptr;
}

bool TkaGalleryMenu::SelectedItem(String& Caption, int& ImageIndex) const {
  const TkaGalleryMenuItem* item = SelectedItem();
  if (item == nullptr) return false;
  Caption = item->Caption();
  ImageIndex = item->ImageIndex();
  return true;
}

void TkaGalleryMenu::SetInternalEvents(const TObject* Owner, TNotifyEvent Change, TNotifyEvent MenuClose) {
  FInternalEventsOwner = Owner;
  OnInternalChange = std::move(Change);
  OnInternalMenuClose = std::move(MenuClose);
}

void TkaGalleryMenu::ClearInternalEvents(const TObject* Owner) {
  if (FInternalEventsOwner != Owner) return;
  FInternalEventsOwner = nullptr;
  OnInternalChange = nullptr;
  OnInternalMenuClose = nullptr;
}

void TkaGalleryMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FHintComponent) FHintComponent = nullptr;
  if (AComponent == FPopupWindow) FPopupWindow = nullptr;
  if (AComponent == FWatchedControl) {
    FWatchedControl = nullptr;
    if (FControl == AComponent) FControl = nullptr;
  }
}

// ---- Drop-down ------------------------------------------------------------------------------

bool TkaGalleryMenu::HasImages() const { return FImages != nullptr && FImages->Count() > 0; }

void TkaGalleryMenu::DoPopup(const std::function<void(TkaGalleryMenuPopupWindow*)>& Place) {
  if (FPopupWindow != nullptr) FPopupWindow->Hide(false);
  if (OnMenuPopup) OnMenuPopup(this);
  // Nothing to show: no pictures, or no items to lay out.
  if (!HasImages() || FItems->Count() == 0) return;
  FOldItemIndex = FItemIndex;
  if (FControl != FWatchedControl) {
    if (FWatchedControl != nullptr) RemoveFreeNotification(FWatchedControl);
    FWatchedControl = FControl;
    if (FWatchedControl != nullptr) FreeNotification(FWatchedControl);
  }
  auto* window = new TkaGalleryMenuPopupWindow(this);
  FPopupWindow = window;
  window->GalleryMenu = this;
  if (auto* parent = dynamic_cast<TWinControl*>(FControl)) window->SetParent(parent);
  window->SetScaleFactor(FScaleFactor);
  Place(window);
}

void TkaGalleryMenu::Popup(int X, int Y) {
  DoPopup([&](TkaGalleryMenuPopupWindow* W) { W->Show(TRect(X, Y, X, Y)); });
}

void TkaGalleryMenu::PopupFromRect(const TRect& R) {
  DoPopup([&](TkaGalleryMenuPopupWindow* W) { W->Show(R); });
}

void TkaGalleryMenu::PopupExt(int X, int Y, bool AFromTop, bool AFromRight) {
  DoPopup([&](TkaGalleryMenuPopupWindow* W) { W->ShowExt(TRect(X, Y, X, Y), AFromTop, AFromRight); });
}

void TkaGalleryMenu::PopupFromRectExt(const TRect& R, bool AFromTop, bool AFromRight) {
  DoPopup([&](TkaGalleryMenuPopupWindow* W) { W->ShowExt(R, AFromTop, AFromRight); });
}

void TkaGalleryMenu::Hide() {
  if (FPopupWindow != nullptr) FPopupWindow->Hide(false);
  FControl = nullptr;
}

void TkaGalleryMenu::DoMenuClose(bool AProcessEvents) {
  if (FPopupWindow == nullptr) return;
  TkaGalleryMenuPopupWindow* window = FPopupWindow;
  FPopupWindow = nullptr;
  // The window may be closing from one of its own handlers: it leaves the menu's components
  // now and frees itself once that handler is done.
  RemoveComponent(window);
  window->ReleaseLater();
  if (OnInternalMenuClose) OnInternalMenuClose(this);
  if (OnMenuClose) OnMenuClose(this);
  if (!AProcessEvents || FItemIndex == -1) return;
  if (TkaGalleryMenuItem* item = SelectedItem(); item != nullptr && item->OnClick) item->OnClick(this);
  if (OnItemClick) OnItemClick(this);
  if (FOldItemIndex != FItemIndex) RaiseChange();
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaMenuHeaderStyle, {{L"kamhsDefault", kamhsDefault}, {L"kamhsBottomLine", kamhsBottomLine}});
KA_REGISTER_ENUM(TkaGalleryMenuBGStyle,
                 {{L"kagmPanel", kagmPanel}, {L"kagmToolBar", kagmToolBar}, {L"kagmFormBackground", kagmFormBackground}});

using TItem = TkaGalleryMenuItem;
KA_REGISTER_CLASS(TkaGalleryMenuItem, [](auto& c) {
  c.Property(L"ImageIndex", &TItem::ImageIndex, &TItem::SetImageIndex);
  c.Property(L"Caption", &TItem::Caption, &TItem::SetCaption);
  c.Property(L"Hint", &TItem::Hint, &TItem::SetHint);
  c.Property(L"Button", &TItem::Button, &TItem::SetButton);
  c.Property(L"Header", &TItem::Header, &TItem::SetHeader);
  c.Property(L"Enabled", &TItem::Enabled, &TItem::SetEnabled);
  c.Property(L"OnClick", &TItem::OnClick);
});
KA_REGISTER_CLASS(TkaGalleryMenuItems);

using TMenu = TkaGalleryMenu;
KA_REGISTER_CLASS(TkaGalleryMenu, [](auto& c) {
  c.Property(L"Images", &TMenu::Images, &TMenu::SetImages);
  c.Property(L"Items", &TMenu::Items);
  c.Property(L"HeaderStyle", &TMenu::HeaderStyle, &TMenu::SetHeaderStyle);
  c.Property(L"HeaderHeight", &TMenu::HeaderHeight, &TMenu::SetHeaderHeight);
  c.Property(L"ItemIndex", &TMenu::ItemIndex, &TMenu::SetItemIndex);
  c.Property(L"HintComponent", &TMenu::HintComponent, &TMenu::SetHintComponent);
  c.Property(L"BackgroundStyle", &TMenu::BackgroundStyle, &TMenu::SetBackgroundStyle);
  c.Property(L"ItemFont", &TMenu::ItemFont);
  c.Property(L"HeaderFont", &TMenu::HeaderFont);
  c.Property(L"ColumnsCount", &TMenu::ColumnsCount, &TMenu::SetColumnsCount);
  c.Property(L"ShowSelectedItem", &TMenu::ShowSelectedItem, &TMenu::SetShowSelectedItem);
  c.Property(L"ShowHints", &TMenu::ShowHints, &TMenu::SetShowHints);
  c.Property(L"ButtonLeftAlignment", &TMenu::ButtonLeftAlignment, &TMenu::SetButtonLeftAlignment);
  c.Property(L"ButtonGlyphLeftAlignment", &TMenu::ButtonGlyphLeftAlignment, &TMenu::SetButtonGlyphLeftAlignment);
  c.Property(L"OnItemClick", &TMenu::OnItemClick);
  c.Property(L"OnChange", &TMenu::OnChange);
  c.Property(L"OnMenuPopup", &TMenu::OnMenuPopup);
  c.Property(L"OnMenuClose", &TMenu::OnMenuClose);
});
