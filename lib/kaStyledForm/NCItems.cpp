#include "lib/kaStyledForm/NCItems.h"

#include "lib/kaStyledForm/kaStyledForm.h"

void TkaNCButtonItem::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  FPopupMenu = Value;
  // The styled form hears of the menu's destruction and clears this reference.
  auto* items = dynamic_cast<TkaNCButtonItems*>(Collection());
  if (Value != nullptr && items != nullptr && items->StyledForm() != nullptr) items->StyledForm()->FreeNotification(Value);
}

void TkaNCButtonItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TkaNCButtonItem*>(Source)) {
    SetPopupMenu(item->PopupMenu());
    return;
  }
  inherited::Assign(Source);
}

void TkaNCTabItem::Assign(TPersistent* Source) {
  if (dynamic_cast<TkaNCTabItem*>(Source) != nullptr) return;
  inherited::Assign(Source);
}

TkaNCButtonItems::TkaNCButtonItems(TkaStyledForm* AOwner)
    : TOwnedCollection(AOwner, [](TCollection* C) -> TCollectionItem* { return new TkaNCButtonItem(C); }),
      FStyledForm(AOwner) {}

TkaNCTabItems::TkaNCTabItems(TkaStyledForm* AOwner)
    : TOwnedCollection(AOwner, [](TCollection* C) -> TCollectionItem* { return new TkaNCTabItem(C); }),
      FStyledForm(AOwner) {}

void DrawCaptionItems(TkaStyledForm* AForm, TCanvas* Canvas, TRect& R, const TRect& B, int YOffset, bool AMinimized) {}

TkaNCObject* TkaStyledForm::FindNCObject(const TPoint& P) const { return nullptr; }
bool TkaStyledForm::IsNCObjectListed(const TkaNCObject* A) const { return false; }
bool TkaStyledForm::IsNCObjectEnabled(const TkaNCObject* A) const { return false; }
