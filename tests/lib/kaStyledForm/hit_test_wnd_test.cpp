// The resize ring around a borderless form (its bounds at several scales, window region,
// hit-test codes, the sizing drag that sizes the form under its constraints, the re-fit
// after the drag) and the inactive-client veil (snapshot, tint, blur, hiding).
#include <gtest/gtest.h>

#include <memory>

#include "lib/kaStyledForm/ClientInActivePanel.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/TestControls.h"

namespace {

// Opens the styled form's state that the ring writes to.
class TTestStyledForm : public TkaStyledForm {
  KA_CLASS(TTestStyledForm, TkaStyledForm)
 public:
  using TkaStyledForm::TkaStyledForm;
  using TkaStyledForm::FHitTestWndDown;
  using TkaStyledForm::FStopActivateEvents;
};

// Every monitor reports Ppi while it lives.
struct TMonitorPpi {
  explicit TMonitorPpi(int Ppi) {
    TMonitor::SetPixelsPerInchOverride([Ppi](HMONITOR) { return Ppi; });
  }
  ~TMonitorPpi() { TMonitor::SetPixelsPerInchOverride({}); }
};

// A borderless 300 x 200 form at (100, 100) with a styled form, shown on monitors of the
// given DPI (so the styled form's scale factor is Ppi / 96), and a ring fitted around it.
struct TRingScene {
  TMonitorPpi MonitorPpi;
  TCustomForm* Form;
  TTestStyledForm* Styled;
  TkaHitTestWnd* Ring;
  int Deactivations = 0;  // of the form, since the ring was made

  explicit TRingScene(int Ppi = 96) : MonitorPpi(Ppi) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Styled = new TTestStyledForm(Form);
    Form->SetBounds(100, 100, 300, 200);
    Form->Show();
    PumpPending();
    Form->OnDeactivate = [this](TObject*) { ++Deactivations; };
    Ring = new TkaHitTestWnd(Styled, Styled);
    Ring->UpdatePosition();
    PumpPending();
  }
  ~TRingScene() { Form->Free(); }

  HWND RingWnd() const { return Ring->WindowHandle(); }
  TRect RingRect() const {
    RECT r{};
    ::GetWindowRect(RingWnd(), &r);
    return TRect(r);
  }
  LRESULT HitTest(int X, int Y) const { return ::SendMessageW(RingWnd(), WM_NCHITTEST, 0, MAKELPARAM(X, Y)); }
};

TEST(HitTestWndRing, SurroundsTheFormByTheScaledBorderWithAFrameRegionBehindTheForm) {
  struct TCase {
    int Ppi;
    double Scale;
    int Border;
  };
  const TCase cases[] = {{96, 1.0, 5}, {120, 1.25, 6}, {144, 1.5, 7}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Ppi);
    TRingScene s(c.Ppi);
    ASSERT_DOUBLE_EQ(s.Styled->ScaleFactor(), c.Scale);
    const int b = c.Border;
    EXPECT_EQ(s.Ring->FBorderSize, b);
    const TRect expected = Rect(100 - b, 100 - b, 400 + b, 300 + b);
    EXPECT_EQ(s.Ring->BoundsRect(), expected);
    EXPECT_EQ(s.RingRect(), expected);
    EXPECT_EQ(s.Ring->ClientRect(), Rect(0, 0, 300, 200));  // the frame is non-client area
    EXPECT_TRUE(s.Ring->Visible());
    EXPECT_TRUE(::IsWindowVisible(s.RingWnd()));
    EXPECT_FALSE(s.Ring->Active());
    EXPECT_TRUE(s.Form->Active());
    EXPECT_EQ(s.Deactivations, 0);  // the ring appeared without taking the activation
    EXPECT_EQ(::GetWindow(s.Form->WindowHandle(), GW_HWNDNEXT), s.RingWnd());

    // The window's region is exactly the frame b pixels wide.
    TRgnHandle actual(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetWindowRgn(s.RingWnd(), actual.Get()), COMPLEXREGION);
    TRgnHandle frame(::CreateRectRgn(0, 0, 300 + 2 * b, 200 + 2 * b));
    TRgnHandle inside(::CreateRectRgn(b, b, 300 + b, 200 + b));
    ::CombineRgn(frame.Get(), frame.Get(), inside.Get(), RGN_DIFF);
    EXPECT_TRUE(::EqualRgn(actual.Get(), frame.Get()));
  }
}

