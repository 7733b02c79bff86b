// The style engine: how controls ask for the look of standard elements (buttons, check
// boxes, tabs, arrows, menus, window frames ...), have them drawn, and learn the colours of
// the style that draws them.
//
// Two kinds of style implement one interface, TCustomStyleServices:
// - the system style ("Windows"): elements from uxtheme with visual styles on; without them
//   (classic Windows, and usually Wine) the classic frame-control and edge primitives over
//   system colours, so every element always draws something sensible;
// - custom styles: a table of colours and sizes (TStyleDescription) drawn by one shared flat
//   painter (TFlatStyleServices). "Karvo Dark" and "Karvo Light" are built in; a program may
//   register its own (see TStyleManager::RegisterStyle).
//
// The application has one active style (TStyleManager::SetStyle); a control draws with the
// style its StyleName names, else the one its nearest parent names, else the active one
// (StyleServices(Control)). While a custom style draws a window, the hooks registered for its
// class (TStyleEngine) see its messages first.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/Classes.h"
#include "framework/Messages.h"

// ---- Elements -------------------------------------------------------------------------

// The element kind decides the uxtheme window class an element is drawn from. The toggle
// switch exists in custom styles only (the system style fills it with button face).
enum TThemedElement {
  teButton, teComboBox, teEdit, teHeader, teListView, teMenu, teProgress, teScrollBar,
  teSpin, teStatus, teTab, teToolBar, teToolTip, teWindow, teToggleSwitch
};

