#include "desktop/pvlUrl.h"

#include "store/KeysteadError.h"

#include <QDesktopServices>
#include <QUrl>

namespace keystead {

void TpvlUrl::LaunchUrl() const
{
    // Links such as "www.example.com" have no scheme; a browser takes them as web addresses.
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(Url)))
        throw KeysteadError("Couldn't launch default browser");
}

}  // namespace keystead
