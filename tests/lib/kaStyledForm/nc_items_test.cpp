#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/Streaming.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/TestControls.h"

// Reaches the styled form's private caption-item state.
struct TkaStyledFormTestAccess {
  static void SetScale(TkaStyledForm* F, double S) { F->FScaleFactor = S; }
  static TkaNCObject* Find(TkaStyledForm* F, TPoint P) { return F->FindNCObject(P); }
  static bool Listed(TkaStyledForm* F, const TkaNCObject* A) { return F->IsNCObjectListed(A); }
  static bool Enabled(TkaStyledForm* F, const TkaNCObject* A) { return F->IsNCObjectEnabled(A); }
  static bool MenuTracking(TkaStyledForm* F) { return F->FMenuTracking; }
};

namespace {

using Access = TkaStyledFormTestAccess;

// A popup menu that records where it was asked to pop up instead of tracking.
class TRecordingPopupMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  std::vector<TPoint> Popups;
  void Popup(int X, int Y) override { Popups.emplace_back(X, Y); }
};

struct TItemsFixture {
  TCustomForm* Form = nullptr;
  TkaStyledForm* Styled = nullptr;
  TBitmap Bitmap{600, 30};

  TItemsFixture() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBounds(100, 120, 600, 400);
    Styled = Construct<TkaStyledForm>(Form);
    Bitmap.SetPixelFormat(pf24bit);
  }
  ~TItemsFixture() {
    Form->Free();
    PumpPending();
  }
  TkaNCButtonItem* AddButton(TkaNCButtonPosition Position, int Width) {
    TkaNCButtonItem* b = Styled->Buttons()->Add();
    b->SetPosition(Position);
    b->SetWidth(Width);
    return b;
  }
  TkaNCTabItem* AddTab(int Width) {
    TkaNCTabItem* t = Styled->Tabs()->Add();
    t->SetWidth(Width);
    return t;
  }
  // Runs the layout over a 600 x 30 caption whose items may use x 30..560.
  TRect Layout() {
    TRect r(30, 0, 560, 30);
    DrawCaptionItems(Styled, Bitmap.Canvas(), r, TRect(0, 0, 600, 30), 0, false);
    return r;
  }
};

