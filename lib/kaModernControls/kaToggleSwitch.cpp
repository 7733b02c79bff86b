#include "lib/kaModernControls/kaToggleSwitch.h"

#include <algorithm>
#include <exception>

#include "framework/Themes.h"
#include "framework/Timers.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

// Indexes of the masks in FResImages.
constexpr int kMaskFrameOff = 0;
constexpr int kMaskFrameOn = 1;
constexpr int kMaskThumb = 2;

// The module the masks were linked into.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The masks are made for 1, 1.25, 1.5 and 2; between those the next smaller set is enlarged.
void MaskSetFor(double SF, const wchar_t*& Suffix, double& Extra) {
  Extra = 1;
  if (SF >= 2) {
    Suffix = L"_200";
    Extra = SF / 2;
  } else if (SF >= 1.5) {
    Suffix = L"_150";
    Extra = SF / 1.5;
  } else if (SF >= 1.25) {
    Suffix = L"_125";
    Extra = SF / 1.25;
  } else {
    Suffix = L"";
  }
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------

TkaCustomToggleSwitch::TkaCustomToggleSwitch(TComponent* AOwner)
    : TkaCustomActiveControl(AOwner), FResImages(new TkaImageCollection(nullptr)) {
  FAnimation = true;
  SetTabStop(true);
  FTransparentBackground = true;
  FDrawOnBackground = true;
  FAnimationTimer = new TTimer(nullptr);
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(kaSwitchAnimationIntervalMs);
  FAnimationTimer->OnTimer = [this](TObject*) { AnimationStep(); };
  FWidth = 80;
  FHeight = 35;
}

TkaCustomToggleSwitch::~TkaCustomToggleSwitch() {
  FAnimationTimer->Free();
  FResImages->Free();
}

// ---- Properties ---------------------------------------------------------------------------

void TkaCustomToggleSwitch::SetState(TkaSwitchState Value) {
  if (FState == Value) return;
  // A slide or drag in progress is heading for the old state's geometry; the new state wins.
  FAnimationTimer->SetEnabled(false);
  FThumbMoving = false;
  FCancelAction = false;
  FState = Value;
  RePaintControl();
  DoChangeState();
}

void TkaCustomToggleSwitch::DoChangeState() {
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  if (OnChangeState) OnChangeState(this);
}

void TkaCustomToggleSwitch::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TkaCustomToggleSwitch::SetSwitchWidth(int Value) {
  if (Value < MinSwitchSize().cx) return;
  SetAndRepaint(FSwitchWidth, Value);
}

void TkaCustomToggleSwitch::SetSwitchHeight(int Value) {
  if (Value < MinSwitchSize().cy) return;
  SetAndRepaint(FSwitchHeight, Value);
}

void TkaCustomToggleSwitch::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) RePaintControl();
}

void TkaCustomToggleSwitch::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCustomImages) FCustomImages = nullptr;
}

void TkaCustomToggleSwitch::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D || D == 0) return;
  int w = ::MulDiv(FSwitchWidth, M, D), h = ::MulDiv(FSwitchHeight, M, D);
  if (FFixedMinSize) {
    w = std::max(w, kaSwitchMinWidth);
    h = std::max(h, kaSwitchMinHeight);
  }
  SetSwitchWidth(w);
  SetSwitchHeight(h);
  const int thumb = ::MulDiv(FThumbWidth, M, D);
  if (thumb != FThumbWidth) {
    FThumbWidth = thumb;
    RePaintControl();
  }
  LoadResImages();
}

// ---- Geometry -------------------------------------------------------------------------------

TRect TkaCustomToggleSwitch::TrackRect() const {
  const int top = Height() / 2 - FSwitchHeight / 2;
  TRect r(0, top, FSwitchWidth, top + FSwitchHeight);
  if (RightToLeft()) {
    r = TRect(Width() - FSwitchWidth, top, Width(), top + FSwitchHeight);
    r.Offset(-2, 0);
  } else {
    r.Offset(2, 0);
  }
  return r;
}

