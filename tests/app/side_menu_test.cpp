// The side menu of the real main window, its page header and its pages, driven with the
// window messages a user's pointer and keyboard produce, at 96 and 144 DPI: the state at
// start, page switching by click and by keyboard, the animated icons under the pointer, the
// popup menu and every way out of the program, the side menu's opacity for each backdrop,
// switching without a blank frame, and no handle growth over many switches and hovers.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "framework/GdiObjects.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/app/DemoWindow.h"
#include "tests/app/Pixels.h"
#include "tests/support/Handles.h"
#include "tools/DemoShots.h"

namespace {

using namespace demotest;

constexpr int kDpis[] = {96, 144};

int Scaled(int Value, int Dpi) { return ::MulDiv(Value, Dpi, 96); }

// The page buttons from the top of the side menu, with the page each shows.
struct TPageButton {
  const wchar_t* Caption;
  int Page;
  TkaGPGlyphContainerButton* TForm1::*Button;
  TSkAnimatedImage* TForm1::*Icon;
};
const TPageButton kPageButtons[] = {
    {L"Data", 0, &TForm1::kaGPGlyphContainerButton3, &TForm1::SkAnimatedImage3},
    {L"Reports", 1, &TForm1::kaGPGlyphContainerButton2, &TForm1::SkAnimatedImage2},
    {L"Settings", 2, &TForm1::kaGPGlyphContainerButton4, &TForm1::SkAnimatedImage4},
    {L"About", 3, &TForm1::kaGPGlyphContainerButton1, &TForm1::SkAnimatedImage1},
};

TkaGPGlyphContainerButton* ButtonFor(const wchar_t* Caption) {
  for (const TPageButton& b : kPageButtons)
    if (String(Caption) == b.Caption) return Form1->*b.Button;
  return nullptr;
}

TkaPageViewerPage* PageAt(int Index) {
  TkaPageViewerPage* pages[] = {Form1->kaPageViewerPage1, Form1->kaPageViewerPage2, Form1->kaPageViewerPage3,
                                Form1->kaPageViewerPage4};
  return pages[Index];
}

// Everything that shows which page is chosen: the viewer's index and page, the one page
// window on screen, the header's caption and the one page button that is down.
void ExpectShows(int Page, const wchar_t* Caption) {
  EXPECT_EQ(Form1->kaPageViewer1->PageIndex(), Page);
  EXPECT_EQ(Form1->kaPageViewer1->ActivePage(), PageAt(Page));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(::IsWindowVisible(PageAt(i)->Handle()) != FALSE, i == Page) << "page " << i + 1 << " on screen";
  EXPECT_EQ(ToUtf8(Form1->kaGPPanel15->Caption()), ToUtf8(Caption));
  for (const TPageButton& b : kPageButtons) EXPECT_EQ((Form1->*b.Button)->Down(), b.Page == Page) << ToUtf8(b.Caption);
  EXPECT_FALSE(Form1->ExitButton->Down());
}

// A click that pumps nothing afterwards, for routes that end the program: the quit message
// must stay in the queue for the test to find, not end a message loop.
void ClickWithoutPumping(TWinControl* Button) {
  const TPoint p = Centre(Button);
  MouseAt(Button, WM_MOUSEMOVE, 0, p);
  MouseAt(Button, WM_LBUTTONDOWN, MK_LBUTTON, p);
  if (Button->HandleAllocated()) MouseAt(Button, WM_LBUTTONUP, 0, p);
}

// The quit message a main window's close posts, taken out of the queue; its exit code, or
// -1 when there is none.
int TakeQuitMessage() {
  MSG msg;
  if (!::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return -1;
  return static_cast<int>(msg.wParam);
}

// The pointer rests on the side menu's plain fill, between the menu button and "Data".
void PointerToSideMenu(int Dpi) {
  MouseAt(Form1->kaGPPanel1, WM_MOUSEMOVE, 0, TPoint(Scaled(100, Dpi), Scaled(60, Dpi)));
  PumpPending();
}

// A clock the icons read instead of the system's, moved by the test.
class TTestClock {
 public:
  TTestClock() {
    TSkAnimatedImage::SetClock([this] { return FNow; });
  }
  ~TTestClock() { TSkAnimatedImage::SetClock(nullptr); }
  TTestClock(const TTestClock&) = delete;
  TTestClock& operator=(const TTestClock&) = delete;
  void Advance(double Seconds) { FNow += Seconds; }

 private:
  double FNow = 100.0;
};

// Lets the icon's playback timer tick until its frame settles (ticks read the clock, which
// only the test moves).
double SettledFrame(TSkAnimatedImage* Icon) {
  double frame = Icon->CurrentFrame();
  PumpUntil([&] { return std::abs(Icon->CurrentFrame() - frame) > 1e-9; }, 300);
  frame = Icon->CurrentFrame();
  Settle(60);
  return frame;
}

// What the form's window holds in R (its client coordinates) at this moment, including
// drawing the display has not been shown yet.
std::unique_ptr<TBitmap> CaptureFromWindow(HWND Form, const TRect& R) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(R.Width(), R.Height());
  {
    TWindowDC dc(Form);
    ::BitBlt(bitmap->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), dc.Get(), R.Left, R.Top, SRCCOPY);
  }
  ::GdiFlush();
  return bitmap;
}

