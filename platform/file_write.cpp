#include "platform/file_write.h"

#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

namespace bootdeck {

void writeWholeFile(const std::string &path, const unsigned char *data, std::size_t size) {
  // Windows refuses to replace a read-only file; so does this where the file system would let a
  // privileged user do it anyway (Wine run as root).
  const DWORD attributes = GetFileAttributesW(widen(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    throw lastErrorFailure();
  }
  // CREATE_ALWAYS truncates an existing file, so a longer old file leaves no stale tail.
  ScopedFile file(CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    throw lastErrorFailure();
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file.get(), data, chunk, &written, nullptr))
      throw lastErrorFailure();
    data += written;
    size -= written;
  }
  if (!CloseHandle(file.release()))
    throw lastErrorFailure();
}

} // namespace bootdeck