// One enumeration per family; GetElementDetails maps each value onto part and state.
enum TThemedButton {
  tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled,
  tbPushButtonDefaulted,
  tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed,
  tbCheckBoxUncheckedDisabled,
  tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed,
  tbCheckBoxCheckedDisabled,
  tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedDisabled
};
enum TThemedToolBar { ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonDisabled };
// Fixed cells are header items; a selected cell is a selected list item, a plain cell an
// unselected one.
enum TThemedGrid { tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgCellSelected, tgCellNormal };
enum TThemedTab { ttTabItemNormal, ttTabItemHot, ttTabItemSelected, ttTabItemDisabled, ttPane };
// Up-down arrows. "Horz" arrows point right (up) and left (down).
enum TThemedSpin {
  tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
  tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
  tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
  tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled
};
// Arrow buttons, thumbs (four states each), the tracks either side of a thumb and the size
// box in the corner of two bars.
enum TThemedScrollBar {
  tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
  tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
  tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
  tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled,
  tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed, tsThumbBtnHorzDisabled,
  tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed, tsThumbBtnVertDisabled,
  tsLowerTrackHorzNormal, tsUpperTrackHorzNormal, tsLowerTrackVertNormal, tsUpperTrackVertNormal,
  tsSizeBoxRightAlign
};
enum TThemedComboBox {
  tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed, tcDropDownButtonDisabled,
  tcDropDownButtonRightNormal, tcDropDownButtonRightHot, tcDropDownButtonRightPressed,
  tcDropDownButtonRightDisabled,
  tcBorderNormal, tcBorderHot, tcBorderFocused, tcBorderDisabled
};
enum TThemedEdit {
  teEditTextNormal, teEditTextDisabled, teEditTextReadOnly,
  teEditBorderNoScrollNormal, teEditBorderNoScrollHot, teEditBorderNoScrollFocused,
  teEditBorderNoScrollDisabled
};
// The parts of a window frame; the window's client background is GetElementDetails(teWindow).
// "Small" parts belong to tool windows. The system button is the icon's place at the left of
// the caption; the other buttons come in normal, hot, pushed and disabled.
enum TThemedWindow {
  twCaptionActive, twCaptionInactive, twSmallCaptionActive, twSmallCaptionInactive,
  twFrameLeftActive, twFrameLeftInactive, twFrameRightActive, twFrameRightInactive,
  twFrameBottomActive, twFrameBottomInactive,
  twSmallFrameLeftActive, twSmallFrameLeftInactive, twSmallFrameRightActive, twSmallFrameRightInactive,
  twSmallFrameBottomActive, twSmallFrameBottomInactive,
  twSysButtonNormal, twSysButtonHot, twSysButtonPushed, twSysButtonDisabled,
  twMinButtonNormal, twMinButtonHot, twMinButtonPushed, twMinButtonDisabled,
  twMaxButtonNormal, twMaxButtonHot, twMaxButtonPushed, twMaxButtonDisabled,
  twCloseButtonNormal, twCloseButtonHot, twCloseButtonPushed, twCloseButtonDisabled,
  twSmallCloseButtonNormal, twSmallCloseButtonHot, twSmallCloseButtonPushed, twSmallCloseButtonDisabled,
  twRestoreButtonNormal, twRestoreButtonHot, twRestoreButtonPushed, twRestoreButtonDisabled,
  twHelpButtonNormal, twHelpButtonHot, twHelpButtonPushed, twHelpButtonDisabled
};
enum TThemedStatus { tsStatusRoot, tsPane, tsGripper };
// Popup menus (background, items, separator, gutter, check marks and their background, the
// submenu arrow) and the menu bar of a window (background and items).
enum TThemedMenu {
  tmPopupBackground, tmPopupItemNormal, tmPopupItemHot, tmPopupItemDisabled, tmPopupSeparator,
  tmPopupGutter, tmPopupCheckNormal, tmPopupCheckDisabled, tmPopupBulletNormal, tmPopupCheckBackground,
  tmPopupSubMenuNormal, tmPopupSubMenuDisabled,
  tmMenuBarBackgroundActive, tmMenuBarBackgroundInactive,
  tmMenuBarItemNormal, tmMenuBarItemHot, tmMenuBarItemPushed, tmMenuBarItemDisabled
};
// The tool tip's background.
enum TThemedToolTip { tttStandardNormal };
enum TThemedProgress { tpBar, tpBarVert, tpChunk, tpChunkVert, tpFill };
enum TThemedListView {
  tlListItemNormal, tlListItemHot, tlListItemSelected, tlListItemSelectedNotFocus
};
// The toggle switch's track (off and on) and thumb. The first six keep the values the
// library's switch always used.
enum TThemedToggleSwitch {
  ttsTrackOffNormal, ttsTrackOffDisabled, ttsTrackOnNormal, ttsTrackOnDisabled, ttsThumbNormal, ttsThumbDisabled,
  ttsTrackOffHot, ttsTrackOffPressed, ttsTrackOnHot, ttsTrackOnPressed, ttsThumbHot, ttsThumbPressed
};

// An element as uxtheme knows it: the class (by element kind), a part and a state id.
// Part 0 is the class's root (the whole control's background).
struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int Part = 0;
  int State = 0;
  constexpr bool operator==(const TThemedElementDetails&) const = default;
};

enum TElementSize { esMinimum, esActual };
enum TElementColor { ecTextColor, ecBorderColor, ecGradientColor1, ecGradientColor2, ecFillColor };
// Margins of an element: around its content, or the parts that must not be stretched.
enum TElementMargin { emContent, emSizing };

