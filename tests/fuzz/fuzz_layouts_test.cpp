// The demo's own layouts damaged token by token: tokens dropped, duplicated, swapped or
// replaced by others of the file, numbers made extreme, strings left open, nesting cut short
// or doubled, lines dropped or repeated. Each is read onto its real form class: it reads, or
// fails with ELayoutError naming a line of the text; the form freed after a failed read
// leaves no framework object alive, no GDI object and no window behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/MessageUnit.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Streaming.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/Handles.h"

namespace {

using fuzz::TRng;

// The form classes under names of their own, so that building one reads no layout resource
// (none is named after them); the reader takes them for the class the layout names.
class TFuzzForm1 : public TForm1 {
  KA_CLASS(TFuzzForm1, TForm1)
 public:
  using TForm1::TForm1;
};
class TFuzzForm2 : public TForm2 {
  KA_CLASS(TFuzzForm2, TForm2)
 public:
  using TForm2::TForm2;
};
class TFuzzMessageForm : public TMessageForm {
  KA_CLASS(TFuzzMessageForm, TMessageForm)
 public:
  using TMessageForm::TMessageForm;
};

// ---- Tokens -----------------------------------------------------------------------------

enum TKind { tkSpace, tkName, tkNumber, tkString, tkOther };
struct TToken {
  TKind Kind;
  std::string Text;
};

bool IsNameChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_' || C == '.'; }

std::vector<TToken> Tokenize(const std::string& Text) {
  std::vector<TToken> out;
  for (size_t i = 0; i < Text.size();) {
    size_t j = i + 1;
    char c = Text[i];
    TKind kind = tkOther;
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      kind = tkSpace;
      while (j < Text.size() && (Text[j] == ' ' || Text[j] == '\n' || Text[j] == '\r' || Text[j] == '\t')) ++j;
    } else if (c == '\'') {
      kind = tkString;
      for (; j < Text.size(); ++j)
        if (Text[j] == '\'') {
          if (j + 1 < Text.size() && Text[j + 1] == '\'') {
            ++j;
            continue;
          }
          ++j;
          break;
        }
    } else if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '$') && i + 1 < Text.size() &&
                                                              std::isxdigit(static_cast<unsigned char>(Text[i + 1])))) {
      kind = tkNumber;
      while (j < Text.size() && (std::isxdigit(static_cast<unsigned char>(Text[j])) || Text[j] == '.')) ++j;
    } else if (IsNameChar(c)) {
      kind = tkName;
      while (j < Text.size() && IsNameChar(Text[j])) ++j;
    }
    out.push_back({kind, Text.substr(i, j - i)});
    i = j;
  }
  return out;
}

// Indexes of the tokens that are not white space (of one kind, or of any with tkSpace).
std::vector<size_t> Find(const std::vector<TToken>& T, TKind Kind, const char* Text = nullptr) {
  std::vector<size_t> r;
  for (size_t i = 0; i < T.size(); ++i)
    if (T[i].Kind != tkSpace && (Kind == tkSpace || T[i].Kind == Kind) && (Text == nullptr || T[i].Text == Text))
      r.push_back(i);
  return r;
}

std::string Join(const std::vector<TToken>& T) {
  std::string s;
  for (const TToken& t : T) s += t.Text;
  return s;
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t nl; (nl = Text.find('\n', from)) != std::string::npos; from = nl + 1) lines.push_back(Text.substr(from, nl + 1 - from));
  if (from < Text.size()) lines.push_back(Text.substr(from));
  return lines;
}

// ---- Mutations --------------------------------------------------------------------------

// The components' names stay as they are. The form's event handlers reach its components
// through the fields the layout fills by name (the demo's handlers do not check them for
// nullptr, rightly: the layout is built into the program); a layout that renames one is a
// different program, not a damaged one.
bool IsComponentName(const std::vector<TToken>& T, size_t I) {
  if (T[I].Kind != tkName) return false;
  size_t p = I;
  while (p > 0 && T[p - 1].Kind == tkSpace) --p;
  return p > 0 && (T[p - 1].Text == "object" || T[p - 1].Text == "inherited");
}

