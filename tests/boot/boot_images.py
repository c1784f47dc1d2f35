"""Disk and floppy images for the boot tests, built with sfdisk, mkfs.fat and mtools."""

import json
import os
import random
import struct
import subprocess
from dataclasses import dataclass, field

SECTOR = 512
MTOOLS_ENV = dict(os.environ, MTOOLS_SKIP_CHECK="1", MTOOLS_NO_VFAT="1")


@dataclass
class Volume:
    """One partition. `files` maps a root-folder name to the tag of the test loader put there;
    `decoys` are root-folder names made folders, which the search must pass over; a filler of
    `filler_kib` goes in first, so that the loader's clusters come after it."""

    fat: int | None  # 12, 16, 32, or None for a partition that holds no FAT
    type: int
    mib: int
    files: dict = field(default_factory=dict)
    decoys: tuple = ()
    logical: bool = False
    filler_kib: int = 0
    loader_kib: int = 40
    # The boot sector's hidden-sectors field counts from the volume's EBR, as DOS-era formatters
    # wrote it for logical drives, not from the disk's start.
    hidden_from_ebr: bool = False


def run(args, **kwargs):
    subprocess.run(args, check=True, capture_output=True, env=MTOOLS_ENV, **kwargs)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def loader_file(template, tag, size, seed):
    """The test loader with its tag, padded to `size` bytes with noise, its checksum fixed."""
    assert template[3:10] == b"TESTLDR"
    data = bytearray(template)
    tag_bytes = tag.encode() + b"\0"
    assert len(tag_bytes) <= 24
    data[16 : 16 + len(tag_bytes)] = tag_bytes
    noise = random.Random(seed)
    data += bytes(noise.randrange(256) for _ in range(size - len(data)))
    struct.pack_into("<IH", data, 10, len(data), 0)
    total = sum(struct.unpack_from(f"<{len(data) // 2}H", data)) & 0xFFFF
    struct.pack_into("<H", data, 14, (0x10000 - total) & 0xFFFF)
    return bytes(data)


def _fill_volume(image, offset_bytes, volume, workdir, template):
    """Copies the volume's files, fragmenting each loader around a freed gap so that its chain
    is not one straight run."""
    target = f"{image}@@{offset_bytes}"
    for decoy in volume.decoys:
        run(["mmd", "-i", target, f"::{decoy}"])
    filler = os.path.join(workdir, "filler")
    if volume.filler_kib:
        write(filler, b"\x55" * volume.filler_kib * 1024)
        run(["mcopy", "-i", target, filler, "::FILLER"])
    for name, tag in volume.files.items():
        write(filler, b"\xaa" * 4096)
        run(["mcopy", "-i", target, filler, "::GAP"])
        run(["mcopy", "-i", target, filler, "::AFTERGAP"])
        run(["mdel", "-i", target, "::GAP"])
        path = os.path.join(workdir, f"loader-{tag}")
        write(path, loader_file(template, tag, volume.loader_kib * 1024, tag))
        run(["mcopy", "-i", target, path, f"::{name}"])


def _ebrs(path):
    """The start of each logical partition, mapped to the LBA of its extended boot record."""
    with open(path, "rb") as f:
        def entry(lba, index):
            f.seek(lba * SECTOR + 446 + 16 * index)
            raw = f.read(16)
            return raw[4], struct.unpack_from("<I", raw, 8)[0]

        extended = [start for kind, start in (entry(0, i) for i in range(4)) if kind == 0x05]
        ebr, found = (extended[0] if extended else 0), {}
        while ebr:
            found[ebr + entry(ebr, 0)[1]] = ebr
            kind, link = entry(ebr, 1)
            ebr = extended[0] + link if kind == 0x05 and link else 0
        return found