int TkaCustomToggleSwitch::ThumbWidth() const { return FThumbWidth != 0 ? FThumbWidth : FSWRect.Width() / 2; }

void TkaCustomToggleSwitch::UpdateGeometry() {
  FSWRect = TrackRect();
  if (FThumbMoving && FThumbRect.Width() > 0) return;
  const int w = ThumbWidth();
  if (FState == kaswOn)
    FThumbRect = TRect(FSWRect.Right - w, FSWRect.Top, FSWRect.Right, FSWRect.Bottom);
  else
    FThumbRect = TRect(FSWRect.Left, FSWRect.Top, FSWRect.Left + w, FSWRect.Bottom);
}

bool TkaCustomToggleSwitch::Sliding() const { return FAnimationTimer->Enabled(); }

bool TkaCustomToggleSwitch::VisualOn() const {
  const bool on = FState == kaswOn;
  return Sliding() && !FPressed && !FCancelAction ? !on : on;
}

// ---- Slide --------------------------------------------------------------------------------

void TkaCustomToggleSwitch::ToggleState() {
  const TkaSwitchState other = FState == kaswOn ? kaswOff : kaswOn;
  if (!FAnimation || ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) {
    SetState(other);
    return;
  }
  if (Sliding()) return;
  FThumbMoving = true;
  FAnimationTimer->SetEnabled(true);
}

void TkaCustomToggleSwitch::AnimationStep() {
  UpdateGeometry();
  const int trackW = FSWRect.Width(), thumbW = FThumbRect.Width();
  // A toggling slide heads for the other state's end, a returning one for its own.
  const bool right = FCancelAction ? FState == kaswOn : FState == kaswOff;
  // Fast thirds while far from the end, then a sixth of what is left: an ease-out.
  int step;
  if (right) {
    const int nearEnd = FCancelAction ? trackW / 3 : Width() / 3;
    step = FThumbRect.Right < FSWRect.Right - nearEnd ? (trackW - thumbW) / 3 : (FSWRect.Right - FThumbRect.Right) / 6;
  } else {
    step = FThumbRect.Left > FSWRect.Left + trackW / 3 ? (trackW - thumbW) / 3 : (FThumbRect.Left - FSWRect.Left) / 6;
  }
  step = std::max(step, 1);
  FThumbRect.Offset(right ? step : -step, 0);
  bool ended = false;
  if (FThumbRect.Left < FSWRect.Left) {
    FThumbRect = TRect(FSWRect.Left, FSWRect.Top, FSWRect.Left + thumbW, FSWRect.Bottom);
    ended = true;
  }
  if (FThumbRect.Right > FSWRect.Right) {
    FThumbRect = TRect(FSWRect.Right - thumbW, FSWRect.Top, FSWRect.Right, FSWRect.Bottom);
    ended = true;
  }
  if (!ended) {
    RePaintControl();
    return;
  }
  FAnimationTimer->SetEnabled(false);
  FThumbMoving = false;
  if (FCancelAction) {
    FCancelAction = false;
    RePaintControl();
    return;
  }
  SetState(FState == kaswOn ? kaswOff : kaswOn);
}

// ---- Mouse ----------------------------------------------------------------------------------

void TkaCustomToggleSwitch::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (FReadOnly || Button != mbLeft || !Enabled() || Sliding()) return;
  FPressed = FStyleKind == kaswsCustomImage || FFramePressedColor != clNone;
  UpdateGeometry();
  if (FThumbRect.Contains(TPoint(X, Y))) {
    FThumbMoving = true;
    FOldX = FMouseDownX = X;
    RePaintControl();
  } else {
    RePaintControl();
    FMouseDown = true;
  }
}

void TkaCustomToggleSwitch::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FReadOnly || !FThumbMoving || Sliding()) return;
  FThumbRect.Offset(X - FOldX, 0);
  FOldX = X;
  if (FThumbRect.Left < FSWRect.Left) FThumbRect.Offset(FSWRect.Left - FThumbRect.Left, 0);
  if (FThumbRect.Right > FSWRect.Right) FThumbRect.Offset(FSWRect.Right - FThumbRect.Right, 0);
  RePaintControl();
}

