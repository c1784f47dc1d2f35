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

// Where a disk number leads on Windows. The environment is the user's other programs' too, so on
// Windows it never picks the disk: \\.\PhysicalDriveN, and a map that is set there is refused
// rather than ignored, so that a test run on a real Windows opens no disk at all. Under Wine
// (tests and the demo) only the map's images exist.
enum class DiskSource { PhysicalDrive, DeviceMap, NoDisk, MapOutsideWine };

// `mapSet`: the variable is in the environment, even empty.
DiskSource chooseDiskSource(bool underWine, bool mapSet);

} // namespace installer
