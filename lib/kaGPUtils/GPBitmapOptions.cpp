#include "lib/kaGPUtils/GPBitmapOptions.h"

#include <algorithm>

#include "framework/TypeInfo.h"

using namespace Gdiplus;

// ---- Options ------------------------------------------------------------------------------

void TkaGPBitmapOptions::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TkaGPBitmapOptions*>(Source)) {
    FLeftMargin = Other->FLeftMargin;
    FRightMargin = Other->FRightMargin;
    FTopMargin = Other->FTopMargin;
    FBottomMargin = Other->FBottomMargin;
    FStretch = Other->FStretch;
    FStretchBorder = Other->FStretchBorder;
    FDrawOnlyBorder = Other->FDrawOnlyBorder;
    FDrawOnlyClient = Other->FDrawOnlyClient;
    return;
  }
  inherited::Assign(Source);
}

void TkaGPBitmapOptions::Changed() {
  if (OnChange) OnChange(this);
}

void TkaGPBitmapOptions::SetLeftMargin(int Value) {
  FLeftMargin = Value;
  Changed();
}

void TkaGPBitmapOptions::SetTopMargin(int Value) {
  FTopMargin = Value;
  Changed();
}

void TkaGPBitmapOptions::SetRightMargin(int Value) {
  FRightMargin = Value;
  Changed();
}

void TkaGPBitmapOptions::SetBottomMargin(int Value) {
  FBottomMargin = Value;
  Changed();
}

KA_REGISTER_CLASS(TkaGPBitmapOptions, [](auto& c) {
  c.Property(L"LeftMargin", &TkaGPBitmapOptions::LeftMargin, &TkaGPBitmapOptions::SetLeftMargin);
  c.Property(L"TopMargin", &TkaGPBitmapOptions::TopMargin, &TkaGPBitmapOptions::SetTopMargin);
  c.Property(L"RightMargin", &TkaGPBitmapOptions::RightMargin, &TkaGPBitmapOptions::SetRightMargin);
  c.Property(L"BottomMargin", &TkaGPBitmapOptions::BottomMargin, &TkaGPBitmapOptions::SetBottomMargin);
  c.Property(L"Stretch", &TkaGPBitmapOptions::Stretch, &TkaGPBitmapOptions::SetStretch);
  c.Property(L"StretchBorder", &TkaGPBitmapOptions::StretchBorder, &TkaGPBitmapOptions::SetStretchBorder);
  c.Property(L"DrawOnlyBorder", &TkaGPBitmapOptions::DrawOnlyBorder, &TkaGPBitmapOptions::SetDrawOnlyBorder);
  c.Property(L"DrawOnlyClient", &TkaGPBitmapOptions::DrawOnlyClient, &TkaGPBitmapOptions::SetDrawOnlyClient);
});

// ---- Geometry -----------------------------------------------------------------------------

namespace {

float RightOf(const RectF& R) { return R.X + R.Width; }
float BottomOf(const RectF& R) { return R.Y + R.Height; }

// Part limited to the given edges, when that cuts anything off it.
std::optional<RectF> Cut(const RectF& Part, float Left, float Top, float Right, float Bottom) {
  const float L = std::max(Part.X, Left), T = std::max(Part.Y, Top);
  const float R = std::min(RightOf(Part), Right), B = std::min(BottomOf(Part), Bottom);
  if (L == Part.X && T == Part.Y && R == RightOf(Part) && B == BottomOf(Part)) return std::nullopt;
  return RectF(L, T, R - L, B - T);
}

// Everything the layouts are computed from: the image size, its margins in source pixels,
// the margins scaled to the target, and the destination.
struct TGeometry {
  const TkaGPBitmapOptions* Options;
  float W, H;              // image size
  float L, T, R, B;        // margins, source pixels
  float SL, ST, SR, SB;    // margins, destination pixels
  RectF D;
  double Scale, VR, UR;    // DPI scale, logical-to-pixel ratios

  // Tile sizes of the middle part along X and Y, in destination pixels.
  int TileWidth() const { return Round(Scale * (W - L - R) * VR); }
  int TileHeight() const { return Round(Scale * (H - T - B) * UR); }
};

class TPlan {
 public:
  std::vector<TGPImagePartDraw> Draws;

