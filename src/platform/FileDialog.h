#pragma once
// The program's open and save dialogs, behind one function so that a test can answer them in
// place of the user (FileDialogSeam) and see what was asked.

#include <QString>

#include <functional>

class QWidget;

namespace keystead {

struct FileDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    QString filter;     // in Qt's form: "Text files (*.txt *.TXT)"
    QString fileName;   // the name the dialog starts with
    bool save = false;  // a save dialog takes a new name; an open dialog only an existing file
};

// The chosen file, or an empty text when the user cancelled.
QString showFileDialog(const FileDialogRequest& request);

class FileDialogSeam {
public:
    using Handler = std::function<QString(const FileDialogRequest&)>;

    // Installed for its lifetime; the one installed before comes back afterwards.
    explicit FileDialogSeam(Handler onDialog);
    ~FileDialogSeam();
    FileDialogSeam(const FileDialogSeam&) = delete;
    FileDialogSeam& operator=(const FileDialogSeam&) = delete;

private:
    friend QString showFileDialog(const FileDialogRequest& request);
    Handler onDialog_;
    FileDialogSeam* previous_;
};

}  // namespace keystead
