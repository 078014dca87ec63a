#include "mainwindow/Main.h"

#include "entries/EditPass.h"
#include "exchange/ExportCommands.h"
#include "entries/NewPass.h"
#include "desktop/ErrorDisplay.h"
#include "desktop/HelpWindow.h"
#include "desktop/HelpMenu.h"
#include "desktop/KeyPreview.h"
#include "desktop/MessageBox.h"
#include "desktop/ModalForm.h"
#include "desktop/ProtectList.h"
#include "desktop/SuspendedUpdates.h"
#include "desktop/pvlUrl.h"
#include "desktop/TextConversion.h"
#include "desktop/WhatsThis.h"
#include "desktop/WindowPlacement.h"
#include "desktop/WaitCursor.h"
#include "exchange/Print.h"
#include "mainwindow/PasswordListModel.h"
#include "store/PasswordListRules.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickViewOpener.h"
#include "store/RegistryStore.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMimeData>
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

constexpr int kMainHelpTopic = 3000;
constexpr int kMinimumListHeight = 30;

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

std::string folderOf(const std::string& programFile)
{
    const QString folder = QFileInfo(QFile::decodeName(programFile.c_str())).absolutePath();
    return QFile::encodeName(QDir::toNativeSeparators(folder) + QDir::separator()).toStdString();
}

bool clipboardHoldsText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
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

// Taken from the system's short date format ("dd/MM/yyyy", "d.M.yy").
char SystemDateSeparator()
{
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c.unicode() < 128)
            return static_cast<char>(c.unicode());
    return '/';
}

TfrmMain::TfrmMain(SessionState& session, const std::filesystem::path& storeFile, QWidget* parent, Clock clock)
    : QMainWindow(parent), session_(session), store_(RegistryStore::OpenFile(storeFile)), clock_(clock),
      model_(new PasswordListModel(this)),
      exportCommands_(std::make_unique<ExportCommands>(*this, session_, *store_, settings_.autoExportPath))
{
    setObjectName(QStringLiteral("frmMain"));
    buildControls();
    buildToolBar();
    buildMenus();
    buildPopupMenus();
    connectFileCommands();
    FormCreate();
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });
    auto* quickView = new TQuickViewOpener(session_, *store_, *this, *lvPasswords, *this);
    connect(mnuViewQuickview, &QAction::triggered, quickView, &TQuickViewOpener::mnuViewQuickviewClick);
}

TfrmMain::~TfrmMain()
{
    // The controls go after this object has ceased to be a main window, and their focus changes
    // must not reach it then.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

void TfrmMain::buildControls()
{
    lvPasswords = new TPasswordListView(*model_, this);
    lvPasswords->setMinimumHeight(kMinimumListHeight);

    reComments = new TVorrentRichEdit(this);
    reComments->setObjectName(QStringLiteral("reComments"));
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
    sptMainSplitter->addWidget(lvPasswords);
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
    mnuFilePassword = makeAction(this, "mnuFilePassword", QStringLiteral("Change Logon Password..."));
    mnuFilePrint = makeAction(this, "mnuFilePrint", QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileExit = makeAction(this, "mnuFileExit", QStringLiteral("E&xit"));
    mnuFile->addAction(mnuFileExport);
    mnuFile->addAction(mnuFileImport);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFilePassword);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFilePrint);
    mnuFile->addSeparator();
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
    for (QAction* item : {mnuEditCut, mnuEditUsername, mnuEditCopy, mnuEditPaste, mnuEditDelete, mnuEditDeleteAll})
        mnuEdit->addAction(item);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditNew);
    mnuEdit->addAction(mnuEditEdit);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditClear);
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
    // Qt has already flipped the check mark; the toggle decides the state itself.
    connect(mnuViewTop, &QAction::triggered, this, [this] {
        mnuViewTop->setChecked(!mnuViewTop->isChecked());
        mnuViewTopClick();
    });
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
    connect(LaunchinWebBrowser1, &QAction::triggered, this,
            [this] { runGuarded(this, [this] { pvlHyperlink->LaunchUrl(); }); });
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
    connect(qApp, &QApplication::focusChanged, this, [this, notesSelectionChanged](QWidget*, QWidget* now) {
        if (now == reComments)
            notesSelectionChanged();
    });
    model_->setEditGuard([this] { return renameAllowed(); });
    model_->setRenameHandler(
        [this](const PasswordRow& row, const std::string& text) { return renameEntry(row, text); });
}

