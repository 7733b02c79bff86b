// TkaStyledForm: attaching to the form, the published properties, the hooked window
// procedure, activation, scaling, the bookkeeping around platform style changes, the stored
// client size, the styles submenu and the layout registration.
#include <algorithm>
#include <set>

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPControls/GPCustomGlyphButton.h"
#include "lib/kaStyledForm/ClientInActivePanel.h"
#include "lib/kaStyledForm/FormStyleHook.h"
#include "lib/kaStyledForm/HitTestWnd.h"
#include "lib/kaStyledForm/kaStyledForm.h"

bool kaStyledFormScaleFormBorder = true;

namespace {

// Form classes the style hook has been registered for, lower-cased. Never destroyed: forms
// may be made while the process shuts down.
std::set<String>& HookedFormClasses() {
  static auto* names = new std::set<String>();
  return *names;
}

void RegisterFormStyleHook(const TCustomForm* Form) {
  const String name = LowerCase(Form->ClassName());
  if (!HookedFormClasses().insert(name).second) return;
  TStyleManager::Engine().RegisterStyleHook(Form->ClassName(), TStyleHookClass::Of<TkaFormStyleHook, TCustomForm>());
}

bool IsMDIChild(const TCustomForm* Form) { return Form->FormStyle() == fsMDIChild; }
bool IsMDIForm(const TCustomForm* Form) { return Form->FormStyle() == fsMDIForm; }

}  // namespace

// ---- Attaching and detaching -------------------------------------------------------------

TkaStyledForm::TkaStyledForm(TComponent* AOwner) : TComponent(AOwner) {
  FButtonFont = new TFont();
  FCaptionFont = new TFont();
  FTabFont = new TFont();
  FButtons = new TkaNCButtonItems(this);
  FTabs = new TkaNCTabItems(this);
  FHighContrast = IsHighContrastOn();
  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (FForm == nullptr) return;
  FPPI = FForm->PixelsPerInch();
  if (ComponentState().Contains(csDesigning)) return;
  RegisterFormStyleHook(FForm);
  // The hook applies to windows made after its registration.
  if (IsStyleActive()) FForm->RecreateWnd();
  FOldWndProc = FForm->WindowProc;
  FForm->WindowProc = [this](TMessage& Message) { NewWndProc(Message); };
}

TkaStyledForm::~TkaStyledForm() {
  *FAlive = false;
  if (FForm != nullptr && !ComponentState().Contains(csDesigning)) {
    // A form being destroyed has already lost its window and is past the point where its
    // WindowProc may be written to.
    if (!FForm->ComponentState().Contains(csDestroying)) {
      DetachSnapHooks();
      if (FSnapLayoutButton != nullptr) FSnapLayoutButton->SetFrameDriven(false);
      RemoveStylesMenu();
      FForm->WindowProc = FOldWndProc;
    }
  }
  if (FForm != nullptr && CurrentDropDownForm() == FForm) ForgetDropDownForm(FForm);
  FreeAndNil(FInActivePanel);
  FreeAndNil(FDWMHitTestWnd);
  delete FButtons;
  delete FTabs;
  delete FButtonFont;
  delete FCaptionFont;
  delete FTabFont;
}

void TkaStyledForm::Loaded() {
  inherited::Loaded();
  if (FShowStylesMenu) BuildStylesMenu();
  SyncSnapLayoutButton();
  const bool enabled = IsFluentUIEnabled();
  if ((FFluentUIBackground != kafuibNone && !enabled) ||
      (enabled && GetEffectiveFluentUIBackground() != FFluentUIBackground)) {
    if (OnChangeFluentUIBackground) OnChangeFluentUIBackground(this);
  }
}

void TkaStyledForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr) return;
  if (AComponent == FCaptionWallpapers) FCaptionWallpapers = nullptr;
  if (AComponent == FHintComponent) FHintComponent = nullptr;
  if (AComponent == FButtonImages) FButtonImages = nullptr;
  if (AComponent == FTabImages) FTabImages = nullptr;
  for (int i = 0; i < FButtons->Count(); ++i)
    if (FButtons->Items(i)->PopupMenu() == AComponent) FButtons->Items(i)->SetPopupMenu(nullptr);
  SnapLayoutComponentRemoved(AComponent);
  if (AComponent == FDWMHitTestWnd) FDWMHitTestWnd = nullptr;
  if (AComponent == FInActivePanel) FInActivePanel = nullptr;
  if (AComponent == FDropDownControl) FDropDownControl = nullptr;
  if (AComponent == FDropDownSourceForm) {
    FDropDownSourceForm = nullptr;
    ForgetDropDownSource(static_cast<TCustomForm*>(AComponent));
  }
}

bool TkaStyledForm::IsDesigningOrLoading() const {
  return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
}

bool TkaStyledForm::IsDestroying() const {
  return ComponentState().Contains(csDestroying) ||
         (FForm != nullptr && FForm->ComponentState().Contains(csDestroying));
}

bool TkaStyledForm::IsStyleActive() const { return FForm != nullptr && IsCustomStyleActive(FForm); }

HWND TkaStyledForm::FormHandle() const {
  return FForm != nullptr && FForm->HandleAllocated() ? FForm->WindowHandle() : nullptr;
}

// ---- Window procedure --------------------------------------------------------------------

