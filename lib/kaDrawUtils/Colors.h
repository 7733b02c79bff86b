// How the library's controls choose colours: system colours resolved through the active
// style, the integer arithmetic that makes a colour lighter, darker or mixed, and the text
// colour of buttons, tabs, check boxes, headers, captions, menu items and selections per
// control state. Colours are resolved at paint time, so a style change recolours everything
// on the next paint.
#pragma once

#include <cstdint>

#include "framework/Types.h"

class TControl;

// The state a control paints in; it indexes the per-state colour routines.
enum TkasCtrlState { kasNormal, kasHot, kasPressed, kasFocused, kasDisabled };
using TkasCtrlStates = TSet<TkasCtrlState>;

// The control's own custom-style test, or the application's when Control is nullptr.
bool IsCustomStyleActiveFor(const TControl* Control);

// ---- Resolution --------------------------------------------------------------------------

// Color through the custom style's system colours when one draws Control; otherwise Color
// unchanged (system colours are then resolved by whoever draws).
TColor GetStyleSystemColor(TColor Color, const TControl* Control = nullptr);
TColor GetEditColor(bool Disabled, const TControl* Control = nullptr);
TColor GetEditTextColor(TkasCtrlState State, const TControl* Control = nullptr);

// ---- Per-state text colours --------------------------------------------------------------

TColor GetButtonTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetToolButtonTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetCheckBoxTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetHeaderTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetTabTextColor(TkasCtrlState State, const TControl* Control = nullptr);
// A pressed tab button shows the selected tab's text colour.
TColor GetTabButtonTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetSelectionTextColor(const TControl* Control = nullptr);
// Form caption text; kasDisabled stands for an inactive form.
TColor GetCaptionTextColor(TkasCtrlState State, const TControl* Control = nullptr);
TColor GetPopupItemTextColor(TkasCtrlState State, const TControl* Control = nullptr);

// ---- High contrast -------------------------------------------------------------------------

// In the user's high-contrast mode the painted controls drop their own colours, tints and
// pictures for the system's colours: a face in button face (highlight while hot, pressed or
// focused), its text, glyph and frame in button text (highlight text on a highlighted face,
// grey text when disabled), everything opaque.
enum TkaHighContrastPart { kahcFace, kahcText, kahcFrame };
TColor HighContrastColor(TkaHighContrastPart Part, TkasCtrlState State);

// ---- Arithmetic (results are RGB with a zero high byte) ----------------------------------

// Each channel C - MulDiv(C, Percent, 100); Percent is clamped to 0..100.
TColor DarkerColor(TColor Color, int Percent);
// Each channel C + MulDiv(255 - C, Percent, 100); Percent is clamped to 0..100.
TColor LighterColor(TColor Color, int Percent);
// Each channel (C1 + C2) shr 1.
TColor AverageColor(TColor Color1, TColor Color2);
// A barely visible variant: 3 % darker on light colours, 3 % lighter on dark ones.
TColor GetShadeColor(TColor Color);
bool IsLightColor(TColor Color, const TControl* Control = nullptr);
bool IsDarkButtonFace(const TControl* Control = nullptr);
bool IsDarkWindowColor(const TControl* Control = nullptr);
// A 32-bit pixel $AARRGGBB (memory order B, G, R, A).
uint32_t ColorToBGRA(TColor Color, uint8_t Alpha);
