#include "app/gallery/GalleryForm.h"

#include <string>

#include "app/gallery/GalleryPages.h"
#include "framework/Themes.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/Composition.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPSizeBox.h"
#include "lib/kaGPPagers/kaGPPagers.h"
#include "lib/kaStyledForm/kaStyledForm.h"

TGalleryForm* GalleryForm = nullptr;

namespace {

struct TPageEntry {
  const wchar_t* Caption;
  const wchar_t* Name;
  void (*Build)(TGalleryPageSite&);
};

const TPageEntry kPages[GalleryPageCount] = {
    {L"Buttons", L"buttons", BuildButtonsPage},
    {L"Glyphs", L"glyphs", BuildGlyphsPage},
    {L"Panels and labels", L"panels", BuildPanelsPage},
    {L"Switches", L"switches", BuildSwitchesPage},
    {L"List and combo", L"lists", BuildListsPage},
    {L"Images", L"images", BuildImagesPage},
    {L"Page control", L"pagecontrol", BuildPageControlPage},
    {L"Gallery menu", L"gallerymenu", BuildGalleryMenuPage},
    {L"Hints", L"hints", BuildHintsPage},
    {L"Animations", L"animations", BuildAnimationsPage},
};

// Row 0 is whatever the system draws; the others are the project's own styles.
const wchar_t* const kStyleNames[GalleryStyleCount] = {nullptr, L"Karvo Dark", L"Karvo Light"};
const int kScalePpis[GalleryScaleCount] = {96, 120, 144, 192};

}  // namespace

const wchar_t* GalleryPageCaption(TGalleryPage Page) { return kPages[static_cast<int>(Page)].Caption; }
const wchar_t* GalleryPageName(TGalleryPage Page) { return kPages[static_cast<int>(Page)].Name; }
int GalleryScalePpi(int Index) { return kScalePpis[Index]; }

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner), FShared(std::make_unique<TGalleryShared>()) {}

TGalleryForm::~TGalleryForm() {
  if (GalleryForm == this) GalleryForm = nullptr;
  if (FScaleOverridden) TMonitor::SetPixelsPerInchOverride(nullptr);
}

// ---- Caption bar ------------------------------------------------------------------------------

// A maximised window is torn off by the styled form once the pointer moves; a restored one is
// dragged by the label itself. The second press of a double click must not start a drag.
void TGalleryForm::CaptionLabelMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int, int) {
  if (Button == mbLeft && !Shift.Contains(ssDouble) && kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientStartDrag();
}

void TGalleryForm::CaptionLabelMouseMove(TObject*, TShiftState, int, int) {
  if (!kaStyledForm1->IsDWMClientMaximized() || !kaStyledForm1->IsDWMClientDragging()) return;
  kaStyledForm1->DWMClientDrag();
  // The tear-off restores without going through DWMClientRestore, so no restore event.
  if (!kaStyledForm1->IsDWMClientMaximized()) kaStyledForm1DWMClientRestore(kaStyledForm1);
}

void TGalleryForm::CaptionLabelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  kaStyledForm1->DWMClientEndDrag();
}

void TGalleryForm::CaptionLabelDblClick(TObject*) { ToggleMaximized(); }
void TGalleryForm::MaxButtonClick(TObject*) { ToggleMaximized(); }
void TGalleryForm::CloseButtonClick(TObject*) { Close(); }
void TGalleryForm::MinButtonClick(TObject*) { Application->Minimize(); }

void TGalleryForm::ToggleMaximized() {
  if (kaStyledForm1->IsDWMClientMaximized())
    kaStyledForm1->DWMClientRestore();
  else
    kaStyledForm1->DWMClientMaximize();
}

// ---- Styled form ------------------------------------------------------------------------------

void TGalleryForm::kaStyledForm1DWMClientMaximize(TObject*) {
  MaxButton->GlyphOptions()->SetKind(kagpbgkRestore);
  kaGPSizeBox1->SetVisible(false);
  BorderPanel->SetSizeable(false);
}

void TGalleryForm::kaStyledForm1DWMClientRestore(TObject*) {
  MaxButton->GlyphOptions()->SetKind(kagpbgkMaximize);
  kaGPSizeBox1->SetVisible(true);
  BorderPanel->SetSizeable(true);
}

void TGalleryForm::kaStyledForm1ChangeActive(TObject*) {
  const bool active = Active();
  CaptionLabel->Font()->SetColor(active ? clBtnText : TColor(0x00808080));
  BorderPanel->SetFrameColorAlpha(active ? 255 : 90);
}