TPoint Centre(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

// ---- Layout -------------------------------------------------------------------------------------

TEST(NCItemsLayout, PlacesRightButtonsRightTabsLeftButtonsLeftTabsInThatOrder) {
  // Buttons: b0 and b1 on the right, b2..b4 on the left (b3 too wide to fit); tabs t0, t1.
  // Widths from Width scale with S; heights, margins and automatic widths do not.
  const struct {
    double S;
    TkaNCTabsPosition Tabs;
    TRect B0, B1, B2, B4, T0, T1, RestOfCaption;
  } cases[] = {
      {1.0, katpRight, {540, 2, 560, 28}, {512, 5, 536, 29}, {32, 2, 82, 28}, {82, 2, 92, 28}, {429, 3, 469, 30},
       {469, 3, 499, 30}, {97, 0, 424, 30}},
      {1.5, katpRight, {530, 2, 560, 28}, {502, 5, 526, 29}, {32, 2, 107, 28}, {107, 2, 122, 28}, {384, 3, 444, 30},
       {444, 3, 489, 30}, {127, 0, 379, 30}},
      {1.0, katpLeft, {540, 2, 560, 28}, {512, 5, 536, 29}, {32, 2, 82, 28}, {82, 2, 92, 28}, {102, 3, 142, 30},
       {142, 3, 172, 30}, {177, 0, 504, 30}},
      {1.5, katpLeft, {530, 2, 560, 28}, {502, 5, 526, 29}, {32, 2, 107, 28}, {107, 2, 122, 28}, {132, 3, 192, 30},
       {192, 3, 237, 30}, {242, 0, 494, 30}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "S " << c.S << (c.Tabs == katpRight ? ", right tabs" : ", left tabs"));
    TItemsFixture f;
    Access::SetScale(f.Styled, c.S);
    f.Styled->SetTabsPosition(c.Tabs);
    TkaNCButtonItem* b0 = f.AddButton(kabpRight, 20);
    TkaNCButtonItem* b1 = f.AddButton(kabpRight, 0);  // no content: as wide as it is high
    b1->SetMarginLeft(3);
    b1->SetMarginRight(4);
    b1->SetMarginTop(5);
    b1->SetMarginBottom(1);
    TkaNCButtonItem* b2 = f.AddButton(kabpLeft, 50);
    b2->SetMarginLeft(2);
    TkaNCButtonItem* b3 = f.AddButton(kabpLeft, 450);
    TkaNCButtonItem* b4 = f.AddButton(kabpLeft, 10);
    TkaNCTabItem* t0 = f.AddTab(40);
    TkaNCTabItem* t1 = f.AddTab(30);

    EXPECT_EQ(f.Layout(), c.RestOfCaption);
    EXPECT_EQ(b0->NCObject()->ObjectRect, c.B0);
    EXPECT_EQ(b1->NCObject()->ObjectRect, c.B1);
    EXPECT_EQ(b2->NCObject()->ObjectRect, c.B2);
    EXPECT_TRUE(b3->NCObject()->ObjectRect.IsEmpty()) << "a button that does not fit is not shown";
    EXPECT_EQ(b4->NCObject()->ObjectRect, c.B4);
    EXPECT_EQ(t0->NCObject()->ObjectRect, c.T0);
    EXPECT_EQ(t1->NCObject()->ObjectRect, c.T1);
    EXPECT_EQ(b0->ObjectRect, c.B0) << "the item knows its place too (drop-downs use it)";

    for (TkaNCItem* item : std::vector<TkaNCItem*>{b0, b1, b2, b4, t0, t1})
      EXPECT_EQ(Access::Find(f.Styled, Centre(item->NCObject()->ObjectRect)), item->NCObject());
    EXPECT_EQ(Access::Find(f.Styled, TPoint(c.B2.Right + 1, 10)), b4->NCObject());
    EXPECT_EQ(Access::Find(f.Styled, TPoint(c.RestOfCaption.Left + 1, 10)), nullptr);
  }
}

TEST(NCItemsLayout, HiddenSwitchedOffAndMinimisedItemsTakeNoPlace) {
  TItemsFixture f;
  TkaNCButtonItem* b0 = f.AddButton(kabpRight, 20);
  TkaNCButtonItem* b1 = f.AddButton(kabpRight, 20);
  TkaNCTabItem* t0 = f.AddTab(40);
  f.Layout();
  const TRect shown = b1->NCObject()->ObjectRect;
  ASSERT_FALSE(shown.IsEmpty());

  b0->SetVisible(false);
  f.Layout();
  EXPECT_TRUE(b0->NCObject()->ObjectRect.IsEmpty());
  EXPECT_EQ(b1->NCObject()->ObjectRect, TRect(540, 2, 560, 28)) << "an invisible button leaves its room";
  EXPECT_FALSE(Access::Listed(f.Styled, b0->NCObject()));
  EXPECT_TRUE(Access::Listed(f.Styled, b1->NCObject()));

  f.Styled->SetShowButtons(false);
  EXPECT_EQ(Access::Find(f.Styled, Centre(b1->NCObject()->ObjectRect)), nullptr);
  EXPECT_FALSE(Access::Listed(f.Styled, b1->NCObject()));
  f.Styled->SetShowButtons(true);

  TRect r(30, 0, 560, 30);
  DrawCaptionItems(f.Styled, f.Bitmap.Canvas(), r, TRect(0, 0, 600, 30), 0, true);
  EXPECT_EQ(r, TRect(30, 0, 560, 30)) << "a minimised caption lays nothing out";
  EXPECT_TRUE(b1->NCObject()->ObjectRect.IsEmpty());
  EXPECT_TRUE(t0->NCObject()->ObjectRect.IsEmpty());
}

TEST(NCItemsLayout, AutomaticHeightLeavesTheMaximisedOffsetAndMargins) {
  TItemsFixture f;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 0);
  TkaNCTabItem* t = f.AddTab(0);
  TkaNCButtonItem* fixed = f.AddButton(kabpLeft, 0);
  fixed->SetHeight(12);
  TRect r(30, 8, 560, 38);
  DrawCaptionItems(f.Styled, f.Bitmap.Canvas(), r, TRect(0, 8, 600, 38), 8, false);
  EXPECT_EQ(b->NCObject()->ObjectRect, TRect(30, 10, 48, 28));
  EXPECT_EQ(fixed->NCObject()->ObjectRect, TRect(48, 10, 60, 22));
  EXPECT_EQ(t->NCObject()->ObjectRect, TRect(70, 11, 89, 30));
}

// ---- Content widths -----------------------------------------------------------------------------

