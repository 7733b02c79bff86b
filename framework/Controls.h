// Controls: the visual tree over Win32. Windowed controls own real HWNDs; graphic controls
// are painted by their parent. Every control has a replaceable WindowProc that message
// handlers run behind, so components can hook another control's procedure.
#pragma once

#include <functional>
#include <vector>

#include "framework/Classes.h"
#include "framework/Messages.h"

class TFont;
class TCanvas;
class TWinControl;
class TCustomForm;
class TControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand, ssHorizontal };
using TShiftState = TSet<TShiftStateFlag>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = TSet<TStyleElement>;

enum TControlStyleFlag {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint,
  csParentBackground, csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleFlag>;
enum TControlStateFlag {
  csLButtonDown, csClicked, csPalette, csReadingState, csFocusing, csCreating, csPaintCopy,
  csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning, csRecreating,
  csAligning, csGlassPaint, csPrintClient, csAlignmentNeeded
};
using TControlState = TSet<TControlStateFlag>;

enum TCursor : int {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crAppStart = -19,
  crHelp = -20, crHandPoint = -21, crSizeAll = -22
};
// The system cursor for a cursor value (nullptr for crNone).
HCURSOR CursorHandle(TCursor Cursor);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    std::function<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TWndMethod = std::function<void(TMessage& Message)>;

// Shift state from mouse-message key flags plus the keyboard.
TShiftState KeysToShiftState(WORD Keys);
TShiftState KeyboardStateToShiftState();

// Space kept around a control by alignment while its AlignWithMargins is on.
class TMargins : public TPersistent {
  KA_CLASS(TMargins, TPersistent)
 public:
  explicit TMargins(TControl* Control, int Default = 3);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Right() const { return FRight; }
  int Bottom() const { return FBottom; }
  void SetLeft(int Value) { SetMargin(FLeft, Value); }
  void SetTop(int Value) { SetMargin(FTop, Value); }
  void SetRight(int Value) { SetMargin(FRight, Value); }
  void SetBottom(int Value) { SetMargin(FBottom, Value); }
  void SetMargins(int L, int T, int R, int B);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  TControl* Control() const { return FControl; }
  // Width/height of the control plus its margins, as alignment sees it.
  int ControlWidth() const;
  int ControlHeight() const;
  // Places the control inside a margin-inclusive rectangle.
  void SetControlBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Aligning = false);
  void Scale(int M, int D);
  TNotifyEvent OnChange;

 private:
  void SetMargin(int& Field, int Value);
  TControl* FControl;
  int FLeft, FTop, FRight, FBottom;
};

// Inner space of a windowed control that aligned children keep clear of.
class TPadding : public TMargins {
  KA_CLASS(TPadding, TMargins)
 public:
  explicit TPadding(TControl* Control) : TMargins(Control, 0) {}
};

class TSizeConstraints : public TPersistent {
  KA_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* Control) : FControl(Control) {}
  int MinWidth() const { return FMinWidth; }
  int MaxWidth() const { return FMaxWidth; }
  int MinHeight() const { return FMinHeight; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMinWidth(int Value);
  void SetMaxWidth(int Value);
  void SetMinHeight(int Value);
  void SetMaxHeight(int Value);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  // Silently: the owner's bounds, scaled next, are checked against the new limits.
  void Scale(int M, int D);
  TNotifyEvent OnChange;

 private:
  void Changed();
  TControl* FControl;
  int FMinWidth = 0, FMaxWidth = 0, FMinHeight = 0, FMaxHeight = 0;
};

class TControl : public TComponent {
  KA_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // ---- Tree ---------------------------------------------------------------------------
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void BringToFront();
  void SendToBack();

