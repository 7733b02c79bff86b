#include "lib/kaGPControls/GPPanel.h"

#include <algorithm>
#include <memory>

#include "framework/Forms.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPControls/GPScaling.h"
#include "lib/kaGPUtils/GPPrimitives.h"
#include "lib/kaImageCollection/kaImageCollection.h"

using namespace Gdiplus;

namespace {

// One closed figure over R whose corners in Corners are quarter arcs of diameter D and the
// others square; the bottom corners grow by one pixel when R is taller than D, so they meet
// the pixel grid as the top ones do.
void AddPanelFigure(GraphicsPath& Path, const TGPRectF& R, float D, TkaGPCorners Corners) {
  const float X = R.X, Y = R.Y, W = R.Width, H = R.Height;
  Path.StartFigure();
  if (Corners.Contains(gpcrTopLeft)) {
    Path.AddArc(X, Y, D, D, 180, 90);
  } else {
    const PointF pts[] = {{X, Y + D}, {X, Y}, {X + D, Y}};
    Path.AddLines(pts, 3);
  }
  if (Corners.Contains(gpcrTopRight)) {
    Path.AddArc(X + W - D, Y, D, D, 270, 90);
  } else {
    const PointF pts[] = {{X + W - D, Y}, {X + W, Y}, {X + W, Y + D}};
    Path.AddLines(pts, 3);
  }
  if (H > D) D += 1;
  if (Corners.Contains(gpcrBottomRight)) {
    Path.AddArc(X + W - D, Y + H - D, D, D, 0, 90);
  } else {
    const PointF pts[] = {{X + W, Y + H - D}, {X + W, Y + H}, {X + W - D, Y + H}};
    Path.AddLines(pts, 3);
  }
  if (Corners.Contains(gpcrBottomLeft)) {
    Path.AddArc(X, Y + H - D, D, D, 90, 90);
  } else {
    const PointF pts[] = {{X + D, Y + H}, {X, Y + H}, {X, Y + H - D}};
    Path.AddLines(pts, 3);
  }
  Path.CloseFigure();
}

// A square frame of width W along the inside of R, as bands of whole pixels: top and bottom
// across, the sides between them, so a translucent frame never covers a pixel twice. A pen
// along the middle of an odd-width line would sit on half pixels, which renderers round
// apart (Wine's GDI+ put a one-pixel right frame one pixel outside the control).
void FillSquareFrame(Graphics& G, Brush* B, const TGPRectF& R, float W) {
  const float bandH = std::min(W, R.Height / 2), bandW = std::min(W, R.Width / 2);
  const float sideH = R.Height - 2 * bandH;
  G.FillRectangle(B, R.X, R.Y, R.Width, bandH);
  G.FillRectangle(B, R.X, R.Y + R.Height - bandH, R.Width, bandH);
  if (sideH <= 0) return;
  G.FillRectangle(B, R.X, R.Y + bandH, bandW, sideH);
  G.FillRectangle(B, R.X + R.Width - bandW, R.Y + bandH, bandW, sideH);
}

TCursor SizingCursor(int HitCode) {
  switch (HitCode) {
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return crSizeNWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return crSizeNESW;
    case HTLEFT:
    case HTRIGHT: return crSizeWE;
    default: return crSizeNS;
  }
}

bool MovesLeftEdge(int HitCode) { return HitCode == HTLEFT || HitCode == HTTOPLEFT || HitCode == HTBOTTOMLEFT; }
bool MovesRightEdge(int HitCode) { return HitCode == HTRIGHT || HitCode == HTTOPRIGHT || HitCode == HTBOTTOMRIGHT; }
bool MovesTopEdge(int HitCode) { return HitCode == HTTOP || HitCode == HTTOPLEFT || HitCode == HTTOPRIGHT; }
bool MovesBottomEdge(int HitCode) {
  return HitCode == HTBOTTOM || HitCode == HTBOTTOMLEFT || HitCode == HTBOTTOMRIGHT;
}

// Keeps Size within Min..Max (0: no limit) while the far edge (Start + Size) stays put.
void ConstrainFromNearEdge(int& Start, int& Size, int Min, int Max) {
  const int farEdge = Start + Size;
  if (Min > 0 && Size < Min) Size = Min;
  if (Max > 0 && Size > Max) Size = Max;
  Start = farEdge - Size;
}

TPoint CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------

TkaGPPanel::TkaGPPanel(TComponent* AOwner)
    : TkaCustomControl(AOwner), FCaptionGlowEffect(new TkaGlowEffect(this)) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks,    csReplicatable, csPannable,    csGestures};
  FCaptionGlowEffect->SetColor(clBtnShadow);
  FCaptionGlowEffect->OnChange = [this](TObject*) {
    FUpdateGlowBuffer = true;
    if (!Loading() && FShowCaption) RePaintControl();
  };
  FStorePaintBuffer = true;
  FTransparentBackground = true;
  FColor = clBtnFace;
  FWidth = 185;
  FHeight = 41;
}