TEST(NCItemsContent, ButtonAndTabWidthsFollowTheirContent) {
  TItemsFixture f;
  auto& images = *new TImageList(f.Form);
  images.SetWidth(16);
  images.SetHeight(16);
  f.Styled->SetButtonImages(&images);
  f.Styled->SetTabImages(&images);
  auto& menu = *new TRecordingPopupMenu(f.Form);
  TCanvas* canvas = f.Bitmap.Canvas();
  const int text = canvas->TextWidth(L"Caption");
  const struct {
    const char* Name;
    double S;
    String Caption;
    int ImageIndex;
    bool Menu, Custom, Split;
    int ContentMargin;
    int Expected;
  } buttons[] = {
      {"nothing", 1, L"", -1, false, false, false, 0, 0},
      {"caption", 1, L"Caption", -1, false, false, false, 0, text + 6},
      {"image", 1, L"", 0, false, false, false, 0, 16},
      {"image and caption", 1, L"Caption", 0, false, false, false, 0, 16 + text + 5 + 6},
      {"image with menu", 1, L"", 0, true, false, false, 0, 16 + 6 + 13},
      {"custom drop-down", 1.5, L"", -1, false, true, false, 0, 20},
      {"split menu", 1.5, L"Caption", -1, true, false, true, 0, text + 6 + 26},
      {"split without drop-down", 1, L"", -1, false, false, true, 0, 0},
      {"content margin", 1.5, L"Caption", -1, false, false, false, 3, text + 6 + 9},
  };
  for (const auto& c : buttons) {
    SCOPED_TRACE(c.Name);
    Access::SetScale(f.Styled, c.S);
    TkaNCButtonItem* b = f.Styled->Buttons()->Add();
    b->SetCaption(c.Caption);
    b->SetImageIndex(c.ImageIndex);
    b->SetPopupMenu(c.Menu ? &menu : nullptr);
    b->SetCustomDropDown(c.Custom);
    b->SetSplitButton(c.Split);
    b->SetContentMargin(c.ContentMargin);
    EXPECT_EQ(b->NCObject()->ContentWidth(0, canvas), c.Expected);
    EXPECT_EQ(b->NCObject()->ContentWidth(1000, canvas), 1000) << "never below the minimum";
  }
  const struct {
    const char* Name;
    double S;
    String Caption;
    int ImageIndex;
    int ContentMargin;
    int Expected;
  } tabs[] = {
      {"nothing", 1, L"", -1, 0, 0},
      {"image only", 1, L"", 0, 4, 16},
      {"caption", 1, L"Caption", -1, 0, text + 14},
      {"image and caption", 1, L"Caption", 0, 0, 16 + text + 5 + 14},
      {"content margin", 1.5, L"Caption", -1, 2, text + 6 + 14},
      {"content margin beside an image scales too", 1.5, L"Caption", 0, 2, 16 + text + 5 + 6 + 14},
  };
  for (const auto& c : tabs) {
    SCOPED_TRACE(c.Name);
    Access::SetScale(f.Styled, c.S);
    TkaNCTabItem* t = f.Styled->Tabs()->Add();
    t->SetCaption(c.Caption);
    t->SetImageIndex(c.ImageIndex);
    t->SetContentMargin(c.ContentMargin);
    EXPECT_EQ(t->NCObject()->ContentWidth(0, canvas), c.Expected);
  }
}

// ---- Properties ---------------------------------------------------------------------------------

TEST(NCItemsProperties, SettersRefuseWhatTheItemCannotShow) {
  TItemsFixture f;
  TkaNCButtonItem* b = f.Styled->Buttons()->Add();
  EXPECT_EQ(b->Style(), kancToolButtonTransparent);
  EXPECT_EQ(b->MarginTop(), 2);
  EXPECT_EQ(b->MarginBottom(), 2);
  EXPECT_EQ(b->Spacing(), 5);
  EXPECT_EQ(b->Margin(), -1);
  b->SetWidth(-1);
  b->SetHeight(-3);
  b->SetSpacing(-1);
  b->SetMargin(-2);
  b->SetContentMargin(-1);
  EXPECT_EQ(b->Width(), 0);
  EXPECT_EQ(b->Height(), 0);
  EXPECT_EQ(b->Spacing(), 5);
  EXPECT_EQ(b->Margin(), -1);
  EXPECT_EQ(b->ContentMargin(), 0);
  b->SetMargin(0);
  EXPECT_EQ(b->Margin(), 0);

  TkaNCTabItem* t = f.Styled->Tabs()->Add();
  EXPECT_EQ(t->MarginTop(), 3);
  t->SetSpacing(-1);
  EXPECT_EQ(t->Spacing(), 5);
  t->SetWidth(-5);
  t->SetContentMargin(-2);
  EXPECT_EQ(t->Width(), -5) << "tab sizes take any value";
  EXPECT_EQ(t->ContentMargin(), -2);
}

