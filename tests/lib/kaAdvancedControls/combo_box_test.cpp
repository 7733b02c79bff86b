// The advanced combo box's behaviour: where the face's parts and the list go, opening and
// closing by mouse, keys and presses elsewhere, the events, checked-list mode, bad input,
// scaling, layouts, and the drop-down as a real window beside a real form.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/lib/kaAdvancedControls/ComboBoxTesting.h"

namespace {

int ScrollBarWidth(int Ppi = 96) { return ::GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(Ppi)); }

// ---- Face geometry --------------------------------------------------------------------------

TEST(ComboBoxGeometry, ButtonAndRowAreasFollowStyleAndReadingOrder) {
  const int sb = ScrollBarWidth();
  struct TCase {
    TkaAdvancedComboStyle Style;
    bool Rtl;
    TRect Button, Row;
  };
  // 120 x 41; kacbCombo's button is as wide as a scroll bar, the others 17 pixels, and every
  // look but kacbCombo and kacbTransparent keeps the row a pixel further in.
  const TCase cases[] = {
      {kacbCombo, false, TRect(119 - sb - 1, 1, 119, 40), TRect(2, 2, 119 - sb - 2, 39)},
      {kacbPushButton, false, TRect(101, 1, 119, 40), TRect(3, 3, 99, 38)},
      {kacbTransparent, false, TRect(101, 1, 119, 40), TRect(2, 2, 100, 39)},
      {kacbCombo, true, TRect(1, 1, sb + 2, 40), TRect(sb + 3, 2, 118, 39)},
      {kacbToolButton, true, TRect(1, 1, 19, 40), TRect(21, 3, 117, 38)},
  };
  TComboScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Style) + (c.Rtl ? " rtl" : ""));
    TProbeCombo* combo = s.Add(3);
    combo->SetStyle(c.Style);
    combo->SetBiDiMode(c.Rtl ? bdRightToLeft : bdLeftToRight);
    combo->Shot();
    EXPECT_EQ(combo->Button.R, c.Button);
    EXPECT_EQ(combo->CBItem.R, c.Row);
    combo->Free();
  }
  // With a scroll-bar width of 17 that is the default combo box's (101, 1, 119, 40) and
  // (2, 2, 100, 39).
  if (sb == 17) {
    EXPECT_EQ(cases[0].Button, TRect(101, 1, 119, 40));
    EXPECT_EQ(cases[0].Row, TRect(2, 2, 100, 39));
  }
}

TEST(ComboBoxGeometry, DefaultsAreThoseOfTheControl) {
  TComboScene s;
  TProbeCombo* c = s.Add(0);
  auto* fresh = new TkaAdvancedComboBox(s.Form);
  EXPECT_EQ(fresh->Width(), 120);
  EXPECT_EQ(fresh->Height(), 41);
  EXPECT_TRUE(fresh->TabStop());
  EXPECT_EQ(fresh->Style(), kacbCombo);
  EXPECT_EQ(fresh->DropDownCount(), 7);
  EXPECT_EQ(fresh->DropDownPosition(), kadpRight);
  EXPECT_EQ(fresh->Color(), clWindow);
  EXPECT_TRUE(fresh->ShowItemTitle());
  EXPECT_FALSE(fresh->ShowItemDetail());
  EXPECT_TRUE(fresh->CheckedListWrap());
  EXPECT_EQ(fresh->ItemIndex(), -1);
  EXPECT_TRUE(fresh->ListBox()->MouseMoveChangeIndex());
  EXPECT_EQ(fresh->ListBox()->Parent(), fresh);
  EXPECT_FALSE(fresh->ListBox()->Visible());
  c->SetDropDownCount(-3);
  EXPECT_EQ(c->DropDownCount(), 7);
}

// ---- Where the list opens -------------------------------------------------------------------

TEST(ComboBoxDropDown, ListHeightComesFromTheRowCount) {
  struct TCase {
    int Rows, DropDownCount, ListBoxHeight, Expected;
  };
  // Rows of 30 and the list's two-pixel border on each side.
  const TCase cases[] = {{9, 7, 0, 7 * 30 + 4}, {7, 7, 0, 214}, {3, 7, 0, 94}, {3, 2, 0, 64}, {3, 7, 120, 120}};
  TComboScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Rows) + " rows, " + std::to_string(c.DropDownCount));
    TProbeCombo* combo = s.Add(c.Rows);
    combo->SetDropDownCount(c.DropDownCount);
    combo->SetListBoxHeight(c.ListBoxHeight);
    combo->DropDown();
    ASSERT_TRUE(combo->ListShown());
    EXPECT_EQ(combo->ListRect().Height(), c.Expected);
    combo->CloseUp(false);
    combo->Free();
  }
  // DropDownCount 0 leaves the list as high as it was.
  TProbeCombo* combo = s.Add(3);
  combo->SetDropDownCount(0);
  combo->ListBox()->SetHeight(77);
  combo->DropDown();
  EXPECT_EQ(combo->ListRect().Height(), 77);
  combo->CloseUp(false);
}

