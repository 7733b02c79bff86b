// The renderer on hand-built scenes: fills, strokes, gradients, masks, mattes, clips, the
// fit into the destination, the caller's surface state, supersampling, drawing into
// buffers, and handle hygiene. Probed pixels lie wholly inside or wholly outside shapes, so
// the checks hold where GDI+ anti-aliases (Windows) and where it does not (Wine); colours
// are compared within a few levels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaLottie/LottieRenderer.h"
#include "lib/kaLottie/LottieScene.h"
#include "lib/kaLottie/kaLottie.h"
#include "tests/support/Handles.h"

using namespace kaLottie;

namespace {

// ---- scene building ----------------------------------------------------------------

TContour Polygon(std::initializer_list<TPointD> Corners, bool Closed = true) {
  std::vector<TPointD> c(Corners);
  TContour r;
  r.Closed = Closed;
  r.Points.push_back(c[0]);
  const size_t edges = Closed ? c.size() : c.size() - 1;
  for (size_t i = 1; i <= edges; ++i) {
    r.Points.push_back(c[i - 1]);
    r.Points.push_back(c[i % c.size()]);
    r.Points.push_back(c[i % c.size()]);
  }
  return r;
}

TContour Rect(double X, double Y, double W, double H) { return Polygon({{X, Y}, {X + W, Y}, {X + W, Y + H}, {X, Y + H}}); }
// The same rectangle walked the other way round.
TContour RectReversed(double X, double Y, double W, double H) {
  return Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H}, {X + W, Y}});
}
TContour Line(TPointD A, TPointD B) { return Polygon({A, B}, false); }

TContour Ellipse(double CX, double CY, double R) {
  const double k = 0.5523 * R;
  TContour c;
  c.Closed = true;
  c.Points = {{CX + R, CY},     {CX + R, CY + k}, {CX + k, CY + R}, {CX, CY + R},     {CX - k, CY + R},
              {CX - R, CY + k}, {CX - R, CY},     {CX - R, CY - k}, {CX - k, CY - R}, {CX, CY - R},
              {CX + k, CY - R}, {CX + R, CY - k}, {CX + R, CY}};
  return c;
}

constexpr TColorD kRed{1, 0, 0, 1}, kGreen{0, 1, 0, 1}, kBlue{0, 0, 1, 1}, kWhite{1, 1, 1, 1}, kBlack{0, 0, 0, 1};

std::unique_ptr<TDrawItem> Fill(TPath Path, TColorD Color, double Opacity = 1, TFillRule Rule = TFillRule::NonZero) {
  auto item = std::make_unique<TDrawItem>();
  item->Path = std::move(Path);
  item->Paint.Color = Color;
  item->Paint.Opacity = Opacity;
  item->Rule = Rule;
  return item;
}

std::unique_ptr<TDrawItem> Stroke(TPath Path, TColorD Color, double Width, TLineCap Cap = TLineCap::Butt,
                                  TLineJoin Join = TLineJoin::Miter) {
  auto item = Fill(std::move(Path), Color);
  item->IsStroke = true;
  item->Stroke.Width = Width;
  item->Stroke.Cap = Cap;
  item->Stroke.Join = Join;
  return item;
}

void Add(TSceneNode& Node, std::unique_ptr<TDrawItem> Item) { Node.Content.push_back({std::move(Item), nullptr}); }
TSceneNode& AddNode(TSceneNode& Node) {
  Node.Content.push_back({nullptr, std::make_unique<TSceneNode>()});
  return *Node.Content.back().Node;
}

std::unique_ptr<TScene> MakeScene(double W = 100, double H = 100) {
  auto s = std::make_unique<TScene>();
  s->Width = W;
  s->Height = H;
  return s;
}

// ---- a surface to draw on ------------------------------------------------------------

// How the surfaces below draw, set by the test running: every behaviour is checked through
// GDI+ (hard edges under Wine, smooth ones on Windows) and through the coverage rasteriser.
TRasteriser gRasteriser = TRasteriser::GdiPlus;

// A 32bppPARGB surface over memory of our own, so pixels read back exactly as drawn.
struct TSurface {
  explicit TSurface(int W, int H, uint32_t Fill = 0) : Width(W), Height(H), Pixels(size_t(W) * H, Fill) {
    GPEnsureStarted();
    Renderer.SetRasteriser(gRasteriser);
    Bitmap = std::make_unique<Gdiplus::Bitmap>(W, H, W * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(Pixels.data()));
    G = std::make_unique<Gdiplus::Graphics>(Bitmap.get());
  }
  void Draw(const TScene& Scene) { Draw(Scene, Gdiplus::RectF(0, 0, float(Width), float(Height))); }
  void Draw(const TScene& Scene, const Gdiplus::RectF& Dest) {
    Renderer.Draw(Scene, *G, Dest);
    G->Flush(Gdiplus::FlushIntentionSync);
  }
  // Premultiplied 0xAARRGGBB.
  uint32_t At(int X, int Y) const { return Pixels[size_t(Y) * Width + X]; }
  int Alpha(int X, int Y) const { return int(At(X, Y) >> 24); }

  int Width, Height;
  std::vector<uint32_t> Pixels;
  std::unique_ptr<Gdiplus::Bitmap> Bitmap;
  std::unique_ptr<Gdiplus::Graphics> G;
  TSceneRenderer Renderer;
};

std::string Hex(uint32_t V) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", V);
  return b;
}

// Each channel within Tolerance of Expected (premultiplied ARGB).
::testing::AssertionResult Near(uint32_t Actual, uint32_t Expected, int Tolerance = 2) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int((Actual >> shift) & 0xFF), e = int((Expected >> shift) & 0xFF);
    if (std::abs(a - e) > Tolerance)
      return ::testing::AssertionFailure() << "pixel " << Hex(Actual) << ", expected " << Hex(Expected);
  }
  return ::testing::AssertionSuccess();
}

struct TProbe {
  int X, Y;
  uint32_t Expected;
};

void ExpectPixels(const TSurface& S, std::initializer_list<TProbe> Probes, int Tolerance = 2) {
  for (const TProbe& p : Probes) EXPECT_TRUE(Near(S.At(p.X, p.Y), p.Expected, Tolerance)) << "at " << p.X << "," << p.Y;
}

// Wine's GDI+ joins thick lines with a bevel where a round join is asked for.
bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

constexpr uint32_t kNone = 0, kOpaqueRed = 0xFFFF0000, kOpaqueGreen = 0xFF00FF00, kOpaqueBlue = 0xFF0000FF;

