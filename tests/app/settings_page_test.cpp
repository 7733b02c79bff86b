// The settings and about pages of the real main window, driven as a user drives them, on the
// three paths the window tells apart at start (Windows 11, Windows 10 with backdrops, no
// backdrop available): the start-up look, each backdrop chosen in the combo box, the
// "Windows11 UI" switch, the two check boxes, the second window and the message window in
// their modal loops, and the about page's link.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <optional>
#include <vector>

#include "app/MessageUnit.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/app/DemoWindow.h"

namespace {

using namespace demotest;

constexpr DWORD kCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr int kCornerDefault = 0, kCornerDoNotRound = 1;

// The corner preference the window last asked the compositor for, if it asked at all.
std::optional<int> LastCornerPreference(TkaCompositionTesting& C) {
  std::optional<int> last;
  for (const auto& call : C.WindowAttributeCalls)
    if (call.Attribute == kCornerPreference && call.Wnd == Form1->Handle()) last = call.IntValue();
  return last;
}

// The accent the window last asked for (ACCENT_DISABLED when it never asked).
int LastAccent(TkaCompositionTesting& C) {
  int accent = ACCENT_DISABLED;
  for (const auto& call : C.CompositionAttributeCalls)
    if (call.HasAccent && call.Wnd == Form1->Handle()) accent = call.Accent.AccentState;
  return accent;
}

std::vector<TkaGPGlyphContainerButton*> PageButtons() {
  return {Form1->kaGPGlyphContainerButton3, Form1->kaGPGlyphContainerButton2, Form1->kaGPGlyphContainerButton4,
          Form1->kaGPGlyphContainerButton1};
}

// ---- Start-up look --------------------------------------------------------------------------------

// What the start-up handler and the switch's handler make of the window on each path.
struct TStartLook {
  const char* Name;
  int Build;
  bool Composition;
  int Accent;
  uint8_t SideMenuAlpha;
  int FrameWidth;
  bool SwitchOn;
  TkaGPButtonShapeStyle PageShape;
  int PageMarginLeft;  // of "Data", whose margins the switch moves
  TkaGPButtonShapeStyle MenuShape, ExitShape;
  bool ComboEnabled;
  bool Opaque;  // the whole window made an opaque one
};

const TStartLook kStartLooks[] = {
    {"Windows 11", kWindows11Build, true, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100, 1, true, kagpLeftRoundedLine, 5,
     kagpTabBottom, kagpRoundedRect, true, false},
    {"Windows 10", kWindows10Build, true, ACCENT_ENABLE_BLURBEHIND, 230, 0, false, kagpLeftLineMargins, 0, kagpRect,
     kagpRect, true, false},
    {"Windows 10 before backdrops", kWindows10NoBackdropBuild, true, ACCENT_DISABLED, 200, 1, false,
     kagpLeftLineMargins, 0, kagpRect, kagpRect, false, true},
    {"Windows 10 without composition", kWindows10Build, false, ACCENT_DISABLED, 200, 1, false, kagpLeftLineMargins, 0,
     kagpRect, kagpRect, false, true},
};

TEST(SettingsStart, EachWindowsPathStartsWithItsBackdropSideMenuFrameSwitchAndShapes) {
  for (const TStartLook& c : kStartLooks) {
    SCOPED_TRACE(c.Name);
    TMainWindow w(96, c.Build, c.Composition);
    EXPECT_EQ(LastAccent(w.Composition()), c.Accent);
    EXPECT_EQ(Form1->kaGPPanel1->FillColorAlpha(), c.SideMenuAlpha);
    EXPECT_EQ(Form1->BorderPanel->FrameWidth(), c.FrameWidth);
    EXPECT_EQ(Form1->kaGPToggleSwitch1->IsOn(), c.SwitchOn);
    for (TkaGPGlyphContainerButton* b : PageButtons())
      EXPECT_EQ(b->Options()->ShapeStyle(), c.PageShape) << ToUtf8(b->Name());
    EXPECT_EQ(Form1->kaGPGlyphContainerButton3->Margins()->Left(), c.PageMarginLeft);
    EXPECT_EQ(Form1->kaGPGlyphContainerButton3->Margins()->Right(), c.PageMarginLeft);
    EXPECT_EQ(Form1->MenuButton->Options()->ShapeStyle(), c.MenuShape);
    EXPECT_EQ(Form1->ExitButton->Options()->ShapeStyle(), c.ExitShape);
    EXPECT_EQ(Form1->ExitButton->AlignWithMargins(), c.SwitchOn);
    EXPECT_EQ(Form1->kaAdvancedComboBox1->Enabled(), c.ComboEnabled);
    EXPECT_EQ(Form1->kaAdvancedComboBox1->ItemIndex(), 3);
    // Windows 11 keeps the platform's rounded corners (the default, so nothing is asked);
    // nowhere is "do not round" asked for at start.
    EXPECT_NE(LastCornerPreference(w.Composition()), std::optional<int>(kCornerDoNotRound));

    // Without a backdrop the window is an ordinary opaque one.
    EXPECT_EQ(Form1->StyleElements() == TStyleElements{seClient}, c.Opaque);
    EXPECT_EQ(Form1->BorderPanel->FillColor(), c.Opaque ? clBtnFace : clBlack);
    EXPECT_EQ(Form1->ClientPanel->FluentUIOpaque(), !c.Opaque);
    EXPECT_EQ(Form1->kaGPPanel1->TransparentBackground(), !c.Opaque);
    if (c.Opaque) {
      EXPECT_EQ(Form1->MenuButton->DrawTextMode(), kadtmGDI);
    }
    // The pages' controls as laid out.
    EXPECT_TRUE(Form1->kaCheckBox2->Checked());
    EXPECT_TRUE(Form1->kaCheckBox4->Checked());
    EXPECT_EQ(Form1->kaGPPanel1->CustomImageIndex(), 0);
  }
}

// ---- Backdrop combo box -------------------------------------------------------------------------

// One arrow key on the combo box, which has the focus: it selects the next row up or down
// at once, as a user steps through the backdrops.
void StepCombo(WORD Key) {
  TkaAdvancedComboBox* combo = Form1->kaAdvancedComboBox1;
  combo->SetFocus();
  PumpPending();
  ASSERT_EQ(::GetFocus(), combo->Handle());
  PressKey(Key);
  Settle(50);
}

TEST(SettingsBackdrop, EachComboRowSetsItsBackdropAndTheRecreatedWindowKeepsEveryControlsState) {
  struct TRow {
    WORD Key;
    int Index;
    int Accent;
    uint8_t Alpha;
  };
  const struct {
    const char* Name;
    int Build;
    // Frame width while a backdrop is in force (Windows 11 keeps its 1).
    int BackdropFrame;
    std::vector<TRow> Rows;
  } cases[] = {
      {"Windows 10", kWindows10Build, 0,
       {{VK_UP, 2, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100},
        {VK_UP, 1, ACCENT_ENABLE_BLURBEHIND, 230},
        {VK_UP, 0, ACCENT_DISABLED, 200},
        {VK_DOWN, 1, ACCENT_ENABLE_BLURBEHIND, 230},
        {VK_DOWN, 2, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100},
        {VK_DOWN, 3, ACCENT_ENABLE_BLURBEHIND, 230}}},
      {"Windows 11", kWindows11Build, 1,
       {{VK_UP, 2, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100},
        {VK_UP, 1, ACCENT_ENABLE_BLURBEHIND, 230},
        {VK_UP, 0, ACCENT_DISABLED, 200},
        {VK_DOWN, 1, ACCENT_ENABLE_BLURBEHIND, 230},
        {VK_DOWN, 2, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100},
        {VK_DOWN, 3, ACCENT_ENABLE_ACRYLICBLURBEHIND, 100}}},
  };
  for (const auto& c : cases) {
    TMainWindow w(96, c.Build);
    // State of the other controls, set away from the layout's so that a re-created window
    // that lost it would show.
    Click(Form1->kaCheckBox2);
    Click(Form1->kaCheckBox4);
    const bool switchOn = Form1->kaGPToggleSwitch1->IsOn();
    for (const TRow& row : c.Rows) {
      SCOPED_TRACE(testing::Message() << c.Name << ", row " << row.Index);
      const HWND before = Form1->Handle();
      StepCombo(row.Key);
      EXPECT_EQ(Form1->kaAdvancedComboBox1->ItemIndex(), row.Index);
      EXPECT_EQ(int(Form1->kaStyledForm1->FluentUIBackground()), row.Index);
      EXPECT_NE(Form1->Handle(), before) << "the styled form re-creates the window";
      EXPECT_EQ(LastAccent(w.Composition()), row.Accent);
      EXPECT_EQ(Form1->kaGPPanel1->FillColorAlpha(), row.Alpha);
      const bool backdrop = row.Index != 0;
      EXPECT_EQ(Form1->BorderPanel->FrameWidth(), backdrop ? c.BackdropFrame : 1);
      EXPECT_EQ(Form1->BorderPanel->FillColor(), backdrop ? clBlack : clBtnFace);
      EXPECT_EQ(Form1->ClientPanel->FluentUIOpaque(), backdrop);
      EXPECT_EQ(Form1->kaGPPanel1->TransparentBackground(), backdrop);
      EXPECT_EQ(Form1->MenuButton->DrawTextMode(), backdrop ? kadtmGDIPlus : kadtmGDI);
      EXPECT_EQ(Form1->ExitButton->DrawTextMode(), backdrop ? kadtmGDIPlus : kadtmGDI);
      if (!backdrop) {
        EXPECT_EQ(Form1->Color(), GetStyleSystemColor(clBtnFace)) << "no longer black";
      }
      // Everything else as the user left it, and still on screen.
      EXPECT_EQ(Form1->kaPageViewer1->PageIndex(), 2);
      EXPECT_TRUE(::IsWindowVisible(Form1->kaAdvancedComboBox1->Handle()));
      EXPECT_FALSE(Form1->kaCheckBox2->Checked());
      EXPECT_FALSE(Form1->kaCheckBox4->Checked());
      EXPECT_EQ(Form1->kaGPPanel1->CustomImageIndex(), -1);
      EXPECT_EQ(Form1->kaGPToggleSwitch1->IsOn(), switchOn);
      EXPECT_TRUE(Form1->kaAdvancedComboBox1->Enabled());
    }
  }
}

TEST(SettingsBackdrop, WithoutABackdropTheComboBoxIsDisabledAndItsHandlerChangesNothing) {
  TMainWindow w(96, kWindows10NoBackdropBuild);
  ASSERT_FALSE(Form1->kaAdvancedComboBox1->Enabled());
  // Even when a row is chosen by code, the unavailable backdrop is not asked for.
  Form1->kaAdvancedComboBox1->SetItemIndex(1);
  PumpPending();
  EXPECT_EQ(Form1->kaStyledForm1->FluentUIBackground(), kafuibAcrylicBlurAuto);
  EXPECT_EQ(Form1->BorderPanel->FillColor(), clBtnFace);
  EXPECT_EQ(Form1->kaGPPanel1->FillColorAlpha(), 200);
  EXPECT_EQ(LastAccent(w.Composition()), ACCENT_DISABLED);
}

// ---- "Windows11 UI" ------------------------------------------------------------------------------

TEST(SettingsWindows11UI, SwitchReshapesTheSideMenuAndSetsTheWindowCorners) {
  for (int build : {kWindows11Build, kWindows10Build}) {
    SCOPED_TRACE(testing::Message() << "build " << build);
    const bool windows11 = build >= kWindows11Build;
    TMainWindow w(96, build);
    TkaGPToggleSwitch* sw = Form1->kaGPToggleSwitch1;
    for (bool on : {!windows11, windows11, !windows11}) {
      SCOPED_TRACE(on ? "switched on" : "switched off");
      // The thumb slides over, and the state changes when it arrives.
      Click(sw);
      PumpUntil([&] { return sw->IsOn() == on; }, 3000);
      ASSERT_EQ(sw->IsOn(), on);
      Settle(50);
      for (TkaGPGlyphContainerButton* b : PageButtons()) {
        EXPECT_EQ(b->Options()->ShapeStyle(), on ? kagpLeftRoundedLine : kagpLeftLine) << ToUtf8(b->Name());
        // "Data" (Tag 0) keeps its margins for its top margin of 100.
        EXPECT_EQ(b->AlignWithMargins(), on || b->Tag() == 0) << ToUtf8(b->Name());
      }
      EXPECT_EQ(Form1->kaGPGlyphContainerButton3->Margins()->Left(), on ? 5 : 0);
      EXPECT_EQ(Form1->kaGPGlyphContainerButton3->Margins()->Right(), on ? 5 : 0);
      EXPECT_EQ(Form1->kaGPGlyphContainerButton3->Margins()->Top(), 100);
      EXPECT_EQ(Form1->MenuButton->Options()->ShapeStyle(), on ? kagpTabBottom : kagpRect);
      EXPECT_EQ(Form1->ExitButton->Options()->ShapeStyle(), on ? kagpRoundedRect : kagpRect);
      EXPECT_EQ(Form1->ExitButton->AlignWithMargins(), on);
      EXPECT_EQ(Form1->kaStyledForm1->DWMClientRoundedCornersType(),
                on ? kaDWMRoundedCornersDefault : kaDWMRoundedCornersOff);
      // Only Windows 11 has corners to ask for.
      if (windows11)
        EXPECT_EQ(LastCornerPreference(w.Composition()), on ? kCornerDefault : kCornerDoNotRound);
      else
        EXPECT_EQ(LastCornerPreference(w.Composition()), std::nullopt);
      // "Data" sits inside its margins: 5 from the side menu's left while on.
      EXPECT_EQ(PlacedRect(Form1->kaGPGlyphContainerButton3).Left, on ? 5 : 0);
    }
  }
}

// ---- Check boxes ------------------------------------------------------------------------------

TEST(SettingsCheckBoxes, ShowWallpaperHidesAndShowsTheSideMenuPicture) {
  TMainWindow w;
  for (int index : {-1, 0, -1}) {
    Click(Form1->kaCheckBox2);
    EXPECT_EQ(Form1->kaCheckBox2->Checked(), index == 0);
    EXPECT_EQ(Form1->kaGPPanel1->CustomImageIndex(), index);
  }
}

TEST(SettingsCheckBoxes, FluentLightEffectReachesAllSixSideMenuButtons) {
  TMainWindow w;
  TkaGPGlyphContainerButton* buttons[] = {Form1->MenuButton, Form1->ExitButton, Form1->kaGPGlyphContainerButton1,
                                          Form1->kaGPGlyphContainerButton2, Form1->kaGPGlyphContainerButton3,
                                          Form1->kaGPGlyphContainerButton4};
  for (bool light : {false, true, false}) {
    Click(Form1->kaCheckBox4);
    EXPECT_EQ(Form1->kaCheckBox4->Checked(), light);
    for (TkaGPGlyphContainerButton* b : buttons) EXPECT_EQ(b->FluentLightEffect(), light) << ToUtf8(b->Name());
  }
}

// ---- Modal windows -------------------------------------------------------------------------------

// Runs Inside from within the modal loop of the window that Open (a click) shows, once that
// window is on screen; a window Inside left open is closed afterwards so the loop ends.
// Answers whether a modal window showed.
struct TModalWatch {
  std::function<void(TCustomForm*)> Inside;
  TCustomForm* Seen = nullptr;
  DWORD Start = 0;
};
TModalWatch* ActiveModalWatch = nullptr;

TCustomForm* VisibleModalForm() {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FormState().Contains(fsModal) && f->HandleAllocated() && ::IsWindowVisible(f->Handle())) return f;
  }
  return nullptr;
}