TEST(ComboBoxDropDown, OpensUnderTheControlWithEdgesAlignedByPosition) {
  TComboScene s;
  TProbeCombo* c = s.Add(3, 200, 50, 150, 30);
  const TPoint origin = s.Form->ClientToScreen(TPoint(200, 50));
  const TRect face = Bounds(origin.X, origin.Y, 150, 30);
  c->DropDown();
  EXPECT_EQ(c->ListRect(), TRect(face.Left, face.Bottom, face.Right, face.Bottom + 94));
  c->CloseUp(false);
  // A wider list: right edges aligned (kadpRight), or left edges (kadpLeft).
  c->SetListBoxWidth(230);
  c->DropDown();
  EXPECT_EQ(c->ListRect(), TRect(face.Right - 230, face.Bottom, face.Right, face.Bottom + 94));
  c->CloseUp(false);
  c->SetDropDownPosition(kadpLeft);
  c->DropDown();
  EXPECT_EQ(c->ListRect(), TRect(face.Left, face.Bottom, face.Left + 230, face.Bottom + 94));
  c->CloseUp(false);
}

TEST(ComboBoxDropDown, TheListTakesTheControlsLookAndTheForwardedOptions) {
  TComboScene s;
  TProbeCombo* c = s.Add(3);
  auto* wallpapers = new TkaImageCollection(nullptr);
  c->SetColor(clInfoBk);
  c->SetParentFont(false);
  c->Font()->SetName(L"Courier New");
  c->SetBiDiMode(bdRightToLeft);
  c->SetListBoxWallpapers(wallpapers);
  c->SetListBoxWallpaperIndex(4);
  c->SetListBoxCustomSelectionImageIndex(2);
  c->SetListBoxShowLines(true);
  c->SetAlternateRow(true);
  TkaAdvancedPopupListBox* l = c->ListBox();
  EXPECT_EQ(l->CustomSelectionImageIndex(), 2);
  EXPECT_EQ(l->CustomFocusedSelectionImageIndex(), 2);
  EXPECT_TRUE(l->ShowLines());
  EXPECT_TRUE(l->AlternateRow());
  // The wallpapers and the look reach the list when it opens.
  EXPECT_EQ(l->Wallpapers(), nullptr);
  int faceRows = 0, listRows = 0;
  c->OnDrawItem = [&](TCanvas*, int, const TRect&) { ++faceRows; };
  c->DropDown();
  PumpPending();
  EXPECT_EQ(l->Color(), clInfoBk);
  EXPECT_EQ(l->Font()->Name(), L"Courier New");
  EXPECT_EQ(l->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(l->Wallpapers(), wallpapers);
  EXPECT_EQ(l->WallpaperIndex(), 4);
  // Without a handler of the list's own, the face's handler draws the list's rows too.
  l->Repaint();
  EXPECT_GE(faceRows, 3);
  c->CloseUp(false);
  c->OnListBoxDrawItem = [&](TCanvas*, int, const TRect&) { ++listRows; };
  faceRows = 0;
  c->DropDown();
  l->Repaint();
  EXPECT_GE(listRows, 3);
  c->CloseUp(false);
  // A freed collection is forgotten by both.
  wallpapers->Free();
  EXPECT_EQ(c->ListBoxWallpapers(), nullptr);
  EXPECT_EQ(l->Wallpapers(), nullptr);
  c->DropDown();
  EXPECT_TRUE(c->DroppedDown());
  c->CloseUp(false);
}

TEST(ComboBoxDropDown, NearTheBottomOfTheWorkAreaTheListOpensAboveAndNeverMovesSideways) {
  const TRect work = Screen->MonitorFromPoint(TPoint(10, 10)).WorkareaRect();
  // The window's bottom 20 pixels above the work area's end, its right edge on it.
  TComboScene s(TRect(work.Right - 300, work.Bottom - 120, work.Right, work.Bottom - 20));
  TProbeCombo* c = s.Add(9, 200, 50, 100, 41);
  c->SetListBoxWidth(260);
  c->SetDropDownPosition(kadpLeft);
  c->DropDown();
  const TPoint top = s.Form->ClientToScreen(TPoint(200, 50));
  // Above the control; the list runs past the right edge of the screen as it is.
  EXPECT_EQ(c->ListRect(), TRect(top.X, top.Y - 214, top.X + 260, top.Y));
  EXPECT_GT(c->ListRect().Right, work.Right);
  c->CloseUp(false);
}

// ---- Events ---------------------------------------------------------------------------------

TEST(ComboBoxEvents, EscapeRestoresSilentlyAndEnterFiresCloseClickChangeEvenForTheOldRow) {
  TComboScene s;
  TProbeCombo* c = s.Add(5);
  c->SetFocus();
  c->SetItemIndex(1);
  c->Events.clear();
  c->Key(VK_F4);
  ASSERT_TRUE(c->DroppedDown());
  // The highlight follows the pointer over the list.
  c->ListMove(c->RowPoint(3));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 3);
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->OldItemIndex(), 1);
  c->Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_FALSE(c->ListShown());
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Events, EventList({"dropdown"}));

  c->Events.clear();
  c->Key(VK_F4);
  c->Key(VK_RETURN);
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Events, EventList({"dropdown", "closeup", "click", "change"}));

  c->Events.clear();
  c->Key(VK_F4);
  c->ListMove(c->RowPoint(4));
  c->Key(VK_RETURN);
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_EQ(c->Events, EventList({"dropdown", "closeup", "click", "change"}));
}

