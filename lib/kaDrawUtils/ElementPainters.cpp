#include "lib/kaDrawUtils/ElementPainters.h"

#include "framework/Controls.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaDrawUtils/TextDrawing.h"

namespace {

// How far a segmented element reaches beyond an inner edge, so its rounded end is cut off.
constexpr int kSegmentOverlap = 20;
constexpr uint8_t kSeparatorAlpha = 125;
constexpr uint8_t kDisabledTabAlpha = 150;

TCustomStyleServices* Styles(const TControl* Control) { return StyleServices(Control); }

template <class TDetail>
void DrawStyled(TCanvas* Canvas, const TControl* Control, TDetail Detail, const TRect& Rect) {
  Canvas->Changing();
  Styles(Control)->DrawElement(Canvas->Handle(), TCustomStyleServices::GetElementDetails(Detail), Rect);
  Canvas->Changed();
}

void FillFace(TCanvas* Canvas, const TRect& Rect) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(Rect);
}

void FrameControl(TCanvas* Canvas, const TRect& Rect, UINT Type, UINT State) {
  RECT r = *Rect.AsRECT();
  Canvas->Changing();
  ::DrawFrameControl(Canvas->Handle(), &r, Type, State);
  Canvas->Changed();
}

void ClassicPushButton(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State) {
  FrameControl(Canvas, Rect, DFC_BUTTON, DFCS_BUTTONPUSH | (State == kasPressed ? DFCS_PUSHED : 0));
}

void ClassicToolButton(TCanvas* Canvas, TRect Rect, TkasCtrlState State) {
  if (State == kasHot || State == kasFocused) Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, 1);
  if (State == kasPressed) Frame3D(Canvas, Rect, clBtnShadow, clBtnHighlight, 1);
}

// The focus rectangle of a push-button face, in the state's text colour.
void PushButtonFocus(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                     double Scale) {
  TRect r = Rect;
  r.Inflate(-3, -3);
  if (!Styles(Control)->Enabled()) {
    if (IsCustomStyleActiveFor(Control)) return;
    Canvas->Changing();
    {
      TDCStateSaver saved(Canvas->Handle());
      ::SetTextColor(Canvas->Handle(), static_cast<COLORREF>(ColorToRGB(clBtnText)));
      ::SetBkColor(Canvas->Handle(), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
      ::DrawFocusRect(Canvas->Handle(), r.AsRECT());
    }
    Canvas->Changed();
    return;
  }
  if (!Styles(Control)->IsSystemStyle()) return;
  Canvas->Font()->SetColor(GetButtonTextColor(State, Control));
  DrawFocusRectangle(Canvas, r, Scale);
}

// Draws Paint's face onto a copy of what lies in Rect, then puts that copy back, blended at
// Alpha below 255.
template <class F>
void DrawOnLayer(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha, F&& Paint) {
  if (Rect.IsEmpty()) return;
  const int w = Rect.Width(), h = Rect.Height();
  TBitmap layer(w, h);
  TCanvas* lc = layer.Canvas();
  HDC dc = Canvas->Handle();
  ::BitBlt(lc->Handle(), 0, 0, w, h, dc, Rect.Left, Rect.Top, SRCCOPY);
  Paint(lc, TRect(0, 0, w, h));
  Canvas->Changing();
  if (Alpha == 255) {
    ::BitBlt(dc, Rect.Left, Rect.Top, w, h, lc->Handle(), 0, 0, SRCCOPY);
  } else {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, 0};
    ::AlphaBlend(dc, Rect.Left, Rect.Top, w, h, lc->Handle(), 0, 0, w, h, blend);
  }
  Canvas->Changed();
}

// The rectangle a segmented element is drawn on: wider beyond its inner edges.
TRect SegmentRect(const TRect& Rect, TkaSegmentPart Part) {
  TRect r = Rect;
  if (Part == kaspLeft || Part == kaspMiddle) r.Right += kSegmentOverlap;
  if (Part == kaspRight || Part == kaspMiddle) r.Left -= kSegmentOverlap;
  return r;
}

