#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaStyledForm/ClientInActivePanel.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/Handles.h"
#include "tests/support/TestControls.h"

namespace {

// A styled form whose screen (monitor, taskbar, pointer) is what the test says.
class TTestStyledForm : public TkaStyledForm {
 public:
  using TkaStyledForm::TkaStyledForm;
  using TkaStyledForm::FHitTestWndDown;
  using TkaStyledForm::FHitTestWndShowing;
  using TkaStyledForm::FStopActivateEvents;
  using TkaStyledForm::TMonitorArea;

  std::optional<TMonitorArea> Monitor;
  std::optional<TRect> Taskbar;
  bool NoTaskbar = false;
  std::optional<TPoint> Cursor;
  TPoint AskedMonitorAt;

 protected:
  TMonitorArea MonitorAreaAt(TPoint P) override {
    AskedMonitorAt = P;
    return Monitor ? *Monitor : TkaStyledForm::MonitorAreaAt(P);
  }
  bool TaskbarRect(TRect& R) override {
    if (NoTaskbar) return false;
    if (!Taskbar) return TkaStyledForm::TaskbarRect(R);
    R = *Taskbar;
    return true;
  }
  TPoint CursorPoint() override { return Cursor ? *Cursor : TkaStyledForm::CursorPoint(); }
};

// A form with a styled form on it, on a Windows build of the test's choosing with the
// compositor on and its calls recorded.
struct TStyledFormFixture {
  TkaCompositionTesting Composition;
  TCustomForm* Form = nullptr;
  TTestStyledForm* Styled = nullptr;

  explicit TStyledFormFixture(int Build = 22000) {
    Composition.SetVersion(10, 0, Build);
    Composition.SetCompositionEnabled(true);
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBounds(100, 120, 500, 400);
    Styled = Construct<TTestStyledForm>(Form);
  }
  ~TStyledFormFixture() {
    if (Form != nullptr) Form->Free();
    PumpPending();
  }
  HWND Handle() { return Form->Handle(); }
  void ClearRecords() {
    Composition.CompositionAttributeCalls.clear();
    Composition.ExtendFrameCalls.clear();
    Composition.WindowAttributeCalls.clear();
  }
  // Runs the frame update once, as a style change of the window does.
  void StyleChanged() {
    STYLESTRUCT ss{};
    ss.styleOld = ss.styleNew = static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE));
    Form->Perform(WM_STYLECHANGED, static_cast<WPARAM>(GWL_EXSTYLE), reinterpret_cast<LPARAM>(&ss));
  }
  void UseScreen(TRect Bounds, TRect WorkArea, bool Primary = true) {
    Styled->Monitor = TTestStyledForm::TMonitorArea{Bounds, WorkArea, Primary};
  }
};

TRect WindowRect(HWND Wnd) {
  RECT r;
  ::GetWindowRect(Wnd, &r);
  return TRect(r);
}

constexpr TColor kTint = RGBColor(0x10, 0x20, 0x30);
constexpr uint8_t kTintAlpha = 70;
constexpr uint32_t kTintAccent = 0x46302010;

struct TAccent {
  int32_t State;
  int32_t Flags;
  uint32_t Color;
};

// ---- Backdrops and the compositor frame ---------------------------------------------------

struct TFrameCase {
  TkaFluentUIBackground Backdrop;
  int Build;
  bool Bordered;
  bool Maximized;
  bool SquareCorners;
  std::optional<TAccent> Accent;
  bool CornerAttribute;
  std::vector<int> TopMargins;
};

