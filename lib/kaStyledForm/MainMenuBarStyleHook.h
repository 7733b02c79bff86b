// The form's main menu as a bar in the non-client area, painted by the form style hook with
// the style's menu elements: hot and pressed items follow the mouse, an item opens its popup
// by a press or by Alt and its accelerator, and Left and Right move to the neighbouring item
// while a popup is open.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/GdiObjects.h"
#include "framework/MainMenu.h"

class TkaFormStyleHook;
class TCanvas;

class TkaMainMenuBarStyleHook {
 public:
  explicit TkaMainMenuBarStyleHook(TkaFormStyleHook* AFormHook);
  ~TkaMainMenuBarStyleHook();
  TkaMainMenuBarStyleHook(const TkaMainMenuBarStyleHook&) = delete;
  TkaMainMenuBarStyleHook& operator=(const TkaMainMenuBarStyleHook&) = delete;

  // Where the bar lies in the window (window coordinates).
  const TRect& BoundsRect() const { return FBoundsRect; }
  void SetBoundsRect(const TRect& Value);
  // MDI child buttons: the framework has no MDI windows, so none are ever shown.
  bool ShowMDIButtons() const { return FShowMDIButtons; }
  void SetShowMDIButtons(bool Value) { FShowMDIButtons = Value; }

  // Height of the bar for AWidth pixels: one row per run of items that fits.
  int GetMenuHeight(int AWidth);
  // Paints the bar into its bounds; Canvas draws on the window's DC.
  void Paint(TCanvas* Canvas);
  // Repaints the bar (the form's non-client area).
  void Invalidate();
  // The mouse in bar coordinates; (-1, -1) when it left the bar.
  void MouseMove(int X, int Y);
  void MouseDown(int X, int Y);
  void MouseUp(int X, int Y);
  // Alt+ACharCode: opens (or clicks) the item with that accelerator; false when none has it.
  bool CheckHotKeyItem(WORD ACharCode);
  // Entered from the keyboard (F10, Alt): the first item opens.
  void MenuEnter(bool ATrackMenu);
  // Opens the active item's popup and follows Left and Right to the neighbours until a
  // command is chosen or the menu is dismissed.
  void ProcessMenuLoop(bool ATrackMenu);
  void TrackSystemMenu();
  void TrackMDIChildSystemMenu() {}
  // The form was deactivated: no item stays hot or pushed.
  void ExitMenuLoop();

  bool MouseInMainMenu() const { return FMouseInMainMenu; }
  bool InMenuLoop() const { return FInMenuLoop; }
  int ActiveItem() const { return FActiveItem; }
  int HotItem() const { return FHotItem; }
  int ItemCount();
  // The rectangle of item Index in bar coordinates.
  TRect ItemRect(int Index);

  // Shows a popup and answers the command chosen (0: none). The system's TrackPopupMenuEx by
  // default; tests put their own here to see what would open without a modal loop.
  using TPopupTracker = std::function<UINT(HMENU Menu, int X, int Y, HWND Owner)>;
  static void SetPopupTracker(TPopupTracker Tracker);

 private:
  struct TItem {
    TMenuItem* Item;
    TRect Rect;
  };
  TMainMenu* Menu() const;
  HFONT MenuFont();
  int RowHeight();
  // Lays the visible items out in rows of AWidth; answers the height.
  int Layout(int AWidth);
  int ItemAt(int X, int Y);
  // Runs one popup of item Index; answers the chosen item (nullptr: none).
  TMenuItem* TrackItem(int Index);
  static LRESULT CALLBACK MenuFilter(int Code, WPARAM WParam, LPARAM LParam);
  bool FilterMessage(const MSG& Msg);

  TkaFormStyleHook* FFormHook;
  TRect FBoundsRect;
  std::vector<TItem> FItems;
  TFontHandle FFont;
  int FFontDPI = 0;
  int FActiveItem = -1;
  int FHotItem = -1;
  int FPressedItem = -1;
  int FNextItem = -1;
  bool FInMenuLoop = false;
  bool FMenuPush = false;
  bool FMouseInMainMenu = false;
  bool FShowMDIButtons = false;
  bool FEnterWithKeyboard = false;
  HHOOK FMenuHook = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
