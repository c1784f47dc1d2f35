#include "disks/probe_command.h"

#include <gtest/gtest.h>

namespace {

TEST(ProbeCommand, ListsOneDiskIntoTheListingFile) {
  EXPECT_EQ("%comspec% /c C:\\boot\\mtldrinst.EXE -l (hd0) >  C:\\boot\\tempch.tmp",
            bootdeck::probeCommandLine("C:\\boot", 0));
  EXPECT_EQ("%comspec% /c D:\\\\mtldrinst.EXE -l (hd10) >  D:\\\\tempch.tmp",
            bootdeck::probeCommandLine("D:\\", 10));
  EXPECT_EQ("C:\\boot\\tempch.tmp", bootdeck::listingFilePath("C:\\boot"));
}

} // namespace
