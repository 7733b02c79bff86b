// Vector button options, shapes and the glyph button: where every shape style paints, the
// exact pixels of the shapes the demo uses, per-state colours through real mouse messages,
// split faces, the glyph's box, the press ripple's timer, the badge, option notifications,
// dialog keys and groups, layout streaming and handle hygiene.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "framework/Streaming.h"
#include "lib/kaGPControls/GPButtonOptions.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "tests/support/TestControls.h"

namespace {

// A glyph button that keeps a copy of every face it paints and the boxes its glyphs went to.
class TTestGlyphButton : public TkaGPGlyphButton {
  KA_CLASS(TTestGlyphButton, TkaGPGlyphButton)
 public:
  explicit TTestGlyphButton(TComponent* AOwner) : TkaGPGlyphButton(AOwner) {
    OnClick = [this](TObject*) { ++Clicks; };
  }
  int Clicks = 0;
  int Paints = 0;
  TkasCtrlState LastState = kasNormal;
  TBitmap Snapshot;
  std::vector<TGPRectF> GlyphBoxes;

  TkasCtrlState State() { return GetCtrlState(); }
  bool MouseLDown() const { return FMouseLDown; }
  uint8_t LightStep() const { return FFluentLightPressedEffectAmount; }
  TColor At(int X, int Y) { return Snapshot.Canvas()->Pixel(X, Y); }
  // The face of a state on a canvas, with the canvas's origin at the button's corner.
  void PaintOn(TCanvas* C, TkasCtrlState S) { DrawControl(C, S); }

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override {
    inherited::DrawControl(ACanvas, ACtrlState);
    ++Paints;
    LastState = ACtrlState;
    Snapshot.SetSize(Width(), Height());
    ::BitBlt(Snapshot.Canvas()->Handle(), 0, 0, Width(), Height(), ACanvas->Handle(), 0, 0, SRCCOPY);
  }
  void DrawGlyph(Gdiplus::Graphics* G, const TGPRectF& Box, TGPColor Color, double AScaleFactor) override {
    GlyphBoxes.push_back(Box);
    inherited::DrawGlyph(G, Box, Color, AScaleFactor);
  }
};

constexpr TColor kBackground = clWhite;

// A form with a white panel the buttons sit on (and capture as their background).
struct TScene {
  TCustomForm* Form;
  TTestPanel* Panel;
  std::vector<TTestGlyphButton*> Buttons;

  explicit TScene(int Count = 1, int W = 60, int H = 40) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 400, 120);
    Panel = new TTestPanel(Form);
    Panel->FillColor = kBackground;
    Panel->SetAlign(alClient);
    Panel->SetParent(Form);
    for (int i = 0; i < Count; ++i) {
      auto* b = new TTestGlyphButton(Form);
      b->SetBounds(10 + i * (W + 10), 10, W, H);
      b->SetParent(Panel);
      Buttons.push_back(b);
    }
    ::SetCursorPos(0, 0);
    Form->Show();
    PumpPending();
    // A move left over from an earlier window at the same place may have entered a button;
    // the leave poll sees the cursor is elsewhere.
    PumpUntil([this] {
      for (TTestGlyphButton* b : Buttons)
        if (b->MouseIn()) return false;
      return true;
    }, 1000);
  }
  ~TScene() { Form->Free(); }
  TTestGlyphButton* B(int I = 0) { return Buttons[I]; }
  // Real messages to the button's window, with the real cursor where the leave poll looks.
  static void Move(TTestGlyphButton* B, int X, int Y) {
    TPoint p = B->ClientToScreen(TPoint(X, Y));
    ::SetCursorPos(p.X, p.Y);
    ::SendMessageW(B->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
  }
  static void Press(TTestGlyphButton* B, int X, int Y) {
    ::SendMessageW(B->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  }
  static void Release(TTestGlyphButton* B, int X, int Y) {
    ::SendMessageW(B->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
  }
};

// Colour over Under at constant Alpha, per channel, as GDI+ composes onto an opaque surface.
TColor Blend(TColor Over, uint8_t Alpha, TColor Under) {
  auto mix = [Alpha](int o, int u) { return (o * Alpha + u * (255 - Alpha) + 127) / 255; };
  return RGBColor(static_cast<uint8_t>(mix(GetRValue(Over), GetRValue(Under))),
                  static_cast<uint8_t>(mix(GetGValue(Over), GetGValue(Under))),
                  static_cast<uint8_t>(mix(GetBValue(Over), GetBValue(Under))));
}

// A pixel of a 32-bit bitmap read from its memory (GetPixel is slow under Wine).
TColor PixelOf(TBitmap& Bitmap, int X, int Y) {
  const auto* row = static_cast<const uint8_t*>(Bitmap.ScanLine(Y));
  return RGBColor(row[X * 4 + 2], row[X * 4 + 1], row[X * 4]);
}

// GDI+ may round a channel differently by a step or two.
::testing::AssertionResult Near(TColor Actual, TColor Expected, int Tolerance = 3) {
  const int d[] = {std::abs(GetRValue(Actual) - GetRValue(Expected)),
                   std::abs(GetGValue(Actual) - GetGValue(Expected)),
                   std::abs(GetBValue(Actual) - GetBValue(Expected))};
  for (int v : d)
    if (v > Tolerance)
      return ::testing::AssertionFailure() << ToUtf8(Format(L"colour %06X is not %06X", static_cast<unsigned>(Actual),
                                                            static_cast<unsigned>(Expected)));
  return ::testing::AssertionSuccess();
}

// Opaque yellow face with an opaque blue frame, drawn by the face procedure alone on a
// bitmap that starts white.
struct TFace {
  TkaGPButtonOptions Options;
  TBitmap Bitmap;

  TFace() {
    Options.SetStyleColors(false);
    Options.SetNormalColor(clYellow);
    Options.SetFrameNormalColor(clBlue);
    Options.SetShapeCornerRadius(6);
  }
  void Paint(int W, int H, TkasCtrlState State = kasNormal) {
    Bitmap.SetPixelFormat(pf32bit);
    Bitmap.SetSize(W, H);
    Bitmap.Canvas()->Brush()->SetColor(kBackground);
    Bitmap.Canvas()->FillRect(TRect(0, 0, W, H));
    TkaGPButtonFaceOwner Owner;
    Owner.Width = W;
    Owner.Height = H;
    GPDrawButtonFace(Bitmap.Canvas(), &Options, Owner, State, false, true);
  }
  TColor At(int X, int Y) { return Bitmap.Canvas()->Pixel(X, Y); }
};

// ---- Shapes ---------------------------------------------------------------------------------

TEST(GPButtonShapes, EveryStylePaintsItsFaceInsideTheControlOnly) {
  TScene s;
  TTestGlyphButton* b = s.B();
  TkaGPButtonOptions* o = b->Options();
  o->SetStyleColors(false);
  o->SetNormalColor(clYellow);
  o->SetNormalColorAlpha(255);
  o->SetFrameNormalColor(clBlue);
  o->SetFrameNormalColorAlpha(255);
  o->SetFrameWidth(3);
  o->SetShapeCornerRadius(6);
  b->GlyphOptions()->SetSize(4);
  b->Badge()->SetText(L"5");
  b->Badge()->SetVisible(true);
  constexpr int kMargin = 20;
  const TSize sizes[] = {{60, 40}, {37, 90}};
  for (int style = kagpRect; style <= kagpSegmentedMiddleVertical; ++style) {
    for (const TSize& size : sizes) {
      SCOPED_TRACE(testing::Message() << "style " << style << ", " << size.cx << " x " << size.cy);
      o->SetShapeStyle(static_cast<TkaGPButtonShapeStyle>(style));
      b->SetBounds(10, 10, size.cx, size.cy);
      const int w = b->Width(), h = b->Height();  // a round button is kept square
      TBitmap canvas(w + 2 * kMargin, h + 2 * kMargin);
      canvas.Canvas()->Brush()->SetColor(clLime);
      canvas.Canvas()->FillRect(TRect(0, 0, canvas.Width(), canvas.Height()));
      HDC dc = canvas.Canvas()->Handle();
      ::SetViewportOrgEx(dc, kMargin, kMargin, nullptr);
      b->PaintOn(canvas.Canvas(), kasNormal);
      ::SetViewportOrgEx(dc, 0, 0, nullptr);
      bool outsideUntouched = true, frameInside = false;
      for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
          const TColor c = PixelOf(canvas, x, y);
          const bool inside = x >= kMargin && x < kMargin + w && y >= kMargin && y < kMargin + h;
          if (!inside && c != clLime) outsideUntouched = false;
          if (inside && Near(c, clBlue, 8)) frameInside = true;
        }
      }
      EXPECT_TRUE(outsideUntouched);
      EXPECT_TRUE(frameInside);
      // The fill reaches the face's middle (beside the small glyph).
      EXPECT_TRUE(Near(canvas.Canvas()->Pixel(kMargin + w / 2 - 5, kMargin + h / 2), clYellow));
    }
  }
}

