// The form style hook under the custom styles: the frame sizes it gives the window, its hit
// codes over every part of the frame at two scales, the caption and frame it paints, the
// system buttons it tracks and performs, the region that follows the frame, its passivity
// where the style does not paint the border, and the painted main menu bar.
#include <gtest/gtest.h>

#include <vector>

#include "framework/MainMenu.h"
#include "lib/kaStyledForm/FormStyleHook.h"
#include "lib/kaStyledForm/MainMenuBarStyleHook.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/PointerScope.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

TRect WindowRectOf(HWND H) {
  RECT r{};
  ::GetWindowRect(H, &r);
  return r;
}

// A framed form with a styled form on it, shown.
struct THookScene {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  TkaStyledForm* Styled = nullptr;
  explicit THookScene(TFormBorderStyle Border = bsSizeable, bool WithStyledForm = true) {
    if (WithStyledForm) Styled = Construct<TkaStyledForm>(Form);
    Form->SetBorderStyle(Border);
    Form->SetBounds(100, 100, 400, 300);
    Form->SetCaption(L"Hook");
  }
  ~THookScene() {
    Form->Free();
    PumpPending();
  }
  void Show() {
    Form->Show();
    PumpPending();
    PaintNC();
  }
  HWND H() { return Form->Handle(); }
  TkaFormStyleHook* Hook() { return dynamic_cast<TkaFormStyleHook*>(TStyleManager::Engine().AttachedHook(H())); }
  void PaintNC() { ::SendMessageW(H(), WM_NCPAINT, 1, 0); }
  TRect Window() { return WindowRectOf(H()); }
  LPARAM ScreenAt(TPoint P) {
    const TRect w = Window();
    return MAKELPARAM(w.Left + P.X, w.Top + P.Y);
  }
  int Hit(TPoint P) { return static_cast<int>(::SendMessageW(H(), WM_NCHITTEST, 0, ScreenAt(P))); }
  TColor Pixel(TPoint P) {
    HDC dc = ::GetWindowDC(H());
    const COLORREF c = ::GetPixel(dc, P.X, P.Y);
    ::ReleaseDC(H(), dc);
    return static_cast<TColor>(c);
  }
  // The pointer moves over P, is pressed and released there (hit code Code).
  void Move(TPoint P, int Code) { ::SendMessageW(H(), WM_NCMOUSEMOVE, Code, ScreenAt(P)); }
  void Down(TPoint P, int Code) { ::SendMessageW(H(), WM_NCLBUTTONDOWN, Code, ScreenAt(P)); }
  void Up(TPoint P, int Code) { ::SendMessageW(H(), WM_NCLBUTTONUP, Code, ScreenAt(P)); }
  void Click(const TRect& R, int Code) {
    const TPoint c = Centre(R);
    Move(c, Code);
    Down(c, Code);
    Up(c, Code);
    PumpPending();
  }
  static TPoint Centre(const TRect& R) { return TPoint(R.Left + R.Width() / 2, R.Top + R.Height() / 2); }
  // Brings the form to a DPI as a move to another monitor would.
  void ChangeDpi(int Ppi) {
    RECT r = Window();
    Form->Perform(WM_DPICHANGED, MAKEWPARAM(Ppi, Ppi), reinterpret_cast<LPARAM>(&r));
    ::SetWindowPos(H(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PaintNC();
  }
};

class FormStyleHook : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(FormStyleHook);

TEST_P(FormStyleHook, FrameSizesGiveTheClientAreaAndTheCaptionIsEmulated) {
  THookScene s;
  s.Show();
  TkaFormStyleHook* hook = s.Hook();
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(hook->HasStyledBorder());
  const TStyleDescription& style = TStyleScope::Style();
  const TRect m = hook->GetBorderSize();
  EXPECT_EQ(m, TRect(style.FrameWidth, style.CaptionHeight, style.FrameWidth, style.FrameWidth));

  const TRect w = s.Window();
  RECT client{};
  ::GetClientRect(s.H(), &client);
  POINT origin{0, 0};
  ::ClientToScreen(s.H(), &origin);
  EXPECT_EQ(client.right, w.Width() - m.Left - m.Right);
  EXPECT_EQ(client.bottom, w.Height() - m.Top - m.Bottom);
  EXPECT_EQ(origin.x - w.Left, m.Left);
  EXPECT_EQ(origin.y - w.Top, m.Top);

  // Without the system's themed frame, the default handling would draw its own caption.
  const bool emulated = !TStyleManager::SystemStyle()->Enabled();
  EXPECT_EQ(hook->CaptionEmulation(), emulated);
  EXPECT_EQ((::GetWindowLongW(s.H(), GWL_STYLE) & WS_CAPTION) == 0, emulated);
}

TEST_P(FormStyleHook, HitCodesCoverEveryPartOfTheFrameAtTwoScales) {
  THookScene s;
  s.Show();
  for (int ppi : {96, 144}) {
    SCOPED_TRACE(ppi);
    if (ppi != 96) s.ChangeDpi(ppi);
    TkaFormStyleHook* hook = s.Hook();
    ASSERT_NE(hook, nullptr);
    const double scale = ppi / 96.0;
    ASSERT_DOUBLE_EQ(s.Styled->ScaleFactor(), scale);
    const TStyleDescription& style = TStyleScope::Style();
    const TRect m = hook->GetBorderSize();
    ASSERT_EQ(m.Top, Round(style.CaptionHeight * scale));
    const TRect w = s.Window();
    const int W = w.Width(), H = w.Height(), cap = m.Top;
    // The system buttons are scaled from their right edges, close first.
    const int bw = ::MulDiv(style.CaptionButtonWidth, ppi, 96);
    EXPECT_EQ(hook->CloseButtonRect(), TRect(W - bw, 0, W, cap));
    EXPECT_EQ(hook->MaxButtonRect(), TRect(W - 2 * bw, 0, W - bw, cap));
    EXPECT_EQ(hook->MinButtonRect(), TRect(W - 3 * bw, 0, W - 2 * bw, cap));

    const struct {
      TPoint P;
      int Code;
    } cases[] = {
        {{1, 1}, HTTOPLEFT},
        // The style's close button reaches the window's top-right corner.
        {{W - 2, 1}, HTCLOSE},
        {{W - 2, cap + 2}, HTRIGHT},
        {{1, H - 2}, HTBOTTOMLEFT},
        {{W - 2, H - 2}, HTBOTTOMRIGHT},
        {{1, H / 2}, HTLEFT},
        {{W - 2, H / 2}, HTRIGHT},
        {{W / 3, H - 2}, HTBOTTOM},
        {{W / 3, 1}, HTTOP},
        {{W / 3, cap / 2}, HTCAPTION},
        {{W - bw / 2, cap / 2}, HTCLOSE},
        {{W - bw - bw / 2, cap / 2}, HTMAXBUTTON},
        {{W - 2 * bw - bw / 2, cap / 2}, HTMINBUTTON},
        {THookScene::Centre(hook->SysMenuButtonRect()), HTSYSMENU},
        {{W / 2, H / 2}, HTCLIENT},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "at " << c.P.X << ", " << c.P.Y);
      EXPECT_EQ(s.Hit(c.P), c.Code);
    }
    EXPECT_FALSE(hook->SysMenuButtonRect().IsEmpty()) << "the icon is shown";
  }
}

TEST_P(FormStyleHook, OnHitTestMayChangeTheAnswer) {
  THookScene s;
  s.Show();
  const int cap = s.Hook()->GetBorderSize().Top;
  TPoint seen;
  s.Styled->OnHitTest = [&](const TPoint& P, int& Result) {
    seen = P;
    if (Result == HTCAPTION) Result = HTCLIENT;
  };
  EXPECT_EQ(s.Hit(TPoint(120, cap / 2)), HTCLIENT);
  EXPECT_EQ(seen, TPoint(120, cap / 2)) << "in window coordinates";
}

TEST_P(FormStyleHook, CaptionAndFrameShowTheStyleColoursOfTheActiveState) {
  THookScene s;
  s.Show();
  const TStyleDescription& style = TStyleScope::Style();
  const int cap = s.Hook()->GetBorderSize().Top;
  const TRect w = s.Window();
  for (bool active : {true, false}) {
    SCOPED_TRACE(active);
    ::SendMessageW(s.H(), WM_NCACTIVATE, active, 0);
    EXPECT_EQ(s.Hook()->FormActive(), active);
    const int column = active ? 0 : 3;
    EXPECT_TRUE(NearColor(s.Pixel(TPoint(w.Width() / 2, cap / 2)), style.Caption.Fill.At(column), 0));
    EXPECT_TRUE(NearColor(s.Pixel(TPoint(2, w.Height() / 2)), style.Frame.Fill.At(column), 0));
    EXPECT_TRUE(NearColor(s.Pixel(TPoint(w.Width() / 2, w.Height() - 2)), style.Frame.Fill.At(column), 0));
  }
}

TEST_P(FormStyleHook, CaptionTextFollowsTheCaptionAlignment) {
  THookScene s;
  s.Show();
  ::SendMessageW(s.H(), WM_NCACTIVATE, TRUE, 0);
  const TColor fill = TStyleScope::Style().Caption.Fill.Normal;
  // Pixels other than the caption's own in a third of the free caption area.
  auto inked = [&](int Third) {
    const TRect c = s.Hook()->CaptionRect();
    const int w = c.Width() / 3, x0 = c.Left + Third * w;
    int n = 0;
    for (int y = c.Top + 4; y < c.Bottom - 4; ++y)
      for (int x = x0; x < x0 + w; ++x) n += !NearColor(s.Pixel(TPoint(x, y)), fill, 0);
    return n;
  };
  EXPECT_GT(inked(0), 0);
  EXPECT_EQ(inked(2), 0);
  s.Styled->SetCaptionAlignment(taRightJustify);
  s.PaintNC();
  EXPECT_EQ(inked(0), 0);
  EXPECT_GT(inked(2), 0);
}

TEST_P(FormStyleHook, SystemButtonsTurnHotAndPressedAndAReleaseElsewhereDoesNothing) {
  testsupport::TPointerScope pointer;
  THookScene s;
  s.Show();
  ::SendMessageW(s.H(), WM_NCACTIVATE, TRUE, 0);
  TkaFormStyleHook* hook = s.Hook();
  const TStyleDescription& style = TStyleScope::Style();
  const TRect close = hook->CloseButtonRect(), max = hook->MaxButtonRect();
  const TPoint inClose(close.Left + 3, close.Top + 3), inMax(max.Left + 3, max.Top + 3);
  testsupport::gPointer = TPoint(s.Window().Left + inClose.X, s.Window().Top + inClose.Y);

  s.Move(inClose, HTCLOSE);
  EXPECT_EQ(hook->HotButton(), HTCLOSE);
  EXPECT_TRUE(NearColor(s.Pixel(inClose), style.CloseButton.Fill.Hot, 0));
  s.Down(inClose, HTCLOSE);
  EXPECT_EQ(hook->PressedButton(), HTCLOSE);
  EXPECT_TRUE(NearColor(s.Pixel(inClose), style.CloseButton.Fill.Pressed, 0));

  s.Move(inMax, HTMAXBUTTON);
  EXPECT_EQ(hook->HotButton(), HTMAXBUTTON);
  // A normal button without a face of its own shows the caption.
  const TColor closeNormal = style.CloseButton.Fill.Normal != clNone ? style.CloseButton.Fill.Normal
                                                                      : style.Caption.Fill.Normal;
  EXPECT_TRUE(NearColor(s.Pixel(inClose), closeNormal, 0)) << "pressed shows only while hot";
  s.Up(inMax, HTMAXBUTTON);
  PumpPending();
  EXPECT_EQ(hook->PressedButton(), 0);
  EXPECT_TRUE(::IsWindow(s.H()));
  EXPECT_FALSE(::IsZoomed(s.H())) << "released over another button than the pressed one";
  EXPECT_TRUE(NearColor(s.Pixel(inMax), style.CaptionButton.Fill.Hot, 0));

  s.Move(TPoint(60, 10), HTCAPTION);
  EXPECT_EQ(hook->HotButton(), 0);
}

TEST_P(FormStyleHook, PaintedButtonsMaximiseRestoreAndMinimise) {
  testsupport::TPointerScope pointer;
  THookScene s;
  s.Show();
  TkaFormStyleHook* hook = s.Hook();
  const TRect normal = s.Window();

  s.Click(hook->MaxButtonRect(), HTMAXBUTTON);
  ASSERT_TRUE(::IsZoomed(s.H()));
  s.PaintNC();
  // The caption moves down by the hidden frame; the buttons follow it.
  const TRect m = hook->GetBorderSize();
  EXPECT_GT(m.Top, TStyleScope::Style().CaptionHeight);
  EXPECT_FALSE(hook->MaxButtonRect().IsEmpty());
  const TRect visible = IntersectRect(s.Window(), TRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_LE(hook->CloseButtonRect().Right + s.Window().Left, visible.Right) << "the close button is on screen";

  s.Click(hook->MaxButtonRect(), HTMAXBUTTON);
  EXPECT_FALSE(::IsZoomed(s.H())) << "the same button restores";
  EXPECT_EQ(s.Window(), normal);

  s.PaintNC();
  s.Click(hook->MinButtonRect(), HTMINBUTTON);
  EXPECT_TRUE(::IsIconic(s.H()));
  ::ShowWindow(s.H(), SW_RESTORE);
  PumpPending();
  EXPECT_EQ(s.Window(), normal);
}

TEST_P(FormStyleHook, CloseButtonClosesTheForm) {
  testsupport::TPointerScope pointer;
  THookScene s;
  s.Show();
  bool closed = false;
  s.Form->OnClose = [&](TObject*, TCloseAction& Action) {
    closed = true;
    Action = caHide;
  };
  s.Click(s.Hook()->CloseButtonRect(), HTCLOSE);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(::IsWindowVisible(s.H()));
}

TEST_P(FormStyleHook, RegionRoundsTheCaptionAndCutsAMaximisedWindowToTheMonitor) {
  THookScene s;
  s.Show();
  const TRect w = s.Window();
  TRgnHandle region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(s.H(), region.Get()), ERROR);
  EXPECT_FALSE(::PtInRegion(region.Get(), 0, 0)) << "rounded top corners";
  EXPECT_TRUE(::PtInRegion(region.Get(), w.Width() / 2, 0));
  EXPECT_TRUE(::PtInRegion(region.Get(), 0, w.Height() - 1)) << "square bottom corners";

  ::ShowWindow(s.H(), SW_MAXIMIZE);
  PumpPending();
  const TRect z = s.Window();
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(s.H(), MONITOR_DEFAULTTONEAREST), &mi);
  TRect expected = IntersectRect(z, mi.rcWork);
  expected.Offset(-z.Left, -z.Top);
  ASSERT_NE(::GetWindowRgn(s.H(), region.Get()), ERROR);
  RECT box{};
  ::GetRgnBox(region.Get(), &box);
  EXPECT_EQ(TRect(box), expected);
}

