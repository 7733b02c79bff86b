// Opening and closing the combo box's list, what closes it (a press outside, focus loss, the
// form moving, keys), the filter in front of the list's window procedure, and the combo box's
// mouse, wheel and keys.
#include <algorithm>

#include "framework/Forms.h"
#include "lib/kaAdvancedControls/kaAdvancedComboBox.h"
#include "lib/kaAdvancedControls/kaScrollBar.h"
#include "lib/kaControls/kaFlagScope.h"

namespace {

// One list is open at a time in the whole library: its combo box hears of every press on the
// desktop through one low-level mouse hook.
HHOOK gMouseHook = nullptr;
TkaAdvancedCustomComboBox* gDroppedCombo = nullptr;

LRESULT CALLBACK DropDownMouseHook(int Code, WPARAM WParam, LPARAM LParam) {
  const HHOOK hook = gMouseHook;
  if (Code == HC_ACTION && (WParam == WM_LBUTTONDOWN || WParam == WM_RBUTTONDOWN) && gDroppedCombo != nullptr &&
      gDroppedCombo->HandleAllocated()) {
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(LParam);
    const HWND under = ::WindowFromPoint(info->pt);
    ::SendMessageW(gDroppedCombo->WindowHandle(), WM_DROPDOWNMOUSEDOWN, reinterpret_cast<WPARAM>(under), 0);
  }
  return ::CallNextHookEx(hook, Code, WParam, LParam);
}

}  // namespace

// The form the combo box is on, watched while the list is open: when it moves, the list would
// be left behind, so it closes.
struct TkaAdvancedCustomComboBox::TFormWatch {
  TkaAdvancedCustomComboBox* Combo = nullptr;
  TCustomForm* Form = nullptr;
  TWndMethod Old;
};

struct TkaAdvancedCustomComboBox::TFormWatchHook {
  std::shared_ptr<TFormWatch> W;
  void operator()(TMessage& Message) const;
};

// ---- Hooks ----------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::InstallHooks() {
  if (gMouseHook != nullptr) ::UnhookWindowsHookEx(gMouseHook);
  gMouseHook = ::SetWindowsHookExW(WH_MOUSE_LL, DropDownMouseHook, ::GetModuleHandleW(nullptr), 0);
  gDroppedCombo = this;
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || FFormWatch) return;
  auto watch = std::make_shared<TFormWatch>();
  watch->Combo = this;
  watch->Form = form;
  watch->Old = form->WindowProc;
  form->WindowProc = TFormWatchHook{watch};
  FFormWatch = std::move(watch);
}

void TkaAdvancedCustomComboBox::RemoveHooks() {
  if (gDroppedCombo == this) {
    gDroppedCombo = nullptr;
    if (gMouseHook != nullptr) ::UnhookWindowsHookEx(gMouseHook);
    gMouseHook = nullptr;
  }
  if (!FFormWatch) return;
  const std::shared_ptr<TFormWatch> watch = std::move(FFormWatch);
  watch->Combo = nullptr;
  // A procedure hooked in after ours keeps ours as its previous one: ours then stays in the
  // chain and only passes messages on.
  const TFormWatchHook* top = watch->Form->WindowProc.target<TFormWatchHook>();
  if (top != nullptr && top->W == watch) watch->Form->WindowProc = watch->Old;
}

void TkaAdvancedCustomComboBox::TFormWatchHook::operator()(TMessage& Message) const {
  // Closing puts the form's procedure back, which would end this very call: it is asked for
  // once the move has been handled.
  const auto watch = W;
  watch->Old(Message);
  if (Message.Msg == WM_MOVE && watch->Combo != nullptr && watch->Combo->HandleAllocated())
    ::PostMessageW(watch->Combo->WindowHandle(), WM_DROPDOWNMOUSEDOWN,
                   reinterpret_cast<WPARAM>(watch->Form->WindowHandle()), 0);
}

bool TkaAdvancedCustomComboBox::IsOwnWindow(HWND Window) const {
  if (Window == nullptr) return false;
  if (HandleAllocated() && Window == WindowHandle()) return true;
  if (!FListBox->HandleAllocated()) return false;
  const HWND list = FListBox->WindowHandle();
  return Window == list || ::IsChild(list, Window);
}

// ---- Opening --------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::PrepareListBox() {
  FListBox->OnDrawItem = OnListBoxDrawItem ? OnListBoxDrawItem : OnDrawItem;
  FListBox->SetFont(Font());
  FListBox->SetColor(Color());
  FListBox->SetBiDiMode(BiDiMode());
  FListBox->SetStyleElements(StyleElements());
  FListBox->SetWallpapers(FListBoxWallpapers);
  FListBox->SetCustomImages(FCustomImages);
  FListBox->SetWallpaperIndex(FListBoxWallpaperIndex);
}

