#!/usr/bin/env python3
"""Runs the Windows builds of the installer tool under Wine through cmd.exe, copied into a fresh
application folder as bootdeck deploys them.
Usage: wine_cases.py --tools DIR --opener OPEN_EXCLUSIVE.EXE --repo DIR --work DIR CASE"""
import contextlib
import os
import shutil
import subprocess
import sys
import time

from tool_cases import (INSTALLED, UNINSTALLED, UNTOUCHED, check, digest, listed_entries, main,
                        make_image, sectors, sfdisk_entries, stamp)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineBench:
    def __init__(self, tools, opener, repo, work):
        self.opener, self.repo, self.work = opener, repo, work
        shutil.rmtree(work, ignore_errors=True)
        self.folder = os.path.join(work, "app")
        os.makedirs(self.folder)
        for build in ("grldrinst.exe", "mtldrinst.exe"):
            shutil.copy(os.path.join(tools, build), self.folder)
        self.map = os.path.join(work, "device.map")

    def map_disks(self, disks):
        with open(self.map, "w", newline="") as f:
            f.writelines("(hd%d) %s\r\n" % (n, windows_path(p)) for n, p in disks.items())

    def wine(self, *args, **popen):
        env = dict(os.environ, BOOTDECK_DEVICE_MAP=windows_path(self.map))
        return subprocess.Popen([os.path.join(self.repo, "tools", "wine-run.sh"), *args],
                                cwd=self.folder, env=env, **popen)

    def cmd(self, line):
        """`cmd /c <folder>\\line` in the application folder: (exit code, output, errors)."""
        p = self.wine("cmd", "/c", windows_path(self.folder) + "\\" + line,
                      stdin=subprocess.DEVNULL,
                      stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        out, err = p.communicate(timeout=120)
        return p.returncode, out, err


def case_list_as_bootdeck_runs_it(b):
    images = {n: make_image(b.work, k) for n, k in enumerate(("plain", "extended", "huge", "small"))}
    b.map_disks(images)
    listing = os.path.join(b.folder, "tempch.tmp")
    for number in range(len(images) + 1):
        if os.path.exists(listing):
            os.remove(listing)
        b.cmd("mtldrinst.EXE -l (hd%d) >  %s" % (number, windows_path(listing)))
        with open(listing, "rb") as f:
            text = f.read()
        if number == len(images):
            check(len(text) <= 10, "absent disk left %r" % text)
        else:
            used = [e for e in listed_entries(text.decode("ascii")) if e[1] != 0]
            check(used == sfdisk_entries(images[number]), "(hd%d): %r" % (number, used))


def case_install_round_trip(b):
    image = make_image(b.work, "extended")
    b.map_disks({0: image})
    original = sectors(image, 0)
    # The tool waits for its key on an input that stays open, so it waits until this ends it.
    report_path = os.path.join(b.folder, "report.txt")
    tool = b.wine("cmd", "/c", windows_path(b.folder) + "\\grldrinst.exe --save-mbr=2026-12-7-1 "
                  "--pause (hd0) > report.txt", stdin=subprocess.PIPE)
    try:
        report, deadline = b"", time.monotonic() + 60
        while not report.endswith("按任意键退出...\n".encode()) and time.monotonic() < deadline:
            time.sleep(0.1)
            with contextlib.suppress(FileNotFoundError), open(report_path, "rb") as f:
                report = f.read()
        report = report.decode("utf-8")
        check(INSTALLED in report and report.endswith("按任意键退出...\n"), "report %r" % report)
        # While the report is read, the disk is free: another program may have it to itself.
        opener = b.wine(windows_path(b.opener), windows_path(image), stdout=subprocess.PIPE)
        said = opener.communicate(timeout=60)[0]
        check(opener.returncode == 0, "image held while waiting: %r" % said)
    finally:
        tool.stdin.close()
    code = tool.wait(timeout=60)
    check(code == 0, "exit %d" % code)
    check(report.split("\n")[1] == "磁盘 (hd0) 是映像文件 %s,大小 32 MB." % windows_path(image),
          "identity: %r" % report)
    with open(os.path.join(b.folder, "2026-12-7-1"), "rb") as f:
        check(f.read() == original, "backup file in the application folder differs")
    installed = sectors(image, 0)
    check(installed[3:11] == b"BDECKMBR" and installed[440:] == original[440:], "sector 0")
    code, out, err = b.cmd("mtldrinst.exe --restore-prevmbr --pause (hd0)")
    check(code == 0 and UNINSTALLED.encode() in out, "uninstall: %d %r %r" % (code, out, err))
    check(sectors(image, 0) == original, "sector 0 not given back")


def case_refusals_and_usage(b):
    gpt = make_image(b.work, "gpt")
    b.map_disks({0: gpt, 1: os.path.join(b.work, "missing.img")})
    before = digest(gpt)
    for line, expected, says in (("mtldrinst.exe --save=x (hd0)", 1, "GPT"),
                                 ("grldrinst.exe --save-mbr=x (hd1)", 1, "找不到这块磁盘"),
                                 ("grldrinst.exe --save=x (hd0)", 2, "用法"),
                                 ("mtldrinst.exe --time-out=300 --pause (hd0)", 2, "0到255")):
        code, _, err = b.cmd(line)
        text = err.decode("utf-8", "replace")
        check(code == expected and says in text, "%s: exit %d, %r" % (line, code, text))
    check(digest(gpt) == before, "a refusal changed the image")
    check(not os.path.exists(os.path.join(b.folder, "x")), "a refusal wrote the backup file")


def case_bitlocker(b):
    image = make_image(b.work, "extended")
    stamp(image, 14336, b"-FVE-FS-")
    b.map_disks({0: image})
    original, before = sectors(image, 0), digest(image)
    code, out, err = b.cmd("grldrinst.exe --save-mbr=bk --pause (hd0)")
    text = err.decode("utf-8", "replace")
    check(code == 1 and UNTOUCHED in text and "--bitlocker-ok" in text, "exit %d, %r" % (code, text))
    check(digest(image) == before and not os.path.exists(os.path.join(b.folder, "bk")), "wrote")
    code, out, err = b.cmd("grldrinst.exe --save-mbr=bk --bitlocker-ok (hd0)")
    check(code == 0 and INSTALLED.encode() in out, "exit %d, %r %r" % (code, out, err))
    check(sectors(image, 0)[440:] == original[440:], "partition table changed")


if __name__ == "__main__":
    sys.exit(main(WineBench, ["tools", "opener", "repo"], globals()))
