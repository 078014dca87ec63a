// The update check against a web server of the test's own on 127.0.0.1: each answer of the site
// gives exactly its messages, and every check ends with the status text cleared and the menu
// item usable again.

#include "GuiTest.h"
#include "OpenedUrls.h"
#include "mainwindow/Main.h"
#include "platform/HttpClient.h"

#include <QAction>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace keystead::test {
namespace {

const QString kVersion = QStringLiteral("3.4.0.56");
const QString kCannotConnect = QStringLiteral(
    "A connection could not be established with the Vorrent Web site. Check your Internet connection and try "
    "again.\r\rPossible causes for this error: \r* You are not connected to the Internet\r* The Vorrent Web site "
    "is down");
const QString kNewer = QStringLiteral(
    "A more recent version of Keystead is available. Would you like to connect to the Keystead Web page to learn "
    "more about and/or download the new release?");

QByteArray response(const QByteArray& status, const QByteArray& headers, const QByteArray& body)
{
    return "HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// A web server that answers each request for a path through the test's function; an empty answer
// leaves the request waiting for ever.
class LocalSite : public QObject {
    Q_OBJECT

public:
    std::function<QByteArray(const QByteArray& path)> answer;
    QList<QByteArray> paths;
    // Runs when a request has come in, while the client waits for the answer.
    std::function<void()> onRequest;

    LocalSite()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(*socket); });
        });
    }

    QUrl address() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort())); }

private:
    void read(QTcpSocket& socket)
    {
        QByteArray& request = requests[&socket];
        request += socket.readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        paths << path;
        if (onRequest)
            onRequest();
        const QByteArray reply = answer(path);
        if (reply.isEmpty())
            return;
        socket.write(reply);
        socket.disconnectFromHost();
    }

    QTcpServer server;
    QHash<QTcpSocket*, QByteArray> requests;
};

class UpdateCheckTest : public GuiTest {
protected:
    void SetUp() override
    {
        addUser("Alice", "pw");
        session.CurrentUsername = "Alice";
        session.LogonPassword = "pw";
        session.ProgramVersion = kVersion.toStdString();
        frmMain = std::make_unique<TfrmMain>(session, storeFile);
        frmMain->show();
        frmMain->httpInternet->setBaseAddress(site.address());
        site.onRequest = [this] { menuEnabledWhileWaiting = frmMain->mnuHelpCheck->isEnabled(); };
    }

    void serve(const QByteArray& status, const QByteArray& body)
    {
        site.answer = [status, body](const QByteArray&) { return response(status, {}, body); };
    }

    // Runs the check from the menu and expects it over with the window as before.
    void check()
    {
        frmMain->mnuHelpCheck->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_TRUE(frmMain->mnuHelpCheck->isEnabled());
        EXPECT_EQ(frmMain->sbMessagePanel1->text(), QString());
    }

    LocalSite site;
    OpenedUrls opened;
    std::unique_ptr<TfrmMain> frmMain;
    bool menuEnabledWhileWaiting = true;
};