void TkaStyledForm::NewWndProc(TMessage& Message) {
  const std::shared_ptr<bool> alive = FAlive;
  const TBeforeResult before = HandleBefore(Message);
  if (!*alive || before == brHandled) return;
  if (before == brContinue) {
    CallPrevious(Message);
    if (!*alive) return;
  }
  HandleAfter(Message);
}

void TkaStyledForm::CallPrevious(TMessage& Message) {
  // A copy: the previous procedure may free this component (and its fields) while it runs.
  const TWndMethod previous = FOldWndProc;
  if (previous)
    previous(Message);
  else if (FForm != nullptr)
    FForm->WndProc(Message);
}

TkaStyledForm::TBeforeResult TkaStyledForm::HandleBefore(TMessage& Message) {
  if (FSnapLayoutButton != nullptr && SnapLayoutMessage(Message)) return brHandled;
  switch (Message.Msg) {
    case WM_CREATE:
      FMenuTracking = false;
      FUpdating = false;
      break;
    case WM_SIZE:
      if (FDWMClientShadow && ::IsIconic(FormHandle())) return brHandled;
      break;
    case WM_ACTIVATE:
      return WMActivateBefore(Message);
    case WM_NCACTIVATE:
      return WMNCActivateBefore(Message);
    case WM_SHOWWINDOW:
      FStartUp = false;
      if (Message.WParam != 0) {
        if (ApplyScaleRules(true) && IsStyleActive() && kaStyledFormScaleFormBorder &&
            (FClientWidth > 0 || FClientHeight > 0)) {
          ::SetWindowPos(FormHandle(), nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
          ScaleClientSize();
        }
      }
      break;
    case WM_WINDOWPOSCHANGING:
      if (FDWMClientMaximized) PinWindowPos(Message);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChangedBefore();
      break;
    case WM_NCCALCSIZE:
      return WMNCCalcSizeBefore(Message);
    case WM_NCPAINT:
      if (FDropDownForm && FForm->BorderStyle() == bsNone) {
        DrawDropDownBorder();
        Message.Result = 0;
        return brHandled;
      }
      break;
    case WM_NCLBUTTONDOWN:
      FNCDrag = true;
      break;
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      FNCDrag = false;
      break;
    case WM_SYSCOMMAND:
      return WMSysCommandBefore(Message);
    case WM_DPICHANGED:
      if (OnBeforeChangeScale) OnBeforeChangeScale(this);
      break;
    case WM_DWMNCRENDERINGCHANGED:
      if (FDWMClientShadow) return brHandled;
      break;
    case CM_RELEASE:
      if (IsMDIChild(FForm) && IsStyleActive()) ::ShowWindow(FormHandle(), SW_HIDE);
      break;
    case CM_RECREATEWND:
      return CMRecreateWndBefore(Message);
    default:
      break;
  }
  return brContinue;
}

void TkaStyledForm::HandleAfter(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      if (FDropDownForm && FForm->HandleAllocated()) {
        ::SendMessageW(FormHandle(), WM_NCPAINT, 1, 0);
        FForm->Repaint();
      }
      ResetAcrylicMarginsAfterMove();
      break;
    case WM_MOVE:
      ResetAcrylicMarginsAfterMove();
      break;
    case WM_ACTIVATE:
      WMActivateAfter(Message);
      break;
    case WM_NCACTIVATE:
      FFormActive = Message.WParam != 0;
      ApplyFrameColors();
      break;
    case WM_ENTERSIZEMOVE:
      BeginMoveBackdrop();
      break;
    case WM_EXITSIZEMOVE:
      EndMoveBackdrop();
      break;
    case WM_WINDOWPOSCHANGING:
      if (FDWMClientMaximized) SyncMaximizedBounds();
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChangedAfter();
      break;
    case WM_SYSCOMMAND:
      WMSysCommandAfter(Message);
      break;
    case WM_TIMER:
      WMTimerAfter(Message);
      break;
    case WM_DPICHANGED:
      WMDpiChangedAfter();
      break;
    case WM_ERASEBKGND:
      WMEraseBkgndAfter(Message);
      break;
    case WM_SETTINGCHANGE:
      WMSettingChangeAfter();
      if (!*FAlive) break;
      SyncSnapLayoutButton();
      WMSettingChangeHighContrast(Message.WParam);
      break;
    case WM_STYLECHANGED:
      WMStyleChangedAfter();
      ApplyFrameColors();
      break;
    case CM_RECREATEWND:
      CMRecreateWndAfter();
      break;
    case SFM_STYLECHANGED:
      if (OnStyleChanged) OnStyleChanged(this);
      break;
    case CM_STYLECHANGED:
      CheckActiveStyleItem();
      break;
    case SFM_MDIARRANGE:
      ArrangeMDIChildren();
      break;
    case SFM_RESTOREBOUNDS:
      RestoreBounds();
      break;
    case SFM_RESTORECLIENTSIZE:
      RestoreClientSize();
      FSizeStored = false;
      break;
    default:
      break;
  }
}

TkaStyledForm::TBeforeResult TkaStyledForm::WMNCCalcSizeBefore(TMessage& Message) {
  if (FDWMClientShadow) {
    // The whole window is client area; the compositor draws the frame.
    Message.Result = 0;
    return brHandled;
  }
  if (FDropDownForm && FForm->BorderStyle() == bsNone && Message.LParam != 0) {
    // Both forms of the message start with the proposed rectangle.
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    ::InflateRect(r, -1, -1);
    Message.Result = 0;
    return brHandled;
  }
  return brContinue;
}

// ---- Activation --------------------------------------------------------------------------

