#pragma once
// lvPasswords: the password list in its two styles, Details (the four columns) and List
// (descriptions only, in columns), both views over one model and one selection.

#include <QStackedWidget>

class QAbstractItemView;
class QListView;
class QTableView;

namespace keystead {

class PasswordListModel;

class TPasswordListView : public QStackedWidget {
    Q_OBJECT

public:
    TPasswordListView(PasswordListModel& model, QWidget* parent);

    bool detailsStyle() const;
    void setDetailsStyle(bool details);
    void setGridLines(bool on);
    void setListFont(const QFont& font);

    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);
    void clearSelection();
    void scrollToRow(int row);
    // Where the shown style is scrolled to, to be put back once the list is refilled.
    QPoint scrollPosition() const;
    void setScrollPosition(QPoint place);

    // Whether the focus is in the list (in either style).
    bool hasListFocus() const;
    bool isEditing() const;
    // Ends an open in-place edit as leaving it does: the typed text is stored and the row moves
    // to its place, still selected.
    void endEditing();
    QTableView& details() const { return *details_; }
    QListView& list() const { return *list_; }

signals:
    void columnClicked(int column);
    void selectionChanged();
    void rowActivated();

private:
    QAbstractItemView& shownView() const;

    QTableView* details_;
    QListView* list_;
};

}  // namespace keystead
