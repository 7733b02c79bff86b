// A monkey on the demo's real windows: seeded random pointer and keyboard input through the
// windows' message queues (posted, routed to the window under the pointer the way the system
// routes it, so the platform's own moving, sizing and menu loops run), plus what a user does
// to a window from outside it: resizing, minimising, moving it to a monitor of another DPI.
// It opens and closes the second window and the message window (and drives them in their
// modal loops), drops popup menus, switches pages and backdrops, and closes the main window
// now and then (a new one is made and the run goes on).
//
// Checked: no event hangs (a watchdog), no exception reaches the message loop, and once the
// windows are gone no framework object is left alive and the GDI and USER objects are back
// where they were (within 2; after a warm-up that makes what the process keeps per DPI).
//
// Each run prints its seed; a failure prints the last 50 events. Flags:
//   --monkey-seed N     only that seed (default: seeds 1, 2 and 3)
//   --monkey-events M   events per seed (default 500); with the seed, replays a failure
//   --monkey-repeat K   the seed K times over (does a count come back after a second run?)
//   --monkey-warm-up W  events of the warm-up run before the counts are taken (default 300)
//   --monkey-profile 1  where the time goes, by kind of event
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MessageUnit.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Forms.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedPopupListBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/app/DemoWindow.h"
#include "tests/app/MonkeyInput.h"
#include "tests/support/Handles.h"

namespace {

using namespace demotest;
using monkey::TRng;

std::string Fmt(const char* Format, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* Format, ...) {
  char text[200];
  va_list args;
  va_start(args, Format);
  std::vsnprintf(text, sizeof(text), Format, args);
  va_end(args);
  return text;
}

int UserObjectCount() {
  ::SetLastError(0);
  const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  return ThreadWindowCount();
}

// The parts of one of the demo's three windows that the monkey aims at.
struct TFormParts {
  TCustomForm* Form = nullptr;
  TkaStyledForm* Styled = nullptr;
  TWinControl* Caption = nullptr;
  TWinControl* Close = nullptr;
  TWinControl* Max = nullptr;
  TWinControl* Min = nullptr;
  bool IsMain = false;
};

TFormParts PartsOf(TCustomForm* Form) {
  TFormParts p;
  p.Form = Form;
  if (auto* f = dynamic_cast<TForm1*>(Form)) {
    p = {Form, f->kaStyledForm1, f->CaptionLabel, f->CloseButton, f->MaxButton, f->MinButton, true};
  } else if (auto* f2 = dynamic_cast<TForm2*>(Form)) {
    p = {Form, f2->kaStyledForm1, f2->CaptionLabel, f2->CloseButton, f2->MaxButton, f2->MinButton, false};
  } else if (auto* m = dynamic_cast<TMessageForm*>(Form)) {
    p = {Form, m->kaStyledForm1, m->CaptionLabel, m->CloseButton, nullptr, nullptr, false};
  }
  return p;
}

bool Showing(TWinControl* C) { return C != nullptr && C->HandleAllocated() && ::IsWindowVisible(C->Handle()); }

TCustomForm* TopModalForm() {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FormState().Contains(fsModal) && f->HandleAllocated() && ::IsWindowVisible(f->Handle())) return f;
  }
  return nullptr;
}

HWND VisibleMenuWindow() {
  for (HWND h = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); h != nullptr;
       h = ::FindWindowExW(nullptr, h, L"#32768", nullptr))
    if (monkey::OurWindow(h) && ::IsWindowVisible(h)) return h;
  return nullptr;
}

BOOL CALLBACK CollectShown(HWND Wnd, LPARAM List) {
  if (::IsWindowVisible(Wnd)) reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
  return TRUE;
}

struct TStep {
  UINT Msg;
  POINT P;
  WPARAM Keys;
};

struct TStats {
  int Events = 0, MainWindows = 1, SecondShown = 0, MessagesShown = 0, MenusShown = 0, DpiChanges = 0;
  std::map<std::string, int> Closes;  // by the event that closed the main window
};

class TMonkey {
 public:
  TMonkey(uint64_t Seed, int Events) : FRng(Seed), FSeed(Seed), FEvents(Events) {}
  TMonkey(const TMonkey&) = delete;
  TMonkey& operator=(const TMonkey&) = delete;

  void Run();
  const TStats& Stats() const { return FStats; }
  bool Failed() const { return FFailed; }

 private:
  // ---- Running ----
  void Pump();
  void Idle(DWORD Ms);
  bool Done() const { return FFailed || FIndex >= FEvents; }
  void Fault(const std::string& What);
  void Event(TCustomForm* Form);
  void AfterEvent();
  void Note(const std::string& What) {
    FLastNote = What;
    monkey::Log().Add(FIndex, What);
  }
  std::string FLastNote;
  void Profile();
  const bool FProfile = monkey::HasFlag(L"profile");
  std::map<std::string, std::pair<int, DWORD>> FSpent;
  DWORD FLastTick = ::GetTickCount();
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();
  void HandleMenu(HWND Menu);
  void DriveModal(TCustomForm* Modal);
  void CloseModal(TCustomForm* Modal);
  void ReopenMainWindow();

