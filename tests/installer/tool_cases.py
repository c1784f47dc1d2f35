#!/usr/bin/env python3
"""Runs the installer tool's host builds on disk images made by tests/fixtures, each run through
BOOTDECK_DEVICE_MAP.  Usage: tool_cases.py --tools DIR --bootcode BOOTCODE.BIN --work DIR CASE"""
import argparse
import hashlib
import json
import os
import pty
import select
import shutil
import subprocess
import sys

MAKE_IMAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures",
                          "make-disk-image.sh")
INSTALLED = "恭喜您,安装成功!"
UNINSTALLED = "恭喜您,卸载成功!"
UNTOUCHED = "磁盘没有任何改动."
PAUSE = "按任意键退出...\n"
QUESTION = "是否继续? (Y/N)"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def make_image(work, kind, name=None):
    path = os.path.join(work, (name or kind) + ".img")
    subprocess.run([MAKE_IMAGE, kind, path], check=True)
    return path


def sectors(path, lba, count=1):
    with open(path, "rb") as f:
        f.seek(lba * 512)
        return f.read(512 * count)


def stamp(path, lba, data, offset=3):
    """Writes `data` into sector `lba` at `offset`: a volume's signature where it stands."""
    with open(path, "r+b") as f:
        f.seek(lba * 512 + offset)
        f.write(data)


def digest(path):
    with open(path, "rb") as f:
        return hashlib.file_digest(f, "sha256").hexdigest()


def sfdisk_entries(path):
    """(number, type, start, length) as sfdisk reads the DOS table, logical ones from 4, up to
    the first logical start seen before (a cyclic chain)."""
    table = json.loads(subprocess.run(["sfdisk", "-J", path], capture_output=True,
                                      check=True).stdout)["partitiontable"]
    entries, starts = [], set()
    for p in table["partitions"]:
        number = int(p["node"][len(path):]) - 1
        if number >= 4 and p["start"] in starts:
            break
        starts.add(p["start"])
        entries.append((number, int(p["type"], 16), p["start"], p["size"]))
    return entries


def listed_entries(output):
    check(output.endswith("\r\n"), "listing does not end in CR LF: %r" % output[-10:])
    entries = []
    for line in output.split("\r\n")[:-1]:
        if line[:2].strip().isdigit():
            f = line.split()
            e = (int(f[0]), *(int(x, 16) for x in f[1:]))
            check(len(f) == 4 and line == "%2d  %02X    %8X    %8X" % e, "line shape: %r" % line)
            entries.append(e)
    return entries


class Bench:
    def __init__(self, tools, bootcode, work):
        self.tools, self.work = tools, work
        with open(bootcode, "rb") as f:
            self.bootcode = f.read()
        self.extra_sectors = len(self.bootcode) // 512 - 1
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        self.map = os.path.join(work, "device.map")

    def image(self, kind, name=None):
        return make_image(self.work, kind, name)
    def map_disks(self, disks):
        with open(self.map, "w") as f:
            f.writelines("(hd%d) %s\n" % d for d in disks.items())

    def mapped(self, kind):
        image = self.image(kind)
        self.map_disks({0: image})
        return image

    def env(self, env_map=True):
        env = {k: v for k, v in os.environ.items() if k != "BOOTDECK_DEVICE_MAP"}
        if env_map:
            env["BOOTDECK_DEVICE_MAP"] = self.map
        return env

    def run(self, build, *args, env_map=True, stdin=subprocess.DEVNULL):
        env = self.env(env_map)
        r = subprocess.run([os.path.join(self.tools, build), *args], cwd=self.work, env=env,
                           stdin=stdin, capture_output=True, timeout=60)
        r.out, r.err = r.stdout.decode("utf-8"), r.stderr.decode("utf-8")
        return r


    def run_on_terminal(self, build, *args, answer):
        """Runs on a terminal and types `answer` once the question shows: (exit code, output)."""
        master, slave = pty.openpty()
        p = subprocess.Popen([os.path.join(self.tools, build), *args], cwd=self.work,
                             env=self.env(), stdin=slave, stdout=slave, stderr=slave)
        os.close(slave)
        out, answered = b"", False
        try:
            while select.select([master], [], [], 60)[0]:
                try:
                    chunk = os.read(master, 4096)
                except OSError:  # the tool has ended and closed the terminal
                    break
                out += chunk
                if not answered and QUESTION.encode() in out:
                    os.write(master, answer)
                    answered = True
            return p.wait(timeout=60), out.decode("utf-8")
        finally:
            os.close(master)
            if p.poll() is None:
                p.kill()


