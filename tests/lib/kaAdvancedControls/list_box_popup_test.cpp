// The drop-down variant of the list box (a top-level window that never takes the focus), the
// list box read from a layout, and handle hygiene.
#include <gtest/gtest.h>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"
#include "tests/lib/kaAdvancedControls/ListBoxTesting.h"

namespace {

struct TPopupScene : TListScene {
  TProbeListBox* Owner;
  TkaAdvancedPopupListBox* Popup;
  TPopupScene() {
    Owner = Add(0, 120, 30);
    Owner->SetFocus();
    Popup = new TkaAdvancedPopupListBox(Owner);
    Popup->SetParent(Owner);
    Popup->SetBounds(0, 0, 150, 124);
    Popup->SetMouseMoveChangeIndex(true);
    Popup->BeginUpdateItems();
    for (int i = 0; i < 12; ++i) Popup->Add(L"Row " + std::to_wstring(i));
    Popup->EndUpdateItems();
    PumpPending();
  }
};

TEST(PopupListBox, IsAHiddenToolWindowThatNeverTakesTheFocus) {
  TPopupScene s;
  TkaAdvancedPopupListBox* p = s.Popup;
  ASSERT_TRUE(p->HandleAllocated());
  const HWND h = p->WindowHandle();
  const LONG style = ::GetWindowLongW(h, GWL_STYLE), ex = ::GetWindowLongW(h, GWL_EXSTYLE);
  EXPECT_NE(style & WS_POPUP, 0);
  EXPECT_EQ(style & WS_CHILD, 0);
  EXPECT_NE(style & WS_CLIPCHILDREN, 0);
  EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(::GetClassLongW(h, GCL_STYLE) & (CS_SAVEBITS | CS_DROPSHADOW), DWORD(CS_SAVEBITS | CS_DROPSHADOW));
  EXPECT_FALSE(::IsWindowVisible(h));
  EXPECT_FALSE(p->TabStop());
  EXPECT_TRUE(p->PopupMode());
  EXPECT_EQ(p->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);

  p->SetItemIndex(9);
  p->Show(TPoint(300, 250));
  PumpPending();
  RECT r;
  ::GetWindowRect(h, &r);
  EXPECT_EQ(TRect(r), TRect(300, 250, 450, 374));
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_TRUE(p->Visible());
  EXPECT_TRUE(s.Owner->Focused());
  // Shown from the top with the selected row brought into view at the bottom.
  EXPECT_EQ(p->ScrollOffset(), 2 + 300 - 122);
  // The mouse moves the selection without a press, and a click does not take the focus.
  const TRect view = p->ItemsRect();
  p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(20, view.Top + 5));
  EXPECT_NE(p->ItemIndex(), 9);
  const int hovered = p->ItemIndex();
  p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, view.Top + 5));
  p->Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, view.Top + 5));
  EXPECT_EQ(p->ItemIndex(), hovered);
  EXPECT_TRUE(s.Owner->Focused());

  p->Hide();
  EXPECT_FALSE(::IsWindowVisible(h));
  EXPECT_FALSE(p->Visible());
}

TEST(PopupListBox, DrawsThePlainFrameAndSurvivesClearingWhileShown) {
  TPopupScene s;
  TkaAdvancedPopupListBox* p = s.Popup;
  p->SetItemIndex(3);
  p->Show(TPoint(300, 250));
  PumpPending();
  TBitmap shot(p->Width(), p->Height());
  p->PaintTo(shot.Canvas()->Handle(), 0, 0);
  EXPECT_EQ(PixelOf(&shot, 0, 60), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(&shot, 1, 60), ColorToRGB(clWindow));
  ASSERT_NE(p->VertScrollBar(), nullptr);
  p->Clear();
  PumpPending();
  EXPECT_EQ(p->ItemIndex(), -1);
  EXPECT_EQ(p->VertScrollBar(), nullptr);
  EXPECT_EQ(p->ItemAtPos(20, 10), -1);
  p->Perform(WM_KEYDOWN, VK_DOWN, 0);
  p->Perform(WM_CHAR, L'r', 0);
  EXPECT_EQ(p->ItemIndex(), -1);
  p->Hide();
}

TEST(PopupListBox, ScalesWithItsOwnerAndTakesTheOwnersBarWidth) {
  TPopupScene s;
  TkaAdvancedPopupListBox* p = s.Popup;
  s.Owner->ScaleForPPI(144);
  PumpPending();
  EXPECT_EQ(p->ItemHeight(), 45);
  EXPECT_EQ(p->Width(), 225);
  EXPECT_EQ(p->Height(), 186);
  p->Show(TPoint(300, 250));
  PumpPending();
  ASSERT_NE(p->VertScrollBar(), nullptr);
  EXPECT_EQ(p->VertScrollBar()->Width(), ::GetSystemMetricsForDpi(SM_CYHSCROLL, 144));
  EXPECT_EQ(p->ItemsRect().Right, 223 - p->VertScrollBar()->Width());
  p->Hide();
}

