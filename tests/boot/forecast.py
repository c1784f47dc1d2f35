"""The install report's forecast against the boot in QEMU: the partition and file that the tool
names are those the boot code loads (the test loader's tag, drive and volume start); where it
names none, the boot takes the fall-back the report names (a loader on the floppy, the previous
MBR, or the halt)."""
import json
import re

from disk_images import run, sector

LOADS = re.compile(r"启动时将载入 (主分区|逻辑分区) (\d+) \(FAT(\d+)\) 根目录中的 (\S+),大小 (\d+) 字节\.")
NO_ACTIVE = "注意: 分区表中没有活动分区;有些 BIOS 不从这样的 U 盘或硬盘启动."


def starts(path):
    """{("主分区" | "逻辑分区", number): start} as sfdisk reads the table."""
    parts = json.loads(run("sfdisk", "-J", path))["partitiontable"].get("partitions", [])
    numbers = [int(p["node"][len(path):]) for p in parts]
    return {("主分区", n) if n <= 4 else ("逻辑分区", n - 4): p["start"]
            for n, p in zip(numbers, parts)}


def failures(case, report, log, tool_disk, where):
    found = [f"report lacks {line!r}" for line in case.report or () if line not in report]
    active = any(sector(tool_disk, 0)[446 + 16 * i] == 0x80 for i in range(4))
    if (NO_ACTIVE in report) == active:
        found.append(f"the no-active-partition line where the table has{'' if active else ' no'} one")
    # The disk was changed after the install, or the prompt chose the previous MBR before any
    # search: the forecast does not speak of these.
    if case.edit or case.time_out or case.key not in (None, "spc"):
        return found
    booted = re.findall(r"BOOTED (\S+) (\S\S) \S+ \S\S (\S{8})", log)
    loads = LOADS.search(report)
    if loads:
        kind, number, bits, name, size = loads.groups()
        start = starts(tool_disk).get((kind, int(number)))
        sizes = {tag: (v.bits, (v.loader_kib or 40) << 10) for v in case.volumes
                 for tag in v.files.values()}
        sizes.update({tag: (12, 40 << 10) for tag in (case.floppy or {}).values()})
        want = [(tag, int(bits), int(size)) for tag, (s, n) in where.items()
                if s == start and n in (name, None) and sizes[tag] == (int(bits), int(size))]
        if not booted or want != [(booted[0][0], int(bits), int(size))] \
                or int(booted[0][2], 16) != start:  # the hidden sectors the boot code set
            found.append(f"report names {loads.group(0)!r}, the boot started {booted}")
        return found
    fallback = next((line for line in report.split("\n")
                     if line.startswith(("启动时将接着", "启动时不在"))), "")
    if booted and booted[0][0] != "previous":
        tag = booted[0][0]
        if booted[0][1] != "00" or where[tag][1] is not None or "软盘上找" not in fallback \
                or "启动时不在" in fallback:
            found.append(f"report says {fallback!r}, the boot started {tag} on drive {booted[0][1]}")
    elif ("将启动原来的 MBR" in fallback) != bool(booted):
        found.append(f"report says {fallback!r}, the boot {'started ' + str(booted) if booted else 'halted'}")
    return found
