"""End-to-end harness: drives Win32 programs under Wine through tarvo-uidriver.

The driver runs in its persistent mode (`tarvo-uidriver serve`) behind a pipe:
one command line in, one JSON reply line out (tools/uidriver/README.md).
Standard library only.

    with UiDriver(driver_exe) as ui:
        ui.start(app_exe, cwd=folder)
        ui.wait_window(title="Tarvo")
        ui.click(305, title="Tarvo")
        box = ui.wait_msgbox()
        ui.answer_msgbox("Yes")

Every call raises DriverError when the driver answers {"ok": false}.
"""
import json
import os
import queue
import shutil
import struct
import subprocess
import sys
import threading
import time
import zlib

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(REPO, "scripts", "wine-run.sh")

# Message box button ids (winuser.h).
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7
# Virtual-key codes for key().
VK_RETURN, VK_ESCAPE, VK_SPACE, VK_TAB = 0x0D, 0x1B, 0x20, 0x09


class DriverError(RuntimeError):
    """The driver refused a command or did not answer in time."""


def windows_path(path):
    """A host path as Wine sees it through drive Z: (the host's root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def quote(word):
    """Quotes one word of the driver's command line."""
    text = str(word)
    for a, b in (("\\", "\\\\"), ('"', '\\"'), ("\n", "\\n"), ("\r", "\\r"), ("\t", "\\t")):
        text = text.replace(a, b)
    return '"' + text + '"'


def ensure_display():
    """Re-runs this script under xvfb-run when there is no display."""
    if os.environ.get("DISPLAY") or os.environ.get("TARVO_NO_XVFB"):
        return
    xvfb = shutil.which("xvfb-run")
    if xvfb is None:
        sys.exit("no DISPLAY and no xvfb-run")
    os.environ["TARVO_NO_XVFB"] = "1"
    args = [xvfb, "-a", "-s", "-screen 0 1280x1024x24", sys.executable] + sys.argv
    sys.exit(subprocess.call(args))


def bmp_to_png(bmp_path, png_path):
    """Converts the driver's 24-bit bottom-up BMP to a PNG; returns (width, height)."""
    with open(bmp_path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{bmp_path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise ValueError(f"{bmp_path}: {bits}-bit BMP, expected 24")
    row_bytes = (width * 3 + 3) & ~3
    top_down = height < 0
    height = abs(height)
    raw = bytearray()
    for y in range(height):
        source_row = y if top_down else height - 1 - y
        start = offset + source_row * row_bytes
        row = data[start:start + width * 3]
        raw.append(0)
        for x in range(0, len(row), 3):
            raw += bytes((row[x + 2], row[x + 1], row[x]))

    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload
                + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(bytes(raw), 6))
           + chunk(b"IEND", b""))
    with open(png_path, "wb") as f:
        f.write(png)
    return width, height


