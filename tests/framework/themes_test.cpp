// The system style: element drawing with and without visual styles, element metrics and
// colours, the system colour answers, style names and the style hook registry. Custom styles
// are custom_styles_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Themes.h"

namespace {

TCustomStyleServices* Services() { return StyleServices(); }

// A 32-bit top-down DIB in a memory DC, filled with a colour no element draws with.
class TPixelBoard {
 public:
  static constexpr COLORREF kBackground = RGB(3, 201, 77);

  TPixelBoard(int Width, int Height) : FWidth(Width), FHeight(Height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = Width;
    bi.bmiHeader.biHeight = -Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    FBits = static_cast<uint32_t*>(bits);
    FDC = ::CreateCompatibleDC(nullptr);
    FOld = ::SelectObject(FDC, FBitmap);
    Clear();
  }
  ~TPixelBoard() {
    ::SelectObject(FDC, FOld);
    ::DeleteDC(FDC);
    ::DeleteObject(FBitmap);
  }
  TPixelBoard(const TPixelBoard&) = delete;
  TPixelBoard& operator=(const TPixelBoard&) = delete;

  HDC DC() const { return FDC; }
  void Clear() {
    ::GdiFlush();
    for (int i = 0; i < FWidth * FHeight; ++i) FBits[i] = ToPixel(kBackground);
  }
  COLORREF Pixel(int X, int Y) const {
    ::GdiFlush();
    const uint32_t p = FBits[Y * FWidth + X];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Pixels that differ from the background, inside R or (Inside false) outside it.
  int Changed(const TRect& R, bool Inside = true) const {
    int n = 0;
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x)
        if (R.Contains(TPoint(x, y)) == Inside && Pixel(x, y) != kBackground) ++n;
    return n;
  }
  std::vector<uint32_t> Snapshot() const {
    ::GdiFlush();
    return std::vector<uint32_t>(FBits, FBits + FWidth * FHeight);
  }

 private:
  // COLORREF is 0x00BBGGRR, a DIB pixel 0x00RRGGBB.
  static uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

  int FWidth, FHeight;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  HDC FDC = nullptr;
  uint32_t* FBits = nullptr;
};

struct TElementCase {
  const char* Name;
  TThemedElementDetails Details;
};

std::vector<TElementCase> AllFamilies() {
  auto* s = Services();
  return {
      {"push button", s->GetElementDetails(tbPushButtonNormal)},
      {"push button pressed", s->GetElementDetails(tbPushButtonPressed)},
      {"push button defaulted", s->GetElementDetails(tbPushButtonDefaulted)},
      {"push button disabled", s->GetElementDetails(tbPushButtonDisabled)},
      {"check box unchecked", s->GetElementDetails(tbCheckBoxUncheckedNormal)},
      {"check box checked hot", s->GetElementDetails(tbCheckBoxCheckedHot)},
      {"check box mixed", s->GetElementDetails(tbCheckBoxMixedNormal)},
      {"tool bar", s->GetElementDetails(teToolBar)},
      {"tool bar button hot", s->GetElementDetails(ttbButtonHot)},
      {"tool bar button pressed", s->GetElementDetails(ttbButtonPressed)},
      {"fixed cell", s->GetElementDetails(tgFixedCellNormal)},
      {"fixed cell pressed", s->GetElementDetails(tgFixedCellPressed)},
      {"selected cell", s->GetElementDetails(tgCellSelected)},
      {"tab item", s->GetElementDetails(ttTabItemSelected)},
      {"tab pane", s->GetElementDetails(ttPane)},
      {"spin up", s->GetElementDetails(tsUpNormal)},
      {"spin down horz disabled", s->GetElementDetails(tsDownHorzDisabled)},
      {"scroll arrow left pressed", s->GetElementDetails(tsArrowBtnLeftPressed)},
      {"scroll arrow right", s->GetElementDetails(tsArrowBtnRightNormal)},
      {"combo drop down", s->GetElementDetails(tcDropDownButtonNormal)},
      {"combo drop down right", s->GetElementDetails(tcDropDownButtonRightHot)},
      {"combo border", s->GetElementDetails(tcBorderNormal)},
      {"edit border", s->GetElementDetails(teEditBorderNoScrollNormal)},
      {"window", s->GetElementDetails(teWindow)},
      {"caption active", s->GetElementDetails(twCaptionActive)},
      {"caption inactive", s->GetElementDetails(twCaptionInactive)},
      {"status bar", s->GetElementDetails(tsStatusRoot)},
      {"status pane", s->GetElementDetails(tsPane)},
      {"menu background", s->GetElementDetails(tmPopupBackground)},
      {"menu item", s->GetElementDetails(tmPopupItemNormal)},
      {"menu item hot", s->GetElementDetails(tmPopupItemHot)},
      {"menu separator", s->GetElementDetails(tmPopupSeparator)},
      {"tool tip", s->GetElementDetails(tttStandardNormal)},
      {"progress bar", s->GetElementDetails(tpBar)},
      {"progress chunk", s->GetElementDetails(tpChunk)},
      {"list item selected", s->GetElementDetails(tlListItemSelected)},
      {"list item selected not focused", s->GetElementDetails(tlListItemSelectedNotFocus)},
  };
}

// Runs a test as the system is set up (visual styles on or off) and again with controls
// forced to classic drawing, so both paths are covered wherever the tests run.
class TStyleModeTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    FSavedProperties = ::GetThemeAppProperties();
    if (GetParam()) {
      ::SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
      Services()->ThemesChanged();
      ASSERT_FALSE(Services()->Enabled());
    }
  }
  void TearDown() override {
    if (GetParam()) {
      ::SetThemeAppProperties(FSavedProperties);
      Services()->ThemesChanged();
    }
  }

 private:
  DWORD FSavedProperties = 0;
};

