#include "lib/kaAccessibility/ElementProvider.h"

#include <atomic>

#include "lib/kaAccessibility/UiaBinding.h"

namespace kaAccessibility {
namespace {

using namespace kaUia;

std::atomic<int> gLiveElements{0};

template <class T>
HRESULT Out(T** Result, T* Value) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = Value;
  return S_OK;
}

void SetBool(VARIANT* V, bool Value) {
  V->vt = VT_BOOL;
  V->boolVal = Value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetString(VARIANT* V, const String& Value) {
  V->vt = VT_BSTR;
  V->bstrVal = ::SysAllocStringLen(Value.data(), static_cast<UINT>(Value.size()));
}

void SetInt(VARIANT* V, long Value) {
  V->vt = VT_I4;
  V->lVal = Value;
}

}  // namespace

TElementProvider::TElementProvider(std::shared_ptr<TAutomationAdapter> Adapter, int Item)
    : FAdapter(std::move(Adapter)), FItem(Item) {
  ++gLiveElements;
}

TElementProvider::~TElementProvider() { --gLiveElements; }

TElementProvider* TElementProvider::Create(std::shared_ptr<TAutomationAdapter> Adapter, int Item) {
  if (Adapter == nullptr) return nullptr;
  return new TElementProvider(std::move(Adapter), Item);
}

int TElementProvider::LiveCount() { return gLiveElements.load(); }

TWinControl* TElementProvider::Live() const {
  TWinControl* c = FAdapter->Control();
  if (c == nullptr || FItem >= FAdapter->ItemCount()) return nullptr;
  return c;
}

HRESULT TElementProvider::CanAct() const {
  TWinControl* c = Live();
  if (c == nullptr) return kElementNotAvailable;
  if (!c->Enabled() || (!IsRoot() && !FAdapter->ItemEnabled(FItem))) return kElementNotEnabled;
  return S_OK;
}

bool TElementProvider::HasPattern(PATTERNID Pattern) const {
  if (IsRoot()) return FAdapter->HasPattern(Pattern);
  if (Pattern == UIA_SelectionItemPatternId) return FAdapter->HasPattern(UIA_SelectionPatternId);
  if (Pattern == UIA_ScrollItemPatternId) return FAdapter->ItemsScroll();
  return false;
}

TRect TElementProvider::ScreenRect() const {
  if (!IsRoot()) return FAdapter->ItemScreenRect(FItem);
  TWinControl* c = FAdapter->Control();
  RECT r{};
  if (c->HandleAllocated() && ::GetWindowRect(c->WindowHandle(), &r)) return TRect{r.left, r.top, r.right, r.bottom};
  const TPoint origin = c->ClientToScreen(TPoint{0, 0});
  return TRect{origin.X, origin.Y, origin.X + c->Width(), origin.Y + c->Height()};
}

TElementProvider* TElementProvider::Sibling(int Item) const {
  if (Item >= FAdapter->ItemCount() || Item < -1) return nullptr;
  return Create(FAdapter, Item);
}

// ---- IUnknown -----------------------------------------------------------------------------------

HRESULT TElementProvider::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == __uuidof(IRawElementProviderSimple))
    *ppv = static_cast<IRawElementProviderSimple*>(this);
  else if (riid == __uuidof(IRawElementProviderFragment))
    *ppv = static_cast<IRawElementProviderFragment*>(this);
  else if (riid == __uuidof(IRawElementProviderFragmentRoot) && IsRoot())
    *ppv = static_cast<IRawElementProviderFragmentRoot*>(this);
  else if (riid == IID_Invoke && HasPattern(UIA_InvokePatternId))
    *ppv = static_cast<IInvokeProvider*>(this);
  else if (riid == IID_Toggle && HasPattern(UIA_TogglePatternId))
    *ppv = static_cast<IToggleProvider*>(this);
  else if (riid == IID_ExpandCollapse && HasPattern(UIA_ExpandCollapsePatternId))
    *ppv = static_cast<IExpandCollapseProvider*>(this);
  else if (riid == IID_Selection && HasPattern(UIA_SelectionPatternId))
    *ppv = static_cast<ISelectionProvider*>(this);
  else if (riid == IID_SelectionItem && HasPattern(UIA_SelectionItemPatternId))
    *ppv = static_cast<ISelectionItemProvider*>(this);
  else if (riid == IID_ScrollItem && HasPattern(UIA_ScrollItemPatternId))
    *ppv = static_cast<IScrollItemProvider*>(this);
  else if (riid == IID_Value && HasPattern(UIA_ValuePatternId))
    *ppv = static_cast<IValueProvider*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TElementProvider::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&FRefCount)); }

