// A press that brings the focus to a button is shown by the press's own repaint: one paint,
// already with the focus; a press that repaints nothing still shows the focus it gave.
#include <gtest/gtest.h>

#include <vector>

#include "lib/kaControls/kaButtonControl.h"
#include "tests/support/TestControls.h"

namespace {

// A button that records, for each paint, whether it had the focus then.
class TFocusButton : public TkaCustomButtonControl {
  KA_CLASS(TFocusButton, TkaCustomButtonControl)
 public:
  explicit TFocusButton(TComponent* AOwner) : TkaCustomButtonControl(AOwner) {}
  std::vector<bool> PaintsFocused;
  void Press() { Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }
  void Release() { Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10)); }

 protected:
  void DrawControl(TCanvas* C, TkasCtrlState S) override {
    PaintsFocused.push_back(Focused());
    C->Brush()->SetColor(Focused() ? clNavy : clSilver);
    C->FillRect(Rect(0, 0, Width(), Height()));
  }
};

TEST(ButtonFocusPaint, PressThatFocusesPaintsOnceWithTheFocus) {
  struct TCase {
    const char* Name;
    int GroupIndex;
    bool DownBefore;  // a group button already down: the press changes nothing of its state
  } cases[] = {{"plain button", 0, false}, {"group button going down", 1, false}, {"group button already down", 1, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomForm* form = TCustomForm::CreateNew(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(300, 300, 300, 80);
    auto* other = new TFocusButton(form);
    other->SetBounds(150, 10, 100, 35);
    other->SetParent(form);
    auto* b = new TFocusButton(form);
    b->SetBounds(10, 10, 100, 35);
    b->SetParent(form);
    b->SetGroupIndex(c.GroupIndex);
    if (c.DownBefore) b->SetDown(true);
    form->Show();
    other->SetFocus();
    PumpPending();
    b->PaintsFocused.clear();
    b->Press();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(b->PaintsFocused, std::vector<bool>{true});
    b->Release();
    PumpPending();
    EXPECT_FALSE(b->PaintsFocused.empty());
    EXPECT_TRUE(b->PaintsFocused.back());
    form->Free();
  }
}

TEST(ButtonFocusPaint, FocusFromTheKeyboardOrCodeStillRepaintsAtOnce) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(300, 300, 300, 80);
  auto* b = new TFocusButton(form);
  b->SetBounds(10, 10, 100, 35);
  b->SetParent(form);
  auto* other = new TFocusButton(form);
  other->SetBounds(150, 10, 100, 35);
  other->SetParent(form);
  form->Show();
  other->SetFocus();
  PumpPending();
  b->PaintsFocused.clear();
  b->SetFocus();
  EXPECT_EQ(b->PaintsFocused, std::vector<bool>{true});
  other->SetFocus();
  EXPECT_EQ(b->PaintsFocused, (std::vector<bool>{true, false}));
  form->Free();
}

}  // namespace
