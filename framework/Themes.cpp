#include "framework/Themes.h"

#include <iterator>

#include "framework/StyleInternal.h"

namespace {

// ---- Element tables -------------------------------------------------------------------

// uxtheme class of each element kind, in TThemedElement order. The list view prefers the
// Explorer look where the system has it.
const wchar_t* const kThemeClasses[] = {
    L"BUTTON", L"COMBOBOX", L"EDIT", L"HEADER", L"Explorer::ListView;LISTVIEW", L"MENU",
    L"PROGRESS", L"SCROLLBAR", L"SPIN", L"STATUS", L"TAB", L"TOOLBAR", L"TOOLTIP", L"WINDOW",
    // No system class draws a toggle switch: opening it fails and it is filled classically.
    L"KA::NOSWITCH"};
static_assert(std::size(kThemeClasses) == teToggleSwitch + 1);

struct TPartState {
  int Part, State;
};

constexpr TPartState kButtons[] = {
    {BP_PUSHBUTTON, PBS_NORMAL}, {BP_PUSHBUTTON, PBS_HOT}, {BP_PUSHBUTTON, PBS_PRESSED},
    {BP_PUSHBUTTON, PBS_DISABLED}, {BP_PUSHBUTTON, PBS_DEFAULTED},
    {BP_CHECKBOX, CBS_UNCHECKEDNORMAL}, {BP_CHECKBOX, CBS_UNCHECKEDHOT},
    {BP_CHECKBOX, CBS_UNCHECKEDPRESSED}, {BP_CHECKBOX, CBS_UNCHECKEDDISABLED},
    {BP_CHECKBOX, CBS_CHECKEDNORMAL}, {BP_CHECKBOX, CBS_CHECKEDHOT},
    {BP_CHECKBOX, CBS_CHECKEDPRESSED}, {BP_CHECKBOX, CBS_CHECKEDDISABLED},
    {BP_CHECKBOX, CBS_MIXEDNORMAL}, {BP_CHECKBOX, CBS_MIXEDHOT},
    {BP_CHECKBOX, CBS_MIXEDPRESSED}, {BP_CHECKBOX, CBS_MIXEDDISABLED}};
static_assert(std::size(kButtons) == tbCheckBoxMixedDisabled + 1);

constexpr TPartState kToolBar[] = {
    {TP_BUTTON, TS_NORMAL}, {TP_BUTTON, TS_HOT}, {TP_BUTTON, TS_PRESSED}, {TP_BUTTON, TS_DISABLED}};
static_assert(std::size(kToolBar) == ttbButtonDisabled + 1);

constexpr TPartState kTabs[] = {
    {TABP_TABITEM, TIS_NORMAL}, {TABP_TABITEM, TIS_HOT}, {TABP_TABITEM, TIS_SELECTED},
    {TABP_TABITEM, TIS_DISABLED}, {TABP_PANE, 0}};
static_assert(std::size(kTabs) == ttPane + 1);

constexpr TPartState kCombo[] = {
    {CP_DROPDOWNBUTTON, CBXS_NORMAL}, {CP_DROPDOWNBUTTON, CBXS_HOT},
    {CP_DROPDOWNBUTTON, CBXS_PRESSED}, {CP_DROPDOWNBUTTON, CBXS_DISABLED},
    {CP_DROPDOWNBUTTONRIGHT, CBXSR_NORMAL}, {CP_DROPDOWNBUTTONRIGHT, CBXSR_HOT},
    {CP_DROPDOWNBUTTONRIGHT, CBXSR_PRESSED}, {CP_DROPDOWNBUTTONRIGHT, CBXSR_DISABLED},
    {CP_BORDER, CBB_NORMAL}, {CP_BORDER, CBB_HOT}, {CP_BORDER, CBB_FOCUSED},
    {CP_BORDER, CBB_DISABLED}};
static_assert(std::size(kCombo) == tcBorderDisabled + 1);

constexpr TPartState kEdit[] = {
    {EP_EDITTEXT, ETS_NORMAL}, {EP_EDITTEXT, ETS_DISABLED}, {EP_EDITTEXT, ETS_READONLY},
    {EP_EDITBORDER_NOSCROLL, EPSN_NORMAL}, {EP_EDITBORDER_NOSCROLL, EPSN_HOT},
    {EP_EDITBORDER_NOSCROLL, EPSN_FOCUSED}, {EP_EDITBORDER_NOSCROLL, EPSN_DISABLED}};
static_assert(std::size(kEdit) == teEditBorderNoScrollDisabled + 1);

constexpr TPartState kStatus[] = {{0, 0}, {SP_PANE, 0}, {SP_GRIPPER, 0}};
static_assert(std::size(kStatus) == tsGripper + 1);

constexpr TPartState kMenu[] = {
    {MENU_POPUPBACKGROUND, 0}, {MENU_POPUPITEM, MPI_NORMAL}, {MENU_POPUPITEM, MPI_HOT},
    {MENU_POPUPITEM, MPI_DISABLED}, {MENU_POPUPSEPARATOR, 0}, {MENU_POPUPGUTTER, 0},
    {MENU_POPUPCHECK, MC_CHECKMARKNORMAL}, {MENU_POPUPCHECK, MC_CHECKMARKDISABLED}, {MENU_POPUPCHECK, MC_BULLETNORMAL},
    {MENU_POPUPCHECKBACKGROUND, MCB_NORMAL}, {MENU_POPUPSUBMENU, MSM_NORMAL}, {MENU_POPUPSUBMENU, MSM_DISABLED},
    {MENU_BARBACKGROUND, MB_ACTIVE}, {MENU_BARBACKGROUND, MB_INACTIVE}, {MENU_BARITEM, MBI_NORMAL},
    {MENU_BARITEM, MBI_HOT}, {MENU_BARITEM, MBI_PUSHED}, {MENU_BARITEM, MBI_DISABLED}};
static_assert(std::size(kMenu) == tmMenuBarItemDisabled + 1);

// Window parts: the caption and frame pairs are active and inactive; the buttons come in
// fours.
constexpr TPartState kWindowFrame[] = {
    {WP_CAPTION, CS_ACTIVE}, {WP_CAPTION, CS_INACTIVE}, {WP_SMALLCAPTION, CS_ACTIVE}, {WP_SMALLCAPTION, CS_INACTIVE},
    {WP_FRAMELEFT, FS_ACTIVE}, {WP_FRAMELEFT, FS_INACTIVE}, {WP_FRAMERIGHT, FS_ACTIVE},
    {WP_FRAMERIGHT, FS_INACTIVE}, {WP_FRAMEBOTTOM, FS_ACTIVE}, {WP_FRAMEBOTTOM, FS_INACTIVE},
    {WP_SMALLFRAMELEFT, FS_ACTIVE}, {WP_SMALLFRAMELEFT, FS_INACTIVE}, {WP_SMALLFRAMERIGHT, FS_ACTIVE},
    {WP_SMALLFRAMERIGHT, FS_INACTIVE}, {WP_SMALLFRAMEBOTTOM, FS_ACTIVE}, {WP_SMALLFRAMEBOTTOM, FS_INACTIVE}};
constexpr int kWindowButtonParts[] = {WP_SYSBUTTON,        WP_MINBUTTON,     WP_MAXBUTTON, WP_CLOSEBUTTON,
                                      WP_SMALLCLOSEBUTTON, WP_RESTOREBUTTON, WP_HELPBUTTON};
static_assert(std::size(kWindowFrame) == twSysButtonNormal);
static_assert(twSysButtonNormal + 4 * std::size(kWindowButtonParts) == twHelpButtonDisabled + 1);

constexpr TPartState kScrollExtras[] = {
    {SBP_LOWERTRACKHORZ, SCRBS_NORMAL}, {SBP_UPPERTRACKHORZ, SCRBS_NORMAL}, {SBP_LOWERTRACKVERT, SCRBS_NORMAL},
    {SBP_UPPERTRACKVERT, SCRBS_NORMAL}, {SBP_SIZEBOX, SZB_RIGHTALIGN}};
static_assert(tsLowerTrackHorzNormal + std::size(kScrollExtras) == tsSizeBoxRightAlign + 1);

constexpr TPartState kProgress[] = {
    {PP_BAR, 0}, {PP_BARVERT, 0}, {PP_CHUNK, 0}, {PP_CHUNKVERT, 0}, {PP_FILL, PBFS_NORMAL}};
static_assert(std::size(kProgress) == tpFill + 1);

constexpr TPartState kListView[] = {
    {LVP_LISTITEM, LISS_NORMAL}, {LVP_LISTITEM, LISS_HOT}, {LVP_LISTITEM, LISS_SELECTED},
    {LVP_LISTITEM, LISS_SELECTEDNOTFOCUS}};
static_assert(std::size(kListView) == tlListItemSelectedNotFocus + 1);

template <size_t N>
TThemedElementDetails FromTable(TThemedElement Element, const TPartState (&Table)[N], int Index) {
  const TPartState& ps = Table[Index];
  return TThemedElementDetails{Element, ps.Part, ps.State};
}

// Families of four states in the order normal (0), hot, pressed, disabled: the position in the
// group of four (0..3) of a 1-based state id.
constexpr int kHot = 1, kPressed = 2, kDisabled = 3;
int SubState(int State) { return (State - 1) % 4; }

// ---- Classic drawing ------------------------------------------------------------------

// Restores the DC's clip region, colours and modes on every way out.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(::SaveDC(DC)) {}
  ~TSavedDC() {
    if (FSaved != 0) ::RestoreDC(FDC, FSaved);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// System colour brushes belong to the system: they are never deleted.
void Fill(HDC DC, const TRect& R, int SysColor) { ::FillRect(DC, R.AsRECT(), ::GetSysColorBrush(SysColor)); }
void Frame(HDC DC, const TRect& R, int SysColor) { ::FrameRect(DC, R.AsRECT(), ::GetSysColorBrush(SysColor)); }
void Edge(HDC DC, TRect R, UINT EdgeKind, UINT Flags) { ::DrawEdge(DC, R.AsRECT(), EdgeKind, Flags); }
void FrameControl(HDC DC, TRect R, UINT Type, UINT State) { ::DrawFrameControl(DC, R.AsRECT(), Type, State); }

UINT SubStateFlags(int Sub) {
  switch (Sub) {
    case kHot: return DFCS_HOT;
    case kPressed: return DFCS_PUSHED;
    case kDisabled: return DFCS_INACTIVE;
    default: return 0;
  }
}

// The colour that fills an element's root (part 0) and plain areas.
int RootFill(TThemedElement Element) {
  switch (Element) {
    case teComboBox: case teEdit: case teListView: return COLOR_WINDOW;
    case teMenu: return COLOR_MENU;
    case teToolTip: return COLOR_INFOBK;
    default: return COLOR_BTNFACE;
  }
}

// A sunken white field, as edit and combo boxes have.
void DrawField(HDC DC, const TRect& R, bool Disabled) {
  TRect inner = R;
  ::DrawEdge(DC, inner.AsRECT(), EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  Fill(DC, inner, Disabled ? COLOR_BTNFACE : COLOR_WINDOW);
}

void DrawClassicButton(HDC DC, const TRect& R, int Part, int State) {
  if (Part == BP_PUSHBUTTON) {
    TRect face = R;
    UINT flags = DFCS_BUTTONPUSH;
    if (State == PBS_DEFAULTED) {
      Frame(DC, R, COLOR_WINDOWFRAME);
      face.Inflate(-1, -1);
    } else {
      flags |= SubStateFlags(State - 1);
    }
    FrameControl(DC, face, DFC_BUTTON, flags);
  } else if (Part == BP_CHECKBOX) {
    const int kind = (State - 1) / 4;  // unchecked, checked, mixed
    UINT flags = kind == 2 ? (DFCS_BUTTON3STATE | DFCS_CHECKED) : DFCS_BUTTONCHECK;
    if (kind == 1) flags |= DFCS_CHECKED;
    FrameControl(DC, R, DFC_BUTTON, flags | SubStateFlags(SubState(State)));
  } else {
    Fill(DC, R, COLOR_BTNFACE);
  }
}

void DrawClassicArrow(HDC DC, const TRect& R, TThemedElement Element, int Part, int State) {
  UINT direction = DFCS_SCROLLUP;
  if (Element == teScrollBar) {
    static const UINT kDirections[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT,
                                       DFCS_SCROLLRIGHT};
    direction = kDirections[std::clamp((State - 1) / 4, 0, 3)];
  } else if (Part == SPNP_DOWN) {
    direction = DFCS_SCROLLDOWN;
  } else if (Part == SPNP_UPHORZ) {
    direction = DFCS_SCROLLRIGHT;
  } else if (Part == SPNP_DOWNHORZ) {
    direction = DFCS_SCROLLLEFT;
  }
  FrameControl(DC, R, DFC_SCROLL, direction | SubStateFlags(SubState(State)));
}

void DrawClassicMenu(HDC DC, const TRect& R, int Part, int State) {
  if ((Part == MENU_POPUPITEM && State == MPI_HOT) || (Part == MENU_BARITEM && State == MBI_HOT)) {
    Fill(DC, R, COLOR_HIGHLIGHT);
  } else if (Part == MENU_POPUPCHECK) {
    FrameControl(DC, R, DFC_MENU, State == MC_BULLETNORMAL ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  } else if (Part == MENU_POPUPSUBMENU) {
    FrameControl(DC, R, DFC_MENU, DFCS_MENUARROW);
  } else if (Part == MENU_BARBACKGROUND || Part == MENU_BARITEM) {
    Fill(DC, R, COLOR_MENUBAR);
  } else if (Part == MENU_POPUPSEPARATOR) {
    Fill(DC, R, COLOR_MENU);
    const int mid = (R.Top + R.Bottom) / 2;
    Edge(DC, TRect(R.Left, mid - 1, R.Right, mid + 1), EDGE_ETCHED, BF_TOP);
  } else {
    Fill(DC, R, COLOR_MENU);
  }
}

// Caption, frame edges and caption buttons as classic windows draw them.
void DrawClassicWindowPart(HDC DC, const TRect& R, const TThemedElementDetails& D) {
  const bool inactive = D.State == 2;
  switch (D.Part) {
    case WP_CAPTION: case WP_SMALLCAPTION:
      Fill(DC, R, inactive ? COLOR_INACTIVECAPTION : COLOR_ACTIVECAPTION);
      return;
    case WP_FRAMELEFT: case WP_FRAMERIGHT: case WP_FRAMEBOTTOM:
    case WP_SMALLFRAMELEFT: case WP_SMALLFRAMERIGHT: case WP_SMALLFRAMEBOTTOM:
      Fill(DC, R, inactive ? COLOR_INACTIVEBORDER : COLOR_ACTIVEBORDER);
      return;
    case WP_SYSBUTTON: return;  // the icon's place
    default: break;
  }
  UINT kind = DFCS_CAPTIONCLOSE;
  if (D.Part == WP_MINBUTTON) kind = DFCS_CAPTIONMIN;
  if (D.Part == WP_MAXBUTTON) kind = DFCS_CAPTIONMAX;
  if (D.Part == WP_RESTOREBUTTON) kind = DFCS_CAPTIONRESTORE;
  if (D.Part == WP_HELPBUTTON) kind = DFCS_CAPTIONHELP;
  FrameControl(DC, R, DFC_CAPTION, kind | SubStateFlags(SubState(D.State)));
}

// Flat areas with an optional 3D edge: tool bar buttons, header items, tabs, status panes,
// progress bars, captions, list items, tool tips.
void DrawClassicPanel(HDC DC, const TRect& R, const TThemedElementDetails& D) {
  switch (D.Element) {
    case teToolBar:
      Fill(DC, R, COLOR_BTNFACE);
      if (D.Part == TP_BUTTON && D.State == TS_HOT) Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
      if (D.Part == TP_BUTTON && D.State == TS_PRESSED) Edge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      break;
    case teHeader:
      Fill(DC, R, COLOR_BTNFACE);
      Edge(DC, R, D.State == HIS_PRESSED ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
      break;
    case teTab:
      Fill(DC, R, COLOR_BTNFACE);
      if (D.Part == TABP_TABITEM) Edge(DC, R, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
      if (D.Part == TABP_PANE) Edge(DC, R, EDGE_RAISED, BF_RECT);
      break;
    case teStatus:
      if (D.Part == SP_GRIPPER) {
        FrameControl(DC, R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        break;
      }
      Fill(DC, R, COLOR_BTNFACE);
      if (D.Part == SP_PANE) Edge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      break;
    case teProgress:
      if (D.Part == PP_CHUNK || D.Part == PP_CHUNKVERT || D.Part == PP_FILL || D.Part == PP_FILLVERT) {
        Fill(DC, R, COLOR_HIGHLIGHT);
        break;
      }
      Fill(DC, R, COLOR_BTNFACE);
      Edge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      break;
    case teWindow: DrawClassicWindowPart(DC, R, D); break;
    case teListView:
      if (D.Part == LVP_LISTITEM && (D.State == LISS_SELECTED || D.State == LISS_HOTSELECTED))
        Fill(DC, R, COLOR_HIGHLIGHT);
      else if (D.Part == LVP_LISTITEM && D.State == LISS_SELECTEDNOTFOCUS)
        Fill(DC, R, COLOR_BTNFACE);
      else
        Fill(DC, R, COLOR_WINDOW);
      break;
    case teToolTip:
      Fill(DC, R, COLOR_INFOBK);
      Frame(DC, R, COLOR_WINDOWFRAME);
      break;
    default:
      Fill(DC, R, RootFill(D.Element));
      break;
  }
}

void DrawClassic(HDC DC, const TThemedElementDetails& D, const TRect& R) {
  if (D.Part == 0) {
    Fill(DC, R, RootFill(D.Element));
    return;
  }
  switch (D.Element) {
    case teButton: DrawClassicButton(DC, R, D.Part, D.State); break;
    case teSpin: DrawClassicArrow(DC, R, D.Element, D.Part, D.State); break;
    case teScrollBar:
      if (D.Part == SBP_ARROWBTN)
        DrawClassicArrow(DC, R, D.Element, D.Part, D.State);
      else if (D.Part == SBP_THUMBBTNHORZ || D.Part == SBP_THUMBBTNVERT)
        FrameControl(DC, R, DFC_BUTTON, DFCS_BUTTONPUSH);
      else if (D.Part == SBP_SIZEBOX)
        FrameControl(DC, R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
      else
        Fill(DC, R, COLOR_SCROLLBAR);
      break;
    case teComboBox:
      if (D.Part == CP_BORDER)
        DrawField(DC, R, D.State == CBB_DISABLED);
      else
        FrameControl(DC, R, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | SubStateFlags(SubState(D.State)));
      break;
    case teEdit:
      if (D.Part == EP_EDITBORDER_NOSCROLL)
        DrawField(DC, R, D.State == EPSN_DISABLED);
      else
        Fill(DC, R, D.State == ETS_NORMAL ? COLOR_WINDOW : COLOR_BTNFACE);
      break;
    case teMenu: DrawClassicMenu(DC, R, D.Part, D.State); break;
    default: DrawClassicPanel(DC, R, D); break;
  }
}

// Width of the classic border around an element's content.
int ClassicBorder(const TThemedElementDetails& D) {
  if (D.Part == 0) return 0;
  switch (D.Element) {
    case teButton: return D.Part == BP_PUSHBUTTON ? (D.State == PBS_DEFAULTED ? 3 : 2) : 0;
    case teHeader: case teTab: return 2;
    case teComboBox: return D.Part == CP_BORDER ? 2 : 0;
    case teEdit: return D.Part == EP_EDITBORDER_NOSCROLL ? 2 : 0;
    case teToolBar: case teToolTip: return 1;
    case teStatus: return D.Part == SP_PANE ? 1 : 0;
    case teProgress: return D.Part == PP_BAR || D.Part == PP_BARVERT ? 1 : 0;
    default: return 0;
  }
}

// ---- Classic colours ------------------------------------------------------------------

bool IsDisabled(const TThemedElementDetails& D) {
  switch (D.Element) {
    case teButton:
      return D.Part == BP_PUSHBUTTON ? D.State == PBS_DISABLED
                                     : D.Part == BP_CHECKBOX && SubState(D.State) == kDisabled;
    case teScrollBar: return SubState(D.State) == kDisabled;
    case teSpin: case teToolBar: case teTab: case teComboBox: return D.State == 4;
    case teEdit: return D.State == ETS_DISABLED;  // == EPSN_DISABLED
    case teMenu: return D.Part == MENU_POPUPITEM && (D.State == MPI_DISABLED || D.State == MPI_DISABLEDHOT);
    default: return false;
  }
}

// The system colours classic drawing gives an element (-1: none).
struct TClassicColors {
  int Text = COLOR_BTNTEXT, Fill = COLOR_BTNFACE, Border = COLOR_BTNSHADOW, Gradient1 = -1,
      Gradient2 = -1;
};

TClassicColors ClassicColors(const TThemedElementDetails& D) {
  TClassicColors c;
  c.Fill = RootFill(D.Element);
  switch (D.Element) {
    case teComboBox: case teEdit: c.Text = COLOR_WINDOWTEXT; break;
    case teListView:
      c.Text = COLOR_WINDOWTEXT;
      if (D.State == LISS_SELECTED || D.State == LISS_HOTSELECTED) {
        c.Text = COLOR_HIGHLIGHTTEXT;
        c.Fill = COLOR_HIGHLIGHT;
      } else if (D.State == LISS_SELECTEDNOTFOCUS) {
        c.Fill = COLOR_BTNFACE;
      }
      break;
    case teMenu:
      c.Text = COLOR_MENUTEXT;
      if (D.Part == MENU_POPUPITEM && D.State == MPI_HOT) {
        c.Text = COLOR_HIGHLIGHTTEXT;
        c.Fill = COLOR_HIGHLIGHT;
      }
      break;
    case teToolTip: c.Text = COLOR_INFOTEXT; c.Border = COLOR_WINDOWFRAME; break;
    case teProgress:
      if (D.Part == PP_CHUNK || D.Part == PP_CHUNKVERT || D.Part == PP_FILL) c.Fill = COLOR_HIGHLIGHT;
      break;
    case teButton:
      if (D.Part == BP_CHECKBOX) c.Fill = COLOR_WINDOW;
      if (D.Part == BP_PUSHBUTTON) c.Border = COLOR_3DDKSHADOW;
      break;
    case teWindow:
      if (D.Part != WP_CAPTION) break;
      if (D.State == CS_INACTIVE)
        c = {COLOR_INACTIVECAPTIONTEXT, COLOR_INACTIVECAPTION, COLOR_INACTIVEBORDER,
             COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION};
      else
        c = {COLOR_CAPTIONTEXT, COLOR_ACTIVECAPTION, COLOR_ACTIVEBORDER, COLOR_ACTIVECAPTION,
             COLOR_GRADIENTACTIVECAPTION};
      break;
    default: break;
  }
  if (IsDisabled(D)) c.Text = COLOR_GRAYTEXT;
  return c;
}

int ClassicColor(const TThemedElementDetails& D, TElementColor Which) {
  const TClassicColors c = ClassicColors(D);
  switch (Which) {
    case ecTextColor: return c.Text;
    case ecBorderColor: return c.Border;
    case ecFillColor: return c.Fill;
    case ecGradientColor1: return c.Gradient1;
    case ecGradientColor2: return c.Gradient2;
  }
  return -1;
}

int ThemeColorProperty(TElementColor Which) {
  switch (Which) {
    case ecTextColor: return TMT_TEXTCOLOR;
    case ecBorderColor: return TMT_BORDERCOLOR;
    case ecGradientColor1: return TMT_GRADIENTCOLOR1;
    case ecGradientColor2: return TMT_GRADIENTCOLOR2;
    case ecFillColor: return TMT_FILLCOLOR;
  }
  return TMT_TEXTCOLOR;
}

TColor SysColor(int Index) { return ColorToRGB(MakeColor(0xFF000000u | static_cast<uint32_t>(Index))); }

// ---- Theme handles --------------------------------------------------------------------

using TOpenThemeDataForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);

// Windows 10 1703 and later open a theme at a given DPI; older systems only at the
// system DPI.
TOpenThemeDataForDpi OpenThemeDataForDpiProc() {
  static const TOpenThemeDataForDpi proc = [] {
    HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll");
    return uxtheme == nullptr ? nullptr
                              : reinterpret_cast<TOpenThemeDataForDpi>(
                                    ::GetProcAddress(uxtheme, "OpenThemeDataForDpi"));
  }();
  return proc;
}

HTHEME OpenTheme(const wchar_t* ClassList, int DPI) {
  TOpenThemeDataForDpi forDpi = OpenThemeDataForDpiProc();
  if (DPI > 0 && forDpi != nullptr) return forDpi(nullptr, ClassList, static_cast<UINT>(DPI));
  return ::OpenThemeData(nullptr, ClassList);
}

}  // namespace

// The system style: uxtheme where visual styles are on, classic drawing elsewhere.
class TSystemStyleServices : public TCustomStyleServices {
 public:
  TSystemStyleServices() = default;
  ~TSystemStyleServices() override;

  bool Enabled() const override;
  bool IsSystemStyle() const override { return true; }
  String Name() const override { return kSystemStyleName; }
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
  bool DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, TRect& R, UINT Flags,
                TColor Color = clNone, int DPI = 0) const override;
  TColor GetSystemColor(TColor Color) const override { return Color; }
  TColor GetStyleColor(TStyleColor Color) const override;
  TColor GetStyleFontColor(TStyleFont Font) const override;
  bool DrawParentBackground(HWND, HDC, const TRect*, bool) const override { return false; }
  void ThemesChanged() override;

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

// ---- Element details ------------------------------------------------------------------

TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedElement Element) {
  return TThemedElementDetails{Element, 0, 0};
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedButton Detail) {
  return FromTable(teButton, kButtons, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedToolBar Detail) {
  return FromTable(teToolBar, kToolBar, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedGrid Detail) {
  if (Detail == tgCellSelected) return TThemedElementDetails{teListView, LVP_LISTITEM, LISS_SELECTED};
  if (Detail == tgCellNormal) return TThemedElementDetails{teListView, LVP_LISTITEM, LISS_NORMAL};
  return TThemedElementDetails{teHeader, HP_HEADERITEM, HIS_NORMAL + static_cast<int>(Detail)};
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedTab Detail) {
  return FromTable(teTab, kTabs, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedSpin Detail) {
  // Four parts (up, down, up-horz, down-horz) of four states each.
  const int d = static_cast<int>(Detail);
  return TThemedElementDetails{teSpin, SPNP_UP + d / 4, 1 + d % 4};
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedScrollBar Detail) {
  const int d = static_cast<int>(Detail);
  if (Detail < tsThumbBtnHorzNormal) return TThemedElementDetails{teScrollBar, SBP_ARROWBTN, ABS_UPNORMAL + d};
  if (Detail < tsThumbBtnVertNormal)
    return TThemedElementDetails{teScrollBar, SBP_THUMBBTNHORZ, SCRBS_NORMAL + d - tsThumbBtnHorzNormal};
  if (Detail < tsLowerTrackHorzNormal)
    return TThemedElementDetails{teScrollBar, SBP_THUMBBTNVERT, SCRBS_NORMAL + d - tsThumbBtnVertNormal};
  return FromTable(teScrollBar, kScrollExtras, d - tsLowerTrackHorzNormal);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedComboBox Detail) {
  return FromTable(teComboBox, kCombo, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedEdit Detail) {
  return FromTable(teEdit, kEdit, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedWindow Detail) {
  if (Detail < twSysButtonNormal) return FromTable(teWindow, kWindowFrame, Detail);
  const int d = Detail - twSysButtonNormal;
  return TThemedElementDetails{teWindow, kWindowButtonParts[d / 4], 1 + d % 4};
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedStatus Detail) {
  return FromTable(teStatus, kStatus, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedMenu Detail) {
  return FromTable(teMenu, kMenu, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedToolTip Detail) {
  return TThemedElementDetails{teToolTip, TTP_STANDARD, TTSS_NORMAL};
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedProgress Detail) {
  return FromTable(teProgress, kProgress, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedListView Detail) {
  return FromTable(teListView, kListView, Detail);
}
TThemedElementDetails TCustomStyleServices::GetElementDetails(TThemedToggleSwitch Detail) {
  // Parts: 1 the track off, 2 the track on, 3 the thumb; states normal, hot, pressed, disabled.
  static constexpr TPartState kSwitch[] = {{1, 1}, {1, 4}, {2, 1}, {2, 4}, {3, 1}, {3, 4},
                                           {1, 2}, {1, 3}, {2, 2}, {2, 3}, {3, 2}, {3, 3}};
  static_assert(std::size(kSwitch) == ttsThumbPressed + 1);
  return FromTable(teToggleSwitch, kSwitch, Detail);
}

// ---- The interface's shared parts ------------------------------------------------------

TColor TCustomStyleServices::ColorToRGB(TColor Color) const { return ::ColorToRGB(GetSystemColor(Color)); }

void TCustomStyleServices::ThemesChanged() {
  if (OnThemeChange) OnThemeChange();
}

bool TCustomStyleServices::DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, TRect& R,
                                    UINT Flags, TColor Color, int) const {
  if (DC == nullptr) return false;
  // The caller's buffer is a const string: it must never be written back.
  Flags &= ~static_cast<UINT>(DT_MODIFYSTRING);
  TColor text = Color;
  if (text == clNone && !GetElementColor(Details, ecTextColor, text)) text = clBtnText;
  TSavedDC saved(DC);
  ::SetBkMode(DC, TRANSPARENT);
  ::SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(text)));
  return ::DrawTextW(DC, S.c_str(), static_cast<int>(S.size()), R.AsRECT(), Flags) != 0 || S.empty();
}

TClassicControlsScope::TClassicControlsScope() : FSaved(::GetThemeAppProperties()) {
  ::SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
  TStyleManager::SystemStyle()->ThemesChanged();
}

TClassicControlsScope::~TClassicControlsScope() {
  ::SetThemeAppProperties(FSaved);
  TStyleManager::SystemStyle()->ThemesChanged();
}

// ---- Services -------------------------------------------------------------------------

TSystemStyleServices::~TSystemStyleServices() { CloseThemes(); }

bool TSystemStyleServices::Enabled() const {
  // A program may keep visual styles for its frame only (SetThemeAppProperties); its
  // controls are then classic.
  return ::IsThemeActive() && ::IsAppThemed() && (::GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

HTHEME TSystemStyleServices::PartTheme(const TThemedElementDetails& Details, int DPI) const {
  HTHEME theme = Theme(Details.Element, DPI);
  // Themes need not define every part (Wine's has no list items, for one); such parts are
  // drawn and measured the classic way rather than not at all.
  if (theme != nullptr && Details.Part != 0 && !::IsThemePartDefined(theme, Details.Part, 0)) return nullptr;
  return theme;
}

HTHEME TSystemStyleServices::Theme(TThemedElement Element, int DPI) const {
  if (!Enabled()) return nullptr;
  std::lock_guard<std::mutex> lock(FLock);
  const auto key = std::make_pair(Element, DPI > 0 ? DPI : 0);
  auto it = FThemes.find(key);
  if (it != FThemes.end()) return it->second;
  // A class without a theme is remembered too, so it is not asked for again on every paint.
  HTHEME theme = OpenTheme(kThemeClasses[Element], key.second);
  FThemes.emplace(key, theme);
  return theme;
}

void TSystemStyleServices::CloseThemes() const {
  std::lock_guard<std::mutex> lock(FLock);
  for (auto& entry : FThemes)
    if (entry.second != nullptr) ::CloseThemeData(entry.second);
  FThemes.clear();
}

void TSystemStyleServices::ThemesChanged() {
  CloseThemes();
  TCustomStyleServices::ThemesChanged();
}

void TSystemStyleServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                                       const TRect* Clip, int DPI) const {
  if (DC == nullptr || R.IsEmpty()) return;
  // The window is plain button face in both modes: themes draw nothing useful for part 0
  // of WINDOW, and forms must look the same with visual styles on and off.
  const bool window = Details.Element == teWindow && Details.Part == 0;
  HTHEME theme = window ? nullptr : PartTheme(Details, DPI);
  if (theme != nullptr && Details.Part != 0) {
    ::DrawThemeBackground(theme, DC, Details.Part, Details.State, R.AsRECT(), Clip ? Clip->AsRECT() : nullptr);
    return;
  }
  TSavedDC saved(DC);
  if (Clip != nullptr) ::IntersectClipRect(DC, Clip->Left, Clip->Top, Clip->Right, Clip->Bottom);
  DrawClassic(DC, Details, R);
  // A root may have a themed background of its own (status bars); it goes over the fill.
  if (theme != nullptr) ::DrawThemeBackground(theme, DC, 0, 0, R.AsRECT(), nullptr);
}

bool TSystemStyleServices::GetElementSize(HDC DC, const TThemedElementDetails& Details,
                                          TElementSize ElementSize, TSize& Size, int DPI) const {
  HTHEME theme = PartTheme(Details, DPI);
  if (theme == nullptr) return false;
  SIZE s{};
  if (FAILED(::GetThemePartSize(theme, DC, Details.Part, Details.State, nullptr,
                                ElementSize == esMinimum ? TS_MIN : TS_TRUE, &s)))
    return false;
  Size = TSize{s.cx, s.cy};
  return true;
}

bool TSystemStyleServices::GetElementContentRect(HDC DC, const TThemedElementDetails& Details,
                                                 const TRect& Bounds, TRect& ContentRect, int DPI) const {
  if (HTHEME theme = PartTheme(Details, DPI)) {
    RECT content{};
    if (SUCCEEDED(::GetThemeBackgroundContentRect(theme, DC, Details.Part, Details.State,
                                                  Bounds.AsRECT(), &content))) {
      ContentRect = TRect(content);
      return true;
    }
  }
  const int border = ClassicBorder(Details);
  ContentRect = Bounds;
  ContentRect.Inflate(-border, -border);
  return true;
}

bool TSystemStyleServices::GetElementColor(const TThemedElementDetails& Details,
                                           TElementColor ElementColor, TColor& Color) const {
  if (HTHEME theme = PartTheme(Details, 0)) {
    COLORREF c = 0;
    if (SUCCEEDED(::GetThemeColor(theme, Details.Part, Details.State, ThemeColorProperty(ElementColor), &c))) {
      Color = MakeColor(c);
      return true;
    }
  }
  const int sys = ClassicColor(Details, ElementColor);
  if (sys < 0) return false;
  Color = SysColor(sys);
  return true;
}

bool TSystemStyleServices::HasTransparentParts(const TThemedElementDetails& Details) const {
  HTHEME theme = PartTheme(Details, 0);
  return theme != nullptr && ::IsThemeBackgroundPartiallyTransparent(theme, Details.Part, Details.State);
}

bool TSystemStyleServices::DrawText(HDC DC, const TThemedElementDetails& Details, const String& S,
                                    TRect& R, UINT Flags, TColor Color, int DPI) const {
  if (DC == nullptr) return false;
  // The caller's buffer is a const string: it must never be written back.
  Flags &= ~static_cast<UINT>(DT_MODIFYSTRING);
  const int length = static_cast<int>(S.size());
  const bool measure = (Flags & DT_CALCRECT) != 0;
  if (Color == clNone && !measure) {
    if (HTHEME theme = PartTheme(Details, DPI))
      return SUCCEEDED(::DrawThemeText(theme, DC, Details.Part, Details.State, S.c_str(), length, Flags, 0,
                                       R.AsRECT()));
  }
  return TCustomStyleServices::DrawText(DC, Details, S, R, Flags, Color, DPI);
}

bool TSystemStyleServices::GetElementMargins(HDC DC, const TThemedElementDetails& Details, TElementMargin Margin,
                                             TRect& Margins, int DPI) const {
  HTHEME theme = PartTheme(Details, DPI);
  if (theme == nullptr) return false;
  MARGINS m{};
  if (FAILED(::GetThemeMargins(theme, DC, Details.Part, Details.State,
                               Margin == emContent ? TMT_CONTENTMARGINS : TMT_SIZINGMARGINS, nullptr, &m)))
    return false;
  Margins = TRect(m.cxLeftWidth, m.cyTopHeight, m.cxRightWidth, m.cyBottomHeight);
  return true;
}

bool TSystemStyleServices::GetElementRegion(const TThemedElementDetails& Details, const TRect& R,
                                            HRGN& Region) const {
  Region = nullptr;
  HTHEME theme = PartTheme(Details, 0);
  if (theme == nullptr || !::IsThemeBackgroundPartiallyTransparent(theme, Details.Part, Details.State))
    return false;
  return SUCCEEDED(::GetThemeBackgroundRegion(theme, nullptr, Details.Part, Details.State, R.AsRECT(), &Region)) &&
         Region != nullptr;
}

TColor TSystemStyleServices::GetStyleColor(TStyleColor Color) const {
  switch (Color) {
    case scEdit: case scComboBox: case scGrid: case scListBox: case scListView: case scTreeView:
      return clWindow;
    case scBorder:
      return clWindowFrame;
    case scHintGradientBase: case scHintGradientEnd:
      return clInfoBk;
    case scButtonNormal: case scButtonHot: case scButtonPressed: case scButtonFocused:
    case scButtonDisabled: case scComboBoxDisabled: case scEditDisabled: case scGenericBackground:
    case scGenericGradientBase: case scGenericGradientEnd: case scListBoxDisabled: case scPanel:
    case scPanelDisabled: case scSplitter: case scToolBarGradientBase: case scToolBarGradientEnd:
    case scWindow:
      return clBtnFace;
  }
  return clBtnFace;
}

TColor TSystemStyleServices::GetStyleFontColor(TStyleFont Font) const {
  switch (Font) {
    case sfButtonTextDisabled: case sfCheckBoxTextDisabled: case sfEditBoxTextDisabled:
    case sfGroupBoxTextDisabled: case sfHeaderSectionTextDisabled: case sfListItemTextDisabled:
    case sfMenuItemTextDisabled: case sfPanelTextDisabled: case sfPopupMenuItemTextDisabled:
    case sfRadioButtonTextDisabled: case sfStatusPanelTextDisabled: case sfTabTextActiveDisabled:
    case sfTabTextInactiveDisabled: case sfToolItemTextDisabled: case sfTreeItemTextDisabled:
    case sfWindowTextDisabled:
      return clGrayText;
    case sfEditBoxTextNormal: case sfEditBoxTextHot: case sfEditBoxTextFocused:
    case sfEditBoxTextReadOnly: case sfListItemTextNormal: case sfListItemTextHot:
    case sfTreeItemTextNormal: case sfTreeItemTextHot: case sfWindowTextNormal:
      return clWindowText;
    case sfEditBoxTextSelected: case sfListItemTextSelected: case sfTreeItemTextSelected:
    case sfMenuItemTextHot: case sfMenuItemTextSelected: case sfPopupMenuItemTextHot:
    case sfPopupMenuItemTextSelected:
      return clHighlightText;
    case sfMenuItemTextNormal: case sfPopupMenuItemTextNormal:
      return clMenuText;
    case sfCaptionTextNormal:
      return clCaptionText;
    case sfCaptionTextInactive:
      return clInactiveCaptionText;
    case sfHintTextNormal:
      return clInfoText;
    case sfButtonTextNormal: case sfButtonTextHot: case sfButtonTextPressed: case sfButtonTextFocused:
    case sfCheckBoxTextNormal: case sfGroupBoxTextNormal: case sfHeaderSectionTextNormal:
    case sfHeaderSectionTextHot: case sfHeaderSectionTextPressed: case sfPanelTextNormal:
    case sfRadioButtonTextNormal: case sfStatusPanelTextNormal: case sfTabTextActiveNormal:
    case sfTabTextInactiveNormal: case sfTabTextInactiveHot: case sfToolItemTextNormal:
    case sfToolItemTextHot: case sfToolItemTextSelected:
      return clBtnText;
  }
  return clBtnText;
}

// ---- The system style's object -----------------------------------------------------------

TCustomStyleServices* SystemStyleServices() {
  // Made on first use and never destroyed: controls may still paint while the application
  // frees its forms at exit, after function-local statics are gone. The process's end
  // closes the theme handles.
  static auto* services = new TSystemStyleServices();
  return services;
}
