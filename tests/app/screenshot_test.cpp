// Pixel checks on the pictures of the demo's main window: the fills lie where the layout puts
// them at each scale, the caption buttons and the size grip show their glyphs in their boxes,
// the side menu shows its fill, frame line, wallpaper and button faces, and each state
// changes exactly what it should.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/Unit1.h"
#include "framework/Forms.h"
#include "lib/kaGPControls/GPPanel.h"
#include "tests/app/Pixels.h"
#include "tools/DemoShots.h"

namespace {

using namespace demotest;

// The frame and the side menu of the main window at one scale, in picture coordinates: the
// layout's 96-DPI values scaled the way the framework scales bounds, placed in a picture of
// W x H. Where alignment and margins make the scaled edges uncertain by a pixel, the regions
// keep that far from them.
struct TFrameLayout {
  int Dpi;
  int W, H;
  int S(int Value) const { return ::MulDiv(Value, Dpi, 96); }

  // The side menu is left-aligned in the border panel; the client panel takes the rest.
  int SideWidth() const { return S(201); }
  int CaptionHeight() const { return S(33); }
  int ButtonWidth() const { return S(45); }
  int ButtonHeight() const { return S(33) - S(4); }
  // alRight in order of stored position: close at the edge, then maximise, then minimise.
  TRect Button(int FromRight) const {
    return Bounds(W - (FromRight + 1) * ButtonWidth(), 0, ButtonWidth(), ButtonHeight());
  }
  TRect CloseButton() const { return Button(0); }
  TRect MaxButton() const { return Button(1); }
  TRect MinButton() const { return Button(2); }
  // A glyph of the given size is centred in its button.
  TRect GlyphBox(const TRect& Btn, int Size) const {
    const int s = S(Size);
    return Bounds(Btn.Left + (Btn.Width() - s) / 2, Btn.Top + (Btn.Height() - s) / 2, s, s);
  }
  TRect CaptionLabel() const { return TRect(SideWidth() + S(10), 0, MinButton().Left, CaptionHeight()); }
  TRect StatusBar() const { return TRect(SideWidth(), H - S(26), W, H); }
  TRect SizeGrip() const { return TRect(W - S(26), H - S(25), W, H); }

  // The page header below the caption bar, inside its margins, and its 2-pixel bottom line.
  TRect Header() const { return TRect(SideWidth() + S(10), S(36), W - S(10), S(79)); }
  // The page viewer between the header and the status bar.
  TRect PageArea() const { return TRect(SideWidth(), S(82) + 2, W, StatusBar().Top); }

