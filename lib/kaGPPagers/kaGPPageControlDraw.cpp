// Painting of the vector page control: the background, the frame around the page area and
// the tabs (shape or line, caption with image and glow, close button).
#include <algorithm>
#include <memory>

#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

namespace {

TGPRectF FloatRect(const TRect& R) { return TGPRectF(R.Left, R.Top, R.Width(), R.Height()); }

// The outline of a tab rounded at its top corners only, with corner diameter D.
void AddTopRoundedTab(GraphicsPath& Path, const TGPRectF& R, float D) {
  Path.AddArc(R.X, R.Y, D, D, 180, 90);
  Path.AddArc(R.X + R.Width - D, R.Y, D, D, 270, 90);
  Path.AddLine(R.X + R.Width, R.Y + R.Height, R.X, R.Y + R.Height);
  Path.CloseFigure();
}

struct TGlowBuffers {
  TBitmap* Text = nullptr;
  TBitmap* Image = nullptr;
  ~TGlowBuffers() {
    delete Text;
    delete Image;
  }
};

}  // namespace

// One tab's drawing, split in its steps.
struct TkaGPTabPainter {
  TkaGPPageControl* P;
  Graphics* G;
  TCanvas* C;
  int Index;
  TkaGPPageControlTab* Tab;
  TkaGPTabOptions* O = nullptr;
  TkasCtrlState State = kasNormal;
  TRect R;
  TGPRectF K;

  bool Shape() const { return P->FTabOptions->TabStyle() == gptsShape; }
  bool Bordered() const { return P->FBorderStyle != kagpbsNone; }
  bool Selected() const { return Index == P->FTabIndex; }
  bool Rtl() const { return P->BiDiMode() == bdRightToLeft; }
  bool FixedWidth() const {
    return P->FTabWidth != 0 || P->FTabTextMargin != 0 || P->FTabTextActiveBold || P->FStretchTabs;
  }
  bool Ellipsis() const {
    if (P->FTabTextActiveBold) return P->FTabWidth > 0 || P->FStretchTabs;
    return P->FTabWidth > 0 || P->FTabTextMargin > 0 || P->FStretchTabs;
  }

  // The visible part of the tab, between the row's ends and the arrow buttons; false when
  // nothing of it shows.
  bool Prepare() {
    R = Tab->TabRect;
    if (Selected() && Shape() && Bordered()) R.Bottom += P->FFrameWidth;
    float left = P->FTabsLeftOffset + (P->FLeftScrollButton != nullptr ? P->FScrollButtonWidth : 0);
    float right = P->Width() - P->FTabsRightOffset - (P->FRightScrollButton != nullptr ? P->FScrollButtonWidth : 0);
    left = std::max(left, static_cast<float>(R.Left));
    right = std::min(right, static_cast<float>(R.Right));
    if (right <= left) return false;
    K = TGPRectF(left, R.Top, right - left, R.Height());
    O = Tab->FUseCustomOptions ? Tab->FCustomOptions : P->FTabOptions;
    // Inactive shapes run on under the clip and show no bottom edge; the selected one
    // covers the frame line.
    if (Shape() && Bordered()) R.Bottom += 2 * P->FFrameWidth;
    if (Selected() && Tab->FEnabled && Tab->FVisible)
      State = P->Focused() ? kasFocused : kasPressed;
    else if (Tab->Active)
      State = kasHot;
    else
      State = Tab->FEnabled ? kasNormal : kasDisabled;
    O->SetState(State);
    return true;
  }

  TColor FontColor() const {
    const TColor c = O->GetFontColor();
    if (State != kasDisabled) return c;
    return IsLightColor(c) ? DarkerColor(c, 40) : LighterColor(c, 40);
  }

  std::unique_ptr<Brush> FillBrush(TGPColor Fill) const {
    if (O->ShapeFillStyle() != kagpsfGradient) return std::make_unique<SolidBrush>(Gdiplus::Color(Fill));
    TGPRectF g = FloatRect(R);
    InflateGPRect(g, O->FrameWidth(), O->FrameWidth());
    const TGPColor from = ToGPColor(LighterColor(O->GetColor(), O->GradientColorOffset()), O->GetColorAlpha());
    return std::make_unique<LinearGradientBrush>(g, Gdiplus::Color(from), Gdiplus::Color(Fill),
                                                 static_cast<REAL>(O->ShapeFillGradientAngle()), FALSE);
  }

