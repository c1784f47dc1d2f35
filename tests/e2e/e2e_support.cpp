#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "platform/twips.h"
#include "platform/utf.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/driver/temp_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace e2e {

Environment deviceMapEnvironment() {
  return {{"BOOTDECK_DEVICE_MAP", pathFromEnvironment("BOOTDECK_E2E_DEVICE_MAP")}};
}

Environment commandLoggerEnvironment(const std::string &log) {
  return {{"COMSPEC", pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER")},
          {"BOOTDECK_COMSPEC_LOG", log}};
}

std::vector<std::string> loggedCommands(const std::string &log) {
  std::vector<std::string> lines;
  std::string content;
  try {
    content = readFileBytes(log);
  } catch (const std::runtime_error &) {
    return lines;
  }
  for (size_t start = 0; start < content.size();) {
    const size_t end = content.find("\r\n", start);
    lines.push_back(content.substr(start, end - start));
    if (end == std::string::npos)
      break;
    start = end + 2;
  }
  return lines;
}

HWND mainWindowOf(const App &app) {
  HWND main = app.waitForWindow(BOOTDECK_MAIN_CLASS);
  if (!main) {
    const MessageBoxView box(app.findWindow(L"#32770"));
    DWORD code = 0;
    ADD_FAILURE() << "no main window; message box: "
                  << (box.hwnd() ? box.title() + " / " + box.text() : std::string("none"))
                  << (app.waitForExit(&code, Milliseconds(0))
                          ? "; ended with " + std::to_string(code)
                          : std::string("; still running"));
  }
  return main;
}

void expectFixedSizeCentred(HWND window, int clientWidthTwips, int clientHeightTwips) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU) << "close box";
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << std::hex << style;
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(bootdeck::twipsToPixels(clientWidthTwips, screenDpi()), client.right);
  EXPECT_EQ(bootdeck::twipsToPixels(clientHeightTwips, screenDpi()), client.bottom);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (rect.left + rect.right) / 2, 1);
  EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (rect.top + rect.bottom) / 2, 1);
}

void expectPlacedAt(HWND control, int left, int top, int width, int height, int heightSlack) {
  const int dpi = screenDpi();
  const RECT r = childRect(control);
  EXPECT_EQ(bootdeck::twipsToPixels(left, dpi), r.left);
  EXPECT_EQ(bootdeck::twipsToPixels(top, dpi), r.top);
  EXPECT_EQ(bootdeck::twipsToPixels(width, dpi), r.right - r.left);
  EXPECT_GE(r.bottom - r.top, bootdeck::twipsToPixels(height, dpi));
  EXPECT_LE(r.bottom - r.top, bootdeck::twipsToPixels(height, dpi) + heightSlack);
}

void MainWindowFixture::SetUp() {
  folder_ = std::make_unique<TempFolder>(folderName_);
  app_ = std::make_unique<App>(bootdeckExe(), folder_->path(), deviceMapEnvironment());
  main_ = mainWindowOf(*app_);
  ASSERT_TRUE(main_);
}

HWND MainWindowFixture::tab() const {
  HWND before = app_->focus();
  pressKey(before, VK_TAB);
  HWND after = before;
  waitUntil([&] { return (after = app_->focus()) != before; }, Milliseconds(3000));
  return after;
}

} // namespace e2e
