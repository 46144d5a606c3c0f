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

// On a Wayland session that has XWayland (DISPLAY set beside WAYLAND_DISPLAY), has Qt open the
// X11 display, and Wayland only where that fails, unless the user chose a platform with
// QT_QPA_PLATFORM. Through XWayland the program places its windows itself and keeps the
// farewell window above the others; a native Wayland window can ask for neither. Call before
// the application object is made; initApplication() takes the choice back out of the
// environment, so that the browser and whatever else the program starts choose for themselves.
void preferXWayland();

} // namespace woundwell
