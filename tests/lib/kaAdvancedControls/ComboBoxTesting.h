// A combo box that shows its insides to the tests and records its events, and the form it
// lives on.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/lib/kaAdvancedControls/ListBoxTesting.h"

class TProbeCombo : public TkaAdvancedComboBox {
  KA_CLASS(TProbeCombo, TkaAdvancedComboBox)
 public:
  explicit TProbeCombo(TComponent* AOwner) : TkaAdvancedComboBox(AOwner) {
    OnChange = [this](TObject* Sender) {
      EXPECT_EQ(Sender, this);
      Events.push_back("change");
    };
    OnClick = [this](TObject*) { Events.push_back("click"); };
    OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
    OnDropDown = [this](TObject*) { Events.push_back("dropdown"); };
    OnItemCheckClick = [this](TObject*) { Events.push_back("check"); };
  }
  std::vector<std::string> Events;

  int OldItemIndex() const { return FOldItemIndex; }
  bool LBDown() const { return FLBDown; }
  String CheckedText() const { return CheckedItemsText(); }
  HWND ListWnd() { return ListBox()->Handle(); }
  bool ListShown() { return ListBox()->HandleAllocated() && ::IsWindowVisible(ListBox()->WindowHandle()); }
  TRect ListRect() {
    RECT r;
    ::GetWindowRect(ListWnd(), &r);
    return TRect(r);
  }
  // A point of the list (its client coordinates) in this control's client coordinates.
  TPoint FromList(TPoint P) { return ScreenToClient(ListBox()->ClientToScreen(P)); }
  // The middle of a row of the open list, in the list's client coordinates.
  TPoint RowPoint(int Index) {
    const TRect view = ListBox()->ItemsRect();
    const int top = view.Top + Index * ListBox()->ItemHeight() - ListBox()->ScrollOffset();
    return TPoint(view.Left + 20, top + ListBox()->ItemHeight() / 2);
  }

  void Press(TPoint P) { Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y)); }
  void Release(TPoint P) { Perform(WM_LBUTTONUP, 0, MAKELPARAM(P.X, P.Y)); }
  void Move(TPoint P, WPARAM Keys = 0) { Perform(WM_MOUSEMOVE, Keys, MAKELPARAM(P.X, P.Y)); }
  using TkaAdvancedComboBox::Click;  // the control's own Click stays callable beside the pointer one
  void Click(TPoint P) {
    Press(P);
    Release(P);
  }
  // Pointer messages the list window gets (through the combo box's filter).
  void ListMove(TPoint P) { ListBox()->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(P.X, P.Y)); }
  void ListPress(TPoint P) { ListBox()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y)); }
  // The release a press on the list sends to the combo box, which holds the mouse then; the
  // real cursor is put there (the combo box asks which window is under it).
  void ListRelease(TPoint P) {
    const TPoint s = ListBox()->ClientToScreen(P);
    ::SetCursorPos(s.X, s.Y);
    Release(ScreenToClient(s));
  }
  void Key(WORD Vk) {
    Perform(WM_KEYDOWN, Vk, 0);
    Perform(WM_KEYUP, Vk, 0);
  }
  // A key with Alt held, as the system sends it.
  void AltKey(WORD Vk) { Perform(WM_SYSKEYDOWN, Vk, 1 << 29); }
  void Type(const String& Text) {
    for (wchar_t c : Text) Perform(WM_CHAR, c, 0);
  }
  void Wheel(int Delta) { Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(Delta))), 0); }
  std::unique_ptr<TBitmap> Shot() {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintTo(b->Canvas()->Handle(), 0, 0);
    return b;
  }
  // The face drawn in a control state over the background captured last.
  std::unique_ptr<TBitmap> ShotIn(TkasCtrlState State) {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintStateToDC(b->Canvas()->Handle(), State, false);
    return b;
  }
};

struct TComboScene {
  TCustomForm* Form;
  explicit TComboScene(TRect Bounds = TRect(80, 80, 580, 480), TColor Color = clBtnFace) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    Form->SetColor(Color);
    Form->Show();
    ::SetActiveWindow(Form->Handle());
    PumpPending();
  }
  ~TComboScene() {
    Form->Free();
    PumpPending();
  }
  TComboScene(const TComboScene&) = delete;
  TComboScene& operator=(const TComboScene&) = delete;
  // A combo box at (X, Y) with Rows rows "Item 0" ... of height 30.
  TProbeCombo* Add(int Rows, int X = 20, int Y = 20, int Width = 120, int Height = 41) {
    auto* c = new TProbeCombo(Form);
    c->SetBounds(X, Y, Width, Height);
    c->SetParent(Form);
    c->BeginUpdateItems();
    for (int i = 0; i < Rows; ++i) c->Add(L"Item " + std::to_wstring(i));
    c->EndUpdateItems();
    PumpPending();
    return c;
  }
};

inline std::vector<std::string> EventList(std::initializer_list<const char*> Names) {
  return std::vector<std::string>(Names.begin(), Names.end());
}
