#include "session/NewUser.h"

#include "platform/AccessibleLabel.h"
#include "platform/CharacterLimitValidator.h"
#include "platform/DialogFont.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/PasswordMask.h"
#include "platform/TextConversion.h"
#include "platform/WindowPlacement.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/StoreSeal.h"
#include "store/StoreSession.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace keystead {

namespace {

constexpr int kNewUserHelpTopic = 2000;
constexpr int kUsernameLimit = 30;
constexpr int kPasswordLimit = 20;

}  // namespace

TfrmNewUser::TfrmNewUser(QComboBox& logonUsername, std::filesystem::path storeFile, QWidget* parent)
    : QDialog(parent),
      txtUsername(new QLineEdit(this)),
      txtPassword(new QLineEdit(this)),
      txtVerify(new QLineEdit(this)),
      cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)),
      logonUsername_(logonUsername),
      storeFile_(std::move(storeFile))
{
    setObjectName(QStringLiteral("frmNewUser"));
    setWindowTitle(QStringLiteral("Create New User"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);
    buildControls();
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDoneClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });

    txtUsername->setText(toQString(trimmedBytes(logonUsername_.currentText())));
    centerOnScreen(*this);
}

void TfrmNewUser::buildControls()
{
    setFixedSize(273, 136);
    const auto addLabel = [this](const QString& text, int top, QLineEdit& edit) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(0, top - 2, 97, 21);
        tieLabel(*label, edit);
    };
    const auto placeEdit = [this](QLineEdit& edit, const char* name, int top, int limit) {
        edit.setObjectName(QLatin1String(name));
        edit.setGeometry(104, top, 153, 21);
        edit.setValidator(new CharacterLimitValidator(limit, &edit));
    };
    addLabel(QStringLiteral("Username:"), 17, *txtUsername);
    addLabel(QStringLiteral("Password:"), 41, *txtPassword);
    addLabel(QStringLiteral("Verify Password:"), 65, *txtVerify);
    placeEdit(*txtUsername, "txtUsername", 16, kUsernameLimit);
    placeEdit(*txtPassword, "txtPassword", 40, kPasswordLimit);
    placeEdit(*txtVerify, "txtVerify", 64, kPasswordLimit);
    maskWithStars(*txtPassword);
    maskWithStars(*txtVerify);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 94, 257, 2);

    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setGeometry(104, 104, 73, 25);
    cmdDone->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(184, 104, 73, 25);

    setTabOrder(txtUsername, txtPassword);
    setTabOrder(txtPassword, txtVerify);
    setTabOrder(txtVerify, cmdDone);
    setTabOrder(cmdDone, cmdCancel);
}

void TfrmNewUser::cmdDoneClick()
{
    runGuarded(this, [this] { doneCheck(); });
}

void TfrmNewUser::doneCheck()
{
    const std::string name = trimmedBytes(txtUsername->text());
    const std::string password = trimmedBytes(txtPassword->text());
    const std::string verify = trimmedBytes(txtVerify->text());
    if (name.empty())
        return refuseInput(*txtUsername, QStringLiteral("You must enter a new username."));
    if (!RegistryStore::isAcceptableUserName(name))
        return refuseInput(*txtUsername, toQString(RegistryStore::kUnacceptableUserNameText));
    if (password.empty())
        return refuseInput(*txtPassword, QStringLiteral("You must enter a password."));
    if (verify.empty())
        return refuseInput(*txtVerify, QStringLiteral("You must verify the password."));
    if (verify != password)
        return refuseInput(*txtVerify, QStringLiteral("The password and verify password do not match."));
    if (RegistryStore::OpenFile(storeFile_)->UserExists(name))
        return refuseInput(*txtUsername, toQString(RegistryStore::kUserExistsText));
    if (!createUser(name, password)) {
        showWarning(this, QStringLiteral("Error: The new username could not be created in the registry."));
        reject();
        return;
    }
    // The list is not refilled: it shows the new user from the next start on.
    logonUsername_.setEditText(toQString(name));
    accept();
}

// The new section holds only MainPassword: the user's name encrypted under the password.
bool TfrmNewUser::createUser(const std::string& name, const std::string& password)
{
    Diamond1.SetKey(password);
    const std::string mainPassword = Diamond1.EncryptToCipherString(name);
    try {
        // The new section is sealed from its creation: never a moment open in the file.
        const auto store = RegistryStore::OpenFile(storeFile_);
        StoreSession session(*store);
        store->CreateUser(name, mainPassword);
        SealUser(*store, name, password);
        session.close();
        return true;
    } catch (const KeysteadError&) {
        return false;
    }
}

bool TfrmNewUser::FormKeyUp(const QKeyEvent& key)
{
    return showHelpOnF1(*this, key, kNewUserHelpTopic);
}

}  // namespace keystead
