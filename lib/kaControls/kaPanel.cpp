#include "lib/kaControls/kaPanel.h"

#include <utility>

#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

void FillRectWith(TCanvas* ACanvas, const TRect& ARect, TColor Color) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Color);
  ACanvas->FillRect(ARect);
}

void DrawTextIn(TCanvas* ACanvas, const String& Text, TRect& ARect, UINT Flags) {
  ::DrawTextW(ACanvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), ARect.AsRECT(), Flags);
}

UINT AlignmentFlag(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

// ---- Construction ---------------------------------------------------------------------------

TkaPanel::TkaPanel(TComponent* AOwner) : TkaCustomControl(AOwner), FCaptionGlowEffect(new TkaGlowEffect(this)) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks,    csReplicatable, csPannable,    csGestures};
  FTransparentBackground = false;
  FFluentUIOpaque = false;
  FColor = clBtnFace;
  FCaptionGlowEffect->SetColor(clBtnShadow);
  FCaptionGlowEffect->OnChange = [this](TObject*) {
    FUpdateGlowBuffer = true;
    if (FShowCaption && !ComponentState().Contains(csLoading)) RePaintControl();
  };
}

TkaPanel::~TkaPanel() {
  FreeAndNil(FGlowBuffer);
  FCaptionGlowEffect->Free();
}

void TkaPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The panel repaints itself on resize (WM_SIZE); a class redraw would only add a flash.
  Params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

// ---- Properties -----------------------------------------------------------------------------

void TkaPanel::Changed(bool AUpdateControls) {
  if (!HandleAllocated()) return;
  RePaintControl();
  if (AUpdateControls) UpdateControls();
}

void TkaPanel::SetStyleKind(TkaPanelStyleKind Value) {
  if (FStyleKind == Value) return;
  const TkaPanelStyleKind old = FStyleKind;
  FStyleKind = Value;
  if (old == kapsTransparent) {
    SetTransparentBackground(false);
    CaptureParentBackground();  // drops the cached background
  } else if (Value == kapsTransparent) {
    SetTransparentBackground(true);
    if (HandleAllocated()) CaptureParentBackground();  // else the first paint captures
  }
  // The kind decides the client area too (the edit frame), so the children move with it.
  Realign();
  Changed(true);
}

void TkaPanel::SetBorderStyle(TkaPanelBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  Changed(false);
  Realign();
}

void TkaPanel::SetLightBorderColor(TColor Value) { SetAndRepaint(FLightBorderColor, Value); }

void TkaPanel::SetShadowBorderColor(TColor Value) { SetAndRepaint(FShadowBorderColor, Value); }

void TkaPanel::SetShowCaption(bool Value) { SetAndRepaint(FShowCaption, Value); }

void TkaPanel::SetAlignment(TAlignment Value) { SetAndRepaint(FAlignment, Value); }

void TkaPanel::SetWordWrap(bool Value) { SetAndRepaint(FWordWrap, Value); }

void TkaPanel::SetWallpapers(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FWallpapers, Value)) Changed(true);
}

void TkaPanel::SetWallpaperIndex(int Value) {
  if (FWallpaperIndex == Value) return;
  FWallpaperIndex = Value;
  Changed(true);
}

void TkaPanel::SetCustomImages(TkaCustomImageCollection* Value) {
  if (ReplaceReference(FCustomImages, Value)) Changed(true);
}

void TkaPanel::SetCustomImageIndex(int Value) {
  if (FCustomImageIndex == Value) return;
  FCustomImageIndex = Value;
  Changed(true);
}

void TkaPanel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FWallpapers) FWallpapers = nullptr;
  if (AComponent == FCustomImages) FCustomImages = nullptr;
}

// ---- Client area ----------------------------------------------------------------------------

void TkaPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  if (FStyleKind == kapsEdit) {
    Rect.Inflate(-2, -2);
    return;
  }
  if (FStyleKind != kapsPanel && FStyleKind != kapsFormBackground && FStyleKind != kapsTransparent) return;
  switch (FBorderStyle) {
    case kapbsFlat: case kapbsRaised: case kapbsLowered: Rect.Inflate(-1, -1); break;
    case kapbsLoweredBevel: case kapbsRaisedBevel: Rect.Inflate(-2, -2); break;
    case kapbsTopBevel: Rect.Top += 2; break;
    case kapbsBottomBevel: Rect.Bottom -= 2; break;
    case kapbsTopLightLine: case kapbsTopShadowLine: Rect.Top += 1; break;
    case kapbsBottomLightLine: case kapbsBottomShadowLine: Rect.Bottom -= 1; break;
    case kapbsLeftBevel: Rect.Left += 2; break;
    case kapbsRightBevel: Rect.Right -= 2; break;
    case kapbsLeftLightLine: case kapbsLeftShadowLine: Rect.Left += 1; break;
    case kapbsRightLightLine: case kapbsRightShadowLine: Rect.Right -= 1; break;
    default: break;
  }
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaPanel::Paint() {
  if (FStyleKind == kapsEmpty && FCanBeEmpty) return;
  inherited::Paint();
}

void TkaPanel::DrawBorder(TCanvas* ACanvas) {
  if (FBorderStyle == kapbsNone) return;
  TColor l = FLightBorderColor, s = FShadowBorderColor;
  if (StyleElements().Contains(seBorder) && IsCustomStyleActive(this)) {
    l = GetStyleSystemColor(l, this);
    s = GetStyleSystemColor(s, this);
  }
  TRect r(0, 0, Width(), Height());
  const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  TPen* pen = ACanvas->Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  auto hline = [&](TColor Color, int Y) {
    pen->SetColor(Color);
    ACanvas->MoveTo(r.Left, Y);
    ACanvas->LineTo(r.Right, Y);
  };
  auto vline = [&](TColor Color, int X) {
    pen->SetColor(Color);
    ACanvas->MoveTo(X, r.Top);
    ACanvas->LineTo(X, r.Bottom);
  };
  switch (FBorderStyle) {
    case kapbsFlat: Frame3D(ACanvas, r, s, s, 1); break;
    case kapbsRaised: Frame3D(ACanvas, r, l, s, 1); break;
    case kapbsLowered: Frame3D(ACanvas, r, s, l, 1); break;
    case kapbsLoweredBevel:
      Frame3D(ACanvas, r, s, l, 1);
      Frame3D(ACanvas, r, l, s, 1);
      break;
    case kapbsRaisedBevel:
      Frame3D(ACanvas, r, l, s, 1);
      Frame3D(ACanvas, r, s, l, 1);
      break;
    case kapbsTopBevel: hline(s, r.Top); hline(l, r.Top + 1); break;
    case kapbsBottomBevel: hline(s, r.Bottom - 2); hline(l, r.Bottom - 1); break;
    case kapbsTopLightLine: hline(l, r.Top); break;
    case kapbsBottomLightLine: hline(l, r.Bottom - 1); break;
    case kapbsTopShadowLine: hline(s, r.Top); break;
    case kapbsBottomShadowLine: hline(s, r.Bottom - 1); break;
    case kapbsLeftBevel: vline(s, r.Left); vline(l, r.Left + 1); break;
    case kapbsRightBevel: vline(s, r.Right - 2); vline(l, r.Right - 1); break;
    case kapbsLeftLightLine: vline(l, r.Left); break;
    case kapbsRightLightLine: vline(l, r.Right - 1); break;
    case kapbsLeftShadowLine: vline(s, r.Left); break;
    case kapbsRightShadowLine: vline(s, r.Right - 1); break;
    case kapbsHorzCenterBevel: hline(s, cy - 1); hline(l, cy); break;
    case kapbsVertCenterBevel: vline(s, cx - 1); vline(l, cx); break;
    default: break;
  }
}

void TkaPanel::DrawEditBackground(TCanvas* ACanvas, TRect ARect) {
  FillRectWith(ACanvas, ARect, GetStyleSystemColor(clBtnFace, this));
  TCustomStyleServices* styles = StyleServices(this);
  if (styles->Enabled()) {
    styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teEditBorderNoScrollNormal), ARect);
  } else {
    TRect frame = ARect;
    Frame3D(ACanvas, frame, clBtnShadow, clBtnHighlight, 1);
    Frame3D(ACanvas, frame, cl3DDkShadow, cl3DLight, 1);
  }
  ARect.Inflate(-2, -2);
  FillRectWith(ACanvas, ARect, GetEditColor(false, this));
}