// Runs a suite's tests once through GDI+ and once through the coverage rasteriser.
class TBothRasterisers : public ::testing::TestWithParam<TRasteriser> {
 protected:
  void SetUp() override { gRasteriser = GetParam(); }
  void TearDown() override { gRasteriser = TRasteriser::GdiPlus; }
};

std::string RasteriserName(const ::testing::TestParamInfo<TRasteriser>& Info) {
  return Info.param == TRasteriser::Coverage ? "Coverage" : "GdiPlus";
}

#define KA_ON_BOTH_RASTERISERS(Suite)                                                      \
  class Suite : public TBothRasterisers {};                                                \
  INSTANTIATE_TEST_SUITE_P(Rasteriser, Suite,                                              \
                           ::testing::Values(TRasteriser::GdiPlus, TRasteriser::Coverage), \
                           RasteriserName)

KA_ON_BOTH_RASTERISERS(LottieRenderFill);
KA_ON_BOTH_RASTERISERS(LottieRenderStroke);
KA_ON_BOTH_RASTERISERS(LottieRenderGradient);
KA_ON_BOTH_RASTERISERS(LottieRenderMask);
KA_ON_BOTH_RASTERISERS(LottieRenderMatte);
KA_ON_BOTH_RASTERISERS(LottieRenderClip);
KA_ON_BOTH_RASTERISERS(LottieRenderFit);
KA_ON_BOTH_RASTERISERS(LottieRenderSurface);
KA_ON_BOTH_RASTERISERS(LottieRenderRobustness);

// ---- fills -----------------------------------------------------------------------------

TEST_P(LottieRenderFill, SolidColourAndOpacityInsideTheShapeOnly) {
  auto scene = MakeScene();
  Add(scene->Root, Fill({Rect(10, 10, 30, 30)}, kRed));
  Add(scene->Root, Fill({Ellipse(70, 70, 20)}, kBlue, 0.5));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{25, 25, kOpaqueRed}, {5, 25, kNone}, {45, 25, kNone}, {70, 70, 0x80000080}, {70, 55, 0x80000080},
                   {54, 54, kNone}, {95, 95, kNone}});
}

TEST_P(LottieRenderFill, FillRulesDecideTheHoles) {
  struct TCase {
    const char* Name;
    bool SameDirection;
    TFillRule Rule;
    bool HoleFilled;
  };
  const TCase cases[] = {
      {"NonZeroSameDirection", true, TFillRule::NonZero, true},
      {"NonZeroOppositeDirection", false, TFillRule::NonZero, false},
      {"EvenOddSameDirection", true, TFillRule::EvenOdd, false},
      {"EvenOddOppositeDirection", false, TFillRule::EvenOdd, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    Add(scene->Root, Fill({Rect(10, 10, 80, 80), c.SameDirection ? Rect(30, 30, 40, 40) : RectReversed(30, 30, 40, 40)},
                          kGreen, 1, c.Rule));
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectPixels(s, {{20, 50, kOpaqueGreen}, {50, 50, c.HoleFilled ? kOpaqueGreen : kNone}, {5, 5, kNone}});
  }
}

TEST_P(LottieRenderFill, ItemTransformPlacesTheShape) {
  auto scene = MakeScene();
  auto item = Fill({Rect(0, 0, 10, 10)}, kRed);
  item->Transform = {2, 0, 0, 3, 50, 20};  // 50..70 x 20..50
  Add(scene->Root, std::move(item));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{60, 35, kOpaqueRed}, {45, 35, kNone}, {75, 35, kNone}, {60, 15, kNone}, {60, 55, kNone}});
}

// ---- strokes ---------------------------------------------------------------------------

TEST_P(LottieRenderStroke, WidthAndCaps) {
  struct TCase {
    const char* Name;
    TLineCap Cap;
    bool PastEnd;        // pixels 3 to 4 px beyond either end, on the axis: within any cap
    bool PastEndCorner;  // 4 to 5 px beyond the end and off the axis: outside a round cap
  };
  const TCase cases[] = {
      {"Butt", TLineCap::Butt, false, false},
      {"Square", TLineCap::Square, true, true},
      {"Round", TLineCap::Round, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    Add(scene->Root, Stroke({Line({20, 50}, {80, 50})}, kBlue, 10, c.Cap));
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectPixels(s, {{50, 50, kOpaqueBlue}, {50, 46, kOpaqueBlue}, {50, 53, kOpaqueBlue}, {50, 57, kNone}, {50, 42, kNone},
                     {83, 50, c.PastEnd ? kOpaqueBlue : kNone}, {16, 50, c.PastEnd ? kOpaqueBlue : kNone},
                     {84, 54, c.PastEndCorner ? kOpaqueBlue : kNone}});
  }
}

TEST_P(LottieRenderStroke, JoinsAndMiterLimit) {
  // A right angle at (50, 20), stroked 16 wide: the miter's tip reaches (58, 12), 11.3 px
  // from the corner (ratio 1.41 to the width); a bevel cuts the outer corner off.
  struct TCase {
    const char* Name;
    TLineJoin Join;
    double MiterLimit;
    bool Tip;    // pixel (57, 13): inside the miter only
    bool Round;  // pixel (55, 15): inside the round join, outside the bevel
  };
  const TCase cases[] = {
      {"Miter", TLineJoin::Miter, 4, true, true},
      {"MiterOverLimitIsBevel", TLineJoin::Miter, 1.2, false, false},
      {"Round", TLineJoin::Round, 4, false, GetParam() == TRasteriser::Coverage || !UnderWine()},
      {"Bevel", TLineJoin::Bevel, 4, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    auto item = Stroke({Polygon({{10, 20}, {50, 20}, {50, 80}}, false)}, kBlue, 16, TLineCap::Butt, c.Join);
    item->Stroke.MiterLimit = c.MiterLimit;
    Add(scene->Root, std::move(item));
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectPixels(s, {{30, 20, kOpaqueBlue}, {50, 50, kOpaqueBlue}, {57, 13, c.Tip ? kOpaqueBlue : kNone},
                     {55, 15, c.Round ? kOpaqueBlue : kNone}, {62, 8, kNone}});
  }
}

TEST_P(LottieRenderStroke, OverlapsOfOneStrokeArePaintedOnce) {
  // Half-opaque strokes over themselves: a line that runs back along itself, and one that
  // crosses itself at (50, 70). A stroke is one shape, so its overlaps take one coat of
  // paint, not two.
  auto scene = MakeScene();
  auto back = Stroke({Polygon({{10, 20}, {90, 20}, {40, 20}}, false)}, kRed, 8, TLineCap::Butt, TLineJoin::Round);
  back->Paint.Opacity = 0.5;
  Add(scene->Root, std::move(back));
  auto crossing = Stroke({Polygon({{10, 50}, {90, 90}, {90, 50}, {10, 90}}, false)}, kBlue, 8);
  crossing->Paint.Opacity = 0.5;
  Add(scene->Root, std::move(crossing));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{60, 20, 0x80800000}, {20, 20, 0x80800000}, {50, 70, 0x80000080}, {30, 60, 0x80000080},
                   {50, 30, kNone}});
}