// Colours of whole controls and of their text, as a style would give them.
enum TStyleColor {
  scBorder, scButtonNormal, scButtonHot, scButtonPressed, scButtonFocused, scButtonDisabled,
  scComboBox, scComboBoxDisabled, scEdit, scEditDisabled, scGrid, scGenericBackground,
  scGenericGradientBase, scGenericGradientEnd, scHintGradientBase, scHintGradientEnd,
  scListBox, scListBoxDisabled, scListView, scPanel, scPanelDisabled, scSplitter,
  scToolBarGradientBase, scToolBarGradientEnd, scTreeView, scWindow
};
enum TStyleFont {
  sfButtonTextNormal, sfButtonTextHot, sfButtonTextPressed, sfButtonTextFocused,
  sfButtonTextDisabled,
  sfCaptionTextNormal, sfCaptionTextInactive,
  sfCheckBoxTextNormal, sfCheckBoxTextDisabled,
  sfEditBoxTextNormal, sfEditBoxTextHot, sfEditBoxTextFocused, sfEditBoxTextSelected,
  sfEditBoxTextReadOnly, sfEditBoxTextDisabled,
  sfGroupBoxTextNormal, sfGroupBoxTextDisabled,
  sfHeaderSectionTextNormal, sfHeaderSectionTextHot, sfHeaderSectionTextPressed,
  sfHeaderSectionTextDisabled,
  sfHintTextNormal,
  sfListItemTextNormal, sfListItemTextHot, sfListItemTextSelected, sfListItemTextDisabled,
  sfMenuItemTextNormal, sfMenuItemTextHot, sfMenuItemTextSelected, sfMenuItemTextDisabled,
  sfPanelTextNormal, sfPanelTextDisabled,
  sfPopupMenuItemTextNormal, sfPopupMenuItemTextHot, sfPopupMenuItemTextSelected,
  sfPopupMenuItemTextDisabled,
  sfRadioButtonTextNormal, sfRadioButtonTextDisabled,
  sfStatusPanelTextNormal, sfStatusPanelTextDisabled,
  sfTabTextActiveNormal, sfTabTextActiveDisabled, sfTabTextInactiveNormal,
  sfTabTextInactiveHot, sfTabTextInactiveDisabled,
  sfToolItemTextNormal, sfToolItemTextHot, sfToolItemTextSelected, sfToolItemTextDisabled,
  sfTreeItemTextNormal, sfTreeItemTextHot, sfTreeItemTextSelected, sfTreeItemTextDisabled,
  sfWindowTextNormal, sfWindowTextDisabled
};
constexpr int kSystemColorCount = COLOR_MENUBAR + 1;
constexpr int kStyleColorCount = scWindow + 1;
constexpr int kStyleFontCount = sfWindowTextDisabled + 1;

// ---- Services -------------------------------------------------------------------------

// Draws and measures elements of one style and answers its colours. Every colour answer is
// RGB or a system colour the caller resolves with ColorToRGB of the same services.
// The system style's object and the registered custom styles live for the whole program
// (they are not framework objects, so they are not counted among the objects alive at exit).
class TCustomStyleServices {
 public:
  TCustomStyleServices() = default;
  virtual ~TCustomStyleServices() = default;
  TCustomStyleServices(const TCustomStyleServices&) = delete;
  TCustomStyleServices& operator=(const TCustomStyleServices&) = delete;

  // The style can draw. The system style: visual styles are on for this program's controls
  // (IsThemeActive && IsAppThemed, and not turned off for controls with
  // SetThemeAppProperties). A custom style: always.
  virtual bool Enabled() const = 0;
  virtual bool IsSystemStyle() const = 0;
  virtual String Name() const = 0;
  // Dark surfaces with light text: windows it draws get the compositor's dark caption.
  virtual bool IsDark() const { return false; }

  static TThemedElementDetails GetElementDetails(TThemedElement Element);
  static TThemedElementDetails GetElementDetails(TThemedButton Detail);
  static TThemedElementDetails GetElementDetails(TThemedToolBar Detail);
  static TThemedElementDetails GetElementDetails(TThemedGrid Detail);
  static TThemedElementDetails GetElementDetails(TThemedTab Detail);
  static TThemedElementDetails GetElementDetails(TThemedSpin Detail);
  static TThemedElementDetails GetElementDetails(TThemedScrollBar Detail);
  static TThemedElementDetails GetElementDetails(TThemedComboBox Detail);
  static TThemedElementDetails GetElementDetails(TThemedEdit Detail);
  static TThemedElementDetails GetElementDetails(TThemedWindow Detail);
  static TThemedElementDetails GetElementDetails(TThemedStatus Detail);
  static TThemedElementDetails GetElementDetails(TThemedMenu Detail);
  static TThemedElementDetails GetElementDetails(TThemedToolTip Detail);
  static TThemedElementDetails GetElementDetails(TThemedProgress Detail);
  static TThemedElementDetails GetElementDetails(TThemedListView Detail);
  static TThemedElementDetails GetElementDetails(TThemedToggleSwitch Detail);