TEST(StyledFormFrame, SendsTheAccentCornerAndMarginsOfEachBackdropAndSystem) {
  const std::optional<TAccent> none;
  const TFrameCase cases[] = {
      {kafuibNone, 17134, true, false, false, none, false, {1}},
      {kafuibNone, 19041, false, false, false, none, false, {1}},
      {kafuibNone, 22000, true, true, false, none, false, {0}},
      {kafuibNone, 22000, true, false, true, none, true, {1}},
      {kafuibBlur, 17133, true, false, false, none, false, {1}},
      {kafuibBlur, 17134, true, false, false, TAccent{3, 480, 0}, false, {}},
      {kafuibBlur, 19041, false, false, false, TAccent{3, 0, 0}, false, {1}},
      {kafuibBlur, 21999, true, true, false, TAccent{3, 0, 0}, false, {0}},
      {kafuibBlur, 22000, true, false, false, TAccent{3, 480, 0}, false, {1}},
      {kafuibBlur, 22000, false, true, false, TAccent{3, 0, 0}, false, {0}},
      {kafuibAcrylic, 17133, true, false, false, none, false, {1}},
      {kafuibAcrylic, 17134, true, false, false, TAccent{4, 480, kTintAccent}, false, {}},
      {kafuibAcrylic, 19041, false, false, false, TAccent{4, 0, kTintAccent}, false, {}},
      {kafuibAcrylic, 21999, true, true, true, TAccent{4, 0, kTintAccent}, false, {}},
      {kafuibAcrylic, 22000, true, false, false, TAccent{4, 480, kTintAccent}, false, {1}},
      {kafuibAcrylic, 22000, true, true, false, TAccent{4, 0, kTintAccent}, false, {0}},
      {kafuibAcrylicBlurAuto, 17133, true, false, false, none, false, {1}},
      {kafuibAcrylicBlurAuto, 17134, true, false, false, TAccent{3, 480, 0}, false, {}},
      {kafuibAcrylicBlurAuto, 19041, true, true, false, TAccent{3, 0, 0}, false, {0}},
      {kafuibAcrylicBlurAuto, 21999, false, false, false, TAccent{3, 0, 0}, false, {1}},
      {kafuibAcrylicBlurAuto, 22000, true, false, true, TAccent{4, 480, kTintAccent}, true, {1}},
      {kafuibAcrylicBlurAuto, 22000, false, true, true, TAccent{4, 0, kTintAccent}, true, {0}},
  };
  for (const TFrameCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "backdrop " << c.Backdrop << ", build " << c.Build << ", bordered "
                                    << c.Bordered << ", maximised " << c.Maximized);
    TStyledFormFixture f(c.Build);
    f.UseScreen(Rect(0, 0, 1280, 1024), Rect(0, 0, 1280, 984));
    f.Styled->SetFluentUIAcrylicColor(kTint);
    f.Styled->SetFluentUIAcrylicColorAlpha(kTintAlpha);
    f.Styled->SetFluentUIBorder(c.Bordered);
    f.Styled->SetFluentUIBackground(c.Backdrop);
    f.Styled->SetDWMClientRoundedCornersType(c.SquareCorners ? kaDWMRoundedCornersOff : kaDWMRoundedCornersDefault);
    f.Styled->SetDWMClientShadow(true);
    HWND wnd = f.Handle();
    if (c.Maximized) f.Styled->DWMClientMaximize();
    f.ClearRecords();

    f.StyleChanged();

    const auto& accents = f.Composition.CompositionAttributeCalls;
    if (c.Accent) {
      ASSERT_EQ(accents.size(), 1u);
      EXPECT_EQ(accents[0].Wnd, wnd);
      EXPECT_EQ(accents[0].Attribute, WCA_ACCENT_POLICY);
      EXPECT_EQ(accents[0].DataSize, 16u);
      ASSERT_TRUE(accents[0].HasAccent);
      EXPECT_EQ(accents[0].Accent.AccentState, c.Accent->State);
      EXPECT_EQ(accents[0].Accent.AccentFlags, c.Accent->Flags);
      EXPECT_EQ(accents[0].Accent.AccentColor, c.Accent->Color);
      EXPECT_EQ(accents[0].Accent.AnimationId, 0);
      EXPECT_EQ(f.Form->Color(), clBlack);
    } else {
      EXPECT_TRUE(accents.empty());
      EXPECT_EQ(f.Form->Color(), clBtnFace);
    }
    const auto& attributes = f.Composition.WindowAttributeCalls;
    if (c.CornerAttribute) {
      ASSERT_EQ(attributes.size(), 1u);
      EXPECT_EQ(attributes[0].Wnd, wnd);
      EXPECT_EQ(attributes[0].Attribute, 33u);
      EXPECT_EQ(attributes[0].Size, 4u);
      EXPECT_EQ(attributes[0].IntValue(), 1);
    } else {
      EXPECT_TRUE(attributes.empty());
    }
    std::vector<int> tops;
    for (const auto& call : f.Composition.ExtendFrameCalls) {
      EXPECT_EQ(call.Wnd, wnd);
      EXPECT_EQ(call.Margins.cxLeftWidth, 0);
      EXPECT_EQ(call.Margins.cxRightWidth, 0);
      EXPECT_EQ(call.Margins.cyBottomHeight, 0);
      tops.push_back(call.Margins.cyTopHeight);
    }
    EXPECT_EQ(tops, c.TopMargins);
    EXPECT_NE(::GetWindowLongW(wnd, GWL_STYLE) & 0x00C60000, 0);
  }
}

TEST(StyledFormFrame, AcrylicMarginsAreResetAfterMoveAndSizeOnlyOnLateWindows10) {
  const struct {
    int Build;
    size_t Resets;
  } cases[] = {{17134, 0}, {19041, 2}, {21999, 2}, {22000, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Build);
    TStyledFormFixture f(c.Build);
    f.Styled->SetFluentUIBackground(kafuibAcrylic);
    f.Styled->SetDWMClientShadow(true);
    f.Handle();
    f.ClearRecords();
    f.Form->SetBounds(150, 160, 520, 410);
    ASSERT_EQ(f.Composition.ExtendFrameCalls.size(), c.Resets);
    for (const auto& call : f.Composition.ExtendFrameCalls) {
      EXPECT_EQ(call.Margins.cyTopHeight, 0);
      EXPECT_EQ(call.Margins.cxLeftWidth, 0);
    }
  }
}

