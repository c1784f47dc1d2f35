#include "installer/bootcode/bootcode_blob.h"
#include "installer/build_variant.h"
#include "installer/tool.h"
#include "installer/win32_platform.h"
#include "platform/dll_search.h"

#include <cstdlib>
#include <memory>

namespace {

struct FreeMemory {
  void operator()(void *memory) const { std::free(memory); }
};

} // namespace

// Arguments come as UTF-16 and are handed on as UTF-8, so file names in any script survive.
int wmain(int argc, wchar_t **argv) {
  bootdeck::loadDllsFromSystemFolderOnly();
  std::size_t bytes = 0;
  for (int i = 0; i < argc; ++i) {
    bytes += static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr));
  }
  const std::unique_ptr<char, FreeMemory> text(static_cast<char *>(std::malloc(bytes + 1)));
  const std::unique_ptr<const char *, FreeMemory> arguments(
      static_cast<const char **>(std::malloc(sizeof(const char *) * (argc + 1))));
  if (!text || !arguments) {
    return installer::kExitRefused;
  }
  char *next = text.get();
  for (int i = 0; i < argc; ++i) {
    arguments.get()[i] = next;
    next += WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, next,
                                static_cast<int>(text.get() + bytes - next), nullptr, nullptr);
  }
  arguments.get()[argc] = nullptr;

  installer::Win32Platform platform;
  const installer::BootImage image{bootcode::kImage, bootcode::kImageSize};
  return installer::runTool(installer::kBuildVariant, image, argc, arguments.get(), platform);
}
