// What the toggle switch costs at 96 DPI: one paint (a repaint from the cached background, as
// state changes do, and a system paint that captures the background first) for the mask-drawn
// switch and the vector switch in several looks, and one step of the slide (the thumb moved
// and repainted), which has 15 ms on its timer: the goal is a step within that.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "bench/BenchGoals.h"
#include "framework/Forms.h"
#include "lib/kaGPControls/GPToggleSwitch.h"

namespace {

// Milliseconds per call: the best of several rounds, so a busy machine disturbs it less.
double TimePerCall(const std::function<void()>& Call, int Repeats) {
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Repeats; ++i) Call();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    best = std::min(best, spent.count() / Repeats);
  }
  return best;
}

// The slide's steps reached from outside.
template <class TSwitch>
class TBenchSwitch : public TSwitch {
 public:
  explicit TBenchSwitch(TComponent* AOwner) : TSwitch(AOwner) {}
  void StartSlide() { this->ToggleState(); }
  bool Step() {
    this->AnimationStep();
    return this->Sliding();
  }
};

struct TLook {
  const char* Name;
  std::function<void(TkaGPToggleSwitch*)> Setup;
};

void Measure(const char* Name, TkaCustomToggleSwitch* S) {
  const double repaint = TimePerCall([S] { S->RePaintControl(); }, 200);
  const double system = TimePerCall(
      [S] {
        S->Invalidate();
        S->Update();
      },
      200);
  std::printf("  %-34s %7.3f ms repaint  %7.3f ms system paint\n", Name, repaint, system);
}

// Steps of whole slides back and forth; the time of one step (each repaints).
template <class TSwitch>
void MeasureSlide(const char* Name, TSwitch* S) {
  int steps = 0;
  const double perSlide = TimePerCall(
      [S, &steps] {
        S->StartSlide();
        while (S->Step()) ++steps;
        ++steps;
      },
      20);
  const double stepsPerSlide = steps / (5.0 * 20);
  std::printf("  %-34s %7.3f ms per step (%.0f steps a slide)\n", Name, perSlide / stepsPerSlide, stepsPerSlide);
  BenchGoals::AtMost((std::string("toggle switch slide step, ") + Name).c_str(), perSlide / stepsPerSlide, "ms", 15);
}

}  // namespace

int main() {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 400, 200);
  form->SetColor(clWhite);
  auto* masks = new TBenchSwitch<TkaCustomToggleSwitch>(form);
  masks->SetBounds(10, 10, 150, 35);
  masks->SetParent(form);
  auto* vector = new TBenchSwitch<TkaGPToggleSwitch>(form);
  vector->SetBounds(10, 60, 150, 35);
  vector->SetParent(form);
  form->Show();
  Application->ProcessMessages();

  std::printf("Toggle switch, 150 x 35 at 96 DPI, caption \"Windows11 UI\"\n");
  masks->SetCaptionOn(L"Windows11 UI");
  masks->SetCaptionOff(L"Windows11 UI");
  vector->SetCaptionOn(L"Windows11 UI");
  vector->SetCaptionOff(L"Windows11 UI");
  Measure("masks (kaswsStyled), off", masks);
  masks->SetAnimation(false);
  masks->SetState(kaswOn);
  Measure("masks (kaswsStyled), on", masks);
  masks->SetAnimation(true);

  const TLook looks[] = {
      {"vector, default", [](TkaGPToggleSwitch*) {}},
      {"vector, demo look",
       [](TkaGPToggleSwitch* S) {
         S->SetFrameWidth(1);
         S->SetThumbMargin(4);
         S->SetThumbMarginHot(3);
         S->SetThumbMarginPressed(4);
       }},
      {"vector, demo look, GDI+ caption", [](TkaGPToggleSwitch* S) { S->SetDrawTextMode(kadtmGDIPlus); }},
      {"vector, the same with a thumb shadow", [](TkaGPToggleSwitch* S) { S->SetThumbShadow(true); }},
  };
  for (const TLook& look : looks) {
    look.Setup(vector);
    Measure(look.Name, vector);
  }
  vector->SetThumbShadow(false);
  vector->SetDrawTextMode(kadtmGDI);
  std::printf("Slide\n");
  MeasureSlide("masks", masks);
  MeasureSlide("vector, demo look", vector);
  form->Free();
  return 0;
}
