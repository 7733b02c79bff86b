// TkaFormStyleHook: the mouse over the non-client area. System buttons get hot and pressed
// and act when released over the button that was pressed; caption items get their enter,
// move, leave, press and release; the menu bar gets the mouse over its bounds.
#include <algorithm>

#include "lib/kaStyledForm/FormStyleHook.h"
#include "lib/kaStyledForm/MainMenuBarStyleHook.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

bool IsSystemButton(int Code) { return Code == HTMINBUTTON || Code == HTMAXBUTTON || Code == HTCLOSE || Code == HTHELP; }
bool IsSizingCode(int Code) { return Code >= HTLEFT && Code <= HTBOTTOMRIGHT; }

}  // namespace

void TkaFormStyleHook::CaptionItemsMouseMove(TPoint P) {
  TkaStyledForm* s = StyledForm();
  TkaNCObject* a = s->FindNCObject(P);
  auto leave = [&](TkaNCObject* Old) {
    if (Old != nullptr && s->IsNCObjectListed(Old) && s->IsNCObjectEnabled(Old)) Old->MouseLeave();
  };
  if (a != nullptr && a != FOldNCObject) {
    leave(FOldNCObject);
    if (s->IsNCObjectEnabled(a)) {
      a->MouseEnter();
      a->MouseMove(P.X, P.Y);
    }
  } else if (a != nullptr) {
    if (s->IsNCObjectEnabled(a)) a->MouseMove(P.X, P.Y);
  } else {
    leave(FOldNCObject);
  }
  FActiveNCObject = FOldNCObject = a;
}

bool TkaFormStyleHook::WMNCMouseMove(TMessage& Message) {
  const TPoint p = ToWindow(Message.LParam);
  const int code = static_cast<int>(Message.WParam);
  if (FMainMenuBarHook) {
    const TRect bar = FMainMenuBarHook->BoundsRect();
    if (code == HTMENU)
      FMainMenuBarHook->MouseMove(p.X - bar.Left, p.Y - bar.Top);
    else if (FMainMenuBarHook->MouseInMainMenu())
      FMainMenuBarHook->MouseMove(-1, -1);
  }
  bool handled = false;
  if (IsSystemButton(code)) {
    if (FHotButton != code) {
      FHotButton = code;
      InvalidateNC();
    }
    Message.Result = 0;
    handled = true;
  } else if (FHotButton != 0) {
    FHotButton = 0;
    InvalidateNC();
  }
  if (ShowsCaptionItems()) CaptionItemsMouseMove(p);
  if (handled) return true;
  CallDefaultProc(Message);
  return true;
}

void TkaFormStyleHook::HideItemHint() {
  TkaStyledForm* s = StyledForm();
  if (s != nullptr && s->ShowHints() && s->HintComponent() != nullptr) s->HintComponent()->HideHint();
}

bool TkaFormStyleHook::WMNCLButtonDown(TMessage& Message) {
  const TPoint p = ToWindow(Message.LParam);
  const int code = static_cast<int>(Message.WParam);
  if (code == HTMENU && FMainMenuBarHook) {
    const TRect bar = FMainMenuBarHook->BoundsRect();
    FMainMenuBarHook->MouseDown(p.X - bar.Left, p.Y - bar.Top);
    Message.Result = 0;
    return true;
  }
  if (IsSystemButton(code)) {
    FPressedButton = code;
    InvalidateNC();
    Message.Result = 0;
    return true;
  }
  if (ShowsCaptionItems()) {
    HideItemHint();
    TkaStyledForm* s = StyledForm();
    if (TkaNCObject* a = s->FindNCObject(p)) {
      if (!FForm->Active() && Handle() != nullptr) ::SetForegroundWindow(Handle());
      if (s->IsNCObjectEnabled(a)) a->MouseDown(p.X, p.Y);
      FCapturedNCObject = a;
      Message.Result = 0;
      return true;
    }
  }
  CallDefaultProc(Message);
  return true;
}