TEST(GPButtonShapes, DemoStylesPaintTheirExactPixels) {
  enum TExpect { F, B, K };  // fill, frame, background
  struct TPoint3 {
    int X, Y;
    TExpect E;
  };
  struct TCase {
    TkaGPButtonShapeStyle Style;
    int FrameWidth, LineSize;
    std::vector<TPoint3> Points;
  };
  // 60 x 40 faces, corner radius 6.
  const TCase cases[] = {
      {kagpRect, 2, 0, {{0, 0, B}, {1, 20, B}, {2, 20, F}, {30, 1, B}, {30, 2, F}, {58, 20, B}, {57, 20, F},
                        {30, 39, B}, {30, 20, F}}},
      {kagpRoundedRect, 2, 0, {{0, 0, K}, {59, 39, K}, {59, 0, K}, {0, 20, B}, {2, 20, F}, {30, 0, B},
                               {30, 39, B}, {30, 37, F}}},
      {kagpLeftLine, 4, 0, {{0, 0, B}, {3, 39, B}, {4, 20, F}, {59, 20, F}, {30, 0, F}, {30, 39, F}}},
      {kagpLeftLineMargins, 4, 20, {{1, 9, F}, {1, 10, B}, {3, 29, B}, {1, 30, F}, {5, 20, F}}},
      {kagpLeftLineMargins, 4, 0, {{1, 3, F}, {1, 4, B}, {1, 35, B}, {1, 36, F}, {30, 0, F}}},
      {kagpLeftRoundedLine, 4, 0, {{0, 0, K}, {59, 39, K}, {2, 20, B}, {2, 2, F}, {5, 20, F}, {30, 0, F},
                                   {2, 37, F}}},
      {kagpTabBottom, 2, 0, {{0, 0, B}, {59, 0, B}, {30, 0, F}, {0, 39, K}, {59, 39, K}, {30, 39, B},
                             {30, 38, B}, {30, 37, F}, {1, 20, B}, {2, 20, F}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.Style << ", line size " << c.LineSize);
    TFace face;
    face.Options.SetShapeStyle(c.Style);
    face.Options.SetFrameWidth(c.FrameWidth);
    face.Options.SetShapeStyleLineSize(c.LineSize);
    face.Paint(60, 40);
    for (const TPoint3& p : c.Points) {
      SCOPED_TRACE(testing::Message() << "(" << p.X << ", " << p.Y << ")");
      const TColor expected = p.E == F ? clYellow : p.E == B ? clBlue : kBackground;
      EXPECT_TRUE(Near(face.At(p.X, p.Y), expected, 2));
    }
  }
}

TEST(GPButtonShapes, RoundedFaceGeometryFollowsTheFrameOpacity) {
  // 100 x 30, frame 1, radius 10: fill and frame share the stroke rectangle with an opaque
  // frame; a translucent frame keeps the fill a whole frame inside, one pixel tighter.
  struct TCase {
    bool Translucent;
    TGPRectF Fill;
    float FillDiameter;
  };
  const TCase cases[] = {{false, TGPRectF(0.5f, 0.5f, 99, 29), 20}, {true, TGPRectF(1, 1, 98, 28), 19}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Translucent);
    const TkaGPButtonShape s = GPButtonShape(kagpRoundedRect, 100, 30, 1, 10, 0, true, c.Translucent, false);
    EXPECT_FLOAT_EQ(s.Fill.X, c.Fill.X);
    EXPECT_FLOAT_EQ(s.Fill.Y, c.Fill.Y);
    EXPECT_FLOAT_EQ(s.Fill.Width, c.Fill.Width);
    EXPECT_FLOAT_EQ(s.Fill.Height, c.Fill.Height);
    EXPECT_FLOAT_EQ(s.FillDiameter, c.FillDiameter);
    EXPECT_FLOAT_EQ(s.Frame.X, 0.5f);
    EXPECT_FLOAT_EQ(s.FrameDiameter, 20);
    // The bottom arcs are one pixel wider: the outline's lowest arc starts D + 1 from the
    // bottom-right corner.
    Gdiplus::GraphicsPath path;
    GPAddButtonShapeFill(&path, s);
    TGPRectF bounds;
    path.GetBounds(&bounds);
    EXPECT_NEAR(bounds.Y + bounds.Height, c.Fill.Y + c.Fill.Height, 0.01);
    std::vector<Gdiplus::PointF> pts(path.GetPointCount());
    path.GetPathPoints(pts.data(), static_cast<INT>(pts.size()));
    const float right = c.Fill.X + c.Fill.Width, bottom = c.Fill.Y + c.Fill.Height;
    const float bottomD = c.FillDiameter + 1;
    bool bottomArcStart = false;
    for (const auto& p : pts)
      if (std::abs(p.X - right) < 0.01f && std::abs(p.Y - (bottom - bottomD / 2)) < 0.01f) bottomArcStart = true;
    EXPECT_TRUE(bottomArcStart);
  }
  // A bottom rounded line on 120 x 36, frame 2: a bar from x 10 to 110 on the bottom two rows.
  TFace face;
  face.Options.SetShapeStyle(kagpBottomRoundedLine);
  face.Options.SetShapeCornerRadius(10);
  face.Options.SetFrameWidth(2);
  face.Paint(120, 36);
  EXPECT_TRUE(Near(face.At(60, 35), clBlue, 2));
  EXPECT_TRUE(Near(face.At(60, 34), clBlue, 2));
  EXPECT_TRUE(Near(face.At(60, 33), clYellow, 2));
  EXPECT_TRUE(Near(face.At(8, 35), clYellow, 2));
  EXPECT_TRUE(Near(face.At(112, 35), clYellow, 2));
}

