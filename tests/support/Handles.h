// Counts of the process's GDI objects and of the thread's windows, for leak tests.
#pragma once

#include "framework/Platform.h"

// GDI objects alive in the process. Wine does not implement GetGuiResources; there a
// handle's low word alone finds a live entry, so every low word is probed instead.
inline int GdiObjectCount() {
  ::SetLastError(0);
  DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  int count = 0;
  for (ULONG_PTR i = 1; i < 0x10000; ++i)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++count;
  return count;
}

// Windows (top-level and children) that belong to this thread.
inline int ThreadWindowCount() {
  struct Counter {
    static BOOL CALLBACK Child(HWND, LPARAM p) {
      ++*reinterpret_cast<int*>(p);
      return TRUE;
    }
    static BOOL CALLBACK Top(HWND w, LPARAM p) {
      ++*reinterpret_cast<int*>(p);
      ::EnumChildWindows(w, Child, p);
      return TRUE;
    }
  };
  int n = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), Counter::Top, reinterpret_cast<LPARAM>(&n));
  return n;
}
