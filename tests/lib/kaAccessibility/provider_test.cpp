// The automation providers of the painted controls, called through their COM interfaces as
// a client would: what each kind of control reports, what its patterns do to it, and that a
// provider outliving its control fails cleanly instead of touching freed memory.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "lib/kaAccessibility/kaAccessibility.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaModernControls/kaPageViewer.h"
#include "tests/lib/kaAccessibility/AccessibilityScene.h"

using namespace a11ytest;
using namespace kaUia;

namespace {

const TRect kBox{20, 30, 220, 90};

const PATTERNID kAllPatterns[] = {UIA_InvokePatternId,     UIA_TogglePatternId,        UIA_ExpandCollapsePatternId,
                                  UIA_SelectionPatternId,  UIA_SelectionItemPatternId, UIA_ScrollItemPatternId,
                                  UIA_ValuePatternId};

std::set<PATTERNID> PatternsOf(IRawElementProviderSimple* E) {
  std::set<PATTERNID> found;
  for (PATTERNID id : kAllPatterns) {
    TRef<IUnknown> p;
    EXPECT_EQ(E->GetPatternProvider(id, p.Out()), S_OK);
    if (p) found.insert(id);
  }
  return found;
}

// ---- What each kind of control is --------------------------------------------------------------

struct TKindCase {
  const char* What;
  std::function<TWinControl*(TScene&)> Make;
  long ControlType;
  const wchar_t* Name;
  std::set<PATTERNID> Patterns;
  bool Focusable;
};

TkaGPGlyphButton* GlyphButton(TScene& S, TkaGPButtonGlyphKind Kind, const String& Caption = String()) {
  auto* b = S.Add<TkaGPGlyphButton>(L"Subject", kBox);
  b->GlyphOptions()->SetKind(Kind);
  b->SetCaption(Caption);
  return b;
}

template <class T>
TWinControl* Captioned(TScene& S, const String& Caption, const String& Name = L"Subject") {
  T* c = S.Add<T>(Name, kBox);
  c->SetCaption(Caption);
  return c;
}

TEST(AccessibilityKinds, TypeNamePatternsAndCommonProperties) {
  const std::set<PATTERNID> none, invoke{UIA_InvokePatternId}, toggle{UIA_TogglePatternId},
      selection{UIA_SelectionPatternId},
      combo{UIA_ExpandCollapsePatternId, UIA_SelectionPatternId, UIA_ValuePatternId};
  const TKindCase cases[] = {
      {"button", [](TScene& S) { return Captioned<TkaButton>(S, L"&Save"); }, kButtonControlType, L"Save", invoke, true},
      {"glyph button, close", [](TScene& S) { return GlyphButton(S, kagpbgkClose); }, kButtonControlType, L"Close", invoke, true},
      {"glyph button, maximize", [](TScene& S) { return GlyphButton(S, kagpbgkMaximize); }, kButtonControlType, L"Maximize", invoke, true},
      {"glyph button, restore (rounded)", [](TScene& S) { return GlyphButton(S, kagpbgkRestoreRounded); }, kButtonControlType, L"Restore", invoke, true},
      {"glyph button, minimize", [](TScene& S) { return GlyphButton(S, kagpbgkMinimize); }, kButtonControlType, L"Minimize", invoke, true},
      {"glyph button, search", [](TScene& S) { return GlyphButton(S, kagpbgkSearch); }, kButtonControlType, L"Search", invoke, true},
      {"glyph button with caption", [](TScene& S) { return GlyphButton(S, kagpbgkClose, L"Quit"); }, kButtonControlType, L"Quit", invoke, true},
      {"check box", [](TScene& S) { return Captioned<TkaCheckBox>(S, L"Remember me"); }, kCheckBoxControlType, L"Remember me", toggle, true},
      {"toggle switch", [](TScene& S) { return Captioned<TkaGPToggleSwitch>(S, L"Windows11 UI"); }, kButtonControlType, L"Windows11 UI", toggle, true},
      {"label", [](TScene& S) { return Captioned<TkaLabel>(S, L"Hello"); }, kTextControlType, L"Hello", none, false},
      {"vector label", [](TScene& S) { return Captioned<TkaGPLabel>(S, L"Vector"); }, kTextControlType, L"Vector", none, false},
      {"panel", [](TScene& S) { return Captioned<TkaPanel>(S, L""); }, kPaneControlType, L"", none, false},
      {"panel with caption", [](TScene& S) { return Captioned<TkaPanel>(S, L"Options"); }, kGroupControlType, L"Options", none, false},
      {"vector panel", [](TScene& S) { return Captioned<TkaGPPanel>(S, L""); }, kPaneControlType, L"", none, false},
      {"page viewer", [](TScene& S) { return S.Add<TkaPageViewer>(L"Subject", kBox); }, kTabControlType, L"", selection, false},
      {"page control", [](TScene& S) { return S.Add<TkaGPPageControl>(L"Subject", kBox); }, kTabControlType, L"", selection, true},
      {"list box", [](TScene& S) { return S.Add<TkaAdvancedListBox>(L"Subject", kBox); }, kListControlType, L"", selection, true},
      {"combo box", [](TScene& S) { return S.Add<TkaAdvancedComboBox>(L"Subject", kBox); }, kComboBoxControlType, L"", combo, true},
  };
  for (const TKindCase& c : cases) {
    SCOPED_TRACE(c.What);
    TScene s;
    TWinControl* control = c.Make(s);
    PumpPending();
    TElement e = ProviderOf(control);
    ASSERT_TRUE(e);
    EXPECT_EQ(IntProp(e.Get(), UIA_ControlTypePropertyId), c.ControlType);
    EXPECT_EQ(NameOf(e.Get()), c.Name);
    EXPECT_EQ(PatternsOf(e.Get()), c.Patterns);
    EXPECT_EQ(StringProp(e.Get(), UIA_AutomationIdPropertyId), L"Subject");
    EXPECT_EQ(BoolProp(e.Get(), UIA_IsEnabledPropertyId), 1);
    EXPECT_EQ(BoolProp(e.Get(), UIA_IsKeyboardFocusablePropertyId), c.Focusable ? 1 : 0);
    EXPECT_EQ(BoundsOf(e.Get()), WindowRectOf(control));
    // The form sits at (60, 50) on the screen: the rectangle is in screen pixels.
    EXPECT_EQ(BoundsOf(e.Get()).Left, 60 + kBox.Left);
    control->SetEnabled(false);
    EXPECT_EQ(BoolProp(e.Get(), UIA_IsEnabledPropertyId), 0);
  }
}

TEST(AccessibilityKinds, ControlsTheLibraryDoesNotDescribeGetNoProvider) {
  TScene s;
  auto* plain = s.Add<TTestPanel>(L"Plain", kBox);
  EXPECT_EQ(CreateProvider(plain), nullptr);
  EXPECT_EQ(CreateProvider(nullptr), nullptr);
}

TEST(AccessibilityKinds, EveryGlyphKindHasAName) {
  for (int kind = kagpbgkPriorArrow; kind <= kagpbgkRestoreRect; ++kind) EXPECT_FALSE(GlyphKindName(kind).empty()) << kind;
  EXPECT_EQ(GlyphKindName(-1), L"");
  EXPECT_EQ(GlyphKindName(kagpbgkRestoreRect + 1), L"");
}

TEST(AccessibilityKinds, AcceleratorMarksLeaveTheName) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"E&xit", L"Exit"}, {L"Save && close", L"Save & close"}, {L"&", L""}, {L"Plain", L"Plain"}, {L"a&&&b", L"a&b"}};
  for (const auto& [caption, name] : cases) EXPECT_EQ(StripAccelerator(caption), name) << caption;
}

