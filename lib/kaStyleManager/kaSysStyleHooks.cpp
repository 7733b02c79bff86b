#include "lib/kaStyleManager/kaSysStyleHooks.h"

#include <algorithm>
#include <cwchar>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaStyleManager/kaStyleManager.h"

namespace {

constexpr TColor kTooltipFrame = MakeColor(0x00767676);
constexpr TColor kTooltipGradientTop = MakeColor(0x00FFFFFF);
constexpr TColor kTooltipGradientBottom = MakeColor(0x00EFE4E3);
constexpr TColor kTooltipText = MakeColor(0x00575757);
// Balloon tooltips keep the platform's face.
constexpr LONG kTooltipBalloonStyle = 0x40;

const wchar_t kPopupMenuClass[] = L"#32768";
const wchar_t kTooltipClass[] = L"tooltips_class32";
const wchar_t kStaticClass[] = L"Static";

template <class THook>
TStyleHookClass SysHookClass() {
  return TStyleHookClass(THook::StaticClassName(), [](TObject* Control) -> TObject* {
    auto* window = dynamic_cast<TkaSysWindow*>(Control);
    return window != nullptr ? Construct<THook>(window) : nullptr;
  });
}

TStyleEngine& Engine() { return TStyleManager::Engine(); }

// The platform's hooks the library's took the place of; never destroyed, as the unit may end
// after others.
struct TSavedHooks {
  TStyleHookClass Popup, Tooltips;
};
TSavedHooks& SavedHooks() {
  static auto* saved = new TSavedHooks();
  return *saved;
}

// Takes the hook found for Name out (into Saved) and registers Ours when given.
void ReplaceHook(const wchar_t* Name, const TStyleHookClass& Ours, TStyleHookClass& Saved) {
  Saved = Engine().FindStyleHook(Name);
  if (Saved) Engine().UnRegisterStyleHook(Name, Saved);
  if (Ours) Engine().RegisterStyleHook(Name, Ours);
}

void RestoreHook(const wchar_t* Name, const TStyleHookClass& Ours, const TStyleHookClass& Saved) {
  Engine().UnRegisterStyleHook(Name, Ours);
  if (Saved && !Engine().FindStyleHook(Name)) Engine().RegisterStyleHook(Name, Saved);
}

TColor StyleElementColor(TElementColor Which, TColor Default) {
  if (!TStyleManager::IsCustomStyleActive() || !StyleServices()->Enabled()) return Default;
  TColor color = Default;
  const auto details = TCustomStyleServices::GetElementDetails(tttStandardNormal);
  return StyleServices()->GetElementColor(details, Which, color) ? color : Default;
}

TRIVERTEX Vertex(LONG X, LONG Y, TColor Color) {
  const TColor c = ColorToRGB(Color);
  return TRIVERTEX{X, Y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
                   static_cast<COLOR16>(GetBValue(c) << 8), 0};
}

// The text of the tool the tooltip shows, else the window's own text.
String TooltipText(HWND Tooltip) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  if (::SendMessageW(Tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0) {
    constexpr int kMaxText = 1024;
    String text(kMaxText, L'\0');
    tool.lpszText = text.data();
    ::SendMessageW(Tooltip, TTM_GETTEXTW, kMaxText, reinterpret_cast<LPARAM>(&tool));
    text.resize(std::wcslen(text.c_str()));
    return text;
  }
  const int length = std::max(::GetWindowTextLengthW(Tooltip), 0);
  String text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(::GetWindowTextW(Tooltip, text.data(), length + 1), 0)));
  return text;
}

}  // namespace

void RegisterSysStyleHooks() {
  ReplaceHook(kPopupMenuClass, SysHookClass<TkaSysPopupStyleHook>(), SavedHooks().Popup);
  ReplaceHook(kTooltipClass, SysHookClass<TkaSysTooltipsStyleHook>(), SavedHooks().Tooltips);
  // Static controls keep the platform's hook, registered again so it stays the one found.
  TStyleHookClass statics;
  ReplaceHook(kStaticClass, TStyleHookClass(), statics);
  if (statics) Engine().RegisterStyleHook(kStaticClass, statics);
}

void RestoreSysStyleHooks() {
  RestoreHook(kPopupMenuClass, SysHookClass<TkaSysPopupStyleHook>(), SavedHooks().Popup);
  RestoreHook(kTooltipClass, SysHookClass<TkaSysTooltipsStyleHook>(), SavedHooks().Tooltips);
}

// ---- Hooks ----------------------------------------------------------------------------------

bool TkaSysStyleHook::HandleMessage(TMessage& Message) {
  if (!TStyleManager::IsCustomStyleActive() || FHandle == nullptr) return false;
  return WndProc(Message);
}

bool TkaSysTooltipsStyleHook::WndProc(TMessage& Message) {
  if (Message.Msg != WM_PAINT) return false;
  if ((::GetWindowLongW(Handle(), GWL_STYLE) & kTooltipBalloonStyle) != 0) return false;
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(Handle(), &ps);
  PaintTooltip(Handle(), dc);
  ::EndPaint(Handle(), &ps);
  Message.Result = 0;
  return true;
}

