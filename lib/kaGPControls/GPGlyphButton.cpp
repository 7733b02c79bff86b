#include "lib/kaGPControls/GPGlyphButton.h"

#include <algorithm>

#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

// ---- Glyph options ------------------------------------------------------------------------

void TkaGPGlyphOptions::SetThickness(uint8_t Value) {
  if (Value != 0) SetValue(FThickness, Value);
}

void TkaGPGlyphOptions::SetSize(int Value) {
  if (Value >= 0) SetValue(FSize, Value);
}

void TkaGPGlyphOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPGlyphOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FNormalColor = s->FNormalColor;
  FHotColor = s->FHotColor;
  FPressedColor = s->FPressedColor;
  FFocusedColor = s->FFocusedColor;
  FDisabledColor = s->FDisabledColor;
  FNormalColorAlpha = s->FNormalColorAlpha;
  FHotColorAlpha = s->FHotColorAlpha;
  FPressedColorAlpha = s->FPressedColorAlpha;
  FFocusedColorAlpha = s->FFocusedColorAlpha;
  FDisabledColorAlpha = s->FDisabledColorAlpha;
  FStyleColors = s->FStyleColors;
  FKind = s->FKind;
  FThickness = s->FThickness;
  if (OnChange) OnChange(this);
}

void TkaGPGlyphOptions::SetState(TkasCtrlState Value) {
  FState = Value;
  FHighContrast = IsHighContrastOn();
}

TColor TkaGPGlyphOptions::GetColor() const {
  if (FHighContrast) return HighContrastColor(kahcText, FState);
  TColor c = FNormalColor;
  switch (FState) {
    case kasHot: c = FHotColor; break;
    case kasPressed: c = FPressedColor; break;
    case kasFocused: c = FFocusedColor; break;
    case kasDisabled: c = FDisabledColor; break;
    default: break;
  }
  return FStyleColors ? GetStyleSystemColor(c, FControl) : c;
}

uint8_t TkaGPGlyphOptions::GetColorAlpha() const {
  if (FHighContrast) return 255;
  switch (FState) {
    case kasHot: return FHotColorAlpha;
    case kasPressed: return FPressedColorAlpha;
    case kasFocused: return FFocusedColorAlpha;
    case kasDisabled: return FDisabledColorAlpha;
    default: return FNormalColorAlpha;
  }
}

// ---- Button -------------------------------------------------------------------------------

namespace {

bool IsColorMarker(TkaGPButtonGlyphKind Kind) {
  return Kind == kagpbgkFontColorMarker || Kind == kagpbgkFillColorMarker || Kind == kagpbgkColorMarker;
}

}  // namespace

TkaGPGlyphButton::TkaGPGlyphButton(TComponent* AOwner)
    : TkaGPCustomGlyphButton(AOwner), FGlyphOptions(new TkaGPGlyphOptions(this)) {
  FGlyphOptions->OnChange = [this](TObject*) { OptionsChanged(); };
}

TkaGPGlyphButton::~TkaGPGlyphButton() { FGlyphOptions->Free(); }

void TkaGPGlyphButton::SetColorValue(TColor Value) {
  if (FColorValue == Value) return;
  FColorValue = Value;
  if (IsColorMarker(FGlyphOptions->Kind())) RePaintControl();
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  if (OnColorValueChange) OnColorValueChange(this);
}

void TkaGPGlyphButton::ScaleIcon(int M, int D) {
  if (FGlyphOptions->ThicknessScaled())
    FGlyphOptions->SetThickness(static_cast<uint8_t>(std::clamp(::MulDiv(FGlyphOptions->Thickness(), M, D), 0, 255)));
  if (FGlyphOptions->Size() != 0) FGlyphOptions->SetSize(::MulDiv(FGlyphOptions->Size(), M, D));
}