  // The side menu's plain fill between the menu button and the first page button.
  TRect SideMenuPlain() const { return TRect(0, S(35) + 1, SideWidth() - 1, S(100) - 1); }
  TRect FrameLine() const { return TRect(SideWidth() - 1, S(35) + 1, SideWidth(), S(100) - 1); }
  // The page buttons, stacked from the top in the order "Data", "Reports", "Settings",
  // "About" (0..3), shrunk by a few pixels against the rounding of their scaled edges.
  TRect PageButton(int Index) const {
    const int tops[] = {100, 153, 203, 253};
    return TRect(0, S(tops[Index]) + 2, SideWidth() - 1, S(tops[Index] + 50) - 2);
  }
  // Right of the captions and icons: only the button's face shows there.
  TRect FaceOf(const TRect& Button) const { return TRect(S(150), Button.Top, Button.Right, Button.Bottom); }
  // The left line of a button that is down: 5 pixels at 96 DPI, centred, 26 high.
  TRect DownLineOf(const TRect& Button) const {
    const int middle = (Button.Top + Button.Bottom) / 2;
    return TRect(0, middle - S(10), 5, middle + S(10));
  }
  // The wallpaper's middle at the bottom of the side menu, right of the "Exit" caption.
  TRect Wallpaper() const { return TRect(S(95), H - S(80), S(105), H - S(60)); }
  // Under the menu button, where its popup menu hangs, clear of the first item's caption.
  TRect UnderMenuButton() const { return TRect(S(100) - 8, S(35) + 3, S(100) + 8, S(35) + 8); }
};

struct TShotCase {
  TDemoShotState State;
  int Dpi;
};

void ExpectFace(const TPicture32& P, const TRect& R, TRgb Face, const char* What, int Tolerance = 2) {
  const auto bad = P.Find(R, [&](TPoint, TRgb c) { return Distance(c, Face) > Tolerance; });
  EXPECT_FALSE(bad.has_value()) << What << ": " << P.At(bad->X, bad->Y) << " at (" << bad->X << ", " << bad->Y
                                << "), face " << Face;
}

TRect Inflated(TRect R, int D) {
  R.Inflate(D, D);
  return R;
}

// Every pixel of R outside Hole.
template <class F>
void ForEachAround(const TRect& R, const TRect& Hole, F&& Check) {
  Check(TRect(R.Left, R.Top, R.Right, Hole.Top));
  Check(TRect(R.Left, Hole.Bottom, R.Right, R.Bottom));
  Check(TRect(R.Left, Hole.Top, Hole.Left, Hole.Bottom));
  Check(TRect(Hole.Right, Hole.Top, R.Right, Hole.Bottom));
}

void ExpectCaptionButtons(const TPicture32& p, const TFrameLayout& L, TRgb face, bool hot, bool active) {
  // Each caption glyph lies inside its box, centred in its button, and nowhere else in the
  // button. Its straight strokes (square and unsmoothed before Windows 11) cover whole
  // pixels, each once, so the darkest pixel shows the glyph's alpha, which the window's
  // activation sets; a pixel stroked twice, as where the restore glyph's squares meet,
  // would show darker. The hot close button is red with a white glyph instead.
  const struct {
    const char* Name;
    TRect Button;
    int GlyphSize;
    uint8_t ActiveAlpha, InactiveAlpha;
  } buttons[] = {
      {"close", L.CloseButton(), 10, 255, 150},
      {"maximise", L.MaxButton(), 13, 190, 120},
      {"minimise", L.MinButton(), 14, 190, 120},
  };
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.Name);
    const TRect glyph = L.GlyphBox(b.Button, b.GlyphSize);
    // Between the button's left edge and its glyph.
    const TRgb buttonFace = p.At(b.Button.Left + b.Button.Width() / 4, b.Button.Height() / 2);
    if (hot && b.Button == L.CloseButton()) {
      const TRgb red = Over(clRed, 220, face);
      EXPECT_LE(Distance(buttonFace, red), 3) << buttonFace << " where " << red << " was expected";
      const auto white = p.Find(glyph, [](TPoint, TRgb px) { return px.Darkest() >= 0xE0; });
      EXPECT_TRUE(white.has_value()) << "the hot close glyph is white";
      continue;
    }
    EXPECT_LE(Distance(buttonFace, face), 2) << buttonFace;
    const uint8_t alpha = active ? b.ActiveAlpha : b.InactiveAlpha;
    EXPECT_NEAR(p.Darkest(glyph), Over(clBtnText, alpha, face).Darkest(), 3) << "glyph at alpha " << int(alpha);
    ForEachAround(b.Button, Inflated(glyph, 2), [&](const TRect& R) { ExpectFace(p, R, face, "around the glyph"); });
  }
}

