// Nowstate and execute on a disk image of the test's own: what is shown, what is asked, what runs
// (seen through the logging command interpreter) and what the tool does to the image.
#include "tests/e2e/disks_fixture.h"
#include "tests/e2e/operation_fixture.h"

#include "app/control_ids.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace e2e {
namespace {

const char kConfirmTitle[] = "请仔细核对您的参数:";
const char kConfirmPrompt[] = "\r\n\r\n请仔细核对您的参数\r\n\r\n状态框显示您现在的状态,"
                              "\r\n\r\n\r\n\r\n\r\n\r\n"
                              "若确认无误,单击 \"确定\" 执行命令单击 \"取消\",取消命令执行"
                              "\r\n\r\n\r\n";
const char kWaiting[] = ">输出结果-等待您下达指令...";

std::string sectorZero(const std::string &image) {
  return readFileBytes(image).substr(0, 512);
}

class ExecuteTest : public testing::Test {
protected:
  void SetUp() override {
    image_ = map_.copy("plain", "disk");
    second_ = map_.copy("small", "second");
    map_.write({{0, image_}, {2, second_}});
    log_ = folder_.path() + "-commands.log";
    app_ = std::make_unique<App>(bootdeckExe(), folder_.path(),
                                 map_.environment(commandLoggerEnvironment(log_)));
    main_ = mainWindowOf(*app_);
    ASSERT_TRUE(main_);
    ASSERT_TRUE(itemsBecome(get(IDC_COMBO_CHOOSEHD), {plainItem(0), smallItem(2)}));
    ASSERT_TRUE(textBecomes(get(IDC_BKFILETT), expectedBackupName(1)));
    backupName_ = expectedBackupName(1);
  }
  void TearDown() override {
    // A tool still waiting at its pause is answered, so nothing outlives the test.
    std::string screen;
    if (app_) {
      while (DWORD tool = toolAtItsPause(*app_, &screen, Milliseconds(0)))
        ASSERT_TRUE(answerTool(tool));
    }
  }

  HWND get(int id) const { return control(main_, id); }

  // The runs of the installer tool that the logging interpreter saw; the probes of the disk
  // list are not among them.
  std::vector<std::string> toolRuns() const {
    std::vector<std::string> runs;
    for (const std::string &line : loggedCommands(log_))
      if (line.find(" --pause") != std::string::npos)
        runs.push_back(line);
    return runs;
  }
  std::string expectedRun(const std::string &tail) const {
    return pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER") + " /c " + folder_.path() + "\\" +
           tail;
  }
  // Once the window thread answers, every handler it was running has returned.
  void sync() const { SendMessageW(main_, WM_NULL, 0, 0); }

  // Presses execute and waits for the confirmation box.
  MessageBoxView execute() const {
    press(get(IDC_CHOOSEIT));
    return app_->waitForMessageBox();
  }
  // Presses execute, agrees, and returns the tool once it waits at its pause.
  DWORD executeAndConfirm(std::string *screen) const {
    const MessageBoxView confirm = execute();
    EXPECT_EQ(kConfirmTitle, confirm.title());
    confirm.answer(IDOK);
    return toolAtItsPause(*app_, screen);
  }
  // Answers the tool and waits until every process the program started has ended.
  bool answerAndWait(DWORD tool) const {
    return answerTool(tool) && waitUntil([&] { return descendants(app_->processId()).empty(); });
  }

