// TCanvas: drawing on a borrowed DC with lazily realised font, pen and brush; and the
// free frame and fill routines built on it.
#include "framework/Graphics.h"

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  ::InitializeCriticalSection(&FLock);
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FPen->OnChange = [this](TObject*) { PenChanged(); };
  FBrush->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() {
  // The DC gets its own objects back before ours are freed.
  SetHandle(nullptr);
  ::DeleteCriticalSection(&FLock);
}

// ---- Binding and realising --------------------------------------------------------------

HDC TCanvas::Handle() {
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle != nullptr) {
    if (FSavedDC != 0)
      ::RestoreDC(FHandle, FSavedDC);
    else
      Refresh();  // no saved state to return to: at least take our objects out
    FSavedDC = 0;
    FHandle = nullptr;
    FState = TCanvasState();
  }
  if (Value != nullptr) {
    FSavedDC = ::SaveDC(Value);
    FHandle = Value;
    FState = csHandleValid;
  }
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  TCanvasState need = ReqState - FState;
  if (need.Empty()) return;
  if (need.Contains(csHandleValid)) {
    CreateHandle();
    if (FHandle == nullptr) throw EInvalidOperation(L"Canvas does not allow drawing");
  }
  if (need.Contains(csFontValid)) RealizeFont();
  if (need.Contains(csPenValid)) RealizePen();
  if (need.Contains(csBrushValid)) RealizeBrush();
}

void TCanvas::RealizeFont() {
  ::SelectObject(FHandle, FFont->Handle());
  ::SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
  FState.Include(csFontValid);
}

void TCanvas::RealizePen() {
  ::SelectObject(FHandle, FPen->Handle());
  FState.Include(csPenValid);
}

