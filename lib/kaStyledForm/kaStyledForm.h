// TkaStyledForm: a component dropped on a form that hooks the form's window procedure and
// gives it, without subclassing the form class: a frame drawn by the desktop compositor for a
// borderless window (shadow, corners, maximise and restore done by the component, a resize
// ring around the window), translucent blur and acrylic backdrops, a scale factor that
// follows the form's DPI, reliable activation events, a styles submenu in the system menu,
// and a drop-down mode in which the whole form pops up under a control like a menu.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaHint/kaHint.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaStyledForm/NCItems.h"

class TkaHitTestWnd;
class TkaClientInActivePanel;
class TkaGPCustomGlyphButton;

// The last three are the compositor's own backdrops of Windows 11 22H2 and later (Mica, Mica
// Alt for tabbed windows, Acrylic); new values go at the end so stored layouts keep meaning.
enum TkaFluentUIBackground {
  kafuibNone,
  kafuibBlur,
  kafuibAcrylic,
  kafuibAcrylicBlurAuto,
  kafuibMica,
  kafuibMicaAlt,
  kafuibSystemAcrylic
};
enum TkaDWMRoundedCornersType { kaDWMRoundedCornersDefault, kaDWMRoundedCornersOff };
enum TkaNCTabsPosition { katpLeft, katpRight };
// Blur radius of the inactive-client veil, 0..20.
using TkaBlurAmount = int;

using TkaOnChangeScaleEvent = std::function<void(double AScaleFactor)>;
using TkaNCHitTestEvent = std::function<void(const TPoint& APoint, int& AResult)>;
using TkaOnFormDropDownEvent = std::function<void(TCustomForm* ADropDownForm, TControl* ADropDownControl)>;
using TkaOnFormCloseUpEvent =
    std::function<void(TCustomForm* ADropDownForm, TControl* ADropDownControl, bool AAcceptChanges)>;

// Private messages the component posts to its form's window.
constexpr UINT SFM_STYLECHANGED = 1518;
constexpr UINT SFM_MDIARRANGE = 1519;
constexpr UINT SFM_RESTOREBOUNDS = 1522;
constexpr UINT SFM_RESTORECLIENTSIZE = 1523;
// System-menu command of the styles submenu, and of the style at index i (base + i).
constexpr UINT kaStylesMenuCommand = 1524;
constexpr UINT kaStyleCommandBase = 1525;
// Window timers on the form.
constexpr UINT_PTR kaNCPaintTimerID = 20;
constexpr UINT_PTR kaCaptionMenuTrackingTimerID = 22;
constexpr UINT_PTR kaHitTestWndTimerID = 30;

// Whether a platform style scales the client size it restores with the scale factor
// (process-wide; the style manager exposes it). Initially true.
extern bool kaStyledFormScaleFormBorder;

class TkaStyledForm : public TComponent {
  KA_CLASS(TkaStyledForm, TComponent)
  friend class TkaHitTestWnd;
  friend class TkaFormStyleHook;
  // The caption items read and set the caption-menu tracking and update flags; a freed
  // caption button unhooks itself from the form it dropped down.
  friend class TkaNCButtonObject;
  friend class TkaNCTabObject;
  friend class TkaNCButtonItem;
  // Tests reach the private caption-item lookups through this.
  friend struct TkaStyledFormTestAccess;

 public:
  explicit TkaStyledForm(TComponent* AOwner);
  ~TkaStyledForm() override;
  void Loaded() override;

  // ---- Scale -----------------------------------------------------------------------------
  double ScaleFactor() const { return FScaleFactor; }
  int ScalePercent() const { return FScalePercent; }
  // AValue times the scale factor, rounded halves to even.
  int ScaleInt(int AValue) const;
  double ScaleDouble(double AValue) const { return AValue * FScaleFactor; }

  TCustomForm* Form() const { return FForm; }
  // The resize ring around the form in DWM client mode (nullptr until first needed).
  TkaHitTestWnd* HitTestWnd() const { return FDWMHitTestWnd; }

  // ---- Backdrop ----------------------------------------------------------------------------
  bool IsFluentUIAvailable() const;
  bool IsFluentUIEnabled() const;
  bool IsFluentUIAcrylicBackground() const;
  void UpdateFluentForm();
  void UpdateFluentAcrylicColor();

