#include "tools/DemoShots.h"

#include <cstdint>
#include <cwchar>
#include <exception>
#include <functional>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Forms.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

// How long a state may take to show before the capture gives up on it.
constexpr DWORD kStateTimeoutMs = 5000;
// Long enough for two pointer-leave polls and the one-off repaint timers of new controls.
constexpr DWORD kSettleMs = 250;
// Activation and the pointer are shared with everything else on the display; a state that
// something else took away is brought back this often before the capture fails.
constexpr int kAttempts = 5;

// Runs the message loop until Done() holds or TimeoutMs passes; the final answer of Done().
bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    if (Done()) return true;
    if (::GetTickCount() - start >= TimeoutMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD Ms) {
  PumpUntil([] { return false; }, Ms);
}

// Every monitor reports Dpi while this lives, so the form and its controls take that scale
// when the form is created and first shown.
class TMonitorDpiScope {
 public:
  explicit TMonitorDpiScope(int Dpi) {
    TMonitor::SetPixelsPerInchOverride([Dpi](HMONITOR) { return Dpi; });
  }
  ~TMonitorDpiScope() { TMonitor::SetPixelsPerInchOverride(nullptr); }
  TMonitorDpiScope(const TMonitorDpiScope&) = delete;
  TMonitorDpiScope& operator=(const TMonitorDpiScope&) = delete;
};

// The side menu's icons keep the frame they show while this lives: their clock stands still.
class TStillIconsScope {
 public:
  TStillIconsScope() {
    TSkAnimatedImage::SetClock([] { return 0.0; });
  }
  ~TStillIconsScope() { TSkAnimatedImage::SetClock(nullptr); }
  TStillIconsScope(const TStillIconsScope&) = delete;
  TStillIconsScope& operator=(const TStillIconsScope&) = delete;
};

// The program's main window, made the way the program makes it; the scaling handlers reach
// the form through the global Form1, which points at it exactly while it lives.
class TDemoWindow {
 public:
  TDemoWindow() {
    if (Form1 != nullptr) throw Exception(L"The demo's main window already exists");
    Application->CreateForm(Form1);
    FForm = Form1;
  }
  ~TDemoWindow() {
    FForm->Free();
    Form1 = nullptr;
    Application->ProcessMessages();
  }
  TDemoWindow(const TDemoWindow&) = delete;
  TDemoWindow& operator=(const TDemoWindow&) = delete;

  TForm1* Form() const { return FForm; }

 private:
  TForm1* FForm = nullptr;
};

