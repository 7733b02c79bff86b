// What the providers know of one control: its kind, name and patterns, and the painted parts
// (tabs, rows) it shows as child elements. An adapter reaches its control only through a weak
// link that the control's destruction clears, so a provider that a client still holds never
// keeps the control alive and never touches it once it is gone.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "lib/kaAccessibility/UiaInterfaces.h"

namespace kaAccessibility {

// Holds a control until it is destroyed; then Control() is nullptr.
class TControlLink : public TComponent {
  KA_CLASS(TControlLink, TComponent)
 public:
  explicit TControlLink(TWinControl* AControl);
  ~TControlLink() override;
  TWinControl* Control() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TWinControl* FControl;
};

class TAutomationAdapter {
 public:
  explicit TAutomationAdapter(TWinControl* AControl);
  virtual ~TAutomationAdapter();
  TAutomationAdapter(const TAutomationAdapter&) = delete;
  TAutomationAdapter& operator=(const TAutomationAdapter&) = delete;

  // The control, or nullptr once it was freed (or is being freed).
  TWinControl* Control() const { return FLink->Control(); }

  // ---- The control's own element ----------------------------------------------------------
  virtual long ControlType() const = 0;
  // The caption without its accelerator mark; descendants name captionless controls.
  virtual String Name() const;
  virtual bool HasPattern(PATTERNID Pattern) const;
  virtual bool IsContent() const { return true; }
  virtual HRESULT Invoke() { return kaUia::kInvalidOperation; }
  virtual int ToggleState() const { return kaUia::kToggleOff; }
  virtual HRESULT Toggle() { return kaUia::kInvalidOperation; }
  virtual int ExpandState() const { return kaUia::kLeafNode; }
  virtual HRESULT SetExpanded(bool Value) { return kaUia::kInvalidOperation; }
  // The Value pattern's read-only text.
  virtual String Value() const { return String(); }

  // ---- Child elements (painted parts); Index is 0..ItemCount()-1 ----------------------------
  virtual int ItemCount() const { return 0; }
  virtual long ItemControlType() const { return kaUia::kListItemControlType; }
  virtual String ItemName(int Index) const { return String(); }
  // Where the part shows, in screen pixels; empty while it is not on screen.
  virtual TRect ItemScreenRect(int Index) const { return TRect(); }
  virtual bool ItemEnabled(int Index) const { return true; }
  // Selection among the parts (one at most): -1 for none.
  virtual int SelectedItem() const { return -1; }
  virtual HRESULT SelectItem(int Index) { return kaUia::kInvalidOperation; }
  virtual bool SelectionRequired() const { return false; }
  virtual bool ItemsScroll() const { return false; }
  virtual HRESULT ScrollItemIntoView(int Index) { return kaUia::kInvalidOperation; }
  // The part at a point in screen pixels, or -1.
  virtual int ItemAt(TPoint ScreenPoint) const;

  // An element of this control that holds the keyboard focus inside it: an item, or -1 for
  // the control itself.
  virtual int FocusedItem() const { return -1; }

 private:
  TControlLink* FLink;
};

// The adapter for a control of the library, or nullptr for a control it does not describe.
std::shared_ptr<TAutomationAdapter> CreateAdapter(TWinControl* Control);

// A name for a glyph kind of the vector glyph buttons ("Close", "Maximize", ...); empty for
// an unknown kind.
String GlyphKindName(int Kind);

// Caption without accelerator marks: "E&xit" gives "Exit", "&&" gives "&".
String StripAccelerator(const String& Caption);

}  // namespace kaAccessibility