TEST(StyledFormFrame, OpaqueInactiveAcrylicTintFollowsActivation) {
  TStyledFormFixture f(22000);
  f.Styled->SetFluentUIAcrylicColor(kTint);
  f.Styled->SetFluentUIAcrylicColorAlpha(kTintAlpha);
  f.Styled->SetFluentUIInactiveAcrylicColorOpaque(true);
  f.Styled->SetFluentUIBackground(kafuibAcrylic);
  f.Styled->SetDWMClientShadow(true);
  f.Handle();
  const struct {
    WPARAM Activation;
    uint32_t Color;
  } steps[] = {{WA_INACTIVE, 0xFF302010}, {WA_ACTIVE, kTintAccent}, {WA_INACTIVE, 0xFF302010}};
  for (const auto& step : steps) {
    f.ClearRecords();
    f.Form->Perform(WM_ACTIVATE, step.Activation, 0);
    // Activating focuses the window, which the system may report as a nested activation;
    // what counts is the tint the window is left with.
    ASSERT_FALSE(f.Composition.CompositionAttributeCalls.empty());
    for (const auto& call : f.Composition.CompositionAttributeCalls) {
      EXPECT_EQ(call.Accent.AccentState, 4);
      EXPECT_EQ(call.Accent.AccentColor, step.Color);
    }
  }
}

TEST(StyledFormFrame, CompositionGoingOffAndComingBackRemovesAndRestoresTheFrame) {
  TStyledFormFixture f(19041);
  f.Styled->SetDWMClientShadow(true);
  HWND wnd = f.Handle();
  ASSERT_EQ(::GetWindowLongW(wnd, GWL_STYLE) & 0x00C60000, 0x00C60000);

  f.Composition.SetCompositionEnabled(false);
  f.Form->Perform(WM_SETTINGCHANGE, 0, 0);
  EXPECT_FALSE(f.Styled->DWMClientShadow());
  EXPECT_EQ(::GetWindowLongW(wnd, GWL_STYLE) & 0x00C60000, 0);

  f.ClearRecords();
  f.Composition.SetCompositionEnabled(true);
  f.Form->Perform(WM_SETTINGCHANGE, 0, 0);
  EXPECT_TRUE(f.Styled->DWMClientShadow());
  EXPECT_EQ(::GetWindowLongW(wnd, GWL_STYLE) & 0x00C60000, 0x00C60000);
  ASSERT_EQ(f.Composition.ExtendFrameCalls.size(), 1u);
  EXPECT_EQ(f.Composition.ExtendFrameCalls[0].Margins.cyTopHeight, 1);
}

TEST(StyledFormFrame, LoadingReportsABackdropThatWillNotBeUsedAsStored) {
  const struct {
    TkaFluentUIBackground Backdrop;
    int Build;
    bool Shadow;
    bool Fires;
  } cases[] = {
      {kafuibNone, 22000, true, false},          {kafuibBlur, 19041, true, false},
      {kafuibAcrylic, 22000, true, false},       {kafuibBlur, 17133, true, true},
      {kafuibAcrylic, 19041, false, true},       {kafuibAcrylicBlurAuto, 19041, true, true},
      {kafuibAcrylicBlurAuto, 22000, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "backdrop " << c.Backdrop << ", build " << c.Build);
    TStyledFormFixture f(c.Build);
    f.Styled->SetLoadingState(true);
    f.Styled->SetFluentUIBackground(c.Backdrop);
    f.Styled->SetDWMClientShadow(c.Shadow);
    int events = 0;
    f.Styled->OnChangeFluentUIBackground = [&](TObject*) { ++events; };
    f.Styled->Loaded();
    EXPECT_EQ(events, c.Fires ? 1 : 0);
  }
}

// ---- Re-creating the window ----------------------------------------------------------------

TEST(StyledFormRecreate, NewWindowKeepsTheHookAndGetsFrameAndAccentWithoutLeaking) {
  for (bool alphaBlend : {false, true}) {
    SCOPED_TRACE(alphaBlend ? "alpha-blended form" : "plain form");
    TStyledFormFixture f(22000);
    f.Form->SetAlphaBlend(alphaBlend);
    f.Styled->SetFluentUIBackground(kafuibBlur);
    f.Styled->SetDWMClientShadow(true);
    f.Form->Show();
    PumpPending();
    int changes = 0, activations = 0;
    f.Styled->OnChangeFluentUIBackground = [&](TObject* Sender) {
      EXPECT_EQ(Sender, f.Styled);
      ++changes;
    };
    f.Styled->OnChangeActive = [&](TObject*) { ++activations; };

    f.ClearRecords();
    f.Styled->SetFluentUIBackground(kafuibAcrylic);
    HWND wnd = f.Form->WindowHandle();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(changes, 1);
    bool acrylicOnNewWindow = false;
    for (const auto& call : f.Composition.CompositionAttributeCalls)
      if (call.Wnd == wnd && call.Accent.AccentState == 4) acrylicOnNewWindow = true;
    EXPECT_TRUE(acrylicOnNewWindow);
    bool framedNewWindow = false;
    for (const auto& call : f.Composition.ExtendFrameCalls)
      if (call.Wnd == wnd && call.Margins.cyTopHeight == 1) framedNewWindow = true;
    EXPECT_TRUE(framedNewWindow);
    EXPECT_EQ(::GetWindowLongW(wnd, GWL_STYLE) & 0x00C60000, 0x00C60000);

    f.Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_GE(activations, 1) << "the window procedure is still hooked";

    // Counted once the first re-creation has settled (the system makes some objects of its
    // own lazily), then compared after many more.
    auto settle = [] {
      const DWORD until = ::GetTickCount() + 100;
      PumpUntil([&] { return ::GetTickCount() > until; });
    };
    settle();
    const int gdiBefore = GdiObjectCount();
    const int windowsBefore = ThreadWindowCount();
    for (int round = 0; round < 3; ++round)
      for (TkaFluentUIBackground b : {kafuibBlur, kafuibNone, kafuibAcrylicBlurAuto, kafuibAcrylic})
        f.Styled->SetFluentUIBackground(b);
    settle();
    EXPECT_EQ(changes, 13);
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
  }
}