// ---- Creation -------------------------------------------------------------------------------

void TfrmMain::FormCreate()
{
    programFolder_ = folderOf(session_.ProgramExeName.empty()
                                  ? QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()
                                  : session_.ProgramExeName);
    bool detailsStyle = true;
    std::string lastUsedText;
    dateSeparator_ = SystemDateSeparator();
    today_ = clock_.today();
    {
        StoreSession session(*store_);
        readGeometry();
        session_.PasswordCount = store_->ReadInteger(session_.CurrentUsername, "TotalPasswords", 0);
        settings_ = ReadMainSettings(*store_, session_.CurrentUsername, programFolder_);
        detailsStyle = ReadDetailsViewStyle(*store_);
        lastUsedText =
            store_->ReadString(session_.CurrentUsername, "LastUsed", FormatShortDate(today_, dateSeparator_));
        session.close();
    }
    session_.ShowPasswordsOn = settings_.showPasswords;
    if (settings_.alwaysOnTop)
        mnuViewTopClick();
    lvPasswords->setGridLines(settings_.showGridlines);
    checkAutoExportPath();
    applyFonts();
    reComments->setUrlColor(settings_.urlColor);
    lvPasswords->setDetailsStyle(detailsStyle);
    setShowPasswordsControls();
    lastUsed_ = ParseShortDate(lastUsedText).value_or(today_);
    LoadPasswordList();
    session_.FirstLoadDone = true;
    setWindowTitle(QStringLiteral("Keystead - ") + toQString(session_.CurrentUsername));
}

void TfrmMain::readGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    const MainGeometry g =
        ReadMainGeometry(*store_, session_.CurrentUsername, screenSize.width(), screenSize.height());
    resize(g.width, g.height);
    move(g.left, g.top);
    ClampFormToScreen(*this);
    for (int column = 0; column < 4; ++column)
        lvPasswords->setColumnWidth(column, g.columnWidths[column]);
    listHeight_ = std::max(g.listHeight, kMinimumListHeight);
}

void TfrmMain::checkAutoExportPath()
{
    if (!settings_.autoExport)
        return;
    // Only a full path names a folder: a bare file name would land wherever the program started.
    const QFileInfo path(toQString(settings_.autoExportPath));
    if (path.isAbsolute() && path.dir().exists())
        return;
    showWarning(this, QStringLiteral("The auto-export path is invalid or missing. The path will be changed to the "
                                     "Keystead application directory. Please make corrections in the Options/Export "
                                     "dialog box."));
    settings_.autoExportPath = programFolder_ + "password.txt";
    runGuarded(this, [this] {
        store_->WriteString(session_.CurrentUsername, "AutoExportPath", settings_.autoExportPath);
    });
}

void TfrmMain::applyFonts()
{
    lvPasswords->setListFont(QFont(toQString(settings_.listFontName), settings_.listFontSize));
    QFont notesFont(toQString(settings_.notesFontName), settings_.notesFontSize);
    reComments->setFont(notesFont);
    reComments->document()->setDefaultFont(notesFont);
}

// ---- The list -------------------------------------------------------------------------------

