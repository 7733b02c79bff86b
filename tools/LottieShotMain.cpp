// Frames of a Lottie file as PNG pictures, drawn by our player:
//   ka_lottieshot <file.json> <out-folder> [size] [frames]
// writes <name>-<frame>.png (straight alpha) for each frame, size x size pixels (default
// 256), the animation fitted and centred. Frames: comma-separated frame numbers; by default
// the five frames the conformance tests compare. Under Wine the paths are Windows paths
// (Z:\tmp\x.json for /tmp/x.json). Any error: a message and exit code 1.
#include <cstdio>
#include <cwchar>
#include <exception>
#include <vector>

#include "lib/kaLottie/LottieShots.h"
#include "lib/kaLottie/kaLottie.h"
#include "tools/ShotTools.h"

namespace {

constexpr int kMaxSize = 4096;

int Fail(const String& Message) {
  std::fwprintf(stderr, L"ka_lottieshot: %ls\n", Message.c_str());
  return 1;
}

int ParseSize(const String& Text) {
  wchar_t* stop = nullptr;
  const long v = std::wcstol(Text.c_str(), &stop, 10);
  if (Text.empty() || stop != Text.c_str() + Text.size() || v < 1 || v > kMaxSize)
    throw EConvertError(Format(L"size \"%ls\" is not a whole number from 1 to %d", Text.c_str(), kMaxSize));
  return static_cast<int>(v);
}

// The file's name without its folder and its extension.
String BaseName(const String& Path) {
  const size_t slash = Path.find_last_of(L"\\/:");
  String name = slash == String::npos ? Path : Path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != String::npos && dot > 0) name.resize(dot);
  return name;
}

int Run(const std::vector<String>& Args) {
  const String& file = Args[1];
  const String folder = shots::FolderPrefix(Args[2]);
  const int size = Args.size() > 3 ? ParseSize(Args[3]) : 256;
  const std::vector<uint8_t> bytes = kaLottie::ReadFileBytes(file);
  const auto animation = TkaLottieAnimation::Load(bytes);
  for (const String& note : animation->Diagnostics())
    std::fwprintf(stderr, L"ka_lottieshot: skipped: %ls\n", note.c_str());
  const std::vector<double> frames = Args.size() > 4 ? kaLottie::ParseFrameList(Args[4])
                                                     : kaLottie::ConformanceFrames(animation->InPoint(), animation->OutPoint());
  for (double frame : frames) {
    const String path = folder + BaseName(file) + L"-" + kaLottie::FrameLabel(frame) + L".png";
    kaLottie::SavePng(kaLottie::RenderFrameImage(*animation, size, size, frame), path);
    std::wprintf(L"wrote %ls\n", path.c_str());
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main() {
  const std::vector<String> args = shots::Arguments();
  if (args.size() < 3 || args.size() > 5) {
    std::fputs("usage: ka_lottieshot <file.json> <out-folder> [size] [frames]\n"
                "  size: pixels per side (default 256); frames: comma-separated frame numbers\n"
                "  (default: first, 25 %, 50 %, 75 % and last frame)\n",
                stderr);
    return 1;
  }
  try {
    return Run(args);
  } catch (const Exception& E) {
    return Fail(E.Message());
  } catch (const std::exception& E) {
    return Fail(FromUtf8(E.what()));
  }
}
