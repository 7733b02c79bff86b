#include "lib/kaStyleManager/kaStyleManager.h"

#include "lib/kaStyleManager/kaSysStyleHooks.h"

#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaStyledForm/kaStyledForm.h"

// Constant-initialised: valid before any constructor of the program runs.
TkaCustomImageCollection* kaMenuImages = nullptr;
uint8_t kaMenuAlphaBlendValue = 255;
int kaMenuWallpaperIndex = -1;
int kaMenuBackgroundIndex = -1;
int kaMenuBackgroundOverContentIndex = -1;
bool kaMenuHeadersSupport = true;
TkaMenuSelectionStyle kaMenuSelectionStyle = kamssStyled;
bool kaScaleStyles = true;
bool kaScaleThemes = false;
bool kaScaleResources = true;
bool kaRTLMode = false;
bool kaSystemShellDialogs = false;

namespace {

// The unit's hooks of system windows, in place from start-up to the end of the process.
struct TkaStyleManagerUnit {
  TkaStyleManagerUnit() { RegisterSysStyleHooks(); }
  ~TkaStyleManagerUnit() { RestoreSysStyleHooks(); }
} gStyleManagerUnit;

}  // namespace

TkaStyleManager::TkaStyleManager(TComponent* AOwner) : TComponent(AOwner) {}

TkaStyleManager::~TkaStyleManager() {
  if (Designing()) return;
  kaMenuImages = nullptr;
  kaMenuWallpaperIndex = -1;
  kaMenuBackgroundIndex = -1;
  kaMenuBackgroundOverContentIndex = -1;
  kaMenuHeadersSupport = true;
}

TkaStyleArrowType TkaStyleManager::ArrowsType() const { return UseModernArrows() ? kasatModern : kasatDefault; }

void TkaStyleManager::SetArrowsType(TkaStyleArrowType Value) {
  if (Value != kasatDefault && Value != kasatModern) return;
  SetUseModernArrows(Value == kasatModern);
}

void TkaStyleManager::SetMenuAlphaBlendValue(uint8_t Value) {
  SetMenuSetting(FMenuAlphaBlendValue, kaMenuAlphaBlendValue, Value);
}

void TkaStyleManager::SetMenuImages(TkaCustomImageCollection* Value) {
  if (!ReplaceReference(FMenuImages, Value)) return;
  if (!Designing()) kaMenuImages = Value;
}

void TkaStyleManager::SetMenuWallpaperIndex(int Value) {
  SetMenuSetting(FMenuWallpaperIndex, kaMenuWallpaperIndex, Value);
}

void TkaStyleManager::SetMenuBackgroundIndex(int Value) {
  SetMenuSetting(FMenuBackgroundIndex, kaMenuBackgroundIndex, Value);
}

void TkaStyleManager::SetMenuBackgroundOverContentIndex(int Value) {
  SetMenuSetting(FMenuBackgroundOverContentIndex, kaMenuBackgroundOverContentIndex, Value);
}

void TkaStyleManager::SetMenuHeadersSupport(bool Value) {
  SetMenuSetting(FMenuHeadersSupport, kaMenuHeadersSupport, Value);
}

void TkaStyleManager::SetMenuSelectionStyle(TkaMenuSelectionStyle Value) {
  if (Value != kamssStyled && Value != kamssColor) return;
  SetMenuSetting(FMenuSelectionStyle, kaMenuSelectionStyle, Value);
}

bool TkaStyleManager::ScaleFormBorder() const { return kaStyledFormScaleFormBorder; }

void TkaStyleManager::SetScaleFormBorder(bool Value) { kaStyledFormScaleFormBorder = Value; }

void TkaStyleManager::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FMenuImages) return;
  FMenuImages = nullptr;
  // Another manager may have put its own collection there since.
  if (kaMenuImages == AComponent) kaMenuImages = nullptr;
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaStyleArrowType, {{L"kasatDefault", kasatDefault}, {L"kasatModern", kasatModern}});
KA_REGISTER_ENUM(TkaMenuSelectionStyle, {{L"kamssStyled", kamssStyled}, {L"kamssColor", kamssColor}});

using TSM = TkaStyleManager;
KA_REGISTER_CLASS(TkaStyleManager, [](auto& c) {
  c.Property(L"ArrowsType", &TSM::ArrowsType, &TSM::SetArrowsType);
  c.Property(L"MenuHookEnabled", &TSM::MenuHookEnabled, &TSM::SetMenuHookEnabled);
  c.Property(L"MenuAlphaBlendValue", &TSM::MenuAlphaBlendValue, &TSM::SetMenuAlphaBlendValue);
  c.Property(L"MenuImages", &TSM::MenuImages, &TSM::SetMenuImages);
  c.Property(L"MenuWallpaperIndex", &TSM::MenuWallpaperIndex, &TSM::SetMenuWallpaperIndex);
  c.Property(L"MenuBackgroundIndex", &TSM::MenuBackgroundIndex, &TSM::SetMenuBackgroundIndex);
  c.Property(L"MenuBackgroundOverContentIndex", &TSM::MenuBackgroundOverContentIndex,
             &TSM::SetMenuBackgroundOverContentIndex);
  c.Property(L"MenuHeadersSupport", &TSM::MenuHeadersSupport, &TSM::SetMenuHeadersSupport);
  c.Property(L"MenuSelectionStyle", &TSM::MenuSelectionStyle, &TSM::SetMenuSelectionStyle);
  c.Property(L"ScaleStyles", &TSM::ScaleStyles, &TSM::SetScaleStyles);
  c.Property(L"ScaleThemes", &TSM::ScaleThemes, &TSM::SetScaleThemes);
  c.Property(L"ScaleResources", &TSM::ScaleResources, &TSM::SetScaleResources);
  c.Property(L"ScaleFormBorder", &TSM::ScaleFormBorder, &TSM::SetScaleFormBorder);
  c.Property(L"RTLMode", &TSM::RTLMode, &TSM::SetRTLMode);
  c.Property(L"SystemShellDialogs", &TSM::SystemShellDialogs, &TSM::SetSystemShellDialogs);
});
