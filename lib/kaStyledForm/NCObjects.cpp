// The live side of the caption items: how a caption button or tab measures itself, paints
// itself on the caption bitmap and reacts to the non-client mouse events the form style
// hook hands it.
#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "lib/kaDrawUtils/Colors.h"
#include "lib/kaDrawUtils/ElementPainters.h"
#include "lib/kaDrawUtils/LineGlyphs.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaStyledForm/NCItems.h"
#include "lib/kaStyledForm/kaStyledForm.h"

namespace {

// The zone of a split button's arrow, and the room a drop-down arrow takes otherwise.
constexpr int kSplitZone = 17;
constexpr int kArrowRoom = 13;

bool HoldsImage(TCustomImageList* ImageList, int Index) {
  return ImageList != nullptr && Index >= 0 && Index < ImageList->Count();
}

void DrawItemImage(TCanvas* Canvas, TCustomImageList* ImageList, int X, int Y, int Index, bool Enabled) {
  if (ImageList->ShareImages())
    ::ImageList_DrawEx(ImageList->Handle(), Index, Canvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE,
                       Enabled ? ILD_NORMAL : ILD_BLEND25);
  else if (Enabled || dynamic_cast<TVirtualImageList*>(ImageList) != nullptr)
    ImageList->Draw(Canvas, X, Y, Index, Enabled);
  else
    DrawImageAlpha(Canvas, X, Y, 80, Index, ImageList);
}

// The image and caption of a caption item: the image at the left of the caption, the pair
// laid out in Rect as buttons do, the caption measured without prefix processing (it is
// drawn with its prefix characters as they are) and one pixel higher than its place, which
// centres it better on the caption's glyph cell.
void DrawItemImageAndText(TCanvas* Canvas, const TRect& Rect, int Margin, bool NoPrefix, bool RightToLeft,
                          bool Enabled, TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                          int Spacing) {
  int imageW = 0, imageH = 0, textW = 0, textH = 0;
  if (HoldsImage(ImageList, ImageIndex)) {
    imageW = ImageList->Width();
    imageH = ImageList->Height();
  } else {
    Spacing = 0;
  }
  if (Caption.empty()) {
    Spacing = 0;
  } else {
    TRect m(0, 0, Rect.Width() - imageW - Spacing - (Margin > 0 ? Margin : 0), Rect.Height());
    ::DrawTextW(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), m.AsRECT(),
                DT_EXPANDTABS | DT_NOPREFIX | DT_CALCRECT);
    textW = m.Width();
    textH = m.Height();
  }
  TPoint imagePos, textPos;
  CalcImageTextLayout(blGlyphLeft, Rect, imageW, imageH, textW, textH, Margin, Spacing, imagePos, textPos);
  const TBrushStyle oldStyle = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  if (!Caption.empty()) {
    TRect t(textPos.X, textPos.Y - 1, textPos.X + textW, textPos.Y - 1 + textH);
    UINT flags = DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP;
    if (NoPrefix) flags |= DT_NOPREFIX;
    ::DrawTextW(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), t.AsRECT(),
                BiDiTextFlags(flags, RightToLeft));
  }
  if (imageW > 0) DrawItemImage(Canvas, ImageList, imagePos.X, imagePos.Y, ImageIndex, Enabled);
  Canvas->Brush()->SetStyle(oldStyle);
}

// Puts the canvas's font, brush and pen back after an item painted with its own (or an
// owner-drawing handler changed them), so the next item and the caption start clean.
class TCanvasToolsKeeper {
 public:
  explicit TCanvasToolsKeeper(TCanvas* Canvas) : FCanvas(Canvas) {
    FFont.Assign(Canvas->Font());
    FBrush.Assign(Canvas->Brush());
    FPen.Assign(Canvas->Pen());
  }
  TCanvasToolsKeeper(const TCanvasToolsKeeper&) = delete;
  TCanvasToolsKeeper& operator=(const TCanvasToolsKeeper&) = delete;
  ~TCanvasToolsKeeper() {
    FCanvas->Font()->Assign(&FFont);
    FCanvas->Brush()->Assign(&FBrush);
    FCanvas->Pen()->Assign(&FPen);
  }