// The caption bar, the status bar with its grip, the header and the page area.
void ExpectFrame(const TPicture32& p, const TFrameLayout& L, const TShotCase& c) {
  const TRgb face = RgbOf(clBtnFace);
  const bool maximized = c.State == TDemoShotState::Maximized;
  const bool active = c.State != TDemoShotState::Inactive;
  // Everything but the buttons, the caption text, the header's text and line and the grip
  // is the bars', the header's and the page's face: the border panel's black fill
  // shows nowhere. A maximised window has no grip, so its corner must be face as well.
  const TRect label = L.CaptionLabel();
  const TRect grip = L.SizeGrip();
  ExpectFace(p, TRect(L.SideWidth(), 0, label.Left, L.CaptionHeight()), face, "caption bar left of the caption");
  ExpectFace(p, TRect(label.Right, L.ButtonHeight(), L.W, L.CaptionHeight()), face, "caption bar below the buttons");
  ExpectFace(p, TRect(L.SideWidth(), L.CaptionHeight(), L.W, L.Header().Top), face, "above the header");
  // The settings page carries its controls in its upper part; the "Reports" page is empty.
  TRect page = L.PageArea();
  if (c.State != TDemoShotState::PageSelected) page.Top += L.S(300);
  ExpectFace(p, page, face, "page area");
  ExpectFace(p, TRect(L.SideWidth(), L.StatusBar().Top, grip.Left, L.H), face, "status bar");
  ExpectFace(p, TRect(grip.Left, L.StatusBar().Top, L.W, grip.Top), face, "status bar above the grip");
  // The grip: its strokes at alpha 100 cover whole pixels somewhere, so the darkest pixel
  // of its box is clBtnText at that alpha over the bar. A maximised window has none.
  if (maximized)
    ExpectFace(p, grip, face, "corner of a maximised window");
  else
    EXPECT_NEAR(p.Darkest(grip), Over(clBtnText, 100, face).Darkest(), 3) << "size grip";

  ExpectCaptionButtons(p, L, face, c.State == TDemoShotState::CloseHot, active);

  // The caption text: clBtnText while active, $808080 while not. Its stems cover whole
  // pixels, so the darkest pixel is the text colour itself.
  EXPECT_NEAR(p.Darkest(label), active ? RgbOf(clBtnText).Darkest() : 0x80, 3) << "caption text";

  // The header: its caption's ink at the left, face right of it, and its bottom line of
  // clHighlight at alpha 100 across it.
  const TRect header = L.Header();
  EXPECT_NEAR(p.Darkest(TRect(header.Left, header.Top, header.Left + L.S(120), header.Bottom - L.S(6))),
              RgbOf(clBtnText).Darkest(), 3)
      << "header caption";
  ExpectFace(p, TRect(header.Left + L.S(200), header.Top, header.Right, header.Bottom - L.S(6)), face,
             "header right of its caption");
  // The line is 2 pixels wide at 96 DPI and scales; alignment may move it by a pixel.
  const TRgb line = Over(clHighlight, 100, face);
  const int middle = (header.Left + header.Right) / 2;
  int lineTop = header.Bottom - L.S(8), lineRows = 0;
  while (lineTop < header.Bottom + 3 && Distance(p.At(middle, lineTop), line) > 2) ++lineTop;
  while (Distance(p.At(middle, lineTop + lineRows), line) <= 2) ++lineRows;
  EXPECT_GE(lineRows, 2) << "header line";
  EXPECT_LE(lineRows, L.S(2) + 1) << "header line";
  ExpectFace(p, TRect(header.Left + 2, lineTop, header.Right - 2, lineTop + lineRows), line, "header line");
  ExpectFace(p, TRect(header.Left + 2, lineTop + lineRows, header.Right - 2, L.PageArea().Top), face,
             "below the header line");
}

// The side menu: its fill at the alpha the backdrop asks for, its right frame line, the
// wallpaper at its bottom, the face of the button that is down (or hot), the popup menu.
void ExpectSideMenu(const TPicture32& p, const TFrameLayout& L, const TShotCase& c, uint8_t FillAlpha) {
  // The border panel's black under clWindow at the side menu's alpha.
  const TRgb fill = Over(clWindow, FillAlpha, TRgb{});
  const bool menuOpen = c.State == TDemoShotState::MenuOpen;
  const TRect plain = L.SideMenuPlain();
  if (menuOpen) {
    // The popup covers the middle; the fill shows beside it.
    ExpectFace(p, TRect(plain.Left, plain.Top, L.S(30), plain.Bottom), fill, "side menu fill left of the popup");
    ExpectFace(p, L.UnderMenuButton(), RgbOf(clMenu), "popup menu under the menu button");
  } else {
    ExpectFace(p, plain, fill, "side menu fill");
  }
  // Its right edge, one pixel at every scale, over the fill.
  ExpectFace(p, L.FrameLine(), Over(clBtnText, 40, fill), "side menu's right frame line");

  // The wallpaper: the blue hills at the bottom centre.
  const TRect wallpaper = L.Wallpaper();
  const auto notBlue = p.Find(wallpaper, [](TPoint, TRgb px) { return px.B - px.R < 30; });
  EXPECT_FALSE(notBlue.has_value()) << "wallpaper at the bottom centre: " << p.At(notBlue->X, notBlue->Y);

  // "Settings" is down (pressed colour at alpha 15, its highlight line at the left), unless
  // "Reports" was clicked; "Data" hot shows the hot colour at alpha 30, brightened near the
  // pointer by the light effect, so only its far end has the plain hot colour.
  const int down = c.State == TDemoShotState::PageSelected ? 1 : 2;
  const int up = c.State == TDemoShotState::PageSelected ? 2 : 1;
  const TRgb pressed = Over(clWindowText, 15, fill);
  ExpectFace(p, L.FaceOf(L.PageButton(down)), pressed, "face of the button that is down");
  ExpectFace(p, L.DownLineOf(L.PageButton(down)), RgbOf(clHighlight), "line of the button that is down");
  TRect upFace = L.FaceOf(L.PageButton(up));
  // The open popup menu hangs over "Reports" as far as its right edge.
  if (menuOpen) upFace.Left = L.S(175);
  ExpectFace(p, upFace, fill, "face of a button that is up");
  const TRect data = L.FaceOf(L.PageButton(0));
  if (c.State == TDemoShotState::PageHot)
    ExpectFace(p, TRect(data.Right - 2, data.Top, data.Right, data.Bottom), Over(clWindowText, 30, fill),
               "far end of the hot button", 3);
  else if (!menuOpen)
    ExpectFace(p, data, fill, "face of a button that is neither down nor hot");
}

