#include "mainwindow/FindLine.h"

#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"
#include "platform/DrawStamp.h"
#include "platform/TextConversion.h"
#include "store/CaseFolding.h"

#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace keystead {

TFindLine::TFindLine(PasswordListModel& model, TPasswordListView& list, ScopeSource scope, CommentsDecrypter decrypt,
                     QWidget* parent)
    : QLineEdit(parent), model_(model), list_(list), scope_(std::move(scope)), decrypt_(std::move(decrypt))
{
    setObjectName(QStringLiteral("txtFind"));
    hide();
    WatchDrawing(*this, "find");
    connect(this, &QLineEdit::textChanged, this, &TFindLine::applyFilter);
    connect(&model_, &PasswordListModel::rowsReplaced, this, &TFindLine::forgetFoldedRows);
}

void TFindLine::openFind()
{
    // The clear button's icon is looked up in the desktop's icon theme, which takes longer than
    // the rest of the main window's controls: it is made when the line is first wanted.
    if (!isClearButtonEnabled()) {
        setClearButtonEnabled(true);
        for (QToolButton* clear : findChildren<QToolButton*>())
            clear->setAccessibleName(QStringLiteral("Clear"));
    }
    show();
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
    // Right after the line is up, before the first key can arrive, the texts are folded and the
    // comments decrypted where Find searches them: every keystroke then only compares.
    QTimer::singleShot(0, this, &TFindLine::prepareTexts);
}

void TFindLine::prepareTexts()
{
    // Closed meanwhile, by a lock as well: nothing is decrypted for a closed line.
    if (isHidden())
        return;
    const FindScope scope = scope_();
    for (int index = 0; index < model_.rowCount(); ++index)
        searchedTexts(model_.row(index), scope);
}

void TFindLine::closeFind()
{
    const bool hadFocus = hasFocus();
    clear();
    hide();
    forgetFoldedRows();
    for (auto& [stored, text] : comments_)
        WipeText(text.get());
    comments_.clear();
    if (hadFocus)
        list_.currentWidget()->setFocus();
}

void TFindLine::applyFilter()
{
    // The selected entry stays selected while it is still shown.
    const int selected = list_.selectedRow();
    const std::optional<int> entry =
        selected >= 0 ? std::optional<int>(model_.row(selected).entryNumber) : std::nullopt;
    if (text().isEmpty()) {
        model_.setFilter({});
    } else {
        // The scope is read for every row: a reload after Show Passwords changes what is searched.
        model_.setFilter(
            [this, find = FoldCase(toBytes(text()))](const PasswordRow& row) { return matches(row, scope_(), find); });
    }
    list_.clearSelection();
    for (int row = 0; entry && row < model_.rowCount(); ++row)
        if (model_.row(row).entryNumber == *entry) {
            list_.selectRow(row);
            list_.scrollToRow(row);
            break;
        }
    emit filterChanged();
}

bool TFindLine::matches(const PasswordRow& row, FindScope scope, const std::string& find)
{
    const FoldedRow& texts = searchedTexts(row, scope);
    return FindMatches({texts.description, texts.username, texts.comments ? *texts.comments : std::string_view()},
                       scope, find);
}

const TFindLine::FoldedRow& TFindLine::searchedTexts(const PasswordRow& row, FindScope scope)
{
    FoldedRow& texts = folded(row);
    if (scope.comments && !texts.comments)
        texts.comments = &foldedComments(row.stored.comments);
    return texts;
}

TFindLine::FoldedRow& TFindLine::folded(const PasswordRow& row)
{
    const auto index = static_cast<std::size_t>(std::max(row.entryNumber, 1) - 1);
    if (index >= foldedRows_.size())
        foldedRows_.resize(std::max(index + 1, static_cast<std::size_t>(model_.rowCount())));
    FoldedRow& texts = foldedRows_[index];
    if (!texts.filled) {
        texts.description = FoldCase(row.description);
        texts.username = FoldCase(row.username);
        texts.filled = true;
    }
    return texts;
}

// The rows changed: their texts are folded again from the rows, the comments still found by
// their stored value.
void TFindLine::forgetFoldedRows()
{
    for (FoldedRow& texts : foldedRows_) {
        WipeText(texts.description);
        WipeText(texts.username);
    }
    foldedRows_.clear();
}

const std::string& TFindLine::foldedComments(const std::string& stored)
{
    auto found = comments_.find(stored);
    if (found == comments_.end()) {
        SecretText plain(decrypt_(stored));
        found = comments_.emplace(stored, SecretText(FoldCase(plain.get()))).first;
    }
    return found->second.get();
}

void TFindLine::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Closed on the release: the window's own Escape acts on the release too, and must find
        // the find line still there to leave the key to it.
        return;
    case Qt::Key_Down:
        list_.currentWidget()->setFocus();
        if (list_.selectedRow() < 0 && model_.rowCount() > 0)
            list_.selectRow(0);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (model_.rowCount() > 0) {
            list_.selectRow(0);
            emit firstRowActivated();
        }
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void TFindLine::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (text().isEmpty() && !isHidden())
        closeFind();
}

void TFindLine::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        closeFind();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

}  // namespace keystead
