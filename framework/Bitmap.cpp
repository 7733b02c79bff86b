// TGraphic and TBitmap: pictures that draw themselves, bitmaps as bottom-up DIB sections.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"

// ---- TGraphic ---------------------------------------------------------------------------

void TGraphic::SetSize(int AWidth, int AHeight) {
  throw EInvalidGraphicOperation(Format(L"Cannot change the size of a %ls", ClassName()));
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::LoadFromStream(std::istream& Stream) {
  throw EInvalidGraphicOperation(Format(L"A %ls cannot be read from a stream", ClassName()));
}

void TGraphic::SaveToStream(std::ostream& Stream) {
  throw EInvalidGraphicOperation(Format(L"A %ls cannot be written to a stream", ClassName()));
}

void TGraphic::LoadFromFile(const String& FileName) {
  std::ifstream file(std::filesystem::path(FileName), std::ios::binary);
  if (!file) throw EInvalidGraphic(Format(L"Cannot open file \"%ls\"", FileName.c_str()));
  LoadFromStream(file);
}

void TGraphic::SaveToFile(const String& FileName) {
  std::ofstream file(std::filesystem::path(FileName), std::ios::binary | std::ios::trunc);
  if (!file) throw EInvalidGraphic(Format(L"Cannot create file \"%ls\"", FileName.c_str()));
  SaveToStream(file);
  file.close();
  if (!file) throw EInvalidGraphic(Format(L"Cannot write file \"%ls\"", FileName.c_str()));
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

std::vector<uint8_t> TGraphic::Data() const {
  if (Empty()) return {};
  std::ostringstream out(std::ios::binary);
  // Writing does not change the picture; the stream interface is simply not const.
  const_cast<TGraphic*>(this)->SaveToStream(out);
  const std::string bytes = out.str();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void TGraphic::SetData(const std::vector<uint8_t>& Value) {
  if (Value.empty() && Empty()) return;
  std::istringstream in(std::string(Value.begin(), Value.end()), std::ios::binary);
  LoadFromStream(in);
}

KA_REGISTER_CLASS(TGraphic, [](auto& c) { c.Property(L"Data", &TGraphic::Data, &TGraphic::SetData); });

// ---- Pixel arithmetic -------------------------------------------------------------------

namespace {

uint8_t Premultiply(uint8_t c, uint8_t a) { return static_cast<uint8_t>((c * a + 127) / 255); }

uint8_t Unpremultiply(uint8_t c, uint8_t a) {
  if (a == 0) return 0;
  return static_cast<uint8_t>(std::min(255, (c * 255 + a / 2) / a));
}

// Four bytes per pixel, B G R A.
void PremultiplyPixels(uint8_t* p, size_t count) {
  for (size_t i = 0; i < count; ++i, p += 4)
    for (int c = 0; c < 3; ++c) p[c] = Premultiply(p[c], p[3]);
}

void UnpremultiplyPixels(uint8_t* p, size_t count) {
  for (size_t i = 0; i < count; ++i, p += 4)
    for (int c = 0; c < 3; ++c) p[c] = Unpremultiply(p[c], p[3]);
}

int Stride(int Width, int BitsPerPixel) { return ((Width * BitsPerPixel + 31) / 32) * 4; }

// A view of bottom-up pixel memory, for copying between formats.
struct TPixels {
  uint8_t* Bits;
  int Width, Height, BitsPerPixel;
  bool Premultiplied;
  uint8_t* Row(int Top) const {
    return Bits + size_t(Height - 1 - Top) * Stride(Width, BitsPerPixel);
  }
};

// Copies the overlapping top-left part, converting bit depth and premultiplication.
void CopyPixels(const TPixels& Src, const TPixels& Dst) {
  int w = std::min(Src.Width, Dst.Width), h = std::min(Src.Height, Dst.Height);
  int sb = Src.BitsPerPixel / 8, db = Dst.BitsPerPixel / 8;
  bool plain = sb == db && Src.Premultiplied == Dst.Premultiplied;
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = Src.Row(y);
    uint8_t* d = Dst.Row(y);
    if (plain) {
      std::memcpy(d, s, size_t(w) * sb);
      continue;
    }
    for (int x = 0; x < w; ++x, s += sb, d += db) {
      uint8_t a = sb == 4 ? s[3] : 255;
      for (int c = 0; c < 3; ++c) {
        uint8_t v = s[c];
        if (Src.Premultiplied && !Dst.Premultiplied) v = Unpremultiply(v, a);
        if (!Src.Premultiplied && Dst.Premultiplied) v = Premultiply(v, a);
        d[c] = v;
      }
      if (db == 4) d[3] = a;
    }
  }
}

BITMAPINFOHEADER InfoHeader(int Width, int Height, int BitsPerPixel) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = Width;
  h.biHeight = Height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(BitsPerPixel);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(Stride(Width, BitsPerPixel)) * Height;
  return h;
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(L"Bitmap image is not valid"); }

}  // namespace

// ---- The bitmap's canvas ----------------------------------------------------------------

// A canvas on a memory DC that holds the bitmap, made when first asked for.
class TBitmap::TBitmapCanvas : public TCanvas {
  KA_CLASS(TBitmapCanvas, TCanvas)
 public:
  explicit TBitmapCanvas(TBitmap* Owner) : FBitmap(Owner) {}
  ~TBitmapCanvas() override { FreeContext(); }

  // Unbinds and deletes the DC, the bitmap leaving it first.
  void FreeContext() {
    SetHandle(nullptr);
    FSelect.Restore();
    FDC.Reset();
  }

 protected:
  void CreateHandle() override {
    TMemoryDC dc = TMemoryDC::CreateCompatible(nullptr);
    TSelectObject select;
    if (FBitmap->FHandle) select = TSelectObject(dc.Get(), FBitmap->FHandle.Get());
    FDC = std::move(dc);
    FSelect = std::move(select);
    SetHandle(FDC.Get());
  }

 private:
  TBitmap* FBitmap;
  TMemoryDC FDC;
  TSelectObject FSelect;  // after FDC: the bitmap leaves the DC before the DC goes
};

// ---- TBitmap ----------------------------------------------------------------------------

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() { FreeAndNil(FCanvas); }

TCanvas* TBitmap::Canvas() {
  if (FCanvas == nullptr) {
    FCanvas = new TBitmapCanvas(this);
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas;
}

void TBitmap::ReleaseCanvasDC() {
  if (FCanvas != nullptr) FCanvas->FreeContext();
}

void TBitmap::Install(TBitmapHandle Handle, void* Bits, int AWidth, int AHeight, TPixelFormat Format) {
  ReleaseCanvasDC();
  FHandle = std::move(Handle);
  FBits = static_cast<uint8_t*>(Bits);
  FWidth = AWidth;
  FHeight = AHeight;
  FPixelFormat = Format;
}

int TBitmap::BytesPerScanLine() const { return Stride(FWidth, BitsPerPixel()); }

void TBitmap::Recreate(int AWidth, int AHeight, TPixelFormat Format) {
  TBitmapHandle handle;
  void* bits = nullptr;
  int bpp = Format == pf24bit ? 24 : 32;
  if (AWidth > 0 && AHeight > 0) {
    handle = CreateBottomUpDIB(AWidth, AHeight, bpp, &bits);
    if (FHandle) {
      ::GdiFlush();
      bool premultiplied = FAlphaFormat == afPremultiplied;
      CopyPixels({FBits, FWidth, FHeight, BitsPerPixel(), premultiplied && FPixelFormat == pf32bit},
                 {static_cast<uint8_t*>(bits), AWidth, AHeight, bpp, premultiplied && Format == pf32bit});
    }
  }
  Install(std::move(handle), bits, AWidth, AHeight, Format);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  Recreate(AWidth, AHeight, FPixelFormat);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  Recreate(FWidth, FHeight, Value);
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
  if (Value == FAlphaFormat) return;
  if (FPixelFormat == pf32bit && FHandle) {
    ::GdiFlush();
    size_t count = size_t(FWidth) * FHeight;
    if (Value == afPremultiplied)
      PremultiplyPixels(FBits, count);
    else if (FAlphaFormat == afPremultiplied)
      UnpremultiplyPixels(FBits, count);
  }
  FAlphaFormat = Value;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentColor != clDefault || !FHandle) return FTransparentColor;
  ::GdiFlush();
  return RGBColor(FBits[2], FBits[1], FBits[0]);  // bottom row first in memory
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  Changed();
}

void* TBitmap::ScanLine(int Row) {
  if (!FHandle || Row < 0 || Row >= FHeight)
    throw EInvalidGraphicOperation(Format(L"Scan line index out of range (%d)", Row));
  ::GdiFlush();
  return FBits + size_t(FHeight - 1 - Row) * BytesPerScanLine();
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    Install(TBitmapHandle(), nullptr, 0, 0, FPixelFormat);
    Changed();
    return;
  }
  auto* src = dynamic_cast<TBitmap*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  TBitmapHandle handle;
  void* bits = nullptr;
  if (src->FHandle) {
    handle = CreateBottomUpDIB(src->FWidth, src->FHeight, src->BitsPerPixel(), &bits);
    ::GdiFlush();
    std::memcpy(bits, src->FBits, size_t(src->BytesPerScanLine()) * src->FHeight);
  }
  Install(std::move(handle), bits, src->FWidth, src->FHeight, src->FPixelFormat);
  FAlphaFormat = src->FAlphaFormat;
  FTransparent = src->FTransparent;
  FTransparentColor = src->FTransparentColor;
  Changed();
}

