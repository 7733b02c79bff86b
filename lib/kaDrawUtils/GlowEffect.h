// The glow options controls publish (GlowEffect, CaptionGlowEffect): whether and how a soft
// coloured halo is drawn behind a caption or image. The drawing itself is in TextDrawing.h.
#pragma once

#include <cstdint>

#include "framework/Classes.h"
#include "lib/kaDrawUtils/Colors.h"

class TControl;

class TkaGlowEffect : public TPersistent {
  KA_CLASS(TkaGlowEffect, TPersistent)
 public:
  // Control: the owner, whose style resolves colours (may be nullptr).
  explicit TkaGlowEffect(TControl* Control = nullptr) : FControl(Control) {}
  // From another glow effect: its seven values (a button glow effect from another one: its
  // state values too); one OnChange when that changes anything while the glow is (or was)
  // enabled.
  void Assign(TPersistent* Source) override;

  // The other setters raise OnChange only while the glow is enabled; this one whenever the
  // value changes.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetValue(FColor, Value); }
  uint8_t AlphaValue() const { return FAlphaValue; }
  void SetAlphaValue(uint8_t Value) { SetValue(FAlphaValue, Value); }
  uint8_t GlowSize() const { return FGlowSize; }
  void SetGlowSize(uint8_t Value) { SetValue(FGlowSize, Value); }
  uint8_t Offset() const { return FOffset; }
  void SetOffset(uint8_t Value) { SetValue(FOffset, Value); }
  // Thicken the mask by a pixel in four directions before blurring.
  bool Intensive() const { return FIntensive; }
  void SetIntensive(bool Value) { SetValue(FIntensive, Value); }
  // Pass the colours through the owner's custom style.
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value) { SetValue(FStyleColors, Value); }
  TControl* Control() const { return FControl; }

  TColor GetColor() const { return Resolve(FColor); }
  // Classic drawing dims the strong default highlight glow.
  uint8_t GetAlphaValue() const;

  TNotifyEvent OnChange;

 protected:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (FEnabled) Changed();
  }
  void Changed();
  // Copies Source's values; true when any differed.
  virtual bool CopyFrom(const TkaGlowEffect* Source);
  TColor Resolve(TColor Value) const;
  // No custom style and no visual styles for the owner.
  bool ClassicDrawing() const;

  bool FEnabled = false;
  TColor FColor = clHighlight;
  uint8_t FAlphaValue = 255;
  uint8_t FGlowSize = 7;
  uint8_t FOffset = 0;
  bool FIntensive = true;
  bool FStyleColors = true;
  TControl* FControl = nullptr;
};

// The glow of buttons, with its own colour, opacity and size per state (clNone: Color).
class TkaButtonGlowEffect : public TkaGlowEffect {
  KA_CLASS(TkaButtonGlowEffect, TkaGlowEffect)
 public:
  explicit TkaButtonGlowEffect(TControl* Control = nullptr) : TkaGlowEffect(Control) {}

  TColor HotColor() const { return FHotColor; }
  void SetHotColor(TColor Value) { SetValue(FHotColor, Value); }
  TColor PressedColor() const { return FPressedColor; }
  void SetPressedColor(TColor Value) { SetValue(FPressedColor, Value); }
  TColor FocusedColor() const { return FFocusedColor; }
  void SetFocusedColor(TColor Value) { SetValue(FFocusedColor, Value); }
  uint8_t PressedAlphaValue() const { return FPressedAlphaValue; }
  void SetPressedAlphaValue(uint8_t Value) { SetValue(FPressedAlphaValue, Value); }
  uint8_t PressedGlowSize() const { return FPressedGlowSize; }
  void SetPressedGlowSize(uint8_t Value) { SetValue(FPressedGlowSize, Value); }
  // The states in which the glow is drawn.
  TkasCtrlStates States() const { return FStates; }
  void SetStates(TkasCtrlStates Value) { SetValue(FStates, Value); }

  TColor GetHotColor() const { return Resolve(FHotColor); }
  TColor GetPressedColor() const { return Resolve(FPressedColor); }
  TColor GetFocusedColor() const { return Resolve(FFocusedColor); }
  uint8_t GetPressedAlphaValue() const;

 protected:
  bool CopyFrom(const TkaGlowEffect* Source) override;

 private:
  TColor FHotColor = clNone;
  TColor FPressedColor = clNone;
  TColor FFocusedColor = clNone;
  uint8_t FPressedAlphaValue = 255;
  uint8_t FPressedGlowSize = 7;
  TkasCtrlStates FStates{kasHot, kasPressed, kasFocused};
};
