// The style hook of a styled form's window. The styled form registers it for every form
// class it is dropped on, so the style engine attaches it whenever a custom style draws such
// a form (the form is re-created when the hook comes or goes). While the style paints form
// borders it computes and paints the whole non-client area from the style's window elements
// (caption, icon, system buttons, caption text, frame edges, main menu bar), answers hit
// tests, runs the system buttons and keeps a window region that follows the frame's shape;
// on top of that it shows the styled form's caption items, wallpapers, font and alignment.
#pragma once

#include <functional>
#include <memory>

#include "framework/Forms.h"
#include "framework/StyleHooks.h"
#include "framework/Themes.h"

class TkaStyledForm;
class TkaNCObject;
class TkaMainMenuBarStyleHook;
class TBitmap;

// Private messages between an MDI child's hook and the main form (kept for the protocol;
// the framework has no MDI windows, so nothing sends them yet).
constexpr UINT kaWM_MDICHILDMOVE = 0x052C;
constexpr UINT kaWM_MDICHILDCLOSE = 0x052D;
constexpr UINT kaWM_MDICHILDRESTORING = 0x05F0;
constexpr UINT kaWM_MDICHILDRESTORED = 0x05F1;

class TkaFormStyleHook : public TMouseTrackControlStyleHook {
  KA_CLASS(TkaFormStyleHook, TMouseTrackControlStyleHook)
 public:
  explicit TkaFormStyleHook(TCustomForm* AForm);
  ~TkaFormStyleHook() override;
  TCustomForm* Form() const { return FForm; }

  // The custom style paints this form's border: a custom style draws it and its
  // StyleElements hold seBorder. Every non-client handler is passive otherwise.
  bool HasStyledBorder() const;
  // Frame thicknesses (Left, Right, Bottom) and the caption height (Top).
  TRect GetBorderSize();
  // The region the window gets (nullptr: none); the caller owns it.
  HRGN GetFrameRegion();
  // The hit-test code at P (window coordinates).
  int HitTestAt(TPoint P);
  // The styled form whose caption extras are shown (nullptr: none on the form).
  TkaStyledForm* StyledForm();
  // The scale of the caption: the styled form's scale factor, 1 without one.
  double Scale();
  TkaMainMenuBarStyleHook* MainMenuBarHook() const { return FMainMenuBarHook.get(); }

  // How much of a maximised window (Window, screen coordinates) hangs over the monitor's work
  // area WA and bounds MB: Left, Top, Right, Bottom to cut away (overhangs of 100 pixels or
  // more are left).
  static TRect MaximizedOverhang(const TRect& Window, const TRect& WA, const TRect& MB);

  // Rectangles of the painted caption parts after the last painting (window coordinates).
  const TRect& CaptionRect() const { return FCaptionRect; }
  const TRect& CloseButtonRect() const { return FCloseButtonRect; }
  const TRect& MaxButtonRect() const { return FMaxButtonRect; }
  const TRect& MinButtonRect() const { return FMinButtonRect; }
  const TRect& HelpButtonRect() const { return FHelpButtonRect; }
  const TRect& SysMenuButtonRect() const { return FSysMenuButtonRect; }
  int HotButton() const { return FHotButton; }
  int PressedButton() const { return FPressedButton; }
  bool FormActive() const { return FFormActive; }
  bool CaptionEmulation() const { return FCaptionEmulation; }
  HRGN Region() const { return FRegion; }

 protected:
  bool WndProc(TMessage& Message) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void PaintNC(TCanvas* Canvas) override;
  void PaintBackground(TCanvas* Canvas) override;

  // The system buttons' actions.
  virtual void Close();
  virtual void Help();
  virtual void Maximize();
  // MDI client windows do not exist in the framework: nothing to subclass.
  virtual void MDIClientWndProc(TMessage& Message) {}
  virtual void Minimize();
  virtual void Restore();

  TkaStyledForm* FStyledForm = nullptr;
  TkaNCObject* FOldNCObject = nullptr;
  TkaNCObject* FActiveNCObject = nullptr;
  TkaNCObject* FCapturedNCObject = nullptr;
  int FStyledCaptionHeight = 0;

 private:
  friend class TkaMainMenuBarStyleHook;
  bool IsToolWindow() const;
  bool IsMaximized() const;
  bool IsMinimized() const;
  bool IsMDIChild() const { return FForm->FormStyle() == fsMDIChild; }
  bool ShowsCaptionItems();
  TPoint ToWindow(LPARAM ScreenPoint) const;
  void UpdateRegion();
  void SetRegion(HRGN Region);
  void UpdateMenuBar();

  // Message handlers (FormStyleHook.cpp); true when handled.
  bool WMNCCalcSize(TMessage& Message);
  bool WMNCHitTest(TMessage& Message);
  bool WMWindowPosChanging(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  bool WMShowWindow(TMessage& Message);
  bool WMNCActivate(TMessage& Message);
  bool WMGetMinMaxInfo(TMessage& Message);
  bool WMSysCommand(TMessage& Message);
  bool WMMenuChar(TMessage& Message);
  void FirstShowing();
  // Non-client mouse (FormStyleHookMouse.cpp).
  bool WMNCMouseMove(TMessage& Message);
  bool WMNCLButtonDown(TMessage& Message);
  bool WMNCLButtonUp(TMessage& Message);
  bool WMNCLButtonDblClk(TMessage& Message);
  bool WMNCRButtonDown(TMessage& Message);
  bool WMNCRButtonUp(TMessage& Message);
  void CaptionItemsMouseMove(TPoint P);
  void HideItemHint();
  // Painting (FormStyleHookPaint.cpp).
  void PaintCaption(TCanvas* Canvas, const TRect& M, double S, bool& IconDrawn, TRect& R);
  void PaintCaptionBackground(TCanvas* Canvas, const TRect& M, const TRect& B, double S);
  void PaintIcon(TCanvas* Canvas, const TRect& M, const TRect& B, double S, bool& IconDrawn, TRect& R);
  void PaintSystemButtons(TCanvas* Canvas, const TRect& M, int Q, TRect& R);
  void PaintCaptionText(TCanvas* Canvas, TRect R, double S);
  void PaintFrame(TCanvas* Canvas, const TRect& M);
  HICON FormIcon(int Width, int Height);

  TCustomForm* FForm;
  TRect FCaptionRect, FCloseButtonRect, FHelpButtonRect, FMaxButtonRect, FMinButtonRect, FSysMenuButtonRect;
  bool FChangeSizeCalled = false;
  bool FFormActive = false;
  int FHotButton = 0;
  int FPressedButton = 0;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::unique_ptr<TkaMainMenuBarStyleHook> FMainMenuBarHook;
  bool FNeedsUpdate = true;
  HRGN FRegion = nullptr;
  bool FCaptionEmulation = false;
  int FYOffset = 0, FXOffset = 0;
};
