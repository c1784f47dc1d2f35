#include "platform/file_write.h"

#include "platform/plain_file.h"
#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

#include <cstring>
#include <vector>

namespace bootdeck {

namespace {

[[noreturn]] void throwChanged(const std::string &path) {
  throw Failure(ERROR_FILE_INVALID, systemErrorText(ERROR_FILE_INVALID), path);
}

[[noreturn]] void throwLinked(const std::string &path) {
  throw Failure(ERROR_CANT_RESOLVE_FILENAME, systemErrorText(ERROR_CANT_RESOLVE_FILENAME), path);
}

} // namespace

ScopedFile createAnew(const std::string &path, DWORD access, DWORD share) {
  const std::wstring name = widen(path);
  if (!DeleteFileW(name.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    throw lastErrorFailure(path);
  ScopedFile file(CreateFileW(name.c_str(), access, share, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid())
    throw lastErrorFailure(path);
  return file;
}

void writeWholeFile(const std::string &path, const unsigned char *data, std::size_t size) {
  const std::wstring name = widen(path);
  // Windows refuses to replace a read-only file; so does this where the file system would let a
  // privileged user do it anyway (Wine run as root).
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    throw lastErrorFailure(path);
  }
  ScopedFile file = createAnew(path, GENERIC_WRITE, 0);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file.get(), data, chunk, &written, nullptr))
      throw lastErrorFailure(path);
    data += written;
    size -= written;
  }
  if (!CloseHandle(file.release()))
    throw lastErrorFailure(path);
}

ScopedFile holdFileWithContent(const std::string &path, const unsigned char *data,
                               std::size_t size) {
  // Shared for reading only: others may read and run the file, none may write, remove or rename
  // it while the handle lives.
  ScopedFile file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  bool plain = false;
  if (!file.valid() || !askPlainFile(file.get(), plain))
    throw lastErrorFailure(path);
  if (!plain)
    throwLinked(path);
  std::vector<unsigned char> chunk(65536);
  std::size_t compared = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr))
      throw lastErrorFailure(path);
    if (got == 0)
      break;
    if (got > size - compared || std::memcmp(chunk.data(), data + compared, got) != 0)
      throwChanged(path);
    compared += got;
  }
  if (compared != size)
    throwChanged(path);
  return file;
}

} // namespace bootdeck