// ---- Invoke and Toggle -----------------------------------------------------------------------------

TEST(AccessibilityInvoke, InvokingClicksTheButtonOnceAndNotWhenDisabled) {
  const std::function<TkaCustomButtonControl*(TScene&)> makers[] = {
      [](TScene& S) { return static_cast<TkaCustomButtonControl*>(Captioned<TkaButton>(S, L"Go")); },
      [](TScene& S) { return static_cast<TkaCustomButtonControl*>(GlyphButton(S, kagpbgkClose)); },
  };
  for (const auto& make : makers) {
    TScene s;
    TkaCustomButtonControl* button = make(s);
    int clicks = 0;
    button->OnClick = [&](TObject* Sender) {
      EXPECT_EQ(Sender, button);
      ++clicks;
    };
    TElement e = ProviderOf(button);
    auto invoke = InvokeOf(e.Get());
    ASSERT_TRUE(invoke);
    EXPECT_EQ(invoke->Invoke(), S_OK);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    EXPECT_EQ(invoke->Invoke(), kElementNotEnabled);
    EXPECT_EQ(clicks, 1);
  }
}

TEST(AccessibilityInvoke, InvokingAModalButtonGivesTheFormItsResult) {
  TScene s;
  auto* ok = s.Add<TkaButton>(L"Ok", kBox);
  ok->SetModalSetting(true);
  ok->SetModalResult(mrOk);
  TElement e = ProviderOf(ok);
  ASSERT_EQ(InvokeOf(e.Get())->Invoke(), S_OK);
  EXPECT_EQ(s.Form->ModalResult(), mrOk);
}

