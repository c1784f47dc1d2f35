"""Boot tests: disk images with our boot code installed, booted in QEMU; each case asserts what
booted (test loader, previous MBR or nothing) and what the boot code showed.
Usage: boot_cases.py --list | --case NAME --qemu PATH --tools DIR --programs DIR"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass

sys.dont_write_bytecode = True  # keep the source folder clean

from boot_images import Volume, build_disk, build_floppy, loader_reads
from boot_qemu import Boot, screen_text

BOOT_DEADLINE = 25.0  # seconds from QEMU's start to the end of a boot
QUIET_AFTER_HALT = 1.0  # after the halt message, how long nothing else may happen

TICKS_PER_DAY = 0x1800B0  # the BIOS tick count restarts at 0 when it gets there

# The starter's INT 13h hook (test_starter.asm): it counts the read calls, and may make the
# extended reads fail or drive 00h have no disk.
HOOK_COUNT, HOOK_FAIL_EXT, HOOK_NO_FLOPPY = 0x01, 0x02, 0x04

GRLDR_PROMPT = "Press Space to start GRLDR, any other key to boot the previous MBR ({} s)"
MTLDR_PROMPT = "Press Space to start MTLDR, any other key to boot the previous MBR ({} s)"


@dataclass
class Case:
    name: str
    tool: str  # grldrinst or mtldrinst
    volumes: list
    expect: tuple  # ("loader", tag, drive) | ("previous",) | ("halt",)
    screen: str  # what the boot code shows, lines joined by \n
    flags: tuple = ()
    floppy: dict | None = None  # root-folder files of a floppy image, as Volume.files
    floppy_kib: int = 1440  # its size; the drive is a 1.44 MB one
    # The floppy has a partition table, our boot code is installed on it and it boots (DL = 00h).
    floppy_booted: bool = False
    key: str | None = None  # sent once the prompt shows
    min_wait: float = 0.0  # the previous MBR must not start sooner after the prompt
    edit: object = None  # changes the installed disk image: edit(file)
    entry0: int | None = None  # type of partition entry 0 the previous MBR sees, when edited
    # Set by a starter floppy (test_starter.asm): BIOS ticks, a typed-ahead key, memory in KiB,
    # the DL the MBR gets, the INT 13h hook.
    start_ticks: int | None = None
    type_ahead: int | None = None
    memory_kib: int | None = None
    start_drive: int | None = None
    hook: int = 0
    # With the hook: the loader's read calls on the hard disk are at most the gap sectors' and
    # the partition table's, then what its volume needs (boot_images.loader_reads) ...
    reads_bound: bool = False
    floppy_reads: int | None = None  # ... and exactly so many on drives below 80h


def fat16(*files, decoys=(), logical=False, type=0x0E, mib=20, hidden_from_ebr=False):
    return Volume(fat=16, type=type, mib=mib, files=dict(files), decoys=decoys, logical=logical,
                  hidden_from_ebr=hidden_from_ebr)


def fat12(*files, logical=False):
    return Volume(fat=12, type=0x01, mib=4, files=dict(files), logical=logical)


def fat32(*files, type=0x0C, filler_kib=0, loader_kib=40, decoys=()):
    return Volume(fat=32, type=type, mib=40, files=dict(files), filler_kib=filler_kib,
                  loader_kib=loader_kib, decoys=decoys)


def unformatted(type, logical=False):
    return Volume(fat=None, type=type, mib=2, logical=logical)


def set_entry0_type(disk):
    disk.seek(446 + 4)
    disk.write(b"\x06")


def other_layout_in_last_gap_sector(disk):
    """Our mark, but another layout's version before it: not code that sector 0 may run."""
    disk.seek(14)  # the count of sectors after LBA 1
    last = 1 + disk.read(1)[0]
    disk.seek(last * 512 + 503)
    disk.write(b"\x01")


def zero_lba3(disk):
    disk.seek(3 * 512)
    disk.write(bytes(512))


def loop_extended_chain(disk):
    """The last EBR links back to the second one: a cycle the search must get out of."""
    def entry(lba, index):
        disk.seek(lba * 512 + 446 + 16 * index)
        raw = disk.read(16)
        return raw[4], struct.unpack_from("<I", raw, 8)[0]

    extended = next(start for kind, start in (entry(0, i) for i in range(4)) if kind == 0x05)
    chain = [extended]
    while entry(chain[-1], 1)[0] == 0x05:
        chain.append(extended + entry(chain[-1], 1)[1])
    disk.seek(chain[-1] * 512 + 446 + 16)
    disk.write(struct.pack("<4xB3xII", 0x05, chain[1] - extended, 2048))


