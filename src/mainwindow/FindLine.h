#pragma once
// txtFind: the find line above the password list. Typing filters the list to the entries whose
// shown texts contain the typed text, ignoring case; the decrypted comments it keeps for that are
// wiped when it closes.

#include "crypto/SecretMemory.h"
#include "mainwindow/FindRule.h"

#include <QLineEdit>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace keystead {

class PasswordListModel;
class TPasswordListView;
struct PasswordRow;

class TFindLine : public QLineEdit {
    Q_OBJECT

public:
    // The searched texts as the display settings are now.
    using ScopeSource = std::function<FindScope()>;
    // The comments of an entry decrypted from their stored value.
    using CommentsDecrypter = std::function<std::string(const std::string& stored)>;

    TFindLine(PasswordListModel& model, TPasswordListView& list, ScopeSource scope, CommentsDecrypter decrypt,
              QWidget* parent);

    // Edit > Find...: shows the line and puts the focus in it.
    void openFind();
    // Hides the line, shows every row again and wipes the decrypted comments.
    void closeFind();

signals:
    // The shown rows changed: the status count follows.
    void filterChanged();
    // Enter in the line, with the first shown row selected.
    void firstRowActivated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyFilter();
    // An entry's texts as Find compares them, folded once while the rows stay as they are.
    struct FoldedRow {
        std::string description;
        std::string username;
        const std::string* comments = nullptr;   // in comments_
        bool filled = false;
    };

    bool matches(const PasswordRow& row, FindScope scope, const std::string& find);
    // The row's texts that Find searches in this scope.
    const FoldedRow& searchedTexts(const PasswordRow& row, FindScope scope);
    FoldedRow& folded(const PasswordRow& row);
    const std::string& foldedComments(const std::string& stored);
    void forgetFoldedRows();
    void prepareTexts();

    PasswordListModel& model_;
    TPasswordListView& list_;
    ScopeSource scope_;
    CommentsDecrypter decrypt_;
    // Folded decrypted comments by their stored value, which stays the same across reloads.
    std::unordered_map<std::string, SecretText> comments_;
    // By entry number; a keystroke then folds and looks up nothing again.
    std::vector<FoldedRow> foldedRows_;
};

}  // namespace keystead
