"""Boots disk images in QEMU (TCG, SeaBIOS) and reads what happened from COM1.

With no VGA, SeaBIOS mirrors INT 10h text to the serial port, so the log holds both what the
boot code shows on screen and the markers that the test loader and test MBR print."""

import os
import re
import socket
import subprocess
import time

ANSI = re.compile(rb"\x1b(\[[0-9;?]*[A-Za-z]|c)")
BIOS_BANNER_END = re.compile(r"Booting from [^\r\n]*\.\.\.")


class Boot:
    def __init__(self, qemu, workdir, disk, floppy=None, from_floppy=False):
        self.log_path = os.path.join(workdir, "serial.log")
        self.monitor_path = os.path.join(workdir, "monitor.sock")
        args = [qemu, "-accel", "tcg", "-m", "32", "-nographic", "-vga", "none", "-nic", "none",
                "-no-reboot", "-serial", f"file:{self.log_path}",
                "-monitor", f"unix:{self.monitor_path},server,nowait",
                "-drive", f"file={disk},format=raw,if=ide,index=0",
                "-boot", "order=a" if from_floppy else "order=c",
                # A 1.44 MB drive, whatever disk is in it (AH=08h then tells its largest format).
                "-global", "isa-fdc.fdtypeA=144"]
        if floppy:
            args += ["-drive", f"file={floppy},format=raw,if=floppy,index=0"]
        self.started = time.monotonic()
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE)

    def text(self):
        """The serial log so far, escape sequences removed."""
        if not os.path.exists(self.log_path):
            return ""
        with open(self.log_path, "rb") as f:
            return ANSI.sub(b"", f.read()).decode("latin-1")

    def wait_for(self, pattern, deadline):
        """Polls the log until `pattern` (a regex) matches or `deadline` (monotonic) passes.
        Returns the match's time since the start, or None."""
        regex = re.compile(pattern)
        while time.monotonic() < deadline:
            if regex.search(self.text()):
                return time.monotonic() - self.started
            if self.process.poll() is not None:
                return None
            time.sleep(0.05)
        return None

    def send_key(self, key, timeout=10.0):
        """Types `key` through the monitor and waits until the monitor has carried it out."""
        with socket.socket(socket.AF_UNIX) as s:
            s.settimeout(timeout)
            s.connect(self.monitor_path)
            s.sendall(f"sendkey {key}\n".encode())
            received = b""
            while received.count(b"(qemu) ") < 2:
                chunk = s.recv(4096)
                if not chunk:
                    break
                received += chunk

    def report(self):
        """The log, and QEMU's complaints when it ended on its own, for a failure message."""
        text = f"log: {self.text()!r}"
        if self.process.poll() is not None:
            text += f"; qemu ended ({self.process.returncode}): {self.process.stderr.read()!r}"
        return text

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.process.kill()
        self.process.wait()


def screen_text(log):
    """What the boot code showed: the text after the BIOS's last line, lines joined by \n."""
    banners = list(BIOS_BANNER_END.finditer(log))
    if not banners:
        return None
    shown = log[banners[-1].end():]
    return "\n".join(line.rstrip() for line in shown.replace("\r", "").split("\n")).strip("\n")
