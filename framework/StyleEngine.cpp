// The style engine's hooks: the registry by class name, attaching hooks to framework windows
// (at window creation, and in place when a control's style changes) and to windows of system
// classes (by subclassing them while the application's style is custom), the engine's own
// handling of framework windows (background through the style, dark captions, following the
// system's app mode), and the restyling of every window after a style switch.
#include <algorithm>
#include <set>
#include <unordered_map>

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/StyleInternal.h"

namespace {

// What is attached where. Touched on the user-interface thread only (windows are styled by
// the thread that owns them); never destroyed, as windows may go while the process ends.
struct TAttachments {
  std::unordered_map<HWND, TObject*> Hooks;
  // System windows we subclassed, with the procedure they had.
  std::unordered_map<HWND, WNDPROC> SysProcs;
  // Top-level windows given the dark caption.
  std::set<HWND> DarkFrames;
  HHOOK CbtHook = nullptr;
};

TAttachments& Attachments() {
  static auto* state = new TAttachments();
  return *state;
}

void FreeHook(TObject* Hook) {
  if (Hook != nullptr) Hook->Free();
}

TObject* TakeHook(HWND Wnd) {
  auto& hooks = Attachments().Hooks;
  auto it = hooks.find(Wnd);
  if (it == hooks.end()) return nullptr;
  TObject* hook = it->second;
  hooks.erase(it);
  return hook;
}

bool DispatchToHook(HWND Wnd, TMessage& Message) {
  auto& hooks = Attachments().Hooks;
  if (hooks.empty()) return false;
  auto it = hooks.find(Wnd);
  if (it == hooks.end()) return false;
  auto* hook = dynamic_cast<TStyleHook*>(it->second);
  return hook != nullptr && hook->HandleMessage(Message);
}

// ---- Dark captions ---------------------------------------------------------------------------

bool IsTopLevel(HWND Wnd) { return (::GetWindowLongW(Wnd, GWL_STYLE) & WS_CHILD) == 0; }

void ApplyDarkFrame(HWND Wnd, bool Dark) {
  auto& dark = Attachments().DarkFrames;
  if ((dark.count(Wnd) != 0) == Dark) return;
  if (Dark)
    dark.insert(Wnd);
  else
    dark.erase(Wnd);
  if (TStyleManager::TDarkFrameHandler handler = TStyleManager::DarkFrameHandler()) handler(Wnd, Dark);
}

// ---- Framework windows -----------------------------------------------------------------------

TStyleHookClass WantedHook(TWinControl* Control) {
  if (!IsCustomStyleActive(Control)) return TStyleHookClass();
  return TStyleManager::Engine().FindStyleHook(Control->ClassName());
}

void AttachHook(TWinControl* Control) {
  const TStyleHookClass hookClass = WantedHook(Control);
  if (!hookClass || Attachments().Hooks.count(Control->WindowHandle()) != 0) return;
  if (TObject* hook = hookClass.Create(Control)) Attachments().Hooks[Control->WindowHandle()] = hook;
}

// Brings the control's hook in line with the style that draws it now. Forms are re-created
// (their hook shapes the frame from the window's creation on); other controls change in place.
void SyncHook(TWinControl* Control) {
  HWND h = Control->WindowHandle();
  if (h == nullptr) return;
  const bool wanted = static_cast<bool>(WantedHook(Control));
  const bool attached = Attachments().Hooks.count(h) != 0;
  if (wanted == attached) return;
  if (dynamic_cast<TCustomForm*>(Control) != nullptr && !Control->ComponentState().Contains(csDestroying)) {
    Control->RecreateWnd();
    return;
  }
  if (attached)
    FreeHook(TakeHook(h));
  else
    AttachHook(Control);
}

// Forms and other framework windows whose colour is a system colour show it as the style
// shows it (the form's own painting knows only the operating system's colours).
bool EraseThroughStyle(TWinControl* Control, TMessage& Message) {
  if (!Control->StyleElements().Contains(seClient)) return false;
  const uint32_t color = static_cast<uint32_t>(Control->Color());
  if ((color & 0xFF000000u) != 0xFF000000u || !IsCustomStyleActive(Control)) return false;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return false;
  TBrushHandle brush(::CreateSolidBrush(static_cast<COLORREF>(StyleServices(Control)->ColorToRGB(Control->Color()))));
  RECT r = Control->ClientRect();
  ::FillRect(dc, &r, brush.Get());
  Message.Result = 1;
  return true;
}

bool IsImmersiveColorChange(const TMessage& Message) {
  const auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
  return text != nullptr && SameText(text, L"ImmersiveColorSet");
}

// ---- System windows --------------------------------------------------------------------------

LRESULT CALLBACK SysWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto& a = Attachments();
  auto proc = a.SysProcs.find(Wnd);
  const WNDPROC previous = proc != a.SysProcs.end() ? proc->second : ::DefWindowProcW;
  TMessage m{Msg, WParam, LParam, 0};
  bool handled = false;
  try {
    handled = Msg != WM_NCDESTROY && DispatchToHook(Wnd, m);
  } catch (...) {
    // Exceptions cannot unwind through the system's frames; the window's own procedure
    // answers instead.
    handled = false;
  }
  if (handled) return m.Result;
  const LRESULT result = ::CallWindowProcW(previous, Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) {
    a.SysProcs.erase(Wnd);
    FreeHook(TakeHook(Wnd));
  }
  return result;
}

