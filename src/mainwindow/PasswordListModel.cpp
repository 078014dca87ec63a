#include "mainwindow/PasswordListModel.h"

#include "crypto/SecretMemory.h"
#include "platform/TextConversion.h"
#include "store/PasswordListRules.h"

#include <algorithm>

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
    all_ = std::move(rows);
    applyFilter();
    endResetModel();
    emit rowsReplaced();
}

void PasswordListModel::clear()
{
    beginResetModel();
    all_.clear();
    shown_.clear();
    endResetModel();
    emit rowsReplaced();
}

void PasswordListModel::wipe()
{
    beginResetModel();
    for (PasswordRow& r : all_)
        for (std::string* text : {&r.description, &r.username, &r.password})
            WipeText(*text);
    all_.clear();
    shown_.clear();
    endResetModel();
}

void PasswordListModel::setFilter(RowFilter filter)
{
    beginResetModel();
    filter_ = std::move(filter);
    applyFilter();
    endResetModel();
}

// The rows stay where they are; a keystroke in the find line only lists the ones it keeps.
void PasswordListModel::applyFilter()
{
    shown_.clear();
    shown_.reserve(all_.size());
    for (std::size_t i = 0; i < all_.size(); ++i)
        if (!filter_ || filter_(all_[i]))
            shown_.push_back(i);
}

void PasswordListModel::setTexts(int index, const std::string& username, const std::string& password,
                                 const std::string& expiration, const StoredEntry& stored)
{
    PasswordRow& r = all_[shown_[static_cast<std::size_t>(index)]];
    r.stored = stored;
    r.username = username;
    r.password = password;
    r.expiration = expiration;
    emit dataChanged(this->index(index, 1), this->index(index, columnCount() - 1));
    emit rowsReplaced();
}

int PasswordListModel::setDescription(int index, const std::string& description)
{
    const std::size_t from = shown_[static_cast<std::size_t>(index)];
    PasswordRow moved = all_[from];
    moved.description = description;
    const std::string& key = moved.sortKey(sortColumn_);
    // The other rows stay in order; the moved row goes after every other row not above it, shown
    // or not, and stays shown.
    int destination = 0;
    for (int i = 0; i < rowCount(); ++i)
        if (i != index && CompareListKeys(row(i).sortKey(sortColumn_), key) <= 0)
            ++destination;
    std::size_t to = 0;
    for (std::size_t i = 0; i < all_.size(); ++i)
        if (i != from && CompareListKeys(all_[i].sortKey(sortColumn_), key) <= 0)
            ++to;
    const bool moves = destination != index;
    if (moves)
        beginMoveRows({}, index, index, {}, destination > index ? destination + 1 : destination);
    all_[from] = std::move(moved);
    placeRow(from, to);
    if (moves)
        endMoveRows();
    else
        emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
    emit rowsReplaced();
    return destination;
}

// Moves a shown row within all rows, and the shown ones' places with it.
void PasswordListModel::placeRow(std::size_t from, std::size_t to)
{
    const auto at = [this](std::size_t place) { return all_.begin() + static_cast<std::ptrdiff_t>(place); };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else if (to < from)
        std::rotate(at(to), at(from), at(from + 1));
    for (std::size_t& place : shown_) {
        if (place == from)
            place = to;
        else if (from < to && place > from && place <= to)
            --place;
        else if (to < from && place >= to && place < from)
            ++place;
    }
    std::sort(shown_.begin(), shown_.end());
}

std::vector<StoredEntry> PasswordListModel::storedEntries() const
{
    std::vector<StoredEntry> entries(all_.size());
    for (const PasswordRow& r : all_)
        if (r.entryNumber >= 1 && static_cast<std::size_t>(r.entryNumber) <= entries.size())
            entries[static_cast<std::size_t>(r.entryNumber - 1)] = r.stored;
    return entries;
}

int PasswordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
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
    all_[shown_[static_cast<std::size_t>(index.row())]].stored.system = *system;
    setDescription(index.row(), description);
    return true;
}

}  // namespace keystead
