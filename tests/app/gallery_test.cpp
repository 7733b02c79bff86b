// The controls gallery end to end: its window made the way the program makes it, every page
// visited through its tab, every style, backdrop and scale chosen through the choosers, and
// the window freed. The first round checks what each step shows and meets the process-wide
// caches of first use; the second must leave no framework object, GDI object or window
// behind.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/gallery/GalleryForm.h"
#include "framework/Themes.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaLottie/SkAnimatedImage.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/Handles.h"
#include "tests/support/TestControls.h"

namespace {

int UserObjects() {
  ::SetLastError(0);
  const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  return ThreadWindowCount();
}

void Settle(DWORD Ms) {
  const DWORD until = ::GetTickCount() + Ms;
  PumpUntil([&] { return static_cast<LONG>(::GetTickCount() - until) >= 0; }, Ms + 1000);
}

// Controls of class T on a page, in creation order (nested ones included).
template <class T>
std::vector<T*> ControlsOf(TWinControl* Parent) {
  std::vector<T*> found;
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (auto* t = dynamic_cast<T*>(c)) found.push_back(t);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      std::vector<T*> inner = ControlsOf<T>(w);
      found.insert(found.end(), inner.begin(), inner.end());
    }
  }
  return found;
}

TWinControl* PageOf(TGalleryForm* Form, TGalleryPage Page) {
  return Form->PageControl->Tabs()->Items(static_cast<int>(Page))->Page();
}

// A click on the middle of a page's tab, as the pointer gives it.
void ClickTab(TGalleryForm* Form, TGalleryPage Page) {
  TkaGPPageControl* pager = Form->PageControl;
  const TRect r = pager->Tabs()->Items(static_cast<int>(Page))->TabRect;
  const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  ::SendMessageW(pager->Handle(), WM_MOUSEMOVE, 0, at);
  ::SendMessageW(pager->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(pager->Handle(), WM_LBUTTONUP, 0, at);
  PumpPending();
}

// The generated pages hold the whole catalogue: each glyph once, each placement once, the
// long list's rows, and an animation for each Lottie file, playing.
void ExpectWholeCatalogue(TGalleryForm* Form) {
  std::set<int> kinds;
  for (TkaGPGlyphButton* b : ControlsOf<TkaGPGlyphButton>(PageOf(Form, TGalleryPage::Glyphs)))
    kinds.insert(b->GlyphOptions()->Kind());
  EXPECT_EQ(kinds.size(), 117u);
  EXPECT_EQ(*kinds.begin(), 0);
  EXPECT_EQ(*kinds.rbegin(), kagpbgkRestoreRect);

  std::set<int> placements;
  for (TkaGPPanel* p : ControlsOf<TkaGPPanel>(PageOf(Form, TGalleryPage::Images))) {
    auto* images = dynamic_cast<TkaGPImageCollection*>(p->CustomImages());
    ASSERT_NE(images, nullptr);
    placements.insert(images->Images()->Items(p->CustomImageIndex())->DrawStyle());
  }
  EXPECT_EQ(placements.size(), 25u);

  // The combo boxes keep list boxes of their own for their drop-downs: the page's own is first.
  std::vector<TkaAdvancedListBox*> lists = ControlsOf<TkaAdvancedListBox>(PageOf(Form, TGalleryPage::Lists));
  ASSERT_FALSE(lists.empty());
  int rows = 0, headers = 0;
  for (int i = 0; i < lists[0]->Items()->Count(); ++i) ++(lists[0]->Items()->Items(i)->Header() ? headers : rows);
  EXPECT_EQ(rows, 10000);
  EXPECT_EQ(headers, 10);

  std::vector<TSkAnimatedImage*> animations = ControlsOf<TSkAnimatedImage>(PageOf(Form, TGalleryPage::Animations));
  ASSERT_EQ(animations.size(), 7u);
  for (TSkAnimatedImage* a : animations) {
    EXPECT_TRUE(a->Animating());
    EXPECT_GT(a->RenderCount(), 1u);
  }
}

// Every page through a click on its tab; the animations page stays a moment, so they play.
void VisitEveryPage(TGalleryForm* Form) {
  for (int p = 0; p < GalleryPageCount; ++p) {
    const auto page = static_cast<TGalleryPage>(p);
    ClickTab(Form, page);
    ASSERT_EQ(Form->Page(), page);
    ASSERT_TRUE(PageOf(Form, page)->Visible()) << GalleryPageName(page);
    if (page == TGalleryPage::Animations) Settle(300);
  }
}

void ChooseEveryStyleAndBackdrop(TGalleryForm* Form) {
  const wchar_t* const styles[] = {L"Windows", L"Karvo Dark", L"Karvo Light"};
  for (int s = 0; s < GalleryStyleCount; ++s) {
    Form->StyleComboBox->SetItemIndex(s);
    PumpPending();
    EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), String(styles[s]));
  }
  ASSERT_TRUE(Form->BackdropComboBox->Enabled());
  for (int b = 0; b < GalleryBackdropCount; ++b) {
    Form->BackdropComboBox->SetItemIndex(b);
    PumpPending();
    EXPECT_EQ(Form->kaStyledForm1->FluentUIBackground(), static_cast<TkaFluentUIBackground>(b));
    // A backdrop re-creates the window; the pages stay as they were.
    EXPECT_EQ(Form->PageControl->Tabs()->Count(), GalleryPageCount);
  }
  Form->StyleComboBox->SetItemIndex(0);
  PumpPending();
}

// Every scale, through the same path as a move between monitors: 125 % and back, then
// 200 %, 150 % and back. A window larger than the (virtual) screen is cut to it by the
// system, so the window's size is only compared on the way through 125 %, where it fits.
void ChooseEveryScale(TGalleryForm* Form) {
  const int width = Form->Width(), height = Form->Height();
  const int tabHeight = Form->PageControl->TabHeight();
  const int steps[] = {1, 0, 3, 2, 0};
  for (int i = 0; i < 5; ++i) {
    const int s = steps[i], ppi = GalleryScalePpi(s);
    Form->ScaleComboBox->SetItemIndex(s);
    PumpPending();
    EXPECT_EQ(Form->PixelsPerInch(), ppi);
    EXPECT_DOUBLE_EQ(Form->kaStyledForm1->ScaleFactor(), ppi / 96.0);
    // Each step scales what the last left, rounding as it goes: within a pixel.
    EXPECT_NEAR(Form->PageControl->TabHeight(), ::MulDiv(tabHeight, ppi, 96), 1) << ppi;
    if (i < 2) {
      EXPECT_NEAR(Form->Width(), ::MulDiv(width, ppi, 96), 2) << ppi;
      EXPECT_NEAR(Form->Height(), ::MulDiv(height, ppi, 96), 2) << ppi;
    }
  }
  EXPECT_EQ(Form->PageControl->TabHeight(), tabHeight);
}

// The gallery window under a stand-in compositor of Windows 10 with backdrops (Wine has
// none), so that the backdrop chooser has something to choose.
class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FComposition.SetVersion(10, 0, 19045);
    FComposition.SetCompositionEnabled(true);
    FOnTaskBar = Application->MainFormOnTaskBar();
    Application->SetMainFormOnTaskBar(true);
    ::SetCursorPos(0, 0);
  }
  void TearDown() override {
    if (GalleryForm != nullptr) GalleryForm->Free();
    PumpPending();
    TStyleManager::SetStyle(L"Windows");
    Application->SetMainFormOnTaskBar(FOnTaskBar);
  }

  void Round(bool CheckCatalogue) {
    Application->CreateForm(GalleryForm);
    TGalleryForm* form = GalleryForm;
    form->Show();
    PumpPending();
    EXPECT_EQ(form->Caption(), L"Karvo VCL - Controls Gallery");
    VisitEveryPage(form);
    if (CheckCatalogue) ExpectWholeCatalogue(form);
    ChooseEveryStyleAndBackdrop(form);
    ChooseEveryScale(form);
    form->Free();
    PumpPending();
    EXPECT_EQ(GalleryForm, nullptr);
  }

  TkaCompositionTesting FComposition;
  bool FOnTaskBar = false;
};

TEST_F(GalleryTest, EveryPageStyleBackdropAndScaleThenFreedWithoutLeaks) {
  Round(true);
  Settle(200);
  const int alive = TObject::AliveCount(), gdi = GdiObjectCount(), user = UserObjects();
  Round(false);
  Settle(200);
  EXPECT_EQ(TObject::AliveCount(), alive);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjects(), user);
}

}  // namespace
