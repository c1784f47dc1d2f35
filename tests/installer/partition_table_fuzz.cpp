// libFuzzer target for what the tool reads from a disk it does not trust: the partition table,
// the extended chain, the listing, the install checks, the BitLocker scan and the device's own
// description. The input is a pool of sectors; the disk reads LBA n from sector n modulo the
// pool's size, so chains loop and jump freely.
#include "installer/bitlocker.h"
#include "installer/install_plan.h"
#include "installer/listing.h"

#include <cstring>

namespace {

class PoolDisk final : public installer::Disk {
public:
  PoolDisk(const std::uint8_t *data, std::size_t sectors) : data_(data), sectors_(sectors) {}

  installer::SystemError read(std::uint64_t lba, installer::Sector &out) override {
    std::memcpy(out.data(), data_ + (lba % sectors_) * out.size(), out.size());
    return installer::SystemError();
  }
  installer::SystemError write(std::uint64_t, const installer::Sector &) override {
    return installer::SystemError::posix(30);
  }
  installer::SystemError flush() override { return installer::SystemError(); }
  void identify(installer::DiskIdentity &) override {}

private:
  const std::uint8_t *data_;
  std::size_t sectors_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::size_t sectors = size / 512;
  if (sectors == 0) {
    return 0;
  }
  PoolDisk disk(data, sectors);
  installer::Sector mbr;
  disk.read(0, mbr);

  installer::TextBuffer text;
  installer::appendListing(mbr, installer::readLogicalPartitions(mbr, disk), text);

  // The boot image is the pool's own first sectors; only the extra-sector count matters here.
  const installer::BootImage image{data, (sectors < 8 ? sectors : 8) * 512};
  installer::Options options;
  options.noBackupMbr = (data[0] & 1) != 0;
  installer::planInstall(mbr, disk, image, options, installer::kMtldrVariant);

  installer::TextBuffer names;
  installer::findBitLockerPartitions(mbr, disk, names);
  installer::DiskIdentity identity;
  installer::readDeviceDescriptor(data, size, identity);
  installer::appendDiskIdentity(identity, "(hd0)", text);
  return 0;
}
