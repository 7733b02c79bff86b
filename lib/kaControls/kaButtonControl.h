// The base of every clickable control of the library: pressed and down states, toggle and
// radio-group behaviour, keyboard activation, auto-repeat, drop-downs with an optional
// split zone, image placement values, and the glow-bitmap cache bookkeeping descendants
// rely on. Below it, the base of the push buttons (the classic one and the vector ones):
// their part in a dialog and their widths with and without caption.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "lib/kaControls/kaActiveControl.h"
#include "lib/kaDrawUtils/GlowEffect.h"
#include "lib/kaDrawUtils/TextDrawing.h"

class TkaGalleryMenu;

enum TkaArrowPosition { kaapRight, kaapBottom };
enum TkaArrowDirection { kaadDefault, kaadRight };

using TkaButtonCloseUpEvent = std::function<void(TObject* Sender, bool AAcceptChanges)>;

// Window timer that ends the short period after a popup menu returned, during which a
// press only marks the control hot (the press that closed the menu).
constexpr UINT_PTR kaMenuTrackingTimerID = 21;
constexpr UINT kaMenuTrackingMs = 50;
constexpr int kaFirstRepeatDelayMs = 500;

// An image and a caption as a button lays them out (DrawImageAndCaption).
struct TkaImageCaption {
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  String Caption;
  // Already swapped for right-to-left where the caller wants that.
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 1;
  // The pair centred, else the caption left-aligned beside the image (no ellipsis).
  bool Centred = true;
  bool RightToLeft = false;
  bool DrawFocus = false;
};

class TkaCustomButtonControl : public TkaCustomActiveControl {
  KA_CLASS(TkaCustomButtonControl, TkaCustomActiveControl)
 public:
  explicit TkaCustomButtonControl(TComponent* AOwner);
  ~TkaCustomButtonControl() override;

  // Ends a drop-down; an application handling a custom drop-down calls it on closing.
  void CloseUp(bool AAcceptChanges);
  // Opens the first drop-down present as if its split zone (when split) was pressed.
  void DoDropDown();
  // For a gallery menu reporting that it closed.
  void GalleryMenuClosed();

