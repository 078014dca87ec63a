#pragma once
// The general error display: the one place where an error that no handler caught reaches the
// user, as an error box with the error's text.

#include <QString>

#include <exception>
#include <string>
#include <utility>

class QWidget;

namespace keystead {

// The text as the error box shows it: a full stop is added when the last character comes after
// "." in character order, so "Disk full" gets one and "Done!" or "... for 'x'" do not.
QString withFullStop(const QString& text);

void showError(QWidget* owner, const std::string& errorText);

// What the event loop of the main window returns when the user has to log on again.
inline constexpr int kLogOnAgainExitCode = 75;
// The event posted to the application when the user has to log on again; main() ends the main
// window's event loop with kLogOnAgainExitCode on it and shows the logon window.
int logOnAgainEventType();

// Shows the error of a handler. One that says the user's seal was changed in another window also
// asks for a new logon, since nothing of the user's can be read or written any more.
void showHandlerError(QWidget* owner, const std::exception& error);

// Runs one handler's work; an error it throws is shown and ends the handler.
template <typename Work>
void runGuarded(QWidget* owner, Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception& error) {
        showHandlerError(owner, error);
    }
}

}  // namespace keystead