TEST(FormStyleHookRegion, MaximisedOverhangsUnder100PixelsAreCut) {
  const TRect screen(0, 0, 1280, 1024);
  const struct {
    const char* Name;
    TRect Window, WA, MB, Cut;
  } cases[] = {
      {"frame hangs over every side", TRect(-8, -8, 1288, 1032), screen, screen, TRect(8, 8, 8, 8)},
      {"overhangs of 100 or more stay", TRect(-150, -100, 1430, 1124), screen, screen, TRect(0, 0, 0, 0)},
      {"taskbar at the bottom", TRect(-8, -8, 1288, 992), TRect(0, 0, 1280, 984), screen, TRect(8, 8, 8, 8)},
      {"taskbar at the top, window below it", TRect(-8, 32, 1288, 1032), TRect(0, 40, 1280, 1024), screen,
       TRect(8, 8, 8, 8)},
      {"taskbar at the top, window above the screen", TRect(-8, -8, 1288, 1032), TRect(0, 40, 1280, 1024), screen,
       TRect(8, 8, 8, 8)},
      {"inside the work area", TRect(0, 0, 1280, 1024), screen, screen, TRect(0, 0, 0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TkaFormStyleHook::MaximizedOverhang(c.Window, c.WA, c.MB), c.Cut);
  }
}

TEST_P(FormStyleHook, PassiveWithoutSeBorderOrForABorderlessDwmClientForm) {
  {
    SCOPED_TRACE("no seBorder");
    THookScene s;
    s.Form->SetStyleElements(TStyleElements{seFont, seClient});
    s.Show();
    TkaFormStyleHook* hook = s.Hook();
    ASSERT_NE(hook, nullptr) << "attached, but passive";
    EXPECT_FALSE(hook->HasStyledBorder());
    EXPECT_FALSE(hook->CaptionEmulation());
    EXPECT_NE(::GetWindowLongW(s.H(), GWL_STYLE) & WS_CAPTION, 0);
    const TRect w = s.Window();
    // The system's frame: the default procedure's non-client size and hit codes.
    RECT proposed = w;
    ::DefWindowProcW(s.H(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&proposed));
    RECT client{};
    ::GetClientRect(s.H(), &client);
    EXPECT_EQ(client.right, proposed.right - proposed.left);
    EXPECT_EQ(client.bottom, proposed.bottom - proposed.top);
    for (TPoint p : {TPoint(1, 1), TPoint(w.Width() / 2, 10), TPoint(w.Width() - 10, 10)})
      EXPECT_EQ(s.Hit(p), ::DefWindowProcW(s.H(), WM_NCHITTEST, 0, s.ScreenAt(p)));
    TRgnHandle region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(s.H(), region.Get()), ERROR) << "no region";
  }
  {
    SCOPED_TRACE("DWM client form");
    THookScene s(bsSizeable);
    s.Styled->SetDWMClientShadow(true);
    s.Show();
    EXPECT_EQ(s.Form->BorderStyle(), bsNone);
    TkaFormStyleHook* hook = s.Hook();
    ASSERT_NE(hook, nullptr);
    EXPECT_FALSE(hook->HasStyledBorder());
    const TRect w = s.Window();
    EXPECT_EQ(s.Hit(TPoint(w.Width() / 2, 5)), ::DefWindowProcW(s.H(), WM_NCHITTEST, 0, s.ScreenAt(TPoint(w.Width() / 2, 5))));
    EXPECT_TRUE(hook->CaptionRect().IsEmpty()) << "nothing painted";
    EXPECT_TRUE(hook->CloseButtonRect().IsEmpty());
  }
}

