// The advanced list box's behaviour: scroll information and the child scroll bar, selection
// by mouse, keys and typing, filtering, removal and sorting of rows, check box and button
// clicks, headers, and bad input.
#include <gtest/gtest.h>

#include <vector>

#include "tests/lib/kaAdvancedControls/ListBoxTesting.h"

namespace {

// Rows "H0", "a1".."a3", header "H4", "b5".."b20" (headers at 0 and 4).
void AddGroups(TkaAdvancedListBox* L) {
  L->BeginUpdateItems();
  L->Add(L"H0");
  for (int i = 1; i <= 3; ++i) L->Add(L"a" + std::to_wstring(i));
  L->Add(L"H4");
  for (int i = 5; i <= 20; ++i) L->Add(L"b" + std::to_wstring(i));
  L->Items()->Items(0)->SetHeader(true);
  L->Items()->Items(4)->SetHeader(true);
  L->EndUpdateItems();
}

int CenterY(TProbeListBox* L, int Index) {
  const TRect r = L->Row(Index);
  return (r.Top + r.Bottom) / 2;
}

// ---- Scrolling ------------------------------------------------------------------------------

TEST(ListBoxScrolling, TenRowsOfThirtyInA150ListScrollBy154) {
  TListScene s;
  TProbeListBox* l = s.Add(10);
  int mn = -1, mx = -1, page = -1, pos = -1;
  l->GetScrollInfo(mn, mx, page, pos);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 299);
  EXPECT_EQ(page, 146);
  EXPECT_EQ(pos, 0);
  ASSERT_NE(l->VertScrollBar(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(l->VertScrollBar()->WindowHandle()));
  // The bar sits inside the border at the right and the rows end where it starts.
  const TRect bar = l->VertScrollBar()->BoundsRect();
  EXPECT_EQ(bar.Right, 148);
  EXPECT_EQ(bar.Top, 2);
  EXPECT_EQ(bar.Bottom, 148);
  EXPECT_EQ(l->ItemsRect(), TRect(2, 2, bar.Left, 148));
  EXPECT_EQ(l->VertScrollBar()->Max(), 299);
  EXPECT_EQ(l->VertScrollBar()->PageSize(), 146);
  EXPECT_EQ(l->VertScrollBar()->SmallChange(), 30);
  EXPECT_EQ(l->VertScrollBar()->LargeChange(), 146);
  l->ScrollToItem(9);
  EXPECT_EQ(l->Offset(), 154);
  EXPECT_EQ(l->VertScrollBar()->Position(), 154);
  EXPECT_EQ(l->Row(9).Bottom, 148);
  // Offsets outside the content are clamped.
  l->Scroll(100000);
  EXPECT_EQ(l->Offset(), 154);
  l->Scroll(-20);
  EXPECT_EQ(l->Offset(), 0);
  // Scrolling up to a row puts it at the top.
  l->Scroll(154);
  l->ScrollToItem(2);
  EXPECT_EQ(l->Offset(), 60);
}

TEST(ListBoxScrolling, TheBarShowsExactlyWhileTheContentIsTallerThanTheView) {
  struct TCase {
    int ItemHeight, Rows;
    bool Bar;
  };
  // The view is 146 high.
  const TCase cases[] = {{73, 2, false}, {49, 3, true}, {146, 1, false}, {147, 1, true}, {30, 4, false}, {30, 5, true}};
  TListScene s;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.ItemHeight) + " x " + std::to_string(c.Rows));
    TProbeListBox* l = s.Add(c.Rows);
    l->SetItemHeight(c.ItemHeight);
    EXPECT_EQ(l->VertScrollBar() != nullptr, c.Bar);
    l->Free();
  }
}

TEST(ListBoxScrolling, RowsAddedAndRemovedBringAndTakeTheBar) {
  TListScene s;
  TProbeListBox* l = s.Add(4);
  EXPECT_EQ(l->VertScrollBar(), nullptr);
  l->Add(L"fifth");
  ASSERT_NE(l->VertScrollBar(), nullptr);
  l->ScrollToItem(4);
  EXPECT_EQ(l->Offset(), 4);
  l->Delete(4);
  EXPECT_EQ(l->VertScrollBar(), nullptr);
  EXPECT_EQ(l->Offset(), 0);
  EXPECT_EQ(l->ItemsRect(), TRect(2, 2, 148, 148));
  // A header is shorter: four rows and a header fit.
  l->Add(L"group");
  l->Items()->Items(4)->SetHeader(true);
  EXPECT_EQ(l->VertScrollBar(), nullptr);
  l->Items()->Items(4)->SetHeader(false);
  EXPECT_NE(l->VertScrollBar(), nullptr);
  l->Clear();
  EXPECT_EQ(l->VertScrollBar(), nullptr);
}

