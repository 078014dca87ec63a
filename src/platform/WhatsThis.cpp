#include "platform/WhatsThis.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

namespace keystead {

void setHelpContext(QWidget& control, int topic)
{
    control.setProperty(kHelpContext, topic);
}

int helpContext(const QWidget& control)
{
    return control.property(kHelpContext).toInt();
}

void setContextMenu(QWidget& control, QMenu& menu)
{
    control.setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area gives the point in its viewport's coordinates.
    const auto* area = qobject_cast<QAbstractScrollArea*>(&control);
    QWidget* origin = area != nullptr ? area->viewport() : &control;
    QObject::connect(&control, &QWidget::customContextMenuRequested, &menu,
                     [&menu, origin](const QPoint& at) { menu.popup(origin->mapToGlobal(at)); });
}

QString helpPopupText(int topic)
{
    QFile file(QStringLiteral(":/help/%1.html").arg(topic));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<p>Help topic %1 not found.</p>").arg(topic);
    return QString::fromUtf8(file.readAll());
}

void ShowHelpPopup(QWidget& window, int topic)
{
    QWhatsThis::showText(QCursor::pos(), helpPopupText(topic), &window);
}

TWhatsThis::TWhatsThis(QWidget& window)
    : QObject(&window), popWhatsThis(new QMenu(&window)), mnuWhatsThis(new QAction(QStringLiteral("What's This?"), popWhatsThis)),
      window_(window)
{
    popWhatsThis->setObjectName(QStringLiteral("popWhatsThis"));
    mnuWhatsThis->setObjectName(QStringLiteral("mnuWhatsThis"));
    popWhatsThis->addAction(mnuWhatsThis);
    connect(mnuWhatsThis, &QAction::triggered, this, [this] { showPopup(topic_); });
    // Dialogs come and go; watching the application reaches the controls of every one of them.
    qApp->installEventFilter(this);
}

void TWhatsThis::showPopup(int topic)
{
    emit popupShown(topic);
    ShowHelpPopup(window_, topic);
}

void TWhatsThis::showOnItem(QAction& item, const QWidget& control)
{
    connect(&item, &QAction::triggered, this, [this, &control] { showPopup(helpContext(control)); });
}

bool TWhatsThis::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu || !watched->isWidgetType())
        return false;
    auto* control = static_cast<QWidget*>(watched);
    const int topic = helpContext(*control);
    if (topic == 0 || control->contextMenuPolicy() == Qt::CustomContextMenu)
        return false;
    topic_ = topic;
    popWhatsThis->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

}  // namespace keystead
