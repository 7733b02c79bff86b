#include "lib/kaAdvancedControls/kaAdvancedListItems.h"

#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"

// ---- TkaListBoxButton -----------------------------------------------------------------------

void TkaListBoxButton::Change(const TNotifyEvent& Event) {
  if (Event) Event(this);
}

void TkaListBoxButton::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaListBoxButton*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FCaption = s->FCaption;
  FEnabled = s->FEnabled;
  FVisible = s->FVisible;
  FStyleKind = s->FStyleKind;
  FWidth = s->FWidth;
  FHeight = s->FHeight;
  FImageIndex = s->FImageIndex;
  FImageHotIndex = s->FImageHotIndex;
  FImagePressedIndex = s->FImagePressedIndex;
  Change(OnVisibleChange);
}

void TkaListBoxButton::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  if (FVisible) Change(OnChange);
}

void TkaListBoxButton::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (FVisible) Change(OnChange);
}

void TkaListBoxButton::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (!Value) MouseIn = Down = false;
  Change(OnVisibleChange);
}

void TkaListBoxButton::SetStyleKind(TkaListButtonStyleKind Value) {
  if (FStyleKind == Value || Value < kalbsPushButton || Value > kalbsCustomImage) return;
  FStyleKind = Value;
  if (FVisible) Change(OnChange);
}

void TkaListBoxButton::SetWidth(int Value) {
  if (FWidth == Value || Value <= 10) return;
  FWidth = Value;
  if (FVisible) Change(OnVisibleChange);
}

void TkaListBoxButton::SetHeight(int Value) {
  if (FHeight == Value || Value <= 10) return;
  FHeight = Value;
  if (FVisible) Change(OnVisibleChange);
}

void TkaListBoxButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FVisible) Change(OnChange);
}

// ---- TkaListBoxProgressBar ------------------------------------------------------------------

void TkaListBoxProgressBar::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaListBoxProgressBar*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FMin = s->FMin;
  FMax = s->FMax;
  FValue = s->FValue;
  if (OnChange) OnChange(this);
}

void TkaListBoxProgressBar::SetField(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TkaListBoxProgressBar::SetMin(int Value) { SetField(FMin, Value); }
void TkaListBoxProgressBar::SetMax(int Value) { SetField(FMax, Value); }
void TkaListBoxProgressBar::SetValue(int Value) { SetField(FValue, Value); }

// ---- TkaAdvancedListItem --------------------------------------------------------------------

TkaAdvancedListItem::TkaAdvancedListItem(TCollection* Collection) : TCollectionItem(Collection) {
  if (TkaAdvancedListBox* list = ListBox()) list->ItemCreated(this);
}

TkaAdvancedListItem::~TkaAdvancedListItem() = default;

TkaAdvancedListBox* TkaAdvancedListItem::ListBox() const {
  auto* items = dynamic_cast<TkaAdvancedListItems*>(Collection());
  return items != nullptr ? items->FListBox : nullptr;
}

String TkaAdvancedListItem::GetDisplayName() const { return FCaption.empty() ? inherited::GetDisplayName() : FCaption; }

void TkaAdvancedListItem::ItemChanged(bool Layout) {
  if (Layout)
    if (TkaAdvancedListBox* list = ListBox()) list->InvalidateLayout();
  Changed(false);
}

void TkaAdvancedListItem::TextChanged() {
  TkaAdvancedListBox* list = ListBox();
  ItemChanged(list != nullptr && list->FLayoutValid && list->PassesFilter(this) != FFilterVisible);
}

void TkaAdvancedListItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaAdvancedListItem*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  const bool layout = FHeader != s->FHeader || FCaption != s->FCaption || FTitle != s->FTitle;
  FImageIndex = s->FImageIndex;
  FCaption = s->FCaption;
  FTitle = s->FTitle;
  FEnabled = s->FEnabled;
  FChecked = s->FChecked;
  FHeader = s->FHeader;
  FCustomTextColor = s->FCustomTextColor;
  FCustomDetailTextColor = s->FCustomDetailTextColor;
  FCustomColor = s->FCustomColor;
  FCustomColorAlpha = s->FCustomColorAlpha;
  FTag = s->FTag;
  ItemChanged(layout);
}

