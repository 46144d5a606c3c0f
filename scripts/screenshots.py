#!/usr/bin/env python3
"""Takes the screenshots of Woundwell's four windows for the documentation and the AppStream
metainfo: the birth-data window with a name and a date entered, the result window, the about
window and the farewell window, each with its window frame, on Qt's own light palette; then the
birth-data and farewell windows again on a dark desktop colour scheme. Builds nothing; give it
a built program.

Usage: scripts/screenshots.py [PROGRAM [OUTPUT_DIR]]
  PROGRAM     default build/src/app/woundwell
  OUTPUT_DIR  default docs/screenshots; gets main.png, result.png, about.png, farewell.png,
              main-dark.png and farewell-dark.png
It runs the program on a private desktop with a window manager (tests/harness), in a fresh home
whose settings keep the update reminder away, once for each colour scheme (the dark one is
qt6ct's "darker", set as a desktop user sets it). Needs the packages of scripts/deps.sh test.
"""

import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "harness"))
from woundwell_desktop import Desktop, Woundwell, wait_until  # noqa: E402

# The windows taken on each colour scheme: all four on the light palette the layouts were drawn
# on; on the dark scheme the two that mix the most fixed colours with the desktop's.
WINDOWS = {
    "light": ("main", "result", "about", "farewell"),
    "dark": ("main", "farewell"),
}


def picture_name(window: str, colours: str) -> str:
    return f"{window}.png" if colours == "light" else f"{window}-{colours}.png"


def take_screenshots(desktop: Desktop, program: str, colours: str) -> list[Path]:
    run = Woundwell(desktop, program=program, colours=colours).start()
    taken: list[Path] = []

    def new_window(before: list[str]) -> str:
        """Waits for a window of the program that was not there before, and for its paint."""
        window = wait_until(lambda: next((w for w in desktop.x_windows(run.pid)
                                          if w not in before), None), what="a new window")
        desktop.tool("xdotool", "windowactivate", "--sync", window)
        time.sleep(1)
        return window

    def capture(window: str, name: str) -> None:
        if name not in WINDOWS[colours]:
            return
        # -frame takes the window manager's frame too (import finds it as the window's parent).
        taken.append(desktop.root / picture_name(name, colours))
        subprocess.run(["import", "-frame", "-window", window, str(taken[-1])],
                       env=desktop.env, check=True)

    # The birth-data window: the name box has the focus; a closed list picks an item when
    # the start of its text is typed.
    main = new_window([])
    desktop.type("ANN LEE")
    for text in ("7", "June", "1933"):
        desktop.key("Tab")
        desktop.type(text)
    time.sleep(0.5)
    capture(main, "main")

    # Help menu, About Software; Enter presses OK.
    before = desktop.x_windows(run.pid)
    desktop.key("alt+h")
    time.sleep(0.5)  # the menu opens
    desktop.key("a")
    capture(new_window(before), "about")
    desktop.key("Return")
    wait_until(lambda: desktop.x_windows(run.pid) == before, what="the about window to close")

    # Alt+W presses "Find My Woundwell" (Enter would press Exit from the lists); Esc presses
    # the result window's Exit, which shows the farewell window.
    desktop.tool("xdotool", "windowactivate", "--sync", main)
    for keys, name in (("alt+w", "result"), ("Escape", "farewell")):
        before = desktop.x_windows(run.pid)
        desktop.key(keys)
        capture(new_window(before), name)

    desktop.key("alt+x")  # the farewell window's Exit
    run.wait_for_exit()
    return taken


def main() -> int:
    program = sys.argv[1] if len(sys.argv) > 1 else str(REPO / "build/src/app/woundwell")
    out = Path(sys.argv[2]) if len(sys.argv) > 2 else REPO / "docs/screenshots"
    if not os.access(program, os.X_OK):
        sys.exit(f"screenshots: no program at {program} (build it first or give its path)")
    if shutil.which("import") is None:
        sys.exit("screenshots: ImageMagick's import is missing; run scripts/deps.sh test")
    desktop = Desktop(accessibility=False).start()
    try:
        taken = [picture for colours in WINDOWS
                 for picture in take_screenshots(desktop, os.path.abspath(program), colours)]
        out.mkdir(parents=True, exist_ok=True)
        for picture in taken:
            shutil.copy(picture, out / picture.name)
    finally:
        desktop.stop()
    print(f"Screenshots in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
