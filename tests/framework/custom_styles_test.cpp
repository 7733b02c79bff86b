// Custom styles of the style engine: the built-in styles' data (system, style, font and
// element colours), their drawing at chosen pixels per state, sizes and regions, a third
// party's style, switching the application and per-control styles, hooks attached to framework
// and system windows, dark captions and following the system's app mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Themes.h"
#include "tests/support/Handles.h"
#include "tests/support/PixelChecks.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

constexpr TColor kBoard = RGBColor(3, 201, 77);

// A bitmap filled with a colour no style uses, an element drawn on it.
struct TBoard {
  TBitmap Bitmap;
  TBoard(int W, int H) : Bitmap(W, H) {
    Bitmap.Canvas()->Brush()->SetColor(kBoard);
    Bitmap.Canvas()->FillRect(TRect(0, 0, W, H));
  }
  HDC DC() { return Bitmap.Canvas()->Handle(); }
  TColor At(int X, int Y) { return PixelAt(&Bitmap, X, Y); }
  template <class TDetail>
  void Draw(TDetail Detail, const TRect& R, int DPI = 0) {
    TStyleManager::ActiveStyle()->DrawElement(DC(), TCustomStyleServices::GetElementDetails(Detail), R, nullptr,
                                              DPI);
  }
  int Changed(const TRect& R, bool Inside) {
    int n = 0;
    for (int y = 0; y < Bitmap.Height(); ++y)
      for (int x = 0; x < Bitmap.Width(); ++x)
        if (R.Contains(TPoint(x, y)) == Inside && At(x, y) != kBoard) ++n;
    return n;
  }
};

int Luma(TColor C) {
  C = ColorToRGB(C);
  return (GetRValue(C) * 299 + GetGValue(C) * 587 + GetBValue(C) * 114) / 1000;
}

TColor ElementColor(const TThemedElementDetails& D, TElementColor Which) {
  TColor c = clNone;
  EXPECT_TRUE(TStyleManager::ActiveStyle()->GetElementColor(D, Which, c));
  return c;
}
template <class TDetail>
TColor ElementColor(TDetail Detail, TElementColor Which) {
  return ElementColor(TCustomStyleServices::GetElementDetails(Detail), Which);
}

// ---- Data ---------------------------------------------------------------------------------

TEST(CustomStyleRegistry, BothStylesAreListedAfterTheSystemStyleAndOnlyRealStylesActivate) {
  const auto names = TStyleManager::StyleNames();
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], L"Windows");
  EXPECT_EQ(names[1], L"Karvo Dark");
  EXPECT_EQ(names[2], L"Karvo Light");
  EXPECT_TRUE(TStyleManager::Style(L"karvo dark")->IsDark());
  EXPECT_FALSE(TStyleManager::Style(L"Karvo Light")->IsDark());
  EXPECT_TRUE(TStyleManager::Style(L"Windows")->IsSystemStyle());
  // A listed name without a style behind it stays unavailable.
  TStyleManager::RegisterStyleResource(L"Not Loaded Style");
  EXPECT_EQ(TStyleManager::Style(L"Not Loaded Style"), nullptr);
  EXPECT_FALSE(TStyleManager::TrySetStyle(L"Not Loaded Style"));
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
}

class CustomStyleData : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(CustomStyleData);

TEST_P(CustomStyleData, SystemColoursAreTheStylesAndOtherColoursPassThrough) {
  auto* s = TStyleManager::ActiveStyle();
  const bool dark = s->IsDark();
  EXPECT_TRUE(NearColor(s->GetSystemColor(clBtnFace), dark ? RGBColor(0x20, 0x20, 0x20) : RGBColor(0xF3, 0xF3, 0xF3), 0));
  EXPECT_EQ(Luma(s->GetSystemColor(clBtnText)) > 128, dark) << "text is light on dark, dark on light";
  EXPECT_EQ(Luma(s->GetSystemColor(clWindow)) < 128, dark);
  EXPECT_TRUE(NearColor(s->GetSystemColor(clHighlight), TStyleScope::Style().Accent, 0));
  // Every system colour answers RGB; other colours are left alone.
  for (int i = 0; i < kSystemColorCount; ++i)
    EXPECT_EQ(static_cast<uint32_t>(s->GetSystemColor(MakeColor(0xFF000000u | i))) >> 24, 0u) << i;
  EXPECT_EQ(s->GetSystemColor(clRed), clRed);
  EXPECT_EQ(s->GetSystemColor(clNone), clNone);
  EXPECT_EQ(s->ColorToRGB(clBtnFace), s->GetSystemColor(clBtnFace));
}