std::string ModeName(const ::testing::TestParamInfo<bool>& Info) { return Info.param ? "Classic" : "AsSystem"; }

class DrawElement : public TStyleModeTest {};
class DrawText : public TStyleModeTest {};
class ElementMetrics : public TStyleModeTest {};
class ElementColors : public TStyleModeTest {};
INSTANTIATE_TEST_SUITE_P(Modes, DrawElement, ::testing::Bool(), ModeName);
INSTANTIATE_TEST_SUITE_P(Modes, DrawText, ::testing::Bool(), ModeName);
INSTANTIATE_TEST_SUITE_P(Modes, ElementMetrics, ::testing::Bool(), ModeName);
INSTANTIATE_TEST_SUITE_P(Modes, ElementColors, ::testing::Bool(), ModeName);

TEST(ElementDetails, MapOntoThemePartsAndStates) {
  auto* s = Services();
  const struct {
    const char* Name;
    TThemedElementDetails Actual, Expected;
  } cases[] = {
      {"push defaulted", s->GetElementDetails(tbPushButtonDefaulted), {teButton, BP_PUSHBUTTON, PBS_DEFAULTED}},
      {"check mixed hot", s->GetElementDetails(tbCheckBoxMixedHot), {teButton, BP_CHECKBOX, CBS_MIXEDHOT}},
      {"check checked disabled", s->GetElementDetails(tbCheckBoxCheckedDisabled),
       {teButton, BP_CHECKBOX, CBS_CHECKEDDISABLED}},
      {"tool button pressed", s->GetElementDetails(ttbButtonPressed), {teToolBar, TP_BUTTON, TS_PRESSED}},
      {"fixed cell pressed", s->GetElementDetails(tgFixedCellPressed), {teHeader, HP_HEADERITEM, HIS_PRESSED}},
      {"cell selected", s->GetElementDetails(tgCellSelected), {teListView, LVP_LISTITEM, LISS_SELECTED}},
      {"tab disabled", s->GetElementDetails(ttTabItemDisabled), {teTab, TABP_TABITEM, TIS_DISABLED}},
      {"tab pane", s->GetElementDetails(ttPane), {teTab, TABP_PANE, 0}},
      {"spin down hot", s->GetElementDetails(tsDownHot), {teSpin, SPNP_DOWN, DNS_HOT}},
      {"spin up horz pressed", s->GetElementDetails(tsUpHorzPressed), {teSpin, SPNP_UPHORZ, UPHZS_PRESSED}},
      {"spin down horz disabled", s->GetElementDetails(tsDownHorzDisabled),
       {teSpin, SPNP_DOWNHORZ, DNHZS_DISABLED}},
      {"arrow down normal", s->GetElementDetails(tsArrowBtnDownNormal), {teScrollBar, SBP_ARROWBTN, ABS_DOWNNORMAL}},
      {"arrow right disabled", s->GetElementDetails(tsArrowBtnRightDisabled),
       {teScrollBar, SBP_ARROWBTN, ABS_RIGHTDISABLED}},
      {"drop down right pressed", s->GetElementDetails(tcDropDownButtonRightPressed),
       {teComboBox, CP_DROPDOWNBUTTONRIGHT, CBXSR_PRESSED}},
      {"combo border focused", s->GetElementDetails(tcBorderFocused), {teComboBox, CP_BORDER, CBB_FOCUSED}},
      {"edit border focused", s->GetElementDetails(teEditBorderNoScrollFocused),
       {teEdit, EP_EDITBORDER_NOSCROLL, EPSN_FOCUSED}},
      {"window", s->GetElementDetails(teWindow), {teWindow, 0, 0}},
      {"caption inactive", s->GetElementDetails(twCaptionInactive), {teWindow, WP_CAPTION, CS_INACTIVE}},
      {"status root", s->GetElementDetails(tsStatusRoot), {teStatus, 0, 0}},
      {"status pane", s->GetElementDetails(tsPane), {teStatus, SP_PANE, 0}},
      {"menu item disabled", s->GetElementDetails(tmPopupItemDisabled), {teMenu, MENU_POPUPITEM, MPI_DISABLED}},
      {"menu separator", s->GetElementDetails(tmPopupSeparator), {teMenu, MENU_POPUPSEPARATOR, 0}},
      {"tool tip", s->GetElementDetails(tttStandardNormal), {teToolTip, TTP_STANDARD, TTSS_NORMAL}},
      {"progress fill", s->GetElementDetails(tpFill), {teProgress, PP_FILL, PBFS_NORMAL}},
      {"list not focused", s->GetElementDetails(tlListItemSelectedNotFocus),
       {teListView, LVP_LISTITEM, LISS_SELECTEDNOTFOCUS}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Actual.Element, c.Expected.Element);
    EXPECT_EQ(c.Actual.Part, c.Expected.Part);
    EXPECT_EQ(c.Actual.State, c.Expected.State);
  }
}

