#include "platform/BrowseFolder.h"

#include "platform/Pickers.h"

#include <QWidget>

namespace keystead {

TBrowseFolder::TBrowseFolder(QWidget* owner) : QObject(owner), owner_(owner) {}

bool TBrowseFolder::Execute()
{
    const QString chosen = showFolderPicker(owner_, Directory);
    if (chosen.isEmpty())
        return false;
    Directory = chosen;
    return true;
}

}  // namespace keystead
