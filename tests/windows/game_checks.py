#!/usr/bin/env python3
"""The headless Windows game under Wine, as CTest entries of the Windows test build.

  replay FILE: the Linux game and vasul.exe each play FILE in a fresh folder holding the pack,
    writing frames, a recording, their messages and vasul.ini when there is one; both folders
    must then hold the same files, byte for byte.
  started-elsewhere: vasul.exe started from a folder other than its own, as a shortcut may, finds
    the pack beside itself and writes no vasul.ini in the working folder or in AppData.

Wine's prefix is the one in WINEPREFIX.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from fresh_pack import fresh_pack  # noqa: E402

# Frames past the replay's last message: what the input leads to is drawn too.
EXTRA_FRAMES = 40


def last_frame(replay: Path) -> int:
    """The frame of the replay's last message ("@FRAME ...")."""
    lines = replay.read_text().splitlines()
    found = re.match(r"@(\d+)", lines[-1]) if lines else None
    if not found:
        raise ValueError(f"{replay} does not end with a message")
    return int(found.group(1))


def play(command: list[str], folder: Path) -> int:
    """Runs command in folder with its messages in stderr.txt there; returns its exit status."""
    with open(folder / "stderr.txt", "wb") as messages:
        return subprocess.run(command, cwd=folder, stderr=messages, check=False).returncode


def files_under(folder: Path) -> set[Path]:
    """Every file and folder under folder, relative to it."""
    return {path.relative_to(folder) for path in folder.rglob("*")}


def differences(a: Path, b: Path) -> list[str]:
    """What differs between two trees: entries only in one, and files whose bytes differ."""
    in_a, in_b = files_under(a), files_under(b)
    found = []
    for folder, only in ((a, in_a - in_b), (b, in_b - in_a)):
        # A folder on one side only is named, not everything in it.
        found += [f"only in {folder}: {name}" for name in sorted(only) if name.parent not in only]
    for name in sorted(in_a & in_b):
        first, second = a / name, b / name
        if first.is_dir() != second.is_dir():
            found.append(f"{name} is a folder on one side only")
        elif first.is_file() and first.read_bytes() != second.read_bytes():
            found.append(f"{name} differs")
    return found


def compare_replay(args: argparse.Namespace) -> bool:
    replay = args.replay
    name = replay.stem
    frames = last_frame(replay) + EXTRA_FRAMES
    game_args = ["--headless", "--replay", "r.replay", "--frames", str(frames),
                 "--dump-frames", "frames", "--dump-every", "5", "--record", "rec.replay"]
    sides = {"linux": [str(args.linux_game)], "windows": [args.wine, str(args.exe)]}
    folders = {}
    ok = True
    for side, game in sides.items():
        folder = args.work / f"{name}-{side}"
        fresh_pack(folder, args.pack)
        shutil.copy(replay, folder / "r.replay")
        status = play(game + game_args, folder)
        if status != 0:
            print(f"FAILED: the {side.capitalize()} game ended with {status} "
                  f"(see {folder / 'stderr.txt'})")
            ok = False
        folders[side] = folder
    found = differences(folders["linux"], folders["windows"])
    if found:
        print(f"FAILED: {name}: the Linux and Windows games wrote different files")
        print("\n".join(found[:5]))
        return False
    frames_written = len(list((folders["linux"] / "frames").glob("*")))
    print(f"ok: {name}: {frames_written} frames, the recording and what else it wrote")
    return ok


def entries_ending(folder: Path, ending: str) -> list[Path]:
    """Every file and folder under folder whose path ends with ending, in any case, not following
    links."""
    return [Path(root) / entry
            for root, dirs, files in os.walk(folder)
            for entry in dirs + files if f"{root}/{entry}".lower().endswith(ending.lower())]


def settings_files(folder: Path) -> list[Path]:
    return entries_ending(folder, "/vasul.ini")


def started_elsewhere(args: argparse.Namespace) -> bool:
    folder = args.work / "started-elsewhere"
    shutil.rmtree(folder, ignore_errors=True)
    game, elsewhere = folder / "game", folder / "elsewhere"
    fresh_pack(game, args.pack)
    shutil.copy(args.exe, game / "vasul.exe")
    elsewhere.mkdir()
    users = Path(os.environ["WINEPREFIX"]) / "drive_c" / "users"
    # Nothing from an earlier run: the game must make no settings there.
    for app_data in entries_ending(users, "/AppData/Roaming/Vasul"):
        shutil.rmtree(app_data)
    status = play([args.wine, "../game/vasul.exe", "--headless", "--frames", "5"], elsewhere)
    written = settings_files(elsewhere) + settings_files(users)
    if status == 0 and not written:
        print("ok: started elsewhere: the pack beside vasul.exe, "
              "no vasul.ini in the working folder or AppData")
        return True
    problems = [f"the game ended with {status}"] if status != 0 else []
    problems += [f"a vasul.ini at {path}" for path in written]
    print(f"FAILED: started elsewhere: {'; '.join(problems)}")
    print((elsewhere / "stderr.txt").read_text(errors="replace"))
    return False


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    parser.add_argument("--wine", required=True, help="the program that runs vasul.exe")
    parser.add_argument("--exe", type=Path, required=True, help="vasul.exe")
    parser.add_argument("--work", type=Path, required=True, help="where the games' folders go")
    checks = parser.add_subparsers(dest="check", required=True)
    replay = checks.add_parser("replay")
    replay.add_argument("replay", type=Path)
    replay.add_argument("--linux-game", type=Path, required=True, help="the Linux vasul")
    checks.add_parser("started-elsewhere")
    args = parser.parse_args()
    # The games run in folders of their own: every path given is taken from here.
    for name in ("pack", "exe", "work", "replay", "linux_game"):
        if getattr(args, name, None) is not None:
            setattr(args, name, getattr(args, name).resolve())
    check = compare_replay if args.check == "replay" else started_elsewhere
    return 0 if check(args) else 1


if __name__ == "__main__":
    sys.exit(main())
