// The toggle switch: a horizontal track with a round thumb that slides from the left end
// (off) to the right end (on), an optional caption beside it, click, drag and keyboard
// toggling, and a timer-driven slide that eases out at the end. This base class holds the
// state, the geometry, the input handling, the slide and the caption, and draws track and
// thumb from bitmaps: tinted masks from the program's resources, a custom style's switch
// elements, or pictures of an image collection. Descendants may draw them otherwise (the
// vector switch of kaGPControls draws them with GDI+).
#pragma once

#include "framework/Themes.h"
#include "lib/kaControls/kaActiveControl.h"

class TTimer;
class TkaImageCollection;
class TkaCustomImageCollection;

enum TkaSwitchState { kaswOff, kaswOn };
enum TkaSwitchStyleKind { kaswsStyled, kaswsColor, kaswsCustomImage };

// One step of the slide every this many milliseconds.
constexpr int kaSwitchAnimationIntervalMs = 15;
// The smallest track the bitmap drawing accepts (its masks need the room).
constexpr int kaSwitchMinWidth = 40;
constexpr int kaSwitchMinHeight = 20;

class TkaCustomToggleSwitch : public TkaCustomActiveControl {
  KA_CLASS(TkaCustomToggleSwitch, TkaCustomActiveControl)
 public:
  explicit TkaCustomToggleSwitch(TComponent* AOwner);
  ~TkaCustomToggleSwitch() override;

  // Setting a different state by code ends a slide or drag in progress, repaints and fires
  // OnChangeState (not while designing or loading).
  TkaSwitchState State() const { return FState; }
  virtual void SetState(TkaSwitchState Value);
  bool IsOn() const { return FState == kaswOn; }

