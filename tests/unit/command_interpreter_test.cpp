#include "platform/command_interpreter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const std::string kSystem = "C:\\WINDOWS\\system32";
const std::string kCmd = kSystem + "\\cmd.exe";

// ComSpec counts only when it names a program directly in the system folder.
TEST(CommandInterpreter, ComSpecHonouredOnlyInsideTheSystemFolder) {
  const std::pair<const char *, std::string> cases[] = {
      {"C:\\WINDOWS\\system32\\cmd.exe", kCmd},
      {"c:\\windows\\SYSTEM32\\CMD.EXE", "c:\\windows\\SYSTEM32\\CMD.EXE"},
      {"C:\\Windows\\System32\\command_logger.exe", "C:\\Windows\\System32\\command_logger.exe"},
      {"C:\\Users\\me\\Downloads\\cmd.exe", kCmd},
      {"C:\\WINDOWS\\system32\\..\\..\\Users\\me\\cmd.exe", kCmd},
      {"C:\\WINDOWS\\system32\\sub\\cmd.exe", kCmd},
      {"C:\\WINDOWS\\system32x\\cmd.exe", kCmd},
      {"C:\\WINDOWS\\system32\\", kCmd},
      {"C:\\WINDOWS\\system32\\..", kCmd},
      {"C:\\WINDOWS\\system32\\cmd.exe:stream", kCmd},
      {"C:\\WINDOWS\\system32\\%X%", kCmd},
      {"\"C:\\WINDOWS\\system32\\cmd.exe\"", kCmd},
      {"\\\\?\\C:\\WINDOWS\\system32\\cmd.exe", kCmd},
      {"cmd.exe", kCmd},
      {"%ComSpec%", kCmd}, // not set at all
      {"", kCmd},
  };
  for (const auto &[comSpec, expected] : cases) {
    EXPECT_EQ(expected, bootdeck::interpreterPath(comSpec, kSystem)) << comSpec;
    EXPECT_EQ(expected, bootdeck::interpreterPath(comSpec, kSystem + "\\")) << comSpec;
  }
}

// The composed texts keep "%comspec% /c"; the interpreter is started quoted, with /D first.
TEST(CommandInterpreter, CommandLineQuotesTheInterpreterAndPutsDBeforeC) {
  EXPECT_EQ("\"" + kCmd + "\" /D /c C:\\boot\\mtldrinst.EXE -l (hd0) >  C:\\boot\\tempch.tmp",
            bootdeck::interpreterCommandLine(
                "%comspec% /c C:\\boot\\mtldrinst.EXE -l (hd0) >  C:\\boot\\tempch.tmp", kCmd));
  EXPECT_EQ("\"" + kCmd + "\" /D /c x", bootdeck::interpreterCommandLine("%ComSpec% /c x", kCmd));
  for (const char *other : {"cmd /c x", "%comspec%/c x", "%comspec", " %comspec% /c x", ""})
    EXPECT_EQ(std::nullopt, bootdeck::interpreterCommandLine(other, kCmd)) << other;
}

TEST(CommandInterpreter, DisabledByEitherPolicyValueOneOrTwo) {
  const struct {
    std::optional<unsigned long> user, machine;
    bool disabled;
  } cases[] = {
      {std::nullopt, std::nullopt, false},
      {0ul, 0ul, false},
      {3ul, std::nullopt, false},
      {1ul, std::nullopt, true},
      {std::nullopt, 2ul, true},
      {0ul, 1ul, true},
      {2ul, 0ul, true},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.disabled, bootdeck::commandPromptDisabled(c.user, c.machine))
        << c.user.value_or(99) << " " << c.machine.value_or(99);
}

} // namespace
