// What the tool needs of a disk and of its surroundings. Each platform implements these once
// (POSIX for images, Win32 for \\.\PhysicalDriveN and images); tests use in-memory fakes.
#pragma once

#include "installer/disk_identity.h"
#include "installer/firmware.h"
#include "installer/partition_table.h"
#include "installer/sector.h"
#include "installer/system_error.h"

#include <cstddef>
#include <cstdint>

namespace installer {

class Disk : public SectorSource {
public:
  virtual SystemError read(std::uint64_t lba, Sector &out) = 0;
  virtual SystemError write(std::uint64_t lba, const Sector &in) = 0;
  // Pushes written sectors to the device, so that reading them back checks the medium.
  virtual SystemError flush() = 0;
  // What the disk is, as far as the system tells.
  virtual void identify(DiskIdentity &identity) = 0;

  bool readSector(std::uint64_t lba, Sector &out) override { return !read(lba, out).failed(); }

protected:
  ~Disk() = default;
};

class Platform {
public:
  // Opens disk `number` (the device map decides what it is); the platform keeps the disk open
  // until closeDisk. On failure returns null and sets `error`.
  virtual Disk *openDisk(int number, bool writable, std::uint32_t &sectorSize,
                         SystemError &error) = 0;
  virtual void closeDisk() = 0;
  // Creates a new file (relative to the working directory) and flushes it; a file that exists
  // by then, made by another program meanwhile, is never replaced.
  virtual SystemError writeFile(const char *name, const std::uint8_t *data, std::size_t size) = 0;
  // Reads at most `capacity` bytes from the start of the file.
  virtual SystemError readFile(const char *name, std::uint8_t *data, std::size_t capacity,
                               std::size_t &size) = 0;
  virtual void writeOut(const char *text, std::size_t length) = 0;
  virtual void writeErr(const char *text, std::size_t length) = 0;
  // Waits for one key; returns at once when there is nothing left to read.
  virtual void waitForKey() = 0;
  // Asks `question` on the console and takes one key; NoConsole, asking nothing, when the input
  // is not a console that a person can answer at.
  enum class Answer { Yes, No, NoConsole };
  virtual Answer ask(const char *question) = 0;
  virtual Firmware firmware() = 0;
  // The console window's title; nothing where there is no window.
  virtual void setTitle(const char *title) = 0;
  // `name` as a full path, relative to the working directory as files are; `name` itself when the
  // system cannot tell.
  virtual void appendFullPath(const char *name, TextBuffer &out) = 0;

protected:
  ~Platform() = default;
};

} // namespace installer