  // Also sets TabStop.
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  const String& CaptionOn() const { return FCaptionOn; }
  void SetCaptionOn(const String& Value) { SetAndRepaint(FCaptionOn, Value); }
  const String& CaptionOff() const { return FCaptionOff; }
  void SetCaptionOff(const String& Value) { SetAndRepaint(FCaptionOff, Value); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value) { SetAndRepaint(FShowCaption, Value); }
  // clNone is stored as clBtnText.
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value) { SetAndRepaint(FFrameColor, SolidColor(Value)); }
  TColor FrameOnColor() const { return FFrameOnColor; }
  void SetFrameOnColor(TColor Value) { SetAndRepaint(FFrameOnColor, SolidColor(Value)); }
  TColor ThumbColor() const { return FThumbColor; }
  void SetThumbColor(TColor Value) { SetAndRepaint(FThumbColor, SolidColor(Value)); }
  TColor ThumbOnColor() const { return FThumbOnColor; }
  void SetThumbOnColor(TColor Value) { SetAndRepaint(FThumbOnColor, SolidColor(Value)); }
  // clNone: no pressed look.
  TColor FramePressedColor() const { return FFramePressedColor; }
  void SetFramePressedColor(TColor Value) { SetAndRepaint(FFramePressedColor, Value); }
  TColor ThumbPressedColor() const { return FThumbPressedColor; }
  void SetThumbPressedColor(TColor Value) { SetAndRepaint(FThumbPressedColor, Value); }
  TkaSwitchStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TkaSwitchStyleKind Value) { SetAndRepaint(FStyleKind, Value); }
  // Mouse and keyboard leave the state alone.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  // The caption in Font.Color (through the style) rather than the check-box text colour.
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value) { FUseFontColorToStyleColor = Value; }
  // Track size in device pixels; a value below the class's minimum (MinSwitchSize) is ignored.
  int SwitchWidth() const { return FSwitchWidth; }
  void SetSwitchWidth(int Value);
  int SwitchHeight() const { return FSwitchHeight; }
  void SetSwitchHeight(int Value);
  // Animation (inherited) is the slide: with it off the state changes at once.

  TNotifyEvent OnChangeState;

  void ChangeScale(int M, int D, bool isDpiChange) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  // Rebuilds the tinted masks for the current scale factor from the program's resources.
  virtual void LoadResImages();
  // The other state: sliding there with Animation (the state changes when the thumb
  // arrives), at once without it or while designing or loading. Nothing while a slide runs.
  virtual void ToggleState();
  // Track and thumb, after the geometry is brought up to date.
  virtual void DrawSwitch(TCanvas* ACanvas);
  // A switch part (TThemedToggleSwitch of the style engine) of the custom style that draws
  // the control, at the control's scale.
  virtual void DrawStyleElement(TCanvas* ACanvas, TThemedToggleSwitch Element, const TRect& R);
  // The caption's size as it will be drawn.
  virtual TSize MeasureCaption(TCanvas* ACanvas, const String& Text);
  // The caption in its rectangle (exactly the measured size) in the canvas's font, with the
  // focus frame around it when Focus.
  virtual void PaintCaption(TCanvas* ACanvas, const String& Text, const TRect& TextRect, bool Focus, TColor Color);
  // The focus frame of a switch without a caption; R is the track grown by 2.
  virtual void PaintFocusFrame(TCanvas* ACanvas, const TRect& R, TColor Color);
  // The thumb's width; 0 in FThumbWidth means half the track.
  virtual int ThumbWidth() const;
  // The smallest track the drawing accepts: the masks need the room.
  virtual TSize MinSwitchSize() const { return TSize{kaSwitchMinWidth, kaSwitchMinHeight}; }

  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  // State changes are shown at once: the inherited Animation is the slide, not a fade.
  bool CanAnimate() override { return false; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // One step of the slide (the timer's tick).
  void AnimationStep();
  bool Sliding() const;
  void DoChangeState();
  // FSWRect from the size and BiDiMode; FThumbRect at the state's end unless a drag or slide
  // holds it.
  void UpdateGeometry();
  // The track where it sits, 2 pixels in from the edge it starts at.
  TRect TrackRect() const;
  // The state whose look is shown: the target's during a toggling slide.
  bool VisualOn() const;
  bool RightToLeft() const { return BiDiMode() == bdRightToLeft; }
  // The caption's rectangle for text of Size beside the track.
  TRect CaptionRect(TSize Size) const;
  TColor CaptionColor(TkasCtrlState ACtrlState) const;
  const String& CurrentCaption() const { return FState == kaswOn ? FCaptionOn : FCaptionOff; }

  // Images for kaswsCustomImage; forgotten when that component goes.
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  void SetFrameImageIndex(int Value) { SetAndRepaint(FFrameImageIndex, Value); }
  void SetFrameOnImageIndex(int Value) { SetAndRepaint(FFrameOnImageIndex, Value); }
  void SetFramePressedImageIndex(int Value) { SetAndRepaint(FFramePressedImageIndex, Value); }
  void SetThumbImageIndex(int Value) { SetAndRepaint(FThumbImageIndex, Value); }
  void SetThumbOnImageIndex(int Value) { SetAndRepaint(FThumbOnImageIndex, Value); }
  void SetThumbPressedImageIndex(int Value) { SetAndRepaint(FThumbPressedImageIndex, Value); }

  template <class T>
  void SetAndRepaint(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    RePaintControl();
  }
  static TColor SolidColor(TColor Value) { return Value == clNone ? clBtnText : Value; }

  bool FCanFocused = true;
  String FCaptionOn = L"On";
  String FCaptionOff = L"Off";
  bool FLoading = false;
  TColor FFrameColor = clBtnText;
  TColor FFrameOnColor = clHighlight;
  TColor FThumbColor = clBtnText;
  TColor FThumbOnColor = clHighlightText;
  TColor FFramePressedColor = clBtnShadow;
  TColor FThumbPressedColor = clBtnText;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FFrameImageIndex = -1, FFrameOnImageIndex = -1, FFramePressedImageIndex = -1;
  int FThumbImageIndex = -1, FThumbOnImageIndex = -1, FThumbPressedImageIndex = -1;
  TkaSwitchStyleKind FStyleKind = kaswsStyled;
  bool FUseFontColorToStyleColor = false;
  bool FShowCaption = true;
  bool FKeyDown = false;
  bool FReadOnly = false;
  int FSwitchWidth = kaSwitchMinWidth;
  int FSwitchHeight = kaSwitchMinHeight;
  // Scaling never makes the track smaller than the minimum.
  bool FFixedMinSize = true;
  TkaSwitchState FState = kaswOff;
  bool FPressed = false;
  int FOldX = 0;
  int FMouseDownX = 0;
  TRect FThumbRect;
  TRect FSWRect;
  bool FMouseDown = false;
  // The three tinted masks: off frame, on frame, thumb. Owned.
  TkaImageCollection* FResImages = nullptr;
  int FThumbWidth = 0;
  // A drag or slide is in progress; FThumbRect is then where the thumb is.
  bool FThumbMoving = false;
  TTimer* FAnimationTimer = nullptr;
  // The running slide takes the thumb back to its old end instead of toggling.
  bool FCancelAction = false;

 private:
  // Made on first need and again for a new scale factor.
  void EnsureResImages();
  void DrawMasks(TCanvas* ACanvas, bool On);
  void DrawCustomImages(TCanvas* ACanvas, bool On);
  void DrawStyledElements(TCanvas* ACanvas, bool On);
  void DropThumb();
  // Drops a press or drag that can no longer finish (disabled, read-only).
  void CancelPointerInteraction();
  void HandleKey(const TMessage& Message);

  // The scale factor FResImages was made for; 0 before the first build.
  double FResImagesScale = 0;
};
