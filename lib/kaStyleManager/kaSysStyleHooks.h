// The library's hooks for two kinds of system windows, popup menus ("#32768") and tooltips
// ("tooltips_class32"), registered with the style engine in place of the platform's when
// the unit starts (and the platform's put back when it ends). Like every hook of the style
// engine they act only while a custom style draws the application; with the system style
// menus and tooltips stay the platform's own.
//
// Besides the hooks: the pieces of their drawing that follow the style manager's settings
// (menu opacity, header items, the submenu arrow, the tooltip's colours and face).
#pragma once

#include <memory>

#include "framework/Classes.h"
#include "framework/Messages.h"
#include "framework/Themes.h"
#include "framework/Types.h"

class TCanvas;

// A window of the system's own classes, known by handle, as the style engine hands it to a
// system-window hook.
using TkaSysWindow = TSysWindow;

// The common part of the system-window hooks.
class TkaSysStyleHook : public TStyleHook {
  KA_CLASS(TkaSysStyleHook, TStyleHook)
 public:
  explicit TkaSysStyleHook(TkaSysWindow* AWindow) : FHandle(AWindow != nullptr ? AWindow->Handle() : nullptr) {}
  HWND Handle() const { return FHandle; }
  // True when the hook handled Message (the window's own procedure is then not called);
  // always false while no custom style is active.
  bool HandleMessage(TMessage& Message) override;

 protected:
  // Only called while a custom style is active.
  virtual bool WndProc(TMessage& Message) { return false; }

 private:
  HWND FHandle;
};

// One item of a system popup menu, read from the menu.
class TkaSysPopupItem {
 public:
  TkaSysPopupItem(HMENU AMenu, int AIndex, HWND AHandle) : FIndex(AIndex), FMenu(AMenu), FHandle(AHandle) {}
  int Index() const { return FIndex; }
  String Text() const;
  HBITMAP Bitmap() const;
  // Screen rectangle; empty when the menu window cannot tell.
  TRect ItemRect() const;
  // The same in the menu window's client coordinates.
  TRect ClientItemRect() const;
  bool Disabled() const { return HasState(MFS_DISABLED); }
  bool Checked() const { return HasState(MFS_CHECKED); }
  bool RadioCheck() const { return HasType(MFT_RADIOCHECK); }
  bool DefaultItem() const { return HasState(MFS_DEFAULT); }
  bool Separator() const { return HasType(MFT_SEPARATOR); }
  bool HasSubMenu() const;
  // The platform shows it hot (selected).
  bool Hot() const { return HasState(MFS_HILITE); }
  bool RightToLeft() const { return HasType(MFT_RIGHTORDER); }

 private:
  bool Info(UINT Mask, MENUITEMINFOW& Info) const;
  bool HasState(UINT Flag) const;
  bool HasType(UINT Flag) const;
  int FIndex;
  HMENU FMenu;
  HWND FHandle;
};

// Under a custom style it draws the popup menu window itself: the style's background and
// items (check and radio marks, separators, submenu arrows, shortcut texts, header items,
// the hot item in the style manager's selection style), the menu pictures of the style
// manager, and the opacity once the menu is first painted. The platform keeps measuring,
// tracking and hit-testing the items; whenever it changes the hot item the hook repaints
// the whole menu over whatever the platform drew.
class TkaSysPopupStyleHook : public TkaSysStyleHook {
  KA_CLASS(TkaSysPopupStyleHook, TkaSysStyleHook)
 public:
  // Sent to a menu window when it has been fully painted for the first time.
  static constexpr UINT kMenuFirstPaint = 1225;
  // The platform's private messages of menu windows that change the hot item.
  static constexpr UINT kMenuSelectItem = 0x1E5;
  static constexpr UINT kMenuSelectFirstValidItem = 0x1E7;
  static constexpr UINT kMenuButtonDown = 0x1ED;
  static constexpr UINT kMenuMouseMove = 0x1EE;
  static constexpr UINT kMenuButtonUp = 0x1EF;

  explicit TkaSysPopupStyleHook(TkaSysWindow* AWindow);
  ~TkaSysPopupStyleHook() override;
  // The menu shown; asked of the window when first needed (the window learns it only while
  // being created, after the hook is attached).
  HMENU Menu();
  int Count();
  bool AlphaBlend() const { return FAlphaBlend; }
  bool CanSetRedraw() const { return FCanSetRedraw; }
  // The hook has painted the items at least once.
  bool ItemsPainted() const { return FItemsPainted; }
  // The item the last painting showed hot (-1: none).
  int ActiveItemIndex() const { return FActiveItemIndex; }
  // The one painted hot before it.
  int PreviousHotItemIndex() const { return FPreviousHotItemIndex; }
  // The item last asked about through Item (nullptr before any).
  const TkaSysPopupItem* SysPopupItem() const { return FSysPopupItem.get(); }
  const TkaSysPopupItem& Item(int Index);

  // The whole menu into DC (client coordinates), through an off-screen bitmap.
  void PaintMenu(HDC DC);
  // Repaints the window when the item the platform shows hot is not the one painted last;
  // true when it did.
  bool SyncHotItem();

 protected:
  bool WndProc(TMessage& Message) override;

 private:
  int HotItemIndex();
  // The window's own handling of Message, with its drawing held back (the hot item's
  // platform look would flash), then the whole menu repainted.
  void HotItemDefault(TMessage& Message);
  LRESULT CallDefault(const TMessage& Message) const;
  void Repaint();

  bool FItemsPainted = false;
  int FPreviousHotItemIndex = -1;
  int FActiveItemIndex = -1;
  std::unique_ptr<TkaSysPopupItem> FSysPopupItem;
  int FCount = 0;
  HMENU FMenu = nullptr;
  bool FAlphaBlend = false;
  bool FCanSetRedraw = false;
};

// Under a custom style it paints the tooltip's face (PaintTooltip), except balloons.
class TkaSysTooltipsStyleHook : public TkaSysStyleHook {
  KA_CLASS(TkaSysTooltipsStyleHook, TkaSysStyleHook)
 public:
  using TkaSysStyleHook::TkaSysStyleHook;

 protected:
  bool WndProc(TMessage& Message) override;
};

// Puts the library's hooks in place of the platform's (unit start), and the platform's back
// (unit end); the style manager's unit does both.
void RegisterSysStyleHooks();
void RestoreSysStyleHooks();

// ---- What the hooks draw with ---------------------------------------------------------------

// Makes a menu window layered at kaMenuAlphaBlendValue; at 255 it stays as it is. True when
// it became layered.
bool ApplyMenuOpacity(HWND Menu);
// A disabled item whose caption is longer than one character and begins and ends with "-"
// is a header while kaMenuHeadersSupport is on; Header is then the caption without its
// first and last character and without its first "&".
bool MenuHeaderText(const String& Caption, bool Disabled, String& Header);
// The arrow of an item with a submenu: a chevron with modern arrows (drawn a little
// smaller at 125 % and above 150 %), the menu triangle otherwise, pointing left in
// right-to-left menus.
void DrawSubmenuArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, bool RightToLeft);

struct TkaTooltipColors {
  TColor Frame;
  TColor GradientTop;
  TColor GradientBottom;
  TColor Text;
};
// The tooltip's colours: the defaults, each replaced by the custom style's where it has one.
TkaTooltipColors TooltipColors();
// The tooltip's face into DC: vertical gradient, one-pixel frame, and its text.
void PaintTooltip(HWND Tooltip, HDC DC);