TEST(ListBoxScrolling, WheelPanAndResizeMoveTheViewWithinTheContent) {
  TListScene s;
  TProbeListBox* l = s.Add(10);
  l->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(l->Offset(), 30);
  l->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);  // one step per message
  EXPECT_EQ(l->Offset(), 60);
  l->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(l->Offset(), 30);
  l->Pan(100, true);
  l->Pan(60, false);
  EXPECT_EQ(l->Offset(), 70);
  l->Pan(90, false);
  EXPECT_EQ(l->Offset(), 40);
  // A taller list pulls the content down instead of leaving room under the last row.
  l->ScrollToItem(9);
  l->SetHeight(250);
  PumpPending();
  EXPECT_EQ(l->Offset(), 54);
  l->SetHeight(400);
  PumpPending();
  EXPECT_EQ(l->Offset(), 0);
  EXPECT_EQ(l->VertScrollBar(), nullptr);
  l->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(l->Offset(), 0);
}

// ---- Selection ------------------------------------------------------------------------------

TEST(ListBoxSelection, AClickSelectsOnPressAndFiresTheClickOnceOnRelease) {
  TListScene s;
  TProbeListBox* l = s.Add(4);
  int rowClicks = 0;
  l->Items()->Items(2)->OnClick = [&](TObject* Sender) {
    ++rowClicks;
    EXPECT_EQ(Sender, l->Items()->Items(2));
  };
  l->Press(20, CenterY(l, 2));
  EXPECT_TRUE(l->Focused());
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_TRUE(l->Items()->Items(2)->Active());
  EXPECT_EQ(l->ItemClicks, 0);
  l->Release(20, CenterY(l, 2));
  EXPECT_EQ(l->ItemClicks, 1);
  EXPECT_EQ(rowClicks, 1);
  // Dragging over the rows selects as it goes and clicks once at the end.
  l->Press(20, CenterY(l, 0));
  l->Move(20, CenterY(l, 1), MK_LBUTTON);
  EXPECT_EQ(l->ItemIndex(), 1);
  l->Move(20, CenterY(l, 3), MK_LBUTTON);
  EXPECT_EQ(l->ItemIndex(), 3);
  l->Release(20, CenterY(l, 3));
  EXPECT_EQ(l->ItemClicks, 2);
  // Without a press, moving selects only with MouseMoveChangeIndex, and fires nothing.
  l->Move(20, CenterY(l, 0));
  EXPECT_EQ(l->ItemIndex(), 3);
  l->SetMouseMoveChangeIndex(true);
  l->Move(20, CenterY(l, 0));
  EXPECT_EQ(l->ItemIndex(), 0);
  EXPECT_EQ(l->ItemClicks, 2);
  // Below the last row there is no row to take.
  l->Click(20, 140);
  EXPECT_EQ(l->ItemIndex(), 0);
}

TEST(ListBoxSelection, APressDraggedOutOfTheViewKeepsSelectingOnTheTimer) {
  TListScene s;
  TProbeListBox* l = s.Add(20);
  l->Press(20, CenterY(l, 3));
  l->Move(20, 200, MK_LBUTTON);
  for (int tick = 1; tick <= 3; ++tick) {
    l->Perform(WM_TIMER, kaListAutoScrollTimerID, 0);
    EXPECT_EQ(l->ItemIndex(), 3 + tick);
  }
  EXPECT_EQ(l->Row(6).Bottom, 148);  // scrolled along
  l->Move(20, -10, MK_LBUTTON);
  l->Perform(WM_TIMER, kaListAutoScrollTimerID, 0);
  EXPECT_EQ(l->ItemIndex(), 5);
  // Back in the view the timer stops; a late tick changes nothing.
  l->Move(20, CenterY(l, 5), MK_LBUTTON);
  l->Perform(WM_TIMER, kaListAutoScrollTimerID, 0);
  EXPECT_EQ(l->ItemIndex(), 5);
  EXPECT_EQ(l->ItemClicks, 0);
  l->Release(20, CenterY(l, 5));
  EXPECT_EQ(l->ItemClicks, 1);
}

