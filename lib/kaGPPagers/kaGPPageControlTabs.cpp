// The pages and tabs of the vector page control, and the collection that orders them.
#include "framework/Designer.h"
#include "framework/Forms.h"
#include "framework/TypeInfo.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

bool Has(const TComponent* C, TComponentStateFlag Flag) { return C->ComponentState().Contains(Flag); }

}  // namespace

// ---- TkaGPPageControlPage ---------------------------------------------------------------------

TkaGPPageControlPage::TkaGPPageControlPage(TComponent* AOwner) : TkaCustomScrollBox(AOwner) {
  FControlStyle.Include(csNoDesignVisible);
  FColor = clBtnFace;
  SetBackgroundStyle(kasbsFormBackground);
  SetBorderStyle(bsNone);
  SetAutoScroll(false);
  SetFullUpdate(false);
  FParentFont = false;
  FParentColor = false;
}

TkaGPPageControlPage::~TkaGPPageControlPage() {
  if (FPager != nullptr && !FDestroyFromPager) FPager->PageDestroying(this);
}

void TkaGPPageControlPage::SetPager(TkaGPPageControl* Value) { ReplaceReference(FPager, Value); }

void TkaGPPageControlPage::SetBGStyle(TkaGPPageBGStyle Value) {
  if (FBGStyle == Value) return;
  FBGStyle = Value;
  SetBackgroundStyle(Value == kagppsForm ? kasbsFormBackground : kasbsPanel);
}

void TkaGPPageControlPage::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPager) FPager = nullptr;
}

void TkaGPPageControlPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FPager == nullptr)
    if (auto* pager = dynamic_cast<TkaGPPageControl*>(Parent())) SetPager(pager);
  if (Parent() != nullptr && FPager != nullptr && Parent() == FPager) {
    const TRect r = FPager->PageBounds();
    ALeft = r.Left;
    ATop = r.Top;
    AWidth = r.Width();
    AHeight = r.Height();
  }
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---- TkaGPPageControlTab ----------------------------------------------------------------------

TkaGPPageControlTab::TkaGPPageControlTab(TCollection* Collection)
    : TCollectionItem(Collection), FCustomOptions(nullptr), FCustomGlowEffect(nullptr) {
  TkaGPPageControl* pager = Pager();
  FCaption = Format(L"TkaGPPageControlTab%d", Index() + 1);
  FCustomOptions = new TkaGPTabOptions(pager);
  FCustomOptions->OnChange = [this](TObject*) { Changed(false); };
  FCustomGlowEffect = new TkaButtonGlowEffect(pager);
  FCustomGlowEffect->SetStates({kasFocused});
  FCustomGlowEffect->OnChange = [this](TObject*) { Changed(false); };
  // In the designer a new tab comes with its page (at run time the collection's Add makes
  // it, so that streaming fills tabs without making pages).
  if (pager != nullptr && pager->Designing() && !Has(pager, csLoading) && !Has(pager, csReading) &&
      !Has(pager, csDestroying)) {
    FPage = pager->CreatePage();
    pager->FreeNotification(FPage);
    pager->SetActivePage(FPage);
  }
}

TkaGPPageControlTab::~TkaGPPageControlTab() {
  TkaGPPageControl* pager = Pager();
  // A drag of this tab has nothing left to drop.
  if (pager != nullptr && pager->FDragSourceTab == this) {
    pager->FDragSourceTab = nullptr;
    pager->FDragging = false;
  }
  if (pager != nullptr && FPage != nullptr && !Has(pager, csLoading) && !Has(pager, csDestroying) &&
      !Has(pager, csReading)) {
    TkaGPPageControlPage* page = FPage;
    FPage = nullptr;
    if (pager->Designing()) {
      static_cast<TkaGPPageControlTabs*>(Collection())->DestroyPage = page;
    } else {
      if (pager->FActivePage == page) pager->FActivePage = nullptr;
      page->FDestroyFromPager = true;
      page->Free();
    }
  }
  FCustomOptions->Free();
  FCustomGlowEffect->Free();
}

TkaGPPageControl* TkaGPPageControlTab::Pager() const {
  auto* tabs = dynamic_cast<TkaGPPageControlTabs*>(Collection());
  return tabs != nullptr ? tabs->Pager() : nullptr;
}

void TkaGPPageControlTab::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TkaGPPageControlTab*>(Source);
  if (s == nullptr) {
    inherited::Assign(Source);
    return;
  }
  // Pages belong to a form: a copy refers to the page of the same name on this control's form.
  TkaGPPageControlPage* page = nullptr;
  TkaGPPageControl* pager = Pager();
  if (s->FPage != nullptr && pager != nullptr && pager->Owner() != nullptr)
    page = dynamic_cast<TkaGPPageControlPage*>(pager->Owner()->FindComponent(s->FPage->Name()));
  FPage = page;
  if (page != nullptr && pager != nullptr) pager->FreeNotification(page);
  FCaption = s->FCaption;
  FImageIndex = s->FImageIndex;
  FVisible = s->FVisible;
  FEnabled = s->FEnabled;
  FShowCloseButton = s->FShowCloseButton;
  FUseCustomOptions = s->FUseCustomOptions;
  FCustomOptions->Assign(s->FCustomOptions);
  FCustomFrameColor = s->FCustomFrameColor;
  FCustomFrameColorAlpha = s->FCustomFrameColorAlpha;
  Changed(false);
}

void TkaGPPageControlTab::SetPage(TkaGPPageControlPage* Value) {
  if (FPage == Value) return;
  FPage = Value;
  if (Value != nullptr)
    if (TkaGPPageControl* pager = Pager()) pager->FreeNotification(Value);
  Changed(false);
}

void TkaGPPageControlTab::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (TkaGPPageControl* pager = Pager(); pager != nullptr && !Value) pager->TabVisibilityChanged(this);
  Changed(false);
}

void TkaGPPageControlTab::SetEnabled(bool Value) { SetValue(FEnabled, Value); }
void TkaGPPageControlTab::SetImageIndex(int Value) { SetValue(FImageIndex, Value); }
void TkaGPPageControlTab::SetCaption(const String& Value) { SetValue(FCaption, Value); }
void TkaGPPageControlTab::SetUseCustomOptions(bool Value) { SetValue(FUseCustomOptions, Value); }
void TkaGPPageControlTab::SetCustomFrameColor(TColor Value) { SetValue(FCustomFrameColor, Value); }
void TkaGPPageControlTab::SetCustomFrameColorAlpha(uint8_t Value) { SetValue(FCustomFrameColorAlpha, Value); }
void TkaGPPageControlTab::SetShowCloseButton(bool Value) { SetValue(FShowCloseButton, Value); }

// ---- TkaGPPageControlTabs ---------------------------------------------------------------------

TkaGPPageControlTabs::TkaGPPageControlTabs(TkaGPPageControl* APager)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TkaGPPageControlTab(c); }), FPager(APager) {}

TPersistent* TkaGPPageControlTabs::GetOwner() { return FPager; }

int TkaGPPageControlTabs::IndexOfPage(const TkaGPPageControlPage* APage) const {
  if (APage == nullptr) return -1;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->FPage == APage) return i;
  return -1;
}

TkaGPPageControlTab* TkaGPPageControlTabs::Add() {
  auto* tab = static_cast<TkaGPPageControlTab*>(TCollection::Add());
  if (!FPager->Designing() && !FPager->Loading()) {
    TkaGPPageControlPage* page = FPager->CreatePage();
    tab->FPage = page;
    FPager->FreeNotification(page);
    FPager->SetActivePage(page);
    FPager->RelayoutFromStart();
  }
  return tab;
}

TkaGPPageControlTab* TkaGPPageControlTabs::Insert(int Index) {
  auto* tab = static_cast<TkaGPPageControlTab*>(TCollection::Insert(Index));
  // The selection stays on the same page when the new tab comes before it.
  if (FPager->FActivePage != nullptr) FPager->FTabIndex = IndexOfPage(FPager->FActivePage);
  if (!FPager->Designing() && !FPager->Loading()) {
    TkaGPPageControlPage* page = FPager->CreatePage();
    tab->FPage = page;
    FPager->FreeNotification(page);
    FPager->RelayoutFromStart();
  }
  return tab;
}

void TkaGPPageControlTabs::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TkaGPPageControlTab* tab = Items(Index);
  const bool runTime = !FPager->Designing() && !FPager->Loading();
  const bool selected = Index == FPager->FTabIndex;
  const bool before = Index < FPager->FTabIndex;
  if (runTime && tab->FPage != nullptr) {
    // The reference goes first, so the page does not look for its tab while it is freed.
    TkaGPPageControlPage* page = tab->FPage;
    tab->FPage = nullptr;
    if (FPager->FActivePage == page) FPager->FActivePage = nullptr;
    page->FDestroyFromPager = true;
    page->Free();
  }
  TCollection::Delete(Index);
  FPager->TabDeleted(Index, selected, before);
}

void TkaGPPageControlTabs::Clear() {
  FClearing = true;
  TCollection::Clear();
  FClearing = false;
  FPager->FTabIndex = -1;
  FPager->FTabActive = -1;
  FPager->FOldTabActive = -1;
  FPager->UpdateTabs();
}

void TkaGPPageControlTabs::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (DestroyPage != nullptr && FPager->Designing() && !FPager->Loading() && !Has(FPager, csDestroying)) {
    TkaGPPageControlPage* page = DestroyPage;
    DestroyPage = nullptr;
    page->FDestroyFromPager = true;
    page->Free();
    Designer::Modified(FPager);
  }
  FPager->UpdateTabs();
}

// ---- Published properties -------------------------------------------------------------------

KA_REGISTER_ENUM(TkaGPPageBGStyle, {{L"kagppsForm", kagppsForm}, {L"kagppsColor", kagppsColor}});

using TPage = TkaGPPageControlPage;
KA_REGISTER_CLASS(TkaGPPageControlPage, [](auto& c) {
  c.Property(L"BGStyle", &TPage::BGStyle, &TPage::SetBGStyle);
  c.Property(L"FullUpdate", &TPage::FullUpdate, &TPage::SetFullUpdate);
  c.Property(L"Wallpapers", &TPage::Wallpapers, &TPage::SetWallpapers);
  c.Property(L"WallpaperIndex", &TPage::WallpaperIndex, &TPage::SetWallpaperIndex);
  c.Property(L"CustomImages", &TPage::CustomImages, &TPage::SetCustomImages);
  c.Property(L"CustomBackgroundImageIndex", &TPage::CustomBackgroundImageIndex,
             &TPage::SetCustomBackgroundImageIndex);
});

using TTab = TkaGPPageControlTab;
KA_REGISTER_CLASS(TkaGPPageControlTab, [](auto& c) {
  c.Property(L"Page", &TTab::Page, &TTab::SetPage);
  c.Property(L"Visible", &TTab::Visible, &TTab::SetVisible);
  c.Property(L"Enabled", &TTab::Enabled, &TTab::SetEnabled);
  c.Property(L"ImageIndex", &TTab::ImageIndex, &TTab::SetImageIndex);
  c.Property(L"Caption", &TTab::Caption, &TTab::SetCaption);
  c.Property(L"CustomOptions", &TTab::CustomOptions);
  c.Property(L"CustomGlowEffect", &TTab::CustomGlowEffect);
  c.Property(L"CustomFrameColor", &TTab::CustomFrameColor, &TTab::SetCustomFrameColor);
  c.Property(L"CustomFrameColorAlpha", &TTab::CustomFrameColorAlpha, &TTab::SetCustomFrameColorAlpha);
  c.Property(L"ShowCloseButton", &TTab::ShowCloseButton, &TTab::SetShowCloseButton);
  c.Property(L"UseCustomOptions", &TTab::UseCustomOptions, &TTab::SetUseCustomOptions);
  c.Property(L"OnClick", &TTab::OnClick);
});
KA_REGISTER_CLASS(TkaGPPageControlTabs);