 private:
  TCanvas* FCanvas;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
};

bool RightToLeftForm(TkaStyledForm* Form) {
  return Form != nullptr && Form->Form() != nullptr && Form->Form()->BiDiMode() == bdRightToLeft;
}

const TControl* StyleControl(TkaStyledForm* Form) { return Form != nullptr ? Form->Form() : nullptr; }

void DrawZoneSeparator(TCanvas* Canvas, const TRect& Zone, const TControl* Control) {
  DrawElementSeparator(Canvas, TPoint(Zone.Left, Zone.Top + 2), Zone.Height() - 4, false, Control);
}

// Hints of caption items go through the styled form's hint component.
TkaHint* ItemHintComponent(TkaStyledForm* Form, const String& Hint) {
  if (Form == nullptr || Hint.empty() || !Form->ShowHints()) return nullptr;
  return Form->HintComponent();
}

}  // namespace

// ---- Base -------------------------------------------------------------------------------------

void TkaNCObject::Invalidate() {
  if (auto* item = dynamic_cast<TkaNCItem*>(FParent)) item->NotifyChanged();
}

int TkaNCObject::ItemIndex() const { return FParent != nullptr ? FParent->Index() : -1; }

double TkaNCObject::Scale() const {
  TkaStyledForm* form = OwnerStyledForm();
  return form != nullptr ? form->ScaleFactor() : 1.0;
}

void TkaNCObject::EnterOrLeave(bool AEnter, const String& AHint, const std::function<void()>& Repaint,
                               const TkaNCMouseEvent& AEvent) {
  FMouseIn = AEnter;
  if (TkaHint* hint = ItemHintComponent(OwnerStyledForm(), AHint)) {
    if (AEnter)
      hint->ActivateHint(AHint);
    else
      hint->HideHint();
  }
  Repaint();
  if (AEvent) AEvent(ItemIndex());
}

// ---- Caption buttons ------------------------------------------------------------------------

TkaNCButtonObject::TkaNCButtonObject(TkaNCButtonItem* AParent) : TkaNCObject(AParent) {}

TkaNCButtonItem* TkaNCButtonObject::ButtonItem() const { return static_cast<TkaNCButtonItem*>(FParent); }

TkaStyledForm* TkaNCButtonObject::OwnerStyledForm() const { return ButtonItem()->StyledForm(); }

bool TkaNCButtonObject::DropsDown() const {
  return ButtonItem()->PopupMenu() != nullptr || ButtonItem()->CustomDropDown();
}

bool TkaNCButtonObject::IsSplit() const { return ButtonItem()->SplitButton() && DropsDown(); }

bool TkaNCButtonObject::InArrowZone(int X, int Y) const {
  TRect zone = ObjectRect;
  zone.Left = zone.Right - Round(Scale() * kSplitZone);
  return zone.Contains(TPoint(X, Y));
}

int TkaNCButtonObject::ContentWidth(int AMinWidth, TCanvas* Canvas) {
  TkaNCButtonItem* item = ButtonItem();
  TkaStyledForm* form = OwnerStyledForm();
  TCustomImageList* images = form != nullptr ? form->ButtonImages() : nullptr;
  const double S = Scale();
  const int I = item->ImageIndex() != -1 && images != nullptr ? images->Width() : 0;
  int w = 0;
  if (!item->Caption().empty()) {
    const int text = Canvas->TextWidth(item->Caption());
    w = I != 0 ? I + text + item->Spacing() + 6 : text + 6;
  } else {
    w = I;
    if (I != 0 && DropsDown()) w += 6;
  }
  if (item->ContentMargin() > 0) w += Round(S * item->ContentMargin() * 2);
  if (DropsDown()) w += Round(S * (item->SplitButton() ? kSplitZone : kArrowRoom));
  return std::max(AMinWidth, w);
}

