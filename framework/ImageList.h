// Lists of equally sized images over a common-controls image list (HIMAGELIST), the kind
// buttons, tabs and menus draw their pictures from by index.
#pragma once

#include "framework/Graphics.h"

enum TColorDepth { cdDeviceDependent, cd8Bit, cd16Bit, cd24Bit, cd32Bit };

class TCustomImageList : public TComponent {
  KA_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  // Image size (default 16 x 16). Changing either removes every image.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Bits per pixel of the stored images (default cdDeviceDependent, kept as 24 bits). Only
  // cd32Bit keeps per-pixel alpha. Changing it makes a new, empty list.
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth Value);
  int Count() const;

  // The list, made on first use. A list made here is destroyed with this object; an
  // adopted one too, unless ShareImages says it belongs to someone else.
  HIMAGELIST Handle();
  // Adopts Value (nullptr: none); the image size follows the adopted list.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  // Appends Image (a strip of Width-wide images when it is wider) and returns the index of
  // the first image added, -1 when nothing was added. Mask: white where transparent;
  // nullptr for none. The bitmaps are copied, never changed.
  int Add(TBitmap* Image, TBitmap* Mask);
  // As Add, transparent where Image has MaskColor (clDefault: its bottom-left pixel).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Clear();
  // Indices outside 0..Count-1 are ignored.
  void Delete(int Index);

  // Draws image Index with its top-left corner at X, Y. Disabled images are drawn in grey
  // at half opacity.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // Image becomes a Width x Height pf32bit bitmap (afIgnored) that is all zero (alpha 0
  // too) with image Index drawn onto it: masked-out pixels stay 0, pixels of an image with
  // alpha are left premultiplied with their alpha. False (Image untouched) for a bad index.
  bool GetBitmap(int Index, TBitmap* Image);

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void FreeHandle();
  bool ValidIndex(int Index) const { return Index >= 0 && Index < Count(); }
  void DrawDisabled(TCanvas* Canvas, int X, int Y, int Index);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  TColorDepth FColorDepth = cdDeviceDependent;
  bool FShareImages = false;
  bool FCreated = false;
};

class TImageList : public TCustomImageList {
  KA_CLASS(TImageList, TCustomImageList)
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

// A list whose images are made on demand from an image collection. Drawing code treats it
// apart: its disabled images are drawn by the list itself.
class TVirtualImageList : public TCustomImageList {
  KA_CLASS(TVirtualImageList, TCustomImageList)
 public:
  explicit TVirtualImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
