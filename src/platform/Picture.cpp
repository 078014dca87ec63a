#include "platform/Picture.h"

#include <QIcon>
#include <QImageReader>

namespace keystead {

QPixmap loadPicture(const QString& name)
{
    const QString file = QStringLiteral(":/pictures/%1.png").arg(name);
    // An icon finds the "@2x" file beside the plain one and picks the size the screen needs.
    return QIcon(file).pixmap(QImageReader(file).size());
}

}  // namespace keystead
