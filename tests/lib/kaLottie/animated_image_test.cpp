// The animated image control: playback arithmetic driven through the clock seam (enable,
// hold, continue, direction, loop and finish, speed, where the first playback starts), the
// real timer once, when the timer runs at all, bad documents, layouts, and the pixels: the
// parent's background around the drawn shapes, the frame Progress stands for, and no handle
// growth over many frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "tests/support/TestControls.h"

// The form of the layout tests (TAnimatedImageTestForm.layout, read by the form itself).
class TAnimatedImageTestForm : public TForm {
  KA_CLASS(TAnimatedImageTestForm, TForm)
 public:
  using TForm::TForm;
  TSkAnimatedImage* MenuIcon = nullptr;
  TSkAnimatedImage* Spinner = nullptr;
  int Processes = 0, Finishes = 0;
  void SpinnerProcess(TObject*) { ++Processes; }
  void SpinnerFinish(TObject*) { ++Finishes; }
};

KA_REGISTER_CLASS(TAnimatedImageTestForm, [](auto& c) {
  c.Handler(L"SpinnerProcess", &TAnimatedImageTestForm::SpinnerProcess);
  c.Handler(L"SpinnerFinish", &TAnimatedImageTestForm::SpinnerFinish);
  c.Field(L"MenuIcon", &TAnimatedImageTestForm::MenuIcon);
  c.Field(L"Spinner", &TAnimatedImageTestForm::Spinner);
});

namespace {

// ---- Documents --------------------------------------------------------------------------------

std::vector<uint8_t> Bytes(const std::string& S) { return std::vector<uint8_t>(S.begin(), S.end()); }

// A 20 x 20 document with one red rectangle of Size at Position (both Lottie properties).
std::string RectDocument(double FrameRate, double OutPoint, const std::string& Position, const std::string& Size) {
  const std::string still = R"("r":{"a":0,"k":0},"o":{"a":0,"k":100})";
  return R"({"v":"5.12.2","fr":)" + std::to_string(FrameRate) + R"(,"ip":0,"op":)" + std::to_string(OutPoint) +
         R"(,"w":20,"h":20,"layers":[{"ty":4,"ind":1,"ip":0,"op":)" + std::to_string(OutPoint) +
         R"(,"st":0,"ks":{"p":{"a":0,"k":[0,0,0]},"a":{"a":0,"k":[0,0,0]},"s":{"a":0,"k":[100,100,100]},)" + still +
         R"(},"shapes":[{"ty":"gr","it":[{"ty":"rc","d":1,"p":)" + Position + R"(,"s":{"a":0,"k":)" + Size +
         R"(},"r":{"a":0,"k":0}},{"ty":"fl","c":{"a":0,"k":[1,0,0,1]},"o":{"a":0,"k":100},"r":1},)"
         R"({"ty":"tr","p":{"a":0,"k":[0,0]},"a":{"a":0,"k":[0,0]},"s":{"a":0,"k":[100,100]},)" + still + "}]}]}]}";
}

// The demo's kind of icon: 60 frames a second, frames 0 to 75 (1.25 s); a 10 x 10 square
// in the middle.
std::vector<uint8_t> IconDocument(double FrameRate = 60, double OutPoint = 75) {
  return Bytes(RectDocument(FrameRate, OutPoint, R"({"a":0,"k":[10,10]})", "[10,10]"));
}

// A full-height bar 8 wide whose centre moves linearly from x = 4 (frame 0) to x = 16
// (frame 75): at the start it covers the left edge, at the end the right edge.
std::vector<uint8_t> SlidingBarDocument() {
  return Bytes(RectDocument(60, 75,
                            R"({"a":1,"k":[{"t":0,"s":[4,10],"o":{"x":[0],"y":[0]},"i":{"x":[1],"y":[1]}},)"
                            R"({"t":75,"s":[16,10]}]})",
                            "[8,20]"));
}

// ---- The control under test and its scene ----------------------------------------------------

class TTestImage : public TSkAnimatedImage {
  KA_CLASS(TTestImage, TSkAnimatedImage)
 public:
  explicit TTestImage(TComponent* AOwner) : TSkAnimatedImage(AOwner) {
    OnAnimationProcess = [this](TObject*) { ++Processes; };
    OnAnimationFinish = [this](TObject*) {
      ++Finishes;
      ProgressAtFinish = Animation()->Progress();
    };
  }
  int Paints = 0, Processes = 0, Finishes = 0;
  double ProgressAtFinish = -1;
  double DrawnFrame = std::numeric_limits<double>::quiet_NaN();
  TBitmap Snapshot;

