// The gallery's pages, filled in code. Every component a page makes is owned by the form
// (freed with it) and placed on the page; pictures several pages show are made once, here.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Forms.h"
#include "lib/kaGPPagers/kaGPPagers.h"

class TImageList;
class TkaHint;
class TkaLabel;

// Made once per gallery window, before the pages.
struct TGalleryShared {
  // The vector glyphs as 24-pixel pictures (menu, list and tab images).
  TImageList* GlyphImages = nullptr;
  // The library's hint window, for the hint page and the glyph grid.
  TkaHint* Hint = nullptr;
  // Per page, what shows the page's pop-up at once, as its button does (the hint page's
  // extended hint, the gallery menu dropped down), and what takes it away; for pictures.
  std::function<void()> ShowSample[10];
  std::function<void()> HideSample[10];
};
void MakeGalleryShared(TCustomForm* Form, TGalleryShared& Shared);

// Where a page's builder puts things: the form that owns them and the page that hosts them.
struct TGalleryPageSite {
  TCustomForm* Form;
  TkaGPPageControlPage* Page;
  TGalleryShared& Shared;

  // A component of class T owned by the form, on the page at (X, Y, W, H) for windowed and
  // graphic controls.
  template <class T>
  T* Add(int X, int Y, int W, int H) {
    auto* c = new T(Form);
    c->SetBounds(X, Y, W, H);
    c->SetParent(Page);
    return c;
  }
  // A caption over a group of the page's controls.
  TkaLabel* Heading(int X, int Y, int W, const String& Text);
  // A small plain line of text.
  TkaLabel* Note(int X, int Y, int W, const String& Text);
};

// The builders, one per page (GalleryPage*.cpp).
void BuildButtonsPage(TGalleryPageSite& Site);
void BuildGlyphsPage(TGalleryPageSite& Site);
void BuildPanelsPage(TGalleryPageSite& Site);
void BuildSwitchesPage(TGalleryPageSite& Site);
void BuildListsPage(TGalleryPageSite& Site);
void BuildImagesPage(TGalleryPageSite& Site);
void BuildPageControlPage(TGalleryPageSite& Site);
void BuildGalleryMenuPage(TGalleryPageSite& Site);
void BuildHintsPage(TGalleryPageSite& Site);
void BuildAnimationsPage(TGalleryPageSite& Site);

// The bytes of an animation the program carries (resources/lottie/<Name>.json, "globe" and
// so on); empty when there is none of that name.
std::vector<uint8_t> GalleryAnimationData(const String& Name);
