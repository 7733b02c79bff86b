// The gallery's shared pictures and its first pages: buttons and check boxes, the glyph
// grid, panels and labels, switches.
#include <cwctype>
#include <string>

#include "app/gallery/GalleryPages.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/TypeInfo.h"
#include "lib/kaControls/kaButton.h"
#include "lib/kaControls/kaCheckBox.h"
#include "lib/kaControls/kaLabel.h"
#include "lib/kaControls/kaPanel.h"
#include "lib/kaGPControls/GPGlyphButton.h"
#include "lib/kaGPControls/GPLabel.h"
#include "lib/kaGPControls/GPPanel.h"
#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaGPUtils/GPGlyphs.h"
#include "lib/kaGPUtils/GPPrimitives.h"
#include "lib/kaHint/kaHint.h"
#include "lib/kaImageCollection/kaImageCollection.h"

namespace {

const TColor kAccent = static_cast<TColor>(0x00D77800);
const TColor kSeaGreen = static_cast<TColor>(0x578B2E);
const TColor kDarkGreen = static_cast<TColor>(0x2E5A1A);
const TColor kOrange = static_cast<TColor>(0x0080FF);

// An enumeration value's name without its lower-case prefix ("kabsPushButton": "PushButton").
String ShortName(const String& Name) {
  size_t i = 0;
  while (i < Name.size() && iswlower(Name[i])) ++i;
  return i < Name.size() ? Name.substr(i) : Name;
}

// Glyph Kind in the accent colour on a transparent 24-pixel picture. Drawn without
// smoothing, so that the mask colour leaves no fringe.
void AddGlyphPicture(TImageList* Images, TkaGPButtonGlyphKind Kind) {
  TBitmap picture(24, 24);
  picture.Canvas()->Brush()->SetColor(clFuchsia);
  picture.Canvas()->FillRect(TRect(0, 0, 24, 24));
  {
    Gdiplus::Graphics g(picture.Canvas()->Handle());
    g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    GPDrawGlyph(&g, Kind, TGPRectF(3, 3, 18, 18), ToGPColor(kAccent, 255), 1.0, 2, kAccent);
  }
  Images->AddMasked(&picture, clFuchsia);
}

}  // namespace

void MakeGalleryShared(TCustomForm* Form, TGalleryShared& Shared) {
  Shared.GlyphImages = new TImageList(Form);
  Shared.GlyphImages->SetWidth(24);
  Shared.GlyphImages->SetHeight(24);
  for (int k = 0; k <= kagpbgkRestoreRect; ++k) AddGlyphPicture(Shared.GlyphImages, static_cast<TkaGPButtonGlyphKind>(k));
  Shared.Hint = new TkaHint(Form);
}

TkaLabel* TGalleryPageSite::Heading(int X, int Y, int W, const String& Text) {
  auto* label = Add<TkaLabel>(X, Y, W, 20);
  label->SetAutoSize(false);
  label->SetCaption(Text);
  label->SetParentFont(false);
  label->Font()->SetStyle(TFontStyles{fsBold});
  label->Font()->SetHeight(-13);
  label->SetUseFontColorToStyleColor(true);
  return label;
}

TkaLabel* TGalleryPageSite::Note(int X, int Y, int W, const String& Text) {
  auto* label = Add<TkaLabel>(X, Y, W, 16);
  label->SetAutoSize(false);
  label->SetCaption(Text);
  label->SetShowEllipsis(true);
  label->SetUseFontColorToStyleColor(true);
  return label;
}

// ---- Buttons and check boxes ------------------------------------------------------------------

