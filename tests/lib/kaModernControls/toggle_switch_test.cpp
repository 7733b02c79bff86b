// The toggle switch's behaviour and its bitmap drawing: the slide tick by tick in both
// directions (and once on the real timer), click, drag past and short of the middle with and
// without the slide, the keyboard, what read-only, disabled and unfocusable switches ignore,
// the state set by code during a slide, no event while loading, the three style kinds in
// every control state at chosen pixels, the masks of every scale, geometry at 144 DPI and
// right to left, and handle hygiene over many changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaModernControls/kaToggleSwitch.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/SwitchScene.h"
#include "tests/support/TestControls.h"

namespace {

// A switch that exposes its slide and geometry, records every paint and keeps a copy of the
// last one.
class TTestSwitch : public TSnapshotControl<TkaCustomToggleSwitch> {
  KA_CLASS(TTestSwitch, TSnapshotControl<TkaCustomToggleSwitch>)
 public:
  explicit TTestSwitch(TComponent* AOwner) : inherited(AOwner) {
    OnChangeState = [this](TObject*) { ++Changes; };
  }
  struct TFrame {
    TRect Thumb;
    bool VisualOn;
    bool IsOn;
  };
  int Changes = 0;
  std::vector<TFrame> Frames;

  void Tick() { AnimationStep(); }
  // Ticks until the slide ends (at most Limit ticks); the thumb's left edge after each.
  std::vector<int> RunSlide(int Limit = 200) {
    std::vector<int> lefts;
    while (Sliding() && Limit-- > 0) {
      Tick();
      lefts.push_back(FThumbRect.Left);
    }
    return lefts;
  }
  bool IsSliding() const { return Sliding(); }
  TRect Thumb() const { return FThumbRect; }
  TRect Track() const { return FSWRect; }
  TRect Caption(TSize Size) const { return CaptionRect(Size); }
  bool Pressed() const { return FPressed; }
  TkaImageCollection* Masks() const { return FResImages; }
  void BuildMasks() { LoadResImages(); }
  using TkaCustomToggleSwitch::SetCustomImages;
  using TkaCustomToggleSwitch::CustomImages;
  void UseImages(TkaCustomImageCollection* Images) {
    SetCustomImages(Images);
    SetFrameImageIndex(0);
    SetFrameOnImageIndex(1);
    SetFramePressedImageIndex(2);
    SetThumbImageIndex(3);
    SetThumbOnImageIndex(4);
    SetThumbPressedImageIndex(5);
  }

 protected:
  void DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) override {
    inherited::DrawControl(ACanvas, ACtrlState);
    Frames.push_back({FThumbRect, VisualOn(), IsOn()});
  }
};

constexpr TColor kBackground = kSwitchSceneBackground;

// A default switch (80 x 35: track (2, 7, 42, 27), thumb 20 wide) on a white panel.
using TScene = TSwitchScene<TTestSwitch>;

// ---- The slide --------------------------------------------------------------------------

struct TSlideCase {
  const char* Name;
  TkaSwitchState From;
  TPoint ClickAt;  // on the track, away from the thumb
  std::vector<int> Lefts;  // the thumb's left edge after each tick
};