void MutateTokens(TRng& R, std::vector<TToken>& T) {
  std::vector<size_t> any = Find(T, tkSpace);
  any.erase(std::remove_if(any.begin(), any.end(), [&](size_t i) { return IsComponentName(T, i); }), any.end());
  if (any.empty()) return;
  size_t a = any[R.Below(any.size())], b = any[R.Below(any.size())];
  switch (R.Below(9)) {
    case 0: T.erase(T.begin() + static_cast<std::ptrdiff_t>(a)); break;
    case 1: T.insert(T.begin() + static_cast<std::ptrdiff_t>(a), {T[a], {tkSpace, " "}}); break;
    case 2: std::swap(T[a], T[b]); break;
    case 3: {  // a value replaced by another of its kind: still well formed, but wrong here
      std::vector<size_t> same = Find(T, T[a].Kind);
      T[a] = T[same[R.Below(same.size())]];
      break;
    }
    case 4: {
      std::vector<size_t> numbers = Find(T, tkNumber);
      const char* extremes[] = {"2147483647", "-2147483648", "2147483648", "-2147483649", "99999999999999999999",
                                "-0", "1e308", "1.7976931348623157E308", "0.000000001", "$FFFFFFFF",
                                "$7FFFFFFFFFFFFFFF", "-1", "0", "4294967296"};
      if (!numbers.empty()) T[numbers[R.Below(numbers.size())]].Text = R.Pick(extremes);
      break;
    }
    case 5: {  // a string left open: its closing quote gone, or a lone quote
      std::vector<size_t> strings = Find(T, tkString);
      if (!strings.empty() && R.OneIn(2)) {
        std::string& s = T[strings[R.Below(strings.size())]].Text;
        if (s.size() > 1 && s.back() == '\'') s.pop_back();
      } else {
        T.insert(T.begin() + static_cast<std::ptrdiff_t>(a), {tkString, "'"});
      }
      break;
    }
    case 6: {  // nesting cut: an 'end' gone, or one too many, or the text cut at an object
      std::vector<size_t> ends = Find(T, tkName, "end");
      std::vector<size_t> objects = Find(T, tkName, "object");
      switch (R.Below(3)) {
        case 0:
          if (!ends.empty()) T.erase(T.begin() + static_cast<std::ptrdiff_t>(ends[R.Below(ends.size())]));
          break;
        case 1: T.insert(T.begin() + static_cast<std::ptrdiff_t>(a), {{tkName, "end"}, {tkSpace, "\n"}}); break;
        default:
          if (!objects.empty()) T.resize(objects[R.Below(objects.size())]);
          break;
      }
      break;
    }
    case 7: {  // brackets of sets, collections and binary data
      const char* opens[] = {"<", ">", "[", "]", "(", ")", "{", "}", "item", "+", "#"};
      T.insert(T.begin() + static_cast<std::ptrdiff_t>(a), {tkOther, R.Pick(opens)});
      break;
    }
    default: T[a].Text.resize(R.Below(T[a].Text.size())); break;  // a token cut short
  }
}

std::string Mutate(TRng& R, const std::string& Text) {
  std::string text = Text;
  // Mostly one change, so that most inputs get past the syntax to the properties' values.
  for (int n = R.OneIn(3) ? 2 + static_cast<int>(R.Below(2)) : 1; n > 0; --n) {
    if (R.OneIn(5)) {  // whole lines: dropped, repeated, swapped
      std::vector<std::string> lines = Lines(text);
      if (lines.empty()) continue;
      size_t a = R.Below(lines.size()), b = R.Below(lines.size());
      switch (R.Below(3)) {
        case 0:  // (a component's line stays, see IsComponentName)
          if (lines[a].find("object ") == std::string::npos) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(a));
          break;
        case 1: lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(a), lines[b]); break;
        default: std::swap(lines[a], lines[b]); break;
      }
      text.clear();
      for (const std::string& l : lines) text += l;
    } else {
      std::vector<TToken> tokens = Tokenize(text);
      MutateTokens(R, tokens);
      text = Join(tokens);
    }
  }
  return text;
}

// ---- The loop ---------------------------------------------------------------------------

struct TLayoutCase {
  const char* Format;
  const wchar_t* Resource;
  TCustomForm* (*Create)();
  uint64_t Seed;
  bool NeedsForm1;  // refers to the main form's components (its image collection)
};

template <class T>
TCustomForm* New() {
  return Construct<T>(nullptr);
}

