#include "installer/win32_console_font.h"

namespace installer {

namespace {

// CONSOLE_FONT_INFOEX, which the SDKs declare only for Vista and later builds.
struct ConsoleFontInfo {
  ULONG cbSize;
  DWORD nFont;
  COORD dwFontSize;
  UINT FontFamily;
  UINT FontWeight;
  WCHAR FaceName[LF_FACESIZE];
};

using ConsoleFontCall = BOOL(WINAPI *)(HANDLE, BOOL, ConsoleFontInfo *);

// Through a generic function pointer: GetProcAddress's own type says nothing of the call.
ConsoleFontCall findConsoleFontCall(HMODULE kernel, const char *name) {
  return reinterpret_cast<ConsoleFontCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

bool isChineseCapableCodePage(UINT codePage) {
  return codePage == 936 || codePage == 950 || codePage == 54936 || codePage == 932 ||
         codePage == 949;
}

} // namespace

void preferChineseConsoleFont(HANDLE console) {
  if (isChineseCapableCodePage(GetConsoleOutputCP())) {
    return;
  }
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const ConsoleFontCall get = findConsoleFontCall(kernel, "GetCurrentConsoleFontEx");
  const ConsoleFontCall set = findConsoleFontCall(kernel, "SetCurrentConsoleFontEx");
  ConsoleFontInfo font = {};
  font.cbSize = sizeof font;
  if (get == nullptr || set == nullptr || !get(console, FALSE, &font)) {
    return;
  }
  font.nFont = 0;
  font.dwFontSize.X = 0;
  font.FontFamily = FF_MODERN | FIXED_PITCH;
  font.FontWeight = FW_NORMAL;
  lstrcpynW(font.FaceName, L"NSimSun", LF_FACESIZE);
  set(console, FALSE, &font);
}

} // namespace installer
