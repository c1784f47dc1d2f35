#include "disks/enumeration.h"

#include "disks/disk_recheck.h"
#include "platform/failure.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_process_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using bootdeck::Failure;
using bootdeck::FakeFileSystem;
using bootdeck::FakeProcessRunner;
using bootdeck::ProbeContext;
using bootdeck::RecordedRun;
using bootdeck::RunResult;

const char kFolder[] = "C:\\boot";
const char kListing[] = "C:\\boot\\tempch.tmp";

// A listing in the tool's shape with primary entries of the given lengths in sectors.
std::string listing(std::initializer_list<unsigned> lengths) {
  std::string text = "Partition table of the disk\r\n";
  int number = 0;
  for (unsigned length : lengths) {
    char line[64];
    std::snprintf(line, sizeof line, "%2d  %02X    %8X    %8X\r\n", number++, 6, 2048u, length);
    text += line;
  }
  return text;
}

// The machine as the probes see it: the tool's standard output for each disk number, redirected
// into the listing file (created empty for a disk that is not there).
struct Machine {
  std::map<int, std::string> disks;
  FakeFileSystem files;
  FakeProcessRunner runner;

  Machine() {
    runner.reaction = [this](const RecordedRun &run) {
      const auto open = run.command.find("(hd");
      const int disk = std::stoi(run.command.substr(open + 3));
      const auto found = disks.find(disk);
      files.files[kListing] = found == disks.end() ? std::string() : found->second;
      RunResult started;
      started.started = true;
      return started;
    };
  }
  ProbeContext context(const char *separator = ".") { return {runner, files, kFolder, separator}; }
};

std::vector<std::string> enumerate(Machine &machine, const char *separator = ".") {
  return bootdeck::enumerateDiskItems(machine.context(separator));
}

TEST(Enumeration, ProbesDisksZeroToTenHiddenAndWaitingWithTheExactCommand) {
  Machine machine;
  enumerate(machine);
  ASSERT_EQ(11u, machine.runner.runs.size());
  for (int disk = 0; disk <= 10; ++disk) {
    const RecordedRun &run = machine.runner.runs[disk];
    EXPECT_EQ("%comspec% /c C:\\boot\\mtldrinst.EXE -l (hd" + std::to_string(disk) +
                  ") >  C:\\boot\\tempch.tmp",
              run.command);
    EXPECT_EQ(bootdeck::WindowStyle::Hidden, run.style);
    EXPECT_TRUE(run.wait);
  }
}