TEST(GPButtonShapes, GradientFillRunsAlongTheStateAngleAndSeparatorFillsWithTheFontColour) {
  TFace face;
  face.Options.SetNormalColor(RGBColor(100, 100, 100));
  face.Options.SetPressedColor(RGBColor(100, 100, 100));
  face.Options.SetFrameNormalColor(clNone);
  face.Options.SetFramePressedColor(clNone);
  face.Options.SetShapeFillStyle(kagpsfGradient);
  face.Paint(40, 40, kasNormal);  // 90 degrees: lighter at the top
  EXPECT_GT(GetRValue(face.At(20, 2)), GetRValue(face.At(20, 37)) + 20);
  face.Paint(40, 40, kasPressed);  // -90 degrees: darker at the top
  EXPECT_LT(GetRValue(face.At(20, 2)) + 20, GetRValue(face.At(20, 37)));

  // Separator mode: no frame inset, the whole face in the font colour at alpha 50.
  face.Options.SetFrameNormalColor(clBlue);
  face.Options.SetFontNormalColor(clBlack);
  face.Bitmap.Canvas()->FillRect(TRect(0, 0, 40, 40));
  TkaGPButtonFaceOwner owner;
  owner.Width = owner.Height = 40;
  GPDrawButtonFace(face.Bitmap.Canvas(), &face.Options, owner, kasNormal, true, false);
  EXPECT_TRUE(Near(face.At(0, 20), Blend(clBlack, 50, kBackground)));
  EXPECT_TRUE(Near(face.At(20, 20), Blend(clBlack, 50, kBackground)));
}

// ---- States ---------------------------------------------------------------------------------

