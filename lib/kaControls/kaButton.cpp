#include "lib/kaControls/kaButton.h"

#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"

// ---- Construction ---------------------------------------------------------------------------

TkaButton::TkaButton(TComponent* AOwner)
    : TkaCustomButtonControl(AOwner), FColorOptions(new TkaButtonColorOptions(this)), FTitleFont(new TFont) {
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

bool TkaButton::IsLoadingOrDesigning() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
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

void TkaButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FShowCaption && FWidthWithCaption >= 1)
    SetWidth(FWidthWithCaption);
  else if (!FShowCaption && FWidthWithoutCaption >= 1)
    SetWidth(FWidthWithoutCaption);
  else
    RePaintControl();
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
  if (FWidthWithCaption > 0) FWidthWithCaption = ::MulDiv(FWidthWithCaption, M, D);
  if (FWidthWithoutCaption > 0) FWidthWithoutCaption = ::MulDiv(FWidthWithoutCaption, M, D);
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
  if (FDefault && FCanFocused && FActive && !FMouseIn && (state == kasNormal || state == kasFocused)) return kasHot;
  return state;
}

void TkaButton::UpdateGroup() {
  if (Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TkaButton*>(Parent()->Controls(i));
    if (other != nullptr && other != this && other->GroupIndex() == FGroupIndex && other->Down())
      other->SetDown(false);
  }
}

void TkaButton::ButtonClick() {
  if (FDisableClick || IsLoadingOrDesigning()) return;
  if (FModalSetting)
    if (TCustomForm* form = GetParentForm(this, true)) form->SetModalResult(FModalResult);
  inherited::ButtonClick();
}

void TkaButton::CMFocusChanged(TMessage& Message) {
  if (!FCanFocused || !FDefault) return;
  auto* receiving = reinterpret_cast<TControl*>(Message.LParam);
  const bool active = dynamic_cast<TkaButton*>(receiving) == nullptr || receiving == this;
  if (active == FActive) return;
  FActive = active;
  if (HandleAllocated()) RePaintControl();
}

void TkaButton::CMDialogKey(TMessage& Message) {
  const WPARAM key = Message.WParam;
  const bool shifted = ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
  if (FCanFocused && ((FActive && key == VK_RETURN && Enabled()) ||
                      (key == VK_ESCAPE && FCancel && !shifted && CanFocus()))) {
    ButtonClick();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TkaButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FOCUSCHANGED:
      CMFocusChanged(Message);
      inherited::Dispatch(Message);
      break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    default: inherited::Dispatch(Message); break;
  }
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
  c.Property(L"ShowCaption", &TBtn::ShowCaption, &TBtn::SetShowCaption);
  c.Property(L"WidthWithCaption", &TBtn::WidthWithCaption, &TBtn::SetWidthWithCaption);
  c.Property(L"WidthWithoutCaption", &TBtn::WidthWithoutCaption, &TBtn::SetWidthWithoutCaption);
  c.Property(L"ScaleMarginAndSpacing", &TBtn::ScaleMarginAndSpacing, &TBtn::SetScaleMarginAndSpacing);
  c.Property(L"Default", &TBtn::Default, &TBtn::SetDefault);
  c.Property(L"Cancel", &TBtn::Cancel, &TBtn::SetCancel);
  c.Property(L"ModalResult", &TBtn::ModalResult, &TBtn::SetModalResult);
  c.Property(L"ModalSetting", &TBtn::ModalSetting, &TBtn::SetModalSetting);
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