  // A part with no source pixels, or whose clip leaves nothing, draws nothing.
  void Add(const RectF& Dest, const RectF& Source, const std::optional<RectF>& Clip = {}) {
    if (Source.Width <= 0 || Source.Height <= 0) return;
    if (Clip && (Clip->Width <= 0 || Clip->Height <= 0)) return;
    Draws.push_back({Dest, Source, Clip});
  }

  // Tiles of TileW x TileH from (X, Y), Columns + 1 across and Rows + 1 down, all through
  // Clip. A tile below one pixel cannot cover anything: no tiles then.
  void AddTiles(const RectF& Clip, const RectF& Source, float X, float Y, float TileW,
                float TileH, int Columns, int Rows) {
    if (TileW < 1 || TileH < 1) return;
    for (int i = 0; i <= Columns; ++i)
      for (int j = 0; j <= Rows; ++j)
        Add(RectF(X + i * TileW, Y + j * TileH, TileW, TileH), Source, Clip);
  }
};

// Tile count beyond the first along Length; Tile must be at least 1.
int ExtraTiles(float Length, int Tile) { return Tile >= 1 ? Round(Length / Tile) : 0; }

void AddCentred(TPlan& P, const TGeometry& G, int LogicalWidth, int LogicalHeight, bool Logical) {
  const int Width = Logical ? Round(G.Scale * LogicalWidth) : Round(G.Scale * G.W);
  const int Height = Logical ? Round(G.Scale * LogicalHeight) : Round(G.Scale * G.H);
  // An image larger than the destination is pinned to its top-left corner.
  const float X = std::max(static_cast<float>(Round(G.D.X + G.D.Width / 2.0 - Width / 2.0)), G.D.X);
  const float Y = std::max(static_cast<float>(Round(G.D.Y + G.D.Height / 2.0 - Height / 2.0)), G.D.Y);
  P.Add(RectF(X, Y, static_cast<REAL>(Width), static_cast<REAL>(Height)), RectF(0, 0, G.W, G.H));
}

void AddVerticalThree(TPlan& P, const TGeometry& G) {
  const RectF& D = G.D;
  const bool OnlyClient = G.Options->DrawOnlyClient();
  const RectF Top(D.X, D.Y, D.Width, G.ST);
  const RectF Bottom(D.X, BottomOf(D) - G.SB, D.Width, G.SB);
  if (!OnlyClient) {
    P.Add(Top, RectF(0, 0, G.W, G.T), Cut(Top, Top.X, Top.Y, RightOf(Top), BottomOf(D)));
    // The top band wins where the two overlap.
    P.Add(Bottom, RectF(0, G.H - G.B, G.W, G.B),
          Cut(Bottom, Bottom.X, BottomOf(Top), RightOf(Bottom), BottomOf(Bottom)));
  }
  const RectF M = OnlyClient ? D : RectF(D.X, D.Y + G.ST, D.Width, D.Height - G.ST - G.SB);
  if (M.Height <= 0 || G.Options->DrawOnlyBorder()) return;
  const RectF Source(0, G.T, G.W, G.H - G.T - G.B);
  if (G.Options->Stretch()) {
    P.Add(M, Source);
    return;
  }
  const int Tile = G.TileHeight();
  P.AddTiles(M, Source, M.X, M.Y, M.Width, static_cast<REAL>(Tile), 0, ExtraTiles(M.Height, Tile));
}

void AddHorizontalThree(TPlan& P, const TGeometry& G) {
  const RectF& D = G.D;
  const bool OnlyClient = G.Options->DrawOnlyClient();
  const RectF Left(D.X, D.Y, G.SL, D.Height);
  const RectF Right(RightOf(D) - G.SR, D.Y, G.SR, D.Height);
  if (!OnlyClient) {
    P.Add(Left, RectF(0, 0, G.L, G.H), Cut(Left, Left.X, Left.Y, RightOf(D), BottomOf(Left)));
    P.Add(Right, RectF(G.W - G.R, 0, G.R, G.H),
          Cut(Right, RightOf(Left), Right.Y, RightOf(Right), BottomOf(Right)));
  }
  const RectF M = OnlyClient ? D : RectF(D.X + G.SL, D.Y, D.Width - G.SL - G.SR, D.Height);
  if (M.Width <= 0 || G.Options->DrawOnlyBorder()) return;
  const RectF Source(G.L, 0, G.W - G.L - G.R, G.H);
  if (G.Options->Stretch()) {
    P.Add(M, Source);
    return;
  }
  const int Tile = G.TileWidth();
  P.AddTiles(M, Source, M.X, M.Y, static_cast<REAL>(Tile), M.Height, ExtraTiles(M.Width, Tile), 0);
}

// An edge of the nine parts: stretched (clipped only where cut), or tiled along its length
// through its (possibly cut) rectangle.
void AddEdge(TPlan& P, const TGeometry& G, const RectF& Edge, const RectF& Source,
             const std::optional<RectF>& CutClip, bool AlongX) {
  if (G.Options->StretchBorder()) {
    P.Add(Edge, Source, CutClip);
    return;
  }
  const RectF Clip = CutClip.value_or(Edge);
  if (AlongX) {
    const int Tile = G.TileWidth();
    P.AddTiles(Clip, Source, Clip.X, Edge.Y, static_cast<REAL>(Tile), Edge.Height,
               ExtraTiles(Clip.Width, Tile), 0);
  } else {
    const int Tile = G.TileHeight();
    P.AddTiles(Clip, Source, Edge.X, Clip.Y, Edge.Width, static_cast<REAL>(Tile), 0,
               ExtraTiles(Clip.Height, Tile));
  }
}

void AddNineBorder(TPlan& P, const TGeometry& G) {
  const RectF& D = G.D;
  const float DR = RightOf(D), DB = BottomOf(D);
  const float MidW = D.Width - G.SL - G.SR, MidH = D.Height - G.ST - G.SB;
  const float SrcMidW = G.W - G.L - G.R, SrcMidH = G.H - G.T - G.B;

  // Corners: each later one gives way to those drawn before it and to D's far edges.
  const RectF TL(D.X, D.Y, G.SL, G.ST), TR(DR - G.SR, D.Y, G.SR, G.ST);
  const RectF BL(D.X, DB - G.SB, G.SL, G.SB), BR(DR - G.SR, DB - G.SB, G.SR, G.SB);
  P.Add(TL, RectF(0, 0, G.L, G.T), Cut(TL, TL.X, TL.Y, DR, DB));
  P.Add(TR, RectF(G.W - G.R, 0, G.R, G.T), Cut(TR, RightOf(TL), TR.Y, RightOf(TR), DB));
  P.Add(BL, RectF(0, G.H - G.B, G.L, G.B), Cut(BL, BL.X, BottomOf(TL), DR, BottomOf(BL)));
  P.Add(BR, RectF(G.W - G.R, G.H - G.B, G.R, G.B),
        Cut(BR, RightOf(BL), BottomOf(TR), RightOf(BR), BottomOf(BR)));

  const RectF Et(D.X + G.SL, D.Y, MidW, G.ST), Eb(D.X + G.SL, DB - G.SB, MidW, G.SB);
  const RectF El(D.X, D.Y + G.ST, G.SL, MidH), Er(DR - G.SR, D.Y + G.ST, G.SR, MidH);
  if (MidW > 0) {
    AddEdge(P, G, Et, RectF(G.L, 0, SrcMidW, G.T), Cut(Et, Et.X, Et.Y, RightOf(Et), DB), true);
    AddEdge(P, G, Eb, RectF(G.L, G.H - G.B, SrcMidW, G.B),
            Cut(Eb, Eb.X, BottomOf(Et), RightOf(Eb), BottomOf(Eb)), true);
  }
  if (MidH > 0) {
    AddEdge(P, G, El, RectF(0, G.T, G.L, SrcMidH), Cut(El, El.X, El.Y, DR, BottomOf(El)), false);
    AddEdge(P, G, Er, RectF(G.W - G.R, G.T, G.R, SrcMidH),
            Cut(Er, RightOf(El), Er.Y, RightOf(Er), BottomOf(Er)), false);
  }
}

void AddNineCentre(TPlan& P, const TGeometry& G) {
  const RectF& D = G.D;
  const RectF C = G.Options->DrawOnlyClient()
                      ? D
                      : RectF(D.X + G.SL, D.Y + G.ST, D.Width - G.SL - G.SR, D.Height - G.ST - G.SB);
  if (C.Width <= 0 || C.Height <= 0 || G.Options->DrawOnlyBorder()) return;
  const RectF Source(G.L, G.T, G.W - G.L - G.R, G.H - G.T - G.B);
  if (G.Options->Stretch()) {
    P.Add(C, Source);
    return;
  }
  const int TW = G.TileWidth(), TH = G.TileHeight();
  P.AddTiles(C, Source, C.X, C.Y, static_cast<REAL>(TW), static_cast<REAL>(TH),
             ExtraTiles(C.Width, TW), ExtraTiles(C.Height, TH));
}

bool IsSet(int Margin) { return Margin >= 1; }

}  // namespace

