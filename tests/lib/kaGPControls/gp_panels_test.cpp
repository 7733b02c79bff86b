// The vector panel, size box and label on real windows: fill and frame pixels (sides and
// corners switched off, translucent frames, gradients, alpha over the form), captions in GDI
// and GDI+, wallpapers and custom images from both collections, sizing by the frame band,
// dragging the form, the size grip, the label's auto size, text placement and glow, layout
// streaming, and handle hygiene over many repaints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tests/support/TestControls.h"

namespace {

// ---- Helpers --------------------------------------------------------------------------------

struct TScene {
  TCustomForm* Form;
  explicit TScene(TRect FormBounds = Bounds(100, 100, 300, 200)) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetColor(clWhite);
    Form->SetBoundsRect(FormBounds);
    Form->Show();
    PumpPending();
  }
  ~TScene() { Form->Free(); }
  template <class T>
  T* Add(TRect R, TWinControl* Parent = nullptr) {
    auto* c = new T(Form);
    c->SetBoundsRect(R);
    c->SetParent(Parent != nullptr ? Parent : Form);
    PumpPending();
    return c;
  }
};

// The control painted as a fresh paint would, into a bitmap of its size.
std::unique_ptr<TBitmap> Snapshot(TCustomControl* C) {
  auto b = std::make_unique<TBitmap>(C->Width(), C->Height());
  C->PaintWindow(b->Canvas()->Handle());
  return b;
}

TColor At(TBitmap& B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixel(X, Y)); }

::testing::AssertionResult Near(TColor Actual, TColor Expected, int Tolerance) {
  const int d[] = {GetRValue(Actual) - GetRValue(Expected), GetGValue(Actual) - GetGValue(Expected),
                   GetBValue(Actual) - GetBValue(Expected)};
  for (int v : d)
    if (std::abs(v) > Tolerance)
      return ::testing::AssertionFailure() << "colour $" << std::hex << uint32_t(Actual) << " is not within "
                                           << std::dec << Tolerance << " of $" << std::hex << uint32_t(Expected);
  return ::testing::AssertionSuccess();
}

// The bounding rectangle of the pixels that satisfy Ink (empty when none does).
TRect InkBounds(TBitmap& B, const std::function<bool(TColor)>& Ink) {
  TRect r(B.Width(), B.Height(), -1, -1);
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (Ink(At(B, x, y))) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Right < 0 ? TRect() : r;
}

TSize TextSize(TFont* Font, const String& Text) {
  TBitmap b(1, 1);
  b.Canvas()->Font()->Assign(Font);
  return b.Canvas()->TextExtent(Text);
}

bool Dark(TColor C) { return GetRValue(C) < 110 && GetGValue(C) < 110 && GetBValue(C) < 110; }
bool Reddish(TColor C) { return GetRValue(C) > GetGValue(C) + 40 && GetRValue(C) > GetBValue(C) + 40; }
bool Tinted(TColor C) { return GetRValue(C) > GetGValue(C) + 6 && GetRValue(C) > GetBValue(C) + 6; }

LPARAM Pos(TPoint P) { return MAKELPARAM(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)); }

// Puts the real cursor at a client point of C and sends C the mouse move there.
TPoint MoveTo(TControl* C, TPoint Screen, WPARAM Keys = 0) {
  ::SetCursorPos(Screen.X, Screen.Y);
  const TPoint client = C->ScreenToClient(Screen);
  C->Perform(WM_MOUSEMOVE, Keys, Pos(client));
  return client;
}

// Presses the left button at a client point of C (hovering there first), moves the cursor by
// each delta in turn, and releases.
void Drag(TControl* C, TPoint From, const std::vector<TPoint>& Deltas, bool DoubleClick = false) {
  TPoint screen = C->ClientToScreen(From);
  MoveTo(C, screen);
  C->Perform(DoubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, Pos(From));
  TPoint client = From;
  for (TPoint d : Deltas) {
    screen = TPoint(screen.X + d.X, screen.Y + d.Y);
    client = MoveTo(C, screen, MK_LBUTTON);
  }
  C->Perform(WM_LBUTTONUP, 0, Pos(client));
}

constexpr TkaGPPanelFrameSides kAllSides{gppfsLeft, gppfsTop, gppfsRight, gppfsBottom};
constexpr TkaGPCorners kAllCorners{gpcrTopLeft, gpcrTopRight, gpcrBottomLeft, gpcrBottomRight};

// An opaque panel on white with a red fill and a blue frame, nothing else.
TkaGPPanel* PlainPanel(TScene& S, TRect Bounds) {
  auto* p = S.Add<TkaGPPanel>(Bounds);
  p->SetTransparentBackground(false);
  p->SetColor(clWhite);
  p->SetFillColor(clRed);
  p->SetFillColorAlpha(255);
  p->SetFrameColor(clBlue);
  return p;
}

// ---- Panel: fill and frame ------------------------------------------------------------------

struct TPixel {
  int X, Y;
  TColor Color;
};

TEST(GPPanelDrawing, FrameSidesAndRoundedCornersAtExactPixels) {
  const TColor W = clWhite, R = clRed, B = clBlue;
  struct TCase {
    const char* Name;
    TkaGPPanelFrameSides Sides;
    TkaGPCorners Corners;
    int Radius;
    std::vector<TPixel> Pixels;
  } cases[] = {
      {"square, all sides", kAllSides, kAllCorners, 0,
       {{0, 20, B}, {1, 20, B}, {2, 20, R}, {30, 0, B}, {30, 1, B}, {30, 2, R}, {59, 20, B}, {58, 20, B},
        {57, 20, R}, {30, 39, B}, {30, 38, B}, {30, 37, R}, {0, 0, B}, {59, 39, B}}},
      {"square, top only: the other sides fall outside", {gppfsTop}, kAllCorners, 0,
       {{0, 20, R}, {30, 0, B}, {30, 1, B}, {30, 2, R}, {59, 20, R}, {30, 39, R}, {0, 39, R}, {59, 39, R}}},
      {"square, left only", {gppfsLeft}, kAllCorners, 0,
       {{0, 20, B}, {1, 20, B}, {2, 20, R}, {30, 0, R}, {59, 20, R}, {30, 39, R}, {0, 0, B}, {0, 39, B}}},
      {"square, no sides", {}, kAllCorners, 0, {{0, 0, R}, {0, 20, R}, {59, 39, R}}},
      {"rounded, all corners", kAllSides, kAllCorners, 10,
       {{0, 0, W}, {1, 1, W}, {59, 0, W}, {0, 39, W}, {59, 39, W}, {30, 0, B}, {30, 1, B}, {0, 20, B},
        {59, 20, B}, {30, 39, B}, {30, 20, R}}},
      {"rounded, top-left corner only", kAllSides, {gpcrTopLeft}, 10,
       {{0, 0, W}, {1, 1, W}, {59, 0, B}, {0, 39, B}, {59, 39, B}, {30, 20, R}}},
      {"rounded, top side only: its corners move out with the sides", {gppfsTop}, kAllCorners, 10,
       {{30, 0, B}, {30, 1, B}, {30, 2, R}, {0, 20, R}, {0, 39, R}, {59, 39, R}, {30, 39, R}}},
  };
  TScene s;
  TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 60, 40));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    p->SetFrameSides(c.Sides);
    p->SetRoundedCorners(c.Corners);
    p->SetFrameRadius(c.Radius);
    auto shot = Snapshot(p);
    for (const TPixel& px : c.Pixels)
      EXPECT_TRUE(Near(At(*shot, px.X, px.Y), px.Color, 0)) << "at " << px.X << ", " << px.Y;
  }
}

