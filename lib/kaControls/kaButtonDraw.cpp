// TkaButton's face: the look of its style kind, the title line, the caption font, focus
// rectangles, the drop-down zone with its arrow and split line, and the image and caption.
#include "framework/Themes.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaImageCollection/kaImageCollection.h"

// What the drawing steps hand on to each other.
struct TkaButton::TPaintState {
  TkasCtrlState S = kasNormal;
  TRect R;               // what is left for the content; the steps shrink it
  bool Rtl = false;
  bool Split = false;    // a drop-down with a split zone
  bool Styled = false;   // the style services draw elements
  bool Custom = false;   // a custom style draws the control
  TRect Margins;         // the state's custom image's content margins (all 0 without one)
  TColor T = clNone;     // the kind's text colour
  TColor A = clNone;     // the arrow colour

  bool Lit() const { return S == kasHot || S == kasPressed || S == kasFocused; }
};

namespace {

TkaSegmentPart SegmentPart(TkaButtonStyleKind Kind) {
  switch (Kind) {
    case kabsSegmentedLeft: case kabsSegmentedToolLeft: return kaspLeft;
    case kabsSegmentedMiddle: case kabsSegmentedToolMiddle: return kaspMiddle;
    default: return kaspRight;
  }
}

bool HasAnyMargin(const TRect& M) { return M.Left != 0 || M.Top != 0 || M.Right != 0 || M.Bottom != 0; }

void FillWith(TCanvas* ACanvas, const TRect& ARect, TColor Color) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Color);
  ACanvas->FillRect(ARect);
}

}  // namespace

// ---- Pieces -------------------------------------------------------------------------------

TRect TkaButton::SplitZone() const {
  const int w = Width(), h = Height(), sw = FSplitWidth;
  if (FArrowPosition == kaapBottom) return TRect(0, h - sw, w, h);
  if (BiDiMode() == bdRightToLeft) return TRect(0, 0, sw, h);
  return TRect(w - sw, 0, w, h);
}

// The part beside the split zone, Margin pixels inside the button and one pixel off the
// zone.
TRect TkaButton::MainPart(int Margin) const {
  const int w = Width(), h = Height(), sw = FSplitWidth;
  if (FArrowPosition == kaapBottom) return TRect(Margin, Margin, w - Margin, h - sw - 1);
  if (BiDiMode() == bdRightToLeft) return TRect(sw + 1, Margin, w - Margin, h - Margin);
  return TRect(Margin, Margin, w - sw - 1, h - Margin);
}

bool TkaButton::DrawCustomImage(TCanvas* ACanvas, TkasCtrlState S, const TRect& ARect) {
  const int index = FCustomImageIndex[S];
  if (FCustomImages == nullptr || !FCustomImages->IsIndexAvailable(index)) return false;
  FCustomImages->Draw(ACanvas, ARect, index, ScaleFactor());
  return true;
}

TRect TkaButton::CustomContentMargins(TkasCtrlState S) const {
  if (FStyleKind != kabsCustomImage && FStyleKind != kabsCustomImageOverContent) return TRect();
  const int index = FCustomImageIndex[S];
  if (FCustomImages == nullptr || !FCustomImages->IsIndexAvailable(index)) return TRect();
  return FCustomImages->GetContentMargins(index, ScaleFactor());
}

// The colour options' fill and frame for S; the caption colour for S.
TColor TkaButton::PaintColorFace(TCanvas* ACanvas, const TRect& ARect, TkasCtrlState S) {
  FColorOptions->SetState(S);
  FillWith(ACanvas, ARect, FColorOptions->GetColor());
  const TColor frame = FColorOptions->GetFrameColor();
  const int width = FColorOptions->FrameWidth();
  TRect f = ARect;
  if (frame != clNone && width > 0) Frame3D(ACanvas, f, frame, frame, width);
  return FColorOptions->GetFontColor();
}

TColor TkaButton::FontColorRule(TkasCtrlState S) {
  if (FUseFontColorToStyleColor && S != kasDisabled) return ColorToRGB(GetStyleSystemColor(Font()->Color(), this));
  return GetCheckBoxTextColor(S, this);
}

// ---- Steps --------------------------------------------------------------------------------

