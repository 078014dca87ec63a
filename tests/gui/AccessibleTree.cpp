#include "AccessibleTree.h"

#include <QAccessible>
#include <QWidget>

#include <functional>

namespace keystead::test {
namespace {

using Visit = std::function<void(QAccessibleInterface&, const QString& path)>;

// Only what is shown counts: a hidden tab's controls are named when their tab is shown.
void walk(QAccessibleInterface& node, const QString& path, const Visit& visit)
{
    if (node.state().invisible)
        return;
    visit(node, path);
    for (int i = 0; i < node.childCount(); ++i)
        if (QAccessibleInterface* child = node.child(i))
            walk(*child, path + QLatin1Char('/') + QString::number(i), visit);
}

void walkWindow(QWidget& window, const Visit& visit)
{
    if (QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window))
        walk(*root, window.objectName(), visit);
}

bool takesInput(const QAccessibleInterface& node)
{
    switch (node.role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
        return true;
    // Items and cells are named by their own texts, which may be empty.
    case QAccessible::Cell:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::Row:
    case QAccessible::ColumnHeader:
    case QAccessible::RowHeader:
        return false;
    default:
        return node.state().focusable;
    }
}

QString describe(const QAccessibleInterface& node, const QString& path)
{
    const QObject* object = node.object();
    return QStringLiteral("%1 (role %2, object '%3')")
        .arg(path)
        .arg(static_cast<int>(node.role()), 0, 16)
        .arg(object != nullptr ? object->objectName() : QString());
}

QStringList texts(QAccessibleInterface& node)
{
    QStringList result;
    for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Value, QAccessible::Description,
                                         QAccessible::Help})
        result << node.text(kind);
    if (QAccessibleTextInterface* text = node.textInterface())
        result << text->text(0, text->characterCount());
    return result;
}

}  // namespace

QStringList accessibleFaults(QWidget& window, const QStringList& secrets)
{
    QStringList faults;
    walkWindow(window, [&](QAccessibleInterface& node, const QString& path) {
        if (takesInput(node) && node.text(QAccessible::Name).trimmed().isEmpty())
            faults << QStringLiteral("no name: ") + describe(node, path);
        for (const QString& text : texts(node))
            for (const QString& secret : secrets)
                if (text.contains(secret))
                    faults << QStringLiteral("shows '%1': ").arg(secret) + describe(node, path);
    });
    return faults;
}

QStringList accessibleNames(QWidget& window, int role)
{
    QStringList names;
    walkWindow(window, [&](QAccessibleInterface& node, const QString&) {
        if (node.role() == role)
            names << node.text(QAccessible::Name);
    });
    return names;
}

}  // namespace keystead::test