TEST(GPPanelDrawing, OddSquareFrameWidthsCoverExactlyTheEdgePixelsOfTheirSide) {
  // An odd width centred on its line sits on half pixels; the frame must still cover the
  // control's own outermost pixels and nothing on the other side.
  TScene s;
  TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 60, 40));
  for (int width : {1, 3}) {
    for (bool right : {true, false}) {
      SCOPED_TRACE(testing::Message() << width << " pixel(s), " << (right ? "right" : "left") << " side");
      p->SetFrameWidth(width);
      p->SetFrameSides(right ? TkaGPPanelFrameSides{gppfsRight} : TkaGPPanelFrameSides{gppfsLeft});
      auto shot = Snapshot(p);
      const int edge = right ? 59 : 0, inward = right ? -1 : 1;
      for (int i = 0; i < width; ++i)
        EXPECT_TRUE(Near(At(*shot, edge + inward * i, 20), clBlue, 0)) << "frame pixel " << i;
      EXPECT_TRUE(Near(At(*shot, edge + inward * width, 20), clRed, 0)) << "first fill pixel";
      EXPECT_TRUE(Near(At(*shot, 59 - edge, 20), clRed, 0)) << "the other side";
    }
  }
}

TEST(GPPanelDrawing, TranslucentRoundedFrameDoesNotOverlapTheFill) {
  TScene s;
  TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 60, 40));
  p->SetFrameRadius(10);
  struct {
    uint8_t FrameAlpha;
    TColor TopLine;  // the frame's outer pixel row in the middle of the top edge
  } cases[] = {
      {128, RGBColor(127, 127, 255)},  // blue at half over white: the fill stops inside the frame
      {255, clBlue},
  };
  for (const auto& c : cases) {
    p->SetFrameColorAlpha(c.FrameAlpha);
    auto shot = Snapshot(p);
    EXPECT_TRUE(Near(At(*shot, 30, 1), c.TopLine, 2)) << int(c.FrameAlpha);
    EXPECT_TRUE(Near(At(*shot, 30, 2), clRed, 0)) << int(c.FrameAlpha);
  }
}