TEST(ComboBoxEvents, ItemIndexFiresOncePerWriteAndNeverWhileLoading) {
  TComboScene s;
  TProbeCombo* c = s.Add(4);
  c->SetItemIndex(2);
  EXPECT_EQ(c->Events, EventList({"click", "change"}));
  // The same value again fires again; values the list refuses leave the selection.
  c->Events.clear();
  c->SetItemIndex(2);
  c->SetItemIndex(17);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Events, EventList({"click", "change", "click", "change"}));
  // InitItemIndex is silent.
  c->Events.clear();
  c->InitItemIndex(3);
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->OldItemIndex(), 3);
  EXPECT_TRUE(c->Events.empty());
  // The list's own row events come along with a committed selection.
  int rowClicks = 0;
  c->Items()->Items(1)->OnClick = [&](TObject*) { ++rowClicks; };
  c->SetItemIndex(1);
  EXPECT_EQ(rowClicks, 1);
}

// ---- Keys -----------------------------------------------------------------------------------

TEST(ComboBoxKeys, ArrowsCommitEveryStepAndEscapeAfterThemKeepsTheNewRow) {
  TComboScene s;
  TProbeCombo* c = s.Add(6);
  c->Items()->Items(2)->SetEnabled(false);
  c->SetFocus();
  // Closed: each step is committed with its events; the disabled row is stepped over.
  c->Key(VK_DOWN);
  c->Key(VK_RIGHT);
  c->Key(VK_DOWN);
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->Events.size(), 6u);
  c->Key(VK_UP);
  EXPECT_EQ(c->ItemIndex(), 1);
  c->Key(VK_LEFT);
  c->Key(VK_LEFT);
  EXPECT_EQ(c->ItemIndex(), 0);
  // Open: the steps commit too, so Escape does not undo them.
  c->AltKey(VK_DOWN);
  ASSERT_TRUE(c->DroppedDown());
  c->Key(VK_NEXT);
  EXPECT_EQ(c->ItemIndex(), 5);
  c->Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 5);
  // Alt+Up closes without accepting; F4 opens and closes.
  c->AltKey(VK_DOWN);
  c->ListMove(c->RowPoint(0));
  c->AltKey(VK_UP);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 5);
  c->Key(VK_F4);
  EXPECT_TRUE(c->DroppedDown());
  c->Key(VK_F4);
  EXPECT_FALSE(c->DroppedDown());
}

TEST(ComboBoxKeys, EnterAndEscapeAreAskedForOnlyWhileTheListIsOpen) {
  TComboScene s;
  TProbeCombo* c = s.Add(3);
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_DOWN), 1);
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_ESCAPE), 0);
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_RETURN), 0);
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_TAB), 0);
  c->DropDown();
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_ESCAPE), 1);
  EXPECT_EQ(c->Perform(CM_WANTSPECIALKEY, VK_RETURN), 1);
  c->CloseUp(false);
}

TEST(ComboBoxKeys, TypingSearchesAndCommits) {
  TComboScene s;
  TProbeCombo* c = s.Add(0);
  c->Add({L"apple", L"banana", L"blueberry", L"cherry", L"Blackcurrant"});
  c->Items()->Items(4)->SetEnabled(false);
  c->SetFocus();
  // Without AutoComplete, a letter goes to the next row starting with it.
  c->Type(L"b");
  EXPECT_EQ(c->ItemIndex(), 1);
  c->Type(L"b");
  EXPECT_EQ(c->ItemIndex(), 2);
  c->Type(L"b");
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Events.size(), 6u);
  // With it, what is typed within a second adds up.
  c->SetAutoComplete(true);
  c->Type(L"bl");
  EXPECT_EQ(c->ItemIndex(), 2);
  c->Perform(WM_TIMER, kaComboSearchTimerID);
  c->Type(L"c");
  EXPECT_EQ(c->ItemIndex(), 3);
  c->Events.clear();
  c->Type(L"z");
  EXPECT_TRUE(c->Events.empty());
}

// ---- Mouse ----------------------------------------------------------------------------------

