// One fake for the disk and all around it, for the tool's unit tests: sectors in memory (others
// read as zeros), a write that fails or keeps other bytes, and a log of what the tool does.
#pragma once

#include "installer/disk.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace installer {

class Fake final : public Disk, public Platform {
public:
  // Foreign boot code, a disk signature and one partition at 2048.
  static Sector plainMbr() {
    Sector s{};
    std::fill(s.begin(), s.begin() + 444, 0x5A);
    const std::uint8_t entry[16] = {0x80, 0, 0, 0, 0x06, 0, 0, 0, 0, 8, 0, 0, 0, 0x20};
    std::memcpy(s.data() + 446, entry, 16);
    s[510] = 0x55;
    s[511] = 0xAA;
    return s;
  }

  SystemError read(std::uint64_t lba, Sector &out) override {
    out = data.count(lba) != 0 ? data[lba] : Sector{};
    if (poolSectors != 0) {
      std::memcpy(out.data(), pool + lba % poolSectors * out.size(), out.size());
    }
    return SystemError();
  }
  SystemError write(std::uint64_t lba, const Sector &in) override {
    log.push_back("write " + std::to_string(lba));
    if (lba == failingWrite) {
      return SystemError::windows(19);
    }
    data[lba] = in;
    data[lba][100] ^= lba == spoiledWrite ? 0xFF : 0; // the medium keeps other bytes
    return SystemError();
  }
  SystemError flush() override { return SystemError(); }
  void identify(DiskIdentity &identity) override {
    identity.image = true;
    std::strcpy(identity.path, "fake.img");
    identity.bytes = 32 << 20;
  }

  // The one disk is (hd0).
  Disk *openDisk(int number, bool, std::uint32_t &size, SystemError &error) override {
    if (number != 0) {
      error = SystemError::posix(2);
      return nullptr;
    }
    log.push_back("open");
    size = sectorSize;
    return this;
  }
  void closeDisk() override { log.push_back("close"); }
  SystemError writeFile(const char *name, const std::uint8_t *bytes, std::size_t size) override {
    log.push_back(std::string("file ") + name);
    files[name].assign(reinterpret_cast<const char *>(bytes), size - spoiledFile);
    return SystemError();
  }
  SystemError readFile(const char *name, std::uint8_t *bytes, std::size_t capacity,
                       std::size_t &size) override {
    if (files.count(name) == 0) {
      return SystemError::posix(2);
    }
    size = std::min(files[name].size(), capacity);
    std::memcpy(bytes, files[name].data(), size);
    return SystemError();
  }
  void writeOut(const char *text, std::size_t length) override { out.append(text, length); }
  void writeErr(const char *text, std::size_t length) override { err.append(text, length); }
  void waitForKey() override { log.push_back("key"); }
  Answer ask(const char *) override { return Answer::NoConsole; }
  Firmware firmware() override { return firmwareType; }
  void setTitle(const char *text) override { title = text; }
  void appendFullPath(const char *name, TextBuffer &path) override {
    path.appendf("C:\\app\\%s", name);
  }

  std::map<std::uint64_t, Sector> data{{0, plainMbr()}};
  // For fuzzing: LBA n reads sector n modulo the pool's size, so chains loop and jump freely.
  const std::uint8_t *pool = nullptr;
  std::size_t poolSectors = 0;
  std::uint64_t failingWrite = ~0ull, spoiledWrite = ~0ull;
  bool spoiledFile = false; // it reads back one byte short
  std::uint32_t sectorSize = 512;
  Firmware firmwareType = Firmware::Unknown;
  std::map<std::string, std::string> files;
  std::vector<std::string> log;
  std::string out, err, title;
};

} // namespace installer