  // ---- Geometry (parent client coordinates; forms: screen) ----------------------------
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // Applies Constraints and OnCanResize, moves the window, realigns as needed.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int Value);
  virtual void SetClientHeight(int Value);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  TPoint ClientToParent(TPoint P, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  bool AlignWithMargins() const { return FAlignWithMargins; }
  void SetAlignWithMargins(bool Value);
  TMargins* Margins() const { return FMargins; }
  TSizeConstraints* Constraints() const { return FConstraints; }

  // ---- Appearance and state -----------------------------------------------------------
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and through every parent up to a showing window.
  bool IsVisibleInTree() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  const String& Caption() const { return FText; }
  void SetCaption(const String& Value) { SetText(Value); }
  const String& Text() const { return FText; }
  virtual void SetText(const String& Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  static void ChangeBiDiModeAlignment(int& Alignment);
  TStyleElements StyleElements() const { return FStyleElements; }
  void SetStyleElements(TStyleElements Value);
  const String& StyleName() const { return FStyleName; }
  void SetStyleName(const String& Value);
  virtual void UpdateStyleElements() {}
  double ScaleFactor() const { return FScaleFactor; }
  void SetScaleFactor(double Value) { FScaleFactor = Value; }
  int CurrentPPI() const { return FCurrentPPI; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  bool IsRightToLeft() const { return UseRightToLeftAlignment(); }

  // ---- Messages -----------------------------------------------------------------------
  // The replaceable procedure every message goes through first. Save the old value to
  // chain to it; restore it to unhook.
  TWndMethod WindowProc;
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  // Sends the message to the class's handler for it, up the class chain.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // ---- Painting -----------------------------------------------------------------------
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }

  // ---- Mouse --------------------------------------------------------------------------
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  bool MouseInClient() const { return FMouseInClient; }

  // ---- Scaling ------------------------------------------------------------------------
  virtual void ChangeScale(int M, int D, bool isDpiChange);
  virtual void ScaleForPPI(int NewPPI);

  // ---- Events -------------------------------------------------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;

  // Public so hooks and tests can drive them like the framework does.
  virtual void Click();
  virtual void DblClick();

 protected:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TApplication;

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  bool CheckNewSize(int& NewWidth, int& NewHeight);
  // Scales position and size (forms scale their client size and stay where they are).
  virtual void ScaleControlBounds(int M, int D);
  void DoConstraintsChange();
  void DoMarginsChange();
  virtual void RequestAlign();
  virtual void VisibleChanging() {}
  virtual void SetParentShowing() {}
  void Loaded() override;
  virtual TPoint GetClientOrigin() const;
  // Moves the window (windowed controls) or invalidates both places (graphic ones).
  virtual void UpdateBoundsRect(const TRect& R);
  virtual void InvalidateControl(bool IsVisible, bool IsOpaque);
  void SendCancelMode(TControl* Sender);
  virtual void FontChanged(TObject* Sender);
  void DoMouseDownMsg(TMessage& Message, TMouseButton Button, TShiftState Extra);
  void DoMouseUpMsg(TMessage& Message, TMouseButton Button);

  // Message handlers (inherited behaviour = inherited::Dispatch(Message)).
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMMButtonDown(TMessage& Message);
  void WMMButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FAlignWithMargins = false;
  TMargins* FMargins = nullptr;
  TSizeConstraints* FConstraints = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  String FText;
  TFont* FFont = nullptr;
  bool FParentFont = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TComponent* FPopupMenu = nullptr;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TStyleElements FStyleElements{seFont, seClient, seBorder};
  String FStyleName;
  double FScaleFactor = 1.0;
  int FCurrentPPI = 96;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  bool FMouseInClient = false;
  // Anchoring: distances kept to the parent's right/bottom edges.
  int FAnchorRight = 0, FAnchorBottom = 0;
  bool FAnchorsValid = false;

  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// How a windowed control asks Windows for its window.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSEXW WindowClass{};
  String WinClassName;
};

class TWinControl : public TControl {
  KA_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // ---- Children -----------------------------------------------------------------------
  // Graphic controls come first, then windowed ones, each in creation (z) order.
  int ControlCount() const;
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The child at a client point (skips invisible; graphic children that answer
  // CM_HITTEST with 0 let the point through).
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false,
                         bool AllLevels = false) const;
  // Sends a message to every child until one sets a non-zero result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  // ---- Window handle ------------------------------------------------------------------
  HWND Handle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  void RecreateWnd();
  // Owner window for top-level windows made by a control that has no parent window.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Has a window that is visible on screen (with all its parents).
  bool Showing() const { return FHandle != nullptr && ::IsWindowVisible(FHandle); }

  // ---- Alignment ----------------------------------------------------------------------
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel != 0; }
  void Realign();
  virtual void AlignControl(TControl* AControl);
  virtual void AdjustClientRect(TRect& Rect);
  TPadding* Padding() const { return FPadding; }

  // ---- Focus and keys -----------------------------------------------------------------
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int TabOrder() const;
  void SetTabOrder(int Value);
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  virtual void ShowControl(TControl* AControl);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  bool ParentDoubleBuffered() const { return FParentDoubleBuffered; }
  void SetParentDoubleBuffered(bool Value) { FParentDoubleBuffered = Value; }
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);

