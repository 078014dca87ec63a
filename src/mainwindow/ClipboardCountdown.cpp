#include "mainwindow/ClipboardCountdown.h"

#include "mainwindow/SecretClipboard.h"

namespace keystead {
namespace {

// Often enough that the shown seconds follow the clock on a busy machine.
constexpr int kTickMilliseconds = 200;

}  // namespace

ClipboardCountdown::ClipboardCountdown(QObject* parent) : QObject(parent)
{
    ticks_.setInterval(kTickMilliseconds);
    connect(&ticks_, &QTimer::timeout, this, &ClipboardCountdown::tick);
}

void ClipboardCountdown::start(int seconds)
{
    if (seconds <= 0) {
        stop();
        return;
    }
    deadline_.setRemainingTime(std::chrono::seconds(seconds));
    ticks_.start();
    tick();
}

void ClipboardCountdown::stop()
{
    ticks_.stop();
    show(QString());
}

void ClipboardCountdown::tick()
{
    const qint64 left = deadline_.remainingTime();
    if (left > 0) {
        show(QStringLiteral("Clipboard clears in %1 s").arg((left + 999) / 1000));
        return;
    }
    clearNow();
}

void ClipboardCountdown::clearNow()
{
    ticks_.stop();
    // Another program's text, copied since, stays; then there is nothing to report.
    show(ClearOwnClipboard() ? QStringLiteral("Clipboard cleared") : QString());
}

void ClipboardCountdown::show(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    emit textChanged(text_);
}

}  // namespace keystead
