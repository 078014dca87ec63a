#include "mainwindow/QuickViewOpener.h"

#include "entries/EntryEditTarget.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/QuickView.h"
#include "store/MainSettings.h"
#include "store/SessionState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace keystead {
namespace {

// X11 sends a held key as repeated releases and presses; only the real ones count, or the quick
// view would close and open again while Space is held.
bool isSpace(const QEvent& event, QEvent::Type type)
{
    if (event.type() != type)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_Space && !key.isAutoRepeat();
}

}  // namespace

TQuickViewOpener::TQuickViewOpener(SessionState& session, RegistryStore& store, EntryEditTarget& entries,
                                   TPasswordListView& list, QWidget& mainWindow)
    : QObject(&mainWindow), session_(session), store_(store), entries_(entries), list_(list), mainWindow_(mainWindow)
{
    // The whole application: while the main window is disabled, the release of Space does not
    // reach the list.
    qApp->installEventFilter(this);
}

TQuickViewOpener::~TQuickViewOpener()
{
    if (quickView_) {
        disconnect(quickView_, nullptr, this, nullptr);
        delete quickView_;
    }
}

bool TQuickViewOpener::canOpen() const
{
    return !session_.QuickViewOpen && entries_.selectedItem().has_value() && !list_.isEditing() &&
           (!entries_.settings().protectToggle || session_.ShowPasswordsOn);
}

void TQuickViewOpener::mnuViewQuickviewClick()
{
    if (canOpen())
        open(false);
}

bool TQuickViewOpener::eventFilter(QObject* watched, QEvent* event)
{
    if (isSpace(*event, QEvent::KeyPress) && inList(watched) && canOpen())
        open(true);
    else if (isSpace(*event, QEvent::KeyRelease) && quickView_ && (openedBySpace_ || inList(watched)))
        closeQuickView();
    else if (watched == &mainWindow_ && quickView_ &&
             (event->type() == QEvent::WindowActivate ||
              (event->type() == QEvent::WindowStateChange && mainWindow_.isMinimized())))
        closeQuickView();
    return QObject::eventFilter(watched, event);
}

bool TQuickViewOpener::inList(QObject* watched) const
{
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && (widget == &list_ || list_.isAncestorOf(widget));
}

void TQuickViewOpener::open(bool bySpace)
{
    auto* frmQuickView = new TfrmQuickView(session_, store_, entries_, mainWindow_);
    quickView_ = frmQuickView;
    connect(frmQuickView, &QObject::destroyed, this, &TQuickViewOpener::quickViewClosed);
    openedBySpace_ = bySpace;
    frmQuickView->setAttribute(Qt::WA_ShowWithoutActivating, bySpace);
    // Kept above the main window without being its child, which would disable it with it.
    frmQuickView->winId();
    if (mainWindow_.windowHandle() != nullptr)
        frmQuickView->windowHandle()->setTransientParent(mainWindow_.windowHandle());
    frmQuickView->show();
    if (!bySpace) {
        frmQuickView->activateWindow();
        return;
    }
    listHadFocus_ = list_.hasListFocus();
    mainWindow_.setEnabled(false);
}

void TQuickViewOpener::closeQuickView()
{
    if (quickView_)
        quickView_->close();
}

void TQuickViewOpener::quickViewClosed()
{
    // However the quick view ended, the main window is usable again.
    openedBySpace_ = false;
    mainWindow_.setEnabled(true);
    if (listHadFocus_)
        list_.currentWidget()->setFocus();
    listHadFocus_ = false;
}

}  // namespace keystead
