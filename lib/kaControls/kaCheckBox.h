// The library's check box: a button whose click cycles its state (unchecked, checked and,
// when allowed, grayed), drawn with the style's check-box element or with pictures from an
// image collection per check state and control state, beside an optional image-list image
// and the caption, with optional glow. Mouse, keyboard, focus and animation come from the
// button base; its drop-down, toggle and group features are not used here.
#pragma once

#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaDrawUtils/CheckBoxElement.h"

class TkaCustomImageCollection;

class TkaCheckBox : public TkaCustomButtonControl {
  KA_CLASS(TkaCheckBox, TkaCustomButtonControl)
 public:
  explicit TkaCheckBox(TComponent* AOwner);

  void ChangeScale(int M, int D, bool isDpiChange) override;

  // Setting it in code raises the click event once, as a user click does.
  TCheckBoxState State() const { return FState; }
  virtual void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // A click on an unchecked box makes it grayed first.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify: the caption right of the box; taLeftJustify: the box on the right.
  // Right-to-left swaps the sides. taCenter is not a side and is ignored.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Under a custom style, take the font colour through the style instead of the check box
  // text colour.
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value) { FUseFontColorToStyleColor = Value; }
  // Pictures of the box; used when the collection holds CustomCheckedImageIndex. Not
  // owned; a freed collection is forgotten.
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);

  // The picture indexes by check state and control state (-1: none; the normal one of the
  // check state stands in).
  int CustomCheckedImageIndex() const { return FCustomIndex[cbChecked][kNormal]; }
  void SetCustomCheckedImageIndex(int Value) { SetIndex(cbChecked, kNormal, Value); }
  int CustomCheckedImageHotIndex() const { return FCustomIndex[cbChecked][kHot]; }
  void SetCustomCheckedImageHotIndex(int Value) { SetIndex(cbChecked, kHot, Value); }
  int CustomCheckedImagePressedIndex() const { return FCustomIndex[cbChecked][kPressed]; }
  void SetCustomCheckedImagePressedIndex(int Value) { SetIndex(cbChecked, kPressed, Value); }
  int CustomCheckedImageDisabledIndex() const { return FCustomIndex[cbChecked][kDisabled]; }
  void SetCustomCheckedImageDisabledIndex(int Value) { SetIndex(cbChecked, kDisabled, Value); }
  int CustomUnCheckedImageIndex() const { return FCustomIndex[cbUnchecked][kNormal]; }
  void SetCustomUnCheckedImageIndex(int Value) { SetIndex(cbUnchecked, kNormal, Value); }
  int CustomUnCheckedImageHotIndex() const { return FCustomIndex[cbUnchecked][kHot]; }
  void SetCustomUnCheckedImageHotIndex(int Value) { SetIndex(cbUnchecked, kHot, Value); }
  int CustomUnCheckedImagePressedIndex() const { return FCustomIndex[cbUnchecked][kPressed]; }
  void SetCustomUnCheckedImagePressedIndex(int Value) { SetIndex(cbUnchecked, kPressed, Value); }
  int CustomUnCheckedImageDisabledIndex() const { return FCustomIndex[cbUnchecked][kDisabled]; }
  void SetCustomUnCheckedImageDisabledIndex(int Value) { SetIndex(cbUnchecked, kDisabled, Value); }
  int CustomGrayedImageIndex() const { return FCustomIndex[cbGrayed][kNormal]; }
  void SetCustomGrayedImageIndex(int Value) { SetIndex(cbGrayed, kNormal, Value); }
  int CustomGrayedImageHotIndex() const { return FCustomIndex[cbGrayed][kHot]; }
  void SetCustomGrayedImageHotIndex(int Value) { SetIndex(cbGrayed, kHot, Value); }
  int CustomGrayedImagePressedIndex() const { return FCustomIndex[cbGrayed][kPressed]; }
  void SetCustomGrayedImagePressedIndex(int Value) { SetIndex(cbGrayed, kPressed, Value); }
  int CustomGrayedImageDisabledIndex() const { return FCustomIndex[cbGrayed][kDisabled]; }
  void SetCustomGrayedImageDisabledIndex(int Value) { SetIndex(cbGrayed, kDisabled, Value); }

  // The box is drawn at the right edge (Alignment and right-to-left mode).
  bool BoxOnRight() const;

 protected:
  // Never kasFocused: focus shows only as the focus rectangle around the caption.
  TkasCtrlState GetCtrlState() override;
  // A focused box shows the focused glow in its normal state.
  bool GetGlowParams(TkasCtrlState State, TColor& Color, uint8_t& Alpha, uint8_t& Size) override;
  void AccelClick() override { ButtonClick(); }
  // Advances the state, then raises the click.
  void ButtonClick() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;

 private:
  // Columns of the picture indexes.
  enum { kNormal, kHot, kPressed, kDisabled };
  void SetIndex(TCheckBoxState Check, int Column, int Value);
  void ApplyTextColor(TCanvas* ACanvas, TkasCtrlState S);
  // Draws the box and takes its room off R.
  void DrawBox(TCanvas* ACanvas, TkasCtrlState S, TRect& R, bool OnRight);
  bool DrawCustomBox(TCanvas* ACanvas, TkasCtrlState S, TRect& R, bool OnRight);

  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
  bool FUseFontColorToStyleColor = false;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FCustomIndex[3][4] = {{-1, -1, -1, -1}, {-1, -1, -1, -1}, {-1, -1, -1, -1}};
  // Keeps ButtonClick and SetState from raising each other's click again.
  bool FClickGuard = false;
};
