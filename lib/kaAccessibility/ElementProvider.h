// One UI Automation element: a control of the library (Item -1), or one of its painted parts
// (a tab, a row). The control's element is the fragment root over its parts. Every call
// answers UIA_E_ELEMENTNOTAVAILABLE once the control is gone, or the part no longer exists.
#pragma once

#include <memory>

#include "lib/kaAccessibility/AutomationAdapter.h"

namespace kaAccessibility {

class TElementProvider final : public IRawElementProviderSimple,
                               public IRawElementProviderFragment,
                               public IRawElementProviderFragmentRoot,
                               public kaUia::IInvokeProvider,
                               public kaUia::IToggleProvider,
                               public kaUia::IExpandCollapseProvider,
                               public kaUia::ISelectionProvider,
                               public kaUia::ISelectionItemProvider,
                               public kaUia::IScrollItemProvider,
                               public kaUia::IValueProvider {
 public:
  // A new element with one reference, which the caller owns.
  static TElementProvider* Create(std::shared_ptr<TAutomationAdapter> Adapter, int Item = -1);

  // Live elements of this kind in the process (leak checks).
  static int LiveCount();

  // ---- IUnknown ---------------------------------------------------------------------------
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ---- IRawElementProviderSimple ----------------------------------------------------------
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* Result) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID Pattern, IUnknown** Result) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID Property, VARIANT* Result) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** Result) override;

  // ---- IRawElementProviderFragment --------------------------------------------------------
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection Direction, IRawElementProviderFragment** Result) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** Result) override;
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* Result) override;
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** Result) override;
  HRESULT STDMETHODCALLTYPE SetFocus() override;
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** Result) override;

  // ---- IRawElementProviderFragmentRoot ----------------------------------------------------
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double X, double Y, IRawElementProviderFragment** Result) override;
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** Result) override;

  // ---- Patterns ---------------------------------------------------------------------------
  HRESULT STDMETHODCALLTYPE Invoke() override;
  HRESULT STDMETHODCALLTYPE Toggle() override;
  HRESULT STDMETHODCALLTYPE get_ToggleState(int* Result) override;
  HRESULT STDMETHODCALLTYPE Expand() override;
  HRESULT STDMETHODCALLTYPE Collapse() override;
  HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(int* Result) override;
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** Result) override;
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* Result) override;
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* Result) override;
  HRESULT STDMETHODCALLTYPE Select() override;
  HRESULT STDMETHODCALLTYPE AddToSelection() override;
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override;
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* Result) override;
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** Result) override;
  HRESULT STDMETHODCALLTYPE ScrollIntoView() override;
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR Value) override;
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* Result) override;

 private:
  TElementProvider(std::shared_ptr<TAutomationAdapter> Adapter, int Item);
  ~TElementProvider();

  bool IsRoot() const { return FItem < 0; }
  // The control while this element exists: alive, and (for a part) the part still there.
  TWinControl* Live() const;
  // Live() and enabled, for the patterns that act.
  HRESULT CanAct() const;
  bool HasPattern(PATTERNID Pattern) const;
  TRect ScreenRect() const;
  bool PropertyValue(PROPERTYID Property, TWinControl* Control, VARIANT* Result) const;
  // A new element of the same control; nullptr for an item outside the parts.
  TElementProvider* Sibling(int Item) const;

  LONG FRefCount = 1;
  std::shared_ptr<TAutomationAdapter> FAdapter;
  int FItem;
};

}  // namespace kaAccessibility
