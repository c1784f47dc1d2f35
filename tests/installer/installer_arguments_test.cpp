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

// The runs of the real builds check the flags of both builds' lines; these are the bounds.
TEST(Arguments, TimeOutAndDeviceBounds) {
  const struct {
    const char *timeOut, *device;
    int timeout, disk;
  } cases[] = {{"--time-out=0", "(hd127)", 0, 127},
               {"--time-out=255", "(hd10)", 255, 10},
               {"--time-out=05", "(hd9)", 5, 9}};
  for (const auto &c : cases) {
    Options o;
    const char *reason = parse(kMtldrVariant, {c.timeOut, c.device}, o).reason;
    ASSERT_EQ(reason, nullptr) << reason;
    EXPECT_EQ(o.timeout, c.timeout);
    EXPECT_EQ(o.disk, c.disk);
  }
  Options o;
  ASSERT_EQ(parse(kGrldrVariant, {"--save-mbr=", "(hd0)"}, o).reason, nullptr);
  EXPECT_EQ(o.mode, Mode::Install);
  EXPECT_STREQ(o.saveFile, "");
  const char *wrong[] = {"tool", "--bogus", "--pause", "(hd0)"};
  EXPECT_TRUE(asksToPause(4, wrong));
  const char *without[] = {"tool", "-l", "(hd0)"};
  EXPECT_FALSE(asksToPause(3, without));
}

} // namespace
} // namespace installer