  // Draws the element into R, limited to Clip when given; leaves the DC's state as it was.
  // DPI 0: 96 (custom styles) or the theme's own DPI (system style).
  virtual void DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                           const TRect* Clip = nullptr, int DPI = 0) const = 0;
  // The element's size at DPI. The system style answers from the theme only (false without
  // visual styles: the caller then uses its own size); custom styles answer for check boxes,
  // window caption, frame and caption-button parts, scroll-bar arrows and the size box.
  virtual bool GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize,
                              TSize& Size, int DPI = 0) const = 0;
  // The part of Bounds left for content inside the element's borders. For the system button
  // of a caption: where the window's icon goes.
  virtual bool GetElementContentRect(HDC DC, const TThemedElementDetails& Details, const TRect& Bounds,
                                     TRect& ContentRect, int DPI = 0) const = 0;
  // The element's margins as widths (Left, Top, Right, Bottom); false when it has none.
  virtual bool GetElementMargins(HDC DC, const TThemedElementDetails& Details, TElementMargin Margin,
                                 TRect& Margins, int DPI = 0) const = 0;
  // The outline of the element drawn in R as a new region the caller owns (DeleteObject);
  // false (and no region) when the element is a plain rectangle. Window frames ask it of the
  // caption for the whole window.
  virtual bool GetElementRegion(const TThemedElementDetails& Details, const TRect& R, HRGN& Region) const = 0;
  // The style places the element where its own metrics say, whatever the window's state
  // (the caption's icon of a maximised window, for one).
  virtual bool IsElementFixedPosition(const TThemedElementDetails& Details) const { return false; }
  // A colour of the element as RGB. False when the style has none (the caller then uses its
  // own fallback).
  virtual bool GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor,
                               TColor& Color) const = 0;
  // The element has see-through parts, so its parent's background must be painted first.
  virtual bool HasTransparentParts(const TThemedElementDetails& Details) const = 0;
  // Draws S in R in the element's text colour (Color, unless clNone). Flags are DT_ flags;
  // with DT_CALCRECT R receives the measured rectangle.
  virtual bool DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, TRect& R, UINT Flags,
                        TColor Color = clNone, int DPI = 0) const;

  // A system colour ($FF0000nn) as this style shows it; other colours unchanged. The system
  // style leaves every colour as it is (the operating system resolves it).
  virtual TColor GetSystemColor(TColor Color) const = 0;
  virtual TColor GetStyleColor(TStyleColor Color) const = 0;
  virtual TColor GetStyleFontColor(TStyleFont Font) const = 0;
  // Any colour as RGB in this style: system colours through GetSystemColor first.
  TColor ColorToRGB(TColor Color) const;
  // Paints the background of Wnd's parent under Wnd into DC (whose origin is Wnd's client
  // origin), limited to R when given. The system style leaves it to the control and answers
  // false; custom styles paint the parent (as it paints itself, through the style).
  virtual bool DrawParentBackground(HWND Wnd, HDC DC, const TRect* R, bool OnlyIfTransparent) const = 0;

  // The user switched theme or turned visual styles on or off (WM_THEMECHANGED): the system
  // style closes every cached theme handle, so the next drawing opens fresh ones. Then
  // OnThemeChange runs.
  virtual void ThemesChanged();
  std::function<void()> OnThemeChange;
};

// ---- Custom styles --------------------------------------------------------------------

// Colours of one element family in its four states.
struct TStateColors {
  TColor Normal = clNone, Hot = clNone, Pressed = clNone, Disabled = clNone;
  // 0 normal, 1 hot, 2 pressed, 3 disabled.
  TColor At(int Index) const { return Index == 1 ? Hot : Index == 2 ? Pressed : Index == 3 ? Disabled : Normal; }
};
// The face of an element family: fill, 1-pixel border and text. clNone: not drawn (a tool
// button has no face until the pointer is on it).
struct TStyleFace {
  TStateColors Fill, Border, Text;
};

