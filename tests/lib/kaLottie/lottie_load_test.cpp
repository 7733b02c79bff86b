// Loading Lottie documents: the header, errors that name what is wrong and where, features
// skipped and listed once, loops in the links between layers, and the old exporter's forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "lib/kaLottie/LottieModel.h"
#include "lib/kaLottie/kaLottie.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(LottieLoad, ReadsTheCompositionHeader) {
  auto anim = TkaLottieAnimation::Load(Bytes(R"({"v":"5.12.2","w":48,"h":40,"fr":30,"ip":0,"op":45,"layers":[]})"));
  EXPECT_EQ(anim->Width(), 48);
  EXPECT_EQ(anim->Height(), 40);
  EXPECT_EQ(anim->FrameRate(), 30);
  EXPECT_EQ(anim->OutPoint(), 45);
  EXPECT_DOUBLE_EQ(anim->Duration(), 1.5);
}

TEST(LottieLoad, RefusesWhatIsNotADocument) {
  EXPECT_THROW(TkaLottieAnimation::Load(Bytes("{")), ELottieError);
  EXPECT_THROW(TkaLottieAnimation::Load(Bytes(R"({"w":48,"h":48,"fr":0,"ip":0,"op":10,"layers":[]})")), ELottieError);
}

// The message of the error loading Json gives, or "loaded".
std::string LoadError(const std::string& Json) {
  try {
    TkaLottieAnimation::Load(Bytes(Json));
  } catch (const ELottieError& e) {
    return ToUtf8(e.Message());
  }
  return "loaded";
}

std::string Head(const std::string& Members) { return R"({"w":100,"h":100,"fr":30,"ip":0,"op":60,)" + Members + "}"; }

std::string OneLayer(const std::string& Layer) { return Head(R"("layers":[)" + Layer + "]"); }

TEST(LottieLoad, ErrorsNameWhatIsWrongAndWhere) {
  struct TCase {
    std::string Json, Message;
  };
  const std::string shape = R"({"ty":4,"ip":0,"op":60,"ks":{},"shapes":)";
  const TCase cases[] = {
      {"", "Lottie: the document is empty"},
      {"[1,2]", "Lottie: the document is not a JSON object"},
      {std::string(300, '[') + std::string(300, ']'), "Lottie: the JSON text is nested deeper than 256 levels"},
      {R"({"h":100,"fr":30,"ip":0,"op":60,"layers":[]})", "Lottie: w: missing"},
      {R"({"w":"100","h":100,"fr":30,"ip":0,"op":60,"layers":[]})", "Lottie: w: expected a number"},
      {R"({"w":100,"h":0,"fr":30,"ip":0,"op":60,"layers":[]})", "Lottie: h: the height must be above 0"},
      {R"({"w":100,"h":100,"fr":-30,"ip":0,"op":60,"layers":[]})", "Lottie: fr: the frame rate must be above 0"},
      {R"({"w":100,"h":100,"fr":30,"ip":60,"op":60,"layers":[]})",
       "Lottie: op: the out point must come after the in point"},
      {Head(R"("nm":"x")"), "Lottie: layers: missing"},
      {Head(R"("layers":{})"), "Lottie: layers: expected an array"},
      {Head(R"("layers":[],"assets":"x")"), "Lottie: assets: expected an array"},
      {OneLayer("7"), "Lottie: layers[0]: expected an object"},
      {OneLayer(R"({"ip":0,"op":60})"), "Lottie: layers[0]: missing ty"},
      {OneLayer(R"({"ty":3,"ip":0})"), "Lottie: layers[0].op: missing"},
      {OneLayer(R"({"ty":3,"ip":0,"op":60,"sr":0})"), "Lottie: layers[0].sr: the time stretch must be above 0"},
      {OneLayer(R"({"ty":3,"ip":0,"op":60,"ks":{"p":"x"}})"),
       "Lottie: layers[0].ks.p: expected an animatable property"},
      {OneLayer(R"({"ty":3,"ip":0,"op":60,"ks":{"p":{"k":"x"}}})"),
       "Lottie: layers[0].ks.p.k: expected a number or an array"},
      {OneLayer(R"({"ty":3,"ip":0,"op":60,"ks":{"p":{"k":[1,"2"]}}})"),
       "Lottie: layers[0].ks.p.k[1]: expected a number"},
      {OneLayer(R"({"ty":3,"ip":0,"op":60,"ks":{"o":{"a":1,"k":[{"t":0,"s":[0]},{"s":[100]}]}}})"),
       "Lottie: layers[0].ks.o.k[1]: missing t"},
      {OneLayer(
           R"({"ty":3,"ip":0,"op":60,"ks":{"o":{"a":1,"k":[{"t":0,"s":[0],"o":{"x":[0.5]},"i":{"x":0.5,"y":1}},{"t":9,"s":[1]}]}}})"),
       "Lottie: layers[0].ks.o.k[0].o.y: missing"},
      {OneLayer(R"({"ty":1,"ip":0,"op":60,"sw":10,"sh":10,"sc":"red"})"),
       "Lottie: layers[0].sc: expected a colour \"#rrggbb\""},
      {OneLayer(shape + R"([{"ty":"gr","it":[{"ty":"rc"},{"nm":"no type"}]}]})"),
       "Lottie: layers[0].shapes[0].it[1]: missing ty"},
      {OneLayer(shape + R"([{"ty":"sh","ks":{"k":{"v":[[0,0],[1,1]],"i":[[0,0]],"o":[[0,0],[0,0]]}}}]})"),
       "Lottie: layers[0].shapes[0].ks.k.i: expected as many points as v"},
      {OneLayer(shape + R"([{"ty":"sh","ks":{"k":{"v":[[0,0],[1]]}}}]})"),
       "Lottie: layers[0].shapes[0].ks.k.v[1]: expected a point [x, y]"},
      {OneLayer(shape + R"([{"ty":"sh"}]})"), "Lottie: layers[0].shapes[0].ks: missing"},
      {OneLayer(shape + R"([{"ty":"gf","o":{"k":100},"s":{"k":[0,0]},"e":{"k":[1,1]}}]})"),
       "Lottie: layers[0].shapes[0]: missing g"},
      // Precomp layers are named where they lie among the assets.
      {Head(
           R"("layers":[],"assets":[{"id":"a","w":1,"h":1,"p":"x.png"},{"id":"b","layers":[{"ty":3,"ip":0,"op":9,"ks":{"o":{"k":[]}}},
            {"ty":3,"ip":0,"op":9,"ks":{"r":{"k":{}}}}]}])"),
       "Lottie: assets[1].layers[1].ks.r.k: expected a number or an array"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadError(c.Json), c.Message) << c.Json.substr(0, 200);
  // The reader's own account of broken JSON follows the prefix.
  EXPECT_EQ(LoadError(R"({"w":1,)").rfind("Lottie: not valid JSON: ", 0), 0u);
}

