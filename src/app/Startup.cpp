#include "app/Startup.h"

#include "crypto/Diamond.h"
#include "mainwindow/BackupNotice.h"
#include "mainwindow/Main.h"
#include "platform/ErrorDisplay.h"
#include "platform/MessageBox.h"
#include "platform/ModalForm.h"
#include "platform/Progress.h"
#include "platform/WaitCursor.h"
#include "session/DamagedStoreOffer.h"
#include "session/Logon.h"
#include "session/PlainLogon.h"
#include "session/ProgramVersion.h"
#include "session/rsFileVersion.h"
#include "store/BackgroundBackup.h"
#include "store/DataUpgrade.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreBackups.h"
#include "store/StoreSeal.h"
#include "store/StoreSession.h"

#include <QProgressBar>

#include <string>

namespace keystead {

namespace {

constexpr int kFailureExitCode = 1;
// From this many entries on, sealing a section shows the progress window.
constexpr int kLongList = 100;

}  // namespace

Startup::Startup(SessionState& session, std::filesystem::path storeFile, std::filesystem::path exeFile)
    : session_(session), storeFile_(std::move(storeFile)), exeFile_(std::move(exeFile))
{
}

std::unique_ptr<TfrmMain> Startup::Execute()
{
    // A store that cannot be opened or written ends the start with its error; the store's
    // transactions leave the file as it was.
    try {
        return start();
    } catch (const std::exception& error) {
        showError(nullptr, error.what());
        exitCode_ = kFailureExitCode;
        return nullptr;
    }
}

std::unique_ptr<TfrmMain> Startup::start()
{
    session_.FancyLogonEnabled = openStoreOrOfferBackup(storeFile_)->ReadBool("Options", "FancyLogon", true);
    // The store as it is before the first write of the run, which the logon may already make; the
    // backup goes on while the logon window is shown. A start that ends waits for it.
    auto startupBackup = std::make_unique<BackgroundBackup>(storeFile_, BackgroundBackup::When::WhenDue);
    if (!logOn())
        return nullptr;
    session_.ProgramExeName = exeFile_.string();
    if (!bringUpToDate())
        return nullptr;
    auto frmMain = std::make_unique<TfrmMain>(session_, storeFile_);
    frmMain->backupNotice().adopt(std::move(startupBackup));
    return frmMain;
}

bool Startup::logOn()
{
    std::unique_ptr<LogonWindow> logonWindow;
    if (session_.FancyLogonEnabled)
        logonWindow = std::make_unique<TfrmLogon>(session_, storeFile_);
    else
        logonWindow = std::make_unique<TfrmPlainLogon>(session_, storeFile_);
    showModal(*logonWindow);
    return !session_.LogonPassword.empty();
}

// Data of a version before 3 is upgraded first, when the user agrees; the version stamp follows.
bool Startup::bringUpToDate()
{
    const bool upgrade = needsUpgradeNow();
    if (upgrade && !askForUpgrade())
        return false;
    upgradeAndStamp(upgrade);
    return true;
}

std::unique_ptr<RegistryStore> Startup::openStore() const
{
    auto store = RegistryStore::OpenFile(storeFile_);
    UseSeal(*store, session_.CurrentUsername, session_.Seal);
    return store;
}

bool Startup::needsUpgradeNow() const
{
    const auto store = openStore();
    return needsUpgrade(store->ReadInteger(session_.CurrentUsername, "MajorVersion", 0),
                        EntryStore(*store, session_).count());
}

bool Startup::askForUpgrade() const
{
    return askYesNo(nullptr, QStringLiteral("Data from your previous version of Keystead must be updated before you "
                                            "can use this new version. Would you like to perform the update now?"));
}

// The seal, the upgrade and the stamp are one transaction: data upgraded without the stamp would
// be encrypted a second time at the next logon.
void Startup::upgradeAndStamp(bool upgrade)
{
    const auto store = openStore();
    StoreSession storeSession(*store);
    sealWhenOpen(*store, EntryStore(*store, session_).count());
    if (upgrade) {
        const WaitCursor busy;
        TfrmProgress frmProgress;
        frmProgress.pbExport->hide();
        frmProgress.setMessage(QStringLiteral("Encrypting descriptions and notes..."));
        frmProgress.showNow();
        TDiamond Diamond1;
        Diamond1.SetKey(session_.LogonPassword);
        upgradeEarlierData(*store, session_.CurrentUsername, Diamond1, {});
    }
    TrsFileVersion loaded;
    loaded.Load(exeFile_);
    const ProgramVersion version = stampedVersion(loaded);
    session_.ProgramVersion = version.text();
    store->WriteInteger(session_.CurrentUsername, "MajorVersion", version.major);
    store->WriteInteger(session_.CurrentUsername, "MinorVersion", version.minor);
    storeSession.close();
    session_.Seal = OpenedSeal(*store, session_.CurrentUsername);
}

// A section written before the seal existed is sealed at its first logon since, under the
// password just typed.
void Startup::sealWhenOpen(RegistryStore& store, int entryCount)
{
    if (IsSealed(store, session_.CurrentUsername))
        return;
    const WaitCursor busy;
    std::unique_ptr<TfrmProgress> frmProgress;
    if (entryCount >= kLongList) {
        frmProgress = std::make_unique<TfrmProgress>();
        frmProgress->pbExport->hide();
        frmProgress->setMessage(QStringLiteral("Sealing your passwords..."));
        frmProgress->showNow();
    }
    SealUser(store, session_.CurrentUsername, session_.LogonPassword);
}

}  // namespace keystead