void TfrmMain::LoadPasswordList()
{
    std::vector<std::string> expired;
    {
        const WaitCursor hourglass;
        {
            const SuspendedUpdates frozen(*lvPasswords);
            StoreSession session(*store_);
            Diamond1.SetKey(session_.LogonPassword);
            const std::optional<int> countdown =
                session_.FirstLoadDone ? std::nullopt : std::optional<int>((today_ - lastUsed_).count());
            // Read before anything is cleared: a read that fails leaves the list as it was.
            PasswordListContent content = ReadPasswordList(*store_, session_, Diamond1,
                                                           {session_.ShowPasswordsOn, settings_.showSystem}, countdown);
            // The days counted down are days up to today: a run that never reaches its close, or a
            // second instance, must not count them again.
            if (countdown)
                store_->WriteString(session_.CurrentUsername, "LastUsed", FormatShortDate(today_, dateSeparator_));
            model_->clear();
            setNotesText({});
            session_.PasswordCount = static_cast<int>(content.rows.size());
            expired = std::move(content.expiredDescriptions);
            model_->setRows(std::move(content.rows), settings_.sortColumn);
            reselect();
            session.close();
        }
        if (lvPasswords->selectedRow() >= 0)
            lvPasswords->scrollToRow(lvPasswords->selectedRow());
        if (session_.PasswordCount == 0 || lvPasswords->selectedRow() < 0)
            setSelectionButtons(false);
        tbPrint->setEnabled(session_.PasswordCount != 0);
        tbExport->setEnabled(session_.PasswordCount != 0);
        sbMessagePanel0->setText(toQString(PasswordCountText(session_.PasswordCount)));
        mnuEditPopup();
    }
    if (!expired.empty())
        showWarning(this, toQString(ExpiredWarningText(expired)));
}

void TfrmMain::reselect()
{
    // Of several rows with the remembered caption, the one added last (the highest number) wins.
    int match = -1;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (model_->row(row).description == session_.ReselectCaption &&
            (match < 0 || model_->row(row).entryNumber > model_->row(match).entryNumber))
            match = row;
    if (match >= 0)
        lvPasswords->selectRow(match);
}

void TfrmMain::lvPasswordsSelectItem()
{
    const int row = lvPasswords->selectedRow();
    if (row < 0) {
        setSelectionButtons(false);
        return;
    }
    runGuarded(this, [&] { showNotes(row); });
    setSelectionButtons(true);
    session_.ReselectCaption = model_->row(row).description;
}

void TfrmMain::showNotes(int row)
{
    setNotesText({});
    reComments->setCurrentCharFormat(QTextCharFormat());
    const int n = model_->row(row).entryNumber;
    StoreSession session(*store_);
    const std::string stored = store_->ReadString(session_.CurrentUsername, "Comments" + std::to_string(n), "");
    session.close();
    const bool plain = session_.ShowPasswordsOn || settings_.showComments;
    reComments->setCommentText(plain ? Diamond1.DecryptCipherString(stored) : stored);
}

std::optional<ListItemTexts> TfrmMain::selectedItem() const
{
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return std::nullopt;
    const PasswordRow& r = model_->row(row);
    return ListItemTexts{r.entryNumber, r.description, r.username, r.password, r.expiration, r.stored};
}

std::string TfrmMain::notesText() const
{
    return reComments->commentText();
}

void TfrmMain::updateSelectedItem(const ListItemTexts& texts)
{
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    model_->setTexts(row, texts.username, texts.password, texts.expiration, texts.stored);
    lvPasswords->selectRow(model_->setDescription(row, texts.caption));
}

void TfrmMain::setNotesText(const std::string& text)
{
    reComments->setCommentText(text);
}

void TfrmMain::setSelectionButtons(bool enabled)
{
    tbCut->setEnabled(enabled);
    tbCopy->setEnabled(enabled);
    tbDelete->setEnabled(enabled);
}

void TfrmMain::mnuFilePrintClick()
{
    if (!ProtectionCheck())
        return;
    std::vector<PrintItem> items;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const PasswordRow& item = model_->row(row);
        items.push_back({item.entryNumber, item.description, item.username, item.password});
    }
    runGuarded(this, [&] { PrintPasswordList(*this, *store_, session_, Diamond1, items, dateSeparator_); });
}

