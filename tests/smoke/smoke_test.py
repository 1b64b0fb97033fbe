#!/usr/bin/env python3
"""Starts the built mensora as a user would, under a virtual X server, and
drives it with real input (xdotool): the first-run options window, every
section of the tree, a second copy, the close command. Checks the archive it
creates and the screenshots it takes.

    smoke_test.py MENSORA OUTPUT_FOLDER [--sale] [--skip=STEP]...

The program runs from a copy in a private folder, with its own home, settings,
runtime and temporary folders, so it never meets the user's files or another
running copy. Screenshots and the program's output are left in OUTPUT_FOLDER.
--sale adds the sale window's steps (the build has it); --skip leaves out a
step while another is being worked on. Exit status: 0 passed, 1 failed, 77
skipped (no Xvfb here).

Adding a step: write a function taking the Session and decorate it with
@step; steps run in the order they are written. See the helpers of Session
(wait_window, click, double_click, keys, type_text, settle, shot, archive).
"""

import contextlib
import os
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from collections import Counter

SKIP = 77
TIMEOUT = 20.0  # seconds for any one thing to happen; a normal run needs far less

STEPS = []


def step(func):
    STEPS.append(func)
    return func


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ---------------------------------------------------------------- pictures

class Image:
    """An RGB picture as captured from the screen."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def from_ppm(raw):
        fields = []
        pos = 0
        while len(fields) < 4:
            match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(raw, pos)
            fields.append(match.group(2))
            pos = match.end()
        check(fields[0] == b"P6" and fields[3] == b"255", "screenshot is not an 8-bit PPM")
        width, height = int(fields[1]), int(fields[2])
        data = raw[pos + 1:pos + 1 + width * height * 3]
        check(len(data) == width * height * 3, "screenshot is truncated")
        return Image(width, height, data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]

    def row(self, y, x0=0, x1=None):
        x1 = self.width if x1 is None else x1
        i = y * self.width * 3
        return self.data[i + x0 * 3:i + x1 * 3]

    def differing_pixels(self, other, x0=0):
        """How many pixels differ, counting only columns from x0 on."""
        if (self.width, self.height) != (other.width, other.height):
            return self.width * self.height
        if self.data == other.data:
            return 0
        count = 0
        for y in range(self.height):
            a, b = self.row(y, x0), other.row(y, x0)
            if a != b:
                count += sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
        return count

    def same_as(self, other, tolerance=24):
        # A blinking text cursor is all that may differ.
        return self.differing_pixels(other) <= tolerance

    def colour_counts(self, sample=7):
        """Colours of every sample-th pixel and how often each occurs."""
        return Counter(self.data[i:i + 3] for i in range(0, len(self.data), 3 * sample))

    def check_not_blank(self, name):
        counts = self.colour_counts()
        dominant = max(counts.values())
        total = sum(counts.values())
        check(len(counts) >= 16 and dominant < 0.97 * total,
              f"screenshot {name} is blank ({len(counts)} colours, "
              f"{100 * dominant // total}% one colour)")

    def save_png(self, path):
        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        stride = self.width * 3
        raw = b"".join(b"\0" + self.data[y * stride:(y + 1) * stride] for y in range(self.height))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def is_white(rgb):
    return rgb == (255, 255, 255)


def is_highlight(rgb):
    # The selection colour: clearly blue, whatever its exact shade.
    r, g, b = rgb
    return b > 150 and b - r > 60


class TreeView:
    """Where the section tree's rows are, read off a screenshot of the main
    window: the tree is the white area on the left, and the selected row is
    the band of selection colour in it, one row high."""

    def __init__(self, image):
        self.image = image
        y_probe = image.height * 4 // 5
        runs = white_runs(image, y_probe)
        # The leftmost wide white run: the grid, when one shows, lies to its right.
        candidates = [r for r in runs if r[1] - r[0] >= 100]
        check(candidates, "no section tree found in the main window")
        self.x0, self.x1 = min(candidates)
        x_edge = self.x0 + 1
        y = y_probe
        while y > 0 and self._inside(x_edge, y - 1):
            y -= 1
        self.y0 = y
        y = y_probe
        while y + 1 < image.height and is_white(image.pixel(x_edge, y + 1)):
            y += 1
        self.y1 = y
        band = [y for y in range(self.y0, self.y1 + 1) if self._is_highlight_row(y)]
        check(band, "the section tree shows no selected row")
        self.selected_top, self.selected_bottom = band[0], band[-1]
        self.row_height = band[-1] - band[0] + 1
        check(12 <= self.row_height <= 60, f"implausible tree row height {self.row_height}")

    def _inside(self, x, y):
        # The left margin is white on every row, the selected one included.
        return is_white(self.image.pixel(x, y)) or is_highlight(self.image.pixel(x, y))

    def _is_highlight_row(self, y):
        # The band spans the row's width right of the text: two points on it.
        width = self.x1 - self.x0
        return all(is_highlight(self.image.pixel(x, y)) for x in (self.x0 + width * 9 // 10, self.x1 - 3))

    def selected_row(self):
        return round((self.selected_top - self.first_row_top()) / self.row_height)

    def first_row_top(self):
        # Rows are stacked from the top of the viewport.
        return self.selected_top - ((self.selected_top - self.y0) // self.row_height) * self.row_height

    def row_centre(self, index):
        """Window coordinates of a point on the row's item, right of its
        text's start and clear of the expand arrows."""
        x = self.x0 + (self.x1 - self.x0) * 3 // 5
        y = self.first_row_top() + index * self.row_height + self.row_height // 2
        check(y < self.y1, f"tree row {index} is below the visible tree")
        return x, y


