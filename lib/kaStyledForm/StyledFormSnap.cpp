// TkaStyledForm, snap layouts: on Windows 11 the system shows its snap-layout flyout over a
// window's maximise button, which it recognises by the window's hit test answering
// HTMAXBUTTON. The library's maximise button is a child control, so the button's window and
// its parents let the hit test through to the form over it, the form answers HTMAXBUTTON,
// and the pointer then reaches the form as non-client messages, which drive the button's
// hot and pressed looks and its click.
#include <algorithm>

#include "lib/kaGPControls/GPCustomGlyphButton.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

// Sits in front of one control's window procedure. It holds the token of the attachment it
// belongs to, so that a hook that could not be taken out (another hook was put in front of
// it later) only passes messages on once it is detached.
struct TSnapHitTestHook {
  std::shared_ptr<bool> Token;
  TWinControl* Control;
  TWndMethod Previous;
  std::function<bool(TPoint)> Hit;

  void operator()(TMessage& Message) const {
    if (*Token && Message.Msg == WM_NCHITTEST &&
        Hit(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)))) {
      Message.Result = HTTRANSPARENT;
      return;
    }
    if (Previous)
      Previous(Message);
    else
      Control->WndProc(Message);
  }
};

TPoint ScreenPointOf(HWND Wnd, LPARAM LParam) {
  POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
  ::ClientToScreen(Wnd, &p);
  return TPoint(p.x, p.y);
}

}  // namespace

void TkaStyledForm::SnapLayoutComponentRemoved(TComponent* AComponent) {
  // Neither the freed control nor its window procedure may be touched any more.
  std::erase(FSnapHooked, AComponent);
  if (AComponent != FSnapLayoutButton) return;
  FSnapLayoutButton = nullptr;
  DetachSnapHooks();
}

void TkaStyledForm::SetSnapLayoutButton(TkaGPCustomGlyphButton* Value) {
  if (FSnapLayoutButton == Value) return;
  DetachSnapHooks();
  if (FSnapLayoutButton != nullptr) FSnapLayoutButton->SetFrameDriven(false);
  ReplaceReference(FSnapLayoutButton, Value);
  // While loading, the button's parents are not known yet: Loaded attaches.
  if (!IsDesigningOrLoading()) SyncSnapLayoutButton();
}

bool TkaStyledForm::IsSnapLayoutActive() const {
  return FSnapLayoutButton != nullptr && FForm != nullptr && FDWMClientShadow && IsWindows11() &&
         !ComponentState().Contains(csDesigning);
}

void TkaStyledForm::SyncSnapLayoutButton() {
  const bool active = IsSnapLayoutActive();
  // Asked again on every setting change: a hover or press in progress is kept.
  if (FSnapLayoutButton != nullptr && active == (FSnapHookToken != nullptr) && active == FSnapLayoutButton->FrameDriven())
    return;
  DetachSnapHooks();
  if (FSnapLayoutButton == nullptr) return;
  FSnapLayoutButton->SetFrameDriven(active);
  if (active) AttachSnapHooks();
}

void TkaStyledForm::AttachSnapHooks() {
  FSnapHookToken = std::make_shared<bool>(true);
  HookSnapChain();
}

void TkaStyledForm::HookSnapChain() {
  if (!FSnapHookToken || FSnapLayoutButton == nullptr) return;
  const std::shared_ptr<bool> alive = FAlive;
  for (TWinControl* c = FSnapLayoutButton; c != nullptr && c != FForm; c = c->Parent()) {
    if (std::find(FSnapHooked.begin(), FSnapHooked.end(), c) != FSnapHooked.end()) continue;
    // The button may have been placed after it was named: whichever window of the chain is
    // asked first hooks the parents it has now (never the window that is being asked).
    TSnapHitTestHook hook{FSnapHookToken, c, c->WindowProc, [this, alive](TPoint P) {
                            if (!*alive) return false;
                            HookSnapChain();
                            return SnapLayoutHit(P);
                          }};
    c->WindowProc = hook;
    if (c != FSnapLayoutButton) c->FreeNotification(this);
    FSnapHooked.push_back(c);
  }
}