TEST_P(LottieRenderStroke, CurvedStrokesAreOneEvenCoat) {
  // Half-opaque strokes along curves: a circle of radius 5 stroked 16 wide, which covers
  // its own middle (its inner edge folds over), and an open half circle of radius 20
  // stroked 6 wide. One coat everywhere: no gaps and no doubled paint along the curves.
  auto scene = MakeScene();
  auto tight = Stroke({Ellipse(30, 30, 5)}, kRed, 16);
  tight->Paint.Opacity = 0.5;
  Add(scene->Root, std::move(tight));
  const double k = 0.5523 * 20;
  TContour arc;
  arc.Points = {{50, 60}, {50, 60 - k}, {70 - k, 40}, {70, 40}, {70 + k, 40}, {90, 60 - k}, {90, 60}};
  auto open = Stroke({arc}, kBlue, 6, TLineCap::Butt, TLineJoin::Round);
  open->Paint.Opacity = 0.5;
  Add(scene->Root, std::move(open));
  TSurface s(100, 100);
  s.Draw(*scene);
  const uint32_t halfRed = 0x80800000, halfBlue = 0x80000080;
  ExpectPixels(s, {{30, 30, halfRed}, {30, 18, halfRed}, {30, 14, kNone}, {38, 42, kNone}});
  // Wine's GDI+ widens a pen that is wider than its curve's bend with holes in the fold.
  if (GetParam() == TRasteriser::Coverage || !UnderWine()) ExpectPixels(s, {{39, 30, halfRed}});
  ExpectPixels(s, {{70, 40, halfBlue}, {55, 45, halfBlue}, {84, 45, halfBlue}, {52, 55, halfBlue}, {87, 55, halfBlue},
                   {70, 50, kNone}, {70, 33, kNone}});
}

TEST_P(LottieRenderStroke, DashesGapsOffsetAndDots) {
  struct TCase {
    const char* Name;
    std::vector<double> Dashes;
    double Offset;
    TLineCap Cap;
    std::vector<int> On, Off;  // x positions on the line y = 50 (from x = 10)
  };
  const TCase cases[] = {
      {"DashGap", {10, 10}, 0, TLineCap::Butt, {12, 18, 32, 52}, {22, 28, 42}},
      {"Offset", {10, 10}, 5, TLineCap::Butt, {12, 27, 33}, {17, 23, 37}},
      {"OddListRepeats", {10, 5, 5}, 0, TLineCap::Butt, {12, 27, 42, 52}, {22, 33, 47, 62}},
      {"ZeroDashesAreRoundDots", {0, 20}, 0, TLineCap::Round, {10, 30, 50, 11}, {20, 40, 17}},
      {"ZeroDashesWithButtCapsVanish", {0, 20}, 0, TLineCap::Butt, {}, {10, 11, 30, 31}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    auto item = Stroke({Line({10, 50}, {90, 50})}, kBlue, 6, c.Cap);
    item->Stroke.Dashes = c.Dashes;
    item->Stroke.DashOffset = c.Offset;
    Add(scene->Root, std::move(item));
    TSurface s(100, 100);
    s.Draw(*scene);
    for (int x : c.On) EXPECT_TRUE(Near(s.At(x, 50), kOpaqueBlue)) << "dash at " << x;
    for (int x : c.Off) EXPECT_TRUE(Near(s.At(x, 50), kNone)) << "gap at " << x;
  }
}

TEST_P(LottieRenderStroke, PenFollowsTheItemTransform) {
  // Width 4 in local units, scaled 1 x 4: a horizontal line 16 px thick; a vertical one
  // stays 4 px.
  auto scene = MakeScene();
  auto h = Stroke({Line({10, 5}, {90, 5})}, kRed, 4);
  h->Transform = {1, 0, 0, 4, 0, 0};
  Add(scene->Root, std::move(h));
  auto v = Stroke({Line({50, 40}, {50, 90})}, kBlue, 4);
  v->Transform = {1, 0, 0, 1, 0, 0};
  Add(scene->Root, std::move(v));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{30, 20, kOpaqueRed}, {30, 13, kOpaqueRed}, {30, 27, kOpaqueRed}, {30, 30, kNone}, {50, 60, kOpaqueBlue},
                   {47, 60, kNone}, {53, 60, kNone}});
}

// ---- gradients -------------------------------------------------------------------------

std::unique_ptr<TDrawItem> GradientFill(TPath Path, TGradient Gradient, double Opacity = 1) {
  auto item = Fill(std::move(Path), kBlack, Opacity);
  item->Paint.IsGradient = true;
  item->Paint.Gradient = std::move(Gradient);
  return item;
}

TGradient Linear(TPointD S, TPointD E, std::vector<TGradientStop> Stops) {
  TGradient g;
  g.Start = S;
  g.End = E;
  g.Stops = std::move(Stops);
  return g;
}

TEST_P(LottieRenderGradient, LinearStopsAndPadding) {
  // From x = 20.5 (red) over x = 50.5 (green) to x = 80.5 (blue), so that pixel centres
  // fall on quarters; padded beyond both ends.
  auto scene = MakeScene();
  Add(scene->Root, GradientFill({Rect(0, 0, 100, 100)},
                                Linear({20.5, 0}, {80.5, 0}, {{0, kRed}, {0.5, kGreen}, {1, kBlue}})));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{2, 50, kOpaqueRed}, {19, 10, kOpaqueRed}, {50, 90, kOpaqueGreen}, {35, 50, 0xFF808000},
                   {65, 50, 0xFF008080}, {81, 50, kOpaqueBlue}, {98, 5, kOpaqueBlue}},
               4);
}