void TkaNCButtonObject::RepaintUnlessDroppedDown() {
  if (!FDroppedDown) Invalidate();
}

TPoint TkaNCButtonObject::DropDownPoint() const {
  TkaStyledForm* styled = OwnerStyledForm();
  TCustomForm* form = styled != nullptr ? styled->Form() : nullptr;
  if (form == nullptr) return TPoint(ObjectRect.Left, ObjectRect.Bottom);
  TPoint p(form->Left() + ObjectRect.Left, form->Top() + ObjectRect.Bottom);
  // An MDI child sits in the main form's client area.
  TCustomForm* main = Application != nullptr ? Application->MainForm() : nullptr;
  if (form->FormStyle() == fsMDIChild && main != nullptr && main != form && main->HandleAllocated()) {
    const TPoint origin = main->ClientToScreen(TPoint(0, 0));
    p.X += origin.X;
    p.Y += origin.Y;
  }
  return p;
}

bool TkaNCButtonObject::OpenCustomDropDown() {
  const std::shared_ptr<bool> alive = FAlive;
  TkaNCButtonItem* item = ButtonItem();
  const TPoint p = DropDownPoint();
  FDroppedDown = true;
  Invalidate();
  if (!IsSplit() && item->OnClick) {
    item->OnClick(this);
    if (!*alive) return false;
  }
  if (item->OnDropDown) item->OnDropDown(ItemIndex(), p.X, p.Y);
  return *alive;
}

bool TkaNCButtonObject::OpenPopupMenu() {
  const std::shared_ptr<bool> alive = FAlive;
  TkaNCButtonItem* item = ButtonItem();
  const TPoint p = DropDownPoint();
  FDroppedDown = true;
  Invalidate();
  if (!IsSplit() && item->OnClick) {
    item->OnClick(this);
    if (!*alive) return false;
  }
  TkaStyledForm* styled = OwnerStyledForm();
  const std::shared_ptr<bool> formAlive = styled != nullptr ? styled->FAlive : nullptr;
  if (styled != nullptr) styled->FMenuTracking = true;
  if (TPopupMenu* menu = item->PopupMenu()) menu->Popup(p.X, p.Y);
  if (!*alive) return false;
  FDown = false;
  FDroppedDown = false;
  FMouseIn = false;
  // The menu took the mouse; the caption is repainted, and tracking ends, once the click
  // that closed it has been seen. Without a window to time that, it ends now.
  HWND h = styled != nullptr && *formAlive ? styled->FormHandle() : nullptr;
  if (h != nullptr) {
    styled->FUpdating = true;
    ::SetTimer(h, kaCaptionMenuTrackingTimerID, 10, nullptr);
  } else {
    if (styled != nullptr && *formAlive) styled->FMenuTracking = false;
    Invalidate();
  }
  return true;
}

void TkaNCButtonObject::MouseDown(int X, int Y) {
  const std::shared_ptr<bool> alive = FAlive;
  FDown = true;
  TkaStyledForm* styled = OwnerStyledForm();
  if (styled != nullptr && styled->FMenuTracking) {
    FDown = false;
    FDroppedDown = false;
    FMouseIn = true;
    return;
  }
  TkaNCButtonItem* item = ButtonItem();
  FAllowAllUpCheck = false;
  const bool mayOpen = !IsSplit() || InArrowZone(X, Y);
  if (mayOpen && item->CustomDropDown()) {
    if (!OpenCustomDropDown()) return;
  } else if (mayOpen && item->PopupMenu() != nullptr) {
    if (!OpenPopupMenu()) return;
  }
  if (item->GroupIndex() <= 0 || item->Down()) {
    FAllowAllUpCheck = item->GroupIndex() > 0 && item->Down() && item->AllowAllUp();
    RepaintUnlessDroppedDown();
    if (item->OnMouseDown) item->OnMouseDown(ItemIndex(), X, Y);
    return;
  }
  item->SetDown(true);
  if (item->OnMouseDown) {
    item->OnMouseDown(ItemIndex(), X, Y);
    if (!*alive) return;
  }
  if (item->OnClick) item->OnClick(this);
}

