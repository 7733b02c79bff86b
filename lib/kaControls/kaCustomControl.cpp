#include "lib/kaControls/kaCustomControl.h"

#include <memory>
#include <optional>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/ScrollingControls.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"

namespace {

// Marks a control as being painted as another control's background for one scope.
class TPaintCopyScope {
 public:
  explicit TPaintCopyScope(TControl* Control) : FControl(Control) {
    FControl->SetControlState(FControl->ControlState() + TControlState{csPaintCopy});
  }
  ~TPaintCopyScope() { FControl->SetControlState(FControl->ControlState() - TControlState{csPaintCopy}); }
  TPaintCopyScope(const TPaintCopyScope&) = delete;
  TPaintCopyScope& operator=(const TPaintCopyScope&) = delete;

 private:
  TControl* FControl;
};

// Moves the viewport origin by (DX, DY) from where it is, so nested captures compose.
void OffsetViewport(HDC DC, int DX, int DY) {
  POINT org;
  ::GetViewportOrgEx(DC, &org);
  ::SetViewportOrgEx(DC, org.x + DX, org.y + DY, nullptr);
}

bool FluentUIBuildAvailable() { return IsWindows10OrLater() && WindowsBuildNumber() >= kaBuildFluentUI; }

}  // namespace

// ---- The opaque layered mode ----------------------------------------------------------------

bool FluentUIOpaqueActive(const TComponent* Control, bool Wanted) {
  return Wanted && !Control->ComponentState().Contains(csDesigning) && FluentUIBuildAvailable();
}

void FluentUIOpaqueChanged(TWinControl* Control) {
  const TComponentState state = Control->ComponentState();
  if (state.Contains(csDesigning) || state.Contains(csLoading) || state.Contains(csDestroying)) return;
  // A window without a handle takes the style when it is created.
  if (FluentUIBuildAvailable() && Control->HandleAllocated()) Control->Perform(CM_RECREATEWND);
}

void FluentUIOpaqueCreated(TWinControl* Control) {
  ::SetLayeredWindowAttributes(Control->WindowHandle(), 0, 255, LWA_ALPHA);
  if (Control->Visible()) ::SetTimer(Control->WindowHandle(), kaFluentUIOpaqueTimerID, 10, nullptr);
}

bool FluentUIOpaqueTick(TWinControl* Control, const TMessage& Message) {
  if (Message.Msg != WM_TIMER || Message.WParam != kaFluentUIOpaqueTimerID || !Control->HandleAllocated())
    return false;
  ::KillTimer(Control->WindowHandle(), kaFluentUIOpaqueTimerID);
  ::RedrawWindow(Control->WindowHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  return true;
}

// ---- Construction -------------------------------------------------------------------------

TkaCustomControl::TkaCustomControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ParentBGBuffer = new TBitmap();
}

TkaCustomControl::~TkaCustomControl() {
  delete FPaintBuffer;
  delete ParentBGBuffer;
}

// ---- Painting -----------------------------------------------------------------------------

// A small exposure (a window above moving away, a child hiding) must not cost a full paint:
// a paint from the window's own update region draws only the visible part of that region,
// when the rest of the buffer is either kept from the last paint at this size or unread.
// Children copy their background from a stored buffer, so a stored buffer that is new or
// resized is always painted whole.
TRect TkaCustomControl::PaintArea(bool BufferKept) {
  const TRect all(0, 0, Width(), Height());
  if (!FromWMPaint || FPaintNesting > 0 || ControlState().Contains(csPaintCopy) || FUpdateArea == all) return all;
  if (FStorePaintBuffer && !BufferKept) return all;
  RECT clip;
  switch (::GetClipBox(Canvas()->Handle(), &clip)) {
    case NULLREGION: return TRect();
    case ERROR: return all;
    default: break;
  }
  TRect area(std::max<int>(clip.left, 0), std::max<int>(clip.top, 0), std::min<int>(clip.right, all.Right),
             std::min<int>(clip.bottom, all.Bottom));
  if (area.Right <= area.Left || area.Bottom <= area.Top) return TRect();
  return area;
}

