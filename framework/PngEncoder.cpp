// PNG writing: 8-bit RGB or RGBA, each row with the filter that leaves the smallest sum of
// (signed) bytes, deflated with zlib straight into IDAT chunks of at most 64 KiB.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>

#include "framework/PngImage.h"

namespace KaPng {
namespace {

[[noreturn]] void Fail(const String& Reason) { throw EInvalidGraphic(L"PNG: " + Reason); }

void PutBigEndian32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

void WriteChunk(std::ostream& S, const char* Type, const uint8_t* Data, size_t Size) {
  uint8_t head[8];
  PutBigEndian32(head, static_cast<uint32_t>(Size));
  std::copy(Type, Type + 4, head + 4);
  uLong crc = crc32(0L, head + 4, 4);
  if (Size > 0) crc = crc32(crc, Data, static_cast<uInt>(Size));
  uint8_t tail[4];
  PutBigEndian32(tail, static_cast<uint32_t>(crc));
  S.write(reinterpret_cast<const char*>(head), 8);
  if (Size > 0) S.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
  S.write(reinterpret_cast<const char*>(tail), 4);
}

bool NeedsAlpha(const TImageData& Image) {
  if (Image.ColorType == ctGreyAlpha || Image.ColorType == ctRGBA) return true;
  for (size_t i = 3; i < Image.Pixels.size(); i += 4)
    if (Image.Pixels[i] != 255) return true;
  return false;
}

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Out[0] is the filter type, Out[1..] the filtered row. Prev is the raw row above (zeros
// for the first).
void FilterRow(int Filter, const uint8_t* Row, const uint8_t* Prev, size_t Count, size_t Stride, uint8_t* Out) {
  Out[0] = static_cast<uint8_t>(Filter);
  for (size_t i = 0; i < Count; ++i) {
    int left = i >= Stride ? Row[i - Stride] : 0;
    int upLeft = i >= Stride ? Prev[i - Stride] : 0;
    int predictor = 0;
    switch (Filter) {
      case 1: predictor = left; break;
      case 2: predictor = Prev[i]; break;
      case 3: predictor = (left + Prev[i]) >> 1; break;
      case 4: predictor = Paeth(left, Prev[i], upLeft); break;
      default: break;
    }
    Out[i + 1] = static_cast<uint8_t>(Row[i] - predictor);
  }
}

long FilterCost(const std::vector<uint8_t>& Filtered) {
  long cost = 0;
  for (size_t i = 1; i < Filtered.size(); ++i) cost += std::abs(static_cast<int8_t>(Filtered[i]));
  return cost;
}

class TDeflateStream {
 public:
  TDeflateStream() {
    if (deflateInit(&FZ, Z_DEFAULT_COMPRESSION) != Z_OK) Fail(L"zlib cannot start");
  }
  ~TDeflateStream() { deflateEnd(&FZ); }
  TDeflateStream(const TDeflateStream&) = delete;
  TDeflateStream& operator=(const TDeflateStream&) = delete;
  z_stream& Z() { return FZ; }

 private:
  z_stream FZ{};
};

// Deflates what it is given into IDAT chunks.
class TImageDataWriter {
 public:
  explicit TImageDataWriter(std::ostream& Stream) : FStream(Stream), FBuffer(size_t(1) << 16) {}

  void Write(const uint8_t* Data, size_t Size) { Pump(Data, Size, Z_NO_FLUSH); }
  void Finish() {
    Pump(nullptr, 0, Z_FINISH);
    Flush();
  }

 private:
  void Pump(const uint8_t* Data, size_t Size, int Mode) {
    z_stream& z = FDeflate.Z();
    z.next_in = const_cast<Bytef*>(Data);
    z.avail_in = static_cast<uInt>(Size);
    for (;;) {
      z.next_out = FBuffer.data() + FUsed;
      z.avail_out = static_cast<uInt>(FBuffer.size() - FUsed);
      int ret = deflate(&z, Mode);
      if (ret == Z_STREAM_ERROR) Fail(L"zlib failed");
      FUsed = FBuffer.size() - z.avail_out;
      if (FUsed == FBuffer.size()) Flush();
      if (ret == Z_STREAM_END || (Mode == Z_NO_FLUSH && z.avail_in == 0 && z.avail_out > 0)) return;
    }
  }
  void Flush() {
    if (FUsed > 0) WriteChunk(FStream, "IDAT", FBuffer.data(), FUsed);
    FUsed = 0;
  }

  std::ostream& FStream;
  TDeflateStream FDeflate;
  std::vector<uint8_t> FBuffer;
  size_t FUsed = 0;
};

}  // namespace

void Encode(const TImageData& Image, std::ostream& Stream) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (Image.Width <= 0 || Image.Height <= 0) Fail(L"an empty picture has no PNG form");
  const bool alpha = NeedsAlpha(Image);
  const size_t channels = alpha ? 4 : 3;
  const size_t width = static_cast<size_t>(Image.Width);
  const size_t rowBytes = width * channels;

  Stream.write(reinterpret_cast<const char*>(kSignature), 8);
  uint8_t header[13] = {};
  PutBigEndian32(header, static_cast<uint32_t>(Image.Width));
  PutBigEndian32(header + 4, static_cast<uint32_t>(Image.Height));
  header[8] = 8;
  header[9] = alpha ? ctRGBA : ctRGB;
  WriteChunk(Stream, "IHDR", header, sizeof(header));

  TImageDataWriter data(Stream);
  std::vector<uint8_t> prev(rowBytes, 0), row(rowBytes);
  std::array<std::vector<uint8_t>, 5> candidates;
  for (auto& c : candidates) c.resize(rowBytes + 1);
  for (int y = 0; y < Image.Height; ++y) {
    const uint8_t* src = Image.Pixels.data() + size_t(y) * width * 4;
    for (size_t x = 0; x < width; ++x)
      std::copy(src + x * 4, src + x * 4 + channels, row.data() + x * channels);
    int best = 0;
    long bestCost = -1;
    for (int f = 0; f < 5; ++f) {
      FilterRow(f, row.data(), prev.data(), rowBytes, channels, candidates[f].data());
      long cost = FilterCost(candidates[f]);
      if (bestCost < 0 || cost < bestCost) {
        best = f;
        bestCost = cost;
      }
    }
    data.Write(candidates[best].data(), candidates[best].size());
    prev.swap(row);
  }
  data.Finish();
  WriteChunk(Stream, "IEND", nullptr, 0);
  if (!Stream) Fail(L"the picture cannot be written to the stream");
}

}  // namespace KaPng
