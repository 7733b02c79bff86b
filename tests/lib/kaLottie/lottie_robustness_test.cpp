// Bad input never crashes, hangs or eats memory: every animation from the wild loads, and
// mutated copies of them (cut short, numbers made absurd, arrays emptied, types swapped)
// either load and play or fail with ELottieError. Hand-made absurd documents check the
// limits that the mutations do not reach.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/kaLottie.h"

namespace {

using kaLottie::TScene;
using kaLottie::TSceneNode;

std::vector<String> TestFiles() {
  std::vector<String> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((String(KA_LOTTIE_TESTDATA_DIR) + L"*.json").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(fd.cFileName);
  while (::FindNextFileW(h, &fd));
  ::FindClose(h);
  return names;
}

std::string ReadFile(const String& Name) {
  std::string data;
  FILE* f = _wfopen((String(KA_LOTTIE_TESTDATA_DIR) + Name).c_str(), L"rb");
  if (f == nullptr) return data;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  fclose(f);
  return data;
}

void Measure(const TSceneNode& Node, size_t& Items, size_t& Points) {
  for (const auto& e : Node.Content) {
    if (!e.Item) {
      Measure(*e.Node, Items, Points);
      continue;
    }
    ++Items;
    for (const auto& c : e.Item->Path) Points += c.Points.size();
  }
  if (Node.MatteSource) Measure(*Node.MatteSource, Items, Points);
}

size_t CountItems(const TSceneNode& Node) {
  size_t items = 0, points = 0;
  Measure(Node, items, points);
  return items;
}

// Loads Text; when it loads, plays it at a few frames, keeping to the per-frame budgets.
// False: ELottieError. Anything else thrown fails the test naming What; a crash ends it.
bool LoadAndPlay(const std::string& Text, const std::string& What) {
  try {
    auto anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
    double ip = anim->InPoint(), op = anim->OutPoint();
    for (double f : {ip - 5, ip, (ip + op) / 2, op - 0.5, op, op + 100}) {
      auto scene = anim->Evaluate(f);
      EXPECT_EQ(scene->Width, anim->Width()) << What;
      size_t items = 0, points = 0;
      Measure(scene->Root, items, points);
      EXPECT_LE(items, kaLottie::kMaxFrameItems) << What;
      EXPECT_LE(points, kaLottie::kMaxFramePoints) << What;
    }
    return true;
  } catch (const ELottieError& e) {
    EXPECT_EQ(e.Message().rfind(L"Lottie: ", 0), 0u) << ToUtf8(e.Message());
    return false;
  } catch (const std::exception& e) {
    ADD_FAILURE() << What << ": " << e.what();
    return false;
  }
}

TEST(LottieRobustness, EveryFileFromTheWildLoadsAndPlays) {
  auto files = TestFiles();
  ASSERT_GE(files.size(), 10u) << "test animations missing in " << ToUtf8(KA_LOTTIE_TESTDATA_DIR);
  for (const auto& name : files) {
    SCOPED_TRACE(ToUtf8(name));
    std::string text = ReadFile(name);
    auto anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    // Each file draws something somewhere in its first half.
    size_t items = 0;
    for (int i = 0; i <= 8; ++i)
      items += CountItems(anim->Evaluate(anim->InPoint() + (anim->OutPoint() - anim->InPoint()) * i / 16)->Root);
    EXPECT_GT(items, 0u);
  }
}

// A small scanner over JSON text: where the numbers, strings, arrays and objects are.
struct TTokens {
  std::vector<std::pair<size_t, size_t>> Numbers, Strings, Arrays, Objects;  // [begin, end)
};

TTokens Scan(const std::string& S) {
  TTokens t;
  std::vector<std::pair<char, size_t>> open;
  for (size_t i = 0; i < S.size(); ++i) {
    char c = S[i];
    if (c == '"') {
      size_t b = i++;
      while (i < S.size() && S[i] != '"') i += S[i] == '\\' ? 2 : 1;
      t.Strings.push_back({b, i + 1});
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      size_t b = i;
      while (i + 1 < S.size() && std::string("+-.eE0123456789").find(S[i + 1]) != std::string::npos) ++i;
      t.Numbers.push_back({b, i + 1});
    } else if (c == '[' || c == '{') {
      open.push_back({c, i});
    } else if ((c == ']' || c == '}') && !open.empty()) {
      (open.back().first == '[' ? t.Arrays : t.Objects).push_back({open.back().second, i + 1});
      open.pop_back();
    }
  }
  return t;
}

std::string Replace(const std::string& S, std::pair<size_t, size_t> Range, const std::string& With) {
  return S.substr(0, Range.first) + With + S.substr(Range.second);
}

TEST(LottieRobustness, MutatedFilesLoadOrFailCleanly) {
  auto started = std::chrono::steady_clock::now();
  size_t loaded = 0, failed = 0;
  // Numbers the format never expects, and values of the wrong type in place of others.
  const char* numbers[] = {"NaN", "1e30", "-1", "1e400", "-1e30", "0", "4294967296", "1e-300", "-0.5"};
  const char* others[] = {"\"x\"", "[]", "{}", "null", "true", "[[[]]]", "{\"k\":{}}"};
  for (const auto& name : TestFiles()) {
    SCOPED_TRACE(ToUtf8(name));
    const std::string text = ReadFile(name);
    const std::string file = ToUtf8(name);
    auto run = [&](const std::string& mutated, const std::string& what) {
      (LoadAndPlay(mutated, file + ": " + what) ? loaded : failed)++;
    };
    for (size_t cut = 97; cut < text.size(); cut += 97) run(text.substr(0, cut), "cut at " + std::to_string(cut));
    TTokens tokens = Scan(text);
    // Every k-th token of each kind, so that each file gives about 25 mutations of each.
    auto every = [](size_t n) { return std::max<size_t>(1, n / 25); };
    for (size_t i = 0, k = every(tokens.Numbers.size()); i < tokens.Numbers.size(); i += k) {
      const std::string at = "number at " + std::to_string(tokens.Numbers[i].first) + " -> ";
      run(Replace(text, tokens.Numbers[i], numbers[i % std::size(numbers)]), at + numbers[i % std::size(numbers)]);
      run(Replace(text, tokens.Numbers[i], others[i % std::size(others)]), at + others[i % std::size(others)]);
    }
    for (size_t i = 0, k = every(tokens.Arrays.size()); i < tokens.Arrays.size(); i += k) {
      const std::string at = "array at " + std::to_string(tokens.Arrays[i].first) + " -> ";
      run(Replace(text, tokens.Arrays[i], "[]"), at + "[]");
      run(Replace(text, tokens.Arrays[i], others[i % std::size(others)]), at + others[i % std::size(others)]);
    }
    for (size_t i = 0, k = every(tokens.Objects.size()); i < tokens.Objects.size(); i += k) {
      const std::string at = "object at " + std::to_string(tokens.Objects[i].first) + " -> ";
      run(Replace(text, tokens.Objects[i], "{}"), at + "{}");
      run(Replace(text, tokens.Objects[i], numbers[i % std::size(numbers)]), at + numbers[i % std::size(numbers)]);
    }
    for (size_t i = 0, k = every(tokens.Strings.size()); i < tokens.Strings.size(); i += k)
      run(Replace(text, tokens.Strings[i], "7"), "string at " + std::to_string(tokens.Strings[i].first) + " -> 7");
  }
  // Both outcomes occur: the mutations are neither all harmless nor all fatal.
  EXPECT_GT(loaded, 100u);
  EXPECT_GT(failed, 100u);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("[          ] %zu mutations loaded, %zu refused, %.2f s\n", loaded, failed, seconds);
}

}  // namespace

namespace {

std::string Document(const std::string& Layers, const std::string& Assets = "[]") {
  return R"({"w":100,"h":100,"fr":30,"ip":0,"op":60,"assets":)" + Assets + R"(,"layers":)" + Layers + "}";
}

std::string Shapes(const std::string& Items) { return R"([{"ty":4,"ip":0,"op":60,"ks":{},"shapes":)" + Items + "}]"; }

std::string Repeat(const std::string& Piece, int Times) {
  std::string s;
  for (int i = 0; i < Times; ++i) s += (i ? "," : "") + Piece;
  return s;
}

TEST(LottieRobustness, AbsurdDocumentsKeepToTheLimits) {
  const std::string rect = R"({"ty":"rc","p":{"k":[5,5]},"s":{"k":[10,10]}})";
  const std::string fill = R"({"ty":"fl","c":{"k":[1,0,0]},"o":{"k":100}})";
  const std::string many = R"({"ty":"rp","c":{"k":1e9},"o":{"k":0},"tr":{"p":{"k":[1,0]}}})";
  std::string nestedGroups, closeGroups;
  for (int i = 0; i < 100; ++i) {
    nestedGroups += R"({"ty":"gr","it":[)" + rect + "," + fill + ",";
    closeGroups += "]}";
  }
  nestedGroups += rect + closeGroups;
  const std::string shapeLayer = R"({"ty":4,"ip":0,"op":60,"ks":{},"shapes":[)" + rect + "," + fill + "]}";
  // Ten precomps, each holding ten layers of the next: 10^10 shape layers to draw.
  std::string fan = "[";
  for (int c = 0; c < 10; ++c) {
    std::string next =
        c < 9 ? R"({"ty":0,"refId":"p)" + std::to_string(c + 1) + R"(","ip":0,"op":60,"ks":{}})" : shapeLayer;
    fan += std::string(c ? "," : "") + R"({"id":"p)" + std::to_string(c) + R"(","layers":[)" + Repeat(next, 10) + "]}";
  }
  fan += "]";
  // A shape layer under 3000 nulls, each the parent of the one before.
  std::string chain = "[" + shapeLayer.substr(0, shapeLayer.size() - 1) + R"(,"parent":0})";
  for (int i = 0; i < 3000; ++i)
    chain += R"(,{"ty":3,"ind":)" + std::to_string(i) + R"(,"parent":)" + std::to_string(i + 1) +
             R"(,"ip":0,"op":60,"ks":{"p":{"k":[0.01,0]}}})";
  chain += "]";

  struct TCase {
    const char* Name;
    std::string Json;
    int Items = -1;  // drawn at frame 0, when it says
  };
  const TCase cases[] = {
      {"repeaters of a billion copies, nested",
       Document(Shapes("[" + rect + "," + fill + "," + many + "," + many + "," + many + "]"))},
      {"a star of a billion points, repeated",
       Document(Shapes(
           R"([{"ty":"sr","sy":1,"pt":{"k":1e9},"or":{"k":40},"ir":{"k":20},"os":{"k":0},"is":{"k":0},"r":{"k":0},"p":{"k":[50,50]}},)" +
           fill + "," + many + "]"))},
      {"a hundred repeaters in a row", Document(Shapes("[" + rect + "," + fill + "," + Repeat(many, 100) + "]"))},
      {"groups a hundred deep", Document(Shapes("[" + nestedGroups + "," + fill + "]"))},
      {"precomps fanning out to a billion layers", Document(R"([{"ty":0,"refId":"p0","ip":0,"op":60,"ks":{}}])", fan)},
      {"a parent chain of 3000 layers", Document(chain)},
      {"values that overflow when combined",
       Document(Shapes("[" + rect + "," + fill +
                       R"(]}, {"ty":4,"ip":0,"op":60,"ks":{"s":{"k":[1e300,1e300]},"p":{"k":[1e300,0]}},"shapes":[)" +
                       rect + "," + fill + "]"))},
      {"a dash pattern of no length",
       Document(Shapes("[" + rect + R"(,{"ty":"st","c":{"k":[0,0,0]},"o":{"k":100},"w":{"k":1},
          "d":[{"n":"d","v":{"k":1e-300}},{"n":"g","v":{"k":0}}]}])")),
       1},
      {"a gradient claiming a billion stops",
       Document(Shapes("[" + rect + R"(,{"ty":"gf","o":{"k":100},"t":1,"s":{"k":[0,0]},
          "e":{"k":[9,9]},"g":{"p":1e9,"k":{"k":[0,1,0,0,1,0,0,1]}}}])")),
       1},
      {"mattes naming each other",
       Document(R"([{"ty":4,"ind":1,"tt":1,"tp":2,"ip":0,"op":60,"ks":{},"shapes":[)" + rect + "," + fill +
                R"(]},{"ty":4,"ind":2,"tt":1,"tp":1,"ip":0,"op":60,"ks":{},"shapes":[)" + rect + "," + fill + "]}]")},
      {"keyframes far apart in time",
       Document(Shapes("[" + rect + "," + fill +
                       R"(]}, {"ty":4,"ip":-1e300,"op":1e300,"ks":{"o":{"a":1,"k":[{"t":-1e300,"s":[0]},
          {"t":1e300,"s":[100]},{"t":5,"s":[7]}]}},"shapes":[)" +
                       rect + "," + fill + "]")),
       2},
  };
  for (const auto& c : cases) {
    auto started = std::chrono::steady_clock::now();
    bool loaded = LoadAndPlay(c.Json, c.Name);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("[          ] %-45s %s in %.3f s\n", c.Name, loaded ? "played" : "refused", seconds);
    if (c.Items < 0 || !loaded) continue;
    auto anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(c.Json.data()), c.Json.size());
    EXPECT_EQ(CountItems(anim->Evaluate(0)->Root), size_t(c.Items)) << c.Name;
  }
  // Nesting past the limit is left out and said so.
  for (const std::string& json : {cases[2].Json, cases[3].Json}) {
    auto anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(json.data()), json.size());
    ASSERT_FALSE(anim->Diagnostics().empty());
    EXPECT_NE(anim->Diagnostics()[0].find(L"nested deeper than 64 levels are skipped"), String::npos)
        << ToUtf8(anim->Diagnostics()[0]);
  }
  // A document past the size limit is refused before anything is read.
  std::string huge(kaLottie::kMaxDocumentBytes + 1, ' ');
  EXPECT_THROW(TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(huge.data()), huge.size()), ELottieError);
}

}  // namespace