// ---- Drawing ----------------------------------------------------------------------------

// Runs Blit with a DC holding the bitmap: the canvas's own if it has one (a bitmap can be
// selected into one DC only), else a temporary one.
template <class F>
void TBitmap::WithSourceDC(F&& Blit) {
  if (FCanvas != nullptr && FCanvas->HandleAllocated()) {
    Blit(FCanvas->Handle());
    return;
  }
  TMemoryDC dc = TMemoryDC::CreateCompatible(nullptr);
  TSelectObject select(dc.Get(), FHandle.Get());
  Blit(dc.Get());
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || ACanvas == nullptr) return;
  HDC dest = ACanvas->Handle();
  if (FPixelFormat == pf32bit && FAlphaFormat == afDefined) {
    DrawStraightAlpha(dest, Rect);
    return;
  }
  bool alpha = FPixelFormat == pf32bit && FAlphaFormat == afPremultiplied;
  TCopyMode rop = ACanvas->CopyMode();
  WithSourceDC([&](HDC src) {
    if (alpha) {
      BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      ::AlphaBlend(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight, bf);
    } else if (FTransparent) {
      ::TransparentBlt(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                       static_cast<UINT>(ColorToRGB(TransparentColor())));
    } else if (Rect.Width() == FWidth && Rect.Height() == FHeight) {
      ::BitBlt(dest, Rect.Left, Rect.Top, FWidth, FHeight, src, 0, 0, rop);
    } else {
      int oldMode = ::SetStretchBltMode(dest, COLORONCOLOR);
      ::StretchBlt(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight, rop);
      ::SetStretchBltMode(dest, oldMode);
    }
  });
}

