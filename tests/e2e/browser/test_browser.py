"""The compilation browser under Wine and Xvfb, driven by the UI driver.

browser-host stands in for the main dialog: it holds the drive list, the poll
timer and the gauge line, and opens the browser with its button 300. Each
scenario lays out the Wine drive letters it needs in a prefix of its own:
E: a hard disk holding the prepared source folder, D: a CD-ROM whose folder
plays the virtual recorder's mirror of the disc's last session."""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, HERE)
import harness  # noqa: E402
from harness import DriverError, UiDriver  # noqa: E402
from list_reader import CREATED, LOCAL, MARKER, RECORDED, outline, read_list  # noqa: E402

BROWSER = "Burn to CD"
HOST = "BrowserHost"
SOURCE, DISC, STATUS = 500, 501, 11
ADD, LOAD, SAVE_AS, SAVE, NEW_DIRECTORY, REMOVE = 600, 601, 602, 603, 604, 605
BLANK = 359849 * 2048
RECORDED_REFUSAL_START = "You can't Add To directories and files which was recorded before.\nNotes: "
NAME_TAKEN = ("This directory already exist. You must set a new name or remove existing directory with the "
              "same name.")
SELECT_SOURCE = "First you must select an file or folder form the Left Tree view to Add"
DRIVE_QUESTION = "Do you want to create an directory, where to place all files in the current drive"
REMOVE_RECORDED_START = "Removing previously recorded files you will not be able to view or access this files"


class Failures:
    def __init__(self):
        self.items = []

    def check(self, what, got, expected):
        if got != expected:
            self.items.append(f"{what}: got {got!r}, expected {expected!r}")
        return got == expected