  // ---- Gestures ----
  POINT RandomPointNear(HWND Wnd, int Margin);
  POINT RandomPointIn(TWinControl* C);
  POINT Spare(POINT P);
  void Gesture(const std::vector<TStep>& Steps);
  void ClickAt(POINT P, const char* What);
  void DragFrom(POINT From, POINT To, const char* What);
  void ClickControl(TWinControl* C, const char* What) { ClickAt(RandomPointIn(C), What); }

  // ---- Actions ----
  void AnyWindowAction(const TFormParts& F);
  void MainWindowAction();
  void KeyAction();
  void FrameAction(const TFormParts& F);
  void RingDrag(const TFormParts& F);
  void ResizeWindow(const TFormParts& F);
  void ShowPage(int Page);
  void SettingsAction();
  void ComboAction();
  void ChangeDpi();
  void CloseMainWindow();

  TRng FRng;
  uint64_t FSeed;
  int FEvents;
  int FIndex = 0;
  bool FFailed = false;
  int FExceptions = 0;
  int FQuitCode = -1;
  int FPpiStep = 0;
  std::unique_ptr<TMainWindow> FMain;
  std::vector<TCustomForm*> FDriving;
  HWND FMenu = nullptr;
  int FMenuTicks = 0;
  TStats FStats;
  static TMonkey* FActive;
};

TMonkey* TMonkey::FActive = nullptr;

// ---- Running ------------------------------------------------------------------------------------

// Dispatches what is queued. A main window's close posts the quit message; it is taken here
// (and a new main window made) so that the run goes on.
void TMonkey::Pump() {
  MSG m;
  while (::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE)) {
    if (m.message == WM_QUIT) {
      ::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
      FQuitCode = static_cast<int>(m.wParam);
      continue;
    }
    try {
      Application->ProcessMessage(m);
    } catch (const std::exception& e) {
      Fault(std::string("an exception reached the message loop: ") + e.what());
    } catch (...) {
      Fault("an exception of unknown type reached the message loop");
    }
  }
}

void TMonkey::Idle(DWORD Ms) {
  const DWORD until = ::GetTickCount() + Ms;
  while (static_cast<LONG>(::GetTickCount() - until) < 0) {
    Pump();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  Pump();
}

void TMonkey::Fault(const std::string& What) {
  if (FFailed) return;
  FFailed = true;
  monkey::Log().Dump(stdout, ("FAULT: " + What).c_str());
  ADD_FAILURE() << What << " (seed " << FSeed << ", event " << FIndex << "); the last events are printed above";
}

void TMonkey::AfterEvent() {
  if (Application->ExceptionCount() != FExceptions) {
    FExceptions = Application->ExceptionCount();
    Fault("an exception escaped a message handler (see stderr)");
  }
  if (Application->Terminated()) Fault("the application was terminated inside a nested loop");
}

// Popup menus and modal windows run loops of their own inside an event; this tick, a thread
// timer, goes on with the run inside them.
void CALLBACK TMonkey::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (FActive != nullptr) FActive->OnTick();
}

void TMonkey::OnTick() {
  if (HWND menu = VisibleMenuWindow()) {
    HandleMenu(menu);
    return;
  }
  FMenu = nullptr;
  TCustomForm* modal = TopModalForm();
  if (modal == nullptr || std::find(FDriving.begin(), FDriving.end(), modal) != FDriving.end()) return;
  if (modal->ModalResult() != mrNone) return;
  FDriving.push_back(modal);
  DriveModal(modal);
  FDriving.pop_back();
}

// A menu is left with Escape mostly; sometimes an item is chosen by its accelerator, which
// on the main window's menu ("E&xit") closes the window. A menu that will not go is ended.
void TMonkey::HandleMenu(HWND Menu) {
  if (Menu != FMenu) {
    FMenu = Menu;
    FMenuTicks = 0;
    ++FStats.MenusShown;
    return;  // let it show first
  }
  ++FMenuTicks;
  if (FMenuTicks > 40) {
    Note("menu: would not close, ended");
    ::EndMenu();
    return;
  }
  if (FMenuTicks % 2 != 1) return;
  const int r = FRng.Below(20);
  if (r < 15 || Done()) {
    Note("menu: Escape");
    ::PostMessageW(Menu, WM_KEYDOWN, VK_ESCAPE, 1);
  } else if (r < 19 || !FRng.OneIn(4)) {
    Note("menu: Down");
    ::PostMessageW(Menu, WM_KEYDOWN, VK_DOWN, 1);
  } else {
    Note("menu: accelerator x");
    ::PostMessageW(Menu, WM_CHAR, L'x', 1);
  }
  ++FIndex;
}

void TMonkey::DriveModal(TCustomForm* Modal) {
  if (dynamic_cast<TForm2*>(Modal) != nullptr)
    ++FStats.SecondShown;
  else
    ++FStats.MessagesShown;
  Note(Fmt("modal %ls shown", Modal->ClassName()));
  Idle(30);
  int budget = FRng.Between(3, 60);
  while (budget-- > 0 && !Done() && Modal->ModalResult() == mrNone && Modal->FormState().Contains(fsModal)) {
    Event(Modal);
  }
  if (Modal->ModalResult() == mrNone && Modal->FormState().Contains(fsModal)) CloseModal(Modal);
}