bool TkaGPGlyphButton::IsGroupSibling(const TControl* Control) const {
  return dynamic_cast<const TkaGPGlyphButton*>(Control) != nullptr;
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaGPGlyphButton::DrawGlyph(Graphics* G, const TGPRectF& Box, TGPColor Color, double AScaleFactor) {
  const TkaGPButtonGlyphKind Kind = FGlyphOptions->Kind();
  GPDrawGlyph(G, Kind, Box, Color, AScaleFactor, FGlyphOptions->Thickness(),
              IsColorMarker(Kind) ? FColorValue : clNone);
}

void TkaGPGlyphButton::DrawContent(Graphics* G, TCanvas* ACanvas, const TRect& Content) {
  // The face drawing left the options at the state being painted.
  FGlyphOptions->SetState(FOptions->State());
  const TkaGPContentLayout Place = ContentLayout(Content);
  const TRect& R = Place.Icon;
  const TButtonLayout L = Place.Layout;
  const int Size = FGlyphOptions->Size();
  // A button too small for its frame has no room for a glyph.
  if (R.Width() > 0 || Size > 0) {
    TGPRectF Box = RectToGPRect(R);
    if (Size > 0) {
      const float S = static_cast<float>(Size);
      Box = TGPRectF(static_cast<REAL>(R.Left + (R.Width() - Size) / 2),
                     static_cast<REAL>(R.Top + (R.Height() - Size) / 2), S, S);
    }
    Box.Width = Box.Height;
    const bool NoMargin =
        Size > 0 || FMinMargins || L == blGlyphTop || (L == blGlyphBottom && FShowCaption);
    const float d = NoMargin ? 0.0f : Height() / 20.0f;
    if (d != 0 && GPGlyphKindUsesMargin(FGlyphOptions->Kind())) InflateGPRect(Box, -d, -d);
    const double GlyphScale = FGlyphOptions->ThicknessScaled() ? 1.0 : ScaleFactor();
    DrawGlyph(G, Box, ToGPColor(FGlyphOptions->GetColor(), FGlyphOptions->GetColorAlpha()), GlyphScale);
  }
  if (!FShowCaption) return;
  // A fixed margin counts from a square the button's height wide.
  TRect M = Place.Caption;
  if (FTextMargin >= 0) {
    if (L == blGlyphLeft) M.Left = Height();
    if (L == blGlyphRight) M.Right = Width() - Height();
  }
  DrawCaption(G, ACanvas, M);
}

// ---- Layout streaming -----------------------------------------------------------------------

using TGlyphOpts = TkaGPGlyphOptions;
#define KA_GLYPH_OPT(Name) c.Property(L## #Name, &TGlyphOpts::Name, &TGlyphOpts::Set##Name)
KA_REGISTER_CLASS(TkaGPGlyphOptions, [](auto& c) {
  KA_GLYPH_OPT(NormalColor);
  KA_GLYPH_OPT(HotColor);
  KA_GLYPH_OPT(PressedColor);
  KA_GLYPH_OPT(FocusedColor);
  KA_GLYPH_OPT(DisabledColor);
  KA_GLYPH_OPT(NormalColorAlpha);
  KA_GLYPH_OPT(HotColorAlpha);
  KA_GLYPH_OPT(PressedColorAlpha);
  KA_GLYPH_OPT(FocusedColorAlpha);
  KA_GLYPH_OPT(DisabledColorAlpha);
  KA_GLYPH_OPT(Kind);
  KA_GLYPH_OPT(Thickness);
  KA_GLYPH_OPT(ThicknessScaled);
  KA_GLYPH_OPT(Size);
  KA_GLYPH_OPT(StyleColors);
  c.Property(L"OnChange", &TGlyphOpts::OnChange);
});
#undef KA_GLYPH_OPT

using TBtn = TkaGPGlyphButton;
KA_REGISTER_CLASS(TkaGPGlyphButton, [](auto& c) {
  c.Property(L"GlyphOptions", &TBtn::GlyphOptions);
  c.Property(L"ColorValue", &TBtn::ColorValue, &TBtn::SetColorValue);
});