TEST(ComboBoxMouse, PressOpensAndPressAgainClosesWithoutAccepting) {
  TComboScene s;
  TProbeCombo* c = s.Add(5);
  c->SetItemIndex(0);
  c->Events.clear();
  const TPoint face(30, 20);
  c->Click(face);
  EXPECT_TRUE(c->Focused());
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_FALSE(c->LBDown());
  c->ListMove(c->RowPoint(2));
  c->Click(face);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Events, EventList({"dropdown"}));
}

TEST(ComboBoxMouse, ClickOnARowAcceptsIt) {
  TComboScene s;
  TProbeCombo* c = s.Add(5);
  c->Click(TPoint(30, 20));
  ASSERT_TRUE(c->DroppedDown());
  c->Events.clear();
  const TPoint row = c->RowPoint(3);
  c->ListPress(row);
  // The press goes no further than the combo box, which takes the mouse.
  EXPECT_TRUE(c->DroppedDown());
  EXPECT_EQ(GetCaptureControl(), c);
  c->ListRelease(row);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->Events, EventList({"closeup", "click", "change"}));
}

TEST(ComboBoxMouse, PressDragReleaseSelectsAndReleaseOffTheListCancels) {
  TComboScene s;
  TProbeCombo* c = s.Add(5);
  c->SetItemIndex(1);
  // Press on the face, drag into the list: the moves come to the combo box, which holds
  // the mouse, and move the list's highlight.
  c->Press(TPoint(30, 20));
  ASSERT_TRUE(c->DroppedDown());
  c->Move(c->FromList(c->RowPoint(4)), MK_LBUTTON);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 4);
  c->Events.clear();
  c->ListRelease(c->RowPoint(4));
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_EQ(c->Events, EventList({"closeup", "click", "change"}));

  // The same drag ending beside the list gives up.
  c->Events.clear();
  c->Press(TPoint(30, 20));
  c->Move(c->FromList(c->RowPoint(2)), MK_LBUTTON);
  const TPoint beside = c->ListBox()->ClientToScreen(TPoint(c->ListBox()->Width() + 30, c->RowPoint(2).Y));
  ::SetCursorPos(beside.X, beside.Y);
  c->Release(c->ScreenToClient(beside));
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_EQ(c->Events, EventList({"dropdown"}));
}

TEST(ComboBoxMouse, DraggingBelowTheListScrollsItRowByRow) {
  TComboScene s;
  TProbeCombo* c = s.Add(20);
  c->SetDropDownCount(5);
  c->Press(TPoint(30, 20));
  ASSERT_NE(c->ListBox()->VertScrollBar(), nullptr);
  c->Move(c->FromList(c->RowPoint(4)), MK_LBUTTON);
  ASSERT_EQ(c->ListBox()->ItemIndex(), 4);
  c->Move(c->FromList(TPoint(20, c->ListBox()->Height() + 15)), MK_LBUTTON);
  for (int i = 0; i < 3; ++i) c->Perform(WM_TIMER, kaComboAutoScrollTimerID);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 7);
  EXPECT_GT(c->ListBox()->ScrollOffset(), 0);
  // Back inside, the ticks stop.
  c->Move(c->FromList(c->RowPoint(c->ListBox()->ItemIndex())), MK_LBUTTON);
  c->Perform(WM_TIMER, kaComboAutoScrollTimerID);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 7);
  c->CloseUp(false);
}

TEST(ComboBoxMouse, WheelCommitsWhileClosedAndOnlyHighlightsWhileOpen) {
  TComboScene s;
  TProbeCombo* c = s.Add(4);
  c->SetItemIndex(1);
  c->Events.clear();
  c->Wheel(-120);
  EXPECT_EQ(c->ItemIndex(), 2);
  c->Wheel(120);
  c->Wheel(120);
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Events.size(), 6u);
  c->DropDown();
  c->Events.clear();
  c->Wheel(-120);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 1);
  EXPECT_TRUE(c->Events.empty());
  c->CloseUp(false);
  EXPECT_EQ(c->ItemIndex(), 0);
}

// ---- What closes the list -------------------------------------------------------------------

