// The demo program as a user meets it: started as its own process, its main window appears
// centred at 768 x 501, and a click on its caption's close button ends the process with exit
// code 0 and no framework objects left alive.
#include <gtest/gtest.h>

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

TEST(Demo, MainWindowAppearsCentredAndItsCloseButtonEndsTheProgramCleanly) {
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

  // The caption's close button, 45 x 29 in the window's top-right corner, clicked where a
  // user would: the pointer over its middle, then a press and a release on its window.
  const POINT centre{r.right - 23, r.top + 14};
  HWND button = DeepestChildAt(w, centre);
  wchar_t className[64] = L"";
  ::GetClassNameW(button, className, 64);
  ASSERT_STREQ(className, L"Ka.TkaGPGlyphButton");
  POINT local = centre;
  ::ScreenToClient(button, &local);
  const LPARAM pos = MAKELPARAM(local.x, local.y);
  ::SetCursorPos(centre.x, centre.y);
  ::PostMessageW(button, WM_MOUSEMOVE, 0, pos);
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, pos);
  ::PostMessageW(button, WM_LBUTTONUP, 0, pos);
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);

  std::string output;
  char buf[512];
  DWORD n = 0;
  while (::ReadFile(readErr, buf, sizeof(buf), &n, nullptr) && n > 0) output.append(buf, n);
  EXPECT_NE(output.find("0 object(s) still alive at exit"), std::string::npos) << output;
  ::CloseHandle(readErr);
}

}  // namespace
