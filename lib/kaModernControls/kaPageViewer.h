// The page viewer: a tab-less stack of full-size pages of which one is shown, chosen by
// index from code. Pages are scroll boxes that live as ordinary children of the viewer and
// are owned by the viewer's owner (so a form's layout stores them and their controls); the
// Pages collection decides their order, and so what PageIndex means.
#pragma once

#include <functional>

#include "lib/kaControls/kaCustomControl.h"
#include "lib/kaControls/kaScrollBox.h"

class TkaPageViewer;

// Asked before a switch to ATabIndex; set ACanChange to False to refuse.
using TkaCanChangePageEvent = std::function<void(int ATabIndex, bool& ACanChange)>;

class TkaPageViewerPage : public TkaScrollBox {
  KA_CLASS(TkaPageViewerPage, TkaScrollBox)
 public:
  explicit TkaPageViewerPage(TComponent* AOwner);
  // A page freed on its own leaves the viewer's list, and the viewer shows a neighbour.
  ~TkaPageViewerPage() override;

  // Whatever is asked, a page that is not client-aligned covers the whole viewer.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The viewer that shows this page (not owned; forgotten when it is freed).
  TkaPageViewer* PageViewer() const { return FPageViewer; }
  void SetPageViewer(TkaPageViewer* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TkaPageViewer* FPageViewer = nullptr;
};

class TkaPageViewerItems;

class TkaPageViewerItem : public TCollectionItem {
  KA_CLASS(TkaPageViewerItem, TCollectionItem)
 public:
  explicit TkaPageViewerItem(TCollection* Collection);
  ~TkaPageViewerItem() override;

  // From another item: the page of this viewer's owner that has the same name.
  void Assign(TPersistent* Source) override;

  TkaPageViewerPage* Page() const { return FPage; }
  // A page that has a viewer becomes that viewer's active page.
  void SetPage(TkaPageViewerPage* Value);

 private:
  friend class TkaPageViewer;
  friend class TkaPageViewerItems;
  friend class TkaPageViewerPage;
  TkaPageViewer* Viewer() const;
  TkaPageViewerPage* FPage = nullptr;
};

class TkaPageViewerItems : public TCollection {
  KA_CLASS(TkaPageViewerItems, TCollection)
 public:
  explicit TkaPageViewerItems(TkaPageViewer* APageViewer);

  TkaPageViewerItem* Items(int Index) const { return static_cast<TkaPageViewerItem*>(TCollection::Items(Index)); }
  // At run time each new item gets a new page, which is shown.
  TkaPageViewerItem* Add();
  TkaPageViewerItem* Insert(int Index);
  // At run time the item's page is freed with it; a deleted active page gives way to its
  // neighbour.
  void Delete(int Index);
  // The index of the item showing APage; -1 when none does.
  int IndexOfPage(const TkaPageViewerPage* APage) const;

  TPersistent* GetOwner() override;
  TkaPageViewer* PageViewer() const { return FPageViewer; }
  // A page whose item was removed in the designer, freed by the next Update.
  TkaPageViewerPage* DestroyPage = nullptr;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TkaPageViewer* FPageViewer;
};

class TkaPageViewer : public TkaCustomControl {
  KA_CLASS(TkaPageViewer, TkaCustomControl)
 public:
  explicit TkaPageViewer(TComponent* AOwner);
  ~TkaPageViewer() override;

  // The shown page's index in Pages; -1 before any page was shown. Setting it switches:
  // the new page is shown and brought to the front before the old one is hidden, so the
  // viewer itself never shows between them. Out-of-range values are ignored.
  int PageIndex() const { return FPageIndex; }
  void SetPageIndex(int Value);
  TkaPageViewerItems* Pages() const { return FPages; }
  void SetPages(TkaPageViewerItems* Value) { FPages->Assign(Value); }
  TkaPageViewerPage* ActivePage() const { return FActivePage; }
  // Switches to the item showing Value; a page that is not in Pages is ignored.
  void SetActivePage(TkaPageViewerPage* Value);

  // A new page owned by the viewer's owner, named "kaPageViewerPage<n>" with the first n
  // the owner has no component for, fitted to the viewer and made active.
  TkaPageViewerPage* CreatePage();

  void ShowControl(TControl* AControl) override;

  TNotifyEvent OnChangePage;
  // Fired during a switch, when PageIndex is already the new one but the old page still
  // shows.
  TNotifyEvent FOnChangingPage;
  // Asked before every switch to an index in range (the current one included).
  TkaCanChangePageEvent FOnCanChangePage;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

 private:
  friend class TkaPageViewerPage;
  friend class TkaPageViewerItems;
  // Refuses the switch when the focus sits inside the active page and will not leave it.
  bool ReleaseFocusFromActivePage();
  // PageIndex follows the page on screen when items before it come or go.
  void SyncPageIndex();
  // The item at Index is gone and it was the shown one: show the page that took its place,
  // else the last one.
  void ShowNeighbourOf(int Index);
  // APage is being freed.
  void PageDestroying(TkaPageViewerPage* APage);
  void WMSize(TMessage& Message);

  int FPageIndex = -1;
  TkaPageViewerItems* FPages = nullptr;
  TkaPageViewerPage* FActivePage = nullptr;
  // What a layout asked for, kept until Loaded: it may name them before the items, or
  // before the items know their pages.
  int FLoadedPageIndex = -1;
  TkaPageViewerPage* FLoadedActivePage = nullptr;
};