  bool IsFormActive() const { return FFormActive; }

  // ---- Snap layouts ----------------------------------------------------------------------------
  // The glyph button that acts as the caption's maximise button. On Windows 11, with DWM
  // client mode, the window answers the system's hit test with HTMAXBUTTON over it, so that
  // the system shows its snap layouts there; the button's hot, pressed and click behaviour
  // then comes through the window's non-client messages. nullptr: the button is an ordinary
  // client control.
  TkaGPCustomGlyphButton* SnapLayoutButton() const { return FSnapLayoutButton; }
  void SetSnapLayoutButton(TkaGPCustomGlyphButton* Value);
  bool IsSnapLayoutActive() const;

  // ---- DWM client mode -----------------------------------------------------------------------
  void DWMClientMaximize();
  void DWMClientRestore();
  bool IsDWMClientMaximized() const { return FDWMClientMaximized; }
  void DWMClientStartDrag();
  void DWMClientDrag();
  void DWMClientEndDrag();
  bool IsDWMClientDragging() const { return FDWMClientDown; }
  TRect GetMaximizeBounds();

  // ---- Inactive client veil ------------------------------------------------------------------
  void ShowClientInActiveEffect();
  void HideClientInActiveEffect();

  // ---- Form helpers --------------------------------------------------------------------------
  void SetRedraw(bool AValue, bool AUpdate);
  void UpDateFormNC();
  void BeginUpdateItems();
  void EndUpdateItems(bool AUpdate);
  void RestoreClientSize();
  void CreateStyleMenu(TMenuItem* AMenuItem);

  // ---- Drop-down form ------------------------------------------------------------------------
  void DropDown(TCustomForm* ADropDownForm, int X, int Y);
  void DropDown(TControl* ADropDownControl, int X, int Y);
  void DropDown(TControl* ADropDownControl, bool AFromRight, bool AIsRightToLeft);
  void DropDown(TCustomForm* ADropDownForm, TkaNCButtonItem* ANCButton, int X, int Y, bool AIsRightToLeft);
  void CloseUp(bool AAcceptChanges);
  // The form that is dropped down now and the form it dropped from (nullptr when none).
  static TCustomForm* CurrentDropDownForm();
  static TCustomForm* CurrentDropDownSourceForm();