TkaStyledForm::TBeforeResult TkaStyledForm::WMActivateBefore(TMessage& Message) {
  if (FStopActivateEvents) {
    if (LOWORD(Message.WParam) == WA_INACTIVE && FForm->Visible()) {
      Message.WParam = WA_ACTIVE;
      FStopActivateEvents = false;
      return brHandled;
    }
  }
  FStopActivateEvents = false;
  if (CurrentDropDownSourceForm() == FForm && CurrentDropDownForm() != nullptr) Message.WParam = WA_ACTIVE;
  return brContinue;
}

TkaStyledForm::TBeforeResult TkaStyledForm::WMNCActivateBefore(TMessage& Message) {
  if (FStopActivateEvents && Message.WParam == 0 && FForm->Visible()) {
    Message.WParam = 1;
    if (FHitTestWndDown) {
      FHitTestWndDown = false;
      Message.Result = 1;
      return brHandled;
    }
  }
  if (CurrentDropDownSourceForm() == FForm && CurrentDropDownForm() != nullptr) Message.WParam = 1;
  // A window being re-created (the drop-down animation switches alpha blending) loses the
  // activation on its way out; that is no reason to close up.
  if (FDropDownForm && Message.WParam == 0 && FForm->Visible() && !FStyleChanging) {
    const std::shared_ptr<bool> alive = FAlive;
    CloseUp(false);
    if (!*alive) return brHandled;
  }
  return brContinue;
}

void TkaStyledForm::WMActivateAfter(TMessage&) {
  if (IsFluentUIEnabled() && GetEffectiveFluentUIBackground() == kafuibAcrylic &&
      FFluentUIInactiveAcrylicColorOpaque && !FStopActivateEvents && !FHitTestWndShowing &&
      !FStopUpdateFluentColor && !IsDestroying())
    UpdateFluentAcrylicColor();
  if (OnChangeActive && !FStopActivateEvents && !FStyleChanging && !FHitTestWndShowing && !IsDestroying()) {
    const std::shared_ptr<bool> alive = FAlive;
    OnChangeActive(this);
    if (!*alive) return;
  }
  FStopActivateEvents = false;
  if (FDWMClientShadowHitTest && FDWMClientShadow && HitTestWndVisible()) UpdateHitTestWndPosition();
}

// ---- Scaling -----------------------------------------------------------------------------

int TkaStyledForm::ScaleInt(int AValue) const { return Round(AValue * FScaleFactor); }

void TkaStyledForm::DoChangeScale() {
  if (OnChangeScale) OnChangeScale(FScaleFactor);
}

void TkaStyledForm::SetScaleFactor(double AValue, bool AFire) {
  if (AValue < 1.0) AValue = 1.0;
  const bool changed = AValue != FScaleFactor;
  FScaleFactor = AValue;
  FScalePercent = Round(AValue * 100);
  if (changed && AFire) DoChangeScale();
}

bool TkaStyledForm::ApplyRuleA(bool AFire) {
  const int formPPI = FForm->PixelsPerInch();
  if (!FForm->Scaled() || formPPI == FPPI || FPPI <= 0) return false;
  FScalePercent = ::MulDiv(FScalePercent, formPPI, FPPI);
  // The percentage is clamped with the factor: left below 100 it would carry the clamped
  // part into the next DPI change (100 % -> 67 % at 96 DPI -> 101 % back at 144 DPI).
  if (FScalePercent < 100) FScalePercent = 100;
  FScaleFactor = std::max(1.0, FScalePercent / 100.0);
  FPPI = formPPI;
  if (AFire) DoChangeScale();
  return true;
}

bool TkaStyledForm::ApplyRuleB() {
  const int formPPI = FForm->PixelsPerInch();
  const int monitorPPI = FForm->Monitor().PixelsPerInch();
  if (!FForm->Scaled() || monitorPPI == formPPI || formPPI <= 0) return false;
  SetScaleFactor(static_cast<double>(monitorPPI) / formPPI, true);
  FPPI = formPPI;
  return true;
}

bool TkaStyledForm::ApplyScaleRules(bool AFireRuleA) {
  if (FForm == nullptr) return false;
  if (ApplyRuleA(AFireRuleA)) return true;
  if (ApplyRuleB()) return true;
  const int monitorPPI = FForm->Monitor().PixelsPerInch();
  if (!FForm->Scaled() || monitorPPI == 96) return false;
  SetScaleFactor(monitorPPI / 96.0, true);
  FPPI = FForm->PixelsPerInch();
  return true;
}

void TkaStyledForm::ScaleClientSize() {
  if (FClientWidth > 0) FForm->SetClientWidth(Round(FClientWidth * FScaleFactor));
  if (FClientHeight > 0) FForm->SetClientHeight(Round(FClientHeight * FScaleFactor));
}

void TkaStyledForm::WMDpiChangedAfter() {
  FStartUp = false;
  if (!ApplyRuleA(false) && FForm->Scaled()) {
    const int formPPI = FForm->PixelsPerInch();
    TCustomForm* main = Application != nullptr ? Application->MainForm() : nullptr;
    const int effective = IsMDIChild(FForm) && main != nullptr ? main->PixelsPerInch() : FForm->Monitor().PixelsPerInch();
    if (formPPI > 0) SetScaleFactor(effective == formPPI ? effective / 96.0 : static_cast<double>(effective) / formPPI, true);
    FPPI = formPPI;
  }
  FDPIChanged = true;
  const std::shared_ptr<bool> alive = FAlive;
  DoChangeScale();
  if (!*alive) return;
  if (IsStyleActive() && kaStyledFormScaleFormBorder && (FClientWidth > 0 || FClientHeight > 0)) ScaleClientSize();
  UpdateFluentForm();
}

