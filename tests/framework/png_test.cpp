// PNG pictures: the decoder against GDI+ and hand-computed pixels over the PNG test suite,
// malformed data (crafted and mutated), the encoder's round trip, bitmaps and drawing.
#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/support/Handles.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "framework/PngImage.h"

namespace {

// ---- Helpers ----------------------------------------------------------------------------

const String kSuiteDir = KA_PNGSUITE_DIR;

std::string ReadFile(const std::filesystem::path& Path) {
  std::ifstream f(Path, std::ios::binary);
  EXPECT_TRUE(f.good()) << Path.string();
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string Suite(const String& Name) { return ReadFile(std::filesystem::path(kSuiteDir + Name)); }

// Every picture of the suite, the interlaced low-depth ones in their folder included.
std::vector<std::filesystem::path> SuiteFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(std::filesystem::path(kSuiteDir)))
    if (e.path().extension() == ".png") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

bool IsInvalidSample(const std::filesystem::path& Path) { return Path.filename().wstring()[0] == L'x'; }

void Load(TPngImage& Png, const std::string& Bytes) {
  std::istringstream s(Bytes);
  Png.LoadFromStream(s);
}

std::string Save(TPngImage& Png) {
  std::ostringstream s;
  Png.SaveToStream(s);
  return s.str();
}

// The message of the EInvalidGraphic a load fails with ("" when it loads).
std::string LoadError(const std::string& Bytes) {
  TPngImage png;
  try {
    Load(png, Bytes);
  } catch (const EInvalidGraphic& e) {
    return e.what();
  }
  return "";
}

std::vector<uint32_t> Pixels(const TPngImage& Png) {
  std::vector<uint32_t> p;
  for (int y = 0; y < Png.Height(); ++y)
    for (int x = 0; x < Png.Width(); ++x) p.push_back(Png.Pixel(x, y));
  return p;
}

// Fully transparent pixels may carry any colour: compare them by alpha alone.
::testing::AssertionResult SamePixels(const std::vector<uint32_t>& Actual, const std::vector<uint32_t>& Expected,
                                      int Width) {
  if (Actual.size() != Expected.size())
    return ::testing::AssertionFailure() << Actual.size() << " pixels, want " << Expected.size();
  for (size_t i = 0; i < Actual.size(); ++i) {
    uint32_t a = Actual[i], e = Expected[i];
    if ((e >> 24) == 0 && (a >> 24) == 0) continue;
    if (a != e)
      return ::testing::AssertionFailure() << "pixel (" << i % Width << "," << i / Width << ") is " << std::hex << a
                                           << ", want " << e;
  }
  return ::testing::AssertionSuccess();
}

// ---- Building PNG data by hand ------------------------------------------------------------

void Put32(std::string& S, uint32_t V) {
  for (int shift = 24; shift >= 0; shift -= 8) S += static_cast<char>((V >> shift) & 0xFF);
}

std::string Chunk(const std::string& Type, const std::string& Data) {
  std::string c;
  Put32(c, static_cast<uint32_t>(Data.size()));
  std::string body = Type + Data;
  c += body;
  Put32(c, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
  return c;
}

std::string Bytes(std::initializer_list<int> Values) {
  std::string s;
  for (int v : Values) s += static_cast<char>(v);
  return s;
}

std::string Deflate(const std::string& Raw) {
  uLongf size = compressBound(static_cast<uLong>(Raw.size()));
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(Raw.data()),
           static_cast<uLong>(Raw.size()));
  out.resize(size);
  return out;
}

const std::string kSignature = Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});

std::string Header(uint32_t W, uint32_t H, int Depth, int ColorType, int Interlace = 0) {
  std::string d;
  Put32(d, W);
  Put32(d, H);
  d += Bytes({Depth, ColorType, 0, 0, Interlace});
  return Chunk("IHDR", d);
}

// A whole file: signature, IHDR, the chunks given (PLTE, tRNS ...), one IDAT of Raw
// (filter bytes and rows) deflated, IEND.
std::string MakePng(uint32_t W, uint32_t H, int Depth, int ColorType, const std::string& Raw,
                    const std::string& Before = "", int Interlace = 0) {
  return kSignature + Header(W, H, Depth, ColorType, Interlace) + Before + Chunk("IDAT", Deflate(Raw)) +
         Chunk("IEND", "");
}

// Recomputes the CRC of every chunk, so that damage reaches the parts behind the checks.
std::string Reseal(std::string Png) {
  size_t at = 8;
  while (at + 12 <= Png.size()) {
    uint32_t len = (uint8_t(Png[at]) << 24) | (uint8_t(Png[at + 1]) << 16) | (uint8_t(Png[at + 2]) << 8) |
                   uint8_t(Png[at + 3]);
    if (len > Png.size() - at - 12) break;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(Png.data() + at + 4), len + 4);
    for (int i = 0; i < 4; ++i) Png[at + 8 + len + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    at += 12 + len;
  }
  return Png;
}

// ---- GDI+ as the reference decoder ------------------------------------------------------

class TGdiPlusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&FToken, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(FToken); }

 private:
  ULONG_PTR FToken = 0;
};
[[maybe_unused]] ::testing::Environment* const kGdiPlus =
    ::testing::AddGlobalTestEnvironment(new TGdiPlusEnvironment);

struct TStreamRelease {
  void operator()(IStream* S) const { S->Release(); }
};

// GDI+'s decode of the bytes as straight 0xAARRGGBB pixels; empty when it cannot read them.
std::vector<uint32_t> GdiPlusPixels(const std::string& Png, int& Width, int& Height) {
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, Png.size());
  std::memcpy(::GlobalLock(mem), Png.data(), Png.size());
  ::GlobalUnlock(mem);
  IStream* raw = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, &raw))) {
    ::GlobalFree(mem);
    return {};
  }
  std::unique_ptr<IStream, TStreamRelease> stream(raw);
  Gdiplus::Bitmap bitmap(stream.get());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return {};
  Width = static_cast<int>(bitmap.GetWidth());
  Height = static_cast<int>(bitmap.GetHeight());
  std::vector<uint32_t> pixels(size_t(Width) * Height);
  Gdiplus::Rect rect(0, 0, Width, Height);
  Gdiplus::BitmapData data{};
  data.Width = Width;
  data.Height = Height;
  data.Stride = Width * 4;
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = pixels.data();
  if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                      &data) != Gdiplus::Ok)
    return {};
  bitmap.UnlockBits(&data);
  return pixels;
}

// ---- The test suite ---------------------------------------------------------------------

TEST(PngSuite, EveryValidFileDecodesAsGdiPlusDecodesIt) {
  auto files = SuiteFiles();
  ASSERT_GE(files.size(), 60u) << "suite not found in " << ToUtf8(kSuiteDir);
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    std::string bytes = ReadFile(path);
    if (IsInvalidSample(path)) {
      EXPECT_NE(LoadError(bytes), "");
      continue;
    }
    TPngImage png;
    ASSERT_NO_THROW(Load(png, bytes));
    int w = 0, h = 0;
    std::vector<uint32_t> reference = GdiPlusPixels(bytes, w, h);
    ASSERT_FALSE(reference.empty()) << "GDI+ cannot read it";
    ASSERT_EQ(png.Width(), w);
    ASSERT_EQ(png.Height(), h);
    EXPECT_TRUE(SamePixels(Pixels(png), reference, w));
  }
}

TEST(PngSuite, HandComputedPixels) {
  struct TCase {
    const wchar_t* File;
    int X, Y;
    uint32_t Pixel;
    TPNGTransparencyMode Mode;
  };
  const TCase cases[] = {
      // 1-bit grey, first rows ff ff ff fe / ff ff ff fc: white but for the last pixel(s).
      {L"basn0g01.png", 0, 0, 0xFFFFFFFF, ptmNone},
      {L"basn0g01.png", 31, 0, 0xFF000000, ptmNone},
      {L"basn0g01.png", 30, 1, 0xFF000000, ptmNone},
      // 2-bit grey, first row 00 55 aa ff: runs of four samples 0, 1, 2, 3 -> 0, 85, 170, 255.
      {L"basn0g02.png", 3, 0, 0xFF000000, ptmNone},
      {L"basn0g02.png", 4, 0, 0xFF555555, ptmNone},
      {L"basn0g02.png", 8, 0, 0xFFAAAAAA, ptmNone},
      {L"basn0g02.png", 15, 0, 0xFFFFFFFF, ptmNone},
      // 2-bit palette (00ff00, ff0000, ffff00, 0000ff), first row ff 55 aa 00: indices 3, 1, 2, 0.
      {L"basn3p02.png", 0, 0, 0xFF0000FF, ptmNone},
      {L"basn3p02.png", 4, 0, 0xFFFF0000, ptmNone},
      {L"basn3p02.png", 8, 0, 0xFFFFFF00, ptmNone},
      {L"basn3p02.png", 12, 0, 0xFF00FF00, ptmNone},
      // Colour keys: 1-bit grey keyed on 0 with a black first row; 16-bit grey keyed on
      // ffff with a white first row; 16-bit RGB keyed on white.
      {L"ftbbn0g01.png", 0, 0, 0x00000000, ptmBit},
      {L"ftbwn0g16.png", 0, 0, 0x00FFFFFF, ptmBit},
      {L"ftbbn2c16.png", 0, 0, 0x00FFFFFF, ptmBit},
      // A palette whose tRNS holds only 0.
      {L"ftbbn3p08.png", 0, 0, 0x00FFFFFF, ptmBit},
      // Alpha channels. First rows under the Sub filter: RGBA ff 00 08 00, 00 00 00 08 and
      // grey-alpha ff 00, 00 08: the second pixels are ff 00 08 08 and ff 08.
      {L"basn6a08.png", 1, 0, 0x08FF0008, ptmPartial},
      {L"basn4a08.png", 1, 0, 0x08FFFFFF, ptmPartial},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.File));
    TPngImage png;
    Load(png, Suite(c.File));
    EXPECT_EQ(png.TransparencyMode(), c.Mode);
    EXPECT_EQ(png.Transparent(), c.Mode != ptmNone);
    EXPECT_EQ(png.Pixel(c.X, c.Y), c.Pixel) << std::hex << png.Pixel(c.X, c.Y);
  }
}

// The "i" files are the others interlaced (27 of the 30: three, despite the name, are not).
TEST(PngSuite, InterlacedFilesDecodeLikeTheirPlainTwins) {
  int interlacedCount = 0;
  for (const auto& path : SuiteFiles()) {
    std::wstring name = path.filename().wstring();
    if (name[0] != L'i') continue;
    SCOPED_TRACE(path.filename().string());
    TPngImage interlaced, plain;
    Load(interlaced, ReadFile(path));
    Load(plain, Suite(name.substr(1)));
    interlacedCount += interlaced.Interlaced();
    EXPECT_FALSE(plain.Interlaced());
    EXPECT_EQ(interlaced.TransparencyMode(), plain.TransparencyMode());
    EXPECT_EQ(Pixels(interlaced), Pixels(plain));
  }
  EXPECT_EQ(interlacedCount, 27);
}

TEST(PngSuite, LoadsFromFileAndResource) {
  TPngImage fromFile, fromResource;
  fromFile.LoadFromFile(kSuiteDir + L"basn6a08.png");
  EXPECT_EQ(fromFile.Width(), 32);
  fromResource.LoadFromResourceName(::GetModuleHandleW(nullptr), L"BASN6A08");
  EXPECT_EQ(Pixels(fromResource), Pixels(fromFile));
  EXPECT_THROW(fromResource.LoadFromResourceName(::GetModuleHandleW(nullptr), L"NO_SUCH_PNG"), EInvalidGraphic);
  EXPECT_EQ(Pixels(fromResource), Pixels(fromFile)) << "a failed load keeps the picture";
}

// ---- Hand-made data ---------------------------------------------------------------------

// Two rows of 8-bit grey, raw 100 110 200 / 120 60 10, under each filter.
TEST(PngDecode, EveryFilterType) {
  struct TCase {
    const char* Name;
    std::string Raw;
  };
  const TCase cases[] = {
      {"none", Bytes({0, 100, 110, 200, 0, 120, 60, 10})},
      {"sub", Bytes({1, 100, 10, 90, 1, 120, 196, 206})},
      {"up", Bytes({2, 100, 110, 200, 2, 20, 206, 66})},
      // (left + up) / 2: 50 -> 70, 115 -> 201, 130 -> 136; the first row sees zeros above.
      {"average", Bytes({3, 100, 60, 145, 3, 70, 201, 136})},
      // The Paeth predictor picks up (100), left (120) and up-left (110) in the second row.
      {"paeth", Bytes({4, 100, 10, 90, 4, 20, 196, 156})},
  };
  const uint8_t expected[2][3] = {{100, 110, 200}, {120, 60, 10}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPngImage png;
    Load(png, MakePng(3, 2, 8, KaPng::ctGrey, c.Raw));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        uint32_t g = expected[y][x];
        EXPECT_EQ(png.Pixel(x, y), 0xFF000000 | g << 16 | g << 8 | g) << x << "," << y;
      }
  }
}