  void DrawShape() {
    const bool strong = State == kasHot || State == kasPressed || State == kasFocused;
    if (!strong && !P->FShowInActiveTab) return;
    uint8_t fillAlpha = O->GetColorAlpha(), frameAlpha = O->GetFrameColorAlpha();
    if (State == kasDisabled) fillAlpha /= 2, frameAlpha /= 2;
    const TGPColor fill = ToGPColor(O->GetColor(), fillAlpha), frame = ToGPColor(O->GetFrameColor(), frameAlpha);
    std::unique_ptr<Brush> brush = FillBrush(fill);
    const TkaGPTabOptions* to = P->FTabOptions;
    const float fw = static_cast<float>(to->FrameWidth());
    Pen pen(Gdiplus::Color(frame), fw);
    TGPRectF a = FloatRect(R), p = FloatRect(R);
    if (Shape() && to->FrameWidth() > 0) {
      InflateGPRect(a, -(fw - 0.2f), -(fw - 0.2f));
      InflateGPRect(p, -fw / 2, -fw / 2);
    }
    TGPClipScope clip(G);
    G->SetClip(K, CombineModeIntersect);
    const int r = to->ShapeCornerRadius();
    switch (to->TabStyle()) {
      case gptsRoundedLine: DrawRoundedLine(*brush, frame, a, p, r, fw); break;
      case gptsShape: DrawTabShape(*brush, pen, a, p, r); break;
      default: DrawLine(*brush, pen, a, p, fw); break;
    }
  }

  void DrawRoundedLine(Brush& Fill, TGPColor Frame, const TGPRectF& A, const TGPRectF& Pr, int Radius, float Fw) {
    GraphicsPath path;
    GPAddRoundedRect(&path, A, Radius);
    G->FillPath(&Fill, &path);
    const float y = Pr.Y + Pr.Height - Fw, centre = Pr.X + Pr.Width / 2;
    const int lw = P->FTabOptions->LineWidth();
    const float x1 = lw > 0 ? centre - lw / 2 : Pr.X + Radius;
    const float x2 = lw > 0 ? centre + lw / 2 : Pr.X + Pr.Width - Radius;
    GPFillPillBetween(G, Frame, Fw, x1, y, x2, y + Fw);
  }

  void DrawTabShape(Brush& Fill, Pen& Frame, const TGPRectF& A, const TGPRectF& Pr, int Radius) {
    if (Radius == 0) {
      G->FillRectangle(&Fill, A);
      G->DrawRectangle(&Frame, Pr);
      return;
    }
    GraphicsPath fillPath, framePath;
    AddTopRoundedTab(fillPath, A, static_cast<float>(std::max(1, 2 * Radius - O->FrameWidth())));
    AddTopRoundedTab(framePath, Pr, static_cast<float>(2 * Radius));
    G->FillPath(&Fill, &fillPath);
    G->DrawPath(&Frame, &framePath);
  }

  void DrawLine(Brush& Fill, Pen& Frame, const TGPRectF& A, TGPRectF Pr, float Fw) {
    G->FillRectangle(&Fill, A);
    InflateGPRect(Pr, -Fw / 2, -Fw / 2);
    Pr.X = A.X;
    Pr.Width = A.Width;
    const float y = Pr.Y + Pr.Height, centre = Pr.X + Pr.Width / 2;
    const int lw = P->FTabOptions->LineWidth();
    if (lw > 0)
      G->DrawLine(&Frame, centre - lw / 2, y, centre + lw / 2, y);
    else
      G->DrawLine(&Frame, Pr.X, y, Pr.X + Pr.Width, y);
  }

  TRect TextRect() const {
    TRect t = Tab->TabRect;
    t.Top += P->FFrameWidth;
    if (FixedWidth()) {
      t.Left += P->FTabMargin;
      t.Right -= P->FTabMargin;
      if (P->TabShowsCloseButton(Index)) {
        const int more = P->FCloseButtonSize + 15 - P->FTabMargin;
        if (Rtl())
          t.Left += more;
        else
          t.Right -= more;
      }
    } else if (Rtl()) {
      t.Right -= P->FTabMargin;
    } else {
      t.Left += P->FTabMargin;
    }
    return t;
  }

  // The glow's settings in this state; false when it is not drawn.
  bool Glow(TkaGlowParams& Params) const {
    const TkaButtonGlowEffect* e = Tab->FCustomGlowEffect->Enabled() ? Tab->FCustomGlowEffect : P->FTabGlowEffect;
    if (!e->Enabled() || !e->States().Contains(State)) return false;
    TColor c = clNone;
    if (State == kasHot) c = e->GetHotColor();
    if (State == kasPressed) c = e->GetPressedColor();
    if (State == kasFocused) c = e->GetFocusedColor();
    if (c == clNone) c = e->GetColor();
    Params.Alpha = e->GetAlphaValue();
    Params.Intensive = e->Intensive();
    Params.Size = e->GlowSize();
    Params.Color = c;
    Params.Offset = e->Offset();
    return true;
  }

