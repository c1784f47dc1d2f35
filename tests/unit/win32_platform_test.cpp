// The Win32 file writing where no end-to-end run can reach it, under Wine or on Windows.
#ifdef _WIN32

#include "platform/failure.h"
#include "platform/file_write.h"
#include "platform/utf.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace bootdeck {
namespace {

const unsigned char *bytes(const std::string &text) {
  return reinterpret_cast<const unsigned char *>(text.data());
}

// A tool file is held only with the bytes the program carries, checked first, and only while it
// has no other name; a read-only one is not replaced.
TEST(Win32Platform, ToolFileHeldOnlyWithItsOwnBytesAndNameAndReadOnlyNotReplaced) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::string path = narrow(temp) + "bootdeck-tool-" + std::to_string(GetCurrentProcessId());
  writeWholeFile(path, bytes("bcd"), 3);
  for (const std::string other : {"bce", "bc", "bcde"})
    EXPECT_THROW(holdFileWithContent(path, bytes(other), other.size()), Failure) << other;
  EXPECT_TRUE(holdFileWithContent(path, bytes("bcd"), 3).valid());
  const std::wstring link = widen(path + "-link");
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), widen(path).c_str(), nullptr));
  EXPECT_THROW(holdFileWithContent(path, bytes("bcd"), 3), Failure);
  DeleteFileW(link.c_str());
  SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(writeWholeFile(path, bytes("e"), 1), Failure);
  SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(widen(path).c_str());
}

} // namespace
} // namespace bootdeck

#endif