void TkaCustomControl::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  const bool kept = FStorePaintBuffer && FPaintBuffer != nullptr && FBufferComplete && FPaintBuffer->Width() == w &&
                    FPaintBuffer->Height() == h;
  const TRect area = PaintArea(kept);
  if (area.Right <= area.Left || area.Bottom <= area.Top) {
    ++FPaintStats.EmptyPaints;
    return;
  }
  // A paint can nest inside another paint of the same control (a child capturing it as
  // background); a temporary buffer then must not pull the outer paint's buffer away.
  TBitmap* previous = FPaintBuffer;
  std::unique_ptr<TBitmap> temporary;
  if (!FStorePaintBuffer || FPaintBuffer == nullptr) {
    temporary = std::make_unique<TBitmap>();
    FPaintBuffer = temporary.get();
  }
  struct TFinish {
    TkaCustomControl* Self;
    TBitmap* Previous;
    std::unique_ptr<TBitmap>& Temporary;
    ~TFinish() {
      --Self->FPaintNesting;
      if (!Temporary) return;
      if (Self->FStorePaintBuffer && Previous == nullptr) {
        Temporary.release();  // kept as the stored buffer
        return;
      }
      // Not stored: the buffer lives for this paint only; a stale stored one goes too.
      Self->FPaintBuffer = Self->FPaintNesting > 0 ? Previous : nullptr;
      if (Self->FPaintNesting == 0) delete Previous;
    }
  } finish{this, previous, temporary};
  ++FPaintNesting;
  const TkasCtrlState state = DrawBuffer(area);
  // Painted as another control's background, the picture went there, not to the screen.
  if (!ControlState().Contains(csPaintCopy)) ShownInState(state);
}

TkasCtrlState TkaCustomControl::DrawBuffer(const TRect& Area) {
  const bool whole = Area == TRect(0, 0, Width(), Height());
  FBufferComplete = false;  // until this paint is through: a throw leaves a part drawn
  FPaintBuffer->SetSize(Width(), Height());
  if (FTransparentBackground && !FStopEraseBackground) CaptureParentBackground();
  TCanvas* canvas = FPaintBuffer->Canvas();
  std::optional<TCanvasStateSaver> clip;
  if (!whole) clip.emplace(canvas, Area);
  DrawBackground(canvas);
  const TkasCtrlState state = GetCtrlState();
  ++FPaintStats.Paints;
  if (!whole) ++FPaintStats.PartialPaints;
  DrawControl(canvas, state);
  if (whole)
    Canvas()->Draw(0, 0, FPaintBuffer);
  else
    Canvas()->CopyRect(Area, canvas, Area);
  FBufferComplete = FStorePaintBuffer;
  return state;
}

void TkaCustomControl::ShownInState(TkasCtrlState State) {
  // Drawn past Paint (a cross-fade): the stored buffer no longer shows what the screen does.
  if (FPaintNesting == 0) FBufferComplete = false;
  FPainted = true;
  FPaintedState = State;
}

void TkaCustomControl::RePaintControl() {
  TkaFlagScope stopErase(FStopEraseBackground);
  TkaFlagScope forceDraw(FForceDraw);
  Repaint();
}

void TkaCustomControl::UpdateControls() {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      ::SendMessageW(w->Handle(), WM_PARENTBGCHANGED, 0, 0);
    else if (dynamic_cast<TGraphicControl*>(c) != nullptr)
      c->Perform(WM_PARENTBGCHANGED, 0, 0);
  }
}

void TkaCustomControl::FullUpdateControl() {
  TkaFlagScope full(FFullUpdating);
  RePaintControl();
  UpdateControls();
}