// Closed as a user closes it: its close button, Escape, or Alt+F4; the loop ends after this
// tick returns.
void TMonkey::CloseModal(TCustomForm* Modal) {
  const TFormParts f = PartsOf(Modal);
  if (::IsIconic(Modal->Handle()) || ::IsIconic(Form1->Handle())) {
    Note("restore from the taskbar");
    Application->Restore();
    Idle(20);
  }
  for (int attempt = 0; attempt < 3 && Modal->ModalResult() == mrNone; ++attempt) {
    switch (FRng.Below(3)) {
      case 0:
        if (Showing(f.Close)) {
          ClickAt(RandomPointIn(f.Close), "close the modal window: its close button");
          break;
        }
        [[fallthrough]];
      case 1:
        Modal->SetFocus();
        Note("close the modal window: Escape");
        monkey::PostKey(VK_ESCAPE);
        Pump();
        break;
      default:
        Modal->SetFocus();
        Note("close the modal window: Alt+F4");
        monkey::PostKey(VK_F4, true);
        Pump();
        break;
    }
  }
  if (Modal->ModalResult() == mrNone && Modal->FormState().Contains(fsModal)) {
    // Escape does not close the second window; the monkey then takes its close button.
    Note("close the modal window: ModalResult");
    Modal->SetModalResult(mrCancel);
  }
}

void TMonkey::ReopenMainWindow() {
  if (FQuitCode != 0) Fault(Fmt("the main window's close ended the program with code %d", FQuitCode));
  FQuitCode = -1;
  Note("main window closed; a new one is made");
  const std::string how = monkey::Log().Previous();
  FStats.Closes[how.substr(0, how.find_first_of(":0123456789"))]++;
  FMain.reset();
  FMain = std::make_unique<TMainWindow>(96);
  FPpiStep = 0;
  ++FStats.MainWindows;
}

void TMonkey::Run() {
  FActive = this;
  monkey::StartWatchdog();
  monkey::Log().Start(FSeed, FEvents);
  monkey::Log().Running = true;
  FExceptions = Application->ExceptionCount();
  FMain = std::make_unique<TMainWindow>(96);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 25, Tick);
  while (!Done()) {
    if (FQuitCode >= 0) ReopenMainWindow();
    Event(Form1);
  }
  Pump();
  if (FQuitCode >= 0) ReopenMainWindow();
  if (TCustomForm* modal = TopModalForm()) Fault(Fmt("%ls is still shown modally", modal->ClassName()));
  ::KillTimer(nullptr, timer);
  monkey::Log().Running = false;
  FStats.Events = FIndex;
  FActive = nullptr;
  FMain.reset();
}

// One event on Form (the main window, or the modal window being driven).
void TMonkey::Event(TCustomForm* Form) {
  if (!Form->HandleAllocated()) return;
  const TFormParts f = PartsOf(Form);
  ++FIndex;
  if (::IsIconic(Form1->Handle()) && FRng.OneIn(3)) {
    Note("restore from the taskbar");
    Application->Restore();
    Idle(20);
  } else if (f.IsMain && FRng.Below(1000) < 260) {
    MainWindowAction();
  } else {
    AnyWindowAction(f);
  }
  Pump();
  AfterEvent();
  if (FProfile) Profile();
}

// Where the run's time goes, by kind of event (--monkey-profile 1): printed every 500 events.
void TMonkey::Profile() {
  const DWORD now = ::GetTickCount();
  auto& e = FSpent[FLastNote.substr(0, FLastNote.find_first_of(":0123456789"))];
  ++e.first;
  e.second += now - FLastTick;
  FLastTick = now;
  if (FIndex % 500 == 0 || Done())
    for (const auto& [kind, spent] : FSpent)
      std::printf("  %-40s %5d %7lu ms\n", kind.c_str(), spent.first, static_cast<unsigned long>(spent.second));
}

// ---- Gestures -----------------------------------------------------------------------------------

POINT TMonkey::RandomPointNear(HWND Wnd, int Margin) {
  RECT r;
  ::GetWindowRect(Wnd, &r);
  ::InflateRect(&r, Margin, Margin);
  const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, w);
  r.bottom = std::min<LONG>(r.bottom, h);
  if (r.right <= r.left || r.bottom <= r.top) return POINT{FRng.Below(w), FRng.Below(h)};
  return POINT{FRng.Between(r.left, r.right - 1), FRng.Between(r.top, r.bottom - 1)};
}

POINT TMonkey::RandomPointIn(TWinControl* C) {
  RECT r;
  ::GetWindowRect(C->Handle(), &r);
  return POINT{FRng.Between(r.left, std::max(r.left, r.right - 1)), FRng.Between(r.top, std::max(r.top, r.bottom - 1))};
}

