// The main menu of a form: the items of its menu bar, each with the popup it opens. Forms
// have no window menu of their own; the menu bar is painted by whoever paints the form's
// frame (the style hook of a styled form), which finds the menu among the form's components.
#pragma once

#include "framework/Menus.h"

class TMainMenu : public TPopupMenu {
  KA_CLASS(TMainMenu, TPopupMenu)
 public:
  explicit TMainMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

  // The menu merges into another form's menu bar instead of showing its own.
  bool AutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }

 private:
  bool FAutoMerge = false;
};

// The main menu of Form: the first TMainMenu among the components it owns (nullptr: none).
TMainMenu* FormMainMenu(const TComponent* Form);
// An item's accelerator: the character after the first single '&' of its caption, lower-case
// (0 when there is none).
wchar_t MenuItemAccelerator(const String& Caption);
