#include "installer/disk_identity.h"

#include <cstring>

namespace installer {

namespace {

// Offsets in STORAGE_DEVICE_DESCRIPTOR.
constexpr std::size_t kDescriptorSize = 4;
constexpr std::size_t kRemovableMedia = 10;
constexpr std::size_t kVendorIdOffset = 12;
constexpr std::size_t kProductIdOffset = 16;
constexpr std::size_t kBusType = 28;
constexpr std::size_t kFixedPart = 32;

std::uint32_t le32(const std::uint8_t *p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The NUL-terminated text at `offset` (0: none), cut at the descriptor's end; blanks at both
// ends dropped, and anything but printable ASCII too, so a device cannot write to the console.
void copyDescriptorText(const std::uint8_t *data, std::size_t size, std::uint32_t offset, char *out,
                        std::size_t capacity) {
  std::size_t length = 0;
  for (std::size_t i = offset; offset != 0 && i < size && data[i] != 0; ++i) {
    const bool printable = data[i] >= 0x20 && data[i] < 0x7F;
    if (printable && (length > 0 || data[i] != ' ') && length + 1 < capacity) {
      out[length++] = static_cast<char>(data[i]);
    }
  }
  while (length > 0 && out[length - 1] == ' ') {
    --length;
  }
  out[length] = '\0';
}

} // namespace

void readDeviceDescriptor(const std::uint8_t *data, std::size_t size, DiskIdentity &identity) {
  if (size < kFixedPart) {
    return;
  }
  const std::uint32_t declared = le32(data + kDescriptorSize);
  if (declared < size) {
    size = declared;
  }
  identity.removable =
      data[kRemovableMedia] != 0 ? DiskIdentity::Removable::Yes : DiskIdentity::Removable::No;
  identity.busType = le32(data + kBusType);
  copyDescriptorText(data, size, le32(data + kVendorIdOffset), identity.vendor,
                     sizeof identity.vendor);
  copyDescriptorText(data, size, le32(data + kProductIdOffset), identity.product,
                     sizeof identity.product);
}

const char *busTypeWords(std::uint32_t busType) {
  // Indexed by STORAGE_BUS_TYPE.
  static const char *const kWords[] = {
      nullptr,    "SCSI",  "ATAPI", "ATA",  "IEEE 1394", "SSA",    "光纤通道", "USB",
      "RAID",     "iSCSI", "SAS",   "SATA", "SD 卡",     "MMC 卡", "虚拟磁盘", "虚拟磁盘文件 (VHD)",
      "存储空间", "NVMe",  "SCM",   "UFS"};
  return busType < sizeof kWords / sizeof kWords[0] ? kWords[busType] : nullptr;
}

void appendSizeText(std::uint64_t bytes, TextBuffer &out) {
  const std::uint64_t megabytes = bytes >> 20;
  if (megabytes < 1024) {
    out.appendf("%lu MB", static_cast<unsigned long>(megabytes));
    return;
  }
  const auto tenths = static_cast<unsigned long>((megabytes * 10 + 512) >> 10);
  out.appendf("%lu.%lu GB", tenths / 10, tenths % 10);
}

void appendDiskIdentity(const DiskIdentity &identity, const char *diskName, TextBuffer &out) {
  out.appendf("磁盘 %s 是%s%s", diskName, identity.image ? "映像文件 " : " ", identity.path);
  // Each known detail after the path, the first after ": " (a device) or "," (an image).
  const char *separator = identity.image ? "," : ": ";
  const auto next = [&out, &separator]() {
    out.append(separator);
    separator = ",";
  };
  if (*identity.vendor != '\0' || *identity.product != '\0') {
    next();
    out.append(identity.vendor);
    out.append(*identity.vendor != '\0' && *identity.product != '\0' ? " " : "");
    out.append(identity.product);
  }
  if (const char *bus = busTypeWords(identity.busType)) {
    next();
    out.appendf("接口 %s", bus);
  }
  if (identity.bytes != 0) {
    next();
    out.append(identity.image ? "大小 " : "容量 ");
    appendSizeText(identity.bytes, out);
  }
  if (identity.removable != DiskIdentity::Removable::Unknown) {
    next();
    out.append(identity.removable == DiskIdentity::Removable::Yes ? "可移动磁盘" : "固定磁盘");
  }
}

} // namespace installer