// ---- Menu items -----------------------------------------------------------------------------

bool TkaSysPopupItem::Info(UINT Mask, MENUITEMINFOW& Info) const {
  Info = MENUITEMINFOW{};
  Info.cbSize = sizeof(Info);
  Info.fMask = Mask;
  return FMenu != nullptr && ::GetMenuItemInfoW(FMenu, static_cast<UINT>(FIndex), TRUE, &Info) != FALSE;
}

String TkaSysPopupItem::Text() const {
  MENUITEMINFOW info;
  if (!Info(MIIM_STRING, info) || info.cch == 0) return String();
  String text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (::GetMenuItemInfoW(FMenu, static_cast<UINT>(FIndex), TRUE, &info) == FALSE) return String();
  text.resize(info.cch);
  return text;
}

HBITMAP TkaSysPopupItem::Bitmap() const {
  MENUITEMINFOW info;
  return Info(MIIM_BITMAP, info) ? info.hbmpItem : nullptr;
}

TRect TkaSysPopupItem::ItemRect() const {
  RECT r{};
  if (FMenu == nullptr || !::GetMenuItemRect(FHandle, FMenu, static_cast<UINT>(FIndex), &r)) return TRect();
  return TRect(r);
}

TRect TkaSysPopupItem::ClientItemRect() const {
  TRect r = ItemRect();
  if (r.IsEmpty() || FHandle == nullptr) return TRect();
  POINT corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
  ::MapWindowPoints(nullptr, FHandle, corners, 2);
  return TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

bool TkaSysPopupItem::HasState(UINT Flag) const {
  MENUITEMINFOW info;
  return Info(MIIM_STATE, info) && (info.fState & Flag) != 0;
}

bool TkaSysPopupItem::HasType(UINT Flag) const {
  MENUITEMINFOW info;
  return Info(MIIM_FTYPE, info) && (info.fType & Flag) != 0;
}

bool TkaSysPopupItem::HasSubMenu() const {
  MENUITEMINFOW info;
  return Info(MIIM_SUBMENU, info) && info.hSubMenu != nullptr;
}

// ---- Drawing --------------------------------------------------------------------------------

bool ApplyMenuOpacity(HWND Menu) {
  if (Menu == nullptr || kaMenuAlphaBlendValue == 255) return false;
  const LONG ex = ::GetWindowLongW(Menu, GWL_EXSTYLE);
  ::SetWindowLongW(Menu, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  return ::SetLayeredWindowAttributes(Menu, 0, kaMenuAlphaBlendValue, LWA_ALPHA) != FALSE;
}

bool MenuHeaderText(const String& Caption, bool Disabled, String& Header) {
  if (!kaMenuHeadersSupport || !Disabled || Caption.size() < 2) return false;
  if (Caption.front() != L'-' || Caption.back() != L'-') return false;
  Header = Caption.substr(1, Caption.size() - 2);
  const auto amp = Header.find(L'&');
  if (amp != String::npos) Header.erase(amp, 1);
  return true;
}

void DrawSubmenuArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, double Scale, bool RightToLeft) {
  if (!UseModernArrows()) {
    DrawMenuArrow(Canvas, Rect, Color, Scale, RightToLeft ? kaArrowLeft : kaArrowRight);
    return;
  }
  // Chevrons look heavier than triangles: a step smaller from 125 % up.
  double s = Scale;
  if (s == 1.25)
    s = 1.1;
  else if (s >= 1.5)
    s -= 0.3;
  DrawChevronArrow(Canvas, Rect, Color, s, RightToLeft ? kaChevronLeft : kaChevronRight);
}

TkaTooltipColors TooltipColors() {
  const TColor gradient = StyleElementColor(ecGradientColor1, clNone);
  return TkaTooltipColors{StyleElementColor(ecBorderColor, kTooltipFrame),
                          gradient != clNone ? gradient : kTooltipGradientTop,
                          gradient != clNone ? gradient : kTooltipGradientBottom,
                          StyleElementColor(ecTextColor, kTooltipText)};
}

void PaintTooltip(HWND Tooltip, HDC DC) {
  if (Tooltip == nullptr || DC == nullptr) return;
  RECT client{};
  ::GetClientRect(Tooltip, &client);
  if (client.right <= client.left || client.bottom <= client.top) return;
  const TkaTooltipColors colors = TooltipColors();
  TDCStateSaver saved(DC);
  TRIVERTEX v[2] = {Vertex(client.left, client.top, colors.GradientTop),
                    Vertex(client.right, client.bottom, colors.GradientBottom)};
  GRADIENT_RECT g{0, 1};
  ::GradientFill(DC, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
  TBrushHandle frame(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colors.Frame))));
  ::FrameRect(DC, &client, frame.Get());
  const String text = TooltipText(Tooltip);
  // The text where the tooltip itself puts it.
  RECT r = client;
  ::SendMessageW(Tooltip, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Tooltip, WM_GETFONT, 0, 0));
  if (font != nullptr) ::SelectObject(DC, font);
  ::SetBkMode(DC, TRANSPARENT);
  ::SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(colors.Text)));
  ::DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &r, DT_NOPREFIX | DT_WORDBREAK);
}
