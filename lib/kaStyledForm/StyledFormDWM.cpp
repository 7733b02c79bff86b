// TkaStyledForm, DWM client mode: a borderless form framed by the desktop compositor, with
// maximise, restore and the tear-off drag done by the component, and the resize ring (the
// hit-test window) kept around the form.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/Themes.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

// The frame styles that give a borderless window the compositor's shadow, animations and
// snapping: WS_CAPTION, WS_THICKFRAME and WS_MINIMIZEBOX.
constexpr LONG kDWMClientStyles = 0x00C60000;
constexpr DWORD kDWMWAExcludedFromPeek = 12;
constexpr DWORD kDWMWAWindowCornerPreference = 33;
constexpr int kCornerDefault = 0;
constexpr int kCornerDoNotRound = 1;

}  // namespace

// ---- Switching the mode ---------------------------------------------------------------------

void TkaStyledForm::SetDWMClientShadow(bool Value) {
  if (FDWMClientShadow == Value) return;
  ApplyDWMClientShadow(Value);
  if (!IsDesigningOrLoading()) SyncSnapLayoutButton();
}

void TkaStyledForm::ApplyDWMClientShadow(bool Value) {
  FDWMClientShadow = Value;
  if (Value) {
    if (FForm == nullptr) return;
    FForm->SetBorderStyle(bsNone);
    if (FForm->StyleElements().Contains(seBorder)) FForm->SetStyleElements(FForm->StyleElements() - seBorder);
    if (ComponentState().Contains(csDesigning)) return;
    if (IsWindowsXP())
      FDWMClientShadow = false;
    else
      UpdateDWMClientFrame();
    return;
  }
  if (IsDesigningOrLoading() || IsWindowsXP()) return;
  RemoveDWMClientStyles();
  // The ring only makes sense around a compositor-framed window.
  HideHitTestWnd();
}

void TkaStyledForm::SetDWMClientShadowHitTest(bool Value) {
  if (FDWMClientShadowHitTest == Value) return;
  FDWMClientShadowHitTest = Value;
  if (IsDesigningOrLoading()) return;
  if (Value)
    ShowHitTestWnd();
  else
    HideHitTestWnd();
}

void TkaStyledForm::SetDWMClientRoundedCornersType(TkaDWMRoundedCornersType Value) {
  if (FDWMClientRoundedCornersType == Value) return;
  FDWMClientRoundedCornersType = Value;
  if (IsDesigningOrLoading() || IsDestroying()) return;
  if (IsWindows11() && FForm != nullptr && FDWMClientShadow)
    SetCornerPreference(Value == kaDWMRoundedCornersOff ? kCornerDoNotRound : kCornerDefault);
}

void TkaStyledForm::SetCornerPreference(int Value) {
  HWND h = FormHandle();
  const TDwmSetWindowAttribute set = PlatformBinding().DwmSetWindowAttribute;
  if (h == nullptr || set == nullptr) return;
  const int32_t preference = Value;
  set(h, kDWMWAWindowCornerPreference, &preference, sizeof(preference));
}

void TkaStyledForm::RemoveDWMClientStyles() {
  if (HWND h = FormHandle()) ::SetWindowLongW(h, GWL_STYLE, ::GetWindowLongW(h, GWL_STYLE) & ~kDWMClientStyles);
}