TEST(GPGlyphButton, FaceColoursAndAlphasFollowTheStateThroughRealMouseMessages) {
  TScene s;
  TTestGlyphButton* b = s.B();
  TkaGPButtonOptions* o = b->Options();
  o->SetStyleColors(false);
  struct TStateColours {
    TkasCtrlState State;
    TColor Fill;
    uint8_t FillAlpha;
    TColor Frame;
    uint8_t FrameAlpha;
  };
  const TStateColours colours[] = {{kasNormal, clRed, 200, clLime, 128},
                                   {kasHot, clBlue, 150, clRed, 100},
                                   {kasPressed, clGreen, 100, clNavy, 60},
                                   {kasFocused, clPurple, 255, clTeal, 180},
                                   {kasDisabled, clGray, 50, clMaroon, 30}};
  o->SetNormalColor(clRed), o->SetNormalColorAlpha(200), o->SetFrameNormalColor(clLime);
  o->SetFrameNormalColorAlpha(128);
  o->SetHotColor(clBlue), o->SetHotColorAlpha(150), o->SetFrameHotColor(clRed), o->SetFrameHotColorAlpha(100);
  o->SetPressedColor(clGreen), o->SetPressedColorAlpha(100), o->SetFramePressedColor(clNavy);
  o->SetFramePressedColorAlpha(60);
  o->SetFocusedColor(clPurple), o->SetFocusedColorAlpha(255), o->SetFrameFocusedColor(clTeal);
  o->SetFrameFocusedColorAlpha(180);
  o->SetDisabledColor(clGray), o->SetDisabledColorAlpha(50), o->SetFrameDisabledColor(clMaroon);
  o->SetFrameDisabledColorAlpha(30);
  auto check = [&](TkasCtrlState expected) {
    SCOPED_TRACE(testing::Message() << "state " << expected);
    EXPECT_EQ(b->LastState, expected);
    const TStateColours& c = colours[expected];
    // A translucent frame keeps the fill a whole frame (2) inside: pixel 0 is frame only.
    EXPECT_TRUE(Near(b->At(0, 20), Blend(c.Frame, c.FrameAlpha, kBackground)));
    EXPECT_TRUE(Near(b->At(4, 20), Blend(c.Fill, c.FillAlpha, kBackground)));
  };
  b->RePaintControl();
  check(kasNormal);
  TScene::Move(b, 30, 20);
  check(kasHot);
  TScene::Press(b, 30, 20);
  check(kasPressed);
  TScene::Release(b, 30, 20);
  EXPECT_EQ(b->Clicks, 1);
  check(kasHot);
  TScene::Move(b, 200, 20);  // out: the press took the focus
  check(kasFocused);
  b->SetEnabled(false);
  check(kasDisabled);
  b->SetEnabled(true);

  // A down toggle button under the mouse with PressedHotColors: hot fill, pressed frame.
  b->SetToggleMode(true);
  o->SetPressedHotColors(true);
  TScene::Move(b, 30, 20);
  TScene::Press(b, 30, 20);
  TScene::Release(b, 30, 20);
  ASSERT_TRUE(b->Down());
  EXPECT_EQ(b->LastState, kasHot);
  EXPECT_TRUE(Near(b->At(4, 20), Blend(clBlue, 150, kBackground)));
  EXPECT_TRUE(Near(b->At(0, 20), Blend(clNavy, 60, kBackground)));
  TScene::Move(b, 200, 20);
  EXPECT_EQ(b->LastState, kasPressed);
}

TEST(GPGlyphButton, SplitButtonPaintsMainPartArrowPartAndSeparator) {
  TScene s(1, 80, 40);
  TTestGlyphButton* b = s.B();
  TkaGPButtonOptions* o = b->Options();
  o->SetStyleColors(false);
  o->SetHotColor(clBlue), o->SetHotColorAlpha(255);
  o->SetPressedColor(clRed), o->SetPressedColorAlpha(255);
  o->SetFontHotColor(clBlack);
  o->SetFrameHotColor(clNone), o->SetFramePressedColor(clNone);
  b->SetCustomDropDown(true);
  b->SetSplitButton(true);
  int dropDowns = 0;
  b->OnDropDown = [&](TObject*) { ++dropDowns; };
  // The split part is 3 * 9 - 2 = 25 wide: the boundary at x 55, a 1-pixel strip there.
  TScene::Move(b, 20, 20);
  EXPECT_TRUE(Near(b->At(10, 5), clBlue));
  EXPECT_TRUE(Near(b->At(55, 20), Blend(clBlack, 50, clBlue)));
  EXPECT_TRUE(Near(b->At(70, 5), clBlue));
  TScene::Press(b, 75, 20);  // in the split zone: the drop-down opens
  EXPECT_EQ(dropDowns, 1);
  EXPECT_TRUE(b->MenuDroppedDown());
  EXPECT_TRUE(Near(b->At(10, 5), clBlue));
  EXPECT_TRUE(Near(b->At(70, 5), clRed));
  EXPECT_TRUE(Near(b->At(55, 20), Blend(clBlack, 50, clRed)));
  b->CloseUp(false);
  TScene::Release(b, 75, 20);
}

TEST(GPGlyphButton, DropDownArrowSitsInItsArea) {
  // 60 x 40, arrow 9 in an area of 18: right of the content, at the left when reading right
  // to left, under it for a bottom arrow; a modern arrow is a "v" one pixel higher.
  struct TCase {
    const char* Name;
    TBiDiMode BiDi;
    TkaArrowPosition Position;
    TkaGPArrowType Type;
    TPoint On, Off;
  };
  const TCase cases[] = {
      {"right", bdLeftToRight, kaapRight, kagpatDefault, {46, 21}, {46, 17}},
      {"right to left", bdRightToLeft, kaapRight, kagpatDefault, {13, 21}, {46, 21}},
      {"bottom", bdLeftToRight, kaapBottom, kagpatDefault, {30, 27}, {46, 21}},
      {"modern", bdLeftToRight, kaapRight, kagpatModern, {46, 22}, {46, 19}},
  };
  TScene s;
  TTestGlyphButton* b = s.B();
  TkaGPButtonOptions* o = b->Options();
  o->SetStyleColors(false);
  o->SetNormalColor(clNone);
  o->SetFrameNormalColor(clNone);
  o->SetArrowNormalColor(clRed);
  o->SetArrowNormalColorAlpha(255);
  b->GlyphOptions()->SetSize(2);
  b->SetCustomDropDown(true);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetBiDiMode(c.BiDi);
    b->SetArrowPosition(c.Position);
    o->SetArrowType(c.Type);
    b->RePaintControl();
    EXPECT_TRUE(Near(b->At(c.On.X, c.On.Y), clRed, 40));
    EXPECT_TRUE(Near(b->At(c.Off.X, c.Off.Y), kBackground));
  }
  b->SetShowMenuArrow(false);
  b->SetBiDiMode(bdLeftToRight);
  b->SetArrowPosition(kaapRight);
  EXPECT_TRUE(Near(b->At(46, 22), kBackground));
}

// ---- Content --------------------------------------------------------------------------------

