#pragma once
// TfrmProgress, "Progress": the small window that stays on top while a long piece of work runs
// (an upgrade, a re-encryption, an export or import). Its caller creates it, shows it, advances
// it and destroys it.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace keystead {

class TfrmProgress : public QWidget {
    Q_OBJECT

public:
    explicit TfrmProgress(QWidget* parent = nullptr);

    // Shows the window and paints it at once: the work that follows keeps the event loop away.
    void showNow();
    // A new message line, painted at once for the same reason.
    void setMessage(const QString& text);

    QLabel* imgPicture;
    QLabel* lblMessage;
    QProgressBar* pbExport;
};

}  // namespace keystead