void TkaCustomToggleSwitch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FReadOnly || !Enabled()) {
    CancelPointerInteraction();
    return;
  }
  FPressed = false;
  if (Sliding()) return;
  if (FThumbMoving && X != FMouseDownX) {
    DropThumb();
  } else if (FMouseDown || FThumbMoving) {
    FThumbMoving = false;
    if (ClientRect().Contains(TPoint(X, Y))) ToggleState();
    FMouseDown = false;
    RePaintControl();
  }
}

void TkaCustomToggleSwitch::DropThumb() {
  FThumbMoving = false;
  const int thumbCentre = FThumbRect.Left + FThumbRect.Width() / 2;
  const int trackCentre = FSWRect.Left + FSWRect.Width() / 2;
  FMouseDown = false;
  if ((thumbCentre >= trackCentre && FState == kaswOff) || (thumbCentre <= trackCentre && FState == kaswOn)) {
    // The thumb slides on from where it was dropped.
    FThumbMoving = true;
    ToggleState();
    return;
  }
  if (FAnimation) {
    FCancelAction = true;
    FThumbMoving = true;
    FAnimationTimer->SetEnabled(true);
  } else {
    RePaintControl();
  }
}

void TkaCustomToggleSwitch::CancelPointerInteraction() {
  const bool changed = FPressed || FMouseDown || (FThumbMoving && !Sliding());
  FPressed = false;
  FMouseDown = false;
  if (!Sliding()) FThumbMoving = false;
  if (changed) RePaintControl();
}

// ---- Keyboard and focus -----------------------------------------------------------------------

void TkaCustomToggleSwitch::HandleKey(const TMessage& Message) {
  if (Message.WParam != VK_SPACE && Message.WParam != VK_RETURN) return;
  if (!FCanFocused || FReadOnly || !Focused()) return;
  if (Message.Msg == WM_KEYDOWN) {
    FKeyDown = true;
  } else if (FKeyDown) {
    FKeyDown = false;
    ToggleState();
  }
}

void TkaCustomToggleSwitch::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_KEYUP) HandleKey(Message);
  if (FCanFocused) FocusOnClick(Message);
  inherited::WndProc(Message);
}

void TkaCustomToggleSwitch::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      if (FCanFocused) ShowFocusGained();
      break;
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      // The key's release goes to whoever has the focus now.
      FKeyDown = false;
      if (FCanFocused) Repaint();
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) {
        CancelPointerInteraction();
        if (FMouseIn) {
          StopMouseTimer();
          FMouseIn = false;
        }
      }
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Masks ----------------------------------------------------------------------------------

void TkaCustomToggleSwitch::LoadResImages() {
  TkaFlagScope loading(FLoading);
  FResImages->Images()->Clear();
  const double sf = ScaleFactor();
  FResImagesScale = sf;
  const wchar_t* suffix = L"";
  double extra = 1;
  MaskSetFor(sf, suffix, extra);
  const int margin = Round(sf * 10);
  struct TMask {
    const wchar_t* Name;
    bool OnlyBorder;
    TColor Color;
  };
  const TMask masks[] = {{L"SWITCH_FRAME_MASK_OFF", true, FFrameColor},
                         {L"SWITCH_FRAME_MASK_ON", false, FFrameOnColor},
                         {L"SWITCH_THUMB_MASK", false, FThumbColor}};
  try {
    for (const TMask& m : masks) {
      TkaImageCollectionItem* item = FResImages->Images()->Add();
      item->LoadPngFromResourceName(ThisModule(), String(m.Name) + suffix, extra);
      TkaBitmapOptions* o = item->BitmapOptions();
      o->SetLeftMargin(margin);
      o->SetTopMargin(margin);
      o->SetRightMargin(margin);
      o->SetBottomMargin(margin);
      o->SetDrawOnlyBorder(m.OnlyBorder);
      item->SetDrawStyle(idsStretch);
      item->CheckBitmapOptions();
      item->SetColor(m.Color);
    }
  } catch (const std::exception&) {
    // A program built without the masks draws no track and thumb rather than failing.
    FResImages->Images()->Clear();
  }
}

