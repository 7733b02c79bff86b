// The base of the advanced list controls: a background (colour, form background or see-through)
// under optional wallpaper and custom images, a single border, the selection options rows
// are painted with, and the child scroll bar that appears only while the content does not fit,
// with touch panning.
#pragma once

#include <memory>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaDrawUtils/GlowEffect.h"

class TkaCustomImageCollection;
class TkaPanel;
class TkaScrollBar;

enum TkaBorderStyle { kabsSingle, kabsNone };
enum TkaBackgroundStyle { kabgsColor, kabgsFormBackground, kabgsTransparent };
enum TkaAdvancedSelectionStyle { kaastStyled, kaastColor, kaastGlow, kaastCustomImage, kaastCustomImageWithGlow };

class TkaAdvancedCustomControl : public TkaCustomControl {
  KA_CLASS(TkaAdvancedCustomControl, TkaCustomControl)
 public:
  explicit TkaAdvancedCustomControl(TComponent* AOwner);
  ~TkaAdvancedCustomControl() override;

  TkaBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TkaBorderStyle Value);
  // kabgsTransparent shows what lies under the control (its background is captured).
  TkaBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TkaBackgroundStyle Value);
  // Image collections are not owned; a freed one is forgotten.
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  TkaCustomImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TkaCustomImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value) { SetAndRepaint(FWallpaperIndex, Value); }
  TkaAdvancedSelectionStyle SelectionStyle() const { return FSelectionStyle; }
  void SetSelectionStyle(TkaAdvancedSelectionStyle Value) { SetAndRepaint(FSelectionStyle, Value); }
  // Owned; the setter copies. Its changes repaint.
  TkaGlowEffect* SelectionGlow() const { return FSelectionGlow.get(); }
  void SetSelectionGlow(TkaGlowEffect* Value) { FSelectionGlow->Assign(Value); }
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value) { SetAndRepaint(FShowFocusRect, Value); }
  // clNone: the style's highlight colour.
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value) { SetAndRepaint(FSelectionColor, Value); }
  TColor SelectionTextColor() const { return FSelectionTextColor; }
  void SetSelectionTextColor(TColor Value) { SetAndRepaint(FSelectionTextColor, Value); }
  // Pictures of CustomImages (-1: none).
  int CustomBackgroundImageIndex() const { return FCustomBackgroundImageIndex; }
  void SetCustomBackgroundImageIndex(int Value) { SetAndRepaint(FCustomBackgroundImageIndex, Value); }
  int CustomOverContentImageIndex() const { return FCustomOverContentImageIndex; }
  void SetCustomOverContentImageIndex(int Value) { SetAndRepaint(FCustomOverContentImageIndex, Value); }
  int CustomSelectionImageIndex() const { return FCustomSelectionImageIndex; }
  void SetCustomSelectionImageIndex(int Value) { SetAndRepaint(FCustomSelectionImageIndex, Value); }
  int CustomFocusedSelectionImageIndex() const { return FCustomFocusedSelectionImageIndex; }
  void SetCustomFocusedSelectionImageIndex(int Value) { SetAndRepaint(FCustomFocusedSelectionImageIndex, Value); }

  // The rectangle the content is drawn in: the client area less the border (and, further
  // down the tree, less the vertical scroll bar).
  virtual TRect GetContentRect();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  // The client area less the border.
  TRect InsideBorder() const;
  virtual void DrawBorder(TCanvas* ACanvas);
  // The themed edit-box border; false draws the two classic frames.
  virtual bool UseThemedBorder();
  virtual void DrawContent(TCanvas* ACanvas) {}
  // The border or the scroll bars changed the content rectangle.
  virtual void ContentRectChanged() { RePaintControl(); }
  // Hint windows shown for the control go away on every press.
  virtual void HideHints() {}
  bool HasCustomImage(int Index) const;

  template <class T>
  void SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    RePaintControl();
  }

  TComponent* FBalloonHint = nullptr;
  TComponent* FHintComponent = nullptr;
  int FHintItemIndex = -1;

 private:
  void DrawBackgroundLayers(TCanvas* ACanvas, const TRect& R);
  void DrawStyleBackground(TCanvas* ACanvas);

  TkaBorderStyle FBorderStyle = kabsSingle;
  TkaBackgroundStyle FBackgroundStyle = kabgsColor;
  TkaCustomImageCollection* FCustomImages = nullptr;
  TkaCustomImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  TkaAdvancedSelectionStyle FSelectionStyle = kaastStyled;
  std::unique_ptr<TkaGlowEffect> FSelectionGlow;
  bool FShowFocusRect = true;
  TColor FSelectionColor = clNone;
  TColor FSelectionTextColor = clHighlightText;
  int FCustomBackgroundImageIndex = -1;
  int FCustomOverContentImageIndex = -1;
  int FCustomSelectionImageIndex = -1;
  int FCustomFocusedSelectionImageIndex = -1;
};

// Adds the child scroll bar, shown only while the content is taller than the view, and
// vertical touch panning that moves it.
class TkaAdvancedScrollingControl : public TkaAdvancedCustomControl {
  KA_CLASS(TkaAdvancedScrollingControl, TkaAdvancedCustomControl)
 public:
  explicit TkaAdvancedScrollingControl(TComponent* AOwner);

  TRect GetContentRect() override;
  // The vertical bar while it is shown, nullptr otherwise.
  TkaScrollBar* VertScrollBar() const { return FVertScrollBar; }
  // The control is a drop-down popup (of a combo box).
  bool PopupMode() const { return FPopupMode; }

  void Dispatch(TMessage& Message) override;

 protected:
  // Shows the vertical bar with these values (creating it when missing), or removes it when
  // AMax is 0. Without a window nothing happens.
  void SetVertScrollInfo(int AMax, int APage, int APosition, int ASmallChange);
  // The bar's position as the user (or a pan) moved it.
  virtual void VertScrollBarMoved(int Position) {}
  // Moves the vertical bar by Delta pixels of content, as a touch pan does.
  void PanBy(int Delta);
  // A touch pan: Begin stores the finger's Y, later calls move by the difference.
  void TouchPan(int Y, bool Begin);
  // Re-places the bars and the grip in the area inside the border.
  void PlaceScrollBars();
  // The bar's thickness at the control's DPI (the owner's when it is a popup).
  int ScrollBarThickness();

  TkaScrollBar* FHorzScrollBar = nullptr;
  TkaScrollBar* FVertScrollBar = nullptr;
  TkaPanel* FScrollGrip = nullptr;
  bool FChangingScrollInfo = false;
  int FTouchBegin = 0;
  int FTouchEnd = 0;
  bool FPopupMode = false;

 private:
  void CreateVertScrollBar();
  void RemoveVertScrollBar();
  void UpdateScrollGrip();
  void WMGestureNotify(TMessage& Message);
  void WMGesture(TMessage& Message);
};
