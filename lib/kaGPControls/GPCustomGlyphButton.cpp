#include "lib/kaGPControls/GPCustomGlyphButton.h"

#include <algorithm>

#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

TkaGPCustomGlyphButton::TkaGPCustomGlyphButton(TComponent* AOwner)
    : TkaCustomPushButtonControl(AOwner), FBadge(new TkaGPButtonBadge), FOptions(new TkaGPButtonOptions(this)) {
  FShowCaption = false;
  FOptions->SetFrameWidth(2);
  FOptions->SetNormalColor(clBtnText);
  FOptions->SetNormalColorAlpha(10);
  FOptions->SetHotColor(clBtnText);
  FOptions->SetHotColorAlpha(20);
  FOptions->SetPressedColor(clBtnText);
  FOptions->SetPressedColorAlpha(30);
  FOptions->SetDisabledColor(clBtnText);
  FOptions->SetDisabledColorAlpha(5);
  FOptions->SetFrameNormalColor(clBtnText);
  FOptions->SetFrameNormalColorAlpha(70);
  FOptions->SetFrameHotColor(clBtnText);
  FOptions->SetFrameHotColorAlpha(100);
  FOptions->SetFramePressedColor(clBtnText);
  FOptions->SetFramePressedColorAlpha(150);
  FOptions->SetFrameDisabledColor(clBtnText);
  FOptions->SetFrameDisabledColorAlpha(30);
  FOptions->OnChange = [this](TObject*) { OptionsChanged(); };
  FBadge->OnChange = [this](TObject*) { OptionsChanged(); };
  SetBounds(Left(), Top(), 50, 50);
}

TkaGPCustomGlyphButton::~TkaGPCustomGlyphButton() {
  StopFluentLightTimer();
  FBadge->Free();
  FOptions->Free();
}

void TkaGPCustomGlyphButton::OptionsChanged() {
  if (!ComponentState().Contains(csLoading) && !FChangingScale) RePaintControl();
}

// ---- Properties -----------------------------------------------------------------------------

void TkaGPCustomGlyphButton::SetTextMargin(int Value) { SetAndRepaint(FTextMargin, Value); }

void TkaGPCustomGlyphButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  inherited::SetDefault(Value);
  TCustomForm* Form = GetParentForm(this);
  FocusChangedTo(Form != nullptr ? Form->ActiveControl() : nullptr);
}

void TkaGPCustomGlyphButton::SetFluentLightEffect(bool Value) {
  if (FFluentLightEffect == Value) return;
  FFluentLightEffect = Value;
  if (!Value) {
    StopFluentLightTimer();
    FMouseLDown = false;
  }
  RePaintControl();
}

void TkaGPCustomGlyphButton::SetTransparentBackground(bool Value) {
  if (FTransparentBackground == Value) return;
  inherited::SetTransparentBackground(Value);
  RePaintControl();
}

void TkaGPCustomGlyphButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // A round button stays a circle.
  if (FOptions->ShapeStyle() == kagpRounded && !ComponentState().Contains(csLoading)) AWidth = AHeight;
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TkaGPCustomGlyphButton::Loaded() {
  inherited::Loaded();
  if (FOptions->ShapeStyle() == kagpRounded && Width() != Height()) SetBounds(Left(), Top(), Height(), Height());
}

void TkaGPCustomGlyphButton::ChangeScale(int M, int D, bool isDpiChange) {
  auto scaled = [M, D](int V) { return ::MulDiv(V, M, D); };
  auto scaledByte = [&](uint8_t V) { return static_cast<uint8_t>(std::clamp(scaled(V), 0, 255)); };
  {
    TkaFlagScope Scaling(FChangingScale);
    if (FScaleFrameWidth) FOptions->SetFrameWidth(scaled(FOptions->FrameWidth()));
    if (FTextMargin > 0) FTextMargin = scaled(FTextMargin);
    ScaleIcon(M, D);
    FOptions->SetShapeStyleLineSize(scaled(FOptions->ShapeStyleLineSize()));
    FOptions->SetShapeCornerRadius(scaled(FOptions->ShapeCornerRadius()));
    FOptions->SetArrowSize(scaled(FOptions->ArrowSize()));
    FOptions->SetArrowAreaSize(scaled(FOptions->ArrowAreaSize()));
    if (FOptions->ArrowThicknessScaled()) FOptions->SetArrowThickness(scaledByte(FOptions->ArrowThickness()));
    FBadge->Font()->SetHeight(scaled(FBadge->Font()->Height()));
  }
  inherited::ChangeScale(M, D, isDpiChange);
  RePaintControl();
}

