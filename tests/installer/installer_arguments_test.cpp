#include "installer/arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace installer {
namespace {

UsageError parse(const Variant &variant, std::vector<const char *> args, Options &options) {
  args.insert(args.begin(), "tool");
  return parseArguments(variant, static_cast<int>(args.size()), args.data(), options);
}

TEST(Arguments, UsageErrors) {
  const struct {
    const Variant *variant;
    std::vector<const char *> args;
  } cases[] = {
      {&kMtldrVariant, {}},
      {&kMtldrVariant, {"--pause"}},
      {&kMtldrVariant, {"(hd0)", "--pause"}},
      {&kMtldrVariant, {"(hd0)", "(hd1)"}},
      {&kMtldrVariant, {"--bogus", "(hd0)"}},
      {&kMtldrVariant, {"--time-out=abc", "(hd0)"}},
      {&kMtldrVariant, {"--time-out=256", "(hd0)"}},
      {&kMtldrVariant, {"--time-out=-1", "(hd0)"}},
      {&kMtldrVariant, {"--time-out=", "(hd0)"}},
      {&kMtldrVariant, {"--time-out=5 ", "(hd0)"}},
      {&kMtldrVariant, {"(hd)"}},
      {&kMtldrVariant, {"(hdx)"}},
      {&kMtldrVariant, {"(hd01)"}},
      {&kMtldrVariant, {"(hd128)"}},
      {&kMtldrVariant, {"(hd0"}},
      {&kMtldrVariant, {"(fd0)"}},
      {&kMtldrVariant, {"(hd-1)"}},
      {&kMtldrVariant, {"--restore-mbr=x", "(hd0)"}},
      {&kGrldrVariant, {"--restore=x", "(hd0)"}},
      {&kMtldrVariant, {"-l", "--pause", "(hd0)"}},
      {&kMtldrVariant, {"--restore=", "(hd0)"}},
      {&kMtldrVariant, {"--restore=a", "--restore-prevmbr", "(hd0)"}},
      {&kMtldrVariant, {"--restore-prevmbr", "--no-backup-mbr", "(hd0)"}},
      {&kMtldrVariant, {"--restore-prevmbr", "--time-out=3", "(hd0)"}},
      {&kMtldrVariant, {"--pause", "--pause", "(hd0)"}},
      {&kMtldrVariant, {"--save=a", "--save=b", "(hd0)"}},
      {&kMtldrVariant, {"--READ-ONLY", "(hd0)"}},
  };
  for (const auto &c : cases) {
    Options options;
    EXPECT_NE(parse(*c.variant, c.args, options).reason, nullptr)
        << c.variant->programName << " " << (c.args.empty() ? "" : c.args[0]);
  }
}

TEST(Arguments, AcceptedLines) {
  const struct {
    const Variant *variant;
    std::vector<const char *> args;
    Mode mode;
    int disk, timeout;
    const char *file; // the save or restore file
    bool allFlags;
  } cases[] = {
      {&kMtldrVariant,
       {"--save=2006-5-3-1", "--no-backup-mbr", "--mbr-disable-floppy", "--mbr-disable-osbr",
        "--boot-prevmbr-first", "--time-out=10", "--read-only", "--pause", "(hd10)"},
       Mode::Install,
       10,
       10,
       "2006-5-3-1",
       true},
      {&kGrldrVariant,
       {"--save-mbr=", "--pause", "(hd0)"},
       Mode::Install,
       0,
       kDefaultTimeout,
       "",
       false},
      {&kMtldrVariant, {"--time-out=0", "(hd0)"}, Mode::Install, 0, 0, "", false},
      {&kMtldrVariant, {"--time-out=255", "(hd0)"}, Mode::Install, 0, 255, "", false},
      {&kMtldrVariant, {"--time-out=05", "(hd0)"}, Mode::Install, 0, 5, "", false},
      {&kGrldrVariant,
       {"--restore-mbr=bk", "--pause", "(hd3)"},
       Mode::Uninstall,
       3,
       kDefaultTimeout,
       "bk",
       false},
      {&kMtldrVariant,
       {"--restore-prevmbr", "(hd0)"},
       Mode::Uninstall,
       0,
       kDefaultTimeout,
       "",
       false},
      {&kMtldrVariant, {"-l", "(hd9)"}, Mode::List, 9, kDefaultTimeout, "", false},
      {&kMtldrVariant, {"-l", "(hd127)"}, Mode::List, 127, kDefaultTimeout, "", false},
  };
  for (const auto &c : cases) {
    Options o;
    const char *reason = parse(*c.variant, c.args, o).reason;
    ASSERT_EQ(reason, nullptr) << reason;
    EXPECT_EQ(o.mode, c.mode);
    EXPECT_EQ(o.disk, c.disk);
    EXPECT_EQ(o.timeout, c.timeout);
    const char *file = c.mode == Mode::Install ? o.saveFile : o.restoreFile;
    EXPECT_STREQ(file, c.file);
    EXPECT_EQ(c.allFlags, o.noBackupMbr && o.disableFloppy && o.disableOsbr && o.previousMbrFirst &&
                              o.readOnly && o.pause);
    EXPECT_EQ(o.restorePreviousMbr, c.mode == Mode::Uninstall && *c.file == '\0');
  }
  const char *wrong[] = {"tool", "--bogus", "--pause", "(hd0)"};
  EXPECT_TRUE(asksToPause(4, wrong));
  const char *without[] = {"tool", "-l", "(hd0)"};
  EXPECT_FALSE(asksToPause(3, without));
}

} // namespace
} // namespace installer
