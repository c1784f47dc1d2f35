#include "tests/e2e/e2e_support.h"

#include "platform/locale_text.h"
#include "platform/scoped.h"
#include "platform/utf.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using bootdeck::narrow;
using bootdeck::widen;
namespace fs = std::filesystem;

namespace e2e {

namespace {

std::string className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return narrow(name);
}

} // namespace

bool waitUntil(const std::function<bool()> &condition, Ms timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    Sleep(15); // the poll interval
  }
  return true;
}

std::string envPath(const char *name) {
  wchar_t value[4096] = {};
  GetEnvironmentVariableW(widen(name).c_str(), value, 4096);
  std::string path = narrow(value);
  if (path.compare(0, 1, "/") == 0)
    path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Sized first: a stream read that doubles its buffer runs a 32-bit process out of address space
// on a 64 MB disk image.
std::string readFile(const std::string &path, size_t limit) {
  std::ifstream in(fs::u8path(path), std::ios::binary | std::ios::ate);
  std::string bytes(in ? std::min(static_cast<size_t>(in.tellg()), limit) : 0, '\0');
  in.seekg(0).read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::uint64_t digest(const std::string &path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::uint64_t hash = 14695981039346656037ull; // FNV-1a
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
    for (std::streamsize i = 0; i < in.gcount(); ++i)
      hash = (hash ^ static_cast<unsigned char>(chunk[i])) * 1099511628211ull;
  return hash;
}

void writeFile(const std::string &path, const std::string &bytes) {
  std::ofstream(fs::u8path(path), std::ios::binary) << bytes;
}

std::vector<std::string> entries(const std::string &folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry &entry : fs::directory_iterator(fs::u8path(folder)))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    result.push_back(text.substr(start, end - start));
  result.push_back(text.substr(start));
  return result;
}

std::string backupName(int item) {
  std::string date = bootdeck::shortDateText();
  for (char &c : date)
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos)
      c = '-';
  return date + "-" + std::to_string(item);
}

std::string text(HWND window) {
  wchar_t buffer[8192] = {};
  // Not SMTO_ABORTIFHUNG: a thread just back from seconds of disk probes counts as hung briefly.
  SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000,
                      nullptr);
  return narrow(buffer);
}

void setText(HWND window, const std::string &text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

bool checked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void press(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void setChecked(HWND button, bool wanted) {
  if (checked(button) != wanted)
    press(button);
  EXPECT_TRUE(waitUntil([&] { return checked(button) == wanted; }));
}

void pick(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::vector<std::string> items(HWND combo) {
  std::vector<std::string> result;
  for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t item[256] = {}; // far longer than any item
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    result.push_back(narrow(item));
  }
  return result;
}

void pressKey(HWND window, WORD key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, 0)) << 16;
  PostMessageW(window, WM_KEYDOWN, key, 1 | scan);
  PostMessageW(window, WM_KEYUP, key, 1 | scan | 0xC0000000);
}

std::vector<std::string> compose(HWND main) {
  const HWND result = GetDlgItem(main, IDC_RESULTTEXT);
  setText(result, "-"); // a mark no composition writes
  press(GetDlgItem(main, IDC_NOWSTATE));
  EXPECT_TRUE(waitUntil([&] { return text(result) != "-"; })) << "no composition";
  return lines(text(result));
}

std::vector<std::string> defaultSummary(const std::string &folder, const std::string &item,
                                        int itemNumber) {
  return {"●安装 ●MTLDR ",
          "至●" + item,
          "●将原来的引导备份到文件:" + folder + "\\" + backupName(itemNumber),
          "●同时备份原来的MBR到第二扇区.",
          "●启动时在软驱上搜索mtldr 或grldr",
          "●启动时,分区表非法时启动原来的MBR",
          "●优先引导安装的MBR",
          ""};
}

