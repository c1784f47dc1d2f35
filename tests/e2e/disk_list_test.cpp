// The disk list: the exact probes, one item per disk that answers, the choice of a disk and its
// backup name, refresh, and the end of the program when no disk is left; a listing file that
// another program planted or holds.
#include "tests/e2e/e2e_support.h"

#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

namespace e2e {
namespace {

TEST(DiskList, ProbesItemsChoiceRefreshAndTheEndWhenNoDiskIsLeft) {
  Folder folder("list");
  folder.map({{0, Folder::image("plain")}, {2, Folder::image("small")}});
  // A hard link at the listing file's name: the probes must not write through it.
  const std::string outside = folder.parent() + "\\outside.txt";
  writeFile(outside, "precious");
  ASSERT_TRUE(CreateHardLinkW(bootdeck::widen(folder.path() + "\\tempch.tmp").c_str(),
                              bootdeck::widen(outside).c_str(), nullptr));
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main) << app.box().describe();
  const HWND list = GetDlgItem(main, IDC_COMBO_CHOOSEHD), name = GetDlgItem(main, IDC_BKFILETT);
  const std::vector<std::string> deployed = {"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"};
  std::vector<std::string> probes;
  for (int disk = 0; disk <= 10; ++disk)
    probes.push_back(interpreterCall() + folder.path() + "\\mtldrinst.EXE -l (hd" +
                     std::to_string(disk) + ") >  " + folder.path() + "\\tempch.tmp");
  EXPECT_EQ(probes, folder.commands());
  EXPECT_EQ((std::vector<std::string>{"第1块介质 : 15 MB", "第3块介质 : 48 MB"}), items(list));
  EXPECT_EQ(0, SendMessageW(list, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(backupName(1), text(name));
  EXPECT_EQ(deployed, entries(folder.path())) << "the listing file stayed";
  EXPECT_EQ("precious", readFile(outside));

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

// Held by another program with a forged listing since before the start: the file cannot be made
// anew, so the start ends with the report naming it, before any probe and without a disk.
TEST(DiskList, ListingFileHeldWithAForgedListingEndsTheStartNamingIt) {
  Folder folder("held");
  folder.map({});
  const std::string listing = folder.path() + "\\tempch.tmp";
  const std::string forged = "Partition table:\r\n 0  07    0000003F    7FFFFFFF\r\n";
  writeFile(listing, forged);
  const bootdeck::ScopedFile holder(CreateFileW(bootdeck::widen(listing).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
  ASSERT_TRUE(holder.valid());
  App app(folder);
  const Box box = app.box();
  EXPECT_EQ(
      "bootdeck|运行时错误 '32':\r\n\r\nbootdeck 无法新建,读取或删除列表文件:\r\n" + listing +
          "\r\n" + bootdeck::systemErrorText(ERROR_SHARING_VIOLATION) +
          "\r\n\r\n可能另一个程序正在使用这个文件,或那里有同名的文件夹.为了不把其他程序"
          "写入的内容当作磁盘列表,bootdeck 没有列出磁盘.\r\n\r\n"
          "请关闭那个程序,删除这个文件或文件夹后重新运行 bootdeck.\r\n\r\n程序将退出.|1*|icon",
      box.describe());
  EXPECT_TRUE(app.windows(BOOTDECK_MAIN_CLASS).empty());
  box.answer(IDOK);
  EXPECT_EQ(32u, app.exitCode());
  EXPECT_TRUE(folder.commands().empty()) << "a disk was probed";
  EXPECT_EQ(forged, readFile(listing));
}

} // namespace
} // namespace e2e
