// The controls gallery: a styled, compositor-framed window whose vector page control holds
// one page per control family of the library, with choosers for the application's style,
// the window's backdrop and its scale. The frame, the choosers and the page control come
// from the form's layout; the pages are filled in code when the form is created (most of
// them are generated grids: every glyph, every placement, every button kind).
#pragma once

#include <memory>

#include "framework/Forms.h"

class TkaStyledForm;
class TkaGPPanel;
class TkaGPGlyphButton;
class TkaLabel;
class TkaGPSizeBox;
class TkaAdvancedComboBox;
class TkaGPPageControl;
struct TGalleryShared;

// The pages in tab order: their captions and the names their screenshots carry.
enum class TGalleryPage {
  Buttons, Glyphs, Panels, Switches, Lists, Images, PageControl, GalleryMenu, Hints, Animations
};
inline constexpr int GalleryPageCount = 10;
const wchar_t* GalleryPageCaption(TGalleryPage Page);
// "buttons", "glyphs", "panels", "switches", "lists", "images", "pagecontrol", "gallerymenu",
// "hints", "animations".
const wchar_t* GalleryPageName(TGalleryPage Page);

// The choosers' rows, in order.
inline constexpr int GalleryStyleCount = 3;     // system, "Karvo Dark", "Karvo Light"
inline constexpr int GalleryBackdropCount = 4;  // the styled form's backdrop kinds
inline constexpr int GalleryScaleCount = 4;     // 100, 125, 150 and 200 %
// The monitor DPI of scale row Index (96, 120, 144, 192).
int GalleryScalePpi(int Index);

class TGalleryForm : public TForm {
  KA_CLASS(TGalleryForm, TForm)
 public:
  explicit TGalleryForm(TComponent* AOwner);
  ~TGalleryForm() override;

  // Components of the layout, assigned while it is read.
  TkaStyledForm* kaStyledForm1 = nullptr;
  TkaGPPanel* BorderPanel = nullptr;
  TkaGPPanel* CaptionPanel = nullptr;
  TkaGPGlyphButton* CloseButton = nullptr;
  TkaGPGlyphButton* MaxButton = nullptr;
  TkaGPGlyphButton* MinButton = nullptr;
  TkaLabel* CaptionLabel = nullptr;
  TkaGPPanel* ChooserPanel = nullptr;
  TkaLabel* StyleLabel = nullptr;
  TkaAdvancedComboBox* StyleComboBox = nullptr;
  TkaLabel* BackdropLabel = nullptr;
  TkaAdvancedComboBox* BackdropComboBox = nullptr;
  TkaLabel* ScaleLabel = nullptr;
  TkaAdvancedComboBox* ScaleComboBox = nullptr;
  TkaGPPanel* StatusPanel = nullptr;
  TkaLabel* StatusLabel = nullptr;
  TkaGPSizeBox* kaGPSizeBox1 = nullptr;
  TkaGPPageControl* PageControl = nullptr;

  // Handlers the layout binds by name.
  void FormCreate(TObject* Sender);
  void CaptionLabelMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void CaptionLabelMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CaptionLabelDblClick(TObject* Sender);
  void CloseButtonClick(TObject* Sender);
  void MaxButtonClick(TObject* Sender);
  void MinButtonClick(TObject* Sender);
  void kaStyledForm1ChangeActive(TObject* Sender);
  void kaStyledForm1BeforeChangeScale(TObject* Sender);
  void kaStyledForm1ChangeScale(double AScaleFactor);
  void kaStyledForm1DWMClientMaximize(TObject* Sender);
  void kaStyledForm1DWMClientRestore(TObject* Sender);
  void StyleComboBoxChange(TObject* Sender);
  void BackdropComboBoxChange(TObject* Sender);
  void ScaleComboBoxChange(TObject* Sender);
  void PageControlChangePage(TObject* Sender);

  // The page shown; choosing one selects its tab as a click would.
  TGalleryPage Page() const;
  void ShowPage(TGalleryPage Page);
  // Shows what a page shows on a click (the hint page's extended hint, the gallery menu
  // dropped down) at once, for pictures of it; HidePageSample takes it away again. Pages
  // without such a pop-up ignore both.
  void ShowPageSample(TGalleryPage Page);
  void HidePageSample(TGalleryPage Page);

 private:
  void ToggleMaximized();
  // The frame and the caption bar for an opaque window or one over a backdrop.
  void ApplyBackdropLook(bool Translucent);
  void ShowStatus();
  void ShowChoices();

  std::unique_ptr<TGalleryShared> FShared;
  // Whether the scale chooser stands in for the monitor's DPI (undone when the form goes).
  bool FScaleOverridden = false;
};

// The gallery window while it lives (the program's main form).
extern TGalleryForm* GalleryForm;
