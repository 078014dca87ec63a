#include "session/Logon.h"

#include "platform/AccessibleLabel.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/Picture.h"
#include "platform/WindowPlacement.h"
#include "session/VorrentImage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace keystead {

namespace {

constexpr int kLogonHelpTopic = 1000;

QPixmap picture(const char* name)
{
    return loadPicture(QLatin1String(name));
}

// The captions' light grey, which the picture buttons' focus frame shares.
void paintLight(QWidget& control)
{
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, QColor(210, 210, 210));
    control.setPalette(palette);
}

// The fields keep the light colours they have on a light desktop: on the window's fixed dark
// picture, fields in a dark desktop's colours would lose their edges.
void paintLightField(QWidget& field)
{
    QPalette palette = field.palette();
    for (const auto& [role, colour] : {std::pair{QPalette::Base, QColor(Qt::white)}, {QPalette::Text, QColor(Qt::black)},
                                       {QPalette::Button, QColor(230, 230, 230)},
                                       {QPalette::ButtonText, QColor(Qt::black)}, {QPalette::Window, QColor(230, 230, 230)},
                                       {QPalette::WindowText, QColor(Qt::black)}})
        palette.setColor(role, colour);
    field.setPalette(palette);
}

void addCaption(QWidget& form, const QString& text, QPoint place, QWidget& field)
{
    auto* label = new QLabel(text, &form);
    QFont font = label->font();
    font.setPixelSize(12);
    label->setFont(font);
    paintLight(*label);
    label->move(place);
    label->adjustSize();
    tieLabel(*label, field);
}

}  // namespace

TfrmLogon::TfrmLogon(SessionState& session, std::filesystem::path storeFile, QWidget* parent)
    : LogonWindow(session, std::move(storeFile), parent),
      Image1(new QLabel(this)),
      imgNew(new TVorrentImage(this)),
      imgLogon(new TVorrentImage(this)),
      imgExit(new TVorrentImage(this)),
      imgNewOn(picture("new-user-on")),
      imgNewOff(picture("new-user-off")),
      imgLogonOn(picture("logon-on")),
      imgLogonOff(picture("logon-off")),
      imgExitOn(picture("exit-on")),
      imgExitOff(picture("exit-off"))
{
    setObjectName(QStringLiteral("frmLogon"));
    setWindowTitle(QStringLiteral("Logon to Keystead"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    new KeyPreview(*this, [this](QKeyEvent& key) {
        return key.type() == QEvent::KeyPress ? FormKeyPress(key) : FormKeyUp(key);
    });
    fillFromStore();
    centerOnScreen(*this);
}

void TfrmLogon::buildControls()
{
    setFixedSize(270, 230);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(picture("logon-background"));
    Image1->setScaledContents(true);
    Image1->setGeometry(rect());
    Image1->lower();

    addCaption(*this, QStringLiteral("Username:"), {24, 84}, *cboUsername);
    addCaption(*this, QStringLiteral("Password:"), {24, 128}, *txtPassword);
    cboUsername->setGeometry(24, 100, 113, 22);
    txtPassword->setGeometry(24, 144, 113, 22);
    for (QWidget* field : {static_cast<QWidget*>(cboUsername), static_cast<QWidget*>(txtPassword)})
        paintLightField(*field);

    placeHoverButton(*imgNew, "imgNew", {24, 176}, imgNewOn, imgNewOff);
    placeHoverButton(*imgLogon, "imgLogon", {134, 176}, imgLogonOn, imgLogonOff);
    placeHoverButton(*imgExit, "imgExit", {200, 176}, imgExitOn, imgExitOff);
    imgNew->OnClick = [this](TVorrentImage&) { openNewUser(); };
    imgLogon->OnClick = [this](TVorrentImage&) { runLogonCheck(); };
    imgExit->OnClick = [this](TVorrentImage&) { giveUp(); };
    imgNew->setButtonName(QStringLiteral("New User"), QKeySequence(Qt::ALT | Qt::Key_N));
    imgLogon->setButtonName(QStringLiteral("Logon"), QKeySequence(Qt::ALT | Qt::Key_L));
    imgExit->setButtonName(QStringLiteral("Exit"), QKeySequence(Qt::ALT | Qt::Key_X));

    // The picture buttons take the focus in the order the plain window's buttons do.
    setTabOrder(txtPassword, imgNew);
    setTabOrder(imgNew, imgLogon);
    setTabOrder(imgLogon, imgExit);
    setTabOrder(imgExit, cboUsername);
}

void TfrmLogon::placeHoverButton(TVorrentImage& button, const char* name, QPoint place, const QPixmap& on,
                                 const QPixmap& off)
{
    button.setObjectName(QLatin1String(name));
    button.setPixmap(off);
    button.setGeometry(QRect(place, off.deviceIndependentSize().toSize()));
    button.setCursor(Qt::PointingHandCursor);
    paintLight(button);
    button.OnMouseEnter = [&on](TVorrentImage& sender) { sender.setPixmap(on); };
    button.OnMouseLeave = [&off](TVorrentImage& sender) { sender.setPixmap(off); };
}

QObject& TfrmLogon::exitControl()
{
    return *imgExit;
}

// The window sees the keys first: Enter anywhere logs on, except on a picture button with the
// focus, which does what it says.
bool TfrmLogon::FormKeyPress(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    if (qobject_cast<TVorrentImage*>(focusWidget()) != nullptr)
        return false;
    if (!key.isAutoRepeat())
        runLogonCheck();
    return true;
}

bool TfrmLogon::FormKeyUp(const QKeyEvent& key)
{
    return showHelpOnF1(*this, key, kLogonHelpTopic);
}

}  // namespace keystead