TRect ClientRectIn(TWinControl* Control, HWND Form) {
  TRect r = ScreenRect(Control);
  ::MapWindowPoints(nullptr, Form, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- Start --------------------------------------------------------------------------------------

TEST(SideMenuStart, SettingsIsDownItsPageShowsAndTheButtonsStackWhereTheLayoutPutsThem) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TMainWindow w(dpi);
    auto S = [dpi](int V) { return Scaled(V, dpi); };
    ExpectShows(2, L"Settings");

    // The side menu fills the border panel's left, the client panel the rest.
    TkaGPPanel* menu = Form1->kaGPPanel1;
    const int H = Form1->ClientHeight();
    EXPECT_EQ(PlacedRect(menu), Bounds(0, 0, S(201), H));
    EXPECT_EQ(PlacedRect(Form1->ClientPanel).Left, S(201));
    EXPECT_EQ(PlacedRect(Form1->MenuButton), TRect(S(49), 0, S(151), S(35)));

    // Top-aligned in the order of their stored tops, "Data" after its top margin of 100 and
    // before its bottom margin of 3; the others without margins; "Exit" at the bottom.
    std::vector<TRect> placed;
    for (const TPageButton& b : kPageButtons) placed.push_back(PlacedRect(Form1->*b.Button));
    EXPECT_EQ(placed[0].Top, S(100));
    EXPECT_EQ(placed[1].Top, placed[0].Bottom + S(3));
    EXPECT_EQ(placed[2].Top, placed[1].Bottom);
    EXPECT_EQ(placed[3].Top, placed[2].Bottom);
    for (const TRect& r : placed) {
      // Alignment leaves the side menu's one-pixel frame line free.
      EXPECT_EQ(r.Left, 0);
      EXPECT_EQ(r.Right, menu->ClientWidth() - 1);
      EXPECT_NEAR(r.Height(), S(50), 1);
    }
    const TRect exit = PlacedRect(Form1->ExitButton);
    EXPECT_EQ(exit.Bottom, H);
    EXPECT_NEAR(exit.Height(), S(50), 1);

    // Each icon is the 35-pixel square at its button's left, centred in its height.
    for (const TPageButton& b : kPageButtons) {
      SCOPED_TRACE(ToUtf8(b.Caption));
      const TRect icon = PlacedRect(Form1->*b.Icon);
      EXPECT_EQ(icon.Width(), S(35));
      EXPECT_EQ(icon.Height(), S(35));
      EXPECT_NEAR(icon.Top + icon.Height() / 2, (Form1->*b.Button)->Height() / 2, 1);
    }
  }
}

// ---- Switching pages ------------------------------------------------------------------------------

TEST(SideMenuPages, EachPageButtonShowsItsPageTakesTheFocusAndNamesThePageInTheHeader) {
  const wchar_t* clicks[] = {L"Reports", L"Data", L"About", L"Settings", L"Reports"};
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TMainWindow w(dpi);
    for (const wchar_t* caption : clicks) {
      SCOPED_TRACE(ToUtf8(caption));
      TkaGPGlyphContainerButton* button = ButtonFor(caption);
      Click(button);
      int page = -1;
      for (const TPageButton& b : kPageButtons)
        if (Form1->*b.Button == button) page = b.Page;
      ExpectShows(page, caption);
      EXPECT_TRUE(button->Focused());
    }
  }
}