  // ---- Painting -----------------------------------------------------------------------
  void Invalidate() override;
  void Update() override;
  // Paints the control into DC as WM_PAINT would (own face, then graphic children).
  void PaintTo(HDC DC, int X, int Y);
  virtual void PaintWindow(HDC DC);
  // Paints the graphic children (from First on, or all) into DC.
  void PaintControls(HDC DC, TControl* First);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() const override;
  void SetVisible(bool Value) override;
  void SetParent(TWinControl* AParent) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // The control that owns a window of this thread, or nullptr.
  static TWinControl* FindControl(HWND Handle);

 protected:
  friend class TControl;
  friend class TApplication;
  friend class TCustomForm;
  friend LRESULT CALLBACK KaStdWndProc(HWND, UINT, WPARAM, LPARAM);

  virtual void CreateParams(TCreateParams& Params);
  // Makes the window class a copy of a system class (e.g. L"SCROLLBAR").
  void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  virtual void CreateHandlesOfChildren();
  void UpdateShowing();
  void UpdateControlState();
  void SetZOrderPosition(TControl* AControl, int Position);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void AdjustSize();
  void Loaded() override;
  void UpdateBoundsRect(const TRect& R) override;
  void InvalidateControl(bool IsVisible, bool IsOpaque) override;
  TPoint GetClientOrigin() const override;
  void FontChanged(TObject* Sender) override;
  virtual void PaintHandler(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(wchar_t& Key);
  // Mouse messages for graphic children are handed to them here.
  bool IsControlMouseMsg(TMessage& Message);
  void DoPaddingChange();
  TRect WindowBounds() const;

  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMScroll(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  HWND FParentWindow = nullptr;
  std::vector<TControl*> FControls;     // graphic children
  std::vector<TWinControl*> FWinControls;  // windowed children
  int FAlignLevel = 0;
  TPadding* FPadding = nullptr;
  bool FTabStop = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FDoubleBuffered = false;
  bool FParentDoubleBuffered = true;
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clNone;

 private:
  HBRUSH BackgroundBrush();
};

// A control without a window of its own, painted by its parent.
class TGraphicControl : public TControl {
  KA_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  void WMPaint(TMessage& Message);

  TCanvas* FCanvas = nullptr;
};

// A windowed control that paints itself on a canvas bound to the paint DC.
class TCustomControl : public TWinControl {
  KA_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void PaintWindow(HDC DC) override;

 protected:
  virtual void Paint() {}

  TCanvas* FCanvas = nullptr;
};

// The form a control lives on (TopForm: the outermost one).
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);
// Takes the focus out of Container (a page about to be hidden) when its form's active control
// lies inside it. False when an exit handler took the focus back, which refuses the change.
bool ReleaseFocusFrom(TWinControl* Container);
// The control under a screen point, including graphic children.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TControl* FindVCLWindow(TPoint Pos);
// The control that has the mouse captured, if any.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// True when Key is the accelerator (&-marked character) of Caption.
bool IsAccel(WORD Key, const String& Caption);
