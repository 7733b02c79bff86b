#include "lib/kaImageCollection/kaImageCollection.h"

#include <algorithm>

#include "framework/PngImage.h"
#include "framework/TypeInfo.h"

// ---- TkaImageCollectionItem -----------------------------------------------------------------

TkaImageCollectionItem::TkaImageCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection),
      FPicture(std::make_unique<TPicture>()),
      FBitmap(std::make_unique<TBitmap>()),
      FBitmapOptions(std::make_unique<TkaBitmapOptions>()) {
  FBitmapOptions->OnChange = [this](TObject*) { CheckBitmapOptions(); };
}

TkaImageCollectionItem::~TkaImageCollectionItem() = default;

void TkaImageCollectionItem::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TkaImageCollectionItem*>(Source)) FPicture->Assign(src->Picture());
  inherited::Assign(Source);
}

void TkaImageCollectionItem::SetDrawStyle(TkaImageDrawStyle Value) {
  if (Value == FDrawStyle) return;
  FDrawStyle = Value;
  Changed(false);
}

void TkaImageCollectionItem::SetTileOffsetX(int Value) {
  if (Value == FTileOffsetX) return;
  FTileOffsetX = Value;
  Changed(false);
}

void TkaImageCollectionItem::SetTileOffsetY(int Value) {
  if (Value == FTileOffsetY) return;
  FTileOffsetY = Value;
  Changed(false);
}

void TkaImageCollectionItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  Changed(false);
}

void TkaImageCollectionItem::SetColor(TColor Value) {
  if (ColorToRGB(Value) == ColorToRGB(FColor)) return;
  FColor = Value;
  // Colours are replaced in straight alpha and multiplied again afterwards.
  FBitmap->SetAlphaFormat(afIgnored);
  if (!FBitmap->Empty() && FBitmap->PixelFormat() == pf32bit && Value != kaNoTintColor)
    FillBitmapRGB(FBitmap.get(), Value);
  FBitmap->SetAlphaFormat(afPremultiplied);
}

bool TkaImageCollectionItem::NeedFullUpdate() const {
  const TkaBitmapOptions* o = FBitmapOptions.get();
  const bool allMargins = o->LeftMargin() > 0 && o->TopMargin() > 0 && o->RightMargin() > 0 && o->BottomMargin() > 0;
  return DrawStyleNeedsFullUpdate(FDrawStyle, allMargins);
}

bool TkaImageCollectionItem::Transparent() const {
  if (!FBitmap->Empty() && FBitmap->PixelFormat() == pf32bit) return true;
  auto* png = dynamic_cast<TPngImage*>(FPicture->Graphic());
  return png != nullptr && !png->Empty() && png->Transparent();
}

bool TkaImageCollectionItem::HasImage() const { return !FBitmap->Empty() || !FPicture->Empty(); }

// ---- Loading ----------------------------------------------------------------------------------

namespace {

double LoadScale(double AScaleFactor) { return AScaleFactor < 1 ? 1.0 : AScaleFactor; }

// Dest becomes a premultiplied 32-bit Source enlarged S times by resampling.
void ResampleInto(TBitmap* Source, TBitmap* Dest, double S) {
  Dest->SetAlphaFormat(afIgnored);
  Dest->SetPixelFormat(pf32bit);
  Dest->SetSize(Round(Source->Width() * S), Round(Source->Height() * S));
  SetBitmapAlpha(Dest, 0);
  ResampleBitmap(Source, Dest);
  Dest->SetAlphaFormat(afPremultiplied);
}

// Dest becomes a new 24-bit picture of Width x Height with Graphic stretched over it.
void StretchInto(TGraphic* Graphic, TBitmap* Dest, int Width, int Height) {
  Dest->Assign(nullptr);
  Dest->SetPixelFormat(pf24bit);
  Dest->SetSize(Width, Height);
  Dest->Canvas()->StretchDraw(Rect(0, 0, Width, Height), Graphic);
}

}  // namespace

