// The built-in custom styles as data. Each is a palette of a few dozen colours (the table
// below); the full description (system colours, style colours, font colours and element
// faces) follows from it by one set of rules, so the two styles differ only in their tables.
#include "framework/Themes.h"

namespace {

// What a style's look is made of.
struct TPalette {
  const wchar_t* Name;
  bool Dark;
  TColor Window;                                                 // forms and panels
  TColor Control, ControlHot, ControlPressed, ControlDisabled;   // button faces
  TColor Border, BorderHot, BorderPressed, BorderDisabled;       // 1-pixel borders
  TColor Text, TextPressed, TextSecondary, TextDisabled;
  TColor Accent, AccentHot, AccentPressed, AccentDisabled, AccentText;
  TColor Field, FieldDisabled;                                   // edit, combo and list backgrounds
  TColor Selection, SelectionText, ItemHot;                      // selected and hot list items
  TColor Caption, CaptionInactive, CaptionText, CaptionTextInactive;
  TColor CloseHot, ClosePressed, CloseText;
  TColor ScrollTrack, ScrollThumb, ScrollThumbHot, ScrollThumbPressed;
  TColor Menu, MenuBorder, ToolTip, ToolTipBorder;
  TColor Shadow, DarkShadow, Highlight;                          // the 3D system colours
  TColor SwitchThumb, SwitchThumbBorder;
};

constexpr TColor C(uint8_t R, uint8_t G, uint8_t B) { return RGBColor(R, G, B); }

// Surfaces near #202020, controls #2B2B2B, light text, the accent lightened.
const TPalette kDark = {
    L"Karvo Dark", true,
    C(0x20, 0x20, 0x20),
    C(0x2B, 0x2B, 0x2B), C(0x3A, 0x3A, 0x3A), C(0x24, 0x24, 0x24), C(0x27, 0x27, 0x27),
    C(0x3F, 0x3F, 0x3F), C(0x55, 0x55, 0x55), C(0x4A, 0x4A, 0x4A), C(0x33, 0x33, 0x33),
    C(0xF2, 0xF2, 0xF2), C(0xC8, 0xC8, 0xC8), C(0xC0, 0xC0, 0xC0), C(0x6E, 0x6E, 0x6E),
    C(0x4C, 0xA8, 0xF0), C(0x6C, 0xB8, 0xF4), C(0x3A, 0x8C, 0xCC), C(0x4A, 0x4A, 0x4A), C(0x0B, 0x0B, 0x0B),
    C(0x2B, 0x2B, 0x2B), C(0x26, 0x26, 0x26),
    C(0x4C, 0xA8, 0xF0), C(0x0B, 0x0B, 0x0B), C(0x35, 0x35, 0x35),
    C(0x1C, 0x1C, 0x1C), C(0x2B, 0x2B, 0x2B), C(0xFF, 0xFF, 0xFF), C(0x8C, 0x8C, 0x8C),
    C(0xC4, 0x2B, 0x1C), C(0xA9, 0x30, 0x24), C(0xFF, 0xFF, 0xFF),
    C(0x24, 0x24, 0x24), C(0x6A, 0x6A, 0x6A), C(0x8A, 0x8A, 0x8A), C(0xA6, 0xA6, 0xA6),
    C(0x2C, 0x2C, 0x2C), C(0x45, 0x45, 0x45), C(0x2B, 0x2B, 0x2B), C(0x45, 0x45, 0x45),
    C(0x14, 0x14, 0x14), C(0x0A, 0x0A, 0x0A), C(0x46, 0x46, 0x46),
    C(0xE4, 0xE4, 0xE4), C(0xE4, 0xE4, 0xE4)};

// Surfaces #F3F3F3, white controls, dark text, the same accent.
const TPalette kLight = {
    L"Karvo Light", false,
    C(0xF3, 0xF3, 0xF3),
    C(0xFF, 0xFF, 0xFF), C(0xE8, 0xE8, 0xE8), C(0xD9, 0xD9, 0xD9), C(0xF7, 0xF7, 0xF7),
    C(0xC8, 0xC8, 0xC8), C(0xA8, 0xA8, 0xA8), C(0x96, 0x96, 0x96), C(0xE0, 0xE0, 0xE0),
    C(0x1A, 0x1A, 0x1A), C(0x40, 0x40, 0x40), C(0x5C, 0x5C, 0x5C), C(0xA0, 0xA0, 0xA0),
    C(0x00, 0x78, 0xD7), C(0x19, 0x8A, 0xE0), C(0x00, 0x5F, 0xB0), C(0xC4, 0xC4, 0xC4), C(0xFF, 0xFF, 0xFF),
    C(0xFF, 0xFF, 0xFF), C(0xF5, 0xF5, 0xF5),
    C(0x00, 0x78, 0xD7), C(0xFF, 0xFF, 0xFF), C(0xE5, 0xF1, 0xFB),
    C(0xF3, 0xF3, 0xF3), C(0xFA, 0xFA, 0xFA), C(0x1A, 0x1A, 0x1A), C(0x8C, 0x8C, 0x8C),
    C(0xC4, 0x2B, 0x1C), C(0xC8, 0x40, 0x31), C(0xFF, 0xFF, 0xFF),
    C(0xF0, 0xF0, 0xF0), C(0xA0, 0xA0, 0xA0), C(0x80, 0x80, 0x80), C(0x60, 0x60, 0x60),
    C(0xF9, 0xF9, 0xF9), C(0xD0, 0xD0, 0xD0), C(0xFF, 0xFF, 0xFF), C(0xC8, 0xC8, 0xC8),
    C(0xB4, 0xB4, 0xB4), C(0x80, 0x80, 0x80), C(0xFF, 0xFF, 0xFF),
    C(0xFF, 0xFF, 0xFF), C(0x80, 0x80, 0x80)};

TStateColors States(TColor Normal, TColor Hot, TColor Pressed, TColor Disabled) {
  return TStateColors{Normal, Hot, Pressed, Disabled};
}
TStateColors All(TColor Color) { return TStateColors{Color, Color, Color, Color}; }
TStyleFace Face(TStateColors Fill, TStateColors Border, TStateColors Text) { return TStyleFace{Fill, Border, Text}; }

void SystemColors(const TPalette& P, TStyleDescription& D) {
  auto& s = D.SystemColors;
  s.fill(P.Window);
  s[COLOR_SCROLLBAR] = P.ScrollTrack;
  s[COLOR_ACTIVECAPTION] = s[COLOR_GRADIENTACTIVECAPTION] = P.Caption;
  s[COLOR_INACTIVECAPTION] = s[COLOR_GRADIENTINACTIVECAPTION] = P.CaptionInactive;
  s[COLOR_MENU] = s[COLOR_MENUBAR] = P.Menu;
  s[COLOR_WINDOW] = P.Field;
  s[COLOR_WINDOWFRAME] = s[COLOR_ACTIVEBORDER] = P.Border;
  s[COLOR_INACTIVEBORDER] = P.BorderDisabled;
  s[COLOR_MENUTEXT] = s[COLOR_WINDOWTEXT] = s[COLOR_BTNTEXT] = s[COLOR_INFOTEXT] = P.Text;
  s[COLOR_CAPTIONTEXT] = P.CaptionText;
  s[COLOR_INACTIVECAPTIONTEXT] = P.CaptionTextInactive;
  s[COLOR_HIGHLIGHT] = s[COLOR_MENUHILIGHT] = P.Selection;
  s[COLOR_HIGHLIGHTTEXT] = P.SelectionText;
  s[COLOR_BTNFACE] = s[COLOR_BACKGROUND] = s[COLOR_APPWORKSPACE] = P.Window;
  s[COLOR_BTNSHADOW] = P.Shadow;
  s[COLOR_3DDKSHADOW] = P.DarkShadow;
  s[COLOR_BTNHIGHLIGHT] = P.Highlight;
  s[COLOR_3DLIGHT] = P.Control;
  s[COLOR_GRAYTEXT] = P.TextDisabled;
  s[COLOR_INFOBK] = P.ToolTip;
  s[COLOR_HOTLIGHT] = P.Accent;
}

void StyleColors(const TPalette& P, TStyleDescription& D) {
  auto& s = D.StyleColors;
  s.fill(P.Window);
  s[scBorder] = s[scSplitter] = P.Border;
  s[scButtonNormal] = P.Control;
  s[scButtonHot] = s[scButtonFocused] = P.ControlHot;
  s[scButtonPressed] = P.ControlPressed;
  s[scButtonDisabled] = P.ControlDisabled;
  s[scComboBox] = s[scEdit] = s[scGrid] = s[scListBox] = s[scListView] = s[scTreeView] = P.Field;
  s[scComboBoxDisabled] = s[scEditDisabled] = s[scListBoxDisabled] = P.FieldDisabled;
  s[scGenericGradientBase] = P.Control;
  s[scHintGradientBase] = s[scHintGradientEnd] = P.ToolTip;
}

void FontColors(const TPalette& P, TStyleDescription& D) {
  auto& f = D.FontColors;
  f.fill(P.Text);
  for (TStyleFont disabled :
       {sfButtonTextDisabled, sfCheckBoxTextDisabled, sfEditBoxTextDisabled, sfGroupBoxTextDisabled,
        sfHeaderSectionTextDisabled, sfListItemTextDisabled, sfMenuItemTextDisabled, sfPanelTextDisabled,
        sfPopupMenuItemTextDisabled, sfRadioButtonTextDisabled, sfStatusPanelTextDisabled, sfTabTextActiveDisabled,
        sfTabTextInactiveDisabled, sfToolItemTextDisabled, sfTreeItemTextDisabled, sfWindowTextDisabled})
    f[disabled] = P.TextDisabled;
  for (TStyleFont selected : {sfEditBoxTextSelected, sfListItemTextSelected, sfTreeItemTextSelected})
    f[selected] = P.SelectionText;
  f[sfButtonTextPressed] = f[sfHeaderSectionTextPressed] = P.TextPressed;
  f[sfCaptionTextNormal] = P.CaptionText;
  f[sfCaptionTextInactive] = P.CaptionTextInactive;
  f[sfTabTextInactiveNormal] = f[sfStatusPanelTextNormal] = P.TextSecondary;
}

void Faces(const TPalette& P, TStyleDescription& D) {
  const TStateColors text = States(P.Text, P.Text, P.TextPressed, P.TextDisabled);
  const TStateColors borders = States(P.Border, P.BorderHot, P.BorderPressed, P.BorderDisabled);
  const TStateColors none = All(clNone);
  const TStateColors accent = States(P.Accent, P.AccentHot, P.AccentPressed, P.AccentDisabled);
  D.Button = Face(States(P.Control, P.ControlHot, P.ControlPressed, P.ControlDisabled), borders, text);
  D.ToolButton = Face(States(clNone, P.ControlHot, P.ControlPressed, clNone), none, text);
  D.CheckBox = Face(States(P.Field, P.ControlHot, P.ControlPressed, P.ControlDisabled),
                    States(P.TextSecondary, P.Text, P.TextSecondary, P.BorderDisabled), text);
  D.CheckBoxChecked = Face(accent, accent, States(P.AccentText, P.AccentText, P.AccentText, P.Window));
  D.Field = Face(States(P.Field, P.Field, P.Field, P.FieldDisabled),
                 States(P.Border, P.BorderHot, P.Accent, P.BorderDisabled), text);
  D.Header = Face(States(P.Control, P.ControlHot, P.ControlPressed, P.Control), borders, text);
  D.Tab = Face(States(P.Window, P.ControlHot, P.Control, P.Window), borders,
               States(P.TextSecondary, P.Text, P.Text, P.TextDisabled));
  D.ListItem = Face(States(P.Field, P.ItemHot, P.Selection, P.Field), States(P.Field, P.ItemHot, P.Selection, P.Field),
                    States(P.Text, P.Text, P.SelectionText, P.TextDisabled));
  D.ScrollThumb = Face(States(P.ScrollThumb, P.ScrollThumbHot, P.ScrollThumbPressed, P.BorderDisabled),
                       States(P.ScrollThumb, P.ScrollThumbHot, P.ScrollThumbPressed, P.BorderDisabled), text);
  D.ScrollArrow = Face(States(P.ScrollTrack, P.ControlHot, P.ControlPressed, P.ScrollTrack), none,
                       States(P.TextSecondary, P.Text, P.Text, P.TextDisabled));
  D.SwitchTrackOff = Face(States(P.Field, P.ControlHot, P.ControlPressed, P.ControlDisabled),
                          States(P.TextSecondary, P.Text, P.TextSecondary, P.BorderDisabled), text);
  D.SwitchTrackOn = Face(accent, accent, States(P.AccentText, P.AccentText, P.AccentText, P.TextDisabled));
  D.SwitchThumb = Face(States(P.SwitchThumb, P.SwitchThumb, P.SwitchThumb, P.TextDisabled),
                       States(P.SwitchThumbBorder, P.SwitchThumbBorder, P.SwitchThumbBorder, P.TextDisabled), text);
  D.Caption = Face(States(P.Caption, P.Caption, P.Caption, P.CaptionInactive), borders,
                   States(P.CaptionText, P.CaptionText, P.CaptionText, P.CaptionTextInactive));
  D.CaptionButton = Face(States(clNone, P.ControlHot, P.ControlPressed, clNone), none,
                         States(P.CaptionText, P.CaptionText, P.CaptionText, P.CaptionTextInactive));
  D.CloseButton = Face(States(clNone, P.CloseHot, P.ClosePressed, clNone), none,
                       States(P.CaptionText, P.CloseText, P.CloseText, P.CaptionTextInactive));
  D.Frame = Face(States(P.Caption, P.Caption, P.Caption, P.CaptionInactive),
                 States(P.Border, P.Border, P.Border, P.BorderDisabled), D.Caption.Text);
  D.MenuItem = Face(States(clNone, P.ControlHot, P.ControlPressed, clNone), none, text);
  D.Menu = Face(All(P.Menu), All(P.MenuBorder), All(P.Text));
  D.ToolTip = Face(All(P.ToolTip), All(P.ToolTipBorder), All(P.Text));
  D.Progress = Face(States(P.Field, P.Accent, P.Accent, P.ControlDisabled), All(P.Border), text);
  D.StatusBar = Face(All(P.Window), All(P.Border), All(P.TextSecondary));
}

TStyleDescription Describe(const TPalette& P) {
  TStyleDescription d;
  d.Name = P.Name;
  d.Dark = P.Dark;
  d.Window = P.Window;
  d.Accent = P.Accent;
  d.AccentText = P.AccentText;
  d.FocusBorder = P.Accent;
  SystemColors(P, d);
  StyleColors(P, d);
  FontColors(P, d);
  Faces(P, d);
  return d;
}

}  // namespace

const TStyleDescription& KarvoDarkStyle() {
  // Never destroyed, like the styles registered from it.
  static const auto* style = new TStyleDescription(Describe(kDark));
  return *style;
}

const TStyleDescription& KarvoLightStyle() {
  static const auto* style = new TStyleDescription(Describe(kLight));
  return *style;
}
