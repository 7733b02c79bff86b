// The combo box's face: the places of the row and the drop-down button, the eleven looks with
// their text colours and arrows, and the selected row (or the checked captions) drawn in it.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaAdvancedControls/AdvancedDrawing.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

using kaadvanced::DrawTextIn;
using kaadvanced::FillWith;
using kaadvanced::MeasureText;

bool HoldsImage(const TCustomImageList* List, int Index) {
  return List != nullptr && Index >= 0 && Index < List->Count();
}

bool HasAnyMargin(const TRect& M) { return M.Left > 0 || M.Top > 0 || M.Right > 0 || M.Bottom > 0; }

// The glow bitmaps of one face paint.
struct TGlowBuffers {
  TBitmap* Text = nullptr;
  TBitmap* Image = nullptr;
  TGlowBuffers() = default;
  TGlowBuffers(const TGlowBuffers&) = delete;
  TGlowBuffers& operator=(const TGlowBuffers&) = delete;
  ~TGlowBuffers() {
    delete Text;
    delete Image;
  }
};

}  // namespace

// ---- Places ---------------------------------------------------------------------------------

int TkaAdvancedCustomCombo::FaceImageIndex(TkasCtrlState S) const {
  if (FStyle != kacbCustomImage && FStyle != kacbCustomImageOverContent) return -1;
  const int index = FCustomImageIndex[S];
  // A state without a picture of its own shows the normal one.
  if (HasCustomImage(index)) return index;
  return HasCustomImage(FCustomImageIndex[kasNormal]) ? FCustomImageIndex[kasNormal] : -1;
}

TkasCtrlState TkaAdvancedCustomCombo::FaceState(TkasCtrlState Base, bool Focus) const {
  if (Base == kasDisabled) return kasDisabled;
  switch (FStyle) {
    case kacbPushButton:
    case kacbPushButtonTransparent:
      return FDropDown ? kasPressed : Focus ? kasHot : Base;
    case kacbToolButton:
    case kacbToolButtonTransparent:
      return FDropDown ? kasPressed : Base;
    case kacbColorCombo:
    case kacbCustomImage:
    case kacbCustomImageOverContent:
      return FDropDown ? kasPressed : Focus ? kasFocused : Base;
    default:
      return Base;
  }
}

void TkaAdvancedCustomCombo::CalcFaceRects(TkasCtrlState S) {
  const int w = Width(), h = Height();
  const bool rtl = UseRightToLeftAlignment();
  const int arrowWidth =
      HasCustomImage(FCustomArrowImageIndex[0]) ? FCustomImages->GetWidth(FCustomArrowImageIndex[0], ScaleFactor()) : 0;
  int scrollWidth = ::GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(CurrentPPI()));
  if (scrollWidth <= 0) scrollWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  const int face = FaceImageIndex(S);
  if (face >= 0) {
    const TRect m = FStyle == kacbCustomImage ? FCustomImages->GetMargins(face, ScaleFactor())
                                              : FCustomImages->GetContentMargins(face, ScaleFactor());
    if (HasAnyMargin(m)) {
      // The row and the button keep inside the picture's frame.
      const TRect inner(m.Left, m.Top, w - m.Right, h - m.Bottom);
      const int bw = std::max(scrollWidth, arrowWidth) + 1;
      if (rtl) {
        Button.R = TRect(m.Left / 2, inner.Top, m.Left / 2 + bw, inner.Bottom);
        CBItem.R = TRect(Button.R.Right + 1, inner.Top, inner.Right, inner.Bottom);
      } else {
        Button.R = TRect(w - m.Right / 2 - bw, inner.Top, w - m.Right / 2, inner.Bottom);
        CBItem.R = TRect(inner.Left, inner.Top, Button.R.Left - 1, inner.Bottom);
      }
      return;
    }
  }
  Button.R = TRect(0, 0, w, h);
  Button.R.Inflate(IsCustomStyleActive(this) ? -2 : -1, IsCustomStyleActive(this) ? -2 : -1);
  const int bw = std::max(FStyle == kacbCombo ? scrollWidth : Round(17 * ScaleFactor()), arrowWidth);
  if (rtl) {
    Button.R.Right = Button.R.Left + bw + 1;
    CBItem.R = TRect(Button.R.Left + bw + 2, 2, w - 2, h - 2);
  } else {
    Button.R.Left = Button.R.Right - bw - 1;
    CBItem.R = TRect(2, 2, Button.R.Left - 1, h - 2);
  }
  if (FStyle != kacbCombo && FStyle != kacbTransparent) CBItem.R.Inflate(-1, -1);
}

