#pragma once
// The addresses on the maker's web site, kept in one place. The host is a reserved name that
// resolves nowhere unless a machine maps it, so the program never reaches a stranger's server.

#include <QString>

namespace keystead {

inline const QString kSiteAddress = QStringLiteral("http://www.vorrent.example");
inline const QString UpdateCheckUrl = kSiteAddress + QStringLiteral("/vorrent/ksver.txt");
inline const QString DownloadPageUrl = kSiteAddress + QStringLiteral("/vorrent/freeware/freeware.htm");
inline const QString HomePageUrl = kSiteAddress + QStringLiteral("/vorrent");

}  // namespace keystead
