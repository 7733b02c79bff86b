// TkaHitTestWnd: geometry, window region, hit test and the sizing drag of the resize ring.
#include "lib/kaStyledForm/HitTestWnd.h"

#include "framework/GdiObjects.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

// The ring's width at 100 %, in pixels.
constexpr int kBaseBorderSize = 5;

TRect WindowRectOf(HWND Wnd) {
  RECT r{};
  ::GetWindowRect(Wnd, &r);
  return TRect(r);
}

}  // namespace

TkaHitTestWnd::TkaHitTestWnd(TComponent* AOwner, TkaStyledForm* AStyledForm)
    : TForm(AOwner, false), FStyledForm(AStyledForm) {
  FBorderStyle = bsNone;
  FAlphaBlend = true;
  FAlphaBlendValue = 0;
  FScaled = false;
  FControlStyle += TControlStyle{csOverrideStylePaint};
  if (FStyledForm != nullptr) FStyledForm->FreeNotification(this);
}

TkaHitTestWnd::~TkaHitTestWnd() {
  if (FStyledForm != nullptr) FStyledForm->RemoveFreeNotification(this);
}

void TkaHitTestWnd::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FStyledForm) FStyledForm = nullptr;
}

TCustomForm* TkaHitTestWnd::Form() const { return FStyledForm != nullptr ? FStyledForm->Form() : nullptr; }

void TkaHitTestWnd::ChangeScale(int, int, bool) {}

void TkaHitTestWnd::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // Never owned: an owned window is kept above its owner, and the ring must sit behind the
  // form. A tool window stays off the taskbar and the task switcher.
  Params.WndParent = nullptr;
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_APPWINDOW);
}

void TkaHitTestWnd::CreateWnd() {
  inherited::CreateWnd();
  UpdateRegion();
}

void TkaHitTestWnd::SetVisible(bool Value) {
  if (!Value) {
    inherited::SetVisible(false);
    return;
  }
  if (FVisible && HandleAllocated() && ::IsWindowVisible(FHandle)) return;
  // Shown without activation: taking the activation from the form would make it flicker
  // between active and inactive each time the ring appears.
  HandleNeeded();
  FVisible = true;
  ::ShowWindow(FHandle, SW_SHOWNOACTIVATE);
}

// ---- Geometry ------------------------------------------------------------------------------

void TkaHitTestWnd::UpdatePosition() {
  TCustomForm* form = Form();
  if (FDragging || form == nullptr || !form->Visible()) return;
  const int oldBorder = FBorderSize;
  FBorderSize = Trunc(FStyledForm->ScaleFactor() * kBaseBorderSize);
  const int b = FBorderSize;
  SetBounds(form->Left() - b, form->Top() - b, form->Width() + 2 * b, form->Height() + 2 * b);
  if (b != oldBorder) UpdateRegion();
  if (!Visible()) SetVisible(true);
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
  // Behind an active form; an inactive form may have other windows between it and the ring.
  if (!form->Active()) flags |= SWP_NOZORDER;
  ::SetWindowPos(Handle(), form->Handle(), 0, 0, 0, 0, flags);
}

void TkaHitTestWnd::UpdateFormPosition(int& X, int& Y, int& W, int& H) {
  TCustomForm* form = Form();
  if (form == nullptr) return;
  const TSizeConstraints* c = form->Constraints();
  // A limit reached while the left or top edge is dragged keeps the opposite edge still;
  // the form's own constraint handling would keep the left or top edge instead.
  if (c->MinWidth() > 0 && W < c->MinWidth() && X != form->Left()) {
    X = form->Left() + form->Width() - c->MinWidth();
    W = c->MinWidth();
  }
  if (c->MaxWidth() > 0 && W > c->MaxWidth() && X != form->Left()) {
    X = form->Left() + form->Width() - c->MaxWidth();
    W = c->MaxWidth();
  }
  if (c->MinHeight() > 0 && H < c->MinHeight() && Y != form->Top()) {
    Y = form->Top() + form->Height() - c->MinHeight();
    H = c->MinHeight();
  }
  if (c->MaxHeight() > 0 && H > c->MaxHeight() && Y != form->Top()) {
    Y = form->Top() + form->Height() - c->MaxHeight();
    H = c->MaxHeight();
  }
  form->SetBounds(X, Y, W, H);
  X = form->Left();
  Y = form->Top();
  W = form->Width();
  H = form->Height();
}

void TkaHitTestWnd::UpdateRegion() {
  if (!HandleAllocated()) return;
  const TRect r = WindowRectOf(FHandle);
  const int w = r.Width(), h = r.Height(), b = FBorderSize;
  if (w <= 0 || h <= 0) return;
  TRgnHandle rgn(::CreateRectRgn(0, 0, w, h));
  if (!rgn) return;
  // A ring too small to have an inside stays a plain rectangle: an inverted inner
  // rectangle would cut a wrong piece out of it.
  if (w > 2 * b && h > 2 * b) {
    TRgnHandle inner(::CreateRectRgn(b, b, w - b, h - b));
    if (!inner || ::CombineRgn(rgn.Get(), rgn.Get(), inner.Get(), RGN_XOR) == ERROR) return;
  }
  // From here on the region belongs to the window, which frees the previous one.
  if (::SetWindowRgn(FHandle, rgn.Get(), TRUE) != 0) FRgn = rgn.Release();
}

