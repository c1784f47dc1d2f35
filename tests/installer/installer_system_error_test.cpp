#include "installer/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace installer {
namespace {

struct Case {
  SystemError error;
  ErrorKind kind;
  const char *diskAdvice; // words the disk message must hold
};

const Case kCases[] = {
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

TEST(SystemError, ClassifiesAndExplainsWithWhatToDo) {
  for (const Case &c : kCases) {
    EXPECT_EQ(classifyError(c.error), c.kind) << c.error.code;
    TextBuffer text;
    describeError(c.error, Subject::Disk, text);
    EXPECT_NE(std::string(text.c_str()).find(c.diskAdvice), std::string::npos)
        << "code " << c.error.code << ": " << text.c_str();
  }
}

TEST(SystemError, SystemCodeIsShownButOnlyForSystemErrors) {
  TextBuffer windows;
  describeError(SystemError::windows(32), Subject::Disk, windows);
  EXPECT_NE(std::string(windows.c_str()).find("(错误代码 32)"), std::string::npos);
  TextBuffer end;
  describeError(SystemError::endOfDevice(), Subject::Disk, end);
  EXPECT_EQ(std::string(end.c_str()).find("错误代码"), std::string::npos);
}

TEST(SystemError, FilesAreNotCalledDisks) {
  const SystemError errors[] = {SystemError::posix(ENOENT), SystemError::windows(5),
                                SystemError::posix(EISDIR), SystemError::windows(112)};
  for (const SystemError &e : errors) {
    TextBuffer disk;
    TextBuffer file;
    describeError(e, Subject::Disk, disk);
    describeError(e, Subject::File, file);
    EXPECT_STRNE(disk.c_str(), file.c_str());
    EXPECT_EQ(std::string(file.c_str()).find("磁盘"), std::string::npos) << file.c_str();
  }
}

} // namespace
} // namespace installer
