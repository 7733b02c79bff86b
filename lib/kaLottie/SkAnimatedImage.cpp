#include "lib/kaLottie/SkAnimatedImage.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/TypeInfo.h"
#include "lib/kaGPUtils/GPInterface.h"

namespace {

TSkAnimatedImage::TClock& ClockFunction() {
  static TSkAnimatedImage::TClock clock;
  return clock;
}

double SystemSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

constexpr double kNoFrame = std::numeric_limits<double>::quiet_NaN();

// Frames this close draw the same picture. Exact comparison would not do: a 32-bit build
// may compare a value still held at extended precision with its stored, rounded copy.
bool SameFrame(double A, double B) { return std::abs(A - B) < 1e-6; }

}  // namespace

// ---- Animation options ------------------------------------------------------------------------

void TSkAnimatedImageAnimation::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSkAnimatedImageAnimation*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  // Through the setters, so the control reacts to each change as it would to a layout's.
  SetSpeed(s->FSpeed);
  SetLoop(s->FLoop);
  SetInverse(s->FInverse);
  SetStartFromCurrent(s->FStartFromCurrent);
  SetProgress(s->FProgress);
  SetEnabled(s->FEnabled);
}

TPersistent* TSkAnimatedImageAnimation::GetOwner() { return FOwner; }

void TSkAnimatedImageAnimation::Changed(TChange What) {
  if (FOwner != nullptr) FOwner->AnimationChanged(What);
  if (OnChange) OnChange(this);
}

void TSkAnimatedImageAnimation::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed(chEnabled);
}

void TSkAnimatedImageAnimation::SetLoop(bool Value) {
  if (FLoop == Value) return;
  FLoop = Value;
  Changed(chLoop);
}

void TSkAnimatedImageAnimation::SetInverse(bool Value) {
  if (FInverse == Value) return;
  FInverse = Value;
  Changed(chInverse);
}

void TSkAnimatedImageAnimation::SetProgress(double Value) {
  if (std::isnan(Value)) return;
  Value = std::clamp(Value, 0.0, 1.0);
  if (FProgress == Value) return;
  FProgress = Value;
  Changed(chProgress);
}

void TSkAnimatedImageAnimation::SetStartFromCurrent(bool Value) {
  if (FStartFromCurrent == Value) return;
  FStartFromCurrent = Value;
  Changed(chStartFromCurrent);
}

void TSkAnimatedImageAnimation::SetSpeed(double Value) {
  if (std::isnan(Value)) return;
  Value = std::clamp(Value, MinSpeed, MaxSpeed);
  if (FSpeed == Value) return;
  FSpeed = Value;
  Changed(chSpeed);
}

// ---- Construction -----------------------------------------------------------------------------

TSkAnimatedImage::TSkAnimatedImage(TComponent* AOwner)
    : TkaCustomControl(AOwner),
      FAnimation(new TSkAnimatedImageAnimation(this)),
      FShownFrame(kNoFrame),
      FFrameNumber(kNoFrame) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csReplicatable};
  FTransparentBackground = true;
  FWidth = 35;
  FHeight = 35;
}

TSkAnimatedImage::~TSkAnimatedImage() {
  // The window (and with it the timer) is gone by now; nothing may call back into the
  // options while they are freed.
  FAnimation->FOwner = nullptr;
  FAnimation->Free();
}

void TSkAnimatedImage::Loaded() {
  inherited::Loaded();
  UpdatePlayback();
  ShowProgress();
}

// ---- Clock ------------------------------------------------------------------------------------

void TSkAnimatedImage::SetClock(TClock Clock) { ClockFunction() = std::move(Clock); }

double TSkAnimatedImage::Now() {
  const TClock& clock = ClockFunction();
  return clock ? clock() : SystemSeconds();
}

// ---- Document ---------------------------------------------------------------------------------

