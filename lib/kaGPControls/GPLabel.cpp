#include "lib/kaGPControls/GPLabel.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "framework/Forms.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPControls/GPScaling.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

namespace {

// One closed figure of four quarter arcs over R: top corners of diameter D, bottom corners
// one pixel wider when R is taller than D, so they meet the pixel grid as the top ones do.
void AddLabelFigure(GraphicsPath& Path, const TGPRectF& R, float D) {
  Path.StartFigure();
  Path.AddArc(R.X, R.Y, D, D, 180, 90);
  Path.AddArc(R.X + R.Width - D, R.Y, D, D, 270, 90);
  if (R.Height > D) D += 1;
  Path.AddArc(R.X + R.Width - D, R.Y + R.Height - D, D, D, 0, 90);
  Path.AddArc(R.X, R.Y + R.Height - D, D, D, 90, 90);
  Path.CloseFigure();
}

TPoint CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------

TkaGPLabel::TkaGPLabel(TComponent* AOwner) : TkaCustomControl(AOwner), FGlowEffect(new TkaGlowEffect(this)) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable};
  FGlowEffect->SetColor(clBtnShadow);
  FGlowEffect->OnChange = [this](TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    FUpdateGlowBuffer = true;
    RePaintControl();
    AdjustBounds();
  };
  FTransparentBackground = true;
  Font()->SetColor(clBtnText);
  // Set last: the font change above fits the bounds to the (empty) text.
  FWidth = 65;
  FHeight = 17;
}

TkaGPLabel::~TkaGPLabel() {
  delete FGlowBuffer;
  FGlowEffect->Free();
}

void TkaGPLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TkaGPLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TkaGPLabel::ChangeScale(int M, int D, bool isDpiChange) {
  ScaleFrameGeometry({FContentMarginLeft, FContentMarginRight, FContentMarginTop, FContentMarginBottom,
                      FFrameWidth, FFrameRadius, FScaleFrameWidth},
                     M, D);
  inherited::ChangeScale(M, D, isDpiChange);
}

// ---- Properties ---------------------------------------------------------------------------

void TkaGPLabel::SetContentMargin(int& Field, int Value) {
  if (Value < 0 || Field == Value) return;
  Field = Value;
  if (FAutoSize) AdjustBounds();
  RePaintControl();
}

void TkaGPLabel::SetDisabledFontColor(TColor Value) {
  if (FDisabledFontColor == Value) return;
  FDisabledFontColor = Value;
  if (!Enabled()) RePaintControl();
}

void TkaGPLabel::SetFrameWidth(int Value) {
  if (Value < 0) return;
  SetAndRepaint(FFrameWidth, Value);
}

void TkaGPLabel::SetFillGradientAngle(int Value) {
  if (Value < -360 || Value > 360) return;
  SetAndRepaint(FFillGradientAngle, Value);
}

void TkaGPLabel::SetFrameRadius(int Value) {
  // A negative radius would draw arcs of negative size; it is refused outright.
  if (Value < 0) return;
  SetAndRepaint(FFrameRadius, Value);
}

void TkaGPLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TkaGPLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  RePaintControl();
}

// ---- Text -----------------------------------------------------------------------------------

void TkaGPLabel::DoDrawText(Graphics* G, Gdiplus::Font* Font, TCanvas* ACanvas, TRect& R, UINT Flags) {
  String text = GetLabelText();
  if ((Flags & DT_CALCRECT) != 0 && (text.empty() || (FShowAccelChar && text == L"&"))) text += L" ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  if (DrawTextMode() == kadtmGDIPlus) {
    GPDrawText(G, Font, ACanvas, R, text, Flags, 0);
    return;
  }
  ::DrawTextW(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), R.AsRECT(), Flags);
}

void TkaGPLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || !FAutoSize) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  TBitmap measure(1, 1);
  TCanvas* canvas = measure.Canvas();
  canvas->Font()->Assign(Font());
  // Wrapped text is measured in the width the text gets inside the margins; measured in the
  // whole width, every adjustment would widen the label by the margins again.
  TRect r(0, 0, std::max(0, Width() - FContentMarginLeft - FContentMarginRight), Height());
  DoDrawText(nullptr, nullptr, canvas, r, DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0));
  const int w = r.Right + FContentMarginLeft + FContentMarginRight;
  const int h = r.Bottom + FContentMarginTop + FContentMarginBottom;
  int alignment = FAlignment;
  if (UseRightToLeftAlignment()) ChangeBiDiModeAlignment(alignment);
  const int left = alignment == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

UINT TkaGPLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  else if (FAlignment == taCenter) flags |= DT_CENTER;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);
  if (!FAutoSize && FShowEllipsis) flags |= FPathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
  return flags;
}

bool TkaGPLabel::NeedGlowBufferUpdate(TCanvas* ACanvas) {
  TFont* font = ACanvas->Font();
  const String caption = Caption();
  const TColor glowColor = FGlowEffect->GetColor();
  const bool changed = FUpdateGlowBuffer || FStoredCaption != caption || FStoredWidth != Width() ||
                       FStoredHeight != Height() || FStoredGlowColor != glowColor ||
                       FStoredFontName != font->Name() || FStoredFontSize != font->Size() ||
                       FStoredFontStyle != font->Style() || FStoredAlignment != FAlignment ||
                       FStoredShowAccelChar != FShowAccelChar || FStoredLayout != FLayout ||
                       FStoredWordWrap != FWordWrap || FStoredPathEllipsis != FPathEllipsis ||
                       FStoredShowEllipsis != FShowEllipsis;
  FStoredCaption = caption;
  FStoredWidth = Width();
  FStoredHeight = Height();
  FStoredGlowColor = glowColor;
  FStoredFontName = font->Name();
  FStoredFontSize = font->Size();
  FStoredFontStyle = font->Style();
  FStoredAlignment = FAlignment;
  FStoredShowAccelChar = FShowAccelChar;
  FStoredLayout = FLayout;
  FStoredWordWrap = FWordWrap;
  FStoredPathEllipsis = FPathEllipsis;
  FStoredShowEllipsis = FShowEllipsis;
  FUpdateGlowBuffer = false;
  return changed;
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaGPLabel::DrawShape(Graphics& G) {
  const float fw = static_cast<float>(FFrameWidth);
  const TGPRectF whole = RectToGPRect(TRect(0, 0, Width(), Height()));
  TGPRectF stroke = whole;
  if (FFrameWidth > 0) InflateGPRect(stroke, -fw / 2, -fw / 2);
  TGPRectF fill = whole;
  if (FFrameRadius > 0 && FFrameWidth > 0) {
    // A translucent frame must not overlap the fill, or the overlap shows darker.
    if (FFrameColorAlpha == 255)
      fill = stroke;
    else
      InflateGPRect(fill, -fw, -fw);
  }
  const bool drawFill = FFillColor != clNone && FFillColorAlpha != 0;
  const bool drawFrame = FFrameWidth > 0 && FFrameColor != clNone && FFrameColorAlpha != 0;
  const Gdiplus::Color begin(ToGPColor(GetStyleSystemColor(FFillColor, this), FFillColorAlpha));
  std::optional<SolidBrush> solid;
  std::optional<LinearGradientBrush> gradient;
  Brush* brush = nullptr;
  if (FFillColor2 == clNone) {
    brush = &solid.emplace(begin);
  } else {
    TGPRectF area = fill;
    InflateGPRect(area, 1, 1);
    brush = &gradient.emplace(area, begin,
                              Gdiplus::Color(ToGPColor(GetStyleSystemColor(FFillColor2, this), FFillColor2Alpha)),
                              static_cast<REAL>(FFillGradientAngle), FALSE);
  }
  Pen pen(Gdiplus::Color(ToGPColor(GetStyleSystemColor(FFrameColor, this), FFrameColorAlpha)), fw);
  if (FFrameRadius > 0) {
    if (drawFill) {
      float d = 2.0f * static_cast<float>(FFrameRadius);
      if (FFrameWidth >= 1 && FFrameColorAlpha != 255) d = std::max(1.0f, d - fw);
      GraphicsPath path(FillModeAlternate);
      AddLabelFigure(path, fill, d);
      G.FillPath(brush, &path);
    }
    if (drawFrame) {
      GraphicsPath path(FillModeAlternate);
      AddLabelFigure(path, stroke, 2.0f * static_cast<float>(FFrameRadius));
      G.DrawPath(&pen, &path);
    }
    return;
  }
  if (drawFill) G.FillRectangle(brush, fill);
  if (drawFrame) G.DrawRectangle(&pen, stroke);
}

void TkaGPLabel::ApplyFontColor(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  TColor color = ACtrlState == kasNormal ? GetStyleSystemColor(Font()->Color(), this)
                                         : GetCheckBoxTextColor(ACtrlState, this);
  if (ACtrlState == kasDisabled && FDisabledFontColor != clNone)
    color = GetStyleSystemColor(FDisabledFontColor, this);
  ACanvas->Font()->SetColor(color);
}

void TkaGPLabel::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  const bool gdiPlusText = DrawTextMode() == kadtmGDIPlus;
  GPEnsureStarted();
  auto g = std::make_unique<Graphics>(ACanvas->Handle());
  g->SetSmoothingMode(SmoothingModeHighQuality);
  g->SetPixelOffsetMode(PixelOffsetModeHalf);
  DrawShape(*g);
  if (!gdiPlusText) g.reset();

  ACanvas->Font()->Assign(Font());
  ApplyFontColor(ACanvas, ACtrlState);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect t(FContentMarginLeft, FContentMarginTop, Width() - FContentMarginRight, Height() - FContentMarginBottom);
  const UINT flags = TextFlags();
  const bool glow = FGlowEffect->Enabled();
  if (FVertAlignment != kavtaTop) {
    TRect measure = t;
    DoDrawText(g.get(), nullptr, ACanvas, measure, flags | DT_CALCRECT);
    const int h = measure.Height();
    t.Top = FVertAlignment == kavtaCenter ? Height() / 2 - h / 2 : Height() - h;
    t.Bottom = t.Top + h;
    if (FVertAlignment == kavtaBottom && glow) t.Offset(0, -(FGlowEffect->GlowSize() + FGlowEffect->Offset()));
  }
  if (glow && !gdiPlusText) {
    DrawTextWithGlowBuffer(FGlowBuffer, NeedGlowBufferUpdate(ACanvas), ACanvas, !FShowAccelChar,
                           BiDiMode() == bdRightToLeft, FGlowEffect->GetAlphaValue(), FGlowEffect->Intensive(),
                           FGlowEffect->GlowSize(), FGlowEffect->GetColor(), FGlowEffect->Offset(), flags,
                           GetLabelText(), t);
    return;
  }
  DoDrawText(g.get(), nullptr, ACanvas, t, flags);
}

