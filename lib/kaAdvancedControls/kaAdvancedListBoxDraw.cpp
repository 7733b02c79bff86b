// Painting of the list box: only the rows inside the invalid part of the view are drawn,
// each by the steps below (background, selection, check box, title, progress bar, button
// place, detail, image and caption, button, separator, focus frame).
#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaAdvancedControls/AdvancedDrawing.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

// Narrows the clipping of a DC for one scope and puts the earlier clipping back, without
// saving the whole DC state (the canvas keeps changing fonts inside the scope).
class TClipScope {
 public:
  TClipScope(HDC DC, const TRect& R) : FDC(DC), FSaved(::CreateRectRgn(0, 0, 0, 0)) {
    FHad = FSaved && ::GetClipRgn(DC, FSaved.Get()) == 1;
    ::IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  }
  ~TClipScope() { ::SelectClipRgn(FDC, FHad ? FSaved.Get() : nullptr); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  HDC FDC;
  TRgnHandle FSaved;
  bool FHad = false;
};

// The glow bitmaps of one selected row, made for one paint.
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

using kaadvanced::DrawTextIn;
using kaadvanced::FillWith;
using kaadvanced::MeasureText;

bool HoldsImage(TCustomImageList* List, int Index) { return List != nullptr && Index >= 0 && Index < List->Count(); }

// An element drawn at constant opacity over what is there.
void DrawElementBlended(TCanvas* C, const TThemedElementDetails& Details, const TRect& R, uint8_t Alpha,
                        const TControl* Control) {
  if (R.IsEmpty()) return;
  TBitmap layer(R.Width(), R.Height());
  ::BitBlt(layer.Canvas()->Handle(), 0, 0, R.Width(), R.Height(), C->Handle(), R.Left, R.Top, SRCCOPY);
  StyleServices(Control)->DrawElement(layer.Canvas()->Handle(), Details, TRect(0, 0, R.Width(), R.Height()));
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, 0};
  ::AlphaBlend(C->Handle(), R.Left, R.Top, R.Width(), R.Height(), layer.Canvas()->Handle(), 0, 0, R.Width(),
               R.Height(), blend);
}

}  // namespace

void DrawAdvancedStyledSelection(TCanvas* ACanvas, const TRect& R, bool Focused, bool Shown, const TControl* Control) {
  ACanvas->Changing();
  if (IsCustomStyleActive(Control)) {
    DrawElementBlended(ACanvas, TCustomStyleServices::GetElementDetails(tgCellSelected), R, Shown ? 255 : 175, Control);
  } else if (StyleServices(Control)->Enabled()) {
    const auto look = Focused ? tlListItemSelected : tlListItemSelectedNotFocus;
    StyleServices(Control)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(look), R);
  } else {
    DrawAlphaFill(ACanvas->Handle(), R, ColorToRGB(clHighlight), Shown ? 255 : 200);
  }
  ACanvas->Changed();
}

// Draws one normal row; each step is a method so no step grows long.
struct TkaListRowPainter {
  TkaAdvancedListBox* L;
  TCanvas* C;
  int Index;
  TkaAdvancedListItem* Item;
  TRect Row, W;
  bool Rtl, Custom, StyleFont, Active, Selected, RowEnabled, Focus;
  TColor Bg = clWindow, Fg = clWindowText, Normal = clWindowText, Disabled = clGrayText;

  TkaListRowPainter(TkaAdvancedListBox* List, TCanvas* Canvas, int AIndex)
      : L(List), C(Canvas), Index(AIndex), Item(List->FItems->Items(AIndex)), Row(List->RowRectOf(Item)) {
    Rtl = L->UseRightToLeftAlignment();
    Custom = IsCustomStyleActive(L);
    StyleFont = Custom && L->StyleElements().Contains(seFont);
    Active = Index == L->FItemIndex;
    Selected = Active && Item->FEnabled && L->SelectionStyle() != kaastGlow;
    RowEnabled = Item->FEnabled && L->Enabled();
    Focus = L->Focused() || L->FPopupMode;
  }

