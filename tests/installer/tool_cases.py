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
from disk_images import KINDS, SECTOR, blank, partitioned, run, sector  # noqa: E402

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

    def cmd(self, line, **popen):
        """Starts `cmd /c line` under Wine in the application folder."""
        return subprocess.Popen([os.path.join(self.repo, "tools", "wine-run.sh"), "cmd", "/c", line],
                                cwd=self.folder, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=dict(os.environ, BOOTDECK_DEVICE_MAP=windows_path(self.map)),
                                **popen)


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
    for signature, offset in ((b"-FVE-FS_", 3), (b"_FVE-FS-", 3), (b"-FVE-FS-", 4)):
        sector(b.image("extended"), 14336, signature, offset)
        r = b.run("mtldrinst", "(hd0)")
        assert r.returncode == 0 and "BitLocker" not in r.out, "%r at %d: %r" % (signature, offset, r)


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
