// The tool's platform on POSIX systems: disks are what the device map names (images, or block
// devices), files and console are the process's own.
#pragma once

#include "installer/device_map.h"
#include "installer/disk.h"

namespace installer {

class PosixDisk final : public Disk {
public:
  PosixDisk() = default;
  PosixDisk(const PosixDisk &) = delete;
  PosixDisk &operator=(const PosixDisk &) = delete;
  ~PosixDisk();

  SystemError open(const char *path, bool writable, std::uint32_t &sectorSize);
  void close();
  SystemError read(std::uint64_t lba, Sector &out) override;
  SystemError write(std::uint64_t lba, const Sector &in) override;
  SystemError flush() override;
  void identify(DiskIdentity &identity) override;

private:
  int fd_ = -1;
  char path_[kMaxPathBytes] = {};
};

class PosixPlatform final : public Platform {
public:
  Disk *openDisk(int number, bool writable, std::uint32_t &sectorSize, SystemError &error) override;
  void closeDisk() override { disk_.close(); }
  SystemError writeFile(const char *name, const std::uint8_t *data, std::size_t size) override;
  SystemError readFile(const char *name, std::uint8_t *data, std::size_t capacity,
                       std::size_t &size) override;
  void writeOut(const char *text, std::size_t length) override;
  void writeErr(const char *text, std::size_t length) override;
  void waitForKey() override;
  Answer ask(const char *question) override;
  // The note it serves is about how Windows started.
  Firmware firmware() override { return Firmware::Unknown; }
  // A terminal has no window of its own to name.
  void setTitle(const char *) override {}
  void appendFullPath(const char *name, TextBuffer &out) override;

private:
  PosixDisk disk_;
};

} // namespace installer
