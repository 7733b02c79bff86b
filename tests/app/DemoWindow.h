// The demo's real main window for the end-to-end tests, and the pointer and keyboard input a
// user gives it, as window messages with the real cursor put where they say.
#pragma once

#include <memory>

#include "app/Unit1.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "tests/support/TestControls.h"

namespace demotest {

// Builds that the window tells apart: Windows 10 with backdrops (17134 to 21999), Windows 11,
// and a Windows 10 too old for them.
constexpr int kWindows10Build = 19045;
constexpr int kWindows11Build = 22000;
constexpr int kWindows10NoBackdropBuild = 16299;

inline TRect WindowRect(HWND Wnd) {
  RECT r;
  ::GetWindowRect(Wnd, &r);
  return TRect(r);
}

// Where a control's window really is, in its parent window's client coordinates.
inline TRect PlacedRect(TWinControl* Control) {
  HWND h = Control->Handle();
  RECT r;
  ::GetWindowRect(h, &r);
  ::MapWindowPoints(nullptr, ::GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return TRect(r);
}

inline TRect ScreenRect(TWinControl* Control) { return WindowRect(Control->Handle()); }

inline void Settle(DWORD Ms) {
  const DWORD until = ::GetTickCount() + Ms;
  PumpUntil([&] { return static_cast<LONG>(::GetTickCount() - until) >= 0; }, Ms + 1000);
}

// Activation reaches the windows partly through the display server, later than the call:
// wait for it, and for what follows it, to arrive.
inline void Activate(TCustomForm* Form) {
  ::SetActiveWindow(Form->Handle());
  PumpUntil([&] { return ::GetActiveWindow() == Form->WindowHandle(); }, 2000);
  Settle(150);
}

inline LPARAM ClientPos(TPoint P) { return MAKELPARAM(P.X, P.Y); }

// A mouse message to a control's window, with the real cursor put where the message says
// (the library reads the cursor, not the message, for drags and the pointer-leave poll).
inline void MouseAt(TWinControl* Control, UINT Msg, WPARAM Keys, TPoint ClientP) {
  const TPoint s = Control->ClientToScreen(ClientP);
  ::SetCursorPos(s.X, s.Y);
  ::SendMessageW(Control->Handle(), Msg, Keys, ClientPos(ClientP));
}

inline TPoint Centre(TControl* Control) { return TPoint(Control->Width() / 2, Control->Height() / 2); }

// The pointer moves onto a control's middle: the move it hears, then the enter and leave
// notifications the framework derives from where the pointer now is.
inline void PointerTo(TWinControl* Control) {
  MouseAt(Control, WM_MOUSEMOVE, 0, Centre(Control));
  PumpPending();
}

// A left click in the middle of a button: the pointer enters it, presses and releases.
inline void Click(TWinControl* Button) {
  const TPoint p = Centre(Button);
  MouseAt(Button, WM_MOUSEMOVE, 0, p);
  MouseAt(Button, WM_LBUTTONDOWN, MK_LBUTTON, p);
  MouseAt(Button, WM_LBUTTONUP, 0, p);
  PumpPending();
}

inline void DoubleClick(TWinControl* Control, TPoint P) {
  MouseAt(Control, WM_LBUTTONDOWN, MK_LBUTTON, P);
  MouseAt(Control, WM_LBUTTONUP, 0, P);
  MouseAt(Control, WM_LBUTTONDBLCLK, MK_LBUTTON, P);
}

// A key pressed and released on the window that has the keyboard focus, through the message
// loop, where the form sees dialog keys (Tab) before the focused control.
inline void PressKey(WORD Key) {
  HWND focus = ::GetFocus();
  ::PostMessageW(focus, WM_KEYDOWN, Key, 1);
  ::PostMessageW(focus, WM_KEYUP, Key, 0xC0000001);
  PumpPending();
}

// The main window as the program makes it: from its layout through Application->CreateForm,
// with the global Form1 pointing at it while it lives and the taskbar button its own. The
// compositor is stood in for (Wine has none), so the window is in the styled form's DWM
// client mode as it is on Windows: Windows 10 with backdrops unless the test says which
// build (there the start-up handler leaves the layout's frame and side menu as stored);
// the monitor's DPI is what the test says.
class TMainWindow {
 public:
  explicit TMainWindow(int MonitorPpi = 96, int WindowsBuild = kWindows10Build, bool Composition = true)
      : FMonitorPpi(std::make_shared<int>(MonitorPpi)) {
    FComposition.SetVersion(10, 0, WindowsBuild);
    FComposition.SetCompositionEnabled(Composition);
    std::shared_ptr<int> ppi = FMonitorPpi;
    TMonitor::SetPixelsPerInchOverride([ppi](HMONITOR) { return *ppi; });
    FOnTaskBar = Application->MainFormOnTaskBar();
    Application->SetMainFormOnTaskBar(true);
    ::SetCursorPos(0, 0);
    Application->CreateForm(Form1);
    Form1->Show();
    PumpPending();
    Activate(Form1);
  }
  ~TMainWindow() {
    if (Form1 != nullptr) Form1->Free();
    Form1 = nullptr;
    PumpPending();
    Application->SetMainFormOnTaskBar(FOnTaskBar);
    TMonitor::SetPixelsPerInchOverride(nullptr);
  }
  TMainWindow(const TMainWindow&) = delete;
  TMainWindow& operator=(const TMainWindow&) = delete;

  // The window moves to a monitor of another DPI: the system's message with the rectangle
  // it suggests (the window's size scaled to the new DPI).
  void MoveToDpi(int Ppi) {
    const TRect r = WindowRect(Handle());
    const int old = Form1->PixelsPerInch();
    *FMonitorPpi = Ppi;
    RECT suggested{r.Left, r.Top, r.Left + ::MulDiv(r.Width(), Ppi, old), r.Top + ::MulDiv(r.Height(), Ppi, old)};
    ::SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(Ppi, Ppi), reinterpret_cast<LPARAM>(&suggested));
    PumpPending();
  }

  HWND Handle() const { return Form1->Handle(); }
  TkaStyledForm* Styled() const { return Form1->kaStyledForm1; }
  // What the window asked of the compositor so far.
  TkaCompositionTesting& Composition() { return FComposition; }

 private:
  TkaCompositionTesting FComposition;
  std::shared_ptr<int> FMonitorPpi;
  bool FOnTaskBar = false;
};

}  // namespace demotest
