#include "platform/DesktopPlatform.h"

#include "core/Version.h"
#include "forms/WindowPlacement.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <chrono>
#include <utility>

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

// Closes the descriptor it holds when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int file)
        : m_file(file) {}
    ~Descriptor() {
        if (m_file >= 0)
            close(m_file);
    }
    Descriptor(Descriptor &&other) noexcept
        : m_file(std::exchange(other.m_file, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept {
        std::swap(m_file, other.m_file);
        return *this;
    }

    int get() const { return m_file; }
    explicit operator bool() const { return m_file >= 0; }

private:
    int m_file = -1;
};

bool sameFile(const struct stat &one, const struct stat &other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// A folder another account can neither put files into nor swap for one of its own: a directory
// of this user's without any of the `forbidden` permission bits. It is checked through the open
// descriptor and every later step goes through that descriptor, so what was checked is what is
// used, whatever happens to the name meanwhile.
Descriptor ownFolder(int parent, const QByteArray &name, bool followLink, mode_t forbidden) {
    Descriptor folder(openat(parent, name.constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW)));
    struct stat info = {};
    if (!folder || fstat(folder.get(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != getuid() || (info.st_mode & forbidden) != 0)
        return {};
    return folder;
}

// The session's runtime directory, as the session is meant to set it up: a real directory of
// the user's that nobody else may even enter. One that is a link, or that others may enter, is
// not trusted with the lock.
Descriptor runtimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.startsWith('/'))
        return {};
    return ownFolder(AT_FDCWD, runtime, false, S_IRWXG | S_IRWXO);
}

// Without a runtime directory (su, a login without a session manager, some remote desktops) a
// folder of the user's own in the cache, never a shared one such as /tmp, where any account
// can plant a link or a locked file at a name it can predict. Cache rather than settings or
// data: the lock is worth nothing once the copy that holds it has gone. The cache folder may
// be a link (the user's choice of disk), ours in it may not.
Descriptor cacheFolder() {
    constexpr mode_t OthersWrite = S_IWGRP | S_IWOTH;
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/'))
            return {};
        cache = home + "/.cache";
    }
    Descriptor root = ownFolder(AT_FDCWD, cache, true, OthersWrite);
    if (!root) {
        // A new account may have no cache folder yet. It is made only inside a folder of the
        // user's, so that root started with someone else's HOME leaves their home alone.
        const QFileInfo place(QFile::decodeName(cache));
        const QByteArray name = QFile::encodeName(place.fileName());
        const Descriptor parent =
            ownFolder(AT_FDCWD, QFile::encodeName(place.absolutePath()), true, OthersWrite);
        if (!parent || name.isEmpty() || mkdirat(parent.get(), name.constData(), 0700) != 0)
            return {};
        root = ownFolder(parent.get(), name, false, OthersWrite);
        if (!root)
            return {};
    }
    mkdirat(root.get(), "woundwell", 0700); // fails harmlessly when it is there already
    return ownFolder(root.get(), "woundwell", false, OthersWrite);
}

const char LockName[] = "woundwell.lock";

} // namespace

// The mark of a running copy: a file this copy holds an flock() on. The system drops the lock
// with the process however it ends, so a file that a crashed or killed copy left behind blocks
// nothing. Unlike QLockFile it syncs nothing to disk: a lock never outlives a restart, and
// the sync cost milliseconds at every start where the file lives on a disk (the cache folder,
// without a runtime directory).
class InstanceLock final {
public:
    enum class Outcome { Taken, HeldByAnotherCopy, PlaceUnusable };

    explicit InstanceLock(Descriptor folder)
        : m_folder(std::move(folder)) {}

    ~InstanceLock() {
        if (!m_file)
            return;
        // Gone from the folder before the lock goes, so nobody takes a lock on a file that is
        // about to disappear; and only if the name still means our file, since one deleted by
        // hand may have been made again by a newer copy that holds it now.
        struct stat named = {};
        if (fstatat(m_folder.get(), LockName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(named, m_locked))
            unlinkat(m_folder.get(), LockName, 0);
    }

    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    Outcome take() {
        // A copy that is just ending may remove the file between our open and our lock; we
        // would then hold a lock on a file nobody else can find, so we try the new one.
        for (int attempt = 0; attempt < 3; ++attempt) {
            // No link is followed and nothing is truncated on the way in: whatever sits at the
            // name is left as it is unless it turns out to be our own plain file. O_NONBLOCK
            // and O_NOCTTY keep a fifo or a device there from hanging or adopting the open.
            Descriptor file(
                openat(m_folder.get(), LockName,
                       O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600));
            struct stat locked = {};
            if (!file || fstat(file.get(), &locked) != 0 || !S_ISREG(locked.st_mode) ||
                locked.st_uid != getuid() || locked.st_nlink != 1)
                return Outcome::PlaceUnusable;
            if (flock(file.get(), LOCK_EX | LOCK_NB) != 0)
                return errno == EWOULDBLOCK ? Outcome::HeldByAnotherCopy : Outcome::PlaceUnusable;
            struct stat named = {};
            if (fstatat(m_folder.get(), LockName, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
                !sameFile(locked, named))
                continue;
            m_file = std::move(file);
            m_locked = locked;
            // The process number, for a person wondering which copy holds it; the lock is
            // what counts, not the note.
            const QByteArray holder = QByteArray::number(getpid()) + '\n';
            [[maybe_unused]] const bool noted =
                ftruncate(m_file.get(), 0) == 0 &&
                write(m_file.get(), holder.constData(), holder.size()) == holder.size();
            return Outcome::Taken;
        }
        return Outcome::PlaceUnusable;
    }

private:
    Descriptor m_folder;
    Descriptor m_file;
    struct stat m_locked = {};
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
    // Over a window Qt centres the box on it; alone, Qt's guess at the frame leaves it off the
    // centre of the screen.
    if (parent == nullptr) {
        box.adjustSize();
        centreOnScreen(&box);
    }
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
    Descriptor folder = runtimeFolder();
    if (!folder)
        folder = cacheFolder();
    // Without a safe place for the lock the program starts as if it were the only copy.
    if (!folder)
        return false;
    auto lock = std::make_unique<InstanceLock>(std::move(folder));
    const InstanceLock::Outcome outcome = lock->take();
    if (outcome == InstanceLock::Outcome::Taken)
        m_instanceLock = std::move(lock);
    // A lock we cannot take because the place is unusable says nothing about another copy.
    return outcome == InstanceLock::Outcome::HeldByAnotherCopy;
}

} // namespace woundwell