  double SF() const { return L->ScaleFactor(); }

  void Background() {
    const bool group = L->FStyle != kaalbsPlain;
    bool image = false;
    if (L->FStyle == kaalbsGroup && L->HasCustomImage(L->FGroupBackgroundCustomImageIndex)) {
      L->CustomImages()->Draw(C, Row, L->FGroupBackgroundCustomImageIndex, SF());
      image = true;
    }
    Bg = Custom && L->StyleElements().Contains(seClient) ? GetEditColor(false, L)
         : group                                         ? L->FGroupBackgroundColor
                                                         : L->Color();
    if (L->BackgroundStyle() == kabgsColor || L->FStyle == kaalbsGroup) {
      if (L->FStyle == kaalbsGroup && !image)
        FillWith(C, Row, Bg);
      else if (Item->FAlternate && L->FAlternateRow)
        FillWith(C, Row, GetShadeColor(Bg));
    }
    // The row's own colour goes over the list's, under the selection.
    if (Item->FCustomColor != clNone && !Active) {
      const TColor c = ColorToRGB(GetStyleSystemColor(Item->FCustomColor, L));
      DrawAlphaFill(C->Handle(), Row, c, Item->FCustomColorAlpha);
    }
  }

  TColor TextColor(TkasCtrlState State) const {
    if (StyleFont)
      return L->BackgroundStyle() != kabgsColor ? GetCheckBoxTextColor(State, L) : GetEditTextColor(State, L);
    return State == kasDisabled ? clGrayText : L->Font()->Color();
  }

  void Selection() {
    Normal = TextColor(kasNormal);
    Disabled = TextColor(kasDisabled);
    Fg = RowEnabled ? Normal : Disabled;
    if (Selected) {
      if (L->SelectionStyle() == kaastColor)
        ColorSelection();
      else
        StyledSelection();
    } else if (RowEnabled && Item->FCustomTextColor != clNone) {
      Fg = GetStyleSystemColor(Item->FCustomTextColor, L);
    }
  }

  void ColorSelection() {
    const TColor fill = L->SelectionColor() == clNone ? GetStyleSystemColor(clHighlight, L) : L->SelectionColor();
    DrawAlphaFill(C->Handle(), Row, ColorToRGB(fill), Focus || L->ShowFocusRect() ? 255 : 200);
    if (L->SelectionColor() != clNone)
      Fg = L->SelectionTextColor();
    else
      Fg = Custom ? GetSelectionTextColor(L) : clHighlightText;
  }

  void StyledSelection() {
    TRect s = Row;
    if (L->FShowLines || L->FStyle != kaalbsPlain) s.Bottom -= 1;
    const auto style = L->SelectionStyle();
    const int normal = L->CustomSelectionImageIndex(), focused = L->CustomFocusedSelectionImageIndex();
    if ((style == kaastCustomImage || style == kaastCustomImageWithGlow) && L->HasCustomImage(normal) &&
        L->HasCustomImage(focused)) {
      L->CustomImages()->Draw(C, s, Focus ? focused : normal, SF());
      Fg = GetStyleSystemColor(L->SelectionTextColor(), L);
      return;
    }
    DrawAdvancedStyledSelection(C, s, Focus, Focus || L->ShowFocusRect(), L);
    Fg = GetSelectionTextColor(L);
  }

  void PrepareText() {
    C->SetFont(L->Font());
    C->Font()->SetColor(Fg);
    C->Brush()->SetStyle(bsClear);
    W = Row;
    const int indent = Item->FIndent > 0 ? Item->FIndent * L->FIndentMargin : 0;
    (Rtl ? W.Right : W.Left) += Rtl ? -indent : indent;
    W.Inflate(-2, -2);
    if (L->FStyle != kaalbsPlain) (Rtl ? W.Right : W.Left) += Rtl ? -8 : 8;
    const int g = L->SelectionStyle() == kaastGlow ? L->SelectionGlow()->GlowSize() / 2 : 2;
    W.Left += g;
    W.Right -= g;
  }

