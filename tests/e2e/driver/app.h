// Drives a running bootdeck.exe as a person would: started from a folder of its own with a given
// environment, its windows found by class, its controls by id, message boxes read and answered.
#pragma once

#include "platform/scoped.h"
#include "tests/e2e/driver/wait.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

// Variables to set (or, with an empty value, to remove) in the program's environment.
using Environment = std::map<std::string, std::string>;

// The executable under test: BOOTDECK_E2E_EXE, a Windows path or a host path under Wine's Z:.
std::string bootdeckExe();
// A path given by the environment variable `name`, turned into a Windows path.
std::string pathFromEnvironment(const char *name);

class MessageBoxView {
public:
  explicit MessageBoxView(HWND box) : box_(box) {}
  HWND hwnd() const { return box_; }
  std::string title() const;
  std::string text() const;         // the prompt, read through the box's text control 0xFFFF
  std::vector<int> buttons() const; // ids of its buttons (IDOK, IDCANCEL, IDYES ...), in order
  bool hasIcon() const;
  void answer(int buttonId) const; // presses the button
  void close() const;              // the close box

private:
  HWND box_;
};

class App {
public:
  // Copies `exe` into `folder` and starts it there; everything it starts ends with this object.
  App(const std::string &exe, const std::string &folder, const Environment &environment = {});
  App(const App &) = delete;
  App &operator=(const App &) = delete;
  ~App();

  DWORD processId() const { return processId_; }
  bool running() const;
  // True when the process ended within `timeout`; its exit code goes to `exitCode`.
  bool waitForExit(DWORD *exitCode, Milliseconds timeout = kTimeout) const;

  // A visible top-level window of the process with this class; null after `timeout`.
  HWND waitForWindow(const wchar_t *className, Milliseconds timeout = kTimeout) const;
  HWND findWindow(const wchar_t *className) const;
  // The message box (#32770) of the process; nullptr box after `timeout`.
  MessageBoxView waitForMessageBox(Milliseconds timeout = kTimeout) const;

  // The control with keyboard focus in the process's window thread.
  HWND focus() const;

private:
  bootdeck::ScopedHandle job_;
  bootdeck::ScopedHandle process_;
  DWORD processId_ = 0;
};

// Every top-level window of the process with this class, shown or hidden, topmost first.
std::vector<HWND> windowsOfClass(DWORD processId, const wchar_t *className);

HWND control(HWND window, int id);
std::string text(HWND window);
std::string className(HWND window);
bool checked(HWND button);
// The rectangle of `child` in its parent's client area.
RECT childRect(HWND child);
// Presses a button (or option button, or check box) as a click does.
void press(HWND button);
// Picks item `index` of a drop-down list as a person does: the selection, then its notification.
void pick(HWND combo, int index);
std::vector<std::string> items(HWND combo);
int selectedIndex(HWND combo);
// Posts a key press to `window`, as the keyboard would deliver it there.
void pressKey(HWND window, WORD virtualKey);
// Waits until the thread of `edit` (a single-line edit box) has handled the messages posted to it
// so far, and those that their handling posted in turn: a marker selection is posted behind
// them, twice. False when the time runs out.
bool drainPostedMessages(HWND edit, Milliseconds timeout = kTimeout);

} // namespace e2e
