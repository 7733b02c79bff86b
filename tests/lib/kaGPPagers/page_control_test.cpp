// The vector page control: where tabs go (plain, stretched, right to left, reversed, at two
// resolutions), the arrow buttons of a row that does not fit, switching pages (veto, focus,
// order of events), closing tabs, dragging tabs into a new order, the keyboard and wheel,
// and pages and tabs read from a layout.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/Designer.h"
#include "framework/Streaming.h"
#include "tests/lib/kaGPPagers/PagerScene.h"

using namespace pagertest;

namespace {

const String kCaptions[] = {L"One", L"Second", L"Third tab"};

void AddCaptionedTabs(TPagerScene& S) {
  for (const String& c : kCaptions) S.AddTab()->SetCaption(c);
}

// ---- Geometry ---------------------------------------------------------------------------------

struct TGeometryCase {
  const char* Name;
  bool Stretch;
  TBiDiMode BiDi;
  TkaGPTabSequence Sequence;
  int FixedWidth;
  int Width;
};

TEST(GPPageControlGeometry, TabRectanglesByStyleAndResolution) {
  const TGeometryCase cases[] = {
      {"normal", false, bdLeftToRight, kagptsDefault, 0, 500},
      {"stretched", true, bdLeftToRight, kagptsDefault, 0, 500},
      {"stretched, narrower than the natural sum", true, bdLeftToRight, kagptsDefault, 0, 120},
      {"right to left", false, bdRightToLeft, kagptsDefault, 0, 500},
      {"reversed", false, bdLeftToRight, kagptsReverse, 0, 500},
      {"fixed width, reversed and stretched off", false, bdLeftToRight, kagptsReverse, 70, 500},
  };
  for (const int dpi : {96, 144}) {
    for (const TGeometryCase& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + " at " + std::to_string(dpi));
      TPagerScene s(0, c.Width);
      s.Pager->SetBiDiMode(c.BiDi);
      s.Pager->SetTabSequence(c.Sequence);
      s.Pager->SetStretchTabs(c.Stretch);
      s.Pager->SetTabWidth(c.FixedWidth);
      AddCaptionedTabs(s);
      if (dpi != 96) {
        s.Pager->ChangeScale(dpi, 96, true);
        // The row is laid out once the scale change settles.
        ASSERT_TRUE(PumpUntil([&] { return !s.Pager->TabsScaling(); }, 2000));
        EXPECT_EQ(s.Pager->TabMargin(), 15);
        EXPECT_EQ(s.Pager->TabsLeftOffset(), 23);
        EXPECT_EQ(s.Pager->TabHeight(), 45);
        EXPECT_EQ(s.Pager->CloseButtonSize(), 24);
        EXPECT_EQ(s.Pager->ScrollButtonWidth(), 30);
        // Frame widths of a shape row scale only on request; spacing never does.
        EXPECT_EQ(s.Pager->FrameWidth(), 2);
        EXPECT_EQ(s.Pager->TabOptions()->FrameWidth(), 2);
        EXPECT_EQ(s.Pager->TabSpacing(), 10);
      }
      const int w = s.Pager->Width(), l = s.Pager->TabsLeftOffset(), r = s.Pager->TabsRightOffset();
      const int th = s.Pager->TabHeight();
      int natural[3], sum = 0;
      for (int i = 0; i < 3; ++i) {
        natural[i] = c.FixedWidth > 0 ? s.Pager->TabWidth() : CaptionWidth(s.Pager, kCaptions[i]) + 2 * s.Pager->TabMargin();
        sum += natural[i];
      }
      const bool reversed = c.BiDi == bdRightToLeft || c.Sequence == kagptsReverse;
      int x = reversed ? w - r : l;
      for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        int width = natural[i];
        if (c.Stretch) width = w < sum ? (w - l - r) / 3 : static_cast<int>(std::trunc(double(w - l - r) / sum * natural[i]));
        const TRect expected = reversed ? TRect(x - width, 0, x, th) : TRect(x, 0, x + width, th);
        x += reversed ? -width : width;
        EXPECT_EQ(s.Tab(i)->TabRect, expected);
      }
      EXPECT_FALSE(s.Pager->ScrollVisible());
      EXPECT_EQ(s.Pager->LeftScrollButton(), nullptr);
    }
  }
}