TEST(ToggleSwitchSlide, ClickSlidesTickByTickWithTheEaseOutAndChangesStateOneTickAfterTheEnd) {
  const TSlideCase cases[] = {
      // Right: a sixth of what is left (at least 1) once within a third of the width.
      {"off to on", kaswOff, {35, 17}, {5, 7, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 22}},
      // Left: a third of the free run while far, then a sixth of what is left.
      {"on to off", kaswOn, {8, 17}, {16, 10, 9, 8, 7, 6, 5, 4, 3, 2, 2}},
  };
  for (const TSlideCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TTestSwitch* sw = s.Switch;
    sw->SetState(c.From);
    sw->Changes = 0;
    sw->Frames.clear();
    s.Click(c.ClickAt.X, c.ClickAt.Y);
    ASSERT_TRUE(sw->IsSliding());
    // The target's look at once; the state and the event wait for the thumb.
    EXPECT_EQ(sw->State(), c.From);
    EXPECT_EQ(sw->Changes, 0);
    ASSERT_FALSE(sw->Frames.empty());
    EXPECT_NE(sw->Frames.back().VisualOn, c.From == kaswOn);
    std::vector<int> lefts;
    while (sw->IsSliding() && lefts.size() < 100) {
      EXPECT_EQ(sw->Changes, 0) << "after " << lefts.size() << " ticks";
      EXPECT_EQ(sw->State(), c.From);
      sw->Tick();
      lefts.push_back(sw->Thumb().Left);
    }
    EXPECT_EQ(lefts, c.Lefts);
    EXPECT_NE(sw->State(), c.From);
    EXPECT_EQ(sw->Changes, 1);
    const TRect end = c.From == kaswOff ? TRect(22, 7, 42, 27) : TRect(2, 7, 22, 27);
    EXPECT_EQ(sw->Thumb(), end);
    // The last paint shows the new state at rest.
    EXPECT_EQ(sw->Frames.back().IsOn, c.From == kaswOff);
    EXPECT_EQ(sw->Frames.back().VisualOn, c.From == kaswOff);
    EXPECT_EQ(sw->Frames.back().Thumb, end);
  }
}

TEST(ToggleSwitchSlide, RunsOnTheRealTimerThroughIntermediatePositionsToTheExactEnd) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  sw->Frames.clear();
  s.Click(35, 17);
  ASSERT_TRUE(PumpUntil([&] { return sw->IsOn(); }, 5000));
  std::vector<int> lefts;
  for (const TTestSwitch::TFrame& f : sw->Frames)
    if (lefts.empty() || lefts.back() != f.Thumb.Left) lefts.push_back(f.Thumb.Left);
  ASSERT_GE(lefts.size(), 5u);
  for (size_t i = 1; i < lefts.size(); ++i) EXPECT_GT(lefts[i], lefts[i - 1]);
  EXPECT_EQ(lefts.front(), 2);
  EXPECT_EQ(lefts.back(), 22);
  EXPECT_EQ(sw->Changes, 1);
  PumpUntil([] { return false; }, 100);
  EXPECT_FALSE(sw->IsSliding());
  EXPECT_EQ(sw->Changes, 1);
}

TEST(ToggleSwitchSlide, WithoutAnimationAClickTogglesAtOnce) {
  TScene s;
  s.Switch->SetAnimation(false);
  s.Click(35, 17);
  EXPECT_FALSE(s.Switch->IsSliding());
  EXPECT_TRUE(s.Switch->IsOn());
  EXPECT_EQ(s.Switch->Changes, 1);
  EXPECT_EQ(s.Switch->Frames.back().Thumb, TRect(22, 7, 42, 27));
}

TEST(ToggleSwitchSlide, StateSetByCodeDuringASlideWinsAndFiresOnce) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  s.Click(35, 17);
  sw->Tick();
  ASSERT_TRUE(sw->IsSliding());
  sw->SetState(kaswOn);
  EXPECT_FALSE(sw->IsSliding());
  EXPECT_EQ(sw->Changes, 1);
  EXPECT_EQ(sw->Frames.back().Thumb, TRect(22, 7, 42, 27));
  // Nothing is left running that could flip it back.
  PumpUntil([] { return false; }, 100);
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(sw->Changes, 1);
}

// ---- Clicks and drags ----------------------------------------------------------------------

TEST(ToggleSwitchPointer, AClickOnTheThumbTogglesAndAReleaseOutsideDoesNot) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  s.Press(12, 17);  // on the thumb: a drag starts
  s.Release(12, 17);  // where it started: a click
  EXPECT_TRUE(sw->IsSliding());
  sw->RunSlide();
  EXPECT_TRUE(sw->IsOn());
  s.Press(8, 17);
  EXPECT_TRUE(sw->Pressed());
  s.Release(-5, 17);
  EXPECT_FALSE(sw->Pressed());
  EXPECT_FALSE(sw->IsSliding());
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(sw->Changes, 1);
}

