// The drop-down of the gallery menu: layout, placement, the capture and the message filter
// that read the mouse and the keys without the focus, picking and closing.
#include "lib/kaControls/kaGalleryMenu.h"
#include "lib/kaHint/kaHint.h"

// The application's message handler while a drop-down is open. The link outlives the window:
// a handler installed over this one later may keep calling it after the window is gone, and
// it then only passes messages on to the handler it replaced.
struct TkaGalleryMenuPopupWindow::TFilterLink {
  TkaGalleryMenuPopupWindow* Popup = nullptr;
  TMessageEvent OldAppMessage;
};

struct TkaGalleryMenuPopupWindow::TFilter {
  std::shared_ptr<TFilterLink> Link;
  void operator()(MSG& Msg, bool& Handled) const {
    // Closing the drop-down puts the previous handler back, which destroys this object while
    // it runs: only the local copy is used from here on.
    const std::shared_ptr<TFilterLink> link = Link;
    if (link->Popup != nullptr)
      link->Popup->AppMessageFilter(Msg);
    else if (link->OldAppMessage)
      link->OldAppMessage(Msg, Handled);
  }
};

// ---- Construction ---------------------------------------------------------------------------

TkaGalleryMenuPopupWindow::TkaGalleryMenuPopupWindow(TComponent* AOwner) : TkaPanel(AOwner) {
  SetScaleFactor(1.0);
  FDrawOnBackground = false;
  FVisible = false;
  FControlStyle += TControlStyle{csNoDesignVisible, csReplicatable};
  // The painting is kept so a hot-item change redraws two items, not the whole face.
  FStorePaintBuffer = true;
  GalleryMenu = dynamic_cast<TkaGalleryMenu*>(AOwner);
  if (GalleryMenu != nullptr) {
    if (GalleryMenu->BackgroundStyle() == kagmToolBar) SetStyleKind(kapsToolBar);
    if (GalleryMenu->BackgroundStyle() == kagmFormBackground) SetStyleKind(kapsFormBackground);
  }
  SetBorderStyle(kapbsFlat);
}

TkaGalleryMenuPopupWindow::~TkaGalleryMenuPopupWindow() {
  // Freed without closing (its parent went): the application gets its handler back.
  RemoveFilter();
}

void TkaGalleryMenuPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

// ---- Layout and placement -------------------------------------------------------------------

void TkaGalleryMenuPopupWindow::LayoutItems() {
  TkaGalleryMenuItems* items = GalleryMenu->Items();
  TCustomImageList* images = GalleryMenu->Images();
  const double s = ScaleFactor();
  const int m = Round(10 * s);
  const int cw = m + images->Width(), ch = m + images->Height();
  const int hh = Round(GalleryMenu->HeaderHeight() * s);
  const int columns = GalleryMenu->ColumnsCount();
  const int re = 2 + columns * cw;
  int x = 2, y = 2;
  for (int i = 0; i < items->Count(); ++i) {
    TkaGalleryMenuItem* item = items->Items(i);
    if (item->Header() || item->Button()) {
      // A full-width item starts a row of its own.
      if (x != 2) y += ch + 1;
      const int h = item->Header() ? hh : ch;
      item->ItemRect = TRect(2, y, re, y + h);
      y += h + 1;
      x = 2;
      continue;
    }
    item->ItemRect = TRect(x, y, x + cw, y + ch);
    x += cw;
    if (x + cw > re) {
      x = 2;
      y += ch + 1;
    }
  }
  const int height = items->Items(items->Count() - 1)->ItemRect.Bottom - items->Items(0)->ItemRect.Top + 4;
  SetBounds(Left(), Top(), columns * cw + 4, height);
}

TRect TkaGalleryMenuPopupWindow::WorkArea() const {
  HWND wnd = nullptr;
  if (TCustomForm* active = Screen->ActiveCustomForm(); active != nullptr && active->HandleAllocated())
    wnd = active->WindowHandle();
  else if (TCustomForm* main = Application->MainForm(); main != nullptr && main->Visible() && main->HandleAllocated())
    wnd = main->WindowHandle();
  return wnd != nullptr ? Screen->MonitorFromWindow(wnd).WorkareaRect() : Screen->WorkAreaRect();
}

namespace {

// Keeps a W-wide drop-down on the work area horizontally and below its top.
void ClampToWorkArea(int& X, int& Y, int W, const TRect& WA) {
  if (X + W > WA.Right) X = WA.Right - W;
  if (X < WA.Left) X = WA.Left;
  if (Y < WA.Top) Y = WA.Top;
}

}  // namespace

