// TkaFormStyleHook: border sizes, the non-client size, hit testing, the window region, the
// first showing and the window messages around activation, sizing and the system commands.
// The non-client mouse is in FormStyleHookMouse.cpp, the painting in FormStyleHookPaint.cpp.
#include "lib/kaStyledForm/FormStyleHook.h"

#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/MainMenu.h"
#include "lib/kaStyledForm/MainMenuBarStyleHook.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

TThemedElementDetails Details(TThemedWindow W) { return TCustomStyleServices::GetElementDetails(W); }

// The custom style that paints the form; nullptr when the form is drawn by the system.
TCustomStyleServices* FormStyle(const TCustomForm* Form) {
  TCustomStyleServices* s = StyleServices(Form);
  return s != nullptr && s->Enabled() && !s->IsSystemStyle() ? s : nullptr;
}

int MetricAt(int Index, int DPI) { return ::GetSystemMetricsForDpi(Index, static_cast<UINT>(DPI)); }

int WindowDPI(HWND Wnd) {
  const UINT dpi = Wnd != nullptr ? ::GetDpiForWindow(Wnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : 96;
}

// The cut of one side: how far the window starts outside the work area, else outside the
// monitor, when that is under 100 pixels. Outward is the direction in which Edge lies past
// the area's edge (−1 for the top and left sides, +1 for the right and bottom).
int SideCut(int Edge, int WA, int MB, int Outward) {
  const int overWA = (Edge - WA) * Outward, overMB = (Edge - MB) * Outward;
  if (overWA > 0 && overWA < 100) return overWA;
  if (overMB > 0 && overMB < 100) return overMB;
  return 0;
}

}  // namespace

TkaFormStyleHook::TkaFormStyleHook(TCustomForm* AForm) : TMouseTrackControlStyleHook(AForm), FForm(AForm) {
  SetOverrideEraseBkgnd(AForm->StyleElements().Contains(seClient));
  SetOverridePaintNC(HasStyledBorder());
  FLeft = AForm->Left();
  FTop = AForm->Top();
  FWidth = AForm->Width();
  FHeight = AForm->Height();
}

// Out of line: the menu bar's type is complete here.
TkaFormStyleHook::~TkaFormStyleHook() = default;

bool TkaFormStyleHook::HasStyledBorder() const {
  return FormStyle(FForm) != nullptr && FForm->StyleElements().Contains(seBorder);
}

TkaStyledForm* TkaFormStyleHook::StyledForm() {
  if (FStyledForm != nullptr) return FStyledForm;
  for (int i = 0; i < FForm->ComponentCount(); ++i)
    if (auto* s = dynamic_cast<TkaStyledForm*>(FForm->Components(i))) return FStyledForm = s;
  return nullptr;
}

double TkaFormStyleHook::Scale() {
  TkaStyledForm* s = StyledForm();
  return s != nullptr ? s->FScaleFactor : 1.0;
}

bool TkaFormStyleHook::IsToolWindow() const {
  return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin;
}

bool TkaFormStyleHook::IsMaximized() const { return Handle() != nullptr && ::IsZoomed(Handle()); }
bool TkaFormStyleHook::IsMinimized() const { return Handle() != nullptr && ::IsIconic(Handle()); }

bool TkaFormStyleHook::ShowsCaptionItems() {
  TkaStyledForm* s = StyledForm();
  return s != nullptr && (s->ShowButtons() || s->ShowTabs()) && !IsMinimized();
}

TPoint TkaFormStyleHook::ToWindow(LPARAM ScreenPoint) const {
  RECT w{};
  ::GetWindowRect(Handle(), &w);
  return TPoint(static_cast<short>(LOWORD(ScreenPoint)) - w.left, static_cast<short>(HIWORD(ScreenPoint)) - w.top);
}

// ---- Sizes -------------------------------------------------------------------------------

