#include "installer/refusal.h"

#include "installer/bootcode/bootcode_layout.h"

namespace installer {

void appendSectorName(std::uint64_t lba, TextBuffer &out) {
  if (lba < 2) {
    out.append(lba == 0 ? "第一扇区" : "第二扇区");
    return;
  }
  // The C runtimes of old Windows know no %llu; every sector named here lies below 2^32.
  out.appendf(" %lu 号扇区", static_cast<unsigned long>(lba));
}

void describeRefusal(const Outcome &o, const char *disk, const char *file, TextBuffer &out) {
  const auto value = static_cast<unsigned long>(o.value);
  switch (o.refusal) {
  case Refusal::None:
    return;
  case Refusal::DiskUnavailable:
    out.appendf("无法打开磁盘 %s:", disk);
    describeError(o.error, Subject::Disk, out);
    return;
  case Refusal::SectorSize:
    out.appendf("磁盘 %s 的扇区大小是 %lu 字节,本程序只支持 512 字节的扇区.", disk, value);
    return;
  case Refusal::DiskUnreadable:
    out.appendf("无法读取磁盘 %s 的", disk);
    appendSectorName(o.lba, out);
    out.append(":");
    describeError(o.error, Subject::Disk, out);
    return;
  case Refusal::NoBootSignature:
    out.appendf("磁盘 %s 的第一扇区不是有效的 MBR (末尾没有 55AA 标志),磁盘可能还没有分区.请先在 "
                "\"磁盘管理\" 中为它建立 MBR 分区表和分区.",
                disk);
    return;
  case Refusal::Gpt:
    out.appendf("磁盘 %s 使用 GPT 分区表 (有类型为 EE 的保护分区),本程序只能安装到使用 MBR 分区表的"
                "磁盘.",
                disk);
    return;
  case Refusal::NoPartitionTable:
    out.appendf("磁盘 %s 的第一扇区中没有有效的分区表 (分区的活动标志不是 00 或 80).", disk);
    return;
  case Refusal::VolumeBootSector:
    out.appendf("磁盘 %s 没有分区表,第一扇区是一个文件系统的引导扇区,写入会损坏这个文件系统.",
                disk);
    return;
  case Refusal::GapTooSmall:
    out.append("第一个分区之前的空间不够:启动代码要写入第一扇区和");
    if (o.lba > bootcode::kFirstExtraLba) {
      out.appendf(" %lu 到 %lu 号扇区", static_cast<unsigned long>(bootcode::kFirstExtraLba),
                  static_cast<unsigned long>(o.lba));
    } else {
      appendSectorName(o.lba, out);
    }
    out.appendf(",而第一个分区从 %lu 号扇区开始.", value);
    return;
  case Refusal::GapInUse:
    out.appendf("第一个分区之前的 %lu 号扇区已被其他程序使用 "
                "(既不是空白,也不是本程序的启动代码),写入会破坏它.",
                static_cast<unsigned long>(o.lba));
    return;
  case Refusal::SecondSectorInUse:
    out.append("第二扇区已被其他程序使用,不能把原来的 MBR 备份到那里.若不需要这个备份,可以在 "
               "\"高级\" 中不选 \"同时备份原来的MBR到第二扇区\" 后重试.");
    return;
  case Refusal::NotOurBootCode:
    out.appendf(
        "磁盘 %s 的第一扇区中不是本程序安装的启动代码,所以第二扇区不是它的备份,不能从第二扇区"
        "恢复.若这块磁盘没有装过本程序的启动代码,就不需要卸载.",
        disk);
    return;
  case Refusal::PreviousMbrNotSaved:
    out.append("安装时没有把原来的 MBR 备份到第二扇区,不能从第二扇区恢复.请在 \"恢复文件\" "
               "框中填入安装时的备份文件名后重试.");
    return;
  case Refusal::PreviousMbrInvalid:
    out.append("第二扇区中不是有效的 MBR (末尾没有 55AA 标志),不能从第二扇区恢复.请在 \"恢复文件\" "
               "框中填入安装时的备份文件名后重试.");
    return;
  case Refusal::PreviousMbrIsOurs:
    out.append("第二扇区中是本程序的启动代码,不是原来的 MBR,不能从第二扇区恢复.请在 \"恢复文件\" "
               "框中填入安装时的备份文件名后重试.");
    return;
  case Refusal::RestoreFileUnreadable:
    out.appendf("无法读取恢复文件 %s:", file);
    describeError(o.error, Subject::File, out);
    return;
  case Refusal::RestoreFileSize:
    out.appendf("恢复文件 %s 的大小%s 512 字节,不是一个扇区的 MBR 备份.请换用安装时的备份文件.",
                file, value > 512 ? "超过" : "不足");
    return;
  case Refusal::RestoreFileInvalid:
    out.appendf("恢复文件 %s 不是有效的 MBR (末尾没有 55AA 标志).请换用安装时的备份文件.", file);
    return;
  case Refusal::RestoreFileIsOurs:
    out.appendf(
        "恢复文件 %s 中是本程序的启动代码,不是原来的 MBR.请换用第一次安装时的备份文件,或清空 "
        "\"恢复文件\" 框,从第二扇区恢复.",
        file);
    return;
  case Refusal::BackupFileDiffers:
    out.appendf("备份文件 %s 已经存在,内容与现在的 MBR 不同.为免覆盖以前的备份,请换一个文件名.",
                file);
    return;
  case Refusal::ReinstallBackupFile:
    out.appendf("磁盘 %s 上已经装有本程序的启动代码,现在的第一扇区不是原来的 MBR,备份它没有用.以前"
                "安装时的备份文件很可能保存着原来的 MBR,请保留它.要重新安装,请清空 \"备份文件\" "
                "框后再执行.",
                disk);
    return;
  case Refusal::BackupFileUnusable:
    out.appendf("无法写入备份文件 %s:", file);
    describeError(o.error, Subject::File, out);
    return;
  case Refusal::BackupFileMismatch:
    out.appendf(
        "备份文件 %s 读回的内容与写入的不同:文件所在的驱动器可能有故障.请换一个文件夹或驱动器.",
        file);
    return;
  case Refusal::Declined:
    out.append("已取消.");
    return;
  case Refusal::BitLockerNotAsked:
    out.append("输入不是控制台,无法询问是否继续.确定要继续时,请加上选项 --bitlocker-ok.");
    return;
  case Refusal::RestoreFileNotAsked:
    out.appendf("输入不是控制台,无法询问是否用与第二扇区不同的恢复文件 %s 继续.", file);
    return;
  case Refusal::WriteFailed:
    out.appendf("写入磁盘 %s 的", disk);
    appendSectorName(o.lba, out);
    out.append("失败:");
    describeError(o.error, Subject::Disk, out);
    return;
  case Refusal::VerifyFailed:
    out.appendf("磁盘 %s 的", disk);
    appendSectorName(o.lba, out);
    out.append("写入后读回的内容不同:安全软件的 MBR 保护可能拦截了写入,也可能是磁盘有故障.");
    return;
  }
}

} // namespace installer
