#include "lib/kaControls/kaCheckBox.h"

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaFlagScope.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

// A disabled box without a disabled picture shows its normal picture faded to this.
constexpr uint8_t kFadedBoxAlpha = 120;
// Room between the box and the caption.
constexpr int kBoxGap = 5;
constexpr int kCustomBoxGap = 7;
// Where the focus rectangle around a caption at the control's edge would be cut off.
constexpr int kFocusShift = 2;

}  // namespace

TkaCheckBox::TkaCheckBox(TComponent* AOwner) : TkaCustomButtonControl(AOwner) {}

// ---- Properties -----------------------------------------------------------------------------

void TkaCheckBox::SetState(TCheckBoxState Value) {
  if (Value < cbUnchecked || Value > cbGrayed || FState == Value) return;
  FState = Value;
  RePaintControl();
  if (FClickGuard) return;
  TkaFlagScope guard(FClickGuard);
  ButtonClick();
}

void TkaCheckBox::SetAlignment(TAlignment Value) {
  if (Value != taLeftJustify && Value != taRightJustify) return;
  SetAndRepaint(FAlignment, Value);
}

void TkaCheckBox::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) RePaintControl();
}

void TkaCheckBox::SetIndex(TCheckBoxState Check, int Column, int Value) {
  SetAndRepaint(FCustomIndex[Check][Column], Value);
}

void TkaCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCustomImages) FCustomImages = nullptr;
}

void TkaCheckBox::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D || D == 0) return;
  FSpacing = ::MulDiv(FSpacing, M, D);
  if (FMargin > 0) FMargin = ::MulDiv(FMargin, M, D);
}

bool TkaCheckBox::BoxOnRight() const {
  const bool rtl = BiDiMode() == bdRightToLeft;
  return (FAlignment == taLeftJustify && !rtl) || (FAlignment == taRightJustify && rtl);
}

// ---- Behaviour ------------------------------------------------------------------------------

TkasCtrlState TkaCheckBox::GetCtrlState() {
  if (!Enabled()) return kasDisabled;
  if ((FMouseIn && FPressed) || FIsDown) return kasPressed;
  if (FMouseIn) return kasHot;
  return kasNormal;
}

bool TkaCheckBox::GetGlowParams(TkasCtrlState State, TColor& Color, uint8_t& Alpha, uint8_t& Size) {
  if (State == kasNormal && FCanFocused && Focused()) State = kasFocused;
  return inherited::GetGlowParams(State, Color, Alpha, Size);
}

void TkaCheckBox::ButtonClick() {
  if (!FClickGuard) {
    // The new state's own click is held back: this click is the one raised.
    TkaFlagScope guard(FClickGuard);
    switch (FState) {
      case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
      case cbChecked: SetState(cbUnchecked); break;
      case cbGrayed: SetState(cbChecked); break;
    }
  }
  inherited::ButtonClick();
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaCheckBox::ApplyTextColor(TCanvas* ACanvas, TkasCtrlState S) {
  ACanvas->SetFont(Font());
  if (!StyleElements().Contains(seFont) || (!IsCustomStyleActive(this) && S != kasDisabled)) return;
  if (S != kasDisabled && FUseFontColorToStyleColor)
    ACanvas->Font()->SetColor(GetStyleSystemColor(Font()->Color(), this));
  else
    ACanvas->Font()->SetColor(GetCheckBoxTextColor(S, this));
}

bool TkaCheckBox::DrawCustomBox(TCanvas* ACanvas, TkasCtrlState S, TRect& R, bool OnRight) {
  const int checkedIndex = FCustomIndex[cbChecked][kNormal];
  if (FCustomImages == nullptr || !FCustomImages->IsIndexAvailable(checkedIndex)) return false;
  const double scale = ScaleFactor();
  const int w = FCustomImages->GetWidth(checkedIndex, scale);
  int h = FCustomImages->GetHeight(FCustomIndex[cbUnchecked][kNormal], scale);
  if (h <= 0) h = FCustomImages->GetHeight(checkedIndex, scale);
  const int top = R.Top + (R.Height() - h) / 2;
  const TRect box = OnRight ? TRect(R.Right - w - kBoxGap, top, R.Right, top + h)
                            : TRect(R.Left, top, R.Left + w + kBoxGap, top + h);
  if (OnRight)
    R.Right -= w + kCustomBoxGap;
  else
    R.Left += w + kCustomBoxGap;

  static const int column[5] = {kNormal, kHot, kPressed, kNormal, kDisabled};
  int index = FCustomIndex[FState][column[S]];
  uint8_t alpha = 255;
  if (S == kasFocused || !FCustomImages->IsIndexAvailable(index)) {
    index = FCustomIndex[FState][kNormal];
    if (S == kasDisabled) alpha = kFadedBoxAlpha;
  }
  if (!FCustomImages->IsIndexAvailable(index)) return true;
  auto* bitmaps = dynamic_cast<TkaImageCollection*>(FCustomImages);
  if (bitmaps != nullptr && bitmaps->Images()->Items(index)->UsesBitmap())
    bitmaps->DrawBitmap(ACanvas, box, index, alpha);
  else
    FCustomImages->Draw(ACanvas, box, index, scale);
  return true;
}

void TkaCheckBox::DrawBox(TCanvas* ACanvas, TkasCtrlState S, TRect& R, bool OnRight) {
  if (DrawCustomBox(ACanvas, S, R, OnRight)) return;
  const int c = CheckBoxSize(ACanvas, this, ScaleFactor());
  TRect box = R;
  if (OnRight) {
    box.Left = R.Right - c;
    R.Right -= c + kBoxGap;
  } else {
    box.Right = R.Left + c + kBoxGap;
    R.Left += c + kBoxGap;
  }
  box.Top += 1;
  DrawCheckBoxElement(ACanvas, box, S, this, ScaleFactor(), FState);
}

void TkaCheckBox::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  ApplyTextColor(ACanvas, ACtrlState);
  TRect r(0, 0, Width(), Height());
  const bool onRight = BoxOnRight();
  DrawBox(ACanvas, ACtrlState, r, onRight);
  ACanvas->Brush()->SetStyle(bsClear);
  if (FGlowEffect->Enabled()) {
    const int half = FGlowEffect->GlowSize() / 2;
    r.Inflate(-half, -half);
  } else if (FShowFocusRect) {
    if (FLayout == blGlyphLeft && onRight) r.Offset(kFocusShift, 0);
    if (FLayout == blGlyphRight && !onRight) r.Offset(-kFocusShift, 0);
  }
  TkaImageCaption content;
  content.Images = FImages;
  content.ImageIndex = FImageIndex;
  content.Caption = Caption();
  content.Spacing = FSpacing;
  content.RightToLeft = BiDiMode() == bdRightToLeft;
  content.DrawFocus = FCanFocused && Focused() && FShowFocusRect;
  // A caption beside the image sits at the box; above or below it, the block is centred.
  content.Centred = FLayout == blGlyphTop || FLayout == blGlyphBottom;
  content.Margin = content.Centred ? -1 : 0;
  content.Layout = PlacedLayout();
  DrawImageAndCaption(ACanvas, r, ACtrlState, content);
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TCheckBoxState, {{L"cbUnchecked", cbUnchecked}, {L"cbChecked", cbChecked}, {L"cbGrayed", cbGrayed}});