def build_disk(path, volumes, previous_mbr, workdir, template):
    """A hard disk: a DOS partition table with the volumes (logical ones inside one extended
    partition that follows the primary ones before it), and `previous_mbr`'s code in sector 0.
    Returns each volume's first LBA, in the order of `volumes`."""
    total_mib = 2 + sum(v.mib + 1 for v in volumes) + 2
    with open(path, "wb") as f:
        f.truncate(total_mib * 1024 * 1024)
    lines, order, primary, logical = ["label: dos"], [], 1, 5
    name = os.path.basename(path)
    logical_mib = sum(v.mib + 1 for v in volumes if v.logical)
    for v in volumes:
        if v.logical and logical == 5:
            lines.append(f"{name}{primary} : size={logical_mib * 2048}, type=5")
            primary += 1
        number = logical if v.logical else primary
        lines.append(f"{name}{number} : size={v.mib * 2048}, type={v.type:x}")
        order.append(f"{name}{number}")
        logical, primary = (logical + 1, primary) if v.logical else (logical, primary + 1)
    run(["sfdisk", "-q", path], input="\n".join(lines).encode() + b"\n")
    listing = subprocess.run(["sfdisk", "-J", path], check=True, capture_output=True).stdout
    starts = {p["node"].rsplit("/", 1)[-1]: (p["start"], p["size"])
              for p in json.loads(listing)["partitiontable"]["partitions"]}
    ebrs = _ebrs(path)
    for node, v in zip(order, volumes):
        if v.fat is None:
            continue
        start, size = starts[node]
        hidden = start - ebrs[start] if v.hidden_from_ebr else start
        # -s 1 on FAT32: enough clusters to be FAT32 by count on a small volume.
        run(["mkfs.fat", "-F", str(v.fat), "--invariant", "-n", "TESTVOL"]
            + (["-s", "1"] if v.fat == 32 else [])
            + ["--offset", str(start), "-h", str(hidden), path, str(size * SECTOR // 1024)])
        _fill_volume(path, start * SECTOR, v, workdir, template)
    with open(path, "r+b") as f:
        f.write(previous_mbr[:440])
    return [starts[node][0] for node in order]


def loader_reads(path, start, name):
    """The read calls that finding and loading the file `name` from the root folder of the
    FAT12/16 volume at LBA `start` needs at most, one a sector or cluster: its boot sector, the
    root folder's sectors up to the file's entry, the FAT sectors that its chain goes through
    (the last cluster's entry is not needed) and its clusters."""
    with open(path, "rb") as f:
        def read(lba, count):
            f.seek((start + lba) * SECTOR)
            return f.read(count * SECTOR)

        bpb = read(0, 1)
        cluster, reserved, fats, entries, total, fat_size = struct.unpack_from("<BHBHHxH", bpb, 13)
        total = total or struct.unpack_from("<I", bpb, 32)[0]
        folder_sectors = (entries * 32 + SECTOR - 1) // SECTOR
        folder = read(reserved + fats * fat_size, folder_sectors)
        data = reserved + fats * fat_size + folder_sectors
        fat12 = (total - data) // cluster < 4085
        entry = name.ljust(11).encode()
        index = next(i for i in range(entries) if folder[32 * i : 32 * i + 11] == entry)
        first, size = struct.unpack_from("<HI", folder, 32 * index + 26)
        fat = read(reserved, fat_size)
        clusters = (size + cluster * SECTOR - 1) // (cluster * SECTOR)
        fat_sectors, at = set(), first
        for _ in range(clusters - 1):
            offset = at * 3 // 2 if fat12 else at * 2
            fat_sectors.add(offset // SECTOR)
            value = struct.unpack_from("<H", fat, offset)[0]
            at = (value >> 4 if at & 1 else value & 0xFFF) if fat12 else value
        return 1 + index // 16 + 1 + len(fat_sectors) + clusters


FLOPPY_PARTITION = 63  # where a partitioned floppy's one partition starts


def build_floppy(path, files, workdir, template, kib=1440, partitioned=False):
    """A FAT12 floppy of `kib` KiB (1440 or 720), no partition table; or, `partitioned`, a
    partition table with one FAT12 partition, as on a USB stick that the BIOS treats as a floppy.
    Returns the FAT volume's first LBA."""
    if not partitioned:
        run(["mkfs.fat", "-C", "--invariant", "-n", "TESTFLOPPY", path, str(kib)])
        _fill_volume(path, 0, Volume(fat=12, type=0, mib=0, files=files), workdir, template)
        return 0
    with open(path, "wb") as f:
        f.truncate(kib * 1024)
    run(["sfdisk", "-q", path], input=f"label: dos\nstart={FLOPPY_PARTITION}, type=1\n".encode())
    start = FLOPPY_PARTITION
    run(["mkfs.fat", "-F", "12", "--invariant", "-n", "TESTFLOPPY", "--offset", str(start),
         "-h", str(start), path, str(kib - start * SECTOR // 1024 - 1)])
    _fill_volume(path, start * SECTOR, Volume(fat=12, type=1, mib=0, files=files), workdir,
                 template)
    return start