// AlphaBlend wants premultiplied colours: blend a premultiplied copy.
void TBitmap::DrawStraightAlpha(HDC Dest, const TRect& Rect) {
  void* bits = nullptr;
  TBitmapHandle copy = CreateBottomUpDIB(FWidth, FHeight, 32, &bits);
  ::GdiFlush();
  size_t count = size_t(FWidth) * FHeight;
  std::memcpy(bits, FBits, count * 4);
  PremultiplyPixels(static_cast<uint8_t*>(bits), count);
  TMemoryDC dc = TMemoryDC::CreateCompatible(nullptr);
  TSelectObject select(dc.Get(), copy.Get());
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(Dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), dc.Get(), 0, 0, FWidth, FHeight, bf);
}

// ---- Loading and saving -----------------------------------------------------------------

namespace {
TBitmapHandle LoadBitmapResource(HINSTANCE Instance, const wchar_t* Name, const String& Shown) {
  HANDLE h = ::LoadImageW(Instance, Name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (h == nullptr) throw EInvalidGraphic(Format(L"Bitmap resource %ls not found", Shown.c_str()));
  return TBitmapHandle(static_cast<HBITMAP>(h));
}
}  // namespace

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  TBitmapHandle loaded = LoadBitmapResource(Instance, ResName.c_str(), ResName);
  LoadFromHandle(loaded.Get());
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  TBitmapHandle loaded = LoadBitmapResource(Instance, MAKEINTRESOURCEW(ResID), IntToStr(ResID));
  LoadFromHandle(loaded.Get());
}

