#pragma once
// The program's start: the logon window, the upgrade of data from earlier versions, the version
// stamp, and the main window.

#include <filesystem>
#include <memory>

namespace keystead {

class RegistryStore;

class TfrmMain;
struct SessionState;

class Startup {
public:
    // storeFile: the store to work on; exeFile: the running executable, whose version is stamped.
    Startup(SessionState& session, std::filesystem::path storeFile, std::filesystem::path exeFile);

    // Runs the start up to the main window and returns it, not yet shown; null when the program
    // ends instead, with exitCode() telling how.
    std::unique_ptr<TfrmMain> Execute();
    int exitCode() const { return exitCode_; }

private:
    std::unique_ptr<TfrmMain> start();
    bool logOn();
    bool bringUpToDate();
    bool needsUpgradeNow() const;
    bool askForUpgrade() const;
    void upgradeAndStamp(bool upgrade);
    void sealWhenOpen(RegistryStore& store, int entryCount);
    // The store, with the user's section opened by the logon's seal key.
    std::unique_ptr<RegistryStore> openStore() const;

    SessionState& session_;
    std::filesystem::path storeFile_;
    std::filesystem::path exeFile_;
    int exitCode_ = 0;
};

}  // namespace keystead
