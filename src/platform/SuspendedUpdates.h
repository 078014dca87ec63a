#pragma once
// Stops the repainting of a widget for as long as the object lives, as a long fill of it wants;
// an error thrown meanwhile cannot leave the widget frozen.

#include <QWidget>

namespace keystead {

class SuspendedUpdates {
public:
    explicit SuspendedUpdates(QWidget& widget) : widget_(widget), wasEnabled_(widget.updatesEnabled())
    {
        widget_.setUpdatesEnabled(false);
    }
    ~SuspendedUpdates() { widget_.setUpdatesEnabled(wasEnabled_); }
    SuspendedUpdates(const SuspendedUpdates&) = delete;
    SuspendedUpdates& operator=(const SuspendedUpdates&) = delete;

private:
    QWidget& widget_;
    const bool wasEnabled_;
};

}  // namespace keystead