TEST(SideMenuPages, TabWalksThePageButtonsInTheirOrderAndSpaceOrEnterShowsThePage) {
  TMainWindow w;
  Click(ButtonFor(L"Reports"));
  ASSERT_EQ(::GetFocus(), ButtonFor(L"Reports")->Handle());
  // The order the buttons were made in ("About", "Reports", "Data", "Settings", then
  // "Exit"), round again after the last; the menu button and the caption buttons take no
  // focus. Space on a button shows its page as a click does, and so does Enter.
  const struct {
    WORD Key;
    const wchar_t* Focus;
    int Page;
    const wchar_t* Header;
  } steps[] = {
      {VK_TAB, L"Data", 1, L"Reports"},    {VK_SPACE, L"Data", 0, L"Data"},    {VK_TAB, L"Settings", 0, L"Data"},
      {VK_TAB, L"Exit", 0, L"Data"},       {VK_TAB, L"About", 0, L"Data"},     {VK_RETURN, L"About", 3, L"About"},
      {VK_TAB, L"Reports", 3, L"About"},   {VK_SPACE, L"Reports", 1, L"Reports"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "key " << s.Key << " with the focus going to " << ToUtf8(s.Focus));
    PressKey(s.Key);
    TWinControl* focus = String(s.Focus) == L"Exit" ? Form1->ExitButton : ButtonFor(s.Focus);
    EXPECT_EQ(::GetFocus(), focus->Handle());
    ExpectShows(s.Page, s.Header);
  }
  EXPECT_EQ(TakeQuitMessage(), -1) << "Tab onto \"Exit\" does not press it";
}

// Every window whose drawing shows in the page area records the page area after each of its
// messages that can draw, so that the recorded frames are every picture the area went
// through, down to the single erase, not only those between messages.
class TPageAreaRecorder {
 public:
  TPageAreaRecorder(HWND Form, TRect Area, std::vector<TWinControl*> Windows) : FForm(Form), FArea(Area) {
    for (TWinControl* w : Windows) {
      FHooked.push_back({w, w->WindowProc});
      TWndMethod old = w->WindowProc;
      w->WindowProc = [this, old](TMessage& M) {
        old(M);
        if (FRecording && Draws(M.Msg)) Record();
      };
    }
  }
  ~TPageAreaRecorder() {
    for (auto& h : FHooked) h.Control->WindowProc = h.Old;
  }
  TPageAreaRecorder(const TPageAreaRecorder&) = delete;
  TPageAreaRecorder& operator=(const TPageAreaRecorder&) = delete;

  void Start() {
    FFrames.clear();
    FRecording = true;
  }
  void Record() { FFrames.push_back(CaptureFromWindow(FForm, FArea)); }
  void Stop() { FRecording = false; }
  const std::vector<std::unique_ptr<TBitmap>>& Frames() const { return FFrames; }
  std::unique_ptr<TBitmap> Now() const { return CaptureFromWindow(FForm, FArea); }

 private:
  static bool Draws(UINT Msg) {
    return Msg == WM_PAINT || Msg == WM_ERASEBKGND || Msg == WM_NCPAINT || Msg == WM_PRINTCLIENT ||
           Msg == WM_SHOWWINDOW || Msg == WM_WINDOWPOSCHANGED || Msg == WM_SIZE || Msg == WM_PARENTBGCHANGED;
  }
  struct THooked {
    TWinControl* Control;
    TWndMethod Old;
  };
  HWND FForm;
  TRect FArea;
  bool FRecording = false;
  std::vector<THooked> FHooked;
  std::vector<std::unique_ptr<TBitmap>> FFrames;
};

