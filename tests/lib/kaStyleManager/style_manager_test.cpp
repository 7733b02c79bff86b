// The style manager: every published property against its process-wide value (set and read
// before any form exists, in and out of design mode), what destroying it resets, layouts,
// the arrow type read back by the arrow drawing; the system-window hooks registered in place
// of the platform's and staying out of the way with the system style; the menu and tooltip
// pieces they draw with.
#include <gtest/gtest.h>


#include <functional>
#include <memory>
#include <string>

#include "framework/Platform.h"
#include "framework/Forms.h"
#include "framework/Streaming.h"
#include "framework/Themes.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "lib/kaStyleManager/kaStyleManager.h"
#include "lib/kaStyleManager/kaSysStyleHooks.h"
#include "lib/kaStyledForm/kaStyledForm.h"
#include "tests/support/TestControls.h"

namespace {

// Puts every process-wide setting back as the test found it: other tests rely on the
// defaults.
class TSettingsRestore {
 public:
  TSettingsRestore()
      : FModern(UseModernArrows()),
        FImages(kaMenuImages),
        FAlpha(kaMenuAlphaBlendValue),
        FWallpaper(kaMenuWallpaperIndex),
        FBackground(kaMenuBackgroundIndex),
        FOverContent(kaMenuBackgroundOverContentIndex),
        FHeaders(kaMenuHeadersSupport),
        FSelection(kaMenuSelectionStyle),
        FScale{kaScaleStyles, kaScaleThemes, kaScaleResources, kaStyledFormScaleFormBorder, kaRTLMode,
               kaSystemShellDialogs} {}
  ~TSettingsRestore() {
    SetUseModernArrows(FModern);
    kaMenuImages = FImages;
    kaMenuAlphaBlendValue = FAlpha;
    kaMenuWallpaperIndex = FWallpaper;
    kaMenuBackgroundIndex = FBackground;
    kaMenuBackgroundOverContentIndex = FOverContent;
    kaMenuHeadersSupport = FHeaders;
    kaMenuSelectionStyle = FSelection;
    kaScaleStyles = FScale[0], kaScaleThemes = FScale[1], kaScaleResources = FScale[2];
    kaStyledFormScaleFormBorder = FScale[3], kaRTLMode = FScale[4], kaSystemShellDialogs = FScale[5];
  }
  TSettingsRestore(const TSettingsRestore&) = delete;
  TSettingsRestore& operator=(const TSettingsRestore&) = delete;

