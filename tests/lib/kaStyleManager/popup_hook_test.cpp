// Popup menus under the custom styles: a real menu of the framework opened with the system's
// menu loop, its window's pixels read from the screen while it is open (from a timer the loop
// dispatches), the hot item moved with the keyboard, and the menu ended. Under each style the
// hook draws the background, text and selection in the style's colours and keeps doing so
// as the selection moves; with the system style the platform draws; the style manager's
// settings change what is drawn; opening and closing leaves no handles behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/Menus.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaStyleManager/kaStyleManager.h"
#include "lib/kaStyleManager/kaSysStyleHooks.h"
#include "tests/support/Handles.h"
#include "tests/support/StyleScope.h"

namespace {

// ---- A menu opened for real ----------------------------------------------------------------

// The items of the test menu, by position in the system menu.
enum TItemIndex { kOpen, kLine, kChecked, kRadio, kDisabled, kHeader, kMore, kItemCount };

// An item's rectangle inside the menu window.
TRect ItemRect(HWND Menu, int Index) {
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(Menu, MN_GETHMENU, 0, 0));
  RECT item{}, window{};
  ::GetMenuItemRect(Menu, menu, static_cast<UINT>(Index), &item);
  ::GetWindowRect(Menu, &window);
  return TRect(item.left - window.left, item.top - window.top, item.right - window.left, item.bottom - window.top);
}

// Pixels of the menu window as the screen shows them (or as it prints itself).
struct TShot {
  int Width = 0, Height = 0;
  std::vector<TColor> Pixels;
  // The items' rectangles when the pixels were taken.
  std::vector<TRect> Items;
  TColor At(int X, int Y) const { return Pixels[static_cast<size_t>(Y * Width + X)]; }
  bool Empty() const { return Pixels.empty(); }
};

TShot Grab(HWND Menu, bool Print) {
  RECT w{};
  ::GetWindowRect(Menu, &w);
  TShot shot;
  for (int i = 0; i < kItemCount; ++i) shot.Items.push_back(ItemRect(Menu, i));
  shot.Width = w.right - w.left;
  shot.Height = w.bottom - w.top;
  void* bits = nullptr;
  TBitmapHandle bitmap = CreateBottomUpDIB(shot.Width, shot.Height, 32, &bits);
  TMemoryDC dc = TMemoryDC::CreateCompatible(nullptr);
  {
    TSelectObject selected(dc.Get(), bitmap.Get());
    if (Print) {
      ::PrintWindow(Menu, dc.Get(), 0);
    } else {
      TWindowDC screen(nullptr);
      ::BitBlt(dc.Get(), 0, 0, shot.Width, shot.Height, screen.Get(), w.left, w.top, SRCCOPY);
    }
  }
  const auto* p = static_cast<const uint32_t*>(bits);
  shot.Pixels.reserve(static_cast<size_t>(shot.Width * shot.Height));
  // Rows bottom-up, pixels 0x00RRGGBB; colours are 0x00BBGGRR.
  for (int y = shot.Height - 1; y >= 0; --y)
    for (int x = 0; x < shot.Width; ++x) {
      const uint32_t v = p[y * shot.Width + x];
      shot.Pixels.push_back(RGBColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
  return shot;
}

TkaSysPopupStyleHook* PopupHook(HWND Menu) {
  return dynamic_cast<TkaSysPopupStyleHook*>(TStyleManager::Engine().AttachedHook(Menu));
}

BOOL CALLBACK FindMenuWindow(HWND W, LPARAM P) {
  wchar_t name[16] = {};
  ::GetClassNameW(W, name, 16);
  if (String(name) != L"#32768" || !::IsWindowVisible(W)) return TRUE;
  *reinterpret_cast<HWND*>(P) = W;
  return FALSE;
}

// Runs Steps one per timer tick while the menu is open (each gets the menu window), then
// ends the menu. The loop dispatches the thread's timer messages itself.
class TMenuRun {
 public:
  using TStep = std::function<void(HWND)>;
  static void Run(TPopupMenu& Menu, std::vector<TStep> Steps, UINT Interval = 40) {
    TMenuRun run(std::move(Steps));
    Current() = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, Interval, Tick);
    Menu.Popup(120, 100);
    ::KillTimer(nullptr, timer);
    Current() = nullptr;
    EXPECT_EQ(run.FNext, run.FSteps.size()) << "the menu closed before every step ran";
  }
  // Moves the hot item as the down key does in the menu loop.
  static void Down(HWND Menu) { ::PostMessageW(Menu, WM_KEYDOWN, VK_DOWN, 0); }

 private:
  explicit TMenuRun(std::vector<TStep> Steps) : FSteps(std::move(Steps)) {}
  static TMenuRun*& Current() {
    static TMenuRun* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuRun* run = Current();
    if (run == nullptr) return;
    HWND menu = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&menu));
    // A menu that never shows up must not hold the test.
    if (menu == nullptr || run->FNext >= run->FSteps.size() || ++run->FTicks > 200) {
      ::EndMenu();
      return;
    }
    run->FSteps[run->FNext++](menu);
  }
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  int FTicks = 0;
};

