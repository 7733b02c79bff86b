// Active and button controls: hot tracking (also when the mouse leaves through a child
// window), the state cross-fade requests, press/release/click, toggle and radio groups,
// keyboard activation, auto-repeat, drop-downs and their closing, and handle hygiene.
#include <gtest/gtest.h>

#include <vector>

#include "framework/GdiObjects.h"
#include "lib/kaControls/kaButtonColorOptions.h"
#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "tests/support/TestControls.h"

namespace {

// A button that paints one colour per state, releases its group like a push button, and
// stands in for a popup menu by recording how it was asked to open.
class TTestButton : public TkaCustomButtonControl {
  KA_CLASS(TTestButton, TkaCustomButtonControl)
 public:
  explicit TTestButton(TComponent* AOwner) : TkaCustomButtonControl(AOwner) {
    OnClick = [this](TObject*) { ++Clicks; };
  }
  int Clicks = 0;
  int MenuPopups = 0;
  TPoint MenuPoint;
  TkasCtrlState StateInMenu = kasNormal;

  TkasCtrlState State() { return GetCtrlState(); }
  void Press(int X = 10, int Y = 10) { Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); }
  void Release(int X = 10, int Y = 10) { Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
  void Move(int X, int Y) { Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); }
  void Key(UINT Msg, WPARAM Vk) { Perform(Msg, Vk, 0); }
  void PaintState(HDC DC, TkasCtrlState S, bool Blend) { PaintStateToDC(DC, S, Blend); }
  bool NeedGlow(TColor Glow, int Index, TCustomImageList* List = nullptr) {
    return NeedGlowBufferUpdate(Canvas(), Glow, List, Index, Rect(0, 0, 20, 20), 128, 4);
  }
  bool Glow(TkasCtrlState S, TColor& C, uint8_t& A, uint8_t& Size) { return GetGlowParams(S, C, A, Size); }

 protected:
  void DrawControl(TCanvas* C, TkasCtrlState S) override {
    static const TColor colors[] = {clSilver, clYellow, clNavy, clAqua, clGray};
    C->Brush()->SetColor(colors[S]);
    C->FillRect(Rect(0, 0, Width(), Height()));
  }
  void AccelClick() override { ButtonClick(); }
  void UpdateGroup() override {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* b = dynamic_cast<TTestButton*>(Parent()->Controls(i));
      if (b != nullptr && b != this && b->GroupIndex() == GroupIndex() && b->Down()) b->SetDown(false);
    }
  }
  void PopupDropDownMenu(TPoint ScreenPoint) override {
    ++MenuPopups;
    MenuPoint = ScreenPoint;
    StateInMenu = GetCtrlState();
  }
};

struct TScene {
  TCustomForm* Form;
  std::vector<TTestButton*> Buttons;

  explicit TScene(int Count = 1) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 400, 120);
    for (int i = 0; i < Count; ++i) {
      auto* b = new TTestButton(Form);
      b->SetBounds(10 + i * 120, 10, 100, 35);
      b->SetParent(Form);
      Buttons.push_back(b);
    }
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }
  TTestButton* B(int I = 0) { return Buttons[I]; }
  // Puts the real cursor over a point of a control (the leave poll reads it).
  static void CursorTo(TControl* C, int X, int Y) {
    TPoint p = C->ClientToScreen(TPoint(X, Y));
    ::SetCursorPos(p.X, p.Y);
  }
};

TEST(ActiveControlHover, EnterAndLeaveByMoveAndThroughAChildWindow) {
  TScene s;
  TTestButton* b = s.B();
  TScene::CursorTo(b, 50, 17);
  b->Move(50, 17);
  EXPECT_TRUE(b->MouseIn());
  EXPECT_EQ(b->State(), kasHot);
  // The poll leaves the control hot while the cursor stays over it.
  PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(b->MouseIn());
  b->Move(101, 17);  // outside: edges are inclusive, one past is not
  EXPECT_FALSE(b->MouseIn());
  EXPECT_EQ(b->State(), kasNormal);
  b->Move(100, 35);  // the far corner counts as inside
  EXPECT_TRUE(b->MouseIn());

  // A child window over the button: moving onto it sends the button no leave message.
  auto* cover = new TTestPanel(s.Form);
  cover->SetBounds(60, 5, 30, 25);
  cover->SetParent(b);
  PumpPending();
  TScene::CursorTo(cover, 10, 10);
  EXPECT_TRUE(PumpUntil([&] { return !b->MouseIn(); }, 2000));
  EXPECT_EQ(b->State(), kasNormal);
}

