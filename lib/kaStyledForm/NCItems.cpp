// Caption items: the collection items with their properties and streaming, the layout of
// the items in the caption, and the styled form's lookups over them. Painting and mouse
// behaviour of the NC objects are in NCObjects.cpp.
#include "lib/kaStyledForm/NCItems.h"

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"
#include "lib/kaStyledForm/kaStyledForm.h"

// ---- Items ------------------------------------------------------------------------------------

TkaStyledForm* TkaNCItem::StyledForm() const {
  if (auto* buttons = dynamic_cast<TkaNCButtonItems*>(Collection())) return buttons->StyledForm();
  if (auto* tabs = dynamic_cast<TkaNCTabItems*>(Collection())) return tabs->StyledForm();
  return nullptr;
}

void TkaNCItem::SetSpacing(int Value) {
  if (Value >= 0) SetField(FSpacing, Value);
}

void TkaNCItem::AssignShared(const TkaNCItem& Source) {
  FImageIndex = Source.FImageIndex;
  FCaption = Source.FCaption;
  FEnabled = Source.FEnabled;
  FVisible = Source.FVisible;
  FSpacing = Source.FSpacing;
  FHint = Source.FHint;
}

TkaNCButtonItem::TkaNCButtonItem(TCollection* Collection)
    : TkaNCItem(Collection), FNCObject(std::make_unique<TkaNCButtonObject>(this)) {}

TkaNCButtonItem::~TkaNCButtonItem() {
  // A form dropped down from this button would report its close-up to a freed item.
  TCustomForm* dropped = TkaStyledForm::CurrentDropDownForm();
  if (dropped == nullptr) return;
  for (int i = 0; i < dropped->ComponentCount(); ++i)
    if (auto* styled = dynamic_cast<TkaStyledForm*>(dropped->Components(i)))
      if (styled->FDropDownButtonItem == this) styled->FDropDownButtonItem = nullptr;
}

void TkaNCButtonItem::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  FPopupMenu = Value;
  // The styled form hears of the menu's destruction and clears this reference.
  if (Value != nullptr && StyledForm() != nullptr) StyledForm()->FreeNotification(Value);
  Changed(false);
}

void TkaNCButtonItem::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  // Latching releases the rest of the group; group 0 counts as a group of its own, so a
  // program that marks one ungrouped button down gets the previous one released too.
  if (Collection() != nullptr) {
    for (int i = 0; i < Collection()->Count(); ++i) {
      auto* other = static_cast<TkaNCButtonItem*>(Collection()->Items(i));
      if (other != this && other->FGroupIndex == FGroupIndex) other->FDown = false;
    }
  }
  Changed(false);
}

void TkaNCButtonItem::SetWidth(int Value) {
  if (Value >= 0) SetField(FWidth, Value);
}

void TkaNCButtonItem::SetHeight(int Value) {
  if (Value >= 0) SetField(FHeight, Value);
}

void TkaNCButtonItem::SetMargin(int Value) {
  if (Value >= -1) SetField(FMargin, Value);
}

void TkaNCButtonItem::SetContentMargin(int Value) {
  if (Value >= 0) SetField(FContentMargin, Value);
}

void TkaNCButtonItem::DropDownClosed(bool AAcceptChanges) { FNCObject->CloseUp(AAcceptChanges); }

void TkaNCButtonItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TkaNCButtonItem*>(Source);
  if (item == nullptr) {
    inherited::Assign(Source);
    return;
  }
  if (item == this) return;
  AssignShared(*item);
  FHotImageIndex = item->FHotImageIndex;
  FPressedImageIndex = item->FPressedImageIndex;
  FCustomDropDown = item->FCustomDropDown;
  FSplitButton = item->FSplitButton;
  FStyle = item->FStyle;
  FWidth = item->FWidth;
  FHeight = item->FHeight;
  FMarginLeft = item->FMarginLeft;
  FMarginRight = item->FMarginRight;
  FMarginTop = item->FMarginTop;
  FMarginBottom = item->FMarginBottom;
  FPosition = item->FPosition;
  FMargin = item->FMargin;
  SetPopupMenu(item->FPopupMenu);
  Changed(false);
}

TkaNCTabItem::TkaNCTabItem(TCollection* Collection)
    : TkaNCItem(Collection), FNCObject(std::make_unique<TkaNCTabObject>(this)) {}

TkaNCTabItem::~TkaNCTabItem() = default;

void TkaNCTabItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TkaNCTabItem*>(Source);
  if (item == nullptr) {
    inherited::Assign(Source);
    return;
  }
  if (item == this) return;
  AssignShared(*item);
  FHeight = item->FHeight;
  FWidth = item->FWidth;
  FMarginTop = item->FMarginTop;
  Changed(false);
}

// ---- Collections ------------------------------------------------------------------------------

namespace {

void UpdateStyledFormNC(TkaStyledForm* Form) {
  if (Form == nullptr) return;
  const TComponentState state = Form->ComponentState();
  if (state.Contains(csDesigning) || state.Contains(csLoading)) return;
  Form->UpDateFormNC();
}

}  // namespace

TkaNCButtonItems::TkaNCButtonItems(TkaStyledForm* AOwner)
    : TOwnedCollection(AOwner, [](TCollection* C) -> TCollectionItem* { return new TkaNCButtonItem(C); }),
      FStyledForm(AOwner) {}

void TkaNCButtonItems::Update(TCollectionItem* Item) { UpdateStyledFormNC(FStyledForm); }

TkaNCTabItems::TkaNCTabItems(TkaStyledForm* AOwner)
    : TOwnedCollection(AOwner, [](TCollection* C) -> TCollectionItem* { return new TkaNCTabItem(C); }),
      FStyledForm(AOwner) {}

void TkaNCTabItems::Update(TCollectionItem* Item) { UpdateStyledFormNC(FStyledForm); }

// ---- Layout -----------------------------------------------------------------------------------

namespace {

// The canvas font for measuring and drawing one kind of item: the styled form's font with
// its height scaled.
void UseScaledFont(TCanvas* Canvas, TFont* Font, double S) {
  Canvas->Font()->Assign(Font);
  Canvas->Font()->SetHeight(Round(Font->Height() * S));
}

// Width of an item: its Width scaled, or its height when automatic, widened to the content.
int ItemWidth(TkaNCObject* Object, int Width, int Height, double S, TCanvas* Canvas) {
  const int base = Width < 1 ? Height : Round(Width * S);
  return Object->ContentWidth(base, Canvas);
}

void Place(TkaNCObject* Object, TCollectionItem* Item, const TRect& Rect) {
  Object->ObjectRect = Rect;
  if (auto* button = dynamic_cast<TkaNCButtonItem*>(Item)) button->ObjectRect = Rect;
}

void Hide(TkaNCObject* Object, TCollectionItem* Item) { Place(Object, Item, TRect()); }

enum class TSide { Left, Right };

struct TCaptionLayout {
  TkaStyledForm* Form;
  TCanvas* Canvas;
  TRect& R;
  int Top0;
  int H;
  int YOffset;
  double S;

  int ButtonHeight(TkaNCButtonItem* item) const {
    return item->Height() < 1 ? H - YOffset - item->MarginTop() - item->MarginBottom() : item->Height();
  }

  int TabHeight(TkaNCTabItem* item) const {
    return item->Height() < 1 ? H - YOffset - item->MarginTop() : item->Height();
  }

  // The gap that keeps a group of items off what lies beside it.
  void Gap(TSide Side) {
    if (Side == TSide::Right)
      R.Right -= 5;
    else
      R.Left += 5;
  }

  // Places an item against the Side edge of R and moves that edge past the item and its
  // side margins; an item that no longer fits is hidden, and so is an invisible one.
  template <class TItem>
  void PlaceAt(TItem* item, TSide Side, int Height, int MarginLeft, int MarginRight) {
    auto* obj = item->NCObject();
    if (!item->Visible()) {
      obj->ClearMouseIn();
      Hide(obj, item);
      return;
    }
    const int w = ItemWidth(obj, item->Width(), Height, S, Canvas);
    const bool right = Side == TSide::Right;
    const int x = right ? R.Right - w - MarginRight : R.Left + MarginLeft;
    if (right ? x < R.Left : x + w > R.Right) {
      Hide(obj, item);
      return;
    }
    Place(obj, item, TRect(x, Top0 + item->MarginTop(), x + w, Top0 + item->MarginTop() + Height));
    if (right)
      R.Right = x - MarginLeft;
    else
      R.Left = x + w + MarginRight;
    obj->Draw(Canvas);
  }

  void Buttons(TSide Side) {
    const TkaNCButtonPosition position = Side == TSide::Right ? kabpRight : kabpLeft;
    TkaNCButtonItems* items = Form->Buttons();
    for (int i = 0; i < items->Count(); ++i) {
      TkaNCButtonItem* item = items->Items(i);
      if (item->Position() == position)
        PlaceAt(item, Side, ButtonHeight(item), item->MarginLeft(), item->MarginRight());
    }
    Gap(Side);
  }

