#pragma once
// TfrmMain, the program's one main window: the logged-on user's password list, the notes pane,
// the tool bar and menus. Start-up creates it after a successful logon; closing it ends the
// program.

#include "crypto/Diamond.h"
#include "entries/EntryEditTarget.h"
#include "mainwindow/LockTarget.h"
#include "mainwindow/ShortDate.h"
#include "mainwindow/VorrentRichEdit.h"
#include "store/MainSettings.h"

#include <QMainWindow>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace keystead {

class ClipboardCountdown;
class TBackupNotice;
class ExportCommands;
class EntryChangedError;
class PasswordListModel;
struct PasswordListContent;
struct PasswordRow;
struct StoredEntry;
class RegistryStore;
class SessionLock;
class TFindLine;
class TQuickViewOpener;
class TPasswordListView;
class THttpClient;
class TpvlUrl;
struct SessionState;

// The system's date separator, as the short date form of the process uses it.
char SystemDateSeparator();

class TfrmMain : public QMainWindow, public EntryEditTarget, public LockTarget {
    Q_OBJECT

public:
    // Opens the store for the life of the window and runs FormCreate, which may show the start-up
    // warnings. A store that cannot be opened throws KeysteadError.
    TfrmMain(SessionState& session, const std::filesystem::path& storeFile, QWidget* parent = nullptr,
             Clock clock = {});
    ~TfrmMain() override;

    // Controls, named as the program's forms name them.
    QToolBar* tbToolbar;
    QAction* tbNewPassword;
    QAction* tbPrint;
    QAction* tbImport;
    QAction* tbExport;
    QAction* tbCut;
    QAction* tbCopy;
    QAction* tbPaste;
    QAction* tbDelete;
    QAction* tbOptions;
    QAction* tbShowPasswords;
    QToolButton* tbViewStyle;
    TPasswordListView* lvPasswords;
    TFindLine* txtFind;
    QSplitter* sptMainSplitter;
    QWidget* pnlComments;
    TVorrentRichEdit* reComments;
    TpvlUrl* pvlHyperlink;
    THttpClient* httpInternet;
    QLabel* sbMessagePanel0;
    QLabel* sbMessagePanel1;

    QAction* mnuFileExport;
    QAction* mnuFileImport;
    QAction* mnuFileRestore;
    QAction* mnuFilePassword;
    QAction* mnuFilePrint;
    QAction* mnuFileLock;
    QAction* mnuFileExit;
    QAction* mnuEditCut;
    QAction* mnuEditUsername;
    QAction* mnuEditCopy;
    QAction* mnuEditPaste;
    QAction* mnuEditDelete;
    QAction* mnuEditDeleteAll;
    QAction* mnuEditNew;
    QAction* mnuEditEdit;
    QAction* mnuEditClear;
    QAction* mnuEditFind;
    QAction* mnuViewShow;
    QAction* mnuViewQuickview;
    QAction* mnuViewList;
    QAction* mnuViewDetail;
    QAction* mnuViewTop;
    QAction* mnuViewOptions;
    QAction* mnuHelpContents;
    QAction* mnuHelpUsing;
    QAction* mnuHelpCheck;
    QAction* mnuHelpAbout;
    QMenu* mnuFile;
    QMenu* mnuEdit;
    QMenu* mnuView;
    QMenu* mnuHelp;
    QMenu* popPasswordList;
    QMenu* popComments;
    QMenu* popViewStyle;
    PasswordListModel& listModel() const { return *model_; }
    QMenu* popWhatsThis;
    QAction* popViewStyleList;
    QAction* popViewStyleDetail;
    QAction* mnuCopy;
    QAction* mnuUsername;
    QAction* MenuItem1;
    QAction* mnuCommentsCopy;
    QAction* LaunchinWebBrowser1;
    QAction* mnuCommentsWhatsThis;
    QAction* mnuWhatsThis;

    // The one way the list is brought up to date after any change to the entries or to what is shown.
    void LoadPasswordList() override;
    // The guard most commands run first: asks for the logon password while the list is
    // protected and hidden. False: the command does nothing at all.
    bool ProtectionCheck();

    // Entry commands; each does nothing when its guard or its question says no.
    void mnuEditNewClick();
    void mnuEditEditClick();
    void mnuEditPasteClick();
    void mnuEditDeleteClick();
    void mnuEditDeleteAllClick();
    void mnuEditCutClick();
    void mnuEditCopyClick();
    void mnuEditUsernameClick();
    void mnuEditClearClick();
    // The enabling rules of the Edit menu; kept current so that a shortcut of a disabled item
    // does nothing.
    void mnuEditPopup();

