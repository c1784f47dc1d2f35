// The Win32 files where no end-to-end run can reach them, under Wine or on Windows.
#ifdef _WIN32

#include "platform/command_prompt_policy.h"
#include "platform/failure.h"
#include "platform/file_write.h"
#include "platform/utf.h"
#include "platform/win32_file_system.h"

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

// The listing file: made anew past a planted hard link, held against removal while the command
// interpreter's ">" writes it, and read only once no other writer is left.
TEST(Win32Platform, HeldFileIsMadeAnewWrittenByOthersAndReadWithNoWriterLeft) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::string path = narrow(temp) + "bootdeck-held-" + std::to_string(GetCurrentProcessId());
  const std::wstring name = widen(path), outside = name + L".outside";
  writeWholeFile(narrow(outside), bytes("precious"), 8);
  ASSERT_TRUE(CreateHardLinkW(name.c_str(), outside.c_str(), nullptr));
  const auto openToWrite = [&] { // as the interpreter's ">" opens it
    return ScopedFile(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, 0, nullptr));
  };
  Win32FileSystem files;
  {
    const std::unique_ptr<HeldFile> held = files.makeHeldFile(path);
    EXPECT_FALSE(DeleteFileW(name.c_str()));
    EXPECT_FALSE(MoveFileW(name.c_str(), (name + L".moved").c_str()));
    ScopedFile writer = openToWrite();
    ASSERT_TRUE(writer.valid());
    DWORD written = 0;
    WriteFile(writer.get(), "0123456789", 10, &written, nullptr);
    EXPECT_THROW(held->read(64), Failure) << "read while another program may still write";
    writer.reset();
    EXPECT_EQ("0123", held->read(3)) << "one byte beyond the limit";
    EXPECT_EQ("0123456789", held->read(64));
    EXPECT_FALSE(openToWrite().valid()) << "a writer after the read";
  }
  EXPECT_NO_THROW(holdFileWithContent(narrow(outside), bytes("precious"), 8)) << "written through";
  EXPECT_TRUE(DeleteFileW(name.c_str()));
  DeleteFileW(outside.c_str());
}

// The user's policy value as the Group Policy editor writes it; removed again at the end.
TEST(Win32Platform, CommandPromptPolicyOfTheUserIsRead) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Windows\\System", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
  const auto set = [key](DWORD value, DWORD type) {
    RegSetValueExW(key, L"DisableCMD", 0, type, reinterpret_cast<const BYTE *>(&value),
                   sizeof value);
    return commandPromptDisabledByPolicy();
  };
  EXPECT_TRUE(set(2, REG_DWORD));
  EXPECT_FALSE(set(0, REG_DWORD));
  EXPECT_FALSE(set(1, REG_BINARY));
  EXPECT_TRUE(set(1, REG_DWORD));
  RegDeleteValueW(key, L"DisableCMD");
  RegCloseKey(key);
  EXPECT_FALSE(commandPromptDisabledByPolicy());
}

} // namespace
} // namespace bootdeck

#endif