void TSkAnimatedImage::SetData(const std::vector<uint8_t>& Value) {
  if (Value == FData) return;
  // Read first: a document that cannot be played throws here and changes nothing.
  std::unique_ptr<TkaLottieAnimation> loaded;
  if (!Value.empty()) loaded = TkaLottieAnimation::Load(Value);
  StopTimer();
  FData = Value;
  FLottie = std::move(loaded);
  FFrame.reset();
  FFrameNumber = kNoFrame;
  FFirstPlay = true;
  FFinished = false;
  FRenderFailed = false;
  UpdatePlayback();
  RePaintControl();
}

double TSkAnimatedImage::Duration() const {
  if (!FLottie) return 0;
  const double d = FLottie->Duration();
  return std::isfinite(d) && d > 0 ? d : 0;
}

double TSkAnimatedImage::CurrentFrame() const {
  if (!FLottie) return 0;
  return FLottie->InPoint() + FAnimation->FProgress * (FLottie->OutPoint() - FLottie->InPoint());
}

// ---- Playback ---------------------------------------------------------------------------------

bool TSkAnimatedImage::CanPlay() const {
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying) || state.Contains(csDesigning)) return false;
  return FAnimation->FEnabled && !FFinished && !FRenderFailed && Duration() > 0 && HandleAllocated() && Visible();
}

double TSkAnimatedImage::StartProgress() const { return FAnimation->FInverse ? 1.0 : 0.0; }

void TSkAnimatedImage::Rebase() {
  FAnchorTime = Now();
  FAnchorProgress = FAnimation->FProgress;
}

void TSkAnimatedImage::StartTimer() {
  // One tick per document frame, but never faster than a screen can show.
  const double ms = std::round(1000.0 / FLottie->FrameRate());
  const UINT interval = static_cast<UINT>(std::clamp(std::isfinite(ms) ? ms : 10.0, 10.0, 1000.0));
  Rebase();
  FTimerArmed = ::SetTimer(WindowHandle(), TimerID, interval, nullptr) != 0;
}

void TSkAnimatedImage::StopTimer() {
  if (!FTimerArmed) return;
  FTimerArmed = false;
  if (HandleAllocated()) ::KillTimer(WindowHandle(), TimerID);
}

void TSkAnimatedImage::UpdatePlayback() {
  const bool play = CanPlay();
  if (play == FTimerArmed) return;
  if (!play) {
    // Progress keeps the frame last shown: that is where playback continues.
    StopTimer();
    return;
  }
  if (FFirstPlay) {
    FFirstPlay = false;
    if (!FAnimation->FStartFromCurrent) FAnimation->FProgress = StartProgress();
  }
  StartTimer();
}

void TSkAnimatedImage::AnimationChanged(TSkAnimatedImageAnimation::TChange What) {
  using A = TSkAnimatedImageAnimation;
  switch (What) {
    case A::chEnabled:
      // Enabling a playback that ran to its end starts it over.
      if (FAnimation->FEnabled && FFinished) {
        FFinished = false;
        FAnimation->FProgress = StartProgress();
      }
      break;
    case A::chLoop:
      if (FAnimation->FLoop) FFinished = false;
      break;
    case A::chInverse:
      // The end it stopped at is now where it starts from.
      FFinished = false;
      break;
    case A::chProgress:
      FFinished = false;
      break;
    case A::chStartFromCurrent:
      return;
    case A::chSpeed:
      break;
  }
  // A running playback goes on from where it is, in its new direction or pace.
  if (FTimerArmed) Rebase();
  UpdatePlayback();
  ShowProgress();
}

void TSkAnimatedImage::Tick() {
  if (!FTimerArmed || !FLottie) return;
  const TSkAnimatedImageAnimation& a = *FAnimation;
  const double elapsed = std::max(0.0, Now() - FAnchorTime);
  const double step = elapsed * a.FSpeed / Duration();
  double p = a.FInverse ? FAnchorProgress - step : FAnchorProgress + step;
  bool finished = false;
  if (a.FLoop) {
    p -= std::floor(p);
  } else if (a.FInverse ? p <= 0 : p >= 1) {
    p = a.FInverse ? 0.0 : 1.0;
    finished = true;
  }
  const double before = CurrentFrame();
  FAnimation->FProgress = std::clamp(p, 0.0, 1.0);
  if (finished) {
    FFinished = true;
    StopTimer();
  }
  const bool moved = !SameFrame(CurrentFrame(), before);
  ShowProgress();
  // Handlers run last, with the control in its new state; they may change it further.
  if (moved && OnAnimationProcess) OnAnimationProcess(this);
  if (finished && OnAnimationFinish) OnAnimationFinish(this);
}

