// The popup-menu hook: the menu window painted in the custom style, and kept painted while
// the platform's menu loop moves the hot item.
//
// The platform measures the items, tracks the pointer and the keys and hit-tests; it also
// draws an item itself whenever the hot item changes, straight into the window's DC and
// without a message the hook could answer (Wine's menu loop always does so; Windows does so
// inside its private messages MN_SELECTITEM and friends). So the hook repaints the whole
// menu after each change: around the private messages with the window's drawing held back,
// and for the loop's own changes from a message filter of the menu loop that compares the
// item the platform shows hot with the one painted last.
#include <algorithm>
#include <set>
#include <vector>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaStyleManager/kaStyleManager.h"
#include "lib/kaStyleManager/kaSysStyleHooks.h"

namespace {

// ---- The hooks alive and the menu loop's filter ----------------------------------------------

// Hooks of this thread's menu windows; the filter of the menu loop lives while there are any.
struct TLiveHooks {
  std::set<TkaSysPopupStyleHook*> Hooks;
  HHOOK Filter = nullptr;
};
TLiveHooks& Live() {
  // Never destroyed: menu windows may go while the process ends.
  static auto* live = new TLiveHooks();
  return *live;
}

// Posted to a menu window after an input message of the menu loop, so that the loop's
// change of the hot item is looked at once the loop has made it.
UINT HotItemCheckMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Karvo.MenuHotItemCheck");
  return message;
}

bool IsInput(UINT Msg) {
  return (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) || (Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) ||
         (Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCXBUTTONDBLCLK);
}

LRESULT CALLBACK MenuLoopFilter(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == MSGF_MENU && LParam != 0) {
    // A copy: repainting never frees hooks, but the set must not change under the loop.
    const std::vector<TkaSysPopupStyleHook*> hooks(Live().Hooks.begin(), Live().Hooks.end());
    HWND visible = nullptr;
    for (TkaSysPopupStyleHook* hook : hooks) {
      hook->SyncHotItem();
      if (visible == nullptr && ::IsWindowVisible(hook->Handle())) visible = hook->Handle();
    }
    const auto* msg = reinterpret_cast<const MSG*>(LParam);
    if (visible != nullptr && IsInput(msg->message)) ::PostMessageW(visible, HotItemCheckMessage(), 0, 0);
  }
  return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

void AddLiveHook(TkaSysPopupStyleHook* Hook) {
  TLiveHooks& live = Live();
  live.Hooks.insert(Hook);
  if (live.Filter == nullptr)
    live.Filter = ::SetWindowsHookExW(WH_MSGFILTER, MenuLoopFilter, nullptr, ::GetCurrentThreadId());
}

void RemoveLiveHook(TkaSysPopupStyleHook* Hook) {
  TLiveHooks& live = Live();
  live.Hooks.erase(Hook);
  if (live.Hooks.empty() && live.Filter != nullptr) {
    ::UnhookWindowsHookEx(live.Filter);
    live.Filter = nullptr;
  }
}

// Holds the menu window's drawing back for one scope: WM_SETREDRAW where the window keeps
// its image meanwhile, LockWindowUpdate otherwise.
class TRedrawSuspension {
 public:
  TRedrawSuspension(HWND Wnd, bool UseSetRedraw) : FWnd(Wnd), FSetRedraw(UseSetRedraw) {
    if (FWnd == nullptr || !::IsWindowVisible(FWnd)) {
      FWnd = nullptr;
      return;
    }
    if (FSetRedraw)
      ::SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0);
    else if (::LockWindowUpdate(FWnd) == FALSE)
      FWnd = nullptr;
  }
  ~TRedrawSuspension() {
    if (FWnd == nullptr) return;
    if (FSetRedraw)
      ::SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
    else
      ::LockWindowUpdate(nullptr);
  }
  TRedrawSuspension(const TRedrawSuspension&) = delete;
  TRedrawSuspension& operator=(const TRedrawSuspension&) = delete;

 private:
  HWND FWnd;
  bool FSetRedraw;
};

// A canvas bound to a DC for one scope; unbinding gives the DC its objects back.
class TBoundCanvas {
 public:
  explicit TBoundCanvas(HDC DC) { FCanvas.SetHandle(DC); }
  ~TBoundCanvas() { FCanvas.SetHandle(nullptr); }
  TBoundCanvas(const TBoundCanvas&) = delete;
  TBoundCanvas& operator=(const TBoundCanvas&) = delete;
  TCanvas* Get() { return &FCanvas; }

 private:
  TCanvas FCanvas;
};

// ---- What the menu is drawn with -------------------------------------------------------------

