// A restore file changed after the install, as another program may change it: the tool shows
// both boot codes' digests and asks in its console; without a Y the disk stays as it is.
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

TEST(RestoreQuestion, AChangedRestoreFileIsWrittenOnlyAfterAY) {
  Folder folder("restore");
  const std::string disk = folder.copy("plain", "disk"), original = readFile(disk, 512);
  folder.map({{0, disk}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  const auto get = [&](int id) { return GetDlgItem(main, id); };
  const auto execute = [&] {
    press(get(IDC_CHOOSEIT));
    app.box().answer(IDOK);
  };
  execute();
  EXPECT_NE(std::string::npos, app.toolScreen().find("恭喜您,安装成功!"));
  ASSERT_TRUE(app.endTool());
  const std::string installed = readFile(disk), backup = folder.path() + "\\" + backupName(1);
  writeFile(backup, "\xEB\xFE" + readFile(backup).substr(2));

  setChecked(get(IDC_OPTIONUNINSTALL), true);
  for (const wchar_t answer : {L'N', L'Y'}) {
    execute();
    EXPECT_NE(std::string::npos, app.toolScreen("按 Y 继续").find("第二扇区的 SHA-256"));
    app.typeToTool(answer);
    EXPECT_NE(std::string::npos,
              app.toolScreen().find(answer == L'Y' ? "恭喜您,卸载成功!" : "磁盘没有任何改动."));
    ASSERT_TRUE(app.endTool());
    if (answer == L'N')
      EXPECT_TRUE(readFile(disk) == installed) << "written without a Y";
  }
  const std::string restored = readFile(disk);
  EXPECT_EQ("\xEB\xFE" + original.substr(2, 438), restored.substr(0, 440));
  EXPECT_TRUE(restored.substr(440) == installed.substr(440)) << "more than the boot code written";
}

} // namespace
} // namespace e2e
