// The end-to-end tests' entry: GoogleTest, plus a screenshot of the screen at the first failure
// of each test (while its program still runs), written to the folder named by
// BOOTDECK_E2E_SHOTS.
#include "platform/utf.h"
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screenshot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

class ScreenshotOnFailure : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo &) override { taken_ = false; }
  void OnTestPartResult(const testing::TestPartResult &result) override {
    if (!result.failed() || taken_)
      return;
    taken_ = true;
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    std::string folder;
    try {
      folder = e2e::pathFromEnvironment("BOOTDECK_E2E_SHOTS");
    } catch (const std::runtime_error &) {
      return;
    }
    CreateDirectoryW(bootdeck::widen(folder).c_str(), nullptr);
    const std::string path = folder + "\\" + test->test_suite_name() + "." + test->name() + ".bmp";
    if (e2e::saveScreenshot(path))
      std::cout << "Screenshot of the failure: " << path << std::endl;
  }
  bool taken_ = false;
};

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
  return RUN_ALL_TESTS();
}