TEST(Enumeration, ItemsInProbeOrderCarryTheDiskNumberPlusOne) {
  const struct {
    const char *name;
    std::map<int, std::string> disks;
    const char *separator;
    std::vector<std::string> items;
  } cases[] = {
      {"none", {}, ".", {}},
      {"0 and 2, 1 missing",
       {{0, listing({2048})}, {2, listing({1048576})}},
       ".",
       {"第1块介质 : 1 MB", "第3块介质 : 0.5 GB"}},
      {"9 and 10",
       {{9, listing({64})}, {10, listing({3072})}},
       ".",
       {"第10块介质 : 0.0312 MB", "第11块介质 : 1.5 MB"}},
      {"order is the probe order, not the size",
       {{0, listing({0xFFFFFFFF})}, {1, listing({2})}},
       ".",
       {"第1块介质 : 2048 GB", "第2块介质 : 0.001 MB"}},
      {"primaries summed", {{4, listing({1024, 1024, 2048, 4096})}}, ".", {"第5块介质 : 4 MB"}},
      {"user's separator", {{0, listing({3072})}}, ",", {"第1块介质 : 1,5 MB"}},
      {"exactly 10 bytes is no disk, 11 are a disk",
       {{0, "0 12345678"}, {1, "Nothing 3\r\n"}},
       ".",
       {"第2块介质 : 0 MB"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.disks = c.disks;
    EXPECT_EQ(c.items, enumerate(machine, c.separator));
    EXPECT_FALSE(machine.files.fileExists(kListing)) << "listing file left behind";
  }
}

TEST(Enumeration, StaleListingFromAnEarlierRunIsOverwrittenAndRemoved) {
  Machine machine;
  machine.files.files[kListing] = listing({2048});
  EXPECT_TRUE(enumerate(machine).empty());
  EXPECT_FALSE(machine.files.fileExists(kListing));
}

TEST(Enumeration, FailuresStopTheProbingAndPassToTheCaller) {
  const struct {
    const char *name;
    std::function<void(Machine &)> arrange;
    unsigned long number;
    size_t runs; // probes made before the failure ended the enumeration
  } cases[] = {
      {"listing missing after a probe",
       [](Machine &m) {
         m.runner.reaction = [](const RecordedRun &) {
           RunResult started;
           started.started = true;
           return started;
         };
       },
       2, 1},
      {"counted line not hexadecimal", [](Machine &m) { m.disks[3] = "0  07    12G4\r\n"; }, 13, 4},
      {"counted line beyond 32 bits", [](Machine &m) { m.disks[1] = "2 100000000\r\n"; }, 6, 2},
      {"counted line with an empty last field",
       [](Machine &m) { m.disks[0] = "1  07    2048 \r\n"; }, 13, 1},
      {"listing cannot be deleted at the end",
       [](Machine &m) { m.files.readOnly.insert(kListing); }, 5, 11},
      {"command interpreter cannot be started",
       [](Machine &m) {
         // A listing of an earlier probe must not be taken for this disk's.
         m.files.files[kListing] = listing({2048});
         m.runner.reaction = [](const RecordedRun &) {
           RunResult failed;
           failed.errorNumber = 2;
           failed.errorText = "The system cannot find the file specified.";
           return failed;
         };
       },
       2, 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    c.arrange(machine);
    try {
      enumerate(machine);
      ADD_FAILURE() << "no failure";
    } catch (const Failure &failure) {
      EXPECT_EQ(c.number, failure.number());
      EXPECT_NE("", std::string(failure.what()));
    }
    EXPECT_EQ(c.runs, machine.runner.runs.size());
  }
}

TEST(DiskRecheck, SameItemTextAgainIsTheOnlyWayThrough) {
  const std::string chosen = "第3块介质 : 8 MB";
  const struct {
    const char *name;
    std::map<int, std::string> disks;
    bool unchanged;
  } cases[] = {
      {"unchanged", {{0, listing({64})}, {2, listing({16384})}}, true},
      {"chosen disk gone", {{0, listing({64})}}, false},
      {"another disk took its number", {{2, listing({65536})}}, false},
      {"only the other disks changed", {{2, listing({16384})}, {5, listing({64})}}, true},
      {"listing unreadable now", {{2, "0 zz\r\n1 22\r\n"}}, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.disks = c.disks;
    EXPECT_EQ(c.unchanged, bootdeck::chosenDiskUnchanged(machine.context(), chosen));
    ASSERT_EQ(1u, machine.runner.runs.size());
    EXPECT_EQ("%comspec% /c C:\\boot\\mtldrinst.EXE -l (hd2) >  C:\\boot\\tempch.tmp",
              machine.runner.runs[0].command);
    EXPECT_EQ(bootdeck::WindowStyle::Hidden, machine.runner.runs[0].style);
    EXPECT_TRUE(machine.runner.runs[0].wait);
    EXPECT_FALSE(machine.files.fileExists(kListing)) << "listing file left behind";
  }
}

TEST(DiskRecheck, AnswerThatCannotBeHadCountsAsChanged) {
  const std::string chosen = "第1块介质 : 1 MB";
  {
    SCOPED_TRACE("a listing left from before does not pass for the answer");
    Machine machine;
    machine.files.files[kListing] = listing({2048});
    machine.runner.reaction = [](const RecordedRun &) {
      RunResult started;
      started.started = true;
      return started;
    };
    EXPECT_FALSE(bootdeck::chosenDiskUnchanged(machine.context(), chosen));
  }
  {
    SCOPED_TRACE("command interpreter cannot be started");
    Machine machine;
    machine.disks[0] = listing({2048});
    machine.runner.reaction = [](const RecordedRun &) { return RunResult(); };
    EXPECT_FALSE(bootdeck::chosenDiskUnchanged(machine.context(), chosen));
  }
  {
    SCOPED_TRACE("no item chosen");
    Machine machine;
    machine.disks[0] = listing({2048});
    EXPECT_FALSE(bootdeck::chosenDiskUnchanged(machine.context(), ""));
    EXPECT_TRUE(machine.runner.runs.empty());
  }
}

TEST(DiskRecheck, ListingThatCannotBeDeletedIsAFailure) {
  Machine machine;
  machine.disks[0] = listing({2048});
  machine.files.readOnly.insert(kListing);
  machine.files.files[kListing] = "";
  EXPECT_THROW(bootdeck::chosenDiskUnchanged(machine.context(), "第1块介质 : 1 MB"), Failure);
  EXPECT_TRUE(machine.runner.runs.empty()) << "probed although an old listing stayed";
}

} // namespace
