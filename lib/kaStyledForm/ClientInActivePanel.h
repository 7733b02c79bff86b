// TkaClientInActivePanel: the inactive-client veil. A control laid over the whole client
// area of a form that shows a frozen picture of that area, optionally blurred, with a
// colour drawn over it at a constant opacity.
#pragma once

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Graphics.h"

class TCustomForm;

class TkaClientInActivePanel : public TCustomControl {
  KA_CLASS(TkaClientInActivePanel, TCustomControl)
 public:
  // Invisible, without a picture.
  explicit TkaClientInActivePanel(TComponent* AOwner);
  ~TkaClientInActivePanel() override;

  // Covers AForm's client area with its snapshot, blurred with radius ABlurAmount when that
  // is above 0 and tinted with AColor at opacity AColorAlpha: each channel C of the picture
  // becomes (C * (255 - AColorAlpha) + AColor's channel * AColorAlpha + 127) div 255. Does
  // nothing for a missing or invisible form or an empty client area.
  void ShowPanel(TCustomForm* AForm, TColor AColor, uint8_t AColorAlpha, int ABlurAmount);
  // Hides the panel and drops the picture.
  void HidePanel();

  // The picture shown (32 bits per pixel, opaque); nullptr while hidden.
  TBitmap* Buffer() const { return FBuffer; }

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  void TakeSnapshot(TCustomForm* AForm);

  TBitmap* FBuffer = nullptr;
};