void TkaPanel::DrawStyleBackground(TCanvas* ACanvas, const TRect& ARect) {
  TCustomStyleServices* styles = StyleServices(this);
  const bool custom = IsCustomStyleActive(this);
  const bool styledClient = custom && StyleElements().Contains(seClient);
  switch (FStyleKind) {
    case kapsPanel:
      FillRectWith(ACanvas, ARect, styledClient ? GetStyleSystemColor(Color(), this) : Color());
      DrawBorder(ACanvas);
      break;
    case kapsToolBar:
      if (custom) FillRectWith(ACanvas, ARect, GetStyleSystemColor(clBtnFace, this));
      if (styles->Enabled())
        styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teToolBar), ARect);
      else
        FillRectWith(ACanvas, ARect, clBtnFace);
      DrawBorder(ACanvas);
      break;
    case kapsHeader:
      if (custom) FillRectWith(ACanvas, ARect, GetStyleSystemColor(clBtnFace, this));
      DrawHeaderSectionElement(ACanvas, ARect, kasNormal, this);
      DrawBorder(ACanvas);
      break;
    case kapsFormBackground:
      if (custom)
        styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teWindow), ARect);
      else
        FillRectWith(ACanvas, ARect, clBtnFace);
      DrawBorder(ACanvas);
      break;
    case kapsTransparent: DrawBorder(ACanvas); break;
    case kapsEmpty: break;
    case kapsEdit:
      if (FPopupMode) {
        FillRectWith(ACanvas, ARect, styledClient ? GetStyleSystemColor(clWindow, this) : clWindow);
        DrawBorder(ACanvas);
      } else {
        DrawEditBackground(ACanvas, ARect);
      }
      break;
    case kapsTabSheet: {
      // The pane's edges fall outside the panel: only its face shows.
      TRect pane = ARect;
      pane.Inflate(4, 4);
      styles->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(ttPane), pane);
      break;
    }
  }
}

bool TkaPanel::DrawImage(TCanvas* ACanvas, TkaCustomImageCollection* Images, int Index, const TRect& ARect) {
  if (Images == nullptr || !Images->IsIndexAvailable(Index)) return false;
  Images->Draw(ACanvas, ARect, Index, ScaleFactor());
  return true;
}

void TkaPanel::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  const TRect r(0, 0, Width(), Height());
  if (FWallpapers != nullptr && FWallpapers->IsSolidDrawing(FWallpaperIndex)) {
    // A solid wallpaper is the whole face: no background, content or caption under it.
    FWallpapers->Draw(ACanvas, r, FWallpaperIndex, ScaleFactor());
    DrawImage(ACanvas, FCustomImages, FCustomImageIndex, r);
    DrawBorder(ACanvas);
    return;
  }
  DrawStyleBackground(ACanvas, r);
  const bool borderOverImages = FStyleKind != kapsHeader && FStyleKind != kapsEdit;
  const std::pair<TkaCustomImageCollection*, int> images[] = {{FWallpapers, FWallpaperIndex},
                                                              {FCustomImages, FCustomImageIndex}};
  for (const auto& [collection, index] : images)
    if (DrawImage(ACanvas, collection, index, r) && borderOverImages) DrawBorder(ACanvas);

  TRect content = r;
  if (FBorderStyle != kapbsNone) content.Inflate(-2, -2);
  bool handled = false;
  DrawPanelContent(ACanvas, content, handled, ACtrlState);
  if (OnPanelPaint) OnPanelPaint(this, ACanvas, content);
  if (!FShowCaption || handled || GetCaptionText().empty()) return;
  TRect captionRect = r;
  captionRect.Inflate(-3, -3);
  DrawCaption(ACanvas, captionRect);
}