class Prefix:
    """A Wine prefix of these scenarios, whose drive letters each one sets."""

    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run(["sh", os.path.join(harness.REPO, "scripts", "wine-prefix.sh")], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def set_drives(self, letters):
        devices = os.path.join(self.path, "dosdevices")
        lines = ["REGEDIT4", "", r"[HKEY_LOCAL_MACHINE\Software\Wine\Drives]"]
        for code in range(ord("d"), ord("y") + 1):
            link = os.path.join(devices, chr(code) + ":")
            if os.path.islink(link):
                os.remove(link)
            lines.append(f'"{chr(code)}:"=-')
        for letter, (kind, folder) in letters.items():
            os.symlink(os.path.abspath(folder), os.path.join(devices, letter + ":"))
            lines.append(f'"{letter}:"="{kind}"')
        reg = os.path.join(self.path, "browser-drives.reg")
        with open(reg, "w") as f:
            f.write("\r\n".join(lines) + "\r\n")
        subprocess.run(["wine", "regedit", "/S", harness.windows_path(reg)], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)
        os.environ.update(WINEPREFIX=self.path, WINEDLLOVERRIDES="mscoree,mshtml=")


def write(path, size, fill=b"x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(fill * size)


def prepare_source(root):
    """The source drive E:."""
    write(os.path.join(root, "hello"), 1000)
    write(os.path.join(root, "docs", "readme.txt"), 300)
    write(os.path.join(root, "docs", "sub", "a.txt"), 20)
    write(os.path.join(root, "docs", ".git", "config"), 7)
    write(os.path.join(root, "docs", "WIN386.SWP"), 50)
    write(os.path.join(root, "docs", ".profile"), 5)
    os.makedirs(os.path.join(root, "void"))
    write(os.path.join(root, "other", "DOCS", "x.txt"), 1)
    write(os.path.join(root, ".cache", "junk"), 3)


def texts(items, depth=None):
    return [i["text"] for i in items if depth is None or i["depth"] == depth]


def children_of(items, root_text):
    """The items one level below the root item `root_text`."""
    below, inside = [], False
    for i in items:
        if i["depth"] == 0:
            inside = i["text"] == root_text
        elif inside and i["depth"] == 1:
            below.append(i)
    return below


def disc_outline(ui):
    return [(i["depth"], i["text"]) for i in ui.tree(DISC, title=BROWSER)]


def host_figures(ui):
    """(ticks, timer running, used, free) as browser-host shows them."""
    ui.command(301, title=HOST)
    ui.sync(title=HOST)
    ticks, running, used, free = ui.get_text(900, title=HOST).split()
    return int(ticks), running == "1", int(used), int(free)


def host_list_path(ui):
    """currentListPath as browser-host shows it."""
    ui.command(301, title=HOST)
    ui.sync(title=HOST)
    return ui.get_text(902, title=HOST)


def wait_box(ui, timeout=20000):
    box = ui.wait_msgbox(timeout=timeout)
    return box


def answer(ui, box, button=None):
    ui.answer_msgbox(button, hwnd=box["hwnd"])
    ui.wait_gone(hwnd=box["hwnd"])


def expect_box(ui, f, what, text, icon="stop", button=None, starts=False):
    box = wait_box(ui)
    got = box["text"][:len(text)] if starts else box["text"]
    f.check(f"{what}: text", got, text)
    f.check(f"{what}: caption", box["caption"], "Tarvo")
    f.check(f"{what}: icon", box["icon"], icon)
    answer(ui, box, button)
    ui.sync(title=BROWSER)


def clear_disc_selection(ui):
    """Clicks the disc tree's empty space, the user's way to add at the root.
    Twice, as the program's own advice says ("click ones or twice"): a tree
    that gets the focus with nothing selected selects its first item, so the
    first click may only focus it."""
    ui.tree_click_empty(DISC, title=BROWSER)
    ui.tree_click_empty(DISC, title=BROWSER)
    selected = [i["text"] for i in ui.tree(DISC, title=BROWSER) if i["selected"]]
    if selected:
        raise AssertionError(f"a click on empty space left {selected} selected")


def name_dialog(ui, f, expected, name):
    dialog = ui.wait_window(title="Tarvo - New Directory")
    f.check("name dialog proposes", ui.get_text(2103, hwnd=dialog["hwnd"]), expected)
    if name is None:
        ui.click(2, hwnd=dialog["hwnd"])
    else:
        ui.set_text(2103, name, hwnd=dialog["hwnd"])
        ui.click(1, hwnd=dialog["hwnd"])
    ui.wait_gone(hwnd=dialog["hwnd"])
    ui.sync(title=BROWSER)


def open_browser(ui):
    ui.click(300, title=HOST)
    ui.wait_window(title=BROWSER)
    ui.sync(title=BROWSER)
    deadline = time.monotonic() + 10
    while not ui.tree(SOURCE, title=BROWSER) and time.monotonic() < deadline:
        time.sleep(0.1)


def start_host(ui, args, folder, page, first, recorder, disc):
    ui.start(args.host, cwd=folder,
             args=f"--page {page} --first {first} --recorder {recorder} --disc {disc[0]},{disc[1]},{disc[2]}")
    ui.wait_window(title=HOST)


def scenario_recording(ui, args, work, f):
    """Recording page: expand, add a file, a folder, a drive with and
    without a holding directory, refusals, New directory, Remove, >>SAVE<<."""
    program = os.path.join(work, "program")
    os.makedirs(os.path.join(program, "datacd"))
    write(os.path.join(program, "defiso01.dat"), 10)  # left from an earlier run: deleted on opening
    start_host(ui, args, program, 0, "D", "D", (BLANK, 0, BLANK))
    open_browser(ui)
    f.check("the poll timer stops while the browser is open", host_figures(ui)[1], False)
    f.check("nothing added since the disc was read: the old default list is deleted",
            os.path.exists(os.path.join(program, "defiso01.dat")), False)

    ui.sync(title=BROWSER)
    source = ui.tree(SOURCE, title=BROWSER)
    drives = texts(source, 0)
    f.check("drive items", [d.split(" ")[0] for d in drives][:3], ["C:\\", "D:\\", "E:\\"])
    f.check("a CD drive's tag", drives[1], "D:\\ [ CD-ROM ]")
    selected = [i["text"] for i in source if i["selected"]]
    f.check("the first opening restores C:\\ and selects drive C", [s.split(" ")[0] for s in selected], ["C:\\"])
    try:
        ui.tree_expand(SOURCE, path=[drives[1]], title=BROWSER)
        f.items.append("the recorder's drive, first in the drive list, expanded on the recording page")
    except DriverError:
        pass

    ui.tree_expand(SOURCE, path=[drives[2]], title=BROWSER)
    e_items = children_of(ui.tree(SOURCE, title=BROWSER), drives[2])
    f.check("E: listed, sorted, dot-directories left out", [i["text"] for i in e_items],
            ["docs", "hello", "other", "void"])
    f.check("a directory with entries shows a button, an empty one none",
            {i["text"]: i["children"] for i in e_items if i["text"] in ("docs", "void")},
            {"docs": True, "void": False})

    # A file, at the root.
    ui.tree_select(SOURCE, path=[drives[2], "hello"], title=BROWSER)
    before = host_figures(ui)
    ui.click(ADD, title=BROWSER)
    ui.sync(title=BROWSER)
    after = host_figures(ui)
    f.check("adding a 1,000-byte file named with 5 characters charges 1,005", after[2] - before[2], 1005)
    f.check("and lowers free by the same", before[3] - after[3], 1005)
    f.check("disc tree after adding a file", disc_outline(ui), [(0, "hello")])

    # A folder: walked, dot-folders and WIN386.SWP skipped, dot-files kept.
    ui.tree_select(SOURCE, path=[drives[2], "docs"], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    ui.sync(title=BROWSER)
    f.check("disc tree after adding a folder", disc_outline(ui),
            [(0, "docs"), (1, ".profile"), (1, "readme.txt"), (1, "sub"), (2, "a.txt"), (0, "hello")])

    # Refusals.
    ui.tree_select(SOURCE, path=[drives[2], "other", "DOCS"], title=BROWSER)
    clear_disc_selection(ui)
    ui.click(ADD, title=BROWSER)
    expect_box(ui, f, "a name used in another letter case", NAME_TAKEN)
    ui.tree_select(SOURCE, item=0, title=BROWSER)
    ui.click(ADD, title=BROWSER)
    expect_box(ui, f, "nothing selected in the source tree", SELECT_SOURCE)

    # Space and Enter toggle the selected source item; listing it on the way.
    ui.tree_select(SOURCE, path=[drives[2], "docs"], title=BROWSER)
    ui.key(harness.VK_SPACE, id=SOURCE, title=BROWSER)
    ui.sync(title=BROWSER)
    docs = [i for i in ui.tree(SOURCE, title=BROWSER) if i["text"] == "docs"][0]
    f.check("Space expands the selected directory", docs["expanded"], True)
    items = ui.tree(SOURCE, title=BROWSER)
    at = next(n for n, i in enumerate(items) if i["text"] == "docs")
    listed = []
    for i in items[at + 1:]:
        if i["depth"] <= items[at]["depth"]:
            break
        if i["depth"] == items[at]["depth"] + 1:
            listed.append(i["text"])
    f.check("and lists it: files of every kind, no dot-directories", sorted(listed),
            sorted([".profile", "readme.txt", "sub", "WIN386.SWP"]))
    ui.key(harness.VK_RETURN, id=SOURCE, title=BROWSER)
    ui.sync(title=BROWSER)
    docs = [i for i in ui.tree(SOURCE, title=BROWSER) if i["text"] == "docs"][0]
    f.check("Enter collapses it", docs["expanded"], False)

    # New directory: second inside a directory, sorted at the root.
    ui.tree_select(DISC, path=["docs"], title=BROWSER)
    ui.click(NEW_DIRECTORY, title=BROWSER)
    name_dialog(ui, f, "", "Zeta")
    clear_disc_selection(ui)
    ui.click(NEW_DIRECTORY, title=BROWSER)
    name_dialog(ui, f, "", "Alpha")
    ui.click(NEW_DIRECTORY, title=BROWSER)
    name_dialog(ui, f, "", None)
    f.check("New directory lands second inside a directory and sorted at the root", disc_outline(ui),
            [(0, "Alpha"), (0, "docs"), (1, ".profile"), (1, "Zeta"), (1, "readme.txt"), (1, "sub"), (2, "a.txt"),
             (0, "hello")])

    # A whole drive into a holding directory, and straight into Alpha.
    clear_disc_selection(ui)
    ui.tree_select(SOURCE, path=[drives[2]], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    expect_box(ui, f, "drive question", DRIVE_QUESTION, icon="question", button="Yes")
    name_dialog(ui, f, "DRIVE_E", "DRIVE_E")
    ui.tree_select(DISC, path=["Alpha"], title=BROWSER)
    ui.tree_select(SOURCE, path=[drives[2]], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    expect_box(ui, f, "drive question, No", DRIVE_QUESTION, icon="question", button="No")
    shape = disc_outline(ui)
    drive_content = [(1, "docs"), (2, ".profile"), (2, "readme.txt"), (2, "sub"), (3, "a.txt"), (1, "hello"),
                     (1, "other"), (2, "DOCS"), (3, "x.txt"), (1, "void")]
    f.check("drive E: in Alpha without, and in DRIVE_E with a holding directory", shape,
            [(0, "Alpha")] + drive_content + [(0, "docs"), (1, ".profile"), (1, "Zeta"), (1, "readme.txt"),
                                              (1, "sub"), (2, "a.txt"), (0, "DRIVE_E")] + drive_content +
            [(0, "hello")])

    # Remove gives back what the entries carry.
    before = host_figures(ui)
    ui.tree_select(DISC, path=["hello"], title=BROWSER)
    ui.click(REMOVE, title=BROWSER)
    ui.sync(title=BROWSER)
    after = host_figures(ui)
    f.check("removing the 1,000-byte file gives back 1,001", before[2] - after[2], 1001)
    before = after
    ui.tree_select(DISC, path=["docs", "Zeta"], title=BROWSER)
    ui.click(REMOVE, title=BROWSER)
    ui.sync(title=BROWSER)
    f.check("removing a New directory gives back 2,048", before[2] - host_figures(ui)[2], 2048)

    os.makedirs(args.artefacts, exist_ok=True)
    ui.tree_expand(DISC, path=["docs"], title=BROWSER)
    ui.screenshot(os.path.join(args.artefacts, "browser-compilation.png"), title=BROWSER, client=True)
    shown = disc_outline(ui)

    # >>SAVE<< writes defiso01.dat, closes the browser and restarts the timer.
    ui.click(SAVE, title=BROWSER)
    ui.wait_gone(title=BROWSER)
    saved = os.path.join(program, "defiso01.dat")
    level_count, capacity, records = read_list(saved)
    f.check("saved list mirrors the disc tree", [(level, name) for level, name in outline(records)], shown)
    directories = [r for r in records if r["attributes"] & 0x10 and r["kind"] != MARKER]
    f.check("directoryCapacity", capacity, len(directories) + 10)
    f.check("levelCount", level_count, max(r["level"] for r in records) + 1)
    hello_records = [r for r in records if r["name"] == "readme.txt"]
    f.check("a file's source path and size", [(r["path"], r["size"], r["kind"]) for r in hello_records][:1],
            [("E:\\docs\\", 300, LOCAL)])
    f.check("New and holding directories are Created",
            sorted(r["name"] for r in records if r["kind"] == CREATED), ["Alpha", "DRIVE_E"])
    f.check("currentListPath after >>SAVE<<", host_list_path(ui),
            harness.windows_path(program) + "\\defiso01.dat")
    ticks, running, used, _ = host_figures(ui)
    f.check("the poll timer runs again", running, True)
    time.sleep(3.5)
    f.check("and ticks", host_figures(ui)[0] > ticks, True)
    line = ui.get_text(501, title=HOST)
    f.check("the gauge line shows the new used figure", line.startswith(f"CD->MB   Total: 702   Free: "), True)

    # Reopened with something added: the default list comes back.
    open_browser(ui)
    f.check("reopening loads the default list", disc_outline(ui)[:len(shown)], [
        (d, t) for d, t in shown])
    f.check("the used figure is kept across openings", host_figures(ui)[2], used)
    f.check("the source path last selected is restored",
            [i["text"] for i in ui.tree(SOURCE, title=BROWSER) if i["selected"]], [drives[2]])

    # SaveAs through the file dialog, then Load, and cancelling both.
    copy = os.path.join(program, "datacd", "copy.dat")
    write(copy, 31, b"\0")  # the save dialog accepts only an existing file
    ui.click(SAVE_AS, title=BROWSER)
    dialog = ui.wait_window(title="Save As File list")
    ui.click(2, hwnd=dialog["hwnd"])
    ui.wait_gone(hwnd=dialog["hwnd"])
    f.check("cancelled SaveAs keeps currentListPath", host_list_path(ui),
            harness.windows_path(program) + "\\defiso01.dat")
    save_as(ui, f, "Save As File list", harness.windows_path(copy), overwrite=True)
    f.check("SaveAs writes what >>SAVE<< wrote", filecmp.cmp(copy, saved, shallow=False), True)
    f.check("currentListPath after SaveAs", host_list_path(ui), harness.windows_path(copy))

    ui.tree_select(DISC, path=["Alpha"], title=BROWSER)
    ui.click(REMOVE, title=BROWSER)
    ui.sync(title=BROWSER)
    ui.click(LOAD, title=BROWSER)
    dialog = ui.wait_window(title="Open File list")
    ui.click(2, hwnd=dialog["hwnd"])
    ui.wait_gone(hwnd=dialog["hwnd"])
    f.check("cancelled Load changes nothing", disc_outline(ui)[0], (0, "docs"))
    save_as(ui, f, "Open File list", harness.windows_path(copy), button=LOAD)
    f.check("Load brings the list back", disc_outline(ui)[:len(shown)], shown)
    ui.close_window(title=BROWSER)
    ui.wait_gone(title=BROWSER)
    f.check("closing writes no list", filecmp.cmp(copy, saved, shallow=False), True)


def save_as(ui, f, title, path, overwrite=False, button=SAVE_AS):
    if button == LOAD:
        ui.click(LOAD, title=BROWSER)
    else:
        ui.click(SAVE_AS, title=BROWSER)
    dialog = ui.wait_window(title=title)
    name_box = file_name_control(ui, dialog["hwnd"])
    ui.set_text(name_box, path, hwnd=dialog["hwnd"])
    ui.click(1, hwnd=dialog["hwnd"])
    if overwrite:
        box = wait_box(ui)
        answer(ui, box, "Yes")
    ui.wait_gone(hwnd=dialog["hwnd"])
    ui.sync(title=BROWSER)


def file_name_control(ui, hwnd):
    """The file name field of the common file dialog (edt1 or cmb13)."""
    ids = {c["id"]: c for c in ui.controls(hwnd=hwnd)}
    for candidate in (0x480, 0x47C):
        if candidate in ids and ids[candidate]["visible"]:
            return candidate
    raise DriverError(f"no file name field among {sorted(ids)}")


def scenario_recorded(ui, args, work, f):
    """An appendable disc, nothing added since it was read: its files come
    in as Recorded entries; adding to them is refused, removing asks."""
    program = os.path.join(work, "program-recorded")
    os.makedirs(program)
    used, free = 11400 * 2048, 300000 * 2048
    start_host(ui, args, program, 0, "D", "D", (used + free, used, free))
    open_browser(ui)
    f.check("recorded content imported", disc_outline(ui), [(0, "OLD"), (1, "inner.txt"), (0, "root.txt")])
    drives = texts(ui.tree(SOURCE, title=BROWSER), 0)
    ui.tree_select(SOURCE, path=[drives[2], "hello"], title=BROWSER)
    ui.tree_select(DISC, path=["OLD"], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    expect_box(ui, f, "adding into a Recorded directory", RECORDED_REFUSAL_START, starts=True)
    ui.tree_select(DISC, path=["root.txt"], title=BROWSER)
    before = host_figures(ui)
    ui.click(REMOVE, title=BROWSER)
    expect_box(ui, f, "removing a Recorded entry asks", REMOVE_RECORDED_START, icon="question", button="Yes",
               starts=True)
    f.check("disc tree after removing a Recorded entry", disc_outline(ui), [(0, "OLD"), (1, "inner.txt")])
    f.check("removing a Recorded entry charges nothing", host_figures(ui)[2:], before[2:])
    ui.click(SAVE, title=BROWSER)
    ui.wait_gone(title=BROWSER)
    _, _, records = read_list(os.path.join(program, "defiso01.dat"))
    f.check("Recorded entries are saved with their disc paths",
            [(r["name"], r["path"], r["kind"]) for r in records if r["kind"] != MARKER],
            [("OLD", "D:\\", RECORDED), ("inner.txt", "D:\\OLD\\", RECORDED)])


def scenario_iso(ui, args, work, f):
    """ISO-file page: the first drive of the list expands, defiso02.dat is its list."""
    program = os.path.join(work, "program-iso")
    os.makedirs(program)
    write(os.path.join(program, "defiso02.dat"), 10)
    start_host(ui, args, program, 2, "D", "D", (0, 0, 0))
    open_browser(ui)
    f.check("nothing charged on the ISO page: its old default list is deleted",
            os.path.exists(os.path.join(program, "defiso02.dat")), False)
    drives = texts(ui.tree(SOURCE, title=BROWSER), 0)
    ui.tree_expand(SOURCE, path=[drives[1]], title=BROWSER)
    f.check("the first drive expands on the ISO page",
            texts(children_of(ui.tree(SOURCE, title=BROWSER), drives[1])), ["OLD", "root.txt"])
    ui.tree_select(SOURCE, path=[drives[2], "void"], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    ui.sync(title=BROWSER)
    f.check("an empty 4-character directory charges 2,052", host_figures(ui)[2], 2052)
    ui.click(SAVE, title=BROWSER)
    ui.wait_gone(title=BROWSER)
    _, _, records = read_list(os.path.join(program, "defiso02.dat"))
    f.check("defiso02.dat holds the ISO page's compilation",
            [(r["level"], r["name"], r["kind"]) for r in records],
            [(0, "void", LOCAL), (1, "a", MARKER)])
    f.check("no defiso01.dat from the ISO page", os.path.exists(os.path.join(program, "defiso01.dat")), False)


SCENARIOS = {"recording": scenario_recording, "recorded": scenario_recorded, "iso": scenario_iso}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--artefacts", required=True)
    parser.add_argument("--prefix", default=None)
    parser.add_argument("--scenario", action="append")
    args = parser.parse_args()
    harness.ensure_display()
    build = os.path.dirname(os.path.dirname(os.path.abspath(args.artefacts)))
    prefix = Prefix(args.prefix or os.path.join(build, "wineprefix-e2e-browser"))
    work = tempfile.mkdtemp(prefix="tarvo-browser-")
    source = os.path.join(work, "source")
    prepare_source(source)
    mirror = os.path.join(work, "mirror")
    write(os.path.join(mirror, "root.txt"), 12)
    write(os.path.join(mirror, "OLD", "inner.txt"), 34)
    blank = os.path.join(work, "blank")
    os.makedirs(blank)
    failures = Failures()
    try:
        for name in args.scenario or list(SCENARIOS):
            # The recording scenario starts from a blank disc: its mirror is empty.
            prefix.set_drives({"d": ("cdrom", blank if name == "recording" else mirror), "e": ("hd", source)})
            with UiDriver(args.driver) as ui:
                try:
                    SCENARIOS[name](ui, args, work, failures)
                except DriverError as error:
                    failures.items.append(f"{name}: driver: {error}")
                finally:
                    try:
                        ui.kill()
                    except DriverError:
                        pass
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for item in failures.items:
        print("FAIL", item)
    print("ok" if not failures.items else f"{len(failures.items)} failed")
    return 1 if failures.items else 0


if __name__ == "__main__":
    sys.exit(main())
