// The Win32 implementations of the platform objects, run under Wine or on Windows.
#ifdef _WIN32

#include "platform/app_folder.h"
#include "platform/failure.h"
#include "platform/file_write.h"
#include "platform/scoped.h"
#include "platform/utf.h"
#include "platform/win32_file_system.h"
#include "platform/win32_process_runner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

namespace bootdeck {
namespace {

class Win32PlatformTest : public testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = narrow(temp) + "bootdeck-platform-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(widen(folder_).c_str(), nullptr);
  }
  void TearDown() override {
    for (const char *name : {"ansi.txt", "ro.txt", "out.txt", "stop.txt", "tool.bin"}) {
      SetFileAttributesW(widen(path(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(widen(path(name)).c_str());
    }
    RemoveDirectoryW(widen(path("sub")).c_str());
    RemoveDirectoryW(widen(folder_).c_str());
  }
  std::string path(const std::string &name) const { return folder_ + "\\" + name; }
  void write(const std::string &name, const std::string &bytes) const {
    writeWholeFile(path(name), reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
  }

  std::string folder_;
};

TEST_F(Win32PlatformTest, FilesExistenceSizeAnsiTextAndDeletion) {
  // "你好" in the Chinese ANSI code page the tests run with, then a CR LF.
  const std::string ansi = "\xC4\xE3\xBA\xC3\r\n";
  write("ansi.txt", ansi);
  write("ro.txt", "x");
  SetFileAttributesW(widen(path("ro.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryW(widen(path("sub")).c_str(), nullptr);
  Win32FileSystem files;
  EXPECT_TRUE(files.fileExists(path("ansi.txt")));
  EXPECT_FALSE(files.fileExists(path("sub")));
  EXPECT_FALSE(files.fileExists(path("missing.txt")));
  EXPECT_EQ(ansi.size(), files.fileSize(path("ansi.txt")));
  if (GetACP() == 936) {
    EXPECT_EQ("你好\r\n", files.readText(path("ansi.txt")));
  }
  try {
    files.fileSize(path("missing.txt"));
    ADD_FAILURE() << "no failure for a missing file";
  } catch (const bootdeck::Failure &failure) {
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), failure.number());
    EXPECT_STRNE("", failure.what());
  }
  files.deleteFile(path("ansi.txt"));
  EXPECT_FALSE(files.fileExists(path("ansi.txt")));
  EXPECT_THROW(files.deleteFile(path("ro.txt")), bootdeck::Failure) << "not forced";
  EXPECT_TRUE(files.fileExists(path("ro.txt")));
}

TEST_F(Win32PlatformTest, WholeFileWriteLeavesNoStaleTailHoldsOnlyTheSameBytesAndReportsReadOnly) {
  write("tool.bin", std::string(5000, 'a'));
  write("tool.bin", "bcd");
  EXPECT_EQ(3u, Win32FileSystem().fileSize(path("tool.bin")));
  const auto hold = [&](const char *bytes) {
    return holdFileWithContent(path("tool.bin"), reinterpret_cast<const unsigned char *>(bytes),
                               std::strlen(bytes));
  };
  for (const char *other : {"bce", "bc", "bcde"}) {
    SCOPED_TRACE(other);
    try {
      hold(other);
      ADD_FAILURE() << "held a file whose bytes differ";
    } catch (const bootdeck::Failure &failure) {
      EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_INVALID), failure.number());
    }
  }
  EXPECT_TRUE(hold("bcd").valid());
  SetFileAttributesW(widen(path("tool.bin")).c_str(), FILE_ATTRIBUTE_READONLY);
  try {
    write("tool.bin", "e");
    ADD_FAILURE() << "a read-only file was written";
  } catch (const bootdeck::Failure &failure) {
    EXPECT_EQ(static_cast<unsigned long>(ERROR_ACCESS_DENIED), failure.number());
  }
}

TEST_F(Win32PlatformTest, RunnerExpandsTheEnvironmentWorksInTheFolderAndReturnsTheExitCode) {
  SetEnvironmentVariableW(L"BOOTDECK_TEST_CODE", L"5");
  Win32ProcessRunner runner(folder_);
  const RunResult result = runner.run(
      "%comspec% /c echo here>  out.txt & exit %BOOTDECK_TEST_CODE%", WindowStyle::Hidden, true);
  SetEnvironmentVariableW(L"BOOTDECK_TEST_CODE", nullptr);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(5u, result.exitCode);
  EXPECT_TRUE(Win32FileSystem().fileExists(path("out.txt")));
}

TEST_F(Win32PlatformTest, RunnerReportsAStartFailureAndTellsWhetherAnUnwaitedRunStillRuns) {
  Win32ProcessRunner runner(folder_);
  const RunResult failed = runner.run(path("missing.exe"), WindowStyle::Normal, false);
  EXPECT_FALSE(failed.started);
  EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), failed.errorNumber);
  EXPECT_NE("", failed.errorText);
  EXPECT_FALSE(runner.unwaitedRunActive());
  // The interpreter loops until the file stop.txt appears (bounded, should the test fail).
  ASSERT_TRUE(runner
                  .run("%comspec% /c for /l %n in (1,1,100000) do @if exist stop.txt exit",
                       WindowStyle::Hidden, false)
                  .started);
  EXPECT_TRUE(runner.unwaitedRunActive());
  write("stop.txt", "");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (runner.unwaitedRunActive() && std::chrono::steady_clock::now() < deadline)
    Sleep(20);
  EXPECT_FALSE(runner.unwaitedRunActive());
}

TEST(AppFolder, IsTheExecutablesFolderWithoutFinalSeparator) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::string exe = narrow(module);
  const std::string folder = appFolder();
  ASSERT_LT(folder.size(), exe.size());
  EXPECT_EQ(exe.substr(0, exe.rfind('\\')), folder);
  EXPECT_NE('\\', folder.back());
}

} // namespace
} // namespace bootdeck

#endif