  DeviceMap map_;
  TempFolder folder_{"execute"};
  std::string image_, second_, log_, backupName_;
  std::unique_ptr<App> app_;
  HWND main_ = nullptr;
};

TEST_F(ExecuteTest, NowstateAndAnyAnswerButOkRunNothing) {
  const std::vector<std::string> first = composeNow(main_);
  EXPECT_EQ(defaultInstallSummary(main_, folder_.path()), first);
  EXPECT_EQ(first, composeNow(main_));
  sync();
  EXPECT_EQ(nullptr, app_->findWindow(L"#32770")) << "Nowstate asks nothing";
  // The confirmation's close box and Esc answer Cancel too: the box's own doing.
  setText(get(IDC_RESULTTEXT), kWaiting);
  const MessageBoxView confirm = execute();
  ASSERT_TRUE(confirm.hwnd()) << "no confirmation";
  EXPECT_EQ(kConfirmTitle, confirm.title());
  EXPECT_EQ(kConfirmPrompt, confirm.text());
  EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), confirm.buttons());
  EXPECT_EQ(IDOK, LOWORD(SendMessageW(confirm.hwnd(), DM_GETDEFID, 0, 0)));
  EXPECT_TRUE(confirm.hasIcon());
  // The summary is there before the question is answered.
  EXPECT_EQ(first, lines(text(get(IDC_RESULTTEXT))));
  confirm.answer(IDCANCEL);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(confirm.hwnd()); }));
  sync();
  EXPECT_TRUE(descendants(app_->processId()).empty());
  EXPECT_TRUE(toolRuns().empty());
  EXPECT_EQ(first, lines(text(get(IDC_RESULTTEXT))));

  // Refused texts and failed compositions tell why and ask nothing more.
  const struct {
    const char *name;
    std::function<void()> choose;
    std::string messageStart;
    bool icon; // a refusal warns; the error trap's box has no icon
  } cases[] = {
      {"blank in the file text", [this] { setText(get(IDC_BKFILETT), "a b"); },
       "备份/恢复文件名中不能有空格", true},
      {"no disk chosen",
       [this] { SendMessageW(get(IDC_COMBO_CHOOSEHD), CB_SETCURSEL, WPARAM(-1), 0); },
       "Error 13 (类型不匹配) in procedure showstate of Form grubinstall", false},
      {"time-out that is no number",
       [this] {
         press(get(IDC_PROCH));
         HWND pro = app_->waitForWindow(BOOTDECK_PRO_CLASS);
         ASSERT_TRUE(pro);
         setChecked(control(pro, IDC_OPTION12), true);
         setText(control(pro, IDC_TEXT), "x");
       },
       "等待时间必须是", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    SendMessageW(get(IDC_COMBO_CHOOSEHD), CB_SETCURSEL, 0, 0);
    setText(get(IDC_BKFILETT), backupName_);
    setChecked(get(IDC_OPTIONINSTALL), true);
    c.choose();
    for (int button : {IDC_NOWSTATE, IDC_CHOOSEIT}) {
      SCOPED_TRACE(button == IDC_NOWSTATE ? "Nowstate" : "execute");
      setText(get(IDC_RESULTTEXT), kWaiting);
      press(get(button));
      const MessageBoxView box = app_->waitForMessageBox();
      ASSERT_TRUE(box.hwnd()) << "no message";
      EXPECT_EQ("bootdeck", box.title());
      EXPECT_EQ(0u, box.text().find(c.messageStart)) << box.text();
      EXPECT_EQ(std::vector<int>{IDOK}, box.buttons());
      EXPECT_EQ(c.icon, box.hasIcon());
      box.answer(IDOK);
      ASSERT_TRUE(waitUntil([&] { return !IsWindow(box.hwnd()); }));
      sync();
      EXPECT_EQ(nullptr, app_->findWindow(L"#32770")) << "asked after the message";
      EXPECT_EQ(kWaiting, text(get(IDC_RESULTTEXT))) << "the result box keeps its text";
    }
    EXPECT_TRUE(descendants(app_->processId()).empty());
    EXPECT_TRUE(toolRuns().empty());
  }
}

