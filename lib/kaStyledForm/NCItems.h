// Caption buttons and tabs of a styled form: the collections the form publishes as Buttons
// and Tabs. Their painting and mouse handling live with the form style hook; what is here is
// what the styled form itself needs (ownership, the popup-menu reference, the close-up).
#pragma once

#include "framework/Classes.h"
#include "framework/Menus.h"

class TkaStyledForm;
class TCanvas;

// The live side of a caption item: created and freed with the item, it holds the mouse state
// and does the drawing and the mouse behaviour. Coordinates are the window's.
class TkaNCObject : public TObject {
  KA_CLASS(TkaNCObject, TObject)
 public:
  explicit TkaNCObject(TCollectionItem* AParent) : FParent(AParent) {}
  TCollectionItem* Parent() const { return FParent; }
  virtual TkaStyledForm* OwnerStyledForm() const { return nullptr; }
  virtual int ContentWidth(int AMinWidth, TCanvas* Canvas) { return AMinWidth; }
  virtual void MouseDown(int X, int Y) { FDown = true; }
  virtual void MouseUp(int X, int Y) { FDown = false; }
  virtual void MouseMove(int X, int Y) { FMouseIn = true; }
  virtual void MouseEnter() { FMouseIn = true; }
  virtual void MouseLeave() { FMouseIn = false; }
  virtual void Draw(TCanvas* ACanvas) {}
  virtual void Invalidate() {}
  bool MouseIn() const { return FMouseIn; }
  bool Down() const { return FDown; }

  // Empty while the item is not shown.
  TRect ObjectRect;

 protected:
  TCollectionItem* FParent;
  bool FMouseIn = false;
  bool FDown = false;
};

// Lays out the styled form's caption buttons and tabs inside R (the caption text rectangle
// left between the icon and the system buttons; it shrinks by what the items take), sets
// every item's ObjectRect and draws the shown ones on Canvas (the caption bitmap's). B is
// the caption's bounding rectangle and YOffset the shift of a maximised form's caption.
void DrawCaptionItems(TkaStyledForm* AForm, TCanvas* Canvas, TRect& R, const TRect& B, int YOffset, bool AMinimized);

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