// A small top-level window of this process, visible while it lives; activating it takes
// the activation away from the main window for real.
class TOtherWindow {
 public:
  explicit TOtherWindow(TPoint At)
      : FHandle(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, At.X, At.Y, 16, 16,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {
    if (FHandle == nullptr) throw Exception(L"Cannot create a window to activate");
  }
  ~TOtherWindow() { ::DestroyWindow(FHandle); }
  TOtherWindow(const TOtherWindow&) = delete;
  TOtherWindow& operator=(const TOtherWindow&) = delete;

  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle;
};

TRect WindowRect(HWND Wnd) {
  RECT r{};
  ::GetWindowRect(Wnd, &r);
  return TRect(r);
}

void Require(bool Condition, const wchar_t* What) {
  if (!Condition) throw Exception(String(L"Demo capture: ") + What);
}

void Activate(HWND Wnd) {
  ::SetForegroundWindow(Wnd);
  ::SetActiveWindow(Wnd);
}

// The page area's middle: nothing there reacts to the pointer.
void ParkPointer(TForm1* Form) {
  const TRect r = WindowRect(Form->Handle());
  ::SetCursorPos(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  Application->ProcessMessages();
}

TPoint CentreOf(TWinControl* Control) { return TPoint(Control->Width() / 2, Control->Height() / 2); }

// The pointer over a control's middle, with the move the control would hear from the
// system, and time for the leave polls of the control it left to run.
void Hover(TWinControl* Control) {
  const TPoint centre = CentreOf(Control);
  const TPoint screen = Control->ClientToScreen(centre);
  ::SetCursorPos(screen.X, screen.Y);
  ::SendMessageW(Control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.X, centre.Y));
  PumpFor(kSettleMs);
}

// A left click on a control's middle, as the pointer gives it.
void ClickOn(TWinControl* Control) {
  const TPoint centre = CentreOf(Control);
  const TPoint screen = Control->ClientToScreen(centre);
  ::SetCursorPos(screen.X, screen.Y);
  const LPARAM at = MAKELPARAM(centre.X, centre.Y);
  ::SendMessageW(Control->Handle(), WM_MOUSEMOVE, 0, at);
  ::SendMessageW(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(Control->Handle(), WM_LBUTTONUP, 0, at);
  Application->ProcessMessages();
}

// Lets every window of the form paint what is pending, and the timers that follow run.
void Settle(TCustomForm* Form) {
  Application->ProcessMessages();
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(kSettleMs);
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::GdiFlush();
}

// What the window lacks of State, or nullptr when it shows it: activation and the pointer
// are shared with every program on the display, and another one may take either away.
const wchar_t* MissingOfState(TForm1* Form, TDemoShotState State) {
  if (State == TDemoShotState::Inactive) return Form->Active() ? L"the window is active" : nullptr;
  if (!Form->Active()) return L"the window is not active";
  if (State == TDemoShotState::CloseHot && !Form->CloseButton->MouseIn()) return L"the close button is not hot";
  if (State == TDemoShotState::PageHot && !Form->kaGPGlyphContainerButton3->MouseIn())
    return L"the \"Data\" button is not hot";
  if (State == TDemoShotState::PageSelected &&
      (Form->kaPageViewer1->PageIndex() != 1 || !Form->kaGPGlyphContainerButton2->Down()))
    return L"the \"Reports\" page is not shown";
  if (State == TDemoShotState::Maximized && !Form->kaStyledForm1->IsDWMClientMaximized())
    return L"the window is not maximised";
  if (State == TDemoShotState::About &&
      (Form->kaPageViewer1->PageIndex() != 3 || !Form->kaGPGlyphContainerButton1->Down()))
    return L"the \"About\" page is not shown";
  if (State == TDemoShotState::SettingsWindows11 && !Form->kaGPToggleSwitch1->IsOn())
    return L"\"Windows11 UI\" is not on";
  return nullptr;
}

// (Re)gives the window the activation and the pointer position of State; Other is the
// window that holds the activation for the inactive state.
void ApplyState(TForm1* Form, TDemoShotState State, HWND Other) {
  if (State == TDemoShotState::Inactive) {
    Activate(Other);
    PumpUntil([&] { return !Form->Active(); }, kStateTimeoutMs);
  } else {
    Activate(Form->Handle());
    PumpUntil([&] { return Form->Active(); }, kStateTimeoutMs);
  }
  if (State == TDemoShotState::CloseHot)
    Hover(Form->CloseButton);
  else if (State == TDemoShotState::PageHot)
    Hover(Form->kaGPGlyphContainerButton3);
  else
    ParkPointer(Form);
  Settle(Form);
}

// The popup menu window of this thread that is on screen, if any.
HWND VisibleMenuWindow() {
  struct TFind {
    static BOOL CALLBACK Visit(HWND Wnd, LPARAM Found) {
      wchar_t name[16] = L"";
      ::GetClassNameW(Wnd, name, 16);
      if (std::wcscmp(name, L"#32768") != 0 || !::IsWindowVisible(Wnd)) return TRUE;
      *reinterpret_cast<HWND*>(Found) = Wnd;
      return FALSE;
    }
  };
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), TFind::Visit, reinterpret_cast<LPARAM>(&found));
  return found;
}

// How often the drop-down watch looks for the menu, and for how many looks the menu must
// have been on screen (painted, and shown on the display) before the action runs.
constexpr UINT kMenuWatchMs = 30;
constexpr int kMenuShownLooks = 5;

// The menu loop runs the thread's timers: a timer procedure is how code gets to run while
// a menu is open. It reaches its work through this, set while one watch runs.
struct TMenuWatch {
  const std::function<bool(HWND)>* Action = nullptr;
  DWORD Start = 0;
  int Looks = 0;
  bool Done = false;
  bool Shown = false;
  std::exception_ptr Failure;
};
TMenuWatch* ActiveMenuWatch = nullptr;

void CALLBACK MenuWatchTick(HWND, UINT, UINT_PTR, DWORD) {
  TMenuWatch* w = ActiveMenuWatch;
  if (w == nullptr || w->Done) return;
  const HWND menu = VisibleMenuWindow();
  if (menu == nullptr) {
    if (::GetTickCount() - w->Start < kStateTimeoutMs) return;
    w->Done = true;
    ::EndMenu();
    return;
  }
  if (++w->Looks < kMenuShownLooks) return;
  w->Done = true;
  w->Shown = true;
  bool closed = false;
  try {
    closed = (*w->Action)(menu);
  } catch (...) {
    // Not through the menu loop's own frames: handed back to the caller once it returns.
    w->Failure = std::current_exception();
  }
  if (!closed) ::EndMenu();
}

