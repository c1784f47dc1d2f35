// What most end-to-end tests share: the environment of a normal start and the expected texts
// that depend on the day and the machine.
#pragma once

#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/temp_folder.h"

#include "platform/locale_text.h"
#include "platform/system_error.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

// A normal start's environment: the device map of the prepared disk image(s).
Environment deviceMapEnvironment();

// COMSPEC pointed at the logging stand-in, which appends each command line it gets to `log`.
Environment commandLoggerEnvironment(const std::string &log);
// The command lines the logging stand-in recorded, oldest first; none when there is no log.
std::vector<std::string> loggedCommands(const std::string &log);

// The main window of `app`, shown after a start-up that ran through; fails the test otherwise.
HWND mainWindowOf(const App &app);

// Checks the look every window of the program shares: a close box, neither minimise nor maximise
// nor a sizing border, the client area given in twips and a place at the screen's centre.
void expectFixedSizeCentred(HWND window, int clientWidthTwips, int clientHeightTwips);

// Checks where a control stands in its parent's client area, given in twips; its height may
// exceed the given one by up to `heightSlack` pixels.
void expectPlacedAt(HWND control, int left, int top, int width, int height, int heightSlack = 0);

// A test that starts bootdeck in a folder of its own, named `folderName`, on the prepared disk
// image, and finds its main window.
class MainWindowFixture : public testing::Test {
protected:
  explicit MainWindowFixture(const char *folderName) : folderName_(folderName) {}
  void SetUp() override;

  HWND get(int id) const { return control(main_, id); }
  // Presses Tab in the focused control and returns the control that has the focus then.
  HWND tab() const;

  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<App> app_;
  HWND main_ = nullptr;

private:
  const char *folderName_;
};

} // namespace e2e