void TkaCustomToggleSwitch::EnsureResImages() {
  if (FResImagesScale != ScaleFactor()) LoadResImages();
}

void TkaCustomToggleSwitch::DrawMasks(TCanvas* ACanvas, bool On) {
  EnsureResImages();
  if (FResImages->Count() <= kMaskThumb) return;
  TkaImageCollectionItems* items = FResImages->Images();
  int frame = On ? kMaskFrameOn : kMaskFrameOff;
  TColor frameColor = On ? FFrameOnColor : FFrameColor;
  if (FPressed && FFramePressedColor != clNone) {
    frame = kMaskFrameOn;
    frameColor = FFramePressedColor;
  }
  items->Items(frame)->SetColor(GetStyleSystemColor(frameColor, this));
  FResImages->DrawBitmap(ACanvas, FSWRect, frame, 255);
  TColor thumbColor = On ? FThumbOnColor : FThumbColor;
  if (FPressed && FThumbPressedColor != clNone) thumbColor = FThumbPressedColor;
  items->Items(kMaskThumb)->SetColor(GetStyleSystemColor(thumbColor, this));
  FResImages->DrawBitmap(ACanvas, FThumbRect, kMaskThumb, 255);
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaCustomToggleSwitch::DrawCustomImages(TCanvas* ACanvas, bool On) {
  int frame = On ? FFrameOnImageIndex : FFrameImageIndex;
  if (FPressed && FFramePressedImageIndex >= 0) frame = FFramePressedImageIndex;
  if (FCustomImages->IsIndexAvailable(frame)) FCustomImages->Draw(ACanvas, FSWRect, frame, ScaleFactor());
  int thumb = On ? FThumbOnImageIndex : FThumbImageIndex;
  if (FPressed && FThumbPressedImageIndex >= 0 && FThumbMoving) thumb = FThumbPressedImageIndex;
  if (FCustomImages->IsIndexAvailable(thumb)) FCustomImages->Draw(ACanvas, FThumbRect, thumb, ScaleFactor());
}

void TkaCustomToggleSwitch::DrawStyleElement(TCanvas* ACanvas, TThemedToggleSwitch Element, const TRect& R) {
  ACanvas->Changing();
  StyleServices(this)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(Element), R, nullptr,
                                   Round(96 * ScaleFactor()));
  ACanvas->Changed();
}

void TkaCustomToggleSwitch::DrawStyledElements(TCanvas* ACanvas, bool On) {
  const bool enabled = Enabled();
  TThemedToggleSwitch track = ttsTrackOffNormal;
  if (On)
    track = enabled ? ttsTrackOnNormal : ttsTrackOnDisabled;
  else if (!enabled)
    track = ttsTrackOffDisabled;
  DrawStyleElement(ACanvas, track, FSWRect);
  DrawStyleElement(ACanvas, enabled ? ttsThumbNormal : ttsThumbDisabled, FThumbRect);
}

void TkaCustomToggleSwitch::DrawSwitch(TCanvas* ACanvas) {
  UpdateGeometry();
  const bool on = VisualOn();
  if (FStyleKind == kaswsCustomImage && FCustomImages != nullptr)
    DrawCustomImages(ACanvas, on);
  else if (FStyleKind == kaswsStyled && IsCustomStyleActive(this))
    DrawStyledElements(ACanvas, on);
  else
    DrawMasks(ACanvas, on);
}

TColor TkaCustomToggleSwitch::CaptionColor(TkasCtrlState ACtrlState) const {
  if (ACtrlState != kasDisabled && FUseFontColorToStyleColor) return GetStyleSystemColor(Font()->Color(), this);
  return GetCheckBoxTextColor(ACtrlState, this);
}

