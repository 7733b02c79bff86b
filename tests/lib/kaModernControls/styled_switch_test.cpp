// The toggle switch under both custom styles: the styled kind draws the style's switch
// elements (the accent track when on, the off track's border when off, a disabled look), and
// the caption takes the style's check-box text colour.
#include <gtest/gtest.h>

#include "lib/kaModernControls/kaToggleSwitch.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/StyleScope.h"
#include "tests/support/SwitchScene.h"
#include "tests/support/TestControls.h"

namespace {

class TStyledSwitch : public TSnapshotControl<TkaCustomToggleSwitch> {
  KA_CLASS(TStyledSwitch, TSnapshotControl<TkaCustomToggleSwitch>)
 public:
  explicit TStyledSwitch(TComponent* AOwner) : inherited(AOwner) {}
  TRect Track() const { return FSWRect; }
  TRect Thumb() const { return FThumbRect; }
};

class StyledSwitch : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(StyledSwitch);

TEST_P(StyledSwitch, TrackAndThumbAreTheStylesElements) {
  TSwitchScene<TStyledSwitch> scene;
  TStyledSwitch* sw = scene.Switch;
  const TStyleDescription& s = TStyleScope::Style();
  scene.Repaint();
  TRect track = sw->Track(), thumb = sw->Thumb();
  // Off: the off track's fill between its border and the thumb.
  EXPECT_TRUE(NearColor(sw->At(track.Right - track.Height() / 2, track.Top + 2), s.SwitchTrackOff.Fill.Normal, 2));
  EXPECT_TRUE(NearColor(sw->At(track.Left + track.Width() / 2, track.Top), s.SwitchTrackOff.Border.Normal, 2));
  sw->SetState(kaswOn);
  scene.Repaint();
  track = sw->Track(), thumb = sw->Thumb();
  EXPECT_TRUE(NearColor(sw->At(track.Left + track.Height() / 2, track.Top + track.Height() / 2),
                        s.SwitchTrackOn.Fill.Normal, 2));
  EXPECT_TRUE(NearColor(sw->At(thumb.Left + thumb.Width() / 2, thumb.Top + thumb.Height() / 2),
                        s.SwitchThumb.Fill.Normal, 2));
  sw->SetEnabled(false);
  scene.Repaint();
  EXPECT_TRUE(NearColor(sw->At(track.Left + track.Height() / 2, track.Top + track.Height() / 2),
                        s.SwitchTrackOn.Fill.Disabled, 2));
  // Without the styled kind the switch keeps its own masks in its own colours.
  sw->SetEnabled(true);
  sw->SetFrameOnColor(clRed);
  sw->SetThumbOnColor(clRed);
  sw->SetStyleKind(kaswsColor);
  scene.Repaint();
  EXPECT_FALSE(NearColor(sw->At(track.Left + track.Height() / 2, track.Top + track.Height() / 2),
                         s.SwitchTrackOn.Fill.Normal, 2));
}

}  // namespace
