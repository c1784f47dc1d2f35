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


def build_disk(path, volumes, previous_mbr, workdir, template):
    """A hard disk: a DOS partition table with the volumes (logical ones inside one extended
    partition that follows the primary ones before it), and `previous_mbr`'s code in sector 0."""
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
    for node, v in zip(order, volumes):
        if v.fat is None:
            continue
        start, size = starts[node]
        # -s 1 on FAT32: enough clusters to be FAT32 by count on a small volume.
        run(["mkfs.fat", "-F", str(v.fat), "--invariant", "-n", "TESTVOL"]
            + (["-s", "1"] if v.fat == 32 else [])
            + ["--offset", str(start), "-h", str(start), path, str(size * SECTOR // 1024)])
        _fill_volume(path, start * SECTOR, v, workdir, template)
    with open(path, "r+b") as f:
        f.write(previous_mbr[:440])


def build_floppy(path, files, workdir, template):
    """A 1.44 MB FAT12 floppy, no partition table."""
    run(["mkfs.fat", "-C", "--invariant", "-n", "TESTFLOPPY", path, "1440"])
    _fill_volume(path, 0, Volume(fat=12, type=0, mib=0, files=files), workdir, template)