def case_listing(b):
    for kind in ("plain", "extended", "cyclic", "huge", "small"):
        image = b.mapped(kind)
        r = b.run("mtldrinst", "-l", "(hd0)")
        ours = listed_entries(r.out)
        check(r.returncode == 0 and [e[0] for e in ours[:4]] == [0, 1, 2, 3], "%s: %r" % (kind, r))
        used, expected = [e for e in ours if e[1] != 0], sfdisk_entries(image)
        check(used == expected, "%s: listing %r, sfdisk %r" % (kind, used, expected))
    image = b.mapped("gpt")
    protective = listed_entries(b.run("mtldrinst", "-l", "(hd0)").out)[0]
    check(protective == (0, 0xEE, 1, os.path.getsize(image) // 512 - 1), "GPT: %r" % (protective,))
    # A volume's boot code in the table's place would read as entries of absurd sizes.
    for kind, reason in (("nosig", "55AA"), ("zeros", "55AA"), ("superfloppy", "文件系统")):
        b.mapped(kind)
        r = b.run("mtldrinst", "-l", "(hd0)")
        check(r.returncode == 0 and len(r.stdout) > 10 and listed_entries(r.out) == []
              and reason in r.err, "%s: exit %d, %r %r" % (kind, r.returncode, r.out, r.err))
    b.map_disks({0: b.image("plain"), 2: os.path.join(b.work, "gone.img")})
    runs = {"not in the map": b.run("mtldrinst", "-l", "(hd1)"),
            "map names a missing file": b.run("mtldrinst", "-l", "(hd2)"),
            "no map at all": b.run("mtldrinst", "-l", "(hd0)", env_map=False)}
    os.remove(b.map)
    runs["map file missing"] = b.run("mtldrinst", "-l", "(hd0)")
    for name, r in runs.items():
        check(r.returncode == 1 and r.stdout == b"" and "刷新" in r.err, "%s: %r" % (name, r))


def case_round_trips(b):
    for build, save, restore in (("mtldrinst", "--save=", "--restore=bk"),
                                 ("grldrinst", "--save-mbr=", "--restore-mbr=bk"),
                                 ("mtldrinst", "--save=", "--restore-prevmbr"),
                                 ("grldrinst", "--save-mbr=", "--restore-prevmbr")):
        image = b.mapped("plain")
        original = sectors(image, 0)
        r = b.run(build, save + "bk", "(hd0)")
        check(r.returncode == 0 and r.out.rstrip("\n").endswith(INSTALLED), "install: %r" % r)
        check(r.out.split("\n")[1] == "磁盘 (hd0) 是映像文件 %s,大小 16 MB." % image, r.out)
        installed = sectors(image, 0)
        check(installed[3:11] == b"BDECKMBR" and installed[440:] == original[440:], "sector 0")
        check(sectors(image, 1) == original, "LBA 1 does not hold the previous MBR")
        check(sectors(image, 2, b.extra_sectors) == b.bootcode[512:], "extra sectors differ")
        with open(os.path.join(b.work, "bk"), "rb") as f:
            check(f.read() == original, "backup file differs from sector 0")
        # The table changes after the install: the uninstall must keep the new one.
        subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", "--delete", image,
                        "2"], check=True, capture_output=True)
        today = sectors(image, 0)
        r = b.run(build, restore, "--pause", "(hd0)")
        check(r.returncode == 0 and UNINSTALLED in r.out, "%s %s: %r" % (build, restore, r))
        check(sectors(image, 0) == original[:440] + today[440:], "%s %s" % (build, restore))
        os.remove(os.path.join(b.work, "bk"))