TEST_P(LottieRenderGradient, AlphaStopsAndOpacityArePremultiplied) {
  auto scene = MakeScene();
  Add(scene->Root, GradientFill({Rect(0, 0, 100, 100)},
                                Linear({0, 0}, {100, 0}, {{0, {1, 1, 1, 1}}, {1, {1, 1, 1, 0}}}), 0.5));
  TSurface s(100, 100);
  s.Draw(*scene);
  // Opacity 0.5 everywhere; alpha from 1 to 0 mixed unpremultiplied: white all along.
  ExpectPixels(s, {{0, 50, 0x7F7F7F7F}, {50, 50, 0x40404040}, {99, 50, 0x01010101}}, 3);
}

TEST_P(LottieRenderGradient, LinearFollowsTheItemTransformAndSkipsZeroLength) {
  auto scene = MakeScene();
  auto rotated = GradientFill({Rect(0, 0, 100, 50)}, Linear({0, 0}, {50, 0}, {{0, kRed}, {1, kBlue}}));
  rotated->Transform = {0, 1, -1, 0, 100, 0};  // a quarter turn: the axis runs down x = 100 - y
  Add(scene->Root, std::move(rotated));
  Add(scene->Root, GradientFill({Rect(0, 60, 40, 40)}, Linear({5, 5}, {5, 5}, {{0, kRed}, {1, kBlue}})));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{70, 0, kOpaqueRed}, {70, 55, kOpaqueBlue}, {20, 80, kNone}}, 4);
}

TEST_P(LottieRenderGradient, RadialWithFocalHighlight) {
  struct TCase {
    const char* Name;
    double Length, Angle;
    TProbe Focal;  // where the first stop's colour shows
  };
  // Centre (50, 50), radius 40; red inside, blue at the rim and beyond.
  const TCase cases[] = {
      {"Centred", 0, 0, {50, 50, kOpaqueRed}},
      {"HalfwayRight", 0.5, 0, {70, 50, kOpaqueRed}},
      {"HalfwayDown", 0.5, 90, {50, 70, kOpaqueRed}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TGradient g = Linear({50, 50}, {90, 50}, {{0, kRed}, {1, kBlue}});
    g.Radial = true;
    g.HighlightLength = c.Length;
    g.HighlightAngle = c.Angle;
    auto scene = MakeScene();
    Add(scene->Root, GradientFill({Rect(0, 0, 100, 100)}, g));
    TSurface s(100, 100);
    s.Draw(*scene);
    // Pure red at the focus (half way to the rim when centred), blue at the rim and beyond.
    ExpectPixels(s, {c.Focal, {50, 91, kOpaqueBlue}, {2, 2, kOpaqueBlue}, {97, 97, kOpaqueBlue}}, 8);
    if (c.Length == 0) ExpectPixels(s, {{70, 50, 0xFF80007F}, {50, 30, 0xFF80007F}}, 8);
  }
}

TEST_P(LottieRenderGradient, GradientStroke) {
  auto scene = MakeScene();
  auto item = GradientFill({Line({10, 50}, {90, 50})}, Linear({10, 0}, {90, 0}, {{0, kRed}, {1, kBlue}}));
  item->IsStroke = true;
  item->Stroke.Width = 10;
  Add(scene->Root, std::move(item));
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{11, 50, kOpaqueRed}, {89, 52, kOpaqueBlue}, {50, 47, 0xFF80007F}, {50, 60, kNone}}, 6);
}

// ---- masks, mattes, clips -----------------------------------------------------------------

// Quadrants of a 100 x 100 scene covered by a red square: which ones show.
struct TQuadrants {
  int TopLeft, TopRight, BottomLeft, BottomRight;  // expected alpha
};

void ExpectQuadrants(const TSurface& S, const TQuadrants& Q) {
  EXPECT_NEAR(S.Alpha(25, 25), Q.TopLeft, 3) << "top left";
  EXPECT_NEAR(S.Alpha(75, 25), Q.TopRight, 3) << "top right";
  EXPECT_NEAR(S.Alpha(25, 75), Q.BottomLeft, 3) << "bottom left";
  EXPECT_NEAR(S.Alpha(75, 75), Q.BottomRight, 3) << "bottom right";
}

TMask Mask(TMaskMode Mode, TContour Shape, bool Inverted = false, double Opacity = 1) {
  TMask m;
  m.Mode = Mode;
  m.Path = {std::move(Shape)};
  m.Inverted = Inverted;
  m.Opacity = Opacity;
  return m;
}

