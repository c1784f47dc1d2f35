// An in-memory file system for tests. Texts are stored as UTF-8, as readText returns them.
#pragma once

#include "platform/failure.h"
#include "platform/file_system.h"

#include <map>
#include <set>
#include <string>

namespace bootdeck {

class FakeFileSystem : public FileSystem {
public:
  std::map<std::string, std::string> files;
  std::set<std::string> readOnly; // files that deleteFile refuses

  bool fileExists(const std::string &path) override { return files.count(path) != 0; }
  std::uint64_t fileSize(const std::string &path) override { return find(path).size(); }
  std::string readText(const std::string &path) override { return find(path); }
  void deleteFile(const std::string &path) override {
    find(path);
    if (readOnly.count(path))
      throw Failure(5, "Access is denied.");
    files.erase(path);
  }

private:
  const std::string &find(const std::string &path) const {
    const auto it = files.find(path);
    if (it == files.end())
      throw Failure(2, "The system cannot find the file specified.");
    return it->second;
  }
};

} // namespace bootdeck
