#include "desktop/UpdateCheck.h"

#include "desktop/pvlUrl.h"
#include "platform/ErrorDisplay.h"
#include "platform/HttpClient.h"
#include "platform/MessageBox.h"
#include "platform/SiteAddresses.h"
#include "store/KeysteadError.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace keystead {
namespace {

// The messages break their lines with a single carriage return, as the program always wrote them.
const QString kCannotConnect = QStringLiteral(
    "A connection could not be established with the Vorrent Web site. Check your Internet connection and try "
    "again.\r\rPossible causes for this error: \r* You are not connected to the Internet\r* The Vorrent Web site "
    "is down");

// Whatever way a check ends, the status text goes and the command can be used again.
class CheckEnd {
public:
    CheckEnd(QAction& command, QLabel& status) : command_(command), status_(status) {}
    ~CheckEnd()
    {
        status_.clear();
        command_.setEnabled(true);
    }
    CheckEnd(const CheckEnd&) = delete;
    CheckEnd& operator=(const CheckEnd&) = delete;

private:
    QAction& command_;
    QLabel& status_;
};

}  // namespace

TUpdateCheck::TUpdateCheck(QWidget& window, THttpClient& httpInternet, QAction& mnuHelpCheck, QLabel& statusText,
                           TpvlUrl& pvlHyperlink, QString programVersion)
    : QObject(&window),
      window_(window),
      httpInternet_(httpInternet),
      mnuHelpCheck_(mnuHelpCheck),
      statusText_(statusText),
      pvlHyperlink_(pvlHyperlink),
      programVersion_(std::move(programVersion))
{
    connect(&httpInternet, &THttpClient::Connect, this, &TUpdateCheck::httpInternetConnect);
    connect(&httpInternet, &THttpClient::Success, this, &TUpdateCheck::httpInternetSuccess);
    connect(&httpInternet, &THttpClient::Failure, this, &TUpdateCheck::httpInternetFailure);
    connect(&httpInternet, &THttpClient::ConnectionFailed, this, &TUpdateCheck::httpInternetConnectionFailed);
    connect(&mnuHelpCheck, &QAction::triggered, this, &TUpdateCheck::mnuHelpCheckClick);
    window.installEventFilter(this);
}

void TUpdateCheck::mnuHelpCheckClick()
{
    mnuHelpCheck_.setEnabled(false);
    const CheckEnd end(mnuHelpCheck_, statusText_);
    statusText_.setText(QStringLiteral("Connecting to the Vorrent Web site"));
    // Whatever the reply throws, out of memory included, ends here and not in the event loop.
    runGuarded(&window_, [this] {
        try {
            httpInternet_.Get(QUrl(UpdateCheckUrl));
        } catch (const KeysteadError& error) {
            showRequestError(QString::fromStdString(error.what()));
        }
    });
}

bool TUpdateCheck::eventFilter(QObject* watched, QEvent* event)
{
    // The check's event loop lets the window close; the close must not wait for the site.
    if (watched == &window_ && event->type() == QEvent::Close)
        httpInternet_.abort();
    return false;
}

void TUpdateCheck::httpInternetConnect()
{
    statusText_.setText(QStringLiteral("Connected...Looking for version file"));
}

void TUpdateCheck::httpInternetSuccess(const QByteArray& body)
{
    statusText_.clear();
    // Byte for byte: a byte-order mark or a line end makes another version.
    if (body == programVersion_.toUtf8()) {
        showMessageBox({&window_, QStringLiteral("You are using the most current version of Keystead."),
                        MessageIcon::Information});
        return;
    }
    const bool download = askYesNo(
        &window_, QStringLiteral("A more recent version of Keystead is available. Would you like to connect to the "
                                 "Keystead Web page to learn more about and/or download the new release?"));
    if (!download)
        return;
    pvlHyperlink_.Url = DownloadPageUrl;
    runGuarded(&window_, [this] { pvlHyperlink_.LaunchUrl(); });
}

void TUpdateCheck::httpInternetFailure()
{
    statusText_.clear();
    showWarning(&window_, QStringLiteral("An error has occured: Can't Locate Version File\r\rThe file containing the "
                                         "version information could not be located on the Vorrent Web site. "
                                         "Please try again later."));
}

void TUpdateCheck::httpInternetConnectionFailed()
{
    statusText_.clear();
    showWarning(&window_, QStringLiteral("An error has occured: Connection Failed\r\r") + kCannotConnect);
}

void TUpdateCheck::showRequestError(const QString& errorText)
{
    statusText_.clear();
    showWarning(&window_, QStringLiteral("An error has occured: ") + errorText + QStringLiteral("\r\r") + kCannotConnect);
}

}  // namespace keystead