TEST_P(LottieRenderMask, ModesInversionAndOpacity) {
  const TContour left = Rect(0, 0, 50, 100), top = Rect(0, 0, 100, 50);
  using M = TMaskMode;
  struct TCase {
    const char* Name;
    std::vector<TMask> Masks;
    TQuadrants Expected;
  };
  const TCase cases[] = {
      {"Add", {Mask(M::Add, left)}, {255, 0, 255, 0}},
      {"AddInverted", {Mask(M::Add, left, true)}, {0, 255, 0, 255}},
      {"AddHalfOpacity", {Mask(M::Add, left, false, 0.5)}, {128, 0, 128, 0}},
      {"SubtractFirstKeepsTheRest", {Mask(M::Subtract, left)}, {0, 255, 0, 255}},
      {"IntersectFirst", {Mask(M::Intersect, left)}, {255, 0, 255, 0}},
      {"AddAdd", {Mask(M::Add, left), Mask(M::Add, top)}, {255, 255, 255, 0}},
      {"AddIntersect", {Mask(M::Add, left), Mask(M::Intersect, top)}, {255, 0, 0, 0}},
      {"AddIntersectInverted", {Mask(M::Add, left), Mask(M::Intersect, top, true)}, {0, 0, 255, 0}},
      {"AddSubtract", {Mask(M::Add, left), Mask(M::Subtract, top)}, {0, 0, 255, 0}},
      {"AddSubtractHalf", {Mask(M::Add, left), Mask(M::Subtract, top, false, 0.5)}, {128, 0, 255, 0}},
      {"AddLighten", {Mask(M::Add, left), Mask(M::Lighten, top, false, 0.5)}, {255, 128, 255, 0}},
      {"AddDarken", {Mask(M::Add, left), Mask(M::Darken, top, false, 0.5)}, {128, 0, 0, 0}},
      {"AddDifference", {Mask(M::Add, left), Mask(M::Difference, top)}, {0, 255, 255, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    TSceneNode& layer = AddNode(scene->Root);
    Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
    layer.Masks = c.Masks;
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectQuadrants(s, c.Expected);
  }
}

TEST_P(LottieRenderMask, MaskTransformAppliesToTheMaskOnly) {
  auto scene = MakeScene();
  TSceneNode& layer = AddNode(scene->Root);
  Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
  TMask m = Mask(TMaskMode::Add, Rect(0, 0, 25, 25));
  m.Transform = {2, 0, 0, 2, 50, 50};  // the bottom-right quadrant
  layer.Masks = {m};
  TSurface s(100, 100);
  s.Draw(*scene);
  ExpectQuadrants(s, {0, 0, 0, 255});
}

TEST_P(LottieRenderMatte, AlphaAndLumaMattes) {
  // Source: opaque white on the left half, opaque black on the top-right quadrant, white at
  // half opacity on the bottom-right one (luminance counted over black: half).
  struct TCase {
    const char* Name;
    TMatteMode Mode;
    TQuadrants Expected;
  };
  const TCase cases[] = {
      {"Alpha", TMatteMode::Alpha, {255, 255, 255, 128}},
      {"AlphaInverted", TMatteMode::AlphaInverted, {0, 0, 0, 127}},
      {"Luma", TMatteMode::Luma, {255, 0, 255, 128}},
      {"LumaInverted", TMatteMode::LumaInverted, {0, 255, 0, 127}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    TSceneNode& layer = AddNode(scene->Root);
    Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
    layer.Matte = c.Mode;
    layer.MatteSource = std::make_unique<TSceneNode>();
    Add(*layer.MatteSource, Fill({Rect(0, 0, 50, 100)}, kWhite));
    Add(*layer.MatteSource, Fill({Rect(50, 0, 50, 50)}, kBlack));
    Add(*layer.MatteSource, Fill({Rect(50, 50, 50, 50)}, kWhite, 0.5));
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectQuadrants(s, c.Expected);
    // Colour stays red, premultiplied by what shows.
    if (c.Expected.TopLeft == 255) {
      EXPECT_TRUE(Near(s.At(25, 25), kOpaqueRed));
    }
  }
}

TEST_P(LottieRenderMatte, MissingSourceHidesOrShowsAll) {
  for (TMatteMode mode : {TMatteMode::Alpha, TMatteMode::AlphaInverted}) {
    auto scene = MakeScene();
    TSceneNode& layer = AddNode(scene->Root);
    Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
    layer.Matte = mode;
    TSurface s(100, 100);
    s.Draw(*scene);
    EXPECT_EQ(s.Alpha(50, 50), mode == TMatteMode::Alpha ? 0 : 255);
  }
}

TEST_P(LottieRenderClip, PrecompClipStraightAndRotated) {
  for (bool rotated : {false, true}) {
    SCOPED_TRACE(rotated ? "Rotated" : "Straight");
    auto scene = MakeScene();
    TSceneNode& precomp = AddNode(scene->Root);
    Add(precomp, Fill({Rect(-100, -100, 300, 300)}, kGreen));
    precomp.HasClip = true;
    precomp.ClipWidth = 40;
    precomp.ClipHeight = 40;
    // Straight: 30..70 square. Rotated a quarter turn less 45 degrees about the same centre.
    const double k = std::sqrt(0.5);
    precomp.ClipTransform = rotated ? TMatrix{k, k, -k, k, 50, 50 - 40 * k} : TMatrix{1, 0, 0, 1, 30, 30};
    TSurface s(100, 100);
    s.Draw(*scene);
    ExpectPixels(s, {{50, 50, kOpaqueGreen}, {50, 35, kOpaqueGreen}, {10, 10, kNone}, {90, 90, kNone},
                     {32, 32, rotated ? kNone : kOpaqueGreen}, {50, 75, rotated ? kOpaqueGreen : kNone}});
  }
}

TEST(LottieRenderLayer, OffscreenLayersBlendLikeDirectDrawing) {
  // Semi-transparent, overlapping items drawn straight, through one layer and through
  // nested layers (masks that keep everything) must give the same pixels, drawn through
  // GDI+ as well as by the coverage rasteriser.
  for (TRasteriser rasteriser : {TRasteriser::GdiPlus, TRasteriser::Coverage}) {
  SCOPED_TRACE(int(rasteriser));
  auto content = [](TSceneNode& N) {
    Add(N, Fill({Rect(10, 10, 60, 60)}, {0.2, 0.4, 0.9, 1}, 0.7));
    Add(N, Fill({Ellipse(60, 60, 30)}, {0.9, 0.5, 0.1, 1}, 0.6));
    Add(N, Stroke({Line({5, 90}, {95, 20})}, {0.1, 0.8, 0.3, 1}, 8));
  };
  const TMask all = Mask(TMaskMode::Add, Rect(-10, -10, 120, 120));
  TSurface direct(100, 100, 0xFF202020), layered(100, 100, 0xFF202020), nested(100, 100, 0xFF202020);
  for (TSurface* s : {&direct, &layered, &nested}) s->Renderer.SetRasteriser(rasteriser);
  auto plain = MakeScene();
  content(plain->Root);
  direct.Draw(*plain);
  auto once = MakeScene();
  TSceneNode& n1 = AddNode(once->Root);
  n1.Masks = {all};
  content(n1);
  layered.Draw(*once);
  auto twice = MakeScene();
  TSceneNode& outer = AddNode(twice->Root);
  outer.Masks = {all};
  TSceneNode& inner = AddNode(outer);
  inner.Masks = {all};
  content(inner);
  nested.Draw(*twice);
  int worst = 0;
  for (size_t i = 0; i < direct.Pixels.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8) {
      worst = std::max(worst, std::abs(int(direct.Pixels[i] >> shift & 0xFF) - int(layered.Pixels[i] >> shift & 0xFF)));
      worst = std::max(worst, std::abs(int(direct.Pixels[i] >> shift & 0xFF) - int(nested.Pixels[i] >> shift & 0xFF)));
    }
  EXPECT_LE(worst, 2);
  }
}

// ---- the coverage rasteriser ----------------------------------------------------------------

// A surface drawn by the coverage rasteriser whatever the test running.
struct TCoverageSurface : TSurface {
  TCoverageSurface(int W, int H) : TSurface(W, H) { Renderer.SetRasteriser(TRasteriser::Coverage); }
};

TEST(LottieRenderCoverage, EdgesLandWhereTheReferencePlayersPutThem) {
  // Coverage is taken on four sample rows per pixel (at 1/8, 3/8, 5/8, 7/8 of it), each
  // crossing the shape exactly: a level edge counts the sample rows below it, an upright
  // edge its exact share of the pixel. Exact areas would differ wherever a level edge does
  // not fall between sample rows, which moves the edges of thin shapes by a pixel.
  auto scene = MakeScene();
  Add(scene->Root, Fill({Rect(10.25, 20.6, 20, 20)}, kRed));  // 10.25..30.25 x 20.6..40.6
  Add(scene->Root, Fill({Rect(50, 20.1, 10, 10)}, kRed));     // every sample row of row 20
  Add(scene->Root, Fill({Rect(70, 20.9, 10, 10)}, kRed));     // none of them
  TSceneNode& masked = AddNode(scene->Root);
  Add(masked, Fill({Rect(50, 50, 40, 40)}, kBlue));
  masked.Masks = {Mask(TMaskMode::Add, Rect(60.5, 50, 40, 40))};
  TCoverageSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{20, 30, kOpaqueRed}, {10, 30, 0xBFBF0000}, {30, 30, 0x40400000}, {20, 20, 0x80800000},
                   {10, 20, 0x60600000}, {20, 40, 0x80800000}, {9, 30, kNone}, {20, 19, kNone},
                   {55, 20, kOpaqueRed}, {55, 19, kNone}, {75, 20, kNone}, {75, 21, kOpaqueRed},
                   {70, 70, kOpaqueBlue}, {60, 70, 0x80000080}, {59, 70, kNone}},
               0);
}

TEST(LottieRenderCoverage, FillAndMaskVerticesSnapToQuarterRows) {
  // A triangle whose apex lies between sample-row boundaries (y 20.3) draws exactly as the
  // one with its apex on the nearest boundary (20.25), filled and as a mask, while moving
  // the apex further (to 20.5) changes the sloped edges' pixels.
  auto draw = [](double ApexY, bool AsMask) {
    auto scene = MakeScene();
    const TContour triangle = Polygon({{50, ApexY}, {90, 60.3}, {10, 60.3}});
    if (AsMask) {
      TSceneNode& layer = AddNode(scene->Root);
      Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
      layer.Masks = {Mask(TMaskMode::Add, triangle)};
    } else {
      Add(scene->Root, Fill({triangle}, kRed));
    }
    TCoverageSurface s(100, 100);
    s.Draw(*scene);
    return s.Pixels;
  };
  for (bool mask : {false, true}) {
    SCOPED_TRACE(mask ? "Mask" : "Fill");
    EXPECT_EQ(draw(20.3, mask), draw(20.25, mask));
    EXPECT_NE(draw(20.5, mask), draw(20.25, mask));
  }
}

TEST(LottieRenderCoverage, ThinLinesKeepTheirWeight) {
  // Lines 1.7 px wide between pixel rows, as the reference renderer draws them: level, the
  // band 19.45..21.15 holds 2, 4 and 1 sample rows of rows 19, 20 and 21; upright, the band
  // 49.45..51.15 covers 0.55, 1 and 0.15 of columns 49, 50 and 51.
  auto scene = MakeScene();
  Add(scene->Root, Stroke({Line({10, 20.3}, {90, 20.3})}, kWhite, 1.7));
  Add(scene->Root, Stroke({Line({50.3, 40}, {50.3, 90})}, kWhite, 1.7));
  TCoverageSurface s(100, 100);
  s.Draw(*scene);
  std::vector<int> level, upright;
  for (int i = 18; i <= 22; ++i) level.push_back(s.Alpha(30, i));
  for (int i = 48; i <= 52; ++i) upright.push_back(s.Alpha(i, 60));
  EXPECT_EQ(level, (std::vector<int>{0, 128, 255, 64, 0}));
  EXPECT_EQ(upright, (std::vector<int>{0, 140, 255, 38, 0}));
}

TEST(LottieRenderCoverage, EachPaintIsBlendedOnItsOwn) {
  // A shape painted twice, as repeater copies that come round onto each other are: its
  // half-covered edge pixel is half covered twice over (alpha 128, then 128 + 128 * 127 /
  // 255), as in the reference players, not once.
  auto scene = MakeScene();
  for (int i = 0; i < 2; ++i) Add(scene->Root, Fill({Rect(10.5, 10, 20, 20)}, kRed));
  TCoverageSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{10, 20, 0xC0C00000}, {20, 20, kOpaqueRed}}, 0);
}