TRect TkaFormStyleHook::GetBorderSize() {
  TRect m(0, 0, 0, 0);
  TCustomStyleServices* s = FormStyle(FForm);
  if (FForm->BorderStyle() == bsNone || s == nullptr) return m;
  const bool tool = IsToolWindow();
  TSize size;
  s->GetElementSize(nullptr, Details(tool ? twSmallCaptionActive : twCaptionActive), esActual, size);
  FStyledCaptionHeight = size.cy;
  const double scale = Scale();
  m.Top = StyledForm() != nullptr && scale > 1 ? Round(size.cy * scale) : size.cy;
  s->GetElementSize(nullptr, Details(tool ? twSmallFrameLeftActive : twFrameLeftActive), esActual, size);
  m.Left = size.cx;
  s->GetElementSize(nullptr, Details(tool ? twSmallFrameRightActive : twFrameRightActive), esActual, size);
  m.Right = size.cx;
  s->GetElementSize(nullptr, Details(tool ? twSmallFrameBottomActive : twFrameBottomActive), esActual, size);
  m.Bottom = size.cy;
  FXOffset = FYOffset = 0;
  if (FForm->ComponentState().Contains(csDesigning) || !IsMaximized()) return m;

  // A maximised window hangs over the monitor by its frame: the caption moves down and the
  // edges widen by what is hidden.
  const int dpi = WindowDPI(Handle());
  const bool sizeable = FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
  int a = MetricAt(sizeable ? SM_CXFRAME : SM_CXDLGFRAME, dpi);
  int b = MetricAt(sizeable ? SM_CYFRAME : SM_CYDLGFRAME, dpi);
  int c = MetricAt(SM_CYCAPTION, dpi);
  if (TStyleManager::SystemStyle()->Enabled()) {
    const int p = FForm->PixelsPerInch();
    b = Round(p * 5.0 / 96 + 0.01) + 3;
    a = b;
    c = ::MulDiv(c, p, Screen != nullptr ? Screen->PixelsPerInch() : 96);
  }
  m.Left = std::max(m.Left, a);
  m.Right = std::max(m.Right, a);
  m.Bottom = std::max(m.Bottom, b);
  if (IsMDIChild()) {
    m.Top = b + c;
  } else {
    m.Top += b - 1;
    FYOffset = std::max(0, b - 1);
    FXOffset = a;
  }
  return m;
}

bool TkaFormStyleHook::WMNCCalcSize(TMessage& Message) {
  UpdateMenuBar();
  const bool bordered = FForm->BorderStyle() != bsNone;
  if (Message.LParam == 0 || (!bordered && !FMainMenuBarHook)) {
    // A borderless MDI child keeps its rectangle as it is.
    if (!bordered && IsMDIChild() && !IsMaximized() && Message.WParam != 0) {
      Message.Result = 0;
      return true;
    }
    return false;
  }
  // Both forms of the message start with the proposed window rectangle; the one without
  // valid rectangles comes while the window is made, and answering it too keeps the first
  // client size the same as every later one.
  RECT& r = *reinterpret_cast<RECT*>(Message.LParam);
  const TRect m = GetBorderSize();
  int menuHeight = 0;
  if (FMainMenuBarHook) {
    menuHeight = FMainMenuBarHook->GetMenuHeight(FWidth - m.Left - m.Right);
    FMainMenuBarHook->SetBoundsRect(TRect(m.Left, m.Top, FWidth - m.Right, m.Top + menuHeight));
  }
  r.left += m.Left;
  r.top += m.Top + menuHeight;
  r.right -= m.Right;
  r.bottom -= m.Bottom;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  Message.Result = 0;
  return true;
}

void TkaFormStyleHook::UpdateMenuBar() {
  if (IsMDIChild()) {
    FMainMenuBarHook.reset();
    return;
  }
  TMainMenu* menu = FormMainMenu(FForm);
  const bool wanted = menu != nullptr && !menu->AutoMerge() && menu->Items()->Count() > 0;
  if (wanted && !FMainMenuBarHook) FMainMenuBarHook = std::make_unique<TkaMainMenuBarStyleHook>(this);
  if (!wanted) FMainMenuBarHook.reset();
}

// ---- Hit testing ---------------------------------------------------------------------------