void TkaGalleryMenuPopupWindow::Show(const TRect& PopupRect) {
  LayoutItems();
  const TRect wa = WorkArea();
  int x = PopupRect.Left, y = PopupRect.Bottom;
  // Without room below, the drop-down opens above the rectangle rather than off the screen.
  if (y + Height() > wa.Bottom) y = PopupRect.Top - Height();
  ClampToWorkArea(x, y, Width(), wa);
  ShowAt(x, y);
}

void TkaGalleryMenuPopupWindow::ShowExt(const TRect& PopupRect, bool AFromTop, bool AFromRight) {
  LayoutItems();
  const TRect wa = WorkArea();
  int x = PopupRect.Left, y = PopupRect.Bottom;
  if (AFromTop) {
    y = PopupRect.Top - Height();
    if (y < wa.Top) y = PopupRect.Bottom;
  }
  if (AFromRight) {
    x = PopupRect.Right - Width();
    if (x < wa.Left) x = PopupRect.Left;
  }
  if (y + Height() > wa.Bottom) y = PopupRect.Top - Height();
  ClampToWorkArea(x, y, Width(), wa);
  ShowAt(x, y);
}

void TkaGalleryMenuPopupWindow::ShowAt(int X, int Y) {
  SetBounds(X, Y, Width(), Height());
  ::SetWindowPos(Handle(), HWND_TOPMOST, X, Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  RePaintControl();
  InstallFilter();
  Capture();
}

void TkaGalleryMenuPopupWindow::Capture() {
  if (HandleAllocated() && ::GetCapture() == WindowHandle()) ::ReleaseCapture();
  SetCaptureControl(this);
}

void TkaGalleryMenuPopupWindow::Hide(bool AProcessEvents) {
  if (FClosed) return;
  FClosed = true;
  if (HandleAllocated())
    ::SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetVisible(false);
  HideHint();
  RemoveFilter();
  if (HandleAllocated() && ::GetCapture() == WindowHandle()) {
    if (MouseCapture())
      SetCaptureControl(nullptr);
    else
      ::ReleaseCapture();
  }
  if (GalleryMenu != nullptr && GalleryMenu->FPopupWindow == this)
    GalleryMenu->DoMenuClose(AProcessEvents);
  else
    ReleaseLater();
}

void TkaGalleryMenuPopupWindow::ReleaseLater() {
  if (FHandlerDepth == 0) {
    Free();
    return;
  }
  // Out of its parent now, so that a parent freed by the close events cannot free it while
  // its handler still runs; its window goes with that.
  FFreePending = true;
  SetParent(nullptr);
}

// ---- The message filter ---------------------------------------------------------------------

void TkaGalleryMenuPopupWindow::InstallFilter() {
  if (FFilter != nullptr) return;
  FFilter = std::make_shared<TFilterLink>();
  FFilter->Popup = this;
  FFilter->OldAppMessage = Application->OnMessage;
  Application->OnMessage = TFilter{FFilter};
}

void TkaGalleryMenuPopupWindow::RemoveFilter() {
  if (FFilter == nullptr) return;
  const std::shared_ptr<TFilterLink> link = std::move(FFilter);
  link->Popup = nullptr;
  // Only our own handler is taken away; one installed over it keeps passing messages through
  // the link to the handler we replaced.
  const TFilter* current = Application->OnMessage.target<TFilter>();
  if (current != nullptr && current->Link == link) Application->OnMessage = link->OldAppMessage;
}

void TkaGalleryMenuPopupWindow::AppMessageFilter(MSG& Msg) {
  switch (Msg.message) {
    case WM_KEYDOWN: {
      // No key reaches the focused control while the drop-down is open.
      const WORD key = static_cast<WORD>(Msg.wParam);
      Msg.message = WM_NULL;
      ProcessKey(key);
      break;
    }
    case WM_MOUSEWHEEL: Msg.message = WM_NULL; break;
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_SYSKEYDOWN: case WM_SYSCHAR:
    case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
      Hide(false);
      break;
    default: break;
  }
}

// ---- Keys -----------------------------------------------------------------------------------

void TkaGalleryMenuPopupWindow::ProcessKey(WORD Key) {
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
      // With no hot item, the current pick's click events fire again.
      if (FMouseInItem != -1) GalleryMenu->SetItemIndex(FMouseInItem);
      Hide(true);
      break;
    case VK_ESCAPE: Hide(false); break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: ArrowKey(Key); break;
    default: break;
  }
}

int TkaGalleryMenuPopupWindow::FindUsable(int From, int Step) const {
  TkaGalleryMenuItems* items = GalleryMenu->Items();
  for (int i = From; i >= 0 && i < items->Count(); i += Step)
    if (items->Items(i)->Usable()) return i;
  return -1;
}

