#include "lib/kaDrawUtils/GlowEffect.h"

#include <tuple>

#include "framework/Controls.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"

void TkaGlowEffect::Changed() {
  if (OnChange) OnChange(this);
}

void TkaGlowEffect::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed();
}

void TkaGlowEffect::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGlowEffect*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  const bool wasEnabled = FEnabled;
  if (CopyFrom(s) && (wasEnabled || FEnabled)) Changed();
}

bool TkaGlowEffect::CopyFrom(const TkaGlowEffect* Source) {
  auto values = [](const TkaGlowEffect* g) {
    return std::make_tuple(g->FEnabled, g->FColor, g->FAlphaValue, g->FGlowSize, g->FOffset, g->FIntensive,
                           g->FStyleColors);
  };
  if (values(this) == values(Source)) return false;
  std::tie(FEnabled, FColor, FAlphaValue, FGlowSize, FOffset, FIntensive, FStyleColors) = values(Source);
  return true;
}

TColor TkaGlowEffect::Resolve(TColor Value) const {
  return FStyleColors ? GetStyleSystemColor(Value, FControl) : Value;
}

bool TkaGlowEffect::ClassicDrawing() const {
  return !IsCustomStyleActiveFor(FControl) && !StyleServices(FControl)->Enabled();
}

uint8_t TkaGlowEffect::GetAlphaValue() const {
  if (FColor == clHighlight && FAlphaValue > 170 && ClassicDrawing()) return static_cast<uint8_t>(FAlphaValue - 80);
  return FAlphaValue;
}

bool TkaButtonGlowEffect::CopyFrom(const TkaGlowEffect* Source) {
  bool changed = inherited::CopyFrom(Source);
  auto* s = dynamic_cast<const TkaButtonGlowEffect*>(Source);
  if (s == nullptr) return changed;
  auto values = [](const TkaButtonGlowEffect* g) {
    return std::make_tuple(g->FHotColor, g->FPressedColor, g->FFocusedColor, g->FPressedAlphaValue,
                           g->FPressedGlowSize, g->FStates);
  };
  if (values(this) == values(s)) return changed;
  std::tie(FHotColor, FPressedColor, FFocusedColor, FPressedAlphaValue, FPressedGlowSize, FStates) = values(s);
  return true;
}

uint8_t TkaButtonGlowEffect::GetPressedAlphaValue() const {
  if (FPressedColor == clHighlight && FPressedAlphaValue > 200 && ClassicDrawing())
    return static_cast<uint8_t>(FPressedAlphaValue - 50);
  return FPressedAlphaValue;
}

KA_REGISTER_ENUM(TkasCtrlState, {{L"kasNormal", kasNormal},
                                 {L"kasHot", kasHot},
                                 {L"kasPressed", kasPressed},
                                 {L"kasFocused", kasFocused},
                                 {L"kasDisabled", kasDisabled}});

using TGlow = TkaGlowEffect;
KA_REGISTER_CLASS(TkaGlowEffect, [](auto& c) {
  c.Property(L"Enabled", &TGlow::Enabled, &TGlow::SetEnabled);
  c.Property(L"Color", &TGlow::Color, &TGlow::SetColor);
  c.Property(L"AlphaValue", &TGlow::AlphaValue, &TGlow::SetAlphaValue);
  c.Property(L"GlowSize", &TGlow::GlowSize, &TGlow::SetGlowSize);
  c.Property(L"Offset", &TGlow::Offset, &TGlow::SetOffset);
  c.Property(L"Intensive", &TGlow::Intensive, &TGlow::SetIntensive);
  c.Property(L"StyleColors", &TGlow::StyleColors, &TGlow::SetStyleColors);
  c.Property(L"OnChange", &TGlow::OnChange);
});

using TButtonGlow = TkaButtonGlowEffect;
KA_REGISTER_CLASS(TkaButtonGlowEffect, [](auto& c) {
  c.Property(L"HotColor", &TButtonGlow::HotColor, &TButtonGlow::SetHotColor);
  c.Property(L"PressedColor", &TButtonGlow::PressedColor, &TButtonGlow::SetPressedColor);
  c.Property(L"FocusedColor", &TButtonGlow::FocusedColor, &TButtonGlow::SetFocusedColor);
  c.Property(L"PressedAlphaValue", &TButtonGlow::PressedAlphaValue, &TButtonGlow::SetPressedAlphaValue);
  c.Property(L"PressedGlowSize", &TButtonGlow::PressedGlowSize, &TButtonGlow::SetPressedGlowSize);
  c.Property(L"States", &TButtonGlow::States, &TButtonGlow::SetStates);
});
