#pragma once
// The update check of the Help menu: asks the maker's site for the current version, compares it
// with the running one and offers the download page when they differ.

#include <QByteArray>
#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QWidget;

namespace keystead {

class THttpClient;
class TpvlUrl;

class TUpdateCheck : public QObject {
    Q_OBJECT

public:
    // window owns the messages and, closed during a check, ends the check without a word;
    // statusText is the status bar panel that tells how far the check is.
    TUpdateCheck(QWidget& window, THttpClient& httpInternet, QAction& mnuHelpCheck, QLabel& statusText,
                 TpvlUrl& pvlHyperlink, QString programVersion);

    void mnuHelpCheckClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void httpInternetConnect();
    void httpInternetSuccess(const QByteArray& body);
    void httpInternetFailure();
    void httpInternetConnectionFailed();
    void showRequestError(const QString& errorText);

    QWidget& window_;
    THttpClient& httpInternet_;
    QAction& mnuHelpCheck_;
    QLabel& statusText_;
    TpvlUrl& pvlHyperlink_;
    const QString programVersion_;
};

}  // namespace keystead
