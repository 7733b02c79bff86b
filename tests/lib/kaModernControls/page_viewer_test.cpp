// The page viewer: the steps of a switch (veto, focus, same index, out of range, the order of
// events), pages made and named at run time, pages freed or deleted, the pages of a layout,
// page geometry, painting with and without pages, switching without ever showing the
// viewer itself, and handle hygiene over many switches.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "tests/support/TestControls.h"

namespace {

const TColor kPageColors[] = {clRed, clLime, clBlue, clYellow, clAqua};
constexpr TColor kViewerColor = clMaroon;

// Counts what reaches the viewer's own painting.
class TCountingViewer : public TkaPageViewer {
  KA_CLASS(TCountingViewer, TkaPageViewer)
 public:
  using TkaPageViewer::TkaPageViewer;
  int Paints = 0;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND) ++Paints;
    inherited::Dispatch(Message);
  }
};

// A 300 x 200 viewer on a white form, with pages of the colours above made by Pages.Add.
struct TScene {
  TCustomForm* Form;
  TCountingViewer* Viewer;
  std::vector<std::string> Events;

  explicit TScene(int PageCount) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 340, 260);
    Form->SetColor(clWhite);
    Viewer = new TCountingViewer(Form);
    Viewer->SetBounds(10, 10, 300, 200);
    Viewer->SetColor(kViewerColor);
    Viewer->SetParent(Form);
    Form->Show();
    for (int i = 0; i < PageCount; ++i) AddPage();
    PumpPending();
  }
  ~TScene() { Form->Free(); }

  TkaPageViewerPage* AddPage() {
    TkaPageViewerPage* page = Viewer->Pages()->Add()->Page();
    page->SetBackgroundStyle(kasbsPanel);
    page->SetColor(kPageColors[(Viewer->Pages()->Count() - 1) % 5]);
    return page;
  }
  TkaPageViewerPage* Page(int Index) const { return Viewer->Pages()->Items(Index)->Page(); }
  // The indexes of the pages that are visible.
  std::vector<int> Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < Viewer->Pages()->Count(); ++i)
      if (Page(i) != nullptr && Page(i)->Visible()) shown.push_back(i);
    return shown;
  }
  void Listen() {
    Viewer->FOnCanChangePage = [this](int Index, bool&) { Events.push_back("can " + std::to_string(Index)); };
    Viewer->FOnChangingPage = [this](TObject* Sender) {
      EXPECT_EQ(Sender, Viewer);
      Events.push_back("changing to " + std::to_string(Viewer->PageIndex()) + ", shown " + ShownText());
    };
    Viewer->OnChangePage = [this](TObject* Sender) {
      EXPECT_EQ(Sender, Viewer);
      Events.push_back("changed to " + std::to_string(Viewer->PageIndex()) + ", shown " + ShownText());
    };
  }
  std::string ShownText() const {
    std::string s;
    for (int i : Shown()) s += std::to_string(i);
    return s;
  }
  // What the screen shows at a point of the viewer (its pages included).
  TColor OnScreen(int X, int Y) {
    HDC dc = ::GetDCEx(Form->WindowHandle(), nullptr, DCX_CACHE);
    COLORREF c = ::GetPixel(dc, Viewer->Left() + X, Viewer->Top() + Y);
    ::ReleaseDC(Form->WindowHandle(), dc);
    return MakeColor(c);
  }
};

// ---- Painting and the first page --------------------------------------------------------------

TEST(PageViewer, DefaultsAsCreated) {
  TScene s(0);
  auto* v = new TkaPageViewer(s.Form);
  EXPECT_EQ(v->PageIndex(), -1);
  EXPECT_EQ(v->ActivePage(), nullptr);
  EXPECT_EQ(v->Pages()->Count(), 0);
  EXPECT_EQ(v->Pages()->GetOwner(), v);
  EXPECT_EQ(v->Color(), clWindow);
  EXPECT_FALSE(v->TabStop());
  EXPECT_TRUE(v->ControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(v->BoundsRect(), Rect(0, 0, 300, 300));
  v->SetParent(s.Form);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"Ka.TkaPageViewer", &wc));
  EXPECT_EQ(wc.style & (CS_HREDRAW | CS_VREDRAW), 0u) << "a resize repaints nothing of its own";
}

