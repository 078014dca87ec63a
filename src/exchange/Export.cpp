#include "exchange/Export.h"

#include "exchange/ExportCommands.h"
#include "platform/DialogFont.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/MessageBox.h"
#include "platform/WindowPlacement.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace keystead {

namespace {

const QString kPlainWarning = QStringLiteral(
    "Data in a plain text export file is NOT encrypted. If you choose to continue, you should take steps to "
    "securely wipe the export file from your hard disk when you have finished with it.\r\rAre you sure you want "
    "to continue with the export?");

void addRule(QWidget& form, int top)
{
    auto* rule = new QFrame(&form);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, top, form.width() - 16, 2);
}

}  // namespace

TfrmExport::TfrmExport(ExportCommands& commands, QWidget* parent)
    : QDialog(parent),
      optEncrypted(new QRadioButton(QStringLiteral("Encrypted Export File (Recommended)"), this)),
      Label1(new QLabel(QStringLiteral(
                            "Select this option to create a text file with your encrypted data in it. The data in "
                            "this file is protected with the same 128-bit encryption as the information stored in "
                            "the registry. Only encrypted export files can be imported back into Keystead."),
                        this)),
      optPlain(new QRadioButton(QStringLiteral("Plain Text Export File"), this)),
      Label2(new QLabel(QStringLiteral(
                            "Select this option to create a plain text file with your data in it. The data in this "
                            "file is NOT encrypted and can be viewed by anyone who opens the file. Plain text export "
                            "files CANNOT be imported back into Keystead."),
                        this)),
      cmdExport(new QPushButton(QStringLiteral("&Export"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this)),
      commands_(commands)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export Type"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);
    buildControls();
    connect(cmdExport, &QPushButton::clicked, this, [this] { cmdExportClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    centerOnScreen(*this);
}

void TfrmExport::buildControls()
{
    setFixedSize(361, 262);
    QFont bold = font();
    bold.setBold(true);
    const auto place = [&](QRadioButton& choice, const char* name, QLabel& label, const char* labelName, int top) {
        choice.setObjectName(QLatin1String(name));
        choice.setFont(bold);
        choice.setGeometry(12, top, 337, 20);
        label.setObjectName(QLatin1String(labelName));
        label.setWordWrap(true);
        label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label.setGeometry(30, top + 24, 319, 70);
    };
    place(*optEncrypted, "optEncrypted", *Label1, "Label1", 10);
    addRule(*this, 110);
    place(*optPlain, "optPlain", *Label2, "Label2", 120);
    addRule(*this, 220);
    optEncrypted->setChecked(true);

    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdExport->setDefault(true);
    cmdExport->setGeometry(196, 230, 73, 25);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(276, 230, 73, 25);
}

void TfrmExport::cmdExportClick()
{
    if (optPlain->isChecked()) {
        const MessageRequest question{this, kPlainWarning, MessageIcon::Warning, MessageButtons::YesNo,
                                      MessageResult::Yes};
        if (showMessageBox(question) != MessageResult::Yes)
            return;
    }
    // A file that cannot be written is reported and the dialog stays, so that another file can be chosen.
    bool exported = false;
    runGuarded(this, [&] {
        if (optPlain->isChecked())
            commands_.ExportPlain();
        else
            commands_.ExportEncrypted();
        exported = true;
    });
    if (exported)
        accept();
}

}  // namespace keystead