void TkaNCButtonObject::MouseUp(int X, int Y) {
  FDown = false;
  TkaStyledForm* styled = OwnerStyledForm();
  if (styled != nullptr && styled->FMenuTracking) return;
  const std::shared_ptr<bool> alive = FAlive;
  TkaNCButtonItem* item = ButtonItem();
  if (item->GroupIndex() <= 0) {
    RepaintUnlessDroppedDown();
    if (item->OnMouseUp) {
      item->OnMouseUp(ItemIndex(), X, Y);
      if (!*alive) return;
    }
    if (item->OnClick) item->OnClick(this);
  } else if (item->AllowAllUp() && FAllowAllUpCheck) {
    FAllowAllUpCheck = false;
    item->StoreDown(false);
    Invalidate();
    if (item->OnClick) item->OnClick(this);
  }
}

void TkaNCButtonObject::MouseMove(int X, int Y) {
  FMouseIn = true;
  if (ButtonItem()->OnMouseMove) ButtonItem()->OnMouseMove(ItemIndex(), X, Y);
}

void TkaNCButtonObject::MouseEnter() {
  EnterOrLeave(true, ButtonItem()->Hint(), [this] { RepaintUnlessDroppedDown(); }, ButtonItem()->OnMouseEnter);
}

void TkaNCButtonObject::MouseLeave() {
  FDown = false;
  EnterOrLeave(false, ButtonItem()->Hint(), [this] { RepaintUnlessDroppedDown(); }, ButtonItem()->OnMouseLeave);
}

void TkaNCButtonObject::CloseUp(bool AAcceptChanges) {
  FDown = false;
  FDroppedDown = false;
  TkaStyledForm* styled = OwnerStyledForm();
  TCustomForm* form = styled != nullptr ? styled->Form() : nullptr;
  POINT cursor{};
  if (form != nullptr && ::GetCursorPos(&cursor)) {
    TRect r = ObjectRect;
    r.Offset(form->Left(), form->Top());
    FMouseIn = r.Contains(TPoint(cursor.x, cursor.y));
  } else {
    FMouseIn = false;
  }
  Invalidate();
  if (ButtonItem()->OnCloseUp) ButtonItem()->OnCloseUp(ItemIndex(), AAcceptChanges);
}

// ---- Caption button painting ------------------------------------------------------------------

void TkaNCButtonObject::PaintElement(TCanvas* ACanvas, const TRect& Rect, TkasCtrlState State, bool Push) {
  const TControl* control = StyleControl(OwnerStyledForm());
  if (Push)
    DrawPushButtonElement(ACanvas, Rect, State, control, 1.0, false);
  else
    DrawToolButtonElement(ACanvas, Rect, State, control);
}

void TkaNCButtonObject::PaintSplitElement(TCanvas* ACanvas, TkasCtrlState State, bool Open, bool Push) {
  TRect main = ObjectRect, zone = ObjectRect;
  main.Right -= Round(Scale() * kSplitZone);
  zone.Left = main.Right;
  if (Open) {
    {
      TCanvasStateSaver clip(ACanvas, main);
      PaintElement(ACanvas, ObjectRect, kasHot, Push);
    }
    TCanvasStateSaver clip(ACanvas, zone);
    PaintElement(ACanvas, ObjectRect, kasPressed, Push);
  } else {
    PaintElement(ACanvas, ObjectRect, State, Push);
  }
  if (Push || (State != kasNormal && State != kasDisabled))
    DrawZoneSeparator(ACanvas, zone, StyleControl(OwnerStyledForm()));
}

void TkaNCButtonObject::PaintBackground(TCanvas* ACanvas, TkasCtrlState State, bool Split, bool Open) {
  const TkaNCButtonStyle style = ButtonItem()->Style();
  const bool active = State == kasHot || State == kasPressed;
  bool push = false;
  switch (style) {
    case kancPushButton:
      push = true;
      break;
    case kancToolButton:
      break;
    case kancPushButtonTransparent:
      if (!active) return;
      push = true;
      break;
    case kancToolButtonTransparent:
      if (!active) return;
      break;
    default:
      return;
  }
  if (Split)
    PaintSplitElement(ACanvas, State, Open, push);
  else
    PaintElement(ACanvas, ObjectRect, State, push);
}