ULONG TElementProvider::Release() {
  const LONG count = ::InterlockedDecrement(&FRefCount);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

// ---- IRawElementProviderSimple ------------------------------------------------------------------

HRESULT TElementProvider::get_ProviderOptions(ProviderOptions* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  // Not UseComThreading: the program's thread joins no COM apartment, so the automation core
  // must bring every call to the window's thread itself; the controls are not thread-safe.
  *Result = ProviderOptions_ServerSideProvider;
  return S_OK;
}

HRESULT TElementProvider::GetPatternProvider(PATTERNID Pattern, IUnknown** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  const GUID* iid = nullptr;
  switch (Pattern) {
    case UIA_InvokePatternId: iid = &IID_Invoke; break;
    case UIA_TogglePatternId: iid = &IID_Toggle; break;
    case UIA_ExpandCollapsePatternId: iid = &IID_ExpandCollapse; break;
    case UIA_SelectionPatternId: iid = &IID_Selection; break;
    case UIA_SelectionItemPatternId: iid = &IID_SelectionItem; break;
    case UIA_ScrollItemPatternId: iid = &IID_ScrollItem; break;
    case UIA_ValuePatternId: iid = &IID_Value; break;
    default: return S_OK;
  }
  // An unsupported pattern is S_OK with no provider, as clients expect.
  if (FAILED(QueryInterface(*iid, reinterpret_cast<void**>(Result)))) *Result = nullptr;
  return S_OK;
}

bool TElementProvider::PropertyValue(PROPERTYID Property, TWinControl* Control, VARIANT* Result) const {
  const bool root = IsRoot();
  switch (Property) {
    case UIA_ControlTypePropertyId:
      SetInt(Result, root ? FAdapter->ControlType() : FAdapter->ItemControlType());
      return true;
    case UIA_NamePropertyId:
      SetString(Result, root ? FAdapter->Name() : FAdapter->ItemName(FItem));
      return true;
    case UIA_AutomationIdPropertyId:
      if (!root || Control->Name().empty()) return false;
      SetString(Result, Control->Name());
      return true;
    case UIA_ClassNamePropertyId:
      if (!root) return false;
      SetString(Result, Control->ClassName());
      return true;
    case UIA_HelpTextPropertyId:
      if (!root || Control->Hint().empty()) return false;
      SetString(Result, Control->Hint());
      return true;
    case UIA_IsEnabledPropertyId:
      SetBool(Result, Control->Enabled() && (root || FAdapter->ItemEnabled(FItem)));
      return true;
    case UIA_IsKeyboardFocusablePropertyId:
      SetBool(Result, root && Control->CanFocus() && Control->TabStop());
      return true;
    case UIA_HasKeyboardFocusPropertyId:
      SetBool(Result, root ? Control->Focused() && FAdapter->FocusedItem() < 0 : FAdapter->FocusedItem() == FItem);
      return true;
    case UIA_IsContentElementPropertyId:
      SetBool(Result, !root || FAdapter->IsContent());
      return true;
    case UIA_IsControlElementPropertyId:
      SetBool(Result, true);
      return true;
    case UIA_IsOffscreenPropertyId:
      SetBool(Result, root ? !Control->IsVisibleInTree() : ScreenRect().IsEmpty());
      return true;
    case UIA_ToggleToggleStatePropertyId:
      if (!HasPattern(UIA_TogglePatternId)) return false;
      SetInt(Result, FAdapter->ToggleState());
      return true;
    case UIA_ExpandCollapseExpandCollapseStatePropertyId:
      if (!HasPattern(UIA_ExpandCollapsePatternId)) return false;
      SetInt(Result, FAdapter->ExpandState());
      return true;
    case UIA_SelectionItemIsSelectedPropertyId:
      if (!HasPattern(UIA_SelectionItemPatternId)) return false;
      SetBool(Result, FAdapter->SelectedItem() == FItem);
      return true;
    case UIA_ValueValuePropertyId:
      if (!HasPattern(UIA_ValuePatternId)) return false;
      SetString(Result, FAdapter->Value());
      return true;
    default: return false;
  }
}

HRESULT TElementProvider::GetPropertyValue(PROPERTYID Property, VARIANT* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  ::VariantInit(Result);  // VT_EMPTY: "not supported here", the host or defaults answer
  TWinControl* c = Live();
  if (c == nullptr) return kElementNotAvailable;
  PropertyValue(Property, c, Result);
  return S_OK;
}

HRESULT TElementProvider::get_HostRawElementProvider(IRawElementProviderSimple** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  TWinControl* c = Live();
  if (c == nullptr) return kElementNotAvailable;
  // Only the control's own element stands for a window; its parts live inside it.
  if (!IsRoot() || !c->HandleAllocated() || UiaApi().HostProviderFromHwnd == nullptr) return S_OK;
  return UiaApi().HostProviderFromHwnd(c->WindowHandle(), Result);
}

// ---- IRawElementProviderFragment ----------------------------------------------------------------

HRESULT TElementProvider::Navigate(NavigateDirection Direction, IRawElementProviderFragment** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  TElementProvider* target = nullptr;
  const int count = FAdapter->ItemCount();
  if (IsRoot()) {
    // The window tree places the control among its siblings; only its parts are ours.
    if (Direction == NavigateDirection_FirstChild && count > 0) target = Sibling(0);
    if (Direction == NavigateDirection_LastChild && count > 0) target = Sibling(count - 1);
  } else {
    if (Direction == NavigateDirection_Parent) target = Sibling(-1);
    if (Direction == NavigateDirection_NextSibling && FItem + 1 < count) target = Sibling(FItem + 1);
    if (Direction == NavigateDirection_PreviousSibling && FItem > 0) target = Sibling(FItem - 1);
  }
  *Result = target;  // its one reference goes to the caller
  return S_OK;
}

HRESULT TElementProvider::GetRuntimeId(SAFEARRAY** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  // The control's element takes its window's id from the host.
  if (IsRoot()) return S_OK;
  SAFEARRAY* ids = ::SafeArrayCreateVector(VT_I4, 0, 2);
  if (ids == nullptr) return E_OUTOFMEMORY;
  LONG values[2] = {kAppendRuntimeId, FItem};
  for (LONG i = 0; i < 2; ++i) ::SafeArrayPutElement(ids, &i, &values[i]);
  *Result = ids;
  return S_OK;
}

HRESULT TElementProvider::get_BoundingRectangle(UiaRect* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = UiaRect{0, 0, 0, 0};
  if (Live() == nullptr) return kElementNotAvailable;
  const TRect r = ScreenRect();
  if (r.IsEmpty()) return S_OK;
  *Result = UiaRect{double(r.Left), double(r.Top), double(r.Width()), double(r.Height())};
  return S_OK;
}

HRESULT TElementProvider::GetEmbeddedFragmentRoots(SAFEARRAY** Result) { return Out(Result, static_cast<SAFEARRAY*>(nullptr)); }

HRESULT TElementProvider::SetFocus() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  TWinControl* c = Live();
  if (!c->CanFocus()) return kInvalidOperation;
  c->SetFocus();
  return S_OK;
}

