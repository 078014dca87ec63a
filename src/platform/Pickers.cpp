#include "platform/Pickers.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>

namespace keystead {
namespace {

PickerSeam* activePickerSeam = nullptr;

}  // namespace

PickerSeam::PickerSeam() : previous_(activePickerSeam)
{
    activePickerSeam = this;
}

PickerSeam::~PickerSeam()
{
    activePickerSeam = previous_;
}

std::optional<QFont> showFontPicker(QWidget* owner, const QFont& initial)
{
    if (activePickerSeam != nullptr)
        return activePickerSeam->onFont(initial);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, owner);
    return chosen ? std::optional(font) : std::nullopt;
}

std::optional<QColor> showColorPicker(QWidget* owner, const QColor& initial)
{
    if (activePickerSeam != nullptr)
        return activePickerSeam->onColor(initial);
    const QColor color = QColorDialog::getColor(initial, owner);
    return color.isValid() ? std::optional(color) : std::nullopt;
}

QString showFolderPicker(QWidget* owner, const QString& start)
{
    if (activePickerSeam != nullptr)
        return activePickerSeam->onFolder(start);
    // Qt's own dialog, since only it can be placed.
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    // The folder chosen before, or else the user's own folder rather than wherever the program
    // was started.
    dialog.setDirectory(!start.isEmpty() && QDir(start).exists() ? start : QDir::homePath());
    if (owner != nullptr) {
        const QRect around = owner->window()->frameGeometry();
        dialog.adjustSize();
        dialog.move(around.center().x() - dialog.width() / 2, around.top() + around.height() / 4);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

}  // namespace keystead
