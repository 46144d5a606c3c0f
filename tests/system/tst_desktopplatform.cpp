// The real desktop behind the program: its message boxes, the per-user settings file and the lock
// that keeps a second copy from starting. The test gets its own configuration, runtime, cache,
// home and temporary directories before the application object exists, so it never touches the
// user's.
#include "core/Version.h"
#include "core/modHelp.h"
#include "platform/DesktopPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace woundwell;
using namespace Qt::StringLiterals;

namespace {

const QString DateFormat = u"yyyy-MM-dd"_s;
const QString DownloadPage = u"http://www.quorvane.com/woundwell/download-woundwell.html"_s;

// The directories every case works in; set once in main(), before QApplication.
struct Places {
    QString config;  // XDG_CONFIG_HOME
    QString runtime; // XDG_RUNTIME_DIR
    QString temp;    // TMPDIR
    QString cache;   // XDG_CACHE_HOME
    QString home;    // HOME
};
Places places;

QString settingsDirectory() {
    return places.config + u"/Woundwell"_s;
}

QString runtimeLock() {
    return places.runtime + u"/woundwell.lock"_s;
}

QString cacheLock() {
    return places.cache + u"/woundwell/woundwell.lock"_s;
}

QString settingsFile() {
    return settingsDirectory() + u"/Woundwell.conf"_s;
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings store keeps what it has read and reads a file again only when its size or time
// has changed. File times are coarse, so a file of the same size written a moment after the last
// one could pass for it: each file written here gets a time of its own, well in the past.
bool writeFile(const QString &path, const QByteArray &data) {
    static int written = 0;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush())
        return false;
    return file.setFileTime(QDateTime::currentDateTime().addDays(-1).addSecs(++written),
                            QFileDevice::FileModificationTime);
}

// What a message box showed when it came up.
struct SeenBox {
    QString objectName;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    QWidget *parent = nullptr;
};

// Waits for the program's message box, notes what it shows and answers it the way a user would:
// by clicking one of its buttons or by pressing a key.
class MessageBoxDriver : public QObject {
public:
    using Answer = std::function<void(QMessageBox &)>;

    explicit MessageBoxDriver(Answer answer)
        : m_answer(std::move(answer)) {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxDriver::poll);
        m_timer.start();
    }

    std::optional<SeenBox> seen;

private:
    void poll() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        m_timer.stop();
        seen =
            SeenBox{box->objectName(), box->windowTitle(),     box->text(),    box->textFormat(),
                    box->icon(),       box->standardButtons(), box->isModal(), box->parentWidget()};
        m_answer(*box);
    }

    Answer m_answer;
    QTimer m_timer;
};

MessageBoxDriver::Answer clickButton(QMessageBox::StandardButton which) {
    return [which](QMessageBox &box) {
        if (QAbstractButton *button = box.button(which))
            button->click();
        else
            box.done(QMessageBox::Cancel); // the button is missing; the test reports it
    };
}

MessageBoxDriver::Answer pressKey(Qt::Key key) {
    return [key](QMessageBox &box) { QTest::keyClick(&box, key); };
}

// The real desktop with the browser left out: the addresses it would open are noted instead, and
// message boxes can be noted instead of shown where the case is about what happens around them.
class DesktopWithoutBrowser final : public Platform {
public:
    bool showMessages = true;
    QStringList messages;
    QStringList opened;

    MessageAnswer showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.append(text);
        if (!showMessages)
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
        return m_real.showMessage(parent, text, icon, buttons);
    }
    void openUrl(const QUrl &address) override {
        opened.append(address.toString(QUrl::FullyEncoded));
    }
    QString readSetting(const QString &section, const QString &key) override {
        return m_real.readSetting(section, key);
    }
    void writeSetting(const QString &section, const QString &key, const QString &value) override {
        m_real.writeSetting(section, key, value);
    }
    QDate today() override { return m_real.today(); }
    void seedRandomFromClock() override { m_real.seedRandomFromClock(); }
    float nextRandom() override { return m_real.nextRandom(); }
    bool isAnotherInstanceRunning() override { return m_real.isAnotherInstanceRunning(); }

private:
    DesktopPlatform m_real;
};

