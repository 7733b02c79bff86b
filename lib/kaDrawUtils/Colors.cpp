#include "lib/kaDrawUtils/Colors.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Themes.h"

#include "lib/kaDrawUtils/Composition.h"

namespace {

TCustomStyleServices* Services(const TControl* Control) { return StyleServices(Control); }

int ClampPercent(int Percent) { return std::clamp(Percent, 0, 100); }

// The routines below share one rule: the classic colour without a custom style; with one,
// the element's text colour, or Fallback where the style has none.
TColor ElementTextColor(const TControl* Control, const TThemedElementDetails& Details, TColor Fallback) {
  TColor color = Fallback;
  if (!Services(Control)->GetElementColor(Details, ecTextColor, color)) color = Fallback;
  return color;
}

TColor ClassicTextColor(TkasCtrlState State) { return State == kasDisabled ? clGrayText : clBtnText; }

template <class TDetail>
TColor StateTextColor(TkasCtrlState State, const TControl* Control, const TDetail (&Details)[5], TColor Fallback) {
  if (!IsCustomStyleActiveFor(Control)) return ClassicTextColor(State);
  return ElementTextColor(Control, TCustomStyleServices::GetElementDetails(Details[State]), Fallback);
}

int Average(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

}  // namespace

bool IsCustomStyleActiveFor(const TControl* Control) {
  return Control != nullptr ? IsCustomStyleActive(Control) : TStyleManager::IsCustomStyleActive();
}

TColor GetStyleSystemColor(TColor Color, const TControl* Control) {
  if (IsCustomStyleActiveFor(Control)) return Services(Control)->GetSystemColor(Color);
  return Color;
}

TColor GetEditColor(bool Disabled, const TControl* Control) {
  if (IsCustomStyleActiveFor(Control)) return Services(Control)->GetStyleColor(Disabled ? scEditDisabled : scEdit);
  return clWindow;
}

TColor GetEditTextColor(TkasCtrlState State, const TControl* Control) {
  if (IsCustomStyleActiveFor(Control))
    return Services(Control)->GetStyleFontColor(State == kasNormal ? sfEditBoxTextNormal : sfEditBoxTextDisabled);
  return State == kasDisabled ? clGrayText : clWindowText;
}

TColor GetButtonTextColor(TkasCtrlState State, const TControl* Control) {
  static const TThemedButton details[5] = {tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed,
                                           tbPushButtonDefaulted, tbPushButtonDisabled};
  return StateTextColor(State, Control, details, clBtnFace);
}

TColor GetToolButtonTextColor(TkasCtrlState State, const TControl* Control) {
  static const TThemedToolBar details[5] = {ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonHot,
                                            ttbButtonDisabled};
  return StateTextColor(State, Control, details, clBtnFace);
}

TColor GetCheckBoxTextColor(TkasCtrlState State, const TControl* Control) {
  static const TThemedButton details[5] = {tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot,
                                           tbCheckBoxUncheckedPressed, tbCheckBoxUncheckedHot,
                                           tbCheckBoxUncheckedDisabled};
  return StateTextColor(State, Control, details, clBtnText);
}

TColor GetHeaderTextColor(TkasCtrlState State, const TControl* Control) {
  if (!IsCustomStyleActiveFor(Control)) return ClassicTextColor(State);
  // Styles give fixed cells no disabled state; the disabled check box's text stands in.
  if (State == kasDisabled)
    return ElementTextColor(Control, TCustomStyleServices::GetElementDetails(tbCheckBoxUncheckedDisabled), clBtnFace);
  static const TThemedGrid details[5] = {tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgFixedCellNormal,
                                         tgFixedCellNormal};
  return StateTextColor(State, Control, details, clBtnFace);
}

TColor GetTabTextColor(TkasCtrlState State, const TControl* Control) {
  static const TThemedTab details[5] = {ttTabItemNormal, ttTabItemHot, ttTabItemNormal, ttTabItemSelected,
                                        ttTabItemDisabled};
  return StateTextColor(State, Control, details, clBtnFace);
}

TColor GetTabButtonTextColor(TkasCtrlState State, const TControl* Control) {
  return GetTabTextColor(State == kasPressed ? kasFocused : State, Control);
}

TColor GetSelectionTextColor(const TControl* Control) {
  const bool custom = IsCustomStyleActiveFor(Control);
  if (!Services(Control)->Enabled() || (IsWindowsXP() && !custom)) return clHighlightText;
  // The system selection of Windows 11 is light, so its text stays dark.
  if (IsWindows11() && !custom) return clWindowText;
  return ElementTextColor(Control, TCustomStyleServices::GetElementDetails(tgCellSelected), clHighlightText);
}

TColor GetCaptionTextColor(TkasCtrlState State, const TControl* Control) {
  if (!IsCustomStyleActiveFor(Control)) return State == kasDisabled ? clInactiveCaptionText : clCaptionText;
  return ElementTextColor(
      Control, TCustomStyleServices::GetElementDetails(State == kasDisabled ? twCaptionInactive : twCaptionActive),
      clBtnText);
}

TColor GetPopupItemTextColor(TkasCtrlState State, const TControl* Control) {
  if (!Services(Control)->Enabled()) {
    if (State == kasHot) return clHighlightText;
    return State == kasDisabled ? clGrayText : clBtnText;
  }
  const TThemedMenu item = State == kasHot        ? tmPopupItemHot
                           : State == kasDisabled ? tmPopupItemDisabled
                                                  : tmPopupItemNormal;
  return ElementTextColor(Control, TCustomStyleServices::GetElementDetails(item), clBtnFace);
}

TColor DarkerColor(TColor Color, int Percent) {
  const int p = ClampPercent(Percent);
  const TColor c = ColorToRGB(Color);
  auto channel = [p](int v) { return static_cast<uint8_t>(v - ::MulDiv(v, p, 100)); };
  return RGBColor(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

TColor LighterColor(TColor Color, int Percent) {
  const int p = ClampPercent(Percent);
  const TColor c = ColorToRGB(Color);
  auto channel = [p](int v) { return static_cast<uint8_t>(v + ::MulDiv(255 - v, p, 100)); };
  return RGBColor(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

TColor AverageColor(TColor Color1, TColor Color2) {
  const TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  return RGBColor(static_cast<uint8_t>((GetRValue(a) + GetRValue(b)) >> 1),
                  static_cast<uint8_t>((GetGValue(a) + GetGValue(b)) >> 1),
                  static_cast<uint8_t>((GetBValue(a) + GetBValue(b)) >> 1));
}

TColor GetShadeColor(TColor Color) {
  const TColor c = ColorToRGB(Color);
  // The HSV value (largest channel) as a percentage.
  const int largest = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
  const int value = Round(largest * 100.0 / 255.0);
  return value >= 50 ? DarkerColor(c, 3) : LighterColor(c, 3);
}

bool IsLightColor(TColor Color, const TControl* Control) {
  return Average(GetStyleSystemColor(Color, Control)) >= 127;
}

bool IsDarkButtonFace(const TControl* Control) { return Average(GetStyleSystemColor(clBtnFace, Control)) <= 127; }

bool IsDarkWindowColor(const TControl* Control) { return Average(GetStyleSystemColor(clWindow, Control)) <= 127; }

uint32_t ColorToBGRA(TColor Color, uint8_t Alpha) {
  const TColor c = ColorToRGB(Color);
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c) | (static_cast<uint32_t>(Alpha) << 24);
}

// ---- High contrast -------------------------------------------------------------------------

TColor HighContrastColor(TkaHighContrastPart Part, TkasCtrlState State) {
  const bool emphasised = State == kasHot || State == kasPressed || State == kasFocused;
  if (Part == kahcFace) return emphasised ? clHighlight : clBtnFace;
  if (State == kasDisabled) return clGrayText;
  return emphasised ? clHighlightText : clBtnText;
}
