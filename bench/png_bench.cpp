// What decoding a PNG picture costs with the framework's own decoder against GDI+'s on the
// same bytes held in memory: the pictures of the PNG suite (every colour type, bit depth and
// interlace method, all small) and a 2048 x 2048 photo-like RGBA picture made here and
// written by the framework's encoder. Figures are megabytes per second of decoded pixels
// (width x height x 4 bytes), the median of 7 rounds after a warm-up. GDI+ is made to
// decode the whole picture by locking its pixels as 32-bit ARGB, since our decoder hands out
// every pixel too. Goal: our decoder at least as fast as GDI+'s.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench/BenchGoals.h"
#include "framework/PngImage.h"
#include "lib/kaGPUtils/GPInterface.h"

#include <shlwapi.h>

namespace {

// Reads a byte buffer in place, so that no copy is counted against our decoder.
class TMemoryBuf : public std::streambuf {
 public:
  explicit TMemoryBuf(const std::string& Bytes) {
    char* p = const_cast<char*>(Bytes.data());
    setg(p, p, p + Bytes.size());
  }
};

// An IStream over a copy of the bytes, rewound before each decode.
class TMemoryStream {
 public:
  explicit TMemoryStream(const std::string& Bytes)
      : FStream(::SHCreateMemStream(reinterpret_cast<const BYTE*>(Bytes.data()), static_cast<UINT>(Bytes.size()))) {}
  ~TMemoryStream() {
    if (FStream != nullptr) FStream->Release();
  }
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;
  IStream* Rewound() const {
    LARGE_INTEGER zero{};
    FStream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return FStream;
  }

 private:
  IStream* FStream;
};

struct TSample {
  std::string Bytes;
  double PixelBytes = 0;  // decoded: width x height x 4
};

// Seconds per call: the median of 7 rounds after one warm-up call.
double MedianSeconds(const std::function<void()>& Work, int Repeats) {
  Work();
  std::vector<double> rounds;
  for (int round = 0; round < 7; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Repeats; ++i) Work();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    rounds.push_back(spent.count() / Repeats);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

double OursDecode(const TSample& P) {
  TMemoryBuf buf(P.Bytes);
  std::istream in(&buf);
  const KaPng::TImageData image = KaPng::Decode(in);
  return image.Pixels.size();
}

double GdiPlusDecode(const TMemoryStream& S) {
  Gdiplus::Bitmap bitmap(S.Rewound(), FALSE);
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return 0;
  Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
  Gdiplus::BitmapData data{};
  if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return 0;
  bitmap.UnlockBits(&data);
  return 4.0 * all.Width * all.Height;
}

std::string ReadWholeFile(const std::wstring& Path) {
  std::string bytes;
  HANDLE file = ::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  const DWORD size = ::GetFileSize(file, nullptr);
  bytes.resize(size);
  DWORD read = 0;
  if (!::ReadFile(file, bytes.data(), size, &read, nullptr)) read = 0;
  bytes.resize(read);
  ::CloseHandle(file);
  return bytes;
}

std::vector<TSample> LoadSuite(const std::wstring& Folder) {
  std::vector<TSample> pictures;
  WIN32_FIND_DATAW found;
  HANDLE find = ::FindFirstFileW((Folder + L"*.png").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return pictures;
  do {
    TSample p{ReadWholeFile(Folder + found.cFileName)};
    p.PixelBytes = OursDecode(p);
    pictures.push_back(std::move(p));
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return pictures;
}

// A photo-like picture: smooth light and colour with fine grain, soft edges of alpha.
TSample MakePhoto(int Size) {
  KaPng::TImageData image;
  image.Width = image.Height = Size;
  image.Pixels.resize(static_cast<size_t>(Size) * Size * 4);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> grain(-6, 6);
  uint8_t* p = image.Pixels.data();
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x, p += 4) {
      const double u = double(x) / Size, v = double(y) / Size;
      const double light = 0.5 + 0.25 * std::sin(u * 9.0 + std::cos(v * 7.0)) + 0.2 * std::cos(v * 13.0 - u * 3.0);
      const double r = 255 * light * (0.6 + 0.4 * u), g = 255 * light * (0.5 + 0.5 * v), b = 255 * light * (1 - u * v);
      const double edge = std::min(std::min(u, 1 - u), std::min(v, 1 - v)) * 20;
      p[0] = static_cast<uint8_t>(std::clamp(int(r) + grain(random), 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(int(g) + grain(random), 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(int(b) + grain(random), 0, 255));
      p[3] = static_cast<uint8_t>(std::clamp(int(255 * edge), 0, 255));
    }
  std::ostringstream out(std::ios::binary);
  KaPng::Encode(image, out);
  return {out.str(), 4.0 * Size * Size};
}

void Compare(const char* Name, const std::vector<TSample>& Pictures, int Repeats) {
  std::vector<std::unique_ptr<TMemoryStream>> streams;
  double pixelBytes = 0, fileBytes = 0;
  for (const TSample& p : Pictures) {
    streams.push_back(std::make_unique<TMemoryStream>(p.Bytes));
    pixelBytes += p.PixelBytes;
    fileBytes += p.Bytes.size();
  }
  const double ours = MedianSeconds([&] { for (const TSample& p : Pictures) OursDecode(p); }, Repeats);
  const double gdiplus = MedianSeconds([&] { for (const auto& s : streams) GdiPlusDecode(*s); }, Repeats);
  const double oursMBps = pixelBytes / ours / 1e6, gdiplusMBps = pixelBytes / gdiplus / 1e6;
  const auto refused = std::count_if(streams.begin(), streams.end(), [](const auto& s) { return GdiPlusDecode(*s) == 0; });
  if (refused != 0) std::printf("  GDI+ could not decode %d of the files: its figure is too high\n", int(refused));
  std::printf("  %-34s %3zu files %9.0f KB   ours %8.1f MB/s   GDI+ %8.1f MB/s   %.2fx\n", Name, Pictures.size(),
              fileBytes / 1024, oursMBps, gdiplusMBps, oursMBps / gdiplusMBps);
  const std::string row = std::string("PNG decode: ") + Name;
  BenchGoals::Figure((row + ", ours").c_str(), oursMBps, "MB/s");
  BenchGoals::AtLeast((row + ", ours / GDI+").c_str(), oursMBps / gdiplusMBps, "x", 1.0);
}

}  // namespace

int main() {
  GPEnsureStarted();
  std::printf("PNG decode from memory, megabytes of decoded pixels per second (median of 7 rounds)\n");
  const std::vector<TSample> suite = LoadSuite(KA_PNGSUITE_DIR);
  if (suite.empty()) {
    std::printf("  the PNG suite was not found in %ls\n", KA_PNGSUITE_DIR);
  } else {
    Compare("PNG suite", suite, 20);
  }
  Compare("2048 x 2048 photo-like RGBA", {MakePhoto(2048)}, 2);
  return 0;
}