// The old minimum would fight the new scale while the window is re-sized for it.
void TGalleryForm::kaStyledForm1BeforeChangeScale(TObject*) {
  Constraints()->SetMinWidth(0);
  Constraints()->SetMinHeight(0);
}

void TGalleryForm::kaStyledForm1ChangeScale(double) {
  if (kaStyledForm1 == nullptr) return;
  Constraints()->SetMinWidth(kaStyledForm1->ScaleInt(760));
  Constraints()->SetMinHeight(kaStyledForm1->ScaleInt(480));
  // A move to another monitor changes the scale too: the chooser follows (not while the
  // layout is still being read).
  if (StatusLabel == nullptr || ScaleComboBox == nullptr) return;
  ShowChoices();
  ShowStatus();
}

// ---- Start ------------------------------------------------------------------------------------

void TGalleryForm::FormCreate(TObject*) {
  MakeGalleryShared(this, *FShared);
  PageControl->Tabs()->BeginUpdate();
  for (const TPageEntry& entry : kPages) {
    TkaGPPageControlTab* tab = PageControl->Tabs()->Add();
    tab->SetCaption(entry.Caption);
    tab->SetShowCloseButton(false);
    TGalleryPageSite site{this, tab->Page(), *FShared};
    entry.Build(site);
  }
  PageControl->Tabs()->EndUpdate();
  PageControl->SetTabIndex(0);
  // Without a compositor there is nothing to choose: the window stays opaque.
  BackdropComboBox->SetEnabled(kaStyledForm1->IsFluentUIAvailable());
  ShowChoices();
  ShowStatus();
}

// The choosers start at what the window has now (a style chosen before, the monitor's
// scale), without choosing it again.
void TGalleryForm::ShowChoices() {
  int style = 0;
  for (int i = 1; i < GalleryStyleCount; ++i)
    if (TStyleManager::ActiveStyle()->Name() == kStyleNames[i]) style = i;
  StyleComboBox->InitItemIndex(style);
  int scale = -1;
  for (int i = 0; i < GalleryScaleCount; ++i)
    if (kScalePpis[i] == PixelsPerInch()) scale = i;
  ScaleComboBox->InitItemIndex(scale);
  BackdropComboBox->InitItemIndex(static_cast<int>(kaStyledForm1->FluentUIBackground()));
}

TGalleryPage TGalleryForm::Page() const { return static_cast<TGalleryPage>(PageControl->TabIndex()); }

void TGalleryForm::ShowPage(TGalleryPage Page) { PageControl->SetTabIndex(static_cast<int>(Page)); }

void TGalleryForm::ShowPageSample(TGalleryPage Page) {
  if (const auto& show = FShared->ShowSample[static_cast<int>(Page)]) show();
}

void TGalleryForm::HidePageSample(TGalleryPage Page) {
  if (const auto& hide = FShared->HideSample[static_cast<int>(Page)]) hide();
}

void TGalleryForm::PageControlChangePage(TObject*) {
  if (StatusLabel != nullptr) ShowStatus();
}

void TGalleryForm::ShowStatus() {
  const int tab = PageControl->TabIndex();
  String text = tab >= 0 && tab < GalleryPageCount ? String(kPages[tab].Caption) : String();
  text += L"  \x2022  " + String(TStyleManager::ActiveStyle()->Name());
  text += L"  \x2022  " + std::to_wstring(PixelsPerInch() * 100 / 96) + L" %";
  StatusLabel->SetCaption(text);
}

// ---- Choosers ---------------------------------------------------------------------------------

void TGalleryForm::StyleComboBoxChange(TObject*) {
  const int row = StyleComboBox->ItemIndex();
  if (row < 0 || row >= GalleryStyleCount) return;
  TStyleManager::SetStyle(kStyleNames[row] != nullptr ? String(kStyleNames[row]) : String(L"Windows"));
  ShowStatus();
}

// The rows are the backdrop kinds in order; the styled form re-creates the window for one.
void TGalleryForm::BackdropComboBoxChange(TObject*) {
  const int row = BackdropComboBox->ItemIndex();
  if (!kaStyledForm1->IsFluentUIAvailable() || row < kafuibNone || row > kafuibAcrylicBlurAuto) return;
  kaStyledForm1->SetFluentUIBackground(static_cast<TkaFluentUIBackground>(row));
  ApplyBackdropLook(kaStyledForm1->IsFluentUIEnabled());
}

// Over a backdrop the frame lets the compositor's material through; without one the window
// is the style's opaque surface again (the styled form had made the form black).
void TGalleryForm::ApplyBackdropLook(bool Translucent) {
  for (TkaGPPanel* panel : {BorderPanel, CaptionPanel, ChooserPanel, StatusPanel}) {
    panel->SetFillColorAlpha(Translucent ? 120 : 255);
    panel->SetDrawTextMode(Translucent ? kadtmGDIPlus : kadtmGDI);
  }
  if (!Translucent) SetColor(GetStyleSystemColor(clBtnFace));
}