TRect TkaCustomToggleSwitch::CaptionRect(TSize Size) const {
  const int gap = Round(ScaleFactor() * 10);
  const TRect area = RightToLeft() ? TRect(2, 2, FSWRect.Left - gap, Height() - 2)
                                   : TRect(FSWRect.Right + gap, 2, Width() - 2, Height() - 2);
  const int top = area.Top + area.Height() / 2 - Size.cy / 2;
  const int left = RightToLeft() ? area.Right - Size.cx : area.Left;
  return TRect(left, top, left + Size.cx, top + Size.cy);
}

TSize TkaCustomToggleSwitch::MeasureCaption(TCanvas* ACanvas, const String& Text) {
  TRect r(0, 0, 0, 0);
  ::DrawTextW(ACanvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), r.AsRECT(), DT_CALCRECT | DT_NOPREFIX);
  return TSize{r.Width(), r.Height()};
}

void TkaCustomToggleSwitch::PaintCaption(TCanvas* ACanvas, const String& Text, const TRect& TextRect, bool Focus,
                                         TColor Color) {
  TRect r = TextRect;
  r.Offset(0, -1);
  DrawTextLine(ACanvas, Text, r, true, RightToLeft());
  if (!Focus) return;
  r.Inflate(3, 3);
  DrawFocusRectangle(ACanvas, r, ScaleFactor());
}

void TkaCustomToggleSwitch::PaintFocusFrame(TCanvas* ACanvas, const TRect& R, TColor Color) {
  DrawFocusRectangle(ACanvas, R, ScaleFactor());
}

void TkaCustomToggleSwitch::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  if (FLoading) return;
  DrawSwitch(ACanvas);
  const TColor color = CaptionColor(ACtrlState);
  ACanvas->Font()->Assign(Font());
  ACanvas->Font()->SetColor(color);
  ACanvas->Brush()->SetStyle(bsClear);
  const bool focus = FCanFocused && Focused();
  const String& caption = CurrentCaption();
  if (FShowCaption && !caption.empty()) {
    PaintCaption(ACanvas, caption, CaptionRect(MeasureCaption(ACanvas, caption)), focus, color);
  } else if (focus) {
    TRect r = FSWRect;
    r.Inflate(2, 2);
    PaintFocusFrame(ACanvas, r, color);
  }
}

// ---- Layout streaming -----------------------------------------------------------------------

KA_REGISTER_ENUM(TkaSwitchState, {{L"kaswOff", kaswOff}, {L"kaswOn", kaswOn}});
KA_REGISTER_ENUM(TkaSwitchStyleKind,
                 {{L"kaswsStyled", kaswsStyled}, {L"kaswsColor", kaswsColor}, {L"kaswsCustomImage", kaswsCustomImage}});

using TSw = TkaCustomToggleSwitch;
#define KA_SW_PROP(Name) c.Property(L## #Name, &TSw::Name, &TSw::Set##Name)
KA_REGISTER_CLASS(TkaCustomToggleSwitch, [](auto& c) {
  KA_SW_PROP(CanFocused);
  KA_SW_PROP(CaptionOn);
  KA_SW_PROP(CaptionOff);
  KA_SW_PROP(FrameColor);
  KA_SW_PROP(FrameOnColor);
  KA_SW_PROP(FramePressedColor);
  KA_SW_PROP(ReadOnly);
  KA_SW_PROP(State);
  KA_SW_PROP(StyleKind);
  KA_SW_PROP(SwitchWidth);
  KA_SW_PROP(SwitchHeight);
  KA_SW_PROP(ShowCaption);
  KA_SW_PROP(ThumbColor);
  KA_SW_PROP(ThumbOnColor);
  KA_SW_PROP(ThumbPressedColor);
  KA_SW_PROP(UseFontColorToStyleColor);
  c.Property(L"OnChangeState", &TSw::OnChangeState);
});
#undef KA_SW_PROP