TEST(PageViewer, FreeingTheViewerTakesItsPagesButNotItsFormsOtherComponents) {
  TScene s(3);
  s.Viewer->SetPageIndex(1);
  auto* keep = new TComponent(s.Form);
  keep->SetName(L"Keep");
  const int components = s.Form->ComponentCount();
  s.Viewer->Free();
  EXPECT_EQ(s.Form->ComponentCount(), components - 4) << "the viewer and its three pages";
  EXPECT_EQ(s.Form->FindComponent(L"kaPageViewerPage2"), nullptr);
  EXPECT_EQ(s.Form->FindComponent(L"Keep"), keep);
  s.Viewer = nullptr;
}

TEST(PageViewerPaint, WithoutPagesItShowsItsColourAndTheFirstAddShowsThePage) {
  TScene s(0);
  s.Listen();
  EXPECT_EQ(s.OnScreen(150, 100), kViewerColor);
  s.AddPage();
  EXPECT_EQ(s.Viewer->PageIndex(), 0);
  EXPECT_EQ(s.Viewer->ActivePage(), s.Page(0));
  EXPECT_EQ(s.Shown(), std::vector<int>{0});
  EXPECT_EQ(std::count(s.Events.begin(), s.Events.end(), std::string("changed to 0, shown 0")), 1);
  PumpPending();
  EXPECT_EQ(s.OnScreen(150, 100), kPageColors[0]);
}

// ---- Switching --------------------------------------------------------------------------------

TEST(PageViewerSwitch, StepsEventsAndWhatShows) {
  struct TCase {
    const char* Name;
    int Index;
    bool Veto;
    bool HideCurrentFirst;
    std::vector<std::string> Events;
    int PageIndex;
    std::vector<int> Shown;
  };
  const TCase cases[] = {
      {"another page", 2, false, false, {"can 2", "changing to 2, shown 0", "changed to 2, shown 2"}, 2, {2}},
      {"vetoed", 2, true, false, {"can 2"}, 0, {0}},
      {"the current page", 0, false, false, {"can 0"}, 0, {0}},
      {"the current page, hidden: shown again", 0, false, true, {"can 0"}, 0, {0}},
      {"one past the end", 3, false, false, {}, 0, {0}},
      {"below -1", -2, false, false, {}, 0, {0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s(3);
    s.Viewer->SetPageIndex(0);
    s.Listen();
    if (c.Veto) s.Viewer->FOnCanChangePage = [&](int Index, bool& CanChange) {
        s.Events.push_back("can " + std::to_string(Index));
        CanChange = false;
      };
    if (c.HideCurrentFirst) s.Page(0)->Hide();
    s.Viewer->SetPageIndex(c.Index);
    EXPECT_EQ(s.Events, c.Events);
    EXPECT_EQ(s.Viewer->PageIndex(), c.PageIndex);
    EXPECT_EQ(s.Shown(), c.Shown);
    EXPECT_EQ(s.Viewer->ActivePage(), s.Page(c.PageIndex));
  }
}

TEST(PageViewerSwitch, ActivePageAndShowControlSwitchToTheirPage) {
  TScene s(3);
  s.Viewer->SetActivePage(s.Page(1));
  EXPECT_EQ(s.Viewer->PageIndex(), 1);
  s.Viewer->ShowControl(s.Page(0));
  EXPECT_EQ(s.Viewer->PageIndex(), 0);
  EXPECT_EQ(s.Shown(), std::vector<int>{0});

  // A page of another viewer is no page of this one.
  TScene other(1);
  s.Viewer->SetActivePage(other.Page(0));
  s.Viewer->SetActivePage(nullptr);
  EXPECT_EQ(s.Viewer->PageIndex(), 0);
  EXPECT_EQ(s.Viewer->ActivePage(), s.Page(0));
}

TEST(PageViewerSwitch, FocusThatWillNotLeaveTheActivePageKeepsIt) {
  for (bool keeps : {true, false}) {
    SCOPED_TRACE(keeps ? "the exit handler keeps the focus" : "the focus leaves");
    TScene s(2);
    s.Viewer->SetPageIndex(0);
    auto* edit = new TTestPanel(s.Form);
    edit->SetBounds(10, 10, 80, 20);
    edit->SetTabStop(true);
    edit->SetParent(s.Page(0));
    edit->SetFocus();
    PumpPending();
    ASSERT_EQ(s.Form->ActiveControl(), edit);
    if (keeps) edit->OnExit = [edit](TObject*) { edit->SetFocus(); };
    s.Listen();
    s.Viewer->SetPageIndex(1);
    if (keeps) {
      EXPECT_EQ(s.Viewer->PageIndex(), 0);
      EXPECT_EQ(s.Shown(), std::vector<int>{0});
      EXPECT_EQ(s.Events, std::vector<std::string>{"can 1"}) << "no change events";
      EXPECT_EQ(s.Form->ActiveControl(), edit);
    } else {
      EXPECT_EQ(s.Viewer->PageIndex(), 1);
      EXPECT_EQ(s.Shown(), std::vector<int>{1});
      EXPECT_EQ(s.Form->ActiveControl(), nullptr);
    }
  }
}

// ---- Pages made, freed and deleted --------------------------------------------------------------

TEST(PageViewerPages, NewPagesAreNamedAfterTheFirstFreeNumberAndFitTheViewer) {
  TScene s(0);
  (new TComponent(s.Form))->SetName(L"kaPageViewerPage1");
  (new TComponent(s.Form))->SetName(L"kaPageViewerPage3");
  s.Viewer->Font()->SetName(L"Tahoma");
  s.Viewer->Font()->SetHeight(-15);
  for (int i = 0; i < 3; ++i) s.AddPage();
  const wchar_t* names[] = {L"kaPageViewerPage2", L"kaPageViewerPage4", L"kaPageViewerPage5"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TkaPageViewerPage* p = s.Page(i);
    EXPECT_EQ(p->Name(), names[i]);
    EXPECT_EQ(p->Owner(), s.Form);
    EXPECT_EQ(p->Parent(), s.Viewer);
    EXPECT_EQ(p->PageViewer(), s.Viewer);
    EXPECT_EQ(p->BoundsRect(), Rect(0, 0, 300, 200));
    EXPECT_EQ(p->Align(), alClient);
    EXPECT_EQ(p->BorderStyle(), bsNone);
    EXPECT_FALSE(p->ParentFont());
    EXPECT_FALSE(p->ParentColor());
    EXPECT_EQ(p->Font()->Height(), -15);
  }
  EXPECT_EQ(s.Viewer->PageIndex(), 2) << "each new page is shown";
  EXPECT_EQ(s.Shown(), std::vector<int>{2});

  // Made on its own, a page waits hidden until an item shows it.
  TkaPageViewerPage* loose = s.Viewer->CreatePage();
  EXPECT_EQ(loose->Name(), L"kaPageViewerPage6");
  EXPECT_FALSE(loose->Visible());
  EXPECT_EQ(s.Viewer->PageIndex(), 2);
  s.Viewer->Pages()->Add();  // an item at run time gets a page of its own
  EXPECT_NE(s.Page(3), loose);

  // Without an owner the first name is taken; the pages go with the viewer.
  auto* ownerless = new TkaPageViewer(nullptr);
  ownerless->SetParent(s.Form);
  EXPECT_EQ(ownerless->CreatePage()->Name(), L"kaPageViewerPage1");
  ownerless->Pages()->Add();
  EXPECT_EQ(ownerless->ActivePage()->Owner(), nullptr);
  ownerless->Free();
}

TEST(PageViewerPages, InsertedAndClearedItemsLeaveOnePageShown) {
  TScene s(2);
  TkaPageViewerPage* before = s.Page(1);
  s.Viewer->Pages()->Insert(0);
  EXPECT_EQ(s.Viewer->PageIndex(), 0);
  EXPECT_EQ(s.Shown(), std::vector<int>{0});
  EXPECT_EQ(s.Page(2), before);
  s.Viewer->SetPageIndex(2);
  EXPECT_EQ(s.Shown(), std::vector<int>{2});
  EXPECT_EQ(s.Viewer->ActivePage(), before);

  // Clearing the list at run time lets go of the items only; the page on screen stays until
  // a new item's page replaces it.
  s.Viewer->Pages()->Clear();
  EXPECT_EQ(s.Viewer->PageIndex(), -1);
  EXPECT_TRUE(before->Visible());
  TkaPageViewerPage* fresh = s.AddPage();
  EXPECT_EQ(s.Viewer->PageIndex(), 0);
  EXPECT_TRUE(fresh->Visible());
  EXPECT_FALSE(before->Visible());
}

TEST(PageViewerPages, AFreedOrDeletedPageGivesWayToItsNeighbour) {
  struct TCase {
    const char* Name;
    int Pages, Active, Removed;
    bool ByDelete;        // Pages.Delete rather than freeing the page
    int PageIndex;        // afterwards
    int ShownOriginal;    // which of the original pages shows (-1: none)
  };
  const TCase cases[] = {
      {"free the active middle page", 3, 1, 1, false, 1, 2},
      {"free the active last page", 3, 2, 2, false, 1, 1},
      {"free a page before the active one", 3, 2, 0, false, 1, 2},
      {"free a page after the active one", 3, 0, 2, false, 0, 0},
      {"delete the active middle page", 3, 1, 1, true, 1, 2},
      {"delete the active last page", 3, 2, 2, true, 1, 1},
      {"delete a page before the active one", 3, 2, 1, true, 1, 2},
      {"free the only page", 1, 0, 0, false, -1, -1},
      {"delete the only page", 1, 0, 0, true, -1, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScene s(c.Pages);
    std::vector<TkaPageViewerPage*> original;
    for (int i = 0; i < c.Pages; ++i) original.push_back(s.Page(i));
    s.Viewer->SetPageIndex(c.Active);
    const String removedName = original[c.Removed]->Name();
    if (c.ByDelete)
      s.Viewer->Pages()->Delete(c.Removed);
    else
      original[c.Removed]->Free();
    EXPECT_EQ(s.Form->FindComponent(removedName), nullptr) << "the page is gone";
    EXPECT_EQ(s.Viewer->Pages()->Count(), c.Pages - 1);
    EXPECT_EQ(s.Viewer->PageIndex(), c.PageIndex);
    TkaPageViewerPage* expected = c.ShownOriginal >= 0 ? original[c.ShownOriginal] : nullptr;
    EXPECT_EQ(s.Viewer->ActivePage(), expected);
    if (expected != nullptr) {
      EXPECT_EQ(s.Page(c.PageIndex), expected);
      EXPECT_EQ(s.Shown(), std::vector<int>{c.PageIndex});
    }
    PumpPending();
    EXPECT_EQ(s.OnScreen(150, 100), expected != nullptr ? kPageColors[c.ShownOriginal] : kViewerColor);
  }
}

TEST(PageViewerPages, AnItemCopiedFromAnotherViewerTakesThePageOfTheSameName) {
  TScene a(2), b(2);
  ASSERT_EQ(a.Page(1)->Name(), b.Page(1)->Name());
  TkaPageViewerPage* bSecond = b.Page(1);
  TkaPageViewerItem* target = b.Viewer->Pages()->Items(0);
  target->Assign(a.Viewer->Pages()->Items(1));
  EXPECT_EQ(target->Page(), bSecond) << "B's page of that name, not A's";

  // The whole list: B's items refer to B's pages in A's order.
  b.Viewer->SetPages(a.Viewer->Pages());
  ASSERT_EQ(b.Viewer->Pages()->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    ASSERT_NE(b.Page(i), nullptr);
    EXPECT_EQ(b.Page(i)->Owner(), b.Form);
    EXPECT_EQ(b.Page(i)->Name(), a.Page(i)->Name());
  }

  // No page to match: a source without a page, or a viewer without an owner.
  a.Viewer->Pages()->Items(0)->SetPage(nullptr);
  target->Assign(a.Viewer->Pages()->Items(0));
  EXPECT_EQ(target->Page(), nullptr);
  auto* ownerless = new TkaPageViewer(nullptr);
  TkaPageViewerItem* loose = ownerless->Pages()->Add();
  loose->Assign(a.Viewer->Pages()->Items(1));
  EXPECT_EQ(loose->Page(), nullptr);
  ownerless->Free();
  TFont font;
  EXPECT_THROW(target->Assign(&font), Exception);
}

// ---- Geometry ---------------------------------------------------------------------------------

TEST(PageViewerGeometry, APageThatIsNotClientAlignedStillCoversTheViewer) {
  TScene s(2);
  TkaPageViewerPage* page = s.Page(1);
  page->SetAlign(alNone);
  page->SetBounds(5, 5, 50, 50);
  EXPECT_EQ(page->BoundsRect(), Rect(0, 0, 300, 200));
  s.Viewer->SetBounds(10, 10, 250, 150);
  EXPECT_EQ(page->BoundsRect(), Rect(0, 0, 250, 150));
  PumpPending();
  EXPECT_EQ(s.OnScreen(240, 140), kPageColors[1]);

  // A client-aligned page resized while hidden fits again when shown.
  s.Viewer->SetPageIndex(0);
  s.Viewer->SetBounds(10, 10, 280, 180);
  s.Viewer->SetPageIndex(1);
  s.Viewer->SetPageIndex(0);
  EXPECT_EQ(s.Page(0)->BoundsRect(), Rect(0, 0, 280, 180));
  EXPECT_EQ(s.Page(1)->BoundsRect(), Rect(0, 0, 280, 180));
  s.Viewer->SetBounds(10, 10, 250, 150);
  s.Viewer->SetPageIndex(1);

  // A page placed in a viewer by hand adopts it.
  auto* adopted = new TkaPageViewerPage(s.Form);
  adopted->SetAlign(alNone);
  adopted->SetParent(s.Viewer);
  adopted->SetBounds(1, 2, 3, 4);
  EXPECT_EQ(adopted->PageViewer(), s.Viewer);
  EXPECT_EQ(adopted->BoundsRect(), Rect(0, 0, 250, 150));
}

// ---- Layouts ----------------------------------------------------------------------------------

std::string PageObject(int N, bool Visible) {
  std::string n = std::to_string(N);
  return "    object kaPageViewerPage" + n + ": TkaPageViewerPage\n" +
         "      Left = 0\n      Top = 0\n      Width = 567\n      Height = 393\n      Align = alClient\n"
         "      BorderStyle = bsNone\n      Color = clWindow\n      ParentColor = False\n"
         "      AutoScroll = False\n      BackgroundStyle = kasbsFormBackground\n"
         "      WallpaperIndex = -1\n      CustomBackgroundImageIndex = -1\n      FullUpdate = False\n"
         "      FluentUIOpaque = False\n      StorePaintBuffer = True\n      MouseWheelSupport = False\n"
         "      Font.Color = clWindowText\n      Font.Height = -11\n      Font.Name = 'Tahoma'\n"
         "      ParentFont = False\n" +
         (Visible ? "" : "      Visible = False\n") + "    end\n";
}

TEST(PageViewerLayout, FourPagesAndPageIndexTwoInAnyOrder) {
  const std::string pages =
      "    Pages = <\n      item\n        Page = kaPageViewerPage1\n      end\n      item\n"
      "        Page = kaPageViewerPage2\n      end\n      item\n        Page = kaPageViewerPage3\n"
      "      end\n      item\n        Page = kaPageViewerPage4\n      end>\n";
  const std::string index = "    PageIndex = 2\n";
  const std::string active = "    ActivePage = kaPageViewerPage3\n";
  const struct {
    const char* Name;
    std::string Properties;
  } orders[] = {
      {"pages, index, active page", pages + index + active},
      {"index, pages, active page", index + pages + active},
      {"active page, index, pages", active + index + pages},
      {"index only", pages + index},
      {"active page only", pages + active},
  };
  for (const auto& order : orders) {
    SCOPED_TRACE(order.Name);
    std::string text =
        "object Form1: TCustomForm\n  Left = 40\n  Top = 40\n  Width = 600\n  Height = 420\n"
        "  object kaPageViewer1: TkaPageViewer\n    Left = 0\n    Top = 0\n    Width = 567\n    Height = 393\n"
        "    Align = alClient\n" +
        order.Properties;
    for (int n = 1; n <= 4; ++n) text += PageObject(n, n == 3);
    text += "  end\nend\n";
    TCustomForm* form = TCustomForm::CreateNew(nullptr);
    ReadLayout(form, text, L"PAGES");
    auto* viewer = dynamic_cast<TkaPageViewer*>(form->FindComponent(L"kaPageViewer1"));
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(viewer->Pages()->Count(), 4);
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      TkaPageViewerPage* p = viewer->Pages()->Items(i)->Page();
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(p->Name(), L"kaPageViewerPage" + std::to_wstring(i + 1));
      EXPECT_EQ(p->Parent(), viewer);
      EXPECT_EQ(p->PageViewer(), viewer);
      EXPECT_EQ(p->Visible(), i == 2);
      EXPECT_EQ(p->Color(), clWindow);
      EXPECT_FALSE(p->AutoScroll());
      EXPECT_FALSE(p->FullUpdate());
      EXPECT_TRUE(p->StorePaintBuffer());
      EXPECT_EQ(p->Font()->Name(), L"Tahoma");
    }
    EXPECT_EQ(viewer->PageIndex(), 2);
    ASSERT_EQ(viewer->ActivePage(), viewer->Pages()->Items(2)->Page());

    form->Show();
    PumpPending();
    EXPECT_TRUE(::IsWindowVisible(viewer->ActivePage()->WindowHandle()));
    viewer->SetPageIndex(0);
    EXPECT_TRUE(viewer->Pages()->Items(0)->Page()->Visible());
    EXPECT_FALSE(viewer->Pages()->Items(2)->Page()->Visible());
    form->Free();
  }
}

// ---- No flicker, no leaks -----------------------------------------------------------------------

TEST(PageViewerFlicker, SwitchingNeverExposesTheViewer) {
  TScene s(4);
  // At the moment the old page starts to hide, the new one must already cover the viewer.
  int hides = 0, bad = 0;
  for (int i = 0; i < 4; ++i) {
    TkaPageViewerPage* page = s.Page(i);
    page->WindowProc = [&s, &hides, &bad, page](TMessage& Message) {
      if (Message.Msg == WM_WINDOWPOSCHANGING &&
          (reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags & SWP_HIDEWINDOW) != 0) {
        ++hides;
        TkaPageViewerPage* now = s.Viewer->ActivePage();
        HWND top = ::GetWindow(s.Viewer->WindowHandle(), GW_CHILD);
        RECT pending;
        if (now == page || !::IsWindowVisible(now->WindowHandle()) || top != now->WindowHandle() ||
            ::GetUpdateRect(s.Viewer->WindowHandle(), &pending, FALSE))
          ++bad;
      }
      page->WndProc(Message);
    };
  }
  s.Viewer->Paints = 0;
  const int order[] = {0, 3, 1, 2, 0, 2, 3, 1};
  for (int round = 0; round < 5; ++round)
    for (int index : order) {
      s.Viewer->SetPageIndex(index);
      PumpPending();
      EXPECT_EQ(s.OnScreen(150, 100), kPageColors[index]);
    }
  EXPECT_GT(hides, 0);
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(s.Viewer->Paints, 0) << "the viewer itself never had anything to paint";
  for (int i = 0; i < 4; ++i) s.Page(i)->WindowProc = nullptr;
}

TEST(PageViewerResources, FiveHundredSwitchesKeepHandlesFlat) {
  TScene s(4);
  for (int i = 0; i < 8; ++i) {
    s.Viewer->SetPageIndex(i % 4);
    PumpPending();
  }
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 500; ++i) {
    s.Viewer->SetPageIndex((i * 3) % 4);
    PumpPending();
  }
  EXPECT_LE(GdiObjectCount() - gdi, 2);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