TEST(FormStyleHookSystemStyle, NoHookWithoutACustomStyle) {
  THookScene s;
  s.Show();
  EXPECT_EQ(s.Hook(), nullptr);
  EXPECT_NE(::GetWindowLongW(s.H(), GWL_STYLE) & WS_CAPTION, 0);
}

// ---- Main menu bar ---------------------------------------------------------------------------

struct TTrackedPopup {
  std::vector<String> Items;
  TPoint At;
};

struct TMenuScene : THookScene {
  TMainMenu* Menu = Construct<TMainMenu>(Form);
  std::vector<TTrackedPopup> Popups;
  UINT Answer = 0;
  int Undone = 0, Opened = 0, Helped = 0;
  TMenuScene() {
    TMenuItem* file = Add(Menu->Items(), L"&File");
    Add(file, L"&Open")->OnClick = [this](TObject*) { ++Opened; };
    Add(file, L"E&xit");
    TMenuItem* edit = Add(Menu->Items(), L"&Edit");
    Add(edit, L"&Undo")->OnClick = [this](TObject*) { ++Undone; };
    Add(Menu->Items(), L"&Help")->OnClick = [this](TObject*) { ++Helped; };
    TkaMainMenuBarStyleHook::SetPopupTracker([this](HMENU M, int X, int Y, HWND) {
      TTrackedPopup p{{}, TPoint(X, Y)};
      for (int i = 0; i < ::GetMenuItemCount(M); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(M, i, text, 64, MF_BYPOSITION);
        p.Items.push_back(text);
      }
      Popups.push_back(p);
      return Answer;
    });
    Show();
  }
  ~TMenuScene() { TkaMainMenuBarStyleHook::SetPopupTracker(nullptr); }
  TMenuItem* Add(TMenuItem* Parent, const String& Caption) {
    auto* item = Construct<TMenuItem>(Form);
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
  }
  TkaMainMenuBarStyleHook* Bar() { return Hook() != nullptr ? Hook()->MainMenuBarHook() : nullptr; }
  TRect ItemInWindow(int Index) {
    TRect r = Bar()->ItemRect(Index);
    r.Offset(Bar()->BoundsRect().Left, Bar()->BoundsRect().Top);
    return r;
  }
};

