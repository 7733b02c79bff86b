// Caption buttons and tabs of a styled form: the collections the form publishes as Buttons
// and Tabs. Their painting and mouse handling live with the form style hook; what is here is
// what the styled form itself needs (ownership, the popup-menu reference, the close-up).
#pragma once

#include "framework/Classes.h"
#include "framework/Menus.h"

class TkaStyledForm;

class TkaNCButtonItem : public TCollectionItem {
  KA_CLASS(TkaNCButtonItem, TCollectionItem)
 public:
  explicit TkaNCButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

  // Not owned; the styled form clears it when the menu is freed.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  // Where the form style hook last placed the button (window coordinates).
  TRect ObjectRect;

  // The styled form tells the button that the form it dropped down has closed up.
  virtual void DropDownClosed(bool AAcceptChanges) {}

  void Assign(TPersistent* Source) override;

 private:
  TPopupMenu* FPopupMenu = nullptr;
};

class TkaNCTabItem : public TCollectionItem {
  KA_CLASS(TkaNCTabItem, TCollectionItem)
 public:
  explicit TkaNCTabItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
};

class TkaNCButtonItems : public TOwnedCollection {
  KA_CLASS(TkaNCButtonItems, TOwnedCollection)
 public:
  explicit TkaNCButtonItems(TkaStyledForm* AOwner);
  TkaNCButtonItem* Items(int Index) const { return static_cast<TkaNCButtonItem*>(inherited::Items(Index)); }
  TkaNCButtonItem* Add() { return static_cast<TkaNCButtonItem*>(inherited::Add()); }
  TkaStyledForm* StyledForm() const { return FStyledForm; }

 private:
  TkaStyledForm* FStyledForm;
};

class TkaNCTabItems : public TOwnedCollection {
  KA_CLASS(TkaNCTabItems, TOwnedCollection)
 public:
  explicit TkaNCTabItems(TkaStyledForm* AOwner);
  TkaNCTabItem* Items(int Index) const { return static_cast<TkaNCTabItem*>(inherited::Items(Index)); }
  TkaNCTabItem* Add() { return static_cast<TkaNCTabItem*>(inherited::Add()); }
  TkaStyledForm* StyledForm() const { return FStyledForm; }

 private:
  TkaStyledForm* FStyledForm;
};
