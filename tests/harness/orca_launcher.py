"""Starts the Orca screen reader for a test: no speech server (the test has no sound device, and
Orca's own launcher would wait for one), and Orca's debug log written out line by line, so that
what it would speak can be read while it runs.

    orca_launcher.py LOG-FILE

Run it with the desktop's DISPLAY and D-Bus session in its environment, and a home of its own
(Orca keeps its settings in $XDG_DATA_HOME/orca). It skips the check of Orca's launcher for
other copies of Orca run by the same user, which would see those of tests running beside it.
"""

import sys

from orca import debug, settings
# Orca 48's modules import one another in a circle that only closes when the script manager is
# loaded before the settings manager, as its own launcher does; Orca 43 takes either order.
from orca import script_manager  # noqa: F401
from orca import settings_manager


def main() -> int:
    debug.debugLevel = debug.LEVEL_INFO
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = open(sys.argv[1], "w", buffering=1, encoding="utf-8")
    # Every line Orca would speak still goes to the log as "SPEECH OUTPUT: '...'".
    settings.speechServerFactory = ""
    settings.speechFactoryModules = []
    # Orca 43 (Debian 12) calls it getManager, Orca 48 (Debian 13) get_manager.
    manager = getattr(settings_manager, "get_manager", None) or settings_manager.getManager
    manager().activate()
    from orca import orca  # only now, as Orca's own launcher does
    return orca.main()


if __name__ == "__main__":
    sys.exit(main())