TEST(ListBoxSelection, RightClicksSelectOnlyWhenAskedTo) {
  TListScene s;
  TProbeListBox* l = s.Add(5);
  l->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, CenterY(l, 1)));
  EXPECT_EQ(l->ItemIndex(), -1);
  l->SetRightClickSupport(true);
  l->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, CenterY(l, 1)));
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_EQ(l->ItemClicks, 1);
}

TEST(ListBoxSelection, ArrowHomeAndEndKeysMoveOverSelectableRowsAndClickEachStep) {
  TListScene s;
  TProbeListBox* l = s.Add();
  AddGroups(l);
  l->Items()->Items(2)->SetEnabled(false);
  l->SetFocus();
  const struct {
    WORD Key;
    int Index;
  } steps[] = {{VK_DOWN, 1}, {VK_DOWN, 3}, {VK_RIGHT, 5}, {VK_UP, 3},   {VK_LEFT, 1},
               {VK_UP, 1},   {VK_END, 20}, {VK_DOWN, 20}, {VK_HOME, 1}};
  int clicks = 0;
  for (const auto& step : steps) {
    const int before = l->ItemIndex();
    l->Key(step.Key);
    EXPECT_EQ(l->ItemIndex(), step.Index) << "key " << step.Key;
    clicks += before != step.Index;
    EXPECT_EQ(l->ItemClicks, clicks);
  }
}

TEST(ListBoxSelection, PageKeysStopAtTheEdgeOfAGroup) {
  TListScene s;
  TProbeListBox* l = s.Add();
  AddGroups(l);
  struct TCase {
    int From;
    WORD Key;
    int To;
  };
  // A page is 146 / 30 = 4 rows; the walk covers five.
  const TCase cases[] = {{3, VK_NEXT, 5},  {5, VK_NEXT, 10},  {18, VK_NEXT, 20}, {10, VK_PRIOR, 5},
                         {5, VK_PRIOR, 3}, {2, VK_PRIOR, 1},  {-1, VK_NEXT, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.From) + " key " + std::to_string(c.Key));
    l->InitItemIndex(c.From);
    l->Key(c.Key);
    EXPECT_EQ(l->ItemIndex(), c.To);
  }
}

TEST(ListBoxSelection, HeaderDisabledAndOutOfRangeIndexesChangeNothing) {
  TListScene s;
  TProbeListBox* l = s.Add();
  AddGroups(l);
  l->Items()->Items(2)->SetEnabled(false);
  l->SetItemIndex(1);
  ASSERT_EQ(l->ItemClicks, 1);
  for (int bad : {0, 2, 4, 21, 1000}) {
    SCOPED_TRACE(bad);
    l->SetItemIndex(bad);
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->ItemClicks, 1);
  }
  // A click on a header or a disabled row selects nothing either.
  l->Click(20, CenterY(l, 0));
  l->Click(20, CenterY(l, 2));
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_EQ(l->ItemAtPos(20, CenterY(l, 2)), -1);
  EXPECT_EQ(l->ItemAtPos(20, CenterY(l, 0)), 0);
  l->SetItemIndex(-7);
  EXPECT_EQ(l->ItemIndex(), -1);
  l->InitItemIndex(1000);
  EXPECT_EQ(l->ItemIndex(), -1);
  l->InitItemIndex(5);
  EXPECT_EQ(l->ItemIndex(), 5);
  EXPECT_EQ(l->ItemClicks, 1);
}

TEST(ListBoxSelection, TypingSearchesByPrefixUntilASecondOfSilence) {
  TListScene s;
  TProbeListBox* l = s.Add();
  l->Add({L"apple", L"abc", L"abacus", L"About", L"banana", L"Berry"});
  l->Items()->Items(1)->SetEnabled(false);
  l->SetFocus();
  l->Type(L"ab");
  EXPECT_EQ(l->ItemIndex(), 2);  // "a" found "apple"; the disabled "abc" is passed over
  l->Type(L"o");
  EXPECT_EQ(l->ItemIndex(), 3);  // case does not matter
  EXPECT_EQ(l->ItemClicks, 3);
  // The search string ends after a second without keys.
  PumpUntil([] { return false; }, 1200);
  l->Type(L"b");
  EXPECT_EQ(l->ItemIndex(), 4);
  l->EndOfSearch();
  l->Type(L"b");
  EXPECT_EQ(l->ItemIndex(), 4);
  // Without AutoComplete each letter finds the next row starting with it, wrapping.
  l->SetAutoComplete(false);
  l->Type(L"b");
  EXPECT_EQ(l->ItemIndex(), 5);
  l->Type(L"b");
  EXPECT_EQ(l->ItemIndex(), 4);
  EXPECT_EQ(l->NextIndex(L"Z"), -1);
  // Characters up to '!' do not search.
  l->Type(L"!");
  EXPECT_EQ(l->ItemIndex(), 4);
}