// Every kind of item the hook draws.
class TTestMenu {
 public:
  TTestMenu() : FMenu(nullptr) {
    Add(L"&Open\tCtrl+O")->SetDefault(true);
    Add(L"-");
    Add(L"Checked")->SetChecked(true);
    TMenuItem* radio = Add(L"Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    Add(L"Disabled")->SetEnabled(false);
    Add(L"-Section-")->SetEnabled(false);
    TMenuItem* more = Add(L"More");
    auto* inner = new TMenuItem(&FMenu);
    inner->SetCaption(L"Inner");
    more->Add(inner);
  }
  TPopupMenu& Menu() { return FMenu; }

 private:
  TMenuItem* Add(const wchar_t* Caption) {
    auto* item = new TMenuItem(&FMenu);
    item->SetCaption(Caption);
    FMenu.Items()->Add(item);
    return item;
  }
  TPopupMenu FMenu;
};

// Puts the menu settings back as the test found them.
class TMenuSettingsRestore {
 public:
  TMenuSettingsRestore()
      : FModern(UseModernArrows()), FAlpha(kaMenuAlphaBlendValue), FHeaders(kaMenuHeadersSupport),
        FSelection(kaMenuSelectionStyle) {}
  ~TMenuSettingsRestore() {
    SetUseModernArrows(FModern);
    kaMenuAlphaBlendValue = FAlpha;
    kaMenuHeadersSupport = FHeaders;
    kaMenuSelectionStyle = FSelection;
  }
  TMenuSettingsRestore(const TMenuSettingsRestore&) = delete;
  TMenuSettingsRestore& operator=(const TMenuSettingsRestore&) = delete;

 private:
  bool FModern;
  uint8_t FAlpha;
  bool FHeaders;
  TkaMenuSelectionStyle FSelection;
};

int Distance(TColor A, TColor B) {
  return std::abs(GetRValue(A) - GetRValue(B)) + std::abs(GetGValue(A) - GetGValue(B)) +
         std::abs(GetBValue(A) - GetBValue(B));
}

// Pixels of R (clipped to the shot) within Tolerance of Color.
int CountNear(const TShot& Shot, const TRect& R, TColor Color, int Tolerance = 0) {
  int n = 0;
  for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, Shot.Height); ++y)
    for (int x = std::max(R.Left, 0); x < std::min(R.Right, Shot.Width); ++x)
      if (Distance(Shot.At(x, y), Color) <= Tolerance) ++n;
  return n;
}

