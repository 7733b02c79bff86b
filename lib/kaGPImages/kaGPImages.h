// The GDI+ image collection: pictures (PNG or bitmap) decoded once into cached GDI+ bitmaps
// and drawn with alpha and smooth interpolation, scaled by the caller's scale factor, with
// optional aspect-keeping stretch, a virtual size other than the picture's own, and content
// margins telling a control where its own content goes inside a skin picture.
#pragma once

#include <memory>

#include "framework/PngImage.h"
#include "lib/kaGPImages/GPImagePlacement.h"
#include "lib/kaGPUtils/GPBitmapOptions.h"
#include "lib/kaImageCollection/kaImageCollection.h"

class TkaGPImageCollection;

class TkaGPImageCollectionItem : public TCollectionItem {
  KA_CLASS(TkaGPImageCollectionItem, TCollectionItem)
 public:
  explicit TkaGPImageCollectionItem(TCollection* Collection);
  ~TkaGPImageCollectionItem() override;

  // The picture as a bitmap. The setter copies; every change of the bitmap rebuilds the
  // cached image from it.
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }
  // The picture as a PNG. The setter copies and rebuilds the cached image from the PNG.
  TPngImage* PngImage() const { return FPngImage.get(); }
  void SetPngImage(TPngImage* Value);
  TkaGPBitmapOptions* Options() const { return FOptions.get(); }
  void SetOptions(TkaGPBitmapOptions* Value) { FOptions->Assign(Value); }
  TkaImageDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TkaImageDrawStyle Value);
  // Gaps between tiles, unscaled pixels.
  int TileOffsetX() const { return FTileOffsetX; }
  void SetTileOffsetX(int Value);
  int TileOffsetY() const { return FTileOffsetY; }
  void SetTileOffsetY(int Value);
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value);
  // Insets of the content area, unscaled pixels.
  int ContentLeftMargin() const { return FContentLeftMargin; }
  void SetContentLeftMargin(int Value);
  int ContentRightMargin() const { return FContentRightMargin; }
  void SetContentRightMargin(int Value);
  int ContentTopMargin() const { return FContentTopMargin; }
  void SetContentTopMargin(int Value);
  int ContentBottomMargin() const { return FContentBottomMargin; }
  void SetContentBottomMargin(int Value);
  // Follow the caller's scale factor (when the collection scales at all).
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value);
  // Keep the aspect ratio in the stretching styles.
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  // When > 0, used instead of the picture's own width or height, unscaled pixels.
  int VirtualWidth() const { return FVirtualWidth; }
  void SetVirtualWidth(int Value);
  int VirtualHeight() const { return FVirtualHeight; }
  void SetVirtualHeight(int Value);
  // Drawing quality of Draw (and DrawRect for interpolation): high, or the fast defaults.
  bool PixelOffsetModeHighQuality() const { return FPixelOffsetModeHighQuality; }
  void SetPixelOffsetModeHighQuality(bool Value);
  bool InterpolationModeHighQuality() const { return FInterpolationModeHighQuality; }
  void SetInterpolationModeHighQuality(bool Value);
  // Recolours a picture with alpha (its colours become this one, its alpha stays) until the
  // cached image is rebuilt. Opaque pictures are never tinted.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  // A 32-bit bitmap, or (without a bitmap) a PNG with an alpha channel.
  bool Transparent() const;
  bool NeedFullUpdate() const;
  bool HasImage() const { return !FBitmap->Empty() || !FPngImage->Empty(); }

  // Load the PNG, then rebuild the cached image from it. A failing load leaves both the
  // PNG and the cached image as they were.
  void LoadPngFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadPngFromFile(const String& AFileName);
  void LoadPngFromStream(std::istream& AStream);
  // Rebuilds the cached image from the bitmap, or from the PNG when there is no bitmap.
  void ImageChanged();

  // The cached picture (nullptr when there is none yet).
  Gdiplus::Bitmap* CachedImage() const;
  // Builds the cached image when there is none: from the PNG first, else from the bitmap.
  void EnsureCachedImage();

 private:
  friend class TkaGPImageCollection;
  class TCachedImage;
  void BuildFromPng();
  void BuildFromBitmap();
  void FreeCachedImage();

  // The cached image may live over FBitmap's pixel memory: the destructor frees it first.
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TPngImage> FPngImage;
  std::unique_ptr<TkaGPBitmapOptions> FOptions;
  TkaImageDrawStyle FDrawStyle = idsTile;
  int FTileOffsetX = 0;
  int FTileOffsetY = 0;
  String FDescription;
  int FContentLeftMargin = 0;
  int FContentRightMargin = 0;
  int FContentTopMargin = 0;
  int FContentBottomMargin = 0;
  TColor FColor = kaNoTintColor;
  bool FScaled = true;
  bool FProportional = false;
  int FVirtualWidth = 0;
  int FVirtualHeight = 0;
  bool FPixelOffsetModeHighQuality = true;
  bool FInterpolationModeHighQuality = true;
  std::unique_ptr<TCachedImage> FCached;
};