void CALLBACK ModalWatchTick(HWND, UINT, UINT_PTR Timer, DWORD) {
  TModalWatch* w = ActiveModalWatch;
  if (w == nullptr || w->Seen != nullptr) return;
  TCustomForm* modal = VisibleModalForm();
  if (modal == nullptr) {
    if (::GetTickCount() - w->Start > 5000) ::KillTimer(nullptr, Timer);
    return;
  }
  w->Seen = modal;
  PumpPending();
  Settle(100);
  w->Inside(modal);
  // A failed check may leave the window open: end its loop rather than hang.
  if (modal->FormState().Contains(fsModal) && modal->ModalResult() == mrNone) modal->SetModalResult(mrCancel);
}

bool WhileModal(TWinControl* Opener, std::function<void(TCustomForm*)> Inside) {
  TModalWatch watch{std::move(Inside), nullptr, ::GetTickCount()};
  ActiveModalWatch = &watch;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, ModalWatchTick);
  Click(Opener);
  ::KillTimer(nullptr, timer);
  ActiveModalWatch = nullptr;
  PumpPending();
  return watch.Seen != nullptr;
}

bool CentredOnScreen(HWND Wnd) {
  const TRect r = WindowRect(Wnd);
  const TRect m = Screen->MonitorFromWindow(Wnd).WorkareaRect();
  const TRect b = Screen->MonitorFromWindow(Wnd).BoundsRect();
  auto same = [](int A, int B) { return std::abs(A - B) <= 1; };
  // Centred on the monitor (as the framework places poScreenCenter) or on its work area.
  return (same(r.Left - b.Left, b.Right - r.Right) && same(r.Top - b.Top, b.Bottom - r.Bottom)) ||
         (same(r.Left - m.Left, m.Right - r.Right) && same(r.Top - m.Top, m.Bottom - r.Bottom));
}

