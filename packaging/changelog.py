#!/usr/bin/env python3
"""Reads CHANGELOG.md (Keep a Changelog) and writes what the packages and releases take from it.

  check VERSION      the newest release is VERSION, every release has a date, and the versions
                     fall from the top down
  metainfo           the AppStream <releases> element
  debian MAINTAINER  the Debian changelog of the native package
  notes VERSION      the release notes of VERSION, in Markdown
  date               the newest release's date (the manual page's)

The changelog is the one place a release is described; CMake runs this at configure time.
"""

import argparse
import datetime
import email.utils
import re
import sys
import textwrap
from dataclasses import dataclass, field
from pathlib import Path
from xml.sax.saxutils import escape

CHANGELOG = Path(__file__).resolve().parent.parent / "CHANGELOG.md"
RELEASE = re.compile(r"^## \[(?P<version>[^\]]+)\](?: - (?P<date>\d{4}-\d{2}-\d{2}))?\s*$")
KIND = re.compile(r"^### (?P<kind>.+?)\s*$")


@dataclass
class Release:
    version: str
    date: str
    # Each kind of change ("Added", "Fixed") with its items, in the file's order.
    changes: list[tuple[str, list[str]]] = field(default_factory=list)
    text: list[str] = field(default_factory=list)


def read(path: Path = CHANGELOG) -> list[Release]:
    """The released sections, newest first; [Unreleased] is left out."""
    releases: list[Release] = []
    current = None
    for line in path.read_text(encoding="utf-8").splitlines():
        heading = RELEASE.match(line)
        if heading:
            current = None
            if heading["version"].lower() != "unreleased":
                current = Release(heading["version"], heading["date"] or "")
                releases.append(current)
            continue
        if current is None:
            continue
        current.text.append(line)
        kind = KIND.match(line)
        if kind:
            current.changes.append((kind["kind"], []))
        elif line.startswith("- ") and current.changes:
            current.changes[-1][1].append(line[2:].strip())
        elif line.startswith("  ") and current.changes and current.changes[-1][1]:
            items = current.changes[-1][1]
            items[-1] += " " + line.strip()
    return releases


def plain(text: str) -> str:
    """An item without its Markdown: links become their text, code and emphasis marks go."""
    text = re.sub(r"\[([^\]]+)\]\([^)]*\)", r"\1", text)
    return re.sub(r"[`*]", "", text)


def version_key(version: str) -> tuple[int, ...]:
    return tuple(int(part) for part in re.findall(r"\d+", version))


def check(releases: list[Release], version: str) -> list[str]:
    problems = []
    if not releases:
        return ["CHANGELOG.md has no released section"]
    if releases[0].version != version:
        problems.append(f"the newest release in CHANGELOG.md is {releases[0].version}, "
                        f"not {version} as CMakeLists.txt says")
    for release in releases:
        if not release.date:
            problems.append(f"release {release.version} has no date")
        if not any(items for _, items in release.changes):
            problems.append(f"release {release.version} lists no change")
    for newer, older in zip(releases, releases[1:]):
        if version_key(newer.version) <= version_key(older.version):
            problems.append(f"release {newer.version} is listed above {older.version}")
    return problems


def metainfo(releases: list[Release]) -> str:
    lines = ["<releases>"]
    for release in releases:
        lines.append(f'    <release version="{release.version}" date="{release.date}">')
        lines.append("      <description>")
        for kind, items in release.changes:
            if not items:
                continue
            lines.append(f"        <p>{escape(kind)}:</p>")
            lines.append("        <ul>")
            lines += [f"          <li>{escape(plain(item))}</li>" for item in items]
            lines.append("        </ul>")
        lines.append("      </description>")
        lines.append("    </release>")
    lines.append("  </releases>")
    return "\n".join(lines)


def debian(releases: list[Release], maintainer: str) -> str:
    entries = []
    for release in releases:
        day = datetime.datetime.fromisoformat(release.date).replace(tzinfo=datetime.timezone.utc)
        items = []
        for _, changes in release.changes:
            for item in changes:
                items.append(textwrap.fill(plain(item), width=78, initial_indent="  * ",
                                           subsequent_indent="    "))
        entries.append(f"vasul ({release.version}) unstable; urgency=medium\n\n"
                       + "\n".join(items)
                       + f"\n\n -- {maintainer}  {email.utils.format_datetime(day)}\n")
    return "\n".join(entries)


def notes(releases: list[Release], version: str) -> str:
    for release in releases:
        if release.version == version:
            body = "\n".join(release.text).strip()
            return f"# Vasul {release.version} ({release.date})\n\n{body}\n"
    raise SystemExit(f"changelog: no release {version} in CHANGELOG.md")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("what", choices=["check", "metainfo", "debian", "notes", "date"])
    parser.add_argument("argument", nargs="?", default="")
    parser.add_argument("--changelog", type=Path, default=CHANGELOG)
    args = parser.parse_args()
    releases = read(args.changelog)
    if args.what == "check":
        problems = check(releases, args.argument)
        for problem in problems:
            print(f"changelog: {problem}", file=sys.stderr)
        return 1 if problems else 0
    if args.what == "metainfo":
        print(metainfo(releases))
    elif args.what == "date":
        print(releases[0].date if releases else "")
    elif args.what == "debian":
        print(debian(releases, args.argument), end="")
    else:
        print(notes(releases, args.argument), end="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
