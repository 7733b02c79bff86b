#include "lib/kaGPUtils/GPInterface.h"

namespace {

// Started on first use and shut down when the process's statics are destroyed. Statics are
// destroyed in the reverse order of their construction, so any process-lifetime owner of a
// GDI+ object calls GPEnsureStarted in its constructor: the session then outlives it.
class TGdiPlusSession {
 public:
  TGdiPlusSession() {
    Gdiplus::GdiplusStartupInput Input;
    FStarted = Gdiplus::GdiplusStartup(&FToken, &Input, nullptr) == Gdiplus::Ok;
  }
  ~TGdiPlusSession() {
    if (FStarted) Gdiplus::GdiplusShutdown(FToken);
  }
  bool Started() const { return FStarted; }

 private:
  ULONG_PTR FToken = 0;
  bool FStarted = false;
};

TGdiPlusSession& Session() {
  static TGdiPlusSession Instance;
  return Instance;
}

// Starts GDI+ while the program's statics are being made, as the library's units do.
[[maybe_unused]] const bool StartedAtLoad = (Session(), true);

}  // namespace

void GPEnsureStarted() { Session(); }

bool GPStarted() { return Session().Started(); }

TGPModesScope::TGPModesScope(Gdiplus::Graphics* G)
    : FGraphics(G),
      FSmoothing(G->GetSmoothingMode()),
      FPixelOffset(G->GetPixelOffsetMode()),
      FTextHint(G->GetTextRenderingHint()),
      FInterpolation(G->GetInterpolationMode()) {}

TGPModesScope::~TGPModesScope() {
  FGraphics->SetSmoothingMode(FSmoothing);
  FGraphics->SetPixelOffsetMode(FPixelOffset);
  FGraphics->SetTextRenderingHint(FTextHint);
  FGraphics->SetInterpolationMode(FInterpolation);
}