TEST(ComboBoxClosing, PressesElsewhereCancelModeFocusLossAndAMovingFormCloseWithoutAccepting) {
  TComboScene s;
  TProbeCombo* c = s.Add(5);
  TProbeCombo* other = s.Add(2, 20, 100);
  c->SetItemIndex(1);
  auto open = [&] {
    c->SetFocus();
    c->DropDown();
    c->ListMove(c->RowPoint(3));
    c->Events.clear();
    ASSERT_TRUE(c->DroppedDown());
  };
  auto closedUnchanged = [&] {
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_FALSE(c->ListShown());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_TRUE(c->Events.empty());
  };
  // Presses on the combo box, its list or the list's bar are its own.
  open();
  c->Perform(WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(c->Handle()));
  c->Perform(WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(c->ListWnd()));
  c->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(c));
  c->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(c->ListBox()));
  EXPECT_TRUE(c->DroppedDown());
  c->Perform(WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(s.Form->Handle()));
  closedUnchanged();

  open();
  c->Perform(CM_CANCELMODE, 0, 0);
  closedUnchanged();
  open();
  c->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(other));
  closedUnchanged();
  open();
  other->SetFocus();
  closedUnchanged();
  // The form moves: the list would stay behind.
  open();
  s.Form->SetBounds(s.Form->Left() + 15, s.Form->Top() + 10, s.Form->Width(), s.Form->Height());
  EXPECT_TRUE(PumpUntil([&] { return !c->DroppedDown(); }, 2000));
  closedUnchanged();
  // The watch goes with the list: a move while it is closed leaves nothing behind that
  // would close it when it opens next.
  s.Form->SetBounds(s.Form->Left() - 15, s.Form->Top() - 10, s.Form->Width(), s.Form->Height());
  open();
  PumpPending();
  EXPECT_TRUE(c->DroppedDown());
  c->Key(VK_ESCAPE);
}

TEST(ComboBoxClosing, OnlyOneListIsOpenAtATime) {
  TComboScene s;
  TProbeCombo* a = s.Add(3);
  TProbeCombo* b = s.Add(3, 20, 100);
  a->DropDown();
  b->DropDown();
  EXPECT_FALSE(a->DroppedDown());
  EXPECT_FALSE(a->ListShown());
  EXPECT_TRUE(b->DroppedDown());
  // The first one's closing leaves the second one's hook and list alone.
  a->CloseUp(false);
  EXPECT_TRUE(b->DroppedDown());
  b->Perform(WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(a->Handle()));
  EXPECT_FALSE(b->DroppedDown());
}

// ---- Checked-list mode ----------------------------------------------------------------------

TEST(ComboBoxCheckedList, RowClicksToggleChecksAndTheFaceListsCheckedCaptionsInOrder) {
  TComboScene s;
  TProbeCombo* c = s.Add(0);
  c->Add({L"Red", L"", L"Green", L"Blue"});
  c->SetCheckedListMode(true);
  EXPECT_TRUE(c->ListBox()->ShowCheckBoxes());
  c->Items()->Items(1)->SetChecked(true);  // no caption: not listed
  c->DropDown();
  for (int row : {3, 0, 2, 3}) {
    c->ListMove(c->RowPoint(row));
    c->ListPress(c->RowPoint(row));
    c->ListRelease(c->RowPoint(row));
    EXPECT_TRUE(c->DroppedDown());
  }
  EXPECT_EQ(c->CheckedText(), L"Red; Green");
  EXPECT_EQ(std::count(c->Events.begin(), c->Events.end(), std::string("check")), 4);
  // Space toggles the highlighted row; arrows move only while open.
  c->ListMove(c->RowPoint(3));
  c->Key(VK_SPACE);
  EXPECT_EQ(c->CheckedText(), L"Red; Green; Blue");
  c->Events.clear();
  // Closing is always accepted.
  c->Key(VK_ESCAPE);
  EXPECT_EQ(c->Events, EventList({"closeup", "click", "change"}));
  const int selected = c->ItemIndex();
  c->Key(VK_DOWN);
  c->Wheel(-120);
  EXPECT_EQ(c->ItemIndex(), selected);
}

// ---- Bad input ------------------------------------------------------------------------------

TEST(ComboBoxBadInput, RemovedRowsAndAnEmptyListAreHandled) {
  TComboScene s;
  TProbeCombo* c = s.Add(0);
  c->DropDown();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_TRUE(c->Events.empty());
  c->Add({L"a", L"b", L"c", L"d"});
  c->SetItemIndex(2);
  // The row to go back to is deleted while the list is open: Escape leaves no selection.
  c->DropDown();
  c->Delete(2);
  c->Key(VK_ESCAPE);
  EXPECT_EQ(c->ItemIndex(), -1);
  // A row above it is deleted: the selection to go back to stays on its row.
  c->SetItemIndex(2);
  c->DropDown();
  c->Items()->Delete(0);
  c->ListMove(c->RowPoint(0));
  c->Key(VK_ESCAPE);
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Items()->Items(1)->Caption(), L"d");
  // Cleared while open: the list closes; nothing is selected and nothing crashes after.
  c->DropDown();
  c->Clear();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_FALSE(c->ListShown());
  EXPECT_EQ(c->ItemIndex(), -1);
  c->Key(VK_DOWN);
  c->Wheel(-120);
  c->Type(L"x");
  c->Shot();
  EXPECT_EQ(c->ItemIndex(), -1);
  // Out-of-range and negative values.
  c->Add({L"x", L"y"});
  c->SetItemIndex(1);
  c->SetItemIndex(5);
  EXPECT_EQ(c->ItemIndex(), 1);
  c->SetItemIndex(-1);
  EXPECT_EQ(c->ItemIndex(), -1);
}