int TkaAdvancedCustomComboBox::DropDownHeight() {
  if (FListBoxHeight > 0) return FListBoxHeight;
  if (FDropDownCount <= 0) return FListBox->Height();
  // Header rows count as full rows; the rest is the list's border.
  const int border = FListBox->Height() - FListBox->GetContentRect().Height();
  return std::min(Items()->Count(), FDropDownCount) * FListBox->ItemHeight() + border;
}

TPoint TkaAdvancedCustomComboBox::DropDownOrigin(int ListWidth, int ListHeight) {
  const int x = FDropDownPosition == kadpLeft ? Left() : Left() + Width() - ListWidth;
  TPoint p = Parent()->ClientToScreen(TPoint(x, Top() + Height()));
  const TRect work = Screen->MonitorFromWindow(Handle()).WorkareaRect();
  if (p.Y + ListHeight > work.Bottom) p.Y -= Height() + ListHeight;
  return p;
}

void TkaAdvancedCustomComboBox::DropDown() {
  if (Animation()) StopAnimation();
  if (FDropDown || Parent() == nullptr || Items()->Count() == 0) return;
  // Another combo box's list closes: one open list, one hook.
  if (gDroppedCombo != nullptr && gDroppedCombo != this) gDroppedCombo->CloseUp(false);
  WasInLB = false;
  StopAutoScroll();
  if (TNotifyEvent onDropDown = OnDropDown) onDropDown(this);
  // The handler may have emptied the list.
  if (Items()->Count() == 0 || ComponentState().Contains(csDestroying)) return;
  PrepareListBox();
  FOldItemIndex = FListBox->ItemIndex();
  FDropDown = true;
  RePaintControl();
  const int width = FListBoxWidth > 0 ? FListBoxWidth : Width();
  const int height = DropDownHeight();
  FListBox->SetBounds(FListBox->Left(), FListBox->Top(), width, height);
  FListBox->Show(DropDownOrigin(width, height));
  InstallHooks();
}

// ---- Closing --------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::HideList() {
  FListBox->Hide();
  FDropDown = false;
  FLBDown = false;
  WasInLB = false;
  if (MouseCapture()) SetMouseCapture(false);
}

void TkaAdvancedCustomComboBox::CloseUp(bool Value) {
  RemoveHooks();
  StopAutoScroll();
  if (!FListBox->Visible()) {
    FDropDown = false;
    return;
  }
  HideList();
  const int index = FListBox->ItemIndex();
  const bool accepted = FCheckedListMode || (Value && index >= 0 && index < Items()->Count());
  if (!accepted) {
    FListBox->InitItemIndex(FOldItemIndex);
    RePaintControl();
    return;
  }
  if (index != FOldItemIndex && CheckIsReadOnly()) {
    FListBox->InitItemIndex(FOldItemIndex);
    return;
  }
  RePaintControl();
  FireCloseEvents();
}

void TkaAdvancedCustomComboBox::FireCloseEvents() {
  if (ComponentState().Contains(csDesigning)) return;
  // Copies: a handler may replace the handlers.
  if (TNotifyEvent onCloseUp = OnCloseUp) onCloseUp(this);
  if (TNotifyEvent onClick = OnClick) onClick(this);
  Change();
}

bool TkaAdvancedCustomComboBox::CanCancelDropDown() {
  if (!FListBox->Visible()) return false;
  POINT p;
  if (!::GetCursorPos(&p)) return true;
  return !HandleAllocated() || ::WindowFromPoint(p) != WindowHandle();
}

void TkaAdvancedCustomComboBox::DestroyWnd() {
  // The list's window goes with this one: an open list is given up.
  if (FDropDown) {
    RemoveHooks();
    StopAutoScroll();
    HideList();
    FListBox->InitItemIndex(FOldItemIndex);
  }
  inherited::DestroyWnd();
}

// ---- The list's window procedure ------------------------------------------------------------

void TkaAdvancedCustomComboBox::ListBoxWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_LBUTTONDOWN: {
      // The row under the press is the one the release takes, as if the pointer had moved
      // there first (touch presses come without a move).
      TMessage move{WM_MOUSEMOVE, 0, Message.LParam, 0};
      FListBoxWindowProc(move);
      FLBDown = true;
      WasInLB = true;
      SetCaptureControl(this);
      return;
    }
    case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      return;
    default: FListBoxWindowProc(Message); return;
  }
}

// ---- Messages -------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      // Any press focuses the combo box first.
      if (!ComponentState().Contains(csDesigning) && !Focused() && CanFocus()) SetFocus();
      break;
    default: break;
  }
  inherited::WndProc(Message);
}