// A custom style as data: everything TFlatStyleServices needs to draw and answer for it.
// Copy a built-in one (KarvoDarkStyle, KarvoLightStyle), change what you like, give it a
// new Name and register it with TStyleManager::RegisterStyle.
struct TStyleDescription {
  String Name;
  bool Dark = false;

  // What GetSystemColor, GetStyleColor and GetStyleFontColor answer, all RGB.
  std::array<TColor, kSystemColorCount> SystemColors{};
  std::array<TColor, kStyleColorCount> StyleColors{};
  std::array<TColor, kStyleFontCount> FontColors{};

  // Surfaces.
  TColor Window = clNone;        // client areas of forms and panels
  TColor Accent = clNone;        // selection, checked boxes, switched-on tracks, focus
  TColor AccentText = clNone;    // marks and text on the accent
  TColor FocusBorder = clNone;   // border of the focused or default push button and fields

  // Element faces; the element-colour answers (ecFillColor, ecBorderColor, ecTextColor) come
  // from them.
  TStyleFace Button;          // push buttons, spin and drop-down buttons
  TStyleFace ToolButton;      // tool buttons (no face while normal)
  TStyleFace CheckBox;        // the unchecked box and the check box's label (Text)
  TStyleFace CheckBoxChecked; // a checked or mixed box (Text: the mark)
  TStyleFace Field;           // edit and combo fields (hot and focused borders)
  TStyleFace Header;          // header sections and fixed grid cells
  TStyleFace Tab;             // unselected tabs (Pressed: the selected tab)
  TStyleFace ListItem;        // list and grid items (Pressed: selected)
  TStyleFace ScrollThumb;     // scroll-bar thumbs; Fill.Normal of the arrows is the track
  TStyleFace ScrollArrow;     // scroll-bar arrow buttons (glyph in Text)
  TStyleFace SwitchTrackOff;  // toggle-switch track, off
  TStyleFace SwitchTrackOn;   // toggle-switch track, on
  TStyleFace SwitchThumb;     // toggle-switch thumb
  TStyleFace Caption;         // Normal: active caption; Disabled: inactive caption
  TStyleFace CaptionButton;   // minimise, maximise, restore, help
  TStyleFace CloseButton;     // close
  TStyleFace Frame;           // window frame edges: Normal active, Disabled inactive
  TStyleFace MenuItem;        // popup-menu and menu-bar items
  TStyleFace Menu;            // popup-menu background (Border: its frame; Text: separators)
  TStyleFace ToolTip;
  TStyleFace Progress;        // Fill.Normal the track, Fill.Hot the bar
  TStyleFace StatusBar;

  // Sizes at 96 DPI.
  int CornerRadius = 4;
  int CaptionHeight = 32;
  int SmallCaptionHeight = 26;
  int FrameWidth = 4;
  int CaptionButtonWidth = 46;
  int CheckBoxSize = 16;
  int ScrollBarSize = 17;
};

// The two built-in styles.
const TStyleDescription& KarvoDarkStyle();
const TStyleDescription& KarvoLightStyle();

// The shared painter of custom styles: flat faces with 1-pixel borders and rounded corners,
// line-drawn glyphs, all in the colours of its description. Subclass it to draw some
// elements your own way and call the inherited DrawElement for the rest.
class TFlatStyleServices : public TCustomStyleServices {
 public:
  explicit TFlatStyleServices(TStyleDescription Description) : FData(std::move(Description)) {}
  const TStyleDescription& Description() const { return FData; }