void TkaNCButtonObject::PaintArrow(TCanvas* ACanvas, TColor Color) {
  TRect zone = ObjectRect;
  zone.Left = zone.Right - Round(Scale() * kSplitZone);
  if (UseModernArrows())
    DrawNCChevronDown(ACanvas, zone, Color, Scale());
  else
    DrawNCTriangleDown(ACanvas, zone, Color, Scale());
  const TkaNCButtonStyle style = ButtonItem()->Style();
  if (IsSplit() && (style == kancTransparent || style == kancLink))
    DrawZoneSeparator(ACanvas, zone, StyleControl(OwnerStyledForm()));
}

void TkaNCButtonObject::Draw(TCanvas* ACanvas) {
  TkaNCButtonItem* item = ButtonItem();
  TkaStyledForm* form = OwnerStyledForm();
  TCanvasToolsKeeper tools(ACanvas);
  if (item->OnPaint) {
    TCanvasStateSaver saved(ACanvas);
    item->OnPaint(ItemIndex(), ACanvas, ObjectRect, FMouseIn, FDown, FDroppedDown);
    return;
  }
  TkasCtrlState state = kasNormal;
  int image = item->ImageIndex();
  if (FDown || FDroppedDown || item->Down()) {
    state = kasPressed;
    if (item->PressedImageIndex() != -1) image = item->PressedImageIndex();
  } else if (FMouseIn) {
    state = kasHot;
    if (item->HotImageIndex() != -1) image = item->HotImageIndex();
  } else if (!item->Enabled()) {
    state = kasDisabled;
  }
  const bool split = IsSplit();
  const bool open = split && FDroppedDown;
  PaintBackground(ACanvas, state, split, open);

  const TControl* control = StyleControl(form);
  const TkaNCButtonStyle style = item->Style();
  const bool active = state == kasHot || state == kasPressed;
  TColor text = clNone, arrow = clNone;
  const bool push = style == kancPushButton || (style == kancPushButtonTransparent && active);
  const bool tool = style == kancToolButton || (style == kancToolButtonTransparent && active);
  if (push || tool) {
    auto color = push ? GetButtonTextColor : GetToolButtonTextColor;
    text = color(open ? kasHot : state, control);
    arrow = color(open ? kasPressed : state, control);
  } else {
    text = arrow = GetCaptionTextColor(state, control);
  }

  TRect content = ObjectRect;
  if (DropsDown()) content.Right -= Round(Scale() * (split ? kSplitZone : kArrowRoom));
  {
    TCanvasToolsKeeper contentTools(ACanvas);
    ACanvas->Font()->SetColor(text);
    ACanvas->Brush()->SetStyle(bsClear);
    if (style == kancLink && FMouseIn) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + fsUnderline);
    bool handled = false;
    if (item->OnGetPaintParams)
      item->OnGetPaintParams(ItemIndex(), ACanvas, ObjectRect, FMouseIn, FDown, FDroppedDown, handled);
    if (!handled)
      DrawItemImageAndText(ACanvas, content, item->Margin(), true, RightToLeftForm(form), item->Enabled(),
                           form != nullptr ? form->ButtonImages() : nullptr, image, item->Caption(),
                           item->Spacing());
  }
  if (DropsDown()) PaintArrow(ACanvas, arrow);
}

// ---- Caption tabs -----------------------------------------------------------------------------

TkaNCTabObject::TkaNCTabObject(TkaNCTabItem* AParent) : TkaNCObject(AParent) {}

TkaNCTabItem* TkaNCTabObject::TabItem() const { return static_cast<TkaNCTabItem*>(FParent); }

TkaStyledForm* TkaNCTabObject::OwnerStyledForm() const { return TabItem()->StyledForm(); }