TEST(HitTestWndRing, AnswersTheSizingCodeOfEachEdgeAndCorner) {
  struct TCase {
    int Ppi;
    int X, Y;
    LRESULT Code;
  };
  // The form covers (100, 100)-(400, 300); the ring reaches 5 pixels beyond it at 100 %
  // and 7 at 150 %.
  const TCase cases[] = {
      {96, 98, 98, HTTOPLEFT},       {96, 98, 200, HTLEFT},         {96, 250, 98, HTTOP},
      {96, 402, 98, HTTOPRIGHT},     {96, 402, 200, HTRIGHT},       {96, 98, 302, HTBOTTOMLEFT},
      {96, 250, 302, HTBOTTOM},      {96, 402, 302, HTBOTTOMRIGHT}, {96, 95, 95, HTTOPLEFT},
      {96, 99, 99, HTTOPLEFT},       {96, 100, 99, HTTOP},          {96, 99, 100, HTLEFT},
      {96, 399, 99, HTTOP},          {96, 400, 99, HTTOPRIGHT},     {96, 400, 100, HTRIGHT},
      {96, 99, 299, HTLEFT},         {96, 99, 300, HTBOTTOMLEFT},   {96, 100, 300, HTBOTTOM},
      {96, 404, 304, HTBOTTOMRIGHT}, {96, 94, 200, HTNOWHERE},      {96, 405, 200, HTNOWHERE},
      {96, 250, 305, HTNOWHERE},     {96, 250, 200, HTNOWHERE},     {96, 100, 100, HTNOWHERE},

      {144, 98, 98, HTTOPLEFT},      {144, 98, 200, HTLEFT},        {144, 250, 98, HTTOP},
      {144, 402, 98, HTTOPRIGHT},    {144, 402, 200, HTRIGHT},      {144, 98, 302, HTBOTTOMLEFT},
      {144, 250, 302, HTBOTTOM},     {144, 402, 302, HTBOTTOMRIGHT}, {144, 93, 93, HTTOPLEFT},
      {144, 94, 200, HTLEFT},        {144, 99, 99, HTTOPLEFT},      {144, 100, 99, HTTOP},
      {144, 99, 100, HTLEFT},        {144, 399, 99, HTTOP},         {144, 400, 99, HTTOPRIGHT},
      {144, 99, 300, HTBOTTOMLEFT},  {144, 406, 306, HTBOTTOMRIGHT}, {144, 406, 200, HTRIGHT},
      {144, 92, 200, HTNOWHERE},     {144, 407, 200, HTNOWHERE},    {144, 250, 200, HTNOWHERE},
  };
  int ppi = 0;
  std::unique_ptr<TRingScene> s;
  for (const TCase& c : cases) {
    if (c.Ppi != ppi) {
      s.reset();
      s = std::make_unique<TRingScene>(c.Ppi);
      ppi = c.Ppi;
    }
    SCOPED_TRACE(testing::Message() << c.Ppi << " dpi at (" << c.X << ", " << c.Y << ")");
    EXPECT_EQ(s->HitTest(c.X, c.Y), c.Code);
  }
}

TEST(HitTestWndRing, ThePointerReachesTheRingOnlyOnItsFrame) {
  TRingScene s;
  s.Ring->SetAlphaBlendValue(1);
  // With the form out of the way, the place it covered belongs to whatever lies behind.
  s.Form->Hide();
  PumpPending();
  EXPECT_EQ(::WindowFromPoint(POINT{98, 200}), s.RingWnd());
  EXPECT_EQ(::WindowFromPoint(POINT{402, 302}), s.RingWnd());
  EXPECT_NE(::WindowFromPoint(POINT{250, 200}), s.RingWnd());
  EXPECT_NE(::WindowFromPoint(POINT{101, 101}), s.RingWnd());
}

