// The hint window's reference sheet. Each hint is a real TkaHint shown by its window, painted
// into the sheet through its window procedure (PaintTo) and hidden again.
#include "tools/RefSheetHint.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/ImageList.h"
#include "framework/Themes.h"
#include "lib/kaHint/kaHint.h"
#include "tools/RefSheetKit.h"

namespace {

const TColor kBadge = static_cast<TColor>(0xC07000);
constexpr int kLabelWidth = 200;
constexpr int kGap = 24;
// Left edges of the four kinds' columns, wide enough for the hints at 144 DPI.
constexpr int kColumns[] = {kLabelWidth, 440, 700, 1000};

// An image list of one Size x Size picture: a blue disc with a white "i".
std::unique_ptr<TImageList, void (*)(TImageList*)> NewBadgeImages(int Size) {
  std::unique_ptr<TImageList, void (*)(TImageList*)> list(new TImageList(nullptr), [](TImageList* L) { L->Free(); });
  list->SetWidth(Size);
  list->SetHeight(Size);
  TBitmap picture(Size, Size);
  picture.SetPixelFormat(pf24bit);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect(0, 0, Size, Size));
  c->Brush()->SetColor(kBadge);
  c->Pen()->SetColor(kBadge);
  c->Ellipse(1, 1, Size - 1, Size - 1);
  c->Font()->SetName(L"Tahoma");
  c->Font()->SetHeight(-Size * 3 / 4);
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->Font()->SetColor(clWhite);
  c->Brush()->SetStyle(bsClear);
  TRect r(0, 0, Size, Size);
  c->TextRect(r, L"i", {tfCenter, tfVerticalCenter, tfSingleLine});
  list->AddMasked(&picture, clFuchsia);
  return list;
}

using TShow = std::function<void(TkaHint&, TCustomImageList*)>;

struct TKind {
  const wchar_t* Name;
  TShow Show;
};

const TPoint kShowAt(20, 20);

const TKind kKinds[] = {
    {L"plain", [](TkaHint& H, TCustomImageList*) { H.ActivateHint(kShowAt, L"Opens the settings page"); }},
    {L"two lines (@@)",
     [](TkaHint& H, TCustomImageList*) { H.ActivateHint(kShowAt, L"Saves the document@@Shortcut: Ctrl+S"); }},
    {L"title and text",
     [](TkaHint& H, TCustomImageList*) {
       H.ActivateHintEx(kShowAt, L"Backdrop", L"Blur or acrylic behind the window", -1, nullptr);
     }},
    {L"title, picture and text",
     [](TkaHint& H, TCustomImageList* Images) {
       H.ActivateHintEx(kShowAt, L"Windows11 UI", L"Rounded side menu@@and compact buttons", 0, Images);
     }},
};

// Shows the hint, paints it at (X, Y) of C and hides it; returns its size.
TSize PaintHint(TCanvas* C, int X, int Y, TkaHint& Hint, const TKind& Kind, TCustomImageList* Images) {
  Kind.Show(Hint, Images);
  TkaHintWindow* w = Hint.HintWindow();
  w->PaintTo(C->Handle(), X, Y);
  const TSize size{w->Width(), w->Height()};
  Hint.HideHint();
  return size;
}

// One row: a label and the four kinds side by side, the hints drawn in the style Style names
// (empty: the system style). Returns the row's height.
int PaintRow(TCanvas* C, int Y, const String& Label, TCustomImageList* Images, const String& Style = String()) {
  // The label in the sheet's own ink, before a custom style would change it.
  SheetLabel(C, 10, Y + 4, Label);
  if (!Style.empty()) {
    TStyleManager::SetStyle(Style);
    Application->ProcessMessages();
  }
  TkaHint hint(nullptr);
  int height = 0;
  for (int i = 0; i < 4; ++i) height = std::max(height, static_cast<int>(PaintHint(C, kColumns[i], Y, hint, kKinds[i], Images).cy));
  if (!Style.empty()) {
    TStyleManager::SetStyle(L"Windows");
    Application->ProcessMessages();
  }
  return height;
}

// The painting of a plain hint blended over a striped ground at each alpha of its fade-in.
int PaintFade(TCanvas* C, int Y) {
  SheetLabel(C, 10, Y, L"fade-in, AlphaBlendValue 200");
  SheetLabel(C, 10, Y + 16, L"(a step of 28 every 30 ms)");
  TkaHint hint(nullptr);
  hint.ActivateHint(kShowAt, L"Fading in");
  TkaHintWindow* w = hint.HintWindow();
  const int width = w->Width(), height = w->Height();
  TBitmap shot(width, height);
  w->PaintTo(shot.Canvas()->Handle(), 0, 0);
  hint.HideHint();
  int x = kLabelWidth;
  for (int alpha = 0, step = 0; step <= 8; ++step) {
    const TRect ground(x, Y, x + width + 16, Y + height + 16);
    for (int i = 0; i < ground.Width(); i += 8) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor((i / 8) % 2 ? static_cast<TColor>(0x9C6A3A) : static_cast<TColor>(0xE8C9A0));
      C->FillRect(TRect(ground.Left + i, ground.Top, std::min(ground.Right, ground.Left + i + 8), ground.Bottom));
    }
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::AlphaBlend(C->Handle(), x + 8, Y + 8, width, height, shot.Canvas()->Handle(), 0, 0, width, height, blend);
    SheetLabel(C, x, Y + height + 20, Format(L"%d", alpha));
    x += ground.Width() + 8;
    alpha = std::min(200, alpha + 200 / 7);
  }
  return height + 40;
}

}  // namespace

void PaintHintSheet(TCanvas* C) {
  // The hint takes its DPI from the active form's monitor.
  TCustomForm* form = NewSheetForm(TRect(600, 600, 700, 660), clWhite);
  form->Show();
  ::SetActiveWindow(form->Handle());
  Application->ProcessMessages();

  int y = 40;
  {
    auto images = NewBadgeImages(32);
    for (int i = 0; i < 4; ++i) SheetLabel(C, kColumns[i], y, kKinds[i].Name);
    y += 22;
    y += PaintRow(C, y, L"visual styles, 96 DPI", images.get()) + kGap;
    {
      TClassicControlsScope classic;
      y += PaintRow(C, y, L"classic", images.get()) + kGap;
    }
    for (const wchar_t* style : {L"Karvo Dark", L"Karvo Light"}) y += PaintRow(C, y, style, images.get(), style) + kGap;
  }
  {
    auto images = NewBadgeImages(48);
    TMonitor::SetPixelsPerInchOverride([](HMONITOR) { return 144; });
    y += PaintRow(C, y, L"visual styles, 144 DPI", images.get()) + kGap;
    TMonitor::SetPixelsPerInchOverride(nullptr);
  }
  PaintFade(C, y);
  form->Free();
  Application->ProcessMessages();
}
