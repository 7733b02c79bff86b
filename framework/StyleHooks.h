// Base classes of style hooks that style a whole framework window: the window's non-client
// area and background painted by the hook, and the pointer followed into and out of the
// window (client and non-client parts alike).
#pragma once

#include "framework/Controls.h"
#include "framework/Themes.h"

class TCanvas;

// A hook bound to one framework control. Subclasses override WndProc, handle what they want
// and leave the rest to the inherited WndProc; CallDefaultProc runs the control's own
// handling of a message (what the window would have done without the hook).
class TMouseTrackControlStyleHook : public TStyleHook {
  KA_CLASS(TMouseTrackControlStyleHook, TStyleHook)
 public:
  explicit TMouseTrackControlStyleHook(TWinControl* AControl);

  TWinControl* Control() const { return FControl; }
  // The control's window (nullptr before it has one).
  HWND Handle() const { return FControl != nullptr ? FControl->WindowHandle() : nullptr; }
  bool HandleMessage(TMessage& Message) final;

  // The hook paints the window's background (WM_ERASEBKGND) through PaintBackground.
  bool OverrideEraseBkgnd() const { return FOverrideEraseBkgnd; }
  void SetOverrideEraseBkgnd(bool Value) { FOverrideEraseBkgnd = Value; }
  // The hook paints the non-client area (WM_NCPAINT) through PaintNC.
  bool OverridePaintNC() const { return FOverridePaintNC; }
  void SetOverridePaintNC(bool Value) { FOverridePaintNC = Value; }
  // The pointer is over the window (client or non-client part).
  bool MouseInControl() const { return FMouseInControl; }

  // Repaints the non-client area now.
  void InvalidateNC();

 protected:
  // True when Message was handled (its Result set): the control's own procedure is skipped.
  virtual bool WndProc(TMessage& Message);
  // The control's own handling of Message; the hook is not asked again.
  void CallDefaultProc(TMessage& Message);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Canvas is bound to the window DC (origin at the window's top-left corner).
  virtual void PaintNC(TCanvas* Canvas) {}
  // Canvas is bound to the client DC of the erase.
  virtual void PaintBackground(TCanvas* Canvas) {}

 private:
  void TrackLeave(bool NonClient);
  // A leave of one part: the pointer may have moved to the other part of the same window.
  void CheckLeave();

  TWinControl* FControl;
  bool FOverrideEraseBkgnd = false;
  bool FOverridePaintNC = false;
  bool FMouseInControl = false;
};