HRESULT TElementProvider::get_FragmentRoot(IRawElementProviderFragmentRoot** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  if (IsRoot()) {
    AddRef();
    *Result = this;
  } else {
    *Result = Sibling(-1);
  }
  return S_OK;
}

// ---- IRawElementProviderFragmentRoot ------------------------------------------------------------

HRESULT TElementProvider::ElementProviderFromPoint(double X, double Y, IRawElementProviderFragment** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  const int item = FAdapter->ItemAt(TPoint{static_cast<int>(X), static_cast<int>(Y)});
  if (item >= 0) {
    *Result = Sibling(item);
  } else {
    AddRef();
    *Result = this;
  }
  return S_OK;
}

HRESULT TElementProvider::GetFocus(IRawElementProviderFragment** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  const int item = FAdapter->FocusedItem();
  if (item >= 0) *Result = Sibling(item);
  return S_OK;
}

// ---- Patterns -----------------------------------------------------------------------------------

HRESULT TElementProvider::Invoke() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->Invoke();
}

HRESULT TElementProvider::Toggle() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->Toggle();
}

HRESULT TElementProvider::get_ToggleState(int* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = FAdapter->ToggleState();
  return S_OK;
}

HRESULT TElementProvider::Expand() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->SetExpanded(true);
}

HRESULT TElementProvider::Collapse() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->SetExpanded(false);
}

