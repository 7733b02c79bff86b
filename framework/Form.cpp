// TCustomForm: top-level windows with their frame, position, activation, closing, modal
// loop and DPI changes.
#include <algorithm>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomForm(AOwner, true) {}

TCustomForm::TCustomForm(TComponent* AOwner, bool ReadLayout) : TWinControl(AOwner), FReadLayout(ReadLayout) {
  FVisible = false;
  FColor = clBtnFace;
  FParentFont = false;
  FControlStyle += TControlStyle{csAcceptsControls};
  FWidth = 320;
  FHeight = 240;
  FClientWidth = FWidth;
  FClientHeight = FHeight;
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm* TCustomForm::CreateNew(TComponent* AOwner) {
  auto* form = new TCustomForm(AOwner, false);
  form->AfterConstruction();
  return form;
}

TCustomForm::~TCustomForm() {
  UnregisterLayoutRoot(this);
  if (Screen != nullptr) Screen->RemoveForm(this);
  if (Application != nullptr) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  FFormState.Include(fsCreating);
  try {
    // Registered first, so other forms' layouts can refer to this form's components.
    RegisterLayoutRoot(this);
    if (FReadLayout) ReadLayoutResource(this, ::GetModuleHandleW(nullptr), ClassName());
    ScaleToMonitor();
  } catch (...) {
    FFormState.Exclude(fsCreating);
    throw;
  }
  FFormState.Exclude(fsCreating);
  DoCreate();
}

void TCustomForm::BeforeDestruction() {
  if (OnDestroy) OnDestroy(this);
  UnregisterLayoutRoot(this);
  if (Screen != nullptr) Screen->RemoveForm(this);
  if (Application != nullptr) Application->FormDestroyed(this);
  inherited::BeforeDestruction();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  }
}

void TCustomForm::ScaleToMonitor() {
  if (!FScaled || Screen == nullptr) return;
  TMonitor monitor = HandleAllocated() ? Monitor() : Screen->PrimaryMonitor();
  int ppi = monitor.PixelsPerInch();
  if (ppi > 0 && ppi != FCurrentPPI) ScaleForPPI(ppi);
}

// ---- Window ---------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FAlphaBlend || FTransparentColor) Params.ExStyle |= WS_EX_LAYERED;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  Params.WndParent = FParentWindow;
  if (Application != nullptr && Application->MainFormOnTaskBar()) {
    TCustomForm* main = Application->MainForm();
    if (main == this || main == nullptr)
      Params.ExStyle |= WS_EX_APPWINDOW;
    else if (Params.WndParent == nullptr && main->HandleAllocated())
      Params.WndParent = main->WindowHandle();
  }
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
}

TSize TCustomForm::FrameSize() {
  TCreateParams p;
  CreateParams(p);
  RECT r{0, 0, 100, 100};
  ::AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
  return TSize{(r.right - r.left) - 100, (r.bottom - r.top) - 100};
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (FWindowState == wsMaximized) ::ShowWindow(FHandle, FVisible ? SW_SHOWMAXIMIZED : SW_HIDE);
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  // Created layered and hidden, then given its real extended style: the write makes the new
  // window receive WM_STYLECHANGED, which components hooked to the form rely on to style
  // every incarnation of the window.
  TCreateParams p = Params;
  p.ExStyle |= WS_EX_LAYERED;
  inherited::CreateWindowHandle(p);
  if (FHandle == nullptr) return;
  ::SetWindowLongW(FHandle, GWL_EXSTYLE, static_cast<LONG>(Params.ExStyle));
  ApplyLayeredAttributes();
}

void TCustomForm::ApplyLayeredAttributes() {
  if (FHandle == nullptr || !(FAlphaBlend || FTransparentColor)) return;
  DWORD flags = (FAlphaBlend ? LWA_ALPHA : 0) | (FTransparentColor ? LWA_COLORKEY : 0);
  ::SetLayeredWindowAttributes(FHandle, static_cast<COLORREF>(ColorToRGB(FTransparentColorValue)),
                               FAlphaBlendValue, flags);
}

void TCustomForm::DestroyWnd() {
  if (FHandle != nullptr) {
    if (::IsZoomed(FHandle))
      FWindowState = wsMaximized;
    else if (::IsIconic(FHandle))
      FWindowState = wsMinimized;
    else
      FWindowState = wsNormal;
  }
  inherited::DestroyWnd();
}