TEST(ComboBoxBadInput, DestroyingWhileOpenRemovesHookAndList) {
  TComboScene s;
  const int windows = ThreadWindowCount();
  TProbeCombo* c = s.Add(4);
  c->DropDown();
  ASSERT_TRUE(c->DroppedDown());
  const HWND list = c->ListWnd();
  c->Free();
  PumpPending();
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_EQ(ThreadWindowCount(), windows);
  // The hook's combo box is gone: a new one opens and closes normally.
  TProbeCombo* d = s.Add(2);
  d->DropDown();
  d->Perform(WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(s.Form->Handle()));
  EXPECT_FALSE(d->DroppedDown());
}

// ---- Scaling --------------------------------------------------------------------------------

TEST(ComboBoxScaling, At144DpiRowsFontsListAndButtonScale) {
  TComboScene s;
  TProbeCombo* c = s.Add(3);
  c->SetStyle(kacbPushButton);
  c->SetListBoxItemHeight(40);
  c->SetListBoxWidth(200);
  c->TitleFont()->SetHeight(-11);
  c->DetailFont()->SetHeight(-11);
  c->SetParentFont(false);
  c->Font()->SetHeight(-11);
  c->ScaleForPPI(144);
  EXPECT_EQ(c->ListBoxItemHeight(), 60);
  EXPECT_EQ(c->ListBoxWidth(), 300);
  EXPECT_EQ(c->TitleFont()->Height(), -17);
  EXPECT_EQ(c->DetailFont()->Height(), -17);
  EXPECT_EQ(c->Font()->Height(), -17);
  EXPECT_EQ(c->Width(), 180);
  c->Shot();
  EXPECT_EQ(c->Button.R.Width(), Round(17 * 1.5) + 1);
  c->DropDown();
  EXPECT_EQ(c->ListRect().Width(), 300);
  EXPECT_EQ(c->ListRect().Height(), 3 * 60 + 4);
  EXPECT_EQ(c->ListBox()->Font()->Height(), -17);
  c->CloseUp(false);
  c->SetStyle(kacbCombo);
  c->Shot();
  EXPECT_EQ(c->Button.R.Width(), ScrollBarWidth(144) + 1);
}

// ---- Layouts --------------------------------------------------------------------------------

}  // namespace

// A form whose layout binds the combo box's OnChange to its handler, as the demo's does.
class TComboLayoutForm : public TCustomForm {
  KA_CLASS(TComboLayoutForm, TCustomForm)
 public:
  explicit TComboLayoutForm(TComponent* AOwner) : TCustomForm(AOwner, false) {}
  TkaAdvancedComboBox* kaAdvancedComboBox1 = nullptr;
  int Changes = 0;
  void kaAdvancedComboBox1Change(TObject*) { ++Changes; }
};
KA_REGISTER_CLASS(TComboLayoutForm, [](auto& c) {
  c.Handler(L"kaAdvancedComboBox1Change", &TComboLayoutForm::kaAdvancedComboBox1Change);
  c.Field(L"kaAdvancedComboBox1", &TComboLayoutForm::kaAdvancedComboBox1);
});

