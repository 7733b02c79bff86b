// The system style: how controls ask for the look of standard elements (buttons, check
// boxes, tabs, arrows, menus ...) and have them drawn. With visual styles on, elements come
// from uxtheme; with them off (classic Windows, and usually Wine) they are drawn with the
// classic frame-control and edge primitives over system colours, so every element always
// draws something sensible.
//
// Only the system style exists in this product. The questions about custom styles are still
// answered (always "no"), so controls can be written the way they would be with them.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/Classes.h"

// ---- Elements -------------------------------------------------------------------------

// The element kind decides the uxtheme window class an element is drawn from.
enum TThemedElement {
  teButton, teComboBox, teEdit, teHeader, teListView, teMenu, teProgress, teScrollBar,
  teSpin, teStatus, teTab, teToolBar, teToolTip, teWindow
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
// Fixed cells are header items; a selected cell is a selected list item.
enum TThemedGrid { tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgCellSelected };
enum TThemedTab { ttTabItemNormal, ttTabItemHot, ttTabItemSelected, ttTabItemDisabled, ttPane };
// Up-down arrows. "Horz" arrows point right (up) and left (down).
enum TThemedSpin {
  tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
  tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
  tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
  tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled
};
enum TThemedScrollBar {
  tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
  tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
  tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
  tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled
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
// The caption elements; the window itself is GetElementDetails(teWindow).
enum TThemedWindow { twCaptionActive, twCaptionInactive };
enum TThemedStatus { tsStatusRoot, tsPane, tsGripper };
enum TThemedMenu {
  tmPopupBackground, tmPopupItemNormal, tmPopupItemHot, tmPopupItemDisabled, tmPopupSeparator
};
// The tool tip's background.
enum TThemedToolTip { tttStandardNormal };
enum TThemedProgress { tpBar, tpBarVert, tpChunk, tpChunkVert, tpFill };
enum TThemedListView {
  tlListItemNormal, tlListItemHot, tlListItemSelected, tlListItemSelectedNotFocus
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

// ---- Services -------------------------------------------------------------------------

// Draws and measures elements of one style. There is one object, for the system style; it
// lives for the whole program (it is not a framework object, so it is not counted among
// the objects alive at exit).
class TCustomStyleServices {
 public:
  TCustomStyleServices();
  ~TCustomStyleServices();
  TCustomStyleServices(const TCustomStyleServices&) = delete;
  TCustomStyleServices& operator=(const TCustomStyleServices&) = delete;

  // Visual styles are on for this program's controls (IsThemeActive && IsAppThemed, and
  // the program did not turn them off for controls with SetThemeAppProperties).
  bool Enabled() const;
  bool IsSystemStyle() const { return true; }
  String Name() const { return L"Windows"; }

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