TEST(ToggleSwitchPointer, DraggingKeepsTheThumbInsideTheTrack) {
  TScene s;
  s.Press(12, 17);
  s.Drag(200, 17);
  EXPECT_EQ(s.Switch->Thumb(), TRect(22, 7, 42, 27));
  s.Drag(-100, 17);
  EXPECT_EQ(s.Switch->Thumb(), TRect(2, 7, 22, 27));
  // The thumb follows the pointer's moves, not its place.
  s.Drag(-90, 17);
  EXPECT_EQ(s.Switch->Thumb(), TRect(12, 7, 32, 27));
}

struct TDragCase {
  const char* Name;
  bool Animation;
  int DropX;  // the pointer took the thumb from x = 12
  bool Toggles;
};

TEST(ToggleSwitchPointer, ADropPastTheMiddleTogglesAndShortOfItReturns) {
  const TDragCase cases[] = {
      {"past the middle, sliding on", true, 26, true},
      {"short of the middle, sliding back", true, 17, false},
      {"past the middle, at once", false, 26, true},
      {"short of the middle, snapping back", false, 17, false},
  };
  for (const TDragCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TTestSwitch* sw = s.Switch;
    sw->SetAnimation(c.Animation);
    s.Press(12, 17);
    s.Drag(c.DropX, 17);
    const int dropped = sw->Thumb().Left;
    s.Release(c.DropX, 17);
    EXPECT_EQ(sw->IsSliding(), c.Animation);
    if (c.Animation) {
      EXPECT_EQ(sw->Changes, 0);
      const std::vector<int> lefts = sw->RunSlide();
      ASSERT_FALSE(lefts.empty());
      // The slide goes on from where the thumb was dropped.
      EXPECT_EQ(std::abs(lefts.front() - dropped), 1);
    }
    EXPECT_EQ(sw->IsOn(), c.Toggles);
    EXPECT_EQ(sw->Changes, c.Toggles ? 1 : 0);
    EXPECT_EQ(sw->Thumb(), c.Toggles ? TRect(22, 7, 42, 27) : TRect(2, 7, 22, 27));
    EXPECT_EQ(sw->Frames.back().Thumb, sw->Thumb());
  }
}

TEST(ToggleSwitchPointer, PressesDuringASlideAreIgnored) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  s.Click(35, 17);
  sw->Tick();
  s.Click(35, 17);
  s.Press(sw->Thumb().Left + 2, 17);
  s.Drag(2, 17);
  s.Release(2, 17);
  sw->RunSlide();
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(sw->Changes, 1);
}

// ---- Keyboard -------------------------------------------------------------------------------

TEST(ToggleSwitchKeyboard, SpaceAndEnterToggleOnReleaseAndTwiceDuringASlideOnlyOnce) {
  for (WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
    SCOPED_TRACE(key);
    TScene s;
    TTestSwitch* sw = s.Switch;
    sw->SetFocus();
    ASSERT_TRUE(sw->Focused());
    ::SendMessageW(sw->Handle(), WM_KEYDOWN, key, 0);
    EXPECT_FALSE(sw->IsSliding());
    ::SendMessageW(sw->Handle(), WM_KEYUP, key, 0);
    EXPECT_TRUE(sw->IsSliding());
    sw->Tick();
    s.Key(key);
    sw->RunSlide();
    EXPECT_TRUE(sw->IsOn());
    EXPECT_EQ(sw->Changes, 1);
    // A release without its press (the press went to another control) does nothing.
    ::SendMessageW(sw->Handle(), WM_KEYUP, key, 0);
    EXPECT_FALSE(sw->IsSliding());
  }
}

struct TBlockedCase {
  const char* Name;
  void (*Setup)(TTestSwitch*);
  bool PointerToggles;
};

