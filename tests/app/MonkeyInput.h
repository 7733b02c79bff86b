// The machinery of the monkey run: a seeded generator, the run's flags, the record of the last
// events for replay, a watchdog against hangs and crashes, and pointer and keyboard input that
// takes the path a user's input takes: the window under the pointer (or the one holding the
// capture) is asked where the pointer is, and gets the client or non-client message posted to
// its queue, with the real cursor put where the message says.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "framework/Forms.h"

namespace monkey {

// splitmix64: one stream per run, so a seed and an event count replay a run.
class TRng {
 public:
  explicit TRng(uint64_t Seed) : FState(Seed) {}
  uint64_t Next64() {
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. N-1 (0 when N is 0).
  int Below(int N) { return N <= 0 ? 0 : static_cast<int>(Next64() % static_cast<uint64_t>(N)); }
  int Between(int Lo, int Hi) { return Lo + Below(Hi - Lo + 1); }
  bool OneIn(int N) { return Below(N) == 0; }

 private:
  uint64_t FState;
};

// The value of --monkey-NAME=N or --monkey-NAME N on the command line, or Fallback.
inline long long Flag(const wchar_t* Name, long long Fallback) {
  const std::wstring key = std::wstring(L"--monkey-") + Name;
  const std::wstring line = ::GetCommandLineW();
  for (size_t at = line.find(key); at != std::wstring::npos; at = line.find(key, at + 1)) {
    size_t v = at + key.size();
    if (v < line.size() && (line[v] == L'=' || line[v] == L' ')) return std::wcstoll(line.c_str() + v + 1, nullptr, 10);
  }
  return Fallback;
}
inline bool HasFlag(const wchar_t* Name) { return Flag(Name, -1) != -1; }

// The last events of the run, printed when it fails so that it can be read and replayed.
class TEventLog {
 public:
  static constexpr int kKept = 50;
  void Start(uint64_t Seed, int Events) {
    FSeed = Seed;
    FEvents = Events;
    FCount = 0;
  }
  void Add(int Index, const std::string& What) {
    std::snprintf(FLines[FCount % kKept], sizeof(FLines[0]), "#%d %s", Index, What.c_str());
    ++FCount;
    ++Tick;
  }
  // Written with stdio only: also called from the crash filter and the watchdog thread.
  void Dump(FILE* To, const char* Why) const {
    std::fprintf(To, "\nMONKEY %s (seed %llu)\nlast events:\n", Why, static_cast<unsigned long long>(FSeed));
    const long first = FCount > kKept ? FCount - kKept : 0;
    for (long i = first; i < FCount; ++i) std::fprintf(To, "  %s\n", FLines[i % kKept]);
    std::fprintf(To, "replay with --monkey-seed %llu --monkey-events %ld\n", static_cast<unsigned long long>(FSeed),
                 FCount);
    std::fflush(To);
  }
  // The event before the last one noted (without its number).
  std::string Previous() const {
    if (FCount < 2) return "";
    const char* line = FLines[(FCount - 2) % kKept];
    const char* space = std::strchr(line, ' ');
    return space != nullptr ? space + 1 : line;
  }
  std::atomic<long> Tick{0};
  std::atomic<bool> Running{false};