void TkaAdvancedCustomComboBox::Dispatch(TMessage& Message) {
  if (FListBox == nullptr || ComponentState().Contains(csDestroying)) {
    inherited::Dispatch(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); break;
    case WM_SYSKEYDOWN: {
      // Alt arrives in the key's own message, whatever the keyboard state says.
      FAltKey = (Message.LParam & (1 << 29)) != 0;
      struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
      } reset{FAltKey};
      inherited::Dispatch(Message);
      break;
    }
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      ShowFocusGained();
      FOldCtrlState = GetCtrlState();
      break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_DROPDOWNMOUSEDOWN:
      if (FDropDown && !IsOwnWindow(reinterpret_cast<HWND>(Message.WParam))) CloseUp(false);
      break;
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && FDropDown) CloseUp(false);
      Button.MouseIn = false;
      inherited::Dispatch(Message);
      break;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (Button.MouseIn) {
        Button.MouseIn = false;
        RePaintControl();
      }
      break;
    case WM_MOVE:
      // The control moved away from its open list.
      inherited::Dispatch(Message);
      if (FDropDown) CloseUp(false);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TkaAdvancedCustomComboBox::CMWantSpecialKey(TMessage& Message) {
  switch (Message.WParam) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: Message.Result = 1; break;
    // Enter and Escape belong to the open list, else to the form (default and cancel buttons).
    case VK_RETURN: case VK_ESCAPE: Message.Result = FDropDown ? 1 : 0; break;
    default: Message.Result = 0; break;
  }
}

void TkaAdvancedCustomComboBox::CMCancelMode(TMessage& Message) {
  const auto* sender = reinterpret_cast<const TControl*>(Message.LParam);
  if (!FDropDown) return;
  if (sender != nullptr &&
      (sender == this || sender == FListBox || sender == static_cast<const TControl*>(FListBox->VertScrollBar())))
    return;
  CloseUp(false);
}

void TkaAdvancedCustomComboBox::WMKillFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FDropDown) CloseUp(false);
  RePaintControl();
  FOldCtrlState = GetCtrlState();
}

void TkaAdvancedCustomComboBox::WMTimer(TMessage& Message) {
  if (Message.WParam == kaComboAutoScrollTimerID)
    AutoScrollTick();
  else if (Message.WParam == kaComboSearchTimerID)
    EndSearch();
  else
    inherited::Dispatch(Message);
}

void TkaAdvancedCustomComboBox::WMMouseWheel(TMessage& Message) {
  if (FCheckedListMode) {
    inherited::Dispatch(Message);
    return;
  }
  Message.Result = 0;
  const short delta = static_cast<short>(HIWORD(Message.WParam));
  const int row = delta <= 0 ? FListBox->FindNextIndex(ItemIndex()) : FListBox->FindPrevIndex(ItemIndex());
  if (row < 0) return;
  if (FDropDown)
    FListBox->InitItemIndex(row);
  else
    SetItemIndex(row);
}

// ---- Auto-scroll and search -----------------------------------------------------------------

void TkaAdvancedCustomComboBox::StartAutoScroll(int Mode) {
  if (FTimerMode == Mode || !HandleAllocated()) return;
  FTimerMode = Mode;
  ::SetTimer(WindowHandle(), kaComboAutoScrollTimerID, 50, nullptr);
}

void TkaAdvancedCustomComboBox::StopAutoScroll() {
  if (FTimerMode == 0) return;
  FTimerMode = 0;
  if (HandleAllocated()) ::KillTimer(WindowHandle(), kaComboAutoScrollTimerID);
}

void TkaAdvancedCustomComboBox::AutoScrollTick() {
  if (!FDropDown || !FLBDown || FTimerMode == 0) {
    StopAutoScroll();
    return;
  }
  const int current = FListBox->ItemIndex();
  const int row = FTimerMode == 1 ? FListBox->FindPrevIndex(current) : FListBox->FindNextIndex(current);
  if (row >= 0) FListBox->InitItemIndex(row);
}

void TkaAdvancedCustomComboBox::TypeSearch(wchar_t Key) {
  int row = -1;
  if (FAutoComplete) {
    FSearchString += Key;
    row = FListBox->FindSelectableByPrefix(FSearchString);
    if (HandleAllocated()) {
      ::SetTimer(WindowHandle(), kaComboSearchTimerID, 1000, nullptr);
      FSearchTimerEnabled = true;
    }
  } else {
    row = FListBox->NextIndex(String(1, Key));
  }
  CommitByKey(row);
}

void TkaAdvancedCustomComboBox::EndSearch() {
  if (FSearchTimerEnabled && HandleAllocated()) ::KillTimer(WindowHandle(), kaComboSearchTimerID);
  FSearchTimerEnabled = false;
  FSearchString.clear();
}

