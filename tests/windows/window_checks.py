#!/usr/bin/env python3
"""vasul.exe in a real window under Wine, on Xvfb, with a PulseAudio null sink for its sound.

What the window shows is compared with the frames the headless Linux game draws from the same
input; the input comes from xdotool; the title music is recorded from the null sink's monitor.
Checked on a 24-bit desktop (the picture pixel for pixel, the music, the pointer, a click and
Escape) and on a 16-bit one (the picture to within 16-bit colour). Every helper started here (the
sound server, the X servers, the recorder, the game and its Wine server) is stopped again,
whatever happens. Wine's prefix is the one in WINEPREFIX.
"""

import argparse
import array
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from fresh_pack import fresh_pack  # noqa: E402
from tally import Tally  # noqa: E402
import x_session  # noqa: E402
from x_session import Window, find_window, run, stop, x_server  # noqa: E402

# Through the null sink: 44.1 kHz, two channels of 16-bit samples.
RATE = 44100
FRAME_BYTES = 4
RECORD_SECONDS = 4
# A sample further from silence than this is music; most of the recording must be.
LOUD = 300
LOUD_SAMPLES = RATE // 2

# Switches the music on in the options and leaves them: the title music then starts at once.
MUSIC_ON_REPLAY = """vasul-replay 1
seed 1
@2 move 300 220
@3 ldown 300 220
@4 lup 300 220
@5 move 360 120
@6 ldown 360 120
@7 lup 360 120
@8 move 388 165
@9 ldown 388 165
@10 lup 388 165
@11 ldown 388 165
@12 lup 388 165
@13 move 20 20
@14 ldown 20 20
@15 lup 20 20
"""

# What the window is then sent: the title with the pointer in a corner at frame 30, over
# "new game" at 70, the options after clicking "options" at 130.
INPUT_REPLAY = """vasul-replay 1
seed 1
@20 move 600 450
@40 move 300 150
@80 move 300 230
@81 ldown 300 230
@82 lup 300 230
"""


def ms_since(start: float) -> int:
    return int((time.monotonic() - start) * 1000)


def tail(path: Path, lines: int) -> str:
    with contextlib.suppress(OSError):
        return "\n".join(path.read_text(errors="replace").splitlines()[-lines:])
    return ""


def stop_wine(env: dict[str, str]) -> None:
    """Ends every Wine program of the prefix, and its server."""
    run(["wineserver", "-k"], env, stderr=subprocess.DEVNULL)
    run(["wineserver", "-w"], env, stderr=subprocess.DEVNULL)


@contextlib.contextmanager
def sound_server(folder: Path, env: dict[str, str]):
    """A private PulseAudio server whose only device is a null sink: what the game plays can be
    recorded from its monitor. Yields the environment that reaches it."""
    folder.mkdir(mode=0o700)
    socket = folder / "native"
    server_env = dict(env, HOME=str(folder), XDG_RUNTIME_DIR=str(folder))
    with open(folder.parent / "pulse.log", "wb") as log:
        server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disallow-exit",
             "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1",
             "-L", f"module-null-sink sink_name=vasul_sink rate={RATE} channels=2"],
            env=server_env, stdout=log, stderr=subprocess.STDOUT)
    try:
        with_sound = dict(env, PULSE_SERVER=f"unix:{socket}")
        for _ in range(100):
            if run(["pactl", "info"], with_sound, capture_output=True).returncode == 0:
                break
            time.sleep(0.05)
        yield with_sound
    finally:
        stop(server)


