// The vector glyph catalogue drawn the way the glyph button draws it: white on a cleared
// 32-bit bitmap, through a GDI+ surface over the bitmap's canvas with high-quality
// smoothing and the half-pixel offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"
#include "tests/support/Handles.h"

namespace {

constexpr TGPColor White = 0xFFFFFFFF;
constexpr int LastKind = kagpbgkRestoreRect;

std::string KindName(int Kind) {
  return ToUtf8(EnumInfoOf<TkaGPButtonGlyphKind>().NameOf(Kind));
}

class TSurface {
 public:
  TSurface(int W, int H) : FWidth(W), FHeight(H) {
    GPEnsureStarted();
    FBitmap.SetPixelFormat(pf32bit);
    FBitmap.SetSize(W, H);
    FRow0 = static_cast<uint8_t*>(FBitmap.ScanLine(0));
    FStride = FBitmap.BytesPerScanLine();
    FGraphics = std::make_unique<Gdiplus::Graphics>(DC());
    FGraphics->SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    FGraphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HDC DC() { return FBitmap.Canvas()->Handle(); }
  Gdiplus::Graphics* G() { return FGraphics.get(); }

  void Clear() {
    Sync();
    // Rows lie bottom-up: the last row starts the block.
    std::memset(FRow0 - (FHeight - 1) * FStride, 0, static_cast<size_t>(FStride) * FHeight);
  }
  // Makes what was drawn readable.
  void Sync() {
    FGraphics->Flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
  }
  // The pixel (B, G, R, A) at (X, Y), as of the last Sync.
  const uint8_t* Px(int X, int Y) const { return FRow0 - Y * FStride + X * 4; }
  // How much white is at (X, Y): the largest colour channel.
  int Ink(int X, int Y) const {
    const uint8_t* p = Px(X, Y);
    return std::max({p[0], p[1], p[2]});
  }
  std::vector<uint8_t> Pixels() const {
    std::vector<uint8_t> Out;
    for (int Y = 0; Y < FHeight; ++Y) Out.insert(Out.end(), Px(0, Y), Px(0, Y) + FWidth * 4);
    return Out;
  }

 private:
  int FWidth, FHeight;
  TBitmap FBitmap;
  uint8_t* FRow0 = nullptr;
  int FStride = 0;
  std::unique_ptr<Gdiplus::Graphics> FGraphics;
};

std::vector<uint8_t> Render(TSurface& S, int Kind, const TGPRectF& Box, double Scale,
                            uint8_t Thickness, TColor ColorValue = clNone) {
  S.Clear();
  GPDrawGlyph(S.G(), static_cast<TkaGPButtonGlyphKind>(Kind), Box, White, Scale, Thickness,
              ColorValue);
  S.Sync();
  return S.Pixels();
}

// ---- Reach -------------------------------------------------------------------------------
//
// The rule: every inked pixel lies within the box grown on each side by
//   1 pixel (anti-aliasing, or the end pixel a line includes)
//   + P (half the pen, plus the points of mitred joins of up to another half pen)
//   + what the shape reaches beyond the box by design: max(0, Fraction * S + Pens * P).
// The design part is what the glyph's geometry says: a roof above its walls, a head above
// its shoulders, a colour bar of at least three pens under a glyph three quarters high, or
// joins sharper than 60 degrees whose mitres reach more than a pen from their corner.

struct TReach {
  float Fraction = 0, Pens = 0;
};
struct TOverhang {
  TReach Left, Top, Right, Bottom;
};

const std::vector<std::pair<int, TOverhang>>& Overhangs() {
  const float Sharp = 1;  // one more pen for a mitre sharper than 60 degrees
  static const std::vector<std::pair<int, TOverhang>> Table = {
      {kagpbgkRefresh, {{}, {}, {1.0f / 24}, {}}},           // arrow head past the ring
      {kagpbgkExit, {{}, {}, {1.0f / 6}, {}}},               // the arrow leaves the door
      {kagpbgkHome, {{0, Sharp}, {1.0f / 12}, {0, Sharp}, {}}},  // roof apex, sharp eaves
      {kagpbgkCheckOptions, {{}, {0.05f}, {0.05f}, {}}},     // the tick leaps out
      {kagpbgkFileOpen, {{}, {0, 1}, {}, {}}},               // arrow tip a pen above
      {kagpbgkDownload, {{}, {0, 1}, {}, {}}},               // shaft from a pen above
      {kagpbgkUpload, {{}, {}, {}, {0, 1}}},                 // shaft to a pen below
      {kagpbgkFirst, {{}, {0, Sharp}, {}, {0, Sharp}}},
      {kagpbgkLast, {{}, {0, Sharp}, {}, {0, Sharp}}},
      {kagpbgkVideo, {{1.0f / 24}, {}, {1.0f / 24}, {}}},    // body and lens
      {kagpbgkLock, {{}, {0.025f}, {}, {}}},                 // shackle top
      {kagpbgkUnLock, {{}, {0.025f}, {}, {}}},
      {kagpbgkUser, {{}, {0.14f}, {}, {0.1f}}},              // head above, shoulders below
      {kagpbgkObjects, {{}, {0.125f}, {}, {}}},              // circle above
      {kagpbgkCalendar, {{}, {0.1f}, {}, {}}},               // rings above
      {kagpbgkFlag, {{}, {}, {0, Sharp}, {}}},
      {kagpbgkFont, {{}, {1.0f / 12, Sharp}, {}, {}}},       // the A moved up
      {kagpbgkFontColorMarker, {{}, {1.0f / 16, Sharp}, {}, {-0.25f, 4}}},  // and the bar
      {kagpbgkFillColorMarker, {{}, {}, {}, {-0.25f, 4}}},
      {kagpbgkFill, {{0.05f, Sharp}, {}, {1.0f / 12}, {}}},  // drop left, bucket moved right
      {kagpbgkMessageRead, {{}, {0.3f}, {}, {}}},            // the open flap
      {kagpbgkSend, {{}, {}, {1.0f / 12, Sharp}, {}}},       // moved right, sharp tip
      {kagpbgkHelp, {{}, {0.05f}, {}, {0.05f}}},             // hook and dot
      {kagpbgkReplace, {{}, {}, {1.0f / 24}, {}}},           // arrow head
      {kagpbgkShare, {{3.0f / 28}, {}, {}, {}}},             // left circle
      {kagpbgkMapMarker, {{}, {}, {}, {0, Sharp}}},          // sharp tip
      {kagpbgkStar, {{0, Sharp}, {0, Sharp}, {0, Sharp}, {0, Sharp}}},
      {kagpbgkShopBasket, {{}, {}, {}, {-0.2f, 2}}},         // wheels 2P under the cart
      {kagpbgkShopBasketIn, {{}, {}, {}, {-0.2f, 2}}},
      {kagpbgkShopBasketOut, {{}, {}, {}, {-0.2f, 2}}},
  };
  return Table;
}

TOverhang OverhangOf(int Kind) {
  for (const auto& [K, O] : Overhangs())
    if (K == Kind) return O;
  return {};
}

int Allowance(const TReach& R, int S, float P) {
  const float Design = std::max(0.0f, R.Fraction * S + R.Pens * P);
  return static_cast<int>(std::ceil(1 + P + Design));
}

// Draws with Draw into the box (Pad, Pad, S, S) and reports the first pixel beyond the
// reach, and a box without a single strong pixel.
void CheckReach(TSurface& Surface, const std::string& What, int S, float P, const TOverhang& O,
                const std::function<void(Gdiplus::Graphics*, const TGPRectF&)>& Draw) {
  const int Pad = (Surface.Width() - S) / 2;
  Surface.Clear();
  Draw(Surface.G(), TGPRectF(static_cast<float>(Pad), static_cast<float>(Pad),
                             static_cast<float>(S), static_cast<float>(S)));
  Surface.Sync();
  const int L = Pad - Allowance(O.Left, S, P), T = Pad - Allowance(O.Top, S, P);
  const int R = Pad + S + Allowance(O.Right, S, P), B = Pad + S + Allowance(O.Bottom, S, P);
  int Strongest = 0;
  for (int Y = 0; Y < Surface.Height(); ++Y)
    for (int X = 0; X < Surface.Width(); ++X) {
      const int Ink = Surface.Ink(X, Y);
      if (Ink == 0) continue;
      if (X >= Pad && X < Pad + S && Y >= Pad && Y < Pad + S) Strongest = std::max(Strongest, Ink);
      if (X < L || X >= R || Y < T || Y >= B) {
        ADD_FAILURE() << What << ": ink at (" << X - Pad << ", " << Y - Pad
                      << ") relative to the box";
        return;
      }
    }
  EXPECT_GE(Strongest, 128) << What << ": nothing drawn inside the box";
}

TEST(GPGlyphs, EveryKindDrawsInsideItsBoxAndReachesNoFurtherThanItsShape) {
  for (const int S : {8, 11, 16, 23, 32, 64}) {
    TSurface Surface(3 * S + 32, 3 * S + 32);
    for (const double Scale : {1.0, 1.5, 2.0})
      for (const uint8_t T : {0, 1, 2})
        for (int K = 0; K <= LastKind; ++K) {
          const auto Kind = static_cast<TkaGPButtonGlyphKind>(K);
          // Exit's arrow takes the usual pen, the wider of its two.
          const float P = GPGlyphKindUsesHairline(Kind) && Kind != kagpbgkExit
                              ? static_cast<float>(Trunc(T * Scale))
                              : static_cast<float>(GPGlyphPenWidth(T, Scale));
          const std::string What = KindName(K) + " size " + std::to_string(S) + " scale " +
                                   std::to_string(Scale) + " thickness " + std::to_string(T);
          CheckReach(Surface, What, S, P, OverhangOf(K),
                     [&](Gdiplus::Graphics* G, const TGPRectF& Box) {
                       GPDrawGlyph(G, Kind, Box, White, Scale, T, clRed);
                     });
          // Whatever a routine switched, the owner's surface is as it was.
          Gdiplus::Graphics* G = Surface.G();
          EXPECT_EQ(G->GetSmoothingMode(), Gdiplus::SmoothingModeHighQuality) << What;
          EXPECT_EQ(G->GetPixelOffsetMode(), Gdiplus::PixelOffsetModeHalf) << What;
          Gdiplus::Region Clip;
          G->GetClip(&Clip);
          EXPECT_TRUE(Clip.IsInfinite(G)) << What;
        }
  }
}

TEST(GPGlyphs, DropDownArrowAndSizeGripStayInTheirBoxes) {
  for (const int S : {8, 16, 32})
    for (const double Scale : {1.0, 2.0}) {
      TSurface Surface(3 * S + 32, 3 * S + 32);
      const float P = static_cast<float>(GPGlyphPenWidth(1, Scale));
      CheckReach(Surface, "drop-down " + std::to_string(S), S, P, {},
                 [&](Gdiplus::Graphics* G, const TGPRectF& Box) {
                   GPDrawModernDropDownGlyph(G, Box, White, Scale, 1);
                 });
      CheckReach(Surface, "size grip " + std::to_string(S), S, P, {},
                 [&](Gdiplus::Graphics* G, const TGPRectF& Box) {
                   GPDrawSizeGripGlyph(G, Box, White, Scale, 1);
                 });
    }
}

TEST(GPGlyphs, DropDownArrowFillsTheLowerHalfAndGripMarksTwoCorners) {
  TSurface S(50, 50);
  const TGPRectF Box(10, 10, 30, 30);
  S.Clear();
  GPDrawModernDropDownGlyph(S.G(), Box, White, 1.0, 1);
  S.Sync();
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 50; ++X) ASSERT_EQ(S.Ink(X, Y), 0) << X << "," << Y << " above the v";
  EXPECT_GE(std::max(S.Ink(24, 39), S.Ink(25, 39)), 128) << "the v's point";