TEST(GPPageControlGeometry, NaturalWidthAddsMarginsImageSpacingAndCloseButton) {
  TPagerScene s(0);
  AddCaptionedTabs(s);
  const int text = CaptionWidth(s.Pager, kCaptions[0]);
  struct {
    const char* Name;
    int Margin, TextMargin;
    bool Close;
    int Expected;
  } rows[] = {
      {"margins 10", 10, 0, false, text + 20},
      {"margin 3: small margins count as 10", 3, 0, false, text + 10},
      {"text margin adds on both sides", 10, 4, false, text + 28},
      {"a close button adds its size and 6", 10, 0, true, text + 20 + 16 + 6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    s.Pager->SetTabMargin(row.Margin);
    s.Pager->SetTabTextMargin(row.TextMargin);
    s.Pager->SetShowCloseButtons(row.Close);
    s.Pager->UpdateTabs();
    EXPECT_EQ(s.Tab(0)->TabRect.Width(), row.Expected);
  }
  // The close button's room counts on inactive tabs that do not show it too.
  s.Pager->SetShowCloseButtonOnActiveTabOnly(true);
  s.Pager->UpdateTabs();
  s.Pager->SetTabIndex(1);
  EXPECT_EQ(s.Tab(0)->TabRect.Width(), text + 42);
  EXPECT_FALSE(s.Pager->TabShowsCloseButton(0));
  EXPECT_TRUE(s.Pager->TabShowsCloseButton(1));
}

TEST(GPPageControlGeometry, PageBoundsFollowTheBorderStyle) {
  TPagerScene s(1, 300, 150);
  struct {
    TkaGPTabControlBorderStyle Style;
    int Radius;
    TRect Expected;
  } rows[] = {
      {kagpbsFrame, 0, Bounds(2, 32, 296, 116)},
      {kagpbsFrame, 8, Bounds(6, 36, 288, 108)},
      {kagpbsLine, 0, Bounds(0, 32, 300, 118)},
      {kagpbsLineTopBottom, 0, Bounds(0, 32, 300, 116)},
      {kagpbsNone, 0, Bounds(0, 30, 300, 120)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Style * 10 + row.Radius);
    s.Pager->SetBorderStyle(row.Style);
    s.Pager->SetFrameRadius(row.Radius);
    EXPECT_EQ(s.Page(0)->BoundsRect(), row.Expected);
  }
  // Whatever a page is asked for, it keeps the page area.
  s.Page(0)->SetBounds(1, 2, 3, 4);
  EXPECT_EQ(s.Page(0)->BoundsRect(), Bounds(0, 30, 300, 120));
  s.Pager->SetBounds(10, 10, 250, 140);
  EXPECT_EQ(s.Page(0)->BoundsRect(), Bounds(0, 30, 250, 110));
  // A change of height alone moves the page's bottom too.
  s.Pager->SetHeight(160);
  EXPECT_EQ(s.Page(0)->BoundsRect(), Bounds(0, 30, 250, 130));
}

// ---- Scrolling --------------------------------------------------------------------------------

TEST(GPPageControlScroll, ArrowButtonsAppearExactlyWhenTheRowOverflows) {
  TPagerScene s(0);
  AddCaptionedTabs(s);
  int sum = 0;
  for (int i = 0; i < 3; ++i) sum += s.Tab(i)->TabRect.Width();
  // Width - right offset = left offset + sum: it just fits.
  s.Pager->SetWidth(sum + 30);
  EXPECT_FALSE(s.Pager->ScrollVisible());
  EXPECT_EQ(s.Pager->LeftScrollButton(), nullptr);
  EXPECT_EQ(s.Pager->RightScrollButton(), nullptr);
  s.Pager->SetWidth(sum + 29);
  ASSERT_TRUE(s.Pager->ScrollVisible());
  ASSERT_NE(s.Pager->LeftScrollButton(), nullptr);
  ASSERT_NE(s.Pager->RightScrollButton(), nullptr);
  const int w = s.Pager->Width();
  EXPECT_EQ(s.Pager->LeftScrollButton()->BoundsRect(), Bounds(15, 0, 20, 30));
  EXPECT_EQ(s.Pager->RightScrollButton()->BoundsRect(), Bounds(w - 35, 0, 20, 30));
  EXPECT_FALSE(s.Pager->LeftScrollButton()->CanFocused());
  EXPECT_TRUE(s.Pager->RightScrollButton()->RepeatClick());
  // The arrows take the appearance properties; too narrow a width is refused.
  TkaGPTabScrollButton* left = s.Pager->LeftScrollButton();
  EXPECT_EQ(left->Options()->NormalColorAlpha(), 15);
  s.Pager->SetScrollButtonTransparent(true);
  s.Pager->SetScrollButtonColor(clRed);
  EXPECT_EQ(left->Options()->NormalColor(), clRed);
  EXPECT_EQ(left->Options()->NormalColorAlpha(), 20);
  EXPECT_EQ(left->Options()->PressedColorAlpha(), 70);
  s.Pager->SetScrollButtonWidth(19);
  EXPECT_EQ(s.Pager->ScrollButtonWidth(), 20);
  // The row now starts after the left arrow.
  s.Pager->SetTabIndex(0);
  EXPECT_EQ(s.Tab(0)->TabRect.Left, 35);
  s.Pager->SetWidth(sum + 200);
  EXPECT_FALSE(s.Pager->ScrollVisible());
  EXPECT_EQ(s.Pager->LeftScrollButton(), nullptr);
  EXPECT_EQ(s.Tab(0)->TabRect.Left, 15);
}

TEST(GPPageControlScroll, ArrowsScrollByOneTabInBothOrders) {
  for (TkaGPTabSequence sequence : {kagptsDefault, kagptsReverse}) {
    SCOPED_TRACE(sequence);
    TPagerScene s(0, 160);
    s.Pager->SetTabSequence(sequence);
    s.Pager->SetTabWidth(80);
    for (int i = 0; i < 4; ++i) s.AddTab();
    s.Pager->SetTabIndex(0);
    ASSERT_TRUE(s.Pager->ScrollVisible());
    const bool reversed = sequence == kagptsReverse;
    // Room between the arrows: 160 - 2 * 15 - 2 * 20 = 90, one tab of 80.
    const int leftLimit = 35, rightLimit = 125;
    auto inView = [&](int I) {
      const TRect r = s.Tab(I)->TabRect;
      return r.Left >= leftLimit && r.Right <= rightLimit;
    };
    EXPECT_TRUE(inView(0));
    // Towards the later tabs: right in normal order, left when reversed.
    TkaGPTabScrollButton* onward = reversed ? s.Pager->LeftScrollButton() : s.Pager->RightScrollButton();
    TkaGPTabScrollButton* back = reversed ? s.Pager->RightScrollButton() : s.Pager->LeftScrollButton();
    for (int i = 1; i < 4; ++i) {
      SCOPED_TRACE(i);
      TPagerScene::ClickButton(onward);
      EXPECT_TRUE(inView(i)) << s.Tab(i)->TabRect.Left;
      EXPECT_EQ(reversed ? s.Tab(i)->TabRect.Left : s.Tab(i)->TabRect.Right, reversed ? leftLimit : rightLimit);
    }
    // Back to the first one, one tab a click.
    for (int i = 2; i >= 0; --i) {
      SCOPED_TRACE(i);
      TPagerScene::ClickButton(back);
      EXPECT_TRUE(inView(i)) << s.Tab(i)->TabRect.Left;
    }
    EXPECT_EQ(s.Pager->ScrollOffset(), 0);
  }
}

// ---- Switching ----------------------------------------------------------------------------------

TEST(GPPageControlSwitch, NewPageShowsBeforeTheOldHidesAndVetoKeepsEverything) {
  TPagerScene s(3);
  EXPECT_EQ(s.Pager->TabIndex(), 2) << "Add shows the new page";
  EXPECT_EQ(s.Shown(), std::vector<int>{2});
  s.Listen();
  s.Pager->SetTabIndex(0);
  EXPECT_EQ(s.Events, (std::vector<std::string>{"can 0", "changing to 0, shown 2", "changed to 0, shown 0"}));
  s.Events.clear();
  s.Pager->OnCanChangePage = [&](int Index, bool& Can) {
    s.Events.push_back("refused " + std::to_string(Index));
    Can = false;
  };
  s.Pager->SetTabIndex(1);
  s.Pager->SetActivePage(s.Page(2));
  EXPECT_EQ(s.Events, (std::vector<std::string>{"refused 1", "refused 2"}));
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  EXPECT_EQ(s.Pager->ActivePage(), s.Page(0));
  EXPECT_EQ(s.Shown(), std::vector<int>{0});
  s.Pager->OnCanChangePage = nullptr;
  // Out of range: nothing. -1: deselected, the page stays. nullptr: the page goes.
  s.Pager->SetTabIndex(3);
  s.Pager->SetTabIndex(-2);
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  s.Pager->SetTabIndex(-1);
  EXPECT_EQ(s.Pager->TabIndex(), -1);
  EXPECT_EQ(s.Shown(), std::vector<int>{0});
  s.Pager->SetTabIndex(1);
  s.Pager->SetActivePage(nullptr);
  EXPECT_EQ(s.Pager->TabIndex(), -1);
  EXPECT_EQ(s.Pager->ActivePage(), nullptr);
  EXPECT_TRUE(s.Shown().empty());
}

TEST(GPPageControlSwitch, FocusThatWillNotLeaveTheActivePageBlocksTheSwitch) {
  for (bool keeps : {true, false}) {
    SCOPED_TRACE(keeps ? "the exit handler keeps the focus" : "the focus leaves");
    TPagerScene s(2);
    s.Pager->SetTabIndex(0);
    auto* edit = new TTestPanel(s.Form);
    edit->SetBounds(10, 10, 80, 20);
    edit->SetTabStop(true);
    edit->SetParent(s.Page(0));
    edit->SetFocus();
    PumpPending();
    ASSERT_EQ(s.Form->ActiveControl(), edit);
    if (keeps) edit->OnExit = [edit](TObject*) { edit->SetFocus(); };
    // A click on the other tab: the switch, then the focus to the control unless blocked.
    s.Click(s.TabCentre(1));
    EXPECT_EQ(s.Pager->TabIndex(), keeps ? 0 : 1);
    EXPECT_EQ(s.Shown(), std::vector<int>{keeps ? 0 : 1});
    EXPECT_EQ(s.Form->ActiveControl(), keeps ? static_cast<TWinControl*>(edit) : s.Pager);
  }
}

TEST(GPPageControlSwitch, SaveFocusOnActiveControlLeavesTheFocusOnce) {
  TPagerScene s(3);
  auto* edit = new TTestPanel(s.Form);
  edit->SetBounds(300, 150, 20, 20);
  edit->SetTabStop(true);
  edit->SetParent(s.Form);
  edit->SetFocus();
  s.Pager->SetSaveFocusOnActiveControl(true);
  s.Click(s.TabCentre(0));
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  EXPECT_EQ(s.Form->ActiveControl(), edit);
  s.Click(s.TabCentre(1));
  EXPECT_EQ(s.Form->ActiveControl(), s.Pager);
  // Not focusable: the click switches and leaves the focus.
  edit->SetFocus();
  s.Pager->SetCanFocused(false);
  s.Click(s.TabCentre(2));
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  EXPECT_EQ(s.Form->ActiveControl(), edit);
}

TEST(GPPageControlSwitch, KeysAndWheelFollowTheOrder) {
  for (TkaGPTabSequence sequence : {kagptsDefault, kagptsReverse}) {
    SCOPED_TRACE(sequence);
    TPagerScene s(4);
    s.Pager->SetTabSequence(sequence);
    s.Tab(2)->SetEnabled(false);
    const bool rev = sequence == kagptsReverse;
    auto key = [&](WORD K) { s.Pager->Perform(WM_KEYDOWN, K, 0); };
    s.Pager->SetTabIndex(0);
    key(rev ? VK_LEFT : VK_RIGHT);
    EXPECT_EQ(s.Pager->TabIndex(), 1);
    key(rev ? VK_UP : VK_DOWN);
    EXPECT_EQ(s.Pager->TabIndex(), 3) << "a disabled tab is skipped";
    key(rev ? VK_NEXT : VK_PRIOR);
    EXPECT_EQ(s.Pager->TabIndex(), 0);
    key(rev ? VK_PRIOR : VK_NEXT);
    EXPECT_EQ(s.Pager->TabIndex(), 3);
    key(rev ? VK_RIGHT : VK_LEFT);
    EXPECT_EQ(s.Pager->TabIndex(), 1);
    s.Pager->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, rev ? WHEEL_DELTA : -WHEEL_DELTA), 0);
    EXPECT_EQ(s.Pager->TabIndex(), 3);
    s.Pager->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, rev ? -WHEEL_DELTA : WHEEL_DELTA), 0);
    EXPECT_EQ(s.Pager->TabIndex(), 1);
    s.Pager->SetMouseWheelSupport(false);
    s.Pager->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(s.Pager->TabIndex(), 1);
    int clicks = 0;
    s.Tab(1)->OnClick = [&](TObject* Sender) {
      EXPECT_EQ(Sender, s.Pager);
      ++clicks;
    };
    key(VK_RETURN);
    key(VK_SPACE);
    EXPECT_EQ(clicks, 2);
  }
}

