// File operations in the role of the scripting runtime's file-system object. Paths and texts are
// UTF-8. Operations that cannot be done throw bootdeck::Failure with the system's error.
#pragma once

#include <cstdint>
#include <string>

namespace bootdeck {

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // True only for an existing file; a folder of that name does not count.
  virtual bool fileExists(const std::string &path) = 0;
  virtual std::uint64_t fileSize(const std::string &path) = 0;
  // The whole file read as text in the system's ANSI code page, returned as UTF-8.
  virtual std::string readText(const std::string &path) = 0;
  // Deletes without forcing: a read-only file is not deleted.
  virtual void deleteFile(const std::string &path) = 0;
};

} // namespace bootdeck
