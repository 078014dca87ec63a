#include "desktop/FileLink.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace keystead {

void OpenFileLink(const QString& path)
{
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (file.isFile() && file.isExecutable()) {
        // The absolute path, so that a bare name never picks up a program from the search path.
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