def white_runs(image, y):
    runs, start = [], None
    for x in range(image.width):
        if is_white(image.pixel(x, y)):
            if start is None:
                start = x
        elif start is not None:
            runs.append((start, x - 1))
            start = None
    if start is not None:
        runs.append((start, image.width - 1))
    return runs


# ---------------------------------------------------------------- session

class Session:
    def __init__(self, executable, out, options):
        self.out = out
        self.options = options
        self.root = tempfile.mkdtemp(prefix="mensora-smoke-")
        self.bin = os.path.join(self.root, "bin")
        self.work = os.path.join(self.root, "archivio")
        home = os.path.join(self.root, "home")
        runtime = os.path.join(self.root, "run")
        tmp = os.path.join(self.root, "tmp")
        for d in (self.bin, self.work, home, tmp):
            os.makedirs(d)
        os.makedirs(runtime, mode=0o700)
        # A copy of its own: the files kept beside the executable (password,
        # grid layout) start absent and stay in this folder.
        self.executable = os.path.join(self.bin, "mensora")
        shutil.copy2(executable, self.executable)
        self.settings_file = os.path.join(home, ".config", "Mensora", "Mensora.ini")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "LANG": "C.UTF-8",
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": runtime,
            "TMPDIR": tmp,
            "QT_QPA_PLATFORM": "xcb",
        }
        self.xvfb = None
        self.app = None
        self.main_window = None
        self.shots = {}
        self.started = time.monotonic()

    # -- processes

    def start_display(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            deadline = time.monotonic() + TIMEOUT
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                piece = pipe.read(1)
                if not piece:
                    break
                number += piece
        check(number.strip().isdigit(), "Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def launch(self, log_name):
        log = open(os.path.join(self.out, log_name), "wb")
        return subprocess.Popen([self.executable], cwd=self.root, env=self.env,
                                stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def stop(self):
        for proc in (self.app, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()

    # -- X

    def x(self, *args, check_status=True):
        try:
            result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                                    timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"xdotool {' '.join(args)} timed out")
        if check_status and result.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def windows(self, title_regex):
        out = self.x("search", "--onlyvisible", "--name", title_regex, check_status=False)
        return [w for w in out.split() if w.isdigit()]

    def wait_for(self, predicate, what, timeout=TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if self.app is not None and self.app.poll() is not None:
                raise Failure(f"mensora ended (status {self.app.returncode}) while waiting for {what}")
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}")
            time.sleep(0.05)

    def wait_window(self, title_regex, exclude=(), timeout=TIMEOUT):
        """The id of a visible window whose title matches, once one appears."""
        def found():
            ids = [w for w in self.windows(title_regex) if w not in exclude]
            return ids[0] if ids else None
        return self.wait_for(found, f"a window titled {title_regex}", timeout)

    def wait_new_window(self, title_regex, before, timeout=TIMEOUT):
        """The id of a visible window whose title matches and that was not
        among `before` (the windows visible before an action)."""
        return self.wait_window(title_regex, exclude=before, timeout=timeout)

    def main_window_of(self, title_regex="^Mensora$"):
        """The largest visible window with the title: the main window, not the
        message windows that share its title."""
        def largest():
            sizes = {}
            for w in self.windows(title_regex):
                try:
                    sizes[w] = self.size(w)
                except Failure:
                    pass  # gone meanwhile (the splash window)
            big = [w for w, (width, height) in sizes.items() if width >= 300 and height >= 300]
            return max(big, key=lambda w: sizes[w][0] * sizes[w][1]) if big else None
        return self.wait_for(largest, "the main window")

    def check_no_new_window(self, before, action):
        """Fails, keeping a picture of it, when a window (an error message,
        most likely) has appeared since `before` was taken."""
        new = [w for w in self.windows(".") if w not in before]
        for n, window in enumerate(new):
            try:
                image = self.settle(window, timeout=3)
                image.save_png(os.path.join(self.out, f"unexpected-window-{n + 1}.png"))
            except Failure:
                pass
        check(not new, f"{action} opened {len(new)} unexpected window(s): "
                       f"{', '.join(self.x('getwindowname', w).strip() for w in new)} "
                       f"(see unexpected-window-*.png)")

    def wait_gone(self, window):
        self.wait_for(lambda: window not in self.windows("."), f"window {window} to close")

    def focus(self, window):
        self.x("windowfocus", "--sync", window)

    def keys(self, *keys):
        self.x("key", "--clearmodifiers", "--delay", "40", *keys)

    def type_text(self, text):
        self.x("type", "--clearmodifiers", "--delay", "10", text)

    def click(self, window, x, y):
        self.x("mousemove", "--window", window, str(x), str(y), "click", "1")

    def double_click(self, window, x, y):
        self.x("mousemove", "--window", window, str(x), str(y), "click", "--repeat", "2", "--delay", "60", "1")

    def capture(self, window):
        try:
            result = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=self.env,
                                    capture_output=True, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"screenshot of window {window} timed out")
        check(result.returncode == 0, f"screenshot of window {window} failed: {result.stderr.decode().strip()}")
        return Image.from_ppm(result.stdout)

    def settle(self, window, before=None, timeout=TIMEOUT):
        """The window's picture once it has stopped changing (two captures
        alike); when `before` is given, only a picture that differs from it
        counts. A click's handler runs whole before the window repaints, so
        the first picture that has changed and stays is its outcome."""
        previous = self.capture(window)
        deadline = time.monotonic() + timeout
        while True:
            time.sleep(0.1)
            current = self.capture(window)
            if current.same_as(previous) and (before is None or not current.same_as(before)):
                return current
            if time.monotonic() > deadline:
                what = "to change" if before is not None and current.same_as(before) else "to settle"
                raise Failure(f"timed out waiting for window {window} {what}")
            previous = current

    def size(self, window):
        shell = self.x("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in shell.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def shot(self, name, image):
        image.check_not_blank(name)
        image.save_png(os.path.join(self.out, name + ".png"))
        self.shots[name] = image
        return image

    # -- the archive

    def archive_path(self):
        return os.path.join(self.work, "Mensora.mdb")

    @contextlib.contextmanager
    def archive(self):
        """A read-only connection to the archive, closed after use."""
        check(os.path.exists(self.archive_path()), "no archive Mensora.mdb in the working directory")
        db = sqlite3.connect("file:" + self.archive_path() + "?mode=ro", uri=True)
        try:
            yield db
        finally:
            db.close()


# ---------------------------------------------------------------- steps

@step
def first_run_shows_options(s):
    s.app = s.launch("mensora.log")
    s.main_window = s.main_window_of()
    options = s.wait_window("^Impostazioni$")
    s.shot("01-first-run-options", s.settle(options))
    check(not os.path.exists(s.archive_path()), "an archive exists before the working directory is chosen")
    s.options_window = options


@step
def choose_working_directory(s):
    options = s.options_window
    s.focus(options)
    # The working directory box has the focus: replace its text and confirm.
    s.keys("ctrl+a")
    s.type_text(s.work)
    before = s.windows(".")
    s.keys("Return")
    question = s.wait_new_window("^Mensora$", before)
    s.shot("02-directory-question", s.settle(question))
    s.focus(question)
    s.keys("Return")  # "Sì", the default button
    s.wait_gone(options)
    s.wait_for(lambda: os.path.exists(s.archive_path()), "the archive to be created")


@step
def archive_has_tables_and_creation_rows(s):
    def done():
        try:
            with s.archive() as db:
                return db.execute("select count(*) from mensora_tables").fetchone()[0] == 8
        except sqlite3.Error:
            return False  # still being created
    s.wait_for(done, "the eight tables to be registered")
    with s.archive() as db:
        tables = {name for (name,) in db.execute("select name from mensora_tables")}
        check(tables == {"TipiPagamento", "TipiDocumento", "Portate", "Clienti", "PagamentiCliente",
                         "Menu", "RigheRicevute", "Ricevute"}, f"tables registered: {sorted(tables)}")
        payments = [r[0] for r in db.execute("select Descrizione from TipiPagamento order by OID")]
        check(payments == ["Contanti", "Assegno", "Bonifico", "Posticipato", "Altro"], f"payment types: {payments}")
        documents = [r[0] for r in db.execute("select Descrizione from TipiDocumento order by OID")]
        check(documents == ["Fattura", "Ricevuta fiscale", "Ricevuta non fiscale", "Preconto"],
              f"document types: {documents}")
        courses = list(db.execute("select Descrizione, Ordine_Di_Stampa from Portate order by OID"))
        check(courses == [("VARIE", 50), ("ANTIPASTI", 100), ("PRIMI", 150), ("SECONDI", 200)],
              f"courses: {courses}")
        customers = [r[0] for r in db.execute("select Ragione_Sociale from Clienti")]
        check(customers == ["Cliente generico"], f"customers: {customers}")
        cover = list(db.execute("select m.Nome, m.Prezzo, p.Descrizione from Menu m "
                                "join Portate p on p.OID = m.OID_Portata"))
        check(cover == [("Coperto", 10000, "VARIE")], f"menu: {cover}")
        for table in ("Ricevute", "RigheRicevute", "PagamentiCliente"):
            count = db.execute(f"select count(*) from {table}").fetchone()[0]
            check(count == 0, f"{table} has {count} rows in a new archive")


# Faults known to be open and being fixed elsewhere: the step that meets one
# says so and stops short instead of failing. Remove an entry once its fix
# has landed (the step then says that it no longer sees it).
KNOWN_FAULTS = {}

# The tree as it opens, and the rows that a double click on a row with
# children shows below it.
COLLAPSED = ["Archivio", "Menù", "Clienti", "Ricevute", "Stampe", "Codifiche"]
CHILDREN = {
    "Clienti": ["Pagamenti del Cliente"],
    "Ricevute": ["Righe Ricevute"],
    "Stampe": ["Lista Ricevute", "Lista Venduto", "Lista Corrispettivi", "Lista Clienti", "Lista Portate"],
    "Codifiche": ["Tipi Documento", "Tipi Pagamento", "Portate"],
}
WINDOW_SIZE = (960, 680)  # the user enlarges the small first-run window


def file_name(section):
    return re.sub(r"[^a-z0-9]+", "-", section.lower().replace("ù", "u")).strip("-")


@step
def main_window_opens_on_archive_page(s):
    image = s.shot("03-main-window", s.settle(s.main_window))
    tree = TreeView(image)
    check(tree.selected_row() == 0, f"row {tree.selected_row()} selected at start, not \"Archivio\"")
    s.tree_rows = list(COLLAPSED)
    s.x("windowsize", "--sync", s.main_window, *map(str, WINDOW_SIZE))
    s.settle(s.main_window)


def answer_period_with_type(s, window):
    # A document type typed into the box, the period in the two date boxes
    # (day, month, year: the mask adds the slashes), "Ricerca" (the default).
    s.type_text("Ricevuta fiscale")
    s.keys("Tab")
    s.type_text("010120")
    s.keys("Tab")
    s.type_text("311229")
    s.keys("Return")


def answer_period_cancel(s, window):
    s.keys("alt+a")  # "&Annulla": every receipt


# The sections that ask for something before they show, and how the user
# answers: the title of the window they open and a function that answers it.
SECTION_DIALOGS = {
    "Lista Venduto": ("^Impostazione criteri di ricerca$", answer_period_with_type),
    "Lista Corrispettivi": ("^Impostazione criteri di ricerca$", answer_period_cancel),
}


def click_section(s, name, double=False):
    """Clicks a section's row in the tree and answers the window that the
    section opens first, if any. Returns the main window's picture once the
    click has taken effect, the picture before, and the tree read off it."""
    windows = s.windows(".")
    before = s.capture(s.main_window)
    tree = TreeView(before)
    index = s.tree_rows.index(name)
    x, y = tree.row_centre(index)
    if double:
        s.double_click(s.main_window, x, y)
    else:
        s.click(s.main_window, x, y)
    if name in SECTION_DIALOGS and tree.selected_row() != index:
        title, answer = SECTION_DIALOGS[name]
        try:
            dialog = s.wait_new_window(title, windows)
        except Failure as failure:
            raise Failure(f"clicking \"{name}\": {failure}")
        s.shot(f"{file_name(name)}-asks", s.settle(dialog))
        s.focus(dialog)
        answer(s, dialog)
        try:
            s.wait_gone(dialog)
        except Failure:
            s.check_no_new_window(windows + [dialog], f"answering \"{name}\"")
            raise
    expect_change = double or tree.selected_row() != index
    after = s.settle(s.main_window, before=before if expect_change else None)
    s.check_no_new_window(windows, f"clicking \"{name}\"")
    selected = TreeView(after).selected_row()
    check(selected == index, f"clicking \"{name}\" selected row {selected}, not {index}")
    return after, before, tree


@step
def every_group_expands_on_double_click(s):
    for name in CHILDREN:
        click_section(s, name, double=True)
        position = s.tree_rows.index(name) + 1
        s.tree_rows[position:position] = CHILDREN[name]
    s.shot("04-tree-expanded", s.capture(s.main_window))


@step
def every_section_opens_when_clicked(s):
    # "Archivio", "Menù", "Archivio": the same section shows the same page.
    first, _, _ = click_section(s, "Archivio")
    click_section(s, "Menù")
    second, _, _ = click_section(s, "Archivio")
    if not second.same_as(first):
        known = KNOWN_FAULTS.get("section-lag")
        if known:
            print(f"KNOWN FAULT section-lag: {known}; the sections are not checked one by one until it is fixed")
            return
        raise Failure("\"Archivio\" clicked twice shows two pages: a click shows the section selected before")
    if "section-lag" in KNOWN_FAULTS:
        print("note: section-lag is no longer seen; remove it from KNOWN_FAULTS")
    pages = {}
    for number, name in enumerate(s.tree_rows[1:], start=5):
        page, before, tree = click_section(s, name)
        # Right of the tree the page must change: the section clicked shows,
        # not the one shown before.
        changed = page.differing_pixels(before, x0=tree.x1 + 2)
        check(changed > 200, f"\"{name}\" clicked, but the page beside the tree stayed the same")
        s.shot(f"{number:02d}-section-{file_name(name)}", page)
        pages[name] = page
    # A section clicked again shows what it showed the first time.
    again, _, _ = click_section(s, "Menù")
    differing = again.differing_pixels(pages["Menù"])
    check(differing <= 24, f"\"Menù\" clicked again shows another page ({differing} pixels differ)")


@step
def sale_window_opens_and_closes(s):
    if "--sale" not in s.options:
        return
    s.focus(s.main_window)
    windows = s.windows(".")
    s.keys("F9")
    sale = s.wait_new_window("^Emissione Ricevute$", windows)
    # A new archive has no default document type yet: the first sale asks for
    # one in the selection list; its first entry is taken with Return.
    try:
        chooser = s.wait_new_window("^Tipi Documento$", windows, timeout=5)
    except Failure:
        chooser = None
    if chooser:
        s.shot("30-sale-document-type", s.settle(chooser))
        s.focus(chooser)
        s.keys("Return")
        s.wait_gone(chooser)
    s.shot("31-sale-window", s.settle(sale))
    s.check_no_new_window(windows + [sale], "opening the sale window")
    s.focus(sale)
    s.keys("alt+a")  # "&Annulla" on a sale without rows closes the window
    s.wait_gone(sale)
    with s.archive() as db:
        left = db.execute("select count(*) from Ricevute").fetchone()[0]
        check(left == 0, f"{left} receipts left by a sale cancelled without rows")


@step
def second_copy_is_refused(s):
    before = s.windows(".")
    second = s.launch("mensora-second.log")
    try:
        message = s.wait_new_window("^Mensora$", before)
        s.shot("40-second-copy-message", s.settle(message))
        s.focus(message)
        s.keys("Return")
        second.wait(TIMEOUT)
    finally:
        if second.poll() is None:
            second.kill()
            second.wait()
            raise Failure("the second copy kept running")
    check(second.returncode == 0, f"the second copy ended with status {second.returncode}")
    check(s.app.poll() is None, "the first copy ended when the second started")


@step
def close_command_ends_the_program(s):
    s.focus(s.main_window)
    s.keys("alt+d")     # "&Dati"
    s.keys("Up", "Return")  # its last entry, "Chiudi"
    try:
        s.app.wait(TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failure("mensora still running after \"Chiudi\"")
    check(s.app.returncode == 0, f"mensora ended with status {s.app.returncode}")
    with open(s.settings_file, encoding="utf-8") as f:
        settings = f.read()
    check(re.search(r"^RootDir=" + re.escape(s.work) + r"$", settings, re.M),
          f"the working directory is not in the settings:\n{settings}")
    with s.archive() as db:
        check(db.execute("pragma integrity_check").fetchone()[0] == "ok", "the archive is damaged")


@step
def next_start_opens_the_archive_at_once(s):
    s.app = s.launch("mensora-again.log")
    main = s.main_window_of()
    s.main_window = main
    image = s.shot("50-second-start", s.settle(main))
    check(not s.windows("^Impostazioni$"), "the options window shows although the archive exists")
    check(TreeView(image).selected_row() == 0, "the tree is not ready on the second start")
    check(s.size(main) == WINDOW_SIZE, f"the window opens at {s.size(main)}, not at the size it was left")
    s.focus(main)
    s.keys("alt+d")
    s.keys("Up", "Return")
    s.app.wait(TIMEOUT)
    check(s.app.returncode == 0, f"mensora ended with status {s.app.returncode}")


# ---------------------------------------------------------------- main

def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    executable, out, options = argv[1], argv[2], argv[3:]
    if shutil.which("Xvfb") is None:
        print("SKIPPED: no virtual X server here (package xvfb, which scripts/setup.sh installs)")
        return SKIP
    missing = [package for tool, package in (("xdotool", "xdotool"), ("import", "imagemagick"))
               if shutil.which(tool) is None]
    if missing:
        print(f"FAILED: missing {', '.join(missing)} (scripts/setup.sh installs them)")
        return 1
    check(os.access(executable, os.X_OK), f"{executable} is not an executable")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    session = Session(os.path.abspath(executable), os.path.abspath(out), options)
    status = 0
    try:
        session.start_display()
        skipped = {o.split("=", 1)[1] for o in options if o.startswith("--skip=")}
        for func in STEPS:
            if func.__name__ in skipped:
                print(f"skipped {func.__name__}")
                continue
            started = time.monotonic()
            try:
                func(session)
            except Failure as failure:
                print(f"FAILED {func.__name__}: {failure}")
                if session.main_window:
                    try:
                        session.capture(session.main_window).save_png(os.path.join(out, "failure.png"))
                    except Failure:
                        pass
                status = 1
                break
            print(f"ok {func.__name__} ({time.monotonic() - started:.1f} s)")
    finally:
        session.stop()
        shutil.rmtree(session.root, ignore_errors=True)
    print(f"{len(session.shots)} screenshots in {out}, {time.monotonic() - session.started:.1f} s in all")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