// ---- Window and painting ------------------------------------------------------------------

void TSkAnimatedImage::CreateWnd() {
  inherited::CreateWnd();
  UpdatePlayback();
}

void TSkAnimatedImage::DestroyWnd() {
  StopTimer();
  inherited::DestroyWnd();
}

void TSkAnimatedImage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam != TimerID) {
        inherited::Dispatch(Message);
        break;
      }
      Tick();
      Message.Result = 0;
      break;
    case CM_VISIBLECHANGED:
      inherited::Dispatch(Message);
      UpdatePlayback();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TSkAnimatedImage::ShowProgress() {
  if (FLottie && !SameFrame(CurrentFrame(), FShownFrame)) RePaintControl();
}

void TSkAnimatedImage::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  FShownFrame = kNoFrame;
  if (!FLottie) return;
  const double frame = CurrentFrame();
  if (!FrameKept(frame)) RenderFrame(frame);
  ACanvas->Draw(0, 0, FFrame.get());
  FShownFrame = frame;
}

bool TSkAnimatedImage::FrameKept(double Frame) const {
  return FFrame && FFrame->Width() == Width() && FFrame->Height() == Height() && SameFrame(FFrameNumber, Frame);
}

void TSkAnimatedImage::RenderFrame(double Frame) {
  const int w = Width(), h = Height();
  FFrameNumber = kNoFrame;
  // Drawn over transparency, so that the picture can go over any background later.
  std::vector<uint32_t> pixels(size_t(w) * size_t(h), 0);
  {
    GPEnsureStarted();
    Gdiplus::Bitmap target(w, h, w * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data()));
    Gdiplus::Graphics g(&target);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const Gdiplus::RectF dest(0, 0, static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h));
    try {
      FLottie->Render(g, dest, Frame);
    } catch (...) {
      // Reported once by whoever handles the paint's exception, not again at every tick.
      FRenderFailed = true;
      StopTimer();
      throw;
    }
    ++FRenderCount;
  }
  if (!FFrame) {
    FFrame = std::make_unique<TBitmap>();
    FFrame->SetPixelFormat(pf32bit);
    FFrame->SetAlphaFormat(afPremultiplied);
  }
  FFrame->SetSize(w, h);
  for (int y = 0; y < h; ++y) std::memcpy(FFrame->ScanLine(y), &pixels[size_t(y) * size_t(w)], size_t(w) * 4);
  FFrameNumber = Frame;
}

// ---- Layout streaming ---------------------------------------------------------------------------

using TAnim = TSkAnimatedImageAnimation;
KA_REGISTER_CLASS(TSkAnimatedImageAnimation, [](auto& c) {
  c.Property(L"Enabled", &TAnim::Enabled, &TAnim::SetEnabled);
  c.Property(L"Loop", &TAnim::Loop, &TAnim::SetLoop);
  c.Property(L"Inverse", &TAnim::Inverse, &TAnim::SetInverse);
  c.Property(L"Progress", &TAnim::Progress, &TAnim::SetProgress);
  c.Property(L"StartFromCurrent", &TAnim::StartFromCurrent, &TAnim::SetStartFromCurrent);
  c.Property(L"Speed", &TAnim::Speed, &TAnim::SetSpeed);
  c.Property(L"OnChange", &TAnim::OnChange);
});

using TImg = TSkAnimatedImage;
KA_REGISTER_CLASS(TSkAnimatedImage, [](auto& c) {
  c.Property(L"Data", &TImg::Data, &TImg::SetData);
  c.Property(L"Animation", &TImg::Animation);
  c.Property(L"OnAnimationProcess", &TImg::OnAnimationProcess);
  c.Property(L"OnAnimationFinish", &TImg::OnAnimationFinish);
});