// ---- Form dragging and accelerator -----------------------------------------------------------

void TkaGPLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (!FDragForm || Button != mbLeft || Shift.Contains(ssDouble)) return;
  TCustomForm* form = GetParentForm(this, FDragTopForm);
  if (form == nullptr || form->WindowState() == wsMaximized) return;
  FForm = form;
  FDown = true;
  FDownP = CursorPos();
}

void TkaGPLabel::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDragForm || !FDown || FForm == nullptr) return;
  const TPoint p = CursorPos();
  FForm->SetBounds(FForm->Left() + p.X - FDownP.X, FForm->Top() + p.Y - FDownP.Y, FForm->Width(), FForm->Height());
  FDownP = p;
}

void TkaGPLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDown = false;
  FForm = nullptr;
}

void TkaGPLabel::CMDialogChar(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FFocusControl == nullptr || !Enabled() || !FShowAccelChar || !IsAccel(Message.CharCode(), Caption())) return;
  if (!FFocusControl->CanFocus()) return;
  FFocusControl->SetFocus();
  Message.Result = 1;
}

void TkaGPLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustBounds();
      RePaintControl();
      break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Layout streaming -----------------------------------------------------------------------

// The classic label's unit registers these too; a program without it still reads them.
KA_REGISTER_ENUM(TkaVertAlignment, {{L"kavtaTop", kavtaTop}, {L"kavtaCenter", kavtaCenter}, {L"kavtaBottom", kavtaBottom}});
KA_REGISTER_ENUM(TTextLayout, {{L"tlTop", tlTop}, {L"tlCenter", tlCenter}, {L"tlBottom", tlBottom}});

