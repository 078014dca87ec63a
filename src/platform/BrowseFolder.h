#pragma once
// TBrowseFolder, the folder picker component of the options dialog: it keeps the folder last
// chosen in it for as long as it exists, and opens on that folder the next time.

#include <QObject>
#include <QString>

class QWidget;

namespace keystead {

class TBrowseFolder : public QObject {
    Q_OBJECT

public:
    explicit TBrowseFolder(QWidget* owner);

    // The folder last chosen, full path without a trailing "/" (unless it is the root).
    QString Directory;

    // True when the user confirmed a folder, which Directory then holds.
    bool Execute();

private:
    QWidget* owner_;
};

}  // namespace keystead