  // A pixel of the last painted face (background included).
  TColor At(int X, int Y) {
    const auto* row = static_cast<const uint8_t*>(Snapshot.ScanLine(Y));
    return RGBColor(row[X * 4 + 2], row[X * 4 + 1], row[X * 4]);
  }

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override {
    inherited::DrawControl(ACanvas, ACtrlState);
    ++Paints;
    DrawnFrame = CurrentFrame();
    Snapshot.SetPixelFormat(pf32bit);
    Snapshot.SetSize(Width(), Height());
    ::BitBlt(Snapshot.Canvas()->Handle(), 0, 0, Width(), Height(), ACanvas->Handle(), 0, 0, SRCCOPY);
  }
};

const TColor kParentColor = RGBColor(0x40, 0x80, 0xC0);

// A form with a coloured panel; the image is made loose so a test can set it up before it
// gets a window, then placed on the panel at (10, 10), 35 x 35.
struct TScene {
  TCustomForm* Form;
  TTestPanel* Panel;
  TTestImage* Image;

  TScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(60, 60, 120, 100);
    Panel = new TTestPanel(Form);
    Panel->FillColor = kParentColor;
    Panel->SetAlign(alClient);
    Panel->SetParent(Form);
    Image = new TTestImage(Form);
    Image->SetBounds(10, 10, 35, 35);
  }
  ~TScene() { Form->Free(); }
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;

  TScene& Place() {
    Image->SetParent(Panel);
    Form->Show();
    PumpPending();
    return *this;
  }
};

// The control reads Time while the scope lives; real timer ticks that arrive meanwhile see
// no time pass.
class TClockScope {
 public:
  explicit TClockScope(const double& Time) {
    TSkAnimatedImage::SetClock([&Time] { return Time; });
  }
  ~TClockScope() { TSkAnimatedImage::SetClock({}); }
  TClockScope(const TClockScope&) = delete;
  TClockScope& operator=(const TClockScope&) = delete;
};

class AnimatedImage : public ::testing::Test {
 protected:
  double Clock = 0;
  TClockScope ClockScope{Clock};
  // One timer tick at time T (seconds).
  void TickAt(TSkAnimatedImage* Image, double T) {
    Clock = T;
    Image->Perform(WM_TIMER, TSkAnimatedImage::TimerID, 0);
  }
};

// ---- Playback ---------------------------------------------------------------------------------

TEST_F(AnimatedImage, EnabledAdvancesWithTimeDisabledHoldsAndEnabledAgainContinues) {
  TScene s;
  s.Image->SetData(IconDocument());
  s.Place();
  TTestImage* img = s.Image;
  ASSERT_TRUE(img->Animating());
  EXPECT_EQ(img->Animation()->Progress(), 0);

  // 0.5 s of a 1.25 s document.
  TickAt(img, 0.5);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4);
  EXPECT_NEAR(img->CurrentFrame(), 30, 1e-9);
  EXPECT_NEAR(img->DrawnFrame, 30, 1e-9) << "the new frame is painted at once";
  EXPECT_EQ(img->Processes, 1);

  // A tick without time passing shows nothing new: no paint, no event.
  const int paints = img->Paints;
  TickAt(img, 0.5);
  EXPECT_EQ(img->Paints, paints);
  EXPECT_EQ(img->Processes, 1);

  // Disabled later than the last tick: the frame shown is the one held.
  Clock = 0.6;
  img->Animation()->SetEnabled(false);
  EXPECT_FALSE(img->Animating());
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4);
  TickAt(img, 3.0);  // a tick still queued when the timer stopped
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4);
  EXPECT_EQ(img->Processes, 1);

  // Enabled much later: playback goes on from the held frame, not from the clock's time.
  Clock = 10.0;
  img->Animation()->SetEnabled(true);
  EXPECT_TRUE(img->Animating());
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4);
  TickAt(img, 10.25);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.6);
  EXPECT_EQ(img->Processes, 2);
  EXPECT_EQ(img->Finishes, 0);
}