// Posts a gesture message by message, dispatching after each; after a press outside a client
// area the rest is queued first, for the platform's loop that the press starts.
void TMonkey::Gesture(const std::vector<TStep>& Steps) {
  HWND loop = nullptr;
  for (const TStep& s : Steps) {
    if (loop != nullptr) {
      if (monkey::OurWindow(loop)) monkey::PostFollowing(loop, s.Msg, s.P, s.Keys);
      continue;
    }
    const monkey::TPosted r = monkey::PostPointer(s.Msg, s.P, s.Keys);
    if (r.NonClient() && (s.Msg == WM_LBUTTONDOWN || s.Msg == WM_RBUTTONDOWN)) {
      loop = r.Target;
      continue;
    }
    Pump();
  }
  Pump();
}

// Pointer gestures anywhere on the main window hit its caption buttons and grip often; what
// they do (close, maximise, minimise, resize) is slow under test and has its own actions, so
// most such hits are moved elsewhere.
POINT TMonkey::Spare(POINT P) {
  if (Form1 == nullptr) return P;
  TWinControl* costly[] = {Form1->CloseButton, Form1->ExitButton, Form1->MaxButton, Form1->MinButton,
                           Form1->kaGPSizeBox1};
  for (int attempt = 0; attempt < 4; ++attempt) {
    const HWND under = ::WindowFromPoint(P);
    bool hit = false;
    for (TWinControl* c : costly)
      if (c->HandleAllocated() && (under == c->Handle() || ::GetParent(under) == c->Handle())) hit = true;
    if (!hit || FRng.OneIn(10)) return P;
    P = RandomPointNear(Form1->Handle(), 0);
  }
  return P;
}

void TMonkey::ClickAt(POINT P, const char* What) {
  Note(Fmt("%s: click at %ld,%ld", What, P.x, P.y));
  Gesture({{WM_MOUSEMOVE, P, 0}, {WM_LBUTTONDOWN, P, MK_LBUTTON}, {WM_LBUTTONUP, P, 0}});
}

void TMonkey::DragFrom(POINT From, POINT To, const char* What) {
  const int steps = FRng.Between(1, 8);
  Note(Fmt("%s: drag %ld,%ld -> %ld,%ld in %d", What, From.x, From.y, To.x, To.y, steps));
  std::vector<TStep> g{{WM_MOUSEMOVE, From, 0}, {WM_LBUTTONDOWN, From, MK_LBUTTON}};
  for (int i = 1; i <= steps; ++i)
    g.push_back({WM_MOUSEMOVE, POINT{From.x + (To.x - From.x) * i / steps, From.y + (To.y - From.y) * i / steps},
                 MK_LBUTTON});
  g.push_back({WM_LBUTTONUP, To, 0});
  Gesture(g);
}

// ---- Actions ------------------------------------------------------------------------------------

// What any of the three windows gets: the pointer anywhere on or around it, keys, its frame.
void TMonkey::AnyWindowAction(const TFormParts& F) {
  const HWND wnd = F.Form->Handle();
  const int r = FRng.Below(1000);
  if (r < 250) {
    const POINT p = RandomPointNear(wnd, 12);
    Note(Fmt("move to %ld,%ld", p.x, p.y));
    Gesture({{WM_MOUSEMOVE, p, 0}});
  } else if (r < 370) {
    ClickAt(Spare(RandomPointNear(wnd, 12)), "anywhere");
  } else if (r < 395) {
    const POINT p = Spare(RandomPointNear(wnd, 4));
    Note(Fmt("double click at %ld,%ld", p.x, p.y));
    Gesture({{WM_LBUTTONDOWN, p, MK_LBUTTON}, {WM_LBUTTONUP, p, 0}, {WM_LBUTTONDBLCLK, p, MK_LBUTTON},
             {WM_LBUTTONUP, p, 0}});
  } else if (r < 410) {
    const POINT p = RandomPointNear(wnd, 0);
    Note(Fmt("right click at %ld,%ld", p.x, p.y));
    Gesture({{WM_MOUSEMOVE, p, 0}, {WM_RBUTTONDOWN, p, MK_RBUTTON}, {WM_RBUTTONUP, p, 0}});
  } else if (r < 450) {
    DragFrom(Spare(RandomPointNear(wnd, 12)), RandomPointNear(wnd, 60), "anywhere");
  } else if (r < 490) {
    const POINT p = RandomPointNear(wnd, 0);
    const int delta = (FRng.OneIn(2) ? 1 : -1) * WHEEL_DELTA * FRng.Between(1, 3);
    Note(Fmt("wheel %d at %ld,%ld", delta, p.x, p.y));
    ::SetCursorPos(p.x, p.y);
    if (HWND focus = ::GetFocus(); monkey::OurWindow(focus))
      ::PostMessageW(focus, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), monkey::PointParam(p));
  } else if (r < 650) {
    KeyAction();
  } else if (r < 950) {
    // A control of the window, wherever it is: the page's controls, caption buttons, labels.
    std::vector<HWND> shown;
    ::EnumChildWindows(wnd, CollectShown, reinterpret_cast<LPARAM>(&shown));
    if (shown.empty()) return;
    const HWND h = shown[FRng.Below(static_cast<int>(shown.size()))];
    TWinControl* c = TWinControl::FindControl(h);
    if (c == nullptr) return;
    // The main window's close buttons end it; they are taken rarely, by CloseMainWindow.
    if (F.IsMain && (c == Form1->CloseButton || c == Form1->ExitButton || c->Parent() == Form1->ExitButton)) return;
    if (F.IsMain && (c == Form1->MaxButton || c == Form1->MinButton || c == Form1->kaGPSizeBox1) && !FRng.OneIn(10))
      return;
    if (FRng.OneIn(4))
      DragFrom(RandomPointIn(c), RandomPointNear(h, 30), ToUtf8(c->Name()).c_str());
    else
      ClickControl(c, ToUtf8(c->Name()).c_str());
  } else if (r < 970) {
    FrameAction(F);
  } else {
    const DWORD ms = static_cast<DWORD>(FRng.Between(5, 60));
    Note(Fmt("idle %lu ms", ms));
    Idle(ms);
  }
}

