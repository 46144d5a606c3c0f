#pragma once

class QApplication;

namespace woundwell {

// Process-wide set-up before the first window: the program's names, fonts, resources, and
// quiet: the program writes nothing to a console. The program's life is its windows', not the
// last visible one's, so Qt is told not to quit on its own.
void initApplication(QApplication &app);

// Keeps Qt's own warnings off the console, unless QT_LOGGING_RULES is set or WOUNDWELL_DEBUG is
// a number other than 0: then they go to standard error. A fatal message is written either way;
// one that comes while the application object opens the display (no X server, no Wayland
// plugin) ends the program with status 1 and a word on what to do. Call before the application
// object is made, which already has things to say, and initApplication() right after.
void keepQuiet();

} // namespace woundwell