void TkaImageCollectionItem::LoadPng(TPngImage& Png, double S) {
  if (Png.TransparencyMode() != ptmPartial) {
    StretchInto(&Png, FBitmap.get(), Round(Png.Width() * S), Round(Png.Height() * S));
    return;
  }
  if (S != 1) {
    TBitmap source;
    source.Assign(&Png);
    ResampleInto(&source, FBitmap.get(), S);
    return;
  }
  FBitmap->SetAlphaFormat(afIgnored);
  FBitmap->Assign(&Png);
  FBitmap->SetAlphaFormat(afPremultiplied);
}

void TkaImageCollectionItem::LoadPngFromFile(const String& AFileName) {
  FColor = kaNoTintColor;
  TPngImage png;
  png.LoadFromFile(AFileName);
  LoadPng(png, 1);
}

void TkaImageCollectionItem::LoadPngFromResourceName(HINSTANCE Instance, const String& ResName,
                                                     double AScaleFactor) {
  FColor = kaNoTintColor;
  TPngImage png;
  png.LoadFromResourceName(Instance, ResName);
  LoadPng(png, LoadScale(AScaleFactor));
}

void TkaImageCollectionItem::LoadFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor) {
  FColor = kaNoTintColor;
  const double s = LoadScale(AScaleFactor);
  if (s == 1) {
    FBitmap->SetAlphaFormat(afIgnored);
    FBitmap->LoadFromResourceName(Instance, ResName);
    FBitmap->SetAlphaFormat(afPremultiplied);
    return;
  }
  TBitmap source;
  source.LoadFromResourceName(Instance, ResName);
  if (source.PixelFormat() == pf32bit)
    ResampleInto(&source, FBitmap.get(), s);
  else
    StretchInto(&source, FBitmap.get(), Round(source.Width() * s), Round(source.Height() * s));
}

// ---- Blending flags ---------------------------------------------------------------------------

namespace {

// Whether any pixel of the inclusive range has an alpha byte other than 255. The range is
// cut to the bitmap, so margins wider than the bitmap cannot read outside it.
bool HasAlpha(TBitmap* B, int X1, int X2, int Y1, int Y2) {
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, B->Width() - 1);
  Y2 = std::min(Y2, B->Height() - 1);
  for (int y = Y1; y <= Y2; ++y) {
    const auto* row = static_cast<const uint8_t*>(B->ScanLine(y));
    for (int x = X1; x <= X2; ++x)
      if (row[x * 4 + 3] != 255) return true;
  }
  return false;
}

}  // namespace

void TkaImageCollectionItem::CheckBitmapOptions() {
  TkaBitmapOptions* o = FBitmapOptions.get();
  TBitmap* b = FBitmap.get();
  auto set = [o](bool Centre, bool Border, bool Corners) {
    o->SetAlphaBlend(Centre);
    o->SetAlphaBlendBorder(Border);
    o->SetAlphaBlendCorners(Corners);
  };
  if (b->Empty() || b->PixelFormat() != pf32bit) return set(false, false, false);
  const int W = b->Width(), H = b->Height();
  const int L = o->LeftMargin(), T = o->TopMargin(), R = o->RightMargin(), B = o->BottomMargin();
  if (L == 0 && T == 0 && R == 0 && B == 0) return set(HasAlpha(b, 0, W - 1, 0, H - 1), false, false);
  switch (MarginLayoutOf(L, T, R, B)) {
    case TkaMarginLayout::NineParts:
      return set(HasAlpha(b, L, W - R, T, H - B),
                 HasAlpha(b, L + 1, W - R - 1, 0, T) || HasAlpha(b, L, W - R - 1, H - B, H - 1) ||
                     HasAlpha(b, 0, L, T + 1, H - B - 1) || HasAlpha(b, W - R, W - 1, T + 1, H - B - 1),
                 HasAlpha(b, 0, L, 0, T) || HasAlpha(b, W - R, W - 1, 0, T) || HasAlpha(b, 0, L, H - B, H - 1) ||
                     HasAlpha(b, W - R, W - 1, H - B, H - 1));
    case TkaMarginLayout::SideBySide: {
      const bool middle = HasAlpha(b, L + 1, W - R - 1, 0, H - 1);
      return set(middle, middle, HasAlpha(b, 0, L, 0, H - 1) || HasAlpha(b, W - R, W - 1, 0, H - 1));
    }
    case TkaMarginLayout::Stacked: {
      const bool middle = HasAlpha(b, 0, W - 1, T + 1, H - B - 1);
      return set(middle, middle, HasAlpha(b, 0, W - 1, 0, T) || HasAlpha(b, 0, W - 1, H - B, H - 1));
    }
    case TkaMarginLayout::Styles:
      return;  // no complete pair: the flags stay as they are
  }
}

