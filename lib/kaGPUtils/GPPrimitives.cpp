#include "lib/kaGPUtils/GPPrimitives.h"

#include <cmath>
#include <numbers>

#include "framework/ImageList.h"

using namespace Gdiplus;

TGPColor ToGPColor(TColor Color, uint8_t Alpha) {
  if (Color == clNone) return 0;
  const uint32_t Rgb = static_cast<uint32_t>(ColorToRGB(Color));
  const uint32_t R = Rgb & 0xFF, G = (Rgb >> 8) & 0xFF, B = (Rgb >> 16) & 0xFF;
  return (static_cast<uint32_t>(Alpha) << 24) | (R << 16) | (G << 8) | B;
}

TGPRectF RectToGPRect(const TRect& R) {
  return TGPRectF(static_cast<REAL>(R.Left), static_cast<REAL>(R.Top),
                  static_cast<REAL>(R.Right - R.Left), static_cast<REAL>(R.Bottom - R.Top));
}

void InflateGPRect(TGPRectF& R, float DX, float DY) {
  R.X -= DX;
  R.Y -= DY;
  R.Width += 2 * DX;
  R.Height += 2 * DY;
}

namespace {

// A quarter arc in the D x D box at (X, Y). An arc without size may be refused by GDI+,
// which would drop that corner from the figure; a corner of no diameter is a square one, so
// the box's corner point (at StartAngle) stands in for it.
void AddCornerArc(GraphicsPath* Path, float X, float Y, float D, float StartAngle) {
  if (D > 0) {
    Path->AddArc(X, Y, D, D, StartAngle, 90);
    return;
  }
  const float CX = StartAngle == 180 || StartAngle == 90 ? X : X + D;
  const float CY = StartAngle == 180 || StartAngle == 270 ? Y : Y + D;
  Path->AddLine(CX, CY, CX, CY);
}

// The four corner arcs of a rounded figure: top arcs of diameter Top, bottom arcs of
// diameter Bottom, joined by the path's implicit lines.
void AddCornerArcs(GraphicsPath* Path, const TGPRectF& R, float Top, float Bottom) {
  Path->StartFigure();
  AddCornerArc(Path, R.X, R.Y, Top, 180);
  AddCornerArc(Path, R.X + R.Width - Top, R.Y, Top, 270);
  AddCornerArc(Path, R.X + R.Width - Bottom, R.Y + R.Height - Bottom, Bottom, 0);
  AddCornerArc(Path, R.X, R.Y + R.Height - Bottom, Bottom, 90);
  Path->CloseFigure();
}

}  // namespace

void GPAddRoundedRect(GraphicsPath* Path, const TGPRectF& R, int Radius) {
  float D = Radius > 0 ? 2.0f * static_cast<float>(Radius) : std::min(R.Width, R.Height);
  if (Radius <= 0) D -= 0.5f;
  const float Bottom = (R.Height > D || Radius <= 0) ? D + 1 : D;
  AddCornerArcs(Path, R, D, Bottom);
}

void GPAddRoundedRectF(GraphicsPath* Path, const TGPRectF& R, float Radius) {
  const float D = 2 * Radius;
  AddCornerArcs(Path, R, D, R.Height > D ? D + 1 : D);
}

void GPAddRoundedRectBetween(GraphicsPath* Path, float Fallback, float X1, float Y1, float X2,
                             float Y2) {
  const TGPRectF R(X1, Y1, X2 > X1 ? X2 - X1 : Fallback, Y2 > Y1 ? Y2 - Y1 : Fallback);
  GPAddRoundedRect(Path, R, 0);
}

void GPFillPillBetween(Graphics* G, TGPColor Color, float Fallback, float X1, float Y1, float X2,
                       float Y2) {
  GraphicsPath Path(FillModeAlternate);
  GPAddRoundedRectBetween(&Path, Fallback, X1, Y1, X2, Y2);
  SolidBrush Brush{Gdiplus::Color(Color)};
  G->FillPath(&Brush, &Path);
}

void GPDrawRoundedRect(Graphics* G, const TGPRectF& R, Pen* Pen, int Radius) {
  GraphicsPath Path(FillModeAlternate);
  GPAddRoundedRect(&Path, R, Radius);
  G->DrawPath(Pen, &Path);
}

void GPDrawRoundedRectF(Graphics* G, const TGPRectF& R, Pen* Pen, float Radius) {
  GraphicsPath Path(FillModeAlternate);
  GPAddRoundedRectF(&Path, R, Radius);
  G->DrawPath(Pen, &Path);
}

