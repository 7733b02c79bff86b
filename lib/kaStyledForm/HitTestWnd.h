// TkaHitTestWnd: the resize ring of a form in DWM client mode. A borderless, practically
// invisible top-level window a few pixels wider than the form on every side, kept directly
// behind it. Its window region is only the frame around the form, and it answers the hit
// test with the sizing codes of its edges and corners, so grabbing the form's shadow starts
// the platform's sizing loop on the ring; while that loop sizes the ring, the ring sizes
// the form and follows the bounds the form accepts.
#pragma once

#include "framework/Forms.h"

class TkaStyledForm;

// Identifier of the window timer that re-fits the ring after a sizing drag.
constexpr UINT_PTR kaHitTestWndRefitTimerID = 1;
constexpr UINT kaHitTestWndRefitDelay = 50;

class TkaHitTestWnd : public TForm {
  KA_CLASS(TkaHitTestWnd, TForm)
 public:
  // Hidden, borderless, alpha-blended with alpha 0; reads no layout.
  TkaHitTestWnd(TComponent* AOwner, TkaStyledForm* AStyledForm);
  ~TkaHitTestWnd() override;

  // Fits the ring around the styled form's form and puts it behind the form. Nothing while
  // a sizing drag runs or while the form is hidden.
  void UpdatePosition();
  // Moves and sizes the form to X, Y, W, H under its size constraints; when the left or top
  // edge is dragged past a limit, the opposite edge stays where it is. Returns the bounds
  // the form ended up with.
  void UpdateFormPosition(int& X, int& Y, int& W, int& H);

  // The ring is sized from the styled form's scale factor, never by the framework.
  void ChangeScale(int M, int D, bool isDpiChange) override;
  // Showing never takes the activation from the form.
  void SetVisible(bool Value) override;

  // Ring width in pixels.
  int FBorderSize = 5;
  // A sizing drag on the ring is in progress.
  bool FDragging = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TkaStyledForm* FStyledForm;
  // The current window region. The window owns it (SetWindowRgn): never deleted here.
  HRGN FRgn = nullptr;
  bool FIsResizing = false;

 private:
  void UpdateRegion();
  int HitTest(TPoint ScreenPoint) const;
  void ActivateForm();
  void WMNCHitTest(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMWindowPosChangedRing(TMessage& Message);
  void WMExitSizeMove(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMSizeRing(TMessage& Message);
  void FollowForm(WINDOWPOS& Pos);
  TCustomForm* Form() const;
};