TEST(ActiveControlHover, CrossFadeIsRequestedOnHoverAndRendersWithoutDurationWhenUnchanged) {
  TkaCompositionTesting fake;
  fake.SetVersion(10, 0, 19045);
  TScene s;
  TTestButton* b = s.B();
  b->SetAnimation(true);
  // The real cursor starts away: its own move messages must not enter first.
  TScene::CursorTo(b, 50, 300);
  ASSERT_TRUE(PumpUntil([&] { return !b->MouseIn(); }, 2000));
  PumpPending();
  fake.AnimationCalls.clear();
  TScene::CursorTo(b, 50, 17);
  b->Move(50, 17);
  ASSERT_TRUE(b->AnimationRunning());
  auto durations = [&] {
    std::vector<DWORD> d;
    for (const auto& c : fake.AnimationCalls)
      if (c.Kind == TkaCompositionTesting::acBegin) d.push_back(c.Duration);
    return d;
  };
  EXPECT_EQ(durations(), std::vector<DWORD>{150});
  b->RePaintControl();
  EXPECT_EQ(durations(), (std::vector<DWORD>{150, 0}));
  // The period ends by its own window timer.
  EXPECT_TRUE(PumpUntil([&] { return !b->AnimationRunning(); }, 2000));
  // Without the bound function painting takes the plain path.
  fake.Binding().BeginBufferedAnimation = nullptr;
  fake.AnimationCalls.clear();
  b->Move(200, 17);
  EXPECT_FALSE(b->AnimationRunning());
  EXPECT_TRUE(fake.AnimationCalls.empty());
}

TEST(ButtonControl, PressReleaseClicksOnlyInsideAndDisabledShowsDisabled) {
  TScene s;
  TTestButton* b = s.B();
  b->Move(10, 10);
  b->Press();
  EXPECT_EQ(b->State(), kasPressed);
  EXPECT_EQ(b->Clicks, 0);
  b->Release();
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_EQ(b->State(), kasHot);
  // Released after dragging out: no click.
  b->Press();
  b->Move(300, 10);
  EXPECT_EQ(b->State(), kasFocused);
  b->Release(300, 10);
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(b->State(), kasFocused);  // the press took the focus
  b->SetEnabled(false);
  EXPECT_EQ(b->State(), kasDisabled);
}

TEST(ButtonControl, ToggleModeFlipsDownAndCodeReleaseFiresNoClick) {
  TScene s;
  TTestButton* b = s.B();
  b->SetToggleMode(true);
  b->Move(10, 10);
  b->Press();
  b->Release();
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->State(), kasPressed);
  EXPECT_EQ(b->Clicks, 1);
  b->Press();
  EXPECT_TRUE(b->Down());  // released on the button's release
  b->Release();
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->Clicks, 2);
  b->SetDown(true);
  EXPECT_EQ(b->Clicks, 3);
  b->SetDown(false);
  EXPECT_EQ(b->Clicks, 3);
}

TEST(ButtonControl, GroupOfThreeWithAndWithoutAllowAllUp) {
  for (bool allowAllUp : {false, true}) {
    SCOPED_TRACE(allowAllUp ? "AllowAllUp" : "one always down");
    TScene s(3);
    for (TTestButton* b : s.Buttons) {
      b->SetGroupIndex(1);
      b->SetAllowAllUp(allowAllUp);
      b->Move(10, 10);
    }
    s.B(0)->Press();
    s.B(0)->Release();
    EXPECT_TRUE(s.B(0)->Down());
    EXPECT_EQ(s.B(0)->Clicks, 1);
    s.B(1)->Press();
    s.B(1)->Release();
    EXPECT_TRUE(s.B(1)->Down());
    EXPECT_FALSE(s.B(0)->Down());
    EXPECT_EQ(s.B(0)->Clicks, 1);  // released by the group, no click
    EXPECT_EQ(s.B(1)->Clicks, 1);
    // Clicking the down button again.
    s.B(1)->Press();
    s.B(1)->Release();
    EXPECT_EQ(s.B(1)->Down(), !allowAllUp);
    EXPECT_EQ(s.B(1)->Clicks, allowAllUp ? 2 : 1);
    EXPECT_FALSE(s.B(2)->Down());
  }
}

TEST(ButtonControl, KeyboardSpaceClicksOnReleaseAndEnterOnPress) {
  TScene s;
  TTestButton* b = s.B();
  b->Key(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(b->IsDown());
  EXPECT_EQ(b->State(), kasPressed);
  EXPECT_EQ(b->Clicks, 0);
  b->Key(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(b->IsDown());
  EXPECT_EQ(b->Clicks, 1);
  b->Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(b->Clicks, 2);
  b->Key(WM_KEYUP, VK_RETURN);
  EXPECT_EQ(b->Clicks, 2);
  // A toggle button: down on the first press, up on the release of the second.
  b->SetToggleMode(true);
  b->Key(WM_KEYDOWN, VK_SPACE);
  b->Key(WM_KEYUP, VK_SPACE);
  EXPECT_TRUE(b->Down());
  b->Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(b->Down());
  b->Key(WM_KEYUP, VK_RETURN);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->Clicks, 4);
  // The caption's accelerator clicks.
  b->SetCaption(L"&Go");
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, L'G', 0), 1);
  EXPECT_EQ(b->Clicks, 5);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, L'X', 0), 0);
  EXPECT_EQ(b->Clicks, 5);
  // A button that takes no focus ignores the keys.
  b->SetToggleMode(false);
  b->SetCanFocused(false);
  EXPECT_FALSE(b->TabStop());
  b->Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(b->Clicks, 5);
}

