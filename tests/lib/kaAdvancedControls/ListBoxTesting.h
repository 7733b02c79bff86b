// A list box that shows its insides to the tests, the form it lives on, and picture helpers.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/Forms.h"
#include "lib/kaAdvancedControls/kaAdvancedControls.h"
#include "tests/support/TestControls.h"

class TProbeListBox : public TkaAdvancedListBox {
  KA_CLASS(TProbeListBox, TkaAdvancedListBox)
 public:
  explicit TProbeListBox(TComponent* AOwner) : TkaAdvancedListBox(AOwner) {
    OnItemClick = [this](TObject* Sender) {
      ++ItemClicks;
      EXPECT_EQ(Sender, this);
    };
    OnItemCheckClick = [this](TObject*) { ++CheckClicks; };
    OnItemButtonClick = [this](TObject*) { ++ButtonClicks; };
  }
  int ItemClicks = 0;
  int CheckClicks = 0;
  int ButtonClicks = 0;

  int Offset() const { return FScrollOffset; }
  int CheckOffset() const { return FCheckOffset; }
  TRect Row(int Index) { return RowRect(Index); }
  TRect ButtonAt(int Index) { return ItemButtonRect(Index); }
  void Press(int X, int Y, WPARAM Keys = MK_LBUTTON) { Perform(WM_LBUTTONDOWN, Keys, MAKELPARAM(X, Y)); }
  void Release(int X, int Y) { Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
  using TkaAdvancedListBox::Click;  // the control's own Click stays callable beside the pointer one
  void Click(int X, int Y) {
    Press(X, Y);
    Release(X, Y);
  }
  void Move(int X, int Y, WPARAM Keys = 0) { Perform(WM_MOUSEMOVE, Keys, MAKELPARAM(X, Y)); }
  void Key(WORD Vk) {
    Perform(WM_KEYDOWN, Vk, 0);
    Perform(WM_KEYUP, Vk, 0);
  }
  void Type(const String& Text) {
    for (wchar_t c : Text) Perform(WM_CHAR, c, 0);
  }
  void EndOfSearch() { Perform(WM_TIMER, kaListSearchTimerID, 0); }
  void Pan(int Y, bool Begin) { TouchPan(Y, Begin); }
  // What the window shows, drawn into a bitmap of its size.
  std::unique_ptr<TBitmap> Shot() {
    auto b = std::make_unique<TBitmap>(Width(), Height());
    PaintTo(b->Canvas()->Handle(), 0, 0);
    return b;
  }
};

struct TListScene {
  TCustomForm* Form;
  TListScene() {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(80, 80, 500, 400);
    Form->Show();
    PumpPending();
  }
  ~TListScene() { Form->Free(); }
  TListScene(const TListScene&) = delete;
  TListScene& operator=(const TListScene&) = delete;
  // A 150 x 150 list with the given number of rows "Item 0" ... .
  TProbeListBox* Add(int Rows = 0, int Width = 150, int Height = 150) {
    auto* l = new TProbeListBox(Form);
    l->SetBounds(10, 10, Width, Height);
    l->SetParent(Form);
    l->BeginUpdateItems();
    for (int i = 0; i < Rows; ++i) l->Add(L"Item " + std::to_wstring(i));
    l->EndUpdateItems();
    PumpPending();
    return l;
  }
};

inline TColor PixelOf(TBitmap* B, int X, int Y) { return B->Canvas()->Pixel(X, Y); }

inline bool Near(TColor A, TColor B, int Tolerance) {
  A = ColorToRGB(A), B = ColorToRGB(B);
  return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
         std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
}

// Pixels of Color inside R.
inline int CountIn(TBitmap* B, const TRect& R, TColor Color, int Tolerance = 0) {
  int n = 0;
  for (int y = std::max(0, R.Top); y < std::min(B->Height(), R.Bottom); ++y)
    for (int x = std::max(0, R.Left); x < std::min(B->Width(), R.Right); ++x) n += Near(PixelOf(B, x, y), Color, Tolerance);
  return n;
}
