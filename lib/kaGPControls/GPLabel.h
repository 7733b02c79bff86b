// The vector label: text over an optional rounded, filled and framed background drawn with
// GDI+, with content margins, auto size, a glowing caption, end or path ellipsis, an
// accelerator that focuses another control, and form dragging.
#pragma once

#include <cstdint>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/TextDrawing.h"

class TCustomForm;

class TkaGPLabel : public TkaCustomControl {
  KA_CLASS(TkaGPLabel, TkaCustomControl)
 public:
  explicit TkaGPLabel(TComponent* AOwner);
  ~TkaGPLabel() override;

  void Loaded() override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  void Dispatch(TMessage& Message) override;

  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;

  bool DragForm() const { return FDragForm; }
  void SetDragForm(bool Value) { FDragForm = Value; }
  bool DragTopForm() const { return FDragTopForm; }
  void SetDragTopForm(bool Value) { FDragTopForm = Value; }
  // Negative margins are refused.
  int ContentMarginLeft() const { return FContentMarginLeft; }
  void SetContentMarginLeft(int Value) { SetContentMargin(FContentMarginLeft, Value); }
  int ContentMarginRight() const { return FContentMarginRight; }
  void SetContentMarginRight(int Value) { SetContentMargin(FContentMarginRight, Value); }
  int ContentMarginTop() const { return FContentMarginTop; }
  void SetContentMarginTop(int Value) { SetContentMargin(FContentMarginTop, Value); }
  int ContentMarginBottom() const { return FContentMarginBottom; }
  void SetContentMarginBottom(int Value) { SetContentMargin(FContentMarginBottom, Value); }
  // Text colour while disabled; clNone: the style's disabled text colour.
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor Value);
  // Negative widths are refused.
  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  TColor FillColor() const { return FFillColor; }
  void SetFillColor(TColor Value) { SetAndRepaint(FFillColor, Value); }
  uint8_t FillColorAlpha() const { return FFillColorAlpha; }
  void SetFillColorAlpha(uint8_t Value) { SetAndRepaint(FFillColorAlpha, Value); }
  // Gradient end colour; clNone means a solid fill.
  TColor FillColor2() const { return FFillColor2; }
  void SetFillColor2(TColor Value) { SetAndRepaint(FFillColor2, Value); }
  uint8_t FillColor2Alpha() const { return FFillColor2Alpha; }
  void SetFillColor2Alpha(uint8_t Value) { SetAndRepaint(FFillColor2Alpha, Value); }
  // -360..360; other values are refused.
  int FillGradientAngle() const { return FFillGradientAngle; }
  void SetFillGradientAngle(int Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value) { SetAndRepaint(FFrameColor, Value); }
  uint8_t FrameColorAlpha() const { return FFrameColorAlpha; }
  void SetFrameColorAlpha(uint8_t Value) { SetAndRepaint(FFrameColorAlpha, Value); }
  // Corner radius, 0 for square corners; negative radii are refused.
  int FrameRadius() const { return FFrameRadius; }
  void SetFrameRadius(int Value);
  bool ScaleFrameWidth() const { return FScaleFrameWidth; }
  void SetScaleFrameWidth(bool Value) { FScaleFrameWidth = Value; }
  // Owned; the setter copies.
  TkaGlowEffect* GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(TkaGlowEffect* Value) { FGlowEffect->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Kept for layouts and the glow cache; the vertical place follows VertAlignment.
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value) { SetAndRepaint(FLayout, Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { SetAndRepaint(FAlignment, Value); }
  TkaVertAlignment VertAlignment() const { return FVertAlignment; }
  void SetVertAlignment(TkaVertAlignment Value) { SetAndRepaint(FVertAlignment, Value); }
  // Takes the focus when the caption's accelerator is pressed; not owned.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value) { ReplaceReference(FFocusControl, Value); }
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value) { SetAndRepaint(FShowAccelChar, Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Ellipses apply only while AutoSize is off.
  bool ShowEllipsis() const { return FShowEllipsis; }
  void SetShowEllipsis(bool Value) { SetAndRepaint(FShowEllipsis, Value); }
  bool PathEllipsis() const { return FPathEllipsis; }
  void SetPathEllipsis(bool Value) { SetAndRepaint(FPathEllipsis, Value); }

 protected:
  virtual String GetLabelText() { return Caption(); }
  // The label text in R with DrawText flags, through GDI+ (G and Font may be null) or GDI by
  // DrawTextMode. Measuring an empty text (or a lone accelerator mark) measures a space, so
  // an empty label keeps one line's height.
  virtual void DoDrawText(Gdiplus::Graphics* G, Gdiplus::Font* Font, TCanvas* ACanvas, TRect& R, UINT Flags);
  // Fits the bounds to the text plus the content margins (AutoSize).
  virtual void AdjustBounds();

  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  template <class T>
  void SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    RePaintControl();
  }
  void SetContentMargin(int& Field, int Value);
  void DrawShape(Gdiplus::Graphics& G);
  void ApplyFontColor(TCanvas* ACanvas, TkasCtrlState ACtrlState);
  UINT TextFlags() const;
  bool NeedGlowBufferUpdate(TCanvas* ACanvas);
  void CMDialogChar(TMessage& Message);

  bool FDragForm = false;
  bool FDragTopForm = true;
  int FContentMarginLeft = 5, FContentMarginRight = 5, FContentMarginTop = 5, FContentMarginBottom = 5;
  TColor FDisabledFontColor = clNone;
  int FFrameWidth = 1;
  TColor FFillColor = clBtnText;
  uint8_t FFillColorAlpha = 20;
  TColor FFillColor2 = clNone;
  uint8_t FFillColor2Alpha = 255;
  int FFillGradientAngle = 0;
  TColor FFrameColor = clBtnText;
  uint8_t FFrameColorAlpha = 40;
  int FFrameRadius = 5;
  bool FScaleFrameWidth = true;
  TkaGlowEffect* FGlowEffect = nullptr;
  bool FAutoSize = true;
  TTextLayout FLayout = tlTop;
  TAlignment FAlignment = taLeftJustify;
  TkaVertAlignment FVertAlignment = kavtaTop;
  TWinControl* FFocusControl = nullptr;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
  bool FShowEllipsis = false;
  bool FPathEllipsis = false;

  // Form dragging.
  TCustomForm* FForm = nullptr;
  bool FDown = false;
  TPoint FDownP;

  // The glowing caption and what it was made for.
  TBitmap* FGlowBuffer = nullptr;
  String FStoredCaption;
  int FStoredWidth = 0, FStoredHeight = 0;
  TColor FStoredGlowColor = clNone;
  String FStoredFontName;
  int FStoredFontSize = 0;
  TFontStyles FStoredFontStyle;
  TAlignment FStoredAlignment = taLeftJustify;
  bool FStoredShowAccelChar = true;
  TTextLayout FStoredLayout = tlCenter;
  bool FStoredWordWrap = false, FStoredShowEllipsis = false, FStoredPathEllipsis = false;
  bool FUpdateGlowBuffer = true;
};
