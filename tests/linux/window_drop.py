#!/usr/bin/env python3
"""The SDL game in a real window on Xvfb takes pictures dropped on it through XDND, as a file
manager drops them: the good ones land in the pictures folder beside the pack under their own
names, byte for byte, a broken one does not, and Escape still ends the game with 0. Every helper
started here is stopped again, whatever happens."""

import argparse
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from fresh_pack import fresh_pack  # noqa: E402
from x_session import check_drop, find_window, run, stop, x_server  # noqa: E402


def check(game: Path, folder: Path, dropper: Path, env: dict[str, str]) -> list[str]:
    """Plays the game windowed in folder and drops on it; returns what failed."""
    failed = []
    with open(folder.parent / "game.err", "wb") as err:
        process = subprocess.Popen([str(game), "--windowed"], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=err)
    try:
        window = find_window(env)
        if not window.at_scale_1:
            return [f"no window at scale 1 ({window.describe()})"]
        failure = check_drop(dropper, window, folder / "pictures", folder.parent, env)
        if failure:
            failed.append(failure)
        run(["xdotool", "windowfocus", "--sync", window.wid, "key", "Escape"], env,
            stderr=subprocess.DEVNULL)
        try:
            status = process.wait(timeout=5)
            if status != 0:
                failed.append(f"the game ended with {status} after Escape")
        except subprocess.TimeoutExpired:
            failed.append("still running 5 s after Escape")
        return failed
    finally:
        stop(process)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--game", type=Path, required=True, help="the Linux vasul")
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    parser.add_argument("--dropper", type=Path, required=True, help="tests/tools/xdnd_drop")
    parser.add_argument("--work", type=Path, required=True, help="a folder to work in, emptied")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))

    work = args.work.resolve()
    folder = work / "game"
    fresh_pack(folder, args.pack)
    env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    env["SDL_AUDIODRIVER"] = "dummy"
    started = time.monotonic()
    with x_server(24, work, env) as env:
        failed = check(args.game.resolve(), folder, args.dropper.resolve(), env)
    for failure in failed:
        print(f"window drop: {failure} (see {work})")
    if not failed:
        print(f"window drop: 2 pictures in the folder, the broken one refused, Escape ends the "
              f"game; {int((time.monotonic() - started) * 1000)} ms")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
