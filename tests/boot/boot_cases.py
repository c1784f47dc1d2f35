"""Boot tests: our boot code installed through the real tool on disk images, booted in QEMU (TCG,
SeaBIOS). Each case checks what started (a copy of the test loader, the previous MBR, or nothing)
and what the boot code showed, as COM1 has it: with no VGA, SeaBIOS copies the screen there.
Usage: boot_cases.py --list | --case NAME --qemu PATH --tools DIR --programs DIR --work DIR"""
import argparse
import contextlib
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import time
from types import SimpleNamespace

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from disk_images import SECTOR, blank, fat, loop_chain, partitioned, run, sector  # noqa: E402
import forecast  # noqa: E402

DEADLINE = 25.0  # seconds from QEMU's start to the end of a boot
COUNT, FAIL_EXT = 1, 2  # test_starter.asm's INT 13h hook
PROMPT = "Press Space to start {}, any other key to boot the previous MBR ({} s)"


class Options(SimpleNamespace):
    def __getattr__(self, name):
        return None  # not given


def Volume(bits, type, mib=20, files=None, **options):
    """A partition of FAT`bits` (None: none), `files` mapping root-folder names to loader tags.
    Options: folders (made first), logical, filler_kib (a file whose clusters come before the
    loader's), loader_kib (else 40), from_ebr (hidden sectors counted from its EBR, 2048 sectors
    before it, as DOS-era formatters wrote them for logical drives), active (its status 80h)."""
    return Options(bits=bits, type=type, mib=mib, files=files or {}, **options)


def Case(name, tool, volumes, expect, screen="", flags=(), **options):
    """What is installed and booted, and what starts: the loader copy tagged `expect`, "previous"
    or "halt". Options: floppy (files of a FAT12 floppy), floppy_kib (else 1440; a 1.44 MB drive),
    floppy_booted (with a table and our code), key (typed once the prompt shows), time_out (from
    the prompt to the previous MBR), edit (of the installed disk), starter (test_starter.asm's
    settings), reads_bound (hard-disk reads at most what the loader needs), report (lines the
    install report holds; forecast.py checks its forecast against every boot)."""
    return Options(name=name, tool=tool, volumes=volumes, expect=expect, screen=screen,
                   flags=flags, **options)