  // Right-hand tabs are placed from the last one, so they read in order from left to right.
  void Tabs(TSide Side) {
    TkaNCTabItems* items = Form->Tabs();
    const int count = items->Count();
    Gap(Side);
    for (int k = 0; k < count; ++k) {
      TkaNCTabItem* item = items->Items(Side == TSide::Right ? count - 1 - k : k);
      PlaceAt(item, Side, TabHeight(item), 0, 0);
    }
    Gap(Side);
  }
};

// Items that are not laid out this time must not keep a place where the mouse finds them.
template <class TItems>
void HideAll(TItems* Items) {
  for (int i = 0; i < Items->Count(); ++i) Hide(Items->Items(i)->NCObject(), Items->Items(i));
}

}  // namespace

void DrawCaptionItems(TkaStyledForm* AForm, TCanvas* Canvas, TRect& R, const TRect& B, int YOffset, bool AMinimized) {
  if (AForm == nullptr || Canvas == nullptr) return;
  const bool buttons = AForm->Buttons()->Count() > 0 && AForm->ShowButtons() && !AMinimized;
  const bool tabs = AForm->Tabs()->Count() > 0 && AForm->ShowTabs() && !AMinimized;
  if (!buttons) HideAll(AForm->Buttons());
  if (!tabs) HideAll(AForm->Tabs());
  const double S = AForm->ScaleFactor();
  TCaptionLayout layout{AForm, Canvas, R, B.Top, B.Height(), YOffset, S};
  if (buttons) {
    UseScaledFont(Canvas, AForm->ButtonFont(), S);
    layout.Buttons(TSide::Right);
  }
  if (tabs && AForm->TabsPosition() == katpRight) {
    UseScaledFont(Canvas, AForm->TabFont(), S);
    layout.Tabs(TSide::Right);
  }
  if (buttons) {
    UseScaledFont(Canvas, AForm->ButtonFont(), S);
    layout.Buttons(TSide::Left);
  }
  if (tabs && AForm->TabsPosition() == katpLeft) {
    UseScaledFont(Canvas, AForm->TabFont(), S);
    layout.Tabs(TSide::Left);
  }
}

// ---- The styled form's lookups ------------------------------------------------------------------

namespace {

template <class TItems>
TkaNCObject* FindIn(TItems* Items, const TPoint& P) {
  for (int i = 0; i < Items->Count(); ++i) {
    auto* item = Items->Items(i);
    if (item->Visible() && item->NCObject()->ObjectRect.Contains(P)) return item->NCObject();
  }
  return nullptr;
}

// Compares pointers only: A may be an object whose item was freed since the hook saw it.
template <class TItems>
const TkaNCItem* OwnerIn(TItems* Items, const TkaNCObject* A) {
  for (int i = 0; i < Items->Count(); ++i)
    if (Items->Items(i)->NCObject() == A) return Items->Items(i);
  return nullptr;
}

}  // namespace

TkaNCObject* TkaStyledForm::FindNCObject(const TPoint& P) const {
  if (FShowButtons)
    if (TkaNCObject* found = FindIn(FButtons, P)) return found;
  if (FShowTabs) return FindIn(FTabs, P);
  return nullptr;
}

bool TkaStyledForm::IsNCObjectListed(const TkaNCObject* A) const {
  if (A == nullptr) return false;
  if (FShowButtons)
    if (const TkaNCItem* item = OwnerIn(FButtons, A)) return item->ItemVisible();
  if (FShowTabs)
    if (const TkaNCItem* item = OwnerIn(FTabs, A)) return item->ItemVisible();
  return false;
}

bool TkaStyledForm::IsNCObjectEnabled(const TkaNCObject* A) const {
  if (A == nullptr) return false;
  if (const TkaNCItem* item = OwnerIn(FButtons, A)) return item->ItemEnabled();
  if (const TkaNCItem* item = OwnerIn(FTabs, A)) return item->ItemEnabled();
  return false;
}

// ---- Layout registration ------------------------------------------------------------------------

KA_REGISTER_ENUM(TkaNCButtonStyle, {{L"kancPushButton", kancPushButton},
                                    {L"kancToolButton", kancToolButton},
                                    {L"kancPushButtonTransparent", kancPushButtonTransparent},
                                    {L"kancToolButtonTransparent", kancToolButtonTransparent},
                                    {L"kancTransparent", kancTransparent},
                                    {L"kancLink", kancLink}});