TEST_P(FormStyleHook, MainMenuBarTakesARowBelowTheCaptionAndPaintsItself) {
  TMenuScene s;
  ASSERT_NE(s.Bar(), nullptr);
  const TRect m = s.Hook()->GetBorderSize();
  const int row = ::GetSystemMetricsForDpi(SM_CYMENU, ::GetDpiForWindow(s.H()));
  EXPECT_EQ(s.Bar()->BoundsRect(), TRect(m.Left, m.Top, s.Window().Width() - m.Right, m.Top + row));
  POINT origin{0, 0};
  ::ClientToScreen(s.H(), &origin);
  EXPECT_EQ(origin.y - s.Window().Top, m.Top + row) << "the client area starts below the bar";
  ASSERT_EQ(s.Bar()->ItemCount(), 3);
  EXPECT_EQ(s.Hit(THookScene::Centre(s.ItemInWindow(1))), HTMENU);
  const TRect bar = s.Bar()->BoundsRect();
  EXPECT_TRUE(NearColor(s.Pixel(TPoint(bar.Right - 3, bar.Top + row / 2)), TStyleScope::Style().Menu.Fill.Normal, 0));

  // A narrow window wraps the items onto more rows.
  EXPECT_EQ(s.Bar()->GetMenuHeight(s.Bar()->ItemRect(0).Width() + 1), 3 * row);
  EXPECT_EQ(s.Bar()->GetMenuHeight(1000), row);
}

