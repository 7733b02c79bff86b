// What the Lottie player costs: parse time of each animation from the wild, time per frame
// of each at 256 x 256, and time per frame of the side menu's icons at 35 x 35 (evaluation
// and drawing; the goal is 0.3 ms). Each figure is the median of several rounds after a
// warm-up round.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "lib/kaGPUtils/GPInterface.h"
#include "lib/kaLottie/LottieRenderer.h"
#include "lib/kaLottie/LottieScene.h"
#include "lib/kaLottie/LottieShots.h"
#include "lib/kaLottie/kaLottie.h"

namespace {

const char* const kTestFiles[] = {"abstract_circle", "day_night", "down", "gradient_sleepy_loader", "hourglass",
                                  "like", "loading_rectangle", "material_wave_loading", "morphing_anim", "polystar_anim"};
const char* const kIcons[] = {"Menu", "globe", "reports", "Server", "setting", "exit"};
constexpr int kRounds = 7;

// Milliseconds per call of Work (Calls calls a round): the median of the rounds, after one
// round that is not counted.
double MedianMs(int Calls, const std::function<void(int)>& Work) {
  std::vector<double> rounds;
  for (int r = 0; r <= kRounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Calls; ++i) Work(i);
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    if (r > 0) rounds.push_back(spent.count() / Calls);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

std::vector<uint8_t> Read(const String& Folder, const char* Name) {
  return kaLottie::ReadFileBytes(Folder + FromUtf8(Name) + L".json");
}

// Frame I of Count spread evenly over the animation.
double FrameAt(const TkaLottieAnimation& A, int I, int Count) {
  return A.InPoint() + (A.OutPoint() - A.InPoint()) * (I % Count) / Count;
}

// Evaluation plus drawing over a cleared buffer, per frame.
double RenderMs(const TkaLottieAnimation& A, int Size, int Frames) {
  std::vector<uint32_t> bits(size_t(Size) * Size);
  return MedianMs(Frames, [&](int I) {
    std::memset(bits.data(), 0, bits.size() * 4);
    A.RenderToBits(reinterpret_cast<uint8_t*>(bits.data()), Size, Size, Size * 4, FrameAt(A, I, Frames));
  });
}

void Icons(const String& Folder) {
  std::printf("\nside menu icons at 35 x 35, ms per frame (goal 0.3):\n");
  std::printf("  %-10s %8s %8s %10s %10s\n", "icon", "total", "evaluate", "draw", "draw x1");
  for (const char* name : kIcons) {
    auto anim = TkaLottieAnimation::Load(Read(Folder, name));
    const int frames = 30;
    const double total = RenderMs(*anim, 35, frames);
    const double evaluate = MedianMs(frames, [&](int I) { anim->Evaluate(FrameAt(*anim, I, frames)); });
    // Drawing alone, of frames evaluated beforehand: as the player draws them, and drawn
    // straight without supersampling (what a GDI+ that anti-aliases itself costs here).
    std::vector<std::unique_ptr<kaLottie::TScene>> scenes;
    for (int i = 0; i < frames; ++i) scenes.push_back(anim->Evaluate(FrameAt(*anim, i, frames)));
    std::vector<uint32_t> bits(35 * 35);
    Gdiplus::Bitmap bitmap(35, 35, 35 * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(bits.data()));
    Gdiplus::Graphics g(&bitmap);
    kaLottie::TSceneRenderer renderer;
    auto draw = [&](int I) {
      std::memset(bits.data(), 0, sizeof(uint32_t) * bits.size());
      renderer.Draw(*scenes[I % frames], g, Gdiplus::RectF(0, 0, 35, 35));
    };
    const double drawn = MedianMs(frames, draw);
    renderer.SetSupersampling(1);
    const double straight = MedianMs(frames, draw);
    std::printf("  %-10s %8.3f %8.3f %10.3f %10.3f\n", name, total, evaluate, drawn, straight);
  }
}

}  // namespace

int main() {
  GPEnsureStarted();
  const String testdata = KA_LOTTIE_TESTDATA_DIR, icons = KA_LOTTIE_ICONS_DIR;
  std::printf("Lottie player, median of %d rounds; GDI+ %s\n", kRounds,
              kaLottie::GdiplusAntiAliases() ? "anti-aliases: frames drawn straight"
                                             : "does not anti-alias (Wine): frames drawn at 5x and averaged down");
  try {
    std::printf("\n%-24s %10s %14s\n", "animation", "parse ms", "256x256 ms/fr");
    for (const char* name : kTestFiles) {
      const std::vector<uint8_t> bytes = Read(testdata, name);
      const double parse = MedianMs(10, [&](int) { TkaLottieAnimation::Load(bytes); });
      auto anim = TkaLottieAnimation::Load(bytes);
      std::printf("%-24s %10.3f %14.3f\n", name, parse, RenderMs(*anim, 256, 10));
      std::fflush(stdout);
    }
    Icons(icons);
  } catch (const Exception& E) {
    std::fprintf(stderr, "bench_lottie: %s\n", ToUtf8(E.Message()).c_str());
    return 1;
  }
  return 0;
}