TEST(AccessibilityToggle, CheckBoxStepsThroughItsStatesAsAClickDoes) {
  for (const bool grayed : {false, true}) {
    SCOPED_TRACE(grayed ? "allow grayed" : "two states");
    TScene s;
    auto* box = s.Add<TkaCheckBox>(L"Box", kBox);
    box->SetAllowGrayed(grayed);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    TElement e = ProviderOf(box);
    auto toggle = ToggleOf(e.Get());
    ASSERT_TRUE(toggle);
    const int expected[2][3] = {{kToggleOn, kToggleOff, kToggleOn},
                                {kToggleIndeterminate, kToggleOn, kToggleOff}};
    for (int step = 0; step < 3; ++step) {
      ASSERT_EQ(toggle->Toggle(), S_OK);
      int state = -1;
      EXPECT_EQ(toggle->get_ToggleState(&state), S_OK);
      EXPECT_EQ(state, expected[grayed][step]) << step;
      EXPECT_EQ(IntProp(e.Get(), UIA_ToggleToggleStatePropertyId), state);
    }
    EXPECT_EQ(clicks, 3);
  }
}

TEST(AccessibilityToggle, SwitchFlipsUnlessReadOnlyOrDisabled) {
  TScene s;
  auto* sw = s.Add<TkaGPToggleSwitch>(L"Switch", kBox);
  sw->SetAnimation(false);
  int changes = 0;
  sw->OnChangeState = [&](TObject*) { ++changes; };
  TElement e = ProviderOf(sw);
  auto toggle = ToggleOf(e.Get());
  ASSERT_TRUE(toggle);
  int state = -1;
  ASSERT_EQ(toggle->Toggle(), S_OK);
  EXPECT_TRUE(sw->IsOn());
  toggle->get_ToggleState(&state);
  EXPECT_EQ(state, kToggleOn);
  ASSERT_EQ(toggle->Toggle(), S_OK);
  EXPECT_FALSE(sw->IsOn());
  EXPECT_EQ(changes, 2);

  sw->SetReadOnly(true);
  EXPECT_EQ(toggle->Toggle(), kInvalidOperation);
  sw->SetReadOnly(false);
  sw->SetEnabled(false);
  EXPECT_EQ(toggle->Toggle(), kElementNotEnabled);
  EXPECT_FALSE(sw->IsOn());
  EXPECT_EQ(changes, 2);
}

// ---- Pages -----------------------------------------------------------------------------------------

struct TPagerFixture {
  TScene S;
  TkaGPPageControl* Pager;
  TPagerFixture() {
    Pager = S.Add<TkaGPPageControl>(L"Pager", TRect{10, 10, 410, 210});
    for (const wchar_t* caption : {L"&General", L"Display", L"About"}) Pager->Tabs()->Add()->SetCaption(caption);
    Pager->SetTabIndex(0);
    PumpPending();
  }
};