  // ---- Published properties ------------------------------------------------------------------
  TkaFluentUIBackground FluentUIBackground() const { return FFluentUIBackground; }
  void SetFluentUIBackground(TkaFluentUIBackground Value);
  TColor FluentUIAcrylicColor() const { return FFluentUIAcrylicColor; }
  void SetFluentUIAcrylicColor(TColor Value);
  uint8_t FluentUIAcrylicColorAlpha() const { return FFluentUIAcrylicColorAlpha; }
  void SetFluentUIAcrylicColorAlpha(uint8_t Value);
  bool FluentUIBorder() const { return FFluentUIBorder; }
  void SetFluentUIBorder(bool Value) { FFluentUIBorder = Value; }
  bool FluentUIInactiveAcrylicColorOpaque() const { return FFluentUIInactiveAcrylicColorOpaque; }
  void SetFluentUIInactiveAcrylicColorOpaque(bool Value) { FFluentUIInactiveAcrylicColorOpaque = Value; }
  // Accent acrylic on Windows 10 trails behind a window being moved or sized: while a move or
  // size runs, the backdrop is blur instead, and acrylic again afterwards.
  bool FluentUIBlurWhileMoving() const { return FFluentUIBlurWhileMoving; }
  void SetFluentUIBlurWhileMoving(bool Value);
  // The compositor's border and caption colours (Windows 11), for the active and the
  // inactive window. clDefault leaves the system's colour; clNone draws no border.
  TColor FrameBorderColor() const { return FFrameBorderColor; }
  void SetFrameBorderColor(TColor Value) { SetFrameColor(FFrameBorderColor, Value); }
  TColor FrameBorderInactiveColor() const { return FFrameBorderInactiveColor; }
  void SetFrameBorderInactiveColor(TColor Value) { SetFrameColor(FFrameBorderInactiveColor, Value); }
  TColor FrameCaptionColor() const { return FFrameCaptionColor; }
  void SetFrameCaptionColor(TColor Value) { SetFrameColor(FFrameCaptionColor, Value); }
  TColor FrameCaptionInactiveColor() const { return FFrameCaptionInactiveColor; }
  void SetFrameCaptionInactiveColor(TColor Value) { SetFrameColor(FFrameCaptionInactiveColor, Value); }
  TkaDWMRoundedCornersType DWMClientRoundedCornersType() const { return FDWMClientRoundedCornersType; }
  void SetDWMClientRoundedCornersType(TkaDWMRoundedCornersType Value);
  bool DWMClientShadow() const { return FDWMClientShadow; }
  void SetDWMClientShadow(bool Value);
  bool DWMClientShadowHitTest() const { return FDWMClientShadowHitTest; }
  void SetDWMClientShadowHitTest(bool Value);
  bool DropDownForm() const { return FDropDownForm; }
  void SetDropDownForm(bool Value);
  bool DropDownAnimation() const { return FDropDownAnimation; }
  void SetDropDownAnimation(bool Value) { FDropDownAnimation = Value; }
  TColor DropDownBorderColor() const { return FDropDownBorderColor; }
  void SetDropDownBorderColor(TColor Value) { FDropDownBorderColor = Value; }
  bool StylesMenuSorted() const { return FStylesMenuSorted; }
  void SetStylesMenuSorted(bool Value) { FStylesMenuSorted = Value; }
  bool ShowStylesMenu() const { return FShowStylesMenu; }
  void SetShowStylesMenu(bool Value);
  const String& StylesMenuCaption() const { return FStylesMenuCaption; }
  void SetStylesMenuCaption(const String& Value);
  int ClientWidth() const { return FClientWidth; }
  void SetClientWidth(int Value);
  int ClientHeight() const { return FClientHeight; }
  void SetClientHeight(int Value);
  // The hints of the caption items.
  TkaHint* HintComponent() const { return FHintComponent; }
  void SetHintComponent(TkaHint* Value);
  bool ShowHints() const { return FShowHints; }
  void SetShowHints(bool Value) { FShowHints = Value; }
  TkaNCButtonItems* Buttons() const { return FButtons; }
  void SetButtons(TkaNCButtonItems* Value) { FButtons->Assign(Value); }
  TCustomImageList* ButtonImages() const { return FButtonImages; }
  void SetButtonImages(TCustomImageList* Value);
  TFont* ButtonFont() const { return FButtonFont; }
  void SetButtonFont(TFont* Value) { FButtonFont->Assign(Value); }
  TFont* CaptionFont() const { return FCaptionFont; }
  void SetCaptionFont(TFont* Value) { FCaptionFont->Assign(Value); }
  TFont* TabFont() const { return FTabFont; }
  void SetTabFont(TFont* Value) { FTabFont->Assign(Value); }
  TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  TColor InActiveClientColor() const { return FInActiveClientColor; }
  void SetInActiveClientColor(TColor Value) { FInActiveClientColor = Value; }
  uint8_t InActiveClientColorAlpha() const { return FInActiveClientColorAlpha; }
  void SetInActiveClientColorAlpha(uint8_t Value) { FInActiveClientColorAlpha = Value; }
  TkaBlurAmount InActiveClientBlurAmount() const { return FInActiveClientBlurAmount; }
  void SetInActiveClientBlurAmount(TkaBlurAmount Value);
  TkaNCTabItems* Tabs() const { return FTabs; }
  void SetTabs(TkaNCTabItems* Value) { FTabs->Assign(Value); }
  TCustomImageList* TabImages() const { return FTabImages; }
  void SetTabImages(TCustomImageList* Value);
  bool ShowIcon() const { return FShowIcon; }
  void SetShowIcon(bool Value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  bool ShowTabs() const { return FShowTabs; }
  void SetShowTabs(bool Value);
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value);
  TkaNCTabsPosition TabsPosition() const { return FTabsPosition; }
  void SetTabsPosition(TkaNCTabsPosition Value);
  bool ShowInactiveTab() const { return FShowInactiveTab; }
  void SetShowInactiveTab(bool Value);
  TkaCustomImageCollection* CaptionWallpapers() const { return FCaptionWallpapers; }
  void SetCaptionWallpapers(TkaCustomImageCollection* Value);
  int CaptionWallpaperIndex() const { return FCaptionWallpaperIndex; }
  void SetCaptionWallpaperIndex(int Value);
  int CaptionWallpaperInActiveIndex() const { return FCaptionWallpaperInActiveIndex; }
  void SetCaptionWallpaperInActiveIndex(int Value) { FCaptionWallpaperInActiveIndex = Value; }
  int CaptionWallpaperLeftMargin() const { return FCaptionWallpaperLeftMargin; }
  void SetCaptionWallpaperLeftMargin(int Value) { SetWallpaperMargin(FCaptionWallpaperLeftMargin, Value); }
  int CaptionWallpaperTopMargin() const { return FCaptionWallpaperTopMargin; }
  void SetCaptionWallpaperTopMargin(int Value) { SetWallpaperMargin(FCaptionWallpaperTopMargin, Value); }
  int CaptionWallpaperRightMargin() const { return FCaptionWallpaperRightMargin; }
  void SetCaptionWallpaperRightMargin(int Value) { SetWallpaperMargin(FCaptionWallpaperRightMargin, Value); }
  int CaptionWallpaperBottomMargin() const { return FCaptionWallpaperBottomMargin; }
  void SetCaptionWallpaperBottomMargin(int Value) { SetWallpaperMargin(FCaptionWallpaperBottomMargin, Value); }

