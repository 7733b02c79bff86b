// The window-wide style hook base: dispatch to the subclass, pointer tracking over both parts
// of the window, and the non-client and background painting entry points.
#include "framework/StyleHooks.h"

#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/PointerPos.h"

TMouseTrackControlStyleHook::TMouseTrackControlStyleHook(TWinControl* AControl) : FControl(AControl) {}

bool TMouseTrackControlStyleHook::HandleMessage(TMessage& Message) { return WndProc(Message); }

void TMouseTrackControlStyleHook::CallDefaultProc(TMessage& Message) {
  if (FControl != nullptr) FControl->Dispatch(Message);
}

void TMouseTrackControlStyleHook::InvalidateNC() {
  if (HWND h = Handle(); h != nullptr && ::IsWindowVisible(h)) ::SendMessageW(h, WM_NCPAINT, 1, 0);
}

void TMouseTrackControlStyleHook::TrackLeave(bool NonClient) {
  TRACKMOUSEEVENT tme{sizeof(tme)};
  tme.dwFlags = TME_LEAVE | (NonClient ? TME_NONCLIENT : 0u);
  tme.hwndTrack = Handle();
  ::TrackMouseEvent(&tme);
}

void TMouseTrackControlStyleHook::CheckLeave() {
  HWND h = Handle();
  RECT r{};
  if (h != nullptr && ::GetWindowRect(h, &r)) {
    const TPoint p = PointerPos();
    // Moving between the frame and the client area ends one tracking and starts the other
    // part's; the pointer is still over the window then.
    if (::PtInRect(&r, POINT{p.X, p.Y}) && ::WindowFromPoint(POINT{p.X, p.Y}) == h) return;
  }
  if (!FMouseInControl) return;
  FMouseInControl = false;
  MouseLeave();
}

bool TMouseTrackControlStyleHook::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE: {
      const bool nonClient = Message.Msg == WM_NCMOUSEMOVE;
      TrackLeave(nonClient);
      if (!FMouseInControl) {
        FMouseInControl = true;
        MouseEnter();
      }
      return false;
    }
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
      CheckLeave();
      return false;
    case WM_NCPAINT:
      if (!FOverridePaintNC || Handle() == nullptr) return false;
      {
        TWindowDC dc(Handle(), ::GetWindowDC(Handle()));
        if (!dc) return false;
        TCanvas canvas;
        canvas.SetHandle(dc.Get());
        PaintNC(&canvas);
        canvas.SetHandle(nullptr);
      }
      Message.Result = 0;
      return true;
    case WM_ERASEBKGND:
      if (!FOverrideEraseBkgnd || Message.WParam == 0) return false;
      {
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        PaintBackground(&canvas);
        canvas.SetHandle(nullptr);
      }
      Message.Result = 1;
      return true;
    default:
      return false;
  }
}
