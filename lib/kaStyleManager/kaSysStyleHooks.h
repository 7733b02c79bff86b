// The library's hooks for two kinds of system windows, popup menus ("#32768") and tooltips
// ("tooltips_class32"), registered with the style engine in place of the platform's when
// the unit starts (and the platform's put back when it ends). Like every hook of the style
// engine they act only while a custom style draws the application; with the system style
// menus and tooltips stay the platform's own.
//
// Besides the hooks: the pieces of their drawing that follow the style manager's settings
// (menu opacity, header items, the submenu arrow, the tooltip's colours and face).
#pragma once

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
  bool Disabled() const { return HasState(MFS_DISABLED); }
  bool Checked() const { return HasState(MFS_CHECKED); }
  bool RadioCheck() const { return HasType(MFT_RADIOCHECK); }
  bool DefaultItem() const { return HasState(MFS_DEFAULT); }
  bool Separator() const { return HasType(MFT_SEPARATOR); }
  bool HasSubMenu() const;

 private:
  bool Info(UINT Mask, MENUITEMINFOW& Info) const;
  bool HasState(UINT Flag) const;
  bool HasType(UINT Flag) const;
  int FIndex;
  HMENU FMenu;
  HWND FHandle;
};

// Under a custom style it gives the menu its opacity once the menu is first painted; the
// items are painted by the platform until the style engine has custom styles to paint
// them with (the pieces below are what that painting reads).
class TkaSysPopupStyleHook : public TkaSysStyleHook {
  KA_CLASS(TkaSysPopupStyleHook, TkaSysStyleHook)
 public:
  // Sent to a menu window when it has been fully painted for the first time.
  static constexpr UINT kMenuFirstPaint = 1225;

  explicit TkaSysPopupStyleHook(TkaSysWindow* AWindow);
  HMENU Menu() const { return FMenu; }
  int Count() const { return FCount; }
  bool AlphaBlend() const { return FAlphaBlend; }
  bool CanSetRedraw() const { return FCanSetRedraw; }

 protected:
  bool WndProc(TMessage& Message) override;

 private:
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
