// The maximise glyph button seen by the system as the window's own (snap layouts): the hit
// test through the button and its parents, and the hot, pressed and click behaviour driven
// by the form's non-client messages.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Forms.h"
#include "framework/Streaming.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/TestControls.h"

namespace {

class TSnapStyledForm : public TkaStyledForm {
 public:
  using TkaStyledForm::TkaStyledForm;
  std::vector<HWND> TrackedLeaves;

 protected:
  void TrackNonClientLeave(HWND Wnd) override { TrackedLeaves.push_back(Wnd); }
};

class TSnapButton : public TkaGPGlyphButton {
 public:
  using TkaGPGlyphButton::TkaGPGlyphButton;
  using TkaGPGlyphButton::GetCtrlState;
  // The button's own 100 ms poll: the real pointer is nowhere near the button.
  void PollLeave() { CheckMouseLeave(nullptr); }
};

// A shown form in DWM client mode whose maximise button sits two panels deep, as in the
// demo's caption.
struct TSnapFixture {
  TkaCompositionTesting Composition;
  TCustomForm* Form = nullptr;
  TSnapStyledForm* Styled = nullptr;
  TTestPanel* Outer = nullptr;
  TTestPanel* Inner = nullptr;
  TSnapButton* Button = nullptr;
  int Clicks = 0;

  explicit TSnapFixture(int Build = 22621, bool Shadow = true) {
    Composition.SetVersion(10, 0, Build);
    Composition.SetCompositionEnabled(true);
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBounds(100, 120, 500, 300);
    Styled = Construct<TSnapStyledForm>(Form);
    Outer = Construct<TTestPanel>(Form);
    Outer->SetParent(Form);
    Outer->SetBounds(0, 0, 500, 300);
    Inner = Construct<TTestPanel>(Form);
    Inner->SetParent(Outer);
    Inner->SetBounds(10, 5, 480, 40);
    Button = Construct<TSnapButton>(Form);
    Button->SetParent(Inner);
    Button->SetBounds(400, 4, 40, 30);
    Button->OnClick = [this](TObject*) { ++Clicks; };
    Styled->SetDWMClientShadow(Shadow);
    Styled->SetSnapLayoutButton(Button);
    Form->Show();
  }
  ~TSnapFixture() {
    if (::GetCapture() == Form->Handle()) ::ReleaseCapture();
    Form->Free();
    PumpPending();
  }
  HWND Wnd() { return Form->Handle(); }
  TRect ButtonRect() {
    RECT r;
    ::GetWindowRect(Button->Handle(), &r);
    return TRect(r);
  }
  TPoint ButtonCentre() {
    const TRect r = ButtonRect();
    return TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  }
  TPoint Outside() {
    const TRect r = ButtonRect();
    return TPoint(r.Left - 3, r.Top + r.Height() / 2);
  }
  static LPARAM At(TPoint P) { return MAKELPARAM(P.X, P.Y); }
  LRESULT HitTest(HWND W, TPoint Screen) { return ::SendMessageW(W, WM_NCHITTEST, 0, At(Screen)); }
  // Client messages while the form holds the pointer come in the form's client coordinates.
  LRESULT SendClient(UINT Msg, TPoint Screen, WPARAM Keys = 0) {
    POINT p{Screen.X, Screen.Y};
    ::ScreenToClient(Wnd(), &p);
    return ::SendMessageW(Wnd(), Msg, Keys, MAKELPARAM(p.x, p.y));
  }
  void NC(UINT Msg, WPARAM Code, TPoint Screen) { ::SendMessageW(Wnd(), Msg, Code, At(Screen)); }
  TkasCtrlState State() { return Button->GetCtrlState(); }
};

// ---- Hit test -----------------------------------------------------------------------------------

TEST(StyledFormSnap, FormAnswersMaxButtonAndTheButtonsWindowsLetThePointerThrough) {
  enum TWhere { Inside, OutsideLeft, Hidden, Disabled };
  const struct {
    const char* Name;
    int Build;
    bool Shadow;
    bool Maximized;
    TWhere Where;
    bool Snap;
  } cases[] = {
      {"windows 11 22h2", 22621, true, false, Inside, true},
      {"windows 11 21h2", 22000, true, false, Inside, true},
      // The restore glyph of a maximised window is the same button to the system.
      {"maximised", 22621, true, true, Inside, true},
      {"windows 10 keeps the client button", 19041, true, false, Inside, false},
      {"a system frame has its own button", 22621, false, false, Inside, false},
      {"beside the button", 22621, true, false, OutsideLeft, false},
      {"hidden button", 22621, true, false, Hidden, false},
      {"disabled button", 22621, true, false, Disabled, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSnapFixture f(c.Build, c.Shadow);
    if (c.Maximized) {
      f.Styled->DWMClientMaximize();
      ASSERT_TRUE(f.Styled->IsDWMClientMaximized());
    }
    TPoint p = c.Where == OutsideLeft ? f.Outside() : f.ButtonCentre();
    if (c.Where == Hidden) f.Button->SetVisible(false);
    if (c.Where == Disabled) f.Button->SetEnabled(false);

    const LRESULT form = f.HitTest(f.Wnd(), p);
    EXPECT_EQ(form == HTMAXBUTTON, c.Snap) << "form answered " << form;
    for (TWinControl* w : std::vector<TWinControl*>{f.Button, f.Inner, f.Outer}) {
      if (c.Where == Hidden && w == f.Button) continue;
      const LRESULT code = f.HitTest(w->Handle(), p);
      EXPECT_EQ(code == HTTRANSPARENT, c.Snap) << "window " << (w == f.Button ? "button" : w == f.Inner ? "inner" : "outer") << " answered " << code;
    }
    EXPECT_EQ(f.Button->FrameDriven(), c.Shadow && c.Build >= 22000);
  }
}

TEST(StyledFormSnap, TheSystemsOwnHitTestReachesTheFormOverTheButton) {
  TSnapFixture f;
  // WindowFromPoint walks the windows under the point with their own hit tests, as the
  // system does before it decides where the pointer is.
  const TPoint p = f.ButtonCentre();
  EXPECT_EQ(::WindowFromPoint(POINT{p.X, p.Y}), f.Wnd());
  const TPoint q = f.Outside();
  EXPECT_EQ(::WindowFromPoint(POINT{q.X, q.Y}), f.Inner->Handle());
}

// ---- Hot look -----------------------------------------------------------------------------------

TEST(StyledFormSnap, HotLookComesFromNonClientMovesAndEndsOnlyWithTheNonClientLeave) {
  TSnapFixture f;
  ASSERT_EQ(f.State(), kasNormal);
  f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, f.ButtonCentre());
  EXPECT_EQ(f.State(), kasHot);
  f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, f.ButtonCentre());
  // The non-client leave is asked for once per visit.
  EXPECT_EQ(f.Styled->TrackedLeaves, std::vector<HWND>{f.Wnd()});

