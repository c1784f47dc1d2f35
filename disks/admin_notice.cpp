#include "disks/admin_notice.h"

namespace bootdeck {

namespace {

const char kAdminNotice[] =
    "注意:程序没有以管理员身份运行,安装和卸载都将无法写入磁盘.请关闭程序,右键单击它,"
    "选择 \"以管理员身份运行\" (Windows XP: \"运行方式...\") 后重新运行.";

} // namespace

std::string withAdminNotice(const std::string &resultText) {
  return kAdminNotice + std::string("\r\n") + resultText;
}

} // namespace bootdeck
