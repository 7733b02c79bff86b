// The Windows version the library runs on, and the platform functions it binds by name
// because older systems lack them: buffered-paint animation (uxtheme), desktop composition
// (dwmapi) and the window-composition attribute of user32 that gives a window its blur or
// acrylic backdrop.
//
// Everything here is determined once per process, on first use of any of it, and never
// changes afterwards (tests excepted: see CompositionTesting.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "framework/Types.h"

// ---- Window-composition records --------------------------------------------------------

// The attribute of the composition record that carries an accent policy.
constexpr DWORD WCA_ACCENT_POLICY = 19;

// Accent states the library uses.
constexpr int32_t ACCENT_DISABLED = 0;
constexpr int32_t ACCENT_ENABLE_BLURBEHIND = 3;
constexpr int32_t ACCENT_ENABLE_ACRYLICBLURBEHIND = 4;
// Accent flags: the backdrop is drawn with the window's border.
constexpr int32_t ACCENT_FLAGS_DRAW_ALL_BORDERS = 0x1E0;

// What the backdrop looks like. 16 bytes on every architecture.
struct TkaAccentPolicy {
  int32_t AccentState = ACCENT_DISABLED;
  int32_t AccentFlags = 0;
  // Tint as 0xAABBGGRR (red in the low byte, alpha in the high byte); acrylic only.
  uint32_t AccentColor = 0;
  int32_t AnimationId = 0;
};

// The record SetWindowCompositionAttribute takes: 12 bytes in a 32-bit process; in a
// 64-bit process the natural layout of the same fields (the pointer is 8 bytes there).
struct TkaWinCompAttrData {
  DWORD Attribute = 0;
  void* Data = nullptr;
  ULONG DataSize = 0;
};

static_assert(sizeof(TkaAccentPolicy) == 16);
static_assert(offsetof(TkaAccentPolicy, AccentFlags) == 4);
static_assert(offsetof(TkaAccentPolicy, AccentColor) == 8);
static_assert(offsetof(TkaAccentPolicy, AnimationId) == 12);
#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(TkaWinCompAttrData) == 12);
static_assert(offsetof(TkaWinCompAttrData, Data) == 4);
static_assert(offsetof(TkaWinCompAttrData, DataSize) == 8);
#endif

// A tint for AccentColor: the colour's RGB (system colours resolved) with Alpha on top.
uint32_t MakeAccentColor(TColor Color, uint8_t Alpha);

// ---- Bound functions ---------------------------------------------------------------------

using TBeginBufferedAnimation = HANIMATIONBUFFER(WINAPI*)(HWND Wnd, HDC Target, const RECT* TargetRect,
                                                          BP_BUFFERFORMAT Format, BP_PAINTPARAMS* PaintParams,
                                                          BP_ANIMATIONPARAMS* AnimationParams, HDC* From,
                                                          HDC* To);
using TEndBufferedAnimation = HRESULT(WINAPI*)(HANIMATIONBUFFER Animation, BOOL UpdateTarget);
using TBufferedPaintRenderAnimation = BOOL(WINAPI*)(HWND Wnd, HDC Target);
using TBufferedPaintStopAllAnimations = HRESULT(WINAPI*)(HWND Wnd);
using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL* Enabled);
using TDwmExtendFrameIntoClientArea = HRESULT(WINAPI*)(HWND Wnd, const MARGINS* Margins);
using TDwmSetWindowAttribute = HRESULT(WINAPI*)(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size);
using TSetWindowCompositionAttribute = BOOL(WINAPI*)(HWND Wnd, TkaWinCompAttrData* Data);
// Whether the user's high-contrast setting is on.
using TIsHighContrastOn = bool (*)();

// The process-wide values. A pointer is nullptr where its module or name is missing; a user
// calls a function only where it is bound.
struct TkaPlatformBinding {
  int WindowsMajorVersion = 0;
  int WindowsMinorVersion = 0;
  // 0 before Windows 10.
  int WindowsBuildNumber = 0;

  HMODULE UxThemeModule = nullptr;
  HMODULE DwmApiModule = nullptr;
  HMODULE User32Module = nullptr;

  TBeginBufferedAnimation BeginBufferedAnimation = nullptr;
  TEndBufferedAnimation EndBufferedAnimation = nullptr;
  TBufferedPaintRenderAnimation BufferedPaintRenderAnimation = nullptr;
  TBufferedPaintStopAllAnimations BufferedPaintStopAllAnimations = nullptr;
  TDwmIsCompositionEnabled DwmIsCompositionEnabled = nullptr;
  TDwmExtendFrameIntoClientArea DwmExtendFrameIntoClientArea = nullptr;
  TDwmSetWindowAttribute DwmSetWindowAttribute = nullptr;
  TSetWindowCompositionAttribute SetWindowCompositionAttribute = nullptr;
  // Always set: the system's setting, or a test's switch.
  TIsHighContrastOn IsHighContrastOn = nullptr;
};