TEST(GPGlyphButton, GlyphBoxFollowsSizeMarginLayoutAndArrowArea) {
  struct TCase {
    const char* Name;
    int W, H, Size;
    TkaGPButtonGlyphKind Kind;
    bool Caption;
    TButtonLayout Layout;
    TBiDiMode BiDi;
    int DropDown;  // 0 none, 1 custom drop-down, 2 split
    TGPRectF Box;
  };
  const TCase cases[] = {
      {"caption button, size 10", 45, 29, 10, kagpbgkClose, false, blGlyphLeft, bdLeftToRight, 0, {17, 9, 10, 10}},
      {"fit, no margin kind", 45, 29, 0, kagpbgkMinimize, false, blGlyphLeft, bdLeftToRight, 0, {14, 6, 17, 17}},
      {"fit, margin kind", 45, 29, 0, kagpbgkClose, false, blGlyphLeft, bdLeftToRight, 0,
       {15.45f, 7.45f, 14.1f, 14.1f}},
      {"caption, glyph left", 120, 40, 0, kagpbgkMinimize, true, blGlyphLeft, bdLeftToRight, 0, {8, 8, 24, 24}},
      {"caption, glyph right", 120, 40, 0, kagpbgkMinimize, true, blGlyphRight, bdLeftToRight, 0, {88, 8, 24, 24}},
      {"caption, glyph left read right to left", 120, 40, 0, kagpbgkMinimize, true, blGlyphLeft, bdRightToLeft, 0,
       {88, 8, 24, 24}},
      {"caption, glyph top", 120, 60, 0, kagpbgkClose, true, blGlyphTop, bdLeftToRight, 0, {48, 8, 24, 24}},
      {"caption, glyph bottom", 120, 60, 0, kagpbgkClose, true, blGlyphBottom, bdLeftToRight, 0, {48, 28, 24, 24}},
      {"layout top without caption", 120, 60, 0, kagpbgkClose, false, blGlyphTop, bdLeftToRight, 0,
       {42, 12, 36, 36}},
      {"drop-down arrow area", 60, 40, 0, kagpbgkMinimize, false, blGlyphLeft, bdLeftToRight, 1, {9, 8, 24, 24}},
      {"split button", 60, 40, 0, kagpbgkMinimize, false, blGlyphLeft, bdLeftToRight, 2, {7, 11, 19, 19}},
  };
  TScene s;
  TTestGlyphButton* b = s.B();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetBounds(10, 10, c.W, c.H);
    b->GlyphOptions()->SetSize(c.Size);
    b->GlyphOptions()->SetKind(c.Kind);
    b->SetShowCaption(c.Caption);
    b->SetLayout(c.Layout);
    b->SetBiDiMode(c.BiDi);
    b->SetCustomDropDown(c.DropDown > 0);
    b->SetSplitButton(c.DropDown == 2);
    b->GlyphBoxes.clear();
    b->RePaintControl();
    ASSERT_EQ(b->GlyphBoxes.size(), 1u);
    const TGPRectF& box = b->GlyphBoxes[0];
    EXPECT_NEAR(box.X, c.Box.X, 0.001);
    EXPECT_NEAR(box.Y, c.Box.Y, 0.001);
    EXPECT_NEAR(box.Width, c.Box.Width, 0.001);
    EXPECT_NEAR(box.Height, c.Box.Height, 0.001);
  }
}

TEST(GPGlyphButton, CaptionIsDrawnBesideTheGlyphInBothTextModes) {
  TScene s(1, 140, 40);
  TTestGlyphButton* b = s.B();
  b->Options()->SetStyleColors(false);
  b->Options()->SetNormalColor(clNone);
  b->Options()->SetFrameNormalColor(clNone);
  b->Options()->SetFontNormalColor(clBlack);
  b->GlyphOptions()->SetKind(kagpbgkMinimize);
  b->SetCaption(L"Maximum");
  auto darkIn = [&](int X1, int X2) {
    for (int y = 0; y < b->Height(); ++y)
      for (int x = X1; x < X2; ++x)
        if (GetRValue(b->At(x, y)) < 128) return true;
    return false;
  };
  for (TkaDrawTextMode mode : {kadtmGDI, kadtmGDIPlus}) {
    SCOPED_TRACE(static_cast<int>(mode));
    b->SetDrawTextMode(mode);
    // Without a caption the glyph sits in the middle (58 to 82).
    b->SetShowCaption(false);
    b->RePaintControl();
    EXPECT_FALSE(darkIn(90, 140));
    b->SetShowCaption(true);
    b->RePaintControl();
    EXPECT_TRUE(darkIn(90, 140));
    b->SetLayout(blGlyphRight);
    b->RePaintControl();
    EXPECT_TRUE(darkIn(0, 100));
    EXPECT_FALSE(darkIn(100, 108));  // the glyph sits right of 108
    b->SetLayout(blGlyphLeft);
  }
}

// ---- Fluent light ---------------------------------------------------------------------------

