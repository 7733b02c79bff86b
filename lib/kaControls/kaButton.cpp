#include "lib/kaControls/kaButton.h"

#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"

// ---- Construction ---------------------------------------------------------------------------

TkaButton::TkaButton(TComponent* AOwner)
    : TkaCustomPushButtonControl(AOwner), FColorOptions(new TkaButtonColorOptions(this)), FTitleFont(new TFont) {
  FColorOptions->OnChange = [this](TObject*) {
    if (FStyleKind == kabsColorButton) RePaintControl();
  };
  FTitleFont->Assign(Font());
  FTitleFont->SetStyle(FTitleFont->Style() + TFontStyles{fsBold});
  FTitleFont->OnChange = [this](TObject*) {
    if (!FTitle.empty()) RePaintControl();
  };
}

TkaButton::~TkaButton() {
  FColorOptions->Free();
  FTitleFont->Free();
}

// ---- Properties -----------------------------------------------------------------------------

void TkaButton::SetTitleFont(TFont* Value) {
  // The font's own change event repaints when there is a title.
  FTitleFont->Assign(Value);
}

void TkaButton::SetImageMargin(int Value) {
  if (Value < 0) return;
  SetAndRepaint(FImageMargin, Value);
}

void TkaButton::SetDisabledFontColor(TColor Value) {
  if (FDisabledFontColor == Value) return;
  FDisabledFontColor = Value;
  if (!Enabled()) RePaintControl();
}

void TkaButton::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) RePaintControl();
}

void TkaButton::SetTransparentBackground(bool Value) {
  if (FTransparentBackground == Value) return;
  inherited::SetTransparentBackground(Value);
  if (!HandleAllocated()) return;
  CaptureParentBackground();
  RePaintControl();
}

void TkaButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCustomImages) FCustomImages = nullptr;
}

void TkaButton::ChangeScale(int M, int D, bool isDpiChange) {
  inherited::ChangeScale(M, D, isDpiChange);
  if (M == D || D == 0) return;
  FTitleFont->SetHeight(::MulDiv(FTitleFont->Height(), M, D));
  FImageMargin = ::MulDiv(FImageMargin, M, D);
  if (FScaleMarginAndSpacing) {
    if (FMargin > 0) FMargin = ::MulDiv(FMargin, M, D);
    if (FSpacing > 0) FSpacing = ::MulDiv(FSpacing, M, D);
  }
}

int TkaButton::ImageIndexFor(TkasCtrlState State) const {
  int index = -1;
  switch (State) {
    case kasHot: index = FHotImageIndex; break;
    case kasPressed: index = FPressedImageIndex != -1 ? FPressedImageIndex : FHotImageIndex; break;
    case kasFocused: index = FFocusedImageIndex != -1 ? FFocusedImageIndex : FHotImageIndex; break;
    default: break;
  }
  return index != -1 ? index : FImageIndex;
}

// ---- Behaviour ------------------------------------------------------------------------------

TkasCtrlState TkaButton::GetCtrlState() {
  const TkasCtrlState state = inherited::GetCtrlState();
  // The button Enter would press looks hot until the mouse says otherwise.
  if (IsActiveDefault() && !FMouseIn && (state == kasNormal || state == kasFocused)) return kasHot;
  return state;
}

bool TkaButton::IsGroupSibling(const TControl* Control) const {
  return dynamic_cast<const TkaButton*>(Control) != nullptr;
}

