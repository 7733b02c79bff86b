// The Windows version tests, the composition records, and the scoped stand-in that tests
// of the library use to pretend to be another Windows.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>

#include "lib/kaDrawUtils/CompositionTesting.h"
#include "lib/kaDrawUtils/kaDrawUtils.h"

namespace {

struct TVersionCase {
  const char* Name;
  DWORD GetVersion;                   // major in the low byte, minor in the next
  std::optional<std::pair<int, int>> Workstation;  // the workstation service's answer; none: it fails
  int RuntimeBuild;
  int VersionExBuild;
  bool CompositionOn;
  // Expected:
  int Major, Minor, Build;
  bool XP, Win7, Win8, Win10OrLater, Win10, Win11, Composition, FluentUI;
};

TkaVersionSources Sources(const TVersionCase& c, int& workstationCalls) {
  TkaVersionSources s;
  s.GetVersion = [&c] { return c.GetVersion; };
  s.WorkstationVersion = [&c, &workstationCalls](int& major, int& minor) {
    ++workstationCalls;
    if (!c.Workstation) return false;
    major = c.Workstation->first;
    minor = c.Workstation->second;
    return true;
  };
  s.RuntimeBuildNumber = [&c] { return c.RuntimeBuild; };
  s.VersionExBuildNumber = [&c] { return c.VersionExBuild; };
  return s;
}

constexpr DWORD V(int major, int minor) { return static_cast<DWORD>(major | (minor << 8)); }
constexpr auto kNone = std::nullopt;
const std::pair<int, int> k10{10, 0};

// clang-format off
const TVersionCase kVersionCases[] = {
  // name                          GetVersion Wksta       rt     vex    dwm    | Maj Min Build   XP     7      8      10+    10     11     dwm    fluent
  {"Win10Build17133",               V(6, 2),  k10,        17133, 0,     true,    10, 0, 17133, false, false, false, true,  true,  false, true,  false},
  {"Win10Build17134",               V(6, 2),  k10,        17134, 0,     true,    10, 0, 17134, false, false, false, true,  true,  false, true,  true},
  {"Win10Build21999",               V(10, 0), k10,        21999, 0,     true,    10, 0, 21999, false, false, false, true,  true,  false, true,  true},
  {"Win11Build22000",               V(10, 0), k10,        22000, 0,     true,    10, 0, 22000, false, false, false, true,  false, true,  true,  true},
  {"RuntimeBuildMissingUsesVerEx",  V(10, 0), k10,        0,     22621, true,    10, 0, 22621, false, false, false, true,  false, true,  true,  true},
  {"Win7KeepsGetVersion",           V(6, 1),  k10,        7601,  7601,  true,    6,  1, 0,     false, true,  false, false, false, false, true,  false},
  {"Win7NoWorkstation",             V(6, 1),  kNone,      7601,  7601,  true,    6,  1, 0,     false, true,  false, false, false, false, true,  false},
  {"Reports62WorkstationSays63",    V(6, 2),  std::pair{6, 3}, 9600, 9600, true, 6,  3, 0,     false, false, true,  false, false, false, true,  false},
  {"Reports62WorkstationFails",     V(6, 2),  kNone,      9200,  9200,  true,    6,  2, 0,     false, false, true,  false, false, false, true,  false},
  {"WindowsXP",                     V(5, 1),  kNone,      2600,  2600,  false,   5,  1, 0,     true,  false, false, false, false, false, false, false},
  {"Win10CompositionOff",           V(10, 0), k10,        19045, 0,     false,   10, 0, 19045, false, false, false, true,  true,  false, false, true},
};
// clang-format on

class VersionTests : public ::testing::TestWithParam<TVersionCase> {};

TEST_P(VersionTests, DerivedFromTheSourcesAsAtStartUp) {
  const TVersionCase& c = GetParam();
  TkaCompositionTesting testing;
  int workstationCalls = 0;
  testing.DetermineVersion(Sources(c, workstationCalls));
  testing.SetCompositionEnabled(c.CompositionOn);

  EXPECT_EQ(WindowsMajorVersion(), c.Major);
  EXPECT_EQ(WindowsMinorVersion(), c.Minor);
  EXPECT_EQ(WindowsBuildNumber(), c.Build);
  // The workstation service is asked only where GetVersion may not tell the truth.
  const bool above61 = (c.GetVersion & 0xFF) > 6 || ((c.GetVersion & 0xFF) == 6 && ((c.GetVersion >> 8) & 0xFF) > 1);
  EXPECT_EQ(workstationCalls, above61 ? 1 : 0);

  EXPECT_EQ(IsWindowsXP(), c.XP);
  EXPECT_EQ(IsWindows7(), c.Win7);
  EXPECT_EQ(IsWindows8(), c.Win8);
  EXPECT_EQ(IsWindows10OrLater(), c.Win10OrLater);
  EXPECT_EQ(IsWindows10(), c.Win10);
  EXPECT_EQ(IsWindows11(), c.Win11);
  EXPECT_EQ(IsDwmCompositionActive(), c.Composition);
  EXPECT_EQ(WindowsBuildNumber() >= kaBuildFluentUI, c.FluentUI);
}

INSTANTIATE_TEST_SUITE_P(Windows, VersionTests, ::testing::ValuesIn(kVersionCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CompositionActive, NeedsVista6BoundFunctionAndSuccess) {
  TkaCompositionTesting testing;
  testing.SetVersion(5, 1, 0);
  testing.SetCompositionEnabled(true);
  EXPECT_FALSE(IsDwmCompositionActive());
  EXPECT_EQ(testing.CompositionQueries, 0);  // not even asked before 6.0

  testing.SetVersion(6, 0, 0);
  EXPECT_TRUE(IsDwmCompositionActive());
  testing.SetCompositionEnabled(true, E_FAIL);
  EXPECT_FALSE(IsDwmCompositionActive());

  testing.SetCompositionEnabled(true);
  testing.Binding().DwmIsCompositionEnabled = nullptr;
  EXPECT_FALSE(IsDwmCompositionActive());
}

TEST(CompositionRecords, WireLayout) {
  EXPECT_EQ(sizeof(TkaAccentPolicy), 16u);
  EXPECT_EQ(offsetof(TkaAccentPolicy, AccentState), 0u);
  EXPECT_EQ(offsetof(TkaAccentPolicy, AccentFlags), 4u);
  EXPECT_EQ(offsetof(TkaAccentPolicy, AccentColor), 8u);
  EXPECT_EQ(offsetof(TkaAccentPolicy, AnimationId), 12u);
  // Attribute, pointer, size in natural alignment: 12 bytes in a 32-bit process.
  EXPECT_EQ(offsetof(TkaWinCompAttrData, Attribute), 0u);
  EXPECT_EQ(offsetof(TkaWinCompAttrData, Data), sizeof(void*));
  EXPECT_EQ(offsetof(TkaWinCompAttrData, DataSize), 2 * sizeof(void*));
  EXPECT_EQ(sizeof(TkaWinCompAttrData), 3 * sizeof(void*));
  // Tint: red low, then green, blue, alpha high; system colours resolved.
  EXPECT_EQ(MakeAccentColor(RGBColor(0x11, 0x22, 0x33), 0xCC), 0xCC332211u);
  EXPECT_EQ(MakeAccentColor(clBtnFace, 0), static_cast<uint32_t>(ColorToRGB(clBtnFace)));
}

TEST(CompositionTestingHelper, RecordsCallsAndRestoresOnExit) {
  const TkaPlatformBinding before = PlatformBinding();
  HWND wnd = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
  {
    TkaCompositionTesting testing;
    testing.SetVersion(10, 0, 22000);
    const TkaPlatformBinding& b = PlatformBinding();

    const MARGINS margins{1, 2, 3, 4};
    EXPECT_EQ(b.DwmExtendFrameIntoClientArea(wnd, &margins), S_OK);
    const DWORD corner = 2;  // DWMWCP_ROUND
    EXPECT_EQ(b.DwmSetWindowAttribute(wnd, 33, &corner, sizeof(corner)), S_OK);

    TkaAccentPolicy accent;
    accent.AccentState = ACCENT_ENABLE_ACRYLICBLURBEHIND;
    accent.AccentFlags = ACCENT_FLAGS_DRAW_ALL_BORDERS;
    accent.AccentColor = 0x80FFFFFF;
    EXPECT_TRUE(SetWindowAccent(wnd, accent));
    testing.SetCompositionAttributeResult(FALSE);
    EXPECT_FALSE(SetWindowAccent(wnd, TkaAccentPolicy{}));

    HDC from = reinterpret_cast<HDC>(1), to = reinterpret_cast<HDC>(1);
    BP_ANIMATIONPARAMS animation{};
    animation.cbSize = sizeof(animation);
    animation.dwDuration = 350;
    const RECT r{0, 0, 10, 20};
    EXPECT_EQ(b.BeginBufferedAnimation(wnd, nullptr, &r, BPBF_COMPATIBLEBITMAP, nullptr, &animation, &from, &to),
              nullptr);
    EXPECT_EQ(from, nullptr);
    EXPECT_EQ(b.BufferedPaintStopAllAnimations(wnd), S_OK);

    ASSERT_EQ(testing.ExtendFrameCalls.size(), 1u);
    EXPECT_EQ(testing.ExtendFrameCalls[0].Wnd, wnd);
    EXPECT_EQ(testing.ExtendFrameCalls[0].Margins.cyBottomHeight, 4);
    ASSERT_EQ(testing.WindowAttributeCalls.size(), 1u);
    EXPECT_EQ(testing.WindowAttributeCalls[0].Attribute, 33u);
    EXPECT_EQ(testing.WindowAttributeCalls[0].IntValue(), 2);
    ASSERT_EQ(testing.CompositionAttributeCalls.size(), 2u);
    const auto& call = testing.CompositionAttributeCalls[0];
    EXPECT_EQ(call.Wnd, wnd);
    EXPECT_EQ(call.Attribute, 19u);
    EXPECT_EQ(call.DataSize, 16u);
    ASSERT_TRUE(call.HasAccent);
    EXPECT_EQ(call.Accent.AccentState, 4);
    EXPECT_EQ(call.Accent.AccentFlags, 0x1E0);
    EXPECT_EQ(call.Accent.AccentColor, 0x80FFFFFFu);
    EXPECT_EQ(call.Accent.AnimationId, 0);
    ASSERT_EQ(testing.AnimationCalls.size(), 2u);
    EXPECT_EQ(testing.AnimationCalls[0].Kind, TkaCompositionTesting::acBegin);
    EXPECT_EQ(testing.AnimationCalls[0].Duration, 350u);
    EXPECT_EQ(testing.AnimationCalls[0].Target, TRect(0, 0, 10, 20));
    EXPECT_EQ(testing.AnimationCalls[1].Kind, TkaCompositionTesting::acStopAll);

    // Nested: the inner object records, and hands back to the outer one.
    {
      TkaCompositionTesting inner;
      EXPECT_EQ(PlatformBinding().DwmExtendFrameIntoClientArea(wnd, &margins), S_OK);
      EXPECT_EQ(inner.ExtendFrameCalls.size(), 1u);
    }
    EXPECT_EQ(WindowsBuildNumber(), 22000);
    EXPECT_EQ(testing.ExtendFrameCalls.size(), 1u);
    testing.Binding().SetWindowCompositionAttribute = nullptr;
    EXPECT_FALSE(SetWindowAccent(wnd, accent));
  }
  const TkaPlatformBinding& after = PlatformBinding();
  EXPECT_EQ(after.WindowsMajorVersion, before.WindowsMajorVersion);
  EXPECT_EQ(after.WindowsBuildNumber, before.WindowsBuildNumber);
  EXPECT_EQ(after.DwmIsCompositionEnabled, before.DwmIsCompositionEnabled);
  EXPECT_EQ(after.DwmExtendFrameIntoClientArea, before.DwmExtendFrameIntoClientArea);
  EXPECT_EQ(after.SetWindowCompositionAttribute, before.SetWindowCompositionAttribute);
  EXPECT_EQ(after.BeginBufferedAnimation, before.BeginBufferedAnimation);
}

// What the process found at start-up, on the machine the tests run on.
TEST(StartUpBinding, FindsTheModulesAndTheRealVersion) {
  const TkaPlatformBinding& b = PlatformBinding();
  EXPECT_NE(b.User32Module, nullptr);
  EXPECT_NE(b.UxThemeModule, nullptr);
  EXPECT_NE(b.DwmApiModule, nullptr);
  EXPECT_NE(b.BeginBufferedAnimation, nullptr);
  EXPECT_NE(b.DwmSetWindowAttribute, nullptr);
  EXPECT_GE(b.WindowsMajorVersion, 5);
  // Builds are known from Windows 10 on, and only there.
  EXPECT_EQ(b.WindowsBuildNumber > 0, b.WindowsMajorVersion >= 10);
  EXPECT_EQ(&b, &PlatformBinding());
}

}  // namespace
