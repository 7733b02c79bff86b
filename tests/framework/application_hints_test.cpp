// The application's control hints: shown after the hint pause over a control whose ShowHint is
// on, hidden after the hide pause, by a press, a key or the pointer leaving the control, moved
// along after the short pause, CM_HINTSHOW and OnShowHint, and no handles left behind. The
// timers are driven by hand (the pauses are far longer than a test, and each test delivers the
// tick itself), and so is the pointer: the application hears where it is from the test, and
// the real one stays parked away from the windows.
#include <gtest/gtest.h>

#include "framework/PointerPos.h"
#include "tests/support/PointerScope.h"
#include "framework/Timers.h"
#include "tests/support/TestControls.h"

namespace {

constexpr int kLongPause = 600000;

// The application's hint settings, put back after a test.
struct TAppHintRestore {
  int Pause = Application->HintPause(), ShortPause = Application->HintShortPause(),
      HidePause = Application->HintHidePause();
  bool Show = Application->ShowHint();
  ~TAppHintRestore() {
    Application->CancelHint();
    Application->OnShowHint = nullptr;
    Application->SetShowHint(Show);
    Application->SetHintPause(Pause);
    Application->SetHintShortPause(ShortPause);
    Application->SetHintHidePause(HidePause);
  }
};

using testsupport::gPointer;
using testsupport::TPointerScope;

// A form with a panel that has a hint, a child of it without a text of its own, and a panel
// without a hint; the pointer starts away from all of them.
struct THintScene {
  TPointerScope Pointer;
  TAppHintRestore Restore;
  TCustomForm* Form;
  TTestPanel* WithHint;
  TTestPanel* Child;
  TTestPanel* Plain;
  THintScene() {
    Application->SetHintPause(kLongPause);
    Application->SetHintShortPause(kLongPause / 2);
    Application->SetHintHidePause(kLongPause * 2);
    ::SetCursorPos(0, 0);  // the real pointer, away from the form
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(200, 200, 300, 120);
    WithHint = NewPanel(Bounds(10, 10, 120, 100));
    WithHint->SetShowHint(true);
    WithHint->SetHint(L"Panel hint");
    Child = new TTestPanel(Form);
    Child->SetBounds(60, 50, 40, 30);
    Child->SetParent(WithHint);
    Child->SetParentShowHint(true);
    Plain = NewPanel(Bounds(160, 10, 120, 100));
    Form->Show();
    PumpPending();
  }
  ~THintScene() {
    Application->CancelHint();
    Form->Free();
    PumpPending();
  }
  THintScene(const THintScene&) = delete;
  THintScene& operator=(const THintScene&) = delete;