bool TkaButton::AnswersEnter(const TObject* Control) const {
  return dynamic_cast<const TkaButton*>(Control) != nullptr;
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaButtonStyleKind, {{L"kabsPushButton", kabsPushButton},
                                      {L"kabsToolButton", kabsToolButton},
                                      {L"kabsPushButtonTransparent", kabsPushButtonTransparent},
                                      {L"kabsToolButtonTransparent", kabsToolButtonTransparent},
                                      {L"kabsTransparent", kabsTransparent},
                                      {L"kabsLink", kabsLink},
                                      {L"kabsHeaderSection", kabsHeaderSection},
                                      {L"kabsUpSpinButton", kabsUpSpinButton},
                                      {L"kabsDownSpinButton", kabsDownSpinButton},
                                      {L"kabsLeftSpinButton", kabsLeftSpinButton},
                                      {L"kabsRightSpinButton", kabsRightSpinButton},
                                      {L"kabsDropDownButton", kabsDropDownButton},
                                      {L"kabsColorButton", kabsColorButton},
                                      {L"kabsCustomImage", kabsCustomImage},
                                      {L"kabsCustomImageOverContent", kabsCustomImageOverContent},
                                      {L"kabsTab", kabsTab},
                                      {L"kabsTabTransparent", kabsTabTransparent},
                                      {L"kabsSegmentedLeft", kabsSegmentedLeft},
                                      {L"kabsSegmentedMiddle", kabsSegmentedMiddle},
                                      {L"kabsSegmentedRight", kabsSegmentedRight},
                                      {L"kabsSegmentedToolLeft", kabsSegmentedToolLeft},
                                      {L"kabsSegmentedToolMiddle", kabsSegmentedToolMiddle},
                                      {L"kabsSegmentedToolRight", kabsSegmentedToolRight},
                                      {L"kabsDropDownCombo", kabsDropDownCombo}});

using TBtn = TkaButton;
KA_REGISTER_CLASS(TkaButton, [](auto& c) {
  c.Property(L"StyleKind", &TBtn::StyleKind, &TBtn::SetStyleKind);
  c.Property(L"ColorOptions", &TBtn::ColorOptions);
  c.Property(L"Title", &TBtn::Title, &TBtn::SetTitle);
  c.Property(L"TitleFont", &TBtn::TitleFont);
  c.Property(L"HotImageIndex", &TBtn::HotImageIndex, &TBtn::SetHotImageIndex);
  c.Property(L"PressedImageIndex", &TBtn::PressedImageIndex, &TBtn::SetPressedImageIndex);
  c.Property(L"FocusedImageIndex", &TBtn::FocusedImageIndex, &TBtn::SetFocusedImageIndex);
  c.Property(L"ImageMargin", &TBtn::ImageMargin, &TBtn::SetImageMargin);
  c.Property(L"ScaleMarginAndSpacing", &TBtn::ScaleMarginAndSpacing, &TBtn::SetScaleMarginAndSpacing);
  c.Property(L"DisabledFontColor", &TBtn::DisabledFontColor, &TBtn::SetDisabledFontColor);
  c.Property(L"UseFontColorToStyleColor", &TBtn::UseFontColorToStyleColor, &TBtn::SetUseFontColorToStyleColor);
  c.Property(L"UseGalleryMenuImage", &TBtn::UseGalleryMenuImage, &TBtn::SetUseGalleryMenuImage);
  c.Property(L"UseGalleryMenuCaption", &TBtn::UseGalleryMenuCaption, &TBtn::SetUseGalleryMenuCaption);
  c.Property(L"CustomImages", &TBtn::CustomImages, &TBtn::SetCustomImages);
  c.Property(L"CustomImageNormalIndex", &TBtn::CustomImageNormalIndex, &TBtn::SetCustomImageNormalIndex);
  c.Property(L"CustomImageHotIndex", &TBtn::CustomImageHotIndex, &TBtn::SetCustomImageHotIndex);
  c.Property(L"CustomImagePressedIndex", &TBtn::CustomImagePressedIndex, &TBtn::SetCustomImagePressedIndex);
  c.Property(L"CustomImageFocusedIndex", &TBtn::CustomImageFocusedIndex, &TBtn::SetCustomImageFocusedIndex);
  c.Property(L"CustomImageDisabledIndex", &TBtn::CustomImageDisabledIndex, &TBtn::SetCustomImageDisabledIndex);
  c.Property(L"TransparentBackground", &TBtn::TransparentBackground, &TBtn::SetTransparentBackground);
  c.Property(L"OnPaintContent", &TBtn::OnPaintContent);
});
