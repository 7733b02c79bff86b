// The vector size grip: a square control showing a double-headed diagonal arrow; dragging it
// with the left button resizes a target control, by default the top-level form it sits on.
#pragma once

#include <cstdint>

#include "lib/kaControls/kaCustomControl.h"

class TkaGPSizeBox : public TkaCustomControl {
  KA_CLASS(TkaGPSizeBox, TkaCustomControl)
 public:
  explicit TkaGPSizeBox(TComponent* AOwner);

  TColor GlyphColor() const { return FGlyphColor; }
  void SetGlyphColor(TColor Value);
  uint8_t GlyphColorAlpha() const { return FGlyphColorAlpha; }
  void SetGlyphColorAlpha(uint8_t Value);
  // 0 is refused.
  uint8_t GlyphThickness() const { return FGlyphThickness; }
  void SetGlyphThickness(uint8_t Value);
  // The control a drag resizes; nullptr until the first press, which makes it the
  // top-level form. Not owned; cleared when that control is freed.
  TWinControl* ResizeTargetControl() const { return FResizeTargetControl; }
  void SetResizeTargetControl(TWinControl* Value);
  bool Dragging() const { return FDown; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TColor FGlyphColor = clBtnText;
  uint8_t FGlyphColorAlpha = 200;
  uint8_t FGlyphThickness = 1;
  TWinControl* FResizeTargetControl = nullptr;
  TPoint FDragPoint;
  bool FDown = false;
};
