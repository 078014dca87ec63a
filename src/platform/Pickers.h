#pragma once
// The font, colour and folder pickers of the options dialog, behind one function each so that a
// test can answer them in place of the user (PickerSeam) and see what they started on.

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace keystead {

// The chosen font; nothing when the user cancelled.
std::optional<QFont> showFontPicker(QWidget* owner, const QFont& initial);
// The chosen colour; nothing when the user cancelled.
std::optional<QColor> showColorPicker(QWidget* owner, const QColor& initial);
// The chosen folder, without a trailing "/" unless it is the root; empty when the user cancelled.
// The picker opens centred on the owner, a quarter of its height below its top, where the window
// manager allows.
QString showFolderPicker(QWidget* owner, const QString& start);

class PickerSeam {
public:
    std::function<std::optional<QFont>(const QFont& initial)> onFont;
    std::function<std::optional<QColor>(const QColor& initial)> onColor;
    std::function<QString(const QString& start)> onFolder;

    // Installed for its lifetime; the one installed before comes back afterwards.
    PickerSeam();
    ~PickerSeam();
    PickerSeam(const PickerSeam&) = delete;
    PickerSeam& operator=(const PickerSeam&) = delete;

private:
    PickerSeam* previous_;
};

}  // namespace keystead
