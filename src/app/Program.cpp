#include "app/Program.h"

#include "core/Platform.h"
#include "core/Promotion.h"
#include "core/modHelp.h"
#include "windows/frmDisplay.h"
#include "windows/frmFarewell.h"
#include "windows/frmMain.h"

#include <QApplication>

namespace woundwell {

namespace {

// Start-up and program end go on with their next step whatever one step does.
template <typename Step> void ignoringFailures(Step &&step) {
    try {
        step();
    } catch (...) {
    }
}

} // namespace

Program::Program(Platform &platform, QObject *parent)
    : QObject(parent)
    , m_platform(platform) {}

Program::~Program() {
    // Windows that are still around when the program object goes (tests end this way) go with it.
    delete m_display.data();
    delete m_main.data();
    delete m_farewell.data();
}

bool Program::start() {
    bool anotherCopy = false;
    ignoringFailures([&] { anotherCopy = m_platform.isAnotherInstanceRunning(); });
    if (anotherCopy) {
        ignoringFailures([&] {
            m_platform.showMessage(nullptr, QStringLiteral("Application is already running"),
                                   MessageIcon::Information, MessageButtons::Ok);
        });
        UnloadAllForms();
        return false;
    }
    ignoringFailures([&] { m_platform.seedRandomFromClock(); });
    ignoringFailures([&] { modHelp::UpdateReminder(m_platform); });
    ignoringFailures([&] {
        frmMain &form = mainForm();
        form.show();
        form.activateWindow();
    });
    ignoringFailures([&] { CoBrand_Randomize(); });
    return true;
}

frmMain &Program::mainForm() {
    if (!m_main) {
        m_main = new frmMain(m_platform, planetSign);
        connect(m_main, &frmMain::signFound, this, &Program::showResult);
        connect(m_main, &frmMain::closing, this,
                [this, form = m_main.data()] { mainWindowClosed(form); });
    }
    return *m_main;
}

frmDisplay &Program::displayForm() {
    if (!m_display) {
        m_display = new frmDisplay(m_platform);
        connect(m_display, &frmDisplay::backRequested, this, &Program::showEntriesAgain);
        connect(m_display, &frmDisplay::closing, this,
                [this, form = m_display.data()] { mainWindowClosed(form); });
    }
    return *m_display;
}

frmFarewell &Program::farewellForm() {
    if (!m_farewell) {
        m_farewell = new frmFarewell(m_platform, tellAFriend);
        connect(m_farewell, &frmFarewell::exitRequested, this, &Program::UnloadAllForms);
        connect(m_farewell, &frmFarewell::closing, this, [this, form = m_farewell.data()] {
            UnloadAllForms();
            formUnloaded(form);
        });
    }
    return *m_farewell;
}

bool Program::hasLoadedForms() const {
    return m_main || m_display || m_farewell;
}

void Program::showResult() {
    frmDisplay &display = displayForm();
    display.Fill(planetSign.ChironSign);
    mainForm().hide();
    farewellForm().hide();
    display.show();
    display.activateWindow();
}

void Program::showEntriesAgain() {
    frmMain &main = mainForm();
    main.show();
    main.activateWindow();
    farewellForm().hide();
}

void Program::mainWindowClosed(QWidget *window) {
    // Back shows the birth-data window before the result window closes: the user is not leaving,
    // and a farewell window shown and hidden again in one step can stay on the screen of a
    // window manager that maps a window later than asked (Mutter through XWayland).
    const auto shownBeside = [window](const QWidget *other) {
        return other != nullptr && other != window && other->isVisible();
    };
    if (!m_unloadingAll && !shownBeside(m_main) && !shownBeside(m_display))
        showFarewell();
    formUnloaded(window);
}

void Program::showFarewell() {
    // The farewell window never takes the focus by being shown; but when the user was working
    // in the window that is closing, the focus passes on to it rather than getting lost.
    const bool userWasHere = QApplication::activeWindow() != nullptr;
    frmFarewell &farewell = farewellForm();
    farewell.show();
    if (userWasHere)
        farewell.activateWindow();
}

void Program::UnloadAllForms() {
    if (m_unloadingAll)
        return;
    m_unloadingAll = true;
    // The farewell window goes last: the main windows' closing steps would otherwise bring it
    // back. A window that is already closing (the farewell window, when its own closing started
    // this) just finishes.
    for (QWidget *form :
         {static_cast<QWidget *>(m_display.data()), static_cast<QWidget *>(m_main.data()),
          static_cast<QWidget *>(m_farewell.data())}) {
        if (form)
            ignoringFailures([&] { form->close(); });
    }
    m_unloadingAll = false;
    if (!hasLoadedForms())
        emit ended();
}

void Program::CoBrand_Randomize() {
    mainForm().bringToFront(promotionFor(m_platform.nextRandom()));
}

void Program::formUnloaded(QWidget *form) {
    if (form == m_main)
        m_main = nullptr;
    else if (form == m_display)
        m_display = nullptr;
    else if (form == m_farewell)
        m_farewell = nullptr;
    form->deleteLater();
    if (!m_unloadingAll && !hasLoadedForms())
        emit ended();
}

} // namespace woundwell
