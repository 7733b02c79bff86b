// The hint window: placement against the pointer, a point or a rectangle inside the work area,
// the visible cursor height, the sizes of plain and extended hints at 96 and 144 DPI, the line
// separator, the fade-in step by step, delayed requests and their hiding, painting, the
// application's control hints in the library's window (ActiveForApplication), and no handles
// left behind by many hints. Timers are driven by hand (the pauses are far longer than a test,
// and each test delivers the ticks itself), and so is the pointer: the hint hears where it is
// from the test, and the real one stays away from the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/PointerPos.h"
#include "tests/support/PointerScope.h"
#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "framework/Timers.h"
#include "lib/kaHint/kaHint.h"
#include "tests/support/Handles.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/TestControls.h"

namespace {

struct TPpiOverride {
  explicit TPpiOverride(int Ppi) {
    TMonitor::SetPixelsPerInchOverride([Ppi](HMONITOR) { return Ppi; });
  }
  ~TPpiOverride() { TMonitor::SetPixelsPerInchOverride(nullptr); }
  TPpiOverride(const TPpiOverride&) = delete;
  TPpiOverride& operator=(const TPpiOverride&) = delete;
};

constexpr int kLongPause = 600000;

// The application's hint timings and window class, put back after a test.
struct TAppHintRestore {
  int Pause = Application->HintPause(), HidePause = Application->HintHidePause();
  THintWindowClass Class = Application->HintWindowClass();
  ~TAppHintRestore() {
    Application->CancelHint();
    Application->SetHintPause(Pause);
    Application->SetHintHidePause(HidePause);
    Application->SetHintWindowClass(Class);
  }
};

using testsupport::gPointer;
using testsupport::TPointerScope;

// One tick of Timer, as its Windows timer would deliver it.
void Tick(TTimer* Timer) {
  ASSERT_NE(Timer, nullptr);
  ASSERT_TRUE(Timer->Enabled());
  ::SendMessageW(TimerWindow(), WM_TIMER, Timer->TimerId(), 0);
}

// A shown, active borderless form: the hint takes its DPI from the active form's monitor.
struct TActiveForm {
  TCustomForm* Form;
  TActiveForm() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 200, 120);
    Form->Show();
    ::SetActiveWindow(Form->Handle());
    PumpPending();
  }
  ~TActiveForm() { Form->Free(); }
  TActiveForm(const TActiveForm&) = delete;
  TActiveForm& operator=(const TActiveForm&) = delete;
};

TRect WindowRect(TWinControl* W) {
  RECT r{};
  ::GetWindowRect(W->Handle(), &r);
  return TRect(r);
}

TRect WorkAreaAt(TPoint P) { return Screen->MonitorFromPoint(P).WorkareaRect(); }

// Text extent in the screen's hint font with its height scaled to Ppi (bold for titles).
TSize Extent(const String& Text, int Ppi, bool Bold = false) {
  TFont font;
  font.Assign(Screen->HintFont());
  font.SetHeight(::MulDiv(font.Height(), Ppi, Screen->PixelsPerInch()));
  if (Bold) font.SetStyle(TFontStyles{fsBold});
  TWindowDC dc(nullptr);
  TSelectObject selected(dc.Get(), font.Handle());
  TRect r;
  ::DrawTextW(dc.Get(), Text.c_str(), -1, r.AsRECT(), DT_CALCRECT | DT_NOPREFIX);
  return TSize{r.Width(), r.Height()};
}

// An image list of Count W x H pictures in one colour.
TImageList* NewImages(int W, int H, TColor Color, int Count = 1) {
  auto* list = new TImageList(nullptr);
  list->SetWidth(W);
  list->SetHeight(H);
  TBitmap picture(W, H);
  picture.SetPixelFormat(pf24bit);
  picture.Canvas()->Brush()->SetColor(Color);
  picture.Canvas()->FillRect(TRect(0, 0, W, H));
  for (int i = 0; i < Count; ++i) list->Add(&picture, nullptr);
  return list;
}