TEST(GPGlyphButton, PressRippleRunsElevenTimerFramesThenStopsAndEndsAtOnceOnLeave) {
  TScene s;
  TTestGlyphButton* b = s.B();
  b->Options()->SetStyleColors(false);
  b->Options()->SetNormalColor(clBlack), b->Options()->SetNormalColorAlpha(255);
  b->Options()->SetHotColor(clBlack), b->Options()->SetHotColorAlpha(255);
  b->Options()->SetPressedColor(clBlack), b->Options()->SetPressedColorAlpha(255);
  // Without the effect a press starts nothing.
  TScene::Move(b, 8, 20);
  TScene::Press(b, 8, 20);
  EXPECT_FALSE(b->MouseLDown());
  TScene::Release(b, 8, 20);

  b->SetFluentLightEffect(true);
  TScene::Move(b, 8, 20);
  const int hoverOnly = GetRValue(b->At(8, 20));
  EXPECT_GT(hoverOnly, 10);  // the hover spot lights the black face under the mouse
  const DWORD start = ::GetTickCount();
  TScene::Press(b, 8, 20);
  ASSERT_TRUE(b->MouseLDown());
  EXPECT_EQ(b->LightStep(), 0);
  EXPECT_GT(GetRValue(b->At(8, 20)), hoverOnly + 10);  // the ripple's first frame on top
  ASSERT_TRUE(PumpUntil([&] { return !b->MouseLDown(); }, 3000));
  EXPECT_GE(::GetTickCount() - start, 200u);  // 11 frames of 20 ms, then the closing tick
  EXPECT_EQ(b->LightStep(), 11);
  EXPECT_TRUE(Near(b->At(8, 20), RGBColor(static_cast<uint8_t>(hoverOnly), static_cast<uint8_t>(hoverOnly),
                                            static_cast<uint8_t>(hoverOnly))));
  const int paints = b->Paints;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(b->Paints, paints);  // the timer is gone
  TScene::Release(b, 8, 20);

  // Leaving in the middle of a ripple ends it at once, timer included.
  TScene::Press(b, 8, 20);
  ASSERT_TRUE(PumpUntil([&] { return b->LightStep() >= 2; }, 2000));
  TScene::Move(b, 300, 20);
  EXPECT_FALSE(b->MouseLDown());
  PumpPending();  // the real cursor's own move outside still moves the spot
  const int afterLeave = b->Paints;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(b->Paints, afterLeave);
  TScene::Release(b, 300, 20);
}

// ---- Badge ----------------------------------------------------------------------------------

TEST(GPGlyphButton, BadgePillSitsInTheTopCornerAndNotifiesOnlyWhileVisible) {
  TScene s;
  TTestGlyphButton* b = s.B();
  TkaGPButtonBadge* badge = b->Badge();
  int changes = 0;
  TkaGPButtonBadge probe;
  probe.OnChange = [&](TObject*) { ++changes; };
  probe.SetText(L"3");
  probe.SetColor(clBlue);
  probe.Font()->SetSize(12);
  EXPECT_EQ(changes, 0);
  probe.SetVisible(true);
  probe.SetText(L"4");
  probe.Font()->SetSize(14);
  EXPECT_EQ(changes, 3);

  badge->SetText(L"7");
  b->RePaintControl();
  EXPECT_TRUE(badge->ControlRect.IsEmpty());  // not visible: not painted
  badge->SetVisible(true);
  const TRect r = badge->ControlRect;
  EXPECT_EQ(r.Right, b->Width());
  EXPECT_EQ(r.Top, 0);
  EXPECT_GE(r.Width(), r.Height());
  EXPECT_GT(r.Height(), 10);
  EXPECT_TRUE(Near(b->At(r.Left + 2, r.Height() / 2), clRed, 8));
  b->SetBiDiMode(bdRightToLeft);
  b->RePaintControl();
  EXPECT_EQ(badge->ControlRect.Left, 0);
  EXPECT_TRUE(Near(b->At(2, r.Height() / 2), clRed, 8));
  badge->SetText(L"");
  b->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(Near(b->At(r.Left + 2, r.Height() / 2), clRed, 60));
}

// ---- Options --------------------------------------------------------------------------------