// A point of an item where neither marks, text nor arrows are drawn, inside the hot face.
TPoint FacePoint(const TRect& Item) { return TPoint(Item.Right - 8, Item.Top + Item.Height() / 2); }
// A point of an item's text column past its text.
TPoint EmptyPoint(const TRect& Item) { return TPoint(Item.Right - 30, Item.Top + Item.Height() / 2); }
// The label's column: after the marks, before the shortcut and arrow columns.
TRect LabelRect(const TRect& Item) { return TRect(Item.Left + Item.Height(), Item.Top, Item.Right - 20, Item.Bottom); }

// ---- Under each custom style ---------------------------------------------------------------

class PopupHookUnderStyle : public TKarvoStyleTest {};
KA_INSTANTIATE_KARVO_STYLES(PopupHookUnderStyle);

TEST_P(PopupHookUnderStyle, BackgroundTextAndSelectionComeFromTheStyle) {
  TMenuSettingsRestore restore;
  const TStyleDescription& style = TStyleScope::Style();
  TTestMenu menu;
  TShot shown, printed, selected;
  bool hooked = false;
  TMenuRun::Run(menu.Menu(), {[&](HWND M) {
                                hooked = PopupHook(M) != nullptr && PopupHook(M)->ItemsPainted();
                                shown = Grab(M, false);
                                printed = Grab(M, true);
                                TMenuRun::Down(M);
                              },
                              [&](HWND M) { selected = Grab(M, false); }});
  ASSERT_TRUE(hooked);
  ASSERT_FALSE(shown.Empty());
  const TRect checked = shown.Items[kChecked], open = shown.Items[kOpen];
  const TPoint empty = EmptyPoint(checked);
  EXPECT_EQ(shown.At(empty.X, empty.Y), style.Menu.Fill.Normal);
  // The frame is the style's menu border.
  EXPECT_EQ(shown.At(0, shown.Height / 2), style.Menu.Border.Normal);
  // Text: the label's darkest (or lightest) stroke is the style's text colour.
  EXPECT_GT(CountNear(shown, LabelRect(checked), style.MenuItem.Text.Normal, 60), 3);
  EXPECT_GT(CountNear(shown, LabelRect(shown.Items[kDisabled]), style.MenuItem.Text.Disabled, 60), 3);
  // The check mark in the style's text colour, left of the label.
  EXPECT_GT(CountNear(shown, TRect(checked.Left, checked.Top, checked.Left + checked.Height(), checked.Bottom),
                      style.MenuItem.Text.Normal),
            3);
  // Nothing hot yet; the down key makes the first item hot in the style's hot face.
  const TPoint face = FacePoint(open);
  EXPECT_EQ(shown.At(face.X, face.Y), style.Menu.Fill.Normal);
  EXPECT_EQ(selected.At(face.X, face.Y), style.MenuItem.Fill.Hot);
  // Printing the window gives what the screen shows.
  EXPECT_EQ(printed.Pixels, shown.Pixels);
}

TEST_P(PopupHookUnderStyle, MovingTheSelectionRepaintsTheItemsItLeavesAndReaches) {
  const TStyleDescription& style = TStyleScope::Style();
  TTestMenu menu;
  std::vector<TShot> shots;
  std::vector<int> painted;
  auto grab = [&](HWND M) {
    shots.push_back(Grab(M, false));
    painted.push_back(PopupHook(M) != nullptr ? PopupHook(M)->ActiveItemIndex() : -2);
  };
  // Down twice: the first item, then past the separator to the third.
  TMenuRun::Run(menu.Menu(), {TMenuRun::Down,
                                 [&](HWND M) {
                                   grab(M);
                                   TMenuRun::Down(M);
                                 },
                                 grab});
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(painted, (std::vector<int>{kOpen, kChecked}));
  const TPoint open = FacePoint(shots[0].Items[kOpen]), checked = FacePoint(shots[0].Items[kChecked]);
  EXPECT_EQ(shots[0].At(open.X, open.Y), style.MenuItem.Fill.Hot);
  EXPECT_EQ(shots[0].At(checked.X, checked.Y), style.Menu.Fill.Normal);
  EXPECT_EQ(shots[1].At(open.X, open.Y), style.Menu.Fill.Normal);
  EXPECT_EQ(shots[1].At(checked.X, checked.Y), style.MenuItem.Fill.Hot);
}

