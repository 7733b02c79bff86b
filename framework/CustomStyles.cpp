// TFlatStyleServices: what a custom style answers (colours, sizes, content rectangles,
// margins, regions) from its description. The drawing itself is in CustomStyleDraw.cpp.
#include <cmath>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/StyleInternal.h"

namespace {

// The four-state column of families whose states run 1 normal, 2 hot, 3 pressed, 4 disabled.
int Column4(int State) { return std::clamp(State - 1, 0, 3); }
// Families of four states per group (check boxes, arrow buttons): the position in its group.
int SubColumn(int State) { return (std::max(State, 1) - 1) % 4; }

double ScaleOf(int DPI) { return DPI > 0 ? DPI / 96.0 : 1.0; }
int Scaled(int Value, double Scale) { return static_cast<int>(std::lround(Value * Scale)); }

TFlatLook Look(const TStyleFace& Face, int Column) { return TFlatLook{&Face, Column}; }

TFlatLook ButtonLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  if (D.Part == BP_PUSHBUTTON) return Look(S.Button, D.State == PBS_DEFAULTED ? 0 : Column4(D.State));
  if (D.Part == BP_CHECKBOX) {
    // Unchecked boxes show the box's face; checked and mixed ones the accent. The label's
    // text colour is the box's either way.
    const bool checked = D.State > CBS_UNCHECKEDDISABLED;
    return Look(checked ? S.CheckBoxChecked : S.CheckBox, SubColumn(D.State));
  }
  return Look(S.Button, 0);
}

TFlatLook WindowLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  switch (D.Part) {
    case WP_CAPTION: case WP_SMALLCAPTION: return Look(S.Caption, D.State == CS_INACTIVE ? 3 : 0);
    case WP_FRAMELEFT: case WP_FRAMERIGHT: case WP_FRAMEBOTTOM:
    case WP_SMALLFRAMELEFT: case WP_SMALLFRAMERIGHT: case WP_SMALLFRAMEBOTTOM:
      return Look(S.Frame, D.State == FS_INACTIVE ? 3 : 0);
    case WP_CLOSEBUTTON: case WP_SMALLCLOSEBUTTON: return Look(S.CloseButton, Column4(D.State));
    default: return Look(S.CaptionButton, Column4(D.State));
  }
}

TFlatLook MenuLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  switch (D.Part) {
    case MENU_POPUPITEM: return Look(S.MenuItem, D.State == MPI_HOT ? 1 : D.State >= MPI_DISABLED ? 3 : 0);
    case MENU_POPUPCHECK: return Look(S.MenuItem, D.State == MC_CHECKMARKDISABLED ? 3 : 0);
    case MENU_POPUPCHECKBACKGROUND: return Look(S.MenuItem, 2);
    case MENU_POPUPSUBMENU: return Look(S.MenuItem, D.State == MSM_DISABLED ? 3 : 0);
    case MENU_BARITEM: return Look(S.MenuItem, Column4(D.State));
    default: return Look(S.Menu, 0);
  }
}

TFlatLook ScrollLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  if (D.Part == SBP_ARROWBTN) return Look(S.ScrollArrow, SubColumn(D.State));
  if (D.Part == SBP_THUMBBTNHORZ || D.Part == SBP_THUMBBTNVERT) return Look(S.ScrollThumb, Column4(D.State));
  return Look(S.ScrollArrow, 0);
}

TFlatLook EditLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  if (D.Part == EP_EDITTEXT) return Look(S.Field, D.State == ETS_DISABLED ? 3 : 0);
  return Look(S.Field, Column4(D.State));
}

TFlatLook SwitchLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  const TStyleFace& face = D.Part == 1 ? S.SwitchTrackOff : D.Part == 2 ? S.SwitchTrackOn : S.SwitchThumb;
  return Look(face, Column4(D.State));
}

}  // namespace

