#pragma once
// The commands of the Help menu beyond Contents: "Using Online Help", the update check and the
// about box, wired to the main window's items.

#include "platform/HttpClient.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QWidget;

namespace keystead {

class TpvlUrl;

// The main window's parts the Help menu works with.
struct HelpMenuItems {
    QAction* mnuHelpUsing;
    QAction* mnuHelpCheck;
    QAction* mnuHelpAbout;
    QLabel* statusText;
    TpvlUrl* pvlHyperlink;
    THttpClient* httpInternet;
};

class THelpMenu : public QObject {
    Q_OBJECT

public:
    // Owned by the window, whose Help menu items it serves.
    THelpMenu(QWidget& window, const HelpMenuItems& items, const QString& programVersion);

private:
    void mnuHelpUsingClick();
    void mnuHelpAboutClick();

    QWidget& window_;
};

}  // namespace keystead