void TkaAdvancedListItem::WireButton(TkaListBoxButton* Button) const {
  auto* self = const_cast<TkaAdvancedListItem*>(this);
  Button->OnChange = [self](TObject*) { self->ItemChanged(false); };
  Button->OnVisibleChange = [self](TObject*) { self->ItemChanged(false); };
}

TkaListBoxButton* TkaAdvancedListItem::Button() const {
  if (!FButton) {
    FButton = std::make_unique<TkaListBoxButton>();
    WireButton(FButton.get());
  }
  return FButton.get();
}

TkaListBoxProgressBar* TkaAdvancedListItem::ProgressBar() const {
  if (!FProgressBar) {
    FProgressBar = std::make_unique<TkaListBoxProgressBar>();
    auto* self = const_cast<TkaAdvancedListItem*>(this);
    FProgressBar->OnChange = [self](TObject*) { self->ItemChanged(false); };
  }
  return FProgressBar.get();
}

void TkaAdvancedListItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetTitle(const String& Value) {
  if (FTitle == Value) return;
  FTitle = Value;
  TextChanged();
}

void TkaAdvancedListItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  TextChanged();
}

void TkaAdvancedListItem::SetDetail(const String& Value) {
  if (FDetail == Value) return;
  FDetail = Value;
  TextChanged();
}

void TkaAdvancedListItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetHeader(bool Value) {
  if (FHeader == Value) return;
  FHeader = Value;
  ItemChanged(true);
}

void TkaAdvancedListItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetIndent(int Value) {
  if (Value >= 0) FIndent = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetTag(int Value) {
  if (FTag == Value) return;
  FTag = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetCustomColor(TColor Value) {
  if (FCustomColor == Value) return;
  FCustomColor = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetCustomColorAlpha(uint8_t Value) {
  if (FCustomColorAlpha == Value) return;
  FCustomColorAlpha = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetCustomTextColor(TColor Value) {
  if (FCustomTextColor == Value) return;
  FCustomTextColor = Value;
  ItemChanged(false);
}

void TkaAdvancedListItem::SetCustomDetailTextColor(TColor Value) {
  if (FCustomDetailTextColor == Value) return;
  FCustomDetailTextColor = Value;
  ItemChanged(false);
}

bool TkaAdvancedListItem::Active() const {
  TkaAdvancedListBox* list = ListBox();
  return list != nullptr && list->FItemIndex >= 0 && list->FItemIndex < list->Items()->Count() &&
         list->Items()->Items(list->FItemIndex) == this;
}

bool TkaAdvancedListItem::IsFilterVisible() const {
  if (TkaAdvancedListBox* list = ListBox()) list->CalcItemRects();
  return FFilterVisible;
}

bool TkaAdvancedListItem::AlternateColor() const {
  if (TkaAdvancedListBox* list = ListBox()) list->CalcItemRects();
  return FAlternate;
}

TRect TkaAdvancedListItem::ItemRect() const {
  TkaAdvancedListBox* list = ListBox();
  if (list == nullptr) return TRect();
  list->CalcItemRects();
  if (!FFilterVisible) return TRect();
  const TRect& view = list->FItemsRect;
  const int top = view.Top + FLayoutTop - list->FScrollOffset;
  return TRect(view.Left, top, view.Right, top + list->RowHeight(this));
}

bool TkaAdvancedListItem::IsVisible() const {
  const TRect r = ItemRect();
  if (r.IsEmpty()) return false;
  const TRect& view = ListBox()->FItemsRect;
  // The top or the bottom edge inside the view, or the row covering it.
  return r.Top < view.Bottom && r.Bottom >= view.Top;
}

// ---- TkaAdvancedListItems -------------------------------------------------------------------

TkaAdvancedListItems::TkaAdvancedListItems(TkaAdvancedListBox* AListBox)
    : TOwnedCollection(AListBox, [](TCollection* C) -> TCollectionItem* { return new TkaAdvancedListItem(C); }),
      FListBox(AListBox) {}

TkaAdvancedListItems::~TkaAdvancedListItems() { FListBox = nullptr; }

int TkaAdvancedListItems::IndexFromEnd(const TCollectionItem* Item) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (TCollection::Items(i) == Item) return i;
  return -1;
}

void TkaAdvancedListItems::SetItem(int Index, TkaAdvancedListItem* Value) { TCollection::SetItem(Index, Value); }

TkaAdvancedListItem* TkaAdvancedListItems::Insert(int Index) {
  Index = std::clamp(Index, 0, Count());
  TkaAdvancedListItem* item = nullptr;
  BeginUpdate();
  try {
    item = Add();
    item->SetIndex(Index);
    if (FListBox != nullptr) FListBox->ItemInserted(Index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return item;
}

void TkaAdvancedListItems::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TCollection::Delete(Index);
}

void TkaAdvancedListItems::Clear() { TCollection::Clear(); }

void TkaAdvancedListItems::Update(TCollectionItem* Item) {
  if (FListBox != nullptr) FListBox->CollectionUpdated(static_cast<TkaAdvancedListItem*>(Item));
}

void TkaAdvancedListItems::Notify(TCollectionItem* Item, bool Added) {
  // An added item is not built yet here; it reports itself from its constructor.
  if (FListBox != nullptr && !Added) FListBox->ItemRemoved(IndexFromEnd(Item));
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaListButtonStyleKind, {{L"kalbsPushButton", kalbsPushButton},
                                          {L"kalbsTransparent", kalbsTransparent},
                                          {L"kalbsCustomImage", kalbsCustomImage}});

KA_REGISTER_CLASS(TkaListBoxButton, [](auto& c) {
  using B = TkaListBoxButton;
  c.Property(L"Caption", &B::Caption, &B::SetCaption);
  c.Property(L"Enabled", &B::Enabled, &B::SetEnabled);
  c.Property(L"Visible", &B::Visible, &B::SetVisible);
  c.Property(L"StyleKind", &B::StyleKind, &B::SetStyleKind);
  c.Property(L"Width", &B::Width, &B::SetWidth);
  c.Property(L"Height", &B::Height, &B::SetHeight);
  c.Property(L"ImageIndex", &B::ImageIndex, &B::SetImageIndex);
  c.Property(L"ImageHotIndex", &B::ImageHotIndex, &B::SetImageHotIndex);
  c.Property(L"ImagePressedIndex", &B::ImagePressedIndex, &B::SetImagePressedIndex);
});

KA_REGISTER_CLASS(TkaListBoxProgressBar, [](auto& c) {
  using P = TkaListBoxProgressBar;
  c.Property(L"Min", &P::Min, &P::SetMin);
  c.Property(L"Max", &P::Max, &P::SetMax);
  c.Property(L"Value", &P::Value, &P::SetValue);
});

KA_REGISTER_CLASS(TkaAdvancedListItem, [](auto& c) {
  using I = TkaAdvancedListItem;
  c.Property(L"ImageIndex", &I::ImageIndex, &I::SetImageIndex);
  c.Property(L"Title", &I::Title, &I::SetTitle);
  c.Property(L"Caption", &I::Caption, &I::SetCaption);
  c.Property(L"Detail", &I::Detail, &I::SetDetail);
  c.Property(L"Enabled", &I::Enabled, &I::SetEnabled);
  c.Property(L"Header", &I::Header, &I::SetHeader);
  c.Property(L"Checked", &I::Checked, &I::SetChecked);
  c.Property(L"Button", &I::Button);
  c.Property(L"ProgressBar", &I::ProgressBar);
  c.Property(L"Indent", &I::Indent, &I::SetIndent);
  c.Property(L"Tag", &I::Tag, &I::SetTag);
  c.Property(L"CustomColor", &I::CustomColor, &I::SetCustomColor);
  c.Property(L"CustomColorAlpha", &I::CustomColorAlpha, &I::SetCustomColorAlpha);
  c.Property(L"CustomTextColor", &I::CustomTextColor, &I::SetCustomTextColor);
  c.Property(L"CustomDetailTextColor", &I::CustomDetailTextColor, &I::SetCustomDetailTextColor);
  c.Property(L"OnClick", &I::OnClick);
  c.Property(L"OnButtonClick", &I::OnButtonClick);
  c.Property(L"OnCheckClick", &I::OnCheckClick);
});

KA_REGISTER_CLASS(TkaAdvancedListItems);
