// What the picture-making tools share: their wide command line, the output folder as a path
// prefix, and writing a picture as PNG with a line saying so.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "framework/Graphics.h"
#include "framework/PngImage.h"

namespace shots {

// The command line's arguments as the system gives them, not narrowed to a code page.
inline std::vector<String> Arguments() {
  std::vector<String> result;
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (args == nullptr) return result;
  for (int i = 0; i < count; ++i) result.emplace_back(args[i]);
  ::LocalFree(args);
  return result;
}

// Folder with a separator at its end, so that a file name can follow it.
inline String FolderPrefix(String Folder) {
  if (!Folder.empty() && Folder.back() != L'\\' && Folder.back() != L'/') Folder += L'\\';
  return Folder;
}

inline void SavePicture(TBitmap* Picture, const String& Path) {
  TPngImage png;
  png.Assign(Picture);
  png.SaveToFile(Path);
  std::wprintf(L"wrote %ls (%d x %d)\n", Path.c_str(), Picture->Width(), Picture->Height());
  std::fflush(stdout);
}

}  // namespace shots
