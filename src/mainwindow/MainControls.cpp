// The main window's controls, tool bar, menus and pop-up menus, and the signals that tie them
// to its commands.
#include "mainwindow/Main.h"

#include "desktop/HelpMenu.h"
#include "desktop/pvlUrl.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "platform/DrawStamp.h"
#include "platform/TextConversion.h"
#include "platform/WhatsThis.h"
#include "store/SessionState.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace keystead {
namespace {

QAction* makeAction(QObject* parent, const char* name, const QString& text, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QAction* makeToolButton(QToolBar& bar, const char* name, const QString& hint, const char* picture)
{
    QAction* action = bar.addAction(QIcon(QStringLiteral(":/pictures/") + QString::fromLatin1(picture)), hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

// Leaves Ctrl+C in the notes pane to the Copy command, which guards it like every other copy,
// instead of the pane's own copy.
class CopyThroughCommand : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void TfrmMain::buildControls()
{
    lvPasswords = new TPasswordListView(*model_, this);
    lvPasswords->setMinimumHeight(kMinimumListHeight);
    WatchDrawing(*lvPasswords->details().viewport(), "list");
    WatchDrawing(*lvPasswords->list().viewport(), "list");

    reComments = new TVorrentRichEdit(this);
    reComments->setObjectName(QStringLiteral("reComments"));
    reComments->setAccessibleName(QStringLiteral("Comments"));
    reComments->setReadOnly(true);
    reComments->setFrameShape(QFrame::NoFrame);
    reComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reComments->setTabChangesFocus(true);
    reComments->installEventFilter(new CopyThroughCommand(reComments));
    pvlHyperlink = new TpvlUrl(this);
    reComments->setHyperlink(pvlHyperlink);
    QPalette notesPalette = reComments->palette();
    notesPalette.setColor(QPalette::Base, notesPalette.color(QPalette::Button));
    reComments->setPalette(notesPalette);

    pnlComments = new QWidget(this);
    pnlComments->setObjectName(QStringLiteral("pnlComments"));
    auto* notesLayout = new QVBoxLayout(pnlComments);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(reComments);

    sptMainSplitter = new QSplitter(Qt::Vertical, this);
    sptMainSplitter->setObjectName(QStringLiteral("sptMainSplitter"));
    sptMainSplitter->setHandleWidth(3);
    sptMainSplitter->setChildrenCollapsible(false);
    sptMainSplitter->setOpaqueResize(true);
    sptMainSplitter->addWidget(buildFindPanel());
    sptMainSplitter->addWidget(pnlComments);
    sptMainSplitter->setStretchFactor(0, 0);
    sptMainSplitter->setStretchFactor(1, 1);
    setCentralWidget(sptMainSplitter);

    // The bar takes the height its font needs; its last panel, at least 50 wide, reaches to the
    // right edge, where the update check's longer texts show whole.
    statusBar()->setObjectName(QStringLiteral("sbMessage"));
    statusBar()->setSizeGripEnabled(false);
    sbMessagePanel0 = new QLabel(this);
    sbMessagePanel0->setFixedWidth(150);
    sbMessagePanel1 = new QLabel(this);
    sbMessagePanel1->setMinimumWidth(50);
    statusBar()->addWidget(sbMessagePanel0);
    statusBar()->addWidget(sbMessagePanel1, 1);

    connect(lvPasswords, &TPasswordListView::columnClicked, this, &TfrmMain::lvPasswordsColumnClick);
    connect(lvPasswords, &TPasswordListView::selectionChanged, this, &TfrmMain::lvPasswordsSelectItem);
}

void TfrmMain::buildToolBar()
{
    tbToolbar = new QToolBar(this);
    tbToolbar->setObjectName(QStringLiteral("tbToolbar"));
    tbToolbar->setMovable(false);
    tbToolbar->setFloatable(false);
    tbToolbar->setFixedHeight(29);
    tbToolbar->setIconSize(QSize(16, 16));
    tbToolbar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, tbToolbar);
    // The button that shows the tool buttons a narrow window has no room for.
    if (auto* more = tbToolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More tool buttons"));

    tbNewPassword = makeToolButton(*tbToolbar, "tbNewPassword", QStringLiteral("New Password"), "toolbar-new.png");
    tbPrint = makeToolButton(*tbToolbar, "tbPrint", QStringLiteral("Print"), "toolbar-print.png");
    tbImport = makeToolButton(*tbToolbar, "tbImport", QStringLiteral("Import"), "toolbar-import.png");
    tbExport = makeToolButton(*tbToolbar, "tbExport", QStringLiteral("Export"), "toolbar-export.png");
    tbToolbar->addSeparator();
    tbCut = makeToolButton(*tbToolbar, "tbCut", QStringLiteral("Cut"), "toolbar-cut.png");
    tbCopy = makeToolButton(*tbToolbar, "tbCopy", QStringLiteral("Copy"), "toolbar-copy.png");
    tbPaste = makeToolButton(*tbToolbar, "tbPaste", QStringLiteral("Paste as New Password"), "toolbar-paste.png");
    tbDelete = makeToolButton(*tbToolbar, "tbDelete", QStringLiteral("Delete"), "toolbar-delete.png");
    tbOptions = makeToolButton(*tbToolbar, "tbOptions", QStringLiteral("Options"), "toolbar-options.png");
    tbToolbar->addSeparator();
    tbShowPasswords = makeToolButton(*tbToolbar, "tbShowPasswords", QStringLiteral("Show Passwords"),
                                     "toolbar-show-passwords.png");
    tbShowPasswords->setCheckable(true);
    tbToolbar->addSeparator();
    tbViewStyle = new QToolButton(tbToolbar);
    tbViewStyle->setObjectName(QStringLiteral("tbViewStyle"));
    tbViewStyle->setIcon(QIcon(QStringLiteral(":/pictures/toolbar-views.png")));
    tbViewStyle->setToolTip(QStringLiteral("Views"));
    tbViewStyle->setAccessibleName(QStringLiteral("Views"));
    tbViewStyle->setPopupMode(QToolButton::MenuButtonPopup);
    tbViewStyle->setAutoRaise(true);
    tbToolbar->addWidget(tbViewStyle);

    connect(tbShowPasswords, &QAction::triggered, this, &TfrmMain::mnuViewShowClick);
    connect(tbViewStyle, &QToolButton::clicked, this, &TfrmMain::tbViewStyleClick);
}

void TfrmMain::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildHelpMenu();
}

void TfrmMain::buildFileMenu()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileExport = makeAction(this, "mnuFileExport", QStringLiteral("&Export Passwords..."), Qt::Key_F3);
    mnuFileImport = makeAction(this, "mnuFileImport", QStringLiteral("&Import Passwords..."), Qt::Key_F4);
    mnuFileRestore = makeAction(this, "mnuFileRestore", QStringLiteral("Restore from &Backup..."));
    mnuFilePassword = makeAction(this, "mnuFilePassword", QStringLiteral("Change Logon Password..."));
    mnuFilePrint = makeAction(this, "mnuFilePrint", QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileLock = makeAction(this, "mnuFileLock", QStringLiteral("Lock"), QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuFileExit = makeAction(this, "mnuFileExit", QStringLiteral("E&xit"));
    mnuFile->addAction(mnuFileExport);
    mnuFile->addAction(mnuFileImport);
    mnuFile->addAction(mnuFileRestore);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFilePassword);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFilePrint);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileLock);
    mnuFile->addAction(mnuFileExit);
    connect(mnuFile, &QMenu::aboutToShow, this, &TfrmMain::mnuFilePopup);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
}

void TfrmMain::buildEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEditCut = makeAction(this, "mnuEditCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditUsername =
        makeAction(this, "mnuEditUsername", QStringLiteral("Copy &Username"), QKeySequence(Qt::CTRL | Qt::Key_U));
    mnuEditCopy = makeAction(this, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste =
        makeAction(this, "mnuEditPaste", QStringLiteral("&Paste as New Password"), QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditDelete = makeAction(this, "mnuEditDelete", QStringLiteral("&Delete"), Qt::Key_Delete);
    mnuEditDeleteAll = makeAction(this, "mnuEditDeleteAll", QStringLiteral("Delete All"));
    mnuEditNew = makeAction(this, "mnuEditNew", QStringLiteral("&New Password..."), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuEditEdit =
        makeAction(this, "mnuEditEdit", QStringLiteral("&Edit Password..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuEditClear = makeAction(this, "mnuEditClear", QStringLiteral("C&lear Clipboard"), Qt::Key_F6);
    mnuEditFind = makeAction(this, "mnuEditFind", QStringLiteral("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    for (QAction* item : {mnuEditCut, mnuEditUsername, mnuEditCopy, mnuEditPaste, mnuEditDelete, mnuEditDeleteAll})
        mnuEdit->addAction(item);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditNew);
    mnuEdit->addAction(mnuEditEdit);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditClear);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditFind);
}

void TfrmMain::buildViewMenu()
{
    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuViewShow = makeAction(this, "mnuViewShow", QStringLiteral("Show &Passwords"), Qt::Key_F12);
    mnuViewQuickview = makeAction(this, "mnuViewQuickview", QStringLiteral("&Quickview (Spacebar)"));
    mnuViewList = makeAction(this, "mnuViewList", QStringLiteral("List"));
    mnuViewDetail = makeAction(this, "mnuViewDetail", QStringLiteral("Details"));
    mnuViewTop = makeAction(this, "mnuViewTop", QStringLiteral("&Always on Top"));
    mnuViewOptions = makeAction(this, "mnuViewOptions", QStringLiteral("&Options..."), Qt::Key_F2);
    makeStyleItems(mnuViewList, mnuViewDetail);
    mnuViewTop->setCheckable(true);

    mnuView->addAction(mnuViewShow);
    mnuView->addAction(mnuViewQuickview);
    mnuView->addSeparator();
    mnuView->addAction(mnuViewList);
    mnuView->addAction(mnuViewDetail);
    mnuView->addSeparator();
    mnuView->addAction(mnuViewTop);
    mnuView->addAction(mnuViewOptions);

    connect(mnuView, &QMenu::aboutToShow, this, &TfrmMain::mnuViewPopup);
    connect(mnuViewShow, &QAction::triggered, this, &TfrmMain::mnuViewShowClick);
    connect(mnuViewTop, &QAction::triggered, this, &TfrmMain::mnuViewTopClick);
}

void TfrmMain::buildHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpContents = makeAction(this, "mnuHelpContents", QStringLiteral("Contents"), Qt::Key_F1);
    mnuHelpUsing = makeAction(this, "mnuHelpUsing", QStringLiteral("Using Online Help"));
    mnuHelpCheck = makeAction(this, "mnuHelpCheck", QStringLiteral("Check Internet for New Version"));
    mnuHelpAbout = makeAction(this, "mnuHelpAbout", QStringLiteral("About..."));
    mnuHelp->addAction(mnuHelpContents);
    mnuHelp->addAction(mnuHelpUsing);
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuHelpCheck);
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuHelpAbout);
    connect(mnuHelpContents, &QAction::triggered, this, &TfrmMain::showHelpContents);
    httpInternet = new THttpClient(this);
    new THelpMenu(*this, {mnuHelpUsing, mnuHelpCheck, mnuHelpAbout, sbMessagePanel1, pvlHyperlink, httpInternet},
                  toQString(session_.ProgramVersion));
}

void TfrmMain::buildPopupMenus()
{
    popViewStyle = new QMenu(this);
    popViewStyle->setObjectName(QStringLiteral("popViewStyle"));
    popViewStyleList = popViewStyle->addAction(QStringLiteral("List"));
    popViewStyleDetail = popViewStyle->addAction(QStringLiteral("Details"));
    makeStyleItems(popViewStyleList, popViewStyleDetail);
    tbViewStyle->setMenu(popViewStyle);
    connect(popViewStyle, &QMenu::aboutToShow, this,
            [this] { checkStyleItem(popViewStyleList, popViewStyleDetail); });

    // The pop-up menus show their shortcuts, which act through the Edit menu's items.
    popPasswordList = new QMenu(this);
    popPasswordList->setObjectName(QStringLiteral("popPasswordList"));
    mnuCopy = makeAction(popPasswordList, "mnuCopy", QStringLiteral("&Copy Password"), QKeySequence::Copy);
    mnuUsername =
        makeAction(popPasswordList, "mnuUsername", QStringLiteral("Copy &Username"), QKeySequence(Qt::CTRL | Qt::Key_U));
    MenuItem1 = makeAction(popPasswordList, "MenuItem1", QStringLiteral("What's This?"));
    popPasswordList->addAction(mnuCopy);
    popPasswordList->addAction(mnuUsername);
    popPasswordList->addAction(MenuItem1);

    popComments = new QMenu(this);
    popComments->setObjectName(QStringLiteral("popComments"));
    mnuCommentsCopy = makeAction(popComments, "mnuCommentsCopy", QStringLiteral("&Copy "), QKeySequence::Copy);
    LaunchinWebBrowser1 = makeAction(popComments, "LaunchinWebBrowser1", QStringLiteral("Launch in Web Browser"));
    mnuCommentsWhatsThis = makeAction(popComments, "mnuCommentsWhatsThis", QStringLiteral("What's This?"));
    popComments->addAction(mnuCommentsCopy);
    popComments->addSeparator();
    popComments->addAction(LaunchinWebBrowser1);
    popComments->addSeparator();
    popComments->addAction(mnuCommentsWhatsThis);

    auto* whatsThis = new TWhatsThis(*this);
    popWhatsThis = whatsThis->popWhatsThis;
    mnuWhatsThis = whatsThis->mnuWhatsThis;
    for (auto [control, topic] : {std::pair<QWidget*, int>{tbToolbar, 3004}, {lvPasswords, 3005}, {reComments, 3006},
                                  {statusBar(), 9009}})
        setHelpContext(*control, topic);
    whatsThis->showOnItem(*MenuItem1, *lvPasswords);
    whatsThis->showOnItem(*mnuCommentsWhatsThis, *reComments);
    for (QAction* item : {mnuCopy, mnuUsername, mnuCommentsCopy})
        item->setShortcutContext(Qt::WidgetShortcut);

    setContextMenu(lvPasswords->details(), *popPasswordList);
    setContextMenu(lvPasswords->list(), *popPasswordList);
    setContextMenu(*reComments, *popComments);
    connect(popPasswordList, &QMenu::aboutToShow, this, &TfrmMain::popPasswordListPopup);
    connect(popComments, &QMenu::aboutToShow, this,
            [this] {
                mnuCommentsCopy->setEnabled(reComments->textCursor().hasSelection());
                LaunchinWebBrowser1->setEnabled(!pvlHyperlink->Url.isEmpty());
            });
    connect(LaunchinWebBrowser1, &QAction::triggered, reComments, &TVorrentRichEdit::openCurrentLink);
    connectEditCommands();
}

void TfrmMain::connectEditCommands()
{
    const auto on = [this](QAction* action, void (TfrmMain::*command)()) {
        connect(action, &QAction::triggered, this, command);
    };
    on(mnuEditNew, &TfrmMain::mnuEditNewClick);
    on(tbNewPassword, &TfrmMain::mnuEditNewClick);
    on(mnuEditEdit, &TfrmMain::mnuEditEditClick);
    on(mnuEditPaste, &TfrmMain::mnuEditPasteClick);
    on(tbPaste, &TfrmMain::mnuEditPasteClick);
    on(mnuEditDelete, &TfrmMain::mnuEditDeleteClick);
    on(tbDelete, &TfrmMain::mnuEditDeleteClick);
    on(mnuEditDeleteAll, &TfrmMain::mnuEditDeleteAllClick);
    on(mnuEditCut, &TfrmMain::mnuEditCutClick);
    on(tbCut, &TfrmMain::mnuEditCutClick);
    on(mnuEditCopy, &TfrmMain::mnuEditCopyClick);
    on(tbCopy, &TfrmMain::mnuEditCopyClick);
    on(mnuCopy, &TfrmMain::mnuEditCopyClick);
    on(mnuCommentsCopy, &TfrmMain::mnuEditCopyClick);
    on(mnuEditUsername, &TfrmMain::mnuEditUsernameClick);
    on(mnuUsername, &TfrmMain::mnuEditUsernameClick);
    on(mnuEditClear, &TfrmMain::mnuEditClearClick);
    connect(mnuEditFind, &QAction::triggered, txtFind, &TFindLine::openFind);
    on(mnuFilePrint, &TfrmMain::mnuFilePrintClick);
    on(tbPrint, &TfrmMain::mnuFilePrintClick);
    connect(mnuEdit, &QMenu::aboutToShow, this, &TfrmMain::mnuEditPopup);
    connect(lvPasswords, &TPasswordListView::rowActivated, this, [this] {
        if (lvPasswords->selectedRow() >= 0)
            mnuEditEditClick();
    });
    // The Edit menu's state follows everything its rules look at.
    connect(qApp, &QApplication::focusChanged, this, &TfrmMain::mnuEditPopup);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfrmMain::mnuEditPopup);
    connect(lvPasswords, &TPasswordListView::selectionChanged, this, &TfrmMain::mnuEditPopup);
    // While the notes pane has the focus, Copy copies its selection: the button follows it. A click
    // that selects nothing moves the caret, and the focus may come without either.
    const auto notesSelectionChanged = [this] {
        mnuEditPopup();
        if (!lvPasswords->hasListFocus()) {
            tbCopy->setEnabled(reComments->textCursor().hasSelection());
            tbCut->setEnabled(false);
            tbDelete->setEnabled(false);
        }
    };
    connect(reComments, &QTextEdit::selectionChanged, this, notesSelectionChanged);
    connect(reComments, &QTextEdit::cursorPositionChanged, this, notesSelectionChanged);
    // Back in the list they follow its selection again.
    connect(qApp, &QApplication::focusChanged, this, [this, notesSelectionChanged](QWidget*, QWidget* now) {
        if (now == reComments)
            notesSelectionChanged();
        else if (lvPasswords->hasListFocus())
            setSelectionButtons(lvPasswords->selectedRow() >= 0);
    });
    model_->setEditGuard([this] { return renameAllowed(); });
    model_->setRenameHandler(
        [this](const PasswordRow& row, const std::string& text) { return renameEntry(row, text); });
}

void TfrmMain::makeStyleItems(QAction* list, QAction* details)
{
    auto* styles = new QActionGroup(list->parent());
    for (QAction* style : {list, details}) {
        style->setCheckable(true);
        styles->addAction(style);
    }
    details->setChecked(true);
    connect(list, &QAction::triggered, this, [this] { setViewStyle(false); });
    connect(details, &QAction::triggered, this, [this] { setViewStyle(true); });
}

void TfrmMain::checkStyleItem(QAction* list, QAction* details) const
{
    list->setChecked(!lvPasswords->detailsStyle());
    details->setChecked(lvPasswords->detailsStyle());
}

}  // namespace keystead