// Every family draws inside its rectangle and nowhere else, at the default DPI and at 144.
TEST_P(DrawElement, EveryFamilyDrawsInsideItsRectangleOnly) {
  auto* s = Services();
  TPixelBoard board(80, 60);
  const TRect r(10, 10, 58, 42);
  for (int dpi : {0, 144}) {
    for (const auto& c : AllFamilies()) {
      SCOPED_TRACE(std::string(c.Name) + " at DPI " + std::to_string(dpi));
      board.Clear();
      s->DrawElement(board.DC(), c.Details, r, nullptr, dpi);
      EXPECT_EQ(board.Changed(r, false), 0);
      // With visual styles some parts are transparent by design (a normal menu item);
      // classic drawing always paints.
      if (!s->Enabled()) {
        EXPECT_GT(board.Changed(r), 0);
      }
    }
  }
}

TEST_P(DrawElement, PushButtonAndCheckBoxDrawInEitherMode) {
  auto* s = Services();
  TPixelBoard board(40, 40);
  for (auto d : {s->GetElementDetails(tbPushButtonNormal), s->GetElementDetails(tbCheckBoxCheckedNormal)}) {
    board.Clear();
    s->DrawElement(board.DC(), d, TRect(4, 4, 20, 20));
    EXPECT_GT(board.Changed(TRect(4, 4, 20, 20)), 20);
  }
}

