#include "installer/tool.h"

#include "installer/bitlocker.h"
#include "installer/boot_forecast.h"
#include "installer/bootcode/bootcode_layout.h"
#include "installer/install_plan.h"
#include "installer/listing.h"
#include "installer/restore_plan.h"
#include "installer/sha256.h"
#include "installer/usage.h"

#include <cstdarg>
#include <cstring>

namespace installer {

namespace {

// The outcome, always the report's last line. The success lines are the ones bootdeck's help
// text promises.
constexpr const char *kInstalled = "恭喜您,安装成功!";
constexpr const char *kUninstalled = "恭喜您,卸载成功!";
constexpr const char *kNothingWritten = "测试模式:没有发现问题,磁盘和文件都没有改动.";
constexpr const char *kInstallNotDone = "安装没有完成.";
constexpr const char *kUninstallNotDone = "卸载没有完成.";
constexpr const char *kDiskUntouched = "磁盘没有任何改动.";
// What our sector 0 shows when the gap is not the one written with it (mbr.asm's msg_damaged).
constexpr const char *kDamagedOnScreen = "bootdeck: boot code damaged or incomplete";
constexpr const char *kBitLockerRisk =
    "在以 BIOS 方式启动并且有 TPM 芯片的电脑上,MBR 改动后,下次启动时 Windows 会要求输入 BitLocker "
    "恢复密钥.";
// The commands on lines of their own, so that a narrow console does not break them.
constexpr const char *kBitLockerAdvice =
    "请先准备好恢复密钥,再暂停 BitLocker 保护,例如对 C: 盘,在管理员命令提示符中运行:\n"
    "    manage-bde -protectors -disable C:\n"
    "Windows 8 及以后的版本在下次启动后自动恢复保护;Windows 7 中保护一直暂停,直到运行:\n"
    "    manage-bde -protectors -enable C:";
// One key answers: Enter, or a key an input method takes, reads as no.
constexpr const char *kQuestion = "是否继续?按 Y 继续,按其他任意键取消.";
constexpr const char *kUndoSteps = "在 bootdeck 中选择 \"卸载\" 和这块磁盘,";
// The disks bootdeck lists.
constexpr int kLastScannedDisk = 10;

class Run {
public:
  Run(const Variant &variant, const BootImage &image, const Options &options, Platform &platform)
      : variant_(variant), image_(image), options_(options), platform_(platform) {
    diskName_.appendf("(hd%d)", options.disk);
  }
  Run(const Run &) = delete;
  Run &operator=(const Run &) = delete;
  // The disk is let go before the tool waits for its key, so a stick can be pulled meanwhile.
  ~Run() {
    if (disk_ != nullptr) {
      platform_.closeDisk();
    }
  }

  int list();
  int install();
  int uninstall();

private:
  void say(const char *format, ...);
  int fail(const Outcome &outcome, const char *file = "");
  // The reason, then `after`: what the disk is left in and the outcome line.
  int refuseWith(const Outcome &outcome, const char *file, const TextBuffer &after);
  // Opens the disk and reads sector 0; a refusal otherwise.
  Outcome openAndReadMbr(bool writable, Sector &mbr);
  // What the opened disk is, and whether this machine runs the code it is given.
  void reportDisk(const Sector &mbr);
  void findBitLockerElsewhere();
  // Before anything is written: BitLocker volumes are explained, and the user decides.
  Outcome confirmBitLocker(const Sector &mbr);
  Outcome confirmRestoreFile(const Sector &mbr, const Sector &source);
  // Once the report has said what is at stake; test mode only says that it would ask.
  Outcome askToGoOn(Refusal noConsole);
  Outcome saveBackup(const Sector &mbr);
  Outcome writeVerified(std::uint64_t lba, const Sector &data);
  Outcome writeGap();
  int failWhileWriting(const Outcome &outcome, bool previousMbrSaved);
  int failWhileReinstalling(const Outcome &outcome, bool oldMbrBoots);
  void reportBootSettings(bool previousMbrSaved);
  // The loader file's name, without the blanks of its 8.3 form.
  void loaderName(char (&name)[bootcode::kLoaderNameBytes + 1]) const;
  void sayTitle(const char *action);
  void sayInstalled(const InstallPlan &plan);