TColor TkaPanel::GetCaptionColor() {
  if (!StyleElements().Contains(seFont) || !IsCustomStyleActive(this)) return Font()->Color();
  switch (FStyleKind) {
    case kapsHeader: return GetHeaderTextColor(kasNormal, this);
    case kapsEdit: return GetEditTextColor(kasNormal, this);
    default: return GetCheckBoxTextColor(GetCtrlState(), this);
  }
}

bool TkaPanel::NeedGlowRebuild(TCanvas* ACanvas, const TRect& ATextRect) {
  TFont* font = ACanvas->Font();
  TGlowKey key;
  key.Caption = GetCaptionText();
  key.GlowColor = FCaptionGlowEffect->GetColor();
  key.FontName = font->Name();
  key.FontSize = font->Size();
  key.FontStyle = font->Style();
  key.WordWrap = FWordWrap;
  // A wrapped caption's rectangle follows the panel's width; the glow is made for one size.
  key.TextWidth = ATextRect.Width();
  key.TextHeight = ATextRect.Height();
  const bool rebuild = FUpdateGlowBuffer || !(key == FGlowKey);
  FGlowKey = std::move(key);
  FUpdateGlowBuffer = false;
  return rebuild;
}

void TkaPanel::DrawCaption(TCanvas* ACanvas, TRect ARect) {
  const String text = GetCaptionText();
  ACanvas->SetFont(Font());
  ACanvas->Font()->SetColor(GetCaptionColor());
  ACanvas->Brush()->SetStyle(bsClear);
  if (!FCaptionGlowEffect->Enabled()) {
    TRect t = ARect;
    if (FWordWrap) {
      TRect m(0, 0, t.Width(), t.Height());
      DrawTextIn(ACanvas, text, m, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
      t.Top = ARect.Top + (ARect.Height() - m.Height()) / 2;
    }
    const UINT lines = FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextIn(ACanvas, text, t, AlignmentFlag(FAlignment) | DT_NOPREFIX | DT_VCENTER | lines);
    return;
  }
  const int g = FCaptionGlowEffect->GlowSize(), o = FCaptionGlowEffect->Offset();
  TRect m;
  if (FWordWrap) {
    ARect.Top += g;
    m = TRect(0, 0, ARect.Width(), ARect.Height());
    DrawTextIn(ACanvas, text, m, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
  } else {
    DrawTextIn(ACanvas, text, m, DT_NOPREFIX | DT_CALCRECT);
  }
  const int mw = m.Width() + g + o, mh = m.Height() + g + o;
  TRect t;
  t.Top = ARect.Top + ARect.Height() / 2 - mh / 2;
  switch (FAlignment) {
    case taLeftJustify: t.Left = ARect.Left; break;
    case taRightJustify: t.Left = ARect.Right - mw; break;
    default: t.Left = ARect.Left + ARect.Width() / 2 - mw / 2; break;
  }
  t.Right = t.Left + mw;
  t.Bottom = t.Top + mh;
  const UINT flags = DT_NOPREFIX | DT_VCENTER | DT_CENTER | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextWithGlowBuffer(FGlowBuffer, NeedGlowRebuild(ACanvas, t), ACanvas, true, BiDiMode() == bdRightToLeft,
                         FCaptionGlowEffect->GetAlphaValue(), FCaptionGlowEffect->Intensive(), g,
                         FCaptionGlowEffect->GetColor(), o, flags, text, t);
}

// ---- Messages and mouse ---------------------------------------------------------------------

void TkaPanel::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!FStorePaintBuffer) Repaint();
  if (FTransparentBackground || FStorePaintBuffer) return;
  // Children show a stretched or placed image through them: its look changed with the size.
  const bool fullUpdate = (FWallpapers != nullptr && FWallpapers->NeedFullUpdate(FWallpaperIndex)) ||
                          (FCustomImages != nullptr && FCustomImages->NeedFullUpdate(FCustomImageIndex));
  if (fullUpdate)
    UpdateControls();
  else
    SizeChanged();
}

void TkaPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case CM_TEXTCHANGED:
      if (HandleAllocated()) ::SetWindowTextW(WindowHandle(), Caption().c_str());
      if (FShowCaption) Changed(false);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (FDragForm) FDragger.MouseDown(this, Button, Shift, FDragTopForm);
}

void TkaPanel::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  FDragger.MouseMove();
}

void TkaPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDragger.MouseUp();
}

// ---- Layout registration --------------------------------------------------------------------

KA_REGISTER_ENUM(TkaPanelStyleKind, {{L"kapsPanel", kapsPanel},
                                     {L"kapsToolBar", kapsToolBar},
                                     {L"kapsHeader", kapsHeader},
                                     {L"kapsFormBackground", kapsFormBackground},
                                     {L"kapsTransparent", kapsTransparent},
                                     {L"kapsEmpty", kapsEmpty},
                                     {L"kapsEdit", kapsEdit},
                                     {L"kapsTabSheet", kapsTabSheet}});
KA_REGISTER_ENUM(TkaPanelBorderStyle, {{L"kapbsNone", kapbsNone},
                                       {L"kapbsFlat", kapbsFlat},
                                       {L"kapbsRaised", kapbsRaised},
                                       {L"kapbsLowered", kapbsLowered},
                                       {L"kapbsLoweredBevel", kapbsLoweredBevel},
                                       {L"kapbsRaisedBevel", kapbsRaisedBevel},
                                       {L"kapbsTopBevel", kapbsTopBevel},
                                       {L"kapbsBottomBevel", kapbsBottomBevel},
                                       {L"kapbsTopLightLine", kapbsTopLightLine},
                                       {L"kapbsBottomLightLine", kapbsBottomLightLine},
                                       {L"kapbsTopShadowLine", kapbsTopShadowLine},
                                       {L"kapbsBottomShadowLine", kapbsBottomShadowLine},
                                       {L"kapbsLeftBevel", kapbsLeftBevel},
                                       {L"kapbsRightBevel", kapbsRightBevel},
                                       {L"kapbsLeftLightLine", kapbsLeftLightLine},
                                       {L"kapbsRightLightLine", kapbsRightLightLine},
                                       {L"kapbsLeftShadowLine", kapbsLeftShadowLine},
                                       {L"kapbsRightShadowLine", kapbsRightShadowLine},
                                       {L"kapbsHorzCenterBevel", kapbsHorzCenterBevel},
                                       {L"kapbsVertCenterBevel", kapbsVertCenterBevel}});

KA_REGISTER_CLASS(TkaPanel, [](auto& c) {
  c.Property(L"StyleKind", &TkaPanel::StyleKind, &TkaPanel::SetStyleKind);
  c.Property(L"BorderStyle", &TkaPanel::BorderStyle, &TkaPanel::SetBorderStyle);
  c.Property(L"LightBorderColor", &TkaPanel::LightBorderColor, &TkaPanel::SetLightBorderColor);
  c.Property(L"ShadowBorderColor", &TkaPanel::ShadowBorderColor, &TkaPanel::SetShadowBorderColor);
  c.Property(L"ShowCaption", &TkaPanel::ShowCaption, &TkaPanel::SetShowCaption);
  c.Property(L"Alignment", &TkaPanel::Alignment, &TkaPanel::SetAlignment);
  c.Property(L"WordWrap", &TkaPanel::WordWrap, &TkaPanel::SetWordWrap);
  c.Property(L"CaptionGlowEffect", &TkaPanel::CaptionGlowEffect);
  c.Property(L"Wallpapers", &TkaPanel::Wallpapers, &TkaPanel::SetWallpapers);
  c.Property(L"WallpaperIndex", &TkaPanel::WallpaperIndex, &TkaPanel::SetWallpaperIndex);
  c.Property(L"CustomImages", &TkaPanel::CustomImages, &TkaPanel::SetCustomImages);
  c.Property(L"CustomImageIndex", &TkaPanel::CustomImageIndex, &TkaPanel::SetCustomImageIndex);
  c.Property(L"StorePaintBuffer", &TkaPanel::StorePaintBuffer, &TkaPanel::SetStorePaintBuffer);
  c.Property(L"DragForm", &TkaPanel::DragForm, &TkaPanel::SetDragForm);
  c.Property(L"DragTopForm", &TkaPanel::DragTopForm, &TkaPanel::SetDragTopForm);
  c.Property(L"OnPanelPaint", &TkaPanel::OnPanelPaint);
});