// Down four times reaches the disabled item: it shows the selection at alpha 50 over the
// menu's background, in either selection style.
TEST_P(PopupHookUnderStyle, AHotDisabledItemShowsTheSelectionFaintly) {
  TMenuSettingsRestore restore;
  const TStyleDescription& style = TStyleScope::Style();
  const TColor back = style.Menu.Fill.Normal;
  struct TCase {
    TkaMenuSelectionStyle Selection;
    TColor Fill;
  };
  const TCase cases[] = {{kamssStyled, style.MenuItem.Fill.Hot}, {kamssColor, TStyleScope::Sys(clHighlight)}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Selection == kamssColor ? "colour" : "styled");
    kaMenuSelectionStyle = c.Selection;
    TTestMenu menu;
    TShot shot;
    int painted = -2;
    auto down = [](HWND M) { TMenuRun::Down(M); };
    TMenuRun::Run(menu.Menu(), {down, down, down, down, [&](HWND M) {
                                  shot = Grab(M, false);
                                  painted = PopupHook(M) != nullptr ? PopupHook(M)->ActiveItemIndex() : -2;
                                }});
    ASSERT_EQ(painted, kDisabled);
    const TPoint p = FacePoint(shot.Items[kDisabled]);
    auto blend = [](int Over, int Under) { return (Over * 50 + Under * 205) / 255; };
    const TColor want = RGBColor(blend(GetRValue(c.Fill), GetRValue(back)), blend(GetGValue(c.Fill), GetGValue(back)),
                                 blend(GetBValue(c.Fill), GetBValue(back)));
    EXPECT_LE(Distance(shot.At(p.X, p.Y), want), 6);
    EXPECT_NE(shot.At(p.X, p.Y), back);
    EXPECT_GT(CountNear(shot, LabelRect(shot.Items[kDisabled]), style.MenuItem.Text.Disabled, 60), 3);
  }
}

// ---- Without a custom style ------------------------------------------------------------------

TEST(PopupHookWithSystemStyle, ThePlatformDrawsTheMenu) {
  ASSERT_FALSE(TStyleManager::IsCustomStyleActive());
  TTestMenu menu;
  TShot shown;
  bool hooked = true;
  TMenuRun::Run(menu.Menu(), {[&](HWND M) {
    hooked = TStyleManager::Engine().AttachedHook(M) != nullptr;
    shown = Grab(M, false);
  }});
  EXPECT_FALSE(hooked);
  ASSERT_FALSE(shown.Empty());
  const TPoint empty = EmptyPoint(shown.Items[kChecked]);
  const TColor background = shown.At(empty.X, empty.Y);
  EXPECT_EQ(background, MakeColor(::GetSysColor(COLOR_MENU)));
  for (const TStyleDescription* style : {&KarvoDarkStyle(), &KarvoLightStyle()})
    EXPECT_NE(background, style->Menu.Fill.Normal);
}

// ---- Settings --------------------------------------------------------------------------------

// One open menu, first drawn and then with its first item hot.
struct TSettingRun {
  TShot Shown, Selected;
  bool Layered = false;
  BYTE Alpha = 0;
};