void TfrmMain::lvPasswordsColumnClick(int column)
{
    if (column == settings_.sortColumn || column > 2)
        return;
    const int previous = settings_.sortColumn;
    settings_.sortColumn = column;
    bool stored = false;
    runGuarded(this, [&] {
        StoreSession session(*store_);
        store_->WriteInteger(session_.CurrentUsername, "SortColumn", column);
        LoadPasswordList();
        session.close();
        stored = true;
    });
    // The sort column changes together with its stored value or not at all.
    if (!stored)
        settings_.sortColumn = previous;
}

bool TfrmMain::ProtectionCheck()
{
    if (!settings_.protectToggle || session_.ShowPasswordsOn)
        return true;
    return ProtectPromptPasses(session_, [this] { tbShowPasswords->setChecked(false); }, this);
}

void TfrmMain::mnuViewShowClick()
{
    const bool wasShown = session_.ShowPasswordsOn;
    if (wasShown)
        session_.ShowPasswordsOn = false;
    else if (!settings_.protectToggle || ProtectPromptPasses(session_, [this] { tbShowPasswords->setChecked(false); },
                                                             this))
        session_.ShowPasswordsOn = true;
    setShowPasswordsControls();
    if (session_.ShowPasswordsOn == wasShown)
        return;
    runGuarded(this, [&] {
        StoreSession session(*store_);
        store_->WriteBool(session_.CurrentUsername, "ShowPasswords", session_.ShowPasswordsOn);
        LoadPasswordList();
        session.close();
    });
}

void TfrmMain::setShowPasswordsControls()
{
    tbShowPasswords->setChecked(session_.ShowPasswordsOn);
    mnuViewShow->setText(session_.ShowPasswordsOn ? QStringLiteral("Hide &Passwords") : QStringLiteral("Show &Passwords"));
}

// ---- Entry commands -------------------------------------------------------------------------

void TfrmMain::mnuEditNewClick()
{
    if (!ProtectionCheck())
        return;
    runGuarded(this, [this] {
        TfrmNewPassword form(session_, *store_, *this, this);
        showModal(form);
    });
}

void TfrmMain::mnuEditEditClick()
{
    lvPasswords->endEditing();
    if (!ProtectionCheck() || lvPasswords->selectedRow() < 0)
        return;
    runGuarded(this, [this] {
        TfrmEditPassword form(session_, *store_, *this, this);
        showModal(form);
    });
}

void TfrmMain::mnuEditPasteClick()
{
    if (!clipboardHoldsText() || !ProtectionCheck())
        return;
    session_.PasteAsNewPending = true;
    runGuarded(this, [this] {
        TfrmNewPassword form(session_, *store_, *this, this);
        showModal(form);
    });
    session_.PasteAsNewPending = false;
}

void TfrmMain::mnuEditDeleteClick()
{
    lvPasswords->endEditing();
    const bool passed = CutPromptPassed || ProtectionCheck();
    CutPromptPassed = false;
    if (!passed || lvPasswords->selectedRow() < 0)
        return;
    if (settings_.deleteWarning && !askYesNo(this, QStringLiteral("Are you sure you want to delete this password?")))
        return;
    // Taken only now: while the question was open the list may have changed under it.
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    // The row displayed after the first one, or else the one just above, is selected afterwards.
    const int neighbour = row == 0 ? 1 : row - 1;
    const std::string nextCaption = neighbour < model_->rowCount() ? model_->row(neighbour).description : "";
    const PasswordRow seen = model_->row(row);
    runWriting([&] {
        StoreSession session(*store_);
        EntryStore(*store_, session_).remove(seen.entryNumber, seen.stored);
        if (session_.PasswordCount > 0)
            session_.ReselectCaption = nextCaption;
        LoadPasswordList();
        session.close();
    });
}

