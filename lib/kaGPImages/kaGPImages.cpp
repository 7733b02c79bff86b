#include "lib/kaGPImages/kaGPImages.h"

#include <sstream>

#include "framework/TypeInfo.h"
#include "lib/kaGPUtils/GPPrimitives.h"

// ---- Cached image -----------------------------------------------------------------------------

// A decoded GDI+ bitmap together with the stream it was decoded from, which GDI+ may read
// for as long as the bitmap lives; the bitmap goes first.
class TkaGPImageCollectionItem::TCachedImage {
 public:
  TCachedImage(std::unique_ptr<Gdiplus::Bitmap> Image, IStream* Stream) : FImage(std::move(Image)), FStream(Stream) {}
  ~TCachedImage() {
    FImage.reset();
    if (FStream != nullptr) FStream->Release();
  }
  TCachedImage(const TCachedImage&) = delete;
  TCachedImage& operator=(const TCachedImage&) = delete;
  Gdiplus::Bitmap* Image() const { return FImage.get(); }

 private:
  std::unique_ptr<Gdiplus::Bitmap> FImage;
  IStream* FStream;
};

namespace {

// A stream reference released when it goes, unless handed on with Release.
class TStreamRef {
 public:
  TStreamRef() = default;
  ~TStreamRef() {
    if (FStream != nullptr) FStream->Release();
  }
  TStreamRef(const TStreamRef&) = delete;
  TStreamRef& operator=(const TStreamRef&) = delete;
  IStream** Out() { return &FStream; }
  IStream* Get() const { return FStream; }
  IStream* Release() {
    IStream* s = FStream;
    FStream = nullptr;
    return s;
  }

 private:
  IStream* FStream = nullptr;
};

// Takes the bitmap's change notification away while it lives, and gives it back.
class TDetachedOnChange {
 public:
  explicit TDetachedOnChange(TBitmap* Bitmap) : FBitmap(Bitmap), FSaved(std::move(Bitmap->OnChange)) {
    FBitmap->OnChange = nullptr;
  }
  ~TDetachedOnChange() { FBitmap->OnChange = std::move(FSaved); }
  TDetachedOnChange(const TDetachedOnChange&) = delete;
  TDetachedOnChange& operator=(const TDetachedOnChange&) = delete;

 private:
  TBitmap* FBitmap;
  TNotifyEvent FSaved;
};

}  // namespace

// ---- TkaGPImageCollectionItem -----------------------------------------------------------------

TkaGPImageCollectionItem::TkaGPImageCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection),
      FBitmap(std::make_unique<TBitmap>()),
      FPngImage(std::make_unique<TPngImage>()),
      FOptions(std::make_unique<TkaGPBitmapOptions>()) {
  FBitmap->OnChange = [this](TObject*) { BuildFromBitmap(); };
}

TkaGPImageCollectionItem::~TkaGPImageCollectionItem() {
  FreeCachedImage();
  FBitmap->OnChange = nullptr;
  FPngImage.reset();
  FBitmap.reset();
  FOptions.reset();
}

Gdiplus::Bitmap* TkaGPImageCollectionItem::CachedImage() const { return FCached ? FCached->Image() : nullptr; }

void TkaGPImageCollectionItem::FreeCachedImage() { FCached.reset(); }

void TkaGPImageCollectionItem::BuildFromPng() {
  FreeCachedImage();
  if (FPngImage->Empty() || FPngImage->Width() * FPngImage->Height() == 0) return;
  std::ostringstream encoded(std::ios::binary);
  FPngImage->SaveToStream(encoded);
  const std::string bytes = encoded.str();
  TStreamRef stream;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())))
    throw EOutOfResources(L"Out of system resources (stream)");
  ULONG written = 0;
  stream.Get()->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero{};
  stream.Get()->Seek(zero, STREAM_SEEK_SET, nullptr);
  GPEnsureStarted();
  auto image = std::make_unique<Gdiplus::Bitmap>(stream.Get(), FALSE);
  if (image->GetLastStatus() != Gdiplus::Ok) return;  // undecodable: no cached image, nothing drawn
  FCached = std::make_unique<TCachedImage>(std::move(image), stream.Release());
}