FAT16 = Volume(16, 0x0E)
CASES = [
    # Primaries before logicals, the hard disk before the floppy. On FAT32, 40 folders fill the
    # root folder's first clusters, so its chain jumps, and 36 MiB of 512-byte clusters put the
    # loader past cluster 65535.
    Case("primaries_first", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "logical"}, logical=True),
          Volume(32, 0x0C, 40, {"GRLDR": "fat32"}, folders=[f"DIR{i:02d}" for i in range(40)],
                 filler_kib=36 << 10, loader_kib=100)], "fat32", floppy={"GRLDR": "floppy"}),
    # A GRLDR is no MTLDR; a loader too big for memory is passed over; the chain is walked past
    # a FAT12 partition and one without FAT. AH=41h announces extended reads that fail: CHS
    # reads do it all.
    Case("logical_by_chs", "mtldrinst",
         [Volume(None, 0x06, 2), Volume(16, 0x0E, files={"GRLDR": "wrong-name"}),
          Volume(32, 0x0B, 40, {"MTLDR": "too-big"}, loader_kib=600),
          Volume(12, 0x01, 4, logical=True), Volume(None, 0x0E, 2, logical=True),
          Volume(16, 0x06, files={"MTLDR": "logical"}, logical=True, from_ebr=True)],
         "logical", starter=dict(hook=COUNT | FAIL_EXT)),
    # The one loader is too big for memory; the search ends at a cycle in the chain and at an
    # empty floppy drive; the previous MBR gets today's table.
    Case("too_big_falls_back", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "big"}, loader_kib=600)] + [Volume(12, 1, 4, logical=True)] * 3,
         "previous", "GRLDR too big for memory, booting the previous MBR",
         edit=lambda d: (loop_chain(d), sector(d, 0, b"\x06", 450))),
    # Other software wrote over the gap sectors, or they are of another layout: the previous MBR
    # starts unless its use is disabled.
    Case("gap_zeroed_falls_back", "grldrinst", [FAT16], "previous",
         "Boot code gap sectors unreadable or overwritten, booting the previous MBR",
         edit=lambda d: sector(d, 3, bytes(SECTOR))),
    Case("gap_of_other_layout_halts", "grldrinst", [FAT16], "halt",
         "Boot code gap sectors unreadable or overwritten. System halted.", ("--mbr-disable-osbr",),
         edit=lambda d: sector(d, 1 + sector(d, 0)[14], b"\1", 503)),
    # A 720 KB disk in a 1.44 MB drive: its own geometry, from its boot sector.
    Case("floppy_720k", "grldrinst", [FAT16], "720k", floppy={"GRLDR": "720k"}, floppy_kib=720),
    # Booted from a floppy (DL = 00h): the gap sectors, the partition and the loader are its own.
    Case("floppy_booted", "grldrinst", [Volume(16, 0x0E, files={"GRLDR": "hard-disk"})],
         "floppy-partition", floppy={"GRLDR": "floppy-partition"}, floppy_booted=True),
    Case("previous_first_other_key", "mtldrinst", [Volume(16, 0x0E, files={"MTLDR": "other"})],
         "previous", PROMPT.format("MTLDR", 9), ("--boot-prevmbr-first", "--time-out=9"), key="a"),
    # The BIOS tick count goes back to 0 at midnight, 2 s into the wait: the wait still lasts.
    Case("time_out_across_midnight", "grldrinst", [Volume(16, 0x0E, files={"GRLDR": "time"})],
         "previous", PROMPT.format("GRLDR", 4), ("--boot-prevmbr-first", "--time-out=4"),
         time_out=4, starter=dict(ticks=0x1800B0 - 36)),
    # A key typed before the prompt showed is no answer; Space starts the loader. The BIOS passed
    # DL = 7Fh: the gap sectors come from 80h, which the loader gets too, a cluster a read.
    Case("space_after_typed_ahead_wrong_drive", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "space"})], "space", PROMPT.format("GRLDR", 9),
         ("--boot-prevmbr-first", "--time-out=9"), key="spc",
         starter=dict(key=0x1E61, drive=0x7F, hook=COUNT), reads_bound=True),
    # No saved MBR: no prompt and no fall-back; no floppy search either.
    Case("no_backup_halts", "mtldrinst", [FAT16], "halt",
         "MTLDR not found and no previous MBR to boot. System halted.",
         ("--boot-prevmbr-first", "--time-out=9", "--no-backup-mbr", "--mbr-disable-floppy"),
         floppy={"MTLDR": "floppy"}),
    # What the install report names: a loader only on a logical, behind an active primary, as
    # big as 639 KiB of memory (a usual PC's, and QEMU's) hold above 2000:0000 ...
    Case("report_only_logical", "grldrinst",
         [Volume(32, 0x0C, 40, active=True),
          Volume(16, 0x0E, files={"GRLDR": "only-logical"}, logical=True, loader_kib=511)],
         "only-logical", report=["启动时将载入 逻辑分区 1 (FAT16) 根目录中的 GRLDR,大小 523264 字节."]),
    # ... or only in an NTFS-typed partition, which the boot code does not read ...
    Case("report_only_ntfs_typed", "mtldrinst",
         [Volume(16, 0x07, files={"MTLDR": "ntfs-typed"}), Volume(12, 0x01, 4)], "previous",
         "MTLDR not found, booting the previous MBR",
         report=["注意: 磁盘 (hd0) 的 FAT12/FAT16/FAT32 分区的根目录中都没有 MTLDR.",
                 "读不了 主分区 1 (类型 07)."]),
    # ... or a KiB too big for that memory: the boot code halts.
    Case("report_too_big_halts", "grldrinst",
         [Volume(16, 0x06, files={"GRLDR": "big"}, loader_kib=512, active=True)], "halt",
         "GRLDR too big for memory and no previous MBR to boot. System halted.",
         ("--mbr-disable-osbr", "--mbr-disable-floppy"),
         report=["注意: GRLDR 太大,启动时放不进内存 (主分区 1 (FAT16) 根目录中的 GRLDR 有 524288 字节",
                 "启动时不在软盘上找,将显示消息并停机"]),
]


