// The flat painter of custom styles: every element as fills, 1-pixel borders, rounded
// corners and line-drawn glyphs in the colours of the style's description. One routine per
// element kind; all sizes are at 96 DPI times the scale.
#include <cmath>

#include "framework/GdiObjects.h"
#include "framework/StyleInternal.h"

namespace {

int Px(double Value, double Scale) { return std::max(1, static_cast<int>(std::lround(Value * Scale))); }

bool Has(TColor Color) { return Color != clNone; }
COLORREF Ref(TColor Color) { return static_cast<COLORREF>(ColorToRGB(Color)); }

void Fill(HDC DC, const TRect& R, TColor Color) {
  if (!Has(Color) || R.IsEmpty()) return;
  TBrushHandle brush(::CreateSolidBrush(Ref(Color)));
  ::FillRect(DC, R.AsRECT(), brush.Get());
}

void FrameLine(HDC DC, const TRect& R, TColor Color) {
  if (!Has(Color) || R.IsEmpty()) return;
  TBrushHandle brush(::CreateSolidBrush(Ref(Color)));
  ::FrameRect(DC, R.AsRECT(), brush.Get());
}

// A box with rounded corners: Fill inside a 1-pixel Border (either may be clNone). Radius 0
// gives a plain rectangle.
void RoundBox(HDC DC, const TRect& R, int Radius, TColor FillColor, TColor Border) {
  if (R.IsEmpty() || (!Has(FillColor) && !Has(Border))) return;
  Radius = std::min({Radius, R.Width() / 2, R.Height() / 2});
  if (Radius <= 1) {
    Fill(DC, R, FillColor);
    FrameLine(DC, R, Border);
    return;
  }
  // The pen draws the outline inside the rectangle; without a border it takes the fill's
  // colour, so the shape keeps its size.
  const TColor edge = Has(Border) ? Border : FillColor;
  TPenHandle pen(::CreatePen(PS_SOLID, 1, Ref(edge)));
  TBrushHandle brush(Has(FillColor) ? ::CreateSolidBrush(Ref(FillColor)) : nullptr);
  TSelectObject selPen(DC, pen.Get());
  TSelectObject selBrush(DC, Has(FillColor) ? static_cast<HGDIOBJ>(brush.Get()) : ::GetStockObject(NULL_BRUSH));
  ::RoundRect(DC, R.Left, R.Top, R.Right, R.Bottom, 2 * Radius, 2 * Radius);
}

void Ellipse(HDC DC, const TRect& R, TColor FillColor, TColor Border) {
  if (R.IsEmpty()) return;
  TPenHandle pen(::CreatePen(PS_SOLID, 1, Ref(Has(Border) ? Border : FillColor)));
  TBrushHandle brush(::CreateSolidBrush(Ref(FillColor)));
  TSelectObject selPen(DC, pen.Get());
  TSelectObject selBrush(DC, brush.Get());
  ::Ellipse(DC, R.Left, R.Top, R.Right, R.Bottom);
}

// A polyline of Width pixels with square ends.
void Lines(HDC DC, const POINT* Points, int Count, TColor Color, int Width) {
  if (!Has(Color)) return;
  LOGBRUSH lb{BS_SOLID, Ref(Color), 0};
  TPenHandle pen(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                static_cast<DWORD>(Width), &lb, 0, nullptr));
  TSelectObject sel(DC, pen.Get());
  ::Polyline(DC, Points, Count);
}

void Line(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color, int Width) {
  const POINT p[2] = {{X1, Y1}, {X2, Y2}};
  Lines(DC, p, 2, Color, Width);
}

TPoint Centre(const TRect& R) { return TPoint(R.Left + R.Width() / 2, R.Top + R.Height() / 2); }