# 36 MiB of filler puts the loader past cluster 65535 of the 512-byte clusters: the high word
# of its first cluster counts. 600 KiB is more than conventional memory holds above 2000:0000.
CASES = [
    Case("fat12", "grldrinst", [fat12(("GRLDR", "fat12"))],
         ("loader", "fat12", 0x80), "", floppy={"GRLDR": "floppy"}),
    Case("fat32_high_clusters", "grldrinst",
         [fat32(("GRLDR", "fat32"), filler_kib=36 * 1024, loader_kib=100)],
         ("loader", "fat32", 0x80), ""),
    # 40 folders fill the root folder's first clusters (16 entries each) and take the clusters
    # after them: the root folder's chain jumps, and the loader's entry is in its last cluster.
    Case("fat32_root_over_clusters", "grldrinst",
         [fat32(("GRLDR", "deep-root"), decoys=tuple(f"DIR{i:02d}" for i in range(40)))],
         ("loader", "deep-root", 0x80), ""),
    Case("second_primary", "grldrinst",
         [fat16(decoys=("GRLDR",)), fat32(("GRLDR", "second"), type=0x0B)],
         ("loader", "second", 0x80), ""),
    # The loader's boot sector counts its hidden sectors from its EBR; the loader gets them
    # counted from the disk's start.
    Case("logical", "mtldrinst",
         [unformatted(0x06), fat16(("GRLDR", "wrong-name")), fat12(logical=True),
          unformatted(0x0E, logical=True),
          fat16(("MTLDR", "logical"), logical=True, type=0x06, hidden_from_ebr=True)],
         ("loader", "logical", 0x80), ""),
    Case("primary_before_logical", "grldrinst",
         [fat16(("GRLDR", "logical"), logical=True), fat16(("GRLDR", "primary"))],
         ("loader", "primary", 0x80), ""),
    Case("too_big_then_next", "grldrinst",
         [fat32(("GRLDR", "huge"), loader_kib=600), fat16(("GRLDR", "fits"))],
         ("loader", "fits", 0x80), ""),
    # Less memory than the loader's address 2000:0000 itself: nothing can be loaded there. The
    # floppy drive has no disk: one read call finds that out.
    Case("no_memory_and_empty_floppy", "grldrinst", [fat16(("GRLDR", "unloadable"))],
         ("previous",), "GRLDR too big for memory, booting the previous MBR", memory_kib=100,
         hook=HOOK_COUNT | HOOK_NO_FLOPPY, floppy_reads=1),
    Case("wrong_name_falls_back", "grldrinst", [fat16(("MTLDR", "mtldr"))],
         ("previous",), "GRLDR not found, booting the previous MBR",
         edit=set_entry0_type, entry0=0x06),
    Case("extended_cycle_falls_back", "grldrinst",
         [fat16(), fat12(logical=True), fat12(logical=True), fat12(logical=True)],
         ("previous",), "GRLDR not found, booting the previous MBR", edit=loop_extended_chain),
    Case("nothing_no_fallback", "grldrinst", [fat16()],
         ("halt",), "GRLDR not found and no previous MBR to boot. System halted.",
         flags=("--mbr-disable-osbr",)),
    Case("nothing_no_backup", "mtldrinst", [fat16()],
         ("halt",), "MTLDR not found and no previous MBR to boot. System halted.",
         flags=("--no-backup-mbr",)),
    # Other software wrote over the gap sectors (or they are of another layout): the previous
    # MBR still starts, unless its use is disabled.
    Case("damaged_gap_falls_back", "grldrinst", [fat16(("GRLDR", "unreached"))],
         ("previous",), "Boot code gap sectors unreadable or overwritten, booting the previous MBR",
         edit=zero_lba3),
    Case("damaged_gap_no_fallback", "grldrinst", [fat16(("GRLDR", "unreached"))],
         ("halt",), "Boot code gap sectors unreadable or overwritten. System halted.",
         flags=("--mbr-disable-osbr",), edit=other_layout_in_last_gap_sector),
    # A BIOS that passes a wrong drive number: the gap sectors are read from 80h, which the
    # loader gets too; it is loaded a cluster a call.
    Case("wrong_drive_number", "grldrinst", [fat16(("GRLDR", "drive-7f"))],
         ("loader", "drive-7f", 0x80), "", start_drive=0x7F, hook=HOOK_COUNT, reads_bound=True),
    # AH=41h announces the extensions, AH=42h fails: CHS reads do it all.
    Case("extended_reads_failing", "grldrinst", [fat16(("GRLDR", "chs"))],
         ("loader", "chs", 0x80), "", hook=HOOK_COUNT | HOOK_FAIL_EXT),
    Case("floppy", "grldrinst", [fat16()],
         ("loader", "floppy", 0x00), "", floppy={"GRLDR": "floppy"}),
    # Booted from a floppy (DL = 00h): the gap sectors, the partition and the loader are its own.
    Case("floppy_booted", "grldrinst", [fat16(("GRLDR", "hard-disk"))],
         ("loader", "floppy-partition", 0x00), "", floppy={"GRLDR": "floppy-partition"},
         floppy_booted=True),
    # A 720 KB disk in a 1.44 MB drive: its own geometry, from its boot sector.
    Case("floppy_720k", "grldrinst", [fat16()],
         ("loader", "720k", 0x00), "", floppy={"GRLDR": "720k"}, floppy_kib=720),
    Case("floppy_disabled", "grldrinst", [fat16()],
         ("previous",), "GRLDR not found, booting the previous MBR",
         flags=("--mbr-disable-floppy",), floppy={"GRLDR": "floppy"}),
    Case("previous_first_other_key", "mtldrinst", [fat16(("MTLDR", "other"))],
         ("previous",), MTLDR_PROMPT.format(9),
         flags=("--boot-prevmbr-first", "--time-out=9"), key="a"),
    Case("previous_first_time_out", "grldrinst", [fat16(("GRLDR", "time-out"))],
         ("previous",), GRLDR_PROMPT.format(3),
         flags=("--boot-prevmbr-first", "--time-out=3"), min_wait=2.0),
    # The BIOS tick count goes back to 0 at midnight, 2 s into the wait: the wait still lasts.
    Case("previous_first_time_out_across_midnight", "grldrinst", [fat16(("GRLDR", "midnight"))],
         ("previous",), GRLDR_PROMPT.format(6),
         flags=("--boot-prevmbr-first", "--time-out=6"), min_wait=5.0,
         start_ticks=TICKS_PER_DAY - 36),
    # Space starts the loader; a key pressed before the prompt showed is no answer to it.
    Case("previous_first_ignores_keys_typed_before", "grldrinst", [fat16(("GRLDR", "fresh"))],
         ("loader", "fresh", 0x80), GRLDR_PROMPT.format(9),
         flags=("--boot-prevmbr-first", "--time-out=9"), key="spc", type_ahead=0x1E61),
    Case("previous_first_without_backup", "grldrinst", [fat16(("GRLDR", "no-prompt"))],
         ("loader", "no-prompt", 0x80), "",
         flags=("--boot-prevmbr-first", "--time-out=9", "--no-backup-mbr")),
]