// The side menu's fill alpha the styled form chooses for the backdrop of this machine.
uint8_t SideMenuAlphaHere() {
  Application->CreateForm(Form1);
  const uint8_t alpha = Form1->kaGPPanel1->FillColorAlpha();
  Form1->Free();
  Form1 = nullptr;
  Application->ProcessMessages();
  return alpha;
}

TEST(ScreenshotPixels, FillsGlyphsAndStatesLieWhereTheLayoutPutsThemAtEachScale) {
  const uint8_t sideMenuAlpha = SideMenuAlphaHere();
  const TShotCase cases[] = {
      {TDemoShotState::CloseHot, 96},     {TDemoShotState::CloseHot, 144},     {TDemoShotState::Maximized, 96},
      {TDemoShotState::Maximized, 144},   {TDemoShotState::Inactive, 96},      {TDemoShotState::PageHot, 96},
      {TDemoShotState::PageHot, 144},     {TDemoShotState::PageSelected, 96},  {TDemoShotState::PageSelected, 144},
      {TDemoShotState::MenuOpen, 96},     {TDemoShotState::MenuOpen, 144},
  };
  for (const TShotCase& c : cases) {
    SCOPED_TRACE(testing::Message() << ToUtf8(DemoShotStateName(c.State)) << " at " << c.Dpi << " dpi");
    std::unique_ptr<TBitmap> bitmap = CaptureDemoMainWindow(c.State, c.Dpi);
    ASSERT_NE(bitmap, nullptr);
    const TPicture32 p(bitmap.get());
    const TFrameLayout L{c.Dpi, p.Width(), p.Height()};

    if (c.State == TDemoShotState::Maximized) {
      // The work area, less the strip an auto-hidden taskbar keeps.
      const TRect work = Screen->PrimaryMonitor().WorkareaRect();
      EXPECT_LE(p.Width(), work.Width());
      EXPECT_GE(p.Width(), work.Width() - 2);
      EXPECT_LE(p.Height(), work.Height());
      EXPECT_GE(p.Height(), work.Height() - 2);
    } else {
      ASSERT_EQ(p.Width(), L.S(768));
      ASSERT_EQ(p.Height(), L.S(501));
    }
    ExpectFrame(p, L, c);
    ExpectSideMenu(p, L, c, sideMenuAlpha);
  }
}

// ---- Settings, about, second and message windows ---------------------------------------------------

bool Contains(const TPicture32& P, const TRect& R, const std::function<bool(TRgb)>& Want) {
  return P.Find(R, [&](TPoint, TRgb C) { return Want(C); }).has_value();
}

