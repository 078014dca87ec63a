#include "platform/DrawStamp.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace keystead {

namespace {

bool stampsEnabled()
{
    static const bool enabled = qEnvironmentVariableIsSet("KEYSTEAD_DRAW_STAMPS");
    return enabled;
}

void writeStamp(const char* name, const char* what)
{
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const long long micro = std::chrono::duration_cast<std::chrono::microseconds>(since).count();
    std::fprintf(stderr, "keystead-stamp %s %s %lld.%06lld\n", name, what, micro / 1000000, micro % 1000000);
    std::fflush(stderr);
}

class DrawStamp : public QObject {
public:
    DrawStamp(QWidget& widget, const char* name) : QObject(&widget), name_(name) { widget.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            stamp("key");
        // The paint event comes before the drawing; the stamp waits until the window's drawing is
        // done and sent to the display.
        if (event->type() == QEvent::Paint && !drawPending_) {
            drawPending_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    drawPending_ = false;
                    stamp("drawn");
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void stamp(const char* what) const { writeStamp(name_, what); }

    const char* name_;
    bool drawPending_ = false;
};

}  // namespace

void WatchDrawing(QWidget& widget, const char* name)
{
    if (stampsEnabled())
        new DrawStamp(widget, name);
}

void StampNow(const char* name, const char* what)
{
    if (stampsEnabled())
        writeStamp(name, what);
}

}  // namespace keystead