TEST(LottieLoad, UnsupportedFeaturesAreSkippedAndListedOnce) {
  const std::string shape =
      R"J({"ty":4,"ip":0,"op":60,"ks":{"r":{"k":5,"x":"time * 360"},"p":{"k":[0,0],"x":"wiggle(1,2)"}},"shapes":[
      {"ty":"zz","nm":"zig zag"},{"ty":"mm","mm":1},{"ty":"zz"},{"ty":"rc","p":{"k":[5,5]},"s":{"k":[10,10]}},
      {"ty":"fl","c":{"k":[1,0,0]},"o":{"k":100}}]})J";
  std::string json = OneLayer(shape + "," + shape + R"(,
      {"ty":5,"ip":0,"op":60,"ks":{},"t":{}},{"ty":2,"ip":0,"op":60,"ks":{},"refId":"img"},
      {"ty":13,"ip":0,"op":60},{"ty":3,"ip":0,"op":60,"ks":{},"ddd":1,"ao":1,"bm":3,"ef":[{"ty":5}]})");
  auto anim = TkaLottieAnimation::Load(Bytes(json));
  const std::vector<String> expected = {
      L"Lottie: layers[0].ks.p: expressions are not run; the keyframed values are used",
      L"Lottie: layers[0].shapes[0]: shapes of type \"zz\" are skipped",
      L"Lottie: layers[0].shapes[1]: merge paths are drawn as their paths, unmerged",
      L"Lottie: layers[2]: text layers are skipped",
      L"Lottie: layers[3]: image layers are skipped",
      L"Lottie: layers[4]: layers of type 13 are skipped",
      L"Lottie: layers[5].ddd: 3D layers are drawn flat",
      L"Lottie: layers[5].ao: auto-orient is not supported",
      L"Lottie: layers[5].ef: layer effects are ignored",
      L"Lottie: layers[5].bm: blend modes are drawn as normal",
  };
  EXPECT_EQ(anim->Diagnostics(), expected);
  // What is supported still plays: both shape layers' fills.
  EXPECT_EQ(anim->Evaluate(0)->Root.Content.size(), 2u);
}

