// The list box's construction, properties, row management and layout registration. Layout,
// scrolling and searching are in kaAdvancedListBoxLayout.cpp, the mouse and the keys in
// kaAdvancedListBoxInput.cpp, painting in kaAdvancedListBoxDraw.cpp.
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"

#include "framework/ImageList.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
#include "lib/kaControls/kaFlagScope.h"

namespace {

std::unique_ptr<TFont> CopyOf(TFont* Source, bool Bold) {
  auto f = std::make_unique<TFont>();
  f->Assign(Source);
  if (Bold) f->SetStyle(f->Style() + TFontStyles{fsBold});
  return f;
}

}  // namespace

TkaAdvancedListBox::TkaAdvancedListBox(TComponent* AOwner) : TkaAdvancedScrollingControl(AOwner) {
  FItems = std::make_unique<TkaAdvancedListItems>(this);
  FWidth = 150;
  FHeight = 150;
  FTabStop = true;
  FTitleFont = CopyOf(Font(), true);
  FHeaderFont = CopyOf(Font(), true);
  FDetailFont = CopyOf(Font(), false);
  FDetailFont->SetColor(clGrayText);
  FButtonFont = CopyOf(Font(), false);
  for (TFont* f : {FTitleFont.get(), FHeaderFont.get(), FDetailFont.get(), FButtonFont.get()})
    f->OnChange = [this](TObject*) {
      if (!ComponentState().Contains(csLoading)) RePaintControl();
    };
}

TkaAdvancedListBox::~TkaAdvancedListBox() {
  FDestroying = true;
  // The rows go without telling a list that is going too.
  FItems->FListBox = nullptr;
  FItems.reset();
}

void TkaAdvancedListBox::BeforeDestruction() {
  // From here on the window may still hear messages (focus, size) while it is taken down;
  // they must not paint or lay out rows any more.
  FDestroying = true;
  if (HandleAllocated()) {
    ::KillTimer(WindowHandle(), kaListSearchTimerID);
    ::KillTimer(WindowHandle(), kaListAutoScrollTimerID);
  }
  inherited::BeforeDestruction();
}

void TkaAdvancedListBox::Loaded() {
  inherited::Loaded();
  // A layout may give the selection before the rows; it is checked once both are in.
  InitItemIndex(FLoadedItemIndex);
  FLoadedItemIndex = -1;
}

void TkaAdvancedListBox::FontChanged(TObject* Sender) {
  inherited::FontChanged(Sender);
  RePaintControl();
}

void TkaAdvancedListBox::ChangeScale(int M, int D, bool isDpiChange) {
  if (M != D && D != 0) {
    FItemHeight = std::max(1, ::MulDiv(FItemHeight, M, D));
    FIndentMargin = ::MulDiv(FIndentMargin, M, D);
    FItemSpacing = ::MulDiv(FItemSpacing, M, D);
    FHeaderHeight = std::max(1, ::MulDiv(FHeaderHeight, M, D));
    FItemProgressBarWidth = ::MulDiv(FItemProgressBarWidth, M, D);
    FItemProgressBarHeight = ::MulDiv(FItemProgressBarHeight, M, D);
    if (FScrollOffset > 0) FScrollOffset = ::MulDiv(FScrollOffset, M, D);
    for (TFont* f : {FTitleFont.get(), FHeaderFont.get(), FDetailFont.get(), FButtonFont.get()})
      f->SetHeight(::MulDiv(f->Height(), M, D));
    InvalidateLayout();
  }
  inherited::ChangeScale(M, D, isDpiChange);
}

// ---- Rows -----------------------------------------------------------------------------------

void TkaAdvancedListBox::Add(const String& Item) { FItems->Add()->SetCaption(Item); }

void TkaAdvancedListBox::Add(TStrings* Strings) {
  if (Strings == nullptr) return;
  BeginUpdateItems();
  try {
    for (int i = 0; i < Strings->Count(); ++i) FItems->Add()->SetCaption(Strings->Strings(i));
  } catch (...) {
    EndUpdateItems();
    throw;
  }
  EndUpdateItems();
}

void TkaAdvancedListBox::Add(const std::vector<String>& Strings) {
  BeginUpdateItems();
  try {
    for (const String& s : Strings) FItems->Add()->SetCaption(s);
  } catch (...) {
    EndUpdateItems();
    throw;
  }
  EndUpdateItems();
}

void TkaAdvancedListBox::Add(std::initializer_list<String> Strings) { Add(std::vector<String>(Strings)); }