TEST(HitTestWndRing, UpdateFormPositionKeepsTheOppositeEdgeWhenALimitStopsADraggedEdge) {
  struct TCase {
    const char* Name;
    TRect Asked;  // X, Y, X + W, Y + H
    TRect Result;
    bool Refuse = false;
  };
  // The form is (100, 100)-(400, 300); widths 200..500, heights 150..400.
  const TCase cases[] = {
      {"left edge within limits", Rect(50, 100, 400, 300), Rect(50, 100, 400, 300)},
      {"left edge in past MinWidth", Rect(250, 100, 400, 300), Rect(200, 100, 400, 300)},
      {"left edge out past MaxWidth", Rect(-150, 100, 400, 300), Rect(-100, 100, 400, 300)},
      {"right edge in past MinWidth", Rect(100, 100, 250, 300), Rect(100, 100, 300, 300)},
      {"right edge out past MaxWidth", Rect(100, 100, 650, 300), Rect(100, 100, 600, 300)},
      {"top edge in past MinHeight", Rect(100, 200, 400, 300), Rect(100, 150, 400, 300)},
      {"top edge out past MaxHeight", Rect(100, -250, 400, 300), Rect(100, -100, 400, 300)},
      {"bottom edge in past MinHeight", Rect(100, 100, 400, 200), Rect(100, 100, 400, 250)},
      {"top-left corner in past both", Rect(300, 250, 400, 300), Rect(200, 150, 400, 300)},
      {"form refuses the size", Rect(50, 50, 450, 350), Rect(100, 100, 400, 300), true},
  };
  TRingScene s;
  TSizeConstraints* limits = s.Form->Constraints();
  limits->SetMinWidth(200);
  limits->SetMaxWidth(500);
  limits->SetMinHeight(150);
  limits->SetMaxHeight(400);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    s.Form->OnCanResize = nullptr;
    s.Form->SetBounds(100, 100, 300, 200);
    if (c.Refuse) s.Form->OnCanResize = [](TObject*, int&, int&, bool& Resize) { Resize = false; };
    int x = c.Asked.Left, y = c.Asked.Top, w = c.Asked.Width(), h = c.Asked.Height();
    s.Ring->UpdateFormPosition(x, y, w, h);
    EXPECT_EQ(Bounds(x, y, w, h), c.Result);
    EXPECT_EQ(s.Form->BoundsRect(), c.Result);
  }
}

TEST(HitTestWndRing, SizingTheRingWhileDraggingSizesTheFormAndTheRingFollowsIt) {
  struct TCase {
    const char* Name;
    bool Dragging;
    bool NoMove;
    TRect RingAsked;
    TRect FormResult;
    TRect RingResult;
  };
  // At 100 % the ring is the form's (100, 100)-(400, 300) grown by 5.
  const TCase cases[] = {
      {"left edge out by 20", true, false, Rect(75, 95, 405, 305), Rect(80, 100, 400, 300), Rect(75, 95, 405, 305)},
      {"bottom-right out", true, false, Rect(95, 95, 445, 335), Rect(100, 100, 440, 330), Rect(95, 95, 445, 335)},
      {"left edge in past MinWidth", true, false, Rect(245, 95, 405, 305), Rect(200, 100, 400, 300),
       Rect(195, 95, 405, 305)},
      {"right edge in past MinWidth", true, false, Rect(95, 95, 255, 305), Rect(100, 100, 300, 300),
       Rect(95, 95, 305, 305)},
      {"size without a move", true, true, Rect(95, 95, 425, 305), Rect(100, 100, 420, 300),
       Rect(95, 95, 425, 305)},
      {"not dragging: the form stays", false, false, Rect(75, 95, 405, 305), Rect(100, 100, 400, 300),
       Rect(75, 95, 405, 305)},
  };
  TRingScene s;
  s.Form->Constraints()->SetMinWidth(200);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    s.Form->SetBounds(100, 100, 300, 200);
    s.Ring->UpdatePosition();
    s.Ring->FDragging = c.Dragging;
    const TRect& r = c.RingAsked;
    if (c.NoMove)  // the position fields carry nothing then
      ::SetWindowPos(s.RingWnd(), nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
      ::SetWindowPos(s.RingWnd(), nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    s.Ring->FDragging = false;
    EXPECT_EQ(s.Form->BoundsRect(), c.FormResult);
    EXPECT_EQ(s.RingRect(), c.RingResult);
  }
}

TEST(HitTestWndRing, PressingTheRingMarksTheStyledFormAndTheDragEndRefitsTheRingLater) {
  TRingScene s;
  int changes = 0;
  s.Styled->OnChangeActive = [&](TObject*) { ++changes; };
  // The press starts the platform's sizing loop; a queued button release ends it at once.
  ::PostMessageW(s.RingWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 100));
  ::SendMessageW(s.RingWnd(), WM_NCLBUTTONDOWN, HTLEFT, MAKELPARAM(98, 200));
  EXPECT_TRUE(s.Styled->FStopActivateEvents);
  EXPECT_TRUE(s.Styled->FHitTestWndDown);
  EXPECT_FALSE(s.Ring->FDragging);
  EXPECT_EQ(changes, 0);

  // While a drag runs the ring stays put; 50 ms after it ends the ring fits the form again.
  s.Ring->FDragging = true;
  s.Form->SetBounds(150, 120, 300, 200);
  s.Ring->UpdatePosition();
  EXPECT_EQ(s.RingRect(), Rect(95, 95, 405, 305));
  ::SendMessageW(s.RingWnd(), WM_EXITSIZEMOVE, 0, 0);
  EXPECT_FALSE(s.Ring->FDragging);
  EXPECT_EQ(s.RingRect(), Rect(95, 95, 405, 305));
  EXPECT_TRUE(PumpUntil([&] { return s.RingRect() == Rect(145, 115, 455, 325); }, 2000));
}