void TkaStyledForm::DetachSnapHooks() {
  if (FSnapHookToken) *FSnapHookToken = false;
  for (TWinControl* c : FSnapHooked) {
    if (c->ComponentState().Contains(csDestroying)) continue;
    // Taken out only while it is the front one; else it stays, passing everything on.
    if (const auto* hook = c->WindowProc.target<TSnapHitTestHook>(); hook != nullptr && hook->Token == FSnapHookToken)
      c->WindowProc = hook->Previous;
  }
  FSnapHooked.clear();
  FSnapHookToken.reset();
  const bool held = FSnapPressed;
  FSnapHot = false;
  FSnapPressed = false;
  if (held && FormHandle() != nullptr && ::GetCapture() == FormHandle()) ::ReleaseCapture();
}

bool TkaStyledForm::SnapLayoutHit(TPoint AScreen) const {
  if (!IsSnapLayoutActive() || !FSnapLayoutButton->HandleAllocated() || !FSnapLayoutButton->Enabled()) return false;
  HWND button = FSnapLayoutButton->WindowHandle();
  if (!::IsWindowVisible(button)) return false;
  RECT r;
  ::GetWindowRect(button, &r);
  return AScreen.X >= r.left && AScreen.X < r.right && AScreen.Y >= r.top && AScreen.Y < r.bottom;
}

void TkaStyledForm::TrackNonClientLeave(HWND Wnd) {
  TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE | TME_NONCLIENT, Wnd, 0};
  ::TrackMouseEvent(&t);
}

void TkaStyledForm::SnapHover(bool AHot) {
  // Once on, the hot look stays until the non-client leave: the client side's enter and
  // leave reports are not what tells it any more.
  if (AHot && !FSnapHot) TrackNonClientLeave(FormHandle());
  FSnapHot = AHot;
  FSnapLayoutButton->SetFrameState(AHot, FSnapPressed);
}

void TkaStyledForm::SnapPress() {
  FSnapPressed = true;
  FSnapHot = true;
  // The release may come anywhere; like the system's own caption buttons, the window keeps
  // the pointer until then.
  ::SetCapture(FormHandle());
  FSnapLayoutButton->SetFrameState(true, true);
}

void TkaStyledForm::SnapRelease(bool AOnButton) {
  FSnapPressed = false;
  if (::GetCapture() == FormHandle()) ::ReleaseCapture();
  // Not hot for the moment, so that hovering again asks for the leave once more: while the
  // window held the pointer no leave was tracked.
  FSnapHot = false;
  if (!AOnButton) {
    FSnapLayoutButton->SetFrameState(false, false);
    return;
  }
  SnapHover(true);
  // Last: the click may maximise, restore or even free the form.
  FSnapLayoutButton->FrameClick();
}

void TkaStyledForm::SnapCancel() {
  FSnapPressed = false;
  FSnapHot = false;
  if (FSnapLayoutButton != nullptr) FSnapLayoutButton->SetFrameState(false, false);
}

bool TkaStyledForm::SnapLayoutMessage(TMessage& Message) {
  if (!IsSnapLayoutActive()) return false;
  HWND h = FormHandle();
  switch (Message.Msg) {
    case WM_NCHITTEST:
      if (!SnapLayoutHit(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)))) return false;
      Message.Result = HTMAXBUTTON;
      return true;
    case WM_NCMOUSEMOVE:
      // Passed on: the system's own hover handling is what brings up the flyout, and with
      // no non-client area it has nothing of its own to draw.
      if (Message.WParam == HTMAXBUTTON)
        SnapHover(true);
      else if (FSnapHot)
        SnapHover(false);
      return false;
    case WM_NCMOUSELEAVE:
      if (FSnapHot && !FSnapPressed) SnapHover(false);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      // Left to the system, a press on HTMAXBUTTON would run its own maximise.
      if (Message.WParam != HTMAXBUTTON) return false;
      SnapPress();
      Message.Result = 0;
      return true;
    case WM_NCLBUTTONUP:
      if (!FSnapPressed) return Message.WParam == HTMAXBUTTON;
      SnapRelease(Message.WParam == HTMAXBUTTON);
      Message.Result = 0;
      return true;
    case WM_MOUSEMOVE:
      if (!FSnapPressed) return false;
      FSnapHot = SnapLayoutHit(ScreenPointOf(h, Message.LParam));
      FSnapLayoutButton->SetFrameState(FSnapHot, true);
      Message.Result = 0;
      return true;
    case WM_LBUTTONUP:
      if (!FSnapPressed) return false;
      SnapRelease(SnapLayoutHit(ScreenPointOf(h, Message.LParam)));
      Message.Result = 0;
      return true;
    case WM_CAPTURECHANGED:
      if (FSnapPressed && reinterpret_cast<HWND>(Message.LParam) != h) SnapCancel();
      return false;
    default:
      return false;
  }
}
