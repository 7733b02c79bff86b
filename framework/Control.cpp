// TControl: geometry, appearance, the message path shared by graphic and windowed
// controls, mouse handling and scaling.
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/TypeInfo.h"

namespace {
TControl* gCaptureControl = nullptr;
}

HCURSOR CursorHandle(TCursor Cursor) {
  const wchar_t* id = IDC_ARROW;
  switch (Cursor) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return ::LoadCursorW(nullptr, id);
}

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (::GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (::GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (::GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (::GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (::GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

bool IsAccel(WORD Key, const String& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&') continue;
    if (Caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    wchar_t a[2] = {Caption[i + 1], 0}, b[2] = {static_cast<wchar_t>(Key), 0};
    ::CharUpperW(a);
    ::CharUpperW(b);
    return a[0] == b[0];
  }
  return false;
}

// ---- TMargins / TSizeConstraints ------------------------------------------------------

TMargins::TMargins(TControl* Control, int Default)
    : FControl(Control), FLeft(Default), FTop(Default), FRight(Default), FBottom(Default) {}

void TMargins::SetMargin(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TMargins::SetMargins(int L, int T, int R, int B) {
  if (FLeft == L && FTop == T && FRight == R && FBottom == B) return;
  FLeft = L;
  FTop = T;
  FRight = R;
  FBottom = B;
  if (OnChange) OnChange(this);
}

void TMargins::Assign(TPersistent* Source) {
  if (auto* m = dynamic_cast<TMargins*>(Source)) {
    SetMargins(m->FLeft, m->FTop, m->FRight, m->FBottom);
    return;
  }
  inherited::Assign(Source);
}

TPersistent* TMargins::GetOwner() { return FControl; }

int TMargins::ControlWidth() const {
  return FControl->Width() + (FControl->AlignWithMargins() ? FLeft + FRight : 0);
}

int TMargins::ControlHeight() const {
  return FControl->Height() + (FControl->AlignWithMargins() ? FTop + FBottom : 0);
}

void TMargins::SetControlBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Aligning) {
  if (FControl->AlignWithMargins())
    FControl->SetBounds(ALeft + FLeft, ATop + FTop, AWidth - (FLeft + FRight), AHeight - (FTop + FBottom));
  else
    FControl->SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TMargins::Scale(int M, int D) {
  SetMargins(::MulDiv(FLeft, M, D), ::MulDiv(FTop, M, D), ::MulDiv(FRight, M, D), ::MulDiv(FBottom, M, D));
}

void TSizeConstraints::SetMinWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  Changed();
}

void TSizeConstraints::SetMaxWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
  Changed();
}

void TSizeConstraints::SetMinHeight(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  Changed();
}

void TSizeConstraints::SetMaxHeight(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
  Changed();
}

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinWidth = c->FMinWidth;
    FMaxWidth = c->FMaxWidth;
    FMinHeight = c->FMinHeight;
    FMaxHeight = c->FMaxHeight;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

TPersistent* TSizeConstraints::GetOwner() { return FControl; }

// No OnChange: applied now, the new limits would clamp the old bounds, which the owner then
// scales a second time (a form with a minimum size grew by the factor twice). The owner
// scales its bounds next, and they meet the new limits there.
void TSizeConstraints::Scale(int M, int D) {
  FMinWidth = ::MulDiv(FMinWidth, M, D);
  FMaxWidth = ::MulDiv(FMaxWidth, M, D);
  FMinHeight = ::MulDiv(FMinHeight, M, D);
  FMaxHeight = ::MulDiv(FMaxHeight, M, D);
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TControl -------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FMargins = new TMargins(this);
  FMargins->OnChange = [this](TObject*) { DoMarginsChange(); };
  FConstraints = new TSizeConstraints(this);
  FConstraints->OnChange = [this](TObject*) { DoConstraintsChange(); };
  FFont = new TFont();
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
  if (gCaptureControl == this) SetCaptureControl(nullptr);
  if (Application != nullptr) Application->ControlDestroyed(this);
  if (FParent != nullptr) FParent->RemoveControl(this);
  delete FMargins;
  delete FConstraints;
  delete FFont;
}

void TControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  if (Application != nullptr) Application->ControlDestroyed(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) {
    AParent->InsertControl(this);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentBiDiMode) FBiDiMode = AParent->BiDiMode();
  }
}

void TControl::BringToFront() {
  if (FParent != nullptr) FParent->SetZOrderPosition(this, INT_MAX);
}

void TControl::SendToBack() {
  if (FParent != nullptr) FParent->SetZOrderPosition(this, 0);
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  int w = NewWidth, h = NewHeight;
  bool resize = CanResize(w, h);
  if (!resize) return false;
  int minW = FConstraints->MinWidth(), minH = FConstraints->MinHeight();
  int maxW = FConstraints->MaxWidth(), maxH = FConstraints->MaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && w > maxW) w = maxW;
  if (minW > 0 && w < minW) w = minW;
  if (maxH > 0 && h > maxH) h = maxH;
  if (minH > 0 && h < minH) h = minH;
  NewWidth = std::max(w, 0);
  NewHeight = std::max(h, 0);
  return true;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool resize = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, resize);
  return resize;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
  if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool sizeChanged = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  FAnchorsValid = false;
  UpdateBoundsRect(BoundsRect());
  if (ComponentState().Contains(csLoading)) return;
  RequestAlign();
  if (sizeChanged) {
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->Realign();
    Resize();
  }
}

