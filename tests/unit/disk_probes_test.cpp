#include "disks/enumeration.h"

#include "disks/disk_recheck.h"
#include "platform/failure.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_process_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

using bootdeck::Failure;
using bootdeck::RecordedRun;
using bootdeck::RunResult;

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

std::string probe(int disk) {
  return "%comspec% /c C:\\boot\\mtldrinst.EXE -l (hd" + std::to_string(disk) +
         ") >  C:\\boot\\tempch.tmp";
}

// The machine as the probes see it: the tool's standard output for each disk number, redirected
// into the listing file (created empty for a disk that is not there).
struct Machine {
  std::map<int, std::string> disks;
  bootdeck::FakeFileSystem files;
  bootdeck::FakeProcessRunner runner;

  Machine() {
    runner.reaction = [this](const RecordedRun &run) {
      const int disk = std::stoi(run.command.substr(run.command.find("(hd") + 3));
      const auto found = disks.find(disk);
      files.files[kListing] = found == disks.end() ? std::string() : found->second;
      RunResult started;
      started.started = true;
      return started;
    };
  }
  bootdeck::ProbeContext context() { return {runner, files, "C:\\boot", "."}; }
  void expectProbes(int first, int last) {
    ASSERT_EQ(static_cast<std::size_t>(last - first + 1), runner.runs.size());
    for (int disk = first; disk <= last; ++disk) {
      const RecordedRun &run = runner.runs[disk - first];
      EXPECT_EQ(probe(disk), run.command);
      EXPECT_EQ(bootdeck::WindowStyle::Hidden, run.style);
      EXPECT_TRUE(run.wait);
    }
    EXPECT_FALSE(files.fileExists(kListing)) << "listing file left behind";
  }
};

RunResult startedWithoutOutput(const RecordedRun &) {
  RunResult started;
  started.started = true;
  return started;
}

RunResult notStarted(const RecordedRun &) {
  RunResult failed;
  failed.errorNumber = 2;
  failed.errorText = "The system cannot find the file specified.";
  return failed;
}

// The end-to-end runs check the common lists (disks 0 and 2, 9 and 10, none) and the changed
// disks; these are the edges.
TEST(Enumeration, ElevenProbesGiveItemsInProbeOrder) {
  const struct {
    const char *name;
    std::map<int, std::string> disks;
    std::vector<std::string> items;
  } cases[] = {
      {"0 and 2, in probe order, not by size",
       {{0, listing({1048576})}, {2, listing({2048})}},
       {"第1块介质 : 0.5 GB", "第3块介质 : 1 MB"}},
      {"primaries summed", {{4, listing({1024, 1024, 2048, 4096})}}, {"第5块介质 : 4 MB"}},
      {"exactly 10 bytes is no disk, 11 are a disk",
       {{0, "0 12345678"}, {1, "Nothing 3\r\n"}},
       {"第2块介质 : 0 MB"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.disks = c.disks;
    machine.files.files[kListing] = listing({2048}); // stale, from an earlier run
    EXPECT_EQ(c.items, bootdeck::enumerateDiskItems(machine.context()));
    machine.expectProbes(0, 10);
  }
}

TEST(Enumeration, FailuresStopTheProbingAndPassToTheCaller) {
  const struct {
    const char *name;
    std::function<void(Machine &)> arrange;
    unsigned long number;
    size_t runs; // probes made before the failure ended the enumeration
  } cases[] = {
      {"listing missing after a probe",
       [](Machine &m) { m.runner.reaction = startedWithoutOutput; }, 2, 1},
      {"counted line not hexadecimal", [](Machine &m) { m.disks[3] = "0  07    12G4\r\n"; }, 13, 4},
      {"counted line beyond 32 bits", [](Machine &m) { m.disks[1] = "2 100000000\r\n"; }, 6, 2},
      {"counted line with an empty last field",
       [](Machine &m) { m.disks[0] = "1  07    2048 \r\n"; }, 13, 1},
      {"listing cannot be deleted at the end",
       [](Machine &m) { m.files.readOnly.insert(kListing); }, 5, 11},
      {"command interpreter cannot be started, an earlier listing left",
       [](Machine &m) {
         m.files.files[kListing] = listing({2048});
         m.runner.reaction = notStarted;
       },
       2, 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    c.arrange(machine);
    try {
      bootdeck::enumerateDiskItems(machine.context());
      ADD_FAILURE() << "no failure";
    } catch (const Failure &failure) {
      EXPECT_EQ(c.number, failure.number());
      EXPECT_NE("", std::string(failure.what()));
    }
    EXPECT_EQ(c.runs, machine.runner.runs.size());
  }
}

TEST(DiskRecheck, SameItemTextAgainIsTheOnlyWayThrough) {
  const struct {
    const char *name;
    std::map<int, std::string> disks;
    std::function<void(Machine &)> arrange;
    bool unchanged;
  } cases[] = {
      {"only the other disks changed", {{2, listing({16384})}, {5, listing({64})}}, nullptr, true},
      {"listing unreadable now", {{2, "0 zz\r\n1 22\r\n"}}, nullptr, false},
      {"an earlier listing does not pass for the answer",
       {},
       [](Machine &m) {
         m.files.files[kListing] = listing({16384});
         m.runner.reaction = startedWithoutOutput;
       },
       false},
      {"command interpreter cannot be started",
       {{2, listing({16384})}},
       [](Machine &m) { m.runner.reaction = notStarted; },
       false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.disks = c.disks;
    if (c.arrange) {
      c.arrange(machine);
    }
    EXPECT_EQ(c.unchanged, bootdeck::chosenDiskUnchanged(machine.context(), "第3块介质 : 8 MB"));
    machine.expectProbes(2, 2);
  }
}

TEST(DiskRecheck, NoChoiceOrAListingThatStaysProbesNothing) {
  Machine machine;
  EXPECT_FALSE(bootdeck::chosenDiskUnchanged(machine.context(), ""));
  machine.files.readOnly.insert(kListing);
  machine.files.files[kListing] = "";
  EXPECT_THROW(bootdeck::chosenDiskUnchanged(machine.context(), "第1块介质 : 1 MB"), Failure);
  EXPECT_TRUE(machine.runner.runs.empty());
}

} // namespace