TEST_P(CustomStyleData, StyleAndFontColoursFollowTheSurfaceTheyBelongTo) {
  auto* s = TStyleManager::ActiveStyle();
  EXPECT_EQ(s->GetStyleColor(scEdit), s->GetSystemColor(clWindow));
  EXPECT_EQ(s->GetStyleColor(scPanel), s->GetSystemColor(clBtnFace));
  EXPECT_NE(s->GetStyleColor(scButtonHot), s->GetStyleColor(scButtonNormal));
  EXPECT_EQ(s->GetStyleFontColor(sfEditBoxTextNormal), s->GetSystemColor(clWindowText));
  EXPECT_EQ(s->GetStyleFontColor(sfListItemTextSelected), s->GetSystemColor(clHighlightText));
  // Disabled text sits between the surface and normal text.
  const int surface = Luma(s->GetSystemColor(clBtnFace)), normal = Luma(s->GetStyleFontColor(sfButtonTextNormal)),
            disabled = Luma(s->GetStyleFontColor(sfButtonTextDisabled));
  EXPECT_GT(std::abs(disabled - surface), 40);
  EXPECT_LT(std::abs(disabled - surface), std::abs(normal - surface));
}

// Every element the library asks for answers its colours, and text stays readable on fills.
TEST_P(CustomStyleData, EveryElementAnswersReadableColours) {
  struct TCase {
    const char* Name;
    TThemedElementDetails D;
  };
  auto d = [](auto Detail) { return TCustomStyleServices::GetElementDetails(Detail); };
  const TCase cases[] = {
      {"push", d(tbPushButtonNormal)},       {"push hot", d(tbPushButtonHot)},
      {"default", d(tbPushButtonDefaulted)}, {"tool hot", d(ttbButtonHot)},
      {"header", d(tgFixedCellNormal)},      {"selected cell", d(tgCellSelected)},
      {"tab selected", d(ttTabItemSelected)}, {"caption", d(twCaptionActive)},
      {"close hot", d(twCloseButtonHot)},    {"menu hot", d(tmPopupItemHot)},
      {"tooltip", d(tttStandardNormal)},     {"edit", d(teEditTextNormal)},
      {"list selected", d(tlListItemSelected)}, {"window", d(teWindow)}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TColor text = ElementColor(c.D, ecTextColor), fill = ElementColor(c.D, ecFillColor);
    EXPECT_GT(std::abs(Luma(text) - Luma(fill)), 100);
  }
  // States look different where the pointer or a press changes them.
  EXPECT_NE(ElementColor(tbPushButtonHot, ecFillColor), ElementColor(tbPushButtonNormal, ecFillColor));
  EXPECT_NE(ElementColor(tbPushButtonPressed, ecFillColor), ElementColor(tbPushButtonHot, ecFillColor));
  EXPECT_NE(ElementColor(tbPushButtonDisabled, ecTextColor), ElementColor(tbPushButtonNormal, ecTextColor));
  EXPECT_NE(ElementColor(tsThumbBtnVertHot, ecFillColor), ElementColor(tsThumbBtnVertNormal, ecFillColor));
  EXPECT_NE(ElementColor(twCaptionInactive, ecTextColor), ElementColor(twCaptionActive, ecTextColor));
  const TColor closeHot = ColorToRGB(ElementColor(twCloseButtonHot, ecFillColor));
  EXPECT_GT(GetRValue(closeHot), 150);
  EXPECT_LT(GetGValue(closeHot), 80);
}

