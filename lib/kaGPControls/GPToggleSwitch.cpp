#include "lib/kaGPControls/GPToggleSwitch.h"

#include <algorithm>
#include <memory>

#include "framework/TypeInfo.h"
#include "lib/kaGPUtils/GPPrimitives.h"

using namespace Gdiplus;

TkaGPToggleSwitch::TkaGPToggleSwitch(TComponent* AOwner) : TkaCustomToggleSwitch(AOwner) {
  FFixedMinSize = false;
  FThumbWidth = 0;
}

// ---- Properties ---------------------------------------------------------------------------

void TkaGPToggleSwitch::SetFrameWidth(int Value) {
  if (Value >= 1) SetAndRepaint(FFrameWidth, Value);
}

void TkaGPToggleSwitch::SetThumbMargin(int Value) {
  if (Value >= 0) SetAndRepaint(FThumbMargin, Value);
}

void TkaGPToggleSwitch::SetThumbMarginHot(int Value) {
  if (Value >= 0) SetAndRepaint(FThumbMarginHot, Value);
}

void TkaGPToggleSwitch::SetThumbMarginPressed(int Value) {
  if (Value >= 0) SetAndRepaint(FThumbMarginPressed, Value);
}

// ---- Drawing --------------------------------------------------------------------------------

int TkaGPToggleSwitch::ThumbInset(int ThumbHeight) const {
  const double sf = ScaleFactor();
  if (FPressed && FThumbMarginPressed > 0) return Round(sf * FThumbMarginPressed);
  if (FMouseIn && FThumbMarginHot > 0) return Round(sf * FThumbMarginHot);
  if (FThumbMargin > 0) return Round(FThumbMargin * sf);
  const int fw = Round(FFrameWidth * sf);
  return (ThumbHeight <= 16 ? 2 * fw : 3 * fw) - Round(sf);
}

void TkaGPToggleSwitch::SwitchColors(bool On, TGPColor& Track, TGPColor& Thumb) const {
  const bool disabled = !Enabled();
  auto alpha = [disabled](uint8_t A) { return static_cast<uint8_t>(disabled ? A >> 1 : A); };
  if (FPressed && FFramePressedColor != clNone) {
    Track = ToGPColor(GetStyleSystemColor(FFramePressedColor, this), alpha(FFramePressedColorAlpha));
    Thumb = ToGPColor(GetStyleSystemColor(FThumbPressedColor, this), alpha(FThumbPressedColorAlpha));
    return;
  }
  const bool lit = FMouseIn && !FReadOnly;
  auto color = [this, lit](TColor C) {
    const TColor c = GetStyleSystemColor(C, this);
    return lit ? LighterColor(c, 10) : c;
  };
  if (On) {
    Track = ToGPColor(color(FFrameOnColor), alpha(FFrameOnColorAlpha));
    Thumb = ToGPColor(color(FThumbOnColor), alpha(FThumbOnColorAlpha));
  } else {
    Track = ToGPColor(color(FFrameColor), alpha(FFrameColorAlpha));
    Thumb = ToGPColor(color(FThumbColor), alpha(FThumbColorAlpha));
  }
}

void TkaGPToggleSwitch::DrawTrack(Graphics& G, bool On, TGPColor Color) {
  if ((Color >> 24) == 0) return;
  TRect t = FSWRect;
  if (FFrameInside) t.Inflate(-FSwitchHeight / 4, -FSwitchHeight / 4);
  const float h = static_cast<float>(t.Height());
  TGPRectF left(static_cast<REAL>(t.Left), static_cast<REAL>(t.Top), h, h);
  TGPRectF right(static_cast<REAL>(t.Right) - h, static_cast<REAL>(t.Top), h, h);
  const bool solid = FPressed || (On ? FFrameOnSolid : FFrameSolid);
  const float fw = static_cast<float>(Round(FFrameWidth * ScaleFactor()));
  if (!solid) {
    InflateGPRect(left, -fw / 2, -fw / 2);
    InflateGPRect(right, -fw / 2, -fw / 2);
  }
  GraphicsPath pill(FillModeAlternate);
  pill.AddArc(left, 90, 180);
  pill.AddArc(right, 270, 180);
  pill.CloseFigure();
  if (solid) {
    SolidBrush brush{Gdiplus::Color(Color)};
    G.FillPath(&brush, &pill);
  } else {
    Pen pen(Gdiplus::Color(Color), fw);
    G.DrawPath(&pen, &pill);
  }
}

