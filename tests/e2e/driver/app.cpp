#include "tests/e2e/driver/app.h"

#include "app/control_ids.h"
#include "platform/utf.h"

#include <algorithm>
#include <stdexcept>

using bootdeck::narrow;
using bootdeck::widen;

namespace e2e {

namespace {

// Applies `changes` to this process's environment for the length of a scope. The child then
// inherits it whole: an environment block built by hand would lose what Wine keeps for itself
// (the X display, for one).
class ScopedEnvironment {
public:
  explicit ScopedEnvironment(const Environment &changes) {
    for (const auto &change : changes) {
      const std::wstring name = widen(change.first);
      wchar_t old[32768];
      const DWORD length = GetEnvironmentVariableW(name.c_str(), old, 32768);
      saved_.push_back({name, length > 0, length > 0 ? std::wstring(old, length) : L""});
      SetEnvironmentVariableW(name.c_str(),
                              change.second.empty() ? nullptr : widen(change.second).c_str());
    }
  }
  ScopedEnvironment(const ScopedEnvironment &) = delete;
  ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;
  ~ScopedEnvironment() {
    for (const Saved &s : saved_)
      SetEnvironmentVariableW(s.name.c_str(), s.existed ? s.value.c_str() : nullptr);
  }

private:
  struct Saved {
    std::wstring name;
    bool existed;
    std::wstring value;
  };
  std::vector<Saved> saved_;
};

struct WindowsOfClass {
  DWORD processId;
  std::string className;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindowOfClass(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<WindowsOfClass *>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && className(hwnd) == search->className)
    search->found.push_back(hwnd);
  return TRUE;
}

} // namespace

std::vector<HWND> windowsOfClass(DWORD processId, const wchar_t *className) {
  WindowsOfClass search = {processId, narrow(className), {}};
  EnumWindows(collectWindowOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string pathFromEnvironment(const char *name) {
  wchar_t value[4096];
  const DWORD length = GetEnvironmentVariableW(widen(name).c_str(), value, 4096);
  if (length == 0 || length >= 4096)
    throw std::runtime_error(std::string("environment variable ") + name + " is not set");
  std::string path = narrow(value);
  if (!path.empty() && path[0] == '/') // a host path: Wine's drive Z: is the host's root
    path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string bootdeckExe() {
  return pathFromEnvironment("BOOTDECK_E2E_EXE");
}

App::App(const std::string &exe, const std::string &folder, const Environment &environment) {
  std::string target = folder;
  if (target.back() != '\\')
    target += '\\';
  target += "bootdeck.exe";
  if (!CopyFileW(widen(exe).c_str(), widen(target).c_str(), FALSE))
    throw std::runtime_error("cannot copy " + exe + " to " + target);

  job_.reset(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

  std::wstring commandLine = L"\"" + widen(target) + L"\"";
  const ScopedEnvironment scopedEnvironment(environment);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(widen(target).c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, widen(folder).c_str(), &startup, &info))
    throw std::runtime_error("cannot start " + target + ": error " +
                             std::to_string(GetLastError()));
  AssignProcessToJobObject(job_.get(), info.hProcess);
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  WaitForInputIdle(process_.get(), static_cast<DWORD>(kTimeout.count()));
}

App::~App() {
  if (running()) {
    TerminateJobObject(job_.get(), 1);
    WaitForSingleObject(process_.get(), static_cast<DWORD>(kTimeout.count()));
  }
}

bool App::running() const {
  return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool App::waitForExit(DWORD *exitCode, Milliseconds timeout) const {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

HWND App::findWindow(const wchar_t *className) const {
  for (HWND window : windowsOfClass(processId_, className))
    if (IsWindowVisible(window))
      return window;
  return nullptr;
}

HWND App::waitForWindow(const wchar_t *className, Milliseconds timeout) const {
  HWND found = nullptr;
  waitUntil([&] { return (found = findWindow(className)) != nullptr || !running(); }, timeout);
  return found;
}

MessageBoxView App::waitForMessageBox(Milliseconds timeout) const {
  return MessageBoxView(waitForWindow(L"#32770", timeout));
}

HWND App::focus() const {
  HWND main = findWindow(BOOTDECK_MAIN_CLASS);
  if (!main)
    main = findWindow(L"#32770");
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = main ? GetWindowThreadProcessId(main, nullptr) : 0;
  return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string MessageBoxView::title() const {
  return e2e::text(box_);
}

std::string MessageBoxView::text() const {
  return e2e::text(GetDlgItem(box_, 0xFFFF));
}

std::vector<int> MessageBoxView::buttons() const {
  std::vector<int> ids;
  for (HWND child = GetWindow(box_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (className(child) == "Button" && IsWindowVisible(child))
      ids.push_back(GetDlgCtrlID(child));
  return ids;
}

// Wine keeps the icon control of a box without an icon, empty; so ask for the icon itself.
bool MessageBoxView::hasIcon() const {
  for (HWND child = GetWindow(box_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
        SendMessageW(child, STM_GETICON, 0, 0))
      return true;
  return false;
}

void MessageBoxView::answer(int buttonId) const {
  PostMessageW(box_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box_, buttonId)));
}

void MessageBoxView::close() const {
  PostMessageW(box_, WM_CLOSE, 0, 0);
}

HWND control(HWND window, int id) {
  return GetDlgItem(window, id);
}

std::string text(HWND window) {
  wchar_t buffer[8192] = {};
  // Not SMTO_ABORTIFHUNG: a window thread that has just spent seconds on the disk probes counts as
  // hung for a moment after, and its first box would read as untitled.
  SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000,
                      nullptr);
  return narrow(buffer);
}

std::string className(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return narrow(name);
}

bool checked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT childRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
  return rect;
}

void press(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void pick(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::vector<std::string> items(HWND combo) {
  std::vector<std::string> result;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[1024] = {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0 || length >= 1024)
      continue;
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    result.push_back(narrow(item));
  }
  return result;
}

int selectedIndex(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void pressKey(HWND window, WORD virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, 0);
  PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

bool drainPostedMessages(HWND edit, Milliseconds timeout) {
  for (int round = 0; round < 2; ++round) {
    SendMessageW(edit, EM_SETSEL, 1, 1);
    PostMessageW(edit, EM_SETSEL, 0, 0);
    if (!waitUntil([&] { return LOWORD(SendMessageW(edit, EM_GETSEL, 0, 0)) == 0; }, timeout))
      return false;
  }
  return true;
}

} // namespace e2e