TEST_F(AnimatedImage, DirectionLoopAndSpeedSetWhereTimePutsTheFrame) {
  struct TCase {
    const char* Name;
    bool Inverse, Loop;
    double Speed, At, Progress;
    bool Finished;
  };
  // The document lasts 1.25 s: 0.8 of it per second at speed 1.
  const TCase cases[] = {
      {"forward", false, true, 1, 0.25, 0.2, false},
      {"forward, past the end: wraps", false, true, 1, 1.5, 0.2, false},
      {"many rounds later: still in place", false, true, 1, 100.25, 0.2, false},
      {"inverse starts at the end", true, true, 1, 0.25, 0.8, false},
      {"inverse, past the start: wraps to the end", true, true, 1, 1.5, 0.8, false},
      {"no loop: stops at the end", false, false, 1, 2.0, 1.0, true},
      {"no loop, inverse: stops at the start", true, false, 1, 2.0, 0.0, true},
      {"double speed", false, true, 2, 0.25, 0.4, false},
      {"half speed", false, true, 0.5, 1.0, 0.4, false},
      {"inverse at double speed", true, true, 2, 0.25, 0.6, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Clock = 0;
    TScene s;
    s.Image->Animation()->SetInverse(c.Inverse);
    s.Image->Animation()->SetLoop(c.Loop);
    s.Image->Animation()->SetSpeed(c.Speed);
    s.Image->SetData(IconDocument());
    s.Place();
    TickAt(s.Image, c.At);
    EXPECT_NEAR(s.Image->Animation()->Progress(), c.Progress, 1e-9);
    EXPECT_EQ(s.Image->Finishes, c.Finished ? 1 : 0);
    EXPECT_EQ(s.Image->Animating(), !c.Finished);
  }
}

TEST_F(AnimatedImage, WithoutLoopItFinishesOnceAndEnablingAgainStartsOver) {
  for (bool inverse : {false, true}) {
    SCOPED_TRACE(inverse ? "inverse" : "forward");
    Clock = 0;
    TScene s;
    TTestImage* img = s.Image;
    img->Animation()->SetLoop(false);
    img->Animation()->SetInverse(inverse);
    img->SetData(IconDocument());
    s.Place();
    const double start = inverse ? 1.0 : 0.0, end = inverse ? 0.0 : 1.0;

    TickAt(img, 0.625);
    EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.5);
    TickAt(img, 1.3);
    EXPECT_EQ(img->Finishes, 1);
    EXPECT_EQ(img->ProgressAtFinish, end) << "the finish event sees the final frame";
    EXPECT_NEAR(img->DrawnFrame, end * 75, 1e-9) << "and it was painted";
    EXPECT_FALSE(img->Animating());
    EXPECT_TRUE(img->Animation()->Enabled()) << "finishing is not disabling";
    TickAt(img, 2.0);
    EXPECT_EQ(img->Finishes, 1);

    // Leave and enter again (the demo's hover): a finished playback starts over.
    img->Animation()->SetEnabled(false);
    Clock = 5;
    img->Animation()->SetEnabled(true);
    EXPECT_TRUE(img->Animating());
    EXPECT_EQ(img->Animation()->Progress(), start);
    EXPECT_NEAR(img->DrawnFrame, start * 75, 1e-9) << "the first frame is shown at once";
    TickAt(img, 5.625);
    EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.5);
  }
}

TEST_F(AnimatedImage, ChangesWhilePlayingContinueFromTheFrameShown) {
  TScene s;
  TTestImage* img = s.Image;
  img->SetData(IconDocument());
  s.Place();
  TickAt(img, 0.25);
  ASSERT_DOUBLE_EQ(img->Animation()->Progress(), 0.2);

  img->Animation()->SetInverse(true);  // now going back from 0.2
  TickAt(img, 0.375);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.1);

  img->Animation()->SetInverse(false);
  img->Animation()->SetSpeed(2);  // from 0.1, at 1.6 a second
  TickAt(img, 0.5);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.3);

  img->Animation()->SetProgress(0.75);  // a jump, shown at once, playing on from there
  EXPECT_NEAR(img->DrawnFrame, 56.25, 1e-9);
  TickAt(img, 0.625);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.95);
}