// ---- Looks ----------------------------------------------------------------------------------

TColor TkaAdvancedCustomCombo::ComboTextColor(TkasCtrlState Base, bool Focus) {
  // A hidden selection keeps the text in the field's colour.
  if (!Focus || FHideSelection) return GetEditTextColor(Base == kasDisabled ? kasDisabled : kasNormal, this);
  switch (FSelectionStyle) {
    case kaastStyled: return GetSelectionTextColor(this);
    case kaastColor:
      return FSelectionColor == clNone ? GetStyleSystemColor(clHighlightText, this) : FSelectionTextColor;
    case kaastGlow: return GetEditTextColor(kasNormal, this);
    default: return Font()->Color();
  }
}

TColor TkaAdvancedCustomCombo::PlainTextColor(TkasCtrlState Base) {
  if (FUseFontColorToStyleColor && Enabled()) return GetStyleSystemColor(Font()->Color(), this);
  return GetCheckBoxTextColor(Base, this);
}

TColor TkaAdvancedCustomCombo::DrawComboFace(TCanvas* ACanvas, TkasCtrlState Base, bool Focus) {
  const TRect f(0, 0, Width(), Height());
  const TThemedComboBox border = Focus ? tcBorderFocused : Base == kasHot ? tcBorderHot : tcBorderNormal;
  ACanvas->Changing();
  StyleServices(this)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(border), f);
  ACanvas->Changed();
  TRect field = f;
  field.Inflate(-2, -2);
  const bool styled = IsCustomStyleActive(this) && StyleElements().Contains(seClient);
  FillWith(ACanvas, field, styled ? GetEditColor(false, this) : Color());
  const TkasCtrlState button = Button.Down || FDropDown ? kasPressed
                               : Button.MouseIn         ? kasHot
                               : !Enabled()             ? kasDisabled
                                                        : kasNormal;
  DrawDropDownButtonElement(ACanvas, Button.R, button, this);
  return ComboTextColor(Base, Focus);
}

void TkaAdvancedCustomCombo::DrawBottomLine(TCanvas* ACanvas, TkasCtrlState Base, bool Focus) {
  TColor c = FBottomLineColor;
  if (FStyle == kacbTransparentActiveBottomLine && (Base == kasHot || Focus))
    c = GetStyleSystemColor(FBottomActiveLineColor, this);
  else if (StyleElements().Contains(seBorder) && IsCustomStyleActive(this))
    c = AverageColor(GetStyleSystemColor(clBtnFace, this),
                     AverageColor(GetStyleSystemColor(clBtnFace, this), GetCheckBoxTextColor(kasNormal, this)));
  FillWith(ACanvas, TRect(0, Height() - 1, Width(), Height()), c);
}

void TkaAdvancedCustomCombo::DrawFacePicture(TCanvas* ACanvas, TkasCtrlState S) {
  const int index = FaceImageIndex(S);
  if (index >= 0) FCustomImages->Draw(ACanvas, TRect(0, 0, Width(), Height()), index, ScaleFactor());
}