  bool Enabled() const override { return true; }
  bool IsSystemStyle() const override { return false; }
  String Name() const override { return FData.Name; }
  bool IsDark() const override { return FData.Dark; }
  void DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R, const TRect* Clip = nullptr,
                   int DPI = 0) const override;
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize, TSize& Size,
                      int DPI = 0) const override;
  bool GetElementContentRect(HDC DC, const TThemedElementDetails& Details, const TRect& Bounds,
                             TRect& ContentRect, int DPI = 0) const override;
  bool GetElementMargins(HDC DC, const TThemedElementDetails& Details, TElementMargin Margin, TRect& Margins,
                         int DPI = 0) const override;
  bool GetElementRegion(const TThemedElementDetails& Details, const TRect& R, HRGN& Region) const override;
  bool GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor,
                       TColor& Color) const override;
  bool HasTransparentParts(const TThemedElementDetails& Details) const override;
  TColor GetSystemColor(TColor Color) const override;
  TColor GetStyleColor(TStyleColor Color) const override;
  TColor GetStyleFontColor(TStyleFont Font) const override;
  bool DrawParentBackground(HWND Wnd, HDC DC, const TRect* R, bool OnlyIfTransparent) const override;

 private:
  TStyleDescription FData;
};

// The services that draw Control: the style its StyleName names, else the one its nearest
// parent's names, else the active style. Never nullptr.
TCustomStyleServices* StyleServices(const TObject* Control = nullptr);
// A custom style (enabled) draws Control.
bool IsCustomStyleActive(const TObject* Control);

// Turns visual styles off for this program's controls for one scope (frames keep theirs) and
// puts them back as they were afterwards; for tests and pictures of the classic look.
class TClassicControlsScope {
 public:
  TClassicControlsScope();
  ~TClassicControlsScope();
  TClassicControlsScope(const TClassicControlsScope&) = delete;
  TClassicControlsScope& operator=(const TClassicControlsScope&) = delete;

 private:
  DWORD FSaved;
};

// ---- Style hooks ----------------------------------------------------------------------

// The base of hooks that style one window while a custom style draws it. The engine makes
// one per window, hands it every message of the window before the window's own procedure,
// and frees it when the window goes or the style no longer applies.
class TStyleHook : public TObject {
  KA_CLASS(TStyleHook, TObject)
 public:
  // True when the hook handled Message (set Message.Result): the window's own procedure is
  // then not called.
  virtual bool HandleMessage(TMessage& Message) { return false; }
};

// A window of the system's own classes (popup menus "#32768", tooltips), as the engine hands
// it to the factory of a system-window hook. It lives only during the factory call.
class TSysWindow : public TObject {
  KA_CLASS(TSysWindow, TObject)
 public:
  explicit TSysWindow(HWND AHandle) : FHandle(AHandle) {}
  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle;
};

// Makes the object that styles one window, identified by its Name so it can be registered
// and unregistered. The factory gets the framework control (a TWinControl) or, for windows
// of system classes, a TSysWindow; it may answer nullptr (no hook for that one). Objects
// that are TStyleHooks get the window's messages; others are only kept while it lives.
class TStyleHookClass {
 public:
  using TFactory = std::function<TObject*(TObject* Control)>;
  TStyleHookClass() = default;
  TStyleHookClass(const String& Name, TFactory Factory) : FName(Name), FFactory(std::move(Factory)) {}
  // The hook class THook, made with Construct<THook>(control cast to TControlClass).
  template <class THook, class TControlClass = TObject>
  static TStyleHookClass Of() {
    return TStyleHookClass(THook::StaticClassName(), [](TObject* Control) -> TObject* {
      return Construct<THook>(static_cast<TControlClass*>(Control));
    });
  }

  const String& Name() const { return FName; }
  explicit operator bool() const { return static_cast<bool>(FFactory); }
  TObject* Create(TObject* Control) const { return FFactory ? FFactory(Control) : nullptr; }
  bool operator==(const TStyleHookClass& Other) const { return FName == Other.FName; }

 private:
  String FName;
  TFactory FFactory;
};

class TWinControl;