class TkaGPImageCollectionItems : public TOwnedCollection {
  KA_CLASS(TkaGPImageCollectionItems, TOwnedCollection)
 public:
  explicit TkaGPImageCollectionItems(TkaGPImageCollection* ACollection);
  TkaGPImageCollection* ImageCollection() const { return FCollection; }
  TkaGPImageCollectionItem* Items(int Index) const {
    return static_cast<TkaGPImageCollectionItem*>(TCollection::Items(Index));
  }
  void SetItem(int Index, TkaGPImageCollectionItem* Value) { TCollection::SetItem(Index, Value); }
  TkaGPImageCollectionItem* Add() { return static_cast<TkaGPImageCollectionItem*>(TCollection::Add()); }

 private:
  TkaGPImageCollection* FCollection;
};

class TkaGPImageCollection : public TkaCustomImageCollection {
  KA_CLASS(TkaGPImageCollection, TkaCustomImageCollection)
 public:
  explicit TkaGPImageCollection(TComponent* AOwner);
  ~TkaGPImageCollection() override;

  TkaGPImageCollectionItems* Images() const { return FImages.get(); }
  void SetImages(TkaGPImageCollectionItems* Value) { FImages->Assign(Value); }

  int GetCount() const override;
  // Round(VirtualWidth * S), or Round(cached image width * S); 0 without a cached image.
  int GetWidth(int AIndex, double AScaleFactor) const override;
  int GetHeight(int AIndex, double AScaleFactor) const override;
  TRect GetContentMargins(int AIndex, double AScaleFactor) const override;
  TRect GetMargins(int AIndex, double AScaleFactor) const override;
  bool NeedFullUpdate(int AIndex) const override;
  bool IsIndexAvailable(int AIndex) const override;
  bool IsSolidDrawing(int AIndex) const override;
  bool IsStretchTileDrawing(int AIndex) const override;
  // On a GDI+ surface made over the canvas with the item's quality modes. Nothing is clipped
  // to ARect: tiles may reach past it.
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) override;
  // The same on the caller's surface, whose modes are left as they are.
  void DrawToGraphic(Gdiplus::Graphics* G, const TRect& ARect, int AIndex, double AScaleFactor);
  // ASrcRect of the picture (picture pixels) stretched into ADestRect; no style, margins or scale.
  void DrawRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect, int AIndex);

  // How Draw lays out the item in ARect: the size at the scale (1 for items that do not
  // scale) and how far opaque tiles reach over their neighbours. Builds the cached image
  // when missing; all zero when the index is not available or there is no picture.
  TkaGPPlacement GetPlacement(const TRect& ARect, int AIndex, double AScaleFactor);

  void Loaded() override;

 private:
  // The scale an item follows for the caller's factor.
  double EffectiveScale(const TkaGPImageCollectionItem* Item, double AScaleFactor) const;

  std::unique_ptr<TkaGPImageCollectionItems> FImages;
};
