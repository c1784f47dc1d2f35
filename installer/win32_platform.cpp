#include "installer/win32_platform.h"

#include "installer/device_map.h"
#include "installer/text_buffer.h"
#include "installer/win32_console_font.h"
#include "installer/win32_firmware.h"
#include "platform/plain_file.h"

#include <winioctl.h>

namespace installer {

namespace {

SystemError lastError() {
  return SystemError::windows(static_cast<long>(GetLastError()));
}

// UTF-8 to UTF-16 into a fixed buffer; false when it does not fit.
bool widen(const char *text, int length, wchar_t *out, int capacity, int &written) {
  written = length == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, text, length, out, capacity - 1);
  if (length != 0 && written == 0) {
    return false;
  }
  out[written] = L'\0';
  return true;
}

bool widenPath(const char *path, wchar_t *out, int capacity) {
  int written = 0;
  return widen(path, lstrlenA(path), out, capacity, written);
}

OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED position = {};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

SystemError readWhole(HANDLE file, std::uint8_t *data, std::size_t capacity, std::size_t &size) {
  size = 0;
  while (size < capacity) {
    DWORD got = 0;
    if (!ReadFile(file, data + size, static_cast<DWORD>(capacity - size), &got, nullptr)) {
      return lastError();
    }
    if (got == 0) {
      break;
    }
    size += got;
  }
  return SystemError();
}

// `plainOnly`: the file itself is opened, never what a reparse point leads to, and one that is a
// reparse point or has another name (a hard link) is refused: the files the user names live in
// folders that other programs can write.
SystemError readWholeFile(const wchar_t *path, bool plainOnly, std::uint8_t *data,
                          std::size_t capacity, std::size_t &size) {
  const Win32Handle file(
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                  plainOnly ? FILE_FLAG_OPEN_REPARSE_POINT : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return lastError();
  }
  bool plain = true;
  if (plainOnly && !bootdeck::askPlainFile(file.get(), plain)) {
    return lastError();
  }
  if (!plain) {
    return SystemError::linkedFile();
  }
  return readWhole(file.get(), data, capacity, size);
}

// Wine's ntdll has this export, Windows' never does; looked up at run time, so the bytes tested
// under Wine are the bytes released.
bool runsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void physicalDrivePath(int number, wchar_t *path) {
  const wchar_t prefix[] = L"\\\\.\\PhysicalDrive";
  lstrcpyW(path, prefix);
  wchar_t digits[8];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + number % 10);
    number /= 10;
  } while (number > 0);
  int end = sizeof prefix / sizeof prefix[0] - 1;
  while (count > 0) {
    path[end++] = digits[--count];
  }
  path[end] = L'\0';
}

SystemError mappedPath(const wchar_t *mapName, int number, wchar_t *path) {
  char map[16384];
  std::size_t mapLength = 0;
  const SystemError error =
      readWholeFile(mapName, false, reinterpret_cast<std::uint8_t *>(map), sizeof map, mapLength);
  if (error.failed()) {
    return error;
  }
  char mapped[kMaxPathBytes];
  if (!findMappedPath(map, mapLength, number, mapped, sizeof mapped) ||
      !widenPath(mapped, path, kMaxPathBytes)) {
    return SystemError::windows(ERROR_FILE_NOT_FOUND);
  }
  return SystemError();
}

void writeText(DWORD which, const char *text, std::size_t length, bool &fontChosen) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  DWORD done = 0;
  if (GetConsoleMode(handle, &mode)) {
    // The console takes Unicode whatever its code page, so Chinese reads right in every locale.
    if (!fontChosen) {
      preferChineseConsoleFont(handle);
      fontChosen = true;
    }
    wchar_t wide[TextBuffer::kCapacity];
    int written = 0;
    if (widen(text, static_cast<int>(length), wide, TextBuffer::kCapacity, written)) {
      WriteConsoleW(handle, wide, static_cast<DWORD>(written), &done, nullptr);
    }
    return;
  }
  WriteFile(handle, text, static_cast<DWORD>(length), &done, nullptr);
}

bool isModifierKey(WORD key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_CAPITAL;
}

// The character of the next key pressed on the console (0 for a key without one), or false when
// the console cannot be read.
bool readKey(HANDLE console, wchar_t &character) {
  for (;;) {
    INPUT_RECORD record;
    DWORD got = 0;
    if (!ReadConsoleInputW(console, &record, 1, &got) || got == 0) {
      return false;
    }
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
        !isModifierKey(record.Event.KeyEvent.wVirtualKeyCode)) {
      character = record.Event.KeyEvent.uChar.UnicodeChar;
      return true;
    }
  }
}

} // namespace

