#include "lib/kaGPFontControls/kaGPFontControls.h"

#include <algorithm>

using namespace Gdiplus;

namespace {

// The module this code is linked into, so that a program or a library holding the unit
// finds the font among its own resources.
HMODULE ThisModule() {
  HMODULE Module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &Module);
  return Module;
}

constexpr wchar_t kFirstIcon = 0xF000;
constexpr int kLastIndex = 0xFFF;

}  // namespace

int GPIconFontEmSize(const TGPRectF& ARect, int AFontHeight) {
  if (AFontHeight != 0) return AFontHeight;
  return Trunc(0.9 * std::min(Trunc(ARect.Width), Trunc(ARect.Height)));
}

TkaGPFontAwesome::TkaGPFontAwesome() { GPEnsureStarted(); }

TkaGPFontAwesome::~TkaGPFontAwesome() = default;

void TkaGPFontAwesome::AfterConstruction() {
  inherited::AfterConstruction();
  LoadFont();
}

void TkaGPFontAwesome::LoadFont() {
  FPrivateFontCollection.reset();
  const HMODULE Module = ThisModule();
  // Resource names are matched without case: the resource itself is named FONTAWESOME.
  const HRSRC Resource = ::FindResourceW(Module, L"fontawesome", RT_RCDATA);
  if (Resource == nullptr) return;
  const HGLOBAL Data = ::LoadResource(Module, Resource);
  const void* Memory = Data != nullptr ? ::LockResource(Data) : nullptr;
  const DWORD Size = ::SizeofResource(Module, Resource);
  if (Memory == nullptr || Size == 0) return;
  // Resource memory lives as long as the module, so the collection may keep pointing at it.
  auto Collection = std::make_unique<Gdiplus::PrivateFontCollection>();
  Collection->AddMemoryFont(Memory, static_cast<INT>(Size));
  FPrivateFontCollection = std::move(Collection);
}

void TkaGPFontAwesome::Draw(TCanvas* ACanvas, TColor AColor, uint8_t AColorAlpha, const TRect& ARect,
                            int AFontHeight, int AIndex) {
  Graphics G(ACanvas->Handle());
  G.SetSmoothingMode(SmoothingModeHighQuality);
  G.SetPixelOffsetMode(PixelOffsetModeHalf);
  Draw(&G, ToGPColor(AColor, AColorAlpha), RectToGPRect(ARect), AFontHeight, AIndex);
}

void TkaGPFontAwesome::Draw(Graphics* AGraphics, TGPColor AColor, const TGPRectF& ARect, int AFontHeight,
                            int AIndex) {
  if (!FPrivateFontCollection || AGraphics == nullptr || AIndex < 0 || AIndex > kLastIndex) return;
  const int Em = GPIconFontEmSize(ARect, AFontHeight);
  if (Em <= 0) return;
  AGraphics->SetTextRenderingHint(TextRenderingHintAntiAlias);
  Gdiplus::Font IconFont(L"FontAwesome", static_cast<REAL>(Em), FontStyleRegular, UnitPixel,
                         FPrivateFontCollection.get());
  SolidBrush Brush{Color(AColor)};
  StringFormat Format(StringFormatFlagsNoClip);
  Format.SetAlignment(StringAlignmentCenter);
  // The em box, centred vertically in ARect. Across, the box is widened about ARect's centre
  // to at least two ems: one centred icon lands at the same place either way, and GDI+
  // implementations that drop a line narrower than its glyph plus the format's side padding
  // still draw an icon wider than its rectangle.
  const REAL EmSize = static_cast<REAL>(Em);
  const REAL Width = std::max(ARect.Width, 2 * EmSize);
  const RectF Layout(ARect.X + (ARect.Width - Width) / 2, ARect.Y + (ARect.Height - EmSize) / 2, Width,
                     EmSize);
  const wchar_t Icon = static_cast<wchar_t>(kFirstIcon + AIndex);
  AGraphics->DrawString(&Icon, 1, &IconFont, Layout, &Format, &Brush);
}