def case_reinstall_and_settings(b):
    image = b.mapped("extended")
    original = sectors(image, 0)
    listing = b.run("mtldrinst", "-l", "(hd0)").out
    # A reinstall never backs up our own code: LBA 1 keeps the true previous MBR.
    for flags in ([], ["--boot-prevmbr-first", "--time-out=0"], ["--no-backup-mbr"]):
        check(b.run("grldrinst", *flags, "(hd0)").returncode == 0, "reinstall %r" % flags)
        check(sectors(image, 1) == original, "LBA 1 lost the previous MBR after %r" % flags)
    check(b.run("mtldrinst", "-l", "(hd0)").out == listing, "listing changed by the installs")
    check(b.run("mtldrinst", "--restore-prevmbr", "(hd0)").returncode == 0, "restore")
    check(sectors(image, 0) == original, "restore did not give back the original sector 0")
    image = b.mapped("plain")
    r = b.run("mtldrinst", "--no-backup-mbr", "--mbr-disable-floppy", "--mbr-disable-osbr",
              "--boot-prevmbr-first", "--time-out=200", "(hd0)")
    s = sectors(image, 0)
    check(r.returncode == 0 and s[12:15] == bytes((7, 200, b.extra_sectors)), "config %r" % s[11:15])
    check(s[15:26] == b"MTLDR      ", "loader name %r" % s[15:26])
    check(sectors(image, 1) == bytes(512), "LBA 1 written despite --no-backup-mbr")


def case_read_only_and_pause(b):
    image = b.mapped("plain")
    before = digest(image)
    r = b.run("mtldrinst", "--save=bk", "--read-only", "--pause", "(hd0)")
    check(r.returncode == 0 and "将把现在的MBR保存到文件 bk" in r.out and INSTALLED not in r.out
          and r.out.endswith(PAUSE), r.out)
    check(digest(image) == before and not os.path.exists(os.path.join(b.work, "bk")), "wrote")
    check(b.run("mtldrinst", "(hd0)").returncode == 0, "install")
    installed = digest(image)
    r = b.run("grldrinst", "--restore-prevmbr", "--read-only", "(hd0)")
    check(r.returncode == 0 and "将把原来的启动代码写回第一扇区" in r.out, r.out + r.err)
    check(digest(image) == installed, "read-only uninstall wrote")


def case_refusals(b):
    def gap_too_small():
        image = os.path.join(b.work, "gap.img")
        subprocess.run(["truncate", "-s", "8M", image], check=True)
        table = "label: dos\nstart=%d, size=1000, type=83\n" % (b.extra_sectors + 1)
        subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", image],
                       input=table.encode(), check=True, capture_output=True)
        return image

    def gap_in_use():
        image = b.image("plain")
        with open(image, "r+b") as f:
            f.seek(3 * 512)
            f.write(b"other loader" * 10)
        return image

    def restore_file(content, kind="plain"):
        with open(os.path.join(b.work, "rf"), "wb") as f:
            f.write(content)
        return b.image(kind)

    def installed_without_backup():
        image = b.mapped("plain")
        check(b.run("mtldrinst", "--no-backup-mbr", "(hd0)").returncode == 0, "setup install")
        return image

    mbr = lambda: sectors(b.image("plain", "src"), 0)
    os.makedirs(os.path.join(b.work, "folder"), exist_ok=True)
    cases = [
        ("GPT", lambda: b.image("gpt"), [], "GPT"),
        ("no signature", lambda: b.image("nosig"), [], "55AA"),
        ("all zeros", lambda: b.image("zeros"), [], "55AA"),
        ("gap too small", gap_too_small, [], "空间不够"),
        ("gap in use", gap_in_use, [], "第 3 扇区"),
        ("backup in a missing folder", lambda: b.image("plain"), ["--save=nofolder/bk"], "无法写入备份文件"),
        ("backup name is a folder", lambda: b.image("plain"), ["--save=folder"], "文件夹"),
        ("LBA 1 without our code", lambda: b.image("plain"), ["--restore-prevmbr"], "不是本程序"),
        ("LBA 1 not saved", installed_without_backup, ["--restore-prevmbr"], "没有把原来的MBR备份"),
        ("restore file missing", lambda: b.image("plain"), ["--restore=absent"], "无法读取恢复文件"),
        ("restore file too short", lambda: restore_file(bytes(100)), ["--restore=rf"], "不足"),
        ("restore file unsigned", lambda: restore_file(bytes(512)), ["--restore=rf"], "55AA"),
        ("install onto a volume", lambda: b.image("superfloppy"), [], "文件系统"),
        ("restore onto a volume", lambda: restore_file(mbr(), "superfloppy"), ["--restore=rf"], "文件系统"),
        ("restore onto GPT", lambda: restore_file(mbr(), "gpt"), ["--restore=rf"], "GPT"),
    ]
    for name, make, args, says in cases:
        image = make()
        b.map_disks({0: image})
        before = digest(image)
        r = b.run("mtldrinst", *args, "(hd0)")
        check(r.returncode == 1 and says in r.err, "%s: exit %d, %r" % (name, r.returncode, r.err))
        check(digest(image) == before, "%s: image changed" % name)
        check(INSTALLED not in r.out and UNINSTALLED not in r.out, "%s: claims success" % name)