void TCustomForm::CMRecreateWnd(TMessage& Message) {
  bool wasActive = FActive;
  inherited::CMRecreateWnd(Message);
  if (FHandle == nullptr) return;
  if (FVisible) {
    int cmd = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
              : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                            : (wasActive ? SW_SHOW : SW_SHOWNOACTIVATE);
    ::ShowWindow(FHandle, cmd);
    if (wasActive) ::SetForegroundWindow(FHandle);
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (FHandle != nullptr) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (FHandle != nullptr) RecreateWnd();
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  if (FHandle != nullptr) RecreateWnd();
}

void TCustomForm::SetAlphaBlendValue(uint8_t Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  ApplyLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool Value) {
  if (FTransparentColor == Value) return;
  FTransparentColor = Value;
  if (FHandle != nullptr) RecreateWnd();
}

void TCustomForm::SetTransparentColorValue(TColor Value) {
  if (FTransparentColorValue == Value) return;
  FTransparentColorValue = Value;
  ApplyLayeredAttributes();
}

TWindowState TCustomForm::WindowState() const {
  if (FHandle != nullptr) {
    if (::IsIconic(FHandle)) return wsMinimized;
    if (::IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (FHandle == nullptr || !FVisible) return;
  ::ShowWindow(FHandle, Value == wsMaximized ? SW_MAXIMIZE : Value == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

TMonitor TCustomForm::Monitor() {
  if (FHandle != nullptr) return TMonitor(::MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST));
  RECT r = BoundsRect();
  return TMonitor(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

// ---- Geometry -------------------------------------------------------------------------

TRect TCustomForm::ClientRect() const {
  if (FHandle != nullptr) return inherited::ClientRect();
  return Rect(0, 0, FClientWidth, FClientHeight);
}

TPoint TCustomForm::GetClientOrigin() const {
  if (FHandle != nullptr) return inherited::GetClientOrigin();
  return TPoint(FLeft, FTop);
}

void TCustomForm::SetClientSize(int W, int H) {
  if (FHandle != nullptr) {
    TRect c = ClientRect();
    SetBounds(FLeft, FTop, FWidth + (W - c.Width()), FHeight + (H - c.Height()));
    return;
  }
  TSize frame = FrameSize();
  FClientWidth = W;
  FClientHeight = H;
  inherited::SetBounds(FLeft, FTop, W + frame.cx, H + frame.cy);
  FClientWidth = FWidth - frame.cx;
  FClientHeight = FHeight - frame.cy;
}

void TCustomForm::SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
void TCustomForm::SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FHandle == nullptr) {
    TSize frame = FrameSize();
    FClientWidth = FWidth - frame.cx;
    FClientHeight = FHeight - frame.cy;
  }
}

void TCustomForm::UpdateBoundsRect(const TRect& R) {
  if (FHandle == nullptr) return;
  ::SetWindowPos(FHandle, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::ScaleControlBounds(int M, int D) {
  TRect c = ClientRect();
  SetClientSize(::MulDiv(c.Width(), M, D), ::MulDiv(c.Height(), M, D));
}

void TCustomForm::ApplyPosition() {
  if (FPosition != poScreenCenter && FPosition != poDesktopCenter && FPosition != poMainFormCenter &&
      FPosition != poOwnerFormCenter)
    return;
  TRect area;
  TCustomForm* main = Application != nullptr ? Application->MainForm() : nullptr;
  if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && main != nullptr && main != this) {
    area = main->BoundsRect();
  } else if (FPosition == poDesktopCenter) {
    area = Bounds(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                  ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  } else {
    area = (main != nullptr && main != this && main->HandleAllocated()) ? main->Monitor().BoundsRect()
                                                                        : Screen->PrimaryMonitor().BoundsRect();
  }
  SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
}

// ---- Showing, closing, modal loop -------------------------------------------------------

void TCustomForm::SetVisible(bool Value) {
  if (Value == FVisible && (!Value || (FHandle != nullptr && ::IsWindowVisible(FHandle)))) return;
  if (Value) {
    HandleNeeded();
    ApplyPosition();
    FVisible = true;
    int cmd = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED : FWindowState == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOW;
    ::ShowWindow(FHandle, cmd);
    if (OnShow) OnShow(this);
  } else {
    FVisible = false;
    if (FHandle != nullptr) {
      if (::IsZoomed(FHandle)) FWindowState = wsMaximized;
      ::ShowWindow(FHandle, SW_HIDE);
    }
    if (OnHide) OnHide(this);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront() {
  if (FHandle == nullptr) return;
  ::SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(FHandle);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application != nullptr && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  if (FHandle != nullptr)
    ::PostMessageW(FHandle, CM_RELEASE, 0, 0);
  else
    Free();
}

void TCustomForm::CMRelease(TMessage&) { Free(); }

namespace {
struct TDisabledWindows {
  HWND Except;
  std::vector<HWND> Windows;
};
BOOL CALLBACK DisableThreadWindow(HWND Wnd, LPARAM Data) {
  auto* d = reinterpret_cast<TDisabledWindows*>(Data);
  if (Wnd != d->Except && ::IsWindowVisible(Wnd) && ::IsWindowEnabled(Wnd)) {
    d->Windows.push_back(Wnd);
    ::EnableWindow(Wnd, FALSE);
  }
  return TRUE;
}
}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal))
    throw EInvalidOperation(L"Cannot make a visible window modal");
  if (GetCaptureControl() != nullptr) SetCaptureControl(nullptr);
  ::ReleaseCapture();
  FFormState.Include(fsModal);
  HWND activeBefore = ::GetActiveWindow();
  HandleNeeded();
  TDisabledWindows disabled{FHandle, {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
  auto restore = [&] {
    for (HWND w : disabled.Windows)
      if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    if (activeBefore != nullptr && ::IsWindow(activeBefore)) ::SetActiveWindow(activeBefore);
    FFormState.Exclude(fsModal);
  };
  try {
    Show();
    FModalResult = mrNone;
    do {
      Application->HandleMessage();
      if (Application->Terminated()) {
        FModalResult = mrCancel;
      } else if (FModalResult != mrNone) {
        // Closing may be refused, which keeps the loop going.
        TCloseAction action = caNone;
        if (CloseQuery()) {
          action = caHide;
          DoClose(action);
        }
        if (action == caNone) FModalResult = mrNone;
      }
    } while (FModalResult == mrNone);
    Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return FModalResult;
}

// ---- Activation and focus ---------------------------------------------------------------

void TCustomForm::WMActivate(TMessage& Message) {
  FActive = LOWORD(Message.WParam) != WA_INACTIVE;
  if (FActive) {
    FFormState.Include(fsActivated);
    HWND target = (FActiveControl != nullptr && FActiveControl->HandleAllocated()) ? FActiveControl->WindowHandle() : FHandle;
    if (HIWORD(Message.WParam) == 0) ::SetFocus(target);
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (Control == FFocusedControl) {
    FActiveControl = Control == this ? nullptr : Control;
    return true;
  }
  TWinControl* old = FFocusedControl;
  FFocusedControl = Control;
  if (Control != this) FActiveControl = Control;
  if (old != nullptr && old != this) old->Perform(CM_EXIT);
  if (Control != nullptr && Control != this) Control->Perform(CM_ENTER);
  TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control), 0};
  Broadcast(m);
  return true;
}

void TCustomForm::FocusControl(TWinControl* Control) {
  if (Control == nullptr) return;
  if (!Control->CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (FActive || ::GetActiveWindow() == FHandle || Control->HandleAllocated()) {
    Control->HandleNeeded();
    ::SetFocus(Control->WindowHandle());
  }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control == nullptr) {
    // Leaving a control runs its exit handler, which may move the focus elsewhere: then
    // the request is refused.
    TWinControl* old = FActiveControl;
    FActiveControl = nullptr;
    FFocusedControl = nullptr;
    if (old != nullptr) old->Perform(CM_EXIT);
    if (FActiveControl == nullptr && FHandle != nullptr && ::GetFocus() != nullptr &&
        (old != nullptr && old->HandleAllocated() && ::GetFocus() == old->WindowHandle()))
      ::SetFocus(FHandle);
    return;
  }
  if (!ContainsControl(Control)) throw EInvalidOperation(L"The control is not on this form");
  FocusControl(Control);
  if (FActiveControl != Control) FActiveControl = Control;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (FActiveControl != nullptr && (FActiveControl == Control || Control->ContainsControl(FActiveControl)))
    FActiveControl = nullptr;
  if (Removing && FFocusedControl == Control) FFocusedControl = nullptr;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActiveControl != nullptr) FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  WORD key = Message.CharCode();
  if (key == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0) {
    SelectNext(FActiveControl, ::GetKeyState(VK_SHIFT) >= 0, true);
    Message.Result = 1;
    return;
  }
  if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
    if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
      FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
      Message.Result = 1;
    }
    return;
  }
  inherited::CMDialogKey(Message);
}

// ---- Other messages ---------------------------------------------------------------------

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
  DefaultHandler(Message);
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  if (info == nullptr) return;
  if (FConstraints->MinWidth() > 0) info->ptMinTrackSize.x = FConstraints->MinWidth();
  if (FConstraints->MinHeight() > 0) info->ptMinTrackSize.y = FConstraints->MinHeight();
  if (FConstraints->MaxWidth() > 0) info->ptMaxTrackSize.x = FConstraints->MaxWidth();
  if (FConstraints->MaxHeight() > 0) info->ptMaxTrackSize.y = FConstraints->MaxHeight();
}

void TCustomForm::WMDpiChanged(TMessage& Message) {
  int ppi = LOWORD(Message.WParam);
  if (FScaled && ppi > 0 && ppi != FCurrentPPI) ScaleForPPI(ppi);
  if (auto* r = reinterpret_cast<RECT*>(Message.LParam))
    SetBounds(r->left, r->top, r->right - r->left, r->bottom - r->top);
  Message.Result = 0;
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application != nullptr && Application->MainForm() == this &&
      !Application->MainFormOnTaskBar()) {
    Application->Minimize();
    return;
  }
  DefaultHandler(Message);
}

void TCustomForm::WMShowWindow(TMessage& Message) { DefaultHandler(Message); }

void TCustomForm::WMThemeChanged(TMessage& Message) {
  StyleServices()->ThemesChanged();
  Invalidate();
  DefaultHandler(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_DPICHANGED: WMDpiChanged(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_SHOWWINDOW: WMShowWindow(Message); break;
    case WM_THEMECHANGED: WMThemeChanged(Message); break;
    case CM_RELEASE: CMRelease(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Published properties ------------------------------------------------------------------

KA_REGISTER_ENUM(TFormBorderStyle, {{L"bsNone", bsNone}, {L"bsSingle", bsSingle}, {L"bsSizeable", bsSizeable},
                                    {L"bsDialog", bsDialog}, {L"bsToolWindow", bsToolWindow},
                                    {L"bsSizeToolWin", bsSizeToolWin}});
KA_REGISTER_ENUM(TBorderIcon, {{L"biSystemMenu", biSystemMenu}, {L"biMinimize", biMinimize},
                               {L"biMaximize", biMaximize}, {L"biHelp", biHelp}});
KA_REGISTER_ENUM(TPosition, {{L"poDesigned", poDesigned}, {L"poDefault", poDefault},
                             {L"poDefaultPosOnly", poDefaultPosOnly}, {L"poDefaultSizeOnly", poDefaultSizeOnly},
                             {L"poScreenCenter", poScreenCenter}, {L"poDesktopCenter", poDesktopCenter},
                             {L"poMainFormCenter", poMainFormCenter}, {L"poOwnerFormCenter", poOwnerFormCenter}});
KA_REGISTER_ENUM(TWindowState, {{L"wsNormal", wsNormal}, {L"wsMinimized", wsMinimized}, {L"wsMaximized", wsMaximized}});
KA_REGISTER_ENUM(TFormStyle, {{L"fsNormal", fsNormal}, {L"fsMDIChild", fsMDIChild}, {L"fsMDIForm", fsMDIForm},
                              {L"fsStayOnTop", fsStayOnTop}});

KA_REGISTER_CLASS(TCustomForm, [](auto& c) {
  c.Property(L"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle);
  c.Property(L"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons);
  c.Property(L"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
  c.Property(L"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
  c.Property(L"Position", &TCustomForm::Position, &TCustomForm::SetPosition);
  c.Property(L"WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState);
  c.Property(L"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle);
  c.Property(L"AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend);
  c.Property(L"AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue);
  c.Property(L"TransparentColor", &TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor);
  c.Property(L"TransparentColorValue", &TCustomForm::TransparentColorValue, &TCustomForm::SetTransparentColorValue);
  c.Property(L"PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
  c.Property(L"Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled);
  c.Property(L"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
  c.Property(L"OnCreate", &TCustomForm::OnCreate);
  c.Property(L"OnDestroy", &TCustomForm::OnDestroy);
  c.Property(L"OnShow", &TCustomForm::OnShow);
  c.Property(L"OnHide", &TCustomForm::OnHide);
  c.Property(L"OnActivate", &TCustomForm::OnActivate);
  c.Property(L"OnDeactivate", &TCustomForm::OnDeactivate);
  c.Property(L"OnClose", &TCustomForm::OnClose);
  c.Property(L"OnCloseQuery", &TCustomForm::OnCloseQuery);
});
KA_REGISTER_CLASS(TForm);