void TkaGPImageCollectionItem::BuildFromBitmap() {
  FreeCachedImage();
  if (FBitmap->Empty()) return;
  GPEnsureStarted();
  std::unique_ptr<Gdiplus::Bitmap> image;
  if (FBitmap->PixelFormat() != pf32bit) {
    image = std::make_unique<Gdiplus::Bitmap>(FBitmap->Handle(), FBitmap->Palette());
  } else {
    // Wraps the bitmap's own rows (bottom-up, so from the top row with a negative stride) in
    // straight alpha. Any later change of the bitmap notifies and rebuilds, so the wrapper
    // never outlives the memory it reads.
    TDetachedOnChange detached(FBitmap.get());
    FBitmap->SetAlphaFormat(afDefined);
    const int w = FBitmap->Width();
    image = std::make_unique<Gdiplus::Bitmap>(w, FBitmap->Height(), -4 * w, PixelFormat32bppARGB,
                                              static_cast<BYTE*>(FBitmap->ScanLine(0)));
    FBitmap->SetAlphaFormat(afIgnored);
  }
  if (image->GetLastStatus() != Gdiplus::Ok) return;
  FCached = std::make_unique<TCachedImage>(std::move(image), nullptr);
}

void TkaGPImageCollectionItem::EnsureCachedImage() {
  if (FCached) return;
  if (!FPngImage->Empty())
    BuildFromPng();
  else if (!FBitmap->Empty())
    BuildFromBitmap();
}

void TkaGPImageCollectionItem::ImageChanged() {
  if (!FBitmap->Empty())
    BuildFromBitmap();
  else
    BuildFromPng();
}

void TkaGPImageCollectionItem::SetPngImage(TPngImage* Value) {
  FPngImage->Assign(Value);
  BuildFromPng();
}

void TkaGPImageCollectionItem::LoadPngFromResourceName(HINSTANCE Instance, const String& ResName) {
  FPngImage->LoadFromResourceName(Instance, ResName);
  BuildFromPng();
}

void TkaGPImageCollectionItem::LoadPngFromFile(const String& AFileName) {
  FPngImage->LoadFromFile(AFileName);
  BuildFromPng();
}

void TkaGPImageCollectionItem::LoadPngFromStream(std::istream& AStream) {
  FPngImage->LoadFromStream(AStream);
  BuildFromPng();
}

bool TkaGPImageCollectionItem::Transparent() const {
  if (!FBitmap->Empty()) return FBitmap->PixelFormat() == pf32bit;
  return !FPngImage->Empty() && FPngImage->TransparencyMode() == ptmPartial;
}

bool TkaGPImageCollectionItem::NeedFullUpdate() const {
  const TkaGPBitmapOptions* o = FOptions.get();
  const bool allMargins = o->LeftMargin() > 0 && o->TopMargin() > 0 && o->RightMargin() > 0 && o->BottomMargin() > 0;
  return DrawStyleNeedsFullUpdate(FDrawStyle, allMargins);
}

