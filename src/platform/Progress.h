#pragma once
// TfrmProgress, "Progress": the small window that stays on top while a long piece of work runs
// (an upgrade, a re-encryption, an export or import). Its caller creates it, shows it, advances
// it and destroys it.

#include "store/WorkProgress.h"

#include <QWidget>

#include <memory>

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
    // Advances the bar by step, no further than its end, and paints it when it moved.
    void stepIt(int step);

    QLabel* imgPicture;
    QLabel* lblMessage;
    QProgressBar* pbExport;
};

// A whole-list operation's progress shown in a window that appears at the first report with this
// message (none for an empty list); the bar moves by stepOf(total) after each entry. The window
// lives in holder and closes with it.
Progress showProgressFromFirstEntry(std::unique_ptr<TfrmProgress>& holder, const QString& message,
                                    int (*stepOf)(int total));

}  // namespace keystead