  TTestPanel* NewPanel(const TRect& R) {
    auto* p = new TTestPanel(Form);
    p->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    p->SetParent(Form);
    return p;
  }
};

// The pointer moved onto C at (X, Y) of its client area, as the control hears it.
void PointerTo(TWinControl* C, int X, int Y) {
  gPointer = C->ClientToScreen(TPoint(X, Y));
  C->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
}

bool HintTimerArmed() { return Application->HintTimer() != nullptr && Application->HintTimer()->Enabled(); }

// The hint timer's tick, as its Windows timer would deliver it.
void TickHintTimer() {
  ASSERT_TRUE(HintTimerArmed());
  ::SendMessageW(TimerWindow(), WM_TIMER, Application->HintTimer()->TimerId(), 0);
}

bool HintShown() {
  THintWindow* w = Application->HintWindow();
  return w != nullptr && w->HandleAllocated() && ::IsWindowVisible(w->WindowHandle());
}

TRect WindowRect(TWinControl* W) {
  RECT r{};
  ::GetWindowRect(W->WindowHandle(), &r);
  return TRect(r);
}

TEST(ApplicationHints, ShowAfterThePauseBelowThePointerAndHideAfterTheHidePause) {
  THintScene s;
  PointerTo(s.WithHint, 40, 30);
  EXPECT_EQ(Application->HintControl(), s.WithHint);
  ASSERT_TRUE(HintTimerArmed()) << "the hint waits for the pause";
  EXPECT_EQ(Application->HintTimer()->Interval(), kLongPause);
  EXPECT_FALSE(HintShown());
  // Moving on the same control does not start the pause over.
  const UINT_PTR pending = Application->HintTimer()->TimerId();
  PointerTo(s.WithHint, 42, 31);
  EXPECT_EQ(Application->HintTimer()->TimerId(), pending);

  TickHintTimer();
  ASSERT_TRUE(HintShown());
  THintWindow* w = Application->HintWindow();
  EXPECT_EQ(w->Text(), L"Panel hint");
  const TPoint cursor = s.WithHint->ClientToScreen(TPoint(42, 31));
  EXPECT_EQ(WindowRect(w).TopLeft(), TPoint(cursor.X, cursor.Y + ::GetSystemMetrics(SM_CYCURSOR)));
  EXPECT_NE(::GetWindowLongW(w->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(::GetActiveWindow(), w->WindowHandle()) << "a hint never takes the activation";
  EXPECT_EQ(::SendMessageW(w->WindowHandle(), WM_NCHITTEST, 0, MAKELPARAM(cursor.X, cursor.Y)), HTTRANSPARENT);

  ASSERT_TRUE(HintTimerArmed()) << "the hide pause runs";
  EXPECT_EQ(Application->HintTimer()->Interval(), kLongPause * 2);
  TickHintTimer();
  EXPECT_FALSE(HintShown());
  EXPECT_FALSE(HintTimerArmed());
  EXPECT_EQ(Application->HintControl(), s.WithHint) << "no new hint until the pointer goes to another control";
  PointerTo(s.WithHint, 50, 40);
  EXPECT_FALSE(HintTimerArmed());
}

TEST(ApplicationHints, APressOrAKeyHidesTheHintUntilThePointerMovesOn) {
  THintScene s;
  const struct {
    const char* Name;
    std::function<void()> Do;
  } cases[] = {
      // The control may take the capture on a press; the release never comes here.
      {"left press", [&] {
         s.WithHint->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
         ::ReleaseCapture();
       }},
      {"right press", [&] {
         s.WithHint->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 30));
         ::ReleaseCapture();
       }},
      {"key", [&] {
         // Through the application's message loop, where keys pass.
         ::PostMessageW(s.WithHint->Handle(), WM_KEYDOWN, 'A', 0);
         PumpPending();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Application->CancelHint();
    PointerTo(s.WithHint, 40, 30);
    TickHintTimer();
    ASSERT_TRUE(HintShown());
    c.Do();
    EXPECT_FALSE(HintShown());
    EXPECT_FALSE(HintTimerArmed());
    PointerTo(s.WithHint, 41, 30);
    EXPECT_FALSE(HintTimerArmed()) << "stays away on the same control";
  }
  // Another control with a hint starts the pause again.
  PointerTo(s.Plain, 40, 30);
  s.Plain->SetShowHint(true);
  s.Plain->SetHint(L"Other");
  PointerTo(s.Plain, 41, 30);
  EXPECT_TRUE(HintTimerArmed());
  EXPECT_EQ(Application->HintControl(), s.Plain);
}

TEST(ApplicationHints, LeavingTheControlHidesTheHint) {
  THintScene s;
  // To a control without a hint.
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  PointerTo(s.Plain, 40, 30);
  EXPECT_FALSE(HintShown());
  EXPECT_FALSE(HintTimerArmed());
  EXPECT_EQ(Application->HintControl(), nullptr);

  // Off every window of ours: the application notices when it next looks at the pointer.
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  gPointer = TPoint(5, 5);
  Application->DoMouseIdle();
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(Application->HintControl(), nullptr);

  // A pending hint goes too: the pointer left before the pause ended.
  PointerTo(s.WithHint, 40, 30);
  ASSERT_TRUE(HintTimerArmed());
  PointerTo(s.Plain, 40, 30);
  EXPECT_FALSE(HintTimerArmed());

  // The control freed under a shown hint.
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  s.Child->Free();
  s.WithHint->Free();
  s.WithHint = nullptr;
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(Application->HintControl(), nullptr);
}

TEST(ApplicationHints, TheNextControlsHintFollowsAfterTheShortPause) {
  THintScene s;
  s.Plain->SetShowHint(true);
  s.Plain->SetHint(L"Second hint");
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  PointerTo(s.Plain, 40, 30);
  EXPECT_FALSE(HintShown());
  ASSERT_TRUE(HintTimerArmed());
  EXPECT_EQ(Application->HintTimer()->Interval(), kLongPause / 2) << "a hint was up: the short pause";
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Text(), L"Second hint");

  // Without a hint shown, the full pause again.
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();  // shows
  TickHintTimer();  // hides after the hide pause
  PointerTo(s.Plain, 40, 30);
  ASSERT_TRUE(HintTimerArmed());
  EXPECT_EQ(Application->HintTimer()->Interval(), kLongPause);
}

TEST(ApplicationHints, ParentsGiveShowHintAndText) {
  THintScene s;
  // The child shows hints because its parent does, and shows its parent's text.
  PointerTo(s.Child, 10, 10);
  EXPECT_EQ(Application->HintControl(), s.Child);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Text(), L"Panel hint");
  s.Child->SetHint(L"Own text");
  Application->ActivateHint(s.Child->ClientToScreen(TPoint(10, 10)));
  EXPECT_EQ(Application->HintWindow()->Text(), L"Own text");

  // A control with ShowHint off under a parent that has it on gives the parent's hint.
  s.Child->SetShowHint(false);
  Application->CancelHint();
  PointerTo(s.Child, 10, 10);
  EXPECT_EQ(Application->HintControl(), s.WithHint);
  TickHintTimer();
  EXPECT_EQ(Application->HintWindow()->Text(), L"Panel hint");

  // A control with a hint but ShowHint off anywhere up the chain shows nothing.
  Application->CancelHint();
  s.Plain->SetHint(L"Not shown");
  PointerTo(s.Plain, 10, 10);
  EXPECT_FALSE(HintTimerArmed());
  Application->ActivateHint(s.Plain->ClientToScreen(TPoint(10, 10)));
  EXPECT_FALSE(HintShown());

  // The application's ShowHint off: no hints at all; turning it off hides the one shown.
  PointerTo(s.WithHint, 40, 30);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  Application->SetShowHint(false);
  EXPECT_FALSE(HintShown());
  PointerTo(s.Child, 10, 10);
  EXPECT_FALSE(HintTimerArmed());
}

TEST(ApplicationHints, CMHintShowAndOnShowHintDecideWhatIsShown) {
  THintScene s;
  const TPoint at = s.WithHint->ClientToScreen(TPoint(40, 30));
  gPointer = at;
  THintInfo seen;
  int asked = 0;
  std::function<LRESULT(THintInfo&)> answer;
  TWndMethod saved = s.WithHint->WindowProc;
  s.WithHint->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_HINTSHOW) {
      ++asked;
      THintInfo& info = *reinterpret_cast<THintInfo*>(m.LParam);
      seen = info;
      if (answer) {
        m.Result = answer(info);
        return;
      }
    }
    saved(m);
  };

  Application->ActivateHint(at);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(seen.HintControl, s.WithHint);
  EXPECT_EQ(seen.HintStr, L"Panel hint");
  EXPECT_EQ(seen.CursorPos, TPoint(40, 30));
  EXPECT_EQ(seen.CursorRect, s.WithHint->ClientRect());
  EXPECT_EQ(seen.HideTimeout, kLongPause * 2);
  EXPECT_EQ(seen.HintWindowClass.Name(), L"THintWindow");

  // The control changes the text and the place.
  answer = [&](THintInfo& info) {
    info.HintStr = L"From the control";
    info.HintPos = TPoint(at.X + 30, at.Y + 40);
    return LRESULT(0);
  };
  Application->ActivateHint(at);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Text(), L"From the control");
  EXPECT_EQ(WindowRect(Application->HintWindow()).TopLeft(), TPoint(at.X + 30, at.Y + 40));

  // A non-zero answer shows nothing; an empty text neither.
  answer = [](THintInfo&) { return LRESULT(1); };
  Application->ActivateHint(at);
  EXPECT_FALSE(HintShown());
  answer = [](THintInfo& info) {
    info.HintStr.clear();
    return LRESULT(0);
  };
  Application->ActivateHint(at);
  EXPECT_FALSE(HintShown());

  // HideTimeout 0 keeps the hint up.
  answer = [](THintInfo& info) {
    info.HideTimeout = 0;
    return LRESULT(0);
  };
  Application->ActivateHint(at);
  EXPECT_TRUE(HintShown());
  EXPECT_FALSE(HintTimerArmed());

  // OnShowHint sees what the control made of it and has the last word.
  answer = nullptr;
  String given;
  Application->OnShowHint = [&](String& HintStr, bool& CanShow, THintInfo& Info) {
    given = HintStr;
    EXPECT_EQ(Info.HintControl, s.WithHint);
    HintStr = L"From the application";
    CanShow = !given.empty() && given != L"Refused";
  };
  Application->ActivateHint(at);
  EXPECT_EQ(given, L"Panel hint");
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Text(), L"From the application");
  s.WithHint->SetHint(L"Refused");
  Application->ActivateHint(at);
  EXPECT_FALSE(HintShown());
  s.WithHint->WindowProc = saved;
}