using TLbl = TkaGPLabel;
KA_REGISTER_CLASS(TkaGPLabel, [](auto& c) {
  c.Property(L"DragForm", &TLbl::DragForm, &TLbl::SetDragForm);
  c.Property(L"DragTopForm", &TLbl::DragTopForm, &TLbl::SetDragTopForm);
  c.Property(L"DrawTextMode", &TLbl::DrawTextMode, &TLbl::SetDrawTextMode);
  c.Property(L"ContentMarginLeft", &TLbl::ContentMarginLeft, &TLbl::SetContentMarginLeft);
  c.Property(L"ContentMarginRight", &TLbl::ContentMarginRight, &TLbl::SetContentMarginRight);
  c.Property(L"ContentMarginTop", &TLbl::ContentMarginTop, &TLbl::SetContentMarginTop);
  c.Property(L"ContentMarginBottom", &TLbl::ContentMarginBottom, &TLbl::SetContentMarginBottom);
  c.Property(L"DisabledFontColor", &TLbl::DisabledFontColor, &TLbl::SetDisabledFontColor);
  c.Property(L"FrameWidth", &TLbl::FrameWidth, &TLbl::SetFrameWidth);
  c.Property(L"FillColor", &TLbl::FillColor, &TLbl::SetFillColor);
  c.Property(L"FillColorAlpha", &TLbl::FillColorAlpha, &TLbl::SetFillColorAlpha);
  c.Property(L"FillColor2", &TLbl::FillColor2, &TLbl::SetFillColor2);
  c.Property(L"FillColor2Alpha", &TLbl::FillColor2Alpha, &TLbl::SetFillColor2Alpha);
  c.Property(L"FillGradientAngle", &TLbl::FillGradientAngle, &TLbl::SetFillGradientAngle);
  c.Property(L"FrameColor", &TLbl::FrameColor, &TLbl::SetFrameColor);
  c.Property(L"FrameColorAlpha", &TLbl::FrameColorAlpha, &TLbl::SetFrameColorAlpha);
  c.Property(L"FrameRadius", &TLbl::FrameRadius, &TLbl::SetFrameRadius);
  c.Property(L"ScaleFrameWidth", &TLbl::ScaleFrameWidth, &TLbl::SetScaleFrameWidth);
  c.Property(L"GlowEffect", &TLbl::GlowEffect);
  c.Property(L"AutoSize", &TLbl::AutoSize, &TLbl::SetAutoSize);
  c.Property(L"Layout", &TLbl::Layout, &TLbl::SetLayout);
  c.Property(L"Alignment", &TLbl::Alignment, &TLbl::SetAlignment);
  c.Property(L"VertAlignment", &TLbl::VertAlignment, &TLbl::SetVertAlignment);
  c.Property(L"FocusControl", &TLbl::FocusControl, &TLbl::SetFocusControl);
  c.Property(L"ShowAccelChar", &TLbl::ShowAccelChar, &TLbl::SetShowAccelChar);
  c.Property(L"WordWrap", &TLbl::WordWrap, &TLbl::SetWordWrap);
  c.Property(L"ShowEllipsis", &TLbl::ShowEllipsis, &TLbl::SetShowEllipsis);
  c.Property(L"PathEllipsis", &TLbl::PathEllipsis, &TLbl::SetPathEllipsis);
});
