#!/usr/bin/env python3
"""Runs the Windows builds of the installer tool under Wine, through cmd.exe, as bootdeck does.

Usage: wine_cases.py --tools DIR --repo DIR --work DIR CASE
The tools are copied into a fresh folder first, as bootdeck deploys them; every run goes through
BOOTDECK_DEVICE_MAP (a Windows path) to images made by tests/fixtures.
"""
import argparse
import os
import shutil
import subprocess
import sys

from tool_cases import (INSTALLED, UNINSTALLED, Failure, check, digest, listed_entries,
                        sectors, sfdisk_entries)

MAKE_IMAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures",
                          "make-disk-image.sh")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineBench:
    def __init__(self, tools, repo, work):
        self.repo = repo
        shutil.rmtree(work, ignore_errors=True)
        self.folder = os.path.join(work, "app")
        os.makedirs(self.folder)
        for build in ("grldrinst.exe", "mtldrinst.exe"):
            shutil.copy(os.path.join(tools, build), self.folder)
        self.work = work
        self.map = os.path.join(work, "device.map")

    def image(self, kind):
        path = os.path.join(self.work, kind + ".img")
        subprocess.run([MAKE_IMAGE, kind, path], check=True)
        return path

    def map_disks(self, disks):
        with open(self.map, "w", newline="") as f:
            for number, path in disks.items():
                f.write("(hd%d) %s\r\n" % (number, windows_path(path)))

    def cmd(self, line):
        """Runs `cmd /c line` in the application folder; returns (exit code, output, errors)."""
        env = dict(os.environ, BOOTDECK_DEVICE_MAP=windows_path(self.map))
        result = subprocess.run([os.path.join(self.repo, "tools", "wine-run.sh"), "cmd", "/c", line],
                                cwd=self.folder, env=env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=120)
        return result.returncode, result.stdout, result.stderr

    def tool(self, build):
        return windows_path(self.folder) + "\\" + build

    def probe(self, number):
        """The enumeration's own command line; returns the listing file's bytes."""
        listing = os.path.join(self.folder, "tempch.tmp")
        if os.path.exists(listing):
            os.remove(listing)
        self.cmd("%s -l (hd%d) >  %s" % (self.tool("mtldrinst.EXE"), number,
                                         windows_path(listing)))
        with open(listing, "rb") as f:
            return f.read()


def case_list_as_bootdeck_runs_it(b):
    kinds = ("plain", "extended", "huge", "small")
    images = {n: b.image(k) for n, k in enumerate(kinds)}
    b.map_disks(images)
    for number, image in images.items():
        listing = b.probe(number).decode("ascii")
        used = [e for e in listed_entries(listing) if e[1] != 0]
        expected = sfdisk_entries(image)
        check(used == expected, "(hd%d): listing %r, sfdisk reads %r" % (number, used, expected))
    absent = b.probe(len(kinds))
    check(len(absent) <= 10, "absent disk left %r" % absent)


def case_install_round_trip(b):
    image = b.image("extended")
    b.map_disks({0: image})
    original = sectors(image, 0)
    code, out, err = b.cmd(b.tool("grldrinst.exe") + " --save-mbr=2026-12-7-1 --pause (hd0) > report.txt")
    with open(os.path.join(b.folder, "report.txt"), "rb") as f:
        report = f.read().decode("utf-8")
    check(code == 0 and report.rstrip().endswith("按任意键退出...") and INSTALLED in report,
          "exit %d, report %r, errors %r" % (code, report, err))
    with open(os.path.join(b.folder, "2026-12-7-1"), "rb") as f:
        check(f.read() == original, "backup file in the application folder differs")
    installed = sectors(image, 0)
    check(installed[3:11] == b"BDECKMBR" and installed[440:] == original[440:], "sector 0 after install")
    code, out, err = b.cmd(b.tool("mtldrinst.exe") + " --restore-prevmbr --pause (hd0)")
    check(code == 0 and UNINSTALLED.encode() in out, "uninstall: %d %r %r" % (code, out, err))
    check(sectors(image, 0) == original, "sector 0 not given back")


def case_refusals_and_usage(b):
    gpt = b.image("gpt")
    b.map_disks({0: gpt, 1: os.path.join(b.work, "missing.img")})
    before = digest(gpt)
    runs = [
        ("mtldrinst.exe --save=x (hd0)", 1, "GPT"),
        ("grldrinst.exe --save-mbr=x (hd1)", 1, "找不到这块磁盘"),
        ("grldrinst.exe --save=x (hd0)", 2, "用法"),
        ("mtldrinst.exe --time-out=300 --pause (hd0)", 2, "0到255"),
    ]
    for line, expected, says in runs:
        code, out, err = b.cmd(b.tool(line))
        text = err.decode("utf-8", "replace")
        check(code == expected and says in text, "%s: exit %d, %r" % (line, code, text))
    check(digest(gpt) == before, "a refusal changed the image")
    check(not os.path.exists(os.path.join(b.folder, "x")), "a refusal wrote the backup file")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tools", required=True)
    parser.add_argument("--repo", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("case")
    args = parser.parse_args()
    bench = WineBench(args.tools, args.repo, args.work)
    try:
        globals()["case_" + args.case](bench)
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        return 1
    print("ok %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
