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
from disk_images import SECTOR, blank, entry, fat, loop_chain, partitioned, run, sector  # noqa: E402
import forecast  # noqa: E402

DEADLINE = 25.0  # seconds from QEMU's start to the end of a boot
COUNT, FAIL_EXT, SET_DF = 1, 2, 4  # test_starter.asm's INT 13h hook
PROMPT = "bootdeck: Press Space to start {}, any other key to boot the old MBR ({} s)"
DAMAGED = "bootdeck: boot code damaged or incomplete"
# The gap sectors of the layout-2 build, the one before sector 0 checked the gap's checksum, as
# an interrupted reinstall over it leaves them.
LAYOUT2_GAP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "layout2_gap.bin")


class Options(SimpleNamespace):
    def __getattr__(self, name):
        return None  # not given


def Volume(bits, type, mib=20, files=None, **options):
    """A partition of FAT`bits` (None: none), `files` mapping root-folder names to loader tags.
    Options: folders (made first), logical, filler_kib (a file whose clusters come before the
    loader's), loader_kib (else 40), from_ebr (hidden sectors counted from its EBR, 2048 sectors
    before it, as DOS-era formatters wrote them for logical drives), few_clusters (FAT32 below
    65,525 clusters: its files written here, as mtools reads such a volume as FAT16), with
    folder_sectors (the root folder's size, the loader's entry in its last sector), active (its
    status 80h)."""
    return Options(bits=bits, type=type, mib=mib, files=files or {}, **options)


def Case(name, tool, volumes, expect, screen="", flags=(), **options):
    """What is installed and booted, and what starts: the loader copy tagged `expect`, "previous"
    or "halt". Options: floppy (files of a FAT12 floppy), floppy_kib (else 1440; a 1.44 MB drive),
    floppy_booted (with a table and our code), key (typed once the prompt shows), time_out (from
    the prompt to the previous MBR), edit (of the installed disk), starter (test_starter.asm's
    settings), reads (hard-disk reads are those the loader needs), other_disk (the installed disk
    edited so, as the second hard disk), report (lines the install report holds; forecast.py
    checks its forecast against every boot)."""
    return Options(name=name, tool=tool, volumes=volumes, expect=expect, screen=screen,
                   flags=flags, **options)


FAT16 = Volume(16, 0x0E)