TEST(ToggleSwitchKeyboard, ReadOnlyDisabledAndUnfocusableSwitchesIgnoreWhatTheyMust) {
  const TBlockedCase cases[] = {
      {"read-only", [](TTestSwitch* S) { S->SetReadOnly(true); }, false},
      {"disabled", [](TTestSwitch* S) { S->SetEnabled(false); }, false},
      {"not focusable", [](TTestSwitch* S) { S->SetCanFocused(false); }, true},
  };
  for (const TBlockedCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s;
    TTestSwitch* sw = s.Switch;
    sw->SetAnimation(false);
    sw->SetFocus();
    c.Setup(sw);
    s.Key(VK_SPACE);
    s.Key(VK_RETURN);
    EXPECT_FALSE(sw->IsOn()) << "keys";
    // A drag past the middle, then a click.
    s.Press(12, 17);
    s.Drag(40, 17);
    s.Release(40, 17);
    EXPECT_EQ(sw->IsOn(), c.PointerToggles) << "drag";
    s.Click(8, 17);
    EXPECT_FALSE(sw->IsOn()) << "click";
    EXPECT_FALSE(sw->Pressed());
    EXPECT_EQ(sw->Changes, c.PointerToggles ? 2 : 0);
  }
}

TEST(ToggleSwitchKeyboard, DisablingDuringADragDropsIt) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  s.Press(12, 17);
  s.Drag(40, 17);
  sw->SetEnabled(false);
  // A disabled window hears no release: the drag ends here.
  EXPECT_FALSE(sw->Pressed());
  EXPECT_EQ(sw->Frames.back().Thumb, TRect(2, 7, 22, 27));
  s.Release(40, 17);
  EXPECT_FALSE(sw->IsSliding());
  EXPECT_FALSE(sw->IsOn());
  EXPECT_EQ(sw->Changes, 0);
  EXPECT_EQ(sw->Frames.back().Thumb, TRect(2, 7, 22, 27));
}

// ---- Properties and loading -------------------------------------------------------------------

TEST(ToggleSwitchProperties, OutOfRangeValuesAreRefusedAndClNoneMeansTheTextColour) {
  TTestSwitch* sw = Construct<TTestSwitch>(nullptr);
  EXPECT_EQ(sw->Width(), 80);
  EXPECT_EQ(sw->Height(), 35);
  EXPECT_TRUE(sw->TabStop());
  sw->SetSwitchWidth(39);
  sw->SetSwitchHeight(19);
  EXPECT_EQ(sw->SwitchWidth(), 40);
  EXPECT_EQ(sw->SwitchHeight(), 20);
  sw->SetSwitchWidth(41);
  EXPECT_EQ(sw->SwitchWidth(), 41);
  sw->SetFrameColor(clNone);
  sw->SetThumbOnColor(clNone);
  EXPECT_EQ(sw->FrameColor(), clBtnText);
  EXPECT_EQ(sw->ThumbOnColor(), clBtnText);
  sw->SetFramePressedColor(clNone);
  EXPECT_EQ(sw->FramePressedColor(), clNone);
  sw->SetCanFocused(false);
  EXPECT_FALSE(sw->TabStop());
  sw->Free();
}

TEST(ToggleSwitchProperties, WithoutAPressedColourAPressHasNoPressedLookUnlessImagesDrawIt) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  sw->SetFramePressedColor(clNone);
  s.Press(35, 17);
  EXPECT_FALSE(sw->Pressed());
  s.Release(-5, -5);
  sw->SetStyleKind(kaswsCustomImage);
  s.Press(35, 17);
  EXPECT_TRUE(sw->Pressed());
  s.Release(-5, -5);
}

class TSwitchForm : public TCustomForm {
  KA_CLASS(TSwitchForm, TCustomForm)
 public:
  explicit TSwitchForm(TComponent* AOwner) : TCustomForm(AOwner, false) {}
  int Changes = 0;
  void SwitchChange(TObject*) { ++Changes; }
};
KA_REGISTER_CLASS(TSwitchForm, [](auto& c) { c.Handler(L"SwitchChange", &TSwitchForm::SwitchChange); });

