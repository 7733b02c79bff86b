// TkaStyledForm, translucent backdrops: which backdrop a form gets, the accent record that
// asks the compositor for it, the acrylic tint on activation changes, and the refresh of the
// frame margins and opaque controls.
#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaStyledForm/kaStyledForm.h"

bool TkaStyledForm::IsFluentUIAvailable() const {
  // High contrast wants plain, opaque surfaces.
  return IsWindows10OrLater() && FDWMClientShadow && WindowsBuildNumber() >= kaBuildFluentUI &&
         PlatformBinding().SetWindowCompositionAttribute != nullptr && !IsHighContrastOn();
}

bool TkaStyledForm::IsFluentUIEnabled() const { return FFluentUIBackground != kafuibNone && IsFluentUIAvailable(); }

bool TkaStyledForm::IsFluentUIAcrylicBackground() const {
  return GetEffectiveFluentUIBackground() == kafuibAcrylic;
}

TkaFluentUIBackground TkaStyledForm::GetEffectiveFluentUIBackground() const {
  switch (FFluentUIBackground) {
    case kafuibMica:
    case kafuibMicaAlt:
    case kafuibSystemAcrylic:
      // Before the compositor has backdrops of its own, what the automatic choice gives.
      if (IsSystemBackdropSupported()) return FFluentUIBackground;
      return IsWindows11() ? kafuibAcrylic : kafuibBlur;
    case kafuibAcrylicBlurAuto:
      return IsWindows11() ? kafuibAcrylic : kafuibBlur;
    default:
      return FFluentUIBackground;
  }
}

int TkaStyledForm::SystemBackdropType(TkaFluentUIBackground Value) {
  switch (Value) {
    case kafuibMica:
      return kaDwmsbtMainWindow;
    case kafuibMicaAlt:
      return kaDwmsbtTabbedWindow;
    case kafuibSystemAcrylic:
      return kaDwmsbtTransientWindow;
    default:
      return 0;
  }
}

void TkaStyledForm::SetFluentUIBackground(TkaFluentUIBackground Value) {
  if (FFluentUIBackground == Value) return;
  FFluentUIBackground = Value;
  const bool designing = ComponentState().Contains(csDesigning);
  // The new window gets its frame and accent through its WM_STYLECHANGED.
  if (!designing && !ComponentState().Contains(csLoading) && !IsDestroying() && FForm != nullptr)
    FForm->RecreateWnd();
  if (designing && Value != kafuibNone && FForm != nullptr) FForm->SetStyleElements(TStyleElements{seFont});
  if (OnChangeFluentUIBackground) OnChangeFluentUIBackground(this);
}

void TkaStyledForm::SetFluentUIAcrylicColor(TColor Value) {
  if (FFluentUIAcrylicColor == Value) return;
  FFluentUIAcrylicColor = Value;
  UpdateFluentAcrylicColor();
}

void TkaStyledForm::SetFluentUIAcrylicColorAlpha(uint8_t Value) {
  if (FFluentUIAcrylicColorAlpha == Value) return;
  FFluentUIAcrylicColorAlpha = Value;
  UpdateFluentAcrylicColor();
}

TkaAccentPolicy TkaStyledForm::MakeAcrylicAccent(uint8_t AAlpha) const {
  TkaAccentPolicy accent;
  accent.AccentState = ACCENT_ENABLE_ACRYLICBLURBEHIND;
  accent.AccentFlags = FFluentUIBorder && !FDWMClientMaximized ? ACCENT_FLAGS_DRAW_ALL_BORDERS : 0;
  accent.AccentColor = MakeAccentColor(GetStyleSystemColor(FFluentUIAcrylicColor, FForm), AAlpha);
  accent.AnimationId = 0;
  return accent;
}

bool TkaStyledForm::ApplyFluentAccent() {
  FForm->SetColor(clBlack);
  if (IsSystemBackdrop()) {
    // The compositor's backdrop shows through the frame extended over the whole window (see
    // UpdateDWMClientFrame); no accent is involved.
    SetWindowSystemBackdrop(FormHandle(), SystemBackdropType(GetEffectiveFluentUIBackground()));
    return false;
  }
  const bool bordered = FFluentUIBorder && !FDWMClientMaximized;
  TkaAccentPolicy accent;
  bool applied = false;
  if (GetEffectiveFluentUIBackground() == kafuibBlur) {
    accent.AccentState = ACCENT_ENABLE_BLURBEHIND;
    accent.AccentFlags = bordered ? ACCENT_FLAGS_DRAW_ALL_BORDERS : 0;
    accent.AccentColor = 0;
    applied = bordered;
  } else {
    accent = MakeAcrylicAccent(FFluentUIAcrylicColorAlpha);
    applied = true;
  }
  accent.AnimationId = 0;
  SetWindowAccent(FormHandle(), accent);
  // Before Windows 11 a bordered or acrylic accent does without the one-pixel frame.
  return applied && WindowsBuildNumber() < kaBuildWindows11;
}