// The monitor is made to report the chosen DPI, and the window hears what Windows sends when
// it moves to a monitor of that DPI: the per-monitor path every control scales through.
void TGalleryForm::ScaleComboBoxChange(TObject*) {
  const int row = ScaleComboBox->ItemIndex();
  if (row < 0 || row >= GalleryScaleCount || !HandleAllocated()) return;
  const int ppi = kScalePpis[row], old = PixelsPerInch();
  if (ppi == old) return;
  TMonitor::SetPixelsPerInchOverride([ppi](HMONITOR) { return ppi; });
  FScaleOverridden = true;
  RECT r;
  ::GetWindowRect(Handle(), &r);
  RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, ppi, old),
                 r.top + ::MulDiv(r.bottom - r.top, ppi, old)};
  ::SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(ppi, ppi), reinterpret_cast<LPARAM>(&suggested));
  ShowStatus();
}

KA_REGISTER_CLASS(TGalleryForm, [](auto& c) {
  c.Field(L"kaStyledForm1", &TGalleryForm::kaStyledForm1);
  c.Field(L"BorderPanel", &TGalleryForm::BorderPanel);
  c.Field(L"CaptionPanel", &TGalleryForm::CaptionPanel);
  c.Field(L"CloseButton", &TGalleryForm::CloseButton);
  c.Field(L"MaxButton", &TGalleryForm::MaxButton);
  c.Field(L"MinButton", &TGalleryForm::MinButton);
  c.Field(L"CaptionLabel", &TGalleryForm::CaptionLabel);
  c.Field(L"ChooserPanel", &TGalleryForm::ChooserPanel);
  c.Field(L"StyleLabel", &TGalleryForm::StyleLabel);
  c.Field(L"StyleComboBox", &TGalleryForm::StyleComboBox);
  c.Field(L"BackdropLabel", &TGalleryForm::BackdropLabel);
  c.Field(L"BackdropComboBox", &TGalleryForm::BackdropComboBox);
  c.Field(L"ScaleLabel", &TGalleryForm::ScaleLabel);
  c.Field(L"ScaleComboBox", &TGalleryForm::ScaleComboBox);
  c.Field(L"StatusPanel", &TGalleryForm::StatusPanel);
  c.Field(L"StatusLabel", &TGalleryForm::StatusLabel);
  c.Field(L"kaGPSizeBox1", &TGalleryForm::kaGPSizeBox1);
  c.Field(L"PageControl", &TGalleryForm::PageControl);
  c.Handler(L"FormCreate", &TGalleryForm::FormCreate);
  c.Handler(L"CaptionLabelMouseDown", &TGalleryForm::CaptionLabelMouseDown);
  c.Handler(L"CaptionLabelMouseMove", &TGalleryForm::CaptionLabelMouseMove);
  c.Handler(L"CaptionLabelMouseUp", &TGalleryForm::CaptionLabelMouseUp);
  c.Handler(L"CaptionLabelDblClick", &TGalleryForm::CaptionLabelDblClick);
  c.Handler(L"CloseButtonClick", &TGalleryForm::CloseButtonClick);
  c.Handler(L"MaxButtonClick", &TGalleryForm::MaxButtonClick);
  c.Handler(L"MinButtonClick", &TGalleryForm::MinButtonClick);
  c.Handler(L"kaStyledForm1ChangeActive", &TGalleryForm::kaStyledForm1ChangeActive);
  c.Handler(L"kaStyledForm1BeforeChangeScale", &TGalleryForm::kaStyledForm1BeforeChangeScale);
  c.Handler(L"kaStyledForm1ChangeScale", &TGalleryForm::kaStyledForm1ChangeScale);
  c.Handler(L"kaStyledForm1DWMClientMaximize", &TGalleryForm::kaStyledForm1DWMClientMaximize);
  c.Handler(L"kaStyledForm1DWMClientRestore", &TGalleryForm::kaStyledForm1DWMClientRestore);
  c.Handler(L"StyleComboBoxChange", &TGalleryForm::StyleComboBoxChange);
  c.Handler(L"BackdropComboBoxChange", &TGalleryForm::BackdropComboBoxChange);
  c.Handler(L"ScaleComboBoxChange", &TGalleryForm::ScaleComboBoxChange);
  c.Handler(L"PageControlChangePage", &TGalleryForm::PageControlChangePage);
});