TEST(ToggleSwitchProperties, ALayoutSetsTheStateWithoutFiringTheEvent) {
  TSwitchForm* form = Construct<TSwitchForm>(nullptr);
  ReadLayout(form,
             "object Form: TSwitchForm\n"
             "  object Switch1: TkaCustomToggleSwitch\n"
             "    CaptionOn = 'Lights on'\n"
             "    CaptionOff = 'Lights off'\n"
             "    State = kaswOn\n"
             "    StyleKind = kaswsColor\n"
             "    FrameOnColor = clRed\n"
             "    FramePressedColor = clNone\n"
             "    SwitchWidth = 50\n"
             "    Animation = False\n"
             "    OnChangeState = SwitchChange\n"
             "  end\n"
             "end\n",
             L"TEST");
  auto* sw = dynamic_cast<TkaCustomToggleSwitch*>(form->FindComponent(L"Switch1"));
  ASSERT_NE(sw, nullptr);
  EXPECT_TRUE(sw->IsOn());
  EXPECT_EQ(form->Changes, 0);
  EXPECT_EQ(sw->CaptionOn(), L"Lights on");
  EXPECT_EQ(sw->StyleKind(), kaswsColor);
  EXPECT_EQ(sw->FrameOnColor(), clRed);
  EXPECT_EQ(sw->FramePressedColor(), clNone);
  EXPECT_EQ(sw->SwitchWidth(), 50);
  EXPECT_FALSE(sw->Animation());
  sw->SetState(kaswOff);
  EXPECT_EQ(form->Changes, 1);
  form->Free();
}

// ---- The look of the three style kinds ---------------------------------------------------------

enum TLook { lkStyled, lkColor, lkImages };
enum TCtrl { stNormal, stHot, stPressed, stFocused, stDisabled };

// The images of the custom-image look: solid pictures, one colour per index.
const TColor kImageColors[] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia};

void AddSolidImages(TkaImageCollection* Images) {
  for (TColor c : kImageColors) {
    TkaImageCollectionItem* item = Images->Images()->Add();
    item->Bitmap()->SetPixelFormat(pf24bit);
    item->Bitmap()->SetSize(8, 8);
    item->Bitmap()->Canvas()->Brush()->SetColor(c);
    item->Bitmap()->Canvas()->FillRect(TRect(0, 0, 8, 8));
    item->SetDrawStyle(idsStretch);
  }
}

struct TLookColors {
  TColor Frame, FrameOn, Thumb, ThumbOn, FramePressed, ThumbPressed;
};

TLookColors ColorsOf(TLook Look) {
  if (Look == lkStyled) return {clBtnText, clHighlight, clBtnText, clHighlightText, clBtnShadow, clBtnText};
  if (Look == lkColor) return {clMaroon, clGreen, clNavy, clYellow, clPurple, clTeal};
  return {kImageColors[0], kImageColors[1], kImageColors[3], kImageColors[4], kImageColors[2], kImageColors[5]};
}