void TControl::UpdateBoundsRect(const TRect&) { InvalidateControl(FVisible, false); }

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  TRect r = BoundsRect();
  ::InvalidateRect(FParent->WindowHandle(), r.AsRECT(), !(IsOpaque || FControlStyle.Contains(csOpaque)));
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int Value) { SetWidth(Value + (FWidth - ClientWidth())); }
void TControl::SetClientHeight(int Value) { SetHeight(Value + (FHeight - ClientHeight())); }

TPoint TControl::GetClientOrigin() const {
  if (FParent == nullptr) return TPoint(FLeft, FTop);
  TPoint p = FParent->ClientOrigin();
  return TPoint(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientOrigin() const { return GetClientOrigin(); }

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint(P.X + o.X, P.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint(P.X - o.X, P.Y - o.Y);
}

TPoint TControl::ClientToParent(TPoint P, TWinControl* AParent) const {
  if (AParent == nullptr) AParent = FParent;
  const TControl* c = this;
  while (c != nullptr && c != AParent) {
    P.X += c->FLeft;
    P.Y += c->FTop;
    c = c->FParent;
  }
  if (c == nullptr) throw EInvalidOperation(L"Control is not a child of the given parent");
  return P;
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  FAnchors = TAnchors{akLeft, akTop};
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
}

void TControl::SetAlignWithMargins(bool Value) {
  if (FAlignWithMargins == Value) return;
  FAlignWithMargins = Value;
  RequestAlign();
}

void TControl::DoMarginsChange() {
  if (FAlignWithMargins) RequestAlign();
}

void TControl::DoConstraintsChange() {
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->AlignControl(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParentFont && FParent != nullptr) Perform(CM_PARENTFONTCHANGED);
  if (FParentColor && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  if (!ComponentState().Contains(csLoading)) {
    InvalidateControl(true, false);
    RequestAlign();
  }
}

bool TControl::IsVisibleInTree() const {
  const TControl* c = this;
  while (c != nullptr) {
    if (!c->FVisible) return false;
    if (c->FParent == nullptr) {
      auto* w = dynamic_cast<const TWinControl*>(c);
      return w != nullptr && w->HandleAllocated() && ::IsWindowVisible(w->WindowHandle());
    }
    c = c->FParent;
  }
  return false;
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(TFont* Value) { FFont->Assign(Value); }

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParentFont && FParent != nullptr) Perform(CM_PARENTFONTCHANGED);
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || FParent == nullptr) return;
  FFont->Assign(FParent->Font());
  FParentFont = true;
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParentColor && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || FParent == nullptr) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  FParentShowHint = false;
}

void TControl::SetParentShowHint(bool Value) {
  FParentShowHint = Value;
  if (Value && FParent != nullptr) FShowHint = FParent->ShowHint();
}

