#include "lib/kaControls/kaActiveControl.h"

#include <cstdint>

#include "framework/Timers.h"
#include "framework/TypeInfo.h"

TkaCustomActiveControl::TkaCustomActiveControl(TComponent* AOwner) : TkaCustomControl(AOwner) {}

TkaCustomActiveControl::~TkaCustomActiveControl() { StopMouseTimer(); }

bool TkaCustomActiveControl::BufferedAnimationAvailable() {
  const TkaPlatformBinding& b = PlatformBinding();
  return WindowsMajorVersion() >= 6 && b.BeginBufferedAnimation != nullptr && b.EndBufferedAnimation != nullptr;
}

// ---- Mouse tracking -------------------------------------------------------------------------

void TkaCustomActiveControl::StartMouseTimer() {
  StopMouseTimer();
  FMouseTimer = new TTimer(nullptr);
  FMouseTimer->SetInterval(kaMouseLeavePollMs);
  FMouseTimer->OnTimer = [this](TObject* Sender) { CheckMouseLeave(Sender); };
  FMouseTimer->SetEnabled(true);
}

void TkaCustomActiveControl::StopMouseTimer() {
  if (FMouseTimer == nullptr) return;
  TTimer* t = FMouseTimer;
  FMouseTimer = nullptr;
  t->SetEnabled(false);
  t->Free();
}

void TkaCustomActiveControl::CheckMouseLeave(TObject*) {
  POINT p;
  if (!::GetCursorPos(&p)) return;
  if (HandleAllocated() && ::WindowFromPoint(p) == WindowHandle()) return;
  StopMouseTimer();
  FMouseIn = false;
  DoMouseLeave();
}

void TkaCustomActiveControl::MouseEntered() {
  FMouseIn = true;
  StartMouseTimer();
  DoMouseEnter();
}

void TkaCustomActiveControl::MouseLeft() {
  StopMouseTimer();
  FMouseIn = false;
  DoMouseLeave();
}

void TkaCustomActiveControl::DoMouseEnter() {
  if (FAnimation && CanAnimate()) StartAnimation();
  RePaintControl();
}

void TkaCustomActiveControl::DoMouseLeave() {
  if (FAnimation && CanAnimate()) StartAnimation();
  RePaintControl();
}

void TkaCustomActiveControl::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  if (!FMouseIn && inside)
    MouseEntered();
  else if (FMouseIn && !inside)
    MouseLeft();
}

TkasCtrlState TkaCustomActiveControl::GetCtrlState() {
  if (!Enabled()) return kasDisabled;
  return FMouseIn ? kasHot : kasNormal;
}

// ---- Animation ------------------------------------------------------------------------------

bool TkaCustomActiveControl::CanAnimate() {
  if (ComponentState().Contains(csDesigning) || !Enabled() || !Visible() || !FAnimation) return false;
  const TkasCtrlState s = GetCtrlState();
  const bool stateOk = s == kasNormal || s == kasHot || (s == kasFocused && CanAnimateFocused());
  return stateOk && BufferedAnimationAvailable();
}

void TkaCustomActiveControl::StartAnimation() {
  FCanAnimate = true;
  if (!HandleAllocated()) return;
  ::KillTimer(WindowHandle(), kaAnimationTimerID);
  ::SetTimer(WindowHandle(), kaAnimationTimerID, kaAnimationPeriodMs, nullptr);
}

void TkaCustomActiveControl::StopAnimation() {
  FCanAnimate = false;
  const TkaPlatformBinding& b = PlatformBinding();
  if (BufferedAnimationAvailable() && b.BufferedPaintStopAllAnimations != nullptr && HandleAllocated())
    b.BufferedPaintStopAllAnimations(WindowHandle());
}

void TkaCustomActiveControl::Paint() {
  if (!(FCanAnimate && CanAnimate())) {
    inherited::Paint();
    return;
  }
  const TkaPlatformBinding& b = PlatformBinding();
  // A frame of a running cross-fade is the system's to draw.
  if (b.BufferedPaintRenderAnimation != nullptr && b.BufferedPaintRenderAnimation(Handle(), Canvas()->Handle()))
    return;
  AnimatedPaint(Canvas()->Handle());
}

