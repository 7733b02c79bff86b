// The vector panel: a container painted with GDI+ (wallpaper, solid or gradient fill with
// alpha, a frame whose sides and rounded corners can be switched off one by one, a caption
// drawn with GDI, GDI+ or glowing GDI text, and a custom image on top). It can drag its form
// and, when Sizeable, resize itself (or the window it fills) by its frame band.
#pragma once

#include <cstdint>
#include <memory>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaGPControls/GPButtonOptions.h"
#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaDrawUtils/TextDrawing.h"

class TCustomForm;
class TkaCustomImageCollection;

enum TkaGPPanelBGStyle { gppbsColor, gppbsFormBackground };
enum TkaGPCorner { gpcrTopLeft, gpcrTopRight, gpcrBottomLeft, gpcrBottomRight };
using TkaGPCorners = TSet<TkaGPCorner>;
enum TkaGPPanelFrameSide { gppfsLeft, gppfsTop, gppfsRight, gppfsBottom };
using TkaGPPanelFrameSides = TSet<TkaGPPanelFrameSide>;

class TkaGPPanel : public TkaCustomControl {
  KA_CLASS(TkaGPPanel, TkaCustomControl)
 public:
  explicit TkaGPPanel(TComponent* AOwner);
  ~TkaGPPanel() override;

  using TkaCustomControl::BlurBackground;
  using TkaCustomControl::SetBlurBackground;
  using TkaCustomControl::BlurBackgroundAmount;
  using TkaCustomControl::SetBlurBackgroundAmount;
  using TkaCustomControl::DrawTextMode;
  using TkaCustomControl::SetDrawTextMode;
  using TkaCustomControl::TransparentBackground;
  using TkaCustomControl::StorePaintBuffer;
  using TkaCustomControl::SetStorePaintBuffer;
  void SetTransparentBackground(bool Value) override;

  TkaGPPanelBGStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TkaGPPanelBGStyle Value);
  // Negative margins are refused. Any non-zero margin replaces the frame-derived client
  // rectangle and caption rectangle.
  int ContentMarginLeft() const { return FContentMarginLeft; }
  void SetContentMarginLeft(int Value) { SetContentMargin(FContentMarginLeft, Value); }
  int ContentMarginRight() const { return FContentMarginRight; }
  void SetContentMarginRight(int Value) { SetContentMargin(FContentMarginRight, Value); }
  int ContentMarginTop() const { return FContentMarginTop; }
  void SetContentMarginTop(int Value) { SetContentMargin(FContentMarginTop, Value); }
  int ContentMarginBottom() const { return FContentMarginBottom; }
  void SetContentMarginBottom(int Value) { SetContentMargin(FContentMarginBottom, Value); }
  // Not owned; cleared when the collection is freed.
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  int CustomImageIndex() const { return FCustomImageIndex; }
  void SetCustomImageIndex(int Value);
  bool DragForm() const { return FDragForm; }
  void SetDragForm(bool Value) { FDragForm = Value; }
  bool DragTopForm() const { return FDragTopForm; }
  void SetDragTopForm(bool Value) { FDragTopForm = Value; }
  TkaGPCorners RoundedCorners() const { return FRoundedCorners; }
  void SetRoundedCorners(TkaGPCorners Value);
  TkaGPPanelFrameSides FrameSides() const { return FFrameSides; }
  void SetFrameSides(TkaGPPanelFrameSides Value);
  TkaGPShapeFillStyle FillStyle() const { return FFillStyle; }
  void SetFillStyle(TkaGPShapeFillStyle Value);
  // -360..360; other values are refused.
  int FillGradientAngle() const { return FFillGradientAngle; }
  void SetFillGradientAngle(int Value);
  uint8_t FillGradientBeginAlpha() const { return FFillGradientBeginAlpha; }
  void SetFillGradientBeginAlpha(uint8_t Value);
  uint8_t FillGradientEndAlpha() const { return FFillGradientEndAlpha; }
  void SetFillGradientEndAlpha(uint8_t Value);
  // Percent 0..100 towards white (begin) and black (end); other values are refused.
  uint8_t FillGradientBeginColorOffset() const { return FFillGradientBeginColorOffset; }
  void SetFillGradientBeginColorOffset(uint8_t Value);
  uint8_t FillGradientEndColorOffset() const { return FFillGradientEndColorOffset; }
  void SetFillGradientEndColorOffset(uint8_t Value);
  // Negative widths are refused. The frame band is also the sizing band.
  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  TColor FillColor() const { return FFillColor; }
  void SetFillColor(TColor Value);
  uint8_t FillColorAlpha() const { return FFillColorAlpha; }
  void SetFillColorAlpha(uint8_t Value);
  // Gradient end colour; clNone means FillColor.
  TColor FillColor2() const { return FFillColor2; }
  void SetFillColor2(TColor Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value);
  uint8_t FrameColorAlpha() const { return FFrameColorAlpha; }
  void SetFrameColorAlpha(uint8_t Value);
  // Corner radius in pixels, 0 for square corners; negative radii are refused.
  int FrameRadius() const { return FFrameRadius; }
  void SetFrameRadius(int Value);
  bool ScaleFrameWidth() const { return FScaleFrameWidth; }
  void SetScaleFrameWidth(bool Value) { FScaleFrameWidth = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TkaGlowEffect* CaptionGlowEffect() const { return FCaptionGlowEffect; }
  void SetCaptionGlowEffect(TkaGlowEffect* Value) { FCaptionGlowEffect->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Sizeable() const { return FSizeable; }
  void SetSizeable(bool Value);
  // Not owned; cleared when the collection is freed.
  TkaCustomImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TkaCustomImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  // The sizing zone under a client point (HTTOPLEFT ... HTBOTTOM), 0 for none or when the
  // zone is not allowed by the panel's alignment. Independent of Sizeable.
  int GetHitTest(int X, int Y) const;
  // The zone the pointer was last found in while Sizeable; 0 for none.
  int HitTest() const { return FHitTest; }
  bool Resizing() const { return FResizing; }

  void AdjustClientRect(TRect& Rect) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  void Dispatch(TMessage& Message) override;

 protected:
  virtual String GetCaptionText() const { return Caption(); }
  virtual TColor GetCaptionColor() const;

  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawBackground(TCanvas* ACanvas) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // The user's high-contrast setting, read once per paint: system colours, no tints, no
  // pictures.
  bool FHighContrast = false;
  bool Loading() const { return ComponentState().Contains(csLoading); }
  void SetContentMargin(int& Field, int Value);
  // Repaint from the cache and realign the children (the client rectangle changed).
  void GeometryChanged();
  void AppearanceChanged();
  void GradientChanged();
  // (0, 0, Width, Height) less FrameWidth on every framed side: where pictures go.
  TRect ImageRect() const;
  // The stroke rectangle (frame line centres) and the fill rectangle, both in the frame
  // rectangle whose unframed sides lie outside the control.
  void GetFrameRects(TGPRectF& Stroke, TGPRectF& Fill) const;
  // nullptr when there is no fill.
  std::unique_ptr<Gdiplus::Brush> CreateFillBrush(const TGPRectF& Fill) const;
  void DrawFill(Gdiplus::Graphics& G);
  void DrawCaption(Gdiplus::Graphics& G, TCanvas* ACanvas);
  void DrawGlowCaption(TCanvas* ACanvas, const String& Text, TRect R);
  bool NeedGlowBufferUpdate(TCanvas* ACanvas);
  void UpdateSizingCursor(int X, int Y);
  void ResizeByPointer();

  TkaGPPanelBGStyle FBackgroundStyle = gppbsColor;
  int FContentMarginLeft = 0, FContentMarginRight = 0, FContentMarginTop = 0, FContentMarginBottom = 0;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FCustomImageIndex = -1;
  bool FDragForm = false;
  bool FDragTopForm = true;
  TkaGPCorners FRoundedCorners{gpcrTopLeft, gpcrTopRight, gpcrBottomLeft, gpcrBottomRight};
  TkaGPPanelFrameSides FFrameSides{gppfsLeft, gppfsTop, gppfsRight, gppfsBottom};
  TkaGPShapeFillStyle FFillStyle = kagpsfColor;
  int FFillGradientAngle = 90;
  uint8_t FFillGradientBeginAlpha = 255, FFillGradientEndAlpha = 255;
  uint8_t FFillGradientBeginColorOffset = 25, FFillGradientEndColorOffset = 25;
  int FFrameWidth = 2;
  TColor FFillColor = clBtnFace;
  uint8_t FFillColorAlpha = 150;
  TColor FFillColor2 = clNone;
  TColor FFrameColor = clBtnShadow;
  uint8_t FFrameColorAlpha = 255;
  int FFrameRadius = 0;
  bool FScaleFrameWidth = true;
  bool FShowCaption = false;
  TkaGlowEffect* FCaptionGlowEffect = nullptr;
  TAlignment FAlignment = taCenter;
  bool FSizeable = false;
  TkaCustomImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  bool FWordWrap = false;

  // The glowing caption and what it was made for.
  TBitmap* FGlowBuffer = nullptr;
  String FStoredCaption;
  TColor FStoredGlowColor = clNone;
  String FStoredFontName;
  int FStoredFontSize = 0;
  TFontStyles FStoredFontStyle;
  bool FStoredWordWrap = false;
  bool FUpdateGlowBuffer = true;

  // Dragging and sizing.
  TCustomForm* FForm = nullptr;
  bool FDragDown = false;
  TPoint FDownP;
  int FHitTest = 0;
  bool FResizing = false;
  TCursor FSaveCursor = crDefault;
};
