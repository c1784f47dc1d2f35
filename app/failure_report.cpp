#include "app/failure_report.h"

namespace bootdeck {

namespace {

// Error numbers by value, so that this file needs no system header.
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kWriteProtect = 19;
constexpr unsigned long kSharingViolation = 32;
constexpr unsigned long kLockViolation = 33;
constexpr unsigned long kFileInvalid = 1006; // the held file's bytes are not the carried ones
constexpr unsigned long kLinked = 1921;      // the file is a link or has a second name

const char kCopyElsewhere[] =
    "请把 bootdeck.exe 复制到一个可以写入的文件夹,例如 C:\\bootdeck,再运行.";

std::string adviceFor(unsigned long number) {
  if (number == kSharingViolation || number == kLockViolation)
    return "可能另一个 bootdeck,或它启动的 grldrinst.exe 或 mtldrinst.exe 还在运行:请关闭它们后"
           "重新运行.杀毒软件也可能正在检查这个文件:请稍等片刻后重新运行.";
  if (number == kAccessDenied || number == kWriteProtect)
    return "这个文件夹可能不能写入 (例如有写保护的 U 盘),杀毒软件也可能阻止了写入.\r\n\r\n" +
           std::string(kCopyElsewhere);
  return kCopyElsewhere;
}

} // namespace

std::string failureReport(unsigned long number, const std::string &systemText,
                          const std::string &file) {
  const std::string head = "运行时错误 '" + std::to_string(number) + "':\r\n\r\n";
  const std::string end = "\r\n\r\n程序将退出.";
  if (file.empty())
    return head + systemText + end;
  if (number == kFileInvalid)
    return head + "bootdeck 写出的文件在写入后被改动了,与 bootdeck 携带的内容不一致:\r\n" + file +
           "\r\n\r\n安全软件 (杀毒软件) 可能改动或隔离了它.为了安全,bootdeck "
           "不运行这个文件.\r\n\r\n"
           "请在安全软件中允许 bootdeck.exe,grldrinst.exe 和 mtldrinst.exe 后重新运行." +
           end;
  if (number == kLinked)
    return head + "bootdeck 要写出的文件是一个链接 (符号链接,目录联接或硬链接),可能指向别处:\r\n" +
           file + "\r\n\r\n其他程序可能在这个文件夹里放了它.为了安全,bootdeck 不通过链接写入文件." +
           "\r\n\r\n" + kCopyElsewhere + end;
  return head + "无法写入文件:\r\n" + file + "\r\n\r\n" + systemText + "\r\n\r\n" +
         adviceFor(number) + end;
}

} // namespace bootdeck