// ---- Drawing -------------------------------------------------------------------------------

class CustomStyleDrawing : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(CustomStyleDrawing);

TEST_P(CustomStyleDrawing, PushButtonShowsEachStatesFaceAndBorder) {
  const TStyleFace& f = TStyleScope::Style().Button;
  const TThemedButton states[] = {tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    TBoard b(60, 30);
    b.Draw(states[i], TRect(0, 0, 60, 30));
    EXPECT_TRUE(NearColor(b.At(30, 15), f.Fill.At(i), 0));
    EXPECT_TRUE(NearColor(b.At(30, 0), f.Border.At(i), 0));
    // Rounded: the very corner keeps what was under it.
    EXPECT_EQ(b.At(0, 0), kBoard);
  }
  TBoard b(60, 30);
  b.Draw(tbPushButtonDefaulted, TRect(0, 0, 60, 30));
  EXPECT_TRUE(NearColor(b.At(30, 0), TStyleScope::Style().FocusBorder, 0));
  EXPECT_TRUE(NearColor(b.At(30, 1), TStyleScope::Style().FocusBorder, 0)) << "two pixels of focus border";
}

TEST_P(CustomStyleDrawing, CheckBoxIsAccentWithAMarkWhenCheckedAndScalesWithDpi) {
  const TStyleDescription& s = TStyleScope::Style();
  TSize size;
  auto* styles = TStyleManager::ActiveStyle();
  ASSERT_TRUE(styles->GetElementSize(nullptr, TCustomStyleServices::GetElementDetails(tbCheckBoxCheckedNormal),
                                     esActual, size, 144));
  EXPECT_EQ(size.cx, 24);
  TBoard b(40, 20);
  b.Draw(tbCheckBoxUncheckedNormal, TRect(0, 0, 16, 16));
  b.Draw(tbCheckBoxCheckedNormal, TRect(20, 0, 36, 16));
  EXPECT_TRUE(NearColor(b.At(8, 8), s.CheckBox.Fill.Normal, 0));
  EXPECT_TRUE(NearColor(b.At(8, 0), s.CheckBox.Border.Normal, 0));
  EXPECT_TRUE(NearColor(b.At(20 + 3, 12), s.Accent, 0));
  // The mark's corner (42 %, 70 %) is drawn in the mark colour.
  EXPECT_TRUE(NearColor(b.At(20 + 6, 11), s.AccentText, 10));
}