namespace {

TEST(ComboBoxLayout, TheDemosBackdropChooserReadsWithItsFourRows) {
  auto* form = new TComboLayoutForm(nullptr);
  form->AfterConstruction();
  ReadLayout(form,
             "object Form: TComboLayoutForm\n"
             "  Width = 500\n"
             "  Height = 300\n"
             "  object kaAdvancedComboBox1: TkaAdvancedComboBox\n"
             "    Left = 29\n"
             "    Top = 31\n"
             "    Width = 396\n"
             "    Height = 52\n"
             "    ItemIndex = 3\n"
             "    DropDownCount = 7\n"
             "    Style = kacbPushButton\n"
             "    ShowItemTitle = True\n"
             "    ShowItemImage = True\n"
             "    ShowItemText = True\n"
             "    ShowItemDetail = True\n"
             "    DetailPosition = kalbdBottom\n"
             "    DetailWordWrap = False\n"
             "    TitleFont.Height = -11\n"
             "    TitleFont.Style = [fsBold]\n"
             "    TitleFont.Color = clWindowText\n"
             "    DetailFont.Height = -11\n"
             "    DetailFont.Color = clGrayText\n"
             "    ListBoxItemHeight = 40\n"
             "    ListBoxHeaderHeight = 20\n"
             "    ListBoxShowLines = False\n"
             "    ListBoxLineColor = clBtnFace\n"
             "    SelectionStyle = kaastStyled\n"
             "    ListBoxSelectionStyle = kaastStyled\n"
             "    SelectionTextColor = clHighlightText\n"
             "    Items = <\n"
             "      item\n"
             "        Caption = 'kafuibNone'\n"
             "        Detail = 'Blur Background is Disabled'\n"
             "      end\n"
             "      item\n"
             "        Caption = 'kafuibBlur'\n"
             "        Detail = 'Blur Background is Enabled'\n"
             "      end\n"
             "      item\n"
             "        Caption = 'kafuibAcrylic'\n"
             "        Detail = 'Acrylic Background is Enabled'\n"
             "      end\n"
             "      item\n"
             "        Caption = 'kafuibAcrylicBlurAuto'\n"
             "        Detail = 'Background is adjusted regarding best performance and Windows version'\n"
             "      end>\n"
             "    OnChange = kaAdvancedComboBox1Change\n"
             "  end\n"
             "end\n",
             L"COMBOBOX");
  TkaAdvancedComboBox* c = form->kaAdvancedComboBox1;
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Items()->Count(), 4);
  // The selection is written before the rows: it holds once both are in, without an event.
  EXPECT_EQ(form->Changes, 0);
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->BoundsRect(), Bounds(29, 31, 396, 52));
  EXPECT_EQ(c->Style(), kacbPushButton);
  EXPECT_TRUE(c->ShowItemDetail());
  EXPECT_EQ(c->DetailPosition(), kalbdBottom);
  EXPECT_EQ(c->ListBoxItemHeight(), 40);
  EXPECT_EQ(c->ListBoxHeaderHeight(), 20);
  EXPECT_EQ(c->TitleFont()->Style(), TFontStyles{fsBold});
  EXPECT_EQ(c->TitleFont()->Height(), -11);
  EXPECT_EQ(c->DetailFont()->Color(), clGrayText);
  const wchar_t* captions[4] = {L"kafuibNone", L"kafuibBlur", L"kafuibAcrylic", L"kafuibAcrylicBlurAuto"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(c->Items()->Items(i)->Caption(), captions[i]);
  EXPECT_EQ(c->Items()->Items(3)->Detail(), L"Background is adjusted regarding best performance and Windows version");
  c->SetItemIndex(1);
  EXPECT_EQ(form->Changes, 1);
  for (const wchar_t* name : {L"TkaAdvancedComboBox", L"TkaAdvancedCustomComboBox", L"TkaAdvancedCustomCombo"})
    EXPECT_NE(FindClassInfo(name), nullptr) << ToUtf8(name);
  EXPECT_TRUE(EnumInfoOf<TkaAdvancedComboStyle>().Registered());
  EXPECT_TRUE(EnumInfoOf<TkaDropDownPosition>().Registered());
  form->Free();
}

}  // namespace

// ---- The drop-down as a real window ---------------------------------------------------------

namespace {

// A press and release of the left button at a screen point, as the user gives them: through
// the system's input queue, seen by low-level hooks.
void RealClick(TPoint Screen) {
  ::SetCursorPos(Screen.X, Screen.Y);
  PumpPending();
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, input, sizeof(INPUT));
}

void Settle(DWORD Ms) {
  const DWORD until = ::GetTickCount() + Ms;
  PumpUntil([&] { return static_cast<LONG>(::GetTickCount() - until) >= 0; }, Ms + 1000);
}

// A combo box on a form with a styled form, the form activated; the styled form's activity
// changes are recorded.
struct TRealScene {
  TCustomForm* Form;
  TkaStyledForm* Styled;
  TProbeCombo* Combo;
  std::vector<bool> ActiveChanges;
  TRealScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 400, 300);
    // The styled form hears the form's activation from the first show on.
    Styled = Construct<TkaStyledForm>(Form);
    Styled->OnChangeActive = [this](TObject*) { ActiveChanges.push_back(Form->Active()); };
    Combo = new TProbeCombo(Form);
    Combo->SetBounds(30, 30, 200, 41);
    Combo->SetParent(Form);
    for (int i = 0; i < 6; ++i) Combo->Add(L"Item " + std::to_wstring(i));
    Form->Show();
    ::SetActiveWindow(Form->Handle());
    PumpUntil([&] { return ::GetActiveWindow() == Form->WindowHandle(); }, 2000);
    Settle(150);
    Combo->SetFocus();
    PumpPending();
    ActiveChanges.clear();
  }
  ~TRealScene() {
    Form->Free();
    PumpPending();
  }
  TRealScene(const TRealScene&) = delete;
  TRealScene& operator=(const TRealScene&) = delete;
  TPoint FaceCentre() { return Combo->ClientToScreen(TPoint(60, 20)); }
  TPoint RowCentre(int Index) { return Combo->ListBox()->ClientToScreen(Combo->RowPoint(Index)); }
  bool FormLooksActive() {
    return ::GetActiveWindow() == Form->WindowHandle() && Form->Active() && Styled->IsFormActive();
  }
};

