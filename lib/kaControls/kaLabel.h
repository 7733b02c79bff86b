// The library's text label: a transparent window that draws its caption over whatever lies
// under it (also over other windows and the translucent backdrop), optionally with a glow
// halo, sizes itself to its text, hands its accelerator to a focus control, and can move its
// form while the left button is held on it (a caption area of a borderless form).
#pragma once

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/TextDrawing.h"

class TCustomForm;

enum TkaVertAlignment { kavtaTop, kavtaCenter, kavtaBottom };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Moves a form by the cursor's travel while the left button is held on a control. A double
// click does not start a drag, and a maximized form stays where it is.
class TkaFormDragger {
 public:
  // Called after a control's own mouse-down handling.
  void MouseDown(const TControl* Control, TMouseButton Button, TShiftState Shift, bool TopForm);
  void MouseMove();
  void MouseUp();
  bool Dragging() const { return FDown; }

 private:
  TCustomForm* FForm = nullptr;
  bool FDown = false;
  TPoint FDownP;
};

class TkaLabel : public TkaCustomControl {
  KA_CLASS(TkaLabel, TkaCustomControl)
 public:
  explicit TkaLabel(TComponent* AOwner);
  ~TkaLabel() override;

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TkaVertAlignment VertAlignment() const { return FVertAlignment; }
  void SetVertAlignment(TkaVertAlignment Value);
  // Kept for layouts; the vertical place of the text follows VertAlignment.
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // Ellipses apply only while AutoSize is off (an auto-sized label always fits its text).
  bool ShowEllipsis() const { return FShowEllipsis; }
  void SetShowEllipsis(bool Value);
  bool PathEllipsis() const { return FPathEllipsis; }
  void SetPathEllipsis(bool Value);
  // Takes the focus when the caption's accelerator is pressed; not owned.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  // Owned; the setter copies.
  TkaGlowEffect* GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(TkaGlowEffect* Value) { FGlowEffect->Assign(Value); }
  bool DragForm() const { return FDragForm; }
  void SetDragForm(bool Value) { FDragForm = Value; }
  // Drag the outermost form rather than the nearest one.
  bool DragTopForm() const { return FDragTopForm; }
  void SetDragTopForm(bool Value) { FDragTopForm = Value; }
  // Under a custom style, take the font colour through the style instead of the check box
  // text colour.
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value) { FUseFontColorToStyleColor = Value; }

 protected:
  virtual String GetLabelText() { return Caption(); }
  // DrawText of the label text on ACanvas; a measurement of an empty caption (or of a lone
  // accelerator mark) measures a space, so an empty label keeps one line's height.
  virtual void DoDrawText(TCanvas* ACanvas, TRect& ARect, UINT Flags);
  // Fits the bounds to the text (AutoSize).
  virtual void AdjustBounds();

  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TBitmap* FGlowBuffer = nullptr;

 private:
  // Stores a changed value and repaints; false when nothing changed.
  template <class T>
  bool SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return false;
    Field = Value;
    RePaintControl();
    return true;
  }
  UINT TextFlags() const;
  void ApplyFontColor(TCanvas* ACanvas, TkasCtrlState ACtrlState);
  // True when the cached glow no longer fits what is drawn; remembers the current values.
  bool NeedGlowRebuild(TCanvas* ACanvas, const TRect& ARect, UINT Flags);
  void CMDialogChar(TMessage& Message);

  TAlignment FAlignment = taLeftJustify;
  TkaVertAlignment FVertAlignment = kavtaTop;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FShowEllipsis = false;
  bool FPathEllipsis = false;
  TWinControl* FFocusControl = nullptr;
  TkaGlowEffect* FGlowEffect = nullptr;
  bool FDragForm = false;
  bool FDragTopForm = true;
  bool FUseFontColorToStyleColor = false;
  TkaFormDragger FDragger;

  // What the cached glow was made for.
  struct TGlowKey {
    String Caption;
    int Width = 0, Height = 0;
    TColor GlowColor = clNone;
    String FontName;
    int FontSize = 0;
    TFontStyles FontStyle;
    TAlignment Alignment = taLeftJustify;
    bool ShowAccelChar = true;
    TTextLayout Layout = tlTop;
    bool WordWrap = false, ShowEllipsis = false, PathEllipsis = false;
    TRect TextRect;
    UINT Flags = 0;
    bool operator==(const TGlowKey&) const = default;
  };
  TGlowKey FGlowKey;
  bool FUpdateGlowBuffer = true;
};