void GPFillRoundedRect(Graphics* G, const TGPRectF& R, Brush* Brush, int Radius) {
  GraphicsPath Path(FillModeAlternate);
  GPAddRoundedRect(&Path, R, Radius);
  G->FillPath(Brush, &Path);
}

TGPPointF GPRotatePoint(const TGPPointF& P, const TGPPointF& Centre, float Angle) {
  const double A = Angle * std::numbers::pi / 180.0;
  const double DX = P.X - Centre.X, DY = P.Y - Centre.Y;
  return TGPPointF(static_cast<REAL>(Centre.X + std::cos(A) * DX - std::sin(A) * DY),
                   static_cast<REAL>(Centre.Y + std::sin(A) * DX + std::cos(A) * DY));
}

int GPGlyphPenWidth(uint8_t Thickness, double ScaleFactor) {
  return Trunc((Thickness == 0 ? 1 : Thickness) * ScaleFactor);
}

void GPDrawFocusRect(Graphics* G, TGPRectF R, TGPColor Color, double ScaleFactor) {
  InflateGPRect(R, -1, -1);
  Pen FocusPen(Gdiplus::Color(Color), ScaleFactor < 2 ? 1.0f : 2.0f);
  FocusPen.SetDashStyle(DashStyleDot);
  G->DrawRectangle(&FocusPen, R);
}

void GPDrawLightSpot(Graphics* G, const TGPRectF& R, uint8_t Alpha) {
  const float CX = R.X + R.Width / 2, CY = R.Y + R.Height / 2;
  GraphicsPath Path(FillModeAlternate);
  Path.AddEllipse(CX - R.Width / 2, CY - R.Width / 2, R.Width, R.Width);
  PathGradientBrush Brush(&Path);
  Brush.SetCenterColor(Gdiplus::Color((static_cast<ARGB>(Alpha) << 24) | 0xFFFFFF));
  Brush.SetCenterPoint(PointF(CX, CY));
  Gdiplus::Color Rim(0x00FFFFFF);
  INT RimCount = 1;
  Brush.SetSurroundColors(&Rim, &RimCount);
  G->FillPath(&Brush, &Path);
}

void GPDrawHoverLight(Graphics* G, const TGPRectF& R, int MouseX) {
  const TGPRectF Spot(static_cast<REAL>(MouseX) - R.Width / 2, R.Y, R.Width, R.Height);
  GPDrawLightSpot(G, Spot, 50);
}

bool GPPressedLightSpot(const TGPRectF& R, int X, int Y, uint8_t Step, TGPRectF& Spot,
                        uint8_t& Alpha) {
  if (Step > 10) return false;
  const double E = (10 - Step) / 10.0;
  const double Width = (R.Width / 2.0) * (1 - E) + R.Width / 2.0;
  Spot = TGPRectF(static_cast<REAL>(X - Width / 2), static_cast<REAL>(Y - R.Height / 2.0),
                  static_cast<REAL>(Width), R.Height);
  Alpha = static_cast<uint8_t>(Round(E * 70));
  return true;
}

void GPDrawPressedLight(Graphics* G, const TGPRectF& R, int X, int Y, uint8_t Step) {
  TGPRectF Spot;
  uint8_t Alpha = 0;
  if (GPPressedLightSpot(R, X, Y, Step, Spot, Alpha)) GPDrawLightSpot(G, Spot, Alpha);
}

void GPDrawShadowEllipse(Graphics* G, int S, uint8_t Alpha, float X, float Y, float W, float H) {
  const float Size = static_cast<float>(S);
  GraphicsPath Path(FillModeAlternate);
  Path.AddEllipse(X - Size / 2, Y - Size / 2, W + Size, H + 2 * Size);
  PathGradientBrush Brush(&Path);
  Brush.SetCenterColor(Gdiplus::Color(static_cast<ARGB>(Alpha) << 24));
  Gdiplus::Color Rim(0);
  INT RimCount = 1;
  Brush.SetSurroundColors(&Rim, &RimCount);
  Pen ShadowPen(&Brush, 4 * Size);
  G->DrawEllipse(&ShadowPen, X - 2 * Size, Y - 2 * Size, W + 4 * Size, H + 4 * Size);
}