TColor TkaAdvancedCustomCombo::DrawFace(TCanvas* ACanvas, TkasCtrlState S, TkasCtrlState Base, bool Focus) {
  const TRect f(0, 0, Width(), Height());
  const bool lit = S == kasPressed || S == kasHot;
  switch (FStyle) {
    case kacbCombo: return DrawComboFace(ACanvas, Base, Focus);
    case kacbPushButton:
      DrawPushButtonElement(ACanvas, f, S, this, ScaleFactor(), false);
      return GetButtonTextColor(S, this);
    case kacbToolButton:
      DrawToolButtonElement(ACanvas, f, S, this);
      return GetToolButtonTextColor(S, this);
    case kacbPushButtonTransparent:
      if (!lit) return PlainTextColor(Base);
      DrawPushButtonElement(ACanvas, f, S, this, ScaleFactor(), false);
      return GetButtonTextColor(S, this);
    case kacbToolButtonTransparent:
      if (!lit) return PlainTextColor(Base);
      DrawToolButtonElement(ACanvas, f, S, this);
      return GetToolButtonTextColor(S, this);
    case kacbTransparentBottomLine:
    case kacbTransparentActiveBottomLine: DrawBottomLine(ACanvas, Base, Focus); return PlainTextColor(Base);
    case kacbColorCombo: {
      FColorOptions->SetState(S);
      if (FColorOptions->GetColor() != clNone) FillWith(ACanvas, f, FColorOptions->GetColor());
      const TColor frame = FColorOptions->GetFrameColor();
      TRect r = f;
      if (frame != clNone && FColorOptions->FrameWidth() > 0) Frame3D(ACanvas, r, frame, frame, FColorOptions->FrameWidth());
      return FColorOptions->GetFontColor();
    }
    case kacbCustomImage:
    case kacbCustomImageOverContent:
      if (FStyle == kacbCustomImage) DrawFacePicture(ACanvas, S);
      FColorOptions->SetState(S);
      return FColorOptions->GetFontColor();
    default: return PlainTextColor(Base);
  }
}

void TkaAdvancedCustomCombo::DrawArrow(TCanvas* ACanvas, TkasCtrlState S, TColor Color) {
  const int normal = FCustomArrowImageIndex[kasNormal];
  if (HasCustomImage(normal)) {
    // Only hot, pressed and disabled have arrows of their own.
    int index = S == kasFocused ? normal : FCustomArrowImageIndex[S];
    if (!HasCustomImage(index)) index = normal;
    const int w = FCustomImages->GetWidth(index, ScaleFactor()), h = FCustomImages->GetHeight(index, ScaleFactor());
    const int x = Button.R.Left + (Button.R.Width() - w) / 2, y = Button.R.Top + (Button.R.Height() - h) / 2;
    FCustomImages->Draw(ACanvas, TRect(x, y, x + w, y + h), index, ScaleFactor());
    return;
  }
  if (FStyle == kacbToolButton || FStyle == kacbToolButtonTransparent)
    DrawTriangleArrow(ACanvas, Button.R, Color, ScaleFactor(), kaArrowDown);
  else
    DrawComboArrow(ACanvas, Button.R, Color, this, ScaleFactor());
}

void TkaAdvancedCustomCombo::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  const TkasCtrlState base = ACtrlState == kasDisabled || !Enabled() ? kasDisabled
                             : ACtrlState == kasHot                 ? kasHot
                                                                    : kasNormal;
  const bool focus = base != kasDisabled && Focused();
  const TkasCtrlState s = FaceState(base, focus);
  CalcFaceRects(s);
  TColor c = DrawFace(ACanvas, s, base, focus);
  if (FStyle != kacbCombo) DrawArrow(ACanvas, FDropDown ? kasPressed : base, c);
  CBItem.State = (focus ? ODS_FOCUS | ODS_SELECTED : 0) | (base == kasDisabled ? ODS_DISABLED : 0);
  const bool drawn = DrawFaceItem(ACanvas, c, focus);
  if (FShowFocusRect && focus) {
    // Without a row the selection colours have nothing to stand on.
    if (!drawn && FStyle == kacbCombo) c = GetEditTextColor(kasNormal, this);
    ACanvas->Font()->SetColor(c);
    DrawFocusRectangle(ACanvas, CBItem.R, ScaleFactor());
  }
  if (FStyle == kacbCustomImageOverContent) DrawFacePicture(ACanvas, s);
}

// ---- The row --------------------------------------------------------------------------------

String TkaAdvancedCustomComboBox::CheckedItemsText() const {
  String text;
  for (int i = 0, n = Items()->Count(); i < n; ++i) {
    const TkaAdvancedListItem* item = Items()->Items(i);
    if (!item->Checked() || item->Caption().empty()) continue;
    if (!text.empty()) text += L"; ";
    text += item->Caption();
  }
  return text;
}