bool TkaCustomActiveControl::AnimatedPaint(HDC DC) {
  if (!BufferedAnimationAvailable()) return false;
  const TkasCtrlState now = GetCtrlState();
  BP_ANIMATIONPARAMS params{};
  params.cbSize = sizeof(params);
  params.dwFlags = 0;
  params.style = BPAS_LINEAR;
  params.dwDuration = now != FOldCtrlState ? kaAnimationDurationMs : 0;
  RECT client = {0, 0, ClientWidth(), ClientHeight()};
  HDC from = nullptr, to = nullptr;
  const TkaPlatformBinding& b = PlatformBinding();
  HANIMATIONBUFFER anim =
      b.BeginBufferedAnimation(Handle(), DC, &client, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  bool started = false;
  if (anim != nullptr) {
    // The buffer must be ended whatever the painting does.
    struct TEnd {
      const TkaPlatformBinding& B;
      HANIMATIONBUFFER A;
      ~TEnd() { B.EndBufferedAnimation(A, TRUE); }
    } end{b, anim};
    const bool blend = params.dwDuration > 0;
    if (from != nullptr) PaintStateToDC(from, FOldCtrlState, blend);
    if (to != nullptr) PaintStateToDC(to, now, blend);
    ++FPaintStats.Paints;
    ShownInState(now);
    started = true;
  }
  FOldCtrlState = GetCtrlState();
  return started;
}

void TkaCustomActiveControl::PaintStateToDC(HDC DC, TkasCtrlState State, bool Blend) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  if (!Blend) {
    TCanvas canvas;
    canvas.SetHandle(DC);
    DrawBackground(&canvas);
    DrawControl(&canvas, State);
    return;
  }
  // The animation buffers carry alpha: an opaque 32-bit image blends as itself.
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(w, h);
  DrawBackground(image.Canvas());
  DrawControl(image.Canvas(), State);
  ::GdiFlush();
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(image.ScanLine(y));
    for (int x = 0; x < w; ++x) row[x * 4 + 3] = 255;
  }
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(DC, 0, 0, w, h, image.Canvas()->Handle(), 0, 0, w, h, bf);
}

// ---- Focus ----------------------------------------------------------------------------------

void TkaCustomActiveControl::FocusOnClick(const TMessage& Message) {
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) &&
      !ComponentState().Contains(csDesigning) && !Focused() && CanFocus())
    SetFocus();
}

void TkaCustomActiveControl::ShowFocusGained() {
  FUpdateParentBuffer = true;
  if (DrawTextMode() == kadtmGDIPlus)
    Invalidate();
  else
    Repaint();
}

// ---- Messages -------------------------------------------------------------------------------

void TkaCustomActiveControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (!FMouseIn) MouseEntered();
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (FMouseIn) {
        MouseLeft();
        FOldCtrlState = GetCtrlState();
      }
      break;
    case WM_TIMER:
      if (Message.WParam == kaAnimationTimerID) {
        if (HandleAllocated()) ::KillTimer(WindowHandle(), kaAnimationTimerID);
        StopAnimation();
      } else {
        inherited::Dispatch(Message);
      }
      break;
    case WM_MOVE:
      // A moved control shows another background: no fade from the old one.
      if (TransparentBackground()) FCanAnimate = false;
      inherited::Dispatch(Message);
      break;
    case WM_PARENTBGCHANGED:
      inherited::Dispatch(Message);
      if (TransparentBackground()) FCanAnimate = false;
      break;
    case WM_ERASEBKGND:
      if (!FromWMPaint) FCanAnimate = false;
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

KA_REGISTER_CLASS(TkaCustomActiveControl, [](auto& c) {
  c.Property(L"Animation", &TkaCustomActiveControl::Animation, &TkaCustomActiveControl::SetAnimation);
});