def png_size(png_path):
    with open(png_path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


class UiDriver:
    """One tarvo-uidriver process in persistent mode, run through wine-run.sh."""

    def __init__(self, driver_exe, reply_timeout=60.0, log=None):
        self.reply_timeout = reply_timeout
        self.log = log
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all")
        self.process = subprocess.Popen(
            ["sh", WINE_RUN, driver_exe, "serve"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        self._replies = queue.Queue()
        self._reader = threading.Thread(target=self._read_replies, daemon=True)
        self._reader.start()

    def _read_replies(self):
        for line in self.process.stdout:
            self._replies.put(line.decode("utf-8", "replace"))
        self._replies.put(None)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        """Ends the driver (not the target: call kill() for that)."""
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.close()
                self.process.wait(timeout=20)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()

    def call(self, command, **options):
        """Sends one command; returns the reply as a dict, raises DriverError on failure.

        Options become `--key value`; a key's underscores become dashes, None is left out.
        """
        words = [command]
        for key, value in options.items():
            if value is None:
                continue
            words += ["--" + key.replace("_", "-"), quote(value)]
        line = " ".join(words)
        if self.log:
            self.log(f"> {line}")
        self.process.stdin.write(line.encode("utf-8") + b"\n")
        self.process.stdin.flush()
        try:
            text = self._replies.get(timeout=self.reply_timeout)
        except queue.Empty:
            raise DriverError(f"{command}: no reply within {self.reply_timeout} s") from None
        if text is None:
            raise DriverError(f"{command}: the driver ended")
        if self.log:
            self.log(f"< {text.strip()}")
        reply = json.loads(text)
        if not reply.get("ok"):
            raise DriverError(f"{command}: {reply.get('error')}")
        return reply

    # --- the target process ---
    def start(self, exe, cwd=None, args=None):
        """Starts a Windows program (host paths); returns its process id."""
        return self.call("start", exe=windows_path(exe), cwd=windows_path(cwd) if cwd else None,
                         args=args)["pid"]

    def attach(self, title=None, cls=None, timeout=0):
        return self.call("attach", title=title, **{"class": cls}, timeout=timeout)["pid"]

    def wait_exit(self, timeout=10000):
        """Waits for the target to end; returns its exit code."""
        return self.call("wait-exit", timeout=timeout)["exitCode"]

    def kill(self):
        self.call("kill")

    # --- windows ---
    def windows(self):
        return self.call("windows")["windows"]

    def wait_window(self, title=None, cls=None, timeout=10000):
        return self.call("wait-window", title=title, **{"class": cls}, timeout=timeout)["window"]

    def wait_gone(self, title=None, hwnd=None, timeout=10000):
        self.call("wait-gone", title=title, hwnd=hwnd, timeout=timeout)

    def controls(self, title=None, hwnd=None):
        return self.call("controls", title=title, hwnd=hwnd)["controls"]

    def close_window(self, title=None, hwnd=None):
        self.call("close", title=title, hwnd=hwnd)

    def sync(self, title=None, hwnd=None, timeout=5000):
        self.call("sync", title=title, hwnd=hwnd, timeout=timeout)

    # --- controls (window by title or hwnd; without either: the front window) ---
    def get_text(self, id=None, title=None, hwnd=None):
        return self.call("get-text", id=id, title=title, hwnd=hwnd)["text"]

    def set_text(self, id, text, title=None, hwnd=None):
        self.call("set-text", id=id, text=text, title=title, hwnd=hwnd)

    def click(self, id, title=None, hwnd=None):
        self.call("click", id=id, title=title, hwnd=hwnd)

    def state(self, id, title=None, hwnd=None):
        """{'text', 'checked', 'visible', 'enabled', 'control': {...}}"""
        return self.call("state", id=id, title=title, hwnd=hwnd)

    def set_check(self, id, value=True, title=None, hwnd=None):
        self.call("set-check", id=id, value=int(value), title=title, hwnd=hwnd)

    def combo(self, id, title=None, hwnd=None):
        return self.call("combo", id=id, title=title, hwnd=hwnd)

    def combo_select(self, id, index=None, text=None, title=None, hwnd=None):
        self.call("combo-select", id=id, index=index, text=text, title=title, hwnd=hwnd)

    def tabs(self, id, title=None, hwnd=None):
        return self.call("tabs", id=id, title=title, hwnd=hwnd)

    def tab_select(self, id, index=None, text=None, title=None, hwnd=None):
        self.call("tab-select", id=id, index=index, text=text, title=title, hwnd=hwnd)

    def wait_text(self, id, expected, title=None, hwnd=None, timeout=10.0):
        """Polls a control until its text equals `expected`; returns it, raises on timeout."""
        deadline = time.monotonic() + timeout
        while True:
            text = self.get_text(id, title=title, hwnd=hwnd)
            if text == expected:
                return text
            if time.monotonic() >= deadline:
                raise DriverError(f"control {id}: text {text!r}, expected {expected!r}")
            time.sleep(0.05)

    def key(self, vk, id=None, title=None, hwnd=None):
        """Posts a key press (virtual-key code) to a control or, without id, to the focused one."""
        self.call("key", vk=vk, id=id, title=title, hwnd=hwnd)

    def type_text(self, text, id=None, title=None, hwnd=None):
        """Posts WM_CHAR for each character, as typing does."""
        self.call("type", text=text, id=id, title=title, hwnd=hwnd)

    def command(self, id, code=0, title=None, hwnd=None):
        """Posts WM_COMMAND (id, code) to the window, as a control's notification."""
        self.call("command", id=id, code=code, title=title, hwnd=hwnd)

    # --- message boxes ---
    def msgbox(self):
        """The message box in front: {'caption', 'text', 'icon', 'buttons': [{'id', 'text'}], 'hwnd'}."""
        return self.call("msgbox")

    def wait_msgbox(self, timeout=10000):
        return self.call("wait-msgbox", timeout=timeout)

    def answer_msgbox(self, button=None, hwnd=None):
        """Presses a button by id (IDYES...) or text ("Yes"); None presses the only button."""
        self.call("answer-msgbox", button=button, hwnd=hwnd)

    # --- tree and list views ---
    def tree(self, id, title=None, hwnd=None):
        """Items in display order: {'item', 'depth', 'text', 'expanded', 'selected', 'children'}."""
        return self.call("tree", id=id, title=title, hwnd=hwnd)["items"]

    def tree_select(self, id, path=None, item=None, title=None, hwnd=None):
        """Selects an item by handle or by path (a list of texts from a root), expanding on the way."""
        self.call("tree-select", id=id, path="|".join(path) if path else None, item=item,
                  title=title, hwnd=hwnd)

    def tree_click_empty(self, id, title=None, hwnd=None):
        """Clicks the tree's empty space below its items, as a user does to clear the selection."""
        self.call("tree-click-empty", id=id, title=title, hwnd=hwnd)

    def tree_expand(self, id, path=None, item=None, expand=True, title=None, hwnd=None):
        self.call("tree-expand", id=id, path="|".join(path) if path else None, item=item,
                  expand=int(expand), title=title, hwnd=hwnd)

    def list_view(self, id, title=None, hwnd=None):
        """{'columns': [...], 'rows': [[...], ...], 'selected': index or -1}"""
        return self.call("list", id=id, title=title, hwnd=hwnd)

    def list_select(self, id, index, title=None, hwnd=None):
        self.call("list-select", id=id, index=index, title=title, hwnd=hwnd)

    # --- pictures ---
    def screenshot(self, png_path, title=None, hwnd=None, screen=False, client=False):
        """Saves the window (its client area only with client=True, or the whole
        screen) as a PNG; returns (width, height)."""
        bmp_path = os.path.splitext(png_path)[0] + ".bmp"
        self.call("screenshot", file=windows_path(bmp_path), title=title, hwnd=hwnd,
                  screen=1 if screen else None, client=1 if client else None)
        size = bmp_to_png(bmp_path, png_path)
        os.remove(bmp_path)
        return size
