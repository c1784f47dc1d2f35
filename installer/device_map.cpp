#include "installer/device_map.h"

#include "installer/text_buffer.h"

#include <cstring>

namespace installer {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

bool findMappedPath(const char *mapText, std::size_t mapLength, int number, char *path,
                    std::size_t pathCapacity) {
  TextBuffer keyText;
  keyText.appendf("(hd%d)", number);
  const char *key = keyText.c_str();
  const std::size_t keyLength = keyText.size();

  const char *end = mapText + mapLength;
  for (const char *line = mapText; line < end;) {
    const char *lineEnd = static_cast<const char *>(std::memchr(line, '\n', end - line));
    if (lineEnd == nullptr) {
      lineEnd = end;
    }
    const char *p = line;
    while (p < lineEnd && isBlank(*p)) {
      ++p;
    }
    if (static_cast<std::size_t>(lineEnd - p) > keyLength && std::memcmp(p, key, keyLength) == 0 &&
        isBlank(p[keyLength])) {
      p += keyLength;
      while (p < lineEnd && isBlank(*p)) {
        ++p;
      }
      const char *q = lineEnd;
      while (q > p && isBlank(q[-1])) {
        --q;
      }
      const std::size_t length = static_cast<std::size_t>(q - p);
      if (length == 0 || length >= pathCapacity) {
        return false;
      }
      std::memcpy(path, p, length);
      path[length] = '\0';
      return true;
    }
    line = lineEnd + 1;
  }
  return false;
}

DiskSource chooseDiskSource(bool underWine, bool mapSet) {
  if (underWine) {
    return mapSet ? DiskSource::DeviceMap : DiskSource::NoDisk;
  }
  return mapSet ? DiskSource::MapOutsideWine : DiskSource::PhysicalDrive;
}

} // namespace installer
