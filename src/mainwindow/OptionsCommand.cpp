#include "mainwindow/OptionsCommand.h"

#include "mainwindow/PasswordListView.h"
#include "mainwindow/VorrentRichEdit.h"
#include "platform/ErrorDisplay.h"
#include "platform/ModalForm.h"
#include "platform/SuspendedUpdates.h"
#include "platform/TextConversion.h"
#include "store/MainSettings.h"

#include <QTextDocument>

namespace keystead {

TOptionsCommand::TOptionsCommand(SessionState& session, RegistryStore& store, MainSettings& settings,
                                 TPasswordListView& list, TVorrentRichEdit& notes,
                                 std::function<bool()> protectionCheck, std::function<void()> loadPasswordList,
                                 QWidget& mainWindow)
    : QObject(&mainWindow), session_(session), store_(store), settings_(settings), list_(list), notes_(notes),
      protectionCheck_(std::move(protectionCheck)), loadPasswordList_(std::move(loadPasswordList)),
      mainWindow_(mainWindow)
{
}

void TOptionsCommand::mnuViewOptionsClick()
{
    if (!protectionCheck_())
        return;
    runGuarded(&mainWindow_, [this] {
        TfrmOptions frmOptions(session_, store_, *this, lastColor_, &mainWindow_);
        showModal(frmOptions);
    });
}

void TOptionsCommand::applyDisplaySettings()
{
    list_.setGridLines(settings_.showGridlines);
    list_.setListFont(QFont(toQString(settings_.listFontName), settings_.listFontSize));
    const QFont notesFont(toQString(settings_.notesFontName), settings_.notesFontSize);
    const SuspendedUpdates frozen(notes_);
    notes_.setFont(notesFont);
    // The pane's text carries no font of its own: the whole of it takes the document's.
    notes_.document()->setDefaultFont(notesFont);
}

void TOptionsCommand::reloadList()
{
    loadPasswordList_();
}

void TOptionsCommand::markLinks()
{
    notes_.setUrlColor(settings_.urlColor);
}

}  // namespace keystead