TkaGPPanel::~TkaGPPanel() {
  delete FGlowBuffer;
  FCaptionGlowEffect->Free();
}

void TkaGPPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The whole face depends on the size (gradients, frame), so a resize repaints all of it
  // anyway; the class redraw styles would only add a flash.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TkaGPPanel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FWallpapers) FWallpapers = nullptr;
  if (AComponent == FCustomImages) FCustomImages = nullptr;
}

// ---- Properties ---------------------------------------------------------------------------

void TkaGPPanel::AppearanceChanged() {
  RePaintControl();
  UpdateControls();
}

void TkaGPPanel::GeometryChanged() {
  RePaintControl();
  Realign();
}

void TkaGPPanel::GradientChanged() {
  if (FFillStyle == kagpsfGradient) RePaintControl();
  UpdateControls();
}

void TkaGPPanel::SetTransparentBackground(bool Value) {
  if (FTransparentBackground == Value) return;
  FTransparentBackground = Value;
  CaptureParentBackground();
  if (!Loading()) AppearanceChanged();
}

void TkaGPPanel::SetBackgroundStyle(TkaGPPanelBGStyle Value) {
  if (FBackgroundStyle == Value) return;
  FBackgroundStyle = Value;
  if (!Loading()) AppearanceChanged();
}

void TkaGPPanel::SetContentMargin(int& Field, int Value) {
  if (Value < 0 || Field == Value) return;
  Field = Value;
  GeometryChanged();
}

void TkaGPPanel::SetCustomImages(TkaCustomImageCollection* Value) {
  if (!ReplaceReference(FCustomImages, Value)) return;
  AppearanceChanged();
}