QString storedDuration() {
    return DesktopPlatform().readSetting(u"Settings"_s, u"Duration"_s);
}

// Running as root, file permissions do not keep this process out.
bool permissionsBind() {
    return geteuid() != 0;
}

QByteArray junk(qsizetype size, quint32 seed, bool lineBreaks) {
    QRandomGenerator random(seed);
    QByteArray data(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    for (qsizetype i = (size / 4) * 4; i < size; ++i)
        data[i] = 'x';
    if (!lineBreaks)
        std::replace_if(
            data.begin(), data.end(), [](char c) { return c == '\n' || c == '\r'; }, 'x');
    return data;
}

// Runs in a child copy of this test: takes the lock as the program does, says whether it got it
// and then holds it until the parent kills this process.
int holdInstanceLock() {
    DesktopPlatform platform;
    std::puts(platform.isAnotherInstanceRunning() ? "refused" : "held");
    std::fflush(stdout);
    for (;;)
        pause();
}

} // namespace

Q_DECLARE_METATYPE(MessageBoxDriver::Answer)

class TestDesktopPlatform : public QObject {
    Q_OBJECT

    QByteArray m_savedRuntime;
    QByteArray m_savedTemp;
    QByteArray m_savedCache;
    QList<QProcess *> m_children;

    // Starts a child that holds the program's lock; returns it once it has the lock.
    QProcess *startLockHolder() {
        auto *child = new QProcess(this);
        m_children.append(child);
        child->start(QCoreApplication::applicationFilePath(), {u"--hold-instance-lock"_s});
        if (!child->waitForStarted(5000) || !child->waitForReadyRead(5000))
            return nullptr;
        return child->readAllStandardOutput().trimmed() == "held" ? child : nullptr;
    }

    // SIGKILL: the child gets no chance to remove its lock file.
    static void killAndReap(QProcess *child) {
        child->kill();
        child->waitForFinished(5000);
    }

private slots:
    void init() {
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_savedTemp = qgetenv("TMPDIR");
        m_savedCache = qgetenv("XDG_CACHE_HOME");
        QDir(places.config).removeRecursively();
        QDir().mkpath(places.config);
    }

    void cleanup() {
        for (QProcess *child : std::as_const(m_children)) {
            if (child->state() != QProcess::NotRunning)
                killAndReap(child);
            delete child;
        }
        m_children.clear();
        qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
        qputenv("TMPDIR", m_savedTemp);
        qputenv("XDG_CACHE_HOME", m_savedCache);
        QFile::remove(runtimeLock()); // when a case put a link or a stranger's file there
        QFile(settingsDirectory())
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile(settingsFile()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(settingsDirectory()); // when a case put a plain file there
        QDir(places.config).removeRecursively();
    }

    // ---- message boxes ----

    void messageBoxShowsTitleIconButtonsAndText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<MessageBoxDriver::Answer>("answer");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<int>("expectedIcon");
        QTest::addColumn<QMessageBox::StandardButtons>("expectedButtons");
        QTest::addColumn<int>("expectedAnswer");

        const QString questionShown = u"There maybe an update to this software available\n"
                                      "Do you want to check for an update?"_s;
        const auto yesNo = QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No);
        const auto ok = QMessageBox::StandardButtons(QMessageBox::Ok);
        const int info = int(MessageIcon::Information);
        const int critical = int(MessageIcon::Critical);

