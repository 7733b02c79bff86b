// Image collections: non-visual components holding numbered pictures that skinned controls
// draw by index (-1 meaning none), each by its own placement rules. Controls only know the
// abstract TkaCustomImageCollection; TkaImageCollection draws with GDI from bitmaps cut by
// margins (TkaBitmapOptions) or from any picture.
#pragma once

#include <memory>

#include "framework/Graphics.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaImageCollection/ImageDrawStyle.h"

// The tint value that means "no tint" (the pictures keep their own colours).
constexpr TColor kaNoTintColor = MakeColor(0x00FF00FF);

// What every control asks of a collection. An index that is not available gives 0, an empty
// rectangle or False, and draws nothing; IsIndexAvailable is the question to ask first.
class TkaCustomImageCollection : public TComponent {
  KA_CLASS(TkaCustomImageCollection, TComponent)
 public:
  explicit TkaCustomImageCollection(TComponent* AOwner) : TComponent(AOwner) {}

  int Count() const { return GetCount(); }

  virtual int GetCount() const { return 0; }
  // The picture's size at the caller's scale factor (only collections that scale use it).
  virtual int GetWidth(int AIndex, double AScaleFactor) const { return 0; }
  virtual int GetHeight(int AIndex, double AScaleFactor) const { return 0; }
  // Insets of the area inside the picture where a control puts its caption and glyph.
  virtual TRect GetContentMargins(int AIndex, double AScaleFactor) const { return TRect(); }
  // Widths of the picture's fixed border parts.
  virtual TRect GetMargins(int AIndex, double AScaleFactor) const { return TRect(); }
  // The look depends on the whole rectangle's size: a resized container must repaint the
  // children that show it.
  virtual bool NeedFullUpdate(int AIndex) const { return false; }
  virtual bool IsIndexAvailable(int AIndex) const { return false; }
  // The picture covers the rectangle completely and opaquely.
  virtual bool IsSolidDrawing(int AIndex) const { return false; }
  virtual bool IsStretchTileDrawing(int AIndex) const { return false; }
  virtual void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) {}

 protected:
  // Sizes and margins follow the caller's scale factor; each descendant decides.
  bool FScaled = false;
};

class TkaImageCollection;
class TPngImage;

class TkaImageCollectionItem : public TCollectionItem {
  KA_CLASS(TkaImageCollectionItem, TCollectionItem)
 public:
  explicit TkaImageCollectionItem(TCollection* Collection);
  ~TkaImageCollectionItem() override;

  // Copies the source's Picture, then refuses like any persistent that cannot copy.
  void Assign(TPersistent* Source) override;

  // The skin bitmap; when not empty it is what the item draws. The setter copies.
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }
  // Margins, blending flags and content margins; a margin change re-derives the flags.
  TkaBitmapOptions* BitmapOptions() const { return FBitmapOptions.get(); }
  void SetBitmapOptions(TkaBitmapOptions* Value) { FBitmapOptions->Assign(Value); }
  // Any other picture, drawn when Bitmap is empty. The setter copies.
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  TkaImageDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TkaImageDrawStyle Value);
  // Gaps between tiles, pixels.
  int TileOffsetX() const { return FTileOffsetX; }
  void SetTileOffsetX(int Value);
  int TileOffsetY() const { return FTileOffsetY; }
  void SetTileOffsetY(int Value);
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value);
  // Tint of a 32-bit bitmap: its colours become this one, its alpha stays. kaNoTintColor
  // stops tinting but does not bring earlier colours back.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  bool NeedFullUpdate() const;
  // A 32-bit bitmap, or (without a bitmap) a picture that is a transparent PNG.
  bool Transparent() const;
  bool UsesBitmap() const { return !FBitmap->Empty(); }
  // A bitmap, or a picture holding a non-empty graphic.
  bool HasImage() const;

  // The bitmap becomes the PNG's picture: premultiplied 32-bit when the PNG has an alpha
  // channel, 24-bit otherwise. Resource loads enlarge by the scale factor (below 1: none).
  // No load re-derives the blending flags; call CheckBitmapOptions when they matter.
  void LoadPngFromFile(const String& AFileName);
  void LoadPngFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor);
  // From an RT_BITMAP resource.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor);
  // Sets AlphaBlend, AlphaBlendBorder and AlphaBlendCorners of BitmapOptions by whether the
  // parts the margins cut the bitmap into have any pixel that is not opaque.
  void CheckBitmapOptions();

 private:
  void LoadPng(TPngImage& Png, double S);

  std::unique_ptr<TPicture> FPicture;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TkaBitmapOptions> FBitmapOptions;
  TkaImageDrawStyle FDrawStyle = idsTile;
  int FTileOffsetX = 0;
  int FTileOffsetY = 0;
  String FDescription;
  TColor FColor = kaNoTintColor;
};

class TkaImageCollectionItems : public TOwnedCollection {
  KA_CLASS(TkaImageCollectionItems, TOwnedCollection)
 public:
  explicit TkaImageCollectionItems(TkaImageCollection* ACollection);
  TkaImageCollection* ImageCollection() const { return FCollection; }
  TkaImageCollectionItem* Items(int Index) const {
    return static_cast<TkaImageCollectionItem*>(TCollection::Items(Index));
  }
  void SetItem(int Index, TkaImageCollectionItem* Value) { TCollection::SetItem(Index, Value); }
  TkaImageCollectionItem* Add() { return static_cast<TkaImageCollectionItem*>(TCollection::Add()); }

 private:
  TkaImageCollection* FCollection;
};

class TkaImageCollection : public TkaCustomImageCollection {
  KA_CLASS(TkaImageCollection, TkaCustomImageCollection)
 public:
  explicit TkaImageCollection(TComponent* AOwner);
  ~TkaImageCollection() override;

  TkaImageCollectionItems* Images() const { return FImages.get(); }
  void SetImages(TkaImageCollectionItems* Value) { FImages->Assign(Value); }

  int GetCount() const override;
  int GetWidth(int AIndex, double AScaleFactor) const override;
  int GetHeight(int AIndex, double AScaleFactor) const override;
  TRect GetContentMargins(int AIndex, double AScaleFactor) const override;
  TRect GetMargins(int AIndex, double AScaleFactor) const override;
  bool NeedFullUpdate(int AIndex) const override;
  bool IsIndexAvailable(int AIndex) const override;
  bool IsSolidDrawing(int AIndex) const override;
  bool IsStretchTileDrawing(int AIndex) const override;
  // By the item's style and margins; the scale factor plays no part here.
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) override;

  // The item's bitmap by its options at constant alpha AAlphaValue, with no style and no
  // picture. The index must be an item's (list index error otherwise).
  void DrawBitmap(TCanvas* ACanvas, const TRect& ARect, int AIndex, uint8_t AAlphaValue);
  // ASrcRect of the item's 32-bit bitmap blended, stretched, into ADestRect.
  void DrawBitmapRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect, int AIndex);

 private:
  int Scaled(int Value, double AScaleFactor) const;
  TRect ScaledRect(const TRect& R, double AScaleFactor) const;
  void DrawItemBitmap(TkaImageCollectionItem* Item, TCanvas* ACanvas, const TRect& R);
  void DrawItemPicture(TkaImageCollectionItem* Item, TCanvas* ACanvas, const TRect& R);

  std::unique_ptr<TkaImageCollectionItems> FImages;
};
