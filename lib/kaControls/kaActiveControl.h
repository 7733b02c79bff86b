// A custom control that knows whether the mouse is over it, including when the mouse
// leaves through a child window or another application's window, and that can cross-fade
// between the images of two states with the platform's buffered-paint animation.
#pragma once

#include "lib/kaControls/kaCustomControl.h"

class TTimer;

// Window timer that ends an animation period.
constexpr UINT_PTR kaAnimationTimerID = 1;
constexpr UINT kaAnimationPeriodMs = 350;
constexpr DWORD kaAnimationDurationMs = 150;
constexpr UINT kaMouseLeavePollMs = 100;

class TkaCustomActiveControl : public TkaCustomControl {
  KA_CLASS(TkaCustomActiveControl, TkaCustomControl)
 public:
  explicit TkaCustomActiveControl(TComponent* AOwner);
  ~TkaCustomActiveControl() override;

  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  bool MouseIn() const { return FMouseIn; }
  // An animation period is running.
  bool AnimationRunning() const { return FCanAnimate; }
  // Both halves of the platform's buffered animation are there (Vista and later).
  static bool BufferedAnimationAvailable();

  void Dispatch(TMessage& Message) override;

 protected:
  // The poll of the mouse timer: a leave that produced no message.
  virtual void CheckMouseLeave(TObject* Sender);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual bool CanAnimate();
  virtual bool CanAnimateFocused() { return false; }
  // Cross-fades from the last animated state to the current one; true when started.
  virtual bool AnimatedPaint(HDC DC);

  TkasCtrlState GetCtrlState() override;
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

  void StartAnimation();
  void StopAnimation();
  void StartMouseTimer();
  void StopMouseTimer();
  void PaintStateToDC(HDC DC, TkasCtrlState State, bool Blend);

  // Shared by the enter and leave paths (message, move or poll).
  void MouseEntered();
  void MouseLeft();

  // For descendants that can take the focus. A left click (Message) focuses the control
  // before the click is handled, unless designing.
  void FocusOnClick(const TMessage& Message);
  // After WM_SETFOCUS: the parent's stored painting may still show another control's focus,
  // so it is taken again; GDI+ text is drawn at the next paint, GDI text at once.
  void ShowFocusGained();

  TTimer* FMouseTimer = nullptr;
  bool FCanAnimate = false;
  bool FAnimation = false;
  bool FMouseIn = false;
  TkasCtrlState FOldCtrlState = kasNormal;
};
