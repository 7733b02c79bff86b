// Timers that run OnTimer from the message loop of the thread that armed them.
#pragma once

#include <exception>
#include <functional>

#include "framework/Classes.h"

class TTimerThreadWindow;

// Calls OnTimer every Interval milliseconds while Enabled. The Windows timer lives on a
// hidden message-only window of the arming thread, so ticks arrive only while that thread
// pumps messages, and a timer must be used and freed on that thread.
//
// OnTimer may free the timer, change its interval, or disable and enable it. A tick already
// queued for a timer that has since been freed or re-armed is dropped: every arming gets a
// fresh timer id, and the window finds timers by id among the live ones.
class TTimer : public TComponent {
  KA_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // Milliseconds between ticks (default 1000); 0 or less stops the ticks.
  int Interval() const { return FInterval; }
  void SetInterval(int Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // The Windows timer id while armed, 0 otherwise.
  UINT_PTR TimerId() const { return FTimerId; }

  TNotifyEvent OnTimer;

 protected:
  // One tick: runs OnTimer.
  virtual void Timer();

 private:
  friend class TTimerThreadWindow;
  // Drops the Windows timer and, when the timer should run, sets a new one.
  void UpdateTimer();
  void Disarm();

  int FInterval = 1000;
  bool FEnabled = true;
  UINT_PTR FTimerId = 0;
  TTimerThreadWindow* FWindow = nullptr;
};

// The calling thread's hidden timer window, nullptr while no timer is armed on the thread.
HWND TimerWindow();

// An exception must not unwind through the system's message dispatch, so one escaping
// OnTimer is caught in the timer window and handed to this handler (the application installs
// its own). Without a handler it is reported to the debugger and dropped.
using TTimerExceptionHandler = std::function<void(TObject* Sender, std::exception_ptr Error)>;
void SetTimerExceptionHandler(TTimerExceptionHandler Handler);