bool TkaButton::DrawElementOnly(TCanvas* ACanvas, TkasCtrlState S) {
  const TRect r(0, 0, Width(), Height());
  switch (FStyleKind) {
    case kabsUpSpinButton: DrawSpinButtonElement(ACanvas, r, S, this, kaArrowUp); return true;
    case kabsDownSpinButton: DrawSpinButtonElement(ACanvas, r, S, this, kaArrowDown); return true;
    case kabsLeftSpinButton: DrawSpinButtonElement(ACanvas, r, S, this, kaArrowLeft); return true;
    case kabsRightSpinButton: DrawSpinButtonElement(ACanvas, r, S, this, kaArrowRight); return true;
    case kabsDropDownButton: DrawDropDownButtonElement(ACanvas, r, S, this); return true;
    default: return false;
  }
}

TColor TkaButton::DrawKindBackground(TCanvas* ACanvas, TPaintState& P) {
  const TRect r(0, 0, Width(), Height());
  // While the split zone's menu is open the zone is painted pressed afterwards; the face
  // must not show through it.
  if (FMenuDroppedDown && P.Styled && FStyleKind != kabsTransparent && FStyleKind != kabsLink &&
      FStyleKind != kabsColorButton) {
    const TRect zone = SplitZone();
    TRect main = r;
    if (FArrowPosition == kaapBottom)
      main.Bottom = zone.Top;
    else if (P.Rtl)
      main.Left = zone.Right;
    else
      main.Right = zone.Left;
    TCanvasStateSaver clip(ACanvas, main);
    return PaintKindFace(ACanvas, r, P);
  }
  return PaintKindFace(ACanvas, r, P);
}

TColor TkaButton::PaintKindFace(TCanvas* ACanvas, const TRect& r, const TPaintState& P) {
  const TkasCtrlState S = P.S;
  const bool focus = FCanFocused && Focused() && !P.Split && (FShowFocusRect || !P.Styled);
  switch (FStyleKind) {
    case kabsPushButton:
      DrawPushButtonElement(ACanvas, r, S, this, ScaleFactor(), focus);
      return GetButtonTextColor(S, this);
    case kabsToolButton: DrawToolButtonElement(ACanvas, r, S, this); return GetToolButtonTextColor(S, this);
    case kabsPushButtonTransparent:
      if (!P.Lit()) return FontColorRule(S);
      DrawPushButtonElement(ACanvas, r, S, this, ScaleFactor(), focus);
      return GetButtonTextColor(S, this);
    case kabsToolButtonTransparent:
      if (!P.Lit()) return FontColorRule(S);
      if (!P.Styled) FillWith(ACanvas, r, clBtnFace);
      DrawToolButtonElement(ACanvas, r, S, this);
      return GetToolButtonTextColor(S, this);
    case kabsHeaderSection: DrawHeaderSectionElement(ACanvas, r, S, this); return GetHeaderTextColor(S, this);
    case kabsColorButton: return PaintColorFace(ACanvas, r, S);
    case kabsCustomImage:
    case kabsCustomImageOverContent:
      if (FStyleKind == kabsCustomImage) DrawCustomImage(ACanvas, S, r);
      FColorOptions->SetState(S);
      return FColorOptions->GetFontColor();
    case kabsTab: DrawTabElement(ACanvas, r, S, this); return GetTabButtonTextColor(S, this);
    case kabsTabTransparent:
      if (!P.Lit()) return FontColorRule(S);
      DrawTabElement(ACanvas, r, S, this);
      return GetTabButtonTextColor(S);
    case kabsSegmentedLeft: case kabsSegmentedMiddle: case kabsSegmentedRight:
      DrawSegmentedElement(ACanvas, r, S, this, SegmentPart(FStyleKind), ScaleFactor(), focus);
      return GetButtonTextColor(S, this);
    case kabsSegmentedToolLeft: case kabsSegmentedToolMiddle: case kabsSegmentedToolRight:
      DrawSegmentedToolElement(ACanvas, r, S, this, SegmentPart(FStyleKind));
      return GetToolButtonTextColor(S, this);
    case kabsDropDownCombo:
      DrawPushButtonElement(ACanvas, r, S == kasFocused ? kasHot : S, this, ScaleFactor(), false);
      return GetButtonTextColor(S, this);
    default: return FontColorRule(S);  // transparent and link: no face
  }
}