TEST(GPPageControlSwitch, ReleaseFiresTabsAreaClickAndTheSelectedTabsClick) {
  TPagerScene s(3);
  s.Pager->SetTabIndex(0);
  std::vector<std::string> events;
  s.Pager->OnTabsAreaClick = [&](TObject*) { events.push_back("area"); };
  for (int i = 0; i < 3; ++i)
    s.Tab(i)->OnClick = [&, i](TObject* Sender) {
      EXPECT_EQ(Sender, s.Pager);
      events.push_back("tab " + std::to_string(i));
    };
  s.Click(s.TabCentre(1));
  s.Click(TPoint(s.Pager->Width() - 20, 10));
  s.Click(TPoint(100, 100));
  EXPECT_EQ(events, (std::vector<std::string>{"area", "tab 1", "area"}));
}

TEST(GPPageControlProperties, RefusedValuesLeaveTheOldOnes) {
  TPagerScene s(1);
  s.Pager->SetTabMargin(0);
  s.Pager->SetTabSpacing(0);
  s.Pager->SetTabWidth(-1);
  s.Pager->SetTabTextMargin(-1);
  s.Pager->SetTabsLeftOffset(-1);
  s.Pager->SetTabsRightOffset(-1);
  s.Pager->SetScrollButtonArrowThickness(0);
  EXPECT_EQ(s.Pager->TabMargin(), 10);
  EXPECT_EQ(s.Pager->TabSpacing(), 10);
  EXPECT_EQ(s.Pager->TabWidth(), 0);
  EXPECT_EQ(s.Pager->TabTextMargin(), 0);
  EXPECT_EQ(s.Pager->TabsLeftOffset(), 15);
  EXPECT_EQ(s.Pager->TabsRightOffset(), 15);
  EXPECT_EQ(s.Pager->ScrollButtonArrowThickness(), 2);
  // Stretching and a fixed width exclude each other.
  s.Pager->SetTabWidth(50);
  s.Pager->SetStretchTabs(true);
  EXPECT_EQ(s.Pager->TabWidth(), 0);
}