TEST(SideMenuPages, SwitchingNeverShowsTheViewerOrABlankAreaBetweenTheTwoPages) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TMainWindow w(dpi);
    const HWND form = Form1->Handle();
    TkaPageViewer* viewer = Form1->kaPageViewer1;
    std::vector<TWinControl*> windows{viewer, Form1->ClientPanel};
    for (int i = 0; i < 4; ++i) windows.push_back(PageAt(i));
    TPageAreaRecorder recorder(form, ClientRectIn(viewer, form), windows);
    for (const wchar_t* caption : {L"Reports", L"Data", L"About", L"Settings"}) {
      SCOPED_TRACE(ToUtf8(caption));
      TkaGPGlyphContainerButton* button = ButtonFor(caption);
      PointerTo(button);
      Settle(50);
      const std::unique_ptr<TBitmap> before = recorder.Now();
      recorder.Start();
      const TPoint p = Centre(button);
      MouseAt(button, WM_LBUTTONDOWN, MK_LBUTTON, p);
      recorder.Record();
      MouseAt(button, WM_LBUTTONUP, 0, p);
      // Message by message, each leaving a frame of its own.
      MSG msg;
      while (Application->ProcessMessage(msg)) recorder.Record();
      recorder.Stop();
      Settle(50);
      const std::unique_ptr<TBitmap> after = recorder.Now();
      ASSERT_EQ(Form1->kaGPPanel15->Caption(), caption);
      // Every pixel of every frame is the old page's or the new one's.
      const TPicture32 old(before.get()), now(after.get());
      ASSERT_GT(recorder.Frames().size(), 1u);
      for (size_t i = 0; i < recorder.Frames().size(); ++i) {
        const TPicture32 frame(recorder.Frames()[i].get());
        const auto odd = frame.Find(TRect(0, 0, frame.Width(), frame.Height()), [&](TPoint P, TRgb C) {
          return Distance(C, old.At(P.X, P.Y)) > 2 && Distance(C, now.At(P.X, P.Y)) > 2;
        });
        EXPECT_FALSE(odd.has_value()) << "frame " << i << " of " << recorder.Frames().size() << " shows "
                                      << frame.At(odd->X, odd->Y) << " at (" << odd->X << ", " << odd->Y
                                      << "), neither page's " << old.At(odd->X, odd->Y) << " nor "
                                      << now.At(odd->X, odd->Y);
      }
    }
  }
}

// ---- Icons --------------------------------------------------------------------------------------

TEST(SideMenuIcons, HoverPlaysAPageButtonsIconLeavingHoldsItsFrameAndEnteringAgainContinues) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TTestClock clock;
    TMainWindow w(dpi);
    // "About" keeps its icon still until the pointer comes (the others play from the start).
    TkaGPGlyphContainerButton* about = ButtonFor(L"About");
    TSkAnimatedImage* icon = Form1->SkAnimatedImage1;
    const HWND form = Form1->Handle();
    EXPECT_FALSE(icon->Animating());
    EXPECT_DOUBLE_EQ(icon->CurrentFrame(), 0);
    const std::unique_ptr<TBitmap> still = CaptureFromWindow(form, ClientRectIn(icon, form));

    // 60 frames a second: a quarter of a second is frame 15, drawn in the window.
    PointerTo(about);
    EXPECT_TRUE(about->MouseIn());
    EXPECT_TRUE(icon->Animating());
    clock.Advance(0.25);
    EXPECT_NEAR(SettledFrame(icon), 15, 1e-6);
    const std::unique_ptr<TBitmap> playing = CaptureFromWindow(form, ClientRectIn(icon, form));
    const TPicture32 a(still.get()), b(playing.get());
    EXPECT_TRUE(a.Find(TRect(0, 0, a.Width(), a.Height()), [&](TPoint P, TRgb C) {
      return Distance(C, b.At(P.X, P.Y)) > 16;
    }).has_value()) << "the icon shows another frame";

    // Leaving holds frame 15 however long the pointer stays away.
    PointerToSideMenu(dpi);
    EXPECT_FALSE(about->MouseIn());
    EXPECT_FALSE(icon->Animating());
    clock.Advance(2.0);
    Settle(100);
    EXPECT_NEAR(icon->CurrentFrame(), 15, 1e-6);

    // Back again: on from frame 15, not from the start.
    PointerTo(about);
    clock.Advance(0.1);
    EXPECT_NEAR(SettledFrame(icon), 21, 1e-6);
    PointerToSideMenu(dpi);
  }
}