void TkaButton::DrawTitle(TCanvas* ACanvas, TPaintState& P) {
  if (FTitle.empty()) return;
  ACanvas->SetFont(FTitleFont);
  if (FStyleKind == kabsColorButton) {
    FColorOptions->SetState(P.S);
    ACanvas->Font()->SetColor(FColorOptions->GetTitleFontColor());
  } else if (StyleElements().Contains(seFont) && (P.Custom || P.S == kasDisabled)) {
    ACanvas->Font()->SetColor(P.T);
  }
  int l = P.Margins.Left >= 1 ? P.Margins.Left : 5;
  if (FScaleMarginAndSpacing) l = Round(l * ScaleFactor());
  const int w = Width(), sw = FSplitWidth, h = ACanvas->TextHeight(L"Wq");
  TRect t(l, 5, w - 5, 5 + h);
  if (HasDropDown() && FArrowPosition != kaapBottom) {
    if (P.Rtl)
      t = TRect(sw + 1, 5, w - l, 5 + h);
    else
      t.Right = w - sw - 1;
  }
  if (ScaleFactor() > 1.25) t.Inflate(-2, 0);
  DrawTextLine(ACanvas, FTitle, t, false, P.Rtl);
  P.R.Top += h;
}

void TkaButton::PrepareCaptionFont(TCanvas* ACanvas, TPaintState& P) {
  ACanvas->SetFont(Font());
  TColor color = Font()->Color();
  if (FStyleKind == kabsColorButton) {
    FColorOptions->SetState(P.S);
    color = FColorOptions->GetFontColor();
  } else if (StyleElements().Contains(seFont) && (P.Custom || P.S == kasDisabled)) {
    color = P.T;
  } else if (P.S == kasDisabled) {
    color = clGrayText;
  }
  if (P.S == kasDisabled && FDisabledFontColor != clNone) color = FDisabledFontColor;
  ACanvas->Font()->SetColor(color);
  P.A = color;
  if (FStyleKind == kabsLink && P.Lit()) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsUnderline});
}

// Non-split push and segmented buttons got their focus rectangle from the element painter.
void TkaButton::DrawFocusFrame(TCanvas* ACanvas, const TPaintState& P) {
  if (!FCanFocused || !Focused() || !FShowFocusRect) return;
  TRect r;
  switch (FStyleKind) {
    case kabsPushButtonTransparent:
      if (!P.Lit()) return;
      [[fallthrough]];
    case kabsPushButton: case kabsSegmentedLeft: case kabsSegmentedMiddle: case kabsSegmentedRight:
    case kabsSegmentedToolLeft: case kabsSegmentedToolMiddle: case kabsSegmentedToolRight:
      if (!P.Split || P.Custom) return;
      r = MainPart(3);
      break;
    case kabsTransparent: case kabsLink: r = P.Split ? MainPart(0) : TRect(0, 0, Width(), Height()); break;
    case kabsDropDownCombo: r = MainPart(4); break;
    default: return;
  }
  DrawFocusRectangle(ACanvas, r, ScaleFactor());
}

void TkaButton::DrawPressedSplitZone(TCanvas* ACanvas, TPaintState& P, const TRect& Zone) {
  const TRect whole(0, 0, Width(), Height());
  // Styled elements are drawn whole and cut to the zone, so their ends do not show in it.
  const TRect target = P.Styled && FStyleKind != kabsColorButton ? whole : Zone;
  TCanvasStateSaver clip(ACanvas, Zone);
  P.A = PaintPressedZone(ACanvas, target);
}

TColor TkaButton::PaintPressedZone(TCanvas* ACanvas, const TRect& r) {
  switch (FStyleKind) {
    case kabsToolButton: case kabsToolButtonTransparent:
      DrawToolButtonElement(ACanvas, r, kasPressed, this);
      return GetToolButtonTextColor(kasPressed, this);
    case kabsHeaderSection:
      DrawHeaderSectionElement(ACanvas, r, kasPressed, this);
      return GetHeaderTextColor(kasPressed, this);
    case kabsColorButton: return PaintColorFace(ACanvas, r, kasPressed);
    case kabsCustomImage: case kabsCustomImageOverContent:
      DrawCustomImage(ACanvas, kasPressed, r);
      FColorOptions->SetState(kasPressed);
      return FColorOptions->GetFontColor();
    case kabsTab: case kabsTabTransparent:
      DrawTabElement(ACanvas, r, kasPressed, this);
      return GetTabButtonTextColor(kasPressed, this);
    case kabsSegmentedLeft: case kabsSegmentedMiddle: case kabsSegmentedRight:
      DrawSegmentedElement(ACanvas, r, kasPressed, this, SegmentPart(FStyleKind), 1, false);
      return GetButtonTextColor(kasPressed, this);
    case kabsSegmentedToolLeft: case kabsSegmentedToolMiddle: case kabsSegmentedToolRight:
      DrawSegmentedToolElement(ACanvas, r, kasPressed, this, SegmentPart(FStyleKind));
      return GetToolButtonTextColor(kasPressed, this);
    default:  // the push-button kinds and the drop-down combo
      DrawPushButtonElement(ACanvas, r, kasPressed, this, 1, false);
      return GetButtonTextColor(kasPressed, this);
  }
}