void TCanvas::RealizeBrush() {
  ::SelectObject(FHandle, FBrush->Handle());
  if (FBrush->Style() == bsClear) {
    ::SetBkMode(FHandle, TRANSPARENT);
  } else {
    ::SetBkColor(FHandle, static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
    ::SetBkMode(FHandle, OPAQUE);
  }
  FState.Include(csBrushValid);
}

// The object's old handle is freed right after these return, so it must leave the DC now.
void TCanvas::FontChanged() {
  if (!FState.Contains(csFontValid)) return;
  ::SelectObject(FHandle, ::GetStockObject(SYSTEM_FONT));
  FState.Exclude(csFontValid);
}

void TCanvas::PenChanged() {
  if (!FState.Contains(csPenValid)) return;
  ::SelectObject(FHandle, ::GetStockObject(BLACK_PEN));
  FState.Exclude(csPenValid);
}

void TCanvas::BrushChanged() {
  if (!FState.Contains(csBrushValid)) return;
  ::SelectObject(FHandle, ::GetStockObject(HOLLOW_BRUSH));
  FState.Exclude(csBrushValid);
}

void TCanvas::Refresh() {
  FontChanged();
  PenChanged();
  BrushChanged();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Lock() {
  ::EnterCriticalSection(&FLock);
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  ::LeaveCriticalSection(&FLock);
}

bool TCanvas::TryLock() {
  if (!::TryEnterCriticalSection(&FLock)) return false;
  ++FLockCount;
  return true;
}

// ---- Saving the DC's state under a canvas -------------------------------------------------

TCanvasStateSaver::TCanvasStateSaver(TCanvas* Canvas)
    : FCanvas(Canvas), FDC(Canvas->Handle()), FSaved(::SaveDC(FDC)) {}

TCanvasStateSaver::TCanvasStateSaver(TCanvas* Canvas, const TRect& Clip) : TCanvasStateSaver(Canvas) {
  ::IntersectClipRect(FDC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
}

TCanvasStateSaver::~TCanvasStateSaver() {
  if (FSaved != 0) ::RestoreDC(FDC, FSaved);
  // The DC holds the objects and colours of the save time now, not the canvas's latest.
  FCanvas->Refresh();
}

// ---- Lines and shapes -------------------------------------------------------------------

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p{};
  ::GetCurrentPositionEx(FHandle, &p);
  return TPoint(p.x, p.y);
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  ::MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

namespace {
std::vector<POINT> ToPOINTs(const std::vector<TPoint>& Points) {
  std::vector<POINT> pts;
  pts.reserve(Points.size());
  for (const TPoint& p : Points) pts.push_back(POINT{p.X, p.Y});
  return pts;
}
}  // namespace

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> pts = ToPOINTs(Points);
  ::Polyline(FHandle, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> pts = ToPOINTs(Points);
  ::Polygon(FHandle, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, Rect.AsRECT(), FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, Rect.AsRECT(), FBrush->Handle());
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

// ---- Text -------------------------------------------------------------------------------

void TCanvas::TextOut(int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ::ExtTextOutW(FHandle, X, Y, 0, nullptr, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
  SIZE sz{};
  ::GetTextExtentPoint32W(FHandle, Text.c_str(), static_cast<int>(Text.size()), &sz);
  ::MoveToEx(FHandle, X + sz.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ::ExtTextOutW(FHandle, X, Y, options, Rect.AsRECT(), Text.c_str(), static_cast<UINT>(Text.size()),
                nullptr);
  Changed();
}

UINT TextFormatToFlags(TTextFormat Format) {
  static const UINT kFlags[] = {
      DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS,
      DT_EXPANDTABS, DT_EXTERNALLEADING, DT_LEFT, DT_NOCLIP, DT_NOPREFIX, DT_RIGHT, DT_RTLREADING,
      DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK, DT_HIDEPREFIX, DT_NOFULLWIDTHCHARBREAK,
      DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS};
  static_assert(sizeof(kFlags) / sizeof(kFlags[0]) == tfWordEllipsis + 1);
  UINT flags = 0;
  for (int i = 0; i <= tfWordEllipsis; ++i)
    if (Format.Contains(static_cast<TTextFormats>(i))) flags |= kFlags[i];
  return flags;
}

void TCanvas::TextRect(TRect& Rect, const String& Text, TTextFormat Format) {
  bool measuring = Format.Contains(tfCalcRect);
  if (!measuring) Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ::DrawTextW(FHandle, Text.c_str(), static_cast<int>(Text.size()), Rect.AsRECT(),
              TextFormatToFlags(Format));
  if (!measuring) Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE sz{};
  ::GetTextExtentPoint32W(FHandle, Text.c_str(), static_cast<int>(Text.size()), &sz);
  return TSize{sz.cx, sz.cy};
}

// ---- Graphics and pixels ----------------------------------------------------------------

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  HDC src = Source->Handle();
  ::StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), src, SourceRect.Left,
               SourceRect.Top, SourceRect.Width(), SourceRect.Height(), FCopyMode);
  Changed();
}

TColor TCanvas::Pixel(int X, int Y) {
  RequiredState(csHandleValid);
  return MakeColor(::GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Value) {
  Changing();
  RequiredState(csHandleValid);
  ::SetPixel(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Value)));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  ::GetClipBox(FHandle, &r);
  return TRect(r);
}

// ---- Free routines ----------------------------------------------------------------------

namespace {
// A solid fill that needs no brush: ExtTextOut's opaque background.
void FillSolid(HDC DC, const TRect& Rect, TColor Color) {
  if (Color == clNone || Rect.IsEmpty()) return;
  COLORREF old = ::SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(Color)));
  ::ExtTextOutW(DC, 0, 0, ETO_OPAQUE, Rect.AsRECT(), nullptr, 0, nullptr);
  ::SetBkColor(DC, old);
}
}  // namespace

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Changing();
  HDC dc = Canvas->Handle();
  for (int i = 0; i < Width; ++i) {
    const TRect r = Rect;
    FillSolid(dc, TRect(r.Left, r.Top, r.Right - 1, r.Top + 1), TopColor);
    FillSolid(dc, TRect(r.Left, r.Top, r.Left + 1, r.Bottom - 1), TopColor);
    FillSolid(dc, TRect(r.Right - 1, r.Top, r.Right, r.Bottom), BottomColor);
    FillSolid(dc, TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), BottomColor);
    Rect.Inflate(-1, -1);
  }
  Canvas->Changed();
}

void DrawAlphaFill(HDC DC, const TRect& Rect, TColor Color, uint8_t Alpha) {
  if (Alpha == 0 || Rect.IsEmpty()) return;
  if (Alpha == 255) {
    FillSolid(DC, Rect, Color);
    return;
  }
  TColor c = ColorToRGB(Color);
  void* bits = nullptr;
  TBitmapHandle pixel = CreateBottomUpDIB(1, 1, 32, &bits);
  *static_cast<uint32_t*>(bits) = 0xFF000000u | (uint32_t(GetRValue(c)) << 16) |
                                  (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  TMemoryDC mem = TMemoryDC::CreateCompatible(DC);
  TSelectObject select(mem.Get(), pixel.Get());
  BLENDFUNCTION bf{AC_SRC_OVER, 0, Alpha, 0};
  ::AlphaBlend(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), mem.Get(), 0, 0, 1, 1, bf);
}