HRESULT TElementProvider::get_ExpandCollapseState(int* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = FAdapter->ExpandState();
  return S_OK;
}

HRESULT TElementProvider::GetSelection(SAFEARRAY** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  const int selected = FAdapter->SelectedItem();
  const bool any = selected >= 0 && selected < FAdapter->ItemCount();
  SAFEARRAY* items = ::SafeArrayCreateVector(VT_UNKNOWN, 0, any ? 1 : 0);
  if (items == nullptr) return E_OUTOFMEMORY;
  if (any) {
    TElementProvider* item = Sibling(selected);
    LONG index = 0;
    // The array takes a reference of its own.
    ::SafeArrayPutElement(items, &index, static_cast<IRawElementProviderSimple*>(item));
    item->Release();
  }
  *Result = items;
  return S_OK;
}

HRESULT TElementProvider::get_CanSelectMultiple(BOOL* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = FALSE;
  return S_OK;
}

HRESULT TElementProvider::get_IsSelectionRequired(BOOL* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = FAdapter->SelectionRequired() ? TRUE : FALSE;
  return S_OK;
}

HRESULT TElementProvider::Select() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->SelectItem(FItem);
}

// One selection at most: adding is selecting when nothing else is selected.
HRESULT TElementProvider::AddToSelection() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  const int selected = FAdapter->SelectedItem();
  if (selected == FItem) return S_OK;
  if (selected >= 0) return kInvalidOperation;
  return FAdapter->SelectItem(FItem);
}

HRESULT TElementProvider::RemoveFromSelection() {
  if (HRESULT hr = CanAct(); FAILED(hr)) return hr;
  return FAdapter->SelectedItem() == FItem ? kInvalidOperation : S_OK;
}

HRESULT TElementProvider::get_IsSelected(BOOL* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = FAdapter->SelectedItem() == FItem ? TRUE : FALSE;
  return S_OK;
}

HRESULT TElementProvider::get_SelectionContainer(IRawElementProviderSimple** Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = Sibling(-1);
  return S_OK;
}

HRESULT TElementProvider::ScrollIntoView() {
  if (Live() == nullptr) return kElementNotAvailable;
  return FAdapter->ScrollItemIntoView(FItem);
}

HRESULT TElementProvider::SetValue(LPCWSTR Value) {
  if (Live() == nullptr) return kElementNotAvailable;
  return kElementNotEnabled;  // the value is the selected row's text: read-only
}

HRESULT TElementProvider::get_Value(BSTR* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  *Result = nullptr;
  if (Live() == nullptr) return kElementNotAvailable;
  const String value = FAdapter->Value();
  *Result = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return S_OK;
}

HRESULT TElementProvider::get_IsReadOnly(BOOL* Result) {
  if (Result == nullptr) return E_INVALIDARG;
  if (Live() == nullptr) return kElementNotAvailable;
  *Result = TRUE;
  return S_OK;
}

}  // namespace kaAccessibility