  // Draws the element into R, limited to Clip when given. DPI 0: the theme's own DPI.
  // The window (teWindow) is a clBtnFace fill with or without visual styles.
  void DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                   const TRect* Clip = nullptr, int DPI = 0) const;
  // The element's size from the theme; false without visual styles (the caller then uses
  // its own size).
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize,
                      TSize& Size, int DPI = 0) const;
  // The part of Bounds left for content inside the element's borders.
  bool GetElementContentRect(HDC DC, const TThemedElementDetails& Details, const TRect& Bounds,
                             TRect& ContentRect, int DPI = 0) const;
  // A colour of the element as RGB. The theme answers when visual styles are on; otherwise,
  // or when the theme has no such colour, the system colour classic drawing uses. False
  // when neither has one (e.g. the gradient colours of a push button).
  bool GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor,
                       TColor& Color) const;
  // The element has see-through parts, so its parent's background must be painted first.
  bool HasTransparentParts(const TThemedElementDetails& Details) const;
  // Draws S in R in the element's text colour (Color, unless clNone). Flags are DT_ flags;
  // with DT_CALCRECT R receives the measured rectangle.
  bool DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, TRect& R,
                UINT Flags, TColor Color = clNone, int DPI = 0) const;

  // The system style leaves colours as they are.
  TColor GetSystemColor(TColor Color) const { return Color; }
  TColor GetStyleColor(TStyleColor Color) const;
  TColor GetStyleFontColor(TStyleFont Font) const;
  // Only custom styles paint a parent's background for a child; the system style leaves it
  // to the control and answers false.
  bool DrawParentBackground(HWND Wnd, HDC DC, const TRect* R, bool OnlyIfTransparent) const {
    return false;
  }

  // The user switched theme or turned visual styles on or off (WM_THEMECHANGED): closes
  // every cached theme handle, so the next drawing opens fresh ones, then runs
  // OnThemeChange.
  void ThemesChanged();
  std::function<void()> OnThemeChange;

 private:
  // The theme of an element's class at a DPI, opened on first use and cached until themes
  // change; nullptr when visual styles are off or the class has no theme.
  HTHEME Theme(TThemedElement Element, int DPI) const;
  // The theme for drawing Details: nullptr also when the theme does not define the part.
  HTHEME PartTheme(const TThemedElementDetails& Details, int DPI) const;
  void CloseThemes() const;

  mutable std::mutex FLock;
  mutable std::map<std::pair<TThemedElement, int>, HTHEME> FThemes;
};

// The services that draw Control (the one system style for every control).
TCustomStyleServices* StyleServices(const TObject* Control = nullptr);
// A custom style draws Control. Never, in this product.
bool IsCustomStyleActive(const TObject* Control);

// Turns visual styles off for this program's controls for one scope (frames keep theirs) and
// puts them back as they were afterwards; for tests and pictures of the classic look.
class TClassicControlsScope {
 public:
  TClassicControlsScope() : FSaved(::GetThemeAppProperties()) {
    ::SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
    StyleServices()->ThemesChanged();
  }
  ~TClassicControlsScope() {
    ::SetThemeAppProperties(FSaved);
    StyleServices()->ThemesChanged();
  }
  TClassicControlsScope(const TClassicControlsScope&) = delete;
  TClassicControlsScope& operator=(const TClassicControlsScope&) = delete;

 private:
  DWORD FSaved;
};

// ---- Style manager --------------------------------------------------------------------

// Makes the object that styles one control (for custom styles), identified by its Name so
// it can be registered and unregistered.
class TStyleHookClass {
 public:
  using TFactory = std::function<TObject*(TObject* Control)>;
  TStyleHookClass() = default;
  TStyleHookClass(const String& Name, TFactory Factory)
      : FName(Name), FFactory(std::move(Factory)) {}
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

// Style hooks by control class name ("TForm1") or window class name ("#32768",
// "tooltips_class32"); names compare without case. Registering a hook twice for the same
// name fails with EInvalidOperation; the latest registration for a name is the one found.
class TStyleEngine {
 public:
  void RegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass);
  // False when that hook was not registered for ClassName.
  bool UnRegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass);
  // The hook for ClassName; an empty TStyleHookClass when none.
  TStyleHookClass FindStyleHook(const String& ClassName) const;

 private:
  mutable std::mutex FLock;
  std::map<String, std::vector<TStyleHookClass>> FHooks;
};

// The program's styles. Only the system style ("Windows") can be active; other names may be
// registered (they are listed) but not activated.
class TStyleManager {
 public:
  TStyleManager() = delete;

  static TCustomStyleServices* ActiveStyle();
  static TCustomStyleServices* SystemStyle();
  static bool IsCustomStyleActive() { return false; }
  // "Windows" first, then the registered names in order of registration.
  static std::vector<String> StyleNames();
  // Lists Name among the styles (no duplicates; names compare without case).
  static void RegisterStyleResource(const String& Name);
  // Activates a style by name: only "Windows" succeeds. SetStyle fails with
  // EInvalidOperation where TrySetStyle answers false.
  static void SetStyle(const String& Name);
  static bool TrySetStyle(const String& Name);
  static TStyleEngine& Engine();
};
