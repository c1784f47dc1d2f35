#include "tests/e2e/driver/screenshot.h"

#include "platform/scoped.h"
#include "platform/utf.h"

#include <windows.h>

#include <vector>

namespace e2e {

bool saveScreenshot(const std::string &path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  bootdeck::ScopedScreenDc screen;
  if (!screen.get())
    return false;
  bootdeck::ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
  bootdeck::ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  SelectObject(memory.get(), old);

  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<unsigned char> pixels(stride * static_cast<DWORD>(height));
  GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(height),
            pixels.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  bootdeck::ScopedFile out(CreateFileW(bootdeck::widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.valid())
    return false;
  DWORD written = 0;
  return WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
         WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

} // namespace e2e
