// The player against a real renderer: the ten animations from the wild, drawn at 256 x 256
// by our player and compared with reference frames made by lottie-web's canvas renderer
// (tests/lib/kaLottie/reference, made by scripts/lottie-reference.sh).
//
// Coverage (alpha >= 128) is compared by intersection over union, colour by the mean
// absolute difference per channel where both cover. Goal: IoU >= 0.95 and difference <= 12
// on every frame; the test fails below IoU 0.85. The table goes to stdout, and for each
// frame a picture (ours | reference | where they differ) goes to lottie-conformance\ beside
// the test program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/PngImage.h"
#include "lib/kaLottie/LottieShots.h"
#include "lib/kaLottie/kaLottie.h"

using namespace kaLottie;

namespace {

constexpr int kSize = 256;
constexpr double kFailIoU = 0.85, kGoalIoU = 0.95, kGoalDiff = 12;

struct TReferenceFile {
  std::string Name, File;
  double InPoint = 0, OutPoint = 0;
  std::vector<double> Frames;
};

String ReferenceDir() { return String(KA_LOTTIE_TESTSRC_DIR) + L"reference\\"; }

std::vector<TReferenceFile> ReadManifest() {
  const std::vector<uint8_t> bytes = ReadFileBytes(ReferenceDir() + L"frames.json");
  const nlohmann::json manifest = nlohmann::json::parse(bytes.begin(), bytes.end());
  std::vector<TReferenceFile> files;
  for (const auto& f : manifest.at("files")) {
    TReferenceFile r;
    r.Name = f.at("name").get<std::string>();
    r.File = f.at("file").get<std::string>();
    r.InPoint = f.at("ip").get<double>();
    r.OutPoint = f.at("op").get<double>();
    r.Frames = f.at("frames").get<std::vector<double>>();
    files.push_back(std::move(r));
  }
  return files;
}

KaPng::TImageData ReadPng(const String& Path) {
  TPngImage png;
  png.LoadFromFile(Path);
  return png.ImageData();
}

struct TComparison {
  double IoU = 1;
  double MeanDiff = 0;  // the largest of the three channels' means
  int Ours = 0, Reference = 0, Both = 0;
};

bool Covered(const KaPng::TImageData& Image, size_t Pixel) { return Image.Pixels[Pixel * 4 + 3] >= 128; }

TComparison Compare(const KaPng::TImageData& Ours, const KaPng::TImageData& Ref) {
  TComparison c;
  double sum[3] = {0, 0, 0};
  int either = 0;
  const size_t count = size_t(Ours.Width) * Ours.Height;
  for (size_t i = 0; i < count; ++i) {
    const bool o = Covered(Ours, i), r = Covered(Ref, i);
    c.Ours += o;
    c.Reference += r;
    either += o || r;
    if (!(o && r)) continue;
    ++c.Both;
    for (int ch = 0; ch < 3; ++ch) sum[ch] += std::abs(int(Ours.Pixels[i * 4 + ch]) - int(Ref.Pixels[i * 4 + ch]));
  }
  c.IoU = either == 0 ? 1 : double(c.Both) / either;
  if (c.Both > 0) c.MeanDiff = std::max({sum[0], sum[1], sum[2]}) / c.Both;
  return c;
}

// Ours and the reference over white, then where they differ: red where only we cover,
// blue where only the reference does, grey by colour difference where both do.
KaPng::TImageData DiffPicture(const KaPng::TImageData& Ours, const KaPng::TImageData& Ref) {
  KaPng::TImageData d;
  d.Width = Ours.Width * 3;
  d.Height = Ours.Height;
  d.Pixels.assign(size_t(d.Width) * d.Height * 4, 255);
  auto put = [&](int X, int Y, int R, int G, int B) {
    uint8_t* p = &d.Pixels[(size_t(Y) * d.Width + X) * 4];
    p[0] = uint8_t(R), p[1] = uint8_t(G), p[2] = uint8_t(B);
  };
  auto overWhite = [](const uint8_t* P, int Ch) { return (P[Ch] * P[3] + 255 * (255 - P[3]) + 127) / 255; };
  for (int y = 0; y < Ours.Height; ++y)
    for (int x = 0; x < Ours.Width; ++x) {
      const size_t i = size_t(y) * Ours.Width + x;
      const uint8_t* o = &Ours.Pixels[i * 4];
      const uint8_t* r = &Ref.Pixels[i * 4];
      put(x, y, overWhite(o, 0), overWhite(o, 1), overWhite(o, 2));
      put(x + Ours.Width, y, overWhite(r, 0), overWhite(r, 1), overWhite(r, 2));
      const bool co = Covered(Ours, i), cr = Covered(Ref, i);
      if (co && !cr) put(x + 2 * Ours.Width, y, 255, 0, 0);
      else if (cr && !co) put(x + 2 * Ours.Width, y, 0, 0, 255);
      else if (co && cr) {
        const int diff = std::max({std::abs(o[0] - r[0]), std::abs(o[1] - r[1]), std::abs(o[2] - r[2])});
        const int v = 230 - std::min(230, diff * 2);
        put(x + 2 * Ours.Width, y, v, v, v);
      }
    }
  return d;
}

// lottie-conformance\ beside the test program (in the build tree).
String DiffDir() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  String dir(path, n);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  dir += L"lottie-conformance\\";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

TEST(LottieConformance, FrameChoiceMatchesTheReferenceManifest) {
  for (const TReferenceFile& f : ReadManifest()) {
    SCOPED_TRACE(f.Name);
    EXPECT_EQ(ConformanceFrames(f.InPoint, f.OutPoint), f.Frames);
  }
}

TEST(LottieConformance, FramesMatchTheReferenceRenderer) {
  const std::vector<TReferenceFile> files = ReadManifest();
  ASSERT_FALSE(files.empty());
  const String diffDir = DiffDir();
  std::printf("\n%-24s %6s %7s %6s  %s\n", "file", "frame", "IoU", "diff", "goal (IoU >= 0.95, diff <= 12)");
  int frames = 0, atGoal = 0;
  for (const TReferenceFile& f : files) {
    SCOPED_TRACE(f.Name);
    std::unique_ptr<TkaLottieAnimation> anim;
    try {
      anim = TkaLottieAnimation::Load(ReadFileBytes(String(KA_LOTTIE_TESTDATA_DIR) + FromUtf8(f.File)));
    } catch (const Exception& E) {
      ADD_FAILURE() << ToUtf8(E.Message());
      continue;
    }
    for (double frame : f.Frames) {
      const String label = FromUtf8(f.Name) + L"-" + FrameLabel(frame);
      const KaPng::TImageData ref = ReadPng(ReferenceDir() + label + L".png");
      ASSERT_EQ(ref.Width, kSize);
      ASSERT_EQ(ref.Height, kSize);
      const KaPng::TImageData ours = RenderFrameImage(*anim, kSize, kSize, frame);
      const TComparison c = Compare(ours, ref);
      const bool goal = c.IoU >= kGoalIoU && c.MeanDiff <= kGoalDiff;
      ++frames;
      atGoal += goal;
      std::printf("%-24s %6s %7.4f %6.1f  %s\n", f.Name.c_str(), ToUtf8(FrameLabel(frame)).c_str(), c.IoU, c.MeanDiff,
                  goal ? "yes" : "no");
      EXPECT_GE(c.IoU, kFailIoU) << "frame " << frame << ": we cover " << c.Ours << " pixels, the reference "
                                 << c.Reference << ", both " << c.Both;
      SavePng(DiffPicture(ours, ref), diffDir + label + L"-diff.png");
    }
  }
  std::printf("%d of %d frames at the goal; pictures in %s\n", atGoal, frames, ToUtf8(diffDir).c_str());
  std::fflush(stdout);
}

// The shared code of ka_lottieshot: frame lists, file-name labels, straight-alpha pictures.
TEST(LottieShots, FrameListsAndLabels) {
  EXPECT_EQ(ParseFrameList(L"0,12.5, 30 ,-2"), (std::vector<double>{0, 12.5, 30, -2}));
  for (const wchar_t* bad : {L"", L"1,,2", L"1,x", L"3a", L"1,", L"nan", L"inf"})
    EXPECT_THROW(ParseFrameList(bad), EConvertError) << ToUtf8(bad);
  EXPECT_EQ(FrameLabel(12), L"12");
  EXPECT_EQ(FrameLabel(12.5), L"12.5");
  EXPECT_EQ(FrameLabel(-3), L"-3");
  EXPECT_EQ(FrameLabel(1.0 / 3), L"0.333");
  // ip 10, op 20.5: last = 20; 10 + round(p * 10) with halves up.
  EXPECT_EQ(ConformanceFrames(10, 20.5), (std::vector<double>{10, 13, 15, 18, 20}));
  // An out point at or before the in point gives the in point five times.
  EXPECT_EQ(ConformanceFrames(5, 5), (std::vector<double>(5, 5)));
}

TEST(LottieShots, PicturesAreStraightAlpha) {
  // A 60 x 60 red square at 50 % layer opacity in a 100 x 100 composition.
  const std::string doc = R"({"v":"5.7.0","fr":30,"ip":0,"op":30,"w":100,"h":100,"layers":[
    {"ty":4,"ind":1,"ip":0,"op":30,"st":0,"ks":{"o":{"a":0,"k":50},"p":{"a":0,"k":[50,50,0]}},
     "shapes":[{"ty":"rc","p":{"a":0,"k":[0,0]},"s":{"a":0,"k":[60,60]},"r":{"a":0,"k":0}},
               {"ty":"fl","c":{"a":0,"k":[1,0,0,1]},"o":{"a":0,"k":100}}]}]})";
  auto anim = TkaLottieAnimation::Load(reinterpret_cast<const uint8_t*>(doc.data()), doc.size());
  const KaPng::TImageData image = RenderFrameImage(*anim, 50, 40, 0);
  ASSERT_EQ(image.Width, 50);
  ASSERT_EQ(image.Height, 40);
  const uint8_t* centre = &image.Pixels[(20 * 50 + 25) * 4];
  EXPECT_EQ(centre[0], 255);
  EXPECT_EQ(centre[1], 0);
  EXPECT_NEAR(centre[3], 128, 1);
  EXPECT_EQ(image.Pixels[(20 * 50 + 2) * 4 + 3], 0);  // left of the fitted 40 x 40 square
}

}  // namespace