// The next usable item up or down in the current item's column; a full-width button counts
// as being in every column.
int TkaGalleryMenuPopupWindow::FindVertical(int Step) const {
  TkaGalleryMenuItems* items = GalleryMenu->Items();
  const TRect cur = items->Items(FMouseInItem)->ItemRect;
  for (int i = FMouseInItem + Step; i >= 0 && i < items->Count(); i += Step) {
    const TkaGalleryMenuItem* item = items->Items(i);
    if (!item->Usable()) continue;
    const bool beyond = Step < 0 ? item->ItemRect.Top < cur.Top : item->ItemRect.Top > cur.Top;
    if (beyond && (item->Button() || item->ItemRect.Left == cur.Left)) return i;
  }
  return -1;
}

void TkaGalleryMenuPopupWindow::ArrowKey(WORD Key) {
  const int count = GalleryMenu->Items()->Count();
  const int first = FindUsable(0, 1), last = FindUsable(count - 1, -1);
  const int cur = FMouseInItem;
  int next = -1;
  // The ends wrap to the first or last item that can be picked (never a header).
  switch (Key) {
    case VK_LEFT: next = cur == -1 || cur <= first ? last : FindUsable(cur - 1, -1); break;
    case VK_RIGHT: next = cur == -1 || cur >= last ? first : FindUsable(cur + 1, 1); break;
    case VK_UP: next = cur == -1 ? last : FindVertical(-1); break;
    case VK_DOWN: next = cur == -1 ? first : FindVertical(1); break;
    default: break;
  }
  if (next != -1) SetMouseInItem(next);
}

// ---- Mouse ----------------------------------------------------------------------------------

int TkaGalleryMenuPopupWindow::ItemAtPos(int X, int Y) const {
  TkaGalleryMenuItems* items = GalleryMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    const TkaGalleryMenuItem* item = items->Items(i);
    const TRect& r = item->ItemRect;
    // Edges included on all four sides: on a shared edge the lower index wins.
    if (item->Usable() && X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) return i;
  }
  return -1;
}

void TkaGalleryMenuPopupWindow::HideHint() {
  if (GalleryMenu != nullptr && GalleryMenu->ShowHints() && GalleryMenu->HintComponent() != nullptr)
    GalleryMenu->HintComponent()->HideHint();
}

void TkaGalleryMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  const int item = ItemAtPos(X, Y);
  TkaHint* hint = GalleryMenu->HintComponent();
  if (hint != nullptr && item == -1) hint->HideHint();
  if (item == FOldMouseInItem) return;
  SetMouseInItem(item);
  if (!GalleryMenu->ShowHints() || item == -1 || hint == nullptr) return;
  hint->HideHint();
  const String& text = GalleryMenu->Items()->Items(item)->Hint();
  if (!text.empty()) hint->ActivateHint(text);
}

void TkaGalleryMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  FDown = true;
  HideHint();
  FItemDown = ItemAtPos(X, Y) != -1;
  RePaintControl();
}

void TkaGalleryMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  // The release of the press that opened the menu arrives here first, before any press
  // inside: it picks nothing.
  const int item = ItemAtPos(X, Y);
  if (FDown && item != -1) {
    GalleryMenu->SetItemIndex(item);
    Hide(true);
    return;
  }
  Capture();
}

void TkaGalleryMenuPopupWindow::SetMouseInItem(int Value) {
  FOldMouseInItem = Value;
  if (FMouseInItem == Value) return;
  const int old = FMouseInItem;
  FMouseInItem = Value;
  RepaintItems(old, Value);
}

// ---- Messages -------------------------------------------------------------------------------

void TkaGalleryMenuPopupWindow::WndProc(TMessage& Message) {
  struct TUnwind {
    TkaGalleryMenuPopupWindow* W;
    ~TUnwind() {
      if (--W->FHandlerDepth > 0 || !W->FFreePending) return;
      W->FFreePending = false;
      W->Free();
    }
  };
  ++FHandlerDepth;
  TUnwind unwind{this};
  inherited::WndProc(Message);
  if ((Message.Msg != WM_LBUTTONDOWN && Message.Msg != WM_LBUTTONDBLCLK) || FClosed || !HandleAllocated()) return;
  // A press outside (the capture brings it here) closes without a pick.
  POINT p{Message.XPos(), Message.YPos()};
  ::ClientToScreen(WindowHandle(), &p);
  if (::WindowFromPoint(p) != WindowHandle()) Hide(false);
}

void TkaGalleryMenuPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      SetMouseInItem(-1);
      break;
    case WM_ACTIVATEAPP:
      // Another program takes over (and the capture with it): nothing would close us.
      inherited::Dispatch(Message);
      if (Message.WParam == 0) Hide(false);
      break;
    default: inherited::Dispatch(Message); break;
  }
}