void TkaGPPanel::SetCustomImageIndex(int Value) {
  if (FCustomImageIndex == Value) return;
  FCustomImageIndex = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetWallpapers(TkaCustomImageCollection* Value) {
  if (!ReplaceReference(FWallpapers, Value)) return;
  AppearanceChanged();
}

void TkaGPPanel::SetWallpaperIndex(int Value) {
  if (FWallpaperIndex == Value) return;
  FWallpaperIndex = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetRoundedCorners(TkaGPCorners Value) {
  if (FRoundedCorners == Value) return;
  FRoundedCorners = Value;
  GeometryChanged();
}

void TkaGPPanel::SetFrameSides(TkaGPPanelFrameSides Value) {
  if (FFrameSides == Value) return;
  FFrameSides = Value;
  GeometryChanged();
}

void TkaGPPanel::SetFillStyle(TkaGPShapeFillStyle Value) {
  if (FFillStyle == Value) return;
  FFillStyle = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetFillGradientAngle(int Value) {
  if (Value < -360 || Value > 360 || FFillGradientAngle == Value) return;
  FFillGradientAngle = Value;
  GradientChanged();
}

void TkaGPPanel::SetFillGradientBeginAlpha(uint8_t Value) {
  if (FFillGradientBeginAlpha == Value) return;
  FFillGradientBeginAlpha = Value;
  GradientChanged();
}

void TkaGPPanel::SetFillGradientEndAlpha(uint8_t Value) {
  if (FFillGradientEndAlpha == Value) return;
  FFillGradientEndAlpha = Value;
  GradientChanged();
}

void TkaGPPanel::SetFillGradientBeginColorOffset(uint8_t Value) {
  if (Value > 100 || FFillGradientBeginColorOffset == Value) return;
  FFillGradientBeginColorOffset = Value;
  GradientChanged();
}

void TkaGPPanel::SetFillGradientEndColorOffset(uint8_t Value) {
  if (Value > 100 || FFillGradientEndColorOffset == Value) return;
  FFillGradientEndColorOffset = Value;
  GradientChanged();
}

void TkaGPPanel::SetFrameWidth(int Value) {
  if (Value < 0 || FFrameWidth == Value) return;
  FFrameWidth = Value;
  GeometryChanged();
}

void TkaGPPanel::SetFillColor(TColor Value) {
  if (FFillColor == Value) return;
  FFillColor = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetFillColorAlpha(uint8_t Value) {
  if (FFillColorAlpha == Value) return;
  FFillColorAlpha = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetFillColor2(TColor Value) {
  if (FFillColor2 == Value) return;
  FFillColor2 = Value;
  AppearanceChanged();
}

void TkaGPPanel::SetFrameColor(TColor Value) {
  if (FFrameColor == Value) return;
  FFrameColor = Value;
  RePaintControl();
}

void TkaGPPanel::SetFrameColorAlpha(uint8_t Value) {
  if (FFrameColorAlpha == Value) return;
  FFrameColorAlpha = Value;
  RePaintControl();
}

void TkaGPPanel::SetFrameRadius(int Value) {
  // A negative radius would draw arcs of negative size; it is refused outright.
  if (Value < 0 || FFrameRadius == Value) return;
  FFrameRadius = Value;
  GeometryChanged();
}

void TkaGPPanel::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  RePaintControl();
}

void TkaGPPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RePaintControl();
}

void TkaGPPanel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RePaintControl();
}

void TkaGPPanel::SetSizeable(bool Value) {
  const TComponentState state = ComponentState();
  if (FSizeable && Cursor() != FSaveCursor && !state.Contains(csDesigning) && !state.Contains(csLoading))
    SetCursor(FSaveCursor);
  FResizing = false;
  // A zone found while sizeable must not outlive it: a press in it would neither size nor
  // drag the form.
  if (!Value) FHitTest = 0;
  FSizeable = Value;
}

TColor TkaGPPanel::GetCaptionColor() const {
  if (FHighContrast) return clBtnText;
  if (StyleElements().Contains(seFont) && IsCustomStyleActive(this)) return GetStyleSystemColor(clBtnText, this);
  return Font()->Color();
}

// ---- Geometry and scaling -------------------------------------------------------------------

void TkaGPPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  if (FContentMarginLeft != 0 || FContentMarginRight != 0 || FContentMarginTop != 0 || FContentMarginBottom != 0) {
    Rect.Left += FContentMarginLeft;
    Rect.Top += FContentMarginTop;
    Rect.Right -= FContentMarginRight;
    Rect.Bottom -= FContentMarginBottom;
    return;
  }
  if (FFrameWidth <= 0) return;
  const int inset = FFrameWidth + FFrameRadius / 2;
  if (FFrameSides.Contains(gppfsLeft)) Rect.Left += inset;
  if (FFrameSides.Contains(gppfsTop)) Rect.Top += inset;
  if (FFrameSides.Contains(gppfsRight)) Rect.Right -= inset;
  if (FFrameSides.Contains(gppfsBottom)) Rect.Bottom -= inset;
}

void TkaGPPanel::ChangeScale(int M, int D, bool isDpiChange) {
  ScaleFrameGeometry({FContentMarginLeft, FContentMarginRight, FContentMarginTop, FContentMarginBottom,
                      FFrameWidth, FFrameRadius, FScaleFrameWidth},
                     M, D);
  inherited::ChangeScale(M, D, isDpiChange);
}

TRect TkaGPPanel::ImageRect() const {
  TRect r(0, 0, Width(), Height());
  if (FFrameSides.Contains(gppfsLeft)) r.Left += FFrameWidth;
  if (FFrameSides.Contains(gppfsTop)) r.Top += FFrameWidth;
  if (FFrameSides.Contains(gppfsRight)) r.Right -= FFrameWidth;
  if (FFrameSides.Contains(gppfsBottom)) r.Bottom -= FFrameWidth;
  return r;
}

// ---- Drawing --------------------------------------------------------------------------------

void TkaGPPanel::DrawBackground(TCanvas* ACanvas) {
  if (FTransparentBackground) {
    inherited::DrawBackground(ACanvas);
    return;
  }
  const TRect r(0, 0, Width(), Height());
  if (FBackgroundStyle == gppbsFormBackground && IsCustomStyleActive(this)) {
    StyleServices(this)->DrawElement(ACanvas->Handle(), TCustomStyleServices::GetElementDetails(teWindow), r);
    return;
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(FBackgroundStyle == gppbsFormBackground ? clBtnFace : GetStyleSystemColor(Color(), this));
  ACanvas->FillRect(r);
}

void TkaGPPanel::DrawControl(TCanvas* ACanvas, TkasCtrlState) {
  FHighContrast = IsHighContrastOn();
  const TRect images = ImageRect();
  if (!FHighContrast && FWallpapers != nullptr && FWallpapers->IsIndexAvailable(FWallpaperIndex))
    FWallpapers->Draw(ACanvas, images, FWallpaperIndex, ScaleFactor());
  {
    GPEnsureStarted();
    Graphics g(ACanvas->Handle());
    g.SetSmoothingMode(SmoothingModeHighQuality);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    DrawFill(g);
    DrawCaption(g, ACanvas);
    g.Flush(FlushIntentionSync);
  }
  if (!FHighContrast && FCustomImages != nullptr && FCustomImages->IsIndexAvailable(FCustomImageIndex))
    FCustomImages->Draw(ACanvas, images, FCustomImageIndex, ScaleFactor());
}

void TkaGPPanel::GetFrameRects(TGPRectF& Stroke, TGPRectF& Fill) const {
  const float fw = static_cast<float>(FFrameWidth);
  // Sides without a frame are pushed out far enough that their line and corner arcs fall
  // outside the control.
  TRect frame(0, 0, Width(), Height());
  if (FFrameWidth > 0) {
    const int out = FFrameWidth + FFrameRadius;
    if (!FFrameSides.Contains(gppfsLeft)) frame.Left -= out;
    if (!FFrameSides.Contains(gppfsTop)) frame.Top -= out;
    if (!FFrameSides.Contains(gppfsRight)) frame.Right += out;
    if (!FFrameSides.Contains(gppfsBottom)) frame.Bottom += out;
  }
  Stroke = RectToGPRect(frame);
  if (FFrameWidth > 0) InflateGPRect(Stroke, -fw / 2, -fw / 2);
  Fill = RectToGPRect(frame);
  if (FFrameRadius > 0 && FFrameWidth > 0) {
    // A translucent frame must not overlap the fill, or the overlap shows darker.
    if (FFrameColorAlpha == 255)
      Fill = Stroke;
    else
      InflateGPRect(Fill, -fw, -fw);
  }
}

std::unique_ptr<Brush> TkaGPPanel::CreateFillBrush(const TGPRectF& Fill) const {
  if (FFillColor == clNone || FFillColorAlpha == 0) return nullptr;
  if (FHighContrast) return std::make_unique<SolidBrush>(Gdiplus::Color(ToGPColor(clBtnFace, 255)));
  const TColor fillColor = GetStyleSystemColor(FFillColor, this);
  if (FFillStyle != kagpsfGradient)
    return std::make_unique<SolidBrush>(Gdiplus::Color(ToGPColor(fillColor, FFillColorAlpha)));
  const TColor endColor = FFillColor2 == clNone ? fillColor : GetStyleSystemColor(FFillColor2, this);
  TGPRectF area = Fill;
  InflateGPRect(area, 1, 1);
  return std::make_unique<LinearGradientBrush>(
      area, Gdiplus::Color(ToGPColor(LighterColor(fillColor, FFillGradientBeginColorOffset), FFillGradientBeginAlpha)),
      Gdiplus::Color(ToGPColor(DarkerColor(endColor, FFillGradientEndColorOffset), FFillGradientEndAlpha)),
      static_cast<REAL>(FFillGradientAngle), FALSE);
}

void TkaGPPanel::DrawFill(Graphics& G) {
  TGPRectF stroke, fill;
  GetFrameRects(stroke, fill);
  const std::unique_ptr<Brush> brush = CreateFillBrush(fill);
  const float fw = static_cast<float>(FFrameWidth);
  const bool drawFrame = FFrameWidth > 0 && FFrameColor != clNone && FFrameColorAlpha != 0;
  const TGPColor frameColor = FHighContrast ? ToGPColor(clBtnText, 255)
                                            : ToGPColor(GetStyleSystemColor(FFrameColor, this), FFrameColorAlpha);
  Pen pen(Gdiplus::Color(frameColor), fw);
  if (FFrameRadius > 0) {
    if (brush) {
      float d = 2.0f * static_cast<float>(FFrameRadius);
      if (FFrameWidth >= 1 && FFrameColorAlpha != 255) d = std::max(1.0f, d - fw);
      GraphicsPath path(FillModeAlternate);
      AddPanelFigure(path, fill, d, FRoundedCorners);
      G.FillPath(brush.get(), &path);
    }
    if (drawFrame) {
      GraphicsPath path(FillModeAlternate);
      AddPanelFigure(path, stroke, 2.0f * static_cast<float>(FFrameRadius), FRoundedCorners);
      G.DrawPath(&pen, &path);
    }
    return;
  }
  if (brush) G.FillRectangle(brush.get(), fill);
  if (drawFrame) {
    // Square lines land on whole pixels only without anti-aliasing.
    TGPModesScope modes(&G);
    G.SetSmoothingMode(SmoothingModeNone);
    SolidBrush frameBrush{Gdiplus::Color(frameColor)};
    FillSquareFrame(G, &frameBrush, fill, fw);
  }
}

void TkaGPPanel::DrawCaption(Graphics& G, TCanvas* ACanvas) {
  const String text = GetCaptionText();
  if (!FShowCaption || text.empty()) return;
  TRect r(0, 0, Width(), Height());
  if (FContentMarginLeft != 0 || FContentMarginRight != 0 || FContentMarginTop != 0 || FContentMarginBottom != 0)
    r = TRect(FContentMarginLeft, FContentMarginTop, Width() - FContentMarginRight, Height() - FContentMarginBottom);
  else
    r.Inflate(-(FFrameWidth + 2), -(FFrameWidth + 2));
  ACanvas->Font()->Assign(Font());
  ACanvas->Font()->SetColor(GetCaptionColor());
  ACanvas->Brush()->SetStyle(bsClear);
  UINT flags = DT_NOPREFIX | DT_VCENTER | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  if (FAlignment == taCenter) flags |= DT_CENTER;

  if (DrawTextMode() == kadtmGDIPlus) {
    GPDrawText(&G, nullptr, ACanvas, r, text, flags, 255);
    return;
  }
  G.Flush(FlushIntentionSync);
  if (FCaptionGlowEffect->Enabled() && !FHighContrast) {
    DrawGlowCaption(ACanvas, text, r);
    return;
  }
  HDC dc = ACanvas->Handle();
  if (FWordWrap) {
    TRect measure = r;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), measure.AsRECT(),
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    r.Top += (r.Height() - measure.Height()) / 2;
  }
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), r.AsRECT(), flags);
}

