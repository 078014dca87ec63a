#pragma once
// The rows of the password list: Description, Username, Password and Expiration, each row
// carrying its entry number. The model keeps its rows in the list's sort order itself, and shows
// only the rows a filter keeps.

#include "mainwindow/PasswordListReader.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>

namespace keystead {

class PasswordListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kEntryNumberRole = Qt::UserRole + 1;

    // Asked before a description edit starts; an edit it refuses does not start.
    using EditGuard = std::function<bool()>;
    // Stores an accepted description of the row's entry; the System value written when stored,
    // and the row then keeps the text and moves to its sorted place.
    using RenameHandler =
        std::function<std::optional<std::string>(const PasswordRow& row, const std::string& description)>;

    // Whether Find keeps a row in the list.
    using RowFilter = std::function<bool(const PasswordRow& row)>;

    explicit PasswordListModel(QObject* parent);

    void setEditGuard(EditGuard guard) { editGuard_ = std::move(guard); }
    void setRenameHandler(RenameHandler handler) { renameHandler_ = std::move(handler); }

    // Replaces every row at once and orders them by the sort column.
    void setRows(std::vector<PasswordRow> rows, int sortColumn);
    void clear();
    // Clears every row and wipes the decrypted texts they held.
    void wipe();
    // Shows the rows the filter keeps, in the list's order; no filter shows every row.
    void setFilter(RowFilter filter);
    bool filtered() const { return static_cast<bool>(filter_); }
    const PasswordRow& row(int index) const { return all_[shown_[static_cast<std::size_t>(index)]]; }
    // The values all rows were read from, shown or not, in entry-number order.
    std::vector<StoredEntry> storedEntries() const;
    int sortColumn() const { return sortColumn_; }

    // Sets a row's other columns in place, and the values they were written as.
    void setTexts(int index, const std::string& username, const std::string& password, const std::string& expiration,
                  const StoredEntry& stored);
    // Sets a row's description and moves the row to its place; returns its new index.
    int setDescription(int index, const std::string& description);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The rows' texts changed: a reload, an edit or a rename. A filter does not count.
    void rowsReplaced();

private:
    // Lists the rows the filter keeps, in order.
    void applyFilter();
    void placeRow(std::size_t from, std::size_t to);

    std::vector<PasswordRow> all_;       // every row, in the list's order
    std::vector<std::size_t> shown_;     // the places in all_ of the shown rows, ascending
    RowFilter filter_;
    int sortColumn_ = 0;
    EditGuard editGuard_;
    RenameHandler renameHandler_;
};

}  // namespace keystead