void TkaStyledForm::UpdateFluentAcrylicColor() {
  if (FMoveBlurred || GetEffectiveFluentUIBackground() != kafuibAcrylic || !IsFluentUIEnabled() ||
      ComponentState().Contains(csLoading) || FormHandle() == nullptr)
    return;
  const bool opaque = FFluentUIInactiveAcrylicColorOpaque && !FForm->Active();
  SetWindowAccent(FormHandle(), MakeAcrylicAccent(opaque ? 255 : FFluentUIAcrylicColorAlpha));
}

void TkaStyledForm::ResetDWMClientFrameMargins() {
  HWND h = FormHandle();
  const TDwmExtendFrameIntoClientArea extend = PlatformBinding().DwmExtendFrameIntoClientArea;
  if (h == nullptr || extend == nullptr) return;
  const MARGINS margins{0, 0, 0, 0};
  extend(h, &margins);
}

void TkaStyledForm::ResetAcrylicMarginsAfterMove() {
  const int build = WindowsBuildNumber();
  if (IsFluentUIEnabled() && GetEffectiveFluentUIBackground() == kafuibAcrylic && build >= kaBuildAcrylicMarginsReset &&
      build < kaBuildWindows11)
    ResetDWMClientFrameMargins();
}

void TkaStyledForm::UpdateFluentForm() {
  if (FForm == nullptr || !IsFluentUIEnabled()) return;
  const int build = WindowsBuildNumber();
  if (GetEffectiveFluentUIBackground() == kafuibAcrylic && build > kaBuildAcrylicMarginsReset - 1 &&
      build < kaBuildWindows11)
    ResetDWMClientFrameMargins();
  // Opaque layered controls are rebuilt at their new size by hiding and showing them.
  for (int i = 0; i < FForm->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TkaCustomControl*>(FForm->Components(i));
    if (control == nullptr || !control->FluentUIOpaque() || !control->HandleAllocated() ||
        !::IsWindowVisible(control->WindowHandle()))
      continue;
    control->Hide();
    control->Show();
  }
}

// ---- Blur while moving ----------------------------------------------------------------------

void TkaStyledForm::SetFluentUIBlurWhileMoving(bool Value) {
  if (FFluentUIBlurWhileMoving == Value) return;
  FFluentUIBlurWhileMoving = Value;
  if (!Value) EndMoveBackdrop();
}

void TkaStyledForm::BeginMoveBackdrop() {
  if (!FFluentUIBlurWhileMoving || FMoveBlurred || !IsWindows10() || !IsFluentUIEnabled() ||
      GetEffectiveFluentUIBackground() != kafuibAcrylic || FormHandle() == nullptr)
    return;
  FMoveBlurred = true;
  TkaAccentPolicy accent;
  accent.AccentState = ACCENT_ENABLE_BLURBEHIND;
  accent.AccentFlags = FFluentUIBorder && !FDWMClientMaximized ? ACCENT_FLAGS_DRAW_ALL_BORDERS : 0;
  SetWindowAccent(FormHandle(), accent);
}

void TkaStyledForm::EndMoveBackdrop() {
  if (!FMoveBlurred) return;
  FMoveBlurred = false;
  UpdateFluentAcrylicColor();
}

// ---- Frame colours --------------------------------------------------------------------------

void TkaStyledForm::SetFrameColor(TColor& AField, TColor AValue) {
  if (AField == AValue) return;
  AField = AValue;
  ApplyFrameColors();
}

void TkaStyledForm::ApplyFrameColors() {
  HWND h = FormHandle();
  if (h == nullptr || IsDesigningOrLoading() || IsDestroying() || !IsFrameColorSupported()) return;
  const auto value = [this](TColor Color, bool AllowNone) -> COLORREF {
    if (Color == clDefault || (Color == clNone && !AllowNone)) return kaDwmColorDefault;
    if (Color == clNone) return kaDwmColorNone;
    return static_cast<COLORREF>(ColorToRGB(GetStyleSystemColor(Color, FForm))) & 0x00FFFFFFu;
  };
  // A form that never set a colour leaves the system's alone.
  if (FFrameBorderColor != clDefault || FFrameBorderInactiveColor != clDefault)
    SetWindowBorderColor(h, value(FFormActive ? FFrameBorderColor : FFrameBorderInactiveColor, true));
  if (FFrameCaptionColor != clDefault || FFrameCaptionInactiveColor != clDefault)
    SetWindowCaptionColor(h, value(FFormActive ? FFrameCaptionColor : FFrameCaptionInactiveColor, false));
}

// ---- High contrast --------------------------------------------------------------------------

void TkaStyledForm::WMSettingChangeHighContrast(WPARAM Setting) {
  if (Setting != SPI_SETHIGHCONTRAST) return;
  const bool on = IsHighContrastOn();
  if (on == FHighContrast) return;
  FHighContrast = on;
  if (FFluentUIBackground == kafuibNone || !FDWMClientShadow || IsDesigningOrLoading()) return;
  // A window keeps the accent or backdrop it was given: a new one starts without.
  if (FormHandle() != nullptr) FForm->RecreateWnd();
  if (OnChangeFluentUIBackground) OnChangeFluentUIBackground(this);
}