std::unique_ptr<Gdiplus::Font> GPCreateFont(TCanvas* Canvas, TFont* Font) {
  GPEnsureStarted();
  LOGFONTW Log{};
  ::GetObjectW(Font->Handle(), sizeof(Log), &Log);
  return std::make_unique<Gdiplus::Font>(Canvas->Handle(), &Log);
}

void GPSetDrawTextFormat(StringFormat& Format, UINT Flags) {
  INT FormatFlags = StringFormatFlagsNoClip;
  if ((Flags & DT_WORDBREAK) == 0) FormatFlags |= StringFormatFlagsNoWrap;
  if ((Flags & DT_RTLREADING) != 0) FormatFlags |= StringFormatFlagsDirectionRightToLeft;
  Format.SetFormatFlags(FormatFlags);
  Format.SetHotkeyPrefix((Flags & DT_NOPREFIX) == 0 ? HotkeyPrefixShow : HotkeyPrefixNone);
  if ((Flags & DT_RIGHT) != 0)
    Format.SetAlignment(StringAlignmentFar);
  else if ((Flags & DT_CENTER) != 0)
    Format.SetAlignment(StringAlignmentCenter);
  else
    Format.SetAlignment(StringAlignmentNear);
  Format.SetLineAlignment((Flags & DT_VCENTER) != 0 ? StringAlignmentCenter : StringAlignmentNear);
  if ((Flags & DT_PATH_ELLIPSIS) != 0)
    Format.SetTrimming(StringTrimmingEllipsisPath);
  else if ((Flags & DT_END_ELLIPSIS) != 0)
    Format.SetTrimming(StringTrimmingEllipsisCharacter);
  else
    Format.SetTrimming(StringTrimmingNone);
}

void GPDrawText(Graphics* G, Gdiplus::Font* Font, TCanvas* Canvas, TRect& R, const String& Text,
                UINT Flags, int Alpha) {
  const bool Measuring = (Flags & DT_CALCRECT) != 0;
  if (Text.empty()) {
    if (Measuring) R = TRect();
    return;
  }
  GPEnsureStarted();
  std::unique_ptr<Graphics> OwnSurface;
  if (G == nullptr) {
    OwnSurface = std::make_unique<Graphics>(Canvas->Handle());
    G = OwnSurface.get();
  }
  TGPPixelOffsetScope OffsetScope(G);
  G->SetPixelOffsetMode(PixelOffsetModeDefault);
  G->SetTextRenderingHint(TextRenderingHintAntiAlias);

  std::unique_ptr<Gdiplus::Font> OwnFont;
  if (Font == nullptr) {
    OwnFont = GPCreateFont(Canvas, Canvas->Font());
    Font = OwnFont.get();
  }
  StringFormat Format(0);
  GPSetDrawTextFormat(Format, Flags);
  const INT Length = static_cast<INT>(Text.size());
  if (Measuring) {
    RectF Bounds;
    G->MeasureString(Text.c_str(), Length, Font, RectToGPRect(R), &Format, &Bounds);
    R.Right = R.Left + Round(Bounds.Width);
    R.Bottom = R.Top + Round(Bounds.Height);
    return;
  }
  const uint8_t A = Alpha <= 0 ? 255 : static_cast<uint8_t>(std::min(Alpha, 255));
  SolidBrush Brush{Gdiplus::Color(ToGPColor(Canvas->Font()->Color(), A))};
  G->DrawString(Text.c_str(), Length, Font, RectToGPRect(R), &Format, &Brush);
}