// A chevron pointing Dir (0 left, 1 right, 2 up, 3 down), Size pixels across, centred in R.
void Chevron(HDC DC, const TRect& R, int Dir, int Size, TColor Color, double Scale) {
  const TPoint c = Centre(R);
  const int h = std::max(2, Size / 2), q = std::max(1, Size / 4);
  POINT p[3];
  switch (Dir) {
    case 0: p[0] = {c.X + q, c.Y - h}; p[1] = {c.X - q, c.Y}; p[2] = {c.X + q, c.Y + h}; break;
    case 1: p[0] = {c.X - q, c.Y - h}; p[1] = {c.X + q, c.Y}; p[2] = {c.X - q, c.Y + h}; break;
    case 2: p[0] = {c.X - h, c.Y + q}; p[1] = {c.X, c.Y - q}; p[2] = {c.X + h, c.Y + q}; break;
    default: p[0] = {c.X - h, c.Y - q}; p[1] = {c.X, c.Y + q}; p[2] = {c.X + h, c.Y - q}; break;
  }
  Lines(DC, p, 3, Color, Px(1, Scale));
}

// A check mark filling most of Box.
void CheckMark(HDC DC, const TRect& Box, TColor Color, double Scale) {
  const int w = Box.Width(), h = Box.Height();
  const POINT p[3] = {{Box.Left + w * 22 / 100, Box.Top + h * 50 / 100},
                      {Box.Left + w * 42 / 100, Box.Top + h * 70 / 100},
                      {Box.Left + w * 78 / 100, Box.Top + h * 30 / 100}};
  Lines(DC, p, 3, Color, Px(1.5, Scale));
}

// ---- Element kinds ----------------------------------------------------------------------

struct TPainter {
  const TStyleDescription& S;
  HDC DC;
  const TThemedElementDetails& D;
  TRect R;
  double Scale;
  TFlatLook L;

  TColor FillAt() const { return L.Face->Fill.At(L.Column); }
  TColor BorderAt() const { return L.Face->Border.At(L.Column); }
  TColor TextAt() const { return L.Face->Text.At(L.Column); }
  int Radius() const { return Px(S.CornerRadius, Scale); }

  void Face() const { RoundBox(DC, R, Radius(), FillAt(), BorderAt()); }

  void PushButton() const {
    Face();
    if (D.State != PBS_DEFAULTED) return;
    // The default button: a 2-pixel border in the focus colour.
    RoundBox(DC, R, Radius(), clNone, S.FocusBorder);
    TRect inner = R;
    inner.Inflate(-1, -1);
    RoundBox(DC, inner, std::max(0, Radius() - 1), clNone, S.FocusBorder);
  }

  void CheckBox() const {
    RoundBox(DC, R, Px(3, Scale), FillAt(), BorderAt());
    const int kind = (D.State - 1) / 4;  // unchecked, checked, mixed
    if (kind == 1) CheckMark(DC, R, TextAt(), Scale);
    if (kind == 2) {
      const TPoint c = Centre(R);
      const int half = R.Width() / 4, thick = Px(2, Scale);
      Fill(DC, TRect(c.X - half, c.Y - thick / 2, c.X + half, c.Y - thick / 2 + thick), TextAt());
    }
  }

  void Button() const {
    if (D.Part == BP_CHECKBOX) CheckBox();
    else PushButton();
  }

  void Header() const {
    Fill(DC, R, FillAt());
    // A separator at the right, a line along the bottom.
    const int inset = std::min(Px(4, Scale), R.Height() / 4);
    Fill(DC, TRect(R.Right - 1, R.Top + inset, R.Right, R.Bottom - inset), BorderAt());
    Fill(DC, TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BorderAt());
  }