void TkaButton::DrawDropDownArrow(TCanvas* ACanvas, const TPaintState& P, TRect Arrow) {
  const double scale = ScaleFactor();
  if (FStyleKind == kabsDropDownCombo) {
    Arrow.Right -= 2;
    if (P.Custom || !P.Styled || IsWindowsXP()) {
      DrawComboArrow(ACanvas, Arrow, P.A, this, scale);
      return;
    }
    const TRect r(Arrow.Left, Arrow.Top - 1, Arrow.Right + 1, Arrow.Bottom + 1);
    const TThemedComboBox detail = P.S == kasDisabled ? tcDropDownButtonRightDisabled : tcDropDownButtonRightNormal;
    ACanvas->Changing();
    StyleServices(this)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(detail), r);
    ACanvas->Changed();
    return;
  }
  const bool right = FArrowDirection == kaadRight;
  if (UseModernArrows() && P.Custom) {
    if (right)
      DrawChevronArrow(ACanvas, Arrow, P.A, scale, kaChevronRight);
    else
      DrawChevronDown(ACanvas, Arrow, P.A, scale);
  } else {
    DrawTriangleArrow(ACanvas, Arrow, P.A, scale, right ? kaArrowRight : kaArrowDown);
  }
}

void TkaButton::DrawSplitLine(TCanvas* ACanvas, const TPaintState& P, const TRect& Arrow) {
  const bool bottom = FArrowPosition == kaapBottom;
  if (FStyleKind == kabsColorButton) {
    FColorOptions->SetState(P.S);
    TColor color = FColorOptions->GetFrameColor();
    if (color == clNone) color = GetStyleSystemColor(FColorOptions->PressedColor(), this);
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(color);
    if (bottom) {
      ACanvas->MoveTo(Arrow.Left, Arrow.Top);
      ACanvas->LineTo(Arrow.Right, Arrow.Top);
    } else {
      const int x = P.Rtl ? Arrow.Right - 1 : Arrow.Left;
      ACanvas->MoveTo(x, Arrow.Top);
      ACanvas->LineTo(x, Arrow.Bottom);
    }
    return;
  }
  if (FStyleKind != kabsPushButton && !P.Lit()) return;
  if (bottom)
    DrawElementSeparator(ACanvas, TPoint(Arrow.Left, Arrow.Top), Arrow.Width(), true, this);
  else
    DrawElementSeparator(ACanvas, TPoint(P.Rtl ? Arrow.Right - 2 : Arrow.Left, Arrow.Top), Arrow.Height(), false,
                         this);
}

void TkaButton::DrawDropDownZone(TCanvas* ACanvas, TPaintState& P) {
  const int w = Width(), h = Height(), sw = FSplitWidth;
  const bool bottom = FArrowPosition == kaapBottom;
  const int lose = P.Split ? sw - 2 : FShowMenuArrow ? sw - 5 : 0;
  if (bottom)
    P.R.Bottom -= lose;
  else if (P.Rtl)
    P.R.Left += lose;
  else
    P.R.Right -= lose;
  if (FMenuDroppedDown && FStyleKind != kabsTransparent && FStyleKind != kabsLink)
    DrawPressedSplitZone(ACanvas, P, SplitZone());
  TRect arrow = bottom ? TRect(2, h - sw, w - 2, h) : P.Rtl ? TRect(0, 2, sw, h - 2) : TRect(w - sw, 2, w, h - 2);
  if (bottom)
    arrow.Bottom -= P.Margins.Bottom / 2;
  else if (P.Rtl)
    arrow.Left += P.Margins.Left / 2;
  else
    arrow.Right -= P.Margins.Right / 2;
  if (FShowMenuArrow || FSplitButton) DrawDropDownArrow(ACanvas, P, arrow);
  if (FSplitButton) DrawSplitLine(ACanvas, P, arrow);
}

