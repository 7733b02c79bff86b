// The style manager's hooks under a custom style (the tooltip hooked and coloured by the
// style, taken off again with the system style), and switching styles at run time on a live
// window holding every kind of control: no GDI handle, window or object left behind over
// 200 switches, and every control repainted after each.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Forms.h"
#include "lib/kaAdvancedControls/kaAdvancedControls.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaControls/kaScrollBox.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaStyleManager/kaStyleManager.h"
#include "lib/kaStyleManager/kaSysStyleHooks.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/Handles.h"
#include "tests/support/StyleScope.h"
#include "tests/support/TestControls.h"

namespace {

struct TTip {
  HWND Owner = nullptr, Tip = nullptr;
  TTip() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    Owner = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 50, 50, 200, 100, nullptr, nullptr, nullptr, nullptr);
    Tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 60, 60, 160, 40, Owner,
                            nullptr, nullptr, nullptr);
  }
  ~TTip() {
    ::DestroyWindow(Tip);
    ::DestroyWindow(Owner);
  }
};

TEST(StyleManagerUnderCustomStyles, TooltipsAreHookedAndColouredByTheStyleAndLetGoAfter) {
  TTip before;
  for (const wchar_t* name : kKarvoStyles) {
    SCOPED_TRACE(ToUtf8(name));
    TStyleScope scope(name);
    TTip made;
    for (HWND tip : {before.Tip, made.Tip})
      EXPECT_NE(dynamic_cast<TkaSysTooltipsStyleHook*>(TStyleManager::Engine().AttachedHook(tip)), nullptr);
    const TStyleFace& face = TStyleScope::Style().ToolTip;
    const TkaTooltipColors colors = TooltipColors();
    EXPECT_EQ(colors.Frame, face.Border.Normal);
    EXPECT_EQ(colors.GradientTop, face.Fill.Normal);
    EXPECT_EQ(colors.Text, face.Text.Normal);
    // The hook paints the face itself.
    TMessage paint{WM_PAINT, 0, 0, 0};
    EXPECT_TRUE(static_cast<TkaSysStyleHook*>(TStyleManager::Engine().AttachedHook(made.Tip))->HandleMessage(paint));
  }
  EXPECT_EQ(TStyleManager::Engine().AttachedHook(before.Tip), nullptr);
  EXPECT_EQ(TooltipColors().Frame, MakeColor(0x00767676));
}

// USER objects of the process (windows, menus, cursors ...). Wine does not implement
// GetGuiResources; there its handles' low words alone find live windows and menus, so those
// are probed instead (the styles submenu of the styled form is a menu made per window).
int UserObjectCount() {
  ::SetLastError(0);
  DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  int count = 0;
  for (ULONG_PTR i = 1; i < 0x10000; ++i)
    if (::IsWindow(reinterpret_cast<HWND>(i)) || ::IsMenu(reinterpret_cast<HMENU>(i))) ++count;
  return count;
}

// A form with one control of every kind the library has, each counting the paint messages
// its window handles (whatever path its own painting takes from there).
template <class T>
class TCounted : public T {
 public:
  explicit TCounted(TComponent* AOwner) : T(AOwner) {}
  int Paints = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PAINT) ++Paints;
    T::WndProc(Message);
  }
};

struct TEveryControlForm {
  TCustomForm* Form = TCustomForm::CreateNew(nullptr);
  std::vector<std::function<int()>> PaintCounts;
  TTip Tip;

  template <class T>
  T* Add(TWinControl* Parent, int X, int Y, int W, int H) {
    auto* c = new TCounted<T>(Form);
    c->SetBounds(X, Y, W, H);
    c->SetParent(Parent);
    c->SetCaption(L"Text");
    PaintCounts.push_back([c] { return c->Paints; });
    return c;
  }

  TEveryControlForm() {
    Form->SetBounds(40, 40, 640, 420);
    auto* styled = Construct<TkaStyledForm>(Form);
    styled->SetShowStylesMenu(true);
    auto* panel = Add<TkaPanel>(Form, 0, 0, 320, 420);
    Add<TkaLabel>(panel, 10, 10, 100, 24);
    Add<TkaButton>(panel, 10, 40, 120, 32);
    Add<TkaCheckBox>(panel, 10, 80, 140, 24)->SetChecked(true);
    auto* box = Add<TkaScrollBox>(panel, 10, 110, 200, 120);
    Add<TkaButton>(box, 10, 10, 100, 30);
    Add<TkaAdvancedListBox>(panel, 10, 240, 200, 100)->Add(L"Item");
    Add<TkaAdvancedComboBox>(panel, 10, 350, 200, 30)->Add(L"Item");
    auto* gp = Add<TkaGPPanel>(Form, 320, 0, 320, 420);
    Add<TkaGPLabel>(gp, 10, 10, 120, 24);
    Add<TkaGPGlyphButton>(gp, 10, 40, 60, 40);
    Add<TkaGPGlyphContainerButton>(gp, 80, 40, 100, 40);
    Add<TkaGPToggleSwitch>(gp, 10, 100, 120, 30)->SetState(kaswOn);
    Form->Show();
    ::ShowWindow(Tip.Tip, SW_SHOWNOACTIVATE);
    PumpPending();
  }
  ~TEveryControlForm() {
    Form->Free();
    PumpPending();
  }
  bool AllPaintedSince(const std::vector<int>& Before) {
    for (size_t i = 0; i < PaintCounts.size(); ++i)
      if (PaintCounts[i]() <= Before[i]) return false;
    return true;
  }
  std::vector<int> Paints() {
    std::vector<int> v;
    for (auto& f : PaintCounts) v.push_back(f());
    return v;
  }
};

TEST(StyleManagerUnderCustomStyles, TwoHundredSwitchesOnALiveWindowLeaveNothingBehindAndRepaintAll) {
  TEveryControlForm scene;
  const wchar_t* const cycle[] = {L"Karvo Dark", L"Karvo Light", L"Windows", L"Karvo Light"};
  // One round first: caches that live as long as the controls (glow bitmaps, masks) are made.
  for (const wchar_t* name : cycle) TStyleManager::SetStyle(name);
  TStyleManager::SetStyle(L"Windows");
  PumpPending();
  const int gdi = GdiObjectCount(), user = UserObjectCount(), windows = ThreadWindowCount();
  const int alive = TObject::AliveCount();
  ASSERT_GT(user, 0);
  for (int i = 0; i < 200; ++i) {
    const std::vector<int> before = scene.Paints();
    TStyleManager::SetStyle(cycle[i % 4]);
    ASSERT_TRUE(PumpUntil([&] { return scene.AllPaintedSince(before); }, 3000)) << "switch " << i;
  }
  TStyleManager::SetStyle(L"Windows");
  PumpPending();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(TObject::AliveCount(), alive);
}

}  // namespace