TEST(ToggleSwitchLook, EveryStyleKindPaintsTrackThumbCaptionAndFocusInEveryState) {
  const char* lookNames[] = {"styled", "colour", "images"};
  const char* stateNames[] = {"normal", "hot", "pressed", "focused", "disabled"};
  for (TLook look : {lkStyled, lkColor, lkImages}) {
    for (TCtrl state : {stNormal, stHot, stPressed, stFocused, stDisabled}) {
      for (bool on : {false, true}) {
        SCOPED_TRACE(testing::Message() << lookNames[look] << ", " << stateNames[state] << (on ? ", on" : ", off"));
        TScene s;
        TTestSwitch* sw = s.Switch;
        TkaImageCollection images(nullptr);
        if (look == lkColor) {
          sw->SetStyleKind(kaswsColor);
          const TLookColors c = ColorsOf(lkColor);
          sw->SetFrameColor(c.Frame), sw->SetFrameOnColor(c.FrameOn), sw->SetThumbColor(c.Thumb);
          sw->SetThumbOnColor(c.ThumbOn), sw->SetFramePressedColor(c.FramePressed);
          sw->SetThumbPressedColor(c.ThumbPressed);
        } else if (look == lkImages) {
          AddSolidImages(&images);
          sw->SetStyleKind(kaswsCustomImage);
          sw->UseImages(&images);
        }
        sw->SetState(on ? kaswOn : kaswOff);
        // Away from the thumb: right of it when off, left of it when on.
        const int awayX = on ? 14 : 30;
        switch (state) {
          case stHot: s.Hover(60, 30); break;
          case stPressed: s.Press(on ? 8 : 35, 17); break;
          case stFocused: sw->SetFocus(); break;
          case stDisabled: sw->SetEnabled(false); break;
          default: sw->Invalidate(), sw->Update(); break;
        }
        const TLookColors c = ColorsOf(look);
        const bool pressed = state == stPressed;
        const TColor frame = pressed ? c.FramePressed : on ? c.FrameOn : c.Frame;
        // The pressed thumb picture needs a drag (below); a press on the track keeps the other.
        const TColor thumb = pressed && look != lkImages ? c.ThumbPressed : on ? c.ThumbOn : c.Thumb;
        // The top of the off ring, or inside a filled track or picture.
        EXPECT_TRUE(NearColor(sw->At(awayX, 8), frame)) << "track edge";
        const bool hollow = look != lkImages && !on && !pressed;
        EXPECT_TRUE(NearColor(sw->At(awayX, 12), hollow ? kBackground : frame)) << "track inside";
        EXPECT_TRUE(NearColor(sw->At(on ? 32 : 12, 17), thumb)) << "thumb";
        // Focus: the dotted frame 3 pixels outside the caption (clicks focus too).
        const bool focused = state == stFocused || state == stPressed;
        int focusDots = 0, darkText = 0, greyText = 0;
        for (int y = 4; y < 31; ++y) {
          if (NearColor(sw->At(49, y), clBtnText, 40)) ++focusDots;
          for (int x = 52; x < 78; ++x) {
            if (NearColor(sw->At(x, y), clBtnText, 40)) ++darkText;
            if (NearColor(sw->At(x, y), clGrayText, 40)) ++greyText;
          }
        }
        EXPECT_EQ(focusDots > 0, focused);
        // The caption: button text, grey when disabled.
        EXPECT_EQ(darkText > 0, state != stDisabled);
        EXPECT_EQ(greyText > 0, state == stDisabled);
        if (pressed) s.Release(-5, -5);
      }
    }
  }
}

TEST(ToggleSwitchLook, ThePressedThumbPictureShowsWhileTheThumbIsDragged) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  TkaImageCollection images(nullptr);
  AddSolidImages(&images);
  sw->SetStyleKind(kaswsCustomImage);
  sw->UseImages(&images);
  s.Press(12, 17);
  EXPECT_TRUE(NearColor(sw->At(12, 17), kImageColors[5]));
  EXPECT_TRUE(NearColor(sw->At(30, 12), kImageColors[2]));
  s.Drag(14, 17);
  EXPECT_TRUE(NearColor(sw->At(14, 17), kImageColors[5]));
  s.Release(14, 17);
  sw->RunSlide();
  EXPECT_TRUE(NearColor(sw->At(12, 17), kImageColors[3]));
  EXPECT_TRUE(NearColor(sw->At(30, 12), kImageColors[0]));
}

TEST(ToggleSwitchLook, ARemovedImageCollectionIsForgottenAndTheMasksDrawInstead) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  auto* images = new TkaImageCollection(s.Form);
  AddSolidImages(images);
  sw->SetStyleKind(kaswsCustomImage);
  sw->UseImages(images);
  EXPECT_TRUE(NearColor(sw->At(30, 12), clRed));
  images->Free();
  EXPECT_EQ(sw->CustomImages(), nullptr);
  sw->Invalidate();
  sw->Update();
  EXPECT_TRUE(NearColor(sw->At(30, 12), kBackground));
  EXPECT_TRUE(NearColor(sw->At(30, 8), clBtnText));
}

// ---- Masks, scaling and direction --------------------------------------------------------------

struct TMaskCase {
  int M, D;  // scale factor M / D
  int Size;
  int Margin;
};

