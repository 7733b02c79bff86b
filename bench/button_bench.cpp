// What one paint of a push button costs at 96 DPI, and what a hover saves by repainting from
// the cached background (RePaintControl) instead of a full paint that captures the parent
// again. Prints milliseconds per paint for a plain and a glowing button. Goal: the hover
// repaint costs less than the full paint.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "bench/BenchGoals.h"
#include "framework/Forms.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaPanel.h"

namespace {

// Milliseconds per call: the best of several rounds, so a busy machine disturbs it less.
double TimeEach(const std::function<void()>& Work, int Repeats) {
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Repeats; ++i) Work();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    best = std::min(best, spent.count() / Repeats);
  }
  return best;
}

void Pump() {
  MSG msg;
  while (Application->ProcessMessage(msg)) {
  }
}

}  // namespace

int main() {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(50, 50, 420, 200);
  // The parent a transparent button captures: a panel with a bevelled border and a caption.
  auto* panel = new TkaPanel(form);
  panel->SetBounds(0, 0, 420, 200);
  panel->SetBorderStyle(kapbsRaisedBevel);
  panel->SetParent(form);
  auto* button = new TkaButton(form);
  button->SetBounds(40, 40, 185, 35);
  button->SetCaption(L"Show second form");
  button->SetParent(panel);
  form->Show();
  Pump();

  std::printf("TkaButton 185 x 35 at 96 DPI on a panel, ms per paint\n");
  for (bool glow : {false, true}) {
    button->GlowEffect()->SetEnabled(glow);
    button->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));  // hot: the state a hover repaints
    const double full = TimeEach([&] { button->Repaint(); }, 200);
    const double cached = TimeEach([&] { button->RePaintControl(); }, 200);
    std::printf("  %-8s full paint (captures the parent) %7.3f   hover repaint from cache %7.3f   ratio %.2f\n",
                glow ? "glow" : "plain", full, cached, full / cached);
    BenchGoals::Below(glow ? "button hover repaint / full paint, glow" : "button hover repaint / full paint, plain",
                      100.0 * cached / full, "%", 100);
  }
  form->Free();
  return 0;
}
