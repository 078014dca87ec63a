#include "desktop/FileLink.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace keystead {

void OpenFileLink(const QString& path)
{
    // A relative path would be looked up in whatever folder the program was started from.
    if (!QDir::isAbsolutePath(path))
        return;
    const QFileInfo file(path);
    if (file.isFile() && file.isExecutable()) {
        QProcess::startDetached(file.absoluteFilePath(), {});
        return;
    }
    if (file.exists()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
        return;
    }
    const QDir folder = file.absoluteDir();
    if (folder.exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder.absolutePath()));
}

}  // namespace keystead