// ---- Style changes -----------------------------------------------------------------------

void TkaStyledForm::StoreNormalBounds() {
  FFormLeft = FForm->Left();
  FFormTop = FForm->Top();
  FFormWidth = FForm->Width();
  FFormHeight = FForm->Height();
  FSizeStored = true;
}

void TkaStyledForm::WMWindowPosChangedBefore() {
  if (FStartUp && FForm->WindowState() != wsNormal) {
    FStartUp = false;
    ApplyScaleRules(true);
    if (FForm->WindowState() == wsMinimized ||
        (IsStyleActive() && kaStyledFormScaleFormBorder && (FClientWidth > 0 || FClientHeight > 0)))
      ScaleClientSize();
  }
  const TWindowState state = FForm->WindowState();
  if (IsMDIChild(FForm)) {
    if (state == wsMaximized && !FSizeStored) {
      StoreNormalBounds();
      FMaximized = true;
    }
  } else if (state == wsMaximized && !FSizeStored) {
    FMaximized = true;
  } else if (state == wsNormal && FSizeStored && FMaximized && FStyleChanged && !FMinimized) {
    FStyleChanged = false;
    FSizeStored = false;
    FMaximized = false;
    ::PostMessageW(FormHandle(), SFM_RESTOREBOUNDS, 0, 0);
  }
}

TkaStyledForm::TBeforeResult TkaStyledForm::WMSysCommandBefore(TMessage& Message) {
  const WPARAM command = Message.WParam;
  if (command == SC_CLOSE) {
    if (IsStyleActive() && ((IsMDIChild(FForm) && !::IsZoomed(FormHandle())) || IsMDIForm(FForm))) {
      if (IsMDIForm(FForm) && !FForm->CloseQuery()) return brHandled;
      ::ShowWindow(FormHandle(), SW_HIDE);
    }
    if (FDropDownForm) return brHandled;
  } else if (command == SC_MINIMIZE) {
    if (!FSizeStored && !FMaximized) StoreNormalBounds();
  } else if (command == SC_MAXIMIZE) {
    if (!FSizeStored && FForm->WindowState() != wsMaximized) StoreNormalBounds();
  } else if (FStylesMenu != nullptr && command > kaStylesMenuCommand - 1 &&
             command <= kaStylesMenuCommand + static_cast<WPARAM>(FStyleCount)) {
    SelectStyleCommand(command);
    return brHandled;
  }
  return brContinue;
}

void TkaStyledForm::WMSysCommandAfter(TMessage& Message) {
  const WPARAM command = Message.WParam;
  if (command == SC_MINIMIZE) {
    FMinimized = true;
  } else if (command == SC_MAXIMIZE) {
    FMaximized = true;
  } else if (command == SC_CLOSE) {
    if (IsStyleActive() && IsMDIChild(FForm) && FForm->WindowState() == wsMinimized && !FForm->Active())
      ::SendMessageW(FormHandle(), WM_NCACTIVATE, 0, 0);
  } else if (command == SC_RESTORE) {
    FMaximized = false;
    if (FForm->WindowState() != wsNormal) return;
    if (FSizeStored && FStyleChanged) {
      FMaximized = false;
      FMinimized = false;
      FStyleChanged = false;
      FSizeStored = false;
      ::SendMessageW(FormHandle(), SFM_RESTOREBOUNDS, 0, 0);
    } else {
      FSizeStored = false;
    }
  }
}

void TkaStyledForm::WMStyleChangedAfter() {
  if (FForm->ControlState().Contains(csRecreating) || FStyleChanging) FStyleChangedWhileRecreating = true;
  FStyleChanged = true;
  if (!FMaximized && !FMinimized) {
    FStyleChanged = false;
    RestoreClientSize();
  }
  HWND h = FormHandle();
  if (h == nullptr) return;
  if (Application != nullptr && Application->MainForm() == FForm && IsMDIForm(FForm))
    ::PostMessageW(h, SFM_MDIARRANGE, 0, 0);
  ::PostMessageW(h, SFM_STYLECHANGED, 0, 0);
  if (IsStyleActive() && ::IsZoomed(h) && ::IsWindowVisible(h) && FForm->BorderStyle() != bsNone && !IsMDIChild(FForm))
    ::SetTimer(h, kaNCPaintTimerID, 100, nullptr);
  if (FDWMClientShadow && !IsWindowsXP() && !FUpdatingFrame) UpdateDWMClientFrame();
  if (HitTestWndVisible() && IsDwmCompositionActive() && ExcludeFromPeekSupported()) ExcludeHitTestWndFromPeek();
}

void TkaStyledForm::WMTimerAfter(TMessage& Message) {
  HWND h = FormHandle();
  switch (Message.WParam) {
    case kaNCPaintTimerID:
      ::KillTimer(h, kaNCPaintTimerID);
      ::SendMessageW(h, WM_NCPAINT, 1, 0);
      break;
    case kaCaptionMenuTrackingTimerID:
      ::KillTimer(h, kaCaptionMenuTrackingTimerID);
      FMenuTracking = false;
      FUpdating = false;
      UpDateFormNC();
      break;
    case kaHitTestWndTimerID:
      HitTestWndTimer();
      break;
    default:
      break;
  }
}