void TControl::SetPopupMenu(TComponent* Value) { ReplaceReference(FPopupMenu, Value); }

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  FParentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  if (Value && FParent != nullptr) {
    FBiDiMode = FParent->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
  }
}

bool TControl::UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

bool TControl::UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & DT_RIGHT) == DT_RIGHT)
      Flags &= ~DT_RIGHT;
    else if ((Flags & DT_CENTER) == 0)
      Flags |= DT_RIGHT;
  }
  return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

// Alignment values: 0 left, 1 right, 2 centre (as text alignments are numbered).
void TControl::ChangeBiDiModeAlignment(int& Alignment) {
  if (Alignment == 0)
    Alignment = 1;
  else if (Alignment == 1)
    Alignment = 0;
}

void TControl::SetStyleElements(TStyleElements Value) {
  if (FStyleElements == Value) return;
  FStyleElements = Value;
  UpdateStyleElements();
  // What follows the style changed: the control shows it at once, whatever its class.
  Invalidate();
}

void TControl::SetStyleName(const String& Value) {
  if (FStyleName == Value) return;
  FStyleName = Value;
  Perform(CM_STYLECHANGED);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!FControlStyle.Contains(csDoubleClicks)) Message.Msg = WM_LBUTTONDOWN;
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
      break;
    case WM_LBUTTONUP:
      if (!FControlStyle.Contains(csClickEvents)) FControlState.Exclude(csClicked);
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: WMRButtonDown(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: WMMButtonDown(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_FONTCHANGED: case CM_COLORCHANGED: case CM_TEXTCHANGED: case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case CM_STYLECHANGED: UpdateStyleElements(); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TControl::SendCancelMode(TControl* Sender) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr) form->SendCancelMode(Sender);
}