// ---- Messages ------------------------------------------------------------------------------

int TkaHitTestWnd::HitTest(TPoint ScreenPoint) const {
  const TRect r = WindowRectOf(FHandle);
  const TPoint p(ScreenPoint.X - r.Left, ScreenPoint.Y - r.Top);
  const int w = r.Width(), h = r.Height(), b = FBorderSize;
  struct TZone {
    TRect Area;
    int Code;
  };
  // Corners first: they overlap the edges' ends.
  const TZone zones[] = {
      {Rect(0, 0, b, b), HTTOPLEFT},
      {Rect(w - b, 0, w, b), HTTOPRIGHT},
      {Rect(0, h - b, b, h), HTBOTTOMLEFT},
      {Rect(w - b, h - b, w, h), HTBOTTOMRIGHT},
      {Rect(0, b, b, h - b), HTLEFT},
      {Rect(w - b, b, w, h - b), HTRIGHT},
      {Rect(b, h - b, w - b, h), HTBOTTOM},
      {Rect(b, 0, w - b, b), HTTOP},
  };
  for (const TZone& z : zones)
    if (z.Area.Contains(p)) return z.Code;
  return HTNOWHERE;
}

void TkaHitTestWnd::ActivateForm() {
  TCustomForm* form = Form();
  if (form != nullptr && !form->Active() && form->Visible()) form->Show();
}

void TkaHitTestWnd::WMNCHitTest(TMessage& Message) { Message.Result = HitTest(Message.Pos()); }

void TkaHitTestWnd::WMNCCalcSize(TMessage& Message) {
  // With or without NCCALCSIZE_PARAMS, the proposed rectangle comes first.
  if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) ::InflateRect(r, -FBorderSize, -FBorderSize);
  Message.Result = 0;
}

void TkaHitTestWnd::WMNCPaint(TMessage& Message) {
  Message.Result = 0;
  TWindowDC dc(FHandle, ::GetWindowDC(FHandle));
  if (!dc) return;
  const TRect r = WindowRectOf(FHandle);
  const RECT whole{0, 0, r.Width(), r.Height()};
  ::FillRect(dc.Get(), &whole, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void TkaHitTestWnd::WMNCLButtonDown(TMessage& Message) {
  FDragging = true;
  FIsResizing = true;
  // The form loses the activation to the sizing loop; the styled form turns that back into
  // an activation and keeps OnChangeActive quiet.
  if (FStyledForm != nullptr) {
    FStyledForm->FStopActivateEvents = true;
    FStyledForm->FHitTestWndDown = true;
  }
  inherited::Dispatch(Message);  // the platform's sizing loop runs in here
}

void TkaHitTestWnd::FollowForm(WINDOWPOS& Pos) {
  FIsResizing = false;
  const int b = FBorderSize;
  if ((Pos.flags & SWP_NOMOVE) != 0) {
    // x and y carry no position then: the ring stays where it is.
    const TRect r = WindowRectOf(FHandle);
    Pos.x = r.Left;
    Pos.y = r.Top;
  }
  int x = Pos.x + b, y = Pos.y + b, w = Pos.cx - 2 * b, h = Pos.cy - 2 * b;
  UpdateFormPosition(x, y, w, h);
  if (x - b != Pos.x || y - b != Pos.y) Pos.flags &= ~static_cast<UINT>(SWP_NOMOVE);
  Pos.x = x - b;
  Pos.y = y - b;
  Pos.cx = w + 2 * b;
  Pos.cy = h + 2 * b;
}

void TkaHitTestWnd::WMWindowPosChanging(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (pos != nullptr && (pos->flags & SWP_NOSIZE) == 0 && FDragging) FollowForm(*pos);
  inherited::Dispatch(Message);
}

void TkaHitTestWnd::WMWindowPosChangedRing(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (pos != nullptr && (pos->flags & SWP_NOSIZE) == 0 && FIsResizing) FollowForm(*pos);
  inherited::Dispatch(Message);
}

void TkaHitTestWnd::WMExitSizeMove(TMessage& Message) {
  FDragging = false;
  ::SetTimer(FHandle, kaHitTestWndRefitTimerID, kaHitTestWndRefitDelay, nullptr);
  inherited::Dispatch(Message);
}

void TkaHitTestWnd::WMTimer(TMessage& Message) {
  if (Message.WParam == kaHitTestWndRefitTimerID) {
    FIsResizing = false;
    ::KillTimer(FHandle, kaHitTestWndRefitTimerID);
    UpdatePosition();
  }
  inherited::Dispatch(Message);
}

void TkaHitTestWnd::WMSizeRing(TMessage& Message) {
  inherited::Dispatch(Message);
  UpdateRegion();
}

void TkaHitTestWnd::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_SETFOCUS:
      ActivateForm();
      Message.Result = 1;
      break;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      ActivateForm();
      break;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChangedRing(Message); break;
    case WM_EXITSIZEMOVE: WMExitSizeMove(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_SIZE: WMSizeRing(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}
