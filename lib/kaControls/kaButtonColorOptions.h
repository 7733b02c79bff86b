// The per-state colours a button paints with when it draws in custom colours.
#pragma once

#include "framework/Classes.h"
#include "lib/kaDrawUtils/Colors.h"

class TControl;

class TkaButtonColorOptions : public TPersistent {
  KA_CLASS(TkaButtonColorOptions, TPersistent)
 public:
  // Control: the owner, whose style resolves system colours (may be nullptr).
  explicit TkaButtonColorOptions(TControl* Control = nullptr) : FControl(Control) {}
  void Assign(TPersistent* Source) override;

#define KA_COLOR_PROPERTY(Name, Default)                 \
  TColor Name() const { return F##Name; }                \
  void Set##Name(TColor Value) { SetValue(F##Name, Value); }
  KA_COLOR_PROPERTY(NormalColor, clBtnFace)
  KA_COLOR_PROPERTY(HotColor, clBtnFace)
  KA_COLOR_PROPERTY(PressedColor, clBtnShadow)
  KA_COLOR_PROPERTY(FocusedColor, clBtnFace)
  KA_COLOR_PROPERTY(DisabledColor, clBtnFace)
  KA_COLOR_PROPERTY(FrameNormalColor, clBtnShadow)
  KA_COLOR_PROPERTY(FrameHotColor, clHighlight)
  KA_COLOR_PROPERTY(FramePressedColor, clHighlight)
  KA_COLOR_PROPERTY(FrameFocusedColor, clHighlight)
  KA_COLOR_PROPERTY(FrameDisabledColor, clBtnShadow)
  KA_COLOR_PROPERTY(FontNormalColor, clBtnText)
  KA_COLOR_PROPERTY(FontHotColor, clBtnText)
  KA_COLOR_PROPERTY(FontPressedColor, clBtnText)
  KA_COLOR_PROPERTY(FontFocusedColor, clBtnText)
  KA_COLOR_PROPERTY(FontDisabledColor, clBtnShadow)
  KA_COLOR_PROPERTY(TitleFontNormalColor, clBtnText)
  KA_COLOR_PROPERTY(TitleFontHotColor, clBtnText)
  KA_COLOR_PROPERTY(TitleFontPressedColor, clBtnText)
  KA_COLOR_PROPERTY(TitleFontFocusedColor, clBtnText)
  KA_COLOR_PROPERTY(TitleFontDisabledColor, clBtnShadow)
#undef KA_COLOR_PROPERTY

  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value);
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value);

  // The state the owner is about to paint; selects what the getters below answer.
  TkasCtrlState State() const { return FState; }
  void SetState(TkasCtrlState Value) { FState = Value; }
  TControl* Control() const { return FControl; }

  TColor GetColor() const;
  TColor GetFrameColor() const;
  TColor GetFontColor() const;
  TColor GetTitleFontColor() const;

  TNotifyEvent OnChange;

 private:
  void SetValue(TColor& Field, TColor Value);
  void Changed();
  TColor Resolve(TColor Normal, TColor Hot, TColor Pressed, TColor Focused, TColor Disabled) const;

  TColor FNormalColor = clBtnFace, FHotColor = clBtnFace, FPressedColor = clBtnShadow, FFocusedColor = clBtnFace,
         FDisabledColor = clBtnFace;
  TColor FFrameNormalColor = clBtnShadow, FFrameHotColor = clHighlight, FFramePressedColor = clHighlight,
         FFrameFocusedColor = clHighlight, FFrameDisabledColor = clBtnShadow;
  TColor FFontNormalColor = clBtnText, FFontHotColor = clBtnText, FFontPressedColor = clBtnText,
         FFontFocusedColor = clBtnText, FFontDisabledColor = clBtnShadow;
  TColor FTitleFontNormalColor = clBtnText, FTitleFontHotColor = clBtnText, FTitleFontPressedColor = clBtnText,
         FTitleFontFocusedColor = clBtnText, FTitleFontDisabledColor = clBtnShadow;
  int FFrameWidth = 1;
  bool FStyleColors = true;
  TkasCtrlState FState = kasNormal;
  TControl* FControl = nullptr;
};
