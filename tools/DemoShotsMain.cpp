// Saves the demo's main window in named states as PNG pictures:
//   ka_demoshots <output folder>
// writes demo-<state>-<dpi>.png for every state at 96 and 144 DPI and names each file it
// wrote. Under Wine the folder is a Windows path (Z:\... for a Linux folder).
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "framework/PngImage.h"
#include "tools/DemoShots.h"

namespace {

constexpr int kDpis[] = {96, 144};

// The command line's arguments as the system gives them, not narrowed to a code page.
std::vector<String> Arguments() {
  std::vector<String> result;
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (args == nullptr) return result;
  for (int i = 0; i < count; ++i) result.emplace_back(args[i]);
  ::LocalFree(args);
  return result;
}

void SavePicture(TBitmap* Picture, const String& Path) {
  TPngImage png;
  png.Assign(Picture);
  png.SaveToFile(Path);
  std::wprintf(L"wrote %ls (%d x %d)\n", Path.c_str(), Picture->Width(), Picture->Height());
  std::fflush(stdout);
}

}  // namespace

int main() {
  const std::vector<String> args = Arguments();
  if (args.size() != 2) {
    std::fputs("usage: ka_demoshots <output folder>\n", stderr);
    return 2;
  }
  String folder = args[1];
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  try {
    for (int dpi : kDpis) {
      for (TDemoShotState state : DemoShotStates) {
        std::unique_ptr<TBitmap> picture = CaptureDemoMainWindow(state, dpi);
        SavePicture(picture.get(), folder + DemoShotFileName(state, dpi));
      }
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "ka_demoshots: %s\n", E.what());
    return 1;
  }
  return 0;
}