TEST_P(CustomStyleDrawing, FlatElementsShowTheirStateMarks) {
  const TStyleDescription& s = TStyleScope::Style();
  {
    SCOPED_TRACE("a normal tool button has no face, a hot one has");
    TBoard b(40, 30);
    b.Draw(ttbButtonNormal, TRect(0, 0, 40, 30));
    EXPECT_EQ(b.Changed(TRect(0, 0, 40, 30), true), 0);
    b.Draw(ttbButtonHot, TRect(0, 0, 40, 30));
    EXPECT_TRUE(NearColor(b.At(20, 15), s.ToolButton.Fill.Hot, 0));
  }
  {
    SCOPED_TRACE("the selected tab carries an accent bar at its top");
    TBoard b(80, 30);
    b.Draw(ttTabItemSelected, TRect(0, 0, 80, 30));
    EXPECT_TRUE(NearColor(b.At(40, 2), s.Accent, 0));
    EXPECT_TRUE(NearColor(b.At(40, 20), s.Tab.Fill.Pressed, 0));
  }
  {
    SCOPED_TRACE("a focused field gets an accent line along its bottom");
    TBoard b(80, 24);
    b.Draw(teEditBorderNoScrollFocused, TRect(0, 0, 80, 24));
    EXPECT_TRUE(NearColor(b.At(40, 23), s.Accent, 0));
    EXPECT_TRUE(NearColor(b.At(40, 10), s.Field.Fill.Normal, 0));
    b.Draw(teEditBorderNoScrollNormal, TRect(0, 0, 80, 24));
    EXPECT_TRUE(NearColor(b.At(40, 23), s.Field.Border.Normal, 0));
  }
  {
    SCOPED_TRACE("the switch's on track is the accent, the thumb a circle");
    TBoard b(44, 20);
    b.Draw(ttsTrackOnNormal, TRect(0, 0, 44, 20));
    EXPECT_TRUE(NearColor(b.At(22, 10), s.SwitchTrackOn.Fill.Normal, 0));
    EXPECT_EQ(b.At(0, 0), kBoard);
    b.Draw(ttsThumbNormal, TRect(24, 0, 44, 20));
    EXPECT_TRUE(NearColor(b.At(34, 10), s.SwitchThumb.Fill.Normal, 0));
  }
  {
    SCOPED_TRACE("the hot close button is red with its cross");
    TBoard b(46, 32);
    b.Draw(twCloseButtonHot, TRect(0, 0, 46, 32));
    EXPECT_TRUE(NearColor(b.At(2, 2), s.CloseButton.Fill.Hot, 0));
    EXPECT_TRUE(NearColor(b.At(23, 16), s.CloseButton.Text.Hot, 40));
  }
  {
    SCOPED_TRACE("a scroll thumb lies on its track");
    TBoard b(17, 60);
    b.Draw(tsThumbBtnVertPressed, TRect(0, 0, 17, 60));
    EXPECT_TRUE(NearColor(b.At(8, 30), s.ScrollThumb.Fill.Pressed, 0));
    EXPECT_TRUE(NearColor(b.At(0, 30), s.ScrollArrow.Fill.Normal, 0));
  }
}

TEST_P(CustomStyleDrawing, EveryElementDrawsInsideItsRectangleAndLeavesTheDCAlone) {
  std::vector<TThemedElementDetails> all;
  for (int i = 0; i <= tbCheckBoxMixedDisabled; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedButton(i)));
  for (int i = 0; i <= tsSizeBoxRightAlign; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedScrollBar(i)));
  for (int i = 0; i <= twHelpButtonDisabled; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedWindow(i)));
  for (int i = 0; i <= tmMenuBarItemDisabled; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedMenu(i)));
  for (int i = 0; i <= ttsThumbPressed; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedToggleSwitch(i)));
  for (int i = 0; i <= tcBorderDisabled; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedComboBox(i)));
  for (int i = 0; i <= tsDownHorzDisabled; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedSpin(i)));
  for (int i = 0; i <= ttPane; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedTab(i)));
  for (int i = 0; i <= tgCellNormal; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedGrid(i)));
  for (int i = 0; i <= tpFill; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedProgress(i)));
  for (int i = 0; i <= tsGripper; ++i) all.push_back(TCustomStyleServices::GetElementDetails(TThemedStatus(i)));
  const TRect inner(10, 10, 50, 40);
  for (const auto& d : all) {
    SCOPED_TRACE(testing::Message() << d.Element << "/" << d.Part << "/" << d.State);
    TBoard b(60, 50);
    HDC dc = b.DC();
    ::SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ pen = ::GetCurrentObject(dc, OBJ_PEN), brush = ::GetCurrentObject(dc, OBJ_BRUSH);
    TStyleManager::ActiveStyle()->DrawElement(dc, d, inner);
    EXPECT_EQ(b.Changed(inner, false), 0);
    EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush);
    TColor c;
    EXPECT_TRUE(TStyleManager::ActiveStyle()->GetElementColor(d, ecTextColor, c));
  }
}

