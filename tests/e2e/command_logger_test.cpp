// The logging stand-in for COMSPEC that other tests use to see the exact command lines.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/e2e_support.h"

#include "platform/scoped.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// Runs `arguments` through the stand-in in `folder`, as the program's process runner would.
DWORD runLogger(const std::string &arguments, const std::string &folder, const std::string &log) {
  const std::string logger = pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER");
  SetEnvironmentVariableW(L"BOOTDECK_COMSPEC_LOG", bootdeck::widen(log).c_str());
  std::wstring line = bootdeck::widen(logger + " " + arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  const BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                      bootdeck::widen(folder).c_str(), &startup, &info);
  SetEnvironmentVariableW(L"BOOTDECK_COMSPEC_LOG", nullptr);
  if (!started)
    return 0xFFFFFFFF;
  bootdeck::ScopedHandle process(info.hProcess), thread(info.hThread);
  WaitForSingleObject(process.get(), static_cast<DWORD>(kTimeout.count()));
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

TEST(CommandLogger, RecordsEachCommandLineAndHandsItOnToTheInterpreter) {
  TempFolder folder("logger");
  const std::string log = folder.path() + "\\commands.log";
  const std::string logger = pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER");

  const struct {
    const char *arguments;
    DWORD exitCode;
  } runs[] = {
      {"/c exit 7", 7},
      {"/c echo hello>  out.txt", 0},
      {"/c rem 全角\xE3\x80\x80text", 0},
  };
  std::vector<std::string> expected;
  for (const auto &run : runs) {
    EXPECT_EQ(run.exitCode, runLogger(run.arguments, folder.path(), log)) << run.arguments;
    expected.push_back(logger + " " + run.arguments);
  }
  EXPECT_EQ("hello\r\n", readFileBytes(folder.path() + "\\out.txt"));
  EXPECT_EQ(expected, loggedCommands(log));
}

} // namespace
} // namespace e2e