TEST(GPPageControlSwitch, DialogCharSelectsTheTabOfTheAccelerator) {
  TPagerScene s(3);
  s.Tab(1)->SetCaption(L"&Options");
  s.Pager->SetTabIndex(0);
  EXPECT_EQ(s.Pager->Perform(CM_DIALOGCHAR, L'o', 0), 1);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(s.Pager->Perform(CM_DIALOGCHAR, L'x', 0), 0);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
}

TEST(GPPageControlPages, DeletingAndHidingTabsKeepsASensibleSelection) {
  TPagerScene s(4);
  TkaGPPageControlPage* third = s.Page(2);
  s.Pager->SetTabIndex(2);
  // A tab inserted before the selected one: the same page stays selected, the new one hidden.
  TkaGPPageControlTab* inserted = s.Pager->Tabs()->Insert(0);
  ASSERT_NE(inserted->Page(), nullptr);
  EXPECT_FALSE(inserted->Page()->Visible());
  EXPECT_EQ(s.Pager->TabIndex(), 3);
  EXPECT_EQ(s.Pager->ActivePage(), third);
  s.Pager->Tabs()->Delete(0);
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  // A tab before the selected one goes: the same page stays selected.
  s.Pager->Tabs()->Delete(0);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(s.Pager->ActivePage(), third);
  EXPECT_EQ(s.Form->FindComponent(L"kaGPPageControlPage1"), nullptr) << "its page went with it";
  // The selected tab hides: the next one takes over; the last one hides: the one before.
  s.Tab(1)->SetVisible(false);
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  EXPECT_FALSE(third->Visible());
  s.Tab(2)->SetVisible(false);
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  EXPECT_EQ(s.Shown(), std::vector<int>{0});
  // A page freed from outside takes its tab with it.
  s.Page(0)->Free();
  ASSERT_EQ(s.Pager->Tabs()->Count(), 2);
  EXPECT_EQ(s.Pager->TabIndex(), -1) << "the other tabs are hidden";
  // A page made at run time takes the first free name.
  TkaGPPageControlTab* tab = s.Pager->Tabs()->Add();
  EXPECT_EQ(tab->Page()->Name(), L"kaGPPageControlPage1");
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  EXPECT_EQ(tab->Caption(), L"TkaGPPageControlTab3");
  // Deleting the selected tab selects the one that takes its place.
  s.Tab(1)->SetVisible(true);
  s.Pager->SetTabIndex(1);
  s.Pager->Tabs()->Delete(1);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(s.Pager->ActivePage(), tab->Page());
  s.Pager->Tabs()->Clear();
  EXPECT_EQ(s.Pager->TabIndex(), -1);
  EXPECT_EQ(s.Pager->ActivePage(), nullptr);
}

