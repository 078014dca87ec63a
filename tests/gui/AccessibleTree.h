#pragma once
// Walks a window's accessible tree as a screen reader sees it, through Qt's own accessibility
// interfaces, and tells what a screen-reader user could not work with or should never hear.

#include <QString>
#include <QStringList>

class QWidget;

namespace keystead::test {

// One line per fault: a control that takes input or focus and has no name, and any node whose
// name, value, description or text holds one of the secrets. Empty when the window is sound.
QStringList accessibleFaults(QWidget& window, const QStringList& secrets = {});

// The names of the nodes of one role, in tree order.
QStringList accessibleNames(QWidget& window, int role);

}  // namespace keystead::test
