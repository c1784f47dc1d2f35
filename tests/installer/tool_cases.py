#!/usr/bin/env python3
"""Runs the installer tool's host builds on disk images made by tests/fixtures.

Usage: tool_cases.py --tools DIR --bootcode BOOTCODE.BIN --work DIR CASE
Each CASE is one ctest test; every run goes through BOOTDECK_DEVICE_MAP to an image.
"""
import argparse
import hashlib
import json
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
MAKE_IMAGE = os.path.join(HERE, "..", "fixtures", "make-disk-image.sh")
INSTALLED = "恭喜您,安装成功!"
UNINSTALLED = "恭喜您,卸载成功!"
MAGIC = b"BDECKMBR"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Bench:
    def __init__(self, tools, bootcode, work):
        self.tools = tools
        self.work = work
        with open(bootcode, "rb") as f:
            self.extra_sectors = len(f.read()) // 512 - 1
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        self.map = os.path.join(work, "device.map")
        self.map_disks({})

    def image(self, kind, name=None):
        path = os.path.join(self.work, (name or kind) + ".img")
        subprocess.run([MAKE_IMAGE, kind, path], check=True)
        return path

    def map_disks(self, disks):
        with open(self.map, "w") as f:
            for number, path in disks.items():
                f.write("(hd%d) %s\n" % (number, path))

    def run(self, build, *args, env_map=True, stdin=subprocess.DEVNULL):
        env = dict(os.environ)
        env.pop("BOOTDECK_DEVICE_MAP", None)
        if env_map:
            env["BOOTDECK_DEVICE_MAP"] = self.map
        result = subprocess.run([os.path.join(self.tools, build), *args], cwd=self.work, env=env,
                                stdin=stdin, capture_output=True, timeout=60)
        result.out = result.stdout.decode("utf-8")
        result.err = result.stderr.decode("utf-8")
        return result


def sectors(path, lba, count=1):
    with open(path, "rb") as f:
        f.seek(lba * 512)
        return f.read(512 * count)