TEST(ToggleSwitchMasks, EveryScaleFindsItsMasksWithMarginsAndBlendingFlags) {
  const TMaskCase cases[] = {
      {1, 1, 32, 10}, {5, 4, 40, 12}, {3, 2, 48, 15}, {7, 4, 56, 18}, {2, 1, 64, 20}, {5, 2, 80, 25},
  };
  for (const TMaskCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.M << "/" << c.D);
    TTestSwitch* sw = Construct<TTestSwitch>(nullptr);
    sw->ChangeScale(c.M, c.D, true);
    if (c.M == c.D) sw->BuildMasks();
    TkaImageCollection* masks = sw->Masks();
    ASSERT_EQ(masks->Count(), 3);
    for (int i = 0; i < 3; ++i) {
      TkaImageCollectionItem* item = masks->Images()->Items(i);
      EXPECT_EQ(item->Bitmap()->Width(), c.Size);
      EXPECT_EQ(item->Bitmap()->Height(), c.Size);
      EXPECT_EQ(masks->GetMargins(i, 1), TRect(c.Margin, c.Margin, c.Margin, c.Margin));
      EXPECT_EQ(item->DrawStyle(), idsStretch);
      EXPECT_EQ(item->BitmapOptions()->DrawOnlyBorder(), i == 0);
      // Every mask has soft corners; the ring's centre is empty.
      EXPECT_TRUE(item->BitmapOptions()->AlphaBlendCorners());
      if (i == 0) {
        EXPECT_TRUE(item->BitmapOptions()->AlphaBlend());
      }
    }
    sw->Free();
  }
}

TEST(ToggleSwitchGeometry, At144DpiTheTrackThumbMasksAndCaptionGapScale) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  sw->ChangeScale(144, 96, true);
  EXPECT_EQ(sw->SwitchWidth(), 60);
  EXPECT_EQ(sw->SwitchHeight(), 30);
  EXPECT_EQ(sw->Width(), 120);
  EXPECT_EQ(sw->Height(), 53);
  sw->Invalidate();
  sw->Update();
  EXPECT_EQ(sw->Track(), TRect(2, 11, 62, 41));
  EXPECT_EQ(sw->Thumb(), TRect(2, 11, 32, 41));
  // A 3-pixel ring; a disc of 15 about the thumb's centre.
  EXPECT_TRUE(NearColor(sw->At(40, 11), clBtnText));
  EXPECT_TRUE(NearColor(sw->At(40, 13), clBtnText));
  EXPECT_TRUE(NearColor(sw->At(40, 15), kBackground));
  EXPECT_TRUE(NearColor(sw->At(17, 26), clBtnText));
  EXPECT_TRUE(NearColor(sw->At(17, 16), kBackground));
  EXPECT_EQ(sw->Caption(TSize{20, 10}).Left, 62 + 15);
  // The track never gets smaller than 40 x 20.
  sw->ChangeScale(1, 3, true);
  EXPECT_EQ(sw->SwitchWidth(), 40);
  EXPECT_EQ(sw->SwitchHeight(), 20);
}

TEST(ToggleSwitchGeometry, RightToLeftPutsTheTrackAtTheRightAndTheCaptionBeforeIt) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  sw->SetBiDiMode(bdRightToLeft);
  sw->Invalidate();
  sw->Update();
  EXPECT_EQ(sw->Track(), TRect(38, 7, 78, 27));
  EXPECT_EQ(sw->Thumb(), TRect(38, 7, 58, 27));
  EXPECT_EQ(sw->Caption(TSize{20, 13}), TRect(8, 11, 28, 24));
  EXPECT_TRUE(NearColor(sw->At(48, 17), clBtnText));
  // Drags and the slide use the same geometry.
  s.Click(70, 17);
  sw->RunSlide();
  EXPECT_EQ(sw->Thumb(), TRect(58, 7, 78, 27));
}

TEST(ToggleSwitchHandles, TwoThousandStateChangesKeepTheGdiObjectCount) {
  TScene s;
  TTestSwitch* sw = s.Switch;
  sw->SetCaptionOn(L"Lights on");
  auto cycle = [&](int N) {
    for (int i = 0; i < N; ++i) {
      if (i % 10 == 0) {
        // Now and then through the pointer and the slide, pressed look included.
        s.Click(sw->IsOn() ? 8 : 35, 17);
        sw->RunSlide();
      } else {
        sw->SetState(sw->IsOn() ? kaswOff : kaswOn);
      }
    }
  };
  cycle(50);
  const int before = GdiObjectCount();
  cycle(2000);
  EXPECT_LE(GdiObjectCount() - before, 2);
}

}  // namespace