void TMonkey::KeyAction() {
  struct TKey {
    WORD Key;
    const char* Name;
    int Weight;
  };
  static const TKey keys[] = {{VK_TAB, "Tab", 6},     {VK_LEFT, "Left", 3},   {VK_RIGHT, "Right", 3},
                              {VK_UP, "Up", 3},       {VK_DOWN, "Down", 3},   {VK_SPACE, "Space", 4},
                              {VK_RETURN, "Enter", 3}, {VK_ESCAPE, "Escape", 2}, {VK_F4, "Alt+F4", 1}};
  int total = 0;
  for (const TKey& k : keys) total += k.Weight;
  int pick = FRng.Below(total);
  const TKey* key = keys;
  while (pick >= key->Weight) pick -= (key++)->Weight;
  const bool alt = key->Key == VK_F4;
  // Alt+F4 on the main window ends it, and so do Space and Enter on its "Exit" button (the
  // Tab order reaches it); a new window is slow to make, so those are taken rarely.
  const bool ends = alt ? TopModalForm() == nullptr
                        : (key->Key == VK_SPACE || key->Key == VK_RETURN) && Form1->ExitButton->Focused();
  if (ends && !FRng.OneIn(10)) return;
  Note(Fmt("key %s", key->Name));
  monkey::PostKey(key->Key, alt);
}

// The caption bar, caption buttons, the shadow ring and the window's size.
void TMonkey::FrameAction(const TFormParts& F) {
  switch (FRng.Below(8)) {
    case 0:
    case 1:
      if (Showing(F.Caption)) {
        const POINT from = RandomPointIn(F.Caption);
        DragFrom(from, POINT{from.x + FRng.Between(-300, 300), from.y + FRng.Between(-200, 200)}, "caption");
      }
      break;
    case 2:
      if (Showing(F.Caption)) {
        const POINT p = RandomPointIn(F.Caption);
        Note(Fmt("caption: double click at %ld,%ld", p.x, p.y));
        Gesture({{WM_MOUSEMOVE, p, 0}, {WM_LBUTTONDOWN, p, MK_LBUTTON}, {WM_LBUTTONUP, p, 0},
                 {WM_LBUTTONDBLCLK, p, MK_LBUTTON}, {WM_LBUTTONUP, p, 0}});
      }
      break;
    case 3:
      if (Showing(F.Max)) ClickControl(F.Max, "maximise button");
      break;
    case 4:
      if (Showing(F.Min) && FRng.OneIn(3)) ClickControl(F.Min, "minimise button");
      break;
    case 5:
    case 6: RingDrag(F); break;
    default: ResizeWindow(F); break;
  }
}

// A press in the shadow ring around the window and a drag: the platform's sizing loop.
void TMonkey::RingDrag(const TFormParts& F) {
  TkaHitTestWnd* ring = F.Styled != nullptr ? F.Styled->HitTestWnd() : nullptr;
  if (ring == nullptr || !Showing(ring)) return;
  RECT outer, inner;
  ::GetWindowRect(ring->Handle(), &outer);
  ::GetWindowRect(F.Form->Handle(), &inner);
  POINT p{};
  switch (FRng.Below(4)) {
    case 0: p = {FRng.Between(outer.left, inner.left - 1), FRng.Between(outer.top, outer.bottom - 1)}; break;
    case 1: p = {FRng.Between(inner.right, outer.right - 1), FRng.Between(outer.top, outer.bottom - 1)}; break;
    case 2: p = {FRng.Between(outer.left, outer.right - 1), FRng.Between(outer.top, inner.top - 1)}; break;
    default: p = {FRng.Between(outer.left, outer.right - 1), FRng.Between(inner.bottom, outer.bottom - 1)}; break;
  }
  DragFrom(p, POINT{p.x + FRng.Between(-250, 250), p.y + FRng.Between(-200, 200)}, "shadow ring");
}

