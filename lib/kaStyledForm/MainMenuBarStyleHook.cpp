#include "lib/kaStyledForm/MainMenuBarStyleHook.h"

#include <algorithm>
#include <cwctype>

#include "framework/Graphics.h"
#include "lib/kaStyledForm/FormStyleHook.h"

namespace {

TkaMainMenuBarStyleHook::TPopupTracker& Tracker() {
  static TkaMainMenuBarStyleHook::TPopupTracker tracker;
  return tracker;
}

// The bar whose popup is open now (one menu is tracked at a time per thread).
TkaMainMenuBarStyleHook* gTracking = nullptr;

UINT TrackPopup(HMENU Menu, int X, int Y, HWND Owner) {
  if (Tracker()) return Tracker()(Menu, X, Y, Owner);
  return static_cast<UINT>(
      ::TrackPopupMenuEx(Menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, X, Y, Owner, nullptr));
}

// Appends Parent's visible children to Menu; command n + 1 stands for Commands[n].
void BuildPopup(HMENU Menu, const TMenuItem* Parent, std::vector<TMenuItem*>& Commands) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      ::AppendMenuW(Menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Enabled() ? 0u : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0u);
    if (item->Count() > 0) {
      HMENU sub = ::CreatePopupMenu();
      BuildPopup(sub, item, Commands);
      // Once appended, the submenu belongs to Menu.
      ::AppendMenuW(Menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->Caption().c_str());
    } else {
      Commands.push_back(item);
      ::AppendMenuW(Menu, flags, Commands.size(), item->Caption().c_str());
    }
  }
}

struct TMenuOwner {
  HMENU Handle = ::CreatePopupMenu();
  ~TMenuOwner() { ::DestroyMenu(Handle); }
};

String WithoutPrefix(const String& Caption) {
  String s;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == L'&' && i + 1 < Caption.size()) ++i;
    s += Caption[i];
  }
  return s;
}

}  // namespace

TkaMainMenuBarStyleHook::TkaMainMenuBarStyleHook(TkaFormStyleHook* AFormHook) : FFormHook(AFormHook) {}

TkaMainMenuBarStyleHook::~TkaMainMenuBarStyleHook() {
  *FAlive = false;
  if (gTracking == this) gTracking = nullptr;
  if (FMenuHook != nullptr) ::UnhookWindowsHookEx(FMenuHook);
}

void TkaMainMenuBarStyleHook::SetPopupTracker(TPopupTracker ATracker) { Tracker() = std::move(ATracker); }

TMainMenu* TkaMainMenuBarStyleHook::Menu() const { return FormMainMenu(FFormHook->Form()); }

void TkaMainMenuBarStyleHook::SetBoundsRect(const TRect& Value) {
  if (FBoundsRect == Value) return;
  FBoundsRect = Value;
  Layout(Value.Width());
}

HFONT TkaMainMenuBarStyleHook::MenuFont() {
  const UINT dpi = FFormHook->Handle() != nullptr ? ::GetDpiForWindow(FFormHook->Handle()) : 96;
  if (!FFont || FFontDPI != static_cast<int>(dpi)) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi > 0 ? dpi : 96))
      ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    FFont.Reset(::CreateFontIndirectW(&metrics.lfMenuFont));
    FFontDPI = static_cast<int>(dpi);
  }
  return FFont.Get();
}

int TkaMainMenuBarStyleHook::RowHeight() {
  const UINT dpi = FFormHook->Handle() != nullptr ? ::GetDpiForWindow(FFormHook->Handle()) : 96;
  return ::GetSystemMetricsForDpi(SM_CYMENU, dpi > 0 ? dpi : 96);
}

int TkaMainMenuBarStyleHook::Layout(int AWidth) {
  FItems.clear();
  const int row = RowHeight();
  TMainMenu* menu = Menu();
  if (menu == nullptr) return row;
  TMemoryDC dc = TMemoryDC::CreateCompatible();
  TSelectObject font(dc.Get(), MenuFont());
  const int padding = ::MulDiv(row, 1, 2);
  int x = 0, y = 0;
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (!item->Visible()) continue;
    const String text = WithoutPrefix(item->Caption());
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    const int w = size.cx + 2 * padding;
    if (x > 0 && x + w > AWidth) {
      x = 0;
      y += row;
    }
    FItems.push_back(TItem{item, TRect(x, y, x + w, y + row)});
    x += w;
  }
  // The MDI child's buttons take a row of their own when they no longer fit.
  if (FShowMDIButtons && x + 3 * row > AWidth) y += row;
  return y + row;
}

int TkaMainMenuBarStyleHook::GetMenuHeight(int AWidth) { return Layout(AWidth); }

int TkaMainMenuBarStyleHook::ItemCount() { return static_cast<int>(FItems.size()); }

