// The animated image control: plays a Lottie document (its bytes in Data, as pictures carry
// theirs in layouts) over whatever lies under it, fitted and centred in the control. The side
// menu's buttons host one each as their icon.
//
// Playback is driven by a window timer at the document's frame rate, but the frame shown is
// computed from the elapsed wall-clock time, so a slow paint skips frames instead of slowing
// the animation down. Nothing ticks while the animation is disabled or finished, without a
// document, without a window, or while the control is hidden.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaLottie/kaLottie.h"

class TSkAnimatedImage;

// How an animated image plays; owned by its control (published as Animation, so a layout
// writes `Animation.Enabled = False`). Progress is the position in the document, 0 at its
// first frame and 1 at its end, whichever way it plays.
class TSkAnimatedImageAnimation : public TPersistent {
  KA_CLASS(TSkAnimatedImageAnimation, TPersistent)
 public:
  explicit TSkAnimatedImageAnimation(TSkAnimatedImage* Owner) : FOwner(Owner) {}
  // Copies the six values of another animation.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

  // Plays while true; false holds the frame shown, and true again continues from it (or
  // starts over after a playback that finished).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Starts over at the end instead of stopping there.
  bool Loop() const { return FLoop; }
  void SetLoop(bool Value);
  // Plays from the end towards the start.
  bool Inverse() const { return FInverse; }
  void SetInverse(bool Value);
  // 0..1, clamped (a value that is not a number is ignored). Setting it shows that frame;
  // while playing, playback goes on from there.
  double Progress() const { return FProgress; }
  void SetProgress(double Value);
  // The first playback after a document is loaded begins at Progress instead of at the start
  // (the end when Inverse).
  bool StartFromCurrent() const { return FStartFromCurrent; }
  void SetStartFromCurrent(bool Value);
  // Multiplies the document's own pace; clamped to MinSpeed..MaxSpeed (a value that is not a
  // number is ignored).
  double Speed() const { return FSpeed; }
  void SetSpeed(double Value);
  static constexpr double MinSpeed = 0.01;
  static constexpr double MaxSpeed = 100.0;

  // After a setter changed a value (not when playback moves Progress).
  TNotifyEvent OnChange;

 private:
  friend class TSkAnimatedImage;
  enum TChange { chEnabled, chLoop, chInverse, chProgress, chStartFromCurrent, chSpeed };
  void Changed(TChange What);

  TSkAnimatedImage* FOwner;
  bool FEnabled = true;
  bool FLoop = true;
  bool FInverse = false;
  double FProgress = 0;
  bool FStartFromCurrent = false;
  double FSpeed = 1.0;
};

class TSkAnimatedImage : public TkaCustomControl {
  KA_CLASS(TSkAnimatedImage, TkaCustomControl)
 public:
  explicit TSkAnimatedImage(TComponent* AOwner);
  ~TSkAnimatedImage() override;

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  // The Lottie document (UTF-8 JSON), empty for none. Bytes that make no playable document
  // throw ELottieError and leave the control as it was.
  const std::vector<uint8_t>& Data() const { return FData; }
  void SetData(const std::vector<uint8_t>& Value);
  // Owned; the setter copies.
  TSkAnimatedImageAnimation* Animation() const { return FAnimation; }
  void SetAnimation(TSkAnimatedImageAnimation* Value) { FAnimation->Assign(Value); }

  // The loaded document, nullptr without Data.
  const TkaLottieAnimation* LottieAnimation() const { return FLottie.get(); }
  // The document frame Progress stands for (InPoint + Progress * (OutPoint - InPoint));
  // 0 without a document.
  double CurrentFrame() const;
  // True while the playback timer runs.
  bool Animating() const { return FTimerArmed; }
  // Frames of the document drawn so far. A repaint that shows the frame last drawn, at the
  // same size (a new face under the icon, a hover), blends the kept picture of it instead.
  unsigned RenderCount() const { return FRenderCount; }

  // After playback showed a new frame.
  TNotifyEvent OnAnimationProcess;
  // When a playback without Loop reached its end (its start when Inverse).
  TNotifyEvent OnAnimationFinish;

  // Seconds on a monotonic clock, read at every tick. Tests replace it to drive time
  // exactly; an empty function restores the system's clock.
  using TClock = std::function<double()>;
  static void SetClock(TClock Clock);
  static double Now();

  // The window timer that drives playback.
  static constexpr UINT_PTR TimerID = 1;

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  friend class TSkAnimatedImageAnimation;
  void AnimationChanged(TSkAnimatedImageAnimation::TChange What);
  // Seconds the document takes at speed 1; 0 when there is nothing to play.
  double Duration() const;
  bool CanPlay() const;
  // Starts or stops the timer to match CanPlay.
  void UpdatePlayback();
  void StartTimer();
  void StopTimer();
  // Playback continues from the current Progress as of now.
  void Rebase();
  // Progress where a playback from the beginning starts.
  double StartProgress() const;
  void Tick();
  // Repaints when the frame to show is not the one shown.
  void ShowProgress();
  // The kept picture holds Frame at the control's size.
  bool FrameKept(double Frame) const;
  // Draws Frame over transparency into the kept picture.
  void RenderFrame(double Frame);

  std::vector<uint8_t> FData;
  std::unique_ptr<TkaLottieAnimation> FLottie;
  TSkAnimatedImageAnimation* FAnimation = nullptr;
  bool FTimerArmed = false;
  // Playback runs as a straight line from (FAnchorTime, FAnchorProgress).
  double FAnchorTime = 0;
  double FAnchorProgress = 0;
  // No playback has begun since the document was loaded.
  bool FFirstPlay = true;
  // A playback without Loop reached its end.
  bool FFinished = false;
  // Drawing the document failed; it is not played again until new Data comes.
  bool FRenderFailed = false;
  // The frame of the last paint, NaN when none was drawn.
  double FShownFrame;
  // The last frame drawn, premultiplied over transparency, and which frame it is (NaN when
  // there is none). Dropped with the document.
  std::unique_ptr<TBitmap> FFrame;
  double FFrameNumber;
  unsigned FRenderCount = 0;
};