std::vector<TGPImagePartDraw> GPImagePartDraws(const TkaGPBitmapOptions* Options, int ImageWidth,
                                               int ImageHeight, const TGPRectF& DestRect,
                                               int LogicalWidth, int LogicalHeight,
                                               double ScaleFactor) {
  TPlan P;
  if (Options == nullptr || ImageWidth <= 0 || ImageHeight <= 0) return P.Draws;
  const bool Logical = LogicalWidth >= 1 && LogicalHeight >= 1;
  TGeometry G{};
  G.Options = Options;
  G.W = static_cast<float>(ImageWidth);
  G.H = static_cast<float>(ImageHeight);
  G.D = DestRect;
  G.Scale = ScaleFactor;
  G.VR = Logical ? static_cast<double>(LogicalWidth) / ImageWidth : 1.0;
  G.UR = Logical ? static_cast<double>(LogicalHeight) / ImageHeight : 1.0;
  const int L = Options->LeftMargin(), T = Options->TopMargin();
  const int R = Options->RightMargin(), B = Options->BottomMargin();
  G.L = static_cast<float>(L);
  G.T = static_cast<float>(T);
  G.R = static_cast<float>(R);
  G.B = static_cast<float>(B);
  auto ScaleMargin = [&](int Margin, double Ratio) {
    const int Scaled = Round(ScaleFactor * Margin);
    return static_cast<float>(Logical ? Round(Scaled * Ratio) : Scaled);
  };
  G.SL = ScaleMargin(L, G.VR);
  G.SR = ScaleMargin(R, G.VR);
  G.ST = ScaleMargin(T, G.UR);
  G.SB = ScaleMargin(B, G.UR);

  const bool Horizontal = IsSet(L) && IsSet(R), Vertical = IsSet(T) && IsSet(B);
  if (Horizontal && Vertical) {
    if (!Options->DrawOnlyClient()) AddNineBorder(P, G);
    AddNineCentre(P, G);
  } else if (Vertical) {
    AddVerticalThree(P, G);
  } else if (Horizontal) {
    AddHorizontalThree(P, G);
  } else if (L == 0 && T == 0 && R == 0 && B == 0) {
    AddCentred(P, G, LogicalWidth, LogicalHeight, Logical);
  }
  return P.Draws;
}