 private:
  uint64_t FSeed = 0;
  int FEvents = 0;
  long FCount = 0;
  char FLines[kKept][200] = {};
};

inline TEventLog& Log() {
  static TEventLog log;
  return log;
}

// No event may take this long: a hang ends the program with the events that led to it,
// instead of showing only as the test runner's time-out.
constexpr DWORD kEventTimeLimitMs = 30000;

inline DWORD WINAPI WatchdogThread(void*) {
  long last = -1;
  DWORD since = ::GetTickCount();
  for (;;) {
    ::Sleep(250);
    const long now = Log().Tick.load();
    if (now != last || !Log().Running) {
      last = now;
      since = ::GetTickCount();
    } else if (::GetTickCount() - since > kEventTimeLimitMs) {
      Log().Dump(stderr, "HANG: the last event did not finish in 30 s");
      ::TerminateProcess(::GetCurrentProcess(), 3);
    }
  }
}

inline LONG WINAPI OnCrash(EXCEPTION_POINTERS* E) {
  if (Log().Running) {
    std::fprintf(stderr, "\nMONKEY CRASH: exception %08lx at %p\n",
                 static_cast<unsigned long>(E->ExceptionRecord->ExceptionCode), E->ExceptionRecord->ExceptionAddress);
    Log().Dump(stderr, "CRASH");
    ::TerminateProcess(::GetCurrentProcess(), 4);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Started once, on the first run.
inline void StartWatchdog() {
  static const bool started = [] {
    ::SetUnhandledExceptionFilter(OnCrash);
    ::CloseHandle(::CreateThread(nullptr, 0, WatchdogThread, nullptr, 0, nullptr));
    return true;
  }();
  (void)started;
}

// ---- Input -------------------------------------------------------------------------------------

inline bool OurWindow(HWND Wnd) {
  return Wnd != nullptr && ::IsWindow(Wnd) && ::GetWindowThreadProcessId(Wnd, nullptr) == ::GetCurrentThreadId();
}

inline LPARAM PointParam(POINT P) { return MAKELPARAM(static_cast<int16_t>(P.x), static_cast<int16_t>(P.y)); }

// Where a pointer message at a screen point goes, and how it was posted. A press that lands
// outside a client area starts the platform's own loops (moving, sizing) when it is
// dispatched, so a gesture posts the rest of its messages before anything is dispatched.
struct TPosted {
  HWND Target = nullptr;
  LRESULT Hit = HTNOWHERE;
  bool Delivered() const { return Target != nullptr; }
  bool NonClient() const { return Delivered() && Hit != HTCLIENT; }
};

// One pointer message (a client message code: WM_MOUSEMOVE, WM_LBUTTONDOWN, ...) at a screen
// point, routed as the system routes it. A window that the modal loop disabled gets nothing.
inline TPosted PostPointer(UINT Msg, POINT Screen, WPARAM Keys) {
  ::SetCursorPos(Screen.x, Screen.y);
  TPosted r;
  const HWND capture = ::GetCapture();
  HWND target = capture != nullptr ? capture : ::WindowFromPoint(Screen);
  if (!OurWindow(target)) return r;
  if (capture == nullptr && !::IsWindowEnabled(::GetAncestor(target, GA_ROOT))) return r;
  r.Hit = capture != nullptr ? HTCLIENT : ::SendMessageW(target, WM_NCHITTEST, 0, PointParam(Screen));
  if (r.Hit == HTNOWHERE || r.Hit == HTERROR || r.Hit == HTTRANSPARENT) return r;
  if (!OurWindow(target)) return r;  // the hit test may have destroyed it
  if (capture == nullptr) ::SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(r.Hit, Msg));
  if (!OurWindow(target)) return r;
  r.Target = target;
  // A window whose class takes no double clicks gets the second press as a press.
  if (Msg == WM_LBUTTONDBLCLK && r.Hit == HTCLIENT && (::GetClassLongPtrW(target, GCL_STYLE) & CS_DBLCLKS) == 0)
    Msg = WM_LBUTTONDOWN;
  if (r.Hit == HTCLIENT) {
    POINT p = Screen;
    ::ScreenToClient(target, &p);
    ::PostMessageW(target, Msg, Keys, PointParam(p));
  } else {
    ::PostMessageW(target, Msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(r.Hit), PointParam(Screen));
  }
  return r;
}

// A message that follows a non-client press inside the platform's loop, which reads only the
// message's kind and where the cursor was.
inline void PostFollowing(HWND Target, UINT Msg, POINT Screen, WPARAM Keys) {
  ::SetCursorPos(Screen.x, Screen.y);
  POINT p = Screen;
  ::ScreenToClient(Target, &p);
  ::PostMessageW(Target, Msg, Keys, PointParam(p));
}

// A key down and up on the window with the keyboard focus (or the active window).
inline bool PostKey(WORD Key, bool Alt = false) {
  HWND focus = ::GetFocus();
  if (focus == nullptr) focus = ::GetActiveWindow();
  if (!OurWindow(focus)) return false;
  const LPARAM down = 1 | (Alt ? (1 << 29) : 0), up = down | 0xC0000000;
  const UINT downMsg = Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, upMsg = Alt ? WM_SYSKEYUP : WM_KEYUP;
  if (Alt) ::PostMessageW(focus, WM_SYSKEYDOWN, VK_MENU, down);
  ::PostMessageW(focus, downMsg, Key, down);
  ::PostMessageW(focus, upMsg, Key, up);
  if (Alt) ::PostMessageW(focus, WM_KEYUP, VK_MENU, 0xC0000001);
  return true;
}

}  // namespace monkey
