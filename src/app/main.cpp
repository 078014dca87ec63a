// Keystead: the program's entry. Everything it needs comes from the store in the user's data
// folder; it takes no arguments.

#include "app/LogOnAgain.h"
#include "app/Startup.h"
#include "crypto/SecretMemory.h"
#include "mainwindow/Main.h"
#include "mainwindow/SecretClipboard.h"
#include "platform/ErrorDisplay.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QApplication>
#include <QFile>
#include <QIcon>

#include <malloc.h>

namespace {

// A long list is hundreds of thousands of small texts, and its vectors grow to many megabytes.
// Memory handed back to the system between the logon and the list, or taken as fresh mappings,
// is paid again at a page fault per page, which costs far more on a virtual machine than the
// work that touches it; the heap keeps what it had instead.
void keepHeapMemory()
{
    constexpr int kKept = 256 << 20;
    constexpr int kMoreEachTime = 16 << 20;
    mallopt(M_MMAP_THRESHOLD, kKept);
    mallopt(M_TRIM_THRESHOLD, kKept);
    mallopt(M_TOP_PAD, kMoreEachTime);
}

}  // namespace

int main(int argc, char* argv[])
{
    // Before anything secret is in memory.
    keystead::DisableCoreDumps();
    keepHeapMemory();
    QApplication application(argc, argv);
    const keystead::PrimarySelectionGuard selectionGuard;
    QApplication::setApplicationName(QStringLiteral("Keystead"));
    // Ties the windows to the installed desktop entry, for its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("keystead"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/keystead.png")));

    keystead::LogOnAgain logOnAgain;
    application.installEventFilter(&logOnAgain);
    // A run of the main window ends for a new logon when the user's seal was changed in another
    // window, or when a restored backup no longer holds the user with this password; the next run
    // starts again from the logon window with a fresh session.
    for (;;) {
        keystead::SessionState session;
        keystead::Startup startup(session, keystead::RegistryStore::DefaultFile(),
                                  QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
        const std::unique_ptr<keystead::TfrmMain> frmMain = startup.Execute();
        if (!frmMain)
            return startup.exitCode();
        frmMain->show();
        // The session's logon password and seal key are wiped as they go out of scope.
        const int exitCode = QApplication::exec();
        if (exitCode != keystead::kLogOnAgainExitCode && !frmMain->logonAgain())
            return exitCode;
    }
}