void GPDrawImageWithOptions(Graphics* G, Image* Image, const TkaGPBitmapOptions* Options,
                            const TGPRectF& DestRect, int LogicalWidth, int LogicalHeight,
                            double ScaleFactor) {
  if (G == nullptr || Image == nullptr) return;
  const auto Draws =
      GPImagePartDraws(Options, static_cast<int>(Image->GetWidth()), static_cast<int>(Image->GetHeight()),
                       DestRect, LogicalWidth, LogicalHeight, ScaleFactor);
  // Runs of draws through the same clip (the tiles of one part) share one intersect-clip.
  std::optional<TGPClipScope> ClipScope;
  const RectF* Active = nullptr;
  for (const TGPImagePartDraw& Draw : Draws) {
    const RectF* Wanted = Draw.Clip ? &*Draw.Clip : nullptr;
    const bool Same = Active == Wanted || (Active != nullptr && Wanted != nullptr && Active->Equals(*Wanted));
    if (!Same) {
      if (Active != nullptr) G->ResetClip();
      if (Wanted != nullptr) {
        if (!ClipScope) ClipScope.emplace(G);
        G->IntersectClip(*Wanted);
      }
      Active = Wanted;
    }
    G->DrawImage(Image, Draw.Dest, Draw.Source.X, Draw.Source.Y, Draw.Source.Width,
                 Draw.Source.Height, UnitPixel);
  }
}
