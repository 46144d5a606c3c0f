// One search as the user waits for it: from the press of the find button (the checks, the
// lookup, the result window built and filled) to the result window shown and painted. Back,
// which returns to the entries for the next round, is not timed.
#include "BenchPlatform.h"
#include "Statistics.h"

#include "app/Program.h"
#include "windows/frmDisplay.h"
#include "windows/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

using namespace woundwell;
using namespace woundwell::bench;

namespace {

template <typename T> T *control(QWidget &window, const char *name) {
    return window.findChild<T *>(QString::fromLatin1(name));
}

void BM_Search(benchmark::State &state) {
    BenchPlatform platform;
    // Today's date in the settings, so that the start-up asks no update question.
    platform.writeSetting(QStringLiteral("Settings"), QStringLiteral("Duration"),
                          QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    auto program = std::make_unique<Program>(platform);
    program->start();
    frmMain &main = program->mainForm();
    control<QLineEdit>(main, "txtName")->setText(QStringLiteral("JOHN SMITH"));
    // 7 June 1933: a month with a change of sign, so the lookup reads all three texts.
    control<QComboBox>(main, "cboDate")->setCurrentText(QStringLiteral("7"));
    control<QComboBox>(main, "cboMonth")->setCurrentText(QStringLiteral("June"));
    control<QComboBox>(main, "cboYear")->setCurrentText(QStringLiteral("1933"));
    QPushButton *next = control<QPushButton>(main, "cmdNext");
    QCoreApplication::processEvents();

    QString shownSign;
    for (auto _ : state) {
        next->click();
        if (!program->isDisplayFormLoaded() || !program->displayForm().isVisible()) {
            state.SkipWithError("the result window did not appear");
            break;
        }
        frmDisplay &display = program->displayForm();
        QCoreApplication::processEvents(); // shown and painted
        state.PauseTiming();
        shownSign = control<QLabel>(display, "lblHealingSign")->text();
        control<QPushButton>(display, "cmdBack")->click();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    if (shownSign != QLatin1String("Gemini"))
        state.SkipWithError("the result window showed the wrong sign");
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_Search)->ComputeStatistics("min", minOf)->Unit(benchmark::kMicrosecond);

} // namespace