  void DrawCaption() {
    C->Font()->Assign(P->Font());
    TFontStyles style = C->Font()->Style();
    if (P->FTabTextActiveBold) style = Selected() ? style + TFontStyles{fsBold} : style - TFontStyles{fsBold};
    C->Font()->SetStyle(style);
    C->Font()->SetColor(FontColor());
    C->Brush()->SetStyle(bsClear);
    TRect t = TextRect();
    TCustomImageList* list = nullptr;
    int image = -1;
    const bool hasImage = P->HasImage(Index, list, image);
    if (P->OnGetTabDrawParams) P->OnGetTabDrawParams(Index, State, C);
    TkaGlowParams glow;
    const bool glowOn = Glow(glow);
    if (hasImage)
      DrawImageCaption(t, list, image, glowOn, glow);
    else
      DrawTextCaption(t, glowOn, glow);
  }

  void DrawImageCaption(const TRect& T, TCustomImageList* List, int Image, bool GlowOn, const TkaGlowParams& Glow) {
    const bool fixed = FixedWidth(), e = fixed && Ellipsis(), rtl = Rtl();
    const TButtonLayout layout = rtl ? blGlyphRight : blGlyphLeft;
    const int spacing = fixed ? -101 : P->FTabSpacing;
    const bool enabled = Tab->FEnabled && P->Enabled();
    const String& text = Tab->FCaption;
    if (P->DrawTextMode() == kadtmGDIPlus) {
      GPDrawImageAndText(G, C, T, layout, 0, spacing, text, List, Image, false, e, false, true, rtl, false, enabled,
                         1.0);
    } else if (GlowOn) {
      TGlowBuffers buffers;
      DrawImageAndTextLeftWithGlow(C, T, 0, !fixed, 1.0, true, rtl, false, clNone, false, enabled, List, Image, text,
                                   layout, spacing, e, buffers.Text, buffers.Image, true, false, Glow);
    } else {
      DrawImageAndTextLeft(C, T, 0, !fixed, 1.0, true, rtl, false, clNone, false, enabled, List, Image, text, layout,
                           spacing, e);
    }
  }

  void DrawTextCaption(TRect T, bool GlowOn, const TkaGlowParams& Glow) {
    UINT flags = DT_VCENTER;
    if (FixedWidth()) flags |= DT_CENTER;
    if (Ellipsis()) flags |= DT_END_ELLIPSIS;
    const String& text = Tab->FCaption;
    if (P->DrawTextMode() == kadtmGDIPlus) {
      T.Offset(0, 2);
      GPDrawText(G, nullptr, C, T, text, BiDiTextFlags(flags, Rtl()), 255);
      return;
    }
    T.Offset(0, 1);
    flags = BiDiTextFlags(flags | DT_SINGLELINE, Rtl());
    if (GlowOn) {
      DrawTextWithGlow(C, T, text, true, Rtl(), Glow.Alpha, Glow.Intensive, Glow.Size, Glow.Color, Glow.Offset, flags);
    } else {
      RECT r = *T.AsRECT();
      ::DrawTextW(C->Handle(), text.c_str(), -1, &r, flags);
    }
  }

  void DrawCloseButton() {
    if (!P->TabShowsCloseButton(Index)) return;
    const TRect& b = Tab->CloseButtonRect;
    TkaGPTabCloseButtonOptions* co = P->FTabCloseButtonOptions;
    TkasCtrlState s = kasNormal;
    if (!Tab->FEnabled)
      s = kasDisabled;
    else if (Tab->CloseButtonMouseDown)
      s = kasPressed;
    else if (Tab->CloseButtonMouseIn)
      s = kasHot;
    co->SetState(s);
    if (co->GetColorAlpha() != 0) {
      SolidBrush face(Gdiplus::Color(ToGPColor(co->GetColor(), co->GetColorAlpha())));
      if (co->ShapeKind() == kagptcbRounded)
        G->FillEllipse(&face, FloatRect(b));
      else
        G->FillRectangle(&face, FloatRect(b));
    }
    TRect box = b;
    box.Inflate(-(P->FCloseButtonSize / 4), -(P->FCloseButtonSize / 4));
    GPDrawGlyph(G, kagpbgkClose, FloatRect(box), ToGPColor(co->GetGlyphColor(), co->GetGlyphColorAlpha()),
                P->ScaleFactor(), 2);
  }

  void Draw() {
    if (!Prepare()) return;
    DrawShape();
    // What GDI+ draws of the caption and the close button stays off the arrow buttons too.
    TGPClipScope clip(G);
    G->SetClip(K);
    DrawCaption();
    DrawCloseButton();
  }
};

