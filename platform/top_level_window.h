// The program's top-level windows stand for C++ objects: the window is made first, the object is
// attached to it once its controls exist, and one window procedure hands every later message to
// the object's handle(). A failure thrown there must not unwind through the system's frames, so
// the procedure hands it to the program's report instead.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace bootdeck {

// Registers `className` with `windowProc` (once) and creates a hidden window of it, titled
// `title`: fixed size with a caption and a close box, neither minimise nor maximise, no owner,
// sized for a client area given in twips and centred on the screen. Throws a Failure when the
// system refuses.
HWND createTopLevelWindow(const wchar_t *className, WNDPROC windowProc, const std::string &title,
                          int clientWidthTwips, int clientHeightTwips);

// From now on `object` receives the window's messages; detachWindowObject ends that, so the
// messages of a destruction that the object causes in its own destructor find nothing behind it.
void attachWindowObject(HWND window, void *object);
void detachWindowObject(HWND window);

// Detaches and destroys `window` unless it is gone already.
void destroyTopLevelWindow(HWND window);

// The object attached to `window`, or null.
void *windowObject(HWND window);

// The window procedure of windows that stand for objects of type Window, which offer
// `LRESULT handle(UINT, WPARAM, LPARAM)`. Messages before the object is attached go to
// DefWindowProcW.
template <typename Window, void (*endWithReport)(const std::exception &)>
LRESULT CALLBACK objectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *self = static_cast<Window *>(windowObject(hwnd));
  if (!self)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->handle(message, wParam, lParam);
  } catch (const std::exception &error) {
    endWithReport(error);
  }
  return 0;
}

} // namespace bootdeck