  // What the client side reports once the pointer is on the non-client path: the framework's
  // leave of the control it last saw, the form's client leave, and the button's own poll.
  f.Button->Perform(CM_MOUSELEAVE);
  ::SendMessageW(f.Wnd(), WM_MOUSELEAVE, 0, 0);
  f.Button->PollLeave();
  f.Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(f.State(), kasHot);

  // Setting changes are broadcast all the time; one in the middle keeps the hover.
  ::SendMessageW(f.Wnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(f.State(), kasHot);
  ::SendMessageW(f.Wnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(f.State(), kasNormal);

  // Back over it, then onto another part of the window.
  f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, f.ButtonCentre());
  EXPECT_EQ(f.State(), kasHot);
  EXPECT_EQ(f.Styled->TrackedLeaves.size(), 2u);
  f.NC(WM_NCMOUSEMOVE, HTCAPTION, f.Outside());
  EXPECT_EQ(f.State(), kasNormal);
}

TEST(StyledFormSnap, WithoutTheSnapButtonTheButtonTracksThePointerItself) {
  TSnapFixture f;
  f.Styled->SetSnapLayoutButton(nullptr);
  EXPECT_FALSE(f.Button->FrameDriven());
  EXPECT_NE(f.HitTest(f.Wnd(), f.ButtonCentre()), HTMAXBUTTON);
  EXPECT_NE(f.HitTest(f.Inner->Handle(), f.ButtonCentre()), HTTRANSPARENT);
  f.Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(f.State(), kasHot);
  f.Button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(f.State(), kasNormal);
}

// ---- Press and click ---------------------------------------------------------------------------

TEST(StyledFormSnap, PressShowsPressedHoldsThePointerAndReleaseOnTheButtonClicks) {
  TSnapFixture f;
  f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, f.ButtonCentre());
  f.NC(WM_NCLBUTTONDOWN, HTMAXBUTTON, f.ButtonCentre());
  // Had the press reached the system, it would have run its own maximise.
  EXPECT_FALSE(::IsZoomed(f.Wnd()));
  EXPECT_EQ(f.State(), kasPressed);
  EXPECT_EQ(::GetCapture(), f.Wnd());
  EXPECT_EQ(f.Clicks, 0);

