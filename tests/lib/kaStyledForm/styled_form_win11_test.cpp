// The styled form on Windows 11: the compositor's own backdrops, blur while a move runs on
// Windows 10, the frame's border and caption colours, and backdrops giving way to high
// contrast. The compositor is the test double; the Windows build is the case's.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "framework/Forms.h"
#include "framework/Streaming.h"
#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/TestControls.h"

namespace {

// The pointer is where the test puts it.
class TCursorStyledForm : public TkaStyledForm {
 public:
  using TkaStyledForm::TkaStyledForm;
  TPoint Cursor{300, 300};

 protected:
  TPoint CursorPoint() override { return Cursor; }
};

struct TWin11Fixture {
  TkaCompositionTesting Composition;
  TCustomForm* Form = nullptr;
  TCursorStyledForm* Styled = nullptr;
  int BackdropEvents = 0;

  explicit TWin11Fixture(int Build, TkaFluentUIBackground Backdrop = kafuibNone) {
    Composition.SetVersion(10, 0, Build);
    Composition.SetCompositionEnabled(true);
    Form = TCustomForm::CreateNew(nullptr);
    Form->SetBounds(100, 120, 500, 400);
    Styled = Construct<TCursorStyledForm>(Form);
    Styled->SetFluentUIAcrylicColor(RGBColor(0x10, 0x20, 0x30));
    Styled->SetFluentUIAcrylicColorAlpha(70);
    Styled->SetFluentUIBackground(Backdrop);
    Styled->SetDWMClientShadow(true);
    Styled->OnChangeFluentUIBackground = [this](TObject*) { ++BackdropEvents; };
  }
  ~TWin11Fixture() {
    Form->Free();
    PumpPending();
  }
  HWND Handle() { return Form->Handle(); }
  void Clear() {
    Composition.CompositionAttributeCalls.clear();
    Composition.ExtendFrameCalls.clear();
    Composition.WindowAttributeCalls.clear();
  }
  void StyleChanged() {
    STYLESTRUCT ss{};
    ss.styleOld = ss.styleNew = static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE));
    Form->Perform(WM_STYLECHANGED, static_cast<WPARAM>(GWL_EXSTYLE), reinterpret_cast<LPARAM>(&ss));
  }
  std::vector<int32_t> AccentStates() const {
    std::vector<int32_t> states;
    for (const auto& call : Composition.CompositionAttributeCalls) states.push_back(call.Accent.AccentState);
    return states;
  }
  // (attribute, value) of each window attribute the compositor was asked to set.
  std::vector<std::pair<DWORD, uint32_t>> Attributes(DWORD Only = 0) const {
    std::vector<std::pair<DWORD, uint32_t>> list;
    for (const auto& call : Composition.WindowAttributeCalls)
      if (Only == 0 || call.Attribute == Only) list.emplace_back(call.Attribute, static_cast<uint32_t>(call.IntValue()));
    return list;
  }
};

using TAttrs = std::vector<std::pair<DWORD, uint32_t>>;

// ---- The compositor's own backdrops -------------------------------------------------------------

