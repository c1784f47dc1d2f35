// The main window: its controls, the platform objects it holds for the whole run and the
// dispatch of its events to the subsystems' handlers (app/main_window_events.cpp).
#pragma once

#include "platform/dialog_keys.h"
#include "platform/file_system.h"
#include "platform/process_runner.h"
#include "platform/scoped.h"
#include "platform/window_builder.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace bootdeck {

class MainWindow {
public:
  // Creates the window hidden, with all its controls in their initial state.
  MainWindow();
  MainWindow(const MainWindow &) = delete;
  MainWindow &operator=(const MainWindow &) = delete;
  ~MainWindow();

  HWND hwnd() const { return hwnd_; }
  HWND control(int id) const { return controls_->control(id); }

  // Start-up creates the process runner first, then the file system; both live as long as the
  // window object.
  void createPlatformObjects();
  ProcessRunner &processRunner() { return *processRunner_; }
  FileSystem &fileSystem() { return *fileSystem_; }

  // Keeps `file` open until the program ends.
  void holdFile(ScopedFile file) { heldFiles_.push_back(std::move(file)); }

  // The folder of the executable, read afresh at each call.
  std::string appFolder() const;

  // The command line of the latest completed composition; empty before the first one.
  const std::string &composedCommand() const { return composedCommand_; }
  void setComposedCommand(const std::string &command) { composedCommand_ = command; }

  // Shows the window and puts the focus on the disk list.
  void show(int showCommand);

  // The window's messages, from its window procedure.
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void dispatchCommand(int id, int notification, HWND control);

  HWND hwnd_ = nullptr;
  DialogKeyboard keyboard_;
  std::unique_ptr<WindowControls> controls_;
  std::unique_ptr<ProcessRunner> processRunner_;
  std::unique_ptr<FileSystem> fileSystem_;
  std::string composedCommand_;
  std::vector<ScopedFile> heldFiles_;
};

} // namespace bootdeck