namespace {

// The steps of a row on the face, each with what the earlier ones left (the area shrinks as
// the title and the detail take their bands).
struct TkaComboRowPainter {
  TkaAdvancedCustomComboBox* B;
  TCanvas* C;
  TkaAdvancedListItem* Item;
  TRect R;
  TColor Color;
  bool Focus, Rtl, StyleFont, Recolour;

  double SF() const { return B->ScaleFactor(); }
  bool ImageColumn() const { return B->Images() != nullptr && B->ShowItemImage(); }

  void UseFont(TFont* Font) {
    C->SetFont(Font);
    if (Recolour) C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
  }

  void Title() {
    if (!B->ShowItemTitle() || Item->Title().empty()) return;
    UseFont(B->TitleFont());
    const TRect t(R.Left, R.Top, R.Right, R.Top + C->TextHeight(L"Wq"));
    DrawTextIn(C, Item->Title(), t, BiDiTextFlags(DT_SINGLELINE | DT_NOPREFIX | DT_LEFT, Rtl));
    R.Top = t.Bottom;
  }

  void Detail() {
    if (!B->ShowItemDetail()) return;
    UseFont(B->DetailFont());
    if (Item->CustomDetailTextColor() != clNone && Item->Enabled())
      C->Font()->SetColor(Item->CustomDetailTextColor());
    else if (StyleFont && !Focus)
      C->Font()->SetColor(AverageColor(Color, AverageColor(Color, GetStyleSystemColor(clWindow, B))));
    if (B->DetailPosition() == kalbdBottom)
      BottomDetail();
    else if (!Item->Detail().empty())
      RightDetail();
  }

  void BottomDetail() {
    TRect d = R;
    if (ImageColumn()) (Rtl ? d.Right : d.Left) += (Rtl ? -1 : 1) * (B->Images()->Width() + 5);
    d.Top = R.Bottom - C->TextHeight(L"Wq") - 4;
    DrawTextIn(C, Item->Detail(), d, BiDiTextFlags(DT_SINGLELINE | DT_NOPREFIX | DT_LEFT, Rtl));
    R.Bottom = d.Top;
  }

  void RightDetail() {
    const String& text = Item->Detail();
    TRect d;
    if (B->DetailWordWrap()) {
      const int margin = Round(5 * SF());
      const TSize size = MeasureText(C, text, R.Width() / 3, DT_WORDBREAK | DT_NOPREFIX);
      const int top = R.Top + (R.Height() - size.cy) / 2;
      d = Rtl ? TRect(R.Left + margin, top, R.Left + margin + size.cx, top + size.cy)
              : TRect(R.Right - margin - size.cx, top, R.Right - margin, top + size.cy);
      DrawTextIn(C, text, d, BiDiTextFlags(DT_WORDBREAK | DT_RIGHT | DT_NOPREFIX, Rtl));
    } else {
      const int w = C->TextWidth(text) + Round(4 * SF()) + 4;
      d = Rtl ? TRect(R.Left, R.Top, R.Left + w, R.Bottom) : TRect(R.Right - w, R.Top, R.Right, R.Bottom);
      DrawTextLine(C, text, d, true, Rtl);
    }
    if (Rtl)
      R.Left = d.Right;
    else
      R.Right = d.Left;
  }

  bool Glow() const {
    return B->SelectionStyle() == kaastGlow && !B->HideSelection() && Focus && B->Enabled();
  }

  TkaGlowParams GlowParams() const {
    const TkaGlowEffect* g = B->SelectionGlow();
    TkaGlowParams p;
    p.Alpha = g->AlphaValue();
    p.Intensive = g->Intensive();
    p.Size = g->GlowSize();
    p.Color = g->GetColor();
    p.Offset = g->Offset();
    return p;
  }

