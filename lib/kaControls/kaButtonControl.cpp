#include "lib/kaControls/kaButtonControl.h"

#include "framework/Forms.h"
#include "framework/Timers.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaControls/kaGalleryMenu.h"

TkaCustomButtonControl::TkaCustomButtonControl(TComponent* AOwner)
    : TkaCustomActiveControl(AOwner), FGlowEffect(new TkaButtonGlowEffect(this)) {
  FGlowEffect->OnChange = [this](TObject*) {
    FUpdateGlowBuffer = true;
    if (!ComponentState().Contains(csLoading)) RePaintControl();
  };
  FControlStyle += TControlStyle{csSetCaption};
  SetTabStop(true);
  SetBounds(Left(), Top(), 100, 35);
}

TkaCustomButtonControl::~TkaCustomButtonControl() {
  if (auto* gallery = dynamic_cast<TkaGalleryMenu*>(FGalleryMenu)) {
    // The menu keeps no handler of a freed button, nor a drop-down opened for it.
    gallery->ClearInternalEvents(this);
    if (gallery->FControl == this) gallery->Hide();
  }
  StopRepeatClick();
  delete FGlowBuffer;
  delete FGlowImageBuffer;
  FGlowEffect->Free();
}

bool TkaCustomButtonControl::IsDesigningOrLoading() const {
  return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
}

// ---- Properties -----------------------------------------------------------------------------

void TkaCustomButtonControl::SetCanFocused(bool Value) {
  if (FCanFocused == Value) return;
  FCanFocused = Value;
  SetTabStop(Value);
}

void TkaCustomButtonControl::SetImages(TCustomImageList* Value) {
  if (ReplaceReference(FImages, Value)) RePaintControl();
}

void TkaCustomButtonControl::SetDropDownMenu(TPopupMenu* Value) {
  if (ReplaceReference(FDropDownMenu, Value)) RePaintControl();
}

void TkaCustomButtonControl::SetGalleryMenu(TComponent* Value) {
  auto* previous = dynamic_cast<TkaGalleryMenu*>(FGalleryMenu);
  if (!ReplaceReference(FGalleryMenu, Value)) return;
  if (previous != nullptr) previous->ClearInternalEvents(this);
  if (auto* gallery = dynamic_cast<TkaGalleryMenu*>(FGalleryMenu)) HookGalleryMenu(gallery);
  RePaintControl();
}

void TkaCustomButtonControl::HookGalleryMenu(TkaGalleryMenu* Gallery) {
  Gallery->SetInternalEvents(
      this, [this](TObject*) { RePaintControl(); }, [this](TObject*) { GalleryMenuClosed(); });
}

void TkaCustomButtonControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (AComponent == FGalleryMenu) FGalleryMenu = nullptr;
}

void TkaCustomButtonControl::SetDown(bool Value) {
  if (FDown == Value) return;
  if (FAnimation) StopAnimation();
  FDown = Value;
  RePaintControl();
  FOldCtrlState = GetCtrlState();
  if (FGroupIndex > 0 && FDown) UpdateGroup();
  if (IsDesigningOrLoading()) return;
  if (FDown || FMustDoUp) ButtonClick();
}

void TkaCustomButtonControl::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  FSplitWidth = ::MulDiv(FSplitWidth, M, D);
}

// ---- State ----------------------------------------------------------------------------------

TkasCtrlState TkaCustomButtonControl::GetCtrlState() {
  if (FDown) return kasPressed;
  if (!Enabled()) return kasDisabled;
  if (FMenuDroppedDown) return kasHot;
  if ((FMouseIn && FPressed) || FIsDown) return kasPressed;
  if (FMouseIn) return kasHot;
  if (FCanFocused && Focused()) return kasFocused;
  return kasNormal;
}

bool TkaCustomButtonControl::CanAnimate() {
  return inherited::CanAnimate() && !FPressed && !FDown && !FMenuDroppedDown && !FMenuTracking;
}