TEST(AccessibilityPages, PageControlTabsAreItemsWithTheirPlaces) {
  TPagerFixture f;
  TElement root = ProviderOf(f.Pager);
  auto tabs = ChildrenOf(root.Get());
  ASSERT_EQ(tabs.size(), 3u);
  const wchar_t* names[] = {L"General", L"Display", L"About"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(NameOf(tabs[i].Get()), names[i]);
    EXPECT_EQ(IntProp(tabs[i].Get(), UIA_ControlTypePropertyId), kTabItemControlType);
    const TRect tab = f.Pager->Tabs()->Items(i)->TabRect;
    const TPoint origin = f.Pager->ClientToScreen(TPoint{0, 0});
    const TRect bounds = BoundsOf(tabs[i].Get());
    EXPECT_EQ(bounds.Left, tab.Left + origin.X);
    EXPECT_EQ(bounds.Top, tab.Top + origin.Y);
    EXPECT_FALSE(bounds.IsEmpty());
    // A point of the tab finds it from the root.
    TRef<IRawElementProviderFragmentRoot> fragmentRoot;
    tabs[i]->get_FragmentRoot(fragmentRoot.Out());
    TRef<IRawElementProviderFragment> hit;
    const TPoint c = Centre(bounds);
    ASSERT_EQ(fragmentRoot->ElementProviderFromPoint(c.X, c.Y, hit.Out()), S_OK);
    EXPECT_EQ(NameOf(hit.Get()), names[i]);
    // Items have runtime ids of their own; the control takes its window's.
    SAFEARRAY* ids = nullptr;
    ASSERT_EQ(tabs[i]->GetRuntimeId(&ids), S_OK);
    ASSERT_NE(ids, nullptr);
    LONG index = 1, value = -1;
    ::SafeArrayGetElement(ids, &index, &value);
    EXPECT_EQ(value, i);
    ::SafeArrayDestroy(ids);
  }
  TRef<IRawElementProviderFragment> parent;
  tabs[2]->Navigate(NavigateDirection_Parent, parent.Out());
  EXPECT_EQ(StringProp(parent.Get(), UIA_AutomationIdPropertyId), L"Pager");

  // With the focus on the control, the selected tab is the focused element.
  ::SetForegroundWindow(f.S.Form->Handle());
  f.Pager->SetFocus();
  ASSERT_TRUE(f.Pager->Focused());
  TRef<IRawElementProviderFragmentRoot> fragmentRoot;
  parent->get_FragmentRoot(fragmentRoot.Out());
  TRef<IRawElementProviderFragment> focused;
  ASSERT_EQ(fragmentRoot->GetFocus(focused.Out()), S_OK);
  EXPECT_EQ(NameOf(focused.Get()), L"General");
  EXPECT_EQ(BoolProp(tabs[0].Get(), UIA_HasKeyboardFocusPropertyId), 1);
  EXPECT_EQ(BoolProp(root.Get(), UIA_HasKeyboardFocusPropertyId), 0);
}

TEST(AccessibilityPages, SelectingATabSwitchesThePageAndAVetoFails) {
  TPagerFixture f;
  TElement root = ProviderOf(f.Pager);
  auto tabs = ChildrenOf(root.Get());
  ASSERT_EQ(tabs.size(), 3u);
  auto item = SelectionItemOf(tabs[2].Get());
  ASSERT_TRUE(item);
  ASSERT_EQ(item->Select(), S_OK);
  EXPECT_EQ(f.Pager->TabIndex(), 2);
  EXPECT_EQ(f.Pager->ActivePage(), f.Pager->Tabs()->Items(2)->Page());
  BOOL selected = FALSE;
  item->get_IsSelected(&selected);
  EXPECT_TRUE(selected);
  EXPECT_EQ(item->RemoveFromSelection(), kInvalidOperation);  // a page control always shows one

  auto selection = SelectionOf(root.Get());
  ASSERT_TRUE(selection);
  SAFEARRAY* chosen = nullptr;
  ASSERT_EQ(selection->GetSelection(&chosen), S_OK);
  LONG upper = -1;
  ::SafeArrayGetUBound(chosen, 1, &upper);
  ASSERT_EQ(upper, 0);
  IUnknown* first = nullptr;
  LONG index = 0;
  ::SafeArrayGetElement(chosen, &index, &first);
  EXPECT_EQ(NameOf(first), L"About");
  first->Release();
  ::SafeArrayDestroy(chosen);
  BOOL required = FALSE;
  selection->get_IsSelectionRequired(&required);
  EXPECT_TRUE(required);

  f.Pager->OnCanChangePage = [](int, bool& Allow) { Allow = false; };
  EXPECT_EQ(SelectionItemOf(tabs[0].Get())->Select(), kInvalidOperation);
  EXPECT_EQ(f.Pager->TabIndex(), 2);
  f.Pager->OnCanChangePage = nullptr;
  f.Pager->Tabs()->Items(1)->SetEnabled(false);
  EXPECT_EQ(SelectionItemOf(tabs[1].Get())->Select(), kElementNotEnabled);
}

