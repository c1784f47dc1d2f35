#include "installer/system_error.h"

#include <cerrno>

namespace installer {

namespace {

struct Classification {
  ErrorOrigin origin;
  long code;
  ErrorKind kind;
};

// Windows codes by number, so that this file needs no system header of Windows.
constexpr Classification kClassifications[] = {
    {ErrorOrigin::Windows, 2, ErrorKind::NotFound},           // ERROR_FILE_NOT_FOUND
    {ErrorOrigin::Windows, 3, ErrorKind::NotFound},           // ERROR_PATH_NOT_FOUND
    {ErrorOrigin::Windows, 5, ErrorKind::AccessDenied},       // ERROR_ACCESS_DENIED
    {ErrorOrigin::Windows, 15, ErrorKind::NotFound},          // ERROR_INVALID_DRIVE
    {ErrorOrigin::Windows, 19, ErrorKind::WriteProtected},    // ERROR_WRITE_PROTECT
    {ErrorOrigin::Windows, 20, ErrorKind::NotFound},          // ERROR_BAD_UNIT
    {ErrorOrigin::Windows, 21, ErrorKind::NotReady},          // ERROR_NOT_READY
    {ErrorOrigin::Windows, 23, ErrorKind::DeviceFault},       // ERROR_CRC
    {ErrorOrigin::Windows, 27, ErrorKind::DeviceFault},       // ERROR_SECTOR_NOT_FOUND
    {ErrorOrigin::Windows, 29, ErrorKind::DeviceFault},       // ERROR_WRITE_FAULT
    {ErrorOrigin::Windows, 30, ErrorKind::DeviceFault},       // ERROR_READ_FAULT
    {ErrorOrigin::Windows, 31, ErrorKind::DeviceFault},       // ERROR_GEN_FAILURE
    {ErrorOrigin::Windows, 32, ErrorKind::SharingViolation},  // ERROR_SHARING_VIOLATION
    {ErrorOrigin::Windows, 33, ErrorKind::SharingViolation},  // ERROR_LOCK_VIOLATION
    {ErrorOrigin::Windows, 39, ErrorKind::NoSpace},           // ERROR_HANDLE_DISK_FULL
    {ErrorOrigin::Windows, 55, ErrorKind::NotFound},          // ERROR_DEV_NOT_EXIST
    {ErrorOrigin::Windows, 108, ErrorKind::SharingViolation}, // ERROR_DRIVE_LOCKED
    {ErrorOrigin::Windows, 112, ErrorKind::NoSpace},          // ERROR_DISK_FULL
    {ErrorOrigin::Windows, 267, ErrorKind::IsFolder},         // ERROR_DIRECTORY
    {ErrorOrigin::Windows, 433, ErrorKind::NotFound},         // ERROR_NO_SUCH_DEVICE
    {ErrorOrigin::Windows, 1110, ErrorKind::NotReady},        // ERROR_MEDIA_CHANGED
    {ErrorOrigin::Windows, 1112, ErrorKind::NotReady},        // ERROR_NO_MEDIA_IN_DRIVE
    {ErrorOrigin::Windows, 1117, ErrorKind::DeviceFault},     // ERROR_IO_DEVICE
    {ErrorOrigin::Windows, 1167, ErrorKind::NotReady},        // ERROR_DEVICE_NOT_CONNECTED
    {ErrorOrigin::Posix, EACCES, ErrorKind::AccessDenied},
    {ErrorOrigin::Posix, EPERM, ErrorKind::AccessDenied},
    {ErrorOrigin::Posix, EBUSY, ErrorKind::SharingViolation},
    {ErrorOrigin::Posix, ETXTBSY, ErrorKind::SharingViolation},
    {ErrorOrigin::Posix, ENOENT, ErrorKind::NotFound},
    {ErrorOrigin::Posix, ENOTDIR, ErrorKind::NotFound},
    {ErrorOrigin::Posix, ENXIO, ErrorKind::NotReady},
    {ErrorOrigin::Posix, ENODEV, ErrorKind::NotReady},
    {ErrorOrigin::Posix, EROFS, ErrorKind::WriteProtected},
    {ErrorOrigin::Posix, EIO, ErrorKind::DeviceFault},
    {ErrorOrigin::Posix, EISDIR, ErrorKind::IsFolder},
    {ErrorOrigin::Posix, ENOSPC, ErrorKind::NoSpace},
    {ErrorOrigin::Posix, ELOOP, ErrorKind::LinkedFile}, // a symbolic link opened with O_NOFOLLOW
#ifdef ENOMEDIUM
    {ErrorOrigin::Posix, ENOMEDIUM, ErrorKind::NotReady},
#endif
};

// What happened and what to do, for a disk and for a file. The system's code goes between the
// two, so the advice ends the line.
struct Words {
  const char *what;
  const char *advice;
};

struct Explanation {
  ErrorKind kind;
  Words disk;
  Words file;
};

constexpr Explanation kExplanations[] = {
    {ErrorKind::AccessDenied,
     {"拒绝访问",
      "安全软件 (杀毒软件或它的 MBR 保护) 可能阻止了写入磁盘:请在安全软件中允许这次操作,或"
      "暂时关闭它的 MBR 保护后重试.若不是从 bootdeck 启动的本程序,请右键单击它,选择 "
      "\"以管理员身份运行\"."},
     {"拒绝访问",
      "安全软件可能阻止了访问这个文件:请在安全软件中允许这次操作后重试.也请确认对这个文件"
      "和它的文件夹有读写权限."}},
    {ErrorKind::SharingViolation,
     {"磁盘正被其他程序占用", "请关闭正在使用这块磁盘的其他程序 (如磁盘工具,虚拟机) 后重试."},
     {"文件正被其他程序使用", "请关闭正在使用这个文件的程序后重试."}},
    {ErrorKind::NotReady,
     {"磁盘没有就绪或已被拔出", "请重新连接磁盘,在 bootdeck 中单击 \"刷新\",确认所选的磁盘后重试."},
     {"文件所在的驱动器没有就绪", "请插好存储介质后重试."}},
    {ErrorKind::NotFound,
     {"找不到这块磁盘", "请重新连接磁盘,在 bootdeck 中单击 \"刷新\",确认所选的磁盘后重试."},
     {"找不到这个文件或它所在的文件夹", "请检查文件名."}},
    {ErrorKind::WriteProtected,
     {"磁盘有写保护", "请把磁盘或存储卡上的写保护开关拨到解锁位置后重试."},
     {"文件所在的驱动器有写保护",
      "请解除写保护,或把 bootdeck.exe 复制到可以写入的文件夹,例如 C:\\bootdeck."}},
    {ErrorKind::DeviceFault,
     {"读写磁盘出错", "磁盘可能有坏扇区或连接不良,请检查磁盘和连接线后重试."},
     {"读写文件出错", "文件所在的驱动器可能有故障,请换一个文件夹或驱动器."}},
    {ErrorKind::IsFolder,
     {"这个名字是一个文件夹,不是磁盘", "请确认所选的磁盘."},
     {"这个名字是一个文件夹,不是文件", "请换一个文件名."}},
    {ErrorKind::NoSpace,
     {"磁盘空间不足", "请确认所选的磁盘."},
     {"文件所在的驱动器空间不足", "请腾出空间或换一个文件夹."}},
    {ErrorKind::EndOfDevice,
     {"超出了磁盘的末尾", "磁盘比它的分区表所说的小,分区表可能有错."},
     {"文件比预期的短", "请换用安装时的备份文件."}},
    {ErrorKind::LinkedFile,
     {"这个名字是一个链接,不是磁盘", "请确认所选的磁盘."},
     {"这个文件是一个链接 (符号链接,目录联接或硬链接),可能指向别处",
      "本程序不通过链接读写文件,请换一个文件名."}},
    {ErrorKind::MapOutsideWine,
     {"设置了环境变量 BOOTDECK_DEVICE_MAP",
      "它只供在 Wine 下测试使用,所以在 Windows 上本程序不打开任何磁盘.请删除这个环境变量后重试."},
     {"设置了环境变量 BOOTDECK_DEVICE_MAP", "请删除这个环境变量后重试."}},
    {ErrorKind::Other,
     {"系统报告了本程序没有预料到的错误", "请记下错误代码,检查磁盘和连接后重试."},
     {"系统报告了本程序没有预料到的错误", "请记下错误代码,检查文件和它的文件夹后重试."}},
};

} // namespace

ErrorKind classifyError(SystemError error) {
  switch (error.origin) {
  case ErrorOrigin::EndOfDevice:
    return ErrorKind::EndOfDevice;
  case ErrorOrigin::LinkedFile:
    return ErrorKind::LinkedFile;
  case ErrorOrigin::MapOutsideWine:
    return ErrorKind::MapOutsideWine;
  default:
    break;
  }
  for (const Classification &c : kClassifications) {
    if (c.origin == error.origin && c.code == error.code) {
      return c.kind;
    }
  }
  return ErrorKind::Other;
}

void describeError(SystemError error, Subject subject, TextBuffer &out) {
  const ErrorKind kind = classifyError(error);
  for (const Explanation &e : kExplanations) {
    if (e.kind != kind) {
      continue;
    }
    const Words &words = subject == Subject::Disk ? e.disk : e.file;
    out.append(words.what);
    if (error.origin == ErrorOrigin::Posix || error.origin == ErrorOrigin::Windows) {
      out.appendf(" (错误代码 %ld)", error.code);
    }
    out.append(":");
    out.append(words.advice);
  }
}

} // namespace installer
