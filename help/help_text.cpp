#include "help/help_text.h"

#include <iterator>

namespace bootdeck {
namespace {

constexpr char kSeparator[] =
    "**********************************************************************************";

// One entry per line, exactly as shown; leading and trailing blanks belong to the lines.
// clang-format off
constexpr std::string_view kHelpLines[] = {
    kSeparator,
    "1. 介绍",
    "bootdeck.exe是grubinst.exe的图形界面shell",
    "程序，对于那些不熟悉命令行操作的用户来说，它提",
    "供了更友好的图形操作界面，目前，bootdeck.exe",
    "只能运行在NT/2K/XP环境下。",
    "另外请注意，当前版本的grubinst不支持在\"",
    "Windows 95/98/ME下修改硬盘的MBR，对于这些操作",
    "系统，请使用bootlace.com。",
    kSeparator,
    "2.主页面",
    "",
    "●安装:安装 MTLDR / GRLDR 到 指定硬盘.",
    "●卸载:卸载 MTLDR / GRLDR 到 指定硬盘.",
    "",
    "●备份文件/回复文件: 当选择安装时,备份当前的MBR至软件所在目录,置空则不备份为文件.",
    "                    当选择卸载时,将所备份的MBR文件恢复到指定硬盘,若所备份的文件不存在,则从第二个扇区中恢复原来的MBR.但是要注意:Grub4Dos只保留了一个扇区的空间来存储原来的MBR，若原来的MBR超过一扇区，则只有第一扇区被保存,原来的MBR必须是单扇区，否则恢复后不能启动.",
    "●测试模式：",
    "模拟所需的操作，但不真正地把MBS/BS写到硬盘/映像中。",
    kSeparator,
    "3.快速上手",
    "●在Windows NT/2000/XP 下，用以下的步骤可以快速地把Grub4Dos安装到MBR或分区中",
    "前提：你必须拥有FAT16/FAT32的分区。",
    "",
    "    1>、下载bootdeck,解压",
    "    2>、双击bootdeck.exe",
    "    3>、在右上方列表中选择需要安装Grub4Dos的硬盘/软盘，如果你有多个磁盘（包括USB移动硬盘），请留意:后显示的磁盘大小，以便选择正确的磁盘,建议移除干扰磁盘,以正确通过大小安装。",
    "    ",
    "    4>、bootdeck默认备份<恢复文件>,用来恢复原来的MBR/BS，请在\"备份文件\"后输入用于保存的文件名字。",
    "    如果不想备份请将名字置空.",
    "    5>、点\"安装\"，在下方黑色的输出窗口查看结果，如果看到\"恭喜您,安装成功!\"的字样, 则说明安装成功。",
    "",
    "●当然，以上步骤只是安装启动代码，要能正常启动Grub4Dos，还需要以下的步骤：",
    "",
    "    1>、从 https://sourceforge.net/projects/grub4dos/files/ 或 https://grub4dos.sourceforge.net/ 中下载最新版的Grub4Dos。",
    "    2>、在压缩包中找到grldr或mtldr，把它放到FAT16/FAT32分区的根目录中。",
    "    3>、编辑menu.lst文件(应该放在和grldr或mtldr一样的目录里)，以配置启动菜单。",
    "",
    "●若没有FAT16/FAT32分区，则不能把Grub4Dos安装到MBR/BS，而只能利用NT的启动管理器启动Grub4Dos:",
    "    1>、下载Grub4Dos，把grldr或mtldr解压到系统盘的根目录里(C:\\)",
    "    2>、编辑C:\\boot.ini（此文件是隐藏的），在文件的最后加上",
    "        C:\\grldr或mtldr=\"Load Grub4Dos\"",
    "这样一行",
    "    3>、编辑C:\\menu.lst文件，以配置启动菜单。",
    "    4>、下次启动Windows时，会增加\"Load Grub4Dos\"一项，选择它便能进入Grub4Dos",
    "",
    kSeparator,
    "4、高级中的选项设置",
    "",
    "●在软驱上搜索mtldr 或grldr",
    "启动时，若当Grub4Dos找不到mtldr 或grldr时，Grub4Dos会试图到软盘上去寻找。若不选这个选项，则屏蔽这一功能。",
    "",
    "●分区表非法时启动原来的MBR",
    "",
    "启动时，若原来的MBR保存在第二个扇区里，若当Grub4Dos找不到mtldr 或grldr时，会用原来的MBR来启动。若不选这个选项，则屏蔽这一功能。",
    "",
    "",
    "",
    "●同时备份原来的MBR到第二扇区",
    "",
    "在修改原来的MBR前，grubinst会把原来的MBR保存到第二个扇区中。若不选这个选项，则屏蔽这一功能。但是影响到卸载时的引导恢复,和启动",
    "",
    "●优先引导安装的MBR ",
    "若选了这个选项，则优先使用安装的MBR来启动Grub4Dos。",
    "●优先引导原来的MBR ",
    "",
    "若选了这个选项，则优先使用原来的MBR来启动(以前的操作系统或其他)。",
    "注意1: Grub4Dos只保留了一个扇区的空间来存储原来的MBR，若原来的MBR超过一扇区，则只有第一扇区被保存，因此不能用原来的MBR来启动。",
    "注意2: 若使用了这一选项，则在启动时会有5秒的等待时间，若你在5秒内按了空格键，则启动Grub4Dos，按其他键或5秒超时的话便引导原来的MBR。等待时间可以定制。",
    "",
    kSeparator,
};
// clang-format on

} // namespace

std::string helpText() {
  std::string text(kHelpLines[0]);
  for (std::size_t i = 1; i < std::size(kHelpLines); ++i) {
    text += "\r\n";
    text += kHelpLines[i];
  }
  return text;
}

std::string_view creditText() {
  return "bootdeck 1.0";
}

} // namespace bootdeck
