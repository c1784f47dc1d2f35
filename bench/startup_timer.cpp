// Times, side by side in one process, bootdeck's start-up until its main window shows the disk
// list, and the eleven list-mode probes that the start-up runs, on their own.
//
// Usage: startup_timer.exe BOOTDECK_EXE FOLDER RUNS
// FOLDER must be free of blanks; bootdeck is copied there and started there. Prints one line per
// run and the means, in milliseconds.
#include "app/control_ids.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <string>
#include <vector>

namespace {

class Handle {
public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle &) = delete;
  Handle &operator=(const Handle &) = delete;
  ~Handle() {
    if (h_)
      CloseHandle(h_);
  }
  HANDLE get() const { return h_; }

private:
  HANDLE h_;
};

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
  DWORD processId;
  bool listed;
};

BOOL CALLBACK findListedWindow(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<Search *>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (owner != search->processId || !IsWindowVisible(hwnd) ||
      std::wcscmp(name, BOOTDECK_MAIN_CLASS) != 0)
    return TRUE;
  search->listed = SendMessageW(GetDlgItem(hwnd, IDC_COMBO_CHOOSEHD), CB_GETCOUNT, 0, 0) > 0;
  return !search->listed;
}

// Starts `commandLine` in `folder`; the caller owns the returned process handle.
HANDLE start(std::wstring commandLine, const std::wstring &folder, bool hidden) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                      hidden ? CREATE_NEW_CONSOLE : 0, nullptr, folder.c_str(), &startup, &info)) {
    std::fwprintf(stderr, L"cannot start %ls: error %lu\n", commandLine.c_str(), GetLastError());
    ExitProcess(1);
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

// From the start of bootdeck until its main window is shown with at least one disk listed;
// `beforeProbes` gets the time until the first probe's listing file appears.
double timeStartup(const std::wstring &exe, const std::wstring &folder, double *beforeProbes) {
  const std::wstring listing = folder + L"\\tempch.tmp";
  *beforeProbes = 0;
  const double begin = nowMs();
  const Handle process(start(L"\"" + exe + L"\"", folder, false));
  Search search = {GetProcessId(process.get()), false};
  while (!search.listed) {
    if (WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) {
      std::fwprintf(stderr, L"bootdeck ended before it showed its disk list\n");
      ExitProcess(1);
    }
    if (*beforeProbes == 0 && GetFileAttributesW(listing.c_str()) != INVALID_FILE_ATTRIBUTES)
      *beforeProbes = nowMs() - begin;
    EnumWindows(findListedWindow, reinterpret_cast<LPARAM>(&search));
  }
  const double elapsed = nowMs() - begin;
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), INFINITE);
  return elapsed;
}

// The eleven probes of an enumeration, run as the program runs them: expanded, hidden, waited for.
double timeProbes(const std::wstring &folder, double *firstProbe) {
  const double begin = nowMs();
  for (int disk = 0; disk <= 10; ++disk) {
    const std::wstring command = L"%comspec% /c " + folder + L"\\mtldrinst.EXE -l (hd" +
                                 std::to_wstring(disk) + L") >  " + folder + L"\\tempch.tmp";
    wchar_t expanded[4096];
    ExpandEnvironmentStringsW(command.c_str(), expanded, 4096);
    const Handle process(start(expanded, folder, true));
    WaitForSingleObject(process.get(), INFINITE);
    if (disk == 0)
      *firstProbe = nowMs() - begin;
  }
  const double elapsed = nowMs() - begin;
  DeleteFileW((folder + L"\\tempch.tmp").c_str());
  return elapsed;
}

double mean(const std::vector<double> &values) {
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: startup_timer BOOTDECK_EXE FOLDER RUNS\n");
    return 2;
  }
  const std::wstring folder = argv[2];
  const std::wstring exe = folder + L"\\bootdeck.exe";
  if (!CopyFileW(argv[1], exe.c_str(), FALSE)) {
    std::fwprintf(stderr, L"cannot copy %ls to %ls\n", argv[1], exe.c_str());
    return 1;
  }
  const int runs = _wtoi(argv[3]);
  if (runs < 1) {
    std::fwprintf(stderr, L"RUNS must be at least 1\n");
    return 2;
  }
  // One start first: it writes the tool files that the probes on their own need, and warms up.
  double unused = 0;
  timeStartup(exe, folder, &unused);

  // "before probes": from the start to the first probe's listing file (process start, tool
  // files, window); "enumeration": from there to the list shown.
  std::vector<double> startups, befores, probeRuns, firsts;
  std::printf("%4s %12s %14s %13s %13s %8s %8s %11s\n", "run", "start-up ms", "before probes",
              "enumeration", "11 probes ms", "ratio", "enum.", "1 probe ms");
  const auto row = [](const char *label, double startup, double before, double probes,
                      double first) {
    std::printf("%4s %12.1f %14.1f %13.1f %13.1f %8.3f %8.3f %11.1f\n", label, startup, before,
                startup - before, probes, startup / probes, (startup - before) / probes, first);
  };
  for (int run = 1; run <= runs; ++run) {
    double before = 0, first = 0;
    const double startup = timeStartup(exe, folder, &before);
    const double probes = timeProbes(folder, &first);
    row(std::to_string(run).c_str(), startup, before, probes, first);
    startups.push_back(startup);
    befores.push_back(before);
    probeRuns.push_back(probes);
    firsts.push_back(first);
  }
  row("mean", mean(startups), mean(befores), mean(probeRuns), mean(firsts));
  // Other work on the machine now and then slows one run down; the median is not moved by it.
  row("med.", median(startups), median(befores), median(probeRuns), median(firsts));
  return 0;
}
