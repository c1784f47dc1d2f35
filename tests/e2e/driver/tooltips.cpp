#include "tests/e2e/driver/tooltips.h"

#include "platform/scoped.h"
#include "platform/utf.h"

#include <commctrl.h>

namespace e2e {

namespace {

struct SearchOwned {
  HWND owner;
  HWND found;
};

BOOL CALLBACK matchToolTip(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<SearchOwned *>(lParam);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (GetWindow(hwnd, GW_OWNER) == search->owner && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Memory in another process for the length of a scope.
class RemoteMemory {
public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory &) = delete;
  RemoteMemory &operator=(const RemoteMemory &) = delete;
  ~RemoteMemory() {
    if (address_)
      VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  char *get() const { return static_cast<char *>(address_); }

private:
  HANDLE process_;
  void *address_;
};

} // namespace

HWND ownedToolTip(HWND owner) {
  SearchOwned search = {owner, nullptr};
  EnumWindows(matchToolTip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::map<HWND, std::string> toolTipTexts(HWND toolTip) {
  std::map<HWND, std::string> tips;
  DWORD processId = 0;
  GetWindowThreadProcessId(toolTip, &processId);
  bootdeck::ScopedHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process.valid())
    return tips;
  constexpr size_t kTextChars = 1024;
  RemoteMemory memory(process.get(), sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t));
  if (!memory.get())
    return tips;
  wchar_t *remoteText = reinterpret_cast<wchar_t *>(memory.get() + sizeof(TTTOOLINFOW));

  const LRESULT count = SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    SIZE_T done = 0;
    WriteProcessMemory(process.get(), memory.get(), &info, sizeof info, &done);
    if (!SendMessageW(toolTip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(memory.get())))
      continue;
    ReadProcessMemory(process.get(), memory.get(), &info, sizeof info, &done);

    const wchar_t empty[1] = {};
    WriteProcessMemory(process.get(), remoteText, empty, sizeof empty, &done);
    info.lpszText = remoteText;
    WriteProcessMemory(process.get(), memory.get(), &info, sizeof info, &done);
    SendMessageW(toolTip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(memory.get()));
    wchar_t text[kTextChars] = {};
    ReadProcessMemory(process.get(), remoteText, text, sizeof text - sizeof(wchar_t), &done);
    tips[reinterpret_cast<HWND>(info.uId)] = bootdeck::narrow(text);
  }
  return tips;
}

} // namespace e2e
