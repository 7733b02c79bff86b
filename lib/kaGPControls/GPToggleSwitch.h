// The vector toggle switch: the toggle switch of kaModernControls with its track drawn as a
// GDI+ pill, filled or outlined, and its thumb as a disc with its own insets for the hot and
// pressed looks, alpha colours and an optional soft shadow; the caption may be GDI+ text,
// which keeps its alpha over a translucent backdrop.
#pragma once

#include <cstdint>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaModernControls/kaToggleSwitch.h"

class TkaGPToggleSwitch : public TkaCustomToggleSwitch {
  KA_CLASS(TkaGPToggleSwitch, TkaCustomToggleSwitch)
 public:
  explicit TkaGPToggleSwitch(TComponent* AOwner);

  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;

  // Off and on tracks filled (true) or outlined.
  bool FrameSolid() const { return FFrameSolid; }
  void SetFrameSolid(bool Value) { SetAndRepaint(FFrameSolid, Value); }
  bool FrameOnSolid() const { return FFrameOnSolid; }
  void SetFrameOnSolid(bool Value) { SetAndRepaint(FFrameOnSolid, Value); }
  uint8_t FrameColorAlpha() const { return FFrameColorAlpha; }
  void SetFrameColorAlpha(uint8_t Value) { SetAndRepaint(FFrameColorAlpha, Value); }
  uint8_t FrameOnColorAlpha() const { return FFrameOnColorAlpha; }
  void SetFrameOnColorAlpha(uint8_t Value) { SetAndRepaint(FFrameOnColorAlpha, Value); }
  uint8_t FramePressedColorAlpha() const { return FFramePressedColorAlpha; }
  void SetFramePressedColorAlpha(uint8_t Value) { SetAndRepaint(FFramePressedColorAlpha, Value); }
  // The outline's width at 96 DPI; at least 1.
  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  // The track drawn a quarter of its height smaller than the thumb on every side.
  bool FrameInside() const { return FFrameInside; }
  void SetFrameInside(bool Value) { SetAndRepaint(FFrameInside, Value); }
  uint8_t ThumbColorAlpha() const { return FThumbColorAlpha; }
  void SetThumbColorAlpha(uint8_t Value) { SetAndRepaint(FThumbColorAlpha, Value); }
  uint8_t ThumbOnColorAlpha() const { return FThumbOnColorAlpha; }
  void SetThumbOnColorAlpha(uint8_t Value) { SetAndRepaint(FThumbOnColorAlpha, Value); }
  uint8_t ThumbPressedColorAlpha() const { return FThumbPressedColorAlpha; }
  void SetThumbPressedColorAlpha(uint8_t Value) { SetAndRepaint(FThumbPressedColorAlpha, Value); }
  bool ThumbShadow() const { return FThumbShadow; }
  void SetThumbShadow(bool Value) { SetAndRepaint(FThumbShadow, Value); }
  // Insets of the thumb's disc at 96 DPI, at least 0. ThumbMargin 0 fits the disc to the
  // frame width; the hot and pressed insets apply only when above 0.
  int ThumbMargin() const { return FThumbMargin; }
  void SetThumbMargin(int Value);
  int ThumbMarginHot() const { return FThumbMarginHot; }
  void SetThumbMarginHot(int Value);
  int ThumbMarginPressed() const { return FThumbMarginPressed; }
  void SetThumbMarginPressed(int Value);
  // Kept for layouts that name it; the switch's size is its bounds, so it changes nothing.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }

 protected:
  // The vector switch needs no masks, and so no minimum beyond 20 x 10.
  void LoadResImages() override {}
  TSize MinSwitchSize() const override { return TSize{20, 10}; }
  void DrawSwitch(TCanvas* ACanvas) override;
  int ThumbWidth() const override { return FSwitchHeight; }
  TSize MeasureCaption(TCanvas* ACanvas, const String& Text) override;
  void PaintCaption(TCanvas* ACanvas, const String& Text, const TRect& TextRect, bool Focus, TColor Color) override;
  void PaintFocusFrame(TCanvas* ACanvas, const TRect& R, TColor Color) override;

  // The disc's inset from the thumb box for the current look (negative grows it).
  int ThumbInset(int ThumbHeight) const;
  // Track and thumb colours of the current look, as ARGB.
  void SwitchColors(bool On, TGPColor& Track, TGPColor& Thumb) const;

  bool FFrameSolid = false;
  bool FFrameOnSolid = true;
  uint8_t FFrameColorAlpha = 255, FFrameOnColorAlpha = 255, FFramePressedColorAlpha = 255;
  int FFrameWidth = 2;
  bool FFrameInside = false;
  uint8_t FThumbColorAlpha = 255, FThumbOnColorAlpha = 255, FThumbPressedColorAlpha = 255;
  bool FThumbShadow = false;
  int FThumbMargin = 0, FThumbMarginHot = 0, FThumbMarginPressed = 0;
  bool FAutoSize = false;

 private:
  void DrawTrack(Gdiplus::Graphics& G, bool On, TGPColor Color);
  void DrawThumb(Gdiplus::Graphics& G, TGPColor Color);
  bool GDIPlusText() const { return DrawTextMode() == kadtmGDIPlus; }
};
