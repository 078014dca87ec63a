#include "exchange/Import.h"

#include "exchange/ExportFile.h"
#include "platform/AccessibleLabel.h"
#include "platform/DialogFont.h"
#include "platform/DisabledWindow.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/PasswordMask.h"
#include "platform/Progress.h"
#include "platform/ProgressStep.h"
#include "platform/TextConversion.h"
#include "platform/WaitCursor.h"
#include "platform/WhatsThis.h"
#include "platform/WindowPlacement.h"
#include "store/KeysteadError.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace keystead {

namespace {

constexpr int kImportHelpTopic = 7000;

}  // namespace

TfrmImport::TfrmImport(SessionState& session, RegistryStore& store, std::filesystem::path file,
                       std::function<void()> loadPasswordList, QWidget* parent)
    : QDialog(parent),
      Label3(new QLabel(QStringLiteral("Enter the Password that was used to create this export file:"), this)),
      Label2(new QLabel(QStringLiteral("Password:"), this)),
      txtPassword(new QLineEdit(this)),
      GroupBox1(new QGroupBox(QStringLiteral("Password Integration:"), this)),
      optAdd(new QRadioButton(QStringLiteral("Add to the existing password list"), GroupBox1)),
      optOverwrite(new QRadioButton(QStringLiteral("Overwrite the existing password list"), GroupBox1)),
      cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)),
      session_(session),
      store_(store),
      file_(std::move(file)),
      loadPasswordList_(std::move(loadPasswordList))
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);
    buildControls();
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDoneClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });
    centerOnScreen(*this);
}

void TfrmImport::buildControls()
{
    setFixedSize(281, 178);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setGeometry(12, 8, 257, 30);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setGeometry(12, 44, 60, 21);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setGeometry(78, 44, 191, 21);
    setHelpContext(*txtPassword, 7001);
    maskWithStars(*txtPassword);
    tieLabel(*Label2, *txtPassword);

    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(12, 74, 257, 64);
    optAdd->setObjectName(QStringLiteral("optAdd"));
    optAdd->setGeometry(10, 18, 240, 20);
    setHelpContext(*optAdd, 7002);
    optAdd->setChecked(true);
    optOverwrite->setObjectName(QStringLiteral("optOverwrite"));
    optOverwrite->setGeometry(10, 38, 240, 20);
    setHelpContext(*optOverwrite, 7003);

    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setDefault(true);
    cmdDone->setGeometry(116, 146, 73, 25);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(196, 146, 73, 25);
}

void TfrmImport::cmdDoneClick()
{
    // The two refusals leave the dialog open with its contents for another try; any other
    // failure (a file that cannot be read, the store) goes to the general error display.
    try {
        importFile();
    } catch (const std::exception& error) {
        const std::string_view text = error.what();
        if (text == kWrongFilePasswordText)
            return refuseInput(*txtPassword, toQString(text));
        if (text == kCorruptListText)
            return showWarning(this, toQString(text));
        return showError(this, error.what());
    }
    // The import is committed: the dialog closes even when the list cannot be read again.
    runGuarded(this, [this] {
        const WaitCursor hourglass;
        loadPasswordList_();
    });
    accept();
}

void TfrmImport::importFile()
{
    const WaitCursor hourglass;
    const DisabledWindow disabled(*this);
    // The progress window comes once the whole file has passed its checks.
    std::unique_ptr<TfrmProgress> frmProgress;
    ImportExportFile(store_, session_, file_, toBytes(txtPassword->text()),
                     optOverwrite->isChecked() ? ImportMode::Overwrite : ImportMode::Add,
                     showProgressFromFirstEntry(frmProgress, QStringLiteral("Importing..."), truncatedProgressStep));
}

bool TfrmImport::FormKeyUp(const QKeyEvent& key)
{
    return showHelpOnF1(*this, key, kImportHelpTopic);
}

}  // namespace keystead