TEST(LottieRenderCoverage, HugeOutlinesKeepTheirDirection) {
  // A mask a billion pixels across whose edge runs y = x / 2 through the picture: what lies
  // below that line shows, whatever the size of the coordinates that make it.
  auto scene = MakeScene();
  TSceneNode& layer = AddNode(scene->Root);
  Add(layer, Fill({Rect(0, 0, 100, 100)}, kRed));
  layer.Masks = {Mask(TMaskMode::Add, Polygon({{-1e9, -5e8}, {1e9, 5e8}, {1e9, -1e9}}))};
  TCoverageSurface s(100, 100);
  s.Draw(*scene);
  ExpectPixels(s, {{80, 20, kOpaqueRed}, {60, 20, kOpaqueRed}, {60, 40, kNone}, {20, 40, kNone}});
}

TEST(LottieRenderCoverage, UsedWhereGdiPlusDoesNotAntiAlias) {
  EXPECT_EQ(GdiplusAntiAliases(), !UnderWine());
  EXPECT_EQ(TSceneRenderer().UsesCoverage(), !GdiplusAntiAliases());
  TSceneRenderer r;
  r.SetRasteriser(TRasteriser::GdiPlus);
  EXPECT_FALSE(r.UsesCoverage());
  r.SetRasteriser(TRasteriser::Coverage);
  EXPECT_TRUE(r.UsesCoverage());
}

// ---- fit, the caller's surface, robustness ---------------------------------------------------

TEST_P(LottieRenderFit, ScaledUniformlyAndCentred) {
  // A 100 x 50 scene filled edge to edge, into 200 x 200 at (10, 20): scale 2, so
  // 10..210 x 70..170.
  auto scene = MakeScene(100, 50);
  Add(scene->Root, Fill({Rect(0, 0, 100, 50)}, kRed));
  Add(scene->Root, Fill({Rect(0, 0, 10, 10)}, kBlue));  // the top-left corner: 10..30 x 70..90
  TSurface s(240, 240);
  s.Draw(*scene, Gdiplus::RectF(10, 20, 200, 200));
  ExpectPixels(s, {{110, 120, kOpaqueRed}, {110, 66, kNone}, {110, 74, kOpaqueRed}, {110, 166, kOpaqueRed},
                   {110, 174, kNone}, {6, 120, kNone}, {14, 120, kOpaqueRed}, {206, 120, kOpaqueRed},
                   {214, 120, kNone}, {28, 88, kOpaqueBlue}, {32, 92, kOpaqueRed}});
}

