"""What the main dialog's end-to-end scenarios share: a private Wine prefix
whose drive letters each scenario lays out, a fresh program folder per run,
and a few checks on top of the UI driver harness."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import harness  # noqa: E402
from harness import DriverError, UiDriver  # noqa: E402

REPO = harness.REPO
TITLE = "Tarvo"
TAB_LABELS = ["CD-R/W Recording  ", "CD-RW Erase  ", "Create ISO file  ", "CD-ROM Info  "]


class Failures:
    """Collects failed checks, so one run reports every difference it saw."""

    def __init__(self):
        self.items = []

    def check(self, what, got, expected):
        if got != expected:
            self.items.append(f"{what}: got {got!r}, expected {expected!r}")
        return got == expected

    def fail(self, what):
        self.items.append(what)


class WinePrefix:
    """A Wine prefix of the scenarios' own, so that their drive letters do not
    disturb other tests. Created once (about 20 s) and kept in the build tree."""

    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all")
        self.env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
        subprocess.run(["sh", os.path.join(REPO, "scripts", "wine-prefix.sh")], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def set_drives(self, letters):
        """letters: {"d": ("cdrom" or "hd", host folder)}; every other letter
        from D: to Y: is removed. Wine re-reads its drives after a restart of
        its server."""
        devices = os.path.join(self.path, "dosdevices")
        lines = ["REGEDIT4", "", r"[HKEY_LOCAL_MACHINE\Software\Wine\Drives]"]
        for code in range(ord("d"), ord("z")):
            letter = chr(code)
            link = os.path.join(devices, letter + ":")
            if os.path.islink(link):
                os.remove(link)
            lines.append(f'"{letter}:"=-')
        for letter, (kind, folder) in letters.items():
            os.makedirs(folder, exist_ok=True)
            os.symlink(os.path.abspath(folder), os.path.join(devices, letter + ":"))
            lines.append(f'"{letter}:"="{kind}"')
        reg = os.path.join(self.path, "tarvo-drives.reg")
        with open(reg, "w") as f:
            f.write("\r\n".join(lines) + "\r\n")
        self.wine(["regedit", "/S", harness.windows_path(reg)])
        self.stop_server()

    def wine(self, args):
        subprocess.run(["wine"] + args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop_server(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)


def program_folder(tarvo_exe, extra=()):
    """A fresh, empty program folder holding Tarvo.exe (and `extra` files)."""
    folder = tempfile.mkdtemp(prefix="tarvo-dialog-")
    shutil.copy(tarvo_exe, folder)
    for path in extra:
        shutil.copy(path, folder)
    return folder


def driver(args, prefix, dll_overrides=None):
    """A UI driver in the prefix; Tarvo started by it inherits its environment."""
    os.environ["WINEPREFIX"] = prefix.path
    os.environ["WINEDLLOVERRIDES"] = dll_overrides or "mscoree,mshtml="
    return UiDriver(args.driver)


def next_msgbox(ui, previous=None, timeout=20.0):
    """The message box in front once it is not `previous` (an answered box may
    still be on its way out)."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            box = ui.msgbox()
            if box["hwnd"] != previous:
                return box
        except DriverError:
            pass
        if time.monotonic() >= deadline:
            raise DriverError(f"no message box within {timeout} s")
        time.sleep(0.1)


def no_msgbox_for(ui, seconds):
    """None when no message box shows up within `seconds`, else the box."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            return ui.msgbox()
        except DriverError:
            time.sleep(0.1)
    return None


def answer(ui, box, button=None):
    ui.answer_msgbox(button, hwnd=box["hwnd"])
    ui.wait_gone(hwnd=box["hwnd"])


def main_dialog(ui, timeout=20000):
    """The main dialog's handle (its class is named by the title)."""
    return ui.wait_window(cls=TITLE, timeout=timeout)["hwnd"]


def wait_until(what, probe, expected, timeout=15.0):
    """Polls probe() until it returns `expected`; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        got = probe()
        if got == expected or time.monotonic() >= deadline:
            return got
        time.sleep(0.1)