def target(programs, tag, kib=0):
    """The test program as the loader copy `tag` of `kib` KiB (noise after the code, its checksum
    fixed), or with kib 0 as the previous MBR."""
    with open(os.path.join(programs, "test_target.bin"), "rb") as f:
        data = bytearray(f.read())
    data[16:17 + len(tag)] = tag.encode() + b"\0"
    if kib:
        data += random.Random(tag).randbytes(kib * 1024 - len(data))
        struct.pack_into("<IH", data, 10, len(data), 0)
        struct.pack_into("<H", data, 14, -sum(struct.unpack(f"<{len(data) // 2}H", data)) & 0xFFFF)
    return bytes(data)


def volume(path, start, kib, v, programs, label="TESTVOL"):
    """Formats a volume and puts its loaders in, each after a freed gap so that its cluster chain
    is not one straight run."""
    files = [(name, "folder") for name in v.folders or ()]
    files += [("FILLER", bytes(v.filler_kib << 10))] if v.filler_kib else []
    for name, tag in v.files.items():
        files += [("GAP", bytes(4096)), ("AFTERGAP", bytes(4096)), ("GAP", None),
                  (name, target(programs, tag, v.loader_kib or 40))]
    fat(path, start, kib, v.bits, 2048 if v.from_ebr else start, files, label)