def gap_mix(new):
    """An interrupted reinstall over the layout-2 build: our sector 0 and the first `new` of our
    gap sectors written, the others still layout 2's."""
    def edit(path):
        with open(LAYOUT2_GAP, "rb") as f:
            old = f.read()
        for lba in range(2 + new, 2 + len(old) // SECTOR):
            sector(path, lba, old[(lba - 2) * SECTOR:(lba - 1) * SECTOR])
    return edit


def changed_byte(path):
    """One byte of one gap sector changed, as another build of the same layout would differ."""
    sector(path, 4, bytes([sector(path, 4)[200] ^ 1]), 200)


def free_cluster(path, n):
    """Frees the `n`th cluster of the chain of GRLDR on the FAT16 volume of primary entry 0."""
    start = entry(path, 0, 0)[1]
    shown = run("mshowfat", "-i", f"{path}@@{start * SECTOR}", "::GRLDR").decode()
    chain = [c for a, b in re.findall(r"<(\d+)(?:-(\d+))?>", shown) for c in range(int(a), int(b or a) + 1)]
    reserved = struct.unpack_from("<H", sector(path, start), 14)[0]
    sector(path, start + reserved, bytes(2), chain[n] * 2)


def wrapped_start(path):
    """The first logical entry starts past 2^32, where the sum wraps to primary entry 0's start."""
    extended = next(e[1] for e in (entry(path, 0, i) for i in range(4)) if e[0] == 5)
    sector(path, extended, struct.pack("<I", (1 << 32) - extended + entry(path, 0, 0)[1]), 446 + 8)


CASES = [
    # Primaries before logicals, the hard disk before the floppy. On FAT32, 40 folders fill the
    # root folder's first clusters, so its chain jumps, and 36 MiB of 512-byte clusters put the
    # loader past cluster 65535.
    Case("primaries_first", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "logical"}, logical=True),
          Volume(32, 0x0C, 40, {"GRLDR": "fat32"}, folders=[f"DIR{i:02d}" for i in range(40)],
                 filler_kib=36 << 10, loader_kib=100)], "fat32", floppy={"GRLDR": "floppy"}),
    # FAT32 below 65,525 clusters: FAT32 all the same, as its 16-bit FAT size (0) says. The
    # loader's entry is in the 4096th sector of the root folder, the last one a folder can have.
    Case("small_fat32", "grldrinst",
         [Volume(32, 0x0C, 20, {"GRLDR": "small-fat32"}, few_clusters=True, folder_sectors=4096)],
         "small-fat32"),
    # Mirroring off, and the live FAT named is not one of the two: the volume is passed over.
    Case("fat32_live_fat_missing", "grldrinst",
         [Volume(32, 0x0C, 20, {"GRLDR": "no-fat"}, few_clusters=True)], "previous",
         "bootdeck: GRLDR not found, booting the old MBR",
         edit=lambda d: sector(d, entry(d, 0, 0)[1], b"\x82", 40)),
    # A GRLDR is no MTLDR; a loader too big for memory is passed over; the chain is walked past
    # a partition whose start wraps past 2^32 (onto a volume of a type we do not read, with a
    # loader on it) and one without FAT. AH=41h announces extended reads that fail: CHS reads do
    # it all, and every INT 13h call returns with the direction flag set.
    Case("logical_by_chs", "mtldrinst",
         [Volume(12, 0x07, 2, {"MTLDR": "wrapped"}), Volume(16, 0x0E, files={"GRLDR": "wrong-name"}),
          Volume(32, 0x0B, 40, {"MTLDR": "too-big"}, loader_kib=600),
          Volume(12, 0x01, 4, logical=True), Volume(None, 0x0E, 2, logical=True),
          Volume(16, 0x06, files={"MTLDR": "logical"}, logical=True, from_ebr=True)],
         "logical", starter=dict(hook=COUNT | FAIL_EXT | SET_DF), edit=wrapped_start),
    # The one loader is too big for memory; the search ends at a cycle in the chain and at an
    # empty floppy drive; the old MBR gets today's table.
    Case("too_big_falls_back", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "big"}, loader_kib=600)] + [Volume(12, 1, 4, logical=True)] * 3,
         "previous", "bootdeck: GRLDR too big for memory, booting the old MBR",
         edit=lambda d: (loop_chain(d), sector(d, 0, b"\x06", 450))),
    # The loader's cluster chain ends part-way (a FAT entry freed): damaged, not "not found".
    Case("broken_chain_falls_back", "grldrinst", [Volume(16, 0x0E, files={"GRLDR": "broken"})],
         "previous", "bootdeck: GRLDR damaged, booting the old MBR", edit=lambda d: free_cluster(d, 4)),
    # Gap sectors that are not exactly what our install wrote never run: other software wrote
    # over one, an interrupted reinstall left some of the earlier build's, or one byte differs.
    # The old MBR starts unless its use is disabled.
    Case("gap_zeroed_falls_back", "grldrinst", [FAT16], "previous", DAMAGED + ", booting the old MBR",
         edit=lambda d: sector(d, 3, bytes(SECTOR))),
    *(Case(f"gap_of_layout2_from_lba{2 + new}", "grldrinst", [FAT16], "previous",
           DAMAGED + ", booting the old MBR", edit=gap_mix(new)) for new in range(4)),
    Case("gap_byte_changed_halts", "grldrinst", [FAT16], "halt",
         DAMAGED + ". System halted.", ("--mbr-disable-osbr",), edit=changed_byte),
    # The BIOS passed DL = 81h, a disk with the gap of another build: the gap of 80h runs.
    Case("other_disks_gap_not_run", "grldrinst", [Volume(16, 0x0E, files={"GRLDR": "own-gap"})],
         "own-gap", starter=dict(drive=0x81), other_disk=changed_byte),
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
    # DL = 7Fh: the gap sectors come from 80h, which the loader gets too, a run of clusters a read.
    Case("space_after_typed_ahead_wrong_drive", "grldrinst",
         [Volume(16, 0x0E, files={"GRLDR": "space"})], "space", PROMPT.format("GRLDR", 9),
         ("--boot-prevmbr-first", "--time-out=9"), key="spc",
         starter=dict(key=0x1E61, drive=0x7F, hook=COUNT), reads=True),
    # No saved MBR: no prompt and no fall-back; no floppy search either.
    Case("no_backup_halts", "mtldrinst", [FAT16], "halt",
         "bootdeck: MTLDR not found and no old MBR to boot. System halted.",
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
         "bootdeck: MTLDR not found, booting the old MBR",
         report=["注意: 磁盘 (hd0) 的 FAT12/FAT16/FAT32 分区的根目录中都没有 MTLDR.",
                 "读不了 主分区 1 (类型 07)."]),
    # ... or a KiB too big for that memory: the boot code halts.
    Case("report_too_big_halts", "grldrinst",
         [Volume(16, 0x06, files={"GRLDR": "big"}, loader_kib=512, active=True)], "halt",
         "bootdeck: GRLDR too big for memory and no old MBR to boot. System halted.",
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


def put_fat32_file(path, start, name, data, folder_sectors=1):
    """Writes `data` as the root-folder file `name` of the new FAT32 volume at `start`, of
    1-sector clusters: the root folder grown to `folder_sectors`, all but its last filled with
    deleted entries, the file's entry first in its last, the file's clusters after it."""
    boot = sector(path, start)
    reserved, fats = struct.unpack_from("<H", boot, 14)[0], boot[16]
    fat_size, root = struct.unpack_from("<II", boot, 36)[0], struct.unpack_from("<I", boot, 44)[0]
    data_lba, first = start + reserved + fats * fat_size, root + folder_sectors
    count = -(-len(data) // SECTOR)

    def chain(a, n):
        return struct.pack(f"<{n}I", *range(a + 1, a + n), 0x0FFFFFFF)

    deleted = (b"\xe5" + b" " * 10 + bytes(21)) * (SECTOR // 32)
    entry_ = struct.pack("<11sB8xH4xHI", name.ljust(11).encode(), 0x20, first >> 16, first & 0xFFFF,
                         len(data))
    with open(path, "r+b") as f:
        for n in range(fats):
            f.seek((start + reserved + n * fat_size) * SECTOR + root * 4)
            f.write(chain(root, folder_sectors) + chain(first, count))
        f.seek((data_lba + root - 2) * SECTOR + 32)  # after the volume label's entry
        f.write((deleted * folder_sectors)[32:(folder_sectors - 1) * SECTOR] + entry_)
        f.seek((data_lba + first - 2) * SECTOR)
        f.write(data)


def volume(path, start, kib, v, programs, label="TESTVOL"):
    """Formats a volume and puts its loaders in, each after a freed gap so that its cluster chain
    is not one straight run."""
    if v.few_clusters:
        fat(path, start, kib, v.bits, start, [], label)
        for name, tag in v.files.items():
            put_fat32_file(path, start, name, target(programs, tag, v.loader_kib or 40),
                           v.folder_sectors or 1)
        return
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
    """The read calls that loading the root file `name` of the FAT16 volume at `start` needs: the
    gap sectors and the partition table, the volume's boot sector, the root folder's first sector
    (the file's entry is among its first 16), the FAT sectors its chain passes through (the last
    cluster's entry not needed), and one for each run of clusters that follow each other on disk,
    split only where a read would pass 64 sectors or a 64 KiB boundary of memory."""
    shown = run("mshowfat", "-i", f"{path}@@{start * SECTOR}", "::" + name).decode()
    runs = [(int(a), int(b or a)) for a, b in re.findall(r"<(\d+)(?:-(\d+))?>", shown)]
    chain = [c for a, b in runs for c in range(a, b + 1)]
    cluster, loaded, reads = sector(path, start)[13], 0, 0
    for a, b in runs:
        left = (b - a + 1) * cluster
        while left:
            step = min(left, 64, 128 - loaded % 128)
            loaded, left, reads = loaded + step, left - step, reads + 1
    return 4 + len({c * 2 // SECTOR for c in chain[:-1]}) + reads


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
    if case.other_disk:
        shutil.copyfile(disk, disk + ".other")
        case.other_disk(disk + ".other")
    return (disk, floppy if os.path.exists(floppy) else None, where,
            installed.stdout.decode(), floppy if case.floppy_booted else disk)


def boot(case, qemu, disk, floppy, log):
    """Boots; returns COM1's text and the seconds from the prompt to the end of the boot."""
    process = subprocess.Popen(
        [qemu, "-accel", "tcg", "-m", "32", "-nographic", "-vga", "none", "-nic", "none",
         "-no-reboot", "-serial", f"file:{log}", "-monitor", "stdio",
         "-drive", f"file={disk},format=raw,if=ide,index=0", "-global", "isa-fdc.fdtypeA=144",
         "-boot", "order=a" if case.starter or case.floppy_booted else "order=c",
         *(["-drive", f"file={floppy},format=raw,if=floppy,index=0"] if floppy else []),
         *(["-drive", f"file={disk}.other,format=raw,if=ide,index=1"] if case.other_disk else [])],
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
    if case.reads and reads != reads_needed(disk, *where[case.expect]):
        found.append(f"{reads} hard-disk reads, not the {reads_needed(disk, *where[case.expect])}"
                     " the loader needs")
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
