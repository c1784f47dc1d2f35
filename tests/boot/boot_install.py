"""Puts the boot code onto a test disk image with the installer tool, as a person would."""

import os
import subprocess


def install(tool, flags, disk, workdir):
    device_map = os.path.join(workdir, "device.map")
    with open(device_map, "w") as f:
        f.write(f"(hd0) {disk}\n")
    result = subprocess.run([tool, *flags, "(hd0)"],
                            cwd=workdir, env=dict(os.environ, BOOTDECK_DEVICE_MAP=device_map),
                            capture_output=True, timeout=60)
    output = result.stdout.decode("utf-8", "replace")
    if result.returncode != 0 or "恭喜您,安装成功!" not in output:
        errors = result.stderr.decode("utf-8", "replace")
        raise RuntimeError(f"{os.path.basename(tool)} {' '.join(flags)} failed "
                           f"({result.returncode}): {output}{errors}")