def case_bitlocker(b):
    for where, lba in (("primary", 2048), ("logical", 14336)):
        image = b.mapped("extended")
        stamp(image, lba, b"-FVE-FS-")
        original, volume = sectors(image, 0), sectors(image, lba)
        folder = sorted(os.listdir(b.work))

        def refused(name, r, untouched):
            code, out = r if isinstance(r, tuple) else (r.returncode, r.out + r.err)
            check(code == 1 and UNTOUCHED in out and INSTALLED not in out
                  and UNINSTALLED not in out, "%s, %s: exit %d, %r" % (where, name, code, out))
            check(digest(image) == untouched and sorted(os.listdir(b.work)) == folder,
                  "%s, %s: image or folder changed" % (where, name))

        before = digest(image)
        r = b.run("mtldrinst", "--save=bk", "(hd0)")
        check("--bitlocker-ok" in r.err, "%s: %r" % (where, r.err))
        refused("install without a console", r, before)
        refused("install answered N", b.run_on_terminal("mtldrinst", "--save=bk", "(hd0)",
                                                        answer=b"N"), before)
        r = b.run("grldrinst", "--save-mbr=bk", "--bitlocker-ok", "(hd0)")
        check(r.returncode == 0 and INSTALLED in r.out and QUESTION not in r.out, r.out + r.err)
        check(sectors(image, 0)[440:] == original[440:] and sectors(image, lba) == volume,
              "%s: table or volume changed" % where)
        os.remove(os.path.join(b.work, "bk"))
        installed = digest(image)
        refused("uninstall without a console",
                b.run("grldrinst", "--restore-prevmbr", "--save-mbr=bk", "(hd0)"), installed)
        code, out = b.run_on_terminal("grldrinst", "--restore-prevmbr", "(hd0)", answer=b"Y")
        check(code == 0 and QUESTION + " Y" in out and UNINSTALLED in out, "%s: %r" % (where, out))
        check(sectors(image, 0) == original, "%s: uninstall did not restore" % where)
    # Only the exact signature at its place is BitLocker's.
    for signature, offset in ((b"-FVE-FS_", 3), (b"_FVE-FS-", 3), (b"-FVE-FS-", 4)):
        image = b.mapped("extended")
        stamp(image, 14336, signature, offset)
        r = b.run("mtldrinst", "(hd0)")
        check(r.returncode == 0 and "BitLocker" not in r.out, "%r at %d: %r" % (signature, offset, r))


def case_usage_errors(b):
    image = b.mapped("plain")
    before = digest(image)
    for build, *args in (("mtldrinst", "--bogus", "(hd0)"),
                         ("mtldrinst", "--time-out=abc", "--save=u", "(hd0)"),
                         ("mtldrinst", "--time-out=300", "--save=u", "(hd0)"),
                         ("mtldrinst", "--save=u", "hd0"), ("mtldrinst", "--save=u"),
                         ("mtldrinst", "--save=u", "(hd0)", "--pause"), ("mtldrinst",),
                         ("mtldrinst", "--save-mbr=u", "(hd0)"), ("grldrinst", "--save=u", "(hd0)"),
                         ("grldrinst", "-l", "(hd0)"), ("grldrinst", "--save-mbr=u", "(hdA)")):
        r = b.run(build, *args)
        check(r.returncode == 2 and r.out.replace(PAUSE, "") == "" and "用法" in r.err,
              "%s %r: %r" % (build, args, r))
        check(not os.path.exists(os.path.join(b.work, "u")), "%s %r: wrote a file" % (build, args))
    check(digest(image) == before, "a usage error changed the image")
    # Without a console the pause reads end of input and goes on.
    r = b.run("mtldrinst", "--bogus", "--pause", "(hd0)", stdin=None)
    check(r.returncode == 2 and PAUSE in r.out, "usage error did not pause")


def main(bench_class, bench_args, cases=globals()):
    parser = argparse.ArgumentParser()
    for name in bench_args + ["work"]:
        parser.add_argument("--" + name, required=True)
    parser.add_argument("case")
    args = parser.parse_args()
    try:
        cases["case_" + args.case](bench_class(*(getattr(args, n) for n in bench_args + ["work"])))
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        return 1
    print("ok %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main(Bench, ["tools", "bootcode"]))