TEST(AccessibilityPages, PageViewerSelectsPagesByItem) {
  TScene s;
  auto* viewer = s.Add<TkaPageViewer>(L"Viewer", TRect{10, 10, 310, 210});
  for (int i = 0; i < 3; ++i) viewer->Pages()->Add();
  viewer->Pages()->Items(1)->Page()->SetCaption(L"Settings");
  viewer->SetPageIndex(0);
  PumpPending();
  TElement root = ProviderOf(viewer);
  auto pages = ChildrenOf(root.Get());
  ASSERT_EQ(pages.size(), 3u);
  // A page without caption is known by its component name.
  EXPECT_EQ(NameOf(pages[0].Get()), viewer->Pages()->Items(0)->Page()->Name());
  EXPECT_EQ(NameOf(pages[1].Get()), L"Settings");
  ASSERT_EQ(SelectionItemOf(pages[1].Get())->Select(), S_OK);
  EXPECT_EQ(viewer->PageIndex(), 1);
  EXPECT_EQ(BoundsOf(pages[1].Get()), WindowRectOf(viewer->Pages()->Items(1)->Page()));
  EXPECT_EQ(BoolProp(pages[0].Get(), UIA_IsOffscreenPropertyId), 1);  // hidden behind the shown one
}

// ---- Lists -----------------------------------------------------------------------------------------

TEST(AccessibilityLists, ListRowsSelectScrollAndRefuseHeaders) {
  TScene s;
  auto* list = s.Add<TkaAdvancedListBox>(L"List", TRect{10, 10, 210, 130});
  for (int i = 0; i < 30; ++i) list->Add(L"Row " + std::to_wstring(i));
  list->Items()->Items(0)->SetHeader(true);
  PumpPending();
  TElement root = ProviderOf(list);
  auto rows = ChildrenOf(root.Get());
  ASSERT_EQ(rows.size(), 30u);
  EXPECT_EQ(NameOf(rows[5].Get()), L"Row 5");
  EXPECT_EQ(IntProp(rows[5].Get(), UIA_ControlTypePropertyId), kListItemControlType);

  ASSERT_EQ(SelectionItemOf(rows[3].Get())->Select(), S_OK);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(SelectionItemOf(rows[0].Get())->Select(), kInvalidOperation);
  EXPECT_EQ(list->ItemIndex(), 3);

  // The last row is below the view until it is scrolled in.
  EXPECT_TRUE(BoundsOf(rows[29].Get()).IsEmpty());
  EXPECT_EQ(BoolProp(rows[29].Get(), UIA_IsOffscreenPropertyId), 1);
  auto scroll = ScrollItemOf(rows[29].Get());
  ASSERT_TRUE(scroll);
  ASSERT_EQ(scroll->ScrollIntoView(), S_OK);
  EXPECT_GT(list->ScrollOffset(), 0);
  const TRect shown = BoundsOf(rows[29].Get());
  EXPECT_FALSE(shown.IsEmpty());
  TRef<IRawElementProviderFragmentRoot> fragmentRoot;
  FragmentOf(root.Get())->get_FragmentRoot(fragmentRoot.Out());
  TRef<IRawElementProviderFragment> hit;
  const TPoint c = Centre(shown);
  fragmentRoot->ElementProviderFromPoint(c.X, c.Y, hit.Out());
  EXPECT_EQ(NameOf(hit.Get()), L"Row 29");
}

TEST(AccessibilityLists, ComboOpensClosesAndSelects) {
  TScene s;
  auto* combo = s.Add<TkaAdvancedComboBox>(L"Combo", TRect{10, 10, 210, 40});
  combo->Add({L"None", L"Blur", L"Acrylic"});
  combo->SetItemIndex(0);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  PumpPending();
  TElement root = ProviderOf(combo);
  auto expand = ExpandOf(root.Get());
  ASSERT_TRUE(expand);
  int state = -1;
  expand->get_ExpandCollapseState(&state);
  EXPECT_EQ(state, kCollapsed);
  auto rows = ChildrenOf(root.Get());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_TRUE(BoundsOf(rows[1].Get()).IsEmpty());  // no rows on screen while closed

  ASSERT_EQ(expand->Expand(), S_OK);
  EXPECT_TRUE(combo->DroppedDown());
  expand->get_ExpandCollapseState(&state);
  EXPECT_EQ(state, kExpanded);
  EXPECT_FALSE(BoundsOf(rows[1].Get()).IsEmpty());
  ASSERT_EQ(expand->Collapse(), S_OK);
  EXPECT_FALSE(combo->DroppedDown());

  ASSERT_EQ(SelectionItemOf(rows[2].Get())->Select(), S_OK);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(changes, 1);
  BSTR value = nullptr;
  ASSERT_EQ(ValueOf(root.Get())->get_Value(&value), S_OK);
  EXPECT_STREQ(value, L"Acrylic");
  ::SysFreeString(value);
  EXPECT_EQ(ValueOf(root.Get())->SetValue(L"Blur"), kElementNotEnabled);

  combo->Clear();
  EXPECT_EQ(expand->Expand(), kInvalidOperation);  // an empty list never opens
  EXPECT_EQ(NameOf(rows[1].Get()), L"");             // the row went with the items
}

