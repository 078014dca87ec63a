#pragma once
// TfrmExport, "Export Type": the choice between the encrypted export file, which can be imported
// again, and the plain text file, which anyone can read and which is written only after a warning.

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace keystead {

class ExportCommands;

class TfrmExport : public QDialog {
    Q_OBJECT

public:
    TfrmExport(ExportCommands& commands, QWidget* parent);

    QRadioButton* optEncrypted;
    QLabel* Label1;
    QRadioButton* optPlain;
    QLabel* Label2;
    QPushButton* cmdExport;
    QPushButton* cmdCancel;

    void cmdExportClick();

private:
    void buildControls();

    ExportCommands& commands_;
};

}  // namespace keystead