TEST_P(CustomStyleDrawing, WindowPartsHaveSizesContentAndARoundedRegion) {
  auto* s = TStyleManager::ActiveStyle();
  const TStyleDescription& data = TStyleScope::Style();
  auto size = [&](TThemedWindow W, int DPI) {
    TSize z;
    EXPECT_TRUE(s->GetElementSize(nullptr, TCustomStyleServices::GetElementDetails(W), esActual, z, DPI));
    return z;
  };
  EXPECT_EQ(size(twCaptionActive, 96).cy, data.CaptionHeight);
  EXPECT_EQ(size(twCaptionActive, 144).cy, data.CaptionHeight * 3 / 2);
  EXPECT_EQ(size(twFrameLeftActive, 96).cx, data.FrameWidth);
  EXPECT_EQ(size(twFrameBottomInactive, 96).cy, data.FrameWidth);
  EXPECT_EQ(size(twCloseButtonNormal, 96).cx, data.CaptionButtonWidth);
  TRect icon;
  ASSERT_TRUE(s->GetElementContentRect(nullptr, TCustomStyleServices::GetElementDetails(twSysButtonNormal),
                                       TRect(0, 0, 32, 32), icon));
  EXPECT_EQ(icon, TRect(8, 8, 24, 24));
  HRGN region = nullptr;
  ASSERT_TRUE(s->GetElementRegion(TCustomStyleServices::GetElementDetails(twCaptionActive), TRect(0, 0, 200, 100),
                                  region));
  TRgnHandle owned(region);
  EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "top corners are round";
  EXPECT_TRUE(::PtInRegion(region, 100, 0));
  EXPECT_TRUE(::PtInRegion(region, 0, 99)) << "bottom corners are square";
  EXPECT_FALSE(s->GetElementRegion(TCustomStyleServices::GetElementDetails(teWindow), TRect(0, 0, 10, 10), region));
}

// ---- A style of one's own --------------------------------------------------------------------

TEST(CustomStyleThirdParty, ARegisteredDescriptionIsListedActivatedAndAnswersItsColours) {
  TStyleDescription mine = KarvoLightStyle();
  mine.Name = L"Third Party Test Style";
  mine.Accent = RGBColor(200, 0, 120);
  mine.SystemColors[COLOR_BTNFACE] = RGBColor(250, 240, 230);
  mine.Button.Fill.Normal = RGBColor(10, 200, 10);
  TStyleManager::RegisterStyle(mine);
  EXPECT_THROW(TStyleManager::RegisterStyle(mine), EInvalidOperation);
  EXPECT_THROW(TStyleManager::RegisterStyle(TStyleDescription{}), EInvalidOperation);
  const auto names = TStyleManager::StyleNames();
  EXPECT_EQ(names.back(), L"Third Party Test Style");

  TStyleScope scope(L"third party test style");
  EXPECT_TRUE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(TStyleManager::ActiveStyle()->GetSystemColor(clBtnFace), RGBColor(250, 240, 230));
  TBoard b(40, 20);
  b.Draw(tbPushButtonNormal, TRect(0, 0, 40, 20));
  EXPECT_TRUE(NearColor(b.At(20, 10), RGBColor(10, 200, 10), 0));
}

// A style that is a TCustomStyleServices of its own: the manager takes any implementation.
class TPlainStyle : public TFlatStyleServices {
 public:
  TPlainStyle() : TFlatStyleServices([] {
    TStyleDescription d = KarvoDarkStyle();
    d.Name = L"Plain Subclass Style";
    return d;
  }()) {}
  mutable int Drawn = 0;
  void DrawElement(HDC DC, const TThemedElementDetails& D, const TRect& R, const TRect* Clip, int DPI) const override {
    ++Drawn;
    TFlatStyleServices::DrawElement(DC, D, R, Clip, DPI);
  }
};

TEST(CustomStyleThirdParty, AnImplementationOfItsOwnDrawsWhatTheLibraryAsks) {
  auto* style = static_cast<TPlainStyle*>(TStyleManager::RegisterStyle(std::make_unique<TPlainStyle>()));
  TStyleScope scope(L"Plain Subclass Style");
  TBoard b(20, 20);
  StyleServices()->DrawElement(b.DC(), TCustomStyleServices::GetElementDetails(tbPushButtonHot), TRect(0, 0, 20, 20));
  EXPECT_EQ(style->Drawn, 1);
}

// ---- Switching -----------------------------------------------------------------------------