TFlatLook FlatLook(const TStyleDescription& S, const TThemedElementDetails& D) {
  if (D.Part == 0) {
    // Roots: fields for the kinds that hold text, the window surface for the rest.
    const bool field = D.Element == teEdit || D.Element == teComboBox || D.Element == teListView;
    if (D.Element == teToolTip) return Look(S.ToolTip, 0);
    if (D.Element == teMenu) return Look(S.Menu, 0);
    if (D.Element == teStatus) return Look(S.StatusBar, 0);
    return field ? Look(S.Field, 0) : Look(S.Header, 0);
  }
  switch (D.Element) {
    case teButton: return ButtonLook(S, D);
    case teComboBox:
      if (D.Part == CP_BORDER) return Look(S.Field, Column4(D.State));
      return Look(S.Button, SubColumn(D.State));
    case teEdit: return EditLook(S, D);
    case teHeader: return Look(S.Header, Column4(D.State));
    case teListView: {
      static const int kColumns[] = {0, 0, 1, 2, 3, 2, 2};  // LISS_NORMAL .. LISS_HOTSELECTED
      return Look(S.ListItem, kColumns[std::clamp(D.State, 0, 6)]);
    }
    case teMenu: return MenuLook(S, D);
    case teProgress: return Look(S.Progress, D.Part == PP_BAR || D.Part == PP_BARVERT ? 0 : 1);
    case teScrollBar: return ScrollLook(S, D);
    case teSpin: return Look(S.Button, SubColumn(D.State));
    case teStatus: return Look(S.StatusBar, 0);
    case teTab:
      if (D.Part == TABP_PANE) return Look(S.Tab, 2);
      return Look(S.Tab, Column4(D.State));
    case teToolBar: return Look(S.ToolButton, Column4(D.State));
    case teToolTip: return Look(S.ToolTip, 0);
    case teWindow: return WindowLook(S, D);
    case teToggleSwitch: return SwitchLook(S, D);
  }
  return Look(S.Button, 0);
}

// ---- Answers ------------------------------------------------------------------------------

void TFlatStyleServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                                     const TRect* Clip, int DPI) const {
  if (DC == nullptr || R.IsEmpty()) return;
  TDCStateSaver saved(DC);
  if (Clip != nullptr) ::IntersectClipRect(DC, Clip->Left, Clip->Top, Clip->Right, Clip->Bottom);
  FlatDrawElement(FData, DC, Details, R, ScaleOf(DPI));
}

bool TFlatStyleServices::GetElementSize(HDC, const TThemedElementDetails& D, TElementSize, TSize& Size,
                                        int DPI) const {
  const double s = ScaleOf(DPI);
  auto square = [&](int Side) {
    Size = TSize{Scaled(Side, s), Scaled(Side, s)};
    return true;
  };
  switch (D.Element) {
    case teButton:
      if (D.Part == BP_CHECKBOX) return square(FData.CheckBoxSize);
      return false;
    case teScrollBar:
      if (D.Part == SBP_ARROWBTN || D.Part == SBP_SIZEBOX) return square(FData.ScrollBarSize);
      if (D.Part == SBP_THUMBBTNHORZ || D.Part == SBP_THUMBBTNVERT) return square(FData.ScrollBarSize - 6);
      return false;
    case teMenu:
      if (D.Part == MENU_POPUPCHECK || D.Part == MENU_POPUPSUBMENU || D.Part == MENU_POPUPCHECKBACKGROUND)
        return square(16);
      return false;
    case teToggleSwitch:
      Size = D.Part == 3 ? TSize{Scaled(12, s), Scaled(12, s)} : TSize{Scaled(40, s), Scaled(20, s)};
      return true;
    case teWindow: break;
    default: return false;
  }
  const int caption = Scaled(FData.CaptionHeight, s), small = Scaled(FData.SmallCaptionHeight, s);
  const int frame = Scaled(FData.FrameWidth, s);
  switch (D.Part) {
    case WP_CAPTION: Size = TSize{caption, caption}; return true;
    case WP_SMALLCAPTION: Size = TSize{small, small}; return true;
    case WP_FRAMELEFT: case WP_FRAMERIGHT: Size = TSize{frame, caption}; return true;
    case WP_SMALLFRAMELEFT: case WP_SMALLFRAMERIGHT: Size = TSize{frame, small}; return true;
    case WP_FRAMEBOTTOM: case WP_SMALLFRAMEBOTTOM: Size = TSize{frame, frame}; return true;
    case WP_SYSBUTTON: Size = TSize{caption, caption}; return true;
    case WP_SMALLCLOSEBUTTON: Size = TSize{Scaled(FData.CaptionButtonWidth * 3 / 4, s), small}; return true;
    case WP_MINBUTTON: case WP_MAXBUTTON: case WP_CLOSEBUTTON: case WP_RESTOREBUTTON: case WP_HELPBUTTON:
      Size = TSize{Scaled(FData.CaptionButtonWidth, s), caption};
      return true;
    default: return false;
  }
}

