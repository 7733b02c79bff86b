// The advanced list and combo boxes under both custom styles: the list's background is the
// style's edit colour (its own colour without seClient), the selected row the style's selected
// cell with its text colour, and the combo box's face its field.
#include <gtest/gtest.h>

#include "tests/lib/kaAdvancedControls/ComboBoxTesting.h"
#include "tests/lib/kaAdvancedControls/ListBoxTesting.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/StyleScope.h"

namespace {

bool ShowsNear(TBitmap* B, const TRect& R, TColor Color, int Tolerance) {
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Near(PixelOf(B, x, y), Color, Tolerance)) return true;
  return false;
}

class StyledLists : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(StyledLists);

TEST_P(StyledLists, ListBackgroundSelectionAndTextAreTheStyles) {
  TListScene scene;
  TProbeListBox* list = scene.Add(3);
  list->SetColor(clRed);
  list->SetItemIndex(1);
  auto shot = list->Shot();
  const TRect row0 = list->Row(0), row1 = list->Row(1);
  const TStyleDescription& s = TStyleScope::Style();
  EXPECT_TRUE(Near(PixelOf(shot.get(), row0.Right - 4, row0.Top + row0.Height() / 2),
                   TStyleManager::ActiveStyle()->GetStyleColor(scListBox), 2));
  EXPECT_TRUE(Near(PixelOf(shot.get(), row1.Right - 4, row1.Top + row1.Height() / 2), s.ListItem.Fill.Pressed, 2));
  EXPECT_TRUE(ShowsNear(shot.get(), row1, s.ListItem.Text.Pressed, 24)) << "selected text";
  EXPECT_TRUE(ShowsNear(shot.get(), row0, s.ListItem.Text.Normal, 24)) << "row text";
  // The list's own colour where seClient is off.
  list->SetStyleElements(TStyleElements{seFont, seBorder});
  auto plain = list->Shot();
  EXPECT_TRUE(Near(PixelOf(plain.get(), row0.Right - 4, row0.Top + row0.Height() / 2), clRed, 2));
}

TEST_P(StyledLists, ComboBoxFaceIsDarkOrLightAsTheStyleWithItsText) {
  TComboScene scene;
  TProbeCombo* combo = scene.Add(3);
  combo->SetItemIndex(0);
  auto shot = combo->Shot();
  const TStyleDescription& s = TStyleScope::Style();
  const TColor face = ColorToRGB(PixelOf(shot.get(), 6, shot->Height() / 2));
  const int luma = (GetRValue(face) * 299 + GetGValue(face) * 587 + GetBValue(face) * 114) / 1000;
  if (s.Dark)
    EXPECT_LT(luma, 100);
  else
    EXPECT_GT(luma, 180);
  EXPECT_TRUE(ShowsNear(shot.get(), TRect(0, 0, shot->Width(), shot->Height()), s.Field.Text.Normal, 24));
}

}  // namespace
