// The file system for Windows.
#pragma once

#include "platform/file_system.h"

namespace bootdeck {

class Win32FileSystem : public FileSystem {
public:
  bool fileExists(const std::string &path) override;
  void deleteFile(const std::string &path) override;
  std::unique_ptr<HeldFile> makeHeldFile(const std::string &path) override;
};

} // namespace bootdeck
