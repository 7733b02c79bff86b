// The demo program as a user meets it: started as its own process (once: a 32-bit start can
// take a minute where its loader is emulated), its main window appears centred at 768 x 501,
// the settings page opens the second window and the message window modally and both close
// again, a click on the side menu's "Reports" shows another page, the menu button drops its
// popup menu under itself, and "Exit" chosen in it ends the process with exit code 0 and no
// framework objects left alive. The other ways out end the program the same way; the main
// window's tests take each of them in process.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/Forms.h"

namespace {

std::wstring DemoPath() {
  std::string path = KA_DEMO_EXE;
  std::wstring w(path.begin(), path.end());
  if (!w.empty() && w[0] == L'/') {  // a Linux path seen from Wine
    for (auto& ch : w)
      if (ch == L'/') ch = L'\\';
    w = L"Z:" + w;
  }
  return w;
}

HWND WaitForWindow(const wchar_t* caption, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    HWND w = ::FindWindowW(nullptr, caption);
    if (w != nullptr && ::IsWindowVisible(w)) return w;
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(100);
  }
}

// The started program: ended if a check stops the test while it still runs, so that no
// stray window is left behind for the tests that follow.
struct TChildProcess {
  PROCESS_INFORMATION Info{};
  TChildProcess() = default;
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  ~TChildProcess() {
    if (Info.hProcess == nullptr) return;
    if (::WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(Info.hProcess, 1);
      ::WaitForSingleObject(Info.hProcess, 10000);
    }
    ::CloseHandle(Info.hThread);
    ::CloseHandle(Info.hProcess);
  }
};

// The innermost visible child window of Top under a screen point.
HWND DeepestChildAt(HWND Top, POINT Screen) {
  HWND h = Top;
  for (;;) {
    POINT p = Screen;
    ::ScreenToClient(h, &p);
    HWND child = ::ChildWindowFromPointEx(h, p, CWP_SKIPINVISIBLE);
    if (child == nullptr || child == h) return h;
    h = child;
  }
}

std::string ClassName(HWND Wnd) {
  wchar_t name[64] = L"";
  ::GetClassNameW(Wnd, name, 64);
  return ToUtf8(name);
}

// The page of the page viewer that shows at a screen point, whatever control of it is there.
HWND PageAt(HWND Top, POINT Screen) {
  HWND h = DeepestChildAt(Top, Screen);
  while (h != nullptr && h != Top && ClassName(h) != "Ka.TkaPageViewerPage") h = ::GetParent(h);
  return h != Top ? h : nullptr;
}

// The control window under a screen point of the program's window, checked for its class,
// gets the pointer and a press there.
HWND PressAt(HWND Top, POINT Screen, const char* Class) {
  HWND target = DeepestChildAt(Top, Screen);
  EXPECT_EQ(ClassName(target), Class);
  POINT local = Screen;
  ::ScreenToClient(target, &local);
  const LPARAM pos = MAKELPARAM(local.x, local.y);
  ::SetCursorPos(Screen.x, Screen.y);
  ::PostMessageW(target, WM_MOUSEMOVE, 0, pos);
  ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, pos);
  return target;
}

void ClickAt(HWND Top, POINT Screen, const char* Class) {
  HWND target = PressAt(Top, Screen, Class);
  POINT local = Screen;
  ::ScreenToClient(target, &local);
  ::PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
}

// The popup menu window the program shows, once it is on screen.
HWND WaitForPopupMenu(DWORD ProcessId, DWORD TimeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    for (HWND h = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); h != nullptr;
         h = ::FindWindowExW(nullptr, h, L"#32768", nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(h, &owner);
      if (owner == ProcessId && ::IsWindowVisible(h)) return h;
    }
    if (::GetTickCount() - start > TimeoutMs) return nullptr;
    ::Sleep(100);
  }
}

// A visible top-level window of the process, other than Main, of the given size.
HWND WaitForOtherWindow(DWORD ProcessId, HWND Main, int Width, int Height, DWORD TimeoutMs) {
  struct TFind {
    DWORD Process;
    HWND Main;
    int Width, Height;
    HWND Found = nullptr;
    static BOOL CALLBACK Visit(HWND Wnd, LPARAM Self) {
      auto* f = reinterpret_cast<TFind*>(Self);
      DWORD owner = 0;
      ::GetWindowThreadProcessId(Wnd, &owner);
      RECT r;
      ::GetWindowRect(Wnd, &r);
      if (owner != f->Process || Wnd == f->Main || !::IsWindowVisible(Wnd) || r.right - r.left != f->Width ||
          r.bottom - r.top != f->Height)
        return TRUE;
      f->Found = Wnd;
      return FALSE;
    }
  };
  const DWORD start = ::GetTickCount();
  for (;;) {
    TFind find{ProcessId, Main, Width, Height};
    ::EnumWindows(TFind::Visit, reinterpret_cast<LPARAM>(&find));
    if (find.Found != nullptr) return find.Found;
    if (::GetTickCount() - start > TimeoutMs) return nullptr;
    ::Sleep(100);
  }
}

