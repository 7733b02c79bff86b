// The one place that includes the Windows SDK. Every framework, library and program file
// reaches the Windows API through this header, so the function-renaming macros of
// <windows.h> are dealt with the same way everywhere.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <algorithm>
#include <windows.h>
#include <windowsx.h>
#include <objidl.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>
#include <dwmapi.h>
#include <shellapi.h>
#include <shellscalingapi.h>

// GDI+ wants min and max; with NOMINMAX it gets the standard ones.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

// Our classes have methods with these names (TCanvas::TextOut, TCanvas::DrawText ...);
// call the Windows functions by their W names.
#undef DrawText
#undef TextOut
#undef GetObject
#undef CreateWindow
#undef SendMessage
#undef PostMessage
#undef LoadBitmap
#undef GetClassName
#undef FindWindow
#undef LoadCursor
#undef LoadIcon
#undef CreateFont
#undef GetMessage
#undef DispatchMessage
#undef RegisterClass
#undef MessageBox
#undef DrawTextEx
#undef GetCharWidth
#undef LoadImage
#undef CopyImage
#undef DrawState
#undef GetRValue
#undef GetGValue
#undef GetBValue

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DWMNCRENDERINGCHANGED
#define WM_DWMNCRENDERINGCHANGED 0x031F
#endif
