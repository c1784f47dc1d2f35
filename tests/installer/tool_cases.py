#!/usr/bin/env python3
"""The installer tool's real builds on disk images, each run through BOOTDECK_DEVICE_MAP: the host
builds, or in case `windows` the Windows builds under Wine through cmd.exe, from an application
folder as bootdeck runs them.
Usage: tool_cases.py --tools DIR --bootcode BIN --work DIR [--repo DIR --opener EXE] CASE"""
import argparse
import contextlib
import decimal
import hashlib
import json
import os
import pty
import select
import shutil
import struct
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from disk_images import KINDS, SECTOR, blank, fat, partitioned, run, sector  # noqa: E402

INSTALLED, UNINSTALLED, UNTOUCHED = "恭喜您,安装成功!", "恭喜您,卸载成功!", "磁盘没有任何改动."
PAUSE, QUESTION = "按任意键退出...\n", "是否继续?按 Y 继续,按其他任意键取消."


def digest(path):
    with open(path, "rb") as f:
        return hashlib.file_digest(f, "sha256").hexdigest()


def sfdisk_entries(path):
    """(number, type, start, length) as sfdisk reads a DOS table, logical ones from 4, up to the
    first logical start seen before (a cyclic chain)."""
    entries = []
    for p in json.loads(run("sfdisk", "-J", path))["partitiontable"]["partitions"]:
        if p["start"] in [e[2] for e in entries if e[0] >= 4]:
            break
        entries.append((int(p["node"][len(path):]) - 1, int(p["type"], 16), p["start"], p["size"]))
    return entries


def listed(output):
    """The used entries that a listing shows, each line checked for its exact shape."""
    assert output.endswith("\r\n"), "listing does not end in CR LF: %r" % output[-10:]
    entries = []
    for line in output.split("\r\n")[1:-1]:
        e = (int(line.split()[0]), *(int(x, 16) for x in line.split()[1:]))
        assert line == "%2d  %02X    %8X    %8X" % e, "line shape: %r" % line
        entries += [e] if e[1] else []
    return entries


def deep_chain(path):
    """300 logical partitions, each in its own extended boot record."""
    blank(path, 4 << 20)
    sector(path, 0, struct.pack("<4xB3xII48x2B", 5, 2048, 4096, 0x55, 0xAA), 446)
    for i in range(300):
        sector(path, 2048 + 2 * i,
               struct.pack("<4xB3xII4xB3xII32x2B", 0x83, 1, 1, 5, 2 * i + 2, 2, 0x55, 0xAA), 446)


