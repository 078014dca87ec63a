#include "platform/HttpClient.h"

#include "platform/SiteAddresses.h"
#include "platform/TextConversion.h"
#include "store/KeysteadError.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <exception>
#include <string>

namespace keystead {

// How one call went, gathered while it runs, over every redirect.
struct THttpClient::Transfer {
    QByteArray body;
    bool requestSent = false;
    bool timedOut = false;
    int redirects = 0;
    std::string stopCause;   // why the client itself ended the transfer; empty when it did not
};

namespace {

std::string causeText(const QNetworkReply& reply, bool timedOut)
{
    if (timedOut)
        return "Connection Timed out";
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return "Connection refused";
    case QNetworkReply::HostNotFoundError:
        return "Host not found";
    case QNetworkReply::RemoteHostClosedError:
        return "Connection closed by the server";
    default:
        return toBytes(reply.errorString());
    }
}

// The errors Qt gives for the server's error statuses: the answer itself came whole.
bool isStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error < QNetworkReply::ProtocolUnknownError) ||
           (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

// Takes what has come of the body, never more than one byte past the limit, so that an endless
// reply is noticed and ended at once.
void readBody(QNetworkReply& reply, QByteArray& body, std::string& stopCause)
{
    try {
        body += reply.read(THttpClient::kMaxBody + 1 - body.size());
    } catch (const std::exception&) {
        stopCause = "Out of memory";
    }
    if (body.size() > THttpClient::kMaxBody)
        stopCause = "Reply too long";
    if (!stopCause.empty())
        reply.abort();
}

}  // namespace

void THttpClient::LaterDeleter::operator()(QObject* object) const
{
    object->deleteLater();
}

THttpClient::THttpClient(QObject* parent, const QUrl& baseAddress, int timeout)
    : QObject(parent),
      manager_(new QNetworkAccessManager(this)),
      baseAddress_(baseAddress.isEmpty() ? QUrl(kSiteAddress) : baseAddress),
      timeout_(timeout)
{
    manager_->setProxy(QNetworkProxy::NoProxy);
}

void THttpClient::setTimeout(int timeout)
{
    timeout_ = timeout;
    if (runningTimer_)
        runningTimer_->start(timeout);
}

QUrl THttpClient::requestAddress(const QUrl& url) const
{
    QUrl address = url;
    address.setScheme(baseAddress_.scheme());
    address.setHost(baseAddress_.host());
    address.setPort(baseAddress_.port());
    return address;
}

bool THttpClient::onSite(const QUrl& address) const
{
    return address.scheme() == baseAddress_.scheme() && address.host() == baseAddress_.host() &&
           address.port(80) == baseAddress_.port(80);
}

void THttpClient::Get(const QUrl& url)
{
    aborted_ = false;
    Transfer transfer;
    // One time-out for the whole call, redirects included.
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this, &transfer] {
        transfer.timedOut = true;
        if (running_)
            running_->abort();
    });
    runningTimer_ = &timer;
    timer.start(timeout_);
    ReplyPointer reply = fetch(requestAddress(url), transfer);
    while (const std::optional<QUrl> next = redirectTarget(*reply, transfer))
        reply = fetch(*next, transfer);
    timer.stop();
    runningTimer_ = nullptr;
    if (!aborted_)
        finish(*reply, transfer);
}

THttpClient::ReplyPointer THttpClient::fetch(const QUrl& address, Transfer& transfer)
{
    // Redirects are followed here, where the site and their number are checked.
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    ReplyPointer reply(manager_->get(request));
    running_ = reply.get();
    transfer.body.clear();
    reply->setReadBufferSize(kMaxBody + 1);
    connect(reply.get(), &QNetworkReply::requestSent, this, [this, &transfer] {
        if (!transfer.requestSent)
            emit Connect();
        transfer.requestSent = true;
    });
    connect(reply.get(), &QNetworkReply::readyRead, this,
            [&reply, &transfer] { readBody(*reply, transfer.body, transfer.stopCause); });
    QEventLoop loop;
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    // The program quitting ends every event loop, this one included, while the request still runs.
    if (!reply->isFinished()) {
        aborted_ = true;
        reply->abort();
    }
    disconnect(reply.get(), nullptr, this, nullptr);
    running_ = nullptr;
    if (!aborted_ && !transfer.timedOut && transfer.stopCause.empty())
        readBody(*reply, transfer.body, transfer.stopCause);
    return reply;
}

std::optional<QUrl> THttpClient::redirectTarget(const QNetworkReply& reply, Transfer& transfer) const
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl location = reply.header(QNetworkRequest::LocationHeader).toUrl();
    if (aborted_ || transfer.timedOut || !transfer.stopCause.empty() || reply.error() != QNetworkReply::NoError ||
        status < 300 || status > 399 || location.isEmpty())
        return std::nullopt;
    // Another site's answer is never taken for the maker's.
    const QUrl next = reply.url().resolved(location);
    if (!onSite(next))
        transfer.stopCause = "Redirected to another site";
    else if (++transfer.redirects > kMaxRedirects)
        transfer.stopCause = "Too many redirects";
    if (!transfer.stopCause.empty())
        return std::nullopt;
    return next;
}

void THttpClient::finish(const QNetworkReply& reply, const Transfer& transfer)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool whole = !transfer.timedOut && transfer.stopCause.empty() &&
                       (reply.error() == QNetworkReply::NoError || isStatusError(reply.error()));
    if (status.isValid() && whole) {
        if (status.toInt() < 300)
            emit Success(transfer.body);
        else
            emit Failure();
        return;
    }
    if (!transfer.requestSent)
        emit ConnectionFailed();
    throw KeysteadError(transfer.stopCause.empty() ? causeText(reply, transfer.timedOut) : transfer.stopCause);
}

void THttpClient::abort()
{
    aborted_ = true;
    if (running_)
        running_->abort();
}

}  // namespace keystead