  void CheckBox() {
    if (!L->FShowCheckBoxes) return;
    const int m = L->CheckColumnWidth(C);
    const TRect box = Rtl ? TRect(W.Right - 2 - m, W.Top, W.Right - 2, W.Bottom) : TRect(W.Left + 2, W.Top, W.Left + 2 + m, W.Bottom);
    if (Rtl)
      W.Right = box.Left - 2;
    else
      W.Left = box.Right + 2;
    L->FCheckOffset = m + (L->FStyle == kaalbsPlain ? 2 : 10);
    const bool off = !RowEnabled;
    if (L->HasCustomImage(L->FCheckImages[0])) {
      int index = Item->FChecked ? L->FCheckImages[0] : L->FCheckImages[1];
      const int disabledIndex = Item->FChecked ? L->FCheckImages[2] : L->FCheckImages[3];
      if (off && L->HasCustomImage(disabledIndex)) index = disabledIndex;
      if (!L->HasCustomImage(index)) return;
      const int w = L->CustomImages()->GetWidth(index, SF()), h = L->CustomImages()->GetHeight(index, SF());
      const int top = box.Top + (box.Height() - h) / 2;
      const int left = Rtl ? box.Right - w : box.Left;
      L->CustomImages()->Draw(C, TRect(left, top, left + w, top + h), index, SF());
      return;
    }
    TRect glyph = box;
    if (Rtl) glyph.Left = box.Right - CheckBoxSize(C, L, SF());
    DrawCheckBoxElement(C, glyph, off ? kasDisabled : kasNormal, L, SF(), Item->FChecked ? cbChecked : cbUnchecked);
  }

  // A secondary font coloured by the row's state.
  void UseFont(TFont* Font) {
    C->SetFont(Font);
    if (!RowEnabled || StyleFont || Selected) C->Font()->SetColor(Fg);
  }

  void RestoreFont() {
    C->SetFont(L->Font());
    C->Font()->SetColor(Fg);
    C->Brush()->SetStyle(bsClear);
  }

  void Title() {
    if (Item->FTitle.empty() || !L->FShowItemTitles) return;
    UseFont(L->FTitleFont.get());
    const TRect r(W.Left, W.Top, W.Right, W.Top + C->TextHeight(L"Wq"));
    DrawTextIn(C, Item->FTitle, r, BiDiTextFlags(DT_SINGLELINE | DT_NOPREFIX | DT_LEFT, Rtl));
    W.Top = r.Bottom;
    RestoreFont();
  }

  void ProgressBar() {
    if (!L->FShowItemProgressBars) return;
    const TRect band(W.Left, W.Bottom - (L->FItemProgressBarHeight + 6), W.Right, W.Bottom);
    TRect bar = band;
    bar.Inflate(-3, -3);
    if (L->FItemProgressBarWidth > 0) {
      if (Rtl)
        bar.Left = bar.Right - L->FItemProgressBarWidth;
      else
        bar.Right = bar.Left + L->FItemProgressBarWidth;
    }
    W.Bottom = band.Top;
    int mn = 0, mx = 100, value = 0;
    if (const TkaListBoxProgressBar* p = Item->FProgressBar.get()) mn = p->Min(), mx = p->Max(), value = p->Value();
    const int room = std::max(0, bar.Width() - 2);
    const int fill = mx == mn || value < mn ? 0 : std::clamp(Round(room * double(value - mn) / (mx - mn)), 0, room);
    const TRect chunk(bar.Left + 1, bar.Top + 1, bar.Left + 1 + fill, bar.Bottom - 1);
    if (StyleServices(L)->Enabled()) {
      C->Changing();
      StyleServices(L)->DrawElement(C->Handle(), TCustomStyleServices::GetElementDetails(tpBar), bar);
      if (fill > 0) StyleServices(L)->DrawElement(C->Handle(), TCustomStyleServices::GetElementDetails(tpFill), chunk);
      C->Changed();
    } else {
      FillWith(C, bar, clWhite);
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(clBtnShadow);
      C->FrameRect(bar);
      if (fill > 0) FillWith(C, chunk, RGBColor(0, 128, 0));
    }
    C->Brush()->SetStyle(bsClear);
  }