TEST(HitTestWndRing, TakesNoActivationAndHandsItBackToAnInactiveForm) {
  struct TCase {
    UINT Msg;
    LRESULT Result;
  };
  const TCase cases[] = {{WM_MOUSEACTIVATE, MA_NOACTIVATE}, {WM_SETFOCUS, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Msg);
    TRingScene s;
    TCustomForm* other = TCustomForm::CreateNew(nullptr);
    other->SetBounds(600, 100, 100, 100);
    other->Show();
    ASSERT_TRUE(PumpUntil([&] { return !s.Form->Active(); }, 2000));
    EXPECT_EQ(::SendMessageW(s.RingWnd(), c.Msg, 0, 0), c.Result);
    // The activation reaches the form through the window manager, not always at once.
    EXPECT_TRUE(PumpUntil([&] { return s.Form->Active(); }, 2000));
    EXPECT_FALSE(s.Ring->Active());
    other->Free();
  }
}

TEST(HitTestWndRing, LeavesNoHandlesBehind) {
  PumpPending();
  const int gdi = GdiObjectCount();
  const int windows = ThreadWindowCount();
  {
    TRingScene s;
    // Every size change gives the window a new region; the old one is the window's to free.
    const int settled = GdiObjectCount();
    for (int i = 0; i < 20; ++i) {
      s.Form->SetBounds(100 + i, 100, 300 + 3 * i, 200 + i);
      s.Ring->UpdatePosition();
    }
    s.Ring->SetVisible(false);
    s.Ring->UpdatePosition();
    PumpPending();
    EXPECT_EQ(GdiObjectCount(), settled);
  }
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

// ---- The inactive-client veil -----------------------------------------------------------

// A borderless 200 x 150 form in one colour with a 40 x 30 panel of another at (10, 10).
struct TVeilScene {
  TCustomForm* Form;
  TTestPanel* Spot;
  TkaClientInActivePanel* Veil;

  TVeilScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetColor(RGBColor(200, 100, 50));
    Form->SetBounds(60, 60, 200, 150);
    Spot = new TTestPanel(Form);
    Spot->FillColor = RGBColor(20, 40, 60);
    Spot->SetBounds(10, 10, 40, 30);
    Spot->SetParent(Form);
    Veil = new TkaClientInActivePanel(Form);
    Form->Show();
    PumpPending();
  }
  ~TVeilScene() { Form->Free(); }

  TColor BufferPixel(int X, int Y) const { return Veil->Buffer()->Canvas()->Pixel(X, Y); }
  uint8_t BufferAlpha(int X, int Y) const {
    return static_cast<uint8_t>(static_cast<uint32_t*>(Veil->Buffer()->ScanLine(Y))[X] >> 24);
  }
  TColor ScreenPixel(int X, int Y) const {
    TWindowDC dc(Form->Handle());
    return static_cast<TColor>(::GetPixel(dc.Get(), X, Y));
  }
};