TEST_P(LottieRenderSurface, CallerTransformAndClipHonouredAndStateRestored) {
  auto scene = MakeScene();
  Add(scene->Root, Fill({Rect(0, 0, 100, 100)}, kRed));
  TSceneNode& masked = AddNode(scene->Root);  // a layer too, composited under the caller's clip
  Add(masked, Fill({Rect(0, 0, 100, 100)}, kBlue));
  masked.Masks = {Mask(TMaskMode::Add, Rect(0, 60, 100, 40))};
  TSurface s(200, 200);
  Gdiplus::Graphics& g = *s.G;
  g.TranslateTransform(50, 20);
  g.SetClip(Gdiplus::Rect(0, 0, 120, 200));  // in world units: device 50..170
  g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
  g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeNone);
  g.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
  Gdiplus::Matrix before;
  g.GetTransform(&before);
  Gdiplus::RectF clipBefore;
  g.GetClipBounds(&clipBefore);

  s.Draw(*scene, Gdiplus::RectF(0, 0, 100, 100));  // device 50..150 x 20..120
  ExpectPixels(s, {{100, 50, kOpaqueRed}, {100, 100, kOpaqueBlue}, {45, 50, kNone}, {100, 15, kNone}, {160, 50, kNone}});

  Gdiplus::Matrix after;
  g.GetTransform(&after);
  EXPECT_TRUE(after.Equals(&before));
  Gdiplus::RectF clipAfter;
  g.GetClipBounds(&clipAfter);
  EXPECT_TRUE(clipAfter.Equals(clipBefore));
  EXPECT_EQ(g.GetSmoothingMode(), Gdiplus::SmoothingModeNone);
  EXPECT_EQ(g.GetCompositingMode(), Gdiplus::CompositingModeSourceCopy);
  EXPECT_EQ(g.GetPixelOffsetMode(), Gdiplus::PixelOffsetModeNone);
  EXPECT_EQ(g.GetInterpolationMode(), Gdiplus::InterpolationModeBilinear);

  // Clipped to 120 world units wide: a scene drawn at 100..200 shows up to device 170.
  TSurface t(200, 200);
  t.G->TranslateTransform(50, 20);
  t.G->SetClip(Gdiplus::Rect(0, 0, 120, 200));
  t.Draw(*scene, Gdiplus::RectF(50, 0, 100, 100));
  ExpectPixels(t, {{160, 50, kOpaqueRed}, {175, 50, kNone}, {160, 100, kOpaqueBlue}, {175, 100, kNone}});
}

TEST_P(LottieRenderSurface, PageUnitsAreHonoured) {
  auto scene = MakeScene();
  Add(scene->Root, Fill({Rect(0, 0, 100, 100)}, kRed));
  TSurface s(200, 200);
  s.G->SetPageUnit(Gdiplus::UnitPixel);
  s.G->SetPageScale(2);
  s.Draw(*scene, Gdiplus::RectF(0, 0, 50, 50));  // 0..100 device pixels
  ExpectPixels(s, {{90, 90, kOpaqueRed}, {110, 50, kNone}});
  EXPECT_EQ(s.G->GetPageScale(), 2);
}

TEST_P(LottieRenderRobustness, BadValuesDrawNothingOrClampWithoutCrashing) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  struct TCase {
    const char* Name;
    std::function<void(TScene&)> Build;
  };
  const TCase cases[] = {
      {"NaNPoint", [&](TScene& S) { Add(S.Root, Fill({Polygon({{0, 0}, {nan, 10}, {10, 10}})}, kRed)); }},
      {"InfiniteTransform", [&](TScene& S) {
         auto i = Fill({Rect(0, 0, 10, 10)}, kRed);
         i->Transform.M11 = inf;
         Add(S.Root, std::move(i));
       }},
      {"CollapsedTransform", [&](TScene& S) {
         auto i = Stroke({Rect(0, 0, 10, 10)}, kRed, 2);
         i->Transform = {0, 0, 0, 1, 0, 0};
         Add(S.Root, std::move(i));
       }},
      {"HugeCoordinates", [&](TScene& S) { Add(S.Root, Fill({Rect(-1e12, -1e12, 2e12, 2e12)}, kRed)); }},
      {"TinyDashesOnALongLine", [&](TScene& S) {
         auto i = Stroke({Line({0, 50}, {1e6, 50})}, kRed, 2, TLineCap::Round);
         i->Stroke.Dashes = {0, 1e-3};
         Add(S.Root, std::move(i));
       }},
      {"NegativeAndNaNDashes", [&](TScene& S) {
         auto i = Stroke({Line({0, 50}, {100, 50})}, kRed, 2);
         i->Stroke.Dashes = {-5, nan};
         i->Stroke.DashOffset = inf;
         Add(S.Root, std::move(i));
       }},
      {"MalformedContour", [&](TScene& S) {
         auto i = Fill({}, kRed);
         TContour c;
         c.Points = {{0, 0}, {10, 0}};  // no whole segment
         i->Path = {c, TContour{}};
         Add(S.Root, std::move(i));
       }},
      {"EmptyGradientAndDegenerateRadial", [&](TScene& S) {
         auto a = GradientFill({Rect(0, 0, 50, 50)}, TGradient{});
         Add(S.Root, std::move(a));
         TGradient g = Linear({50, 50}, {50, 50}, {{0, kRed}});
         g.Radial = true;
         g.HighlightLength = nan;
         Add(S.Root, GradientFill({Rect(0, 0, 50, 50)}, g));
       }},
      {"ZeroSizeClipAndHugeMask", [&](TScene& S) {
         TSceneNode& n = AddNode(S.Root);
         Add(n, Fill({Rect(0, 0, 10, 10)}, kRed));
         n.HasClip = true;
         TSceneNode& m = AddNode(S.Root);
         Add(m, Fill({Rect(0, 0, 10, 10)}, kRed));
         m.Masks = {Mask(TMaskMode::Add, Rect(-1e9, -1e9, 2e9, 2e9))};
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto scene = MakeScene();
    c.Build(*scene);
    TSurface s(100, 100);
    s.Draw(*scene);
  }
  // A scene without size, or a destination without area, draws nothing.
  auto empty = MakeScene(0, 100);
  Add(empty->Root, Fill({Rect(0, 0, 100, 100)}, kRed));
  TSurface s(100, 100);
  s.Draw(*empty);
  empty->Width = 100;
  s.Draw(*empty, Gdiplus::RectF(0, 0, 0, 100));
  s.Draw(*empty, Gdiplus::RectF(0, 0, -100, 100));
  EXPECT_EQ(s.Alpha(50, 50), 0);
}

// ---- the public class ------------------------------------------------------------------

// One shape layer: a red 60 x 60 rectangle centred in a 100 x 100 composition, at 50 %
// layer opacity.
const char kHalfRedSquare[] = R"({"v":"5.7.0","fr":30,"ip":0,"op":30,"w":100,"h":100,"layers":[
  {"ty":4,"ind":1,"ip":0,"op":30,"st":0,"ks":{"o":{"a":0,"k":50},"p":{"a":0,"k":[50,50,0]},"a":{"a":0,"k":[0,0,0]},
   "s":{"a":0,"k":[100,100,100]},"r":{"a":0,"k":0}},
   "shapes":[{"ty":"rc","p":{"a":0,"k":[0,0]},"s":{"a":0,"k":[60,60]},"r":{"a":0,"k":0}},
             {"ty":"fl","c":{"a":0,"k":[1,0,0,1]},"o":{"a":0,"k":100}}]}]})";