void TkaGPToggleSwitch::DrawThumb(Graphics& G, TGPColor Color) {
  TRect r = FThumbRect;
  const int inset = ThumbInset(r.Height());
  r.Inflate(-inset, -inset);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (FThumbShadow) {
    const int fw = Round(FFrameWidth * ScaleFactor());
    // Each ring darkens the last; a larger thumb gets more of them.
    const int count = std::max(1, Round(static_cast<double>(r.Width()) / std::max(1, Round(ScaleFactor() * 20))));
    for (int i = 0; i < count; ++i)
      GPDrawShadowEllipse(&G, 2 * fw, 170, static_cast<float>(r.Left + 1), static_cast<float>(r.Top + 1),
                          static_cast<float>(r.Width() - 2), static_cast<float>(r.Height() - 2));
  }
  if ((Color >> 24) == 0) return;
  SolidBrush brush{Gdiplus::Color(Color)};
  G.FillEllipse(&brush, RectToGPRect(r));
}

void TkaGPToggleSwitch::DrawSwitch(TCanvas* ACanvas) {
  UpdateGeometry();
  const bool on = VisualOn();
  TGPColor track = 0, thumb = 0;
  SwitchColors(on, track, thumb);
  GPEnsureStarted();
  Graphics g(ACanvas->Handle());
  g.SetSmoothingMode(SmoothingModeHighQuality);
  g.SetPixelOffsetMode(PixelOffsetModeHalf);
  DrawTrack(g, on, track);
  DrawThumb(g, thumb);
}

// ---- Caption --------------------------------------------------------------------------------

TSize TkaGPToggleSwitch::MeasureCaption(TCanvas* ACanvas, const String& Text) {
  if (!GDIPlusText()) return inherited::MeasureCaption(ACanvas, Text);
  TRect r(0, 0, 0, 0);
  GPDrawText(nullptr, nullptr, ACanvas, r, Text, DT_CALCRECT | DT_NOPREFIX, 0);
  return TSize{r.Width(), r.Height()};
}

void TkaGPToggleSwitch::PaintCaption(TCanvas* ACanvas, const String& Text, const TRect& TextRect, bool Focus,
                                     TColor Color) {
  if (!GDIPlusText()) {
    inherited::PaintCaption(ACanvas, Text, TextRect, Focus, Color);
    return;
  }
  GPEnsureStarted();
  Graphics g(ACanvas->Handle());
  std::unique_ptr<Gdiplus::Font> font = GPCreateFont(ACanvas, ACanvas->Font());
  TRect r = TextRect;
  GPDrawText(&g, font.get(), ACanvas, r, Text, DT_NOPREFIX | DT_VCENTER, 255);
  if (Focus) GPDrawFocusRect(&g, RectToGPRect(TextRect), ToGPColor(Color, 255), ScaleFactor());
}

void TkaGPToggleSwitch::PaintFocusFrame(TCanvas* ACanvas, const TRect& R, TColor Color) {
  if (!GDIPlusText()) {
    inherited::PaintFocusFrame(ACanvas, R, Color);
    return;
  }
  GPEnsureStarted();
  Graphics g(ACanvas->Handle());
  GPDrawFocusRect(&g, RectToGPRect(R), ToGPColor(Color, 255), ScaleFactor());
}

// ---- Layout streaming -----------------------------------------------------------------------

using TGPSw = TkaGPToggleSwitch;
#define KA_GPSW_PROP(Name) c.Property(L## #Name, &TGPSw::Name, &TGPSw::Set##Name)
KA_REGISTER_CLASS(TkaGPToggleSwitch, [](auto& c) {
  KA_GPSW_PROP(AutoSize);
  KA_GPSW_PROP(DrawTextMode);
  KA_GPSW_PROP(FrameColorAlpha);
  KA_GPSW_PROP(FrameOnColorAlpha);
  KA_GPSW_PROP(FramePressedColorAlpha);
  KA_GPSW_PROP(ThumbColorAlpha);
  KA_GPSW_PROP(ThumbOnColorAlpha);
  KA_GPSW_PROP(ThumbPressedColorAlpha);
  KA_GPSW_PROP(ThumbShadow);
  KA_GPSW_PROP(ThumbMargin);
  KA_GPSW_PROP(ThumbMarginHot);
  KA_GPSW_PROP(ThumbMarginPressed);
  KA_GPSW_PROP(FrameSolid);
  KA_GPSW_PROP(FrameOnSolid);
  KA_GPSW_PROP(FrameInside);
  KA_GPSW_PROP(FrameWidth);
});
#undef KA_GPSW_PROP
