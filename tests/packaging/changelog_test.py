#!/usr/bin/env python3
"""packaging/changelog.py: what it refuses in a changelog, and what it makes of a good one."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "packaging"))
import changelog  # noqa: E402

GOOD = """# Changelog

## [Unreleased]
### Added
- Not yet.

## [1.1.0] - 2027-01-02
### Added
- Pictures from `the folder` & more, with a [link](https://example.org)
  that goes on.
### Fixed
- A <fault>.

## [1.0.0] - 2026-12-11
### Added
- The game.
"""


def read(text: str) -> list[changelog.Release]:
    with tempfile.TemporaryDirectory() as folder:
        path = Path(folder) / "CHANGELOG.md"
        path.write_text(text, encoding="utf-8")
        return changelog.read(path)


class Check(unittest.TestCase):
    def test_a_good_changelog_passes_for_its_newest_version(self):
        releases = read(GOOD)
        self.assertEqual([r.version for r in releases], ["1.1.0", "1.0.0"])
        self.assertEqual(changelog.check(releases, "1.1.0"), [])

    def test_what_it_refuses(self):
        cases = {
            "another version": (GOOD, "1.2.0", "not 1.2.0"),
            "no date": (GOOD.replace("[1.1.0] - 2027-01-02", "[1.1.0]"), "1.1.0", "no date"),
            "no change": (GOOD.replace("- The game.\n", ""), "1.1.0", "lists no change"),
            "out of order": (GOOD.replace("[1.0.0]", "[1.2.0]"), "1.1.0", "listed above"),
            "no release": ("# Changelog\n\n## [Unreleased]\n", "1.0.0", "no released section"),
        }
        for name, (text, version, problem) in cases.items():
            with self.subTest(name):
                problems = changelog.check(read(text), version)
                self.assertTrue(any(problem in p for p in problems), problems)


class Outputs(unittest.TestCase):
    def test_metainfo_escapes_and_drops_markdown(self):
        xml = changelog.metainfo(read(GOOD))
        self.assertIn('<release version="1.1.0" date="2027-01-02">', xml)
        self.assertIn("<li>Pictures from the folder &amp; more, with a link that goes on.</li>",
                      xml)
        self.assertIn("<li>A &lt;fault&gt;.</li>", xml)
        self.assertNotIn("Not yet", xml)

    def test_debian_changelog_has_one_entry_a_release_with_its_date(self):
        text = changelog.debian(read(GOOD), "A B <a@b.c>")
        self.assertTrue(text.startswith("vasul (1.1.0) unstable; urgency=medium\n\n  * Pictures"))
        self.assertIn(" -- A B <a@b.c>  Sat, 02 Jan 2027 00:00:00 +0000\n", text)
        self.assertIn("vasul (1.0.0) unstable", text)
        self.assertTrue(all(len(line) <= 80 for line in text.splitlines()))

    def test_notes_are_the_section_of_the_version(self):
        notes = changelog.notes(read(GOOD), "1.1.0")
        self.assertTrue(notes.startswith("# Vasul 1.1.0 (2027-01-02)\n\n### Added\n"))
        self.assertIn("### Fixed\n- A <fault>.", notes)
        self.assertNotIn("The game.", notes)


if __name__ == "__main__":
    unittest.main()
