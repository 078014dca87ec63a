#pragma once
// TVorrentImage: a picture control that tells when the mouse pointer enters or leaves it, so a
// picture can act as a hover button.

#include <QLabel>

#include <functional>

namespace keystead {

class TVorrentImage : public QLabel {
    Q_OBJECT

public:
    using Event = std::function<void(TVorrentImage& sender)>;

    explicit TVorrentImage(QWidget* parent);

    Event OnMouseEnter;
    Event OnMouseLeave;
    Event OnClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace keystead