int ScreenPPI() { return Screen != nullptr ? Screen->PixelsPerInch() : 96; }

// GetDpiForWindow where the window follows its monitor's DPI, else the screen's.
int MenuDPI(HWND Wnd) {
  if (Wnd != nullptr) {
    const DPI_AWARENESS_CONTEXT context = ::GetWindowDpiAwarenessContext(Wnd);
    if (context != nullptr && ::GetAwarenessFromDpiAwarenessContext(context) == DPI_AWARENESS_PER_MONITOR_AWARE) {
      const UINT dpi = ::GetDpiForWindow(Wnd);
      if (dpi != 0) return static_cast<int>(dpi);
    }
  }
  return ScreenPPI();
}

// The screen's menu font, its height scaled from the screen's DPI to the menu's.
TFontHandle MenuFont(int DPI, bool Bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE)
    font = metrics.lfMenuFont;
  else
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  font.lfHeight = ::MulDiv(font.lfHeight, DPI, ScreenPPI());
  if (Bold) font.lfWeight = FW_BOLD;
  return TFontHandle(::CreateFontIndirectW(&font));
}

// The colours and fonts of one painting.
struct TMenuLook {
  TCustomStyleServices* Style;
  int DPI;
  double Scale;
  TFontHandle Font, BoldFont;
  TColor Text, HotText, DisabledText, HeaderText, Check, DisabledCheck, Highlight, HighlightText, HotFill;
  bool ShowPrefixes;

  explicit TMenuLook(HWND Wnd)
      : Style(StyleServices()), DPI(MenuDPI(Wnd)), Scale(DPI / 96.0), Font(MenuFont(DPI, false)),
        BoldFont(MenuFont(DPI, true)) {
    Text = Style->ColorToRGB(Style->GetStyleFontColor(sfPopupMenuItemTextNormal));
    HotText = Style->ColorToRGB(Style->GetStyleFontColor(sfPopupMenuItemTextHot));
    DisabledText = Style->ColorToRGB(Style->GetStyleFontColor(sfPopupMenuItemTextDisabled));
    HeaderText = Style->ColorToRGB(Style->GetStyleFontColor(sfHeaderSectionTextNormal));
    Check = ElementColor(tmPopupCheckNormal, ecTextColor, Text);
    DisabledCheck = ElementColor(tmPopupCheckDisabled, ecTextColor, DisabledText);
    Highlight = Style->ColorToRGB(clHighlight);
    HighlightText = Style->ColorToRGB(clHighlightText);
    HotFill = ElementColor(tmPopupItemHot, ecFillColor, Highlight);
    BOOL cues = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    ShowPrefixes = cues != FALSE;
  }
  TColor ElementColor(TThemedMenu Element, TElementColor Which, TColor Default) const {
    TColor color = Default;
    if (!Style->GetElementColor(TCustomStyleServices::GetElementDetails(Element), Which, color) || color == clNone)
      return Default;
    return Style->ColorToRGB(color);
  }
  int Px(int Value) const { return Round(Value * Scale); }
};

void DrawMenuElement(HDC DC, const TMenuLook& Look, TThemedMenu Element, const TRect& R) {
  Look.Style->DrawElement(DC, TCustomStyleServices::GetElementDetails(Element), R, nullptr, Look.DPI);
}

void FillSolid(HDC DC, const TRect& R, TColor Color) {
  TBrushHandle brush(::CreateSolidBrush(static_cast<COLORREF>(Color)));
  ::FillRect(DC, R.AsRECT(), brush.Get());
}

// Color over what R shows, at Alpha of 255.
void FillBlended(HDC DC, const TRect& R, TColor Color, BYTE Alpha) {
  TMemoryDC dot = TMemoryDC::CreateCompatible(DC);
  TBitmapHandle bitmap(::CreateCompatibleBitmap(DC, 1, 1));
  if (!dot || !bitmap) return;
  TSelectObject selected(dot.Get(), bitmap.Get());
  ::SetPixelV(dot.Get(), 0, 0, static_cast<COLORREF>(Color));
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, 0};
  ::GdiAlphaBlend(DC, R.Left, R.Top, R.Width(), R.Height(), dot.Get(), 0, 0, 1, 1, blend);
}

void DrawMenuPicture(TCanvas* Canvas, int Index, const TRect& R, double Scale) {
  if (kaMenuImages == nullptr || Index < 0 || Index >= kaMenuImages->Count()) return;
  kaMenuImages->Draw(Canvas, R, Index, Scale);
}

// Where an item's text starts: after 1.3 times the item's height (the column of marks and
// pictures).
int TextOffset(const TRect& Item) { return Round(Item.Height() * 1.3); }

// The width of the submenu arrow's column.
int ArrowWidth(const TMenuLook& Look) { return Look.Px(16); }

void DrawItemText(HDC DC, const TMenuLook& Look, const String& Text, TRect R, TColor Color, bool Bold, UINT Align) {
  if (Text.empty()) return;
  TDCStateSaver saved(DC);
  ::SelectObject(DC, Bold ? Look.BoldFont.Get() : Look.Font.Get());
  ::SetBkMode(DC, TRANSPARENT);
  ::SetTextColor(DC, static_cast<COLORREF>(Color));
  const UINT prefix = Look.ShowPrefixes ? 0 : DT_HIDEPREFIX;
  ::DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), R.AsRECT(),
              Align | prefix | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

// The item's own bitmap (not the platform's stock pictures), 4 pixels from its edge and
// centred vertically. True when there was one.
bool DrawItemBitmap(HDC DC, const TMenuLook& Look, HBITMAP Bitmap, const TRect& Item) {
  const auto value = reinterpret_cast<intptr_t>(Bitmap);
  if (Bitmap == nullptr || value == reinterpret_cast<intptr_t>(HBMMENU_CALLBACK) ||
      value <= reinterpret_cast<intptr_t>(HBMMENU_POPUP_MINIMIZE))
    return false;
  BITMAP info{};
  if (::GetObjectW(Bitmap, sizeof(info), &info) == 0) return false;
  TMemoryDC source = TMemoryDC::CreateCompatible(DC);
  if (!source) return false;
  TSelectObject selected(source.Get(), Bitmap);
  const int x = Item.Left + Look.Px(4), y = Item.Top + (Item.Height() - info.bmHeight) / 2;
  if (info.bmBitsPixel == 32) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(DC, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, info.bmWidth, info.bmHeight, blend);
  } else {
    ::BitBlt(DC, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
  }
  return true;
}

// The item's face; answers the colour of its text.
TColor PaintItemFace(HDC DC, const TMenuLook& Look, const TRect& R, bool Hot, bool Disabled) {
  if (!Hot) {
    DrawMenuElement(DC, Look, Disabled ? tmPopupItemDisabled : tmPopupItemNormal, R);
    return Disabled ? Look.DisabledText : Look.Text;
  }
  const bool color = kaMenuSelectionStyle == kamssColor;
  if (Disabled) {
    FillBlended(DC, R, color ? Look.Highlight : Look.HotFill, 50);
    return Look.DisabledText;
  }
  if (color) {
    FillSolid(DC, R, Look.Highlight);
    return Look.HighlightText;
  }
  DrawMenuElement(DC, Look, tmPopupItemHot, R);
  return Look.HotText;
}

