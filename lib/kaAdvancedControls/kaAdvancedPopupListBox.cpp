#include "lib/kaAdvancedControls/kaAdvancedPopupListBox.h"

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"

TkaAdvancedPopupListBox::TkaAdvancedPopupListBox(TComponent* AOwner) : TkaAdvancedListBox(AOwner) {
  FVisible = false;
  FTabStop = false;
  FControlStyle.Include(csNoDesignVisible);
  FPopupMode = true;
  FDrawOnBackground = false;
}

void TkaAdvancedPopupListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = (Params.Style & ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP)) | WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void TkaAdvancedPopupListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE)
    Message.Result = MA_NOACTIVATE;
  else
    inherited::Dispatch(Message);
}

void TkaAdvancedPopupListBox::Show(TPoint Origin) {
  HandleNeeded();
  // A themed bar made while the list was hidden may keep a stale look: it is made anew.
  if (!IsCustomStyleActive(this) && StyleServices(this)->Enabled() && FVertScrollBar != nullptr &&
      FVertScrollBar->Visible()) {
    FVertScrollBar->RecreateWnd();
    PlaceScrollBars();
  }
  FMouseActive = -1;
  FScrollOffset = 0;
  ScrollToItem(ItemIndex());
  ::SetWindowPos(WindowHandle(), HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  SetVisible(true);
  ::SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TkaAdvancedPopupListBox::Hide() {
  FMouseActive = -1;
  if (HandleAllocated())
    ::SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetVisible(false);
}

KA_REGISTER_CLASS(TkaAdvancedPopupListBox);
