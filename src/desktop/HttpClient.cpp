#include "desktop/HttpClient.h"

#include "desktop/SiteAddresses.h"
#include "desktop/TextConversion.h"
#include "store/KeysteadError.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace keystead {
namespace {

struct LaterDeleter {
    void operator()(QObject* object) const { object->deleteLater(); }
};

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

}  // namespace

THttpClient::THttpClient(QObject* parent, const QUrl& baseAddress, int timeout)
    : QObject(parent),
      manager_(new QNetworkAccessManager(this)),
      baseAddress_(baseAddress.isEmpty() ? QUrl(kSiteAddress) : baseAddress),
      timeout_(timeout)
{
    manager_->setProxy(QNetworkProxy::NoProxy);
}

QUrl THttpClient::requestAddress(const QUrl& url) const
{
    QUrl address = url;
    address.setScheme(baseAddress_.scheme());
    address.setHost(baseAddress_.host());
    address.setPort(baseAddress_.port());
    return address;
}

void THttpClient::Get(const QUrl& url)
{
    QNetworkRequest request(requestAddress(url));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    const std::unique_ptr<QNetworkReply, LaterDeleter> reply(manager_->get(request));
    running_ = reply.get();
    aborted_ = false;

    bool requestSent = false;
    bool timedOut = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(reply.get(), &QNetworkReply::requestSent, this, [this, &requestSent] {
        if (!requestSent)
            emit Connect();
        requestSent = true;
    });
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(&timer, &QTimer::timeout, reply.get(), [&timedOut, &reply] {
        timedOut = true;
        reply->abort();
    });
    timer.start(timeout_);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();
    // The program quitting ends every event loop, this one included, while the request still runs.
    if (!reply->isFinished()) {
        aborted_ = true;
        reply->abort();
    }
    disconnect(reply.get(), nullptr, this, nullptr);
    running_ = nullptr;
    if (!aborted_)
        finish(*reply, requestSent, timedOut);
}

void THttpClient::finish(QNetworkReply& reply, bool requestSent, bool timedOut)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !timedOut) {
        if (status.toInt() < 300)
            emit Success(toQString(reply.readAll().toStdString()));
        else
            emit Failure();
        return;
    }
    if (!requestSent)
        emit ConnectionFailed();
    throw KeysteadError(causeText(reply, timedOut));
}

void THttpClient::abort()
{
    aborted_ = true;
    if (running_)
        running_->abort();
}

}  // namespace keystead