// The modal window's watch, like the drop-down menu's: a thread timer runs inside the modal
// loop that the click starts.
struct TModalWatch {
  const std::function<void(TCustomForm*)>* Action = nullptr;
  DWORD Start = 0;
  bool Done = false;
  bool Shown = false;
  std::exception_ptr Failure;
};
TModalWatch* ActiveModalWatch = nullptr;

TCustomForm* VisibleModalForm() {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FormState().Contains(fsModal) && f->HandleAllocated() && ::IsWindowVisible(f->Handle())) return f;
  }
  return nullptr;
}

void CALLBACK ModalWatchTick(HWND, UINT, UINT_PTR, DWORD) {
  TModalWatch* w = ActiveModalWatch;
  if (w == nullptr || w->Done) return;
  TCustomForm* modal = VisibleModalForm();
  if (modal == nullptr) {
    if (::GetTickCount() - w->Start >= kStateTimeoutMs) w->Done = true;
    return;
  }
  w->Done = true;
  w->Shown = true;
  try {
    (*w->Action)(modal);
  } catch (...) {
    w->Failure = std::current_exception();
  }
  if (modal->FormState().Contains(fsModal) && modal->ModalResult() == mrNone) modal->SetModalResult(mrCancel);
}

// The modal window on top of everything, active, the pointer over its middle and painted.
const wchar_t* ShowModalForCapture(TCustomForm* Modal) {
  const HWND h = Modal->Handle();
  ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Activate(h);
  PumpUntil([&] { return Modal->Active(); }, kStateTimeoutMs);
  const TRect r = WindowRect(h);
  ::SetCursorPos(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  Settle(Modal);
  return Modal->Active() ? nullptr : L"the modal window is not active";
}

}  // namespace

String DemoShotStateName(TDemoShotState State) {
  switch (State) {
    case TDemoShotState::Normal: return L"normal";
    case TDemoShotState::CloseHot: return L"close-hot";
    case TDemoShotState::Maximized: return L"maximized";
    case TDemoShotState::Inactive: return L"inactive";
    case TDemoShotState::PageHot: return L"page-hot";
    case TDemoShotState::PageSelected: return L"reports";
    case TDemoShotState::MenuOpen: return L"menu-open";
    case TDemoShotState::About: return L"about";
    case TDemoShotState::SettingsWindows11: return L"settings-win11";
    case TDemoShotState::SecondForm: return L"second-form";
    case TDemoShotState::Message: return L"message";
  }
  return L"";
}

String DemoShotFileName(TDemoShotState State, int Dpi) {
  return L"demo-" + DemoShotStateName(State) + L"-" + std::to_wstring(Dpi) + L".png";
}

std::unique_ptr<TBitmap> CaptureScreenRect(const TRect& R) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(R.Width(), R.Height());
  {
    TWindowDC screen(nullptr);
    Require(::BitBlt(bitmap->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), screen.Get(), R.Left, R.Top,
                     SRCCOPY | CAPTUREBLT) != FALSE,
            L"the screen cannot be copied");
  }
  ::GdiFlush();
  for (int y = 0; y < R.Height(); ++y) {
    auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < R.Width(); ++x) row[x * 4 + 3] = 255;
  }
  return bitmap;
}

bool WithDropDownMenuOpen(TWinControl* Button, const std::function<bool(HWND Menu)>& Action) {
  if (ActiveMenuWatch != nullptr) throw Exception(L"A drop-down menu is already being watched");
  TMenuWatch watch;
  watch.Action = &Action;
  watch.Start = ::GetTickCount();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kMenuWatchMs, MenuWatchTick);
  Require(timer != 0, L"no timer for the drop-down menu");
  ActiveMenuWatch = &watch;
  struct TEndWatch {
    UINT_PTR Timer;
    ~TEndWatch() {
      ::KillTimer(nullptr, Timer);
      ActiveMenuWatch = nullptr;
    }
  } endWatch{timer};
  const TPoint centre = CentreOf(Button);
  const TPoint screen = Button->ClientToScreen(centre);
  ::SetCursorPos(screen.X, screen.Y);
  const LPARAM at = MAKELPARAM(centre.X, centre.Y);
  ::SendMessageW(Button->Handle(), WM_MOUSEMOVE, 0, at);
  // The press drops the menu down and returns when the menu loop has ended.
  ::SendMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  if (Button->HandleAllocated()) ::SendMessageW(Button->Handle(), WM_LBUTTONUP, 0, at);
  if (watch.Failure) std::rethrow_exception(watch.Failure);
  return watch.Shown;
}