TEST_F(UpdateCheckTest, TheSameVersionIsCurrentAndOnlyTheExactTextIsTheSame)
{
    serve("200 OK", kVersion.toLatin1());
    script.message(QStringLiteral("You are using the most current version of Keystead."), MessageIcon::Information,
                   MessageResult::Ok);
    check();
    EXPECT_EQ(site.paths, QList<QByteArray>{"/vorrent/ksver.txt"});
    EXPECT_FALSE(menuEnabledWhileWaiting);

    // The running version followed by a line break is another version; No leaves everything as it was.
    serve("200 OK", kVersion.toLatin1() + "\r\n");
    script.question(kNewer, MessageResult::No);
    check();
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(UpdateCheckTest, OnlyAWholeReplyOfAtMost64KiBIsComparedAndByteForByte)
{
    // A byte-order mark before the running version makes another version.
    serve("200 OK", "\xEF\xBB\xBF" + kVersion.toLatin1());
    script.question(kNewer, MessageResult::No);
    check();

    serve("200 OK", QByteArray(64 * 1024, '9'));
    script.question(kNewer, MessageResult::No);
    check();
    serve("200 OK", QByteArray(64 * 1024 + 1, '9'));
    script.warning(QStringLiteral("An error has occured: Reply too long\r\r") + kCannotConnect);
    check();

    // The version's 8 bytes of 100 announced, then the connection closed.
    site.answer = [](const QByteArray&) {
        return "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n" + kVersion.toLatin1();
    };
    script.warning(QStringLiteral("An error has occured: Connection closed by the server\r\r") + kCannotConnect);
    check();
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(UpdateCheckTest, AnotherVersionOffersTheDownloadPage)
{
    serve("200 OK", "3.3.0.12");
    script.question(kNewer, MessageResult::Yes);
    check();
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.vorrent.example/vorrent/freeware/freeware.htm"))});
}

TEST_F(UpdateCheckTest, AMissingVersionFileCannotBeLocated)
{
    serve("404 Not Found", "no such file");
    script.warning(QStringLiteral("An error has occured: Can't Locate Version File\r\rThe file containing the "
                                  "version information could not be located on the Vorrent Web site. Please try "
                                  "again later."));
    check();
}

TEST_F(UpdateCheckTest, ARedirectIsFollowedToTheVersionFile)
{
    const QByteArray moved = site.address().toString().toLatin1() + "/moved/ksver.txt";
    site.answer = [moved](const QByteArray& path) {
        return path == "/moved/ksver.txt" ? response("200 OK", {}, kVersion.toLatin1())
                                          : response("301 Moved Permanently", "Location: " + moved + "\r\n", {});
    };
    script.message(QStringLiteral("You are using the most current version of Keystead."), MessageIcon::Information,
                   MessageResult::Ok);
    check();
    EXPECT_EQ(site.paths, (QList<QByteArray>{"/vorrent/ksver.txt", "/moved/ksver.txt"}));
}

TEST_F(UpdateCheckTest, RedirectsAreFollowedOnlyOnTheSiteAndAtMostFiveTimes)
{
    // Each request is sent on to the next path until the given number of redirects is made.
    const auto redirects = [this](int count) {
        site.paths.clear();
        site.answer = [this, count](const QByteArray&) {
            const auto made = static_cast<int>(site.paths.size()) - 1;
            if (made == count)
                return response("200 OK", {}, kVersion.toLatin1());
            const QByteArray next = site.address().toString().toLatin1() + "/hop" + QByteArray::number(made + 1);
            return response("302 Found", "Location: " + next + "\r\n", {});
        };
    };
    redirects(5);
    script.message(QStringLiteral("You are using the most current version of Keystead."), MessageIcon::Information,
                   MessageResult::Ok);
    check();
    EXPECT_EQ(site.paths.size(), 6) << site.paths.join(" ").toStdString();
    redirects(6);
    script.warning(QStringLiteral("An error has occured: Too many redirects\r\r") + kCannotConnect);
    check();
    EXPECT_EQ(site.paths.size(), 6) << site.paths.join(" ").toStdString();

    // The same server under another host name is another site.
    site.paths.clear();
    const QByteArray elsewhere =
        "http://localhost:" + QByteArray::number(site.address().port()) + "/vorrent/ksver.txt";
    site.answer = [elsewhere](const QByteArray&) {
        return response("301 Moved Permanently", "Location: " + elsewhere + "\r\n", {});
    };
    script.warning(QStringLiteral("An error has occured: Redirected to another site\r\r") + kCannotConnect);
    check();
    EXPECT_EQ(site.paths, QList<QByteArray>{"/vorrent/ksver.txt"});
}

TEST_F(UpdateCheckTest, ASiteThatNeverAnswersTimesOut)
{
    site.answer = [](const QByteArray&) { return QByteArray(); };
    // One second from the sent request on, however long the connection took to come.
    QObject::connect(frmMain->httpInternet, &THttpClient::Connect, frmMain.get(),
                     [this] { frmMain->httpInternet->setTimeout(1000); });
    script.warning(QStringLiteral("An error has occured: Connection Timed out\r\r") + kCannotConnect);
    check();
}

TEST_F(UpdateCheckTest, AClosedPortGivesConnectionFailedAndThenTheCause)
{
    // A port held bound but never listening refuses, and no other program can take it meanwhile.
    QTcpSocket closedPort;
    ASSERT_TRUE(closedPort.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    frmMain->httpInternet->setBaseAddress(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedPort.localPort())));
    script.warning(QStringLiteral("An error has occured: Connection Failed\r\r") + kCannotConnect);
    script.warning(QStringLiteral("An error has occured: Connection refused\r\r") + kCannotConnect);
    check();
}

TEST_F(UpdateCheckTest, ClosingTheWindowDuringACheckEndsItWithoutAWord)
{
    // A time-out far beyond the test's run: only the close may end this check.
    site.answer = [](const QByteArray&) { return QByteArray(); };
    frmMain->httpInternet->setTimeout(600000);
    site.onRequest = [this] { QTimer::singleShot(0, frmMain.get(), [this] { frmMain->close(); }); };
    check();
    EXPECT_FALSE(frmMain->isVisible());
}

}  // namespace
}  // namespace keystead::test

#include "UpdateCheckTest.moc"
