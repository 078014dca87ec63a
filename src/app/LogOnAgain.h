#pragma once
// Ends the main window's event loop with kLogOnAgainExitCode when a handler has asked for a new
// logon (the user's seal was changed in another window), so that main() shows the logon window.

#include <QObject>

namespace keystead {

class LogOnAgain : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace keystead