bool TFlatStyleServices::GetElementMargins(HDC, const TThemedElementDetails& D, TElementMargin Margin,
                                           TRect& Margins, int DPI) const {
  const double s = ScaleOf(DPI);
  int m = 0;
  if (Margin == emSizing) {
    // The rounded corners must not be stretched; window parts keep their frame.
    if (D.Element == teWindow && D.Part != 0) m = FData.FrameWidth;
    else if (D.Element == teButton || D.Element == teToolBar || D.Element == teTab || D.Element == teToggleSwitch)
      m = FData.CornerRadius;
  } else {
    switch (D.Element) {
      case teButton: m = D.Part == BP_PUSHBUTTON ? 3 : 0; break;
      case teEdit: case teComboBox: m = D.Part == 0 ? 0 : 2; break;
      case teHeader: case teTab: case teToolBar: m = D.Part == 0 ? 0 : 2; break;
      case teToolTip: m = 2; break;
      case teWindow: m = D.Part == WP_CAPTION || D.Part == WP_SMALLCAPTION ? 8 : 0; break;
      default: break;
    }
  }
  if (m == 0) return false;
  const int v = Scaled(m, s);
  Margins = TRect(v, v, v, v);
  if (D.Element == teWindow && Margin == emContent) Margins.Top = Margins.Bottom = 0;
  return true;
}

bool TFlatStyleServices::GetElementContentRect(HDC DC, const TThemedElementDetails& D, const TRect& Bounds,
                                               TRect& ContentRect, int DPI) const {
  ContentRect = Bounds;
  if (D.Element == teWindow && FlatCaptionButtonRect(FData, D, Bounds, ContentRect, DPI)) return true;
  if (D.Element == teWindow && D.Part == WP_SYSBUTTON) {
    // The icon: 16 pixels at 96 DPI, 8 from the caption's left, centred in its height.
    const double s = ScaleOf(DPI);
    const int side = std::min(Scaled(16, s), Bounds.Height());
    const int left = Bounds.Left + Scaled(8, s), top = Bounds.Top + (Bounds.Height() - side) / 2;
    ContentRect = TRect(left, top, left + side, top + side);
    return true;
  }
  TRect m;
  if (GetElementMargins(DC, D, emContent, m, DPI))
    ContentRect = TRect(Bounds.Left + m.Left, Bounds.Top + m.Top, Bounds.Right - m.Right, Bounds.Bottom - m.Bottom);
  return true;
}

bool TFlatStyleServices::GetElementRegion(const TThemedElementDetails& D, const TRect& R, HRGN& Region) const {
  Region = nullptr;
  if (R.IsEmpty()) return false;
  const bool caption = D.Element == teWindow && (D.Part == WP_CAPTION || D.Part == WP_SMALLCAPTION);
  const bool rounded = caption || (D.Element == teButton && D.Part == BP_PUSHBUTTON);
  if (!rounded) return false;
  // A window keeps square bottom corners (its frame meets the screen's edges when docked);
  // only its caption's corners are rounded, twice as round as controls.
  const int r = caption ? FData.CornerRadius * 2 : FData.CornerRadius;
  TRgnHandle round(::CreateRoundRectRgn(R.Left, R.Top, R.Right + 1, R.Bottom + 1, 2 * r, 2 * r));
  if (caption) {
    TRgnHandle lower(::CreateRectRgn(R.Left, R.Top + r, R.Right, R.Bottom));
    ::CombineRgn(round.Get(), round.Get(), lower.Get(), RGN_OR);
  }
  Region = round.Release();
  return Region != nullptr;
}

