// Scrolling containers and the scroll bar control. A scrolling control keeps its children
// where they show: scrolling moves them (and the window's pixels) by the change of
// position, and the ranges are measured from where they are plus the current position.
#include "framework/ScrollingControls.h"

#include <algorithm>
#include <cstdint>

#include "framework/TypeInfo.h"

namespace {

struct TFlagGuard {
  explicit TFlagGuard(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;
  bool& FFlag;
};

// The thumb position of SB_THUMBTRACK / SB_THUMBPOSITION. The message carries 16 bits;
// while the user drags, the bar knows the whole value, which wins when its low word agrees.
int ThumbPosition(HWND Wnd, int Bar, WPARAM WParam, bool Signed) {
  int pos = Signed ? static_cast<short>(HIWORD(WParam)) : static_cast<int>(HIWORD(WParam));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
  if (Wnd != nullptr && ::GetScrollInfo(Wnd, Bar, &si) && (si.nTrackPos & 0xFFFF) == (pos & 0xFFFF))
    return si.nTrackPos;
  return pos;
}

// The thickness the system gives a window's scroll bar, at the window's DPI.
int ScrollBarThickness(HWND Wnd, int Metric) {
  UINT dpi = ::GetDpiForWindow(Wnd);
  return dpi != 0 ? ::GetSystemMetricsForDpi(Metric, dpi) : ::GetSystemMetrics(Metric);
}

}  // namespace

// ---- TControlScrollBar ----------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
    : FControl(Control), FKind(Kind) {}

TPersistent* TControlScrollBar::GetOwner() { return FControl; }

void TControlScrollBar::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TControlScrollBar*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FIncrement = src->FIncrement;
  FTracking = src->FTracking;
  FSmooth = src->FSmooth;
  FMargin = src->FMargin;
  FVisible = src->FVisible;
  SetRange(src->FRange);
  SetPosition(src->FPosition);
}

void TControlScrollBar::SetIncrement(int Value) { FIncrement = std::max(Value, 1); }

int TControlScrollBar::ClientExtent() const {
  return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

int TControlScrollBar::MaxPosition() const { return FVisible ? std::max(0, FRange - ClientExtent()) : 0; }

bool TControlScrollBar::IsScrollBarVisible() const {
  if (FControl->HandleAllocated()) {
    LONG style = ::GetWindowLongW(FControl->WindowHandle(), GWL_STYLE);
    return (style & (FKind == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
  }
  return FVisible && FRange > ClientExtent();
}

void TControlScrollBar::SetPosition(int Value) {
  // A layout's value is taken as it is: its children were stored where they showed.
  if (FControl->ComponentState().Contains(csLoading)) {
    FPosition = std::max(Value, 0);
    return;
  }
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value != FPosition) {
    int old = FPosition;
    FPosition = Value;
    if (FKind == sbHorizontal)
      FControl->ScrollBy(old - Value, 0);
    else
      FControl->ScrollBy(0, old - Value);
  }
  if (FControl->HandleAllocated() && ::GetScrollPos(FControl->WindowHandle(), BarCode()) != FPosition)
    ::SetScrollPos(FControl->WindowHandle(), BarCode(), FPosition, TRUE);
}

void TControlScrollBar::SetRange(int Value) {
  FControl->FAutoScroll = false;
  DoSetRange(Value);
}

void TControlScrollBar::DoSetRange(int Value) {
  Value = std::max(Value, 0);
  if (Value == FRange) return;
  FRange = Value;
  FControl->RangesChanged();
}

void TControlScrollBar::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  FControl->RangesChanged();
}

void TControlScrollBar::SetMargin(int Value) {
  Value = std::max(Value, 0);
  if (FMargin == Value) return;
  FMargin = Value;
  FControl->CalcAutoRange();
}

void TControlScrollBar::Apply(bool Show, int Extent) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (Show) {
    si.nMax = FRange - 1;
    si.nPage = static_cast<UINT>(Extent);
    si.nPos = std::min(FPosition, FRange - Extent);
  }
  ::SetScrollInfo(FControl->WindowHandle(), BarCode(), &si, TRUE);
}