  f.SendClient(WM_LBUTTONUP, f.ButtonCentre());
  EXPECT_EQ(f.Clicks, 1);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(f.State(), kasHot);
  ::SendMessageW(f.Wnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(f.State(), kasNormal);
}

TEST(StyledFormSnap, PressesThatEndElsewhereDoNotClick) {
  enum TEnd { UpOutside, OutAndBackIn, UpOnCaption, CaptureTaken };
  const struct {
    const char* Name;
    TEnd End;
    int Clicks;
  } cases[] = {
      {"released beside the button", UpOutside, 0},
      {"dragged out and back in", OutAndBackIn, 1},
      {"released on another non-client part", UpOnCaption, 0},
      {"pointer taken by another window", CaptureTaken, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSnapFixture f;
    f.NC(WM_NCLBUTTONDOWN, HTMAXBUTTON, f.ButtonCentre());
    ASSERT_EQ(f.State(), kasPressed);
    switch (c.End) {
      case UpOutside:
        f.SendClient(WM_MOUSEMOVE, f.Outside(), MK_LBUTTON);
        EXPECT_EQ(f.State(), kasNormal);
        f.SendClient(WM_LBUTTONUP, f.Outside());
        break;
      case OutAndBackIn:
        f.SendClient(WM_MOUSEMOVE, f.Outside(), MK_LBUTTON);
        EXPECT_EQ(f.State(), kasNormal);
        f.SendClient(WM_MOUSEMOVE, f.ButtonCentre(), MK_LBUTTON);
        EXPECT_EQ(f.State(), kasPressed);
        f.SendClient(WM_LBUTTONUP, f.ButtonCentre());
        break;
      case UpOnCaption:
        f.NC(WM_NCLBUTTONUP, HTCAPTION, f.Outside());
        break;
      case CaptureTaken:
        ::SetCapture(f.Inner->Handle());
        ::ReleaseCapture();
        f.SendClient(WM_LBUTTONUP, f.ButtonCentre());
        f.NC(WM_NCLBUTTONUP, HTMAXBUTTON, f.ButtonCentre());
        break;
    }
    EXPECT_EQ(f.Clicks, c.Clicks);
    EXPECT_NE(f.State(), kasPressed);
    EXPECT_NE(::GetCapture(), f.Wnd());
    // A later hover shows hot, not a pressed look left behind.
    f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, f.ButtonCentre());
    EXPECT_EQ(f.State(), kasHot);
  }
}

TEST(StyledFormSnap, ClickThroughTheFrameMaximisesAndTheRestoreGlyphStillAnswers) {
  TSnapFixture f;
  f.Button->OnClick = [&f](TObject*) {
    if (f.Styled->IsDWMClientMaximized())
      f.Styled->DWMClientRestore();
    else
      f.Styled->DWMClientMaximize();
  };
  f.NC(WM_NCLBUTTONDOWN, HTMAXBUTTON, f.ButtonCentre());
  f.SendClient(WM_LBUTTONUP, f.ButtonCentre());
  ASSERT_TRUE(f.Styled->IsDWMClientMaximized());
  EXPECT_EQ(f.HitTest(f.Wnd(), f.ButtonCentre()), HTMAXBUTTON);
  f.NC(WM_NCLBUTTONDBLCLK, HTMAXBUTTON, f.ButtonCentre());
  f.NC(WM_NCLBUTTONUP, HTMAXBUTTON, f.ButtonCentre());
  EXPECT_FALSE(f.Styled->IsDWMClientMaximized());
}

TEST(StyledFormSnap, AButtonPlacedAfterItWasNamedIsFramedOnceThePointerComes) {
  TSnapFixture f;
  TSnapButton* late = Construct<TSnapButton>(f.Form);
  f.Styled->SetSnapLayoutButton(late);
  late->SetParent(f.Inner);
  late->SetBounds(300, 4, 40, 30);
  RECT r;
  ::GetWindowRect(late->Handle(), &r);
  const TPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  // The system asks the deepest window first.
  EXPECT_EQ(f.HitTest(late->Handle(), p), HTTRANSPARENT);
  EXPECT_EQ(f.HitTest(f.Inner->Handle(), p), HTTRANSPARENT);
  EXPECT_EQ(f.HitTest(f.Outer->Handle(), p), HTTRANSPARENT);
  EXPECT_EQ(f.HitTest(f.Wnd(), p), HTMAXBUTTON);
  // The former button is an ordinary control again.
  EXPECT_FALSE(f.Button->FrameDriven());
  EXPECT_NE(f.HitTest(f.Button->Handle(), f.ButtonCentre()), HTTRANSPARENT);
}

// ---- Lifetime and layouts -----------------------------------------------------------------------

TEST(StyledFormSnap, FreeingTheButtonOrItsParentForgetsItAndUnhooksTheRest) {
  {
    TSnapFixture f;
    const TPoint p = f.ButtonCentre();
    f.Button->Free();
    f.Button = nullptr;
    EXPECT_EQ(f.Styled->SnapLayoutButton(), nullptr);
    EXPECT_NE(f.HitTest(f.Wnd(), p), HTMAXBUTTON);
    EXPECT_NE(f.HitTest(f.Inner->Handle(), p), HTTRANSPARENT);
    EXPECT_NE(f.HitTest(f.Outer->Handle(), p), HTTRANSPARENT);
  }
  {
    TSnapFixture f;
    const TPoint p = f.ButtonCentre();
    f.Inner->Free();
    f.Inner = nullptr;
    f.Button = nullptr;
    EXPECT_EQ(f.Styled->SnapLayoutButton(), nullptr);
    EXPECT_NE(f.HitTest(f.Outer->Handle(), p), HTTRANSPARENT);
    f.NC(WM_NCMOUSEMOVE, HTMAXBUTTON, p);
  }
  {
    // The styled form goes first: the controls keep working without it.
    TSnapFixture f;
    const TPoint p = f.ButtonCentre();
    f.Styled->Free();
    EXPECT_FALSE(f.Button->FrameDriven());
    EXPECT_NE(f.HitTest(f.Button->Handle(), p), HTTRANSPARENT);
    EXPECT_NE(f.HitTest(f.Outer->Handle(), p), HTTRANSPARENT);
  }
}

TEST(StyledFormSnap, LayoutNamesTheButtonBeforeItIsReadAndFramesItOnceLoaded) {
  TkaCompositionTesting composition;
  composition.SetVersion(10, 0, 22621);
  composition.SetCompositionEnabled(true);
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object LayoutForm: TCustomForm
  Left = 100
  Top = 100
  Width = 400
  Height = 300
  object kaStyledForm1: TkaStyledForm
    DWMClientShadow = True
    SnapLayoutButton = MaxButton
  end
  object CaptionPanel: TkaPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    object MaxButton: TkaGPGlyphButton
      Left = 340
      Top = 5
      Width = 30
      Height = 30
    end
  end
end
)",
             L"snaplayout");
  auto* styled = dynamic_cast<TkaStyledForm*>(form->FindComponent(L"kaStyledForm1"));
  auto* button = dynamic_cast<TkaGPGlyphButton*>(form->FindComponent(L"MaxButton"));
  ASSERT_NE(styled, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(styled->SnapLayoutButton(), button);
  EXPECT_TRUE(button->FrameDriven());
  form->Show();
  RECT r;
  ::GetWindowRect(button->Handle(), &r);
  const LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(::SendMessageW(form->Handle(), WM_NCHITTEST, 0, centre), HTMAXBUTTON);
  EXPECT_EQ(::SendMessageW(button->Parent()->Handle(), WM_NCHITTEST, 0, centre), HTTRANSPARENT);
  form->Free();
  PumpPending();
}

}  // namespace