void TkaGPImageCollectionItem::SetColor(TColor Value) {
  if (ColorToRGB(Value) == ColorToRGB(FColor)) return;
  FColor = Value;
  Gdiplus::Bitmap* image = CachedImage();
  if (!Transparent() || image == nullptr) return;
  const UINT w = image->GetWidth(), h = image->GetHeight();
  const TColor c = ColorToRGB(Value);
  for (UINT x = 0; x < w; ++x)
    for (UINT y = 0; y < h; ++y) {
      Gdiplus::Color p;
      image->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &p);
      image->SetPixel(static_cast<INT>(x), static_cast<INT>(y),
                      Gdiplus::Color(p.GetA(), GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

namespace {
template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

// Plain values: compared, stored, and the collection told (which tells no control).
#define KA_GP_ITEM_SETTER(Name, Type)                                  \
  void TkaGPImageCollectionItem::Set##Name(Type Value) {             \
    if (Store(F##Name, Value)) Changed(false);                       \
  }
KA_GP_ITEM_SETTER(DrawStyle, TkaImageDrawStyle)
KA_GP_ITEM_SETTER(TileOffsetX, int)
KA_GP_ITEM_SETTER(TileOffsetY, int)
KA_GP_ITEM_SETTER(Description, const String&)
KA_GP_ITEM_SETTER(ContentLeftMargin, int)
KA_GP_ITEM_SETTER(ContentRightMargin, int)
KA_GP_ITEM_SETTER(ContentTopMargin, int)
KA_GP_ITEM_SETTER(ContentBottomMargin, int)
KA_GP_ITEM_SETTER(Scaled, bool)
KA_GP_ITEM_SETTER(Proportional, bool)
KA_GP_ITEM_SETTER(VirtualWidth, int)
KA_GP_ITEM_SETTER(VirtualHeight, int)
KA_GP_ITEM_SETTER(PixelOffsetModeHighQuality, bool)
KA_GP_ITEM_SETTER(InterpolationModeHighQuality, bool)
#undef KA_GP_ITEM_SETTER

// ---- TkaGPImageCollectionItems ----------------------------------------------------------------

TkaGPImageCollectionItems::TkaGPImageCollectionItems(TkaGPImageCollection* ACollection)
    : TOwnedCollection(ACollection,
                       [](TCollection* c) -> TCollectionItem* { return new TkaGPImageCollectionItem(c); }),
      FCollection(ACollection) {}

// ---- TkaGPImageCollection ---------------------------------------------------------------------

TkaGPImageCollection::TkaGPImageCollection(TComponent* AOwner)
    : TkaCustomImageCollection(AOwner), FImages(std::make_unique<TkaGPImageCollectionItems>(this)) {
  FScaled = true;
}

TkaGPImageCollection::~TkaGPImageCollection() = default;

int TkaGPImageCollection::GetCount() const { return FImages->Count(); }

double TkaGPImageCollection::EffectiveScale(const TkaGPImageCollectionItem* Item, double AScaleFactor) const {
  return FScaled && Item->Scaled() ? AScaleFactor : 1.0;
}

int TkaGPImageCollection::GetWidth(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return 0;
  const TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  Gdiplus::Bitmap* image = item->CachedImage();
  if (image == nullptr) return 0;
  const double s = EffectiveScale(item, AScaleFactor);
  const int w = item->VirtualWidth() > 0 ? item->VirtualWidth() : static_cast<int>(image->GetWidth());
  return Round(w * s);
}

int TkaGPImageCollection::GetHeight(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return 0;
  const TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  Gdiplus::Bitmap* image = item->CachedImage();
  if (image == nullptr) return 0;
  const double s = EffectiveScale(item, AScaleFactor);
  const int h = item->VirtualHeight() > 0 ? item->VirtualHeight() : static_cast<int>(image->GetHeight());
  return Round(h * s);
}

TRect TkaGPImageCollection::GetContentMargins(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return TRect();
  const TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  const double s = EffectiveScale(item, AScaleFactor);
  return TRect(Round(item->ContentLeftMargin() * s), Round(item->ContentTopMargin() * s),
               Round(item->ContentRightMargin() * s), Round(item->ContentBottomMargin() * s));
}

TRect TkaGPImageCollection::GetMargins(int AIndex, double AScaleFactor) const {
  if (!IsIndexAvailable(AIndex)) return TRect();
  const TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  const TkaGPBitmapOptions* o = item->Options();
  const double s = EffectiveScale(item, AScaleFactor);
  return TRect(Round(o->LeftMargin() * s), Round(o->TopMargin() * s), Round(o->RightMargin() * s),
               Round(o->BottomMargin() * s));
}

bool TkaGPImageCollection::NeedFullUpdate(int AIndex) const {
  return IsIndexAvailable(AIndex) && FImages->Items(AIndex)->NeedFullUpdate();
}

bool TkaGPImageCollection::IsIndexAvailable(int AIndex) const {
  return AIndex >= 0 && AIndex < FImages->Count() && FImages->Items(AIndex)->HasImage();
}

bool TkaGPImageCollection::IsSolidDrawing(int AIndex) const {
  return IsStretchTileDrawing(AIndex) && !FImages->Items(AIndex)->Transparent();
}

bool TkaGPImageCollection::IsStretchTileDrawing(int AIndex) const {
  return IsIndexAvailable(AIndex) && IsStretchTileStyle(FImages->Items(AIndex)->DrawStyle());
}

void TkaGPImageCollection::Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) {
  if (ACanvas == nullptr || !IsIndexAvailable(AIndex)) return;
  const TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  GPEnsureStarted();
  ACanvas->Changing();
  {
    Gdiplus::Graphics g(ACanvas->Handle());
    g.SetPixelOffsetMode(item->PixelOffsetModeHighQuality() ? Gdiplus::PixelOffsetModeHighQuality
                                                            : Gdiplus::PixelOffsetModeDefault);
    g.SetInterpolationMode(item->InterpolationModeHighQuality() ? Gdiplus::InterpolationModeHighQuality
                                                                : Gdiplus::InterpolationModeDefault);
    DrawToGraphic(&g, ARect, AIndex, AScaleFactor);
  }
  ACanvas->Changed();
}

TkaGPPlacement TkaGPImageCollection::GetPlacement(const TRect& ARect, int AIndex, double AScaleFactor) {
  TkaGPPlacement p;
  p.Rect = ARect;
  if (!IsIndexAvailable(AIndex)) return p;
  TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  const double sf = item->Scaled() ? AScaleFactor : 1.0;
  item->EnsureCachedImage();
  Gdiplus::Bitmap* image = item->CachedImage();
  if (image == nullptr || image->GetWidth() == 0 || image->GetHeight() == 0) return p;
  p.Style = item->DrawStyle();
  p.Width = GetWidth(AIndex, sf);
  p.Height = GetHeight(AIndex, sf);
  if (!item->Transparent()) {
    // Opaque tiles reach over their neighbours, hiding the seams smooth scaling leaves.
    p.OverlapX = Round(static_cast<double>(p.Width) / image->GetWidth());
    p.OverlapY = Round(static_cast<double>(p.Height) / image->GetHeight());
  }
  p.ScaleFactor = sf;
  p.TileOffsetX = item->TileOffsetX();
  p.TileOffsetY = item->TileOffsetY();
  p.Proportional = item->Proportional();
  return p;
}

void TkaGPImageCollection::DrawToGraphic(Gdiplus::Graphics* G, const TRect& ARect, int AIndex, double AScaleFactor) {
  if (G == nullptr || !IsIndexAvailable(AIndex)) return;
  const TkaGPPlacement p = GetPlacement(ARect, AIndex, AScaleFactor);
  TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  Gdiplus::Bitmap* image = item->CachedImage();
  if (image == nullptr || image->GetWidth() == 0 || image->GetHeight() == 0) return;
  const TkaGPBitmapOptions* o = item->Options();
  const TkaMarginLayout layout = MarginLayoutOf(o->LeftMargin(), o->TopMargin(), o->RightMargin(), o->BottomMargin());
  if (layout != TkaMarginLayout::Styles) {
    GPDrawImageWithOptions(G, image, o, GPPlaceByMargins(layout, p), item->VirtualWidth(), item->VirtualHeight(),
                           p.ScaleFactor);
    return;
  }
  for (const TGPRectF& r : GPPlaceImage(p)) G->DrawImage(image, r.X, r.Y, r.Width, r.Height);
}

void TkaGPImageCollection::DrawRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect, int AIndex) {
  if (ACanvas == nullptr || !IsIndexAvailable(AIndex) || ASrcRect.Width() == 0 || ASrcRect.Height() == 0) return;
  TkaGPImageCollectionItem* item = FImages->Items(AIndex);
  item->EnsureCachedImage();
  Gdiplus::Bitmap* image = item->CachedImage();
  if (image == nullptr || image->GetWidth() == 0 || image->GetHeight() == 0) return;
  GPEnsureStarted();
  ACanvas->Changing();
  {
    Gdiplus::Graphics g(ACanvas->Handle());
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (item->InterpolationModeHighQuality()) g.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
    g.DrawImage(image, RectToGPRect(ADestRect), static_cast<Gdiplus::REAL>(ASrcRect.Left),
                static_cast<Gdiplus::REAL>(ASrcRect.Top), static_cast<Gdiplus::REAL>(ASrcRect.Width()),
                static_cast<Gdiplus::REAL>(ASrcRect.Height()), Gdiplus::UnitPixel);
  }
  ACanvas->Changed();
}

void TkaGPImageCollection::Loaded() {
  inherited::Loaded();
  for (int i = 0; i < FImages->Count(); ++i) FImages->Items(i)->EnsureCachedImage();
}

// ---- Published properties ---------------------------------------------------------------------

KA_REGISTER_CLASS(TkaGPImageCollectionItem, [](auto& c) {
  using I = TkaGPImageCollectionItem;
  c.Property(L"Bitmap", &I::Bitmap);
  c.Property(L"PngImage", &I::PngImage);
  c.Property(L"ContentLeftMargin", &I::ContentLeftMargin, &I::SetContentLeftMargin);
  c.Property(L"ContentRightMargin", &I::ContentRightMargin, &I::SetContentRightMargin);
  c.Property(L"ContentTopMargin", &I::ContentTopMargin, &I::SetContentTopMargin);
  c.Property(L"ContentBottomMargin", &I::ContentBottomMargin, &I::SetContentBottomMargin);
  c.Property(L"Options", &I::Options);
  c.Property(L"DrawStyle", &I::DrawStyle, &I::SetDrawStyle);
  c.Property(L"VirtualWidth", &I::VirtualWidth, &I::SetVirtualWidth);
  c.Property(L"VirtualHeight", &I::VirtualHeight, &I::SetVirtualHeight);
  c.Property(L"TileOffsetX", &I::TileOffsetX, &I::SetTileOffsetX);
  c.Property(L"TileOffsetY", &I::TileOffsetY, &I::SetTileOffsetY);
  c.Property(L"Proportional", &I::Proportional, &I::SetProportional);
  c.Property(L"Description", &I::Description, &I::SetDescription);
  c.Property(L"Scaled", &I::Scaled, &I::SetScaled);
  c.Property(L"PixelOffsetModeHighQuality", &I::PixelOffsetModeHighQuality, &I::SetPixelOffsetModeHighQuality);
  c.Property(L"InterpolationModeHighQuality", &I::InterpolationModeHighQuality, &I::SetInterpolationModeHighQuality);
});
KA_REGISTER_CLASS(TkaGPImageCollectionItems);
KA_REGISTER_CLASS(TkaGPImageCollection, [](auto& c) { c.Property(L"Images", &TkaGPImageCollection::Images); });