bool TFlatStyleServices::GetElementColor(const TThemedElementDetails& D, TElementColor Which, TColor& Color) const {
  if (D.Element == teWindow && D.Part == 0) {
    Color = Which == ecTextColor ? FData.FontColors[sfWindowTextNormal] : FData.Window;
    return true;
  }
  const TFlatLook look = FlatLook(FData, D);
  if (look.Face == nullptr) return false;
  const TStateColors& colors = Which == ecTextColor ? look.Face->Text : Which == ecBorderColor ? look.Face->Border
                                                                                              : look.Face->Fill;
  TColor c = colors.At(look.Column);
  // A face without a fill in this state shows what lies under it: the window's surface.
  if (c == clNone && Which != ecTextColor && Which != ecBorderColor) c = FData.Window;
  if (c == clNone) return false;
  Color = c;
  return true;
}

bool TFlatStyleServices::HasTransparentParts(const TThemedElementDetails& D) const {
  switch (D.Element) {
    case teButton: case teToolBar: case teTab: case teToggleSwitch: case teSpin: return D.Part != 0;
    case teComboBox: case teEdit: return D.Part == CP_BORDER || D.Part == CP_DROPDOWNBUTTON ||
                                          D.Part == CP_DROPDOWNBUTTONRIGHT || D.Part == EP_EDITBORDER_NOSCROLL;
    case teMenu: return D.Part != MENU_POPUPBACKGROUND && D.Part != MENU_BARBACKGROUND && D.Part != 0;
    case teWindow:
      return D.Part == WP_SYSBUTTON || D.Part == WP_MINBUTTON || D.Part == WP_MAXBUTTON ||
             D.Part == WP_CLOSEBUTTON || D.Part == WP_SMALLCLOSEBUTTON || D.Part == WP_RESTOREBUTTON ||
             D.Part == WP_HELPBUTTON;
    default: return false;
  }
}

TColor TFlatStyleServices::GetSystemColor(TColor Color) const {
  const uint32_t v = static_cast<uint32_t>(Color);
  if ((v & 0xFF000000u) != 0xFF000000u) return Color;
  const uint32_t index = v & 0xFFu;
  return index < FData.SystemColors.size() ? FData.SystemColors[index] : Color;
}

TColor TFlatStyleServices::GetStyleColor(TStyleColor Color) const {
  return Color >= 0 && Color < kStyleColorCount ? FData.StyleColors[Color] : FData.Window;
}

TColor TFlatStyleServices::GetStyleFontColor(TStyleFont Font) const {
  return Font >= 0 && Font < kStyleFontCount ? FData.FontColors[Font] : FData.FontColors[sfWindowTextNormal];
}

bool TFlatStyleServices::DrawParentBackground(HWND Wnd, HDC DC, const TRect* R, bool) const {
  HWND parent = Wnd != nullptr ? ::GetParent(Wnd) : nullptr;
  if (parent == nullptr || DC == nullptr) return false;
  POINT origin{0, 0};
  ::MapWindowPoints(Wnd, parent, &origin, 1);
  TDCStateSaver saved(DC);
  if (R != nullptr) ::IntersectClipRect(DC, R->Left, R->Top, R->Right, R->Bottom);
  POINT old{};
  ::OffsetViewportOrgEx(DC, -origin.x, -origin.y, &old);
  RECT client{};
  ::GetClientRect(parent, &client);
  ::IntersectClipRect(DC, client.left, client.top, client.right, client.bottom);
  // The parent paints itself, through the style: framework controls by their own painting,
  // other windows by their erase and print messages.
  if (TWinControl* control = TWinControl::FindControl(parent)) {
    control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    if (dynamic_cast<TCustomForm*>(control) == nullptr) control->PaintWindow(DC);
  } else {
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  }
  return true;
}