TEST_F(AnimatedImage, ProgressWhileStoppedShowsThatFrameAndValuesAreClamped) {
  TScene s;
  TTestImage* img = s.Image;
  TSkAnimatedImageAnimation* a = img->Animation();
  a->SetEnabled(false);
  img->SetData(IconDocument());
  s.Place();
  EXPECT_FALSE(img->Animating());
  int changes = 0;
  a->OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, a);
    ++changes;
  };

  a->SetProgress(0.5);
  EXPECT_NEAR(img->DrawnFrame, 37.5, 1e-9);
  const int paints = img->Paints;
  a->SetProgress(0.5);
  EXPECT_EQ(img->Paints, paints) << "the same value repaints nothing";
  EXPECT_EQ(changes, 1);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct TClamp {
    double Given, Kept;
  };
  // NaN is ignored: the value before it stays.
  const TClamp progress[] = {{-0.5, 0}, {1.5, 1}, {nan, 1}, {inf, 1}, {0.25, 0.25}, {-inf, 0}};
  for (const TClamp& c : progress) {
    a->SetProgress(c.Given);
    EXPECT_EQ(a->Progress(), c.Kept) << c.Given;
  }
  EXPECT_NEAR(img->DrawnFrame, 0, 1e-9) << "1.0 shows the last moment, 0 the first";
  const TClamp speed[] = {{0, TSkAnimatedImageAnimation::MinSpeed}, {-3, TSkAnimatedImageAnimation::MinSpeed},
                          {1e9, TSkAnimatedImageAnimation::MaxSpeed}, {nan, TSkAnimatedImageAnimation::MaxSpeed},
                          {2.5, 2.5}};
  for (const TClamp& c : speed) {
    a->SetSpeed(c.Given);
    EXPECT_EQ(a->Speed(), c.Kept) << c.Given;
  }
  EXPECT_FALSE(img->Animating()) << "none of it starts a disabled animation";
}

TEST_F(AnimatedImage, FirstPlaybackStartsAtTheStartUnlessStartFromCurrent) {
  struct TCase {
    const char* Name;
    bool Inverse, FromCurrent;
    double Stored, StartsAt, After025;
  };
  const TCase cases[] = {
      {"from the start", false, false, 0.5, 0.0, 0.2},
      {"from the end, inverse", true, false, 0.5, 1.0, 0.8},
      {"from the stored progress", false, true, 0.5, 0.5, 0.7},
      {"the demo's menu icon: from the end, backwards", true, true, 1.0, 1.0, 0.8},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Clock = 0;
    TScene s;
    TSkAnimatedImageAnimation* a = s.Image->Animation();
    a->SetEnabled(false);
    a->SetInverse(c.Inverse);
    a->SetProgress(c.Stored);
    a->SetStartFromCurrent(c.FromCurrent);
    s.Image->SetData(IconDocument());
    s.Place();
    EXPECT_NEAR(s.Image->DrawnFrame, c.Stored * 75, 1e-9) << "stopped, the stored frame shows";
    a->SetEnabled(true);
    EXPECT_EQ(a->Progress(), c.StartsAt);
    TickAt(s.Image, 0.25);
    EXPECT_NEAR(a->Progress(), c.After025, 1e-9);

    // A new document is a new first playback.
    a->SetEnabled(false);
    a->SetProgress(c.Stored);
    s.Image->SetData(IconDocument(30, 45));
    Clock = 1;
    a->SetEnabled(true);
    EXPECT_EQ(a->Progress(), c.StartsAt);
  }
}

TEST_F(AnimatedImage, TheTimerRunsOnlyWithDocumentWindowAndVisibility) {
  TScene s;
  TTestImage* img = s.Image;
  img->SetData(IconDocument());
  EXPECT_FALSE(img->Animating()) << "no window yet";
  s.Place();
  EXPECT_TRUE(img->Animating());
  TickAt(img, 0.25);

  img->SetVisible(false);
  EXPECT_FALSE(img->Animating());
  Clock = 4;
  img->SetVisible(true);
  EXPECT_TRUE(img->Animating());
  TickAt(img, 4.25);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4) << "hidden time does not count";

  img->SetParent(nullptr);  // the window goes
  EXPECT_FALSE(img->Animating());
  img->SetParent(s.Panel);
  EXPECT_TRUE(img->Animating());

  img->SetData({});
  EXPECT_FALSE(img->Animating());
  EXPECT_EQ(img->LottieAnimation(), nullptr);
  EXPECT_EQ(img->CurrentFrame(), 0);
}

