// Value types shared by the whole framework: strings, sets, points, rectangles, colours,
// and the two rounding rules the library relies on.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "framework/Platform.h"

using String = std::wstring;

// A set of enumeration values as a bit mask (enumerations of at most 64 values).
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(E e) : FBits(Bit(e)) {}
  constexpr TSet(std::initializer_list<E> list) {
    for (E e : list) FBits |= Bit(e);
  }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet& operator+=(TSet o) { FBits |= o.FBits; return *this; }
  constexpr TSet& operator-=(TSet o) { FBits &= ~o.FBits; return *this; }
  constexpr bool operator==(const TSet&) const = default;
  constexpr uint64_t Bits() const { return FBits; }
  static constexpr TSet FromBits(uint64_t bits) { TSet s; s.FBits = bits; return s; }

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};

struct TPoint {
  int X = 0, Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  constexpr bool operator==(const TPoint&) const = default;
  operator POINT() const { return POINT{X, Y}; }
};

struct TSize {
  int cx = 0, cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

// Same memory layout as RECT, so it can be handed to the Windows API by pointer.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // Right and bottom edges are outside, as with PtInRect.
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  void Offset(int dx, int dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  void Inflate(int dx, int dy) { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }
  constexpr bool operator==(const TRect&) const = default;
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
  RECT* AsRECT() { return reinterpret_cast<RECT*>(this); }
  const RECT* AsRECT() const { return reinterpret_cast<const RECT*>(this); }
};
static_assert(sizeof(TRect) == sizeof(RECT));

constexpr TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int l, int t, int w, int h) { return TRect(l, t, l + w, t + h); }
constexpr TPoint Point(int x, int y) { return TPoint(x, y); }
inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
TRect IntersectRect(const TRect& a, const TRect& b);
TRect UnionRect(const TRect& a, const TRect& b);

// Rounds halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int Round(double value);
// Drops the fraction (towards zero).
inline int Trunc(double value) { return static_cast<int>(value); }
// ::MulDiv is the platform rule for scaling: halves round away from zero.

// Colours: $00BBGGRR, or $FF0000nn for system colour nn.
enum TColor : int32_t {};
constexpr TColor MakeColor(uint32_t v) { return static_cast<TColor>(static_cast<int32_t>(v)); }
constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) { return MakeColor(r | (g << 8) | (uint32_t(b) << 16)); }
constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(uint32_t(c) & 0xFF); }
constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((uint32_t(c) >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((uint32_t(c) >> 16) & 0xFF); }

constexpr TColor clSystemColor = MakeColor(0xFF000000);
constexpr TColor clScrollBar = MakeColor(0xFF000000 | COLOR_SCROLLBAR);
constexpr TColor clBackground = MakeColor(0xFF000000 | COLOR_BACKGROUND);
constexpr TColor clActiveCaption = MakeColor(0xFF000000 | COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = MakeColor(0xFF000000 | COLOR_INACTIVECAPTION);
constexpr TColor clMenu = MakeColor(0xFF000000 | COLOR_MENU);
constexpr TColor clWindow = MakeColor(0xFF000000 | COLOR_WINDOW);
constexpr TColor clWindowFrame = MakeColor(0xFF000000 | COLOR_WINDOWFRAME);
constexpr TColor clMenuText = MakeColor(0xFF000000 | COLOR_MENUTEXT);
constexpr TColor clWindowText = MakeColor(0xFF000000 | COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = MakeColor(0xFF000000 | COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = MakeColor(0xFF000000 | COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = MakeColor(0xFF000000 | COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = MakeColor(0xFF000000 | COLOR_APPWORKSPACE);
constexpr TColor clHighlight = MakeColor(0xFF000000 | COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = MakeColor(0xFF000000 | COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = MakeColor(0xFF000000 | COLOR_BTNFACE);
constexpr TColor clBtnShadow = MakeColor(0xFF000000 | COLOR_BTNSHADOW);
constexpr TColor clGrayText = MakeColor(0xFF000000 | COLOR_GRAYTEXT);
constexpr TColor clBtnText = MakeColor(0xFF000000 | COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = MakeColor(0xFF000000 | COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = MakeColor(0xFF000000 | COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = MakeColor(0xFF000000 | COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = MakeColor(0xFF000000 | COLOR_3DLIGHT);
constexpr TColor clInfoText = MakeColor(0xFF000000 | COLOR_INFOTEXT);
constexpr TColor clInfoBk = MakeColor(0xFF000000 | COLOR_INFOBK);
constexpr TColor clHotLight = MakeColor(0xFF000000 | COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = MakeColor(0xFF000000 | COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = MakeColor(0xFF000000 | COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = MakeColor(0xFF000000 | COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = MakeColor(0xFF000000 | COLOR_MENUBAR);

constexpr TColor clBlack = MakeColor(0x000000);
constexpr TColor clMaroon = MakeColor(0x000080);
constexpr TColor clGreen = MakeColor(0x008000);
constexpr TColor clOlive = MakeColor(0x008080);
constexpr TColor clNavy = MakeColor(0x800000);
constexpr TColor clPurple = MakeColor(0x800080);
constexpr TColor clTeal = MakeColor(0x808000);
constexpr TColor clGray = MakeColor(0x808080);
constexpr TColor clSilver = MakeColor(0xC0C0C0);
constexpr TColor clRed = MakeColor(0x0000FF);
constexpr TColor clLime = MakeColor(0x00FF00);
constexpr TColor clYellow = MakeColor(0x00FFFF);
constexpr TColor clBlue = MakeColor(0xFF0000);
constexpr TColor clFuchsia = MakeColor(0xFF00FF);
constexpr TColor clAqua = MakeColor(0xFFFF00);
constexpr TColor clWhite = MakeColor(0xFFFFFF);
constexpr TColor clMoneyGreen = MakeColor(0xC0DCC0);
constexpr TColor clSkyBlue = MakeColor(0xF0CAA6);
constexpr TColor clCream = MakeColor(0xF0FBFF);
constexpr TColor clMedGray = MakeColor(0xA4A0A0);
constexpr TColor clNone = MakeColor(0x1FFFFFFF);
constexpr TColor clDefault = MakeColor(0x20000000);

// Resolves a system colour through GetSysColor; other colours pass unchanged.
TColor ColorToRGB(TColor color);
// Colour by name ("clBtnFace", "clRed" ...) and back; false / empty when unknown.
bool IdentToColor(const String& ident, TColor& color);
String ColorToIdent(TColor color);

// Errors of the framework carry a message, like the platform's exceptions.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const String& message);
  const String& Message() const { return FMessage; }

 private:
  String FMessage;
};
class EListError : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EComponentError : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };

String Format(const wchar_t* format, ...);
std::string ToUtf8(const String& s);
String FromUtf8(const std::string& s);
String IntToStr(int64_t v);
String LowerCase(const String& s);
String UpperCase(const String& s);
bool SameText(const String& a, const String& b);
