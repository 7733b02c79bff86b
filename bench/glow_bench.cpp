// What a glowing caption of 20 characters costs: the glow made afresh (a cache miss: the text
// drawn as a mask, blurred and coloured) against the glow taken from its cache (a hit: only
// blended and the text drawn over it), first for the drawing routine alone into a bitmap and
// then for the GDI+ panel, which keeps its caption's glow and remakes it only when the
// caption, its font or the glow colour changed. Milliseconds, median of 7 rounds after a
// warm-up. Goal of the cache: a hit costs at most half a miss.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchGoals.h"
#include "framework/Forms.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaGPControls/GPPanel.h"

namespace {

const wchar_t* const kCaption = L"Glowing caption text";  // 20 characters

// Milliseconds per call: the median of 7 rounds after one warm-up call.
double MedianEach(const std::function<void()>& Work, int Repeats) {
  Work();
  std::vector<double> rounds;
  for (int round = 0; round < 7; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Repeats; ++i) Work();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    rounds.push_back(spent.count() / Repeats);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

void Pump() {
  MSG msg;
  while (Application->ProcessMessage(msg)) {
  }
}

// The routine alone: DrawTextWithGlowBuffer into a 300 x 60 bitmap, glow size 7.
void RunRoutine() {
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(300, 60);
  TCanvas* canvas = target.Canvas();
  canvas->Font()->SetName(L"Tahoma");
  canvas->Font()->SetSize(12);
  canvas->Brush()->SetStyle(bsClear);
  const TRect rect(10, 10, 290, 50);
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  TBitmap* cache = nullptr;
  auto draw = [&](bool rebuild) {
    DrawTextWithGlowBuffer(cache, rebuild, canvas, true, false, 255, true, 7, clHighlight, 0, flags, kCaption, rect);
    ::GdiFlush();
  };
  const double cold = MedianEach([&] { draw(true); }, 100);
  const double warm = MedianEach([&] { draw(false); }, 100);
  delete cache;
  std::printf("  DrawTextWithGlowBuffer, glow size 7   cold (cache miss) %7.3f   warm (cache hit) %7.3f   %.0f %%\n", cold,
              warm, 100.0 * warm / cold);
  BenchGoals::Figure("glow text: cold (cache miss)", cold, "ms");
  BenchGoals::Figure("glow text: warm (cache hit)", warm, "ms");
  BenchGoals::AtMost("glow text: cache hit / miss", 100.0 * warm / cold, "%", 50);
}

// The GDI+ panel, 300 x 60 on a form, GDI caption with CaptionGlowEffect: a repaint after the
// glow colour changed (the cache is remade) against a plain repaint (the cache is used).
void RunPanel() {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(50, 50, 340, 100);
  auto* panel = new TkaGPPanel(form);
  panel->SetBounds(20, 20, 300, 60);
  panel->SetCaption(kCaption);
  panel->SetShowCaption(true);
  panel->Font()->SetName(L"Tahoma");
  panel->Font()->SetSize(12);
  panel->SetParent(form);
  form->Show();
  Pump();
  const double plain = MedianEach([&] { panel->RePaintControl(); }, 100);
  panel->CaptionGlowEffect()->SetEnabled(true);
  Pump();
  const TColor colours[] = {clHighlight, clBtnShadow};
  int next = 0;
  // SetColor repaints the panel itself once, with the cache marked stale.
  const double cold = MedianEach([&] { panel->CaptionGlowEffect()->SetColor(colours[next++ % 2]); }, 100);
  const double warm = MedianEach([&] { panel->RePaintControl(); }, 100);
  std::printf("  TkaGPPanel repaint, glowing caption   cold (cache miss) %7.3f   warm (cache hit) %7.3f   %.0f %%\n", cold,
              warm, 100.0 * warm / cold);
  std::printf("  TkaGPPanel repaint, no glow           %7.3f\n", plain);
  BenchGoals::Figure("glow panel: cold repaint (cache miss)", cold, "ms");
  BenchGoals::Figure("glow panel: warm repaint (cache hit)", warm, "ms");
  form->Free();
  Pump();
}

}  // namespace

int main() {
  std::printf("Glowing caption \"%ls\" (20 characters), Tahoma 12, ms per paint (median of 7 rounds)\n", kCaption);
  RunRoutine();
  RunPanel();
  return 0;
}
