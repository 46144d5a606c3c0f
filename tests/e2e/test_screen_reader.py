"""What a blind user hears: one search and the way out, keys only, through the Orca screen reader
of Debian's package, read from the lines its debug log says it speaks."""

import importlib.util
import re
import sys
from pathlib import Path

import woundwell_desktop as harness
from woundwell_desktop import shows_name_box, wait_until

LAUNCHER = Path(__file__).resolve().parent.parent / "harness" / "orca_launcher.py"
# The last thing Orca logs as it starts to listen: Orca 43 starts its "registry", Orca 48 its
# "Atspi main event loop".
STARTED = re.compile(r"ORCA: Starting (registry|Atspi main event loop)")
# SPEECH OUTPUT: 'what is spoken' then the voice, a dictionary or " voice=NAME{...}".
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(?:voice=\w+)?\[?\{'")


class Orca:
    """Orca on the test's desktop and accessibility bus, and what it spoke since `mark()`."""

    def __init__(self, desktop: harness.Desktop) -> None:
        self.log = desktop.root / "orca.log"
        self.process = desktop.spawn([sys.executable, str(LAUNCHER), str(self.log)], desktop.env)
        self._start = 0
        wait_until(lambda: STARTED.search(self._text()), 30, "Orca to start")

    def _text(self) -> str:
        if self.process.poll() is not None:
            raise harness.HarnessError(f"Orca ended with {self.process.returncode}")
        return self.log.read_text(encoding="utf-8", errors="replace") if self.log.exists() else ""

    def spoken(self) -> list[str]:
        return SPOKEN.findall(self._text()[self._start:])

    def mark(self) -> None:
        self._start = len(self._text())

    def wait_to_hear(self, *phrases: str) -> None:
        """Waits until each phrase was part of something spoken since the mark; marks again."""
        try:
            wait_until(lambda: all(any(phrase in line for line in self.spoken())
                                   for phrase in phrases), what=f"Orca to say {phrases}")
        except AssertionError as error:
            raise AssertionError(f"{error}; it said {self.spoken()}") from None
        self.mark()


class ScreenReaderTest(harness.ProgramTestCase):

    def test_a_search_and_the_way_out_heard_through_orca(self):
        orca = Orca(self.desktop)
        program, _ = self.start_at_birth_data_window()
        self.type("ann")
        orca.mark()
        self.key("Tab", "Tab")
        orca.wait_to_hear("January")  # the month list and the month it shows
        self.key("Down")
        orca.wait_to_hear("February")

        self.key("alt+w")  # Find: 1 February 1930
        orca.wait_to_hear("Taurus", "Material happiness means lot to you.")

        # Back, then Esc on the birth-data window: the farewell window, after a search.
        self.key("alt+b")
        program.wait_for_window(shows_name_box, "the birth-data window again")
        self.wait_for_keyboard()
        orca.mark()
        self.key("Escape")
        # Every appeal it can show asks the user to visit Quorvane regularly.
        orca.wait_to_hear("Quorvane regularly", "Exit push button")
        self.key("KP_Up")  # flat review: the line on screen that holds the focus
        orca.wait_to_hear("Exit")
        self.key("Tab", "Tab", "Tab")  # past the forum box and the picture
        orca.wait_to_hear("Your Name text")


if __name__ == "__main__":
    if importlib.util.find_spec("orca") is None:
        print("SKIPPED: Orca is not installed (scripts/deps.sh test installs it)")
        sys.exit(77)
    harness.main()