void TkaCustomButtonControl::DoMouseEnter() {
  inherited::DoMouseEnter();
  if (FPressed && FRepeatClick) StartRepeatClick();
}

void TkaCustomButtonControl::DoMouseLeave() {
  inherited::DoMouseLeave();
  StopRepeatClick();
}

// ---- Clicks ---------------------------------------------------------------------------------

void TkaCustomButtonControl::ButtonClick() {
  if (FDisableClick || IsDesigningOrLoading()) return;
  // Action links are not part of the framework yet; the click goes to OnClick.
  if (OnClick) OnClick(this);
}

void TkaCustomButtonControl::StartRepeatClick() {
  StopRepeatClick();
  FRepeatClickTimer = new TTimer(this);
  FRepeatClickTimer->SetInterval(kaFirstRepeatDelayMs);
  FRepeatFirstTick = true;
  FRepeatClickTimer->OnTimer = [this](TObject*) { RepeatTick(); };
  FRepeatClickTimer->SetEnabled(true);
}

void TkaCustomButtonControl::RepeatTick() {
  if (FRepeatFirstTick) {
    FRepeatFirstTick = false;
    if (FRepeatClickTimer != nullptr) FRepeatClickTimer->SetInterval(FRepeatClickInterval);
  }
  ButtonClick();
}

void TkaCustomButtonControl::StopRepeatClick() {
  if (FRepeatClickTimer == nullptr) return;
  TTimer* t = FRepeatClickTimer;
  FRepeatClickTimer = nullptr;
  t->SetEnabled(false);
  t->Free();
}

// ---- Mouse ----------------------------------------------------------------------------------

bool TkaCustomButtonControl::InSplitZone(int X, int Y) const {
  TRect zone;
  if (FArrowPosition == kaapBottom)
    zone = TRect(0, Height() - FSplitWidth, Width(), Height());
  else if (BiDiMode() == bdRightToLeft)
    zone = TRect(0, 0, FSplitWidth, Height());
  else
    zone = TRect(Width() - FSplitWidth, 0, Width(), Height());
  return X >= zone.Left && X < zone.Right && Y >= zone.Top && Y < zone.Bottom;
}

void TkaCustomButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (FMenuTracking) {
    // The press that closed the drop-down.
    FMouseIn = true;
    FOldCtrlState = kasHot;
    return;
  }
  FDropDownCall = false;
  if (Button != mbLeft) return;
  if (FGroupIndex > 0 || FToggleMode) {
    if (FDown && (FAllowAllUp || FToggleMode)) FMustDoUp = true;
    SetDown(true);
    return;
  }
  FPressed = true;
  const bool inSplit = HasDropDown() && FSplitButton && InSplitZone(X, Y);
  if (FDropDownMenu != nullptr)
    DropDownMenuOpen(inSplit);
  else if (FGalleryMenu != nullptr)
    DropDownGalleryOpen(inSplit);
  else if (FCustomDropDown)
    DropDownCustomOpen(inSplit);
  else
    RePaintControl();
  if (FRepeatClick) StartRepeatClick();
}

void TkaCustomButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FMenuTracking && Button == mbLeft) {
    if ((FGroupIndex > 0 || FToggleMode) && FMustDoUp) {
      SetDown(false);
      FMustDoUp = false;
    } else if (FPressed) {
      FPressed = false;
      RePaintControl();
      if (FRepeatClick && RepeatClickRunning() && !FDown) StopRepeatClick();
      if (FMouseIn && !FDown) ButtonClick();
    }
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ---- Drop-downs -----------------------------------------------------------------------------

bool TkaCustomButtonControl::BeginDropDown(bool InSplit) {
  if (InSplit) FMenuDroppedDown = true;
  if (!FSplitButton) FIsDown = true;
  RePaintControl();
  // The main part of a split button acts as a plain button.
  if (!InSplit && FSplitButton) return false;
  FMenuTracking = true;
  FDropDownCall = true;
  return true;
}

void TkaCustomButtonControl::PopupDropDownMenu(TPoint ScreenPoint) {
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(ScreenPoint.X, ScreenPoint.Y);
}

TPoint TkaCustomButtonControl::DropDownMenuAnchor() const {
  // The menu aligns itself on the anchor: a centred menu is centred under the button, a
  // right-aligned one ends at its right edge.
  const TPopupAlignment MenuAlignment = FDropDownMenu != nullptr ? FDropDownMenu->Alignment() : paLeft;
  if (MenuAlignment == paCenter) return TPoint(Width() / 2, Height());
  if (BiDiMode() == bdRightToLeft || MenuAlignment == paRight) return TPoint(Width(), Height());
  if (FArrowDirection == kaadRight) return TPoint(Width(), 0);
  return TPoint(0, Height());
}

void TkaCustomButtonControl::DropDownMenuOpen(bool InSplit) {
  if (!BeginDropDown(InSplit)) return;
  PopupDropDownMenu(ClientToScreen(DropDownMenuAnchor()));
  FMenuDroppedDown = false;
  FIsDown = false;
  FPressed = false;
  if (HandleAllocated()) ::SetTimer(WindowHandle(), kaMenuTrackingTimerID, kaMenuTrackingMs, nullptr);
  FOldCtrlState = GetCtrlState();
}

void TkaCustomButtonControl::DropDownGalleryOpen(bool InSplit) {
  if (!BeginDropDown(InSplit)) return;
  TPoint topLeft = ClientToScreen(TPoint(0, 0));
  PopupGalleryMenu(Bounds(topLeft.X, topLeft.Y, Width(), Height()), FShowGalleryMenuFromTop,
                   FShowGalleryMenuFromRight);
}

void TkaCustomButtonControl::PopupGalleryMenu(const TRect& ScreenRect, bool FromTop, bool FromRight) {
  auto* gallery = dynamic_cast<TkaGalleryMenu*>(FGalleryMenu);
  if (gallery != nullptr) {
    // A menu shared by several buttons tells the one that opened it of its closing.
    HookGalleryMenu(gallery);
    gallery->FScaleFactor = ScaleFactor();
    gallery->FControl = this;
    if (FromTop || FromRight)
      gallery->PopupFromRectExt(ScreenRect, FromTop, FromRight);
    else
      gallery->PopupFromRect(ScreenRect);
  }
  // A menu that did not drop down (no pictures) will not report a closing: the button must
  // not stay pressed.
  if (gallery == nullptr || !gallery->DroppedDown()) GalleryMenuClosed();
}

void TkaCustomButtonControl::DropDownCustomOpen(bool InSplit) {
  if (!BeginDropDown(InSplit)) return;
  RePaintControl();
  if (OnDropDown) OnDropDown(this);
}

void TkaCustomButtonControl::DoDropDown() {
  FDropDownCall = false;
  if (FDropDownMenu != nullptr)
    DropDownMenuOpen(FSplitButton);
  else if (FGalleryMenu != nullptr)
    DropDownGalleryOpen(FSplitButton);
  else if (FCustomDropDown)
    DropDownCustomOpen(FSplitButton);
}

void TkaCustomButtonControl::CloseUp(bool AAcceptChanges) {
  FPressed = false;
  FIsDown = false;
  FMenuDroppedDown = false;
  FMenuTracking = false;
  RePaintControl();
  FOldCtrlState = GetCtrlState();
  if (OnCloseUp) OnCloseUp(this, AAcceptChanges);
}

void TkaCustomButtonControl::GalleryMenuClosed() {
  FPressed = false;
  FIsDown = false;
  FMenuDroppedDown = false;
  FMenuTracking = false;
  if (!ComponentState().Contains(csDestroying)) RePaintControl();
  FOldCtrlState = GetCtrlState();
}

void TkaCustomButtonControl::MenuTrackingEnded() {
  if (HandleAllocated()) ::KillTimer(WindowHandle(), kaMenuTrackingTimerID);
  FMenuTracking = false;
  if (!ComponentState().Contains(csDestroying)) RePaintControl();
  FOldCtrlState = GetCtrlState();
}

// ---- Keyboard -------------------------------------------------------------------------------

void TkaCustomButtonControl::SpaceDown() {
  if (FToggleMode) {
    if (FDown)
      FMustDoUp = true;
    else
      SetDown(true);
    return;
  }
  if (FDown && !(FGroupIndex > 0 && FAllowAllUp)) return;
  if (FGroupIndex > 0) {
    if (FAllowAllUp && FDown) FMustDoUp = true;
    SetDown(true);
  } else if (!FIsDown) {
    if ((FCustomDropDown || FDropDownMenu != nullptr || FGalleryMenu != nullptr) && !FSplitButton) {
      Application->ProcessMessages();
      if (FCustomDropDown)
        DropDownCustomOpen(false);
      else if (FDropDownMenu != nullptr)
        DropDownMenuOpen(false);
      else
        DropDownGalleryOpen(false);
      ButtonClick();
    } else {
      FIsDown = true;
      RePaintControl();
    }
  }
  if (FRepeatClick && !RepeatClickRunning()) StartRepeatClick();
}

void TkaCustomButtonControl::EnterDown() {
  if (FGroupIndex > 0) {
    if (FAllowAllUp && FDown)
      FMustDoUp = true;
    else if (!FDown)
      SetDown(true);
    return;
  }
  if (FToggleMode) {
    if (FDown)
      FMustDoUp = true;
    else
      SetDown(true);
    return;
  }
  if (!FMenuTracking && !FSplitButton && HasDropDown()) {
    Application->ProcessMessages();
    if (FCustomDropDown)
      DropDownCustomOpen(false);
    else if (FDropDownMenu != nullptr)
      DropDownMenuOpen(false);
    else
      DropDownGalleryOpen(false);
  }
  if (!FMenuTracking) ButtonClick();
}

void TkaCustomButtonControl::SpaceUp() {
  if (FDown && !(FGroupIndex > 0 && FAllowAllUp)) return;
  if (FGroupIndex <= 0 || !FMustDoUp) {
    if (FGalleryMenu != nullptr && !FSplitButton) return;
    FIsDown = false;
    RePaintControl();
    StopRepeatClick();
    ButtonClick();
  } else {
    SetDown(false);
    FMustDoUp = false;
  }
}

void TkaCustomButtonControl::HandleKeyMessage(TMessage& Message) {
  const WPARAM key = Message.WParam;
  if (Message.Msg == WM_KEYDOWN) {
    if (key == VK_SPACE) SpaceDown();
    if (key == VK_RETURN) EnterDown();
    return;
  }
  // Key up. A toggle button pressed again by key is released on the key's release.
  if ((key == VK_SPACE || key == VK_RETURN) && FDown && FToggleMode && FMustDoUp) {
    SetDown(false);
    FMustDoUp = false;
    return;
  }
  if (key == VK_RETURN && FDown && FGroupIndex > 0 && FAllowAllUp && FMustDoUp) {
    SetDown(false);
    FMustDoUp = false;
  } else if (key == VK_SPACE && !FToggleMode) {
    SpaceUp();
  }
}

void TkaCustomButtonControl::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN) return;
  if (FDropDownMenu != nullptr)
    DropDownMenuOpen(FSplitButton);
  else if (FGalleryMenu != nullptr)
    DropDownGalleryOpen(FSplitButton);
}