void TkaCustomControl::SetRedraw(bool AValue, bool AUpdate) {
  if (!HandleAllocated()) return;
  ::SendMessageW(WindowHandle(), WM_SETREDRAW, AValue ? 1 : 0, 0);
  if (AValue && AUpdate)
    ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool TkaCustomControl::CanPaintOnErase() {
  return !FForceDraw && !FromWMPaint && FDrawOnBackground && !ControlState().Contains(csPaintCopy);
}

TkasCtrlState TkaCustomControl::GetCtrlState() { return Enabled() ? kasNormal : kasDisabled; }

void TkaCustomControl::DrawBackground(TCanvas* ACanvas) {
  if (!FTransparentBackground) return;
  if (ParentBGBuffer->Width() != Width() || ParentBGBuffer->Height() != Height()) CaptureParentBackground();
  ACanvas->Draw(0, 0, ParentBGBuffer);
}

// ---- Background capture -----------------------------------------------------------------

bool TkaCustomControl::CopyFromParentBuffer(TBitmap* Buffer, int AreaWidth, int AreaHeight) {
  if (Buffer == nullptr || Buffer->Width() <= 0 || Buffer->Height() <= 0 || Buffer->Width() != AreaWidth ||
      Buffer->Height() != AreaHeight)
    return false;
  ParentBGBuffer->Canvas()->CopyRect(Rect(0, 0, Width(), Height()), Buffer->Canvas(),
                                     Rect(Left(), Top(), Left() + Width(), Top() + Height()));
  return true;
}

void TkaCustomControl::CaptureParentBackground() {
  if (!FTransparentBackground) {
    FUpdateParentBuffer = false;
    if (ParentBGBuffer->Width() * ParentBGBuffer->Height() != 0) ParentBGBuffer->SetSize(0, 0);
    return;
  }
  TWinControl* p = Parent();
  if (FBlurBackground && ParentBGBuffer->PixelFormat() != pf32bit) ParentBGBuffer->SetPixelFormat(pf32bit);
  if (Width() * Height() == 0) return;
  if (ParentBGBuffer->Width() != Width() || ParentBGBuffer->Height() != Height())
    ParentBGBuffer->SetSize(Width(), Height());

  auto* kaParent = dynamic_cast<TkaCustomControl*>(p);
  struct TGetBGScope {
    TkaCustomControl* Parent;
    ~TGetBGScope() {
      if (Parent != nullptr) Parent->FGetControlBG = false;
    }
  } getBG{kaParent};
  if (kaParent != nullptr) kaParent->FGetControlBG = true;

  auto* lender = dynamic_cast<IkaPaintBufferLender*>(p);
  bool copied = lender != nullptr && CopyFromParentBuffer(lender->LentPaintBuffer(), p->ClientWidth(), p->ClientHeight());
  if (!copied && !FUpdateParentBuffer && kaParent != nullptr && kaParent->FStorePaintBuffer)
    copied = CopyFromParentBuffer(kaParent->FPaintBuffer, kaParent->Width(), kaParent->Height());
  ++FPaintStats.Captures;
  if (!copied) {
    ++FPaintStats.ParentRepaints;
    DrawParentImage(this, ParentBGBuffer->Canvas());
  }
  if (FBlurBackground) StackBlur(ParentBGBuffer, FBlurBackgroundAmount);
  FUpdateParentBuffer = false;
}

void TkaCustomControl::RecaptureAndNotify() {
  CaptureParentBackground();
  RePaintControl();
  UpdateControls();
}

// ---- Properties ---------------------------------------------------------------------------

void TkaCustomControl::SetTransparentBackground(bool Value) { FTransparentBackground = Value; }

void TkaCustomControl::SetDrawTextMode(TkaDrawTextMode Value) {
  if (FDrawTextMode == Value) return;
  FDrawTextMode = Value;
  RePaintControl();
}

void TkaCustomControl::SetBlurBackground(bool Value) {
  if (FBlurBackground == Value) return;
  FBlurBackground = Value;
  if (FTransparentBackground) RecaptureAndNotify();
}

void TkaCustomControl::SetBlurBackgroundAmount(int Value) {
  if (Value == FBlurBackgroundAmount || Value <= 0 || Value > 20) return;
  FBlurBackgroundAmount = Value;
  if (FTransparentBackground && FBlurBackground) RecaptureAndNotify();
}

bool TkaCustomControl::IsFluentUIOpaqueActive() const { return FluentUIOpaqueActive(this, FFluentUIOpaque); }

void TkaCustomControl::SetFluentUIOpaque(bool Value) {
  if (FFluentUIOpaque == Value) return;
  FFluentUIOpaque = Value;
  FluentUIOpaqueChanged(this);
}

// ---- Geometry and scaling -------------------------------------------------------------------

void TkaCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  std::vector<TkaCustomControl*> children;
  if (ControlStyle().Contains(csAcceptsControls))
    for (int i = 0; i < ControlCount(); ++i)
      if (auto* c = dynamic_cast<TkaCustomControl*>(Controls(i))) children.push_back(c);
  struct TClearChildren {
    std::vector<TkaCustomControl*>& List;
    ~TClearChildren() {
      for (TkaCustomControl* c : List) c->FForceDraw = false;
    }
  } clear{children};
  for (TkaCustomControl* c : children) c->FForceDraw = true;
  TkaFlagScope force(FForceDraw);
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TkaCustomControl::ScaleForPPI(int NewPPI) {
  DisableAlign();
  struct TEnable {
    TWinControl* Self;
    ~TEnable() { Self->EnableAlign(); }
  } enable{this};
  inherited::ScaleForPPI(NewPPI);
}

void TkaCustomControl::ChangeScale(int M, int D, bool isDpiChange) {
  const double before = ScaleFactor();
  inherited::ChangeScale(M, D, isDpiChange);
  if (ScaleFactor() != before && OnChangeScale) OnChangeScale(this);
}

void TkaCustomControl::UpdateStyleElements() { RePaintControl(); }

// ---- Window ---------------------------------------------------------------------------------

void TkaCustomControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (IsFluentUIOpaqueActive()) Params.ExStyle |= WS_EX_LAYERED;
}

