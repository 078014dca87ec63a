#include "mainwindow/PasswordListView.h"

#include "mainwindow/PasswordListModel.h"
#include "mainwindow/RenameDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QTableView>

namespace keystead {
namespace {

void setUpDetails(QTableView& view)
{
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    view.setShowGrid(false);
    view.setWordWrap(false);
    view.setCornerButtonEnabled(false);
    view.setTabKeyNavigation(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view.horizontalHeader()->setHighlightSections(false);
    view.horizontalHeader()->setSectionsClickable(true);
    view.horizontalHeader()->setStretchLastSection(false);
    // A selected row stays visible while the notes pane has the focus.
    QPalette palette = view.palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view.setPalette(palette);
}

void setUpList(QListView& view)
{
    view.setViewMode(QListView::ListMode);
    view.setFlow(QListView::TopToBottom);
    view.setWrapping(true);
    view.setResizeMode(QListView::Adjust);
    // Laid out in batches, so that a long list in this style does not hold up the window.
    view.setLayoutMode(QListView::Batched);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    view.setModelColumn(0);
}

}  // namespace

TPasswordListView::TPasswordListView(PasswordListModel& model, QWidget* parent)
    : QStackedWidget(parent), details_(new QTableView(this)), list_(new QListView(this))
{
    setObjectName(QStringLiteral("lvPasswords"));
    details_->setModel(&model);
    list_->setModel(&model);
    details_->setItemDelegate(new TRenameDelegate(details_));
    list_->setItemDelegate(new TRenameDelegate(list_));
    list_->setSelectionModel(details_->selectionModel());
    setUpDetails(*details_);
    setUpList(*list_);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(list_)})
        view->setAccessibleName(QStringLiteral("Password list"));
    list_->setPalette(details_->palette());
    addWidget(details_);
    addWidget(list_);

    connect(details_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TPasswordListView::columnClicked);
    connect(details_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TPasswordListView::selectionChanged);
    connect(details_, &QAbstractItemView::doubleClicked, this, &TPasswordListView::rowActivated);
    connect(list_, &QAbstractItemView::doubleClicked, this, &TPasswordListView::rowActivated);
}

bool TPasswordListView::detailsStyle() const
{
    return currentWidget() == details_;
}

void TPasswordListView::setDetailsStyle(bool details)
{
    const bool hadFocus = hasListFocus();
    setCurrentWidget(details ? static_cast<QWidget*>(details_) : list_);
    if (hadFocus)
        currentWidget()->setFocus();
}

void TPasswordListView::setGridLines(bool on)
{
    details_->setShowGrid(on);
}

void TPasswordListView::setListFont(const QFont& font)
{
    details_->setFont(font);
    list_->setFont(font);
    details_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}

int TPasswordListView::columnWidth(int column) const
{
    return details_->columnWidth(column);
}

void TPasswordListView::setColumnWidth(int column, int width)
{
    details_->setColumnWidth(column, width);
}

int TPasswordListView::selectedRow() const
{
    const QModelIndexList rows = details_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TPasswordListView::selectRow(int row)
{
    const QModelIndex index = details_->model()->index(row, 0);
    details_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TPasswordListView::clearSelection()
{
    details_->selectionModel()->clear();
}

void TPasswordListView::scrollToRow(int row)
{
    const QModelIndex index = details_->model()->index(row, 0);
    details_->scrollTo(index, QAbstractItemView::EnsureVisible);
    list_->scrollTo(index, QAbstractItemView::EnsureVisible);
}

QAbstractItemView& TPasswordListView::shownView() const
{
    return detailsStyle() ? static_cast<QAbstractItemView&>(*details_) : *list_;
}

QPoint TPasswordListView::scrollPosition() const
{
    const QAbstractItemView& view = shownView();
    return {view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()};
}

void TPasswordListView::setScrollPosition(QPoint place)
{
    QAbstractItemView& view = shownView();
    // The scroll ranges follow the new rows only once the view has laid them out.
    view.doItemsLayout();
    view.horizontalScrollBar()->setValue(place.x());
    view.verticalScrollBar()->setValue(place.y());
}

bool TPasswordListView::hasListFocus() const
{
    // The focused control of the window, whether or not the window is active just now.
    const QWidget* focus = window()->focusWidget();
    return focus != nullptr && (focus == details_ || focus == list_ || details_->isAncestorOf(focus) ||
                                list_->isAncestorOf(focus));
}

bool TPasswordListView::isEditing() const
{
    // An open in-place editor is a child of the view's viewport.
    const QWidget* focus = window()->focusWidget();
    return focus != nullptr && focus != details_ && focus != list_ &&
           (details_->viewport()->isAncestorOf(focus) || list_->viewport()->isAncestorOf(focus));
}

void TPasswordListView::endEditing()
{
    if (!isEditing())
        return;
    QWidget* editor = window()->focusWidget();
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(list_)}) {
        if (!view->viewport()->isAncestorOf(editor))
            continue;
        // What the delegate itself sends when its editor loses the focus.
        QAbstractItemDelegate* delegate = view->itemDelegate();
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

}  // namespace keystead
