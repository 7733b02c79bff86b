// The style engine's parts shared between its files; not for use outside the framework.
#pragma once

#include "framework/Themes.h"

inline constexpr wchar_t kSystemStyleName[] = L"Windows";

// The system style's object (made on first use, never destroyed).
TCustomStyleServices* SystemStyleServices();

// Which face of a custom style an element shows, and in which of its four states
// (0 normal, 1 hot, 2 pressed or selected, 3 disabled or inactive).
struct TFlatLook {
  const TStyleFace* Face = nullptr;
  int Column = 0;
};
TFlatLook FlatLook(const TStyleDescription& Style, const TThemedElementDetails& Details);
// Draws an element of a custom style at Scale (1 at 96 DPI); the DC's state is the caller's
// to keep.
void FlatDrawElement(const TStyleDescription& Style, HDC DC, const TThemedElementDetails& Details, const TRect& R,
                     double Scale);

// Where a caption button (close, maximise, restore, minimise, help) of a custom style sits in
// a caption's bounds: right-aligned slots one button wide, close first; false for other
// elements.
bool FlatCaptionButtonRect(const TStyleDescription& Style, const TThemedElementDetails& Details, const TRect& Bounds,
                           TRect& Rect, int DPI);

// The engine's side of a style switch: re-hook, notify, re-frame and repaint every window of
// the program. Old may equal New (a control's StyleName changed).
void StyleEngineRestyle(TCustomStyleServices* Old, TCustomStyleServices* New);
// Keeps system-window hooking (a thread hook for new windows, hooks on those that exist) in
// step with whether the application's style is custom.
void StyleEngineSyncSystemWindows();
// Shows the dark or light style chosen for following the system's app mode, as the system
// asks now; nothing while not following.
void StyleManagerApplyAppMode();
