#include "framework/Timers.h"

#include <map>
#include <memory>
#include <mutex>

// The hidden window that receives WM_TIMER for the timers of one thread. It exists while at
// least one timer of the thread is armed, and maps timer ids to the live timers.
class TTimerThreadWindow {
 public:
  // The calling thread's window, made on first use.
  static TTimerThreadWindow& Acquire();
  static TTimerThreadWindow* Current();

  // Sets a Windows timer for Timer and answers its id; fails with EOutOfResources.
  UINT_PTR Arm(TTimer* Timer, int Interval);
  // Kills the timer with this id. May destroy this window (when no timer is left and no
  // tick is running), so nothing may use the window afterwards.
  void Disarm(UINT_PTR Id);
  HWND Handle() const { return FHandle; }

 private:
  TTimerThreadWindow() = default;
  static LRESULT CALLBACK WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Tick(UINT_PTR Id);
  void ReleaseIfIdle();

  HWND FHandle = nullptr;
  std::map<UINT_PTR, TTimer*> FTimers;
  UINT_PTR FLastId = 0;
  int FDispatching = 0;  // ticks running, counting nested message loops inside OnTimer
};

namespace {

const wchar_t kTimerWindowClass[] = L"KaTimerWindow";

thread_local TTimerThreadWindow* gThreadWindow = nullptr;

// The ticks running on this thread, innermost first, so a timer freed by its own handler
// (or by a nested one) is known to be gone when the handler returns or throws.
struct TTickFrame {
  TTimer* Timer;
  bool Freed;
  TTickFrame* Outer;
};
thread_local TTickFrame* gTickFrames = nullptr;

struct TExceptionHandlerSlot {
  std::mutex Lock;
  TTimerExceptionHandler Handler;
};

TExceptionHandlerSlot& ExceptionHandlerSlot() {
  static TExceptionHandlerSlot slot;
  return slot;
}

// The module this code is linked into (the program, or a DLL that contains the library).
HINSTANCE ThisModule() {
  static const int marker = 0;
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&marker), &module);
  return module;
}

void ReportTimerException(TObject* Sender, std::exception_ptr Error) {
  TTimerExceptionHandler handler;
  {
    TExceptionHandlerSlot& slot = ExceptionHandlerSlot();
    std::lock_guard<std::mutex> lock(slot.Lock);
    handler = slot.Handler;
  }
  try {
    if (handler) {
      handler(Sender, Error);
      return;
    }
    std::rethrow_exception(Error);
  } catch (const std::exception& e) {
    ::OutputDebugStringW((L"Exception in OnTimer: " + FromUtf8(e.what()) + L"\n").c_str());
  } catch (...) {
    ::OutputDebugStringW(L"Exception in OnTimer\n");
  }
}

}  // namespace

// ---- Thread window --------------------------------------------------------------------

TTimerThreadWindow* TTimerThreadWindow::Current() { return gThreadWindow; }

TTimerThreadWindow& TTimerThreadWindow::Acquire() {
  if (gThreadWindow != nullptr) return *gThreadWindow;
  static const ATOM windowClass = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TTimerThreadWindow::WndProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kTimerWindowClass;
    return ::RegisterClassExW(&wc);
  }();
  std::unique_ptr<TTimerThreadWindow> window(new TTimerThreadWindow());
  if (windowClass != 0)
    window->FHandle = ::CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        ThisModule(), nullptr);
  if (window->FHandle == nullptr) throw EOutOfResources(L"Cannot create the timer window");
  gThreadWindow = window.release();
  return *gThreadWindow;
}

UINT_PTR TTimerThreadWindow::Arm(TTimer* Timer, int Interval) {
  // Ids are not reused while the counter lasts, so a tick still queued for an earlier
  // arming can never reach a later timer.
  do {
    ++FLastId;
  } while (FLastId == 0 || FTimers.count(FLastId) != 0);
  const UINT_PTR id = FLastId;
  FTimers.emplace(id, Timer);
  if (::SetTimer(FHandle, id, static_cast<UINT>(Interval), nullptr) == 0) {
    FTimers.erase(id);
    ReleaseIfIdle();
    throw EOutOfResources(L"Not enough timers available");
  }
  return id;
}

void TTimerThreadWindow::Disarm(UINT_PTR Id) {
  ::KillTimer(FHandle, Id);
  FTimers.erase(Id);
  ReleaseIfIdle();
}

void TTimerThreadWindow::ReleaseIfIdle() {
  if (!FTimers.empty() || FDispatching > 0) return;
  if (gThreadWindow == this) gThreadWindow = nullptr;
  ::DestroyWindow(FHandle);
  delete this;
}

void TTimerThreadWindow::Tick(UINT_PTR Id) {
  auto it = FTimers.find(Id);
  if (it == FTimers.end()) return;  // freed or re-armed since the tick was queued
  TTickFrame frame{it->second, false, gTickFrames};
  gTickFrames = &frame;
  ++FDispatching;
  try {
    frame.Timer->Timer();
  } catch (...) {
    ReportTimerException(frame.Freed ? nullptr : frame.Timer, std::current_exception());
  }
  --FDispatching;
  gTickFrames = frame.Outer;
  ReleaseIfIdle();
}

LRESULT CALLBACK TTimerThreadWindow::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_TIMER) {
    TTimerThreadWindow* window = gThreadWindow;
    if (window != nullptr && window->FHandle == Wnd) window->Tick(static_cast<UINT_PTR>(WParam));
    return 0;
  }
  return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND TimerWindow() {
  TTimerThreadWindow* window = TTimerThreadWindow::Current();
  return window != nullptr ? window->Handle() : nullptr;
}

void SetTimerExceptionHandler(TTimerExceptionHandler Handler) {
  TExceptionHandlerSlot& slot = ExceptionHandlerSlot();
  std::lock_guard<std::mutex> lock(slot.Lock);
  slot.Handler = std::move(Handler);
}

// ---- TTimer ---------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  for (TTickFrame* frame = gTickFrames; frame != nullptr; frame = frame->Outer)
    if (frame->Timer == this) frame->Freed = true;
  Disarm();
}

void TTimer::SetInterval(int Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (!OnTimer) return;
  // A copy: the handler may free this timer, and with it OnTimer, while it runs.
  TNotifyEvent handler = OnTimer;
  handler(this);
}

void TTimer::UpdateTimer() {
  TTimerThreadWindow* oldWindow = FWindow;
  const UINT_PTR oldId = FTimerId;
  FWindow = nullptr;
  FTimerId = 0;
  // The new timer is set before the old one is killed, so the thread's window stays.
  if (FEnabled && FInterval > 0 && !ComponentState().Contains(csDesigning)) {
    try {
      TTimerThreadWindow& window = TTimerThreadWindow::Acquire();
      FTimerId = window.Arm(this, FInterval);
      FWindow = &window;
    } catch (...) {
      if (oldWindow != nullptr) oldWindow->Disarm(oldId);
      throw;
    }
  }
  if (oldWindow != nullptr) oldWindow->Disarm(oldId);
}

void TTimer::Disarm() {
  TTimerThreadWindow* window = FWindow;
  const UINT_PTR id = FTimerId;
  FWindow = nullptr;
  FTimerId = 0;
  if (window != nullptr) window->Disarm(id);
}