TEST(LottieLoad, LinksThatLoopAreCut) {
  // Parents in a ring, a precomp containing itself through another: the document loads,
  // plays, and says what it left out.
  std::string precomps = R"([{"id":"a","layers":[{"ty":0,"refId":"b","ip":0,"op":60,"ks":{}}]},
                              {"id":"b","layers":[{"ty":0,"refId":"a","ip":0,"op":60,"ks":{}}]}])";
  std::string layers =
      R"([{"ty":3,"ind":1,"parent":3,"ip":0,"op":60,"ks":{}},{"ty":3,"ind":2,"parent":1,"ip":0,"op":60,"ks":{}},
      {"ty":4,"ind":3,"parent":2,"ip":0,"op":60,"ks":{},"shapes":[{"ty":"rc","p":{"k":[5,5]},"s":{"k":[10,10]}},
        {"ty":"fl","c":{"k":[1,0,0]},"o":{"k":100}}]},{"ty":0,"refId":"a","ip":0,"op":60,"ks":{}}])";
  auto anim = TkaLottieAnimation::Load(Bytes(Head(R"("assets":)" + precomps + R"(,"layers":)" + layers)));
  auto scene = anim->Evaluate(10);
  EXPECT_EQ(scene->Root.Content.size(), 1u);  // the shape layer; the precomps hold nothing
  const auto& notes = anim->Diagnostics();
  EXPECT_NE(std::find(notes.begin(), notes.end(), L"Lottie: layers[1].parent: parent links that loop are cut"),
            notes.end());
  EXPECT_NE(std::find(notes.begin(), notes.end(), L"Lottie: assets: precomps that contain themselves are skipped"),
            notes.end());
}

TEST(LottieLoad, ReadsTheOldExportersForms) {
  // 4.x: no "a" flags, keyframes with "s" and "e" ending with a time alone, easing handles
  // as arrays, paths in arrays of one, colours in 0..255, mask mode strings.
  std::string layer = R"({"ty":4,"ind":0,"ip":0,"op":50,"st":0,"sr":1,
      "ks":{"o":{"k":100},"r":{"k":0},"p":{"k":[{"i":{"x":[0.833],"y":[0.833]},"o":{"x":[0.167],"y":[0.167]},"t":0,
            "s":[0,0,0],"e":[40,0,0],"to":[0,0,0],"ti":[0,0,0]},{"t":10}]},"a":{"k":[0,0,0]},"s":{"k":[100,100,100]}},
      "hasMask":true,"masksProperties":[{"inv":false,"mode":"a","pt":{"k":[{"v":[[0,0],[9,0],[9,9]],"i":[[0,0],[0,0],[0,0]],
            "o":[[0,0],[0,0],[0,0]],"c":true}]},"o":{"k":100}}],
      "shapes":[{"ty":"gr","it":[{"ty":"sh","ks":{"k":[{"i":{"x":0.5,"y":0.5},"o":{"x":0.5,"y":0.5},"t":0,
              "s":[{"v":[[0,0],[10,0]],"i":[[0,0],[0,0]],"o":[[0,0],[0,0]],"c":false}],
              "e":[{"v":[[0,10],[10,10]],"i":[[0,0],[0,0]],"o":[[0,0],[0,0]],"c":false}]},{"t":10}]}},
            {"ty":"st","c":{"k":[0,128,255,255]},"o":{"k":100},"w":{"k":2},"lc":2,"lj":2},
            {"ty":"tr","p":{"k":[0,0]},"a":{"k":[0,0]},"s":{"k":[100,100]},"r":{"k":0},"o":{"k":100}}]}]})";
  auto anim = TkaLottieAnimation::Load(
      Bytes(R"({"v":"4.5.4","w":100,"h":100,"fr":25,"ip":0,"op":50,"layers":[)" + layer + "]}"));
  auto scene = anim->Evaluate(10);
  ASSERT_EQ(scene->Root.Content.size(), 1u);
  const auto& node = *scene->Root.Content[0].Node;
  ASSERT_EQ(node.Content.size(), 1u);
  const auto& stroke = *node.Content[0].Item;
  EXPECT_EQ(stroke.Transform.DX, 40);
  EXPECT_EQ(stroke.Path[0].Points.front(), (kaLottie::TPointD{0, 10}));
  EXPECT_NEAR(stroke.Paint.Color.G, 128 / 255.0, 1e-12);
  EXPECT_EQ(stroke.Paint.Color.B, 1);
  EXPECT_EQ(stroke.Stroke.Cap, kaLottie::TLineCap::Round);
  ASSERT_EQ(node.Masks.size(), 1u);
  EXPECT_EQ(node.Masks[0].Path[0].SegmentCount(), 3u);
}

}  // namespace