TEST(NCItemsProperties, DownReleasesTheRestOfItsGroupIncludingGroupZero) {
  TItemsFixture f;
  TkaNCButtonItems* items = f.Styled->Buttons();
  const int groups[] = {0, 0, 1, 1, 2};
  for (int g : groups) items->Add()->SetGroupIndex(g);
  auto downs = [&] {
    std::string s;
    for (int i = 0; i < items->Count(); ++i) s += items->Items(i)->Down() ? '1' : '0';
    return s;
  };
  for (int i = 0; i < items->Count(); ++i) items->Items(i)->SetDown(true);
  EXPECT_EQ(downs(), "01011");
  items->Items(0)->SetDown(true);
  EXPECT_EQ(downs(), "10011");
  items->Items(2)->SetDown(true);
  EXPECT_EQ(downs(), "10101");
  items->Items(2)->SetDown(false);
  EXPECT_EQ(downs(), "10001");
}

TEST(NCItemsProperties, AssignLeavesGroupStateAndEventsBehind) {
  TItemsFixture f;
  auto& menu = *new TRecordingPopupMenu(f.Form);
  TkaNCButtonItem* src = f.Styled->Buttons()->Add();
  src->SetCaption(L"Save");
  src->SetStyle(kancLink);
  src->SetWidth(40);
  src->SetPopupMenu(&menu);
  src->SetGroupIndex(3);
  src->SetDown(true);
  src->SetAllowAllUp(true);
  src->SetContentMargin(4);
  src->SetHint(L"tip");
  src->OnClick = [](TObject*) {};
  TkaNCButtonItem* dst = f.Styled->Buttons()->Add();
  dst->Assign(src);
  EXPECT_EQ(dst->Caption(), L"Save");
  EXPECT_EQ(dst->Style(), kancLink);
  EXPECT_EQ(dst->Width(), 40);
  EXPECT_EQ(dst->PopupMenu(), &menu);
  EXPECT_EQ(dst->Hint(), L"tip");
  EXPECT_EQ(dst->GroupIndex(), 0);
  EXPECT_FALSE(dst->Down());
  EXPECT_FALSE(dst->AllowAllUp());
  EXPECT_EQ(dst->ContentMargin(), 0);
  EXPECT_FALSE(static_cast<bool>(dst->OnClick));

  TkaNCTabItem* tsrc = f.Styled->Tabs()->Add();
  tsrc->SetCaption(L"Home");
  tsrc->SetMarginTop(1);
  tsrc->SetContentMargin(6);
  TkaNCTabItem* tdst = f.Styled->Tabs()->Add();
  tdst->Assign(tsrc);
  EXPECT_EQ(tdst->Caption(), L"Home");
  EXPECT_EQ(tdst->MarginTop(), 1);
  EXPECT_EQ(tdst->ContentMargin(), 0);
}

TEST(NCItemsProperties, ItemsComeFromALayout) {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object LayoutForm: TCustomForm
  object Menu1: TPopupMenu
  end
  object kaStyledForm1: TkaStyledForm
    TabIndex = 1
    Buttons = <
      item
        Caption = 'Open'
        Style = kancPushButton
        Position = kabpRight
        Width = 40
        MarginTop = 4
        GroupIndex = 2
        Down = True
        AllowAllUp = True
        SplitButton = True
        PopupMenu = Menu1
        ImageIndex = 3
        Hint = 'Opens'
      end
      item
        Style = kancLink
        Enabled = False
        Visible = False
      end>
    Tabs = <
      item
        Caption = 'One'
        Width = 50
        MarginTop = 1
      end
      item
        Caption = 'Two'
        Spacing = 2
      end>
  end
end
)",
             L"ncitems");
  auto* styled = dynamic_cast<TkaStyledForm*>(form->FindComponent(L"kaStyledForm1"));
  ASSERT_NE(styled, nullptr);
  ASSERT_EQ(styled->Buttons()->Count(), 2);
  TkaNCButtonItem* b = styled->Buttons()->Items(0);
  EXPECT_EQ(b->Caption(), L"Open");
  EXPECT_EQ(b->Style(), kancPushButton);
  EXPECT_EQ(b->Position(), kabpRight);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_EQ(b->MarginTop(), 4);
  EXPECT_EQ(b->GroupIndex(), 2);
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(b->AllowAllUp());
  EXPECT_TRUE(b->SplitButton());
  EXPECT_EQ(b->PopupMenu(), form->FindComponent(L"Menu1"));
  EXPECT_EQ(b->ImageIndex(), 3);
  EXPECT_EQ(b->Hint(), L"Opens");
  EXPECT_EQ(styled->Buttons()->Items(1)->Style(), kancLink);
  EXPECT_FALSE(styled->Buttons()->Items(1)->Enabled());
  EXPECT_FALSE(styled->Buttons()->Items(1)->Visible());
  ASSERT_EQ(styled->Tabs()->Count(), 2);
  EXPECT_EQ(styled->Tabs()->Items(0)->Width(), 50);
  EXPECT_EQ(styled->Tabs()->Items(0)->MarginTop(), 1);
  EXPECT_EQ(styled->Tabs()->Items(1)->Caption(), L"Two");
  EXPECT_EQ(styled->Tabs()->Items(1)->Spacing(), 2);
  EXPECT_EQ(styled->TabIndex(), 1);
  form->Free();
}