// Children aligned to the far edge, or anchored to it, follow the client area and do not
// widen the range; those at the near edge do. Far-edge aligned ones add their size.
int TControlScrollBar::CalcAutoRange() const {
  int range = 0, farAligned = 0;
  const bool horz = FKind == sbHorizontal;
  const TAlign nearAlign = horz ? alLeft : alTop;
  const TAlign farAlign = horz ? alRight : alBottom;
  const TAnchors axis = horz ? TAnchors{akLeft, akRight} : TAnchors{akTop, akBottom};
  const TAnchors nearOnly = horz ? TAnchors{akLeft} : TAnchors{akTop};
  for (int i = 0; i < FControl->ControlCount(); ++i) {
    TControl* c = FControl->Controls(i);
    if (!c->Visible()) continue;
    TMargins* m = c->Margins();
    if (c->Align() == nearAlign || (c->Align() == alNone && c->Anchors() * axis == nearOnly)) {
      int farEdge = horz ? c->Left() + c->Width() : c->Top() + c->Height();
      if (c->AlignWithMargins()) farEdge += horz ? m->Right() : m->Bottom();
      range = std::max(range, FPosition + farEdge);
    } else if (c->Align() == farAlign) {
      farAligned += horz ? m->ControlWidth() : m->ControlHeight();
    }
  }
  return range + farAligned + FMargin;
}

void TControlScrollBar::Scale(int M, int D) {
  FIncrement = std::max(1, ::MulDiv(FIncrement, M, D));
  FMargin = ::MulDiv(FMargin, M, D);
  FRange = ::MulDiv(FRange, M, D);
  FPosition = ::MulDiv(FPosition, M, D);
}

void TControlScrollBar::ScrollMessage(const TMessage& Message) {
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - ClientExtent()); break;
    case SB_PAGEDOWN: SetPosition(FPosition + ClientExtent()); break;
    case SB_THUMBPOSITION:
      SetPosition(ThumbPosition(FControl->WindowHandle(), BarCode(), Message.WParam, false));
      break;
    case SB_THUMBTRACK:
      if (FTracking) SetPosition(ThumbPosition(FControl->WindowHandle(), BarCode(), Message.WParam, false));
      break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;  // SB_ENDSCROLL: the position is already where it ends
  }
}

// ---- TScrollingWinControl -------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  FHorzScrollBar = new TControlScrollBar(this, sbHorizontal);
  FVertScrollBar = new TControlScrollBar(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() {
  // The window's last messages still reach this class's handlers and its bars.
  if (HandleAllocated()) DestroyHandle();
  delete FHorzScrollBar;
  delete FVertScrollBar;
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->FRange = 0;
    FVertScrollBar->FRange = 0;
    RangesChanged();
  }
}

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount <= 0) return;
  if (--FAutoRangeCount == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (!FAutoScroll || FAutoRangeCount > 0 || ComponentState().Contains(csDestroying)) return;
  int h = FHorzScrollBar->CalcAutoRange(), v = FVertScrollBar->CalcAutoRange();
  if (h == FHorzScrollBar->FRange && v == FVertScrollBar->FRange) return;
  FHorzScrollBar->FRange = h;
  FVertScrollBar->FRange = v;
  RangesChanged();
}

void TScrollingWinControl::RangesChanged() {
  if (HandleAllocated()) {
    UpdateScrollBars();
  } else {
    FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition);
    FVertScrollBar->SetPosition(FVertScrollBar->FPosition);
  }
}

void TScrollingWinControl::UpdateScrollBars() {
  if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
  // Showing a bar resizes the client area, which realigns and may come back here.
  if (FUpdatingScrollBars) {
    FScrollBarsDirty = true;
    return;
  }
  TFlagGuard guard(FUpdatingScrollBars);
  for (int pass = 0; pass < 3; ++pass) {
    FScrollBarsDirty = false;
    UpdateScrollBarsOnce();
    if (!FScrollBarsDirty) break;
  }
}

// Which bars show depends on both: a vertical bar narrows the client area, which may call
// for the horizontal one, which shortens it in turn. Decided up front from the size the
// client area has without bars, so the system is told once.
void TScrollingWinControl::UpdateScrollBarsOnce() {
  HWND wnd = WindowHandle();
  RECT rc;
  ::GetClientRect(wnd, &rc);
  LONG style = ::GetWindowLongW(wnd, GWL_STYLE);
  int barW = ScrollBarThickness(wnd, SM_CXVSCROLL), barH = ScrollBarThickness(wnd, SM_CYHSCROLL);
  int fullW = rc.right + ((style & WS_VSCROLL) != 0 ? barW : 0);
  int fullH = rc.bottom + ((style & WS_HSCROLL) != 0 ? barH : 0);
  TControlScrollBar* h = FHorzScrollBar;
  TControlScrollBar* v = FVertScrollBar;
  bool showV = v->FVisible && v->FRange > fullH;
  bool showH = h->FVisible && h->FRange > fullW - (showV ? barW : 0);
  if (showH && !showV) showV = v->FVisible && v->FRange > fullH - barH;
  int w = std::max(0, fullW - (showV ? barW : 0)), ht = std::max(0, fullH - (showH ? barH : 0));
  h->Apply(showH, w);
  v->Apply(showV, ht);
  ::GetClientRect(wnd, &rc);
  if (rc.right != w || rc.bottom != ht) FScrollBarsDirty = true;
  h->SetPosition(h->FPosition);
  v->SetPosition(v->FPosition);
}