TEST(ApplicationHints, LeavingTheCursorRectShowsTheHintAnew) {
  THintScene s;
  TWndMethod saved = s.WithHint->WindowProc;
  // The control has two parts: its left and right halves, each with its own hint.
  s.WithHint->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_HINTSHOW) {
      THintInfo& info = *reinterpret_cast<THintInfo*>(m.LParam);
      const bool left = info.CursorPos.X < 60;
      info.CursorRect = left ? TRect(0, 0, 60, 100) : TRect(60, 0, 120, 100);
      info.HintStr = left ? L"Left part" : L"Right part";
      m.Result = 0;
      return;
    }
    saved(m);
  };
  PointerTo(s.WithHint, 20, 30);
  TickHintTimer();
  ASSERT_EQ(Application->HintWindow()->Text(), L"Left part");
  PointerTo(s.WithHint, 50, 30);
  EXPECT_TRUE(HintShown()) << "still inside the part";
  PointerTo(s.WithHint, 80, 30);
  EXPECT_FALSE(HintShown());
  ASSERT_TRUE(HintTimerArmed());
  EXPECT_EQ(Application->HintTimer()->Interval(), kLongPause / 2);
  TickHintTimer();
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Text(), L"Right part");
  s.WithHint->WindowProc = saved;
}

