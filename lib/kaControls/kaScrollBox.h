// The library's scroll box: a styled background (form background, panel colour or tab
// sheet) with an optional wallpaper and custom image, scrolling without flicker (the
// window's redraw is held while the content moves, then everything is drawn once), wheel
// scrolling by one increment, the opaque layered mode over a translucent form backdrop,
// and a stored background that transparent children copy instead of repainting the box.
#pragma once

#include <memory>

#include "framework/ScrollingControls.h"
#include "lib/kaControls/kaCustomControl.h"

class TkaCustomImageCollection;

enum TkasbBackgroundStyle { kasbsFormBackground, kasbsPanel, kasbsTabSheet };

// Timer of the complete redraw shortly after a change of scale.
constexpr UINT_PTR kaScrollBoxScaleTimerID = 100;

class TkaCustomScrollBox : public TScrollBox, public IkaPaintBufferLender {
  KA_CLASS(TkaCustomScrollBox, TScrollBox)
 public:
  explicit TkaCustomScrollBox(TComponent* AOwner);
  ~TkaCustomScrollBox() override;

  // Draws the background again from scratch, then the whole box with its children and
  // scroll bars, at once.
  void FullRedraw();
  // With FullUpdate, a control that is not already in view (2 pixels of slack) is
  // scrolled to with the redraw held, then the box is drawn once.
  void ScrollInView(TControl* AControl);
  void ScrollBy(int DeltaX, int DeltaY);
  void ChangeScale(int M, int D, bool isDpiChange) override;
  // The box paints everything at erase time; see the .cpp.
  void PaintWindow(HDC DC) override;

  // The background at client size, when StorePaintBuffer is on and it is current;
  // transparent children copy their rectangle out of it.
  TBitmap* LentPaintBuffer() const override;

  TkasbBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TkasbBackgroundStyle Value);
  // Image collections are not owned; a freed one is forgotten.
  TkaCustomImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TkaCustomImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value);
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  int CustomBackgroundImageIndex() const { return FCustomBackgroundImageIndex; }
  void SetCustomBackgroundImageIndex(int Value);
  bool FullUpdate() const { return FFullUpdate; }
  void SetFullUpdate(bool Value) { FFullUpdate = Value; }
  bool StorePaintBuffer() const { return FStorePaintBuffer; }
  void SetStorePaintBuffer(bool Value);
  bool MouseWheelSupport() const { return FMouseWheelSupport; }
  void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
  bool FluentUIOpaque() const { return FFluentUIOpaque; }
  void SetFluentUIOpaque(bool Value);
  bool IsFluentUIOpaqueActive() const;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Lets the scroll-into-view logic hold the redraw even when AutoScroll is off
  // (containers that set their ranges themselves).
  bool FIgnoreAutoScroll = false;

 private:
  bool ScrollsWithRedrawHeld() const;
  bool HasWallpaper() const;
  bool HasCustomImage() const;
  bool IsInView(TControl* AControl) const;
  // Runs Action with the window's redraw off, then turns it on and redraws the box once.
  template <class F>
  void WithRedrawHeld(bool Hold, F&& Action);
  // The box, its children and its frame, drawn now (the background buffer is kept).
  void RedrawAll();

  void WMEraseBkgnd(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void AfterMessage(const TMessage& Message);

  void PaintBuffered(HDC DC, const TRect& Client);
  // The stored background at client size, drawn again only when stale.
  TBitmap* CurrentBackground(const TRect& Client);
  // Style background, wallpaper and custom image over Area (the client rectangle, in the
  // canvas's coordinates).
  void DrawBackgroundLayers(TCanvas* ACanvas, const TRect& Area);
  void DrawStyleBackground(TCanvas* ACanvas, const TRect& Area);
  void DrawSolidWallpaper(HDC DC, const TRect& Client);

  TkasbBackgroundStyle FBackgroundStyle = kasbsFormBackground;
  TkaCustomImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FCustomBackgroundImageIndex = -1;
  bool FFullUpdate = true;
  bool FStorePaintBuffer = false;
  bool FMouseWheelSupport = false;
  bool FFluentUIOpaque = false;
  std::unique_ptr<TBitmap> FBackgroundBuffer;
  // The stored background no longer shows what the box would draw now.
  bool FBackgroundStale = true;
};

// The published scroll box.
class TkaScrollBox : public TkaCustomScrollBox {
  KA_CLASS(TkaScrollBox, TkaCustomScrollBox)
 public:
  explicit TkaScrollBox(TComponent* AOwner) : TkaCustomScrollBox(AOwner) {}
};
