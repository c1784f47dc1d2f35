// The command line of the installer tool. Both builds share one parser; a build differs only in
// its save and restore flag names, list mode and the loader it names in the boot code.
#pragma once

namespace installer {

struct Variant {
  const char *programName;
  const char *saveFlag;    // with the '='
  const char *restoreFlag; // with the '='
  bool hasListMode;
  const char *loaderName; // FAT 8.3 form, 11 characters
};

extern const Variant kGrldrVariant;
extern const Variant kMtldrVariant;

enum class Mode { List, Install, Uninstall };

constexpr int kMaxDiskNumber = 127; // BIOS drive numbers 0x80..0xFF
constexpr int kDefaultTimeout = 5;

struct Options {
  Mode mode = Mode::Install;
  int disk = -1;
  const char *saveFile = "";    // empty: no backup file
  const char *restoreFile = ""; // empty: no restore from a file
  bool restorePreviousMbr = false;
  bool noBackupMbr = false;
  bool disableFloppy = false;
  bool disableOsbr = false;
  bool previousMbrFirst = false;
  int timeout = kDefaultTimeout;
  bool readOnly = false;
  bool pause = false;
  bool bitLockerOk = false; // goes on past BitLocker volumes without asking (for scripts)
};

struct UsageError {
  const char *reason = nullptr; // null: no error
  const char *argument = nullptr;
};

// Strings in the result point into argv.
UsageError parseArguments(const Variant &variant, int argc, const char *const *argv,
                          Options &options);

// --pause is honoured even when the rest of the line is wrong, so a console window opened just
// for this run stays readable.
bool asksToPause(int argc, const char *const *argv);

} // namespace installer
