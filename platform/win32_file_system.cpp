#include "platform/win32_file_system.h"

#include "platform/file_write.h"
#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

namespace bootdeck {

namespace {

class Win32HeldFile : public HeldFile {
public:
  Win32HeldFile(std::wstring path, ScopedFile made)
      : path_(std::move(path)), made_(std::move(made)) {}

  std::string read(std::size_t limit) override {
    // A second handle that shares reading only: it cannot be had while another handle may still
    // write, and while it is open no other can be had for writing.
    if (!sealed_.valid()) {
      sealed_ = ScopedFile(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      if (!sealed_.valid())
        throw lastErrorFailure();
    }
    if (SetFilePointer(sealed_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
      throw lastErrorFailure();
    std::string bytes(limit + 1, '\0');
    std::size_t got = 0;
    for (DWORD chunk = 0; got < bytes.size(); got += chunk) {
      if (!ReadFile(sealed_.get(), &bytes[got], static_cast<DWORD>(bytes.size() - got), &chunk,
                    nullptr))
        throw lastErrorFailure();
      if (chunk == 0)
        break;
    }
    bytes.resize(got);
    return bytes;
  }

private:
  std::wstring path_;
  ScopedFile made_;
  ScopedFile sealed_;
};

} // namespace

bool Win32FileSystem::fileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::deleteFile(const std::string &path) {
  if (!DeleteFileW(widen(path).c_str()))
    throw lastErrorFailure();
}

std::unique_ptr<HeldFile> Win32FileSystem::makeHeldFile(const std::string &path) {
  // Shared for writing, so that the interpreter's redirection can fill it; not for deleting, so
  // that no one can remove or rename it and put another in its place.
  ScopedFile made = createAnew(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  return std::make_unique<Win32HeldFile>(widen(path), std::move(made));
}

} // namespace bootdeck
