#include "session/Logon.h"

#include "desktop/HelpWindow.h"
#include "desktop/KeyPreview.h"
#include "desktop/WindowPlacement.h"
#include "session/VorrentImage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace keystead {

namespace {

constexpr int kLogonHelpTopic = 1000;

QPixmap picture(const char* name)
{
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
}

QLabel* addCaption(QWidget& form, const QString& text, QPoint place)
{
    auto* label = new QLabel(text, &form);
    QFont font = label->font();
    font.setPixelSize(12);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(210, 210, 210));
    label->setPalette(palette);
    label->move(place);
    label->adjustSize();
    return label;
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

    addCaption(*this, QStringLiteral("Username:"), {24, 84});
    addCaption(*this, QStringLiteral("Password:"), {24, 128});
    cboUsername->setGeometry(24, 100, 113, 22);
    txtPassword->setGeometry(24, 144, 113, 22);

    placeHoverButton(*imgNew, "imgNew", {24, 176}, imgNewOn, imgNewOff);
    placeHoverButton(*imgLogon, "imgLogon", {134, 176}, imgLogonOn, imgLogonOff);
    placeHoverButton(*imgExit, "imgExit", {200, 176}, imgExitOn, imgExitOff);
    imgNew->OnClick = [this](TVorrentImage&) { openNewUser(); };
    imgLogon->OnClick = [this](TVorrentImage&) { runLogonCheck(); };
    imgExit->OnClick = [this](TVorrentImage&) { giveUp(); };

    setTabOrder(txtPassword, cboUsername);
}

void TfrmLogon::placeHoverButton(TVorrentImage& button, const char* name, QPoint place, const QPixmap& on,
                                 const QPixmap& off)
{
    button.setObjectName(QLatin1String(name));
    button.setPixmap(off);
    button.setGeometry(QRect(place, off.deviceIndependentSize().toSize()));
    button.setCursor(Qt::PointingHandCursor);
    button.OnMouseEnter = [&on](TVorrentImage& sender) { sender.setPixmap(on); };
    button.OnMouseLeave = [&off](TVorrentImage& sender) { sender.setPixmap(off); };
}

QObject& TfrmLogon::exitControl()
{
    return *imgExit;
}

// The window sees the keys first: Enter anywhere logs on.
bool TfrmLogon::FormKeyPress(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
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
