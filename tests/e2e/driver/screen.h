// What a person sees of a window: the screen's pixels over it, read from the screen because
// another process's window cannot be asked to draw itself (PrintWindow draws nothing under Wine).
#pragma once

#include <windows.h>

#include <vector>

namespace e2e {

// The screen's dots per inch, which the program scales its twips to.
int screenDpi();

// The screen's pixels over the client area of `window`, read once when made.
class ClientPixels {
public:
  explicit ClientPixels(HWND window);

  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // How many pixels within the first `width` x `height` have `colour`.
  int count(COLORREF colour, int width, int height) const;
  int count(COLORREF colour) const { return count(colour, width_, height_); }

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

} // namespace e2e