TEST_P(FormStyleHook, MainMenuOpensByMouseAndByAltKey) {
  TMenuScene s;
  ASSERT_NE(s.Bar(), nullptr);
  // A press on an item opens its popup under it; the chosen command runs.
  s.Answer = 1;
  const TRect edit = s.ItemInWindow(1);
  s.Down(THookScene::Centre(edit), HTMENU);
  ASSERT_EQ(s.Popups.size(), 1u);
  EXPECT_EQ(s.Popups[0].Items, (std::vector<String>{L"&Undo"}));
  EXPECT_EQ(s.Popups[0].At, TPoint(s.Window().Left + edit.Left, s.Window().Top + edit.Bottom));
  EXPECT_EQ(s.Undone, 1);
  EXPECT_FALSE(s.Bar()->InMenuLoop());

  // Alt+F: the dialog-character notification with Alt held.
  s.Answer = 1;
  EXPECT_EQ(s.Form->Perform(CM_DIALOGCHAR, L'f', 0x20000000), 1);
  ASSERT_EQ(s.Popups.size(), 2u);
  EXPECT_EQ(s.Popups[1].Items, (std::vector<String>{L"&Open", L"E&xit"}));
  EXPECT_EQ(s.Opened, 1);
  EXPECT_EQ(s.Form->Perform(CM_DIALOGCHAR, L'q', 0x20000000), 0) << "no item has Q";
  EXPECT_EQ(s.Form->Perform(CM_DIALOGCHAR, L'f', 0), 0) << "not without Alt";

  // The keyboard menu command (Alt+E through the system) and a dismissed popup.
  s.Answer = 0;
  ::SendMessageW(s.H(), WM_SYSCOMMAND, SC_KEYMENU, L'e');
  ASSERT_EQ(s.Popups.size(), 3u);
  EXPECT_EQ(s.Popups[2].Items, (std::vector<String>{L"&Undo"}));
  EXPECT_EQ(s.Undone, 1);

  // An item without a popup acts like a button.
  const TPoint help = THookScene::Centre(s.ItemInWindow(2));
  s.Down(help, HTMENU);
  s.Up(help, HTMENU);
  EXPECT_EQ(s.Helped, 1);
  EXPECT_EQ(s.Popups.size(), 3u);
}

}  // namespace
