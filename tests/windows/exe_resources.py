#!/usr/bin/env python3
"""What a Windows program carries for Explorer: its icon and its version, read from the program's
resources the way Windows finds them.

  exe_resources.py --exe vasul.exe --ico vasul.ico --version 1.2.3
checks that the first icon group holds every image of the .ico, byte for byte, and that the
version resource gives the version in its numbers and its texts. Also imported by the
installer's checks for the installed program.
"""

import argparse
import re
import struct
import sys
from pathlib import Path

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16


class NotAProgram(Exception):
    pass


def resources(exe: bytes) -> dict[tuple[int, int], bytes]:
    """Every resource with a numeric type and name, in its first language: (type, name) -> bytes."""
    if exe[:2] != b"MZ":
        raise NotAProgram("no MZ header")
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[pe:pe + 4] != b"PE\0\0":
        raise NotAProgram("no PE header")
    sections, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", exe, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rva, size = struct.unpack_from("<II", exe, directories + 2 * 8)
    if size == 0:
        return {}

    table = optional + optional_size
    places = []
    for i in range(sections):
        virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
            "<IIII", exe, table + 40 * i + 8)
        places.append((virtual_address, max(virtual_size, raw_size), raw_pointer))

    def offset(address: int) -> int:
        for start, length, raw in places:
            if start <= address < start + length:
                return raw + address - start
        raise NotAProgram(f"address {address:#x} is in no section")

    root = offset(rva)

    def entries(directory: int) -> list[tuple[int | None, int, bool]]:
        named, numbered = struct.unpack_from("<12xHH", exe, root + directory)
        found = []
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", exe, root + directory + 16 + 8 * i)
            number = None if name & 0x80000000 else name
            found.append((number, target & 0x7FFFFFFF, bool(target & 0x80000000)))
        return found

    out = {}
    for kind, names, is_dir in entries(0):
        if kind is None or not is_dir:
            continue
        for name, languages, is_dir in entries(names):
            if name is None or not is_dir:
                continue
            first = entries(languages)
            if not first:
                continue
            data_rva, data_size = struct.unpack_from("<II", exe, root + first[0][1])
            start = offset(data_rva)
            out[(kind, name)] = exe[start:start + data_size]
    return out


def ico_images(ico: bytes) -> list[tuple[int, bytes]]:
    """The .ico's images in order: (side in pixels, bytes)."""
    count = struct.unpack_from("<HHH", ico, 0)[2]
    images = []
    for i in range(count):
        width, _, _, _, _, _, size, at = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        images.append((width or 256, ico[at:at + size]))
    return images


def icon_group(res: dict[tuple[int, int], bytes]) -> list[tuple[int, bytes]]:
    """The lowest-numbered icon group's images in order: (side in pixels, bytes); empty when the
    program has none, or one of its images is missing."""
    groups = sorted(name for kind, name in res if kind == RT_GROUP_ICON)
    if not groups:
        return []
    group = res[(RT_GROUP_ICON, groups[0])]
    count = struct.unpack_from("<HHH", group, 0)[2]
    images = []
    for i in range(count):
        width, _, _, _, _, _, size, number = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        image = res.get((RT_ICON, number), b"")
        if len(image) != size:
            return []
        images.append((width or 256, image))
    return images


def version(res: dict[tuple[int, int], bytes]) -> tuple[str, str, dict[str, str]]:
    """The file and product versions of the fixed part ("1.2.3.0"), and the texts of the first
    string table; empty when the program has no version resource."""
    block = res.get((RT_VERSION, 1), b"")
    fixed = block.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        return "", "", {}

    def dotted(high: int, low: int) -> str:
        return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"

    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", block, fixed + 8)
    texts = {}
    # The string table's entries: length, value length in characters, type, the key and the
    # value, each as UTF-16 ending in a zero, aligned to four bytes.
    start = block.find("StringFileInfo".encode("utf-16-le"))
    at = block.find("\0".encode("utf-16-le"), start) if start >= 0 else -1
    if at >= 0:
        at = (at + 2 + 3) & ~3           # the table itself
        table_end = at + struct.unpack_from("<H", block, at)[0]
        at = (at + 6 + 18 + 3) & ~3      # past its header and "040904B0"
        while at + 6 < table_end:
            length, value_length, _ = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = at + 6
            while block[key_end:key_end + 2] not in (b"\0\0", b""):
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            value = block[value_at:value_at + 2 * value_length].decode("utf-16-le")
            texts[key] = value.rstrip("\0")
            at = (at + length + 3) & ~3
    return dotted(file_ms, file_ls), dotted(product_ms, product_ls), texts


def problems(exe: Path, ico: Path, wanted_version: str) -> list[str]:
    """What is wrong with the icon and version that exe carries; empty when nothing is."""
    try:
        res = resources(exe.read_bytes())
    except (NotAProgram, struct.error) as error:
        return [f"{exe} cannot be read as a program: {error}"]
    found = []
    images = icon_group(res)
    wanted = ico_images(ico.read_bytes())
    if [side for side, _ in images] != [side for side, _ in wanted]:
        found.append(f"the icon holds sizes {[s for s, _ in images]}, "
                     f"not the .ico's {[s for s, _ in wanted]}")
    elif images != wanted:
        found.append("the icon's images are not the .ico's")
    file_version, product_version, texts = version(res)
    dotted = wanted_version + ".0"
    for what, got, want in (("file version", file_version, dotted),
                            ("product version", product_version, dotted),
                            ("FileVersion text", texts.get("FileVersion"), wanted_version),
                            ("ProductVersion text", texts.get("ProductVersion"), wanted_version)):
        if got != want:
            found.append(f"the {what} is {got!r}, not {want!r}")
    # The manifest (resource type 24) names the program's version as well.
    manifest = next((data for (kind, _), data in res.items() if kind == 24), b"")
    named = re.search(rb'<assemblyIdentity[^>]*\sversion="([^"]*)"', manifest)
    if not named or named.group(1).decode() != dotted:
        found.append(f"the manifest names version {named.group(1).decode() if named else None!r}, "
                     f"not {dotted!r}")
    return found


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", type=Path, required=True)
    parser.add_argument("--ico", type=Path, required=True)
    parser.add_argument("--version", required=True, help="the version it must give, as 1.2.3")
    args = parser.parse_args()
    found = problems(args.exe, args.ico, args.version)
    for problem in found:
        print(f"FAILED: {args.exe.name}: {problem}")
    if found:
        return 1
    sizes = ", ".join(str(side) for side, _ in ico_images(args.ico.read_bytes()))
    print(f"ok: {args.exe.name} carries the icon at {sizes} pixels and version {args.version}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
