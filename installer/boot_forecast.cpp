#include "installer/boot_forecast.h"

#include "installer/refusal.h"

#include "installer/bootcode/bootcode_layout.h"
#include "installer/bootcode/search_rules.h"

#include <cstring>

namespace installer {

namespace {

constexpr const char *kNoActivePartition =
    "注意: 分区表中没有活动分区;有些 BIOS 不从这样的 U 盘或硬盘启动.";

// The disk as the boot code will read it after the install; nothing is written.
class DiskAfterInstall final : public SectorSource {
public:
  DiskAfterInstall(const Sector &mbr, const InstallPlan &plan, const BootImage &image, Disk &disk)
      : mbr_(mbr), plan_(plan), image_(image), disk_(disk) {}

  bool readSector(std::uint64_t lba, Sector &out) override {
    const std::uint64_t gapEnd = bootcode::kFirstExtraLba + image_.extraSectors();
    if (lba == 0) {
      out = plan_.bootSector;
    } else if (lba == bootcode::kPreviousMbrLba && plan_.writePreviousMbr) {
      out = mbr_;
    } else if (lba >= bootcode::kFirstExtraLba && lba < gapEnd) {
      const std::size_t index = lba - bootcode::kFirstExtraLba + 1;
      std::memcpy(out.data(), image_.bytes + index * out.size(), out.size());
    } else {
      return disk_.readSector(lba, out);
    }
    return true;
  }

private:
  const Sector &mbr_;
  const InstallPlan &plan_;
  const BootImage &image_;
  Disk &disk_;
};

void appendPartition(const PartitionName &name, TextBuffer &out) {
  out.appendf("%s %lu", name.logical ? "逻辑分区" : "主分区",
              static_cast<unsigned long>(name.number));
}

void appendLoaderPlace(const LoaderSeen &seen, const char *loader, TextBuffer &out) {
  appendPartition(seen.partition, out);
  out.appendf(" (FAT%d) 根目录中的 %s", seen.fatBits, loader);
}

void appendPassedLoader(const LoaderSeen &seen, const char *loader, TextBuffer &out) {
  if (seen.state == LoaderSeen::TooBig) {
    out.appendf("注意: %s 太大,启动时放不进内存 (", loader);
    appendLoaderPlace(seen, loader, out);
    out.appendf(
        " 有 %lu 字节;按常规内存 %lu KB 算,从 2000:0000 起最多能载入 %lu 字节),启动代码跳过它.\n",
        static_cast<unsigned long>(seen.size), static_cast<unsigned long>(kUsualMemoryKib),
        static_cast<unsigned long>(kUsualMemoryKib * 1024 - bootcode::kLoaderSegment * 16));
    return;
  }
  out.append("注意: ");
  appendLoaderPlace(seen, loader, out);
  out.append(seen.state == LoaderSeen::Empty ? " 是空文件" : " 已损坏 (簇链不完整)");
  out.append(",启动代码跳过它.\n");
}

void appendFallback(const BootSearch &search, TextBuffer &out) {
  if (search.floppyNext) {
    out.appendf("启动时将接着在软盘上找 %s;软盘上也没有时,", search.loaderName);
  } else {
    out.append("启动时不在软盘上找,");
  }
  out.append(search.previousMbrNext ? "将启动原来的 MBR.\n"
                                    : "将显示消息并停机,不启动原来的 MBR.\n");
}

} // namespace

void appendBootForecast(const BootSearch &search, const char *diskName, TextBuffer &out) {
  const char *loader = search.loaderName;
  if (search.unreadable) {
    out.appendf("注意: 读不出磁盘 %s 的", diskName);
    appendSectorName(search.unreadableLba, out);
    out.appendf(",无法断定启动时能否找到 %s.\n", loader);
  } else {
    bool passedLoader = false;
    for (std::size_t i = 0; i < search.loaderCount; ++i) {
      const LoaderSeen &seen = search.loaders[i];
      if (seen.state == LoaderSeen::Loads) {
        out.append("启动时将载入 ");
        appendLoaderPlace(seen, loader, out);
        out.appendf(",大小 %lu 字节.\n", static_cast<unsigned long>(seen.size));
      } else {
        appendPassedLoader(seen, loader, out);
        passedLoader = true;
      }
    }
    if (!search.loads()) {
      if (!passedLoader) {
        out.appendf("注意: 磁盘 %s 的 FAT12/FAT16/FAT32 分区的根目录中都没有 %s.\n", diskName,
                    loader);
      }
      if (search.passedCount > 0) {
        out.append("启动代码只读 FAT12/FAT16/FAT32 分区,读不了");
        for (std::size_t i = 0; i < search.passedCount; ++i) {
          const PartitionPassed &p = search.passed[i];
          out.append(i == 0 ? " " : ", ");
          appendPartition(p.partition, out);
          out.appendf(" (类型 %02X%s)", static_cast<unsigned>(p.type),
                      p.fatType ? ",里面不是 FAT 文件系统" : "");
        }
        out.append(".\n");
      }
      appendFallback(search, out);
    }
  }
  if (!search.activePartition) {
    out.appendf("%s\n", kNoActivePartition);
  }
}

void reportBootForecast(const Sector &mbr, const InstallPlan &plan, const BootImage &image,
                        Disk &disk, const char *diskName, Platform &platform) {
  DiskAfterInstall after(mbr, plan, image, disk);
  TextBuffer text;
  appendBootForecast(searchLikeBootCode(after, kUsualMemoryKib), diskName, text);
  platform.writeOut(text.c_str(), text.size());
}

} // namespace installer
