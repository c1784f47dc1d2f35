// Which of the two builds this is: the build defines BOOTDECK_MTLDR_BUILD for the MTLDR one.
#pragma once

#include "installer/arguments.h"

namespace installer {

#ifdef BOOTDECK_MTLDR_BUILD
constexpr const Variant &kBuildVariant = kMtldrVariant;
#else
constexpr const Variant &kBuildVariant = kGrldrVariant;
#endif

} // namespace installer
