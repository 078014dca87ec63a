#pragma once
// Opening the file a FILE:// link of the notes pane names.

#include <QString>

namespace keystead {

// Only an absolute path is opened. An existing executable file is started as a program with no
// arguments and no shell; another existing file opens in the desktop's default application for
// it; a folder, or the folder of a missing file, opens in the file manager. Otherwise nothing
// happens and nothing is reported.
void OpenFileLink(const QString& path);

}  // namespace keystead
