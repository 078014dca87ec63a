#pragma once
// THttpClient, the update check's HTTP client: one GET at a time that blocks its caller while a
// local event loop keeps the windows responsive, and reports its outcome as notifications.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace keystead {

class THttpClient : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeout = 15000;
    // The version file holds a few bytes: a longer reply is not the version and is not read on.
    static constexpr qsizetype kMaxBody = 64 * 1024;
    static constexpr int kMaxRedirects = 5;

    // The base address gives scheme, host and port of every request; the program keeps the maker's
    // site, a test puts a local server there.
    explicit THttpClient(QObject* parent, const QUrl& baseAddress = QUrl(), int timeout = kTimeout);

    void setBaseAddress(const QUrl& baseAddress) { baseAddress_ = baseAddress; }
    // The time-out of the requests to come; a running request is given that long from now.
    void setTimeout(int timeout);

    // Fetches the address; redirects are followed on the base address's site, up to
    // kMaxRedirects of them. Returns after Success or Failure, or silently after abort(). When no
    // whole answer came, throws KeysteadError naming the cause (after ConnectionFailed when no
    // connection could be made).
    void Get(const QUrl& url);

    // Ends a running Get without any notification.
    void abort();

signals:
    void Connect();
    void Success(const QByteArray& body);
    void Failure();
    void ConnectionFailed();

private:
    struct Transfer;
    // A reply is deleted once its signals are delivered.
    struct LaterDeleter {
        void operator()(QObject* object) const;
    };
    using ReplyPointer = std::unique_ptr<QNetworkReply, LaterDeleter>;

    QUrl requestAddress(const QUrl& url) const;
    bool onSite(const QUrl& address) const;
    // One request, run until its reply has finished (or the call was ended).
    ReplyPointer fetch(const QUrl& address, Transfer& transfer);
    // Where a redirect on the site sends the call next; nothing for an answer, or a redirect refused.
    std::optional<QUrl> redirectTarget(const QNetworkReply& reply, Transfer& transfer) const;
    void finish(const QNetworkReply& reply, const Transfer& transfer);

    QNetworkAccessManager* manager_;
    QUrl baseAddress_;
    int timeout_;
    QPointer<QNetworkReply> running_;
    QPointer<QTimer> runningTimer_;
    bool aborted_ = false;
};

}  // namespace keystead
