// GDI+ image drawing by margins: the options object (change events, copying, published
// properties), the exact list of part draws for every layout, and the drawing itself on a
// surface, read back pixel by pixel.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/TypeInfo.h"
#include "lib/kaGPUtils/kaGPUtils.h"

using namespace Gdiplus;

namespace {

std::string Str(const RectF& R) {
  std::ostringstream s;
  s << "(" << R.X << ", " << R.Y << ", " << R.Width << ", " << R.Height << ")";
  return s.str();
}

std::string Str(const TGPImagePartDraw& D) {
  return Str(D.Dest) + " <- " + Str(D.Source) + (D.Clip ? " clip " + Str(*D.Clip) : "");
}

std::string Str(const std::vector<TGPImagePartDraw>& Draws) {
  std::string s;
  for (const auto& d : Draws) s += "\n  " + Str(d);
  return s;
}

bool Same(const TGPImagePartDraw& A, const TGPImagePartDraw& B) {
  if (!A.Dest.Equals(B.Dest) || !A.Source.Equals(B.Source) || A.Clip.has_value() != B.Clip.has_value()) return false;
  return !A.Clip || A.Clip->Equals(*B.Clip);
}

void ExpectDraws(const std::vector<TGPImagePartDraw>& Actual, const std::vector<TGPImagePartDraw>& Expected) {
  bool same = Actual.size() == Expected.size();
  for (size_t i = 0; same && i < Actual.size(); ++i) same = Same(Actual[i], Expected[i]);
  EXPECT_TRUE(same) << "actual:" << Str(Actual) << "\nexpected:" << Str(Expected);
}

struct TMargins {
  int L, T, R, B;
};

std::unique_ptr<TkaGPBitmapOptions> MakeOptions(TMargins M, bool Stretch = true, bool StretchBorder = true) {
  auto o = std::make_unique<TkaGPBitmapOptions>();
  o->SetLeftMargin(M.L);
  o->SetTopMargin(M.T);
  o->SetRightMargin(M.R);
  o->SetBottomMargin(M.B);
  o->SetStretch(Stretch);
  o->SetStretchBorder(StretchBorder);
  return o;
}

// ---- The options object ------------------------------------------------------------------

TEST(GPBitmapOptions, MarginsAlwaysNotifySwitchesNeverAndAssignCopiesQuietly) {
  TkaGPBitmapOptions o;
  EXPECT_TRUE(o.Stretch());
  EXPECT_FALSE(o.StretchBorder() || o.DrawOnlyBorder() || o.DrawOnlyClient());
  EXPECT_EQ(o.LeftMargin() | o.TopMargin() | o.RightMargin() | o.BottomMargin(), 0);

  int changes = 0;
  o.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &o);
    ++changes;
  };
  struct TSetter {
    const char* Name;
    std::function<void()> Set;
    int Changes;
  };
  const TSetter setters[] = {
      {"LeftToSameValue", [&] { o.SetLeftMargin(0); }, 1},
      {"Top", [&] { o.SetTopMargin(4); }, 1},
      {"Right", [&] { o.SetRightMargin(-2); }, 1},
      {"Bottom", [&] { o.SetBottomMargin(7); }, 1},
      {"Stretch", [&] { o.SetStretch(false); }, 0},
      {"StretchBorder", [&] { o.SetStretchBorder(true); }, 0},
      {"DrawOnlyBorder", [&] { o.SetDrawOnlyBorder(true); }, 0},
      {"DrawOnlyClient", [&] { o.SetDrawOnlyClient(true); }, 0},
  };
  for (const auto& s : setters) {
    SCOPED_TRACE(s.Name);
    changes = 0;
    s.Set();
    EXPECT_EQ(changes, s.Changes);
  }

  TkaGPBitmapOptions copy;
  int copyChanges = 0;
  copy.OnChange = [&](TObject*) { ++copyChanges; };
  copy.Assign(&o);
  EXPECT_EQ(copyChanges, 0);
  EXPECT_EQ(copy.LeftMargin(), 0);
  EXPECT_EQ(copy.TopMargin(), 4);
  EXPECT_EQ(copy.RightMargin(), -2);
  EXPECT_EQ(copy.BottomMargin(), 7);
  EXPECT_FALSE(copy.Stretch());
  EXPECT_TRUE(copy.StretchBorder());
  EXPECT_TRUE(copy.DrawOnlyBorder());
  EXPECT_TRUE(copy.DrawOnlyClient());
  EXPECT_TRUE(static_cast<bool>(copy.OnChange)) << "the handler is not copied over";

  TStringList other;
  try {
    copy.Assign(&other);
    ADD_FAILURE() << "assigning a string list must fail";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Cannot assign a TStringList to a TkaGPBitmapOptions");
  }
}