TEST_P(DrawElement, StatesLookDifferent) {
  auto* s = Services();
  const struct {
    const char* Name;
    TThemedElementDetails A, B;
  } cases[] = {
      {"unchecked/checked", s->GetElementDetails(tbCheckBoxUncheckedNormal),
       s->GetElementDetails(tbCheckBoxCheckedNormal)},
      {"checked/mixed", s->GetElementDetails(tbCheckBoxCheckedNormal), s->GetElementDetails(tbCheckBoxMixedNormal)},
      {"push normal/pressed", s->GetElementDetails(tbPushButtonNormal), s->GetElementDetails(tbPushButtonPressed)},
      {"push normal/defaulted", s->GetElementDetails(tbPushButtonNormal),
       s->GetElementDetails(tbPushButtonDefaulted)},
      {"arrow up/down", s->GetElementDetails(tsArrowBtnUpNormal), s->GetElementDetails(tsArrowBtnDownNormal)},
      {"spin up/up horz", s->GetElementDetails(tsUpNormal), s->GetElementDetails(tsUpHorzNormal)},
      {"caption active/inactive", s->GetElementDetails(twCaptionActive), s->GetElementDetails(twCaptionInactive)},
      {"list selected/not focused", s->GetElementDetails(tlListItemSelected),
       s->GetElementDetails(tlListItemSelectedNotFocus)},
  };
  TPixelBoard board(30, 30);
  const TRect r(5, 5, 21, 21);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    board.Clear();
    s->DrawElement(board.DC(), c.A, r);
    auto a = board.Snapshot();
    board.Clear();
    s->DrawElement(board.DC(), c.B, r);
    EXPECT_NE(a, board.Snapshot());
  }
}

TEST_P(DrawElement, KeepsToClipAndLeavesDCStateAlone) {
  auto* s = Services();
  TPixelBoard board(60, 40);
  const TRect all(0, 0, 60, 40), clip(0, 0, 30, 40);
  ::SetTextColor(board.DC(), RGB(1, 2, 3));
  s->DrawElement(board.DC(), s->GetElementDetails(tbPushButtonNormal), all, &clip);
  EXPECT_GT(board.Changed(clip), 0);
  EXPECT_EQ(board.Changed(clip, false), 0);

  RECT box{};
  EXPECT_EQ(::GetClipBox(board.DC(), &box), SIMPLEREGION);
  EXPECT_EQ(TRect(box), all);
  EXPECT_EQ(::GetTextColor(board.DC()), RGB(1, 2, 3));
}

