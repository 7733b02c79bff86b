// TApplication (the message loop and its key pre-processing, mouse enter/leave tracking,
// the report of live objects at exit) and TScreen with its monitors.
#include <cstdio>
#include <exception>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/PointerPos.h"
#include "framework/Timers.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
void ReportAliveObjectsAtExit() { TApplication::ReportAliveObjects(); }

// The process's screen and application, made before main runs and freed after it ends. The
// report of objects alive waits for the other units' process-wide objects (the icon font...)
// to be freed, which the run-time may do after this.
struct TFrameworkLifetime {
  TUnitLifetime Unit;
  TFrameworkLifetime() {
    Screen = new TScreen();
    Application = new TApplication();
  }
  ~TFrameworkLifetime() {
    bool report = Application->ReportObjectsAtExit();
    FreeAndNil(Application);
    FreeAndNil(Screen);
    if (report) TUnitLifetime::WhenAllEnded(&ReportAliveObjectsAtExit);
  }
} gFrameworkLifetime;
}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
  SetTimerExceptionHandler([](TObject* Sender, std::exception_ptr Error) {
    if (Application == nullptr) return;
    try {
      std::rethrow_exception(Error);
    } catch (...) {
      Application->HandleException(Sender);
    }
  });
}

TApplication::~TApplication() {
  SetTimerExceptionHandler(nullptr);
  FreeAndNil(FHintTimer);
  // Forms go first, while the rest of the framework is still in place.
  FMainForm = nullptr;
  DestroyComponents();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FMainForm) FMainForm = nullptr;
    if (AComponent == FMouseControl) FMouseControl = nullptr;
    if (AComponent == FHintWindow) FHintWindow = nullptr;
    if (AComponent == FHintControl) CancelHint();
  }
}

void TApplication::FormDestroyed(TCustomForm* Form) {
  if (Form == FMainForm) FMainForm = nullptr;
  if (FMouseControl != nullptr && (FMouseControl == Form || Form->ContainsControl(FMouseControl)))
    FMouseControl = nullptr;
  if (FHintControl != nullptr && (FHintControl == Form || Form->ContainsControl(FHintControl))) CancelHint();
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (Control == FMouseControl) FMouseControl = nullptr;
  if (Control == FHintWindow) FHintWindow = nullptr;
  if (Control == FHintControl) CancelHint();
}

int TApplication::ReportAliveObjects() {
  int n = TObject::AliveCount();
  String text = Format(L"Karvo VCL: %d object(s) still alive at exit\n", n);
  ::OutputDebugStringW(text.c_str());
  std::fputs(ToUtf8(text).c_str(), stderr);
  std::fflush(stderr);
  return n;
}

void TApplication::HandleException(TObject* Sender) {
  ++FExceptionCount;
  try {
    throw;
  } catch (const std::exception& e) {
    if (OnException) {
      OnException(Sender, e);
      return;
    }
    String msg = FromUtf8(e.what());
    String text = Format(L"Unhandled exception in %ls: %ls\n", Sender != nullptr ? Sender->ClassName() : L"?", msg.c_str());
    ::OutputDebugStringW(text.c_str());
    std::fputs(ToUtf8(text).c_str(), stderr);
  } catch (...) {
    std::fputs("Unhandled exception of unknown type\n", stderr);
  }
}

void TApplication::Run() {
  if (FMainForm != nullptr && FShowMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  if (FTerminated) return;
  ::PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Idle() {
  DoMouseIdle();
  if (OnIdle) OnIdle(this);
  if (!FTerminated) ::WaitMessage();
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!::PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) HideHint();
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (!handled && !IsKeyMsg(Msg)) {
    ::TranslateMessage(&Msg);
    ::DispatchMessageW(&Msg);
  }
  return true;
}

// Dialog keys (Tab, arrows, Enter, Escape) go to the form unless the focused control wants
// them; accelerators are offered to every control of the form.
bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN && Msg.message != WM_CHAR &&
      Msg.message != WM_SYSCHAR)
    return false;
  TWinControl* control = nullptr;
  for (HWND h = Msg.hwnd; h != nullptr && control == nullptr; h = ::GetParent(h)) control = TWinControl::FindControl(h);
  if (control == nullptr) return false;
  TCustomForm* form = GetParentForm(control);
  if (form == nullptr) return false;
  WORD key = static_cast<WORD>(Msg.wParam);
  if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
    bool dialogKey = key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
                     key == VK_RETURN || key == VK_EXECUTE || key == VK_ESCAPE || key == VK_CANCEL;
    if (!dialogKey) return false;
    if (control->Perform(CM_WANTSPECIALKEY, key, Msg.lParam) != 0) return false;
    LRESULT code = control->Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&Msg));
    if ((code & DLGC_WANTALLKEYS) != 0) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB) != 0) return false;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS) != 0)
      return false;
    return form->Perform(CM_DIALOGKEY, key, Msg.lParam) != 0;
  }
  if (Msg.message == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, key, Msg.lParam) != 0;
  LRESULT code = control->Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&Msg));
  if ((code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) != 0) return false;
  return form->Perform(CM_DIALOGCHAR, key, Msg.lParam) != 0;
}

