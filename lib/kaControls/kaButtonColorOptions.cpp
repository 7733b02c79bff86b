#include "lib/kaControls/kaButtonColorOptions.h"

#include "framework/Controls.h"
#include "framework/TypeInfo.h"

void TkaButtonColorOptions::Changed() {
  if (OnChange) OnChange(this);
}

void TkaButtonColorOptions::SetValue(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TkaButtonColorOptions::SetFrameWidth(int Value) {
  if (FFrameWidth == Value) return;
  FFrameWidth = Value;
  Changed();
}

void TkaButtonColorOptions::SetStyleColors(bool Value) {
  if (FStyleColors == Value) return;
  FStyleColors = Value;
  Changed();
}

void TkaButtonColorOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaButtonColorOptions*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FNormalColor = s->FNormalColor;
  FHotColor = s->FHotColor;
  FPressedColor = s->FPressedColor;
  FFocusedColor = s->FFocusedColor;
  FDisabledColor = s->FDisabledColor;
  FFrameNormalColor = s->FFrameNormalColor;
  FFrameHotColor = s->FFrameHotColor;
  FFramePressedColor = s->FFramePressedColor;
  FFrameFocusedColor = s->FFrameFocusedColor;
  FFrameDisabledColor = s->FFrameDisabledColor;
  FFontNormalColor = s->FFontNormalColor;
  FFontHotColor = s->FFontHotColor;
  FFontPressedColor = s->FFontPressedColor;
  FFontFocusedColor = s->FFontFocusedColor;
  FFontDisabledColor = s->FFontDisabledColor;
  FTitleFontNormalColor = s->FTitleFontNormalColor;
  FTitleFontHotColor = s->FTitleFontHotColor;
  FTitleFontPressedColor = s->FTitleFontPressedColor;
  FTitleFontFocusedColor = s->FTitleFontFocusedColor;
  FTitleFontDisabledColor = s->FTitleFontDisabledColor;
  FFrameWidth = s->FFrameWidth;
  FStyleColors = s->FStyleColors;
  Changed();
}

TColor TkaButtonColorOptions::Resolve(TColor Normal, TColor Hot, TColor Pressed, TColor Focused,
                                      TColor Disabled) const {
  TColor c = Normal;
  switch (FState) {
    case kasNormal: c = Normal; break;
    case kasHot: c = Hot; break;
    case kasPressed: c = Pressed; break;
    case kasFocused: c = Focused; break;
    case kasDisabled: c = Disabled; break;
  }
  return FStyleColors ? GetStyleSystemColor(c, FControl) : c;
}

TColor TkaButtonColorOptions::GetColor() const {
  return Resolve(FNormalColor, FHotColor, FPressedColor, FFocusedColor, FDisabledColor);
}

TColor TkaButtonColorOptions::GetFrameColor() const {
  return Resolve(FFrameNormalColor, FFrameHotColor, FFramePressedColor, FFrameFocusedColor, FFrameDisabledColor);
}

TColor TkaButtonColorOptions::GetFontColor() const {
  return Resolve(FFontNormalColor, FFontHotColor, FFontPressedColor, FFontFocusedColor, FFontDisabledColor);
}

TColor TkaButtonColorOptions::GetTitleFontColor() const {
  return Resolve(FTitleFontNormalColor, FTitleFontHotColor, FTitleFontPressedColor, FTitleFontFocusedColor,
                 FTitleFontDisabledColor);
}

#define KA_COLOR(Name) c.Property(L## #Name, &TkaButtonColorOptions::Name, &TkaButtonColorOptions::Set##Name)
KA_REGISTER_CLASS(TkaButtonColorOptions, [](auto& c) {
  KA_COLOR(NormalColor);
  KA_COLOR(HotColor);
  KA_COLOR(PressedColor);
  KA_COLOR(FocusedColor);
  KA_COLOR(DisabledColor);
  KA_COLOR(FrameNormalColor);
  KA_COLOR(FrameHotColor);
  KA_COLOR(FramePressedColor);
  KA_COLOR(FrameFocusedColor);
  KA_COLOR(FrameDisabledColor);
  c.Property(L"FrameWidth", &TkaButtonColorOptions::FrameWidth, &TkaButtonColorOptions::SetFrameWidth);
  KA_COLOR(FontNormalColor);
  KA_COLOR(FontHotColor);
  KA_COLOR(FontPressedColor);
  KA_COLOR(FontFocusedColor);
  KA_COLOR(FontDisabledColor);
  KA_COLOR(TitleFontNormalColor);
  KA_COLOR(TitleFontHotColor);
  KA_COLOR(TitleFontPressedColor);
  KA_COLOR(TitleFontFocusedColor);
  KA_COLOR(TitleFontDisabledColor);
  c.Property(L"StyleColors", &TkaButtonColorOptions::StyleColors, &TkaButtonColorOptions::SetStyleColors);
  c.Property(L"OnChange", &TkaButtonColorOptions::OnChange);
});
#undef KA_COLOR