  void ButtonPlace() {
    if (!Item->HasVisibleButton()) return;
    const TRect b = L->ItemButtonRect(Index);
    Item->Button()->ButtonRect = b;
    if (Rtl)
      W.Left = b.Right + 2;
    else
      W.Right = b.Left - 2;
  }

  void Detail() {
    if (!L->FShowItemDetails) return;
    UseFont(L->FDetailFont.get());
    if (!Selected && RowEnabled && Item->FCustomDetailTextColor != clNone)
      C->Font()->SetColor(Item->FCustomDetailTextColor);
    else if (StyleFont && !Selected)
      C->Font()->SetColor(AverageColor(Fg, AverageColor(Bg, C->Font()->Color())));
    if (L->FDetailPosition == kalbdRight)
      RightDetail();
    else
      BottomDetail();
    RestoreFont();
  }

  void RightDetail() {
    const String& text = Item->FDetail;
    const int margin = Round(5 * SF());
    TRect d;
    if (L->FDetailWordWrap) {
      const TSize size = MeasureText(C, text, W.Width() / 3, DT_WORDBREAK | DT_NOPREFIX);
      const int top = W.Top + (W.Height() - size.cy) / 2;
      d = Rtl ? TRect(W.Left + margin, top, W.Left + margin + size.cx, top + size.cy)
              : TRect(W.Right - margin - size.cx, top, W.Right - margin, top + size.cy);
      DrawTextIn(C, text, d, BiDiTextFlags(DT_WORDBREAK | DT_RIGHT | DT_NOPREFIX, Rtl));
    } else {
      const int w = C->TextWidth(text) + margin;
      d = Rtl ? TRect(W.Left, W.Top, W.Left + w, W.Bottom) : TRect(W.Right - w, W.Top, W.Right, W.Bottom);
      DrawTextLine(C, text, d, true, Rtl);
    }
    if (Rtl)
      W.Left = d.Right;
    else
      W.Right = d.Left;
  }

  void BottomDetail() {
    TRect d = W;
    if (L->FImages != nullptr) (Rtl ? d.Right : d.Left) += (Rtl ? -1 : 1) * (L->FImages->Width() + L->FItemSpacing);
    d.Top = W.Bottom - C->TextHeight(L"Wq") - 4;
    if (!Item->FDetail.empty()) DrawTextIn(C, Item->FDetail, d, BiDiTextFlags(DT_SINGLELINE | DT_NOPREFIX | DT_LEFT, Rtl));
    W.Bottom = d.Top;
  }

  bool GlowRow() const {
    const auto style = L->SelectionStyle();
    return Active && L->SelectionGlow()->Enabled() && (style == kaastGlow || style == kaastCustomImageWithGlow);
  }

  TkaGlowParams GlowParams() const {
    const TkaGlowEffect* g = L->SelectionGlow();
    TkaGlowParams p;
    p.Alpha = g->AlphaValue();
    if (!L->ShowFocusRect() && !L->Focused() && p.Alpha > 60) p.Alpha = static_cast<uint8_t>(p.Alpha - 60);
    p.Intensive = g->Intensive();
    p.Size = g->GlowSize();
    p.Color = g->GetColor();
    p.Offset = g->Offset();
    return p;
  }

