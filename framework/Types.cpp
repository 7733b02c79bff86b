#include "framework/Types.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom));
  if (r.IsEmpty()) return TRect();
  return r;
}

TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom));
}

int Round(double value) {
  double f = std::floor(value);
  double diff = value - f;
  if (diff > 0.5) return static_cast<int>(f) + 1;
  if (diff < 0.5) return static_cast<int>(f);
  int i = static_cast<int>(f);
  return (i % 2 == 0) ? i : i + 1;
}

TColor ColorToRGB(TColor color) {
  if ((static_cast<uint32_t>(color) & 0xFF000000u) == 0xFF000000u)
    return MakeColor(::GetSysColor(static_cast<int>(static_cast<uint32_t>(color) & 0xFF)));
  return color;
}

namespace {
struct ColorName {
  TColor Color;
  const wchar_t* Name;
};
const ColorName kColorNames[] = {
    {clBlack, L"clBlack"}, {clMaroon, L"clMaroon"}, {clGreen, L"clGreen"}, {clOlive, L"clOlive"},
    {clNavy, L"clNavy"}, {clPurple, L"clPurple"}, {clTeal, L"clTeal"}, {clGray, L"clGray"},
    {clSilver, L"clSilver"}, {clRed, L"clRed"}, {clLime, L"clLime"}, {clYellow, L"clYellow"},
    {clBlue, L"clBlue"}, {clFuchsia, L"clFuchsia"}, {clAqua, L"clAqua"}, {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"}, {clSkyBlue, L"clSkyBlue"}, {clCream, L"clCream"},
    {clMedGray, L"clMedGray"}, {clNone, L"clNone"}, {clDefault, L"clDefault"},
    {clScrollBar, L"clScrollBar"}, {clBackground, L"clBackground"},
    {clActiveCaption, L"clActiveCaption"}, {clInactiveCaption, L"clInactiveCaption"},
    {clMenu, L"clMenu"}, {clWindow, L"clWindow"}, {clWindowFrame, L"clWindowFrame"},
    {clMenuText, L"clMenuText"}, {clWindowText, L"clWindowText"}, {clCaptionText, L"clCaptionText"},
    {clActiveBorder, L"clActiveBorder"}, {clInactiveBorder, L"clInactiveBorder"},
    {clAppWorkSpace, L"clAppWorkSpace"}, {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"}, {clBtnFace, L"clBtnFace"}, {clBtnShadow, L"clBtnShadow"},
    {clGrayText, L"clGrayText"}, {clBtnText, L"clBtnText"},
    {clInactiveCaptionText, L"clInactiveCaptionText"}, {clBtnHighlight, L"clBtnHighlight"},
    {cl3DDkShadow, L"cl3DDkShadow"}, {cl3DLight, L"cl3DLight"}, {clInfoText, L"clInfoText"},
    {clInfoBk, L"clInfoBk"}, {clHotLight, L"clHotLight"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"}, {clMenuHighlight, L"clMenuHighlight"},
    {clMenuBar, L"clMenuBar"},
};
}  // namespace

bool IdentToColor(const String& ident, TColor& color) {
  for (const auto& c : kColorNames)
    if (SameText(ident, c.Name)) {
      color = c.Color;
      return true;
    }
  return false;
}

String ColorToIdent(TColor color) {
  for (const auto& c : kColorNames)
    if (c.Color == color) return c.Name;
  return String();
}

Exception::Exception(const String& message) : std::runtime_error(ToUtf8(message)), FMessage(message) {}

String Format(const wchar_t* format, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buf.data(), buf.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) return String(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

std::string ToUtf8(const String& s) {
  if (s.empty()) return std::string();
  int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

String FromUtf8(const std::string& s) {
  if (s.empty()) return String();
  int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  String out(n, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

String IntToStr(int64_t v) { return std::to_wstring(v); }

String LowerCase(const String& s) {
  String r = s;
  if (!r.empty()) ::CharLowerBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

String UpperCase(const String& s) {
  String r = s;
  if (!r.empty()) ::CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

bool SameText(const String& a, const String& b) {
  return a.size() == b.size() && ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                       static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}