void TkaAdvancedListBox::Delete(int Index) { FItems->Delete(Index); }

void TkaAdvancedListBox::Clear() {
  BeginUpdateItems();
  try {
    FItems->Clear();
  } catch (...) {
    EndUpdateItems();
    throw;
  }
  FItemIndex = -1;
  FScrollOffset = 0;
  EndUpdateItems();
}

void TkaAdvancedListBox::BeginUpdateItems() {
  if (FInUpdateItems++ == 0 && HandleAllocated() && Visible()) ::SendMessageW(WindowHandle(), WM_SETREDRAW, 0, 0);
  FItems->BeginUpdate();
}

void TkaAdvancedListBox::EndUpdateItems() {
  if (FInUpdateItems == 0) return;
  if (--FInUpdateItems == 0 && HandleAllocated() && Visible()) ::SendMessageW(WindowHandle(), WM_SETREDRAW, 1, 0);
  // The collection's own end of update reports the rows, which repaints and refreshes the
  // scroll bar once the last bracket closed.
  FItems->EndUpdate();
}

// ---- Properties -----------------------------------------------------------------------------

void TkaAdvancedListBox::SetImages(TCustomImageList* Value) {
  if (ReplaceReference(FImages, Value)) RePaintControl();
}

void TkaAdvancedListBox::SetButtonImages(TCustomImageList* Value) {
  if (ReplaceReference(FButtonImages, Value)) RePaintControl();
}

void TkaAdvancedListBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FButtonImages) FButtonImages = nullptr;
}

void TkaAdvancedListBox::SetItemHeight(int Value) {
  if (Value < 1 || Value == FItemHeight) return;
  FItemHeight = Value;
  InvalidateLayout();
  RowsChanged();
}

void TkaAdvancedListBox::SetHeaderHeight(int Value) {
  if (Value < 1 || Value == FHeaderHeight) return;
  FHeaderHeight = Value;
  InvalidateLayout();
  RowsChanged();
}

void TkaAdvancedListBox::SetIndentMargin(int Value) {
  if (Value <= 4) return;
  SetAndRepaint(FIndentMargin, Value);
}

void TkaAdvancedListBox::SetShowItemTitles(bool Value) {
  if (FShowItemTitles == Value) return;
  FShowItemTitles = Value;
  // Titles take part in filtering only while shown.
  if (!FFoldedFilter.empty()) InvalidateLayout();
  RowsChanged();
}

void TkaAdvancedListBox::SetShowItemDetails(bool Value) {
  if (FShowItemDetails == Value) return;
  FShowItemDetails = Value;
  if (!FFoldedFilter.empty()) InvalidateLayout();
  RowsChanged();
}

void TkaAdvancedListBox::SetItemProgressBarWidth(int Value) {
  if (Value < 0) return;
  SetAndRepaint(FItemProgressBarWidth, Value);
}

void TkaAdvancedListBox::SetItemProgressBarHeight(int Value) {
  if (Value < 1) return;
  SetAndRepaint(FItemProgressBarHeight, Value);
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaAdvancedHeaderStyle, {{L"kaahsDefault", kaahsDefault},
                                          {L"kaahsBottomLine", kaahsBottomLine},
                                          {L"kaahsCustomImage", kaahsCustomImage}});
KA_REGISTER_ENUM(TkaAdvancedListBoxStyle, {{L"kaalbsPlain", kaalbsPlain},
                                           {L"kaalbsGroup", kaalbsGroup},
                                           {L"kaalbsTransparentGroup", kaalbsTransparentGroup}});
KA_REGISTER_ENUM(TkaListBoxDetailPosition, {{L"kalbdBottom", kalbdBottom}, {L"kalbdRight", kalbdRight}});