void TScrollingWinControl::ScrollBy(int DX, int DY) {
  if ((DX == 0 && DY == 0) || ComponentState().Contains(csDestroying)) return;
  // Targets first: scrolling the window moves the child windows, which report it.
  std::vector<std::pair<TControl*, TRect>> targets;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    TRect r = c->BoundsRect();
    r.Offset(DX, DY);
    targets.emplace_back(c, r);
  }
  if (HandleAllocated() && ::IsWindowVisible(WindowHandle())) {
    ::ScrollWindowEx(WindowHandle(), DX, DY, nullptr, nullptr, nullptr, nullptr,
                     SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    if (ParentBackground()) ::InvalidateRect(WindowHandle(), nullptr, TRUE);
  }
  DisableAlign();
  try {
    for (auto& [c, r] : targets) c->SetBoundsRect(r);
  } catch (...) {
    EnableAlign();
    throw;
  }
  FControlState.Include(csAlignmentNeeded);
  EnableAlign();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (AControl == nullptr || AControl == this || !ContainsControl(AControl)) return;
  TRect r = AControl->BoundsRect();
  if (AControl->Parent() != this) {
    TPoint p = ScreenToClient(AControl->Parent()->ClientToScreen(r.TopLeft()));
    r = Bounds(p.X, p.Y, r.Width(), r.Height());
  }
  r.Inflate(FHorzScrollBar->Margin(), FVertScrollBar->Margin());
  int cw = ClientWidth(), ch = ClientHeight();
  if (r.Left < 0) {
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Left);
  } else if (r.Right > cw) {
    int right = std::min(r.Right, r.Left + cw);
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + right - cw);
  }
  if (r.Top < 0) {
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Top);
  } else if (r.Bottom > ch) {
    int bottom = std::min(r.Bottom, r.Top + ch);
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + bottom - ch);
  }
}

// Aligned children are laid out on the whole scrolled area, offset by the position.
void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
  Rect = Bounds(-FHorzScrollBar->FPosition, -FVertScrollBar->FPosition,
                std::max(FHorzScrollBar->FRange, Rect.Width()), std::max(FVertScrollBar->FRange, Rect.Height()));
  inherited::AdjustClientRect(Rect);
}

// The ranges follow the children; a new range or a bar coming or going changes the area
// the children are aligned in, so they are aligned again until it settles.
void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TRect area = Rect;
  for (int pass = 0; pass < 3; ++pass) {
    TRect work = area;
    inherited::AlignControls(AControl, work);
    Rect = work;
    CalcAutoRange();
    TRect next = ClientRect();
    AdjustClientRect(next);
    if (next == area) return;
    area = next;
  }
}

void TScrollingWinControl::ChangeScale(int M, int D, bool isDpiChange) {
  if (M == D) return;
  // The children are scaled where they are (scrolled), so the position scales with them.
  FHorzScrollBar->Scale(M, D);
  FVertScrollBar->Scale(M, D);
  inherited::ChangeScale(M, D, isDpiChange);
}

void TScrollingWinControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // Resizing shows more or less of the area; what stays in view need not be repainted.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TScrollingWinControl::CreateWnd() {
  inherited::CreateWnd();
  RECT rc;
  ::GetClientRect(WindowHandle(), &rc);
  FClientSize = TSize{rc.right, rc.bottom};
  UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TScrollingWinControl::WMSize(TMessage& Message) {
  int oldW = Width(), oldH = Height();
  inherited::WMSize(Message);
  if (Message.WParam == SIZE_MINIMIZED) return;
  // A bar coming or going changes the client area but not the window: realign here.
  TSize client{LOWORD(Message.LParam), HIWORD(Message.LParam)};
  bool clientChanged = !(client == FClientSize);
  FClientSize = client;
  if (clientChanged && oldW == Width() && oldH == Height() && !ComponentState().Contains(csLoading)) Realign();
  UpdateScrollBars();
}

