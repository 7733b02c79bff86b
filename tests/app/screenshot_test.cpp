// Pixel checks on the pictures of the demo's main window: the fills lie where the layout puts
// them at each scale, the caption buttons and the size grip show their glyphs in their boxes,
// and each state changes exactly what it should.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>

#include "framework/Forms.h"
#include "tools/DemoShots.h"

namespace {

struct TRgb {
  int R = 0, G = 0, B = 0;
  int Darkest() const { return std::min({R, G, B}); }
};

std::ostream& operator<<(std::ostream& Os, const TRgb& C) {
  return Os << "rgb(" << C.R << ", " << C.G << ", " << C.B << ")";
}

TRgb RgbOf(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// Color at opacity Alpha over Under, as the alpha fills compose it.
TRgb Over(TColor Color, uint8_t Alpha, TRgb Under) {
  const TRgb c = RgbOf(Color);
  auto mix = [Alpha](int Top, int Bottom) { return (Top * Alpha + Bottom * (255 - Alpha) + 127) / 255; };
  return {mix(c.R, Under.R), mix(c.G, Under.G), mix(c.B, Under.B)};
}

int Distance(TRgb A, TRgb B) { return std::max({std::abs(A.R - B.R), std::abs(A.G - B.G), std::abs(A.B - B.B)}); }

// Read access to a captured picture (bottom-up pf32bit, blue first).
class TPicture32 {
 public:
  explicit TPicture32(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  int Width() const { return FBitmap->Width(); }
  int Height() const { return FBitmap->Height(); }
  TRgb At(int X, int Y) const {
    const auto* p = static_cast<const uint8_t*>(FBitmap->ScanLine(Y)) + X * 4;
    return {p[2], p[1], p[0]};
  }
  // The first pixel of R (clipped to the picture) that Bad picks out, if any.
  template <class F>
  std::optional<TPoint> Find(const TRect& R, F&& Bad) const {
    for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, Height()); ++y)
      for (int x = std::max(R.Left, 0); x < std::min(R.Right, Width()); ++x)
        if (Bad(TPoint(x, y), At(x, y))) return TPoint(x, y);
    return std::nullopt;
  }
  // The darkest channel value in R.
  int Darkest(const TRect& R) const {
    int darkest = 255;
    Find(R, [&](TPoint, TRgb c) {
      darkest = std::min(darkest, c.Darkest());
      return false;
    });
    return darkest;
  }

 private:
  TBitmap* FBitmap;
};

// The frame of the main window at one scale, in picture coordinates: the layout's 96-DPI
// values scaled the way the framework scales bounds, placed in a picture of W x H.
struct TFrameLayout {
  int Dpi;
  int W, H;
  int S(int Value) const { return ::MulDiv(Value, Dpi, 96); }

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
  TRect CaptionLabel() const { return TRect(S(10), 0, MinButton().Left, CaptionHeight()); }
  TRect StatusBar() const { return TRect(0, H - S(26), W, H); }
  TRect SizeGrip() const { return TRect(W - S(26), H - S(25), W, H); }
};

struct TShotCase {
  TDemoShotState State;
  int Dpi;
};

void ExpectFace(const TPicture32& P, const TRect& R, TRgb Face, const char* What) {
  const auto bad = P.Find(R, [&](TPoint, TRgb c) { return Distance(c, Face) > 2; });
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

TEST(ScreenshotPixels, FillsGlyphsAndStatesLieWhereTheLayoutPutsThemAtEachScale) {
  const TRgb face = RgbOf(clBtnFace);
  const TShotCase cases[] = {
      {TDemoShotState::CloseHot, 96},  {TDemoShotState::CloseHot, 144}, {TDemoShotState::Maximized, 96},
      {TDemoShotState::Maximized, 144}, {TDemoShotState::Inactive, 96},
  };
  for (const TShotCase& c : cases) {
    SCOPED_TRACE(testing::Message() << ToUtf8(DemoShotStateName(c.State)) << " at " << c.Dpi << " dpi");
    std::unique_ptr<TBitmap> bitmap = CaptureDemoMainWindow(c.State, c.Dpi);
    ASSERT_NE(bitmap, nullptr);
    const TPicture32 p(bitmap.get());
    const bool maximized = c.State == TDemoShotState::Maximized;
    const bool hot = c.State == TDemoShotState::CloseHot;
    const bool active = c.State != TDemoShotState::Inactive;
    const TFrameLayout L{c.Dpi, p.Width(), p.Height()};

    if (maximized) {
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

    // Everything but the buttons, the caption text and the grip is the bars' and the client
    // panel's face: the border panel's black fill shows nowhere. A maximised window has no
    // grip, so its corner must be face as well.
    const TRect label = L.CaptionLabel();
    const TRect grip = L.SizeGrip();
    ExpectFace(p, TRect(0, 0, label.Left, L.CaptionHeight()), face, "caption bar left of the caption");
    ExpectFace(p, TRect(label.Right, L.ButtonHeight(), L.W, L.CaptionHeight()), face, "caption bar below the buttons");
    ExpectFace(p, TRect(0, L.CaptionHeight(), L.W, L.StatusBar().Top), face, "client panel");
    ExpectFace(p, TRect(0, L.StatusBar().Top, grip.Left, L.H), face, "status bar");
    ExpectFace(p, TRect(grip.Left, L.StatusBar().Top, L.W, grip.Top), face, "status bar above the grip");
    // The grip: its strokes at alpha 100 cover whole pixels somewhere, so the darkest pixel
    // of its box is clBtnText at that alpha over the bar. A maximised window has none.
    if (maximized)
      ExpectFace(p, grip, face, "corner of a maximised window");
    else
      EXPECT_NEAR(p.Darkest(grip), Over(clBtnText, 100, face).Darkest(), 3) << "size grip";

    ExpectCaptionButtons(p, L, face, hot, active);

    // The caption text: clBtnText while active, $808080 while not. Its stems cover whole
    // pixels, so the darkest pixel is the text colour itself.
    EXPECT_NEAR(p.Darkest(label), active ? RgbOf(clBtnText).Darkest() : 0x80, 3) << "caption text";
  }
}

}  // namespace