TEST(ClientInActivePanel, CoversTheClientAreaWithTheSnapshotTintedAtTheGivenAlpha) {
  struct TCase {
    const char* Name;
    TColor Tint;
    uint8_t Alpha;
    TColor OverForm;   // form (200, 100, 50)
    TColor OverPanel;  // panel (20, 40, 60)
  };
  // Each channel: (C * (255 - a) + T * a) / 255, rounded to nearest.
  const TCase cases[] = {
      {"alpha 0 is the bare snapshot", clWhite, 0, RGBColor(200, 100, 50), RGBColor(20, 40, 60)},
      {"alpha 255 is the plain colour", RGBColor(1, 2, 3), 255, RGBColor(1, 2, 3), RGBColor(1, 2, 3)},
      {"black at 100", clBlack, 100, RGBColor(122, 61, 30), RGBColor(12, 24, 36)},
      {"white at 100", clWhite, 100, RGBColor(222, 161, 130), RGBColor(112, 124, 136)},
      {"system colour resolved", clWindowText, 128, RGBColor(100, 50, 25), RGBColor(10, 20, 30)},
  };
  ASSERT_EQ(ColorToRGB(clWindowText), clBlack);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TVeilScene s;
    s.Veil->ShowPanel(s.Form, c.Tint, c.Alpha, 0);
    ASSERT_NE(s.Veil->Buffer(), nullptr);
    EXPECT_EQ(s.Veil->Parent(), s.Form);
    EXPECT_EQ(s.Veil->BoundsRect(), Rect(0, 0, 200, 150));
    EXPECT_TRUE(s.Veil->Visible());
    EXPECT_EQ(s.Veil->Buffer()->Width(), 200);
    EXPECT_EQ(s.Veil->Buffer()->Height(), 150);
    EXPECT_EQ(s.BufferPixel(0, 0), c.OverForm);
    EXPECT_EQ(s.BufferPixel(199, 149), c.OverForm);
    EXPECT_EQ(s.BufferPixel(10, 10), c.OverPanel);
    EXPECT_EQ(s.BufferPixel(49, 39), c.OverPanel);
    EXPECT_EQ(s.BufferPixel(50, 40), c.OverForm);
    EXPECT_EQ(s.BufferAlpha(0, 0), 255);
    EXPECT_EQ(s.BufferAlpha(10, 10), 255);
    // The veil lies over everything on the form, the panel included.
    PumpPending();
    EXPECT_EQ(s.ScreenPixel(20, 20), c.OverPanel);
    EXPECT_EQ(s.ScreenPixel(100, 100), c.OverForm);
  }
}

TEST(ClientInActivePanel, BlursBeforeTinting) {
  TVeilScene s;
  s.Veil->ShowPanel(s.Form, clBlack, 0, 3);
  ASSERT_NE(s.Veil->Buffer(), nullptr);
  // Far from the panel the picture is uniform and stays so; at the panel's edge it mixes.
  EXPECT_EQ(s.BufferPixel(150, 100), RGBColor(200, 100, 50));
  EXPECT_EQ(s.BufferPixel(30, 25), RGBColor(20, 40, 60));
  const TColor edge = s.BufferPixel(10, 25);
  EXPECT_GT(GetRValue(edge), 20);
  EXPECT_LT(GetRValue(edge), 200);
  EXPECT_EQ(s.BufferAlpha(10, 25), 255);
}

TEST(ClientInActivePanel, ShowsNothingForAMissingHiddenOrEmptyForm) {
  struct TCase {
    const char* Name;
    bool NoForm, Hidden, Empty;
  };
  const TCase cases[] = {
      {"no form", true, false, false},
      {"hidden form", false, true, false},
      {"empty client area", false, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TVeilScene s;
    if (c.Hidden) s.Form->Hide();
    if (c.Empty) s.Form->SetBounds(60, 60, 0, 150);
    PumpPending();
    s.Veil->ShowPanel(c.NoForm ? nullptr : s.Form, clBlack, 100, 0);
    EXPECT_EQ(s.Veil->Buffer(), nullptr);
    EXPECT_EQ(s.Veil->Parent(), nullptr);
    EXPECT_FALSE(s.Veil->Visible());
  }
}

TEST(ClientInActivePanel, HidingDropsThePictureAndShowsTheFormAgain) {
  TVeilScene s;
  s.Veil->ShowPanel(s.Form, clBlack, 255, 0);
  PumpPending();
  ASSERT_EQ(s.ScreenPixel(100, 100), clBlack);
  s.Veil->HidePanel();
  PumpPending();
  EXPECT_EQ(s.Veil->Buffer(), nullptr);
  EXPECT_FALSE(s.Veil->Visible());
  EXPECT_EQ(s.ScreenPixel(100, 100), RGBColor(200, 100, 50));
  EXPECT_EQ(s.ScreenPixel(20, 20), RGBColor(20, 40, 60));
  // Shown again, it takes a new snapshot of the uncovered form.
  s.Veil->ShowPanel(s.Form, clBlack, 0, 0);
  ASSERT_NE(s.Veil->Buffer(), nullptr);
  EXPECT_EQ(s.BufferPixel(100, 100), RGBColor(200, 100, 50));
}

TEST(ClientInActivePanel, LeavesNoHandlesBehind) {
  PumpPending();
  const int gdi = GdiObjectCount();
  const int windows = ThreadWindowCount();
  {
    TVeilScene s;
    for (int i = 0; i < 5; ++i) {
      s.Veil->ShowPanel(s.Form, clBlack, 100, i);
      PumpPending();
      s.Veil->HidePanel();
    }
    s.Veil->ShowPanel(s.Form, clBlack, 100, 2);  // freed with the form while showing
    PumpPending();
  }
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