TEST(ListBoxSelection, FindersCompareWithoutCase) {
  TListScene s;
  TProbeListBox* l = s.Add();
  l->Add({L"Alpha", L"Group", L"beta"});
  l->Items()->Items(1)->SetHeader(true);
  l->Items()->Items(2)->SetTitle(L"Second");
  l->Items()->Items(2)->SetDetail(L"More text");
  EXPECT_EQ(l->IndexOfCaption(L"ALPHA", false), 0);
  EXPECT_EQ(l->IndexOfCaption(L"alp", false), -1);
  EXPECT_EQ(l->IndexOfCaption(L"alp", true), 0);
  EXPECT_EQ(l->IndexOfCaption(L"group", false), -1);  // headers are not captions to find
  EXPECT_EQ(l->IndexOfTitle(L"sec", true), 2);
  EXPECT_EQ(l->IndexOfDetail(L"more TEXT", false), 2);
  EXPECT_EQ(l->IndexOfDetail(L"", false), 0);
}

// ---- Filtering ------------------------------------------------------------------------------

TEST(ListBoxFilter, ANonMatchingFilterLeavesHeadersAndClearingItScrollsToTheTop) {
  TListScene s;
  TProbeListBox* l = s.Add();
  AddGroups(l);
  l->Scroll(200);
  ASSERT_GT(l->Offset(), 0);
  l->SetFilter(L"zzz");
  EXPECT_EQ(l->VisibleRowCount(), 2);
  EXPECT_EQ(l->VertScrollBar(), nullptr);
  EXPECT_TRUE(l->Items()->Items(4)->IsFilterVisible());
  EXPECT_FALSE(l->Items()->Items(5)->IsFilterVisible());
  EXPECT_TRUE(l->Items()->Items(5)->ItemRect().IsEmpty());
  EXPECT_EQ(l->Row(4).Top, 22);  // right under the first header
  l->SetFilter(L"b");
  l->Scroll(100);
  ASSERT_EQ(l->Offset(), 100);
  l->SetFilter(L"");
  EXPECT_EQ(l->Offset(), 0);
  EXPECT_EQ(l->VisibleRowCount(), 21);
}

TEST(ListBoxFilter, TitlesAndDetailsCountOnlyWhileShown) {
  TListScene s;
  TProbeListBox* l = s.Add();
  l->Add({L"one", L"two"});
  l->Items()->Items(0)->SetTitle(L"Fruit");
  l->Items()->Items(1)->SetDetail(L"fruity");
  struct TCase {
    bool Titles, Details;
    int Rows;
  };
  const TCase cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}, {true, true, 2}};
  l->SetFilter(L"FRUIT");
  for (const TCase& c : cases) {
    l->SetShowItemTitles(c.Titles);
    l->SetShowItemDetails(c.Details);
    EXPECT_EQ(l->VisibleRowCount(), c.Rows) << c.Titles << c.Details;
  }
  // A caption that comes to match shows its row.
  l->Items()->Items(0)->SetCaption(L"grapefruit");
  l->SetShowItemTitles(false);
  l->SetShowItemDetails(false);
  EXPECT_EQ(l->VisibleRowCount(), 1);
  EXPECT_TRUE(l->Items()->Items(0)->IsVisible());
}

TEST(ListBoxFilter, AHiddenSelectionStaysButNothingHiddenIsReachable) {
  TListScene s;
  TProbeListBox* l = s.Add(12);
  l->SetItemIndex(5);
  l->SetFilter(L"1");  // Item 1, Item 10, Item 11
  EXPECT_EQ(l->ItemIndex(), 5);
  EXPECT_FALSE(l->Items()->Items(5)->IsFilterVisible());
  EXPECT_EQ(l->Offset(), 0);
  // Rows show in filter order; hit tests, keys and typing reach only them.
  EXPECT_EQ(l->ItemAtPos(20, 2 + 30 + 15), 10);
  EXPECT_EQ(l->ItemAtPos(20, 2 + 90 + 15), -1);
  l->SetFocus();
  l->Key(VK_DOWN);
  EXPECT_EQ(l->ItemIndex(), 10);
  l->Key(VK_UP);
  EXPECT_EQ(l->ItemIndex(), 1);
  l->Key(VK_UP);
  EXPECT_EQ(l->ItemIndex(), 1);
  l->Type(L"item 3");
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_EQ(l->NextIndex(L"item 2"), -1);
  l->SetFilter(L"");
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_TRUE(l->Items()->Items(1)->Active());
}