bool TkaGPCustomGlyphButton::CanFocus() const { return FCanFocused && inherited::CanFocus(); }

// ---- State and clicks -----------------------------------------------------------------------

TkasCtrlState TkaGPCustomGlyphButton::GetCtrlState() {
  if (FDown) return FMouseIn && FOptions->PressedHotColors() ? kasHot : kasPressed;
  if (!Enabled()) return kasDisabled;
  if (FMenuDroppedDown) return kasHot;
  if ((FMouseIn && FPressed) || FIsDown) return kasPressed;
  if (!FMouseIn && !IsActiveDefault()) return Focused() && FCanFocused ? kasFocused : kasNormal;
  return kasHot;
}

bool TkaGPCustomGlyphButton::AnswersEnter(const TObject* Control) const {
  return dynamic_cast<const TkaCustomButtonControl*>(Control) != nullptr;
}

// ---- Fluent light ---------------------------------------------------------------------------

void TkaGPCustomGlyphButton::MouseMove(TShiftState Shift, int X, int Y) {
  const bool Moved = X != FMouseX || Y != FMouseY;
  // Taken first: an enter or leave the move causes repaints with the light already here.
  FMouseX = X;
  FMouseY = Y;
  const unsigned Painted = FPaintStats.Paints;
  inherited::MouseMove(Shift, X, Y);
  // The picture shows the light where it is: nothing moved, or it was painted since.
  if (!FFluentLightEffect || !Moved || FPaintStats.Paints != Painted) return;
  // A finished ripple waits for its last tick; repainting now would show it again.
  if (FMouseLDown && FFluentLightPressedEffectAmount > kaFluentLightLastStep) return;
  RePaintControl();
}

void TkaGPCustomGlyphButton::TakePointerPosition() {
  POINT P;
  if (!HandleAllocated() || !::GetCursorPos(&P) || !::ScreenToClient(WindowHandle(), &P)) return;
  FMouseX = P.x;
  FMouseY = P.y;
}

void TkaGPCustomGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // A press that cannot open a drop-down has its ripple from the start: the base's repaint
  // of the press then shows both, and no second paint follows.
  const bool RippleFirst = Button == mbLeft && FFluentLightEffect && !FMenuTracking &&
                           (FGroupIndex > 0 || FToggleMode || !HasDropDown());
  const unsigned Painted = FPaintStats.Paints;
  if (RippleFirst) StartPressLight(X, Y);
  inherited::MouseDown(Button, Shift, X, Y);
  if (!RippleFirst) {
    if (Button != mbLeft || !FFluentLightEffect || FDropDownCall || FMenuTracking) return;
    StartPressLight(X, Y);
  }
  if (!RippleFirst || FPaintStats.Paints == Painted) RePaintControl();
  if (HandleAllocated()) ::SetTimer(WindowHandle(), kaFluentLightTimerID, kaFluentLightTimerMs, nullptr);
}

void TkaGPCustomGlyphButton::StartPressLight(int X, int Y) {
  FFluentLightPressedEffectAmount = 0;
  FMouseX = X;
  FMouseY = Y;
  FMouseLDown = true;
}

void TkaGPCustomGlyphButton::DoMouseLeave() {
  if (FMouseLDown) {
    StopFluentLightTimer();
    FMouseLDown = false;
  }
  inherited::DoMouseLeave();
}

void TkaGPCustomGlyphButton::StopFluentLightTimer() {
  if (HandleAllocated()) ::KillTimer(WindowHandle(), kaFluentLightTimerID);
}

void TkaGPCustomGlyphButton::FluentLightTick() {
  // A tick already queued when the ripple was ended (or the effect switched off) is stale.
  if (!FFluentLightEffect || !FMouseLDown) {
    StopFluentLightTimer();
    return;
  }
  if (FFluentLightPressedEffectAmount > kaFluentLightLastStep) {
    FMouseLDown = false;
    StopFluentLightTimer();
    RePaintControl();
    return;
  }
  RePaintControl();
  ++FFluentLightPressedEffectAmount;
}

void TkaGPCustomGlyphButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kaFluentLightTimerID)
        FluentLightTick();
      else
        inherited::Dispatch(Message);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // The frame's hit test hides the button from the pointer, so whatever enter or leave
      // the client side reports is stale: the frame's own messages decide.
      if (FFrameDriven) {
        Message.Result = 0;
        break;
      }
      // The pointer comes in with a move that is handled after this message: the enter's
      // repaint draws the light where the pointer is, not where it last left, and the move
      // then has nothing to repaint.
      if (Message.Msg == CM_MOUSEENTER && !FMouseIn && FFluentLightEffect) TakePointerPosition();
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaGPCustomGlyphButton::CheckMouseLeave(TObject* Sender) {
  // The poll asks which window is under the pointer; over a frame-driven button that is the
  // frame, which is no leave.
  if (FFrameDriven) {
    StopMouseTimer();
    return;
  }
  inherited::CheckMouseLeave(Sender);
}

// ---- Driven by the window frame -------------------------------------------------------------

void TkaGPCustomGlyphButton::SetFrameDriven(bool Value) {
  if (FFrameDriven == Value) return;
  FFrameDriven = Value;
  StopMouseTimer();
  SetFrameState(false, false);
}

void TkaGPCustomGlyphButton::SetFrameState(bool AHot, bool APressed) {
  if (FMouseIn == AHot && FPressed == APressed) return;
  const bool hotChanged = FMouseIn != AHot;
  FMouseIn = AHot;
  FPressed = APressed;
  if (!hotChanged)
    RePaintControl();
  else if (AHot)
    DoMouseEnter();
  else
    DoMouseLeave();
  FOldCtrlState = GetCtrlState();
}

// ---- Drawing --------------------------------------------------------------------------------

TkaGPButtonFaceOwner TkaGPCustomGlyphButton::FaceOwner() const {
  TkaGPButtonFaceOwner O = GPButtonFaceOwnerOf(this);
  O.TransparentBackground = FTransparentBackground;
  O.Light = FFluentLightEffect && !FMenuTracking;
  O.MouseX = FMouseX;
  O.MouseY = FMouseY;
  O.MouseLDown = FMouseLDown;
  O.LightStep = FFluentLightPressedEffectAmount;
  return O;
}

void TkaGPCustomGlyphButton::DrawFace(TCanvas* ACanvas, TkasCtrlState State, bool Separator, bool WithContent) {
  GPDrawButtonFace(ACanvas, FOptions, FaceOwner(), State, Separator, WithContent,
                   [this](Graphics* G, TCanvas* C, const TRect& Content) { DrawContent(G, C, Content); });
}

void TkaGPCustomGlyphButton::SplitParts(TRect& Main, TRect& Arrow, TRect& Strip) const {
  const int W = Width(), H = Height(), FW = FOptions->FrameWidth();
  const int SW = FOptions->ArrowAreaSize() != 0 ? FOptions->ArrowAreaSize() : 3 * FOptions->ArrowSize() - FW;
  const int sw = std::max(FW / 2, 1);
  if (FArrowPosition == kaapBottom) {
    Main = TRect(0, 0, W, H - SW);
    Arrow = TRect(0, H - SW, W, H);
    Strip = TRect(FW, H - SW - sw / 2, W - FW, H - SW - sw / 2 + sw);
  } else if (BiDiMode() == bdRightToLeft) {
    Main = TRect(SW, 0, W, H);
    Arrow = TRect(0, 0, SW, H);
    Strip = TRect(SW - sw / 2, FW, SW - sw / 2 + sw, H - FW);
  } else {
    Main = TRect(0, 0, W - SW, H);
    Arrow = TRect(W - SW, 0, W, H);
    Strip = TRect(W - SW - sw / 2, FW, W - SW - sw / 2 + sw, H - FW);
  }
}

void TkaGPCustomGlyphButton::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  const bool Split = FSplitButton && HasDropDown();
  if (Split && (FMenuDroppedDown || ACtrlState == kasHot)) {
    TRect Main, Arrow, Strip;
    SplitParts(Main, Arrow, Strip);
    if (FMenuDroppedDown) {
      {
        TCanvasStateSaver Clip(ACanvas, Main);
        DrawFace(ACanvas, kasHot, false, true);
      }
      {
        TCanvasStateSaver Clip(ACanvas, Arrow);
        DrawFace(ACanvas, kasPressed, false, false);
      }
    } else {
      DrawFace(ACanvas, ACtrlState, false, true);
    }
    TCanvasStateSaver Clip(ACanvas, Strip);
    DrawFace(ACanvas, ACtrlState, true, false);
  } else {
    DrawFace(ACanvas, ACtrlState, false, true);
  }
  GPDrawButtonBadge(ACanvas, FBadge, FaceOwner(), FOptions->StyleColors(), DrawTextMode());
}

