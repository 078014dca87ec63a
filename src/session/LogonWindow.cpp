#include "session/LogonWindow.h"

#include "crypto/SecretMemory.h"
#include "platform/DrawStamp.h"
#include "platform/ErrorDisplay.h"
#include "platform/MessageBox.h"
#include "platform/ModalForm.h"
#include "platform/PasswordMask.h"
#include "platform/TextConversion.h"
#include "session/LogonCheck.h"
#include "session/NewUser.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSeal.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace keystead {

namespace {

constexpr char kOptions[] = "Options";
constexpr char kTag[] = "Tag";

}  // namespace

LogonWindow::LogonWindow(SessionState& session, std::filesystem::path storeFile, QWidget* parent)
    : QDialog(parent),
      cboUsername(new QComboBox(this)),
      txtPassword(new QLineEdit(this)),
      session_(session),
      storeFile_(std::move(storeFile))
{
    cboUsername->setObjectName(QStringLiteral("cboUsername"));
    cboUsername->setEditable(true);
    // A typed name must not join the list: the list shows the users the store holds.
    cboUsername->setInsertPolicy(QComboBox::NoInsert);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    maskWithStars(*txtPassword);
    cboUsername->view()->installEventFilter(this);
    WatchDrawing(*this, "logon");
}

void LogonWindow::fillFromStore()
{
    const auto store = RegistryStore::OpenFile(storeFile_);
    session_.RememberLastUsername = store->ReadBool(kOptions, "UseLastUsername", false);
    for (const std::string& user : store->readUsers())
        cboUsername->addItem(toQString(user));
    // The name box starts with the remembered name or empty, never with the first user listed.
    cboUsername->setEditText(
        session_.RememberLastUsername ? toQString(store->ReadString(kOptions, "LastUsername", "")) : QString());
}

void LogonWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (trimmedBytes(cboUsername->currentText()).empty())
        cboUsername->setFocus();
    else
        txtPassword->setFocus();
}

// Escape has no action here: it neither closes the window nor forgets the remembered name.
void LogonWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Enter in the open list of names takes the highlighted name and logs on with it, as Enter in
// the name box does once the name is typed.
bool LogonWindow::eventFilter(QObject* watched, QEvent* event)
{
    QAbstractItemView* names = cboUsername->view();
    if (watched != names || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter || !names->currentIndex().isValid())
        return QDialog::eventFilter(watched, event);
    cboUsername->setCurrentIndex(names->currentIndex().row());
    cboUsername->hidePopup();
    if (!key.isAutoRepeat())
        runLogonCheck();
    return true;
}

void LogonWindow::runLogonCheck()
{
    runGuarded(this, [this] { logonCheck(); });
}

void LogonWindow::logonCheck()
{
    const std::string name = trimmedBytes(cboUsername->currentText());
    const SecretText password(trimmedBytes(txtPassword->text()));
    const auto store = RegistryStore::OpenFile(storeFile_);
    StampNow("logon", "check begun");
    const auto refusal = CheckLogon(*store, name, password.get(), Diamond1);
    StampNow("logon", "check done");
    if (refusal && refusal->message == kUnknownUserText) {
        if (askYesNo(this, toQString(kUnknownUserText)))
            openNewUser();
        return;
    }
    if (refusal) {
        QWidget& field = refusal->input == LogonInput::Username ? static_cast<QWidget&>(*cboUsername)
                                                                : static_cast<QWidget&>(*txtPassword);
        refuseInput(field, toQString(refusal->message));
        return;
    }
    session_.CurrentUsername = name;
    session_.LogonPassword = password.get();
    session_.Seal = OpenedSeal(*store, name);
    accept();
}

void LogonWindow::openNewUser()
{
    TfrmNewUser frmNewUser(*cboUsername, storeFile_, this);
    // With the new name in place, the password is what the user types next.
    if (showModal(frmNewUser) == QDialog::Accepted)
        txtPassword->setFocus();
}

void LogonWindow::giveUp()
{
    WipeText(session_.LogonPassword);
    exitControl().setProperty(kTag, 1);
    reject();
}

// Every way of closing ends here: a logon, Exit or Cancel, Escape and the window's close.
void LogonWindow::done(int result)
{
    if (session_.RememberLastUsername && exitControl().property(kTag).toInt() != 1)
        runGuarded(this, [this] { writeLastUsername(); });
    QDialog::done(result);
}

void LogonWindow::writeLastUsername() const
{
    RegistryStore::OpenFile(storeFile_)->WriteString(kOptions, "LastUsername", session_.CurrentUsername);
}

}  // namespace keystead
