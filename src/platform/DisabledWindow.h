#pragma once
// A window that takes no input for as long as the object lives, enabled again however the work
// in between ends.

#include <QPointer>
#include <QWidget>

namespace keystead {

class DisabledWindow {
public:
    explicit DisabledWindow(QWidget& window) : window_(&window) { window.setEnabled(false); }
    ~DisabledWindow()
    {
        if (window_)
            window_->setEnabled(true);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    QPointer<QWidget> window_;
};

}  // namespace keystead