TRect TkaButton::ContentRect(const TPaintState& P) const {
  TRect r = P.R;
  if (HasAnyMargin(P.Margins)) {
    TRect m = P.Margins;
    // The arrow zone already took its room.
    if (FDropDownMenu != nullptr || FGalleryMenu != nullptr) {
      if (FArrowPosition == kaapBottom) m.Bottom /= 2;
      else if (P.Rtl) m.Left /= 2;
      else m.Right /= 2;
    }
    r = TRect(r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom);
  } else {
    r.Inflate(-3, -3);
  }
  if (ScaleFactor() > 1.25) r.Inflate(-2, -2);
  const int halfGlow = FGlowEffect->Enabled() ? FGlowEffect->GlowSize() / 2 : 0;
  r.Inflate(-halfGlow, -halfGlow);
  if (FStyleKind == kabsTab && P.S != kasPressed && P.S != kasFocused && !P.Styled) r.Top += 2;
  return r;
}

// The caption, image list and index to show: the button's own, or the gallery's selected
// item's.
void TkaButton::ContentSource(TkasCtrlState S, String& ACaption, TCustomImageList*& AImages, int& AIndex) const {
  ACaption = FShowCaption ? Caption() : String();
  AImages = FImages;
  AIndex = ImageIndexFor(S);
  auto* gallery = dynamic_cast<IkaGalleryMenuSelection*>(FGalleryMenu);
  if (gallery == nullptr || (!FUseGalleryMenuCaption && !FUseGalleryMenuImage)) return;
  String selected;
  int selectedImage = -1;
  if (!gallery->SelectedItem(selected, selectedImage)) return;
  if (FUseGalleryMenuCaption && FShowCaption) ACaption = selected;
  if (FUseGalleryMenuImage && gallery->GalleryImages() != nullptr) {
    AImages = gallery->GalleryImages();
    AIndex = selectedImage;
  }
}

// With an image margin every button of the same margin puts its image centre and caption
// start at the same x, whatever its image width.
void TkaButton::ImageMarginLayout(TCustomImageList* AImages, int& AMargin, int& ASpacing) const {
  AMargin = FMargin;
  ASpacing = FSpacing;
  if (FImageMargin <= 0 || AImages == nullptr) return;
  const int iw = AImages->Width();
  const int halfGlow = FGlowEffect->Enabled() ? FGlowEffect->GlowSize() / 2 : 0;
  AMargin = FImageMargin / 2 - iw / 2 - 3 - halfGlow;
  ASpacing = FImageMargin + FSpacing - AMargin - iw - halfGlow;
  if (AMargin < 0) {
    AMargin = 0;
    ASpacing = FSpacing;
  }
}

void TkaButton::DrawContent(TCanvas* ACanvas, TPaintState& P) {
  const TRect r = ContentRect(P);
  if (OnPaintContent) {
    OnPaintContent(this, ACanvas, r, P.S);
    return;
  }
  TkaImageCaption content;
  ContentSource(P.S, content.Caption, content.Images, content.ImageIndex);
  ImageMarginLayout(content.Images, content.Margin, content.Spacing);
  content.Layout = PlacedLayout();
  content.Centred = content.Layout == blGlyphTop || content.Layout == blGlyphBottom || FCaptionCenterAlignment;
  content.RightToLeft = P.Rtl;
  DrawImageAndCaption(ACanvas, r, P.S, content);
}

// ---- The face -----------------------------------------------------------------------------

void TkaButton::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  const TRect whole(0, 0, Width(), Height());
  if (!FTransparentBackground) FillWith(ACanvas, whole, GetStyleSystemColor(clBtnFace, this));
  if (DrawElementOnly(ACanvas, ACtrlState)) return;
  TPaintState p;
  p.S = ACtrlState;
  p.R = whole;
  p.Rtl = BiDiMode() == bdRightToLeft;
  p.Split = HasDropDown() && FSplitButton;
  p.Styled = StyleServices(this)->Enabled();
  p.Custom = IsCustomStyleActive(this);
  p.Margins = CustomContentMargins(ACtrlState);
  p.T = DrawKindBackground(ACanvas, p);
  ACanvas->Brush()->SetStyle(bsClear);
  DrawTitle(ACanvas, p);
  PrepareCaptionFont(ACanvas, p);
  DrawFocusFrame(ACanvas, p);
  if (HasDropDown()) DrawDropDownZone(ACanvas, p);
  DrawContent(ACanvas, p);
  if (FStyleKind == kabsCustomImageOverContent) DrawCustomImage(ACanvas, ACtrlState, whole);
}