// ---- Lifetime ----------------------------------------------------------------------------------------

TEST(AccessibilityLifetime, ProvidersOfAFreedControlFailCleanly) {
  TScene s;
  auto* pager = s.Add<TkaGPPageControl>(L"Pager", TRect{10, 10, 410, 210});
  pager->Tabs()->Add()->SetCaption(L"One");
  auto* button = s.Add<TkaButton>(L"Button", kBox);
  TElement root = ProviderOf(pager);
  TElement buttonElement = ProviderOf(button);
  auto tabs = ChildrenOf(root.Get());
  ASSERT_EQ(tabs.size(), 1u);
  auto invoke = InvokeOf(buttonElement.Get());
  auto item = SelectionItemOf(tabs[0].Get());
  ASSERT_TRUE(invoke);
  ASSERT_TRUE(item);

  s.FreeForm();

  for (IUnknown* e : {static_cast<IUnknown*>(root.Get()), static_cast<IUnknown*>(tabs[0].Get()),
                      static_cast<IUnknown*>(buttonElement.Get())}) {
    TProperty name(e, UIA_NamePropertyId);
    EXPECT_EQ(name.Hr, kElementNotAvailable);
    EXPECT_EQ(name.V.vt, VT_EMPTY);
    TRef<IRawElementProviderFragment> next;
    EXPECT_EQ(FragmentOf(e)->Navigate(NavigateDirection_FirstChild, next.Out()), kElementNotAvailable);
    UiaRect r{};
    EXPECT_EQ(FragmentOf(e)->get_BoundingRectangle(&r), kElementNotAvailable);
  }
  EXPECT_EQ(invoke->Invoke(), kElementNotAvailable);
  EXPECT_EQ(item->Select(), kElementNotAvailable);
  TRef<IUnknown> pattern;
  EXPECT_EQ(buttonElement->GetPatternProvider(UIA_InvokePatternId, pattern.Out()), kElementNotAvailable);
  // The scene's destructor checks that releasing them leaves nothing alive.
}

TEST(AccessibilityLifetime, ARowThatWentAwayIsNotAvailable) {
  TScene s;
  auto* list = s.Add<TkaAdvancedListBox>(L"List", TRect{10, 10, 210, 130});
  list->Add({L"a", L"b", L"c"});
  TElement root = ProviderOf(list);
  auto rows = ChildrenOf(root.Get());
  ASSERT_EQ(rows.size(), 3u);
  list->Delete(2);
  EXPECT_EQ(TProperty(rows[2].Get(), UIA_NamePropertyId).Hr, kElementNotAvailable);
  EXPECT_EQ(NameOf(rows[1].Get()), L"b");
}

TEST(AccessibilityLifetime, ReferencesCountAndTheLastReleaseFrees) {
  TScene s;
  auto* button = s.Add<TkaButton>(L"Button", kBox);
  const int before = TElementProvider::LiveCount();
  IRawElementProviderSimple* e = CreateProvider(button);
  EXPECT_EQ(TElementProvider::LiveCount(), before + 1);
  IRawElementProviderFragment* f = nullptr;
  ASSERT_EQ(e->QueryInterface(__uuidof(IRawElementProviderFragment), reinterpret_cast<void**>(&f)), S_OK);
  void* none = nullptr;
  EXPECT_EQ(e->QueryInterface(IID_Toggle, &none), E_NOINTERFACE);  // a push button does not toggle
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(e->Release(), 1u);
  EXPECT_EQ(f->Release(), 0u);
  EXPECT_EQ(TElementProvider::LiveCount(), before);
}