// ---- Mouse ----------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::MouseDown(TMouseButton AButton, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(AButton, Shift, X, Y);
  if (AButton != mbLeft) return;
  const TPoint p(X, Y);
  CalcFaceRects(FaceState(GetCtrlState(), Focused()));
  if (Button.MouseIn || Button.R.Contains(p) || CBItem.R.Contains(p) || FStyle != kacbCombo) {
    Button.Down = true;
    RePaintControl();
    if (!FDropDown) {
      WasInLB = false;
      FLBDown = true;
      DropDown();
    } else {
      CloseUp(false);
    }
  } else if (FDropDown) {
    CloseUp(false);
  }
}

void TkaAdvancedCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDropDown) {
    const bool in = Button.R.Contains(TPoint(X, Y));
    if (in != Button.MouseIn) {
      Button.MouseIn = in;
      RePaintControl();
    }
    return;
  }
  // With a press going on the pointer's moves come here: they are the list's.
  const TPoint lp = FListBox->ScreenToClient(ClientToScreen(TPoint(X, Y)));
  if (lp.Y < 0 || lp.Y > FListBox->Height()) {
    if (FListBox->VertScrollBar() != nullptr && WasInLB && FLBDown) StartAutoScroll(lp.Y < 0 ? 1 : 2);
    return;
  }
  StopAutoScroll();
  TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(lp.X, lp.Y), 0};
  FListBoxWindowProc(move);
  WasInLB = true;
  if (!FLBDown) {
    FLBDown = true;
    WasInLB = false;
  }
}

void TkaAdvancedCustomComboBox::MouseUp(TMouseButton AButton, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(AButton, Shift, X, Y);
  if (AButton != mbLeft) return;
  if (FLBDown && WasInLB) {
    FLBDown = false;
    if (MouseCapture()) SetMouseCapture(false);
    StopAutoScroll();
    const int index = FListBox->ItemIndex();
    if (FCheckedListMode && index >= 0 && index < Items()->Count()) {
      ToggleChecked();
    } else {
      const TPoint s = ClientToScreen(TPoint(X, Y));
      const bool overList = FListBox->HandleAllocated() && ::WindowFromPoint(POINT{s.X, s.Y}) == FListBox->WindowHandle();
      CloseUp(overList);
    }
  } else {
    FLBDown = false;
  }
  if (Button.Down) {
    Button.Down = false;
    RePaintControl();
  }
}

// ---- Keys -----------------------------------------------------------------------------------

void TkaAdvancedCustomComboBox::CommitByKey(int Index) {
  if (Index < 0) return;
  TkaFlagScope keys(FKeyHandling);
  SetItemIndex(Index);
}

void TkaAdvancedCustomComboBox::ToggleChecked() {
  const int index = FListBox->ItemIndex();
  if (index < 0 || index >= Items()->Count()) return;
  TkaAdvancedListItem* item = Items()->Items(index);
  item->SetChecked(!item->Checked());
  RePaintControl();
  if (TNotifyEvent onCheck = OnItemCheckClick) onCheck(this);
}

bool TkaAdvancedCustomComboBox::ListKey(WORD Key, bool Alt) {
  // In checked-list mode the moving keys belong to the open list only.
  const bool moves = !FCheckedListMode || FDropDown;
  switch (Key) {
    case VK_UP: case VK_LEFT:
      if (Alt) {
        if (FDropDown) CloseUp(false);
      } else if (moves) {
        CommitByKey(FListBox->FindPrevIndex(ItemIndex()));
      }
      return true;
    case VK_DOWN: case VK_RIGHT:
      if (Alt) {
        if (!FDropDown) DropDown();
      } else if (moves) {
        CommitByKey(FListBox->FindNextIndex(ItemIndex()));
      }
      return true;
    case VK_PRIOR:
      if (moves) CommitByKey(FListBox->FindPageUpIndex(ItemIndex()));
      return true;
    case VK_NEXT:
      if (moves) CommitByKey(FListBox->FindPageDownIndex(ItemIndex()));
      return true;
    case VK_F4:
      // F4 opens and closes as the platform's combo boxes do; Alt+F4 is the window's.
      if (Alt) return false;
      if (FDropDown)
        CloseUp(true);
      else
        DropDown();
      return true;
    case VK_RETURN: case VK_ESCAPE:
      if (!FDropDown) return false;
      CloseUp(Key == VK_RETURN);
      return true;
    case VK_SPACE:
      if (!FCheckedListMode || !FDropDown) return false;
      ToggleChecked();
      return true;
    default: return false;
  }
}

void TkaAdvancedCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != 0 && ListKey(Key, Shift.Contains(ssAlt) || FAltKey)) Key = 0;
}

void TkaAdvancedCustomComboBox::KeyPress(wchar_t& Key) {
  inherited::KeyPress(Key);
  if (Key > 33) TypeSearch(Key);
}
