#pragma once
// Opens and closes the quick view of the main window: while Space is held in the list, from the
// View menu, and closes it when the main window is activated again or minimised.

#include <QObject>
#include <QPointer>

class QWidget;

namespace keystead {

class EntryEditTarget;
class RegistryStore;
class TPasswordListView;
struct SessionState;

class TQuickViewOpener : public QObject {
    Q_OBJECT

public:
    // Watches the application's keys and the main window; owned by the main window.
    TQuickViewOpener(SessionState& session, RegistryStore& store, EntryEditTarget& entries, TPasswordListView& list,
                     QWidget& mainWindow);
    ~TQuickViewOpener() override;

    // None open, an entry selected, no description being edited, and plain texts allowed.
    bool canOpen() const;
    // Shown normally and activated; the main window stays enabled.
    void mnuViewQuickviewClick();
    // Closes the quick view when one is open.
    void closeQuickView();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inList(QObject* watched) const;
    void open(bool bySpace);
    void quickViewClosed();

    SessionState& session_;
    RegistryStore& store_;
    EntryEditTarget& entries_;
    TPasswordListView& list_;
    QWidget& mainWindow_;
    // A plain widget pointer: it is looked at while the quick view is being destroyed.
    QPointer<QWidget> quickView_;
    bool openedBySpace_ = false;
    bool listHadFocus_ = false;
};

}  // namespace keystead
