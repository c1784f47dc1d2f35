#include "installer/refusal.h"

namespace installer {

namespace {

constexpr const char *kDiskUntouched = "磁盘没有任何改动.";

} // namespace

void describeRefusal(const Outcome &o, const char *disk, const char *file, TextBuffer &out) {
  // The C runtimes of old Windows know no %lu; every number shown here fits in 32 bits.
  const auto lba = static_cast<unsigned long>(o.lba);
  const auto value = static_cast<unsigned long>(o.value);
  switch (o.refusal) {
  case Refusal::None:
    return;
  case Refusal::DiskUnavailable:
    out.appendf("无法打开磁盘 %s: ", disk);
    describeError(o.error, Subject::Disk, out);
    return;
  case Refusal::SectorSize:
    out.appendf("磁盘 %s 的扇区大小是 %lu 字节,本程序只支持 512 字节的扇区. %s", disk, value,
                kDiskUntouched);
    return;
  case Refusal::DiskUnreadable:
    out.appendf("无法读取磁盘 %s 的第 %lu 扇区: ", disk, lba);
    describeError(o.error, Subject::Disk, out);
    out.appendf(" %s", kDiskUntouched);
    return;
  case Refusal::NoBootSignature:
    out.appendf("磁盘 %s 的第一扇区不是有效的MBR(末尾没有 55AA 标志),磁盘可能还没有分区. %s", disk,
                kDiskUntouched);
    return;
  case Refusal::Gpt:
    out.appendf("磁盘 %s 使用GPT分区表(有类型为 EE 的保护分区),本程序只能安装到MBR分区表的磁盘. "
                "%s",
                disk, kDiskUntouched);
    return;
  case Refusal::NoPartitionTable:
    out.appendf("磁盘 %s 的第一扇区中没有有效的分区表(分区的活动标志不是 00 或 80). %s", disk,
                kDiskUntouched);
    return;
  case Refusal::VolumeBootSector:
    out.appendf("磁盘 %s 没有分区表,第一扇区是一个文件系统的引导扇区,写入会损坏这个文件系统. %s",
                disk, kDiskUntouched);
    return;
  case Refusal::GapTooSmall:
    out.appendf("第一个分区之前的空间不够:启动代码需要第 0 到第 %lu 扇区,而第一个分区从第 %lu "
                "扇区开始. %s",
                lba, value, kDiskUntouched);
    return;
  case Refusal::GapInUse:
    out.appendf("第一个分区之前的第 %lu 扇区已被其他程序使用(既不是空白,也不是本程序的启动代码),"
                "写入会破坏它. %s",
                lba, kDiskUntouched);
    return;
  case Refusal::SecondSectorInUse:
    out.appendf("第二扇区(LBA 1)已被其他程序使用,不能把原来的MBR备份到那里;若不需要这个备份,"
                "可以不选\"同时备份原来的MBR到第二扇区\"后重试. %s",
                kDiskUntouched);
    return;
  case Refusal::NotOurBootCode:
    out.appendf(
        "磁盘 %s 的第一扇区中不是本程序安装的启动代码,所以第二扇区不是它的备份,不能从第二扇区"
        "恢复. %s",
        disk, kDiskUntouched);
    return;
  case Refusal::PreviousMbrNotSaved:
    out.appendf("安装时没有把原来的MBR备份到第二扇区,不能从第二扇区恢复;请用备份文件恢复. %s",
                kDiskUntouched);
    return;
  case Refusal::PreviousMbrInvalid:
    out.appendf("第二扇区中不是有效的MBR(末尾没有 55AA 标志),不能从第二扇区恢复. %s",
                kDiskUntouched);
    return;
  case Refusal::PreviousMbrIsOurs:
    out.appendf("第二扇区中是本程序的启动代码,不是原来的MBR,不能从第二扇区恢复. %s",
                kDiskUntouched);
    return;
  case Refusal::RestoreFileUnreadable:
    out.appendf("无法读取恢复文件 %s: ", file);
    describeError(o.error, Subject::File, out);
    out.appendf(" %s", kDiskUntouched);
    return;
  case Refusal::RestoreFileSize:
    out.appendf("恢复文件 %s 的大小%s 512 字节,不是一个扇区的MBR备份. %s", file,
                value > 512 ? "超过" : "不足", kDiskUntouched);
    return;
  case Refusal::RestoreFileInvalid:
    out.appendf("恢复文件 %s 不是有效的MBR(末尾没有 55AA 标志). %s", file, kDiskUntouched);
    return;
  case Refusal::RestoreFileIsOurs:
    out.appendf("恢复文件 %s 中是本程序的启动代码,不是原来的MBR. %s", file, kDiskUntouched);
    return;
  case Refusal::BackupFileDiffers:
    out.appendf("备份文件 %s 已经存在,内容与现在的MBR不同;为免覆盖以前的备份,请换一个文件名. %s",
                file, kDiskUntouched);
    return;
  case Refusal::BackupFileUnusable:
    out.appendf("无法写入备份文件 %s: ", file);
    describeError(o.error, Subject::File, out);
    out.appendf(" %s", kDiskUntouched);
    return;
  case Refusal::BackupFileMismatch:
    out.appendf("备份文件 %s 读回的内容与写入的不同. %s", file, kDiskUntouched);
    return;
  case Refusal::Declined:
    out.appendf("已取消. %s", kDiskUntouched);
    return;
  case Refusal::BitLockerNotAsked:
    out.appendf("输入不是控制台,无法询问是否继续;确定要继续时,请加上选项 --bitlocker-ok. %s",
                kDiskUntouched);
    return;
  case Refusal::RestoreFileNotAsked:
    out.appendf("输入不是控制台,无法询问是否用与第二扇区不同的恢复文件 %s 继续. %s", file,
                kDiskUntouched);
    return;
  case Refusal::WriteFailed:
    out.appendf("写入磁盘 %s 的第 %lu 扇区失败: ", disk, lba);
    describeError(o.error, Subject::Disk, out);
    return;
  case Refusal::VerifyFailed:
    out.appendf("磁盘 %s 的第 %lu 扇区写入后读回的内容不同,磁盘可能有故障.", disk, lba);
    return;
  }
}

} // namespace installer
