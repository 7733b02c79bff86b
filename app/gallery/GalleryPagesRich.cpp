// The gallery's richer pages: list and combo, image placements, the page control, the
// gallery menu, hints and animations.
#include <cwctype>
#include <string>

#include "app/gallery/GalleryForm.h"
#include "app/gallery/GalleryPages.h"
#include "framework/ImageList.h"
#include "framework/PngImage.h"
#include "framework/TypeInfo.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaAdvancedListBox.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaGalleryMenu.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaHint/kaHint.h"
#include "lib/kaLottie/SkAnimatedImage.h"

namespace {

const TColor kAccent = static_cast<TColor>(0x00D77800);

// ---- List and combo ---------------------------------------------------------------------------

constexpr int kListRows = 10000;
constexpr int kRowsPerGroup = 1000;

// A header before every thousand rows; every row has a picture, a title, a caption and a
// detail, and every seventh a progress bar.
void FillLongList(TkaAdvancedListBox* List, TImageList* Images) {
  List->BeginUpdateItems();
  for (int i = 0; i < kListRows; ++i) {
    if (i % kRowsPerGroup == 0) {
      TkaAdvancedListItem* header = List->Items()->Add();
      header->SetHeader(true);
      header->SetCaption(L"Rows " + std::to_wstring(i + 1) + L" to " + std::to_wstring(i + kRowsPerGroup));
    }
    TkaAdvancedListItem* item = List->Items()->Add();
    item->SetImageIndex(i % (kagpbgkRestoreRect + 1));
    item->SetTitle(L"Row " + std::to_wstring(i + 1));
    item->SetCaption(L"Item " + std::to_wstring(i + 1));
    item->SetDetail(L"Glyph " + std::to_wstring(i % (kagpbgkRestoreRect + 1)) + L" of the catalogue");
  }
  List->EndUpdateItems();
  List->SetImages(Images);
}

TkaAdvancedComboBox* AddCombo(TGalleryPageSite& Site, int Y, TkaAdvancedComboStyle Style, bool Details) {
  auto* combo = Site.Add<TkaAdvancedComboBox>(520, Y, 340, Details ? 48 : 26);
  combo->SetStyle(Style);
  combo->SetImages(Site.Shared.GlyphImages);
  combo->SetShowItemTitle(false);
  combo->SetShowItemDetail(Details);
  const struct {
    const wchar_t* Title;
    const wchar_t* Detail;
    TkaGPButtonGlyphKind Glyph;
  } rows[] = {{L"Home", L"Where everything starts", kagpbgkHome},
              {L"Calendar", L"Days, weeks and months", kagpbgkCalendar},
              {L"Messages", L"Read and unread mail", kagpbgkMessage},
              {L"Map", L"Places and directions", kagpbgkMap},
              {L"Settings", L"How the program behaves", kagpbgkGear}};
  for (const auto& row : rows) {
    TkaAdvancedListItem* item = combo->Items()->Add();
    item->SetCaption(row.Title);
    item->SetDetail(row.Detail);
    item->SetImageIndex(row.Glyph);
  }
  combo->SetItemIndex(0);
  return combo;
}

// ---- Image placements -----------------------------------------------------------------------

// A small picture whose corners and centre tell how a placement put it: a blue badge with a
// white rim and an orange dot.
void MakePlacementPicture(TPngImage& Png) {
  TBitmap picture(36, 28);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 36, 28));
  c->Brush()->SetColor(kAccent);
  c->FillRect(TRect(2, 2, 34, 26));
  c->Brush()->SetColor(static_cast<TColor>(0x0080FF));
  c->FillRect(TRect(14, 10, 22, 18));
  Png.Assign(&picture);
}

// ---- Hints ------------------------------------------------------------------------------------

TPoint BelowOnScreen(TControl* Control) { return Control->ClientToScreen(TPoint(0, Control->Height() + 4)); }

}  // namespace

void BuildListsPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 480, L"Advanced list box, 10,000 rows in groups (TkaAdvancedListBox)");
  auto* list = Site.Add<TkaAdvancedListBox>(12, 36, 480, 420);
  list->SetShowItemTitles(true);
  list->SetShowItemDetails(true);
  list->SetItemHeight(54);
  list->SetStyle(kaalbsGroup);
  FillLongList(list, Site.Shared.GlyphImages);
  Site.Heading(520, 10, 340, L"Combo boxes (TkaAdvancedComboBox)");
  Site.Note(520, 36, 340, L"Push button with title and detail");
  AddCombo(Site, 54, kacbPushButton, true);
  Site.Note(520, 116, 340, L"Combo");
  AddCombo(Site, 134, kacbCombo, false);
  Site.Note(520, 176, 340, L"Transparent, bottom line");
  AddCombo(Site, 194, kacbTransparentBottomLine, false);
  Site.Note(520, 236, 340, L"Tool button");
  AddCombo(Site, 254, kacbToolButton, false);
}

void BuildImagesPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 700, L"Image collection placements: one picture in each of the 25 ways (TkaGPImageCollection)");
  auto* images = new TkaGPImageCollection(Site.Form);
  TPngImage picture;
  MakePlacementPicture(picture);
  const TEnumInfo& styles = EnumInfoOf<TkaImageDrawStyle>();
  constexpr int columns = 7, cellW = 124, cellH = 94;
  for (int s = 0; s <= idsVertCenterTile; ++s) {
    TkaGPImageCollectionItem* item = images->Images()->Add();
    item->SetPngImage(&picture);
    item->SetDrawStyle(static_cast<TkaImageDrawStyle>(s));
    const int x = 12 + (s % columns) * cellW, y = 36 + (s / columns) * cellH;
    Site.Note(x, y, cellW - 8, String(styles.NameOf(s)).substr(3));
    auto* panel = Site.Add<TkaGPPanel>(x, y + 18, cellW - 8, cellH - 28);
    panel->SetFillColor(clWindow);
    panel->SetFrameWidth(1);
    panel->SetFrameColorAlpha(80);
    panel->SetCustomImages(images);
    panel->SetCustomImageIndex(s);
  }
}

void BuildPageControlPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 600, L"Vector page control with closable tabs (TkaGPPageControl)");
  auto* pager = Site.Add<TkaGPPageControl>(12, 36, 600, 300);
  pager->SetShowCloseButtons(true);
  pager->SetFreeOnClose(true);
  pager->SetTabImages(Site.Shared.GlyphImages);
  pager->TabOptions()->SetTabStyle(gptsRoundedLine);
  static constexpr TkaGPButtonGlyphKind glyphs[] = {kagpbgkFileNew, kagpbgkChart, kagpbgkCalendar, kagpbgkMessage,
                                         kagpbgkMap, kagpbgkUser, kagpbgkStar};
  int n = 0;
  TCustomForm* form = Site.Form;
  auto addTab = [form, pager, n]() mutable {
    TkaGPPageControlTab* tab = pager->Tabs()->Add();
    tab->SetCaption(L"Document " + std::to_wstring(++n));
    tab->SetImageIndex(glyphs[(n - 1) % 7]);
    auto* text = new TkaLabel(form);
    text->SetBounds(16, 16, 400, 40);
    text->SetAutoSize(false);
    text->SetWordWrap(true);
    text->SetCaption(tab->Caption() + L": close it with the cross on its tab; drag tabs to reorder them.");
    text->SetUseFontColorToStyleColor(true);
    text->SetParent(tab->Page());
  };
  for (int i = 0; i < 7; ++i) addTab();
  pager->SetEnableDragReorderTabs(true);
  pager->SetTabIndex(0);
  auto* more = Site.Add<TkaButton>(630, 36, 140, 34);
  more->SetCaption(L"New tab");
  more->OnClick = [addTab](TObject*) mutable { addTab(); };
  Site.Note(12, 346, 600, L"Tabs past the width scroll with the arrow buttons; the mouse wheel scrolls them too.");
}

void BuildGalleryMenuPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 600, L"Gallery menu (TkaGalleryMenu) dropped from a button");
  auto* menu = new TkaGalleryMenu(Site.Form);
  menu->SetImages(Site.Shared.GlyphImages);
  menu->SetColumnsCount(8);
  menu->SetShowSelectedItem(true);
  const struct {
    const wchar_t* Header;
    int First, Last;
  } groups[] = {{L"Arrows and navigation", kagpbgkPriorArrow, kagpbgkSearch},
                {L"Media", kagpbgkPlay, kagpbgkSkipToEnd},
                {L"Files", kagpbgkFileNew, kagpbgkPrint}};
  for (const auto& g : groups) {
    TkaGalleryMenuItem* header = menu->Items()->Add();
    header->SetHeader(true);
    header->SetCaption(g.Header);
    for (int k = g.First; k <= g.Last; ++k) {
      TkaGalleryMenuItem* item = menu->Items()->Add();
      item->SetImageIndex(k);
      item->SetHint(String(EnumInfoOf<TkaGPButtonGlyphKind>().NameOf(k)).substr(7));
      item->SetCaption(item->Hint());
    }
  }
  TkaGalleryMenuItem* all = menu->Items()->Add();
  all->SetButton(true);
  all->SetImageIndex(kagpbgkMore);
  all->SetCaption(L"Every glyph is on the Glyphs page");
  menu->SetItemIndex(1);
  auto* button = Site.Add<TkaButton>(12, 40, 200, 40);
  button->SetCaption(L"Choose a glyph");
  button->SetImages(Site.Shared.GlyphImages);
  button->SetGalleryMenu(menu);
  button->SetUseGalleryMenuImage(true);
  button->SetUseGalleryMenuCaption(true);
  auto* tool = Site.Add<TkaButton>(222, 40, 200, 40);
  tool->SetStyleKind(kabsToolButton);
  tool->SetCaption(L"Tool button");
  tool->SetGalleryMenu(menu);
  const int page = static_cast<int>(TGalleryPage::GalleryMenu);
  Site.Shared.ShowSample[page] = [menu, button] {
    const TPoint topLeft = button->ClientToScreen(TPoint(0, 0));
    menu->PopupFromRect(TRect(topLeft.X, topLeft.Y, topLeft.X + button->Width(), topLeft.Y + button->Height()));
  };
  Site.Shared.HideSample[page] = [menu] { menu->Hide(); };
  Site.Note(12, 92, 700, L"Press a button: pick with the mouse or the arrow keys and Enter; Esc closes the menu.");
}

void BuildHintsPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 600, L"Hints (TkaHint, TkaHintWindow)");
  TkaHint* hint = Site.Shared.Hint;
  TImageList* images = Site.Shared.GlyphImages;
  auto* plain = Site.Add<TkaButton>(12, 40, 180, 34);
  plain->SetCaption(L"Plain hint");
  plain->OnClick = [hint, plain](TObject*) { hint->ActivateHint(BelowOnScreen(plain), L"A plain hint@@on two lines"); };
  auto* extended = Site.Add<TkaButton>(202, 40, 180, 34);
  extended->SetCaption(L"Extended hint");
  extended->OnClick = [hint, extended, images](TObject*) {
    hint->ActivateHintEx(BelowOnScreen(extended), L"Extended hint", L"A bold title, a picture and the text",
                         kagpbgkInfo, images);
  };
  auto* hide = Site.Add<TkaButton>(392, 40, 120, 34);
  hide->SetCaption(L"Hide");
  hide->OnClick = [hint](TObject*) { hint->HideHint(); };
  auto* app = Site.Add<TkaCheckBox>(12, 92, 500, 22);
  app->SetCaption(L"The controls' own hints use the library's hint window");
  app->SetUseFontColorToStyleColor(true);
  app->OnClick = [hint, app](TObject*) { hint->SetActiveForApplication(app->Checked()); };
  auto* hover = Site.Add<TkaButton>(12, 126, 180, 34);
  hover->SetCaption(L"Rest the pointer here");
  hover->SetHint(L"A control hint@@shown after the hint pause");
  hover->SetShowHint(true);
  const int page = static_cast<int>(TGalleryPage::Hints);
  Site.Shared.ShowSample[page] = [extended] { extended->OnClick(extended); };
  Site.Shared.HideSample[page] = [hint] { hint->HideHint(); };
}

void BuildAnimationsPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 700, L"Animated images (TSkAnimatedImage) playing the program's Lottie files");
  const wchar_t* const names[] = {L"Menu", L"Server", L"reports", L"setting", L"message", L"globe", L"exit"};
  int i = 0;
  for (const wchar_t* name : names) {
    const int x = 12 + (i % 4) * 200, y = 40 + (i / 4) * 190;
    // The menu icon is drawn white, for the accent-coloured button it sits on in the demo.
    auto* frame = Site.Add<TkaGPPanel>(x, y, 140, 140);
    frame->SetFillColor(String(name) == L"Menu" ? kAccent : clWindow);
    frame->SetFrameRadius(12);
    frame->SetFrameWidth(1);
    frame->SetFrameColorAlpha(60);
    auto* image = new TSkAnimatedImage(Site.Form);
    image->SetBounds(6, 6, 128, 128);
    image->SetParent(frame);
    image->SetData(GalleryAnimationData(name));
    image->Animation()->SetLoop(true);
    image->Animation()->SetEnabled(true);
    Site.Note(x, y + 146, 180, String(name) + L".json");
    ++i;
  }
}

// The animations are RCDATA resources named GALLERY_LOTTIE_<NAME> (see CMakeLists.txt).
std::vector<uint8_t> GalleryAnimationData(const String& Name) {
  String id = L"GALLERY_LOTTIE_" + Name;
  for (wchar_t& ch : id) ch = static_cast<wchar_t>(towupper(ch));
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, id.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (found == nullptr) return {};
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* bytes = static_cast<const uint8_t*>(::LockResource(loaded));
  if (bytes == nullptr) return {};
  return std::vector<uint8_t>(bytes, bytes + ::SizeofResource(module, found));
}
