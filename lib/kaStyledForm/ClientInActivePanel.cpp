// TkaClientInActivePanel: snapshot, blur and tint of a form's client area.
#include "lib/kaStyledForm/ClientInActivePanel.h"

#include <cstdint>
#include <memory>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "lib/kaDrawUtils/StackBlur.h"

namespace {

// Draws Color over every pixel at constant opacity Alpha out of 255, rounding to the
// nearest value, and makes every pixel opaque (a copy from a window leaves alpha 0).
void TintBitmap(TBitmap* Bitmap, TColor Color, uint8_t Alpha) {
  const TColor rgb = ColorToRGB(Color);
  const uint32_t a = Alpha, keep = 255 - a;
  const uint32_t r = GetRValue(rgb) * a, g = GetGValue(rgb) * a, b = GetBValue(rgb) * a;
  auto mix = [keep](uint32_t Channel, uint32_t Tint) { return (Channel * keep + Tint + 127) / 255; };
  for (int y = 0; y < Bitmap->Height(); ++y) {
    auto* px = static_cast<uint32_t*>(Bitmap->ScanLine(y));
    for (int x = 0; x < Bitmap->Width(); ++x) {
      const uint32_t p = px[x];
      px[x] = 0xFF000000u | (mix((p >> 16) & 0xFF, r) << 16) | (mix((p >> 8) & 0xFF, g) << 8) | mix(p & 0xFF, b);
    }
  }
}

}  // namespace

TkaClientInActivePanel::TkaClientInActivePanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FVisible = false;
  FControlStyle += TControlStyle{csOpaque};
}

TkaClientInActivePanel::~TkaClientInActivePanel() { delete FBuffer; }

void TkaClientInActivePanel::ShowPanel(TCustomForm* AForm, TColor AColor, uint8_t AColorAlpha, int ABlurAmount) {
  if (AForm == nullptr || !AForm->Visible()) return;
  const int w = AForm->ClientWidth(), h = AForm->ClientHeight();
  if (w <= 0 || h <= 0) return;
  SetVisible(false);
  SetParent(AForm);
  SetBounds(0, 0, w, h);
  TakeSnapshot(AForm);
  if (ABlurAmount > 0) StackBlur(FBuffer, ABlurAmount);
  TintBitmap(FBuffer, AColor, AColorAlpha);
  BringToFront();
  SetVisible(true);
  Repaint();
}

void TkaClientInActivePanel::TakeSnapshot(TCustomForm* AForm) {
  auto buffer = std::make_unique<TBitmap>();
  buffer->SetPixelFormat(pf32bit);
  buffer->SetSize(Width(), Height());
  // Whatever is still waiting to be painted (the place this panel just left, say) is
  // painted first, so the copy shows the form as it is now.
  AForm->Update();
  {
    TWindowDC formDC(AForm->Handle());
    ::BitBlt(buffer->Canvas()->Handle(), 0, 0, Width(), Height(), formDC.Get(), Left(), Top(), SRCCOPY);
  }
  delete FBuffer;
  FBuffer = buffer.release();
}

void TkaClientInActivePanel::HidePanel() {
  SetVisible(false);
  delete FBuffer;
  FBuffer = nullptr;
}

void TkaClientInActivePanel::Paint() {
  if (FBuffer != nullptr) Canvas()->Draw(0, 0, FBuffer);
}

void TkaClientInActivePanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}
