// TWinControl: the window handle and its life (creation, destruction, re-creation keeping
// state), children, painting and the keyboard/focus path.
#include <algorithm>
#include <set>

#include "framework/Automation.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"

namespace {
thread_local TWinControl* gCreationControl = nullptr;
// Never destroyed: windows may still be made while the process shuts down.
std::set<std::wstring>& RegisteredClasses() {
  static auto* classes = new std::set<std::wstring>();
  return *classes;
}
}  // namespace

// Every window of the framework runs through here into its control's WindowProc.
// Exceptions stop at this boundary: they cannot unwind through the system's frames.
LRESULT CALLBACK KaStdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* control = reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (control == nullptr) {
    control = gCreationControl;
    if (control == nullptr) return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
    gCreationControl = nullptr;
    control->FHandle = Wnd;
    ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  TMessage m{Msg, WParam, LParam, 0};
  try {
    if (control->WindowProc)
      control->WindowProc(m);
    else
      control->WndProc(m);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(control);
  }
  return m.Result;
}

TWinControl* TWinControl::FindControl(HWND Handle) {
  if (Handle == nullptr) return nullptr;
  DWORD pid = 0;
  if (::GetWindowThreadProcessId(Handle, &pid) != ::GetCurrentThreadId()) return nullptr;
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(Handle, GWLP_WNDPROC)) != KaStdWndProc) return nullptr;
  return reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(Handle, GWLP_USERDATA));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FPadding = new TPadding(this);
  FPadding->OnChange = [this](TObject*) { DoPaddingChange(); };
}

TWinControl::~TWinControl() {
  FComponentState.Include(csDestroying);
  // Leave the parent while this is still known to be a windowed control.
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (FHandle != nullptr) DestroyHandle();
  while (!FControls.empty() || !FWinControls.empty()) {
    TControl* c = !FWinControls.empty() ? FWinControls.back() : FControls.back();
    RemoveControl(c);
    c->Free();
  }
  if (FBrush != nullptr) ::DeleteObject(FBrush);
  delete FPadding;
}

void TWinControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  // The window goes while every override can still answer its last messages.
  if (FHandle != nullptr) DestroyHandle();
}

// ---- Children -------------------------------------------------------------------------

int TWinControl::ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }

TControl* TWinControl::Controls(int Index) const {
  int n = static_cast<int>(FControls.size());
  if (Index < 0 || Index >= ControlCount()) ListIndexError(Index);
  return Index < n ? FControls[Index] : FWinControls[Index - n];
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(w);
    if (FHandle != nullptr && !ComponentState().Contains(csLoading)) w->CreateHandle();
  } else {
    FControls.push_back(AControl);
    AControl->Invalidate();
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  if (!ComponentState().Contains(csLoading) && !AControl->ComponentState().Contains(csLoading))
    AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (w->FHandle != nullptr) w->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), w), FWinControls.end());
  } else {
    AControl->InvalidateControl(AControl->Visible(), false);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  AControl->FParent = nullptr;
  if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control != nullptr && Control != this) Control = Control->Parent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls, bool AllLevels) const {
  auto hits = [&](TControl* c) {
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) return false;
    if (!c->BoundsRect().Contains(Pos)) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.X - c->Left(), Pos.Y - c->Top())) != 0;
  };
  if (AllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hits(*it)) {
        if (AllLevels) {
          TControl* deeper = (*it)->ControlAtPos(TPoint(Pos.X - (*it)->Left(), Pos.Y - (*it)->Top()),
                                                 AllowDisabled, true, true);
          if (deeper != nullptr) return deeper;
        }
        return *it;
      }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hits(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    Message.Result = 0;
    if (c->WindowProc)
      c->WindowProc(Message);
    else
      c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::SetZOrderPosition(TControl* AControl, int Position) {
  auto move = [&](auto& list) {
    auto it = std::find(list.begin(), list.end(), AControl);
    if (it == list.end()) return false;
    auto item = *it;
    list.erase(it);
    int pos = std::clamp(Position, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + pos, item);
    return true;
  };
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (!move(FWinControls)) return;
    if (w->FHandle != nullptr) {
      // The end of the list is the top of the z-order; a window goes behind the one above it.
      auto it = std::find(FWinControls.begin(), FWinControls.end(), w);
      HWND after = HWND_TOP;
      if (it + 1 != FWinControls.end() && (*(it + 1))->FHandle != nullptr) after = (*(it + 1))->FHandle;
      ::SetWindowPos(w->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  } else {
    if (!move(FControls)) return;
    AControl->Invalidate();
  }
}

// ---- Handle -------------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle != nullptr) return;
  if (FParent != nullptr) FParent->HandleNeeded();
  if (FHandle == nullptr) CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParentWindow == Value) return;
  FParentWindow = Value;
  if (FHandle != nullptr) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (FVisible) Params.Style |= WS_VISIBLE;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent != nullptr)
    Params.WndParent = FParent->Handle();
  else
    Params.WndParent = FParentWindow;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = ::DefWindowProcW;
  Params.WindowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  Params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  if (!::GetClassInfoExW(nullptr, ControlClassName, &info)) return;
  UINT keep = Params.WindowClass.style & (CS_VREDRAW | CS_HREDRAW);
  Params.WindowClass = info;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
  Params.WindowClass.style = (info.style & ~(CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS)) | keep;
}