TEST(ScreenshotPixels, AboutWindows11SecondAndMessageWindowsShowTheirContentAtEachScale) {
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    auto S = [dpi](int V) { return ::MulDiv(V, dpi, 96); };
    auto highlight = [](TRgb C) { return Distance(C, RgbOf(clHighlight)) <= 24; };
    {
      SCOPED_TRACE("about");
      std::unique_ptr<TBitmap> b = CaptureDemoMainWindow(TDemoShotState::About, dpi);
      const TPicture32 p(b.get());
      const TFrameLayout L{dpi, p.Width(), p.Height()};
      const int left = L.SideWidth(), top = L.PageArea().Top;
      // "Karvo VCL" in orange, the address link's text in the button text colour.
      EXPECT_TRUE(Contains(p, Bounds(left + S(32), top + S(43), S(172), S(23)),
                           [](TRgb C) { return C.R > 200 && C.G > 80 && C.G < 180 && C.B < 80; }))
          << "orange library name";
      EXPECT_NEAR(p.Darkest(Bounds(left + S(88), top + S(156), S(139), S(36))), RgbOf(clBtnText).Darkest(), 40)
          << "link text";
    }
    for (TDemoShotState state : {TDemoShotState::Normal, TDemoShotState::SettingsWindows11}) {
      const bool windows11 = state == TDemoShotState::SettingsWindows11;
      SCOPED_TRACE(windows11 ? "settings on Windows 11" : "settings on Windows 10");
      std::unique_ptr<TBitmap> b = CaptureDemoMainWindow(state, dpi);
      const TPicture32 p(b.get());
      const TFrameLayout L{dpi, p.Width(), p.Height()};
      // The switch's track is filled with the highlight only while on.
      const TRect sw = Bounds(L.SideWidth() + S(29), L.PageArea().Top + S(92), S(45), S(35));
      EXPECT_EQ(Contains(p, sw, highlight), windows11) << "\"Windows11 UI\" track";
      // The side menu's plain part: clWindow at 100 (acrylic) or 230 (blur) over black.
      ExpectFace(p, TRect(S(5), S(40), S(190), S(95)), Over(clWindow, windows11 ? 100 : 230, TRgb{}),
                 "side menu fill");
    }
    {
      SCOPED_TRACE("second window");
      std::unique_ptr<TBitmap> b = CaptureDemoMainWindow(TDemoShotState::SecondForm, dpi);
      const TPicture32 p(b.get());
      ASSERT_EQ(p.Width(), S(700));
      ASSERT_EQ(p.Height(), S(400));
      // Its caption in the button text colour; below the caption bar, one even face.
      EXPECT_NEAR(p.Darkest(Bounds(S(5), 0, S(250), S(33))), RgbOf(clBtnText).Darkest(), 3) << "caption";
      const TRect body(S(10), S(45), p.Width() - S(10), p.Height() - S(10));
      ExpectFace(p, body, p.At(body.Left, body.Top), "empty client area");
      // Its close glyph in the top right corner.
      EXPECT_LT(p.Darkest(Bounds(p.Width() - S(46), 0, S(45), S(29))), 0x80) << "close glyph";
    }
    {
      SCOPED_TRACE("message window");
      std::unique_ptr<TBitmap> b = CaptureDemoMainWindow(TDemoShotState::Message, dpi);
      const TPicture32 p(b.get());
      ASSERT_EQ(p.Width(), S(460));
      ASSERT_EQ(p.Height(), S(178));
      const int W = p.Width(), H = p.Height();
      EXPECT_NEAR(p.Darkest(Bounds(S(4), S(4), S(150), S(25))), RgbOf(clWindowText).Darkest(), 3) << "caption";
      EXPECT_NEAR(p.Darkest(Bounds(S(115), S(57), S(150), S(25))), RgbOf(clWindowText).Darkest(), 3) << "message";
      // The animated picture: the bubble in the accent blue at the left.
      EXPECT_TRUE(Contains(p, Bounds(S(21), S(44), S(78), S(73)), [](TRgb C) { return C.B > C.R + 100; }))
          << "picture";
      // "Ok" alone, at the right of the button bar; the bar's face left of it.
      const TRect ok = Bounds(W - 1 - S(110), H - 1 - S(40), S(100), S(30));
      EXPECT_NEAR(p.Darkest(Inflated(ok, -S(8))), RgbOf(clWindowText).Darkest(), 40) << "\"Ok\"";
      ExpectFace(p, TRect(S(10), H - S(40), W - S(240), H - S(10)), Over(clBtnFace, 200, RgbOf(clWindow)),
                 "button bar where \"Cancel\" is not", 3);
    }
  }
}

}  // namespace
