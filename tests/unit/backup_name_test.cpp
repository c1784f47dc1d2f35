#include "disks/backup_name.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char *date;
  int item;
  const char *name;
};

TEST(BackupName, DateMadeAValidFileNameThenItemNumber) {
  const Case cases[] = {
      {"2006-5-3", 1, "2006-5-3-1"},
      {"2006-5-3", 10, "2006-5-3-10"},
      {"2026/12/7", 0, "2026-12-7-0"},
      {"07.12.2026", 3, "07.12.2026-3"},
      {"2026年12月7日", 11, "2026年12月7日-11"},
      {"a\\b/c:d*e?f\"g<h>i|j", 2, "a-b-c-d-e-f-g-h-i-j-2"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.name, bootdeck::backupName(c.date, c.item)) << c.date;
}

} // namespace