// A form with a panel and a graphic control, counting what the switch tells them.
class TCountingPanel : public TTestPanel {
  KA_CLASS(TCountingPanel, TTestPanel)
 public:
  using TTestPanel::TTestPanel;
  int StyleChanges = 0;

 protected:
  void UpdateStyleElements() override { ++StyleChanges; }
};

struct TSwitchScene {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  TCountingPanel* Panel = nullptr;
  TCountingPanel* Inner = nullptr;
  TSwitchScene() {
    Form->SetBounds(50, 50, 300, 200);
    Panel = Construct<TCountingPanel>(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 200, 120);
    Inner = Construct<TCountingPanel>(Form);
    Inner->SetParent(Panel);
    Inner->SetBounds(5, 5, 50, 50);
    Form->Show();
    PumpPending();
  }
  ~TSwitchScene() {
    Form->Free();
    PumpPending();
  }
  // The form's background as its erase paints it.
  TColor Background() {
    TBitmap shot(20, 20);
    Form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
    return PixelAt(&shot, 10, 10);
  }
};

TEST(CustomStyleSwitch, EveryControlIsToldTheFormPaintsInTheStyleAndEverythingRepaints) {
  TSwitchScene scene;
  const TColor systemBackground = scene.Background();
  EXPECT_TRUE(NearColor(systemBackground, clBtnFace, 0));
  for (const wchar_t* name : kKarvoStyles) {
    SCOPED_TRACE(ToUtf8(name));
    const int before = scene.Inner->StyleChanges, paints = scene.Inner->PaintCount;
    TStyleScope scope(name);
    EXPECT_TRUE(TStyleManager::IsCustomStyleActive());
    EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), name);
    EXPECT_TRUE(IsCustomStyleActive(scene.Inner));
    EXPECT_EQ(scene.Inner->StyleChanges, before + 1) << "nested controls are told too";
    EXPECT_TRUE(NearColor(scene.Background(), TStyleScope::Style().Window, 0));
    EXPECT_TRUE(PumpUntil([&] { return scene.Inner->PaintCount > paints; }));
  }
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(scene.Background(), systemBackground);
  EXPECT_THROW(TStyleManager::SetStyle(L"No Such Style"), EInvalidOperation);
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
}

TEST(CustomStyleSwitch, WithoutSeClientAFormKeepsItsOwnBackgroundAndRepaintsAtTheChange) {
  TSwitchScene scene;
  TStyleScope scope(L"Karvo Dark");
  PumpPending();
  ASSERT_TRUE(NearColor(scene.Background(), TStyleScope::Style().Window, 0));
  scene.Form->SetStyleElements(TStyleElements{seFont, seBorder});
  RECT dirty{};
  EXPECT_TRUE(::GetUpdateRect(scene.Form->Handle(), &dirty, FALSE)) << "the change shows at once";
  EXPECT_TRUE(NearColor(scene.Background(), clBtnFace, 0));
  scene.Form->SetStyleElements(TStyleElements{seFont, seClient, seBorder});
  EXPECT_TRUE(NearColor(scene.Background(), TStyleScope::Style().Window, 0));
}

TEST(CustomStyleSwitch, StyleNameOfAControlDecidesForItAndItsChildren) {
  TSwitchScene scene;
  scene.Panel->SetStyleName(L"Karvo Dark");
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_TRUE(IsCustomStyleActive(scene.Panel));
  EXPECT_TRUE(IsCustomStyleActive(scene.Inner)) << "a child without a name of its own follows its parent";
  EXPECT_FALSE(IsCustomStyleActive(scene.Form));
  EXPECT_EQ(StyleServices(scene.Inner)->Name(), L"Karvo Dark");
  {
    TStyleScope scope(L"Karvo Light");
    EXPECT_EQ(StyleServices(scene.Inner)->Name(), L"Karvo Dark");
    EXPECT_EQ(StyleServices(scene.Form)->Name(), L"Karvo Light");
    scene.Inner->SetStyleName(L"Windows");
    EXPECT_FALSE(IsCustomStyleActive(scene.Inner));
  }
  // A name that names no style is ignored.
  scene.Inner->SetStyleName(L"Missing");
  EXPECT_EQ(StyleServices(scene.Inner)->Name(), L"Karvo Dark");
}

