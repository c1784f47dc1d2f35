#include "installer/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace installer {
namespace {

std::string described(SystemError error, Subject subject) {
  TextBuffer text;
  describeError(error, subject, text);
  return text.c_str();
}

TEST(SystemError, ClassifiesAndExplainsWithWhatToDo) {
  const struct {
    SystemError error;
    ErrorKind kind;
    const char *diskAdvice; // words the disk message must hold
  } cases[] = {
      {SystemError::windows(5), ErrorKind::AccessDenied, "管理员"},
      {SystemError::windows(32), ErrorKind::SharingViolation, "关闭"},
      {SystemError::windows(33), ErrorKind::SharingViolation, "关闭"},
      {SystemError::windows(21), ErrorKind::NotReady, "刷新"},
      {SystemError::windows(1167), ErrorKind::NotReady, "重新连接"},
      {SystemError::windows(2), ErrorKind::NotFound, "刷新"},
      {SystemError::windows(3), ErrorKind::NotFound, "重新连接"},
      {SystemError::windows(19), ErrorKind::WriteProtected, "写保护"},
      {SystemError::windows(23), ErrorKind::DeviceFault, "坏扇区"},
      {SystemError::posix(EACCES), ErrorKind::AccessDenied, "安全软件"},
      {SystemError::posix(EPERM), ErrorKind::AccessDenied, "管理员"},
      {SystemError::posix(EBUSY), ErrorKind::SharingViolation, "其他程序"},
      {SystemError::posix(ENOENT), ErrorKind::NotFound, "刷新"},
      {SystemError::posix(ENXIO), ErrorKind::NotReady, "重新连接"},
      {SystemError::posix(EROFS), ErrorKind::WriteProtected, "写保护"},
      {SystemError::posix(EIO), ErrorKind::DeviceFault, "连接"},
      {SystemError::endOfDevice(), ErrorKind::EndOfDevice, "末尾"},
      {SystemError::windows(1234567), ErrorKind::Other, "错误"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(classifyError(c.error), c.kind) << c.error.code;
    const std::string disk = described(c.error, Subject::Disk);
    EXPECT_NE(disk.find(c.diskAdvice), std::string::npos) << c.error.code << ": " << disk;
    // Only system errors carry their code; a file is never called a disk.
    const bool system = c.kind != ErrorKind::EndOfDevice;
    EXPECT_EQ(disk.find(" (错误代码 " + std::to_string(c.error.code) + ")") != std::string::npos,
              system)
        << disk;
    const std::string file = described(c.error, Subject::File);
    EXPECT_TRUE(c.kind == ErrorKind::Other || file != disk) << c.error.code;
    EXPECT_EQ(file.find("磁盘"), std::string::npos) << file;
  }
}

} // namespace
} // namespace installer
