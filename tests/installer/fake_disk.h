// In-memory disk and platform for the tool's unit tests: unwritten sectors read as zeros up to the
// disk's end; failures can be injected per sector.
#pragma once

#include "installer/boot_record.h"
#include "installer/bootcode/bootcode_layout.h"
#include "installer/disk.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace installer {

inline Sector filledSector(std::uint8_t value) {
  Sector s;
  s.fill(value);
  return s;
}

inline void putEntry(Sector &s, std::size_t index, std::uint8_t type, std::uint32_t start,
                     std::uint32_t length, std::uint8_t status = 0) {
  std::uint8_t *e = s.data() + 446 + index * 16;
  std::memset(e, 0, 16);
  e[0] = status;
  e[4] = type;
  for (int i = 0; i < 4; ++i) {
    e[8 + i] = static_cast<std::uint8_t>(start >> (8 * i));
    e[12 + i] = static_cast<std::uint8_t>(length >> (8 * i));
  }
}

inline void sign(Sector &s) {
  s[510] = 0x55;
  s[511] = 0xAA;
}

// A signed MBR with foreign code bytes, a disk signature and one partition at `firstStart`.
inline Sector plainMbr(std::uint32_t firstStart = 2048) {
  Sector s{};
  for (std::size_t i = 0; i < 440; ++i) {
    s[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  s[440] = 0xAB;
  s[441] = 0xCD;
  putEntry(s, 0, 0x06, firstStart, 8192, 0x80);
  sign(s);
  return s;
}

// A boot image of `sectors` sectors carrying our marks, like the assembled one.
struct TestImage {
  explicit TestImage(std::size_t sectors = 4) : bytes(sectors * 512, 0x90) {
    std::memcpy(bytes.data() + bootcode::kMagicOffset, bootcode::kMagic, 8);
    for (std::size_t s = 1; s < sectors; ++s) {
      std::memcpy(bytes.data() + s * 512 + 504, bootcode::kMagic, 8);
    }
  }
  BootImage image() const { return BootImage{bytes.data(), bytes.size()}; }
  std::vector<std::uint8_t> bytes;
};

class FakeDisk final : public Disk {
public:
  explicit FakeDisk(std::uint64_t sectors = 1 << 16) : sectors_(sectors) {}

  SystemError read(std::uint64_t lba, Sector &out) override {
    ++reads;
    if (failReads.count(lba) != 0) {
      return SystemError::posix(5);
    }
    if (lba >= sectors_) {
      return SystemError::endOfDevice();
    }
    const auto it = data.find(lba);
    out = it == data.end() ? Sector{} : it->second;
    if (corruptReadsAfterWrite.count(lba) != 0 &&
        std::find(writeOrder.begin(), writeOrder.end(), lba) != writeOrder.end()) {
      out[100] ^= 0xFF;
    }
    return SystemError();
  }
  SystemError write(std::uint64_t lba, const Sector &in) override {
    if (failWrites.count(lba) != 0) {
      return SystemError::windows(19);
    }
    data[lba] = in;
    writeOrder.push_back(lba);
    return SystemError();
  }
  SystemError flush() override { return SystemError(); }
  void identify(DiskIdentity &identity) override {
    identity.image = true;
    std::strcpy(identity.path, "fake.img");
    identity.bytes = sectors_ * 512;
  }

  std::map<std::uint64_t, Sector> data;
  std::vector<std::uint64_t> writeOrder;
  std::set<std::uint64_t> failReads, failWrites, corruptReadsAfterWrite;
  int reads = 0;

private:
  std::uint64_t sectors_;
};

class FakePlatform final : public Platform {
public:
  Disk *openDisk(int number, bool, std::uint32_t &size, SystemError &error) override {
    ++opens;
    if (number != 0) {
      error = SystemError::posix(2);
      return nullptr;
    }
    size = sectorSize;
    return &disk;
  }
  SystemError writeFile(const char *name, const std::uint8_t *bytes, std::size_t size) override {
    files[name] = std::string(reinterpret_cast<const char *>(bytes), size);
    return SystemError();
  }
  SystemError readFile(const char *name, std::uint8_t *bytes, std::size_t capacity,
                       std::size_t &size) override {
    const auto it = files.find(name);
    if (it == files.end()) {
      return SystemError::posix(2);
    }
    size = it->second.size() < capacity ? it->second.size() : capacity;
    std::memcpy(bytes, it->second.data(), size);
    return SystemError();
  }
  void writeOut(const char *text, std::size_t length) override { out.append(text, length); }
  void writeErr(const char *text, std::size_t length) override { err.append(text, length); }
  void closeDisk() override { ++closes; }
  void waitForKey() override {
    ++keyWaits;
    closedBeforeWait = closes == opens;
  }
  Answer ask(const char *) override {
    ++questions;
    return answer;
  }
  Firmware firmware() override { return firmwareType; }

  FakeDisk disk;
  std::uint32_t sectorSize = 512;
  std::map<std::string, std::string> files;
  std::string out, err;
  int opens = 0, closes = 0, keyWaits = 0, questions = 0;
  bool closedBeforeWait = false;
  Answer answer = Answer::NoConsole;
  Firmware firmwareType = Firmware::Unknown;
};

} // namespace installer