// ---- Dark captions ---------------------------------------------------------------------------

struct TDarkFrameRecorder {
  struct TCall {
    HWND Wnd;
    bool Dark;
  };
  static inline std::vector<TCall> Calls;
  TStyleManager::TDarkFrameHandler Saved = TStyleManager::DarkFrameHandler();
  TDarkFrameRecorder() {
    Calls.clear();
    TStyleManager::SetDarkFrameHandler([](HWND W, bool D) { Calls.push_back({W, D}); });
  }
  ~TDarkFrameRecorder() { TStyleManager::SetDarkFrameHandler(Saved); }
  int For(HWND W, bool Dark) const {
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const TCall& c) { return c.Wnd == W && c.Dark == Dark; }));
  }
};

TEST(CustomStyleDarkCaption, TopLevelWindowsAreToldWhenTheirStyleTurnsDarkOrLight) {
  TDarkFrameRecorder recorder;
  TSwitchScene scene;
  HWND form = scene.Form->WindowHandle();
  EXPECT_TRUE(recorder.Calls.empty()) << "nothing to say under the system style";
  {
    TStyleScope dark(L"Karvo Dark");
    EXPECT_EQ(recorder.For(form, true), 1);
    EXPECT_EQ(recorder.For(scene.Panel->WindowHandle(), true), 0) << "child windows have no caption";
    // A window made while the style is dark is made dark.
    TCustomForm* second = TCustomForm::CreateNew(nullptr);
    second->Show();
    EXPECT_EQ(recorder.For(second->WindowHandle(), true), 1);
    second->Free();
    TStyleManager::SetStyle(L"Karvo Light");
    EXPECT_EQ(recorder.For(form, false), 1);
    TStyleManager::SetStyle(L"Windows");
    EXPECT_EQ(recorder.For(form, false), 1) << "light to the system style changes nothing";
  }
}

// ---- Following the system's app mode ---------------------------------------------------------

