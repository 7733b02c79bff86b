// The face of the gallery drop-down: the panel's background, the tool-bar frames, and each
// item as an image cell, a full-width button or a header band.
#include "framework/Themes.h"
#include "lib/kaControls/kaGalleryMenu.h"
#include "lib/kaDrawUtils/ElementPainters.h"

// Style lookups follow the control the menu drops down for, else the active form.
const TControl* TkaGalleryMenuPopupWindow::StyleControl() const {
  if (GalleryMenu != nullptr && GalleryMenu->FControl != nullptr) return GalleryMenu->FControl;
  return Screen->ActiveCustomForm();
}

TkasCtrlState TkaGalleryMenuPopupWindow::ItemState(int Index) const {
  const int selected = GalleryMenu->ShowSelectedItem() ? GalleryMenu->ItemIndex() : -1;
  // While the button is held on an item, the pick so far gives up its pressed look.
  if (Index == selected && !FItemDown) return kasPressed;
  if (Index == FMouseInItem) return FItemDown ? kasPressed : kasHot;
  return kasNormal;
}

void TkaGalleryMenuPopupWindow::DrawFrames(TCanvas* ACanvas) {
  if (GalleryMenu->BackgroundStyle() != kagmToolBar) return;
  const TControl* c = StyleControl();
  TRect r(0, 0, Width(), Height());
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(GetStyleSystemColor(clBtnShadow, c));
  ACanvas->FrameRect(r);
  r.Inflate(-1, -1);
  ACanvas->Brush()->SetColor(GetStyleSystemColor(clWindow, c));
  ACanvas->FrameRect(r);
}

void TkaGalleryMenuPopupWindow::DrawControl(TCanvas* ACanvas, TkasCtrlState ACtrlState) {
  inherited::DrawControl(ACanvas, ACtrlState);
  if (GalleryMenu == nullptr || GalleryMenu->Images() == nullptr) return;
  DrawFrames(ACanvas);
  TkaGalleryMenuItems* items = GalleryMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    // Under a clip (an item repaint) only the items it reaches are drawn.
    if (::RectVisible(ACanvas->Handle(), items->Items(i)->ItemRect.AsRECT()) == FALSE) continue;
    TCanvasStateSaver saved(ACanvas);
    DrawItem(ACanvas, i);
  }
}

void TkaGalleryMenuPopupWindow::DrawItem(TCanvas* ACanvas, int Index) {
  ++FGalleryPaintStats.ItemsDrawn;
  const TkaGalleryMenuItem* item = GalleryMenu->Items()->Items(Index);
  if (item->Header())
    DrawHeaderItem(ACanvas, item);
  else if (item->Button())
    DrawButtonItem(ACanvas, item, ItemState(Index));
  else
    DrawImageItem(ACanvas, item, ItemState(Index));
}

void TkaGalleryMenuPopupWindow::DrawImageItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item,
                                              TkasCtrlState State) {
  const TRect& r = Item->ItemRect;
  if (State == kasHot || State == kasPressed) DrawToolButtonElement(ACanvas, r, State, StyleControl());
  TCustomImageList* images = GalleryMenu->Images();
  const int x = r.Left + r.Width() / 2 - images->Width() / 2;
  const int y = r.Top + r.Height() / 2 - images->Height() / 2;
  if (Item->Enabled())
    images->Draw(ACanvas, x, y, Item->ImageIndex(), true);
  else if (images->ClassNameIs(L"TVirtualImageList"))
    images->Draw(ACanvas, x, y, Item->ImageIndex(), false);
  else
    DrawImageAlpha(ACanvas, x, y, 100, Item->ImageIndex(), images);
}

namespace {

// Font at the drop-down's scale.
void UseScaledFont(TCanvas* ACanvas, TFont* Font, double Scale) {
  ACanvas->Font()->Assign(Font);
  ACanvas->Font()->SetHeight(Round(Font->Height() * Scale));
}

void DrawTextIn(TCanvas* ACanvas, const String& Text, TRect& R, UINT Flags) {
  ::DrawTextW(ACanvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), R.AsRECT(), Flags);
}

}  // namespace