void PaintHeader(HDC DC, const TMenuLook& Look, const TRect& R, const String& Header) {
  // The header section's face without its dividers, across the whole item.
  TColor fill = clNone;
  if (Look.Style->GetElementColor(TCustomStyleServices::GetElementDetails(tgFixedCellNormal), ecFillColor, fill) &&
      fill != clNone)
    FillSolid(DC, R, Look.Style->ColorToRGB(fill));
  TRect text = R;
  text.Left += TextOffset(R);
  TDCStateSaver saved(DC);
  ::SelectObject(DC, Look.Font.Get());
  ::SetBkMode(DC, TRANSPARENT);
  ::SetTextColor(DC, static_cast<COLORREF>(Look.HeaderText));
  ::DrawTextW(DC, Header.c_str(), static_cast<int>(Header.size()), text.AsRECT(),
              DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void PaintItem(HDC DC, TCanvas* Canvas, const TMenuLook& Look, const TkaSysPopupItem& Item) {
  const TRect r = Item.ClientItemRect();
  if (r.IsEmpty()) return;
  if (Item.Separator()) {
    DrawMenuElement(DC, Look, tmPopupSeparator, TRect(r.Left + 2, r.Top, r.Right - 2, r.Bottom));
    return;
  }
  const bool disabled = Item.Disabled();
  const String caption = Item.Text();
  String header;
  if (MenuHeaderText(caption, disabled, header)) {
    PaintHeader(DC, Look, r, header);
    return;
  }
  const TColor text = PaintItemFace(DC, Look, r, Item.Hot(), disabled);
  const TRect marks(r.Left, r.Top, r.Left + TextOffset(r), r.Bottom);
  if (!DrawItemBitmap(DC, Look, Item.Bitmap(), r) && Item.Checked()) {
    const TColor mark = disabled ? Look.DisabledCheck : Look.Check;
    if (Item.RadioCheck())
      DrawRadioMark(Canvas, marks, mark, Look.Scale);
    else
      DrawCheckMark(Canvas, marks, mark, Look.Scale);
  }
  TRect label(marks.Right, r.Top, r.Right - Look.Px(14), r.Bottom);
  if (Item.HasSubMenu()) {
    const TRect arrow(r.Right - ArrowWidth(Look) - Look.Px(4), r.Top, r.Right - Look.Px(4), r.Bottom);
    DrawSubmenuArrow(Canvas, arrow, text, Look.Scale, Item.RightToLeft());
    label.Right = std::min(label.Right, arrow.Left);
  }
  const size_t tab = caption.find(L'\t');
  DrawItemText(DC, Look, caption.substr(0, tab), label, text, Item.DefaultItem(), DT_LEFT);
  if (tab != String::npos) DrawItemText(DC, Look, caption.substr(tab + 1), label, text, false, DT_RIGHT);
}

// The window has a border of its own outside the client area.
bool HasFrame(HWND Wnd) {
  RECT window{}, client{};
  ::GetWindowRect(Wnd, &window);
  ::GetClientRect(Wnd, &client);
  return window.right - window.left > client.right || window.bottom - window.top > client.bottom;
}

// The border outside the client area in the style's menu frame colour.
void PaintFrame(HWND Wnd, HDC DC) {
  RECT window{};
  ::GetWindowRect(Wnd, &window);
  const TRect whole(0, 0, window.right - window.left, window.bottom - window.top);
  POINT origin{0, 0};
  ::ClientToScreen(Wnd, &origin);
  RECT client{};
  ::GetClientRect(Wnd, &client);
  const int left = origin.x - window.left, top = origin.y - window.top;
  TDCStateSaver saved(DC);
  ::ExcludeClipRect(DC, left, top, left + client.right, top + client.bottom);
  TCustomStyleServices* style = StyleServices();
  style->DrawElement(DC, TCustomStyleServices::GetElementDetails(tmPopupBackground), whole);
}

// WM_PRINT: the frame (when the window has one) and the client area at its place in the
// window.
void PrintMenu(TkaSysPopupStyleHook& Hook, HDC DC, LPARAM Flags) {
  const HWND wnd = Hook.Handle();
  if (DC == nullptr || ((Flags & PRF_CHECKVISIBLE) != 0 && !::IsWindowVisible(wnd))) return;
  if ((Flags & PRF_NONCLIENT) != 0 && HasFrame(wnd)) PaintFrame(wnd, DC);
  if ((Flags & PRF_CLIENT) == 0) return;
  POINT origin{0, 0};
  ::ClientToScreen(wnd, &origin);
  RECT window{};
  ::GetWindowRect(wnd, &window);
  TDCStateSaver saved(DC);
  ::OffsetViewportOrgEx(DC, origin.x - window.left, origin.y - window.top, nullptr);
  Hook.PaintMenu(DC);
}

}  // namespace

// ---- The hook --------------------------------------------------------------------------------

TkaSysPopupStyleHook::TkaSysPopupStyleHook(TkaSysWindow* AWindow) : TkaSysStyleHook(AWindow) {
  // Drawing can be held back with WM_SETREDRAW where the compositor (or Windows 8 and later)
  // keeps the menu's image; above 120 DPI that leaves traces, and LockWindowUpdate is used.
  FCanSetRedraw = (IsDwmCompositionActive() || IsWindows8() || IsWindows10OrLater()) &&
                  (Screen == nullptr || Screen->PixelsPerInch() <= 120);
  if (Handle() == nullptr) return;
  Menu();
  AddLiveHook(this);
}

TkaSysPopupStyleHook::~TkaSysPopupStyleHook() { RemoveLiveHook(this); }

HMENU TkaSysPopupStyleHook::Menu() {
  if (FMenu == nullptr && Handle() != nullptr)
    FMenu = reinterpret_cast<HMENU>(::SendMessageW(Handle(), MN_GETHMENU, 0, 0));
  return FMenu;
}

int TkaSysPopupStyleHook::Count() {
  FCount = Menu() != nullptr ? std::max(::GetMenuItemCount(FMenu), 0) : 0;
  return FCount;
}

const TkaSysPopupItem& TkaSysPopupStyleHook::Item(int Index) {
  FSysPopupItem = std::make_unique<TkaSysPopupItem>(Menu(), Index, Handle());
  return *FSysPopupItem;
}

int TkaSysPopupStyleHook::HotItemIndex() {
  const int count = Count();
  for (int i = 0; i < count; ++i)
    if ((::GetMenuState(FMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) return i;
  return -1;
}

void TkaSysPopupStyleHook::PaintMenu(HDC DC) {
  RECT client{};
  if (DC == nullptr || Handle() == nullptr || !::GetClientRect(Handle(), &client)) return;
  const TRect bounds(client);
  if (bounds.IsEmpty()) return;
  TMemoryDC buffer = TMemoryDC::CreateCompatible(DC);
  TBitmapHandle bitmap(::CreateCompatibleBitmap(DC, bounds.Width(), bounds.Height()));
  if (!buffer || !bitmap) return;
  TSelectObject selected(buffer.Get(), bitmap.Get());
  const TMenuLook look(Handle());
  TBoundCanvas canvas(buffer.Get());
  // With a border of its own the window's frame is drawn outside; without one (Wine's menu
  // windows) the background element's frame is the menu's border.
  TRect background = bounds;
  if (HasFrame(Handle())) background.Inflate(3, 3);
  DrawMenuElement(buffer.Get(), look, tmPopupBackground, background);
  DrawMenuPicture(canvas.Get(), kaMenuBackgroundIndex, bounds, look.Scale);
  DrawMenuPicture(canvas.Get(), kaMenuWallpaperIndex, bounds, look.Scale);
  int hot = -1;
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    const TkaSysPopupItem& item = Item(i);
    if (item.Hot()) hot = i;
    PaintItem(buffer.Get(), canvas.Get(), look, item);
  }
  DrawMenuPicture(canvas.Get(), kaMenuBackgroundOverContentIndex, bounds, look.Scale);
  ::BitBlt(DC, 0, 0, bounds.Width(), bounds.Height(), buffer.Get(), 0, 0, SRCCOPY);
  if (hot != FActiveItemIndex) FPreviousHotItemIndex = FActiveItemIndex;
  FActiveItemIndex = hot;
  FItemsPainted = true;
}

void TkaSysPopupStyleHook::Repaint() {
  if (Handle() == nullptr || !::IsWindowVisible(Handle())) return;
  TWindowDC dc(Handle());
  PaintMenu(dc.Get());
}

bool TkaSysPopupStyleHook::SyncHotItem() {
  if (!TStyleManager::IsCustomStyleActive() || !FItemsPainted || Handle() == nullptr) return false;
  if (HotItemIndex() == FActiveItemIndex || !::IsWindowVisible(Handle())) return false;
  Repaint();
  return true;
}

LRESULT TkaSysPopupStyleHook::CallDefault(const TMessage& Message) const {
  // The class's procedure is the platform's menu procedure the engine subclassed.
  const auto proc = reinterpret_cast<WNDPROC>(::GetClassLongPtrW(Handle(), GCLP_WNDPROC));
  if (proc == nullptr) return ::DefWindowProcW(Handle(), Message.Msg, Message.WParam, Message.LParam);
  return ::CallWindowProcW(proc, Handle(), Message.Msg, Message.WParam, Message.LParam);
}

void TkaSysPopupStyleHook::HotItemDefault(TMessage& Message) {
  {
    TRedrawSuspension suspended(Handle(), FCanSetRedraw && !FAlphaBlend);
    Message.Result = CallDefault(Message);
  }
  // Pointer moves mostly leave the hot item as it was.
  if (Message.Msg == kMenuMouseMove)
    SyncHotItem();
  else if (FItemsPainted)
    Repaint();
}

bool TkaSysPopupStyleHook::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      // The painting covers every pixel.
      Message.Result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Handle(), &ps);
      const bool first = !FItemsPainted;
      PaintMenu(dc);
      ::EndPaint(Handle(), &ps);
      if (first) ::PostMessageW(Handle(), kMenuFirstPaint, 0, 0);
      Message.Result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      PaintMenu(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return true;
    case WM_PRINT:
      PrintMenu(*this, reinterpret_cast<HDC>(Message.WParam), Message.LParam);
      Message.Result = 0;
      return true;
    case WM_NCPAINT: {
      if (!HasFrame(Handle())) return false;
      TWindowDC dc(Handle(), ::GetWindowDC(Handle()));
      PaintFrame(Handle(), dc.Get());
      Message.Result = 0;
      return true;
    }
    case kMenuFirstPaint:
      if (!FAlphaBlend) FAlphaBlend = ApplyMenuOpacity(Handle());
      return false;
    case kMenuSelectItem:
    case kMenuSelectFirstValidItem:
    case kMenuButtonDown:
    case kMenuMouseMove:
    case kMenuButtonUp:
    case WM_KEYDOWN:
      HotItemDefault(Message);
      return true;
    default:
      if (Message.Msg != HotItemCheckMessage()) return false;
      SyncHotItem();
      Message.Result = 0;
      return true;
  }
}
