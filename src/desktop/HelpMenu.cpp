#include "desktop/HelpMenu.h"

#include "desktop/About.h"
#include "desktop/UpdateCheck.h"
#include "platform/HelpWindow.h"
#include "platform/ModalForm.h"

#include <QAction>
#include <QWidget>

namespace keystead {
namespace {

// The topic on how to use this help.
constexpr int kUsingHelpTopic = 0;

}  // namespace

THelpMenu::THelpMenu(QWidget& window, const HelpMenuItems& items, const QString& programVersion)
    : QObject(&window), window_(window)
{
    new TUpdateCheck(window, *items.httpInternet, *items.mnuHelpCheck, *items.statusText, *items.pvlHyperlink,
                     programVersion);
    connect(items.mnuHelpUsing, &QAction::triggered, this, &THelpMenu::mnuHelpUsingClick);
    connect(items.mnuHelpAbout, &QAction::triggered, this, &THelpMenu::mnuHelpAboutClick);
}

void THelpMenu::mnuHelpUsingClick()
{
    ShowHelpTopic(window_, kUsingHelpTopic);
}

void THelpMenu::mnuHelpAboutClick()
{
    TfrmAbout frmAbout(&window_);
    showModal(frmAbout);
}

}  // namespace keystead