void TkaGalleryMenuPopupWindow::DrawButtonItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item,
                                               TkasCtrlState State) {
  const TControl* c = StyleControl();
  const double s = ScaleFactor();
  const TRect& r = Item->ItemRect;
  if (!Item->Enabled()) State = kasDisabled;
  TColor text = GetStyleSystemColor(clBtnText, c);
  if (State != kasNormal) {
    text = GetToolButtonTextColor(State, c);
    DrawToolButtonElement(ACanvas, r, State, c);
  }
  UseScaledFont(ACanvas, GalleryMenu->ItemFont(), s);
  ACanvas->Font()->SetColor(text);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect inner = r;
  inner.Inflate(-2, -2);
  TCustomImageList* images = GalleryMenu->Images();
  const bool left = GalleryMenu->ButtonLeftAlignment();
  if (!GalleryMenu->ButtonGlyphLeftAlignment() || left) {
    DrawImageAndText(ACanvas, inner, left ? 5 : -1, true, s, true, false, false, clNone, false, Item->Enabled(), images,
                     Item->ImageIndex(), Item->Caption(), blGlyphLeft, 5);
    return;
  }
  // The image centred in the square at the left end, the caption centred in the whole item.
  const int index = Item->ImageIndex();
  if (index >= 0 && index < images->Count()) {
    const int side = r.Height();
    images->Draw(ACanvas, r.Left + side / 2 - images->Width() / 2, r.Top + side / 2 - images->Height() / 2, index,
                 true);
  }
  DrawTextIn(ACanvas, Item->Caption(), inner, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOCLIP | DT_NOPREFIX);
}

void TkaGalleryMenuPopupWindow::DrawHeaderItem(TCanvas* ACanvas, const TkaGalleryMenuItem* Item) {
  const TControl* c = StyleControl();
  const bool bottomLine = GalleryMenu->HeaderStyle() == kamhsBottomLine;
  TRect r = Item->ItemRect;
  UseScaledFont(ACanvas, GalleryMenu->HeaderFont(), ScaleFactor());
  if (bottomLine) {
    TColor line = AverageColor(clBtnText, clBtnFace);
    if (IsCustomStyleActiveFor(this)) {
      line = AverageColor(GetStyleSystemColor(clBtnText, c), GetStyleSystemColor(clBtnFace, c));
      ACanvas->Font()->SetColor(line);
    }
    TPen* pen = ACanvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetColor(line);
    for (int y : {r.Bottom - 1, r.Bottom - 2}) {
      ACanvas->MoveTo(r.Left + 2, y);
      ACanvas->LineTo(r.Right - 2, y);
    }
  } else {
    DrawHeaderSectionElement(ACanvas, r, kasNormal, c);
    ACanvas->Font()->SetColor(GetHeaderTextColor(kasNormal, c));
  }
  r.Left += 5;
  r.Right -= 5;
  ACanvas->Brush()->SetStyle(bsClear);
  if (bottomLine) {
    // The caption sits on the lines.
    TRect measured = r;
    DrawTextIn(ACanvas, Item->Caption(), measured, DT_CALCRECT | DT_SINGLELINE);
    r.Top = r.Bottom - measured.Height() - 6;
  }
  DrawTextIn(ACanvas, Item->Caption(), r, BiDiTextFlags(DT_SINGLELINE | DT_VCENTER, BiDiMode() == bdRightToLeft));
}

void TkaGalleryMenuPopupWindow::RepaintItems(int A, int B) {
  if (!HandleAllocated() || !::IsWindowVisible(WindowHandle())) return;
  if (FPaintBuffer == nullptr || FPaintBuffer->Width() != Width() || FPaintBuffer->Height() != Height()) {
    RePaintControl();
    return;
  }
  ++FGalleryPaintStats.ItemRepaints;
  TCanvas* buffer = FPaintBuffer->Canvas();
  const TkasCtrlState state = GetCtrlState();
  TWindowDC dc(WindowHandle());
  const int count = GalleryMenu->Items()->Count();
  for (int index : {A, B}) {
    if (index < 0 || index >= count) continue;
    const TRect r = GalleryMenu->Items()->Items(index)->ItemRect;
    {
      TCanvasStateSaver clip(buffer, r);
      DrawControl(buffer, state);
    }
    ::BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), buffer->Handle(), r.Left, r.Top, SRCCOPY);
  }
}