namespace {

// The caption part of GPDrawImageAndText: its string format, font and brush.
struct TCaption {
  TCaption(TCanvas* Canvas, TButtonLayout Layout, bool CenterAlignment, bool Ellipsis, bool WordWrap,
           bool NoPrefix, bool RightToLeft)
      : Font(GPCreateFont(Canvas, Canvas->Font())),
        Format(0),
        Brush(Gdiplus::Color(ToGPColor(Canvas->Font()->Color(), 255))) {
    INT Flags = StringFormatFlagsNoClip;
    if (!WordWrap) Flags |= StringFormatFlagsNoWrap;
    if (RightToLeft) Flags |= StringFormatFlagsDirectionRightToLeft;
    Format.SetFormatFlags(Flags);
    Format.SetHotkeyPrefix(NoPrefix ? HotkeyPrefixNone : HotkeyPrefixShow);
    const bool Vertical = Layout == blGlyphTop || Layout == blGlyphBottom;
    Format.SetAlignment(Vertical || CenterAlignment ? StringAlignmentCenter : StringAlignmentNear);
    Format.SetTrimming(Ellipsis ? StringTrimmingEllipsisCharacter : StringTrimmingNone);
    Format.SetLineAlignment(StringAlignmentCenter);
  }
  std::unique_ptr<Gdiplus::Font> Font;
  StringFormat Format;
  SolidBrush Brush;
};

// The caption's rectangle in the left and right layouts (Image empty when there is none):
// with an ellipsis it ends at R's right edge and keeps 4 pixels from the image; it moves one
// pixel right either way. The top and bottom layouts leave it as laid out.
TRect CaptionRect(TButtonLayout Layout, const TRect& R, TRect Text, bool Ellipsis, const TRect& Image) {
  if (Layout == blGlyphTop || Layout == blGlyphBottom) return Text;
  if (Ellipsis) {
    Text.Right = std::min(Text.Right, R.Right);
    if (!Image.IsEmpty() && Layout == blGlyphLeft) Text.Left = std::max(Text.Left, Image.Right + 4);
    if (!Image.IsEmpty() && Layout == blGlyphRight) Text.Right = std::min(Text.Right, Image.Left - 4);
  }
  Text.Offset(1, 0);
  return Text;
}

}  // namespace

void GPDrawImageAndText(Graphics* G, TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin,
                        int Spacing, const String& Text, TCustomImageList* ImageList, int ImageIndex,
                        bool CenterAlignment, bool Ellipsis, bool WordWrap, bool NoPrefix, bool RightToLeft,
                        bool ShowFocusFrame, bool Enabled, double ScaleFactor) {
  GPEnsureStarted();
  std::unique_ptr<Graphics> OwnSurface;
  if (G == nullptr) {
    OwnSurface = std::make_unique<Graphics>(Canvas->Handle());
    G = OwnSurface.get();
  }
  const bool HasImage = ImageList != nullptr && ImageIndex >= 0 && ImageIndex < ImageList->Count();
  const int ImageW = HasImage ? ImageList->Width() : 0, ImageH = HasImage ? ImageList->Height() : 0;
  if (!HasImage) Spacing = 0;
  const bool Vertical = Layout == blGlyphTop || Layout == blGlyphBottom;

  std::unique_ptr<TCaption> Caption;
  int TextW = 0, TextH = 0;
  if (!Text.empty()) {
    Caption = std::make_unique<TCaption>(Canvas, Layout, CenterAlignment, Ellipsis, WordWrap, NoPrefix,
                                         RightToLeft);
    int RoomW = R.Width(), RoomH = R.Height();
    if (Vertical) {
      RoomH -= Spacing + ImageH;
    } else {
      RoomW -= Spacing + ImageW;
      if (Margin > 0) RoomW -= Margin;
    }
    RectF Measured;
    G->MeasureString(Text.c_str(), static_cast<INT>(Text.size()), Caption->Font.get(),
                     RectF(0, 0, static_cast<REAL>(RoomW), static_cast<REAL>(RoomH)), &Caption->Format, &Measured);
    TextW = Round(Measured.Width + 2);
    TextH = Round(Measured.Height + 2);
  } else {
    Spacing = 0;
  }

  TPoint ImagePos, TextPos;
  CalcImageTextLayout(Layout, R, ImageW, ImageH, TextW, TextH, Margin, Spacing, ImagePos, TextPos);

  if (Caption) {
    const TRect TextRect = CaptionRect(Layout, R, Bounds(TextPos.X, TextPos.Y, TextW, TextH), Ellipsis,
                                       HasImage ? Bounds(ImagePos.X, ImagePos.Y, ImageW, ImageH) : TRect());
    {
      TGPPixelOffsetScope OffsetScope(G);
      G->SetPixelOffsetMode(PixelOffsetModeDefault);
      G->SetTextRenderingHint(TextRenderingHintAntiAlias);
      G->DrawString(Text.c_str(), static_cast<INT>(Text.size()), Caption->Font.get(), RectToGPRect(TextRect),
                    &Caption->Format, &Caption->Brush);
    }
    if (ShowFocusFrame)
      GPDrawFocusRect(G, RectToGPRect(TextRect), ToGPColor(Canvas->Font()->Color(), 255), ScaleFactor);
  }
  if (HasImage) {
    // The list draws with GDI on the same device context: GDI+ must have finished first.
    G->Flush(FlushIntentionSync);
    ImageList->Draw(Canvas, ImagePos.X, ImagePos.Y, ImageIndex, Enabled);
  }
}
