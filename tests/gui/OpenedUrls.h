#pragma once
// Receives, while it lives, every http and file address the desktop would have opened.

#include <QList>
#include <QObject>
#include <QUrl>

namespace keystead::test {

class OpenedUrls : public QObject {
    Q_OBJECT

public:
    OpenedUrls();
    ~OpenedUrls() override;

    QList<QUrl> urls;

public slots:
    void open(const QUrl& url);
};

}  // namespace keystead::test
