#!/usr/bin/env python3
"""The Windows installer under Wine: what it installs, registers, upgrades and leaves behind.

Two installers are built here from the Windows test build's vasul.exe and the pack, with
packaging/windows/stage and make-installer: the current version and an older one (0.9.0), whose
vasul.exe and README.txt differ and which has a folder the current one has not. In Wine's
prefix (WINEPREFIX):
  - the older version is installed silently for the player, with a desktop shortcut; the
    player then has settings of their own and a picture;
  - the current version is installed silently over it: the folder then holds the current files
    byte for byte, the uninstaller and the player's files, and nothing of the older version;
    one entry in the list of programs, with the current version, the game's icon and size; the
    Start menu and desktop shortcuts point to the installed game;
  - the installed game, started in its folder as the Start menu starts it, plays a replay
    headless with the same frames, recording, messages and settings as the Linux game;
  - the silent uninstall, run as the list of programs names it, leaves only the player's
    settings and picture, and no entry or shortcut;
  - installed for everyone (/ALLUSERS), the game goes to Program Files, with its entry in HKLM
    and its shortcut in the common Start menu; the silent uninstall leaves nothing at all.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(HERE.parent / "support"))
sys.path.insert(0, str(HERE))
from fresh_pack import PACK_PARTS, fresh_pack  # noqa: E402
from tally import Tally  # noqa: E402
import exe_resources  # noqa: E402
import game_checks  # noqa: E402

OLD_VERSION = "0.9.0"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
PUBLISHER = "The Vasul developers"
# What the player has made by the time of the upgrade: a line of their own in the settings and
# a picture dropped on the window.
PLAYER_LINE = "; the player's own line\r\n"
PLAYER_PICTURE = ROOT / "tests" / "data" / "pictures" / "corners.png"


class Wine:
    """Programs in the prefix, its registry and its paths."""

    def __init__(self, env: dict[str, str]) -> None:
        # Shortcuts made in the prefix stay there: no menu entries for the machine's desktop.
        overrides = env.get("WINEDLLOVERRIDES", "")
        self.env = dict(env, WINEDLLOVERRIDES=f"{overrides};winemenubuilder.exe=d".lstrip(";"))
        self.prefix = Path(env["WINEPREFIX"])

    def run(self, command: list[str], cwd: Path | None = None,
            stderr=subprocess.DEVNULL) -> int:
        return subprocess.run(["wine", *command], cwd=cwd, env=self.env, check=False,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=stderr).returncode

    def wait(self) -> None:
        """Waits until every program of the prefix has ended, and its server with them: an
        uninstaller goes on in a copy of itself after the one started has ended."""
        subprocess.run(["wineserver", "-w"], env=self.env, check=False)

    def stop(self) -> None:
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, stderr=subprocess.DEVNULL)
        self.wait()

    def reg(self, key: str, *options: str) -> str | None:
        """What `reg query` prints for the key; None when there is no such key."""
        done = subprocess.run(["wine", "reg", "query", key, *options], env=self.env, check=False,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              errors="replace")
        return done.stdout if done.returncode == 0 else None

    def values(self, key: str) -> dict[str, str] | None:
        """The key's values as text (a DWORD as 0x...); None when there is no such key."""
        listing = self.reg(key)
        if listing is None:
            return None
        found = {}
        for line in listing.splitlines():
            value = re.match(r"^    (\S.*?)    (REG_\w+)    ?(.*)$", line)
            if value:
                found[value.group(1)] = value.group(3)
        return found

    def unix(self, path: str) -> Path:
        """A Windows path of the prefix as a path here."""
        drive, rest = path[0].lower(), path[3:].replace("\\", "/")
        return Path("/", rest) if drive == "z" else self.prefix / f"drive_{drive}" / rest

    @staticmethod
    def windows(path: Path) -> str:
        """A path here as Windows programs under Wine name it (drive Z: is the root)."""
        return "Z:" + str(path).replace("/", "\\")


