// The classic controls under both custom styles: the branches that take the style's colours
// (panel surface and border, label, button and check-box text, the push-button and check-box
// faces) against the same controls with the style element switched off, so a branch that
// read the system's colour, or ignored StyleElements, fails.
#include <gtest/gtest.h>

#include <memory>

#include "framework/Themes.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kUnpainted = clFuchsia;

// Whether some pixel of B is Color within Tolerance.
bool Shows(TBitmap* B, TColor Color, int Tolerance = 8) {
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x)
      if (NearColor(PixelAt(B, x, y), Color, Tolerance)) return true;
  return false;
}

template <class TBase>
class TShot : public TBase {
 public:
  using TBase::TBase;
  std::unique_ptr<TBitmap> Shot(TkasCtrlState S) {
    auto b = std::make_unique<TBitmap>(this->Width(), this->Height());
    this->PaintStateToDC(b->Canvas()->Handle(), S, false);
    return b;
  }
};
class TShotButton : public TShot<TkaButton> {
  KA_CLASS(TShotButton, TkaButton)
 public:
  using TShot::TShot;
};
class TShotCheckBox : public TShot<TkaCheckBox> {
  KA_CLASS(TShotCheckBox, TkaCheckBox)
 public:
  using TShot::TShot;
};

struct TScene {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  TScene() {
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 400, 200);
    Form->Show();
    PumpPending();
  }
  ~TScene() {
    Form->Free();
    PumpPending();
  }
  template <class T>
  T* Add(const TRect& Bounds) {
    T* c = new T(Form);
    c->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    c->SetParent(Form);
    c->Font()->SetHeight(-22);
    c->Font()->SetStyle(TFontStyles{fsBold});
    return c;
  }
};

std::unique_ptr<TBitmap> Snapshot(TWinControl* Control) {
  auto b = std::make_unique<TBitmap>(Control->Width(), Control->Height());
  b->Canvas()->Brush()->SetColor(kUnpainted);
  b->Canvas()->FillRect(TRect(0, 0, b->Width(), b->Height()));
  Control->PaintTo(b->Canvas()->Handle(), 0, 0);
  return b;
}

class StyledClassicControls : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(StyledClassicControls);

TEST_P(StyledClassicControls, PanelTakesTheStylesSurfaceBorderAndTextOnlyWithItsStyleElements) {
  TScene scene;
  auto* panel = scene.Add<TkaPanel>(TRect(0, 0, 200, 80));
  panel->SetStyleKind(kapsPanel);
  // System colours that both styles show differently from the system (the light style keeps
  // the system's button face and shadows).
  panel->SetColor(clActiveCaption);
  panel->SetBorderStyle(kapbsFlat);
  panel->SetShadowBorderColor(clHotLight);
  panel->Font()->SetColor(clRed);
  panel->SetShowCaption(true);
  panel->SetCaption(L"WWWW");
  const TColor face = TStyleScope::Sys(clActiveCaption), shadow = TStyleScope::Sys(clHotLight);
  ASSERT_FALSE(NearColor(face, ColorToRGB(clActiveCaption), 8));
  ASSERT_FALSE(NearColor(shadow, ColorToRGB(clHotLight), 8));
  auto styled = Snapshot(panel);
  EXPECT_TRUE(NearColor(PixelAt(styled.get(), 10, 40), face, 0));
  EXPECT_TRUE(NearColor(PixelAt(styled.get(), 100, 0), shadow, 0));
  EXPECT_TRUE(Shows(styled.get(), TStyleManager::ActiveStyle()->GetStyleFontColor(sfCheckBoxTextNormal)));
  EXPECT_FALSE(Shows(styled.get(), clRed, 40)) << "the style's text colour replaces the font's";

  panel->SetStyleElements(TStyleElements{});
  auto plain = Snapshot(panel);
  EXPECT_TRUE(NearColor(PixelAt(plain.get(), 10, 40), ColorToRGB(clActiveCaption), 0));
  EXPECT_TRUE(NearColor(PixelAt(plain.get(), 100, 0), ColorToRGB(clHotLight), 0));
  EXPECT_TRUE(Shows(plain.get(), clRed));
}