TEST(StyledFormSystemBackdrop, EachChoiceAsksTheCompositorOrFallsBackToTheAutomaticChoice) {
  const struct {
    TkaFluentUIBackground Backdrop;
    int Build;
    bool Unbound;
    std::optional<uint32_t> SystemType;  // the value of attribute 38
    std::vector<int32_t> Accents;
    TkaFluentUIBackground Effective;
    bool WholeWindowFrame;
  } cases[] = {
      {kafuibMica, 22621, false, 2u, {}, kafuibMica, true},
      {kafuibMicaAlt, 22631, false, 4u, {}, kafuibMicaAlt, true},
      {kafuibSystemAcrylic, 22621, false, 3u, {}, kafuibSystemAcrylic, true},
      // Windows 11 before 22H2, Windows 10, and no attribute call bound: the accents.
      {kafuibMica, 22000, false, std::nullopt, {4}, kafuibAcrylic, false},
      {kafuibMicaAlt, 19041, false, std::nullopt, {3}, kafuibBlur, false},
      {kafuibSystemAcrylic, 22621, true, std::nullopt, {4}, kafuibAcrylic, false},
      // The accents stay what they were on 22H2.
      {kafuibAcrylicBlurAuto, 22621, false, std::nullopt, {4}, kafuibAcrylic, false},
      {kafuibBlur, 22621, false, std::nullopt, {3}, kafuibBlur, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "backdrop " << c.Backdrop << ", build " << c.Build);
    TWin11Fixture f(c.Build, c.Backdrop);
    HWND wnd = f.Handle();
    if (c.Unbound) f.Composition.Binding().DwmSetWindowAttribute = nullptr;
    f.Clear();
    f.StyleChanged();

    EXPECT_EQ(f.AccentStates(), c.Accents);
    const TAttrs systemTypes = f.Attributes(38);
    if (c.SystemType) {
      EXPECT_EQ(systemTypes, (TAttrs{{38u, *c.SystemType}}));
      EXPECT_EQ(f.Composition.WindowAttributeCalls[0].Wnd, wnd);
    } else {
      EXPECT_TRUE(systemTypes.empty());
    }
    EXPECT_EQ(f.Styled->IsFluentUIAcrylicBackground(), c.Effective == kafuibAcrylic);
    EXPECT_EQ(f.Form->Color(), clBlack);
    ASSERT_EQ(f.Composition.ExtendFrameCalls.size(), c.Accents.empty() || c.Build >= 22000 ? 1u : 0u);
    if (!f.Composition.ExtendFrameCalls.empty()) {
      const MARGINS m = f.Composition.ExtendFrameCalls[0].Margins;
      const MARGINS want = c.WholeWindowFrame ? MARGINS{-1, -1, -1, -1} : MARGINS{0, 0, 1, 0};
      EXPECT_EQ(m.cxLeftWidth, want.cxLeftWidth);
      EXPECT_EQ(m.cxRightWidth, want.cxRightWidth);
      EXPECT_EQ(m.cyTopHeight, want.cyTopHeight);
      EXPECT_EQ(m.cyBottomHeight, want.cyBottomHeight);
    }
  }
}

TEST(StyledFormSystemBackdrop, LayoutsReadTheNewNamesAndReportAFallbackAtLoad) {
  const struct {
    int Build;
    int Events;
  } cases[] = {{22621, 0}, {22000, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Build);
    TkaCompositionTesting composition;
    composition.SetVersion(10, 0, c.Build);
    composition.SetCompositionEnabled(true);
    TCustomForm* form = TCustomForm::CreateNew(nullptr);
    int events = 0;
    // The handler is looked up on the root; counting is done by a handler set before load.
    TkaStyledForm* styled = nullptr;
    ReadLayout(form, R"(object LayoutForm: TCustomForm
  object kaStyledForm1: TkaStyledForm
    FluentUIBackground = kafuibMicaAlt
    FluentUIBlurWhileMoving = True
    FrameBorderColor = clRed
    DWMClientShadow = True
  end
end
)",
               L"win11layout");
    styled = dynamic_cast<TkaStyledForm*>(form->FindComponent(L"kaStyledForm1"));
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->FluentUIBackground(), kafuibMicaAlt);
    EXPECT_TRUE(styled->FluentUIBlurWhileMoving());
    EXPECT_EQ(styled->FrameBorderColor(), clRed);
    // Loaded's report, once more, now that a handler listens.
    styled->OnChangeFluentUIBackground = [&events](TObject*) { ++events; };
    styled->Loaded();
    EXPECT_EQ(events, c.Events);
    form->Free();
    PumpPending();
  }
}

// ---- Blur while moving --------------------------------------------------------------------------