void TkaStyledForm::UpdateDWMClientFrame() {
  HWND h = FormHandle();
  // Without a window there is nothing to frame yet: the window's creation comes back here
  // through its WM_STYLECHANGED.
  if (!FDWMClientShadow || h == nullptr || FUpdatingFrame) return;
  if (!IsDwmCompositionActive()) {
    FDWMClientShadow = false;
    return;
  }
  const TDwmExtendFrameIntoClientArea extend = PlatformBinding().DwmExtendFrameIntoClientArea;
  if (extend == nullptr) return;
  TkaFlagScope updating(FUpdatingFrame);
  const LONG style = ::GetWindowLongW(h, GWL_STYLE);
  if ((style & kDWMClientStyles) != kDWMClientStyles) ::SetWindowLongW(h, GWL_STYLE, style | kDWMClientStyles);
  if (IsFluentUIEnabled() && ApplyFluentAccent()) return;
  if (IsWindows11() && FDWMClientRoundedCornersType == kaDWMRoundedCornersOff) SetCornerPreference(kCornerDoNotRound);
  // One pixel of frame along the top edge is what makes the compositor draw the shadow of a
  // window without a non-client area; a maximised window goes without it. The compositor's
  // own backdrops show only where the frame reaches: there it covers the whole window.
  const MARGINS margins = IsFluentUIEnabled() && IsSystemBackdrop() ? MARGINS{-1, -1, -1, -1}
                                                                    : MARGINS{0, 0, FDWMClientMaximized ? 0 : 1, 0};
  extend(h, &margins);
}

void TkaStyledForm::DWMClientRecreated() {
  if (FDWMClientShadow && FForm->FormStyle() == fsMDIForm) {
    FForm->Realign();
    if (FDWMClientShadowHitTest) {
      HideHitTestWnd();
      ShowHitTestWnd();
    }
  }
  if (IsWindows11() && IsDwmCompositionActive() && FDWMClientRoundedCornersType == kaDWMRoundedCornersOff)
    SetCornerPreference(kCornerDoNotRound);
  // A window made with its final extended style never reports a style change (a form with
  // alpha blending is created layered); it is framed here instead.
  if (FDWMClientShadow && !FStyleChangedWhileRecreating && !IsWindowsXP()) UpdateDWMClientFrame();
}

// ---- Messages -----------------------------------------------------------------------------------

void TkaStyledForm::PinWindowPos(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  HWND h = FormHandle();
  if (pos == nullptr || h == nullptr) return;
  // The window's own rectangle: the form's fields already hold the bounds being asked for
  // when the request comes from SetBounds.
  RECT r;
  ::GetWindowRect(h, &r);
  pos->x = r.left;
  pos->y = r.top;
  pos->cx = r.right - r.left;
  pos->cy = r.bottom - r.top;
}

void TkaStyledForm::SyncMaximizedBounds() {
  HWND h = FormHandle();
  if (h == nullptr) return;
  RECT r;
  ::GetWindowRect(h, &r);
  if (FForm->BoundsRect() == TRect(r)) return;
  // SetBounds stores the bounds it asks for before the window refuses them; the form reads
  // its real bounds back the way it does after a size change made by the system.
  RECT client;
  ::GetClientRect(h, &client);
  TMessage size{WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom), 0};
  CallPrevious(size);
}

void TkaStyledForm::WMWindowPosChangedAfter() {
  if (IsDestroying()) return;
  HWND h = FormHandle();
  if (FDWMClientShadowHitTest && FDWMClientShadow && h != nullptr) {
    if (::IsIconic(h) || !::IsWindowVisible(h) || FDWMClientMaximized) {
      HideHitTestWnd();
    } else if (FDWMHitTestWnd == nullptr || (!FDWMHitTestWnd->Visible() && FForm->Visible())) {
      ShowHitTestWnd();
    }
    if (HitTestWndVisible()) UpdateHitTestWndPosition();
  }
}

void TkaStyledForm::WMEraseBkgndAfter(TMessage& Message) {
  if (!FDWMClientShadow || !IsWindows10() || IsFluentUIEnabled() || FDWMClientMaximized) return;
  if (IsStyleActive() && FForm->StyleElements().Contains(seClient)) return;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return;
  // Covers the one-pixel frame the compositor draws along the top edge on Windows 10.
  TGdiObject<HBRUSH> brush(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FForm->Color()))));
  const RECT line{0, 0, FForm->ClientWidth(), 1};
  ::FillRect(dc, &line, brush.Get());
}

