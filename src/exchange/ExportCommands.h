#pragma once
// ExportEncrypted and ExportPlain, the main window's two ways of writing the export file: the
// save dialog "Export Passwords", which keeps the last choice for the run, the progress window,
// and the automatic export at close, which takes its file from the settings without asking.

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace keystead {

class RegistryStore;
struct SessionState;

class ExportCommands {
public:
    // autoExportPath: the main window's setting, read when the automatic export runs.
    ExportCommands(QWidget& mainWindow, SessionState& session, RegistryStore& store,
                   const std::string& autoExportPath);

    // Set by the close handler just before its export; nothing clears it, the program ends.
    bool AutoExportActive = false;

    // Both throw KeysteadError when the file cannot be written, after the main window has been
    // enabled again and the progress window closed; a cancelled dialog changes nothing.
    void ExportEncrypted();
    void ExportPlain();

    const QString& dlgSaveFileName() const { return dlgSaveFileName_; }

private:
    std::optional<std::filesystem::path> askFileName();

    QWidget& mainWindow_;
    SessionState& session_;
    RegistryStore& store_;
    const std::string& autoExportPath_;
    QString dlgSaveFileName_ = QStringLiteral("passwords.txt");
};

}  // namespace keystead