// Resized from outside (a window manager's snap, a tool): a new size, the minimum applies.
void TMonkey::ResizeWindow(const TFormParts& F) {
  if (F.Styled != nullptr && F.Styled->IsDWMClientMaximized()) return;
  const int w = FRng.Between(200, 1400), h = FRng.Between(150, 1100);
  Note(Fmt("resize to %d x %d", w, h));
  ::SetWindowPos(F.Form->Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The main window's own parts: the side menu, the pages, the grip, DPI and closing.
void TMonkey::MainWindowAction() {
  const int r = FRng.Below(1000);
  if (r < 250) {
    ShowPage(FRng.Below(4));
  } else if (r < 560) {
    SettingsAction();
  } else if (r < 575) {
    if (Showing(Form1->kaGPSizeBox1)) {
      const POINT from = RandomPointIn(Form1->kaGPSizeBox1);
      DragFrom(from, POINT{from.x + FRng.Between(-400, 300), from.y + FRng.Between(-300, 250)}, "size grip");
    }
  } else if (r < 600) {
    // The border panel's own sizing band at its right edge.
    RECT b;
    ::GetWindowRect(Form1->BorderPanel->Handle(), &b);
    const POINT from{b.right - 1, FRng.Between(b.top + 40, b.bottom - 40)};
    DragFrom(from, POINT{from.x + FRng.Between(-200, 200), from.y}, "border edge");
  } else if (r < 625) {
    if (Showing(Form1->MenuButton)) ClickControl(Form1->MenuButton, "menu button");
  } else if (r < 635) {
    ChangeDpi();
  } else if (r < 940) {
    // The pointer passes over the side menu: icons play, hints and ripples start.
    TWinControl* items[] = {Form1->MenuButton, Form1->kaGPGlyphContainerButton1, Form1->kaGPGlyphContainerButton2,
                            Form1->kaGPGlyphContainerButton3, Form1->kaGPGlyphContainerButton4, Form1->ExitButton};
    TWinControl* c = items[FRng.Below(6)];
    if (!Showing(c)) return;
    const POINT p = RandomPointIn(c);
    Note(Fmt("hover %s at %ld,%ld", ToUtf8(c->Name()).c_str(), p.x, p.y));
    Gesture({{WM_MOUSEMOVE, p, 0}});
    Idle(static_cast<DWORD>(FRng.Between(5, 40)));
  } else if (r < 944) {
    CloseMainWindow();
  } else {
    const DWORD ms = static_cast<DWORD>(FRng.Between(5, 60));
    Note(Fmt("idle %lu ms", ms));
    Idle(ms);
  }
}

void TMonkey::ShowPage(int Page) {
  for (TkaGPGlyphContainerButton* b : {Form1->kaGPGlyphContainerButton1, Form1->kaGPGlyphContainerButton2,
                                       Form1->kaGPGlyphContainerButton3, Form1->kaGPGlyphContainerButton4})
    if (b->Tag() == Page && Showing(b)) ClickControl(b, Fmt("page %d button", Page).c_str());
}

// The settings page's controls; the page is shown first when it is not.
void TMonkey::SettingsAction() {
  if (Form1->kaPageViewer1->PageIndex() != 2) {
    ShowPage(2);
    return;
  }
  const int r = FRng.Below(100);
  if (r < 8) {
    ComboAction();
  } else if (r < 40) {
    TkaGPToggleSwitch* sw = Form1->kaGPToggleSwitch1;
    if (!Showing(sw)) return;
    RECT b;
    ::GetWindowRect(sw->Handle(), &b);
    const int y = (b.top + b.bottom) / 2, third = (b.right - b.left) / 3;
    const bool right = FRng.OneIn(2);
    const POINT from{right ? b.left + third / 2 : b.right - third / 2, y};
    const POINT to{right ? b.right - third / 2 + FRng.Between(-10, 30) : b.left + third / 2 - FRng.Between(-10, 30),
                   y + FRng.Between(-6, 6)};
    if (FRng.OneIn(3))
      ClickAt(from, "switch");
    else
      DragFrom(from, to, "switch thumb");
    Idle(static_cast<DWORD>(FRng.Between(0, 120)));
  } else if (r < 88) {
    TWinControl* boxes[] = {Form1->kaCheckBox2, Form1->kaCheckBox4};
    ClickControl(boxes[FRng.Below(2)], "check box");
  } else if (r < 94) {
    if (Showing(Form1->kaButton1)) ClickControl(Form1->kaButton1, "show second form");
  } else {
    if (Showing(Form1->kaButton2)) ClickControl(Form1->kaButton2, "show message form");
  }
}

// The backdrop combo box: its list dropped and a row taken by pointer (or left with
// Escape), or a step with the arrow keys, which applies a backdrop at once.
void TMonkey::ComboAction() {
  TkaAdvancedComboBox* combo = Form1->kaAdvancedComboBox1;
  if (!Showing(combo)) return;
  if (FRng.OneIn(2)) {
    combo->SetFocus();
    const bool up = FRng.OneIn(2);
    Note(Fmt("combo: key %s", up ? "Up" : "Down"));
    monkey::PostKey(up ? VK_UP : VK_DOWN);
    Pump();
    return;
  }
  ClickControl(combo, "combo");
  TWinControl* list = combo->ListBox();
  if (!combo->IsPopupVisible() || !Showing(list)) return;
  const POINT from = RandomPointIn(list);
  if (FRng.OneIn(5)) {
    Note("combo list: Escape");
    monkey::PostKey(VK_ESCAPE);
  } else if (FRng.OneIn(3)) {
    DragFrom(from, RandomPointIn(list), "combo list");
  } else {
    ClickAt(from, "combo list row");
  }
}

// The window moves to a monitor of the next DPI in 96, 120, 144, 192 and back.
void TMonkey::ChangeDpi() {
  static const int ppis[] = {96, 120, 144, 192};
  if (::IsIconic(Form1->Handle())) return;
  FPpiStep = (FPpiStep + 1) % 4;
  Note(Fmt("DPI %d", ppis[FPpiStep]));
  FMain->MoveToDpi(ppis[FPpiStep]);
  ++FStats.DpiChanges;
}

// The ways out of the main window, rarely: a new one is made after it.
void TMonkey::CloseMainWindow() {
  switch (FRng.Below(3)) {
    case 0:
      if (Showing(Form1->CloseButton)) ClickControl(Form1->CloseButton, "close button");
      break;
    case 1:
      if (Showing(Form1->ExitButton)) ClickControl(Form1->ExitButton, "exit button");
      break;
    default:
      Form1->SetFocus();
      Note("key Alt+F4 on the main window");
      monkey::PostKey(VK_F4, true);
      break;
  }
}

// ---- The runs -----------------------------------------------------------------------------------

void ForgetSecondForm() {
  if (Form2 != nullptr) Form2->Free();
}

// GDI objects by kind (OBJ_PEN .. OBJ_COLORSPACE), probed the way GdiObjectCount does under
// Wine, so that a failure says what kind of object grew.
std::vector<int> GdiObjectsByKind() {
  std::vector<int> n(16, 0);
  for (ULONG_PTR i = 1; i < 0x10000; ++i) {
    const DWORD kind = ::GetObjectType(reinterpret_cast<HGDIOBJ>(i));
    if (kind != 0 && kind < n.size()) ++n[kind];
  }
  return n;
}

// Ends any popup menu or modal window the warm-up tour opens.
void CALLBACK CloseNested(HWND, UINT, UINT_PTR, DWORD) {
  if (VisibleMenuWindow() != nullptr) ::EndMenu();
  if (TCustomForm* m = TopModalForm(); m != nullptr && m->ModalResult() == mrNone) m->SetModalResult(mrCancel);
}

// Every window, page, list and menu once at each DPI, reached both ways (made there, and
// moved there): what the process keeps per DPI is made before the counts are taken.
void WarmUpTour() {
  // Shared cursors and system colour brushes are made on first use and kept by the system for
  // the process (a cursor is a 1-bpp mask and two 32-bpp pictures under Wine); which of them a
  // run first needs depends on where the pointer happens to rest.
  for (LPCWSTR id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
                     IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP})
    ::LoadCursorW(nullptr, id);
  for (int c = 0; c <= COLOR_MENUBAR; ++c) ::GetSysColorBrush(c);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 150, CloseNested);
  for (int ppi : {96, 120, 144, 192}) {
    TMainWindow w(ppi);
    for (int moved : {120, 144, 192, 96, ppi}) w.MoveToDpi(moved);
    for (TWinControl* c : std::initializer_list<TWinControl*>{
             Form1->kaGPGlyphContainerButton1, Form1->kaGPGlyphContainerButton2, Form1->kaGPGlyphContainerButton3,
             Form1->kaGPGlyphContainerButton4, Form1->kaGPToggleSwitch1, Form1->kaCheckBox2, Form1->kaCheckBox4,
             Form1->kaGPToggleSwitch1, Form1->kaCheckBox2, Form1->kaCheckBox4, Form1->kaAdvancedComboBox1,
             Form1->MenuButton, Form1->kaButton1, Form1->kaButton2, Form1->MaxButton, Form1->MaxButton}) {
      Click(c);
      Settle(40);
      if (Form1->kaAdvancedComboBox1->IsPopupVisible()) PressKey(VK_ESCAPE);
    }
    Settle(300);
    ForgetSecondForm();
  }
  ::KillTimer(nullptr, timer);
}