int TkaFormStyleHook::HitTestAt(TPoint P) {
  const bool menuHit = FMainMenuBarHook && FMainMenuBarHook->BoundsRect().Contains(P);
  if (FForm->BorderStyle() == bsNone) return menuHit ? HTMENU : HTCLIENT;
  const TRect m = GetBorderSize();
  const int t = m.Left;
  TRect c = FCaptionRect;
  c.Top = m.Left;
  if (menuHit) {
    TRect bar = FMainMenuBarHook->BoundsRect();
    bar.Bottom = std::min(bar.Bottom, FHeight - m.Bottom);
    if (bar.Contains(P)) return HTMENU;
  } else {
    const std::pair<const TRect*, int> parts[] = {{&c, HTCAPTION},          {&FCloseButtonRect, HTCLOSE},
                                                  {&FMaxButtonRect, HTMAXBUTTON}, {&FMinButtonRect, HTMINBUTTON},
                                                  {&FHelpButtonRect, HTHELP},     {&FSysMenuButtonRect, HTSYSMENU}};
    for (const auto& part : parts)
      if (part.first->Contains(P)) return part.second;
  }
  if (ShowsCaptionItems() && StyledForm()->FindNCObject(P) != nullptr) return HTCAPTION;
  if (IsMaximized() || IsMinimized()) return HTCLIENT;
  const int w = FWidth, h = FHeight;
  switch (FForm->BorderStyle()) {
    case bsSingle: case bsDialog: case bsToolWindow:
      return TRect(m.Left, t, w - m.Right, h - m.Bottom).Contains(P) ? HTCLIENT : HTBORDER;
    default: break;
  }
  const std::pair<TRect, int> zones[] = {
      {TRect(0, 0, m.Left, t), HTTOPLEFT},
      {TRect(w - m.Right, 0, w, t), HTTOPRIGHT},
      {TRect(0, h - m.Bottom, m.Left, h), HTBOTTOMLEFT},
      {TRect(w - m.Right, h - m.Bottom, w, h), HTBOTTOMRIGHT},
      {TRect(0, t, m.Left, h - m.Bottom), HTLEFT},
      {TRect(w - m.Right, t, w, h - m.Bottom), HTRIGHT},
      {TRect(m.Left, h - m.Bottom, w - m.Right, h), HTBOTTOM},
      {TRect(m.Left, 0, w - m.Right, t), HTTOP}};
  for (const auto& zone : zones)
    if (zone.first.Contains(P)) return zone.second;
  return HTCLIENT;
}

bool TkaFormStyleHook::WMNCHitTest(TMessage& Message) {
  const TPoint p = ToWindow(Message.LParam);
  int result = HitTestAt(p);
  if (TkaStyledForm* s = StyledForm(); s != nullptr && s->OnHitTest) s->OnHitTest(p, result);
  Message.Result = result;
  return true;
}

// ---- Region --------------------------------------------------------------------------------

TRect TkaFormStyleHook::MaximizedOverhang(const TRect& Window, const TRect& WA, const TRect& MB) {
  TRect cut;
  if (WA.Top != MB.Top && WA.Top > 0 && Window.Top < 0 && Window.Top > -100)
    cut.Top = -Window.Top;
  else
    cut.Top = SideCut(Window.Top, WA.Top, MB.Top, -1);
  if (WA.Left != MB.Left && WA.Left > 0 && Window.Left < 0 && Window.Left > -100)
    cut.Left = -Window.Left;
  else
    cut.Left = SideCut(Window.Left, WA.Left, MB.Left, -1);
  cut.Right = SideCut(Window.Right, WA.Right, MB.Right, 1);
  cut.Bottom = SideCut(Window.Bottom, WA.Bottom, MB.Bottom, 1);
  return cut;
}

HRGN TkaFormStyleHook::GetFrameRegion() {
  TCustomStyleServices* s = FormStyle(FForm);
  if (s == nullptr) return nullptr;
  HRGN region = nullptr;
  s->GetElementRegion(Details(IsToolWindow() ? twSmallCaptionActive : twCaptionActive), TRect(0, 0, FWidth, FHeight),
                      region);
  if (!IsMaximized() || FForm->BorderStyle() == bsNone || IsMDIChild()) return region;
  const TRect window = Bounds(FLeft, FTop, FWidth, FHeight);
  MONITORINFO mi{sizeof(mi)};
  const POINT centre{FLeft + FWidth / 2, FTop + FHeight / 2};
  if (!::GetMonitorInfoW(::MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), &mi)) return region;
  const TRect cut = MaximizedOverhang(window, mi.rcWork, mi.rcMonitor);
  if (cut == TRect()) return region;
  if (region != nullptr) ::DeleteObject(region);
  return ::CreateRectRgn(cut.Left, cut.Top, FWidth - cut.Right, FHeight - cut.Bottom);
}