// In a form designer: a new tab comes with its page, a click on a tab brings its page forward,
// and a removed tab's page goes at the collection's next update; the designer host hears of
// each change of the form, and of nothing else.
// What a designer host does to the components it hosts.
struct TDesignerHost : TComponent {
  static void Design(TComponent* C, bool On) { (C->*(&TDesignerHost::SetDesigning))(On); }
};

TEST(GPPageControlPages, InTheDesignerTabsBringTheirPagesAndTheHostHearsOfEachChange) {
  TPagerScene s(0, 600);  // the three tabs' default captions fit without scrolling
  std::vector<TComponent*> modified;
  Designer::TModifiedHook old = Designer::SetModifiedHook([&](TComponent* Root) { modified.push_back(Root); });
  TDesignerHost::Design(s.Form, true);
  TDesignerHost::Design(s.Pager, true);
  for (int i = 0; i < 3; ++i) s.Pager->Tabs()->Add();
  PumpPending();
  ASSERT_EQ(s.Pager->Tabs()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_NE(s.Page(i), nullptr) << "tab " << i << " has its page";
  EXPECT_EQ(s.Pager->ActivePage(), s.Page(2)) << "the newest page is the one worked on";
  EXPECT_TRUE(modified.empty());

  s.Click(s.TabCentre(0));
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  EXPECT_EQ(modified, std::vector<TComponent*>{s.Form});
  s.Click(s.TabCentre(0));
  EXPECT_EQ(modified.size(), 1u) << "a click on the selected tab changes nothing";

  const String removed = s.Page(1)->Name();
  s.Pager->Tabs()->Delete(1);
  EXPECT_EQ(s.Form->FindComponent(removed), nullptr) << "the page went at the update";
  EXPECT_EQ(modified.size(), 2u);
  EXPECT_EQ(modified.back(), s.Form);

  // Out of the designer the same click is no change of a designed form.
  TDesignerHost::Design(s.Form, false);
  TDesignerHost::Design(s.Pager, false);
  s.Click(s.TabCentre(1));
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(modified.size(), 2u);
  Designer::SetModifiedHook(std::move(old));
}

// ---- Closing ------------------------------------------------------------------------------------

TEST(GPPageControlClose, CloseButtonHidesOrFreesTheTabUnlessVetoed) {
  TPagerScene s(3);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->SetTabIndex(1);
  TkaGPPageControlPage* second = s.Page(1);
  std::vector<TObject*> asked;
  bool allow = false;
  s.Pager->OnClose = [&](TObject* Sender, bool& CanClose) {
    asked.push_back(Sender);
    CanClose = allow;
  };
  ASSERT_FALSE(s.Tab(1)->CloseButtonRect.IsEmpty());
  s.Click(s.CloseCentre(1));
  EXPECT_EQ(asked, std::vector<TObject*>{second});
  EXPECT_TRUE(s.Tab(1)->Visible()) << "vetoed";
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  // Allowed, not freed: the tab hides and can come back.
  allow = true;
  s.Click(s.CloseCentre(1));
  EXPECT_FALSE(s.Tab(1)->Visible());
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  EXPECT_EQ(s.Shown(), std::vector<int>{2});
  s.Tab(1)->SetVisible(true);
  s.Pager->SetActivePage(second);
  EXPECT_EQ(s.Shown(), std::vector<int>{1});
  // Freed: the tab and its page go.
  s.Pager->SetFreeOnClose(true);
  s.Click(s.CloseCentre(1));
  ASSERT_EQ(s.Pager->Tabs()->Count(), 2);
  EXPECT_EQ(s.Form->FindComponent(L"kaGPPageControlPage2"), nullptr);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(s.Pager->ActivePage(), s.Page(1));
  // The last ones.
  s.Click(s.CloseCentre(1));
  s.Click(s.CloseCentre(0));
  EXPECT_EQ(s.Pager->Tabs()->Count(), 0);
  EXPECT_EQ(s.Pager->TabIndex(), -1);
  EXPECT_EQ(s.Pager->ActivePage(), nullptr);
}

TEST(GPPageControlClose, OnActiveTabOnlyAPressOnAnInactiveTabOnlySelectsIt) {
  TPagerScene s(3);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->SetShowCloseButtonOnActiveTabOnly(true);
  s.Pager->SetTabIndex(0);
  int closes = 0;
  s.Pager->OnClose = [&](TObject*, bool&) { ++closes; };
  // Where tab 1's button will be once it is selected.
  s.Pager->SetTabIndex(1);
  const TPoint button = s.CloseCentre(1);
  s.Pager->SetTabIndex(0);
  EXPECT_TRUE(s.Tab(1)->CloseButtonRect.IsEmpty());
  s.Click(button);
  EXPECT_EQ(s.Pager->TabIndex(), 1);
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(s.Tab(1)->Visible());
  s.Click(button);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(s.Tab(1)->Visible());
}

TEST(GPPageControlClose, ARefusedSwitchDoesNotCloseTheSelectedPage) {
  TPagerScene s(3);
  s.Pager->SetShowCloseButtons(true);
  s.Pager->SetTabIndex(0);
  int closes = 0;
  s.Pager->OnClose = [&](TObject*, bool&) { ++closes; };
  s.Pager->OnCanChangePage = [](int, bool& Can) { Can = false; };
  s.Click(s.CloseCentre(2));
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  EXPECT_TRUE(s.Tab(0)->Visible());
  EXPECT_TRUE(s.Tab(2)->Visible());
}

// ---- Reordering ---------------------------------------------------------------------------------

TEST(GPPageControlDrag, DraggingATabMovesItAndKeepsItsPage) {
  TPagerScene s(4);
  s.Pager->SetEnableDragReorderTabs(true);
  TkaGPPageControlTab* first = s.Tab(0);
  TkaGPPageControlPage* page = first->Page();
  const TPoint target = s.TabCentre(2);
  s.Press(s.TabCentre(0));
  EXPECT_EQ(s.Pager->TabIndex(), 0);
  s.Move(TPoint(s.TabCentre(0).X + 10, s.TabCentre(0).Y), true);
  s.Move(target, true);
  s.Release(target);
  EXPECT_EQ(first->Index(), 2);
  EXPECT_EQ(s.Pager->TabIndex(), 2);
  EXPECT_EQ(s.Pager->ActivePage(), page);
  EXPECT_EQ(s.Shown(), std::vector<int>{2});
  // Without moving past the threshold a press and release is a click, not a drag.
  s.Press(s.TabCentre(3));
  s.Move(TPoint(s.TabCentre(3).X + 2, s.TabCentre(3).Y), true);
  s.Release(s.TabCentre(3));
  EXPECT_EQ(first->Index(), 2);
  EXPECT_EQ(s.Pager->TabIndex(), 3);
  // The dragged tab goes away mid-drag: the drop finds nothing to move.
  s.Press(s.TabCentre(1));
  s.Move(s.TabCentre(0), true);
  s.Pager->Tabs()->Delete(1);
  s.Release(s.TabCentre(0));
  ASSERT_EQ(s.Pager->Tabs()->Count(), 3);
  EXPECT_EQ(first->Index(), 1);
  // Off: no reordering.
  s.Pager->SetEnableDragReorderTabs(false);
  s.Press(s.TabCentre(2));
  s.Move(s.TabCentre(0), true);
  s.Release(s.TabCentre(0));
  EXPECT_EQ(first->Index(), 1);
}

// ---- Layouts ------------------------------------------------------------------------------------

std::string PageObject(int N, bool Visible) {
  const std::string n = std::to_string(N);
  return "    object kaGPPageControlPage" + n + ": TkaGPPageControlPage\n" +
         "      Left = 2\n      Top = 32\n      Width = 396\n      Height = 166\n      BGStyle = kagppsColor\n"
         "      Color = clYellow\n      FullUpdate = False\n      ParentFont = False\n" +
         (Visible ? "" : "      Visible = False\n") + "    end\n";
}

// A form with a page control of three pages, the second one shown.
std::string PagerLayout(const std::string& Properties) {
  std::string text =
      "object Form1: TCustomForm\n  Left = 40\n  Top = 40\n  Width = 440\n  Height = 240\n"
      "  object Pager: TkaGPPageControl\n    Left = 10\n    Top = 10\n    Width = 400\n    Height = 200\n"
      "    TabOptions.TabStyle = gptsBottomLine\n    TabCloseButtonOptions.StyleColros = False\n"
      "    ShowCloseButtons = True\n    BorderStyle = kagpbsFrame\n" +
      Properties;
  for (int n = 1; n <= 3; ++n) text += PageObject(n, n == 2);
  return text + "  end\nend\n";
}

TEST(GPPageControlLayout, PagesAndTabsFromALayoutInAnyOrder) {
  const std::string tabs =
      "    Tabs = <\n      item\n        Page = kaGPPageControlPage1\n        Caption = 'First'\n      end\n"
      "      item\n        Page = kaGPPageControlPage2\n        Caption = 'Second'\n        ImageIndex = 3\n      end\n"
      "      item\n        Page = kaGPPageControlPage3\n        Visible = False\n"
      "        CustomOptions.NormalColor = clRed\n        UseCustomOptions = True\n      end>\n";
  const std::string index = "    TabIndex = 1\n";
  const std::string active = "    ActivePage = kaGPPageControlPage2\n";
  const struct {
    const char* Name;
    std::string Properties;
  } orders[] = {
      {"tabs, index, active page", tabs + index + active},
      {"active page, index, tabs", active + index + tabs},
      {"index only", tabs + index},
      {"active page only", tabs + active},
  };
  for (const auto& order : orders) {
    SCOPED_TRACE(order.Name);
    TCustomForm* form = TCustomForm::CreateNew(nullptr);
    ReadLayout(form, PagerLayout(order.Properties), L"PAGER");
    auto* pager = dynamic_cast<TkaGPPageControl*>(form->FindComponent(L"Pager"));
    ASSERT_NE(pager, nullptr);
    ASSERT_EQ(pager->Tabs()->Count(), 3);
    EXPECT_EQ(pager->TabOptions()->TabStyle(), gptsBottomLine);
    EXPECT_FALSE(pager->TabCloseButtonOptions()->StyleColors());
    EXPECT_TRUE(pager->ShowCloseButtons());
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      TkaGPPageControlPage* p = pager->Tabs()->Items(i)->Page();
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(p->Name(), L"kaGPPageControlPage" + std::to_wstring(i + 1));
      EXPECT_EQ(p->Parent(), pager);
      EXPECT_EQ(p->Pager(), pager);
      EXPECT_EQ(p->Visible(), i == 1);
      EXPECT_EQ(p->BGStyle(), kagppsColor);
      EXPECT_EQ(p->BackgroundStyle(), kasbsPanel);
    }
    EXPECT_EQ(pager->Tabs()->Items(0)->Caption(), L"First");
    EXPECT_EQ(pager->Tabs()->Items(1)->ImageIndex(), 3);
    EXPECT_FALSE(pager->Tabs()->Items(2)->Visible());
    EXPECT_TRUE(pager->Tabs()->Items(2)->UseCustomOptions());
    EXPECT_EQ(pager->Tabs()->Items(2)->CustomOptions()->NormalColor(), clRed);
    EXPECT_EQ(pager->TabIndex(), 1);
    ASSERT_EQ(pager->ActivePage(), pager->Tabs()->Items(1)->Page());
    EXPECT_EQ(pager->ActivePage()->BoundsRect(), Bounds(2, 32, 396, 166));
    form->Show();
    PumpPending();
    EXPECT_TRUE(::IsWindowVisible(pager->ActivePage()->WindowHandle()));
    pager->SetTabIndex(0);
    EXPECT_TRUE(pager->Tabs()->Items(0)->Page()->Visible());
    EXPECT_FALSE(pager->Tabs()->Items(1)->Page()->Visible());
    form->Free();
  }
}

}  // namespace
