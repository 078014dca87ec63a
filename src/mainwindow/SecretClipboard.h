#pragma once
// The clipboard as Keystead writes it: what it copies is marked as its own, passwords and user
// names also with the hint that keeps them out of clipboard managers' histories. Clearing at close
// empties the clipboard only while it still holds Keystead's own text; the user's command empties
// it whatever it holds.

#include <QObject>
#include <QString>

#include <string>

namespace keystead {

enum class ClipboardText { Secret, Plain };

void PutOnClipboard(const QString& text, ClipboardText kind);
// A decrypted password or user name, wiped once the clipboard holds its copy.
void PutSecretOnClipboard(std::string plain);

// Leaves another program's text alone. A text copied out of one of Keystead's own boxes (Ctrl+C
// in the entry dialog) is Keystead's too, where the platform tells who put the text there. The X
// primary selection likewise. True when the clipboard was Keystead's and is now empty.
bool ClearOwnClipboard();
// Clear Clipboard: nothing is left to paste, whoever put it there.
void EmptyClipboard();

// Takes back at once every X primary selection this program makes, so that selecting a
// password or a comment never offers it to other programs' middle-click paste.
class PrimarySelectionGuard : public QObject {
public:
    explicit PrimarySelectionGuard(QObject* parent = nullptr);
};

}  // namespace keystead