TEST_P(DrawElement, WindowIsButtonFaceWithOrWithoutVisualStyles) {
  auto* s = Services();
  TPixelBoard board(20, 20);
  s->DrawElement(board.DC(), s->GetElementDetails(teWindow), TRect(0, 0, 20, 20));
  EXPECT_EQ(board.Pixel(0, 0), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(board.Pixel(10, 10), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(board.Pixel(19, 19), ::GetSysColor(COLOR_BTNFACE));
}

TEST_P(DrawElement, EmptyRectangleOrNoDCDrawsNothing) {
  auto* s = Services();
  TPixelBoard board(20, 20);
  s->DrawElement(board.DC(), s->GetElementDetails(tbPushButtonNormal), TRect(10, 10, 10, 20));
  s->DrawElement(nullptr, s->GetElementDetails(tbPushButtonNormal), TRect(0, 0, 10, 10));
  EXPECT_EQ(board.Changed(TRect(0, 0, 20, 20)), 0);
}

TEST_P(DrawText, DrawsInTheElementTextColourAndMeasures) {
  auto* s = Services();
  TPixelBoard board(120, 30);
  const auto d = s->GetElementDetails(tbPushButtonNormal);
  TRect measured(0, 0, 0, 0);
  ASSERT_TRUE(s->DrawText(board.DC(), d, L"Hello", measured, DT_SINGLELINE | DT_CALCRECT));
  EXPECT_GT(measured.Width(), 0);
  EXPECT_GT(measured.Height(), 0);
  EXPECT_EQ(board.Changed(TRect(0, 0, 120, 30)), 0);

  TRect r(0, 0, 120, 30);
  ASSERT_TRUE(s->DrawText(board.DC(), d, L"Hello", r, DT_SINGLELINE, clRed));
  EXPECT_GT(board.Changed(r), 0);
  bool sawRed = false;
  for (int y = 0; y < 30 && !sawRed; ++y)
    for (int x = 0; x < 120 && !sawRed; ++x) sawRed = board.Pixel(x, y) == RGB(255, 0, 0);
  EXPECT_TRUE(sawRed);
}

TEST_P(ElementMetrics, SizeComesOnlyFromTheTheme) {
  auto* s = Services();
  TSize size{-1, -1};
  const bool answered = s->GetElementSize(nullptr, s->GetElementDetails(tbCheckBoxCheckedNormal), esActual, size);
  if (s->Enabled()) {
    ASSERT_TRUE(answered);
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
  } else {
    EXPECT_FALSE(answered);
    EXPECT_EQ(size, (TSize{-1, -1}));  // untouched: the caller keeps its own size
  }
}

TEST_P(ElementMetrics, ContentRectLiesInsideTheBorders) {
  auto* s = Services();
  const TRect bounds(0, 0, 80, 24);
  TRect content;
  ASSERT_TRUE(s->GetElementContentRect(nullptr, s->GetElementDetails(tbPushButtonNormal), bounds, content));
  EXPECT_EQ(IntersectRect(content, bounds), content);
  EXPECT_LT(content.Width(), bounds.Width());
  if (!s->Enabled()) {
    EXPECT_EQ(content, TRect(2, 2, 78, 22));
    ASSERT_TRUE(s->GetElementContentRect(nullptr, s->GetElementDetails(teWindow), bounds, content));
    EXPECT_EQ(content, bounds);
  }
}

TEST_P(ElementColors, ClassicAnswersAreSystemColours) {
  auto* s = Services();
  // Not GTEST_SKIP: the 32-bit test programs, run under emulation, crash after a skip.
  if (s->Enabled()) return;  // visual styles are on: the theme answers (next test)
  const struct {
    const char* Name;
    TThemedElementDetails Details;
    TElementColor Which;
    int SysColor;
  } cases[] = {
      {"push text", s->GetElementDetails(tbPushButtonNormal), ecTextColor, COLOR_BTNTEXT},
      {"push disabled text", s->GetElementDetails(tbPushButtonDisabled), ecTextColor, COLOR_GRAYTEXT},
      {"push fill", s->GetElementDetails(tbPushButtonHot), ecFillColor, COLOR_BTNFACE},
      {"check disabled text", s->GetElementDetails(tbCheckBoxMixedDisabled), ecTextColor, COLOR_GRAYTEXT},
      {"caption active text", s->GetElementDetails(twCaptionActive), ecTextColor, COLOR_CAPTIONTEXT},
      {"caption inactive text", s->GetElementDetails(twCaptionInactive), ecTextColor,
       COLOR_INACTIVECAPTIONTEXT},
      {"caption gradient", s->GetElementDetails(twCaptionActive), ecGradientColor2, COLOR_GRADIENTACTIVECAPTION},
      {"edit text", s->GetElementDetails(teEditTextNormal), ecTextColor, COLOR_WINDOWTEXT},
      {"edit border disabled text", s->GetElementDetails(teEditBorderNoScrollDisabled), ecTextColor,
       COLOR_GRAYTEXT},
      {"list selected fill", s->GetElementDetails(tlListItemSelected), ecFillColor, COLOR_HIGHLIGHT},
      {"list selected text", s->GetElementDetails(tlListItemSelected), ecTextColor, COLOR_HIGHLIGHTTEXT},
      {"menu hot text", s->GetElementDetails(tmPopupItemHot), ecTextColor, COLOR_HIGHLIGHTTEXT},
      {"menu disabled text", s->GetElementDetails(tmPopupItemDisabled), ecTextColor, COLOR_GRAYTEXT},
      {"tool tip text", s->GetElementDetails(tttStandardNormal), ecTextColor, COLOR_INFOTEXT},
      {"tool tip fill", s->GetElementDetails(tttStandardNormal), ecFillColor, COLOR_INFOBK},
      {"tab disabled text", s->GetElementDetails(ttTabItemDisabled), ecTextColor, COLOR_GRAYTEXT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TColor color = clNone;
    ASSERT_TRUE(s->GetElementColor(c.Details, c.Which, color));
    EXPECT_EQ(static_cast<COLORREF>(color), ::GetSysColor(c.SysColor));
  }
  TColor color = clNone;
  EXPECT_FALSE(s->GetElementColor(s->GetElementDetails(tbPushButtonNormal), ecGradientColor1, color));
  EXPECT_EQ(color, clNone);
}

TEST_P(ElementColors, ThemedAnswersAreRGB) {
  auto* s = Services();
  if (!s->Enabled()) return;  // visual styles are off: the classic answers (previous test)
  TColor color = clNone;
  ASSERT_TRUE(s->GetElementColor(s->GetElementDetails(tbPushButtonNormal), ecTextColor, color));
  EXPECT_EQ(static_cast<uint32_t>(color) & 0xFF000000u, 0u);
}

TEST(StyleColors, SystemStyleAnswersSystemColours) {
  auto* s = Services();
  EXPECT_EQ(s->GetSystemColor(clBtnFace), clBtnFace);
  EXPECT_EQ(s->GetSystemColor(clWindowText), clWindowText);
  EXPECT_EQ(s->GetSystemColor(clRed), clRed);

  const struct {
    TStyleColor Style;
    TColor Expected;
  } colors[] = {{scEdit, clWindow}, {scEditDisabled, clBtnFace}, {scPanel, clBtnFace},
                {scWindow, clBtnFace}, {scButtonNormal, clBtnFace}, {scListBox, clWindow},
                {scGrid, clWindow}, {scBorder, clWindowFrame}, {scHintGradientBase, clInfoBk}};
  for (const auto& c : colors) EXPECT_EQ(s->GetStyleColor(c.Style), c.Expected) << c.Style;

  const struct {
    TStyleFont Font;
    TColor Expected;
  } fonts[] = {{sfEditBoxTextNormal, clWindowText}, {sfEditBoxTextDisabled, clGrayText},
               {sfButtonTextNormal, clBtnText}, {sfButtonTextDisabled, clGrayText},
               {sfListItemTextSelected, clHighlightText}, {sfMenuItemTextNormal, clMenuText},
               {sfCaptionTextNormal, clCaptionText}, {sfCaptionTextInactive, clInactiveCaptionText},
               {sfHintTextNormal, clInfoText}, {sfWindowTextNormal, clWindowText}};
  for (const auto& c : fonts) EXPECT_EQ(s->GetStyleFontColor(c.Font), c.Expected) << c.Font;
}

TEST(StyleServicesObject, IsTheSystemStyleForEveryone) {
  auto* s = Services();
  TObject someControl;
  EXPECT_EQ(StyleServices(&someControl), s);
  EXPECT_EQ(TStyleManager::ActiveStyle(), s);
  EXPECT_EQ(TStyleManager::SystemStyle(), s);
  EXPECT_TRUE(s->IsSystemStyle());
  EXPECT_EQ(s->Name(), L"Windows");
  EXPECT_EQ(s->Enabled(), ::IsThemeActive() && ::IsAppThemed());
  EXPECT_FALSE(IsCustomStyleActive(&someControl));
  EXPECT_FALSE(IsCustomStyleActive(nullptr));
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  TPixelBoard board(10, 10);
  EXPECT_FALSE(s->DrawParentBackground(nullptr, board.DC(), nullptr, false));
}

TEST(StyleServicesObject, ThemesChangedNotifiesAndDrawingGoesOn) {
  auto* s = Services();
  TPixelBoard board(30, 30);
  s->DrawElement(board.DC(), s->GetElementDetails(tbPushButtonNormal), TRect(0, 0, 30, 30));
  int notified = 0;
  s->OnThemeChange = [&] { ++notified; };
  s->ThemesChanged();
  s->OnThemeChange = nullptr;
  EXPECT_EQ(notified, 1);
  board.Clear();
  s->DrawElement(board.DC(), s->GetElementDetails(tbPushButtonNormal), TRect(0, 0, 30, 30));
  EXPECT_GT(board.Changed(TRect(0, 0, 30, 30)), 0);
}

TEST(StyleManager, NamesWithoutAStyleAreListedButCannotBeActivated) {
  TStyleManager::RegisterStyleResource(L"Carbon Test");
  TStyleManager::RegisterStyleResource(L"carbon test");  // same name, listed once
  TStyleManager::RegisterStyleResource(L"windows");      // the system style is always there
  const auto names = TStyleManager::StyleNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), L"Windows");
  EXPECT_EQ(std::count(names.begin(), names.end(), L"Carbon Test"), 1);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const String& n) { return SameText(n, L"Windows"); }), 1);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const String& n) { return SameText(n, L"carbon test"); }),
            1);

  EXPECT_TRUE(TStyleManager::TrySetStyle(L"Windows"));
  EXPECT_TRUE(TStyleManager::TrySetStyle(L"WINDOWS"));
  EXPECT_NO_THROW(TStyleManager::SetStyle(L"Windows"));
  for (const wchar_t* name : {L"Carbon Test", L"Unknown", L""}) {
    EXPECT_FALSE(TStyleManager::TrySetStyle(name));
    EXPECT_THROW(TStyleManager::SetStyle(name), EInvalidOperation);
  }
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(TStyleManager::ActiveStyle(), TStyleManager::SystemStyle());
  EXPECT_THROW(TStyleManager::RegisterStyleResource(L""), EInvalidOperation);
}