void TkaFormStyleHook::SetRegion(HRGN Region) {
  // The window owns the region once it is set.
  FRegion = Region;
  if (::SetWindowRgn(Handle(), Region, TRUE) == 0 && Region != nullptr) {
    // Refused (the window is going): the region is still ours.
    ::DeleteObject(Region);
    FRegion = nullptr;
  }
}

void TkaFormStyleHook::UpdateRegion() {
  if (Handle() == nullptr) return;
  FChangeSizeCalled = true;
  const TRect m = GetBorderSize();
  if (IsMinimized()) FHeight = m.Top + m.Bottom;
  if (FForm->BorderStyle() == bsNone) {
    TkaStyledForm* s = StyledForm();
    if (s == nullptr || !s->DWMClientShadow()) {
      if (IsMDIChild() && !IsMaximized())
        SetRegion(::CreateRectRgn(0, 0, FWidth, FHeight));
      else if (FRegion != nullptr)
        SetRegion(nullptr);
    }
  } else {
    SetRegion(GetFrameRegion());
  }
  FChangeSizeCalled = false;
}

bool TkaFormStyleHook::WMWindowPosChanging(TMessage& Message) {
  CallDefaultProc(Message);
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (pos != nullptr && FNeedsUpdate && (pos->flags & SWP_SHOWWINDOW) != 0) FirstShowing();
  if (!HasStyledBorder() || pos == nullptr || FChangeSizeCalled) return true;
  bool changed = (pos->flags & SWP_FRAMECHANGED) != 0;
  if ((pos->flags & SWP_NOMOVE) == 0) {
    FLeft = pos->x;
    FTop = pos->y;
  }
  if ((pos->flags & SWP_NOSIZE) == 0) {
    changed = changed || pos->cx != FWidth || pos->cy != FHeight;
    FWidth = pos->cx;
    FHeight = pos->cy;
  }
  if (changed) {
    UpdateRegion();
    if (FForm->BorderStyle() != bsNone) InvalidateNC();
  }
  return true;
}

void TkaFormStyleHook::WMWindowPosChanged(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (pos == nullptr || !IsMaximized() || !HasStyledBorder()) return;
  if ((pos->flags & SWP_NOMOVE) == 0) {
    FLeft = pos->x;
    FTop = pos->y;
  }
  if ((pos->flags & SWP_NOSIZE) == 0) {
    FWidth = pos->cx;
    FHeight = pos->cy;
  }
}

// ---- Showing and activation ------------------------------------------------------------------

void TkaFormStyleHook::FirstShowing() {
  FNeedsUpdate = false;
  HWND h = Handle();
  if (h == nullptr || !HasStyledBorder() || TStyleManager::SystemStyle()->Enabled() || IsMDIChild()) return;
  const LONG style = ::GetWindowLongW(h, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION) return;
  // Without the system's themed frame, the default handling of activation, text and
  // mouse messages would draw its own caption over ours: the caption is emulated.
  FCaptionEmulation = true;
  ::SetWindowLongW(h, GWL_STYLE, style & ~WS_CAPTION);
}

bool TkaFormStyleHook::WMShowWindow(TMessage& Message) {
  const bool first = Message.WParam != 0 && FNeedsUpdate;
  if (first) FirstShowing();
  CallDefaultProc(Message);
  if (first && HasStyledBorder() && FForm->BorderStyle() != bsNone && Handle() != nullptr)
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

bool TkaFormStyleHook::WMNCActivate(TMessage& Message) {
  FFormActive = Message.WParam != 0;
  if (TkaStyledForm* s = StyledForm(); s != nullptr && FActiveNCObject != nullptr && s->IsNCObjectListed(FActiveNCObject))
    FActiveNCObject->ClearMouseIn();
  if (FMainMenuBarHook) FMainMenuBarHook->ExitMenuLoop();
  if (IsMDIChild())
    CallDefaultProc(Message);
  else
    Message.Result = 1;
  if (FForm->BorderStyle() != bsNone && !(IsMDIChild() && IsMaximized())) InvalidateNC();
  return true;
}

bool TkaFormStyleHook::WMGetMinMaxInfo(TMessage& Message) {
  CallDefaultProc(Message);
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  const TRect m = GetBorderSize();
  if (info != nullptr && FForm->Constraints()->MinHeight() < m.Top + m.Bottom)
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, m.Top + m.Bottom);
  return true;
}

