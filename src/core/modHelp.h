#pragma once

#include <QString>

namespace woundwell {

class Platform;

namespace modHelp {

// The maker's pages the program links to.
enum class WebPage {
    Home,       // the discussion forum's home page
    OnlineHelp, // this program's help page
    Download,   // this program's download page, where updates come from
    Donate,
    FullBrand, // fully branded copies of the program, a home-business offer
    CoBrand,   // co-branded copies
    Catalogue, // the maker's other programs
};

// Every address of the maker's site starts with this.
inline const QString SiteAddress = QStringLiteral("http://www.quorvane.com");

[[nodiscard]] QString webAddress(WebPage page);

// Hands the address to the desktop's browser and returns at once; reports nothing, whatever
// the browser does.
void OpenWebPage(Platform &platform, const QString &address);

void OpenHome(Platform &platform);
void OpenOnlineHelp(Platform &platform);
void OpenDownload(Platform &platform);
void OpenDonate(Platform &platform);
void OpenFullBrand(Platform &platform);
void OpenCoBrand(Platform &platform);
void OpenCatalogue(Platform &platform);

// At start-up, about once a fortnight, offers to look for an update. The date of the last
// offer is kept as Duration in the group Settings, written yyyy-MM-dd.
void UpdateReminder(Platform &platform);

inline const QString UpdateQuestion =
    QStringLiteral("There maybe an update to this software available\r"
                   "Do you want to check for an update?");

} // namespace modHelp
} // namespace woundwell
