"""A folder holding a fresh copy of the data pack, for the checks that play the game from one."""

import shutil
from pathlib import Path

# The parts of the pack the game reads. The pack's vasul.ini stays behind: any settings file in
# the folder afterwards is one the game wrote.
PACK_PARTS = ("image", "ogg", "wave", "vasul.spt")


def fresh_pack(folder: Path, pack: Path) -> None:
    """Empties folder (making it when missing) and copies the pack into it."""
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for part in PACK_PARTS:
        source = pack / part
        if source.is_dir():
            shutil.copytree(source, folder / part)
        else:
            shutil.copy(source, folder / part)
