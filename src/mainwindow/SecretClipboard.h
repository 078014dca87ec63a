#pragma once
// The clipboard as Keystead writes it: what it copies is marked as its own, passwords and user
// names also with the hint that keeps them out of clipboard managers' histories, and clearing
// empties the clipboard only while it still holds Keystead's own text.

#include <QObject>
#include <QString>

#include <string>

namespace keystead {

enum class ClipboardText { Secret, Plain };

void PutOnClipboard(const QString& text, ClipboardText kind);
// A decrypted password or user name, wiped once the clipboard holds its copy.
void PutSecretOnClipboard(std::string plain);

// Leaves another program's text alone.
void ClearOwnClipboard();

// Takes back at once every X primary selection this program makes, so that selecting a
// password or a comment never offers it to other programs' middle-click paste.
class PrimarySelectionGuard : public QObject {
public:
    explicit PrimarySelectionGuard(QObject* parent = nullptr);
};

}  // namespace keystead
