// The device map named by BOOTDECK_DEVICE_MAP: one "(hdN) PATH" per line. A disk that is not in
// the map does not exist, which keeps every test away from real disks.
#pragma once

#include <cstddef>

namespace installer {

constexpr const char *kDeviceMapVariable = "BOOTDECK_DEVICE_MAP";
constexpr const wchar_t *kDeviceMapVariableWide = L"BOOTDECK_DEVICE_MAP";
constexpr std::size_t kMaxPathBytes = 1024;

// Copies the path mapped to disk `number` into `path` (NUL-terminated). Returns false when the
// map has no line for it or the path does not fit.
bool findMappedPath(const char *mapText, std::size_t mapLength, int number, char *path,
                    std::size_t pathCapacity);

} // namespace installer
