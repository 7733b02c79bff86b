// A vector page control on a borderless white form, with tabs made by Tabs.Add, and the
// mouse driven through the control's own messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lib/kaGPPagers/kaGPPagers.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/TestControls.h"

namespace pagertest {

inline const TColor kPageColors[] = {clRed, clLime, clBlue, clYellow, clAqua};

struct TPagerScene {
  TCustomForm* Form;
  TkaGPPageControl* Pager;
  std::vector<std::string> Events;

  TPagerScene(int TabCount, int Width = 400, int Height = 200) {
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, Width + 40, Height + 40);
    Form->SetColor(clWhite);
    Pager = new TkaGPPageControl(Form);
    Pager->SetName(L"Pager");
    Pager->SetBounds(10, 10, Width, Height);
    Pager->SetParent(Form);
    Form->Show();
    for (int i = 0; i < TabCount; ++i) AddTab();
    PumpPending();
  }
  ~TPagerScene() { Form->Free(); }
  TPagerScene(const TPagerScene&) = delete;
  TPagerScene& operator=(const TPagerScene&) = delete;

  TkaGPPageControlTab* AddTab() {
    TkaGPPageControlTab* tab = Pager->Tabs()->Add();
    // Short captions: the row of a few tabs fits.
    tab->SetCaption(L"Tab " + std::to_wstring(Pager->Tabs()->Count()));
    TkaGPPageControlPage* page = tab->Page();
    page->SetBGStyle(kagppsColor);
    page->SetColor(kPageColors[(Pager->Tabs()->Count() - 1) % 5]);
    return tab;
  }
  TkaGPPageControlTab* Tab(int Index) const { return Pager->Tabs()->Items(Index); }
  TkaGPPageControlPage* Page(int Index) const { return Tab(Index)->Page(); }
  // The indexes of the tabs whose pages are visible.
  std::vector<int> Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < Pager->Tabs()->Count(); ++i)
      if (Page(i) != nullptr && Page(i)->Visible()) shown.push_back(i);
    return shown;
  }
  void Listen() {
    Pager->OnCanChangePage = [this](int Index, bool&) { Events.push_back("can " + std::to_string(Index)); };
    Pager->OnChangingPage = [this](TObject*) {
      Events.push_back("changing to " + std::to_string(Pager->TabIndex()) + ", shown " + ShownText());
    };
    Pager->OnChangePage = [this](TObject*) {
      Events.push_back("changed to " + std::to_string(Pager->TabIndex()) + ", shown " + ShownText());
    };
  }
  std::string ShownText() const {
    std::string s;
    for (int i : Shown()) s += std::to_string(i);
    return s;
  }

  // The centre of a tab's rectangle, and of its close button.
  TPoint Centre(const TRect& R) const { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
  TPoint TabCentre(int Index) const { return Centre(Tab(Index)->TabRect); }
  TPoint CloseCentre(int Index) const { return Centre(Tab(Index)->CloseButtonRect); }

  static LPARAM At(TPoint P) { return MAKELPARAM(P.X, P.Y); }
  void Move(TPoint P, bool LeftDown = false) { Pager->Perform(WM_MOUSEMOVE, LeftDown ? MK_LBUTTON : 0, At(P)); }
  void Press(TPoint P) {
    Move(P);
    Pager->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(P));
  }
  void Release(TPoint P) { Pager->Perform(WM_LBUTTONUP, 0, At(P)); }
  // What a click on an arrow button runs.
  static void ClickButton(TkaGPTabScrollButton* B) { B->OnClick(B); }
  void Click(TPoint P) {
    Press(P);
    Release(P);
  }
};

// The width of Text in the pager's font (bold with Bold), as the layout measures it.
inline int CaptionWidth(TkaGPPageControl* Pager, const String& Text, bool Bold = false) {
  TBitmap b(1, 1);
  b.Canvas()->Font()->Assign(Pager->Font());
  if (Bold) b.Canvas()->Font()->SetStyle(TFontStyles{fsBold});
  RECT r{0, 0, 0, 0};
  ::DrawTextW(b.Canvas()->Handle(), Text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

// The pager painted as a fresh paint would, into a bitmap of its size.
inline std::unique_ptr<TBitmap> Snapshot(TkaGPPageControl* Pager) {
  auto b = std::make_unique<TBitmap>(Pager->Width(), Pager->Height());
  Pager->PaintWindow(b->Canvas()->Handle());
  return b;
}

}  // namespace pagertest
