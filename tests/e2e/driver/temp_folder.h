// Fresh folders for one test, removed with everything in them afterwards.
#pragma once

#include <string>
#include <vector>

namespace e2e {

class TempFolder {
public:
  // A new folder under the temporary folder; `name` is its last part and may hold blanks,
  // U+3000 or further levels ("a b\\child").
  explicit TempFolder(const std::string &name);
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;
  ~TempFolder();

  // The folder, without a final backslash.
  const std::string &path() const { return path_; }

private:
  std::string base_; // the unique folder that holds `name`, removed whole
  std::string path_;
};

// Names of the files and folders directly in `folder`, in byte order of their UTF-8 names.
std::vector<std::string> folderEntries(const std::string &folder);

// Removes the folder's content and, unless it is a drive's root, the folder itself. Clears the
// read-only attribute first.
void removeTree(const std::string &folder);

// The file's whole content.
std::string readFileBytes(const std::string &path);
void writeFileBytes(const std::string &path, const std::string &bytes);
bool setReadOnly(const std::string &path, bool readOnly);

} // namespace e2e