namespace {

template <class TBuilder>
void RegisterLookProperties(TBuilder& c) {
  using L = TkaAdvancedListBox;
  c.Property(L"Style", &L::Style, &L::SetStyle);
  c.Property(L"HeaderStyle", &L::HeaderStyle, &L::SetHeaderStyle);
  c.Property(L"HeaderUseStyleColor", &L::HeaderUseStyleColor, &L::SetHeaderUseStyleColor);
  c.Property(L"ItemHeight", &L::ItemHeight, &L::SetItemHeight);
  c.Property(L"HeaderHeight", &L::HeaderHeight, &L::SetHeaderHeight);
  c.Property(L"ItemSpacing", &L::ItemSpacing, &L::SetItemSpacing);
  c.Property(L"IndentMargin", &L::IndentMargin, &L::SetIndentMargin);
  c.Property(L"ShowItemTitles", &L::ShowItemTitles, &L::SetShowItemTitles);
  c.Property(L"ShowItemDetails", &L::ShowItemDetails, &L::SetShowItemDetails);
  c.Property(L"DetailPosition", &L::DetailPosition, &L::SetDetailPosition);
  c.Property(L"DetailWordWrap", &L::DetailWordWrap, &L::SetDetailWordWrap);
  c.Property(L"ShowItemProgressBars", &L::ShowItemProgressBars, &L::SetShowItemProgressBars);
  c.Property(L"ItemProgressBarWidth", &L::ItemProgressBarWidth, &L::SetItemProgressBarWidth);
  c.Property(L"ItemProgressBarHeight", &L::ItemProgressBarHeight, &L::SetItemProgressBarHeight);
  c.Property(L"ShowCheckBoxes", &L::ShowCheckBoxes, &L::SetShowCheckBoxes);
  c.Property(L"ShowLines", &L::ShowLines, &L::SetShowLines);
  c.Property(L"LineColor", &L::LineColor, &L::SetLineColor);
  c.Property(L"AlternateRow", &L::AlternateRow, &L::SetAlternateRow);
  c.Property(L"GroupBackgroundColor", &L::GroupBackgroundColor, &L::SetGroupBackgroundColor);
  c.Property(L"TitleFont", &L::TitleFont);
  c.Property(L"HeaderFont", &L::HeaderFont);
  c.Property(L"DetailFont", &L::DetailFont);
  c.Property(L"ButtonFont", &L::ButtonFont);
}

template <class TBuilder>
void RegisterImageProperties(TBuilder& c) {
  using L = TkaAdvancedListBox;
  c.Property(L"Images", &L::Images, &L::SetImages);
  c.Property(L"ButtonImages", &L::ButtonImages, &L::SetButtonImages);
  c.Property(L"GroupBackgroundCustomImageIndex", &L::GroupBackgroundCustomImageIndex,
             &L::SetGroupBackgroundCustomImageIndex);
  c.Property(L"CustomHeaderImageIndex", &L::CustomHeaderImageIndex, &L::SetCustomHeaderImageIndex);
  c.Property(L"CustomCheckedImageIndex", &L::CustomCheckedImageIndex, &L::SetCustomCheckedImageIndex);
  c.Property(L"CustomUnCheckedImageIndex", &L::CustomUnCheckedImageIndex, &L::SetCustomUnCheckedImageIndex);
  c.Property(L"CustomCheckedDisabledImageIndex", &L::CustomCheckedDisabledImageIndex,
             &L::SetCustomCheckedDisabledImageIndex);
  c.Property(L"CustomUnCheckedDisabledImageIndex", &L::CustomUnCheckedDisabledImageIndex,
             &L::SetCustomUnCheckedDisabledImageIndex);
  c.Property(L"CustomButtonImageNormalIndex", &L::CustomButtonImageNormalIndex, &L::SetCustomButtonImageNormalIndex);
  c.Property(L"CustomButtonImageHotIndex", &L::CustomButtonImageHotIndex, &L::SetCustomButtonImageHotIndex);
  c.Property(L"CustomButtonImagePressedIndex", &L::CustomButtonImagePressedIndex,
             &L::SetCustomButtonImagePressedIndex);
  c.Property(L"CustomButtonImageDisabledIndex", &L::CustomButtonImageDisabledIndex,
             &L::SetCustomButtonImageDisabledIndex);
}

}  // namespace

KA_REGISTER_CLASS(TkaAdvancedListBox, [](auto& c) {
  using L = TkaAdvancedListBox;
  c.Property(L"Items", &L::Items);
  c.Property(L"ItemIndex", &L::ItemIndex, &L::SetItemIndex);
  RegisterLookProperties(c);
  RegisterImageProperties(c);
  c.Property(L"AutoComplete", &L::AutoComplete, &L::SetAutoComplete);
  c.Property(L"MouseMoveChangeIndex", &L::MouseMoveChangeIndex, &L::SetMouseMoveChangeIndex);
  c.Property(L"RightClickSupport", &L::RightClickSupport, &L::SetRightClickSupport);
  c.Property(L"OnDrawItem", &L::OnDrawItem);
  c.Property(L"OnItemClick", &L::OnItemClick);
  c.Property(L"OnItemDblClick", &L::OnItemDblClick);
  c.Property(L"OnItemCheckClick", &L::OnItemCheckClick);
  c.Property(L"OnItemButtonClick", &L::OnItemButtonClick);
});
