#include "desktop/About.h"

#include "desktop/pvlUrl.h"
#include "platform/DialogFont.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/Picture.h"
#include "platform/SiteAddresses.h"
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace keystead {
namespace {

constexpr int kWidth = 360;
constexpr int kBandHeight = 70;

const QString kReleaseNotes = QStringLiteral(
    "Keystead 3.4\n"
    "\n"
    "- Several people can keep their passwords under one account; each logs on with a password of "
    "their own.\n"
    "- Every description, user name, password and comment is stored encrypted under the logon "
    "password.\n"
    "- Entries can expire: the list counts the days down and warns at start of the ones that have "
    "expired.\n"
    "- Export to an encrypted file (to move or back up the list) or to a plain text file; import of "
    "encrypted export files.\n"
    "- Printing of the list, a quick view window, and links in the comments that open in the "
    "browser.\n"
    "- Changing the logon password encrypts every entry again under the new one.\n"
    "- Help > Check Internet for New Version asks the Vorrent web site whether a newer release "
    "exists.");

// The version is written into the text, as the box always showed it.
const QString kMessage = QStringLiteral(
    "Version 3.4.\r"
    "Programming: the Keystead developers at Vorrent.\r"
    "Encryption: the Diamond2 block cipher, 128-bit blocks, ten rounds.\r"
    "Copyright (c) Vorrent. Keystead is freeware and comes without any warranty.");

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent),
      imgLogo(new QLabel(this)),
      Label1(new QLabel(this)),
      Memo1(new QPlainTextEdit(this)),
      lblMessage(new QLabel(this)),
      cmdClose(new QPushButton(QStringLiteral("&Close"), this)),
      urlLink(new TpvlUrl(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Keystead"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);
    buildControls();
    // Centred on the screen, not on the window that opened it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmAbout::buildControls()
{
    auto* band = new QLabel(this);
    band->setGeometry(0, 0, kWidth, kBandHeight);
    band->setAutoFillBackground(true);
    QPalette black = band->palette();
    black.setColor(QPalette::Window, Qt::black);
    band->setPalette(black);
    band->lower();
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(loadPicture(QStringLiteral("about-logo")));
    imgLogo->setGeometry(12, 8, 240, 54);

    auto* visit = new QLabel(QStringLiteral("Visit us on the Web:"), this);
    visit->setGeometry(12, kBandHeight + 10, 112, 17);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(HomePageUrl);
    Label1->setGeometry(128, kBandHeight + 10, kWidth - 140, 17);
    QFont underlined = Label1->font();
    underlined.setUnderline(true);
    Label1->setFont(underlined);
    // The palette's link colour: blue on a light desktop, and still readable on a dark one.
    QPalette blue = Label1->palette();
    blue.setColor(QPalette::WindowText, blue.color(QPalette::Link));
    Label1->setPalette(blue);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);

    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(QStringLiteral("Release notes"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(kReleaseNotes);
    Memo1->setGeometry(12, kBandHeight + 34, kWidth - 24, 120);

    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    // A size below the dialog font's 11 pixels.
    QFont small = lblMessage->font();
    small.setPixelSize(10);
    lblMessage->setFont(small);
    lblMessage->setWordWrap(true);
    lblMessage->setText(QString(kMessage).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    lblMessage->setGeometry(12, kBandHeight + 160, kWidth - 24, 64);

    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry((kWidth - 75) / 2, kBandHeight + 230, 75, 25);
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(kWidth, kBandHeight + 266);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease)
        Label1Click();
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::Label1Click()
{
    urlLink->Url = HomePageUrl;
    runGuarded(this, [this] { urlLink->LaunchUrl(); });
}

}  // namespace keystead
