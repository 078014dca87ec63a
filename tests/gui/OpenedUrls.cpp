#include "OpenedUrls.h"

#include <QDesktopServices>

namespace keystead::test {

namespace {
const char* const kSchemes[] = {"http", "file"};
}

OpenedUrls::OpenedUrls()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

OpenedUrls::~OpenedUrls()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void OpenedUrls::open(const QUrl& url)
{
    urls << url;
}

}  // namespace keystead::test
