// The base of every custom-painted windowed control of the library: buffered painting,
// captured transparency (what lies under the control is drawn first), cached repaints and
// the opaque layered mode used over a translucent form backdrop.
#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "lib/kaDrawUtils/StackBlur.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"

// Whether descendants draw captions with GDI or GDI+ (GDI+ keeps alpha on a translucent
// backdrop, GDI does not).
enum TkaDrawTextMode { kadtmGDI, kadtmGDIPlus };

// Timer that repaints a new opaque layered control once its layer exists.
constexpr UINT_PTR kaFluentUIOpaqueTimerID = 101;

// A container that keeps its last painting (client-sized) and lends it to its children,
// so their background capture is one rectangle copy. Implemented by containers that are
// not TkaCustomControl descendants (the scroll box).
class IkaPaintBufferLender {
 public:
  virtual ~IkaPaintBufferLender() = default;
  // The stored paint buffer, or nullptr when the container does not keep one.
  virtual TBitmap* LentPaintBuffer() const = 0;
};

// The opaque layered mode (FluentUIOpaque) of the library's windowed controls, the scroll box
// (no TkaCustomControl) included: the compositor draws the window fully opaque over a
// translucent form's blurred backdrop. Windows 10 build 17134 on; never while designing.
bool FluentUIOpaqueActive(const TComponent* Control, bool Wanted);
// After the wanted value changed: the layered style is given when the window is made, so a
// window already there is made again (not while designing, loading or destroying).
void FluentUIOpaqueChanged(TWinControl* Control);
// After an opaque layered window was made: constant alpha 255, and one complete repaint once
// the layer exists.
void FluentUIOpaqueCreated(TWinControl* Control);
// That repaint's timer, after the window procedure ran: true when Message was its tick.
bool FluentUIOpaqueTick(TWinControl* Control, const TMessage& Message);

// What the paint pipeline has done for one control since it was made. A repaint that changes
// nothing visible is waste; tests pin the counts a change costs with these.
struct TkaPaintStats {
  // Faces drawn: on screen, at erase time, or as another control's background.
  unsigned Paints = 0;
  // Backgrounds captured, and of those the ones that painted the parent again instead of
  // copying its stored painting.
  unsigned Captures = 0;
  unsigned ParentRepaints = 0;
  // Paints that drew only the part of the control its window's update region asked for, and
  // paints of a window whose update region left nothing of it visible (drawn nothing).
  unsigned PartialPaints = 0;
  unsigned EmptyPaints = 0;
};

class TkaCustomControl : public TCustomControl {
  KA_CLASS(TkaCustomControl, TCustomControl)
 public:
  explicit TkaCustomControl(TComponent* AOwner);
  ~TkaCustomControl() override;

  // Repaints at once from the cached background; never paints at erase time.
  virtual void RePaintControl();
  // Tells every visible child that what lies under it changed (WM_PARENTBGCHANGED).
  virtual void UpdateControls();
  void FullUpdateControl();
  void SetRedraw(bool AValue, bool AUpdate);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Realigns the children once, after the whole subtree is scaled.
  void ScaleForPPI(int NewPPI) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;
  void UpdateStyleElements() override;

  const TkaPaintStats& PaintStats() const { return FPaintStats; }
  // The last paint that reached the screen drew the control in State.
  bool PaintedIn(TkasCtrlState State) const { return FPainted && FPaintedState == State; }

  bool FluentUIOpaque() const { return FFluentUIOpaque; }
  void SetFluentUIOpaque(bool Value);
  bool IsFluentUIOpaqueActive() const;

  TNotifyEvent OnChangeScale;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  friend void SetControlsDrawTextMode(TControl* Control, TkaDrawTextMode Mode);

 protected:
  void Paint() override;
  virtual void SetTransparentBackground(bool Value);
  virtual bool CanPaintOnErase();
  virtual void CaptureParentBackground();
  virtual TkasCtrlState GetCtrlState();
  virtual void DrawBackground(TCanvas* ACanvas);
  // The descendant's face, drawn on the paint buffer (origin at the control's top-left,
  // Width x Height).
  virtual void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {}

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

  bool TransparentBackground() const { return FTransparentBackground; }
  bool StorePaintBuffer() const { return FStorePaintBuffer; }
  void SetStorePaintBuffer(bool Value) { FStorePaintBuffer = Value; }
  TkaDrawTextMode DrawTextMode() const { return FDrawTextMode; }
  void SetDrawTextMode(TkaDrawTextMode Value);
  bool BlurBackground() const { return FBlurBackground; }
  void SetBlurBackground(bool Value);
  int BlurBackgroundAmount() const { return FBlurBackgroundAmount; }
  void SetBlurBackgroundAmount(int Value);

  // For paints that bypass Paint (a state cross-fade): the state now on screen.
  void ShownInState(TkasCtrlState State);

  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMParentBGChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

  bool FStopEraseBackground = false;
  bool FromWMPaint = false;
  bool FFullUpdating = false;
  TBitmap* ParentBGBuffer = nullptr;
  bool FBlurBackground = false;
  int FBlurBackgroundAmount = 5;
  bool FStorePaintBuffer = false;
  bool FDrawOnBackground = true;
  bool FTransparentBackground = true;
  bool FUpdateParentBuffer = false;
  bool FFluentUIOpaque = false;
  TkaDrawTextMode FDrawTextMode = kadtmGDI;
  bool FForceDraw = false;
  bool FGetControlBG = false;
  TBitmap* FPaintBuffer = nullptr;
  TkaPaintStats FPaintStats;

 private:
  // Capture, repaint from it, and pass the change on to the children.
  void RecaptureAndNotify();
  // What this paint must draw, in control coordinates: empty when nothing of the update
  // region is visible, all of the control unless the rest is right in the buffer already.
  TRect PaintArea(bool BufferKept);
  TkasCtrlState DrawBuffer(const TRect& Area);
  TRect FUpdateArea;
  // The stored buffer holds the whole control as last painted (not a part of a fresh one).
  bool FBufferComplete = false;
  int FPaintNesting = 0;
  bool FPainted = false;
  TkasCtrlState FPaintedState = kasNormal;
  // Copies this control's rectangle out of a parent's stored painting, when Buffer is
  // exactly Width x Height of the parent's area; false when it cannot.
  bool CopyFromParentBuffer(TBitmap* Buffer, int AreaWidth, int AreaHeight);
};

// Stores Mode in every TkaCustomControl of the tree under Control (Control included); no
// repaint.
void SetControlsDrawTextMode(TControl* Control, TkaDrawTextMode Mode);
// Paints what lies under Control (its parent's painting and the graphic siblings below it)
// onto ACanvas, with the control's top-left corner at the canvas origin.
void DrawParentImage(TControl* Control, TCanvas* ACanvas);