def identity(path, image, disk=0):
    """The report's line on the disk: what it is, and bootdeck's list item for it, whose size is
    the sum of the primary entries in MB below 512 MB, else in GB, four decimals half to even."""
    sectors = sum(e[3] for e in sfdisk_entries(image) if e[0] < 4)
    size = decimal.Decimal(sectors) / (2048 if sectors < 1 << 20 else 1 << 21)
    size = size.quantize(decimal.Decimal("0.0001"), decimal.ROUND_HALF_EVEN).normalize()
    return "磁盘 (hd%d) 是映像文件 %s,大小 %d MB;在 bootdeck 的列表中是 \"第%d块介质 : %s %s\" " \
        "(列表中的大小是各分区大小之和)." % (disk, path, os.path.getsize(image) >> 20, disk + 1,
                                      format(size, "f"), "MB" if sectors < 1 << 20 else "GB")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Bench:
    """A fresh work folder with the device map; for Windows builds, the application folder."""

    def __init__(self, args):
        self.tools, self.work, self.repo, self.opener = args.tools, args.work, args.repo, args.opener
        self.extra = os.path.getsize(args.bootcode) // SECTOR - 1  # boot code sectors after LBA 1
        shutil.rmtree(self.work, ignore_errors=True)
        self.folder, self.map = os.path.join(self.work, "app"), os.path.join(self.work, "device.map")
        os.makedirs(self.folder)
        for build in ("grldrinst.exe", "mtldrinst.exe") if self.repo else ():
            shutil.copy(os.path.join(self.tools, build), self.folder)

    def image(self, kind, disk=0):
        """A new image of `kind` (a name in KINDS, or a function that makes it), mapped alone."""
        path = os.path.join(self.work, "%s.img" % (kind if isinstance(kind, str) else "made"))
        KINDS.get(kind, kind)(path)
        self.map_disks({disk: path})
        return path

    def map_disks(self, disks):
        with open(self.map, "w", newline="") as f:
            f.writelines("(hd%d) %s\r\n" % (n, windows_path(p)) if self.repo else
                         "(hd%d) %s\n" % (n, p) for n, p in disks.items())

    def env(self, mapped=True):
        env = {k: v for k, v in os.environ.items() if k != "BOOTDECK_DEVICE_MAP"}
        return dict(env, BOOTDECK_DEVICE_MAP=self.map) if mapped else env

    def run(self, build, *args, mapped=True):
        r = subprocess.run([os.path.join(self.tools, build), *args], cwd=self.work, timeout=60,
                           env=self.env(mapped), stdin=subprocess.DEVNULL, capture_output=True)
        r.out, r.err = r.stdout.decode("utf-8"), r.stderr.decode("utf-8")
        return r

    def on_terminal(self, build, *args, answer):
        """Runs on a terminal, typing `answer` once the question shows: (exit code, output)."""
        master, slave = pty.openpty()
        p = subprocess.Popen([os.path.join(self.tools, build), *args], cwd=self.work,
                             env=self.env(), stdin=slave, stdout=slave, stderr=slave)
        os.close(slave)
        out = b""
        try:
            while select.select([master], [], [], 60)[0]:
                try:
                    out += os.read(master, 4096)
                except OSError:  # the tool has ended and closed the terminal
                    break
                if answer and QUESTION.encode() in out:
                    os.write(master, answer)
                    answer = None
            return p.wait(timeout=60), out.decode("utf-8")
        finally:
            os.close(master)
            p.kill()

    def cmd(self, line, mapped=True, **popen):
        """Starts `cmd /c line` under Wine in the application folder."""
        env = self.env(mapped=False)
        if mapped:
            env["BOOTDECK_DEVICE_MAP"] = windows_path(self.map)
        return subprocess.Popen([os.path.join(self.repo, "tools", "wine-run.sh"), "cmd", "/c", line],
                                cwd=self.folder, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=env, **popen)

    def tool(self, build, *args, mapped=True):
        """Runs a Windows build through cmd with no console to ask on: (exit code, output)."""
        p = self.cmd(" ".join([windows_path(self.folder) + "\\" + build + ".exe", *args]),
                     mapped=mapped, stdin=subprocess.DEVNULL)
        out, err = p.communicate(timeout=120)
        return p.returncode, (out + err).decode("utf-8", "replace")