TEST(GPPanelDrawing, FillAlphaAndGradientOverTheForm) {
  const TColor light = RGBColor(255, 64, 64), dark = RGBColor(191, 0, 0);  // red 25 % lighter / darker
  struct TCase {
    const char* Name;
    std::function<void(TkaGPPanel*)> Setup;
    std::vector<TPixel> Pixels;
  } cases[] = {
      {"solid red at half over white", [](TkaGPPanel* p) { p->SetFillColorAlpha(128); },
       {{50, 30, RGBColor(255, 127, 127)}, {2, 2, RGBColor(255, 127, 127)}}},
      {"alpha 0 draws no fill", [](TkaGPPanel* p) { p->SetFillColorAlpha(0); }, {{50, 30, clWhite}}},
      {"clNone draws no gradient either",
       [](TkaGPPanel* p) {
         p->SetFillStyle(kagpsfGradient);
         p->SetFillColor(clNone);
       },
       {{50, 30, clWhite}, {50, 2, clWhite}}},
      {"gradient at 90 degrees runs downwards", [](TkaGPPanel* p) { p->SetFillStyle(kagpsfGradient); },
       {{50, 1, light}, {5, 1, light}, {50, 58, dark}, {95, 58, dark}}},
      {"gradient at 0 degrees runs to the right",
       [](TkaGPPanel* p) {
         p->SetFillStyle(kagpsfGradient);
         p->SetFillGradientAngle(0);
       },
       {{1, 30, light}, {1, 2, light}, {98, 30, dark}, {98, 57, dark}}},
      {"an angle out of range keeps the previous one",
       [](TkaGPPanel* p) {
         p->SetFillStyle(kagpsfGradient);
         p->SetFillGradientAngle(400);
       },
       {{50, 1, light}, {50, 58, dark}}},
      {"second colour ends the gradient, darkened",
       [](TkaGPPanel* p) {
         p->SetFillStyle(kagpsfGradient);
         p->SetFillGradientAngle(0);
         p->SetFillColor2(clBlue);
       },
       {{1, 30, light}, {98, 30, RGBColor(0, 0, 191)}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* p = s.Add<TkaGPPanel>(Bounds(10, 10, 100, 60));
    p->SetFrameWidth(0);
    p->SetFillColor(clRed);
    p->SetFillColorAlpha(255);
    c.Setup(p);
    auto shot = Snapshot(p);
    for (const TPixel& px : c.Pixels)
      EXPECT_TRUE(Near(At(*shot, px.X, px.Y), px.Color, 12)) << "at " << px.X << ", " << px.Y;
  }
}

TEST(GPPanel, OutOfRangeValuesAreRefused) {
  TScene s;
  auto* p = s.Add<TkaGPPanel>(Bounds(0, 0, 50, 50));
  struct {
    const char* Name;
    std::function<void()> Set;
    std::function<int()> Get;
    int Kept;
  } cases[] = {
      {"angle above 360", [p] { p->SetFillGradientAngle(361); }, [p] { return p->FillGradientAngle(); }, 90},
      {"angle below -360", [p] { p->SetFillGradientAngle(-361); }, [p] { return p->FillGradientAngle(); }, 90},
      {"begin offset 101", [p] { p->SetFillGradientBeginColorOffset(101); },
       [p] { return int(p->FillGradientBeginColorOffset()); }, 25},
      {"end offset 101", [p] { p->SetFillGradientEndColorOffset(101); },
       [p] { return int(p->FillGradientEndColorOffset()); }, 25},
      {"negative frame width", [p] { p->SetFrameWidth(-1); }, [p] { return p->FrameWidth(); }, 2},
      {"negative radius", [p] { p->SetFrameRadius(-1); }, [p] { return p->FrameRadius(); }, 0},
      {"negative margin", [p] { p->SetContentMarginTop(-1); }, [p] { return p->ContentMarginTop(); }, 0},
  };
  for (const auto& c : cases) {
    c.Set();
    EXPECT_EQ(c.Get(), c.Kept) << c.Name;
  }
  p->SetFillGradientAngle(-360);
  p->SetFillGradientEndColorOffset(100);
  EXPECT_EQ(p->FillGradientAngle(), -360);
  EXPECT_EQ(p->FillGradientEndColorOffset(), 100);
}

TEST(GPPanel, ChildrenAreAlignedInsideTheFrameOrTheContentMargins) {
  struct {
    const char* Name;
    TkaGPPanelFrameSides Sides;
    int Width, Radius;
    TRect Margins;  // left, top, right, bottom
    TRect Child;
  } cases[] = {
      {"all sides", kAllSides, 2, 0, TRect(), TRect(2, 2, 98, 78)},
      {"top only, radius adds half", {gppfsTop}, 1, 4, TRect(), TRect(0, 3, 100, 80)},
      {"no frame width", kAllSides, 0, 8, TRect(), TRect(0, 0, 100, 80)},
      {"margins replace the frame", kAllSides, 2, 0, TRect(5, 7, 6, 8), TRect(5, 7, 94, 72)},
  };
  TScene s;
  auto* p = s.Add<TkaGPPanel>(Bounds(10, 10, 100, 80));
  auto* child = s.Add<TTestPanel>(Bounds(0, 0, 10, 10), p);
  child->SetAlign(alClient);
  for (const auto& c : cases) {
    p->SetFrameSides(c.Sides);
    p->SetFrameWidth(c.Width);
    p->SetFrameRadius(c.Radius);
    p->SetContentMarginLeft(c.Margins.Left);
    p->SetContentMarginTop(c.Margins.Top);
    p->SetContentMarginRight(c.Margins.Right);
    p->SetContentMarginBottom(c.Margins.Bottom);
    EXPECT_EQ(child->BoundsRect(), c.Child) << c.Name;
  }
}

// ---- Panel: caption -------------------------------------------------------------------------

TEST(GPPanelCaption, AlignedInsideTheFrameWithGdiAndGdiPlus) {
  TScene s;
  TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 160, 40));
  p->SetFillColorAlpha(0);
  p->SetFrameColor(clNone);
  p->SetCaption(L"Caption");
  p->Font()->SetHeight(-16);
  p->Font()->SetColor(clBlack);
  {
    auto hidden = Snapshot(p);
    EXPECT_TRUE(InkBounds(*hidden, Dark).IsEmpty()) << "ShowCaption is off";
  }
  p->SetShowCaption(true);
  const int inner = p->FrameWidth() + 2;
  const int room = 160 - 2 * inner;
  for (TkaDrawTextMode mode : {kadtmGDI, kadtmGDIPlus}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    p->SetDrawTextMode(mode);
    // The left-aligned ink shows where the text starts in its box; the others follow from
    // the text's width.
    p->SetAlignment(taLeftJustify);
    auto left = Snapshot(p);
    const TRect ref = InkBounds(*left, Dark);
    ASSERT_FALSE(ref.IsEmpty());
    EXPECT_NEAR(ref.Left, inner, mode == kadtmGDI ? 2 : 5);
    EXPECT_NEAR(ref.Top + ref.Bottom, 40, 6);  // vertically centred
    p->SetAlignment(taRightJustify);
    auto right = Snapshot(p);
    const TRect r = InkBounds(*right, Dark);
    p->SetAlignment(taCenter);
    auto centre = Snapshot(p);
    const TRect c = InkBounds(*centre, Dark);
    if (mode == kadtmGDI) {
      const int textWidth = TextSize(p->Font(), L"Caption").cx;
      EXPECT_NEAR(r.Left, ref.Left + room - textWidth, 1) << "right";
      EXPECT_NEAR(c.Left, ref.Left + (room - textWidth) / 2, 1) << "centre";
    } else {
      // GDI+ keeps the same padding at both ends of its layout box.
      EXPECT_NEAR(160 - r.Right, ref.Left, 3) << "right";
      EXPECT_NEAR(c.Left + c.Right, 160, 3) << "centre";
    }
  }
}

TEST(GPPanelCaption, GlowSurroundsTheTextAndFollowsAGlowSizeChange) {
  TScene s;
  TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 160, 50));
  p->SetFillColorAlpha(0);
  p->SetFrameColor(clNone);
  p->SetCaption(L"Glow");
  p->Font()->SetHeight(-16);
  p->Font()->SetColor(clBlack);
  p->SetShowCaption(true);
  TkaGlowEffect* glow = p->CaptionGlowEffect();
  glow->SetColor(clRed);
  glow->SetGlowSize(2);
  glow->SetEnabled(true);
  auto small = Snapshot(p);
  const TRect text = InkBounds(*small, Dark), halo = InkBounds(*small, Tinted);
  ASSERT_FALSE(halo.IsEmpty());
  EXPECT_LT(halo.Left, text.Left);
  EXPECT_GT(halo.Right, text.Right);
  glow->SetGlowSize(8);  // the cached glow must be rebuilt at the new size
  auto large = Snapshot(p);
  const TRect wide = InkBounds(*large, Tinted);
  EXPECT_GT(wide.Width(), halo.Width() + 4);
  EXPECT_GT(wide.Height(), halo.Height() + 4);
  p->SetDrawTextMode(kadtmGDIPlus);  // GDI+ captions have no glow
  auto plain = Snapshot(p);
  EXPECT_TRUE(InkBounds(*plain, Tinted).IsEmpty());
  EXPECT_FALSE(InkBounds(*plain, Dark).IsEmpty());
}

// ---- Panel: wallpaper and custom image --------------------------------------------------------

void FillSolid(TBitmap& B, TColor Color) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(4, 4);
  B.Canvas()->Brush()->SetColor(Color);
  B.Canvas()->FillRect(Rect(0, 0, 4, 4));
}