// ---- The window hook and focus events -------------------------------------------------------------

TEST(AccessibilityHooks, WindowsAnswerAutomationOnlyWhenEnabled) {
  TFakeUia fake;
  TScene s;
  auto* button = s.Add<TkaGPGlyphButton>(L"CloseButton", kBox);
  button->GlyphOptions()->SetKind(kagpbgkClose);
  auto* plain = s.Add<TTestPanel>(L"Plain", TRect{300, 10, 340, 40});
  const HWND wnd = button->Handle();

  Disable();
  ::SendMessageW(wnd, WM_GETOBJECT, 0, static_cast<LPARAM>(kRootObjectId));
  EXPECT_TRUE(TFakeUia::Returned.empty());

  Enable();
  EXPECT_EQ(::SendMessageW(wnd, WM_GETOBJECT, 0, static_cast<LPARAM>(kRootObjectId)), 4242);
  // The older accessibility interface and undescribed controls keep the default answer.
  ::SendMessageW(wnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  ::SendMessageW(plain->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(kRootObjectId));
  EXPECT_EQ(TFakeUia::Returned, std::vector<std::wstring>{L"Close"});

  // Controls with window procedures of their own still let the message through.
  TFakeUia::Returned.clear();
  TWinControl* others[] = {Captioned<TkaGPToggleSwitch>(s, L"Switch", L"Switch"),
                           Captioned<TkaCheckBox>(s, L"Check", L"Check"),
                           Captioned<TkaLabel>(s, L"Label", L"Label"),
                           Captioned<TkaPanel>(s, L"Panel", L"Panel"),
                           Captioned<TkaAdvancedComboBox>(s, L"Combo", L"Combo"),
                           Captioned<TkaGPPageControl>(s, L"Pages", L"Pages"),
                           Captioned<TkaAdvancedListBox>(s, L"List", L"List"),
                           Captioned<TkaPageViewer>(s, L"Viewer", L"Viewer")};
  for (TWinControl* c : others) ::SendMessageW(c->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(kRootObjectId));
  EXPECT_EQ(TFakeUia::Returned, (std::vector<std::wstring>{L"Switch", L"Check", L"Label", L"Panel", L"Combo",
                                                          L"Pages", L"List", L"Viewer"}));
  Disable();
}

TEST(AccessibilityHooks, FocusMovesAreRaisedWhileClientsListen) {
  TFakeUia fake;
  TScene s;
  auto* first = s.Add<TkaButton>(L"First", kBox);
  first->SetCaption(L"First");
  auto* second = s.Add<TkaCheckBox>(L"Second", TRect{20, 100, 220, 130});
  second->SetCaption(L"Second");
  ::SetForegroundWindow(s.Form->Handle());
  Enable();

  TFakeUia::Listening = false;
  first->SetFocus();
  EXPECT_TRUE(TFakeUia::Raised.empty());

  TFakeUia::Listening = true;
  second->SetFocus();
  first->SetFocus();
  ASSERT_EQ(TFakeUia::Raised.size(), 2u);
  EXPECT_EQ(TFakeUia::Raised[0].Name, L"Second");
  EXPECT_EQ(TFakeUia::Raised[0].Event, kFocusChangedEvent);
  EXPECT_EQ(TFakeUia::Raised[1].Name, L"First");
  Disable();
}

TEST(AccessibilityHooks, TheSystemAutomationCoreHostsTheControlsWindow) {
  // Wine and Windows both ship it; a system without it leaves the binding empty instead.
  ASSERT_TRUE(UiaApi().Complete());
  TScene s;
  auto* pager = s.Add<TkaGPPageControl>(L"Pager", TRect{10, 10, 410, 210});
  pager->Tabs()->Add();
  TElement root = ProviderOf(pager);
  TElement host;
  ASSERT_EQ(root->get_HostRawElementProvider(host.Out()), S_OK);
  EXPECT_TRUE(host);  // the window's own element, which supplies what we leave to it
  auto tabs = ChildrenOf(root.Get());
  ASSERT_EQ(tabs.size(), 1u);
  TRef<IRawElementProviderSimple> tab;
  tabs[0]->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(tab.Out()));
  TElement none;
  ASSERT_EQ(tab->get_HostRawElementProvider(none.Out()), S_OK);
  EXPECT_FALSE(none);  // a painted tab is no window
}

}  // namespace