bool TkaFormStyleHook::WMNCLButtonUp(TMessage& Message) {
  const TPoint p = ToWindow(Message.LParam);
  const int code = static_cast<int>(Message.WParam);
  const int pressed = FPressedButton;
  if (FPressedButton != 0) {
    FPressedButton = 0;
    InvalidateNC();
  }
  if (code == HTMENU && FMainMenuBarHook) {
    const TRect bar = FMainMenuBarHook->BoundsRect();
    FMainMenuBarHook->MouseUp(p.X - bar.Left, p.Y - bar.Top);
    Message.Result = 0;
    return true;
  }
  if (ShowsCaptionItems() && FCapturedNCObject != nullptr) {
    TkaStyledForm* s = StyledForm();
    TkaNCObject* a = s->FindNCObject(p);
    if (a != nullptr && a == FCapturedNCObject && s->IsNCObjectEnabled(a)) a->MouseUp(p.X, p.Y);
    FCapturedNCObject = nullptr;
    Message.Result = 0;
    return true;
  }
  if (code == HTCAPTION || code == HTSYSMENU || IsSizingCode(code)) {
    CallDefaultProc(Message);
    return true;
  }
  Message.Result = 0;
  if (pressed == 0 || FHotButton != pressed || code != pressed) return true;
  const TBorderIcons icons = FForm->BorderIcons();
  switch (pressed) {
    case HTCLOSE: Close(); break;
    case HTMAXBUTTON:
      if (icons.Contains(biMaximize)) IsMaximized() ? Restore() : Maximize();
      break;
    case HTMINBUTTON:
      if (icons.Contains(biMinimize)) IsMinimized() ? Restore() : Minimize();
      break;
    case HTHELP:
      if (icons.Contains(biHelp)) Help();
      break;
    default: break;
  }
  return true;
}

bool TkaFormStyleHook::WMNCLButtonDblClk(TMessage& Message) {
  const TPoint p = ToWindow(Message.LParam);
  const int code = static_cast<int>(Message.WParam);
  if (code == HTCAPTION && ShowsCaptionItems()) {
    TkaStyledForm* s = StyledForm();
    if (TkaNCObject* a = s->FindNCObject(p)) {
      if (s->IsNCObjectEnabled(a)) a->MouseDown(p.X, p.Y);
      FCapturedNCObject = a;
      Message.Result = 0;
      return true;
    }
  }
  if (code == HTCAPTION || IsSizingCode(code)) {
    CallDefaultProc(Message);
    return true;
  }
  Message.Result = 0;
  return true;
}

bool TkaFormStyleHook::WMNCRButtonDown(TMessage& Message) {
  HideItemHint();
  if (static_cast<int>(Message.WParam) == HTMENU && FMainMenuBarHook) {
    Message.Result = 0;
    return true;
  }
  CallDefaultProc(Message);
  return true;
}

bool TkaFormStyleHook::WMNCRButtonUp(TMessage& Message) {
  if (static_cast<int>(Message.WParam) == HTCAPTION && FCaptionEmulation && Handle() != nullptr) {
    // Without WS_CAPTION the system opens no menu on its own.
    ::SendMessageW(Handle(), 0x0313, 0, Message.LParam);  // WM_SYSMENU
    Message.Result = 0;
    return true;
  }
  CallDefaultProc(Message);
  return true;
}

void TkaFormStyleHook::MouseEnter() {
  FPressedButton = 0;
  FCapturedNCObject = nullptr;
}

void TkaFormStyleHook::MouseLeave() {
  TkaStyledForm* s = StyledForm();
  if (s != nullptr && FActiveNCObject != nullptr && s->IsNCObjectListed(FActiveNCObject) &&
      s->IsNCObjectEnabled(FActiveNCObject))
    FActiveNCObject->MouseLeave();
  FActiveNCObject = FOldNCObject = FCapturedNCObject = nullptr;
  if (FHotButton != 0) {
    FHotButton = 0;
    if (FForm->BorderStyle() != bsNone) InvalidateNC();
  }
  if (FMainMenuBarHook) FMainMenuBarHook->MouseMove(-1, -1);
}