TkaCustomImageCollection* GdiCollection() {
  auto* c = new TkaImageCollection(nullptr);
  for (TColor color : {clLime, clBlue}) {
    TkaImageCollectionItem* item = c->Images()->Add();
    TBitmap b;
    FillSolid(b, color);
    item->SetBitmap(&b);
    item->SetDrawStyle(idsStretch);
  }
  return c;
}

TkaCustomImageCollection* GdiPlusCollection() {
  auto* c = new TkaGPImageCollection(nullptr);
  for (TColor color : {clLime, clBlue}) {
    TkaGPImageCollectionItem* item = c->Images()->Add();
    TBitmap b;
    FillSolid(b, color);
    item->SetBitmap(&b);
    item->SetDrawStyle(idsStretch);
  }
  return c;
}

TEST(GPPanelImages, WallpaperInsideTheFrameCustomImageOnTopReferencesClearedOnFree) {
  for (auto make : {GdiCollection, GdiPlusCollection}) {
    TkaCustomImageCollection* images = make();
    SCOPED_TRACE(images->ClassName());
    TScene s;
    TkaGPPanel* p = PlainPanel(s, Bounds(10, 10, 50, 30));
    p->SetFrameWidth(3);
    p->SetFrameColor(clNone);
    p->SetFillColorAlpha(0);
    p->SetWallpapers(images);
    p->SetWallpaperIndex(0);
    auto wall = Snapshot(p);
    // Inside the frame band (3 pixels). GDI+ stretches smoothly, and its picture fades out
    // over the last few pixels at the right and bottom.
    EXPECT_TRUE(Near(At(*wall, 25, 15), clLime, 0));
    auto green = [](TColor c) { return GetGValue(c) > GetRValue(c) + 100 && GetGValue(c) > GetBValue(c) + 100; };
    const TRect ink = InkBounds(*wall, green);
    EXPECT_EQ(ink.TopLeft(), TPoint(3, 3));
    if (dynamic_cast<TkaImageCollection*>(images) != nullptr) {
      EXPECT_EQ(ink.BottomRight(), TPoint(47, 27));
    } else {
      EXPECT_TRUE(ink.Right <= 47 && ink.Right >= 40 && ink.Bottom <= 27 && ink.Bottom >= 22) << ink.Right << ", "
                                                                                               << ink.Bottom;
    }
    p->SetFillColorAlpha(255);
    p->SetCustomImages(images);
    p->SetCustomImageIndex(1);
    auto custom = Snapshot(p);
    EXPECT_TRUE(Near(At(*custom, 25, 15), clBlue, 0)) << "custom image over the fill";
    EXPECT_TRUE(Near(At(*custom, 1, 1), clRed, 0)) << "the fill outside the image rectangle";
    images->Free();
    EXPECT_EQ(p->Wallpapers(), nullptr);
    EXPECT_EQ(p->CustomImages(), nullptr);
    auto after = Snapshot(p);
    EXPECT_TRUE(Near(At(*after, 25, 15), clRed, 0));
  }
}

// ---- Panel: sizing and dragging ---------------------------------------------------------------

TEST(GPPanelSizing, HitCodesAtTheBandEdgesAndCornersByAlignment) {
  struct {
    TAlign Align;
    int FrameWidth;
    std::vector<std::pair<TPoint, int>> Hits;
  } cases[] = {
      {alNone, 4,
       {{{0, 0}, HTTOPLEFT},      {{3, 3}, HTTOPLEFT},     {{4, 0}, HTTOP},         {{95, 3}, HTTOP},
        {{96, 0}, HTTOPRIGHT},    {{99, 3}, HTTOPRIGHT},   {{0, 76}, HTBOTTOMLEFT}, {{99, 79}, HTBOTTOMRIGHT},
        {{0, 4}, HTLEFT},         {{3, 75}, HTLEFT},       {{4, 40}, 0},            {{96, 40}, HTRIGHT},
        {{95, 40}, 0},            {{50, 76}, HTBOTTOM},    {{50, 75}, 0},           {{100, 40}, 0}}},
      {alClient, 4, {{{0, 0}, HTTOPLEFT}, {{99, 40}, HTRIGHT}, {{50, 79}, HTBOTTOM}}},
      {alLeft, 4, {{{99, 40}, HTRIGHT}, {{99, 0}, 0}, {{0, 40}, 0}, {{50, 79}, 0}, {{50, 0}, 0}}},
      {alRight, 4, {{{0, 40}, HTLEFT}, {{0, 0}, 0}, {{99, 40}, 0}}},
      {alTop, 4, {{{50, 79}, HTBOTTOM}, {{0, 79}, 0}, {{50, 0}, 0}}},
      {alBottom, 4, {{{50, 0}, HTTOP}, {{99, 0}, 0}, {{50, 79}, 0}}},
      {alNone, 0, {{{0, 0}, 0}, {{99, 40}, 0}, {{50, 79}, 0}}},
  };
  TScene s;
  auto* holder = s.Add<TTestPanel>(Bounds(10, 10, 100, 80));  // aligned or not, the panel is 100 x 80
  auto* p = s.Add<TkaGPPanel>(Bounds(0, 0, 100, 80), holder);
  for (const auto& c : cases) {
    p->SetAlign(c.Align);
    p->SetBounds(0, 0, 100, 80);
    p->SetFrameWidth(c.FrameWidth);
    ASSERT_EQ(p->Width(), 100);
    ASSERT_EQ(p->Height(), 80);
    for (const auto& [pt, code] : c.Hits)
      EXPECT_EQ(p->GetHitTest(pt.X, pt.Y), code) << "align " << c.Align << " at " << pt.X << ", " << pt.Y;
  }
}

TEST(GPPanelSizing, PointerOverTheBandSetsTheSizingCursorAndPutsTheOldOneBack) {
  TScene s;
  auto* p = s.Add<TkaGPPanel>(Bounds(10, 10, 100, 80));
  p->SetFrameWidth(4);
  p->SetCursor(crHandPoint);
  auto move = [p](int X, int Y) { p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); };
  move(99, 40);
  EXPECT_EQ(p->Cursor(), crHandPoint) << "not sizeable";
  EXPECT_EQ(p->HitTest(), 0);
  p->SetSizeable(true);
  struct {
    TPoint At;
    TCursor Cursor;
    int Code;
  } steps[] = {
      {{99, 40}, crSizeWE, HTRIGHT},     {{0, 40}, crSizeWE, HTLEFT},          {{0, 0}, crSizeNWSE, HTTOPLEFT},
      {{99, 79}, crSizeNWSE, HTBOTTOMRIGHT}, {{99, 0}, crSizeNESW, HTTOPRIGHT}, {{0, 79}, crSizeNESW, HTBOTTOMLEFT},
      {{50, 0}, crSizeNS, HTTOP},        {{50, 79}, crSizeNS, HTBOTTOM},       {{50, 40}, crHandPoint, 0},
  };
  for (const auto& st : steps) {
    move(st.At.X, st.At.Y);
    EXPECT_EQ(p->Cursor(), st.Cursor) << st.At.X << ", " << st.At.Y;
    EXPECT_EQ(p->HitTest(), st.Code) << st.At.X << ", " << st.At.Y;
  }
  move(99, 40);
  p->SetSizeable(false);  // switched off over the band: the old cursor comes back
  EXPECT_EQ(p->Cursor(), crHandPoint);
  EXPECT_EQ(p->HitTest(), 0);
}