// Sector 0 and the gap before the first partition lie outside every volume: since Vista an
// administrator may write them on \\.\PhysicalDriveN without locking or dismounting any volume,
// and the tool writes nowhere else, so it takes no lock. Other programs keep their access
// (FILE_SHARE_*): the system itself holds the disk open.
SystemError Win32Disk::open(const wchar_t *path, bool writable, std::uint32_t &sectorSize) {
  if (!buffer_.allocate()) {
    return lastError();
  }
  // Device names (\\.\...) are real disks: no cache between the tool and the medium, writes
  // finished on the device before WriteFile returns. Images are files, read through the cache
  // (unbuffered transfers there would have to match the host volume's sector size).
  const bool device = path[0] == L'\\' && path[1] == L'\\' && path[2] == L'.' && path[3] == L'\\';
  lstrcpynW(path_, path, kMaxPathBytes);
  device_ = device;
  const DWORD flags =
      FILE_FLAG_WRITE_THROUGH | (device ? FILE_FLAG_NO_BUFFERING : FILE_ATTRIBUTE_NORMAL);
  handle_.reset(CreateFileW(path, GENERIC_READ | (writable ? GENERIC_WRITE : 0),
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags,
                            nullptr));
  if (!handle_.valid()) {
    return lastError();
  }
  sectorSize = 512;
  // A real disk's geometry tells its sector size.
  if (device) {
    DISK_GEOMETRY geometry = {};
    DWORD returned = 0;
    if (!DeviceIoControl(handle_.get(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry,
                         sizeof geometry, &returned, nullptr)) {
      return lastError();
    }
    sectorSize = geometry.BytesPerSector;
  }
  return SystemError();
}

// Transfers go through the page buffer: unbuffered I/O needs a sector-aligned buffer, and a
// Sector may sit anywhere.
SystemError Win32Disk::read(std::uint64_t lba, Sector &out) {
  OVERLAPPED position = at(lba * out.size());
  DWORD got = 0;
  if (!ReadFile(handle_.get(), buffer_.get(), static_cast<DWORD>(out.size()), &got, &position)) {
    const DWORD error = GetLastError();
    return error == ERROR_HANDLE_EOF ? SystemError::endOfDevice()
                                     : SystemError::windows(static_cast<long>(error));
  }
  if (got != out.size()) {
    return SystemError::endOfDevice();
  }
  CopyMemory(out.data(), buffer_.get(), out.size());
  return SystemError();
}

SystemError Win32Disk::write(std::uint64_t lba, const Sector &in) {
  OVERLAPPED position = at(lba * in.size());
  CopyMemory(buffer_.get(), in.data(), in.size());
  DWORD put = 0;
  if (!WriteFile(handle_.get(), buffer_.get(), static_cast<DWORD>(in.size()), &put, &position)) {
    return lastError();
  }
  return put == in.size() ? SystemError() : SystemError::endOfDevice();
}

SystemError Win32Disk::flush() {
  return FlushFileBuffers(handle_.get()) ? SystemError() : lastError();
}

void Win32Disk::identify(DiskIdentity &identity) {
  identity.image = !device_;
  WideCharToMultiByte(CP_UTF8, 0, path_, -1, identity.path, sizeof identity.path, nullptr, nullptr);
  if (!device_) {
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(handle_.get(), &size)) {
      identity.bytes = static_cast<std::uint64_t>(size.QuadPart);
    }
    return;
  }
  STORAGE_PROPERTY_QUERY query = {};
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  // Room for the descriptor and its texts; a longer one comes back cut, which the reader allows.
  DWORD descriptor[256];
  DWORD returned = 0;
  if (DeviceIoControl(handle_.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, descriptor,
                      sizeof descriptor, &returned, nullptr)) {
    readDeviceDescriptor(reinterpret_cast<const std::uint8_t *>(descriptor), returned, identity);
  }
  GET_LENGTH_INFORMATION length = {};
  if (DeviceIoControl(handle_.get(), IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length,
                      &returned, nullptr)) {
    identity.bytes = static_cast<std::uint64_t>(length.Length.QuadPart);
  }
}

