"""Boot tests: disk images with our boot code installed, booted in QEMU; each case asserts
what booted (test loader, previous MBR or nothing) and what the boot code showed.

    boot_cases.py --list
    boot_cases.py --case NAME --build-dir DIR    (DIR: the host build, with the assembled
                                                  test loader, test MBR and the tools)
"""

import argparse
import os
import re
import sys
import tempfile
import time
from dataclasses import dataclass, field

from boot_images import Volume, build_disk, build_floppy
from boot_qemu import Boot, screen_text
from boot_install import install

BOOT_DEADLINE = 25.0  # seconds from QEMU's start to the end of a boot
QUIET_AFTER_HALT = 1.0  # after the halt message, how long nothing else may happen

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
    key: str | None = None  # sent once the prompt shows
    loader_kib: int = 40
    min_wait: float = 0.0  # the previous MBR must not start sooner after the prompt
    retype: int | None = None  # new type of entry 0, written after the install


def fat16(*files, decoys=(), logical=False, type=0x0E, mib=20):
    return Volume(fat=16, type=type, mib=mib, files=dict(files), decoys=decoys, logical=logical)


def fat12(*files, logical=False):
    return Volume(fat=12, type=0x01, mib=4, files=dict(files), logical=logical)


def fat32(*files, type=0x0C):
    return Volume(fat=32, type=type, mib=40, files=dict(files))


LINUX = Volume(fat=None, type=0x83, mib=2)

CASES = [
    Case("fat12", "grldrinst", [fat12(("GRLDR", "fat12"))],
         ("loader", "fat12", 0x80), "", floppy={"GRLDR": "floppy"}),
    Case("fat16_mtldr", "mtldrinst", [fat16(("MTLDR", "fat16"))],
         ("loader", "fat16", 0x80), ""),
    Case("fat32", "grldrinst", [fat32(("GRLDR", "fat32"))],
         ("loader", "fat32", 0x80), "", loader_kib=100),
    Case("second_primary", "grldrinst",
         [fat16(decoys=("GRLDR",)), fat32(("GRLDR", "second"), type=0x0B)],
         ("loader", "second", 0x80), ""),
    Case("logical", "mtldrinst",
         [LINUX, fat16(("GRLDR", "wrong-name")), fat12(logical=True),
          fat16(("MTLDR", "logical"), logical=True, type=0x06)],
         ("loader", "logical", 0x80), ""),
    Case("primary_before_logical", "grldrinst",
         [fat16(("GRLDR", "logical"), logical=True), fat16(("GRLDR", "primary"))],
         ("loader", "primary", 0x80), ""),
    Case("wrong_name_falls_back", "grldrinst", [fat16(("MTLDR", "mtldr"))],
         ("previous",), "GRLDR not found, booting the previous MBR", retype=0x06),
    Case("nothing_no_fallback", "grldrinst", [fat16()],
         ("halt",), "GRLDR not found and no previous MBR to boot. System halted.",
         flags=("--mbr-disable-osbr",)),
    Case("nothing_no_backup", "mtldrinst", [fat16()],
         ("halt",), "MTLDR not found and no previous MBR to boot. System halted.",
         flags=("--no-backup-mbr",)),
    Case("floppy", "grldrinst", [fat16()],
         ("loader", "floppy", 0x00), "", floppy={"GRLDR": "floppy"}),
    Case("floppy_disabled", "grldrinst", [fat16()],
         ("previous",), "GRLDR not found, booting the previous MBR",
         flags=("--mbr-disable-floppy",), floppy={"GRLDR": "floppy"}),
    Case("previous_first_space", "grldrinst", [fat16(("GRLDR", "space"))],
         ("loader", "space", 0x80), GRLDR_PROMPT.format(9),
         flags=("--boot-prevmbr-first", "--time-out=9"), key="spc"),
    Case("previous_first_other_key", "mtldrinst", [fat16(("MTLDR", "other"))],
         ("previous",), MTLDR_PROMPT.format(9),
         flags=("--boot-prevmbr-first", "--time-out=9"), key="a"),
    Case("previous_first_time_out", "grldrinst", [fat16(("GRLDR", "time-out"))],
         ("previous",), GRLDR_PROMPT.format(2),
         flags=("--boot-prevmbr-first", "--time-out=2"), min_wait=1.8),
]