void TControl::DoMouseDownMsg(TMessage& Message, TMouseButton Button, TShiftState Extra) {
  TShiftState shift = KeysToShiftState(Message.Keys()) + Extra;
  MouseDown(Button, shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUpMsg(TMessage& Message, TMouseButton Button) {
  MouseUp(Button, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  DoMouseDownMsg(Message, mbLeft, TShiftState());
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDownMsg(Message, mbLeft, TShiftState(ssDouble));
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(Message.Pos())) Click();
  }
  DoMouseUpMsg(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  DoMouseDownMsg(Message, mbRight, Message.Msg == WM_RBUTTONDBLCLK ? TShiftState(ssDouble) : TShiftState());
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUpMsg(Message, mbRight);
}

void TControl::WMMButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  DoMouseDownMsg(Message, mbMiddle, Message.Msg == WM_MBUTTONDBLCLK ? TShiftState(ssDouble) : TShiftState());
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUpMsg(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  MouseMove(KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::CMMouseEnter(TMessage& Message) {
  FMouseInClient = true;
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  FMouseInClient = false;
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

bool TControl::MouseCapture() const { return gCaptureControl == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

TControl* GetCaptureControl() {
  HWND h = ::GetCapture();
  if (gCaptureControl != nullptr) {
    const TControl* c = gCaptureControl;
    auto* w = dynamic_cast<const TWinControl*>(c);
    if (w == nullptr) w = c->Parent();
    if (w != nullptr && w->WindowHandle() == h) return gCaptureControl;
  }
  gCaptureControl = nullptr;
  return h != nullptr ? TWinControl::FindControl(h) : nullptr;
}

void SetCaptureControl(TControl* Control) {
  gCaptureControl = nullptr;
  ::ReleaseCapture();
  if (Control == nullptr) return;
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (w == nullptr) {
    if (Control->Parent() == nullptr) return;
    w = Control->Parent();
  }
  if (!w->HandleAllocated()) return;
  ::SetCapture(w->WindowHandle());
  gCaptureControl = Control;
}

void TControl::ChangeScale(int M, int D, bool isDpiChange) {
  if (M == D) return;
  FMargins->Scale(M, D);
  FConstraints->Scale(M, D);
  if (!FParentFont) {
    FFont->SetHeight(::MulDiv(FFont->Height(), M, D));
    FParentFont = false;
  }
  FScaleFactor = FScaleFactor * M / D;
  FCurrentPPI = ::MulDiv(FCurrentPPI, M, D);
  ScaleControlBounds(M, D);
}

void TControl::ScaleControlBounds(int M, int D) {
  int x = ::MulDiv(FLeft, M, D), y = ::MulDiv(FTop, M, D);
  int w = ::MulDiv(FLeft + FWidth, M, D) - x, h = ::MulDiv(FTop + FHeight, M, D) - y;
  SetBounds(x, y, w, h);
}

void TControl::ScaleForPPI(int NewPPI) {
  if (NewPPI <= 0 || NewPPI == FCurrentPPI) return;
  int old = FCurrentPPI;
  ChangeScale(NewPPI, old, true);
  FCurrentPPI = NewPPI;
}

// ---- Free routines ---------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control, bool TopForm) {
  const TControl* c = Control;
  TCustomForm* found = nullptr;
  while (c != nullptr) {
    if (auto* f = dynamic_cast<TCustomForm*>(const_cast<TControl*>(c))) {
      found = f;
      if (!TopForm) return f;
    }
    c = c->Parent();
  }
  return found;
}

bool ReleaseFocusFrom(TWinControl* Container) {
  TCustomForm* form = GetParentForm(Container);
  if (form == nullptr || Container == nullptr) return true;
  TWinControl* focused = form->ActiveControl();
  if (focused == nullptr || !Container->ContainsControl(focused)) return true;
  form->SetActiveControl(nullptr);
  return form->ActiveControl() == nullptr;
}

TControl* FindVCLWindow(TPoint Pos) { return FindDragTarget(Pos, false); }

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  HWND h = ::WindowFromPoint(POINT{Pos.X, Pos.Y});
  TWinControl* w = nullptr;
  while (h != nullptr && (w = TWinControl::FindControl(h)) == nullptr) h = ::GetParent(h);
  if (w == nullptr) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled);
  return c != nullptr ? c : w;
}

// ---- Published properties ------------------------------------------------------------------

KA_REGISTER_ENUM(TAlign, {{L"alNone", alNone}, {L"alTop", alTop}, {L"alBottom", alBottom}, {L"alLeft", alLeft},
                          {L"alRight", alRight}, {L"alClient", alClient}, {L"alCustom", alCustom}});
KA_REGISTER_ENUM(TAnchorKind, {{L"akLeft", akLeft}, {L"akTop", akTop}, {L"akRight", akRight}, {L"akBottom", akBottom}});
KA_REGISTER_ENUM(TBiDiMode, {{L"bdLeftToRight", bdLeftToRight}, {L"bdRightToLeft", bdRightToLeft},
                             {L"bdRightToLeftNoAlign", bdRightToLeftNoAlign},
                             {L"bdRightToLeftReadingOnly", bdRightToLeftReadingOnly}});
KA_REGISTER_ENUM(TStyleElement, {{L"seFont", seFont}, {L"seClient", seClient}, {L"seBorder", seBorder}});
KA_REGISTER_ENUM(TCursor, {{L"crDefault", crDefault}, {L"crNone", crNone}, {L"crArrow", crArrow}, {L"crCross", crCross},
                           {L"crIBeam", crIBeam}, {L"crSizeNESW", crSizeNESW}, {L"crSizeNS", crSizeNS},
                           {L"crSizeNWSE", crSizeNWSE}, {L"crSizeWE", crSizeWE}, {L"crUpArrow", crUpArrow},
                           {L"crHourGlass", crHourGlass}, {L"crNo", crNo}, {L"crAppStart", crAppStart},
                           {L"crHelp", crHelp}, {L"crHandPoint", crHandPoint}, {L"crSizeAll", crSizeAll}});

KA_REGISTER_ENUM(TFontStyle, {{L"fsBold", fsBold}, {L"fsItalic", fsItalic}, {L"fsUnderline", fsUnderline},
                              {L"fsStrikeOut", fsStrikeOut}});
KA_REGISTER_CLASS(TFont, [](auto& c) {
  c.Property(L"Name", &TFont::Name, &TFont::SetName);
  c.Property(L"Height", &TFont::Height, &TFont::SetHeight);
  c.Property(L"Size", &TFont::Size, &TFont::SetSize);
  c.Property(L"Style", &TFont::Style, &TFont::SetStyle);
  c.Property(L"Color", &TFont::Color, &TFont::SetColor);
});

KA_REGISTER_CLASS(TMargins, [](auto& c) {
  c.Property(L"Left", &TMargins::Left, &TMargins::SetLeft);
  c.Property(L"Top", &TMargins::Top, &TMargins::SetTop);
  c.Property(L"Right", &TMargins::Right, &TMargins::SetRight);
  c.Property(L"Bottom", &TMargins::Bottom, &TMargins::SetBottom);
});
KA_REGISTER_CLASS(TPadding);
KA_REGISTER_CLASS(TSizeConstraints, [](auto& c) {
  c.Property(L"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth);
  c.Property(L"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth);
  c.Property(L"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight);
  c.Property(L"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight);
});

KA_REGISTER_CLASS(TControl, [](auto& c) {
  c.Property(L"Left", &TControl::Left, &TControl::SetLeft);
  c.Property(L"Top", &TControl::Top, &TControl::SetTop);
  c.Property(L"Width", &TControl::Width, &TControl::SetWidth);
  c.Property(L"Height", &TControl::Height, &TControl::SetHeight);
  c.Property(L"Align", &TControl::Align, &TControl::SetAlign);
  c.Property(L"Anchors", &TControl::Anchors, &TControl::SetAnchors);
  c.Property(L"AlignWithMargins", &TControl::AlignWithMargins, &TControl::SetAlignWithMargins);
  c.Property(L"Margins", &TControl::Margins);
  c.Property(L"Constraints", &TControl::Constraints);
  c.Property(L"Caption", &TControl::Caption, &TControl::SetCaption);
  c.Property(L"Color", &TControl::Color, &TControl::SetColor);
  c.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  c.Property(L"Font", &TControl::Font);
  c.Property(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
  c.Property(L"Cursor", &TControl::Cursor, &TControl::SetCursor);
  c.Property(L"Hint", &TControl::Hint, &TControl::SetHint);
  c.Property(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  c.Property(L"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint);
  c.Property(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  c.Property(L"BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode);
  c.Property(L"ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode);
  c.Property(L"StyleElements", &TControl::StyleElements, &TControl::SetStyleElements);
  c.Property(L"StyleName", &TControl::StyleName, &TControl::SetStyleName);
  c.Property(L"Enabled", &TControl::Enabled, &TControl::SetEnabled);
  c.Property(L"Visible", &TControl::Visible, &TControl::SetVisible);
  c.Property(L"OnClick", &TControl::OnClick);
  c.Property(L"OnDblClick", &TControl::OnDblClick);
  c.Property(L"OnMouseDown", &TControl::OnMouseDown);
  c.Property(L"OnMouseMove", &TControl::OnMouseMove);
  c.Property(L"OnMouseUp", &TControl::OnMouseUp);
  c.Property(L"OnMouseEnter", &TControl::OnMouseEnter);
  c.Property(L"OnMouseLeave", &TControl::OnMouseLeave);
  c.Property(L"OnResize", &TControl::OnResize);
  c.Property(L"OnCanResize", &TControl::OnCanResize);
  c.Property(L"OnConstrainedResize", &TControl::OnConstrainedResize);
  c.Property(L"OnContextPopup", &TControl::OnContextPopup);
});
KA_REGISTER_CLASS(TWinControl, [](auto& c) {
  c.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  c.Property(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  c.Property(L"Padding", &TWinControl::Padding);
  c.Property(L"Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D);
  c.Property(L"ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D);
  c.Property(L"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered);
  c.Property(L"ParentDoubleBuffered", &TWinControl::ParentDoubleBuffered, &TWinControl::SetParentDoubleBuffered);
  c.Property(L"ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground);
  c.Property(L"OnKeyDown", &TWinControl::OnKeyDown);
  c.Property(L"OnKeyPress", &TWinControl::OnKeyPress);
  c.Property(L"OnKeyUp", &TWinControl::OnKeyUp);
  c.Property(L"OnEnter", &TWinControl::OnEnter);
  c.Property(L"OnExit", &TWinControl::OnExit);
});
KA_REGISTER_CLASS(TGraphicControl);
KA_REGISTER_CLASS(TCustomControl);