void TkaCustomControl::CreateWnd() {
  inherited::CreateWnd();
  if (!IsFluentUIOpaqueActive()) return;
  // The layer hides what lies under it: there is nothing to see through.
  FTransparentBackground = false;
  FluentUIOpaqueCreated(this);
}

void TkaCustomControl::WndProc(TMessage& Message) {
  inherited::WndProc(Message);
  FluentUIOpaqueTick(this, Message);
}

void TkaCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_PARENTBGCHANGED: WMParentBGChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaCustomControl::WMPaint(TMessage& Message) {
  TkaFlagScope fromPaint(FromWMPaint);
  RECT update;
  FUpdateArea = TRect(0, 0, Width(), Height());
  if (Message.WParam == 0 && ::GetUpdateRect(WindowHandle(), &update, FALSE))
    FUpdateArea = TRect(update.left, update.top, update.right, update.bottom);
  inherited::Dispatch(Message);
}

void TkaCustomControl::WMEraseBkgnd(TMessage& Message) {
  if (CanPaintOnErase()) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TkaCustomControl::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!FTransparentBackground && !FStorePaintBuffer) return;
  if (FStorePaintBuffer) Repaint();
  UpdateControls();
}

void TkaCustomControl::WMMove(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FTransparentBackground) RecaptureAndNotify();
}

void TkaCustomControl::WMParentBGChanged(TMessage&) {
  if (FTransparentBackground) RecaptureAndNotify();
}

void TkaCustomControl::CMEnabledChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  RePaintControl();
}

// ---- Free routines --------------------------------------------------------------------------

void SetControlsDrawTextMode(TControl* Control, TkaDrawTextMode Mode) {
  if (auto* ka = dynamic_cast<TkaCustomControl*>(Control)) ka->FDrawTextMode = Mode;
  if (auto* w = dynamic_cast<TWinControl*>(Control))
    for (int i = 0; i < w->ControlCount(); ++i) SetControlsDrawTextMode(w->Controls(i), Mode);
}