void TWinControl::CreateHandle() {
  if (FHandle != nullptr) return;
  CreateWnd();
  if (FParent != nullptr) {
    // Siblings later in the list are above this one.
    auto& list = FParent->FWinControls;
    auto it = std::find(list.begin(), list.end(), this);
    HWND after = HWND_TOP;
    for (auto above = it == list.end() ? it : it + 1; above != list.end(); ++above)
      if ((*above)->FHandle != nullptr) {
        after = (*above)->FHandle;
        break;
      }
    ::SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  CreateHandlesOfChildren();
  if (FHandle != nullptr && !ComponentState().Contains(csLoading) && FAlignLevel == 0) Realign();
}

void TWinControl::CreateHandlesOfChildren() {
  for (TWinControl* w : FWinControls)
    if (w->FHandle == nullptr) w->CreateHandle();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (params.WndParent == nullptr && (params.Style & WS_CHILD) != 0)
    throw EInvalidOperation(Format(L"Control '%ls' has no parent window", Name().c_str()));
  FDefWndProc = params.WindowClass.lpfnWndProc;
  String className = L"Ka." + params.WinClassName;
  if (RegisteredClasses().count(className) == 0) {
    WNDCLASSEXW wc = params.WindowClass;
    wc.lpfnWndProc = KaStdWndProc;
    wc.lpszClassName = className.c_str();
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOutOfResources(Format(L"Cannot register window class %ls", className.c_str()));
    RegisteredClasses().insert(className);
  }
  params.WinClassName = className;
  CreateWindowHandle(params);
  if (FHandle == nullptr) throw EOutOfResources(Format(L"Error creating window for %ls", Name().c_str()));
  if ((params.Style & WS_CHILD) != 0 && ::GetWindowLongPtrW(FHandle, GWLP_ID) == 0)
    ::SetWindowLongPtrW(FHandle, GWLP_ID, reinterpret_cast<LONG_PTR>(FHandle) & 0xFFFF);
  ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  gCreationControl = this;
  HWND h = ::CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                             Params.WindowClass.hInstance, Params.Param);
  gCreationControl = nullptr;
  if (h != nullptr && FHandle == nullptr) {
    FHandle = h;
    ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

void TWinControl::DestroyHandle() {
  if (FHandle == nullptr) return;
  for (TWinControl* w : FWinControls)
    if (w->FHandle != nullptr) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  HWND h = FHandle;
  if (h != nullptr) {
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    ::DestroyWindow(h);
  }
  FHandle = nullptr;
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  FHandle = nullptr;
}

void TWinControl::RecreateWnd() {
  if (FHandle != nullptr) Perform(CM_RECREATEWND);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  // Everything the window showed lives in fields (bounds, text, visibility, children and
  // their order, the WindowProc chain); only focus has to be carried over by hand.
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = nullptr;
  if (form != nullptr && form->ActiveControl() != nullptr &&
      (form->ActiveControl() == this || ContainsControl(form->ActiveControl())))
    focused = form->ActiveControl();
  bool hadFocus = ::GetFocus() != nullptr && (::GetFocus() == FHandle || ::IsChild(FHandle, ::GetFocus()));
  FControlState.Include(csRecreating);
  try {
    DestroyHandle();
    UpdateControlState();
  } catch (...) {
    FControlState.Exclude(csRecreating);
    throw;
  }
  FControlState.Exclude(csRecreating);
  if (hadFocus) {
    TWinControl* target = focused != nullptr ? focused : this;
    if (target->HandleAllocated()) ::SetFocus(target->FHandle);
  }
}

void TWinControl::UpdateControlState() {
  if (FParent != nullptr) {
    if (FParent->HandleAllocated()) CreateHandle();
  } else {
    CreateHandle();
  }
}

void TWinControl::UpdateShowing() {
  if (FHandle == nullptr) return;
  bool show = FVisible;
  ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  inherited::SetVisible(Value);
  if (FHandle != nullptr) UpdateShowing();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  // A window moving to another parent is made anew under it.
  if (FHandle != nullptr) DestroyHandle();
  inherited::SetParent(AParent);
  if (AParent != nullptr && AParent->HandleAllocated() && FHandle == nullptr) CreateHandle();
}

void TWinControl::UpdateBoundsRect(const TRect& R) {
  if (FHandle == nullptr) return;
  ::SetWindowPos(FHandle, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) { inherited::SetBounds(ALeft, ATop, AWidth, AHeight); }

TRect TWinControl::ClientRect() const {
  if (FHandle != nullptr) {
    RECT r;
    ::GetClientRect(FHandle, &r);
    return TRect(r);
  }
  return Rect(0, 0, FWidth, FHeight);
}

TPoint TWinControl::GetClientOrigin() const {
  if (FHandle != nullptr) {
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return TPoint(p.x, p.y);
  }
  return inherited::GetClientOrigin();
}

// The window's rectangle in its parent's client coordinates (screen ones for top-levels).
TRect TWinControl::WindowBounds() const {
  RECT r;
  ::GetWindowRect(FHandle, &r);
  if (HWND parent = ::GetParent(FHandle); parent != nullptr && (::GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return TRect(r);
}

void TWinControl::WMSize(TMessage& Message) {
  DefaultHandler(Message);
  if (FHandle == nullptr || ::IsIconic(FHandle)) return;
  TRect r = WindowBounds();
  int w = r.Width(), h = r.Height();
  bool sizeChanged = w != FWidth || h != FHeight;
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = w;
  FHeight = h;
  // The client area can change without the window (a scroll bar or frame appearing), and
  // sizes made by the system (user sizing, maximise, DPI moves) arrive only here.
  if (!ComponentState().Contains(csLoading)) {
    Realign();
    if (sizeChanged) Resize();
  }
}

void TWinControl::WMMove(TMessage& Message) {
  DefaultHandler(Message);
  if (FHandle == nullptr || ::IsIconic(FHandle)) return;
  TRect r = WindowBounds();
  FLeft = r.Left;
  FTop = r.Top;
}

void TWinControl::WMWindowPosChanged(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::ChangeScale(int M, int D, bool isDpiChange) {
  if (M == D) return;
  DisableAlign();
  try {
    FPadding->Scale(M, D);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D, isDpiChange);
    inherited::ChangeScale(M, D, isDpiChange);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::Loaded() {
  inherited::Loaded();
  Realign();
}

void TWinControl::FontChanged(TObject* Sender) {
  inherited::FontChanged(Sender);
  if (FHandle != nullptr) ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::SetParentBackground(bool Value) {
  if (ParentBackground() == Value) return;
  if (Value)
    FControlStyle.Include(csParentBackground);
  else
    FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

// ---- Painting -----------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle != nullptr) ::InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (FHandle != nullptr) ::InvalidateRect(FHandle, nullptr, !(IsOpaque || FControlStyle.Contains(csOpaque)));
}

void TWinControl::Update() {
  if (FHandle != nullptr) ::UpdateWindow(FHandle);
}

void TWinControl::WMPaint(TMessage& Message) { PaintHandler(Message); }

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc != nullptr) {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    return;
  }
  PAINTSTRUCT ps;
  dc = ::BeginPaint(FHandle, &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
  } catch (...) {
    ::EndPaint(FHandle, &ps);
    throw;
  }
  ::EndPaint(FHandle, &ps);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t start = 0;
  if (First != nullptr) {
    auto it = std::find(FControls.begin(), FControls.end(), First);
    if (it != FControls.end()) start = static_cast<size_t>(it - FControls.begin());
  }
  for (size_t i = start; i < FControls.size(); ++i) {
    TControl* c = FControls[i];
    if (!c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    if (::RectVisible(DC, c->BoundsRect().AsRECT()) == FALSE) continue;
    int saved = ::SaveDC(DC);
    POINT org;
    ::GetViewportOrgEx(DC, &org);
    ::SetViewportOrgEx(DC, org.x + c->Left(), org.y + c->Top(), nullptr);
    ::IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    try {
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      ::RestoreDC(DC, saved);
      throw;
    }
    ::RestoreDC(DC, saved);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  int saved = ::SaveDC(DC);
  POINT org;
  ::GetViewportOrgEx(DC, &org);
  ::SetViewportOrgEx(DC, org.x + X, org.y + Y, nullptr);
  ::IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  try {
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0, 0};
    WindowProc(erase);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (TWinControl* w : FWinControls)
      if (w->Visible()) w->PaintTo(DC, w->Left(), w->Top());
  } catch (...) {
    ::RestoreDC(DC, saved);
    throw;
  }
  ::RestoreDC(DC, saved);
}

HBRUSH TWinControl::BackgroundBrush() {
  if (FBrush == nullptr || FBrushColor != FColor) {
    if (FBrush != nullptr) ::DeleteObject(FBrush);
    FBrush = ::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor)));
    FBrushColor = FColor;
  }
  return FBrush;
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  RECT r = ClientRect();
  ::FillRect(dc, &r, BackgroundBrush());
  Message.Result = 1;
}

void TWinControl::CMColorChanged(TMessage& Message) {
  Invalidate();
  NotifyControls(CM_PARENTCOLORCHANGED);
}

// ---- Focus and keys -------------------------------------------------------------------

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return false;
  for (const TControl* c = this; c != nullptr; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return FHandle != nullptr && ::GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr)
    form->FocusControl(this);
  else if (HandleAllocated())
    ::SetFocus(FHandle);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle != nullptr) {
    LONG style = ::GetWindowLongW(FHandle, GWL_STYLE);
    ::SetWindowLongW(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

int TWinControl::TabOrder() const {
  if (FParent == nullptr) return -1;
  auto& v = FParent->FWinControls;
  return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

// Tab order follows the windowed children's list order.
void TWinControl::SetTabOrder(int Value) {
  if (FParent == nullptr) return;
  auto& v = FParent->FWinControls;
  auto it = std::find(v.begin(), v.end(), this);
  if (it == v.end()) return;
  v.erase(it);
  Value = std::clamp(Value, 0, static_cast<int>(v.size()));
  v.insert(v.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* w : FWinControls) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int start = static_cast<int>(std::find(list.begin(), list.end(), CurControl) - list.begin());
  if (start == n) start = GoForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[i];
    if (c == CurControl) continue;
    if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, false);
  if (next != nullptr) next->SetFocus();
}

void TWinControl::ShowControl(TControl* AControl) {
  if (FParent != nullptr) FParent->ShowControl(this);
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  if (TCustomForm* form = GetParentForm(this); form != nullptr) form->SetFocusedControl(this);
  if (auto hook = Automation::Hooks().FocusChanged; hook != nullptr) hook(this);
}

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& Message) {
  WORD key = Message.CharCode();
  KeyDown(key, KeyboardStateToShiftState());
  if (key == 0) return;
  Message.WParam = key;
  DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  WORD key = Message.CharCode();
  KeyUp(key, KeyboardStateToShiftState());
  if (key == 0) return;
  Message.WParam = key;
  DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  wchar_t ch = static_cast<wchar_t>(Message.WParam);
  KeyPress(ch);
  if (ch == 0) return;
  Message.WParam = ch;
  DefaultHandler(Message);
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMEnter(TMessage&) {
  if (OnEnter) OnEnter(this);
}

void TWinControl::CMExit(TMessage&) {
  if (OnExit) OnExit(this);
}

void TWinControl::CMTextChanged(TMessage& Message) {
  if (FHandle != nullptr) ::SetWindowTextW(FHandle, FText.c_str());
  Invalidate();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (FHandle != nullptr) ::EnableWindow(FHandle, FEnabled);
  Invalidate();
}

void TWinControl::CMShowingChanged(TMessage&) { UpdateShowing(); }

void TWinControl::CMVisibleChanged(TMessage&) {}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor cursor = Screen != nullptr ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      POINT p;
      ::GetCursorPos(&p);
      TControl* c = ControlAtPos(ScreenToClient(TPoint(p.x, p.y)), false);
      cursor = c != nullptr ? c->Cursor() : FCursor;
      if (cursor == crDefault && c != nullptr) cursor = FCursor;
    }
    if (cursor != crDefault) {
      ::SetCursor(CursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage& Message) {
  TPoint pos(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, pos, handled);
  if (handled) return;
  DefaultHandler(Message);
}

// Notifications from child windows go back to the control that owns the child.
void TWinControl::WMCommand(TMessage& Message) {
  if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam)); c != nullptr && c != this)
    Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (TWinControl* c = hdr != nullptr ? FindControl(hdr->hwndFrom) : nullptr; c != nullptr && c != this)
    Message.Result = c->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

void TWinControl::WMScroll(TMessage& Message) {
  if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam)); c != nullptr && c != this)
    Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

// ---- Message path ---------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture != nullptr) {
    if (capture->Parent() == this && dynamic_cast<TWinControl*>(capture) == nullptr) target = capture;
  } else {
    target = ControlAtPos(Message.Pos(), false);
  }
  if (target == nullptr) return false;
  TMessage m = Message;
  m.LParam = MAKELPARAM(Message.XPos() - target->Left(), Message.YPos() - target->Top());
  if (target->WindowProc)
    target->WindowProc(m);
  else
    target->WndProc(m);
  Message.Result = m.Result;
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  // An accessibility layer answers for painted controls that Windows cannot see into.
  if (Message.Msg == WM_GETOBJECT) {
    if (auto hook = Automation::Hooks().GetObject; hook != nullptr && hook(this, Message)) return;
  }
  // The style engine first: the hook of a custom style, and the style's own part.
  if (TStyleManager::Engine().HandleMessage(this, Message)) return;
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP:
      if (Application != nullptr) {
        if (Message.Msg == WM_MOUSEMOVE) Application->TrackMouseWindow(this);
        Application->HintMouseMessage(this, Message);
      }
      if (IsControlMouseMsg(Message)) return;
      break;
    case WM_MOUSELEAVE:
      if (Application != nullptr) Application->DoMouseIdle();
      break;
    default:
      break;
  }
  inherited::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_HSCROLL: case WM_VSCROLL: WMScroll(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_STYLECHANGED:
      // A control without a StyleName of its own draws with its parent's style.
      inherited::Dispatch(Message);
      NotifyControls(CM_STYLECHANGED);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle == nullptr || Message.Msg >= CM_BASE) return;
  Message.Result = ::CallWindowProcW(FDefWndProc != nullptr ? FDefWndProc : ::DefWindowProcW, FHandle,
                                     Message.Msg, Message.WParam, Message.LParam);
}

// ---- Graphic and custom controls ------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) { FCanvas = new TCanvas(); }

TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    inherited::Dispatch(Message);
}

namespace {
// Binds a control's canvas to the paint DC for one paint and gives it back its previous DC
// (paints nest when a child captures its parent's face), also when the paint throws.
class TPaintBinding {
 public:
  TPaintBinding(TCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FPrevious = FCanvas->HandleAllocated() ? FCanvas->Handle() : nullptr;
    FCanvas->SetHandle(DC);
  }
  ~TPaintBinding() {
    FCanvas->SetHandle(FPrevious);
    FCanvas->Unlock();
  }
  TPaintBinding(const TPaintBinding&) = delete;
  TPaintBinding& operator=(const TPaintBinding&) = delete;

 private:
  TCanvas* FCanvas;
  HDC FPrevious;
};
}  // namespace

void TGraphicControl::WMPaint(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return;
  TPaintBinding binding(FCanvas, dc);
  Paint();
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) { FCanvas = new TCanvas(); }

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::PaintWindow(HDC DC) {
  TPaintBinding binding(FCanvas, DC);
  Paint();
}
