#include "installer/bootcode/bootcode_blob.h"
#include "installer/posix_platform.h"
#include "installer/tool.h"

#include "installer/build_variant.h"

int main(int argc, char **argv) {
  installer::PosixPlatform platform;
  const installer::BootImage image{bootcode::kImage, bootcode::kImageSize};
  return installer::runTool(installer::kBuildVariant, image, argc, argv, platform);
}