bool TkaNCTabObject::IsActive() const {
  TkaStyledForm* form = OwnerStyledForm();
  return form != nullptr && form->TabIndex() == ItemIndex();
}

int TkaNCTabObject::ContentWidth(int AMinWidth, TCanvas* Canvas) {
  TkaNCTabItem* item = TabItem();
  TkaStyledForm* form = OwnerStyledForm();
  TCustomImageList* images = form != nullptr ? form->TabImages() : nullptr;
  const int I = item->ImageIndex() != -1 && images != nullptr ? images->Width() : 0;
  int w = I;
  if (!item->Caption().empty()) {
    // The content margin scales whether or not there is an image.
    w = Canvas->TextWidth(item->Caption()) + Round(Scale() * item->ContentMargin() * 2) + 14;
    if (I != 0) w += I + item->Spacing();
  }
  return std::max(AMinWidth, w);
}

void TkaNCTabObject::MouseDown(int X, int Y) {
  const std::shared_ptr<bool> alive = FAlive;
  FDown = true;
  TkaNCTabItem* item = TabItem();
  TkaStyledForm* form = OwnerStyledForm();
  if (form != nullptr && !IsActive()) {
    form->SetTabIndex(ItemIndex());
    if (item->OnClick) {
      item->OnClick(this);
      if (!*alive) return;
    }
    if (form->OnTabChanged) {
      form->OnTabChanged(item);
      if (!*alive) return;
    }
  }
  if (item->OnMouseDown) item->OnMouseDown(ItemIndex(), X, Y);
}

void TkaNCTabObject::MouseUp(int X, int Y) {
  FDown = false;
  if (TabItem()->OnMouseUp) TabItem()->OnMouseUp(ItemIndex(), X, Y);
}

void TkaNCTabObject::MouseMove(int X, int Y) {
  FMouseIn = true;
  if (TabItem()->OnMouseMove) TabItem()->OnMouseMove(ItemIndex(), X, Y);
}

void TkaNCTabObject::MouseEnter() {
  EnterOrLeave(true, TabItem()->Hint(), [this] { Invalidate(); }, TabItem()->OnMouseEnter);
}

void TkaNCTabObject::MouseLeave() {
  EnterOrLeave(false, TabItem()->Hint(), [this] { Invalidate(); }, TabItem()->OnMouseLeave);
}

void TkaNCTabObject::Draw(TCanvas* ACanvas) {
  TkaNCTabItem* item = TabItem();
  TkaStyledForm* form = OwnerStyledForm();
  const bool active = IsActive();
  TCanvasToolsKeeper tools(ACanvas);
  if (item->OnPaint) {
    TCanvasStateSaver saved(ACanvas);
    item->OnPaint(ItemIndex(), ACanvas, ObjectRect, FMouseIn, active);
    return;
  }
  TkasCtrlState state = kasNormal;
  if (active)
    state = kasFocused;
  else if (FMouseIn)
    state = kasHot;
  else if (!item->Enabled())
    state = kasDisabled;
  const TControl* control = StyleControl(form);
  const bool showTab = state == kasHot || state == kasFocused || (form != nullptr && form->ShowInactiveTab());
  if (showTab) {
    DrawTabElement(ACanvas, ObjectRect, state, control);
    ACanvas->Font()->SetColor(GetTabTextColor(state, control));
  } else {
    ACanvas->Font()->SetColor(GetCaptionTextColor(state, control));
  }
  ACanvas->Brush()->SetStyle(bsClear);
  bool handled = false;
  if (item->OnGetPaintParams) item->OnGetPaintParams(ItemIndex(), ACanvas, ObjectRect, FMouseIn, active, handled);
  if (handled) return;
  TRect r = ObjectRect;
  r.Bottom += 1;
  DrawItemImageAndText(ACanvas, r, -1, true, RightToLeftForm(form), item->Enabled(),
                       form != nullptr ? form->TabImages() : nullptr, item->ImageIndex(), item->Caption(),
                       item->Spacing());
}
