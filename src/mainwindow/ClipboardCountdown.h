#pragma once
// The count after a copied password: when it runs out the clipboard is cleared if it still holds
// Keystead's own text, and the count's text tells the status bar and the tray icon's tip.

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace keystead {

class ClipboardCountdown : public QObject {
    Q_OBJECT

public:
    explicit ClipboardCountdown(QObject* parent);

    // After every copy of a secret; a new copy restarts the count. 0 seconds: never cleared.
    void start(int seconds);
    // The clipboard was emptied some other way: nothing left to count.
    void stop();
    // Clears Keystead's own text now, as when the count runs out.
    void clearNow();

signals:
    // "Clipboard clears in 12 s", then "Clipboard cleared", or empty when there is nothing to say.
    void textChanged(const QString& text);

private:
    void tick();
    void show(const QString& text);

    QTimer ticks_;
    QDeadlineTimer deadline_;
    QString text_;
};

}  // namespace keystead
