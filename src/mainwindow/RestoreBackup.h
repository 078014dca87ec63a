#pragma once
// TfrmRestoreBackup, the dialog of File > "Restore from Backup...": the sound backups of the store
// with their time, size and users; Restore asks once more and closes with the chosen backup.

#include "store/StoreBackups.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace keystead {

class TfrmRestoreBackup : public QDialog {
    Q_OBJECT

public:
    // backups: newest first, as StoreBackups::list gives them; the newest is selected.
    explicit TfrmRestoreBackup(std::vector<BackupInfo> backups, QWidget* parent = nullptr);

    QLabel* lblBackups;
    QTreeWidget* lvBackups;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;

    // Asks to replace the store with the selected backup; Yes closes the dialog with it chosen.
    void cmdRestoreClick();
    // Set once Restore was confirmed.
    const std::optional<std::filesystem::path>& chosenFile() const { return chosen_; }

private:
    void buildControls();
    void fillList();
    int selectedIndex() const;

    std::vector<BackupInfo> backups_;
    std::optional<std::filesystem::path> chosen_;
};

}  // namespace keystead