TEST(ButtonControl, HeldPressRepeatsClicksAfterTheFirstDelay) {
  TScene s;
  TTestButton* b = s.B();
  b->SetRepeatClick(true);
  b->SetRepeatClickInterval(50);
  TScene::CursorTo(b, 10, 10);
  b->Move(10, 10);
  b->Press();
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(b->Clicks, 0);  // nothing before the first 500 ms
  ASSERT_TRUE(PumpUntil([&] { return b->Clicks >= 4; }, 3000));
  b->Release();
  const int afterRelease = b->Clicks;
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(b->Clicks, afterRelease);  // the repeat stopped
}

TEST(ButtonControl, PopupMenuOpensOnPressAndTheClosingPressOnlyMarksHot) {
  TScene s;
  TTestButton* b = s.B();
  TPopupMenu menu(nullptr);
  b->SetDropDownMenu(&menu);
  b->Move(10, 10);
  b->Press();
  EXPECT_EQ(b->MenuPopups, 1);
  EXPECT_EQ(b->StateInMenu, kasPressed);
  EXPECT_EQ(b->MenuPoint, b->ClientToScreen(TPoint(0, b->Height())));
  EXPECT_TRUE(b->MenuTracking());
  b->Release();
  EXPECT_EQ(b->Clicks, 0);
  b->Press();  // within the tracking period
  EXPECT_EQ(b->MenuPopups, 1);
  EXPECT_TRUE(PumpUntil([&] { return !b->MenuTracking(); }, 2000));
  b->Release();

  // The down arrow opens it too, and the arrows are asked for while a menu is set.
  EXPECT_EQ(b->Perform(CM_WANTSPECIALKEY, VK_DOWN, 0), 1);
  b->Key(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(b->MenuPopups, 2);
  EXPECT_TRUE(PumpUntil([&] { return !b->MenuTracking(); }, 2000));

  // A split button: the main part clicks, the right zone (or left, right to left) opens.
  b->SetSplitButton(true);
  struct TCase {
    TBiDiMode Mode;
    int X;
    bool Opens;
  };
  const TCase cases[] = {{bdLeftToRight, 10, false}, {bdLeftToRight, 85, true}, {bdRightToLeft, 85, false},
                         {bdRightToLeft, 10, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.X);
    b->SetBiDiMode(c.Mode);
    const int popups = b->MenuPopups, clicks = b->Clicks;
    b->Move(c.X, 10);
    b->Press(c.X, 10);
    b->Release(c.X, 10);
    EXPECT_EQ(b->MenuPopups - popups, c.Opens ? 1 : 0);
    EXPECT_EQ(b->Clicks - clicks, c.Opens ? 0 : 1);
    PumpUntil([&] { return !b->MenuTracking(); }, 2000);
  }
  // A freed menu is forgotten.
  {
    TPopupMenu other(nullptr);
    b->SetDropDownMenu(&other);
  }
  EXPECT_EQ(b->DropDownMenu(), nullptr);
}

TEST(ButtonControl, CustomDropDownStaysPressedUntilCloseUp) {
  TScene s;
  TTestButton* b = s.B();
  b->SetCustomDropDown(true);
  int dropDowns = 0;
  std::vector<bool> closeUps;
  b->OnDropDown = [&](TObject*) { ++dropDowns; };
  b->OnCloseUp = [&](TObject*, bool Accept) { closeUps.push_back(Accept); };
  b->Move(10, 10);
  b->Press();
  b->Release();
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(b->State(), kasPressed);
  EXPECT_TRUE(b->MenuTracking());
  b->CloseUp(true);
  EXPECT_EQ(closeUps, std::vector<bool>{true});
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_EQ(b->State(), kasHot);
  EXPECT_EQ(b->Clicks, 0);
}

TEST(ButtonControl, GlowCacheAsksForARebuildOnlyWhenAParameterChanged) {
  TScene s;
  TTestButton* b = s.B();
  EXPECT_TRUE(b->NeedGlow(clRed, 0));  // nothing cached yet
  EXPECT_FALSE(b->NeedGlow(clRed, 0));
  EXPECT_TRUE(b->NeedGlow(clBlue, 0));
  EXPECT_TRUE(b->NeedGlow(clBlue, 1));
  b->SetSpacing(4);
  EXPECT_TRUE(b->NeedGlow(clBlue, 1));
  b->SetCaption(L"Other");
  EXPECT_TRUE(b->NeedGlow(clBlue, 1));
  b->Canvas()->Font()->SetSize(b->Canvas()->Font()->Size() + 2);
  EXPECT_TRUE(b->NeedGlow(clBlue, 1));
  EXPECT_FALSE(b->NeedGlow(clBlue, 1));

  // Another list, or the same list with another image size, needs new glow bitmaps.
  TImageList list(nullptr);
  EXPECT_TRUE(b->NeedGlow(clBlue, 1, &list));
  EXPECT_FALSE(b->NeedGlow(clBlue, 1, &list));
  list.SetWidth(24);
  EXPECT_TRUE(b->NeedGlow(clBlue, 1, &list));
  // So does any change of the glow options, which also repaints.
  b->GlowEffect()->SetEnabled(true);
  EXPECT_TRUE(b->NeedGlow(clBlue, 1, &list));
  EXPECT_FALSE(b->NeedGlow(clBlue, 1, &list));
}

TEST(ButtonControl, GlowParametersPerState) {
  TScene s;
  TTestButton* b = s.B();
  TkaButtonGlowEffect* g = b->GlowEffect();
  g->SetEnabled(true);
  g->SetColor(clRed);
  g->SetHotColor(clBlue);
  g->SetFocusedColor(clNone);  // falls back to the normal colour
  g->SetPressedColor(clLime);
  g->SetAlphaValue(200);
  g->SetPressedAlphaValue(150);
  g->SetGlowSize(6);
  g->SetPressedGlowSize(9);
  g->SetStates({kasNormal, kasHot, kasPressed, kasFocused, kasDisabled});
  struct TCase {
    TkasCtrlState State;
    TColor Color;
    uint8_t Alpha, Size;
  };
  const TCase cases[] = {{kasNormal, clRed, 200, 6},   {kasHot, clBlue, 200, 6},      {kasPressed, clLime, 150, 9},
                         {kasFocused, clRed, 200, 6},  {kasDisabled, clRed, 100, 6}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.State));
    TColor color = clNone;
    uint8_t alpha = 0, size = 0;
    ASSERT_TRUE(b->Glow(c.State, color, alpha, size));
    EXPECT_EQ(color, c.Color);
    EXPECT_EQ(alpha, c.Alpha);
    EXPECT_EQ(size, c.Size);
  }
  // Outside its states the glow is not drawn.
  g->SetStates({kasHot});
  TColor color;
  uint8_t alpha, size;
  EXPECT_FALSE(b->Glow(kasNormal, color, alpha, size));
  EXPECT_TRUE(b->Glow(kasHot, color, alpha, size));
}