// The live GDI handles by table slot, so that a failure can describe the objects it finds new.
std::vector<DWORD> GdiHandleKinds() {
  std::vector<DWORD> kinds(0x10000, 0);
  for (ULONG_PTR i = 1; i < kinds.size(); ++i) kinds[i] = ::GetObjectType(reinterpret_cast<HGDIOBJ>(i));
  return kinds;
}

struct TCounts {
  int Gdi, User, Alive;
  std::vector<int> GdiKinds;
  std::vector<DWORD> Handles;
};
TCounts CountsNow() {
  Settle(400);
  return {GdiObjectCount(), UserObjectCount(), TObject::AliveCount(), GdiObjectsByKind(), GdiHandleKinds()};
}

// What the objects a run left behind are: a bitmap's size and depth, a brush's style and
// colour, a font's face and height are usually enough to say who made them.
std::string DescribeNewObjects(const TCounts& Before, const TCounts& After) {
  std::string text;
  for (size_t i = 1; i < After.Handles.size(); ++i) {
    const DWORD kind = After.Handles[i];
    // Only kinds that grew: regions and DCs come and go in other slots all the time.
    if (kind == 0 || kind == Before.Handles[i] || kind >= After.GdiKinds.size() ||
        After.GdiKinds[kind] <= Before.GdiKinds[kind])
      continue;
    const auto h = reinterpret_cast<HGDIOBJ>(i);
    switch (After.Handles[i]) {
      case OBJ_BITMAP: {
        BITMAP b{};
        ::GetObjectW(h, sizeof b, &b);
        text += Fmt("\n    bitmap %dx%d, %d bpp%s", static_cast<int>(b.bmWidth), static_cast<int>(b.bmHeight),
                    static_cast<int>(b.bmBitsPixel), b.bmBits != nullptr ? ", DIB" : "");
        break;
      }
      case OBJ_BRUSH: {
        LOGBRUSH b{};
        ::GetObjectW(h, sizeof b, &b);
        text += Fmt("\n    brush style %u, colour %06lx", b.lbStyle, static_cast<unsigned long>(b.lbColor));
        break;
      }
      case OBJ_FONT: {
        LOGFONTW f{};
        ::GetObjectW(h, sizeof f, &f);
        text += Fmt("\n    font %ls, height %ld", f.lfFaceName, static_cast<long>(f.lfHeight));
        break;
      }
      default: text += Fmt("\n    object of kind %lu", static_cast<unsigned long>(After.Handles[i])); break;
    }
  }
  return text;
}