void TkaGPPanel::DrawGlowCaption(TCanvas* ACanvas, const String& Text, TRect R) {
  TkaGlowEffect* glow = FCaptionGlowEffect;
  UINT measureFlags = DT_CALCRECT | DT_NOPREFIX;
  TRect extent(0, 0, 0, 0);
  if (FWordWrap) {
    R.Top += glow->GlowSize();
    measureFlags |= DT_WORDBREAK;
    extent = TRect(0, 0, R.Width(), 0);
  }
  ::DrawTextW(ACanvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), extent.AsRECT(), measureFlags);
  const int w = extent.Width() + glow->GlowSize() + glow->Offset();
  const int h = extent.Height() + glow->GlowSize() + glow->Offset();
  int left = R.Left + (R.Width() - w) / 2;
  if (FAlignment == taLeftJustify) left = R.Left;
  if (FAlignment == taRightJustify) left = R.Right - w;
  const int top = R.Top + (R.Height() - h) / 2;
  const UINT flags = DT_CENTER | DT_VCENTER | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextWithGlowBuffer(FGlowBuffer, NeedGlowBufferUpdate(ACanvas), ACanvas, true, BiDiMode() == bdRightToLeft,
                         glow->GetAlphaValue(), glow->Intensive(), glow->GlowSize(), glow->GetColor(),
                         glow->Offset(), flags, Text, Bounds(left, top, w, h));
}

