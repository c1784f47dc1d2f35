#include "installer/usage.h"

#include <cstring>

namespace installer {

void appendUsage(const Variant &variant, const UsageError &error, TextBuffer &text) {
  text.appendf("%s: %s", variant.programName, error.reason);
  if (error.argument != nullptr) {
    text.appendf(": %s", error.argument);
  }
  text.appendf("\n用法: %s [选项] (hdN)\n", variant.programName);
  if (variant.hasListMode) {
    text.append("  -l                    列出磁盘的分区表\n");
  }
  text.appendf("  %s文件%*s安装前把现在的 MBR 保存到文件\n", variant.saveFlag,
               static_cast<int>(18 - std::strlen(variant.saveFlag)), "");
  text.appendf("  %s文件%*s从文件恢复原来的 MBR (卸载)\n", variant.restoreFlag,
               static_cast<int>(18 - std::strlen(variant.restoreFlag)), "");
  text.append("  --restore-prevmbr     从第二扇区恢复原来的 MBR (卸载)\n"
              "  --no-backup-mbr       不把原来的 MBR 备份到第二扇区\n"
              "  --mbr-disable-floppy  启动时不在软驱上搜索\n"
              "  --mbr-disable-osbr    找不到加载文件时不启动原来的 MBR\n"
              "  --boot-prevmbr-first  优先启动原来的 MBR\n"
              "  --time-out=秒         启动原来的 MBR 之前等待的秒数 (0 到 255,默认 5)\n"
              "  --read-only           测试模式:不写入任何内容\n"
              "  --bitlocker-ok        有 BitLocker 加密的分区时不询问,直接继续\n"
              "  --pause               结束前等待按键\n");
}

} // namespace installer
