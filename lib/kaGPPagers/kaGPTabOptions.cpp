#include "lib/kaGPPagers/kaGPTabOptions.h"

#include <algorithm>

#include "framework/TypeInfo.h"

// ---- TkaGPTabOptions ------------------------------------------------------------------------

void TkaGPTabOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPTabOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FNormalColor = s->FNormalColor;
  FActiveColor = s->FActiveColor;
  FMouseInColor = s->FMouseInColor;
  FFocusedColor = s->FFocusedColor;
  FFrameNormalColor = s->FFrameNormalColor;
  FFrameActiveColor = s->FFrameActiveColor;
  FFrameMouseInColor = s->FFrameMouseInColor;
  FFrameFocusedColor = s->FFrameFocusedColor;
  FFrameWidth = s->FFrameWidth;
  FFontNormalColor = s->FFontNormalColor;
  FFontActiveColor = s->FFontActiveColor;
  FFontMouseInColor = s->FFontMouseInColor;
  FFontFocusedColor = s->FFontFocusedColor;
  FNormalColorAlpha = s->FNormalColorAlpha;
  FActiveColorAlpha = s->FActiveColorAlpha;
  FMouseInColorAlpha = s->FMouseInColorAlpha;
  FFocusedColorAlpha = s->FFocusedColorAlpha;
  FFrameNormalColorAlpha = s->FFrameNormalColorAlpha;
  FFrameActiveColorAlpha = s->FFrameActiveColorAlpha;
  FFrameMouseInColorAlpha = s->FFrameMouseInColorAlpha;
  FFrameFocusedColorAlpha = s->FFrameFocusedColorAlpha;
  FShapeCornerRadius = s->FShapeCornerRadius;
  FShapeFillStyle = s->FShapeFillStyle;
  FGradientColorOffset = s->FGradientColorOffset;
  FStyleColors = s->FStyleColors;
  FLineWidth = s->FLineWidth;
  Changed();
}

void TkaGPTabOptions::SetFrameWidth(int Value) {
  if (Value >= 1) SetValue(FFrameWidth, Value);
}

void TkaGPTabOptions::SetLineWidth(int Value) {
  if (Value >= 0) SetValue(FLineWidth, Value);
}

void TkaGPTabOptions::SetShapeCornerRadius(int Value) {
  if (Value >= 0) SetValue(FShapeCornerRadius, Value);
}

void TkaGPTabOptions::SetGradientColorOffset(uint8_t Value) {
  if (Value <= 100) SetValue(FGradientColorOffset, Value);
}

void TkaGPTabOptions::SetShapeFillGradientAngle(int Value) {
  if (Value < -360 || Value > 360 || Value == FShapeFillGradientAngle) return;
  FShapeFillGradientAngle = Value;
  // A solid fill does not show the angle.
  if (FShapeFillStyle == kagpsfGradient) Changed();
}

void TkaGPTabOptions::Scale(int M, int D, bool AFrameWidth) {
  FShapeCornerRadius = ::MulDiv(FShapeCornerRadius, M, D);
  if (AFrameWidth) FFrameWidth = std::max(1, ::MulDiv(FFrameWidth, M, D));
}

int TkaGPTabOptions::Slot() const {
  switch (FState) {
    case kasHot: return 2;
    case kasPressed: return 1;
    case kasFocused: return 3;
    default: return 0;
  }
}

TColor TkaGPTabOptions::Mapped(TColor Color) const {
  return FStyleColors ? GetStyleSystemColor(Color, FControl) : Color;
}

TColor TkaGPTabOptions::GetColor() const {
  const TColor c[] = {FNormalColor, FActiveColor, FMouseInColor, FFocusedColor};
  return Mapped(c[Slot()]);
}

TColor TkaGPTabOptions::GetFrameColor() const {
  const TColor c[] = {FFrameNormalColor, FFrameActiveColor, FFrameMouseInColor, FFrameFocusedColor};
  return Mapped(c[Slot()]);
}

TColor TkaGPTabOptions::GetFontColor() const {
  const TColor c[] = {FFontNormalColor, FFontActiveColor, FFontMouseInColor, FFontFocusedColor};
  return Mapped(c[Slot()]);
}

uint8_t TkaGPTabOptions::GetColorAlpha() const {
  const uint8_t a[] = {FNormalColorAlpha, FActiveColorAlpha, FMouseInColorAlpha, FFocusedColorAlpha};
  return a[Slot()];
}

uint8_t TkaGPTabOptions::GetFrameColorAlpha() const {
  const uint8_t a[] = {FFrameNormalColorAlpha, FFrameActiveColorAlpha, FFrameMouseInColorAlpha,
                       FFrameFocusedColorAlpha};
  return a[Slot()];
}