void TfrmMain::mnuEditDeleteAllClick()
{
    if (!ProtectionCheck())
        return;
    const MessageRequest question{this, QStringLiteral("Are you sure you want to delete all passwords?"),
                                  MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
    if (showMessageBox(question) != MessageResult::Yes)
        return;
    runWriting([this] {
        StoreSession session(*store_);
        EntryStore entries(*store_, session_);
        // All the passwords the user agreed to delete are the ones the list shows.
        if (entries.readAll() != model_->storedEntries())
            throw EntryChangedError();
        entries.removeAll();
        LoadPasswordList();
        session.close();
    });
}

void TfrmMain::mnuEditCutClick()
{
    lvPasswords->endEditing();
    const bool prompts = settings_.protectToggle && !session_.ShowPasswordsOn;
    if (!ProtectionCheck())
        return;
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    bool copied = false;
    runWriting([&] {
        QGuiApplication::clipboard()->setText(toQString(decryptedValue(&StoredEntry::password, row)));
        copied = true;
    });
    if (!copied)
        return;
    CutPromptPassed = prompts;
    mnuEditDeleteClick();
}

void TfrmMain::mnuEditCopyClick()
{
    if (!ProtectionCheck())
        return;
    if (!lvPasswords->hasListFocus()) {
        // With nothing selected the clipboard keeps what it holds.
        const QString selected = reComments->selectedCommentText();
        if (!selected.isEmpty())
            QGuiApplication::clipboard()->setText(selected);
        return;
    }
    copyToClipboard(&StoredEntry::password);
}

void TfrmMain::mnuEditUsernameClick()
{
    if (ProtectionCheck())
        copyToClipboard(&StoredEntry::username);
}

void TfrmMain::mnuEditClearClick()
{
    QGuiApplication::clipboard()->clear();
}

void TfrmMain::copyToClipboard(std::string StoredEntry::*value)
{
    lvPasswords->endEditing();
    const int row = lvPasswords->selectedRow();
    if (row < 0)
        return;
    runWriting([&] { QGuiApplication::clipboard()->setText(toQString(decryptedValue(value, row))); });
}

std::string TfrmMain::decryptedValue(std::string StoredEntry::*value, int row)
{
    const PasswordRow& seen = model_->row(row);
    StoreSession session(*store_);
    EntryStore(*store_, session_).checkUnchanged(seen.entryNumber, seen.stored);
    session.close();
    Diamond1.SetKey(session_.LogonPassword);
    return Diamond1.DecryptCipherString(seen.stored.*value);
}

bool TfrmMain::renameAllowed() const
{
    return session_.ShowPasswordsOn && !session_.QuickViewOpen;
}

std::optional<std::string> TfrmMain::renameEntry(const PasswordRow& row, const std::string& description)
{
    std::optional<std::string> system;
    try {
        StoreSession session(*store_);
        Diamond1.SetKey(session_.LogonPassword);
        system = EntryStore(*store_, session_).rename(Diamond1, row.entryNumber, description, row.stored);
        session.close();
        session_.ReselectCaption = description;
    } catch (const EntryChangedError& changed) {
        // The list cannot be refilled while its editor is still closing.
        QMetaObject::invokeMethod(
            this, [this, changed] { reloadChangedList(changed); }, Qt::QueuedConnection);
    } catch (const std::exception& error) {
        showError(this, error.what());
    }
    return system;
}

void TfrmMain::runWriting(const std::function<void()>& work)
{
    try {
        work();
    } catch (const EntryChangedError& changed) {
        reloadChangedList(changed);
    } catch (const std::exception& error) {
        showError(this, error.what());
        runGuarded(this, [this] { LoadPasswordList(); });
    }
}

// Nothing was changed: the list is brought up to date first, so that the user can try again
// on what the message says is there.
void TfrmMain::reloadChangedList(const EntryChangedError& changed)
{
    runGuarded(this, [this] { LoadPasswordList(); });
    showWarning(this, toQString(changed.what()));
}

void TfrmMain::mnuEditPopup()
{
    const bool listFocused = lvPasswords->hasListFocus();
    const bool rowSelected = lvPasswords->selectedRow() >= 0;
    const bool onRow = listFocused && rowSelected;
    mnuEditCopy->setText(listFocused ? QStringLiteral("&Copy Password") : QStringLiteral("&Copy"));
    mnuEditCut->setEnabled(onRow);
    mnuEditCopy->setEnabled(listFocused ? rowSelected : reComments->textCursor().hasSelection());
    mnuEditUsername->setEnabled(onRow);
    mnuEditDelete->setEnabled(onRow);
    mnuEditEdit->setEnabled(onRow);
    mnuEditPaste->setEnabled(clipboardHoldsText());
    mnuEditDeleteAll->setEnabled(session_.PasswordCount != 0);
}

void TfrmMain::popPasswordListPopup()
{
    const bool rowSelected = lvPasswords->selectedRow() >= 0;
    for (QAction* item : {mnuCopy, mnuUsername, tbCut, tbCopy, tbDelete})
        item->setEnabled(rowSelected);
}

// ---- View -----------------------------------------------------------------------------------

void TfrmMain::setViewStyle(bool details)
{
    if (ProtectionCheck())
        lvPasswords->setDetailsStyle(details);
}

void TfrmMain::tbViewStyleClick()
{
    setViewStyle(!lvPasswords->detailsStyle());
}

void TfrmMain::mnuViewTopClick()
{
    const bool onTop = !mnuViewTop->isChecked();
    mnuViewTop->setChecked(onTop);
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown)
        show();
}

