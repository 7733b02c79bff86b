// Lifetimes in the real main window: its window re-created over and over (each backdrop change
// re-creates it, and so does RecreateWnd) keeps what the user set and grows no handles; and a
// control freed in the middle of an animation (the switch's slide, a side-menu button's press
// light, an icon playing, a hint fading in, the combo box's list dropped) leaves no timer or
// hook behind that reaches it. Freed memory is poisoned meanwhile, so a late tick crashes at
// once instead of reading stale contents quietly.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Unit1.h"
#include "framework/Forms.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedPopupListBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/app/DemoWindow.h"
#include "tests/app/FreedMemoryPoison.h"
#include "tests/app/MonkeyInput.h"
#include "tests/support/Handles.h"

namespace {

using namespace demotest;

int UserObjects() {
  ::SetLastError(0);
  const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  return ThreadWindowCount();
}

// What the user set in the main window, read from the controls (and their windows).
struct TUserState {
  int Page;
  std::string Header, Caption;
  int ComboRow;
  int ListScroll;
  bool SwitchOn, Wallpaper, LightEffect;
  TRect Bounds;
  int ChildWindows;
  bool operator==(const TUserState&) const = default;
};

BOOL CALLBACK CountChild(HWND, LPARAM Count) {
  ++*reinterpret_cast<int*>(Count);
  return TRUE;
}

int ChildWindowCount(HWND Wnd) {
  int n = 0;
  ::EnumChildWindows(Wnd, CountChild, reinterpret_cast<LPARAM>(&n));
  return n;
}

TUserState UserState() {
  return {Form1->kaPageViewer1->PageIndex(),
          ToUtf8(Form1->kaGPPanel15->Caption()),
          ToUtf8(Form1->CaptionLabel->Caption()),
          Form1->kaAdvancedComboBox1->ItemIndex(),
          Form1->kaAdvancedComboBox1->ListBox()->ScrollOffset(),
          Form1->kaGPToggleSwitch1->IsOn(),
          Form1->kaCheckBox2->Checked(),
          Form1->kaCheckBox4->Checked(),
          WindowRect(Form1->Handle()),
          ChildWindowCount(Form1->Handle())};
}

void PrintTo(const TUserState& S, std::ostream* os) {
  *os << "{page " << S.Page << " \"" << S.Header << "\", caption \"" << S.Caption << "\", combo row " << S.ComboRow
      << ", list scroll " << S.ListScroll << ", switch " << S.SwitchOn << ", wallpaper " << S.Wallpaper
      << ", light " << S.LightEffect << ", bounds " << testing::PrintToString(S.Bounds) << ", " << S.ChildWindows
      << " child windows}";
}

TEST(RecreateMainWindow, AThousandRecreationsKeepWhatTheUserSetAndGrowNoHandles) {
  TMainWindow w(96, kWindows10Build);
  // Away from the layout's state, the way a user gets there: the combo box's row (which
  // applies the blur backdrop), the switch, both check boxes, then the "Reports" page.
  for (int step = 0; step < 2; ++step) {
    Form1->kaAdvancedComboBox1->SetFocus();
    PumpPending();
    PressKey(VK_UP);
    Settle(50);
  }
  ASSERT_EQ(Form1->kaAdvancedComboBox1->ItemIndex(), 1);
  Click(Form1->kaGPToggleSwitch1);
  PumpUntil([] { return Form1->kaGPToggleSwitch1->IsOn(); }, 3000);
  Click(Form1->kaCheckBox2);
  Click(Form1->kaCheckBox4);
  Click(Form1->kaGPGlyphContainerButton2);
  Settle(100);
  const TUserState set = UserState();
  ASSERT_EQ(set.Page, 1);
  ASSERT_EQ(set.Header, "Reports");
  ASSERT_TRUE(set.SwitchOn);
  ASSERT_FALSE(set.Wallpaper);
  ASSERT_FALSE(set.LightEffect);

  // Backdrop changes by the styled form (as the combo box's handler makes them) and plain
  // re-creations, in turn; the first rounds fill what is made once per process.
  const TkaFluentUIBackground backdrops[] = {kafuibAcrylic, kafuibNone, kafuibAcrylicBlurAuto, kafuibBlur};
  int gdi = 0, user = 0;
  const DWORD start = ::GetTickCount();
  // 250 in the test run; --monkey-recreations 1000 (or more) for the long check.
  const int kTimes = static_cast<int>(monkey::Flag(L"recreations", 250));
  constexpr int kWarmUp = 20;
  for (int i = 0; i < kTimes; ++i) {
    if (i == kWarmUp) {
      Settle(200);
      gdi = GdiObjectCount();
      user = UserObjects();
    }
    const HWND before = Form1->Handle();
    if (i % 2 == 0)
      w.Styled()->SetFluentUIBackground(backdrops[(i / 2) % 4]);
    else
      Form1->RecreateWnd();
    PumpPending();
    ASSERT_NE(Form1->Handle(), before) << "re-creation " << i;
    ASSERT_EQ(UserState(), set) << "re-creation " << i;
  }
  // Back to the backdrop it had at the count.
  w.Styled()->SetFluentUIBackground(backdrops[(kWarmUp / 2) % 4]);
  Settle(200);
  std::printf("%d re-creations in %.1f s\n", kTimes, (::GetTickCount() - start) / 1000.0);
  EXPECT_TRUE(::IsWindowVisible(Form1->kaPageViewerPage2->Handle()));
  EXPECT_NEAR(GdiObjectCount(), gdi, 2);
  EXPECT_NEAR(UserObjects(), user, 2);
}

// ---- Freed while animating ------------------------------------------------------------------

// Frees a control of the main window while what Start began is running, then lets the
// timers run on, moves the pointer over where the control was and repaints the window.
struct TFreeCase {
  const char* Name;
  std::function<void()> Start;
  std::function<bool()> Running;  // checked before the free: the animation did start
  std::function<void()> Free;
};

void RunFreeCase(const TFreeCase& C) {
  SCOPED_TRACE(C.Name);
  TMainWindow w;
  const int exceptions = Application->ExceptionCount();
  const long poisonedBefore = TFreedMemoryPoison::Poisoned();
  {
    TFreedMemoryPoison poison;
    C.Start();
    ASSERT_TRUE(C.Running()) << "the animation did not start";
    C.Free();
    // The timers that were running have several periods to tick; the pointer passes over
    // the place, a press lands outside any list, and everything repaints.
    Settle(400);
    for (int x = 10; x < Form1->Width(); x += 60) {
      const TPoint p = Form1->ClientToScreen(TPoint(x, Form1->Height() / 2));
      ::SetCursorPos(p.X, p.Y);
      ::PostMessageW(Form1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, Form1->Height() / 2));
    }
    ::PostMessageW(Form1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(Form1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ::RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(300);
  }
  EXPECT_GT(TFreedMemoryPoison::Poisoned(), poisonedBefore) << "the freed memory was poisoned";
  EXPECT_EQ(Application->ExceptionCount(), exceptions);
}

// Whether the switch's slide runs, read through the member the switch keeps to itself.
struct TSwitchSlide : TkaGPToggleSwitch {
  using TkaGPToggleSwitch::Sliding;
};
bool IsSliding(TkaGPToggleSwitch* Switch) { return (Switch->*(&TSwitchSlide::Sliding))(); }

TEST(FreedWhileAnimating, NoTimerTickOrHookReachesAControlFreedMidAnimation) {
  { TMainWindow warmUp; }
  std::vector<TFreeCase> cases = {
      {"the switch while its thumb slides",
       [] { Click(Form1->kaGPToggleSwitch1); },
       [] { return IsSliding(Form1->kaGPToggleSwitch1); },
       [] { FreeAndNil(Form1->kaGPToggleSwitch1); }},
      {"a side-menu button while its press light spreads",
       [] {
         TWinControl* b = Form1->kaGPGlyphContainerButton2;
         MouseAt(b, WM_MOUSEMOVE, 0, Centre(b));
         MouseAt(b, WM_LBUTTONDOWN, MK_LBUTTON, Centre(b));
         Settle(30);
       },
       [] { return ::GetCapture() == Form1->kaGPGlyphContainerButton2->Handle(); },
       [] {
         Form1->SkAnimatedImage2 = nullptr;  // freed with its button
         FreeAndNil(Form1->kaGPGlyphContainerButton2);
       }},
      {"an icon while it plays",
       [] {
         PointerTo(Form1->kaGPGlyphContainerButton1);
         Settle(50);
       },
       [] { return Form1->SkAnimatedImage1->Animating(); },
       // The button it sits in stays, and must forget it.
       [] { FreeAndNil(Form1->SkAnimatedImage1); }},
      {"a button while its hint fades in",
       [] {
         Form1->kaButton1->SetHint(L"Opens the second window");
         Form1->kaButton1->SetShowHint(true);
         PointerTo(Form1->kaButton1);
         Application->ActivateHint(Form1->kaButton1->ClientToScreen(Centre(Form1->kaButton1)));
         Settle(20);
       },
       [] {
         return Application->HintWindow() != nullptr && Application->HintControl() == Form1->kaButton1 &&
                ::IsWindowVisible(Application->HintWindow()->Handle());
       },
       [] { FreeAndNil(Form1->kaButton1); }},
      {"the combo box with its list dropped",
       [] {
         TkaAdvancedComboBox* combo = Form1->kaAdvancedComboBox1;
         Click(combo);
         // A busy machine may deliver the click before the window is active; then as code.
         if (!PumpUntil([&] { return combo->IsPopupVisible(); }, 1000)) combo->DropDown();
         Settle(50);
       },
       [] { return Form1->kaAdvancedComboBox1->IsPopupVisible(); },
       [] { FreeAndNil(Form1->kaAdvancedComboBox1); }},
  };
  for (const TFreeCase& c : cases) RunFreeCase(c);
}

// ---- Missing system resources --------------------------------------------------------------

// Repaints every window of the main window at once, as after an uncovering.
void RepaintAll() {
  ::RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(50);
}

TEST(ResourceFailures, AFontThatDoesNotExistDrawsWithAStandInAndNothingFails) {
  TMainWindow w;
  const int exceptions = Application->ExceptionCount();
  // The caption (GDI), the page header (GDI+ text over the backdrop) and a settings label.
  for (TFont* font : {Form1->CaptionLabel->Font(), Form1->kaGPPanel15->Font(), Form1->kaLabel4->Font()})
    font->SetName(L"Karvo No Such Typeface");
  RepaintAll();
  w.MoveToDpi(144);
  RepaintAll();
  EXPECT_EQ(Application->ExceptionCount(), exceptions);
  EXPECT_TRUE(::IsWindowVisible(Form1->kaGPPanel15->Handle()));
}

TEST(ResourceFailures, WithoutTheCompositionAttributeFunctionBackdropChangesDoNothingVisibleAndNothingFails) {
  struct TCase {
    const char* Name;
    std::function<void(TkaCompositionTesting&)> Break;
  };
  const TCase cases[] = {
      {"function missing", [](TkaCompositionTesting& C) { C.Binding().SetWindowCompositionAttribute = nullptr; }},
      {"function fails", [](TkaCompositionTesting& C) { C.SetCompositionAttributeResult(FALSE); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMainWindow w(96, kWindows10Build);
    const int exceptions = Application->ExceptionCount();
    c.Break(w.Composition());
    const size_t callsBefore = w.Composition().CompositionAttributeCalls.size();
    // Every row of the combo box, by its arrow keys.
    for (WORD key : {VK_UP, VK_UP, VK_UP, VK_DOWN, VK_DOWN, VK_DOWN}) {
      Form1->kaAdvancedComboBox1->SetFocus();
      PumpPending();
      PressKey(key);
      Settle(30);
    }
    RepaintAll();
    EXPECT_EQ(Application->ExceptionCount(), exceptions);
    EXPECT_EQ(Form1->kaAdvancedComboBox1->ItemIndex(), 3);
    if (w.Composition().Binding().SetWindowCompositionAttribute == nullptr) {
      EXPECT_EQ(w.Composition().CompositionAttributeCalls.size(), callsBefore) << "nothing to call";
    }
    EXPECT_TRUE(::IsWindowVisible(Form1->Handle()));
  }
}


// Pictures as big as the windows allow: GDI and GDI+ refuse memory for them, and the window
// must go on without them.
TEST(ResourceFailures, ABitmapTooBigForMemoryIsRefusedAndTheOldPictureKept) {
  TBitmap bmp(10, 10);
  bmp.SetPixelFormat(pf32bit);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(Rect(0, 0, 10, 10));
  EXPECT_THROW(bmp.SetSize(40000, 40000), EOutOfResources);
  EXPECT_EQ(bmp.Width(), 10);
  EXPECT_EQ(bmp.Height(), 10);
  EXPECT_EQ(::GetPixel(bmp.Canvas()->Handle(), 5, 5), RGB(255, 0, 0));
}

// A control grown past what memory can buffer reports the failure (it is logged; nothing
// escapes the message loop), the rest of the window paints, and the control paints again once
// it is back to a size that fits.
TEST(ResourceFailures, AControlTooBigForItsBufferFailsItsPaintsAloneAndRecovers) {
  TMainWindow w;
  RepaintAll();
  for (TkaCustomControl* c : std::initializer_list<TkaCustomControl*>{
           Form1->kaGPPanel15, Form1->kaGPToggleSwitch1, Form1->kaAdvancedComboBox1, Form1->kaButton1}) {
    SCOPED_TRACE(testing::Message() << std::string(c->Name().begin(), c->Name().end()));
    const TRect was = c->BoundsRect();
    c->SetBounds(0, 0, 32000, 32000);
    RepaintAll();
    c->SetBoundsRect(was);
    const int exceptions = Application->ExceptionCount();
    const int paints = c->PaintStats().Paints;
    RepaintAll();
    EXPECT_EQ(Application->ExceptionCount(), exceptions) << "paints fail again at the old size";
    EXPECT_GT(c->PaintStats().Paints, paints) << "the control paints again";
  }
  EXPECT_TRUE(::IsWindowVisible(Form1->Handle()));
}

}  // namespace
