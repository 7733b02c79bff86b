// The adapters of the library's controls: which UI Automation element each one is, and how
// its patterns drive it through the control's public interface.
#include <algorithm>

#include "lib/kaAccessibility/AutomationAdapter.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaControls/kaButtonControl.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "lib/kaModernControls/kaToggleSwitch.h"

namespace kaAccessibility {
namespace {

using namespace kaUia;

TRect ToScreen(const TControl* Control, const TRect& R) {
  const TPoint origin = Control->ClientToScreen(TPoint{0, 0});
  return TRect{R.Left + origin.X, R.Top + origin.Y, R.Right + origin.X, R.Bottom + origin.Y};
}

// The part of R (client coordinates) inside View, on screen; empty when nothing shows.
TRect VisiblePart(const TControl* Control, const TRect& R, const TRect& View) {
  const TRect clipped{std::max(R.Left, View.Left), std::max(R.Top, View.Top),
                      std::min(R.Right, View.Right), std::min(R.Bottom, View.Bottom)};
  return clipped.IsEmpty() ? TRect() : ToScreen(Control, clipped);
}

template <class T>
T* As(const TAutomationAdapter* Adapter) {
  return static_cast<T*>(Adapter->Control());
}

// ---- Buttons ----------------------------------------------------------------------------------

class TButtonAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kButtonControlType; }
  String Name() const override {
    String name = TAutomationAdapter::Name();
    if (name.empty()) name = CaptionlessName();
    if (name.empty()) name = Control()->Hint();
    return name;
  }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_InvokePatternId; }
  HRESULT Invoke() override {
    As<TkaCustomButtonControl>(this)->PerformClick();
    return S_OK;
  }

 protected:
  virtual String CaptionlessName() const { return String(); }
};

class TGlyphButtonAdapter : public TButtonAdapter {
 public:
  using TButtonAdapter::TButtonAdapter;

 protected:
  String CaptionlessName() const override {
    return GlyphKindName(As<TkaGPGlyphButton>(this)->GlyphOptions()->Kind());
  }
};

class TCheckBoxAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kCheckBoxControlType; }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_TogglePatternId; }
  int ToggleState() const override {
    switch (As<TkaCheckBox>(this)->State()) {
      case cbChecked: return kToggleOn;
      case cbGrayed: return kToggleIndeterminate;
      default: return kToggleOff;
    }
  }
  // The user's click: the box steps through its states as it does for a click and OnClick
  // fires.
  HRESULT Toggle() override {
    As<TkaCheckBox>(this)->PerformClick();
    return S_OK;
  }
};

class TSwitchAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  // A switch is a button that toggles, as the platform's own switches describe themselves.
  long ControlType() const override { return kButtonControlType; }
  String Name() const override {
    String name = TAutomationAdapter::Name();
    return name.empty() ? Control()->Hint() : name;
  }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_TogglePatternId; }
  int ToggleState() const override {
    return As<TkaCustomToggleSwitch>(this)->IsOn() ? kToggleOn : kToggleOff;
  }
  HRESULT Toggle() override {
    auto* sw = As<TkaCustomToggleSwitch>(this);
    // ReadOnly keeps the state from the user, and automation acts for the user.
    if (sw->ReadOnly()) return kInvalidOperation;
    sw->SetState(sw->IsOn() ? kaswOff : kaswOn);
    return S_OK;
  }
};

// ---- Static text and containers --------------------------------------------------------------

class TLabelAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kTextControlType; }
};

class TPanelAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  // A caption makes the panel a named group of what it holds; without one it only lays out.
  long ControlType() const override {
    return Control()->Caption().empty() ? kPaneControlType : kGroupControlType;
  }
  bool IsContent() const override { return !Control()->Caption().empty(); }
};

// ---- Pages ------------------------------------------------------------------------------------

class TPageViewerAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kTabControlType; }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_SelectionPatternId; }
  int ItemCount() const override { return Viewer()->Pages()->Count(); }
  long ItemControlType() const override { return kTabItemControlType; }
  String ItemName(int Index) const override {
    const TkaPageViewerPage* page = Page(Index);
    if (page == nullptr) return String();
    return page->Caption().empty() ? page->Name() : StripAccelerator(page->Caption());
  }
  // The pages have no tabs: the one shown stands for its item.
  TRect ItemScreenRect(int Index) const override {
    const TkaPageViewerPage* page = Page(Index);
    if (page == nullptr || Index != Viewer()->PageIndex() || !page->Visible()) return TRect();
    return ToScreen(Viewer(), page->BoundsRect());
  }
  int SelectedItem() const override { return Viewer()->PageIndex(); }
  HRESULT SelectItem(int Index) override {
    Viewer()->SetPageIndex(Index);
    return Viewer()->PageIndex() == Index ? S_OK : kInvalidOperation;
  }
  bool SelectionRequired() const override { return true; }

 private:
  TkaPageViewer* Viewer() const { return As<TkaPageViewer>(this); }
  TkaPageViewerPage* Page(int Index) const { return Viewer()->Pages()->Items(Index)->Page(); }
};

class TPageControlAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kTabControlType; }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_SelectionPatternId; }
  int ItemCount() const override { return Pager()->Tabs()->Count(); }
  long ItemControlType() const override { return kTabItemControlType; }
  String ItemName(int Index) const override {
    const TkaGPPageControlTab* tab = Tab(Index);
    if (!tab->Caption().empty()) return StripAccelerator(tab->Caption());
    return tab->Page() != nullptr ? tab->Page()->Name() : String();
  }
  // A tab scrolled out of the row shows nothing.
  TRect ItemScreenRect(int Index) const override {
    const TkaGPPageControlTab* tab = Tab(Index);
    if (!tab->Visible()) return TRect();
    return VisiblePart(Pager(), tab->TabRect, Pager()->TabsRect());
  }
  bool ItemEnabled(int Index) const override { return Tab(Index)->Enabled(); }
  int SelectedItem() const override { return Pager()->TabIndex(); }
  // The page control may refuse (OnCanChangePage, focus that cannot leave the page).
  HRESULT SelectItem(int Index) override {
    if (!Tab(Index)->Visible()) return kInvalidOperation;
    Pager()->SetTabIndex(Index);
    return Pager()->TabIndex() == Index ? S_OK : kInvalidOperation;
  }
  bool SelectionRequired() const override { return true; }
  int ItemAt(TPoint ScreenPoint) const override {
    return Pager()->TabFromPoint(Pager()->ScreenToClient(ScreenPoint));
  }
  // The keys move between tabs: with the focus on the control, the selected tab holds it.
  int FocusedItem() const override { return Pager()->Focused() ? Pager()->TabIndex() : -1; }

 private:
  TkaGPPageControl* Pager() const { return As<TkaGPPageControl>(this); }
  TkaGPPageControlTab* Tab(int Index) const { return Pager()->Tabs()->Items(Index); }
};

// ---- Lists ------------------------------------------------------------------------------------

// The rows of an advanced list box, for the list itself and for a combo box's drop-down.
class TListRows {
 public:
  static int Count(TkaAdvancedListBox* List) { return List->Items()->Count(); }
  static String Name(TkaAdvancedListBox* List, int Index) {
    const TkaAdvancedListItem* item = List->Items()->Items(Index);
    return item->Caption().empty() ? item->Title() : item->Caption();
  }
  static TRect ScreenRect(TkaAdvancedListBox* List, int Index) {
    return VisiblePart(List, List->Items()->Items(Index)->ItemRect(), List->ItemsRect());
  }
  static bool Selectable(TkaAdvancedListBox* List, int Index) {
    const TkaAdvancedListItem* item = List->Items()->Items(Index);
    return item->Enabled() && !item->Header() && item->IsFilterVisible();
  }
};

class TListBoxAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kListControlType; }
  bool HasPattern(PATTERNID Pattern) const override { return Pattern == UIA_SelectionPatternId; }
  int ItemCount() const override { return TListRows::Count(List()); }
  String ItemName(int Index) const override { return TListRows::Name(List(), Index); }
  TRect ItemScreenRect(int Index) const override { return TListRows::ScreenRect(List(), Index); }
  bool ItemEnabled(int Index) const override { return List()->Items()->Items(Index)->Enabled(); }
  int SelectedItem() const override { return List()->ItemIndex(); }
  HRESULT SelectItem(int Index) override {
    if (!TListRows::Selectable(List(), Index)) return kInvalidOperation;
    List()->SetItemIndex(Index);
    return S_OK;
  }
  bool ItemsScroll() const override { return true; }
  HRESULT ScrollItemIntoView(int Index) override {
    List()->ScrollToItem(Index);
    return S_OK;
  }
  int ItemAt(TPoint ScreenPoint) const override {
    const TPoint p = List()->ScreenToClient(ScreenPoint);
    return List()->ItemAtPos(p.X, p.Y);
  }
  int FocusedItem() const override { return List()->Focused() ? List()->ItemIndex() : -1; }

 private:
  TkaAdvancedListBox* List() const { return As<TkaAdvancedListBox>(this); }
};

