#include "platform/FileDialog.h"

#include <QFileDialog>

namespace keystead {

namespace {

FileDialogSeam* activeFileDialogSeam = nullptr;

}  // namespace

FileDialogSeam::FileDialogSeam(Handler onDialog) : onDialog_(std::move(onDialog)), previous_(activeFileDialogSeam)
{
    activeFileDialogSeam = this;
}

FileDialogSeam::~FileDialogSeam()
{
    activeFileDialogSeam = previous_;
}

QString showFileDialog(const FileDialogRequest& request)
{
    if (activeFileDialogSeam != nullptr)
        return activeFileDialogSeam->onDialog_(request);
    QFileDialog dialog(request.owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The file is replaced without a question, as the program always did.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, request.save);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace keystead