class THookA : public TObject {
  KA_CLASS(THookA, TObject)
 public:
  explicit THookA(TObject* Control) : Control(Control) {}
  TObject* Control;
};
class THookB : public TObject {
  KA_CLASS(THookB, TObject)
 public:
  explicit THookB(TObject* Control) {}
};

TEST(StyleHooks, RegisterFindAndRemoveByClassName) {
  TStyleEngine& engine = TStyleManager::Engine();
  const auto hookA = TStyleHookClass::Of<THookA>();
  const auto hookB = TStyleHookClass::Of<THookB>();
  EXPECT_EQ(hookA.Name(), L"THookA");

  EXPECT_FALSE(engine.FindStyleHook(L"TTestForm1"));
  engine.RegisterStyleHook(L"TTestForm1", hookA);
  engine.RegisterStyleHook(L"#32768", hookB);
  EXPECT_EQ(engine.FindStyleHook(L"ttestform1").Name(), L"THookA");  // names compare without case
  EXPECT_EQ(engine.FindStyleHook(L"#32768").Name(), L"THookB");
  EXPECT_THROW(engine.RegisterStyleHook(L"TTestForm1", hookA), EInvalidOperation);
  EXPECT_THROW(engine.RegisterStyleHook(L"", hookA), EInvalidOperation);
  EXPECT_THROW(engine.RegisterStyleHook(L"TTestForm1", TStyleHookClass()), EInvalidOperation);

  // The latest registration wins; removing it uncovers the earlier one.
  engine.RegisterStyleHook(L"TTestForm1", hookB);
  EXPECT_EQ(engine.FindStyleHook(L"TTestForm1").Name(), L"THookB");
  EXPECT_TRUE(engine.UnRegisterStyleHook(L"TTestForm1", hookB));
  EXPECT_FALSE(engine.UnRegisterStyleHook(L"TTestForm1", hookB));
  EXPECT_EQ(engine.FindStyleHook(L"TTestForm1").Name(), L"THookA");

  TObject control;
  TObject* made = engine.FindStyleHook(L"TTestForm1").Create(&control);
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->ClassName(), L"THookA");
  EXPECT_EQ(static_cast<THookA*>(made)->Control, &control);
  made->Free();

  EXPECT_TRUE(engine.UnRegisterStyleHook(L"TTestForm1", hookA));
  EXPECT_TRUE(engine.UnRegisterStyleHook(L"#32768", hookB));
  EXPECT_FALSE(engine.FindStyleHook(L"TTestForm1"));
  EXPECT_FALSE(engine.FindStyleHook(L"#32768"));
  EXPECT_FALSE(engine.UnRegisterStyleHook(L"tooltips_class32", hookA));
}

}  // namespace
