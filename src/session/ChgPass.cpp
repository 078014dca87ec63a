#include "session/ChgPass.h"

#include "crypto/SecretMemory.h"
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
#include "session/PasswordChange.h"
#include "store/SessionState.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace keystead {

namespace {

constexpr int kChgPassHelpTopic = 8000;

}  // namespace

TfrmChangePassword::TfrmChangePassword(SessionState& session, RegistryStore& store,
                                       std::function<void()> loadPasswordList, QWidget* parent)
    : QDialog(parent),
      txtOld(new QLineEdit(this)),
      txtNew(new QLineEdit(this)),
      txtVerify(new QLineEdit(this)),
      cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)),
      session_(session),
      store_(store),
      loadPasswordList_(std::move(loadPasswordList))
{
    setObjectName(QStringLiteral("frmChangePassword"));
    setWindowTitle(QStringLiteral("New Logon Password"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);
    buildControls();
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDoneClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });
    centerOnScreen(*this);
}

void TfrmChangePassword::buildControls()
{
    setFixedSize(273, 136);
    const auto place = [this](QLineEdit& edit, const char* name, const QString& caption, int top, int context) {
        auto* label = new QLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(0, top - 2, 97, 21);
        setHelpContext(*label, context);
        tieLabel(*label, edit);
        edit.setObjectName(QLatin1String(name));
        edit.setGeometry(104, top, 153, 21);
        setHelpContext(edit, context);
        maskWithStars(edit);
    };
    place(*txtOld, "txtOld", QStringLiteral("Old Password:"), 16, 8001);
    place(*txtNew, "txtNew", QStringLiteral("New Password:"), 40, 8002);
    place(*txtVerify, "txtVerify", QStringLiteral("Verify Password:"), 64, 8003);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 94, 257, 2);

    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setGeometry(104, 104, 73, 25);
    cmdDone->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(184, 104, 73, 25);
}

void TfrmChangePassword::cmdDoneClick()
{
    runGuarded(this, [this] { doneCheck(); });
}

void TfrmChangePassword::doneCheck()
{
    const SecretText oldPassword(trimmedBytes(txtOld->text()));
    const SecretText newPassword(trimmedBytes(txtNew->text()));
    const SecretText verify(trimmedBytes(txtVerify->text()));
    if (const auto refusal =
            CheckPasswordChange(oldPassword.get(), newPassword.get(), verify.get(), session_.LogonPassword)) {
        QLineEdit* const fields[] = {txtOld, txtNew, txtVerify};
        return refuseInput(*fields[static_cast<int>(refusal->input)], toQString(refusal->message));
    }
    changePassword(newPassword.get());
    // The change is committed: the dialog closes even when the list cannot be read again.
    if (session_.PasswordCount > 0)
        runGuarded(this, [this] {
            const WaitCursor hourglass;
            loadPasswordList_();
        });
    accept();
}

void TfrmChangePassword::changePassword(const std::string& newPassword)
{
    const WaitCursor hourglass;
    const DisabledWindow disabled(*this);
    std::unique_ptr<TfrmProgress> frmProgress;
    ChangeLogonPassword(store_, session_, newPassword,
                        showProgressFromFirstEntry(frmProgress, QStringLiteral("Re-encrypting passwords..."),
                                                   truncatedProgressStep));
}

bool TfrmChangePassword::FormKeyUp(const QKeyEvent& key)
{
    return showHelpOnF1(*this, key, kChgPassHelpTopic);
}

}  // namespace keystead