        QTest::newRow("update question, Yes clicked")
            << modHelp::UpdateQuestion << info << int(MessageButtons::YesNo)
            << clickButton(QMessageBox::Yes) << questionShown << int(QMessageBox::Information)
            << yesNo << int(MessageAnswer::Yes);
        QTest::newRow("update question, No clicked")
            << modHelp::UpdateQuestion << info << int(MessageButtons::YesNo)
            << clickButton(QMessageBox::No) << questionShown << int(QMessageBox::Information)
            << yesNo << int(MessageAnswer::No);
        QTest::newRow("update question, Esc means No")
            << modHelp::UpdateQuestion << info << int(MessageButtons::YesNo)
            << pressKey(Qt::Key_Escape) << questionShown << int(QMessageBox::Information) << yesNo
            << int(MessageAnswer::No);
        QTest::newRow("already running, OK clicked")
            << u"Application is already running"_s << info << int(MessageButtons::Ok)
            << clickButton(QMessageBox::Ok) << u"Application is already running"_s
            << int(QMessageBox::Information) << ok << int(MessageAnswer::Ok);
        QTest::newRow("refusal with the stop icon, Enter")
            << u"Please Enter Your Friend's Email"_s << critical << int(MessageButtons::Ok)
            << pressKey(Qt::Key_Return) << u"Please Enter Your Friend's Email"_s
            << int(QMessageBox::Critical) << ok << int(MessageAnswer::Ok);
        QTest::newRow("markup shows as typed")
            << u"<b>Please</b> & thank you"_s << info << int(MessageButtons::Ok)
            << pressKey(Qt::Key_Escape) << u"<b>Please</b> & thank you"_s
            << int(QMessageBox::Information) << ok << int(MessageAnswer::Ok);
    }

    void messageBoxShowsTitleIconButtonsAndText() {
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(MessageBoxDriver::Answer, answer);
        QFETCH(QString, shownText);
        QFETCH(int, expectedIcon);
        QFETCH(QMessageBox::StandardButtons, expectedButtons);
        QFETCH(int, expectedAnswer);

        MessageBoxDriver driver(answer);
        DesktopPlatform platform;
        const MessageAnswer given =
            platform.showMessage(nullptr, text, MessageIcon(icon), MessageButtons(buttons));

        QVERIFY2(driver.seen, "no message box came up");
        QCOMPARE(driver.seen->objectName, u"message"_s);
        QCOMPARE(driver.seen->title, u"Woundwell"_s);
        QCOMPARE(int(driver.seen->icon), expectedIcon);
        QCOMPARE(driver.seen->buttons, expectedButtons);
        QCOMPARE(driver.seen->text, shownText);
        QCOMPARE(driver.seen->format, Qt::PlainText);
        QVERIFY(driver.seen->modal);
        QCOMPARE(int(given), expectedAnswer);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void messageBoxBelongsToTheWindowItIsShownOver() {
        QWidget window;
        window.setWindowTitle(WindowCaption);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        bool windowBlocked = false;
        MessageBoxDriver driver([&](QMessageBox &box) {
            windowBlocked = window.testAttribute(Qt::WA_WState_Visible) &&
                            QApplication::activeModalWidget() == &box && !window.isActiveWindow();
            box.button(QMessageBox::Ok)->click();
        });
        DesktopPlatform platform;
        QCOMPARE(platform.showMessage(&window, u"Please Enter Your Name"_s,
                                      MessageIcon::Information, MessageButtons::Ok),
                 MessageAnswer::Ok);
        QVERIFY(driver.seen);
        QCOMPARE(driver.seen->parent, &window);
        QVERIFY(windowBlocked);
    }

    // ---- the settings file ----

    void settingLivesInTheUsersConfigurationFile() {
        QVERIFY(!QFile::exists(settingsFile()));
        QCOMPARE(storedDuration(), QString());

        DesktopPlatform().writeSetting(u"Settings"_s, u"Duration"_s, u"2026-12-07"_s);

        // A fresh platform, as on the next start, reads back what the last one wrote.
        QCOMPARE(storedDuration(), u"2026-12-07"_s);
        const QList<QByteArray> lines = readAll(settingsFile()).split('\n');
        QVERIFY2(lines.contains("[Settings]"), readAll(settingsFile()).constData());
        QVERIFY2(lines.contains("Duration=2026-12-07"), readAll(settingsFile()).constData());
    }

    void firstStartStoresTodayWithoutAsking() {
        // A new account: not even the configuration directory exists yet.
        QVERIFY(QDir(places.config).removeRecursively());
        const QDate before = QDate::currentDate();
        DesktopWithoutBrowser platform;
        modHelp::UpdateReminder(platform);
        const QDate after = QDate::currentDate();

        QVERIFY(platform.messages.isEmpty());
        QVERIFY(platform.opened.isEmpty());
        QVERIFY(QFile::exists(settingsFile()));
        const QString stored = storedDuration();
        QVERIFY2(stored == before.toString(DateFormat) || stored == after.toString(DateFormat),
                 qPrintable(stored));
    }

    void dueReminderAsksInARealBoxAndRemembersTheAnswer() {
        const QString monthAgo = QDate::currentDate().addDays(-30).toString(DateFormat);
        QVERIFY(writeFile(settingsFile(), "[Settings]\nDuration=" + monthAgo.toLatin1() + '\n'));

        MessageBoxDriver driver(clickButton(QMessageBox::Yes));
        DesktopWithoutBrowser platform;
        modHelp::UpdateReminder(platform);

        QVERIFY(driver.seen);
        QCOMPARE(driver.seen->buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(platform.opened, QStringList{DownloadPage});
        QCOMPARE(storedDuration(), QDate::currentDate().toString(DateFormat));

        // Asked today, so the next start is quiet.
        DesktopWithoutBrowser nextStart;
        nextStart.showMessages = false;
        modHelp::UpdateReminder(nextStart);
        QVERIFY(nextStart.messages.isEmpty());
    }

    // ---- damaged settings files ----

    // Whatever the file holds, start-up goes on without a reminder. Where the file names a
    // Duration that is no date, the file is left exactly as it was; where no Duration can be
    // found in it, the start counts as the first one and today's date is stored.
    void damagedSettingsFileStartsQuietly_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("leftAlone");

        QTest::newRow("words instead of a date")
            << QByteArray("[Settings]\nDuration=soon\n") << true;
        QTest::newRow("another date format")
            << QByteArray("[Settings]\nDuration=07/12/2026\n") << true;
        QTest::newRow("binary garbage as the value")
            << QByteArray("[Settings]\nDuration=x" + junk(4096, 7, false) + "\n") << true;
        QTest::newRow("20 MB value")
            << QByteArray("[Settings]\nDuration=" + QByteArray(20 << 20, 'j') + "\n") << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("binary garbage file") << junk(64 << 10, 11, true) << false;
        QTest::newRow("20 MB of junk lines") << junk(20 << 20, 13, true) << false;
        QTest::newRow("unclosed quote")
            << QByteArray("[Settings]\nDuration=\"2026-01-01\n") + QByteArray(1 << 20, '"') << true;
        QTest::newRow("value that reads as a list")
            << QByteArray("[Settings]\nDuration=2020-01-01, 2020-01-02\n") << true;
    }

    void damagedSettingsFileStartsQuietly() {
        QFETCH(QByteArray, content);
        QFETCH(bool, leftAlone);
        QVERIFY(writeFile(settingsFile(), content));

        DesktopWithoutBrowser platform;
        platform.showMessages = false;
        modHelp::UpdateReminder(platform);

        QCOMPARE(platform.messages, QStringList());
        QVERIFY(platform.opened.isEmpty());
        if (leftAlone) {
            QVERIFY2(readAll(settingsFile()) == content, "the settings file was rewritten");
        } else {
            QCOMPARE(storedDuration(), QDate::currentDate().toString(DateFormat));
            // And the start after that one is quiet too.
            DesktopWithoutBrowser next;
            next.showMessages = false;
            modHelp::UpdateReminder(next);
            QVERIFY(next.messages.isEmpty());
        }
    }

    void unusableSettingsPlaceStartsQuietly_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a file where the directory belongs") << u"directory is a file"_s;
        QTest::newRow("a directory where the file belongs") << u"file is a directory"_s;
        QTest::newRow("read-only directory") << u"read-only directory"_s;
        QTest::newRow("unreadable file") << u"unreadable file"_s;
    }

    void unusableSettingsPlaceStartsQuietly() {
        QFETCH(QString, damage);
        const QByteArray monthAgo =
            "[Settings]\nDuration=" +
            QDate::currentDate().addDays(-30).toString(DateFormat).toLatin1() + '\n';
        QByteArray blocker;

        if (damage == u"directory is a file"_s) {
            blocker = "not a directory";
            QVERIFY(writeFile(settingsDirectory(), blocker));
        } else if (damage == u"file is a directory"_s) {
            QVERIFY(QDir().mkpath(settingsFile()));
        } else if (damage == u"read-only directory"_s) {
            if (!permissionsBind())
                QSKIP("running as root: a read-only directory does not stop this process");
            QVERIFY(QDir().mkpath(settingsDirectory()));
            QVERIFY(QFile(settingsDirectory()).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        } else {
            if (!permissionsBind())
                QSKIP("running as root: an unreadable file is still readable to this process");
            QVERIFY(writeFile(settingsFile(), monthAgo));
            QVERIFY(QFile(settingsFile()).setPermissions({}));
        }

        DesktopWithoutBrowser platform;
        platform.showMessages = false;
        modHelp::UpdateReminder(platform);

        QCOMPARE(platform.messages, QStringList());
        QVERIFY(platform.opened.isEmpty());
        if (damage == u"directory is a file"_s) {
            QCOMPARE(readAll(settingsDirectory()), blocker);
            QCOMPARE(storedDuration(), QString());
        } else if (damage == u"file is a directory"_s) {
            QVERIFY(QFileInfo(settingsFile()).isDir());
        } else if (damage == u"read-only directory"_s) {
            QVERIFY(!QFile::exists(settingsFile()));
        }
    }

    // ---- one copy at a time ----

    void secondLockInTheSameSessionIsRefused() {
        auto first = std::make_unique<DesktopPlatform>();
        QVERIFY(!first->isAnotherInstanceRunning());
        QVERIFY(QFile::exists(runtimeLock()));

        DesktopPlatform second;
        QVERIFY(second.isAnotherInstanceRunning());

        first.reset(); // the first copy ends
        QVERIFY(!QFile::exists(runtimeLock()));
        DesktopPlatform third;
        QVERIFY(!third.isAnotherInstanceRunning());
    }

    void lockHeldByAnotherProcessIsRefusedUntilItDies() {
        QProcess *holder = startLockHolder();
        QVERIFY2(holder, "the child copy could not take the lock");
        {
            DesktopPlatform platform;
            QVERIFY(platform.isAnotherInstanceRunning());
        }

        // Killed, it cannot clean up: the lock file stays behind with a dead process in it.
        killAndReap(holder);
        QVERIFY(QFile::exists(runtimeLock()));

        DesktopPlatform next;
        QVERIFY(!next.isAnotherInstanceRunning());
        DesktopPlatform afterNext;
        QVERIFY(afterNext.isAnotherInstanceRunning());
    }

    void lockOfAKilledCopyWhoseNumberWasReusedDoesNotBlock() {
        QProcess *holder = startLockHolder();
        QVERIFY(holder);
        killAndReap(holder);
        QByteArray lock = readAll(runtimeLock());
        QVERIFY(!lock.isEmpty());

        // Another program now runs under a number the lock names.
        QProcess other;
        other.start(u"sleep"_s, {u"30"_s});
        QVERIFY(other.waitForStarted(5000));
        lock = QByteArray::number(other.processId()) + lock.mid(lock.indexOf('\n'));
        QVERIFY(writeFile(runtimeLock(), lock));

        DesktopPlatform platform;
        const bool refused = platform.isAnotherInstanceRunning();
        other.kill();
        other.waitForFinished(5000);
        QVERIFY(!refused);
    }

    // The runtime directory is trusted only as a real directory of the user's that nobody else
    // may enter; otherwise the lock goes to a folder of the user's own in the cache.
    void withoutASafeRuntimeDirectoryTheLockMovesToTheCacheFolder_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QByteArray>("cache");
        QTest::addColumn<QString>("lock");
        const QByteArray cache = QFile::encodeName(places.cache);
        QTest::newRow("not set") << QString() << cache << cacheLock();
        QTest::newRow("missing directory") << u"gone/away"_s << cache << cacheLock();
        QTest::newRow("a plain file") << u"runtime-file"_s << cache << cacheLock();
        QTest::newRow("others may enter") << u"open-runtime"_s << cache << cacheLock();
        QTest::newRow("a link to a runtime directory")
            << u"linked-runtime"_s << cache << cacheLock();
        QTest::newRow("relative cache folder: the one in the home folder, made anew")
            << QString() << QByteArray("relative/cache")
            << places.home + u"/.cache/woundwell/woundwell.lock"_s;
    }

    void withoutASafeRuntimeDirectoryTheLockMovesToTheCacheFolder() {
        QFETCH(QString, runtime);
        QFETCH(QByteArray, cache);
        QFETCH(QString, lock);
        QVERIFY(writeFile(places.temp + u"/runtime-file"_s, "x"));
        QDir(places.temp)
            .mkdir(u"open-runtime"_s,
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
        QFile::link(places.runtime, places.temp + u"/linked-runtime"_s);
        QDir(places.home + u"/.cache"_s).removeRecursively();
        if (runtime.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(places.temp + u'/' + runtime));
        qputenv("XDG_CACHE_HOME", cache);

        DesktopPlatform first;
        QVERIFY(!first.isAnotherInstanceRunning());
        QVERIFY(QFile::exists(lock));
        QVERIFY(!QFile::exists(runtimeLock()));
        QVERIFY(!QFile::exists(places.temp + u"/open-runtime/woundwell.lock"_s));
        QVERIFY(!QFile::exists(places.temp + u"/woundwell-%1.lock"_s.arg(getuid()))); // shared
        struct stat folder = {};
        QVERIFY(stat(QFile::encodeName(QFileInfo(lock).path()).constData(), &folder) == 0);
        QCOMPARE(folder.st_mode & 0777, 0700u);
    }

    // Whatever is found at the lock's name that is not a plain file of the user's own is neither
    // followed nor changed, and the program starts as if it were the only copy.
    void lockPlaceHoldingSomethingElseIsLeftAlone_data() {
        QTest::addColumn<QString>("found");
        QTest::newRow("a link to a file") << u"link"_s;
        QTest::newRow("a link to nothing") << u"dangling link"_s;
        QTest::newRow("a second name of a file") << u"hard link"_s;
        QTest::newRow("another user's file") << u"stranger's file"_s;
    }

    void lockPlaceHoldingSomethingElseIsLeftAlone() {
        QFETCH(QString, found);
        const QString target = places.temp + u"/target"_s;
        const QString nowhere = places.temp + u"/nowhere"_s;
        const QByteArray content = "the user's own words\n";
        const QByteArray lock = QFile::encodeName(runtimeLock());
        QVERIFY(writeFile(target, content));
        if (found == u"stranger's file"_s) {
            if (geteuid() != 0)
                QSKIP("only root can give a file to another user");
            QVERIFY(QFile::copy(target, runtimeLock()) &&
                    chown(lock.constData(), 65534, 65534) == 0);
        } else if (found == u"hard link"_s) {
            QVERIFY(link(QFile::encodeName(target).constData(), lock.constData()) == 0);
        } else {
            QVERIFY(QFile::link(found == u"link"_s ? target : nowhere, runtimeLock()));
        }
        struct stat before = {};
        struct stat after = {};
        QVERIFY(lstat(lock.constData(), &before) == 0);
        {
            DesktopPlatform first;
            QVERIFY(!first.isAnotherInstanceRunning());
            DesktopPlatform second; // nothing was locked, so nothing refuses it
            QVERIFY(!second.isAnotherInstanceRunning());
        }
        QVERIFY(lstat(lock.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(readAll(target), content);
        QCOMPARE(readAll(runtimeLock()), found == u"dangling link"_s ? QByteArray() : content);
        QVERIFY(!QFile::exists(nowhere));
    }

    void unusableLockPlaceLetsTheProgramStart() {
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(places.temp + u"/does/not/exist"_s));
        DesktopPlatform platform;
        QVERIFY(!platform.isAnotherInstanceRunning());
    }
};

int main(int argc, char *argv[]) {
    if (argc == 2 && qstrcmp(argv[1], "--hold-instance-lock") == 0)
        return holdInstanceLock();

    QTemporaryDir root;
    if (!root.isValid())
        qFatal("no temporary directory");
    places = {root.filePath(u"config"_s), root.filePath(u"runtime"_s), root.filePath(u"tmp"_s),
              root.filePath(u"cache"_s), root.filePath(u"home"_s)};
    for (const QString &place : {places.config, places.runtime, places.temp, places.home})
        QDir().mkpath(place);
    QFile(places.runtime).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The settings store takes its place from these when it is first used.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(places.config));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(places.runtime));
    qputenv("TMPDIR", QFile::encodeName(places.temp));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(places.cache));
    qputenv("HOME", QFile::encodeName(places.home));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Woundwell"_s);
    TestDesktopPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktopplatform.moc"
