// libFuzzer target for what the tool reads from a disk it does not trust: the partition table,
// the extended chain, the listing, the install checks, the BitLocker scan and the device's own
// description. The input is the pool of sectors that the fake disk reads.
#include "fake.h"
#include "installer/bitlocker.h"
#include "installer/install_plan.h"
#include "installer/listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  installer::Fake disk;
  disk.pool = data;
  disk.poolSectors = size / 512;
  if (disk.poolSectors == 0) {
    return 0;
  }
  installer::Sector mbr;
  disk.read(0, mbr);
  installer::TextBuffer text;
  installer::appendListing(mbr, installer::readLogicalPartitions(mbr, disk), text);
  // The boot image is the pool's own first sectors: only the count of its sectors matters here.
  const installer::BootImage image{data, std::min<std::size_t>(disk.poolSectors, 8) * 512};
  installer::Options options;
  options.noBackupMbr = (data[0] & 1) != 0;
  installer::planInstall(mbr, disk, image, options, installer::kMtldrVariant);
  installer::findBitLockerPartitions(mbr, disk, text);
  installer::DiskIdentity identity;
  installer::readDeviceDescriptor(data, size, identity);
  installer::appendDiskIdentity(identity, "(hd0)", text);
  return 0;
}