// ---- TkaImageCollectionItems ------------------------------------------------------------------

TkaImageCollectionItems::TkaImageCollectionItems(TkaImageCollection* ACollection)
    : TOwnedCollection(ACollection, [](TCollection* c) -> TCollectionItem* { return new TkaImageCollectionItem(c); }),
      FCollection(ACollection) {}

// ---- TkaImageCollection -----------------------------------------------------------------------

TkaImageCollection::TkaImageCollection(TComponent* AOwner)
    : TkaCustomImageCollection(AOwner), FImages(std::make_unique<TkaImageCollectionItems>(this)) {}

TkaImageCollection::~TkaImageCollection() = default;

int TkaImageCollection::GetCount() const { return FImages->Count(); }

int TkaImageCollection::Scaled(int Value, double AScaleFactor) const {
  return FScaled ? Round(Value * AScaleFactor) : Value;
}

TRect TkaImageCollection::ScaledRect(const TRect& R, double AScaleFactor) const {
  return TRect(Scaled(R.Left, AScaleFactor), Scaled(R.Top, AScaleFactor), Scaled(R.Right, AScaleFactor),
               Scaled(R.Bottom, AScaleFactor));
}

int TkaImageCollection::GetWidth(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return 0;
  const TkaImageCollectionItem* item = FImages->Items(AIndex);
  return Scaled(item->UsesBitmap() ? item->Bitmap()->Width() : item->Picture()->Width(), AScaleFactor);
}

int TkaImageCollection::GetHeight(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return 0;
  const TkaImageCollectionItem* item = FImages->Items(AIndex);
  return Scaled(item->UsesBitmap() ? item->Bitmap()->Height() : item->Picture()->Height(), AScaleFactor);
}

TRect TkaImageCollection::GetContentMargins(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return TRect();
  const TkaBitmapOptions* o = FImages->Items(AIndex)->BitmapOptions();
  return ScaledRect(
      TRect(o->ContentLeftMargin(), o->ContentTopMargin(), o->ContentRightMargin(), o->ContentBottomMargin()),
      AScaleFactor);
}

TRect TkaImageCollection::GetMargins(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return TRect();
  const TkaBitmapOptions* o = FImages->Items(AIndex)->BitmapOptions();
  return ScaledRect(TRect(o->LeftMargin(), o->TopMargin(), o->RightMargin(), o->BottomMargin()), AScaleFactor);
}

bool TkaImageCollection::NeedFullUpdate(int AIndex) const {
  return IsIndexAvailable(AIndex) && FImages->Items(AIndex)->NeedFullUpdate();
}

bool TkaImageCollection::IsIndexAvailable(int AIndex) const {
  return AIndex >= 0 && AIndex < FImages->Count() && FImages->Items(AIndex)->HasImage();
}

bool TkaImageCollection::IsSolidDrawing(int AIndex) const {
  return IsStretchTileDrawing(AIndex) && !FImages->Items(AIndex)->Transparent();
}

bool TkaImageCollection::IsStretchTileDrawing(int AIndex) const {
  return IsIndexAvailable(AIndex) && IsStretchTileStyle(FImages->Items(AIndex)->DrawStyle());
}

void TkaImageCollection::Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) {
  if (ACanvas == nullptr || !IsIndexAvailable(AIndex)) return;
  TkaImageCollectionItem* item = FImages->Items(AIndex);
  TDCStateSaver saved(ACanvas->Handle());
  if (item->UsesBitmap())
    DrawItemBitmap(item, ACanvas, ARect);
  else
    DrawItemPicture(item, ACanvas, ARect);
}