TEST(GPButtonOptions, SettersRefuseBadValuesAndNotifyOnlyWhenItShows) {
  TkaGPButtonOptions o;
  int changes = 0;
  o.OnChange = [&](TObject*) { ++changes; };
  struct TCase {
    const char* Name;
    std::function<void()> Set;
    std::function<bool()> Took;  // the new value is stored
    bool Takes, Notifies;
  };
  const TCase cases[] = {
      {"frame width 0", [&] { o.SetFrameWidth(0); }, [&] { return o.FrameWidth() == 0; }, false, false},
      {"frame width 3", [&] { o.SetFrameWidth(3); }, [&] { return o.FrameWidth() == 3; }, true, true},
      {"corner radius 0", [&] { o.SetShapeCornerRadius(0); }, [&] { return o.ShapeCornerRadius() == 0; }, false,
       false},
      {"line size -1", [&] { o.SetShapeStyleLineSize(-1); }, [&] { return o.ShapeStyleLineSize() == -1; }, false,
       false},
      {"arrow size 6", [&] { o.SetArrowSize(6); }, [&] { return o.ArrowSize() == 6; }, false, false},
      {"arrow size 7", [&] { o.SetArrowSize(7); }, [&] { return o.ArrowSize() == 7; }, true, true},
      {"arrow area -1", [&] { o.SetArrowAreaSize(-1); }, [&] { return o.ArrowAreaSize() == -1; }, false, false},
      {"arrow thickness 0", [&] { o.SetArrowThickness(0); }, [&] { return o.ArrowThickness() == 0; }, false,
       false},
      {"thickness, default arrow", [&] { o.SetArrowThickness(3); }, [&] { return o.ArrowThickness() == 3; }, true,
       false},
      {"angle 400", [&] { o.SetShapeFillGradientAngle(400); }, [&] { return o.ShapeFillGradientAngle() == 400; },
       false, false},
      {"angle, solid fill", [&] { o.SetShapeFillGradientAngle(45); },
       [&] { return o.ShapeFillGradientAngle() == 45; }, true, false},
      {"offset, solid fill", [&] { o.SetShapeFillGradientColorOffset(40); },
       [&] { return o.ShapeFillGradientColorOffset() == 40; }, true, false},
      {"gradient fill", [&] { o.SetShapeFillStyle(kagpsfGradient); },
       [&] { return o.ShapeFillStyle() == kagpsfGradient; }, true, true},
      {"pressed angle -360", [&] { o.SetShapeFillGradientPressedAngle(-360); },
       [&] { return o.ShapeFillGradientPressedAngle() == -360; }, true, true},
      {"modern arrow", [&] { o.SetArrowType(kagpatModern); }, [&] { return o.ArrowType() == kagpatModern; }, true,
       true},
      {"thickness, modern arrow", [&] { o.SetArrowThickness(4); }, [&] { return o.ArrowThickness() == 4; }, true,
       true},
      {"pressed hot colours", [&] { o.SetPressedHotColors(true); }, [&] { return o.PressedHotColors(); }, true,
       false},
      {"hot colour unchanged", [&] { o.SetHotColor(clBtnFace); }, [&] { return o.HotColor() == clBtnFace; }, true,
       false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const int before = changes;
    c.Set();
    EXPECT_EQ(c.Took(), c.Takes);
    EXPECT_EQ(changes - before, c.Notifies ? 1 : 0);
  }
}

TEST(GPButtonOptions, StateGettersAndAssignCopyWhatTheyShould) {
  TkaGPButtonOptions a;
  a.SetStyleColors(false);
  a.SetHotColor(clRed);
  a.SetHotColorAlpha(77);
  a.SetFrameDisabledColor(clLime);
  a.SetFrameDisabledColorAlpha(33);
  a.SetFontPressedColor(clBlue);
  a.SetArrowFocusedColor(clYellow);
  a.SetHotColor2(clAqua);
  struct TCase {
    TkasCtrlState State;
    TColor Fill, Frame, Font, Arrow;
    uint8_t Alpha, FrameAlpha, ArrowAlpha;
  };
  const TCase cases[] = {{kasNormal, clBtnFace, clBtnShadow, clBtnText, clBtnText, 255, 255, 200},
                         {kasHot, clRed, clHighlight, clBtnText, clBtnText, 77, 255, 255},
                         {kasPressed, clBtnShadow, clHighlight, clBlue, clBtnText, 255, 255, 255},
                         {kasFocused, clBtnFace, clHighlight, clBtnText, clYellow, 255, 255, 200},
                         {kasDisabled, clBtnFace, clLime, clBtnShadow, clBtnText, 255, 33, 125}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.State));
    a.SetState(c.State);
    EXPECT_EQ(a.GetColor(), c.Fill);
    EXPECT_EQ(a.GetFrameColor(), c.Frame);
    EXPECT_EQ(a.GetFontColor(), c.Font);
    EXPECT_EQ(a.GetArrowColor(), c.Arrow);
    EXPECT_EQ(a.GetColorAlpha(), c.Alpha);
    EXPECT_EQ(a.GetFrameColorAlpha(), c.FrameAlpha);
    EXPECT_EQ(a.GetArrowColorAlpha(), c.ArrowAlpha);
  }
  a.SetShapeStyle(kagpTabBottom);
  a.SetShapeFillStyle(kagpsfGradient);
  a.SetShapeFillGradientAngle(30);
  a.SetArrowType(kagpatModern);
  a.SetPressedHotColors(true);
  TkaGPButtonOptions b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  b.SetState(kasHot);
  EXPECT_EQ(b.GetColor(), clRed);
  EXPECT_EQ(b.GetColorAlpha(), 77);
  EXPECT_EQ(b.ShapeStyle(), kagpTabBottom);
  EXPECT_EQ(b.ShapeFillStyle(), kagpsfGradient);
  EXPECT_FALSE(b.StyleColors());
  // Not copied: second colours, gradient angles, arrow type, PressedHotColors.
  EXPECT_EQ(b.GetColor2(), clNone);
  EXPECT_EQ(b.ShapeFillGradientAngle(), 90);
  EXPECT_EQ(b.ArrowType(), kagpatDefault);
  EXPECT_FALSE(b.PressedHotColors());

  TkaGPGlyphOptions g;
  EXPECT_EQ(g.GetColorAlpha(), 200);
  g.SetThickness(0);
  g.SetSize(-1);
  EXPECT_EQ(g.Thickness(), 2);
  EXPECT_EQ(g.Size(), 0);
}

// ---- Button behaviour -----------------------------------------------------------------------

TEST(GPGlyphButton, RoundShapeKeepsSquareAndColorValueRepaintsOnlyMarkers) {
  TScene s;
  TTestGlyphButton* b = s.B();
  b->Options()->SetShapeStyle(kagpRounded);
  b->SetBounds(10, 10, 80, 40);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_EQ(b->Height(), 40);

  int valueChanges = 0;
  b->OnColorValueChange = [&](TObject*) { ++valueChanges; };
  b->GlyphOptions()->SetKind(kagpbgkClose);
  int paints = b->Paints;
  b->SetColorValue(clBlue);
  EXPECT_EQ(valueChanges, 1);
  EXPECT_EQ(b->Paints, paints);
  b->GlyphOptions()->SetKind(kagpbgkColorMarker);
  paints = b->Paints;
  b->SetColorValue(clLime);
  EXPECT_EQ(valueChanges, 2);
  EXPECT_GT(b->Paints, paints);

  // Caption on and off take the stored widths when they are set.
  b->Options()->SetShapeStyle(kagpRect);
  b->SetWidthWithCaption(150);
  b->SetShowCaption(true);
  EXPECT_EQ(b->Width(), 150);
  b->SetShowCaption(false);
  EXPECT_EQ(b->Width(), 150);  // no width without caption stored
  b->SetWidthWithoutCaption(45);
  b->SetShowCaption(true);
  b->SetShowCaption(false);
  EXPECT_EQ(b->Width(), 45);
}