void TApplication::Minimize() {
  if (FMainForm != nullptr && FMainForm->HandleAllocated()) ::ShowWindow(FMainForm->WindowHandle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (FMainForm != nullptr && FMainForm->HandleAllocated()) ::ShowWindow(FMainForm->WindowHandle(), SW_RESTORE);
}

void TApplication::TrackMouseWindow(TWinControl* Control) {
  if (Control->HandleAllocated()) {
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, Control->WindowHandle(), 0};
    ::TrackMouseEvent(&t);
  }
  DoMouseIdle();
}

// The control under the pointer hears CM_MOUSEENTER, the previous one CM_MOUSELEAVE.
void TApplication::DoMouseIdle() {
  TControl* target = FindDragTarget(PointerPos(), true);
  CheckHintControl(target);
  if (target == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = target;
  if (old != nullptr) old->Perform(CM_MOUSELEAVE);
  if (target != nullptr && FMouseControl == target) target->Perform(CM_MOUSEENTER);
}

// ---- Screen and monitors -----------------------------------------------------------------

namespace {
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
GetDpiForMonitorFn DpiForMonitorFunction() {
  static GetDpiForMonitorFn fn = [] {
    HMODULE m = ::LoadLibraryW(L"shcore.dll");
    return m != nullptr ? reinterpret_cast<GetDpiForMonitorFn>(::GetProcAddress(m, "GetDpiForMonitor")) : nullptr;
  }();
  return fn;
}
int SystemPPI() {
  HDC dc = ::GetDC(nullptr);
  int ppi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}
}  // namespace

TRect TMonitor::BoundsRect() const {
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(FHandle, &mi);
  return TRect(mi.rcMonitor);
}

TRect TMonitor::WorkareaRect() const {
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(FHandle, &mi);
  return TRect(mi.rcWork);
}

bool TMonitor::Primary() const {
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(FHandle, &mi);
  return (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

namespace {
std::function<int(HMONITOR)>& MonitorPpiOverride() {
  static std::function<int(HMONITOR)> Override;
  return Override;
}
}  // namespace

void TMonitor::SetPixelsPerInchOverride(std::function<int(HMONITOR)> Override) {
  MonitorPpiOverride() = std::move(Override);
}

int TMonitor::PixelsPerInch() const {
  if (const auto& Override = MonitorPpiOverride()) {
    if (const int Ppi = Override(FHandle); Ppi > 0) return Ppi;
  }
  if (auto fn = DpiForMonitorFunction()) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(fn(FHandle, 0 /* effective DPI */, &x, &y)) && y > 0) return static_cast<int>(y);
  }
  return SystemPPI();
}

TScreen::TScreen() : TComponent(nullptr) {}

TScreen::~TScreen() { delete FHintFont; }

TFont* TScreen::HintFont() {
  if (FHintFont != nullptr) return FHintFont;
  FHintFont = new TFont();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    const LOGFONTW& lf = metrics.lfStatusFont;
    if (lf.lfFaceName[0] != L'\0') FHintFont->SetName(lf.lfFaceName);
    if (lf.lfHeight != 0) FHintFont->SetHeight(lf.lfHeight);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    FHintFont->SetStyle(style);
    FHintFont->SetCharset(lf.lfCharSet);
  }
  FHintFont->SetColor(clInfoText);
  FHintFont->SetPixelsPerInch(PixelsPerInch());
  return FHintFont;
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) ListIndexError(Index);
  return FForms[Index];
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
}

TCustomForm* TScreen::ActiveForm() const {
  HWND active = ::GetActiveWindow();
  for (TCustomForm* f : FForms)
    if (f->HandleAllocated() && f->WindowHandle() == active) return f;
  return nullptr;
}

int TScreen::PixelsPerInch() const { return SystemPPI(); }

TRect TScreen::WorkAreaRect() const {
  RECT r;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return TRect(r);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  POINT p;
  ::GetCursorPos(&p);
  ::SetCursorPos(p.x, p.y);
}

TMonitor TScreen::MonitorFromPoint(TPoint P) const {
  return TMonitor(::MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::MonitorFromWindow(HWND Wnd) const { return TMonitor(::MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST)); }

TMonitor TScreen::MonitorFromRect(const TRect& R) const {
  return TMonitor(::MonitorFromRect(R.AsRECT(), MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::PrimaryMonitor() const { return TMonitor(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }
