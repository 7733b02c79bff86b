#include "lib/kaModernControls/kaPageViewer.h"

#include <algorithm>

#include "framework/Designer.h"
#include "framework/Forms.h"
#include "framework/TypeInfo.h"

namespace {

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }

// Neither designing nor loading: collection changes make and free pages.
bool AtRunTime(const TComponent* C) { return !Designing(C) && !Loading(C); }

// Streaming or tearing down: a freed page must not reshuffle the list.
bool Busy(const TComponent* C) {
  const TComponentState s = C->ComponentState();
  return s.Contains(csLoading) || s.Contains(csDestroying) || s.Contains(csUpdating) || s.Contains(csReading) ||
         s.Contains(csWriting);
}

}  // namespace

// ---- TkaPageViewerPage ------------------------------------------------------------------------

TkaPageViewerPage::TkaPageViewerPage(TComponent* AOwner) : TkaScrollBox(AOwner) {
  FControlStyle.Include(csNoDesignVisible);
  SetBorderStyle(bsNone);
  FParentFont = false;
  FParentColor = false;
  SetAlign(alClient);
}

TkaPageViewerPage::~TkaPageViewerPage() {
  if (FPageViewer != nullptr) FPageViewer->PageDestroying(this);
}

void TkaPageViewerPage::SetPageViewer(TkaPageViewer* Value) { ReplaceReference(FPageViewer, Value); }

void TkaPageViewerPage::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPageViewer) FPageViewer = nullptr;
}

void TkaPageViewerPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (Align() != alClient) {
    if (FPageViewer == nullptr)
      if (auto* viewer = dynamic_cast<TkaPageViewer*>(Parent())) SetPageViewer(viewer);
    if (Parent() != nullptr && FPageViewer != nullptr) {
      ALeft = 0;
      ATop = 0;
      AWidth = FPageViewer->Width();
      AHeight = FPageViewer->Height();
    }
  }
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---- TkaPageViewerItem ------------------------------------------------------------------------

TkaPageViewerItem::TkaPageViewerItem(TCollection* Collection) : TCollectionItem(Collection) {
  TkaPageViewer* viewer = Viewer();
  // In the designer a new item comes with its page (at run time the collection's Add makes
  // it, so that streaming can fill items without making pages).
  if (viewer != nullptr && Designing(viewer) && !Busy(viewer)) {
    FPage = viewer->CreatePage();
    viewer->FreeNotification(FPage);
    viewer->SetActivePage(FPage);
  }
}

TkaPageViewerItem::~TkaPageViewerItem() {
  TkaPageViewer* viewer = Viewer();
  if (viewer != nullptr && Designing(viewer) && !Busy(viewer) && FPage != nullptr)
    static_cast<TkaPageViewerItems*>(Collection())->DestroyPage = FPage;
}

TkaPageViewer* TkaPageViewerItem::Viewer() const {
  auto* items = dynamic_cast<TkaPageViewerItems*>(Collection());
  return items != nullptr ? items->PageViewer() : nullptr;
}

void TkaPageViewerItem::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TkaPageViewerItem*>(Source);
  if (source == nullptr) {
    inherited::Assign(Source);
    return;
  }
  // Pages belong to a form: a copy refers to the page of the same name on this viewer's form.
  TkaPageViewerPage* page = nullptr;
  TkaPageViewer* viewer = Viewer();
  if (source->FPage != nullptr && viewer != nullptr && viewer->Owner() != nullptr)
    page = dynamic_cast<TkaPageViewerPage*>(viewer->Owner()->FindComponent(source->FPage->Name()));
  FPage = page;
  if (page != nullptr && viewer != nullptr) viewer->FreeNotification(page);
}

void TkaPageViewerItem::SetPage(TkaPageViewerPage* Value) {
  if (FPage == Value) return;
  FPage = Value;
  if (Value == nullptr) return;
  if (TkaPageViewer* viewer = Viewer()) viewer->FreeNotification(Value);
  if (TkaPageViewer* shower = Value->PageViewer()) shower->SetActivePage(Value);
}

// ---- TkaPageViewerItems -----------------------------------------------------------------------

TkaPageViewerItems::TkaPageViewerItems(TkaPageViewer* APageViewer)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TkaPageViewerItem(c); }),
      FPageViewer(APageViewer) {}

TPersistent* TkaPageViewerItems::GetOwner() { return FPageViewer; }

int TkaPageViewerItems::IndexOfPage(const TkaPageViewerPage* APage) const {
  if (APage == nullptr) return -1;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->FPage == APage) return i;
  return -1;
}

TkaPageViewerItem* TkaPageViewerItems::Add() {
  auto* item = static_cast<TkaPageViewerItem*>(TCollection::Add());
  if (AtRunTime(FPageViewer)) {
    TkaPageViewerPage* page = FPageViewer->CreatePage();
    item->SetPage(page);
    FPageViewer->SetActivePage(page);
  }
  return item;
}

TkaPageViewerItem* TkaPageViewerItems::Insert(int Index) {
  auto* item = static_cast<TkaPageViewerItem*>(TCollection::Insert(Index));
  if (AtRunTime(FPageViewer)) item->SetPage(FPageViewer->CreatePage());
  return item;
}

void TkaPageViewerItems::Delete(int Index) {
  TkaPageViewerItem* item = Items(Index);
  const bool runTime = AtRunTime(FPageViewer);
  const bool shown = Index == FPageViewer->FPageIndex;
  if (runTime && item->FPage != nullptr) {
    // The reference goes first, so the page does not look for its item while it is freed.
    TkaPageViewerPage* page = item->FPage;
    item->FPage = nullptr;
    page->Free();
  }
  TCollection::Delete(Index);
  if (runTime && shown) FPageViewer->ShowNeighbourOf(Index);
}

void TkaPageViewerItems::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (DestroyPage != nullptr && Designing(FPageViewer) && !Loading(FPageViewer) &&
      !FPageViewer->ComponentState().Contains(csDestroying)) {
    TkaPageViewerPage* page = DestroyPage;
    DestroyPage = nullptr;
    page->Free();
    Designer::Modified(FPageViewer);
  }
  FPageViewer->SyncPageIndex();
}

// ---- TkaPageViewer ----------------------------------------------------------------------------

TkaPageViewer::TkaPageViewer(TComponent* AOwner) : TkaCustomControl(AOwner) {
  FPages = new TkaPageViewerItems(this);
  FTabStop = false;
  FControlStyle.Include(csAcceptsControls);
  FWidth = 300;
  FHeight = 300;
  FColor = clWindow;
  // The viewer is either covered by a page or filled with its colour: nothing under it
  // ever shows, so there is nothing to capture.
  FTransparentBackground = false;
}

TkaPageViewer::~TkaPageViewer() {
  FComponentState.Include(csDestroying);
  // The pages outlive this part of the viewer (the windowed control frees its children
  // later): they must not call back into it.
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TkaPageViewerPage*>(Controls(i)); page != nullptr && page->PageViewer() == this)
      page->SetPageViewer(nullptr);
  TkaPageViewerItems* pages = FPages;
  FPages = nullptr;
  pages->Free();
}

void TkaPageViewer::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // A page covers the viewer: resizing it needs no repaint of the viewer's own.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TkaPageViewerPage* TkaPageViewer::CreatePage() {
  auto* page = Construct<TkaPageViewerPage>(Owner());
  try {
    // Hidden until a switch shows it, so a page made for a new item never shows as a
    // second page in between.
    page->SetVisible(false);
    page->SetParent(this);
    page->Font()->Assign(Font());
    page->SetPageViewer(this);
    page->SetBounds(0, 0, Width(), Height());
    String name = L"kaPageViewerPage1";
    if (Owner() != nullptr)
      for (int i = 1; Owner()->FindComponent(name = Format(L"kaPageViewerPage%d", i)) != nullptr; ++i) {
      }
    page->SetName(name);
  } catch (...) {
    page->Free();
    throw;
  }
  SetActivePage(page);
  return page;
}

void TkaPageViewer::SetActivePage(TkaPageViewerPage* Value) {
  if (Value == nullptr) return;
  if (Loading(this)) FLoadedActivePage = Value;
  SetPageIndex(FPages->IndexOfPage(Value));
}

bool TkaPageViewer::ReleaseFocusFromActivePage() {
  // The page lives on this control, so its form is this control's.
  return FActivePage == nullptr || ReleaseFocusFrom(FActivePage);
}

void TkaPageViewer::SetPageIndex(int Value) {
  const bool loading = Loading(this);
  if (loading && Value >= 0) FLoadedPageIndex = Value;
  if (Value < 0 || Value > FPages->Count() - 1) return;
  if (FOnCanChangePage && !loading) {
    bool canChange = true;
    FOnCanChangePage(Value, canChange);
    if (!canChange) return;
  }
  if (Value != FPageIndex && !Designing(this) && !loading && !ReleaseFocusFromActivePage()) return;
  if (Value >= FPages->Count()) return;  // a handler above emptied the list
  if (Value == FPageIndex) {
    TkaPageViewerPage* page = FPages->Items(Value)->Page();
    if (page != nullptr && !page->Visible()) page->SetVisible(true);
    return;
  }
  const int oldIndex = FPageIndex;
  TkaPageViewerPage* previous = FActivePage;
  FPageIndex = Value;
  if (!loading && FOnChangingPage) FOnChangingPage(this);
  if (Value >= FPages->Count()) return;
  // Shown and in front before the old page goes: the viewer's own face never shows.
  TkaPageViewerPage* page = FPages->Items(Value)->Page();
  if (page != nullptr) {
    page->SetParent(this);
    page->SetVisible(true);
    page->BringToFront();
    FActivePage = page;
    page->SetBounds(page->Left(), page->Top(), page->Width(), page->Height());
  }
  if (oldIndex >= 0 && oldIndex < FPages->Count()) {
    TkaPageViewerPage* old = FPages->Items(oldIndex)->Page();
    if (old != nullptr && old != page) old->SetVisible(false);
  }
  // A page that was on screen without being at the old index (its item was removed).
  if (previous != nullptr && previous != page && previous->Parent() == this) previous->SetVisible(false);
  if (!loading && OnChangePage) OnChangePage(this);
}

void TkaPageViewer::SyncPageIndex() {
  if (FActivePage == nullptr || ComponentState().Contains(csDestroying)) return;
  FPageIndex = FPages->IndexOfPage(FActivePage);
}

void TkaPageViewer::ShowNeighbourOf(int Index) {
  FPageIndex = -1;
  const int count = FPages->Count();
  if (count > 0) SetPageIndex(std::min(Index, count - 1));
}

void TkaPageViewer::PageDestroying(TkaPageViewerPage* APage) {
  if (FPages == nullptr || Busy(this)) return;
  if (FActivePage == APage) FActivePage = nullptr;
  const int index = FPages->IndexOfPage(APage);
  if (index < 0) {
    // Its item already let it go (Pages.Delete): normally this only shows the current
    // page again.
    if (FPages->Count() > 0) SetPageIndex(std::min(FPageIndex, FPages->Count() - 1));
    return;
  }
  const bool shown = index == FPageIndex;
  TkaPageViewerItem* item = FPages->Items(index);
  item->FPage = nullptr;
  item->Free();
  if (shown) ShowNeighbourOf(index);
}

void TkaPageViewer::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TkaPageViewerPage*>(AControl); page != nullptr && page->PageViewer() == this)
    SetActivePage(page);
  inherited::ShowControl(AControl);
}

void TkaPageViewer::Paint() {
  if (FPages->Count() > 0) return;
  const TColor color = StyleElements().Contains(seClient) ? GetStyleSystemColor(Color(), this) : Color();
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(color);
  Canvas()->FillRect(ClientRect());
}

void TkaPageViewer::Loaded() {
  inherited::Loaded();
  // Whatever the order of PageIndex, ActivePage and the items in the layout: the active
  // page named, else the page at the index named, else what the switches made of them.
  int index = FPages->IndexOfPage(FLoadedActivePage);
  if (index < 0 && FLoadedPageIndex < FPages->Count()) index = FLoadedPageIndex;
  if (index < 0) index = FPages->IndexOfPage(FActivePage);
  if (index < 0 && FPageIndex < FPages->Count()) index = FPageIndex;
  FLoadedActivePage = nullptr;
  FLoadedPageIndex = -1;
  if (index >= 0) {
    FPageIndex = index;
    FActivePage = FPages->Items(index)->Page();
  }
  for (int i = 0; i < FPages->Count(); ++i) {
    TkaPageViewerPage* page = FPages->Items(i)->Page();
    if (page == nullptr) continue;
    page->SetPageViewer(this);
    page->SetVisible(page == FActivePage);
  }
}

void TkaPageViewer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FActivePage) FActivePage = nullptr;
  if (AComponent == FLoadedActivePage) FLoadedActivePage = nullptr;
  if (FPages == nullptr) return;
  for (int i = 0; i < FPages->Count(); ++i)
    if (FPages->Items(i)->FPage == AComponent) FPages->Items(i)->FPage = nullptr;
}

void TkaPageViewer::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SIZE)
    WMSize(Message);
  else
    inherited::Dispatch(Message);
}

void TkaPageViewer::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  // Alignment fits a client-aligned page; any other is fitted by its own SetBounds.
  if (FActivePage != nullptr && FPages->Count() > 0 && FActivePage->Align() != alClient)
    FActivePage->SetBounds(FActivePage->Left(), FActivePage->Top(), FActivePage->Width(), FActivePage->Height());
}

// ---- Published properties -------------------------------------------------------------------

KA_REGISTER_CLASS(TkaPageViewerPage);
KA_REGISTER_CLASS(TkaPageViewerItem, [](auto& c) {
  c.Property(L"Page", &TkaPageViewerItem::Page, &TkaPageViewerItem::SetPage);
});
KA_REGISTER_CLASS(TkaPageViewerItems);
KA_REGISTER_CLASS(TkaPageViewer, [](auto& c) {
  c.Property(L"PageIndex", &TkaPageViewer::PageIndex, &TkaPageViewer::SetPageIndex);
  c.Property(L"Pages", &TkaPageViewer::Pages, &TkaPageViewer::SetPages);
  c.Property(L"ActivePage", &TkaPageViewer::ActivePage, &TkaPageViewer::SetActivePage);
  c.Property(L"OnChangePage", &TkaPageViewer::OnChangePage);
});