TEST(GPBitmapOptions, PublishedInStreamingOrderAndWritable) {
  const TClassInfo& info = StaticClassInfo<TkaGPBitmapOptions>();
  std::vector<String> names;
  for (const auto& p : info.OwnProperties()) names.push_back(p->Name);
  const std::vector<String> expected = {L"LeftMargin", L"TopMargin", L"RightMargin", L"BottomMargin",
                                        L"Stretch", L"StretchBorder", L"DrawOnlyBorder", L"DrawOnlyClient"};
  EXPECT_EQ(names, expected);

  TkaGPBitmapOptions o;
  info.FindProperty(L"bottommargin")->Write(&o, TPropValue(int64_t(9)));
  info.FindProperty(L"DrawOnlyClient")->Write(&o, TPropValue(true));
  EXPECT_EQ(o.BottomMargin(), 9);
  EXPECT_TRUE(o.DrawOnlyClient());
  EXPECT_EQ(std::get<bool>(info.FindProperty(L"Stretch")->Read(&o)), true);
}

// ---- Geometry ------------------------------------------------------------------------------

TEST(GPImageParts, CentredWholeImage) {
  struct TCase {
    const char* Name;
    RectF Dest;
    int LogicalW, LogicalH;
    double Scale;
    RectF Expected;
  };
  const TCase cases[] = {
      // x = Round(50 - 15) = 35, y = Round(50 - 7.5) = 42 (half to even).
      {"Scaled", {0, 0, 100, 100}, 0, 0, 1.5, {35, 42, 30, 15}},
      {"TooSmallIsPinnedTopLeft", {5, 6, 10, 10}, 0, 0, 1.5, {5, 6, 30, 15}},
      {"LogicalSize", {0, 0, 100, 100}, 40, 20, 1.0, {30, 40, 40, 20}},
      {"LogicalSizeNeedsBoth", {0, 0, 100, 100}, 40, 0, 1.0, {40, 45, 20, 10}},
      // x = Round(9.5 + 25 - 10) = Round(24.5) = 24.
      {"HalfToEvenOffOrigin", {9.5f, 0, 50, 50}, 0, 0, 1.0, {24, 20, 20, 10}},
  };
  TkaGPBitmapOptions o;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectDraws(GPImagePartDraws(&o, 20, 10, c.Dest, c.LogicalW, c.LogicalH, c.Scale),
                {{c.Expected, {0, 0, 20, 10}, {}}});
  }
}

TEST(GPImageParts, NoCompletePairDrawsNothing) {
  const TMargins cases[] = {{5, 0, 0, 0}, {0, 0, 0, -1}, {-3, 0, -3, 0}, {4, 4, 0, 0}};
  for (const auto& m : cases) {
    auto o = MakeOptions(m);
    EXPECT_TRUE(GPImagePartDraws(o.get(), 20, 20, {0, 0, 50, 50}, 0, 0, 1.0).empty())
        << m.L << " " << m.T << " " << m.R << " " << m.B;
  }
  TkaGPBitmapOptions plain;
  EXPECT_TRUE(GPImagePartDraws(&plain, 0, 10, {0, 0, 50, 50}, 0, 0, 1.0).empty()) << "an image without pixels";
}