KA_REGISTER_ENUM(TkaNCButtonPosition, {{L"kabpLeft", kabpLeft}, {L"kabpRight", kabpRight}});

KA_REGISTER_CLASS(TkaNCButtonItem, [](auto& c) {
  using I = TkaNCButtonItem;
  c.Property(L"ImageIndex", &I::ImageIndex, &I::SetImageIndex);
  c.Property(L"HotImageIndex", &I::HotImageIndex, &I::SetHotImageIndex);
  c.Property(L"PressedImageIndex", &I::PressedImageIndex, &I::SetPressedImageIndex);
  c.Property(L"Down", &I::Down, &I::SetDown);
  c.Property(L"Enabled", &I::Enabled, &I::SetEnabled);
  c.Property(L"Visible", &I::Visible, &I::SetVisible);
  c.Property(L"GroupIndex", &I::GroupIndex, &I::SetGroupIndex);
  c.Property(L"AllowAllUp", &I::AllowAllUp, &I::SetAllowAllUp);
  c.Property(L"PopupMenu", &I::PopupMenu, &I::SetPopupMenu);
  c.Property(L"CustomDropDown", &I::CustomDropDown, &I::SetCustomDropDown);
  c.Property(L"SplitButton", &I::SplitButton, &I::SetSplitButton);
  c.Property(L"Caption", &I::Caption, &I::SetCaption);
  c.Property(L"Style", &I::Style, &I::SetStyle);
  c.Property(L"Width", &I::Width, &I::SetWidth);
  c.Property(L"Height", &I::Height, &I::SetHeight);
  c.Property(L"MarginLeft", &I::MarginLeft, &I::SetMarginLeft);
  c.Property(L"MarginRight", &I::MarginRight, &I::SetMarginRight);
  c.Property(L"MarginTop", &I::MarginTop, &I::SetMarginTop);
  c.Property(L"MarginBottom", &I::MarginBottom, &I::SetMarginBottom);
  c.Property(L"Position", &I::Position, &I::SetPosition);
  c.Property(L"Spacing", &I::Spacing, &I::SetSpacing);
  c.Property(L"Margin", &I::Margin, &I::SetMargin);
  c.Property(L"ContentMargin", &I::ContentMargin, &I::SetContentMargin);
  c.Property(L"Hint", &I::Hint, &I::SetHint);
  c.Property(L"OnClick", &I::OnClick);
  c.Property(L"OnPaint", &I::OnPaint);
  c.Property(L"OnGetPaintParams", &I::OnGetPaintParams);
  c.Property(L"OnMouseEnter", &I::OnMouseEnter);
  c.Property(L"OnMouseLeave", &I::OnMouseLeave);
  c.Property(L"OnMouseDown", &I::OnMouseDown);
  c.Property(L"OnMouseUp", &I::OnMouseUp);
  c.Property(L"OnMouseMove", &I::OnMouseMove);
  c.Property(L"OnCloseUp", &I::OnCloseUp);
  c.Property(L"OnDropDown", &I::OnDropDown);
});

KA_REGISTER_CLASS(TkaNCTabItem, [](auto& c) {
  using I = TkaNCTabItem;
  c.Property(L"ImageIndex", &I::ImageIndex, &I::SetImageIndex);
  c.Property(L"Caption", &I::Caption, &I::SetCaption);
  c.Property(L"Enabled", &I::Enabled, &I::SetEnabled);
  c.Property(L"Visible", &I::Visible, &I::SetVisible);
  c.Property(L"Width", &I::Width, &I::SetWidth);
  c.Property(L"Height", &I::Height, &I::SetHeight);
  c.Property(L"MarginTop", &I::MarginTop, &I::SetMarginTop);
  c.Property(L"ContentMargin", &I::ContentMargin, &I::SetContentMargin);
  c.Property(L"Spacing", &I::Spacing, &I::SetSpacing);
  c.Property(L"Hint", &I::Hint, &I::SetHint);
  c.Property(L"OnClick", &I::OnClick);
  c.Property(L"OnPaint", &I::OnPaint);
  c.Property(L"OnGetPaintParams", &I::OnGetPaintParams);
  c.Property(L"OnMouseEnter", &I::OnMouseEnter);
  c.Property(L"OnMouseLeave", &I::OnMouseLeave);
  c.Property(L"OnMouseDown", &I::OnMouseDown);
  c.Property(L"OnMouseUp", &I::OnMouseUp);
  c.Property(L"OnMouseMove", &I::OnMouseMove);
});

KA_REGISTER_CLASS(TkaNCButtonItems);
KA_REGISTER_CLASS(TkaNCTabItems);