bool TkaGPPanel::NeedGlowBufferUpdate(TCanvas* ACanvas) {
  TFont* font = ACanvas->Font();
  const String caption = GetCaptionText();
  const TColor glowColor = FCaptionGlowEffect->GetColor();
  const bool changed = FUpdateGlowBuffer || FStoredCaption != caption || FStoredGlowColor != glowColor ||
                       FStoredFontName != font->Name() || FStoredFontSize != font->Size() ||
                       FStoredFontStyle != font->Style() || FStoredWordWrap != FWordWrap;
  FStoredCaption = caption;
  FStoredGlowColor = glowColor;
  FStoredFontName = font->Name();
  FStoredFontSize = font->Size();
  FStoredFontStyle = font->Style();
  FStoredWordWrap = FWordWrap;
  FUpdateGlowBuffer = false;
  return changed;
}

// ---- Dragging and sizing --------------------------------------------------------------------

int TkaGPPanel::GetHitTest(int X, int Y) const {
  const int f = FFrameWidth, w = Width(), h = Height();
  const TPoint p(X, Y);
  struct TZone {
    TRect R;
    int Code;
  };
  const TZone zones[] = {
      {TRect(0, 0, f, f), HTTOPLEFT},         {TRect(w - f, 0, w, f), HTTOPRIGHT},
      {TRect(0, h - f, f, h), HTBOTTOMLEFT},  {TRect(w - f, h - f, w, h), HTBOTTOMRIGHT},
      {TRect(0, f, f, h - f), HTLEFT},        {TRect(w - f, f, w, h - f), HTRIGHT},
      {TRect(f, h - f, w - f, h), HTBOTTOM},  {TRect(f, 0, w - f, f), HTTOP},
  };
  // Only the edge facing the free side of an aligned panel can move.
  auto allowed = [this](int Code) {
    switch (Align()) {
      case alClient:
      case alNone: return true;
      case alLeft: return Code == HTRIGHT;
      case alRight: return Code == HTLEFT;
      case alTop: return Code == HTBOTTOM;
      case alBottom: return Code == HTTOP;
      default: return false;
    }
  };
  for (const TZone& z : zones)
    if (z.R.Contains(p) && allowed(z.Code)) return z.Code;
  return 0;
}

