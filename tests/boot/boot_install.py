"""Puts the boot code onto a test disk image with the installer tool, as a person would."""

import os
import subprocess


def install(build_dir, tool, flags, disk, workdir):
    device_map = os.path.join(workdir, "device.map")
    with open(device_map, "w") as f:
        f.write(f"(hd0) {disk}\n")
    result = subprocess.run([os.path.join(build_dir, "installer", tool), *flags, "(hd0)"],
                            cwd=workdir, env=dict(os.environ, BOOTDECK_DEVICE_MAP=device_map),
                            capture_output=True, timeout=60)
    output = result.stdout.decode("utf-8", "replace")
    if result.returncode != 0 or "恭喜您,安装成功!" not in output:
        raise RuntimeError(f"{tool} {' '.join(flags)} failed ({result.returncode}): {output}"
                           f"{result.stderr.decode('utf-8', 'replace')}")