TEST_F(AnimatedImage, BadDocumentsThrowAndLeaveTheControlAsItWas) {
  TScene s;
  TTestImage* img = s.Image;
  img->SetData(IconDocument());
  s.Place();
  TickAt(img, 0.5);
  const TkaLottieAnimation* loaded = img->LottieAnimation();
  const std::vector<uint8_t> data = img->Data();

  const std::vector<uint8_t> good = IconDocument();
  const std::vector<std::vector<uint8_t>> bad = {
      Bytes("{"),
      Bytes("[1, 2, 3]"),
      Bytes("not a document"),
      std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2),
      {0xFF, 0xFE, 0x00, 0x7B, 0x00},
      Bytes(R"({"v":"5.12.2","fr":0,"ip":0,"op":75,"w":20,"h":20,"layers":[]})"),
      Bytes(R"({"v":"5.12.2","fr":60,"ip":0,"w":20,"h":20,"layers":[]})"),
      IconDocument(60, 0),  // nothing to play: no frame between in and out point
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    try {
      img->SetData(bad[i]);
      ADD_FAILURE() << "accepted";
    } catch (const ELottieError& e) {
      EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_EQ(img->LottieAnimation(), loaded);
    EXPECT_EQ(img->Data(), data);
    EXPECT_TRUE(img->Animating());
    EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.4);
  }
  TickAt(img, 0.75);
  EXPECT_DOUBLE_EQ(img->Animation()->Progress(), 0.6) << "it plays on";
}

// ---- The real timer and clock -----------------------------------------------------------------

TEST(AnimatedImageTimer, RealTicksAdvanceTheFrameWithWallClockTime) {
  TSkAnimatedImage::SetClock({});
  TScene s;
  TTestImage* img = s.Image;
  img->SetData(IconDocument());
  s.Place();
  const double started = TSkAnimatedImage::Now();
  ASSERT_TRUE(PumpUntil([&] { return img->Processes >= 3; }, 5000)) << "the timer ticks";
  const double elapsed = TSkAnimatedImage::Now() - started;
  // The frame follows the clock whatever the tick rate: Progress is elapsed time over the
  // document's 1.25 s (with a little slack for the time between showing and the start).
  EXPECT_GT(img->Animation()->Progress(), 0);
  EXPECT_LE(img->Animation()->Progress(), std::fmod(elapsed + 0.1, 1.25) / 1.25 + 1e-9);
  EXPECT_NEAR(img->DrawnFrame, img->CurrentFrame(), 1e-9);

  img->Animation()->SetEnabled(false);
  const int processes = img->Processes;
  const double held = img->Animation()->Progress();
  const DWORD until = ::GetTickCount() + 150;
  PumpUntil([&] { return ::GetTickCount() > until; }, 1000);
  EXPECT_EQ(img->Processes, processes);
  EXPECT_EQ(img->Animation()->Progress(), held);
}

// ---- Pixels -------------------------------------------------------------------------------------

// Pixels of the 35 x 35 face that differ from the parent's colour, outside Box.
int ForeignPixelsOutside(TTestImage* Img, const TRect& Box) {
  int n = 0;
  for (int y = 0; y < 35; ++y)
    for (int x = 0; x < 35; ++x)
      if (!(x >= Box.Left && x < Box.Right && y >= Box.Top && y < Box.Bottom)) n += Img->At(x, y) != kParentColor;
  return n;
}

TEST_F(AnimatedImage, PaintsOverTheParentsBackground) {
  TScene s;
  s.Place();
  TTestImage* img = s.Image;
  img->RePaintControl();
  EXPECT_EQ(ForeignPixelsOutside(img, TRect()), 0) << "without a document: the parent alone";

  // The 20 x 20 document fitted into 35 x 35: its square (5..15) lands on 8.75..26.25.
  img->SetData(IconDocument());
  EXPECT_EQ(img->At(17, 17), clRed);
  EXPECT_EQ(img->At(10, 10), clRed);
  EXPECT_EQ(ForeignPixelsOutside(img, TRect(8, 8, 27, 27)), 0) << "around the square: the parent";

  img->SetData({});
  EXPECT_EQ(ForeignPixelsOutside(img, TRect()), 0) << "an emptied control shows the parent again";
}

TEST_F(AnimatedImage, PaintsTheFrameProgressStandsFor) {
  TScene s;
  s.Image->Animation()->SetEnabled(false);
  s.Image->SetData(SlidingBarDocument());
  s.Place();
  TTestImage* img = s.Image;
  struct TCase {
    double Progress;
    bool Left, Middle, Right;  // red at x = 4, 17 and 30
  } cases[] = {{0, true, false, false}, {0.5, false, true, false}, {1, false, false, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Progress);
    img->Animation()->SetProgress(c.Progress);
    img->RePaintControl();
    EXPECT_EQ(img->At(4, 17) == clRed, c.Left);
    EXPECT_EQ(img->At(17, 17) == clRed, c.Middle);
    EXPECT_EQ(img->At(30, 17) == clRed, c.Right);
    EXPECT_EQ(img->At(17, 1) == clRed, c.Middle) << "the bar is full height";
  }
}

