"""Starts the Orca screen reader for a test: no speech server (the test has no sound device, and
Orca's own launcher would wait for one), and Orca's debug log written out line by line, so that
what it would speak can be read while it runs.

    orca_launcher.py LOG-FILE

Run it with the desktop's DISPLAY and D-Bus session in its environment, and a home of its own
(Orca keeps its files in $XDG_DATA_HOME/orca). It skips the check of Orca's launcher for
other copies of Orca run by the same user, which would see those of tests running beside it.
"""

import importlib
import importlib.util
import sys

from orca import debug


def without_speech_server() -> None:
    """Leaves Orca with no speech server to start, by the settings of the installed Orca."""
    if importlib.util.find_spec("orca.settings_manager") is not None:
        # Orca 43 (Debian 12) and 48 (Debian 13): a settings module the settings manager
        # loads. Orca's main module comes first, which loads the script manager before it, as
        # Orca 48 needs.
        from orca import orca, settings, settings_manager  # noqa: F401, PLC0415
        settings.speechServerFactory = ""
        settings.speechFactoryModules = []
        # Orca 43 calls it getManager, Orca 48 get_manager.
        manager = getattr(settings_manager, "get_manager", None) or settings_manager.getManager
        manager().activate()
        return
    # Orca 51: settings in GSettings, overridden for this run in the registry of them. Its
    # modules import each other in a circle that only the order of Orca's own launcher enters.
    for name in ("debugging_tools_manager", "extension_loader", "gsettings_registry",
                 "messages", "screen_reader_manager", "speech_manager"):
        importlib.import_module(f"orca.{name}")
    from orca import gsettings_registry, speech_manager  # noqa: PLC0415
    gsettings_registry.get_registry().set_runtime_value("speech", "speech-server-factory", "")
    speech_manager.SPEECH_FACTORY_MODULES.clear()


def main() -> int:
    debug.debugLevel = debug.LEVEL_INFO
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = open(sys.argv[1], "w", buffering=1, encoding="utf-8")
    # Every line Orca would speak still goes to the log as "SPEECH OUTPUT: '...'".
    without_speech_server()
    from orca import orca  # noqa: PLC0415
    return orca.main()


if __name__ == "__main__":
    sys.exit(main())