class Recording:
    """The first seconds of the null sink's monitor, read into a file by a thread of its own."""

    def __init__(self, path: Path, seconds: int, env: dict[str, str]) -> None:
        self.path = path
        self.wanted = RATE * FRAME_BYTES * seconds
        self.parec = subprocess.Popen(
            ["parec", "-d", "vasul_sink.monitor", "--latency-msec=50", "--format=s16le",
             f"--rate={RATE}", "--channels=2"],
            env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.reader = threading.Thread(target=self._read)
        self.reader.start()

    def _read(self) -> None:
        with open(self.path, "wb") as out:
            left = self.wanted
            while left > 0:
                chunk = self.parec.stdout.read1(min(left, 65536))
                if not chunk:
                    break
                out.write(chunk)
                left -= len(chunk)

    def finish(self, timeout: float) -> bytes:
        """Waits up to timeout seconds for the whole recording, then stops; returns what came."""
        self.reader.join(timeout)
        self.close()
        return self.path.read_bytes()

    def close(self) -> None:
        stop(self.parec)
        self.reader.join()
        self.parec.stdout.close()


@contextlib.contextmanager
def recording(path: Path, seconds: int, env: dict[str, str]):
    recorder = Recording(path, seconds, env)
    try:
        yield recorder
    finally:
        recorder.close()


@contextlib.contextmanager
def game_in_window(folder: Path, log_stem: Path, env: dict[str, str]):
    """vasul.exe started windowed from its folder; yields the process, the time it started and
    its window. Afterwards the game and its Wine server are gone."""
    started = time.monotonic()
    with open(f"{log_stem}.out", "wb") as out, open(f"{log_stem}.err", "wb") as err:
        game = subprocess.Popen(["wine", "./vasul.exe", "--windowed"], cwd=folder, env=env,
                                stdout=out, stderr=err)
    try:
        yield game, started, find_window(env)
    finally:
        stop(game)
        stop_wine(env)


class Screen:
    """Compares the window's client area with a frame of the headless game."""

    def __init__(self, folder: Path, env: dict[str, str]) -> None:
        self.folder = folder
        self.env = env
        self.mismatch = "not compared"

    def shows(self, window: Window, frame: Path, fuzz: str, name: str) -> bool:
        """Waits up to 10 s for the client area to match frame to within the colour distance
        fuzz; the pixels still off at the end are in mismatch."""
        shot = self.folder / f"shot-{name}.png"
        for _ in range(40):
            run(["import", "-window", "root", "-crop", f"640x480+{window.x}+{window.y}",
                 "+repage", str(shot)], self.env, stderr=subprocess.DEVNULL)
            compared = run(["compare", "-metric", "AE", "-fuzz", fuzz, str(frame), str(shot),
                            "null:"], self.env, capture_output=True, text=True)
            self.mismatch = (compared.stdout + compared.stderr).strip()
            if self.mismatch == "0":
                return True
            time.sleep(0.25)
        return False


def loud_samples(recorded: bytes) -> int:
    samples = array.array("h")
    samples.frombytes(recorded[: len(recorded) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return sum(1 for sample in samples if sample > LOUD or sample < -LOUD)


def pointer_to(window: Window, x: int, y: int, env: dict[str, str], *then: str) -> bool:
    """Moves the pointer to (x, y) of the client area, then does what follows (a click)."""
    command = ["xdotool", "mousemove", str(window.x + x), str(window.y + y), *then]
    return run(command, env).returncode == 0


def check_drop(live: Path, game: Path, window: Window, dropper: Path, env: dict[str, str],
               tally: Tally) -> None:
    """Pictures dropped on the window through XDND, which Wine hands the game as WM_DROPFILES:
    the good ones land in the folder beside vasul.exe under their own names, a broken one not."""
    failure = x_session.check_drop(dropper, window, game / "pictures", live, env)
    if failure:
        tally.fail(f"drop: {failure}")
    else:
        tally.ok("drop: 2 pictures dropped on the window are in the folder, byte for byte, the "
                 "broken one is not")


def check_24_bit_desktop(live: Path, game: Path, expected, dropper: Path, env: dict[str, str],
                         tally: Tally) -> None:
    """The title, its music and input, on a 24-bit desktop."""
    screen = Screen(live, env)
    with x_server(24, live, env) as env:
        screen.env = env
        # The Wine server so far had no display: the window needs one started with it. No window
        # manager runs on this X server: Wine must not wait for one, as it otherwise does for 2 s
        # when a window goes.
        stop_wine(env)
        run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N",
             "/f"], env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Four seconds from the null sink, from before the game starts.
        with recording(live / "music.raw", RECORD_SECONDS, env) as recorder, \
                game_in_window(game, live / "game-24", env) as (process, started, window):
            if not window.at_scale_1:
                tally.fail("window on a 24-bit desktop: no window at scale 1 "
                           f"({window.describe()})", tail(live / "game-24.err", 3))
            elif pointer_to(window, 600, 450, env) and screen.shows(window, expected(30), "0",
                                                                   "title"):
                tally.ok("window on a 24-bit desktop: the title as the headless game draws it, "
                         f"pixel for pixel, {ms_since(started)} ms after starting")
            else:
                tally.fail(f"window on a 24-bit desktop: {screen.mismatch} pixels differ from the "
                           f"headless title (see {live / 'shot-title.png'})")

            # The title music starts with the title: most of the recording is music, a quarter
            # second of it is plenty; silence has none.
            recorded = recorder.finish(timeout=10)
            loud = loud_samples(recorded)
            frames = len(recorded) // FRAME_BYTES
            if frames == RATE * RECORD_SECONDS and loud > LOUD_SAMPLES:
                tally.ok("sound: the title music through DirectSound and Wine's PulseAudio driver, "
                         f"{loud} loud samples in {RECORD_SECONDS} s from the null sink")
            else:
                inputs = run(["pactl", "list", "short", "sink-inputs"], env, capture_output=True,
                             text=True).stdout
                tally.fail(f"sound: {loud} loud samples in {frames} recorded frames of the null "
                           "sink's monitor", inputs)

            # xdotool's pointer and button reach the game as the same messages the replay gives
            # the headless game, at scale 1 in a window on a small screen.
            if not window.at_scale_1:
                tally.fail("input: no window to send it to")
                return
            pointer_to(window, 300, 150, env)
            if screen.shows(window, expected(70), "0", "hot"):
                tally.ok('input: the pointer over "new game" lights it up as in the headless game')
            else:
                tally.fail(f'input: {screen.mismatch} pixels differ from the headless "new game" '
                           f"lit (see {live / 'shot-hot.png'})")
            pointer_to(window, 300, 230, env, "click", "1")
            if screen.shows(window, expected(130), "0", "options"):
                tally.ok('input: clicking "options" opens the options as in the headless game')
            else:
                tally.fail(f"input: {screen.mismatch} pixels differ from the headless options "
                           f"(see {live / 'shot-options.png'})")
            check_drop(live, game, window, dropper, env, tally)
            run(["xdotool", "windowfocus", "--sync", window.wid, "key", "Escape"], env,
                stderr=subprocess.DEVNULL)
            asked = time.monotonic()
            for _ in range(30):
                if process.poll() is not None:
                    break
                time.sleep(0.1)
            if process.poll() is None:
                tally.fail("input: still running 3 s after Escape")
            elif process.returncode == 0:
                tally.ok(f"input: Escape ends the game with 0 in {ms_since(asked)} ms")
            else:
                tally.fail(f"input: the game ended with {process.returncode} after Escape",
                           tail(live / "game-24.err", 5))


def check_16_bit_desktop(live: Path, game: Path, expected, env: dict[str, str],
                         tally: Tally) -> None:
    """DirectDraw blits no formats into another, so the window's copy must take the desktop's.
    Colours are then within 5-6-5's rounding of the frame's."""
    with x_server(16, live, env) as env, \
            game_in_window(game, live / "game-16", env) as (_, _, window):
        screen = Screen(live, env)
        if not window.at_scale_1:
            tally.fail(f"window on a 16-bit desktop: no window at scale 1 ({window.describe()})",
                       tail(live / "game-16.err", 3))
        elif pointer_to(window, 600, 450, env) and screen.shows(window, expected(30), "3.5%",
                                                               "title16"):
            tally.ok("window on a 16-bit desktop: the title, to within 16-bit colour")
        else:
            tally.fail(f"window on a 16-bit desktop: {screen.mismatch} pixels off the headless "
                       f"title (see {live / 'shot-title16.png'})")


def prepare(live: Path, linux_game: Path, pack: Path, exe: Path, tally: Tally):
    """Makes the game's folder and the frames its window must show; returns where frame N is."""
    # The game's folder: the pack, vasul.exe beside it, and a vasul.ini the Linux build wrote
    # after switching the music on in the options.
    game = live / "game"
    fresh_pack(game, pack)
    shutil.copy(exe, game / "vasul.exe")
    (live / "music-on.replay").write_text(MUSIC_ON_REPLAY)
    subprocess.run([linux_game, "--headless", "--replay", "../music-on.replay", "--frames", "30"],
                   cwd=game, stderr=subprocess.DEVNULL, check=True)
    settings = game / "vasul.ini"
    if not (settings.exists() and re.search(r"^bgmon=1", settings.read_text(), re.MULTILINE)):
        tally.fail("no vasul.ini with the music on from the Linux build")

    # What the window must show: the headless Linux game in a copy of the same folder.
    headless = live / "headless"
    shutil.copytree(game, headless)
    (live / "input.replay").write_text(INPUT_REPLAY)
    subprocess.run([linux_game, "--headless", "--replay", "../input.replay", "--frames", "131",
                    "--dump-frames", "frames"], cwd=headless, stderr=subprocess.DEVNULL, check=True)
    return lambda frame: headless / "frames" / f"frame-{frame:06d}.bmp"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--linux-game", type=Path, required=True, help="the Linux vasul")
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    parser.add_argument("--exe", type=Path, required=True, help="vasul.exe")
    parser.add_argument("--dropper", type=Path, required=True,
                        help="tests/tools/xdnd_drop, from the Linux build")
    parser.add_argument("--work", type=Path, required=True, help="a folder to work in, emptied")
    args = parser.parse_args()
    linux_game = args.linux_game.resolve()
    # Stopped from outside (a time limit, a cancelled run), the helpers still go.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))

    live = args.work.resolve()
    shutil.rmtree(live, ignore_errors=True)
    live.mkdir(parents=True)
    tally = Tally()
    env = dict(os.environ)
    env.pop("DISPLAY", None)

    try:
        expected = prepare(live, linux_game, args.pack, args.exe, tally)
        with sound_server(live / "pulse", env) as with_sound:
            check_24_bit_desktop(live, live / "game", expected, args.dropper, with_sound, tally)
            check_16_bit_desktop(live, live / "game", expected, with_sound, tally)
    except (OSError, RuntimeError, subprocess.SubprocessError) as error:
        tally.fail(f"the window checks stopped: {error}")
    print(f"window: {tally.passed} passed, {tally.failed} failed")
    return 1 if tally.failed else 0


if __name__ == "__main__":
    sys.exit(main())
