#include "tests/e2e/driver/screen.h"

#include "platform/scoped.h"

#include <algorithm>

namespace e2e {

int screenDpi() {
  bootdeck::ScopedScreenDc screen;
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

ClientPixels::ClientPixels(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  width_ = client.right;
  height_ = client.bottom;
  if (width_ <= 0 || height_ <= 0)
    return;

  bootdeck::ScopedScreenDc screen;
  bootdeck::ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
  bootdeck::ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.get(), width_, height_));
  const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), origin.x, origin.y, SRCCOPY);
  SelectObject(memory.get(), old);

  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = -height_; // top row first
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::vector<RGBQUAD> rows(static_cast<size_t>(width_) * height_);
  GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(height_),
            rows.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
  pixels_.reserve(rows.size());
  for (const RGBQUAD &q : rows)
    pixels_.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
}

int ClientPixels::count(COLORREF colour, int width, int height) const {
  int found = 0;
  for (int y = 0; y < std::min(height, height_); ++y)
    for (int x = 0; x < std::min(width, width_); ++x)
      found += at(x, y) == colour;
  return found;
}

} // namespace e2e