// ---- Maximise bounds ------------------------------------------------------------------------

TEST(StyledFormMaximize, BoundsLeaveAStripOnlyForAHiddenTaskbarOfThePrimaryMonitor) {
  const TRect screen = Rect(0, 0, 1920, 1080);
  const struct {
    const char* Name;
    TRect Bounds;
    TRect WorkArea;
    bool Primary;
    std::optional<TRect> Taskbar;
    TRect Expected;
  } cases[] = {
      {"normal taskbar", screen, Rect(0, 0, 1920, 1040), true, Rect(0, 1040, 1920, 1080), Rect(0, 0, 1920, 1040)},
      {"hidden at bottom", screen, screen, true, Rect(0, 1078, 1920, 1118), Rect(0, 0, 1920, 1078)},
      {"hidden at top", screen, screen, true, Rect(0, -38, 1920, 2), Rect(0, 2, 1920, 1080)},
      {"hidden at left", screen, screen, true, Rect(-58, 0, 2, 1080), Rect(2, 0, 1920, 1080)},
      {"hidden at right", screen, screen, true, Rect(1918, 0, 1978, 1080), Rect(0, 0, 1918, 1080)},
      {"sliding out at bottom", screen, screen, true, Rect(0, 1040, 1920, 1080), Rect(0, 0, 1920, 1078)},
      {"secondary monitor", Rect(1920, 0, 3200, 1024), Rect(1920, 0, 3200, 1024), false, Rect(0, 1078, 1920, 1118),
       Rect(1920, 0, 3200, 1024)},
      {"no taskbar window", screen, screen, true, std::nullopt, screen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStyledFormFixture f;
    f.UseScreen(c.Bounds, c.WorkArea, c.Primary);
    f.Styled->Taskbar = c.Taskbar;
    f.Styled->NoTaskbar = !c.Taskbar;
    EXPECT_EQ(f.Styled->GetMaximizeBounds(), c.Expected);
  }
}

TEST(StyledFormMaximize, MonitorIsTheOneUnderTheWindowCentre) {
  TStyledFormFixture f;
  f.Form->SetBounds(-101, 50, 301, 201);
  f.UseScreen(Rect(0, 0, 800, 600), Rect(0, 0, 800, 560));
  f.Styled->GetMaximizeBounds();
  EXPECT_EQ(f.Styled->AskedMonitorAt, TPoint(-101 + 150, 50 + 100));
}

// ---- Maximise, restore and the tear-off drag ---------------------------------------------------

struct TMaximizeFixture : TStyledFormFixture {
  int Maximized = 0, Restored = 0;
  TMaximizeFixture() : TStyledFormFixture(22000) {
    UseScreen(Rect(0, 0, 1280, 1024), Rect(0, 0, 1280, 984));
    Styled->OnDWMClientMaximize = [this](TObject*) { ++Maximized; };
    Styled->OnDWMClientRestore = [this](TObject*) { ++Restored; };
    Styled->SetDWMClientShadow(true);
    Styled->SetDWMClientShadowHitTest(true);
    Form->Show();
    PumpPending();
  }
  bool RingVisible() { return Styled->HitTestWnd() != nullptr && Styled->HitTestWnd()->Visible(); }
};

TEST(StyledFormMaximize, MaximiseFillsTheWorkAreaPinsTheWindowAndRestoreGoesBack) {
  TMaximizeFixture f;
  const TRect normal = Bounds(100, 120, 500, 400);
  const TRect work = Rect(0, 0, 1280, 984);
  ASSERT_EQ(f.Form->BoundsRect(), normal);
  EXPECT_TRUE(f.RingVisible());

  f.Styled->DWMClientMaximize();
  EXPECT_TRUE(f.Styled->IsDWMClientMaximized());
  EXPECT_EQ(f.Form->BoundsRect(), work);
  EXPECT_EQ(WindowRect(f.Handle()), work);
  EXPECT_EQ(f.Form->WindowState(), wsNormal);
  EXPECT_FALSE(f.RingVisible());
  EXPECT_EQ(f.Maximized, 1);

  f.Styled->DWMClientMaximize();
  EXPECT_EQ(f.Maximized, 1);
  EXPECT_EQ(f.Form->BoundsRect(), work);

  f.Form->SetBounds(10, 10, 300, 300);
  EXPECT_EQ(WindowRect(f.Handle()), work);
  EXPECT_EQ(f.Form->BoundsRect(), work);
  ::SetWindowPos(f.Handle(), nullptr, 5, 6, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowRect(f.Handle()), work);
  PumpPending();
  EXPECT_FALSE(f.RingVisible());

  f.Styled->DWMClientRestore();
  EXPECT_FALSE(f.Styled->IsDWMClientMaximized());
  EXPECT_EQ(f.Form->BoundsRect(), normal);
  EXPECT_EQ(WindowRect(f.Handle()), normal);
  EXPECT_EQ(f.Restored, 1);
  f.Styled->DWMClientRestore();
  EXPECT_EQ(f.Restored, 1);
  PumpPending();
  EXPECT_TRUE(f.RingVisible());
}

TEST(StyledFormMaximize, MaximiseAndRestoreSendTheirFrames) {
  TMaximizeFixture f;
  f.ClearRecords();
  f.Styled->DWMClientMaximize();
  ASSERT_FALSE(f.Composition.ExtendFrameCalls.empty());
  EXPECT_EQ(f.Composition.ExtendFrameCalls.back().Margins.cyTopHeight, 0);
  f.ClearRecords();
  f.Styled->DWMClientRestore();
  ASSERT_FALSE(f.Composition.ExtendFrameCalls.empty());
  EXPECT_EQ(f.Composition.ExtendFrameCalls.front().Margins.cyTopHeight, 1);
}

TEST(StyledFormMaximize, TearOffKeepsTheCursorAtItsProportionOfTheCaption) {
  TMaximizeFixture f;
  f.Form->SetBounds(50, 100, 1000, 600);
  f.Styled->DWMClientMaximize();
  ASSERT_EQ(f.Form->Width(), 1280);

  // 25 % of the maximised width, then a move of the pointer.
  f.Styled->Cursor = TPoint(320, 10);
  f.Styled->DWMClientStartDrag();
  EXPECT_TRUE(f.Styled->IsDWMClientDragging());
  f.Styled->Cursor = TPoint(320, 12);
  f.Styled->DWMClientDrag();

  EXPECT_FALSE(f.Styled->IsDWMClientMaximized());
  EXPECT_FALSE(f.Styled->IsDWMClientDragging());
  EXPECT_EQ(f.Form->BoundsRect(), Bounds(70, 0, 1000, 600));
  EXPECT_EQ(320 - f.Form->Left(), 250);
  EXPECT_EQ(f.Restored, 1);

  // Not maximised: the drag moves the window with the pointer.
  f.Styled->Cursor = TPoint(400, 300);
  f.Styled->DWMClientStartDrag();
  f.Styled->Cursor = TPoint(430, 290);
  f.Styled->DWMClientDrag();
  EXPECT_EQ(f.Form->BoundsRect(), Bounds(100, -10, 1000, 600));
}

// ---- Activation --------------------------------------------------------------------------

TEST(StyledFormActivation, ChangeActiveFiresOnRealChangesOnly) {
  TMaximizeFixture f;
  TCustomForm* other = TCustomForm::CreateNew(nullptr);
  other->SetBounds(700, 100, 200, 200);
  other->Show();
  // The form's activity each time the event fired.
  std::vector<bool> seen;
  f.Styled->OnChangeActive = [&](TObject*) { seen.push_back(f.Form->Active()); };
  // Activation reaches the windows partly through the display server, later than the call:
  // wait for it, and for whatever follows it, to arrive.
  auto activate = [](TCustomForm* Form) {
    ::SetActiveWindow(Form->Handle());
    PumpUntil([&] { return ::GetActiveWindow() == Form->WindowHandle(); }, 2000);
    const DWORD until = ::GetTickCount() + 150;
    PumpUntil([&] { return ::GetTickCount() > until; });
  };
  activate(f.Form);
  ASSERT_TRUE(f.Form->Active());

  seen.clear();
  activate(other);
  ASSERT_FALSE(seen.empty());
  EXPECT_FALSE(seen.back());
  activate(f.Form);
  EXPECT_TRUE(seen.back());

  // The ring is being pressed: the deactivation is turned back into an activation, and
  // with the ring itself pressed the frame is not repainted inactive either.
  seen.clear();
  f.Styled->FStopActivateEvents = true;
  f.Styled->FHitTestWndDown = true;
  f.Form->Perform(WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(f.Styled->FHitTestWndDown);
  EXPECT_TRUE(f.Styled->IsFormActive());
  f.Form->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(f.Form->Active());
  EXPECT_FALSE(f.Styled->FStopActivateEvents);

  f.Styled->FHitTestWndShowing = true;
  f.Form->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  f.Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(seen.empty());
  f.Styled->FHitTestWndShowing = false;

  // Maximising and restoring do not report activation changes they cause.
  auto probe = [&](TObject*) {
    f.Form->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    f.Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  };
  f.Styled->OnDWMClientMaximize = probe;
  f.Styled->OnDWMClientRestore = probe;
  f.Styled->DWMClientMaximize();
  f.Styled->DWMClientRestore();
  EXPECT_TRUE(seen.empty());

  // Hiding the ring on maximise leaves nothing behind that would swallow the next real
  // deactivation.
  f.Styled->OnDWMClientMaximize = nullptr;
  activate(f.Form);
  f.Styled->DWMClientMaximize();
  seen.clear();
  activate(other);
  ASSERT_FALSE(seen.empty());
  EXPECT_FALSE(seen.back());
  EXPECT_FALSE(f.Form->Active());
  other->Free();
}

// ---- Scaling ---------------------------------------------------------------------------------

struct TPpiOverride {
  explicit TPpiOverride(int Ppi) {
    TMonitor::SetPixelsPerInchOverride([Ppi](HMONITOR) { return Ppi; });
  }
  ~TPpiOverride() { TMonitor::SetPixelsPerInchOverride(nullptr); }
};

TEST(StyledFormScale, FirstShowTakesTheMonitorsScale) {
  const struct {
    int FormPpi;
    int MonitorPpi;
    double Factor;
    int Percent;
    std::vector<double> Events;
  } cases[] = {
      {96, 144, 1.5, 150, {1.5}},
      {96, 120, 1.25, 125, {1.25}},
      {96, 96, 1.0, 100, {}},
      {144, 96, 1.0, 100, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.FormPpi << " dpi form on a " << c.MonitorPpi << " dpi monitor");
    std::optional<TPpiOverride> created;
    created.emplace(c.FormPpi);
    TStyledFormFixture f;
    created.reset();
    ASSERT_EQ(f.Form->PixelsPerInch(), c.FormPpi);
    TPpiOverride monitor(c.MonitorPpi);
    std::vector<double> events;
    f.Styled->OnChangeScale = [&](double Factor) { events.push_back(Factor); };
    f.Form->Show();
    EXPECT_DOUBLE_EQ(f.Styled->ScaleFactor(), c.Factor);
    EXPECT_EQ(f.Styled->ScalePercent(), c.Percent);
    EXPECT_EQ(events, c.Events);
  }
}

TEST(StyledFormScale, DpiChangesRescaleNeverBelowOneAndAlwaysReport) {
  std::optional<TPpiOverride> created;
  created.emplace(144);
  TStyledFormFixture f;
  created.reset();
  f.Form->Show();
  ASSERT_DOUBLE_EQ(f.Styled->ScaleFactor(), 1.0);
  int formPpiBefore = 0, events = 0;
  double lastFactor = 0;
  f.Styled->OnBeforeChangeScale = [&](TObject*) { formPpiBefore = f.Form->PixelsPerInch(); };
  f.Styled->OnChangeScale = [&](double Factor) {
    ++events;
    lastFactor = Factor;
  };
  const struct {
    int Ppi;
    double Factor;
    int Percent;
  } steps[] = {{96, 1.0, 100}, {144, 1.5, 150}, {192, 2.0, 200}, {96, 1.0, 100}, {144, 1.5, 150}};
  int previousPpi = 144;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Ppi);
    events = 0;
    RECT r = WindowRect(f.Handle());
    f.Form->Perform(WM_DPICHANGED, MAKEWPARAM(step.Ppi, step.Ppi), reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(formPpiBefore, previousPpi) << "OnBeforeChangeScale runs before the form scales";
    EXPECT_EQ(f.Form->PixelsPerInch(), step.Ppi);
    EXPECT_DOUBLE_EQ(f.Styled->ScaleFactor(), step.Factor);
    EXPECT_EQ(f.Styled->ScalePercent(), step.Percent);
    EXPECT_GE(events, 1);
    EXPECT_DOUBLE_EQ(lastFactor, step.Factor);
    EXPECT_TRUE(f.Styled->FDPIChanged);
    previousPpi = step.Ppi;
  }
}

TEST(StyledFormScale, ScaleIntRoundsHalvesToEven) {
  const struct {
    int MonitorPpi;
    int Value;
    int Expected;
  } cases[] = {{144, 1, 2}, {144, 3, 4}, {144, 5, 8}, {144, 7, 10}, {120, 2, 2}, {120, 6, 8}, {120, 10, 12}, {120, -2, -2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Value << " at " << c.MonitorPpi << " dpi");
    TStyledFormFixture f;
    TPpiOverride monitor(c.MonitorPpi);
    f.Form->Show();
    EXPECT_EQ(f.Styled->ScaleInt(c.Value), c.Expected);
  }
}

// ---- References, detaching, release ----------------------------------------------------------

TEST(StyledFormReferences, FreedComponentsAreForgotten) {
  TStyledFormFixture f;
  auto* item = f.Styled->Buttons()->Add();
  struct TReference {
    const char* Name;
    std::function<TComponent*()> Make;
    std::function<void(TComponent*)> Set;
    std::function<TComponent*()> Get;
  };
  const TReference references[] = {
      {"HintComponent", [] { return new TkaHint(nullptr); },
       [&](TComponent* c) { f.Styled->SetHintComponent(static_cast<TkaHint*>(c)); },
       [&]() -> TComponent* { return f.Styled->HintComponent(); }},
      {"ButtonImages", [] { return new TCustomImageList(nullptr); },
       [&](TComponent* c) { f.Styled->SetButtonImages(static_cast<TCustomImageList*>(c)); },
       [&]() -> TComponent* { return f.Styled->ButtonImages(); }},
      {"TabImages", [] { return new TCustomImageList(nullptr); },
       [&](TComponent* c) { f.Styled->SetTabImages(static_cast<TCustomImageList*>(c)); },
       [&]() -> TComponent* { return f.Styled->TabImages(); }},
      {"CaptionWallpapers", [] { return new TkaCustomImageCollection(nullptr); },
       [&](TComponent* c) { f.Styled->SetCaptionWallpapers(static_cast<TkaCustomImageCollection*>(c)); },
       [&]() -> TComponent* { return f.Styled->CaptionWallpapers(); }},
      {"button PopupMenu", [] { return new TPopupMenu(nullptr); },
       [&](TComponent* c) { item->SetPopupMenu(static_cast<TPopupMenu*>(c)); },
       [&]() -> TComponent* { return item->PopupMenu(); }},
  };
  for (const auto& r : references) {
    SCOPED_TRACE(r.Name);
    TComponent* c = r.Make();
    r.Set(c);
    ASSERT_EQ(r.Get(), c);
    c->Free();
    EXPECT_EQ(r.Get(), nullptr);
  }
}

TEST(StyledFormLifetime, FreeingTheStyledFormUnhooksAndReleasingTheFormIsSafe) {
  TStyledFormFixture f;
  f.Form->Show();
  int events = 0;
  f.Styled->OnChangeActive = [&](TObject*) { ++events; };
  f.Styled->Free();
  f.Styled = nullptr;
  f.Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(events, 0);

  // The form frees itself (and its styled form) inside its own window procedure.
  TCustomForm* released = TCustomForm::CreateNew(nullptr);
  Construct<TTestStyledForm>(released)->SetDWMClientShadow(true);
  released->Show();
  const int windows = ThreadWindowCount();
  released->Release();
  PumpPending();
  EXPECT_EQ(ThreadWindowCount(), windows - 1);
}

TEST(StyledFormLifetime, InactiveVeilIsReplacedNotStacked) {
  TStyledFormFixture f;
  f.Form->Show();
  PumpPending();
  auto veils = [&] {
    int n = 0;
    for (int i = 0; i < f.Form->ControlCount(); ++i)
      if (dynamic_cast<TkaClientInActivePanel*>(f.Form->Controls(i)) != nullptr) ++n;
    return n;
  };
  f.Styled->ShowClientInActiveEffect();
  f.Styled->ShowClientInActiveEffect();
  EXPECT_EQ(veils(), 1);
  f.Styled->HideClientInActiveEffect();
  EXPECT_EQ(veils(), 0);
}

TEST(StyledFormLayout, PropertiesAndCollectionsAreReadFromALayout) {
  TkaCompositionTesting composition;
  composition.SetVersion(10, 0, 22000);
  composition.SetCompositionEnabled(true);
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object LayoutForm: TCustomForm
  object PopupMenu1: TPopupMenu
  end
  object kaStyledForm1: TkaStyledForm
    FluentUIBackground = kafuibAcrylicBlurAuto
    FluentUIAcrylicColor = clWindow
    FluentUIAcrylicColorAlpha = 70
    DWMClientShadow = True
    DWMClientRoundedCornersType = kaDWMRoundedCornersOff
    CaptionAlignment = taCenter
    TabsPosition = katpRight
    InActiveClientBlurAmount = 7
    ButtonFont.Height = -14
    Buttons = <
      item
        PopupMenu = PopupMenu1
      end>
  end
end
)",
             L"styledform");
  auto* styled = dynamic_cast<TkaStyledForm*>(form->FindComponent(L"kaStyledForm1"));
  ASSERT_NE(styled, nullptr);
  EXPECT_EQ(styled->Form(), form);
  EXPECT_EQ(styled->FluentUIBackground(), kafuibAcrylicBlurAuto);
  EXPECT_EQ(styled->FluentUIAcrylicColor(), clWindow);
  EXPECT_EQ(styled->FluentUIAcrylicColorAlpha(), 70);
  EXPECT_TRUE(styled->DWMClientShadow());
  EXPECT_EQ(form->BorderStyle(), bsNone);
  EXPECT_EQ(styled->DWMClientRoundedCornersType(), kaDWMRoundedCornersOff);
  EXPECT_EQ(styled->CaptionAlignment(), taCenter);
  EXPECT_EQ(styled->TabsPosition(), katpRight);
  EXPECT_EQ(styled->InActiveClientBlurAmount(), 7);
  EXPECT_EQ(styled->ButtonFont()->Height(), -14);
  ASSERT_EQ(styled->Buttons()->Count(), 1);
  EXPECT_EQ(styled->Buttons()->Items(0)->PopupMenu(), form->FindComponent(L"PopupMenu1"));
  EXPECT_EQ(TStyleManager::Engine().FindStyleHook(L"TCustomForm").Name(), L"TkaFormStyleHook");
  form->Free();
}