// ---- Mouse --------------------------------------------------------------------------------------

// Records a button's or tab's events in order.
struct TEventLog {
  std::vector<std::string> Events;
  template <class TItem>
  void Watch(TItem* Item) {
    Item->OnClick = [this, Item](TObject* Sender) {
      EXPECT_EQ(Sender, Item->NCObject()) << "OnClick comes from the NC object";
      Events.push_back("click");
    };
    Item->OnMouseDown = [this](int, int, int) { Events.push_back("down"); };
    Item->OnMouseUp = [this](int, int, int) { Events.push_back("up"); };
    Item->OnMouseEnter = [this](int) { Events.push_back("enter"); };
    Item->OnMouseLeave = [this](int) { Events.push_back("leave"); };
  }
  std::string Take() {
    std::string s;
    for (const auto& e : Events) s += (s.empty() ? "" : " ") + e;
    Events.clear();
    return s;
  }
};

TEST(NCItemsMouse, ButtonsClickOnReleaseGroupButtonsOnPress) {
  TItemsFixture f;
  TEventLog log;
  TkaNCButtonItem* plain = f.AddButton(kabpLeft, 20);
  TkaNCButtonItem* group = f.AddButton(kabpLeft, 20);
  TkaNCButtonItem* allUp = f.AddButton(kabpLeft, 20);
  TkaNCButtonItem* sibling = f.AddButton(kabpLeft, 20);
  group->SetGroupIndex(1);
  allUp->SetGroupIndex(2);
  allUp->SetAllowAllUp(true);
  sibling->SetGroupIndex(2);
  f.Layout();
  const auto click = [](TkaNCButtonItem* B) {
    const TPoint p = Centre(B->NCObject()->ObjectRect);
    B->NCObject()->MouseDown(p.X, p.Y);
    return p;
  };
  const auto release = [](TkaNCButtonItem* B, TPoint P) { B->NCObject()->MouseUp(P.X, P.Y); };

  log.Watch(plain);
  TPoint p = click(plain);
  EXPECT_TRUE(plain->NCObject()->Down());
  EXPECT_EQ(log.Take(), "down");
  release(plain, p);
  EXPECT_EQ(log.Take(), "up click");
  EXPECT_FALSE(plain->Down()) << "a button without a group does not latch";

  log.Watch(group);
  p = click(group);
  EXPECT_TRUE(group->Down());
  EXPECT_EQ(log.Take(), "down click");
  release(group, p);
  EXPECT_EQ(log.Take(), "");
  p = click(group);
  release(group, p);
  EXPECT_TRUE(group->Down()) << "without AllowAllUp a down group button stays down";
  EXPECT_EQ(log.Take(), "down");

  log.Watch(allUp);
  sibling->SetDown(true);
  p = click(allUp);
  EXPECT_FALSE(sibling->Down());
  release(allUp, p);
  EXPECT_EQ(log.Take(), "down click");
  p = click(allUp);
  EXPECT_TRUE(allUp->Down());
  EXPECT_EQ(log.Take(), "down");
  release(allUp, p);
  EXPECT_FALSE(allUp->Down()) << "AllowAllUp: the second click releases it on release";
  EXPECT_EQ(log.Take(), "click");
}

TEST(NCItemsMouse, EnterAndLeaveTrackTheMouseAndLeavingCancelsAButtonPress) {
  TItemsFixture f;
  TEventLog log;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 20);
  TkaNCTabItem* t = f.AddTab(30);
  f.Layout();
  log.Watch(b);
  b->NCObject()->MouseEnter();
  EXPECT_TRUE(b->NCObject()->MouseIn());
  b->NCObject()->MouseDown(40, 10);
  b->NCObject()->MouseLeave();
  EXPECT_FALSE(b->NCObject()->MouseIn());
  EXPECT_FALSE(b->NCObject()->Down());
  EXPECT_EQ(log.Take(), "enter down leave");

  t->NCObject()->MouseEnter();
  t->NCObject()->MouseDown(80, 10);
  t->NCObject()->MouseLeave();
  EXPECT_FALSE(t->NCObject()->MouseIn());
  EXPECT_TRUE(t->NCObject()->Down()) << "leaving a tab keeps its press";
}

