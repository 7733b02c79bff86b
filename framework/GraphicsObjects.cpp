// Fonts, pens and brushes: property holders that make their GDI handle on demand.
#include <algorithm>
#include <cwchar>

#include "framework/Graphics.h"

// ---- TFont ------------------------------------------------------------------------------

void TFont::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFont*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  FPixelsPerInch = src->FPixelsPerInch;
  Apply(src->FData);
}

void TFont::Apply(const TData& Value) {
  if (Value == FData) return;
  TData sameColor = Value;
  sameColor.Color = FData.Color;
  // The stale handle lives until the listeners ran: a canvas may still have it selected.
  TFontHandle stale;
  if (!(sameColor == FData)) stale = std::move(FHandle);
  FData = Value;
  Changed();
}

void TFont::SetName(const String& Value) {
  TData d = FData;
  d.Name = Value;
  Apply(d);
}

void TFont::SetHeight(int Value) {
  TData d = FData;
  d.Height = Value;
  Apply(d);
}

int TFont::Size() const { return -::MulDiv(FData.Height, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-::MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  TData d = FData;
  d.Style = Value;
  Apply(d);
}

void TFont::SetColor(TColor Value) {
  TData d = FData;
  d.Color = Value;
  Apply(d);
}

void TFont::SetQuality(TFontQuality Value) {
  TData d = FData;
  d.Quality = Value;
  Apply(d);
}

void TFont::SetCharset(TFontCharset Value) {
  TData d = FData;
  d.Charset = Value;
  Apply(d);
}

void TFont::SetPitch(TFontPitch Value) {
  TData d = FData;
  d.Pitch = Value;
  Apply(d);
}

void TFont::SetOrientation(int Value) {
  TData d = FData;
  d.Orientation = Value;
  Apply(d);
}

void TFont::SetPixelsPerInch(int Value) {
  if (Value <= 0) throw EInvalidGraphicOperation(L"PixelsPerInch must be positive");
  FPixelsPerInch = Value;
}

namespace {
BYTE QualityToGdi(TFontQuality q) {
  switch (q) {
    case fqDraft: return DRAFT_QUALITY;
    case fqProof: return PROOF_QUALITY;
    case fqNonAntialiased: return NONANTIALIASED_QUALITY;
    case fqAntialiased: return ANTIALIASED_QUALITY;
    case fqClearType: return CLEARTYPE_QUALITY;
    case fqClearTypeNatural: return CLEARTYPE_NATURAL_QUALITY;
    case fqDefault: break;
  }
  return DEFAULT_QUALITY;
}

BYTE PitchToGdi(TFontPitch p) {
  switch (p) {
    case fpVariable: return VARIABLE_PITCH;
    case fpFixed: return FIXED_PITCH;
    case fpDefault: break;
  }
  return DEFAULT_PITCH;
}
}  // namespace

HFONT TFont::Handle() {
  if (FHandle) return FHandle.Get();
  LOGFONTW lf{};
  lf.lfHeight = FData.Height;
  lf.lfEscapement = FData.Orientation;
  lf.lfOrientation = FData.Orientation;
  lf.lfWeight = FData.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FData.Style.Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = FData.Style.Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = FData.Style.Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = FData.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = QualityToGdi(FData.Quality);
  lf.lfPitchAndFamily = PitchToGdi(FData.Pitch) | FF_DONTCARE;
  std::wmemcpy(lf.lfFaceName, FData.Name.c_str(), std::min<size_t>(FData.Name.size(), LF_FACESIZE - 1));
  FHandle.Reset(::CreateFontIndirectW(&lf));
  if (!FHandle) throw EOutOfResources(L"Out of system resources (font)");
  return FHandle.Get();
}

// ---- TPen -------------------------------------------------------------------------------

void TPen::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TPen*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  Apply(src->FData);
}

void TPen::Apply(const TData& Value) {
  if (Value == FData) return;
  TPenHandle stale = std::move(FHandle);
  FData = Value;
  Changed();
}

void TPen::SetColor(TColor Value) {
  TData d = FData;
  d.Color = Value;
  Apply(d);
}

void TPen::SetWidth(int Value) {
  TData d = FData;
  d.Width = Value;
  Apply(d);
}

void TPen::SetStyle(TPenStyle Value) {
  TData d = FData;
  d.Style = Value;
  Apply(d);
}

HPEN TPen::Handle() {
  if (FHandle) return FHandle.Get();
  static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                                PS_INSIDEFRAME};
  FHandle.Reset(::CreatePen(kStyles[FData.Style], FData.Width, ColorToRGB(FData.Color)));
  if (!FHandle) throw EOutOfResources(L"Out of system resources (pen)");
  return FHandle.Get();
}

// ---- TBrush -----------------------------------------------------------------------------

void TBrush::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TBrush*>(Source);
  if (src == nullptr) {
    inherited::Assign(Source);
    return;
  }
  Apply(src->FData);
}

void TBrush::Apply(const TData& Value) {
  if (Value == FData) return;
  TBrushHandle stale = std::move(FHandle);
  FData = Value;
  Changed();
}

void TBrush::SetColor(TColor Value) {
  TData d = FData;
  d.Color = Value;
  Apply(d);
}

void TBrush::SetStyle(TBrushStyle Value) {
  TData d = FData;
  d.Style = Value;
  Apply(d);
}

HBRUSH TBrush::Handle() {
  if (FHandle) return FHandle.Get();
  LOGBRUSH lb{};
  lb.lbColor = ColorToRGB(FData.Color);
  switch (FData.Style) {
    case bsSolid: lb.lbStyle = BS_SOLID; break;
    case bsClear: lb.lbStyle = BS_NULL; break;
    default:
      static const int kHatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                     HS_CROSS, HS_DIAGCROSS};
      lb.lbStyle = BS_HATCHED;
      lb.lbHatch = kHatches[FData.Style - bsHorizontal];
      break;
  }
  FHandle.Reset(::CreateBrushIndirect(&lb));
  if (!FHandle) throw EOutOfResources(L"Out of system resources (brush)");
  return FHandle.Get();
}
