// The install report's forecast of the next start: what the boot code about to be written will
// load from the target disk, or what it will do when it finds no loader there.
#pragma once

#include "installer/boot_record.h"
#include "installer/disk.h"
#include "installer/install_plan.h"
#include "installer/loader_search.h"
#include "installer/text_buffer.h"

namespace installer {

// The lines for `search`, made on disk `diskName` ("(hd0)").
void appendBootForecast(const BootSearch &search, const char *diskName, TextBuffer &out);

// Searches `disk` as the boot code will find it once `plan` is written (sector 0, LBA 1 and the
// gap sectors as planned, the rest as it is now) and writes the lines to the console.
void reportBootForecast(const Sector &mbr, const InstallPlan &plan, const BootImage &image,
                        Disk &disk, const char *diskName, Platform &platform);

} // namespace installer