// ---- Messages -------------------------------------------------------------------------------

void TkaCustomButtonControl::WndProc(TMessage& Message) {
  if (FCanFocused) {
    if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_KEYUP) HandleKeyMessage(Message);
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
      PressWithFocus(Message);
      return;
    }
  }
  inherited::WndProc(Message);
}

void TkaCustomButtonControl::PressWithFocus(TMessage& Message) {
  {
    TkaFlagScope focusing(FFocusingByPress);
    FocusOnClick(Message);
  }
  struct TOwedEnds {
    bool& Owed;
    ~TOwedEnds() { Owed = false; }
  } ends{FFocusShowOwed};
  const unsigned painted = FPaintStats.Paints;
  inherited::WndProc(Message);
  if (FFocusShowOwed && FPaintStats.Paints == painted && HandleAllocated() && Focused()) ShowFocusChange(true);
}

void TkaCustomButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE:
      FMenuTracking = false;
      inherited::Dispatch(Message);
      break;
    case WM_TIMER:
      if (Message.WParam == kaMenuTrackingTimerID)
        MenuTrackingEnded();
      else
        inherited::Dispatch(Message);
      break;
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      FocusChanged(true);
      StopRepeatClick();
      FOldCtrlState = GetCtrlState();
      break;
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      FocusChanged(false);
      FOldCtrlState = GetCtrlState();
      break;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      FMouseIn = false;
      break;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      RePaintControl();
      break;
    case CM_WANTSPECIALKEY:
      if ((Message.WParam == VK_UP || Message.WParam == VK_DOWN) && FCanFocused &&
          (FDropDownMenu != nullptr || FGalleryMenu != nullptr))
        Message.Result = 1;
      else
        inherited::Dispatch(Message);
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
        if (FCanFocused) SetFocus();
        AccelClick();
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Focus ----------------------------------------------------------------------------------