  // The platform's click is not used: clicks reach the application through ButtonClick,
  // which fires OnClick.
  void Click() override {}
  // A click as the keyboard gives it (OnClick, check-box cycling, ModalResult), for callers
  // that act for the user, such as accessibility clients.
  void PerformClick() { ButtonClick(); }

  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Pressed() const { return FPressed; }
  bool IsDown() const { return FIsDown; }
  bool MenuDroppedDown() const { return FMenuDroppedDown; }
  bool MenuTracking() const { return FMenuTracking; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  bool ToggleMode() const { return FToggleMode; }
  void SetToggleMode(bool Value) { SetAndRepaint(FToggleMode, Value); }
  bool CustomDropDown() const { return FCustomDropDown; }
  void SetCustomDropDown(bool Value) { SetAndRepaint(FCustomDropDown, Value); }
  bool CaptionCenterAlignment() const { return FCaptionCenterAlignment; }
  void SetCaptionCenterAlignment(bool Value) { SetAndRepaint(FCaptionCenterAlignment, Value); }
  TkaArrowDirection ArrowDirection() const { return FArrowDirection; }
  void SetArrowDirection(TkaArrowDirection Value) { SetAndRepaint(FArrowDirection, Value); }
  TkaArrowPosition ArrowPosition() const { return FArrowPosition; }
  void SetArrowPosition(TkaArrowPosition Value) { SetAndRepaint(FArrowPosition, Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { SetAndRepaint(FWordWrap, Value); }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value) { SetAndRepaint(FLayout, Value); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { SetAndRepaint(FImageIndex, Value); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { SetAndRepaint(FMargin, Value); }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value) { SetAndRepaint(FSpacing, Value); }
  // Glow options, owned; a change repaints unless the control is loading.
  TkaButtonGlowEffect* GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(TkaButtonGlowEffect* Value) { FGlowEffect->Assign(Value); }
  bool ImageGlow() const { return FImageGlow; }
  void SetImageGlow(bool Value) { SetAndRepaint(FImageGlow, Value); }
  bool ShowMenuArrow() const { return FShowMenuArrow; }
  void SetShowMenuArrow(bool Value) { SetAndRepaint(FShowMenuArrow, Value); }
  bool SplitButton() const { return FSplitButton; }
  void SetSplitButton(bool Value) { SetAndRepaint(FSplitButton, Value); }
  // The popup menu shown on press, under the button (PopupDropDownMenu opens it).
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  // The gallery pop-up shown on press (opened by PopupGalleryMenu).
  TComponent* GalleryMenu() const { return FGalleryMenu; }
  void SetGalleryMenu(TComponent* Value);
  int SplitWidth() const { return FSplitWidth; }

  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool Value) { FRepeatClick = Value; }
  int RepeatClickInterval() const { return FRepeatClickInterval; }
  void SetRepeatClickInterval(int Value) { FRepeatClickInterval = Value; }
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value) { FShowFocusRect = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool ShowGalleryMenuFromTop() const { return FShowGalleryMenuFromTop; }
  void SetShowGalleryMenuFromTop(bool Value) { FShowGalleryMenuFromTop = Value; }
  bool ShowGalleryMenuFromRight() const { return FShowGalleryMenuFromRight; }
  void SetShowGalleryMenuFromRight(bool Value) { FShowGalleryMenuFromRight = Value; }
  bool UseImagesFromAction() const { return FUseImagesFromAction; }
  void SetUseImagesFromAction(bool Value) { FUseImagesFromAction = Value; }
  bool UseImageIndexFromAction() const { return FUseImageIndexFromAction; }
  void SetUseImageIndexFromAction(bool Value) { FUseImageIndexFromAction = Value; }

  TNotifyEvent OnDropDown;
  TkaButtonCloseUpEvent OnCloseUp;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;

 protected:
  // Releases the other down buttons of the group; nothing here.
  virtual void UpdateGroup() {}
  virtual void AccelClick() {}
  virtual void ButtonClick();
  // Runs the drop-down menu's loop at ScreenPoint; returns when the menu has closed.
  virtual void PopupDropDownMenu(TPoint ScreenPoint);
  // Opens the gallery pop-up under a screen rectangle; it reports its closing through
  // GalleryMenuClosed.
  virtual void PopupGalleryMenu(const TRect& ScreenRect, bool FromTop, bool FromRight);
  // Width and height of the images of the image list in use (0 x 0 without one).
  virtual void GetImagesSize(int& AWidth, int& AHeight) const;
  // True when the glow bitmaps must be rebuilt for these values; stores them.
  bool NeedGlowBufferUpdate(TCanvas* ACanvas, TColor GlowColor, TCustomImageList* AImages, int AImageIndex,
                            const TRect& ARect, uint8_t AAlpha, uint8_t ASize);
  // The glow of State: false when the glow is not drawn in it; otherwise its colour (the
  // state's own, or the normal one when that is clNone), alpha and size.
  virtual bool GetGlowParams(TkasCtrlState State, TColor& Color, uint8_t& Alpha, uint8_t& Size);
  // Image and caption in ARect as drawn in State: behind them the state's glow, its bitmaps
  // kept in the glow buffers, when the glow effect is on and draws in State.
  void DrawImageAndCaption(TCanvas* ACanvas, const TRect& ARect, TkasCtrlState State, const TkaImageCaption& Content);
  // Layout with left and right swapped when the control reads right to left.
  TButtonLayout PlacedLayout() const;
  // True when the face shows the focus only through the state it is painted in (no focus
  // rectangle or other mark of its own): a focus change that leaves that state as it is on
  // screen then changes nothing to see, and is not repainted.
  virtual bool FocusShownByStateOnly() const { return false; }
  // Shows a focus change that changes the picture: gained, repainted at once with GDI text or
  // at the next paint with GDI+ text; lost, repainted at once.
  virtual void ShowFocusChange(bool Gained);

  TkasCtrlState GetCtrlState() override;
  bool CanAnimate() override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void StartRepeatClick();
  void StopRepeatClick();
  bool RepeatClickRunning() const { return FRepeatClickTimer != nullptr; }
  bool HasDropDown() const { return FDropDownMenu != nullptr || FGalleryMenu != nullptr || FCustomDropDown; }
  bool InSplitZone(int X, int Y) const;
  // The three kinds of drop-down, each with the common opening steps first.
  void DropDownMenuOpen(bool InSplit);
  void DropDownGalleryOpen(bool InSplit);
  void DropDownCustomOpen(bool InSplit);
  bool BeginDropDown(bool InSplit);
  // Points the gallery menu's internal events at this button.
  void HookGalleryMenu(TkaGalleryMenu* Gallery);
  // Where the popup menu opens, in client coordinates, for the menu's alignment.
  virtual TPoint DropDownMenuAnchor() const;

  template <class T>
  void SetAndRepaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    RePaintControl();
  }

  TButtonLayout FLayout = blGlyphLeft;
  TCustomImageList* FImages = nullptr;
  TkaButtonGlowEffect* FGlowEffect;
  int FImageIndex = -1;
  bool FRepeatClick = false;
  int FRepeatClickInterval = 100;
  TTimer* FRepeatClickTimer = nullptr;
  bool FRepeatFirstTick = false;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FSplitButton = false;
  bool FShowFocusRect = true;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FMustDoUp = false;
  bool FImageGlow = true;
  TComponent* FGalleryMenu = nullptr;
  bool FShowGalleryMenuFromTop = false;
  bool FShowGalleryMenuFromRight = false;
  bool FShowMenuArrow = true;
  bool FWordWrap = true;
  bool FUseImagesFromAction = true;
  bool FUseImageIndexFromAction = true;
  bool FCustomDropDown = false;
  bool FToggleMode = false;
  bool FCaptionCenterAlignment = false;
  bool FCanFocused = true;
  int FMargin = -1;
  int FSpacing = 1;
  TBitmap* FGlowBuffer = nullptr;
  TBitmap* FGlowImageBuffer = nullptr;
  // Parameters the cached glow bitmaps were made with.
  String FStoredCaption;
  int FStoredWidth = 0, FStoredHeight = 0;
  TColor FStoredGlowColor = clNone;
  uint8_t FStoredGlowSize = 0, FStoredAlpha = 0;
  String FStoredFontName;
  int FStoredFontSize = 0;
  TFontStyles FStoredFontStyle;
  int FStoredImageIndex = -1;
  TRect FStoredRect;
  int FStoredSpacing = -1, FStoredMargin = -2;
  TButtonLayout FStoredLayout = blGlyphLeft;
  TCustomImageList* FStoredImages = nullptr;
  int FStoredImagesWidth = 0, FStoredImagesHeight = 0;
  bool FStoredWordWrap = true;
  // The caption the glow was last drawn for: another one (a gallery item's, or none) may
  // stand in for Caption, which is what the stored parameters know.
  String FShownGlowCaption;
  bool FUpdateGlowBuffer = true;
  bool FDown = false;
  bool FPressed = false;
  bool FIsDown = false;
  bool FMenuDroppedDown = false;
  bool FMenuTracking = false;
  bool FDisableClick = false;
  int FSplitWidth = 19;
  TkaArrowPosition FArrowPosition = kaapRight;
  TkaArrowDirection FArrowDirection = kaadDefault;
  bool FDropDownCall = false;
  // While a left press moves the focus here, and whether that focus change still waits to
  // be shown.
  bool FFocusingByPress = false;
  bool FFocusShowOwed = false;

  bool IsDesigningOrLoading() const;

 private:
  void RepeatTick();
  void MenuTrackingEnded();
  // WM_SETFOCUS and WM_KILLFOCUS after the platform's handling.
  void FocusChanged(bool Gained);
  // A left press: the focus it gives is shown by the press's own repaint; only a press that
  // painted nothing shows it afterwards.
  void PressWithFocus(TMessage& Message);
  // The space and Enter handling of WndProc, run before the inherited processing.
  void HandleKeyMessage(TMessage& Message);
  void SpaceDown();
  void EnterDown();
  void SpaceUp();
};

// A push button in a dialog: Enter clicks the active Default button and Escape a Cancel
// button, a click with ModalSetting gives the parent form its ModalResult. The caption can be
// hidden, the button then taking WidthWithoutCaption (and WidthWithCaption when it shows
// again). Going down in a radio group releases the siblings of the same kind.
class TkaCustomPushButtonControl : public TkaCustomButtonControl {
  KA_CLASS(TkaCustomPushButtonControl, TkaCustomButtonControl)
 public:
  explicit TkaCustomPushButtonControl(TComponent* AOwner) : TkaCustomButtonControl(AOwner) {}

  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // The width taken when the caption is shown or hidden (0: keep the width); scaled.
  int WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
  int WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
  // Enter presses a Default button while no other button has the focus; Escape presses a
  // Cancel button.
  bool Default() const { return FDefault; }
  virtual void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // With ModalSetting, a click sets the parent form's ModalResult to this.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool ModalSetting() const { return FModalSetting; }
  void SetModalSetting(bool Value) { FModalSetting = Value; }
  // The Enter key would press this Default button now.
  bool Active() const { return FActive; }

  void Dispatch(TMessage& Message) override;
  void ChangeScale(int M, int D, bool isDpiChange) override;

 protected:
  // The siblings that form a radio group with this button.
  virtual bool IsGroupSibling(const TControl* Control) const = 0;
  // Whether Control answers Enter itself while it has the focus; a default button is not
  // active meanwhile.
  virtual bool AnswersEnter(const TObject* Control) const = 0;

  void ButtonClick() override;
  void UpdateGroup() override;
  void AccelClick() override { ButtonClick(); }
  // The default button becomes active when the focus moves to a control that does not answer
  // Enter itself, or to this button.
  void FocusChangedTo(const TObject* FocusedControl);
  // Enter on the active default button, Escape on a cancel button: true when clicked.
  bool DialogKey(WORD Key);
  // This is the default button Enter acts on now (it shows so).
  bool IsActiveDefault() const { return FDefault && FCanFocused && FActive; }

  bool FShowCaption = true;
  int FWidthWithCaption = 0;
  int FWidthWithoutCaption = 0;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FModalSetting = false;
  bool FActive = false;
};