TEST(CustomStyleAppMode, FollowsTheSettingNowAndWhenItChanges) {
  bool dark = true;
  TStyleManager::SetAppModeSource([&] { return dark; });
  TSwitchScene scene;
  TStyleManager::SetFollowSystemAppMode(true);
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Dark");
  dark = false;
  scene.Form->Perform(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"));
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Dark") << "only the colour setting counts";
  scene.Form->Perform(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Light");
  TStyleManager::SetFollowSystemAppMode(false);
  dark = true;
  scene.Form->Perform(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), L"Karvo Light");
  TStyleManager::SetAppModeSource(nullptr);
  TStyleManager::SetStyle(L"Windows");
}

// ---- Hooks -----------------------------------------------------------------------------------

// Counts the paints it sees of the window it hooks.
class TCountingHook : public TStyleHook {
  KA_CLASS(TCountingHook, TStyleHook)
 public:
  explicit TCountingHook(TObject* Control) : Control(Control) { ++Made; }
  ~TCountingHook() override { ++Freed; }
  bool HandleMessage(TMessage& Message) override {
    if (Message.Msg == WM_USER + 77) {
      Message.Result = 4242;
      return true;
    }
    return false;
  }
  TObject* Control;
  static inline int Made = 0, Freed = 0;
};

class THookedForm : public TCustomForm {
  KA_CLASS(THookedForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

TEST(CustomStyleHooks, FormsGetTheirHookByClassAndAreRecreatedWhenItComesOrGoes) {
  const auto hook = TStyleHookClass::Of<TCountingHook>();
  TStyleManager::Engine().RegisterStyleHook(L"THookedForm", hook);
  TStyleManager::Engine().RegisterStyleHook(L"TCountingPanel", hook);
  const int start = TObject::AliveCount();
  auto* form = Construct<THookedForm>(nullptr);
  auto* panel = Construct<TCountingPanel>(form);
  panel->SetParent(form);
  form->Show();
  HWND before = form->WindowHandle(), panelBefore = panel->WindowHandle();
  EXPECT_EQ(TStyleManager::Engine().AttachedHook(before), nullptr);
  EXPECT_EQ(form->Perform(WM_USER + 77), 0);
  const int alive = TObject::AliveCount();
  {
    TStyleScope scope(L"Karvo Dark");
    EXPECT_NE(form->WindowHandle(), before) << "the form was re-created";
    auto* attached = dynamic_cast<TCountingHook*>(TStyleManager::Engine().AttachedHook(form->WindowHandle()));
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached->Control, form);
    EXPECT_EQ(::SendMessageW(form->WindowHandle(), WM_USER + 77, 0, 0), 4242) << "the hook sees messages first";
    EXPECT_NE(TStyleManager::Engine().AttachedHook(panel->WindowHandle()), nullptr);
    TStyleManager::SetStyle(L"Karvo Light");  // hooked before and after: not re-created
    EXPECT_EQ(TStyleManager::Engine().AttachedHook(form->WindowHandle()), attached);
  }
  EXPECT_EQ(TStyleManager::Engine().AttachedHook(form->WindowHandle()), nullptr);
  EXPECT_EQ(TObject::AliveCount(), alive) << "hooks are freed when the style goes";
  // A control styled by its own name gets its hook in place.
  panelBefore = panel->WindowHandle();
  panel->SetStyleName(L"Karvo Dark");
  EXPECT_EQ(panel->WindowHandle(), panelBefore);
  EXPECT_NE(TStyleManager::Engine().AttachedHook(panelBefore), nullptr);
  form->Free();
  EXPECT_EQ(TObject::AliveCount(), start) << "the panel's hook went with its window";
  TStyleManager::Engine().UnRegisterStyleHook(L"THookedForm", hook);
  TStyleManager::Engine().UnRegisterStyleHook(L"TCountingPanel", hook);
}

// A system-class window (not the framework's), hooked by class name.
class TSysClassWindow {
 public:
  static constexpr const wchar_t* kClass = L"KaTestSysClass";
  TSysClassWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    Handle = ::CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~TSysClassWindow() { ::DestroyWindow(Handle); }
  HWND Handle;
};

class TSysHook : public TStyleHook {
  KA_CLASS(TSysHook, TStyleHook)
 public:
  explicit TSysHook(TSysWindow* W) : Wnd(W->Handle()) {}
  bool HandleMessage(TMessage& Message) override {
    if (Message.Msg != WM_USER + 78) return false;
    Message.Result = 7878;
    return true;
  }
  HWND Wnd;
};

TEST(CustomStyleHooks, SystemWindowsAreSubclassedWhileTheApplicationsStyleIsCustom) {
  const auto hook = TStyleHookClass(L"TSysHook", [](TObject* C) -> TObject* {
    auto* w = dynamic_cast<TSysWindow*>(C);
    return w != nullptr ? Construct<TSysHook>(w) : nullptr;
  });
  TStyleManager::Engine().RegisterStyleHook(TSysClassWindow::kClass, hook);
  TSysClassWindow before;
  const LONG_PTR proc = ::GetWindowLongPtrW(before.Handle, GWLP_WNDPROC);
  {
    TStyleScope scope(L"Karvo Light");
    EXPECT_EQ(::SendMessageW(before.Handle, WM_USER + 78, 0, 0), 7878) << "a window that existed is hooked";
    TSysClassWindow made;
    EXPECT_EQ(::SendMessageW(made.Handle, WM_USER + 78, 0, 0), 7878) << "a window made now is hooked";
  }
  EXPECT_EQ(::SendMessageW(before.Handle, WM_USER + 78, 0, 0), 0);
  EXPECT_EQ(::GetWindowLongPtrW(before.Handle, GWLP_WNDPROC), proc);
  TStyleManager::Engine().UnRegisterStyleHook(TSysClassWindow::kClass, hook);
}

}  // namespace