TEST_F(AnimatedImage, ManyFramesLeaveNoHandlesBehind) {
  TScene s;
  TTestImage* img = s.Image;
  img->SetData(IconDocument());
  s.Place();
  for (int i = 1; i <= 10; ++i) TickAt(img, i / 60.0);
  const int before = GdiObjectCount();
  const int paints = img->Paints;
  for (int i = 11; i <= 310; ++i) TickAt(img, i / 60.0);
  EXPECT_EQ(img->Paints - paints, 300);
  EXPECT_EQ(GdiObjectCount(), before);
}

// ---- Layouts ------------------------------------------------------------------------------------

TEST(AnimatedImageLayout, ValuesAndEventsComeFromTheLayout) {
  auto* form = Construct<TAnimatedImageTestForm>(nullptr);
  ASSERT_NE(form->MenuIcon, nullptr);
  ASSERT_NE(form->Spinner, nullptr);
  TSkAnimatedImage* menu = form->MenuIcon;
  EXPECT_EQ(menu->BoundsRect(), TRect(8, 8, 43, 43));
  EXPECT_FALSE(menu->Animation()->Enabled());
  EXPECT_TRUE(menu->Animation()->Inverse());
  EXPECT_EQ(menu->Animation()->Progress(), 1.0);
  EXPECT_TRUE(menu->Animation()->StartFromCurrent());
  EXPECT_TRUE(menu->Animation()->Loop());
  ASSERT_NE(menu->LottieAnimation(), nullptr);
  EXPECT_EQ(menu->LottieAnimation()->FrameRate(), 60);
  EXPECT_EQ(menu->LottieAnimation()->OutPoint(), 75);

  TSkAnimatedImage* spinner = form->Spinner;
  EXPECT_FALSE(spinner->Animation()->Loop());
  EXPECT_EQ(spinner->Animation()->Speed(), 2.5);
  EXPECT_EQ(spinner->Align(), alRight);
  ASSERT_NE(spinner->LottieAnimation(), nullptr);
  EXPECT_EQ(spinner->LottieAnimation()->FrameRate(), 30);

  double clock = 0;
  TClockScope clockScope(clock);
  form->Show();
  PumpPending();
  EXPECT_FALSE(menu->Animating());
  EXPECT_TRUE(spinner->Animating());
  clock = 0.6;  // 1.5 s of its document at speed 2.5: to the end and past it
  spinner->Perform(WM_TIMER, TSkAnimatedImage::TimerID, 0);
  EXPECT_EQ(form->Processes, 1);
  EXPECT_EQ(form->Finishes, 1);
  EXPECT_EQ(spinner->Animation()->Progress(), 1.0);
  form->Free();
}

TEST(AnimatedImageLayout, BadDataIsALayoutErrorNamingItsLine) {
  std::string text;
  ASSERT_TRUE(LoadLayoutText(::GetModuleHandleW(nullptr), L"TAnimatedImageTestForm", text));
  // The first document's hexadecimal starts on the line after the first `Data = {`: break
  // its opening brace (7B) into something that is not JSON.
  const size_t data = text.find("Data = {");
  ASSERT_NE(data, std::string::npos);
  const int dataLine = 1 + static_cast<int>(std::count(text.begin(), text.begin() + data, '\n'));
  const size_t brace = text.find("7B", data);
  ASSERT_NE(brace, std::string::npos);
  text.replace(brace, 2, "5B");  // '[': an array never closed
  // Read onto a plain form: the first image comes before anything only the test form has.
  const std::string formClass = ": TAnimatedImageTestForm";
  text.replace(text.find(formClass), formClass.size(), ": TCustomForm");

  TCustomForm* root = TCustomForm::CreateNew(nullptr);
  const int before = GdiObjectCount();
  try {
    ReadLayout(root, text, L"TANIMATEDIMAGETESTFORM");
    ADD_FAILURE() << "a broken document was read";
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Line(), dataLine);
    EXPECT_NE(e.Problem().find(L"Data"), String::npos) << ToUtf8(e.Problem());
    EXPECT_NE(e.Problem().find(L"Lottie"), String::npos) << ToUtf8(e.Problem());
  }
  root->Free();
  EXPECT_LE(GdiObjectCount(), before);
}

}  // namespace
