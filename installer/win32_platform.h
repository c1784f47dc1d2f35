// The tool's platform on Windows: \\.\PhysicalDriveN, or what the device map names; files
// relative to the working directory; Unicode on the console.
#pragma once

#include "installer/device_map.h"
#include "installer/disk.h"

#include <windows.h>

namespace installer {

class Win32Handle {
public:
  explicit Win32Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Win32Handle(const Win32Handle &) = delete;
  Win32Handle &operator=(const Win32Handle &) = delete;
  ~Win32Handle() { reset(INVALID_HANDLE_VALUE); }

  void reset(HANDLE handle) {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
    handle_ = handle;
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE handle_;
};

// A page of memory: a transfer buffer that meets any device's alignment.
class PageBuffer {
public:
  PageBuffer() = default;
  PageBuffer(const PageBuffer &) = delete;
  PageBuffer &operator=(const PageBuffer &) = delete;
  ~PageBuffer() {
    if (page_ != nullptr) {
      VirtualFree(page_, 0, MEM_RELEASE);
    }
  }

  // False when the page cannot be had.
  bool allocate() {
    if (page_ == nullptr) {
      page_ = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    return page_ != nullptr;
  }
  void *get() const { return page_; }

private:
  void *page_ = nullptr;
};

class Win32Disk final : public Disk {
public:
  SystemError open(const wchar_t *path, bool writable, std::uint32_t &sectorSize);
  void close() { handle_.reset(INVALID_HANDLE_VALUE); }
  SystemError read(std::uint64_t lba, Sector &out) override;
  SystemError write(std::uint64_t lba, const Sector &in) override;
  SystemError flush() override;
  void identify(DiskIdentity &identity) override;

private:
  Win32Handle handle_;
  PageBuffer buffer_;
  wchar_t path_[kMaxPathBytes] = {};
  bool device_ = false;
};

class Win32Platform final : public Platform {
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
  Firmware firmware() override;
  void setTitle(const char *title) override;
  void appendFullPath(const char *name, TextBuffer &out) override;

private:
  Win32Disk disk_;
  bool fontChosen_ = false;
};

} // namespace installer