def case_listing(b):
    for kind in ("plain", "extended", "cyclic", "huge", "small", "gpt", deep_chain):
        image = b.image(kind)
        r = b.run("mtldrinst", "-l", "(hd0)")
        ours = listed(r.out)
        expected = ([(0, 0xEE, 1, os.path.getsize(image) // SECTOR - 1)] if kind == "gpt" else
                    [(0, 5, 2048, 4096)] + [(4 + i, 0x83, 2049 + 2 * i, 1) for i in range(len(ours) - 1)]
                    if kind == deep_chain and len(ours) < 300 else sfdisk_entries(image))
        assert r.returncode == 0 and ours == expected, "%s: %r, expected %r" % (kind, r.out, expected)
    # A disk the map does not name exactly does not exist: no name without a blank, no cut path.
    image = b.image("plain", 127)
    with open(b.map, "a") as f:
        f.write("(hd1)%s\n(hd2) %s/gone.img\n(hd3) /%s\n" % (image, b.work, "x" * 1100))
    assert listed(b.run("mtldrinst", "-l", "(hd127)").out) == sfdisk_entries(image), "(hd127)"
    runs = [b.run("mtldrinst", "-l", "(hd%d)" % n) for n in (1, 2, 3)]
    runs.append(b.run("mtldrinst", "-l", "(hd127)", mapped=False))
    os.remove(b.map)
    for r in runs + [b.run("mtldrinst", "-l", "(hd127)")]:
        assert r.returncode == 1 and r.stdout == b"" and "刷新" in r.err, "absent disk: %r" % r


def case_install_and_restore(b):
    backup = os.path.join(b.work, "bk")
    for build, save, restore in (("mtldrinst", "--save=bk", "--restore=bk"),
                                 ("grldrinst", "--save-mbr=bk", "--restore-prevmbr")):
        image = b.image("plain")
        original, before = sector(image, 0), digest(image)
        r = b.run(build, save, "--read-only", "--pause", "(hd0)")
        assert (r.returncode == 0 and "将把现在的 MBR 保存到文件 bk" in r.out and r.out.endswith(PAUSE)
                and digest(image) == before and not os.path.exists(backup)), "test mode: %r" % r
        r = b.run(build, save, "(hd0)")
        assert (r.returncode == 0 and r.out.endswith(INSTALLED + "\n")
                and "备份文件:%s\n" % backup in r.out and "填入 bk," in r.out), "install: %r" % r
        assert r.out.split("\n")[1] == identity(image, image), r.out
        installed, after_install = sector(image, 0), digest(image)
        with open(backup, "rb") as f:
            assert (installed[3:11] == b"BDECKMBR" and installed[440:] == original[440:]
                    and sector(image, 1) == original == f.read()), "sector 0, LBA 1 or backup file"
        # A reinstall, over an earlier layout too, never backs up our own code: not to the file
        # that holds the original MBR (a same-day reinstall), nor to any other.
        for name in ("bk", "bk2"):
            r = b.run(build, save[:-2] + name, "(hd0)")
            assert (r.returncode == 1 and "清空" in r.err and digest(image) == after_install
                    and not os.path.exists(backup + "2")), "reinstall with a file: %r" % r
        sector(image, 0, b"\1", 11)
        r = b.run(build, "--time-out=0", "(hd0)")
        assert r.returncode == 0 and sector(image, 1) == original, "reinstall: %r" % r
        installed = digest(image)
        r = b.run(build, restore, "--read-only", "(hd0)")
        assert (r.returncode == 0 and "将把原来的启动代码写回第一扇区" in r.out
                and digest(image) == installed), "test mode: %r" % r
        # The table changes after the install: the uninstall keeps today's.
        run("sfdisk", "-q", "--no-reread", "--no-tell-kernel", "--delete", image, "2")
        today = sector(image, 0)
        r = b.run(build, restore, "--pause", "(hd0)")
        assert (r.returncode == 0 and UNINSTALLED in r.out
                and sector(image, 0) == original[:440] + today[440:]), "%s: %r" % (restore, r)
        os.remove(backup)


def case_refusals(b):
    def gap(first):  # the first partition, in the last entry, at `first`; before it one unused
        return lambda p: (partitioned(p, 8 << 20, "label: dos\n%s4 : start=%d, size=9" % (p, first)),
                          sector(p, 0, b"\x83\0\0\0\x3f", 466))

    def installed_without_backup(path):
        KINDS["plain"](path)
        b.map_disks({0: path})
        assert b.run("mtldrinst", "--no-backup-mbr", "(hd0)").returncode == 0, "install"

    def file(content):
        with open(os.path.join(b.work, "f"), "wb") as f:
            f.write(content)

    cases = [  # the image, a change to it, arguments, exit code, what is said
        ("gpt", None, [], 1, "GPT"),
        ("plain", lambda p: sector(p, 0, b"\xee", 466), ["--restore=f"], 1, "GPT"),
        ("nosig", None, [], 1, "55AA"),
        ("superfloppy", None, [], 1, "文件系统"),
        (gap(b.extra + 1), None, [], 1, "空间不够"),
        (gap(b.extra + 2), None, [], 0, INSTALLED),
        ("plain", lambda p: sector(p, 3, b"other loader"), [], 1, "之前的 3 号扇区"),
        ("plain", lambda p: sector(p, 1, b"other loader"), [], 1, "第二扇区已被"),
        ("plain", lambda p: file(b"other"), ["--save=f"], 1, "已经存在"),
        ("plain", None, ["--save=nofolder/bk"], 1, "无法写入备份文件"),
        ("plain", lambda p: file(bytes(SECTOR)), ["--restore=f"], 1, "f 不是有效"),
        ("plain", None, ["--restore-prevmbr"], 1, "不是本程序"),
        (installed_without_backup, None, ["--restore-prevmbr"], 1, "没有把原来"),
        ("plain", None, ["--restore-prevmbr", "--time-out=3"], 2, "用法"),
        ("plain", None, ["--time-out=256", "--pause"], 2, "0 到 255"),
    ]
    for n, (kind, change, args, code, says) in enumerate(cases):
        image = b.image(kind)
        (change or (lambda p: None))(image)
        before = digest(image)
        r = b.run("mtldrinst", *args, "(hd0)")
        assert r.returncode == code and says in r.out + r.err, "%d: %d %r" % (n, r.returncode, r.err)
        assert code != 1 or r.err.endswith("没有完成." + UNTOUCHED + "\n"), "%d: outcome" % n
        assert code == 0 or digest(image) == before and "恭喜" not in r.out, "%d: image changed" % n


def case_bitlocker(b):
    for where, lba in (("primary", 2048), ("logical", 14336)):
        image = b.image("extended")
        sector(image, lba, b"-FVE-FS-", 3)
        original, volume, folder = sector(image, 0), sector(image, lba), sorted(os.listdir(b.work))

        def refused(name, code, out, untouched):
            assert (code == 1 and UNTOUCHED in out and "恭喜" not in out and digest(image) == untouched
                    and sorted(os.listdir(b.work)) == folder), "%s, %s: %d %r" % (where, name, code, out)

        before = digest(image)
        r = b.run("mtldrinst", "--save=bk", "(hd0)")
        refused("install, no console", r.returncode, r.out + r.err, before)
        assert "--bitlocker-ok" in r.err, "%s: %r" % (where, r.err)
        refused("install, N", *b.on_terminal("mtldrinst", "--save=bk", "(hd0)", answer=b"N"), before)
        code, out = b.on_terminal("mtldrinst", "--read-only", "(hd0)", answer=b"N")
        assert code == 0 and "BitLocker" in out and QUESTION not in out, "test mode: %r" % out
        r = b.run("grldrinst", "--save-mbr=bk", "--bitlocker-ok", "(hd0)")
        assert (r.returncode == 0 and INSTALLED in r.out and QUESTION not in r.out
                and sector(image, 0)[440:] == original[440:]
                and sector(image, lba) == volume), "%s: %r" % (where, r)
        os.remove(os.path.join(b.work, "bk"))
        installed = digest(image)
        r = b.run("grldrinst", "--restore-prevmbr", "--save-mbr=bk", "(hd0)")
        refused("uninstall, no console", r.returncode, r.out + r.err, installed)
        code, out = b.on_terminal("grldrinst", "--restore-prevmbr", "(hd0)", answer=b"Y")
        assert (code == 0 and QUESTION + " Y" in out and UNINSTALLED in out
                and sector(image, 0) == original), "%s: %r" % (where, out)
    # Only the exact signature at its place is BitLocker's.
    # On another disk it counts when the target is (hd0), the disk the BIOS starts, and only then.
    other, target = b.image("extended"), os.path.join(b.work, "plain.img")
    sector(other, 14336, b"-FVE-FS-", 3)
    KINDS["plain"](target)
    b.map_disks({0: target, 7: other})
    before = digest(target)
    r = b.run("mtldrinst", "(hd0)")
    assert (r.returncode == 1 and UNTOUCHED in r.err and digest(target) == before
            and "磁盘 (hd7) 上有用 BitLocker 加密的分区: 逻辑分区 " in r.out), "(hd7): %r" % r
    b.map_disks({1: target, 7: other})
    r = b.run("mtldrinst", "(hd1)")
    assert r.returncode == 0 and "BitLocker" not in r.out, "(hd7), install on (hd1): %r" % r
    for signature, offset in ((b"-FVE-FS_", 3), (b"_FVE-FS-", 3), (b"-FVE-FS-", 4)):
        sector(b.image("extended"), 14336, signature, offset)
        r = b.run("mtldrinst", "(hd0)")
        assert r.returncode == 0 and "BitLocker" not in r.out, "%r at %d: %r" % (signature, offset, r)


def case_forecast(b):
    """The install report's forecast where the QEMU cases do not reach: a small FAT32 volume, an
    extended chain whose sum passes 2^32, the live FAT's index, the root folder's last sector, a
    broken cluster chain and a disk shorter than its table."""
    path, loader = os.path.join(b.work, "f.img"), bytes(range(256)) * 160

    def volumes(script, *formats):  # formats: (partition number, FAT bits, with the loader)
        parts = partitioned(path, 64 << 20, "label: dos\n" + script)
        for number, bits, with_loader in formats:
            start, size = parts[number]
            fat(path, start, size // 2, bits, start, [("GRLDR", loader)] * with_loader)
        b.map_disks({0: path})
        return [parts[n][0] for n, _, _ in formats]

    def root(start):  # the fixed root folder's first LBA and its entry of the loader
        boot = sector(path, start)
        first = start + struct.unpack_from("<H", boot, 14)[0] + boot[16] * struct.unpack_from("<H", boot, 22)[0]
        folder = sector(path, first)
        at = folder.index(b"GRLDR      ")
        return first, folder[at:at + 32]

    def bpb(offset, value, fmt="<B"):
        return lambda starts: sector(path, starts[0], struct.pack(fmt, value), offset)

    def root_end(starts):  # 4095 sectors of deleted entries, then the loader's
        first, entry = root(starts[0])
        bpb(17, 65535, "<H")(starts)
        sector(path, first, b"\xe5" * (4095 * SECTOR) + entry)

    def chain_cut(starts):
        first, entry = root(starts[0])
        fat_lba = starts[0] + struct.unpack_from("<H", sector(path, starts[0]), 14)[0]
        sector(path, fat_lba, b"\xff\xff", 2 * struct.unpack_from("<H", entry, 26)[0])

    one_fat32 = ("start=2048, size=81920, type=c\n", (1, 32, True))
    one_fat16 = ("start=2048, size=40960, type=e\n", (1, 16, True))
    cases = [  # the table and its volumes, a change, a line of the report (None: the edit skipped)
        # Cut to 30 MiB of 512-byte clusters: FAT32 by its FAT size field, FAT16 by its clusters.
        (one_fat32, bpb(32, 61440, "<I"), "启动时将载入 主分区 1 (FAT32) 根目录中的 GRLDR,大小 40960 字节."),
        # The first logical's start, relative to its record, passes 2^32 to land on LBA 2048.
        (("start=2048, size=40960, type=83\nstart=43008, type=5\nsize=40960, type=e\n"
          "size=40960, type=e\n", (1, 16, True), (5, 16, False), (6, 16, True)),
         lambda s: sector(path, 43008, struct.pack("<I", (1 << 32) + 2048 - 43008), 446 + 8),
         "启动时将载入 逻辑分区 2 (FAT16) 根目录中的 GRLDR"),
        (one_fat32, bpb(40, 0x81), "启动时将载入 主分区 1 (FAT32)"),
        (one_fat32, bpb(40, 0x82), "读不了 主分区 1 (类型 0C,里面不是 FAT 文件系统)."),
        (one_fat16, root_end, "启动时将载入 主分区 1 (FAT16) 根目录中的 GRLDR,大小 40960 字节."),
        (one_fat16, chain_cut, "注意: 主分区 1 (FAT16) 根目录中的 GRLDR 已损坏 (簇链不完整),启动代码跳过它."),
        (one_fat16, lambda s: os.truncate(path, 1 << 20), "注意: 读不出磁盘 (hd0) 的 2048 号扇区,无法断定"),
    ]
    for n, ((script, *formats), change, says) in enumerate(cases):
        starts = volumes(script, *formats)
        (change or (lambda s: None))(starts)
        before = digest(path)
        r = b.run("grldrinst", "--read-only", "(hd0)")
        assert r.returncode == 0 and says in r.out and digest(path) == before, "%d: %r" % (n, r.out)
        assert (says.startswith("启动时将载入") or "启动时将载入" not in r.out), "%d: %r" % (n, r.out)


def tamper(path):
    """Another program's boot code in the backup file at `path`: (its bytes, the file's before)."""
    with open(path, "r+b") as f:
        original = f.read()
        f.seek(0)
        f.write(b"\xeb\xfe")
    return b"\xeb\xfe" + original[2:], original


def says_both_digests(out, forged, original):
    return all(hashlib.sha256(s[:440]).hexdigest() in out for s in (forged, original))


def case_restore_file(b):
    image = b.image("plain")
    assert b.run("mtldrinst", "--save=bk", "(hd0)").returncode == 0, "install"
    forged, original = tamper(os.path.join(b.work, "bk"))
    installed = digest(image)
    r = b.run("mtldrinst", "--restore=bk", "(hd0)")
    assert (r.returncode == 1 and UNTOUCHED in r.err and says_both_digests(r.out, forged, original)
            and digest(image) == installed), "no console: %r" % r
    code, out = b.on_terminal("mtldrinst", "--restore=bk", "(hd0)", answer=b"N")
    assert code == 1 and UNTOUCHED in out and digest(image) == installed, "N: %r" % out
    code, out = b.on_terminal("mtldrinst", "--restore=bk", "(hd0)", answer=b"Y")
    assert (code == 0 and UNINSTALLED in out and sector(image, 0) == forged[:440] + original[440:]
            ), "Y: %r" % out
    # The file as the install wrote it: no question.
    image = b.image("plain")
    original = sector(image, 0)
    os.remove(os.path.join(b.work, "bk"))
    assert b.run("mtldrinst", "--save=bk", "(hd0)").returncode == 0, "install"
    r = b.run("mtldrinst", "--restore=bk", "(hd0)")
    assert r.returncode == 0 and sector(image, 0) == original, "restore: %r" % r
    # Links at the names of the files the tool reads and writes are refused, never followed.
    image = b.image("plain")
    before, target = digest(image), os.path.join(b.work, "elsewhere")
    os.symlink(target, os.path.join(b.work, "dangling"))
    os.symlink("bk", os.path.join(b.work, "symbolic"))
    os.link(os.path.join(b.work, "bk"), os.path.join(b.work, "hard"))
    for args in (["--save=dangling"], ["--restore=symbolic"], ["--restore=hard"]):
        r = b.run("mtldrinst", *args, "(hd0)")
        assert (r.returncode == 1 and "链接" in r.err and digest(image) == before
                and not os.path.exists(target)), "%s: %r" % (args, r)


def case_windows(b):
    image, app = b.image("extended"), windows_path(b.folder)
    sector(image, 14336, b"-FVE-FS-", 3)  # a BitLocker volume as a logical
    original, before = sector(image, 0), digest(image)
    tool = b.cmd(app + "\\grldrinst.exe --save-mbr=x --pause (hd0)", stdin=subprocess.DEVNULL)
    err = tool.communicate(timeout=120)[1].decode("utf-8", "replace")  # no console to ask on
    assert (tool.returncode == 1 and "--bitlocker-ok" in err and digest(image) == before
            and not os.path.exists(b.folder + "/x")), "refused: %d %r" % (tool.returncode, err)
    # The tool waits for its key on an input that stays open, so it waits until this ends it.
    tool = b.cmd(app + "\\grldrinst.exe --save-mbr=2026-12-7-1 --bitlocker-ok --pause (hd0) > "
                 "report.txt", stdin=subprocess.PIPE)
    try:
        report, deadline = "", time.monotonic() + 60
        while not report.endswith(PAUSE) and time.monotonic() < deadline:
            time.sleep(0.1)
            with contextlib.suppress(FileNotFoundError), open(b.folder + "/report.txt", "rb") as f:
                report = f.read().decode("utf-8", "replace")
        assert INSTALLED in report and report.endswith(PAUSE), "report %r" % report
        # While the report is read, the disk is free: another program may have it to itself.
        opener = b.cmd("%s %s" % (windows_path(b.opener), windows_path(image)))
        said = opener.communicate(timeout=60)[0]
        assert opener.returncode == 0, "image held while waiting: %r" % said
    finally:
        tool.stdin.close()
    assert tool.wait(timeout=60) == 0, "install exit code"
    assert report.split("\n")[1] == identity(windows_path(image), image), "identity: %r" % report
    with open(os.path.join(b.folder, "2026-12-7-1"), "rb") as f:
        assert f.read() == original and sector(image, 0)[440:] == original[440:], "backup, table"
    tool = b.cmd(app + "\\mtldrinst.exe --restore-prevmbr --bitlocker-ok --pause (hd0)",
                 stdin=subprocess.DEVNULL)
    out = tool.communicate(timeout=120)[0].decode("utf-8", "replace")
    assert (tool.returncode == 0 and UNINSTALLED in out
            and sector(image, 0) == original), "uninstall: %d %r" % (tool.returncode, out)
    # Without a map, no disk exists under Wine.
    code, out = b.tool("mtldrinst", "-l", "(hd0)", mapped=False)
    assert code == 1 and "找不到这块磁盘" in out, "no map: %d %r" % (code, out)
    # BitLocker on a second disk of the map, the target being (hd0).
    plain = os.path.join(b.work, "plain.img")
    KINDS["plain"](plain)
    b.map_disks({0: plain, 1: image})
    before = digest(plain)
    code, out = b.tool("grldrinst", "--save-mbr=bk", "(hd0)")
    assert (code == 1 and "磁盘 (hd1) 上有用 BitLocker" in out and "--bitlocker-ok" in out
            and digest(plain) == before), "BitLocker on (hd1): %d %r" % (code, out)
    # A restore file changed after the install, and one with a second name.
    b.map_disks({0: plain})
    assert b.tool("grldrinst", "--save-mbr=bk", "(hd0)")[0] == 0, "install"
    installed, (forged, original) = digest(plain), tamper(os.path.join(b.folder, "bk"))
    code, out = b.tool("grldrinst", "--restore-mbr=bk", "(hd0)")
    assert (code == 1 and UNTOUCHED in out and says_both_digests(out, forged, original)
            and digest(plain) == installed), "changed restore file: %d %r" % (code, out)
    with open(os.path.join(b.folder, "bk"), "wb") as f:
        f.write(original)
    os.link(os.path.join(b.folder, "bk"), os.path.join(b.folder, "hard"))
    code, out = b.tool("grldrinst", "--restore-mbr=hard", "(hd0)")
    assert code == 1 and "链接" in out and digest(plain) == installed, "hard link: %d %r" % (code, out)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for name in ("tools", "bootcode", "work", "repo", "opener"):
        parser.add_argument("--" + name)
    parser.add_argument("case")
    args = parser.parse_args()
    try:
        globals()["case_" + args.case](Bench(args))
    except AssertionError as failure:
        sys.exit("FAIL %s: %s" % (args.case, failure))
    print("ok", args.case)
