#include "desktop/ProtectList.h"

#include "crypto/SecretMemory.h"
#include "platform/MessageBox.h"
#include "platform/ModalForm.h"
#include "platform/PasswordMask.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"
#include "platform/WindowPlacement.h"
#include "store/SessionState.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace keystead {

TfrmProtectList::TfrmProtectList(SessionState& session, std::function<void()> onCancel, QWidget* parent)
    : QDialog(parent), txtPassword(new QLineEdit(this)), cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)), session_(session), onCancel_(std::move(onCancel))
{
    setObjectName(QStringLiteral("frmProtectList"));
    setWindowTitle(QStringLiteral("Enter Password"));
    showCloseBoxOnly(*this);

    auto* picture = new QLabel(this);
    picture->setPixmap(loadPicture(QStringLiteral("prompt-lock")));
    picture->setFixedSize(32, 32);
    auto* lblText = new QLabel(QStringLiteral("Password protection has been enabled for viewing or changing this "
                                              "account's information. Please enter your logon password below to "
                                              "continue:"),
                               this);
    lblText->setWordWrap(true);
    lblText->setFixedWidth(260);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    maskWithStars(*txtPassword);
    txtPassword->setAccessibleName(QStringLiteral("Password"));
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdDone->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(lblText);
    text->addWidget(txtPassword);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDone);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdDone, &QPushButton::clicked, this, &TfrmProtectList::cmdDoneClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmProtectList::cmdCancelClick);
}

void TfrmProtectList::cmdDoneClick()
{
    // The typed password is wiped after the comparison, as the logon password is.
    const SecretText typed(toBytes(txtPassword->text()));
    if (typed.get() == session_.LogonPassword) {
        session_.ProtectPromptPassed = true;
        accept();
        return;
    }
    session_.ProtectPromptPassed = false;
    refuseInput(*txtPassword, QStringLiteral("The password you entered is incorrect. Please re-type it an try again."));
}

void TfrmProtectList::cmdCancelClick()
{
    session_.ProtectPromptPassed = false;
    if (onCancel_)
        onCancel_();
    reject();
}

void TfrmProtectList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centerOnScreen(*this);
    // The prompt may guard the restore of a hidden main window: it comes to the front itself.
    raise();
    activateWindow();
    txtPassword->setFocus();
}

void TfrmProtectList::keyPressEvent(QKeyEvent* event)
{
    // Escape does not cancel the prompt.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ProtectPromptPasses(SessionState& session, std::function<void()> onCancel, QWidget* parent)
{
    TfrmProtectList prompt(session, std::move(onCancel), parent);
    showModal(prompt);
    const bool passed = session.ProtectPromptPassed;
    session.ProtectPromptPassed = false;
    return passed;
}

}  // namespace keystead