// The values, determined and bound on the first call.
const TkaPlatformBinding& PlatformBinding();

int WindowsMajorVersion();
int WindowsMinorVersion();
int WindowsBuildNumber();

// Build thresholds: the translucent backdrop and opaque child layers; acrylic margins reset
// on move and size (up to build 21999); Windows 11.
constexpr int kaBuildFluentUI = 17134;
constexpr int kaBuildAcrylicMarginsReset = 18362;
constexpr int kaBuildWindows11 = 22000;

// ---- Version tests -------------------------------------------------------------------------

bool IsWindowsXP();
bool IsWindows7();
// 8 and 8.1.
bool IsWindows8();
bool IsWindows10OrLater();
bool IsWindows10();
bool IsWindows11();
// The compositor is on (6.0 and later, and DwmIsCompositionEnabled bound and saying so).
bool IsDwmCompositionActive();

// The compositor's dark caption (DWMWA_USE_IMMERSIVE_DARK_MODE): the attribute's number from
// build 18985 on, and the number it had from build 17763 (Windows 10 1809) until then.
constexpr DWORD kaDwmUseImmersiveDarkMode = 20;
constexpr DWORD kaDwmUseImmersiveDarkModeBefore20H1 = 19;
constexpr int kaBuildDarkCaption = 17763;
constexpr int kaBuildDarkCaption20H1 = 18985;

// Asks the compositor to draw Wnd's caption and frame dark (or light again) through
// DwmSetWindowAttribute, on systems that have the attribute. False where it was not asked
// (an older system, the function not bound) or the call failed. The style engine calls it
// for every top-level window whose style turns dark or light.
bool SetWindowDarkCaption(HWND Wnd, bool Dark);

// ---- Windows 11 compositor attributes --------------------------------------------------------

// The compositor's own backdrop behind a window (DWMWA_SYSTEMBACKDROP_TYPE), from Windows 11
// 22H2 on, and the types it takes.
constexpr DWORD kaDwmSystemBackdropTypeAttribute = 38;
constexpr int kaBuildSystemBackdrop = 22621;
constexpr int kaDwmsbtAuto = 0;
constexpr int kaDwmsbtNone = 1;
constexpr int kaDwmsbtMainWindow = 2;       // Mica
constexpr int kaDwmsbtTransientWindow = 3;  // Acrylic
constexpr int kaDwmsbtTabbedWindow = 4;     // Mica Alt
// True where the system has that attribute and the call is bound.
bool IsSystemBackdropSupported();
// Asks for Type behind Wnd; false where unsupported or when the call failed.
bool SetWindowSystemBackdrop(HWND Wnd, int Type);

// The border and caption colours the compositor draws (Windows 11 build 22000 on), as a
// COLORREF or one of the two special values.
constexpr DWORD kaDwmBorderColorAttribute = 34;
constexpr DWORD kaDwmCaptionColorAttribute = 35;
constexpr COLORREF kaDwmColorDefault = 0xFFFFFFFF;
constexpr COLORREF kaDwmColorNone = 0xFFFFFFFE;
bool IsFrameColorSupported();
// False where unsupported or when the call failed.
bool SetWindowBorderColor(HWND Wnd, COLORREF Color);
bool SetWindowCaptionColor(HWND Wnd, COLORREF Color);

// The user's high-contrast setting (SystemParametersInfo with SPI_GETHIGHCONTRAST), asked
// each time: it can change while the program runs.
bool IsHighContrastOn();

// Gives Wnd the accent through SetWindowCompositionAttribute (the composition record
// pointing at Accent). False when the function is not bound or fails.
bool SetWindowAccent(HWND Wnd, const TkaAccentPolicy& Accent);

// ---- How the version is determined -------------------------------------------------------

// Where the version comes from; the process uses SystemVersionSources(), tests their own.
struct TkaVersionSources {
  // GetVersion(): major in the lowest byte, minor in the second.
  std::function<DWORD()> GetVersion;
  // NetWkstaGetInfo level 100; false when the call fails.
  std::function<bool(int& Major, int& Minor)> WorkstationVersion;
  // The build the process's run-time reports (0 when unknown).
  std::function<int()> RuntimeBuildNumber;
  // GetVersionExW's dwBuildNumber (0 when the call fails).
  std::function<int()> VersionExBuildNumber;
};

TkaVersionSources SystemVersionSources();

struct TkaWindowsVersion {
  int Major = 0;
  int Minor = 0;
  int Build = 0;
};

// GetVersion; above 6.1 (where a compatibility version may be reported) the workstation
// service's version when it answers; then the build on Windows 10 and later, 0 before.
TkaWindowsVersion DetermineWindowsVersion(const TkaVersionSources& Sources);
