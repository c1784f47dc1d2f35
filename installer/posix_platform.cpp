#include "installer/posix_platform.h"

#include "installer/device_map.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace installer {

namespace {

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }

private:
  int fd_;
};

SystemError lastError() {
  return SystemError::posix(errno);
}

// Reads until `capacity` bytes or the end of the file.
SystemError readAll(int fd, std::uint8_t *data, std::size_t capacity, std::size_t &size) {
  size = 0;
  while (size < capacity) {
    const ssize_t got = ::read(fd, data + size, capacity - size);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return lastError();
    }
    if (got == 0) {
      break;
    }
    size += static_cast<std::size_t>(got);
  }
  return SystemError();
}

void writeAll(int fd, const char *text, std::size_t length) {
  while (length > 0) {
    const ssize_t put = ::write(fd, text, length);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      return;
    }
    text += put;
    length -= static_cast<std::size_t>(put);
  }
}

// Standard input, when it is a terminal, without line editing or echo while this lives: each
// key reaches the tool as it is pressed.
class RawTerminal {
public:
  RawTerminal() : terminal_(::tcgetattr(STDIN_FILENO, &saved_) == 0) {
    if (terminal_) {
      termios raw = saved_;
      raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
      raw.c_cc[VMIN] = 1;
      raw.c_cc[VTIME] = 0;
      ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
  }
  RawTerminal(const RawTerminal &) = delete;
  RawTerminal &operator=(const RawTerminal &) = delete;
  ~RawTerminal() {
    if (terminal_) {
      ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
  }

private:
  termios saved_;
  bool terminal_;
};

// One byte from standard input; '\0' at the end of the input.
char readKey() {
  char key = 0;
  ssize_t got;
  do {
    got = ::read(STDIN_FILENO, &key, 1);
  } while (got < 0 && errno == EINTR);
  return got == 1 ? key : '\0';
}

} // namespace

PosixDisk::~PosixDisk() {
  close();
}

void PosixDisk::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

SystemError PosixDisk::open(const char *path, bool writable, std::uint32_t &sectorSize) {
  std::strncpy(path_, path, sizeof path_ - 1);
  fd_ = ::open(path, writable ? O_RDWR : O_RDONLY);
  if (fd_ < 0) {
    return lastError();
  }
  struct stat info;
  if (::fstat(fd_, &info) != 0) {
    return lastError();
  }
  if (S_ISDIR(info.st_mode)) {
    return SystemError::posix(EISDIR);
  }
  sectorSize = 512;
#ifdef __linux__
  int logical = 0;
  if (S_ISBLK(info.st_mode)) {
    if (::ioctl(fd_, BLKSSZGET, &logical) != 0) {
      return lastError();
    }
    sectorSize = static_cast<std::uint32_t>(logical);
  }
#endif
  return SystemError();
}

SystemError PosixDisk::read(std::uint64_t lba, Sector &out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done,
                                static_cast<off_t>(lba * out.size() + done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return lastError();
    }
    if (got == 0) {
      return SystemError::endOfDevice();
    }
    done += static_cast<std::size_t>(got);
  }
  return SystemError();
}

SystemError PosixDisk::write(std::uint64_t lba, const Sector &in) {
  std::size_t done = 0;
  while (done < in.size()) {
    const ssize_t put = ::pwrite(fd_, in.data() + done, in.size() - done,
                                 static_cast<off_t>(lba * in.size() + done));
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      return put < 0 ? lastError() : SystemError::endOfDevice();
    }
    done += static_cast<std::size_t>(put);
  }
  return SystemError();
}

SystemError PosixDisk::flush() {
  return ::fsync(fd_) == 0 ? SystemError() : lastError();
}

void PosixDisk::identify(DiskIdentity &identity) {
  std::memcpy(identity.path, path_, sizeof identity.path);
  struct stat info;
  if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) {
    identity.image = true;
    identity.bytes = static_cast<std::uint64_t>(info.st_size);
  }
}

Disk *PosixPlatform::openDisk(int number, bool writable, std::uint32_t &sectorSize,
                              SystemError &error) {
  // Without a device map no disk exists here: the tool never guesses at real devices.
  const char *mapName = std::getenv(kDeviceMapVariable);
  if (mapName == nullptr || *mapName == '\0') {
    error = SystemError::posix(ENOENT);
    return nullptr;
  }
  char map[16384];
  std::size_t mapLength = 0;
  const FileDescriptor mapFile(::open(mapName, O_RDONLY));
  error = mapFile.get() < 0 ? lastError()
                            : readAll(mapFile.get(), reinterpret_cast<std::uint8_t *>(map),
                                      sizeof map, mapLength);
  if (error.failed()) {
    return nullptr;
  }
  char path[kMaxPathBytes];
  if (!findMappedPath(map, mapLength, number, path, sizeof path)) {
    error = SystemError::posix(ENOENT);
    return nullptr;
  }
  error = disk_.open(path, writable, sectorSize);
  return error.failed() ? nullptr : &disk_;
}

SystemError PosixPlatform::writeFile(const char *name, const std::uint8_t *data, std::size_t size) {
  const FileDescriptor fd(::open(name, O_WRONLY | O_CREAT | O_EXCL, 0644));
  if (fd.get() < 0) {
    return lastError();
  }
  std::size_t done = 0;
  while (done < size) {
    const ssize_t put = ::write(fd.get(), data + done, size - done);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      return put < 0 ? lastError() : SystemError::posix(EIO);
    }
    done += static_cast<std::size_t>(put);
  }
  return ::fsync(fd.get()) == 0 ? SystemError() : lastError();
}

// The file itself, never a symbolic link's target (ELOOP), and not one with another name: the
// files the user names live in folders that other users may write.
SystemError PosixPlatform::readFile(const char *name, std::uint8_t *data, std::size_t capacity,
                                    std::size_t &size) {
  const FileDescriptor fd(::open(name, O_RDONLY | O_NOFOLLOW));
  struct stat info;
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
    return lastError();
  }
  if (info.st_nlink > 1) {
    return SystemError::linkedFile();
  }
  return readAll(fd.get(), data, capacity, size);
}

void PosixPlatform::writeOut(const char *text, std::size_t length) {
  writeAll(STDOUT_FILENO, text, length);
}

void PosixPlatform::writeErr(const char *text, std::size_t length) {
  writeAll(STDERR_FILENO, text, length);
}

void PosixPlatform::waitForKey() {
  const RawTerminal raw;
  readKey();
}

// Typed-ahead input is dropped: only a key pressed after reading the question answers it.
Platform::Answer PosixPlatform::ask(const char *question) {
  if (!::isatty(STDIN_FILENO)) {
    return Answer::NoConsole;
  }
  const RawTerminal raw;
  ::tcflush(STDIN_FILENO, TCIFLUSH);
  writeOut(question, std::strlen(question));
  writeOut(" ", 1);
  const char key = readKey();
  if (key > ' ' && key < 0x7F) {
    writeOut(&key, 1);
  }
  writeOut("\n", 1);
  return key == 'Y' || key == 'y' ? Answer::Yes : Answer::No;
}

void PosixPlatform::appendFullPath(const char *name, TextBuffer &out) {
  char folder[kMaxPathBytes];
  if (*name != '/' && ::getcwd(folder, sizeof folder) != nullptr) {
    out.appendf("%s/", folder);
  }
  out.append(name);
}

} // namespace installer
