// Hints of controls: the hint window, and how the application follows the pointer to show
// the hint of the control it rests on.
#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/PointerPos.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "framework/Timers.h"

namespace {

// Text sits this far inside the window's client area (left/right and top/bottom together).
constexpr int kTextMarginX = 6;
constexpr int kTextMarginY = 4;
constexpr UINT kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

// A control shows hints while its ShowHint is on; with ParentShowHint its parent decides.
bool EffectiveShowHint(const TControl* C) {
  while (C->ParentShowHint() && C->Parent() != nullptr) C = C->Parent();
  return C->ShowHint();
}

// The control whose hint is shown for Target: itself or its nearest parent that shows hints.
TControl* HintControlFor(TControl* Target) {
  for (TControl* c = Target; c != nullptr; c = c->Parent())
    if (EffectiveShowHint(c)) return c;
  return nullptr;
}

// A control without a hint text of its own shows its parent's.
String HintTextOf(const TControl* C) {
  for (; C != nullptr; C = C->Parent())
    if (!C->Hint().empty()) return C->Hint();
  return String();
}

TControl* HintControlAt(TPoint ScreenPos) { return HintControlFor(FindDragTarget(ScreenPos, true)); }

std::function<TPoint()>& PointerPosOverride() {
  static std::function<TPoint()> source;
  return source;
}

}  // namespace

TPoint PointerPos() {
  if (const auto& source = PointerPosOverride()) return source();
  POINT p{};
  ::GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

void SetPointerPosOverride(std::function<TPoint()> Source) { PointerPosOverride() = std::move(Source); }

// ---- THintWindow ---------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FVisible = false;
  FColor = clInfoBk;
  FParentFont = false;
  if (Screen != nullptr) Font()->Assign(Screen->HintFont());
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
  // The pixels under a short-lived popup are kept and put back when it goes.
  Params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    // The pointer goes through to whatever lies under the hint.
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; break;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    default: inherited::Dispatch(Message); break;
  }
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
  TRect r(0, 0, MaxWidth > 0 ? MaxWidth : Screen->Width(), 0);
  TWindowDC dc(nullptr);
  TSelectObject font(dc.Get(), Font()->Handle());
  ::DrawTextW(dc.Get(), AHint.c_str(), -1, r.AsRECT(), kHintTextFlags | DT_CALCRECT);
  // The border of WS_BORDER takes one pixel on each side.
  return TRect(0, 0, r.Width() + kTextMarginX + 2, r.Height() + kTextMarginY + 2);
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetText(AHint);
  TRect r = Rect;
  const TRect wa = Screen->MonitorFromPoint(r.TopLeft()).WorkareaRect();
  if (r.Right > wa.Right) r.Offset(wa.Right - r.Right, 0);
  if (r.Left < wa.Left) r.Offset(wa.Left - r.Left, 0);
  if (r.Bottom > wa.Bottom) r.Offset(0, wa.Bottom - r.Bottom);
  if (r.Top < wa.Top) r.Offset(0, wa.Top - r.Top);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  HandleNeeded();
  ::SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FVisible = true;
  Invalidate();
  Update();
}

void THintWindow::ReleaseHandle() {
  SetVisible(false);
  DestroyHandle();
}

void THintWindow::Paint() {
  // The info colours as the style that draws the window shows them.
  TCustomStyleServices* style = StyleServices(this);
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(style->GetSystemColor(Color()));
  const TRect client = ClientRect();
  c->FillRect(client);
  c->Font()->Assign(Font());
  c->Font()->SetColor(style->GetSystemColor(Font()->Color()));
  c->Brush()->SetStyle(bsClear);
  TRect r(client.Left + kTextMarginX / 2, client.Top + kTextMarginY / 2, client.Right, client.Bottom);
  c->TextRect(r, Text(), {tfLeft, tfWordBreak, tfNoPrefix});
}

// ---- The application's hints ---------------------------------------------------------------

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHintWindowClass(const THintWindowClass& Value) {
  FHintWindowClass = Value;
  if (FHintWindow != nullptr && FHintWindow->ClassName() != Value.Name()) {
    HideHint();
    FreeAndNil(FHintWindow);
  }
}

THintWindow* TApplication::HintWindowOf(const THintWindowClass& Class) {
  if (FHintWindow != nullptr && FHintWindow->ClassName() != Class.Name()) FreeAndNil(FHintWindow);
  if (FHintWindow == nullptr) FHintWindow = Class.Create(this);
  return FHintWindow;
}

bool TApplication::HintShowing() const {
  return FHintWindow != nullptr && FHintWindow->HandleAllocated() && ::IsWindowVisible(FHintWindow->WindowHandle());
}

void TApplication::StartHintTimer(int Interval, THintTimerMode Mode) {
  if (FHintTimer == nullptr) {
    FHintTimer = new TTimer(nullptr);
    FHintTimer->OnTimer = [this](TObject*) { HintTimerExpired(); };
  }
  FHintTimerMode = Mode;
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(Interval > 0 ? Interval : 1);
  FHintTimer->SetEnabled(true);
}

void TApplication::HintTimerExpired() {
  FHintTimer->SetEnabled(false);
  if (FHintTimerMode == htHide) {
    HideHint();
    return;
  }
  ActivateHint(PointerPos());
}

void TApplication::HideHint() {
  if (FHintTimer != nullptr) FHintTimer->SetEnabled(false);
  if (FHintWindow != nullptr && FHintWindow->HandleAllocated()) FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  HideHint();
  FHintControl = nullptr;
}

void TApplication::ActivateHint(TPoint CursorPos) {
  if (FHintTimer != nullptr) FHintTimer->SetEnabled(false);
  TControl* control = FShowHint ? HintControlAt(CursorPos) : nullptr;
  FHintControl = control;
  if (control == nullptr) {
    HideHint();
    return;
  }
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = FHintWindowClass;
  info.HintPos = TPoint(CursorPos.X, CursorPos.Y + ::GetSystemMetrics(SM_CYCURSOR));
  info.HintMaxWidth = Screen->Width();
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HideTimeout = FHintHidePause;
  info.HintStr = HintTextOf(control);
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  FHintCursorRect = info.CursorRect;
  if (!canShow || info.HintStr.empty() || !info.HintWindowClass) {
    HideHint();
    return;
  }
  THintWindow* window = HintWindowOf(info.HintWindowClass);
  window->SetColor(info.HintColor);
  TRect r = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  r.Offset(info.HintPos.X, info.HintPos.Y);
  window->ActivateHintData(r, info.HintStr, info.HintData);
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, htHide);
}

void TApplication::CheckHintControl(TControl* Target) {
  // Only a pointer that left for no hint at all is handled here: one that came to another
  // control with a hint is that control's mouse message, which moves the hint along after the
  // short pause (it must still see the old hint shown).
  if (FHintControl != nullptr && HintControlFor(Target) == nullptr) CancelHint();
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (Message.Msg != WM_MOUSEMOVE) {
    // A press or release puts the hint away until the pointer goes to another control.
    HideHint();
    return;
  }
  const TPoint screen = Control->ClientToScreen(Message.Pos());
  TControl* control = FShowHint ? HintControlAt(screen) : nullptr;
  if (control != FHintControl) {
    const bool wasShowing = HintShowing();
    HideHint();
    FHintControl = control;
    if (control != nullptr) StartHintTimer(wasShowing ? FHintShortPause : FHintPause, htShow);
  } else if (control != nullptr && HintShowing() && !FHintCursorRect.Contains(control->ScreenToClient(screen))) {
    HideHint();
    StartHintTimer(FHintShortPause, htShow);
  }
}
