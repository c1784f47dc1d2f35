#include "installer/arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace installer {
namespace {

struct Parsed {
  UsageError error;
  Options options;
};

Parsed parse(const Variant &variant, std::vector<const char *> args) {
  args.insert(args.begin(), "tool");
  Parsed parsed;
  parsed.error =
      parseArguments(variant, static_cast<int>(args.size()), args.data(), parsed.options);
  return parsed;
}

struct UsageCase {
  const Variant *variant;
  std::vector<const char *> args;
};

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, AreRefused) {
  const Parsed parsed = parse(*GetParam().variant, GetParam().args);
  EXPECT_NE(parsed.error.reason, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    BothBuilds, UsageErrors,
    ::testing::Values(UsageCase{&kMtldrVariant, {}}, UsageCase{&kMtldrVariant, {"--pause"}},
                      UsageCase{&kMtldrVariant, {"(hd0)", "--pause"}},
                      UsageCase{&kMtldrVariant, {"(hd0)", "(hd1)"}},
                      UsageCase{&kMtldrVariant, {"--bogus", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=abc", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=300", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=256", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=-1", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--time-out=5 ", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"hd0"}}, UsageCase{&kMtldrVariant, {"(hd)"}},
                      UsageCase{&kMtldrVariant, {"(hdx)"}}, UsageCase{&kMtldrVariant, {"(hd01)"}},
                      UsageCase{&kMtldrVariant, {"(hd128)"}}, UsageCase{&kMtldrVariant, {"(hd0"}},
                      UsageCase{&kMtldrVariant, {"(fd0)"}}, UsageCase{&kMtldrVariant, {"(hd-1)"}},
                      UsageCase{&kMtldrVariant, {"--save-mbr=x", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--restore-mbr=x", "(hd0)"}},
                      UsageCase{&kGrldrVariant, {"--save=x", "(hd0)"}},
                      UsageCase{&kGrldrVariant, {"--restore=x", "(hd0)"}},
                      UsageCase{&kGrldrVariant, {"-l", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"-l", "--pause", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--restore=", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--restore=a", "--restore-prevmbr", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--restore-prevmbr", "--no-backup-mbr", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--restore-prevmbr", "--time-out=3", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--pause", "--pause", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--save=a", "--save=b", "(hd0)"}},
                      UsageCase{&kMtldrVariant, {"--READ-ONLY", "(hd0)"}}));

TEST(Arguments, ComposedInstallLineOfEachBuild) {
  const Parsed m =
      parse(kMtldrVariant,
            {"--save=2006-5-3-1", "--no-backup-mbr", "--mbr-disable-floppy", "--mbr-disable-osbr",
             "--boot-prevmbr-first", "--time-out=10", "--read-only", "--pause", "(hd10)"});
  ASSERT_EQ(m.error.reason, nullptr) << m.error.reason;
  EXPECT_EQ(m.options.mode, Mode::Install);
  EXPECT_EQ(m.options.disk, 10);
  EXPECT_STREQ(m.options.saveFile, "2006-5-3-1");
  EXPECT_TRUE(m.options.noBackupMbr && m.options.disableFloppy && m.options.disableOsbr &&
              m.options.previousMbrFirst && m.options.readOnly && m.options.pause);
  EXPECT_EQ(m.options.timeout, 10);

  const Parsed g = parse(kGrldrVariant, {"--save-mbr=", "--pause", "(hd0)"});
  ASSERT_EQ(g.error.reason, nullptr) << g.error.reason;
  EXPECT_EQ(g.options.mode, Mode::Install);
  EXPECT_STREQ(g.options.saveFile, "");
  EXPECT_EQ(g.options.timeout, kDefaultTimeout);
  EXPECT_FALSE(g.options.noBackupMbr || g.options.readOnly);
}

TEST(Arguments, RestoreFlagsChooseUninstall) {
  const Parsed file = parse(kGrldrVariant, {"--restore-mbr=bk", "--pause", "(hd3)"});
  ASSERT_EQ(file.error.reason, nullptr);
  EXPECT_EQ(file.options.mode, Mode::Uninstall);
  EXPECT_STREQ(file.options.restoreFile, "bk");

  const Parsed lba1 = parse(kMtldrVariant, {"--restore-prevmbr", "--read-only", "(hd0)"});
  ASSERT_EQ(lba1.error.reason, nullptr);
  EXPECT_EQ(lba1.options.mode, Mode::Uninstall);
  EXPECT_TRUE(lba1.options.restorePreviousMbr);
}

TEST(Arguments, ListModeAndDeviceNumbers) {
  const struct {
    const char *device;
    int disk;
  } cases[] = {{"(hd0)", 0}, {"(hd9)", 9}, {"(hd10)", 10}, {"(hd127)", 127}};
  for (const auto &c : cases) {
    const Parsed p = parse(kMtldrVariant, {"-l", c.device});
    ASSERT_EQ(p.error.reason, nullptr) << c.device;
    EXPECT_EQ(p.options.mode, Mode::List);
    EXPECT_EQ(p.options.disk, c.disk) << c.device;
  }
}

TEST(Arguments, TimeOutBounds) {
  const struct {
    const char *flag;
    int value;
  } cases[] = {{"--time-out=0", 0}, {"--time-out=255", 255}, {"--time-out=05", 5}};
  for (const auto &c : cases) {
    const Parsed p = parse(kMtldrVariant, {c.flag, "(hd0)"});
    ASSERT_EQ(p.error.reason, nullptr) << c.flag;
    EXPECT_EQ(p.options.timeout, c.value) << c.flag;
  }
}

TEST(Arguments, PauseIsHonouredOnAnyLine) {
  const char *wrong[] = {"tool", "--bogus", "--pause", "(hd0)"};
  EXPECT_TRUE(asksToPause(4, wrong));
  const char *without[] = {"tool", "-l", "(hd0)"};
  EXPECT_FALSE(asksToPause(3, without));
}

} // namespace
} // namespace installer
