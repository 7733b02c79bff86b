// Saves every page of the controls gallery as a PNG picture at 96 DPI:
//   ka_galleryshots <output folder>
// writes gallery-<page>.png for each page and names each file it wrote. The window is the
// program's own, read from its layout; each picture is what the screen shows in its
// rectangle. The animations are held at a fixed frame so that every run gives the same
// pictures. Under Wine the folder is a Windows path (Z:\... for a Linux folder).
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "app/gallery/GalleryForm.h"
#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "tools/ShotTools.h"

namespace {

constexpr DWORD kSettleMs = 400;

void PumpFor(DWORD Ms) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < Ms) {
    Application->ProcessMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void Settle(TCustomForm* Form) {
  Application->ProcessMessages();
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(kSettleMs);
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::GdiFlush();
}

// What the screen shows in the window's rectangle (hints and pop-ups over it included).
std::unique_ptr<TBitmap> CaptureWindowRect(HWND Wnd) {
  RECT r;
  ::GetWindowRect(Wnd, &r);
  auto picture = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top);
  picture->SetPixelFormat(pf32bit);
  TWindowDC screen(nullptr);
  ::BitBlt(picture->Canvas()->Handle(), 0, 0, picture->Width(), picture->Height(), screen.Get(), r.left, r.top,
           SRCCOPY);
  return picture;
}

}  // namespace

int main() {
  const std::vector<String> args = shots::Arguments();
  if (args.size() != 2) {
    std::fputs("usage: ka_galleryshots <output folder>\n", stderr);
    return 2;
  }
  const String folder = shots::FolderPrefix(args[1]);
  try {
    TMonitor::SetPixelsPerInchOverride([](HMONITOR) { return 96; });
    // A frame a little into each animation, where every icon shows something.
    TSkAnimatedImage::SetClock([] { return 0.6; });
    Application->SetMainFormOnTaskBar(true);
    Application->CreateForm(GalleryForm);
    GalleryForm->Show();
    const HWND h = GalleryForm->Handle();
    ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(h);
    // The pointer rests outside the window, where it makes nothing hot.
    ::SetCursorPos(0, 0);
    for (int p = 0; p < GalleryPageCount; ++p) {
      const auto page = static_cast<TGalleryPage>(p);
      GalleryForm->ShowPage(page);
      Settle(GalleryForm);
      GalleryForm->ShowPageSample(page);
      Settle(GalleryForm);
      std::unique_ptr<TBitmap> picture = CaptureWindowRect(h);
      shots::SavePicture(picture.get(), folder + L"gallery-" + GalleryPageName(page) + L".png");
      GalleryForm->HidePageSample(page);
      Settle(GalleryForm);
    }
    GalleryForm->Free();
    TSkAnimatedImage::SetClock(nullptr);
    TMonitor::SetPixelsPerInchOverride(nullptr);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "ka_galleryshots: %s\n", E.what());
    return 1;
  }
  return 0;
}