  void Caption() {
    const TButtonLayout layout = Rtl ? blGlyphRight : blGlyphLeft;
    if (HoldsImage(L->FImages, Item->FImageIndex)) {
      if (GlowRow()) {
        TGlowBuffers buffers;
        DrawImageAndTextLeftWithGlow(C, W, 0, true, SF(), true, Rtl, false, clNone, false, RowEnabled, L->FImages,
                                     Item->FImageIndex, Item->FCaption, layout, L->FItemSpacing, false, buffers.Text,
                                     buffers.Image, true, true, GlowParams());
      } else {
        DrawImageAndTextLeft(C, W, 0, true, SF(), true, Rtl, false, clNone, false, RowEnabled, L->FImages,
                             Item->FImageIndex, Item->FCaption, layout, L->FItemSpacing, false);
      }
      return;
    }
    if (L->FImages != nullptr) (Rtl ? W.Right : W.Left) += (Rtl ? -1 : 1) * (L->FImages->Width() + 5);
    const TSize size = MeasureText(C, Item->FCaption, W.Width(), DT_WORDBREAK | DT_NOPREFIX);
    const int top = std::max(W.Top, W.Top + (W.Height() - size.cy) / 2);
    const TRect t(W.Left, top, W.Right - 2, top + size.cy);
    if (GlowRow()) {
      const TkaGlowParams p = GlowParams();
      DrawTextWithGlow(C, t, Item->FCaption, true, Rtl, p.Alpha, p.Intensive, p.Size, p.Color, p.Offset, DT_WORDBREAK);
    } else {
      DrawTextIn(C, Item->FCaption, t, BiDiTextFlags(DT_WORDBREAK | DT_NOPREFIX, Rtl));
    }
  }

  void Line(int Left, int Right, TColor Color) { FillWith(C, TRect(Left, Row.Bottom - 1, Right, Row.Bottom), Color); }

  void Lines() {
    if (L->FStyle == kaalbsPlain) {
      if (!L->FShowLines) return;
      TColor c = L->FLineColor;
      if (Custom && L->StyleElements().Contains(seClient)) {
        const TColor w = GetStyleSystemColor(clWindow, L);
        c = AverageColor(AverageColor(w, GetStyleSystemColor(clWindowText, L)), w);
      }
      Line(Row.Left, Row.Right, c);
      return;
    }
    const size_t next = L->RowPosition(Index) + 1;
    const bool last = next >= L->FRows.size();
    const bool aboveHeader = !last && L->FItems->Items(L->FRows[next])->FHeader;
    TColor c = AverageColor(Bg, Normal);
    if (!last && !aboveHeader) c = AverageColor(c, Bg);
    if (last || aboveHeader) {
      Line(Row.Left, Row.Right, c);
    } else if (L->FShowLines && !(Selected && L->SelectionStyle() == kaastColor)) {
      const int in = L->FShowCheckBoxes ? 25 : 10;
      Line(Rtl ? Row.Left : Row.Left + in, Rtl ? Row.Right - in : Row.Right, c);
    }
  }

  void FocusFrame() {
    if (L->FFocusFrameExist || !L->Focused()) return;
    const bool mine = L->FItemIndex == -1 ? Index == L->FFirstViewRow : Index == L->FItemIndex;
    if (!mine) return;
    L->FFocusFrameExist = true;
    TRect r = Row;
    if (L->FShowLines) r.Bottom -= 1;
    if (StyleServices(L)->Enabled() && !Custom && L->SelectionStyle() == kaastStyled && !IsWindowsXP())
      r.Inflate(-1, -1);
    if (!L->ShowFocusRect()) return;
    C->Font()->SetColor(Fg);
    DrawFocusRectangle(C, r, SF());
  }
};

// ---- The list box's drawing steps -----------------------------------------------------------

void TkaAdvancedListBox::Paint() {
  TRect clip(0, 0, Width(), Height());
  RECT box;
  if (Canvas()->HandleAllocated() && ::GetClipBox(Canvas()->Handle(), &box) != ERROR) clip = TRect(box);
  FPaintClip = clip;
  struct TReset {
    TkaAdvancedListBox* Self;
    ~TReset() { Self->FPaintClip = TRect(0, 0, Self->Width(), Self->Height()); }
  } reset{this};
  inherited::Paint();
}