  void Tab() const {
    if (D.Part == TABP_PANE) {
      Fill(DC, R, FillAt());
      FrameLine(DC, R, L.Face->Border.Normal);
      return;
    }
    const bool selected = L.Column == 2;
    // Rounded at the top only: the bottom corners are drawn below the rectangle and cut off.
    TRect shape = R;
    shape.Bottom += Radius() + 1;
    TDCStateSaver clip(DC);
    ::IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    RoundBox(DC, shape, Radius(), FillAt(), selected ? BorderAt() : clNone);
    // The selected tab's mark: an accent bar along its top.
    if (selected) Fill(DC, TRect(R.Left + Radius(), R.Top + 1, R.Right - Radius(), R.Top + 1 + Px(2, Scale)), S.Accent);
  }

  void Field() const {
    RoundBox(DC, R, Radius(), FillAt(), BorderAt());
    // Focused fields get an accent line along the bottom.
    if (L.Column == 2) Fill(DC, TRect(R.Left + 1, R.Bottom - Px(2, Scale), R.Right - 1, R.Bottom), S.Accent);
  }

  void DropDownButton() const {
    if (L.Column == 1 || L.Column == 2) {
      TRect face = R;
      face.Inflate(-1, -1);
      RoundBox(DC, face, Radius(), FillAt(), clNone);
    }
    Chevron(DC, R, 3, Px(8, Scale), TextAt(), Scale);
  }

  void ComboBox() const {
    if (D.Part == CP_BORDER) Field();
    else DropDownButton();
  }

  void Edit() const {
    if (D.Part == EP_EDITTEXT) Fill(DC, R, FillAt());
    else Field();
  }

  void Spin() const {
    Face();
    static const int kDirs[] = {2, 3, 1, 0};  // up, down, right (up-horz), left (down-horz)
    const int dir = kDirs[std::clamp(D.Part - SPNP_UP, 0, 3)];
    Chevron(DC, R, dir, std::max(4, std::min(R.Width(), R.Height()) / 2), TextAt(), Scale);
  }

  void ScrollBar() const {
    const TColor track = S.ScrollArrow.Fill.Normal;
    if (D.Part == SBP_ARROWBTN) {
      Fill(DC, R, track);
      if (L.Column == 1 || L.Column == 2) {
        TRect face = R;
        face.Inflate(-1, -1);
        RoundBox(DC, face, Radius(), FillAt(), clNone);
      }
      static const int kDirs[] = {2, 3, 0, 1};  // up, down, left, right families
      Chevron(DC, R, kDirs[std::clamp((D.State - 1) / 4, 0, 3)], std::max(4, std::min(R.Width(), R.Height()) * 2 / 5),
              TextAt(), Scale);
      return;
    }
    Fill(DC, R, track);
    if (D.Part == SBP_THUMBBTNHORZ || D.Part == SBP_THUMBBTNVERT) {
      TRect thumb = R;
      const int across = Px(4, Scale);
      if (D.Part == SBP_THUMBBTNHORZ) thumb.Inflate(-1, -std::min(across, R.Height() / 3));
      else thumb.Inflate(-std::min(across, R.Width() / 3), -1);
      RoundBox(DC, thumb, std::min(thumb.Width(), thumb.Height()) / 2, FillAt(), clNone);
    }
  }

  void CaptionGlyph(const TRect& Box) const {
    const TColor c = TextAt();
    const int w = Px(1, Scale), g = Px(10, Scale);
    const TPoint m = Centre(Box);
    const int l = m.X - g / 2, t = m.Y - g / 2, r = l + g, b = t + g;
    switch (D.Part) {
      case WP_MINBUTTON: Line(DC, l, m.Y, r, m.Y, c, w); break;
      case WP_MAXBUTTON: RoundBox(DC, TRect(l, t, r + 1, b + 1), Px(1, Scale), clNone, c); break;
      case WP_RESTOREBUTTON: {
        const int o = Px(2, Scale);
        RoundBox(DC, TRect(l, t + o, r - o + 1, b + 1), Px(1, Scale), clNone, c);
        const POINT back[3] = {{l + o, t + o}, {l + o, t}, {r, t}};
        const POINT side[2] = {{r, t}, {r, b - o}};
        Lines(DC, back, 3, c, w);
        Lines(DC, side, 2, c, w);
        break;
      }
      case WP_HELPBUTTON: {
        const POINT q[5] = {{l + g / 4, t + g / 4}, {m.X, t}, {r - g / 4, t + g / 4}, {m.X, m.Y}, {m.X, m.Y + g / 5}};
        Lines(DC, q, 5, c, w);
        Fill(DC, TRect(m.X, b - w, m.X + w, b), c);
        break;
      }
      default:  // close
        Line(DC, l, t, r, b, c, w);
        Line(DC, l, b, r, t, c, w);
        break;
    }
  }

