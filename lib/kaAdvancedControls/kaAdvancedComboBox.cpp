// The combo box's construction, properties, the selection and the rows it offers from its list,
// and layout registration. The face is drawn in kaAdvancedComboBoxDraw.cpp; opening, closing,
// the mouse and the keys are in kaAdvancedComboBoxDropDown.cpp.
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"

#include "framework/ImageList.h"
#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"

// ---- TkaAdvancedCustomCombo -----------------------------------------------------------------

TkaAdvancedCustomCombo::TkaAdvancedCustomCombo(TComponent* AOwner) : TkaCustomActiveControl(AOwner) {
  FColor = clWindow;
  FParentColor = false;
  // kacbCombo paints every pixel itself.
  FTransparentBackground = false;
  FSelectionGlow = std::make_unique<TkaGlowEffect>(this);
  FSelectionGlow->SetEnabled(true);
  FSelectionGlow->OnChange = [this](TObject*) {
    if (!ComponentState().Contains(csLoading)) RePaintControl();
  };
  FColorOptions = std::make_unique<TkaButtonColorOptions>(this);
  FColorOptions->OnChange = [this](TObject*) {
    if (!ComponentState().Contains(csLoading) && (FStyle == kacbColorCombo || FStyle == kacbCustomImage))
      RePaintControl();
  };
}

TkaAdvancedCustomCombo::~TkaAdvancedCustomCombo() = default;

void TkaAdvancedCustomCombo::SetStyle(TkaAdvancedComboStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  SetTransparentBackground(Value != kacbCombo);
  if (HandleAllocated()) CaptureParentBackground();
  RePaintControl();
}

void TkaAdvancedCustomCombo::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) RePaintControl();
}

void TkaAdvancedCustomCombo::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCustomImages) FCustomImages = nullptr;
}

bool TkaAdvancedCustomCombo::HasCustomImage(int Index) const {
  return FCustomImages != nullptr && FCustomImages->IsIndexAvailable(Index);
}

bool TkaAdvancedCustomCombo::CanAnimate() { return !FDropDown && inherited::CanAnimate(); }

// ---- TkaAdvancedCustomComboBox --------------------------------------------------------------

TkaAdvancedCustomComboBox::TkaAdvancedCustomComboBox(TComponent* AOwner) : TkaAdvancedCustomCombo(AOwner) {
  FTabStop = true;
  FWidth = 120;
  FHeight = 41;
  FListBox = new TkaAdvancedPopupListBox(this);
  FListBox->SetVisible(false);
  FListBox->SetMouseMoveChangeIndex(true);
  FListBoxWindowProc = FListBox->WindowProc;
  FListBox->WindowProc = [this](TMessage& Message) { ListBoxWndProc(Message); };
  FListBox->OnRowsShifted = [this](int Index, int Delta) { RowsShifted(Index, Delta); };
  // The face shows the title and the detail in the list's fonts.
  for (TFont* font : {FListBox->TitleFont(), FListBox->DetailFont()}) {
    font->OnChange = [this, list = font->OnChange](TObject* Sender) {
      if (list) list(Sender);
      if (!ComponentState().Contains(csLoading)) RePaintControl();
    };
  }
  if (!ComponentState().Contains(csDesigning)) FListBox->SetParent(this);
}

TkaAdvancedCustomComboBox::~TkaAdvancedCustomComboBox() {
  RemoveHooks();
  if (FListBox != nullptr) {
    TkaAdvancedPopupListBox* list = FListBox;
    FListBox = nullptr;
    list->WindowProc = FListBoxWindowProc;
    list->OnRowsShifted = nullptr;
    list->Free();
  }
}

void TkaAdvancedCustomComboBox::BeforeDestruction() {
  // The hooks and the open list go while every part can still answer; no events.
  if (FDropDown) HideList();
  RemoveHooks();
  StopAutoScroll();
  EndSearch();
  inherited::BeforeDestruction();
}

void TkaAdvancedCustomComboBox::Loaded() {
  inherited::Loaded();
  // A layout may give the selection before the rows: it is applied once both are in.
  if (FLoadedItemIndexSet) InitItemIndex(FLoadedItemIndex);
  FLoadedItemIndexSet = false;
}

void TkaAdvancedCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FListBoxWallpapers) FListBoxWallpapers = nullptr;
}

void TkaAdvancedCustomComboBox::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D || D == 0) return;
  FListBoxWidth = ::MulDiv(FListBoxWidth, M, D);
  FListBoxHeight = ::MulDiv(FListBoxHeight, M, D);
}

void TkaAdvancedCustomComboBox::Change() {
  if (TNotifyEvent onChange = OnChange) onChange(this);
}

// ---- Rows -----------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::Delete(int Index) {
  FListBox->Delete(Index);
  if (FDropDown && Items()->Count() == 0) CloseUp(false);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::Clear() {
  FListBox->Clear();
  FOldItemIndex = -1;
  if (FDropDown) CloseUp(false);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::EndUpdateItems() {
  FListBox->EndUpdateItems();
  if (!FListBox->InUpdateItems()) RePaintControl();
}

void TkaAdvancedCustomComboBox::Sort() {
  // The row to go back to keeps its place by identity, not by index.
  const int count = Items()->Count();
  TkaAdvancedListItem* old = FOldItemIndex >= 0 && FOldItemIndex < count ? Items()->Items(FOldItemIndex) : nullptr;
  FListBox->Sort();
  FOldItemIndex = -1;
  for (int i = 0; old != nullptr && i < count; ++i)
    if (Items()->Items(i) == old) FOldItemIndex = i;
  RePaintControl();
}

void TkaAdvancedCustomComboBox::RowsShifted(int Index, int Delta) {
  if (Delta < 0) {
    if (FOldItemIndex == Index)
      FOldItemIndex = -1;
    else if (FOldItemIndex > Index)
      --FOldItemIndex;
  } else if (FOldItemIndex >= Index) {
    ++FOldItemIndex;
  }
}

// ---- Selection ------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedItemIndex = Value;
    FLoadedItemIndexSet = true;
    return;
  }
  if (FKeyHandling && Value != FOldItemIndex && CheckIsReadOnly()) {
    FListBox->InitItemIndex(FOldItemIndex);
  } else {
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    RePaintControl();
  }
  if (ComponentState().Contains(csDesigning)) return;
  // Copies: a handler may replace the handlers.
  if (TNotifyEvent onClick = OnClick) onClick(this);
  Change();
}

void TkaAdvancedCustomComboBox::InitItemIndex(int Value) {
  FListBox->InitItemIndex(Value);
  FOldItemIndex = FListBox->ItemIndex();
  RePaintControl();
}

// ---- Properties -----------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::SetDropDownCount(int Value) {
  if (Value >= 0) FDropDownCount = Value;
}

void TkaAdvancedCustomComboBox::SetListBoxWallpapers(TkaCustomImageCollection* Value) {
  ReplaceReference(FListBoxWallpapers, Value);
}