// ---- Layouts --------------------------------------------------------------------------------

TEST(ListBoxLayout, RowsAndTheirPartsComeFromALayout) {
  // The selection is written before the rows: it is applied once the rows are in.
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form,
             "object Form: TCustomForm\n"
             "  Width = 400\n"
             "  Height = 300\n"
             "  object kaAdvancedListBox1: TkaAdvancedListBox\n"
             "    Left = 8\n"
             "    Top = 8\n"
             "    Width = 250\n"
             "    Height = 200\n"
             "    ItemIndex = 2\n"
             "    ItemHeight = 40\n"
             "    ShowItemDetails = True\n"
             "    DetailPosition = kalbdRight\n"
             "    Style = kaalbsGroup\n"
             "    SelectionStyle = kaastColor\n"
             "    SelectionColor = clYellow\n"
             "    DetailFont.Color = clGray\n"
             "    TitleFont.Style = [fsBold, fsItalic]\n"
             "    Items = <\n"
             "      item\n"
             "        Caption = 'kafuibNone'\n"
             "        Detail = 'No backdrop'\n"
             "      end\n"
             "      item\n"
             "        Header = True\n"
             "        Caption = 'Translucent'\n"
             "      end\n"
             "      item\n"
             "        Caption = 'kafuibBlur'\n"
             "        Title = 'Blur'\n"
             "        Indent = 1\n"
             "        Button.Visible = True\n"
             "        Button.Caption = 'Go'\n"
             "        Button.StyleKind = kalbsTransparent\n"
             "        ProgressBar.Value = 40\n"
             "        CustomColor = clAqua\n"
             "        CustomColorAlpha = 120\n"
             "        Tag = 5\n"
             "      end>\n"
             "  end\n"
             "end\n",
             L"LISTBOX");
  auto* l = dynamic_cast<TkaAdvancedListBox*>(form->FindComponent(L"kaAdvancedListBox1"));
  ASSERT_NE(l, nullptr);
  ASSERT_EQ(l->Items()->Count(), 3);
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_EQ(l->ItemHeight(), 40);
  EXPECT_EQ(l->DetailPosition(), kalbdRight);
  EXPECT_EQ(l->Style(), kaalbsGroup);
  EXPECT_EQ(l->SelectionStyle(), kaastColor);
  EXPECT_EQ(l->DetailFont()->Color(), clGray);
  EXPECT_EQ(l->TitleFont()->Style(), (TFontStyles{fsBold, fsItalic}));
  TkaAdvancedListItem* blur = l->Items()->Items(2);
  EXPECT_EQ(l->Items()->Items(0)->Detail(), L"No backdrop");
  EXPECT_TRUE(l->Items()->Items(1)->Header());
  EXPECT_EQ(blur->Title(), L"Blur");
  EXPECT_EQ(blur->Indent(), 1);
  EXPECT_TRUE(blur->Button()->Visible());
  EXPECT_EQ(blur->Button()->Caption(), L"Go");
  EXPECT_EQ(blur->Button()->StyleKind(), kalbsTransparent);
  EXPECT_EQ(blur->ProgressBar()->Value(), 40);
  EXPECT_EQ(blur->CustomColor(), clAqua);
  EXPECT_EQ(blur->CustomColorAlpha(), 120);
  EXPECT_EQ(blur->Tag(), 5);
  // Every class and enumeration of the unit is known by name.
  for (const wchar_t* name : {L"TkaAdvancedListBox", L"TkaAdvancedPopupListBox", L"TkaAdvancedListItems",
                              L"TkaAdvancedListItem", L"TkaListBoxButton", L"TkaListBoxProgressBar", L"TkaScrollBar",
                              L"TkaAdvancedCustomControl", L"TkaAdvancedScrollingControl"})
    EXPECT_NE(FindClassInfo(name), nullptr) << ToUtf8(name);
  EXPECT_TRUE(EnumInfoOf<TkaAdvancedHeaderStyle>().Registered());
  EXPECT_TRUE(EnumInfoOf<TkaBackgroundStyle>().Registered());
  EXPECT_TRUE(EnumInfoOf<TkaBorderStyle>().Registered());
  EXPECT_TRUE(EnumInfoOf<TkaListButtonStyleKind>().Registered());
  form->Free();
}

TEST(ListBoxHygiene, PaintingScrollingAndTheBarLeaveNoHandlesBehind) {
  TListScene s;
  auto round = [&] {
    TProbeListBox* l = s.Add(40);
    l->SetShowCheckBoxes(true);
    l->SetShowItemProgressBars(true);
    l->SetSelectionStyle(kaastGlow);
    l->Items()->Items(1)->Button()->SetVisible(true);
    l->SetItemIndex(1);
    l->Shot();
    l->Scroll(300);
    l->Shot();
    l->Clear();
    l->Free();
    PumpPending();
  };
  // The first round opens the style's elements, which stay open for the program.
  round();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 3; ++i) round();
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(GdiObjectCount(), gdi);
}

}  // namespace