 private:
  bool FModern;
  TkaCustomImageCollection* FImages;
  uint8_t FAlpha;
  int FWallpaper, FBackground, FOverContent;
  bool FHeaders;
  TkaMenuSelectionStyle FSelection;
  bool FScale[6];
};

class TDesignableManager : public TkaStyleManager {
  KA_CLASS(TDesignableManager, TkaStyleManager)
 public:
  using TkaStyleManager::TkaStyleManager;
  void Design() { SetDesigning(true); }
};

// One property: a non-default value set through the component, and how the component and
// the process-wide variable read it back (as integers, for one table).
struct TSetting {
  const char* Name;
  bool MenuSetting;  // kept by the component, copied out only outside design mode
  int Default, Other;
  std::function<void(TkaStyleManager*, int)> Set;
  std::function<int(TkaStyleManager*)> Get;
  std::function<int()> Global;
};

const TSetting kSettings[] = {
    {"ArrowsType", false, kasatDefault, kasatModern,
     [](TkaStyleManager* M, int V) { M->SetArrowsType(static_cast<TkaStyleArrowType>(V)); },
     [](TkaStyleManager* M) { return int(M->ArrowsType()); }, [] { return int(UseModernArrows()); }},
    {"MenuAlphaBlendValue", true, 255, 200,
     [](TkaStyleManager* M, int V) { M->SetMenuAlphaBlendValue(static_cast<uint8_t>(V)); },
     [](TkaStyleManager* M) { return int(M->MenuAlphaBlendValue()); }, [] { return int(kaMenuAlphaBlendValue); }},
    {"MenuWallpaperIndex", true, -1, 3, [](TkaStyleManager* M, int V) { M->SetMenuWallpaperIndex(V); },
     [](TkaStyleManager* M) { return M->MenuWallpaperIndex(); }, [] { return kaMenuWallpaperIndex; }},
    {"MenuBackgroundIndex", true, -1, 4, [](TkaStyleManager* M, int V) { M->SetMenuBackgroundIndex(V); },
     [](TkaStyleManager* M) { return M->MenuBackgroundIndex(); }, [] { return kaMenuBackgroundIndex; }},
    {"MenuBackgroundOverContentIndex", true, -1, 5,
     [](TkaStyleManager* M, int V) { M->SetMenuBackgroundOverContentIndex(V); },
     [](TkaStyleManager* M) { return M->MenuBackgroundOverContentIndex(); },
     [] { return kaMenuBackgroundOverContentIndex; }},
    {"MenuHeadersSupport", true, 1, 0, [](TkaStyleManager* M, int V) { M->SetMenuHeadersSupport(V != 0); },
     [](TkaStyleManager* M) { return int(M->MenuHeadersSupport()); }, [] { return int(kaMenuHeadersSupport); }},
    {"MenuSelectionStyle", true, kamssStyled, kamssColor,
     [](TkaStyleManager* M, int V) { M->SetMenuSelectionStyle(static_cast<TkaMenuSelectionStyle>(V)); },
     [](TkaStyleManager* M) { return int(M->MenuSelectionStyle()); }, [] { return int(kaMenuSelectionStyle); }},
    {"ScaleStyles", false, 1, 0, [](TkaStyleManager* M, int V) { M->SetScaleStyles(V != 0); },
     [](TkaStyleManager* M) { return int(M->ScaleStyles()); }, [] { return int(kaScaleStyles); }},
    {"ScaleThemes", false, 0, 1, [](TkaStyleManager* M, int V) { M->SetScaleThemes(V != 0); },
     [](TkaStyleManager* M) { return int(M->ScaleThemes()); }, [] { return int(kaScaleThemes); }},
    {"ScaleResources", false, 1, 0, [](TkaStyleManager* M, int V) { M->SetScaleResources(V != 0); },
     [](TkaStyleManager* M) { return int(M->ScaleResources()); }, [] { return int(kaScaleResources); }},
    {"ScaleFormBorder", false, 1, 0, [](TkaStyleManager* M, int V) { M->SetScaleFormBorder(V != 0); },
     [](TkaStyleManager* M) { return int(M->ScaleFormBorder()); }, [] { return int(kaStyledFormScaleFormBorder); }},
    {"RTLMode", false, 0, 1, [](TkaStyleManager* M, int V) { M->SetRTLMode(V != 0); },
     [](TkaStyleManager* M) { return int(M->RTLMode()); }, [] { return int(kaRTLMode); }},
    {"SystemShellDialogs", false, 0, 1, [](TkaStyleManager* M, int V) { M->SetSystemShellDialogs(V != 0); },
     [](TkaStyleManager* M) { return int(M->SystemShellDialogs()); }, [] { return int(kaSystemShellDialogs); }},
};

// ---- Settings -------------------------------------------------------------------------------

TEST(StyleManagerSettings, EachPropertySetsItsProcessWideValueAtOnceBeforeAnyFormExists) {
  ASSERT_EQ(Screen->FormCount(), 0);
  TSettingsRestore restore;
  TkaStyleManager manager(nullptr);
  EXPECT_TRUE(manager.MenuHookEnabled());
  EXPECT_EQ(manager.MenuImages(), nullptr);
  for (const TSetting& s : kSettings) {
    SCOPED_TRACE(s.Name);
    EXPECT_EQ(s.Get(&manager), s.Default);
    EXPECT_EQ(s.Global(), s.Default);
    s.Set(&manager, s.Other);
    EXPECT_EQ(s.Get(&manager), s.Other);
    EXPECT_EQ(s.Global(), s.Other);
  }
  // A second manager shows the shared values; the menu settings are each component's own.
  TkaStyleManager second(nullptr);
  for (const TSetting& s : kSettings) {
    SCOPED_TRACE(s.Name);
    EXPECT_EQ(s.Get(&second), s.MenuSetting ? s.Default : s.Other);
  }
  manager.SetMenuHookEnabled(false);
  EXPECT_FALSE(manager.MenuHookEnabled());
  // Values outside the enumerations are refused.
  manager.SetArrowsType(static_cast<TkaStyleArrowType>(9));
  manager.SetMenuSelectionStyle(static_cast<TkaMenuSelectionStyle>(9));
  EXPECT_EQ(manager.ArrowsType(), kasatModern);
  EXPECT_EQ(manager.MenuSelectionStyle(), kamssColor);
}

TEST(StyleManagerSettings, WhileDesigningOnlyTheSharedValuesChange) {
  TSettingsRestore restore;
  TDesignableManager manager(nullptr);
  manager.Design();
  for (const TSetting& s : kSettings) {
    SCOPED_TRACE(s.Name);
    s.Set(&manager, s.Other);
    EXPECT_EQ(s.Get(&manager), s.Other);
    EXPECT_EQ(s.Global(), s.MenuSetting ? s.Default : s.Other);
  }
}

TEST(StyleManagerSettings, DestroyingResetsTheMenuPicturesAndHeadersButNotOpacityOrSelection) {
  TSettingsRestore restore;
  TkaImageCollection pictures(nullptr);
  {
    TkaStyleManager manager(nullptr);
    manager.SetMenuImages(&pictures);
    EXPECT_EQ(kaMenuImages, &pictures);
    for (const TSetting& s : kSettings) s.Set(&manager, s.Other);
  }
  EXPECT_EQ(kaMenuImages, nullptr);
  EXPECT_EQ(kaMenuWallpaperIndex, -1);
  EXPECT_EQ(kaMenuBackgroundIndex, -1);
  EXPECT_EQ(kaMenuBackgroundOverContentIndex, -1);
  EXPECT_TRUE(kaMenuHeadersSupport);
  EXPECT_EQ(kaMenuAlphaBlendValue, 200);
  EXPECT_EQ(kaMenuSelectionStyle, kamssColor);
  EXPECT_TRUE(UseModernArrows());
  EXPECT_FALSE(kaStyledFormScaleFormBorder);
  // A designing manager leaves the process's values alone when it goes.
  kaMenuWallpaperIndex = 7;
  { TDesignableManager(nullptr).Design(); }
  EXPECT_EQ(kaMenuWallpaperIndex, 7);
}

TEST(StyleManagerSettings, AFreedMenuImageCollectionIsForgotten) {
  TSettingsRestore restore;
  TkaStyleManager manager(nullptr);
  auto* pictures = new TkaImageCollection(nullptr);
  manager.SetMenuImages(pictures);
  pictures->Free();
  EXPECT_EQ(manager.MenuImages(), nullptr);
  EXPECT_EQ(kaMenuImages, nullptr);
}

TEST(StyleManagerSettings, TheDemosManagerIsReadFromALayout) {
  TSettingsRestore restore;
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  ReadLayout(form, R"(object Form1: TCustomForm
  object MenuPictures: TkaImageCollection
  end
  object kaStyleManager1: TkaStyleManager
    ArrowsType = kasatModern
    MenuHookEnabled = False
    MenuAlphaBlendValue = 230
    MenuImages = MenuPictures
    MenuWallpaperIndex = 1
    MenuBackgroundIndex = 2
    MenuBackgroundOverContentIndex = 3
    MenuHeadersSupport = False
    MenuSelectionStyle = kamssColor
    ScaleStyles = False
    ScaleThemes = True
    ScaleResources = False
    ScaleFormBorder = False
    RTLMode = True
    SystemShellDialogs = True
  end
end
)",
             L"style manager layout");
  auto* manager = dynamic_cast<TkaStyleManager*>(form->FindComponent(L"kaStyleManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_FALSE(manager->MenuHookEnabled());
  EXPECT_EQ(kaMenuImages, form->FindComponent(L"MenuPictures"));
  EXPECT_TRUE(UseModernArrows());
  EXPECT_EQ(kaMenuAlphaBlendValue, 230);
  EXPECT_EQ(kaMenuWallpaperIndex, 1);
  EXPECT_EQ(kaMenuBackgroundIndex, 2);
  EXPECT_EQ(kaMenuBackgroundOverContentIndex, 3);
  EXPECT_FALSE(kaMenuHeadersSupport);
  EXPECT_EQ(kaMenuSelectionStyle, kamssColor);
  EXPECT_FALSE(kaScaleStyles);
  EXPECT_TRUE(kaScaleThemes);
  EXPECT_FALSE(kaScaleResources);
  EXPECT_FALSE(kaStyledFormScaleFormBorder);
  EXPECT_TRUE(kaRTLMode);
  EXPECT_TRUE(kaSystemShellDialogs);
  form->Free();
  EXPECT_EQ(kaMenuImages, nullptr);
}

// ---- Arrows ---------------------------------------------------------------------------------

// The pixels a glyph routine sets in a 40 x 40 white cell.
std::unique_ptr<TBitmap> Glyph(const std::function<void(TCanvas*, const TRect&)>& Draw) {
  auto b = std::make_unique<TBitmap>(40, 40);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(TRect(0, 0, 40, 40));
  Draw(b->Canvas(), TRect(0, 0, 40, 40));
  return b;
}

bool SamePixels(TBitmap* A, TBitmap* B) {
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (A->Canvas()->Pixel(x, y) != B->Canvas()->Pixel(x, y)) return false;
  return true;
}

TEST(StyleManagerArrows, ArrowsTypeSwitchesTheSubmenuArrowShape) {
  TSettingsRestore restore;
  TkaStyleManager manager(nullptr);
  struct TCase {
    TkaStyleArrowType Type;
    double Scale;
    bool RightToLeft;
    std::function<void(TCanvas*, const TRect&)> Want;
  };
  const TCase cases[] = {
      {kasatDefault, 1, false, [](TCanvas* C, const TRect& R) { DrawMenuArrow(C, R, clBlack, 1, kaArrowRight); }},
      {kasatDefault, 1.5, true, [](TCanvas* C, const TRect& R) { DrawMenuArrow(C, R, clBlack, 1.5, kaArrowLeft); }},
      {kasatModern, 1, false,
       [](TCanvas* C, const TRect& R) { DrawChevronArrow(C, R, clBlack, 1, kaChevronRight); }},
      {kasatModern, 1, true, [](TCanvas* C, const TRect& R) { DrawChevronArrow(C, R, clBlack, 1, kaChevronLeft); }},
      // A step smaller from 125 % up.
      {kasatModern, 1.25, false,
       [](TCanvas* C, const TRect& R) { DrawChevronArrow(C, R, clBlack, 1.1, kaChevronRight); }},
      {kasatModern, 2, false,
       [](TCanvas* C, const TRect& R) { DrawChevronArrow(C, R, clBlack, 1.7, kaChevronRight); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Type) + " at " + std::to_string(c.Scale));
    manager.SetArrowsType(c.Type);
    auto got = Glyph([&](TCanvas* C, const TRect& R) { DrawSubmenuArrow(C, R, clBlack, c.Scale, c.RightToLeft); });
    auto want = Glyph(c.Want);
    EXPECT_TRUE(SamePixels(got.get(), want.get()));
  }
  // The two looks really differ.
  manager.SetArrowsType(kasatDefault);
  auto triangle = Glyph([](TCanvas* C, const TRect& R) { DrawSubmenuArrow(C, R, clBlack, 1, false); });
  manager.SetArrowsType(kasatModern);
  auto chevron = Glyph([](TCanvas* C, const TRect& R) { DrawSubmenuArrow(C, R, clBlack, 1, false); });
  EXPECT_FALSE(SamePixels(triangle.get(), chevron.get()));
}

// ---- Hooks ----------------------------------------------------------------------------------

// A tooltip window with one tool over a plain window, shown and sized.
struct TTooltipScene {
  HWND Owner = nullptr;
  HWND Tip = nullptr;
  TTooltipScene() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    Owner = ::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    Tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 60, 60, 160, 40, Owner,
                            nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = Owner;
    tool.uId = reinterpret_cast<UINT_PTR>(Owner);
    wchar_t text[] = L"Tooltip text";
    tool.lpszText = text;
    ::SendMessageW(Tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A tracking tool is the current one as soon as it is shown.
    ::SendMessageW(Tip, TTM_TRACKPOSITION, 0, MAKELPARAM(60, 60));
    ::SendMessageW(Tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  }
  ~TTooltipScene() {
    ::DestroyWindow(Tip);
    ::DestroyWindow(Owner);
  }
};

bool IsLayered(HWND W) { return (::GetWindowLongW(W, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

TEST(StyleManagerHooks, RegisteredInPlaceOfThePlatformsForMenusAndTooltips) {
  TStyleEngine& engine = TStyleManager::Engine();
  EXPECT_EQ(engine.FindStyleHook(L"#32768").Name(), L"TkaSysPopupStyleHook");
  EXPECT_EQ(engine.FindStyleHook(L"TOOLTIPS_CLASS32").Name(), L"TkaSysTooltipsStyleHook");
  TTooltipScene scene;
  TkaSysWindow window(scene.Tip);
  std::unique_ptr<TObject, void (*)(TObject*)> popup(engine.FindStyleHook(L"#32768").Create(&window),
                                                     [](TObject* O) { O->Free(); });
  std::unique_ptr<TObject, void (*)(TObject*)> tooltip(engine.FindStyleHook(L"tooltips_class32").Create(&window),
                                                       [](TObject* O) { O->Free(); });
  ASSERT_NE(dynamic_cast<TkaSysPopupStyleHook*>(popup.get()), nullptr);
  ASSERT_NE(dynamic_cast<TkaSysTooltipsStyleHook*>(tooltip.get()), nullptr);
  EXPECT_EQ(static_cast<TkaSysStyleHook*>(tooltip.get())->Handle(), scene.Tip);
  // Only system windows are hooked by these.
  TComponent other(nullptr);
  EXPECT_EQ(engine.FindStyleHook(L"#32768").Create(&other), nullptr);
}

// Stand-ins for hooks the platform had registered before the unit started.
class TPlatformMenuHook : public TObject {
  KA_CLASS(TPlatformMenuHook, TObject)
 public:
  explicit TPlatformMenuHook(TObject*) {}
};
class TPlatformStaticHook : public TObject {
  KA_CLASS(TPlatformStaticHook, TObject)
 public:
  explicit TPlatformStaticHook(TObject*) {}
};

TEST(StyleManagerHooks, TheUnitsEndPutsThePlatformsHooksBackAndStaticControlsKeepTheirs) {
  TStyleEngine& engine = TStyleManager::Engine();
  const auto platformMenu = TStyleHookClass::Of<TPlatformMenuHook>();
  const auto platformStatic = TStyleHookClass::Of<TPlatformStaticHook>();
  // As if the unit started after the platform's registrations.
  RestoreSysStyleHooks();
  EXPECT_FALSE(engine.FindStyleHook(L"#32768"));
  engine.RegisterStyleHook(L"#32768", platformMenu);
  engine.RegisterStyleHook(L"Static", platformStatic);
  RegisterSysStyleHooks();
  EXPECT_EQ(engine.FindStyleHook(L"#32768").Name(), L"TkaSysPopupStyleHook");
  EXPECT_EQ(engine.FindStyleHook(L"Static").Name(), L"TPlatformStaticHook");
  RestoreSysStyleHooks();
  EXPECT_EQ(engine.FindStyleHook(L"#32768").Name(), L"TPlatformMenuHook");
  EXPECT_FALSE(engine.FindStyleHook(L"tooltips_class32"));
  // Back to how the program started.
  engine.UnRegisterStyleHook(L"#32768", platformMenu);
  engine.UnRegisterStyleHook(L"Static", platformStatic);
  RegisterSysStyleHooks();
  EXPECT_EQ(engine.FindStyleHook(L"tooltips_class32").Name(), L"TkaSysTooltipsStyleHook");
}

TEST(StyleManagerHooks, WithTheSystemStyleTheyLeaveEveryMessageToThePlatform) {
  ASSERT_FALSE(TStyleManager::IsCustomStyleActive());
  TSettingsRestore restore;
  TkaStyleManager manager(nullptr);
  manager.SetMenuAlphaBlendValue(200);
  TTooltipScene scene;
  TkaSysWindow window(scene.Tip);
  TkaSysPopupStyleHook popup(&window);
  TkaSysTooltipsStyleHook tooltip(&window);
  const UINT messages[] = {WM_PAINT, WM_ERASEBKGND, WM_KEYDOWN, WM_MOUSEMOVE, WM_PRINTCLIENT,
                           TkaSysPopupStyleHook::kMenuFirstPaint};
  for (UINT msg : messages) {
    TMessage m{msg, VK_DOWN, 0, 0};
    EXPECT_FALSE(popup.HandleMessage(m)) << msg;
    EXPECT_FALSE(tooltip.HandleMessage(m)) << msg;
  }
  // No opacity was applied to the window.
  EXPECT_FALSE(IsLayered(scene.Tip));
  EXPECT_FALSE(popup.AlphaBlend());
}

// ---- What the hooks draw with ---------------------------------------------------------------

TEST(StyleManagerMenus, OpacityMakesTheMenuLayeredOnlyBelow255) {
  TSettingsRestore restore;
  TkaStyleManager manager(nullptr);
  TTooltipScene scene;  // any popup window will do
  manager.SetMenuAlphaBlendValue(255);
  EXPECT_FALSE(ApplyMenuOpacity(scene.Owner));
  EXPECT_FALSE(IsLayered(scene.Owner));
  manager.SetMenuAlphaBlendValue(200);
  EXPECT_TRUE(ApplyMenuOpacity(scene.Owner));
  EXPECT_TRUE(IsLayered(scene.Owner));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(scene.Owner, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_NE(flags & LWA_ALPHA, 0u);
  EXPECT_FALSE(ApplyMenuOpacity(nullptr));
}

TEST(StyleManagerMenus, HeaderItemsAreDisabledCaptionsBetweenMinusSigns) {
  TSettingsRestore restore;
  struct TCase {
    const wchar_t* Caption;
    bool Disabled, Headers, IsHeader;
    const wchar_t* Header;
  };
  const TCase cases[] = {
      {L"-Word-", true, true, true, L"Word"},     {L"-&File-", true, true, true, L"File"},
      {L"-A&&B-", true, true, true, L"A&B"},       {L"--", true, true, true, L""},
      {L"-Word-", false, true, false, L""},       {L"-Word-", true, false, false, L""},
      {L"-", true, true, false, L""},             {L"-Word", true, true, false, L""},
      {L"Word-", true, true, false, L""},         {L"", true, true, false, L""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.Caption)) + (c.Headers ? " headers" : ""));
    kaMenuHeadersSupport = c.Headers;
    String header;
    EXPECT_EQ(MenuHeaderText(c.Caption, c.Disabled, header), c.IsHeader);
    if (c.IsHeader) {
      EXPECT_EQ(header, c.Header);
    }
  }
}

TEST(StyleManagerMenus, ItemsAnswerTheirMenusStates) {
  HMENU menu = ::CreatePopupMenu();
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenuW(sub, MF_STRING, 10, L"Inner");
  ::AppendMenuW(menu, MF_STRING | MF_CHECKED, 1, L"&Checked");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 2, L"-Header-");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
  ::AppendMenuW(menu, MF_STRING, 3, L"Radio");
  MENUITEMINFOW radio{sizeof(radio), MIIM_FTYPE | MIIM_STATE, MFT_STRING | MFT_RADIOCHECK, MFS_CHECKED};
  ::SetMenuItemInfoW(menu, 4, TRUE, &radio);
  ::SetMenuDefaultItem(menu, 0, TRUE);
  TBitmap picture(8, 8);
  MENUITEMINFOW withBitmap{};
  withBitmap.cbSize = sizeof(withBitmap);
  withBitmap.fMask = MIIM_BITMAP;
  withBitmap.hbmpItem = picture.Handle();
  ::SetMenuItemInfoW(menu, 3, TRUE, &withBitmap);

  const TkaSysPopupItem checked(menu, 0, nullptr), line(menu, 1, nullptr), header(menu, 2, nullptr),
      more(menu, 3, nullptr), radioItem(menu, 4, nullptr), missing(menu, 9, nullptr);
  EXPECT_EQ(checked.Text(), L"&Checked");
  EXPECT_TRUE(checked.Checked());
  EXPECT_TRUE(checked.DefaultItem());
  EXPECT_FALSE(checked.RadioCheck());
  EXPECT_TRUE(line.Separator());
  EXPECT_FALSE(checked.Separator());
  EXPECT_TRUE(header.Disabled());
  EXPECT_EQ(header.Text(), L"-Header-");
  EXPECT_TRUE(more.HasSubMenu());
  EXPECT_FALSE(radioItem.HasSubMenu());
  EXPECT_EQ(more.Bitmap(), picture.Handle());
  EXPECT_TRUE(radioItem.RadioCheck());
  EXPECT_TRUE(radioItem.Checked());
  // An item that is not there answers nothing.
  EXPECT_EQ(missing.Text(), L"");
  EXPECT_FALSE(missing.Disabled() || missing.Checked() || missing.Separator() || missing.HasSubMenu());
  EXPECT_TRUE(missing.ItemRect().IsEmpty());
  ::DestroyMenu(menu);
}

TEST(StyleManagerTooltips, FaceIsAGradientWithAFrameAndTheToolsText) {
  const TkaTooltipColors colors = TooltipColors();
  EXPECT_EQ(colors.Frame, MakeColor(0x767676));
  EXPECT_EQ(colors.GradientTop, MakeColor(0xFFFFFF));
  EXPECT_EQ(colors.GradientBottom, MakeColor(0xEFE4E3));
  EXPECT_EQ(colors.Text, MakeColor(0x575757));
  TTooltipScene scene;
  RECT client{};
  ::GetClientRect(scene.Tip, &client);
  ASSERT_GT(client.right, 20);
  ASSERT_GT(client.bottom, 10);
  TBitmap face(client.right, client.bottom);
  PaintTooltip(scene.Tip, face.Canvas()->Handle());
  auto px = [&](int X, int Y) { return face.Canvas()->Pixel(X, Y); };
  const int w = client.right, h = client.bottom;
  for (const TPoint& p : {TPoint(0, 0), TPoint(w - 1, h / 2), TPoint(w / 2, h - 1), TPoint(0, h - 1)})
    EXPECT_EQ(px(p.X, p.Y), MakeColor(0x767676)) << p.X << ", " << p.Y;
  // Top white, bottom the light blue-grey, the text in dark grey somewhere between.
  const TColor top = px(w - 3, 1);
  EXPECT_GE(GetRValue(top), 0xFC);
  EXPECT_GE(GetBValue(top), 0xFC);
  const TColor bottom = px(w - 3, h - 2);
  EXPECT_NEAR(GetRValue(bottom), 0xE3, 8);
  EXPECT_NEAR(GetBValue(bottom), 0xEF, 8);
  int dark = 0;
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) dark += GetRValue(px(x, y)) < 0x90;
  EXPECT_GT(dark, 15);
}

}  // namespace