TEST_F(ExecuteTest, OkRunsOneToolWithTheComposedCommandAndTheWindowStaysUsable) {
  const struct {
    const char *name;
    std::function<void()> choose;
    std::string command;
    const std::string *written; // the image the tool writes to; nullptr for none
  } cases[] = {
      {"grldr, test mode, dialog values not yet confirmed",
       [this] {
         setChecked(get(IDC_GRLDR), true);
         setChecked(get(IDC_JUSTTEST), true);
         press(get(IDC_PROCH));
         HWND pro = app_->waitForWindow(BOOTDECK_PRO_CLASS);
         ASSERT_TRUE(pro);
         setChecked(control(pro, IDC_FLOPPYSCH), false);
         setChecked(control(pro, IDC_OPTION12), true);
         setText(control(pro, IDC_TEXT), "3");
       },
       "grldrinst.exe --save-mbr=" + backupName_ +
           " --mbr-disable-floppy --boot-prevmbr-first --time-out=3 --read-only --pause (hd0)",
       nullptr},
      {"the second disk in the list is disk 2, dialog still open",
       [this] {
         setChecked(get(IDC_MTLDR), true);
         setChecked(get(IDC_JUSTTEST), false);
         pick(get(IDC_COMBO_CHOOSEHD), 1);
         ASSERT_TRUE(textBecomes(get(IDC_BKFILETT), expectedBackupName(3)));
       },
       "mtldrinst.exe --save=" + expectedBackupName(3) +
           " --mbr-disable-floppy --boot-prevmbr-first --time-out=3 --pause (hd2)",
       &second_},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    c.choose();
    const std::string before[] = {readFileBytes(image_), readFileBytes(second_)};
    const size_t runsBefore = toolRuns().size();

    const MessageBoxView confirm = execute();
    ASSERT_EQ(kConfirmTitle, confirm.title());
    const std::string summary = text(get(IDC_RESULTTEXT));
    confirm.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(confirm.hwnd()); }));
    std::string screen;
    const DWORD tool = toolAtItsPause(*app_, &screen);
    ASSERT_NE(0u, tool) << "no tool waiting at its pause";
    // The tool still waits, and the window composes meanwhile.
    EXPECT_EQ(lines(summary), composeNow(main_));
    const std::vector<std::string> runs = toolRuns();
    ASSERT_EQ(runsBefore + 1, runs.size());
    EXPECT_EQ(expectedRun(c.command), runs.back());
    ASSERT_TRUE(answerAndWait(tool));
    for (const std::string *image : {&image_, &second_}) {
      const std::string &old = before[image == &image_ ? 0 : 1];
      if (image == c.written) {
        EXPECT_NE(old.substr(0, 440), sectorZero(*image).substr(0, 440)) << *image;
      } else {
        EXPECT_TRUE(old == readFileBytes(*image)) << *image << " written to";
      }
    }
  }
}

TEST_F(ExecuteTest, InstallRefusesASecondRunWhileItWaitsThenUninstallRestoresSectorZero) {
  const std::string original = sectorZero(image_);
  const std::string backup = folder_.path() + "\\" + backupName_;

  std::string screen;
  DWORD tool = executeAndConfirm(&screen);
  ASSERT_NE(0u, tool) << "install: no tool waiting at its pause";
  EXPECT_NE(std::string::npos, screen.find("恭喜您,安装成功!")) << screen;

  press(get(IDC_CHOOSEIT)); // refused while the tool still waits at its pause
  const MessageBoxView refusal = app_->waitForMessageBox();
  ASSERT_TRUE(refusal.hwnd());
  EXPECT_EQ("bootdeck", refusal.title());
  EXPECT_NE(std::string::npos, refusal.text().find("还在运行")) << refusal.text();
  EXPECT_EQ(std::vector<int>{IDOK}, refusal.buttons());
  refusal.answer(IDOK);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(refusal.hwnd()); }));
  sync();
  EXPECT_EQ(nullptr, app_->findWindow(L"#32770")) << "no confirmation after the refusal";
  EXPECT_EQ(1u, toolRuns().size());
  EXPECT_EQ(expectedRun("mtldrinst.exe --save=" + backupName_ + " --pause (hd0)"),
            toolRuns().back());
  ASSERT_TRUE(answerAndWait(tool));
  const std::string installed = sectorZero(image_);
  EXPECT_NE(original.substr(0, 440), installed.substr(0, 440)) << "boot code unchanged";
  EXPECT_EQ(original.substr(440), installed.substr(440)) << "signature and table must stay";
  const std::string saved = readFileBytes(backup); // in the application folder
  ASSERT_GE(saved.size(), 512u);
  EXPECT_TRUE(saved.substr(0, 512) == original) << "the backup holds the old sector 0";

  setChecked(get(IDC_OPTIONUNINSTALL), true);
  tool = executeAndConfirm(&screen);
  ASSERT_NE(0u, tool) << "uninstall: no tool waiting at its pause";
  EXPECT_EQ("●您的恢复文件存在:" + backup + ",所以用恢复文件恢复.",
            lines(text(get(IDC_RESULTTEXT))).at(2));
  EXPECT_EQ(expectedRun("mtldrinst.exe --restore=" + backupName_ + " --pause (hd0)"),
            toolRuns().back());
  ASSERT_TRUE(answerAndWait(tool));
  EXPECT_TRUE(sectorZero(image_) == original) << "sector 0 not restored";
}

} // namespace
} // namespace e2e
