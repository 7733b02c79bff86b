// Helpers of the accessibility tests: a form to put controls on, a small owning pointer for
// COM references, and readers of provider properties as a client would ask them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "lib/kaAccessibility/kaAccessibility.h"
#include "tests/support/TestControls.h"

namespace a11ytest {

using namespace kaAccessibility;

// Owns one reference.
template <class T>
class TRef {
 public:
  TRef() = default;
  explicit TRef(T* P) : FP(P) {}
  ~TRef() { Reset(); }
  TRef(TRef&& O) noexcept : FP(O.FP) { O.FP = nullptr; }
  TRef& operator=(TRef&& O) noexcept {
    if (this != &O) {
      Reset();
      FP = O.FP;
      O.FP = nullptr;
    }
    return *this;
  }
  TRef(const TRef&) = delete;
  TRef& operator=(const TRef&) = delete;
  T* operator->() const { return FP; }
  T* Get() const { return FP; }
  T** Out() {
    Reset();
    return &FP;
  }
  explicit operator bool() const { return FP != nullptr; }
  void Reset() {
    if (FP != nullptr) FP->Release();
    FP = nullptr;
  }

 private:
  T* FP = nullptr;
};

using TElement = TRef<IRawElementProviderSimple>;

inline TElement ProviderOf(TWinControl* Control) { return TElement(CreateProvider(Control)); }

// The interface I of a pattern, as a client gets it through GetPatternProvider.
template <class I>
TRef<I> PatternOf(IUnknown* Element, PATTERNID Pattern, const GUID& Iid) {
  TRef<I> result;
  TRef<IRawElementProviderSimple> simple;
  if (FAILED(Element->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(simple.Out()))))
    return result;
  TRef<IUnknown> unknown;
  if (FAILED(simple->GetPatternProvider(Pattern, unknown.Out())) || !unknown) return result;
  unknown->QueryInterface(Iid, reinterpret_cast<void**>(result.Out()));
  return result;
}

inline TRef<kaUia::IInvokeProvider> InvokeOf(IUnknown* E) {
  return PatternOf<kaUia::IInvokeProvider>(E, UIA_InvokePatternId, kaUia::IID_Invoke);
}
inline TRef<kaUia::IToggleProvider> ToggleOf(IUnknown* E) {
  return PatternOf<kaUia::IToggleProvider>(E, UIA_TogglePatternId, kaUia::IID_Toggle);
}
inline TRef<kaUia::IExpandCollapseProvider> ExpandOf(IUnknown* E) {
  return PatternOf<kaUia::IExpandCollapseProvider>(E, UIA_ExpandCollapsePatternId, kaUia::IID_ExpandCollapse);
}
inline TRef<kaUia::ISelectionProvider> SelectionOf(IUnknown* E) {
  return PatternOf<kaUia::ISelectionProvider>(E, UIA_SelectionPatternId, kaUia::IID_Selection);
}
inline TRef<kaUia::ISelectionItemProvider> SelectionItemOf(IUnknown* E) {
  return PatternOf<kaUia::ISelectionItemProvider>(E, UIA_SelectionItemPatternId, kaUia::IID_SelectionItem);
}
inline TRef<kaUia::IScrollItemProvider> ScrollItemOf(IUnknown* E) {
  return PatternOf<kaUia::IScrollItemProvider>(E, UIA_ScrollItemPatternId, kaUia::IID_ScrollItem);
}
inline TRef<kaUia::IValueProvider> ValueOf(IUnknown* E) {
  return PatternOf<kaUia::IValueProvider>(E, UIA_ValuePatternId, kaUia::IID_Value);
}

inline TRef<IRawElementProviderFragment> FragmentOf(IUnknown* E) {
  TRef<IRawElementProviderFragment> f;
  E->QueryInterface(__uuidof(IRawElementProviderFragment), reinterpret_cast<void**>(f.Out()));
  return f;
}

// A property as VARIANT, cleared afterwards by the caller through the readers below.
struct TProperty {
  HRESULT Hr;
  VARIANT V;
  TProperty(IUnknown* E, PROPERTYID Id) {
    ::VariantInit(&V);
    TRef<IRawElementProviderSimple> simple;
    E->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(simple.Out()));
    Hr = simple->GetPropertyValue(Id, &V);
  }
  ~TProperty() { ::VariantClear(&V); }
  TProperty(const TProperty&) = delete;
  TProperty& operator=(const TProperty&) = delete;
};

