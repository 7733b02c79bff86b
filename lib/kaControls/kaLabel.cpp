#include "lib/kaControls/kaLabel.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"

// ---- Form dragging --------------------------------------------------------------------------

void TkaFormDragger::MouseDown(const TControl* Control, TMouseButton Button, TShiftState Shift, bool TopForm) {
  if (Button != mbLeft || Shift.Contains(ssDouble)) return;
  TCustomForm* form = GetParentForm(Control, TopForm);
  if (form == nullptr || form->WindowState() == wsMaximized) return;
  POINT p;
  if (!::GetCursorPos(&p)) return;
  FForm = form;
  FDown = true;
  FDownP = TPoint(p.x, p.y);
}

void TkaFormDragger::MouseMove() {
  if (!FDown || FForm == nullptr) return;
  POINT p;
  if (!::GetCursorPos(&p)) return;
  // The cursor's travel since the last move, so moves caused by the form itself add nothing.
  FForm->SetBounds(FForm->Left() + p.x - FDownP.X, FForm->Top() + p.y - FDownP.Y, FForm->Width(), FForm->Height());
  FDownP = TPoint(p.x, p.y);
}

void TkaFormDragger::MouseUp() {
  FDown = false;
  FForm = nullptr;
}

// ---- Construction ---------------------------------------------------------------------------

TkaLabel::TkaLabel(TComponent* AOwner) : TkaCustomControl(AOwner), FGlowEffect(new TkaGlowEffect(this)) {
  FGlowEffect->SetColor(clBtnShadow);
  FGlowEffect->OnChange = [this](TObject*) {
    FUpdateGlowBuffer = true;
    if (ComponentState().Contains(csLoading)) return;
    AdjustBounds();
    RePaintControl();
  };
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable};
  FTransparentBackground = true;
  SetBounds(Left(), Top(), 65, 17);
}

TkaLabel::~TkaLabel() {
  FreeAndNil(FGlowBuffer);
  FGlowEffect->Free();
}

void TkaLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

// ---- Properties -----------------------------------------------------------------------------

void TkaLabel::SetAlignment(TAlignment Value) { SetAndRepaint(FAlignment, Value); }

void TkaLabel::SetVertAlignment(TkaVertAlignment Value) { SetAndRepaint(FVertAlignment, Value); }

void TkaLabel::SetLayout(TTextLayout Value) { SetAndRepaint(FLayout, Value); }

void TkaLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TkaLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  RePaintControl();
}

void TkaLabel::SetShowAccelChar(bool Value) { SetAndRepaint(FShowAccelChar, Value); }

void TkaLabel::SetShowEllipsis(bool Value) { SetAndRepaint(FShowEllipsis, Value); }

void TkaLabel::SetPathEllipsis(bool Value) { SetAndRepaint(FPathEllipsis, Value); }

void TkaLabel::SetFocusControl(TWinControl* Value) { ReplaceReference(FFocusControl, Value); }

void TkaLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

// ---- Text -----------------------------------------------------------------------------------

void TkaLabel::DoDrawText(TCanvas* ACanvas, TRect& ARect, UINT Flags) {
  String text = GetLabelText();
  if ((Flags & DT_CALCRECT) != 0 && (text.empty() || (FShowAccelChar && text == L"&"))) text += L" ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  ::DrawTextW(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), ARect.AsRECT(), Flags);
}

UINT TkaLabel::TextFlags() const {
  static constexpr UINT kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlignments[FAlignment];
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);
  if (!FAutoSize && FShowEllipsis) flags |= FPathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
  return flags;
}

void TkaLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || !FAutoSize) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  const bool glow = FGlowEffect->Enabled();
  const int grow = glow ? FGlowEffect->Offset() + 2 * FGlowEffect->GlowSize() : 0;
  // Wrapped text is measured in the room the text gets, not in the whole label: measured in
  // the glow margins too, a wrapped label would widen by them at every adjustment.
  TRect r(0, 0, std::max(Width() - grow, 0), Height());
  UINT flags = DT_CALCRECT | DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  {
    TBitmap measure(1, 1);
    measure.Canvas()->SetFont(Font());
    DoDrawText(measure.Canvas(), r, flags);
  }
  const int w = r.Width() + grow, h = r.Height() + grow;
  int alignment = FAlignment;
  if (UseRightToLeftAlignment()) ChangeBiDiModeAlignment(alignment);
  // The right edge stays where it is with the final width, glow margins included.
  const int left = alignment == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaLabel::ApplyFontColor(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  if (!StyleElements().Contains(seFont) || !IsCustomStyleActive(this)) return;
  if (ACtrlState != kasNormal || !FUseFontColorToStyleColor)
    ACanvas->Font()->SetColor(GetCheckBoxTextColor(ACtrlState, this));
  else
    ACanvas->Font()->SetColor(GetStyleSystemColor(Font()->Color(), this));
}

