// The disk list: the exact probes, one item per disk that answers, the choice of a disk and its
// backup name, refresh, and the end of the program when no disk is left.
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

TEST(DiskList, ProbesItemsChoiceRefreshAndTheEndWhenNoDiskIsLeft) {
  Folder folder("list");
  folder.map({{0, Folder::image("plain")}, {2, Folder::image("small")}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  const HWND list = GetDlgItem(main, IDC_COMBO_CHOOSEHD), name = GetDlgItem(main, IDC_BKFILETT);
  const std::vector<std::string> deployed = {"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"};
  std::vector<std::string> probes;
  for (int disk = 0; disk <= 10; ++disk)
    probes.push_back(envPath("BOOTDECK_E2E_COMMAND_LOGGER") + " /c " + folder.path() +
                     "\\mtldrinst.EXE -l (hd" + std::to_string(disk) + ") >  " + folder.path() +
                     "\\tempch.tmp");
  EXPECT_EQ(probes, folder.commands());
  EXPECT_EQ((std::vector<std::string>{"第1块介质 : 15 MB", "第3块介质 : 48 MB"}), items(list));
  EXPECT_EQ(0, SendMessageW(list, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(backupName(1), text(name));
  EXPECT_EQ(deployed, entries(folder.path())) << "the listing file stayed";

  setText(name, "typed"); // gives way to the name for the disk chosen next
  pick(list, 1);
  EXPECT_TRUE(waitUntil([&] { return text(name) == backupName(3); })) << text(name);

  folder.map({{9, Folder::image("plain")}, {10, Folder::image("huge")}});
  press(GetDlgItem(main, IDC_FRASH));
  const std::vector<std::string> refreshed = {"第10块介质 : 15 MB", "第11块介质 : 3072 GB"};
  EXPECT_TRUE(waitUntil([&] { return items(list) == refreshed; })) << items(list).size();
  EXPECT_TRUE(waitUntil([&] { return text(name) == backupName(10); })) << text(name);
  EXPECT_EQ(0, SendMessageW(list, CB_GETCURSEL, 0, 0));

  folder.map({});
  press(GetDlgItem(main, IDC_FRASH));
  const Box box = app.box();
  EXPECT_EQ("错误:无安装介质|您的电脑没装硬盘或移动存储!\r\n\r\n"
            "安装文件无法部署在安装介质上,请确认后重新运行程序.\r\n程序将退出.|6* 7|icon",
            box.describe());
  box.answer(IDNO);
  EXPECT_EQ(1u, app.exitCode());
  EXPECT_EQ(deployed, entries(folder.path()));
}

} // namespace
} // namespace e2e