// ---- Rows -----------------------------------------------------------------------------------

TEST(ListBoxRows, TheSelectionStaysWithItsRowWhenRowsComeAndGo) {
  TListScene s;
  TProbeListBox* l = s.Add(6);
  l->SetItemIndex(3);
  l->Delete(0);
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_EQ(l->Items()->Items(2)->Caption(), L"Item 3");
  l->Items()->Insert(0)->SetCaption(L"new");
  EXPECT_EQ(l->ItemIndex(), 3);
  EXPECT_TRUE(l->Items()->Items(3)->Active());
  l->Items()->Insert(4);
  EXPECT_EQ(l->ItemIndex(), 3);
  // Deleting the selected row, in the middle or last, leaves no selection.
  l->Delete(3);
  EXPECT_EQ(l->ItemIndex(), -1);
  l->SetItemIndex(l->Items()->Count() - 1);
  l->Delete(l->Items()->Count() - 1);
  EXPECT_EQ(l->ItemIndex(), -1);
  // Indexes outside the list are ignored.
  const int count = l->Items()->Count();
  l->Delete(-1);
  l->Delete(count);
  EXPECT_EQ(l->Items()->Count(), count);
  l->SetItemIndex(1);
  l->Clear();
  EXPECT_EQ(l->ItemIndex(), -1);
  EXPECT_EQ(l->Items()->Count(), 0);
  l->SetItemIndex(0);
  EXPECT_EQ(l->ItemIndex(), -1);
}

TEST(ListBoxRows, SortIsOrdinalAndKeepsTheSelectedRow) {
  TListScene s;
  TProbeListBox* l = s.Add();
  l->Add({L"b", L"a", L"C", L"a"});
  l->Items()->Items(1)->SetTag(1);
  l->Items()->Items(3)->SetTag(2);
  l->SetItemIndex(0);
  l->Sort();
  std::vector<String> captions;
  for (int i = 0; i < l->Items()->Count(); ++i) captions.push_back(l->Items()->Items(i)->Caption());
  EXPECT_EQ(captions, (std::vector<String>{L"C", L"a", L"a", L"b"}));
  // Equal captions keep their order.
  EXPECT_EQ(l->Items()->Items(1)->Tag(), 1);
  EXPECT_EQ(l->Items()->Items(2)->Tag(), 2);
  EXPECT_EQ(l->ItemIndex(), 3);
  EXPECT_EQ(l->ItemClicks, 1);
}

TEST(ListBoxRows, ItemValuesAndTheirLimits) {
  TListScene s;
  TProbeListBox* l = s.Add(1);
  TkaAdvancedListItem* item = l->Items()->Items(0);
  EXPECT_FALSE(item->HasVisibleButton());
  EXPECT_FALSE(item->HasProgressBar());
  item->SetIndent(2);
  item->SetIndent(-1);
  EXPECT_EQ(item->Indent(), 2);
  item->Button()->SetWidth(10);
  item->Button()->SetHeight(-4);
  EXPECT_EQ(item->Button()->Width(), 50);
  EXPECT_EQ(item->Button()->Height(), 25);
  l->SetIndentMargin(4);
  l->SetItemHeight(0);
  l->SetHeaderHeight(-3);
  EXPECT_EQ(l->IndentMargin(), 10);
  EXPECT_EQ(l->ItemHeight(), 30);
  EXPECT_EQ(l->HeaderHeight(), 20);
  // Assign copies what a row shows but not its detail, indent, button or progress bar.
  TkaAdvancedListItem* copy = l->Items()->Add();
  item->SetCaption(L"c");
  item->SetTitle(L"t");
  item->SetDetail(L"d");
  item->SetChecked(true);
  item->SetCustomColor(clRed);
  item->SetCustomColorAlpha(100);
  item->SetTag(7);
  item->Button()->SetVisible(true);
  item->ProgressBar()->SetValue(40);
  copy->Assign(item);
  EXPECT_EQ(copy->Caption(), L"c");
  EXPECT_EQ(copy->Title(), L"t");
  EXPECT_EQ(copy->Detail(), L"");
  EXPECT_TRUE(copy->Checked());
  EXPECT_EQ(copy->CustomColor(), clRed);
  EXPECT_EQ(copy->CustomColorAlpha(), 100);
  EXPECT_EQ(copy->Tag(), 7);
  EXPECT_EQ(copy->Indent(), 0);
  EXPECT_FALSE(copy->HasVisibleButton());
  EXPECT_FALSE(copy->HasProgressBar());
}

