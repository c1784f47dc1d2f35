// What the tests of the composition, the advanced-options dialog and the execution share:
// reading the result box, setting controls as a person would, finding hidden windows and the
// installer tool's processes, and answering the tool's console.
#pragma once

#include "tests/e2e/driver/app.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "platform/scoped.h"
#include "platform/utf.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

inline std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  result.push_back(text.substr(start));
  return result;
}

inline void setText(HWND control, const std::string &text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bootdeck::widen(text).c_str()));
}

// Presses a check box or option button when it does not show the wanted state, and waits for it.
inline void setChecked(HWND button, bool wanted) {
  if (checked(button) != wanted)
    press(button);
  ASSERT_TRUE(waitUntil([&] { return checked(button) == wanted; }));
}

// Nowstate, then the result box's lines once the composition has rewritten them (the box is
// first set to a mark that no composition writes).
inline std::vector<std::string> composeNow(HWND main) {
  HWND result = control(main, IDC_RESULTTEXT);
  setText(result, "-");
  press(control(main, IDC_NOWSTATE));
  EXPECT_TRUE(waitUntil([&] { return text(result) != "-"; })) << "no composition";
  return lines(text(result));
}

// The summary of an install with every advanced option at its default, as the result box
// shows it (the last, empty line is the box's final CR LF).
inline std::vector<std::string> defaultInstallSummary(HWND main, const std::string &folder) {
  HWND combo = control(main, IDC_COMBO_CHOOSEHD);
  return {"●安装 ●MTLDR ",
          "至●" + items(combo).at(static_cast<size_t>(selectedIndex(combo))),
          "●将原来的引导备份到文件:" + folder + "\\" + text(control(main, IDC_BKFILETT)),
          "●同时备份原来的MBR到第二扇区.",
          "●启动时在软驱上搜索mtldr 或grldr",
          "●启动时,分区表非法时启动原来的MBR",
          "●优先引导安装的MBR",
          ""};
}

// The processes that `ancestor` started, directly or further down, by executable name
// (any name when empty).
inline std::vector<DWORD> descendants(DWORD ancestor, const std::wstring &exeName = L"") {
  std::map<DWORD, DWORD> parents;
  std::map<DWORD, std::wstring> names;
  // Fails with INVALID_HANDLE_VALUE, as CreateFileW does.
  bootdeck::ScopedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    parents[entry.th32ProcessID] = entry.th32ParentProcessID;
    names[entry.th32ProcessID] = entry.szExeFile;
  }
  std::vector<DWORD> found;
  for (const auto &process : parents) {
    if (!exeName.empty() && lstrcmpiW(names[process.first].c_str(), exeName.c_str()) != 0)
      continue;
    DWORD up = process.second;
    for (int depth = 0; depth < 8 && up != 0 && up != ancestor; ++depth)
      up = parents.count(up) ? parents[up] : 0;
    if (up == ancestor && up != 0)
      found.push_back(process.first);
  }
  return found;
}

// The console of another process, attached for the length of a scope: its screen is read and
// keys are typed into it as a person would. This process's own output goes to pipes under the
// test runner and does not depend on its console.
class AttachedConsole {
public:
  explicit AttachedConsole(DWORD processId) {
    FreeConsole();
    attached_ = AttachConsole(processId) != FALSE;
  }
  AttachedConsole(const AttachedConsole &) = delete;
  AttachedConsole &operator=(const AttachedConsole &) = delete;
  ~AttachedConsole() { FreeConsole(); }

  bool attached() const { return attached_; }

  std::string screen() const {
    bootdeck::ScopedFile output(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!attached_ || !output.valid() || !GetConsoleScreenBufferInfo(output.get(), &info))
      return std::string();
    std::wstring cells(static_cast<size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(output.get(), &cells[0], static_cast<DWORD>(cells.size()), {0, 0},
                                &read);
    cells.resize(read);
    return bootdeck::narrow(cells);
  }

  bool pressSpace() const {
    bootdeck::ScopedFile input(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    if (!attached_ || !input.valid())
      return false;
    INPUT_RECORD records[2] = {};
    for (int i = 0; i < 2; ++i) {
      records[i].EventType = KEY_EVENT;
      records[i].Event.KeyEvent.bKeyDown = i == 0;
      records[i].Event.KeyEvent.wRepeatCount = 1;
      records[i].Event.KeyEvent.wVirtualKeyCode = VK_SPACE;
      records[i].Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(VK_SPACE, 0));
      records[i].Event.KeyEvent.uChar.UnicodeChar = L' ';
    }
    DWORD written = 0;
    return WriteConsoleInputW(input.get(), records, 2, &written) && written == 2;
  }

private:
  bool attached_ = false;
};

// The tool started by `app` that waits for a key at the end of its report; 0 when none comes
// within `timeout`. Its console's text goes to `screen`.
inline DWORD toolAtItsPause(const App &app, std::string *screen, Milliseconds timeout = kTimeout) {
  const std::string prompt = "按任意键退出";
  DWORD found = 0;
  waitUntil(
      [&] {
        for (const wchar_t *tool : {L"mtldrinst.exe", L"grldrinst.exe"})
          for (DWORD process : descendants(app.processId(), tool)) {
            const std::string text = AttachedConsole(process).screen();
            if (text.find(prompt) != std::string::npos) {
              *screen = text;
              found = process;
              return true;
            }
          }
        return false;
      },
      timeout);
  return found;
}

// Types a key into the waiting tool's console and waits for the tool to end.
inline bool answerTool(DWORD process) {
  bootdeck::ScopedHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
  if (!handle.valid())
    return true; // ended already
  if (!AttachedConsole(process).pressSpace())
    return false;
  return WaitForSingleObject(handle.get(), static_cast<DWORD>(kTimeout.count())) == WAIT_OBJECT_0;
}

} // namespace e2e
