// Where the process may load DLLs from. An elevated program started from a folder that other
// programs can write must never load a DLL planted there.
#pragma once

#include <windows.h>

namespace bootdeck {

// From now on DLLs load from the system folder only (Windows 7 with KB2533623 and later), or at
// least no longer from the current folder (Windows XP SP1 and later). Both functions are looked
// up at run time: neither may be an import where the program must start on systems without them.
inline void loadDllsFromSystemFolderOnly() {
  constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel)
    return;
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI *)(DWORD);
  using SetDllDirectoryFunction = BOOL(WINAPI *)(LPCWSTR);
  const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void *>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDirectories && setDefaultDirectories(kSearchSystem32))
    return;
  const auto setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
      reinterpret_cast<void *>(GetProcAddress(kernel, "SetDllDirectoryW")));
  if (setDllDirectory)
    setDllDirectory(L"");
}

} // namespace bootdeck
