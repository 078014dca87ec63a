#pragma once
// The automatic backups of the store as the main window takes them: a failed one never stops the
// command that asked for it, and the window's status bar tells of it once.

#include <optional>
#include <string>

class QMainWindow;

namespace keystead {

class RegistryStore;

// How long the status bar tells of a failed backup before its panels show again.
inline constexpr int kBackupFailureShownMs = 20000;

// failure is the text StoreBackups::takeAutomatic returned; nothing is shown without one.
void showBackupFailure(QMainWindow& window, const std::optional<std::string>& failure);
// The backup taken just before a command changes a whole list.
void backUpBeforeChange(QMainWindow& window, const RegistryStore& store);

}  // namespace keystead