  void Window() const {
    switch (D.Part) {
      case 0: Fill(DC, R, S.Window); return;
      case WP_CAPTION: case WP_SMALLCAPTION: Fill(DC, R, FillAt()); return;
      case WP_FRAMELEFT: case WP_SMALLFRAMELEFT:
        Fill(DC, R, FillAt());
        Fill(DC, TRect(R.Left, R.Top, R.Left + 1, R.Bottom), BorderAt());
        return;
      case WP_FRAMERIGHT: case WP_SMALLFRAMERIGHT:
        Fill(DC, R, FillAt());
        Fill(DC, TRect(R.Right - 1, R.Top, R.Right, R.Bottom), BorderAt());
        return;
      case WP_FRAMEBOTTOM: case WP_SMALLFRAMEBOTTOM:
        Fill(DC, R, FillAt());
        Fill(DC, TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BorderAt());
        return;
      case WP_SYSBUTTON: return;  // the window's icon goes there
      default:
        Fill(DC, R, FillAt());
        CaptionGlyph(R);
        return;
    }
  }

  void Status() const {
    if (D.Part == SP_GRIPPER) {
      // Six dots in a triangle at the bottom-right corner.
      const int dot = Px(2, Scale), step = Px(4, Scale);
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col) {
          const int x = R.Right - step * (col + 1), y = R.Bottom - step * (3 - row);
          Fill(DC, TRect(x, y, x + dot, y + dot), L.Face->Text.Normal);
        }
      return;
    }
    Fill(DC, R, FillAt());
    Fill(DC, TRect(R.Left, R.Top, R.Right, R.Top + 1), BorderAt());
  }

  void Menu() const {
    const TColor text = TextAt();
    switch (D.Part) {
      case MENU_POPUPBACKGROUND:
        Fill(DC, R, FillAt());
        FrameLine(DC, R, BorderAt());
        return;
      case MENU_BARBACKGROUND: Fill(DC, R, FillAt()); return;
      case MENU_POPUPSEPARATOR: {
        const int y = R.Top + R.Height() / 2;
        Fill(DC, TRect(R.Left + Px(4, Scale), y, R.Right - Px(4, Scale), y + 1), S.Menu.Border.Normal);
        return;
      }
      case MENU_POPUPGUTTER: return;
      case MENU_POPUPCHECK:
        if (D.State == MC_BULLETNORMAL || D.State == MC_BULLETDISABLED) {
          const TPoint c = Centre(R);
          const int r = Px(3, Scale);
          Ellipse(DC, TRect(c.X - r, c.Y - r, c.X + r, c.Y + r), text, text);
        } else {
          TRect box = R;
          const int side = std::min({R.Width(), R.Height(), Px(14, Scale)});
          box = TRect(Centre(R).X - side / 2, Centre(R).Y - side / 2, Centre(R).X - side / 2 + side,
                      Centre(R).Y - side / 2 + side);
          CheckMark(DC, box, text, Scale);
        }
        return;
      case MENU_POPUPSUBMENU: Chevron(DC, R, 1, Px(8, Scale), text, Scale); return;
      default: {
        // Items: a rounded highlight inset from the menu's edges when hot or pressed.
        TRect item = R;
        if (D.Part == MENU_POPUPITEM) item.Inflate(-Px(4, Scale), -Px(1, Scale));
        RoundBox(DC, item, Radius(), FillAt(), clNone);
        return;
      }
    }
  }

  void ToggleSwitch() const {
    if (D.Part == 3) {
      TRect thumb = R;
      const int inset = std::min(Px(3, Scale), std::min(R.Width(), R.Height()) / 4);
      thumb.Inflate(-inset, -inset);
      const int side = std::min(thumb.Width(), thumb.Height());
      const TPoint c = Centre(thumb);
      Ellipse(DC, TRect(c.X - side / 2, c.Y - side / 2, c.X - side / 2 + side, c.Y - side / 2 + side), FillAt(),
              BorderAt());
      return;
    }
    RoundBox(DC, R, R.Height() / 2, FillAt(), BorderAt());
  }

  void ListItem() const { Fill(DC, R, FillAt()); }

  void Progress() const {
    if (D.Part == PP_BAR || D.Part == PP_BARVERT) RoundBox(DC, R, Px(2, Scale), FillAt(), BorderAt());
    else RoundBox(DC, R, Px(2, Scale), FillAt(), clNone);
  }

  void ToolTip() const { RoundBox(DC, R, Radius(), FillAt(), BorderAt()); }

  void Root() const {
    const TColor c = D.Element == teMenu || D.Element == teToolTip || D.Element == teStatus ? FillAt()
                     : D.Element == teEdit || D.Element == teComboBox || D.Element == teListView
                         ? S.Field.Fill.Normal
                         : S.Window;
    Fill(DC, R, c);
  }

  void Draw() const {
    if (L.Face == nullptr) return;
    if (D.Part == 0) {
      Root();
      return;
    }
    switch (D.Element) {
      case teButton: Button(); break;
      case teComboBox: ComboBox(); break;
      case teEdit: Edit(); break;
      case teHeader: Header(); break;
      case teListView: ListItem(); break;
      case teMenu: Menu(); break;
      case teProgress: Progress(); break;
      case teScrollBar: ScrollBar(); break;
      case teSpin: Spin(); break;
      case teStatus: Status(); break;
      case teTab: Tab(); break;
      case teToolBar: Face(); break;
      case teToolTip: ToolTip(); break;
      case teWindow: Window(); break;
      case teToggleSwitch: ToggleSwitch(); break;
    }
  }
};

}  // namespace