void TkaImageCollection::DrawItemBitmap(TkaImageCollectionItem* Item, TCanvas* ACanvas, const TRect& R) {
  TBitmap* b = Item->Bitmap();
  const TkaBitmapOptions* o = Item->BitmapOptions();
  if (o->DrawInClipRect()) ::IntersectClipRect(ACanvas->Handle(), R.Left, R.Top, R.Right, R.Bottom);
  const int w = b->Width(), h = b->Height();
  const TkaMarginLayout layout = MarginLayoutOf(o->LeftMargin(), o->TopMargin(), o->RightMargin(), o->BottomMargin());
  if (layout != TkaMarginLayout::Styles) {
    for (const TRect& d : PlaceByMargins(layout, Item->DrawStyle(), R, w, h, Item->TileOffsetX(), Item->TileOffsetY()))
      DrawBitmapWithOptions(b, o, ACanvas, 255, d);
    return;
  }
  const bool alpha = b->PixelFormat() == pf32bit;
  const bool stretch = IsStretchingStyle(Item->DrawStyle());
  for (const TRect& d : PlaceImage(Item->DrawStyle(), R, w, h, Item->TileOffsetX(), Item->TileOffsetY())) {
    if (alpha && stretch)
      AlphaBlendRect(b, ACanvas, Rect(0, 0, w, h), 255, d);
    else if (alpha)
      DrawBitmapAlpha(b, ACanvas, d.Left, 255, d.Top);
    else if (stretch)
      ACanvas->StretchDraw(d, b);
    else
      ACanvas->Draw(d.Left, d.Top, b);
  }
}

void TkaImageCollection::DrawItemPicture(TkaImageCollectionItem* Item, TCanvas* ACanvas, const TRect& R) {
  TGraphic* g = Item->Picture()->Graphic();
  ::IntersectClipRect(ACanvas->Handle(), R.Left, R.Top, R.Right, R.Bottom);
  const bool stretch = IsStretchingStyle(Item->DrawStyle());
  for (const TRect& d :
       PlaceImage(Item->DrawStyle(), R, g->Width(), g->Height(), Item->TileOffsetX(), Item->TileOffsetY())) {
    if (stretch)
      ACanvas->StretchDraw(d, g);
    else
      ACanvas->Draw(d.Left, d.Top, g);
  }
}

void TkaImageCollection::DrawBitmap(TCanvas* ACanvas, const TRect& ARect, int AIndex, uint8_t AAlphaValue) {
  TkaImageCollectionItem* item = FImages->Items(AIndex);
  if (!item->Bitmap()->Empty()) DrawBitmapWithOptions(item->Bitmap(), item->BitmapOptions(), ACanvas, AAlphaValue, ARect);
}

void TkaImageCollection::DrawBitmapRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect, int AIndex) {
  AlphaBlendRect(FImages->Items(AIndex)->Bitmap(), ACanvas, ASrcRect, 255, ADestRect);
}

// ---- Published properties ---------------------------------------------------------------------

KA_REGISTER_CLASS(TkaCustomImageCollection);
KA_REGISTER_CLASS(TkaImageCollectionItem, [](auto& c) {
  c.Property(L"Bitmap", &TkaImageCollectionItem::Bitmap);
  c.Property(L"BitmapOptions", &TkaImageCollectionItem::BitmapOptions);
  c.Property(L"Picture", &TkaImageCollectionItem::Picture);
  c.Property(L"DrawStyle", &TkaImageCollectionItem::DrawStyle, &TkaImageCollectionItem::SetDrawStyle);
  c.Property(L"TileOffsetX", &TkaImageCollectionItem::TileOffsetX, &TkaImageCollectionItem::SetTileOffsetX);
  c.Property(L"TileOffsetY", &TkaImageCollectionItem::TileOffsetY, &TkaImageCollectionItem::SetTileOffsetY);
  c.Property(L"Description", &TkaImageCollectionItem::Description, &TkaImageCollectionItem::SetDescription);
});
KA_REGISTER_CLASS(TkaImageCollectionItems);
KA_REGISTER_CLASS(TkaImageCollection, [](auto& c) { c.Property(L"Images", &TkaImageCollection::Images); });