TEST(NCItemsMouse, SplitButtonOpensItsMenuOnlyFromTheArrowZone) {
  TItemsFixture f;
  f.Form->Handle();
  Access::SetScale(f.Styled, 1.5);
  auto& menu = *new TRecordingPopupMenu(f.Form);
  TEventLog log;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 80);
  b->SetPopupMenu(&menu);
  b->SetSplitButton(true);
  log.Watch(b);
  f.Layout();
  const TRect r = b->NCObject()->ObjectRect;
  ASSERT_EQ(r.Width(), 120);

  // Just left of the zone (26 pixels at S 1.5): the main part, a click on release.
  b->NCObject()->MouseDown(r.Right - 27, 10);
  b->NCObject()->MouseUp(r.Right - 27, 10);
  EXPECT_TRUE(menu.Popups.empty());
  EXPECT_EQ(log.Take(), "down up click");

  b->NCObject()->MouseDown(r.Right - 26, 10);
  ASSERT_EQ(menu.Popups.size(), 1u);
  EXPECT_EQ(menu.Popups[0], TPoint(f.Form->Left() + r.Left, f.Form->Top() + r.Bottom));
  EXPECT_FALSE(b->NCObject()->DroppedDown()) << "the menu has closed again";
  EXPECT_TRUE(Access::MenuTracking(f.Styled));
  b->NCObject()->MouseUp(r.Right - 26, 10);
  EXPECT_EQ(log.Take(), "down") << "opening the menu of a split button is no click";
  // The click that closed the menu may land on another caption button: it only turns hot.
  TkaNCButtonItem* other = f.AddButton(kabpLeft, 20);
  log.Watch(other);
  other->NCObject()->MouseDown(5, 5);
  EXPECT_FALSE(other->NCObject()->Down());
  EXPECT_TRUE(other->NCObject()->MouseIn());
  other->NCObject()->MouseUp(5, 5);
  EXPECT_EQ(log.Take(), "");
  EXPECT_TRUE(PumpUntil([&] { return !Access::MenuTracking(f.Styled); }, 2000))
      << "the form's timer ends the menu tracking";

  // A button without a split zone opens from anywhere and clicks when it opens.
  b->SetSplitButton(false);
  b->NCObject()->MouseDown(r.Left + 2, 10);
  EXPECT_EQ(menu.Popups.size(), 2u);
  EXPECT_EQ(log.Take(), "click down");
  EXPECT_TRUE(PumpUntil([&] { return !Access::MenuTracking(f.Styled); }, 2000));
}

TEST(NCItemsMouse, HintsFollowTheMouseThroughTheHintComponent) {
  TItemsFixture f;
  const int pause = Application->HintPause();
  Application->SetHintPause(60000);
  auto* hint = new TkaHint(f.Form);
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 20);
  TkaNCTabItem* t = f.AddTab(20);
  TkaNCButtonItem* silent = f.AddButton(kabpLeft, 20);
  b->SetHint(L"Button");
  t->SetHint(L"Tab");
  f.Layout();
  b->NCObject()->MouseEnter();
  EXPECT_EQ(hint->HintTimer(), nullptr) << "no hint component set";
  b->NCObject()->MouseLeave();

  f.Styled->SetHintComponent(hint);
  for (TkaNCItem* item : std::vector<TkaNCItem*>{b, t}) {
    item->NCObject()->MouseEnter();
    EXPECT_NE(hint->HintTimer(), nullptr) << "a hint is on its way";
    item->NCObject()->MouseLeave();
    EXPECT_EQ(hint->HintTimer(), nullptr);
  }
  silent->NCObject()->MouseEnter();
  EXPECT_EQ(hint->HintTimer(), nullptr) << "an item without a hint asks for none";
  f.Styled->SetShowHints(false);
  b->NCObject()->MouseEnter();
  EXPECT_EQ(hint->HintTimer(), nullptr);
  Application->SetHintPause(pause);
}

TEST(NCItemsMouse, CustomDropDownStaysOpenUntilTheCloseUp) {
  TItemsFixture f;
  TEventLog log;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 60);
  b->SetCustomDropDown(true);
  log.Watch(b);
  TPoint dropped;
  b->OnDropDown = [&](int Index, int X, int Y) {
    EXPECT_EQ(Index, 0);
    dropped = TPoint(X, Y);
    log.Events.push_back("dropdown");
  };
  bool accepted = false;
  b->OnCloseUp = [&](int, bool Accept) {
    accepted = Accept;
    log.Events.push_back("closeup");
  };
  f.Layout();
  const TRect r = b->NCObject()->ObjectRect;
  b->NCObject()->MouseDown(r.Left + 3, 10);
  EXPECT_TRUE(b->NCObject()->DroppedDown());
  EXPECT_EQ(dropped, TPoint(f.Form->Left() + r.Left, f.Form->Top() + r.Bottom));
  EXPECT_EQ(log.Take(), "click dropdown down");
  b->DropDownClosed(true);
  EXPECT_FALSE(b->NCObject()->DroppedDown());
  EXPECT_FALSE(b->NCObject()->Down());
  EXPECT_TRUE(accepted);
  EXPECT_EQ(log.Take(), "closeup");
}