void FlatDrawElement(const TStyleDescription& Style, HDC DC, const TThemedElementDetails& Details, const TRect& R,
                     double Scale) {
  const TPainter painter{Style, DC, Details, R, Scale, FlatLook(Style, Details)};
  painter.Draw();
}

bool FlatCaptionButtonRect(const TStyleDescription& Style, const TThemedElementDetails& Details, const TRect& Bounds,
                           TRect& Rect, int DPI) {
  if (Details.Element != teWindow) return false;
  // Slots from the right: close, then maximise (or restore, or help), then minimise.
  int slot = 0;
  bool small = false;
  switch (Details.Part) {
    case WP_CLOSEBUTTON: break;
    case WP_SMALLCLOSEBUTTON: small = true; break;
    case WP_MAXBUTTON: case WP_RESTOREBUTTON: case WP_HELPBUTTON: slot = 1; break;
    case WP_MINBUTTON: slot = 2; break;
    default: return false;
  }
  const double scale = DPI > 0 ? DPI / 96.0 : 1.0;
  const int width = static_cast<int>(std::lround((small ? Style.CaptionButtonWidth * 3 / 4 : Style.CaptionButtonWidth) * scale));
  const int height = std::min(Bounds.Height(),
                              static_cast<int>(std::lround((small ? Style.SmallCaptionHeight : Style.CaptionHeight) * scale)));
  const int right = Bounds.Right - slot * width;
  Rect = TRect(std::max(Bounds.Left, right - width), Bounds.Top, std::max(Bounds.Left, right), Bounds.Top + height);
  return true;
}
