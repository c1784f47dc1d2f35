// What bootdeck.exe carries besides the installer tool's builds (start-up deploys and compares
// those): the icon, the manifest, the version.
#include "tests/e2e/driver/app.h"

#include "platform/utf.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace e2e {
namespace {

class ExecutableResources : public testing::Test {
protected:
  void SetUp() override {
    module_ =
        LoadLibraryExW(bootdeck::widen(bootdeckExe()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module_) << bootdeckExe();
  }
  void TearDown() override {
    if (module_)
      FreeLibrary(module_);
  }
  std::string resource(const wchar_t *type, int id) const {
    HRSRC info = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!info)
      return std::string();
    return std::string(static_cast<const char *>(LockResource(LoadResource(module_, info))),
                       SizeofResource(module_, info));
  }

  HMODULE module_ = nullptr;
};

TEST_F(ExecutableResources, IconGroupOneHoldsEightImages) {
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const std::string group = resource(MAKEINTRESOURCEW(14), 1); // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  const WORD count = *reinterpret_cast<const WORD *>(group.data() + 4);
  ASSERT_EQ(8, count);
  ASSERT_EQ(6u + count * sizeof(GroupEntry), group.size());
  std::set<std::pair<int, int>> images;
  for (WORD i = 0; i < count; ++i) {
    const auto *entry = reinterpret_cast<const GroupEntry *>(group.data() + 6) + i;
    EXPECT_EQ(entry->width, entry->height);
    EXPECT_EQ(entry->bytes, resource(MAKEINTRESOURCEW(3), entry->id).size()) // RT_ICON
        << "image " << entry->id;
    images.insert({entry->width, entry->bitCount});
  }
  const std::set<std::pair<int, int>> expected = {{48, 8}, {48, 32}, {32, 8}, {32, 32},
                                                  {24, 8}, {24, 32}, {16, 8}, {16, 32}};
  EXPECT_EQ(expected, images);
}

TEST_F(ExecutableResources, ManifestAndVersion) {
  const std::string manifest = resource(MAKEINTRESOURCEW(24), 1); // RT_MANIFEST
  for (const char *part : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "level=\"requireAdministrator\"", ">true</dpiAware>",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
                           "{e2011457-1546-43c5-a5fe-008deee3d3f0}"}) // Vista
    EXPECT_NE(std::string::npos, manifest.find(part)) << part;
  const std::string version = resource(MAKEINTRESOURCEW(16), 1); // RT_VERSION
  const std::wstring text(reinterpret_cast<const wchar_t *>(version.data()),
                          version.size() / sizeof(wchar_t));
  EXPECT_NE(std::wstring::npos, text.find(L"OriginalFilename"));
  EXPECT_NE(std::wstring::npos, text.find(L"bootdeck.exe"));
}

} // namespace
} // namespace e2e