// ---- Styles submenu --------------------------------------------------------------------------

std::vector<UINT> MenuIds(HMENU Menu) {
  std::vector<UINT> ids;
  for (int i = 0; i < ::GetMenuItemCount(Menu); ++i) ids.push_back(::GetMenuItemID(Menu, i));
  return ids;
}

TEST(StyledFormStylesMenu, SubmenuSitsBeforeTheLastTwoItemsSurvivesRecreationAndGoesAway) {
  TStyledFormFixture f;
  f.Form->Show();
  const std::vector<UINT> original = MenuIds(::GetSystemMenu(f.Handle(), FALSE));
  ASSERT_GE(original.size(), 3u);

  f.Styled->SetShowStylesMenu(true);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "first window" : "re-created window");
    HMENU system = ::GetSystemMenu(f.Handle(), FALSE);
    const int n = static_cast<int>(original.size());
    ASSERT_EQ(::GetMenuItemCount(system), n + 2);
    EXPECT_EQ(::GetMenuState(system, n - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    HMENU styles = ::GetSubMenu(system, n - 1);
    ASSERT_NE(styles, nullptr);
    wchar_t text[32] = {};
    ::GetMenuStringW(system, n - 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Styles");
    ASSERT_GE(::GetMenuItemCount(styles), 1);
    EXPECT_EQ(::GetMenuItemID(styles, 0), kaStyleCommandBase);
    EXPECT_NE(::GetMenuState(styles, 0, MF_BYPOSITION) & MF_CHECKED, 0u) << "the active style is checked";
    EXPECT_EQ(::GetMenuItemID(system, n), original[n - 2]);
    f.Form->RecreateWnd();
  }

  f.Styled->SetShowStylesMenu(false);
  EXPECT_EQ(MenuIds(::GetSystemMenu(f.Handle(), FALSE)), original);
}

// ---- Drop-down form --------------------------------------------------------------------------

TEST(StyledFormDropDown, DropsDownInsideTheWorkAreaAndClosesUpOnce) {
  TStyledFormFixture source;
  source.Form->Show();
  TStyledFormFixture popup;
  popup.Styled->SetDropDownForm(true);
  popup.Form->SetBounds(0, 0, 200, 150);
  TCustomForm* dropped = nullptr;
  int closeUps = 0;
  bool accepted = true;
  popup.Styled->OnDropDown = [&](TCustomForm* From, TControl*) { dropped = From; };
  popup.Styled->OnCloseUp = [&](TCustomForm* From, TControl*, bool Accept) {
    EXPECT_EQ(From, source.Form);
    accepted = Accept;
    ++closeUps;
  };
  const TRect work = source.Form->Monitor().WorkareaRect();

  popup.Styled->DropDown(source.Form, work.Right - 50, work.Bottom - 20);
  EXPECT_EQ(dropped, source.Form);
  EXPECT_TRUE(::IsWindowVisible(popup.Handle()));
  EXPECT_EQ(WindowRect(popup.Handle()), Bounds(work.Right - 200, work.Bottom - 150, 200, 150));
  EXPECT_NE(::GetWindowLongW(popup.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(TkaStyledForm::CurrentDropDownForm(), popup.Form);
  EXPECT_EQ(TkaStyledForm::CurrentDropDownSourceForm(), source.Form);

  popup.Form->Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(popup.Form->Visible()) << "a drop-down form ignores SC_CLOSE";

  popup.Form->Perform(WM_NCACTIVATE, 0, 0);
  EXPECT_FALSE(popup.Form->Visible());
  EXPECT_EQ(closeUps, 1);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(TkaStyledForm::CurrentDropDownForm(), nullptr);

  // Fading in ends at the form's own alpha, with its alpha-blend switch as it was.
  popup.Form->SetAlphaBlendValue(200);
  popup.Styled->SetDropDownAnimation(true);
  popup.Styled->DropDown(source.Form, 10, 10);
  EXPECT_EQ(TkaStyledForm::CurrentDropDownForm(), popup.Form);
  EXPECT_TRUE(::IsWindowVisible(popup.Handle()));
  EXPECT_EQ(popup.Form->AlphaBlendValue(), 200);
  EXPECT_FALSE(popup.Form->AlphaBlend());
  EXPECT_NE(::GetWindowLongW(popup.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  popup.Styled->CloseUp(false);
  EXPECT_EQ(closeUps, 2);
  popup.Styled->SetDropDownAnimation(false);

  // Freeing the form it dropped from while it is down leaves no stale source behind.
  popup.Styled->DropDown(source.Form, 10, 10);
  source.Form->Free();
  source.Form = nullptr;
  EXPECT_EQ(TkaStyledForm::CurrentDropDownSourceForm(), nullptr);
  popup.Styled->CloseUp(true);
}

}  // namespace