// Copies any bitmap GDI knows into a new DIB section of our own, 32-bit sources keeping
// their alpha bytes.
void TBitmap::LoadFromHandle(HBITMAP Source) {
  BITMAP bm{};
  if (::GetObjectW(Source, sizeof(bm), &bm) == 0) InvalidBitmap();
  int width = bm.bmWidth, height = std::abs(bm.bmHeight);
  TPixelFormat format = bm.bmBitsPixel == 32 ? pf32bit : pf24bit;
  int bpp = format == pf32bit ? 32 : 24;
  void* bits = nullptr;
  TBitmapHandle handle = CreateBottomUpDIB(width, height, bpp, &bits);
  BITMAPINFO bi{};
  bi.bmiHeader = InfoHeader(width, height, bpp);
  TWindowDC screen(nullptr);
  if (::GetDIBits(screen.Get(), Source, 0, height, bits, &bi, DIB_RGB_COLORS) == 0) InvalidBitmap();
  Install(std::move(handle), bits, width, height, format);
  FAlphaFormat = afIgnored;
  Changed();
}

void TBitmap::LoadFromStream(std::istream& Stream) {
  std::vector<char> data{std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>()};
  LoadFromBmpData(data);
}

void TBitmap::LoadFromBmpData(const std::vector<char>& Data) {
  if (Data.empty()) {
    Assign(nullptr);
    return;
  }
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  if (Data.size() < sizeof(fh) + sizeof(ih)) InvalidBitmap();
  std::memcpy(&fh, Data.data(), sizeof(fh));
  std::memcpy(&ih, Data.data() + sizeof(fh), sizeof(ih));
  constexpr int kMaxSide = 1 << 16;
  if (fh.bfType != 0x4D42 || ih.biSize < sizeof(ih) || ih.biWidth <= 0 || ih.biWidth > kMaxSide ||
      ih.biHeight == 0 || ih.biHeight > kMaxSide || ih.biHeight < -kMaxSide ||
      fh.bfOffBits < sizeof(fh) + ih.biSize || fh.bfOffBits >= Data.size())
    InvalidBitmap();
  int width = ih.biWidth, height = std::abs(ih.biHeight);
  size_t available = Data.size() - fh.bfOffBits;
  bool compressed = ih.biCompression != BI_RGB && ih.biCompression != BI_BITFIELDS;
  uint64_t needed = compressed ? ih.biSizeImage : uint64_t(Stride(width, ih.biBitCount)) * height;
  if (needed > available || (compressed && needed == 0)) InvalidBitmap();

  // The header and colour table, copied to aligned memory for GDI.
  std::vector<uint32_t> info((fh.bfOffBits - sizeof(fh) + 3) / 4);
  std::memcpy(info.data(), Data.data() + sizeof(fh), fh.bfOffBits - sizeof(fh));

  TPixelFormat format = ih.biBitCount == 32 ? pf32bit : pf24bit;
  int bpp = format == pf32bit ? 32 : 24;
  void* bits = nullptr;
  TBitmapHandle handle = CreateBottomUpDIB(width, height, bpp, &bits);
  TWindowDC screen(nullptr);
  if (::SetDIBits(screen.Get(), handle.Get(), 0, height, Data.data() + fh.bfOffBits,
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == 0)
    InvalidBitmap();
  Install(std::move(handle), bits, width, height, format);
  FAlphaFormat = afIgnored;
  Changed();
}

void TBitmap::SaveToStream(std::ostream& Stream) {
  if (Empty()) return;
  ::GdiFlush();
  BITMAPINFOHEADER ih = InfoHeader(FWidth, FHeight, BitsPerPixel());
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  Stream.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  Stream.write(reinterpret_cast<const char*>(&ih), sizeof(ih));
  Stream.write(reinterpret_cast<const char*>(FBits), static_cast<std::streamsize>(ih.biSizeImage));
  if (!Stream) throw EInvalidGraphic(L"Cannot write the bitmap");
}