  const Variant &variant_;
  const BootImage &image_;
  const Options &options_;
  Platform &platform_;
  Disk *disk_ = nullptr;
  TextBuffer diskName_;
  TextBuffer bitLockerElsewhere_; // one line for each other disk with BitLocker volumes
  const char *notDone_ = nullptr; // the outcome of a refusal; none in list mode
  bool backupKept_ = false;       // the backup file holds today's sector 0
};

void Run::say(const char *format, ...) {
  TextBuffer line;
  va_list args;
  va_start(args, format);
  line.appendv(format, args);
  va_end(args);
  line.append("\n");
  platform_.writeOut(line.c_str(), line.size());
}

int Run::fail(const Outcome &outcome, const char *file) {
  TextBuffer after;
  if (notDone_ != nullptr) {
    after.appendf("%s%s\n", notDone_, kDiskUntouched);
  }
  return refuseWith(outcome, file, after);
}

int Run::refuseWith(const Outcome &outcome, const char *file, const TextBuffer &after) {
  TextBuffer text;
  describeRefusal(outcome, diskName_.c_str(), file, text);
  text.appendf("\n%s", after.c_str());
  platform_.writeErr(text.c_str(), text.size());
  return kExitRefused;
}

Outcome Run::openAndReadMbr(bool writable, Sector &mbr) {
  std::uint32_t sectorSize = 0;
  SystemError error;
  disk_ = platform_.openDisk(options_.disk, writable, sectorSize, error);
  if (disk_ == nullptr) {
    return refuse(Refusal::DiskUnavailable, 0, 0, error);
  }
  if (sectorSize != bootcode::kSectorSize) {
    return refuse(Refusal::SectorSize, 0, sectorSize);
  }
  error = disk_->read(0, mbr);
  if (error.failed()) {
    return refuse(Refusal::DiskUnreadable, 0, 0, error);
  }
  return Outcome();
}

void Run::reportDisk(const Sector &mbr) {
  DiskIdentity identity;
  disk_->identify(identity);
  TextBuffer line;
  appendDiskIdentity(identity, diskName_.c_str(), line);
  // bootdeck's list names the disk by its number plus one and the sum of its partitions.
  line.append(";在 bootdeck 的列表中是 \"");
  appendListItem(mbr, options_.disk, line);
  line.append("\" (列表中的大小是各分区大小之和).");
  say("%s", line.c_str());
  if (platform_.firmware() == Firmware::Uefi) {
    say("%s", kUefiNote);
  }
}

// The BIOS starts (hd0): on a PC with a TPM its MBR is measured whichever disk holds the
// encrypted volume. Looked for before the target is opened, as the platform holds one disk.
void Run::findBitLockerElsewhere() {
  if (options_.disk != 0) {
    return;
  }
  for (int number = 1; number <= kLastScannedDisk; ++number) {
    std::uint32_t sectorSize = 0;
    SystemError error;
    Disk *disk = platform_.openDisk(number, false, sectorSize, error);
    if (disk == nullptr) {
      continue;
    }
    Sector mbr;
    TextBuffer names;
    if (sectorSize == bootcode::kSectorSize && !disk->read(0, mbr).failed() &&
        hasBootSignature(mbr) && findBitLockerPartitions(mbr, *disk, names) > 0) {
      bitLockerElsewhere_.appendf("\n磁盘 (hd%d) 上有用 BitLocker 加密的分区: %s.", number,
                                  names.c_str());
    }
    platform_.closeDisk();
  }
}

Outcome Run::confirmBitLocker(const Sector &mbr) {
  TextBuffer names;
  if (findBitLockerPartitions(mbr, *disk_, names) == 0 && bitLockerElsewhere_.size() == 0) {
    return Outcome();
  }
  if (names.size() > 0) {
    say("磁盘 %s 上有用 BitLocker 加密的分区:%s.", diskName_.c_str(), names.c_str());
  }
  if (bitLockerElsewhere_.size() > 0) {
    say("%s", bitLockerElsewhere_.c_str() + 1);
    say("BIOS 从磁盘 (hd0) 启动:即使加密的分区在其他磁盘上,TPM 也会检查 (hd0) 的 MBR.");
  }
  say("%s", kBitLockerRisk);
  say("%s", kBitLockerAdvice);
  if (options_.bitLockerOk && !options_.readOnly) {
    say("已给出选项 --bitlocker-ok,不询问,继续.");
    return Outcome();
  }
  return askToGoOn(Refusal::BitLockerNotAsked);
}

// The file lies where other programs can write, sector 1 where they cannot: code from a file
// that differs from the MBR the install kept there goes in only on the user's word.
Outcome Run::confirmRestoreFile(const Sector &mbr, const Sector &source) {
  Sector saved;
  if (readPreviousMbr(mbr, *disk_, saved).refused() ||
      std::memcmp(saved.data(), source.data(), bootcode::kMbrCodeBytes) == 0) {
    return Outcome();
  }
  say("恢复文件 %s 中的启动代码 (0 到 439 字节) 与安装时保存在第二扇区的原来的 MBR 不同,文件可能已"
      "被其他程序改动:",
      options_.restoreFile);
  TextBuffer digest;
  appendSha256(source.data(), bootcode::kMbrCodeBytes, digest);
  say("    恢复文件的 SHA-256:%s", digest.c_str());
  digest.clear();
  appendSha256(saved.data(), bootcode::kMbrCodeBytes, digest);
  say("    第二扇区的 SHA-256:%s", digest.c_str());
  say("若不能确定这个文件可信,请按其他键取消,然后清空 \"恢复文件\" 框再执行,从第二扇区恢复.");
  return askToGoOn(Refusal::RestoreFileNotAsked);
}

Outcome Run::askToGoOn(Refusal noConsole) {
  if (options_.readOnly) {
    say("测试模式:真正运行时将询问是否继续.");
    return Outcome();
  }
  switch (platform_.ask(kQuestion)) {
  case Platform::Answer::Yes:
    return Outcome();
  case Platform::Answer::No:
    return refuse(Refusal::Declined);
  case Platform::Answer::NoConsole:
    break;
  }
  return refuse(noConsole);
}

int Run::list() {
  Sector mbr;
  const Outcome outcome = openAndReadMbr(false, mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  TextBuffer text;
  appendListingHeading(text);
  TextBuffer note;
  if (!hasBootSignature(mbr)) {
    note.appendf("磁盘 %s 的第一扇区没有 55AA 标志,没有分区表.\n", diskName_.c_str());
  } else if (looksLikeVolumeBootSector(mbr)) {
    // Its boot code stands where a table would, and would read as entries of absurd sizes.
    note.appendf("磁盘 %s 没有分区表,第一扇区是一个文件系统的引导扇区.\n", diskName_.c_str());
  } else {
    appendListing(mbr, readLogicalPartitions(mbr, *disk_), text);
  }
  if (note.size() > 0) {
    platform_.writeErr(note.c_str(), note.size());
  }
  platform_.writeOut(text.c_str(), text.size());
  return kExitOk;
}

Outcome Run::saveBackup(const Sector &mbr) {
  const char *name = options_.saveFile;
  std::uint8_t existing[bootcode::kSectorSize + 1];
  std::size_t size = 0;
  SystemError error = platform_.readFile(name, existing, sizeof existing, size);
  if (!error.failed()) {
    if (size == mbr.size() && std::memcmp(existing, mbr.data(), size) == 0) {
      say("备份文件 %s 已经存在,内容与现在的 MBR 相同,保留不变.", name);
      backupKept_ = true;
      return Outcome();
    }
    return refuse(Refusal::BackupFileDiffers);
  }
  if (classifyError(error) != ErrorKind::NotFound) {
    return refuse(Refusal::BackupFileUnusable, 0, 0, error);
  }
  if (options_.readOnly) {
    say("将把现在的 MBR 保存到文件 %s.", name);
    return Outcome();
  }
  error = platform_.writeFile(name, mbr.data(), mbr.size());
  if (!error.failed()) {
    error = platform_.readFile(name, existing, sizeof existing, size);
  }
  if (error.failed()) {
    return refuse(Refusal::BackupFileUnusable, 0, 0, error);
  }
  if (size != mbr.size() || std::memcmp(existing, mbr.data(), size) != 0) {
    return refuse(Refusal::BackupFileMismatch);
  }
  say("已把现在的 MBR 保存到文件 %s,并已读回核对.", name);
  backupKept_ = true;
  return Outcome();
}

Outcome Run::writeVerified(std::uint64_t lba, const Sector &data) {
  SystemError error = disk_->write(lba, data);
  if (!error.failed()) {
    error = disk_->flush();
  }
  Sector back;
  if (!error.failed()) {
    error = disk_->read(lba, back);
  }
  if (error.failed()) {
    return refuse(Refusal::WriteFailed, lba, 0, error);
  }
  if (back != data) {
    return refuse(Refusal::VerifyFailed, lba);
  }
  return Outcome();
}

Outcome Run::writeGap() {
  Outcome outcome;
  for (std::uint32_t i = 0; i < image_.extraSectors() && !outcome.refused(); ++i) {
    Sector sector;
    std::memcpy(sector.data(), image_.bytes + (i + 1) * sector.size(), sector.size());
    outcome = writeVerified(bootcode::kFirstExtraLba + i, sector);
  }
  return outcome;
}

int Run::failWhileWriting(const Outcome &outcome, bool previousMbrSaved) {
  TextBuffer text;
  if (outcome.lba != 0) {
    // Sector 0 is written last on a first install, so any earlier failure leaves the disk
    // booting as before.
    text.appendf("%s第一扇区还没有改动,磁盘仍按原来的方式启动.\n", notDone_);
    return refuseWith(outcome, "", text);
  }
  text.append("第一扇区可能没有写好,这块磁盘现在可能无法启动.请先不要重新启动电脑,");
  if (options_.mode == Mode::Uninstall) {
    text.append("找出上面所说的原因后,再执行一次同样的卸载.\n");
  } else if (backupKept_) {
    text.appendf("而是恢复原来的 MBR:%s在 \"恢复文件\" 框中填入 %s,单击 \"执行\".\n", kUndoSteps,
                 options_.saveFile);
  } else if (previousMbrSaved) {
    text.appendf("而是恢复原来的 MBR:%s清空 \"恢复文件\" 框,单击 \"执行\",从第二扇区恢复.\n",
                 kUndoSteps);
  } else {
    text.append("找出上面所说的原因后,再执行一次安装.\n");
  }
  text.appendf("%s\n", notDone_);
  return refuseWith(outcome, "", text);
}

int Run::failWhileReinstalling(const Outcome &outcome, bool oldMbrBoots) {
  TextBuffer text;
  // Sector 0 was written first: from then on it runs the gap only once the gap is whole.
  const char *then = oldMbrBoots ? "然后启动原来的 MBR" : "然后停止";
  if (outcome.lba == 0) {
    text.appendf("第一扇区可能没有写好,其他扇区还没有改动:磁盘可能仍按原来的方式启动,也可能在启动时"
                 "显示 \"%s\",%s.找出上面所说的原因后,再执行一次安装可以补全.\n",
                 kDamagedOnScreen, then);
  } else {
    text.appendf("第一扇区已经写入新的启动代码,但 %u 号扇区没有写好:启动时会显示 \"%s\",%s."
                 "找出上面所说的原因后,再执行一次安装可以补全.\n",
                 static_cast<unsigned>(outcome.lba), kDamagedOnScreen, then);
  }
  text.appendf("%s\n", notDone_);
  return refuseWith(outcome, "", text);
}

void Run::loaderName(char (&name)[bootcode::kLoaderNameBytes + 1]) const {
  std::memcpy(name, variant_.loaderName, bootcode::kLoaderNameBytes);
  name[bootcode::kLoaderNameBytes] = '\0';
  for (std::size_t i = bootcode::kLoaderNameBytes; i > 0 && name[i - 1] == ' '; --i) {
    name[i - 1] = '\0';
  }
}

void Run::reportBootSettings(bool previousMbrSaved) {
  char loader[bootcode::kLoaderNameBytes + 1];
  loaderName(loader);
  say("启动时:加载 %s;%s在软驱上搜索;找不到 %s 时%s启动原来的 MBR.", loader,
      options_.disableFloppy ? "不" : "", loader, options_.disableOsbr ? "不" : "");
  if (options_.previousMbrFirst) {
    say("启动时:等待 %d 秒后优先启动原来的 MBR (其间按空格键则加载 %s).", options_.timeout, loader);
  } else {
    say("启动时:优先加载 %s.", loader);
  }
  if (!previousMbrSaved && (options_.previousMbrFirst || !options_.disableOsbr)) {
    say("注意:第二扇区中没有原来的 MBR,启动时无法启动原来的 MBR.");
  }
}

// The report's first line, and the console window's title: what runs, on which disk.
void Run::sayTitle(const char *action) {
  TextBuffer title;
  title.appendf("%s: %s磁盘 %s", variant_.programName, action, diskName_.c_str());
  if (options_.disk < 11) {
    title.appendf(" (bootdeck 列表中的 \"第%d块介质\")", options_.disk + 1);
  }
  if (options_.readOnly) {
    title.append(" (测试模式,不写入任何内容)");
  }
  platform_.setTitle(title.c_str());
  say("%s", title.c_str());
}

// Where the backup is, what the loader needs, and how to undo; then the outcome.
void Run::sayInstalled(const InstallPlan &plan) {
  if (backupKept_) {
    TextBuffer path;
    platform_.appendFullPath(options_.saveFile, path);
    say("原来的 MBR 的备份文件:%s", path.c_str());
    say("请另外复制一份到其他磁盘或 U 盘上:这块磁盘出了问题时,还能用它恢复.");
  }
  char loader[bootcode::kLoaderNameBytes + 1];
  loaderName(loader);
  say("请把 %s 放到一个 FAT12,FAT16 或 FAT32 分区的根文件夹中,启动代码只在那里寻找它.", loader);
  if (backupKept_) {
    say("撤销:%s在 \"恢复文件\" 框中填入 %s,单击 \"执行\".", kUndoSteps, options_.saveFile);
  } else if (plan.previousMbrSaved) {
    say("撤销:%s清空 \"恢复文件\" 框,单击 \"执行\",从第二扇区恢复原来的 MBR.", kUndoSteps);
  } else if (plan.reinstall) {
    say("撤销:%s在 \"恢复文件\" 框中填入第一次安装时的备份文件名,单击 \"执行\".", kUndoSteps);
  } else {
    say("注意:这次没有备份原来的 MBR,以后无法恢复它.");
  }
  say("%s", kInstalled);
}

int Run::install() {
  const bool dry = options_.readOnly;
  notDone_ = kInstallNotDone;
  sayTitle("安装启动代码到");
  findBitLockerElsewhere();
  Sector mbr;
  Outcome outcome = openAndReadMbr(!dry, mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  reportDisk(mbr);
  const InstallPlan plan = planInstall(mbr, *disk_, image_, options_, variant_);
  if (plan.outcome.refused()) {
    return fail(plan.outcome);
  }
  reportBootForecast(mbr, plan, image_, *disk_, diskName_.c_str(), platform_);
  const std::uint64_t first = firstPartitionStart(mbr);
  if (first != kNoPartition) {
    say("第一个分区从 %u 号扇区开始,之前的空间足够.", static_cast<unsigned>(first));
  } else {
    say("磁盘上没有分区.");
  }
  if (plan.reinstall) {
    // Its sector 0 is no MBR worth a backup, and the file box names today's backup by default.
    if (*options_.saveFile != '\0') {
      return fail(refuse(Refusal::ReinstallBackupFile));
    }
    say("磁盘上已经装有本程序的启动代码,将更新它.");
  }
  outcome = confirmBitLocker(mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  if (*options_.saveFile != '\0') {
    outcome = saveBackup(mbr);
    if (outcome.refused()) {
      return fail(outcome, options_.saveFile);
    }
  }

  const std::uint32_t extra = image_.extraSectors();
  if (!dry && plan.reinstall) {
    // Our sector 0 first: an earlier one, which cannot check the gap, never meets this gap.
    outcome = writeVerified(0, plan.bootSector);
    if (!outcome.refused()) {
      outcome = writeGap();
    }
    if (outcome.refused()) {
      return failWhileReinstalling(outcome, plan.previousMbrSaved && !options_.disableOsbr);
    }
  } else if (!dry) {
    outcome = writeGap();
    if (!outcome.refused() && plan.writePreviousMbr) {
      outcome = writeVerified(bootcode::kPreviousMbrLba, mbr);
    }
    if (!outcome.refused()) {
      outcome = writeVerified(0, plan.bootSector);
    }
    if (outcome.refused()) {
      return failWhileWriting(outcome, plan.previousMbrSaved);
    }
  }

  const char *done = dry ? "将" : "已";
  if (extra > 0) {
    say("%s把启动代码的其余部分写入 %u 到 %u 号扇区.", done,
        static_cast<unsigned>(bootcode::kFirstExtraLba),
        static_cast<unsigned>(bootcode::kFirstExtraLba + extra - 1));
  }
  if (plan.writePreviousMbr) {
    say("%s把原来的 MBR 备份到第二扇区.", done);
  } else if (plan.previousMbrSaved) {
    say("第二扇区中已有原来的 MBR,保持不变.");
  } else if (options_.noBackupMbr) {
    say("不备份原来的 MBR 到第二扇区.");
  }
  say("%s把启动代码写入第一扇区的 0 到 439 字节,磁盘签名和分区表保持不变.", done);
  reportBootSettings(plan.previousMbrSaved);
  if (dry) {
    say("%s", kNothingWritten);
  } else {
    sayInstalled(plan);
  }
  return kExitOk;
}

int Run::uninstall() {
  const bool dry = options_.readOnly;
  const bool fromFile = *options_.restoreFile != '\0';
  notDone_ = kUninstallNotDone;
  sayTitle("卸载启动代码,恢复原来的 MBR 到");
  findBitLockerElsewhere();
  Sector mbr;
  Outcome outcome = openAndReadMbr(!dry, mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  reportDisk(mbr);
  outcome = checkRestoreTarget(mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  Sector source;
  if (fromFile) {
    std::uint8_t data[bootcode::kSectorSize + 1];
    std::size_t size = 0;
    const SystemError error = platform_.readFile(options_.restoreFile, data, sizeof data, size);
    outcome = error.failed() ? refuse(Refusal::RestoreFileUnreadable, 0, 0, error)
                             : checkRestoreFile(data, size, source);
    if (outcome.refused()) {
      return fail(outcome, options_.restoreFile);
    }
    say("恢复来源:文件 %s.", options_.restoreFile);
    outcome = confirmRestoreFile(mbr, source);
    if (outcome.refused()) {
      return fail(outcome, options_.restoreFile);
    }
  } else {
    outcome = readPreviousMbr(mbr, *disk_, source);
    if (outcome.refused()) {
      return fail(outcome);
    }
    say("恢复来源:第二扇区.");
  }
  outcome = confirmBitLocker(mbr);
  if (outcome.refused()) {
    return fail(outcome);
  }
  if (*options_.saveFile != '\0') {
    outcome = saveBackup(mbr);
    if (outcome.refused()) {
      return fail(outcome, options_.saveFile);
    }
  }
  if (!dry) {
    outcome = writeVerified(0, withTableOf(source, mbr));
    if (outcome.refused()) {
      return failWhileWriting(outcome, false);
    }
  }
  say("%s把原来的启动代码写回第一扇区的 0 到 439 字节,现在的磁盘签名和分区表保持不变.",
      dry ? "将" : "已");
  if (backupKept_ && !dry) {
    TextBuffer path;
    platform_.appendFullPath(options_.saveFile, path);
    say("卸载前的 MBR 的备份文件:%s", path.c_str());
  }
  say("%s", dry ? kNothingWritten : kUninstalled);
  return kExitOk;
}

int dispatch(const Variant &variant, const BootImage &image, int argc, const char *const *argv,
             Platform &platform) {
  Options options;
  const UsageError error = parseArguments(variant, argc, argv, options);
  if (error.reason != nullptr) {
    TextBuffer text;
    appendUsage(variant, error, text);
    platform.writeErr(text.c_str(), text.size());
    return kExitUsage;
  }
  Run run(variant, image, options, platform);
  switch (options.mode) {
  case Mode::List:
    return run.list();
  case Mode::Install:
    return run.install();
  case Mode::Uninstall:
    return run.uninstall();
  }
  return kExitUsage;
}

} // namespace

int runTool(const Variant &variant, const BootImage &image, int argc, const char *const *argv,
            Platform &platform) {
  const int code = dispatch(variant, image, argc, argv, platform);
  if (asksToPause(argc, argv)) {
    static const char kPrompt[] = "按任意键退出...\n";
    platform.writeOut(kPrompt, sizeof kPrompt - 1);
    platform.waitForKey();
  }
  return code;
}

} // namespace installer
