#include "platform/DesktopPlatform.h"

#include "core/Version.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <chrono>
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
    m_instanceLock = std::make_unique<QLockFile>(lockFilePath());
    // Only a live process keeps the lock: a copy that crashed or was killed leaves a stale file
    // that the next start takes over, however old it is and however long a copy runs.
    m_instanceLock->setStaleLockTime(0);
    if (m_instanceLock->tryLock(0))
        return false;
    // A lock we cannot take because the place is unusable says nothing about another copy.
    return m_instanceLock->error() == QLockFile::LockFailedError;
}

} // namespace woundwell
