// The classic container of the library: a background taken from the active style (plain
// colour, tool bar, header, form background, see-through, nothing at all, edit box, tab
// sheet), one of twenty two-colour border styles, a wallpaper and a custom image from image
// collections, an optional caption with glow, and form dragging like the label's.
#pragma once

#include <functional>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/TextDrawing.h"

class TkaCustomImageCollection;

enum TkaPanelStyleKind {
  kapsPanel, kapsToolBar, kapsHeader, kapsFormBackground, kapsTransparent, kapsEmpty, kapsEdit, kapsTabSheet
};

enum TkaPanelBorderStyle {
  kapbsNone, kapbsFlat, kapbsRaised, kapbsLowered, kapbsLoweredBevel, kapbsRaisedBevel, kapbsTopBevel,
  kapbsBottomBevel, kapbsTopLightLine, kapbsBottomLightLine, kapbsTopShadowLine, kapbsBottomShadowLine,
  kapbsLeftBevel, kapbsRightBevel, kapbsLeftLightLine, kapbsRightLightLine, kapbsLeftShadowLine,
  kapbsRightShadowLine, kapbsHorzCenterBevel, kapbsVertCenterBevel
};

// ARect: the panel less its border (2 pixels on every side when it has one).
using TkaPanelPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect)>;

class TkaPanel : public TkaCustomControl {
  KA_CLASS(TkaPanel, TkaCustomControl)
 public:
  explicit TkaPanel(TComponent* AOwner);
  ~TkaPanel() override;

  // Children are aligned inside the border (and inside the edit frame of kapsEdit).
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

  TkaPanelStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TkaPanelStyleKind Value);
  TkaPanelBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TkaPanelBorderStyle Value);
  TColor LightBorderColor() const { return FLightBorderColor; }
  void SetLightBorderColor(TColor Value);
  TColor ShadowBorderColor() const { return FShadowBorderColor; }
  void SetShadowBorderColor(TColor Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Owned; the setter copies.
  TkaGlowEffect* CaptionGlowEffect() const { return FCaptionGlowEffect; }
  void SetCaptionGlowEffect(TkaGlowEffect* Value) { FCaptionGlowEffect->Assign(Value); }
  // Image collections are not owned; a freed one is forgotten.
  TkaCustomImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TkaCustomImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value);
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  int CustomImageIndex() const { return FCustomImageIndex; }
  void SetCustomImageIndex(int Value);
  using TkaCustomControl::SetStorePaintBuffer;
  using TkaCustomControl::StorePaintBuffer;
  bool DragForm() const { return FDragForm; }
  void SetDragForm(bool Value) { FDragForm = Value; }
  // Drag the outermost form rather than the nearest one.
  bool DragTopForm() const { return FDragTopForm; }
  void SetDragTopForm(bool Value) { FDragTopForm = Value; }

  // After the background and the images, before the caption.
  TkaPanelPaintEvent OnPanelPaint;

 protected:
  // Called when a resize needs no repaint of the children.
  virtual void SizeChanged() {}
  virtual String GetCaptionText() { return Caption(); }
  virtual TColor GetCaptionColor();
  // Descendants draw their content in ARect; setting Handled suppresses the caption.
  virtual void DrawPanelContent(TCanvas* ACanvas, const TRect& ARect, bool& Handled, TkasCtrlState ACtrlState) {}

  void Paint() override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The border of BorderStyle drawn over the whole panel.
  void DrawBorder(TCanvas* ACanvas);
  void DrawCaption(TCanvas* ACanvas, TRect ARect);

  // False: a kapsEmpty panel still runs the paint pipeline (for descendants that draw their
  // own content on it).
  bool FCanBeEmpty = true;
  // Set by pop-up descendants: an edit-kind panel is then a plain window-coloured box.
  bool FPopupMode = false;
  TBitmap* FGlowBuffer = nullptr;

 private:
  // Repaints from the cached background and, when the change shows through the children,
  // tells them; nothing before there is a window.
  void Changed(bool AUpdateControls);
  template <class T>
  void SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }
  void DrawStyleBackground(TCanvas* ACanvas, const TRect& ARect);
  void DrawEditBackground(TCanvas* ACanvas, TRect ARect);
  void FillStyled(TCanvas* ACanvas, const TRect& ARect, TColor Color);
  bool DrawImage(TCanvas* ACanvas, TkaCustomImageCollection* Images, int Index, const TRect& ARect);
  bool NeedGlowRebuild(TCanvas* ACanvas, const TRect& ATextRect);
  void WMSize(TMessage& Message);

  TkaPanelStyleKind FStyleKind = kapsPanel;
  TkaPanelBorderStyle FBorderStyle = kapbsNone;
  TColor FLightBorderColor = clBtnHighlight;
  TColor FShadowBorderColor = clBtnShadow;
  bool FShowCaption = false;
  TAlignment FAlignment = taCenter;
  bool FWordWrap = false;
  TkaGlowEffect* FCaptionGlowEffect = nullptr;
  TkaCustomImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FCustomImageIndex = -1;
  bool FDragForm = false;
  bool FDragTopForm = true;
  TkaFormDragger FDragger;

  // What the cached caption glow was made for.
  struct TGlowKey {
    String Caption;
    TColor GlowColor = clNone;
    String FontName;
    int FontSize = 0;
    TFontStyles FontStyle;
    bool WordWrap = false;
    int TextWidth = 0, TextHeight = 0;
    bool operator==(const TGlowKey&) const = default;
  };
  TGlowKey FGlowKey;
  bool FUpdateGlowBuffer = true;
};
