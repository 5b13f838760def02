"""What the checks scripts share: each check's outcome printed as it comes, and counted."""


class Tally:
    """Prints each check's outcome and counts them."""

    def __init__(self) -> None:
        self.passed = 0
        self.failed = 0

    def ok(self, text: str) -> None:
        print(f"ok: {text}", flush=True)
        self.passed += 1

    def fail(self, text: str, details: str = "") -> None:
        print(f"FAILED: {text}", flush=True)
        if details:
            print(details.rstrip(), flush=True)
        self.failed += 1

    def check(self, ok: bool, text: str, details: str = "") -> bool:
        """ok or fail, as ok says; returns ok."""
        if ok:
            self.ok(text)
        else:
            self.fail(text, details)
        return ok