// ---- Check boxes and buttons ----------------------------------------------------------------

TEST(ListBoxClicks, TheCheckColumnTogglesOnlyTheRowThatWasSelected) {
  TListScene s;
  TProbeListBox* l = s.Add(4);
  l->SetShowCheckBoxes(true);
  int rowChecks = 0;
  l->Items()->Items(1)->OnCheckClick = [&](TObject*) { ++rowChecks; };
  l->Click(100, CenterY(l, 1));
  ASSERT_EQ(l->ItemIndex(), 1);
  l->Click(10, CenterY(l, 1));
  EXPECT_TRUE(l->Items()->Items(1)->Checked());
  EXPECT_EQ(l->CheckClicks, 1);
  EXPECT_EQ(rowChecks, 1);
  // On another row the first click only selects it.
  l->Click(10, CenterY(l, 2));
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_FALSE(l->Items()->Items(2)->Checked());
  // Outside the column nothing toggles; the column follows the indent.
  l->Click(100, CenterY(l, 2));
  EXPECT_FALSE(l->Items()->Items(2)->Checked());
  l->Items()->Items(2)->SetIndent(3);
  l->Click(10, CenterY(l, 2));
  EXPECT_FALSE(l->Items()->Items(2)->Checked());
  l->Click(35, CenterY(l, 2));
  EXPECT_TRUE(l->Items()->Items(2)->Checked());
  // Releasing Space toggles the selected row.
  l->SetFocus();
  l->Key(VK_SPACE);
  EXPECT_FALSE(l->Items()->Items(2)->Checked());
  EXPECT_EQ(l->CheckClicks, 3);
  EXPECT_EQ(l->ItemClicks, 6);
}

TEST(ListBoxClicks, AnItemButtonIsHotUnderThePointerAndClicksOnARelease) {
  TListScene s;
  TProbeListBox* l = s.Add(4);
  TkaAdvancedListItem* item = l->Items()->Items(1);
  item->Button()->SetVisible(true);
  item->Button()->SetCaption(L"Go");
  int rowButton = 0;
  item->OnButtonClick = [&](TObject*) { ++rowButton; };
  const TRect b = l->ButtonAt(1);
  ASSERT_FALSE(b.IsEmpty());
  EXPECT_EQ(b, TRect(148 - 4 - 2 - 50, 32 + 15 - 12, 148 - 4 - 2, 32 + 15 - 12 + 25));
  const TPoint c((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  l->Move(c.X, c.Y);
  EXPECT_TRUE(item->Button()->MouseIn);
  l->Move(20, c.Y);
  EXPECT_FALSE(item->Button()->MouseIn);
  l->Click(c.X, c.Y);
  EXPECT_EQ(rowButton, 1);
  EXPECT_EQ(l->ButtonClicks, 1);
  EXPECT_FALSE(item->Button()->Down);
  EXPECT_EQ(l->ItemIndex(), 1);
  // Released elsewhere: no click, and the button comes up.
  l->Press(c.X, c.Y);
  EXPECT_TRUE(item->Button()->Down);
  l->Release(20, c.Y);
  EXPECT_FALSE(item->Button()->Down);
  EXPECT_EQ(l->ButtonClicks, 1);
  // A disabled button takes no clicks; a hidden one takes no room.
  item->Button()->SetEnabled(false);
  l->Click(c.X, c.Y);
  EXPECT_EQ(l->ButtonClicks, 1);
  item->Button()->SetVisible(false);
  EXPECT_TRUE(l->ButtonAt(1).IsEmpty());
}

TEST(ListBoxClicks, ADoubleClickReportsItselfInsteadOfAClick) {
  TListScene s;
  TProbeListBox* l = s.Add(4);
  int doubles = 0;
  l->OnItemDblClick = [&](TObject* Sender) {
    ++doubles;
    EXPECT_EQ(Sender, l);
  };
  l->Click(20, CenterY(l, 1));
  l->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, CenterY(l, 1)));
  l->Release(20, CenterY(l, 1));
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(l->ItemClicks, 1);
}

}  // namespace