TEST(NCItemsMouse, AFormDroppedFromAFreedButtonClosesUpSafely) {
  TItemsFixture source;
  TItemsFixture popup;
  popup.Styled->SetDropDownForm(true);
  popup.Form->SetBounds(0, 0, 120, 80);
  TkaNCButtonItem* b = source.AddButton(kabpLeft, 60);
  b->SetCustomDropDown(true);
  int closeUps = 0;
  b->OnCloseUp = [&](int, bool) { ++closeUps; };
  b->OnDropDown = [&](int, int X, int Y) { popup.Styled->DropDown(source.Form, b, X, Y, false); };
  source.Layout();
  b->NCObject()->MouseDown(b->ObjectRect.Left + 2, 10);
  ASSERT_EQ(TkaStyledForm::CurrentDropDownForm(), popup.Form);
  popup.Styled->CloseUp(true);
  EXPECT_EQ(closeUps, 1);
  EXPECT_FALSE(b->NCObject()->DroppedDown());

  b->NCObject()->MouseDown(b->ObjectRect.Left + 2, 10);
  ASSERT_EQ(TkaStyledForm::CurrentDropDownForm(), popup.Form);
  source.Styled->Buttons()->Delete(0);
  popup.Styled->CloseUp(false);
  EXPECT_FALSE(popup.Form->Visible());
}

TEST(NCItemsMouse, AnItemFreedByItsOwnEventIsNotTouchedAgain) {
  TItemsFixture f;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 20);
  b->SetGroupIndex(1);
  int clicks = 0;
  b->OnMouseDown = [&](int Index, int, int) { f.Styled->Buttons()->Delete(Index); };
  b->OnClick = [&](TObject*) { ++clicks; };
  f.Layout();
  b->NCObject()->MouseDown(35, 10);
  EXPECT_EQ(f.Styled->Buttons()->Count(), 0);
  EXPECT_EQ(clicks, 0);
}

TEST(NCItemsMouse, PressingTheCurrentTabOnlyReportsTheMouseDown) {
  TItemsFixture f;
  TEventLog log;
  TkaNCTabItem* t0 = f.AddTab(40);
  TkaNCTabItem* t1 = f.AddTab(40);
  log.Watch(t0);
  log.Watch(t1);
  TObject* changedSender = nullptr;
  f.Styled->OnTabChanged = [&](TObject* Sender) {
    changedSender = Sender;
    log.Events.push_back("changed");
  };
  f.Layout();
  ASSERT_EQ(f.Styled->TabIndex(), 0);
  t0->NCObject()->MouseDown(50, 10);
  t0->NCObject()->MouseUp(50, 10);
  EXPECT_EQ(log.Take(), "down up");
  t1->NCObject()->MouseDown(90, 10);
  EXPECT_EQ(f.Styled->TabIndex(), 1);
  EXPECT_EQ(changedSender, t1);
  EXPECT_EQ(log.Take(), "click changed down");
  EXPECT_TRUE(t1->NCObject()->IsActive());
  EXPECT_FALSE(t0->NCObject()->IsActive());
}

TEST(NCItemsMouse, LookupsReportEnabledOnlyForTheirOwnItems) {
  TItemsFixture f;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 20);
  TkaNCTabItem* t = f.AddTab(20);
  b->SetEnabled(false);
  EXPECT_FALSE(Access::Enabled(f.Styled, b->NCObject())) << "the hook sends a disabled item no mouse calls";
  EXPECT_TRUE(Access::Listed(f.Styled, b->NCObject())) << "disabled items are still shown";
  EXPECT_TRUE(Access::Enabled(f.Styled, t->NCObject()));
  t->SetEnabled(false);
  EXPECT_FALSE(Access::Enabled(f.Styled, t->NCObject()));

  TItemsFixture other;
  TkaNCButtonItem* foreign = other.AddButton(kabpLeft, 20);
  EXPECT_FALSE(Access::Listed(f.Styled, foreign->NCObject()));
  EXPECT_FALSE(Access::Enabled(f.Styled, foreign->NCObject()));
  EXPECT_FALSE(Access::Listed(f.Styled, nullptr));

  // A freed item's object is no longer listed: the hook sends it no MouseLeave.
  const TkaNCObject* gone = b->NCObject();
  f.Styled->Buttons()->Delete(0);
  EXPECT_FALSE(Access::Listed(f.Styled, gone));
}

// ---- Painting -----------------------------------------------------------------------------------