namespace {

// Framed tints per state for the custom-image kinds, drawn by margins of 4.
TkaImageCollection* MakeButtonFaces(TCustomForm* Form) {
  auto* faces = new TkaImageCollection(Form);
  const TColor tints[5] = {static_cast<TColor>(0xF0E0D0), static_cast<TColor>(0xFFD8A0),
                           static_cast<TColor>(0xE0A050), static_cast<TColor>(0xFFE8C8), static_cast<TColor>(0xE8E8E8)};
  for (TColor tint : tints) {
    TBitmap face(12, 12);
    face.Canvas()->Brush()->SetColor(static_cast<TColor>(0x906030));
    face.Canvas()->FillRect(TRect(0, 0, 12, 12));
    face.Canvas()->Brush()->SetColor(tint);
    face.Canvas()->FillRect(TRect(1, 1, 11, 11));
    auto* item = faces->Images()->Add();
    item->SetBitmap(&face);
    TkaBitmapOptions* o = item->BitmapOptions();
    o->SetLeftMargin(4), o->SetTopMargin(4), o->SetRightMargin(4), o->SetBottomMargin(4);
    o->SetContentLeftMargin(4), o->SetContentTopMargin(4), o->SetContentRightMargin(4), o->SetContentBottomMargin(4);
  }
  return faces;
}

TPopupMenu* MakeSmallMenu(TCustomForm* Form) {
  auto* menu = new TPopupMenu(Form);
  for (const wchar_t* caption : {L"&Open", L"&Save", L"Save &as...", L"-", L"&Close"}) {
    auto* item = new TMenuItem(Form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  return menu;
}

void AddButtonKinds(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Push button kinds (TkaButton)");
  TkaImageCollection* faces = MakeButtonFaces(Site.Form);
  TPopupMenu* menu = MakeSmallMenu(Site.Form);
  const TEnumInfo& kinds = EnumInfoOf<TkaButtonStyleKind>();
  for (int k = 0; k <= kabsDropDownCombo; ++k) {
    auto* b = Site.Add<TkaButton>(12 + (k % 6) * 146, Y + 26 + (k / 6) * 44, 136, 34);
    b->SetStyleKind(static_cast<TkaButtonStyleKind>(k));
    b->SetCaption(ShortName(kinds.NameOf(k)));
    b->SetCustomImages(faces);
    b->SetCustomImageNormalIndex(0), b->SetCustomImageHotIndex(1), b->SetCustomImagePressedIndex(2);
    b->SetCustomImageFocusedIndex(3), b->SetCustomImageDisabledIndex(4);
    if (k == kabsDropDownButton || k == kabsDropDownCombo) b->SetDropDownMenu(menu);
  }
}

void AddButtonArrangements(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Arrangements");
  TPopupMenu* menu = MakeSmallMenu(Site.Form);
  auto* split = Site.Add<TkaButton>(12, Y + 26, 136, 34);
  split->SetCaption(L"Split button");
  split->SetDropDownMenu(menu);
  split->SetSplitButton(true);
  auto* titled = Site.Add<TkaButton>(158, Y + 26, 160, 48);
  titled->SetTitle(L"Title");
  titled->SetCaption(L"with an image");
  titled->SetImages(Site.Shared.GlyphImages);
  titled->SetImageIndex(kagpbgkStar);
  auto* link = Site.Add<TkaButton>(328, Y + 26, 136, 34);
  link->SetStyleKind(kabsLink);
  link->SetCaption(L"karvo.example");
  link->GlowEffect()->SetEnabled(true);
  auto* disabled = Site.Add<TkaButton>(474, Y + 26, 136, 34);
  disabled->SetCaption(L"Disabled");
  disabled->SetEnabled(false);
}

void AddCheckBoxes(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Check boxes (TkaCheckBox)");
  struct TCase {
    const wchar_t* Caption;
    TCheckBoxState State;
    bool Enabled, RightText;
  };
  const TCase cases[] = {{L"Unchecked", cbUnchecked, true, false}, {L"Checked", cbChecked, true, false},
                         {L"Grayed", cbGrayed, true, false},       {L"Disabled", cbChecked, false, false},
                         {L"Text on the left", cbChecked, true, true}};
  int x = 12;
  for (const TCase& c : cases) {
    auto* box = Site.Add<TkaCheckBox>(x, Y + 26, 140, 22);
    box->SetAllowGrayed(c.State == cbGrayed);
    box->SetCaption(c.Caption);
    box->SetState(c.State);
    box->SetEnabled(c.Enabled);
    if (c.RightText) box->SetAlignment(taLeftJustify);
    box->SetUseFontColorToStyleColor(true);
    x += 150;
  }
}

}  // namespace

void BuildButtonsPage(TGalleryPageSite& Site) {
  AddButtonKinds(Site, 10);
  AddButtonArrangements(Site, 226);
  AddCheckBoxes(Site, 316);
}

// ---- Glyphs -----------------------------------------------------------------------------------

// Every vector glyph on a button of its own; its hint names it.
void BuildGlyphsPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 600, L"The 117 vector glyphs (TkaGPGlyphButton), named by their hints");
  const TEnumInfo& kinds = EnumInfoOf<TkaGPButtonGlyphKind>();
  constexpr int columns = 13, cellW = 66, cellH = 46;
  for (int k = 0; k <= kagpbgkRestoreRect; ++k) {
    auto* b = Site.Add<TkaGPGlyphButton>(12 + (k % columns) * cellW, 36 + (k / columns) * cellH, cellW - 6, cellH - 6);
    b->GlyphOptions()->SetKind(static_cast<TkaGPButtonGlyphKind>(k));
    b->GlyphOptions()->SetSize(20);
    b->Options()->SetShapeStyle(kagpRoundedRect);
    b->Options()->SetNormalColorAlpha(30);
    b->SetHint(std::to_wstring(k) + L"  " + ShortName(kinds.NameOf(k)));
    b->SetShowHint(true);
  }
}

