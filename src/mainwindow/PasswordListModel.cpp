#include "mainwindow/PasswordListModel.h"

#include "crypto/SecretMemory.h"
#include "platform/TextConversion.h"
#include "store/PasswordListRules.h"

#include <algorithm>
#include <iterator>

namespace keystead {
namespace {

const char* const kCaptions[] = {"Description", "Username", "Password", "Expiration"};

// The list shows the start of a long value and an ellipsis; the view cuts it further to the
// column's width.
QString shownText(const std::string& value)
{
    const std::string_view shown = ShownListText(value);
    return shown.size() == value.size() ? toQString(value) : toQString(shown) + QChar(0x2026);
}

const std::string& columnText(const PasswordRow& row, int column)
{
    switch (column) {
    case 0:
        return row.description;
    case 1:
        return row.username;
    case 2:
        return row.password;
    default:
        return row.expiration;
    }
}

// A cell that draws cipher text is read out as "hidden", never character by character.
bool hiddenCell(const PasswordRow& row, int column)
{
    return column == 0 ? row.descriptionHidden : (column == 1 || column == 2) && row.valuesHidden;
}

}  // namespace

PasswordListModel::PasswordListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PasswordListModel::setRows(std::vector<PasswordRow> rows, int sortColumn)
{
    beginResetModel();
    sortColumn_ = sortColumn;
    SortPasswordRows(rows, sortColumn_);
    applyFilter(std::move(rows));
    endResetModel();
    emit rowsReplaced();
}

void PasswordListModel::clear()
{
    beginResetModel();
    rows_.clear();
    hidden_.clear();
    endResetModel();
    emit rowsReplaced();
}

void PasswordListModel::wipe()
{
    beginResetModel();
    for (auto* part : {&rows_, &hidden_})
        for (PasswordRow& r : *part)
            for (std::string* text : {&r.description, &r.username, &r.password})
                WipeText(*text);
    rows_.clear();
    hidden_.clear();
    endResetModel();
}

void PasswordListModel::setFilter(RowFilter filter)
{
    beginResetModel();
    filter_ = std::move(filter);
    std::vector<PasswordRow> all;
    all.reserve(rows_.size() + hidden_.size());
    std::merge(std::make_move_iterator(rows_.begin()), std::make_move_iterator(rows_.end()),
               std::make_move_iterator(hidden_.begin()), std::make_move_iterator(hidden_.end()),
               std::back_inserter(all), [this](const PasswordRow& a, const PasswordRow& b) {
                   return CompareListKeys(a.sortKey(sortColumn_), b.sortKey(sortColumn_)) < 0;
               });
    applyFilter(std::move(all));
    endResetModel();
}

void PasswordListModel::applyFilter(std::vector<PasswordRow> all)
{
    // Each part gets its exact room first: growing them row by row moved every row many times.
    std::vector<char> kept(all.size());
    std::size_t shown = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        shown += static_cast<std::size_t>(kept[i] = !filter_ || filter_(all[i]));
    rows_.clear();
    hidden_.clear();
    rows_.reserve(shown);
    hidden_.reserve(all.size() - shown);
    for (std::size_t i = 0; i < all.size(); ++i)
        (kept[i] ? rows_ : hidden_).push_back(std::move(all[i]));
}

void PasswordListModel::setTexts(int index, const std::string& username, const std::string& password,
                                 const std::string& expiration, const StoredEntry& stored)
{
    PasswordRow& r = rows_[static_cast<std::size_t>(index)];
    r.stored = stored;
    r.username = username;
    r.password = password;
    r.expiration = expiration;
    emit dataChanged(this->index(index, 1), this->index(index, columnCount() - 1));
    emit rowsReplaced();
}

int PasswordListModel::setDescription(int index, const std::string& description)
{
    PasswordRow moved = rows_[static_cast<std::size_t>(index)];
    moved.description = description;
    // The other rows stay in order; the moved row goes after every other row not above it.
    int destination = 0;
    for (int i = 0; i < rowCount(); ++i)
        if (i != index && CompareListKeys(row(i).sortKey(sortColumn_), moved.sortKey(sortColumn_)) <= 0)
            ++destination;
    if (destination == index) {
        rows_[static_cast<std::size_t>(index)] = std::move(moved);
        emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
        emit rowsReplaced();
        return index;
    }
    beginMoveRows({}, index, index, {}, destination > index ? destination + 1 : destination);
    rows_.erase(rows_.begin() + index);
    rows_.insert(rows_.begin() + destination, std::move(moved));
    endMoveRows();
    emit rowsReplaced();
    return destination;
}

std::vector<StoredEntry> PasswordListModel::storedEntries() const
{
    std::vector<StoredEntry> entries(rows_.size() + hidden_.size());
    for (const auto* part : {&rows_, &hidden_})
        for (const PasswordRow& r : *part)
            if (r.entryNumber >= 1 && static_cast<std::size_t>(r.entryNumber) <= entries.size())
                entries[static_cast<std::size_t>(r.entryNumber - 1)] = r.stored;
    return entries;
}

int PasswordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PasswordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant PasswordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const PasswordRow& r = row(index.row());
    if (role == kEntryNumberRole)
        return r.entryNumber;
    if (role == Qt::EditRole)
        return toQString(columnText(r, index.column()));
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return shownText(columnText(r, index.column()));
    if (role == Qt::AccessibleTextRole && hiddenCell(r, index.column()))
        return QStringLiteral("hidden");
    return {};
}

QVariant PasswordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 3)
        return {};
    return QString::fromLatin1(kCaptions[section]);
}

Qt::ItemFlags PasswordListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0 && editGuard_ && editGuard_())
        result |= Qt::ItemIsEditable;
    return result;
}

bool PasswordListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole || !renameHandler_)
        return false;
    const std::string description = toBytes(value.toString());
    const std::optional<std::string> system = renameHandler_(row(index.row()), description);
    if (!system)
        return false;
    rows_[static_cast<std::size_t>(index.row())].stored.system = *system;
    setDescription(index.row(), description);
    return true;
}

}  // namespace keystead