def digest(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def sfdisk_entries(path):
    """(number, type, start, length) as sfdisk reads the DOS table, logical ones numbered from 4."""
    out = subprocess.run(["sfdisk", "-J", path], capture_output=True, check=True).stdout
    table = json.loads(out)["partitiontable"]
    entries = []
    for p in table["partitions"]:
        number = int(p["node"][len(path):]) - 1
        entries.append((number, int(p["type"], 16), p["start"], p["size"]))
    return entries


def listed_entries(output):
    check(output.endswith("\r\n"), "listing does not end in CR LF: %r" % output[-10:])
    entries = []
    for line in output.split("\r\n")[:-1]:
        check("\n" not in line, "bare LF in listing line %r" % line)
        if line[:2].strip() in ("0", "1", "2", "3") or line[:2].strip().isdigit():
            fields = line.split()
            check(len(fields) == 4 and line == "%2d  %02X    %8X    %8X" % (
                int(fields[0]), int(fields[1], 16), int(fields[2], 16), int(fields[3], 16)),
                  "line not in the fixed shape: %r" % line)
            entries.append(tuple([int(fields[0])] + [int(x, 16) for x in fields[1:]]))
    return entries


def expect_listing_like_sfdisk(bench, kind, until_repeat=False):
    image = bench.image(kind)
    bench.map_disks({0: image})
    r = bench.run("mtldrinst", "-l", "(hd0)")
    check(r.returncode == 0, "exit %d: %s" % (r.returncode, r.err))
    ours = listed_entries(r.out)
    check([e[0] for e in ours[:4]] == [0, 1, 2, 3], "primary lines missing: %r" % ours)
    expected = sfdisk_entries(image)
    if until_repeat:
        seen, cut = set(), []
        for e in expected:
            if e[0] >= 4 and e[2] in seen:
                break
            seen.add(e[2])
            cut.append(e)
        expected = cut
    used = [e for e in ours if e[1] != 0]
    check(used == expected, "listing %r, sfdisk reads %r" % (used, expected))


def case_list_plain(b):
    expect_listing_like_sfdisk(b, "plain")


def case_list_extended(b):
    expect_listing_like_sfdisk(b, "extended")


def case_list_cyclic(b):
    expect_listing_like_sfdisk(b, "cyclic", until_repeat=True)


def case_list_huge(b):
    expect_listing_like_sfdisk(b, "huge")


def case_list_small(b):
    expect_listing_like_sfdisk(b, "small")


def case_list_gpt(b):
    image = b.image("gpt")
    b.map_disks({0: image})
    r = b.run("mtldrinst", "-l", "(hd0)")
    ours = listed_entries(r.out)
    size = os.path.getsize(image) // 512
    check(ours[0] == (0, 0xEE, 1, size - 1), "protective entry listed as %r" % (ours[0],))


def case_list_without_table(b):
    # A volume's boot code in the table's place would read as entries of absurd sizes.
    for kind, reason in (("nosig", "55AA"), ("zeros", "55AA"), ("superfloppy", "文件系统")):
        b.map_disks({0: b.image(kind)})
        r = b.run("mtldrinst", "-l", "(hd0)")
        check(r.returncode == 0 and len(r.stdout) > 10, "%s: exit %d, %r" % (kind, r.returncode, r.out))
        check(listed_entries(r.out) == [], "%s: entries listed: %r" % (kind, r.out))
        check(reason in r.err, "%s: no reason on stderr: %r" % (kind, r.err))


def case_list_absent_disk(b):
    b.map_disks({0: b.image("plain"), 2: os.path.join(b.work, "gone.img")})
    runs = {
        "not in the map": b.run("mtldrinst", "-l", "(hd1)"),
        "map names a missing file": b.run("mtldrinst", "-l", "(hd2)"),
        "no map at all": b.run("mtldrinst", "-l", "(hd0)", env_map=False),
    }
    os.remove(b.map)
    runs["map file missing"] = b.run("mtldrinst", "-l", "(hd0)")
    for name, r in runs.items():
        check(r.returncode == 1 and r.stdout == b"", "%s: exit %d, stdout %r" % (name, r.returncode, r.stdout))
        check("刷新" in r.err, "%s: stderr %r" % (name, r.err))


def install_and_change_table(b, build, save_flag):
    image = b.image("plain")
    b.map_disks({0: image})
    original = sectors(image, 0)
    r = b.run(build, save_flag + "bk", "(hd0)")
    check(r.returncode == 0 and r.out.rstrip("\n").endswith(INSTALLED), "install: %d %s %s" % (r.returncode, r.out, r.err))
    installed = sectors(image, 0)
    check(installed[3:11] == MAGIC, "sector 0 holds no boot code of ours")
    check(installed[440:] == original[440:], "install changed the table or signature")
    check(sectors(image, 1) == original, "LBA 1 does not hold the previous MBR")
    extra = sectors(image, 2, b.extra_sectors)
    with open(b.bootcode_path, "rb") as f:
        check(extra == f.read()[512:], "extra sectors differ from the boot image")
    with open(os.path.join(b.work, "bk"), "rb") as f:
        check(f.read() == original, "backup file differs from sector 0")
    # The table changes after the install: a uninstall must keep the new one.
    subprocess.run(["sfdisk", "--quiet", "--no-reread", "--no-tell-kernel", "--delete", image, "2"],
                   check=True, capture_output=True)
    return image, original, sectors(image, 0)


def expect_restored(image, original, today):
    now = sectors(image, 0)
    check(now[:440] == original[:440], "boot code not given back byte-exact")
    check(now[440:] == today[440:], "today's table not kept")


def case_round_trip_file(b):
    for build, save, restore in (("mtldrinst", "--save=", "--restore="),
                                 ("grldrinst", "--save-mbr=", "--restore-mbr=")):
        image, original, today = install_and_change_table(b, build, save)
        r = b.run(build, restore + "bk", "(hd0)")
        check(r.returncode == 0 and UNINSTALLED in r.out, "%s restore: %s %s" % (build, r.out, r.err))
        expect_restored(image, original, today)
        os.remove(os.path.join(b.work, "bk"))


def case_round_trip_second_sector(b):
    for build, save in (("mtldrinst", "--save="), ("grldrinst", "--save-mbr=")):
        image, original, today = install_and_change_table(b, build, save)
        r = b.run(build, "--restore-prevmbr", "--pause", "(hd0)")
        check(r.returncode == 0 and UNINSTALLED in r.out, "%s: %s %s" % (build, r.out, r.err))
        expect_restored(image, original, today)
        os.remove(os.path.join(b.work, "bk"))


def case_reinstall_keeps_true_previous_mbr(b):
    image = b.image("extended")
    b.map_disks({0: image})
    original = sectors(image, 0)
    listing = b.run("mtldrinst", "-l", "(hd0)").out
    # A reinstall told not to back up writes nothing to LBA 1, and the backup there stays usable.
    for flags in ([], ["--boot-prevmbr-first", "--time-out=0"], ["--no-backup-mbr"],
                  ["--mbr-disable-floppy"]):
        r = b.run("grldrinst", *flags, "(hd0)")
        check(r.returncode == 0, "reinstall %r: %s" % (flags, r.err))
        check(sectors(image, 1) == original, "LBA 1 lost the previous MBR after %r" % flags)
    check(b.run("mtldrinst", "-l", "(hd0)").out == listing, "listing changed by the installs")
    r = b.run("mtldrinst", "--restore-prevmbr", "(hd0)")
    check(r.returncode == 0, r.err)
    check(sectors(image, 0) == original, "restore did not give back the original sector 0")


def case_boot_settings_reach_the_code(b):
    image = b.image("plain")
    b.map_disks({0: image})
    r = b.run("mtldrinst", "--no-backup-mbr", "--mbr-disable-floppy", "--mbr-disable-osbr",
              "--boot-prevmbr-first", "--time-out=200", "(hd0)")
    check(r.returncode == 0, r.err)
    s = sectors(image, 0)
    check(s[12] == 0x07 and s[13] == 200 and s[14] == b.extra_sectors, "config bytes %r" % s[11:15])
    check(s[15:26] == b"MTLDR      ", "loader name %r" % s[15:26])
    check(sectors(image, 1) == bytes(512), "LBA 1 written despite --no-backup-mbr")


def case_read_only_writes_nothing(b):
    image = b.image("plain")
    b.map_disks({0: image})
    before = digest(image)
    r = b.run("mtldrinst", "--save=bk", "--read-only", "--pause", "(hd0)")
    check(r.returncode == 0 and "将把现在的MBR保存到文件 bk" in r.out and INSTALLED not in r.out, r.out)
    check(digest(image) == before and not os.path.exists(os.path.join(b.work, "bk")), "read-only wrote")
    check(b.run("mtldrinst", "(hd0)").returncode == 0, "install")
    installed = digest(image)
    r = b.run("grldrinst", "--restore-prevmbr", "--read-only", "(hd0)")
    check(r.returncode == 0 and "将把原来的启动代码写回第一扇区" in r.out, r.out + r.err)
    check(digest(image) == installed, "read-only uninstall wrote")


def refusal_cases(b):
    plain = lambda: b.image("plain")

    def gap_too_small():
        image = os.path.join(b.work, "gap.img")
        subprocess.run(["truncate", "-s", "8M", image], check=True)
        table = "label: dos\nstart=%d, size=1000, type=83\n" % (b.extra_sectors + 1)
        subprocess.run(["sfdisk", "--quiet", "--no-reread", "--no-tell-kernel", image],
                       input=table.encode(), check=True, capture_output=True)
        return image

    def gap_in_use():
        image = plain()
        with open(image, "r+b") as f:
            f.seek(3 * 512)
            f.write(b"other loader" * 10)
        return image

    def restore_file(content):
        with open(os.path.join(b.work, "rf"), "wb") as f:
            f.write(content)
        return plain()

    def superfloppy():
        restore_file(sectors(b.image("plain", "src"), 0))
        return b.image("superfloppy")

    def installed_without_backup():
        image = plain()
        b.map_disks({0: image})
        check(b.run("mtldrinst", "--no-backup-mbr", "(hd0)").returncode == 0, "setup install")
        return image

    os.makedirs(os.path.join(b.work, "folder"), exist_ok=True)
    return [
        ("GPT", lambda: b.image("gpt"), ["(hd0)"], "GPT"),
        ("no signature", lambda: b.image("nosig"), ["(hd0)"], "55AA"),
        ("all zeros", lambda: b.image("zeros"), ["(hd0)"], "55AA"),
        ("gap too small", gap_too_small, ["(hd0)"], "空间不够"),
        ("gap in use", gap_in_use, ["(hd0)"], "第 3 扇区"),
        ("backup in a missing folder", plain, ["--save=nofolder/bk", "(hd0)"], "无法写入备份文件"),
        ("backup name is a folder", plain, ["--save=folder", "(hd0)"], "文件夹"),
        ("restore from LBA 1 without our code", plain, ["--restore-prevmbr", "(hd0)"], "不是本程序"),
        ("restore from LBA 1 not saved", installed_without_backup, ["--restore-prevmbr", "(hd0)"], "没有把原来的MBR备份"),
        ("restore file missing", plain, ["--restore=absent", "(hd0)"], "无法读取恢复文件"),
        ("restore file too short", lambda: restore_file(bytes(100)), ["--restore=rf", "(hd0)"], "不足"),
        ("restore file unsigned", lambda: restore_file(bytes(512)), ["--restore=rf", "(hd0)"], "55AA"),
        ("install onto a volume", superfloppy, ["(hd0)"], "文件系统"),
        ("restore onto a volume", superfloppy, ["--restore=rf", "(hd0)"], "文件系统"),
        ("restore onto GPT", lambda: restore_file(sectors(b.image("plain", "src"), 0)) and b.image("gpt"),
         ["--restore=rf", "(hd0)"], "GPT"),
    ]


def case_refusals_leave_image_unchanged(b):
    for name, make, args, says in refusal_cases(b):
        image = make()
        b.map_disks({0: image})
        before = digest(image)
        r = b.run("mtldrinst", *args)
        check(r.returncode == 1, "%s: exit %d" % (name, r.returncode))
        check(says in r.err, "%s: message %r lacks %r" % (name, r.err, says))
        check(digest(image) == before, "%s: image changed" % name)
        check(INSTALLED not in r.out and UNINSTALLED not in r.out, "%s: claims success" % name)


def case_usage_errors(b):
    image = b.image("plain")
    b.map_disks({0: image})
    before = digest(image)
    lines = [
        ("mtldrinst", ["--bogus", "(hd0)"]),
        ("mtldrinst", ["--time-out=abc", "--save=u", "(hd0)"]),
        ("mtldrinst", ["--time-out=300", "--save=u", "(hd0)"]),
        ("mtldrinst", ["--save=u", "hd0"]),
        ("mtldrinst", ["--save=u", "(hd0)", "--pause"]),
        ("mtldrinst", ["--save=u"]),
        ("mtldrinst", []),
        ("mtldrinst", ["--save-mbr=u", "(hd0)"]),
        ("grldrinst", ["--save=u", "(hd0)"]),
        ("grldrinst", ["-l", "(hd0)"]),
        ("grldrinst", ["--save-mbr=u", "(hdA)"]),
    ]
    for build, args in lines:
        r = b.run(build, *args)
        check(r.returncode == 2, "%s %r: exit %d" % (build, args, r.returncode))
        check(r.out.replace("按任意键退出...\n", "") == "" and "用法" in r.err,
              "%s %r: output %r %r" % (build, args, r.out, r.err))
        check(not os.path.exists(os.path.join(b.work, "u")), "%s %r: wrote a file" % (build, args))
    check(digest(image) == before, "a usage error changed the image")


def case_pause_without_console_goes_on(b):
    b.map_disks({0: b.image("plain")})
    r = b.run("mtldrinst", "--read-only", "--pause", "(hd0)")
    check(r.returncode == 0 and r.out.endswith("按任意键退出...\n"), r.out)
    r = b.run("mtldrinst", "--bogus", "--pause", "(hd0)", stdin=None)
    check(r.returncode == 2 and "按任意键退出" in r.out, "usage error did not pause")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tools", required=True)
    parser.add_argument("--bootcode", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("case")
    args = parser.parse_args()
    bench = Bench(args.tools, args.bootcode, args.work)
    bench.bootcode_path = args.bootcode
    try:
        globals()["case_" + args.case](bench)
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        return 1
    print("ok %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