TEST(GPPanelSizing, DraggingTheBandResizesTheWindowOrThePanelWithinLimits) {
  struct TCase {
    const char* Name;
    TAlign Align;
    TPoint From;
    std::vector<TPoint> Moves;
    std::function<void(TControl* Target)> Setup;
    TRect Expected;  // of the target: the form for alClient, else the panel
  } cases[] = {
      {"right edge", alClient, {298, 100}, {{30, 0}}, nullptr, Bounds(100, 100, 330, 200)},
      {"left edge keeps the right edge", alClient, {1, 100}, {{-20, 0}}, nullptr, Bounds(80, 100, 320, 200)},
      {"bottom-right corner", alClient, {298, 198}, {{10, 20}}, nullptr, Bounds(100, 100, 310, 220)},
      {"top-left corner", alClient, {1, 1}, {{10, 10}}, nullptr, Bounds(110, 110, 290, 190)},
      {"top edge ignores sideways moves", alClient, {150, 1}, {{25, -10}}, nullptr, Bounds(100, 90, 300, 210)},
      {"left edge stops at MinWidth, right edge stays", alClient, {1, 100}, {{100, 0}},
       [](TControl* t) { t->Constraints()->SetMinWidth(250); }, Bounds(150, 100, 250, 200)},
      {"top edge stops at MaxHeight, bottom edge stays", alClient, {150, 1}, {{0, -50}},
       [](TControl* t) { t->Constraints()->SetMaxHeight(220); }, Bounds(100, 80, 300, 220)},
      {"past a limit the way back is dropped until the pointer is over the panel", alClient, {298, 100},
       {{30, 0}, {-10, 0}, {-10, 0}}, [](TControl* t) { t->Constraints()->SetMaxWidth(310); },
       Bounds(100, 100, 300, 200)},
      {"OnCanResize refuses", alClient, {298, 100}, {{30, 0}},
       [](TControl* t) { t->OnCanResize = [](TObject*, int&, int&, bool& Resize) { Resize = false; }; },
       Bounds(100, 100, 300, 200)},
      {"OnCanResize changes the size", alClient, {298, 100}, {{30, 0}},
       [](TControl* t) { t->OnCanResize = [](TObject*, int& W, int&, bool&) { W = 333; }; },
       Bounds(100, 100, 333, 200)},
      {"an unaligned panel resizes itself", alNone, {98, 40}, {{15, 5}}, nullptr, Bounds(20, 20, 115, 80)},
      {"aligned left: only the right band", alLeft, {98, 40}, {{15, 5}}, nullptr, Bounds(0, 0, 115, 200)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* p = s.Add<TkaGPPanel>(Bounds(20, 20, 100, 80));
    p->SetFrameWidth(4);
    p->SetAlign(c.Align);
    p->SetSizeable(true);
    PumpPending();
    TControl* target = c.Align == alClient ? static_cast<TControl*>(s.Form) : p;
    if (c.Setup) c.Setup(target);
    Drag(p, c.From, c.Moves);
    EXPECT_EQ(target->BoundsRect(), c.Expected);
    EXPECT_FALSE(p->Resizing());
  }
}

// ---- Dragging the form ------------------------------------------------------------------------

TEST(GPFormDragging, PanelAndLabelMoveTheFormUnlessMaximisedOrDoubleClicked) {
  struct TCase {
    const char* Name;
    bool Label;
    bool Maximised;
    bool DoubleClick;
    bool Moves;
  } cases[] = {
      {"panel", false, false, false, true},          {"label", true, false, false, true},
      {"panel, double click", false, false, true, false}, {"label, double click", true, false, true, false},
      {"panel, maximised form", false, true, false, false}, {"label, maximised form", true, true, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TCustomControl* dragger;
    if (c.Label) {
      auto* l = s.Add<TkaGPLabel>(Bounds(20, 20, 80, 30));
      l->SetDragForm(true);
      dragger = l;
    } else {
      auto* p = s.Add<TkaGPPanel>(Bounds(20, 20, 80, 30));
      p->SetDragForm(true);
      dragger = p;
    }
    if (c.Maximised) {
      s.Form->SetWindowState(wsMaximized);
      PumpPending();
      ASSERT_EQ(s.Form->WindowState(), wsMaximized);
    }
    const TRect before = s.Form->BoundsRect();
    Drag(dragger, TPoint(10, 10), {{25, 15}, {5, -5}}, c.DoubleClick);
    TRect expected = before;
    if (c.Moves) expected.Offset(30, 10);
    EXPECT_EQ(s.Form->BoundsRect(), expected);
  }
}

// ---- Size box ---------------------------------------------------------------------------------

TEST(GPSizeBoxDrawing, GripInTheCentredSquareOrNothingAtAlphaZero) {
  struct {
    int W, H;
    uint8_t Alpha;
    std::vector<TPoint> Ink;    // on the grip's diagonal
    std::vector<TPoint> Clear;  // outside the square
  } cases[] = {
      {25, 25, 255, {{12, 12}, {7, 7}, {18, 18}}, {{2, 2}, {22, 22}, {12, 3}}},
      {26, 25, 255, {{13, 12}, {8, 7}}, {{3, 12}, {23, 12}}},  // square (6, 5, 21, 20)
      {25, 25, 0, {}, {{12, 12}, {7, 7}, {18, 18}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << " x " << c.H << " alpha " << int(c.Alpha));
    TScene s;
    auto* box = s.Add<TkaGPSizeBox>(Bounds(10, 10, c.W, c.H));
    box->SetGlyphColor(clBlack);
    box->SetGlyphColorAlpha(c.Alpha);
    auto shot = Snapshot(box);
    for (TPoint p : c.Ink) EXPECT_TRUE(Dark(At(*shot, p.X, p.Y))) << p.X << ", " << p.Y;
    for (TPoint p : c.Clear) EXPECT_TRUE(Near(At(*shot, p.X, p.Y), clWhite, 0)) << p.X << ", " << p.Y;
  }
  TScene s;
  auto* box = s.Add<TkaGPSizeBox>(Bounds(10, 10, 25, 25));
  box->SetGlyphThickness(0);
  EXPECT_EQ(box->GlyphThickness(), 1) << "thickness 0 is refused";
}

TEST(GPSizeBoxDragging, ResizesTheTopFormWithinItsConstraints) {
  struct TCase {
    const char* Name;
    std::vector<TPoint> Moves;
    std::function<void(TCustomForm*)> Setup;
    TSize Expected;
  } cases[] = {
      {"grows and shrinks with the pointer", {{20, 10}, {-5, 0}}, nullptr, {315, 210}},
      {"MaxWidth and MinHeight hold", {{40, -150}}, [](TCustomForm* f) {
         f->Constraints()->SetMaxWidth(310);
         f->Constraints()->SetMinHeight(120);
       }, {310, 120}},
      {"left of the grip it does not grow again until the pointer is back", {{-40, 0}, {10, 0}, {35, 0}},
       nullptr, {295, 200}},
      {"above the grip likewise", {{0, -40}, {0, 10}, {0, 35}}, nullptr, {300, 195}},
      {"a maximised form is not resized", {{20, 10}}, [](TCustomForm* f) { f->SetWindowState(wsMaximized); },
       {0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* holder = s.Add<TTestPanel>(Bounds(0, 0, 300, 200));  // the grip's parent is not the form
    auto* box = s.Add<TkaGPSizeBox>(Bounds(270, 170, 25, 25), holder);
    if (c.Setup) c.Setup(s.Form);
    PumpPending();
    const TRect before = s.Form->BoundsRect();
    Drag(box, TPoint(10, 10), c.Moves);
    EXPECT_EQ(box->ResizeTargetControl(), s.Form) << "the first press makes the top form the target";
    const TSize expected = c.Expected.cx == 0 ? TSize{before.Width(), before.Height()} : c.Expected;
    EXPECT_EQ(s.Form->Width(), expected.cx);
    EXPECT_EQ(s.Form->Height(), expected.cy);
    EXPECT_EQ(s.Form->BoundsRect().TopLeft(), before.TopLeft());
  }
}

TEST(GPSizeBoxDragging, AnExplicitTargetIsResizedAndForgottenWhenFreed) {
  TScene s;
  auto* box = s.Add<TkaGPSizeBox>(Bounds(270, 170, 25, 25));
  {
    TScene other(Bounds(500, 100, 200, 150));
    auto* target = other.Add<TTestPanel>(Bounds(10, 10, 100, 60));
    box->SetResizeTargetControl(target);
    Drag(box, TPoint(10, 10), {{7, 3}});
    EXPECT_EQ(target->BoundsRect(), Bounds(10, 10, 107, 63));
    EXPECT_EQ(s.Form->Width(), 300);
  }
  EXPECT_EQ(box->ResizeTargetControl(), nullptr);
  Drag(box, TPoint(10, 10), {{5, 5}});  // a new press takes the form again
  EXPECT_EQ(box->ResizeTargetControl(), s.Form);
  EXPECT_EQ(s.Form->Width(), 305);
}

// ---- Label ------------------------------------------------------------------------------------

TEST(GPLabelAutoSize, TextPlusMarginsOneLineWhenEmpty) {
  struct TCase {
    const char* Name;
    String Caption;
    String Measured;
    TRect Margins;  // left, top, right, bottom
    bool SameWithGdiPlus;
  } cases[] = {
      {"text", L"Hello, world", L"Hello, world", TRect(5, 5, 5, 5), true},
      {"empty caption keeps one line", L"", L" ", TRect(5, 5, 5, 5), false},
      {"a lone accelerator mark likewise", L"&", L" ", TRect(5, 5, 5, 5), false},
      {"accelerator marks take no room", L"&File", L"File", TRect(5, 5, 5, 5), true},
      {"other margins", L"Hello", L"Hello", TRect(1, 2, 3, 4), true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* l = s.Add<TkaGPLabel>(Bounds(20, 20, 65, 17));
    l->SetContentMarginLeft(c.Margins.Left);
    l->SetContentMarginTop(c.Margins.Top);
    l->SetContentMarginRight(c.Margins.Right);
    l->SetContentMarginBottom(c.Margins.Bottom);
    l->SetCaption(L"x");
    l->SetCaption(c.Caption);
    const TSize text = TextSize(l->Font(), c.Measured);
    EXPECT_EQ(l->Width(), text.cx + c.Margins.Left + c.Margins.Right);
    EXPECT_EQ(l->Height(), text.cy + c.Margins.Top + c.Margins.Bottom);
    EXPECT_EQ(l->Left(), 20);
    if (!c.SameWithGdiPlus) continue;
    l->SetDrawTextMode(kadtmGDIPlus);
    l->SetCaption(c.Caption + L" ");
    l->SetCaption(c.Caption);
    EXPECT_NEAR(l->Width(), text.cx + c.Margins.Left + c.Margins.Right, 6) << "measured with GDI+";
    EXPECT_NEAR(l->Height(), text.cy + c.Margins.Top + c.Margins.Bottom, 4) << "measured with GDI+";
  }
}

TEST(GPLabelAutoSize, RightAlignedKeepsItsRightEdgeWrappedGrowsDownClientNeverResizes) {
  TScene s;
  auto* right = s.Add<TkaGPLabel>(Bounds(100, 20, 65, 17));
  right->SetAlignment(taRightJustify);
  right->SetCaption(L"A");
  const int edge = right->Left() + right->Width();
  right->SetCaption(L"A much longer caption");
  EXPECT_EQ(right->Left() + right->Width(), edge);
  EXPECT_LT(right->Left(), 100);

  auto* wrapped = s.Add<TkaGPLabel>(Bounds(10, 60, 80, 17));
  wrapped->SetAutoSize(false);
  wrapped->SetCaption(L"one two three four five six seven");
  wrapped->SetWordWrap(true);
  wrapped->SetAutoSize(true);
  const int line = TextSize(wrapped->Font(), L"one").cy;
  EXPECT_LE(wrapped->Width(), 80);
  EXPECT_GE(wrapped->Height(), 3 * line + 10);
  const int width = wrapped->Width();
  wrapped->SetAutoSize(false);
  wrapped->SetAutoSize(true);
  EXPECT_EQ(wrapped->Width(), width) << "adjusting again keeps the wrap width";

  auto* client = s.Add<TkaGPLabel>(Bounds(0, 0, 10, 10), s.Add<TTestPanel>(Bounds(0, 120, 200, 50)));
  client->SetAlign(alClient);
  client->SetCaption(L"A caption longer than the panel is wide, by quite a bit");
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 200, 50));
}

// A 120 x 60 label that draws only black text, "Label", at its default place.
TkaGPLabel* TextOnlyLabel(TScene& S) {
  auto* l = S.Add<TkaGPLabel>(Bounds(20, 20, 120, 60));
  l->SetAutoSize(false);
  l->SetFrameWidth(0);
  l->SetFillColorAlpha(0);
  l->Font()->SetHeight(-16);
  l->Font()->SetColor(clBlack);
  l->SetCaption(L"Label");
  return l;
}

TEST(GPLabelDrawing, TextPlacementColoursAndGlow) {
  TRect ref;  // the ink of the text at its default place: top left, inside margins of 5
  TSize text;
  {
    TScene s;
    TkaGPLabel* l = TextOnlyLabel(s);
    auto shot = Snapshot(l);
    ref = InkBounds(*shot, Dark);
    text = TextSize(l->Font(), L"Label");
    ASSERT_FALSE(ref.IsEmpty());
  }
  const TColor gray = ColorToRGB(clGrayText);
  using TCheck = std::function<void(const TRect& Ink)>;
  struct TCase {
    const char* Name;
    std::function<void(TkaGPLabel*)> Setup;
    std::function<bool(TColor)> Ink;
    TCheck Check;
  } cases[] = {
      {"top margin", [](TkaGPLabel* l) { l->SetContentMarginTop(12); }, Dark,
       [&](const TRect& r) { EXPECT_EQ(r.Top, ref.Top + 7); }},
      {"left margin", [](TkaGPLabel* l) { l->SetContentMarginLeft(30); }, Dark,
       [&](const TRect& r) { EXPECT_EQ(r.Left, ref.Left + 25); }},
      {"centre: on the middle of the whole height", [](TkaGPLabel* l) { l->SetVertAlignment(kavtaCenter); }, Dark,
       [&](const TRect& r) { EXPECT_EQ(r.Top, 30 - text.cy / 2 + ref.Top - 5); }},
      {"bottom: on the bottom edge, the margin aside", [](TkaGPLabel* l) { l->SetVertAlignment(kavtaBottom); },
       Dark, [&](const TRect& r) { EXPECT_EQ(r.Top, 60 - text.cy + ref.Top - 5); }},
      {"right", [](TkaGPLabel* l) { l->SetAlignment(taRightJustify); }, Dark,
       [&](const TRect& r) { EXPECT_EQ(r.Right, 115 - text.cx + ref.Right - 5); }},
      {"disabled with a colour of its own",
       [](TkaGPLabel* l) {
         l->SetDisabledFontColor(clRed);
         l->SetEnabled(false);
       },
       Reddish, [](const TRect& r) { EXPECT_FALSE(r.IsEmpty()); }},
      {"disabled without: the disabled text colour", [](TkaGPLabel* l) { l->SetEnabled(false); },
       [gray](TColor c) { return Near(c, gray, 10); }, [&](const TRect& r) { EXPECT_EQ(r, ref); }},
      {"glow around GDI text",
       [](TkaGPLabel* l) {
         l->GlowEffect()->SetColor(clRed);
         l->GlowEffect()->SetEnabled(true);
       },
       Reddish, [&](const TRect& r) { EXPECT_LT(r.Left, ref.Left); }},
      {"no glow with GDI+ text",
       [](TkaGPLabel* l) {
         l->GlowEffect()->SetColor(clRed);
         l->GlowEffect()->SetEnabled(true);
         l->SetDrawTextMode(kadtmGDIPlus);
       },
       Reddish, [](const TRect& r) { EXPECT_TRUE(r.IsEmpty()); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TkaGPLabel* l = TextOnlyLabel(s);
    c.Setup(l);
    auto shot = Snapshot(l);
    EXPECT_TRUE(Near(At(*shot, 0, 0), clWhite, 0)) << "only the text is drawn";
    c.Check(InkBounds(*shot, c.Ink));
  }
}

TEST(GPLabelDrawing, FrameFillAndTwoColourGradientWithoutOffsets) {
  struct TCase {
    const char* Name;
    std::function<void(TkaGPLabel*)> Setup;
    std::vector<TPixel> Pixels;
  } cases[] = {
      {"square frame over the fill", [](TkaGPLabel* l) { l->SetFrameRadius(0); },
       {{0, 15, clBlue}, {1, 15, clBlue}, {2, 15, clRed}, {40, 0, clBlue}, {79, 29, clBlue}}},
      {"rounded corners cut", [](TkaGPLabel*) {}, {{0, 0, clWhite}, {79, 29, clWhite}, {40, 0, clBlue}, {40, 15, clRed}}},
      {"gradient from FillColor to FillColor2",
       [](TkaGPLabel* l) {
         l->SetFrameWidth(0);
         l->SetFrameRadius(0);
         l->SetFillColor2(clBlue);
       },
       {{0, 15, clRed}, {79, 15, clBlue}, {1, 2, clRed}}},
      {"second colour's own alpha",
       [](TkaGPLabel* l) {
         l->SetFrameWidth(0);
         l->SetFrameRadius(0);
         l->SetFillColor2(clBlue);
         l->SetFillColor2Alpha(0);
       },
       {{0, 15, clRed}, {79, 15, clWhite}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    auto* l = s.Add<TkaGPLabel>(Bounds(20, 20, 80, 30));
    l->SetAutoSize(false);
    l->SetBounds(20, 20, 80, 30);
    l->SetFillColor(clRed);
    l->SetFillColorAlpha(255);
    l->SetFrameColor(clBlue);
    l->SetFrameColorAlpha(255);
    l->SetFrameWidth(2);
    c.Setup(l);
    auto shot = Snapshot(l);
    for (const TPixel& px : c.Pixels)
      EXPECT_TRUE(Near(At(*shot, px.X, px.Y), px.Color, 10)) << "at " << px.X << ", " << px.Y;
  }
}

TEST(GPLabel, AcceleratorFocusesTheFocusControlAndIsForgottenWithIt) {
  TScene s;
  auto* l = s.Add<TkaGPLabel>(Bounds(10, 10, 80, 20));
  l->SetCaption(L"&Name");
  auto* edit = s.Add<TTestPanel>(Bounds(100, 10, 80, 20));
  edit->SetTabStop(true);
  l->SetFocusControl(edit);
  struct {
    const char* Name;
    WORD Key;
    bool ShowAccel;
    bool Focuses;
  } cases[] = {{"its key", 'N', true, true}, {"another key", 'X', true, false}, {"marks not shown", 'N', false, false}};
  for (const auto& c : cases) {
    l->SetFocus();
    l->SetShowAccelChar(c.ShowAccel);
    const LRESULT r = l->Perform(CM_DIALOGCHAR, c.Key, 0);
    EXPECT_EQ(r, c.Focuses ? 1 : 0) << c.Name;
    EXPECT_EQ(edit->Focused(), c.Focuses) << c.Name;
  }
  edit->Free();
  EXPECT_EQ(l->FocusControl(), nullptr);
}

// ---- All three --------------------------------------------------------------------------------

TEST(GPControlsLayout, PublishedPropertiesAreReadFromALayout) {
  const char layout[] = R"(object Form1: TCustomForm
  object Images: TkaImageCollection
  end
  object Panel: TkaGPPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 100
    FrameSides = [gppfsLeft, gppfsTop]
    RoundedCorners = [gpcrBottomRight]
    FillStyle = kagpsfGradient
    BackgroundStyle = gppbsFormBackground
    Alignment = taRightJustify
    DrawTextMode = kadtmGDIPlus
    CaptionGlowEffect.GlowSize = 4
    FillColor2 = clRed
    FillGradientBeginAlpha = 10
    Wallpapers = Images
    WallpaperIndex = 2
    Sizeable = True
    TransparentBackground = False
    StorePaintBuffer = False
    BlurBackground = True
    BlurBackgroundAmount = 7
    object Box: TkaGPSizeBox
      GlyphThickness = 2
      GlyphColorAlpha = 100
      ResizeTargetControl = Panel
    end
    object Lbl: TkaGPLabel
      VertAlignment = kavtaCenter
      Layout = tlBottom
      FocusControl = Box
      AutoSize = False
      FillColor2Alpha = 9
      GlowEffect.Enabled = True
      Caption = 'Text'
    end
  end
end
)";
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, layout, L"GPLAYOUT");
  auto* p = dynamic_cast<TkaGPPanel*>(form->FindComponent(L"Panel"));
  auto* box = dynamic_cast<TkaGPSizeBox*>(form->FindComponent(L"Box"));
  auto* l = dynamic_cast<TkaGPLabel*>(form->FindComponent(L"Lbl"));
  ASSERT_TRUE(p != nullptr && box != nullptr && l != nullptr);
  EXPECT_EQ(p->FrameSides(), (TkaGPPanelFrameSides{gppfsLeft, gppfsTop}));
  EXPECT_EQ(p->RoundedCorners(), TkaGPCorners{gpcrBottomRight});
  EXPECT_EQ(p->FillStyle(), kagpsfGradient);
  EXPECT_EQ(p->BackgroundStyle(), gppbsFormBackground);
  EXPECT_EQ(p->Alignment(), taRightJustify);
  EXPECT_EQ(p->DrawTextMode(), kadtmGDIPlus);
  EXPECT_EQ(p->CaptionGlowEffect()->GlowSize(), 4);
  EXPECT_EQ(p->FillColor2(), clRed);
  EXPECT_EQ(p->FillGradientBeginAlpha(), 10);
  EXPECT_EQ(p->Wallpapers(), form->FindComponent(L"Images"));
  EXPECT_EQ(p->WallpaperIndex(), 2);
  EXPECT_TRUE(p->Sizeable());
  EXPECT_FALSE(p->TransparentBackground());
  EXPECT_FALSE(p->StorePaintBuffer());
  EXPECT_TRUE(p->BlurBackground());
  EXPECT_EQ(p->BlurBackgroundAmount(), 7);
  EXPECT_EQ(box->GlyphThickness(), 2);
  EXPECT_EQ(box->GlyphColorAlpha(), 100);
  EXPECT_EQ(box->ResizeTargetControl(), p);
  EXPECT_EQ(l->VertAlignment(), kavtaCenter);
  EXPECT_EQ(l->Layout(), tlBottom);
  EXPECT_EQ(l->FocusControl(), box);
  EXPECT_FALSE(l->AutoSize());
  EXPECT_EQ(l->FillColor2Alpha(), 9);
  EXPECT_TRUE(l->GlowEffect()->Enabled());
  EXPECT_EQ(l->Caption(), L"Text");
  form->Free();
}

TEST(GPControlsHandles, ThousandsOfRepaintsKeepTheGdiObjectCount) {
  TScene s(Bounds(100, 100, 400, 300));
  TkaCustomImageCollection* images = GdiPlusCollection();
  auto* glowing = s.Add<TkaGPPanel>(Bounds(0, 0, 200, 100));
  glowing->SetFillStyle(kagpsfGradient);
  glowing->SetFrameRadius(8);
  glowing->SetFrameColorAlpha(100);
  glowing->SetCaption(L"Glowing caption");
  glowing->SetShowCaption(true);
  glowing->CaptionGlowEffect()->SetEnabled(true);
  glowing->SetWallpapers(images);
  glowing->SetWallpaperIndex(0);
  auto* gdiPlus = s.Add<TkaGPPanel>(Bounds(200, 0, 200, 100));
  gdiPlus->SetDrawTextMode(kadtmGDIPlus);
  gdiPlus->SetCaption(L"GDI+ caption");
  gdiPlus->SetShowCaption(true);
  gdiPlus->SetWordWrap(true);
  auto* label = s.Add<TkaGPLabel>(Bounds(10, 10, 100, 30), glowing);
  label->SetCaption(L"Label");
  label->GlowEffect()->SetEnabled(true);
  label->SetVertAlignment(kavtaCenter);
  auto* box = s.Add<TkaGPSizeBox>(Bounds(370, 270, 25, 25));
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      glowing->SetFillColorAlpha(static_cast<uint8_t>(100 + i % 2));
      gdiPlus->RePaintControl();
      label->SetCaption(i % 2 == 0 ? L"Label" : L"Label 2");
      box->RePaintControl();
    }
  };
  cycle(20);
  const int before = GdiObjectCount();
  cycle(1000);
  EXPECT_LE(GdiObjectCount() - before, 2);
  images->Free();
}

}  // namespace