def files_under(folder: Path) -> set[str]:
    """Every file under folder, relative to it, with forward slashes; empty when it is gone."""
    return {path.relative_to(folder).as_posix() for path in folder.rglob("*") if path.is_file()}


def mentions(shortcut: Path, target: str) -> bool:
    """Whether a .lnk names target, in the shell's UTF-16 or in ANSI, in any case."""
    data = shortcut.read_bytes().lower()
    target = target.lower()
    return target.encode("utf-16-le") in data or target.encode("latin-1") in data


def build_installers(args: argparse.Namespace, work: Path, tally: Tally) -> dict[str, Path]:
    """The staged folder and installer of each version: {"stage": ..., "setup": ...,
    "old-setup": ...}."""
    stage, old = work / "stage", work / "stage-old"
    environment = dict(os.environ)
    for folder, version in ((stage, args.version), (old, OLD_VERSION)):
        subprocess.run([ROOT / "packaging/windows/stage", folder, args.exe, args.pack,
                        args.assetgen, version], check=True, env=environment)
    # The older version's own program, and a folder that went out of the game since.
    with open(old / "vasul.exe", "ab") as exe:
        exe.write(b"the older build")
    (old / "retired").mkdir()
    (old / "retired" / "notes.txt").write_text("only in the older version\r\n")
    built = {"stage": stage, "setup": work / f"vasul-{args.version}-windows-x64-setup.exe",
             "old-setup": work / f"vasul-{OLD_VERSION}-windows-x64-setup.exe"}

    def make(folder: Path, version: str, out: Path) -> subprocess.CompletedProcess:
        return subprocess.run([ROOT / "packaging/windows/make-installer", folder, args.ico,
                               version, out], capture_output=True, text=True, check=False)

    with ThreadPoolExecutor(2) as pool:
        made = list(pool.map(make, (stage, old), (args.version, OLD_VERSION),
                             (built["setup"], built["old-setup"])))
    for done in made:
        if done.returncode != 0:
            raise RuntimeError(f"make-installer failed:\n{done.stdout}{done.stderr}")
    _, product, texts = exe_resources.version(
        exe_resources.resources(built["setup"].read_bytes()))
    tally.check(product == f"{args.version}.0" and texts.get("ProductVersion") == args.version,
                f"the installer says version {args.version} "
                f"({built['setup'].stat().st_size // 1024} KiB)",
                f"its version resource: {product!r}, {texts!r}")
    return built


class Places:
    """Where the installer puts things in the prefix, for the player and for everyone."""

    def __init__(self, wine: Wine) -> None:
        users = wine.prefix / "drive_c" / "users"
        homes = [home for home in users.iterdir() if home.name != "Public"]
        if len(homes) != 1:
            raise RuntimeError(f"the prefix has {len(homes)} users")
        home = homes[0]
        self.home = home
        self.folder = home / "AppData/Local/Programs/Vasul"
        self.start_menu = home / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vasul.lnk"
        self.desktop = home / "Desktop/Vasul.lnk"
        self.app_data = home / "AppData/Roaming/Vasul"
        drive = wine.prefix / "drive_c"
        self.everyone_folder = drive / "Program Files/Vasul"
        self.everyone_start_menu = (
            drive / "ProgramData/Microsoft/Windows/Start Menu/Programs/Vasul.lnk")
        self.everyone_desktop = users / "Public/Desktop/Vasul.lnk"


