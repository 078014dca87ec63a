#pragma once
// TpvlUrl, the hyperlink launcher: opens its Url in the desktop's web browser. The main window's
// pvlHyperlink holds the link under the pointer in the notes pane.

#include <QObject>
#include <QString>

namespace keystead {

class TpvlUrl : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    QString Url;

    // Opens Url with the desktop's default handler, the address as one argument and never
    // through a shell; throws KeysteadError "Couldn't launch default browser" when that fails.
    void LaunchUrl() const;
};

}  // namespace keystead