void TkaCustomButtonControl::FocusChanged(bool Gained) {
  if (!FCanFocused) return;
  // The parent's stored painting may still show the previous focus.
  if (Gained) FUpdateParentBuffer = true;
  // The press that brought the focus repaints the button next.
  if (Gained && FFocusingByPress) {
    FFocusShowOwed = true;
    return;
  }
  // A down or hot button looks the same with the focus or without it.
  if (FocusShownByStateOnly() && PaintedIn(GetCtrlState())) return;
  ShowFocusChange(Gained);
}

void TkaCustomButtonControl::ShowFocusChange(bool Gained) {
  if (Gained)
    ShowFocusGained();
  else
    Repaint();
}

// ---- Glow cache -----------------------------------------------------------------------------

void TkaCustomButtonControl::GetImagesSize(int& AWidth, int& AHeight) const {
  AWidth = FImages != nullptr ? FImages->Width() : 0;
  AHeight = FImages != nullptr ? FImages->Height() : 0;
}

bool TkaCustomButtonControl::GetGlowParams(TkasCtrlState State, TColor& Color, uint8_t& Alpha, uint8_t& Size) {
  if (!FGlowEffect->States().Contains(State)) return false;
  switch (State) {
    case kasHot: Color = FGlowEffect->GetHotColor(); break;
    case kasPressed: Color = FGlowEffect->GetPressedColor(); break;
    case kasFocused: Color = FGlowEffect->GetFocusedColor(); break;
    default: Color = FGlowEffect->GetColor(); break;
  }
  if (Color == clNone) Color = FGlowEffect->GetColor();
  Size = State == kasPressed ? FGlowEffect->PressedGlowSize() : FGlowEffect->GlowSize();
  if (State == kasPressed)
    Alpha = FGlowEffect->GetPressedAlphaValue();
  else if (State == kasDisabled)
    Alpha = FGlowEffect->GetAlphaValue() / 2;
  else
    Alpha = FGlowEffect->GetAlphaValue();
  return true;
}