MARKERS = {
    "loader": r"LOADER tag=\S+ DL=[0-9A-F]{2} SUM=\w+",
    "previous": r"PREVIOUS MBR DL=[0-9A-F]{2} TYPE0=[0-9A-F]{2}",
    "halt": r"System halted\.",
}


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


def check(case, log, elapsed_after_prompt):
    """The failures of one boot, as readable lines."""
    failures = []
    found = {kind: re.findall(pattern, log) for kind, pattern in MARKERS.items()}
    kind = case.expect[0]
    if kind == "loader":
        want = f"LOADER tag={case.expect[1]} DL={case.expect[2]:02X} SUM=OK"
        if found["loader"] != [want]:
            failures.append(f'expected "{want}", got {found["loader"]}')
    elif kind == "previous":
        # The previous MBR sees today's partition table, not the one saved with it.
        entry0 = case.retype if case.retype is not None else case.volumes[0].type
        want = f"PREVIOUS MBR DL=80 TYPE0={entry0:02X}"
        if found["previous"] != [want]:
            failures.append(f'expected "{want}", got {found["previous"]}')
    for other in MARKERS:
        if other != kind and found[other]:
            failures.append(f"unexpected {other}: {found[other]}")
    shown = screen_text(log)
    if shown is not None:
        shown = "\n".join(line for line in shown.split("\n")
                          if not re.match(MARKERS["loader"] + "|" + MARKERS["previous"], line))
        shown = shown.strip("\n")
    if shown != case.screen:
        failures.append(f'screen: expected "{case.screen}", got "{shown}"')
    if case.min_wait and (elapsed_after_prompt is None or elapsed_after_prompt < case.min_wait):
        failures.append(f"previous MBR started {elapsed_after_prompt} s after the prompt")
    return failures


def run_case(case, build_dir):
    boot_dir = os.path.join(build_dir, "tests", "boot")
    template = read_file(os.path.join(boot_dir, "test_loader.bin"))
    previous = read_file(os.path.join(boot_dir, "test_previous_mbr.bin"))
    with tempfile.TemporaryDirectory(prefix=f"boot-{case.name}-", dir=boot_dir) as work:
        disk = os.path.join(work, "disk.img")
        build_disk(disk, case.volumes, previous, work, template, case.loader_kib)
        floppy = None
        if case.floppy is not None:
            floppy = os.path.join(work, "floppy.img")
            build_floppy(floppy, case.floppy, work, template)
        install(build_dir, case.tool, case.flags, disk, work)
        if case.retype is not None:
            with open(disk, "r+b") as f:
                f.seek(446 + 4)
                f.write(bytes([case.retype]))

        deadline = time.monotonic() + BOOT_DEADLINE
        after_prompt = None
        with Boot(work, disk, floppy) as boot:
            if case.key or case.min_wait:
                prompt_at = boot.wait_for(r"Press Space", deadline)
                if prompt_at is None:
                    return [f"no prompt; log: {boot.text()!r}"]
                if case.key:
                    boot.send_key(case.key)
            end = "|".join(MARKERS.values())
            ended_at = boot.wait_for(end, deadline)
            if ended_at is None:
                return [f"nothing booted within {BOOT_DEADLINE} s; log: {boot.text()!r}"]
            if case.min_wait:
                after_prompt = ended_at - prompt_at
            if case.expect[0] == "halt":
                time.sleep(QUIET_AFTER_HALT)
            log = boot.text()
        return check(case, log, after_prompt)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--case")
    parser.add_argument("--build-dir")
    args = parser.parse_args()
    if args.list:
        print(";".join(c.name for c in CASES), end="")
        return 0
    case = next(c for c in CASES if c.name == args.case)
    started = time.monotonic()
    failures = run_case(case, os.path.abspath(args.build_dir))
    for failure in failures:
        print(f"{case.name}: {failure}")
    print(f"{case.name}: {'FAIL' if failures else 'ok'} in {time.monotonic() - started:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