TEST(ComboBoxRealWindow, ThePopupNeverTakesActivationFromTheForm) {
  TRealScene s;
  ASSERT_TRUE(s.FormLooksActive());
  s.Combo->SetItemIndex(1);
  s.Combo->Events.clear();
  RealClick(s.FaceCentre());
  ASSERT_TRUE(PumpUntil([&] { return s.Combo->ListShown(); }, 3000));
  Settle(200);
  EXPECT_TRUE(s.FormLooksActive());
  EXPECT_TRUE(s.Combo->Focused());
  const LONG ex = ::GetWindowLongW(s.Combo->ListWnd(), GWL_EXSTYLE);
  EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0);
  // A click on a row takes it without the form ever looking inactive.
  RealClick(s.RowCentre(4));
  ASSERT_TRUE(PumpUntil([&] { return !s.Combo->DroppedDown(); }, 3000));
  Settle(200);
  EXPECT_EQ(s.Combo->ItemIndex(), 4);
  EXPECT_EQ(s.Combo->Events, EventList({"dropdown", "closeup", "click", "change"}));
  EXPECT_TRUE(s.FormLooksActive());
  EXPECT_TRUE(s.ActiveChanges.empty());
}

TEST(ComboBoxRealWindow, AClickOnAnyOtherWindowClosesTheListWithoutAccepting) {
  TRealScene s;
  // A window of the desktop that takes no activation: only the press itself can tell.
  const HWND other = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 650, 150, 120,
                                       80, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  ::ShowWindow(other, SW_SHOWNOACTIVATE);
  PumpPending();
  ASSERT_TRUE(s.FormLooksActive());
  for (int i = 6; i < 20; ++i) s.Combo->Add(L"Item " + std::to_wstring(i));
  s.Combo->SetItemIndex(2);
  s.Combo->DropDown();
  ASSERT_TRUE(s.Combo->ListShown());
  s.Combo->ListMove(s.Combo->RowPoint(5));
  s.Combo->Events.clear();
  // A click on the list's scroll bar is the list's own: it scrolls and stays open...
  TkaScrollBar* bar = s.Combo->ListBox()->VertScrollBar();
  ASSERT_NE(bar, nullptr);
  RealClick(bar->ClientToScreen(TPoint(bar->Width() / 2, bar->Height() - 5)));
  EXPECT_TRUE(PumpUntil([&] { return s.Combo->ListBox()->ScrollOffset() > 0; }, 3000));
  Settle(100);
  EXPECT_TRUE(s.Combo->DroppedDown());
  EXPECT_TRUE(s.Combo->Focused());
  // ...one on the other window closes it.
  RealClick(TPoint(700, 190));
  EXPECT_TRUE(PumpUntil([&] { return !s.Combo->DroppedDown(); }, 3000));
  EXPECT_FALSE(s.Combo->ListShown());
  EXPECT_EQ(s.Combo->ItemIndex(), 2);
  EXPECT_TRUE(s.Combo->Events.empty());
  EXPECT_TRUE(s.FormLooksActive());
  ::DestroyWindow(other);
}

TEST(ComboBoxRealWindow, TheListBelongsToTheFormAlsoAfterTheFormIsMadeAnew) {
  TRealScene s;
  auto owner = [&] { return ::GetWindow(s.Combo->ListWnd(), GW_OWNER); };
  EXPECT_EQ(owner(), s.Form->Handle());
  EXPECT_EQ(::GetWindowLongW(s.Combo->ListWnd(), GWL_STYLE) & (WS_POPUP | WS_CHILD), WS_POPUP);
  // Made anew while the list is open: the list is given up with its window.
  s.Combo->DropDown();
  s.Form->RecreateWnd();
  PumpPending();
  EXPECT_FALSE(s.Combo->DroppedDown());
  EXPECT_FALSE(s.Combo->ListShown());
  EXPECT_EQ(s.Combo->ListBox()->Parent(), s.Combo);
  EXPECT_EQ(owner(), s.Form->Handle());
  EXPECT_EQ(::GetWindowLongW(s.Combo->ListWnd(), GWL_STYLE) & (WS_POPUP | WS_CHILD), WS_POPUP);
  // The demo's handler makes the form anew from OnChange, inside the click that chose the
  // row; the combo box goes on working on the new window.
  s.Combo->OnChange = [&](TObject*) { s.Form->RecreateWnd(); };
  s.Combo->DropDown();
  s.Combo->ListMove(s.Combo->RowPoint(3));
  s.Combo->ListPress(s.Combo->RowPoint(3));
  s.Combo->ListRelease(s.Combo->RowPoint(3));
  PumpPending();
  EXPECT_EQ(s.Combo->ItemIndex(), 3);
  EXPECT_EQ(owner(), s.Form->Handle());
  s.Combo->DropDown();
  ASSERT_TRUE(s.Combo->ListShown());
  const TPoint under = s.Combo->ClientToScreen(TPoint(0, s.Combo->Height()));
  EXPECT_EQ(s.Combo->ListRect().TopLeft(), under);
  s.Combo->Key(VK_ESCAPE);
  EXPECT_FALSE(s.Combo->ListShown());
}

}  // namespace