TEST(GPGlyphButton, DialogKeysModalResultAndGroups) {
  TScene s(3);
  TTestGlyphButton* ok = s.B(0);
  TTestGlyphButton* cancel = s.B(1);
  TTestGlyphButton* other = s.B(2);
  ok->SetDefault(true);
  ok->SetModalSetting(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  // Nothing focused, or a non-button focused: the default button is active.
  EXPECT_TRUE(ok->Active());
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(ok->Clicks, 1);
  EXPECT_EQ(s.Form->ModalResult(), mrOk);
  // Another button focused: Enter is that button's.
  other->SetFocus();
  EXPECT_FALSE(ok->Active());
  s.Form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(ok->Clicks, 1);
  ok->SetFocus();
  EXPECT_TRUE(ok->Active());
  EXPECT_EQ(ok->State(), kasHot);  // the active default button shows hot
  EXPECT_EQ(s.Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(cancel->Clicks, 1);
  // A button that takes no focus answers no dialog key.
  cancel->SetCanFocused(false);
  EXPECT_FALSE(cancel->CanFocus());
  s.Form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0);
  EXPECT_EQ(cancel->Clicks, 1);

  // Going down in a group releases the others of the same group.
  for (TTestGlyphButton* b : s.Buttons) b->SetGroupIndex(1);
  ok->SetDown(true);
  other->SetDown(true);
  EXPECT_FALSE(ok->Down());
  EXPECT_TRUE(other->Down());
}

TEST(GPGlyphButton, ScalingScalesFrameGlyphAndWidths) {
  TScene s;
  TTestGlyphButton* b = s.B();
  b->GlyphOptions()->SetSize(10);
  b->GlyphOptions()->SetThicknessScaled(true);
  b->SetTextMargin(4);
  b->SetWidthWithCaption(100);
  b->Options()->SetShapeStyleLineSize(13);
  const int badgeHeight = b->Badge()->Font()->Height();
  b->ChangeScale(3, 2, true);
  EXPECT_EQ(b->Options()->FrameWidth(), 3);
  EXPECT_EQ(b->GlyphOptions()->Thickness(), 3);
  EXPECT_EQ(b->GlyphOptions()->Size(), 15);
  EXPECT_EQ(b->TextMargin(), 6);
  EXPECT_EQ(b->WidthWithCaption(), 150);
  EXPECT_EQ(b->Options()->ShapeStyleLineSize(), 20);  // 19.5 rounds away from zero
  EXPECT_EQ(b->Options()->ShapeCornerRadius(), 15);
  EXPECT_EQ(b->Options()->ArrowSize(), 14);
  EXPECT_EQ(b->Badge()->Font()->Height(), ::MulDiv(badgeHeight, 3, 2));
  EXPECT_EQ(b->Width(), 90);
  b->SetScaleFrameWidth(false);
  b->ChangeScale(2, 3, true);
  EXPECT_EQ(b->Options()->FrameWidth(), 3);
}

TEST(GPGlyphButton, LayoutSetsOptionsAndLoadedSquaresARoundButton) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  const std::string layout =
      "object Form: TCustomForm\n"
      "  object CloseButton: TkaGPGlyphButton\n"
      "    Left = 10\n"
      "    Top = 10\n"
      "    Width = 80\n"
      "    Height = 40\n"
      "    ShowCaption = True\n"
      "    FluentLightEffect = True\n"
      "    TransparentBackground = False\n"
      "    DrawTextMode = kadtmGDIPlus\n"
      "    Options.ShapeStyle = kagpRounded\n"
      "    Options.FrameHotColor = clRed\n"
      "    Options.FrameHotColorAlpha = 90\n"
      "    GlyphOptions.Kind = kagpbgkClose\n"
      "    GlyphOptions.NormalColorAlpha = 150\n"
      "    Badge.Text = '9'\n"
      "    Badge.Font.Name = 'Arial'\n"
      "  end\n"
      "end\n";
  ReadLayout(form, layout, L"TEST");
  auto* b = dynamic_cast<TkaGPGlyphButton*>(form->FindComponent(L"CloseButton"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_TRUE(b->ShowCaption());
  EXPECT_TRUE(b->FluentLightEffect());
  EXPECT_FALSE(b->TransparentBackground());
  EXPECT_EQ(b->DrawTextMode(), kadtmGDIPlus);
  EXPECT_EQ(b->Options()->FrameHotColor(), clRed);
  EXPECT_EQ(b->Options()->FrameHotColorAlpha(), 90);
  EXPECT_EQ(b->GlyphOptions()->Kind(), kagpbgkClose);
  EXPECT_EQ(b->GlyphOptions()->NormalColorAlpha(), 150);
  EXPECT_EQ(b->Badge()->Text(), L"9");
  EXPECT_EQ(b->Badge()->Font()->Name(), L"Arial");
  // The constructor's own colours for the caption-bar look.
  EXPECT_EQ(b->Options()->FrameWidth(), 2);
  EXPECT_EQ(b->Options()->PressedColorAlpha(), 30);
  EXPECT_EQ(b->Options()->FrameFocusedColor(), clHighlight);
  form->Free();
}

TEST(GPGlyphButton, ThousandsOfRepaintsKeepTheGdiObjectCount) {
  TScene s(1, 90, 40);
  TTestGlyphButton* b = s.B();
  b->SetCaption(L"Caption");
  b->SetCustomDropDown(true);
  b->SetSplitButton(true);
  b->SetFluentLightEffect(true);
  b->Badge()->SetText(L"12");
  b->Badge()->SetVisible(true);
  b->Options()->SetShapeFillStyle(kagpsfGradient);
  // Each step changes one thing, which repaints: shapes, arrows, caption modes, hover.
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      switch (i % 5) {
        case 0: b->Options()->SetShapeStyle(static_cast<TkaGPButtonShapeStyle>(i / 5 % 35)); break;
        case 1: b->Options()->SetArrowType(b->Options()->ArrowType() == kagpatDefault ? kagpatModern : kagpatDefault); break;
        case 2: b->SetShowCaption(!b->ShowCaption()); break;
        case 3: b->SetDrawTextMode(b->DrawTextMode() == kadtmGDI ? kadtmGDIPlus : kadtmGDI); break;
        default: b->Perform(WM_MOUSEMOVE, 0, i % 2 == 0 ? MAKELPARAM(20, 20) : MAKELPARAM(300, 20)); break;
      }
    }
  };
  cycle(50);
  const int before = GdiObjectCount();
  cycle(1500);
  EXPECT_LE(GdiObjectCount() - before, 2);
}

}  // namespace