// Pixels of the bitmap that differ from Background, inside and outside the rectangles.
struct TPaintCount {
  int Inside = 0, Outside = 0;
};

TPaintCount CountPainted(TBitmap& Bitmap, TColor Background, const std::vector<TRect>& Rects) {
  TPaintCount n;
  TCanvas* c = Bitmap.Canvas();
  for (int y = 0; y < Bitmap.Height(); ++y)
    for (int x = 0; x < Bitmap.Width(); ++x) {
      if (c->Pixel(x, y) == Background) continue;
      bool inside = false;
      for (const TRect& r : Rects) inside = inside || r.Contains(TPoint(x, y));
      ++(inside ? n.Inside : n.Outside);
    }
  return n;
}

TEST(NCItemsPaint, EveryButtonStylePaintsInsideItsRectangleOnly) {
  const TkaNCButtonStyle styles[] = {kancPushButton,           kancToolButton, kancPushButtonTransparent,
                                     kancToolButtonTransparent, kancTransparent, kancLink};
  for (bool hot : {false, true}) {
    for (TkaNCButtonStyle style : styles) {
      SCOPED_TRACE(testing::Message() << "style " << style << (hot ? " hot" : " normal"));
      TItemsFixture f;
      auto& menu = *new TRecordingPopupMenu(f.Form);
      TkaNCButtonItem* b = f.AddButton(kabpLeft, 0);
      b->SetStyle(style);
      b->SetCaption(L"Wq");
      TkaNCButtonItem* split = f.AddButton(kabpLeft, 0);
      split->SetStyle(style);
      split->SetPopupMenu(&menu);
      split->SetSplitButton(true);
      if (hot) {
        b->NCObject()->MouseEnter();
        split->NCObject()->MouseEnter();
      }
      const TColor background = TColor(0x00FF00);
      f.Bitmap.Canvas()->Brush()->SetColor(background);
      f.Bitmap.Canvas()->FillRect(TRect(0, 0, 600, 30));
      f.Layout();
      const TPaintCount caption = CountPainted(f.Bitmap, background, {b->NCObject()->ObjectRect});
      EXPECT_GT(caption.Inside, 0);
      const TRect r = split->NCObject()->ObjectRect;
      TRect zone = r;
      zone.Left = zone.Right - 17;
      const TPaintCount arrow = CountPainted(f.Bitmap, background, {zone});
      EXPECT_GT(arrow.Inside, 0) << "the drop-down arrow";
      EXPECT_EQ(CountPainted(f.Bitmap, background, {b->NCObject()->ObjectRect, r}).Outside, 0);
    }
  }
}

TEST(NCItemsPaint, TabsAndOwnerPaintingUseTheItemRectangle) {
  TItemsFixture f;
  TkaNCTabItem* active = f.AddTab(0);
  active->SetCaption(L"Home");
  TkaNCTabItem* custom = f.AddTab(40);
  TRect painted;
  bool paintedActive = true;
  custom->OnPaint = [&](int Index, TCanvas* Canvas, const TRect& R, bool, bool AActive) {
    EXPECT_EQ(Index, 1);
    painted = R;
    paintedActive = AActive;
    Canvas->Brush()->SetColor(clRed);
    Canvas->FillRect(R);
  };
  const TColor background = TColor(0x00FF00);
  f.Bitmap.Canvas()->Brush()->SetColor(background);
  f.Bitmap.Canvas()->FillRect(TRect(0, 0, 600, 30));
  f.Layout();
  EXPECT_EQ(painted, custom->NCObject()->ObjectRect);
  EXPECT_FALSE(paintedActive);
  EXPECT_EQ(f.Bitmap.Canvas()->Pixel(Centre(painted).X, Centre(painted).Y), clRed);
  EXPECT_GT(CountPainted(f.Bitmap, background, {active->NCObject()->ObjectRect}).Inside, 0);
  EXPECT_EQ(f.Bitmap.Canvas()->Brush()->Color(), background) << "the owner's canvas changes are undone";
}

TEST(NCItemsPaint, ParamsHandlerTakesOverTheContent) {
  TItemsFixture f;
  TkaNCButtonItem* b = f.AddButton(kabpLeft, 40);
  b->SetStyle(kancTransparent);
  b->SetCaption(L"Wq");
  b->OnGetPaintParams = [](int, TCanvas*, const TRect&, bool, bool, bool, bool& Handled) { Handled = true; };
  const TColor background = TColor(0x00FF00);
  f.Bitmap.Canvas()->Brush()->SetColor(background);
  f.Bitmap.Canvas()->FillRect(TRect(0, 0, 600, 30));
  f.Layout();
  EXPECT_EQ(CountPainted(f.Bitmap, background, {}).Outside, 0);
}

}  // namespace
