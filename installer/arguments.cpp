#include "installer/arguments.h"

#include <cstring>
#include <initializer_list>

namespace installer {

const Variant kGrldrVariant = {"grldrinst", "--save-mbr=", "--restore-mbr=", false, "GRLDR      "};
const Variant kMtldrVariant = {"mtldrinst", "--save=", "--restore=", true, "MTLDR      "};

namespace {

const char *valueAfter(const char *argument, const char *prefix) {
  const std::size_t length = std::strlen(prefix);
  return std::strncmp(argument, prefix, length) == 0 ? argument + length : nullptr;
}

// A whole decimal number without sign, at most `limit`; -1 otherwise.
int parseNumber(const char *text, int limit, bool allowLeadingZero) {
  if (*text == '\0' || (!allowLeadingZero && text[0] == '0' && text[1] != '\0')) {
    return -1;
  }
  int value = 0;
  for (const char *p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') {
      return -1;
    }
    value = value * 10 + (*p - '0');
    if (value > limit) {
      return -1;
    }
  }
  return value;
}

int parseDevice(const char *text) {
  const char *digits = valueAfter(text, "(hd");
  if (digits == nullptr) {
    return -1;
  }
  const std::size_t length = std::strlen(digits);
  if (length < 2 || digits[length - 1] != ')' || length > 4) {
    return -1;
  }
  char number[4] = {};
  std::memcpy(number, digits, length - 1);
  return parseNumber(number, kMaxDiskNumber, false);
}

enum Flag {
  kList,
  kSave,
  kRestore,
  kRestorePrevious,
  kNoBackup,
  kNoFloppy,
  kNoOsbr,
  kPreviousFirst,
  kTimeout,
  kReadOnly,
  kPause,
  kBitLockerOk,
  kFlagCount
};

struct Parser {
  const Variant &variant;
  Options &options;
  bool seen[kFlagCount] = {};
  UsageError error;

  bool fail(const char *reason, const char *argument) {
    error.reason = reason;
    error.argument = argument;
    return false;
  }

  bool once(Flag flag, const char *argument) {
    if (seen[flag]) {
      return fail("选项重复", argument);
    }
    seen[flag] = true;
    return true;
  }

  bool option(const char *argument) {
    const char *value = nullptr;
    if (std::strcmp(argument, "-l") == 0) {
      if (!variant.hasListMode) {
        return fail("这个版本没有列表模式 (-l),请用 mtldrinst", argument);
      }
      return once(kList, argument);
    }
    if ((value = valueAfter(argument, variant.saveFlag)) != nullptr) {
      options.saveFile = value;
      return once(kSave, argument);
    }
    if ((value = valueAfter(argument, variant.restoreFlag)) != nullptr) {
      if (*value == '\0') {
        return fail("恢复文件名为空", argument);
      }
      options.restoreFile = value;
      return once(kRestore, argument);
    }
    // This build's own flags matched above, so a match here is the other build's flag.
    for (const Variant *build : {&kGrldrVariant, &kMtldrVariant}) {
      if (valueAfter(argument, build->saveFlag) != nullptr ||
          valueAfter(argument, build->restoreFlag) != nullptr) {
        return fail("这是另一个版本的选项 (grldrinst 与 mtldrinst 的保存和恢复选项不同)", argument);
      }
    }
    if ((value = valueAfter(argument, "--time-out=")) != nullptr) {
      options.timeout = parseNumber(value, 255, true);
      if (options.timeout < 0) {
        return fail("等待时间必须是 0 到 255 之间的整数", argument);
      }
      return once(kTimeout, argument);
    }
    static const struct {
      const char *name;
      Flag flag;
      bool Options::*field;
    } switches[] = {
        {"--restore-prevmbr", kRestorePrevious, &Options::restorePreviousMbr},
        {"--no-backup-mbr", kNoBackup, &Options::noBackupMbr},
        {"--mbr-disable-floppy", kNoFloppy, &Options::disableFloppy},
        {"--mbr-disable-osbr", kNoOsbr, &Options::disableOsbr},
        {"--boot-prevmbr-first", kPreviousFirst, &Options::previousMbrFirst},
        {"--read-only", kReadOnly, &Options::readOnly},
        {"--pause", kPause, &Options::pause},
        {"--bitlocker-ok", kBitLockerOk, &Options::bitLockerOk},
    };
    for (const auto &s : switches) {
      if (std::strcmp(argument, s.name) == 0) {
        options.*s.field = true;
        return once(s.flag, argument);
      }
    }
    if (parseDevice(argument) >= 0) {
      return fail("磁盘必须是最后一个参数", argument);
    }
    return fail("未知的选项", argument);
  }

  bool decideMode() {
    const bool restoring = seen[kRestore] || seen[kRestorePrevious];
    if (seen[kList]) {
      for (int flag = 0; flag < kFlagCount; ++flag) {
        if (flag != kList && seen[flag]) {
          return fail("列表模式 (-l) 只接受磁盘参数", nullptr);
        }
      }
      options.mode = Mode::List;
      return true;
    }
    if (seen[kRestore] && seen[kRestorePrevious]) {
      return fail("只能选一个恢复来源:恢复文件或第二扇区", nullptr);
    }
    if (restoring && (seen[kNoBackup] || seen[kNoFloppy] || seen[kNoOsbr] || seen[kPreviousFirst] ||
                      seen[kTimeout])) {
      return fail("启动选项只用于安装,不能与恢复一起使用", nullptr);
    }
    options.mode = restoring ? Mode::Uninstall : Mode::Install;
    return true;
  }
};

} // namespace

UsageError parseArguments(const Variant &variant, int argc, const char *const *argv,
                          Options &options) {
  options = Options();
  Parser parser{variant, options, {}, {}};
  if (argc < 2) {
    parser.fail("缺少磁盘参数 (hdN)", nullptr);
    return parser.error;
  }
  for (int i = 1; i + 1 < argc; ++i) {
    if (!parser.option(argv[i])) {
      return parser.error;
    }
  }
  options.disk = parseDevice(argv[argc - 1]);
  if (options.disk < 0) {
    parser.fail("最后一个参数必须是磁盘 (hdN),N 是 0 到 127 的十进制数", argv[argc - 1]);
    return parser.error;
  }
  parser.decideMode();
  return parser.error;
}

bool asksToPause(int argc, const char *const *argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--pause") == 0) {
      return true;
    }
  }
  return false;
}

} // namespace installer