BYTE LayeredAlpha(TWinControl* W, bool* Layered = nullptr) {
  const bool layered = (::GetWindowLongW(W->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (Layered != nullptr) *Layered = layered;
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!layered || !::GetLayeredWindowAttributes(W->Handle(), &key, &alpha, &flags)) return 255;
  return alpha;
}

// Pixels of exactly Color inside R.
int CountColor(TBitmap* B, TColor Color, const TRect& R) {
  int n = 0;
  for (int y = std::max(0, R.Top); y < std::min(B->Height(), R.Bottom); ++y)
    for (int x = std::max(0, R.Left); x < std::min(B->Width(), R.Right); ++x)
      if (PixelAt(B, x, y) == ColorToRGB(Color)) ++n;
  return n;
}

// The window's painting in a bitmap.
void Snapshot(TWinControl* W, TBitmap& Shot) {
  Shot.SetPixelFormat(pf24bit);
  Shot.SetSize(W->Width(), W->Height());
  W->PaintTo(Shot.Canvas()->Handle(), 0, 0);
}

// ---- Placement ---------------------------------------------------------------------------------

TEST(HintPlacement, StaysInsideTheWorkAreaAtEveryEdge) {
  const TRect wa(0, 0, 1000, 700);
  const TSize size{100, 40};
  const struct {
    const char* Name;
    TkaHintAnchor Anchor;
    TRect Expected;
  } cases[] = {
      {"below a point with room", {TRect(300, 200, 300, 200), false}, Bounds(300, 200, 100, 40)},
      {"below the cursor picture", {TRect(300, 200, 300, 219), false}, Bounds(300, 219, 100, 40)},
      {"right edge: opens to the left of the point", {TRect(950, 200, 950, 200), false}, Bounds(848, 200, 100, 40)},
      {"bottom edge: above the point", {TRect(300, 680, 300, 680), false}, Bounds(300, 638, 100, 40)},
      {"bottom edge: above the cursor, clear of its picture", {TRect(300, 670, 300, 689), false},
       Bounds(300, 628, 100, 40)},
      {"bottom right corner", {TRect(990, 690, 990, 690), false}, Bounds(888, 648, 100, 40)},
      {"left of the work area", {TRect(-30, 200, -30, 200), false}, Bounds(0, 200, 100, 40)},
      {"below a rectangle", {TRect(300, 200, 380, 230), false}, Bounds(300, 230, 100, 40)},
      {"below a rectangle at the bottom: above it", {TRect(300, 650, 380, 680), false}, Bounds(300, 608, 100, 40)},
      {"above a rectangle", {TRect(300, 200, 380, 230), true}, Bounds(300, 160, 100, 40)},
      {"above a rectangle at the top: below it", {TRect(300, 10, 380, 30), true}, Bounds(300, 32, 100, 40)},
      {"too wide for the room left of the point", {TRect(60, 200, 60, 200), false}, Bounds(60, 200, 100, 40)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(kaPlaceHint(size, c.Anchor, wa), c.Expected);
  }
  // Taller than the work area: the top stays on screen.
  EXPECT_EQ(kaPlaceHint(TSize{100, 800}, TkaHintAnchor{TRect(300, 200, 300, 200), false}, wa).Top, 0);
  // Work areas need not start at the origin (a second monitor, a taskbar at the top).
  EXPECT_EQ(kaPlaceHint(size, TkaHintAnchor{TRect(1990, 40, 1990, 40), true}, TRect(1000, 30, 2000, 730)),
            Bounds(1888, 42, 100, 40));
}

TEST(HintPlacement, TheWindowOpensLeftAndAboveAPointNearTheWorkAreaCorner) {
  TkaHint hint(nullptr);
  const TRect wa = WorkAreaAt(TPoint(0, 0));
  const TPoint p(wa.Right - 5, wa.Bottom - 5);
  hint.ActivateHint(p, L"Near the corner");
  ASSERT_TRUE(hint.IsVisible());
  const TRect r = WindowRect(hint.HintWindow());
  EXPECT_EQ(r.Right, p.X - 2);
  EXPECT_EQ(r.Bottom, p.Y - 2);
  EXPECT_TRUE(::IsWindowVisible(hint.HintWindow()->Handle()));
  EXPECT_NE(::GetWindowLongW(hint.HintWindow()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(::GetActiveWindow(), hint.HintWindow()->Handle()) << "a hint never takes the activation";
  hint.HideHint();
}

// ---- Cursor height ------------------------------------------------------------------------------

// A 32 x 32 monochrome cursor whose AND mask shows rows 0..AndRows-1 and whose XOR mask inverts
// rows 0..XorRows-1 (in a column at x 3, so padding never plays a part).
HCURSOR MakeCursor(int AndRows, int XorRows, int HotY) {
  BYTE andMask[32 * 4], xorMask[32 * 4];
  std::fill(std::begin(andMask), std::end(andMask), BYTE(0xFF));
  std::fill(std::begin(xorMask), std::end(xorMask), BYTE(0x00));
  for (int y = 0; y < AndRows; ++y) andMask[y * 4] = 0xEF;  // bit of x 3 off: shows
  for (int y = 0; y < XorRows; ++y) xorMask[y * 4] = 0x10;
  return ::CreateCursor(::GetModuleHandleW(nullptr), 0, HotY, 32, 32, andMask, xorMask);
}

TEST(HintCursorHeight, CountsRowsFromTheHotSpotToTheLowestVisibleOne) {
  const struct {
    const char* Name;
    int AndRows, XorRows, HotY, Expected;
  } cases[] = {
      {"AND mask, hot spot at the top", 19, 0, 0, 19},
      {"AND mask, hot spot lower", 10, 0, 2, 8},
      {"AND mask blank: the XOR mask", 0, 15, 1, 14},
      {"nothing shows", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    HCURSOR cursor = MakeCursor(c.AndRows, c.XorRows, c.HotY);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(kaCursorHeightBelowHotSpot(cursor), c.Expected);
    ::DestroyCursor(cursor);
  }
  EXPECT_EQ(kaCursorHeightBelowHotSpot(nullptr), ::GetSystemMetrics(SM_CYCURSOR));
}

TEST(HintCursorHeight, FollowsTheActiveFormsMonitorDpi) {
  TActiveForm active;
  HCURSOR cursor = MakeCursor(20, 0, 0);
  HCURSOR old = ::SetCursor(cursor);
  EXPECT_EQ(kaVisibleCursorHeight(), 20);
  {
    TPpiOverride monitor(144);
    EXPECT_EQ(kaVisibleCursorHeight(), 30);
  }
  ::SetCursor(old);
  ::DestroyCursor(cursor);
}

// ---- Sizes -----------------------------------------------------------------------------------

TEST(HintSize, PlainAndExtendedHintsAt96And144Dpi) {
  TActiveForm active;
  TImageList* images = NewImages(32, 32, clRed);
  const String text = L"The text of a hint", title = L"A rather longer bold title here";
  for (int ppi : {96, 144}) {
    SCOPED_TRACE(ppi);
    TPpiOverride monitor(ppi);
    const TSize t = Extent(text, ppi), b = Extent(title, ppi, true);
    TkaHint hint(nullptr);
    TkaHintWindow* w = hint.HintWindow();
    const TPoint at(100, 100);

    hint.ActivateHint(at, text);
    EXPECT_EQ(w->Font()->Height(), ::MulDiv(Screen->HintFont()->Height(), ppi, Screen->PixelsPerInch()));
    EXPECT_FALSE(w->ExtendedStyle());
    EXPECT_EQ(WindowRect(w), Bounds(100, 100, t.cx + 6, t.cy + 4));
    EXPECT_EQ(w->ClientRect(), TRect(0, 0, t.cx + 6, t.cy + 4)) << "no border";

    // Title and text: the title sets the width (with the text's margin) and adds its height + 10.
    hint.ActivateHintEx(at, title, text, -1, nullptr);
    const int wTitled = std::max(t.cx, b.cx) + 6 + 4, hTitled = t.cy + 4 + b.cy + 10;
    EXPECT_EQ(WindowRect(w), Bounds(100, 100, wTitled, hTitled));
    EXPECT_EQ(w->Layout().TitleRect, Bounds(5, 3, b.cx, b.cy));
    const int contentTop = b.cy + 7;
    EXPECT_EQ(w->Layout().TextRect, Bounds(5, contentTop + (hTitled - contentTop - t.cy) / 2, t.cx, t.cy));

    // With a picture: wider by the picture + 10, at least the picture + 5 below the title.
    hint.ActivateHintEx(at, title, text, 0, images);
    const int wImage = std::max(t.cx, b.cx) + 6 + 32 + 10, hImage = std::max(hTitled, contentTop + 32 + 5);
    EXPECT_EQ(WindowRect(w), Bounds(100, 100, wImage, hImage));
    ASSERT_TRUE(w->Layout().HasImage);
    EXPECT_EQ(w->Layout().ImagePos, TPoint(5, contentTop + (hImage - contentTop - 32) / 2));
    EXPECT_EQ(w->Layout().TextRect.Left, 42);

    // A picture without a title: the content is the whole window.
    hint.ActivateHintEx(at, L"", text, 0, images);
    const int hNoTitle = std::max(t.cy + 4, 32 + 5);
    EXPECT_EQ(WindowRect(w), Bounds(100, 100, t.cx + 6 + 42, hNoTitle));
    EXPECT_TRUE(w->Layout().TitleRect.IsEmpty());
    EXPECT_EQ(w->Layout().ImagePos, TPoint(5, (hNoTitle - 32) / 2));

    // An index outside the list: no picture, 4 pixels wider than plain.
    hint.ActivateHintEx(at, L"", text, 5, images);
    EXPECT_FALSE(w->Layout().HasImage);
    EXPECT_EQ(WindowRect(w).Width(), t.cx + 6 + 4);
    hint.HideHint();
  }
  images->Free();
}

TEST(HintText, TheLineSeparatorBreaksTheLine) {
  TkaHint hint(nullptr);
  const struct {
    const char* Name;
    String Separator, Hint, Shown;
  } cases[] = {
      {"default separator", L"@@", L"first@@second", L"first\r\nsecond"},
      {"every occurrence", L"@@", L"a@@b@@c", L"a\r\nb\r\nc"},
      {"own separator", L"|", L"first|second", L"first\r\nsecond"},
      {"no separator set", L"", L"first@@second", L"first@@second"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    hint.SetLineSeparator(c.Separator);
    hint.ActivateHint(TPoint(100, 100), c.Hint);
    EXPECT_EQ(hint.HintWindow()->Text(), c.Shown);
  }
  hint.SetLineSeparator(L"@@");
  hint.ActivateHint(TPoint(100, 100), L"first@@second");
  const int twoLines = hint.HintWindow()->Height();
  hint.ActivateHint(TPoint(100, 100), L"first");
  EXPECT_EQ(twoLines - 4, 2 * (hint.HintWindow()->Height() - 4));
  hint.HideHint();
}

// ---- Fade-in --------------------------------------------------------------------------------

TEST(HintFade, StepsBySeventhsOfTheValueUntilItIsReached) {
  TkaHint hint(nullptr);
  TkaHintWindow* w = hint.HintWindow();
  hint.SetAlphaBlend(true);
  hint.SetAlphaBlendValue(200);
  hint.SetAlphaBlendAnimation(true);
  hint.ActivateHint(TPoint(100, 100), L"Fading in");
  EXPECT_TRUE(::KillTimer(w->Handle(), TkaHintWindow::kFadeTimerID)) << "the fade runs on the window's timer";
  hint.ActivateHint(TPoint(100, 100), L"Fading in");
  bool layered = false;
  EXPECT_EQ(LayeredAlpha(w, &layered), 0);
  EXPECT_TRUE(layered);
  EXPECT_EQ(w->AnimationStep(), 28);
  const int expected[] = {28, 56, 84, 112, 140, 168, 196, 200};
  for (int alpha : expected) {
    w->Perform(WM_TIMER, TkaHintWindow::kFadeTimerID);
    EXPECT_EQ(w->AnimationAlpha(), alpha);
    EXPECT_EQ(LayeredAlpha(w), alpha);
  }
  EXPECT_FALSE(::KillTimer(w->Handle(), TkaHintWindow::kFadeTimerID)) << "the timer stops at the value";

  // Small values still step by one; hiding stops the fade.
  hint.SetAlphaBlendValue(5);
  hint.ActivateHint(TPoint(100, 100), L"Faint");
  EXPECT_EQ(w->AnimationStep(), 1);
  hint.HideHint();
  EXPECT_FALSE(::KillTimer(w->Handle(), TkaHintWindow::kFadeTimerID));

  // Without the animation the value is there at once; without alpha blending the window is
  // opaque again.
  hint.SetAlphaBlendAnimation(false);
  hint.SetAlphaBlendValue(150);
  hint.ActivateHint(TPoint(100, 100), L"Half");
  EXPECT_EQ(LayeredAlpha(w), 150);
  EXPECT_FALSE(::KillTimer(w->Handle(), TkaHintWindow::kFadeTimerID));
  hint.SetAlphaBlend(false);
  hint.ActivateHint(TPoint(100, 100), L"Opaque");
  LayeredAlpha(w, &layered);
  EXPECT_FALSE(layered);
  hint.HideHint();
}

// ---- Requests -------------------------------------------------------------------------------

TEST(HintRequests, DelayedHintsShowAfterThePauseAndHideAfterTheHidePause) {
  TAppHintRestore restore;
  Application->SetHintPause(kLongPause);
  Application->SetHintHidePause(kLongPause * 2);
  TPointerScope pointer;
  TkaHint hint(nullptr);
  gPointer = TPoint(300, 300);

  hint.ActivateHint(L"Below the pointer");
  EXPECT_FALSE(hint.IsVisible());
  ASSERT_NE(hint.HintTimer(), nullptr);
  EXPECT_EQ(hint.HintTimer()->Interval(), kLongPause);
  Tick(hint.HintTimer());
  ASSERT_TRUE(hint.IsVisible());
  const TRect r = WindowRect(hint.HintWindow());
  EXPECT_EQ(r.TopLeft(), TPoint(300, 300 + hint.CursorHeight()));
  EXPECT_EQ(hint.CursorHeight(), kaVisibleCursorHeight());
  ASSERT_NE(hint.HintTimer(), nullptr) << "the same timer hides the hint";
  EXPECT_EQ(hint.HintTimer()->Interval(), kLongPause * 2);
  Tick(hint.HintTimer());
  EXPECT_FALSE(hint.IsVisible());
  EXPECT_FALSE(::IsWindowVisible(hint.HintWindow()->Handle()));
  EXPECT_EQ(hint.HintTimer(), nullptr);

  // Next to a rectangle, below and above.
  const TRect from(200, 200, 280, 230);
  for (bool top : {false, true}) {
    SCOPED_TRACE(top ? "above" : "below");
    hint.ActivateHint(from, L"By a rectangle", top);
    EXPECT_FALSE(hint.IsVisible());
    Tick(hint.HintTimer());
    ASSERT_TRUE(hint.IsVisible());
    const TRect h = WindowRect(hint.HintWindow());
    EXPECT_EQ(h.Left, 200);
    EXPECT_EQ(top ? h.Bottom : h.Top, top ? 200 : 230);
    hint.HideHint();
  }

  // The extended form below the pointer; a plain request after it drops the title.
  TImageList* images = NewImages(16, 16, clBlue);
  hint.ActivateHintEx(L"Title", L"Text", 0, images);
  EXPECT_FALSE(hint.IsVisible());
  Tick(hint.HintTimer());
  ASSERT_TRUE(hint.IsVisible());
  EXPECT_TRUE(hint.HintWindow()->ExtendedStyle());
  EXPECT_TRUE(hint.HintWindow()->Layout().HasImage);
  EXPECT_EQ(WindowRect(hint.HintWindow()).TopLeft(), TPoint(300, 300 + hint.CursorHeight()));
  hint.ActivateHint(L"Plain again");
  EXPECT_EQ(hint.HintWindow()->Text(), L"Text") << "the shown hint stays until the pause ends";
  Tick(hint.HintTimer());
  EXPECT_EQ(hint.HintWindow()->Text(), L"Plain again");
  EXPECT_FALSE(hint.HintWindow()->ExtendedStyle());
  hint.HideHint();
  images->Free();
}

TEST(HintRequests, HidingAPendingRequestOnlyStopsItsTimer) {
  TAppHintRestore restore;
  Application->SetHintPause(kLongPause);
  TkaHint hint(nullptr);
  hint.ActivateHint(L"Never shown");
  ASSERT_NE(hint.HintTimer(), nullptr);
  const UINT_PTR pending = hint.HintTimer()->TimerId();
  hint.HideHint();
  EXPECT_EQ(hint.HintTimer(), nullptr);
  EXPECT_FALSE(hint.IsVisible());
  // A tick of the freed timer that was already queued does nothing.
  if (HWND timers = TimerWindow()) ::SendMessageW(timers, WM_TIMER, pending, 0);
  EXPECT_FALSE(hint.IsVisible());
  EXPECT_FALSE(hint.HintWindow()->HandleAllocated() && ::IsWindowVisible(hint.HintWindow()->Handle()));

  // An immediate request drops a pending one too.
  hint.ActivateHint(L"Pending");
  hint.ActivateHint(TPoint(120, 120), L"Now");
  EXPECT_EQ(hint.HintTimer(), nullptr);
  EXPECT_EQ(hint.HintWindow()->Text(), L"Now");
  EXPECT_TRUE(hint.IsVisible());
  hint.HideHint();
  EXPECT_FALSE(hint.IsVisible());
  EXPECT_FALSE(::IsWindowVisible(hint.HintWindow()->Handle()));
  // Hiding a hidden hint again is harmless.
  hint.HideHint();
  EXPECT_FALSE(hint.IsVisible());
}

TEST(HintRequests, AFreedImageListIsForgotten) {
  TkaHint hint(nullptr);
  TImageList* images = NewImages(16, 16, clBlue);
  hint.ActivateHintEx(TPoint(100, 100), L"Title", L"Text", 0, images);
  ASSERT_TRUE(hint.HintWindow()->Layout().HasImage);
  images->Free();
  hint.HintWindow()->Repaint();  // paints without the list
  hint.ActivateHintEx(L"Title", L"Text", 0, nullptr);
  hint.HideHint();
}

// ---- Painting -------------------------------------------------------------------------------

TEST(HintPaint, ClassicLookPaintsInfoColoursTextAndARaisedEdge) {
  TClassicControlsScope classic;
  TkaHint hint(nullptr);
  TImageList* images = NewImages(16, 16, clRed);
  hint.ActivateHintEx(TPoint(100, 100), L"Title", L"Some text", 0, images);
  TkaHintWindow* w = hint.HintWindow();
  TBitmap shot;
  Snapshot(w, shot);
  const int width = shot.Width(), height = shot.Height();
  // A raised outer edge: light at the top and left, dark at the right and bottom.
  EXPECT_TRUE(NearColor(PixelAt(&shot, width / 2, 0), cl3DLight, 0));
  EXPECT_TRUE(NearColor(PixelAt(&shot, 0, height / 2), cl3DLight, 0));
  EXPECT_TRUE(NearColor(PixelAt(&shot, width / 2, height - 1), cl3DDkShadow, 0));
  EXPECT_TRUE(NearColor(PixelAt(&shot, width - 1, height / 2), cl3DDkShadow, 0));
  // The info background, the picture where the layout put it, and text in the text colour.
  EXPECT_TRUE(NearColor(PixelAt(&shot, width - 3, 2), clInfoBk, 0));
  const TPoint image = w->Layout().ImagePos;
  EXPECT_EQ(ColorBox(&shot, clRed), Bounds(image.X, image.Y, 16, 16));
  // Ink in the title's place and in the text's, none between them.
  const TkaHintLayout& l = w->Layout();
  EXPECT_GT(CountColor(&shot, clInfoText, l.TitleRect), 0);
  EXPECT_GT(CountColor(&shot, clInfoText, l.TextRect), 0);
  EXPECT_EQ(CountColor(&shot, clInfoText, TRect(l.TextRect.Left, l.TitleRect.Bottom, width - 1, l.TextRect.Top)), 0);
  hint.HideHint();
  images->Free();
}

TEST(HintPaint, ThemedLookKeepsTheTextOnTheTooltipFace) {
  if (!StyleServices()->Enabled()) GTEST_SKIP() << "visual styles are off";
  TkaHint hint(nullptr);
  hint.ActivateHint(TPoint(100, 100), L"Themed text");
  TBitmap shot;
  Snapshot(hint.HintWindow(), shot);
  const TSize t = Extent(L"Themed text", Screen->PixelsPerInch());
  // The text at (2, 2) in the hint font's colour.
  const TRect box = ColorBox(&shot, clInfoText);
  EXPECT_FALSE(box.IsEmpty());
  EXPECT_GE(box.Left, 2);
  EXPECT_LE(box.Right, 2 + t.cx);
  hint.HideHint();
}

// The application drawn in a custom style for one scope.
struct TCustomStyleScope {
  bool Active = TStyleManager::TrySetStyle(L"Karvo Dark");
  ~TCustomStyleScope() { TStyleManager::TrySetStyle(L"Windows"); }
};

TEST(HintPaint, CustomStyleGivesTheTooltipColoursTextAndBorder) {
  TCustomStyleScope style;
  if (!style.Active) GTEST_SKIP() << "no custom style to draw with";
  TkaHint hint(nullptr);
  hint.ActivateHintEx(TPoint(100, 100), L"Title", L"Styled text", -1, nullptr);
  TkaHintWindow* w = hint.HintWindow();
  ASSERT_TRUE(IsCustomStyleActive(w));
  TCustomStyleServices* services = StyleServices(w);
  const TThemedElementDetails tip = TCustomStyleServices::GetElementDetails(tttStandardNormal);
  TColor top = clNone, bottom = clNone, border = clNone, text = clNone;
  ASSERT_TRUE(services->GetElementColor(tip, ecGradientColor1, top));
  ASSERT_TRUE(services->GetElementColor(tip, ecGradientColor2, bottom));
  ASSERT_TRUE(services->GetElementColor(tip, ecBorderColor, border));
  ASSERT_TRUE(services->GetElementColor(tip, ecTextColor, text));
  TBitmap shot;
  Snapshot(w, shot);
  const int width = shot.Width(), height = shot.Height();
  EXPECT_TRUE(NearColor(PixelAt(&shot, width - 3, 1), top, 8));
  EXPECT_TRUE(NearColor(PixelAt(&shot, width - 3, height - 2), bottom, 8));
  for (TPoint p : {TPoint(width / 2, 0), TPoint(0, height / 2), TPoint(width - 1, height / 2), TPoint(width / 2, height - 1)})
    EXPECT_TRUE(NearColor(PixelAt(&shot, p.X, p.Y), border, 0)) << p.X << ", " << p.Y;
  EXPECT_GT(CountColor(&shot, text, w->Layout().TextRect), 0) << "the style's text colour, not the hint font's";
  EXPECT_GT(CountColor(&shot, text, w->Layout().TitleRect), 0);
  hint.HideHint();
}

// ---- The application's hints -------------------------------------------------------------

TForm* gHintMainForm = nullptr;

// The main form with a panel that has a hint and one that has none, the pointer away.
struct THintScene {
  TPointerScope Pointer;
  TAppHintRestore Restore;
  TTestPanel* WithHint;
  TTestPanel* Plain;
  THintScene() {
    Application->SetHintPause(kLongPause);
    Application->SetHintHidePause(kLongPause * 2);
    Application->CreateForm(gHintMainForm);
    TForm* form = gHintMainForm;
    form->SetBorderStyle(bsNone);
    form->SetBounds(200, 200, 300, 120);
    WithHint = new TTestPanel(form);
    WithHint->SetBounds(10, 10, 120, 80);
    WithHint->SetParent(form);
    WithHint->SetShowHint(true);
    WithHint->SetHint(L"Panel hint");
    Plain = new TTestPanel(form);
    Plain->SetBounds(160, 10, 120, 80);
    Plain->SetParent(form);
    ::SetCursorPos(0, 0);  // the real pointer, away from the form
    form->Show();
    PumpPending();
  }
  ~THintScene() {
    Application->CancelHint();
    gHintMainForm->Free();
    gHintMainForm = nullptr;
    PumpPending();
  }
  THintScene(const THintScene&) = delete;
  THintScene& operator=(const THintScene&) = delete;

  // The pointer moved onto C at (X, Y), as the control hears it, and the hint pause over.
  static void HintAt(TWinControl* C, int X, int Y) {
    gPointer = C->ClientToScreen(TPoint(X, Y));
    C->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    Tick(Application->HintTimer());
  }
  static bool HintShown() {
    THintWindow* w = Application->HintWindow();
    return w != nullptr && w->HandleAllocated() && ::IsWindowVisible(w->WindowHandle());
  }
};

TEST(ApplicationHints, ActiveForApplicationShowsControlHintsInTheLibrarysWindow) {
  THintScene s;
  auto* hint = new TkaHint(gHintMainForm);
  hint->SetAlphaBlend(true);
  hint->SetAlphaBlendValue(180);
  hint->SetActiveForApplication(true);
  EXPECT_EQ(Application->HintWindowClass().Name(), L"TkaHintWindow");
  EXPECT_EQ(TkaHint::ApplicationHint(), hint);

  s.WithHint->SetHint(L"first@@second");
  THintScene::HintAt(s.WithHint, 40, 30);
  ASSERT_TRUE(THintScene::HintShown());
  auto* w = dynamic_cast<TkaHintWindow*>(Application->HintWindow());
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->AppHint());
  EXPECT_NE(w, hint->HintWindow()) << "the application has a window of its own";
  EXPECT_EQ(w->Hint(), hint) << "the active TkaHint gives the settings";
  EXPECT_EQ(w->Text(), L"first\r\nsecond");
  EXPECT_EQ(LayeredAlpha(w), 180);
  const TPoint cursor = s.WithHint->ClientToScreen(TPoint(40, 30));
  EXPECT_EQ(WindowRect(w).TopLeft(), TPoint(cursor.X, cursor.Y + kaVisibleCursorHeight()))
      << "below the cursor's picture";
  // It goes as the framework's window does.
  s.Plain->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
  EXPECT_FALSE(THintScene::HintShown());

  // A TkaHint of the main form is preferred to one elsewhere.
  auto* elsewhere = new TkaHint(nullptr);
  elsewhere->SetActiveForApplication(true);
  EXPECT_EQ(TkaHint::ApplicationHint(), hint);
  hint->SetActiveForApplication(false);
  EXPECT_EQ(TkaHint::ApplicationHint(), elsewhere);
  EXPECT_EQ(Application->HintWindowClass().Name(), L"TkaHintWindow") << "another TkaHint is still active";
  Application->ActivateHint(cursor);
  EXPECT_EQ(w->Hint(), elsewhere);
  bool layered = true;
  LayeredAlpha(w, &layered);
  EXPECT_FALSE(layered) << "with the other TkaHint's settings";

  // The TkaHint the window follows freed: no dangling settings.
  hint->SetActiveForApplication(true);
  elsewhere->Free();
  EXPECT_EQ(w->Hint(), nullptr);
  EXPECT_EQ(TkaHint::ApplicationHint(), hint);
  Application->ActivateHint(cursor);
  EXPECT_EQ(w->Hint(), hint);

  // The last one turned off: the application's own window class comes back (and replaces the
  // library's window).
  hint->SetActiveForApplication(false);
  EXPECT_EQ(TkaHint::ApplicationHint(), nullptr);
  EXPECT_EQ(Application->HintWindowClass().Name(), L"THintWindow");
  Application->ActivateHint(cursor);
  ASSERT_TRUE(THintScene::HintShown());
  EXPECT_STREQ(Application->HintWindow()->ClassName(), L"THintWindow");
  EXPECT_EQ(Application->HintWindow()->Text(), L"first@@second");

  // Freeing the last active one restores it too.
  auto* again = new TkaHint(nullptr);
  again->SetActiveForApplication(true);
  EXPECT_EQ(Application->HintWindowClass().Name(), L"TkaHintWindow");
  again->Free();
  EXPECT_EQ(Application->HintWindowClass().Name(), L"THintWindow");
}

TEST(ApplicationHints, ActiveForApplicationChangesNothingWhileDesigning) {
  TAppHintRestore restore;
  struct TDesignedHint : TkaHint {
    using TkaHint::TkaHint;
    void Design() { SetDesigning(true); }
  };
  TDesignedHint hint(nullptr);
  hint.Design();
  hint.SetActiveForApplication(true);
  EXPECT_TRUE(hint.ActiveForApplication());
  EXPECT_EQ(Application->HintWindowClass().Name(), L"THintWindow");
  EXPECT_EQ(TkaHint::ApplicationHint(), nullptr);
}

TEST(ApplicationHints, ALayoutSetsTheHintUp) {
  TAppHintRestore restore;
  TComponent* root = Construct<TComponent>(nullptr);
  ReadLayout(root, R"(object Root: TComponent
  object kaHint1: TkaHint
    ActiveForApplication = True
    LineSeparator = '|'
    AlphaBlend = True
    AlphaBlendValue = 200
    AlphaBlendAnimation = True
  end
end)",
             L"TEST");
  auto* hint = dynamic_cast<TkaHint*>(root->FindComponent(L"kaHint1"));
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->ActiveForApplication());
  EXPECT_EQ(hint->LineSeparator(), L"|");
  EXPECT_TRUE(hint->AlphaBlend());
  EXPECT_EQ(hint->AlphaBlendValue(), 200);
  EXPECT_TRUE(hint->AlphaBlendAnimation());
  EXPECT_EQ(Application->HintWindowClass().Name(), L"TkaHintWindow");
  EXPECT_EQ(TkaHint::ApplicationHint(), hint);
  root->Free();
  EXPECT_EQ(Application->HintWindowClass().Name(), L"THintWindow");
}

// ---- Handles --------------------------------------------------------------------------------

TEST(HintHandles, ManyHintsLeaveNoHandlesBehind) {
  TAppHintRestore restore;
  TImageList* images = NewImages(16, 16, clRed, 2);
  TkaHint hint(nullptr);
  hint.SetAlphaBlend(true);
  hint.SetAlphaBlendAnimation(true);
  auto round = [&](int i) {
    hint.ActivateHint(TPoint(100 + i % 50, 100), L"Plain@@hint");
    hint.HintWindow()->Perform(WM_TIMER, TkaHintWindow::kFadeTimerID);
    hint.ActivateHintEx(TPoint(100, 100 + i % 50), L"Title", L"Extended", i % 2, images);
    hint.HintWindow()->Repaint();
    hint.HideHint();
  };
  round(0);
  Application->SetHintWindowClass(THintWindowClass::Of<TkaHintWindow>());
  Application->ActivateHint(TPoint(100, 100));  // over no control: nothing
  PumpPending();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 150; ++i) round(i);
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
  images->Free();
}

TEST(HintHandles, ApplicationHintsInTheLibrarysWindowLeaveNoHandlesBehind) {
  THintScene s;
  TkaHint hint(nullptr);
  hint.SetAlphaBlend(true);
  hint.SetActiveForApplication(true);
  const TPoint at = s.WithHint->ClientToScreen(TPoint(40, 30));
  gPointer = at;
  Application->ActivateHint(at);
  Application->HideHint();
  PumpPending();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 100; ++i) {
    Application->ActivateHint(at);
    ASSERT_TRUE(THintScene::HintShown());
    Application->HideHint();
  }
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