MARKERS = {
    "loader": r"LOADER tag=\S+ DL=[0-9A-F]{2} SUM=\w+",
    "previous": r"PREVIOUS MBR DL=[0-9A-F]{2} TYPE0=[0-9A-F]{2}",
    "halt": r"System halted\.",
}
HIDDEN = r"LOADER .* HIDDEN=([0-9A-F]{8})"
READS = r" READS=([0-9A-F]{4}),([0-9A-F]{4})"


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


def install(tool, flags, disk, work):
    """Puts the boot code onto the image with the installer tool, as a person would."""
    device_map = os.path.join(work, "device.map")
    with open(device_map, "w") as f:
        f.write(f"(hd0) {disk}\n")
    r = subprocess.run([tool, *flags, "(hd0)"], cwd=work, capture_output=True, timeout=60,
                       env=dict(os.environ, BOOTDECK_DEVICE_MAP=device_map))
    if r.returncode != 0 or "恭喜您,安装成功!" not in r.stdout.decode("utf-8", "replace"):
        raise RuntimeError(f"{tool} {flags} failed ({r.returncode}): {r.stdout} {r.stderr}")


def check(case, log, after_prompt, hidden=None, reads_at_most=None):
    """The failures of one boot, as readable lines. `hidden`: the loader's volume start, which
    the boot sector at 0:7C00 must carry; `reads_at_most`: the bound on its hard-disk reads."""
    found = {kind: re.findall(pattern, log) for kind, pattern in MARKERS.items()}
    kind = case.expect[0]
    want = {"loader": [], "previous": []}
    if kind == "loader":
        want["loader"] = [f"LOADER tag={case.expect[1]} DL={case.expect[2]:02X} SUM=OK"]
    elif kind == "previous":
        # The previous MBR sees today's partition table, not the one saved with it.
        entry0 = case.entry0 if case.entry0 is not None else case.volumes[0].type
        want["previous"] = [f"PREVIOUS MBR DL=80 TYPE0={entry0:02X}"]
    failures = [f"{k}: expected {want[k]}, got {found[k]}" for k in want if found[k] != want[k]]
    if kind != "halt" and found["halt"]:
        failures.append(f"unexpected halt: {found['halt']}")
    if kind == "loader" and re.findall(HIDDEN, log) != [f"{hidden:08X}"]:
        failures.append(f"hidden sectors: expected {hidden:08X}, got {re.findall(HIDDEN, log)}")
    reads = [(int(disk, 16), int(floppy, 16)) for disk, floppy in re.findall(READS, log)]
    if case.hook and len(reads) != 1:
        failures.append(f"read calls: expected one count, got {reads}")
    elif reads_at_most is not None and reads[0][0] > reads_at_most:
        failures.append(f"read calls on the hard disk: expected at most {reads_at_most}, "
                        f"got {reads[0][0]}")
    elif case.floppy_reads is not None and reads[0][1] != case.floppy_reads:
        failures.append(f"read calls below 80h: expected {case.floppy_reads}, got {reads[0][1]}")
    shown = screen_text(log)
    if shown is not None:
        shown = "\n".join(line for line in shown.split("\n") if not re.match(
            MARKERS["loader"] + "|" + MARKERS["previous"], line)).strip("\n")
    if shown != case.screen:
        failures.append(f'screen: expected "{case.screen}", got "{shown}"')
    if case.min_wait and (after_prompt is None or after_prompt < case.min_wait):
        failures.append(f"previous MBR started {after_prompt} s after the prompt")
    return failures


def run_case(case, qemu, tools_dir, programs_dir):
    template = read_file(os.path.join(programs_dir, "test_loader.bin"))
    # In the temporary folder: QEMU's monitor socket needs a short path.
    with tempfile.TemporaryDirectory(prefix=f"bootdeck-{case.name}-") as work:
        disk, floppy = os.path.join(work, "disk.img"), None
        starts = build_disk(disk, case.volumes,
                            read_file(os.path.join(programs_dir, "test_previous_mbr.bin")), work,
                            template)
        volume_of = {tag: (start, name) for v, start in zip(case.volumes, starts)
                     for name, tag in v.files.items()}
        if case.floppy is not None:
            floppy = os.path.join(work, "floppy.img")
            start = build_floppy(floppy, case.floppy, work, template, case.floppy_kib,
                                 partitioned=case.floppy_booted)
            volume_of.update({tag: (start, None) for tag in case.floppy.values()})
        hidden, reads_at_most = None, None
        if case.expect[0] == "loader":
            hidden, name = volume_of[case.expect[1]]
            if case.reads_bound:  # the gap sectors and the partition table, then the volume's
                reads_at_most = 2 + loader_reads(disk, hidden, name)
        starter = case.hook != 0 or any(v is not None for v in (
            case.start_ticks, case.type_ahead, case.memory_kib, case.start_drive))
        if starter:
            floppy = os.path.join(work, "starter.img")
            sector = bytearray(read_file(os.path.join(programs_dir, "test_starter.bin")))
            ticks = case.start_ticks if case.start_ticks is not None else 0xFFFFFFFF
            struct.pack_into("<IHHBB", sector, 3, ticks, case.type_ahead or 0,
                             case.memory_kib or 0, case.start_drive or 0, case.hook)
            with open(floppy, "wb") as f:
                f.write(sector)
                f.truncate(1440 * 1024)
        install(os.path.join(tools_dir, case.tool), case.flags,
                floppy if case.floppy_booted else disk, work)
        if case.edit:
            with open(disk, "r+b") as f:
                case.edit(f)
        deadline = time.monotonic() + BOOT_DEADLINE
        with Boot(qemu, work, disk, floppy, from_floppy=starter or case.floppy_booted) as boot:
            if case.key or case.min_wait:
                prompt_at = boot.wait_for(r"Press Space", deadline)
                if prompt_at is None:
                    return [f"no prompt; {boot.report()}"]
                if case.key:
                    boot.send_key(case.key)
            ended_at = boot.wait_for("|".join(MARKERS.values()), deadline)
            if ended_at is None:
                return [f"nothing booted within {BOOT_DEADLINE} s; {boot.report()}"]
            if case.expect[0] == "halt":
                time.sleep(QUIET_AFTER_HALT)
            return check(case, boot.text(), ended_at - prompt_at if case.min_wait else None,
                         hidden, reads_at_most)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--case", "--qemu", "--tools", "--programs"):
        parser.add_argument(option)
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    if args.list:
        print(";".join(c.name for c in CASES), end="")
        return 0
    case = next(c for c in CASES if c.name == args.case)
    started = time.monotonic()
    failures = run_case(case, args.qemu, os.path.abspath(args.tools), os.path.abspath(args.programs))
    for failure in failures:
        print(f"{case.name}: {failure}")
    print(f"{case.name}: {'FAIL' if failures else 'ok'} in {time.monotonic() - started:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