TEST(StyledFormMoveBlur, AcrylicTurnsToBlurForTheMoveOnlyOnWindows10) {
  const struct {
    const char* Name;
    int Build;
    TkaFluentUIBackground Backdrop;
    bool Option;
    std::vector<int32_t> Accents;
  } cases[] = {
      // Blur at the start, acrylic at the end and not before.
      {"windows 10 acrylic", 19041, kafuibAcrylic, true, {3, 4}},
      // Only the activation refresh in the middle.
      {"option off", 19041, kafuibAcrylic, false, {4}},
      {"windows 11 keeps up", 22000, kafuibAcrylic, true, {4}},
      {"already blur", 19041, kafuibBlur, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TWin11Fixture f(c.Build, c.Backdrop);
    f.Styled->SetFluentUIBlurWhileMoving(c.Option);
    f.Handle();
    f.Clear();
    ::SendMessageW(f.Handle(), WM_ENTERSIZEMOVE, 0, 0);
    // An activation change in the middle leaves the blur in place.
    f.Styled->UpdateFluentAcrylicColor();
    ::SendMessageW(f.Handle(), WM_EXITSIZEMOVE, 0, 0);
    ::SendMessageW(f.Handle(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(f.AccentStates(), c.Accents);
    if (c.Accents.size() == 2) {
      const auto& calls = f.Composition.CompositionAttributeCalls;
      EXPECT_EQ(calls[0].Accent.AccentFlags, 0x1E0);
      EXPECT_EQ(calls[1].Accent.AccentColor, 0x46302010u);
    }
  }
}

TEST(StyledFormMoveBlur, TheFormsOwnDragBlursOnceItMovesAndEndsWithAcrylic) {
  TWin11Fixture f(19041, kafuibAcrylic);
  f.Styled->SetFluentUIBlurWhileMoving(true);
  f.Handle();
  f.Clear();
  // A press without a move changes nothing.
  f.Styled->DWMClientStartDrag();
  f.Styled->DWMClientDrag();
  f.Styled->DWMClientEndDrag();
  EXPECT_TRUE(f.AccentStates().empty());

  f.Styled->DWMClientStartDrag();
  f.Styled->Cursor = TPoint(320, 310);
  f.Styled->DWMClientDrag();
  f.Styled->Cursor = TPoint(340, 320);
  f.Styled->DWMClientDrag();
  EXPECT_EQ(f.Form->Left(), 140);
  f.Styled->DWMClientEndDrag();
  EXPECT_EQ(f.AccentStates(), (std::vector<int32_t>{3, 4}));
}

// ---- Frame colours ------------------------------------------------------------------------------

TEST(StyledFormFrameColors, BorderAndCaptionFollowActivationWhereTheSystemHasThem) {
  const struct {
    const char* Name;
    int Build;
    TColor Border, BorderInactive, Caption, CaptionInactive;
    TAttrs Active, Inactive;
  } cases[] = {
      {"both set", 22000, clRed, clNone, RGBColor(1, 2, 3), clBlue,
       {{34u, 0x0000FFu}, {35u, 0x030201u}}, {{34u, 0xFFFFFFFEu}, {35u, 0xFF0000u}}},
      // An unset inactive colour gives the system's back; a caption cannot be "none".
      {"active only", 22621, clLime, clDefault, clNone, clDefault,
       {{34u, 0x00FF00u}, {35u, 0xFFFFFFFFu}}, {{34u, 0xFFFFFFFFu}, {35u, 0xFFFFFFFFu}}},
      {"nothing set", 22000, clDefault, clDefault, clDefault, clDefault, {}, {}},
      {"windows 10", 19041, clRed, clNone, clRed, clBlue, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TWin11Fixture f(c.Build);
    f.Handle();
    f.Styled->SetFrameBorderColor(c.Border);
    f.Styled->SetFrameBorderInactiveColor(c.BorderInactive);
    f.Styled->SetFrameCaptionColor(c.Caption);
    f.Styled->SetFrameCaptionInactiveColor(c.CaptionInactive);
    f.Clear();
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(f.Attributes(), c.Active);
    f.Clear();
    ::SendMessageW(f.Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(f.Attributes(), c.Inactive);
  }
}

TEST(StyledFormFrameColors, ANewWindowGetsTheColoursAgain) {
  TWin11Fixture f(22000);
  f.Styled->SetFrameBorderColor(clRed);
  f.Handle();
  f.Clear();
  f.StyleChanged();
  EXPECT_EQ(f.Attributes(34), (TAttrs{{34u, 0xFFFFFFFFu}}));
}

// ---- High contrast ------------------------------------------------------------------------------

TEST(StyledFormHighContrast, BackdropsGiveWayAndComeBackWithTheSetting) {
  TWin11Fixture f(22621, kafuibAcrylic);
  HWND first = f.Handle();
  ASSERT_TRUE(f.Styled->IsFluentUIEnabled());

  f.Composition.SetHighContrast(true);
  EXPECT_FALSE(f.Styled->IsFluentUIAvailable());
  ::SendMessageW(first, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(f.BackdropEvents, 1);
  f.Clear();
  f.StyleChanged();
  EXPECT_TRUE(f.AccentStates().empty());

  // Another setting, or the same state again, changes nothing.
  ::SendMessageW(f.Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  ::SendMessageW(f.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(f.BackdropEvents, 1);

  f.Composition.SetHighContrast(false);
  ::SendMessageW(f.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(f.BackdropEvents, 2);
  EXPECT_TRUE(f.Styled->IsFluentUIEnabled());
  f.Clear();
  f.StyleChanged();
  EXPECT_EQ(f.AccentStates(), std::vector<int32_t>{4});
}

}  // namespace