std::string KindsGrown(const TCounts& Before, const TCounts& After) {
  static const char* const names[] = {"", "pen", "brush", "dc", "metadc", "palette", "font", "bitmap", "region",
                                      "metafile", "memdc", "extpen", "enhmetadc", "enhmetafile", "colorspace", "?"};
  std::string text;
  for (size_t k = 1; k < After.GdiKinds.size(); ++k)
    if (After.GdiKinds[k] != Before.GdiKinds[k])
      text += Fmt(" %s %+d", names[k], After.GdiKinds[k] - Before.GdiKinds[k]);
  return text;
}

TEST(Monkey, SeededInputOnTheDemosWindowsHangsNothingThrowsNothingAndLeavesNothingBehind) {
  const int events = static_cast<int>(monkey::Flag(L"events", 500));
  std::vector<uint64_t> seeds{1, 2, 3};
  if (monkey::HasFlag(L"seed")) seeds = {static_cast<uint64_t>(monkey::Flag(L"seed", 1))};
  if (monkey::HasFlag(L"repeat")) seeds.resize(static_cast<size_t>(monkey::Flag(L"repeat", 1)), seeds[0]);
  int opened = 0;
  SetWebLauncher([&](const String&) { ++opened; });
  // Process-wide objects made on first use stay (the fonts, menu and list resources of each
  // DPI); they are not the windows'. A tour of everything at each DPI and a short run of its
  // own make them.
  WarmUpTour();
  {
    TMonkey warmUp(0x5EED, static_cast<int>(monkey::Flag(L"warm-up", 300)));
    warmUp.Run();
    ForgetSecondForm();
  }
  TCounts before = CountsNow();
  bool first = true;
  for (uint64_t seed : seeds) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::printf("monkey seed %llu, %d events\n", static_cast<unsigned long long>(seed), events);
    std::fflush(stdout);
    const DWORD start = ::GetTickCount();
    TMonkey m(seed, events);
    m.Run();
    ForgetSecondForm();
    const TStats& s = m.Stats();
    std::printf("monkey seed %llu: %d events in %.1f s; %d main windows, second window %d times, message "
                "window %d times, %d menus, %d DPI changes\n",
                static_cast<unsigned long long>(seed), s.Events, (::GetTickCount() - start) / 1000.0, s.MainWindows,
                s.SecondShown, s.MessagesShown, s.MenusShown, s.DpiChanges);
    for (const auto& [how, n] : s.Closes) std::printf("  main window closed %d times by: %s\n", n, how.c_str());
    std::fflush(stdout);
    const TCounts after = CountsNow();
    // A run can still take a path the warm-up did not and leave a few process-wide objects
    // made on first use (before the warm-up loaded the shared cursors, a cursor's three
    // bitmaps and a system colour brush showed up here, in whichever run first needed them);
    // a run after that must come back to where the one before it ended.
    if (after.Gdi != before.Gdi)
      std::printf("  GDI objects %+d:%s%s\n", after.Gdi - before.Gdi, KindsGrown(before, after).c_str(),
                  DescribeNewObjects(before, after).c_str());
    if (first)
      EXPECT_LE(std::abs(after.Gdi - before.Gdi), 8) << "GDI objects:" << KindsGrown(before, after);
    else
      EXPECT_NEAR(after.Gdi, before.Gdi, 2) << "GDI objects:" << KindsGrown(before, after);
    EXPECT_NEAR(after.User, before.User, 2) << "USER objects";
    EXPECT_EQ(after.Alive, before.Alive) << "framework objects alive once the windows are gone";
    if (m.Failed()) break;
    before = after;
    first = false;
  }
  SetWebLauncher(nullptr);
}

}  // namespace