class TComboBoxAdapter : public TAutomationAdapter {
 public:
  using TAutomationAdapter::TAutomationAdapter;
  long ControlType() const override { return kComboBoxControlType; }
  String Name() const override {
    String name = TAutomationAdapter::Name();
    return name.empty() ? Control()->Hint() : name;
  }
  bool HasPattern(PATTERNID Pattern) const override {
    return Pattern == UIA_ExpandCollapsePatternId || Pattern == UIA_SelectionPatternId ||
           Pattern == UIA_ValuePatternId;
  }
  int ExpandState() const override { return Combo()->DroppedDown() ? kExpanded : kCollapsed; }
  HRESULT SetExpanded(bool Value) override {
    if (Value == Combo()->DroppedDown()) return S_OK;
    if (Value)
      Combo()->DropDown();
    else
      Combo()->CloseUp(false);
    // An empty list never opens.
    return Combo()->DroppedDown() == Value ? S_OK : kInvalidOperation;
  }
  String Value() const override {
    const int index = Combo()->ItemIndex();
    return index >= 0 && index < ItemCount() ? ItemName(index) : String();
  }
  int ItemCount() const override { return TListRows::Count(List()); }
  String ItemName(int Index) const override { return TListRows::Name(List(), Index); }
  // The rows show only while the list is open.
  TRect ItemScreenRect(int Index) const override {
    return Combo()->DroppedDown() ? TListRows::ScreenRect(List(), Index) : TRect();
  }
  bool ItemEnabled(int Index) const override { return List()->Items()->Items(Index)->Enabled(); }
  int SelectedItem() const override { return Combo()->ItemIndex(); }
  HRESULT SelectItem(int Index) override {
    if (!TListRows::Selectable(List(), Index)) return kInvalidOperation;
    Combo()->SetItemIndex(Index);
    return S_OK;
  }

 private:
  TkaAdvancedCustomComboBox* Combo() const { return As<TkaAdvancedCustomComboBox>(this); }
  TkaAdvancedListBox* List() const { return Combo()->ListBox(); }
};

template <class A>
std::shared_ptr<TAutomationAdapter> Make(TWinControl* Control) {
  return std::make_shared<A>(Control);
}

}  // namespace

std::shared_ptr<TAutomationAdapter> CreateAdapter(TWinControl* Control) {
  if (Control == nullptr) return nullptr;
  // Most derived first: a check box is a button control, a popup list a list box.
  if (dynamic_cast<TkaAdvancedCustomComboBox*>(Control)) return Make<TComboBoxAdapter>(Control);
  if (dynamic_cast<TkaAdvancedListBox*>(Control)) return Make<TListBoxAdapter>(Control);
  if (dynamic_cast<TkaCheckBox*>(Control)) return Make<TCheckBoxAdapter>(Control);
  if (dynamic_cast<TkaGPGlyphButton*>(Control)) return Make<TGlyphButtonAdapter>(Control);
  if (dynamic_cast<TkaCustomButtonControl*>(Control)) return Make<TButtonAdapter>(Control);
  if (dynamic_cast<TkaCustomToggleSwitch*>(Control)) return Make<TSwitchAdapter>(Control);
  if (dynamic_cast<TkaGPPageControl*>(Control)) return Make<TPageControlAdapter>(Control);
  if (dynamic_cast<TkaPageViewer*>(Control)) return Make<TPageViewerAdapter>(Control);
  if (dynamic_cast<TkaLabel*>(Control) || dynamic_cast<TkaGPLabel*>(Control))
    return Make<TLabelAdapter>(Control);
  if (dynamic_cast<TkaPanel*>(Control) || dynamic_cast<TkaGPPanel*>(Control))
    return Make<TPanelAdapter>(Control);
  return nullptr;
}

}  // namespace kaAccessibility
