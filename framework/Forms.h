// Forms (top-level windows), the application object with its message loop, and the
// screen with its monitors.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "framework/Controls.h"

class TTimer;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrClose = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TMonitor {
 public:
  explicit TMonitor(HMONITOR Handle) : FHandle(Handle) {}
  HMONITOR Handle() const { return FHandle; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  bool Primary() const;
  // Effective DPI of the monitor.
  int PixelsPerInch() const;
  // Tests stand in for monitors of other DPIs: while set, PixelsPerInch asks Override first
  // and uses its answer when it is positive. Pass an empty function to remove it.
  static void SetPixelsPerInchOverride(std::function<int(HMONITOR)> Override);

 private:
  HMONITOR FHandle;
};

class TCustomForm : public TWinControl {
  KA_CLASS(TCustomForm, TWinControl)
 public:
  // A form whose layout (an RCDATA resource named after the class) is read in
  // AfterConstruction. Create forms with Construct<T>(Owner) or Application->CreateForm.
  explicit TCustomForm(TComponent* AOwner);
  // A form without a layout.
  static TCustomForm* CreateNew(TComponent* AOwner);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value) { FFormStyle = Value; }
  TFormState FormState() const { return FFormState; }
  bool Active() const { return FActive; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value);
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool Value);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor Value);
  // The DPI the form's sizes are currently at (96 as laid out).
  int PixelsPerInch() const { return FCurrentPPI; }
  void SetPixelsPerInch(int Value) { FCurrentPPI = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  int DesignPPI() const { return 96; }
  TMonitor Monitor();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }

  // Client size: from the window when there is one (whatever the non-client area is),
  // else as stored.
  TRect ClientRect() const override;
  void SetClientWidth(int Value) override;
  void SetClientHeight(int Value) override;
  void SetClientSize(int W, int H);
  void SetVisible(bool Value) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  void Show();
  void Hide();
  void Close();
  bool CloseQuery();
  // Runs a nested message loop until ModalResult is set; other windows are disabled.
  TModalResult ShowModal();
  // Frees the form once the messages in the queue are handled.
  void Release();
  void BringToFront();

  // Focus bookkeeping, called as windows gain focus.
  bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void SendCancelMode(TControl* Sender);
  void DefocusControl(TWinControl* Control, bool Removing);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  TCustomForm(TComponent* AOwner, bool ReadLayout);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoCreate();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void UpdateBoundsRect(const TRect& R) override;
  void ScaleControlBounds(int M, int D) override;
  // Width and height the non-client frame adds for the current style.
  TSize FrameSize();
  TPoint GetClientOrigin() const override;
  void ApplyPosition();
  void ApplyLayeredAttributes();
  // Brings the freshly loaded 96-DPI layout to the DPI of the monitor it will show on.
  void ScaleToMonitor();

  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMDpiChanged(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMShowWindow(TMessage& Message);
  void WMThemeChanged(TMessage& Message);
  void CMRelease(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  TFormState FFormState;
  bool FActive = false;
  bool FAlphaBlend = false;
  uint8_t FAlphaBlendValue = 255;
  bool FTransparentColor = false;
  TColor FTransparentColorValue = clBlack;
  bool FScaled = true;
  bool FReadLayout = true;
  bool FPositioned = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FKeyPreview = false;
  int FClientWidth = 0, FClientHeight = 0;
};

class TForm : public TCustomForm {
  KA_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// ---- Hints ---------------------------------------------------------------------------------

class THintWindow;

// The kind of window the application shows control hints in: its class name and the factory
// that makes one (owned by the component passed in).
class THintWindowClass {
 public:
  using TFactory = std::function<THintWindow*(TComponent* AOwner)>;
  THintWindowClass() = default;
  THintWindowClass(const String& Name, TFactory Factory) : FName(Name), FFactory(std::move(Factory)) {}
  template <class T>
  static THintWindowClass Of() {
    return THintWindowClass(T::StaticClassName(), [](TComponent* AOwner) -> THintWindow* { return Construct<T>(AOwner); });
  }

  const String& Name() const { return FName; }
  explicit operator bool() const { return static_cast<bool>(FFactory); }
  THintWindow* Create(TComponent* AOwner) const { return FFactory ? FFactory(AOwner) : nullptr; }
  bool operator==(const THintWindowClass& Other) const { return FName == Other.FName; }

 private:
  String FName;
  TFactory FFactory;
};

// What the application is about to show as a control's hint. The control hears CM_HINTSHOW
// with LParam pointing here and may change any of it; a non-zero answer shows no hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass;
  // Screen position of the hint window's top-left corner.
  TPoint HintPos;
  // Lines of the text wrap at this width.
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  // In HintControl's client coordinates: the hint stays while the pointer is inside; leaving
  // it shows the control's hint anew (a control with parts gives the part's rectangle).
  TRect CursorRect;
  // The pointer in HintControl's client coordinates.
  TPoint CursorPos;
  // Milliseconds until the hint goes away; 0 or less keeps it up.
  int HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// A small topmost popup that shows a hint text on the info colours. It never takes the
// activation and lets the pointer through to the windows under it.
class THintWindow : public TCustomControl {
  KA_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);

  // Shows AHint in Rect (screen coordinates; the window's outer bounds), moved inside the
  // work area of the monitor it is on.
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  virtual void ActivateHintData(const TRect& Rect, const String& AHint, void* AData) { ActivateHint(Rect, AHint); }
  // The outer bounds AHint needs, at (0, 0), its lines wrapped at MaxWidth.
  virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
  // Hides the window and destroys its handle (made again by the next ActivateHint).
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
};

class TApplication : public TComponent {
  KA_CLASS(TApplication, TComponent)
 public:
  TApplication();
  ~TApplication() override;

  void Initialize() {}
  // Constructs a form (its layout read, OnCreate run) with Ref assigned before the form's
  // layout is read, so handlers can reach the form through its global pointer.
  template <class T>
  void CreateForm(T*& Ref) {
    T* form = new T(this);
    Ref = form;
    try {
      form->AfterConstruction();
    } catch (...) {
      Ref = nullptr;
      form->Free();
      throw;
    }
    if (FMainForm == nullptr) FMainForm = form;
  }
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();
  void HandleMessage();
  // Handles one queued message; false when the queue was empty.
  bool ProcessMessage(MSG& Msg);
  void Minimize();
  void Restore();
  TCustomForm* MainForm() const { return FMainForm; }
  bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
  void SetMainFormOnTaskBar(bool Value) { FMainFormOnTaskBar = Value; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  // Hints of controls whose ShowHint is on: shown HintPause ms after the pointer comes to
  // rest on a control, moved along to the next control after HintShortPause, hidden after
  // HintHidePause, by a press or a key, and when the pointer leaves the control.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  // The class of the hint window; a change takes effect with the next hint.
  const THintWindowClass& HintWindowClass() const { return FHintWindowClass; }
  void SetHintWindowClass(const THintWindowClass& Value);
  // Shows the hint of the control under CursorPos (screen) at once.
  void ActivateHint(TPoint CursorPos);
  // Hides the hint; none comes back until the pointer moves to another control.
  void HideHint();
  // Hides the hint and forgets the control it was for.
  void CancelHint();
  // The window of the last hint (nullptr before the first); hidden between hints.
  THintWindow* HintWindow() const { return FHintWindow; }
  // The control the pointer rests on whose hint is pending or shown.
  TControl* HintControl() const { return FHintControl; }
  // The timer that shows the pending hint or hides the shown one (nullptr before the first).
  TTimer* HintTimer() const { return FHintTimer; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  HINSTANCE Instance() const { return ::GetModuleHandleW(nullptr); }

  // Report the framework objects still alive when the program ends.
  bool ReportObjectsAtExit() const { return FReportObjectsAtExit; }
  void SetReportObjectsAtExit(bool Value) { FReportObjectsAtExit = Value; }
  // Writes the count of live objects (to the debugger output and stderr); returns it.
  static int ReportAliveObjects();

  // An exception escaped a message handler: OnException, or a report on stderr.
  void HandleException(TObject* Sender);
  int ExceptionCount() const { return FExceptionCount; }

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TNotifyEvent OnIdle;
  // Before a control's hint is shown; CanShow false shows none.
  TShowHintEvent OnShowHint;

  // Framework bookkeeping.
  void ControlDestroyed(TControl* Control);
  void TrackMouseWindow(TWinControl* Control);
  void DoMouseIdle();
  TControl* MouseControl() const { return FMouseControl; }
  void FormDestroyed(TCustomForm* Form);
  // Every mouse message of a windowed control passes here first (the hint follows the pointer).
  void HintMouseMessage(TControl* Control, TMessage& Message);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool IsKeyMsg(MSG& Msg);
  void Idle();
  enum THintTimerMode { htShow, htHide };
  void StartHintTimer(int Interval, THintTimerMode Mode);
  void HintTimerExpired();
  bool HintShowing() const;
  // The pointer is over Target now (nullptr: over no control of ours): when no control there
  // shows hints, the hint goes away (another control's hint is moved along by its mouse
  // message).
  void CheckHintControl(TControl* Target);
  // The hint window of Class, made anew when the current one is of another class.
  THintWindow* HintWindowOf(const THintWindowClass& Class);

  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FMainFormOnTaskBar = false;
  bool FShowMainForm = true;
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintShortPause = 50;
  int FHintHidePause = 2500;
  THintWindowClass FHintWindowClass = THintWindowClass::Of<THintWindow>();
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;
  TTimer* FHintTimer = nullptr;
  THintTimerMode FHintTimerMode = htShow;
  String FTitle;
  bool FReportObjectsAtExit = false;
  int FExceptionCount = 0;
  TControl* FMouseControl = nullptr;
};

class TScreen : public TComponent {
  KA_CLASS(TScreen, TComponent)
 public:
  TScreen();
  ~TScreen() override;
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  TCustomForm* ActiveForm() const;
  TCustomForm* ActiveCustomForm() const { return ActiveForm(); }
  int PixelsPerInch() const;
  TRect WorkAreaRect() const;
  int Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(TCursor Index) const { return CursorHandle(Index); }
  // The system's tooltip font (the status font of the non-client metrics) at the screen's
  // DPI, in clInfoText; read on first use.
  TFont* HintFont();
  TMonitor MonitorFromPoint(TPoint P) const;
  TMonitor MonitorFromWindow(HWND Wnd) const;
  TMonitor MonitorFromRect(const TRect& R) const;
  TMonitor PrimaryMonitor() const;

  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);

 private:
  std::vector<TCustomForm*> FForms;
  TCursor FCursor = crDefault;
  TFont* FHintFont = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;
