// File operations in the role of the scripting runtime's file-system object. Paths and texts are
// UTF-8. Operations that cannot be done throw bootdeck::Failure with the system's error.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace bootdeck {

// A file the program made and holds open: while this object lives no other program can remove
// or rename it, but others may open it to read or write (the command interpreter's ">").
class HeldFile {
public:
  virtual ~HeldFile() = default;
  // Shuts out every further writer, then reads the file from its start: at most `limit` + 1
  // bytes, so a longer file shows as longer. Throws Failure when another program has the file
  // open for writing or it cannot be read.
  virtual std::string read(std::size_t limit) = 0;
};

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // True only for an existing file; a folder of that name does not count.
  virtual bool fileExists(const std::string &path) = 0;
  // Deletes without forcing: a read-only file is not deleted.
  virtual void deleteFile(const std::string &path) = 0;
  // Makes the file anew, empty, and holds it. A file or link of that name is removed first (a
  // link's target stays as it is); the new file is never made through a link. Throws Failure
  // when the old one cannot be removed or the new one cannot be made.
  virtual std::unique_ptr<HeldFile> makeHeldFile(const std::string &path) = 0;
};

} // namespace bootdeck