using TCB = TkaCheckBox;
KA_REGISTER_CLASS(TkaCheckBox, [](auto& c) {
  c.Property(L"State", &TCB::State, &TCB::SetState);
  c.Property(L"Checked", &TCB::Checked, &TCB::SetChecked);
  c.Property(L"AllowGrayed", &TCB::AllowGrayed, &TCB::SetAllowGrayed);
  c.Property(L"Alignment", &TCB::Alignment, &TCB::SetAlignment);
  c.Property(L"UseFontColorToStyleColor", &TCB::UseFontColorToStyleColor, &TCB::SetUseFontColorToStyleColor);
  c.Property(L"CustomImages", &TCB::CustomImages, &TCB::SetCustomImages);
  c.Property(L"CustomCheckedImageIndex", &TCB::CustomCheckedImageIndex, &TCB::SetCustomCheckedImageIndex);
  c.Property(L"CustomCheckedImageHotIndex", &TCB::CustomCheckedImageHotIndex, &TCB::SetCustomCheckedImageHotIndex);
  c.Property(L"CustomCheckedImagePressedIndex", &TCB::CustomCheckedImagePressedIndex,
             &TCB::SetCustomCheckedImagePressedIndex);
  c.Property(L"CustomCheckedImageDisabledIndex", &TCB::CustomCheckedImageDisabledIndex,
             &TCB::SetCustomCheckedImageDisabledIndex);
  c.Property(L"CustomUnCheckedImageIndex", &TCB::CustomUnCheckedImageIndex, &TCB::SetCustomUnCheckedImageIndex);
  c.Property(L"CustomUnCheckedImageHotIndex", &TCB::CustomUnCheckedImageHotIndex,
             &TCB::SetCustomUnCheckedImageHotIndex);
  c.Property(L"CustomUnCheckedImagePressedIndex", &TCB::CustomUnCheckedImagePressedIndex,
             &TCB::SetCustomUnCheckedImagePressedIndex);
  c.Property(L"CustomUnCheckedImageDisabledIndex", &TCB::CustomUnCheckedImageDisabledIndex,
             &TCB::SetCustomUnCheckedImageDisabledIndex);
  c.Property(L"CustomGrayedImageIndex", &TCB::CustomGrayedImageIndex, &TCB::SetCustomGrayedImageIndex);
  c.Property(L"CustomGrayedImageHotIndex", &TCB::CustomGrayedImageHotIndex, &TCB::SetCustomGrayedImageHotIndex);
  c.Property(L"CustomGrayedImagePressedIndex", &TCB::CustomGrayedImagePressedIndex,
             &TCB::SetCustomGrayedImagePressedIndex);
  c.Property(L"CustomGrayedImageDisabledIndex", &TCB::CustomGrayedImageDisabledIndex,
             &TCB::SetCustomGrayedImageDisabledIndex);
});
