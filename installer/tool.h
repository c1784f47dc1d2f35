// The whole run of the installer tool over the platform's disk, files and console.
#pragma once

#include "installer/arguments.h"
#include "installer/boot_record.h"
#include "installer/disk.h"

namespace installer {

enum ExitCode { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

int runTool(const Variant &variant, const BootImage &image, int argc, const char *const *argv,
            Platform &platform);

} // namespace installer
