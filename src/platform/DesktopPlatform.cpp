#include "platform/DesktopPlatform.h"

#include "core/Version.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <chrono>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace woundwell {

namespace {

// The same two names give the settings file its place: $XDG_CONFIG_HOME/Woundwell/Woundwell.conf
const QString SettingsOrganisation = QStringLiteral("Woundwell");
const QString SettingsApplication = QStringLiteral("Woundwell");

// Message texts may break lines the old way, with a lone carriage return; Qt only breaks on
// line feeds.
QString withLineFeeds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Where the lock that marks a running copy lives: the per-user runtime directory, or a
// per-user name in the temporary directory when the session has none.
QString lockFilePath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return QDir(runtime).filePath(QStringLiteral("woundwell.lock"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("woundwell-%1.lock").arg(getuid()));
}

} // namespace

// The mark of a running copy: a file this copy holds an flock() on. The system drops the lock
// with the process however it ends, so a file that a crashed or killed copy left behind blocks
// nothing. Unlike QLockFile it syncs nothing to disk: a lock never outlives a restart, and
// the sync cost milliseconds at every start where the file lives on a disk (the temporary
// folder, without a runtime directory).
class InstanceLock final {
public:
    enum class Outcome { Taken, HeldByAnotherCopy, PlaceUnusable };

    explicit InstanceLock(const QString &path)
        : m_path(QFile::encodeName(path)) {}

    ~InstanceLock() {
        if (m_file < 0)
            return;
        // Gone from the folder before the lock goes, so nobody takes a lock on a file that is
        // about to disappear.
        unlink(m_path.constData());
        close(m_file);
    }

    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    Outcome take() {
        // A copy that is just ending may remove the file between our open and our lock; we
        // would then hold a lock on a file nobody else can find, so we try the new one.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int file = open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
            if (file < 0)
                return Outcome::PlaceUnusable;
            if (flock(file, LOCK_EX | LOCK_NB) != 0) {
                const bool held = errno == EWOULDBLOCK;
                close(file);
                return held ? Outcome::HeldByAnotherCopy : Outcome::PlaceUnusable;
            }
            struct stat locked {};
            struct stat named {};
            if (fstat(file, &locked) == 0 && stat(m_path.constData(), &named) == 0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
                m_file = file;
                // The process number, for a person wondering which copy holds it; the lock is
                // what counts, not the note.
                const QByteArray holder = QByteArray::number(getpid()) + '\n';
                [[maybe_unused]] const bool noted =
                    ftruncate(file, 0) == 0 &&
                    write(file, holder.constData(), holder.size()) == holder.size();
                return Outcome::Taken;
            }
            close(file);
        }
        return Outcome::PlaceUnusable;
    }

private:
    QByteArray m_path;
    int m_file = -1;
};

DesktopPlatform::DesktopPlatform() = default;
DesktopPlatform::~DesktopPlatform() = default;

MessageAnswer DesktopPlatform::showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                                           MessageButtons buttons) {
    QMessageBox box(
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
        ProgramTitle, withLineFeeds(text),
        buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("message"));
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void DesktopPlatform::openUrl(const QUrl &address) {
    QDesktopServices::openUrl(address);
}

QString DesktopPlatform::readSetting(const QString &section, const QString &key) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation,
                       SettingsApplication);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    // A value with a comma in it reads back as a list: it is still text that is there, not a
    // missing value, and must not be mistaken for a first start.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.canConvert<QString>())
        return value.toString();
    return value.isValid() ? QString::fromLatin1(value.typeName()) : QString();
}

void DesktopPlatform::writeSetting(const QString &section, const QString &key,
                                   const QString &value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation,
                       SettingsApplication);
    settings.setValue(section + QLatin1Char('/') + key, value);
}

QDate DesktopPlatform::today() {
    return QDate::currentDate();
}

void DesktopPlatform::seedRandomFromClock() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    m_random.seed(static_cast<quint32>(ticks ^ (ticks >> 32)));
}

float DesktopPlatform::nextRandom() {
    // 24 random bits: every value is exact in single precision and below 1.
    constexpr quint32 Steps = 1u << 24;
    return static_cast<float>(m_random.bounded(Steps)) / static_cast<float>(Steps);
}

bool DesktopPlatform::isAnotherInstanceRunning() {
    auto lock = std::make_unique<InstanceLock>(lockFilePath());
    const InstanceLock::Outcome outcome = lock->take();
    if (outcome == InstanceLock::Outcome::Taken)
        m_instanceLock = std::move(lock);
    // A lock we cannot take because the place is unusable says nothing about another copy.
    return outcome == InstanceLock::Outcome::HeldByAnotherCopy;
}

} // namespace woundwell
