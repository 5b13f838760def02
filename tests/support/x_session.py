"""The game in a real X window, for the window checks on Linux and under Wine: a private Xvfb,
the game's window found by its name, and files dropped on it through XDND by tests/tools/xdnd_drop
as a file manager drops them."""

import contextlib
import os
import select
import shutil
import subprocess
import time
from pathlib import Path


def run(command: list[str], env: dict[str, str], **options) -> subprocess.CompletedProcess:
    """Runs a helper command whose failure the checks see in what follows, not here."""
    return subprocess.run(command, env=env, check=False, **options)


def stop(process: subprocess.Popen) -> None:
    """Ends a process started here and reaps it."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


@contextlib.contextmanager
def x_server(depth: int, folder: Path, env: dict[str, str]):
    """An X server on a free display at the given depth, without a window manager. Yields the
    environment that reaches it."""
    read_end, write_end = os.pipe()
    with open(folder / f"xvfb-{depth}.log", "wb") as log:
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"1024x768x{depth}",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=log)
    os.close(write_end)
    try:
        with os.fdopen(read_end, "rb") as numbers:
            ready, _, _ = select.select([numbers], [], [], 5)
            number = numbers.readline().decode().strip() if ready else ""
        if not number:
            raise RuntimeError(f"Xvfb at depth {depth} names no display (see {log.name})")
        yield dict(env, DISPLAY=f":{number}")
    finally:
        stop(xvfb)


class Window:
    """The game's window: its id and the screen position of its client area. Without a window
    manager Wine draws the frame itself: the same border left, right and below, the caption
    above; SDL's window is the client area alone. At scale 1 the client area is 640 x 480."""

    def __init__(self, wid: str, geometry: dict[str, int]) -> None:
        self.wid = wid
        self.width, self.height = geometry.get("WIDTH", 0), geometry.get("HEIGHT", 0)
        border = int((self.width - 640) / 2)
        caption = self.height - 480 - border
        self.x = geometry.get("X", 0) + border
        self.y = geometry.get("Y", 0) + caption
        self.at_scale_1 = 0 <= border <= 16 and 0 <= caption <= 64

    def describe(self) -> str:
        return f"found '{self.wid or 'none'}' {self.width}x{self.height}"


def find_window(env: dict[str, str]) -> Window:
    """Waits up to 20 s for the window named Vasul."""
    try:
        found = run(["xdotool", "search", "--sync", "--name", "^Vasul$"], env,
                    capture_output=True, text=True, timeout=20).stdout.split()
    except subprocess.TimeoutExpired:
        found = []
    if not found:
        return Window("", {})
    shell = run(["xdotool", "getwindowgeometry", "--shell", found[0]], env,
                capture_output=True, text=True).stdout
    geometry = {}
    for line in shell.splitlines():
        name, _, value = line.partition("=")
        if value.lstrip("-").isdigit():
            geometry[name] = int(value)
    return Window(found[0], geometry)


def drop_files(dropper: Path, window: Window, files: list[Path], env: dict[str, str]) -> str:
    """Drops files on the middle of the window's client area; returns what went wrong, or ""."""
    dropped = run([str(dropper), window.wid, str(window.x + 320), str(window.y + 240),
                   *map(str, files)], env, capture_output=True, text=True, timeout=20)
    return "" if dropped.returncode == 0 else (dropped.stderr.strip() or "the drop failed")


def wait_for_files(folder: Path, names: set[str], seconds: float) -> set[str]:
    """Waits until folder holds exactly the names given; returns the names it holds then."""
    held: set[str] = set()
    for _ in range(int(seconds * 10)):
        held = {path.name for path in folder.iterdir()} if folder.is_dir() else set()
        if held == names:
            break
        time.sleep(0.1)
    return held


def drop_pictures(folder: Path) -> tuple[list[Path], Path]:
    """Two good pictures from the test data, one named with a space and a non-ASCII letter, and
    a JPEG cut short, written into folder/drop."""
    pictures = Path(__file__).resolve().parent.parent / "data" / "pictures"
    drop = folder / "drop"
    drop.mkdir(exist_ok=True)
    good = [drop / "palette.png", drop / "Küste am Meer.jpg"]
    good[0].write_bytes((pictures / "palette.png").read_bytes())
    good[1].write_bytes((pictures / "orientation_6.jpg").read_bytes())
    broken = drop / "broken.jpg"
    broken.write_bytes((pictures / "baseline.jpg").read_bytes()[:300])
    return good, broken


def check_drop(dropper: Path, window: Window, pictures: Path, work: Path,
               env: dict[str, str]) -> str:
    """Drops drop_pictures' files on the window; the good ones must then be in the folder
    pictures under their own names, byte for byte, and the broken one not. Returns what went
    wrong, or "". A look at the window afterwards goes to work/shot-drop.png."""
    good, broken = drop_pictures(work)
    dropped = drop_files(dropper, window, good + [broken], env)
    names = {path.name for path in good}
    held = wait_for_files(pictures, names, seconds=10)
    failure = ""
    if dropped or held != names:
        failure = f"{dropped or 'dropped'}; the folder holds {sorted(held)}, not {sorted(names)}"
    elif any((pictures / path.name).read_bytes() != path.read_bytes() for path in good):
        failure = "a dropped picture was stored with other bytes"
    if shutil.which("import"):  # ImageMagick's, for a look at the notice
        run(["import", "-window", "root", "-crop", f"640x480+{window.x}+{window.y}", "+repage",
             str(work / "shot-drop.png")], env, stderr=subprocess.DEVNULL)
    return failure
