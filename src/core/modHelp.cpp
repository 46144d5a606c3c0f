#include "core/modHelp.h"

#include "core/Platform.h"

#include <QUrl>

namespace woundwell::modHelp {

namespace {
const QString SettingsSection = QStringLiteral("Settings");
const QString DurationKey = QStringLiteral("Duration");
const QString DurationFormat = QStringLiteral("yyyy-MM-dd");
constexpr qint64 ReminderDays = 14;
} // namespace

QString webAddress(WebPage page) {
    switch (page) {
    case WebPage::Home:
        return SiteAddress;
    case WebPage::OnlineHelp:
        return SiteAddress + QStringLiteral("/woundwell/woundwell-help.html");
    case WebPage::Download:
        return SiteAddress + QStringLiteral("/woundwell/download-woundwell.html");
    case WebPage::Donate:
        return SiteAddress + QStringLiteral("/donate.html");
    case WebPage::FullBrand:
        return SiteAddress + QStringLiteral("/fully-branded.html");
    case WebPage::CoBrand:
        return SiteAddress + QStringLiteral("/co-brand.html");
    case WebPage::Catalogue:
        return SiteAddress + QStringLiteral("/quorvanesoftwares");
    }
    return SiteAddress;
}

void OpenWebPage(Platform &platform, const QString &address) {
    platform.openUrl(QUrl(address, QUrl::StrictMode));
}

void OpenHome(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::Home));
}

void OpenOnlineHelp(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::OnlineHelp));
}

void OpenDownload(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::Download));
}

void OpenDonate(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::Donate));
}

void OpenFullBrand(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::FullBrand));
}

void OpenCoBrand(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::CoBrand));
}

void OpenCatalogue(Platform &platform) {
    OpenWebPage(platform, webAddress(WebPage::Catalogue));
}

void UpdateReminder(Platform &platform) {
    const QString stored = platform.readSetting(SettingsSection, DurationKey);
    const QDate today = platform.today();
    if (stored.isEmpty()) {
        platform.writeSetting(SettingsSection, DurationKey, today.toString(DurationFormat));
        return;
    }
    const QDate last = QDate::fromString(stored, DurationFormat);
    if (!last.isValid())
        return; // not ours to repair: leave it and stay quiet
    const qint64 days = today.daysTo(last);
    if (days >= -ReminderDays && days <= ReminderDays)
        return;
    const MessageAnswer answer = platform.showMessage(
        nullptr, UpdateQuestion, MessageIcon::Information, MessageButtons::YesNo);
    platform.writeSetting(SettingsSection, DurationKey, today.toString(DurationFormat));
    if (answer == MessageAnswer::Yes)
        OpenDownload(platform);
}

} // namespace woundwell::modHelp