bool TkaCustomButtonControl::NeedGlowBufferUpdate(TCanvas* ACanvas, TColor GlowColor, TCustomImageList* AImages,
                                                  int AImageIndex, const TRect& ARect, uint8_t AAlpha,
                                                  uint8_t ASize) {
  TFont* font = ACanvas->Font();
  int imagesWidth = 0, imagesHeight = 0;
  if (AImages != nullptr) {
    imagesWidth = AImages->Width();
    imagesHeight = AImages->Height();
  }
  const bool changed =
      FUpdateGlowBuffer || FStoredCaption != Caption() || FStoredWidth != Width() || FStoredHeight != Height() ||
      FStoredGlowColor != GlowColor || FStoredGlowSize != ASize || FStoredAlpha != AAlpha ||
      FStoredFontName != font->Name() || FStoredFontSize != font->Size() || FStoredFontStyle != font->Style() ||
      FStoredImageIndex != AImageIndex || FStoredRect != ARect || FStoredSpacing != FSpacing ||
      FStoredMargin != FMargin || FStoredLayout != FLayout || FStoredImages != AImages ||
      FStoredWordWrap != FWordWrap || FStoredImagesWidth != imagesWidth || FStoredImagesHeight != imagesHeight;
  FStoredCaption = Caption();
  FStoredWidth = Width();
  FStoredHeight = Height();
  FStoredGlowColor = GlowColor;
  FStoredGlowSize = ASize;
  FStoredAlpha = AAlpha;
  FStoredFontName = font->Name();
  FStoredFontSize = font->Size();
  FStoredFontStyle = font->Style();
  FStoredImageIndex = AImageIndex;
  FStoredRect = ARect;
  FStoredSpacing = FSpacing;
  FStoredMargin = FMargin;
  FStoredLayout = FLayout;
  FStoredImages = AImages;
  FStoredWordWrap = FWordWrap;
  FStoredImagesWidth = imagesWidth;
  FStoredImagesHeight = imagesHeight;
  FUpdateGlowBuffer = false;
  return changed;
}

void TkaCustomButtonControl::DrawImageAndCaption(TCanvas* ACanvas, const TRect& ARect, TkasCtrlState State,
                                                 const TkaImageCaption& C) {
  const bool enabled = State != kasDisabled;
  TColor color = clNone;
  uint8_t alpha = 0, size = 0;
  if (FGlowEffect->Enabled() && GetGlowParams(State, color, alpha, size)) {
    const TkaGlowParams glow{alpha, FGlowEffect->Intensive(), size, color, FGlowEffect->Offset()};
    if (C.Caption != FShownGlowCaption) FUpdateGlowBuffer = true;
    FShownGlowCaption = C.Caption;
    const bool rebuild = NeedGlowBufferUpdate(ACanvas, color, C.Images, C.ImageIndex, ARect, alpha, size);
    if (C.Centred)
      DrawImageAndTextWithGlow(ACanvas, ARect, C.Margin, FWordWrap, ScaleFactor(), false, C.RightToLeft, C.DrawFocus,
                               clNone, false, enabled, C.Images, C.ImageIndex, C.Caption, C.Layout, C.Spacing,
                               FGlowBuffer, FGlowImageBuffer, rebuild, FImageGlow, glow);
    else
      DrawImageAndTextLeftWithGlow(ACanvas, ARect, C.Margin, FWordWrap, ScaleFactor(), false, C.RightToLeft,
                                   C.DrawFocus, clNone, false, enabled, C.Images, C.ImageIndex, C.Caption, C.Layout,
                                   C.Spacing, false, FGlowBuffer, FGlowImageBuffer, rebuild, FImageGlow, glow);
  } else if (C.Centred) {
    DrawImageAndText(ACanvas, ARect, C.Margin, FWordWrap, ScaleFactor(), false, C.RightToLeft, C.DrawFocus, clNone,
                     false, enabled, C.Images, C.ImageIndex, C.Caption, C.Layout, C.Spacing);
  } else {
    DrawImageAndTextLeft(ACanvas, ARect, C.Margin, FWordWrap, ScaleFactor(), false, C.RightToLeft, C.DrawFocus,
                         clNone, false, enabled, C.Images, C.ImageIndex, C.Caption, C.Layout, C.Spacing, false);
  }
}