std::string systemFolderLogger() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  const std::string logger = narrow(folder) + "\\bootdeck_command_logger.exe";
  const std::string built = envPath("BOOTDECK_E2E_COMMAND_LOGGER");
  if (readFile(logger) != readFile(built)) {
    EXPECT_TRUE(CopyFileW(widen(built).c_str(), widen(logger).c_str(), FALSE)) << logger;
  }
  return logger;
}

std::string interpreterCall() {
  return "\"" + systemFolderLogger() + "\" /D /c ";
}

std::string Box::describe() const {
  if (!hwnd)
    return "no message box";
  std::string buttons, icon;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (className(child) == "Button" && IsWindowVisible(child))
      buttons += " " + std::to_string(GetDlgCtrlID(child)) +
                 ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? "*" : "");
    // Wine keeps an empty icon control in a box without an icon: ask for the icon itself.
    if ((style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
      icon = "|icon";
  }
  return text(hwnd) + "|" + text(GetDlgItem(hwnd, 0xFFFF)) + "|" + buttons.substr(1) + icon;
}

void Box::answer(int id) const {
  if (id == 0)
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
  else
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(hwnd); })) << "the box stays";
}

Folder::Folder(const std::string &name) {
  static std::atomic<int> counter{0};
  parent_ = (fs::temp_directory_path() / ("bootdeck-e2e-" + std::to_string(GetCurrentProcessId()) +
                                          "-" + std::to_string(counter++)))
                .u8string();
  path_ = name.find(':') != std::string::npos ? name : parent_ + "\\" + name;
  fs::create_directories(fs::u8path(parent_));
  std::error_code rootExists;
  fs::create_directories(fs::u8path(path_), rootExists);
}

Folder::~Folder() {
  std::error_code ignored;
  fs::remove_all(fs::u8path(parent_), ignored);
}

std::string Folder::image(const char *kind) {
  return envPath("BOOTDECK_E2E_DATA") + "\\" + kind + ".img";
}

std::string Folder::copy(const char *kind, const std::string &name) const {
  const std::string target = parent_ + "\\" + name + ".img";
  fs::copy_file(fs::u8path(image(kind)), fs::u8path(target));
  return target;
}

void Folder::map(const std::vector<std::pair<int, std::string>> &disks) const {
  std::string content;
  for (const auto &disk : disks)
    content += "(hd" + std::to_string(disk.first) + ") " + disk.second + "\r\n";
  writeFile(parent_ + "\\device.map", content);
}

std::vector<std::string> Folder::commands() const {
  std::vector<std::string> logged = lines(readFile(parent_ + "\\commands.log"));
  logged.pop_back(); // what follows the last CR LF
  return logged;
}

App::App(const Folder &folder, const std::string &comSpec) {
  start(folder, comSpec);
  // Wine now and then loses a new process before it runs: CreateProcess fails with 1359
  // ("internal error"), which bootdeck rightly reports when it hits a probe. Such a start is
  // made once more, with a fresh command log; every other start stays as it came.
  if (lostAProcessAtStart()) {
    stop();
    DeleteFileW(widen(folder.parent() + "\\commands.log").c_str());
    start(folder, comSpec);
  }
}

bool App::lostAProcessAtStart() const {
  const auto shown = [&](const wchar_t *name) {
    for (HWND w : windows(name))
      if (IsWindowVisible(w))
        return w;
    return HWND{};
  };
  waitUntil([&] { return shown(BOOTDECK_MAIN_CLASS) || shown(L"#32770") || !running(); });
  const HWND box = shown(L"#32770");
  return box && text(GetDlgItem(box, 0xFFFF)).rfind("运行时错误 '1359'", 0) == 0;
}

