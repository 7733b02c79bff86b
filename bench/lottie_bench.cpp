// What the Lottie player costs: parse time of each animation from the wild, time per frame
// of each at 256 x 256 (evaluated and drawn into a buffer), and time per frame of the side
// menu's icons at 35 x 35 (the goal is 0.3 ms). Each figure is the median of several rounds
// after a warm-up round.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchGoals.h"

#include "framework/GdiObjects.h"
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

// Drawing alone, of frames evaluated beforehand, per frame.
double DrawMs(const std::vector<std::unique_ptr<kaLottie::TScene>>& Scenes,
              const std::function<void(const kaLottie::TScene&)>& Draw) {
  const int frames = static_cast<int>(Scenes.size());
  return MedianMs(frames, [&](int I) { Draw(*Scenes[I % frames]); });
}

void Icons(const String& Folder) {
  std::printf("\nside menu icons at 35 x 35, ms per frame (goal 0.3):\n");
  std::printf("  %-10s %8s %8s %8s %8s %8s\n", "icon", "total", "evaluate", "bits", "DC", "GDI+ DC");
  // A 35 x 35 DIB section in a memory DC: what the side menu's control paints on.
  void* dibBits = nullptr;
  TBitmapHandle dib = CreateBottomUpDIB(35, 35, 32, &dibBits);
  TMemoryDC dc = TMemoryDC::CreateCompatible();
  TSelectObject selected(dc.Get(), dib.Get());
  double slowestTotal = 0, slowestPaint = 0;
  for (const char* name : kIcons) {
    auto anim = TkaLottieAnimation::Load(Read(Folder, name));
    const int frames = 30;
    const double total = RenderMs(*anim, 35, frames);
    const double evaluate = MedianMs(frames, [&](int I) { anim->Evaluate(FrameAt(*anim, I, frames)); });
    std::vector<std::unique_ptr<kaLottie::TScene>> scenes;
    for (int i = 0; i < frames; ++i) scenes.push_back(anim->Evaluate(FrameAt(*anim, i, frames)));
    kaLottie::TSceneRenderer renderer;
    std::vector<uint32_t> bits(35 * 35);
    const double intoBits = DrawMs(scenes, [&](const kaLottie::TScene& S) {
      std::memset(bits.data(), 0, sizeof(uint32_t) * bits.size());
      renderer.DrawToBits(S, bits.data(), 35, 35, 35);
    });
    auto onDC = [&](const kaLottie::TScene& S) {
      std::memset(dibBits, 0, 35 * 35 * 4);
      Gdiplus::Graphics g(dc.Get());
      renderer.Draw(S, g, Gdiplus::RectF(0, 0, 35, 35));
    };
    const double drawn = DrawMs(scenes, onDC);
    renderer.SetRasteriser(kaLottie::TRasteriser::GdiPlus);
    const double gdiplus = DrawMs(scenes, onDC);
    std::printf("  %-10s %8.3f %8.3f %8.3f %8.3f %8.3f\n", name, total, evaluate, intoBits, drawn, gdiplus);
    slowestTotal = std::max(slowestTotal, total);
    slowestPaint = std::max(slowestPaint, evaluate + drawn);
  }
  std::printf("total: evaluated and drawn into a buffer; bits, DC: drawn alone, into a buffer and through\n"
              "a GDI+ surface on a memory DC (as the side menu's control paints); GDI+ DC: the same drawn\n"
              "by GDI+ itself, as on Windows (under Wine without anti-aliasing).\n");
  BenchGoals::AtMost("Lottie icon 35 x 35: slowest total", slowestTotal, "ms", 0.3);
  BenchGoals::AtMost("Lottie icon 35 x 35: slowest evaluate + DC", slowestPaint, "ms", 0.3);
}

}  // namespace

int main() {
  GPEnsureStarted();
  const String testdata = KA_LOTTIE_TESTDATA_DIR, icons = KA_LOTTIE_ICONS_DIR;
  std::printf("Lottie player, median of %d rounds; GDI+ %s\n", kRounds,
              kaLottie::GdiplusAntiAliases() ? "anti-aliases: frames drawn by GDI+"
                                             : "does not anti-alias (Wine): frames drawn by the coverage rasteriser");
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