std::unique_ptr<TkaLottieAnimation> LoadText(const char* Text) {
  return TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(Text), std::strlen(Text));
}

TEST(LottieRenderBits, BlendsOverTheBufferThroughGdiPlusAndByCoverage) {
  // A half-opaque red square over opaque blue, in a buffer whose rows are padded.
  auto scene = MakeScene();
  Add(scene->Root, Fill({Rect(20, 20, 60, 60)}, kRed, 0.5));
  for (TRasteriser rasteriser : {TRasteriser::GdiPlus, TRasteriser::Coverage}) {
    SCOPED_TRACE(int(rasteriser));
    TSceneRenderer renderer;
    renderer.SetRasteriser(rasteriser);
    std::vector<uint32_t> bits(64 * 50, 0xFF0000FF);
    renderer.DrawToBits(*scene, bits.data(), 50, 50, 64);
    EXPECT_TRUE(Near(bits[25 * 64 + 25], 0xFF80007F));
    EXPECT_EQ(bits[25 * 64 + 5], 0xFF0000FFu);
    EXPECT_EQ(bits[25 * 64 + 55], 0xFF0000FFu);  // the padding is left alone
  }
}

TEST(LottieRenderBits, DrawsPremultipliedOverTheCallersPixels) {
  auto anim = LoadText(kHalfRedSquare);
  // Opaque blue under the drawing; rows padded to 50 pixels.
  const int w = 40, h = 40, stride = 50 * 4;
  std::vector<uint32_t> bits(50 * h, 0xFF0000FF);
  anim->RenderToBits(reinterpret_cast<uint8_t*>(bits.data()), w, h, stride, 0);
  EXPECT_TRUE(Near(bits[20 * 50 + 20], 0xFF80007F));  // half red over blue
  EXPECT_EQ(bits[2 * 50 + 2], 0xFF0000FFu);            // outside the square
  EXPECT_EQ(bits[20 * 50 + 45], 0xFF0000FFu);          // the padding is left alone

  // Over transparent pixels the values stay premultiplied: alpha 128, red 128.
  std::vector<uint32_t> clear(w * h, 0);
  anim->RenderToBits(reinterpret_cast<uint8_t*>(clear.data()), w, h, w * 4, 0);
  EXPECT_TRUE(Near(clear[20 * w + 20], 0x80800000));

  // Rows not on 4-byte boundaries still work; a stride shorter than a row draws nothing.
  std::vector<uint8_t> odd(size_t(w * 4 + 3) * h, 0);
  anim->RenderToBits(odd.data(), w, h, w * 4 + 3, 0);
  uint32_t p;
  std::memcpy(&p, &odd[size_t(20) * (w * 4 + 3) + 20 * 4], 4);
  EXPECT_TRUE(Near(p, 0x80800000));
  std::vector<uint32_t> shortRows(w * h, 0);
  anim->RenderToBits(reinterpret_cast<uint8_t*>(shortRows.data()), w, h, w * 4 - 4, 0);
  anim->RenderToBits(nullptr, w, h, w * 4, 0);
  EXPECT_EQ(shortRows[20 * w + 20], 0u);
}

TEST(LottieRenderHandles, NoGdiObjectsLeftBehind) {
  auto scene = MakeScene();
  Add(scene->Root, GradientFill({Ellipse(50, 50, 40)}, Linear({10, 0}, {90, 0}, {{0, kRed}, {1, kBlue}})));
  TSceneNode& masked = AddNode(scene->Root);
  Add(masked, Stroke({Rect(20, 20, 60, 60)}, kGreen, 6));
  masked.Masks = {Mask(TMaskMode::Add, Ellipse(50, 50, 30)), Mask(TMaskMode::Subtract, Rect(40, 40, 20, 20))};
  masked.Matte = TMatteMode::Luma;
  masked.MatteSource = std::make_unique<TSceneNode>();
  Add(*masked.MatteSource, Fill({Rect(0, 0, 100, 100)}, kWhite));
  TSceneNode& clipped = AddNode(scene->Root);
  Add(clipped, Fill({Rect(0, 0, 100, 100)}, kRed, 0.3));
  clipped.HasClip = true;
  clipped.ClipWidth = clipped.ClipHeight = 50;
  clipped.ClipTransform = {0.8, 0.6, -0.6, 0.8, 40, 0};
  auto anim = LoadText(kHalfRedSquare);
  std::vector<uint32_t> bits(64 * 64);

  TSurface s(100, 100);
  s.Draw(*scene);
  DrawScene(*scene, *s.G, Gdiplus::RectF(0, 0, 100, 100));
  anim->RenderToBits(reinterpret_cast<uint8_t*>(bits.data()), 64, 64, 64 * 4, 0);
  const int before = GdiObjectCount();
  for (int i = 0; i < 100; ++i) {
    s.Draw(*scene);
    DrawScene(*scene, *s.G, Gdiplus::RectF(0, 0, 100, 100));
    anim->RenderToBits(reinterpret_cast<uint8_t*>(bits.data()), 64, 64, 64 * 4, i % 30);
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace

