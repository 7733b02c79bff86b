// PNG pictures damaged with knowledge of the format: chunk lengths, header fields, palette and
// transparency sizes, image data split, cut and recompressed with bad filters or broken
// Huffman trees, chunks reordered. CRCs are fixed up after each change (but for a rare one
// that breaks them on purpose), so the damage reaches the decoder instead of stopping at the
// checksum. Every picture loads or fails with EInvalidGraphic ("PNG: ...").
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/PngImage.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct TChunk {
  std::string Type;
  std::string Data;
  std::optional<uint32_t> Length;  // a length field that lies about the data
  bool BadCrc = false;
};

using TChunks = std::vector<TChunk>;

const char kSignature[] = "\x89PNG\r\n\x1A\n";

uint32_t Get32(const std::string& S, size_t At) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(S[At + i]);
  return v;
}

void Put32(std::string& S, uint32_t V) {
  for (int shift = 24; shift >= 0; shift -= 8) S += static_cast<char>((V >> shift) & 0xFF);
}

void Set32(std::string& S, size_t At, uint32_t V) {
  for (size_t i = 0; i < 4; ++i) S[At + i] = static_cast<char>((V >> (24 - 8 * i)) & 0xFF);
}

TChunks Split(const std::string& File) {
  TChunks chunks;
  for (size_t at = 8; at + 12 <= File.size();) {
    uint32_t len = Get32(File, at);
    chunks.push_back({File.substr(at + 4, 4), File.substr(at + 8, len)});
    at += 12 + len;
  }
  return chunks;
}

std::string Join(const TChunks& Chunks) {
  std::string out(kSignature, 8);
  for (const TChunk& c : Chunks) {
    Put32(out, c.Length.value_or(static_cast<uint32_t>(c.Data.size())));
    std::string body = c.Type + c.Data;
    out += body;
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    Put32(out, c.BadCrc ? ~crc : crc);
  }
  return out;
}

std::string ReadFile(const String& Path) {
  std::ifstream f(std::filesystem::path(Path), std::ios::binary);
  EXPECT_TRUE(f.good()) << ToUtf8(Path);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// ---- The image data ---------------------------------------------------------------------

size_t FirstData(const TChunks& C) {
  for (size_t i = 0; i < C.size(); ++i)
    if (C[i].Type == "IDAT") return i;
  return C.size();
}

// All IDAT data joined into one chunk at the place of the first (or before IEND).
std::string& JoinData(TChunks& C) {
  size_t first = FirstData(C);
  std::string all;
  for (const TChunk& c : C)
    if (c.Type == "IDAT") all += c.Data;
  C.erase(std::remove_if(C.begin(), C.end(), [](const TChunk& c) { return c.Type == "IDAT"; }), C.end());
  first = std::min(first, C.empty() ? 0 : C.size() - 1);
  return C.insert(C.begin() + static_cast<std::ptrdiff_t>(first), TChunk{"IDAT", all})->Data;
}

std::string Inflate(const std::string& In) {
  std::string out;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return out;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(In.data()));
  z.avail_in = static_cast<uInt>(In.size());
  char buf[16384];
  int ret = Z_OK;
  while (ret == Z_OK && out.size() < (size_t(8) << 20)) {
    z.next_out = reinterpret_cast<Bytef*>(buf);
    z.avail_out = sizeof(buf);
    ret = inflate(&z, Z_NO_FLUSH);
    out.append(buf, sizeof(buf) - z.avail_out);
    if (z.avail_out != 0 && ret == Z_OK && z.avail_in == 0) break;
  }
  inflateEnd(&z);
  return out;
}