TEST(SideMenuIcons, MenuButtonsIconStartsAtItsEndAndPlaysBackwardsWhileThePointerIsOverIt) {
  TTestClock clock;
  TMainWindow w;
  TSkAnimatedImage* icon = Form1->MenuAnimatedImage;
  // Stored: not playing, inverse, progress 1, starting from the current frame.
  EXPECT_FALSE(icon->Animating());
  EXPECT_DOUBLE_EQ(icon->CurrentFrame(), 75);
  PointerTo(Form1->MenuButton);
  EXPECT_TRUE(icon->Animating());
  clock.Advance(0.25);
  EXPECT_NEAR(SettledFrame(icon), 60, 1e-6);
  PointerToSideMenu(96);
  EXPECT_FALSE(icon->Animating());
  clock.Advance(1.0);
  Settle(100);
  EXPECT_NEAR(icon->CurrentFrame(), 60, 1e-6);
  PointerTo(Form1->MenuButton);
  clock.Advance(0.5);
  EXPECT_NEAR(SettledFrame(icon), 30, 1e-6);
  PointerToSideMenu(96);
}

// ---- Popup menu and the ways out -------------------------------------------------------------------

TEST(SideMenuPopup, MenuButtonDropsItsPopupMenuCentredUnderItself) {
  const wchar_t* items[] = {L"&New",   L"&Open...",  L"",       L"&Save",           L"Save &As...",
                            L"",       L"&Print...", L"P&rint Setup...", L"", L"E&xit"};
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TMainWindow w(dpi);
    const TRect button = ScreenRect(Form1->MenuButton);
    TRect menu;
    std::vector<String> captions;
    const bool shown = WithDropDownMenuOpen(Form1->MenuButton, [&](HWND Menu) {
      menu = WindowRect(Menu);
      const auto handle = reinterpret_cast<HMENU>(::SendMessageW(Menu, MN_GETHMENU, 0, 0));
      for (int i = 0; i < ::GetMenuItemCount(handle); ++i) {
        wchar_t text[64] = L"";
        ::GetMenuStringW(handle, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        captions.emplace_back(text);
      }
      return false;
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(menu.Top, button.Bottom);
    EXPECT_NEAR((menu.Left + menu.Right) / 2.0, (button.Left + button.Right) / 2.0, 1.0);
    ASSERT_EQ(captions.size(), std::size(items));
    for (size_t i = 0; i < captions.size(); ++i) EXPECT_EQ(ToUtf8(captions[i]), ToUtf8(items[i])) << "item " << i;
    // Dismissed without a choice: nothing else happened.
    PumpPending();
    ExpectShows(2, L"Settings");
    EXPECT_EQ(TakeQuitMessage(), -1);
  }
}

TEST(SideMenuPopup, ExitButtonExitItemAndCloseButtonEachEndTheProgramWithCodeZeroAndLeaveNothingAlive) {
  { TMainWindow warmUp; }  // process-wide objects made on first use stay; they are not the window's
  const int aliveBefore = TObject::AliveCount();
  const struct {
    const char* Way;
    std::function<void()> Take;
  } ways[] = {
      {"the side menu's \"Exit\" button", [] { ClickWithoutPumping(Form1->ExitButton); }},
      {"the popup menu's \"E&xit\" item",
       [] {
         const bool shown = WithDropDownMenuOpen(Form1->MenuButton, [](HWND Menu) {
           // The item's accelerator, as a user types it into the open menu.
           ::PostMessageW(Menu, WM_CHAR, L'x', 1);
           return true;
         });
         EXPECT_TRUE(shown);
       }},
      {"the caption's close button", [] { ClickWithoutPumping(Form1->CloseButton); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.Way);
    {
      TMainWindow w;
      way.Take();
      EXPECT_EQ(TakeQuitMessage(), 0);
      EXPECT_FALSE(Application->Terminated());
    }
    EXPECT_EQ(TObject::AliveCount(), aliveBefore);
  }
}

// ---- Backdrop -----------------------------------------------------------------------------------

TEST(SideMenuBackdrop, FillAlphaIs230WithBlur100WithAcrylicAnd200WithoutATranslucentBackdrop) {
  const struct {
    const char* Name;
    int Build;
    // What the side menu is drawn over: the border panel's black under a backdrop; where none
    // is available the start-up handler makes the window opaque, button face under the menu.
    TRgb Under;
    // Backdrops chosen in turn, with the alpha each must give; the first is the stored one,
    // so it checks the window as loaded.
    std::vector<std::pair<TkaFluentUIBackground, uint8_t>> Steps;
  } cases[] = {
      {"Windows 10", kWindows10Build, TRgb{},
       {{kafuibAcrylicBlurAuto, 230}, {kafuibAcrylic, 100}, {kafuibNone, 200}, {kafuibBlur, 230},
        {kafuibAcrylicBlurAuto, 230}}},
      {"Windows 11", kWindows11Build, TRgb{},
       {{kafuibAcrylicBlurAuto, 100}, {kafuibBlur, 230}, {kafuibAcrylicBlurAuto, 100}}},
      {"Windows 10 before backdrops", kWindows10NoBackdropBuild, RgbOf(clBtnFace),
       {{kafuibAcrylicBlurAuto, 200}, {kafuibBlur, 200}}},
  };
  for (const auto& c : cases) {
    TMainWindow w(96, c.Build);
    for (const auto& [backdrop, alpha] : c.Steps) {
      SCOPED_TRACE(testing::Message() << c.Name << ", backdrop " << int(backdrop));
      w.Styled()->SetFluentUIBackground(backdrop);
      PumpPending();
      Settle(100);
      EXPECT_EQ(Form1->kaGPPanel1->FillColorAlpha(), alpha);
      // Drawn so: clWindow at that alpha over what lies under the side menu, in the plain
      // part between the menu button and "Data".
      const TRect plain = ScreenRect(Form1->kaGPPanel1);
      const std::unique_ptr<TBitmap> shot =
          CaptureScreenRect(Bounds(plain.Left + 10, plain.Top + 45, plain.Width() - 20, 45));
      const TPicture32 p(shot.get());
      const TRgb fill = Over(clWindow, alpha, c.Under);
      const auto off = p.Find(TRect(0, 0, p.Width(), p.Height()), [&](TPoint, TRgb C) { return Distance(C, fill) > 2; });
      EXPECT_FALSE(off.has_value()) << p.At(off->X, off->Y) << " where " << fill << " was expected";
    }
  }
}

// ---- Header --------------------------------------------------------------------------------------

TEST(SideMenuHeader, PageCaptionIsDrawnInBoldTahoma) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    TMainWindow w(dpi);
    TkaGPPanel* header = Form1->kaGPPanel15;
    TFont* font = header->Font();
    EXPECT_EQ(ToUtf8(font->Name()), "Tahoma");
    EXPECT_EQ(font->Height(), -Scaled(19, dpi));
    EXPECT_TRUE(font->Style().Contains(fsBold));
    // A bold caption is heavier than the same caption drawn regular: a font missing its
    // bold face, or a style lost on the way to the screen, draws the two alike.
    auto ink = [&] {
      ::RedrawWindow(header->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Settle(50);
      const TRect r = ScreenRect(header);
      const std::unique_ptr<TBitmap> shot = CaptureScreenRect(TRect(r.Left, r.Top, r.Right, r.Bottom - Scaled(4, dpi)));
      return TPicture32(shot.get()).Ink(TRect(0, 0, shot->Width(), shot->Height()), RgbOf(clBtnFace));
    };
    const long bold = ink();
    font->SetStyle(TFontStyles{});
    const long regular = ink();
    font->SetStyle(TFontStyles{fsBold});
    EXPECT_GT(bold, regular * 5 / 4) << "bold ink " << bold << ", regular ink " << regular;
  }
}

// ---- Resources ------------------------------------------------------------------------------------

// USER objects of the process where the system counts them; else the thread's windows.
int UserObjectCount() {
  ::SetLastError(0);
  const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  return ThreadWindowCount();
}

TEST(SideMenuResources, NoGdiOrUserHandlesGrowOver500PageSwitchesAnd500HoverCycles) {
  TMainWindow w;
  const wchar_t* order[] = {L"Reports", L"Data", L"About", L"Settings"};
  TWinControl* hovered[] = {ButtonFor(L"Data"), ButtonFor(L"Reports"), ButtonFor(L"Settings"), ButtonFor(L"About"),
                            Form1->ExitButton, Form1->MenuButton};
  auto switches = [&](int N) {
    for (int i = 0; i < N; ++i) Click(ButtonFor(order[i % 4]));
  };
  auto hovers = [&](int N) {
    for (int i = 0; i < N; ++i) {
      PointerTo(hovered[i % std::size(hovered)]);
      PointerToSideMenu(96);
    }
  };
  // Caches filled once are not growth.
  switches(8);
  hovers(12);
  Settle(100);
  const int gdi = GdiObjectCount(), user = UserObjectCount();
  switches(500);
  hovers(500);
  Settle(100);
  ExpectShows(2, L"Settings");
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