  // ---- Events --------------------------------------------------------------------------------
  TNotifyEvent OnChangeActive;
  TNotifyEvent OnBeforeChangeScale;
  TkaOnChangeScaleEvent OnChangeScale;
  TNotifyEvent OnChangeFluentUIBackground;
  TNotifyEvent OnDWMClientMaximize;
  TNotifyEvent OnDWMClientRestore;
  TNotifyEvent OnStyleChanged;
  TkaNCHitTestEvent OnHitTest;
  TkaOnFormDropDownEvent OnDropDown;
  TkaOnFormCloseUpEvent OnCloseUp;
  TNotifyEvent OnTabChanged;

  // Set after the first WM_DPICHANGED.
  bool FDPIChanged = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void NewWndProc(TMessage& Message);

  // Where GetMaximizeBounds and the caption drag learn about the screen. Tests override
  // these to stand in for monitor layouts and pointer positions the test machine lacks.
  struct TMonitorArea {
    TRect Bounds;
    TRect WorkArea;
    bool Primary = false;
  };
  virtual TMonitorArea MonitorAreaAt(TPoint P);
  // The taskbar window's rectangle; false when there is no taskbar window.
  virtual bool TaskbarRect(TRect& R);
  virtual TPoint CursorPoint();
  // Asks for WM_NCMOUSELEAVE when the pointer leaves the window's non-client part.
  virtual void TrackNonClientLeave(HWND Wnd);

  TCustomForm* FForm = nullptr;
  TControl* FDropDownControl = nullptr;
  bool FMaximized = false;
  bool FStyleChanged = false;
  bool FMinimized = false;
  bool FNCDrag = false;
  bool FDWMClientMaximized = false;
  bool FStopActivateEvents = false;
  bool FHitTestWndShowing = false;
  bool FStyleChanging = false;
  bool FWasDWMClientShadow = false;
  bool FHitTestWndDown = false;
  bool FMenuTracking = false;
  bool FFormActive = false;

 private:
  // The caption items under the form style hook: the NC object of the first visible button
  // (with ShowButtons) or else tab (with ShowTabs) whose ObjectRect holds P (window
  // coordinates); whether A belongs to an item that is listed (shown); whether its item is
  // enabled.
  TkaNCObject* FindNCObject(const TPoint& P) const;
  bool IsNCObjectListed(const TkaNCObject* A) const;
  bool IsNCObjectEnabled(const TkaNCObject* A) const;

