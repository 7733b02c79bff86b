// The application-wide settings of the library: how arrows look, how the styled popup menus
// look (opacity, pictures, header items, the selection), and scaling flags. They live in
// process-wide variables, so that code without access to the component (hooks of system
// windows, drawing routines) reads them, and they can be set before any form exists. The
// component placed on the main form is only their editor.
//
// The arrow type lives with the arrow drawing (UseModernArrows, kaDrawUtils) and the
// form-border flag with the styled form (kaStyledFormScaleFormBorder); the rest is here.
#pragma once

#include <cstdint>

#include "framework/Classes.h"

class TkaCustomImageCollection;

enum TkaStyleArrowType { kasatDefault, kasatModern };
enum TkaMenuSelectionStyle { kamssStyled, kamssColor };

// ---- Process-wide settings ------------------------------------------------------------------

// Pictures of the styled popup menus (not owned; cleared when the collection is freed
// while a style manager refers to it, or when the style manager goes).
extern TkaCustomImageCollection* kaMenuImages;
// Opacity of styled popup menus; 255 leaves them opaque and not layered.
extern uint8_t kaMenuAlphaBlendValue;
// Pictures of kaMenuImages: over the menu background, as the background, over the items
// (-1: none).
extern int kaMenuWallpaperIndex;
extern int kaMenuBackgroundIndex;
extern int kaMenuBackgroundOverContentIndex;
// A disabled item captioned "-Word-" is drawn as a header showing "Word".
extern bool kaMenuHeadersSupport;
// kamssColor: hot items filled with the highlight colour instead of the style's element.
extern TkaMenuSelectionStyle kaMenuSelectionStyle;
// Kept for the application; nothing in the library reads them.
extern bool kaScaleStyles;
extern bool kaScaleThemes;
extern bool kaScaleResources;
extern bool kaRTLMode;
extern bool kaSystemShellDialogs;

// ---- The component ---------------------------------------------------------------------------

// The menu settings are kept in the component and copied to the process-wide variables
// (not while designing); the other properties read and write the variables themselves.
class TkaStyleManager : public TComponent {
  KA_CLASS(TkaStyleManager, TComponent)
 public:
  explicit TkaStyleManager(TComponent* AOwner);
  // Outside design mode the menu pictures and headers go back to their defaults (opacity
  // and selection style stay).
  ~TkaStyleManager() override;

  TkaStyleArrowType ArrowsType() const;
  void SetArrowsType(TkaStyleArrowType Value);
  // Kept in the component only.
  bool MenuHookEnabled() const { return FMenuHookEnabled; }
  void SetMenuHookEnabled(bool Value) { FMenuHookEnabled = Value; }
  uint8_t MenuAlphaBlendValue() const { return FMenuAlphaBlendValue; }
  void SetMenuAlphaBlendValue(uint8_t Value);
  TkaCustomImageCollection* MenuImages() const { return FMenuImages; }
  void SetMenuImages(TkaCustomImageCollection* Value);
  int MenuWallpaperIndex() const { return FMenuWallpaperIndex; }
  void SetMenuWallpaperIndex(int Value);
  int MenuBackgroundIndex() const { return FMenuBackgroundIndex; }
  void SetMenuBackgroundIndex(int Value);
  int MenuBackgroundOverContentIndex() const { return FMenuBackgroundOverContentIndex; }
  void SetMenuBackgroundOverContentIndex(int Value);
  bool MenuHeadersSupport() const { return FMenuHeadersSupport; }
  void SetMenuHeadersSupport(bool Value);
  TkaMenuSelectionStyle MenuSelectionStyle() const { return FMenuSelectionStyle; }
  void SetMenuSelectionStyle(TkaMenuSelectionStyle Value);

  bool ScaleStyles() const { return kaScaleStyles; }
  void SetScaleStyles(bool Value) { kaScaleStyles = Value; }
  bool ScaleThemes() const { return kaScaleThemes; }
  void SetScaleThemes(bool Value) { kaScaleThemes = Value; }
  bool ScaleResources() const { return kaScaleResources; }
  void SetScaleResources(bool Value) { kaScaleResources = Value; }
  // The styled form restores its client size through the style's border when this is on.
  bool ScaleFormBorder() const;
  void SetScaleFormBorder(bool Value);
  bool RTLMode() const { return kaRTLMode; }
  void SetRTLMode(bool Value) { kaRTLMode = Value; }
  bool SystemShellDialogs() const { return kaSystemShellDialogs; }
  void SetSystemShellDialogs(bool Value) { kaSystemShellDialogs = Value; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  // Stores a changed menu setting and, outside design mode, its process-wide copy.
  template <class T>
  void SetMenuSetting(T& Field, T& Global, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (!Designing()) Global = Value;
  }

  bool FMenuHookEnabled = true;
  uint8_t FMenuAlphaBlendValue = 255;
  TkaCustomImageCollection* FMenuImages = nullptr;
  int FMenuWallpaperIndex = -1;
  int FMenuBackgroundIndex = -1;
  int FMenuBackgroundOverContentIndex = -1;
  bool FMenuHeadersSupport = true;
  TkaMenuSelectionStyle FMenuSelectionStyle = kamssStyled;
};