void TkaGPPanel::UpdateSizingCursor(int X, int Y) {
  const int code = GetHitTest(X, Y);
  if (code == 0) {
    if (FHitTest != 0) SetCursor(FSaveCursor);
    FSaveCursor = Cursor();
  } else {
    // The pointer usually enters straight into the band; the panel's own cursor is what
    // must come back when it leaves it.
    if (FHitTest == 0) FSaveCursor = Cursor();
    SetCursor(SizingCursor(code));
  }
  FHitTest = code;
}

void TkaGPPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (FSizeable && FHitTest != 0) {
    FResizing = true;
    FDownP = CursorPos();
    return;
  }
  if (!FDragForm || Button != mbLeft || Shift.Contains(ssDouble)) return;
  TCustomForm* form = GetParentForm(this, FDragTopForm);
  if (form == nullptr || form->WindowState() == wsMaximized) return;
  FForm = form;
  FDragDown = true;
  FDownP = CursorPos();
}

void TkaGPPanel::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FSizeable && !FResizing) UpdateSizingCursor(X, Y);
  if (FResizing) {
    ResizeByPointer();
    return;
  }
  if (FDragDown && FHitTest == 0 && FForm != nullptr) {
    const TPoint p = CursorPos();
    FForm->SetBounds(FForm->Left() + p.X - FDownP.X, FForm->Top() + p.Y - FDownP.Y, FForm->Width(),
                     FForm->Height());
    FDownP = p;
  }
}

void TkaGPPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  FDragDown = false;
  FResizing = false;
  FForm = nullptr;
}

