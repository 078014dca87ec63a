#pragma once
// What's This?: a control carries the number of its help topic as its help context; a right
// click on such a control opens the What's This? menu, whose item shows that topic in a pop-up.

#include <QObject>
#include <QPoint>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace keystead {

// The property that holds a control's help topic number, as the dialogs set it.
inline constexpr char kHelpContext[] = "helpContext";

void setHelpContext(QWidget& control, int topic);
// 0 when the control has none.
int helpContext(const QWidget& control);

// Makes the menu the control's own context menu, which What's This? leaves alone.
void setContextMenu(QWidget& control, QMenu& menu);

// The pop-up text of a topic, or a short "not found" text naming the number.
QString helpPopupText(int topic);

// Shows the topic's text in a pop-up at the pointer, attached to the window.
void ShowHelpPopup(QWidget& window, int topic);

// popWhatsThis with its one item mnuWhatsThis, owned by the window whose pop-ups it shows. It is
// the context menu of every control with a help context in any of the program's windows, its
// dialogs included, except controls that have a context menu of their own.
class TWhatsThis : public QObject {
    Q_OBJECT

public:
    explicit TWhatsThis(QWidget& window);

    QMenu* popWhatsThis;
    QAction* mnuWhatsThis;

    // What's This? for a topic, as the menus that end with their own item use it.
    void showPopup(int topic);
    // The item of a control's own context menu that shows the control's topic.
    void showOnItem(QAction& item, const QWidget& control);

signals:
    // A topic's pop-up is about to show.
    void popupShown(int topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    int topic_ = 0;
};

}  // namespace keystead
