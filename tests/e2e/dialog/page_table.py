"""The main dialog's page table as a user sees it: which controls each page
shows and what the retitled ones say."""

ALL_IDS = [2, 9, 100, 101, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 212, 213, 214, 215,
           290, 299, 300, 301, 302, 303, 304, 305, 306, 307, 308, 400, 401, 402, 404, 405, 500, 501, 502]
ALWAYS = {2, 9, 100, 101, 404, 405}
INFO = {199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 212, 213, 214, 215}

VISIBLE = {
    0: ALWAYS | {300, 301, 302, 303, 304, 305, 307, 308, 500, 501, 502, 290},
    1: ALWAYS | {400, 401, 402, 500, 501, 502, 290, 304, 305},
    2: ALWAYS | {299, 300, 301, 302, 303, 304, 305, 306, 308, 500, 501, 502},
    3: ALWAYS | INFO,
}

TEXTS = {
    0: {500: "CD-R/W Recording", 304: "Set writting speed. Look at your CD-R/W disk.",
        302: "Multi session mode.", 305: "Start Recording - Burning CD-R/W"},
    1: {304: "Set erasing speed. Look at your CD-RW disk.", 500: "CD-RW Erase", 305: "Erase CD-RW Now"},
    2: {500: "Create ISO-9660 file", 304: "ISO-9660 File name", 302: "Save all files into ISO-9660 file",
        305: "Create ISO-9660 file Now"},
    3: {},
}


def check_page(ui, dialog, page, failures, label=""):
    """Compares visibility of every control and the page's texts."""
    seen = {c["id"]: c for c in ui.controls(hwnd=dialog) if c["id"] in ALL_IDS}
    shown = {i for i, c in seen.items() if c["visible"]}
    failures.check(f"{label}page {page}: shown controls", sorted(shown), sorted(VISIBLE[page]))
    for control, text in TEXTS[page].items():
        failures.check(f"{label}page {page}: text of {control}", seen[control]["title"], text)