TEST_P(StyledClassicControls, EditPanelIsTheStylesFieldAndHeaderTextTheHeadersColour) {
  TScene scene;
  auto* edit = scene.Add<TkaPanel>(TRect(0, 0, 120, 40));
  edit->SetStyleKind(kapsEdit);
  auto shot = Snapshot(edit);
  EXPECT_TRUE(NearColor(PixelAt(shot.get(), 60, 20), TStyleManager::ActiveStyle()->GetStyleColor(scEdit), 0));
  auto* header = scene.Add<TkaPanel>(TRect(0, 50, 120, 90));
  header->SetStyleKind(kapsHeader);
  header->SetShowCaption(true);
  header->SetCaption(L"WW");
  header->Font()->SetColor(clRed);
  auto h = Snapshot(header);
  EXPECT_TRUE(NearColor(PixelAt(h.get(), 5, 20), TStyleScope::Style().Header.Fill.Normal, 0));
  EXPECT_TRUE(Shows(h.get(), TStyleScope::Style().Header.Text.Normal));
}

TEST_P(StyledClassicControls, LabelTextFollowsTheStyleUnlessItKeepsItsFontColour) {
  TScene scene;
  auto* label = scene.Add<TkaLabel>(TRect(0, 0, 150, 40));
  label->SetCaption(L"WWWW");
  label->Font()->SetColor(clRed);
  const TColor styleText = TStyleManager::ActiveStyle()->GetStyleFontColor(sfCheckBoxTextNormal);
  auto styled = Snapshot(label);
  EXPECT_TRUE(Shows(styled.get(), styleText));
  EXPECT_FALSE(Shows(styled.get(), clRed, 40));
  // The font's colour through the style: red is no system colour and stays red.
  label->SetUseFontColorToStyleColor(true);
  label->RePaintControl();
  EXPECT_TRUE(Shows(Snapshot(label).get(), clRed));
  label->SetUseFontColorToStyleColor(false);
  label->SetStyleElements(TStyleElements{seClient, seBorder});
  EXPECT_TRUE(Shows(Snapshot(label).get(), clRed));
}

TEST_P(StyledClassicControls, PushButtonShowsTheStylesFacesAndTextPerState) {
  TScene scene;
  auto* button = scene.Add<TShotButton>(TRect(0, 0, 140, 40));
  button->SetStyleKind(kabsPushButton);
  button->SetCaption(L"WWW");
  button->Font()->SetColor(clRed);
  const TStyleFace& f = TStyleScope::Style().Button;
  const TkasCtrlState states[] = {kasNormal, kasHot, kasPressed, kasDisabled};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    auto shot = button->Shot(states[i]);
    EXPECT_TRUE(NearColor(PixelAt(shot.get(), 6, 20), f.Fill.At(i), 0));
    EXPECT_TRUE(Shows(shot.get(), f.Text.At(i)));
    EXPECT_FALSE(Shows(shot.get(), clRed, 40));
  }
}

TEST_P(StyledClassicControls, CheckBoxIsTheAccentWhenCheckedWithTheStylesLabelColour) {
  TScene scene;
  auto* box = scene.Add<TShotCheckBox>(TRect(0, 0, 160, 30));
  box->SetCaption(L"WWW");
  box->Font()->SetColor(clRed);
  box->SetChecked(true);
  auto shot = box->Shot(kasNormal);
  EXPECT_TRUE(Shows(shot.get(), TStyleScope::Style().Accent, 0));
  EXPECT_TRUE(Shows(shot.get(), TStyleScope::Style().CheckBox.Text.Normal));
  EXPECT_FALSE(Shows(shot.get(), clRed, 40));
  auto disabled = box->Shot(kasDisabled);
  EXPECT_TRUE(Shows(disabled.get(), TStyleScope::Style().CheckBox.Text.Disabled));
}

}  // namespace
