#include "tests/e2e/driver/temp_folder.h"

#include "platform/scoped.h"
#include "platform/utf.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

using bootdeck::narrow;
using bootdeck::widen;

namespace e2e {

namespace {

void createFolders(const std::string &path) {
  for (size_t pos = path.find('\\', 3);; pos = path.find('\\', pos + 1)) {
    const std::string part = path.substr(0, pos);
    CreateDirectoryW(widen(part).c_str(), nullptr);
    if (pos == std::string::npos)
      break;
  }
  if (!(GetFileAttributesW(widen(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY))
    throw std::runtime_error("cannot create folder " + path);
}

} // namespace

TempFolder::TempFolder(const std::string &name) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::string root = narrow(temp);
  if (!root.empty() && root.back() == '\\')
    root.pop_back();
  base_ = root + "\\bootdeck-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  path_ = base_ + "\\" + name;
  removeTree(base_);
  createFolders(path_);
}

TempFolder::~TempFolder() {
  removeTree(base_);
}

std::vector<std::string> folderEntries(const std::string &folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(widen(folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..")
      names.push_back(narrow(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void removeTree(const std::string &folder) {
  std::string base = folder;
  if (!base.empty() && base.back() == '\\')
    base.pop_back();
  for (const std::string &name : folderEntries(base)) {
    const std::wstring path = widen(base + "\\" + name);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      removeTree(base + "\\" + name);
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
  if (base.size() > 2) // "R:" is a drive's root: it stays
    RemoveDirectoryW(widen(base).c_str());
}

std::string readFileBytes(const std::string &path) {
  bootdeck::ScopedFile file(CreateFileW(widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
  if (!file.valid())
    throw std::runtime_error("cannot open " + path);
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  return bytes;
}

void writeFileBytes(const std::string &path, const std::string &bytes) {
  bootdeck::ScopedFile file(CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file.valid() ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw std::runtime_error("cannot write " + path);
}

bool setReadOnly(const std::string &path, bool readOnly) {
  return SetFileAttributesW(widen(path).c_str(),
                            readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

} // namespace e2e
