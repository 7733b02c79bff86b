// The UI Automation pieces the MinGW headers leave out: the control pattern interfaces our
// providers implement, and the control type, event and state values they report. The
// interfaces are declared in our own namespace so that they can never collide with a fuller
// SDK header; their layouts and identifiers are the platform's. <uiautomationcoreapi.h> is
// left out on purpose: MinGW's copy names a parameter `new` and does not compile as C++.
#pragma once

#include "framework/Platform.h"

#include <ole2.h>
#include <uiautomationcore.h>
#include <uiautomationclient.h>

namespace kaUia {

// ---- Identifiers ---------------------------------------------------------------------------
constexpr long kButtonControlType = 50000;
constexpr long kCheckBoxControlType = 50002;
constexpr long kComboBoxControlType = 50003;
constexpr long kListItemControlType = 50007;
constexpr long kListControlType = 50008;
constexpr long kTabControlType = 50018;
constexpr long kTabItemControlType = 50019;
constexpr long kTextControlType = 50020;
constexpr long kGroupControlType = 50026;
constexpr long kPaneControlType = 50033;

constexpr long kFocusChangedEvent = 20005;  // UIA_AutomationFocusChangedEventId
constexpr long kRootObjectId = -25;         // UiaRootObjectId
constexpr int kAppendRuntimeId = 3;         // UiaAppendRuntimeId

// Failures the providers report, as HRESULTs.
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);  // UIA_E_ELEMENTNOTAVAILABLE
constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);    // UIA_E_ELEMENTNOTENABLED
constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);     // UIA_E_INVALIDOPERATION

enum TToggleState { kToggleOff = 0, kToggleOn = 1, kToggleIndeterminate = 2 };
enum TExpandState { kCollapsed = 0, kExpanded = 1, kPartiallyExpanded = 2, kLeafNode = 3 };

// ---- Pattern interfaces ---------------------------------------------------------------------
struct IInvokeProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};

struct IToggleProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ToggleState(int* Result) = 0;
};

struct IExpandCollapseProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Expand() = 0;
  virtual HRESULT STDMETHODCALLTYPE Collapse() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(int* Result) = 0;
};

struct ISelectionProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** Result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* Result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* Result) = 0;
};

struct ISelectionItemProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* Result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** Result) = 0;
};

struct IScrollItemProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ScrollIntoView() = 0;
};

struct IValueProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* Result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* Result) = 0;
};

// {54fcb24b-e18e-47a2-b4d3-eccbe77599a2} and so on: the platform's interface identifiers.
inline constexpr GUID IID_Invoke{0x54fcb24b, 0xe18e, 0x47a2, {0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2}};
inline constexpr GUID IID_Toggle{0x56d00bd0, 0xc4f4, 0x433c, {0xa8, 0x36, 0x1a, 0x52, 0xa5, 0x7e, 0x08, 0x92}};
inline constexpr GUID IID_ExpandCollapse{0xd847d3a5, 0xcab0, 0x4a98, {0x8c, 0x32, 0xec, 0xb4, 0x5c, 0x59, 0xad, 0x24}};
inline constexpr GUID IID_Selection{0xfb8b03af, 0x3bdf, 0x48d4, {0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b, 0xe1, 0x68}};
inline constexpr GUID IID_SelectionItem{0x2acad808, 0xb2d4, 0x452d, {0xa4, 0x07, 0x91, 0xff, 0x1a, 0xd1, 0x67, 0xb2}};
inline constexpr GUID IID_ScrollItem{0x2360c714, 0x4bf1, 0x4b26, {0xba, 0x65, 0x9b, 0x21, 0x31, 0x61, 0x27, 0xeb}};
inline constexpr GUID IID_Value{0xc7935180, 0x6fb3, 0x4201, {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};

}  // namespace kaUia