void App::start(const Folder &folder, const std::string &comSpec) {
  const std::wstring exe = fs::u8path(folder.path()) / L"bootdeck.exe";
  // A second start in the same folder runs the copy that is there, as a second double-click does.
  EXPECT_TRUE(CopyFileW(widen(envPath("BOOTDECK_E2E_EXE")).c_str(), exe.c_str(), TRUE) ||
              GetLastError() == ERROR_FILE_EXISTS);
  // Inherited by the program; each test runs in a process of its own.
  SetEnvironmentVariableW(L"BOOTDECK_DEVICE_MAP", widen(folder.parent() + "\\device.map").c_str());
  SetEnvironmentVariableW(L"BOOTDECK_COMSPEC_LOG",
                          widen(folder.parent() + "\\commands.log").c_str());
  SetEnvironmentVariableW(L"COMSPEC", widen(comSpec).c_str());
  job_ = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring commandLine = L"\"" + exe + L"\"";
  EXPECT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                             CREATE_SUSPENDED, nullptr, widen(folder.parent()).c_str(), &startup,
                             &info));
  AssignProcessToJobObject(job_, info.hProcess);
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  thread_ = info.dwThreadId;
}

App::~App() {
  stop();
}

void App::stop() {
  TerminateJobObject(job_, 1);
  WaitForSingleObject(process_, static_cast<DWORD>(kTimeout.count()));
  CloseHandle(process_);
  CloseHandle(job_);
}

bool App::running() const {
  return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD App::exitCode() const {
  DWORD code = STILL_ACTIVE;
  WaitForSingleObject(process_, static_cast<DWORD>(kTimeout.count()));
  GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

using ClassSearch = std::pair<std::string, std::vector<HWND>>;

// A named callback: a lambda does not convert to the 32-bit build's stdcall WNDENUMPROC.
BOOL CALLBACK collectOfClass(HWND hwnd, LPARAM found) {
  auto *search = reinterpret_cast<ClassSearch *>(found);
  if (className(hwnd) == search->first)
    search->second.push_back(hwnd);
  return TRUE;
}

} // namespace

std::vector<HWND> App::windows(const wchar_t *name) const {
  ClassSearch search = {narrow(name), {}};
  EnumThreadWindows(thread_, collectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND App::window(const wchar_t *name) const {
  HWND shown = nullptr;
  waitUntil([&] {
    for (HWND w : windows(name))
      if (IsWindowVisible(w))
        shown = w;
    return shown || !running();
  });
  if (!shown) { // what the program shows and runs instead, for the failure's message
    for (HWND box : windows(L"#32770"))
      std::fprintf(stderr, "a box instead: %s\n", text(GetDlgItem(box, 0xFFFF)).c_str());
    for (const wchar_t *child : {L"cmd.exe", L"command_logger.exe", L"mtldrinst.exe"})
      std::fprintf(stderr, "%s running: %zu\n", narrow(child).c_str(), processes({child}).size());
    std::fprintf(stderr, "bootdeck %s\n", running() ? "runs" : "ended");
  }
  return shown;
}

HWND App::focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread_, &info) ? info.hwndFocus : nullptr;
}

HWND App::tab() const {
  HWND before = focus(), after = before;
  pressKey(before, VK_TAB);
  waitUntil([&] { return (after = focus()) != before; }, Ms(3000));
  return after;
}

// A marker selection posted behind the messages so far, twice, for those their handling posts.
void App::sync() const {
  const HWND edit = GetDlgItem(main(), IDC_BKFILETT);
  for (int round = 0; round < 2; ++round) {
    SendMessageW(edit, EM_SETSEL, 1, 1);
    PostMessageW(edit, EM_SETSEL, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return LOWORD(SendMessageW(edit, EM_GETSEL, 0, 0)) == 0; }));
  }
}

std::vector<DWORD> App::processes(std::initializer_list<const wchar_t *> names) const {
  std::vector<DWORD> found;
  bootdeck::ScopedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    bootdeck::ScopedHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
    BOOL inJob = FALSE;
    for (const wchar_t *name : names)
      if (!lstrcmpiW(entry.szExeFile, name) && IsProcessInJob(process.get(), job_, &inJob) && inJob)
        found.push_back(entry.th32ProcessID);
  }
  return found;
}

