// Timers in a running message loop: repeated ticks, stopping, re-arming, and timers freed
// from their own handler or while a tick for them is queued. No test relies on exact timing:
// each waits for a condition with a generous deadline while pumping messages.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "framework/Timers.h"

namespace {

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Pumps messages until Done answers true (true) or the deadline passes (false).
bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000) {
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    PumpPending();
    if (Done()) return true;
    if (::GetTickCount64() - start > TimeoutMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD Ms) { PumpUntil([] { return false; }, Ms); }

class Timers : public ::testing::Test {
 protected:
  // Every test leaves no timer behind, so the thread's timer window is gone again.
  void TearDown() override { EXPECT_EQ(TimerWindow(), nullptr); }
};

TEST_F(Timers, DefaultsAndOwnership) {
  TComponent owner(nullptr);
  auto* timer = new TTimer(&owner);
  EXPECT_EQ(timer->Interval(), 1000);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_NE(timer->TimerId(), 0u);
  EXPECT_NE(TimerWindow(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  // The owner frees the timer, which kills its Windows timer and the idle window.
}

TEST_F(Timers, FiresRepeatedlyWhileTheLoopRuns) {
  TTimer timer(nullptr);
  int ticks = 0;
  TObject* sender = nullptr;
  timer.OnTimer = [&](TObject* Sender) {
    ++ticks;
    sender = Sender;
  };
  timer.SetInterval(20);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 4; }));
  EXPECT_EQ(sender, &timer);
}

TEST_F(Timers, DisablingStopsTicksAndEnablingResumesThem) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(15);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));

  timer.SetEnabled(false);
  EXPECT_EQ(timer.TimerId(), 0u);
  const int stopped = ticks;
  PumpFor(250);
  EXPECT_EQ(ticks, stopped);

  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= stopped + 2; }));

  // An interval of 0 stops the ticks as well.
  timer.SetInterval(0);
  EXPECT_EQ(timer.TimerId(), 0u);
  const int zeroed = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, zeroed);
}

TEST_F(Timers, IntervalChangeTakesEffect) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(60000);
  PumpFor(200);
  EXPECT_EQ(ticks, 0);
  const UINT_PTR slowId = timer.TimerId();
  timer.SetInterval(20);
  EXPECT_EQ(timer.Interval(), 20);
  EXPECT_NE(timer.TimerId(), slowId);  // every arming has a fresh id
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
}

TEST_F(Timers, TimerThatFreesItselfInOnTimerFiresOnce) {
  auto* timer = new TTimer(nullptr);
  int ticks = 0;
  bool freed = false;
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject* Sender) {
    ++ticks;
    static_cast<TTimer*>(Sender)->Free();
    freed = true;  // the closure outlives the timer: it runs from a copy
  };
  ASSERT_TRUE(PumpUntil([&] { return freed; }));
  PumpFor(150);
  EXPECT_EQ(ticks, 1);
}

TEST_F(Timers, TimerReArmedInsideOnTimerKeepsTicking) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject* Sender) {
    auto* t = static_cast<TTimer*>(Sender);
    ++ticks;
    t->SetInterval(t->Interval() == 10 ? 15 : 10);
    t->SetEnabled(false);
    t->SetEnabled(true);
  };
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 5; }));
  EXPECT_TRUE(timer.Enabled());
  EXPECT_NE(timer.TimerId(), 0u);

  // Disabled from inside its handler, it stays quiet.
  timer.OnTimer = [&](TObject* Sender) {
    ++ticks;
    static_cast<TTimer*>(Sender)->SetEnabled(false);
  };
  const int before = ticks;
  ASSERT_TRUE(PumpUntil([&] { return ticks > before; }));
  PumpFor(150);
  EXPECT_EQ(ticks, before + 1);
}

TEST_F(Timers, TickQueuedForAFreedTimerIsDropped) {
  TTimer keeper(nullptr);
  int keeperTicks = 0;
  keeper.OnTimer = [&](TObject*) { ++keeperTicks; };
  keeper.SetInterval(10);

  int victimTicks = 0;
  auto* victim = new TTimer(nullptr);
  victim->OnTimer = [&](TObject*) { ++victimTicks; };
  victim->SetInterval(5000);
  const HWND window = TimerWindow();
  const UINT_PTR victimId = victim->TimerId();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(victimId, 0u);
  victim->Free();

  // A tick for the freed timer arrives anyway; the window must not reach the freed object.
  ASSERT_TRUE(::PostMessageW(window, WM_TIMER, victimId, 0));
  ASSERT_TRUE(PumpUntil([&] { return keeperTicks >= 3; }));
  EXPECT_EQ(victimTicks, 0);

  // Its id is not handed to the next timer.
  TTimer next(nullptr);
  EXPECT_NE(next.TimerId(), victimId);
}

TEST_F(Timers, TimerFreedByAnotherWhenBothAreDueNeverFires) {
  TTimer* a = new TTimer(nullptr);
  TTimer* b = new TTimer(nullptr);
  int ticksA = 0, ticksB = 0;
  a->OnTimer = [&](TObject*) {
    ++ticksA;
    FreeAndNil(b);
  };
  b->OnTimer = [&](TObject*) {
    ++ticksB;
    FreeAndNil(a);
  };
  a->SetInterval(1);
  b->SetInterval(1);
  ::Sleep(50);  // both are due before the loop looks at them
  ASSERT_TRUE(PumpUntil([&] { return ticksA + ticksB >= 3; }));
  // The first to fire freed the other, which never ran.
  EXPECT_TRUE((ticksA == 0) != (ticksB == 0)) << ticksA << " " << ticksB;
  FreeAndNil(a);
  FreeAndNil(b);
}

TEST_F(Timers, ExceptionFromOnTimerGoesToTheHandler) {
  TTimer timer(nullptr);
  TObject* sender = nullptr;
  std::string message;
  SetTimerExceptionHandler([&](TObject* Sender, std::exception_ptr Error) {
    sender = Sender;
    try {
      std::rethrow_exception(Error);
    } catch (const std::exception& e) {
      message = e.what();
    }
  });
  timer.OnTimer = [&](TObject* Sender) {
    static_cast<TTimer*>(Sender)->SetEnabled(false);
    throw std::runtime_error("tick failed");
  };
  timer.SetInterval(10);
  const bool handled = PumpUntil([&] { return !message.empty(); });
  SetTimerExceptionHandler(nullptr);
  ASSERT_TRUE(handled);
  EXPECT_EQ(sender, &timer);
  EXPECT_EQ(message, "tick failed");
}

TEST_F(Timers, ExceptionFromATimerThatFreedItselfHasNoSender) {
  auto* timer = new TTimer(nullptr);
  TObject* sender = timer;
  bool handled = false;
  SetTimerExceptionHandler([&](TObject* Sender, std::exception_ptr) {
    sender = Sender;
    handled = true;
  });
  timer->OnTimer = [&](TObject* Sender) {
    Sender->Free();
    throw std::runtime_error("gone");
  };
  timer->SetInterval(10);
  const bool done = PumpUntil([&] { return handled; });
  SetTimerExceptionHandler(nullptr);
  ASSERT_TRUE(done);
  EXPECT_EQ(sender, nullptr);
}

TEST_F(Timers, DisabledTimerNeedsNoWindow) {
  TTimer timer(nullptr);
  timer.SetEnabled(false);
  EXPECT_EQ(timer.TimerId(), 0u);
  EXPECT_EQ(TimerWindow(), nullptr);
}

}  // namespace
