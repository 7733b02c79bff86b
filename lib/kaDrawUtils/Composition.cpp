#include "lib/kaDrawUtils/Composition.h"

#include <cstdlib>

#include <lm.h>

#include "framework/Themes.h"
#include "lib/kaDrawUtils/CompositionTesting.h"

// GetVersion and GetVersionExW are marked deprecated by the Windows SDK; they are what the
// version determination asks, on purpose (the workstation service corrects them).
#ifdef _MSC_VER
#pragma warning(disable : 4996)
#endif

namespace {

// GetProcAddress gives a generic pointer; going through void(*)() tells the compiler the
// type change is meant.
template <class TFunc>
TFunc Lookup(HMODULE Module, const char* Name) {
  if (Module == nullptr) return nullptr;
  return reinterpret_cast<TFunc>(reinterpret_cast<void (*)()>(::GetProcAddress(Module, Name)));
}

bool SystemWorkstationVersion(int& Major, int& Minor) {
  LPBYTE buffer = nullptr;
  const NET_API_STATUS status = ::NetWkstaGetInfo(nullptr, 100, &buffer);
  if (status == NERR_Success && buffer != nullptr) {
    const auto* info = reinterpret_cast<const WKSTA_INFO_100*>(buffer);
    Major = static_cast<int>(info->wki100_ver_major);
    Minor = static_cast<int>(info->wki100_ver_minor);
  }
  if (buffer != nullptr) ::NetApiBufferFree(buffer);
  return status == NERR_Success;
}

// C++ run-times keep no Windows build of their own; the one the system reports to the
// process without compatibility shims is ntdll's RtlGetVersion, which is always loaded.
int SystemRuntimeBuildNumber() {
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = Lookup<TRtlGetVersion>(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  if (rtlGetVersion == nullptr) return 0;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (rtlGetVersion(&info) != 0) return 0;
  return static_cast<int>(info.dwBuildNumber);
}

int SystemVersionExBuildNumber() {
  // The extended record (284 bytes), whose first part is the plain one: the size the
  // system is told must be the size it may write.
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return 0;
  return static_cast<int>(info.dwBuildNumber);
}

bool SystemHighContrastOn() {
  HIGHCONTRASTW info{};
  info.cbSize = sizeof(info);
  if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(info), &info, 0)) return false;
  return (info.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void FreeModules();

TkaPlatformBinding Bind() {
  TkaPlatformBinding b;
  const TkaWindowsVersion version = DetermineWindowsVersion(SystemVersionSources());
  b.WindowsMajorVersion = version.Major;
  b.WindowsMinorVersion = version.Minor;
  b.WindowsBuildNumber = version.Build;

  b.UxThemeModule = ::LoadLibraryW(L"uxtheme.dll");
  b.BeginBufferedAnimation = Lookup<TBeginBufferedAnimation>(b.UxThemeModule, "BeginBufferedAnimation");
  b.EndBufferedAnimation = Lookup<TEndBufferedAnimation>(b.UxThemeModule, "EndBufferedAnimation");
  b.BufferedPaintRenderAnimation =
      Lookup<TBufferedPaintRenderAnimation>(b.UxThemeModule, "BufferedPaintRenderAnimation");
  b.BufferedPaintStopAllAnimations =
      Lookup<TBufferedPaintStopAllAnimations>(b.UxThemeModule, "BufferedPaintStopAllAnimations");

  b.DwmApiModule = ::LoadLibraryW(L"dwmapi.dll");
  b.DwmIsCompositionEnabled = Lookup<TDwmIsCompositionEnabled>(b.DwmApiModule, "DwmIsCompositionEnabled");
  b.DwmExtendFrameIntoClientArea =
      Lookup<TDwmExtendFrameIntoClientArea>(b.DwmApiModule, "DwmExtendFrameIntoClientArea");
  b.DwmSetWindowAttribute = Lookup<TDwmSetWindowAttribute>(b.DwmApiModule, "DwmSetWindowAttribute");

  b.User32Module = ::LoadLibraryW(L"user32.dll");
  b.SetWindowCompositionAttribute =
      Lookup<TSetWindowCompositionAttribute>(b.User32Module, "SetWindowCompositionAttribute");
  b.IsHighContrastOn = SystemHighContrastOn;
  return b;
}

// The holder is never destroyed: forms freed late at exit may still paint and ask for these
// values after function-local statics are gone. The modules are released from an atexit
// handler instead; that only drops this unit's reference (the framework imports all three
// modules, so they stay mapped), and the pointers are cleared first so that any call made
// later finds the features unavailable rather than a stale pointer.
TkaPlatformBinding& Storage() {
  static TkaPlatformBinding* binding = [] {
    auto* b = new TkaPlatformBinding(Bind());
    std::atexit(FreeModules);
    return b;
  }();
  return *binding;
}

void FreeModules() {
  TkaPlatformBinding& b = Storage();
  const HMODULE modules[] = {b.UxThemeModule, b.DwmApiModule, b.User32Module};
  const int major = b.WindowsMajorVersion, minor = b.WindowsMinorVersion, build = b.WindowsBuildNumber;
  b = TkaPlatformBinding{};
  b.IsHighContrastOn = SystemHighContrastOn;
  b.WindowsMajorVersion = major;
  b.WindowsMinorVersion = minor;
  b.WindowsBuildNumber = build;
  for (HMODULE m : modules)
    if (m != nullptr) ::FreeLibrary(m);
}

}  // namespace

TkaPlatformBinding& WritablePlatformBinding() { return Storage(); }

const TkaPlatformBinding& PlatformBinding() { return Storage(); }

int WindowsMajorVersion() { return PlatformBinding().WindowsMajorVersion; }
int WindowsMinorVersion() { return PlatformBinding().WindowsMinorVersion; }
int WindowsBuildNumber() { return PlatformBinding().WindowsBuildNumber; }

bool IsWindowsXP() { return WindowsMajorVersion() == 5 && WindowsMinorVersion() == 1; }
bool IsWindows7() { return WindowsMajorVersion() == 6 && WindowsMinorVersion() == 1; }
bool IsWindows8() { return WindowsMajorVersion() == 6 && WindowsMinorVersion() > 1; }
bool IsWindows10OrLater() { return WindowsMajorVersion() > 9; }
bool IsWindows10() { return WindowsMajorVersion() == 10 && WindowsBuildNumber() < kaBuildWindows11; }
bool IsWindows11() { return WindowsMajorVersion() >= 10 && WindowsBuildNumber() >= kaBuildWindows11; }

bool IsDwmCompositionActive() {
  const TkaPlatformBinding& b = PlatformBinding();
  if (b.WindowsMajorVersion < 6 || b.DwmIsCompositionEnabled == nullptr) return false;
  BOOL enabled = FALSE;
  return b.DwmIsCompositionEnabled(&enabled) == S_OK && enabled != FALSE;
}

uint32_t MakeAccentColor(TColor Color, uint8_t Alpha) {
  return (static_cast<uint32_t>(ColorToRGB(Color)) & 0x00FFFFFFu) | (static_cast<uint32_t>(Alpha) << 24);
}

bool SetWindowAccent(HWND Wnd, const TkaAccentPolicy& Accent) {
  const TSetWindowCompositionAttribute set = PlatformBinding().SetWindowCompositionAttribute;
  if (set == nullptr) return false;
  // The platform reads the accent through the pointer during the call only.
  TkaAccentPolicy accent = Accent;
  TkaWinCompAttrData data;
  data.Attribute = WCA_ACCENT_POLICY;
  data.Data = &accent;
  data.DataSize = sizeof(accent);
  return set(Wnd, &data) != FALSE;
}

bool SetWindowDarkCaption(HWND Wnd, bool Dark) {
  const TkaPlatformBinding& b = PlatformBinding();
  if (Wnd == nullptr || b.DwmSetWindowAttribute == nullptr || !IsWindows10OrLater() ||
      b.WindowsBuildNumber < kaBuildDarkCaption)
    return false;
  const DWORD attribute =
      b.WindowsBuildNumber >= kaBuildDarkCaption20H1 ? kaDwmUseImmersiveDarkMode : kaDwmUseImmersiveDarkModeBefore20H1;
  const BOOL value = Dark ? TRUE : FALSE;
  return SUCCEEDED(b.DwmSetWindowAttribute(Wnd, attribute, &value, sizeof(value)));
}

bool IsSystemBackdropSupported() {
  const TkaPlatformBinding& b = PlatformBinding();
  return b.DwmSetWindowAttribute != nullptr && IsWindows11() && b.WindowsBuildNumber >= kaBuildSystemBackdrop;
}

bool SetWindowSystemBackdrop(HWND Wnd, int Type) {
  if (Wnd == nullptr || !IsSystemBackdropSupported()) return false;
  const int32_t value = Type;
  return SUCCEEDED(PlatformBinding().DwmSetWindowAttribute(Wnd, kaDwmSystemBackdropTypeAttribute, &value,
                                                           sizeof(value)));
}

bool IsFrameColorSupported() { return PlatformBinding().DwmSetWindowAttribute != nullptr && IsWindows11(); }

namespace {
bool SetWindowColorAttribute(HWND Wnd, DWORD Attribute, COLORREF Color) {
  if (Wnd == nullptr || !IsFrameColorSupported()) return false;
  const COLORREF value = Color;
  return SUCCEEDED(PlatformBinding().DwmSetWindowAttribute(Wnd, Attribute, &value, sizeof(value)));
}
}  // namespace

bool SetWindowBorderColor(HWND Wnd, COLORREF Color) {
  return SetWindowColorAttribute(Wnd, kaDwmBorderColorAttribute, Color);
}

bool SetWindowCaptionColor(HWND Wnd, COLORREF Color) {
  return SetWindowColorAttribute(Wnd, kaDwmCaptionColorAttribute, Color);
}

bool IsHighContrastOn() {
  const TIsHighContrastOn query = PlatformBinding().IsHighContrastOn;
  return query != nullptr && query();
}

namespace {
// Windows the style engine makes dark get the compositor's dark caption, so that standard
// frames match their client areas. Set while the program's statics are made; the engine's
// handler is constant-initialised, so the order of units does not matter.
const bool gDarkCaptionBound = (TStyleManager::SetDarkFrameHandler(
                                    [](HWND Wnd, bool Dark) { SetWindowDarkCaption(Wnd, Dark); }),
                                true);
}  // namespace

TkaVersionSources SystemVersionSources() {
  TkaVersionSources s;
  s.GetVersion = [] { return ::GetVersion(); };
  s.WorkstationVersion = SystemWorkstationVersion;
  s.RuntimeBuildNumber = SystemRuntimeBuildNumber;
  s.VersionExBuildNumber = SystemVersionExBuildNumber;
  return s;
}

TkaWindowsVersion DetermineWindowsVersion(const TkaVersionSources& Sources) {
  TkaWindowsVersion v;
  const DWORD raw = Sources.GetVersion();
  v.Major = static_cast<int>(raw & 0xFF);
  v.Minor = static_cast<int>((raw >> 8) & 0xFF);
  // Past 6.1 the system may answer with the version the program's manifest claims to know;
  // the workstation service tells the real one.
  if (v.Major > 6 || (v.Major == 6 && v.Minor > 1)) {
    int major = 0, minor = 0;
    if (Sources.WorkstationVersion(major, minor)) {
      v.Major = major;
      v.Minor = minor;
    }
  }
  if (v.Major > 9) {
    v.Build = Sources.RuntimeBuildNumber();
    if (v.Build == 0) v.Build = Sources.VersionExBuildNumber();
  }
  return v;
}
