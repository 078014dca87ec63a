#pragma once
// TfrmImport, "Import": reads an encrypted export file back into the logged-on user's list, added
// after the existing entries or in their place, under the password the file was written with.

#include <QDialog>

#include <filesystem>
#include <functional>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace keystead {

class RegistryStore;
struct SessionState;

class TfrmImport : public QDialog {
    Q_OBJECT

public:
    // file: the name chosen in the open dialog; loadPasswordList brings the main list up to date.
    TfrmImport(SessionState& session, RegistryStore& store, std::filesystem::path file,
               std::function<void()> loadPasswordList, QWidget* parent);

    QLabel* Label3;
    QLabel* Label2;
    QLineEdit* txtPassword;
    QGroupBox* GroupBox1;
    QRadioButton* optAdd;
    QRadioButton* optOverwrite;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

    void cmdDoneClick();

private:
    void buildControls();
    void importFile();
    bool FormKeyUp(const QKeyEvent& key);

    SessionState& session_;
    RegistryStore& store_;
    std::filesystem::path file_;
    std::function<void()> loadPasswordList_;
};

}  // namespace keystead
