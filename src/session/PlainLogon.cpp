#include "session/PlainLogon.h"

#include "platform/AccessibleLabel.h"
#include "platform/DialogFont.h"
#include "platform/Picture.h"
#include "platform/WindowPlacement.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace keystead {

namespace {

void addPlainCaption(QWidget& form, const QString& text, QPoint place, QWidget& field)
{
    auto* label = new QLabel(text, &form);
    label->move(place);
    label->adjustSize();
    tieLabel(*label, field);
}

}  // namespace

TfrmPlainLogon::TfrmPlainLogon(SessionState& session, std::filesystem::path storeFile, QWidget* parent)
    : LogonWindow(session, std::move(storeFile), parent),
      imgTitle(new QLabel(this)),
      cmdNewUser(new QPushButton(QStringLiteral("&New User"), this)),
      cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName(QStringLiteral("frmPlainLogon"));
    setWindowTitle(QStringLiteral("Please Logon"));
    useDialogFont(*this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildControls();
    connect(cmdNewUser, &QPushButton::clicked, this, [this] { openNewUser(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { runLogonCheck(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { giveUp(); });
    fillFromStore();
    centerOnScreen(*this);
}

void TfrmPlainLogon::buildControls()
{
    setFixedSize(272, 159);
    imgTitle->setObjectName(QStringLiteral("imgTitle"));
    imgTitle->setPixmap(loadPicture(QStringLiteral("title")));
    imgTitle->setGeometry(0, 0, 275, 50);

    addPlainCaption(*this, QStringLiteral("Username:"), {32, 62}, *cboUsername);
    addPlainCaption(*this, QStringLiteral("Password:"), {32, 88}, *txtPassword);
    cboUsername->setGeometry(96, 60, 137, 22);
    txtPassword->setGeometry(96, 86, 137, 22);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 117, 256, 2);

    cmdNewUser->setObjectName(QStringLiteral("cmdNewUser"));
    cmdNewUser->setGeometry(8, 128, 73, 25);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setGeometry(112, 128, 73, 25);
    cmdDone->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(192, 128, 73, 25);

    setTabOrder(txtPassword, cmdNewUser);
    setTabOrder(cmdNewUser, cmdDone);
    setTabOrder(cmdDone, cmdCancel);
    setTabOrder(cmdCancel, cboUsername);
}

QObject& TfrmPlainLogon::exitControl()
{
    return *cmdCancel;
}

// The title picture is a little wider than the window and is centred on it.
void TfrmPlainLogon::showEvent(QShowEvent* event)
{
    imgTitle->move((width() - imgTitle->width()) / 2, imgTitle->y());
    LogonWindow::showEvent(event);
}

}  // namespace keystead