// Only the window's own bars (no control handle) scroll the area; a scroll bar control's
// notification goes back to it.
void TScrollingWinControl::WMHScroll(TMessage& Message) {
  if (Message.LParam != 0) {
    WMScroll(Message);
    return;
  }
  FHorzScrollBar->ScrollMessage(Message);
  Message.Result = 0;
}

void TScrollingWinControl::WMVScroll(TMessage& Message) {
  if (Message.LParam != 0) {
    WMScroll(Message);
    return;
  }
  FVertScrollBar->ScrollMessage(Message);
  Message.Result = 0;
}

// Three increments per notch; partial notches of fine-grained wheels add up. Without a
// bar to scroll, the wheel goes on to the parent.
void TScrollingWinControl::WMMouseWheel(TMessage& Message) {
  TControlScrollBar* bar = FVertScrollBar->IsScrollBarVisible()   ? FVertScrollBar
                           : FHorzScrollBar->IsScrollBarVisible() ? FHorzScrollBar
                                                                  : nullptr;
  if (bar == nullptr) {
    DefaultHandler(Message);
    return;
  }
  FWheelDelta += GET_WHEEL_DELTA_WPARAM(Message.WParam);
  int notches = FWheelDelta / WHEEL_DELTA;
  FWheelDelta -= notches * WHEEL_DELTA;
  if (notches != 0) bar->SetPosition(bar->Position() - notches * bar->Increment() * 3);
  Message.Result = 0;
}

void TScrollingWinControl::WMEraseBkgnd(TMessage& Message) {
  if (!ParentBackground() || Parent() == nullptr || !Parent()->HandleAllocated()) {
    inherited::WMEraseBkgnd(Message);
    return;
  }
  ::DrawThemeParentBackground(WindowHandle(), reinterpret_cast<HDC>(Message.WParam), nullptr);
  Message.Result = 1;
}

void TScrollingWinControl::CMFocusChanged(TMessage& Message) {
  // Containers inside scroll first, so this one sees where the control ends up.
  inherited::CMFocusChanged(Message);
  auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
  if (!FAutoScrollInView || focused == nullptr || focused == this) return;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (ContainsControl(focused)) ScrollInView(focused);
}

// ---- TScrollBox / TFrame --------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csDoubleClicks, csPannable, csGestures};
  FColor = clBtnFace;
  FWidth = 185;
  FHeight = 41;
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone && Value != bsSingle)
    throw EInvalidOperation(L"A scroll box's border style is bsNone or bsSingle");
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle != bsSingle) return;
  if (FCtl3D)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  else
    Params.Style |= WS_BORDER;
}

TFrame::TFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                csParentBackground};
  FColor = clBtnFace;
  FWidth = 320;
  FHeight = 240;
}

// ---- TScrollBar -----------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  // The system control tracks the mouse itself: no capture or click handling of ours.
  FControlStyle = TControlStyle{csDoubleClicks, csOpaque};
  FWidth = 121;
  FHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  FTabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"SCROLLBAR");
  Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TRect bounds = BoundsRect();
  inherited::CreateWnd();
  // The system may size a new bar its own way; ours is the size asked for.
  if (BoundsRect() != bounds) SetBoundsRect(bounds);
  WriteScrollInfo(true);
}

void TScrollBar::WriteScrollInfo(bool Redraw) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = FMin;
  si.nMax = FMax;
  si.nPage = static_cast<UINT>(FPageSize);
  si.nPos = FPosition;
  ::SetScrollInfo(WindowHandle(), SB_CTL, &si, Redraw ? TRUE : FALSE);
}

void TScrollBar::Loaded() {
  inherited::Loaded();
  // A layout may give the values in any order; they are made consistent once all are in.
  FMax = std::max(FMax, FMin);
  FPageSize = static_cast<int>(std::clamp<int64_t>(FPageSize, 0, int64_t{FMax} - FMin + 1));
  FPosition = std::clamp(FPosition, FMin, MaxPosition());
  if (HandleAllocated()) WriteScrollInfo(true);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (ComponentState().Contains(csLoading)) {
    FPosition = APosition;
    FMin = AMin;
    FMax = AMax;
    return;
  }
  if (AMax < AMin || FPageSize > int64_t{AMax} - AMin + 1)
    throw EInvalidOperation(L"Scroll bar property out of range");
  int maxPos = FPageSize > 0 ? AMax - FPageSize + 1 : AMax;
  APosition = std::clamp(APosition, AMin, maxPos);
  bool changed = APosition != FPosition;
  if (!changed && AMin == FMin && AMax == FMax) return;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  if (HandleAllocated()) WriteScrollInfo(true);
  if (changed) Change();
}