void SegmentSeparators(TCanvas* Canvas, const TRect& Rect, TkaSegmentPart Part, const TControl* Control) {
  const int length = Rect.Height() - 4;
  if (Part == kaspLeft || Part == kaspMiddle)
    DrawElementSeparator(Canvas, TPoint(Rect.Right - 2, Rect.Top + 2), length, false, Control);
  if (Part == kaspRight || Part == kaspMiddle)
    DrawElementSeparator(Canvas, TPoint(Rect.Left, Rect.Top + 2), length, false, Control);
}

}  // namespace

void DrawPushButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                           double Scale, bool DrawFocus) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  static const TThemedButton details[5] = {tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed,
                                           tbPushButtonDefaulted, tbPushButtonDisabled};
  if (Styles(Control)->Enabled())
    DrawStyled(Canvas, Control, details[State], Rect);
  else
    ClassicPushButton(Canvas, Rect, State);
  if (DrawFocus) PushButtonFocus(Canvas, Rect, State, Control, Scale);
}

void DrawToolButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  static const TThemedToolBar details[5] = {ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonHot,
                                            ttbButtonDisabled};
  if (Styles(Control)->Enabled())
    DrawStyled(Canvas, Control, details[State], Rect);
  else
    ClassicToolButton(Canvas, Rect, State);
}

void DrawHeaderSectionElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  static const TThemedGrid details[5] = {tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgFixedCellHot,
                                         tgFixedCellNormal};
  if (Styles(Control)->Enabled()) {
    DrawStyled(Canvas, Control, details[State], Rect);
    return;
  }
  FillFace(Canvas, Rect);
  TRect frame = Rect;
  if (State == kasPressed)
    Frame3D(Canvas, frame, clBtnShadow, clBtnHighlight, 1);
  else
    Frame3D(Canvas, frame, clBtnHighlight, clBtnShadow, 1);
}

void DrawTabElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  const bool selected = State == kasPressed || State == kasFocused;
  if (Styles(Control)->Enabled()) {
    if (State == kasDisabled) {
      DrawOnLayer(Canvas, Rect, kDisabledTabAlpha,
                  [Control](TCanvas* Layer, const TRect& R) { DrawStyled(Layer, Control, ttTabItemNormal, R); });
      return;
    }
    TRect r = Rect;
    if (selected) r.Bottom += 2;
    const TThemedTab detail = selected ? ttTabItemSelected : State == kasHot ? ttTabItemHot : ttTabItemNormal;
    TCanvasStateSaver clip(Canvas, Rect);
    DrawStyled(Canvas, Control, detail, r);
    return;
  }
  TRect r = Rect;
  if (!selected) r.Top += 2;
  if (r.IsEmpty()) return;
  FillFace(Canvas, r);
  // The open side of a tab is its bottom: light top and left, shadowed right.
  Canvas->Changing();
  HDC dc = Canvas->Handle();
  DrawAlphaFill(dc, TRect(r.Left, r.Top + 1, r.Left + 1, r.Bottom), ColorToRGB(clBtnHighlight), 255);
  DrawAlphaFill(dc, TRect(r.Left + 1, r.Top, r.Right - 1, r.Top + 1), ColorToRGB(clBtnHighlight), 255);
  DrawAlphaFill(dc, TRect(r.Right - 1, r.Top + 1, r.Right, r.Bottom), ColorToRGB(cl3DDkShadow), 255);
  DrawAlphaFill(dc, TRect(r.Right - 2, r.Top + 1, r.Right - 1, r.Bottom), ColorToRGB(clBtnShadow), 255);
  Canvas->Changed();
}

void DrawSegmentedElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                          TkaSegmentPart Part, double Scale, bool DrawFocus) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  const TkasCtrlState face = State == kasFocused ? kasHot : State;
  {
    TCanvasStateSaver clip(Canvas, Rect);
    DrawPushButtonElement(Canvas, SegmentRect(Rect, Part), face, Control, Scale, false);
  }
  SegmentSeparators(Canvas, Rect, Part, Control);
  if (DrawFocus) PushButtonFocus(Canvas, Rect, State, Control, Scale);
}

void DrawSegmentedToolElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                              TkaSegmentPart Part) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  {
    TCanvasStateSaver clip(Canvas, Rect);
    DrawToolButtonElement(Canvas, SegmentRect(Rect, Part), State, Control);
  }
  SegmentSeparators(Canvas, Rect, Part, Control);
}

void DrawSpinButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control,
                           int Direction) {
  if (Canvas == nullptr || Rect.IsEmpty() || Direction < kaArrowLeft || Direction > kaArrowDown) return;
  // Families of four (normal, hot, pressed, disabled) by direction, as the enumerations list
  // them; focused shows hot.
  static const int column[5] = {0, 1, 2, 1, 3};
  const int dir = Direction - kaArrowLeft;  // left, right, up, down
  if (IsCustomStyleActiveFor(Control) && Styles(Control)->Enabled()) {
    static const TThemedScrollBar first[4] = {tsArrowBtnLeftNormal, tsArrowBtnRightNormal, tsArrowBtnUpNormal,
                                              tsArrowBtnDownNormal};
    DrawStyled(Canvas, Control, static_cast<TThemedScrollBar>(first[dir] + column[State]), Rect);
  } else if (Styles(Control)->Enabled()) {
    static const TThemedSpin first[4] = {tsDownHorzNormal, tsUpHorzNormal, tsUpNormal, tsDownNormal};
    DrawStyled(Canvas, Control, static_cast<TThemedSpin>(first[dir] + column[State]), Rect);
  } else {
    static const UINT arrow[4] = {DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLUP, DFCS_SCROLLDOWN};
    UINT flags = arrow[dir];
    if (State == kasPressed) flags |= DFCS_PUSHED;
    if (State == kasDisabled) flags |= DFCS_INACTIVE;
    FrameControl(Canvas, Rect, DFC_SCROLL, flags);
  }
}

void DrawDropDownButtonElement(TCanvas* Canvas, const TRect& Rect, TkasCtrlState State, const TControl* Control) {
  if (Canvas == nullptr || Rect.IsEmpty()) return;
  static const TThemedComboBox details[5] = {tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed,
                                             tcDropDownButtonHot, tcDropDownButtonDisabled};
  if (Styles(Control)->Enabled()) {
    DrawStyled(Canvas, Control, details[State], Rect);
    return;
  }
  ClassicPushButton(Canvas, Rect, State);
  DrawTriangleArrow(Canvas, Rect, clBtnText, 1, kaArrowDown);
}

void DrawElementSeparator(TCanvas* Canvas, TPoint From, int Length, bool Horizontal, const TControl* Control) {
  if (Canvas == nullptr || Length <= 0) return;
  const bool styled = Styles(Control)->Enabled();
  const TColor shadow = ColorToRGB(styled ? GetStyleSystemColor(clBtnShadow, Control) : clBtnShadow);
  const TColor light = ColorToRGB(styled ? GetStyleSystemColor(clBtnHighlight, Control) : clBtnHighlight);
  const int x = From.X, y = From.Y;
  const TRect first = Horizontal ? TRect(x, y, x + Length, y + 1) : TRect(x, y, x + 1, y + Length);
  const TRect second = Horizontal ? TRect(x, y + 1, x + Length, y + 2) : TRect(x + 1, y, x + 2, y + Length);
  Canvas->Changing();
  DrawAlphaFill(Canvas->Handle(), first, shadow, kSeparatorAlpha);
  DrawAlphaFill(Canvas->Handle(), second, light, kSeparatorAlpha);
  Canvas->Changed();
}