// ---- Panels and labels ------------------------------------------------------------------------

namespace {

TkaGPPanel* AddVectorPanel(TGalleryPageSite& Site, int X, int Y, const String& Caption) {
  auto* p = Site.Add<TkaGPPanel>(X, Y, 160, 70);
  p->SetCaption(Caption);
  p->SetShowCaption(true);
  p->SetFrameWidth(1);
  return p;
}

void AddVectorPanels(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Vector panels (TkaGPPanel)");
  Y += 26;
  AddVectorPanel(Site, 12, Y, L"Plain");
  TkaGPPanel* rounded = AddVectorPanel(Site, 182, Y, L"Rounded, framed");
  rounded->SetFrameRadius(12), rounded->SetFrameWidth(2), rounded->SetFrameColor(kAccent);
  TkaGPPanel* gradient = AddVectorPanel(Site, 352, Y, L"Gradient");
  gradient->SetFillStyle(kagpsfGradient), gradient->SetFillColor(kAccent), gradient->SetFillColor2(clWhite);
  gradient->SetFillGradientAngle(90), gradient->SetFrameRadius(8);
  TkaGPPanel* alpha = AddVectorPanel(Site, 522, Y, L"Alpha 90");
  alpha->SetFillColor(kSeaGreen), alpha->SetFillColorAlpha(90), alpha->SetFrameRadius(20);
  TkaGPPanel* sides = AddVectorPanel(Site, 692, Y, L"Bottom frame");
  sides->SetFrameSides(TkaGPPanelFrameSides{gppfsBottom}), sides->SetFrameWidth(3), sides->SetFrameColor(kOrange);
}

void AddClassicPanels(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Panels (TkaPanel)");
  struct TCase {
    const wchar_t* Caption;
    TkaPanelStyleKind Kind;
    TkaPanelBorderStyle Border;
  };
  const TCase cases[] = {{L"Panel, raised", kapsPanel, kapbsRaised},
                         {L"Tool bar", kapsToolBar, kapbsBottomShadowLine},
                         {L"Header", kapsHeader, kapbsNone},
                         {L"Edit, flat", kapsEdit, kapbsFlat},
                         {L"Tab sheet, lowered", kapsTabSheet, kapbsLowered}};
  int x = 12;
  for (const TCase& c : cases) {
    auto* p = Site.Add<TkaPanel>(x, Y + 26, 160, 50);
    p->SetStyleKind(c.Kind);
    p->SetBorderStyle(c.Border);
    p->SetCaption(c.Caption);
    p->SetShowCaption(true);
    x += 170;
  }
}

void AddLabels(TGalleryPageSite& Site, int Y) {
  Site.Heading(12, Y, 400, L"Labels and glow text (TkaLabel, TkaGPLabel)");
  auto* plain = Site.Add<TkaLabel>(12, Y + 30, 200, 24);
  plain->SetAutoSize(false);
  plain->SetCaption(L"A label in the style's colour");
  plain->SetUseFontColorToStyleColor(true);
  auto* glow = Site.Add<TkaLabel>(222, Y + 22, 220, 46);
  glow->SetAutoSize(false);
  glow->SetCaption(L"Glowing text");
  glow->SetParentFont(false);
  glow->Font()->SetHeight(-20);
  glow->Font()->SetColor(clBlack);
  glow->GlowEffect()->SetEnabled(true);
  glow->GlowEffect()->SetColor(clWhite);
  glow->GlowEffect()->SetGlowSize(8);
  auto* vector = Site.Add<TkaGPLabel>(452, Y + 26, 200, 34);
  vector->SetCaption(L"Vector label, filled");
  vector->SetFillColor(kAccent), vector->SetFillColorAlpha(60), vector->SetFrameRadius(8), vector->SetFrameWidth(1);
  vector->SetFrameColor(kAccent);
  vector->SetAlignment(taCenter), vector->SetVertAlignment(kavtaCenter);
  auto* vglow = Site.Add<TkaGPLabel>(662, Y + 26, 200, 34);
  vglow->SetCaption(L"Vector label, glow");
  vglow->SetParentFont(false);
  vglow->Font()->SetHeight(-16);
  vglow->GlowEffect()->SetEnabled(true);
  vglow->GlowEffect()->SetColor(kOrange);
  vglow->SetAlignment(taCenter), vglow->SetVertAlignment(kavtaCenter);
}

}  // namespace