namespace {

void DrawStatusBarBackground(TControl* C, TWinControl* P, HDC DC) {
  TRect r(-5, -C->Top(), C->Width() + 5, P->Height() - C->Top());
  TCustomStyleServices* styles = StyleServices(P);
  if (styles->Enabled()) {
    styles->DrawElement(DC, TCustomStyleServices::GetElementDetails(tsStatusRoot), r);
    styles->DrawElement(DC, TCustomStyleServices::GetElementDetails(tsPane), r);
    return;
  }
  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(r);
  canvas.FillRect(r);
  Frame3D(&canvas, r, clBtnShadow, clBtnHighlight, 1);
  canvas.SetHandle(nullptr);
}

void DrawTabPageBackground(TWinControl* P, HDC DC) {
  TRect r(-P->Left(), -P->Top(), P->ClientWidth() + P->Left(), P->ClientHeight() + P->Top());
  TCustomStyleServices* styles = StyleServices(P->Parent());
  if (styles->Enabled()) {
    styles->DrawElement(DC, TCustomStyleServices::GetElementDetails(ttPane), r);
    return;
  }
  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(r);
  Frame3D(&canvas, r, clBtnHighlight, cl3DDkShadow, 1);
  Frame3D(&canvas, r, cl3DLight, clBtnShadow, 1);
  canvas.SetHandle(nullptr);
}

// Paints the parent itself, by its kind, into a DC whose origin is the parent's client
// origin.
void PaintParentFace(TWinControl* P, HDC DC) {
  const String cls = P->ClassName();
  TRect body(-P->Left(), -P->Top(), P->ClientWidth() + P->Left(), P->ClientHeight() + P->Top());
  TCustomStyleServices* styles = StyleServices(P);
  if (cls == L"TkaToolBar") {
    if (styles->Enabled()) {
      styles->DrawElement(DC, TCustomStyleServices::GetElementDetails(teToolBar), body);
    } else {
      TCanvas canvas;
      canvas.SetHandle(DC);
      canvas.Brush()->SetColor(clBtnFace);
      canvas.FillRect(body);
      canvas.SetHandle(nullptr);
    }
  } else if (cls == L"TkaTabSheet") {
    P->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  } else if (cls == L"TTabPage" && styles->Enabled()) {
    styles->DrawElement(DC, TCustomStyleServices::GetElementDetails(ttPane), body);
  } else if (dynamic_cast<TFrame*>(P) != nullptr && P->ControlStyle().Contains(csParentBackground)) {
    if (TWinControl* frameParent = P->Parent()) {
      OffsetViewport(DC, -P->Left(), -P->Top());
      struct TBack {
        HDC DC;
        int X, Y;
        ~TBack() { OffsetViewport(DC, X, Y); }
      } back{DC, P->Left(), P->Top()};
      frameParent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    }
  } else {
    P->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    if (dynamic_cast<TCustomForm*>(P) == nullptr && cls != L"TTitleBarPanel") P->PaintWindow(DC);
  }
}

// The graphic siblings listed before C (all of them: graphic controls come first) that
// overlap it, each at its place under C.
void PaintLowerGraphicSiblings(TControl* C, TWinControl* P, HDC DC, int DX, int DY) {
  const TRect bounds = C->BoundsRect();
  for (int i = 0; i < P->ControlCount(); ++i) {
    TControl* s = P->Controls(i);
    if (s == C) break;
    auto* g = dynamic_cast<TGraphicControl*>(s);
    if (g == nullptr || !g->Visible()) continue;
    TRect sb = g->BoundsRect();
    if (sb.Left >= bounds.Right || bounds.Left >= sb.Right || sb.Top >= bounds.Bottom || bounds.Top >= sb.Bottom)
      continue;
    TPaintCopyScope paintCopy(g);
    TDCStateSaver saver(DC);
    OffsetViewport(DC, g->Left() + DX, g->Top() + DY);
    ::IntersectClipRect(DC, 0, 0, g->Width(), g->Height());
    g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

}  // namespace

void DrawParentImage(TControl* Control, TCanvas* ACanvas) {
  if (Control == nullptr || Control->Parent() == nullptr || ACanvas == nullptr) return;
  TWinControl* p = Control->Parent();
  HDC dc = ACanvas->Handle();
  const String cls = p->ClassName();
  if (cls == L"TkaStatusBar") {
    TDCStateSaver saver(dc);
    DrawStatusBarBackground(Control, p, dc);
    return;
  }
  if (cls == L"TTabPage" && p->Parent() != nullptr && String(p->Parent()->ClassName()) == L"TTabbedNotebook") {
    TDCStateSaver saver(dc);
    DrawTabPageBackground(p, dc);
    return;
  }
  if (IsCustomStyleActive(p) && cls != L"TkaToolBar") {
    auto* w = dynamic_cast<TWinControl*>(Control);
    StyleServices(p)->DrawParentBackground(w != nullptr ? w->WindowHandle() : nullptr, dc, nullptr, false);
    return;
  }
  // The offset also removes the control's own border: its client origin may lie inside
  // its bounds.
  TPoint clientOrigin = Control->ClientToScreen(TPoint(0, 0));
  TPoint boundsOrigin = p->ClientToScreen(TPoint(Control->Left(), Control->Top()));
  const int dx = -Control->Left() - (clientOrigin.X - boundsOrigin.X);
  const int dy = -Control->Top() - (clientOrigin.Y - boundsOrigin.Y);
  TPaintCopyScope paintCopy(p);
  {
    TDCStateSaver saver(dc);
    OffsetViewport(dc, dx, dy);
    ::IntersectClipRect(dc, 0, 0, p->ClientWidth(), p->ClientHeight());
    PaintParentFace(p, dc);
  }
  PaintLowerGraphicSiblings(Control, p, dc, dx, dy);
}

KA_REGISTER_ENUM(TkaDrawTextMode, {{L"kadtmGDI", kadtmGDI}, {L"kadtmGDIPlus", kadtmGDIPlus}});
KA_REGISTER_CLASS(TkaCustomControl, [](auto& c) {
  c.Property(L"FluentUIOpaque", &TkaCustomControl::FluentUIOpaque, &TkaCustomControl::SetFluentUIOpaque);
  c.Property(L"OnChangeScale", &TkaCustomControl::OnChangeScale);
});
