// Layout text to tree. The lexer works on bytes: names, numbers and symbols are ASCII, and
// only the inside of string literals is decoded from UTF-8. Every loop consumes input or
// stops, nesting is bounded, and a text that ends early is reported at the line of its last
// non-blank character.
#include <charconv>
#include <cmath>
#include <cstring>

#include "framework/Streaming.h"

ELayoutError::ELayoutError(const String& Source, int Line, const String& Problem)
    : Exception(Format(L"%ls(%d): %ls", Source.c_str(), Line, Problem.c_str())),
      FSource(Source),
      FLine(Line),
      FProblem(Problem) {}

namespace {

// Deeper than any real window; keeps hostile input from exhausting the stack.
constexpr int kMaxDepth = 100;

enum class TTokKind { EndOfText, Ident, Integer, Float, String, Binary, Symbol };

struct TToken {
  TTokKind Kind = TTokKind::EndOfText;
  int Line = 1;
  String Text;  // identifier, symbol, or the literal of a number
  int64_t Integer = 0;
  double Float = 0;
  String Str;
  std::vector<uint8_t> Bytes;
};

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

String Widen(const std::string& s) {
  String r;
  for (char c : s) r += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return r;
}

void AppendCodePoint(String& s, uint32_t cp) {
  if (cp < 0x10000) {
    s += static_cast<wchar_t>(cp);
  } else {
    cp -= 0x10000;
    s += static_cast<wchar_t>(0xD800 + (cp >> 10));
    s += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool DecodeUtf8(const std::string& bytes, String& out) {
  size_t i = 0, n = bytes.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    size_t len;
    uint32_t cp, min;
    if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (n - i < len) return false;
    for (size_t k = 1; k < len; ++k) {
      auto cc = static_cast<unsigned char>(bytes[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    AppendCodePoint(out, cp);
    i += len;
  }
  return true;
}

class TLexer {
 public:
  TLexer(const std::string& Text, const String& Source) : FText(Text), FSource(Source) {
    if (FText.size() >= 3 && std::memcmp(FText.data(), "\xEF\xBB\xBF", 3) == 0) FPos = 3;
  }

  TToken Next();

  [[noreturn]] void Fail(int Line, const String& Problem) const { throw ELayoutError(FSource, Line, Problem); }

 private:
  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek(size_t Ahead = 0) const { return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0'; }
  void Advance() {
    char c = FText[FPos++];
    if (c == '\n')
      ++FLine;
    else if (!IsBlank(c))
      FContentLine = FLine;
  }
  [[noreturn]] void FailAtEnd(const String& Problem) const { Fail(FContentLine, Problem); }
  String Literal(size_t Start) const { return Widen(FText.substr(Start, FPos - Start)); }

  TToken ReadIdent();
  TToken ReadNumber();
  TToken ReadString();
  TToken ReadBinary();
  void ReadHex(TToken& t, size_t start, bool negative);
  void ReadDecimal(TToken& t, size_t start);

  const std::string& FText;
  const String& FSource;
  size_t FPos = 0;
  int FLine = 1;
  int FContentLine = 1;  // line of the last non-blank character consumed
};

TToken TLexer::Next() {
  while (!AtEnd() && IsBlank(Peek())) Advance();
  if (AtEnd()) {
    TToken t;
    t.Line = FContentLine;
    return t;
  }
  char c = Peek();
  if (IsIdentStart(c)) return ReadIdent();
  if (IsDigit(c) || c == '-' || c == '$') return ReadNumber();
  if (c == '\'' || c == '#') return ReadString();
  if (c == '{') return ReadBinary();
  switch (c) {
    case '=': case ':': case '[': case ']': case ',': case '<': case '>': case '+': case '(': case ')': {
      TToken t;
      t.Kind = TTokKind::Symbol;
      t.Line = FLine;
      t.Text = String(1, static_cast<wchar_t>(c));
      Advance();
      return t;
    }
    default:
      break;
  }
  auto b = static_cast<unsigned char>(c);
  if (b > 0x20 && b < 0x7F) Fail(FLine, Format(L"unexpected character '%lc'", static_cast<wchar_t>(b)));
  Fail(FLine, Format(L"unexpected byte $%02X", b));
}

TToken TLexer::ReadIdent() {
  TToken t;
  t.Kind = TTokKind::Ident;
  t.Line = FLine;
  size_t start = FPos;
  for (;;) {
    while (IsIdentChar(Peek())) Advance();
    if (Peek() != '.') break;
    if (!IsIdentStart(Peek(1))) {
      Advance();
      Fail(FLine, L"a name must follow the '.' in '" + Literal(start) + L"'");
    }
    Advance();
  }
  t.Text = Literal(start);
  return t;
}

TToken TLexer::ReadNumber() {
  TToken t;
  t.Line = FLine;
  size_t start = FPos;
  bool negative = Peek() == '-';
  if (negative) Advance();
  if (Peek() == '$') {
    ReadHex(t, start, negative);
  } else if (IsDigit(Peek())) {
    ReadDecimal(t, start);
  } else {
    Fail(t.Line, L"'-' must be followed by a number");
  }
  if (IsIdentChar(Peek()) || Peek() == '.' || Peek() == '$') {
    while (IsIdentChar(Peek()) || Peek() == '.' || Peek() == '$') Advance();
    Fail(t.Line, L"invalid number '" + Literal(start) + L"'");
  }
  t.Text = Literal(start);
  return t;
}

void TLexer::ReadHex(TToken& t, size_t start, bool negative) {
  Advance();  // '$'
  uint64_t v = 0;
  int digits = 0;
  bool overflow = false;
  for (int h; (h = HexValue(Peek())) >= 0; Advance(), ++digits) {
    if (v > (UINT64_MAX >> 4)) overflow = true;
    v = (v << 4) | static_cast<uint64_t>(h);
  }
  if (digits == 0) Fail(t.Line, L"'$' must be followed by hexadecimal digits");
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  if (overflow || v > limit) Fail(t.Line, L"number '" + Literal(start) + L"' out of range");
  t.Kind = TTokKind::Integer;
  t.Integer = static_cast<int64_t>(negative ? uint64_t(0) - v : v);
}

void TLexer::ReadDecimal(TToken& t, size_t start) {
  bool isFloat = false;
  while (IsDigit(Peek())) Advance();
  if (Peek() == '.' && IsDigit(Peek(1))) {
    isFloat = true;
    Advance();
    while (IsDigit(Peek())) Advance();
  }
  if ((Peek() == 'e' || Peek() == 'E') &&
      (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
    isFloat = true;
    Advance();
    if (!IsDigit(Peek())) Advance();
    while (IsDigit(Peek())) Advance();
  }
  const char* first = FText.data() + start;
  const char* last = FText.data() + FPos;
  if (isFloat) {
    // from_chars takes no leading '+' and ignores the locale, as a data format should.
    auto r = std::from_chars(first, last, t.Float);
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(t.Float))
      Fail(t.Line, L"number '" + Literal(start) + L"' out of range");
    t.Kind = TTokKind::Float;
  } else {
    auto r = std::from_chars(first, last, t.Integer);
    if (r.ec != std::errc() || r.ptr != last) Fail(t.Line, L"number '" + Literal(start) + L"' out of range");
    t.Kind = TTokKind::Integer;
  }
}

// Quoted pieces and #nnn character codes, written next to each other, make one string.
TToken TLexer::ReadString() {
  TToken t;
  t.Kind = TTokKind::String;
  t.Line = FLine;
  for (;;) {
    if (Peek() == '\'') {
      Advance();
      std::string bytes;
      for (;;) {
        if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail(t.Line, L"unterminated string");
        char c = Peek();
        Advance();
        if (c == '\'') {
          if (Peek() != '\'') break;
          Advance();
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
          Fail(t.Line, L"control character in a string (write it as #nn)");
        }
        bytes += c;
      }
      if (!DecodeUtf8(bytes, t.Str)) Fail(t.Line, L"a string is not valid UTF-8");
    } else if (Peek() == '#') {
      Advance();
      bool hex = Peek() == '$';
      if (hex) Advance();
      uint32_t code = 0;
      int digits = 0;
      for (;; Advance(), ++digits) {
        int d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
        if (d < 0) break;
        if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
      }
      if (digits == 0) Fail(t.Line, L"'#' must be followed by a character code");
      if (code > 0x10FFFF) Fail(t.Line, L"character code out of range");
      AppendCodePoint(t.Str, code);
    } else {
      return t;
    }
  }
}

TToken TLexer::ReadBinary() {
  TToken t;
  t.Kind = TTokKind::Binary;
  t.Line = FLine;
  Advance();  // '{'
  int high = -1;
  for (;;) {
    if (AtEnd()) FailAtEnd(Format(L"unterminated binary data (begun at line %d)", t.Line));
    char c = Peek();
    if (c == '}') {
      if (high >= 0) Fail(FLine, L"odd number of hexadecimal digits in binary data");
      Advance();
      return t;
    }
    if (!IsBlank(c)) {
      int h = HexValue(c);
      if (h < 0) Fail(FLine, L"invalid character in binary data");
      if (high < 0) {
        high = h;
      } else {
        t.Bytes.push_back(static_cast<uint8_t>(high * 16 + h));
        high = -1;
      }
    }
    Advance();
  }
}

class TParser {
 public:
  TParser(const std::string& Text, const String& Source) : FLex(Text, Source) { Next(); }

  TLayoutObject ParseDocument() {
    TLayoutObject root = ParseObject(0);
    if (FTok.Kind != TTokKind::EndOfText) Fail(FTok.Line, L"unexpected " + Describe(FTok) + L" after the last 'end'");
    return root;
  }

 private:
  void Next() { FTok = FLex.Next(); }
  [[noreturn]] void Fail(int Line, const String& Problem) const { FLex.Fail(Line, Problem); }
  [[noreturn]] void Expected(const String& What) const {
    Fail(FTok.Line, L"expected " + What + L", found " + Describe(FTok));
  }
  bool IsKeyword(const wchar_t* Word) const { return FTok.Kind == TTokKind::Ident && SameText(FTok.Text, Word); }
  bool IsSymbol(wchar_t c) const { return FTok.Kind == TTokKind::Symbol && FTok.Text[0] == c; }
  void ExpectSymbol(wchar_t c) {
    if (!IsSymbol(c)) Expected(String(L"'") + c + L"'");
    Next();
  }
  String ExpectName(const wchar_t* What) {
    if (FTok.Kind != TTokKind::Ident || FTok.Text.find(L'.') != String::npos) Expected(What);
    String name = FTok.Text;
    Next();
    return name;
  }
  void CheckDepth(int Depth) const {
    if (Depth > kMaxDepth) Fail(FTok.Line, L"objects nested too deeply");
  }

  static String Describe(const TToken& t) {
    switch (t.Kind) {
      case TTokKind::EndOfText: return L"end of text";
      case TTokKind::String: return L"a string";
      case TTokKind::Binary: return L"binary data";
      default: return L"'" + t.Text + L"'";
    }
  }

  TLayoutObject ParseObject(int Depth);
  TLayoutProperty ParseProperty(int Depth);
  TLayoutValue ParseValue(int Depth);
  void ParseSet(TLayoutValue& v);
  void ParseCollection(TLayoutValue& v, int Depth);

  TLexer FLex;
  TToken FTok;
};

TLayoutObject TParser::ParseObject(int Depth) {
  CheckDepth(Depth);
  if (!IsKeyword(L"object")) Expected(L"'object'");
  TLayoutObject o;
  o.Line = FTok.Line;
  Next();
  o.Name = ExpectName(L"an object name");
  ExpectSymbol(L':');
  o.ClassName = ExpectName(L"a class name");
  for (;;) {
    if (IsKeyword(L"end")) {
      Next();
      return o;
    }
    if (IsKeyword(L"object")) {
      o.Children.push_back(ParseObject(Depth + 1));
    } else if (FTok.Kind == TTokKind::Ident) {
      if (!o.Children.empty())
        Fail(FTok.Line, L"property '" + FTok.Text + L"' after nested objects; properties come first");
      o.Properties.push_back(ParseProperty(Depth));
    } else {
      Expected(L"a property, 'object' or 'end'");
    }
  }
}

TLayoutProperty TParser::ParseProperty(int Depth) {
  TLayoutProperty p;
  p.Line = FTok.Line;
  p.Path = FTok.Text;
  Next();
  ExpectSymbol(L'=');
  p.Value = ParseValue(Depth);
  return p;
}

TLayoutValue TParser::ParseValue(int Depth) {
  TLayoutValue v;
  v.Line = FTok.Line;
  switch (FTok.Kind) {
    case TTokKind::Integer:
      v.Kind = TLayoutValueKind::Integer;
      v.Integer = FTok.Integer;
      Next();
      return v;
    case TTokKind::Float:
      v.Kind = TLayoutValueKind::Float;
      v.Float = FTok.Float;
      Next();
      return v;
    case TTokKind::String:
      v.Kind = TLayoutValueKind::String;
      v.Text = std::move(FTok.Str);
      Next();
      while (IsSymbol(L'+')) {
        Next();
        if (FTok.Kind != TTokKind::String) Expected(L"a string after '+'");
        v.Text += FTok.Str;
        Next();
      }
      return v;
    case TTokKind::Ident:
      v.Kind = TLayoutValueKind::Identifier;
      v.Text = FTok.Text;
      Next();
      return v;
    case TTokKind::Binary:
      v.Kind = TLayoutValueKind::Binary;
      v.Binary = std::move(FTok.Bytes);
      Next();
      return v;
    default:
      break;
  }
  if (IsSymbol(L'[')) {
    ParseSet(v);
  } else if (IsSymbol(L'<')) {
    ParseCollection(v, Depth);
  } else {
    Expected(L"a value");
  }
  return v;
}

void TParser::ParseSet(TLayoutValue& v) {
  v.Kind = TLayoutValueKind::Set;
  Next();
  if (IsSymbol(L']')) {
    Next();
    return;
  }
  for (;;) {
    v.Set.push_back(ExpectName(L"a set member"));
    if (IsSymbol(L']')) {
      Next();
      return;
    }
    if (!IsSymbol(L',')) Expected(L"',' or ']'");
    Next();
  }
}

void TParser::ParseCollection(TLayoutValue& v, int Depth) {
  v.Kind = TLayoutValueKind::Collection;
  Next();
  for (;;) {
    if (IsSymbol(L'>')) {
      Next();
      return;
    }
    if (!IsKeyword(L"item")) Expected(L"'item' or '>'");
    CheckDepth(Depth + 1);
    TLayoutItem item;
    item.Line = FTok.Line;
    Next();
    for (;;) {
      if (IsKeyword(L"end")) {
        Next();
        break;
      }
      if (FTok.Kind != TTokKind::Ident || IsKeyword(L"object") || IsKeyword(L"item"))
        Expected(L"a property or 'end'");
      item.Properties.push_back(ParseProperty(Depth + 1));
    }
    v.Items.push_back(std::move(item));
  }
}

}  // namespace

TLayoutObject ParseLayout(const std::string& Utf8Text, const String& SourceName) {
  TParser parser(Utf8Text, SourceName);
  return parser.ParseDocument();
}