std::string Deflate(const std::string& Raw, int Level, int Strategy) {
  z_stream z{};
  deflateInit2(&z, Level, Z_DEFLATED, 15, 8, Strategy);
  std::string out(deflateBound(&z, static_cast<uLong>(Raw.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Raw.data()));
  z.avail_in = static_cast<uInt>(Raw.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// ---- Mutations --------------------------------------------------------------------------

using fuzz::TRng;

std::string RandomBytes(TRng& R, size_t N) {
  std::string s(N, '\0');
  for (char& c : s) c = static_cast<char>(R.Next());
  return s;
}

void MutateLength(TRng& R, TChunks& C) {
  TChunk& c = C[R.Below(C.size())];
  uint32_t size = static_cast<uint32_t>(c.Data.size());
  const uint32_t values[] = {0, size + 1, size - 1, size + 4, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, R.Next() % 100000};
  c.Length = R.Pick(values);
}

void MutateHeader(TRng& R, TChunks& C) {
  if (C.empty() || C[0].Type != "IHDR" || C[0].Data.size() != 13) return;
  std::string& h = C[0].Data;
  switch (R.Below(5)) {
    case 0:
    case 1: {
      const uint32_t sizes[] = {0, 1, 2, 7, 9, 255, 4096, 16385, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, R.Next()};
      Set32(h, R.OneIn(2) ? 0 : 4, R.Pick(sizes));
      break;
    }
    case 2: {
      const int depths[] = {0, 1, 2, 3, 4, 8, 16, 32, 255};
      h[8] = static_cast<char>(R.Pick(depths));
      break;
    }
    case 3: h[9] = static_cast<char>(R.Below(8)); break;
    default: {
      const int values[] = {0, 1, 2, 255};
      h[10 + R.Below(3)] = static_cast<char>(R.Pick(values));
      break;
    }
  }
}

void MutatePalette(TRng& R, TChunks& C) {
  auto plte = std::find_if(C.begin(), C.end(), [](const TChunk& c) { return c.Type == "PLTE"; });
  const size_t sizes[] = {0, 3, 4, 6, 3 * (1 + R.Below(300)), 3 * (1 + R.Below(3)) + 1, 768, 771};
  size_t size = R.Pick(sizes);
  if (plte == C.end()) {
    // A palette where none belongs (or none was): before the image data.
    C.insert(C.begin() + static_cast<std::ptrdiff_t>(std::min(FirstData(C), C.size())), TChunk{"PLTE", RandomBytes(R, size)});
    return;
  }
  switch (R.Below(4)) {
    case 0: C.erase(plte); break;
    case 1: C.insert(plte, *plte); break;
    case 2: {  // after the image data
      TChunk moved = *plte;
      C.erase(plte);
      C.insert(C.begin() + static_cast<std::ptrdiff_t>(std::min(FirstData(C) + 1, C.size())), moved);
      break;
    }
    default: {
      std::string old = plte->Data;
      plte->Data = RandomBytes(R, size);
      std::copy_n(old.begin(), std::min(old.size(), size), plte->Data.begin());
      break;
    }
  }
}

void MutateTransparency(TRng& R, TChunks& C) {
  auto trns = std::find_if(C.begin(), C.end(), [](const TChunk& c) { return c.Type == "tRNS"; });
  std::string data = RandomBytes(R, R.OneIn(3) ? R.Below(300) : R.Below(8));
  if (trns != C.end())
    trns->Data = data;
  else
    C.insert(C.begin() + static_cast<std::ptrdiff_t>(std::min(FirstData(C), C.size())), TChunk{"tRNS", data});
}

void SplitData(TRng& R, TChunks& C) {
  std::string all = JoinData(C);
  size_t at = FirstData(C);
  std::vector<TChunk> pieces;
  size_t from = 0;
  for (int n = 1 + static_cast<int>(R.Below(8)); n > 1 && from < all.size(); --n) {
    size_t len = R.OneIn(4) ? 0 : R.Below(all.size() - from + 1);
    pieces.push_back({"IDAT", all.substr(from, len)});
    from += len;
  }
  pieces.push_back({"IDAT", all.substr(from)});
  C.erase(C.begin() + static_cast<std::ptrdiff_t>(at));
  C.insert(C.begin() + static_cast<std::ptrdiff_t>(at), pieces.begin(), pieces.end());
}

void TruncateData(TRng& R, TChunks& C) {
  std::string& data = JoinData(C);
  data.resize(R.OneIn(4) ? data.size() - std::min<size_t>(data.size(), 1 + R.Below(4)) : R.Below(data.size() + 1));
}

// The filtered rows changed (filter types, length, bytes), then compressed again.
void MutateRows(TRng& R, TChunks& C) {
  std::string& data = JoinData(C);
  std::string raw = Inflate(data);
  for (int n = 1 + static_cast<int>(R.Below(3)); n > 0; --n) {
    switch (R.Below(4)) {
      case 0:
        if (!raw.empty()) raw[R.Below(raw.size())] = static_cast<char>(R.OneIn(2) ? 5 + R.Below(251) : R.Below(5));
        break;
      case 1: raw.resize(R.Below(raw.size() + 1)); break;
      case 2: raw += RandomBytes(R, 1 + R.Below(64)); break;
      default:
        if (!raw.empty()) raw[R.Below(raw.size())] = static_cast<char>(R.Next());
        break;
    }
  }
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  data = Deflate(raw, static_cast<int>(R.Below(10)), R.Pick(strategies));
}

// A stream with dynamic Huffman codes, its code-length and literal/length trees damaged (they
// follow the 2-byte zlib header and the 17-bit block head), or its header or checksum.
void BreakTrees(TRng& R, TChunks& C) {
  std::string& data = JoinData(C);
  data = Deflate(Inflate(data), 9, Z_DEFAULT_STRATEGY);
  if (data.size() < 8) return;
  switch (R.Below(6)) {
    case 0: data[R.Below(2)] = static_cast<char>(R.Next()); break;                  // zlib header
    case 1: data[data.size() - 1 - R.Below(4)] ^= static_cast<char>(1 + R.Below(255)); break;  // Adler-32
    default:
      for (int n = 1 + static_cast<int>(R.Below(3)); n > 0; --n) {
        size_t bit = 16 + R.Below(std::min<size_t>(data.size() - 2, 48) * 8);
        data[bit / 8] ^= static_cast<char>(1 << (bit % 8));
      }
      break;
  }
}

void Reorder(TRng& R, TChunks& C) {
  if (C.size() < 2) return;
  size_t a = R.Below(C.size()), b = R.Below(C.size());
  switch (R.Below(4)) {
    case 0: std::swap(C[a], C[b]); break;
    case 1: C.insert(C.begin() + static_cast<std::ptrdiff_t>(b), C[a]); break;
    case 2: C.erase(C.begin() + static_cast<std::ptrdiff_t>(a)); break;
    default: {  // an unknown chunk, critical or not, anywhere (after IEND too)
      std::string type(4, 'a');
      for (char& ch : type) ch = static_cast<char>('a' + R.Below(26));
      if (R.OneIn(3)) type[0] = static_cast<char>(type[0] - 'a' + 'A');
      C.insert(C.begin() + static_cast<std::ptrdiff_t>(R.Below(C.size() + 1)), TChunk{type, RandomBytes(R, R.Below(40))});
      break;
    }
  }
}

void Mutate(TRng& R, TChunks& C) {
  for (int n = 1 + static_cast<int>(R.Below(3)); n > 0; --n) {
    if (C.empty()) return;
    switch (R.Below(20)) {
      case 0: MutateLength(R, C); break;
      case 1: C[R.Below(C.size())].BadCrc = true; break;
      case 2: case 3: case 4: MutateHeader(R, C); break;
      case 5: case 6: MutatePalette(R, C); break;
      case 7: MutateTransparency(R, C); break;
      case 8: case 9: SplitData(R, C); break;
      case 10: case 11: TruncateData(R, C); break;
      case 12: case 13: case 14: MutateRows(R, C); break;
      case 15: case 16: case 17: BreakTrees(R, C); break;
      default: Reorder(R, C); break;
    }
  }
}

// ---- The loop ---------------------------------------------------------------------------

// Loads Bytes: accepted with a sane picture, or refused with the format's error.
fuzz::TVerdict TryLoad(const std::string& Bytes) {
  fuzz::Dump(Bytes);
  TPngImage png;
  try {
    std::istringstream s(Bytes);
    png.LoadFromStream(s);
  } catch (const EInvalidGraphic& e) {
    fuzz::NoteRefusal(e.Message());
    EXPECT_EQ(e.Message().rfind(L"PNG: ", 0), 0u) << ToUtf8(e.Message());
    return fuzz::TVerdict::Refused;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "not the format's error: " << e.what();
    return fuzz::TVerdict::Refused;
  }
  EXPECT_GT(png.Width(), 0);
  EXPECT_GT(png.Height(), 0);
  EXPECT_LE(uint64_t(png.Width()) * uint64_t(png.Height()), uint64_t(1) << 28);
  (void)png.Pixel(png.Width() - 1, png.Height() - 1);
  return fuzz::TVerdict::Accepted;
}

const wchar_t* const kSources[] = {
    L"basn0g01.png", L"basn0g02.png", L"basn0g16.png", L"basn2c08.png", L"basn2c16.png",  L"basn3p01.png",
    L"basn3p04.png", L"basn3p08.png", L"basn4a08.png", L"basn4a16.png", L"basn6a16.png",  L"ibasn0g08.png",
    L"ibasn3p08.png", L"ibasn6a08.png", L"ftbbn3p08.png", L"ftbwn0g16.png", L"ftbrn2c08.png", L"ftp1n3p08.png"};

TEST(FuzzPng, ChunkAwareMutationsLoadOrFailCleanly) {
  std::vector<TChunks> sources;
  for (const wchar_t* name : kSources) sources.push_back(Split(ReadFile(String(KA_PNGSUITE_DIR) + name)));
  ASSERT_EQ(sources.size(), std::size(kSources));
  for (const TChunks& s : sources) ASSERT_GE(s.size(), 3u) << "suite file missing or damaged";
  fuzz::TTally t = fuzz::Run("png", 20261210, 4000, [&](TRng& R, int) {
    TChunks chunks = sources[R.Below(sources.size())];
    Mutate(R, chunks);
    return TryLoad(Join(chunks));
  });
  if (t.Tried > 100) {
    EXPECT_GT(t.Accepted, t.Tried / 50) << "the mutations should leave some pictures readable";
    EXPECT_GT(t.Refused, t.Tried / 4);
  }
}

}  // namespace