bool TfrmMain::alwaysOnTop() const
{
    return mnuViewTop->isChecked();
}

void TfrmMain::mnuFilePopup()
{
    mnuFileExport->setEnabled(session_.PasswordCount != 0);
    mnuFilePrint->setEnabled(session_.PasswordCount != 0);
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

void TfrmMain::mnuViewPopup()
{
    checkStyleItem(mnuViewList, mnuViewDetail);
    mnuViewQuickview->setEnabled(!session_.QuickViewOpen && lvPasswords->selectedRow() >= 0 &&
                                 !lvPasswords->isEditing() && lvPasswords->hasListFocus() &&
                                 (!settings_.protectToggle || session_.ShowPasswordsOn));
}

// ---- Keys, help, closing --------------------------------------------------------------------

bool TfrmMain::listKeyPress(QKeyEvent& key)
{
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter || !lvPasswords->hasListFocus() || lvPasswords->isEditing() || lvPasswords->selectedRow() < 0)
        return false;
    mnuEditEditClick();
    return true;
}

bool TfrmMain::FormKeyUp(QKeyEvent& key)
{
    if (key.type() == QEvent::KeyPress)
        return listKeyPress(key);
    if (key.type() != QEvent::KeyRelease || key.isAutoRepeat())
        return false;
    if (key.key() == Qt::Key_Escape) {
        showMinimized();
        return true;
    }
    if (key.key() == Qt::Key_F1) {
        showHelpContents();
        return true;
    }
    return false;
}

void TfrmMain::showHelpContents()
{
    ShowHelpTopic(*this, kMainHelpTopic);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // A splitter shares out sizes set before it is shown; the list height is exact only now.
    const int total = sptMainSplitter->height() - sptMainSplitter->handleWidth();
    sptMainSplitter->setSizes({listHeight_, std::max(1, total - listHeight_)});
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TfrmMain::FormClose()
{
    runGuarded(this, [this] {
        const std::string& user = session_.CurrentUsername;
        StoreSession session(*store_);
        store_->WriteInteger(user, "MainWindowLeft", pos().x());
        store_->WriteInteger(user, "MainWindowTop", pos().y());
        store_->WriteInteger(user, "MainWindowWidth", width());
        store_->WriteInteger(user, "MainWindowHeight", height());
        for (int column = 0; column < 4; ++column)
            store_->WriteInteger(user, "Column" + std::to_string(column + 1) + "Width",
                                 lvPasswords->columnWidth(column));
        store_->WriteInteger("Options", "ViewStyle", lvPasswords->detailsStyle() ? 1 : 0);
        store_->WriteString(user, "LastUsed", FormatShortDate(today_, dateSeparator_));
        store_->WriteInteger(user, "ListHeight", lvPasswords->height());
        store_->WriteBool(user, "AlwaysOnTop", alwaysOnTop());
        session.close();
    });
    if (settings_.clearClipboard)
        QGuiApplication::clipboard()->clear();
    autoExportAtClose();
}

}  // namespace keystead