  // What the first look at a message decided: pass it on, or stop (handled), or run only
  // the after-phase (the previous procedure was already called).
  enum TBeforeResult { brContinue, brHandled, brAfterOnly };
  TBeforeResult HandleBefore(TMessage& Message);
  void HandleAfter(TMessage& Message);
  void CallPrevious(TMessage& Message);
  TBeforeResult WMActivateBefore(TMessage& Message);
  TBeforeResult WMNCActivateBefore(TMessage& Message);
  TBeforeResult WMNCCalcSizeBefore(TMessage& Message);
  TBeforeResult WMSysCommandBefore(TMessage& Message);
  TBeforeResult CMRecreateWndBefore(TMessage& Message);
  void WMActivateAfter(TMessage& Message);
  void WMWindowPosChangedBefore();
  void WMWindowPosChangedAfter();
  void WMSysCommandAfter(TMessage& Message);
  void WMStyleChangedAfter();
  void WMTimerAfter(TMessage& Message);
  void WMDpiChangedAfter();
  void WMSettingChangeAfter();
  void WMEraseBkgndAfter(TMessage& Message);
  void CMRecreateWndAfter();
  void StoreNormalBounds();
  void RestoreBounds();
  void ArrangeMDIChildren();
  void DrawDropDownBorder();

  // Scaling.
  bool ApplyScaleRules(bool AFireRuleA);
  bool ApplyRuleA(bool AFire);
  bool ApplyRuleB();
  void SetScaleFactor(double AValue, bool AFire);
  void ScaleClientSize();
  void DoChangeScale();

  // DWM client mode and backdrops.
  void UpdateDWMClientFrame();
  void ApplyDWMClientShadow(bool Value);
  // Sends the backdrop's accent; true when the accent replaces the frame extension
  // (before Windows 11, with a bordered or acrylic accent).
  bool ApplyFluentAccent();
  TkaFluentUIBackground GetEffectiveFluentUIBackground() const;
  TkaAccentPolicy MakeAcrylicAccent(uint8_t AAlpha) const;
  // The compositor's backdrop type for an effective backdrop (0 when it is an accent).
  static int SystemBackdropType(TkaFluentUIBackground Value);
  bool IsSystemBackdrop() const { return SystemBackdropType(GetEffectiveFluentUIBackground()) != 0; }
  // Blur while a move or size runs (FluentUIBlurWhileMoving), acrylic again after it.
  void BeginMoveBackdrop();
  void EndMoveBackdrop();
  void SetFrameColor(TColor& AField, TColor AValue);
  void ApplyFrameColors();
  void WMSettingChangeHighContrast(WPARAM Setting);

  // Snap layouts (StyledFormSnap.cpp).
  bool SnapLayoutMessage(TMessage& Message);
  bool SnapLayoutHit(TPoint AScreen) const;
  void AttachSnapHooks();
  void HookSnapChain();
  void DetachSnapHooks();
  void SyncSnapLayoutButton();
  void SnapHover(bool AHot);
  void SnapPress();
  void SnapRelease(bool AOnButton);
  void SnapCancel();
  void SnapLayoutComponentRemoved(TComponent* AComponent);
  void ResetDWMClientFrameMargins();
  void ResetAcrylicMarginsAfterMove();
  void SetCornerPreference(int Value);
  void RemoveDWMClientStyles();
  void DWMClientRecreated();
  void ShowHitTestWnd();
  void HideHitTestWnd();
  void UpdateHitTestWndPosition();
  void HitTestWndTimer();
  bool HitTestWndVisible() const;
  void ExcludeHitTestWndFromPeek();
  bool ExcludeFromPeekSupported() const;
  void PinWindowPos(TMessage& Message);
  void SyncMaximizedBounds();

  // Styles submenu.
  void BuildStylesMenu();
  void ClearStylesMenu();
  // Checks the active style's item again (the application switched style without
  // re-creating the form).
  void CheckActiveStyleItem();
  void RemoveStylesMenu();
  void SelectStyleCommand(WPARAM Command);

  // Drop-down.
  static void CloseCurrentDropDown();
  static void ForgetDropDownSource(TCustomForm* ASource);
  static void ForgetDropDownForm(TCustomForm* AForm);
  void ShowDropDown(TCustomForm* ASource, int X, int Y, bool AFocus);
  void AnimateDropDown(bool AWasAlphaBlend, uint8_t ATargetAlpha);

  void SetWallpaperMargin(int& AField, int AValue);
  void SetNCProperty(bool& AField, bool AValue);
  bool IsDesigningOrLoading() const;
  bool IsDestroying() const;
  bool IsStyleActive() const;
  HWND FormHandle() const;