void TkaGPPanel::ResizeByPointer() {
  TControl* target = Align() == alClient ? static_cast<TControl*>(Parent()) : this;
  if (target == nullptr) return;
  const TPoint p = CursorPos();
  int dx = p.X - FDownP.X, dy = p.Y - FDownP.Y;
  FDownP = p;
  // Where the pointer is relative to the panel: while it is outside, or has not yet caught
  // up with an edge that could not follow it, movement back is dropped.
  const TPoint m = ScreenToClient(p);
  if ((m.X < 0 && dx > 0) || (m.X >= Width() && dx < 0)) dx = 0;
  if ((m.Y < 0 && dy > 0) || (m.Y >= Height() && dy < 0)) dy = 0;
  int left = target->Left(), top = target->Top(), width = target->Width(), height = target->Height();
  if (MovesLeftEdge(FHitTest)) {
    if (dx < 0 && m.X > 0) dx = 0;
    left += dx;
    width -= dx;
  } else if (MovesRightEdge(FHitTest)) {
    if (dx > 0 && m.X < Width()) dx = 0;
    width += dx;
  }
  if (MovesTopEdge(FHitTest)) {
    if (dy < 0 && m.Y > 0) dy = 0;
    top += dy;
    height -= dy;
  } else if (MovesBottomEdge(FHitTest)) {
    if (dy > 0 && m.Y < Height()) dy = 0;
    height += dy;
  }
  TSizeConstraints* limits = target->Constraints();
  if (MovesLeftEdge(FHitTest) && dx != 0) ConstrainFromNearEdge(left, width, limits->MinWidth(), limits->MaxWidth());
  if (MovesTopEdge(FHitTest) && dy != 0) ConstrainFromNearEdge(top, height, limits->MinHeight(), limits->MaxHeight());
  if (target->OnCanResize) {
    bool resize = true;
    target->OnCanResize(this, width, height, resize);
    if (!resize) return;
  }
  target->SetBounds(left, top, width, height);
}

// ---- Messages -------------------------------------------------------------------------------

void TkaGPPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: {
      inherited::Dispatch(Message);
      RePaintControl();
      if (!FTransparentBackground && !FStorePaintBuffer &&
          ((FWallpapers != nullptr && FWallpapers->NeedFullUpdate(FWallpaperIndex)) ||
           (FCustomImages != nullptr && FCustomImages->NeedFullUpdate(FCustomImageIndex))))
        UpdateControls();
      break;
    }
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      if (FShowCaption) RePaintControl();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---- Layout streaming -----------------------------------------------------------------------

KA_REGISTER_ENUM(TkaGPPanelBGStyle, {{L"gppbsColor", gppbsColor}, {L"gppbsFormBackground", gppbsFormBackground}});
KA_REGISTER_ENUM(TkaGPCorner, {{L"gpcrTopLeft", gpcrTopLeft},
                               {L"gpcrTopRight", gpcrTopRight},
                               {L"gpcrBottomLeft", gpcrBottomLeft},
                               {L"gpcrBottomRight", gpcrBottomRight}});
KA_REGISTER_ENUM(TkaGPPanelFrameSide, {{L"gppfsLeft", gppfsLeft},
                                       {L"gppfsTop", gppfsTop},
                                       {L"gppfsRight", gppfsRight},
                                       {L"gppfsBottom", gppfsBottom}});
// These two are registered by the button options and the styled form too; a program that
// links the panel without them still reads its layouts. A repeated registration is harmless.
KA_REGISTER_ENUM(TkaGPShapeFillStyle, {{L"kagpsfColor", kagpsfColor}, {L"kagpsfGradient", kagpsfGradient}});
KA_REGISTER_ENUM(TAlignment, {{L"taLeftJustify", taLeftJustify},
                              {L"taRightJustify", taRightJustify},
                              {L"taCenter", taCenter}});

