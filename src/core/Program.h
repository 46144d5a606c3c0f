#pragma once

// How the pieces fit together.
//
// Program is the running program: it owns the answer of the last lookup and the referral
// values, and it keeps the register of windows. Each of the three program windows (the
// birth-data window frmMain, the result window frmDisplay and the farewell window frmFarewell)
// exists at most once; asking Program for it creates it, which runs the window's load step, and
// closing it runs its closing step and removes it from the register, so the next request builds
// it afresh from its form. Hiding a window keeps it, with the user's entries. The program lives
// while any window is registered, visible or hidden, and ends when the last one has gone.
//
// Windows never touch the desktop themselves: message boxes, the browser, the settings store,
// the clock and the random source are reached through the Platform passed in here, which tests
// replace. The Chiron lookup, the birth-data rules, the readings and the referral address are
// plain functions that know nothing of widgets.

#include "core/modPlanetSign.h"
#include "outreach/modTellAFriend.h"

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

    [[nodiscard]] Platform &platform() const { return m_platform; }

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

    // The closing step of both main windows: the farewell window is shown, created if needed
    // (unless the program is ending), and the closing window goes.
    void mainWindowClosed(QWidget *window);

    // Closes every loaded window, hidden ones included; the program then ends.
    void UnloadAllForms();

    // Brings one of the birth-data window's two promotion labels to the front at random.
    void CoBrand_Randomize();

    enum class Promotion { CoBrand, FullBrand, AsLaidOut };
    // Which label a random value 0 <= r < 1 brings to the front: r * 6 + 1 rounded to the
    // nearest whole number, halves to the even one; 1, 3, 5 co-brand, 2, 4, 6 full brand, 7 none.
    [[nodiscard]] static Promotion promotionFor(float r);

    // Module-level values that live for the whole run.
    modPlanetSign planetSign;
    modTellAFriend tellAFriend;

    // A window's closing step has run and the window is going away.
    void formUnloaded(QWidget *form);

signals:
    // The last window has gone.
    void ended();

private:
    Platform &m_platform;
    QPointer<frmMain> m_main;
    QPointer<frmDisplay> m_display;
    QPointer<frmFarewell> m_farewell;
    bool m_unloadingAll = false;

    void showFarewell();
};

} // namespace woundwell