void TkaAdvancedListBox::DrawContent(TCanvas* ACanvas) {
  FFocusFrameExist = false;
  if (FDestroying || FItems->Count() == 0) return;
  CalcItemRects();
  if (FPaintClip.IsEmpty()) FPaintClip = TRect(0, 0, Width(), Height());
  const TRect area = IntersectRect(FItemsRect, FPaintClip);
  if (area.IsEmpty() || FRows.empty()) return;
  const size_t first = RowAtOffset(FScrollOffset);
  FFirstViewRow = first < FRows.size() ? FRows[first] : -1;
  if (FFirstViewRow >= 0 && FItems->Items(FFirstViewRow)->FHeader) FFirstViewRow = -1;
  TClipScope clip(ACanvas->Handle(), FItemsRect);
  const int from = area.Top - FItemsRect.Top + FScrollOffset;
  const int to = area.Bottom - FItemsRect.Top + FScrollOffset;
  for (size_t p = RowAtOffset(from); p < FRows.size(); ++p) {
    const int row = FRows[p];
    const TkaAdvancedListItem* item = FItems->Items(row);
    if (item->FLayoutTop >= to) break;
    if (item->FHeader)
      DrawHeaderItem(ACanvas, row);
    else
      DrawItem(ACanvas, row);
  }
}

int TkaAdvancedListBox::CheckColumnWidth(TCanvas* ACanvas) {
  int m = HasCustomImage(FCheckImages[0]) ? CustomImages()->GetWidth(FCheckImages[0], ScaleFactor()) + 5
                                          : CheckBoxSize(ACanvas, this, ScaleFactor()) + 7;
  return std::max(m, 20);
}

void TkaAdvancedListBox::DrawItem(TCanvas* ACanvas, int Index) {
  TkaListRowPainter p(this, ACanvas, Index);
  TClipScope clip(ACanvas->Handle(), p.Row);
  p.Background();
  p.Selection();
  p.PrepareText();
  if (OnDrawItem) {
    FItems->Items(Index)->Button()->ButtonRect = ItemButtonRect(Index);
    TkaDrawAdvancedListItemEvent handler = OnDrawItem;
    handler(ACanvas, Index, p.Row);
  } else {
    p.CheckBox();
    p.Title();
    p.ProgressBar();
    p.ButtonPlace();
    p.Detail();
    p.Caption();
  }
  DrawItemButton(ACanvas, Index, p.Fg, p.Disabled);
  p.Lines();
  p.FocusFrame();
}