String WindowClassName(HWND Wnd) {
  wchar_t name[256] = {};
  const int n = ::GetClassNameW(Wnd, name, 256);
  return String(name, static_cast<size_t>(std::max(n, 0)));
}

// Framework windows get their hooks through their controls; their classes all start so.
// (While a window is being made its control is not known yet, so the class tells.)
bool IsFrameworkWindow(HWND Wnd) { return WindowClassName(Wnd).rfind(L"Ka.", 0) == 0; }

void AttachSysHook(HWND Wnd) {
  auto& a = Attachments();
  if (a.Hooks.count(Wnd) != 0 || IsFrameworkWindow(Wnd)) return;
  const TStyleHookClass hookClass = TStyleManager::Engine().FindStyleHook(WindowClassName(Wnd));
  if (!hookClass) return;
  TSysWindow window(Wnd);
  TObject* hook = hookClass.Create(&window);
  if (hook == nullptr) return;
  a.Hooks[Wnd] = hook;
  if (a.SysProcs.count(Wnd) == 0)
    a.SysProcs[Wnd] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SysWndProc)));
}

void DetachSysHook(HWND Wnd) {
  auto& a = Attachments();
  FreeHook(TakeHook(Wnd));
  auto proc = a.SysProcs.find(Wnd);
  if (proc == a.SysProcs.end()) return;
  // Someone who subclassed the window after us still calls our procedure: it then forwards
  // until the window goes.
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(Wnd, GWLP_WNDPROC)) == &SysWndProc) {
    ::SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc->second));
    a.SysProcs.erase(proc);
  }
}

LRESULT CALLBACK CbtProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_CREATEWND) {
    try {
      AttachSysHook(reinterpret_cast<HWND>(WParam));
    } catch (...) {
      // A hook that cannot be made leaves the window as the system draws it.
    }
  }
  return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

BOOL CALLBACK CollectWindow(HWND W, LPARAM P) {
  reinterpret_cast<std::vector<HWND>*>(P)->push_back(W);
  return TRUE;
}

std::vector<HWND> ThreadTopWindows() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

// ---- Registry --------------------------------------------------------------------------------

void TStyleEngine::RegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass) {
  if (ClassName.empty() || !HookClass)
    throw EInvalidOperation(L"A style hook needs a class name and a hook class");
  std::lock_guard<std::mutex> lock(FLock);
  auto& hooks = FHooks[LowerCase(ClassName)];
  if (std::find(hooks.begin(), hooks.end(), HookClass) != hooks.end())
    throw EInvalidOperation(Format(L"Style hook %ls is already registered for %ls", HookClass.Name().c_str(),
                                   ClassName.c_str()));
  hooks.push_back(HookClass);
}

