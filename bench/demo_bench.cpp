// What the demo's main window costs to draw: a full repaint of the whole window (every
// control paints, captures what lies under it and refills its buffers) at its own size and
// maximised, small exposures (what an uncovering costs: it must not cost a full repaint), one
// hover repaint of a side-menu button against that, a page switch from the click to the
// painted page, and a live resize (the window grown step by step and shrunk back, each step
// with its size messages and the paints they cause). The side menu's icons are held still
// (their clock stands), so their playback does not paint into the figures.
//
// Goals: a hover repaint costs at most 5 % of a full repaint; a page switch takes under
// 16 ms (one frame at 60 Hz) at 768 x 501; a live resize keeps 60 frames per second. The
// maximised and resize figures are for the display's size: run on a 1920 x 1080 display to
// measure that size.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/Unit1.h"
#include "bench/BenchGoals.h"
#include "framework/Forms.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaStyledForm/kaStyledForm.h"

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

// Everything invalid, erased and painted again now, down to the last child window.
void FullRepaint(TForm1* Form) {
  ::RedrawWindow(Form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::GdiFlush();
}

// What uncovering a small part of the window costs: the window invalidated only over Part (in
// its client coordinates), as when something above it moves away, and painted now.
void ExposeAndPaint(TForm1* Form, const TRect& Part) {
  RECT r = Part;
  ::RedrawWindow(Form->Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::GdiFlush();
}

// Control's rectangle in Form's client coordinates.
TRect RectInForm(TForm1* Form, TWinControl* Control) {
  RECT r{0, 0, Control->Width(), Control->Height()};
  ::MapWindowPoints(Control->Handle(), Form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  return TRect(r.left, r.top, r.right, r.bottom);
}

void PrintExposures(TForm1* Form, double Full) {
  const TRect close = RectInForm(Form, Form->CloseButton);
  const double atClose = TimeEach([&] { ExposeAndPaint(Form, close); }, 20);
  std::printf("  exposure of the close button's %d x %d          %8.3f  (%.1f %% of a full repaint)\n", close.Width(),
              close.Height(), atClose, 100.0 * atClose / Full);
  const TRect middle = Bounds(Form->ClientWidth() / 2 - 50, Form->ClientHeight() / 2 - 50, 100, 100);
  const double atMiddle = TimeEach([&] { ExposeAndPaint(Form, middle); }, 20);
  std::printf("  exposure of 100 x 100 in the page               %8.3f  (%.1f %% of a full repaint)\n", atMiddle,
              100.0 * atMiddle / Full);
}

// A click on a button's middle, and everything it sets off until the window is painted.
void ClickAndPaint(TForm1* Form, TWinControl* Button) {
  const LPARAM at = MAKELPARAM(Button->Width() / 2, Button->Height() / 2);
  ::SendMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(Button->Handle(), WM_LBUTTONUP, 0, at);
  Pump();
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::GdiFlush();
}

// Where a live resize's time goes, in ms summed over its steps.
struct TResizeCost {
  double Size = 0, Posted = 0, Paint = 0;
};

double MsSince(std::chrono::steady_clock::time_point& Mark) {
  const auto now = std::chrono::steady_clock::now();
  const std::chrono::duration<double, std::milli> spent = now - Mark;
  Mark = now;
  return spent.count();
}

// One step of a live resize: the new size with the messages it sends, what they post, and
// the paints the newly invalid parts need.
void ResizeStep(TForm1* Form, int Width, int Height, TResizeCost& Cost) {
  auto mark = std::chrono::steady_clock::now();
  ::SetWindowPos(Form->Handle(), nullptr, 0, 0, Width, Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Cost.Size += MsSince(mark);
  Pump();
  Cost.Posted += MsSince(mark);
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::GdiFlush();
  Cost.Paint += MsSince(mark);
}

// Frames per second of Steps steps from the window's size to the largest the display allows
// (at most 1920 x 1080) and as many back: the best of two rounds.
void PrintLiveResize(TForm1* Form, int Steps) {
  const int w0 = Form->Width(), h0 = Form->Height();
  const int w1 = std::min(1920, ::GetSystemMetrics(SM_CXSCREEN));
  const int h1 = std::min(1080, ::GetSystemMetrics(SM_CYSCREEN));
  double best = 0;
  TResizeCost bestCost;
  for (int round = 0; round < 2; ++round) {
    TResizeCost cost;
    for (int i = 1; i <= 2 * Steps; ++i) {
      const int k = i <= Steps ? i : 2 * Steps - i;  // out and back
      ResizeStep(Form, w0 + (w1 - w0) * k / Steps, h0 + (h1 - h0) * k / Steps, cost);
    }
    const double fps = 2 * Steps / ((cost.Size + cost.Posted + cost.Paint) / 1000);
    if (fps > best) best = fps, bestCost = cost;
  }
  std::printf("  live resize %d x %d to %d x %d and back, %d steps each way: %.1f frames per second\n", w0, h0, w1,
              h1, Steps, best);
  std::printf("    per step: size messages %.2f ms, posted work %.2f ms, paints %.2f ms\n", bestCost.Size / (2 * Steps),
              bestCost.Posted / (2 * Steps), bestCost.Paint / (2 * Steps));
  BenchGoals::AtLeast("demo: live resize", best, "fps", 60);
}

// The figures at the window's own size, 768 x 501.
void RunAtOwnSize(TForm1* Form, int& Next, TWinControl* const (&Pages)[4]) {
  const double full = TimeEach([&] { FullRepaint(Form); }, 20);
  std::printf("  full repaint %d x %d                        %8.3f\n", Form->Width(), Form->Height(), full);
  PrintExposures(Form, full);

  // The repaint a hover causes: the hot face and the hosted icon over it, from the cached
  // background; then the whole way in and out, with the handlers that start and hold the
  // icon and the leave poll's timer.
  TkaGPGlyphContainerButton* data = Form->kaGPGlyphContainerButton3;
  data->Perform(CM_MOUSEENTER, 0, 0);
  const double hover = TimeEach([&] { data->RePaintControl(); }, 200);
  data->Perform(CM_MOUSELEAVE, 0, 0);
  std::printf("  hover repaint of \"Data\" (face and icon)       %8.3f  (%.1f %% of a full repaint)\n", hover,
              100.0 * hover / full);
  BenchGoals::AtMost("demo: hover repaint / full repaint", 100.0 * hover / full, "%", 5);
  const double transition = TimeEach(
      [&] {
        data->Perform(CM_MOUSEENTER, 0, 0);
        data->Perform(CM_MOUSELEAVE, 0, 0);
      },
      100);
  std::printf("  pointer into or out of \"Data\", each           %8.3f\n", transition / 2);

  const double pageSwitch = TimeEach([&] { ClickAndPaint(Form, Pages[Next++ % 4]); }, 40);
  std::printf("  page switch, click to painted page            %8.3f\n", pageSwitch);
  BenchGoals::Below("demo: page switch 768 x 501", pageSwitch, "ms", 16);
  PrintLiveResize(Form, 100);
}

}  // namespace

int main() {
  TSkAnimatedImage::SetClock([] { return 0.0; });
  Application->CreateForm(Form1);
  TForm1* form = Form1;
  form->Show();
  Pump();

  std::printf("Demo main window, ms per operation (best of 5 rounds)\n");
  TWinControl* const pages[4] = {form->kaGPGlyphContainerButton2, form->kaGPGlyphContainerButton3,
                                 form->kaGPGlyphContainerButton1, form->kaGPGlyphContainerButton4};
  int next = 0;
  RunAtOwnSize(form, next, pages);

  form->MaxButtonClick(form->MaxButton);
  Pump();
  const double maximised = TimeEach([&] { FullRepaint(form); }, 10);
  std::printf("  full repaint maximised, %d x %d             %8.3f\n", form->Width(), form->Height(), maximised);
  PrintExposures(form, maximised);
  const double maxSwitch = TimeEach([&] { ClickAndPaint(form, pages[next++ % 4]); }, 20);
  std::printf("  page switch maximised                         %8.3f\n", maxSwitch);

  form->Free();
  Form1 = nullptr;
  Pump();
  TSkAnimatedImage::SetClock(nullptr);
  return 0;
}
