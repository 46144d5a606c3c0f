// The windows on Qt's offscreen platform: one search from the press of the find button to the
// result window and back, and the building of each window from its form.
#include "BenchPlatform.h"
#include "Statistics.h"

#include "core/Program.h"
#include "core/frmDisplay.h"
#include "core/frmMain.h"
#include "outreach/frmAbout.h"
#include "outreach/frmFarewell.h"

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

void flushDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A settings store holding today's date, so that the start-up asks no update question.
void rememberToday(BenchPlatform &platform) {
    platform.writeSetting(QStringLiteral("Settings"), QStringLiteral("Duration"),
                          QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

// Arg 0: the button presses alone. Arg 1: each shown window also gets its first paint (the
// posted show, expose and paint events are handled before going on).
void BM_FindAndBack(benchmark::State &state) {
    const bool paint = state.range(0) != 0;
    BenchPlatform platform;
    rememberToday(platform);
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
        if (paint)
            QCoreApplication::processEvents();
        shownSign = control<QLabel>(display, "lblHealingSign")->text();
        control<QPushButton>(display, "cmdBack")->click();
        if (program->isDisplayFormLoaded() || !main.isVisible()) {
            state.SkipWithError("Back did not return to the birth-data window");
            break;
        }
        if (paint)
            QCoreApplication::processEvents();
        flushDeferredDeletes();
        benchmark::DoNotOptimize(shownSign);
    }
    if (shownSign != QLatin1String("Gemini"))
        state.SkipWithError("the result window showed the wrong sign");
    state.SetLabel(paint ? "with first paints" : "button presses only");
    program.reset();
    flushDeferredDeletes();
}
BENCHMARK(BM_FindAndBack)
    ->ComputeStatistics("min", minOf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// Builds a window through make() in each iteration (timed) and gets rid of it through drop()
// (not timed). Arg 1 also shows the window and lets it paint once, within the timed part.
template <typename Make, typename Drop>
void buildEachIteration(benchmark::State &state, Make make, Drop drop) {
    const bool show = state.range(0) != 0;
    // The first window of a process also loads the font database; that belongs to start-up
    // (scripts/measure-startup.sh), not to the building of a window.
    drop(make());
    flushDeferredDeletes();
    for (auto _ : state) {
        QWidget *window = make();
        if (show) {
            window->show();
            QCoreApplication::processEvents();
        }
        benchmark::DoNotOptimize(window);
        state.PauseTiming();
        drop(window);
        flushDeferredDeletes();
        state.ResumeTiming();
    }
    state.SetLabel(show ? "built, shown, painted" : "built");
}

// One of the program's own windows, built through its accessor in Program; deleting it must
// take it out of Program's register.
template <typename Form>
void buildProgramWindow(benchmark::State &state, Form &(Program::*accessor)(),
                        bool (Program::*isLoaded)() const) {
    BenchPlatform platform;
    Program program(platform);
    buildEachIteration(
        state, [&] { return static_cast<QWidget *>(&(program.*accessor)()); },
        [&](QWidget *w) {
            delete w;
            if ((program.*isLoaded)())
                state.SkipWithError("the window stayed registered");
        });
}

void BM_Build_frmMain(benchmark::State &state) {
    buildProgramWindow(state, &Program::mainForm, &Program::isMainFormLoaded);
}
void BM_Build_frmDisplay(benchmark::State &state) {
    buildProgramWindow(state, &Program::displayForm, &Program::isDisplayFormLoaded);
}
void BM_Build_frmFarewell(benchmark::State &state) {
    buildProgramWindow(state, &Program::farewellForm, &Program::isFarewellFormLoaded);
}
BENCHMARK(BM_Build_frmMain)
    ->ComputeStatistics("min", minOf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Build_frmDisplay)
    ->ComputeStatistics("min", minOf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Build_frmFarewell)
    ->ComputeStatistics("min", minOf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_Build_frmAbout(benchmark::State &state) {
    BenchPlatform platform;
    Program program(platform);
    QWidget *parent = &program.mainForm();
    buildEachIteration(
        state, [&] { return static_cast<QWidget *>(new frmAbout(platform, parent)); },
        [](QWidget *w) { delete w; });
}
BENCHMARK(BM_Build_frmAbout)
    ->ComputeStatistics("min", minOf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

} // namespace
