#pragma once
// THttpClient, the update check's HTTP client: one GET at a time that blocks its caller while a
// local event loop keeps the windows responsive, and reports its outcome as notifications.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace keystead {

class THttpClient : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeout = 15000;

    // The base address gives scheme, host and port of every request; the program keeps the maker's
    // site, a test puts a local server there.
    explicit THttpClient(QObject* parent, const QUrl& baseAddress = QUrl(), int timeout = kTimeout);

    void setBaseAddress(const QUrl& baseAddress) { baseAddress_ = baseAddress; }
    void setTimeout(int timeout) { timeout_ = timeout; }

    // Fetches the address; redirects are followed. Returns after Success or Failure, or
    // silently after abort(). When no answer came, throws KeysteadError naming the cause (after
    // ConnectionFailed when no connection could be made).
    void Get(const QUrl& url);

    // Ends a running Get without any notification.
    void abort();

signals:
    void Connect();
    void Success(const QString& body);
    void Failure();
    void ConnectionFailed();

private:
    QUrl requestAddress(const QUrl& url) const;
    void finish(QNetworkReply& reply, bool requestSent, bool timedOut);

    QNetworkAccessManager* manager_;
    QUrl baseAddress_;
    int timeout_;
    QPointer<QNetworkReply> running_;
    bool aborted_ = false;
};

}  // namespace keystead