  void Caption() {
    C->SetFont(B->Font());
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
    if (Item->CustomTextColor() != clNone && Item->Enabled())
      C->Font()->SetColor(GetStyleSystemColor(Item->CustomTextColor(), B));
    const String caption = B->ShowItemText() ? Item->Caption() : String();
    if (B->ShowItemImage() && HoldsImage(B->Images(), Item->ImageIndex())) {
      const TButtonLayout layout = Rtl ? blGlyphRight : blGlyphLeft;
      if (Glow()) {
        TGlowBuffers buffers;
        DrawImageAndTextLeftWithGlow(C, R, 0, true, SF(), true, Rtl, false, clNone, false, B->Enabled(), B->Images(),
                                     Item->ImageIndex(), caption, layout, 5, false, buffers.Text, buffers.Image, true,
                                     true, GlowParams());
      } else {
        DrawImageAndTextLeft(C, R, 0, true, SF(), true, Rtl, false, clNone, false, B->Enabled(), B->Images(),
                             Item->ImageIndex(), caption, layout, 5, false);
      }
      return;
    }
    if (!B->ShowItemText()) return;
    if (ImageColumn()) (Rtl ? R.Right : R.Left) += (Rtl ? -1 : 1) * (B->Images()->Width() + 5);
    const TSize size = MeasureText(C, caption, R.Width(), DT_WORDBREAK | DT_NOPREFIX);
    const int top = std::max(R.Top, R.Top + (R.Height() - size.cy) / 2);
    const TRect t(R.Left, top, R.Right - 2, top + size.cy);
    if (Glow()) {
      const TkaGlowParams p = GlowParams();
      DrawTextWithGlow(C, t, caption, true, Rtl, p.Alpha, p.Intensive, p.Size, p.Color, p.Offset, DT_WORDBREAK);
    } else {
      DrawTextIn(C, caption, t, BiDiTextFlags(DT_WORDBREAK | DT_NOPREFIX, Rtl));
    }
  }
};

}  // namespace

bool TkaAdvancedCustomComboBox::DrawFaceItem(TCanvas* ACanvas, TColor& TextColor, bool Focus) {
  const int index = FDropDown ? FOldItemIndex : ItemIndex();
  const bool valid = index >= 0 && index < Items()->Count();
  if (!FCheckedListMode && !valid) return false;
  TCanvasStateSaver clip(ACanvas, CBItem.R);
  const bool custom = IsCustomStyleActive(this);
  if (FStyle == kacbCombo && Focus && !FHideSelection && FSelectionStyle != kaastGlow) {
    if (FSelectionStyle == kaastStyled)
      DrawAdvancedStyledSelection(ACanvas, CBItem.R, true, true, this);
    else
      FillWith(ACanvas, CBItem.R, FSelectionColor == clNone ? GetStyleSystemColor(clHighlight, this) : FSelectionColor);
    const bool own = FSelectionStyle == kaastColor && (FSelectionColor != clNone || !custom);
    TextColor = own ? FSelectionTextColor : GetSelectionTextColor(this);
  }
  ACanvas->SetFont(Font());
  ACanvas->Font()->SetColor(TextColor);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect r = CBItem.R;
  r.Inflate(-4, -2);
  if (OnDrawItem) {
    TkaDrawAdvancedListItemEvent handler = OnDrawItem;
    handler(ACanvas, index, r);
    return true;
  }
  const bool rtl = UseRightToLeftAlignment();
  if (FCheckedListMode) {
    const String text = CheckedItemsText();
    const UINT flags = DT_NOPREFIX | (FCheckedListWrap ? DT_WORDBREAK : DT_SINGLELINE);
    const TSize size = MeasureText(ACanvas, text, r.Width(), flags);
    const int top = std::max(r.Top, r.Top + (r.Height() - size.cy) / 2);
    DrawTextIn(ACanvas, text, TRect(r.Left, top, r.Right - 2, top + size.cy), BiDiTextFlags(flags, rtl));
    return true;
  }
  const bool styleFont = custom && StyleElements().Contains(seFont);
  TkaComboRowPainter p{this, ACanvas, Items()->Items(index), r, TextColor, Focus, rtl, styleFont,
                       styleFont || !Enabled() || Focus};
  p.Title();
  p.Detail();
  p.Caption();
  return true;
}
