#include "disks/admin_notice.h"

#include <gtest/gtest.h>

namespace {

TEST(AdminNotice, OneLineBeforeTheTextItPrecedes) {
  const std::string waiting = ">输出结果-等待您下达指令...";
  const std::string shown = bootdeck::withAdminNotice(waiting);
  const auto lineEnd = shown.find("\r\n");
  ASSERT_NE(std::string::npos, lineEnd);
  EXPECT_EQ(waiting, shown.substr(lineEnd + 2));
  const std::string notice = shown.substr(0, lineEnd);
  EXPECT_EQ(std::string::npos, notice.find_first_of("\r\n")) << notice;
  // What fails and what to do about it.
  EXPECT_NE(std::string::npos, notice.find("无法写入磁盘")) << notice;
  EXPECT_NE(std::string::npos, notice.find("以管理员身份运行")) << notice;
  EXPECT_EQ(bootdeck::withAdminNotice("") + waiting, shown);
}

} // namespace