  S.Clear();
  GPDrawSizeGripGlyph(S.G(), Box, White, 1.0, 1);
  S.Sync();
  // Column / row 39 or 40 carries a line on x = 40 / y = 40 with the half-pixel offset.
  auto Near40 = [&](int X, int Y, bool Vertical) {
    return Vertical ? std::max(S.Ink(39, Y), S.Ink(40, Y)) : std::max(S.Ink(X, 39), S.Ink(X, 40));
  };
  for (int K = 32; K <= 38; ++K) {
    EXPECT_GE(Near40(0, K, true), 128) << "right arm at y " << K;
    EXPECT_GE(Near40(K, 0, false), 128) << "bottom arm at x " << K;
    EXPECT_GE(std::max(S.Ink(9, K - 20), S.Ink(10, K - 20)), 128) << "left arm";
    EXPECT_GE(std::max(S.Ink(K - 20, 9), S.Ink(K - 20, 10)), 128) << "top arm";
  }
  EXPECT_GE(S.Ink(25, 25), 128) << "the diagonal";
  EXPECT_EQ(S.Ink(37, 12), 0) << "nothing at the other corners";
  EXPECT_EQ(S.Ink(12, 37), 0);
}

// ---- Caption glyphs at the demonstration's size: box (17, 9, 10, 10), thickness 1 ------

TEST(GPGlyphs, CloseCrossRunsCornerToCorner) {
  TSurface S(45, 29);
  Render(S, kagpbgkClose, TGPRectF(17, 9, 10, 10), 1.0, 1);
  for (int K = 0; K < 10; ++K) {
    EXPECT_GE(S.Ink(17 + K, 9 + K), 128) << "from (17, 9), step " << K;
    // Pixel 26 - K with the half-pixel offset; a rasteriser that rounds line ends to whole
    // pixels (Wine's) puts it one pixel right.
    EXPECT_GE(std::max(S.Ink(26 - K, 9 + K), S.Ink(27 - K, 9 + K)), 128)
        << "from (27, 9), step " << K;
  }
  // A one-pixel pen: nothing two pixels or more beside either diagonal.
  for (int Y = 0; Y < 29; ++Y)
    for (int X = 0; X < 45; ++X)
      if (std::abs((X - 17) - (Y - 9)) >= 2 && std::abs(X + Y - 35) >= 2) {
        EXPECT_EQ(S.Ink(X, Y), 0) << X << "," << Y;
      }
}

TEST(GPGlyphs, MinimizeIsOneUnsmoothedRow) {
  TSurface S(45, 29);
  Render(S, kagpbgkMinimize, TGPRectF(17, 9, 10, 10), 1.0, 1);
  // (18.67, 14) to (25.33, 14): whole pixels 19 to 25 of row 14, fully opaque.
  for (int X = 19; X <= 25; ++X) EXPECT_EQ(S.Ink(X, 14), 255) << X;
  for (int Y = 0; Y < 29; ++Y)
    for (int X = 0; X < 45; ++X)
      if (Y != 14) {
        EXPECT_EQ(S.Ink(X, Y), 0) << X << "," << Y;
      }
  for (int X = 0; X < 45; ++X) EXPECT_TRUE(S.Ink(X, 14) == 0 || S.Ink(X, 14) == 255) << X;
}

TEST(GPGlyphs, MaximizeRectIsTheRoundedSquareOutline) {
  TSurface S(45, 29);
  Render(S, kagpbgkMaximizeRect, TGPRectF(17, 9, 10, 10), 1.0, 1);
  // (19, 10, 6, 6): columns 19 and 25, rows 10 and 16, whole pixels only.
  for (int Y = 0; Y < 29; ++Y)
    for (int X = 0; X < 45; ++X) {
      const bool Inside = X >= 19 && X <= 25 && Y >= 10 && Y <= 16;
      const bool Edge = Inside && (X == 19 || X == 25 || Y == 10 || Y == 16);
      EXPECT_EQ(S.Ink(X, Y), Edge ? 255 : 0) << X << "," << Y;
    }
}

TEST(GPGlyphs, MaximizeAndRestoreFollowTheWindowsVersion) {
  struct TCase {
    int Major, Minor, Build;
    bool Rounded;
  };
  const TGPRectF Box(17, 9, 10, 10);
  TSurface S(45, 29);
  const auto MaxRect = Render(S, kagpbgkMaximizeRect, Box, 1.0, 1);
  const auto MaxRounded = Render(S, kagpbgkMaximizeRounded, Box, 1.0, 1);
  const auto RestoreRect = Render(S, kagpbgkRestoreRect, Box, 1.0, 1);
  const auto RestoreRounded = Render(S, kagpbgkRestoreRounded, Box, 1.0, 1);
  ASSERT_NE(MaxRect, MaxRounded);
  ASSERT_NE(RestoreRect, RestoreRounded);
  for (const TCase C : {TCase{6, 3, 9600, false}, TCase{10, 0, 19045, false},
                        TCase{10, 0, 21999, false}, TCase{10, 0, 22000, true},
                        TCase{10, 0, 26100, true}}) {
    SCOPED_TRACE(C.Build);
    TkaCompositionTesting Version;
    Version.SetVersion(C.Major, C.Minor, C.Build);
    EXPECT_EQ(Render(S, kagpbgkMaximize, Box, 1.0, 1) == MaxRounded, C.Rounded);
    EXPECT_EQ(Render(S, kagpbgkMaximize, Box, 1.0, 1) == MaxRect, !C.Rounded);
    EXPECT_EQ(Render(S, kagpbgkRestore, Box, 1.0, 1) == RestoreRounded, C.Rounded);
    EXPECT_EQ(Render(S, kagpbgkRestore, Box, 1.0, 1) == RestoreRect, !C.Rounded);
  }
}

// ---- Pens --------------------------------------------------------------------------------

TEST(GPGlyphs, ThicknessZeroIsAHairlineOnlyForTheThinLineKinds) {
  // At scale 2 a thickness of 0 draws exactly like 1 (a 2-pixel pen), except for these,
  // which take it as given (a hairline); Exit's bracket does, its arrow does not.
  const std::set<int> Thin = {
      kagpbgkRewind, kagpbgkForward, kagpbgkSkipToStart, kagpbgkSkipToEnd, kagpbgkExit,
      kagpbgkMap, kagpbgkFileNew, kagpbgkShopBasket, kagpbgkShopBasketIn,
      kagpbgkShopBasketOut, kagpbgkFlag, kagpbgkFilter, kagpbgkVolume, kagpbgkMute,
      kagpbgkFileSave, kagpbgkOutBox, kagpbgkInBox, kagpbgkFolder, kagpbgkPrint, kagpbgkFill,
      kagpbgkFont, kagpbgkUser, kagpbgkTrash, kagpbgkPin, kagpbgkPaste};
  TSurface S(64, 64);
  const TGPRectF Box(16, 16, 32, 32);
  for (int K = 0; K <= LastKind; ++K) {
    // The filled kinds (dots, bars, the filled circle) use no pen at all.
    if (K == kagpbgkMore || K == kagpbgkDetailPoints || K == kagpbgkRecOn) continue;
    const auto Zero = Render(S, K, Box, 2.0, 0, clRed);
    const auto One = Render(S, K, Box, 2.0, 1, clRed);
    EXPECT_EQ(Zero != One, Thin.count(K) == 1) << KindName(K);
    if (Thin.count(K) == 1) {
      long ZeroInk = 0, OneInk = 0;
      for (size_t I = 0; I < Zero.size(); I += 4) {
        ZeroInk += std::max({Zero[I], Zero[I + 1], Zero[I + 2]});
        OneInk += std::max({One[I], One[I + 1], One[I + 2]});
      }
      EXPECT_LT(ZeroInk * 10, OneInk * 7) << KindName(K) << ": a hairline is thinner";
    }
  }
}

TEST(GPGlyphs, CrossPenWidthFollowsThicknessAndScale) {
  // The cross is its two diagonals stroked with a pen of Trunc(T * scale), T = 0 counting as 1.
  struct TCase {
    uint8_t Thickness;
    double Scale;
    float Pen;
  };
  const TGPRectF Box(8, 8, 48, 48);
  TSurface S(64, 64);
  for (const TCase C : {TCase{0, 1.0, 1}, TCase{0, 1.5, 1}, TCase{0, 2.0, 2}, TCase{1, 1.75, 1},
                        TCase{2, 1.25, 2}, TCase{3, 1.5, 4}}) {
    const auto Glyph = Render(S, kagpbgkClose, Box, C.Scale, C.Thickness);
    S.Clear();
    Gdiplus::GraphicsPath Path;
    Path.AddLine(8, 8, 56, 56);
    Path.StartFigure();
    Path.AddLine(56, 8, 8, 56);
    Gdiplus::Pen Pen(Gdiplus::Color(White), C.Pen);
    S.G()->DrawPath(&Pen, &Path);
    S.Sync();
    EXPECT_EQ(Glyph, S.Pixels()) << int(C.Thickness) << " at " << C.Scale;
  }
}

// ---- Fills and colour values -------------------------------------------------------------

TEST(GPGlyphs, FilledAndEmptyPointsOfSolidGlyphs) {
  // Box (4, 4, 36, 36): centre (22, 22); the dots of More are Round(36 / 6) = 6 across.
  struct TCase {
    int Kind;
    int X, Y;
    bool Filled;
  };
  const TCase Cases[] = {
      {kagpbgkMore, 22, 22, true},         {kagpbgkMore, 10, 22, true},
      {kagpbgkMore, 34, 22, true},         {kagpbgkMore, 16, 22, false},
      {kagpbgkMore, 28, 22, false},        {kagpbgkMore, 22, 10, false},
      {kagpbgkDetailPoints, 22, 10, true}, {kagpbgkDetailPoints, 22, 34, true},
      {kagpbgkDetailPoints, 22, 16, false}, {kagpbgkDetailPoints, 10, 22, false},
      {kagpbgkDetails, 22, 22, true},      {kagpbgkDetails, 6, 31, true},
      {kagpbgkDetails, 22, 26, false},     {kagpbgkRecOn, 22, 22, true},
      {kagpbgkRecOn, 14, 22, true},        {kagpbgkRec, 22, 22, false},
      {kagpbgkStop, 22, 22, false},        {kagpbgkPhoto, 10, 19, true},
      {kagpbgkPlay, 16, 22, false},
  };
  TSurface S(44, 44);
  for (const TCase& C : Cases) {
    Render(S, C.Kind, TGPRectF(4, 4, 36, 36), 1.0, 1);
    if (C.Filled)
      EXPECT_EQ(S.Ink(C.X, C.Y), 255) << KindName(C.Kind) << " at " << C.X << "," << C.Y;
    else
      EXPECT_EQ(S.Ink(C.X, C.Y), 0) << KindName(C.Kind) << " at " << C.X << "," << C.Y;
  }
}

TEST(GPGlyphs, ColourMarkersFillWithTheColourValue) {
  TSurface S(60, 60);
  const TGPRectF Box(10, 10, 40, 40);
  // The dot fills the box less H / 10 + 0.9 P; the ring is stroked H / 10 + 0.5 P in.
  Render(S, kagpbgkColorMarker, Box, 1.0, 1, clRed);
  const uint8_t* Centre = S.Px(30, 30);
  EXPECT_EQ(Centre[2], 255);
  EXPECT_EQ(Centre[1], 0);
  EXPECT_EQ(Centre[0], 0);

  Render(S, kagpbgkColorMarker, Box, 1.0, 1, clNone);
  EXPECT_EQ(S.Ink(30, 30), 0) << "clNone fills with transparent black";
  int Ring = 0;
  for (int Y = 12; Y <= 16; ++Y) Ring = std::max(Ring, S.Ink(30, Y));
  EXPECT_GE(Ring, 200) << "the ring stays";

  // The font and fill markers put the colour under the glyph: bar from y = 10 + 30 + P.
  for (const int Kind : {kagpbgkFontColorMarker, kagpbgkFillColorMarker}) {
    Render(S, Kind, Box, 1.0, 1, clLime);
    const uint8_t* Bar = S.Px(30, 45);
    EXPECT_EQ(Bar[1], 255) << KindName(Kind);
    EXPECT_EQ(Bar[2], 0) << KindName(Kind);
    const uint8_t* Above = S.Px(30, 40);
    EXPECT_FALSE(Above[1] == 255 && Above[2] == 0) << KindName(Kind) << ": the bar starts lower";
  }
}

// ---- Kinds, dispatch, resources ----------------------------------------------------------

TEST(GPGlyphs, LayoutsNameEveryKind) {
  const TEnumInfo& Info = EnumInfoOf<TkaGPButtonGlyphKind>();
  std::set<String> Names;
  for (int K = 0; K <= LastKind; ++K) {
    const String Name = Info.NameOf(K);
    ASSERT_EQ(Name.rfind(L"kagpbgk", 0), 0u) << K;
    int64_t Back = -1;
    EXPECT_TRUE(Info.ValueOf(Name, Back));
    EXPECT_EQ(Back, K);
    Names.insert(Name);
  }
  EXPECT_EQ(Names.size(), static_cast<size_t>(LastKind + 1)) << "names are distinct";
  int64_t V = -1;
  EXPECT_TRUE(Info.ValueOf(L"kagpbgkClose", V));
  EXPECT_EQ(V, 37);
  EXPECT_TRUE(Info.ValueOf(L"KAGPBGKRESTORERECT", V));
  EXPECT_EQ(V, 116);
}

TEST(GPGlyphs, SharedRoutinesAndUnknownKinds) {
  const TGPRectF Box(8, 8, 24, 24);
  TSurface S(40, 40);
  const std::pair<int, int> Same[] = {{kagpbgkCancel, kagpbgkClose},
                                      {kagpbgkClear, kagpbgkClose},
                                      {kagpbgkNaviLeft, kagpbgkPriorArrow},
                                      {kagpbgkNaviRight, kagpbgkNextArrow}};
  for (const auto& [A, B] : Same)
    EXPECT_EQ(Render(S, A, Box, 1.5, 2), Render(S, B, Box, 1.5, 2)) << KindName(A);
  const auto Blank = std::vector<uint8_t>(40 * 40 * 4, 0);
  for (const int Bad : {LastKind + 1, -1, 1000})
    EXPECT_EQ(Render(S, Bad, Box, 1.0, 1), Blank) << Bad;
}

TEST(GPGlyphs, ThousandsOfDrawsLeaveNoGdiObjects) {
  TSurface S(40, 40);
  auto DrawAll = [&] {
    for (int Round = 0; Round < 30; ++Round) {
      // A fresh surface per round, as every paint makes one.
      Gdiplus::Graphics G(S.DC());
      G.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
      G.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
      for (int K = 0; K <= LastKind; ++K)
        GPDrawGlyph(&G, static_cast<TkaGPButtonGlyphKind>(K), TGPRectF(4, 4, 32, 32), White, 1.5,
                    1, clRed);
    }
  };
  DrawAll();  // GDI+ makes its lasting objects on first use
  const int Before = GdiObjectCount();
  DrawAll();
  EXPECT_EQ(GdiObjectCount(), Before);
}

}  // namespace
