// Lottie documents damaged as JSON trees: members removed, values of another type, numbers
// made absurd (null as NaN is written, 1e30, -1, 1e308), arrays emptied or repeated,
// keyframe lists shuffled or their times made absurd. Each document loads or fails with
// ELottieError ("Lottie: ..."); one that loads also draws a couple of small frames.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "lib/kaLottie/kaLottie.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using nlohmann::json;
using fuzz::TRng;

const wchar_t* const kFiles[] = {L"abstract_circle.json", L"day_night.json",        L"down.json",
                                 L"gradient_sleepy_loader.json", L"hourglass.json", L"like.json",
                                 L"loading_rectangle.json", L"material_wave_loading.json", L"morphing_anim.json",
                                 L"polystar_anim.json"};

std::string ReadFile(const String& Path) {
  std::string text;
  FILE* f = _wfopen(Path.c_str(), L"rb");
  EXPECT_NE(f, nullptr) << ToUtf8(Path);
  if (f == nullptr) return text;
  char buf[8192];
  for (size_t n; (n = std::fread(buf, 1, sizeof(buf), f)) > 0;) text.append(buf, n);
  std::fclose(f);
  return text;
}

void Collect(json& J, std::vector<json*>& All) {
  All.push_back(&J);
  if (J.is_object() || J.is_array())
    for (auto& child : J) Collect(child, All);
}

bool IsKeyframeList(const json& J) {
  return J.is_array() && !J.empty() && J[0].is_object() && J[0].contains("t");
}

void Mutate(TRng& R, json& Doc) {
  std::vector<json*> all;
  Collect(Doc, all);
  std::vector<json*> keyframes;
  for (json* j : all)
    if (IsKeyframeList(*j)) keyframes.push_back(j);
  // Keyframe lists draw a fair share of the damage: they are most of what a player evaluates.
  json& node = !keyframes.empty() && R.OneIn(4) ? *keyframes[R.Below(keyframes.size())] : *all[R.Below(all.size())];
  switch (R.Below(7)) {
    case 0:  // a member removed
      if (node.is_object() && !node.empty()) {
        auto it = node.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(R.Below(node.size())));
        node.erase(it);
      }
      break;
    case 1: {  // a value of another type
      const json others[] = {json(0), json("x"), json::array(), json::object(), json(true), json(nullptr),
                             json::array({1, 2})};
      node = R.Pick(others);
      break;
    }
    case 2: {  // an absurd number where a number or an array of them was
      const double numbers[] = {NAN, 1e30, -1, 1e308, -1e308, 0, 4294967296.0, -2147483649.0, 1e-30, 0.5, 1e6};
      json* target = &node;
      if (node.is_array() && !node.empty()) target = &node[R.Below(node.size())];
      *target = R.Pick(numbers);
      break;
    }
    case 3: node = node.is_object() ? json::object() : json::array(); break;  // emptied
    case 4:                                                                       // repeated
      if (node.is_array() && !node.empty()) {
        json copy = node;
        for (size_t n = 1 + R.Below(8); n > 0 && node.size() < 4096; --n)
          for (const json& e : copy) node.push_back(e);
      }
      break;
    case 5:  // shuffled
      if (node.is_array())
        for (size_t i = node.size(); i > 1; --i) std::swap(node[i - 1], node[R.Below(i)]);
      break;
    default:  // a keyframe time made absurd
      if (!keyframes.empty()) {
        json& list = *keyframes[R.Below(keyframes.size())];
        json& key = list[R.Below(list.size())];
        const double times[] = {NAN, -1e30, 1e30, -1, 0, 1e9};
        if (key.is_object()) key["t"] = R.Pick(times);
      }
      break;
  }
}

fuzz::TVerdict TryLoad(const std::string& Text) {
  fuzz::Dump(Text);
  std::unique_ptr<TkaLottieAnimation> anim;
  try {
    anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
  } catch (const ELottieError& e) {
    fuzz::NoteRefusal(e.Message());
    EXPECT_EQ(e.Message().rfind(L"Lottie: ", 0), 0u) << ToUtf8(e.Message());
    return fuzz::TVerdict::Refused;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "not the format's error: " << e.what();
    return fuzz::TVerdict::Refused;
  }
  EXPECT_TRUE(std::isfinite(anim->FrameRate()) && anim->FrameRate() > 0) << anim->FrameRate();
  EXPECT_TRUE(std::isfinite(anim->Width()) && std::isfinite(anim->Height()));
  std::vector<uint8_t> bits(24 * 24 * 4);
  try {
    for (double f : {anim->InPoint(), (anim->InPoint() + anim->OutPoint()) / 2})
      anim->RenderToBits(bits.data(), 24, 24, 24 * 4, f);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "drawing a loaded document threw: " << e.what();
  }
  return fuzz::TVerdict::Accepted;
}

TEST(FuzzLottie, StructureAwareMutationsLoadOrFailCleanly) {
  std::vector<json> docs;
  for (const wchar_t* name : kFiles) docs.push_back(json::parse(ReadFile(String(KA_LOTTIE_TESTDATA_DIR) + name)));
  fuzz::TTally t = fuzz::Run("lottie", 424242, 1000, [&](TRng& R, int) {
    json doc = docs[R.Below(docs.size())];
    for (int n = 1 + static_cast<int>(R.Below(3)); n > 0; --n) Mutate(R, doc);
    std::string text = doc.dump();
    // JSON has no NaN: a writer that produces one anyway gives the bare word.
    if (R.OneIn(20)) {
      size_t at = text.find("null");
      if (at != std::string::npos) text.replace(at, 4, "NaN");
    }
    return TryLoad(text);
  });
  if (t.Tried > 100) {
    EXPECT_GT(t.Accepted, t.Tried / 10);
    EXPECT_GT(t.Refused, 0);
  }
}

}  // namespace
