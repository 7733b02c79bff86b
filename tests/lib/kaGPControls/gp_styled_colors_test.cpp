// The vector controls under both custom styles: option colours with StyleColors go through
// the style (and stay the system's without it), a glyph button paints them, and a panel
// with the form background paints the style's window.
#include <gtest/gtest.h>

#include <memory>

#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

class TPaintedGlyphButton : public TkaGPGlyphButton {
  KA_CLASS(TPaintedGlyphButton, TkaGPGlyphButton)
 public:
  using TkaGPGlyphButton::TkaGPGlyphButton;
  std::unique_ptr<TBitmap> Face(TkasCtrlState S) {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    b->SetPixelFormat(pf32bit);
    DrawControl(b->Canvas(), S);
    return b;
  }
};

struct TScene {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  TScene() {
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(120, 120, 300, 160);
    Form->Show();
  }
  ~TScene() {
    Form->Free();
    PumpPending();
  }
};

class StyledVectorControls : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(StyledVectorControls);

TEST_P(StyledVectorControls, ButtonOptionColoursFollowTheStyleOnlyWithStyleColors) {
  TScene scene;
  auto* button = new TPaintedGlyphButton(scene.Form);
  button->SetBounds(10, 10, 80, 40);
  button->SetParent(scene.Form);
  TkaGPButtonOptions* o = button->Options();
  // A system colour both styles show differently from the system (the light style keeps the
  // system's button face).
  o->SetNormalColor(clActiveCaption);
  o->SetNormalColorAlpha(255);
  o->SetFrameNormalColorAlpha(0);
  o->SetFontNormalColor(clBtnText);
  o->SetState(kasNormal);
  const TColor face = TStyleScope::Sys(clActiveCaption);
  ASSERT_FALSE(NearColor(face, clActiveCaption, 8));
  EXPECT_EQ(o->GetColor(), face);
  EXPECT_EQ(o->GetFontColor(), TStyleScope::Sys(clBtnText));
  auto styled = button->Face(kasNormal);
  EXPECT_TRUE(NearColor(PixelAt(styled.get(), 6, 20), face, 2));

  o->SetStyleColors(false);
  o->SetState(kasNormal);
  EXPECT_EQ(o->GetColor(), clActiveCaption);
  auto plain = button->Face(kasNormal);
  EXPECT_TRUE(NearColor(PixelAt(plain.get(), 6, 20), clActiveCaption, 2));
}

TEST_P(StyledVectorControls, PanelWithTheFormBackgroundPaintsTheStylesWindow) {
  TScene scene;
  auto* panel = new TkaGPPanel(scene.Form);
  panel->SetBounds(0, 0, 120, 80);
  panel->SetParent(scene.Form);
  panel->SetBackgroundStyle(gppbsFormBackground);
  TBitmap shot(120, 80);
  panel->PaintTo(shot.Canvas()->Handle(), 0, 0);
  EXPECT_TRUE(NearColor(PixelAt(&shot, 60, 40), TStyleScope::Style().Window, 2));
}

}  // namespace