TkaStyledForm::TBeforeResult TkaStyledForm::CMRecreateWndBefore(TMessage& Message) {
  FStyleChanging = true;
  FStyleChangedWhileRecreating = false;
  if (!FShowStylesMenu) return brContinue;
  // The system menu goes with the old window; the submenu is rebuilt on the new one.
  ClearStylesMenu();
  FStylesMenu = nullptr;
  FSubMenuIndex = -1;
  const std::shared_ptr<bool> alive = FAlive;
  CallPrevious(Message);
  if (!*alive) return brHandled;
  BuildStylesMenu();
  return brAfterOnly;
}

void TkaStyledForm::CMRecreateWndAfter() {
  FStyleChanging = false;
  FMenuTracking = false;
  FUpdating = false;
  DWMClientRecreated();
}

void TkaStyledForm::RestoreBounds() {
  const bool mdiChild = IsMDIChild(FForm);
  const bool sizeable = FForm->BorderStyle() == bsSizeable && FFormWidth > 0 && FFormHeight > 0;
  if (!FNCDrag || mdiChild) {
    if (mdiChild) {
      FFormLeft = std::max(FFormLeft, 0);
      FFormTop = std::max(FFormTop, 0);
    }
    if (sizeable) {
      if (FForm->WindowState() == wsNormal) FForm->SetBounds(FFormLeft, FFormTop, FFormWidth, FFormHeight);
      return;
    }
    FForm->SetBounds(FFormLeft, FFormTop, FForm->Width(), FForm->Height());
  } else if (sizeable) {
    FFormWidth = 0;
    FFormHeight = 0;
    return;
  }
  FFormWidth = 0;
  FFormHeight = 0;
  if (FClientWidth > 0 || FClientHeight > 0) ::PostMessageW(FormHandle(), SFM_RESTORECLIENTSIZE, 0, 0);
}

