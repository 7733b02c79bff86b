// The vector controls under both custom styles: option colours with StyleColors go through
// the style (and stay the system's without it), a glyph button paints them, and a panel
// with the form background paints the style's window; in high contrast both take the
// system's colours.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "lib/kaDrawUtils/CompositionTesting.h"
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

// ---- High contrast ---------------------------------------------------------------------------

// The user's high-contrast mode: the controls' own colours, tints and pictures give way to the
// system's colours, opaque, in every state; out of it they are back as they were.
std::set<TColor> ColoursOf(TBitmap* B) {
  std::set<TColor> colours;
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x) colours.insert(PixelAt(B, x, y));
  return colours;
}

TEST(HighContrast, GlyphButtonsShowTheSystemsFaceAndTextColoursInEveryState) {
  TScene scene;
  auto* button = new TPaintedGlyphButton(scene.Form);
  button->SetBounds(10, 10, 80, 40);
  button->SetParent(scene.Form);
  TkaGPButtonOptions* o = button->Options();
  o->SetNormalColor(clRed), o->SetHotColor(clRed), o->SetPressedColor(clRed), o->SetDisabledColor(clRed);
  o->SetNormalColorAlpha(90), o->SetHotColorAlpha(90), o->SetPressedColorAlpha(90), o->SetDisabledColorAlpha(90);
  button->GlyphOptions()->SetKind(kagpbgkClose);
  for (TkasCtrlState s : {kasNormal, kasHot, kasPressed, kasDisabled}) {
    SCOPED_TRACE(testing::Message() << "state " << static_cast<int>(s));
    TkaCompositionTesting doubles;
    doubles.SetHighContrast(true);
    auto face = button->Face(s);
    const TColor faceColour = ColorToRGB(HighContrastColor(kahcFace, s));
    EXPECT_EQ(PixelAt(face.get(), 6, 20), faceColour) << "an opaque system face, no tint";
    const std::set<TColor> colours = ColoursOf(face.get());
    EXPECT_EQ(colours.count(ColorToRGB(clRed)), 0u);
    // The glyph's strokes reach the text colour at their middle (edges blend into the face).
    EXPECT_EQ(colours.count(ColorToRGB(HighContrastColor(kahcText, s))), 1u) << "the glyph in the text colour";
    doubles.SetHighContrast(false);
    auto tinted = button->Face(s);
    EXPECT_NE(PixelAt(tinted.get(), 6, 20), faceColour) << "out of high contrast, the tint is back";
  }
}

TEST(HighContrast, PanelsDropTheirTintsAndFrameInTheSystemsColours) {
  TScene scene;
  auto* panel = new TkaGPPanel(scene.Form);
  panel->SetBounds(0, 0, 120, 80);
  panel->SetParent(scene.Form);
  panel->SetFillColor(clRed);
  panel->SetFillColorAlpha(100);
  panel->SetFrameWidth(3);
  panel->SetFrameColor(clBlue);
  panel->SetFrameColorAlpha(120);
  TkaCompositionTesting doubles;
  doubles.SetHighContrast(true);
  TBitmap shot(120, 80);
  panel->PaintTo(shot.Canvas()->Handle(), 0, 0);
  EXPECT_EQ(PixelAt(&shot, 60, 40), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(&shot, 1, 40), ColorToRGB(clBtnText));
  doubles.SetHighContrast(false);
  panel->PaintTo(shot.Canvas()->Handle(), 0, 0);
  EXPECT_NE(PixelAt(&shot, 60, 40), ColorToRGB(clBtnFace));
}

}  // namespace