TEST(ApplicationHints, TheWindowSizesToItsTextAndStaysInTheWorkArea) {
  THintScene s;
  THintWindow* w = nullptr;
  Application->ActivateHint(s.WithHint->ClientToScreen(TPoint(40, 30)));
  w = Application->HintWindow();
  ASSERT_NE(w, nullptr);
  const TRect one = w->CalcHintRect(0, L"Line", nullptr), two = w->CalcHintRect(0, L"Line\r\nLine", nullptr);
  EXPECT_EQ(two.Width(), one.Width());
  EXPECT_GT(two.Height(), one.Height());
  // Lines wrap at the width given.
  const TRect wide = w->CalcHintRect(0, L"word word word word word word", nullptr);
  const TRect narrow = w->CalcHintRect(wide.Width() / 2, L"word word word word word word", nullptr);
  EXPECT_LT(narrow.Width(), wide.Width());
  EXPECT_GT(narrow.Height(), wide.Height());

  const TRect wa = Screen->MonitorFromPoint(TPoint(0, 0)).WorkareaRect();
  TRect r = one;
  r.Offset(wa.Right - 5, wa.Bottom - 5);
  w->ActivateHint(r, L"Line");
  const TRect placed = WindowRect(w);
  EXPECT_EQ(placed.Right, wa.Right);
  EXPECT_EQ(placed.Bottom, wa.Bottom);
  EXPECT_EQ(placed.Width(), one.Width());
}

TEST(ApplicationHints, HintsMadeAndDestroyedLeaveNoHandlesBehind) {
  THintScene s;
  const TPoint at = s.WithHint->ClientToScreen(TPoint(40, 30));
  gPointer = at;
  Application->ActivateHint(at);
  Application->HideHint();
  PumpPending();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 100; ++i) {
    Application->ActivateHint(at);
    ASSERT_TRUE(HintShown());
    Application->HideHint();
  }
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