// ---- TkaGPTabCloseButtonOptions ----------------------------------------------------------------

void TkaGPTabCloseButtonOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPTabCloseButtonOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FNormalColor = s->FNormalColor;
  FNormalColorAlpha = s->FNormalColorAlpha;
  FHotColor = s->FHotColor;
  FHotColorAlpha = s->FHotColorAlpha;
  FPressedColor = s->FPressedColor;
  FPressedColorAlpha = s->FPressedColorAlpha;
  FDisabledColor = s->FDisabledColor;
  FDisabledColorAlpha = s->FDisabledColorAlpha;
  FGlyphNormalColor = s->FGlyphNormalColor;
  FGlyphNormalColorAlpha = s->FGlyphNormalColorAlpha;
  FGlyphHotColor = s->FGlyphHotColor;
  FGlyphHotColorAlpha = s->FGlyphHotColorAlpha;
  FGlyphPressedColor = s->FGlyphPressedColor;
  FGlyphPressedColorAlpha = s->FGlyphPressedColorAlpha;
  FGlyphDisabledColor = s->FGlyphDisabledColor;
  FGlyphDisabledColorAlpha = s->FGlyphDisabledColorAlpha;
  FShapeKind = s->FShapeKind;
  FStyleColors = s->FStyleColors;
  if (OnChange) OnChange(this);
}

TColor TkaGPTabCloseButtonOptions::Mapped(TColor Color) const {
  return FStyleColors ? GetStyleSystemColor(Color, FControl) : Color;
}

namespace {
template <class T>
T ByCloseState(TkasCtrlState State, T Normal, T Hot, T Pressed, T Disabled) {
  switch (State) {
    case kasHot: return Hot;
    case kasPressed: return Pressed;
    case kasDisabled: return Disabled;
    default: return Normal;
  }
}
}  // namespace

TColor TkaGPTabCloseButtonOptions::GetColor() const {
  return Mapped(ByCloseState(FState, FNormalColor, FHotColor, FPressedColor, FDisabledColor));
}

uint8_t TkaGPTabCloseButtonOptions::GetColorAlpha() const {
  return ByCloseState(FState, FNormalColorAlpha, FHotColorAlpha, FPressedColorAlpha, FDisabledColorAlpha);
}

TColor TkaGPTabCloseButtonOptions::GetGlyphColor() const {
  return Mapped(ByCloseState(FState, FGlyphNormalColor, FGlyphHotColor, FGlyphPressedColor, FGlyphDisabledColor));
}

uint8_t TkaGPTabCloseButtonOptions::GetGlyphColorAlpha() const {
  return ByCloseState(FState, FGlyphNormalColorAlpha, FGlyphHotColorAlpha, FGlyphPressedColorAlpha,
                      FGlyphDisabledColorAlpha);
}

// ---- TkaGPTabScrollButton ----------------------------------------------------------------------

TkaGPTabScrollButton::TkaGPTabScrollButton(TComponent* AOwner) : TkaGPGlyphButton(AOwner) {
  SetCanFocused(false);
  SetRepeatClick(true);
  TkaGPButtonOptions* o = Options();
  // Only the face shows; the button has no frame in any state.
  o->SetFrameNormalColor(clNone);
  o->SetFrameHotColor(clNone);
  o->SetFramePressedColor(clNone);
  o->SetFrameFocusedColor(clNone);
  o->SetFrameDisabledColor(clNone);
  o->SetFrameNormalColorAlpha(0);
  o->SetFrameHotColorAlpha(0);
  o->SetFramePressedColorAlpha(0);
  o->SetFrameFocusedColorAlpha(0);
  o->SetFrameDisabledColorAlpha(0);
}

TkaGPTabScrollButton::TkaGPTabScrollButton(TComponent* AOwner, TColor AColor, TColor AArrowColor,
                                           uint8_t AArrowThickness, bool ATransparent)
    : TkaGPTabScrollButton(AOwner) {
  UpdateOptions(AColor, AArrowColor, AArrowThickness, ATransparent);
}

void TkaGPTabScrollButton::UpdateOptions(TColor AColor, TColor AArrowColor, uint8_t AArrowThickness,
                                         bool ATransparent) {
  SetTransparentBackground(ATransparent);
  TkaGPButtonOptions* o = Options();
  o->SetNormalColor(AColor);
  o->SetHotColor(AColor);
  o->SetPressedColor(AColor);
  // Over an opaque background the face needs less colour to show the same.
  o->SetNormalColorAlpha(ATransparent ? 20 : 15);
  o->SetHotColorAlpha(ATransparent ? 50 : 40);
  o->SetPressedColorAlpha(ATransparent ? 70 : 60);
  TkaGPGlyphOptions* g = GlyphOptions();
  g->SetNormalColor(AArrowColor);
  g->SetHotColor(AArrowColor);
  g->SetPressedColor(AArrowColor);
  g->SetFocusedColor(AArrowColor);
  g->SetDisabledColor(AArrowColor);
  g->SetThickness(AArrowThickness);
}

