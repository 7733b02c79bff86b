// Saves the demo's main window in named states as PNG pictures:
//   ka_demoshots <output folder>
// writes demo-<state>-<dpi>.png for every state at 96 and 144 DPI and names each file it
// wrote. Under Wine the folder is a Windows path (Z:\... for a Linux folder).
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "tools/DemoShots.h"
#include "tools/ShotTools.h"

namespace {

constexpr int kDpis[] = {96, 144};

}  // namespace

int main() {
  const std::vector<String> args = shots::Arguments();
  if (args.size() != 2) {
    std::fputs("usage: ka_demoshots <output folder>\n", stderr);
    return 2;
  }
  const String folder = shots::FolderPrefix(args[1]);
  try {
    for (int dpi : kDpis) {
      for (TDemoShotState state : DemoShotStates) {
        std::unique_ptr<TBitmap> picture = CaptureDemoMainWindow(state, dpi);
        shots::SavePicture(picture.get(), folder + DemoShotFileName(state, dpi));
      }
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "ka_demoshots: %s\n", E.what());
    return 1;
  }
  return 0;
}
