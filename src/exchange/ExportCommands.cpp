#include "exchange/ExportCommands.h"

#include "exchange/ExportFile.h"
#include "platform/DisabledWindow.h"
#include "platform/FileDialog.h"
#include "platform/Progress.h"
#include "platform/ProgressStep.h"

#include <QFile>

namespace keystead {

namespace {

const QString kTextFilesFilter = QStringLiteral("Text files (*.txt *.TXT)");

// The bar moves by the export's rounded step after each entry.
Progress stepping(TfrmProgress& frmProgress)
{
    return [&frmProgress](int, int total) { frmProgress.stepIt(roundedProgressStep(total)); };
}

}  // namespace

ExportCommands::ExportCommands(QWidget& mainWindow, SessionState& session, RegistryStore& store,
                               const std::string& autoExportPath)
    : mainWindow_(mainWindow), session_(session), store_(store), autoExportPath_(autoExportPath)
{
}

std::optional<std::filesystem::path> ExportCommands::askFileName()
{
    const QString chosen = showFileDialog(
        {&mainWindow_, QStringLiteral("Export Passwords"), kTextFilesFilter, dlgSaveFileName_, true});
    if (chosen.isEmpty())
        return std::nullopt;
    dlgSaveFileName_ = chosen;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

void ExportCommands::ExportEncrypted()
{
    const auto file = AutoExportActive ? std::optional(std::filesystem::path(autoExportPath_)) : askFileName();
    if (!file)
        return;
    const DisabledWindow disabled(mainWindow_);
    TfrmProgress frmProgress;
    frmProgress.showNow();
    WriteEncryptedExport(store_, session_, *file, stepping(frmProgress));
}

void ExportCommands::ExportPlain()
{
    const auto file = askFileName();
    if (!file)
        return;
    TfrmProgress frmProgress;
    frmProgress.showNow();
    WritePlainExport(store_, session_, *file, stepping(frmProgress));
}

}  // namespace keystead