void TkaAdvancedListBox::DrawItemButton(TCanvas* ACanvas, int Index, TColor RowColor, TColor DisabledColor) {
  TkaAdvancedListItem* item = FItems->Items(Index);
  if (!item->HasVisibleButton()) return;
  TkaListBoxButton* b = item->Button();
  const TRect r = b->ButtonRect;
  if (r.IsEmpty()) return;
  const bool disabled = !b->Enabled() || !item->FEnabled || !Enabled();
  const TkasCtrlState state = disabled                ? kasDisabled
                              : b->Down && b->MouseIn ? kasPressed
                              : b->MouseIn            ? kasHot
                                                      : kasNormal;
  ACanvas->SetFont(FButtonFont.get());
  TColor color = FButtonFont->Color();
  switch (b->StyleKind()) {
    case kalbsPushButton:
      DrawPushButtonElement(ACanvas, r, state, this, ScaleFactor(), false);
      color = GetButtonTextColor(state, this);
      break;
    case kalbsTransparent:
      if (IsCustomStyleActive(this) && StyleElements().Contains(seFont)) color = RowColor;
      break;
    case kalbsCustomImage: {
      static const int column[5] = {0, 1, 2, 0, 3};
      int index = FButtonImageIndex[column[state]];
      if (!HasCustomImage(index)) index = FButtonImageIndex[0];
      if (HasCustomImage(index)) CustomImages()->Draw(ACanvas, r, index, 1.0);
      color = GetStyleSystemColor(FButtonFont->Color(), this);
      break;
    }
  }
  ACanvas->Font()->SetColor(disabled ? DisabledColor : color);
  ACanvas->Brush()->SetStyle(bsClear);
  const bool rtl = UseRightToLeftAlignment();
  if (HoldsImage(FButtonImages, b->ImageIndex())) {
    int image = b->ImageIndex();
    if (state == kasPressed && HoldsImage(FButtonImages, b->ImagePressedIndex()))
      image = b->ImagePressedIndex();
    else if (state == kasHot && HoldsImage(FButtonImages, b->ImageHotIndex()))
      image = b->ImageHotIndex();
    TRect inner = r;
    inner.Inflate(-2, -2);
    DrawImageAndText(ACanvas, inner, -1, false, ScaleFactor(), true, rtl, false, clNone, false, !disabled,
                     FButtonImages, image, b->Caption(), rtl ? blGlyphRight : blGlyphLeft, 4);
  } else {
    DrawTextIn(ACanvas, b->Caption(), r, BiDiTextFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, rtl));
  }
}

void TkaAdvancedListBox::DrawHeaderItem(TCanvas* ACanvas, int Index) {
  const TkaAdvancedListItem* item = FItems->Items(Index);
  const TRect r = RowRectOf(item);
  TClipScope clip(ACanvas->Handle(), r);
  const bool custom = IsCustomStyleActive(this), styled = custom && FHeaderUseStyleColor;
  const TColor styledColor = AverageColor(GetCheckBoxTextColor(kasNormal, this), GetStyleSystemColor(clBtnFace, this));
  ACanvas->SetFont(FHeaderFont.get());
  ACanvas->Brush()->SetStyle(bsClear);
  const int h = ACanvas->TextHeight(item->FCaption.empty() ? String(L"Wq") : item->FCaption);
  TRect text(r.Left + 5, r.Top, r.Right - 5, r.Bottom);
  const bool imageLook = FHeaderStyle == kaahsCustomImage && HasCustomImage(FCustomHeaderImageIndex);
  if (imageLook) CustomImages()->Draw(ACanvas, r, FCustomHeaderImageIndex, ScaleFactor());
  if (FStyle != kaalbsPlain) {
    const TColor bg = custom && StyleElements().Contains(seClient) ? GetEditColor(false, this) : FGroupBackgroundColor;
    TColor t = Font()->Color();
    if (custom && StyleElements().Contains(seFont))
      t = BackgroundStyle() != kabgsColor ? GetCheckBoxTextColor(kasNormal, this) : GetEditTextColor(kasNormal, this);
    FillWith(ACanvas, TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), AverageColor(bg, t));
    if (styled) ACanvas->Font()->SetColor(styledColor);
    text.Top = r.Bottom - h - 15;
  } else if (FHeaderStyle == kaahsCustomImage) {
    if (styled) ACanvas->Font()->SetColor(GetStyleSystemColor(FHeaderFont->Color(), this));
  } else if (FHeaderStyle == kaahsBottomLine) {
    const TColor pen = styled ? styledColor : AverageColor(clWindowText, clBtnFace);
    if (styled) ACanvas->Font()->SetColor(pen);
    FillWith(ACanvas, TRect(r.Left + 2, r.Bottom - 2, r.Right - 2, r.Bottom), pen);
    text.Top = r.Bottom - h - 6;
  } else {
    DrawHeaderSectionElement(ACanvas, r, kasNormal, this);
    if (styled) ACanvas->Font()->SetColor(GetHeaderTextColor(kasNormal, this));
  }
  DrawTextLine(ACanvas, item->FCaption, text, true, UseRightToLeftAlignment());
}
