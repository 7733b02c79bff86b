// Menus: items in a tree and the popup menu that shows them with the system's menu loop.
// Items are components (a layout owns them like any other) and also children of their
// parent item; freeing an item frees its children.
#pragma once

#include <vector>

#include "framework/Classes.h"
#include "framework/Types.h"

class TPopupMenu;

class TMenuItem : public TComponent {
  KA_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  // Checked radio items of one GroupIndex under one parent exclude each other.
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  // Clicking checks the item (or toggles it when it is not a radio item).
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  // Shown in bold, the item Enter chooses.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // A caption of "-" makes a separator.
  bool IsLine() const { return FCaption == L"-"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  int IndexOf(const TMenuItem* Item) const;
  // Takes Item as the last (or Index-th) child, removing it from its previous parent.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Detaches Item; the caller keeps it.
  void Remove(TMenuItem* Item);
  void Delete(int Index);
  // Frees every child.
  void Clear();

  // What choosing the item does: AutoCheck, then OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  void UncheckRadioSiblings();

  String FCaption;
  String FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  bool FDefault = false;
  int FGroupIndex = 0;
  int FImageIndex = -1;
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
};

// Where the menu stands relative to the popup point.
enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
  KA_CLASS(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The component the menu was last shown for (set by whoever shows it).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  TPoint PopupPoint() const { return FPopupPoint; }

  // Shows the menu at the screen point and runs the system's menu loop; returns after it
  // closes, having clicked the chosen item (if any).
  virtual void Popup(int X, int Y);

  TNotifyEvent OnPopup;
  // After the menu loop ends, chosen item or not.
  TNotifyEvent OnClose;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMenuItem* FItems;
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};