TButtonLayout TkaCustomButtonControl::PlacedLayout() const {
  if (BiDiMode() != bdRightToLeft) return FLayout;
  if (FLayout == blGlyphLeft) return blGlyphRight;
  if (FLayout == blGlyphRight) return blGlyphLeft;
  return FLayout;
}

// ---- Push buttons ---------------------------------------------------------------------------

void TkaCustomPushButtonControl::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FShowCaption && FWidthWithCaption >= 1)
    SetWidth(FWidthWithCaption);
  else if (!FShowCaption && FWidthWithoutCaption >= 1)
    SetWidth(FWidthWithoutCaption);
  else
    RePaintControl();
}

void TkaCustomPushButtonControl::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D || D == 0) return;
  if (FWidthWithCaption > 0) FWidthWithCaption = ::MulDiv(FWidthWithCaption, M, D);
  if (FWidthWithoutCaption > 0) FWidthWithoutCaption = ::MulDiv(FWidthWithoutCaption, M, D);
}

void TkaCustomPushButtonControl::ButtonClick() {
  if (FDisableClick || IsDesigningOrLoading()) return;
  if (FModalSetting)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  inherited::ButtonClick();
}

void TkaCustomPushButtonControl::UpdateGroup() {
  if (Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c == this || !IsGroupSibling(c)) continue;
    auto* other = static_cast<TkaCustomButtonControl*>(c);
    if (other->GroupIndex() == FGroupIndex && other->Down()) other->SetDown(false);
  }
}

void TkaCustomPushButtonControl::FocusChangedTo(const TObject* FocusedControl) {
  if (!FCanFocused || !FDefault) return;
  const bool active = FocusedControl == this || !AnswersEnter(FocusedControl);
  if (active == FActive) return;
  FActive = active;
  RePaintControl();
}

bool TkaCustomPushButtonControl::DialogKey(WORD Key) {
  if (!FCanFocused) return false;
  const bool enter = Key == VK_RETURN && IsActiveDefault() && Enabled();
  const bool noModifiers = (KeyboardStateToShiftState() * TShiftState{ssShift, ssAlt, ssCtrl}).Empty();
  const bool escape = Key == VK_ESCAPE && FCancel && noModifiers && CanFocus();
  if (!enter && !escape) return false;
  ButtonClick();
  return true;
}

void TkaCustomPushButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FOCUSCHANGED:
      inherited::Dispatch(Message);
      FocusChangedTo(reinterpret_cast<const TControl*>(Message.LParam));
      break;
    case CM_DIALOGKEY:
      if (DialogKey(Message.CharCode()))
        Message.Result = 1;
      else
        inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TButtonLayout, {{L"blGlyphLeft", blGlyphLeft},
                                 {L"blGlyphRight", blGlyphRight},
                                 {L"blGlyphTop", blGlyphTop},
                                 {L"blGlyphBottom", blGlyphBottom}});
KA_REGISTER_ENUM(TkaArrowPosition, {{L"kaapRight", kaapRight}, {L"kaapBottom", kaapBottom}});
KA_REGISTER_ENUM(TkaArrowDirection, {{L"kaadDefault", kaadDefault}, {L"kaadRight", kaadRight}});

