#pragma once

// How the pieces fit together.
//
// The program is built in seven layers, each a library of its own; the arrows run one way:
//   core           everything that draws nothing: the signs, the Chiron table and lookup, the
//                  readings, the birth-data and key rules, the web destinations and the update
//                  reminder, the referral address, and the Platform interface through which
//                  all of it reaches the desktop;
//   platform       the real desktop behind Platform, its message boxes placed as the forms are;
//   accessibility  what assistive technology is told of the widgets where Qt alone would tell
//                  it too little or the wrong thing. It knows nothing of this program;
//   keyboard       what the keys do in a window: the character rule of a text box, Alt keys
//                  that type nothing, the focus given back. It knows nothing of this program;
//   forms          the toolkit that turns a Designer form into a classic fixed-layout window:
//                  its look, colours, placement, pointers and shared widgets. It knows nothing
//                  of this program;
//   windows        the four windows with their forms, the refer-a-friend form and the shared
//                  menu commands. A window is given what it uses and reports what the user
//                  asked for with signals; it never knows the program;
//   app            Program, below, and the application set-up and main().
//
// Program is the running program: it owns the module values (the answer of the last lookup
// and the referral values) and keeps the register of windows. Each of the three program
// windows (the birth-data window frmMain, the result window frmDisplay and the farewell window
// frmFarewell) exists at most once; asking Program for it creates it, which runs the window's
// load step, and closing it runs its closing step and removes it from the register, so the
// next request builds it afresh from its form. Hiding a window keeps it, with the user's
// entries. The program lives while any window is registered, visible or hidden, and ends when
// the last one has gone.

#include "core/modPlanetSign.h"
#include "core/modTellAFriend.h"

#include <QObject>
#include <QPointer>

namespace woundwell {

class Platform;
class frmMain;
class frmDisplay;
class frmFarewell;

class Program final : public QObject {
    Q_OBJECT

public:
    explicit Program(Platform &platform, QObject *parent = nullptr);
    ~Program() override;

    // The start-up sequence. Returns false when the program has already ended (another copy
    // was running), true when it now waits for the user.
    bool start();

    // The windows, created on first reference.
    [[nodiscard]] frmMain &mainForm();
    [[nodiscard]] frmDisplay &displayForm();
    [[nodiscard]] frmFarewell &farewellForm();

    [[nodiscard]] bool isMainFormLoaded() const { return !m_main.isNull(); }
    [[nodiscard]] bool isDisplayFormLoaded() const { return !m_display.isNull(); }
    [[nodiscard]] bool isFarewellFormLoaded() const { return !m_farewell.isNull(); }
    [[nodiscard]] bool hasLoadedForms() const;

    // Closes every loaded window, hidden ones included; the program then ends.
    void UnloadAllForms();

    // Brings one of the birth-data window's two promotion labels to the front at random.
    void CoBrand_Randomize();

    // Module-level values that live for the whole run.
    modPlanetSign planetSign;
    modTellAFriend tellAFriend;

signals:
    // The last window has gone.
    void ended();

private:
    // The find action after the lookup: the result window shows the answer in place of the
    // birth-data window.
    void showResult();
    // Back from the result window, which has closed: the entries again, the farewell hidden.
    void showEntriesAgain();
    // The closing step of both main windows: the farewell window is shown, created if needed
    // (unless the program is ending), and the closing window goes.
    void mainWindowClosed(QWidget *window);
    void showFarewell();
    // A window's closing step has run and the window is going away.
    void formUnloaded(QWidget *form);

    Platform &m_platform;
    QPointer<frmMain> m_main;
    QPointer<frmDisplay> m_display;
    QPointer<frmFarewell> m_farewell;
    bool m_unloadingAll = false;
};

} // namespace woundwell