// Reads Text onto a fresh form of the case's class and frees it.
fuzz::TVerdict TryRead(const TLayoutCase& Case, const std::string& Text) {
  const int alive = TObject::AliveCount();
  const int lines = static_cast<int>(std::count(Text.begin(), Text.end(), '\n')) + 1;
  fuzz::Dump(Text);
  TCustomForm* form = Case.Create();
  fuzz::TVerdict verdict = fuzz::TVerdict::Accepted;
  try {
    ReadLayout(form, Text, Case.Resource);
  } catch (const ELayoutError& e) {
    fuzz::NoteRefusal(e.Message());
    verdict = fuzz::TVerdict::Refused;
    EXPECT_GE(e.Line(), 1) << ToUtf8(e.Message());
    EXPECT_LE(e.Line(), lines) << ToUtf8(e.Message());
    EXPECT_EQ(e.Message().rfind(String(Case.Resource) + L"(" + std::to_wstring(e.Line()) + L"): ", 0), 0u)
        << ToUtf8(e.Message());
    for (int i = 0; i < form->ComponentCount(); ++i)
      EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csLoading)) << "left loading";
  } catch (const std::exception& e) {
    verdict = fuzz::TVerdict::Refused;
    ADD_FAILURE() << "not the format's error: " << e.what();
  }
  form->Free();
  EXPECT_EQ(TObject::AliveCount(), alive) << "objects left alive";
  return verdict;
}

class FuzzLayouts : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(FuzzLayouts, MutatedLayoutsReadOrFailNamingTheLine) {
  const TLayoutCase& c = GetParam();
  // The main form, as the demo has it while the others are read.
  std::unique_ptr<TCustomForm, void (*)(TCustomForm*)> form1(nullptr, [](TCustomForm* f) { f->Free(); });
  if (c.NeedsForm1) {
    std::string text;
    ASSERT_TRUE(LoadLayoutText(::GetModuleHandleW(nullptr), L"TForm1", text));
    form1.reset(New<TFuzzForm1>());
    ReadLayout(form1.get(), text, L"TForm1");
  }
  std::string good;
  ASSERT_TRUE(LoadLayoutText(::GetModuleHandleW(nullptr), c.Resource, good));
  // The intact layout reads; it also brings up whatever the classes keep for the whole
  // process (caches, GDI+), so that the handle counts below compare like with like.
  {
    TCustomForm* form = c.Create();
    try {
      ReadLayout(form, good, c.Resource);
    } catch (const Exception& e) {
      ADD_FAILURE() << "the intact layout fails: " << ToUtf8(e.Message());
    }
    form->Free();
    if (HasFailure()) return;
  }
  // A control the layout makes absurdly large cannot get its paint buffer: the framework's
  // EOutOfResources reaches the message loop, which reports it and goes on. That is the
  // designed outcome, not a fault; the run counts such reports.
  int reported = 0;
  struct TRestore {
    ~TRestore() { Application->OnException = nullptr; }
  } restore;
  Application->OnException = [&](TObject*, const std::exception& e) {
    ++reported;
    if (fuzz::Verbose()) std::printf("  reported by the message loop: %s\n", e.what());
  };
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  fuzz::TTally t = fuzz::Run(c.Format, c.Seed, 150, [&](TRng& R, int) { return TryRead(c, Mutate(R, good)); });
  std::printf("fuzz %-16s %d exception(s) reported by the message loop\n", c.Format, reported);
  EXPECT_NEAR(GdiObjectCount(), gdi, 4) << "GDI objects left behind";
  EXPECT_EQ(ThreadWindowCount(), windows) << "windows left behind";
  if (t.Tried >= 100) {
    EXPECT_GT(t.Refused, t.Tried / 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Demo, FuzzLayouts,
                         ::testing::Values(TLayoutCase{"layout TForm1", L"TForm1", &New<TFuzzForm1>, 1001, false},
                                           TLayoutCase{"layout TForm2", L"TForm2", &New<TFuzzForm2>, 1002, true},
                                           TLayoutCase{"layout TMessageForm", L"TMessageForm",
                                                       &New<TFuzzMessageForm>, 1003, true}),
                         [](const ::testing::TestParamInfo<TLayoutCase>& I) {
                           return ToUtf8(I.param.Resource);
                         });

}  // namespace