using TBtn = TkaCustomButtonControl;
KA_REGISTER_CLASS(TkaCustomButtonControl, [](auto& c) {
  c.Property(L"CanFocused", &TBtn::CanFocused, &TBtn::SetCanFocused);
  c.Property(L"ToggleMode", &TBtn::ToggleMode, &TBtn::SetToggleMode);
  c.Property(L"CustomDropDown", &TBtn::CustomDropDown, &TBtn::SetCustomDropDown);
  c.Property(L"CaptionCenterAlignment", &TBtn::CaptionCenterAlignment, &TBtn::SetCaptionCenterAlignment);
  c.Property(L"ArrowDirection", &TBtn::ArrowDirection, &TBtn::SetArrowDirection);
  c.Property(L"ArrowPosition", &TBtn::ArrowPosition, &TBtn::SetArrowPosition);
  c.Property(L"WordWrap", &TBtn::WordWrap, &TBtn::SetWordWrap);
  c.Property(L"Layout", &TBtn::Layout, &TBtn::SetLayout);
  c.Property(L"Images", &TBtn::Images, &TBtn::SetImages);
  c.Property(L"GlowEffect", &TBtn::GlowEffect);
  c.Property(L"ImageIndex", &TBtn::ImageIndex, &TBtn::SetImageIndex);
  c.Property(L"Margin", &TBtn::Margin, &TBtn::SetMargin);
  c.Property(L"Spacing", &TBtn::Spacing, &TBtn::SetSpacing);
  c.Property(L"ImageGlow", &TBtn::ImageGlow, &TBtn::SetImageGlow);
  c.Property(L"ShowMenuArrow", &TBtn::ShowMenuArrow, &TBtn::SetShowMenuArrow);
  c.Property(L"SplitButton", &TBtn::SplitButton, &TBtn::SetSplitButton);
  c.Property(L"DropDownMenu", &TBtn::DropDownMenu, &TBtn::SetDropDownMenu);
  c.Property(L"GalleryMenu", &TBtn::GalleryMenu, &TBtn::SetGalleryMenu);
  c.Property(L"Down", &TBtn::Down, &TBtn::SetDown);
  c.Property(L"RepeatClick", &TBtn::RepeatClick, &TBtn::SetRepeatClick);
  c.Property(L"RepeatClickInterval", &TBtn::RepeatClickInterval, &TBtn::SetRepeatClickInterval);
  c.Property(L"ShowFocusRect", &TBtn::ShowFocusRect, &TBtn::SetShowFocusRect);
  c.Property(L"GroupIndex", &TBtn::GroupIndex, &TBtn::SetGroupIndex);
  c.Property(L"AllowAllUp", &TBtn::AllowAllUp, &TBtn::SetAllowAllUp);
  c.Property(L"ShowGalleryMenuFromTop", &TBtn::ShowGalleryMenuFromTop, &TBtn::SetShowGalleryMenuFromTop);
  c.Property(L"ShowGalleryMenuFromRight", &TBtn::ShowGalleryMenuFromRight, &TBtn::SetShowGalleryMenuFromRight);
  c.Property(L"UseImagesFromAction", &TBtn::UseImagesFromAction, &TBtn::SetUseImagesFromAction);
  c.Property(L"UseImageIndexFromAction", &TBtn::UseImageIndexFromAction, &TBtn::SetUseImageIndexFromAction);
  c.Property(L"OnDropDown", &TBtn::OnDropDown);
  c.Property(L"OnCloseUp", &TBtn::OnCloseUp);
});

using TPushBtn = TkaCustomPushButtonControl;
KA_REGISTER_CLASS(TkaCustomPushButtonControl, [](auto& c) {
  c.Property(L"ShowCaption", &TPushBtn::ShowCaption, &TPushBtn::SetShowCaption);
  c.Property(L"WidthWithCaption", &TPushBtn::WidthWithCaption, &TPushBtn::SetWidthWithCaption);
  c.Property(L"WidthWithoutCaption", &TPushBtn::WidthWithoutCaption, &TPushBtn::SetWidthWithoutCaption);
  c.Property(L"Default", &TPushBtn::Default, &TPushBtn::SetDefault);
  c.Property(L"Cancel", &TPushBtn::Cancel, &TPushBtn::SetCancel);
  c.Property(L"ModalResult", &TPushBtn::ModalResult, &TPushBtn::SetModalResult);
  c.Property(L"ModalSetting", &TPushBtn::ModalSetting, &TPushBtn::SetModalSetting);
});
