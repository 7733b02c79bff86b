// The library's classic push button: one of 24 looks (the active style's push, tool,
// header, tab, spin and segmented elements, its own per-state colours, or pictures from an
// image collection), a title line above an image and a caption, images by state, and an
// image margin that lines images up in a column of buttons. Dialog behaviour (Default,
// Cancel, ModalResult), widths that follow whether the caption shows and radio-group release
// of its siblings are the push-button base's; mouse, keyboard, drop-down and animation
// behaviour the button base's.
#pragma once

#include <functional>

#include "lib/kaControls/kaButtonColorOptions.h"
#include "lib/kaControls/kaButtonControl.h"

class TkaCustomImageCollection;

enum TkaButtonStyleKind {
  kabsPushButton, kabsToolButton, kabsPushButtonTransparent, kabsToolButtonTransparent, kabsTransparent, kabsLink,
  kabsHeaderSection, kabsUpSpinButton, kabsDownSpinButton, kabsLeftSpinButton, kabsRightSpinButton,
  kabsDropDownButton, kabsColorButton, kabsCustomImage, kabsCustomImageOverContent, kabsTab, kabsTabTransparent,
  kabsSegmentedLeft, kabsSegmentedMiddle, kabsSegmentedRight, kabsSegmentedToolLeft, kabsSegmentedToolMiddle,
  kabsSegmentedToolRight, kabsDropDownCombo
};

// Replaces the drawing of image and caption in ARect (the content area) for AState.
using TkaPaintButtonEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TkasCtrlState AState)>;

// What a gallery pop-up tells a button that shows its selected item's picture or caption.
class IkaGalleryMenuSelection {
 public:
  virtual ~IkaGalleryMenuSelection() = default;
  // False when no item is selected.
  virtual bool SelectedItem(String& Caption, int& ImageIndex) const = 0;
  // The gallery's image list, nullptr when it has none.
  virtual TCustomImageList* GalleryImages() const = 0;
};

class TkaButton : public TkaCustomPushButtonControl {
  KA_CLASS(TkaButton, TkaCustomPushButtonControl)
 public:
  explicit TkaButton(TComponent* AOwner);
  ~TkaButton() override;

  void ChangeScale(int M, int D, bool isDpiChange) override;

  TkaButtonStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TkaButtonStyleKind Value) { SetAndRepaint(FStyleKind, Value); }
  // Owned; the setter copies. Its changes repaint a colour button only.
  TkaButtonColorOptions* ColorOptions() const { return FColorOptions; }
  void SetColorOptions(TkaButtonColorOptions* Value) { FColorOptions->Assign(Value); }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { SetAndRepaint(FTitle, Value); }
  // Owned; the setter copies.
  TFont* TitleFont() const { return FTitleFont; }
  void SetTitleFont(TFont* Value);
  int HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value) { FHotImageIndex = Value; }
  int PressedImageIndex() const { return FPressedImageIndex; }
  void SetPressedImageIndex(int Value) { FPressedImageIndex = Value; }
  int FocusedImageIndex() const { return FFocusedImageIndex; }
  void SetFocusedImageIndex(int Value) { FFocusedImageIndex = Value; }
  // The x of the images' centres and the start of the captions, the same for every button
  // with the same value; 0 leaves Margin and Spacing as they are. Negative values are
  // ignored.
  int ImageMargin() const { return FImageMargin; }
  void SetImageMargin(int Value);
  // Margin and Spacing follow the scale too.
  bool ScaleMarginAndSpacing() const { return FScaleMarginAndSpacing; }
  void SetScaleMarginAndSpacing(bool Value) { FScaleMarginAndSpacing = Value; }
  // The caption colour while disabled; clNone: the style's.
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor Value);
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value) { FUseFontColorToStyleColor = Value; }
  bool UseGalleryMenuImage() const { return FUseGalleryMenuImage; }
  void SetUseGalleryMenuImage(bool Value) { SetAndRepaint(FUseGalleryMenuImage, Value); }
  bool UseGalleryMenuCaption() const { return FUseGalleryMenuCaption; }
  void SetUseGalleryMenuCaption(bool Value) { SetAndRepaint(FUseGalleryMenuCaption, Value); }
  // Not owned; a freed collection is forgotten.
  TkaCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TkaCustomImageCollection* Value);
  int CustomImageNormalIndex() const { return FCustomImageIndex[kasNormal]; }
  void SetCustomImageNormalIndex(int Value) { SetAndRepaint(FCustomImageIndex[kasNormal], Value); }
  int CustomImageHotIndex() const { return FCustomImageIndex[kasHot]; }
  void SetCustomImageHotIndex(int Value) { SetAndRepaint(FCustomImageIndex[kasHot], Value); }
  int CustomImagePressedIndex() const { return FCustomImageIndex[kasPressed]; }
  void SetCustomImagePressedIndex(int Value) { SetAndRepaint(FCustomImageIndex[kasPressed], Value); }
  int CustomImageFocusedIndex() const { return FCustomImageIndex[kasFocused]; }
  void SetCustomImageFocusedIndex(int Value) { SetAndRepaint(FCustomImageIndex[kasFocused], Value); }
  int CustomImageDisabledIndex() const { return FCustomImageIndex[kasDisabled]; }
  void SetCustomImageDisabledIndex(int Value) { SetAndRepaint(FCustomImageIndex[kasDisabled], Value); }
  using TkaCustomControl::TransparentBackground;
  void SetTransparentBackground(bool Value) override;

  // The image list index shown in a state (hot, pressed and focused fall back to the hot
  // index, everything to ImageIndex).
  int ImageIndexFor(TkasCtrlState State) const;
  int CustomImageIndexFor(TkasCtrlState State) const { return FCustomImageIndex[State]; }

  TkaPaintButtonEvent OnPaintContent;

 protected:
  TkasCtrlState GetCtrlState() override;
  bool CanAnimateFocused() override { return CanFocused(); }
  // Other push buttons of this kind; they also keep Enter from a default button while focused.
  bool IsGroupSibling(const TControl* Control) const override;
  bool AnswersEnter(const TObject* Control) const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;

 private:
  struct TPaintState;

  // The drawing steps (kaButtonDraw.cpp).
  bool DrawElementOnly(TCanvas* ACanvas, TkasCtrlState S);
  TColor DrawKindBackground(TCanvas* ACanvas, TPaintState& P);
  TColor PaintKindFace(TCanvas* ACanvas, const TRect& ARect, const TPaintState& P);
  TColor PaintPressedZone(TCanvas* ACanvas, const TRect& ARect);
  TColor FontColorRule(TkasCtrlState S);
  TColor PaintColorFace(TCanvas* ACanvas, const TRect& ARect, TkasCtrlState S);
  void DrawTitle(TCanvas* ACanvas, TPaintState& P);
  void PrepareCaptionFont(TCanvas* ACanvas, TPaintState& P);
  void DrawFocusFrame(TCanvas* ACanvas, const TPaintState& P);
  void DrawDropDownZone(TCanvas* ACanvas, TPaintState& P);
  void DrawPressedSplitZone(TCanvas* ACanvas, TPaintState& P, const TRect& Zone);
  void DrawDropDownArrow(TCanvas* ACanvas, const TPaintState& P, TRect Arrow);
  void DrawSplitLine(TCanvas* ACanvas, const TPaintState& P, const TRect& Arrow);
  TRect ContentRect(const TPaintState& P) const;
  void ContentSource(TkasCtrlState S, String& ACaption, TCustomImageList*& AImages, int& AIndex) const;
  void ImageMarginLayout(TCustomImageList* AImages, int& AMargin, int& ASpacing) const;
  void DrawContent(TCanvas* ACanvas, TPaintState& P);
  TRect SplitZone() const;
  TRect MainPart(int Margin) const;
  bool DrawCustomImage(TCanvas* ACanvas, TkasCtrlState S, const TRect& ARect);
  TRect CustomContentMargins(TkasCtrlState S) const;

  TkaButtonStyleKind FStyleKind = kabsPushButton;
  TkaButtonColorOptions* FColorOptions;
  String FTitle;
  TFont* FTitleFont;
  int FHotImageIndex = -1;
  int FPressedImageIndex = -1;
  int FFocusedImageIndex = -1;
  int FImageMargin = 0;
  bool FScaleMarginAndSpacing = false;
  TColor FDisabledFontColor = clNone;
  bool FUseFontColorToStyleColor = false;
  bool FUseGalleryMenuImage = false;
  bool FUseGalleryMenuCaption = false;
  TkaCustomImageCollection* FCustomImages = nullptr;
  int FCustomImageIndex[5] = {-1, -1, -1, -1, -1};
};