bool TkaFormStyleHook::WMSysCommand(TMessage& Message) {
  const UINT command = static_cast<UINT>(Message.WParam & 0xFFF0);
  if (command == SC_KEYMENU && FMainMenuBarHook) {
    if (Message.LParam == VK_SPACE)
      FMainMenuBarHook->TrackSystemMenu();
    else if (Message.LParam == 0 || !FMainMenuBarHook->CheckHotKeyItem(static_cast<WORD>(Message.LParam)))
      FMainMenuBarHook->MenuEnter(false);
    Message.Result = 0;
    return true;
  }
  return false;
}

bool TkaFormStyleHook::WMMenuChar(TMessage& Message) {
  // Alt+key: the painted menu bar offers its items' accelerators.
  const bool alt = (Message.LParam & 0x20000000) != 0 || ::GetKeyState(VK_MENU) < 0;
  if (!FMainMenuBarHook || !alt) return false;
  if (!FMainMenuBarHook->CheckHotKeyItem(static_cast<WORD>(Message.WParam))) return false;
  Message.Result = 1;
  return true;
}

// ---- Dispatch --------------------------------------------------------------------------------

bool TkaFormStyleHook::WndProc(TMessage& Message) {
  // Whatever the border says.
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      CallDefaultProc(Message);
      WMWindowPosChanged(Message);
      return true;
    case WM_SIZE:
      CallDefaultProc(Message);
      if (IsMinimized() && HasStyledBorder() && Application != nullptr && Application->MainForm() != FForm)
        InvalidateNC();
      return true;
    case WM_ERASEBKGND:
      SetOverrideEraseBkgnd(FForm->StyleElements().Contains(seClient) && FormStyle(FForm) != nullptr);
      return inherited::WndProc(Message);
    default:
      break;
  }
  const bool styled = HasStyledBorder();
  SetOverridePaintNC(styled);
  if (!styled) return inherited::WndProc(Message);
  switch (Message.Msg) {
    case WM_NCCALCSIZE: return WMNCCalcSize(Message);
    case WM_NCHITTEST: return WMNCHitTest(Message);
    case WM_WINDOWPOSCHANGING: return WMWindowPosChanging(Message);
    case WM_SHOWWINDOW: return WMShowWindow(Message);
    case WM_NCACTIVATE: return WMNCActivate(Message);
    case WM_ACTIVATE:
      CallDefaultProc(Message);
      FFormActive = LOWORD(Message.WParam) != WA_INACTIVE;
      return true;
    case 0x00AE:  // WM_NCUAHDRAWCAPTION: the system would draw its caption
      InvalidateNC();
      Message.Result = 0;
      return true;
    case WM_SETTEXT:
      CallDefaultProc(Message);
      InvalidateNC();
      return true;
    case WM_GETMINMAXINFO: return WMGetMinMaxInfo(Message);
    case WM_SYSCOMMAND: return WMSysCommand(Message);
    case CM_DIALOGCHAR: return WMMenuChar(Message);
    case WM_NCMOUSEMOVE:
      inherited::WndProc(Message);
      return WMNCMouseMove(Message);
    case WM_NCLBUTTONDOWN: return WMNCLButtonDown(Message);
    case WM_NCLBUTTONUP: return WMNCLButtonUp(Message);
    case WM_NCLBUTTONDBLCLK: return WMNCLButtonDblClk(Message);
    case WM_NCRBUTTONDOWN: return WMNCRButtonDown(Message);
    case WM_NCRBUTTONUP: return WMNCRButtonUp(Message);
    default: return inherited::WndProc(Message);
  }
}

// ---- System buttons --------------------------------------------------------------------------

void TkaFormStyleHook::Close() {
  if (Handle() == nullptr) return;
  FPressedButton = FHotButton = 0;
  ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TkaFormStyleHook::Help() {
  if (Handle() != nullptr) ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
}

void TkaFormStyleHook::Maximize() {
  if (Handle() == nullptr) return;
  FPressedButton = FHotButton = 0;
  ::SendMessageW(Handle(), WM_SYSCOMMAND, IsMaximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void TkaFormStyleHook::Minimize() {
  if (Handle() == nullptr) return;
  FPressedButton = FHotButton = 0;
  ::SendMessageW(Handle(), WM_SYSCOMMAND, IsMinimized() ? SC_RESTORE : SC_MINIMIZE, 0);
}

void TkaFormStyleHook::Restore() {
  if (Handle() == nullptr) return;
  FPressedButton = FHotButton = 0;
  ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
}