void TkaGPPageControl::DrawFrame(Graphics* G) {
  if (FBorderStyle == kagpbsNone || FFrameWidth <= 0 || FGetControlBG) return;
  TGPColor color = ToGPColor(GetStyleSystemColor(FFrameColor, this), FFrameColorAlpha);
  const bool selected = FTabIndex >= 0 && FTabIndex < FTabs->Count();
  if (selected && FTabs->Items(FTabIndex)->FCustomFrameColor != clNone) {
    const TkaGPPageControlTab* t = FTabs->Items(FTabIndex);
    color = ToGPColor(GetStyleSystemColor(t->FCustomFrameColor, this), t->FCustomFrameColorAlpha);
  }
  Pen pen(Gdiplus::Color(color), static_cast<REAL>(FFrameWidth));
  TGPClipScope clip(G);
  if (FTabOptions->TabStyle() == gptsShape && selected && FTabs->Items(FTabIndex)->FVisible) {
    // The selected shape tab opens into the page: no frame line under it.
    TRect r = FTabs->Items(FTabIndex)->TabRect;
    r.Bottom += FFrameWidth;
    const int b = ScrollButtonSpace();
    r.Left = std::max(r.Left, FTabsLeftOffset + b);
    r.Right = std::min(r.Right, Width() - FTabsRightOffset - b);
    if (r.Left < r.Right) G->ExcludeClip(FloatRect(r));
  }
  TGPRectF f = FloatRect(FPageRect);
  InflateGPRect(f, -FFrameWidth / 2.0f, -FFrameWidth / 2.0f);
  if (FBorderStyle != kagpbsFrame) {
    f.X = 0;
    f.Width = static_cast<REAL>(Width());
  }
  const bool rounded = FBorderStyle == kagpbsFrame && FFrameRadius >= 1;
  if (FFrameBGFillColor != clNone && FFrameBGFillColorAlpha != 0) {
    SolidBrush fill(Gdiplus::Color(ToGPColor(GetStyleSystemColor(FFrameBGFillColor, this), FFrameBGFillColorAlpha)));
    if (rounded)
      GPFillRoundedRect(G, f, &fill, FFrameRadius);
    else
      G->FillRectangle(&fill, f);
  }
  switch (FBorderStyle) {
    case kagpbsFrame:
      if (rounded)
        GPDrawRoundedRect(G, f, &pen, FFrameRadius);
      else
        G->DrawRectangle(&pen, f);
      break;
    case kagpbsLine: G->DrawLine(&pen, f.X, f.Y, f.X + f.Width, f.Y); break;
    default:
      G->DrawLine(&pen, f.X, f.Y, f.X + f.Width, f.Y);
      G->DrawLine(&pen, f.X, f.Y + f.Height, f.X + f.Width, f.Y + f.Height);
      break;
  }
}

void TkaGPPageControl::DrawTabs(Graphics* G, TCanvas* C) {
  const int b = FLeftScrollButton != nullptr && FLeftScrollButton->Visible() ? FScrollButtonWidth : 0;
  const TRect strip(b + FTabsLeftOffset, FTabsTopOffset, Width() - FTabsRightOffset - b,
                    FTabsTopOffset + FTabHeight + std::max(2, FFrameWidth));
  TCanvasStateSaver saver(C, strip);
  for (int i = 0; i < FTabs->Count(); ++i) {
    TkaGPPageControlTab* tab = FTabs->Items(i);
    if (!tab->FVisible) continue;
    TRect area = tab->TabRect;
    area.Bottom += 2 * FFrameWidth + 1;
    if (IntersectRect(area, FPaintClip).IsEmpty()) continue;
    TkaGPTabPainter painter{this, G, C, i, tab};
    painter.Draw();
  }
}

void TkaGPPageControl::DrawControl(TCanvas* ACanvas, TkasCtrlState) {
  FTabsRect = TRect(0, 0, Width(), FTabsTopOffset + FTabHeight);
  FPageRect = TRect(0, FTabsTopOffset + FTabHeight, Width(), Height());
  TCanvasStateSaver invalid(ACanvas, FPaintClip);
  if (!FTransparentBackground) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(StyleElements().Contains(seClient) ? GetStyleSystemColor(Color(), this) : Color());
    ACanvas->FillRect(FTabsRect);
    ACanvas->FillRect(FPageRect);
  }
  Graphics g(ACanvas->Handle());
  g.SetSmoothingMode(SmoothingModeHighQuality);
  g.SetPixelOffsetMode(PixelOffsetModeHalf);
  if (FTabsBGFillColor != clNone && FTabsBGFillColorAlpha != 0) {
    SolidBrush fill(Gdiplus::Color(ToGPColor(GetStyleSystemColor(FTabsBGFillColor, this), FTabsBGFillColorAlpha)));
    g.FillRectangle(&fill, FloatRect(FTabsRect));
  }
  if (!FGetControlBG) LayoutTabs();
  DrawFrame(&g);
  if (FTabs->Count() > 0 && !FGetControlBG) DrawTabs(&g, ACanvas);
}
