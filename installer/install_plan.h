// Deciding an install: every check is made and every sector to write is known before anything
// is written.
#pragma once

#include "installer/arguments.h"
#include "installer/boot_record.h"
#include "installer/disk.h"
#include "installer/refusal.h"
#include "installer/sector.h"

#include <cstdint>

namespace installer {

// Sector 0 may receive boot code: it carries a real MBR partition table, not GPT, not a volume.
Outcome checkWritableMbr(const Sector &mbr);

struct InstallPlan {
  Outcome outcome;
  bool reinstall = false;        // sector 0 already holds our code
  bool writePreviousMbr = false; // LBA 1 gets today's sector 0
  bool previousMbrSaved = false; // LBA 1 holds the previous MBR after the install
  Sector bootSector{};
};

// Reads LBA 1 and the gap through `disk` as needed.
InstallPlan planInstall(const Sector &mbr, Disk &disk, const BootImage &image,
                        const Options &options, const Variant &variant);

} // namespace installer