void TkaStyledForm::WMSettingChangeAfter() {
  if (IsWindowsXP()) return;
  if (FDWMClientShadow && !IsDwmCompositionActive()) {
    FWasDWMClientShadow = true;
    FDWMClientShadow = false;
    RemoveDWMClientStyles();
    HideHitTestWnd();
  } else if (FWasDWMClientShadow && IsDwmCompositionActive()) {
    FWasDWMClientShadow = false;
    FDWMClientShadow = true;
    UpdateDWMClientFrame();
    if (FDWMClientShadowHitTest && FForm->Visible()) ShowHitTestWnd();
  }
}

// ---- Maximise and restore ----------------------------------------------------------------------

TkaStyledForm::TMonitorArea TkaStyledForm::MonitorAreaAt(TPoint P) {
  TMonitorArea area;
  HMONITOR monitor = ::MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) return area;
  area.Bounds = TRect(info.rcMonitor);
  area.WorkArea = TRect(info.rcWork);
  area.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  return area;
}

bool TkaStyledForm::TaskbarRect(TRect& R) {
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", L"");
  if (taskbar == nullptr) return false;
  RECT r;
  if (!::GetWindowRect(taskbar, &r)) return false;
  R = TRect(r);
  return true;
}

TPoint TkaStyledForm::CursorPoint() {
  POINT p{0, 0};
  ::GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

TRect TkaStyledForm::GetMaximizeBounds() {
  if (FForm == nullptr) return TRect();
  const TPoint centre(FForm->Left() + FForm->Width() / 2, FForm->Top() + FForm->Height() / 2);
  const TMonitorArea monitor = MonitorAreaAt(centre);
  TRect r = monitor.WorkArea;
  TRect taskbar;
  // A work area as large as the monitor means the taskbar hides itself (or there is none):
  // a two-pixel strip is left at its edge so that the pointer can still reveal it.
  if (r != monitor.Bounds || !monitor.Primary || !TaskbarRect(taskbar) || taskbar.IsEmpty()) return r;
  // The edge is told by the bar's orientation and by which half of the monitor its centre
  // lies in, so a bar at the left or right is not mistaken for one at the top (its top is
  // the monitor's top), and a bar that is sliding out still counts.
  const int barX = taskbar.Left + taskbar.Width() / 2, barY = taskbar.Top + taskbar.Height() / 2;
  const int midX = r.Left + r.Width() / 2, midY = r.Top + r.Height() / 2;
  if (taskbar.Width() >= taskbar.Height()) {
    if (barY >= midY)
      r.Bottom -= 2;
    else
      r.Top += 2;
  } else if (barX < midX) {
    r.Left += 2;
  } else {
    r.Right -= 2;
  }
  return r;
}

void TkaStyledForm::DWMClientMaximize() {
  if (FDWMClientMaximized || FForm == nullptr) return;
  const std::shared_ptr<bool> alive = FAlive;
  {
    TkaFlagScope showing(FHitTestWndShowing);
    DWMClientEndDrag();
    FDWMClientNormalRect = FForm->BoundsRect();
    FForm->SetBoundsRect(GetMaximizeBounds());
    FDWMClientMaximized = true;
    if (OnDWMClientMaximize) OnDWMClientMaximize(this);
    if (!*alive) return;
    if (FDWMHitTestWnd != nullptr) HideHitTestWnd();
  }
  UpdateDWMClientFrame();
}

void TkaStyledForm::DWMClientRestore() {
  if (!FDWMClientMaximized || FForm == nullptr) return;
  const std::shared_ptr<bool> alive = FAlive;
  TkaFlagScope showing(FHitTestWndShowing);
  DWMClientEndDrag();
  FDWMClientMaximized = false;
  UpdateDWMClientFrame();
  FForm->SetBoundsRect(FDWMClientNormalRect);
  if (OnDWMClientRestore) OnDWMClientRestore(this);
  if (!*alive) return;
}

void TkaStyledForm::DWMClientStartDrag() {
  FDWMClientDownPoint = CursorPoint();
  FDWMClientDown = true;
}

void TkaStyledForm::DWMClientEndDrag() {
  FDWMClientDown = false;
  EndMoveBackdrop();
}

void TkaStyledForm::DWMClientDrag() {
  if (!FDWMClientDown || FForm == nullptr) return;
  const TPoint p = CursorPoint();
  if (FDWMClientMaximized && p != FDWMClientDownPoint) {
    // The cursor keeps its horizontal proportion within the caption and its distance below
    // the top edge.
    const int w = FDWMClientNormalRect.Width(), h = FDWMClientNormalRect.Height();
    const int a = FForm->Width() > 0 ? Round(static_cast<double>(p.X - FForm->Left()) * w / FForm->Width()) : 0;
    const int b = p.Y - FForm->Top();
    FDWMClientNormalRect = TRect(p.X - a, p.Y - b, p.X - a + w, p.Y - b + h);
    DWMClientRestore();
    return;
  }
  if (p != FDWMClientDownPoint) BeginMoveBackdrop();
  FForm->SetBounds(FForm->Left() + p.X - FDWMClientDownPoint.X, FForm->Top() + p.Y - FDWMClientDownPoint.Y,
                   FForm->Width(), FForm->Height());
  FDWMClientDownPoint = p;
}

// ---- The resize ring ----------------------------------------------------------------------------

bool TkaStyledForm::HitTestWndVisible() const { return FDWMHitTestWnd != nullptr && FDWMHitTestWnd->Visible(); }

void TkaStyledForm::UpdateHitTestWndPosition() {
  if (FDWMHitTestWnd != nullptr) FDWMHitTestWnd->UpdatePosition();
}

bool TkaStyledForm::ExcludeFromPeekSupported() const { return IsWindows7() || IsWindows8() || IsWindows10OrLater(); }

void TkaStyledForm::ExcludeHitTestWndFromPeek() {
  const TDwmSetWindowAttribute set = PlatformBinding().DwmSetWindowAttribute;
  if (FDWMHitTestWnd == nullptr || set == nullptr) return;
  const BOOL exclude = -1;
  set(FDWMHitTestWnd->Handle(), kDWMWAExcludedFromPeek, &exclude, sizeof(exclude));
}

void TkaStyledForm::ShowHitTestWnd() {
  HWND h = FormHandle();
  if (h == nullptr || IsDestroying()) return;
  FStopUpdateFluentColor = true;
  if (!FWasMinimized) FHitTestWndShowing = true;
  FWasMinimized = false;
  if (FDWMHitTestWnd == nullptr) FDWMHitTestWnd = new TkaHitTestWnd(this, this);
  FDWMHitTestWnd->UpdatePosition();
  ::SetTimer(h, kaHitTestWndTimerID, 100, nullptr);
}

void TkaStyledForm::HitTestWndTimer() {
  ::KillTimer(FormHandle(), kaHitTestWndTimerID);
  if (HitTestWndVisible()) {
    // Practically invisible, but no longer transparent to the pointer.
    FDWMHitTestWnd->SetAlphaBlendValue(1);
    if (IsDwmCompositionActive() && ExcludeFromPeekSupported()) ExcludeHitTestWndFromPeek();
  }
  FHitTestWndShowing = false;
  FStopUpdateFluentColor = false;
}

void TkaStyledForm::HideHitTestWnd() {
  if (FDWMHitTestWnd == nullptr) return;
  FStopUpdateFluentColor = true;
  HWND h = FormHandle();
  FWasMinimized = h != nullptr && ::IsIconic(h);
  FHitTestWndShowing = false;
  // Hiding the ring may deactivate the form on the spot; that deactivation is turned back
  // into an activation. The flag is not left behind afterwards, or it would swallow the
  // next real deactivation of the form.
  const bool stopBefore = FStopActivateEvents;
  FStopActivateEvents = true;
  FDWMHitTestWnd->SetVisible(false);
  FDWMHitTestWnd->SetAlphaBlendValue(0);
  FStopActivateEvents = stopBefore;
  FStopUpdateFluentColor = false;
}
