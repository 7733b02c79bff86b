// The binding layer's Windows 11 compositor attributes (system backdrop, border and caption
// colours) and the high-contrast switch, through the test doubles.
#include <gtest/gtest.h>

#include <optional>

#include "lib/kaDrawUtils/CompositionTesting.h"

namespace {

HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)); }

TEST(CompositionWin11, AttributesAreSentOnlyFromTheBuildThatHasThem) {
  enum TCall { SystemBackdrop, BorderColor, CaptionColor };
  const struct {
    const char* Name;
    TCall Call;
    int Build;
    bool Unbound;
    std::optional<DWORD> Attribute;  // none: nothing asked, and false returned
    uint32_t Value;
  } cases[] = {
      {"backdrop on 22h2", SystemBackdrop, 22621, false, 38u, 4},
      {"backdrop on 21h2", SystemBackdrop, 22000, false, std::nullopt, 0},
      {"backdrop unbound", SystemBackdrop, 22631, true, std::nullopt, 0},
      {"border on 21h2", BorderColor, 22000, false, 34u, 0xFFFFFFFE},
      {"border on windows 10", BorderColor, 19045, false, std::nullopt, 0},
      {"caption on 21h2", CaptionColor, 22000, false, 35u, 0x00102030},
      {"caption unbound", CaptionColor, 22621, true, std::nullopt, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TkaCompositionTesting t;
    t.SetVersion(10, 0, c.Build);
    if (c.Unbound) t.Binding().DwmSetWindowAttribute = nullptr;
    bool sent = false;
    switch (c.Call) {
      case SystemBackdrop:
        EXPECT_EQ(IsSystemBackdropSupported(), c.Attribute.has_value());
        sent = SetWindowSystemBackdrop(FakeWindow(), static_cast<int>(c.Value));
        break;
      case BorderColor:
        sent = SetWindowBorderColor(FakeWindow(), c.Value);
        break;
      case CaptionColor:
        sent = SetWindowCaptionColor(FakeWindow(), c.Value);
        break;
    }
    EXPECT_EQ(sent, c.Attribute.has_value());
    if (!c.Attribute) {
      EXPECT_TRUE(t.WindowAttributeCalls.empty());
      continue;
    }
    ASSERT_EQ(t.WindowAttributeCalls.size(), 1u);
    EXPECT_EQ(t.WindowAttributeCalls[0].Wnd, FakeWindow());
    EXPECT_EQ(t.WindowAttributeCalls[0].Attribute, *c.Attribute);
    EXPECT_EQ(t.WindowAttributeCalls[0].Size, 4u);
    EXPECT_EQ(static_cast<uint32_t>(t.WindowAttributeCalls[0].IntValue()), c.Value);
  }
}

TEST(CompositionWin11, NoWindowNoCall) {
  TkaCompositionTesting t;
  t.SetVersion(10, 0, 22621);
  EXPECT_FALSE(SetWindowSystemBackdrop(nullptr, kaDwmsbtMainWindow));
  EXPECT_FALSE(SetWindowBorderColor(nullptr, 0));
  EXPECT_TRUE(t.WindowAttributeCalls.empty());
}

TEST(CompositionWin11, HighContrastFollowsTheSwitchOfTheInnermostDoubleAndIsPutBack) {
  const TIsHighContrastOn system = PlatformBinding().IsHighContrastOn;
  ASSERT_NE(system, nullptr);
  {
    TkaCompositionTesting outer;
    EXPECT_FALSE(IsHighContrastOn());
    outer.SetHighContrast(true);
    EXPECT_TRUE(IsHighContrastOn());
    {
      TkaCompositionTesting inner;
      EXPECT_FALSE(IsHighContrastOn());
    }
    EXPECT_TRUE(IsHighContrastOn());
  }
  EXPECT_EQ(PlatformBinding().IsHighContrastOn, system);
}

}  // namespace