inline std::wstring StringProp(IUnknown* E, PROPERTYID Id) {
  TProperty p(E, Id);
  return p.V.vt == VT_BSTR && p.V.bstrVal != nullptr ? std::wstring(p.V.bstrVal) : std::wstring();
}
inline long IntProp(IUnknown* E, PROPERTYID Id) {
  TProperty p(E, Id);
  return p.V.vt == VT_I4 ? p.V.lVal : -1;
}
// 1 for true, 0 for false, -1 for no value.
inline int BoolProp(IUnknown* E, PROPERTYID Id) {
  TProperty p(E, Id);
  return p.V.vt == VT_BOOL ? (p.V.boolVal != VARIANT_FALSE ? 1 : 0) : -1;
}
inline std::wstring NameOf(IUnknown* E) { return StringProp(E, UIA_NamePropertyId); }

inline TRect BoundsOf(IUnknown* E) {
  UiaRect r{};
  FragmentOf(E)->get_BoundingRectangle(&r);
  return TRect{int(r.left), int(r.top), int(r.left + r.width), int(r.top + r.height)};
}

inline TRect WindowRectOf(TWinControl* C) {
  RECT r{};
  ::GetWindowRect(C->Handle(), &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

inline TPoint Centre(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

// The children of a fragment, first to last, through Navigate.
inline std::vector<TRef<IRawElementProviderFragment>> ChildrenOf(IUnknown* E) {
  std::vector<TRef<IRawElementProviderFragment>> children;
  TRef<IRawElementProviderFragment> child;
  FragmentOf(E)->Navigate(NavigateDirection_FirstChild, child.Out());
  while (child) {
    TRef<IRawElementProviderFragment> next;
    child->Navigate(NavigateDirection_NextSibling, next.Out());
    children.push_back(std::move(child));
    child = std::move(next);
  }
  return children;
}

// A borderless white form that frees itself and checks that nothing it made stays alive.
struct TScene {
  TCustomForm* Form;
  int AliveBefore;
  int ElementsBefore;

  TScene() : AliveBefore(TObject::AliveCount()), ElementsBefore(TElementProvider::LiveCount()) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(60, 50, 480, 360);
    Form->SetColor(clWhite);
    Form->Show();
  }
  ~TScene() {
    if (Form != nullptr) Form->Free();
    PumpPending();
    EXPECT_EQ(TElementProvider::LiveCount(), ElementsBefore) << "providers still referenced";
    EXPECT_EQ(TObject::AliveCount(), AliveBefore) << "objects left alive";
  }
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;

  template <class T>
  T* Add(const String& Name, const TRect& Bounds, TWinControl* Parent = nullptr) {
    T* c = new T(Form);
    c->SetName(Name);
    c->SetBoundsRect(Bounds);
    c->SetParent(Parent != nullptr ? Parent : Form);
    return c;
  }
  void FreeForm() {
    Form->Free();
    Form = nullptr;
  }
};

// Puts recording fakes in place of the automation core for one test.
struct TFakeUia {
  struct TCall {
    std::wstring Name;
    long Event;
  };
  static inline std::vector<TCall> Raised;
  static inline std::vector<std::wstring> Returned;
  static inline bool Listening = false;
  TUiaApi Saved;

  TFakeUia() {
    Raised.clear();
    Returned.clear();
    Listening = false;
    TUiaApi fake;
    fake.ReturnRawElementProvider = &Return;
    fake.HostProviderFromHwnd = &Host;
    fake.RaiseAutomationEvent = &Raise;
    fake.ClientsAreListening = &AreListening;
    Saved = SetUiaApi(fake);
  }
  // The calling convention of the real functions (stdcall on i686), so no lambdas.
  static LRESULT WINAPI Return(HWND, WPARAM, LPARAM, IRawElementProviderSimple* P) {
    Returned.push_back(NameOf(P));
    return 4242;
  }
  static HRESULT WINAPI Host(HWND, IRawElementProviderSimple** P) {
    *P = nullptr;
    return S_OK;
  }
  static HRESULT WINAPI Raise(IRawElementProviderSimple* P, EVENTID Id) {
    Raised.push_back({NameOf(P), Id});
    return S_OK;
  }
  static BOOL WINAPI AreListening() { return Listening ? TRUE : FALSE; }
  ~TFakeUia() { SetUiaApi(Saved); }
  TFakeUia(const TFakeUia&) = delete;
  TFakeUia& operator=(const TFakeUia&) = delete;
};

}  // namespace a11ytest
