// PNG reading. Chunks are checked one by one as they arrive (length, type, CRC, order);
// the image data is inflated only once its size is known to be plausible, then unfiltered
// pass by pass and expanded to 8-bit straight RGBA.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <new>

#include "framework/PngImage.h"

namespace KaPng {
namespace {

[[noreturn]] void Fail(const String& Reason) { throw EInvalidGraphic(L"PNG: " + Reason); }

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
unsigned BigEndian16(const uint8_t* p) { return (unsigned(p[0]) << 8) | p[1]; }

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;
// Deflate packs at best about 1032 bytes into one, so a header promising more inflated
// data than that is lying (or is a bomb): refuse it before allocating for it.
constexpr uint64_t kMaxDeflateRatio = 1032;

struct THeader {
  uint32_t Width = 0, Height = 0;
  uint8_t BitDepth = 0, ColorType = 0;
  bool Interlaced = false;

  int Channels() const {
    switch (ColorType) {
      case ctRGB: return 3;
      case ctGreyAlpha: return 2;
      case ctRGBA: return 4;
      default: return 1;
    }
  }
  int BitsPerPixel() const { return Channels() * BitDepth; }
  // Filters work on whole bytes: the byte distance to the same byte of the previous pixel.
  int FilterStride() const { return std::max(1, BitsPerPixel() / 8); }
  uint64_t RowBytes(uint64_t PixelCount) const { return (PixelCount * BitsPerPixel() + 7) / 8; }
};

// One pass of the picture: all of it, or one of the seven Adam7 sub-images.
struct TPass {
  uint32_t X0, Y0, DX, DY;
  uint32_t Width, Height;  // in pixels of the pass; either may be 0 (no bytes at all)
};

std::vector<TPass> Passes(const THeader& H) {
  static constexpr uint32_t kAdam7[7][4] = {
      {0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  if (!H.Interlaced) return {{0, 0, 1, 1, H.Width, H.Height}};
  std::vector<TPass> passes;
  for (const auto& a : kAdam7) {
    uint32_t w = H.Width > a[0] ? (H.Width - a[0] + a[2] - 1) / a[2] : 0;
    uint32_t h = H.Height > a[1] ? (H.Height - a[1] + a[3] - 1) / a[3] : 0;
    passes.push_back({a[0], a[1], a[2], a[3], w, h});
  }
  return passes;
}

// Bytes of the inflated data: per row of every non-empty pass, a filter byte and the row.
uint64_t FilteredSize(const THeader& H) {
  uint64_t size = 0;
  for (const TPass& p : Passes(H))
    if (p.Width > 0 && p.Height > 0) size += uint64_t(p.Height) * (1 + H.RowBytes(p.Width));
  return size;
}

THeader ParseHeader(const std::vector<uint8_t>& D) {
  if (D.size() != 13) Fail(L"IHDR has the wrong length");
  THeader h;
  h.Width = BigEndian32(&D[0]);
  h.Height = BigEndian32(&D[4]);
  h.BitDepth = D[8];
  h.ColorType = D[9];
  if (h.Width == 0 || h.Height == 0 || h.Width > kMaxChunkLength || h.Height > kMaxChunkLength)
    Fail(Format(L"invalid picture size %u x %u", h.Width, h.Height));
  bool depthOk = false;
  switch (h.ColorType) {
    case ctGrey: depthOk = h.BitDepth == 1 || h.BitDepth == 2 || h.BitDepth == 4 || h.BitDepth == 8 || h.BitDepth == 16; break;
    case ctPalette: depthOk = h.BitDepth == 1 || h.BitDepth == 2 || h.BitDepth == 4 || h.BitDepth == 8; break;
    case ctRGB:
    case ctGreyAlpha:
    case ctRGBA: depthOk = h.BitDepth == 8 || h.BitDepth == 16; break;
    default: Fail(Format(L"unknown colour type %d", int(h.ColorType)));
  }
  if (!depthOk) Fail(Format(L"bit depth %d is not allowed with colour type %d", int(h.BitDepth), int(h.ColorType)));
  if (D[10] != 0) Fail(L"unknown compression method");
  if (D[11] != 0) Fail(L"unknown filter method");
  if (D[12] > 1) Fail(L"unknown interlace method");
  h.Interlaced = D[12] == 1;
  if (uint64_t(h.Width) * h.Height > kMaxPixels)
    Fail(Format(L"a picture of %u x %u pixels is too large", h.Width, h.Height));
  return h;
}

// ---- Chunks -----------------------------------------------------------------------------

class TChunkReader {
 public:
  explicit TChunkReader(std::istream& Stream) : FStream(Stream) {}

  void CheckSignature() {
    uint8_t sig[8];
    if (!ReadSome(sig, 8) || std::memcmp(sig, kSignature, 8) != 0) Fail(L"not a PNG datastream (bad signature)");
  }

  // Reads the next chunk's data into Data (replacing it) and checks its CRC.
  void Next(std::array<char, 4>& Type, std::vector<uint8_t>& Data) {
    uint8_t head[8];
    if (!ReadSome(head, 8)) Fail(L"the data is truncated (no IEND chunk)");
    uint32_t length = BigEndian32(head);
    std::memcpy(Type.data(), head + 4, 4);
    for (char c : Type)
      if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) Fail(L"invalid chunk type");
    String name = TypeName(Type);
    if (length > kMaxChunkLength) Fail(L"the length of chunk " + name + L" is out of range");
    Data.clear();
    ReadData(length, Data, name);
    uint8_t crcBytes[4];
    if (!ReadSome(crcBytes, 4)) Fail(L"the data is truncated in chunk " + name);
    uLong crc = crc32(0L, head + 4, 4);
    if (!Data.empty()) crc = crc32(crc, Data.data(), static_cast<uInt>(Data.size()));
    if (crc != BigEndian32(crcBytes)) Fail(L"CRC mismatch in " + name);
  }

  static String TypeName(const std::array<char, 4>& Type) { return String(Type.begin(), Type.end()); }

 private:
  bool ReadSome(uint8_t* Dest, size_t Count) {
    FStream.read(reinterpret_cast<char*>(Dest), static_cast<std::streamsize>(Count));
    return static_cast<size_t>(FStream.gcount()) == Count;
  }

  // In pieces, so that a length promising more than the stream holds fails on the missing
  // bytes instead of first allocating for them.
  void ReadData(uint32_t Length, std::vector<uint8_t>& Data, const String& Name) {
    constexpr size_t kPiece = size_t(1) << 16;
    while (Data.size() < Length) {
      size_t at = Data.size();
      size_t n = std::min<size_t>(kPiece, Length - at);
      Data.resize(at + n);
      if (!ReadSome(Data.data() + at, n)) Fail(L"the data is truncated in chunk " + Name);
    }
  }

  std::istream& FStream;
};

// What the chunks before IEND said.
struct TChunks {
  THeader Header;
  std::vector<uint8_t> Palette;       // R, G, B per entry
  std::vector<uint8_t> PaletteAlpha;  // tRNS of a palette picture
  bool HasColorKey = false;
  unsigned ColorKey[3] = {0, 0, 0};   // tRNS of grey (first value) and RGB pictures, full depth
  std::vector<uint8_t> ImageData;     // the IDAT chunks, joined
};

bool Is(const std::array<char, 4>& Type, const char* Name) { return std::memcmp(Type.data(), Name, 4) == 0; }

void TakePalette(TChunks& C, std::vector<uint8_t>& Data, bool SeenData) {
  uint8_t ct = C.Header.ColorType;
  if (ct == ctGrey || ct == ctGreyAlpha) Fail(L"PLTE in a picture without colour");
  if (SeenData) Fail(L"PLTE after the image data");
  if (!C.Palette.empty()) Fail(L"more than one PLTE chunk");
  if (Data.empty() || Data.size() % 3 != 0 || Data.size() > 256 * 3) Fail(L"PLTE has an invalid length");
  if (ct == ctPalette) C.Palette.swap(Data);  // RGB pictures only suggest a palette: not needed
}

// An ancillary chunk: one that does not fit is left out rather than failing the picture.
void TakeTransparency(TChunks& C, const std::vector<uint8_t>& Data, bool SeenData) {
  if (SeenData || C.HasColorKey || !C.PaletteAlpha.empty()) return;
  switch (C.Header.ColorType) {
    case ctGrey:
      if (Data.size() != 2) return;
      C.ColorKey[0] = BigEndian16(&Data[0]);
      C.HasColorKey = true;
      break;
    case ctRGB:
      if (Data.size() != 6) return;
      for (int i = 0; i < 3; ++i) C.ColorKey[i] = BigEndian16(&Data[2 * i]);
      C.HasColorKey = true;
      break;
    case ctPalette:
      if (C.Palette.empty() || Data.size() > C.Palette.size() / 3) return;
      C.PaletteAlpha = Data;
      break;
    default: break;  // an alpha channel needs no more
  }
}

TChunks ReadChunks(std::istream& Stream) {
  TChunkReader reader(Stream);
  reader.CheckSignature();
  TChunks c;
  std::array<char, 4> type{};
  std::vector<uint8_t> data;
  reader.Next(type, data);
  if (!Is(type, "IHDR")) Fail(L"the first chunk is not IHDR");
  c.Header = ParseHeader(data);
  bool seenData = false, dataEnded = false;
  for (;;) {
    reader.Next(type, data);
    bool isData = Is(type, "IDAT");
    if (seenData && !isData) dataEnded = true;
    if (isData) {
      if (dataEnded) Fail(L"the IDAT chunks are not consecutive");
      if (c.Header.ColorType == ctPalette && c.Palette.empty()) Fail(L"no PLTE chunk before the image data");
      seenData = true;
      c.ImageData.insert(c.ImageData.end(), data.begin(), data.end());
    } else if (Is(type, "IEND")) {
      if (!seenData) Fail(L"no image data");
      return c;
    } else if (Is(type, "IHDR")) {
      Fail(L"more than one IHDR chunk");
    } else if (Is(type, "PLTE")) {
      TakePalette(c, data, seenData);
    } else if (Is(type, "tRNS")) {
      TakeTransparency(c, data, seenData);
    } else if ((type[0] & 0x20) == 0) {
      Fail(L"unknown critical chunk " + TChunkReader::TypeName(type));
    }
    // Other ancillary chunks (gamma, text, background ...) do not change the pixels.
  }
}

// ---- Inflating and unfiltering ----------------------------------------------------------

class TInflateStream {
 public:
  TInflateStream() {
    if (inflateInit(&FZ) != Z_OK) Fail(L"zlib cannot start");
  }
  ~TInflateStream() { inflateEnd(&FZ); }
  TInflateStream(const TInflateStream&) = delete;
  TInflateStream& operator=(const TInflateStream&) = delete;
  z_stream& Z() { return FZ; }

 private:
  z_stream FZ{};
};

// Exactly Expected bytes; the zlib stream must end (its Adler-32 checked). Data past the
// expected size is inflated and dropped: it cannot change the picture.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& In, size_t Expected) {
  constexpr size_t kStep = size_t(1) << 30;  // zlib counts in uInt
  std::vector<uint8_t> out(Expected);
  uint8_t spill[4096];
  TInflateStream stream;
  z_stream& z = stream.Z();
  size_t inPos = 0, outPos = 0;
  for (;;) {
    if (z.avail_in == 0 && inPos < In.size()) {
      size_t n = std::min(kStep, In.size() - inPos);
      z.next_in = const_cast<Bytef*>(In.data() + inPos);
      z.avail_in = static_cast<uInt>(n);
      inPos += n;
    }
    bool spilling = outPos == Expected;
    size_t room = spilling ? sizeof(spill) : std::min(kStep, Expected - outPos);
    z.next_out = spilling ? spill : out.data() + outPos;
    z.avail_out = static_cast<uInt>(room);
    int ret = inflate(&z, Z_NO_FLUSH);
    if (!spilling) outPos += room - z.avail_out;
    if (ret == Z_STREAM_END) break;
    if (ret == Z_NEED_DICT) Fail(L"the image data asks for a preset dictionary");
    if (ret == Z_MEM_ERROR) throw std::bad_alloc();
    if (ret == Z_DATA_ERROR) Fail(L"corrupt image data (" + FromUtf8(z.msg != nullptr ? z.msg : "zlib") + L")");
    if (ret == Z_BUF_ERROR && z.avail_in == 0 && inPos == In.size()) Fail(L"the image data ends early");
    if (ret != Z_OK && ret != Z_BUF_ERROR) Fail(L"corrupt image data");
  }
  if (outPos < Expected) Fail(L"the image data is too short for the picture");
  return out;
}

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Undoes the filter of one row in place; Prev is the unfiltered row above (zeros for the
// first row of a pass).
void UnfilterRow(uint8_t Filter, uint8_t* Row, const uint8_t* Prev, size_t Count, size_t Stride) {
  switch (Filter) {
    case 0: break;
    case 1:
      for (size_t i = Stride; i < Count; ++i) Row[i] = uint8_t(Row[i] + Row[i - Stride]);
      break;
    case 2:
      for (size_t i = 0; i < Count; ++i) Row[i] = uint8_t(Row[i] + Prev[i]);
      break;
    case 3:
      for (size_t i = 0; i < Count; ++i) {
        int left = i >= Stride ? Row[i - Stride] : 0;
        Row[i] = uint8_t(Row[i] + ((left + Prev[i]) >> 1));
      }
      break;
    case 4:
      for (size_t i = 0; i < Count; ++i) {
        int left = i >= Stride ? Row[i - Stride] : 0;
        int upLeft = i >= Stride ? Prev[i - Stride] : 0;
        Row[i] = uint8_t(Row[i] + Paeth(left, Prev[i], upLeft));
      }
      break;
    default: Fail(Format(L"unknown filter type %d", int(Filter)));
  }
}

// ---- Expanding to RGBA ------------------------------------------------------------------

// Sample Index of a row at Depth bits (packed from the high bit down; 16 bits big-endian).
unsigned Sample(const uint8_t* Row, size_t Index, int Depth) {
  switch (Depth) {
    case 8: return Row[Index];
    case 16: return BigEndian16(Row + 2 * Index);
    default: {
      size_t bit = Index * Depth;
      unsigned shift = 8 - Depth - unsigned(bit % 8);
      return (Row[bit / 8] >> shift) & ((1u << Depth) - 1);
    }
  }
}

// 16-bit samples keep their high byte; 1, 2 and 4 bits stretch to the full range.
uint8_t To8(unsigned Value, int Depth) {
  if (Depth == 16) return static_cast<uint8_t>(Value >> 8);
  if (Depth == 8) return static_cast<uint8_t>(Value);
  return static_cast<uint8_t>(Value * 255 / ((1u << Depth) - 1));
}

class TExpander {
 public:
  TExpander(const TChunks& C, uint8_t* Pixels) : FC(C), FH(C.Header), FPixels(Pixels) {}

  void Row(const TPass& P, uint32_t PassRow, const uint8_t* Data) const {
    size_t y = P.Y0 + size_t(PassRow) * P.DY;
    for (uint32_t i = 0; i < P.Width; ++i) {
      size_t x = P.X0 + size_t(i) * P.DX;
      Pixel(Data, i, FPixels + (y * FH.Width + x) * 4);
    }
  }

 private:
  void Pixel(const uint8_t* Row, size_t I, uint8_t* Out) const {
    const int d = FH.BitDepth;
    switch (FH.ColorType) {
      case ctGrey: {
        unsigned g = Sample(Row, I, d);
        Out[0] = Out[1] = Out[2] = To8(g, d);
        Out[3] = FC.HasColorKey && g == FC.ColorKey[0] ? 0 : 255;
        break;
      }
      case ctRGB: {
        unsigned s[3] = {Sample(Row, I * 3, d), Sample(Row, I * 3 + 1, d), Sample(Row, I * 3 + 2, d)};
        for (int c = 0; c < 3; ++c) Out[c] = To8(s[c], d);
        bool keyed = FC.HasColorKey && s[0] == FC.ColorKey[0] && s[1] == FC.ColorKey[1] && s[2] == FC.ColorKey[2];
        Out[3] = keyed ? 0 : 255;
        break;
      }
      case ctPalette: {
        unsigned index = Sample(Row, I, d);
        if (index >= FC.Palette.size() / 3) Fail(Format(L"palette index %u out of range", index));
        std::memcpy(Out, &FC.Palette[index * 3], 3);
        Out[3] = index < FC.PaletteAlpha.size() ? FC.PaletteAlpha[index] : 255;
        break;
      }
      case ctGreyAlpha:
        Out[0] = Out[1] = Out[2] = To8(Sample(Row, I * 2, d), d);
        Out[3] = To8(Sample(Row, I * 2 + 1, d), d);
        break;
      default:
        for (int c = 0; c < 4; ++c) Out[c] = To8(Sample(Row, I * 4 + c, d), d);
        break;
    }
  }

  const TChunks& FC;
  const THeader& FH;
  uint8_t* FPixels;
};

TPNGTransparencyMode ModeOf(const TChunks& C) {
  switch (C.Header.ColorType) {
    case ctGreyAlpha:
    case ctRGBA: return ptmPartial;
    case ctPalette: {
      bool partial = std::any_of(C.PaletteAlpha.begin(), C.PaletteAlpha.end(), [](uint8_t a) { return a != 0 && a != 255; });
      if (partial) return ptmPartial;
      bool bit = std::find(C.PaletteAlpha.begin(), C.PaletteAlpha.end(), 0) != C.PaletteAlpha.end();
      return bit ? ptmBit : ptmNone;
    }
    default: return C.HasColorKey ? ptmBit : ptmNone;
  }
}

TImageData DecodeChunks(const TChunks& C) {
  const THeader& h = C.Header;
  uint64_t expected = FilteredSize(h);
  if (expected > uint64_t(C.ImageData.size()) * kMaxDeflateRatio + 1024)
    Fail(Format(L"the image data is far too short for a picture of %u x %u pixels", h.Width, h.Height));
  if (expected > std::numeric_limits<size_t>::max() || uint64_t(h.Width) * h.Height * 4 > std::numeric_limits<size_t>::max())
    Fail(Format(L"a picture of %u x %u pixels is too large", h.Width, h.Height));
  std::vector<uint8_t> filtered = Inflate(C.ImageData, static_cast<size_t>(expected));

  TImageData image;
  image.Pixels.resize(size_t(h.Width) * h.Height * 4);
  TExpander expander(C, image.Pixels.data());
  const size_t stride = h.FilterStride();
  uint8_t* at = filtered.data();
  for (const TPass& p : Passes(h)) {
    if (p.Width == 0 || p.Height == 0) continue;
    const size_t rowBytes = static_cast<size_t>(h.RowBytes(p.Width));
    std::vector<uint8_t> zeros(rowBytes, 0);
    const uint8_t* prev = zeros.data();
    for (uint32_t r = 0; r < p.Height; ++r) {
      uint8_t* row = at + 1;
      UnfilterRow(at[0], row, prev, rowBytes, stride);
      expander.Row(p, r, row);
      prev = row;
      at += 1 + rowBytes;
    }
  }
  image.Width = static_cast<int>(h.Width);
  image.Height = static_cast<int>(h.Height);
  image.ColorType = h.ColorType;
  image.BitDepth = h.BitDepth;
  image.Interlaced = h.Interlaced;
  image.TransparencyMode = ModeOf(C);
  return image;
}

}  // namespace

TImageData Decode(std::istream& Stream) {
  try {
    return DecodeChunks(ReadChunks(Stream));
  } catch (const std::bad_alloc&) {
    throw EInvalidGraphic(L"PNG: not enough memory for the picture");
  } catch (const std::ios_base::failure&) {
    throw EInvalidGraphic(L"PNG: the stream cannot be read");
  }
}

}  // namespace KaPng