// Style hooks by control class name ("TForm1") or window class name ("#32768",
// "tooltips_class32"); names compare without case. Registering a hook twice for the same
// name fails with EInvalidOperation; the latest registration for a name is the one found.
//
// Attaching: a framework window gets the hook of its control's class name when its window is
// made while a custom style draws the control (TStyleManager::SetStyle and StyleName changes
// re-create forms whose hook comes or goes, and attach or free the hooks of other controls in
// place). Windows of system classes made on the program's thread get theirs while the
// application's style is custom (those that exist when it becomes custom, too).
class TStyleEngine {
 public:
  void RegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass);
  // False when that hook was not registered for ClassName.
  bool UnRegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass);
  // The hook for ClassName; an empty TStyleHookClass when none.
  TStyleHookClass FindStyleHook(const String& ClassName) const;
  // The hook object attached to a window now (nullptr: none).
  TObject* AttachedHook(HWND Wnd) const;

  // Called by TWinControl::WndProc first: hook dispatch and the engine's own part (window
  // background through the style, hook upkeep, dark captions, following the system's app
  // mode). True when the message was handled.
  bool HandleMessage(TWinControl* Control, TMessage& Message);

 private:
  friend class TStyleManager;
  mutable std::mutex FLock;
  std::map<String, std::vector<TStyleHookClass>> FHooks;
};

// The program's styles: the system style ("Windows") and custom styles.
class TStyleManager {
 public:
  TStyleManager() = delete;

  static TCustomStyleServices* ActiveStyle();
  static TCustomStyleServices* SystemStyle();
  // The application's active style is a custom one.
  static bool IsCustomStyleActive();
  // "Windows" first, then every registered style or style resource name in order of
  // registration ("Karvo Dark" and "Karvo Light" are registered at start).
  static std::vector<String> StyleNames();
  // Lists Name among the styles without a style behind it (a style file not loaded yet): it
  // is offered but cannot be activated. No duplicates; names compare without case.
  static void RegisterStyleResource(const String& Name);
  // Registers a custom style of one's own under its Name (which must be new and not empty,
  // else EInvalidOperation); the manager owns it for the rest of the program. A name listed
  // by RegisterStyleResource gets its style this way.
  static TCustomStyleServices* RegisterStyle(std::unique_ptr<TCustomStyleServices> Style);
  static TCustomStyleServices* RegisterStyle(const TStyleDescription& Description);
  // The registered style of that name; nullptr when there is none (or only a name).
  static TCustomStyleServices* Style(const String& Name);
  // Activates a style by name and restyles the application: every control gets
  // CM_STYLECHANGED, hooks come and go (forms that gain or lose one are re-created), dark
  // captions follow, and every window repaints. SetStyle fails with EInvalidOperation where
  // TrySetStyle answers false (an unknown name, or one without a style).
  static void SetStyle(const String& Name);
  static bool TrySetStyle(const String& Name);

  // Following the system's app mode: while on, the application shows DarkStyle when the
  // system asks apps to be dark and LightStyle otherwise, now and at every change of the
  // setting (WM_SETTINGCHANGE "ImmersiveColorSet" reaching any form).
  static void SetFollowSystemAppMode(bool Follow, const String& DarkStyle = L"Karvo Dark",
                                     const String& LightStyle = L"Karvo Light");
  static bool FollowSystemAppMode();
  // Where the app mode is read (the user's personalisation setting by default); tests set
  // their own, nullptr puts the default back.
  static void SetAppModeSource(std::function<bool()> SystemUsesDarkMode);
  static bool SystemUsesDarkMode();

  // Called for a top-level window whenever the darkness of the style drawing it changes
  // (Dark true when it became dark), and when a window is made dark: the drawing utilities
  // set it to give the window the compositor's dark caption.
  using TDarkFrameHandler = void (*)(HWND Wnd, bool Dark);
  static void SetDarkFrameHandler(TDarkFrameHandler Handler);
  static TDarkFrameHandler DarkFrameHandler();

  static TStyleEngine& Engine();
};