bool TStyleEngine::UnRegisterStyleHook(const String& ClassName, const TStyleHookClass& HookClass) {
  std::lock_guard<std::mutex> lock(FLock);
  auto entry = FHooks.find(LowerCase(ClassName));
  if (entry == FHooks.end()) return false;
  auto& hooks = entry->second;
  auto it = std::find(hooks.begin(), hooks.end(), HookClass);
  if (it == hooks.end()) return false;
  hooks.erase(it);
  if (hooks.empty()) FHooks.erase(entry);
  return true;
}

TStyleHookClass TStyleEngine::FindStyleHook(const String& ClassName) const {
  std::lock_guard<std::mutex> lock(FLock);
  auto entry = FHooks.find(LowerCase(ClassName));
  if (entry == FHooks.end() || entry->second.empty()) return TStyleHookClass();
  return entry->second.back();
}

TObject* TStyleEngine::AttachedHook(HWND Wnd) const {
  auto& hooks = Attachments().Hooks;
  auto it = hooks.find(Wnd);
  return it != hooks.end() ? it->second : nullptr;
}

// ---- Messages of framework windows -----------------------------------------------------------

bool TStyleEngine::HandleMessage(TWinControl* Control, TMessage& Message) {
  HWND h = Control->WindowHandle();
  switch (Message.Msg) {
    case WM_NCCREATE:
      if (h != nullptr) AttachHook(Control);
      break;
    case WM_CREATE:
      if (h != nullptr && IsTopLevel(h) && StyleServices(Control)->IsDark()) ApplyDarkFrame(h, true);
      break;
    case CM_STYLECHANGED:
      if (h == nullptr) break;
      SyncHook(Control);
      h = Control->WindowHandle();
      if (h != nullptr && IsTopLevel(h)) ApplyDarkFrame(h, StyleServices(Control)->IsDark());
      if (h != nullptr) ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      break;
    case WM_SETTINGCHANGE:
      if (IsImmersiveColorChange(Message)) StyleManagerApplyAppMode();
      break;
    default:
      break;
  }
  if (h != nullptr && DispatchToHook(h, Message)) return true;
  if (Message.Msg == WM_NCDESTROY && h != nullptr) {
    FreeHook(TakeHook(h));
    Attachments().DarkFrames.erase(h);
  }
  if (Message.Msg == WM_ERASEBKGND && h != nullptr) return EraseThroughStyle(Control, Message);
  return false;
}

// ---- Restyling -------------------------------------------------------------------------------

void StyleEngineSyncSystemWindows() {
  auto& a = Attachments();
  const bool custom = TStyleManager::IsCustomStyleActive();
  if (custom && a.CbtHook == nullptr)
    a.CbtHook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
  if (!custom && a.CbtHook != nullptr) {
    ::UnhookWindowsHookEx(a.CbtHook);
    a.CbtHook = nullptr;
  }
  for (HWND w : ThreadTopWindows()) {
    if (IsFrameworkWindow(w)) continue;
    // A hook that belongs to another kind of window (its class lost its registration) goes
    // too.
    if (custom)
      AttachSysHook(w);
    else if (a.Hooks.count(w) != 0 || a.SysProcs.count(w) != 0)
      DetachSysHook(w);
    if (a.Hooks.count(w) != 0 || !custom) ::InvalidateRect(w, nullptr, TRUE);
  }
}

void StyleEngineRestyle(TCustomStyleServices*, TCustomStyleServices*) {
  // The windows first, then their controls: re-creating a form gives new handles to its
  // children, so controls are reached through the tree, not through handles found earlier.
  std::vector<TWinControl*> tops;
  for (HWND w : ThreadTopWindows())
    if (TWinControl* c = TWinControl::FindControl(w)) tops.push_back(c);
  for (TWinControl* c : tops) c->Perform(CM_STYLECHANGED);
  for (TWinControl* c : tops)
    if (HWND h = c->WindowHandle())
      ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  StyleEngineSyncSystemWindows();
}
