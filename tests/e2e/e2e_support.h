// The end-to-end driver: bootdeck.exe started from a fresh folder on disk images of the test's
// own, its windows, controls and message boxes driven as a person would, the command lines it ran
// (COMSPEC is a logging stand-in) and the installer tool's console read.
#pragma once

#include <windows.h>

#include "app/control_ids.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using Ms = std::chrono::milliseconds;
// Generous: a start of the 32-bit build under the emulator, on a loaded machine, takes tens of
// seconds, and a wait that succeeds ends as soon as its condition holds.
constexpr Ms kTimeout{90000};

// Polls `condition` until it holds (true) or the time runs out (false); no test waits blindly.
bool waitUntil(const std::function<bool()> &condition, Ms timeout = kTimeout);

std::string envPath(const char *name); // a host path made one under Wine's drive Z:
// The whole file, or its first `limit` bytes.
std::string readFile(const std::string &path, size_t limit = SIZE_MAX);
// A disk image's fingerprint: a 32-bit driver cannot hold two 64 MB images in memory.
std::uint64_t digest(const std::string &path);
void writeFile(const std::string &path, const std::string &bytes);
std::vector<std::string> entries(const std::string &folder); // names, sorted
std::vector<std::string> lines(const std::string &text);     // split at CR LF
std::string backupName(int item); // today's short date made a file name, "-", the item
std::string text(HWND window);
void setText(HWND window, const std::string &text);
bool checked(HWND button);
void press(HWND button); // as a click does
void setChecked(HWND button, bool wanted);
void pick(HWND combo, int index); // the selection, then its notification
std::vector<std::string> items(HWND combo);
void pressKey(HWND window, WORD key);
std::vector<std::string> compose(HWND main); // Nowstate; then the result box's lines
// The summary of an install of MTLDR with every advanced option at its default.
std::vector<std::string> defaultSummary(const std::string &folder, const std::string &item,
                                        int itemNumber);

// The logging stand-in for the command interpreter, copied into the system folder (the only
// place from which a ComSpec is honoured); and how every command line it logs begins.
std::string systemFolderLogger();
std::string interpreterCall(); // quoted logger, " /D /c "

// A message box: "title|prompt|buttons", the default button's id marked "*", then "|icon".
struct Box {
  HWND hwnd = nullptr;
  std::string describe() const;
  void answer(int id) const; // the button; 0 for the close box
};

// A fresh folder for bootdeck.exe, `name` (may hold blanks and further levels), in a unique
// parent folder that also holds the device map, the command log and copies of disk images; both
// removed afterwards. A drive's root ("R:\") is used as it is.
class Folder {
public:
  explicit Folder(const std::string &name);
  Folder(const Folder &) = delete;
  Folder &operator=(const Folder &) = delete;
  ~Folder();
  const std::string &path() const { return path_; }
  const std::string &parent() const { return parent_; }
  // A prepared image ("plain" 15 MB, "small" 48 MB, "huge" 3072 GB), or a copy of it to write to.
  static std::string image(const char *kind);
  std::string copy(const char *kind, const std::string &name) const;
  void map(const std::vector<std::pair<int, std::string>> &disks) const; // "(hdN) image" lines
  std::vector<std::string> commands() const; // given to the command interpreter, oldest first

private:
  std::string parent_, path_;
};

class App {
public:
  // Starts a copy of bootdeck.exe in the folder, from the parent folder (the tools must run in
  // the application folder all the same), with COMSPEC set to `comSpec`.
  explicit App(const Folder &folder, const std::string &comSpec = systemFolderLogger());
  App(const App &) = delete;
  App &operator=(const App &) = delete;
  ~App(); // ends the process and everything it started

  bool running() const;
  DWORD exitCode() const;                                    // waits for the end
  HWND window(const wchar_t *className) const;               // waits for a shown top-level window
  std::vector<HWND> windows(const wchar_t *className) const; // shown or hidden
  HWND main() const { return window(BOOTDECK_MAIN_CLASS); }
  Box box() const { return Box{window(L"#32770")}; }
  HWND focus() const;
  HWND tab() const;  // presses Tab in the focused control; the control focused then
  void sync() const; // returns once the window thread has handled what was posted before
  // Waits for the installer tool's console to show `awaited` (by default: it waits for its key
  // after its report); returns the console.
  std::string toolScreen(const char *awaited = "按任意键退出") const;
  // Types one key into the installer tool's console, as a person answering it does.
  void typeToTool(wchar_t key) const;
  // Ends the waiting tool (its work is done); true once nothing the program started runs.
  bool endTool() const;

private:
  void start(const Folder &folder, const std::string &comSpec);
  void stop();
  bool lostAProcessAtStart() const; // after the start settled: shown main window, box or end
  std::vector<DWORD> processes(std::initializer_list<const wchar_t *> names) const;

  HANDLE job_ = nullptr, process_ = nullptr;
  DWORD thread_ = 0; // the window thread
};

// A control as a person should see it: caption, and place in twips within the client area or
// within the frame `in`.
struct ControlRow {
  int id;
  std::string caption;
  int left, top, width, height;
  int in = 0;
};
// Checks the title, the fixed client size, the centred place and each control.
void expectWindow(HWND window, const char *title, int width, int height,
                  const std::vector<ControlRow> &rows);
// Tabs from the focused control around to it again: the ids met, the first one first. `atEach`
// runs in each control before the Tab.
std::vector<int> tabCycle(const App &app, const std::function<void(HWND)> &atEach = {});

} // namespace e2e