bool WithModalWindowOpen(TWinControl* Button, const std::function<void(TCustomForm* Modal)>& Action) {
  if (ActiveModalWatch != nullptr) throw Exception(L"A modal window is already being watched");
  TModalWatch watch;
  watch.Action = &Action;
  watch.Start = ::GetTickCount();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kMenuWatchMs, ModalWatchTick);
  Require(timer != 0, L"no timer for the modal window");
  ActiveModalWatch = &watch;
  struct TEndWatch {
    UINT_PTR Timer;
    ~TEndWatch() {
      ::KillTimer(nullptr, Timer);
      ActiveModalWatch = nullptr;
    }
  } endWatch{timer};
  ClickOn(Button);
  if (watch.Failure) std::rethrow_exception(watch.Failure);
  return watch.Shown;
}

namespace {

// The second window or the message window, opened from the settings page of a main window
// that shows it, as a picture; nullptr with Missing set when it could not be shown.
std::unique_ptr<TBitmap> CaptureModal(TForm1* Form, TDemoShotState State, const wchar_t*& Missing) {
  std::unique_ptr<TBitmap> picture;
  TWinControl* opener = State == TDemoShotState::SecondForm ? static_cast<TWinControl*>(Form->kaButton1)
                                                            : static_cast<TWinControl*>(Form->kaButton2);
  const bool shown = WithModalWindowOpen(opener, [&](TCustomForm* Modal) {
    Missing = ShowModalForCapture(Modal);
    if (Missing == nullptr) picture = CaptureScreenRect(WindowRect(Modal->Handle()));
  });
  // The second window outlives its showing; each picture makes its own at its own scale.
  if (Form2 != nullptr) Form2->Free();
  Application->ProcessMessages();
  if (!shown) Missing = L"the modal window did not show";
  return picture;
}

}  // namespace

std::unique_ptr<TBitmap> CaptureDemoMainWindow(TDemoShotState State, int Dpi) {
  TMonitorDpiScope dpi(Dpi);
  TStillIconsScope still;
  // Windows 11 is stood in for: its version, and a compositor that records what it is asked.
  std::unique_ptr<TkaCompositionTesting> windows11;
  if (State == TDemoShotState::SettingsWindows11) {
    windows11 = std::make_unique<TkaCompositionTesting>();
    windows11->SetVersion(10, 0, 22000);
    windows11->SetCompositionEnabled(true);
  }
  TDemoWindow window;
  TForm1* form = window.Form();
  form->Show();
  const HWND h = form->Handle();
  // Other programs on the same display must not cover the picture.
  ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Activate(h);
  PumpUntil([&] { return form->Active(); }, kStateTimeoutMs);

  std::unique_ptr<TOtherWindow> other;
  if (State == TDemoShotState::Maximized) {
    form->MaxButtonClick(form->MaxButton);
    Require(PumpUntil([&] { return form->kaStyledForm1->IsDWMClientMaximized(); }, kStateTimeoutMs),
            L"the window did not maximise");
  } else if (State == TDemoShotState::Inactive) {
    other = std::make_unique<TOtherWindow>(Screen->MonitorFromWindow(h).WorkareaRect().TopLeft());
  } else if (State == TDemoShotState::PageSelected) {
    ClickOn(form->kaGPGlyphContainerButton2);
  } else if (State == TDemoShotState::About) {
    ClickOn(form->kaGPGlyphContainerButton1);
  }
  const bool modal = State == TDemoShotState::SecondForm || State == TDemoShotState::Message;
  const wchar_t* missing = nullptr;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    ApplyState(form, State, other != nullptr ? other->Handle() : nullptr);
    if ((missing = MissingOfState(form, State)) != nullptr) continue;
    if (modal) {
      std::unique_ptr<TBitmap> picture = CaptureModal(form, State, missing);
      if (picture != nullptr) return picture;
      continue;
    }
    std::unique_ptr<TBitmap> picture;
    if (State == TDemoShotState::MenuOpen) {
      const bool shown = WithDropDownMenuOpen(form->MenuButton, [&](HWND) {
        if ((missing = MissingOfState(form, State)) == nullptr) picture = CaptureScreenRect(WindowRect(h));
        return false;
      });
      if (!shown) missing = L"the popup menu did not show";
      if (picture == nullptr) continue;
      Settle(form);
    } else {
      picture = CaptureScreenRect(WindowRect(h));
    }
    // Still so afterwards: the picture shows the state, not one taken away meanwhile.
    if ((missing = MissingOfState(form, State)) == nullptr) return picture;
  }
  throw Exception(L"Demo capture of \"" + DemoShotStateName(State) + L"\" at " + std::to_wstring(Dpi) +
                  L" dpi: " + missing + L" (something else on the display keeps taking it away)");
}