TkaGPContentLayout TkaGPCustomGlyphButton::ContentLayout(const TRect& Content) const {
  TkaGPContentLayout C;
  TRect& R = C.Icon;
  TRect& M = C.Caption;
  R = M = Content;
  const TButtonLayout L = C.Layout = PlacedLayout();
  if (FShowCaption) {
    const int s = std::min(R.Width(), R.Height());
    switch (L) {
      case blGlyphLeft: R.Right = R.Left + s; break;
      case blGlyphRight: R.Left = R.Right - s; break;
      case blGlyphTop: R.Bottom = R.Top + s - s / 3; break;
      case blGlyphBottom: R.Top = R.Bottom - s + s / 3; break;
    }
  }
  const int m = std::min(R.Width(), R.Height()) / 6;
  const int Inset = m + FOptions->FrameWidth();
  R.Inflate(-Inset, -Inset);
  // Square on the shorter side, centred along the longer one.
  if (R.Width() > R.Height()) {
    R.Left += R.Width() / 2 - R.Height() / 2;
    R.Right = R.Left + R.Height();
  } else if (R.Height() > R.Width()) {
    R.Top += R.Height() / 2 - R.Width() / 2;
    R.Bottom = R.Top + R.Width();
  }
  if (FShowCaption) {
    const int m2 = m / 2;
    switch (L) {
      case blGlyphLeft: M.Left = R.Right - m2; break;
      case blGlyphRight: M.Right = R.Left + m2; break;
      case blGlyphTop: M.Top = R.Bottom - m2; break;
      case blGlyphBottom: M.Bottom = R.Top + m2; break;
    }
  }
  return C;
}

void TkaGPCustomGlyphButton::DrawCaption(Graphics* G, TCanvas* ACanvas, const TRect& M) {
  ACanvas->SetFont(Font());
  ACanvas->Font()->SetColor(FOptions->GetFontColor());
  ACanvas->Brush()->SetStyle(bsClear);
  const bool RightToLeft = UseRightToLeftReading();
  const bool IsEnabled = FOptions->State() != kasDisabled;
  if (DrawTextMode() == kadtmGDIPlus) {
    GPDrawImageAndText(G, ACanvas, M, FLayout, FTextMargin, 0, Caption(), nullptr, -1, FCaptionCenterAlignment,
                       false, FWordWrap, false, RightToLeft, false, IsEnabled, ScaleFactor());
    return;
  }
  // GDI text goes straight to the DC: what GDI+ drew so far must be there first.
  G->Flush(FlushIntentionSync);
  if (FLayout == blGlyphTop || FLayout == blGlyphBottom || FCaptionCenterAlignment)
    DrawImageAndText(ACanvas, M, FTextMargin, FWordWrap, ScaleFactor(), false, RightToLeft, false, clNone, false,
                     IsEnabled, nullptr, -1, Caption(), FLayout, 0);
  else
    DrawImageAndTextLeft(ACanvas, M, FTextMargin, FWordWrap, ScaleFactor(), false, RightToLeft, false, clNone,
                         false, IsEnabled, nullptr, -1, Caption(), FLayout, 0, false);
}

// ---- Layout streaming -----------------------------------------------------------------------

using TBtn = TkaGPCustomGlyphButton;
#define KA_BTN(Name) c.Property(L## #Name, &TBtn::Name, &TBtn::Set##Name)
KA_REGISTER_CLASS(TkaGPCustomGlyphButton, [](auto& c) {
  c.Property(L"Options", &TBtn::Options);
  c.Property(L"Badge", &TBtn::Badge);
  KA_BTN(TextMargin);
  c.Property(L"OnColorValueChange", &TBtn::OnColorValueChange);
  KA_BTN(ScaleFrameWidth);
  KA_BTN(FluentLightEffect);
  KA_BTN(DrawTextMode);
  KA_BTN(TransparentBackground);
});
#undef KA_BTN