using TPnl = TkaGPPanel;
KA_REGISTER_CLASS(TkaGPPanel, [](auto& c) {
  c.Property(L"BlurBackground", &TPnl::BlurBackground, &TPnl::SetBlurBackground);
  c.Property(L"BlurBackgroundAmount", &TPnl::BlurBackgroundAmount, &TPnl::SetBlurBackgroundAmount);
  c.Property(L"BackgroundStyle", &TPnl::BackgroundStyle, &TPnl::SetBackgroundStyle);
  c.Property(L"ContentMarginLeft", &TPnl::ContentMarginLeft, &TPnl::SetContentMarginLeft);
  c.Property(L"ContentMarginRight", &TPnl::ContentMarginRight, &TPnl::SetContentMarginRight);
  c.Property(L"ContentMarginTop", &TPnl::ContentMarginTop, &TPnl::SetContentMarginTop);
  c.Property(L"ContentMarginBottom", &TPnl::ContentMarginBottom, &TPnl::SetContentMarginBottom);
  c.Property(L"CustomImages", &TPnl::CustomImages, &TPnl::SetCustomImages);
  c.Property(L"CustomImageIndex", &TPnl::CustomImageIndex, &TPnl::SetCustomImageIndex);
  c.Property(L"DragForm", &TPnl::DragForm, &TPnl::SetDragForm);
  c.Property(L"DragTopForm", &TPnl::DragTopForm, &TPnl::SetDragTopForm);
  c.Property(L"DrawTextMode", &TPnl::DrawTextMode, &TPnl::SetDrawTextMode);
  c.Property(L"RoundedCorners", &TPnl::RoundedCorners, &TPnl::SetRoundedCorners);
  c.Property(L"FrameSides", &TPnl::FrameSides, &TPnl::SetFrameSides);
  c.Property(L"FillStyle", &TPnl::FillStyle, &TPnl::SetFillStyle);
  c.Property(L"FillGradientAngle", &TPnl::FillGradientAngle, &TPnl::SetFillGradientAngle);
  c.Property(L"FillGradientBeginAlpha", &TPnl::FillGradientBeginAlpha, &TPnl::SetFillGradientBeginAlpha);
  c.Property(L"FillGradientEndAlpha", &TPnl::FillGradientEndAlpha, &TPnl::SetFillGradientEndAlpha);
  c.Property(L"FillGradientBeginColorOffset", &TPnl::FillGradientBeginColorOffset,
             &TPnl::SetFillGradientBeginColorOffset);
  c.Property(L"FillGradientEndColorOffset", &TPnl::FillGradientEndColorOffset, &TPnl::SetFillGradientEndColorOffset);
  c.Property(L"FrameWidth", &TPnl::FrameWidth, &TPnl::SetFrameWidth);
  c.Property(L"FillColor", &TPnl::FillColor, &TPnl::SetFillColor);
  c.Property(L"FillColorAlpha", &TPnl::FillColorAlpha, &TPnl::SetFillColorAlpha);
  c.Property(L"FillColor2", &TPnl::FillColor2, &TPnl::SetFillColor2);
  c.Property(L"FrameColor", &TPnl::FrameColor, &TPnl::SetFrameColor);
  c.Property(L"FrameColorAlpha", &TPnl::FrameColorAlpha, &TPnl::SetFrameColorAlpha);
  c.Property(L"FrameRadius", &TPnl::FrameRadius, &TPnl::SetFrameRadius);
  c.Property(L"ScaleFrameWidth", &TPnl::ScaleFrameWidth, &TPnl::SetScaleFrameWidth);
  c.Property(L"ShowCaption", &TPnl::ShowCaption, &TPnl::SetShowCaption);
  c.Property(L"CaptionGlowEffect", &TPnl::CaptionGlowEffect);
  c.Property(L"Alignment", &TPnl::Alignment, &TPnl::SetAlignment);
  c.Property(L"TransparentBackground", &TPnl::TransparentBackground, &TPnl::SetTransparentBackground);
  c.Property(L"StorePaintBuffer", &TPnl::StorePaintBuffer, &TPnl::SetStorePaintBuffer);
  c.Property(L"Sizeable", &TPnl::Sizeable, &TPnl::SetSizeable);
  c.Property(L"Wallpapers", &TPnl::Wallpapers, &TPnl::SetWallpapers);
  c.Property(L"WallpaperIndex", &TPnl::WallpaperIndex, &TPnl::SetWallpaperIndex);
  c.Property(L"WordWrap", &TPnl::WordWrap, &TPnl::SetWordWrap);
});