TEST(GPImageParts, VerticalThreeParts) {
  struct TCase {
    const char* Name;
    TMargins Margins;
    RectF Dest;
    std::vector<TGPImagePartDraw> Expected;
  };
  // A 10 x 30 image: rows 0-9 top, 10-19 middle, 20-29 bottom.
  const TCase cases[] = {
      {"SideMarginsPlayNoPart", {5, 10, 0, 10}, {0, 0, 40, 100},
       {{{0, 0, 40, 10}, {0, 0, 10, 10}, {}}, {{0, 90, 40, 10}, {0, 20, 10, 10}, {}},
        {{0, 10, 40, 80}, {0, 10, 10, 10}, {}}}},
      {"NegativeSideMarginsToo", {-4, 10, -4, 10}, {2, 3, 40, 50},
       {{{2, 3, 40, 10}, {0, 0, 10, 10}, {}}, {{2, 43, 40, 10}, {0, 20, 10, 10}, {}},
        {{2, 13, 40, 30}, {0, 10, 10, 10}, {}}}},
      // Shorter than both bands: the top band wins, the middle is skipped.
      {"BandsOverlap", {0, 10, 0, 10}, {0, 0, 40, 15},
       {{{0, 0, 40, 10}, {0, 0, 10, 10}, {}}, {{0, 5, 40, 10}, {0, 20, 10, 10}, RectF(0, 10, 40, 5)}}},
      // Shorter than the top band: it is cut at the bottom and nothing of the bottom band shows.
      {"ShorterThanTopBand", {0, 10, 0, 10}, {0, 0, 40, 6}, {{{0, 0, 40, 10}, {0, 0, 10, 10}, RectF(0, 0, 40, 6)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto o = MakeOptions(c.Margins);
    ExpectDraws(GPImagePartDraws(o.get(), 10, 30, c.Dest, 0, 0, 1.0), c.Expected);
  }
}

// Left edges of the draws, for tiling checks.
std::vector<float> Xs(const std::vector<TGPImagePartDraw>& Draws, size_t From) {
  std::vector<float> xs;
  for (size_t i = From; i < Draws.size(); ++i) xs.push_back(Draws[i].Dest.X);
  return xs;
}

TEST(GPImageParts, HorizontalThreePartsTileTheMiddle) {
  struct TCase {
    const char* Name;
    float DestWidth;
    std::vector<float> TileXs;  // n = Round(middle / tile), n + 1 tiles
  };
  // A 30 x 10 image with 10-pixel side columns: a 10-pixel middle tile.
  const TCase cases[] = {
      {"EightTilesFitExactly", 100, {10, 20, 30, 40, 50, 60, 70, 80, 90}},
      {"MiddleOneAndAHalfTiles", 35, {10, 20, 30}},
      {"MiddleHalfATile", 25, {10}},
      {"NoMiddle", 20, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto o = MakeOptions({10, 0, 10, 0}, false);
    const auto draws = GPImagePartDraws(o.get(), 30, 10, {0, 0, c.DestWidth, 20}, 0, 0, 1.0);
    ASSERT_GE(draws.size(), 2u);
    ExpectDraws({draws[0], draws[1]}, {{{0, 0, 10, 20}, {0, 0, 10, 10}, {}},
                                       {{c.DestWidth - 10, 0, 10, 20}, {20, 0, 10, 10}, {}}});
    EXPECT_EQ(Xs(draws, 2), c.TileXs);
    const RectF middle(10, 0, c.DestWidth - 20, 20);
    for (size_t i = 2; i < draws.size(); ++i) {
      EXPECT_TRUE(draws[i].Source.Equals(RectF(10, 0, 10, 10)));
      EXPECT_EQ(draws[i].Dest.Width, 10);
      ASSERT_TRUE(draws[i].Clip.has_value());
      EXPECT_TRUE(draws[i].Clip->Equals(middle)) << Str(*draws[i].Clip);
    }
  }
}

TEST(GPImageParts, MarginsThatLeaveNoMiddleSkipOnlyTheMiddle) {
  for (bool stretch : {true, false}) {
    SCOPED_TRACE(stretch);
    auto o = MakeOptions({10, 0, 12, 0}, stretch);  // 20 pixels wide: the columns cross
    ExpectDraws(GPImagePartDraws(o.get(), 20, 10, {0, 0, 100, 10}, 0, 0, 1.0),
                {{{0, 0, 10, 10}, {0, 0, 10, 10}, {}}, {{88, 0, 12, 10}, {8, 0, 12, 10}, {}}});
    auto nine = MakeOptions({10, 10, 10, 10}, stretch, false);  // 20 x 20: no middle either way
    const auto draws = GPImagePartDraws(nine.get(), 20, 20, {0, 0, 100, 100}, 0, 0, 1.0);
    EXPECT_EQ(Str(draws), Str(std::vector<TGPImagePartDraw>{{{0, 0, 10, 10}, {0, 0, 10, 10}, {}},
                                                            {{90, 0, 10, 10}, {10, 0, 10, 10}, {}},
                                                            {{0, 90, 10, 10}, {0, 10, 10, 10}, {}},
                                                            {{90, 90, 10, 10}, {10, 10, 10, 10}, {}}}));
  }
}

TEST(GPImageParts, NinePartsStretched) {
  struct TCase {
    const char* Name;
    TMargins Margins;
    int ImageSize;
    RectF Dest;
    int LogicalSize;
    double Scale;
    std::vector<TGPImagePartDraw> Expected;
  };
  const TCase cases[] = {
      // A 30 x 30 image with 10-pixel margins into 100 x 60 at (0, 0).
      {"Plain", {10, 10, 10, 10}, 30, {0, 0, 100, 60}, 0, 1.0,
       {{{0, 0, 10, 10}, {0, 0, 10, 10}, {}},         // top left
        {{90, 0, 10, 10}, {20, 0, 10, 10}, {}},       // top right
        {{0, 50, 10, 10}, {0, 20, 10, 10}, {}},       // bottom left
        {{90, 50, 10, 10}, {20, 20, 10, 10}, {}},     // bottom right
        {{10, 0, 80, 10}, {10, 0, 10, 10}, {}},       // top
        {{10, 50, 80, 10}, {10, 20, 10, 10}, {}},     // bottom
        {{0, 10, 10, 40}, {0, 10, 10, 10}, {}},       // left
        {{90, 10, 10, 40}, {20, 10, 10, 10}, {}},     // right
        {{10, 10, 80, 40}, {10, 10, 10, 10}, {}}}},   // centre
      // Scale 1.25: 10 -> 12.5 -> 12 and 6 -> 7.5 -> 8 (half to even); uneven margins.
      {"ScaledUneven", {10, 6, 6, 10}, 30, {5, 5, 100, 60}, 0, 1.25,
       {{{5, 5, 12, 8}, {0, 0, 10, 6}, {}},
        {{97, 5, 8, 8}, {24, 0, 6, 6}, {}},
        {{5, 53, 12, 12}, {0, 20, 10, 10}, {}},
        {{97, 53, 8, 12}, {24, 20, 6, 10}, {}},
        {{17, 5, 80, 8}, {10, 0, 14, 6}, {}},
        {{17, 53, 80, 12}, {10, 20, 14, 10}, {}},
        {{5, 13, 12, 40}, {0, 6, 10, 14}, {}},
        {{97, 13, 8, 40}, {24, 6, 6, 14}, {}},
        {{17, 13, 80, 40}, {10, 6, 14, 14}, {}}}},
      // A 60-pixel image designed at 30: margins of 20 source pixels become 10.
      {"LogicalHalfSize", {20, 20, 20, 20}, 60, {0, 0, 50, 50}, 30, 1.0,
       {{{0, 0, 10, 10}, {0, 0, 20, 20}, {}},
        {{40, 0, 10, 10}, {40, 0, 20, 20}, {}},
        {{0, 40, 10, 10}, {0, 40, 20, 20}, {}},
        {{40, 40, 10, 10}, {40, 40, 20, 20}, {}},
        {{10, 0, 30, 10}, {20, 0, 20, 20}, {}},
        {{10, 40, 30, 10}, {20, 40, 20, 20}, {}},
        {{0, 10, 10, 30}, {0, 20, 20, 20}, {}},
        {{40, 10, 10, 30}, {40, 20, 20, 20}, {}},
        {{10, 10, 30, 30}, {20, 20, 20, 20}, {}}}},
      // Smaller than two corners: the top-left one whole, the others cut where they overlap it.
      {"SmallerThanTheCorners", {10, 10, 10, 10}, 30, {0, 0, 15, 15}, 0, 1.0,
       {{{0, 0, 10, 10}, {0, 0, 10, 10}, {}},
        {{5, 0, 10, 10}, {20, 0, 10, 10}, RectF(10, 0, 5, 10)},
        {{0, 5, 10, 10}, {0, 20, 10, 10}, RectF(0, 10, 10, 5)},
        {{5, 5, 10, 10}, {20, 20, 10, 10}, RectF(10, 10, 5, 5)}}},
      // Smaller than one corner: it is cut at the destination, nothing else shows.
      {"SmallerThanOneCorner", {10, 10, 10, 10}, 30, {0, 0, 6, 7}, 0, 1.0,
       {{{0, 0, 10, 10}, {0, 0, 10, 10}, RectF(0, 0, 6, 7)}}},
      // Wide but short: the side edges vanish, the bottom edge gives way to the top one.
      {"ShortEdgesOverlap", {10, 10, 10, 10}, 30, {0, 0, 50, 15}, 0, 1.0,
       {{{0, 0, 10, 10}, {0, 0, 10, 10}, {}},
        {{40, 0, 10, 10}, {20, 0, 10, 10}, {}},
        {{0, 5, 10, 10}, {0, 20, 10, 10}, RectF(0, 10, 10, 5)},
        {{40, 5, 10, 10}, {20, 20, 10, 10}, RectF(40, 10, 10, 5)},
        {{10, 0, 30, 10}, {10, 0, 10, 10}, {}},
        {{10, 5, 30, 10}, {10, 20, 10, 10}, RectF(10, 10, 30, 5)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto o = MakeOptions(c.Margins);
    ExpectDraws(GPImagePartDraws(o.get(), c.ImageSize, c.ImageSize, c.Dest, c.LogicalSize, c.LogicalSize, c.Scale),
                c.Expected);
  }
}

TEST(GPImageParts, NinePartsTiledEdgesAndCentre) {
  auto o = MakeOptions({10, 10, 10, 10}, false, false);
  const auto draws = GPImagePartDraws(o.get(), 30, 30, {0, 0, 55, 45}, 0, 0, 1.0);
  // 4 corners; top and bottom edges 35 long: Round(3.5) = 4, 5 tiles each; left and right
  // edges 25 long: Round(2.5) = 2, 3 tiles each; centre 5 x 3 tiles.
  ASSERT_EQ(draws.size(), 4u + 5 + 5 + 3 + 3 + 15) << Str(draws);
  const RectF top(10, 0, 35, 10), left(0, 10, 10, 25), centre(10, 10, 35, 25);
  for (int k = 0; k < 5; ++k) {
    const auto& d = draws[4 + k];
    EXPECT_TRUE(d.Dest.Equals(RectF(10.0f + 10 * k, 0, 10, 10))) << Str(d);
    EXPECT_TRUE(d.Source.Equals(RectF(10, 0, 10, 10)));
    EXPECT_TRUE(d.Clip && d.Clip->Equals(top)) << "tiles are always clipped";
  }
  for (int k = 0; k < 3; ++k) {
    const auto& d = draws[14 + k];
    EXPECT_TRUE(d.Dest.Equals(RectF(0, 10.0f + 10 * k, 10, 10))) << Str(d);
    EXPECT_TRUE(d.Clip && d.Clip->Equals(left));
  }
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 3; ++j) {
      const auto& d = draws[20 + i * 3 + j];
      EXPECT_TRUE(d.Dest.Equals(RectF(10.0f + 10 * i, 10.0f + 10 * j, 10, 10))) << Str(d);
      EXPECT_TRUE(d.Source.Equals(RectF(10, 10, 10, 10)));
      EXPECT_TRUE(d.Clip && d.Clip->Equals(centre));
    }
}

TEST(GPImageParts, OnlyBorderAndOnlyClient) {
  struct TCase {
    const char* Name;
    bool OnlyBorder, OnlyClient;
    size_t Count;
  };
  const TCase cases[] = {{"OnlyBorder", true, false, 8}, {"OnlyClient", false, true, 1}, {"Both", true, true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (TMargins m : {TMargins{10, 10, 10, 10}, TMargins{0, 10, 0, 10}, TMargins{10, 0, 10, 0}}) {
      auto o = MakeOptions(m);
      o->SetDrawOnlyBorder(c.OnlyBorder);
      o->SetDrawOnlyClient(c.OnlyClient);
      const auto draws = GPImagePartDraws(o.get(), 30, 30, {0, 0, 100, 60}, 0, 0, 1.0);
      const bool nine = m.L != 0 && m.T != 0;
      const size_t border = nine ? 8 : 2;
      const bool onlyBorder = c.OnlyBorder && !c.OnlyClient;
      ASSERT_EQ(draws.size(), onlyBorder ? border : c.Count) << Str(draws);
      const RectF middle(float(m.L), float(m.T), 100.0f - 2 * m.L, 60.0f - 2 * m.T);
      for (const auto& d : draws) {
        RectF overlap;
        if (onlyBorder) {
          EXPECT_FALSE(RectF::Intersect(overlap, d.Dest, middle)) << "the middle stays untouched: " << Str(d);
        }
      }
      if (c.OnlyClient && !c.OnlyBorder)
        ExpectDraws(draws, {{{0, 0, 100, 60}, {float(m.L), float(m.T), 30.0f - 2 * m.L, 30.0f - 2 * m.T}, {}}});
    }
  }
}

// ---- Drawing -------------------------------------------------------------------------------

// A 30 x 30 image of nine 10 x 10 blocks, each its own colour.
ARGB BlockColour(int Column, int Row) { return 0xFF000000u | (0x40u * (Column + 1) << 16) | (0x40u * (Row + 1) << 8); }

// Reset clips are infinite: their bounds reach far beyond any surface.
bool ClipIsReset(const Graphics& G) {
  RectF bounds;
  G.GetClipBounds(&bounds);
  return bounds.Width > 1e6f && bounds.Height > 1e6f;
}

std::unique_ptr<Bitmap> NineBlocks() {
  GPEnsureStarted();
  auto b = std::make_unique<Bitmap>(30, 30, PixelFormat32bppARGB);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) b->SetPixel(x, y, Color(BlockColour(x / 10, y / 10)));
  return b;
}

TEST(GPDrawImageWithOptions, PartsLandWhereThePlanSaysAndTheClipIsReset) {
  auto image = NineBlocks();
  struct TCase {
    const char* Name;
    bool Stretch;
    int X, Y;      // a pixel of the 100 x 60 target
    ARGB Expected; // 0: untouched
  };
  const TCase cases[] = {
      {"TopLeft", true, 4, 4, BlockColour(0, 0)},
      {"TopRight", true, 95, 4, BlockColour(2, 0)},
      {"BottomLeft", true, 4, 55, BlockColour(0, 2)},
      {"BottomRight", true, 95, 55, BlockColour(2, 2)},
      {"TopEdge", true, 50, 4, BlockColour(1, 0)},
      {"RightEdge", true, 95, 30, BlockColour(2, 1)},
      {"Centre", true, 50, 30, BlockColour(1, 1)},
      {"CentreOnlyBorder", false, 50, 30, 0},
      {"BorderOnlyBorder", false, 4, 30, BlockColour(0, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Bitmap target(100, 60, PixelFormat32bppARGB);
    Graphics g(&target);
    g.Clear(Color(0));
    g.SetInterpolationMode(InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    auto o = MakeOptions({10, 10, 10, 10}, c.Stretch, c.Stretch);
    o->SetDrawOnlyBorder(!c.Stretch);
    GPDrawImageWithOptions(&g, image.get(), o.get(), RectF(0, 0, 100, 60), 0, 0, 1.0);
    EXPECT_TRUE(ClipIsReset(g)) << "no clip left behind";
    g.Flush(FlushIntentionSync);
    Color px;
    target.GetPixel(c.X, c.Y, &px);
    EXPECT_EQ(px.GetValue(), c.Expected) << std::hex << px.GetValue();
  }
}

TEST(GPDrawImageWithOptions, TilesAreCutAtTheMiddle) {
  auto image = NineBlocks();
  Bitmap target(35, 30, PixelFormat32bppARGB);
  Graphics g(&target);
  g.Clear(Color(0));
  g.SetInterpolationMode(InterpolationModeNearestNeighbor);
  g.SetPixelOffsetMode(PixelOffsetModeHalf);
  // Middle 15 wide: tiles at 10, 20 and 30, the last one hidden under the right band.
  auto o = MakeOptions({10, 0, 10, 0}, false);
  GPDrawImageWithOptions(&g, image.get(), o.get(), RectF(0, 0, 35, 30), 0, 0, 1.0);
  EXPECT_TRUE(ClipIsReset(g));
  g.Flush(FlushIntentionSync);
  struct TProbe {
    int X;
    ARGB Expected;
  };
  const TProbe probes[] = {{5, BlockColour(0, 0)}, {12, BlockColour(1, 0)}, {22, BlockColour(1, 0)},
                           {27, BlockColour(2, 0)}, {32, BlockColour(2, 0)}};
  for (const auto& p : probes) {
    Color px;
    target.GetPixel(p.X, 5, &px);
    EXPECT_EQ(px.GetValue(), p.Expected) << "x " << p.X << ": " << std::hex << px.GetValue();
  }
}

}  // namespace