def clean_prefix(wine: Wine, places: Places) -> None:
    """No installation of an earlier run left over, and the user's folders the prefix's own:
    Wine links Desktop and the like to the home folder, where shortcuts would land."""
    wine.stop()
    for link in places.home.iterdir():
        if link.is_symlink():
            link.unlink()
            link.mkdir()
    for root in ("HKCU", "HKLM"):
        subprocess.run(["wine", "reg", "delete", f"{root}\\{UNINSTALL_KEY}\\Vasul", "/f"],
                       env=wine.env, check=False, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for folder in (places.folder, places.everyone_folder, places.app_data):
        shutil.rmtree(folder, ignore_errors=True)
    for shortcut in (places.start_menu, places.desktop, places.everyone_start_menu,
                     places.everyone_desktop):
        shortcut.unlink(missing_ok=True)


def game_size(folder: Path, player_files: set[str]) -> int:
    """The bytes of what the installer put in folder."""
    return sum((folder / name).stat().st_size
               for name in files_under(folder) - player_files)


def check_installation(tally: Tally, wine: Wine, root: str, version: str, stage: Path,
                       folder: Path, shortcuts: list[Path], player_files: set[str],
                       ico: Path) -> dict[str, str] | None:
    """The installed folder, its entry in the list of programs and the shortcuts; returns the
    entry."""
    what = "for everyone" if root == "HKLM" else "for the player"
    entry = wine.values(f"{root}\\{UNINSTALL_KEY}\\Vasul")
    if not tally.check(entry is not None, f"installed {what}: an entry in {root}'s programs"):
        return None
    location = entry.get("InstallLocation", "")
    tally.check(wine.unix(location) == folder,
                f"installed {what} in {folder.relative_to(wine.prefix)}",
                f"the entry's folder: {location!r}")
    size = game_size(folder, player_files) / 1024
    wanted = {
        "DisplayName": "Vasul",
        "DisplayVersion": version,
        "Publisher": PUBLISHER,
        "DisplayIcon": f"{location}\\vasul.exe,0",
        "UninstallString": f'"{location}\\uninstall.exe"',
        "QuietUninstallString": f'"{location}\\uninstall.exe" /S',
        "NoModify": "0x1",
        "NoRepair": "0x1",
    }
    wrong = [f"{name}: {entry.get(name)!r}, not {value!r}" for name, value in wanted.items()
             if entry.get(name) != value]
    estimated = int(entry.get("EstimatedSize", "0"), 16)
    if abs(estimated - size) > size * 0.02:
        wrong.append(f"EstimatedSize: {estimated} KiB, the files {size:.0f} KiB")
    tally.check(not wrong, f"its entry: version {version}, icon, publisher, size and uninstaller",
                "\n".join(wrong))
    listing = wine.reg(f"{root}\\{UNINSTALL_KEY}", "/s") or ""
    entries = len(re.findall(r"^    DisplayName    REG_SZ    Vasul$", listing, re.M))
    tally.check(entries == 1, f"one Vasul in {root}'s list of programs", f"{entries} of them")

    wanted_files = files_under(stage) - {"vasul.ini"} | {"uninstall.exe"} | player_files
    found = files_under(folder)
    different = [name for name in sorted(files_under(stage) - {"vasul.ini"})
                 if name in found and (folder / name).read_bytes() != (stage / name).read_bytes()]
    tally.check(found == wanted_files and not different,
                f"the folder holds this version's {len(wanted_files - player_files)} files "
                f"byte for byte, and {', '.join(sorted(player_files))}",
                "\n".join([f"missing: {name}" for name in sorted(wanted_files - found)] +
                          [f"not the game's: {name}" for name in sorted(found - wanted_files)] +
                          [f"not this version's: {name}" for name in different]))
    exe = location + "\\vasul.exe"
    for shortcut in shortcuts:
        tally.check(shortcut.is_file() and mentions(shortcut, exe),
                    f"a shortcut {shortcut.relative_to(wine.prefix)} to {exe}")
    problems = exe_resources.problems(folder / "vasul.exe", ico, version) \
        if (folder / "vasul.exe").is_file() else ["no vasul.exe"]
    tally.check(not problems, "the installed vasul.exe carries the icon and version",
                "\n".join(problems))
    return entry


def check_replay(tally: Tally, wine: Wine, args: argparse.Namespace, folder: Path,
                 work: Path) -> None:
    """The installed game, started in its folder, against the Linux game started in a folder
    that holds the pack and the same vasul.ini."""
    name = args.replay.stem
    frames = game_checks.last_frame(args.replay) + game_checks.EXTRA_FRAMES
    linux, windows = work / f"{name}-linux", work / f"{name}-installed"
    fresh_pack(linux, args.pack)
    shutil.copy(folder / "vasul.ini", linux / "vasul.ini")
    shutil.rmtree(windows, ignore_errors=True)
    windows.mkdir()
    for side in (linux, windows):
        shutil.copy(args.replay, side / "r.replay")

    def game_args(at: str) -> list[str]:
        return ["--headless", "--replay", f"{at}r.replay", "--frames", str(frames),
                "--dump-frames", f"{at}frames", "--dump-every", "5", "--record",
                f"{at}rec.replay"]

    linux_status = game_checks.play([str(args.linux_game), *game_args("")], linux)
    with open(windows / "stderr.txt", "wb") as messages:
        status = wine.run(["vasul.exe", *game_args(Wine.windows(windows) + "\\")], cwd=folder,
                          stderr=messages)
    shutil.copy(folder / "vasul.ini", windows / "vasul.ini")
    for part in PACK_PARTS:
        target = linux / part
        shutil.rmtree(target) if target.is_dir() else target.unlink()
    found = game_checks.differences(linux, windows)
    written = len(list((windows / "frames").glob("*"))) if (windows / "frames").is_dir() else 0
    tally.check(status == 0 and linux_status == 0 and not found and written > 0,
                f"the installed game plays {name} as the Linux game does: {written} frames, "
                "the recording, its messages and vasul.ini",
                f"exit {status} (Linux {linux_status}); " + "\n".join(found[:5]))


def uninstall(wine: Wine, entry: dict[str, str]) -> int:
    """Runs the entry's silent uninstall and waits for the copy of itself that does the work."""
    command = re.match(r'^"([^"]+)"\s*(.*)$', entry.get("QuietUninstallString", ""))
    if not command:
        return -1
    status = wine.run([command.group(1), *command.group(2).split()])
    wine.wait()
    return status


def check_uninstalled(tally: Tally, wine: Wine, root: str, folder: Path, shortcuts: list[Path],
                      player_files: set[str]) -> None:
    left = files_under(folder)
    kept = f"only the player's {', '.join(sorted(player_files))}" if player_files else "nothing"
    tally.check(left == player_files and (folder.exists() == bool(player_files)),
                f"uninstalled: the folder keeps {kept}",
                "left: " + ", ".join(sorted(left)) if left != player_files else
                f"the folder is {'still there' if folder.exists() else 'gone'}")
    tally.check(wine.reg(f"{root}\\{UNINSTALL_KEY}\\Vasul") is None,
                f"uninstalled: no entry in {root}'s programs")
    remaining = [str(s.relative_to(wine.prefix)) for s in shortcuts if s.exists()]
    tally.check(not remaining, "uninstalled: no shortcuts", "left: " + ", ".join(remaining))


def for_the_player(tally: Tally, wine: Wine, places: Places, built: dict[str, Path],
                   args: argparse.Namespace, work: Path) -> None:
    folder = places.folder
    shortcuts = [places.start_menu, places.desktop]
    status = wine.run([str(built["old-setup"]), "/S", "/DESKTOP"])
    old = wine.values(f"HKCU\\{UNINSTALL_KEY}\\Vasul") or {}
    if not tally.check(status == 0 and old.get("DisplayVersion") == OLD_VERSION and
                       (folder / "retired/notes.txt").is_file(),
                       f"the older version {OLD_VERSION} installed for the player",
                       f"exit {status}, entry {old}"):
        return
    # The player's own: a changed vasul.ini and a picture.
    with open(folder / "vasul.ini", "a", newline="") as settings:
        settings.write(PLAYER_LINE)
    player_settings = (folder / "vasul.ini").read_bytes()
    (folder / "pictures").mkdir()
    shutil.copy(PLAYER_PICTURE, folder / "pictures" / PLAYER_PICTURE.name)
    player_files = {"vasul.ini", f"pictures/{PLAYER_PICTURE.name}"}

    status = wine.run([str(built["setup"]), "/S"])
    tally.check(status == 0, f"{args.version} installed over {OLD_VERSION}", f"exit {status}")
    entry = check_installation(tally, wine, "HKCU", args.version, built["stage"], folder,
                               shortcuts, player_files, args.ico)
    tally.check((folder / "vasul.ini").read_bytes() == player_settings,
                "the upgrade kept the player's vasul.ini")
    if entry is None:
        return
    check_replay(tally, wine, args, folder, work)
    tally.check(PLAYER_LINE.encode() in (folder / "vasul.ini").read_bytes(),
                "the game kept the player's line in vasul.ini")
    status = uninstall(wine, entry)
    tally.check(status == 0, "the silent uninstall ran", f"exit {status}")
    check_uninstalled(tally, wine, "HKCU", folder, shortcuts, player_files)


def for_everyone(tally: Tally, wine: Wine, places: Places, built: dict[str, Path],
                 args: argparse.Namespace) -> None:
    folder = places.everyone_folder
    shortcuts = [places.everyone_start_menu]
    status = wine.run([str(built["setup"]), "/S", "/ALLUSERS"])
    tally.check(status == 0, "installed for everyone (/ALLUSERS)", f"exit {status}")
    tally.check(wine.reg(f"HKCU\\{UNINSTALL_KEY}\\Vasul") is None and
                not places.start_menu.exists(),
                "for everyone: nothing in the player's own list of programs or Start menu")
    # The installer's vasul.ini is the defaults until the game writes it: nothing to keep.
    entry = check_installation(tally, wine, "HKLM", args.version, built["stage"], folder,
                               shortcuts, {"vasul.ini"}, args.ico)
    if entry is None:
        return
    status = uninstall(wine, entry)
    tally.check(status == 0, "the silent uninstall for everyone ran", f"exit {status}")
    check_uninstalled(tally, wine, "HKLM", folder, shortcuts, set())


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", type=Path, required=True, help="vasul.exe as built")
    parser.add_argument("--ico", type=Path, required=True, help="the generator's vasul.ico")
    parser.add_argument("--pack", type=Path, required=True, help="the data pack's folder")
    parser.add_argument("--assetgen", type=Path, required=True, help="the Linux generator")
    parser.add_argument("--linux-game", type=Path, required=True, help="the Linux vasul")
    parser.add_argument("--replay", type=Path, required=True, help="what the installed game plays")
    parser.add_argument("--version", required=True, help="the version being built, N.N.N")
    parser.add_argument("--work", type=Path, required=True, help="a folder to work in, emptied")
    args = parser.parse_args()
    for name in ("exe", "ico", "pack", "assetgen", "linux_game", "replay", "work"):
        setattr(args, name, getattr(args, name).resolve())
    started = time.monotonic()
    work = args.work
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    tally = Tally()
    wine = Wine(dict(os.environ))
    places = None
    try:
        built = build_installers(args, work, tally)
        places = Places(wine)
        clean_prefix(wine, places)
        for_the_player(tally, wine, places, built, args, work)
        for_everyone(tally, wine, places, built, args)
    except (OSError, RuntimeError, subprocess.SubprocessError) as error:
        tally.check(False, f"the installer checks stopped: {error}")
    finally:
        # The player's files that an uninstall keeps would be found by the other checks.
        if places:
            clean_prefix(wine, places)
        wine.stop()
    print(f"installer: {tally.passed} passed, {tally.failed} failed "
          f"in {time.monotonic() - started:.0f} s")
    return 1 if tally.failed else 0


if __name__ == "__main__":
    sys.exit(main())
