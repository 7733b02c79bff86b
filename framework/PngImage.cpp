// TPngImage: the PNG picture as a graphic. Pixels are kept as straight RGBA; bitmaps and
// drawing get BGRA copies made on demand.
#include <cstring>
#include <istream>
#include <streambuf>
#include <utility>

#include "framework/PngImage.h"

namespace {

uint8_t Premultiply(uint8_t c, uint8_t a) { return static_cast<uint8_t>((c * a + 127) / 255); }

uint8_t Unpremultiply(uint8_t c, uint8_t a) {
  if (a == 0) return 0;
  return static_cast<uint8_t>(std::min(255, (c * 255 + a / 2) / a));
}

// A read-only stream over resource memory.
class TMemoryBuffer : public std::streambuf {
 public:
  TMemoryBuffer(const void* Data, size_t Size) {
    // The get area is only read from: nothing is ever put back.
    char* p = const_cast<char*>(static_cast<const char*>(Data));
    setg(p, p, p + Size);
  }
};

}  // namespace

size_t TPngImage::Offset(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FImage.Width || Y >= FImage.Height)
    throw EInvalidGraphicOperation(Format(L"Pixel index out of range (%d, %d)", X, Y));
  return (size_t(Y) * FImage.Width + X) * 4;
}

uint32_t TPngImage::Pixel(int X, int Y) const {
  const uint8_t* p = FImage.Pixels.data() + Offset(X, Y);
  return (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

void TPngImage::SetPixel(int X, int Y, uint32_t Value) {
  uint8_t* p = FImage.Pixels.data() + Offset(X, Y);
  const uint8_t v[4] = {uint8_t(Value >> 16), uint8_t(Value >> 8), uint8_t(Value), uint8_t(Value >> 24)};
  if (std::memcmp(p, v, 4) == 0) return;
  std::memcpy(p, v, 4);
  if (v[3] != 255 && FImage.TransparencyMode != ptmPartial) {
    FImage.ColorType = KaPng::ctRGBA;
    FImage.BitDepth = 8;
    FImage.TransparencyMode = ptmPartial;
  }
  Changed();
}

void TPngImage::SetSize(int AWidth, int AHeight) {
  KaPng::TImageData blank;
  if (AWidth > 0 && AHeight > 0) {
    blank.Width = AWidth;
    blank.Height = AHeight;
    blank.Pixels.assign(size_t(AWidth) * AHeight * 4, 0);
    blank.TransparencyMode = ptmPartial;
  }
  FImage = std::move(blank);
  Changed();
}

// ---- Copies -----------------------------------------------------------------------------

void TPngImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    FImage = KaPng::TImageData();
    Changed();
  } else if (auto* png = dynamic_cast<TPngImage*>(Source)) {
    FImage = png->FImage;
    Changed();
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignBitmap(bitmap);
  } else {
    inherited::Assign(Source);
  }
}

void TPngImage::AssignBitmap(TBitmap* Source) {
  KaPng::TImageData image;
  if (!Source->Empty()) {
    const bool withAlpha = Source->PixelFormat() == pf32bit && Source->AlphaFormat() != afIgnored;
    const bool premultiplied = withAlpha && Source->AlphaFormat() == afPremultiplied;
    const int bytes = Source->PixelFormat() == pf24bit ? 3 : 4;
    image.Width = Source->Width();
    image.Height = Source->Height();
    image.Pixels.resize(size_t(image.Width) * image.Height * 4);
    image.ColorType = withAlpha ? KaPng::ctRGBA : KaPng::ctRGB;
    image.TransparencyMode = withAlpha ? ptmPartial : ptmNone;
    uint8_t* d = image.Pixels.data();
    for (int y = 0; y < image.Height; ++y) {
      const uint8_t* s = static_cast<const uint8_t*>(Source->ScanLine(y));
      for (int x = 0; x < image.Width; ++x, s += bytes, d += 4) {
        uint8_t a = withAlpha ? s[3] : 255;
        for (int c = 0; c < 3; ++c) d[c] = premultiplied ? Unpremultiply(s[2 - c], a) : s[2 - c];
        d[3] = a;
      }
    }
  }
  FImage = std::move(image);
  Changed();
}

void TPngImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest))
    CopyToBitmap(bitmap);
  else
    inherited::AssignTo(Dest);
}

void TPngImage::CopyToBitmap(TBitmap* Dest) const {
  if (Empty()) {
    Dest->Assign(nullptr);
    return;
  }
  const bool withAlpha = Transparent();
  const TPixelFormat format = withAlpha ? pf32bit : pf24bit;
  if (Dest->PixelFormat() != format) {
    // Emptied first, so that changing the format converts no old pixels.
    Dest->SetSize(0, 0);
    Dest->SetPixelFormat(format);
  }
  Dest->SetSize(FImage.Width, FImage.Height);
  const int bytes = withAlpha ? 4 : 3;
  const uint8_t* s = FImage.Pixels.data();
  for (int y = 0; y < FImage.Height; ++y) {
    uint8_t* d = static_cast<uint8_t*>(Dest->ScanLine(y));
    for (int x = 0; x < FImage.Width; ++x, s += 4, d += bytes) {
      d[0] = s[2];
      d[1] = s[1];
      d[2] = s[0];
      if (withAlpha) d[3] = s[3];
    }
  }
  // The pixels went in through ScanLine, which tells nobody; the bitmap hears of changes
  // through its canvas.
  Dest->Canvas()->Changed();
}

// ---- Drawing ----------------------------------------------------------------------------

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || ACanvas == nullptr) return;
  const bool withAlpha = Transparent();
  const int w = FImage.Width, h = FImage.Height;
  void* bits = nullptr;
  TBitmapHandle dib = CreateBottomUpDIB(w, h, 32, &bits);
  uint8_t* d = static_cast<uint8_t*>(bits);
  for (int y = h - 1; y >= 0; --y) {
    const uint8_t* s = FImage.Pixels.data() + size_t(y) * w * 4;
    for (int x = 0; x < w; ++x, s += 4, d += 4) {
      uint8_t a = s[3];
      for (int c = 0; c < 3; ++c) d[c] = withAlpha ? Premultiply(s[2 - c], a) : s[2 - c];
      d[3] = a;
    }
  }
  HDC dest = ACanvas->Handle();
  TMemoryDC dc = TMemoryDC::CreateCompatible(nullptr);
  TSelectObject select(dc.Get(), dib.Get());
  if (withAlpha) {
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), dc.Get(), 0, 0, w, h, bf);
  } else if (Rect.Width() == w && Rect.Height() == h) {
    ::BitBlt(dest, Rect.Left, Rect.Top, w, h, dc.Get(), 0, 0, ACanvas->CopyMode());
  } else {
    TDCStateSaver saved(dest);
    ::SetStretchBltMode(dest, COLORONCOLOR);
    ::StretchBlt(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), dc.Get(), 0, 0, w, h, ACanvas->CopyMode());
  }
}

// ---- Loading and saving -----------------------------------------------------------------

void TPngImage::LoadFromStream(std::istream& Stream) {
  KaPng::TImageData loaded = KaPng::Decode(Stream);
  FImage = std::move(loaded);
  Changed();
}

void TPngImage::SaveToStream(std::ostream& Stream) {
  if (!Empty()) KaPng::Encode(FImage, Stream);
}

void TPngImage::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  HRSRC info = ::FindResourceW(Instance, ResName.c_str(), RT_RCDATA);
  HGLOBAL loaded = info != nullptr ? ::LoadResource(Instance, info) : nullptr;
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) throw EInvalidGraphic(Format(L"PNG resource %ls not found", ResName.c_str()));
  TMemoryBuffer buffer(data, ::SizeofResource(Instance, info));
  std::istream stream(&buffer);
  LoadFromStream(stream);
}
