#include "session/VorrentImage.h"

#include <QMouseEvent>

namespace keystead {

TVorrentImage::TVorrentImage(QWidget* parent) : QLabel(parent) {}

void TVorrentImage::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TVorrentImage::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

// The press is taken so that the release comes here too and completes a click.
void TVorrentImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void TVorrentImage::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick(*this);
}

}  // namespace keystead