void TScrollBar::SetPageSize(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FPageSize = Value;
    return;
  }
  if (Value < 0 || Value > int64_t{FMax} - FMin + 1) throw EInvalidOperation(L"Scroll bar property out of range");
  if (FPageSize == Value) return;
  FPageSize = Value;
  int pos = std::min(FPosition, MaxPosition());
  bool changed = pos != FPosition;
  FPosition = pos;
  if (HandleAllocated()) WriteScrollInfo(true);
  if (changed) Change();
}

void TScrollBar::SetSmallChange(int Value) { FSmallChange = std::max(Value, 1); }

void TScrollBar::SetLargeChange(int Value) { FLargeChange = std::max(Value, 1); }

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL: case CN_VSCROLL: CNScroll(Message); break;
    // The system control paints all of itself.
    case WM_ERASEBKGND: Message.Result = 1; break;
    default: inherited::Dispatch(Message); break;
  }
}

void TScrollBar::CNScroll(TMessage& Message) {
  Message.Result = 0;
  int code = LOWORD(Message.WParam);
  if (code > SB_ENDSCROLL) return;
  int64_t pos = FPosition;
  switch (code) {
    case SB_LINEUP: pos -= FSmallChange; break;
    case SB_LINEDOWN: pos += FSmallChange; break;
    case SB_PAGEUP: pos -= FLargeChange; break;
    case SB_PAGEDOWN: pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = ThumbPosition(WindowHandle(), SB_CTL, Message.WParam, FMin < 0); break;
    case SB_TOP: pos = FMin; break;
    case SB_BOTTOM: pos = FMax; break;
    default: break;
  }
  int scrollPos = static_cast<int>(std::clamp<int64_t>(pos, FMin, MaxPosition()));
  Scroll(static_cast<TScrollCode>(code), scrollPos);
  SetPosition(scrollPos);
}

// ---- Published properties -------------------------------------------------------------

KA_REGISTER_ENUM(TScrollBarKind, {{L"sbHorizontal", sbHorizontal}, {L"sbVertical", sbVertical}});
KA_REGISTER_ENUM(TScrollCode, {{L"scLineUp", scLineUp}, {L"scLineDown", scLineDown}, {L"scPageUp", scPageUp},
                               {L"scPageDown", scPageDown}, {L"scPosition", scPosition}, {L"scTrack", scTrack},
                               {L"scTop", scTop}, {L"scBottom", scBottom}, {L"scEndScroll", scEndScroll}});

KA_REGISTER_CLASS(TControlScrollBar, [](auto& c) {
  c.Property(L"Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement);
  c.Property(L"Margin", &TControlScrollBar::Margin, &TControlScrollBar::SetMargin);
  c.Property(L"Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange);
  c.Property(L"Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition);
  c.Property(L"Smooth", &TControlScrollBar::Smooth, &TControlScrollBar::SetSmooth);
  c.Property(L"Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking);
  c.Property(L"Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible);
});
KA_REGISTER_CLASS(TScrollingWinControl, [](auto& c) {
  c.Property(L"AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll);
  c.Property(L"HorzScrollBar", &TScrollingWinControl::HorzScrollBar);
  c.Property(L"VertScrollBar", &TScrollingWinControl::VertScrollBar);
});
KA_REGISTER_CLASS(TScrollBox, [](auto& c) {
  c.Property(L"BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle);
});
KA_REGISTER_CLASS(TFrame);
KA_REGISTER_CLASS(TScrollBar, [](auto& c) {
  c.Property(L"Kind", &TScrollBar::Kind, &TScrollBar::SetKind);
  c.Property(L"Min", &TScrollBar::Min, &TScrollBar::SetMin);
  c.Property(L"Max", &TScrollBar::Max, &TScrollBar::SetMax);
  c.Property(L"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
  c.Property(L"Position", &TScrollBar::Position, &TScrollBar::SetPosition);
  c.Property(L"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange);
  c.Property(L"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange);
  c.Property(L"OnChange", &TScrollBar::OnChange);
  c.Property(L"OnScroll", &TScrollBar::OnScroll);
});