Disk *Win32Platform::openDisk(int number, bool writable, std::uint32_t &sectorSize,
                              SystemError &error) {
  wchar_t path[kMaxPathBytes];
  wchar_t mapName[kMaxPathBytes];
  SetLastError(ERROR_SUCCESS); // an empty variable returns 0 without setting an error
  const DWORD mapNameLength =
      GetEnvironmentVariableW(kDeviceMapVariableWide, mapName, static_cast<DWORD>(kMaxPathBytes));
  const bool mapSet = mapNameLength > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  switch (chooseDiskSource(runsUnderWine(), mapSet)) {
  case DiskSource::PhysicalDrive:
    physicalDrivePath(number, path);
    break;
  case DiskSource::DeviceMap:
    // A map that is set to nothing or cannot be read leaves no disk, never the real ones.
    error = mapNameLength == 0               ? SystemError::windows(ERROR_FILE_NOT_FOUND)
            : mapNameLength >= kMaxPathBytes ? SystemError::windows(ERROR_FILENAME_EXCED_RANGE)
                                             : mappedPath(mapName, number, path);
    if (error.failed()) {
      return nullptr;
    }
    break;
  case DiskSource::NoDisk:
    error = SystemError::windows(ERROR_FILE_NOT_FOUND);
    return nullptr;
  case DiskSource::MapOutsideWine:
    error = SystemError::mapOutsideWine();
    return nullptr;
  }
  error = disk_.open(path, writable, sectorSize);
  return error.failed() ? nullptr : &disk_;
}

SystemError Win32Platform::writeFile(const char *name, const std::uint8_t *data, std::size_t size) {
  wchar_t path[kMaxPathBytes];
  if (!widenPath(name, path, kMaxPathBytes)) {
    return SystemError::windows(ERROR_INVALID_NAME);
  }
  // A link planted at the name is itself an existing file here, never followed to its target.
  const Win32Handle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
  if (!file.valid()) {
    return lastError();
  }
  DWORD put = 0;
  if (!WriteFile(file.get(), data, static_cast<DWORD>(size), &put, nullptr)) {
    return lastError();
  }
  if (put != size) {
    return SystemError::windows(ERROR_WRITE_FAULT);
  }
  return FlushFileBuffers(file.get()) ? SystemError() : lastError();
}

SystemError Win32Platform::readFile(const char *name, std::uint8_t *data, std::size_t capacity,
                                    std::size_t &size) {
  wchar_t path[kMaxPathBytes];
  if (!widenPath(name, path, kMaxPathBytes)) {
    return SystemError::windows(ERROR_INVALID_NAME);
  }
  return readWholeFile(path, true, data, capacity, size);
}

void Win32Platform::writeOut(const char *text, std::size_t length) {
  writeText(STD_OUTPUT_HANDLE, text, length, fontChosen_);
}

void Win32Platform::writeErr(const char *text, std::size_t length) {
  writeText(STD_ERROR_HANDLE, text, length, fontChosen_);
}

void Win32Platform::waitForKey() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) {
    // No console to press a key in: take one character, or go on at the end of the input.
    char character = 0;
    DWORD got = 0;
    ReadFile(input, &character, 1, &got, nullptr);
    return;
  }
  FlushConsoleInputBuffer(input);
  wchar_t character = 0;
  readKey(input, character);
}

// Keys typed before the question are dropped: only a key pressed after reading it answers.
Platform::Answer Win32Platform::ask(const char *question) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) {
    return Answer::NoConsole;
  }
  FlushConsoleInputBuffer(input);
  TextBuffer line;
  line.appendf("%s ", question);
  writeOut(line.c_str(), line.size());
  wchar_t character = 0;
  const bool read = readKey(input, character);
  line.clear();
  if (read && character > L' ' && character < 0x7F) {
    line.appendf("%c", static_cast<char>(character));
  }
  line.append("\n");
  writeOut(line.c_str(), line.size());
  return read && (character == L'Y' || character == L'y') ? Answer::Yes : Answer::No;
}

Firmware Win32Platform::firmware() {
  return decideFirmware(askFirmware());
}

void Win32Platform::setTitle(const char *title) {
  wchar_t wide[512];
  if (widenPath(title, wide, sizeof wide / sizeof wide[0])) {
    SetConsoleTitleW(wide);
  }
}

void Win32Platform::appendFullPath(const char *name, TextBuffer &out) {
  wchar_t wide[kMaxPathBytes];
  wchar_t full[kMaxPathBytes];
  char text[kMaxPathBytes * 3];
  const DWORD length = widenPath(name, wide, kMaxPathBytes)
                           ? GetFullPathNameW(wide, kMaxPathBytes, full, nullptr)
                           : 0;
  const int bytes = length > 0 && length < kMaxPathBytes
                        ? WideCharToMultiByte(CP_UTF8, 0, full, static_cast<int>(length), text,
                                              sizeof text, nullptr, nullptr)
                        : 0;
  if (bytes > 0) {
    out.append(text, static_cast<std::size_t>(bytes));
  } else {
    out.append(name);
  }
}

} // namespace installer