// ---- Published properties ----------------------------------------------------------------------

KA_REGISTER_ENUM(TkaGPTabStyle, {{L"gptsShape", gptsShape},
                                 {L"gptsBottomLine", gptsBottomLine},
                                 {L"gptsLine", gptsLine},
                                 {L"gptsRoundedLine", gptsRoundedLine}});
KA_REGISTER_ENUM(TkaGPTabCloseButtonShapeKind, {{L"kagptcbRounded", kagptcbRounded}, {L"kagptcbRect", kagptcbRect}});

using TTabOpts = TkaGPTabOptions;
#define KA_TAB_OPT(Name) c.Property(L## #Name, &TTabOpts::Name, &TTabOpts::Set##Name)
KA_REGISTER_CLASS(TkaGPTabOptions, [](auto& c) {
  KA_TAB_OPT(NormalColor);
  KA_TAB_OPT(ActiveColor);
  KA_TAB_OPT(MouseInColor);
  KA_TAB_OPT(FocusedColor);
  KA_TAB_OPT(NormalColorAlpha);
  KA_TAB_OPT(ActiveColorAlpha);
  KA_TAB_OPT(MouseInColorAlpha);
  KA_TAB_OPT(FocusedColorAlpha);
  KA_TAB_OPT(FrameNormalColor);
  KA_TAB_OPT(FrameActiveColor);
  KA_TAB_OPT(FrameMouseInColor);
  KA_TAB_OPT(FrameFocusedColor);
  KA_TAB_OPT(FrameWidth);
  KA_TAB_OPT(FrameNormalColorAlpha);
  KA_TAB_OPT(FrameActiveColorAlpha);
  KA_TAB_OPT(FrameMouseInColorAlpha);
  KA_TAB_OPT(FrameFocusedColorAlpha);
  KA_TAB_OPT(FontNormalColor);
  KA_TAB_OPT(FontActiveColor);
  KA_TAB_OPT(FontMouseInColor);
  KA_TAB_OPT(FontFocusedColor);
  KA_TAB_OPT(TabStyle);
  KA_TAB_OPT(LineWidth);
  KA_TAB_OPT(ShapeFillStyle);
  KA_TAB_OPT(ShapeFillGradientAngle);
  KA_TAB_OPT(GradientColorOffset);
  KA_TAB_OPT(ShapeCornerRadius);
  KA_TAB_OPT(StyleColors);
  c.Property(L"OnChange", &TTabOpts::OnChange);
});
#undef KA_TAB_OPT

using TCloseOpts = TkaGPTabCloseButtonOptions;
#define KA_CLOSE_OPT(Name) c.Property(L## #Name, &TCloseOpts::Name, &TCloseOpts::Set##Name)
KA_REGISTER_CLASS(TkaGPTabCloseButtonOptions, [](auto& c) {
  KA_CLOSE_OPT(NormalColor);
  KA_CLOSE_OPT(HotColor);
  KA_CLOSE_OPT(PressedColor);
  KA_CLOSE_OPT(DisabledColor);
  KA_CLOSE_OPT(NormalColorAlpha);
  KA_CLOSE_OPT(HotColorAlpha);
  KA_CLOSE_OPT(PressedColorAlpha);
  KA_CLOSE_OPT(DisabledColorAlpha);
  KA_CLOSE_OPT(GlyphNormalColor);
  KA_CLOSE_OPT(GlyphHotColor);
  KA_CLOSE_OPT(GlyphPressedColor);
  KA_CLOSE_OPT(GlyphDisabledColor);
  KA_CLOSE_OPT(GlyphNormalColorAlpha);
  KA_CLOSE_OPT(GlyphHotColorAlpha);
  KA_CLOSE_OPT(GlyphPressedColorAlpha);
  KA_CLOSE_OPT(GlyphDisabledColorAlpha);
  KA_CLOSE_OPT(ShapeKind);
  // Streamed under this spelling, which layouts already carry.
  c.Property(L"StyleColros", &TCloseOpts::StyleColors, &TCloseOpts::SetStyleColors);
});
#undef KA_CLOSE_OPT

KA_REGISTER_CLASS(TkaGPTabScrollButton);