// 3 x 2 pixels interlaced: passes 2, 3 and 5 are empty and carry no bytes at all.
TEST(PngDecode, InterlacedWithEmptyPasses) {
  std::string raw = Bytes({0, 10,             // pass 1: (0,0)
                           0, 30,             // pass 4: (2,0)
                           0, 20,             // pass 6: (1,0)
                           0, 40, 50, 60});   // pass 7: (0,1) (1,1) (2,1)
  TPngImage png;
  Load(png, MakePng(3, 2, 8, KaPng::ctGrey, raw, "", 1));
  const uint32_t expected[6] = {10, 20, 30, 40, 50, 60};
  for (int i = 0; i < 6; ++i) {
    uint32_t g = expected[i];
    EXPECT_EQ(png.Pixel(i % 3, i / 3), 0xFF000000 | g << 16 | g << 8 | g) << i;
  }
  TPngImage one;
  Load(one, MakePng(1, 1, 8, KaPng::ctRGB, Bytes({0, 1, 2, 3}), "", 1));
  EXPECT_EQ(one.Pixel(0, 0), 0xFF010203u);
}

TEST(PngDecode, SixteenBitColourKeysCompareTheWholeSample) {
  // Grey key 1234: 12ff and 0034 share a byte with it but stay opaque.
  TPngImage grey;
  Load(grey, MakePng(3, 1, 16, KaPng::ctGrey, Bytes({0, 0x12, 0x34, 0x12, 0xFF, 0x00, 0x34}),
                     Chunk("tRNS", Bytes({0x12, 0x34}))));
  EXPECT_EQ(grey.TransparencyMode(), ptmBit);
  EXPECT_EQ(grey.Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(grey.Pixel(1, 0), 0xFF121212u);
  EXPECT_EQ(grey.Pixel(2, 0), 0xFF000000u);

  TPngImage rgb;
  Load(rgb, MakePng(2, 1, 16, KaPng::ctRGB,
                    Bytes({0, 1, 2, 3, 4, 5, 6, /**/ 1, 2, 3, 4, 5, 7}),
                    Chunk("tRNS", Bytes({1, 2, 3, 4, 5, 6}))));
  EXPECT_EQ(rgb.Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(rgb.Pixel(1, 0), 0xFF010305u);
}

TEST(PngDecode, TransparencyModes) {
  const std::string palette = Chunk("PLTE", Bytes({255, 0, 0, 0, 255, 0, 0, 0, 255}));
  const std::string indices = Bytes({0, 0, 1, 2});
  struct TCase {
    const char* Name;
    std::string Png;
    TPNGTransparencyMode Mode;
    uint32_t Pixel0;  // of the first pixel
  };
  const TCase cases[] = {
      {"grey", MakePng(1, 1, 8, KaPng::ctGrey, Bytes({0, 7})), ptmNone, 0xFF070707},
      {"grey, key not used", MakePng(1, 1, 8, KaPng::ctGrey, Bytes({0, 7}), Chunk("tRNS", Bytes({0, 9}))), ptmBit,
       0xFF070707},
      {"rgb keyed", MakePng(1, 1, 8, KaPng::ctRGB, Bytes({0, 1, 2, 3}), Chunk("tRNS", Bytes({0, 1, 0, 2, 0, 3}))),
       ptmBit, 0x00010203},
      {"palette", MakePng(3, 1, 8, KaPng::ctPalette, indices, palette), ptmNone, 0xFFFF0000},
      {"palette 0/255", MakePng(3, 1, 8, KaPng::ctPalette, indices, palette + Chunk("tRNS", Bytes({0, 255}))), ptmBit,
       0x00FF0000},
      {"palette partial", MakePng(3, 1, 8, KaPng::ctPalette, indices, palette + Chunk("tRNS", Bytes({128}))),
       ptmPartial, 0x80FF0000},
      {"palette all 255", MakePng(3, 1, 8, KaPng::ctPalette, indices, palette + Chunk("tRNS", Bytes({255}))), ptmNone,
       0xFFFF0000},
      {"grey alpha", MakePng(1, 1, 8, KaPng::ctGreyAlpha, Bytes({0, 7, 255})), ptmPartial, 0xFF070707},
      {"rgba", MakePng(1, 1, 8, KaPng::ctRGBA, Bytes({0, 1, 2, 3, 4})), ptmPartial, 0x04010203},
      // Ancillary chunks that do not fit are left out, unknown ones skipped.
      {"grey, tRNS of wrong length", MakePng(1, 1, 8, KaPng::ctGrey, Bytes({0, 7}), Chunk("tRNS", Bytes({0, 7, 0}))),
       ptmNone, 0xFF070707},
      {"rgba, tRNS ignored", MakePng(1, 1, 8, KaPng::ctRGBA, Bytes({0, 1, 2, 3, 4}), Chunk("tRNS", Bytes({0, 1}))),
       ptmPartial, 0x04010203},
      {"unknown ancillary chunk", MakePng(1, 1, 8, KaPng::ctGrey, Bytes({0, 7}), Chunk("zzZz", "anything")), ptmNone,
       0xFF070707},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPngImage png;
    ASSERT_NO_THROW(Load(png, c.Png));
    EXPECT_EQ(png.TransparencyMode(), c.Mode);
    EXPECT_EQ(png.Pixel(0, 0), c.Pixel0) << std::hex << png.Pixel(0, 0);
  }
}

TEST(PngDecode, ImageDataSplitOverChunksAndTrailingDataAreAccepted) {
  std::string raw = Bytes({0, 1, 2, 3, 0, 4, 5, 6});
  std::string z = Deflate(raw);
  std::string split = kSignature + Header(1, 2, 8, KaPng::ctRGB);
  for (char c : z) split += Chunk("IDAT", std::string(1, c));
  split += Chunk("IEND", "");
  TPngImage png;
  ASSERT_NO_THROW(Load(png, split + "trailing bytes after IEND"));
  EXPECT_EQ(png.Pixel(0, 1), 0xFF040506u);

  // More inflated data than the picture needs cannot change it.
  TPngImage longer;
  ASSERT_NO_THROW(Load(longer, MakePng(1, 2, 8, KaPng::ctRGB, raw + std::string(100, '\7'))));
  EXPECT_EQ(Pixels(longer), Pixels(png));

  // A stream positioned inside other data reads up to IEND and leaves the rest.
  std::istringstream s("head" + split + "tail");
  s.seekg(4);
  TPngImage positioned;
  positioned.LoadFromStream(s);
  std::string rest(std::istreambuf_iterator<char>(s), {});
  EXPECT_EQ(rest, "tail");
}

TEST(PngDecode, MalformedDataFailsWithItsReason) {
  const std::string rgb = Bytes({0, 1, 2, 3});
  const std::string good = MakePng(1, 1, 8, KaPng::ctRGB, rgb);
  const std::string idat = Chunk("IDAT", Deflate(rgb));
  const std::string iend = Chunk("IEND", "");
  std::string badCrc = good;
  badCrc[good.size() - 12 - 1] ^= 1;  // last CRC byte of the IDAT
  std::string zlibCut = Deflate(rgb);
  zlibCut.resize(zlibCut.size() - 5);
  std::string adler = Deflate(rgb);
  adler.back() ^= 1;
  std::string hugeLength = kSignature + Header(1, 1, 8, 2);
  Put32(hugeLength, 0x80000000u);
  hugeLength += "IDAT";
  std::string longer = kSignature + Header(1, 1, 8, 2);
  Put32(longer, 1000000);  // promises far more than the stream holds
  longer += "IDAT" + std::string(10, '\0');

  struct TCase {
    const char* Name;
    std::string Png;
    const char* Reason;
  };
  const TCase cases[] = {
      {"empty", "", "signature"},
      {"bad signature", "\x89PNG\r\n\x1a\x0b" + good.substr(8), "signature"},
      {"CRC", badCrc, "CRC mismatch in IDAT"},
      {"no IEND", good.substr(0, good.size() - 12), "truncated"},
      {"cut inside a chunk", good.substr(0, 40), "truncated"},
      {"length beyond 2^31", hugeLength, "out of range"},
      {"length beyond the data", longer, "truncated in chunk IDAT"},
      {"IHDR not first", kSignature + Chunk("gAMA", Bytes({0, 1, 0x86, 0xA0})) + Header(1, 1, 8, 2) + idat + iend,
       "first chunk"},
      {"two IHDR", kSignature + Header(1, 1, 8, 2) + Header(1, 1, 8, 2) + idat + iend, "more than one IHDR"},
      {"IHDR length", kSignature + Chunk("IHDR", std::string(12, '\1')) + idat + iend, "IHDR"},
      {"width 0", MakePng(0, 1, 8, 2, rgb), "invalid picture size"},
      {"depth 4 RGB", MakePng(1, 1, 4, 2, rgb), "bit depth 4"},
      {"colour type 5", MakePng(1, 1, 8, 5, rgb), "colour type 5"},
      {"interlace 2", MakePng(1, 1, 8, 2, rgb, "", 2), "interlace"},
      {"too many pixels", MakePng(65536, 65536, 1, 0, rgb), "too large"},
      {"size the data cannot fill", MakePng(16000, 16000, 8, 6, rgb), "far too short"},
      {"image data too short", MakePng(2, 1, 8, 2, rgb), "too short"},
      {"zlib stream cut", kSignature + Header(1, 1, 8, 2) + Chunk("IDAT", zlibCut) + iend, "ends early"},
      {"zlib check value", kSignature + Header(1, 1, 8, 2) + Chunk("IDAT", adler) + iend, "corrupt image data"},
      {"not zlib at all", kSignature + Header(1, 1, 8, 2) + Chunk("IDAT", "garbage!") + iend, "corrupt image data"},
      {"filter type 5", MakePng(1, 1, 8, 2, Bytes({5, 1, 2, 3})), "filter type 5"},
      {"no palette", MakePng(1, 1, 8, 3, Bytes({0, 0})), "no PLTE"},
      {"palette index", MakePng(1, 1, 8, 3, Bytes({0, 1}), Chunk("PLTE", Bytes({1, 2, 3}))), "palette index 1"},
      {"palette length", MakePng(1, 1, 8, 3, Bytes({0, 0}), Chunk("PLTE", Bytes({1, 2}))), "PLTE"},
      {"palette in grey", MakePng(1, 1, 8, 0, Bytes({0, 0}), Chunk("PLTE", Bytes({1, 2, 3}))), "PLTE"},
      {"IDAT apart", kSignature + Header(1, 1, 8, 2) + idat + Chunk("tEXt", "a") + idat + iend, "consecutive"},
      {"no IDAT", kSignature + Header(1, 1, 8, 2) + iend, "no image data"},
      {"unknown critical chunk", kSignature + Header(1, 1, 8, 2) + Chunk("ZZZZ", "") + idat + iend,
       "unknown critical chunk ZZZZ"},
      {"chunk type not letters", kSignature + Header(1, 1, 8, 2) + Chunk("1DAT", "") + idat + iend,
       "invalid chunk type"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string error = LoadError(c.Png);
    EXPECT_NE(error.find("PNG: "), std::string::npos) << "loaded without error";
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
  }
}

TEST(PngDecode, FailedLoadKeepsThePicture) {
  TPngImage png;
  Load(png, Suite(L"basn6a08.png"));
  std::vector<uint32_t> before = Pixels(png);
  int changes = 0;
  png.OnChange = [&](TObject*) { ++changes; };
  std::string broken = Suite(L"basn2c16.png");
  EXPECT_THROW(Load(png, broken.substr(0, broken.size() / 2)), EInvalidGraphic);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  EXPECT_EQ(Pixels(png), before);
}

// Damaged copies of suite files: every one either loads or fails with a framework error;
// none crashes, hangs or reads past its data.
TEST(PngDecode, MutatedFilesLoadOrFailCleanly) {
  const wchar_t* files[] = {L"basn0g01.png", L"basn2c16.png", L"basn3p04.png", L"basn4a16.png",
                            L"ibasn6a08.png", L"ftbbn3p08.png", L"ftbwn0g16.png"};
  auto tryLoad = [](const std::string& Bytes) {
    TPngImage png;
    try {
      Load(png, Bytes);
      return true;
    } catch (const Exception&) {
      return false;
    }
  };
  for (const wchar_t* file : files) {
    SCOPED_TRACE(ToUtf8(file));
    const std::string original = Suite(file);
    for (size_t len = 0; len < original.size(); ++len)
      EXPECT_FALSE(tryLoad(original.substr(0, len))) << "truncated to " << len;
    int loaded = 0, resealedLoaded = 0;
    for (size_t pos = 8; pos < original.size(); ++pos) {
      std::string damaged = original;
      damaged[pos] = static_cast<char>(damaged[pos] ^ (1 << (pos % 8)));
      loaded += tryLoad(damaged);
      resealedLoaded += tryLoad(Reseal(damaged));
    }
    EXPECT_EQ(loaded, 0) << "every flipped bit outside the signature breaks a CRC";
    EXPECT_GT(resealedLoaded, 0) << "some damage behind the CRCs is harmless";
  }
}

// ---- Writing ----------------------------------------------------------------------------

TEST(PngEncode, EverySuiteFileRoundTripsAndGdiPlusReadsTheOutput) {
  for (const auto& path : SuiteFiles()) {
    if (IsInvalidSample(path)) continue;
    SCOPED_TRACE(path.filename().string());
    TPngImage original, copy;
    Load(original, ReadFile(path));
    std::string saved = Save(original);
    ASSERT_NO_THROW(Load(copy, saved));
    EXPECT_EQ(copy.Width(), original.Width());
    EXPECT_EQ(copy.Height(), original.Height());
    EXPECT_EQ(Pixels(copy), Pixels(original));
    EXPECT_EQ(copy.ColorType(), original.Transparent() ? KaPng::ctRGBA : KaPng::ctRGB);
    EXPECT_EQ(copy.Transparent(), original.Transparent());
    int w = 0, h = 0;
    EXPECT_TRUE(SamePixels(GdiPlusPixels(saved, w, h), Pixels(original), original.Width()));
  }
}

TEST(PngEncode, LargePictureSpansSeveralDataChunks) {
  TPngImage png;
  png.SetSize(300, 200);
  uint32_t seed = 1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      seed = seed * 1103515245 + 12345;  // noise: nothing to compress
      png.SetPixel(x, y, seed);
    }
  std::string saved = Save(png);
  size_t chunks = 0;
  for (size_t at = saved.find("IDAT"); at != std::string::npos; at = saved.find("IDAT", at + 4)) ++chunks;
  EXPECT_GE(chunks, 3u);
  TPngImage copy;
  Load(copy, saved);
  EXPECT_EQ(Pixels(copy), Pixels(png));
  EXPECT_EQ(Save(*std::make_unique<TPngImage>()), "") << "an empty picture writes nothing";
}

// ---- Pixels, bitmaps, drawing -----------------------------------------------------------

TEST(PngImage, SetSizeAndPixels) {
  TPngImage png;
  EXPECT_TRUE(png.Empty());
  int changes = 0;
  png.OnChange = [&](TObject*) { ++changes; };
  png.SetSize(3, 2);
  EXPECT_FALSE(png.Empty());
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  EXPECT_EQ(png.Pixel(2, 1), 0u);
  png.SetPixel(2, 1, 0x80102030);
  png.SetPixel(2, 1, 0x80102030);
  EXPECT_EQ(png.Pixel(2, 1), 0x80102030u);
  EXPECT_EQ(changes, 2) << "an unchanged pixel notifies nobody";
  EXPECT_THROW(png.Pixel(3, 0), EInvalidGraphicOperation);
  EXPECT_THROW(png.SetPixel(0, -1, 0), EInvalidGraphicOperation);

  Load(png, Suite(L"basn2c08.png"));
  EXPECT_EQ(png.TransparencyMode(), ptmNone);
  png.SetPixel(0, 0, 0x40FFFFFF);
  EXPECT_EQ(png.TransparencyMode(), ptmPartial) << "a translucent pixel brings an alpha channel";
  png.SetSize(0, 5);
  EXPECT_TRUE(png.Empty());
  EXPECT_EQ(png.Width(), 0);
  EXPECT_EQ(png.Height(), 0);
}

uint8_t* Px(TBitmap& B, int X, int Y) {
  return static_cast<uint8_t*>(B.ScanLine(Y)) + X * (B.PixelFormat() == pf24bit ? 3 : 4);
}

TEST(PngImage, AssignToBitmap) {
  struct TCase {
    const wchar_t* File;
    TPixelFormat Format;
  };
  const TCase cases[] = {{L"basn6a08.png", pf32bit}, {L"ftbbn0g01.png", pf32bit}, {L"basn2c08.png", pf24bit}};
  for (const TCase& c : cases)
    for (TAlphaFormat before : {afIgnored, afPremultiplied}) {
      SCOPED_TRACE(ToUtf8(c.File));
      TPngImage png;
      Load(png, Suite(c.File));
      TBitmap bitmap(5, 5);
      bitmap.SetPixelFormat(c.Format == pf24bit ? pf32bit : pf24bit);
      bitmap.SetAlphaFormat(before);
      bitmap.Assign(&png);
      ASSERT_EQ(bitmap.PixelFormat(), c.Format);
      ASSERT_EQ(bitmap.Width(), png.Width());
      ASSERT_EQ(bitmap.Height(), png.Height());
      EXPECT_EQ(bitmap.AlphaFormat(), before) << "the caller switches the alpha format";
      for (int y = 0; y < png.Height(); ++y)
        for (int x = 0; x < png.Width(); ++x) {
          uint32_t p = png.Pixel(x, y);
          const uint8_t* b = Px(bitmap, x, y);
          uint32_t got = uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
          got |= c.Format == pf32bit ? uint32_t(b[3]) << 24 : 0xFF000000u;
          ASSERT_EQ(got, p) << x << "," << y;
        }
    }
  TBitmap bitmap(4, 4);
  TPngImage empty;
  bitmap.Assign(&empty);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(PngImage, AssignFromBitmapAndPicture) {
  struct TCase {
    TPixelFormat Format;
    TAlphaFormat Alpha;
    uint32_t Expected;  // of a pixel stored as B 40, G 80, R 120, A 128
    TPNGTransparencyMode Mode;
  };
  const TCase cases[] = {
      {pf32bit, afDefined, 0x80785028, ptmPartial},
      // Each colour * 255 / 128, rounded: 239.06, 159.38, 79.69.
      {pf32bit, afPremultiplied, 0x80EF9F50, ptmPartial},
      {pf32bit, afIgnored, 0xFF785028, ptmNone},
      {pf24bit, afIgnored, 0xFF785028, ptmNone},
  };
  for (const TCase& c : cases) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.Format);
    bitmap.SetSize(2, 3);
    uint8_t* p = Px(bitmap, 1, 2);
    p[0] = 40, p[1] = 80, p[2] = 120;
    if (c.Format == pf32bit) p[3] = 128;
    if (c.Alpha != afIgnored) {
      // Setting the format would convert the pixel; only the label is wanted here.
      TBitmap labelled;
      labelled.Assign(&bitmap);
      bitmap.SetAlphaFormat(c.Alpha);
      std::memcpy(Px(bitmap, 1, 2), Px(labelled, 1, 2), 4);
    }
    TPngImage png;
    png.Assign(&bitmap);
    EXPECT_EQ(png.Width(), 2);
    EXPECT_EQ(png.Height(), 3);
    EXPECT_EQ(png.TransparencyMode(), c.Mode);
    EXPECT_EQ(png.Pixel(1, 2), c.Expected) << std::hex << png.Pixel(1, 2);
  }

  TPngImage source;
  Load(source, Suite(L"basn3p04.png"));
  TPicture picture;
  picture.SetGraphic(&source);
  auto* held = dynamic_cast<TPngImage*>(picture.Graphic());
  ASSERT_NE(held, nullptr);
  source.SetPixel(0, 0, 0x12345678);
  EXPECT_NE(held->Pixel(0, 0), 0x12345678u) << "a deep copy";
  EXPECT_EQ(held->ColorType(), KaPng::ctPalette);
  EXPECT_EQ(held->BitDepth(), 4);
  held->Assign(nullptr);
  EXPECT_TRUE(held->Empty());
}

TEST(PngImage, DrawBlendsTransparentAndCopiesOpaquePictures) {
  TPngImage translucent;
  translucent.SetSize(2, 2);
  translucent.SetPixel(0, 0, 0x80FF0000);  // half red
  translucent.SetPixel(1, 0, 0xFF0000FF);  // blue
  TBitmap target(4, 4);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 4, 4));
  target.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &translucent);
  auto close = [](TColor c, int r, int g, int b) {
    return std::abs(GetRValue(c) - r) <= 1 && std::abs(GetGValue(c) - g) <= 1 && std::abs(GetBValue(c) - b) <= 1;
  };
  EXPECT_TRUE(close(target.Canvas()->Pixel(1, 1), 255, 127, 127)) << std::hex << target.Canvas()->Pixel(1, 1);
  EXPECT_TRUE(close(target.Canvas()->Pixel(3, 0), 0, 0, 255));
  EXPECT_TRUE(close(target.Canvas()->Pixel(2, 3), 255, 255, 255)) << "transparent pixels leave the background";

  TPngImage opaque;
  Load(opaque, MakePng(2, 1, 8, KaPng::ctRGB, Bytes({0, 10, 20, 30, 40, 50, 60})));
  target.Canvas()->StretchDraw(Rect(0, 0, 4, 2), &opaque);
  EXPECT_EQ(target.Canvas()->Pixel(1, 1), RGBColor(10, 20, 30));
  EXPECT_EQ(target.Canvas()->Pixel(2, 0), RGBColor(40, 50, 60));
  target.Canvas()->Draw(2, 2, &opaque);
  EXPECT_EQ(target.Canvas()->Pixel(3, 2), RGBColor(40, 50, 60));
  EXPECT_EQ(target.Canvas()->Pixel(3, 3), RGBColor(255, 255, 255));
}

TEST(PngImage, RepeatedDrawingLeaksNoGdiObjects) {
  TPngImage translucent, opaque;
  Load(translucent, Suite(L"basn6a08.png"));
  Load(opaque, Suite(L"basn2c08.png"));
  TBitmap target(64, 64);
  target.Canvas()->StretchDraw(Rect(0, 0, 64, 64), &translucent);  // the canvas's own handles
  int before = GdiObjectCount();
  for (int i = 0; i < 40; ++i) {
    target.Canvas()->StretchDraw(Rect(0, 0, 64, 64), &translucent);
    target.Canvas()->StretchDraw(Rect(0, 0, 50, 20), &opaque);
    target.Canvas()->Draw(3, 3, &opaque);
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