  TkaFluentUIBackground FFluentUIBackground = kafuibNone;
  TColor FFluentUIAcrylicColor = clBtnFace;
  uint8_t FFluentUIAcrylicColorAlpha = 100;
  bool FFluentUIBorder = true;
  bool FFluentUIInactiveAcrylicColorOpaque = false;
  bool FFluentUIBlurWhileMoving = false;
  // A move or size loop runs with the blur put in for acrylic.
  bool FMoveBlurred = false;
  bool FHighContrast = false;
  TColor FFrameBorderColor = clDefault;
  TColor FFrameBorderInactiveColor = clDefault;
  TColor FFrameCaptionColor = clDefault;
  TColor FFrameCaptionInactiveColor = clDefault;
  TkaGPCustomGlyphButton* FSnapLayoutButton = nullptr;
  // The button's window and its parents below the form, whose hit test lets the pointer
  // through to the form over the button; each hook checks the token it was made with.
  std::vector<TWinControl*> FSnapHooked;
  std::shared_ptr<bool> FSnapHookToken;
  bool FSnapHot = false;
  bool FSnapPressed = false;
  TkaDWMRoundedCornersType FDWMClientRoundedCornersType = kaDWMRoundedCornersDefault;
  bool FDWMClientShadow = false;
  bool FDWMClientShadowHitTest = false;
  bool FDropDownForm = false;
  bool FDropDownAnimation = false;
  TColor FDropDownBorderColor = clBtnShadow;
  bool FStylesMenuSorted = false;
  bool FShowStylesMenu = false;
  String FStylesMenuCaption = L"Styles";
  int FClientWidth = 0;
  int FClientHeight = 0;
  TkaHint* FHintComponent = nullptr;
  bool FShowHints = true;
  TkaNCButtonItems* FButtons = nullptr;
  TCustomImageList* FButtonImages = nullptr;
  TFont* FButtonFont = nullptr;
  TFont* FCaptionFont = nullptr;
  TFont* FTabFont = nullptr;
  TAlignment FCaptionAlignment = taLeftJustify;
  TColor FInActiveClientColor = clWindow;
  uint8_t FInActiveClientColorAlpha = 100;
  TkaBlurAmount FInActiveClientBlurAmount = 5;
  TkaNCTabItems* FTabs = nullptr;
  TCustomImageList* FTabImages = nullptr;
  bool FShowIcon = true;
  bool FShowButtons = true;
  bool FShowTabs = true;
  int FTabIndex = 0;
  TkaNCTabsPosition FTabsPosition = katpLeft;
  bool FShowInactiveTab = true;
  TkaCustomImageCollection* FCaptionWallpapers = nullptr;
  int FCaptionWallpaperIndex = -1;
  int FCaptionWallpaperInActiveIndex = -1;
  int FCaptionWallpaperLeftMargin = 1;
  int FCaptionWallpaperTopMargin = 1;
  int FCaptionWallpaperRightMargin = 1;
  int FCaptionWallpaperBottomMargin = 1;

  int FPPI = 96;
  HMENU FStylesMenu = nullptr;
  TWndMethod FOldWndProc;
  int FStyleCount = 0;
  int FSubMenuIndex = -1;
  int FFormLeft = 0, FFormTop = 0, FFormWidth = 0, FFormHeight = 0;
  bool FSizeStored = false;
  bool FWasMinimized = true;
  bool FStopUpdateFluentColor = false;
  bool FUpdating = false;
  bool FShowed = false;
  double FScaleFactor = 1.0;
  int FScalePercent = 100;
  TkaNCButtonItem* FDropDownButtonItem = nullptr;
  TkaClientInActivePanel* FInActivePanel = nullptr;
  TkaHitTestWnd* FDWMHitTestWnd = nullptr;
  TRect FDWMClientNormalRect;
  bool FDWMClientDown = false;
  TPoint FDWMClientDownPoint;
  bool FStartUp = true;
  // Set while UpdateDWMClientFrame runs: the style write it makes comes back as a
  // WM_STYLECHANGED, which must not start it again.
  bool FUpdatingFrame = false;
  // A WM_STYLECHANGED reached the window during the current re-creation.
  bool FStyleChangedWhileRecreating = false;
  // The form this one dropped down from, watched so that freeing it clears the drop-down.
  TCustomForm* FDropDownSourceForm = nullptr;
  // Set while CloseUp runs.
  bool FClosingUp = false;
  // False once the destructor ran: a message handler that may free this component (the
  // form's release, a nested message loop) checks it before touching any field again.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