void TkaAdvancedCustomComboBox::SetCheckedListMode(bool Value) {
  if (FCheckedListMode == Value) return;
  FCheckedListMode = Value;
  FListBox->SetShowCheckBoxes(Value);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::SetImages(TCustomImageList* Value) {
  FListBox->SetImages(Value);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::SetDetailPosition(TkaListBoxDetailPosition Value) {
  FListBox->SetDetailPosition(Value);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::SetDetailWordWrap(bool Value) {
  FListBox->SetDetailWordWrap(Value);
  RePaintControl();
}

void TkaAdvancedCustomComboBox::SetListBoxCustomSelectionImageIndex(int Value) {
  FListBox->SetCustomSelectionImageIndex(Value);
  FListBox->SetCustomFocusedSelectionImageIndex(Value);
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaAdvancedComboStyle, {{L"kacbCombo", kacbCombo},
                                         {L"kacbPushButton", kacbPushButton},
                                         {L"kacbToolButton", kacbToolButton},
                                         {L"kacbPushButtonTransparent", kacbPushButtonTransparent},
                                         {L"kacbToolButtonTransparent", kacbToolButtonTransparent},
                                         {L"kacbTransparent", kacbTransparent},
                                         {L"kacbTransparentBottomLine", kacbTransparentBottomLine},
                                         {L"kacbTransparentActiveBottomLine", kacbTransparentActiveBottomLine},
                                         {L"kacbColorCombo", kacbColorCombo},
                                         {L"kacbCustomImage", kacbCustomImage},
                                         {L"kacbCustomImageOverContent", kacbCustomImageOverContent}});
KA_REGISTER_ENUM(TkaDropDownPosition, {{L"kadpRight", kadpRight}, {L"kadpLeft", kadpLeft}});

namespace {

template <class TBuilder>
void RegisterFaceProperties(TBuilder& c) {
  using C = TkaAdvancedCustomCombo;
  c.Property(L"Style", &C::Style, &C::SetStyle);
  c.Property(L"ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect);
  c.Property(L"SelectionStyle", &C::SelectionStyle, &C::SetSelectionStyle);
  c.Property(L"SelectionGlow", &C::SelectionGlow);
  c.Property(L"HideSelection", &C::HideSelection, &C::SetHideSelection);
  c.Property(L"SelectionColor", &C::SelectionColor, &C::SetSelectionColor);
  c.Property(L"SelectionTextColor", &C::SelectionTextColor, &C::SetSelectionTextColor);
  c.Property(L"ColorOptions", &C::ColorOptions);
  c.Property(L"CustomImages", &C::CustomImages, &C::SetCustomImages);
  c.Property(L"CustomImageNormalIndex", &C::CustomImageNormalIndex, &C::SetCustomImageNormalIndex);
  c.Property(L"CustomImageHotIndex", &C::CustomImageHotIndex, &C::SetCustomImageHotIndex);
  c.Property(L"CustomImagePressedIndex", &C::CustomImagePressedIndex, &C::SetCustomImagePressedIndex);
  c.Property(L"CustomImageFocusedIndex", &C::CustomImageFocusedIndex, &C::SetCustomImageFocusedIndex);
  c.Property(L"CustomImageDisabledIndex", &C::CustomImageDisabledIndex, &C::SetCustomImageDisabledIndex);
  c.Property(L"CustomArrowImageNormalIndex", &C::CustomArrowImageNormalIndex, &C::SetCustomArrowImageNormalIndex);
  c.Property(L"CustomArrowImageHotIndex", &C::CustomArrowImageHotIndex, &C::SetCustomArrowImageHotIndex);
  c.Property(L"CustomArrowImagePressedIndex", &C::CustomArrowImagePressedIndex,
             &C::SetCustomArrowImagePressedIndex);
  c.Property(L"CustomArrowImageFocusedIndex", &C::CustomArrowImageFocusedIndex,
             &C::SetCustomArrowImageFocusedIndex);
  c.Property(L"CustomArrowImageDisabledIndex", &C::CustomArrowImageDisabledIndex,
             &C::SetCustomArrowImageDisabledIndex);
  c.Property(L"DropDownPosition", &C::DropDownPosition, &C::SetDropDownPosition);
  c.Property(L"UseFontColorToStyleColor", &C::UseFontColorToStyleColor, &C::SetUseFontColorToStyleColor);
}

template <class TBuilder>
void RegisterOwnProperties(TBuilder& c) {
  using B = TkaAdvancedCustomComboBox;
  c.Property(L"AutoComplete", &B::AutoComplete, &B::SetAutoComplete);
  c.Property(L"CheckedListMode", &B::CheckedListMode, &B::SetCheckedListMode);
  c.Property(L"CheckedListWrap", &B::CheckedListWrap, &B::SetCheckedListWrap);
  c.Property(L"DropDownCount", &B::DropDownCount, &B::SetDropDownCount);
  c.Property(L"ShowItemTitle", &B::ShowItemTitle, &B::SetShowItemTitle);
  c.Property(L"ShowItemImage", &B::ShowItemImage, &B::SetShowItemImage);
  c.Property(L"ShowItemText", &B::ShowItemText, &B::SetShowItemText);
  c.Property(L"ShowItemDetail", &B::ShowItemDetail, &B::SetShowItemDetail);
  c.Property(L"ListBoxWallpapers", &B::ListBoxWallpapers, &B::SetListBoxWallpapers);
  c.Property(L"ListBoxWallpaperIndex", &B::ListBoxWallpaperIndex, &B::SetListBoxWallpaperIndex);
  c.Property(L"ListBoxWidth", &B::ListBoxWidth, &B::SetListBoxWidth);
  c.Property(L"ListBoxHeight", &B::ListBoxHeight, &B::SetListBoxHeight);
}

template <class TBuilder>
void RegisterForwardedProperties(TBuilder& c) {
  using B = TkaAdvancedCustomComboBox;
  c.Property(L"Items", &B::Items);
  c.Property(L"ItemIndex", &B::ItemIndex, &B::SetItemIndex);
  c.Property(L"Images", &B::Images, &B::SetImages);
  c.Property(L"TitleFont", &B::TitleFont);
  c.Property(L"HeaderFont", &B::HeaderFont);
  c.Property(L"DetailFont", &B::DetailFont);
  c.Property(L"DetailPosition", &B::DetailPosition, &B::SetDetailPosition);
  c.Property(L"DetailWordWrap", &B::DetailWordWrap, &B::SetDetailWordWrap);
  c.Property(L"AlternateRow", &B::AlternateRow, &B::SetAlternateRow);
  c.Property(L"ListBoxHeaderUseStyleColor", &B::ListBoxHeaderUseStyleColor, &B::SetListBoxHeaderUseStyleColor);
  c.Property(L"ListBoxHeaderStyle", &B::ListBoxHeaderStyle, &B::SetListBoxHeaderStyle);
  c.Property(L"ListBoxLineColor", &B::ListBoxLineColor, &B::SetListBoxLineColor);
  c.Property(L"ListBoxShowItemTitles", &B::ListBoxShowItemTitles, &B::SetListBoxShowItemTitles);
  c.Property(L"ListBoxShowItemDetails", &B::ListBoxShowItemDetails, &B::SetListBoxShowItemDetails);
  c.Property(L"ListBoxShowLines", &B::ListBoxShowLines, &B::SetListBoxShowLines);
  c.Property(L"ListBoxItemHeight", &B::ListBoxItemHeight, &B::SetListBoxItemHeight);
  c.Property(L"ListBoxHeaderHeight", &B::ListBoxHeaderHeight, &B::SetListBoxHeaderHeight);
  c.Property(L"ListBoxSelectionStyle", &B::ListBoxSelectionStyle, &B::SetListBoxSelectionStyle);
  c.Property(L"ListBoxSelectionColor", &B::ListBoxSelectionColor, &B::SetListBoxSelectionColor);
  c.Property(L"ListBoxSelectionTextColor", &B::ListBoxSelectionTextColor, &B::SetListBoxSelectionTextColor);
  c.Property(L"ListBoxCustomHeaderImageIndex", &B::ListBoxCustomHeaderImageIndex,
             &B::SetListBoxCustomHeaderImageIndex);
  c.Property(L"ListBoxCustomSelectionImageIndex", &B::ListBoxCustomSelectionImageIndex,
             &B::SetListBoxCustomSelectionImageIndex);
}

}  // namespace

KA_REGISTER_CLASS(TkaAdvancedCustomCombo, [](auto& c) { RegisterFaceProperties(c); });
KA_REGISTER_CLASS(TkaAdvancedCustomComboBox, [](auto& c) {
  using B = TkaAdvancedCustomComboBox;
  RegisterOwnProperties(c);
  RegisterForwardedProperties(c);
  c.Property(L"OnDrawItem", &B::OnDrawItem);
  c.Property(L"OnChange", &B::OnChange);
  c.Property(L"OnCloseUp", &B::OnCloseUp);
  c.Property(L"OnDropDown", &B::OnDropDown);
  c.Property(L"OnItemCheckClick", &B::OnItemCheckClick);
  c.Property(L"OnListBoxDrawItem", &B::OnListBoxDrawItem);
});
KA_REGISTER_CLASS(TkaAdvancedComboBox);