void TkaStyledForm::ArrangeMDIChildren() {
  // The framework has no MDI client window; MDI children are forms of this thread whose
  // style says so, laid out over the main form's client area.
  TRect client = FForm->ClientRect();
  if (Screen == nullptr) return;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* child = Screen->Forms(i);
    if (child == FForm || !IsMDIChild(child) || !child->HandleAllocated()) continue;
    HWND h = child->WindowHandle();
    if (!::IsWindowVisible(h) || !::IsIconic(h)) continue;
    RECT r;
    ::GetWindowRect(h, &r);
    TPoint origin = FForm->ClientToScreen(TPoint(0, 0));
    const int bottom = r.bottom - origin.Y;
    if (bottom > client.Height())
      ::SetWindowPos(h, nullptr, r.left - origin.X, r.top - origin.Y - (bottom - client.Height()), 0, 0,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
  }
  if (FForm->WindowState() == wsMaximized)
    ::SetWindowPos(FormHandle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

// ---- Stored client size --------------------------------------------------------------------

void TkaStyledForm::SetClientWidth(int Value) {
  if (Value < 0 || Value == FClientWidth) return;
  FClientWidth = Value;
  if (Value > 0 && FForm != nullptr) FForm->SetClientWidth(Value);
}

void TkaStyledForm::SetClientHeight(int Value) {
  if (Value < 0 || Value == FClientHeight) return;
  FClientHeight = Value;
  if (Value > 0 && FForm != nullptr) FForm->SetClientHeight(Value);
}

void TkaStyledForm::RestoreClientSize() {
  if (FForm == nullptr) return;
  const TFormBorderStyle bs = FForm->BorderStyle();
  if (bs != bsSingle && bs != bsDialog && bs != bsToolWindow) return;
  if (FClientWidth <= 0 || FClientHeight <= 0) return;
  // Each size is set twice, one pixel off first, so that the form realigns even when the
  // frame change left the client size where it was.
  const int w = Round(FClientWidth * FScaleFactor);
  const int h = Round(FClientHeight * FScaleFactor);
  FForm->SetClientWidth(w - 1);
  FForm->SetClientWidth(w);
  FForm->SetClientHeight(h - 1);
  FForm->SetClientHeight(h + 1);
}

// ---- Form helpers --------------------------------------------------------------------------

void TkaStyledForm::SetRedraw(bool AValue, bool AUpdate) {
  HWND h = FormHandle();
  if (h == nullptr) return;
  if (AValue) {
    ::SendMessageW(h, WM_SETREDRAW, 1, 0);
    if (AUpdate) ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    ::SendMessageW(h, WM_SETREDRAW, 0, 0);
  }
}

void TkaStyledForm::UpDateFormNC() {
  if (IsStyleActive() && !FUpdating && FormHandle() != nullptr) ::SendMessageW(FormHandle(), WM_NCPAINT, 1, 0);
}

void TkaStyledForm::BeginUpdateItems() { FUpdating = true; }

void TkaStyledForm::EndUpdateItems(bool AUpdate) {
  FUpdating = false;
  if (AUpdate) UpDateFormNC();
}

void TkaStyledForm::ShowClientInActiveEffect() {
  if (FForm == nullptr) return;
  // A second call replaces the veil rather than stacking another one on it.
  HideClientInActiveEffect();
  FInActivePanel = new TkaClientInActivePanel(this);
  FInActivePanel->ShowPanel(FForm, GetStyleSystemColor(FInActiveClientColor, FForm), FInActiveClientColorAlpha,
                            FInActiveClientBlurAmount);
}

void TkaStyledForm::HideClientInActiveEffect() {
  if (FInActivePanel == nullptr) return;
  FInActivePanel->HidePanel();
  FreeAndNil(FInActivePanel);
}

// ---- Property setters ------------------------------------------------------------------------

void TkaStyledForm::SetNCProperty(bool& AField, bool AValue) {
  if (AField == AValue) return;
  AField = AValue;
  if (!IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetShowIcon(bool Value) { SetNCProperty(FShowIcon, Value); }
void TkaStyledForm::SetShowButtons(bool Value) { SetNCProperty(FShowButtons, Value); }
void TkaStyledForm::SetShowTabs(bool Value) { SetNCProperty(FShowTabs, Value); }
void TkaStyledForm::SetShowInactiveTab(bool Value) { SetNCProperty(FShowInactiveTab, Value); }

void TkaStyledForm::SetTabIndex(int Value) {
  if (FTabIndex == Value) return;
  FTabIndex = Value;
  if (!IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetTabsPosition(TkaNCTabsPosition Value) {
  if (FTabsPosition == Value) return;
  FTabsPosition = Value;
  if (!IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetCaptionAlignment(TAlignment Value) {
  if (FCaptionAlignment == Value) return;
  FCaptionAlignment = Value;
  if (!IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetCaptionWallpapers(TkaCustomImageCollection* Value) {
  if (!ReplaceReference(FCaptionWallpapers, Value)) return;
  if (FCaptionWallpaperIndex != -1 && !IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetCaptionWallpaperIndex(int Value) {
  if (FCaptionWallpaperIndex == Value) return;
  FCaptionWallpaperIndex = Value;
  if (FCaptionWallpapers != nullptr && !IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetWallpaperMargin(int& AField, int AValue) {
  if (AField == AValue) return;
  AField = AValue;
  if (FCaptionWallpapers != nullptr && !IsDesigningOrLoading()) UpDateFormNC();
}

void TkaStyledForm::SetHintComponent(TkaHint* Value) { ReplaceReference(FHintComponent, Value); }
void TkaStyledForm::SetButtonImages(TCustomImageList* Value) { ReplaceReference(FButtonImages, Value); }
void TkaStyledForm::SetTabImages(TCustomImageList* Value) { ReplaceReference(FTabImages, Value); }

void TkaStyledForm::SetInActiveClientBlurAmount(TkaBlurAmount Value) {
  if (Value < 0 || Value > 20) return;
  FInActiveClientBlurAmount = Value;
}

void TkaStyledForm::SetDropDownForm(bool Value) {
  FDropDownForm = Value;
  if (!Value || FForm == nullptr) return;
  FForm->SetBorderStyle(bsNone);
  if (HWND h = FormHandle())
    ::SetClassLongPtrW(h, GCL_STYLE, static_cast<LONG_PTR>(::GetClassLongPtrW(h, GCL_STYLE) | CS_DROPSHADOW));
}

// ---- Styles submenu ----------------------------------------------------------------------------

void TkaStyledForm::SetShowStylesMenu(bool Value) {
  if (FShowStylesMenu == Value) return;
  FShowStylesMenu = Value;
  if (IsDesigningOrLoading()) return;
  if (Value)
    BuildStylesMenu();
  else
    RemoveStylesMenu();
}

void TkaStyledForm::SetStylesMenuCaption(const String& Value) {
  if (FStylesMenuCaption == Value) return;
  FStylesMenuCaption = Value;
  HWND h = FormHandle();
  if (FStylesMenu == nullptr || h == nullptr) return;
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
  info.wID = kaStylesMenuCommand;
  info.hSubMenu = FStylesMenu;
  info.dwTypeData = const_cast<wchar_t*>(FStylesMenuCaption.c_str());
  ::SetMenuItemInfoW(::GetSystemMenu(h, FALSE), kaStylesMenuCommand, FALSE, &info);
}

namespace {
// Indexes into Names, in list order or sorted by name.
std::vector<int> StyleOrder(const std::vector<String>& Names, bool Sorted) {
  std::vector<int> order(Names.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (Sorted)
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return LowerCase(Names[a]) < LowerCase(Names[b]); });
  return order;
}
}  // namespace

void TkaStyledForm::BuildStylesMenu() {
  HWND h = FormHandle();
  if (h == nullptr || FStylesMenu != nullptr) return;
  HMENU system = ::GetSystemMenu(h, FALSE);
  if (system == nullptr) return;
  const int count = ::GetMenuItemCount(system);
  FSubMenuIndex = count < 3 ? count : count - 2;
  ::InsertMenuW(system, static_cast<UINT>(FSubMenuIndex), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  FSubMenuIndex += 1;
  FStylesMenu = ::CreatePopupMenu();
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
  info.wID = kaStylesMenuCommand;
  info.hSubMenu = FStylesMenu;
  info.dwTypeData = const_cast<wchar_t*>(FStylesMenuCaption.c_str());
  ::InsertMenuItemW(system, static_cast<UINT>(FSubMenuIndex), TRUE, &info);
  const std::vector<String> names = TStyleManager::StyleNames();
  const String active = TStyleManager::ActiveStyle()->Name();
  FStyleCount = 0;
  for (int index : StyleOrder(names, FStylesMenuSorted)) {
    UINT flags = MF_BYPOSITION | MF_STRING | (SameText(names[index], active) ? MF_CHECKED : MF_UNCHECKED);
    ::InsertMenuW(FStylesMenu, static_cast<UINT>(FStyleCount), flags, kaStyleCommandBase + index,
                  names[index].c_str());
    ++FStyleCount;
  }
}

void TkaStyledForm::CheckActiveStyleItem() {
  if (FStylesMenu == nullptr || !::IsMenu(FStylesMenu)) return;
  const std::vector<String> names = TStyleManager::StyleNames();
  const String active = TStyleManager::ActiveStyle()->Name();
  for (int i = 0; i < ::GetMenuItemCount(FStylesMenu); ++i) {
    const UINT id = ::GetMenuItemID(FStylesMenu, i);
    const size_t index = id - kaStyleCommandBase;
    const bool checked = id >= kaStyleCommandBase && index < names.size() && SameText(names[index], active);
    ::CheckMenuItem(FStylesMenu, static_cast<UINT>(i), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void TkaStyledForm::ClearStylesMenu() {
  if (FStylesMenu != nullptr && ::IsMenu(FStylesMenu))
    while (::GetMenuItemCount(FStylesMenu) > 0) ::DeleteMenu(FStylesMenu, 0, MF_BYPOSITION);
  FStyleCount = 0;
}

void TkaStyledForm::RemoveStylesMenu() {
  if (FStylesMenu == nullptr) return;
  ClearStylesMenu();
  HWND h = FormHandle();
  if (h != nullptr && FSubMenuIndex > 0) {
    // The separator sits just before the submenu; both go (deleting the popup item
    // destroys the submenu).
    HMENU system = ::GetSystemMenu(h, FALSE);
    ::DeleteMenu(system, static_cast<UINT>(FSubMenuIndex - 1), MF_BYPOSITION);
    ::DeleteMenu(system, static_cast<UINT>(FSubMenuIndex - 1), MF_BYPOSITION);
  }
  FStylesMenu = nullptr;
  FSubMenuIndex = -1;
}

void TkaStyledForm::SelectStyleCommand(WPARAM Command) {
  const std::vector<String> names = TStyleManager::StyleNames();
  if (names.empty()) return;
  int index = static_cast<int>(Command) - static_cast<int>(kaStyleCommandBase);
  index = std::max(index, 0);
  if (index > FStyleCount) index = FStyleCount - 1;
  index = std::clamp(index, 0, static_cast<int>(names.size()) - 1);
  TStyleManager::TrySetStyle(names[index]);
}

void TkaStyledForm::CreateStyleMenu(TMenuItem* AMenuItem) {
  if (AMenuItem == nullptr) return;
  AMenuItem->Clear();
  const std::vector<String> names = TStyleManager::StyleNames();
  const String active = TStyleManager::ActiveStyle()->Name();
  for (int index : StyleOrder(names, FStylesMenuSorted)) {
    auto* item = new TMenuItem(AMenuItem->Owner());
    item->SetCaption(names[index]);
    item->SetRadioItem(true);
    item->SetChecked(SameText(names[index], active));
    const String name = names[index];
    item->OnClick = [name](TObject*) { TStyleManager::TrySetStyle(name); };
    AMenuItem->Add(item);
  }
}

// ---- Layout registration ----------------------------------------------------------------------

// Also registered by the text drawing routines; registering here too keeps CaptionAlignment
// readable in programs whose linker drops those routines.
KA_REGISTER_ENUM(TAlignment, {{L"taLeftJustify", taLeftJustify},
                              {L"taRightJustify", taRightJustify},
                              {L"taCenter", taCenter}});

KA_REGISTER_ENUM(TkaFluentUIBackground, {{L"kafuibNone", kafuibNone},
                                         {L"kafuibBlur", kafuibBlur},
                                         {L"kafuibAcrylic", kafuibAcrylic},
                                         {L"kafuibAcrylicBlurAuto", kafuibAcrylicBlurAuto},
                                         {L"kafuibMica", kafuibMica},
                                         {L"kafuibMicaAlt", kafuibMicaAlt},
                                         {L"kafuibSystemAcrylic", kafuibSystemAcrylic}});
KA_REGISTER_ENUM(TkaDWMRoundedCornersType, {{L"kaDWMRoundedCornersDefault", kaDWMRoundedCornersDefault},
                                            {L"kaDWMRoundedCornersOff", kaDWMRoundedCornersOff}});
KA_REGISTER_ENUM(TkaNCTabsPosition, {{L"katpLeft", katpLeft}, {L"katpRight", katpRight}});

KA_REGISTER_CLASS(TkaStyledForm, [](auto& c) {
  using S = TkaStyledForm;
  c.Property(L"FluentUIBackground", &S::FluentUIBackground, &S::SetFluentUIBackground);
  c.Property(L"FluentUIAcrylicColor", &S::FluentUIAcrylicColor, &S::SetFluentUIAcrylicColor);
  c.Property(L"FluentUIAcrylicColorAlpha", &S::FluentUIAcrylicColorAlpha, &S::SetFluentUIAcrylicColorAlpha);
  c.Property(L"FluentUIBorder", &S::FluentUIBorder, &S::SetFluentUIBorder);
  c.Property(L"FluentUIInactiveAcrylicColorOpaque", &S::FluentUIInactiveAcrylicColorOpaque,
             &S::SetFluentUIInactiveAcrylicColorOpaque);
  c.Property(L"FluentUIBlurWhileMoving", &S::FluentUIBlurWhileMoving, &S::SetFluentUIBlurWhileMoving);
  c.Property(L"FrameBorderColor", &S::FrameBorderColor, &S::SetFrameBorderColor);
  c.Property(L"FrameBorderInactiveColor", &S::FrameBorderInactiveColor, &S::SetFrameBorderInactiveColor);
  c.Property(L"FrameCaptionColor", &S::FrameCaptionColor, &S::SetFrameCaptionColor);
  c.Property(L"FrameCaptionInactiveColor", &S::FrameCaptionInactiveColor, &S::SetFrameCaptionInactiveColor);
  c.Property(L"SnapLayoutButton", &S::SnapLayoutButton, &S::SetSnapLayoutButton);
  c.Property(L"DWMClientRoundedCornersType", &S::DWMClientRoundedCornersType, &S::SetDWMClientRoundedCornersType);
  c.Property(L"DWMClientShadow", &S::DWMClientShadow, &S::SetDWMClientShadow);
  c.Property(L"DWMClientShadowHitTest", &S::DWMClientShadowHitTest, &S::SetDWMClientShadowHitTest);
  c.Property(L"DropDownForm", &S::DropDownForm, &S::SetDropDownForm);
  c.Property(L"DropDownAnimation", &S::DropDownAnimation, &S::SetDropDownAnimation);
  c.Property(L"DropDownBorderColor", &S::DropDownBorderColor, &S::SetDropDownBorderColor);
  c.Property(L"StylesMenuSorted", &S::StylesMenuSorted, &S::SetStylesMenuSorted);
  c.Property(L"ShowStylesMenu", &S::ShowStylesMenu, &S::SetShowStylesMenu);
  c.Property(L"StylesMenuCaption", &S::StylesMenuCaption, &S::SetStylesMenuCaption);
  c.Property(L"ClientWidth", &S::ClientWidth, &S::SetClientWidth);
  c.Property(L"ClientHeight", &S::ClientHeight, &S::SetClientHeight);
  c.Property(L"HintComponent", &S::HintComponent, &S::SetHintComponent);
  c.Property(L"ShowHints", &S::ShowHints, &S::SetShowHints);
  c.Property(L"Buttons", &S::Buttons);
  c.Property(L"ButtonImages", &S::ButtonImages, &S::SetButtonImages);
  c.Property(L"ButtonFont", &S::ButtonFont);
  c.Property(L"CaptionFont", &S::CaptionFont);
  c.Property(L"TabFont", &S::TabFont);
  c.Property(L"CaptionAlignment", &S::CaptionAlignment, &S::SetCaptionAlignment);
  c.Property(L"InActiveClientColor", &S::InActiveClientColor, &S::SetInActiveClientColor);
  c.Property(L"InActiveClientColorAlpha", &S::InActiveClientColorAlpha, &S::SetInActiveClientColorAlpha);
  c.Property(L"InActiveClientBlurAmount", &S::InActiveClientBlurAmount, &S::SetInActiveClientBlurAmount);
  c.Property(L"Tabs", &S::Tabs);
  c.Property(L"TabImages", &S::TabImages, &S::SetTabImages);
  c.Property(L"ShowIcon", &S::ShowIcon, &S::SetShowIcon);
  c.Property(L"ShowButtons", &S::ShowButtons, &S::SetShowButtons);
  c.Property(L"ShowTabs", &S::ShowTabs, &S::SetShowTabs);
  c.Property(L"TabIndex", &S::TabIndex, &S::SetTabIndex);
  c.Property(L"TabsPosition", &S::TabsPosition, &S::SetTabsPosition);
  c.Property(L"ShowInactiveTab", &S::ShowInactiveTab, &S::SetShowInactiveTab);
  c.Property(L"CaptionWallpapers", &S::CaptionWallpapers, &S::SetCaptionWallpapers);
  c.Property(L"CaptionWallpaperIndex", &S::CaptionWallpaperIndex, &S::SetCaptionWallpaperIndex);
  c.Property(L"CaptionWallpaperInActiveIndex", &S::CaptionWallpaperInActiveIndex,
             &S::SetCaptionWallpaperInActiveIndex);
  c.Property(L"CaptionWallpaperLeftMargin", &S::CaptionWallpaperLeftMargin, &S::SetCaptionWallpaperLeftMargin);
  c.Property(L"CaptionWallpaperTopMargin", &S::CaptionWallpaperTopMargin, &S::SetCaptionWallpaperTopMargin);
  c.Property(L"CaptionWallpaperRightMargin", &S::CaptionWallpaperRightMargin, &S::SetCaptionWallpaperRightMargin);
  c.Property(L"CaptionWallpaperBottomMargin", &S::CaptionWallpaperBottomMargin,
             &S::SetCaptionWallpaperBottomMargin);
  c.Property(L"OnChangeActive", &S::OnChangeActive);
  c.Property(L"OnBeforeChangeScale", &S::OnBeforeChangeScale);
  c.Property(L"OnChangeScale", &S::OnChangeScale);
  c.Property(L"OnChangeFluentUIBackground", &S::OnChangeFluentUIBackground);
  c.Property(L"OnDWMClientMaximize", &S::OnDWMClientMaximize);
  c.Property(L"OnDWMClientRestore", &S::OnDWMClientRestore);
  c.Property(L"OnStyleChanged", &S::OnStyleChanged);
  c.Property(L"OnHitTest", &S::OnHitTest);
  c.Property(L"OnDropDown", &S::OnDropDown);
  c.Property(L"OnCloseUp", &S::OnCloseUp);
  c.Property(L"OnTabChanged", &S::OnTabChanged);
});
