#include "mainwindow/Main.h"

#include "desktop/ProtectList.h"
#include "exchange/ExportCommands.h"
#include "exchange/ExportPath.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/ClipboardCountdown.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/OptionsCommand.h"
#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickViewOpener.h"
#include "mainwindow/ScreenLockWatch.h"
#include "mainwindow/SecretClipboard.h"
#include "mainwindow/SessionLock.h"
#include "mainwindow/StoreChangeWatch.h"
#include "mainwindow/TrayMinimize.h"
#include "platform/ErrorDisplay.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/TextConversion.h"
#include "platform/WindowPlacement.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSeal.h"
#include "store/StoreSession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QSplitter>
#include <QToolButton>

namespace keystead {
namespace {

constexpr int kMainHelpTopic = 3000;

// The window's own opening of the store, with the user's section opened by the logon's seal key.
std::unique_ptr<RegistryStore> openUserStore(const std::filesystem::path& storeFile, const SessionState& session)
{
    auto store = RegistryStore::OpenFile(storeFile);
    UseSeal(*store, session.CurrentUsername, session.Seal);
    return store;
}

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
    : QMainWindow(parent), session_(session), store_(openUserStore(storeFile, session)), clock_(clock),
      model_(new PasswordListModel(this)),
      exportCommands_(std::make_unique<ExportCommands>(*this, session_, *store_, settings_.autoExportPath)),
      backupNotice_(new TBackupNotice(*this, storeFile)),
      // The default export folder must be writable; the program's own folder is not once installed.
      programFolder_(storeFile.parent_path().string() + "/")
{
    setObjectName(QStringLiteral("frmMain"));
    buildControls();
    buildToolBar();
    buildMenus();
    buildPopupMenus();
    connectFileCommands();
    FormCreate();
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });
    quickViewOpener_ = new TQuickViewOpener(session_, *store_, *this, *lvPasswords, *this);
    connect(mnuViewQuickview, &QAction::triggered, quickViewOpener_, &TQuickViewOpener::mnuViewQuickviewClick);
    auto* options = new TOptionsCommand(
        session_, *store_, settings_, *lvPasswords, *reComments, [this] { return ProtectionCheck(); },
        [this] { LoadPasswordList(); }, *this);
    connect(mnuViewOptions, &QAction::triggered, options, &TOptionsCommand::mnuViewOptionsClick);
    connect(tbOptions, &QAction::triggered, options, &TOptionsCommand::mnuViewOptionsClick);
    auto* tray = new TTrayMinimize(session_, settings_, *tbShowPasswords, *this);
    clipboardCountdown_ = new ClipboardCountdown(this);
    connect(clipboardCountdown_, &ClipboardCountdown::textChanged, sbMessagePanel1, &QLabel::setText);
    connect(clipboardCountdown_, &ClipboardCountdown::textChanged, tray, &TTrayMinimize::showClipboardCount);
    sessionLock_ = new SessionLock(session_, settings_, *store_, *this, *tray, *this, clock_);
    tray->setSessionLock(*sessionLock_);
    connect(mnuFileLock, &QAction::triggered, sessionLock_, &SessionLock::lock);
    connect(tray->mnuLock, &QAction::triggered, sessionLock_, &SessionLock::lock);
    connect(new ScreenLockWatch(this), &ScreenLockWatch::screenLocked, sessionLock_, &SessionLock::screenLocked);
    new TStoreChangeWatch(
        *store_, *this,
        [this] { return !lvPasswords->isEditing() && !session_.QuickViewOpen && !sessionLock_->locked(); },
        [this] { followStoreChange(); });
}

TfrmMain::~TfrmMain()
{
    // The controls go after this object has ceased to be a main window, and their focus changes
    // must not reach it then.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

// ---- Creation -------------------------------------------------------------------------------

void TfrmMain::FormCreate()
{
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
    if (ExportFolderExists(settings_.autoExportPath))
        return;
    showWarning(this, QStringLiteral("The auto-export path is invalid or missing. The path will be changed to the "
                                     "Keystead application directory. Please make corrections in the Options/Export "
                                     "dialog box."));
    settings_.autoExportPath = programFolder_ + ReplacedExportFileName(session_.CurrentUsername);
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
    bool stored = false;
    runGuarded(this, [&] {
        StoreSession session(*store_);
        store_->WriteBool(session_.CurrentUsername, "ShowPasswords", session_.ShowPasswordsOn);
        LoadPasswordList();
        session.close();
        stored = true;
    });
    // The list still shows what it showed: the toggle goes back with it, or every later command
    // would take the list's texts for the other kind.
    if (!stored) {
        session_.ShowPasswordsOn = wasShown;
        setShowPasswordsControls();
    }
}

void TfrmMain::setShowPasswordsControls()
{
    tbShowPasswords->setChecked(session_.ShowPasswordsOn);
    mnuViewShow->setText(session_.ShowPasswordsOn ? QStringLiteral("Hide &Passwords") : QStringLiteral("Show &Passwords"));
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
    // The window's state decides, not the check mark, which a click on the item has flipped already.
    const bool onTop = !windowFlags().testFlag(Qt::WindowStaysOnTopHint);
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
    // Escape in the find line closes the find line alone; the window stays.
    if (key.key() == Qt::Key_Escape && focusWidget() != txtFind) {
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
    if (!logonAgain_)
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
        ClearOwnClipboard();
    autoExportAtClose();
}

}  // namespace keystead