TRect TkaMainMenuBarStyleHook::ItemRect(int Index) {
  return Index >= 0 && Index < ItemCount() ? FItems[static_cast<size_t>(Index)].Rect : TRect();
}

int TkaMainMenuBarStyleHook::ItemAt(int X, int Y) {
  for (int i = 0; i < ItemCount(); ++i)
    if (FItems[static_cast<size_t>(i)].Rect.Contains(TPoint(X, Y))) return i;
  return -1;
}

void TkaMainMenuBarStyleHook::Invalidate() { FFormHook->InvalidateNC(); }

void TkaMainMenuBarStyleHook::Paint(TCanvas* Canvas) {
  if (FBoundsRect.IsEmpty()) return;
  TCustomStyleServices* s = StyleServices(FFormHook->Form());
  const bool active = FFormHook->FormActive();
  TBitmap bar(FBoundsRect.Width(), FBoundsRect.Height());
  HDC dc = bar.Canvas()->Handle();
  const TRect all(0, 0, FBoundsRect.Width(), FBoundsRect.Height());
  s->DrawElement(dc, TCustomStyleServices::GetElementDetails(active ? tmMenuBarBackgroundActive
                                                                    : tmMenuBarBackgroundInactive),
                 all);
  TSelectObject font(dc, MenuFont());
  ::SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < ItemCount(); ++i) {
    const TItem& item = FItems[static_cast<size_t>(i)];
    const bool enabled = item.Item->Enabled() && active;
    const bool pushed = (i == FActiveItem && FMenuPush) || i == FPressedItem;
    const bool hot = i == FHotItem || i == FActiveItem;
    const TThemedMenu state = !enabled ? tmMenuBarItemDisabled
                              : pushed ? tmMenuBarItemPushed
                              : hot    ? tmMenuBarItemHot
                                       : tmMenuBarItemNormal;
    s->DrawElement(dc, TCustomStyleServices::GetElementDetails(state), item.Rect);
    const TStyleFont color = !enabled ? sfMenuItemTextDisabled : hot || pushed ? sfMenuItemTextHot : sfMenuItemTextNormal;
    ::SetTextColor(dc, static_cast<COLORREF>(s->ColorToRGB(s->GetStyleFontColor(color))));
    RECT r = item.Rect;
    ::DrawTextW(dc, item.Item->Caption().c_str(), static_cast<int>(item.Item->Caption().size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  ::BitBlt(Canvas->Handle(), FBoundsRect.Left, FBoundsRect.Top, FBoundsRect.Width(), FBoundsRect.Height(), dc, 0, 0,
           SRCCOPY);
}

void TkaMainMenuBarStyleHook::MouseMove(int X, int Y) {
  FMouseInMainMenu = X >= 0 && Y >= 0;
  const int hot = FMouseInMainMenu ? ItemAt(X, Y) : -1;
  if (hot == FHotItem) return;
  FHotItem = hot;
  if (hot != FPressedItem) FPressedItem = -1;
  Invalidate();
}

void TkaMainMenuBarStyleHook::MouseDown(int X, int Y) {
  const int index = ItemAt(X, Y);
  if (index < 0 || !FItems[static_cast<size_t>(index)].Item->Enabled()) return;
  if (FItems[static_cast<size_t>(index)].Item->Count() == 0) {
    // An item without a popup acts on release, like a button.
    FPressedItem = index;
    Invalidate();
    return;
  }
  FActiveItem = index;
  FEnterWithKeyboard = false;
  ProcessMenuLoop(true);
}

void TkaMainMenuBarStyleHook::MouseUp(int X, int Y) {
  const int index = ItemAt(X, Y);
  const int pressed = FPressedItem;
  FPressedItem = -1;
  Invalidate();
  if (index >= 0 && index == pressed) FItems[static_cast<size_t>(index)].Item->Click();
}

bool TkaMainMenuBarStyleHook::CheckHotKeyItem(WORD ACharCode) {
  if (FItems.empty()) Layout(FBoundsRect.Width() > 0 ? FBoundsRect.Width() : 1 << 20);
  const wchar_t key = static_cast<wchar_t>(std::towlower(static_cast<wchar_t>(ACharCode)));
  for (int i = 0; i < ItemCount(); ++i) {
    TMenuItem* item = FItems[static_cast<size_t>(i)].Item;
    if (MenuItemAccelerator(item->Caption()) != key || !item->Enabled()) continue;
    FActiveItem = i;
    FEnterWithKeyboard = true;
    ProcessMenuLoop(true);
    return true;
  }
  return false;
}

void TkaMainMenuBarStyleHook::MenuEnter(bool ATrackMenu) {
  if (FItems.empty()) Layout(FBoundsRect.Width() > 0 ? FBoundsRect.Width() : 1 << 20);
  for (int i = 0; i < ItemCount(); ++i)
    if (FItems[static_cast<size_t>(i)].Item->Enabled()) {
      FActiveItem = i;
      FEnterWithKeyboard = true;
      // Without a bar of its own to walk, the keyboard enters by opening the first popup.
      ProcessMenuLoop(true);
      return;
    }
}

void TkaMainMenuBarStyleHook::ExitMenuLoop() {
  if (FInMenuLoop) ::EndMenu();
  if (FActiveItem < 0 && FHotItem < 0 && FPressedItem < 0) return;
  FActiveItem = FHotItem = FPressedItem = -1;
  FMenuPush = false;
}

TMenuItem* TkaMainMenuBarStyleHook::TrackItem(int Index) {
  const TItem& item = FItems[static_cast<size_t>(Index)];
  TMenuOwner popup;
  std::vector<TMenuItem*> commands;
  BuildPopup(popup.Handle, item.Item, commands);
  RECT window{};
  ::GetWindowRect(FFormHook->Handle(), &window);
  const int x = window.left + FBoundsRect.Left + item.Rect.Left;
  const int y = window.top + FBoundsRect.Top + item.Rect.Bottom;
  gTracking = this;
  FMenuHook = ::SetWindowsHookExW(WH_MSGFILTER, &MenuFilter, nullptr, ::GetCurrentThreadId());
  const UINT command = TrackPopup(popup.Handle, x, y, FFormHook->Handle());
  if (FMenuHook != nullptr) ::UnhookWindowsHookEx(FMenuHook);
  FMenuHook = nullptr;
  gTracking = nullptr;
  return command > 0 && command <= commands.size() ? commands[command - 1] : nullptr;
}

void TkaMainMenuBarStyleHook::ProcessMenuLoop(bool ATrackMenu) {
  if (FInMenuLoop || FActiveItem < 0 || FActiveItem >= ItemCount()) return;
  const std::shared_ptr<bool> alive = FAlive;
  FInMenuLoop = true;
  TMenuItem* chosen = nullptr;
  int index = FActiveItem;
  while (index >= 0 && ATrackMenu) {
    FActiveItem = index;
    FMenuPush = true;
    Invalidate();
    TMenuItem* item = FItems[static_cast<size_t>(index)].Item;
    if (item->Count() == 0) {
      chosen = item;
      break;
    }
    FNextItem = -1;
    chosen = TrackItem(index);
    if (!*alive) return;
    if (chosen != nullptr) break;
    index = FNextItem;
  }
  FInMenuLoop = false;
  FMenuPush = false;
  FActiveItem = -1;
  FEnterWithKeyboard = false;
  Invalidate();
  // Last: the command may close the form and free this bar.
  if (chosen != nullptr) chosen->Click();
}

void TkaMainMenuBarStyleHook::TrackSystemMenu() {
  HWND h = FFormHook->Handle();
  if (h == nullptr) return;
  HMENU system = ::GetSystemMenu(h, FALSE);
  RECT window{};
  ::GetWindowRect(h, &window);
  const TRect icon = FFormHook->SysMenuButtonRect();
  const UINT command = TrackPopup(system, window.left + icon.Left, window.top + FBoundsRect.Top, h);
  if (command != 0) ::SendMessageW(h, WM_SYSCOMMAND, command, 0);
}

LRESULT CALLBACK TkaMainMenuBarStyleHook::MenuFilter(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == MSGF_MENU && gTracking != nullptr && LParam != 0 && gTracking->FilterMessage(*reinterpret_cast<MSG*>(LParam)))
    return 1;
  return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

bool TkaMainMenuBarStyleHook::FilterMessage(const MSG& Msg) {
  const int count = ItemCount();
  if (count == 0) return false;
  int next = -1;
  if (Msg.message == WM_KEYDOWN && (Msg.wParam == VK_LEFT || Msg.wParam == VK_RIGHT))
    next = (FActiveItem + (Msg.wParam == VK_RIGHT ? 1 : count - 1)) % count;
  if (Msg.message == WM_MOUSEMOVE) {
    // The pointer slid onto another item of the bar: its popup replaces this one.
    RECT window{};
    ::GetWindowRect(FFormHook->Handle(), &window);
    POINT p;
    ::GetCursorPos(&p);
    const int hit = ItemAt(p.x - window.left - FBoundsRect.Left, p.y - window.top - FBoundsRect.Top);
    if (hit >= 0 && hit != FActiveItem && FItems[static_cast<size_t>(hit)].Item->Enabled()) next = hit;
  }
  if (next < 0 || next == FActiveItem) return false;
  FNextItem = next;
  ::EndMenu();
  return Msg.message == WM_KEYDOWN;
}
