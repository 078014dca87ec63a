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

// Runs one handler's work; an error it throws is shown and ends the handler.
template <typename Work>
void runGuarded(QWidget* owner, Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception& error) {
        showError(owner, error.what());
    }
}

}  // namespace keystead