bool TkaLabel::NeedGlowRebuild(TCanvas* ACanvas, const TRect& ARect, UINT Flags) {
  TFont* font = ACanvas->Font();
  TGlowKey key;
  key.Caption = Caption();
  key.Width = Width();
  key.Height = Height();
  key.GlowColor = FGlowEffect->GetColor();
  key.FontName = font->Name();
  key.FontSize = font->Size();
  key.FontStyle = font->Style();
  key.Alignment = FAlignment;
  key.ShowAccelChar = FShowAccelChar;
  key.Layout = FLayout;
  key.WordWrap = FWordWrap;
  key.ShowEllipsis = FShowEllipsis;
  key.PathEllipsis = FPathEllipsis;
  // The glow is made for one text rectangle and one set of flags; a vertical alignment or
  // auto-size change alters them without touching the values above.
  key.TextRect = ARect;
  key.Flags = Flags;
  const bool rebuild = FUpdateGlowBuffer || !(key == FGlowKey);
  FGlowKey = std::move(key);
  FUpdateGlowBuffer = false;
  return rebuild;
}

void TkaLabel::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  ACanvas->SetFont(Font());
  ApplyFontColor(ACanvas, ACtrlState);
  ACanvas->Brush()->SetStyle(bsClear);
  const bool glow = FGlowEffect->Enabled();
  const int g = glow ? FGlowEffect->GlowSize() : 0;
  const int o = glow ? FGlowEffect->Offset() : 0;
  TRect r = glow ? TRect(g - o, g - o, Width() - g - o, Height() - g - o) : TRect(0, 0, Width(), Height());
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  const UINT flags = TextFlags();
  if (FVertAlignment != kavtaTop) {
    TRect m = r;
    DoDrawText(ACanvas, m, flags | DT_CALCRECT);
    const int h = m.Height();
    r.Top = FVertAlignment == kavtaCenter ? (Height() - h) / 2 : Height() - h;
    r.Bottom = r.Top + h;
    if (FVertAlignment == kavtaBottom && glow) r.Offset(0, -(g + o));
  }
  if (!glow) {
    DoDrawText(ACanvas, r, flags);
    return;
  }
  // The flags already carry the right-to-left adjustment; a second one would flip the
  // alignment back.
  DrawTextWithGlowBuffer(FGlowBuffer, NeedGlowRebuild(ACanvas, r, flags), ACanvas, !FShowAccelChar, false,
                         FGlowEffect->GetAlphaValue(), FGlowEffect->Intensive(), g, FGlowEffect->GetColor(), o, flags,
                         GetLabelText(), r);
}

// ---- Mouse and keys -------------------------------------------------------------------------

void TkaLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (FDragForm) FDragger.MouseDown(this, Button, Shift, FDragTopForm);
}

void TkaLabel::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  FDragger.MouseMove();
}

void TkaLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDragger.MouseUp();
}

void TkaLabel::CMDialogChar(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FFocusControl == nullptr || !Enabled() || !FShowAccelChar) return;
  if (!IsAccel(static_cast<WORD>(Message.WParam), Caption()) || !FFocusControl->CanFocus()) return;
  FFocusControl->SetFocus();
  Message.Result = 1;
}

void TkaLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      // The window keeps its text; the face is redrawn from the cached background.
      if (HandleAllocated()) ::SetWindowTextW(WindowHandle(), Caption().c_str());
      AdjustBounds();
      RePaintControl();
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustBounds();
      break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaVertAlignment,
                 {{L"kavtaTop", kavtaTop}, {L"kavtaCenter", kavtaCenter}, {L"kavtaBottom", kavtaBottom}});
KA_REGISTER_ENUM(TTextLayout, {{L"tlTop", tlTop}, {L"tlCenter", tlCenter}, {L"tlBottom", tlBottom}});

KA_REGISTER_CLASS(TkaLabel, [](auto& c) {
  c.Property(L"Alignment", &TkaLabel::Alignment, &TkaLabel::SetAlignment);
  c.Property(L"VertAlignment", &TkaLabel::VertAlignment, &TkaLabel::SetVertAlignment);
  c.Property(L"Layout", &TkaLabel::Layout, &TkaLabel::SetLayout);
  c.Property(L"AutoSize", &TkaLabel::AutoSize, &TkaLabel::SetAutoSize);
  c.Property(L"WordWrap", &TkaLabel::WordWrap, &TkaLabel::SetWordWrap);
  c.Property(L"ShowAccelChar", &TkaLabel::ShowAccelChar, &TkaLabel::SetShowAccelChar);
  c.Property(L"ShowEllipsis", &TkaLabel::ShowEllipsis, &TkaLabel::SetShowEllipsis);
  c.Property(L"PathEllipsis", &TkaLabel::PathEllipsis, &TkaLabel::SetPathEllipsis);
  c.Property(L"FocusControl", &TkaLabel::FocusControl, &TkaLabel::SetFocusControl);
  c.Property(L"GlowEffect", &TkaLabel::GlowEffect);
  c.Property(L"DragForm", &TkaLabel::DragForm, &TkaLabel::SetDragForm);
  c.Property(L"DragTopForm", &TkaLabel::DragTopForm, &TkaLabel::SetDragTopForm);
  c.Property(L"UseFontColorToStyleColor", &TkaLabel::UseFontColorToStyleColor,
             &TkaLabel::SetUseFontColorToStyleColor);
});
