// Alignment of a windowed control's children: alTop, alBottom, alLeft, alRight, then
// alClient, each group in the order of the controls' stored positions, inside the client
// rectangle less padding and AdjustClientRect; then anchors of unaligned children.
#include <algorithm>

#include "framework/Controls.h"

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AdjustClientRect(TRect& Rect) {
  Rect.Left += FPadding->Left();
  Rect.Top += FPadding->Top();
  Rect.Right -= FPadding->Right();
  Rect.Bottom -= FPadding->Bottom();
}

void TWinControl::DoPaddingChange() { Realign(); }

// Children are placed once there is a window to place them in: a tree built in code keeps
// its stored positions (which order same-aligned controls) until its handle is made.
void TWinControl::AlignControl(TControl* AControl) {
  if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  try {
    TRect r = ClientRect();
    AdjustClientRect(r);
    AlignControls(AControl, r);
  } catch (...) {
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    throw;
  }
  FControlState.Exclude(csAlignmentNeeded);
  EnableAlign();
}

namespace {

// Whether C1 goes before C2 in its alignment group, judged by stored position.
bool InsertBefore(const TControl* C1, const TControl* C2, TAlign AAlign) {
  switch (AAlign) {
    case alTop: return C1->Top() < C2->Top();
    case alBottom: return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
    case alLeft: return C1->Left() < C2->Left();
    case alRight: return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
    default: return false;
  }
}

bool IsAlignable(const TControl* c) {
  return c->Visible() && !c->ComponentState().Contains(csDestroying);
}

// Places one control at the edge of Rect and takes its room out of Rect.
void DoPosition(TControl* Control, TAlign AAlign, TRect& Rect) {
  TMargins* m = Control->Margins();
  int newWidth = Rect.Width();
  if (newWidth < 0 || AAlign == alLeft || AAlign == alRight) newWidth = m->ControlWidth();
  int newHeight = Rect.Height();
  if (newHeight < 0 || AAlign == alTop || AAlign == alBottom) newHeight = m->ControlHeight();
  int newLeft = Rect.Left, newTop = Rect.Top;
  switch (AAlign) {
    case alTop: Rect.Top += newHeight; break;
    case alBottom:
      Rect.Bottom -= newHeight;
      newTop = Rect.Bottom;
      break;
    case alLeft: Rect.Left += newWidth; break;
    case alRight:
      Rect.Right -= newWidth;
      newLeft = Rect.Right;
      break;
    default: break;
  }
  m->SetControlBounds(newLeft, newTop, newWidth, newHeight, true);
  // Constraints may have refused the size: give the difference back to the rest.
  int gotWidth = m->ControlWidth(), gotHeight = m->ControlHeight();
  if (gotWidth != newWidth || gotHeight != newHeight) {
    switch (AAlign) {
      case alTop: Rect.Top -= newHeight - gotHeight; break;
      case alBottom: Rect.Bottom += newHeight - gotHeight; break;
      case alLeft: Rect.Left -= newWidth - gotWidth; break;
      case alRight: Rect.Right += newWidth - gotWidth; break;
      default: break;
    }
  }
}

}  // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  std::vector<TControl*> list;
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    list.clear();
    if (AControl != nullptr && AControl->Parent() == this && AControl->Align() == align && IsAlignable(AControl))
      list.push_back(AControl);
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c == AControl || c->Align() != align || !IsAlignable(c)) continue;
      size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) DoPosition(c, align, Rect);
  }

  // Unaligned children anchored to the right or bottom keep their distance to that edge.
  TRect client = ClientRect();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() != alNone) continue;
    TAnchors a = c->Anchors();
    if (!c->FAnchorsValid || c == AControl) {
      c->FAnchorRight = client.Width() - (c->Left() + c->Width());
      c->FAnchorBottom = client.Height() - (c->Top() + c->Height());
      c->FAnchorsValid = true;
      continue;
    }
    if (!a.Contains(akRight) && !a.Contains(akBottom)) continue;
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft))
        w = client.Width() - c->FAnchorRight - l;
      else
        l = client.Width() - c->FAnchorRight - w;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop))
        h = client.Height() - c->FAnchorBottom - t;
      else
        t = client.Height() - c->FAnchorBottom - h;
    }
    int keepRight = c->FAnchorRight, keepBottom = c->FAnchorBottom;
    c->SetBounds(l, t, w, h);
    c->FAnchorRight = keepRight;
    c->FAnchorBottom = keepBottom;
    c->FAnchorsValid = true;
  }
}

void TWinControl::AdjustSize() {
  if (FParent != nullptr) FParent->AlignControl(this);
}