def build_disk(path, volumes, programs):
    """A DOS table with the volumes, logical ones in one extended partition where the first of
    them stands, and the previous MBR's code in sector 0. Returns each volume's start."""
    script, numbers, primary, logical = ["label: dos"], [], 1, 5
    for v in volumes:
        if v.logical and logical == 5:
            size = sum(u.mib + 1 for u in volumes if u.logical) * 2048
            script.append(f"{path}{primary} : size={size}, type=5")
            primary += 1
        numbers.append(logical if v.logical else primary)
        script.append(f"{path}{numbers[-1]} : size={v.mib * 2048}, type={v.type:x}"
                      + ", bootable" * bool(v.active))
        logical, primary = (logical + 1, primary) if v.logical else (logical, primary + 1)
    parts = partitioned(path, (4 + sum(v.mib + 1 for v in volumes)) << 20, "\n".join(script))
    for number, v in zip(numbers, volumes):
        if v.bits:
            volume(path, parts[number][0], parts[number][1] // 2, v, programs)
    sector(path, 0, target(programs, "previous")[:440])
    return [parts[n][0] for n in numbers]


def reads_needed(path, start, name):
    """The read calls that loading the root file `name` of the FAT16 volume at `start` needs at
    most, a sector or cluster each: the gap sectors and the partition table, the volume's boot
    sector, the root folder's first sector (the file's entry is among its first 16), the FAT
    sectors its chain passes through (the last cluster's entry not needed) and its clusters."""
    shown = run("mshowfat", "-i", f"{path}@@{start * SECTOR}", "::" + name).decode()
    chain = [c for a, b in re.findall(r"<(\d+)(?:-(\d+))?>", shown)
             for c in range(int(a), int(b or a) + 1)]
    return 4 + len({c * 2 // SECTOR for c in chain[:-1]}) + len(chain)


def prepare(case, work, programs, tools):
    """The disk with our code installed and edited, and the floppy, if any: (disk, floppy, where
    each loader copy is: its volume's start and file name, None on a floppy, the install report,
    the image it was made on)."""
    disk, floppy = os.path.join(work, "disk.img"), os.path.join(work, "floppy.img")
    starts = build_disk(disk, case.volumes, programs)
    where = {tag: (s, name) for v, s in zip(case.volumes, starts) for name, tag in v.files.items()}
    if case.floppy:
        kib, start = case.floppy_kib or 1440, 63 if case.floppy_booted else 0
        # With a table, as on a stick that a BIOS treats as a floppy.
        partitioned(floppy, kib << 10, "label: dos\n" + f"start={start}, type=1" * bool(start))
        volume(floppy, start, kib - (start + 1) // 2, Volume(12, 1, 0, case.floppy), programs,
               "TESTFLOPPY")
        where.update({tag: (start, None) for tag in case.floppy.values()})
    if case.starter:
        blank(floppy, 1440 << 10)
        with open(os.path.join(programs, "test_starter.bin"), "rb") as f:
            sector(floppy, 0, f.read())
        settings = dict(dict(ticks=0xFFFFFFFF, key=0, drive=0x80, hook=0), **case.starter)
        sector(floppy, 0, struct.pack("<IHBB", *settings.values()), 3)
    with open(os.path.join(work, "device.map"), "w") as f:
        f.write(f"(hd0) {floppy if case.floppy_booted else disk}\n")
    installed = subprocess.run([os.path.join(tools, case.tool), *case.flags, "(hd0)"], cwd=work,
                               check=True, capture_output=True,
                               env=dict(os.environ, BOOTDECK_DEVICE_MAP=f.name))
    if case.edit:
        case.edit(disk)
    return (disk, floppy if os.path.exists(floppy) else None, where,
            installed.stdout.decode(), floppy if case.floppy_booted else disk)


def boot(case, qemu, disk, floppy, log):
    """Boots; returns COM1's text and the seconds from the prompt to the end of the boot."""
    process = subprocess.Popen(
        [qemu, "-accel", "tcg", "-m", "32", "-nographic", "-vga", "none", "-nic", "none",
         "-no-reboot", "-serial", f"file:{log}", "-monitor", "stdio",
         "-drive", f"file={disk},format=raw,if=ide,index=0", "-global", "isa-fdc.fdtypeA=144",
         "-boot", "order=a" if case.starter or case.floppy_booted else "order=c",
         *(["-drive", f"file={floppy},format=raw,if=floppy,index=0"] if floppy else [])],
        stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    started, text = time.monotonic(), ""

    def wait_for(pattern):
        nonlocal text
        while time.monotonic() < started + DEADLINE and process.poll() is None:
            with contextlib.suppress(FileNotFoundError), open(log, "rb") as f:
                text = re.sub(rb"\x1b(\[[0-9;?]*[A-Za-z]|c)", b"", f.read()).decode("latin-1")
            if re.search(pattern, text):
                return time.monotonic()
            time.sleep(0.05)
        raise TimeoutError(f"no {pattern!r} within {DEADLINE} s: {text!r}")

    try:
        prompted = wait_for("Press Space") if case.key or case.time_out else 0
        if case.key:
            process.stdin.write(f"sendkey {case.key}\n".encode())
            process.stdin.flush()
        ended = wait_for(r"BOOTED .*\r\n|System halted\.")
        if case.expect == "halt":  # and nothing after it
            time.sleep(1.0)
            wait_for("")
        return text, ended - prompted
    finally:
        process.kill()
        process.wait()


def failures(case, log, waited, disk, where):
    if case.expect == "previous":  # with today's table, not the one saved with it
        want = r"previous 80 0000 %02X \w{8} " % sector(disk, 0)[450]
    elif case.expect != "halt":
        start, name = where[case.expect]
        want = r"%s %s 0000 \w\w %08X " % (case.expect, "80" if name else "00", start)
    reports = re.findall(r"BOOTED ([^\r]*)", log)
    found = [] if [bool(re.match(want, r)) for r in reports] == [True] * (case.expect != "halt") \
        else [f"expected {case.expect}, got {reports}"]
    reads = int(reports[0].split()[-1][4:], 16) if reports else 0  # on hard disks
    if case.reads_bound and reads > reads_needed(disk, *where[case.expect]):
        found.append(f"{reads} hard-disk reads, more than the loader needs")
    shown = re.split(r"Booting from [^\r\n]*\.\.\.", log)[-1].replace("\r", "").split("\n")
    shown = "\n".join(s.rstrip() for s in shown if not s.startswith("BOOTED")).strip("\n")
    if shown != case.screen:
        found.append(f'screen: expected "{case.screen}", got "{shown}"')
    if case.time_out and not case.time_out - 1 <= waited <= case.time_out + 2:
        found.append(f"the previous MBR started {waited:.1f} s after the prompt")
    return found


def main():
    parser = argparse.ArgumentParser()
    for option in ("--case", "--qemu", "--tools", "--programs", "--work"):
        parser.add_argument(option)
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    if args.list:
        return print(";".join(c.name for c in CASES), end="")
    case, started = next(c for c in CASES if c.name == args.case), time.monotonic()
    work = os.path.join(args.work, case.name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    try:
        disk, floppy, where, report, tool_disk = prepare(case, work, args.programs, args.tools)
        log, waited = boot(case, args.qemu, disk, floppy, work + "/serial.log")
        found = failures(case, log, waited, disk, where)
        found += forecast.failures(case, report, log, tool_disk, where)
    except (TimeoutError, subprocess.CalledProcessError) as error:
        found = [f"{error} {getattr(error, 'stderr', '')}"]
    for line in found + [f"{'FAIL' if found else 'ok'} in {time.monotonic() - started:.1f} s"]:
        print(f"{case.name}: {line}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