bool WaitUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
  const DWORD start = ::GetTickCount();
  while (!Done()) {
    if (::GetTickCount() - start > TimeoutMs) return false;
    ::Sleep(100);
  }
  return true;
}

// A button of the settings page opens a modal window of the given size; a click at Close
// (window coordinates) on it closes it again, and the main window takes input once more.
void OpenAndCloseModal(HWND Main, DWORD ProcessId, POINT Button, SIZE Size, POINT Close, bool FreedAfter) {
  RECT r;
  ::GetWindowRect(Main, &r);
  ClickAt(Main, POINT{r.left + Button.x, r.top + Button.y}, "Ka.TkaButton");
  HWND modal = WaitForOtherWindow(ProcessId, Main, Size.cx, Size.cy, 60000);
  ASSERT_NE(modal, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(Main); }, 10000)) << "the main window waits";
  RECT m;
  ::GetWindowRect(modal, &m);
  ClickAt(modal, POINT{m.left + Close.x, m.top + Close.y}, Close.y < 40 ? "Ka.TkaGPGlyphButton" : "Ka.TkaButton");
  EXPECT_TRUE(WaitUntil([&] { return FreedAfter ? !::IsWindow(modal) : !::IsWindowVisible(modal); }, 60000));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Main) != FALSE; }, 10000));
}

TEST(Demo, MainWindowAppearsCentredItsSideMenuWorksAndExitInItsMenuEndsTheProgramCleanly) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE readErr = nullptr, writeErr = nullptr;
  ASSERT_TRUE(::CreatePipe(&readErr, &writeErr, &sa, 0));
  ::SetHandleInformation(readErr, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdError = writeErr;
  si.hStdOutput = writeErr;
  si.hStdInput = nullptr;
  TChildProcess child;
  PROCESS_INFORMATION& pi = child.Info;
  std::wstring cmd = L"\"" + DemoPath() + L"\"";
  ASSERT_TRUE(::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
      << "cannot start " << ToUtf8(DemoPath());
  ::CloseHandle(writeErr);

  // A 32-bit program may start slowly where its loader is emulated.
  HWND w = WaitForWindow(L"Karvo VCL - Modern Application Demo", 240000);
  ASSERT_NE(w, nullptr);
  RECT r;
  ::GetWindowRect(w, &r);
  TRect monitor = Screen->PrimaryMonitor().BoundsRect();
  EXPECT_EQ(r.right - r.left, 768);
  EXPECT_EQ(r.bottom - r.top, 501);
  EXPECT_EQ(r.left, monitor.Left + (monitor.Width() - 768) / 2);
  EXPECT_EQ(r.top, monitor.Top + (monitor.Height() - 501) / 2);

  // The settings page: "Show second form" (page 244, 149, 185 x 35 below the header at 84)
  // opens the second window, whose close button ends its modal loop and hides it; "Show UWP
  // Message" (31, 149) opens the message window, whose "Ok" (alone at the right of its
  // button bar) closes and frees it. Twice each: the second window is the same one again.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round + 1);
    OpenAndCloseModal(w, pi.dwProcessId, POINT{201 + 244 + 92, 84 + 149 + 17}, SIZE{700, 400}, POINT{676, 15}, false);
    OpenAndCloseModal(w, pi.dwProcessId, POINT{201 + 31 + 92, 84 + 149 + 17}, SIZE{460, 178}, POINT{399, 152}, true);
  }

  // "Reports", the side menu's second page button (rows 153 to 203), clicked where a user
  // would, right of its icon: another page window comes to the front of the page area.
  const POINT pageArea{r.left + 480, r.top + 300};
  HWND settingsPage = PageAt(w, pageArea);
  ASSERT_NE(settingsPage, nullptr);
  ClickAt(w, POINT{r.left + 120, r.top + 178}, "Ka.TkaGPGlyphContainerButton");
  HWND reportsPage = nullptr;
  for (int i = 0; i < 100 && (reportsPage = PageAt(w, pageArea)) == settingsPage; ++i) ::Sleep(100);
  EXPECT_NE(reportsPage, nullptr);
  EXPECT_NE(reportsPage, settingsPage);

  // The menu button (49..151 x 0..35) pressed: the popup menu hangs under its middle. Its
  // menu loop holds the press, so no release follows; "Exit" is chosen by its accelerator.
  PressAt(w, POINT{r.left + 100, r.top + 17}, "Ka.TkaGPGlyphContainerButton");
  HWND menu = WaitForPopupMenu(pi.dwProcessId, 120000);
  ASSERT_NE(menu, nullptr);
  RECT m;
  ::GetWindowRect(menu, &m);
  EXPECT_EQ(m.top, r.top + 35);
  EXPECT_NEAR((m.left + m.right) / 2.0, r.left + 100, 1.0);
  ::PostMessageW(menu, WM_CHAR, L'x', 1);
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);

  std::string output;
  char buf[512];
  DWORD n = 0;
  while (::ReadFile(readErr, buf, sizeof(buf), &n, nullptr) && n > 0) output.append(buf, n);
  EXPECT_NE(output.find("VCL: 0 object(s) still alive at exit"), std::string::npos) << output;
  ::CloseHandle(readErr);
}

}  // namespace
