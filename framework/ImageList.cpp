#include "framework/ImageList.h"

#include <cstring>

#include "framework/TypeInfo.h"

namespace {

UINT ColorFlags(TColorDepth Depth) {
  switch (Depth) {
    case cd32Bit: return ILC_COLOR32;
    case cd16Bit: return ILC_COLOR16;
    case cd8Bit: return ILC_COLOR8;
    default: return ILC_COLOR24;
  }
}

// A copy of Source's pixels in a DIB section of its own. The image list selects what it is
// given into a DC of its own; a TBitmap's DIB may already sit in the bitmap's canvas DC,
// where selecting it a second time would fail.
TBitmapHandle CopyDIB(TBitmap* Source) {
  const int w = Source->Width(), h = Source->Height();
  const int bpp = Source->PixelFormat() == pf24bit ? 24 : 32;
  void* bits = nullptr;
  TBitmapHandle copy = CreateBottomUpDIB(w, h, bpp, &bits);
  // The rows lie bottom-up in one block that starts at the last scan line.
  std::memcpy(bits, Source->ScanLine(h - 1), static_cast<size_t>(Source->BytesPerScanLine()) * h);
  return copy;
}

void ZeroPixels(TBitmap* Bitmap) {
  const int h = Bitmap->Height();
  std::memset(Bitmap->ScanLine(h - 1), 0, static_cast<size_t>(Bitmap->BytesPerScanLine()) * h);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() { FreeHandle(); }

void TCustomImageList::FreeHandle() {
  if (FHandle != nullptr && (FCreated || !FShareImages)) ::ImageList_Destroy(FHandle);
  FHandle = nullptr;
  FCreated = false;
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(int Value) {
  if (Value == FWidth || Value <= 0) return;
  FWidth = Value;
  if (FHandle != nullptr) ::ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value == FHeight || Value <= 0) return;
  FHeight = Value;
  if (FHandle != nullptr) ::ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth Value) {
  if (Value == FColorDepth) return;
  FColorDepth = Value;
  FreeHandle();
  Change();
}

int TCustomImageList::Count() const { return FHandle != nullptr ? ::ImageList_GetImageCount(FHandle) : 0; }

HIMAGELIST TCustomImageList::Handle() {
  if (FHandle == nullptr) {
    FHandle = ::ImageList_Create(FWidth, FHeight, ColorFlags(FColorDepth) | ILC_MASK, 4, 4);
    if (FHandle == nullptr) throw EOutOfResources(L"Out of system resources (image list)");
    FCreated = true;
  }
  return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  if (FHandle != nullptr) {
    int w = 0, h = 0;
    if (::ImageList_GetIconSize(FHandle, &w, &h)) {
      FWidth = w;
      FHeight = h;
    }
  }
  Change();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (Image == nullptr || Image->Empty()) return -1;
  TBitmapHandle image = CopyDIB(Image);
  TBitmapHandle mask;
  if (Mask != nullptr && !Mask->Empty()) mask = CopyDIB(Mask);
  const int index = ::ImageList_Add(Handle(), image.Get(), mask.Get());
  if (index >= 0) Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (Image == nullptr || Image->Empty()) return -1;
  const TColor key = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
  TBitmapHandle image = CopyDIB(Image);
  const int index = ::ImageList_AddMasked(Handle(), image.Get(), static_cast<COLORREF>(ColorToRGB(key)));
  if (index >= 0) Change();
  return index;
}

void TCustomImageList::Clear() {
  if (Count() == 0) return;
  ::ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Delete(int Index) {
  if (!ValidIndex(Index)) return;
  ::ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Canvas == nullptr || !ValidIndex(Index)) return;
  if (!Enabled) {
    DrawDisabled(Canvas, X, Y, Index);
    return;
  }
  ::ImageList_DrawEx(FHandle, Index, Canvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  Canvas->Changed();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (Image == nullptr || !ValidIndex(Index)) return false;
  Image->SetAlphaFormat(afIgnored);
  Image->SetPixelFormat(pf32bit);
  Image->SetSize(FWidth, FHeight);
  ZeroPixels(Image);
  ::ImageList_DrawEx(FHandle, Index, Image->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  ::GdiFlush();
  return true;
}

// The image in grey at half opacity. Which pixels belong to the image comes from its alpha
// when it has any, else from the list's mask (drawn black where the image is opaque).
void TCustomImageList::DrawDisabled(TCanvas* Canvas, int X, int Y, int Index) {
  TBitmap image;
  GetBitmap(Index, &image);
  bool hasAlpha = false;
  for (int y = 0; y < FHeight && !hasAlpha; ++y) {
    const uint8_t* p = static_cast<const uint8_t*>(image.ScanLine(y));
    for (int x = 0; x < FWidth && !hasAlpha; ++x) hasAlpha = p[x * 4 + 3] != 0;
  }
  TBitmap mask;
  if (!hasAlpha) {
    mask.SetPixelFormat(pf32bit);
    mask.SetSize(FWidth, FHeight);
    std::memset(mask.ScanLine(FHeight - 1), 0xFF, static_cast<size_t>(mask.BytesPerScanLine()) * FHeight);
    ::ImageList_DrawEx(FHandle, Index, mask.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    ::GdiFlush();
  }
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* p = static_cast<uint8_t*>(image.ScanLine(y));
    const uint8_t* m = hasAlpha ? nullptr : static_cast<const uint8_t*>(mask.ScanLine(y));
    for (int x = 0; x < FWidth; ++x, p += 4) {
      const uint8_t a = hasAlpha ? p[3] : (m[x * 4] == 0 ? 255 : 0);
      // Luminance of the (premultiplied) colour stays premultiplied by the same alpha.
      const uint8_t grey = static_cast<uint8_t>((p[2] * 77 + p[1] * 151 + p[0] * 28) >> 8);
      p[0] = p[1] = p[2] = a == 0 ? 0 : grey;
      p[3] = a;
    }
  }
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
  ::AlphaBlend(Canvas->Handle(), X, Y, FWidth, FHeight, image.Canvas()->Handle(), 0, 0, FWidth, FHeight, bf);
  Canvas->Changed();
}

KA_REGISTER_ENUM(TColorDepth, {{L"cdDeviceDependent", cdDeviceDependent},
                               {L"cd8Bit", cd8Bit},
                               {L"cd16Bit", cd16Bit},
                               {L"cd24Bit", cd24Bit},
                               {L"cd32Bit", cd32Bit}});

KA_REGISTER_CLASS(TCustomImageList, [](auto& c) {
  c.Property(L"ColorDepth", &TCustomImageList::ColorDepth, &TCustomImageList::SetColorDepth);
  c.Property(L"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth);
  c.Property(L"Height", &TCustomImageList::Height, &TCustomImageList::SetHeight);
  c.Property(L"ShareImages", &TCustomImageList::ShareImages, &TCustomImageList::SetShareImages);
  c.Property(L"OnChange", &TCustomImageList::OnChange);
});
KA_REGISTER_CLASS(TImageList);
KA_REGISTER_CLASS(TVirtualImageList);