    // The File menu's whole-list commands.
    void mnuFileExportClick();
    void mnuFileImportClick();
    void mnuFilePasswordClick();
    // File > "Restore from Backup...": the chosen backup replaces the store, which is backed up
    // first; the list is read again, or the logon window comes back when the restored store no
    // longer opens for this session's user and password.
    void mnuFileRestoreClick();
    // The window closed for a new logon, not for the end of the program.
    bool logonAgain() const { return logonAgain_; }
    ExportCommands& exportCommands() { return *exportCommands_; }
    // File > Print and tbPrint: the list printed in the order and with the texts it shows.
    void mnuFilePrintClick();

    void lvPasswordsColumnClick(int column);
    void lvPasswordsSelectItem();
    void mnuViewShowClick();
    void mnuViewTopClick();
    void setViewStyle(bool details);
    void tbViewStyleClick();

    const MainSettings& settings() const override { return settings_; }
    TDiamond& mainCipher() override { return Diamond1; }
    std::optional<ListItemTexts> selectedItem() const override;
    std::string notesText() const override;
    void updateSelectedItem(const ListItemTexts& texts) override;
    void setNotesText(const std::string& text) override;

    void forgetEntryTexts() override;
    void readEntriesAgain() override;
    void promptCancelled() override;

    RegistryStore& store() { return *store_; }
    // The automatic backups this window runs.
    TBackupNotice& backupNotice() { return *backupNotice_; }
    bool alwaysOnTop() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static constexpr int kMinimumListHeight = 30;   // the list never gets lower than this

    void buildControls();
    void buildToolBar();
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildHelpMenu();
    void buildPopupMenus();

    void FormCreate();
    void readGeometry();
    void checkAutoExportPath();
    void applyFonts();
    void FormClose();
    void connectFileCommands();
    // The encrypted export to AutoExportPath, when so set and the list has entries.
    void autoExportAtClose();
    void followRestore();
    // Closes the window without writing anything of the user, whom the store may no longer hold.
    void returnToLogon();
    bool FormKeyUp(QKeyEvent& key);

    void connectEditCommands();
    void popPasswordListPopup();
    bool listKeyPress(QKeyEvent& key);
    bool renameAllowed() const;
    std::optional<std::string> renameEntry(const PasswordRow& row, const std::string& description);
    // A value of the row's entry, once the store is seen to still hold that entry.
    std::string decryptedValue(std::string StoredEntry::*value, int row);
    void copyToClipboard(std::string StoredEntry::*value);
    // Copies the value and starts the count that clears it; false when the copy failed.
    bool copySecret(std::string StoredEntry::*value, int row);
    // Runs a command that writes or copies an entry; when it fails the list is read again, so
    // that it shows what the store kept.
    void runWriting(const std::function<void()>& work);
    void reloadChangedList(const EntryChangedError& changed);

    // A reload for another program's change, keeping the selected entry and the scroll position.
    void followStoreChange();
    // Reads the list again and selects that entry, wherever it now stands, at that scroll position.
    void reloadKeeping(const std::optional<StoredEntry>& selected, QPoint place);
    // Fills the list with what a load read, once the store has kept it.
    void showPasswordList(PasswordListContent content);
    void showNotes(int row);
    void setSelectionButtons(bool enabled);
    // The find line above the list, in one panel with it.
    QWidget* buildFindPanel();
    // The status bar's count: all entries, or the shown of all while Find filters the list.
    void showListCount();
    void reselect();
    void setShowPasswordsControls();
    void mnuFilePopup();
    void mnuViewPopup();
    // The List and Details radio items of the View menu and of the view button's menu.
    void makeStyleItems(QAction* list, QAction* details);
    void checkStyleItem(QAction* list, QAction* details) const;
    void showHelpContents();

    SessionState& session_;
    std::unique_ptr<RegistryStore> store_;
    Clock clock_;
    TDiamond Diamond1;
    MainSettings settings_;
    PasswordListModel* model_;
    std::unique_ptr<ExportCommands> exportCommands_;
    ClipboardCountdown* clipboardCountdown_;
    TQuickViewOpener* quickViewOpener_;
    SessionLock* sessionLock_;
    // What the list showed when it was locked, chosen again after the unlock.
    std::optional<StoredEntry> lockedSelection_;
    QPoint lockedScroll_;
    TBackupNotice* backupNotice_;
    QString dlgOpenFileName_;   // the open dialog keeps the last choice for the run
    std::string programFolder_;
    char dateSeparator_ = '/';
    int listHeight_ = 0;   // until the window is first shown and the splitter has its size
    bool shownOnce_ = false;
    bool CutPromptPassed = false;
    bool logonAgain_ = false;
    std::chrono::sys_days today_{};
    std::chrono::sys_days lastUsed_{};
};

}  // namespace keystead
