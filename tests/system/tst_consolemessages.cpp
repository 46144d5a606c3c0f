// The built program writes nothing to a console unless a maintainer asks for Qt's messages.
// Each case starts the program with a style that does not exist, which Qt warns about while it
// builds the application object; the program takes its single-instance lock after that, so once
// the lock is there the warning has been written or dropped, and the program can be ended.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray StyleWarning = "invalid style override 'nosuchstyle'";

// A home of its own for the program, with a private runtime folder for its lock.
struct Home {
    Home() {
        QVERIFY(folder.isValid());
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // The program's environment there, with Qt's messages asked for or not by the settings.
    QProcessEnvironment environment(const QStringList &settings) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_LOGGING_RULES"_s);
        environment.remove(u"WOUNDWELL_DEBUG"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"HOME"_s, folder.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, folder.filePath(u"config"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime);
        for (const QString &setting : settings)
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        return environment;
    }

    QTemporaryDir folder;
    const QString runtime = folder.filePath(u"runtime"_s);
};

} // namespace

class TestConsoleMessages final : public QObject {
    Q_OBJECT

private slots:
    void messagesOnRequest_data() {
        QTest::addColumn<QStringList>("asking");
        QTest::addColumn<bool>("written");
        QTest::newRow("nothing asked") << QStringList() << false;
        QTest::newRow("empty rules, debugging off")
            << QStringList{u"QT_LOGGING_RULES="_s, u"WOUNDWELL_DEBUG=0"_s} << false;
        QTest::newRow("WOUNDWELL_DEBUG=1") << QStringList{u"WOUNDWELL_DEBUG=1"_s} << true;
        QTest::newRow("QT_LOGGING_RULES")
            << QStringList{u"QT_LOGGING_RULES=qt.widgets.gestures.debug=true"_s} << true;
    }

    void messagesOnRequest() {
        QFETCH(QStringList, asking);
        QFETCH(bool, written);

        const Home home;
        QProcessEnvironment environment = home.environment(asking);
        environment.insert(u"QT_STYLE_OVERRIDE"_s, u"nosuchstyle"_s);

        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(WOUNDWELL_PROGRAM), {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home.runtime + u"/woundwell.lock"_s) ||
                                     program.state() == QProcess::NotRunning,
                                 30000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished());

        const QByteArray errors = program.readAllStandardError();
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        if (written)
            QVERIFY2(errors.contains(StyleWarning), errors.constData());
        else
            QCOMPARE(errors, QByteArray());
    }

    // Where no display can be opened, the program says so and ends with a failure, asked for
    // Qt's messages or not: never silent, never a crash.
    void noDisplaySaysSo_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::newRow("X11 without an X server")
            << QStringList{u"QT_QPA_PLATFORM=xcb"_s, u"DISPLAY="_s, u"WAYLAND_DISPLAY="_s};
        QTest::newRow("a platform Qt does not have") << QStringList{u"QT_QPA_PLATFORM=nosuch"_s};
        QTest::newRow("with Qt's messages")
            << QStringList{u"QT_QPA_PLATFORM=nosuch"_s, u"WOUNDWELL_DEBUG=1"_s};
    }

    void noDisplaySaysSo() {
        QFETCH(QStringList, settings);
        const Home home;
        QProcess program;
        program.setProcessEnvironment(home.environment(settings));
        program.start(QStringLiteral(WOUNDWELL_PROGRAM), {});
        QVERIFY2(program.waitForFinished(30000), qPrintable(program.errorString()));
        const QByteArray errors = program.readAllStandardError();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY2(errors.contains("no desktop display could be opened"), errors.constData());
        // And Qt's own words on what it tried.
        QVERIFY2(errors.contains("platform plugin"), errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestConsoleMessages)
#include "tst_consolemessages.moc"
