#include "platform/win32_file_system.h"

#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

#include <vector>

namespace bootdeck {

bool Win32FileSystem::fileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint64_t Win32FileSystem::fileSize(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data))
    throw lastErrorFailure();
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string Win32FileSystem::readText(const std::string &path) {
  ScopedFile file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    throw lastErrorFailure();
  std::vector<char> bytes;
  char chunk[4096];
  DWORD got = 0;
  do {
    if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr))
      throw lastErrorFailure();
    bytes.insert(bytes.end(), chunk, chunk + got);
  } while (got > 0);
  if (bytes.empty())
    return std::string();

  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], length);
  return narrow(text);
}

void Win32FileSystem::deleteFile(const std::string &path) {
  if (!DeleteFileW(widen(path).c_str()))
    throw lastErrorFailure();
}

} // namespace bootdeck
