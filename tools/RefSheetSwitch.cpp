// The toggle switch's reference sheet. Switches are windowed controls that paint through their
// windows, so each look is a real switch on a shown form: it is put into a state the way the
// user would (pointer messages, focus, Enabled), painted into the sheet by its window
// procedure (PaintTo), and taken back out of the state.
#include "tools/RefSheetSwitch.h"

#include <functional>
#include <vector>

#include "lib/kaGPControls/GPToggleSwitch.h"
#include "lib/kaImageCollection/kaImageCollection.h"
#include "tools/RefSheetKit.h"

namespace {

const TColor kOrange = static_cast<TColor>(0x0080FF);
const TColor kDarkOrange = static_cast<TColor>(0x0050C0);
const TColor kSeaGreen = static_cast<TColor>(0x578B2E);
const TColor kDarkGreen = static_cast<TColor>(0x2E5A1A);

enum TSheetState { ssNormal, ssHot, ssPressed, ssFocused, ssDisabled };
const wchar_t* const kStateNames[] = {L"normal", L"hot", L"pressed", L"focused", L"disabled"};

// The picture look needs the protected image settings of the base class.
class TSheetSwitch : public TkaCustomToggleSwitch {
 public:
  explicit TSheetSwitch(TComponent* AOwner) : TkaCustomToggleSwitch(AOwner) {}
  void UseImages(TkaCustomImageCollection* Images) {
    SetCustomImages(Images);
    SetFrameImageIndex(0);
    SetFrameOnImageIndex(1);
    SetFramePressedImageIndex(2);
    SetThumbImageIndex(3);
    SetThumbOnImageIndex(4);
    SetThumbPressedImageIndex(5);
  }
};

// A skin of tinted copies of the switch's own masks, drawn by margins like them.
void AddMaskPictures(TkaImageCollection* Images) {
  struct TPicture {
    const wchar_t* Mask;
    TColor Color;
    bool OnlyBorder;
  };
  const TPicture pictures[] = {{L"SWITCH_FRAME_MASK_OFF", kOrange, true},   {L"SWITCH_FRAME_MASK_ON", kOrange, false},
                               {L"SWITCH_FRAME_MASK_ON", kDarkOrange, false}, {L"SWITCH_THUMB_MASK", kOrange, false},
                               {L"SWITCH_THUMB_MASK", clWhite, false},        {L"SWITCH_THUMB_MASK", clYellow, false}};
  for (const TPicture& p : pictures) {
    TkaImageCollectionItem* item = Images->Images()->Add();
    item->LoadPngFromResourceName(::GetModuleHandleW(nullptr), p.Mask, 1);
    TkaBitmapOptions* o = item->BitmapOptions();
    o->SetLeftMargin(10), o->SetTopMargin(10), o->SetRightMargin(10), o->SetBottomMargin(10);
    o->SetDrawOnlyBorder(p.OnlyBorder);
    item->SetDrawStyle(idsStretch);
    item->CheckBitmapOptions();
    item->SetColor(p.Color);
  }
}

struct TLook {
  const wchar_t* Name;
  std::function<TkaCustomToggleSwitch*(TCustomForm* Form, TkaImageCollection* Images)> Make;
};

TkaGPToggleSwitch* NewVector(TCustomForm* Form) {
  auto* s = new TkaGPToggleSwitch(Form);
  s->SetParent(Form);
  return s;
}

void DemoLook(TkaGPToggleSwitch* S) {
  S->SetFrameWidth(1);
  S->SetThumbMargin(4);
  S->SetThumbMarginHot(3);
  S->SetThumbMarginPressed(4);
  S->SetCaptionOn(L"Windows11 UI");
  S->SetCaptionOff(L"Windows11 UI");
}

const TLook kLooks[] = {
    {L"vector, default", [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* { return NewVector(F); }},
    {L"vector, the demo's switch",
     [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* {
       TkaGPToggleSwitch* s = NewVector(F);
       DemoLook(s);
       return s;
     }},
    {L"vector, GDI+ caption, alpha",
     [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* {
       TkaGPToggleSwitch* s = NewVector(F);
       s->SetDrawTextMode(kadtmGDIPlus);
       s->SetFrameColorAlpha(120);
       s->SetFrameOnColorAlpha(150);
       s->SetThumbColorAlpha(150);
       return s;
     }},
    {L"vector, filled, inside, shadow",
     [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* {
       TkaGPToggleSwitch* s = NewVector(F);
       s->SetFrameSolid(true);
       s->SetFrameInside(true);
       s->SetThumbShadow(true);
       s->SetFrameColor(clSilver);
       s->SetFrameOnColor(kSeaGreen);
       s->SetThumbColor(clWhite);
       s->SetThumbOnColor(clWhite);
       s->SetThumbMargin(1);
       return s;
     }},
    {L"masks (kaswsStyled)",
     [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* {
       auto* s = new TkaCustomToggleSwitch(F);
       s->SetParent(F);
       return s;
     }},
    {L"masks in colours (kaswsColor)",
     [](TCustomForm* F, TkaImageCollection*) -> TkaCustomToggleSwitch* {
       auto* s = new TkaCustomToggleSwitch(F);
       s->SetParent(F);
       s->SetStyleKind(kaswsColor);
       s->SetFrameColor(clGray);
       s->SetFrameOnColor(kSeaGreen);
       s->SetThumbColor(clGray);
       s->SetThumbOnColor(clWhite);
       s->SetFramePressedColor(kDarkGreen);
       s->SetThumbPressedColor(clWhite);
       return s;
     }},
    {L"pictures (kaswsCustomImage)",
     [](TCustomForm* F, TkaImageCollection* Images) -> TkaCustomToggleSwitch* {
       auto* s = new TSheetSwitch(F);
       s->SetParent(F);
       s->SetStyleKind(kaswsCustomImage);
       s->UseImages(Images);
       return s;
     }},
};

// A point on the track away from the thumb, for a press that shows the pressed look.
TPoint TrackPoint(TkaCustomToggleSwitch* S) {
  const int h = S->Height() / 2;
  const int inset = S->SwitchHeight() / 4;
  return S->IsOn() ? TPoint(2 + inset, h) : TPoint(2 + S->SwitchWidth() - inset, h);
}

void Send(TkaCustomToggleSwitch* S, UINT Msg, TPoint P, WPARAM Keys = 0) {
  ::SendMessageW(S->Handle(), Msg, Keys, MAKELPARAM(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)));
}

// Puts S into State, paints it at (X, Y) of DC through its window, and takes it back out.
void PaintInState(TkaCustomToggleSwitch* S, TSheetState State, HDC DC, int X, int Y) {
  const TPoint outside(S->Width() + 50, 2);
  switch (State) {
    case ssHot: {
      const TPoint p(S->Width() - 10, S->Height() / 2);
      const TPoint screen = S->ClientToScreen(p);
      ::SetCursorPos(screen.X, screen.Y);
      Send(S, WM_MOUSEMOVE, p);
      break;
    }
    case ssPressed: Send(S, WM_LBUTTONDOWN, TrackPoint(S), MK_LBUTTON); break;
    case ssFocused: S->SetFocus(); break;
    case ssDisabled: S->SetEnabled(false); break;
    default: break;
  }
  S->PaintTo(DC, X, Y);
  switch (State) {
    case ssHot: Send(S, WM_MOUSEMOVE, outside); break;
    case ssPressed: Send(S, WM_LBUTTONUP, outside); break;
    case ssDisabled: S->SetEnabled(true); break;
    default: break;
  }
  // Nothing keeps the focus: a click and a focused state both took it.
  if (S->Focused()) ::SetFocus(nullptr);
}

// A block of looks at one DPI: per look a row off and a row on, a column per state.
int PaintBlock(TCanvas* C, int Top, int Dpi, const std::vector<const TLook*>& Looks) {
  TCustomForm* form = NewSheetForm(TRect(20, 20, 420, 320), clWhite);
  form->Font()->SetName(L"Tahoma");
  TkaImageCollection* images = new TkaImageCollection(form);
  AddMaskPictures(images);
  std::vector<TkaCustomToggleSwitch*> switches;
  for (const TLook* look : Looks) {
    TkaCustomToggleSwitch* s = look->Make(form, images);
    s->SetBounds(10, 10, 150, 35);
    s->SetAnimation(false);
    switches.push_back(s);
  }
  if (Dpi != 96) form->ScaleForPPI(Dpi);
  form->Show();
  Application->ProcessMessages();
  const int cellW = ::MulDiv(160, Dpi, 96), cellH = ::MulDiv(44, Dpi, 96), left = 190;
  SheetLabel(C, 10, Top, Format(L"%d DPI", Dpi));
  for (int state = ssNormal; state <= ssDisabled; ++state) SheetLabel(C, left + state * cellW, Top, kStateNames[state]);
  int y = Top + 20;
  for (size_t i = 0; i < switches.size(); ++i) {
    TkaCustomToggleSwitch* s = switches[i];
    // One switch at a time in the window's place, so each paints over the form alone.
    for (TkaCustomToggleSwitch* other : switches) other->SetVisible(other == s);
    for (TkaSwitchState st : {kaswOff, kaswOn}) {
      s->SetState(st);
      SheetLabel(C, 10, y + cellH / 2 - 7, String(Looks[i]->Name) + (st == kaswOn ? L", on" : L", off"));
      for (int state = ssNormal; state <= ssDisabled; ++state)
        PaintInState(s, static_cast<TSheetState>(state), C->Handle(), left + state * cellW, y);
      y += cellH;
    }
  }
  form->Free();
  Application->ProcessMessages();
  return y;
}

}  // namespace

void PaintSwitchSheet(TCanvas* C) {
  std::vector<const TLook*> all;
  for (const TLook& look : kLooks) all.push_back(&look);
  const int next = PaintBlock(C, 34, 96, all);
  PaintBlock(C, next + 30, 144, {&kLooks[1], &kLooks[4]});
}