void BuildPanelsPage(TGalleryPageSite& Site) {
  AddVectorPanels(Site, 10);
  AddClassicPanels(Site, 120);
  AddLabels(Site, 210);
}

// ---- Switches -------------------------------------------------------------------------------

namespace {

// A skin of tinted copies of the switch's own masks, drawn by margins like them.
TkaImageCollection* MakeSwitchSkin(TCustomForm* Form) {
  auto* images = new TkaImageCollection(Form);
  struct TPicture {
    const wchar_t* Mask;
    TColor Color;
    bool OnlyBorder;
  };
  const TPicture pictures[] = {{L"SWITCH_FRAME_MASK_OFF", kOrange, true}, {L"SWITCH_FRAME_MASK_ON", kOrange, false},
                               {L"SWITCH_FRAME_MASK_ON", clMaroon, false}, {L"SWITCH_THUMB_MASK", kOrange, false},
                               {L"SWITCH_THUMB_MASK", clWhite, false},     {L"SWITCH_THUMB_MASK", clYellow, false}};
  for (const TPicture& p : pictures) {
    TkaImageCollectionItem* item = images->Images()->Add();
    item->LoadPngFromResourceName(::GetModuleHandleW(nullptr), p.Mask, 1);
    TkaBitmapOptions* o = item->BitmapOptions();
    o->SetLeftMargin(10), o->SetTopMargin(10), o->SetRightMargin(10), o->SetBottomMargin(10);
    o->SetDrawOnlyBorder(p.OnlyBorder);
    item->SetDrawStyle(idsStretch);
    item->CheckBitmapOptions();
    item->SetColor(p.Color);
  }
  return images;
}

// The picture look needs the image settings the base class keeps protected.
class TSkinnedSwitch : public TkaCustomToggleSwitch {
 public:
  explicit TSkinnedSwitch(TComponent* AOwner) : TkaCustomToggleSwitch(AOwner) {}
  void UseSkin(TkaCustomImageCollection* Images) {
    SetStyleKind(kaswsCustomImage);
    SetCustomImages(Images);
    SetFrameImageIndex(0), SetFrameOnImageIndex(1), SetFramePressedImageIndex(2);
    SetThumbImageIndex(3), SetThumbOnImageIndex(4), SetThumbPressedImageIndex(5);
  }
};

using TLookSetup = void (*)(TkaCustomToggleSwitch*);

void AddSwitchRow(TGalleryPageSite& Site, int Y, const String& Name, TkaCustomToggleSwitch* (*Make)(TGalleryPageSite&),
                  TkaImageCollection* Skin) {
  Site.Note(12, Y + 8, 230, Name);
  for (int on = 0; on < 2; ++on) {
    TkaCustomToggleSwitch* s = Make(Site);
    s->SetBounds(250 + on * 200, Y, 180, 32);
    if (auto* skinned = dynamic_cast<TSkinnedSwitch*>(s)) skinned->UseSkin(Skin);
    s->SetCaptionOn(L"On");
    s->SetCaptionOff(L"Off");
    s->SetState(on ? kaswOn : kaswOff);
  }
  TkaCustomToggleSwitch* disabled = Make(Site);
  disabled->SetBounds(650, Y, 180, 32);
  if (auto* skinned = dynamic_cast<TSkinnedSwitch*>(disabled)) skinned->UseSkin(Skin);
  disabled->SetCaptionOn(L"Disabled");
  disabled->SetCaptionOff(L"Disabled");
  disabled->SetEnabled(false);
}

template <class T>
TkaCustomToggleSwitch* NewSwitch(TGalleryPageSite& Site) {
  return Site.Add<T>(0, 0, 180, 32);
}

TkaCustomToggleSwitch* NewFilledSwitch(TGalleryPageSite& Site) {
  auto* s = Site.Add<TkaGPToggleSwitch>(0, 0, 180, 32);
  s->SetFrameSolid(true), s->SetFrameInside(true), s->SetThumbShadow(true);
  s->SetFrameColor(clSilver), s->SetFrameOnColor(kSeaGreen);
  s->SetThumbColor(clWhite), s->SetThumbOnColor(clWhite), s->SetThumbMargin(1);
  return s;
}

TkaCustomToggleSwitch* NewAlphaSwitch(TGalleryPageSite& Site) {
  auto* s = Site.Add<TkaGPToggleSwitch>(0, 0, 180, 32);
  s->SetDrawTextMode(kadtmGDIPlus);
  s->SetFrameColorAlpha(120), s->SetFrameOnColorAlpha(150), s->SetThumbColorAlpha(150);
  return s;
}

TkaCustomToggleSwitch* NewColorMaskSwitch(TGalleryPageSite& Site) {
  auto* s = Site.Add<TkaCustomToggleSwitch>(0, 0, 180, 32);
  s->SetStyleKind(kaswsColor);
  s->SetFrameColor(clGray), s->SetFrameOnColor(kSeaGreen), s->SetThumbColor(clGray), s->SetThumbOnColor(clWhite);
  s->SetFramePressedColor(kDarkGreen), s->SetThumbPressedColor(clWhite);
  return s;
}

}  // namespace

void BuildSwitchesPage(TGalleryPageSite& Site) {
  Site.Heading(12, 10, 600, L"Toggle switch looks (TkaGPToggleSwitch, TkaCustomToggleSwitch)");
  TkaImageCollection* skin = MakeSwitchSkin(Site.Form);
  struct TRow {
    const wchar_t* Name;
    TkaCustomToggleSwitch* (*Make)(TGalleryPageSite&);
  };
  const TRow rows[] = {{L"Vector", NewSwitch<TkaGPToggleSwitch>},
                       {L"Vector, GDI+ caption, alpha", NewAlphaSwitch},
                       {L"Vector, filled, inside, shadow", NewFilledSwitch},
                       {L"Masks (kaswsStyled)", NewSwitch<TkaCustomToggleSwitch>},
                       {L"Masks in colours (kaswsColor)", NewColorMaskSwitch},
                       {L"Pictures (kaswsCustomImage)", NewSwitch<TSkinnedSwitch>}};
  int y = 40;
  for (const TRow& row : rows) {
    AddSwitchRow(Site, y, row.Name, row.Make, skin);
    y += 46;
  }
}
