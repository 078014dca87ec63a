#include "platform/Progress.h"

#include "platform/Picture.h"
#include "platform/WindowPlacement.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace keystead {

TfrmProgress::TfrmProgress(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      imgPicture(new QLabel(this)),
      lblMessage(new QLabel(QStringLiteral("Progress Message"), this)),
      pbExport(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setFixedSize(320, 84);

    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setPixmap(loadPicture(QStringLiteral("progress")));
    imgPicture->setGeometry(16, 16, 32, 32);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(64, 16, 240, 20);
    pbExport->setObjectName(QStringLiteral("pbExport"));
    pbExport->setRange(0, 100);
    pbExport->setValue(0);
    pbExport->setTextVisible(false);
    pbExport->setGeometry(64, 44, 240, 18);
    centerOnScreen(*this);
}

namespace {

// Lets the window system map and paint the window; input waits for the event loop.
void paintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

void TfrmProgress::showNow()
{
    show();
    raise();
    paintNow();
}

void TfrmProgress::setMessage(const QString& text)
{
    lblMessage->setText(text);
    paintNow();
}

Progress showProgressFromFirstEntry(std::unique_ptr<TfrmProgress>& holder, const QString& message,
                                    int (*stepOf)(int total))
{
    return [&holder, message, stepOf](int, int total) {
        if (!holder) {
            holder = std::make_unique<TfrmProgress>();
            holder->lblMessage->setText(message);
            holder->showNow();
        }
        holder->stepIt(stepOf(total));
    };
}

void TfrmProgress::stepIt(int step)
{
    const int next = std::min(pbExport->maximum(), pbExport->value() + step);
    if (next == pbExport->value())
        return;
    pbExport->setValue(next);
    paintNow();
}

}  // namespace keystead