TSettingRun RunWith(const std::function<void()>& Apply) {
  TMenuSettingsRestore restore;
  Apply();
  TTestMenu menu;
  TSettingRun run;
  TMenuRun::Run(menu.Menu(), {[&](HWND M) {
                                run.Shown = Grab(M, false);
                                run.Layered = (::GetWindowLongW(M, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
                                DWORD flags = 0;
                                ::GetLayeredWindowAttributes(M, nullptr, &run.Alpha, &flags);
                                TMenuRun::Down(M);
                              },
                              [&](HWND M) { run.Selected = Grab(M, false); }});
  return run;
}

TEST(PopupHookSettings, EachSettingChangesWhatIsDrawn) {
  TStyleScope scope(L"Karvo Light");
  const TStyleDescription& style = TStyleScope::Style();
  const TColor highlight = TStyleScope::Sys(clHighlight);
  struct TCase {
    const char* Name;
    std::function<void()> Apply;
    std::function<void(const TSettingRun&)> Check;
  };
  const TCase cases[] = {
      {"opaque at 255", [] { kaMenuAlphaBlendValue = 255; },
       [](const TSettingRun& R) { EXPECT_FALSE(R.Layered); }},
      {"translucent below 255", [] { kaMenuAlphaBlendValue = 200; },
       [](const TSettingRun& R) {
         EXPECT_TRUE(R.Layered);
         EXPECT_EQ(R.Alpha, 200);
       }},
      {"styled selection", [] { kaMenuSelectionStyle = kamssStyled; },
       [&](const TSettingRun& R) {
         const TPoint p = FacePoint(R.Selected.Items[kOpen]);
         EXPECT_EQ(R.Selected.At(p.X, p.Y), style.MenuItem.Fill.Hot);
       }},
      {"colour selection", [] { kaMenuSelectionStyle = kamssColor; },
       [&](const TSettingRun& R) {
         const TRect open = R.Selected.Items[kOpen];
         // The whole item, to its edges, and its text in the highlight's text colour.
         EXPECT_EQ(R.Selected.At(open.Left, open.Top), highlight);
         EXPECT_EQ(R.Selected.At(open.Right - 1, open.Bottom - 1), highlight);
         EXPECT_GT(CountNear(R.Selected, LabelRect(open), TStyleScope::Sys(clHighlightText), 60), 3);
       }},
      {"headers on", [] { kaMenuHeadersSupport = true; },
       [&](const TSettingRun& R) {
         const TPoint p = EmptyPoint(R.Shown.Items[kHeader]);
         EXPECT_EQ(R.Shown.At(p.X, p.Y), style.Header.Fill.Normal);
       }},
      {"headers off", [] { kaMenuHeadersSupport = false; },
       [&](const TSettingRun& R) {
         const TPoint p = EmptyPoint(R.Shown.Items[kHeader]);
         EXPECT_EQ(R.Shown.At(p.X, p.Y), style.Menu.Fill.Normal);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Check(RunWith(c.Apply));
  }
}

TEST(PopupHookSettings, ArrowsTypeChangesTheSubmenuArrow) {
  TStyleScope scope(L"Karvo Dark");
  const TColor text = TStyleScope::Style().MenuItem.Text.Normal;
  auto arrow = [&](bool Modern) {
    TSettingRun run = RunWith([Modern] { SetUseModernArrows(Modern); });
    const TRect more = run.Shown.Items[kMore];
    const TRect column(more.Right - 24, more.Top, more.Right, more.Bottom);
    std::vector<TColor> pixels;
    for (int y = column.Top; y < column.Bottom; ++y)
      for (int x = column.Left; x < column.Right; ++x) pixels.push_back(run.Shown.At(x, y));
    EXPECT_GT(CountNear(run.Shown, column, text), 4) << (Modern ? "modern" : "default");
    return pixels;
  };
  EXPECT_NE(arrow(false), arrow(true));
}

// ---- Resources -------------------------------------------------------------------------------

TEST(PopupHookResources, OpeningAndClosingLeavesNoHandlesBehind) {
  TStyleScope scope(L"Karvo Dark");
  TTestMenu menu;
  auto cycle = [&] { TMenuRun::Run(menu.Menu(), {TMenuRun::Down, [](HWND) {}}, 10); };
  cycle();  // caches of the first opening
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

}  // namespace