std::string App::toolScreen(const char *awaited) const {
  std::string screen;
  waitUntil([&] {
    for (DWORD tool : processes({L"mtldrinst.exe", L"grldrinst.exe"})) {
      FreeConsole(); // this process's output goes to pipes under the test runner
      AttachConsole(tool);
      bootdeck::ScopedFile out(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
      CONSOLE_SCREEN_BUFFER_INFO info = {};
      if (!GetConsoleScreenBufferInfo(out.get(), &info) || info.dwSize.X <= 0 ||
          info.dwSize.Y <= 0) {
        fprintf(stderr, "console of %lu: error %lu, size %d x %d\n", tool, GetLastError(),
                info.dwSize.X, info.dwSize.Y);
        FreeConsole();
        continue;
      }
      std::wstring cells(static_cast<size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
      DWORD read = 0;
      ReadConsoleOutputCharacterW(out.get(), &cells[0], static_cast<DWORD>(cells.size()), {0, 0},
                                  &read);
      screen = narrow(cells.substr(0, read));
      FreeConsole();
    }
    return screen.find(awaited) != std::string::npos;
  });
  return screen;
}

void App::typeToTool(wchar_t key) const {
  for (DWORD tool : processes({L"mtldrinst.exe", L"grldrinst.exe"})) {
    FreeConsole();
    AttachConsole(tool);
    bootdeck::ScopedFile in(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
    INPUT_RECORD records[2] = {};
    for (INPUT_RECORD &record : records) {
      record.EventType = KEY_EVENT;
      record.Event.KeyEvent.wRepeatCount = 1;
      record.Event.KeyEvent.wVirtualKeyCode = static_cast<WORD>(key);
      record.Event.KeyEvent.uChar.UnicodeChar = key;
    }
    records[0].Event.KeyEvent.bKeyDown = TRUE;
    DWORD written = 0;
    EXPECT_TRUE(WriteConsoleInputW(in.get(), records, 2, &written)) << GetLastError();
    FreeConsole();
  }
}

bool App::endTool() const {
  const auto running = [&] {
    return processes({L"mtldrinst.exe", L"grldrinst.exe", L"cmd.exe", L"command_logger.exe"});
  };
  for (DWORD tool : processes({L"mtldrinst.exe", L"grldrinst.exe"}))
    TerminateProcess(bootdeck::ScopedHandle(OpenProcess(PROCESS_TERMINATE, FALSE, tool)).get(), 1);
  return waitUntil([&] { return running().empty(); });
}

void expectWindow(HWND window, const char *title, int width, int height,
                  const std::vector<ControlRow> &rows) {
  const bootdeck::ScopedScreenDc screen;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  EXPECT_EQ(title, text(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(WS_SYSMENU, style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT client, outer;
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  EXPECT_EQ(px(width), client.right);
  EXPECT_EQ(px(height), client.bottom);
  EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (outer.top + outer.bottom) / 2, 1);
  for (const ControlRow &row : rows) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    const HWND hwnd = GetDlgItem(window, row.id);
    EXPECT_EQ(row.caption, text(hwnd));
    RECT r = {};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
    int left = row.left, top = row.top;
    for (const ControlRow &frame : rows)
      if (frame.id == row.in) {
        left += frame.left;
        top += frame.top;
      }
    // A drop-down list's closed field cannot be lower than its font needs.
    const int slack = className(hwnd) == "ComboBox" ? 4 : 0;
    EXPECT_EQ(px(left), r.left);
    EXPECT_EQ(px(top), r.top);
    EXPECT_EQ(px(row.width), r.right - r.left);
    EXPECT_LE(px(row.height), r.bottom - r.top);
    EXPECT_GE(px(row.height) + slack, r.bottom - r.top);
  }
}

std::vector<int> tabCycle(const App &app, const std::function<void(HWND)> &atEach) {
  const HWND first = app.focus();
  std::vector<int> ids;
  for (HWND at = first; ids.empty() || (at != first && ids.size() < 40); at = app.tab()) {
    ids.push_back(GetDlgCtrlID(at));
    if (atEach)
      atEach(at);
  }
  return ids;
}

} // namespace e2e
