#include "lib/kaGPControls/GPGlyphContainerButton.h"

#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"

using namespace Gdiplus;

// The hook and the button share this; the button lets go of it (Button nullptr) when it
// unhooks or is freed, so a hook that stays behind only passes messages on.
struct TkaGPGlyphContainerButton::THookState {
  TkaGPGlyphContainerButton* Button = nullptr;
  TControl* Control = nullptr;
  TWndMethod OldWndProc;
};

// What the hosted control's WindowProc becomes.
struct TkaGPGlyphContainerButton::THook {
  std::shared_ptr<THookState> State;

  void operator()(TMessage& Message) const {
    // The procedure may be put back (destroying this hook) while a message runs through it.
    const std::shared_ptr<THookState> S = State;
    if (S->Button != nullptr && S->Button->GlyphContainerMessage(S->Control, Message)) return;
    if (S->OldWndProc)
      S->OldWndProc(Message);
    else
      S->Control->WndProc(Message);
  }
};

TkaGPGlyphContainerButton::TkaGPGlyphContainerButton(TComponent* AOwner) : TkaGPCustomGlyphButton(AOwner) {
  FControlStyle += TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents};
  // The hosted control captures its background from the face as last painted.
  FStorePaintBuffer = true;
  FTextMargin = -1;
}

TkaGPGlyphContainerButton::~TkaGPGlyphContainerButton() {
  // A hosted control still here (a child is freed after this) outlives the button.
  UnhookGlyphContainer(true);
  ReplaceReference(FGlyphContainer, static_cast<TControl*>(nullptr));
}

// ---- Hosted control -----------------------------------------------------------------------

void TkaGPGlyphContainerButton::SetGlyphContainer(TControl* Value) {
  if (Value == FGlyphContainer) return;
  // Hosting itself or a control it lies in would hide the button from the mouse.
  auto* Windowed = dynamic_cast<TWinControl*>(Value);
  if (Windowed != nullptr && Windowed->ContainsControl(this)) return;
  UnhookGlyphContainer(true);
  ReplaceReference(FGlyphContainer, Value);
  HookGlyphContainer();
  RePaintControl();
}

void TkaGPGlyphContainerButton::SetGlyphContainerSize(int Value) {
  if (Value >= 0) SetAndRepaint(FGlyphContainerSize, Value);
}

void TkaGPGlyphContainerButton::HookGlyphContainer() {
  if (FGlyphContainer == nullptr || ComponentState().Contains(csDesigning)) return;
  auto S = std::make_shared<THookState>();
  S->Button = this;
  S->Control = FGlyphContainer;
  S->OldWndProc = FGlyphContainer->WindowProc;
  FGlyphContainer->WindowProc = THook{S};
  FOldGlyphContainerWndProc = std::move(S);
}

void TkaGPGlyphContainerButton::UnhookGlyphContainer(bool Restore) {
  if (!FOldGlyphContainerWndProc) return;
  const std::shared_ptr<THookState> S = std::move(FOldGlyphContainerWndProc);
  S->Button = nullptr;
  if (!Restore) return;
  // A hook installed after this one keeps ours as its previous procedure: ours then stays
  // in the chain and only passes messages on.
  const THook* Installed = S->Control->WindowProc.target<THook>();
  if (Installed != nullptr && Installed->State == S) S->Control->WindowProc = S->OldWndProc;
}

bool TkaGPGlyphContainerButton::GlyphContainerMessage(TControl* Control, TMessage& Message) {
  if (dynamic_cast<TWinControl*>(Control) == nullptr) {
    // A graphic control that lets the point through is skipped by the parent's hit test.
    if (Message.Msg != CM_HITTEST) return false;
    Message.Result = 0;
    return true;
  }
  if (Message.Msg == WM_NCHITTEST) {
    // The system then looks for the window under it: the button.
    Message.Result = HTTRANSPARENT;
    return true;
  }
  // The animated image paints all of itself; erasing first would flash.
  if (Message.Msg == WM_ERASEBKGND && Control->ClassNameIs(L"TSkAnimatedImage")) {
    Message.Result = 1;
    return true;
  }
  return false;
}

void TkaGPGlyphContainerButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FGlyphContainer) return;
  // Being freed: its WindowProc is already gone with its control part, so nothing is put
  // back. Only leaving its owner: it lives on and gets its procedure back.
  UnhookGlyphContainer(!AComponent->ComponentState().Contains(csDestroying));
  FGlyphContainer = nullptr;
}

// ---- Painting -----------------------------------------------------------------------------

void TkaGPGlyphContainerButton::RePaintControl() {
  if (!HandleAllocated()) {
    inherited::RePaintControl();
    return;
  }
  TkaFlagScope StopErase(FStopEraseBackground);
  TkaFlagScope ForceDraw(FForceDraw);
  ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TkaGPGlyphContainerButton::DrawContent(Graphics* G, TCanvas* ACanvas, const TRect& Content) {
  const TkaGPContentLayout Place = ContentLayout(Content);
  TRect C = Place.Icon;
  if (FGlyphContainerSize > 0) {
    // Centred; a control larger than the square overhangs it on both sides.
    const int X = C.Left + (C.Width() - FGlyphContainerSize) / 2;
    const int Y = C.Top + (C.Height() - FGlyphContainerSize) / 2;
    C = Bounds(X, Y, FGlyphContainerSize, FGlyphContainerSize);
  }
  C.Right = C.Left + C.Height();
  if (FGlyphContainer != nullptr && FGlyphContainer->BoundsRect() != C) {
    // A windowed control moved now re-captures its background from the face drawn so far.
    G->Flush(FlushIntentionSync);
    FGlyphContainer->SetBoundsRect(C);
    // Once this paint is complete it paints again over the whole face.
    if (auto* W = dynamic_cast<TWinControl*>(FGlyphContainer); W != nullptr && W->HandleAllocated())
      ::InvalidateRect(W->WindowHandle(), nullptr, FALSE);
  }
  if (!FShowCaption) return;
  TRect M = Place.Caption;
  switch (Place.Layout) {
    case blGlyphLeft: M.Left = C.Right; break;
    case blGlyphRight: M.Right = C.Left; break;
    case blGlyphTop: M.Top = C.Bottom; break;
    case blGlyphBottom: M.Bottom = C.Top; break;
  }
  DrawCaption(G, ACanvas, M);
}

// ---- Behaviour ----------------------------------------------------------------------------

bool TkaGPGlyphContainerButton::IsGroupSibling(const TControl* Control) const {
  return dynamic_cast<const TkaGPGlyphContainerButton*>(Control) != nullptr;
}

void TkaGPGlyphContainerButton::ScaleIcon(int M, int D) {
  if (FGlyphContainerSize > 0) FGlyphContainerSize = ::MulDiv(FGlyphContainerSize, M, D);
}

void TkaGPGlyphContainerButton::ShowFocusChange(bool) {
  // The face under the hosted control changes too: the base's repaint of the button's own
  // window would leave it over the old face.
  if (!ComponentState().Contains(csLoading)) RePaintControl();
}

// ---- Layout streaming -----------------------------------------------------------------------

using TBtn = TkaGPGlyphContainerButton;
KA_REGISTER_CLASS(TkaGPGlyphContainerButton, [](auto& c) {
  c.Property(L"GlyphContainer", &TBtn::GlyphContainer, &TBtn::SetGlyphContainer);
  c.Property(L"GlyphContainerSize", &TBtn::GlyphContainerSize, &TBtn::SetGlyphContainerSize);
});