TEST(ButtonControl, ThousandsOfStateRepaintsKeepGdiObjectCount) {
  TkaCompositionTesting fake;
  fake.SetVersion(10, 0, 19045);
  TScene s;
  TTestButton* b = s.B();
  b->SetAnimation(true);
  TBitmap target(100, 35);
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      b->Move(i % 2 == 0 ? 10 : 300, 10);
      b->SetDown(i % 3 == 0);
      b->RePaintControl();
      b->PaintState(target.Canvas()->Handle(), static_cast<TkasCtrlState>(i % 5), i % 2 == 0);
      fake.AnimationCalls.clear();
    }
  };
  cycle(50);
  const int before = GdiObjectCount();
  cycle(2000);
  EXPECT_LE(GdiObjectCount() - before, 2);
}

TEST(ButtonColorOptions, PerStateColoursChangeNotificationAndAssign) {
  TkaButtonColorOptions a;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetStyleColors(false);
  a.SetHotColor(clRed);
  a.SetHotColor(clRed);  // unchanged: no event
  a.SetFrameHotColor(clLime);
  a.SetFontDisabledColor(clGray);
  EXPECT_EQ(changes, 4);
  struct TCase {
    TkasCtrlState State;
    TColor Fill, Frame, Font;
  };
  const TCase cases[] = {{kasNormal, clBtnFace, clBtnShadow, clBtnText},
                         {kasHot, clRed, clLime, clBtnText},
                         {kasPressed, clBtnShadow, clHighlight, clBtnText},
                         {kasDisabled, clBtnFace, clBtnShadow, clGray}};
  for (const TCase& c : cases) {
    a.SetState(c.State);
    EXPECT_EQ(a.GetColor(), c.Fill);
    EXPECT_EQ(a.GetFrameColor(), c.Frame);
    EXPECT_EQ(a.GetFontColor(), c.Font);
  }
  TkaButtonColorOptions b;
  b.Assign(&a);
  b.SetState(kasHot);
  EXPECT_EQ(b.GetColor(), clRed);
  EXPECT_FALSE(b.StyleColors());
}

}  // namespace