// The second window lives until the application ends; a test that needs one made at its own
// scale frees the one an earlier test left.
void ForgetSecondForm() {
  if (Form2 != nullptr) Form2->Free();
  ASSERT_EQ(Form2, nullptr);
}

TEST(SettingsSecondForm, ShowsOneModalCentredSecondWindowThatMaximisesRestoresAndCloses) {
  ForgetSecondForm();
  TMainWindow w(96, kWindows11Build);
  TForm2* first = nullptr;
  for (int showing = 1; showing <= 2; ++showing) {
    SCOPED_TRACE(testing::Message() << "showing " << showing);
    const bool shown = WhileModal(Form1->kaButton1, [&](TCustomForm* Modal) {
      ASSERT_NE(Form2, nullptr);
      EXPECT_EQ(Modal, Form2);
      if (showing == 1) first = Form2;
      EXPECT_EQ(Form2, first) << "the same window every time";
      EXPECT_EQ(Form2->Owner(), Application);
      EXPECT_EQ(ToUtf8(Form2->CaptionLabel->Caption()), "UWP MultiView - Second Form - Demo");
      EXPECT_FALSE(::IsWindowEnabled(Form1->Handle())) << "the main window waits";
      EXPECT_TRUE(::IsWindowEnabled(Form2->Handle()));
      const TRect r = WindowRect(Form2->Handle());
      EXPECT_EQ(r.Width(), 700);
      EXPECT_EQ(r.Height(), 400);
      EXPECT_TRUE(CentredOnScreen(Form2->Handle())) << testing::PrintToString(r);
      // The compositor frames it without a backdrop, and its shadow resizes it.
      EXPECT_EQ(Form2->kaStyledForm1->FluentUIBackground(), kafuibNone);
      ASSERT_NE(Form2->kaStyledForm1->HitTestWnd(), nullptr);
      EXPECT_TRUE(Form2->kaStyledForm1->HitTestWnd()->Visible());
      EXPECT_TRUE(Form2->BorderPanel->Sizeable());

      Click(Form2->MaxButton);
      EXPECT_TRUE(Form2->kaStyledForm1->IsDWMClientMaximized());
      EXPECT_EQ(Form2->BorderPanel->FrameColor(), clBtnShadow);
      EXPECT_FALSE(Form2->BorderPanel->Sizeable());
      EXPECT_EQ(Form2->MaxButton->GlyphOptions()->Kind(), kagpbgkRestore);
      const TRect work = Screen->MonitorFromWindow(Form2->Handle()).WorkareaRect();
      EXPECT_GE(WindowRect(Form2->Handle()).Width(), work.Width() - 2);
      Click(Form2->MaxButton);
      EXPECT_FALSE(Form2->kaStyledForm1->IsDWMClientMaximized());
      EXPECT_EQ(Form2->BorderPanel->FrameColor(), clHighlight);
      EXPECT_TRUE(Form2->BorderPanel->Sizeable());
      EXPECT_EQ(WindowRect(Form2->Handle()), r);

      Click(Form2->CloseButton);
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(::IsWindowEnabled(Form1->Handle())) << "the main window works again";
    ASSERT_NE(Form2, nullptr);
    EXPECT_FALSE(::IsWindowVisible(Form2->Handle())) << "hidden, not freed";
  }
}

TEST(SettingsSecondForm, MinimumSizeIsFourHundredSquareTimesTheScale) {
  for (const auto& [dpi, minimumSize] : {std::pair{96, 400}, std::pair{120, 500}}) {
    const int minimum = minimumSize;  // a plain local: lambdas may not capture bindings before C++20's fix
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    ForgetSecondForm();
    TMainWindow w(dpi, kWindows11Build);
    const bool shown = WhileModal(Form1->kaButton1, [&](TCustomForm*) {
      EXPECT_EQ(Form2->Constraints()->MinWidth(), minimum);
      EXPECT_EQ(Form2->Constraints()->MinHeight(), minimum);
      // Asked to become smaller than that, it stays at its minimum.
      const TRect before = WindowRect(Form2->Handle());
      ::SetWindowPos(Form2->Handle(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      PumpPending();
      EXPECT_EQ(WindowRect(Form2->Handle()).Width(), minimum);
      EXPECT_EQ(WindowRect(Form2->Handle()).Height(), minimum);
      ::SetWindowPos(Form2->Handle(), nullptr, 0, 0, before.Width(), before.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      Click(Form2->CloseButton);
    });
    EXPECT_TRUE(shown);
  }
  ForgetSecondForm();
}

// The message window's ways to close, each taken once.
const struct {
  const char* Way;
  std::function<void(TMessageForm*)> Close;
} kMessageCloses[] = {
    {"Ok", [](TMessageForm* M) { Click(M->OkButton); }},
    {"Escape", [](TMessageForm*) { PressKey(VK_ESCAPE); }},
    {"Enter", [](TMessageForm*) { PressKey(VK_RETURN); }},
    {"the close button", [](TMessageForm* M) { Click(M->CloseButton); }},
};

// The pointer rests on an empty part of the settings page, and the pointer-leave polls of the
// controls it left have run: what the framework keeps for a control under the pointer is
// then the same before and after a showing.
void ParkPointer() {
  TWinControl* page = Form1->kaPageViewerPage3;
  MouseAt(page, WM_MOUSEMOVE, 0, TPoint(page->Width() - 20, page->Height() - 20));
  Settle(300);
}

TEST(SettingsMessage, ShowsCaptionTextPictureAndOkModallyClosesEachWayAndIsFreed) {
  for (int dpi : {96, 144}) {
    TMainWindow w(dpi, kWindows11Build);
    // Process-wide objects made on the first showing stay; they are not the window's.
    WhileModal(Form1->kaButton2, [](TCustomForm* Modal) { Click(static_cast<TMessageForm*>(Modal)->OkButton); });
    ParkPointer();
    const int aliveBefore = TObject::AliveCount();
    for (const auto& way : kMessageCloses) {
      SCOPED_TRACE(testing::Message() << dpi << " dpi, closed by " << way.Way);
      bool closed = false;
      const bool shown = WhileModal(Form1->kaButton2, [&](TCustomForm* Modal) {
        auto* m = dynamic_cast<TMessageForm*>(Modal);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->Owner(), nullptr);
        EXPECT_EQ(ToUtf8(m->CaptionLabel->Caption()), "UWP Message Form");
        EXPECT_EQ(ToUtf8(m->MessageLabel->Caption()), "UWP message text");
        EXPECT_TRUE(m->OkButton->Visible());
        EXPECT_EQ(ToUtf8(m->OkButton->Caption()), "Ok");
        EXPECT_FALSE(m->CancelButton->Visible());
        EXPECT_FALSE(::IsWindowVisible(m->CancelButton->Handle()));
        // The picture is the main window's second one.
        EXPECT_EQ(m->BorderPanel->CustomImages(), Form1->kaGPImageCollection1);
        EXPECT_EQ(m->BorderPanel->CustomImageIndex(), 1);
        EXPECT_FALSE(::IsWindowEnabled(Form1->Handle()));
        const TRect r = WindowRect(m->Handle());
        EXPECT_EQ(r.Width(), ::MulDiv(460, dpi, 96));
        EXPECT_EQ(r.Height(), ::MulDiv(178, dpi, 96));
        EXPECT_TRUE(CentredOnScreen(m->Handle())) << testing::PrintToString(r);
        // Not resizable: neither by its panel nor from its shadow.
        EXPECT_FALSE(m->BorderPanel->Sizeable());
        EXPECT_FALSE(m->kaStyledForm1->HitTestWnd() != nullptr && m->kaStyledForm1->HitTestWnd()->Visible());
        EXPECT_EQ(::GetFocus(), m->OkButton->Handle());
        way.Close(m);
        closed = m->ModalResult() != mrNone;
      });
      EXPECT_TRUE(shown);
      EXPECT_TRUE(closed);
      EXPECT_EQ(VisibleModalForm(), nullptr);
      EXPECT_TRUE(::IsWindowEnabled(Form1->Handle()));
      ParkPointer();
      EXPECT_EQ(TObject::AliveCount(), aliveBefore) << "the message window is freed";
    }
  }
}

// ---- About page ------------------------------------------------------------------------------------

TEST(AboutPage, ShowsTheLibraryNameAndItsLinkOpensTheAddressOncePerClick) {
  std::vector<String> opened;
  SetWebLauncher([&](const String& Address) { opened.push_back(Address); });
  {
    TMainWindow w;
    Click(Form1->kaGPGlyphContainerButton1);
    ASSERT_EQ(Form1->kaPageViewer1->PageIndex(), 3);
    EXPECT_EQ(ToUtf8(Form1->kaLabel28->Caption()), "Karvo VCL");
    EXPECT_EQ(ToUtf8(Form1->kaLabel14->Caption()), "Home:");
    EXPECT_TRUE(::IsWindowVisible(Form1->kaButton10->Handle()));
    for (size_t clicks = 1; clicks <= 2; ++clicks) {
      Click(Form1->kaButton10);
      ASSERT_EQ(opened.size(), clicks);
      EXPECT_EQ(ToUtf8(opened.back()), ToUtf8(MakerWebAddress));
    }
    // The link does not take the focus from the page button.
    EXPECT_FALSE(Form1->kaButton10->Focused());
  }
  SetWebLauncher(nullptr);
  // A reserved example domain until the project has a site of its own.
  EXPECT_NE(ToUtf8(MakerWebAddress).find(".example"), std::string::npos);
}

}  // namespace
